// The page-layout record: the byte fixtures of fixtures/fabrique_mises_en_page.py
// read at each level gate, byte-identical round trips, the packed reference
// entrance, references bounded by the network and the library, and damaged
// records failing cleanly.
#include <gtest/gtest.h>

#include "platform/scripted_dialogs.h"
#include "tests/views/outils_vues.h"
#include "views/mise_en_page.h"

using namespace views;
using drawing::TTypeMotif;
using essaivues::Fixture;
using essaivues::Niveau;
using essaivues::Octets;
using essaivues::Reseau;
using foundation::TFluxMemoire;

namespace {

constexpr uint32_t Bits(std::initializer_list<int> kinds) {
  uint32_t b = 0;
  for (int k : kinds) b |= uint32_t(1) << k;
  return b;
}

std::unique_ptr<TMiseEnPage> Lit(const std::string& octets, int32_t niveau, bool* ok = nullptr) {
  Niveau n(niveau);
  TFluxMemoire f(octets);
  auto m = std::make_unique<TMiseEnPage>();
  const bool lu = m->LitObjet(f);
  if (ok) *ok = lu && f.Restant() == 0;
  return m;
}

}  // namespace

TEST(EnregistrementMiseEnPage, MiseEnPageVideSelonLaTable) {
  Reseau r;
  TMiseEnPage m;
  // Counts of 0, absent arrow with symbol -1, absent legend as its 16 bytes.
  const std::string o = Octets(m);
  EXPECT_EQ(essaivues::Hex(o), essaivues::Hex(Fixture("vide_511")));
  bool ok = false;
  auto relue = Lit(o, 511, &ok);
  EXPECT_TRUE(ok);
  EXPECT_EQ(Octets(*relue), o);
  EXPECT_TRUE(relue->FlecheN->EstNul());
  EXPECT_EQ(relue->FlecheN->FlecheSymb, nullptr);
  EXPECT_TRUE(relue->MotifsMep->EstNul());
}

TEST(EnregistrementMiseEnPage, NiveauCourantComplet) {
  Reseau r;
  bool ok = false;
  auto m = Lit(Fixture("511"), 511, &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ(m->Design, "Plan général");
  EXPECT_EQ(m->Imprimante, "HP LaserJet");
  EXPECT_EQ(m->FormatPapier, "A4");
  EXPECT_EQ(m->LargeurPapier, 190);
  EXPECT_EQ(m->HauteurPapier, 277);
  EXPECT_EQ(m->Echelle, 100000);  // 32 bits: 1:100000 survives
  EXPECT_EQ(m->FlecheN->Hauteur, 3000);
  EXPECT_EQ(m->FlecheN->FlecheSymb, drawing::Motifs().FlecheNordMag.get());  // Largeur 87: magnetic
  EXPECT_EQ(m->EchelleGraph->Largeur, 25);
  EXPECT_EQ(m->ObjetsImprimes, Bits({0, 6}));
  EXPECT_TRUE(m->Carroyage && !m->prnCadre && m->prnEnTete && !m->prnPiedPage);
  ASSERT_EQ(m->ListeCartouches.Count(), 1);
  EXPECT_EQ(m->Uncartouche(0)->Lignes, (std::vector<std::string>{"ligne 1", "été"}));
  EXPECT_EQ(m->Uncartouche(0)->Encadrement, 3);
  ASSERT_EQ(m->EchellesVert->Count(), 1);
  EXPECT_EQ(m->EchellesVert->UneEchelleV(0)->Longueur, 2000);
  EXPECT_EQ(m->EchellesVert->UneEchelleV(0)->ListeProprio, m->EchellesVert.get());
  EXPECT_TRUE(m->EchellesVert->UneEchelleV(0)->ChiffreDr);
  EXPECT_EQ(m->EchellesVert->PasEchelle, 10);
  EXPECT_EQ(m->EnTete.SectionD, "#NumPage&/#NbrePages&");
  EXPECT_EQ(m->PiedPage.SectionC, "b");
  ASSERT_EQ(m->ListePages.Count(), 2);
  EXPECT_DOUBLE_EQ(m->UnePage(1)->PointBasReel.X, 500.5);
  EXPECT_FALSE(m->UnePage(1)->Vertical);
  EXPECT_EQ(m->ListeCavites, (std::vector<int32_t>{1, 2}));  // cave 7 is not in the network
  EXPECT_EQ(m->CodeFormatP, 9);
  EXPECT_EQ(m->CavitRef, 2);
  EXPECT_EQ(m->EntreeRef, 2);
  EXPECT_EQ(m->TypeAltitude, 2);
  EXPECT_TRUE(m->ListeCoupesAlti.Cadre);
  EXPECT_EQ(*m->MotifsMasques(TTypeMotif::tmTrait), TListeMotifsMasques{r.mtf->ListeTraits.UnObjet(1)});
  EXPECT_EQ(*m->MotifsMasques(TTypeMotif::tmSymbole), TListeMotifsMasques{r.mtf->ListeSymboles.UnObjet(0)});
  // Font 0, none for 99 (out of the list), nothing for -1.
  EXPECT_EQ(*m->MotifsMasques(TTypeMotif::tmFonte), (TListeMotifsMasques{r.mtf->ListeFontes.UnObjet(0), nullptr}));
  EXPECT_EQ(m->CarteMep, "carte.jpg");
  ASSERT_EQ(m->ListeRastersMep.Count(), 1);
  EXPECT_EQ(m->UnRasterMep(0)->NomRaster, "scan.png");
  EXPECT_TRUE(m->UnRasterMep(0)->Encadre);
  EXPECT_EQ(m->MotifsMep->TitreListe, "Légende");
  EXPECT_EQ(m->MotifsMep->FonteTitre->NomPolice, "Arial");
  EXPECT_DOUBLE_EQ(m->MotifsMep->CoeffVisu, 1.5);
  EXPECT_EQ(m->MotifsMep->ListeMotifsMep,
            (std::vector<drawing::TObjetMotifdeBase*>{r.mtf->ListeTraits.UnObjet(0), r.mtf->ListeSymboles.UnObjet(0)}));
  ASSERT_EQ(m->ListeMasquesMep.Count(), 1);
  EXPECT_EQ(m->ListeMasquesMep.UnObjet(0)->Largeur, 1);
}

TEST(EnregistrementMiseEnPage, PortesDeNiveau) {
  Reseau r;
  struct Cas {
    const char* fichier;
    int32_t niveau;
    bool carte, rasters, encadre, legende, masques, stylesMasques, fontesMasquees;
  };
  const Cas cas[] = {
      {"511", 511, true, true, true, true, true, true, true},
      {"506", 506, true, true, true, true, true, false, true},
      {"501", 501, true, true, true, true, false, false, true},  // 40-byte page corners
      {"500", 500, true, true, false, false, false, false, true},
      {"226", 226, true, true, false, false, false, false, true},  // read as 500
      {"225", 225, true, true, true, true, false, false, true},
      {"217", 217, true, false, false, false, false, false, true},
      {"214", 214, false, false, false, false, false, false, true},
      {"213", 213, false, false, false, false, false, false, false},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.fichier);
    bool ok = false;
    auto m = Lit(Fixture(c.fichier), c.niveau, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(m->CarteMep, c.carte ? "carte.jpg" : "");
    EXPECT_EQ(m->ListeRastersMep.Count(), c.rasters ? 1 : 0);
    if (c.rasters) {
      EXPECT_EQ(m->UnRasterMep(0)->Encadre, c.encadre);
    }
    EXPECT_EQ(!m->MotifsMep->EstNul(), c.legende);
    EXPECT_EQ(m->MotifsMep->ListeMotifsMep.size(), c.legende ? 2u : 0u);
    EXPECT_EQ(m->ListeMasquesMep.Count(), c.masques ? 1 : 0);
    EXPECT_EQ(m->MotifsMasques(TTypeMotif::tmTrait)->size(), c.stylesMasques ? 1u : 0u);
    EXPECT_EQ(m->MotifsMasques(TTypeMotif::tmFonte)->size(), c.fontesMasquees ? 2u : 0u);
    EXPECT_DOUBLE_EQ(m->UnePage(0)->PointHautReel.Y, 200.5);
    EXPECT_EQ(m->UnePage(1)->PointHautReel.Num, 3u);
    EXPECT_EQ(m->CavitRef, 2);
  }
}

TEST(EnregistrementMiseEnPage, SymboleDeLaFlecheSelonLeNiveau) {
  Reseau r;
  // At 216 the stored 0 is the library's symbol 0; from 217 it is the
  // built-in arrow; below 216 a present arrow gets the built-in arrow.
  EXPECT_EQ(Lit(Fixture("216"), 216)->FlecheN->FlecheSymb, r.mtf->ListeSymboles.UnObjet(0));
  EXPECT_EQ(Lit(Fixture("217"), 217)->FlecheN->FlecheSymb, drawing::Motifs().FlecheNordMag.get());
  EXPECT_EQ(Lit(Fixture("213"), 213)->FlecheN->FlecheSymb, drawing::Motifs().FlecheNordMag.get());

  // A library arrow is stored as 1 + its position and read back.
  TMiseEnPage m;
  m.FlecheN->Hauteur = 10;
  m.FlecheN->Largeur = -1;
  m.FlecheN->FlecheSymb = r.mtf->ListeFlNord.LeSymbole(0);
  const std::string o = Octets(m);
  EXPECT_EQ(essaivues::Hex(o.substr(12 + 8 + 4, 20)), "00 00 00 00 00 00 00 00 0A 00 00 00 FF FF FF FF 01 00 00 00");
  EXPECT_EQ(Lit(o, 511)->FlecheN->FlecheSymb, r.mtf->ListeFlNord.LeSymbole(0));
  // A number past the list reads as no symbol.
  std::string abime = o;
  abime[12 + 8 + 4 + 16] = 9;
  EXPECT_EQ(Lit(abime, 511)->FlecheN->FlecheSymb, nullptr);
}

TEST(EnregistrementMiseEnPage, RenumerotationDesTypesImprimes) {
  Reseau r;
  EXPECT_EQ(Lit(Fixture("220"), 220)->ObjetsImprimes, Bits({0, 7}));
  EXPECT_EQ(Lit(Fixture("223"), 223)->ObjetsImprimes, Bits({6}));
  EXPECT_EQ(Lit(Fixture("223_quadrillage"), 223)->ObjetsImprimes, Bits({7, 11}));
  EXPECT_EQ(Lit(Fixture("511"), 511)->ObjetsImprimes, Bits({0, 6}));
  // The drawing of cross sections and offset parts brings their frames.
  TMiseEnPage m;
  m.ObjetsImprimes = Bits({18, 24});
  EXPECT_EQ(Lit(Octets(m), 511)->ObjetsImprimes, Bits({16, 18, 21, 24}));
}

TEST(EnregistrementMiseEnPage, AllerRetourIdentique) {
  Reseau r;
  auto m = Lit(Fixture("511"), 511);
  // The fixture holds references that the writer drops (a masked font out of
  // the library, a hidden cave not in the network): the first write is the
  // clean form, which then survives unchanged.
  const std::string o1 = Octets(*m);
  auto relue = Lit(o1, 511);
  EXPECT_EQ(Octets(*relue), o1);
  EXPECT_EQ(relue->MotifsMasques(TTypeMotif::tmFonte)->size(), 1u);
  EXPECT_EQ(relue->Echelle, 100000);
  EXPECT_EQ(relue->IndexEntree, 200003);
}

TEST(EnregistrementMiseEnPage, EntreeDeReference) {
  Reseau r(3, 200000);
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde(dialogues);
  struct Cas {
    int32_t cavite, entree, attendu;
    bool signale;
  };
  const Cas cas[] = {
      {-1, -1, -1, false},          // none
      {0, 0, -1, false},            // the surface cave is no reference
      {5, 5, -1, false},            // not in the network
      {2, -1, 200000, false},       // cave without entrance
      {2, 2, 200003, false},        // cave 2, station 2
      {2, 1, 200000, false},        // station 1 is not an entrance of cave 2
      {1, 1, 100002, false},
  };
  for (const Cas& c : cas) {
    TMiseEnPage m;
    m.CavitRef = c.cavite;
    m.EntreeRef = c.entree;
    Octets(m);
    EXPECT_EQ(m.IndexEntree, c.attendu) << c.cavite << " " << c.entree;
  }
  EXPECT_TRUE(dialogues.Messages().empty());

  // An entrance number that does not fit the packed form: stored without
  // entrance, and said.
  views::Ports().EstEntreeDeCavite = [](int, int32_t) { return true; };
  TMiseEnPage m;
  m.Design = "Coupe";
  m.CavitRef = 2;
  m.EntreeRef = 99999;
  const std::string o = Octets(m);
  EXPECT_EQ(m.IndexEntree, 200000);
  ASSERT_EQ(dialogues.Messages().size(), 1u);
  EXPECT_NE(dialogues.Messages()[0].find("\"Coupe\""), std::string::npos);
  auto relue = Lit(o, 511);
  EXPECT_EQ(relue->CavitRef, 2);
  EXPECT_EQ(relue->EntreeRef, -1);
}

TEST(EnregistrementMiseEnPage, EntreeHorsDuReseauLueCommeAucune) {
  Reseau r(3, 2);  // two stations: the stored station 2 is past the end
  auto m = Lit(Fixture("511"), 511);
  EXPECT_EQ(m->CavitRef, 2);
  EXPECT_EQ(m->EntreeRef, -1);
  Reseau r2(2, 5);  // cave 2 is not in the network
  m = Lit(Fixture("511"), 511);
  EXPECT_EQ(m->CavitRef, -1);
  EXPECT_EQ(m->EntreeRef, -1);
  EXPECT_EQ(m->ListeCavites, (std::vector<int32_t>{1}));
}

TEST(EnregistrementMiseEnPage, BlocsAltimetriques) {
  Reseau r;
  TMiseEnPage m;
  m.ListeCoupesAlti.FonteLegendes = r.mtf->ListeFontes.LaFonte(3);
  const auto bloc = [&](int32_t cavite, int32_t coupe, int32_t entree) {
    auto b = std::make_unique<TCoupeAlti>();
    b->XOrig = 7;
    b->Hauteur = b->Largeur = 100;
    b->Legende = {"Coupe A"};
    b->CaviteRef = cavite;
    b->CoupeRef = coupe;
    b->CAltEntreeRef = entree;
    b->CAltTypeAltitude = 1;
    return m.ListeCoupesAlti.Add(std::move(b));
  };
  bloc(2, 1, 2);
  bloc(1, 0, 2);   // station 2 is not an entrance of cave 1
  bloc(2, 5, 2);   // cave 2 has three long sections: dropped
  bloc(-1, 0, 2);  // no cave: dropped
  const std::string o = Octets(m);
  EXPECT_EQ(m.ListeCoupesAlti.Count(), 2);
  auto relue = Lit(o, 511);
  ASSERT_EQ(relue->ListeCoupesAlti.Count(), 2);
  const TCoupeAlti* a = relue->UneCoupeAlti(0);
  EXPECT_EQ(a->CaviteRef, 2);
  EXPECT_EQ(a->CoupeRef, 1);
  EXPECT_EQ(a->CAltEntreeRef, 2);
  EXPECT_EQ(a->CAltTypeAltitude, 1);
  EXPECT_EQ(a->Legende, std::vector<std::string>{"Coupe A"});
  EXPECT_EQ(relue->UneCoupeAlti(1)->CAltEntreeRef, -1);
  EXPECT_EQ(relue->ListeCoupesAlti.FonteLegendes, r.mtf->ListeFontes.LaFonte(3));
  EXPECT_EQ(Octets(*relue), o);
  // Long sections renumbered while cave 2 was read: one lower.
  r.CaviteDecalee = 2;
  relue = Lit(o, 511);
  EXPECT_EQ(relue->UneCoupeAlti(0)->CoupeRef, 0);
}

TEST(EnregistrementMiseEnPage, LegendeNeGardeQueLesMotifsDeLaBibliotheque) {
  Reseau r;
  drawing::tListeMtf autre(0);
  autre.InitDefaut();
  TMiseEnPage m;
  m.MotifsMep->Hauteur = m.MotifsMep->Largeur = 50;
  m.MotifsMep->ListeMotifsMep = {r.mtf->ListeRemplis.UnObjet(1), nullptr, autre.ListeTraits.UnObjet(0),
                                 r.mtf->ListeFontes.UnObjet(0), r.mtf->ListeSymboles.UnObjet(2)};
  const std::string o = Octets(m);
  EXPECT_EQ(m.MotifsMep->ListeMotifsMep,
            (std::vector<drawing::TObjetMotifdeBase*>{r.mtf->ListeRemplis.UnObjet(1), r.mtf->ListeSymboles.UnObjet(2)}));
  EXPECT_EQ(Lit(o, 511)->MotifsMep->ListeMotifsMep, m.MotifsMep->ListeMotifsMep);
}

TEST(EnregistrementMiseEnPage, EnregistrementsAbimesEchouentProprement) {
  Reseau r;
  const std::string complet = Fixture("511");
  // Every truncation fails without reading past the end.
  for (size_t n = 0; n < complet.size(); ++n) {
    bool ok = true;
    Lit(complet.substr(0, n), 511, &ok);
    EXPECT_FALSE(ok) << n;
  }
  // Huge counts fail at once, whatever field they are in.
  for (size_t p = 0; p + 4 <= complet.size(); p += 4) {
    std::string abime = complet;
    abime.replace(p, 4, std::string("\xFF\xFF\xFF\x7F", 4));
    Lit(abime, 511);
  }
}
