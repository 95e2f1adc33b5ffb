// Shots: units of the measured values, display rows, names in series,
// orientation and the links with their stations.
#include <gtest/gtest.h>

#include <numbers>

#include "survey/cavite.h"
#include "survey/ports_survey.h"
#include "tests/survey/reseau_test.h"

using namespace survey;
using testsurvey::ReseauTest;
constexpr double Pi = std::numbers::pi;

TEST(ValeurVisee, AnglesEnRadians) {
  struct Cas {
    const char* nom;
    uint8_t uniteP;
    int32_t zeroPente;
    double pente;
    double attendu;
  };
  const Cas cas[] = {
      {"degrés, zéro horizontal", 0, 0, 30, Pi / 6},
      {"degrés, zéro au zénith", 0, 1, 30, Pi / 3},
      {"degrés, zéro au nadir", 0, -1, 30, Pi / 6 - Pi / 2},
      {"grades", 1, 0, 50, Pi / 4},
      {"pourcent", 2, 0, 100, Pi / 4},
      {"pourcent, zéro au zénith ignoré", 2, 1, 100, Pi / 4},
  };
  for (const Cas& c : cas) {
    TLever l;
    l.UniteP = c.uniteP;
    l.ZeroPente = c.zeroPente;
    TVisee v;
    v.LeLever = &l;
    v.pente = c.pente;
    EXPECT_NEAR(v.PEnRad(), c.attendu, 1e-12) << c.nom;
  }
  TVisee v;
  v.Az = 90;
  EXPECT_NEAR(v.AzEnRad(), Pi / 2, 1e-12) << "without trip: degrees";
  EXPECT_TRUE(v.SansDecli());
  EXPECT_EQ(v.DecliEnRad(), 0);
  TLever grades;
  grades.UniteAZ = 1;
  grades.UniteDeclin = UniteDeclinGrades;
  grades.Declinaison = 2;
  v.LeLever = &grades;
  EXPECT_NEAR(v.AzEnRad(), 90 * Pi / 200, 1e-12);
  EXPECT_NEAR(v.DecliEnRad(), Pi / 100, 1e-12);
  EXPECT_EQ(v.UniteAzStr(), " g");
  EXPECT_EQ(v.UnitePStr(), " °");
  grades.UniteDeclin = UniteDeclinAucune;
  EXPECT_TRUE(v.SansDecli());
  EXPECT_EQ(v.DecliEnRad(), 0);
  v.LeLever = LeverParDefaut();
  EXPECT_TRUE(v.SansDecli()) << "the default trip has no declination";
}

TEST(ValeurVisee, TextesFormates) {
  EXPECT_EQ(TValeurVisee::ValFormatee(12, 2, 0), "");
  EXPECT_EQ(TValeurVisee::ValFormatee(7, 2, 12.5), "12.50");
  EXPECT_EQ(TValeurVisee::ValFormatee(6, 0, -3), "-3");
  TLever pourcent;
  pourcent.UniteP = 2;
  TVisee v;
  v.LeLever = &pourcent;
  EXPECT_EQ(v.PenteFormatee(0), "");
  EXPECT_EQ(v.PenteFormatee(-12.34), " -12.3 %");
}

namespace {
// A shot whose display texts are their own positions.
class ViseeNumerotee : public TVisee {
 public:
  void CreeValeursTxt() override {
    for (size_t i = 0; i < ValeursTxt.size(); ++i) ValeursTxt[i] = "t" + std::to_string(i);
  }
};
}  // namespace

TEST(ValeurVisee, LignesDuTableauDeLImpressionEtDuFichier) {
  ViseeNumerotee v;
  TLigneListe ligne;
  v.AffecteVisu(ligne);
  EXPECT_EQ(ligne.Donnee, &v);
  EXPECT_EQ(v.ItemVisu, &ligne);
  EXPECT_FALSE(v.affectee);
  v.AffecteChaine(ligne);
  EXPECT_TRUE(v.affectee);
  EXPECT_EQ(ligne.Caption, "t0");
  const std::vector<std::string> sous = {"t1",  "t2",  "t18", "t19", "t20", "t21", "t7",  "t8", "t9",
                                         "t10", "t11", "t12", "t13", "t14", "t15", "t16", "t22", "t17"};
  EXPECT_EQ(ligne.SousItems, sous);

  struct Cas {
    bool topofil, coordonnees, dimensions;
    std::vector<std::string> colonnes;
  };
  const Cas cas[] = {
      {false, false, false, {"t0", "t1", "t2", "t3", "t4", "t5", "t6", "t22", "t17"}},
      {true, false, false, {"t0", "t1", "t2", "t3", "t4", "t5", "t6", "t7", "t8", "t22", "t17"}},
      {false, false, true, {"t0", "t1", "t2", "t3", "t4", "t5", "t6", "t13", "t14", "t15", "t16", "t22", "t17"}},
      {true, false, true,
       {"t0", "t1", "t2", "t3", "t4", "t5", "t6", "t7", "t8", "t13", "t14", "t15", "t16", "t22", "t17"}},
      {false, true, true, {"t0", "t1", "t2", "t18", "t19", "t20", "t21", "t9", "t10", "t11", "t12", "t22", "t17"}},
      {true, true, false,
       {"t0", "t1", "t2", "t18", "t19", "t20", "t21", "t9", "t10", "t11", "t12", "t22", "t17"}},
  };
  for (const Cas& c : cas) {
    GardeAffichage garde;
    Affichage().ColonnesTopofil = c.topofil;
    Affichage().CoordonneesAffichees = c.coordonnees;
    Affichage().DimensionsAffichees = c.dimensions;
    std::vector<std::string> colonnes;
    v.AffecteChaineImpression(colonnes);
    EXPECT_EQ(colonnes, c.colonnes) << c.topofil << c.coordonnees << c.dimensions;
  }
  EXPECT_EQ(v.AffecteLigneFichier(),
            "t0\tt1\tt2\tt3\tt4\tt5\tt6\tt7\tt8\tt13\tt14\tt15\tt16\tt18\tt19\tt20\tt21\tt9\tt10\tt11\tt12\tt22\tt17");
}

TEST(ValeurVisee, AffecteValeursGardeLeSens) {
  TVisee a, b;
  a.Az = 12;
  a.pente = -3;
  a.Long = 4;
  a.Typesaisie = SaisieDenivLongueur;
  a.SaisieTopoFil = true;
  a.TopofilDeb = 10;
  a.TopofilFin = 20;
  a.InvAz = a.InvP = a.InvVisee = true;
  a.CommentVisee = {"x"};
  b.AffecteValeurs(a);
  EXPECT_EQ(b.Az, 12);
  EXPECT_EQ(b.Typesaisie, SaisieDenivLongueur);
  EXPECT_EQ(b.TopofilFin, 20);
  EXPECT_TRUE(b.InvP);
  EXPECT_FALSE(b.InvVisee);
  EXPECT_EQ(b.CommentVisee, a.CommentVisee);
  TViseeHabi h;
  EXPECT_TRUE(h.EstHabi);
  EXPECT_TRUE(h.RefPtStat);
  EXPECT_EQ(h.Exclue, 1);
  EXPECT_TRUE(foundation::EstIndefini(h.SlhFix));
  EXPECT_EQ(b.SensDessinCoupeOr, 1);
  EXPECT_EQ(b.NumCompens, -1);
  EXPECT_EQ(b.NumBoucle, -1);
}

TEST(Visee, DesignPrecedenteEtIncrementee) {
  struct Cas {
    const char* nom;
    const char* precedent;
  };
  const Cas cas[] = {{"12", "11"}, {"A10", "A9"}, {"A007", "A6"}, {"B", "A"}, {"", ""}, {"  ", "  "},
                     {" 7 ", "6"},  {"0", "-1"},  {"P1-3", "P1-2"}, {"é", "è"}};
  for (const Cas& c : cas) EXPECT_EQ(DesignPrecedente(c.nom), c.precedent) << c.nom;
  TPointSpeleo a, b;
  a.DesignPTopo = "A9";
  b.DesignPTopo = "A10";
  TVisee v;
  v.PointStation = &b;
  v.PointVise = &a;
  EXPECT_TRUE(v.Incrementee()) << "either way";
  b.DesignPTopo = "A11";
  EXPECT_FALSE(v.Incrementee());
  v.PointStation = v.PointVise = nullptr;
}

TEST(Visee, OrientationEtAngleDeVirage) {
  TPointSpeleo p1, p2, p3;
  TVisee v1, v2;
  v1.PointStation = &p1;
  v1.PointVise = &p2;
  v1.Az = 90;
  v2.PointStation = &p3;  // stored from its far end
  v2.PointVise = &p2;
  v2.Az = 180;
  v2.InvAz = true;
  v1.CalculeVisee();
  EXPECT_EQ(v1.PtOrigCalc, &p1);
  EXPECT_EQ(v1.PtCalc, &p2);
  EXPECT_NEAR(v1.AzCalc, Pi / 2, 1e-12);
  EXPECT_EQ(v1.AngleTri, 0) << "no previous shot";
  p2.ViseeAvant = &v1;
  v2.InvVisee = true;
  v2.CalculeVisee();
  EXPECT_EQ(v2.PtOrigCalc, &p2);
  EXPECT_EQ(v2.PtCalc, &p3);
  // Read backwards and walked backwards: the two reversals cancel.
  EXPECT_NEAR(v2.AzCalc, Pi, 1e-12);
  // Turn from the way back along v1 (west) round to south.
  EXPECT_NEAR(v2.AngleTri, 3 * Pi / 2, 1e-12);
  EXPECT_EQ(v2.ViseePreced(), &v1);
  p2.ViseeAvant = nullptr;
  v1.PointStation = v1.PointVise = v1.PtOrigCalc = v1.PtCalc = nullptr;
  v2.PointStation = v2.PointVise = v2.PtOrigCalc = v2.PtCalc = nullptr;
}

TEST(Visee, DestructionDetacheLaViseeDeSesStations) {
  ReseauTest r;
  TCavite* c = r.Cavite("Grotte", "G A: 1 2 3\nE1 - 1\n1 - 2\n2 - 3");
  TVisee* v = ReseauTest::ViseeEntre(*c, "2", "3");
  TViseeHabi* h1 = v->AjouteViseeHabi(std::make_unique<TViseeHabi>());
  v->AjouteViseeHabi(std::make_unique<TViseeHabi>())->RefPtStat = false;
  ASSERT_TRUE(c->ReGenereListePoints(true));
  TPointSpeleo* p2 = ReseauTest::PointNomme(*c, "2");
  TPointSpeleo* p3 = ReseauTest::PointNomme(*c, "3");
  EXPECT_EQ(p2->LVHabi.size(), 1u);
  EXPECT_EQ(p3->LVHabi.size(), 1u);
  EXPECT_TRUE(v->PointAHabi(p3));
  EXPECT_EQ(v->GalDeLaVis(), c->Galeries.First());
  EXPECT_EQ(h1->GalDeLaVis(), c->Galeries.First());
  EXPECT_EQ(h1->DesignVisee(), "2");
  v->ViseesHabi.Delete(0);
  EXPECT_TRUE(p2->LVHabi.empty());
  c->Visees.Remove(v);
  EXPECT_TRUE(p3->LVHabi.empty());
  EXPECT_EQ(p3->ViseeAvant, nullptr);
  for (const TVisee* s : p2->LstVis) EXPECT_NE(s, v);
  ASSERT_TRUE(c->ReGenereListePoints(true));
  EXPECT_EQ(ReseauTest::PointNomme(*c, "3"), nullptr);
}
