#include "views/echelle_v_symb.h"

#include <cmath>
#include <string>

#include "drawing/objet_dessin.h"
#include "drawing/style_canvas.h"
#include "foundation/arrondi.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"

namespace views {

using foundation::Arrondi;

tEchelleVSymb::tEchelleVSymb(TEchelleVert* echelle) : UneEchV(echelle) {
  const int32_t L = echelle ? echelle->Longueur : 0, W = echelle ? echelle->Largeur : 0;
  PtsDef = {foundation::TPoint{0, 0}, foundation::TPoint{0, L}, foundation::TPoint{W, L}, foundation::TPoint{W, 0}};
  PtBase = foundation::PtTopoXY(0, 0);
  PtExtrem = foundation::PtTopoXY(Arrondi(W / 2.0), L);
}

double tEchelleVSymb::AltitudeAffichee(double v) const {
  const TListeEchVert* l = UneEchV ? UneEchV->ListeProprio : nullptr;
  if (l == nullptr || l->Absolue) return v;
  return v - l->AltiEntree;
}

void tEchelleVSymb::DessineSymbole(const foundation::TPointTopo& PtDeb, const foundation::TPointTopo& PtFin,
                                   platform::Canvas& canvas) {
  const auto& imp = foundation::Impression();
  const bool impression = imp.EnImpression;
  foundation::TPoint a{Arrondi(PtDeb.X), Arrondi(PtDeb.Y)}, b{Arrondi(PtFin.X), Arrondi(PtFin.Y)};
  if (!impression) {
    a = drawing::PointVueDessin(a.X, a.Y);
    b = drawing::PointVueDessin(b.X, b.Y);
  }
  drawing::GardeStyleCanvas garde(canvas);
  canvas.Pen = {platform::kBlack, impression ? 3 : 2, platform::PenStyle::Solid, platform::PenMode::Copy};
  canvas.MoveTo(a.X, a.Y);
  canvas.LineTo(b.X, b.Y);
  const TListeEchVert* l = UneEchV ? UneEchV->ListeProprio : nullptr;
  if (UneEchV == nullptr || l == nullptr || l->PasEchelle == 0 || a.Y == b.Y) return;
  const int32_t pas = l->PasEchelle;
  canvas.Font.Name = "Arial";
  canvas.Font.Height = 0;
  canvas.Font.Escapement = 0;
  canvas.Font.Style = 0;
  canvas.Font.Color = canvas.Pen.Color;
  canvas.Font.Size = impression ? Arrondi(8 * imp.ResolutionPrn / 96) : 8;
  canvas.Brush.Style = platform::BrushStyle::Clear;
  const double vH = AltitudeAffichee(UneEchV->YHReel), vB = AltitudeAffichee(UneEchV->YBReel);
  int32_t yH = 0, yB = 0;
  if (!impression) {
    yH = foundation::XYVersEcran(0, Arrondi(UneEchV->RefAltiH)).Y;
    yB = foundation::XYVersEcran(0, Arrondi(UneEchV->RefAltiB)).Y;
  }
  const double ecartReel = UneEchV->YHReel - UneEchV->YBReel;
  if (!impression && (ecartReel == 0 || yH == yB)) return;
  const int32_t haut = std::min(a.Y, b.Y), bas = std::max(a.Y, b.Y);
  const int32_t demiN = Arrondi(canvas.TextHeight("N") / 2.0);
  const foundation::TParamsImprimante params = imp.ParamsImprimante();
  // At most one tick per pixel of the line, and a bounded walk.
  int64_t reste = static_cast<int64_t>(bas - haut) + 2;
  int64_t pasRestants = 1000000;
  for (double v = static_cast<double>(pas) * std::trunc(std::round(vB) / pas); v < vH && reste > 0 && pasRestants > 0;
       v += pas, --pasRestants) {
    const int32_t y = impression ? foundation::YVersImprimante(vH - v, params)
                                 : yH - Arrondi((v - vB) / (ecartReel / (yH - yB)));
    if (y <= haut || y >= bas) continue;
    --reste;
    const std::string valeur = std::to_string(Arrondi(v));
    if (UneEchV->ChiffreDr) {
      canvas.MoveTo(a.X, y);
      canvas.LineTo(a.X + 5, y);
      canvas.TextOut(a.X + 10, y - demiN, valeur);
    } else {
      canvas.MoveTo(a.X, y);
      canvas.LineTo(a.X - 5, y);
      canvas.TextOut(a.X - 10 - canvas.TextWidth(valeur), y - demiN, valeur);
    }
  }
  Larg = std::abs(b.X - a.X);
  Haut = bas - haut;
}

}  // namespace views
