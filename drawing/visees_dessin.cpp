#include "drawing/visees_dessin.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "drawing/contexte_dessin.h"
#include "foundation/transformation_vue.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

namespace drawing {

namespace {

// Shots shorter than this both horizontally and in space take no point.
constexpr double kLongueurMinimale = 0.1;
// A point this close to a shot's start takes that shot.
constexpr double kRayonDepart = 0.1;
// Lists this short are scanned.
constexpr int kTailleMinIndex = 32;

inline double Distance(double x1, double y1, double x2, double y2) { return std::hypot(x2 - x1, y2 - y1); }

}  // namespace

int TViseesDeRef::Count() const {
  if (cave_) return cave_->Count();
  return propre_ ? propre_->Count() : 0;
}

survey::TVisee* TViseesDeRef::LaVisee(int i) const {
  if (cave_) return cave_->UnObjet(i);
  return propre_ ? propre_->LaVisee(i) : nullptr;
}

bool TViseesDeRef::AccrocheToutesVisees() const {
  if (cave_) return cave_->AccrocheToutesVisees;
  return propre_ ? propre_->AccrocheToutesVisees : true;
}

void PositionPlan(const survey::TPointSpeleo& p, bool alti, double& x, double& y) {
  x = alti ? p.Slh : p.X;
  y = alti ? p.Z : p.Y;
}

bool ViseeAccrochable(const survey::TVisee* v, bool accrocheToutes, bool alti) {
  if (!v || !v->PointStation || !v->PointVise) return false;
  if (!v->Accrochable && !accrocheToutes) return false;
  if (v->LhCalc <= kLongueurMinimale && v->LCalc <= kLongueurMinimale) return false;
  double xs, ys, xt, yt;
  PositionPlan(*v->PointStation, alti, xs, ys);
  PositionPlan(*v->PointVise, alti, xt, yt);
  return std::isfinite(xs) && std::isfinite(ys) && std::isfinite(xt) && std::isfinite(yt);
}

survey::TVisee* ViseeDeReferenceParcours(const TViseesDeRef& visees, double x, double y, bool alti) {
  survey::TVisee* ref = nullptr;
  double meilleure = -1;
  const bool toutes = visees.AccrocheToutesVisees();
  const int n = visees.Count();
  for (int i = 0; i < n; ++i) {
    survey::TVisee* v = visees.LaVisee(i);
    if (!ViseeAccrochable(v, toutes, alti)) continue;
    double xs, ys, xt, yt;
    PositionPlan(*v->PointStation, alti, xs, ys);
    PositionPlan(*v->PointVise, alti, xt, yt);
    const double ds = Distance(xs, ys, x, y);
    const double m = std::min(ds, Distance(xt, yt, x, y));
    if (meilleure < 0 || m < meilleure) {
      ref = v;
      meilleure = m;
    }
    if (ds < kRayonDepart) ref = v;
  }
  return ref;
}

// --- Grid of the shots' ends ------------------------------------------------------------
//
// The scan above ends on the last shot at which it assigned.  It assigns at
// every strict new minimum of the end distance (the last of which is the
// first shot reaching the overall minimum) and at every shot whose start lies
// within 0.1 m.  So its answer is the later of: the first shot with the
// smallest end distance, and the last shot whose start is within 0.1 m.  The
// grid finds both.

TIndexVisees::TIndexVisees(const TViseesDeRef& visees, bool alti) : visees_(visees), alti_(alti) {
  const bool toutes = visees.AccrocheToutesVisees();
  const int n = visees.Count();
  double xmax = -std::numeric_limits<double>::infinity(), ymax = xmax;
  xmin_ = ymin_ = std::numeric_limits<double>::infinity();
  for (int i = 0; i < n; ++i) {
    survey::TVisee* v = visees.LaVisee(i);
    if (!ViseeAccrochable(v, toutes, alti)) continue;
    const auto rang = static_cast<uint32_t>(rangs_.size());
    rangs_.push_back(v);
    double xs, ys, xt, yt;
    PositionPlan(*v->PointStation, alti, xs, ys);
    PositionPlan(*v->PointVise, alti, xt, yt);
    extremites_.push_back({xs, ys, rang, true});
    extremites_.push_back({xt, yt, rang, false});
    xmin_ = std::min({xmin_, xs, xt});
    ymin_ = std::min({ymin_, ys, yt});
    xmax = std::max({xmax, xs, xt});
    ymax = std::max({ymax, ys, yt});
  }
  if (n < kTailleMinIndex || extremites_.empty()) return;
  const double nb = static_cast<double>(extremites_.size());
  const double larg = xmax - xmin_, haut = ymax - ymin_;
  // About two ends per cell, never below the start radius, never more cells
  // along a side than there are ends.
  pas_ = std::max({std::sqrt(larg * haut / nb) * 1.5, std::max(larg, haut) / nb, kRayonDepart});
  if (!std::isfinite(pas_) || !std::isfinite(larg) || !std::isfinite(haut)) return;
  nx_ = static_cast<int64_t>(larg / pas_) + 1;
  ny_ = static_cast<int64_t>(haut / pas_) + 1;
  std::vector<std::pair<int64_t, uint32_t>> cles(extremites_.size());
  for (size_t k = 0; k < extremites_.size(); ++k) {
    const int64_t cx = std::clamp<int64_t>(Cellule(extremites_[k].x, xmin_), 0, nx_ - 1);
    const int64_t cy = std::clamp<int64_t>(Cellule(extremites_[k].y, ymin_), 0, ny_ - 1);
    cles[k] = {cx * ny_ + cy, static_cast<uint32_t>(k)};
  }
  std::sort(cles.begin(), cles.end());
  std::vector<Extremite> triees;
  triees.reserve(extremites_.size());
  cellules_.reserve(extremites_.size());
  for (size_t k = 0; k < cles.size(); ++k) {
    triees.push_back(extremites_[cles[k].second]);
    auto [it, nouvelle] = cellules_.try_emplace(cles[k].first, static_cast<uint32_t>(k), static_cast<uint32_t>(k));
    it->second.second = static_cast<uint32_t>(k + 1);
  }
  extremites_.swap(triees);
  grille_ = true;
}

int64_t TIndexVisees::Cellule(double v, double origine) const {
  // Far outside the grid only the side matters.
  const double c = std::floor((v - origine) / pas_);
  return static_cast<int64_t>(std::clamp(c, -1e12, 1e12));
}

survey::TVisee* TIndexVisees::Parcours(double x, double y) const {
  return ViseeDeReferenceParcours(visees_, x, y, alti_);
}

survey::TVisee* TIndexVisees::Cherche(double x, double y) const {
  if (!grille_) return Parcours(x, y);
  if (!std::isfinite(x) || !std::isfinite(y)) return Parcours(x, y);
  const int64_t qx = Cellule(x, xmin_), qy = Cellule(y, ymin_);
  auto visite = [&](int64_t cx, int64_t cy, auto&& f) {
    if (cx < 0 || cy < 0 || cx >= nx_ || cy >= ny_) return;
    const auto it = cellules_.find(cx * ny_ + cy);
    if (it == cellules_.end()) return;
    for (uint32_t k = it->second.first; k < it->second.second; ++k) f(extremites_[k]);
  };

  // The last shot whose start lies within the start radius.
  int64_t proche = -1;
  for (int64_t cx = Cellule(x - kRayonDepart, xmin_); cx <= Cellule(x + kRayonDepart, xmin_); ++cx)
    for (int64_t cy = Cellule(y - kRayonDepart, ymin_); cy <= Cellule(y + kRayonDepart, ymin_); ++cy)
      visite(cx, cy, [&](const Extremite& e) {
        if (e.depart && Distance(e.x, e.y, x, y) < kRayonDepart) proche = std::max<int64_t>(proche, e.rang);
      });

  // The first shot with the nearest end, ring by ring around the point's cell.
  double meilleure = std::numeric_limits<double>::infinity();
  int64_t premier = -1;
  auto examine = [&](const Extremite& e) {
    const double d = Distance(e.x, e.y, x, y);
    if (d < meilleure || (d == meilleure && e.rang < premier)) {
      meilleure = d;
      premier = e.rang;
    }
  };
  const int64_t dx0 = std::max<int64_t>({0, -qx, qx - (nx_ - 1)});
  const int64_t dy0 = std::max<int64_t>({0, -qy, qy - (ny_ - 1)});
  const int64_t r0 = std::max(dx0, dy0);
  const int64_t rmax = std::max({std::abs(qx), std::abs(qx - (nx_ - 1)), std::abs(qy), std::abs(qy - (ny_ - 1))});
  // A point far from every end would walk many empty rings: past this many
  // cells the scan is cheaper.
  const int64_t limite = 8 * static_cast<int64_t>(extremites_.size()) + 64;
  int64_t cellulesVues = 0;
  for (int64_t r = r0; r <= rmax; ++r) {
    // Every end of ring r lies at least (r - 1) cells away.
    if (premier >= 0 && static_cast<double>(r - 1) * pas_ > meilleure) break;
    if (r == 0) {
      visite(qx, qy, examine);
      ++cellulesVues;
      continue;
    }
    const int64_t xa = std::max<int64_t>(qx - r, 0), xb = std::min<int64_t>(qx + r, nx_ - 1);
    const int64_t ya = std::max<int64_t>(qy - r + 1, 0), yb = std::min<int64_t>(qy + r - 1, ny_ - 1);
    for (int64_t cy : {qy - r, qy + r})
      if (cy >= 0 && cy < ny_)
        for (int64_t cx = xa; cx <= xb; ++cx) visite(cx, cy, examine), ++cellulesVues;
    for (int64_t cx : {qx - r, qx + r})
      if (cx >= 0 && cx < nx_)
        for (int64_t cy = ya; cy <= yb; ++cy) visite(cx, cy, examine), ++cellulesVues;
    if (cellulesVues > limite) return Parcours(x, y);
  }
  if (premier < 0) return nullptr;
  return rangs_[static_cast<size_t>(std::max(premier, proche))];
}

const TIndexVisees& TCacheIndexVisees::Index(const TViseesDeRef& visees, bool alti) {
  auto& p = index_[{visees.Cle(), alti}];
  if (!p) p = std::make_unique<TIndexVisees>(visees, alti);
  return *p;
}

GardeIndexVisees::GardeIndexVisees() {
  if (!Dessin().IndexVisees) {
    cache_ = std::make_unique<TCacheIndexVisees>();
    Dessin().IndexVisees = cache_.get();
  }
}

GardeIndexVisees::~GardeIndexVisees() {
  if (cache_ && Dessin().IndexVisees == cache_.get()) Dessin().IndexVisees = nullptr;
}

survey::TVisee* ViseeDeReference(const TViseesDeRef& visees, double x, double y) {
  if (visees.Vide()) return nullptr;
  const bool alti = foundation::EstDessinAlti();
  if (TCacheIndexVisees* cache = Dessin().IndexVisees; cache && visees.Count() >= kTailleMinIndex)
    return cache->Index(visees, alti).Cherche(x, y);
  return ViseeDeReferenceParcours(visees, x, y, alti);
}

}  // namespace drawing
