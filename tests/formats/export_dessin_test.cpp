// The plan drawing's elements in the DXF and KML exports: each visible line
// on its layer (drawing or dressing) in its own style, only its placed
// points, invisible elements and lines of fewer than two points left out; the
// KML points against PROJ's cs2cs.
#include <gtest/gtest.h>

#include <regex>

#include "drawing/objet_donnees_basique.h"
#include "drawing/objet_trait.h"
#include "drawing/point_dessin.h"
#include "formats/export/dxf/export_dxf.h"
#include "formats/export/kml/export_kml.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "tests/formats/import_test_support.h"
#include "tests/projections/oracle_proj.h"

namespace testformats {
namespace {

using drawing::MesPenStyle;

struct Cas {
  const char* nom;
  bool visible;
  int32_t coupePlan;  // +10: dressing
  MesPenStyle style;
  int32_t epaisseur;
  uint32_t couleur;
  int16_t numMotif;  // >= 0: closed pattern
  int points;        // placed points (one more, not placed, is added)
  // Expected in the DXF (no entity when the layer is empty).
  const char* calque;
  const char* typeLigne;
  const char* largeur;
  const char* indexCouleur;
  const char* fermee;
  // Expected in the KML (a line of one point is written there).
  const char* couleurKml;
};

const Cas kCas[] = {
    {"dessin en tirets", true, 2, MesPenStyle::mpsDash, 3, 0x0000FF, -1, 3, "CAV_DESSIN", "TIRET", "0.3", "1", "0",
     "ff0000ff"},
    {"habillage fermé en pointillés", true, 12, MesPenStyle::mpsDot, 1, 0x00FF00, 0, 4, "CAV_HABILLAGE", "POINTILLES",
     "0", "3", "1", "ff00ff00"},
    {"plume 0", true, 2, MesPenStyle::mpsSolid, 0, 0x000000, -1, 2, "CAV_DESSIN", "", "0", "7", "0", "ff000000"},
    {"invisible", false, 2, MesPenStyle::mpsSolid, 1, 0, -1, 3, "", "", "", "", "", ""},
    {"un seul point placé", true, 2, MesPenStyle::mpsSolid, 1, 0, -1, 1, "", "", "", "", "", "ff000000"},
};

// An element of Lambert 93 points around (700100, 6600200), the last one not
// placed by the computation.
struct Element {
  drawing::TDefObjetTrait motif;
  drawing::TObjetDonneesBasique objet;
  std::vector<std::array<double, 2>> places;

  explicit Element(const Cas& k) {
    motif.CoupePlan = k.coupePlan;
    motif.StylePlume = k.style;
    motif.EpaisseurPlume = k.epaisseur;
    motif.CouleurPlume = k.couleur;
    motif.NumMotif = k.numMotif;
    objet.MotifDessin = k.visible ? &motif : nullptr;
    for (int i = 0; i <= k.points; ++i) {
      const double x = 700100 + 3.5 * i, y = 6600200 + (i % 2 ? 2.25 : -1.0);
      drawing::TPointDessin* p = objet.AjoutePointDessin(false, x, y);
      p->Zpt = 480 + i;
      p->PointOk = i < k.points;
      if (p->PointOk) places.push_back({x, y});
    }
  }
};

// The DXF's (code, value) pairs.
std::vector<std::pair<int, std::string>> Groupes(const std::vector<std::string>& lignes) {
  std::vector<std::pair<int, std::string>> r;
  for (size_t i = 0; i + 1 < lignes.size(); i += 2) r.push_back({std::stoi(lignes[i]), lignes[i + 1]});
  return r;
}

std::string Valeur(const std::vector<std::pair<int, std::string>>& g, size_t debut, int code) {
  for (size_t i = debut; i < g.size() && !(i > debut && g[i].first == 0); ++i)
    if (g[i].first == code) return g[i].second;
  return "";
}

TEST(DessinExporte, ElementsEnDxf) {
  for (const Cas& k : kCas) {
    SCOPED_TRACE(k.nom);
    Element e(k);
    formats::TFichierDxf fichier;
    formats::EcritObjetDessinDxf(e.objet, fichier);
    const auto g = Groupes(fichier.Lignes);
    if (!*k.calque) {
      EXPECT_TRUE(g.empty());
      continue;
    }
    ASSERT_FALSE(g.empty());
    EXPECT_EQ(g[0], std::make_pair(0, std::string("POLYLINE")));
    EXPECT_EQ(Valeur(g, 0, 8), k.calque);
    EXPECT_EQ(Valeur(g, 0, 6), k.typeLigne);
    EXPECT_EQ(Valeur(g, 0, 40), k.largeur);
    EXPECT_EQ(Valeur(g, 0, 62), k.indexCouleur);
    EXPECT_EQ(Valeur(g, 0, 70), k.fermee);
    // Only the placed points, in order, at the reference station's altitude.
    size_t n = 0;
    for (size_t i = 0; i < g.size(); ++i) {
      if (g[i] != std::make_pair(0, std::string("VERTEX"))) continue;
      ASSERT_LT(n, e.places.size());
      EXPECT_EQ(Valeur(g, i, 8), k.calque);
      EXPECT_EQ(Valeur(g, i, 10), formats::CoordonneeDxf(e.places[n][0]));
      EXPECT_EQ(Valeur(g, i, 20), formats::CoordonneeDxf(e.places[n][1]));
      EXPECT_EQ(Valeur(g, i, 30), formats::CoordonneeDxf(480 + static_cast<double>(n)));
      ++n;
    }
    EXPECT_EQ(n, e.places.size());
    EXPECT_EQ(g.back(), std::make_pair(8, std::string(k.calque)));
  }
}

TEST(DessinExporte, ElementsEnKml) {
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
  ReseauImport r;
  r.R().Projection = "LT 93";
  r.R().NumFuseau = 0;
  for (const Cas& k : kCas) {
    SCOPED_TRACE(k.nom);
    Element e(k);
    formats::TFichierKML fichier(r.R());
    formats::EcritObjetDessinKml(e.objet, fichier);
    std::string texte;
    for (const std::string& l : fichier.Lignes) texte += l + "\n";
    if (!k.visible) {
      EXPECT_TRUE(texte.empty());
      continue;
    }
    EXPECT_NE(texte.find("<color>" + std::string(k.couleurKml) + "</color>"), std::string::npos) << texte;
    EXPECT_NE(texte.find("<width>" + std::to_string(k.epaisseur) + "</width>"), std::string::npos) << texte;
    // A closed element is written as an open line string: its points once.
    const std::regex motif(R"re(^ *([-0-9.]+),([-0-9.]+),([-0-9.]+)$)re");
    std::vector<std::array<double, 3>> lus;
    for (const std::string& l : fichier.Lignes) {
      std::smatch m;
      if (!std::regex_match(l, m, motif)) continue;
      std::array<double, 3> v{};
      for (int i = 0; i < 3; ++i) foundation::LitReel(m[i + 1].str(), v[static_cast<size_t>(i)]);
      lus.push_back(v);
    }
    ASSERT_EQ(lus.size(), e.places.size());
    for (size_t i = 0; i < lus.size(); ++i) EXPECT_DOUBLE_EQ(lus[i][2], 480 + static_cast<double>(i));
    const auto oracle = oracle::Cs2cs("EPSG:2154", "+proj=longlat +datum=WGS84", e.places);
    if (!oracle) continue;
    for (size_t i = 0; i < lus.size(); ++i) {
      EXPECT_NEAR(lus[i][0], (*oracle)[i][0], 1e-8) << i;
      EXPECT_NEAR(lus[i][1], (*oracle)[i][1], 1e-8) << i;
    }
  }
}

}  // namespace
}  // namespace testformats
