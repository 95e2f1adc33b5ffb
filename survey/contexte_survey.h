#pragma once
// The process-wide values of survey in one object: the open document, the
// ports and part factories the upper folders install, the reading and
// computation state, the loop list, the clean-up subscriptions and the
// start-up folder. Each older accessor (Document(), Ports(), Fabriques(),
// Calcul(), ...) returns one of its members.
#include <string>
#include <vector>

#include "survey/bouclage.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/fichier_reseau.h"
#include "survey/listes_document.h"
#include "survey/parties_reseau.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/rapport_calcul.h"
#include "survey/suppressions.h"

namespace survey {

struct ContexteNettoyages {
  std::vector<AbonneNettoyage> Abonnes;
  int DernierId = 0;
};

struct TContexteSurvey {
  // The loop list and the computation hooks are survey's own: installed from
  // the start.
  TContexteSurvey();

  // First, so that it goes last: the other members unsubscribe as they go.
  ContexteNettoyages Nettoyages;
  ContexteDocument Document;
  PortsSurvey Ports;
  ContexteAffichage Affichage;
  FabriquesReseau Fabriques;
  ContexteListesDocument ListesDocument;
  ContexteLectureReseau LectureReseau;
  ContexteFichierReseau FichierReseau;
  ContexteLiberation Liberation;
  ContextePointsReseau PointsReseau;
  ContexteBouclages Bouclages;
  ContexteCalcul Calcul;
  std::string DossierDeDepart;  // the current folder at start-up
};

// The one context of the folder.
TContexteSurvey& ContexteSurvey();

// Sets the whole context aside for the life of the guard: the document, the
// ports, the factories, the reading state and the network index are saved
// and put back; the computation state is a fresh one meanwhile. The
// clean-up subscriptions, owned by their AbonnementNettoyage objects, and the
// spare loop list stay.
class GardeContexteSurvey {
 public:
  GardeContexteSurvey();
  ~GardeContexteSurvey();
  GardeContexteSurvey(const GardeContexteSurvey&) = delete;
  GardeContexteSurvey& operator=(const GardeContexteSurvey&) = delete;

 private:
  GardeDocument document_;
  GardePortsSurvey ports_;
  GardeAffichage affichage_;
  GardeFabriquesReseau fabriques_;
  GardeListesDocument listes_;
  GardeFichierReseau fichier_;
  GardePointsReseau points_;
  GardeContexteCalcul calcul_;
  ContexteLectureReseau lecture_;
  ContexteLiberation liberation_;
  bool recalculComplet_;
  TListeBouclages* bouclagesActifs_;
  std::string dossierDeDepart_;
};

}  // namespace survey
