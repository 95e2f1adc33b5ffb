// The stations' wall, ceiling and floor points of a computed cave: square to
// the shots where the survey goes straight on or ends, on the bisector where
// it turns, default dimensions while the 3D view is open, side branches left
// out; and the plan computation handing the cave over to its drawing data.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "tests/survey/reseau_calcul.h"

using namespace survey;
using testsurvey::ReseauCalcul;

namespace {

constexpr double Pi = std::numbers::pi;
const double R2 = std::sqrt(0.5);

void Dimensionne(TPointSpeleo* p, double g, double d, double h, double b) {
  p->LargeurGA = g;
  p->LargeurDR = d;
  p->HauteurSup = h;
  p->HauteurInf = b;
}

void AttendMurs(const TPointSpeleo* p, double xg, double yg, double xd, double yd) {
  SCOPED_TRACE(p->DesignPTopo);
  EXPECT_NEAR(p->XG, xg, 1e-9);
  EXPECT_NEAR(p->YG, yg, 1e-9);
  EXPECT_NEAR(p->XD, xd, 1e-9);
  EXPECT_NEAR(p->YD, yd, 1e-9);
}

}  // namespace

// E (surface) -> 1 -> 2 east, then 2 -> 3 south: a right-angle turn to the
// right at 2.
TEST(DessinCavite, DroitPuisVirageADroite) {
  ReseauCalcul n;
  n.Surface("E", 0, 0, 100);
  TCavite* c = n.Cavite("Grotte");
  n.Visee(c, "E", "1", 90, 0, 10);
  n.Visee(c, "1", "2", 90, 0, 10);
  TVisee* dernier = n.Visee(c, "2", "3", 180, 0, 10);
  dernier->SensDessinCoupeOr = -1;
  for (const char* nom : {"1", "2", "3"}) Dimensionne(n.Station(c, nom), 1, 2, 3, 4);
  n.Regenere();
  n.R().CalculeReseau();
  n.Station(c, "E")->SLAffichee = 99;
  c->CalculeDessinCav();

  const TPointSpeleo* p1 = n.Station(c, "1");
  const TPointSpeleo* p2 = n.Station(c, "2");
  const TPointSpeleo* p3 = n.Station(c, "3");
  ASSERT_NEAR(p2->X, 20, 1e-9);
  ASSERT_NEAR(p3->Y, -10, 1e-9);
  // Straight on at 1: square to the shots, left to the north.
  AttendMurs(p1, 10, 1, 10, -2);
  // The turn at 2: left on the outer side (north-east), right on the inner.
  AttendMurs(p2, 20 + R2, R2, 20 - 2 * R2, -2 * R2);
  // The end of the survey: square to the arriving shot, walking south.
  AttendMurs(p3, 21, -10, 18, -10);
  for (const TPointSpeleo* p : {p1, p2, p3}) {
    EXPECT_NEAR(p->ZH, 103, 1e-9);
    EXPECT_NEAR(p->ZB, 96, 1e-9);
  }
  EXPECT_NEAR(p1->V0Pt, Pi / 2, 1e-9);
  EXPECT_NEAR(p3->V0Pt, Pi, 1e-9);
  EXPECT_NEAR(p3->SLAffichee, 30, 1e-9);
  EXPECT_EQ(n.Station(c, "E")->SLAffichee, 0);
  EXPECT_TRUE(c->UneViseeInversee);

  dernier->SensDessinCoupeOr = 1;
  c->CalculeDessinCav();
  EXPECT_FALSE(c->UneViseeInversee) << "set afresh on every computation";
}

TEST(DessinCavite, SansDimensionsEtVue3D) {
  ReseauCalcul n;
  n.Surface("E", 0, 0, 50);
  TCavite* c = n.Cavite("Grotte");
  n.Visee(c, "E", "1", 0, 0, 10);  // north
  n.Visee(c, "1", "2", 0, 0, 10);
  // Heights without widths keep the heights; widths without heights keep
  // the widths.
  Dimensionne(n.Station(c, "2"), 0, 0, 0, 2);
  n.Regenere();
  n.R().CalculeReseau();
  const TPointSpeleo* p1 = n.Station(c, "1");
  const TPointSpeleo* p2 = n.Station(c, "2");

  c->CalculeDessinCav();
  AttendMurs(p1, 0, 10, 0, 10);
  EXPECT_EQ(p1->ZH, p1->Z);
  EXPECT_EQ(p1->ZB, p1->Z);

  Document().Vue3DActive = true;
  c->CalculeDessinCav();
  // Walking north, left is west.
  AttendMurs(p1, -0.5, 10, 0.5, 10);
  EXPECT_NEAR(p1->ZH, 51, 1e-9);
  EXPECT_NEAR(p1->ZB, 50, 1e-9);
  AttendMurs(p2, -0.5, 20, 0.5, 20);
  EXPECT_NEAR(p2->ZH, 50, 1e-9) << "a measured floor height is a measured height";
  EXPECT_NEAR(p2->ZB, 48, 1e-9);
  EXPECT_EQ(p2->LGCalc, 0) << "the defaults are not stored in the station";
}

// A branch leaving 1 northwards, the survey going on east: the branch never
// moves 1's points, whether it ends on a side station or starts a gallery.
TEST(DessinCavite, BrancheLateraleNeDeplacePasLesMurs) {
  for (const bool nouvelleGalerie : {false, true}) {
    SCOPED_TRACE(nouvelleGalerie ? "new gallery" : "side station");
    ReseauCalcul n;
    n.Surface("E", 0, 0, 0);
    TCavite* c = n.Cavite("Grotte");
    n.Visee(c, "E", "1", 90, 0, 10);
    n.Visee(c, "1", "2", 90, 0, 10);
    if (nouvelleGalerie) c->AjouteGalerie("Affluent");
    n.Visee(c, "1", "X", 0, 0, 5);
    Dimensionne(n.Station(c, "1"), 1, 1, 0, 0);
    n.Regenere();
    if (!nouvelleGalerie) n.Station(c, "X")->Annexe = 1;
    n.R().CalculeReseau();
    c->CalculeDessinCav();
    AttendMurs(n.Station(c, "1"), 10, 1, 10, -1);
  }
}

namespace {

class AnnexeComptee : public TAnnexeCavite {
 public:
  explicit AnnexeComptee(int& appels) : appels_(appels) {}
  bool EcritStylesCavite(foundation::TFlux&) override { return true; }
  bool LitStylesCavite(foundation::TFlux&) override { return true; }
  void CalculeDessinPlani() override { ++appels_; }

 private:
  int& appels_;
};

}  // namespace

TEST(DessinCavite, DessinPlaniPasseALAnnexe) {
  ReseauCalcul n;
  n.Surface("E", 0, 0, 0);
  TCavite* vide = n.Cavite("Vide");
  TCavite* c = n.Cavite("Grotte");
  n.Visee(c, "E", "1", 90, 0, 10);
  Dimensionne(n.Station(c, "1"), 1, 1, 0, 0);
  n.Regenere();
  n.R().CalculeReseau();
  int appels = 0;
  vide->Annexe = std::make_unique<AnnexeComptee>(appels);
  vide->CalculeDessinPlani();
  EXPECT_EQ(appels, 0) << "a cave without shots is not drawn";
  c->Annexe = std::make_unique<AnnexeComptee>(appels);
  c->CalculeDessinPlani();
  EXPECT_EQ(appels, 1);
  AttendMurs(n.Station(c, "1"), 10, 1, 10, -1);
  c->Annexe.reset();
  c->CalculeDessinPlani();  // no drawing data: the wall points only
}
