#include "views/zoom_gal_pts.h"

#include <algorithm>
#include <string>
#include <utility>

#include "foundation/codage.h"
#include "foundation/transformation_vue.h"
#include "foundation/utilitaires.h"
#include "survey/cavite.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

namespace views {

using survey::TPointSpeleo;

namespace {

bool Place(const TPointSpeleo* p) { return p && !p->CoordonneesIndefinies(); }

// The 4 m rule on a rectangle just computed.
void Elargit(TZoomCavite& r) {
  if (r.XSup - r.XInf < LargeurMinZoom && r.YSup - r.YInf < LargeurMinZoom) {
    const double centre = (r.XInf + r.XSup) / 2;
    r.XInf = centre - LargeurMinZoom / 2;
    r.XSup = centre + LargeurMinZoom / 2;
  }
}

template <class T, class Nom>
std::vector<T*> Trie(std::vector<T*> l, Nom nom) {
  std::vector<std::pair<std::string, T*>> cles;
  cles.reserve(l.size());
  for (T* e : l) cles.emplace_back(foundation::EnMajuscules(nom(*e)), e);
  std::stable_sort(cles.begin(), cles.end(),
                   [](const auto& a, const auto& b) { return foundation::CompareNomsPoints(a.first, b.first) < 0; });
  for (size_t i = 0; i < cles.size(); ++i) l[i] = cles[i].second;
  return l;
}

std::vector<TPointSpeleo*> TriePoints(std::vector<TPointSpeleo*> l) {
  return Trie(std::move(l), [](const TPointSpeleo& p) -> const std::string& { return p.DesignPTopo; });
}

}  // namespace

void AjoutePointZoom(TZoomCavite& r, bool premier, const TPointSpeleo& p) {
  const bool alti = foundation::EstDessinAlti();
  const double x = alti ? p.Slh : p.X, y = alti ? p.Z : p.Y;
  if (premier) {
    r = TZoomCavite{x, y, x, y};
    return;
  }
  r.XInf = std::min(r.XInf, x);
  r.XSup = std::max(r.XSup, x);
  r.YInf = std::min(r.YInf, y);
  r.YSup = std::max(r.YSup, y);
}

bool ZoomGalerie(const survey::TGalerie& g, TZoomCavite& r) {
  TZoomCavite z;
  bool premier = true;
  for (const TPointSpeleo* p : g.Points) {
    if (!Place(p)) continue;
    AjoutePointZoom(z, premier, *p);
    premier = false;
  }
  if (premier) return false;
  Elargit(z);
  r = z;
  return true;
}

bool ZoomPoint(const TPointSpeleo& p, TZoomCavite& r) {
  TZoomCavite z;
  bool premier = true;
  for (const survey::TVisee* v : p.LstVis) {
    if (!v) continue;
    for (const TPointSpeleo* e : {v->PtOrigCalc, v->PtCalc}) {
      if (!Place(e)) continue;
      AjoutePointZoom(z, premier, *e);
      premier = false;
    }
  }
  if (premier) return false;
  Elargit(z);
  r = z;
  return true;
}

std::vector<survey::TGalerie*> GaleriesTriees(const survey::TCavite& c) {
  std::vector<survey::TGalerie*> l;
  for (survey::TGalerie* g : c.Galeries) l.push_back(g);
  return Trie(std::move(l), [](const survey::TGalerie& g) -> const std::string& { return g.NomGalerie; });
}

std::vector<TPointSpeleo*> PointsCaviteTries(const survey::TCavite& c) {
  std::vector<TPointSpeleo*> l;
  for (TPointSpeleo* p : c.ListePoints) l.push_back(p);
  return TriePoints(std::move(l));
}

std::vector<TPointSpeleo*> PointsGalerieTries(const survey::TGalerie& g) {
  std::vector<TPointSpeleo*> l;
  for (TPointSpeleo* p : g.Points) l.push_back(p);
  return TriePoints(std::move(l));
}

}  // namespace views
