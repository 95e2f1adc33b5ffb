#pragma once
// The process-wide state of the network computation, held in one object:
// the report lines and whether the report is on, the meridian convergence of
// the cave being computed, the serial counters of the adjustment and loop
// correction values, the warnings of the computation (shots that cannot be
// reduced as measured, caves whose computation stopped), a copy of every
// adjustment's misclosure for the loop inspection window, the surface point of
// the shot being entered, the developed elevation of the active cave, and the
// hooks through which loop closure takes part in a computation.
//
// GardeContexteCalcul sets the whole state aside and puts it back;
// GardeRapportCalcul switches the report on for a while.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "foundation/objet_de_liste.h"
#include "foundation/point_topo.h"
#include "survey/avertissements_calcul.h"
#include "survey/compens.h"

namespace survey {

class TCavite;
class TPointSpeleo;
class TValeurVisee;
class TVisee;

// What loop closure adds to a computation.  Until it is installed, the loop
// junctions are not closed: each loop-closing shot is computed onto its own
// duplicate of the station it closes on, and the duplicates are removed at the
// end of the pass.
struct TBouclagesCalcul {
  // Empties the junction list of the last pass.
  std::function<void()> VideBouclages;
  // A station and its associated loop point meet (the end of a shot whose end
  // has a loop partner).
  std::function<void(TPointSpeleo*, TPointSpeleo*)> AjouteJonctionBouclage;
  // Junctions were found in this pass.
  std::function<bool()> BouclagesTrouves;
  // Prepares, reports and closes every junction of the pass; after each one
  // the caller's routine recomputes the coordinates of every cave.  The
  // warnings of the caves computed again go to avertissements.
  std::function<void(const std::function<void()>& recalculeCavites, TAvertissementsCalcul& avertissements)>
      FermeBouclages;
};

// The two ends of a shot in the developed elevation of the active cave:
// X, Y, Z and SlH (the developed abscissa).  A loop-closing shot ends on its
// own abscissa, which is not that of the station it closes on.
struct TExtremitesCoupe {
  foundation::TPointTopo Origine;
  foundation::TPointTopo Fin;
};

struct TCoupeDeveloppee {
  const TCavite* Cavite = nullptr;  // the cave developed, none before any
  std::unordered_map<const TVisee*, TExtremitesCoupe> Visees;
  // The ends of a shot of the developed cave; none for another shot.
  const TExtremitesCoupe* Extremites(const TVisee* v) const {
    const auto it = Visees.find(v);
    return it == Visees.end() ? nullptr : &it->second;
  }
  void Vide() {
    Cavite = nullptr;
    Visees.clear();
  }
};

struct ContexteCalcul {
  // The report, cleared by every pass of a computation.
  std::vector<std::string> ListeRapportCalcul;
  // The computation adds its headings, loop lines and correction lines.
  bool RapportCalculActif = false;
  // Meridian convergence of the cave being computed (radians).
  double ConvergenceCourante = 0;
  // Next serial numbers of adjustment values and of loop junctions.
  int32_t CompteurCompens = 0;
  int32_t CompteurBouclages = 0;
  // Warnings of the computation, each said once; the caller shows them.  The
  // computation's steps return theirs (avertissements_calcul.h) and the
  // caller at the top writes them here.
  std::vector<std::string> Avertissements;
  std::unordered_set<const TValeurVisee*> ViseesSignalees;
  // What the network's coordinate system could not give (the convergence, the
  // entrances' latitude and longitude), each said once; a full computation
  // shows them through the message port when it ends.
  std::vector<std::string> AvertissementsSysteme;
  // After each full computation, a copy of every adjustment with its misclosure.
  foundation::TListeFichier<TCompens> ListeEcartsCompens;
  // Surface point of the shot being entered (a cave without shots takes its
  // position from it).
  TPointSpeleo* PtSurfaceSaisie = nullptr;
  // The convergence of each cave in the current pass, with the entrance it
  // was computed at.
  std::unordered_map<const TCavite*, std::pair<const TPointSpeleo*, double>> Convergences;
  TCoupeDeveloppee CoupeDevel;
  TBouclagesCalcul Bouclages;
  // The correction values of the last pass's temporary adjustments, kept
  // while shots refer to them (until the next pass detaches every shot).
  std::vector<std::unique_ptr<TValeurCompens>> ValeursTemporaires;
};

ContexteCalcul& Calcul();

inline std::vector<std::string>& ListeRapportCalcul() { return Calcul().ListeRapportCalcul; }
inline bool RapportCalculActif() { return Calcul().RapportCalculActif; }
inline void AjouteRapport(const std::string& ligne) { Calcul().ListeRapportCalcul.push_back(ligne); }

// Adds the warnings a computation returned, in their order: a warning about a
// shot once per shot until the warnings are cleared, any other each time.
void SignaleAvertissements(const TAvertissementsCalcul& avertissements);
// Adds a warning about the coordinate system, once until the warnings are
// cleared.
void AvertitSysteme(const std::string& texte);
// Shows, in one message, the coordinate-system warnings gathered that are not
// in dejaMontres, and adds them to it.
void MontreAvertissementsSysteme(std::vector<std::string>& dejaMontres);
// Empties the warnings.
void VideAvertissements();

// Forgets everything that refers to the stations of a network (the misclosure
// copies, the developed elevation, the surface point being entered, the
// report): for a network about to be freed.
void OublieCalculReseau();

// Sets the whole computation state aside (a fresh one in its place) and puts
// it back on exit, also on an exception.
class GardeContexteCalcul {
 public:
  GardeContexteCalcul();
  ~GardeContexteCalcul();
  GardeContexteCalcul(const GardeContexteCalcul&) = delete;
  GardeContexteCalcul& operator=(const GardeContexteCalcul&) = delete;

 private:
  ContexteCalcul sauve_;
};

// Switches the report on (or off) for the life of the guard.
class GardeRapportCalcul {
 public:
  explicit GardeRapportCalcul(bool actif = true) : sauve_(Calcul().RapportCalculActif) {
    Calcul().RapportCalculActif = actif;
  }
  ~GardeRapportCalcul() { Calcul().RapportCalculActif = sauve_; }
  GardeRapportCalcul(const GardeRapportCalcul&) = delete;
  GardeRapportCalcul& operator=(const GardeRapportCalcul&) = delete;

 private:
  bool sauve_;
};

}  // namespace survey
