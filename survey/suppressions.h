#pragma once
// Stations, shots and survey trips about to be freed, and the clean-up routines
// of the parts of the program that keep pointers to them.
//
// Every removal of stations goes through one routine of the cave model
// (SupprimePoints, cavite.h): it redirects or clears the references the survey
// model itself holds, then calls every clean-up routine registered here
// (adjustments, loops, drawing objects, windows...), and only then frees the
// stations.  The same happens to survey trips dropped from a cave.
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace survey {

class TPointSpeleo;
class TLever;
class TVisee;

class TSuppressions {
 public:
  // Station p goes; references to it become remplacant (nullptr: cleared).
  void AjoutePoint(TPointSpeleo* p, TPointSpeleo* remplacant = nullptr) { points_[p] = remplacant; }
  void AjouteLever(TLever* l) { levers_.insert(l); }
  // Shot v goes; drawing points tied to it become detached.
  void AjouteVisee(TVisee* v) { visees_.insert(v); }

  bool Vide() const { return points_.empty() && levers_.empty() && visees_.empty(); }
  bool PointSupprime(const TPointSpeleo* p) const { return p && points_.count(const_cast<TPointSpeleo*>(p)) != 0; }
  bool LeverSupprime(const TLever* l) const { return l && levers_.count(const_cast<TLever*>(l)) != 0; }
  bool ViseeSupprimee(const TVisee* v) const { return v && visees_.count(const_cast<TVisee*>(v)) != 0; }

  // The station a reference to p must hold afterwards: p itself when p stays,
  // its replacement (or nullptr) when it goes.  A replacement that is itself
  // removed is followed.
  TPointSpeleo* Remplace(TPointSpeleo* p) const;
  // Applies Remplace to a reference in place; true when it changed.
  bool Redirige(TPointSpeleo*& p) const;
  // A reference to a removed trip becomes nullptr; true when it changed.
  bool Efface(const TLever*& l) const;
  // Drops the removed stations from a non-owning list (replacements are not
  // inserted: such lists are rebuilt by the next regeneration).
  void RetireDe(std::vector<TPointSpeleo*>& liste) const;

  const std::unordered_map<TPointSpeleo*, TPointSpeleo*>& Points() const { return points_; }
  const std::unordered_set<TLever*>& Levers() const { return levers_; }
  const std::unordered_set<TVisee*>& Visees() const { return visees_; }

 private:
  std::unordered_map<TPointSpeleo*, TPointSpeleo*> points_;
  std::unordered_set<TLever*> levers_;
  std::unordered_set<TVisee*> visees_;
};

using TNettoyage = std::function<void(const TSuppressions&)>;

// A registered clean-up routine (kept in the survey context).
struct AbonneNettoyage {
  int id;
  TNettoyage routine;
};

// Registers a clean-up routine for the life of the object.
class AbonnementNettoyage {
 public:
  explicit AbonnementNettoyage(TNettoyage routine);
  ~AbonnementNettoyage();
  AbonnementNettoyage(const AbonnementNettoyage&) = delete;
  AbonnementNettoyage& operator=(const AbonnementNettoyage&) = delete;

 private:
  int id_;
};

// Calls every registered routine, in the order of registration.
void AppliqueNettoyages(const TSuppressions& s);

}  // namespace survey
