#include "formats/export/svg/polyligne_svg.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "drawing/dessin_ligne.h"
#include "drawing/texture.h"
#include "formats/export/svg/etat_export_svg.h"
#include "formats/export/svg/fichier_svg.h"
#include "foundation/transformation_vue.h"

namespace formats {

using drawing::MesPenStyle;
using drawing::TStylePinceau;
using foundation::TPointTopo;

namespace {

// A pattern laid along a smoothed curve walks it in steps of a tenth of a
// metre; a segment longer than 10 km takes no more steps than one of 10 km,
// so that a damaged coordinate cannot hold the export.
constexpr int32_t kPasMaxBezier = 100000;

const std::string& Tirets(MesPenStyle s) { return EtatSVG().TiretsSVG[static_cast<size_t>(s)]; }

// The fill of a line: none for an open line; for a closed one the style's
// pattern when it has a texture or a hatched brush and the definitions block
// holds its pattern, else nothing for a clear brush, else the brush colour.
std::string Remplissage(const TFichierSVG& f, const drawing::TDefObjetTrait& t, bool fermee) {
  if (!fermee) return "none";
  if ((t.NumMotif != 0 || t.StylePinceau > TStylePinceau::bsClear) && f.AMotifRemplissage(t))
    return "url(#" + t.NomMotifSVG + ")";
  if (t.StylePinceau == TStylePinceau::bsClear && t.NumMotif <= 0) return "none";
  return f.CouleurSVG(t.CouleurPinceau);
}

// The temporary writer of the export, or a writer of the caller's own when
// no export is under way.
class Temporaire {
 public:
  Temporaire() : fichier_(EtatSVG().FichierSVGTmp) {
    if (!fichier_) {
      propre_ = std::make_unique<TFichierSVG>();
      fichier_ = propre_.get();
    }
  }
  TFichierSVG& operator*() { return *fichier_; }

 private:
  TFichierSVG* fichier_;
  std::unique_ptr<TFichierSVG> propre_;
};

double Diagonale(const std::vector<TPointTopo>& points) {
  double xMin = points[0].X, xMax = xMin, yMin = points[0].Y, yMax = yMin;
  for (const TPointTopo& p : points) {
    xMin = std::min(xMin, p.X);
    xMax = std::max(xMax, p.X);
    yMin = std::min(yMin, p.Y);
    yMax = std::max(yMax, p.Y);
  }
  return std::hypot(xMax - xMin, yMax - yMin);
}

}  // namespace

TPointTopo PointBezierReel(const TPointTopo& P0, const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3,
                           double t) {
  const double u = 1 - t;
  const double a = u * u * u, b = 3 * t * u * u, c = 3 * t * t * u, d = t * t * t;
  TPointTopo r;
  r.X = a * P0.X + b * P1.X + c * P2.X + d * P3.X;
  r.Y = a * P0.Y + b * P1.Y + c * P2.Y + d * P3.Y;
  return r;
}

void CibleSVG::Trait(const TPointTopo& A, const TPointTopo& B) {
  fichier_.EcritSVGHachure("M " + fichier_.PointPolyStr(A) + " L " + fichier_.PointPolyStr(B));
}

void CibleSVG::Polygone(std::span<const TPointTopo> sommets, bool) {
  if (sommets.empty()) return;
  std::string d = "M " + fichier_.PointPolyStr(sommets[0]);
  for (size_t i = 1; i < sommets.size(); ++i) d += " L " + fichier_.PointPolyStr(sommets[i]);
  fichier_.EcritSVGHachure(d + " z");
}

TSVGPolyligne::TSVGPolyligne(TFichierSVG& fichier, const drawing::TDefObjetTrait& trait, bool fermee)
    : UnTrait(trait), Fermee(fermee), Lisse(trait.TraitLisse) {
  fichier.MarqueUtilise(&trait);
  if (trait.UneTexture) fichier.MarqueUtilise(trait.UneTexture);
}

void TSVGPolyligne::AjoutePoint(const TPointTopo& p) {
  TPointTopo q = p;
  if (foundation::EstDessinAlti()) {
    q.X = p.SlH;
    q.Y = p.Z;
  }
  Points.push_back(q);
}

void TSVGPolyligne::AjoutePtXY(double x, double y) {
  TPointTopo q;
  q.X = q.SlH = x;
  q.Y = q.Z = y;
  Points.push_back(q);
}

void TSVGPolyligne::EcritFichier(TFichierSVG& fichier) const {
  if (Points.empty()) return;
  // A smoothed line of one point has no curve: it is written as a point.
  if ((Lisse && Points.size() > 1) || UnTrait.StylePlume > MesPenStyle::mpsDashDot) {
    EcritLigneComplexe(fichier);
    return;
  }
  EcritPolyligne(fichier);
}

void TSVGPolyligne::EcritPolyligne(TFichierSVG& f) const {
  f.EcritBlocSVG(std::string(Fermee ? "polygon" : "polyline") + " fill=\"" + Remplissage(f, UnTrait, Fermee) +
                 "\" stroke=\"" + f.CouleurSVG(UnTrait.CouleurPlume) + "\" stroke-width=\"" +
                 f.MesuresStr(std::max<int32_t>(0, UnTrait.EpaisseurPlume)) + "\" stroke-dasharray=\"" +
                 Tirets(UnTrait.StylePlume) + "\"");
  f.EcritLigneSVG("points=\"" + f.PointPolyStr(Points.front()));
  for (size_t i = 1; i + 1 < Points.size(); ++i) f.EcritLigneSVG(f.PointPolyStr(Points[i]));
  f.EcritFinLigneSVG(f.PointPolyStr(Points.back()) + "\"");
}

void TSVGPolyligne::EcritLigneComplexe(TFichierSVG& W) const {
  Temporaire tmp;
  TFichierSVG& T = *tmp;
  T.ReprendEtat(W);
  T.EcritBlocSVG("path");
  if (Lisse) {
    EcritBezier(T);
  } else {
    drawing::TraceurLigne traceur;
    // A pattern that cannot be laid: the line is written plain.
    if (!traceur.CalculeMotifLigne(drawing::StyleTrace(UnTrait), Diagonale(Points))) {
      EcritPolyligne(W);
      return;
    }
    // The tracer's points hold the view plane in X and Y.
    foundation::GardeTypeDessin plan(foundation::TTypeDeDessin::tddPlani);
    CibleSVG cible(T);
    drawing::EtatLigneTrace etat;
    const drawing::StyleTrace style(UnTrait);
    for (size_t i = 1; i < Points.size(); ++i)
      traceur.TraceLigneComplexe(Points[i - 1], Points[i], cible, i + 1 == Points.size(), style, etat);
  }
  if (T.Lignes.size() <= 1) return;
  W.EcritBlocSVG("path");
  std::string premiere = T.Lignes[1];
  premiere.insert(std::min(premiere.find('M'), premiere.size()), "d=\"");
  std::vector<std::string>& lignes = *W.LignesCourantes;
  lignes.push_back(std::move(premiere));
  lignes.insert(lignes.end(), std::make_move_iterator(T.Lignes.begin() + 2), std::make_move_iterator(T.Lignes.end()));
  lignes.back() += std::string(Fermee ? " Z" : " ") + "\"";
  T.Lignes.clear();
  std::string F = Remplissage(W, UnTrait, Fermee);
  if (UnTrait.StylePlume == MesPenStyle::mpsTrianglePlein) F = W.CouleurSVG(UnTrait.CouleurPlume);
  W.EcritFinLigneSVG("style=\"fill:" + F + ";stroke:" + W.CouleurSVG(UnTrait.CouleurPlume) +
                     "; stroke-width:" + W.MesuresStr(std::max<int32_t>(0, UnTrait.EpaisseurPlume)) +
                     ";stroke-dasharray:" + Tirets(UnTrait.StylePlume) + "\"");
}

void TSVGPolyligne::EcritBezier(TFichierSVG& T) const {
  if (Points.empty()) return;
  std::vector<TPointTopo> ancres = Points;
  if (Fermee) ancres.push_back(ancres.front());
  // The anchors in drawing units, smoothed, back to the ground.
  std::vector<foundation::TPoint> entiers;
  entiers.reserve(ancres.size());
  for (const TPointTopo& p : ancres) entiers.push_back(foundation::PtTopoVersDessin(p));
  std::vector<foundation::TPoint> chemin;
  drawing::CheminBezier(entiers, chemin);
  std::vector<TPointTopo> reels(chemin.size());
  for (size_t i = 0; i < chemin.size(); ++i) foundation::DessinVersPtTopo(chemin[i], reels[i]);
  foundation::GardeTypeDessin plan(foundation::TTypeDeDessin::tddPlani);
  if (reels.size() == 1) {
    T.EcritLigneSVG("M " + T.PointPolyStr(reels[0]));
    return;
  }
  if (UnTrait.StylePlume > MesPenStyle::mpsDashDot) {
    TraceComplexeBezier(reels, T);
    return;
  }
  const size_t n = ancres.size();
  T.EcritLigneSVG("M " + T.PointPolyStr(reels[0]) + " C " + T.PointPolyStr(reels[1]) + " " +
                  T.PointPolyStr(reels[2]));
  for (size_t k = 1; k + 1 < n; ++k)
    T.EcritLigneSVG(T.PointPolyStr(reels[3 * k]) + " " + T.PointPolyStr(reels[3 * k + 1]) + " " +
                    T.PointPolyStr(reels[3 * k + 2]));
  T.EcritLigneSVG(T.PointPolyStr(reels[3 * n - 3]));
}

void TSVGPolyligne::TraceComplexeBezier(const std::vector<TPointTopo>& P, TFichierSVG& T) const {
  drawing::TraceurLigne traceur;
  const drawing::StyleTrace style(UnTrait);
  if (!traceur.CalculeMotifLigne(style, Diagonale(P))) {
    // A pattern that cannot be laid: the curve is written plain.
    const size_t n = (P.size() + 2) / 3;
    T.EcritLigneSVG("M " + T.PointPolyStr(P[0]) + " C " + T.PointPolyStr(P[1]) + " " + T.PointPolyStr(P[2]));
    for (size_t k = 1; k + 1 < n; ++k)
      T.EcritLigneSVG(T.PointPolyStr(P[3 * k]) + " " + T.PointPolyStr(P[3 * k + 1]) + " " +
                      T.PointPolyStr(P[3 * k + 2]));
    T.EcritLigneSVG(T.PointPolyStr(P[3 * n - 3]));
    return;
  }
  CibleSVG cible(T);
  drawing::EtatLigneTrace etat;
  const size_t N = P.size() - 1;
  TPointTopo Q = P[0];
  for (size_t i = 3; i <= N; i += 3) {
    const double L = foundation::DistanceXY(P[i - 3], P[i - 2]) + foundation::DistanceXY(P[i - 2], P[i - 1]) +
                     foundation::DistanceXY(P[i - 1], P[i]);
    const double pasReel = std::nearbyint(L) * 10;
    const int32_t pas = !(pasReel >= 1) ? 1 : pasReel >= kPasMaxBezier ? kPasMaxBezier : static_cast<int32_t>(pasReel);
    const float increment = 1.0F / static_cast<float>(pas);
    float t = 0;
    for (int32_t k = 0; k < pas; ++k) {
      t += increment;
      const TPointTopo B = PointBezierReel(P[i - 3], P[i - 2], P[i - 1], P[i], t);
      if (B.X == Q.X && B.Y == Q.Y) continue;
      traceur.TraceLigneComplexe(Q, B, cible, i == N, style, etat);
      Q = B;
    }
  }
}

}  // namespace formats
