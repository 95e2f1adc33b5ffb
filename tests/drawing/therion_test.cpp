// The default Therion pattern set and its fallbacks.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>

#include "drawing/contexte_motifs.h"
#include "drawing/motifs_therion.h"
#include "tests/support/dossier_temp.h"

using namespace drawing;

namespace {

std::vector<std::string> Noms(const TListeMotifsBase& l) {
  std::vector<std::string> r;
  for (const TObjetMotifdeBase* m : l) r.push_back(m->DesignMotif);
  return r;
}

}  // namespace

TEST(MotifsTherion, Contenu) {
  auto t = CreeListesMtfTherion();
  EXPECT_EQ(t->CodeOrigine, 1);
  EXPECT_EQ(Noms(t->ListeTextures), (std::vector<std::string>{"Sable", "Argile", "Graviers"}));
  EXPECT_EQ(Noms(t->ListeTraits),
            (std::vector<std::string>{"wall", "wall:unsurveyed", "wall:presumed", "flowstone", "water-flow",
                                      "floor-step", "arrow", "pit", "chimney"}));
  EXPECT_EQ(t->ListeTraits.NbreMotifsFixes, 0);
  EXPECT_EQ(t->UnTrait(7)->StylePlume, MesPenStyle::mpsTrianglePlein);
  EXPECT_EQ(t->UnTrait(4)->CouleurPlume, RGB(0, 255, 255));
  EXPECT_EQ(t->UnTrait(0)->EpaisseurPlume, 3);
  for (TObjetMotifdeBase* m : t->ListeTraits) {
    auto* s = static_cast<TDefObjetTrait*>(m);
    EXPECT_EQ(s->NumMotif, -1) << s->DesignMotif;
    EXPECT_EQ(s->CoupePlan, 2) << s->DesignMotif;
    EXPECT_EQ(s->CouleurPinceau, RGB(255, 255, 255)) << s->DesignMotif;
  }
  EXPECT_EQ(Noms(t->ListeRemplis), (std::vector<std::string>{"water", "sump", "sand", "pebbles"}));
  EXPECT_EQ(t->UnRempli(1)->StylePinceau, TStylePinceau::bsCross);
  EXPECT_EQ(t->UnRempli(1)->CoupePlan, 0);
  EXPECT_EQ(t->UnRempli(2)->UneTexture, t->ListeTextures.LaTexture(0));
  EXPECT_EQ(t->UnRempli(3)->UneTexture, t->ListeTextures.LaTexture(2));
  EXPECT_EQ(t->UnRempli(3)->CouleurPinceau, RGB(218, 185, 73));

  EXPECT_EQ(Noms(t->ListeFontes), (std::vector<std::string>{"Normal", "XS", "S", "L", "XL"}));
  const int32_t tailles[] = {50, 35, 40, 60, 70};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(t->UneFonte(i)->Taille, tailles[i]) << i;
    EXPECT_FALSE(t->UneFonte(i)->EstInfoTopo());
    EXPECT_EQ(t->UneFonte(i)->NomPolice, "Times New Roman");
  }
  EXPECT_EQ(Noms(t->ListeSymboles),
            (std::vector<std::string>{"arrow", "Siphon", "water-flow", "blocks", "Flèche pointillé", "Flèche bleue",
                                      "Flèche pointillé bleue"}));
  EXPECT_EQ(t->ListeSymboles.NbreMotifsFixes, 7);
  EXPECT_EQ(t->ListeFlNord.Count(), 0);
  EXPECT_EQ(t->ListeMotifsSurface.Count(), 0);
}

TEST(MotifsTherion, Secours) {
  ContexteMotifs& m = Motifs();
  EXPECT_EQ(m.TraitNonTrouve.DesignMotif, "non trouvé");
  EXPECT_EQ(m.TraitNonTrouve.StylePlume, MesPenStyle::mpsDashDot);
  EXPECT_EQ(m.TraitNonTrouve.CouleurPlume, RGB(255, 0, 0));
  EXPECT_EQ(m.RempliNonTrouve.StylePinceau, TStylePinceau::bsDiagCross);
  EXPECT_EQ(m.RempliNonTrouve.NumMotif, 0);
  EXPECT_TRUE(m.RempliNonTrouve.TraitLisse);
  ASSERT_NE(m.SymboleDeSecours(), nullptr);
  EXPECT_EQ(m.SymboleDeSecours(), m.ListesMtfTherion->UnSymbole(1));
  EXPECT_EQ(m.SymboleDeSecours()->DesignMotif, "Siphon");

  // The set replaced by one with a single symbol: the built-in copy stands in.
  auto un = CreeListesMtfTherion();
  while (un->ListeSymboles.Count() > 1) un->ListeSymboles.Delete(1);
  m.ListesMtfTherion->RemplaceContenu(*un, true);
  TSymbole* secours = m.SymboleDeSecours();
  ASSERT_NE(secours, nullptr);
  EXPECT_EQ(secours->DesignMotif, "Siphon");
  EXPECT_EQ(secours->LesElements.Count(), 1);
  m.ListesMtfTherion->RemplaceContenu(*un, true);
  EXPECT_EQ(m.SymboleDeSecours(), m.ListesMtfTherion->UnSymbole(1));
}

// Each line and area name is a Therion type name, checked against the list
// printed by Therion itself ("therion --print-symbols") when it is installed.
TEST(MotifsTherion, NomsDeTypesTherion) {
  if (std::system("command -v therion >/dev/null 2>&1") != 0) GTEST_SKIP() << "therion is not installed";
  testsupport::DossierTemp dossier;
  const std::string commande = "cd '" + dossier.Chemin() + "' && therion --print-symbols >/dev/null 2>&1";
  ASSERT_EQ(std::system(commande.c_str()), 0);
  std::ifstream f(dossier.Fichier("symbols.xhtml"));
  ASSERT_TRUE(f.good());
  std::set<std::string> types;
  const std::regex cellule("<td>((line|area|point) [a-z0-9:-]+)</td>");
  std::string ligne;
  while (std::getline(f, ligne))
    for (std::sregex_iterator it(ligne.begin(), ligne.end(), cellule), fin; it != fin; ++it) types.insert((*it)[1]);
  ASSERT_GT(types.size(), 100u);
  // A type Therion prints only with its subtypes ("line wall:bedrock" ...).
  auto connu = [&](const std::string& genre, const std::string& nom) {
    if (types.count(genre + " " + nom)) return true;
    const std::string prefixe = genre + " " + nom + ":";
    auto it = types.lower_bound(prefixe);
    return it != types.end() && it->compare(0, prefixe.size(), prefixe) == 0;
  };
  // "arrow" is a line type of the Therion language that has no symbol of its
  // own in the printed list.
  const std::set<std::string> exceptions = {"line arrow"};
  auto t = CreeListesMtfTherion();
  for (const TObjetMotifdeBase* m : t->ListeTraits) {
    if (exceptions.count("line " + m->DesignMotif)) continue;
    EXPECT_TRUE(connu("line", m->DesignMotif)) << m->DesignMotif;
  }
  for (const TObjetMotifdeBase* m : t->ListeRemplis) EXPECT_TRUE(connu("area", m->DesignMotif)) << m->DesignMotif;
  EXPECT_FALSE(connu("line", "arrow")) << "the exception is still needed";
}
