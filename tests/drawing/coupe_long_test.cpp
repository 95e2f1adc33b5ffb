// Long sections and elevations: the entry and section records at their
// levels, the upkeep of the shot list, the copies, and the computation of
// developed, oriented and projected elevations over one or two caves with
// their outlines, splay ends and drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "drawing/donnees_coupe_long.h"
#include "tests/drawing/outils_coupes.h"
#include "tests/drawing/outils_motifs.h"
#include "tests/support/dossier_temp.h"

namespace {

using namespace drawing;
using foundation::TTypeDeDessin;
using testcoupes::Calcul;
using testcoupes::TCavite;
using testcoupes::TPointSpeleo;
using testcoupes::TVisee;

constexpr double kPi = std::numbers::pi;
const double kRacine2 = std::sqrt(2.0);

std::string Fixture(const std::string& nom) {
  return testsupport::LitOctets(std::string(GRAVELUNE_SOURCE_DIR) + "/tests/drawing/fixtures/" + nom);
}

// --- Records and shot lists --------------------------------------------------------------------

// The network of the fixtures: E1 on the surface; cave A with shots 0: E1-1,
// 1: 1-2, 2: 2-3; cave B with shot 0: E1-10.
class CoupesLongues : public ::testing::Test {
 protected:
  CoupesLongues() {
    r.Station(r.Cavites.First(), "E1", 0, 0);
    a = r.Cavite("A");
    r.Station(a, "1", 0, 10);
    r.Station(a, "2", 10, 10);
    r.Station(a, "3", 10, 25);
    v[0] = r.Visee(a, "E1", "1");
    v[1] = r.Visee(a, "1", "2");
    v[2] = r.Visee(a, "2", "3");
    b = r.Cavite("B");
    r.Station(b, "10", 0, -10);
    w = r.Visee(b, "E1", "10");
    r.PrepareDocument();
  }

  testdessin::Contexte contexte;
  testdessin::Reseau r;
  TCavite* a = nullptr;
  TCavite* b = nullptr;
  TVisee* v[3] = {};
  TVisee* w = nullptr;
};

TEST_F(CoupesLongues, EntryRecordsAtTheirLevels) {
  // Below level 509 the cave is the last one read: make it A.
  survey::LectureReseau().ListesViseesLues.pop_back();
  struct Cas {
    const char* fichier;
    int32_t niveau;
    std::vector<std::pair<int, int8_t>> entrees;  // shot of A, direction
  };
  const Cas cas[] = {
      {"entree_coupe_219.bin", 219, {{2, -1}, {1, 1}}},
      {"entree_coupe_220.bin", 220, {{2, -2}}},
      {"entree_coupe_507.bin", 507, {{2, 3}}},
      {"entree_coupe_509.bin", 509, {{1, -1}}},
  };
  for (const Cas& t : cas) {
    foundation::TFluxMemoire f(Fixture(t.fichier));
    testmotifs::Niveau n(t.niveau);
    for (const auto& [visee, sens] : t.entrees) {
      TViseeCoupe e;
      ASSERT_TRUE(e.LitObjet(f)) << t.fichier;
      EXPECT_EQ(e.UneVisee, a->LaVisee(visee)) << t.fichier;
      EXPECT_EQ(e.SensVisee, sens) << t.fichier;
    }
    EXPECT_EQ(f.Restant(), 0u) << t.fichier;
  }
}

TEST_F(CoupesLongues, Level203SectionHoldsOnlyItsDrawing) {
  foundation::TFluxMemoire f(Fixture("coupe_long_203.bin"));
  testmotifs::Niveau n(203);
  TDonneesCoupeLong c;
  ASSERT_TRUE(c.LitObjet(f));
  EXPECT_EQ(f.Restant(), 0u);
  EXPECT_FALSE(c.Partielle);
  EXPECT_TRUE(c.ViseesCoupe.Vide());
  EXPECT_TRUE(c.DesignCoupe.empty());
  EXPECT_TRUE(c.MisesEnPageCoupe.Vide());
}

TEST_F(CoupesLongues, EntriesTakeTheShotsDirections) {
  TListeDonneesCoupe liste;
  liste.CaviteProprio = a;
  TDonneesCoupeLong* c = liste.AjouteDonneeCoupe(TTypeDeDessin::tddAltiOr, &a->Visees, true, "P");
  EXPECT_EQ(liste.UneDonneeCoupe(0), c);
  EXPECT_EQ(c->CavProprio, a);
  EXPECT_EQ(c->TypeDeDessin(), TTypeDeDessin::tddAltiOr);
  EXPECT_EQ(c->DesignCoupe, "P");
  // A partial section keeps its own reference shots.
  EXPECT_EQ(c->ViseesDeRef().ListeCavite(), nullptr);
  v[1]->SensDessinCoupeOr = -2;
  v[2]->SensDessinCoupeOr = 300;  // only the low byte is kept
  c->AjouteViseeCoupe(v[1]);
  c->AjouteViseeCoupe(v[2]);
  EXPECT_EQ(c->SensViseeCoupe(0), -2);
  EXPECT_EQ(c->SensViseeCoupe(1), 44);
  EXPECT_TRUE(c->ViseeExiste(v[2]));
  EXPECT_FALSE(c->ViseeExiste(v[0]));
  // Partial: the entries follow the shots, the shots the entries.
  v[1]->SensDessinCoupeOr = 3;
  c->MajListeViseesCoupe(a->Visees);
  EXPECT_EQ(c->SensViseeCoupe(0), 3);
  c->ViseesCoupe.UnObjet(0)->SensVisee = -1;
  c->MajListeViseesDeRef();
  EXPECT_EQ(v[1]->SensDessinCoupeOr, -1);
  EXPECT_EQ(c->ViseesDeRef().Count(), 2);
  // Whole: the entries are the shots not drawn forwards.
  TDonneesCoupeLong* totale = liste.AjouteDonneeCoupe(TTypeDeDessin::tddAltiOr, &a->Visees, false, "T");
  totale->AjouteViseeCoupe(v[0]);
  v[0]->SensDessinCoupeOr = 1;
  v[2]->SensDessinCoupeOr = 0;
  totale->MajListeViseesCoupe(a->Visees);
  ASSERT_EQ(totale->ViseesCoupe.Count(), 2);
  EXPECT_EQ(totale->LaViseeCoupe(0), v[1]);
  EXPECT_EQ(totale->LaViseeCoupe(1), v[2]);
}

TEST_F(CoupesLongues, CavesOfASection) {
  TDonneesCoupeLong c;
  c.Partielle = true;
  c.CavProprio = b;
  c.AjouteViseeCoupe(v[1]);
  c.AjouteViseeCoupe(w);
  c.AjouteViseeCoupe(v[2]);
  c.GenereListeCavitesCoupe();
  EXPECT_EQ(c.ListeCavitesCoupe, (std::vector<TCavite*>{a, b}));
  c.Partielle = false;
  c.GenereListeCavitesCoupe();
  EXPECT_EQ(c.ListeCavitesCoupe, (std::vector<TCavite*>{b, a}));
  // Only cave B's shots and points stay.
  Dessin().CaviteDessinCourante = a;
  c.DefViseesDeRef(&a->Visees);
  auto ligne = std::make_unique<TObjetDonneesBasique>();
  for (TVisee* s : {v[1], w}) {
    auto p = std::make_unique<TPointDessin>();
    p->VisRefDessin = s;
    ligne->Points.Add(std::move(p));
  }
  TObjetDonneesBasique* l = c.ListeDonneesDessin.AjouteDonneesDessin(std::move(ligne));
  auto section = std::make_unique<TDonneesCoupe>();
  section->PointDeCoupe->VisRefDessin = v[1];
  section->PointPosition->VisRefDessin = w;
  TDonneesCoupe* s = c.ListeCoupes.Add(std::move(section));
  c.NettoieAutresCav(b);
  ASSERT_EQ(c.ViseesCoupe.Count(), 1);
  EXPECT_EQ(c.LaViseeCoupe(0), w);
  EXPECT_EQ(l->LePointDessin(0)->VisRefDessin, nullptr);
  EXPECT_EQ(l->LePointDessin(1)->VisRefDessin, w);
  EXPECT_EQ(s->PointDeCoupe->VisRefDessin, nullptr);
  EXPECT_EQ(s->PointPosition->VisRefDessin, w);
}

TEST_F(CoupesLongues, SectionsLeftWithoutShots) {
  struct Cas {
    const char* nom;
    bool partielle;
    std::vector<int> visees;  // -1: an entry without shot
    std::vector<int> effacees;
    bool vide, aEffacer, videApres;
    int restantes;
  };
  const Cas cas[] = {
      {"partielle sans entrée", true, {}, {}, true, true, true, 0},
      {"partielle intacte", true, {0, 1}, {}, false, false, false, 2},
      {"partielle à moitié effacée", true, {0, 1}, {1}, false, false, false, 1},
      {"partielle toute effacée", true, {0, 1}, {0, 1}, true, true, true, 0},
      {"partielle avec une entrée sans visée", true, {-1, 1}, {1}, true, false, false, 1},
      {"totale toute effacée", false, {0}, {0}, false, false, false, 0},
  };
  for (const Cas& t : cas) {
    for (TVisee* s : v) s->AEffacer = false;
    for (int i : t.effacees) v[i]->AEffacer = true;
    TDonneesCoupeLong c;
    c.Partielle = t.partielle;
    for (int i : t.visees) {
      auto e = std::make_unique<TViseeCoupe>();
      e->UneVisee = i < 0 ? nullptr : v[i];
      c.ViseesCoupe.Add(std::move(e));
    }
    EXPECT_EQ(c.CoupeVide(), t.vide) << t.nom;
    EXPECT_EQ(c.TesteAEffacer(), t.aEffacer) << t.nom;
    EXPECT_EQ(c.MajViseesEffacees(), t.videApres) << t.nom;
    EXPECT_EQ(c.ViseesCoupe.Count(), t.restantes) << t.nom;
  }
}

TEST_F(CoupesLongues, TheCavesUpkeepDeletesPartialSectionsLeftEmpty) {
  TAnnexeDessinCavite& annexe = testdessin::Annexe(a);
  TListeDonneesCoupe& liste = annexe.LesCoupesLong;
  TDonneesCoupeLong* videe = liste.AjouteDonneeCoupe(TTypeDeDessin::tddAltiDev, {}, true, "Vidée");
  videe->AjouteViseeCoupe(v[1]);
  TDonneesCoupeLong* reste = liste.AjouteDonneeCoupe(TTypeDeDessin::tddAltiDev, {}, true, "Reste");
  reste->AjouteViseeCoupe(v[1]);
  reste->AjouteViseeCoupe(v[2]);
  annexe.LeDessinAltiOr->AjouteViseeCoupe(v[1]);
  annexe.LeDessinAlti = videe;
  v[1]->AEffacer = true;
  annexe.EffaceObjetsSansPoints();
  ASSERT_EQ(liste.Count(), 2);
  EXPECT_EQ(liste.UneDonneeCoupe(1), reste);
  EXPECT_EQ(reste->ViseesCoupe.Count(), 1);
  EXPECT_EQ(reste->ViseesDeRef().Count(), 1);
  EXPECT_TRUE(annexe.LeDessinAltiOr->ViseesCoupe.Vide());
  EXPECT_EQ(annexe.LeDessinAlti, annexe.LeDessinAltiOr);
  v[1]->AEffacer = false;
}

TEST_F(CoupesLongues, CopiesOfASection) {
  TDonneesCoupeLong c;
  c.Partielle = true;
  c.CavProprio = a;
  c.DesignCoupe = "Méandre";
  c.ListeDonneesDessin.TypeDeDessin = TTypeDeDessin::tddAltiProj;
  c.AngleCoupeProj = 1.25;
  c.EchelleDessin = 250;
  c.AjouteViseeCoupe(v[1]);
  c.AjouteViseeCoupe(v[2]);
  c.ViseesCoupe.UnObjet(1)->SensVisee = -2;
  c.DefViseesDeRef({});
  Dessin().CaviteDessinCourante = a;
  testdessin::Ligne(c.ListeDonneesDessin, {{1, 11}, {5, 11}});
  // Into another document: only the shots that have an equivalent.
  TVisee equivalente;
  v[2]->ViseeEquiv = &equivalente;
  auto importee = CopieCoupeLongEquiv(c);
  EXPECT_TRUE(importee->Partielle);
  EXPECT_EQ(importee->DesignCoupe, "Méandre");
  EXPECT_EQ(importee->TypeDeDessin(), TTypeDeDessin::tddAltiProj);
  EXPECT_EQ(importee->AngleCoupeProj, 1.25);
  EXPECT_EQ(importee->EchelleDessin, 250);
  ASSERT_EQ(importee->ViseesCoupe.Count(), 1);
  EXPECT_EQ(importee->LaViseeCoupe(0), &equivalente);
  EXPECT_EQ(importee->SensViseeCoupe(0), -2);
  EXPECT_EQ(importee->ListeDonneesDessin.NombreElements(), 0);
  // In the same cave: every entry and the drawing.
  auto double_ = DupliqueCoupeLong(c);
  EXPECT_EQ(double_->CavProprio, a);
  EXPECT_EQ(double_->ViseesCoupe.Count(), 2);
  EXPECT_EQ(double_->SensViseeCoupe(1), -2);
  EXPECT_EQ(double_->ViseesDeRef().Count(), 2);
  EXPECT_EQ(double_->ListeDonneesDessin.LesMultiPoints.Count(), 1);
  EXPECT_EQ(double_->ListeDonneesDessin.LesMultiPoints.First()->LePointDessin(0)->VisRefDessin, v[1]);
  v[2]->ViseeEquiv = nullptr;
}

TEST_F(CoupesLongues, CleaningDropsShotsThatLeftTheNetwork) {
  TCavite horsReseau;
  TVisee orpheline;
  orpheline.CavDeLaVis = &horsReseau;
  // A shot taken out of cave A's list (kept alive here).
  std::unique_ptr<TVisee> sortie = a->Visees.Extract(2);
  TDonneesCoupeLong c;
  c.Partielle = true;
  c.CavProprio = a;
  for (TVisee* s : {v[0], &orpheline, w, v[2], v[1]}) c.AjouteViseeCoupe(s);
  c.ViseesCoupe.UnObjet(4)->SensVisee = -1;
  NettoieViseesCoupeLong(c);
  ASSERT_EQ(c.ViseesCoupe.Count(), 3);
  EXPECT_EQ(c.LaViseeCoupe(0), v[0]);
  EXPECT_EQ(c.LaViseeCoupe(1), w);
  EXPECT_EQ(c.LaViseeCoupe(2), v[1]);
  EXPECT_EQ(v[1]->SensDessinCoupeOr, -1);
  a->Visees.Add(std::move(sortie));
}

// --- Elevations ----------------------------------------------------------------------------------

// A whole section of the computed cave, of the given kind.
TDonneesCoupeLong* Section(TCavite* c, TTypeDeDessin type) {
  TDonneesCoupeLong* s = testdessin::Annexe(c).LeDessinAltiOr;
  s->ListeDonneesDessin.TypeDeDessin = type;
  return s;
}

TEST(Elevations, DevelopedElevation) {
  struct Cas {
    const char* nom;
    double az[2];
    bool inverse;  // the second shot is reversed by the user
    double slh[2];
  };
  const Cas cas[] = {
      // A cave going exactly north: drawn to the right, not collapsed.
      {"plein nord", {0, 0}, false, {10, 20}},
      {"plein sud", {180, 180}, false, {10, 20}},
      {"vers l'est", {90, 90}, false, {10, 20}},
      {"seconde visée inversée", {90, 90}, true, {10, 0}},
      {"coude", {90, 180}, false, {10, 20}},
  };
  for (const Cas& t : cas) {
    Calcul k;
    TCavite* c = k.Cavite("Développée");
    k.Visee(c, "E1", "1", t.az[0], 0, 10);
    TVisee* v = k.Visee(c, "1", "2", t.az[1], -30, 20 / std::sqrt(3.0));
    k.Calcule();
    v->SensCoupeInverse = t.inverse;
    TDonneesCoupeLong* s = Section(c, TTypeDeDessin::tddAltiDev);
    CalculeDessinCoupeLong(*s);
    EXPECT_NEAR(k(c, "1")->Slh, t.slh[0], 1e-9) << t.nom;
    EXPECT_NEAR(k(c, "2")->Slh, t.slh[1], 1e-9) << t.nom;
    // The slope in the elevation plane.
    EXPECT_NEAR(k(c, "2")->PenteAvt, std::atan2(t.slh[1] - t.slh[0], -20 / std::sqrt(3.0) / 2), 1e-9) << t.nom;
    EXPECT_EQ(v->SensCoupe, t.inverse ? -1 : 1) << t.nom;
  }
}

// E1 (0, 0) - 1 (7.07, 7.07) - 2 (14.14, 0): the main direction is east.
class Orientee : public ::testing::Test {
 protected:
  Orientee() {
    c = k.Cavite("Orientée");
    v1 = k.Visee(c, "E1", "1", 45, 0, 10);
    v2 = k.Visee(c, "1", "2", 135, 0, 10);
    k.Calcule();
    s = Section(c, TTypeDeDessin::tddAltiOr);
  }
  double Slh(const char* nom) { return k(c, nom)->Slh; }

  Calcul k;
  TCavite* c = nullptr;
  TVisee* v1 = nullptr;
  TVisee* v2 = nullptr;
  TDonneesCoupeLong* s = nullptr;
};

TEST_F(Orientee, UnsetOrientationUsesTheMainDirectionAndZeroIsNorth) {
  struct Cas {
    double angle;
    double slh2;
  };
  const Cas cas[] = {{-1000, 20}, {0, 0}, {kPi, 0}, {kPi / 2, 20}};
  for (const Cas& t : cas) {
    s->AngleCoupeProj = t.angle;
    CalculeDessinCoupeLong(*s);
    EXPECT_NEAR(Slh("1"), t.angle == kPi ? -10 : 10, 1e-9) << t.angle;
    EXPECT_NEAR(Slh("2"), t.slh2, 1e-9) << t.angle;
  }
  EXPECT_TRUE(s->ListePolyGal.Orientee);
  EXPECT_FALSE(s->ListePolyGal.Projetee);
}

TEST_F(Orientee, ShotDirectionsOfTheOrientedElevation) {
  struct Cas {
    int32_t sens;
    double slh2;
  };
  // Forward, reversed, fixed both ways, projected length, vertical.
  const Cas cas[] = {{1, 20}, {-1, 0}, {2, 20}, {-2, 0}, {3, 10 + 10 / kRacine2}, {-3, 10 - 10 / kRacine2}, {0, 10}};
  for (const Cas& t : cas) {
    v2->SensDessinCoupeOr = t.sens;
    CalculeDessinCoupeLong(*s);
    EXPECT_NEAR(Slh("2"), t.slh2, 1e-9) << t.sens;
  }
}

TEST_F(Orientee, FixedDirectionsSurviveAChangeOfOrientation) {
  s->FixeSensVisee = true;
  v2->SensDessinCoupeOr = 3;
  s->AngleCoupeProj = 0;
  CalculeDessinCoupeLong(*s);
  EXPECT_EQ(v1->SensDessinCoupeOr, 2);
  EXPECT_EQ(v2->SensDessinCoupeOr, 3);  // a projected length is kept
  const double premier[2] = {Slh("1"), Slh("2")};
  s->AngleCoupeProj = kPi;
  CalculeDessinCoupeLong(*s);
  EXPECT_EQ(v1->SensDessinCoupeOr, 2);
  EXPECT_NEAR(Slh("1"), premier[0], 1e-9);
  CalculeDessinCoupeLong(*s);
  EXPECT_NEAR(Slh("1"), premier[0], 1e-9);
  EXPECT_NEAR(Slh("2"), premier[1], 1e-9);
  EXPECT_EQ(v1->SensCoupe, 1);
}

TEST_F(Orientee, ADirectionChangeStartsANewOutline) {
  for (const char* p : {"E1", "1", "2", "3"}) k.Dimensions(c, p, 1, 1, 2, 1);
  k.Visee(c, "2", "3", 315, 0, 10);
  k.Calcule();
  CalculeDessinCoupeLong(*s);
  ASSERT_EQ(v2->SensCoupe, 1);
  const TListPolyGal& l = s->ListePolyGal;
  ASSERT_EQ(l.Count(), 2);
  const tPolyGal& premier = *l.UnePolyGal(0);
  const tPolyGal& second = *l.UnePolyGal(1);
  // The first outline: the ceiling on the left at E1, 1 and 2.
  ASSERT_EQ(premier.BordGauche.size(), 3u);
  EXPECT_NEAR(premier.BordGauche[2].X, 20, 1e-9);
  EXPECT_NEAR(premier.BordGauche[2].Y, k(c, "2")->Z + 2, 1e-9);
  EXPECT_FALSE(premier.fermee);
  // The second starts at 2 going left: the ceiling on the right.
  ASSERT_EQ(second.BordDroit.size(), 2u);
  EXPECT_NEAR(second.BordDroit[0].X, 20, 1e-9);
  EXPECT_NEAR(second.BordDroit[0].Y, k(c, "2")->Z + 2, 1e-9);
  EXPECT_NEAR(second.BordDroit[1].X, 10, 1e-9);
  EXPECT_NEAR(second.BordGauche[1].Y, k(c, "3")->Z - 1, 1e-9);
  EXPECT_TRUE(second.fermee);
}

TEST(Elevations, ProjectedElevationAndItsInclination) {
  Calcul k;
  TCavite* c = k.Cavite("Projetée");
  k.Visee(c, "E1", "1", 45, -10, 10);
  k.Visee(c, "1", "2", 135, 20, 10);
  k.Calcule();
  TDonneesCoupeLong* s = Section(c, TTypeDeDessin::tddAltiProj);
  s->AngleCoupeProj = kPi / 2;
  for (double i : {0.0, kPi / 6}) {
    s->InclinaisonCoupe = i;
    for (const char* p : {"1", "2"}) k(c, p)->ZCalc = 0;
    CalculeDessinCoupeLong(*s);
    const double m1 = std::cos(kPi / 4) * 10 * std::cos(10 * kPi / 180);
    const double m2 = std::cos(kPi / 4) * 10 * std::cos(20 * kPi / 180);
    EXPECT_NEAR(k(c, "1")->Slh, m1, 1e-9) << i;
    EXPECT_NEAR(k(c, "2")->Slh, m1 + m2, 1e-9) << i;
    if (i != 0) {
      const double z1 = m1 * std::sin(i) - 10 * std::sin(10 * kPi / 180) * std::cos(i);
      EXPECT_NEAR(k(c, "1")->ZCalc, z1, 1e-9);
      EXPECT_NEAR(k(c, "2")->ZCalc, z1 + m2 * std::sin(i) + 10 * std::sin(20 * kPi / 180) * std::cos(i), 1e-9);
    } else {
      EXPECT_EQ(k(c, "1")->ZCalc, 0);
    }
  }
  EXPECT_TRUE(s->ListePolyGal.Projetee);
}

TEST(Elevations, ProjectedElevationOverTwoCaves) {
  struct Cas {
    bool activeA;
    double slh[4];  // E1, 1, E2, 20
  };
  // E2 lies 50 m from E1 at an azimuth whose sine is 0.6: 30 m along the
  // east-facing plane.
  const Cas cas[] = {{true, {0, 10, 30, 40}}, {false, {-30, -20, 0, 10}}};
  for (const Cas& t : cas) {
    Calcul k;
    k.n.Surface("E2", 30, 40, 0);
    TCavite* a = k.Cavite("A");
    TVisee* va = k.Visee(a, "E1", "1", 90, 0, 10);
    TCavite* b = k.n.Cavite("B");
    TVisee* vb = k.Visee(b, "E2", "20", 90, 0, 10);
    k.Calcule();
    k.n.R().LaCaviteActive = t.activeA ? a : b;
    TListeDonneesCoupe& liste = testdessin::Annexe(a).LesCoupesLong;
    TDonneesCoupeLong* s = liste.AjouteDonneeCoupe(TTypeDeDessin::tddAltiProj, {}, true, "Deux cavités");
    s->AjouteViseeCoupe(va);
    s->AjouteViseeCoupe(vb);
    s->MajListeViseesDeRef();
    s->AngleCoupeProj = kPi / 2;
    CalculeDessinCoupeLong(*s);
    EXPECT_EQ(s->ListeCavitesCoupe, (std::vector<TCavite*>{a, b}));
    int i = 0;
    for (TPointSpeleo* p : {k(a, "E1"), k(a, "1"), k(b, "E2"), k(b, "20")})
      EXPECT_NEAR(p->Slh, t.slh[i++], 1e-9) << t.activeA << " " << p->DesignPTopo;
    // Each cave's shots were outlined.
    EXPECT_EQ(s->ListePolyGal.Count(), 2);
  }
}

TEST(Elevations, SplayEndsFollowTheirShot) {
  struct Cas {
    TTypeDeDessin type;
    bool inverse;
    double slh;
  };
  // A splay 2 m east and 1 m up at station 1 of an east-going cave.
  const Cas cas[] = {
      {TTypeDeDessin::tddAltiDev, false, 12},
      {TTypeDeDessin::tddAltiDev, true, -12},
      {TTypeDeDessin::tddAltiOr, false, 12},
      {TTypeDeDessin::tddAltiProj, false, 12},
  };
  for (const Cas& t : cas) {
    Calcul k;
    TCavite* c = k.Cavite("Habillée");
    TVisee* v = k.Visee(c, "E1", "1", 90, 0, 10);
    k.Visee(c, "1", "2", 90, 0, 10);
    testcoupes::TViseeHabi* h = k.Habi(v, false, 90, std::atan(0.5) * 180 / kPi, std::sqrt(5.0));
    k.Calcule();
    v->SensCoupeInverse = t.inverse;
    h->Z = 99;
    TDonneesCoupeLong* s = Section(c, t.type);
    s->AngleCoupeProj = kPi / 2;
    CalculeDessinCoupeLong(*s);
    EXPECT_NEAR(h->SlH, t.slh, 1e-9) << static_cast<int>(t.type) << t.inverse;
    EXPECT_NEAR(h->Z, k(c, "1")->Z + 1, 1e-9);
  }
}

TEST(Elevations, TheDrawingIsPlacedInTheElevationPlane) {
  Calcul k;
  TCavite* c = k.Cavite("Nord");
  k.Visee(c, "E1", "1", 0, 0, 10);
  TVisee* v = k.Visee(c, "1", "2", 0, 0, 10);
  k.Calcule();
  int appels = 0;
  PortsDonnees().CalculeDessinCav = [&](TCavite& cavite) {
    EXPECT_EQ(&cavite, c);
    ++appels;
  };
  TDonneesCoupeLong* s = Section(c, TTypeDeDessin::tddAltiDev);
  auto l = std::make_unique<TObjetDonneesBasique>();
  for (double d : {5.0, 8.0}) {
    auto p = std::make_unique<TPointDessin>();
    p->VisRefDessin = v;
    p->LHab = d;
    p->AngleHab = 0;
    l->Points.Add(std::move(p));
  }
  TObjetDonneesBasique* ligne = s->ListeDonneesDessin.AjouteDonneesDessin(std::move(l));
  s->CoeffDessinCoupes = 2;
  CalculeDessinCoupeLong(*s);
  EXPECT_EQ(appels, 1);
  ASSERT_EQ(ligne->Points.Count(), 2);
  EXPECT_NEAR(ligne->LePointDessin(0)->Xhab, 15, 1e-9);
  EXPECT_NEAR(ligne->LePointDessin(0)->Yhab, 0, 1e-9);
  EXPECT_EQ(Dessin().CaviteDessinCourante, c);
  EXPECT_EQ(Dessin().CoeffRelatif, 2);
  EXPECT_EQ(foundation::Vue().TypeDessinCourant, TTypeDeDessin::tddPlani);
  EXPECT_TRUE(k(c, "2")->PointsDansCoupe);
  EXPECT_TRUE(v->EstDansCoupe);
}

TEST(Elevations, SketchesFollowTheSectionTheyReferTo) {
  Calcul k;
  TCavite* c = k.Cavite("Croquis");
  k.Visee(c, "E1", "1", 0, 0, 10);
  TVisee* v = k.Visee(c, "1", "2", 0, 0, 10);
  k.Calcule();
  TAnnexeDessinCavite& annexe = testdessin::Annexe(c);
  auto croquis = std::make_unique<TDessinPkTp>();
  croquis->DefViseesDeRef(&c->Visees);
  auto l = std::make_unique<TObjetDonneesBasique>();
  for (double d : {2.0, 4.0}) {
    auto p = std::make_unique<TPointDessin>();
    p->VisRefDessin = v;
    p->LHab = d;
    l->Points.Add(std::move(p));
  }
  TObjetDonneesBasique* ligne = croquis->pktpDessinAltiOr.AjouteDonneesDessin(std::move(l));
  TDessinPkTp* s = annexe.DessinsPkTp.Add(std::move(croquis));
  for (bool suit : {false, true}) {
    s->DessinAltiRef = suit ? annexe.LeDessinAltiOr : nullptr;
    ligne->LePointDessin(0)->PointOk = false;
    CalculeDessinCoupeLong(*Section(c, TTypeDeDessin::tddAltiDev));
    EXPECT_EQ(ligne->LePointDessin(0)->PointOk, suit);
    if (suit) EXPECT_NEAR(ligne->LePointDessin(0)->Xhab, 12, 1e-9);
  }
}

}  // namespace
