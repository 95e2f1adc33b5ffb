// Station lists: ownership, main direction, and the surface points.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "survey/contexte_document.h"
#include "survey/liste_points.h"
#include "survey/ports_survey.h"

using namespace survey;
constexpr double Pi = std::numbers::pi;

namespace {
void Ajoute(TListedePoints& l, double x, double y, const std::string& nom = "") {
  auto p = std::make_unique<TPointSpeleo>();
  p->X = x;
  p->Y = y;
  p->DesignPTopo = nom;
  l.Add(std::move(p));
}
}  // namespace

TEST(ListeDePoints, DirectionPrincipale) {
  struct Cas {
    const char* nom;
    std::vector<std::pair<double, double>> points;
    double direction;
    double distance;
  };
  const Cas cas[] = {
      {"du sud-ouest au nord-est, boîte carrée", {{0, 0}, {4, 4}, {10, 10}, {6, 5}}, Pi / 4, std::sqrt(200.0)},
      {"sur une ligne est-ouest", {{0, 5}, {3, 5}, {10, 5}}, 0, 0},
      {"du nord-ouest au sud-est", {{0, 10}, {5, 5}, {20, 0}}, Pi - std::atan2(20.0, 10.0), std::sqrt(500.0)},
      {"un seul point", {{3, 4}}, 0, 0},
  };
  for (const Cas& c : cas) {
    TListedePoints l;
    for (auto [x, y] : c.points) Ajoute(l, x, y);
    EXPECT_NEAR(l.CalculeDirection(), c.direction, 1e-12) << c.nom;
    EXPECT_NEAR(l.DistListe, c.distance, 1e-12) << c.nom;
  }
  TListedePoints vide;
  EXPECT_EQ(vide.CalculeDirection(), 0);
  TListedePoints l;
  Ajoute(l, 0, 0);
  Ajoute(l, 10, 20);
  l.CalculeDirection();
  EXPECT_DOUBLE_EQ(l.PtCentre.X, 5);
  EXPECT_DOUBLE_EQ(l.PtCentre.Y, 10);
}

TEST(ListeDePoints, ProprieteEtIndices) {
  TListedePoints proprietaire;
  Ajoute(proprietaire, 1, 1, "a");
  Ajoute(proprietaire, 2, 2, "b");
  Ajoute(proprietaire, 3, 3, "c");
  {
    TListedePoints vue(false);
    for (TPointSpeleo* p : proprietaire) vue.Add(p);
    vue.Delete(0);
    vue.Clear();
  }
  EXPECT_EQ(proprietaire.Count(), 3) << "a list that does not own frees nothing";
  EXPECT_THROW(proprietaire.UnPoint(3), std::out_of_range);
  EXPECT_THROW(TListedePoints().DerPoint(), std::out_of_range);
  EXPECT_EQ(proprietaire.Item(3), nullptr);
  EXPECT_EQ(proprietaire.DerPoint()->DesignPTopo, "c");
  proprietaire.SupprimeSi([](const TPointSpeleo* p) { return p->DesignPTopo != "b"; });
  ASSERT_EQ(proprietaire.Count(), 1);
  EXPECT_EQ(proprietaire.UnPoint(0)->DesignPTopo, "b");
}

TEST(PointsSurface, AjoutsTriEtLignes) {
  GardeDocument gardeDocument;
  GardePortsSurvey gardePorts;
  GardeAffichage gardeAffichage;
  TListedePoints liste;
  TPointsSurface surface(liste);

  // Same system and zone: nothing to convert (no conversion installed).
  Document().DocumentModifie = false;
  TPointSpeleo* p = surface.AjoutePointFichier("E10", "doline", 512345.5, 6543210.25, 0, "LT 93", 0);
  EXPECT_EQ(p->TypePoint, PointSurface);
  EXPECT_DOUBLE_EQ(p->X, 512345.5);
  EXPECT_EQ(p->Commentaire, foundation::TMesStringList{"doline"});
  EXPECT_TRUE(Document().DocumentModifie);
  std::string systemeVu;
  Ports().TransformePointSurface = [&](TPointSpeleo& pt, const std::string& systeme, int32_t) {
    systemeVu = systeme;
    pt.X += 1000;
  };
  TPointSpeleo* q = surface.AjoutePointImport("e9", "", 10, 20, 30, "UTM", 31);
  EXPECT_EQ(q->TypePoint, PointSurfaceImporte);
  EXPECT_EQ(systemeVu, "UTM");
  EXPECT_DOUBLE_EQ(q->X, 1010);
  surface.AjoutePointFichier("2", "", 0, 0, 0, "", 0);
  surface.TrieListe();
  EXPECT_EQ(liste.UnPoint(0)->DesignPTopo, "2");
  EXPECT_EQ(liste.UnPoint(1)->DesignPTopo, "E10");
  EXPECT_EQ(liste.UnPoint(2)->DesignPTopo, "e9");

  // Without a dialog nothing is added; with one, the new point gets TypePoint 1.
  EXPECT_EQ(surface.AjoutePoint(), nullptr);
  std::string titre;
  Ports().DialogueCoordonnees = [&](TPointSpeleo& pt, const std::string& t) {
    titre = t;
    pt.DesignPTopo = "E11";
    return true;
  };
  TPointSpeleo* n = surface.AjoutePoint();
  ASSERT_NE(n, nullptr);
  EXPECT_EQ(titre, "Saisie d'un point de surface");
  EXPECT_EQ(n->TypePoint, PointSurface);
  EXPECT_TRUE(surface.RectifPoint(*n));
  EXPECT_EQ(titre, "Rectification d'un point de surface");

  // A Z of 0 shows with the configured decimals (unlike the shot table).
  Affichage().DecimalesCoord = 2;
  p->Commentaire = {"grande", "doline"};
  TLigneListe ligne;
  TPointsSurface::AffecteChaine(ligne, *p);
  EXPECT_EQ(ligne.Caption, "E10");
  const std::vector<std::string> attendu = {"   512345.50", "  6543210.25", "     0.00", "", "grande doline"};
  EXPECT_EQ(ligne.SousItems, attendu);
  EXPECT_EQ(ligne.Donnee, p);

  Ports().ChangeProjectionPoint = [](double& x, double& y, const std::string&, int32_t, int32_t, const std::string&) {
    x = -x;
    y = -y;
  };
  surface.ChangeProjection("LT 93", 0, 31, "UTM");
  EXPECT_DOUBLE_EQ(p->X, -512345.5);
  EXPECT_DOUBLE_EQ(p->Z, 0);
}
