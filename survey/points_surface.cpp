#include "survey/points_surface.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <unordered_set>

#include "foundation/arrondi.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/utilitaires.h"
#include "projections/services.h"
#include "survey/cavite.h"
#include "survey/compens.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"
#include "survey/suppressions.h"

namespace survey {

namespace {

std::string NomSymbole(const TPointSpeleo& p) {
  return p.CategorieSurface && Ports().NomCategorieSurface ? Ports().NomCategorieSurface(p.CategorieSurface)
                                                           : std::string();
}

int Signe(int64_t x) { return x < 0 ? -1 : (x > 0 ? 1 : 0); }

// What a column compares, computed once per point.
struct Cle {
  TPointSpeleo* Point;
  std::string Texte;
  double Valeur;
};

int CompareCles(const Cle& a, const Cle& b, ColonnePtsSurface colonne) {
  switch (colonne) {
    case ColonnePtsSurface::Nom:
    case ColonnePtsSurface::Nature: return foundation::CompareNomsPoints(a.Texte, b.Texte);
    case ColonnePtsSurface::X:
    case ColonnePtsSurface::Y:
    case ColonnePtsSurface::Z: return Signe(foundation::Arrondi64(a.Valeur - b.Valeur));
    case ColonnePtsSurface::Commentaire: return 0;
  }
  return 0;
}

Cle CleDe(TPointSpeleo* p, ColonnePtsSurface colonne) {
  switch (colonne) {
    case ColonnePtsSurface::Nom: return {p, foundation::EnMajuscules(p->DesignPTopo), 0};
    case ColonnePtsSurface::Nature: return {p, foundation::EnMajuscules(NomSymbole(*p)), 0};
    case ColonnePtsSurface::X: return {p, {}, p->X};
    case ColonnePtsSurface::Y: return {p, {}, p->Y};
    case ColonnePtsSurface::Z: return {p, {}, p->Z};
    case ColonnePtsSurface::Commentaire: break;
  }
  return {p, {}, 0};
}

// Top-down merge sort: stable, and it only asks whether an item of the right
// run goes before the current item of the left run, so any comparison,
// transitive or not, gives a permutation of the items in which no item is
// put before a neighbour it should follow.  The runs are always merged: with
// a comparison that is not transitive, two sorted runs do not make a sorted
// whole just because their meeting items are in order.
template <class Avant>
void TriFusion(std::vector<Cle>& v, std::vector<Cle>& tampon, size_t debut, size_t fin, const Avant& avant) {
  if (fin - debut < 2) return;
  const size_t milieu = debut + (fin - debut) / 2;
  TriFusion(v, tampon, debut, milieu, avant);
  TriFusion(v, tampon, milieu, fin, avant);
  size_t i = debut, j = milieu, k = debut;
  while (i < milieu && j < fin) tampon[k++] = avant(v[j], v[i]) ? std::move(v[j++]) : std::move(v[i++]);
  while (i < milieu) tampon[k++] = std::move(v[i++]);
  while (j < fin) tampon[k++] = std::move(v[j++]);
  for (size_t m = debut; m < fin; ++m) v[m] = std::move(tampon[m]);
}

std::string Coordonnee(double x, int largeur) {
  return foundation::OteBlancs(foundation::ReelEnStr(x, largeur, Affichage().DecimalesCoord));
}

}  // namespace

int ComparePointsSurface(const TPointSpeleo& a, const TPointSpeleo& b, ColonnePtsSurface colonne) {
  auto* pa = const_cast<TPointSpeleo*>(&a);
  auto* pb = const_cast<TPointSpeleo*>(&b);
  return CompareCles(CleDe(pa, colonne), CleDe(pb, colonne), colonne);
}

bool TriePointsSurface(std::vector<TPointSpeleo*>& points, ColonnePtsSurface colonne, bool croissant) {
  if (colonne == ColonnePtsSurface::Commentaire) return false;
  std::vector<Cle> cles;
  cles.reserve(points.size());
  for (TPointSpeleo* p : points) cles.push_back(CleDe(p, colonne));
  std::vector<Cle> tampon(cles.size());
  const int sens = croissant ? 1 : -1;
  TriFusion(cles, tampon, 0, cles.size(),
            [&](const Cle& b, const Cle& a) { return sens * CompareCles(b, a, colonne) < 0; });
  for (size_t i = 0; i < cles.size(); ++i) points[i] = cles[i].Point;
  return true;
}

// --- Deletion ---------------------------------------------------------------------------------

std::vector<TPointSpeleo*> MarquePointsSupprimables(TReseau& reseau, const std::vector<TPointSpeleo*>& selection) {
  std::vector<TPointSpeleo*> marques;
  TListedePoints* surface = reseau.LesPointsSurface();
  if (!surface) return marques;
  for (TPointSpeleo* p : *surface) p->Marque = true;
  for (const TCompens* c : reseau.Compensations)
    if (c->PtJuste) c->PtJuste->Marque = false;
  const std::unordered_set<const TPointSpeleo*> choisis(selection.begin(), selection.end());
  for (TPointSpeleo* p : *surface) {
    p->Marque = p->Marque && p->NbRatTot == 0 && choisis.count(p) != 0;
    if (p->Marque) marques.push_back(p);
  }
  return marques;
}

void DemarquePointsSurface(TReseau& reseau) {
  if (TListedePoints* surface = reseau.LesPointsSurface())
    for (TPointSpeleo* p : *surface) p->Marque = false;
}

void SupprimePointsSurface(TReseau& reseau, const std::vector<TPointSpeleo*>& points) {
  TCavite* surface = reseau.UneCavite(0);
  if (!surface || points.empty()) return;
  TSuppressions s;
  for (TPointSpeleo* p : points) s.AjoutePoint(p);
  surface->SupprimePoints(s);
}

// --- Exported lists ---------------------------------------------------------------------------

std::string ReelGeneral(double x) {
  if (!std::isfinite(x)) return foundation::ReelEnTexteExact(x);
  char tampon[64];
  const auto r = std::to_chars(tampon, tampon + sizeof tampon, x, std::chars_format::general, 15);
  std::string s(tampon, r.ptr);
  if (s.find('e') != std::string::npos) {
    // Far from the degrees' range: fixed notation, trailing zeros dropped.
    s = foundation::ReelEnTexteFixe(x, 15);
    if (s.find('.') != std::string::npos) {
      while (s.back() == '0') s.pop_back();
      if (s.back() == '.') s.pop_back();
    }
  }
  return s == "-0" ? "0" : s;
}

std::vector<std::string> LignesPointsSurface(const std::vector<TPointSpeleo*>& points) {
  std::vector<std::string> lignes;
  lignes.reserve(points.size());
  for (const TPointSpeleo* p : points)
    lignes.push_back(p->DesignPTopo + '\t' + Coordonnee(p->X, 12) + '\t' + Coordonnee(p->Y, 12) + '\t' +
                     Coordonnee(p->Z, 6) + '\t' + NomSymbole(*p) + '\t' + p->Commentaire.Texte());
  return lignes;
}

std::vector<std::string> LignesPointsSurfaceWGS(const std::vector<TPointSpeleo*>& points, const std::string& systeme,
                                                int32_t zone) {
  constexpr double Degres = 180 / std::numbers::pi;
  std::vector<std::string> lignes;
  lignes.reserve(points.size());
  for (const TPointSpeleo* p : points) {
    foundation::TPointTopo t = p->PtTopo();
    std::string lat, lon;
    if (projections::PtTopoVersWGS84(t, systeme, zone) && std::isfinite(t.LatPt) && std::isfinite(t.LongPt)) {
      lat = ReelGeneral(t.LatPt * Degres);
      lon = ReelGeneral(t.LongPt * Degres);
    }
    lignes.push_back(p->DesignPTopo + '\t' + lat + '\t' + lon + '\t' + Coordonnee(p->Z, 6) + '\t' + NomSymbole(*p) +
                     '\t' + p->Commentaire.Texte());
  }
  return lignes;
}

}  // namespace survey
