#include "drawing/dessin_point_surface.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "drawing/contexte_motifs.h"
#include "drawing/symbole.h"
#include "foundation/arrondi.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "survey/point_speleo.h"

namespace drawing {

using foundation::Arrondi;

namespace {

// The canvas font from a font entry.
void FonteCanvas(platform::Canvas& canvas, const TDefObjetFonte& fonte) {
  canvas.Font.Name = fonte.NomPolice;
  canvas.Font.Color = fonte.Couleur;
  canvas.Font.Size = fonte.Taille;
  canvas.Font.Height = 0;
  canvas.Font.Style = fonte.Style.Bits_();
}

}  // namespace

TDessinPointSurface::TDessinPointSurface(survey::TPointSpeleo* PtS)
    : PointCanevas(std::make_unique<TPointAxe>(nullptr, PtS)) {
  ObjetMotif = &Motifs().TraitPointsSurface;
  CodeAffichage = TypeObjetDessin::odCompos;
  EnvelRect = PointCanevas->EnvelRect;
}

double TDessinPointSurface::TailleMarque() {
  return foundation::Impression().EnImpression ? 15 : std::max(foundation::Vue().EchelleVue / 2, 3.0);
}

void TDessinPointSurface::DessineCetObjet(platform::Canvas& canvas) {
  const ContexteMotifs& motifs = Motifs();
  FonteCanvas(canvas, motifs.FonteSurface);
  const double s = TailleMarque();
  const survey::TPointSpeleo* station = PointCanevas->PointRef;
  auto* symbole = station ? dynamic_cast<TSymbSurface*>(MotifDe(station->CategorieSurface)) : nullptr;
  if (symbole != nullptr && symbole->ADuDessin()) {
    // The station's surface symbol stands for the mark.
    const auto& imp = foundation::Impression();
    const double L = imp.EnImpression ? std::max(imp.CoeffPrn * 0.05 / std::max(1, imp.EchellePrn),
                                                 2.0 * imp.EchellePrn / 1000)
                                      : foundation::LongueurEcranVersVue(2.5 * s);
    const bool alti = foundation::EstDessinAlti();
    symbole->DessineSymbSurf(foundation::PtTopoXY(alti ? station->Slh : station->X, alti ? station->ZCalc : station->Y),
                             canvas, L);
    return;
  }
  const int32_t R = 2 * Arrondi(s);
  const int32_t X = PointCanevas->XVue, Y = PointCanevas->YVue;
  if (motifs.TracerCercle) canvas.Ellipse(X - R, Y - R, X + R, Y + R);
  canvas.Ellipse(X - 1, Y - 1, X + 2, Y + 2);
  const int32_t c = Arrondi(2 * s * std::cos(std::numbers::pi / 6));
  const int32_t e = Arrondi(2 * s * std::sin(std::numbers::pi / 6));
  canvas.MoveTo(X - c, Y + e);
  canvas.LineTo(X, Y - R);
  canvas.LineTo(X + c, Y + e);
  canvas.LineTo(X - c, Y + e);
  if (!Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odNumSurf] || PointCanevas->PointRef == nullptr) return;
  canvas.Font.Color = canvas.Pen.Color;
  canvas.Font.Size = Arrondi(std::max(s * canvas.Font.Size / 4 * motifs.TailleDesign, 6.0));
  const std::string nom = " " + PointCanevas->PointRef->DesignPTopo;
  canvas.TextOut(X + R + canvas.Pen.Width, Y - Arrondi(canvas.TextHeight(nom) / 2.0), nom);
}

void TDessinPointSurface::DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info) {
  info.NCav = info.NGal = -1;
  info.Pt1 = PointCanevas.get();
  info.Pt2 = nullptr;
  info.D = PointCanevas->DistancePoint(XPt, YPt);
  info.ObjetProche = this;
}

void TDessinPointPolygo::DessineCetObjet(platform::Canvas& canvas) {
  double r = std::max(0.3 * foundation::Vue().EchelleVue, 2.0);
  if (foundation::Impression().EnImpression) r *= 5;
  const int32_t X = PointCanevas->XVue, Y = PointCanevas->YVue;
  for (const int32_t rayon : {2 * Arrondi(r), 2 * Arrondi(0.6 * r)})
    canvas.Ellipse(X - rayon, Y - rayon, X + rayon, Y + rayon);
}

}  // namespace drawing
