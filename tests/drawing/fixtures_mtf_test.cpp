// Pattern files of every layout, built byte by byte by
// fixtures/fabrique_mtf.py from the record tables (not by our writer).  Each
// holds: two textures ("Sable", "Argile"); four line styles ("Paroi" open,
// "Eau" closed in category "Eau", "Argile" textured with texture 2,
// "Habillage" closed dressing); from level 500 one fill "Sable" (texture 1);
// one font "Titre" (Arial, size 49, bold italic); a symbol "Flèche" (a
// polyline and a circle, fixed size 2.5, fixed direction); below level 500 a
// symbol "Nord" flagged as a north arrow, from 500 a north arrow "Nord" and a
// surface symbol "Gouffre".
#include <gtest/gtest.h>

#include "drawing/liste_mtf.h"
#include "platform/scripted_dialogs.h"
#include "tests/drawing/outils_motifs.h"

using namespace drawing;

namespace {

std::string Chemin(int niveau) {
  return std::string(GRAVELUNE_SOURCE_DIR) + "/tests/drawing/fixtures/mtf_" + std::to_string(niveau) + ".mtf";
}

std::vector<std::string> Noms(const TListeMotifsBase& l) {
  std::vector<std::string> r;
  for (const TObjetMotifdeBase* m : l) r.push_back(m->DesignMotif);
  return r;
}

}  // namespace

TEST(FixturesMtf, ChaqueNiveau) {
  struct Cas {
    int niveau;
    int32_t taillePolice;
    bool dirFixe;       // read from 225
    bool nordLu;        // the north-arrow flag exists from 216
    bool categories;    // from 226
  };
  const Cas cas[] = {
      {511, 49, true, true, true},   {500, 49, true, true, true},    {499, 49, true, true, true},
      {226, 49, true, true, true},   {225, 49, true, true, false},   {216, 49, false, true, false},
      {204, 49, false, false, false}, {201, 20, false, false, false},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE("level " + std::to_string(c.niveau));
    platform::ScriptedDialogs d;
    platform::ScopedDialogs garde(d);
    foundation::NiveauFichier().VersionFichierLue = 77;
    tListeMtf m(0);
    ASSERT_TRUE(LitFichierMtf(Chemin(c.niveau), m));
    EXPECT_TRUE(d.Messages().empty());
    EXPECT_EQ(foundation::NiveauFichier().VersionFichierLue, 77) << "the level is restored";

    ASSERT_EQ(m.ListeTextures.Count(), 2);
    EXPECT_EQ(m.ListeTextures.LaTexture(1)->Couleur, 0x000080u);
    EXPECT_EQ(m.ListeTextures.LaTexture(1)->Densite, 15);

    // Fonts and symbols.
    ASSERT_EQ(m.ListeFontes.Count(), 1);
    const TFontObjetType* titre = m.UneFonte(0);
    EXPECT_EQ(titre->DesignMotif, "Titre");
    EXPECT_EQ(titre->NomPolice, "Arial");
    EXPECT_EQ(titre->Taille, c.taillePolice);
    EXPECT_EQ(titre->Couleur, 0x0000FFu);
    EXPECT_EQ(titre->Style.Bits_(), 3);

    const TSymbole* fleche = m.UnSymbole(0);
    EXPECT_EQ(fleche->DesignMotif, "Flèche");
    EXPECT_EQ(fleche->PtExtrem.X, 300);
    EXPECT_EQ(fleche->ValDimFixe, 2.5);
    EXPECT_EQ(fleche->DirFixe, c.dirFixe);
    ASSERT_EQ(fleche->LesElements.Count(), 2);
    EXPECT_EQ(fleche->UnElement(0)->NbPoints(), 5);
    EXPECT_EQ(fleche->UnElement(0)->LePointEcran(2).X, 300);
    EXPECT_EQ(fleche->UnElement(0)->UnTrait->ModePlume, TModePlume::pmNotXor);
    EXPECT_EQ(fleche->UnElement(0)->UnTrait->NumMotif, 0);
    const tElementSymbole* rond = fleche->UnElement(1);
    EXPECT_EQ(rond->TypeCourbe, CourbeCercle);
    ASSERT_EQ(rond->NbPoints(), 2) << "centre and a point of the circle";
    EXPECT_NEAR(rond->LePointEcran(0).X, 0, 1e-9);
    EXPECT_NEAR(rond->LePointEcran(0).Y, 0, 1e-9);
    EXPECT_EQ(rond->LePointEcran(1).X, 10);
    EXPECT_EQ(rond->UnTrait->EpaisseurPlume, 4);

    if (c.niveau >= 500) {
      EXPECT_EQ(Noms(m.ListeTraits), (std::vector<std::string>{"Paroi", "Eau", "Argile", "Habillage"}));
      ASSERT_EQ(m.ListeRemplis.Count(), 1);
      EXPECT_EQ(m.UnRempli(0)->UneTexture, m.ListeTextures.LaTexture(0));
      EXPECT_EQ(m.ListeSymboles.Count(), 1);
      ASSERT_EQ(m.ListeFlNord.Count(), 1);
      EXPECT_TRUE(m.ListeFlNord.LeSymbole(0)->EstFlecheN);
      EXPECT_EQ(m.ListeFlNord.LeSymbole(0)->TexteSymbol, "N");
      EXPECT_EQ(Noms(m.ListeMotifsSurface), std::vector<std::string>{"Gouffre"});
    } else {
      // Closed non-dressing styles became fills, in order.
      EXPECT_EQ(Noms(m.ListeTraits), (std::vector<std::string>{"Paroi", "Habillage"}));
      EXPECT_EQ(Noms(m.ListeRemplis), (std::vector<std::string>{"Eau", "Argile"}));
      EXPECT_EQ(m.UnRempli(0)->TypeMotif, TTypeMotif::tmRempli);
      EXPECT_EQ(m.UnRempli(1)->UneTexture, m.ListeTextures.LaTexture(1));
      EXPECT_EQ(Noms(m.ListeMotifsSurface), (std::vector<std::string>{"Gouffre", "Grotte", "Perte", "Résurgence",
                                                                       "Exsurgence", "Doline"}));
      if (c.nordLu) {
        // The north arrow is in the north-arrow list only.
        EXPECT_EQ(Noms(m.ListeSymboles), std::vector<std::string>{"Flèche"});
        ASSERT_EQ(m.ListeFlNord.Count(), 1);
        const TSymbole* nord = m.ListeFlNord.LeSymbole(0);
        EXPECT_EQ(nord->DesignMotif, "Nord");
        EXPECT_EQ(nord->TypeMotif, TTypeMotif::tmNord);
        EXPECT_TRUE(nord->DirFixe) << "a north arrow always has a fixed direction";
        EXPECT_EQ(nord->TexteSymbol, "N");
        EXPECT_EQ(nord->PtDebTexte.X, -4);
        EXPECT_EQ(nord->PtFinTexte.X, 4);
        ASSERT_EQ(m.ListeFlNordTmp.size(), 2u);
        EXPECT_EQ(m.ListeFlNordTmp[0], m.UnSymbole(0));
        EXPECT_EQ(m.ListeFlNordTmp[1], nord);
      } else {
        EXPECT_EQ(Noms(m.ListeSymboles), (std::vector<std::string>{"Flèche", "Nord"}));
        EXPECT_EQ(m.ListeFlNord.Count(), 0);
      }
    }
    // Categories exist from level 226 on.
    if (c.categories) {
      ASSERT_EQ(m.ListeTraits.ListeCategories.size(), 1u);
      const TObjetMotifdeBase* eau = c.niveau >= 500 ? m.UnTrait(1) : m.UnRempli(0);
      EXPECT_EQ(eau->UneCategorie, m.ListeTraits.LaCategorie(0));
    } else {
      EXPECT_TRUE(m.ListeTraits.ListeCategories.empty());
    }
    // What we read, we write again at level 511 and read back the same.
    foundation::TFluxMemoire f;
    ASSERT_TRUE(EcritFluxMtf(f, m));
    tListeMtf relue(0);
    foundation::TFluxMemoire g(f.Octets());
    ASSERT_TRUE(LitFluxMtf(g, relue));
    foundation::TFluxMemoire h;
    EcritFluxMtf(h, relue);
    EXPECT_EQ(h.Octets(), f.Octets());
  }
  foundation::NiveauFichier().VersionFichierLue = 0;
}
