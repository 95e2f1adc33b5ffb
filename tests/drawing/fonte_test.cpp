// Fonts: record gates, defaults, the upgrade of older libraries and the two
// orderings.
#include <gtest/gtest.h>

#include "drawing/fonte.h"
#include "tests/drawing/outils_motifs.h"

using namespace drawing;
using foundation::TFluxMemoire;
using testmotifs::Niveau;

namespace {

// A font record as older levels store it: typeface, colour, size, style,
// name, [8 reserved], role.
std::string EnregistrementAncien(int niveau, int32_t taille) {
  TFluxMemoire f;
  foundation::EcritChaineA(f, "Arial");
  f.EcritInteger(0x0000FF);
  f.EcritInteger(taille);
  f.EcritOctet(2);
  foundation::EcritChaineA(f, "Titre");
  if (niveau >= 122) f.Ecrit("\xAA\xAA\xAA\xAA\xAA\xAA\xAA\xAA", 8);
  f.EcritOctet(3);
  return f.Octets();
}

std::vector<std::string> Noms(const TListeFontes& l) {
  std::vector<std::string> r;
  for (const TObjetMotifdeBase* m : l) r.push_back(m->DesignMotif);
  return r;
}

}  // namespace

TEST(Fonte, EnregistrementsAnciens) {
  struct Cas {
    int niveau;
    int32_t tailleEcrite, tailleLue;
  };
  const Cas cas[] = {{225, 49, 49}, {204, 49, 49}, {203, 49, 20}, {121, 49, 20}};
  for (const Cas& c : cas) {
    Niveau n(c.niveau);
    const std::string o = EnregistrementAncien(c.niveau, c.tailleEcrite);
    TFluxMemoire f(o);
    TFontObjetType t;
    ASSERT_TRUE(t.LitObjet(f)) << c.niveau;
    EXPECT_EQ(f.Restant(), 0u) << c.niveau;
    EXPECT_EQ(t.DesignMotif, "Titre");
    EXPECT_EQ(t.NomPolice, "Arial");
    EXPECT_EQ(t.Taille, c.tailleLue) << c.niveau;
    EXPECT_TRUE(t.Style.Contient(TStyleFonte::fsItalic));
    EXPECT_EQ(t.InfoTopoFnte, TInfotopo::tsitDist);
    // Every shorter record fails.
    for (size_t l = 0; l < o.size(); ++l) {
      TFluxMemoire court(o.substr(0, l));
      TFontObjetType u;
      EXPECT_FALSE(u.LitObjet(court)) << c.niveau << " cut at " << l;
    }
  }
}

TEST(Fonte, AllerRetour511EtBornes) {
  TFontObjetType t;
  t.DesignMotif = "Légende";
  t.NomPolice = "Times New Roman";
  t.Couleur = 0x123456;
  t.Taille = 17;
  t.Style = {TStyleFonte::fsBold, TStyleFonte::fsStrikeOut};
  t.InfoTopoFnte = TInfotopo::tsitIdStat;
  const std::string o = testmotifs::Octets(t);
  EXPECT_EQ(o.size(), 4u + 7 + 4 + 4 + 15 + 4 + 4 + 1 + 1);
  Niveau n(511);
  TFluxMemoire f(o);
  TFontObjetType r;
  ASSERT_TRUE(r.LitObjet(f));
  EXPECT_TRUE(r.EstEquivalent(t));
  EXPECT_EQ(r.Style.Bits_(), 9);
  EXPECT_EQ(r.InfoTopoFnte, TInfotopo::tsitIdStat);
  std::string mauvais = o;
  mauvais.back() = 5;
  TFluxMemoire g(mauvais);
  EXPECT_FALSE(r.LitObjet(g)) << "role out of range";
  mauvais = o;
  mauvais[mauvais.size() - 2] = 16;
  TFluxMemoire h(mauvais);
  EXPECT_FALSE(r.LitObjet(h)) << "unknown style bit";
}

TEST(Fonte, Defauts) {
  TListeFontes l;
  l.InitDefaut();
  EXPECT_EQ(l.NbreMotifsFixes, 11);
  const std::vector<std::string> attendu = {
      "Altitudes relatives", "Altitudes absolues", "Distance depuis l'entrée", "Id de la station",
      "Détails",             "Détails Gros",       "Galerie Petite",           "Galerie moyenne",
      "Galerie Principale",  "Titre",              "Titre1"};
  EXPECT_EQ(Noms(l), attendu);
  EXPECT_EQ(l.LaFonte(0)->InfoTopoFnte, TInfotopo::tsitAltRel);
  EXPECT_EQ(l.LaFonte(0)->CodeIdentFonte, 3);
  EXPECT_EQ(l.LaFonte(1)->Couleur, 0x0000FFu);
  EXPECT_EQ(l.LaFonte(2)->Couleur, 0xFF0000u);
  EXPECT_TRUE(l.LaFonte(2)->Style.Contient(TStyleFonte::fsItalic));
  EXPECT_EQ(l.LaFonte(3)->InfoTopoFnte, TInfotopo::tsitIdStat);
  EXPECT_FALSE(l.LaFonte(3)->Style.Contient(TStyleFonte::fsItalic));
  EXPECT_EQ(l.LaFonte(10)->Taille, 120);
  EXPECT_EQ(l.LaFonte(10)->CodeIdentFonte, 6);
  EXPECT_EQ(l.LaFonte(4)->NomPolice, "Times New Roman");
  EXPECT_EQ(l.LaFonte(11), nullptr);
  EXPECT_EQ(l.LaFonte(-1), nullptr);
}

TEST(Fonte, CompleteFontesInfoTopo) {
  const std::vector<std::string> tete = {"Altitudes relatives", "Altitudes absolues", "Distance depuis l'entrée",
                                         "Id de la station"};
  {
    TListeFontes l;
    l.AjouteMotif(CreeFonte("a", 10));
    l.AjouteMotif(CreeFonte("b", 10));
    l.CompleteFontesInfoTopo();
    ASSERT_EQ(l.Count(), 6);
    const std::vector<std::string> noms = Noms(l);
    EXPECT_EQ(std::vector<std::string>(noms.begin(), noms.begin() + 4), tete);
    EXPECT_EQ(l.LaFonte(4)->DesignMotif, "a");
  }
  {
    TListeFontes l;
    l.AjouteMotif(CreeFonte("a", 10));
    auto alti = CreeFonte("Cotes", 14);
    alti->InfoTopoFnte = TInfotopo::tsitAltRel;
    TFontObjetType* gardee = static_cast<TFontObjetType*>(l.AjouteMotif(std::move(alti)));
    l.AjouteMotif(CreeFonte("c", 10));
    l.CompleteFontesInfoTopo();
    ASSERT_EQ(l.Count(), 6) << "three added, one moved";
    const std::vector<std::string> noms = Noms(l);
    EXPECT_EQ(std::vector<std::string>(noms.begin(), noms.begin() + 4), tete);
    EXPECT_EQ(l.LaFonte(0), gardee);
    EXPECT_EQ(gardee->Taille, 14);
    EXPECT_EQ(gardee->CodeIdentFonte, 3);
    EXPECT_EQ(Noms(l)[4], "a");
    EXPECT_EQ(Noms(l)[5], "c");
  }
}

TEST(Fonte, LesDeuxTrisSontInverses) {
  TListeFontes l;
  l.InitDefaut();
  auto f = CreeFonte("Ajout", 8);
  f->InfoTopoFnte = TInfotopo::tsitDist;
  l.InsereMotif(6, std::move(f));
  const std::vector<std::string> avant = Noms(l);
  l.TrieFontesInfoTopo();
  const std::vector<std::string> apres = Noms(l);
  EXPECT_EQ(apres[0], "Détails");
  EXPECT_EQ(apres[6], "Titre1");
  EXPECT_EQ(apres[7], "Altitudes relatives");
  EXPECT_EQ(apres[11], "Ajout");
  l.TrieFontesNormal();
  EXPECT_EQ(Noms(l), avant);
}

TEST(Fonte, Equivalence) {
  auto a = CreeFonte("Titre", 20);
  auto b = CreeFonte("TITRE", 20);
  b->NomPolice = "times new roman";
  b->InfoTopoFnte = TInfotopo::tsitAltAbs;
  EXPECT_TRUE(a->EstEquivalent(*b));
  b->Style.Inclut(TStyleFonte::fsUnderline);
  EXPECT_FALSE(a->EstEquivalent(*b));
}
