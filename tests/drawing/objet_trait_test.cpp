// Line styles and fills: record sizes at each level, equivalence, defaults,
// graded and sketch styles, pen and brush values.
#include <gtest/gtest.h>

#include "drawing/contexte_motifs.h"
#include "drawing/objet_trait.h"
#include "drawing/texture.h"
#include "tests/drawing/outils_motifs.h"

using namespace drawing;
using foundation::TFluxMemoire;
using testmotifs::Hex;
using testmotifs::Niveau;

TEST(ObjetTrait, EnregistrementNiveau511) {
  TObjetTrait t;
  t.DesignMotif = "Ab";
  t.IndexCategorie = 1;
  t.CouleurPlume = RGB(1, 2, 3);
  t.ModePlume = TModePlume::pmNotXor;
  t.StylePlume = MesPenStyle::mpsTrianglePlein;
  t.EpaisseurPlume = 3;
  t.CouleurPinceau = RGB(4, 5, 6);
  t.StylePinceau = TStylePinceau::bsDiagCross;
  t.CouleurFonte = RGB(7, 8, 9);
  t.TraitLisse = true;
  t.NumMotif = -1;
  t.CoupePlan = 12;
  t.CodeMotif = 0x01020304;
  EXPECT_EQ(Hex(testmotifs::Octets(t)),
            "02 00 00 00 41 62 01 00 00 00 "  // name, category index
            "01 02 03 00 0F 09 03 00 00 00 04 05 06 00 07 07 08 09 00 01 FF FF 0C 00 00 00 04 03 02 01");
}

// Record sizes after the name: level 226 has the category index and 30
// bytes; level 225 has 36 bytes with padding plus 8 reserved bytes, except for
// the frame style of an offset part.
TEST(ObjetTrait, TaillesSelonNiveau) {
  struct Cas {
    int niveau;
    bool cadre;
    size_t octetsApresNom;
  };
  const Cas cas[] = {{511, false, 34}, {226, false, 34}, {225, false, 44}, {225, true, 36},
                     {150, true, 36},  {150, false, 44}, {121, false, 36}};
  for (const Cas& c : cas) {
    Niveau n(c.niveau);
    TFluxMemoire f;
    foundation::EcritChaineA(f, "x");
    f.Ecrit(std::string(c.octetsApresNom + 5, '\0').data(), c.octetsApresNom + 5);
    f.PlaceA(0);
    TObjetTrait t;
    t.EstCadreEcart = c.cadre;
    EXPECT_TRUE(t.LitObjet(f)) << c.niveau;
    EXPECT_EQ(f.Position(), 5 + c.octetsApresNom) << "level " << c.niveau << (c.cadre ? " frame" : "");
    // One byte short fails.
    TFluxMemoire court(f.Octets().substr(0, 5 + c.octetsApresNom - 1));
    TObjetTrait u;
    u.EstCadreEcart = c.cadre;
    EXPECT_FALSE(u.LitObjet(court)) << c.niveau;
  }
}

TEST(ObjetTrait, Niveau225AvecRemplissage) {
  Niveau n(225);
  // Pen colour, mode, style, 2 padding, width, brush colour, brush style, 3
  // padding, font colour, smoothing, 1 padding, NumMotif, CoupePlan, CodeMotif,
  // 8 reserved.
  std::string o = std::string("\x01\x00\x00\x00", 4) + "x" + std::string("\x11\x22\x33\x00\x04\x05\xEE\xEE", 8) +
                  std::string("\x02\x00\x00\x00\x44\x55\x66\x00\x06\xEE\xEE\xEE", 12) +
                  std::string("\x77\x00\x00\x00\x01\xEE\x03\x00\x0B\x00\x00\x00\x09\x00\x00\x00", 16) +
                  std::string(8, '\xEE');
  TFluxMemoire f(o);
  TObjetTrait t;
  ASSERT_TRUE(t.LitObjet(f));
  EXPECT_EQ(f.Restant(), 0u);
  EXPECT_EQ(t.DesignMotif, "x");
  EXPECT_EQ(t.CouleurPlume, 0x332211u);
  EXPECT_EQ(t.ModePlume, TModePlume::pmCopy);
  EXPECT_EQ(t.StylePlume, MesPenStyle::mpsDemiHachure);
  EXPECT_EQ(t.EpaisseurPlume, 2);
  EXPECT_EQ(t.CouleurPinceau, 0x665544u);
  EXPECT_EQ(t.StylePinceau, TStylePinceau::bsCross);
  EXPECT_EQ(t.CouleurFonte, 0x77u);
  EXPECT_TRUE(t.TraitLisse);
  EXPECT_EQ(t.NumMotif, 3);
  EXPECT_EQ(t.CoupePlan, 11);
  EXPECT_EQ(t.CodeMotif, 9u);
}

TEST(ObjetTrait, EnumerationsHorsBornes) {
  Niveau n(511);
  struct Cas {
    size_t position;  // after the name and category index
    uint8_t valeur;
    bool lu;
  };
  const Cas cas[] = {{4, 15, true}, {4, 16, false}, {5, 10, true}, {5, 11, false}, {14, 7, true}, {14, 8, false}};
  for (const Cas& c : cas) {
    TObjetTrait modele;
    std::string o = testmotifs::Octets(modele);
    o[4 + 4 + c.position] = static_cast<char>(c.valeur);
    TFluxMemoire f(o);
    TObjetTrait t;
    EXPECT_EQ(t.LitObjet(f), c.lu) << "byte " << c.position << " = " << int(c.valeur);
  }
}

TEST(ObjetTrait, StyleDeSymboleSansChamps) {
  TObjetTrait t;
  t.TypeMotif = TTypeMotif::tmSymbole;
  t.DesignMotif = "s";
  EXPECT_EQ(testmotifs::Octets(t).size(), 4u + 1 + 4);
}

TEST(ObjetTrait, Equivalence) {
  TListeTextures textures;
  textures.InitDefaut();
  auto autre = std::make_unique<tTexture>();
  autre->CopieMotif(*textures.LaTexture(0));
  autre->DesignMotif = "Autre nom";
  tTexture* memeSable = static_cast<tTexture*>(textures.AjouteMotif(std::move(autre)));

  TypeTrait paroi;
  paroi.Design = "Paroi";
  paroi.EpaisseurPlume = 3;
  struct Cas {
    const char* nom;
    std::function<void(TypeTrait&)> change;
    bool equivalent;
  };
  const Cas cas[] = {
      {"identique", [](TypeTrait&) {}, true},
      {"nom en majuscules", [](TypeTrait& t) { t.Design = "PAROI"; }, true},
      {"CoupePlan", [](TypeTrait& t) { t.CoupePlan = 0; }, true},
      {"CodeMotif", [](TypeTrait& t) { t.CodeMotif = 1; }, true},
      {"épaisseur", [](TypeTrait& t) { t.EpaisseurPlume = 2; }, false},
      {"mode", [](TypeTrait& t) { t.ModePlume = TModePlume::pmNotXor; }, false},
      {"lissé", [](TypeTrait& t) { t.TraitLisse = true; }, false},
      {"couleur de fonte", [](TypeTrait& t) { t.CouleurFonte = 1; }, false},
      {"fermé", [](TypeTrait& t) { t.NumMotif = 0; }, false},
      {"texturé contre non texturé", [&](TypeTrait& t) { t.NumMotif = 1; t.UneTexture = textures.LaTexture(0); }, false},
  };
  for (const Cas& c : cas) {
    TypeTrait b = paroi;
    c.change(b);
    EXPECT_EQ(TraitsEquivalents(paroi, b), c.equivalent) << c.nom;
  }
  // Two textured styles: their textures decide, not their positions.
  TypeTrait a = paroi, b = paroi;
  a.NumMotif = 1;
  a.UneTexture = textures.LaTexture(0);
  b.NumMotif = 4;
  b.UneTexture = memeSable;
  EXPECT_TRUE(TraitsEquivalents(a, b));
  b.UneTexture = textures.LaTexture(1);
  EXPECT_FALSE(TraitsEquivalents(a, b));
  EXPECT_FALSE(TraitsEquivalents(b, paroi));
}

TEST(ObjetTrait, Defauts) {
  TListeTextures textures;
  textures.InitDefaut();
  TListeMotifs traits(foundation::ClasseDe<TObjetTrait>(), TTypeMotif::tmTrait);
  TListeMotifs remplis(foundation::ClasseDe<tMotifRempli>(), TTypeMotif::tmRempli);
  traits.vListeTexture = remplis.vListeTexture = &textures;
  traits.InitDefaut();
  remplis.InitDefaut();
  struct Cas {
    const char* nom;
    uint32_t plume;
    TModePlume mode;
    MesPenStyle style;
    int32_t epaisseur;
    uint32_t pinceau;
    TStylePinceau brosse;
    bool lisse;
    int16_t num;
    int32_t coupe;
  };
  const auto C = TModePlume::pmCopy, X = TModePlume::pmNotXor;
  const Cas attendus[] = {
      {"Paroi", 0, C, MesPenStyle::mpsSolid, 3, 0xFFFFFF, TStylePinceau::bsSolid, false, -1, 2},
      {"Paroi lissée", 0, C, MesPenStyle::mpsSolid, 3, 0xFFFFFF, TStylePinceau::bsSolid, true, -1, 2},
      {"Pointillé", 0, C, MesPenStyle::mpsDash, 1, 0xFFFFFF, TStylePinceau::bsSolid, false, -1, 2},
      {"Pointillé lissé", 0, C, MesPenStyle::mpsDash, 1, 0xFFFFFF, TStylePinceau::bsSolid, true, -1, 2},
      {"Marche/Ressaut", 0, C, MesPenStyle::mpsDemiHachure, 3, 0xFFFFFF, TStylePinceau::bsSolid, true, -1, 2},
      {"limite eau", 0xFFFF00, C, MesPenStyle::mpsSolid, 1, 0xFFFFFF, TStylePinceau::bsSolid, true, -1, 2},
      {"Eau", 0xFFFF00, X, MesPenStyle::mpsSolid, 1, 0xFFFF00, TStylePinceau::bsSolid, true, 0, 2},
      {"Siphon", 0xFFFF00, X, MesPenStyle::mpsSolid, 1, 0xFFFF00, TStylePinceau::bsCross, true, 0, 0},
      {"Sable", 0, X, MesPenStyle::mpsSolid, 1, RGB(218, 185, 73), TStylePinceau::bsSolid, true, 1, 2},
  };
  ASSERT_EQ(traits.Count(), 6);
  ASSERT_EQ(remplis.Count(), 3);
  EXPECT_EQ(traits.NbreMotifsFixes, 6);
  EXPECT_EQ(remplis.NbreMotifsFixes, 3);
  for (int i = 0; i < 9; ++i) {
    const Cas& c = attendus[i];
    const TDefObjetTrait* t = i < 6 ? traits.LeTrait(i) : remplis.LeTrait(i - 6);
    EXPECT_EQ(t->DesignMotif, c.nom);
    EXPECT_EQ(t->CouleurPlume, c.plume) << c.nom;
    EXPECT_EQ(t->ModePlume, c.mode) << c.nom;
    EXPECT_EQ(t->StylePlume, c.style) << c.nom;
    EXPECT_EQ(t->EpaisseurPlume, c.epaisseur) << c.nom;
    EXPECT_EQ(t->CouleurPinceau, c.pinceau) << c.nom;
    EXPECT_EQ(t->StylePinceau, c.brosse) << c.nom;
    EXPECT_EQ(t->TraitLisse, c.lisse) << c.nom;
    EXPECT_EQ(t->NumMotif, c.num) << c.nom;
    EXPECT_EQ(t->CoupePlan, c.coupe) << c.nom;
    EXPECT_EQ(t->CouleurFonte, 0u) << c.nom;
    EXPECT_EQ(t->TypeMotif, i < 6 ? TTypeMotif::tmTrait : TTypeMotif::tmRempli) << c.nom;
  }
  EXPECT_EQ(remplis.LeTrait(2)->UneTexture, textures.LaTexture(0));
  EXPECT_THROW(traits.LeTrait(6), std::out_of_range);
}

TEST(ObjetTrait, TexturesDansLeFlux) {
  TListeTextures textures;
  textures.InitDefaut();
  TListeMotifs remplis(foundation::ClasseDe<tMotifRempli>(), TTypeMotif::tmRempli);
  remplis.vListeTexture = &textures;
  remplis.InitDefaut();
  remplis.LeTrait(0)->FixeTexture(textures.LaTexture(2));
  EXPECT_EQ(remplis.LeTrait(0)->NumMotif, 1);
  TFluxMemoire f;
  ASSERT_TRUE(remplis.EcritListe(f));
  EXPECT_EQ(remplis.LeTrait(0)->NumMotif, 3) << "texture position + 1";
  Niveau n(511);
  f.PlaceA(0);
  TListeMotifs lus(foundation::ClasseDe<tMotifRempli>(), TTypeMotif::tmRempli);
  lus.vListeTexture = &textures;
  ASSERT_TRUE(lus.LitListe(f));
  EXPECT_EQ(lus.LeTrait(0)->UneTexture, textures.LaTexture(2));
  EXPECT_EQ(lus.LeTrait(2)->UneTexture, textures.LaTexture(0));
  // A number beyond the texture list fails.
  TListeTextures deux;
  deux.InitDefaut();
  deux.Delete(2);
  lus.vListeTexture = &deux;
  f.PlaceA(0);
  EXPECT_FALSE(lus.LitListe(f));
}

TEST(ObjetTrait, PinceauEtEpaisseur) {
  TypeTrait t;
  t.StylePinceau = TStylePinceau::bsCross;
  t.NumMotif = -1;
  EXPECT_EQ(PinceauApplique(t), TStylePinceau::bsClear);
  t.NumMotif = 0;
  EXPECT_EQ(PinceauApplique(t), TStylePinceau::bsCross);
  t.EpaisseurPlume = 1;
  EXPECT_EQ(EpaisseurAppliquee(t, true, 1000, 500), 4);
  t.EpaisseurPlume = 3;
  EXPECT_EQ(EpaisseurAppliquee(t, true, 1000, 500), 12);
  EXPECT_EQ(EpaisseurAppliquee(t, false, 1000, 500), 3);
  EXPECT_EQ(EpaisseurAppliquee(t, true, 100, 5000), 3) << "never thinner than the style";
  EXPECT_EQ(StyleCrayonDeBase(MesPenStyle::mpsTirHachAlt), platform::PenStyle::Dash);
  EXPECT_EQ(StyleCrayonDeBase(MesPenStyle::mpsTriangle), platform::PenStyle::Solid);
  EXPECT_EQ(MesPenStyleDuCrayon(platform::PenStyle::DashDotDot), MesPenStyle::mpsSolid);
  EXPECT_EQ(NomMesPenStyle(MesPenStyle::mpsTirHachAlt), "Tiret Hachuré Alterné");
}

TEST(ObjetTrait, TraitsDegrades) {
  TypeTrait annexe;
  annexe.EpaisseurPlume = 2;
  annexe.StylePlume = MesPenStyle::mpsDot;
  const auto d = CalculeTraitsDegrades(annexe);
  struct Cas {
    int i;
    uint32_t r, g, b;
  };
  for (const Cas& c : {Cas{0, 255, 0, 0}, Cas{4, 142, 113, 113}, Cas{9, 0, 255, 255}}) {
    EXPECT_EQ(d[static_cast<size_t>(c.i)].CouleurPlume, RGB(c.r, c.g, c.b)) << c.i;
    EXPECT_EQ(d[static_cast<size_t>(c.i)].EpaisseurPlume, 2);
    EXPECT_EQ(d[static_cast<size_t>(c.i)].StylePlume, MesPenStyle::mpsDot);
  }
  CreeTraitsDegrades(annexe);
  EXPECT_EQ(Motifs().TraitsDegrades[9].CouleurPlume, RGB(0, 255, 255));
}

TEST(ObjetTrait, StylesIntegresEtCroquis) {
  ContexteMotifs& m = Motifs();
  EXPECT_EQ(m.TraitViseesSelectees.CodeMotif, 1u);
  EXPECT_EQ(m.TraitViseesSelectees.DesignMotif, "Visées Selectées");
  EXPECT_EQ(m.TraitFiligranePlein.ModePlume, TModePlume::pmNotXor);
  EXPECT_EQ(m.TraitParoi.DesignMotif, "Paroi");
  EXPECT_TRUE(m.TraitLigneConnectee.TraitLisse);
  struct Cas {
    int32_t index;
    uint32_t couleur;
  };
  for (const Cas& c : {Cas{-99, RGB(0, 0, 0)}, Cas{-97, RGB(128, 0, 0)}, Cas{-93, RGB(0, 128, 0)}}) {
    const TObjetTrait* t = TraitCroquis(c.index);
    ASSERT_NE(t, nullptr) << c.index;
    EXPECT_EQ(t->CouleurPlume, c.couleur) << c.index;
  }
  for (int32_t hors : {-100, -92, -2, -1000, 0}) EXPECT_EQ(TraitCroquis(hors), nullptr) << hors;
}

TEST(ObjetTrait, MotifSVGEtMemeApparence) {
  TMotifSVG s;
  s.epaisseur = 2.5;
  s.IndexEquiv = 3;
  s.DesignMotif = "svg";
  const std::string o = testmotifs::Octets(s);
  EXPECT_EQ(o.size(), 8u + 4 + 4 + 3 + 4 + 30);
  Niveau n(511);
  TFluxMemoire f(o);
  TMotifSVG lu;
  ASSERT_TRUE(lu.LitObjet(f));
  EXPECT_EQ(lu.epaisseur, 2.5);
  EXPECT_EQ(lu.IndexEquiv, 3);
  TObjetTrait a, b;
  b.DesignMotif = "autre";
  b.StylePlume = MesPenStyle::mpsDash;
  EXPECT_TRUE(a.MemeApparence(b));
  b.CouleurPinceau = 1;
  EXPECT_FALSE(a.MemeApparence(b));
}
