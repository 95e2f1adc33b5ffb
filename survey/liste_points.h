#pragma once
// Lists of stations: a gallery's own stations (owning), a cave's computed
// station and entrance lists and temporary selections (not owning), and the
// operations on the surface points (the stations of gallery 0 of cave 0).
//
// Record of a list: the count, then each station's record.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/point_topo.h"
#include "survey/ligne_liste.h"
#include "survey/point_speleo.h"

namespace survey {

class TListedePoints {
 public:
  explicit TListedePoints(bool possede = true) : Possede(possede) {}
  ~TListedePoints();
  TListedePoints(const TListedePoints&) = delete;
  TListedePoints& operator=(const TListedePoints&) = delete;

  // Whether the list frees its stations.  May be switched off while stations
  // move between lists, and back on afterwards.
  bool Possede;
  foundation::TPointTopo PtCentre;  // centre of the stations' box (CalculeDirection)
  double DistListe = 0;             // length of the main direction (CalculeDirection)

  int Count() const { return static_cast<int>(points_.size()); }
  bool Vide() const { return points_.empty(); }
  // Station i; std::out_of_range outside the list.
  TPointSpeleo* UnPoint(int i) const;
  // The last station; std::out_of_range when empty.
  TPointSpeleo* DerPoint() const;
  // Station i, or none outside the list.
  TPointSpeleo* Item(int i) const {
    return (i < 0 || i >= Count()) ? nullptr : points_[static_cast<size_t>(i)];
  }
  TPointSpeleo* First() const { return Item(0); }
  TPointSpeleo* Last() const { return Item(Count() - 1); }

  // Appends (an owning list takes the station over).
  TPointSpeleo* Add(TPointSpeleo* p);
  TPointSpeleo* Add(std::unique_ptr<TPointSpeleo> p) { return Add(p.release()); }
  void Insert(int i, TPointSpeleo* p);
  int IndexOf(const TPointSpeleo* p) const;
  bool Contient(const TPointSpeleo* p) const { return IndexOf(p) >= 0; }
  // Removes entry i (and frees it when owning).
  void Delete(int i);
  // Removes the station (and frees it when owning); false when absent.
  bool Remove(const TPointSpeleo* p);
  // Removes entry i without freeing it.
  TPointSpeleo* Extrait(int i);
  // Empties the list (freeing the stations when owning).
  void Clear();
  // Removes (and frees when owning) every station the predicate holds, in one pass.
  void SupprimeSi(const std::function<bool(const TPointSpeleo*)>& pred);
  // Stable sort.
  template <class Compare>
  void Trie(Compare comp) {
    std::stable_sort(points_.begin(), points_.end(), comp);
  }

  std::vector<TPointSpeleo*>& Points() { return points_; }
  const std::vector<TPointSpeleo*>& Points() const { return points_; }
  auto begin() const { return points_.begin(); }
  auto end() const { return points_.end(); }

  // Count, then each station (with its IndexFichier set to its position); stops
  // at the first failure.
  bool EcritListe(foundation::TFlux& f);
  // Empties the list, reads the count and each station; a station that failed
  // stays and no further one is read.  A count larger than the stream can hold
  // fails at once.
  bool LitListe(foundation::TFlux& f);

  // Main direction of the stations in the plan (radians clockwise from north);
  // sets PtCentre and DistListe.
  double CalculeDirection();

 private:
  std::vector<TPointSpeleo*> points_;
};

// The operations on the surface points.  The surface gallery's list is a plain
// TListedePoints; these operations work on it as it stands.
class TPointsSurface {
 public:
  explicit TPointsSurface(TListedePoints& liste) : Liste(liste) {}
  TListedePoints& Liste;

  // Sorts by name: upper-cased names in the order of CompareNomsPoints.
  void TrieListe();
  // Asks for a new point in the coordinates dialog ("Saisie d'un point de
  // surface"); on OK appends it (TypePoint 1) and returns it, else none.
  TPointSpeleo* AjoutePoint();
  // A new surface point with the name, the comment as its one line and X, Y, Z
  // given in a coordinate system and zone, converted into the network's; marks
  // the document modified and appends it.
  TPointSpeleo* AjoutePointFichier(const std::string& nom, const std::string& commentaire, double x, double y,
                                   double z, const std::string& systeme, int32_t zone);
  // The same for a point brought by an import (TypePoint 2).
  TPointSpeleo* AjoutePointImport(const std::string& nom, const std::string& commentaire, double x, double y,
                                  double z, const std::string& systeme, int32_t zone);
  // Corrects a point in the coordinates dialog ("Rectification d'un point de
  // surface"); true when confirmed.
  bool RectifPoint(TPointSpeleo& point);
  // Fills a list row: name; X, Y (12 characters) and Z (9) with the configured
  // decimals; surface symbol name; comment lines as one text.
  static void AffecteChaine(TLigneListe& ligne, TPointSpeleo& point);
  // Converts every point's X and Y from one system and zone into another; Z is kept.
  void ChangeProjection(const std::string& ancienSysteme, int32_t ancienFuseau, int32_t nouveauFuseau,
                        const std::string& nouveauSysteme);
};

}  // namespace survey
