#pragma once
// The process-wide state a document test touches, set aside for the test and
// put back after it: the registered parts and ports, the document and the
// network contexts, the file context, the Therion pattern set, a scripted
// dialog port; the subsystems built so far plugged in.
#include <string>

#include "document/composition.h"
#include "drawing/contexte_motifs.h"
#include "drawing/liste_mtf.h"
#include "foundation/flux.h"
#include "foundation/niveau_fichier.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/fichier_reseau.h"
#include "survey/parties_reseau.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"

namespace testsurvey {

// The Therion set as it was, written at the current level and read back.
class GardeTherionSet {
 public:
  GardeTherionSet() { drawing::Motifs().ListesMtfTherion->EcritObjet(sauve_, false); }
  ~GardeTherionSet() {
    foundation::GardeNiveauFichier niveau;
    foundation::NiveauFichier().VersionFichierLue = foundation::ContexteNiveauFichier::VersionFichierCourante;
    sauve_.PlaceA(0);
    drawing::Motifs().ListesMtfTherion->LitObjetEnRemplacement(sauve_, false);
  }
  GardeTherionSet(const GardeTherionSet&) = delete;
  GardeTherionSet& operator=(const GardeTherionSet&) = delete;

 private:
  foundation::TFluxMemoire sauve_;
};

class EnvironnementDocument {
 public:
  explicit EnvironnementDocument(bool liaisons = true) {
    survey::Document().CaviteRappelee = -1;
    survey::Document().AutreInstance = false;
    survey::Document().NomFichierCourant.clear();
    survey::Document().DemandeNomFichier = false;
    if (liaisons) document::InstalleDocument();
  }
  platform::ScriptedDialogs Dialogues;

 private:
  GardeTherionSet therion_;
  survey::GardeFabriquesReseau fabriques_;
  survey::GardePortsSurvey ports_;
  survey::GardeDocument document_;
  survey::GardeContexteReseau reseau_;
  survey::GardeFichierReseau fichier_;
  platform::ScopedDialogs dialogues_{Dialogues};
};

}  // namespace testsurvey
