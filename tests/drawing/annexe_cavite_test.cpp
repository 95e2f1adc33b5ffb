// The drawing data of a cave: its place in the document (a two-cave fixture
// network rewritten byte for byte), the .CFG companion, sketches, the plan
// computation and the clean-up after removed stations and shots.
#include <gtest/gtest.h>

#include <random>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_motifs.h"
#include "survey/suppressions.h"
#include "tests/drawing/outils_dessin.h"
#include "tests/drawing/outils_motifs.h"
#include "tests/support/dossier_temp.h"

namespace {

using namespace testdessin;
using foundation::TFluxMemoire;

std::string Fixture(const std::string& nom) {
  return testsupport::LitOctets(std::string(GRAVELUNE_SOURCE_DIR) + "/tests/drawing/fixtures/" + nom);
}

// The network of the fixtures (fabrique_dessins.py).
class Annexe : public ::testing::Test, protected ReseauDesFixtures {
 protected:
  bool LitFixture() {
    TFluxMemoire f(Fixture("dessins_511.bin"));
    const bool ok = testdessin::Annexe(a).LitDessins(f) && testdessin::Annexe(b).LitDessins(f);
    return ok && f.Restant() == 0;
  }
};

TEST_F(Annexe, NewCaveCarriesItsDrawings) {
  TAnnexeDessinCavite* annexe = AnnexeDessin(a);
  ASSERT_TRUE(annexe);
  ASSERT_EQ(annexe->LesCoupesLong.Count(), 1);
  EXPECT_EQ(annexe->LeDessinAltiOr, annexe->UneCoupeLong(0));
  EXPECT_EQ(annexe->LeDessinAlti, annexe->LeDessinAltiOr);
  EXPECT_EQ(annexe->LeDessinAltiOr->DesignCoupe, "Coupe développée globale");
  EXPECT_EQ(annexe->LeDessinAltiOr->TypeDeDessin(), foundation::TTypeDeDessin::tddAltiOr);
  EXPECT_EQ(annexe->LeDessinPlani->ViseesDeRef().ListeCavite(), &a->Visees);
  EXPECT_TRUE(annexe->LeDessinPlani->DessinVide());
  EXPECT_EQ(annexe->EchelleParDefaut(), -1);
  annexe->UneCoupeLong(0)->EchelleDessin = 200;
  EXPECT_EQ(annexe->EchelleParDefaut(), 200);
  annexe->LeDessinPlani->EchelleDessin = 500;
  EXPECT_EQ(annexe->EchelleParDefaut(), 500);
}

TEST_F(Annexe, DocumentFixtureIsReadWhole) {
  ASSERT_TRUE(LitFixture());
  TAnnexeDessinCavite& A = testdessin::Annexe(a);
  const TListeDonneesDessin& l = A.LeDessinPlani->ListeDonneesDessin;
  EXPECT_EQ(l.LesMultiPoints.Count(), 4);
  EXPECT_EQ(l.LesRemplissages.Count(), 2);
  ASSERT_EQ(l.LesTextes.Count(), 7);
  ASSERT_EQ(l.LesSymboles.Count(), 2);
  // Every kind of survey label, on its station.
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(l.LesTextes.UnObjet(i)->TypeInfo, i - 1);
  EXPECT_EQ(l.LesTextes.UnObjet(2)->PointDeRef, reseau["2"]);
  EXPECT_EQ(l.LesTextes.UnObjet(0)->UnTexte, "Salle à manger");
  EXPECT_TRUE(l.LesTextes.UnObjet(6)->FonteTh);
  EXPECT_EQ(l.LesSymboles.UnObjet(1)->TexteSymb->UnTexte, "Siphon");
  // Points across caves and Therion styles.
  const TObjetDonneesBasique* croisee = l.LesMultiPoints.UnObjet(3);
  EXPECT_EQ(croisee->LePointDessin(1)->VisRefDessin, b->LaVisee(1));
  EXPECT_EQ(croisee->MotifDessin, Motifs().ListesMtfTherion->UnTrait(0));
  // The cross section refers to the sketch's plan section.
  ASSERT_EQ(A.DessinsPkTp.Count(), 1);
  const TDessinPkTp* croquis = A.DessinsPkTp.First();
  const TDonneesCoupe* coupe = A.LeDessinPlani->UneCoupe(0);
  EXPECT_EQ(coupe->UnDessinPkTp, croquis);
  EXPECT_EQ(coupe->UneCoupePkTp, croquis->pktpCoupesPlani.First());
  EXPECT_TRUE(coupe->CoupePkTpPlani);
  EXPECT_EQ(croquis->pktpCoupesPlani.First()->StationRef, reseau["2"]);
  EXPECT_EQ(croquis->pktpCoupesPlani.First()->UnDessinPkTp, croquis);
  EXPECT_EQ(croquis->DessinAltiRef, A.LeDessinAltiOr);
  EXPECT_EQ(croquis->pktpDessinPlani.LesMultiPoints.First()->CouleurPkTp, 3);
  EXPECT_EQ(croquis->pktpDessinPlani.LesViseesDessin.ListeCavite(), &a->Visees);
  // The offset part, its shots and its frame.
  ASSERT_EQ(A.LeDessinPlani->ListeEcarts.Count(), 1);
  const TDonneesEcart* partie = A.LeDessinPlani->UnEcart(0);
  EXPECT_EQ(partie->ViseesEcart.Visees, (std::vector<TVisee*>{a->LaVisee(1), a->LaVisee(2)}));
  EXPECT_EQ(partie->TraitCadre.Design, "Cadre");
  EXPECT_EQ(partie->ListeDonneesDessin.LesViseesDessin.ListePropre(), &partie->ViseesEcart);
  // The partial long section of the second cave has its own shots.
  const TDonneesCoupeLong* partielle = testdessin::Annexe(b).UneCoupeLong(0);
  EXPECT_TRUE(partielle->Partielle);
  EXPECT_EQ(partielle->ViseesDeRef().Count(), 1);
  EXPECT_EQ(b->LaVisee(1)->SensDessinCoupeOr, 2);
  EXPECT_FALSE(Dessin().ContexteCroquis);
}

TEST_F(Annexe, DocumentFixtureIsRewrittenByteForByte) {
  ASSERT_TRUE(LitFixture());
  testdessin::Annexe(a).AffecteLeversCroquis();
  TFluxMemoire f;
  ASSERT_TRUE(testdessin::Annexe(a).EcritDessins(f));
  ASSERT_TRUE(testdessin::Annexe(b).EcritDessins(f));
  const std::string attendu = Fixture("dessins_511.bin");
  ASSERT_EQ(f.Octets().size(), attendu.size());
  for (size_t i = 0; i < attendu.size(); ++i) ASSERT_EQ(f.Octets()[i], attendu[i]) << "byte " << i;
  // And once more from what was written.
  TFluxMemoire g(f.Octets());
  TAnnexeDessinCavite relue(*a), relue2(*b);
  ASSERT_TRUE(relue.LitDessins(g) && relue2.LitDessins(g));
  TFluxMemoire h;
  ASSERT_TRUE(relue.EcritDessins(h) && relue2.EcritDessins(h));
  EXPECT_EQ(h.Octets(), attendu);
}

// Damaged documents: every cut and many corrupted bytes are read or refused
// cleanly, never past the stream nor into a huge allocation.
TEST_F(Annexe, DamagedDrawingsFailCleanly) {
  const std::string octets = Fixture("dessins_511.bin");
  auto lit = [&](const std::string& o) {
    TFluxMemoire f(o);
    TAnnexeDessinCavite x(*a), y(*b);
    const bool ok = x.LitDessins(f) && y.LitDessins(f);
    EXPECT_FALSE(Dessin().ContexteCroquis);
    EXPECT_FALSE(Dessin().LectureSansVisees);
    return ok;
  };
  for (size_t n = 0; n < octets.size(); n += 7) EXPECT_FALSE(lit(octets.substr(0, n))) << n;
  std::mt19937 alea(11);
  std::uniform_int_distribution<size_t> ou(0, octets.size() - 1);
  std::uniform_int_distribution<int> valeur(0, 255);
  for (int i = 0; i < 1500; ++i) {
    std::string o = octets;
    for (int k = 0; k < 3; ++k) o[ou(alea)] = static_cast<char>(valeur(alea));
    lit(o);
  }
}

TEST_F(Annexe, ConfigurationCompanion) {
  ASSERT_TRUE(LitFixture());
  TAnnexeDessinCavite& A = testdessin::Annexe(a);
  TFluxMemoire f;
  ASSERT_TRUE(A.EcritConfig(f));
  // The plan drawing, its offset part, the long section: no background.
  EXPECT_EQ(f.Octets(), std::string(24, '\0'));
  f.PlaceA(0);
  ASSERT_TRUE(A.LitConfig(f, false));
  // Shifted sections hold one more configuration.
  TFluxMemoire g(std::string(32, '\0'));
  ASSERT_TRUE(A.LitConfig(g, true));
  EXPECT_EQ(g.Restant(), 0u);
  // A configuration with a background cannot be read without the background
  // model.
  TFluxMemoire h;
  h.EcritInteger(1);
  h.EcritInteger(0);
  h.PlaceA(0);
  EXPECT_FALSE(A.LitConfig(h, false));
}

TEST_F(Annexe, SketchRecordsAtAnyLevelAndTheirContext) {
  for (int32_t niveau : {221, 511}) {
    testmotifs::Niveau n(niveau);
    TFluxMemoire f(Fixture("ligne_croquis5_" + std::to_string(niveau) + ".bin"));
    GardeValeur<bool> croquis(Dessin().ContexteCroquis, true);
    TObjetDonneesBasique l;
    ASSERT_TRUE(l.LitObjet(f)) << niveau;
    EXPECT_EQ(f.Restant(), 0u) << niveau;
    EXPECT_EQ(l.CouleurPkTp, 5) << niveau;
    EXPECT_EQ(l.MotifDessin, TraitCroquis(-95)) << niveau;
    EXPECT_EQ(l.SommeN2, 4.0) << niveau;
  }
  // A sketch record cut short fails and leaves no sketch context behind.
  ASSERT_TRUE(LitFixture());
  TFluxMemoire f;
  ASSERT_TRUE(testdessin::Annexe(a).DessinsPkTp.First()->EcritObjet(f));
  TFluxMemoire court(f.Octets().substr(0, f.Octets().size() / 2));
  TDessinPkTp croquis;
  EXPECT_FALSE(croquis.LitObjet(court));
  EXPECT_FALSE(Dessin().ContexteCroquis);
}

TEST_F(Annexe, EmptySketchesGoAfterPruning) {
  TAnnexeDessinCavite& A = testdessin::Annexe(a);
  // A sketch whose only content is a text counts as empty.
  auto seul = std::make_unique<TDessinPkTp>();
  seul->pktpDessinPlani.AjouteDonneesDessin(std::make_unique<TObjetTexte>());
  EXPECT_TRUE(seul->EstDessinVide());
  A.DessinsPkTp.Add(std::move(seul));
  auto plein = std::make_unique<TDessinPkTp>();
  plein->DefViseesDeRef(&a->Visees);
  Ligne(plein->pktpDessinPlani, {{1, 11}, {5, 11}});
  EXPECT_FALSE(plein->EstDessinVide());
  TDessinPkTp* garde = A.DessinsPkTp.Add(std::move(plein));
  A.EffaceObjetsSansPoints();
  ASSERT_EQ(A.DessinsPkTp.Count(), 1);
  EXPECT_EQ(A.DessinsPkTp.First(), garde);
}

TEST_F(Annexe, RemovedStationsAndShotsLeaveNoDanglingReference) {
  ASSERT_TRUE(LitFixture());
  TAnnexeDessinCavite& A = testdessin::Annexe(a);
  // Station 2 goes through the cave model's one removal routine.
  survey::TSuppressions stations;
  stations.AjoutePoint(reseau["2"]);
  a->SupprimePoints(stations);
  const TListeDonneesDessin& l = A.LeDessinPlani->ListeDonneesDessin;
  EXPECT_EQ(l.LesTextes.UnObjet(2)->PointDeRef, nullptr);
  EXPECT_EQ(A.DessinsPkTp.First()->pktpCoupesPlani.First()->StationRef, nullptr);
  // Shot 2-3 of "Grotte A" and 10-11 of "Grotte B" go: every point tied to
  // them in either cave is detached, the entries naming them dropped.
  survey::TSuppressions visees;
  visees.AjouteVisee(a->LaVisee(2));
  visees.AjouteVisee(b->LaVisee(1));
  for (TCavite* c : reseau.Cavites) c->Annexe->Nettoie(visees);
  A.LeDessinPlani->ListeDonneesDessin.PourTousObjets([&](TObjetDonneesBasique& e) {
    for (const TPointDessin* p : e.Points) {
      EXPECT_NE(p->VisRefDessin, a->LaVisee(2));
      EXPECT_NE(p->VisRefDessin, b->LaVisee(1));
    }
  });
  EXPECT_EQ(A.LeDessinPlani->UnEcart(0)->ViseesEcart.Visees, std::vector<TVisee*>{a->LaVisee(1)});
  EXPECT_TRUE(testdessin::Annexe(b).UneCoupeLong(0)->ViseesCoupe.Vide());
  // Pruning drops what can no longer be placed.
  a->LaVisee(2)->AEffacer = true;
  A.EffaceObjetsSansPoints();
  EXPECT_EQ(l.LesMultiPoints.Count(), 2);
  for (const TObjetDonneesRemplir* r : l.LesRemplissages)
    for (const TObjetDonneesBasique* ligne : r->ListePoly) EXPECT_GE(l.LesMultiPoints.IndexOf(ligne), 0);
}

TEST_F(Annexe, PlanComputationPlacesThePlanDrawingAndSketchesInPlan) {
  ASSERT_TRUE(LitFixture());
  TAnnexeDessinCavite& A = testdessin::Annexe(a);
  a->XMinCav = 0;
  a->XMaxCav = 10;
  a->YMinCav = 0;
  a->YMaxCav = 25;
  A.LeDessinPlani->CoeffDessinCoupes = 3;
  foundation::GardeTypeDessin alti(foundation::TTypeDeDessin::tddAltiDev);
  A.CalculeDessinPlani();
  EXPECT_EQ(foundation::Vue().TypeDessinCourant, foundation::TTypeDeDessin::tddAltiDev);
  EXPECT_EQ(Dessin().CaviteDessinCourante, a);
  EXPECT_EQ(Dessin().CoeffRelatif, 3);
  // Point 0 of line 0: 1 m from E1 along E1 -> 1 at angle 0.5 (plan).
  const TPointDessin* p = A.LeDessinPlani->ListeDonneesDessin.LesMultiPoints.First()->LePointDessin(0);
  EXPECT_TRUE(p->PointOk);
  EXPECT_NEAR(p->Xhab, std::sin(0.5), 1e-9);
  EXPECT_NEAR(p->Yhab, std::cos(0.5), 1e-9);
  EXPECT_LE(Dessin().XMinDessin, 0);
  // The plan drawing's sections at its coefficient, sketch sections at 1.
  EXPECT_EQ(A.LeDessinPlani->UneCoupe(0)->LeCoeffDessinCoupe, 3);
  EXPECT_EQ(A.DessinsPkTp.First()->pktpCoupesPlani.First()->LeCoeffDessinCoupe, 1);
  EXPECT_TRUE(A.DessinsPkTp.First()->pktpDessinPlani.LesMultiPoints.First()->LePointDessin(0)->PointOk);
}

TEST_F(Annexe, OlderDocumentsLoseTheirEmptySecondLongSection) {
  TAnnexeDessinCavite& A = testdessin::Annexe(a);
  A.UneCoupeLong(0)->DesignCoupe = "Coupe orientée globale";
  A.LesCoupesLong.Add(std::make_unique<TDonneesCoupeLong>());
  A.LeDessinAlti = A.UneCoupeLong(1);
  ASSERT_TRUE(A.CorrigeCoupesAnciennes());
  ASSERT_EQ(A.LesCoupesLong.Count(), 1);
  EXPECT_EQ(A.UneCoupeLong(0)->DesignCoupe, "Coupe développée globale");
  EXPECT_EQ(A.LeDessinAlti, A.UneCoupeLong(0));
  // A second section holding a drawing stays.
  TDonneesCoupeLong* seconde = A.LesCoupesLong.Add(std::make_unique<TDonneesCoupeLong>());
  Ligne(seconde->ListeDonneesDessin, {{0, 0}, {1, 1}});
  EXPECT_FALSE(A.CorrigeCoupesAnciennes());
  EXPECT_EQ(A.LesCoupesLong.Count(), 2);
}

TEST_F(Annexe, CaveStylesInTheCaveRecord) {
  TAnnexeDessinCavite& A = testdessin::Annexe(a);
  TFluxMemoire f;
  ASSERT_TRUE(A.EcritStylesCavite(f));
  EXPECT_EQ(testmotifs::Hex(f.Octets()), "00 00");
  A.MotifDimCavite = std::make_unique<TObjetTrait>();
  A.MotifDimCavite->DesignMotif = "Parois";
  A.MotifDimCavite->EpaisseurPlume = 3;
  TFluxMemoire g;
  ASSERT_TRUE(A.EcritStylesCavite(g));
  g.PlaceA(0);
  TAnnexeDessinCavite relue(*a);
  ASSERT_TRUE(relue.LitStylesCavite(g));
  EXPECT_FALSE(relue.MotifAxeCavite);
  ASSERT_TRUE(relue.MotifDimCavite);
  EXPECT_EQ(relue.MotifDimCavite->DesignMotif, "Parois");
  EXPECT_EQ(relue.MotifDimCavite->EpaisseurPlume, 3);
  EXPECT_EQ(g.Restant(), 0u);
}

}  // namespace
