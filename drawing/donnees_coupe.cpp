#include "drawing/donnees_coupe.h"

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/croquis.h"
#include "foundation/niveau_fichier.h"
#include "survey/suppressions.h"
#include "survey/visee.h"

namespace drawing {

using foundation::TFlux;

namespace {

constexpr int32_t kNiveauDecalages = 207;
constexpr int32_t kNiveauDecalDes = 210;

}  // namespace

TDonneesCoupe::TDonneesCoupe()
    : PointDeCoupe(std::make_unique<TPointDessin>()), PointPosition(std::make_unique<TPointDessin>()) {
  TypeDeDessin = foundation::TTypeDeDessin::tddCoupe;
}

bool TDonneesCoupe::ObjetValide() const {
  for (const TPointDessin* p : {PointDeCoupe.get(), PointPosition.get()})
    if (!p || !p->VisRefDessin || p->VisRefDessin->AEffacer) return false;
  return true;
}

bool TDonneesCoupe::EstSensInverse() const {
  const survey::TVisee* v = PointDeCoupe->VisRefDessin;
  return v && v->PtCalc && v->PtCalc == v->PointStation;
}

void TDonneesCoupe::ChercheViseeDeRef(const TViseesDeRef& vViseesRef) {
  PointDeCoupe->ChercheViseeRef(vViseesRef);
  PointPosition->VisRefDessin = PointDeCoupe->VisRefDessin;
  PointPosition->CalculePositionVisee();
}

void TDonneesCoupe::CalculePoints() {
  PointPosition->CalculeHabillage();
  PointDeCoupe->CalculeHabillage();
  ContexteDessin& d = Dessin();
  GardeValeur<TPointDessin*> ref(d.PointRelatifRef, PointPosition.get());
  GardeValeur<bool> relatif(d.CalculRelatif, true);
  CalculeDessin();
}

void TDonneesCoupe::InverseSensViseeCoupeAlti() {
  const survey::TVisee* coupe = PointDeCoupe->VisRefDessin;
  if (coupe && coupe->Modifiee) {
    PointDeCoupe->AngleHab = foundation::NormaliseAngle(-PointDeCoupe->AngleHab);
    DecalAngle = -DecalAngle;
    CoupeInversee = !CoupeInversee;
  }
  const survey::TVisee* position = PointPosition->VisRefDessin;
  if (position && position->Modifiee) PointPosition->AngleHab = foundation::NormaliseAngle(-PointPosition->AngleHab);
}

void TDonneesCoupe::SauveAnglesDessinCoupe() {
  PointDeCoupe->SauveAngleHab = PointDeCoupe->AngleHab;
  PointPosition->SauveAngleHab = PointPosition->AngleHab;
  SauveCoupeInversee = CoupeInversee;
}

void TDonneesCoupe::RestaureAnglesDessinCoupe() {
  PointDeCoupe->AngleHab = PointDeCoupe->SauveAngleHab;
  PointPosition->AngleHab = PointPosition->SauveAngleHab;
  CoupeInversee = SauveCoupeInversee;
}

std::unique_ptr<TDonneesCoupe> TDonneesCoupe::CopieCoupe() {
  auto coupe = PointDeCoupe->ClonePointDessin();
  auto position = PointPosition->ClonePointDessin();
  if (!coupe || !position) return nullptr;
  auto c = std::make_unique<TDonneesCoupe>();
  CreeCopieDessin(*c);
  c->TypeDeDessin = TypeDeDessin;
  c->LegendeCoupe = LegendeCoupe;
  c->PointDeCoupe = std::move(coupe);
  c->PointPosition = std::move(position);
  c->CoupeInversee = CoupeInversee;
  // The cut line and the frame stay where the user put them.
  c->DecalLimGauche = DecalLimGauche;
  c->DecalLimDroite = DecalLimDroite;
  c->DecalAngle = DecalAngle;
  c->DecalDesX = DecalDesX;
  c->DecalDesY = DecalDesY;
  c->UnDessinPkTp = UnDessinPkTp;
  c->UneCoupePkTp = UneCoupePkTp;
  c->CoupePkTpPlani = CoupePkTpPlani;
  EquivCoupe = c.get();
  return c;
}

void TDonneesCoupe::Nettoie(const survey::TSuppressions& s) {
  TListeDonneesDessin::Nettoie(s);
  if (s.Visees().empty()) return;
  for (TPointDessin* p : {PointDeCoupe.get(), PointPosition.get()})
    if (s.ViseeSupprimee(p->VisRefDessin)) p->VisRefDessin = nullptr;
  for (TPointDessin* p : LesPointsDessin)
    if (s.ViseeSupprimee(p->VisRefDessin)) p->VisRefDessin = nullptr;
}

void TDonneesCoupe::IndexCroquis(int32_t& croquis, int32_t& coupe, int32_t& plan) const {
  croquis = coupe = plan = -1;
  if (CoupePkTp || !UnDessinPkTp) return;
  const TAnnexeDessinCavite* annexe = AnnexeDessin(Dessin().CaviteDessinCourante);
  if (!annexe) return;
  croquis = annexe->DessinsPkTp.IndexOf(UnDessinPkTp);
  if (croquis < 0) return;
  plan = CoupePkTpPlani ? 1 : 0;
  if (UneCoupePkTp)
    coupe = (CoupePkTpPlani ? UnDessinPkTp->pktpCoupesPlani : UnDessinPkTp->pktpCoupesAlti).IndexOf(UneCoupePkTp);
}

bool TDonneesCoupe::EcritObjet(TFlux& f) {
  InitES(f);
  if (!EcrisTexte(LegendeCoupe)) return false;
  if (!TListeDonneesDessin::EcritObjet(f) || !PointDeCoupe->EcritObjet(f) || !PointPosition->EcritObjet(f))
    return ResultObjet = false;
  InitES(f);
  EcrisBoolean(CoupeInversee);
  EcrisReal(DecalLimGauche);
  EcrisReal(DecalLimDroite);
  EcrisReal(DecalAngle);
  EcrisReal(DecalDesX);
  EcrisReal(DecalDesY);
  int32_t croquis, coupe, plan;
  IndexCroquis(croquis, coupe, plan);
  EcrisInteger(croquis);
  EcrisInteger(coupe);
  return EcrisInteger(plan);
}

bool TDonneesCoupe::LitObjet(TFlux& f) {
  const int32_t niveau = foundation::NiveauFichier().VersionFichierLue;
  InitES(f);
  if (!LisTexte(LegendeCoupe)) return false;
  legTmp = LegendeCoupe;
  {
    GardeValeur<bool> sansVisees(Dessin().LectureSansVisees, true);
    if (!TListeDonneesDessin::LitObjet(f)) return ResultObjet = false;
  }
  if (!PointDeCoupe->LitObjet(f) || !PointPosition->LitObjet(f)) return ResultObjet = false;
  InitES(f);
  LisBoolean(CoupeInversee);
  DecalLimGauche = DecalLimDroite = DecalAngle = DecalDesX = DecalDesY = 0;
  if (niveau >= kNiveauDecalages) {
    LisReal(DecalLimGauche);
    LisReal(DecalLimDroite);
    LisReal(DecalAngle);
  }
  if (niveau >= kNiveauDecalDes) {
    LisReal(DecalDesX);
    LisReal(DecalDesY);
  }
  int32_t croquis = -1, coupe = -1, plan = -1;
  LisInteger(croquis);
  LisInteger(coupe);
  if (!LisInteger(plan)) return false;
  UnDessinPkTp = nullptr;
  UneCoupePkTp = nullptr;
  if (croquis >= 0) {
    const TAnnexeDessinCavite* annexe = AnnexeDessin(Dessin().CaviteDessinCourante);
    UnDessinPkTp = annexe ? annexe->DessinsPkTp.UnObjet(croquis) : nullptr;
    if (!UnDessinPkTp) return ResultObjet = false;
    CoupePkTpPlani = plan == 1;
    if (coupe >= 0) {
      UneCoupePkTp = (CoupePkTpPlani ? UnDessinPkTp->pktpCoupesPlani : UnDessinPkTp->pktpCoupesAlti).UnObjet(coupe);
      if (!UneCoupePkTp) return ResultObjet = false;
    }
  }
  return ResultObjet;
}

}  // namespace drawing
