// Reduction of shots: the five entry types, units, calibrations, reversed
// readings, the uncertainty vector, splays, passage dimensions from splays,
// walls and the selection of shots.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "foundation/transformation_vue.h"
#include "survey/cavite.h"
#include "survey/rapport_calcul.h"
#include "tests/survey/reseau_test.h"

using namespace survey;
using testsurvey::ReseauTest;

namespace {

constexpr double Pi = std::numbers::pi;

struct Mesure {
  uint8_t type = SaisiePenteLongueur;
  double az = 0, pente = 0, longueur = 0, lh = 0, deniv = 0;
  bool compteur = false;
  int32_t deb = 0, fin = 0;
  bool invAz = false, invP = false, invVisee = false;
};

struct Reglages {
  double etalon = 1;
  bool topofil = false;
  uint8_t uniteAz = 0, uniteP = 0;
  double decli = 0;
  uint8_t uniteDecli = UniteDeclinAucune;
};

}  // namespace

TEST(Reduction, TypesDeSaisieEtUnites) {
  struct Cas {
    const char* nom;
    Reglages lever;
    Mesure m;
    double LCalc, LhCalc, DhCalc, PCalc, AzCalc;
  };
  const double p30 = Pi / 6;
  const Cas cas[] = {
      {"verticale montante", {}, {.pente = 90, .longueur = 10}, 10, 0, 10, Pi / 2, 0},
      {"verticale descendante", {}, {.pente = -90, .longueur = 10}, 10, 0, -10, -Pi / 2, 0},
      {"type 0, étalon 1.02", {.etalon = 1.02}, {.longueur = 10}, 10.2, 10.2, 0, 0, 0},
      {"type 2, étalon 1.02 sans effet", {.etalon = 1.02}, {.type = 2, .longueur = 10}, 10, 10, 0, 0, 0},
      {"type 1, étalon 1.02", {.etalon = 1.02}, {.type = 1, .lh = 10}, 10.2, 10.2, 0, 0, 0},
      {"type 3, étalon sans effet", {.etalon = 1.02}, {.type = 3, .lh = 4, .deniv = 3}, 5, 4, 3, std::atan2(3, 4), 0},
      {"compteur 1500 puis 1250, facteur 0.01", {.etalon = 0.01},
       {.compteur = true, .deb = 1500, .fin = 1250}, 2.5, 2.5, 0, 0, 0},
      {"compteur en longueur horizontale", {.etalon = 0.01},
       {.type = 3, .deniv = -1, .compteur = true, .deb = 100, .fin = 500}, std::sqrt(17), 4, -1, -std::atan2(1, 4), 0},
      {"lever au topofil, longueur au ruban", {.etalon = 0.01, .topofil = true}, {.longueur = 10}, 10, 10, 0, 0, 0},
      {"pente 30°", {}, {.pente = 30, .longueur = 10}, 10, 10 * std::cos(p30), 5, p30, 0},
      {"pente lue à l'envers", {}, {.pente = 30, .longueur = 10, .invP = true}, 10, 10 * std::cos(p30), -5, -p30, 0},
      {"type 1 pente et longueur horizontale", {}, {.type = 1, .pente = 30, .lh = 10}, 10 / std::cos(p30), 10,
       10 * std::tan(p30), p30, 0},
      {"type 2", {}, {.type = 2, .longueur = 5, .deniv = -3}, 5, 4, -3, -std::atan2(3, 4), 0},
      {"premier relevé de profondeur pris tel quel", {}, {.type = 4, .longueur = 20, .deniv = 12}, 20,
       std::sqrt(400 - 144), 12, std::atan2(12, std::sqrt(256)), 0},
      {"profondeur plus grande que la longueur", {}, {.type = 4, .longueur = 3, .deniv = 5}, 3, 3, 5,
       std::atan2(5, 3), 0},
      {"grades et pourcent", {.uniteAz = 1, .uniteP = 2}, {.az = 100, .pente = 100, .longueur = std::sqrt(2)},
       std::sqrt(2), 1, 1, Pi / 4, Pi / 2},
      {"déclinaison en degrés", {.decli = 2, .uniteDecli = UniteDeclinDegres}, {.az = 10, .longueur = 1}, 1, 1, 0, 0,
       12 * Pi / 180},
      {"déclinaison en grades", {.decli = 2, .uniteDecli = UniteDeclinGrades}, {.az = 10, .longueur = 1}, 1, 1, 0, 0,
       10 * Pi / 180 + 2 * Pi / 200},
      {"azimut lu à l'envers", {}, {.az = 10, .longueur = 1, .invAz = true}, 1, 1, 0, 0, 10 * Pi / 180 + Pi},
      {"azimut à l'envers sur visée parcourue à l'envers", {}, {.az = 10, .longueur = 1, .invAz = true, .invVisee = true},
       1, 1, 0, 0, 10 * Pi / 180},
      {"visée parcourue à l'envers", {}, {.az = 10, .pente = 30, .longueur = 10, .invVisee = true}, 10,
       10 * std::cos(p30), -5, -p30, 10 * Pi / 180 + Pi},
      {"longueur horizontale sous le millimètre", {}, {.pente = 89.999, .longueur = 10}, 10, 0,
       10 * std::sin(89.999 * Pi / 180), Pi / 2, 0},
  };
  for (const Cas& c : cas) {
    TLever l;
    l.EtalonL = c.lever.etalon;
    l.Topofil = c.lever.topofil;
    l.UniteAZ = c.lever.uniteAz;
    l.UniteP = c.lever.uniteP;
    l.Declinaison = c.lever.decli;
    l.UniteDeclin = c.lever.uniteDecli;
    TVisee v;
    v.LeLever = &l;
    v.Typesaisie = c.m.type;
    v.Az = c.m.az;
    v.pente = c.m.pente;
    v.Long = c.m.longueur;
    v.LH = c.m.lh;
    v.Deniv = c.m.deniv;
    v.SaisieTopoFil = c.m.compteur;
    v.TopofilDeb = c.m.deb;
    v.TopofilFin = c.m.fin;
    v.InvAz = c.m.invAz;
    v.InvP = c.m.invP;
    v.InvVisee = c.m.invVisee;
    v.CalculeVisee();
    EXPECT_NEAR(v.LCalc, c.LCalc, 1e-9) << c.nom;
    EXPECT_NEAR(v.LhCalc, c.LhCalc, 1e-9) << c.nom;
    EXPECT_NEAR(v.DhCalc, c.DhCalc, 1e-9) << c.nom;
    EXPECT_NEAR(v.PCalc, c.PCalc, 1e-9) << c.nom;
    EXPECT_NEAR(foundation::NormaliseAngle(v.AzCalc), foundation::NormaliseAngle(c.AzCalc), 1e-9) << c.nom;
  }
}

TEST(Reduction, VerticaleExacteEtMesuresNonSaisiesEffacees) {
  TVisee v;
  v.pente = 90;
  v.Long = 7;
  v.LH = 3;       // not part of a type 0 shot
  v.Deniv = 2;
  v.TopofilDeb = 5;
  v.CalculeVisee();
  EXPECT_EQ(v.LhCalc, 0);
  EXPECT_EQ(v.PCalc, Pi / 2);
  EXPECT_EQ(v.LH, 0);
  EXPECT_EQ(v.Deniv, 0);
  EXPECT_EQ(v.TopofilDeb, 0) << "readings of a shot entered without counter are cleared";
}

// A type 2 shot whose height difference exceeds its length has no real
// horizontal length: it is reduced as vertical and reported once.
TEST(Reduction, DenivSuperieureALaLongueur) {
  GardeContexteCalcul garde;
  ReseauTest r;
  TCavite* c = r.Cavite("Gouffre", "G A: 1 2\nE1 - 1\n1 - 2");
  TVisee* v = ReseauTest::ViseeEntre(*c, "1", "2");
  v->Typesaisie = SaisieDenivLongueur;
  v->Long = 5;
  v->Deniv = -6;
  c->ReGenereListePoints(false);
  v->CalculeVisee();
  EXPECT_EQ(v->LhCalc, 0);
  EXPECT_EQ(v->DhCalc, -6);
  EXPECT_EQ(v->PCalc, -Pi / 2);
  EXPECT_TRUE(std::isfinite(v->IncertX) && std::isfinite(v->IncertY) && std::isfinite(v->IncertZ));
  ASSERT_EQ(Calcul().Avertissements.size(), 1u) << "said once however often the shot is reduced";
  EXPECT_NE(Calcul().Avertissements[0].find("Gouffre"), std::string::npos) << Calcul().Avertissements[0];
  EXPECT_NE(Calcul().Avertissements[0].find("1 - 2"), std::string::npos) << Calcul().Avertissements[0];
  EXPECT_NE(Calcul().Avertissements[0].find("verticale"), std::string::npos);
}

// The reduction hands its warnings back to its caller and writes nothing
// into the computation's report; each reduction returns them again (saying a
// shot once is the report's rule, not the reduction's).
TEST(Reduction, AvertissementsRendusSansToucherAuRapport) {
  struct Cas {
    const char* nom;
    uint8_t type;
    double longueur, deniv;
    const char* motif;  // in the warning; none when the shot reduces cleanly
  };
  const Cas cas[] = {
      {"dénivelée plus grande que la longueur", SaisieDenivLongueur, 5, -6, "verticale"},
      {"longueur hors de toute mesure", SaisieDenivLongueur, 1e308, 0, "mesures impossibles"},
      {"visée réductible", SaisieDenivLongueur, 5, -3, nullptr},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    GardeContexteCalcul garde;
    ReseauTest r;
    TCavite* c = r.Cavite("Gouffre", "G A: 1 2\nE1 - 1\n1 - 2");
    TVisee* v = ReseauTest::ViseeEntre(*c, "1", "2");
    v->Typesaisie = k.type;
    v->Long = k.longueur;
    v->Deniv = k.deniv;
    for (int fois = 0; fois < 2; ++fois) {
      TAvertissementsCalcul avertissements;
      v->CalculeVisee(avertissements);
      if (!k.motif) {
        EXPECT_TRUE(avertissements.empty()) << avertissements.front().Texte;
        continue;
      }
      ASSERT_EQ(avertissements.size(), 1u) << "reduction " << fois + 1;
      EXPECT_EQ(avertissements[0].Visee, v);
      EXPECT_NE(avertissements[0].Texte.find("Gouffre"), std::string::npos) << avertissements[0].Texte;
      EXPECT_NE(avertissements[0].Texte.find("1 - 2"), std::string::npos) << avertissements[0].Texte;
      EXPECT_NE(avertissements[0].Texte.find(k.motif), std::string::npos) << avertissements[0].Texte;
    }
    EXPECT_TRUE(Calcul().Avertissements.empty()) << Calcul().Avertissements.front();
    EXPECT_TRUE(Calcul().ViseesSignalees.empty());
    // A splay on the shot reduces the same way.
    auto h = std::make_unique<TViseeHabi>();
    h->Typesaisie = k.type;
    h->Long = k.longueur;
    h->Deniv = k.deniv;
    TViseeHabi* habi = v->AjouteViseeHabi(std::move(h));
    TAvertissementsCalcul avertissements;
    habi->CalculeViseeHabi(avertissements);
    ASSERT_EQ(avertissements.size(), k.motif ? 1u : 0u);
    if (k.motif) {
      EXPECT_EQ(avertissements[0].Visee, habi);
      EXPECT_NE(avertissements[0].Texte.find(k.motif), std::string::npos) << avertissements[0].Texte;
    }
    EXPECT_TRUE(Calcul().Avertissements.empty()) << Calcul().Avertissements.front();
  }
}

// Depth readings: each shot's height difference is its reading less the
// previous depth shot's; the walk order decides which one is previous.
TEST(Reduction, ProfondeursSuccessives) {
  ReseauTest r;
  TCavite* c = r.Cavite("Siphon", "G A: 1 2 3 4\nE1 - 1\n1 - 2\n2 - 3\n4 - 3");
  auto prof = [&](const char* a, const char* b, double d, double l) {
    TVisee* v = ReseauTest::ViseeEntre(*c, a, b);
    v->Typesaisie = SaisieProfondeurLongueur;
    v->Deniv = d;
    v->Long = l;
    return v;
  };
  TVisee* v12 = prof("1", "2", 12.0, 20);
  TVisee* v23 = prof("2", "3", 15.5, 20);
  TVisee* v43 = prof("4", "3", 17, 20);  // walked from 3: reversed
  c->ReGenereListePoints(false);
  EXPECT_DOUBLE_EQ(v12->DhCalc, 12.0) << "the first depth shot takes its reading as is";
  EXPECT_DOUBLE_EQ(v23->DhCalc, 3.5);
  ASSERT_TRUE(v43->InvVisee);
  EXPECT_DOUBLE_EQ(v43->DhCalc, -(17 - 15.5));
}

TEST(Reduction, Incertitudes) {
  // Class 3 (station 0.1 m, azimuth and slope 2°, length 0.1 m), a level shot
  // due north of 10 m: along the shot and across it in plan.
  TLever l;
  l.Precision = 3;
  TVisee v;
  v.LeLever = &l;
  v.Long = 10;
  v.CalculeVisee();
  const double sl = std::sqrt(2 * 0.01 + 0.01);
  const double s2 = 2 * Pi / 180;
  const double sa = std::sqrt(2 * 0.0001 + s2 * s2) * 10;
  const double sv = sa;
  EXPECT_NEAR(v.IncertY, sl, 1e-12);
  EXPECT_NEAR(v.IncertX, sa, 1e-12);
  EXPECT_NEAR(v.IncertZ, sv, 1e-12);
  // Instruments replace the class values: a thread counter by its relative
  // precision per thousand, angles in degrees or grades, a slope in percent.
  TInstrument fil, boussole, clino;
  fil.TiGenre = "Topofil";
  fil.PrecisionRel = 10;
  boussole.PrecisionAbs = 1;
  boussole.Unites = TTypeUnite::tuGrades;
  clino.PrecisionAbs = 1;
  clino.Unites = TTypeUnite::tuPourcent;
  l.InstrumentL = &fil;
  l.InstrumentAz = &boussole;
  l.InstrumentP = &clino;
  v.CalculeVisee();
  EXPECT_NEAR(v.IncertY, std::sqrt(2 * 0.01 + 0.1 * 0.1), 1e-12);
  EXPECT_NEAR(v.IncertX, std::sqrt(2 * 0.0001 + std::pow(Pi / 200, 2)) * 10, 1e-12);
  EXPECT_NEAR(v.IncertZ, std::sqrt(2 * 0.0001 + std::pow(std::atan(0.01), 2)) * 10, 1e-12);
  // A depth gauge in metres: its precision is the height uncertainty.
  clino.Unites = TTypeUnite::tuMetres;
  clino.PrecisionAbs = 0.3;
  v.CalculeVisee();
  EXPECT_NEAR(v.IncertZ, std::sqrt(2 * 0.01 + 0.09), 1e-12);
  // A precision class outside the table is held to it.
  l.InstrumentL = l.InstrumentAz = l.InstrumentP = nullptr;
  l.Precision = 42;
  v.CalculeVisee();
  EXPECT_NEAR(v.IncertY, std::sqrt(2 * 0.0001 + 0.0001), 1e-12);
}

TEST(Reduction, VisesHabillage) {
  GardeContexteCalcul garde;
  ReseauTest r;
  TCavite* c = r.Cavite("C", "G A: 1 2\nE1 - 1\n1 - 2");
  TVisee* v = ReseauTest::ViseeEntre(*c, "1", "2");
  v->Az = 90;
  v->Long = 10;
  TLever l;
  l.UniteDeclin = UniteDeclinDegres;
  l.Declinaison = 0;
  v->LeLever = &l;
  auto h = std::make_unique<TViseeHabi>();
  h->RefPtStat = false;  // on the target, station 2
  h->Az = 0;
  h->Long = 2;
  TViseeHabi* habi = v->AjouteViseeHabi(std::move(h));
  c->ReGenereListePoints(false);
  TPointSpeleo* p2 = ReseauTest::PointNomme(*c, "2");
  p2->X = 10;
  p2->Y = 0;
  p2->Z = -1;
  p2->Slh = 10;
  // The splay turns with the convergence when its trip has a declination...
  Calcul().ConvergenceCourante = Pi / 2;
  habi->CalculeViseeHabi();
  EXPECT_EQ(habi->LeLever, &l);
  EXPECT_NEAR(habi->X, 8, 1e-12);
  EXPECT_NEAR(habi->Y, 0, 1e-12);
  EXPECT_NEAR(habi->Z, -1, 1e-12);
  EXPECT_NEAR(habi->SlH, 12, 1e-12);
  // ... not under the former convention, nor without declination.
  l.AncienneDecli = true;
  habi->CalculeViseeHabi();
  EXPECT_NEAR(habi->X, 10, 1e-12);
  EXPECT_NEAR(habi->Y, 2, 1e-12);
  l.AncienneDecli = false;
  l.UniteDeclin = UniteDeclinAucune;
  habi->CalculeViseeHabi();
  EXPECT_NEAR(habi->Y, 2, 1e-12);
  // Elevation abscissae: the splay points north, the shot east.
  habi->CalculeDessinProjViseeHabi(0);
  EXPECT_NEAR(habi->SlH, 12, 1e-12);
  habi->CalculeDessinDevViseeHabi(1);
  EXPECT_NEAR(habi->SlH, 10, 1e-9);
  v->SensDessinCoupeOr = -2;
  habi->CalculeDessinOrViseeHabi(0);
  EXPECT_EQ(habi->SensCoupe, -1);
  EXPECT_NEAR(habi->SlH, 8, 1e-12);
  v->SensDessinCoupeOr = 1;
  habi->CalculeDessinOrViseeHabi(Pi);
  EXPECT_EQ(habi->SensCoupe, -1);
  habi->SlhFix = 0.5;
  habi->CalculeDessinOrViseeHabi(Pi);
  EXPECT_NEAR(habi->SlH, 10.5, 1e-12);
}

// Passage dimensions from the splays of a station: the near-horizontal splay
// nearest the perpendicular on each side, the steepest up and down.
TEST(Reduction, DimensionsDepuisLesVisesHabillage) {
  GardeContexteCalcul garde;
  ReseauTest r;
  TCavite* c = r.Cavite("C", "G A: 1 2 3\nE1 - 1\n1 - 2\n2 - 3");
  for (TVisee* v : c->Visees) v->Long = 10;  // all due north, level
  TVisee* v12 = ReseauTest::ViseeEntre(*c, "1", "2");
  auto habi = [&](double az, double pente, double l) {
    auto h = std::make_unique<TViseeHabi>();
    h->RefPtStat = false;  // on station 2
    h->Az = az;
    h->pente = pente;
    h->Long = l;
    v12->AjouteViseeHabi(std::move(h));
  };
  habi(90, 0, 3);     // right, square
  habi(80, 0, 5);     // right, less square
  habi(270, 0, 2);    // left
  habi(0, 60, 4);     // up
  habi(0, -70, 6);    // down
  habi(180, -30, 1);  // down, less steep
  {
    // Exactly 45° (height difference equal to the horizontal length): not
    // used for widths, though square to the passage and wider.
    auto h = std::make_unique<TViseeHabi>();
    h->RefPtStat = false;
    h->Typesaisie = SaisieDenivLongueurHoriz;
    h->Az = 90;
    h->LH = 9;
    h->Deniv = 9;
    v12->AjouteViseeHabi(std::move(h));
  }
  c->ReGenereListePoints(false);
  TPointSpeleo* p1 = ReseauTest::PointNomme(*c, "1");
  TPointSpeleo* p2 = ReseauTest::PointNomme(*c, "2");
  TPointSpeleo* p3 = ReseauTest::PointNomme(*c, "3");
  p1->Y = 10;
  p2->Y = 20;
  p3->Y = 30;
  CalculeGDHBPoint(p2);
  EXPECT_NEAR(p2->LargeurDR, 3, 1e-9);
  EXPECT_NEAR(p2->LargeurGA, 2, 1e-9);
  EXPECT_NEAR(p2->HauteurSup, 4 * std::sin(Pi / 3), 1e-9);
  EXPECT_NEAR(p2->HauteurInf, 6 * std::sin(70 * Pi / 180), 1e-9);
  // Walked reversed, right and left are exchanged.
  EXPECT_EQ(ViseeSuivanteDuPoint(p2), ReseauTest::ViseeEntre(*c, "2", "3"));
  std::swap(v12->PointStation, v12->PointVise);
  for (TViseeHabi* h : v12->ViseesHabi) h->RefPtStat = true;  // still on station 2
  c->ReGenereListePoints(false);
  ASSERT_TRUE(v12->InvVisee);
  p1->Y = 10;
  p2->Y = 20;
  p3->Y = 30;
  CalculeGDHBPoint(p2);
  EXPECT_NEAR(p2->LargeurDR, 2, 1e-9);
  EXPECT_NEAR(p2->LargeurGA, 3, 1e-9);
}

TEST(Reduction, ParoisEtGeometrie) {
  ReseauTest r;
  TCavite* c = r.Cavite("C", "G A: 1 2 2a+\nE1 - 1\n1 - 2\n1 - 2a");
  c->ReGenereListePoints(false);
  TPointSpeleo* p1 = ReseauTest::PointNomme(*c, "1");
  TPointSpeleo* p2 = ReseauTest::PointNomme(*c, "2");
  TPointSpeleo* p2a = ReseauTest::PointNomme(*c, "2a");
  p1->X = 0, p1->Y = 0, p1->Z = 0, p1->Slh = 0;
  p2->X = 0, p2->Y = 10, p2->Z = 5, p2->Slh = 10;
  p2a->X = 10, p2a->Y = 0, p2a->Z = 0, p2a->Slh = 10;
  p1->LDCalc = 4, p1->LGCalc = 1;
  p2->LDCalc = 2, p2->LGCalc = 3;
  p2a->LDCalc = 1, p2a->LGCalc = 1;
  p1->HauteurSup = 2, p2->HauteurSup = 1;
  TVisee* v12 = ReseauTest::ViseeEntre(*c, "1", "2");
  v12->LhCalc = 10;
  const foundation::TSegment d = v12->BordDroitGal();
  EXPECT_NEAR(d.PtDebut.X, 4, 1e-9);
  EXPECT_NEAR(d.PtFin.X, 2, 1e-9);
  EXPECT_NEAR(d.PtFin.Y, 10, 1e-9);
  const foundation::TSegment g = v12->BordGaucheGal();
  EXPECT_NEAR(g.PtDebut.X, -1, 1e-9);
  EXPECT_NEAR(g.PtFin.X, -3, 1e-9);
  // A side passage does not take the main passage's width at the junction.
  TVisee* v12a = ReseauTest::ViseeEntre(*c, "1", "2a");
  v12a->LhCalc = 10;
  const foundation::TSegment s = v12a->BordDroitGal();
  EXPECT_NEAR(s.PtDebut.Y, -1, 1e-9) << "start width reduced to the end's";
  EXPECT_NEAR(s.PtFin.Y, -1, 1e-9);
  const foundation::TSegment h = v12->BordHautGal();
  EXPECT_NEAR(h.PtDebut.Z, 2, 1e-12);
  EXPECT_NEAR(h.PtFin.Z, 6, 1e-12);
  EXPECT_NEAR(v12->PenteCoupe(), std::atan2(5, 10), 1e-12);
  EXPECT_NEAR(v12->DistVisee(foundation::PtTopoXY(3, 5)), 3, 1e-12);
  double d0 = 0;
  EXPECT_EQ(c->Visees.ChercheViseeProche(foundation::PtTopoXY(3, 5), d0, 10), v12);
  EXPECT_NEAR(d0, 3, 1e-12);
  EXPECT_EQ(c->Visees.ChercheViseeProche(foundation::PtTopoXY(3, 5), d0, 2), nullptr);
}

// The selection of shots by clicks: a tree E1-1-2-3-4 with a side branch
// 2-b1-b2; each step clicks a shot and shows the marked shots and the last
// selected one.
TEST(Reduction, SelectionDesVisees) {
  ReseauTest r;
  TCavite* c = r.Cavite("C", "G A: 1 2 3 4\nG B: b1 b2\nE1 - 1\n1 - 2\n2 - 3\n3 - 4\n2 - b1\nb1 - b2");
  c->ReGenereListePoints(false);
  TListeDeVisees& l = c->Visees;
  ASSERT_EQ(ReseauTest::Ordre(*c), "E1>1 1>2 2>3 3>4 2>b1 b1>b2");
  auto marquees = [&] {
    std::string s;
    for (const TVisee* v : l)
      if (v->Marque) s += (s.empty() ? "" : " ") + v->PtCalc->DesignPTopo;
    return s + " | " + (l.DerViseeSelectee ? l.DerViseeSelectee->PtCalc->DesignPTopo : "-");
  };
  auto visee = [&](const char* fin) {
    for (TVisee* v : l)
      if (v->PtCalc->DesignPTopo == fin) return v;
    return static_cast<TVisee*>(nullptr);
  };
  struct Pas {
    const char* action;
    const char* visee;
    const char* attendu;
  };
  const Pas pas[] = {
      {"clic", "3", "3 4 | 3"},           // nothing selected: the shot and what follows it
      {"clic", "4", "3 | 3"},             // after: a marked shot and its followers are unmarked
      {"clic", "4", "3 4 | 3"},           // after, unmarked: marked up to the selection
      {"clic", "1", "1 2 3 4 | 1"},       // before: the selection grows back to it
      {"clic", "b2", "1 2 3 4 b1 b2 | 1"},
      {"clic", "b1", "1 2 3 4 | 1"},
      {"tout", "", "1 2 3 4 b1 b2 | b2"},
      {"rien", "", " | -"},
      {"clic", "b1", "b1 b2 | b1"},
      {"clic", "4", "4 | 4"},             // not hanging on the selection: starts again
      {"branche", "", "4 | 4"},
      {"moins", "3", "4 | 4"},            // an unmarked shot: nothing
      {"moins", "4", " | -"},
      {"clic", "2", "2 3 4 b1 b2 | 2"},
      {"moins", "b1", "2 3 4 | 2"},
      {"suivantes", "", "2 3 4 b1 b2 | 2"},
  };
  for (const Pas& p : pas) {
    const std::string a = p.action;
    if (a == "clic")
      l.SelectVisees(visee(p.visee));
    else if (a == "tout")
      l.SelectToutesVisees();
    else if (a == "rien")
      l.DeSelectToutesVisees();
    else if (a == "branche")
      l.SelectViseesBranche();
    else if (a == "moins")
      l.DeselectViseesSuivantes(visee(p.visee));
    else if (a == "suivantes")
      l.SelectViseesSuivantes();
    EXPECT_EQ(marquees(), p.attendu) << a << " " << p.visee;
  }
  l.GenereListePoints();
  EXPECT_EQ(l.ListeDesPoints.size(), 7u);
  l.TesteHabiExiste();
  EXPECT_FALSE(l.ViseesHabExistent);
}
