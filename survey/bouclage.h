#pragma once
// Loop closure.  When several survey paths reach the same station, the
// computation first computes them apart: every loop-closing shot ends on its
// own virtual duplicate of the station, and a station reached again from
// another cave or a secondary entrance has a counterpart too.  A junction
// (TBouclage) gathers a station and its duplicates; each of them is the
// arrival of a branch (TBrancheBouclage), the path that leads back to the
// common point of the loop or to shots already corrected.  The junction's
// mean point is a weighted mean of the arrivals; each branch gets a
// correction per metre of horizontal length that brings its arrival onto the
// mean point, applied by its shots when the cave is computed again.
// Junctions are closed one after the other, each one's corrections in force
// when the next is measured.
//
// The junction list of the last pass (ListeBouclages) belongs to the network
// (it is its loop part, parties_reseau.h) and is not stored.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "foundation/point_topo.h"
#include "survey/parties_reseau.h"
#include "survey/rapport_calcul.h"
#include "survey/visee.h"

namespace survey {

class TCavite;
class TPointSpeleo;
class TSuppressions;

// Depths of stations along their chains of arriving shots (down to the
// station that has none), kept while the walk of the caves does not change:
// where two chains meet is then found without walking them to the entrance.
class TProfondeursChaines {
 public:
  // Steps from P to the end of its chain; -1 when there are limite or more.
  int Profondeur(const TPointSpeleo* P, int limite);
  // Where the chain of B first meets the chain of A (their deepest common
  // station that has an arriving shot), else the end of B's chain.  Both
  // depths must be known.
  const TPointSpeleo* Rencontre(const TPointSpeleo* A, const TPointSpeleo* B);
  void Clear() { profondeurs_.clear(); }

 private:
  std::unordered_map<const TPointSpeleo*, int> profondeurs_;
};

class TBrancheBouclage {
 public:
  TBrancheBouclage();

  TCavite* Cavite = nullptr;           // cave of the arrival
  TPointSpeleo* PtDepart = nullptr;    // start of the branch
  TPointSpeleo* PtArrivee = nullptr;   // the station or one of its duplicates
  std::unique_ptr<TValeurCompens> ValeurCompens;
  double EcartX = 0, EcartY = 0, EcartZ = 0;  // against the last branch's arrival
  std::string DesignArrivee;
  std::vector<std::string> PtCalculStr;

  // Horizontal length of the branch (arrival SlH minus departure SlH).
  double Longueur() const;
  // Walks back from the arrival along its arriving shots, attaching the
  // branch's value to each, until the common point, a shot already in a
  // branch or adjusted, a surface point, or a station of arret.
  void ChercheDepart(TPointSpeleo* commun, const std::unordered_set<const TPointSpeleo*>* arret = nullptr);
  // The corrections that bring the arrival onto M; none for a branch without
  // horizontal length.  True when it has corrections.
  bool CalculeCompens(const foundation::TPointTopo& M);
};

class TBouclage {
 public:
  TPointSpeleo* PtCommun = nullptr;  // none for a junction between caves
  std::vector<std::unique_ptr<TBrancheBouclage>> BranchesBouclage;
  foundation::TPointTopo PtMoyenne;
  bool Interne = true;
  bool EstJonction = false;
  std::vector<std::string> CalculStr;
  TVisee* FinBrancheSupr = nullptr;
  TVisee* DebBrancheSupr = nullptr;
  int32_t IndexBoucle = 0;
  uint32_t CouleurAffiche = 0;
  double vDem = 0;
  int32_t NumCavite = -1, NumCavite2 = -1;

  int Count() const { return static_cast<int>(BranchesBouclage.size()); }
  TBrancheBouclage* UneBranche(int i) const {
    return i >= 0 && i < Count() ? BranchesBouclage[static_cast<size_t>(i)].get() : nullptr;
  }
  // Index of the first branch arriving at P, -1 when none.
  int ChercheBranche(const TPointSpeleo* P) const;
  TBrancheBouclage* AjouteBranche(TPointSpeleo* P);
  // Common point, caves, order of the branches, smallest relative precision.
  // Without the depths the chains are walked to their ends.
  void PrepareBoucle(TProfondeursChaines* profondeurs = nullptr);
  // The misclosure lines, into CalculStr and the branches' lines.
  void EcritValeurs();
  // Departures, mean point and corrections of every branch.  recalcule
  // computes a cave again (before a branch whose departure the earlier
  // branches may have moved).  Returns the caves whose shots got corrections.
  // Without the depths the branches' chains are walked to their ends.
  // corrigee is told of each branch as soon as its corrections are set.
  std::vector<TCavite*> CalculeBoucle(const std::function<void(TCavite*)>& recalcule,
                                      const std::function<void(TBrancheBouclage&)>& corrigee = {},
                                      TProfondeursChaines* profondeurs = nullptr);
  void CalculePointMoyen();
  double PrecisionMinBranches() const;
  static double PrecisRel(const TPointSpeleo* A, const TPointSpeleo* B);
  // After shots were flagged AEffacer: the first branch whose path meets one
  // gives FinBrancheSupr (its arrival's arriving shot) and DebBrancheSupr.
  bool ChercheViseeSupprimee();
  // Follows the removal of stations and shots.
  void Nettoie(const TSuppressions& s);

 private:
  // Stations of the paths walked so far by this junction's branches: a later
  // branch stops where it meets one (with the depths, only that station).
  std::unordered_set<const TPointSpeleo*> chemins_;
};

// < 0 when A is closed before B.
int CompareBouclages(const TBouclage& A, const TBouclage& B);

class TListeBouclages {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Vide() const { return items_.empty(); }
  TBouclage* UnBouclage(int i) const {
    return i >= 0 && i < Count() ? items_[static_cast<size_t>(i)].get() : nullptr;
  }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  void Clear();
  // The first junction having a branch at P1 or P2 (a new one when none)
  // gets a branch for each of them it lacks.  Ignored once the pass's
  // junctions were all found.
  void AjouteJonctionBouclage(TPointSpeleo* P1, TPointSpeleo* P2);
  // Prepares every junction and sorts them in closing order.
  void PrepareBouclages();
  // Reports, closes every junction in order and brings the caves it
  // corrected up to date: only the stations below the corrected shots move
  // (each junction reads its arrivals as a computation of the whole cave
  // would give them), and every corrected cave is computed once more at the
  // end.  The warnings of the caves computed again go to avertissements.
  void FermeBouclages(TAvertissementsCalcul& avertissements);
  void Nettoie(const TSuppressions& s);

  // Set when the junctions of the pass are all found.
  bool Complete = false;

 private:
  std::vector<std::unique_ptr<TBouclage>> items_;
  std::unordered_map<const TPointSpeleo*, TBouclage*> parPoint_;
  TProfondeursChaines profondeurs_;
};

// The loop list's process-wide values, kept in the survey context.
struct ContexteBouclages {
  bool RecalculComplet = false;        // set by GardeBouclagesRecalculComplet
  TListeBouclages* Active = nullptr;   // the open network's list, if any
  TListeBouclages Rechange;            // the list used while none is active
};

// While one lives, each closure computes the corrected caves again shot by
// shot instead of moving the stations below the corrected shots, and the
// chains of the branches are walked to their ends (the reference the faster
// way is checked against).
class GardeBouclagesRecalculComplet {
 public:
  GardeBouclagesRecalculComplet();
  ~GardeBouclagesRecalculComplet();
  GardeBouclagesRecalculComplet(const GardeBouclagesRecalculComplet&) = delete;
  GardeBouclagesRecalculComplet& operator=(const GardeBouclagesRecalculComplet&) = delete;

 private:
  bool sauve_;
};

// The junction list of the current network (a spare one when none).
TListeBouclages& ListeBouclages();
inline TBouclage* UnBouclage(int i) { return ListeBouclages().UnBouclage(i); }

// The hooks through which the computation closes the loops.
TBouclagesCalcul CrochetsBouclages();
// The loop part of a network and its save/restore while a second document is
// read.
void EnregistrePartieBouclages(FabriquesReseau& f);
// Installs both (they are installed from the start; this puts them back).
void InstalleBouclages();

}  // namespace survey
