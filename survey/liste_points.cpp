#include "survey/liste_points.h"

#include <limits>
#include <utility>

#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/utilitaires.h"
#include "survey/contexte_document.h"
#include "survey/ports_survey.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;
using foundation::TPointTopo;

TListedePoints::~TListedePoints() { Clear(); }

TPointSpeleo* TListedePoints::UnPoint(int i) const {
  if (i < 0 || i >= Count()) throw std::out_of_range("index de liste hors limites (" + std::to_string(i) + ")");
  return points_[static_cast<size_t>(i)];
}

TPointSpeleo* TListedePoints::DerPoint() const { return UnPoint(Count() - 1); }

TPointSpeleo* TListedePoints::Add(TPointSpeleo* p) {
  points_.push_back(p);
  return p;
}

void TListedePoints::Insert(int i, TPointSpeleo* p) {
  i = std::clamp(i, 0, Count());
  points_.insert(points_.begin() + i, p);
}

int TListedePoints::IndexOf(const TPointSpeleo* p) const {
  if (!p) return -1;
  for (size_t i = 0; i < points_.size(); ++i)
    if (points_[i] == p) return static_cast<int>(i);
  return -1;
}

void TListedePoints::Delete(int i) {
  TPointSpeleo* p = Extrait(i);
  if (Possede) delete p;
}

bool TListedePoints::Remove(const TPointSpeleo* p) {
  const int i = IndexOf(p);
  if (i < 0) return false;
  Delete(i);
  return true;
}

TPointSpeleo* TListedePoints::Extrait(int i) {
  if (i < 0 || i >= Count()) return nullptr;
  TPointSpeleo* p = points_[static_cast<size_t>(i)];
  points_.erase(points_.begin() + i);
  return p;
}

void TListedePoints::Clear() {
  // The list is emptied first: a station's destructor must not find itself here.
  std::vector<TPointSpeleo*> anciens;
  anciens.swap(points_);
  if (Possede)
    for (auto it = anciens.rbegin(); it != anciens.rend(); ++it) delete *it;
}

void TListedePoints::SupprimeSi(const std::function<bool(const TPointSpeleo*)>& pred) {
  std::vector<TPointSpeleo*> partants;
  auto fin = std::stable_partition(points_.begin(), points_.end(), [&](TPointSpeleo* p) { return !pred(p); });
  partants.assign(fin, points_.end());
  points_.erase(fin, points_.end());
  if (Possede)
    for (TPointSpeleo* p : partants) delete p;
}

bool TListedePoints::EcritListe(TFlux& f) {
  if (!f.EcritInteger(Count())) return false;
  for (size_t i = 0; i < points_.size(); ++i) {
    points_[i]->IndexFichier = static_cast<int32_t>(i);
    if (!points_[i]->EcritObjet(f)) return false;
  }
  return true;
}

bool TListedePoints::LitListe(TFlux& f) {
  Clear();
  int32_t n;
  if (!f.LitInteger(n)) return false;
  if (n <= 0) return true;
  if (!f.Contient(static_cast<uint64_t>(n))) return false;
  points_.reserve(static_cast<size_t>(std::min<int32_t>(n, 1 << 20)));
  bool ok = true;
  for (int32_t k = 0; ok && k < n; ++k) {
    auto p = std::make_unique<TPointSpeleo>();
    ok = p->LitObjet(f);
    if (Possede) Add(std::move(p));  // a list that owns nothing cannot keep what it read
  }
  return ok;
}

double TListedePoints::CalculeDirection() {
  if (points_.empty()) {
    DistListe = 0;
    return 0;
  }
  double xMin = foundation::ValeurIndefiniePositive, yMin = foundation::ValeurIndefiniePositive;
  double xMax = foundation::ValeurIndefinie, yMax = foundation::ValeurIndefinie;
  for (const TPointSpeleo* p : points_) {
    xMin = std::min(xMin, p->X);
    xMax = std::max(xMax, p->X);
    yMin = std::min(yMin, p->Y);
    yMax = std::max(yMax, p->Y);
  }
  PtCentre.X = (xMin + xMax) / 2;
  PtCentre.Y = (yMin + yMax) / 2;
  TPointTopo coins[4] = {foundation::PtTopoXY(xMin, yMin), foundation::PtTopoXY(xMin, yMax),
                         foundation::PtTopoXY(xMax, yMax), foundation::PtTopoXY(xMax, yMin)};
  double distances[4];
  for (int c = 0; c < 4; ++c) {
    double d = foundation::DistanceXY(coins[c], PtCentre);
    for (const TPointSpeleo* p : points_) d = std::min(d, foundation::DistanceXY(coins[c], p->PtTopo()));
    distances[c] = d;
  }
  // The nearest corner, the later one on equal distances; then the nearest of
  // the three others, likewise.
  int a = 0;
  for (int c = 1; c < 4; ++c)
    if (distances[c] <= distances[a]) a = c;
  int b = -1;
  for (int c = 0; c < 4; ++c)
    if (c != a && (b < 0 || distances[c] <= distances[b])) b = c;
  TPointTopo pa = coins[a], pb = coins[b];
  if (pa.X > pb.X) std::swap(pa, pb);
  DistListe = foundation::DistanceXY(pa, pb);
  return foundation::AzimutXY(pa, pb);
}

// --- Surface points -------------------------------------------------------------------

void TPointsSurface::TrieListe() {
  std::vector<std::pair<std::string, TPointSpeleo*>> cles;
  cles.reserve(static_cast<size_t>(Liste.Count()));
  for (TPointSpeleo* p : Liste) cles.emplace_back(foundation::EnMajuscules(p->DesignPTopo), p);
  std::stable_sort(cles.begin(), cles.end(),
                   [](const auto& a, const auto& b) { return foundation::CompareNomsPoints(a.first, b.first) < 0; });
  auto& points = Liste.Points();
  for (size_t i = 0; i < cles.size(); ++i) points[i] = cles[i].second;
}

TPointSpeleo* TPointsSurface::AjoutePoint() {
  if (!Ports().DialogueCoordonnees) return nullptr;
  auto p = std::make_unique<TPointSpeleo>();
  if (!Ports().DialogueCoordonnees(*p, Msg(IdMsg::SaisiePointSurface))) return nullptr;
  p->TypePoint = PointSurface;
  return Liste.Add(std::move(p));
}

TPointSpeleo* TPointsSurface::AjoutePointFichier(const std::string& nom, const std::string& commentaire, double x,
                                                 double y, double z, const std::string& systeme, int32_t zone) {
  auto p = std::make_unique<TPointSpeleo>();
  p->TypePoint = PointSurface;
  p->DesignPTopo = nom;
  p->X = x;
  p->Y = y;
  p->Z = z;
  p->Commentaire.push_back(commentaire);
  Document().DocumentModifie = true;
  if (Ports().TransformePointSurface) Ports().TransformePointSurface(*p, systeme, zone);
  return Liste.Add(std::move(p));
}

TPointSpeleo* TPointsSurface::AjoutePointImport(const std::string& nom, const std::string& commentaire, double x,
                                                double y, double z, const std::string& systeme, int32_t zone) {
  TPointSpeleo* p = AjoutePointFichier(nom, commentaire, x, y, z, systeme, zone);
  p->TypePoint = PointSurfaceImporte;
  return p;
}

bool TPointsSurface::RectifPoint(TPointSpeleo& point) {
  return Ports().DialogueCoordonnees && Ports().DialogueCoordonnees(point, Msg(IdMsg::RectificationPointSurface));
}

void TPointsSurface::AffecteChaine(TLigneListe& ligne, TPointSpeleo& point) {
  const int d = Affichage().DecimalesCoord;
  ligne.Caption = point.DesignPTopo;
  ligne.SousItems.clear();
  ligne.SousItems.push_back(foundation::ReelEnStrFixe(point.X, 12, d));
  ligne.SousItems.push_back(foundation::ReelEnStrFixe(point.Y, 12, d));
  ligne.SousItems.push_back(foundation::ReelEnStrFixe(point.Z, 9, d));
  ligne.SousItems.push_back(point.CategorieSurface && Ports().NomCategorieSurface
                                ? Ports().NomCategorieSurface(point.CategorieSurface)
                                : std::string());
  ligne.SousItems.push_back(point.Commentaire.Texte());
  ligne.Donnee = &point;
}

void TPointsSurface::ChangeProjection(const std::string& ancienSysteme, int32_t ancienFuseau, int32_t nouveauFuseau,
                                      const std::string& nouveauSysteme) {
  const auto convertit = ConversionPoints(ancienSysteme, ancienFuseau, nouveauFuseau, nouveauSysteme);
  if (!convertit) return;
  for (TPointSpeleo* p : Liste) convertit(p->X, p->Y);
}

}  // namespace survey
