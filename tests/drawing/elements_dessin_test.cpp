// Lines, fills, texts and symbols: their records with the gates of older
// levels, pattern references, survey labels and the computations of texts and
// fixed-size symbols.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "drawing/contexte_motifs.h"
#include "drawing/elements_dessin.h"
#include "drawing/liste_donnees_dessin.h"
#include "drawing/ports_motifs.h"
#include "tests/drawing/outils_dessin.h"
#include "tests/drawing/outils_motifs.h"
#include "tests/support/dossier_temp.h"

namespace {

using namespace testdessin;
using foundation::TFluxMemoire;

std::string Fixture(const std::string& nom) {
  return testsupport::LitOctets(std::string(GRAVELUNE_SOURCE_DIR) + "/tests/drawing/fixtures/" + nom);
}

// The network of the fixtures (fabrique_dessins.py).
class Elements : public ::testing::Test, protected ReseauDesFixtures {
 protected:
  template <class T>
  std::unique_ptr<T> Lit(const std::string& octets, int32_t niveau, uint64_t* reste = nullptr) {
    testmotifs::Niveau n(niveau);
    TFluxMemoire f(octets);
    auto e = std::make_unique<T>();
    const bool ok = e->LitObjet(f);
    if (reste) *reste = f.Restant();
    return ok ? std::move(e) : nullptr;
  }
};

TEST_F(Elements, WatermarkedLineOfOlderLevels) {
  struct Case {
    int32_t niveau;
    bool cercle;
  };
  for (const Case c : {Case{204, false}, Case{505, true}, Case{506, true}}) {
    uint64_t reste = 0;
    auto l = Lit<TObjetDonneesBasique>(Fixture("ligne_filigrane_" + std::to_string(c.niveau) + ".bin"), c.niveau,
                                       &reste);
    ASSERT_TRUE(l) << c.niveau;
    // Exactly the record: only the byte after it is left.
    EXPECT_EQ(reste, 1u) << c.niveau;
    EXPECT_TRUE(l->EstFiligrane) << c.niveau;
    EXPECT_EQ(l->EstCercle, c.cercle) << c.niveau;
    EXPECT_EQ(l->MotifDessin, contexte.bibliotheque.UnTrait(1)) << c.niveau;
    EXPECT_EQ(l->EchelleInitiale, 1.5);
    // Below level 509 a point's shot is in the last cave registered: shot 1
    // of "Grotte B"; that cave has no shot 2.
    ASSERT_EQ(l->Points.Count(), 2);
    EXPECT_EQ(l->LePointDessin(0)->VisRefDessin, b->LaVisee(1));
    EXPECT_EQ(l->LePointDessin(1)->VisRefDessin, nullptr);
  }
}

TEST_F(Elements, SketchColourLineKeepsItsColourAndSumsInAndOutOfASketch) {
  const std::string octets = Fixture("ligne_croquis.bin");
  for (bool croquis : {false, true}) {
    GardeValeur<bool> g(Dessin().ContexteCroquis, croquis);
    auto l = Lit<TObjetDonneesBasique>(octets, 511);
    ASSERT_TRUE(l) << croquis;
    EXPECT_EQ(l->CouleurPkTp, 3);
    EXPECT_EQ(l->MotifDessin, TraitCroquis(-97));
    EXPECT_EQ(l->SommePlani, 12.5);
    EXPECT_EQ(l->SommeAlti, 12.25);
    EXPECT_EQ(l->SommeN1, 3.0);
    EXPECT_EQ(l->SommeN2, 4.0);
    EXPECT_EQ(testmotifs::Octets(*l), octets) << croquis;
  }
  // Made by an importer: colour 3, points placed, sums measured.
  TObjetDonneesBasique l;
  l.CouleurPkTp = 3;
  l.MotifDessin = const_cast<TObjetTrait*>(TraitCroquis(-97));
  l.AjoutePointDessin(false, 0, 0);
  l.AjoutePointDessin(false, 3, 4);
  l.CalculeSommesCtrl();
  EXPECT_EQ(l.SommePlani, 5);
  EXPECT_EQ(l.SommeAlti, 5);
  GardeValeur<bool> g(Dessin().ContexteCroquis, true);
  const std::string ecrit = testmotifs::Octets(l);
  EXPECT_EQ(testmotifs::Hex(ecrit.substr(4 + 2 * 24, 8)), "FF FF FF FF 9F FF FF FF");
}

TEST_F(Elements, PatternReferences) {
  tListeMtf& doc = contexte.bibliotheque;
  tListeMtf& therion = *Motifs().ListesMtfTherion;
  struct Case {
    const char* nom;
    TGenreMotifElement genre;
    int32_t origine, index;
    TObjetMotifdeBase* attendu;
    bool lu = true;
  };
  const Case cases[] = {
      {"document line style", TGenreMotifElement::Trait, 0, 2, doc.UnTrait(2)},
      {"Therion line style", TGenreMotifElement::Trait, 1, 3, therion.UnTrait(3)},
      {"no pattern", TGenreMotifElement::Trait, 0, -1, nullptr},
      {"line fallback", TGenreMotifElement::Trait, -1, 4, &Motifs().TraitNonTrouve},
      {"fill fallback", TGenreMotifElement::Rempli, -1, -1, &Motifs().RempliNonTrouve},
      {"symbol fallback", TGenreMotifElement::Symbole, -1, 0, Motifs().SymboleDeSecours()},
      {"document fill", TGenreMotifElement::Rempli, 0, 1, doc.UnRempli(1)},
      {"document symbol", TGenreMotifElement::Symbole, 0, 6, doc.UnSymbole(6)},
      {"index past the list", TGenreMotifElement::Trait, 0, 6, nullptr, false},
      {"fill index past the list", TGenreMotifElement::Rempli, 0, 3, nullptr, false},
  };
  for (const Case& c : cases) {
    std::unique_ptr<TObjetDonneesBasique> e;
    if (c.genre == TGenreMotifElement::Rempli) {
      auto r = std::make_unique<TObjetDonneesRemplir>();
      e = std::move(r);
    } else if (c.genre == TGenreMotifElement::Symbole) {
      e = std::make_unique<TObjetDonneesSymbole>();
    } else {
      e = std::make_unique<TObjetDonneesBasique>();
    }
    TFluxMemoire f;
    f.EcritInteger(0);  // no point, or no bounding line
    f.EcritInteger(c.origine);
    f.EcritInteger(c.index);
    f.EcritReal(1);
    f.EcritOctet(0);  // EstFiligrane, or a symbol's text flag
    f.EcritOctet(0);  // EstCercle
    f.PlaceA(0);
    EXPECT_EQ(e->LitObjet(f), c.lu) << c.nom;
    if (!c.lu) continue;
    EXPECT_EQ(e->MotifDessin, c.attendu) << c.nom;
    // Written back through the entry's position in its list.
    if (c.origine >= 0 && c.attendu) {
      const std::string o = testmotifs::Octets(*e);
      EXPECT_EQ(o.substr(4, 8), f.Octets().substr(4, 8)) << c.nom;
    }
  }
}

TEST_F(Elements, SurveyLabelsOfLevel509AreExchangedAndAlignedLeftBelow508) {
  TFluxMemoire f(Fixture("etiquettes_509.bin"));
  testmotifs::Niveau n(509);
  TObjetTexte absolue, relative;
  ASSERT_TRUE(absolue.LitObjet(f));
  ASSERT_TRUE(relative.LitObjet(f));
  EXPECT_EQ(f.Restant(), 0u);
  EXPECT_EQ(absolue.TypeInfo, 0);
  EXPECT_EQ(relative.TypeInfo, 1);
  EXPECT_EQ(absolue.PointDeRef, reseau["1"]);
  EXPECT_EQ(relative.PointDeRef, reseau["2"]);
  EXPECT_EQ(absolue.Alignement, 3);
  EXPECT_EQ(absolue.UneFonte(), contexte.bibliotheque.UneFonte(2));

  auto t = Lit<TObjetTexte>(Fixture("texte_507.bin"), 507);
  ASSERT_TRUE(t);
  EXPECT_EQ(t->Alignement, 0);
  EXPECT_FALSE(t->Horiz);
  EXPECT_EQ(t->TypeFleche, 1);
  EXPECT_EQ(t->UnTexte, "Puits");
  EXPECT_EQ(t->CoeffTexte, 4);
}

TEST_F(Elements, TextWithItsOwnFont) {
  const std::string octets = Fixture("texte_fonte_propre.bin");
  auto t = Lit<TObjetTexte>(octets, 511);
  ASSERT_TRUE(t);
  ASSERT_TRUE(t->FonteTh);
  EXPECT_EQ(t->UneFonte(), t->FonteTh.get());
  EXPECT_EQ(t->FonteTh->NomPolice, "Arial");
  EXPECT_EQ(t->FonteTh->Taille, 14);
  EXPECT_EQ(t->FonteTh->CodeOrigineMotif, -2);
  EXPECT_EQ(t->vOrigineMotifs, -2);
  EXPECT_EQ(testmotifs::Octets(*t), octets);
  // A copy owns a font of its own.
  auto c = t->CreeCopie();
  auto* copie = static_cast<TObjetTexte*>(c.get());
  ASSERT_TRUE(copie->FonteTh);
  EXPECT_NE(copie->FonteTh.get(), t->FonteTh.get());
  EXPECT_EQ(copie->UneFonte(), copie->FonteTh.get());
  t.reset();
  EXPECT_EQ(copie->UneFonte()->NomPolice, "Arial");
}

TEST_F(Elements, SymbolTextFromLevel216) {
  auto s = Lit<TObjetDonneesSymbole>(Fixture("symbole_216.bin"), 216);
  ASSERT_TRUE(s);
  ASSERT_TRUE(s->TexteSymb);
  EXPECT_EQ(s->TexteSymb->UnTexte, "N");
  EXPECT_EQ(s->TexteSymb->UneFonte(), contexte.bibliotheque.UneFonte(4));
  EXPECT_EQ(s->MotifDessin, contexte.bibliotheque.UnSymbole(1));
  auto t = Lit<TObjetDonneesSymbole>(Fixture("symbole_215.bin"), 215);
  ASSERT_TRUE(t);
  EXPECT_FALSE(t->TexteSymb);
  // Written at the current level and read back.
  const std::string octets = testmotifs::Octets(*s);
  auto u = Lit<TObjetDonneesSymbole>(octets, 511);
  ASSERT_TRUE(u);
  ASSERT_TRUE(u->TexteSymb);
  EXPECT_EQ(u->TexteSymb->UnTexte, "N");
  EXPECT_EQ(testmotifs::Octets(*u), octets);
}

TEST_F(Elements, SurveyLabelTexts) {
  TPointSpeleo* p = reseau["2"];
  p->DzPt = 2.3;
  struct Case {
    int32_t type, mode;
    const char* texte;
  };
  const Case cases[] = {
      {0, 0, "+ 2 m"}, {1, 0, "104 m"}, {2, 0, "20 m"}, {3, 0, "2"},
      {0, 1, "104 m"}, {1, 1, "104 m"}, {2, 1, "20 m"}, {3, 1, "2"},
      {0, 2, "+ 2 m"}, {1, 2, "+ 2 m"}, {2, 2, "20 m"},
  };
  for (const Case& c : cases) {
    GardeValeur<int32_t> mode(Dessin().ModeInfoTexte, c.mode);
    TObjetTexte t;
    t.TypeInfo = c.type;
    t.PointDeRef = p;
    t.Horiz = false;
    t.CalculePoints();
    EXPECT_EQ(t.UnTexte, c.texte) << c.type << " mode " << c.mode;
    EXPECT_TRUE(t.Horiz);
  }
  TObjetTexte sans;
  sans.TypeInfo = 1;
  sans.CalculePoints();
  EXPECT_EQ(sans.UnTexte, "Err");
  EXPECT_FALSE(sans.ObjetValide());
}

TEST_F(Elements, HorizontalTextTakesItsFirstPointFromTheSecond) {
  GardePortsMotifs ports;
  // 96 pixels per inch: 96 pixels are 0.0254 m on paper, 25.4 m at 1:1000.
  Ports().MesureTexte = [](const TDefObjetFonte&, const std::string& t, double& l, double& h) {
    l = 96.0 * static_cast<double>(t.size()) / 4;
    h = 10;
    return true;
  };
  foundation::GardeTransfo vue;
  foundation::Vue().EchelleFontes = 1000;
  TListeDonneesDessin liste;
  liste.LesViseesDessin = &a->Visees;
  auto t = std::make_unique<TObjetTexte>();
  t->UnTexte = "abcd\nab";
  t->MotifDessin = contexte.bibliotheque.UneFonte(5);
  t->AjoutePointDessin(false, 0, 0);
  t->AjoutePointDessin(false, 1, 10);
  auto* texte = static_cast<TObjetTexte*>(liste.AjouteDonneesDessin(std::move(t)));
  texte->ReferencePoints();
  ASSERT_EQ(texte->CalculePoints(), 2);
  EXPECT_NEAR(texte->LePointDessin(0)->Xhab, 1 + 25.4, 1e-9);
  EXPECT_NEAR(texte->LePointDessin(0)->Yhab, 10, 1e-9);
  // The first point took the shot nearest its new place.
  EXPECT_EQ(texte->LePointDessin(0)->VisRefDessin, a->LaVisee(1));
  // A text that is not horizontal keeps its first point unless told.
  texte->Horiz = false;
  texte->LePointDessin(0)->LHab += 1;
  const double x = texte->LePointDessin(0)->LHab;
  texte->CalculePoints();
  EXPECT_EQ(texte->LePointDessin(0)->LHab, x);
  texte->EstAncien = true;
  texte->CalculePoints();
  EXPECT_FALSE(texte->EstAncien);
  EXPECT_NE(texte->LePointDessin(0)->LHab, x);
}

TEST_F(Elements, FixedSizeSymbolBeyondTenPercentIsSetToItsSize) {
  TSymbole def;
  def.ValDimFixe = 1.0;
  struct Case {
    double longueur;
    bool deplace;
  };
  for (const Case c : {Case{1.10, false}, Case{1.11, true}, Case{0.90, false}, Case{0.89, true}}) {
    TListeDonneesDessin liste;
    liste.LesViseesDessin = &a->Visees;
    auto s = std::make_unique<TObjetDonneesSymbole>();
    s->MotifDessin = &def;
    s->AjoutePointDessin(false, 2, 12);
    s->AjoutePointDessin(false, 2 + c.longueur * 0.6, 12 + c.longueur * 0.8);
    auto* sym = static_cast<TObjetDonneesSymbole*>(liste.AjouteDonneesDessin(std::move(s)));
    sym->ReferencePoints();
    ASSERT_EQ(sym->CalculePoints(), 2);
    EXPECT_NEAR(sym->LongueurObjetSymb, c.longueur, 1e-12);
    const TPointDessin* p = sym->LePointDessin(0);
    const TPointDessin* q = sym->LePointDessin(1);
    const double longueur = std::hypot(q->Xhab - p->Xhab, q->Yhab - p->Yhab);
    EXPECT_NEAR(longueur, c.deplace ? 1.0 : c.longueur, 1e-9) << c.longueur;
    // About the midpoint, and stored so that the next computation agrees.
    EXPECT_NEAR((p->Xhab + q->Xhab) / 2, 2 + c.longueur * 0.3, 1e-9);
    EXPECT_NEAR((p->Yhab + q->Yhab) / 2, 12 + c.longueur * 0.4, 1e-9);
    sym->CalculePoints();
    EXPECT_NEAR(std::hypot(q->Xhab - p->Xhab, q->Yhab - p->Yhab), c.deplace ? 1.0 : c.longueur, 1e-9);
  }
}

TEST_F(Elements, FixedSizeSymbolInAnOffsetPartDoesNotDrift) {
  TSymbole def;
  def.ValDimFixe = 1.0;
  TListeDonneesDessin liste;
  liste.LesViseesDessin = &a->Visees;
  auto s = std::make_unique<TObjetDonneesSymbole>();
  s->MotifDessin = &def;
  s->AjoutePointDessin(false, 2, 12);
  s->AjoutePointDessin(false, 4, 12);
  auto* sym = static_cast<TObjetDonneesSymbole*>(liste.AjouteDonneesDessin(std::move(s)));
  sym->ReferencePoints();
  GardeValeur<double> dx(Dessin().DecalageDessinX, 50.0);
  for (int i = 0; i < 3; ++i) {
    sym->CalculePoints();
    EXPECT_NEAR(sym->LePointDessin(0)->Xhab, 52.5, 1e-9) << i;
    EXPECT_NEAR(sym->LePointDessin(1)->Xhab, 53.5, 1e-9) << i;
  }
}

TEST_F(Elements, FillRecordsIndexTheLinesOfTheirList) {
  // Level 499: positions as decimal texts, line styles in place of fills.
  TListeElements<TObjetDonneesBasique> lignes;
  lignes.Add(std::make_unique<TObjetDonneesBasique>());
  lignes.Add(std::make_unique<TObjetDonneesBasique>());
  GardeValeur<TListeElements<TObjetDonneesBasique>*> courantes(Dessin().LignesCourantes, &lignes);
  struct Case {
    const char* nom;
    std::string octets;
    int32_t niveau;
    bool lu;
  };
  auto ancien = [](std::initializer_list<const char*> textes, int32_t index) {
    TFluxMemoire f;
    f.EcritInteger(static_cast<int32_t>(textes.size()));
    for (const char* t : textes) foundation::EcritChaineA(f, t);
    f.EcritInteger(index);
    f.EcritReal(1);
    f.EcritOctet(0);
    return f.Octets();
  };
  const Case cases[] = {
      {"two lines", ancien({"1", " 0"}, 2), 499, true},
      {"a text that is no number", ancien({"1", "x"}, 2), 499, false},
      {"a line past the list", ancien({"2"}, 2), 499, false},
  };
  for (const Case& c : cases) {
    auto r = Lit<TObjetDonneesRemplir>(c.octets, c.niveau);
    EXPECT_EQ(r != nullptr, c.lu) << c.nom;
    if (!r) continue;
    ASSERT_EQ(r->ListePoly.size(), 2u);
    EXPECT_EQ(r->ListePoly[0], lignes.UnObjet(1));
    EXPECT_EQ(r->ListePoly[1], lignes.UnObjet(0));
    EXPECT_EQ(r->MotifDessin, contexte.bibliotheque.UnTrait(2));
  }
  // A count that the stream cannot hold fails at once.
  TFluxMemoire f;
  f.EcritInteger(1 << 30);
  f.PlaceA(0);
  EXPECT_FALSE(TObjetDonneesRemplir().LitObjet(f));
}

}  // namespace
