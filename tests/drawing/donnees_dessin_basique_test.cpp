// Cave drawings and offset parts: merge, moves and copies between drawings,
// recomputation with cross sections and displaced parts, pruning, older
// records, the .CFG walk and mirroring.
#include <gtest/gtest.h>

#include <numbers>

#include "drawing/donnees_dessin_basique.h"
#include "drawing/ports_dessin.h"
#include "tests/drawing/outils_dessin.h"
#include "tests/drawing/outils_motifs.h"
#include "tests/support/dossier_temp.h"

namespace {

using namespace testdessin;
using foundation::TFluxMemoire;

constexpr double kPi = std::numbers::pi;

std::string Fixture(const std::string& nom) {
  return testsupport::LitOctets(std::string(GRAVELUNE_SOURCE_DIR) + "/tests/drawing/fixtures/" + nom);
}

class DessinCavite : public ::testing::Test {
 protected:
  DessinCavite() {
    reseau.Station(reseau.Cavites.First(), "E1", 0, 0, 100);
    cave = reseau.Cavite("A");
    reseau.Station(cave, "1", 0, 10);
    reseau.Station(cave, "2", 10, 10);
    reseau.Station(cave, "3", 10, 25);
    v[0] = reseau.Visee(cave, "E1", "1");
    v[1] = reseau.Visee(cave, "1", "2");
    v[2] = reseau.Visee(cave, "2", "3");
    reseau.PrepareDocument();
    dessin.DefViseesDeRef(&cave->Visees);
    Dessin().CaviteDessinCourante = cave;
  }

  TObjetDonneesBasique* LigneDe(TDonneesDessinBasique& d, std::initializer_list<std::pair<double, double>> pts) {
    return Ligne(d.ListeDonneesDessin, pts);
  }

  std::unique_ptr<TDonneesCoupe> Coupe(TVisee* visee) {
    auto c = std::make_unique<TDonneesCoupe>();
    c->PointDeCoupe->VisRefDessin = visee;
    c->PointPosition->VisRefDessin = visee;
    c->PointPosition->LHab = 5;
    return c;
  }

  Contexte contexte;
  Reseau reseau;
  TCavite* cave = nullptr;
  TVisee* v[3] = {};
  TDonneesDessinBasique dessin;
};

TEST_F(DessinCavite, MergeIntoAnotherCaveDrawing) {
  struct Case {
    const char* nom;
    bool coupesSource, coupesDest;
    int32_t echelleSource, echelleDest;
    double coeffAttendu;
    int32_t echelleAttendue;
  };
  const Case cases[] = {
      {"no sections either side keeps the destination's coefficient", false, false, -1, -1, 2.0, -1},
      {"sections only in the source give theirs", true, false, -1, 500, 3.0, 500},
      {"sections on both sides keep the destination's", true, true, 500, -1, 2.0, 500},
      {"a set scale is kept", false, false, 250, 500, 2.0, 500},
  };
  for (const Case& c : cases) {
    TDonneesDessinBasique source, destination;
    source.CoeffDessinCoupes = 3.0;
    destination.CoeffDessinCoupes = 2.0;
    source.EchelleDessin = c.echelleSource;
    destination.EchelleDessin = c.echelleDest;
    if (c.coupesSource) source.ListeCoupes.Add(Coupe(v[1]));
    if (c.coupesDest) destination.ListeCoupes.Add(Coupe(v[1]));
    LigneDe(source, {{1, 11}, {5, 11}});
    source.ListeEcarts.Add(std::make_unique<TDonneesEcart>());
    source.AjouteDessinCavite(destination);
    EXPECT_EQ(destination.CoeffDessinCoupes, c.coeffAttendu) << c.nom;
    EXPECT_EQ(destination.EchelleDessin, c.echelleAttendue) << c.nom;
    EXPECT_TRUE(source.DessinVide()) << c.nom;
    EXPECT_EQ(destination.ListeDonneesDessin.LesMultiPoints.Count(), 1) << c.nom;
    EXPECT_EQ(destination.ListeDonneesDessin.LesMultiPoints.First()->ListeDonneesProprio,
              &destination.ListeDonneesDessin);
    ASSERT_EQ(destination.ListeEcarts.Count(), 1) << c.nom;
    EXPECT_EQ(destination.UnEcart(0)->Proprio, &destination);
  }
}

TEST_F(DessinCavite, RecomputationPlacesSectionsRelativelyAndOffsetPartsDisplaced) {
  LigneDe(dessin, {{1, 11}, {5, 11}});
  auto c = Coupe(v[1]);
  c->PointPosition->AngleHab = 0;  // 5 m along shot 1-2: (5, 10)
  auto e = std::make_unique<TObjetDonneesBasique>();
  e->AjoutePointDessin(false, 0, 0)->LHab = 0;
  TPointDessin* p = e->AjoutePointDessin(false, 0, 0);
  p->LHab = 1;
  p->AngleHab = kPi / 2;
  c->AjouteDonneesDessin(std::move(e));
  TDonneesCoupe* coupe = dessin.ListeCoupes.Add(std::move(c));
  auto partie = std::make_unique<TDonneesEcart>();
  partie->ViseesEcart.Add(v[1]);
  partie->PositX = 100;
  partie->PositY = -50;
  TObjetDonneesBasique* deplacee = LigneDe(*partie, {{2, 11}, {6, 11}});
  dessin.ListeEcarts.Add(std::move(partie));
  dessin.CoeffDessinCoupes = 2;
  {
    GardeValeur<double> coeff(Dessin().CoeffRelatif, 2.0);
    dessin.CalculeDessin();
  }
  EXPECT_EQ(coupe->LeCoeffDessinCoupe, 2);
  const TObjetDonneesBasique* l = coupe->LesMultiPoints.First();
  EXPECT_NEAR(l->LePointDessin(1)->Xhab, 5 + 2, 1e-9);
  EXPECT_NEAR(l->LePointDessin(1)->Yhab, 10, 1e-9);
  EXPECT_NEAR(deplacee->LePointDessin(0)->Xhab, 102, 1e-9);
  EXPECT_NEAR(deplacee->LePointDessin(0)->Yhab, -39, 1e-9);
  EXPECT_EQ(Dessin().DecalageDessinX, 0);
  EXPECT_NEAR(dessin.ListeDonneesDessin.LesMultiPoints.First()->LePointDessin(0)->Xhab, 1, 1e-9);
  EXPECT_FALSE(Dessin().CalculRelatif);
}

TEST_F(DessinCavite, PruningDropsSectionsAndOffsetPartsWhoseShotsWentEvenWithElements) {
  dessin.ListeCoupes.Add(Coupe(v[2]));
  dessin.ListeCoupes.Add(Coupe(v[1]));
  auto partie = std::make_unique<TDonneesEcart>();
  partie->ViseesEcart.Add(v[2]);
  LigneDe(*partie, {{2, 11}, {6, 11}});
  dessin.ListeEcarts.Add(std::move(partie));
  auto autre = std::make_unique<TDonneesEcart>();
  autre->ViseesEcart.Add(v[1]);
  autre->ViseesEcart.Add(v[2]);
  LigneDe(*autre, {{2, 11}, {6, 11}});
  TDonneesEcart* reste = dessin.ListeEcarts.Add(std::move(autre));
  v[2]->AEffacer = true;
  dessin.EffaceObjetsSansPoints();
  ASSERT_EQ(dessin.ListeCoupes.Count(), 1);
  EXPECT_EQ(dessin.UneCoupe(0)->PointDeCoupe->VisRefDessin, v[1]);
  ASSERT_EQ(dessin.ListeEcarts.Count(), 1);
  EXPECT_EQ(dessin.UnEcart(0), reste);
  EXPECT_EQ(reste->ViseesEcart.Visees, std::vector<TVisee*>{v[1]});
}

TEST_F(DessinCavite, OffsetPartScalingAboutItsCentre) {
  TDonneesEcart partie;
  partie.CentreEcart = foundation::PtTopoXY(1000, 1000);
  for (const auto& [coeff, x, y] : {std::tuple{1.0, 3000, -500}, std::tuple{0.5, 2000, 250}}) {
    partie.CoeffDessinEcart = coeff;
    foundation::TPoint p{3000, -500};
    partie.CalculePointsTransfo(p);
    EXPECT_EQ(p.X, x) << coeff;
    EXPECT_EQ(p.Y, y) << coeff;
  }
}

TEST_F(DessinCavite, Level205OffsetPartTakesTheConfiguredWatermarkColour) {
  Dessin().CouleurFiligrane = 0x123456;
  TFluxMemoire f(Fixture("ecart_205.bin"));
  testmotifs::Niveau n(205);
  TDonneesEcart partie;
  ASSERT_TRUE(partie.LitObjet(f));
  EXPECT_EQ(f.Restant(), 0u);
  EXPECT_EQ(partie.CouleurFiligr, 0x123456u);
  EXPECT_EQ(partie.ViseesEcart.Visees, std::vector<TVisee*>{v[1]});
  EXPECT_EQ(partie.PositX, 5);
  EXPECT_EQ(partie.PositY, -3);
  EXPECT_EQ(partie.CoeffDessinEcart, 0.5);
  EXPECT_TRUE(partie.CadreEcart);
  EXPECT_EQ(partie.MargeCadre, 2);
  EXPECT_EQ(partie.TraitCadre.Design, "Cadre");
  EXPECT_EQ(partie.TraitCadre.CouleurPlume, 0xFFu);
  EXPECT_EQ(partie.TraitCadre.EpaisseurPlume, 2);
  EXPECT_EQ(partie.TraitCadre.StylePinceau, TStylePinceau::bsClear);
  EXPECT_TRUE(partie.EstEcart);
}

TEST_F(DessinCavite, Level206CrossSectionHasNoOffsets) {
  TFluxMemoire f(Fixture("coupe_206.bin"));
  testmotifs::Niveau n(206);
  TDonneesCoupe c;
  c.DecalAngle = 9;
  ASSERT_TRUE(c.LitObjet(f));
  EXPECT_EQ(f.Restant(), 0u);
  EXPECT_EQ(c.LegendeCoupe, "C1");
  EXPECT_EQ(c.legTmp, "C1");
  EXPECT_TRUE(c.CoupeInversee);
  EXPECT_EQ(c.DecalLimGauche, 0);
  EXPECT_EQ(c.DecalAngle, 0);
  EXPECT_EQ(c.DecalDesX, 0);
  EXPECT_EQ(c.TypeDeDessin, foundation::TTypeDeDessin::tddCoupe);
  EXPECT_EQ(c.PointDeCoupe->VisRefDessin, v[1]);
  EXPECT_TRUE(c.ObjetValide());
}

TEST_F(DessinCavite, MovingASelectionIntoAnOffsetPart) {
  TObjetDonneesBasique* choisie = LigneDe(dessin, {{1, 11}, {5, 11}});
  TObjetDonneesBasique* restante = LigneDe(dessin, {{1, 12}, {5, 12}});
  TListeDonneesDessin& l = dessin.ListeDonneesDessin;
  auto rempli = [&](bool selecte) {
    auto r = std::make_unique<TObjetDonneesRemplir>();
    r->ListePoly = {choisie, restante};
    r->Selecte = selecte;
    return static_cast<TObjetDonneesRemplir*>(l.AjouteDonneesDessin(std::move(r)));
  };
  TObjetDonneesRemplir* part1 = rempli(true);
  TObjetDonneesRemplir* part2 = rempli(true);
  TObjetDonneesRemplir* reste = rempli(false);
  choisie->Selecte = true;
  auto t = std::make_unique<TObjetTexte>();
  t->Selecte = true;
  l.AjouteDonneesDessin(std::move(t));
  TDonneesCoupe* coupe = dessin.ListeCoupes.Add(Coupe(v[1]));
  coupe->Selecte = true;

  TDonneesEcart partie;
  dessin.CopieDessinVersAutre(partie, true);
  EXPECT_FALSE(Dessin().CopieMemeCavite);
  TListeDonneesDessin& d = partie.ListeDonneesDessin;
  // The chosen line moves; the line that stays is cloned once for the two
  // fills that go.
  ASSERT_EQ(d.LesMultiPoints.Count(), 2);
  EXPECT_EQ(d.LesMultiPoints.UnObjet(0), choisie);
  TObjetDonneesBasique* clone = d.LesMultiPoints.UnObjet(1);
  EXPECT_NE(clone, restante);
  EXPECT_EQ(clone->LePointDessin(0)->VisRefDessin, restante->LePointDessin(0)->VisRefDessin);
  ASSERT_EQ(d.LesRemplissages.Count(), 2);
  EXPECT_EQ(d.LesRemplissages.UnObjet(0), part1);
  EXPECT_EQ(part1->ListePoly, (std::vector<TObjetDonneesBasique*>{choisie, clone}));
  EXPECT_EQ(part2->ListePoly, (std::vector<TObjetDonneesBasique*>{choisie, clone}));
  d.PourTousObjets([&](TObjetDonneesBasique& e) { EXPECT_EQ(e.ListeDonneesProprio, &d); });
  EXPECT_EQ(d.LesTextes.Count(), 1);
  EXPECT_EQ(partie.ListeCoupes.First(), coupe);
  // What stays keeps only what it still holds.
  EXPECT_EQ(l.LesMultiPoints.Count(), 1);
  EXPECT_EQ(l.LesRemplissages.First(), reste);
  EXPECT_EQ(reste->ListePoly, std::vector<TObjetDonneesBasique*>{restante});
  EXPECT_TRUE(l.LesTextes.Vide());
  EXPECT_TRUE(dessin.ListeCoupes.Vide());
}

TEST_F(DessinCavite, CopyingIntoANewDrawing) {
  dessin.EchelleDessin = 250;
  LigneDe(dessin, {{1, 11}, {5, 11}});
  auto c = Coupe(v[1]);
  c->LegendeCoupe = "S";
  c->DecalAngle = 0.5;
  auto e = std::make_unique<TObjetDonneesBasique>();
  e->AjoutePointDessin(false, 0, 0)->LHab = 1;
  e->AjoutePointDessin(false, 0, 0)->LHab = 2;
  c->AjouteDonneesDessin(std::move(e));
  TDonneesCoupe* source = dessin.ListeCoupes.Add(std::move(c));
  auto partie = std::make_unique<TDonneesEcart>();
  partie->ViseesEcart.Add(v[1]);
  partie->PositX = 7;
  partie->CadreEcart = true;
  partie->TraitCadre.Design = "Cadre rouge";
  auto imbriquee = std::make_unique<TDonneesEcart>();
  partie->ListeEcarts.Add(std::move(imbriquee));
  LigneDe(*partie, {{2, 11}, {6, 11}});
  dessin.ListeEcarts.Add(std::move(partie));

  TDonneesDessinBasique nouveau;
  nouveau.DefViseesDeRef(&cave->Visees);
  dessin.CopieDessinVersNouveau(nouveau);
  EXPECT_FALSE(Dessin().CopieMemeCavite);
  EXPECT_FALSE(Dessin().CalculRelatif);
  EXPECT_EQ(nouveau.EchelleDessin, 250);
  EXPECT_EQ(nouveau.ListeDonneesDessin.LesMultiPoints.Count(), 1);
  ASSERT_EQ(nouveau.ListeCoupes.Count(), 1);
  const TDonneesCoupe* copie = nouveau.UneCoupe(0);
  EXPECT_EQ(source->EquivCoupe, copie);
  EXPECT_EQ(copie->LegendeCoupe, "S");
  EXPECT_EQ(copie->DecalAngle, 0.5);
  EXPECT_EQ(copie->PointDeCoupe->VisRefDessin, v[1]);
  ASSERT_EQ(copie->LesMultiPoints.Count(), 1);
  EXPECT_EQ(copie->LesMultiPoints.First()->Points.Count(), 2);
  ASSERT_EQ(nouveau.ListeEcarts.Count(), 1);
  const TDonneesEcart* p = nouveau.UnEcart(0);
  EXPECT_EQ(p->ViseesEcart.Visees, std::vector<TVisee*>{v[1]});
  EXPECT_EQ(p->PositX, 7);
  EXPECT_EQ(p->TraitCadre.Design, "Cadre rouge");
  EXPECT_EQ(p->ListeDonneesDessin.LesMultiPoints.Count(), 1);
  EXPECT_EQ(p->ListeDonneesDessin.LesMultiPoints.First()->ListeDonneesProprio, &p->ListeDonneesDessin);
  EXPECT_TRUE(p->ListeEcarts.Vide());
  EXPECT_EQ(p->Proprio, &nouveau);
}

// A display configuration that writes its number, or fails.
class ConfigNumerotee : public TConfigDessin {
 public:
  ConfigNumerotee(int n, std::vector<int>& journal, const int& echec) : n_(n), journal_(journal), echec_(echec) {}
  bool EcritObjet(foundation::TFlux& f) override {
    journal_.push_back(n_);
    return n_ != echec_ && f.EcritInteger(n_);
  }
  bool LitObjet(foundation::TFlux& f) override {
    int32_t lu = -1;
    journal_.push_back(n_);
    return f.LitInteger(lu) && lu == n_;
  }
  void ChangeProjectionConfig(const std::string&, int32_t, const std::string&, int32_t) override {}

 private:
  int n_;
  std::vector<int>& journal_;
  const int& echec_;
};

TEST_F(DessinCavite, ConfigurationWalkOfTheDrawingAndItsOffsetParts) {
  std::vector<int> journal;
  int echec = -1, numero = 0;
  GardePortsDonnees ports;
  PortsDonnees().CreeConfig = [&] { return std::make_unique<ConfigNumerotee>(numero++, journal, echec); };
  TDonneesDessinBasique d;  // 0
  TDonneesEcart* p1 = d.ListeEcarts.Add(std::make_unique<TDonneesEcart>());  // 1 (its ConfigEcart 2)
  p1->ListeEcarts.Add(std::make_unique<TDonneesEcart>());                     // 3, 4
  d.ListeEcarts.Add(std::make_unique<TDonneesEcart>());                       // 5, 6
  TFluxMemoire f;
  ASSERT_TRUE(d.EcritConfig(f));
  EXPECT_EQ(journal, (std::vector<int>{0, 1, 3, 5}));
  journal.clear();
  f.PlaceA(0);
  ASSERT_TRUE(d.LitConfig(f));
  EXPECT_EQ(journal, (std::vector<int>{0, 1, 3, 5}));
  journal.clear();
  echec = 3;
  TFluxMemoire g;
  EXPECT_FALSE(d.EcritConfig(g));
  EXPECT_EQ(journal, (std::vector<int>{0, 1, 3}));
}

TEST_F(DessinCavite, MirroringAfterAnElevationReversalAndItsUndo) {
  TObjetDonneesBasique* l = LigneDe(dessin, {{6, 11}, {7, 11}});
  ASSERT_EQ(l->LePointDessin(0)->VisRefDessin, v[1]);
  TDonneesCoupe* c = dessin.ListeCoupes.Add(Coupe(v[1]));
  c->PointDeCoupe->AngleHab = 1;
  c->DecalAngle = 0.25;
  const double a0 = l->LePointDessin(0)->AngleHab;
  dessin.SauveAnglesDessinTout();
  v[1]->Modifiee = true;
  dessin.InverseDessinTout();
  EXPECT_NEAR(l->LePointDessin(0)->AngleHab, foundation::NormaliseAngle(-a0), 1e-12);
  EXPECT_NEAR(c->PointDeCoupe->AngleHab, 2 * kPi - 1, 1e-12);
  EXPECT_EQ(c->DecalAngle, -0.25);
  EXPECT_TRUE(c->CoupeInversee);
  dessin.RestaureAnglesDessinTout();
  EXPECT_EQ(l->LePointDessin(0)->AngleHab, a0);
  EXPECT_EQ(c->PointDeCoupe->AngleHab, 1);
  EXPECT_FALSE(c->CoupeInversee);
}

TEST_F(DessinCavite, WatermarkColourChangeReachesOnlyDirectParts) {
  Dessin().CouleurFiligrane = 0x00FF00;
  TDonneesEcart* p = dessin.ListeEcarts.Add(std::make_unique<TDonneesEcart>());
  TDonneesEcart* q = dessin.ListeEcarts.Add(std::make_unique<TDonneesEcart>());
  q->CouleurFiligr = 0x0000FF;
  TDonneesEcart* imbriquee = p->ListeEcarts.Add(std::make_unique<TDonneesEcart>());
  dessin.ChangeCouleurFiligr(0xFFFFFF);
  EXPECT_EQ(p->CouleurFiligr, 0x00FF00u);
  EXPECT_EQ(q->CouleurFiligr, 0x0000FFu);
  EXPECT_EQ(imbriquee->CouleurFiligr, 0xFFFFFFu);
}

TEST_F(DessinCavite, DeeplyNestedOffsetPartsFailCleanly) {
  // Each level opens one more offset part; far past any real drawing.
  TFluxMemoire f;
  auto dessinVide = [&](int32_t parties) {
    for (int i = 0; i < 4; ++i) f.EcritInteger(0);
    f.EcritOctet(0);
    f.EcritInteger(-1);
    f.EcritInteger(0);
    f.EcritReal(1);
    f.EcritOctet(1);
    f.EcritReal(-1000);
    f.EcritInteger(parties);
  };
  for (int i = 0; i < 100000; ++i) dessinVide(1);
  f.PlaceA(0);
  TDonneesDessinBasique d;
  EXPECT_FALSE(d.LitObjet(f));
}

}  // namespace
