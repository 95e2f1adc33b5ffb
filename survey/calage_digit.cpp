#include "survey/calage_digit.h"

#include "survey/point_speleo.h"
#include "survey/ports_survey.h"

namespace survey {

using foundation::TFlux;

foundation::TPoint TCalageDigit::LePointImage(int i) const {
  const foundation::TObjetPoint* p = PointsImageDigit.UnObjet(i);
  return p ? p->LePt() : foundation::TPoint{};
}

foundation::TPointTopo TCalageDigit::LePointTerrain(int i) const { return PointsTerrain.UnPtTopo(i); }

bool TCalageDigit::EcritObjet(TFlux& f) {
  if (CalageOk) {
    if (PointZeroSpel) IndPointZero = PointZeroSpel->IndiceReseau;
    if (PointDeuxSpel) IndPointDeux = PointDeuxSpel->IndiceReseau;
  }
  ValCalage = (CalageOk ? 1 : -1) * (CoupeDigitInversee ? 10 : 1);
  const uint8_t zeros[3] = {};
  bool ok = f.EcritOctet(MethodeOrient) && f.Ecrit(zeros, 3) == 3 && f.EcritInteger(IndPointZero) &&
            f.EcritInteger(IndPointDeux) && f.EcritReal(LongueurEchelle) && f.EcritReal(Orientation) &&
            f.EcritInteger(PointZero.X) && f.EcritInteger(PointZero.Y) && f.EcritInteger(PointDeux.X) &&
            f.EcritInteger(PointDeux.Y) && f.EcritOctet(static_cast<uint8_t>(ValCalage & 0xFF)) &&
            foundation::EcritChaineA(f, NomImage) && f.EcritInteger(PointsImageDigit.Count());
  for (int i = 0; ok && i < PointsImageDigit.Count(); ++i) {
    const foundation::TObjetPoint* p = PointsImageDigit.UnObjet(i);
    ok = f.EcritInteger(static_cast<int32_t>(p->Num)) && f.EcritInteger(p->X) && f.EcritInteger(p->Y);
  }
  ok = ok && f.EcritInteger(PointsTerrain.Count());
  for (int i = 0; ok && i < PointsTerrain.Count(); ++i) {
    const foundation::TObjetTopo* p = PointsTerrain.UnObjet(i);
    ok = f.EcritInteger(static_cast<int32_t>(p->Num)) && f.EcritReal(p->X) && f.EcritReal(p->Y) &&
         f.EcritReal(p->Z) && f.EcritReal(p->SlH);
  }
  return ok;
}

bool TCalageDigit::LitObjet(TFlux& f) {
  uint8_t zeros[3], etat = 0;
  int32_t n = 0;
  bool ok = f.LitOctet(MethodeOrient) && f.Lit(zeros, 3) == 3 && f.LitInteger(IndPointZero) &&
            f.LitInteger(IndPointDeux) && f.LitReal(LongueurEchelle) && f.LitReal(Orientation) &&
            f.LitInteger(PointZero.X) && f.LitInteger(PointZero.Y) && f.LitInteger(PointDeux.X) &&
            f.LitInteger(PointDeux.Y) && f.LitOctet(etat) && foundation::LitChaineA(f, NomImage);
  if (!ok) return false;
  ValCalage = static_cast<int8_t>(etat);
  CalageOk = !NomImage.empty() && (etat == 0x01 || etat == 0x0A);
  CoupeDigitInversee = etat == 0x0A;
  PointsImageDigit.Clear();
  if (!f.LitInteger(n) || (n > 0 && !f.Contient(static_cast<uint64_t>(n), 12))) return false;
  for (int32_t i = 0; i < n; ++i) {
    auto p = std::make_unique<foundation::TObjetPoint>();
    int32_t num;
    if (!f.LitInteger(num) || !f.LitInteger(p->X) || !f.LitInteger(p->Y)) return false;
    p->Num = static_cast<uint32_t>(num);
    PointsImageDigit.Add(std::move(p));
  }
  PointsTerrain.Clear();
  if (!f.LitInteger(n) || (n > 0 && !f.Contient(static_cast<uint64_t>(n), 36))) return false;
  for (int32_t i = 0; i < n; ++i) {
    auto p = std::make_unique<foundation::TObjetTopo>();
    int32_t num;
    if (!f.LitInteger(num) || !f.LitReal(p->X) || !f.LitReal(p->Y) || !f.LitReal(p->Z) || !f.LitReal(p->SlH))
      return false;
    p->Num = static_cast<uint32_t>(num);
    PointsTerrain.Add(std::move(p));
  }
  if (CalageOk) {
    if (IndPointZero != -1) PointZeroSpel = LePointReseau(IndPointZero);
    if (IndPointDeux != -1) PointDeuxSpel = LePointReseau(IndPointDeux);
  }
  return true;
}

void TCalageDigit::ChangeProjectionCalage(const std::string& ancienSysteme, int32_t ancienFuseau,
                                          const std::string& nouveauSysteme, int32_t nouveauFuseau) {
  const auto convertit = ConversionPoints(ancienSysteme, ancienFuseau, nouveauFuseau, nouveauSysteme);
  if (!convertit) return;
  for (foundation::TObjetTopo* p : PointsTerrain) convertit(p->X, p->Y);
}

}  // namespace survey
