#include "drawing/deplacable.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "drawing/style_canvas.h"
#include "foundation/arrondi.h"
#include "foundation/chaines.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"

namespace drawing {

using foundation::Arrondi;
using foundation::TPoint;
using foundation::TPointTopo;
using platform::Canvas;

namespace {

constexpr double Deg2 = 2 * std::numbers::pi / 180;
constexpr uint32_t Violet = 0x800080;

double DistancePixels(const TPoint& a, const TPoint& b) { return foundation::DistancePoints(a, b); }

}  // namespace

// --- TDessinDeplacable -----------------------------------------------------------

TDessinDeplacable::TDessinDeplacable(const TDefObjetTrait* vMotif, foundation::TObjetDeListe* unObjet)
    : TDessinBasique(vMotif, unObjet) {}

void TDessinDeplacable::Tourne(bool Sens) { Orient += Sens ? Deg2 : -Deg2; }

void TDessinDeplacable::Dimension(bool Sens) { Long *= Sens ? 1.1 : 0.9; }

void TDessinDeplacable::InitDimensions() {
  if (PointsList.size() < 2) {
    Long = 0;
    if (!PointsList.empty()) PtCentre = PointsList[0].PTopoLoc();
  } else {
    const TPointTopo a = PointsList[0].PTopoLoc(), b = PointsList[1].PTopoLoc();
    Long = foundation::DistanceXY(a, b) / 2;
    Orient = -(foundation::AzimutXY(a, b) + std::numbers::pi / 2);
    PtCentre = foundation::PtTopoXY((a.X + b.X) / 2, (a.Y + b.Y) / 2);
  }
  EstFixe = true;
}

void TDessinDeplacable::InitObjet(int32_t Xs, int32_t Ys) {
  const TPoint c = foundation::EcranVersDessin({Xs, Ys});
  PtCentre = foundation::PtTopoXY(c.X, c.Y);
  Long = 1000;
  Orient = 0;
  AjoutePointLoc(Arrondi(c.X - Long / 2), c.Y);
  AjoutePointLoc(Arrondi(c.X + Long / 2), c.Y);
  EstFixe = false;
}

void TDessinDeplacable::Capture(int32_t Xs, int32_t Ys) {
  AncienCentre = PtCentre;
  const TPoint c = foundation::EcranVersDessin({Xs, Ys});
  DxCapt = PtCentre.X - c.X;
  DyCapt = PtCentre.Y - c.Y;
  EstFixe = false;
}

void TDessinDeplacable::Deplace(int32_t Xs, int32_t Ys) {
  const TPoint c = foundation::EcranVersDessin({Xs, Ys});
  const TPointTopo avant = PtCentre;
  PtCentre = foundation::PtTopoXY(c.X + DxCapt, c.Y + DyCapt);
  const int32_t x = Arrondi(PtCentre.X), y = Arrondi(PtCentre.Y);
  EnvelRect = {x - 5, y + 5, x + 5, y - 5};
  DeplaceX = PtCentre.X - avant.X;
  DeplaceY = PtCentre.Y - avant.Y;
}

void TDessinDeplacable::CalculePointsDeplacable() {
  while (PointsList.size() < 2) PointsList.emplace_back();
  const double c = std::cos(Orient) * Long, s = std::sin(Orient) * Long;
  PointsList[0].FixePosition(Arrondi(PtCentre.X + c), Arrondi(PtCentre.Y + s));
  PointsList[1].FixePosition(Arrondi(PtCentre.X - c), Arrondi(PtCentre.Y - s));
}

void TDessinDeplacable::DessineCetObjet(Canvas& canvas) {
  CalculePointsDeplacable();
  CalculPointsVue();
  DessineObjetDeplacable(canvas);
}

// --- TDessinRectDepl ------------------------------------------------------------------

TDessinRectDepl::TDessinRectDepl(foundation::TObjetDeListe* unObjet) : TDessinDeplacable(nullptr, unObjet) {}

bool TDessinRectDepl::EstSousCurseur(int32_t X, int32_t Y) {
  if (PointsList.size() < 3) return false;
  const TPoint a = PointsList[0].PtVue(), b = PointsList[2].PtVue();
  PointBas = {std::min(a.X, b.X) - 10, std::max(a.Y, b.Y) + 10};
  PointHaut = {std::max(a.X, b.X) + 10, std::min(a.Y, b.Y) - 10};
  return X >= PointBas.X && X <= PointHaut.X && Y >= PointHaut.Y && Y <= PointBas.Y;
}

bool TDessinRectDepl::EstPageSousCurseur(int32_t X, int32_t Y) const {
  return Capturable && const_cast<TDessinRectDepl*>(this)->EstSousCurseur(X, Y);
}

// --- TDessinEcart ---------------------------------------------------------------------

TDessinEcart::~TDessinEcart() {
  if (LienDonnees.Champ != nullptr && *LienDonnees.Champ == this) *LienDonnees.Champ = nullptr;
}

void TDessinEcart::LieDonnees(TObjetDessin*& Champ) {
  DelieDonnees(Champ);
  Champ = this;
  LienDonnees.Champ = &Champ;
}

void TDessinEcart::DelieDonnees(TObjetDessin*& Champ) {
  if (auto* ancien = dynamic_cast<TDessinEcart*>(Champ); ancien != nullptr && ancien->LienDonnees.Champ == &Champ)
    ancien->LienDonnees.Champ = nullptr;
  Champ = nullptr;
}

void TDessinEcart::Deplace(int32_t Xs, int32_t Ys) {
  TDessinDeplacable::Deplace(Xs, Ys);
  const int32_t dx = Arrondi(DeplaceX), dy = Arrondi(DeplaceY);
  for (TPointDeBase& p : PointsList) p.FixePosition(p.XLoc + dx, p.YLoc + dy);
  CalculPointsVue();
}

void TDessinEcart::DessineCetObjet(Canvas& canvas) {
  canvas.Pen.Style = platform::PenStyle::Solid;
  canvas.Pen.Width = 1;
  if (EstFixe && Encadre && !PointsList.empty()) {
    canvas.MoveTo(PointsList[0].XVue, PointsList[0].YVue);
    for (size_t i = 1; i < PointsList.size(); ++i) canvas.LineTo(PointsList[i].XVue, PointsList[i].YVue);
    canvas.LineTo(PointsList[0].XVue, PointsList[0].YVue);
  }
  if ((!EstFixe || Selecte) && PointsList.size() > 2) {
    canvas.Pen.Color = Violet;
    canvas.Brush = {platform::kWhite, platform::BrushStyle::Solid};
    const TPoint a = PointsList[0].PtVue(), b = PointsList[2].PtVue();
    canvas.Rectangle(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
  }
}

// --- TDessinCoupe ---------------------------------------------------------------------

TDessinCoupe::TDessinCoupe(foundation::TObjetDeListe* unObjet) : TDessinEcart(unObjet) {}

void TDessinCoupe::Deplace(int32_t Xs, int32_t Ys) {
  TDessinEcart::Deplace(Xs, Ys);
  const int32_t x = Arrondi(PtCentre.X), y = Arrondi(PtCentre.Y);
  EnvelRect = {x, y + HCoupe, x + LCoupe, y};
}

double FacteurFleche() {
  const auto& imp = foundation::Impression();
  if (imp.EnImpression || imp.ExportBitmap) return 22884.0 / std::max(1, imp.EchellePrn);
  return foundation::Vue().EchelleVue;
}

void TDessinCoupe::CreeDessinFleche() {
  if (PointsList.size() < 8) return;
  const double k = foundation::Vue().EchelleFontes / 1000.0;
  const double a = AngleTraitFleche;
  const double pi = std::numbers::pi;
  TPointTopo P6, P7;
  foundation::XYDessinVersPtTopo(PointsList[6].XLoc, PointsList[6].YLoc, P6);
  foundation::XYDessinVersPtTopo(PointsList[7].XLoc, PointsList[7].YLoc, P7);
  TPointTopo P6b = P6, P7b = P7;
  foundation::PointRayonne(P6, a + pi, 3 * k, false, P6b);
  foundation::PointRayonne(P7, a, 3 * k, false, P7b);
  if (!Inverse) {
    Pt0Fleche = P7;
    Pt1Fleche = P7b;
    PtBaseFleche = PtBoutFleche = P7b;
    foundation::PointRayonne(P7b, a - pi / 2, 2 * k, false, PtBaseFleche);
    foundation::PointRayonne(P7b, a - pi / 2, 4 * k, false, PtBoutFleche);
    Pt0Texte = P6;
    Pt1Texte = P6b;
    PtDessinTexte = P6b;
    foundation::PointRayonne(P6b, a + pi, 2 * k, false, PtDessinTexte);
  } else {
    Pt0Fleche = P6;
    Pt1Fleche = P6b;
    PtBaseFleche = PtBoutFleche = P6b;
    foundation::PointRayonne(P6b, a + pi / 2, 2 * k, false, PtBaseFleche);
    foundation::PointRayonne(P6b, a + pi / 2, 4 * k, false, PtBoutFleche);
    Pt0Texte = P7;
    Pt1Texte = P7b;
    PtDessinTexte = P7b;
    foundation::PointRayonne(P7b, a, 2 * k, false, PtDessinTexte);
  }
  PtDessinTexte.X += dDecalDesX;
  PtDessinTexte.Y += dDecalDesY;
  PtDessinTexte.SlH += dDecalDesX;
  PtDessinTexte.Z += dDecalDesY;
  if (foundation::EstDessinAlti()) {
    for (TPointTopo* p : {&Pt0Fleche, &Pt1Fleche, &PtBaseFleche, &PtBoutFleche, &Pt0Texte, &Pt1Texte, &PtDessinTexte})
      foundation::PtTopoVersAlti(*p);
  }
  const TPoint f = foundation::PtTopoVersDessin(Pt1Fleche), t = foundation::PtTopoVersDessin(PtDessinTexte);
  PointFleche.FixePosition(f.X, f.Y);
  PointTexte.FixePosition(t.X, t.Y);
}

namespace {

TPoint Pixel(const TPointTopo& sol) {
  const TPoint d = foundation::PtTopoVersDessin(sol);
  return PointVueDessin(d.X, d.Y);
}

}  // namespace

void TDessinCoupe::TracerFleche(Canvas& canvas) {
  const double f = FacteurFleche();
  const TPoint p0 = Pixel(Pt0Fleche), p1 = Pixel(Pt1Fleche), bout = Pixel(PtBoutFleche), base = Pixel(PtBaseFleche);
  canvas.MoveTo(p0.X, p0.Y);
  canvas.LineTo(p1.X, p1.Y);
  canvas.LineTo(bout.X, bout.Y);
  canvas.Brush.Style = platform::BrushStyle::Clear;
  const TPoint t0 = Pixel(Pt0Texte), t1 = Pixel(Pt1Texte), td = Pixel(PtDessinTexte);
  canvas.MoveTo(t0.X, t0.Y);
  canvas.LineTo(t1.X, t1.Y);
  canvas.TextOut(td.X - canvas.TextWidth(Legende), td.Y - Arrondi(canvas.TextHeight(Legende) / 2.0), Legende);
  DessinePointeFleche(bout, base, Arrondi(foundation::Vue().EchelleFontes * f / 1000 * 2), false, canvas);
}

void TDessinCoupe::DessineCoupeFixe(Canvas& canvas) {
  if (PointsList.size() < 4) {
    FADessiner = false;
    return;
  }
  const TPoint p0 = PointsList[0].PtVue(), p1 = PointsList[1].PtVue(), p2 = PointsList[2].PtVue(),
               p3 = PointsList[3].PtVue();
  FADessiner = DistancePixels(p0, p1) > 20 && DistancePixels(p1, p2) > 20;
  if (!FADessiner) return;
  const std::string etiquette = foundation::OteBlancs(Legende).empty() ? std::string() : EntoureEspaces(Legende);
  canvas.Brush = {platform::kWhite, platform::BrushStyle::Solid};
  const auto& imp = foundation::Impression();
  double facteur = foundation::Vue().EchelleVue / 3;
  if (imp.EnImpression) facteur = imp.CoeffPrn / (std::max(1, imp.EchellePrn) * 6.4 * 3);
  if (imp.ExportBitmap) facteur = 7628.0 / std::max(1, imp.EchellePrn);
  facteur *= foundation::Vue().EchelleFontes / 1000.0;
  const int32_t tailleAvant = canvas.Font.Size;
  const int32_t hauteurAvant = canvas.Font.Height;
  canvas.Font.Height = 0;
  canvas.Font.Size = Arrondi(8 * facteur);
  canvas.Font.Style |= platform::kFontItalic;
  canvas.Font.Color = canvas.Pen.Color;
  canvas.Pen.Style = DessinPktp ? platform::PenStyle::DashDotDot : platform::PenStyle::Solid;
  canvas.Pen.Width = 1;
  const bool page = imp.EnImpression || imp.ExportBitmap;
  if (page && !DessinPktp && PointsList.size() >= 8) {
    CreeDessinFleche();
    TracerFleche(canvas);
  }
  canvas.Brush = {platform::kWhite, platform::BrushStyle::Solid};
  canvas.MoveTo(p3.X, p3.Y);
  canvas.LineTo(p0.X, p0.Y);
  canvas.LineTo(p1.X, p1.Y);
  canvas.LineTo(p2.X, p2.Y);
  canvas.LineTo(p3.X, p3.Y);
  if (DessinPktp) {
    canvas.Font.Size = 10;
  } else if (!page && PointsList.size() >= 8) {
    CreeDessinFleche();
    TracerFleche(canvas);
  }
  if (!etiquette.empty() && canvas.TextWidth(etiquette) <= DistancePixels(p3, p0) - 20) {
    canvas.Brush = {platform::kWhite, platform::BrushStyle::Solid};
    canvas.TextOut(p0.X + 10, p0.Y - Arrondi(canvas.TextHeight("T") / 2.0), etiquette);
  }
  canvas.Font.Size = tailleAvant;
  canvas.Font.Height = hauteurAvant;
}

void TDessinCoupe::DessineCetObjet(Canvas& canvas) {
  if (EstFixe) {
    DessineCoupeFixe(canvas);
    return;
  }
  canvas.Pen.Color = Violet;
  canvas.Pen.Style = platform::PenStyle::Solid;
  canvas.Pen.Width = 1;
  canvas.Brush = {platform::kWhite, platform::BrushStyle::Solid};
  const int32_t x = Arrondi(PtCentre.X), y = Arrondi(PtCentre.Y);
  const TPoint a = PointVueDessin(x, y), b = PointVueDessin(x + LCoupe, y + HCoupe);
  canvas.Rectangle(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
}

// --- Arrow shapes -----------------------------------------------------------------------

void TSymboleDefini::dessine(const TPoint& PtDeb, const TPoint& PtFin, Canvas& canvas) {
  if (DistancePixels(PtDeb, PtFin) <= 5) return;
  using C = std::complex<double>;
  const C b(PtBase.X, PtBase.Y), e(PtExtrem.X, PtExtrem.Y);
  const C d(PtDeb.X, PtDeb.Y), f(PtFin.X, PtFin.Y);
  if (e == b) return;
  const C m = (f - d) / (e - b);
  PointsTrans.resize(PointsInit.size());
  for (size_t i = 0; i < PointsInit.size(); ++i) {
    const C z = d + (C(PointsInit[i].X, PointsInit[i].Y) - b) * m;
    PointsTrans[i] = {Arrondi(z.real()), Arrondi(z.imag())};
  }
  DessineSymbole(canvas);
}

void TSymboleDefini::DessineSymbole(Canvas& canvas) {
  if (PointsTrans.empty()) return;
  canvas.MoveTo(PointsTrans[0].X, PointsTrans[0].Y);
  for (size_t i = 1; i < PointsTrans.size(); ++i) canvas.LineTo(PointsTrans[i].X, PointsTrans[i].Y);
}

void TFleche::DessineSymbole(Canvas& canvas) {
  GardeStyleCanvas garde(canvas);
  canvas.Pen = {platform::kBlack, 2, platform::PenStyle::Solid, platform::PenMode::Copy};
  canvas.Brush = {platform::kBlack, platform::BrushStyle::Solid};
  std::vector<platform::Point> p;
  for (const TPoint& t : PointsTrans) p.push_back({t.X, t.Y});
  canvas.Polygon(p);
}

void TPointeFleche::init() {
  NbPt = 4;
  PointsInit = {{0, 0}, {70, -20}, {50, 0}, {70, 20}};
  PtBase = {0, 0};
  PtExtrem = {70, 0};
}

void TFlecheAjouree::DessineSymbole(Canvas& canvas) {
  if (PointsTrans.size() < 4) return;
  GardeStyleCanvas garde(canvas);
  canvas.Pen = {platform::kBlack, 1, platform::PenStyle::Solid, platform::PenMode::Copy};
  canvas.MoveTo(PointsTrans[1].X, PointsTrans[1].Y);
  canvas.LineTo(PointsTrans[0].X, PointsTrans[0].Y);
  canvas.LineTo(PointsTrans[3].X, PointsTrans[3].Y);
}

void DessinePointeFleche(const TPoint& Pointe, const TPoint& Base, int32_t Taille, bool Ajouree, Canvas& canvas) {
  if (Taille <= 5) return;
  const double d = DistancePixels(Pointe, Base);
  if (d == 0) return;
  const TPoint fin = {Arrondi(Pointe.X + (Base.X - Pointe.X) * Taille / d),
                      Arrondi(Pointe.Y + (Base.Y - Pointe.Y) * Taille / d)};
  if (Ajouree) {
    TFlecheAjouree f;
    f.dessine(Pointe, fin, canvas);
  } else {
    TPointeFleche f;
    f.dessine(Pointe, fin, canvas);
  }
}

}  // namespace drawing
