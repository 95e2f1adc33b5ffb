#include "drawing/objet_dessin.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "drawing/contexte_motifs.h"
#include "drawing/objet_donnees_basique.h"
#include "drawing/reglages_trace.h"
#include "drawing/style_canvas.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "survey/cavite.h"

namespace drawing {

using foundation::TPoint;
using foundation::TRect;

TVueDessin::TVueDessin() : vue_(VueLue()) {
  const EtatAffichage& a = AffichageLu();
  impression_ = ImpressionLue().EnImpression;
  decalageActif_ = a.DecalageActif;
  decalageVueX_ = a.DecalageVueX;
  decalageVueY_ = a.DecalageVueY;
  decalageX_ = a.DecalageX;
  decalageY_ = a.DecalageY;
}

TPoint TVueDessin::Imprimante(int32_t x, int32_t y) const {
  const EtatAffichage& a = AffichageLu();
  if (a.RepereSymbole) return {x, a.HauteurRepereSymbole - y};
  const auto& imp = ImpressionLue();
  foundation::TPointTopo sol;
  foundation::XYDessinVersPtTopo(vue_, x, y, sol);
  const foundation::TParamsImprimante params = imp.ParamsImprimante();
  return {foundation::XVersImprimante(sol.X - imp.OriginePagePrn.X, params),
          foundation::YVersImprimante(imp.OriginePagePrn.Y - sol.Y, params)};
}

TPoint PointVueDessin(int32_t x, int32_t y) { return TVueDessin()(x, y); }

// --- TPointDeBase -----------------------------------------------------------------

void TPointDeBase::FixePosition(int32_t x, int32_t y) {
  XLoc = x;
  YLoc = y;
  EnvelRect = {x - 5, y + 5, x + 5, y - 5};
}

void TPointDeBase::PointVue() {
  const TPoint p = PointVueDessin(XLoc, YLoc);
  XVue = p.X;
  YVue = p.Y;
}

foundation::TPointTopo TPointDeBase::PTopoLoc() const {
  foundation::TPointTopo p;
  p.X = p.SlH = XLoc;
  p.Y = p.Z = YLoc;
  return p;
}

double TPointDeBase::DistancePoint(int32_t XPt, int32_t YPt) const {
  return foundation::DistancePoints(foundation::EcranVersDessin({XPt, YPt}), PointLoc());
}

void TPointDeBase::DessinePoignee(platform::Canvas& canvas) const {
  canvas.FrameRect({XVue - 5, YVue - 5, XVue + 5, YVue + 5});
}

double DistanceAuSegment(const TPointDeBase& A, const TPointDeBase& B, double x, double y) {
  const double ax = A.XLoc, ay = A.YLoc;
  const double dx = B.XLoc - ax, dy = B.YLoc - ay;
  const double l2 = dx * dx + dy * dy;
  const double t = l2 == 0 ? 0 : std::clamp(((x - ax) * dx + (y - ay) * dy) / l2, 0.0, 1.0);
  return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

// --- TObjetDessin -----------------------------------------------------------------

TObjetDessin::TObjetDessin(foundation::TObjetDeListe* unObjet)
    : ObjetDonnees(unObjet),
      ObjetMotif(&Motifs().TraitObjetDefaut),
      clFiligrane(Dessin().CouleurFiligraneCourante),
      ParamCavite(Affichage().ParamCaviteCourant),
      NoObjet(++Dessin().CompteurObjets) {}

TObjetDessin::~TObjetDessin() { DelieElement(); }

void TObjetDessin::LieElement(TObjetDonneesBasique* unElement) {
  TObjetDonneesBasique*& lie = LienElement.Element;
  if (lie == unElement) return;
  if (lie != nullptr && lie->LObjetDessin == this) lie->LObjetDessin = nullptr;
  lie = unElement;
  if (unElement == nullptr) return;
  if (unElement->LObjetDessin != nullptr && unElement->LObjetDessin != this)
    unElement->LObjetDessin->LienElement.Element = nullptr;
  unElement->LObjetDessin = this;
}

void TObjetDessin::DistanceObjet(int32_t, int32_t, TInfoObjet& info) {
  info.NCav = info.NGal = -1;
  info.Pt1 = info.Pt2 = nullptr;
  info.D = -1;
  info.ObjetProche = this;
}

TRect TObjetDessin::EnvelVue() const {
  const TVueDessin vue;
  const TPoint a = vue(EnvelRect.Left, EnvelRect.Top);
  const TPoint b = vue(EnvelRect.Right, EnvelRect.Bottom);
  return {a.X, a.Y, b.X, b.Y};
}

bool TObjetDessin::EstMasque() const {
  if (EstObjetEcart && EcartDeRef != nullptr) return EcartDeRef->EstMasque();
  return ParamCavite != nullptr && !ParamCavite->CaviteAffichee;
}

bool TObjetDessin::EstCaviteSelectee() const {
  if (EstObjetEcart && EcartDeRef != nullptr) return EcartDeRef->EstCaviteSelectee();
  return ParamCavite != nullptr && ParamCavite->CaviteSelectee;
}

void TObjetDessin::AppliqueStyleObjet(platform::Canvas& canvas) {
  const EtatAffichage& a = AffichageLu();
  AppliqueTrait(canvas, ObjetMotif);
  if (a.TraceEnRouge) canvas.Pen.Color = CouleurRouge;
  if (Selecte) {
    canvas.Pen.Color = clSelecte;
    canvas.Pen.Width = 1;
    canvas.Pen.Style = platform::PenStyle::Dash;
  }
  if (EstDessinFiligrane) canvas.Brush.Color = canvas.Pen.Color = clFiligrane;
  if (a.DessinAutresCavites) canvas.Brush.Color = canvas.Pen.Color = CouleurArgent;
}

void TObjetDessin::DessineObjet(platform::Canvas& canvas) {
  const EtatAffichage& a = AffichageLu();
  if (ObjetMotif != nullptr && ObjetMotif->MotifMasque) return;
  if (EstObjetEcart && EcartDeRef != nullptr && !EcartDeRef->ADessiner()) return;
  if (EstDessinFiligrane && a.FiligranesMasques) return;
  bool assezGrand = true;
  bool visible = true;
  if (!EstElementSymbole && !a.DecalageActif) {
    CalculeEnveloppe();
    TRect inter;
    visible = foundation::IntersectionRectY(inter, EnvelRect, a.RectVisibleDessin);
    EstAffiche = visible;
    // The pixel size matters only for an object that is on screen.
    if (visible && !TailleIndifferente()) {
      const TRect r = EnvelVue();
      const int64_t l = std::max<int64_t>(1, std::llabs(static_cast<int64_t>(r.Right) - r.Left));
      const int64_t h = std::max<int64_t>(1, std::llabs(static_cast<int64_t>(r.Bottom) - r.Top));
      assezGrand = l * h > 10;
    }
  }
  if (!EstElementSymbole && CodeAffichage != TypeObjetDessin::odQuadrill && !(assezGrand && visible) &&
      !a.ToutDessiner && !a.DecalageActif)
    return;
  CalculPointsVue();
  GardeStyleCanvas garde(canvas);
  AppliqueStyleObjet(canvas);
  DessineCetObjet(canvas);
  EstAffiche = true;
  if (Selecte) {
    canvas.Brush.Color = CouleurArgent;
    DessinePoignees(canvas);
  }
}

void TObjetDessin::DessineVisuMotif(platform::Canvas& canvas, const TDefObjetTrait* vMotif) {
  const double echelle = foundation::Vue().EchelleVue;
  CalculPointsVue();
  GardeStyleCanvas garde(canvas);
  ObjetMotif = vMotif;
  AppliqueTrait(canvas, vMotif);
  if (vMotif != nullptr && vMotif->NumMotif == -1) foundation::Vue().EchelleVue = 50;
  struct RemetEchelle {
    double e;
    ~RemetEchelle() { foundation::Vue().EchelleVue = e; }
  } remet{echelle};
  DessineCetObjet(canvas);
}

std::string EntoureEspaces(std::string_view texte) {
  std::string r;
  r.reserve(texte.size() + 2);
  r += ' ';
  r += texte;
  r += ' ';
  return r;
}

}  // namespace drawing
