// What other parts of the program call on a layout: header and footer codes,
// the north-arrow year text, the deep copy, the merges and relocations of
// patterns, the envelope of the pages, masking, and the layout lists.
#include <gtest/gtest.h>

#include "drawing/ports_motifs.h"
#include "foundation/dates.h"
#include "platform/text_log_canvas.h"
#include "tests/views/outils_vues.h"
#include "views/mise_en_page.h"

using namespace views;
using drawing::TObjetMotifdeBase;
using drawing::TTypeMotif;
using essaivues::Octets;
using essaivues::Reseau;

TEST(OperationsMiseEnPage, CodesDEnTeteEtDePied) {
  Reseau r;
  TMiseEnPage m;
  m.Echelle = 1000;
  for (int i = 0; i < 3; ++i) m.ListePages.Add(std::make_unique<TPageSemis>());
  struct Cas {
    const char* brut;
    int page;
    std::string attendu;
  };
  const Cas cas[] = {
      {"#NumPage&/#NbrePages&", 2, "2/3"},
      {"#Echelle&", 1, "1/1000"},
      {"#Date&", 1, foundation::DateEnTexte(foundation::Aujourdhui())},
      {"#Fichier& - #Reseau& - #Cavite&", 1, "/cartes/Trou.cav - Réseau du Trou - Grotte"},
      {"p#NumPage&, p#NumPage&", 3, "p3, p3"},
      {"#numpage&", 1, "#numpage&"},  // codes are case-sensitive
      {"", 1, ""},
  };
  for (const Cas& c : cas) EXPECT_EQ(m.TetePiedPageTxt(c.brut, c.page), c.attendu) << c.brut;
  EXPECT_EQ(foundation::DateEnTexte(foundation::Aujourdhui()).size(), 10u);  // dd/mm/yyyy
  m.Echelle = 100000;
  EXPECT_EQ(m.TetePiedPageTxt("#Echelle&", 1), "1/100000");
}

TEST(OperationsMiseEnPage, ImprimeTetePied) {
  Reseau r;
  TMiseEnPage m;
  m.ListePages.Add(std::make_unique<TPageSemis>());
  platform::TextLogCanvas canvas(1000, 100);  // 7 pixels per character
  TTetePiedPage tp{"G", "#NumPage&/#NbrePages&", "droite"};
  m.ImprimeTetePied(tp, canvas, 1, 900, 20, 100);
  ASSERT_EQ(canvas.Log.size(), 3u);
  EXPECT_NE(canvas.Log[0].find("100,20"), std::string::npos) << canvas.Log[0];
  // "1/1" is 21 pixels wide: starts at round(500 - 10.5) = 490 (half to even).
  EXPECT_NE(canvas.Log[1].find("490,20"), std::string::npos) << canvas.Log[1];
  EXPECT_NE(canvas.Log[2].find("858,20"), std::string::npos) << canvas.Log[2];
}

TEST(OperationsMiseEnPage, TexteDeLaFlecheNord) {
  struct Cas {
    const char* texte;
    int32_t largeur;
    const char* attendu;
  };
  const Cas cas[] = {
      {"Nm __", 87, "Nm 87"}, {"Nm __", 5, "Nm 5"},   {"Nm __", 100, "Nm 10"},
      {"Nm ____", 24, "Nm 24"}, {"N", 87, "N"},       {"__ Nm", 7, "7  Nm"},
  };
  for (const Cas& c : cas) EXPECT_EQ(CreeTexteFlecheN(c.texte, c.largeur), c.attendu) << c.texte << c.largeur;

  TFlecheN f;
  f.Largeur = 87;
  f.FlecheSymb = drawing::Motifs().FlecheNordMag.get();
  std::string sauve, texte;
  f.CreeTexteFlecheN(sauve, texte);
  EXPECT_EQ(sauve, f.FlecheSymb->TexteSymbol);
  EXPECT_EQ(texte, "Nm 87");
}

TEST(OperationsMiseEnPage, CopieProfondeEtIndependante) {
  Reseau r;
  TMiseEnPage s;
  s.Design = "Plan";
  s.Echelle = 250;
  s.CavitRef = 1;
  s.EntreeRef = 1;
  s.FlecheN->Hauteur = 30;
  s.FlecheN->FlecheSymb = drawing::Motifs().FlecheNordGeo.get();
  s.EchellesVert->PasEchelle = 5;
  TEchelleVert* e = s.EchellesVert->AjouteEchelleV();
  e->Longueur = 1234;
  e->ChiffreDr = true;
  auto c = std::make_unique<TCartouche>();
  c->Lignes = {"Titre"};
  s.ListeCartouches.Add(std::move(c));
  s.ListeCartouches.Add(std::make_unique<TCartouche>());  // empty: not copied
  auto b = std::make_unique<TCoupeAlti>();
  b->CaviteRef = 2;
  b->CoupeRef = 1;
  s.ListeCoupesAlti.Add(std::move(b));
  s.ListeCoupesAlti.Cadre = true;
  s.MotifsMasques(TTypeMotif::tmTrait)->assign({r.mtf->ListeTraits.UnObjet(0), nullptr});
  s.MotifsMep->Hauteur = 10;
  s.MotifsMep->FonteTitre->NomPolice = "Verdana";
  s.MotifsMep->ListeMotifsMep = {r.mtf->ListeRemplis.UnObjet(0)};
  auto p = std::make_unique<TPageSemis>();
  p->PointHautReel.X = 12;
  p->NumPage = 1;
  s.ListePages.Add(std::move(p));
  s.ListeCavites = {1};
  s.CarteMep = "fond.jpg";
  s.ModifMEP = true;

  TMiseEnPage d;
  CopieMiseEnPage(s, d, true);
  EXPECT_EQ(d.Design, "Plan");
  EXPECT_EQ(d.CavitRef, 1);
  EXPECT_EQ(d.FlecheN->FlecheSymb, s.FlecheN->FlecheSymb);
  ASSERT_EQ(d.EchellesVert->Count(), 1);
  EXPECT_NE(d.EchellesVert->UneEchelleV(0), e);
  EXPECT_EQ(d.EchellesVert->UneEchelleV(0)->Longueur, 1234);
  EXPECT_EQ(d.EchellesVert->UneEchelleV(0)->ListeProprio, d.EchellesVert.get());
  EXPECT_EQ(d.ListeCartouches.Count(), 1);
  EXPECT_TRUE(d.UneCoupeAlti(0)->CAltCadre);
  EXPECT_EQ(*d.MotifsMasques(TTypeMotif::tmTrait), TListeMotifsMasques{r.mtf->ListeTraits.UnObjet(0)});
  EXPECT_EQ(d.MotifsMep->FonteTitre->NomPolice, "Verdana");
  EXPECT_NE(d.MotifsMep->FonteTitre.get(), s.MotifsMep->FonteTitre.get());
  ASSERT_EQ(d.ListePages.Count(), 1);
  EXPECT_NE(d.UnePage(0), s.UnePage(0));
  EXPECT_TRUE(d.ModifMEP);

  // Changing the copy leaves the source as it was.
  d.Uncartouche(0)->Lignes.push_back("autre");
  d.EchellesVert->UneEchelleV(0)->Longueur = 1;
  d.UnePage(0)->PointHautReel.X = 99;
  d.MotifsMep->FonteTitre->NomPolice = "Arial";
  EXPECT_EQ(s.Uncartouche(0)->Lignes.size(), 1u);
  EXPECT_EQ(e->Longueur, 1234);
  EXPECT_EQ(s.UnePage(0)->PointHautReel.X, 12);
  EXPECT_EQ(s.MotifsMep->FonteTitre->NomPolice, "Verdana");

  // Without pages, the pages of the destination stay.
  TMiseEnPage d2;
  d2.ListePages.Add(std::make_unique<TPageSemis>());
  d2.ListePages.Add(std::make_unique<TPageSemis>());
  CopieMiseEnPage(s, d2, false);
  EXPECT_EQ(d2.ListePages.Count(), 2);
  // Without the empty title block, the copy writes the same record.
  s.ListeCartouches.Delete(1);
  TMiseEnPage d3;
  CopieMiseEnPage(s, d3, true);
  EXPECT_EQ(Octets(d3), Octets(s));
}

TEST(OperationsMiseEnPage, FusionDesMotifsDeLaLegende) {
  Reseau r;
  TObjetMotifdeBase* a = r.mtf->ListeTraits.UnObjet(0);
  TObjetMotifdeBase* b = r.mtf->ListeTraits.UnObjet(1);
  TObjetMotifdeBase* c = r.mtf->ListeTraits.UnObjet(2);
  using L = std::vector<TObjetMotifdeBase*>;
  struct Cas {
    L avant;
    bool present;
    L apres;
  };
  // Keep a, merge b.
  const Cas cas[] = {
      {{c, b, b}, true, {c, a, b}},   // a absent: the first b takes its place
      {{a, b, c, b}, true, {a, c}},   // a listed: every b goes
      {{c}, true, {c}},               // nothing to merge
      {{b}, false, {b}},              // an absent legend is left alone
  };
  for (const Cas& k : cas) {
    TMotifsMep l;
    if (k.present) l.Hauteur = l.Largeur = 1;
    l.ListeMotifsMep = k.avant;
    l.FusionneMotifs(a, b);
    EXPECT_EQ(l.ListeMotifsMep, k.apres);
  }
}

TEST(OperationsMiseEnPage, FusionDansLaMiseEnPage) {
  Reseau r;
  TMiseEnPage m;
  drawing::TObjetMotifdeBase* fleche = r.mtf->ListeFlNord.UnObjet(0);
  drawing::TObjetMotifdeBase* autreFleche = drawing::Motifs().FlecheNordGeo.get();
  // An absent arrow is left alone.
  m.FlecheN->FlecheSymb = static_cast<drawing::TSymbole*>(fleche);
  m.FusionneFlecheN(autreFleche, fleche);
  EXPECT_EQ(m.FlecheN->FlecheSymb, fleche);
  m.FlecheN->Hauteur = m.FlecheN->Largeur = 5;
  m.FusionneFlecheN(autreFleche, fleche);
  EXPECT_EQ(m.FlecheN->FlecheSymb, autreFleche);

  // Masked lists, the legend (even absent) and the block font follow a merge.
  TObjetMotifdeBase* f0 = r.mtf->ListeFontes.UnObjet(0);
  TObjetMotifdeBase* f1 = r.mtf->ListeFontes.UnObjet(1);
  m.MotifsMasques(TTypeMotif::tmFonte)->assign({f1, f0});
  m.ListeCoupesAlti.FonteLegendes = static_cast<drawing::TFontObjetType*>(f1);
  m.MotifsMep->ListeMotifsMep = {f1};
  m.FusionneMotifs(f0, f1);
  EXPECT_EQ(*m.MotifsMasques(TTypeMotif::tmFonte), TListeMotifsMasques{f0});
  EXPECT_EQ(m.ListeCoupesAlti.FonteLegendes, f0);
  EXPECT_EQ(m.MotifsMep->ListeMotifsMep, std::vector<TObjetMotifdeBase*>{f0});
}

TEST(OperationsMiseEnPage, RelogementDesReferences) {
  Reseau r;
  drawing::tListeMtf nouvelle(0);
  nouvelle.InitDefaut();
  drawing::TRelogeMotifs reloge(r.mtf.get());
  reloge.Associe(r.mtf->ListeTraits.UnObjet(0), nouvelle.ListeTraits.UnObjet(0));
  reloge.Associe(r.mtf->ListeTraits.UnObjet(1), nullptr);  // gone
  TMiseEnPage m;
  m.MotifsMep->ListeMotifsMep = {r.mtf->ListeTraits.UnObjet(0), r.mtf->ListeTraits.UnObjet(1)};
  m.MotifsMasques(TTypeMotif::tmTrait)->assign({r.mtf->ListeTraits.UnObjet(0)});
  m.RelogeMotifs(reloge);
  EXPECT_EQ(m.MotifsMep->ListeMotifsMep, std::vector<TObjetMotifdeBase*>{nouvelle.ListeTraits.UnObjet(0)});
  EXPECT_EQ(*m.MotifsMasques(TTypeMotif::tmTrait), TListeMotifsMasques{nouvelle.ListeTraits.UnObjet(0)});
}

TEST(OperationsMiseEnPage, EnveloppeEtMasquage) {
  Reseau r;
  foundation::GardeTransfo garde;
  foundation::Vue().Xmin = 100;
  foundation::Vue().Ymin = 50;
  TMiseEnPage m;
  EXPECT_FALSE(m.CalculeEnveloppe());
  const auto page = [&](double x1, double y1, double x2, double y2) {
    auto p = std::make_unique<TPageSemis>();
    p->PointHautReel.X = x1;
    p->PointHautReel.Y = y1;
    p->PointBasReel.X = x2;
    p->PointBasReel.Y = y2;
    m.ListePages.Add(std::move(p));
  };
  page(100, 200, 300, 100);
  page(250, 250, 400, 150);
  ASSERT_TRUE(m.CalculeEnveloppe());
  EXPECT_EQ(m.EnvelMEP, (foundation::TRect{0, 200000, 300000, 50000}));

  m.MotifsMasques(TTypeMotif::tmSymbole)->assign({r.mtf->ListeSymboles.UnObjet(1)});
  r.mtf->ListeSymboles.UnObjet(0)->MotifMasque = true;
  m.MasqueMotifs();
  EXPECT_FALSE(r.mtf->ListeSymboles.UnObjet(0)->MotifMasque);
  EXPECT_TRUE(r.mtf->ListeSymboles.UnObjet(1)->MotifMasque);
}

TEST(OperationsMiseEnPage, ListesParTypeDeDessin) {
  TListeMisesEnPage plan, coupe;
  plan.Add(std::make_unique<TMiseEnPage>())->Design = "plan";
  coupe.Add(std::make_unique<TMiseEnPage>())->Design = "coupe";
  GardeListeMisesEnPage g1(foundation::TTypeDeDessin::tddPlani, &plan);
  EXPECT_EQ(UneMiseEnPage(0)->Design, "plan");
  EXPECT_EQ(UneMiseEnPage(1), nullptr);
  {
    GardeListeMisesEnPage g2(foundation::TTypeDeDessin::tddAltiDev, &coupe);
    foundation::GardeTypeDessin t(foundation::TTypeDeDessin::tddAltiDev);
    EXPECT_EQ(UneMiseEnPage(0)->Design, "coupe");
  }
  EXPECT_EQ(MisesEnPage().Liste(foundation::TTypeDeDessin::tddAltiDev), nullptr);
  foundation::GardeTypeDessin t(foundation::TTypeDeDessin::tddCoupe);
  EXPECT_EQ(UneMiseEnPage(0), nullptr);
}
