// Symbol definitions and symbol lists: record gates, circles of old files,
// extremities, equivalence and defaults.
#include <gtest/gtest.h>

#include "drawing/contexte_motifs.h"
#include "drawing/ports_motifs.h"
#include "drawing/symbole.h"
#include "tests/drawing/outils_motifs.h"

using namespace drawing;
using foundation::TFluxMemoire;
using testmotifs::Niveau;

namespace {

TDefinitForme Forme(std::initializer_list<TPoint> pts, int32_t courbe = CourbePolyligne) {
  TDefinitForme f;
  int i = 0;
  for (TPoint p : pts) f.Pts[static_cast<size_t>(i++)] = p;
  f.nbPts = i;
  f.TCourbe = courbe;
  return f;
}

std::unique_ptr<TSymbole> Symbole(const std::string& nom) {
  auto s = std::make_unique<TSymbole>();
  s->InitSymbole({nom, {0, 0}, {300, 0}, -1});
  TObjetTrait style;
  style.EpaisseurPlume = 2;
  s->AjouteDefElement(Forme({{0, 0}, {100, 10}, {300, 0}}), 0, &style, 0);
  s->AjouteDefElement(Forme({{50, 50}, {60, 50}}, CourbeCercle), 0, &style, 0);
  return s;
}

// Raw writer of a symbol record of an old level (the layout of the stored
// record: name, reference points, elements, skipped real, ValDimFixe, flags,
// text).
struct SymboleAncien {
  int niveau;
  bool flecheN = false, aTexte = false, dirFixe = false;
  int32_t typeCourbe = CourbePolyligne;
  std::vector<TPoint> points = {{0, 0}, {30, 40}};

  void Point(TFluxMemoire& f, double x, double y) const {
    if (niveau >= 216) {
      uint32_t num = 0;
      f.Ecrit(&num, 4);
      f.Ecrit("\0\0\0\0", 4);  // padding of the raw block below 502
      f.EcritReal(x);
      f.EcritReal(y);
      f.EcritReal(0);
      f.EcritReal(0);
    } else {
      f.EcritInteger(static_cast<int32_t>(x));
      f.EcritInteger(static_cast<int32_t>(y));
    }
  }
  std::string Octets() const {
    TFluxMemoire f;
    foundation::EcritChaineA(f, "Vieux");
    if (niveau >= 226) f.EcritInteger(-1);
    Point(f, 0, 0);
    Point(f, 30, 0);
    f.EcritInteger(1);
    {  // element: style record of the level, points, curve type
      foundation::EcritChaineA(f, "");
      if (niveau >= 226) f.EcritInteger(-1);
      std::string style(niveau >= 226 ? 30 : niveau >= 122 ? 36 + 8 : 36, '\0');
      style[4] = 4;
      f.Ecrit(style.data(), style.size());
      f.EcritInteger(static_cast<int32_t>(points.size()));
      for (TPoint p : points) {
        if (niveau >= 216) {
          uint32_t num = 0;
          f.Ecrit(&num, 4);
          f.EcritReal(p.X);
          f.EcritReal(p.Y);
          f.EcritReal(0);
          f.EcritReal(0);
        } else {
          uint32_t num = 0;
          f.Ecrit(&num, 4);
          f.EcritInteger(p.X);
          f.EcritInteger(p.Y);
        }
      }
      f.EcritInteger(typeCourbe);
    }
    if (niveau >= 122 && niveau <= 225) f.EcritReal(-3.0);  // skipped
    f.EcritReal(1.5);   // ValDimFixe
    if (niveau >= 225) f.EcritBoolean(dirFixe);
    if (niveau >= 216) {
      f.EcritBoolean(flecheN);
      f.EcritBoolean(aTexte);
    }
    if (niveau == 216) Point(f, -4, 130);
    if (aTexte && niveau >= 216) {
      if (niveau != 216) Point(f, -4, 130);
      Point(f, 4, 130);
      foundation::EcritChaineA(f, "N");
      if (niveau >= 226) {
        foundation::EcritChaineA(f, "Nord");
        f.EcritInteger(-1);
      }
      foundation::EcritChaineA(f, "Arial");
      f.EcritInteger(0);
      f.EcritInteger(12);
      f.EcritOctet(0);
      if (niveau < 226) foundation::EcritChaineA(f, "Nord");
      if (niveau >= 122 && niveau <= 225) f.Ecrit("\0\0\0\0\0\0\0\0", 8);
      f.EcritOctet(0);
    }
    return f.Octets();
  }
};

}  // namespace

TEST(Symbole, AllerRetour511) {
  auto s = Symbole("Essai");
  s->ATexte = true;
  s->TexteSymbol = "N";
  s->PtDebTexte = PtTopoXY(-4, 130);
  s->PtFinTexte = PtTopoXY(4, 130);
  s->FonteTexte->NomPolice = "Arial";
  s->ValDimFixe = 2;
  s->DirFixe = true;
  const std::string o = testmotifs::Octets(*s);
  Niveau n(511);
  TFluxMemoire f(o);
  TSymbole r;
  ASSERT_TRUE(r.LitObjet(f));
  EXPECT_EQ(f.Restant(), 0u);
  EXPECT_TRUE(SymbolesIdentiques(*s, r));
  EXPECT_TRUE(SymbolesIdentiques(r, *s));
  EXPECT_EQ(r.TexteSymbol, "N");
  EXPECT_EQ(r.FonteTexte->NomPolice, "Arial");
  EXPECT_EQ(r.PtFinTexte.Y, 130);
  EXPECT_EQ(testmotifs::Octets(r), o);
  for (size_t l = 0; l < o.size(); ++l) {
    TFluxMemoire court(o.substr(0, l));
    TSymbole u;
    EXPECT_FALSE(u.LitObjet(court)) << "cut at " << l;
  }
}

// The gates of the record at the levels where its layout changed.
TEST(Symbole, PortesDeNiveau) {
  struct Cas {
    int niveau;
    bool flecheN, aTexte, dirFixe;
    bool dirFixeLu, flecheLue, texteLu;
  };
  const Cas cas[] = {
      {201, true, true, true, false, false, false},  // no flags, no text below 216
      {215, true, true, true, false, false, false},
      {216, false, false, false, false, false, false},  // a text start even without text
      {216, false, true, false, false, false, true},
      {216, true, false, false, true, true, false},  // a north arrow has a fixed direction
      {224, false, true, true, false, false, true},
      {225, false, true, true, true, false, true},
      {500, false, false, true, true, false, false},
  };
  for (const Cas& c : cas) {
    Niveau n(c.niveau);
    SymboleAncien a{c.niveau, c.flecheN, c.aTexte, c.dirFixe};
    const std::string o = a.Octets();
    TFluxMemoire f(o);
    TSymbole s;
    ASSERT_TRUE(s.LitObjet(f)) << c.niveau;
    EXPECT_EQ(f.Restant(), 0u) << c.niveau;
    EXPECT_EQ(s.DirFixe, c.dirFixeLu) << c.niveau;
    EXPECT_EQ(s.EstFlecheN, c.flecheLue) << c.niveau;
    EXPECT_EQ(s.ATexte, c.texteLu) << c.niveau;
    EXPECT_EQ(s.ValDimFixe, 1.5) << c.niveau;
    EXPECT_EQ(s.PtExtrem.X, 30) << c.niveau;
    ASSERT_EQ(s.LesElements.Count(), 1) << c.niveau;
    EXPECT_EQ(s.UnElement(0)->LePointEcran(1).Y, 40) << c.niveau;
    EXPECT_EQ(s.UnElement(0)->UnTrait->ModePlume, TModePlume::pmCopy) << c.niveau;
    if (c.texteLu) {
      EXPECT_EQ(s.TexteSymbol, "N");
      EXPECT_EQ(s.PtDebTexte.X, -4);
      EXPECT_EQ(s.PtFinTexte.X, 4);
      EXPECT_EQ(s.FonteTexte->DesignMotif, "Nord");
    }
    for (size_t l = 0; l < o.size(); ++l) {
      TFluxMemoire court(o.substr(0, l));
      TSymbole u;
      EXPECT_FALSE(u.LitObjet(court)) << c.niveau << " cut at " << l;
    }
  }
}

TEST(Symbole, CerclesDesFichiersAnciens) {
  struct Cas {
    int niveau;
    std::vector<TPoint> points;
    std::vector<TPoint> lus;
  };
  const Cas cas[] = {
      {201, {{10, 0}, {0, 10}, {-10, 0}}, {{0, 0}, {10, 0}}},
      {201, {{12, 5}, {2, 15}, {-8, 5}}, {{2, 5}, {12, 5}}},
      {201, {{0, 0}, {1, 1}, {2, 2}}, {{0, 0}, {1, 1}, {2, 2}}},  // aligned: left as is
      {202, {{10, 0}, {0, 10}, {-10, 0}}, {{10, 0}, {0, 10}, {-10, 0}}},
  };
  for (const Cas& c : cas) {
    Niveau n(c.niveau);
    SymboleAncien a{c.niveau};
    a.typeCourbe = CourbeCercle;
    a.points = c.points;
    TFluxMemoire f(a.Octets());
    TSymbole s;
    ASSERT_TRUE(s.LitObjet(f));
    const tElementSymbole* e = s.UnElement(0);
    ASSERT_EQ(e->NbPoints(), static_cast<int>(c.lus.size())) << c.niveau;
    for (size_t i = 0; i < c.lus.size(); ++i) {
      EXPECT_NEAR(e->LePointEcran(static_cast<int>(i)).X, c.lus[i].X, 1e-9) << c.niveau << " point " << i;
      EXPECT_NEAR(e->LePointEcran(static_cast<int>(i)).Y, c.lus[i].Y, 1e-9) << c.niveau << " point " << i;
    }
  }
  // An unknown curve type fails.
  Niveau n(500);
  SymboleAncien a{500};
  a.typeCourbe = 2;
  TFluxMemoire f(a.Octets());
  TSymbole s;
  EXPECT_FALSE(s.LitObjet(f));
}

TEST(Symbole, EquivalenceUnilaterale) {
  auto a = Symbole("Bloc");
  // ab, ba: SymbolesIdentiques both ways; equivalent: a.EstEquivalent(b),
  // which the comparisons of libraries use and which also wants the same
  // number of elements and of points.
  struct Cas {
    const char* nom;
    std::function<void(TSymbole&)> change;
    bool ab, ba, equivalent;
  };
  const Cas cas[] = {
      {"identique", [](TSymbole&) {}, true, true, true},
      {"nom en majuscules", [](TSymbole& b) { b.DesignMotif = "BLOC"; }, true, true, true},
      {"X de l'extrémité", [](TSymbole& b) { b.PtExtrem.X = 301; }, false, false, false},
      {"taille fixe", [](TSymbole& b) { b.ValDimFixe = 1; }, false, false, false},
      {"direction fixe", [](TSymbole& b) { b.DirFixe = true; }, false, false, false},
      {"style d'un élément", [](TSymbole& b) { b.UnElement(1)->UnTrait->EpaisseurPlume = 5; }, false, false, false},
      {"point d'un élément", [](TSymbole& b) { b.UnElement(0)->PointsEcran.UnObjet(2)->Y = 1; }, false, false, false},
      // b's extra element is not looked at from a's side by SymbolesIdentiques.
      {"élément en plus",
       [](TSymbole& b) { b.AjouteDefElement(Forme({{1, 1}, {2, 2}}), 0, nullptr, 0); },
       true,
       false,
       false},
      {"point en plus", [](TSymbole& b) { b.UnElement(0)->PointsEcran.AjoutePoint(9, 9); }, true, false, false},
  };
  for (const Cas& c : cas) {
    auto b = a->CloneSymbole();
    c.change(*b);
    EXPECT_EQ(SymbolesIdentiques(*a, *b), c.ab) << c.nom;
    EXPECT_EQ(SymbolesIdentiques(*b, *a), c.ba) << c.nom;
    EXPECT_EQ(a->EstEquivalent(*b), c.equivalent) << c.nom;
    EXPECT_EQ(b->EstEquivalent(*a), c.equivalent) << c.nom;
  }
}

TEST(Symbole, Extremites) {
  TSymbole s;
  TObjetTrait style;
  s.AjouteDefElement(Forme({{10, 5}, {-20, 7}, {40, 1}, {40, 9}}), 0, &style, 0);
  s.AjouteDefElement(Forme({{0, 0}, {0, 50}}, CourbeCercle), 0, &style, 0);
  s.CalculeExtremites();
  EXPECT_EQ(s.PtBase.X, -50);  // the circle widens the base
  EXPECT_EQ(s.PtBase.Y, 7);
  EXPECT_EQ(s.PtExtrem.X, 50);
  EXPECT_EQ(s.PtExtrem.Y, 9);  // last point at the largest X
  s.CalculeExtremVisu();
  EXPECT_EQ(s.PtBase.X, -50);
  EXPECT_EQ(s.PtBase.Y, 0);
  EXPECT_EQ(s.PtExtrem.Y, 50);
  EXPECT_EQ(s.HauteurSymb(), 50 - 1);

  // A north arrow whose base lies above its extremity gets them swapped.
  TSymbFlecheN n;
  EXPECT_TRUE(n.DirFixe && n.EstFlecheN);
  n.AjouteDefElement(Forme({{-2, 100}, {2, 100}, {0, 0}}), 0, &style, 0);
  n.PtBase = PtTopoXY(0, 100);
  n.PtExtrem = PtTopoXY(0, 0);
  n.CalculeExtremVisu();
  EXPECT_EQ(n.PtBase.X, 0);
  EXPECT_EQ(n.PtExtrem.X, 0);
  EXPECT_EQ(n.PtBase.Y, 0);
  EXPECT_EQ(n.PtExtrem.Y, 100);
}

TEST(Symbole, LongueurFixe) {
  TSymbole s;
  TObjetTrait style;
  s.AjouteDefElement(Forme({{0, 0}, {0, 40}}), 0, &style, 0);
  s.PtExtrem = PtTopoXY(20, 0);
  s.ValDimFixe = 1.0;
  EXPECT_EQ(s.LongueurFixe(), 500);
  s.DirFixe = true;
  EXPECT_EQ(s.LongueurFixe(), 1000 * (20 * 1.0 / 40) / 2);
}

TEST(Symbole, ElementsEtCopie) {
  tElementSymbole cercle(nullptr, false, CourbeCercle);
  for (int i = 0; i < 4; ++i) cercle.AjoutePointEcran(PtTopoXY(i, i));
  EXPECT_EQ(cercle.NbPoints(), 2);
  EXPECT_EQ(cercle.LePointEcran(1).X, 3) << "a complete circle has its last point replaced";
  tElementSymbole arc(nullptr, false, CourbeArc);
  for (int i = 0; i < 5; ++i) arc.AjoutePointEcran(PtTopoXY(i, 0));
  EXPECT_EQ(arc.NbPoints(), 3);
  EXPECT_TRUE(arc.EstCourbe());

  auto a = Symbole("Copie");
  a->SymboleModifie = true;
  a->SetVerrou(true);
  TSymbole b;
  b.CopieMotif(*a);
  EXPECT_TRUE(SymbolesIdentiques(*a, b));
  EXPECT_TRUE(b.SymboleModifie && b.VerrouPlan);
  EXPECT_NE(b.UnElement(0), a->UnElement(0)) << "elements are cloned";
}

TEST(Symbole, Defauts) {
  TListeSymboles l;
  l.InitDefaut();
  EXPECT_EQ(l.NbreMotifsFixes, 7);
  struct Cas {
    const char* nom;
    double xExtrem;
    int elements;
  };
  const Cas cas[] = {{"Flèche", 300, 2},          {"Flèche entrée", 180, 1}, {"Flèche courant", 280, 2},
                     {"Bloc", 14, 1},             {"Flèche pointillé", 300, 2}, {"Flèche bleue", 300, 2},
                     {"Flèche pointillé bleue", 300, 2}};
  ASSERT_EQ(l.Count(), 7);
  for (int i = 0; i < 7; ++i) {
    const TSymbole* s = l.LeSymbole(i);
    EXPECT_EQ(s->DesignMotif, cas[i].nom);
    EXPECT_EQ(s->PtExtrem.X, cas[i].xExtrem) << cas[i].nom;
    EXPECT_EQ(s->LesElements.Count(), cas[i].elements) << cas[i].nom;
    EXPECT_FALSE(s->DimFixe()) << cas[i].nom;
  }
  // "Flèche courant": head shifted by (-25, 5), then the smoothed wave.
  const TSymbole* courant = l.LeSymbole(2);
  EXPECT_EQ(courant->UnElement(0)->LePointEcran(0).X, 225);
  EXPECT_EQ(courant->UnElement(0)->LePointEcran(0).Y, 5);
  EXPECT_TRUE(courant->UnElement(1)->UnTrait->TraitLisse);
  EXPECT_EQ(courant->UnElement(1)->UnTrait->EpaisseurPlume, 6);
  EXPECT_EQ(courant->UnElement(1)->NbPoints(), 10);
  EXPECT_EQ(l.LeSymbole(3)->PtBase.Y, 14);
  EXPECT_EQ(l.LeSymbole(3)->UnElement(0)->UnTrait->CouleurPinceau, RGB(192, 192, 192));
  EXPECT_EQ(l.LeSymbole(6)->UnElement(1)->UnTrait->StylePlume, MesPenStyle::mpsDash);
  EXPECT_THROW(l.LeSymbole(7), std::out_of_range);

  TListeSymbSurf surf;
  surf.InitDefaut();
  ASSERT_EQ(surf.Count(), 6);
  EXPECT_EQ(surf.LaCatSurf(3)->DesignMotif, "Résurgence");
  EXPECT_EQ(surf.LaCatSurf(5)->TypeMotif, TTypeMotif::tmSurface);
  EXPECT_FALSE(surf.LaCatSurf(0)->ADuDessin()) << "a surface symbol without elements has no sample";

  const ContexteMotifs& m = Motifs();
  EXPECT_EQ(m.FlecheNordGeo->TexteSymbol, "N");
  EXPECT_EQ(m.FlecheNordMag->TexteSymbol, "Nm __");
  EXPECT_EQ(m.FlecheNordGeo->UnElement(0)->NbPoints(), 8);
  EXPECT_EQ(m.FlecheNordGeo->FonteTexte->NomPolice, "Arial");
  EXPECT_EQ(m.SymboleEchelle->PtsDef[20].X, 2530);
  EXPECT_EQ(m.SymboleEchelle->PtsDef[20].Y, 100);
  EXPECT_EQ(m.SymboleEchelle->PtExtrem.X, 2530);
}

TEST(Symbole, BoiteDuTexte) {
  drawing::GardePortsMotifs garde;
  TSymbFlecheN s;
  TObjetTrait style;
  s.AjouteDefElement(Forme({{-2, 0}, {2, 0}, {0, 100}}), 0, &style, 0);
  s.ATexte = true;
  s.TexteSymbol = "N";
  s.PtDebTexte = PtTopoXY(-10, 110);
  s.PtFinTexte = PtTopoXY(10, 110);
  // Without a way to measure texts, the text is not in the box.
  s.CalculeExtremVisu();
  EXPECT_EQ(s.PtExtrem.Y, 100);
  Ports().MesureTexte = [](const TDefObjetFonte&, const std::string&, double& l, double& h) {
    l = 40;
    h = 10;
    return true;
  };
  // Baseline 20 long, text 40 x 10 pixels: the box is 5 high above it.
  s.CalculeExtremVisu();
  EXPECT_EQ(s.PtExtrem.Y, 115);
  EXPECT_EQ(s.PtBase.Y, 0);
  EXPECT_EQ(s.PtBase.X, 0) << "a north arrow's axis is its middle";
  // The placing axis does not depend on the text.
  s.CalculeExtremites();
  EXPECT_EQ(s.PtExtrem.Y, 100);
}
