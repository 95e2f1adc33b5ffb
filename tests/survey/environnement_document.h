#pragma once
// The process-wide state a document test touches, set aside for the test and
// put back after it (every folder's context, the Therion pattern set
// included), a scripted dialog port; the subsystems built so far plugged in.
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
#include "tests/support/garde_contextes.h"

namespace testsurvey {

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
  testsupport::GardeContextes contextes_;
  platform::ScopedDialogs dialogues_{Dialogues};
};

}  // namespace testsurvey
