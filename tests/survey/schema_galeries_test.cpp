// The layout of the printed gallery diagram, with fixed text measures.
#include <gtest/gtest.h>

#include <string>

#include "survey/schema_galeries.h"
#include "tests/survey/cavite_document.h"
#include "tests/survey/environnement_document.h"

namespace {

using namespace survey;
using testsurvey::CavitesDocument;
using testsurvey::EnvironnementDocument;

TMesuresSchema Mesures(int32_t hauteurPage) {
  TMesuresSchema m;
  m.LargeurPage = 1000;
  m.HauteurPage = hauteurPage;
  m.HauteurTexte = 20;
  m.LargeurTexte = [](std::string_view t, int taille, bool gras) {
    return static_cast<int32_t>(t.size()) * taille + (gras ? 10 : 0);
  };
  return m;
}

const TElementSchema* Texte(const TSchemaGaleries& s, const std::string& t) {
  for (const TElementSchema& e : s.Elements)
    if (!e.Trait && e.Texte == t) return &e;
  return nullptr;
}

// Galleries 0 -> 1 -> 2 -> 3 in a chain, 1 -> 4, and a gallery surveyed apart.
const char* const Chaine =
    "G G0: 1 2\nG G1: 10 11\nG G2: 20 21\nG G3: 30\nG G4: 40\nG Iso: 90 91\n"
    "E1 - 1\n1 - 2\n2 - 10\n10 - 11\n11 - 20\n20 - 21\n21 - 30\n10 - 40\n90 - 91";

TEST(SchemaGaleries, EscalierLignesEtGaleriesNonRattachees) {
  EnvironnementDocument env;
  TReseau r;
  CavitesDocument cd(r);
  const TCavite& c = *cd.Cavite("Gouffre", Chaine);
  const TSchemaGaleries s = SchemaGaleries(c, Mesures(100000));
  // Title and heading centred; the cave's name bold 12.
  const TElementSchema* titre = Texte(s, "Gouffre");
  ASSERT_TRUE(titre);
  EXPECT_EQ(titre->X, (1000 - (7 * 12 + 10)) / 2);
  EXPECT_TRUE(titre->Gras);
  EXPECT_EQ(titre->Taille, 12);
  const TElementSchema* schema = Texte(s, "Schéma des galeries");
  ASSERT_TRUE(schema);
  EXPECT_EQ(schema->Y, 30);
  // Each level 100 dots further right, "->" below level 0; the computation
  // order puts the side branch G4 before G2.
  const struct {
    const char* texte;
    int32_t x, y;
  } attendus[] = {{"G0", 0, 80}, {"->G1", 50, 100}, {"->G4", 150, 120}, {"->G2", 150, 140}, {"->G3", 250, 160}};
  for (const auto& a : attendus) {
    const TElementSchema* e = Texte(s, a.texte);
    ASSERT_TRUE(e) << a.texte;
    EXPECT_EQ(e->X, a.x) << a.texte;
    EXPECT_EQ(e->Y, a.y) << a.texte;
  }
  // The joining lines: from under a gallery's line to the middle of its last
  // child's.
  std::vector<std::array<int32_t, 3>> traits;
  for (const TElementSchema& e : s.Elements)
    if (e.Trait) {
      EXPECT_EQ(e.X, e.X2);
      traits.push_back({e.X, e.Y, e.Y2});
    }
  std::sort(traits.begin(), traits.end());
  const std::vector<std::array<int32_t, 3>> lignes = {{50, 100, 110}, {150, 120, 150}, {250, 160, 170}};
  EXPECT_EQ(traits, lignes);
  // The gallery surveyed apart after the heading, at level 0.
  const TElementSchema* entete = Texte(s, "---  galerie(s) non rattachée(s)  ---");
  ASSERT_TRUE(entete);
  EXPECT_TRUE(entete->Gras);
  EXPECT_EQ(entete->Y, 190);
  const TElementSchema* iso = Texte(s, "Iso");
  ASSERT_TRUE(iso);
  EXPECT_EQ(iso->X, 0);
  EXPECT_EQ(iso->Y, 210);
  EXPECT_EQ(s.HauteurTotale, 230);
}

TEST(SchemaGaleries, PagesRempliesSansPageBlanche) {
  EnvironnementDocument env;
  TReseau r;
  CavitesDocument cd(r);
  const TCavite& c = *cd.Cavite("Gouffre", Chaine);
  // The diagram is 230 dots high; bands of the page height less 40.
  const struct {
    int32_t hauteurPage;
    int pages;
  } cas[] = {{270, 1}, {155, 2}, {140, 3}, {100000, 1}, {40, 230}};
  for (const auto& k : cas) {
    SCOPED_TRACE(k.hauteurPage);
    const TSchemaGaleries s = SchemaGaleries(c, Mesures(k.hauteurPage));
    ASSERT_EQ(s.NombrePages(), k.pages);
    // Every element is on the pages its extent crosses, the last page is not
    // empty, and each line is whole once its pieces are put together.
    EXPECT_FALSE(s.ElementsPage(k.pages - 1).empty());
    int32_t traits = 0;
    for (int p = 0; p < k.pages; ++p)
      for (const TElementSchema& e : s.ElementsPage(p)) {
        if (e.Trait) traits += std::min(e.Y2, s.HauteurBande) - std::max(e.Y, 0);
        if (!e.Trait) EXPECT_GT(e.Y + 2 * s.HauteurTexte, 0);
        EXPECT_LT(std::min(e.Y, e.Y2), s.HauteurBande);
      }
    EXPECT_EQ(traits, 10 + 30 + 10);
  }
}

}  // namespace
