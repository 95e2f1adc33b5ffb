// Textures: record, defaults, equivalence and the values read from files.
#include <gtest/gtest.h>

#include "drawing/texture.h"
#include "tests/drawing/outils_motifs.h"

using namespace drawing;
using foundation::TFluxMemoire;
using testmotifs::Niveau;

TEST(Texture, EnregistrementDe24Octets) {
  for (int niveau : {511, 226, 225, 201}) {
    Niveau n(niveau);
    tTexture t;
    t.DesignMotif = "Sable";
    const std::string o = testmotifs::Octets(t);
    EXPECT_EQ(o.size(), 4u + 5 + 4 + 24);
    // At 225 and below the category index is not read: the reader sees the
    // name then 24 bytes.
    std::string lu = o;
    if (niveau <= 225) lu.erase(9, 4);
    TFluxMemoire f(lu);
    tTexture r;
    ASSERT_TRUE(r.LitObjet(f)) << niveau;
    EXPECT_EQ(f.Restant(), 0u) << niveau;
    EXPECT_TRUE(r.EstEquivalent(t));
  }
}

TEST(Texture, DefautsEtEquivalence) {
  TListeTextures l;
  l.InitDefaut();
  struct Cas {
    const char* nom;
    int32_t type;
    uint32_t couleur;
    int32_t densite, tmin, tmax, epaisseur;
  };
  const Cas cas[] = {{"Sable", 1, 0, 50, 0, 10, 1}, {"Argile", 2, 0x000080, 15, 0, 3, 1}, {"Graviers", 3, 0, 150, 2, 8, 1}};
  ASSERT_EQ(l.Count(), 3);
  EXPECT_EQ(l.NbreMotifsFixes, 3);
  for (int i = 0; i < 3; ++i) {
    const tTexture* t = l.LaTexture(i);
    const Cas& c = cas[i];
    EXPECT_EQ(t->DesignMotif, c.nom);
    EXPECT_EQ(t->TypeTexture, c.type) << c.nom;
    EXPECT_EQ(t->Couleur, c.couleur) << c.nom;
    EXPECT_EQ(t->Densite, c.densite) << c.nom;
    EXPECT_EQ(t->TailleMin, c.tmin) << c.nom;
    EXPECT_EQ(t->TailleMax, c.tmax) << c.nom;
    EXPECT_EQ(t->Epaisseur, c.epaisseur) << c.nom;
  }
  EXPECT_THROW(l.LaTexture(3), std::out_of_range);
  EXPECT_THROW(l.LaTexture(-1), std::out_of_range);
  // Same parameters, another name: equivalent; another parameter: not.
  auto copie = l.LaTexture(0)->CloneTexture();
  copie->DesignMotif = "Autre";
  EXPECT_TRUE(copie->EstEquivalent(*l.LaTexture(0)));
  copie->Epaisseur = 2;
  EXPECT_FALSE(copie->EstEquivalent(*l.LaTexture(0)));
  EXPECT_EQ(NomTypeTexture(6), "Cailloutis");
  EXPECT_EQ(DimSVGDuType(3), 500);
  EXPECT_EQ(DimSVGDuType(4), 100);
}

TEST(Texture, ValeursLuesRendues) {
  struct Cas {
    int32_t densite, tmin, tmax;
    int32_t densiteLue, tmaxLue;
  };
  const Cas cas[] = {{0, 0, 10, 1, 10}, {-5, 0, 10, 1, 10}, {20, 8, 3, 20, 8}, {20, 3, 8, 20, 8}};
  Niveau n(511);
  for (const Cas& c : cas) {
    tTexture t;
    t.Densite = c.densite;
    t.TailleMin = c.tmin;
    t.TailleMax = c.tmax;
    TFluxMemoire f(testmotifs::Octets(t));
    tTexture r;
    ASSERT_TRUE(r.LitObjet(f));
    EXPECT_EQ(r.Densite, c.densiteLue) << c.densite;
    EXPECT_EQ(r.TailleMax, c.tmaxLue) << c.tmin << " " << c.tmax;
    EXPECT_EQ(r.TailleMin, c.tmin);
  }
}
