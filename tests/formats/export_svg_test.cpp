// The SVG writer's pieces: its number formats at several scales, the
// escaping, the lines in their styles (fills, hatches, dashes, smoothing,
// patterns), the texts, symbols and cross-section frames, the grid, and the
// objects dialog's rules.
#include <gtest/gtest.h>

#include <regex>

#include "drawing/cree_dessin.h"
#include "drawing/deplacable.h"
#include "drawing/dessin_texte.h"
#include "drawing/jeu_calques.h"
#include "formats/export/svg/polyligne_svg.h"
#include "foundation/codage.h"
#include "tests/formats/outils_svg.h"

namespace {

using namespace testsvg;
using formats::TFichierSVG;
using formats::TSVGPolyligne;
using foundation::TPointTopo;

// The library's defaults, the view at 1:echelle in plan with its origin at 0.
struct Ecrivain {
  testdessin::Contexte contexte;
  formats::GardeExportSVG garde;
  TFichierSVG f;
  explicit Ecrivain(int32_t echelle = 1000) {
    foundation::Vue().EchelleFontes = echelle;
    f.FixeEchelle();
    f.PrepareBibliotheques();
    f.LignesCourantes = &f.Lignes;
    f.NBIndent = 2;
  }
  std::string Texte() const {
    std::string r;
    for (const std::string& l : f.Lignes) r += foundation::OteBlancs(l) + "\n";
    return r;
  }
  std::string Defs() {
    f.Lignes.clear();
    f.EcritDefs(f.EchelleTextesSVG);
    return Texte();
  }
};

int Compte(const std::string& texte, const std::string& motif) {
  int n = 0;
  for (size_t p = texte.find(motif); p != std::string::npos; p = texte.find(motif, p + 1)) ++n;
  return n;
}

TEST(FormatsSVG, EchellesEtNombres) {
  struct Cas {
    int32_t echelle;
    const char* trait1;
    int32_t marge;
    const char* fonte10;
    const char* tirets;
  } cas[] = {
      {1000, "0.05000", 50, "3.52778", "2.00000,1.50000"},
      {-1, "0.05000", 50, "3.52778", "2.00000,1.50000"},
      {0, "0.05000", 50, "3.52778", "2.00000,1.50000"},
      {500, "0.02500", 25, "1.76389", "1.00000,0.75000"},
      {2000, "0.10000", 100, "7.05556", "4.00000,3.00000"},
  };
  for (const Cas& c : cas) {
    Ecrivain e(c.echelle);
    EXPECT_EQ(e.f.MesuresStr(1), c.trait1) << c.echelle;
    EXPECT_EQ(e.f.MargeSVG, c.marge) << c.echelle;
    EXPECT_EQ(e.f.TailleFonteStr(10), c.fonte10) << c.echelle;
    EXPECT_EQ(formats::EtatSVG().TiretsSVG[1], c.tirets) << c.echelle;
    EXPECT_EQ(e.f.EchelleTextesSVG, c.echelle > 0 ? c.echelle : 1000) << c.echelle;
    // The arrow markers at the scale (4 and 2 paper millimetres).
    const std::string defs = e.Defs();
    const std::string l = std::to_string((c.echelle > 0 ? c.echelle : 1000) * 4 / 1000);
    EXPECT_NE(defs.find("markerWidth=\"" + l + ".00000\""), std::string::npos) << c.echelle << defs;
  }
  // Dashes never negative: the alternating hatched dash is "15,6".
  EXPECT_EQ(formats::EtatSVG().TiretsSVG[7], "15,6");
}

TEST(FormatsSVG, ChiffresCouleursEtPositions) {
  Ecrivain e;
  struct Chiffre {
    double v;
    const char* t;
  } chiffres[] = {{12.5, "12.500"}, {-3, "-3.000"}, {0.0004, "0.000"}, {-0.0004, "0.000"}, {2.0005, "2.001"}};
  for (const Chiffre& c : chiffres) EXPECT_EQ(e.f.ChiffreSVG(c.v), c.t) << c.v;
  EXPECT_EQ(e.f.CouleurSVG(255), "#FF0000");
  EXPECT_EQ(e.f.CouleurSVG(RGB(0x12, 0xAB, 0xF0)), "#12ABF0");
  {
    GardeValeur<bool> unique(formats::EtatSVG().CouleurUnique, true);
    GardeValeur<uint32_t> couleur(formats::EtatSVG().CouleurFiligraneSVG, RGB(0, 160, 0));
    EXPECT_EQ(e.f.CouleurSVG(255), "#00A000");
  }
  // x = X - AbsMin + margin, y = margin + OrdMax - Y; SlH and Z in an
  // elevation.
  e.f.AbsMin = 1000;
  e.f.OrdMax = 2050;
  TPointTopo p;
  p.X = 1012.25;
  p.Y = 2010;
  p.SlH = 7;
  p.Z = 2049;
  EXPECT_EQ(e.f.PointPolyStr(p), "62.250,90.000");
  foundation::GardeTypeDessin alti(foundation::TTypeDeDessin::tddAltiDev);
  EXPECT_EQ(e.f.PointPolyStr(p), "-943.000,51.000");
}

TEST(FormatsSVG, EchappementEtCommentaire) {
  struct Cas {
    std::string texte, attendu;
  } cas[] = {
      {"R&D <1> \"x\" 'y'", "R&amp;D &lt;1&gt; &quot;x&quot; &apos;y&apos;"},
      {"Rivière €", "Rivière €"},
      {std::string("a\x01" "b\xFF" "c"), "abc"},
  };
  for (const Cas& c : cas) EXPECT_EQ(formats::EchappeSVG(c.texte), c.attendu) << c.texte;
}

// A line in a style, written alone.
std::string Ligne(Ecrivain& e, const TDefObjetTrait& t, bool fermee, std::vector<std::array<double, 2>> pts) {
  e.f.Lignes.clear();
  TSVGPolyligne l(e.f, t, fermee);
  for (const auto& p : pts) l.AjoutePtXY(p[0], p[1]);
  l.EcritFichier(e.f);
  return e.Texte();
}

TEST(LignesSVG, RemplissagesEtHachures) {
  Ecrivain e;
  TListeMotifs& traits = e.contexte.bibliotheque.ListeTraits;
  const auto ajoute = [&](TStylePinceau pinceau, uint32_t couleur, int16_t motif) {
    auto t = std::make_unique<TObjetTrait>();
    t->NumMotif = motif;
    t->StylePinceau = pinceau;
    t->CouleurPinceau = couleur;
    return static_cast<TObjetTrait*>(traits.Add(std::move(t)));
  };
  TObjetTrait* plein = ajoute(TStylePinceau::bsSolid, RGB(255, 128, 0), 0);
  TObjetTrait* croix = ajoute(TStylePinceau::bsCross, RGB(0, 0, 255), 0);
  TObjetTrait* croix2 = ajoute(TStylePinceau::bsCross, RGB(0, 0, 255), 0);
  TObjetTrait* diag = ajoute(TStylePinceau::bsDiagCross, RGB(255, 0, 0), 0);
  TObjetTrait* vide = ajoute(TStylePinceau::bsClear, RGB(255, 0, 0), 0);
  e.f.PrepareBibliotheques();
  // A style of no library: no pattern can be written for it.
  TObjetTrait horsBibliotheque;
  horsBibliotheque.NumMotif = 0;
  horsBibliotheque.StylePinceau = TStylePinceau::bsCross;
  horsBibliotheque.CouleurPinceau = RGB(0, 255, 0);
  const std::vector<std::array<double, 2>> carre{{0, 0}, {4, 0}, {4, 4}};
  struct Cas {
    const char* nom;
    const TObjetTrait* trait;
    bool fermee;
    std::string debut;
  } cas[] = {
      {"fermée pleine", plein, true, "<polygon fill=\"#FF8000\""},
      {"ouverte", plein, false, "<polyline fill=\"none\""},
      {"croisillons", croix, true, "<polygon fill=\"url(#" + croix->NomMotifSVG + ")\""},
      {"pinceau vide", vide, true, "<polygon fill=\"none\""},
      {"hors bibliothèque", &horsBibliotheque, true, "<polygon fill=\"#00FF00\""},
  };
  for (const Cas& c : cas) {
    const std::string t = Ligne(e, *c.trait, c.fermee, carre);
    EXPECT_EQ(t.rfind(c.debut, 0), 0u) << c.nom << "\n" << t;
    EXPECT_NE(t.find("points=\"50.000,50.000\n54.000,50.000\n54.000,46.000\" />"), std::string::npos) << c.nom << t;
  }
  Ligne(e, *croix2, true, carre);
  Ligne(e, *diag, true, carre);
  const std::string defs = e.Defs();
  // One tile per name and colour, however many styles share it.
  const std::string bleu = std::to_string(RGB(0, 0, 255)), rouge = std::to_string(RGB(255, 0, 0));
  for (const std::string& nom : {"hachH" + bleu, "hachV" + bleu, "hachCr" + bleu, "hachFD" + rouge, "hachBD" + rouge,
                                 "hachDgCr" + rouge})
    EXPECT_EQ(Compte(defs, "pattern id=\"" + nom + "\""), 1) << nom << defs;
  EXPECT_EQ(Compte(defs, "pattern id=\"hachFD" + bleu + "\""), 0);
  EXPECT_NE(defs.find("<rect width=\"50\" height=\"50\" fill=\"url(#hachH" + bleu + ")\" />"), std::string::npos);
  // Each used hatched style has its ten-metre pattern over the tile.
  for (const TObjetTrait* t : {croix, croix2, diag})
    EXPECT_EQ(Compte(defs, "pattern id=\"" + t->NomMotifSVG + "\""), 1) << t->NomMotifSVG;
  EXPECT_EQ(Compte(defs, "pattern id=\"" + plein->NomMotifSVG + "\""), 0);
}

TEST(LignesSVG, TiretsLissageEtMotifs) {
  Ecrivain e;
  TObjetTrait t;
  t.CouleurPlume = 0;
  t.EpaisseurPlume = 1;
  // Dashed and solid pens.
  t.StylePlume = MesPenStyle::mpsDash;
  EXPECT_NE(Ligne(e, t, false, {{0, 0}, {10, 0}}).find("stroke-dasharray=\"2.00000,1.50000\""), std::string::npos);
  t.StylePlume = MesPenStyle::mpsSolid;
  EXPECT_NE(Ligne(e, t, false, {{0, 0}, {10, 0}}).find("stroke-dasharray=\"none\""), std::string::npos);
  // A smoothed line of two points: its controls sit on its ends.
  t.TraitLisse = true;
  std::string s = Ligne(e, t, false, {{1, 2}, {5, 3}});
  EXPECT_NE(s.find("<path\nd=\"M 51.000,48.000 C 51.000,48.000 55.000,47.000\n55.000,47.000 \"\nstyle=\"fill:none;"),
            std::string::npos)
      << s;
  // One point: a point; many points: no limit.
  EXPECT_EQ(Ligne(e, t, false, {{1, 2}}).rfind("<polyline", 0), 0u);
  std::vector<std::array<double, 2>> longue;
  for (int i = 0; i < 1500; ++i) longue.push_back({i * 0.5, std::sin(i * 0.1)});
  s = Ligne(e, t, false, longue);
  // "M P0 C P1 P2", 1498 lines of three points, the last anchor.
  EXPECT_EQ(Compte(s, "\n"), 1 + 1 + 1498 + 1 + 1) << s.substr(0, 300);
  EXPECT_EQ(Compte(s, " C "), 1);
  // A patterned line: one path of dashes and ticks, each piece a sub-path.
  t.TraitLisse = false;
  t.StylePlume = MesPenStyle::mpsTiretHachure;
  s = Ligne(e, t, false, {{0, 0}, {20, 0}, {20, 10}});
  EXPECT_EQ(s.rfind("<path\nd=\"M ", 0), 0u) << s;
  EXPECT_GT(Compte(s, "\nM "), 5) << s;
  EXPECT_NE(s.find("stroke-dasharray:15,6\""), std::string::npos);
  // Filled triangles are filled with the pen colour.
  t.StylePlume = MesPenStyle::mpsTrianglePlein;
  t.CouleurPlume = RGB(0, 128, 0);
  s = Ligne(e, t, false, {{0, 0}, {20, 0}});
  EXPECT_NE(s.find("style=\"fill:#008000;stroke:#008000;"), std::string::npos) << s;
  EXPECT_GT(Compte(s, " z"), 3) << s;
  // A smoothed patterned line follows the curve.
  t.TraitLisse = true;
  t.StylePlume = MesPenStyle::mpsHachure;
  s = Ligne(e, t, false, {{0, 0}, {10, 5}, {20, 0}});
  EXPECT_GT(Compte(s, "\nM "), 10) << s;
}

TEST(LignesSVG, UnMorceauRepeteEstEcritUneFois) {
  Ecrivain e;
  formats::CibleSVG cible(e.f);
  const TPointTopo A = foundation::PtTopoXY(0, 0), B = foundation::PtTopoXY(3, 4);
  cible.Trait(A, B);
  cible.Trait(A, B);
  cible.Trait(B, A);
  const std::array<TPointTopo, 3> tri{A, B, foundation::PtTopoXY(3, 0)};
  cible.Polygone(tri, true);
  cible.Polygone(tri, true);
  EXPECT_EQ(e.Texte(),
            "M 50.000,50.000 L 53.000,46.000\nM 53.000,46.000 L 50.000,50.000\n"
            "M 50.000,50.000 L 53.000,46.000 L 53.000,50.000 z\n");
}

// A text of points (x, y) in a layer, with its display object.
struct Texte {
  TObjetTexte t;
  TCalque calque{TOD::odTexte};
  Texte(Ecrivain& e, const std::string& s, std::vector<std::array<double, 2>> pts, bool horiz, int32_t fleche) {
    t.MotifDessin = e.contexte.bibliotheque.ListeFontes.LeMotifDeBase(0);
    t.UnTexte = s;
    t.Horiz = horiz;
    t.TypeFleche = fleche;
    for (const auto& p : pts) t.AjoutePointDessin(false, p[0], p[1]);
    // Placed as the drawing's display objects are.
    dynamic_cast<TDessinDeplacable&>(*t.CreeObjetDessin(ClasseTexte, calque)).InitDimensions();
  }
};

TEST(TextesSVG, DroitTourneEtFleche) {
  Ecrivain e;
  {
    Texte t(e, "Salle & <Puits>", {{10, 0}, {2, 0}}, true, 0);
    e.f.Lignes.clear();
    e.f.EcritTexte(t.t);
    const std::string s = e.Texte();
    EXPECT_EQ(s.rfind("<text x=\"52.000\" y=\"50.000\" font-family=", 0), 0u) << s;
    EXPECT_NE(s.find("\nSalle &amp; &lt;Puits&gt;\n</text>\n"), std::string::npos) << s;
    EXPECT_EQ(s.find("rotate"), std::string::npos);
  }
  {
    // Turned by 30 degrees counter-clockwise: the document turns it back.
    Texte t(e, "Boyau", {{2 + 8 * std::cos(std::numbers::pi / 6), 8 * std::sin(std::numbers::pi / 6)}, {2, 0}},
            false, 0);
    e.f.Lignes.clear();
    e.f.EcritTexte(t.t);
    const std::string s = e.Texte();
    std::smatch m;
    ASSERT_TRUE(std::regex_search(s, m, std::regex("^<g transform=\"rotate\\(([-0-9.]+) 52.000 50.000\\)\">\n<text "))) << s;
    // The points are held to the drawing unit (a millimetre).
    EXPECT_NEAR(std::remainder(foundation::TexteEnReel(m[1].str()) + 30, 360), 0, 0.01) << s;
    EXPECT_NE(s.find("</text>\n</g>\n"), std::string::npos);
  }
  {
    // Three points and an open arrow: the leader from the end farther from
    // the tip, lowered by the text scale, to the tip.
    Texte t(e, "Entrée", {{10, 0}, {2, 0}, {12, 5}}, true, 2);
    e.f.Lignes.clear();
    e.f.EcritTexte(t.t);
    const std::string s = e.Texte();
    EXPECT_NE(s.find("<polyline fill=\"none\" stroke=\"#000000\" stroke-width=\"0.10000\" "
                     "marker-end=\"url(#FlecheAjouree)\"\npoints=\"52.000,51.000\n60.000,51.000\n62.000,45.000\" />"),
              std::string::npos)
        << s;
  }
}

TEST(TextesSVG, SymboleAgrandi) {
  Ecrivain e;
  auto* s = dynamic_cast<TDefSymbole*>(e.contexte.bibliotheque.ListeSymboles.LeMotifDeBase(0));
  ASSERT_NE(s, nullptr);
  e.f.PrepareBibliotheques();
  TObjetDonneesSymbole o;
  o.MotifDessin = s;
  const TPointTopo B = s->PtBase, X = s->PtExtrem;
  o.AjoutePointDessin(false, 10, 20);
  o.AjoutePointDessin(false, 10 + 2 * (X.X - B.X), 20 + 2 * (X.Y - B.Y));
  e.f.EcritSymbole(o);
  EXPECT_EQ(e.Texte(), "<use xlink:href=\"#" + s->NomMotifSVG +
                           "\"\ntransform=\"translate(60.000,30.000) scale(2.000) rotate(0.000)\" />\n");
  // The symbol is defined, its elements unclipped.
  const std::string defs = e.Defs();
  EXPECT_NE(defs.find("<symbol id=\"" + s->NomMotifSVG + "\" overflow=\"visible\">"), std::string::npos) << defs;
}

TEST(TextesSVG, CadreDeCoupe) {
  Ecrivain e;
  // Two pixels per character at 1:1000: 0.529 m.
  drawing::Ports().MesureTexte = [](const TDefObjetFonte&, const std::string& t, double& l, double& h) {
    l = 2.0 * static_cast<double>(foundation::NombreCaracteres(t));
    h = 4;
    return true;
  };
  struct Cas {
    const char* legende;
    bool titre;
  } cas[] = {{"C1", true}, {"Galerie des Marmites", false}};
  for (const Cas& c : cas) {
    TDonneesCoupe coupe;
    coupe.LegendeCoupe = c.legende;
    TDessinCoupe cadre(&coupe);
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {0.0, -6.0}, {10.0, -6.0}, {10.0, 0.0}, {0.0, 0.0}, {0.0, 0.0},
                               {2.0, 3.0}, {8.0, 3.0}})
      cadre.AjoutePointReel(x, y);
    cadre.LieDonnees(coupe.LeDessinCoupe);
    e.f.Lignes.clear();
    e.f.EcritCadreCoupe(coupe);
    const std::string s = e.Texte();
    const std::regex polyligne("<polyline[^>]*\npoints=\"([^\"]*)\" />");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(s, m, polyligne)) << s;
    const auto pts = Points(m[1].str());
    if (c.titre) {
      EXPECT_NE(s.find("Section C1"), std::string::npos) << s;
      // The gap on the edge from K3 to K0 is the title's width.
      ASSERT_EQ(pts.size(), 6u) << s;
      EXPECT_NEAR(pts[5][0] - pts[0][0], 12 * 2 / 96.0 * 0.0254 * 1000, 0.002);
    } else {
      EXPECT_EQ(s.find("Section"), std::string::npos) << s;
      ASSERT_EQ(pts.size(), 5u) << s;
      EXPECT_EQ(pts.front(), pts.back());
    }
    EXPECT_NE(s.find("marker-end=\"url(#PointeFleche)\""), std::string::npos);
  }
}

// What the drawing shows, where the written format would show otherwise: a
// circle is a circle, a station label keeps its kind, a symbol whose base
// and end points coincide keeps its size, the dot marker shows whole.
TEST(TextesSVG, CercleEtiquettesEtMarqueurs) {
  Ecrivain e;
  TObjetDonneesBasique cercle;
  cercle.MotifDessin = e.contexte.bibliotheque.ListeTraits.LeMotifDeBase(0);
  cercle.EstCercle = true;
  cercle.AjoutePointDessin(false, 10, 10);
  cercle.AjoutePointDessin(false, 12, 10);
  e.f.EcritObjetBasique(cercle);
  std::smatch m;
  const std::string c = e.Texte();
  ASSERT_TRUE(std::regex_search(c, m, std::regex("points=\"([^\"]*)\""))) << c;
  const auto pts = Points(m[1].str());
  ASSERT_EQ(pts.size(), 73u);
  for (const auto& p : pts) EXPECT_NEAR(std::hypot(p[0] - 60, p[1] - 40), 2, 1e-3);

  TPointSpeleo station;
  station.Z = 512.4;
  station.DzPt = 12.2;
  struct Cas {
    int32_t info;
    const char* texte;
  } cas[] = {{0, "+ 12 m"}, {1, "512 m"}};
  for (const Cas& k : cas) {
    TObjetTexte t;
    t.MotifDessin = e.contexte.bibliotheque.ListeFontes.LeMotifDeBase(0);
    t.TypeInfo = k.info;
    t.PointDeRef = &station;
    t.AjoutePointDessin(false, 3, 0);
    t.AjoutePointDessin(false, 0, 0);
    e.f.Lignes.clear();
    e.f.EcritTexte(t);
    EXPECT_NE(e.Texte().find("\n" + std::string(k.texte) + "\n</text>"), std::string::npos) << k.info << e.Texte();
  }

  e.contexte.bibliotheque.ListeSymboles.Add(std::make_unique<TSymbole>());
  auto* s = dynamic_cast<TDefSymbole*>(e.contexte.bibliotheque.ListeSymboles.Last());
  e.f.PrepareBibliotheques();
  TObjetDonneesSymbole o;
  o.MotifDessin = s;
  o.AjoutePointDessin(false, 0, 0);
  o.AjoutePointDessin(false, 3, 0);
  e.f.Lignes.clear();
  e.f.EcritSymbole(o);
  EXPECT_NE(e.Texte().find("scale(1.000)"), std::string::npos) << e.Texte();
  EXPECT_NE(e.Defs().find("<marker id=\"FlechePoint\"\nviewBox=\"-5 -5 10 10\" refX=\"0\" refY=\"0\""),
            std::string::npos);
}

TEST(CarroyageSVG, ColonnesEtPas) {
  struct Cas {
    int32_t echelleTextes;
    double absMin, absMax, ordMin, ordMax;
    std::vector<double> colonnes;
  } cas[] = {
      {-1, 120, 480, 1000, 1150, {100, 200, 300, 400, 500}},
      {500, 120, 180, 1000, 1010, {100, 150, 200}},
      {5, 120.4, 122.6, 10, 11, {120, 121, 122, 123}},
  };
  for (const Cas& c : cas) {
    Ecrivain e;
    TCavite cavite;
    cavite.EchelleTextesDft = c.echelleTextes;
    e.f.CaviteSVG = &cavite;
    e.f.AbsMin = c.absMin;
    e.f.AbsMax = c.absMax;
    e.f.OrdMin = c.ordMin;
    e.f.OrdMax = c.ordMax;
    e.f.EcritCarroyage();
    std::vector<double> xs, ys;
    const std::regex croix("M ([-0-9.]+),([-0-9.]+) l ([0-9.]+) 0");
    const std::string s = e.Texte();
    for (auto it = std::sregex_iterator(s.begin(), s.end(), croix); it != std::sregex_iterator(); ++it) {
      const double h = foundation::TexteEnReel((*it)[3].str()) / 2;
      const double x = foundation::TexteEnReel((*it)[1].str()) + h - e.f.MargeSVG + c.absMin;
      const double y = e.f.MargeSVG + c.ordMax - foundation::TexteEnReel((*it)[2].str());
      if (xs.empty() || std::abs(xs.back() - x) > 1e-6) xs.push_back(x);
      if (xs.size() == 1) ys.push_back(y);
    }
    ASSERT_EQ(xs.size(), c.colonnes.size()) << c.echelleTextes << "\n" << s.substr(0, 400);
    for (size_t i = 0; i < xs.size(); ++i) EXPECT_NEAR(xs[i], c.colonnes[i], 1e-3) << c.echelleTextes;
    // The rows likewise go one step past the extent.
    ASSERT_GE(ys.size(), 2u);
    EXPECT_LE(ys.front(), c.ordMin);
    EXPECT_GT(ys.back(), c.ordMax);
    EXPECT_LE(ys[ys.size() - 2], c.ordMax);
  }
}

TEST(ObjetsSvgDlg, BoitesDependantes) {
  using D = formats::TObjetsSvgDlg;
  D d;
  d.Init(BitTypeObjet(TOD::odPtLever) | BitTypeObjet(TOD::odNumPt) | BitTypeObjet(TOD::odDessin) |
         BitTypeObjet(TOD::odCoupes));
  EXPECT_TRUE(d[D::ChkbPoints].Coche && d[D::ChkbPoints].Actif);
  EXPECT_FALSE(d[D::ChkbVisHab].Coche);
  EXPECT_FALSE(d[D::ChkbPtSurf].Actif);
  // "Cheminement" unchecked: its two dependent boxes go disabled and
  // unchecked; checked again: they come back as they were.
  d[D::ChkbLevers].Coche = false;
  d.ChkBoxClick();
  for (D::Boite b : {D::ChkbPoints, D::ChkbVisHab}) EXPECT_FALSE(d[b].Coche || d[b].Actif) << D::NomBoite(b);
  d[D::ChkbLevers].Coche = true;
  d.ChkBoxClick();
  EXPECT_TRUE(d[D::ChkbPoints].Coche && d[D::ChkbPoints].Actif);
  EXPECT_TRUE(!d[D::ChkbVisHab].Coche && d[D::ChkbVisHab].Actif);
  formats::TObjetsSVG objets = 0;
  std::vector<std::string> script;
  d.Transfere(objets, script);
  EXPECT_EQ(objets, BitTypeObjet(TOD::odPtLever) | BitTypeObjet(TOD::odNumPt) | BitTypeObjet(TOD::odDessin) |
                        BitTypeObjet(TOD::odCoupes));
  EXPECT_EQ(script, formats::ScriptPanZoom());
  d.TousBtnClick();
  for (int i = 0; i < D::NombreBoites; ++i) EXPECT_TRUE(d[static_cast<D::Boite>(i)].Coche) << i;
  d.Transfere(objets, script);
  EXPECT_EQ(objets, formats::ObjetsSVGDefaut);
  d.AucunBtnClick();
  for (int i = 0; i < D::NombreBoites; ++i) EXPECT_FALSE(d[static_cast<D::Boite>(i)].Coche) << i;
  d.Transfere(objets, script);
  EXPECT_EQ(objets, 0u);
}

}  // namespace
