// Stations' wall, ceiling and floor points for the drawings.
#include <cmath>
#include <numbers>

#include "foundation/point_topo.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

namespace survey {

namespace {

constexpr double Pi = std::numbers::pi;

// Widths and heights the drawing uses at a station: while the 3D view is
// open, a station without widths gets 0.5 m walls and one without heights a
// 1 m ceiling.
struct Dimensions {
  double G = 0, D = 0, Haut = 0, Bas = 0;
};

Dimensions DimensionsDessin(const TPointSpeleo& p, bool vue3D) {
  Dimensions d{p.LGCalc, p.LDCalc, p.HauteurSup, p.HauteurInf};
  if (vue3D) {
    if (d.G == 0 && d.D == 0) d.G = d.D = 0.5;
    if (d.Haut == 0 && d.Bas == 0) d.Haut = 1.0;
  }
  return d;
}

void Hauteurs(TPointSpeleo& p, const Dimensions& d) {
  p.ZH = p.Z + d.Haut;
  p.ZB = p.Z - d.Bas;
}

}  // namespace

void TCavite::CalculeDessinCav() {
  if (TPointSpeleo* e = LEntree()) e->SLAffichee = 0;
  UneViseeInversee = false;
  const bool vue3D = Document().Vue3DActive;
  for (TVisee* v : Visees) {
    TPointSpeleo* O = v->PtOrigCalc;
    TPointSpeleo* P = v->PtCalc;
    if (!O || !P) continue;
    const double theta = v->AngleHoriz;
    // Half the turn from the previous shot; a straight walk gives π/2.
    double a = Pi / 2;
    if (const TVisee* prec = v->ViseePreced(); prec && !prec->ViseeNulle())
      a = foundation::NormaliseAngle(prec->AngleHoriz - theta + Pi) / 2;

    if (v->MemeGal()) {
      const Dimensions d = DimensionsDessin(*P, vue3D);
      if (!P->EstPointSurface()) P->SLAffichee = P->Slh;
      P->XG = P->X + d.G * std::cos(theta + Pi / 2);
      P->YG = P->Y + d.G * std::sin(theta + Pi / 2);
      P->XD = P->X + d.D * std::cos(theta - Pi / 2);
      P->YD = P->Y + d.D * std::sin(theta - Pi / 2);
      Hauteurs(*P, d);
      double az = std::atan2(P->X - O->X, P->Y - O->Y);
      if (az < 0) az += 2 * Pi;
      // atan2 may round a tiny negative angle up to exactly 2π.
      if (az >= 2 * Pi) az = 0;
      P->V0Pt = az;
      if (v->SensDessinCoupeOr < 0) UneViseeInversee = true;
    }

    // A shot that does not continue the walk from O in its gallery leaves
    // O's points where they are.
    if (v->ViseeNulle() && !O->EstPointSurface()) continue;
    if (P->EstAnnexe()) continue;
    if (v->GalDeLaVis() != O->GalduPt && !O->EstPointSurface()) continue;

    const Dimensions d = DimensionsDessin(*O, vue3D);
    O->XG = O->X - d.G * std::cos(theta - Pi + a);
    O->YG = O->Y - d.G * std::sin(theta - Pi + a);
    O->XD = O->X - d.D * std::cos(theta + a);
    O->YD = O->Y - d.D * std::sin(theta + a);
    Hauteurs(*O, d);
  }
}

void TCavite::CalculeDessinPlani() {
  if (!CaviteValide()) return;
  CalculeDessinCav();
  if (Annexe) Annexe->CalculeDessinPlani();
}

}  // namespace survey
