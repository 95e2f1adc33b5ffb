#include "drawing/dessin_ligne.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <typeinfo>

#include "drawing/contexte_motifs.h"
#include "drawing/reglages_trace.h"
#include "foundation/arrondi.h"
#include "foundation/bezier.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"

namespace drawing {

using foundation::Arrondi;
using foundation::TPoint;
using foundation::TPointTopo;
using foundation::TRect;

namespace {

TPointTopo PtTopo(const TPoint& p) {
  TPointTopo r;
  r.X = r.SlH = p.X;
  r.Y = r.Z = p.Y;
  return r;
}

// The pixel diagonal of a rectangle.
double Diagonale(const TRect& r) {
  return std::hypot(static_cast<double>(r.Right) - r.Left, static_cast<double>(r.Bottom) - r.Top);
}

// Rounded length of the three legs of a piece's control polygon.
int32_t LongueurJambes(const TPoint* p) {
  const double l = foundation::DistancePoints(p[0], p[1]) + foundation::DistancePoints(p[1], p[2]) +
                   foundation::DistancePoints(p[2], p[3]);
  return Arrondi(l);
}

}  // namespace

// --- TDessinBasique ------------------------------------------------------------------

TDessinBasique::TDessinBasique(const TDefObjetTrait* vMotif, foundation::TObjetDeListe* unObjet)
    : TObjetDessin(unObjet) {
  ObjetMotif = vMotif;
  EstVisible = vMotif != nullptr;
  CodeAffichage = TypeObjetDessin::odDessin;
  EnveloppeModifiee = true;
}

void TDessinBasique::AjoutePointLoc(int32_t X, int32_t Y) {
  PointsList.emplace_back(X, Y);
  if (PointsList.size() == 1) {
    EnvelRect = PointsList.back().EnvelRect;
  } else {
    TRect r;
    foundation::UnionRectY(EnvelRect, PointsList.back().EnvelRect, r);
    EnvelRect = r;
  }
  EnveloppeModifiee = true;
}

void TDessinBasique::AjoutePointTopo(const TPointTopo& p) { AjoutePointLoc(Arrondi(p.X), Arrondi(p.Y)); }

void TDessinBasique::AjoutePointReel(double X, double Y) { AjoutePoint(foundation::XYVersDessin(X, Y)); }

void TDessinBasique::DupliquePoints(TDessinBasique& vNouveauDessin) const {
  for (const TPointDeBase& p : PointsList) vNouveauDessin.AjoutePointLoc(p.XLoc, p.YLoc);
}

void TDessinBasique::CalculPointsVue() {
  const TVueDessin vue;
  for (TPointDeBase& p : PointsList) p.PointVue(vue);
}

void TDessinBasique::DessinePoignees(platform::Canvas& canvas) {
  for (const TPointDeBase& p : PointsList) p.DessinePoignee(canvas);
}

void TDessinBasique::CalculeDimBmp() {
  CalculeEnveloppe();
  const TPoint a = PointVueDessin(EnvelRect.Left, EnvelRect.Top);
  const TPoint b = PointVueDessin(EnvelRect.Right, EnvelRect.Bottom);
  XRmin = std::min(a.X, b.X) - 10;
  XRmax = std::max(a.X, b.X) + 10;
  YRmin = std::min(a.Y, b.Y) - 10;
  YRmax = std::max(a.Y, b.Y) + 10;
  Affichage().DecalageVueX = -XRmin;
  Affichage().DecalageVueY = -YRmin;
  CalculPointsVue();
}

void TDessinBasique::DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info) {
  info.NCav = info.NGal = -1;
  info.Pt1 = nullptr;
  info.ObjetProche = this;
  info.D = -1;
  if (PointsList.empty()) return;
  const TPointTopo curseur = PtTopo(foundation::EcranVersDessin({XPt, YPt}));
  if (PointsList.size() < 2) {
    info.D = foundation::DistanceXY(curseur, PointsList[0].PTopoLoc());
    return;
  }
  double d = foundation::ValeurIndefiniePositive;
  for (size_t i = 1; i < PointsList.size(); ++i)
    d = std::min(d, DistanceAuSegment(PointsList[i - 1], PointsList[i], curseur.X, curseur.Y));
  info.D = d;
}

int TDessinBasique::PointLePlusProche(int32_t XPt, int32_t YPt) const {
  int meilleur = -1;
  double dMin = 0;
  const TPoint curseur = foundation::EcranVersDessin({XPt, YPt});
  for (size_t i = 0; i < PointsList.size(); ++i) {
    const double d = foundation::DistancePoints(curseur, PointsList[i].PointLoc());
    if (meilleur < 0 || d < dMin) {
      meilleur = static_cast<int>(i);
      dMin = d;
    }
  }
  return meilleur;
}

namespace {

// The nearest foot of the perpendicular from P onto segment A B that falls on
// the segment; the distance is kept when it beats dMin.
bool PiedSurSegment(const TPointTopo& A, const TPointTopo& B, const TPointTopo& P, double& dMin, TPointTopo& pied) {
  TPointTopo r;
  foundation::PiedPerpendiculaire(A, B, P, r);
  if (r.SlH != 1 || !foundation::EstSurSegment(A, B, r)) return false;
  const double d = foundation::DistanceXY(r, P);
  if (d >= dMin) return false;
  dMin = d;
  pied = r;
  return true;
}

}  // namespace

TPointTopo TDessinBasique::PointPerp(const TPointTopo& UnPtLoc, int& iPt) const {
  iPt = -1;
  TPointTopo resultat;
  double dMin = foundation::ValeurIndefiniePositive;
  for (size_t a = 1; a < PointsList.size(); ++a) {
    if (PiedSurSegment(PointsList[a - 1].PTopoLoc(), PointsList[a].PTopoLoc(), UnPtLoc, dMin, resultat))
      iPt = static_cast<int>(a);
  }
  return resultat;
}

void CheminBezier(std::span<const TPoint> ancres, std::vector<TPoint>& chemin) {
  chemin.clear();
  if (ancres.empty()) return;
  chemin.resize(3 * ancres.size() - 2);
  for (size_t i = 0; i < ancres.size(); ++i) chemin[3 * i] = ancres[i];
  foundation::LisseBezier(chemin, static_cast<int>(chemin.size()), 80);
}

// --- TDessinLigne --------------------------------------------------------------------

TDessinLigne::TDessinLigne(const TDefObjetTrait* vMotif, foundation::TObjetDeListe* unObjet)
    : TDessinBasique(vMotif, unObjet) {
  if (vMotif == nullptr) ObjetMotif = &Motifs().TraitLigneBlanche;
}

void TDessinLigne::DessineObjet(platform::Canvas& canvas) {
  if (EstLigneRemplie() && GraphRempli() != nullptr) ObjetMotif = GraphRempli();
  const bool enRouge = AffichageLu().TraceEnRouge;
  const bool rouge = enRouge || (DessinEnCours && EstLigneRemplie());
  if (!(EstVisible || rouge || Selecte)) return;
  // The red mode is set for this line only when it changes, which a line
  // drawn on another thread never does (it reads a snapshot there).
  if (rouge == enRouge) {
    TObjetDessin::DessineObjet(canvas);
    return;
  }
  GardeValeur<bool> garde(Affichage().TraceEnRouge, rouge);
  TObjetDessin::DessineObjet(canvas);
}

namespace {

// A style the canvas's pen cannot draw: drawn by the line tracer (any dash
// when printing; on screen, wide dashes and the hatched styles).
bool StyleSpecial(const TDefObjetTrait& trait) {
  const MesPenStyle s = trait.StylePlume;
  if (ImpressionLue().EnImpression) return s != MesPenStyle::mpsSolid;
  return (s >= MesPenStyle::mpsDash && s <= MesPenStyle::mpsDashDot && trait.EpaisseurPlume > 1) ||
         s > MesPenStyle::mpsDashDot;
}

}  // namespace

bool TDessinLigne::TraceSimple() const {
  if (!EstVisible || EstLigneRemplie() || Selecte || DessinEnCours || StyleLisse()) return false;
  return ObjetMotif == nullptr || !StyleSpecial(*ObjetMotif);
}

bool TDessinLigne::TracableEnParallele() const { return typeid(*this) == typeid(TDessinLigne) && TraceSimple(); }

void TDessinLigne::DessineCetObjet(platform::Canvas& canvas) {
  if (PointsList.empty()) return;
  static const TDefObjetTrait continu;
  const TDefObjetTrait& trait = ObjetMotif != nullptr ? *ObjetMotif : continu;
  TraceSpecial = StyleSpecial(trait);
  try {
    if (trait.TraitLisse && PointsList.size() > 1) {
      DessineLissage(canvas, trait, TraceSpecial);
    } else if (TraceSpecial) {
      TracePolyligne(canvas, trait);
    } else {
      canvas.MoveTo(PointsList[0].XVue, PointsList[0].YVue);
      for (size_t i = 1; i < PointsList.size(); ++i) canvas.LineTo(PointsList[i].XVue, PointsList[i].YVue);
    }
  } catch (const std::runtime_error&) {
    NoteObjetEnErreur(canvas, NoObjet);
  }
}

void TDessinLigne::TracePolyligne(platform::Canvas& canvas, const TDefObjetTrait& trait) {
  TraceurLigne traceur;
  traceur.CalculeMotifLigne(trait, Diagonale(EnvelVue()));
  CibleCanvas cible(canvas);
  EtatLigneTrace etat;
  for (size_t i = 1; i < PointsList.size(); ++i) {
    traceur.TraceLigneComplexe(PtTopo(PointsList[i - 1].PtVue()), PtTopo(PointsList[i].PtVue()), cible,
                               i + 1 == PointsList.size(), trait, etat);
  }
}

void TDessinLigne::DessineLissage(platform::Canvas& canvas, const TDefObjetTrait& trait, bool special) {
  pixels_.clear();
  for (const TPointDeBase& p : PointsList) pixels_.push_back(p.PtVue());
  CheminBezier(pixels_, chemin_);
  if (!special) {
    canvas.PolyBezier(chemin_);
    return;
  }
  TraceBezierComplexe(canvas, trait);
}

void TDessinLigne::TraceBezierComplexe(platform::Canvas& canvas, const TDefObjetTrait& trait) {
  int32_t xMin = chemin_[0].X, xMax = xMin, yMin = chemin_[0].Y, yMax = yMin;
  for (const TPoint& p : chemin_) {
    xMin = std::min(xMin, p.X);
    xMax = std::max(xMax, p.X);
    yMin = std::min(yMin, p.Y);
    yMax = std::max(yMax, p.Y);
  }
  TraceurLigne traceur;
  traceur.CalculeMotifLigne(trait, Diagonale({xMin, yMin, xMax, yMax}));
  CibleCanvas cible(canvas);
  EtatLigneTrace etat;
  const size_t pieces = (chemin_.size() - 1) / 3;
  TPoint precedent = chemin_[0];
  for (size_t j = 0; j < pieces; ++j) {
    const TPoint* p = &chemin_[3 * j];
    const int32_t n = std::max(1, LongueurJambes(p) / 8);
    const bool dernierePiece = j + 1 == pieces;
    for (int32_t i = 1; i <= n; ++i) {
      TPoint r;
      foundation::PointBezier(p[0], p[1], p[2], p[3], static_cast<float>(i) / static_cast<float>(n), r);
      if (r == precedent) continue;
      traceur.TraceLigneComplexe(PtTopo(precedent), PtTopo(r), cible, dernierePiece, trait, etat);
      precedent = r;
    }
  }
}

bool TDessinLigne::CalculeCourbeBezier() {
  CourbeBezier.clear();
  if (PointsList.empty()) return false;
  pixels_.clear();
  for (const TPointDeBase& p : PointsList) pixels_.push_back(p.PointLoc());
  CheminBezier(pixels_, chemin_);
  CourbeBezier.emplace_back(chemin_[0]);
  const size_t pieces = (chemin_.size() - 1) / 3;
  for (size_t j = 0; j < pieces; ++j) {
    const TPoint* p = &chemin_[3 * j];
    const int32_t n = std::max(1, LongueurJambes(p) / 100);
    if (n > 9999) {
      CourbeBezier.clear();
      return false;
    }
    for (int32_t k = 1; k <= n; ++k) {
      TPoint r;
      foundation::PointBezier(p[0], p[1], p[2], p[3], static_cast<float>(k) / static_cast<float>(n), r);
      if (r != CourbeBezier.back().PointLoc()) CourbeBezier.emplace_back(r);
    }
  }
  CourbeBezier.emplace_back(PointsList.back().PointLoc());
  return true;
}

void TDessinLigne::MajCourbeBezier() {
  CourbeBezier.clear();
  if (EstLissee() && CalculeCourbeBezier()) return;
  CourbeBezier.assign(PointsList.begin(), PointsList.end());
}

void TDessinLigne::EnveloppeLissage() {
  pixels_.clear();
  for (const TPointDeBase& p : PointsList) pixels_.push_back(p.PointLoc());
  CheminBezier(pixels_, chemin_);
  for (const TPoint& p : chemin_) {
    TRect r;
    foundation::UnionRectY(EnvelRect, {p.X, p.Y + 1, p.X + 1, p.Y}, r);
    EnvelRect = r;
  }
}

void TDessinLigne::CalculeEnveloppe() {
  if (!EnveloppeModifiee) return;
  if (PointsList.size() > 2 && StyleLisse()) EnveloppeLissage();
  EnveloppeModifiee = false;
}

TPointTopo TDessinLigne::PointPerp(const TPointTopo& UnPtLoc, int& iPt) const {
  TPointTopo resultat = TDessinBasique::PointPerp(UnPtLoc, iPt);
  if (iPt < 1 || !StyleLisse()) return resultat;
  std::vector<TPoint> ancres;
  ancres.reserve(PointsList.size());
  for (const TPointDeBase& p : PointsList) ancres.push_back(p.PointLoc());
  std::vector<TPoint> chemin;
  CheminBezier(ancres, chemin);
  const size_t debut = 3 * static_cast<size_t>(iPt - 1);
  double dMin = foundation::ValeurIndefiniePositive;
  TPointTopo pied;
  bool trouve = false;
  for (size_t j = debut; j < debut + 3 && j + 1 < chemin.size(); ++j)
    trouve = PiedSurSegment(PtTopo(chemin[j]), PtTopo(chemin[j + 1]), UnPtLoc, dMin, pied) || trouve;
  return trouve ? pied : resultat;
}

// --- CibleCanvas ---------------------------------------------------------------------

void CibleCanvas::Trait(const TPointTopo& A, const TPointTopo& B) {
  canvas_.MoveTo(Arrondi(A.X), Arrondi(A.Y));
  canvas_.LineTo(Arrondi(B.X), Arrondi(B.Y));
}

void CibleCanvas::Polygone(std::span<const TPointTopo> sommets, bool plein) {
  if (sommets.empty()) return;
  points_.clear();
  for (const TPointTopo& p : sommets) points_.push_back({Arrondi(p.X), Arrondi(p.Y)});
  canvas_.Brush.Style = platform::BrushStyle::Solid;
  canvas_.Brush.Color = canvas_.Pen.Color;
  if (plein) {
    canvas_.Polygon(points_);
  } else {
    points_.push_back(points_.front());
    canvas_.Polyline(points_);
  }
}

// --- TDessinCercle, TDessinArc ---------------------------------------------------------

void TDessinCercle::DessineCetObjet(platform::Canvas& canvas) {
  if (PointsList.empty()) return;
  const TPointDeBase& c = PointsList[0];
  if (PointsList.size() == 1) {
    canvas.MoveTo(c.XVue, c.YVue);
    return;
  }
  const int32_t r = Arrondi(foundation::DistancePoints(c.PtVue(), PointsList[1].PtVue()));
  canvas.Ellipse(c.XVue - r, c.YVue - r, c.XVue + r, c.YVue + r);
}

void TDessinCercle::DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info) {
  TDessinBasique::DistanceObjet(XPt, YPt, info);
  if (PointsList.size() < 2) return;
  const TPoint curseur = foundation::EcranVersDessin({XPt, YPt});
  const double rayon = foundation::DistancePoints(PointsList[0].PointLoc(), PointsList[1].PointLoc());
  info.D = foundation::DistancePoints(curseur, PointsList[0].PointLoc()) - rayon;
}

bool CentreCercle3Points(const TPointTopo& A, const TPointTopo& B, const TPointTopo& C, TPointTopo& centre) {
  const double bx = B.X - A.X, by = B.Y - A.Y;
  const double cx = C.X - A.X, cy = C.Y - A.Y;
  const double d = 2 * (bx * cy - by * cx);
  const double echelle = std::max({std::abs(bx), std::abs(by), std::abs(cx), std::abs(cy)});
  if (echelle == 0 || std::abs(d) <= 1e-12 * echelle * echelle) return false;
  const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
  centre = foundation::PtTopoXY(A.X + (cy * b2 - by * c2) / d, A.Y + (bx * c2 - cx * b2) / d);
  return std::isfinite(centre.X) && std::isfinite(centre.Y);
}

void TDessinArc::DessineCetObjet(platform::Canvas& canvas) {
  if (PointsList.empty()) return;
  const auto polyligne = [&] {
    canvas.MoveTo(PointsList[0].XVue, PointsList[0].YVue);
    for (size_t i = 1; i < PointsList.size() && i < 3; ++i) canvas.LineTo(PointsList[i].XVue, PointsList[i].YVue);
  };
  if (PointsList.size() < 3 ||
      !CentreCercle3Points(PointsList[0].PTopoLoc(), PointsList[1].PTopoLoc(), PointsList[2].PTopoLoc(), PtCentre)) {
    polyligne();
    return;
  }
  Rayon = foundation::DistanceXY(PointsList[0].PTopoLoc(), PtCentre);
  const TPoint c = PointVueDessin(Arrondi(PtCentre.X), Arrondi(PtCentre.Y));
  const TPoint p0 = PointsList[0].PtVue(), p1 = PointsList[1].PtVue(), p2 = PointsList[2].PtVue();
  const int32_t r = Arrondi(foundation::DistancePoints(p0, c));
  // The canvas draws counter-clockwise on the screen (Y down) from the start
  // radial to the end radial: start at the end point whose way round passes
  // through the middle point.
  const auto angle = [&](const TPoint& p) {
    return std::atan2(-static_cast<double>(p.Y - c.Y), static_cast<double>(p.X - c.X));
  };
  const double a0 = angle(p0);
  const bool depuisDebut = foundation::NormaliseAngle(angle(p1) - a0) <= foundation::NormaliseAngle(angle(p2) - a0);
  const TPoint debut = depuisDebut ? p0 : p2, fin = depuisDebut ? p2 : p0;
  if (ObjetMotif != nullptr && ObjetMotif->estFerme())
    canvas.Chord(c.X - r, c.Y - r, c.X + r, c.Y + r, debut.X, debut.Y, fin.X, fin.Y);
  else
    canvas.Arc(c.X - r, c.Y - r, c.X + r, c.Y + r, debut.X, debut.Y, fin.X, fin.Y);
}

}  // namespace drawing
