// The printed gallery diagram written to PDF and read back with pdftotext
// -bbox (positions of the names) and pdftoppm (pixels of the joining lines),
// the oracles.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "app/document/selecteurs.h"
#include "app/table/impression_pdf.h"
#include "app/table/impression_schema.h"
#include "platform/printer.h"
#include "platform/scripted_dialogs.h"
#include "survey/galerie.h"
#include "tests/app/reseau_essai.h"
#include "tests/support/dossier_temp.h"

using namespace app;

namespace {

std::string Sortie(const std::string& commande) {
  std::string r;
  FILE* f = ::popen(commande.c_str(), "r");
  if (!f) return r;
  char tampon[4096];
  size_t n;
  while ((n = fread(tampon, 1, sizeof tampon, f)) > 0) r.append(tampon, n);
  ::pclose(f);
  return r;
}

struct Mot {
  double xMin, yMin, xMax, yMax;
};

// The words of page 1 as pdftotext -bbox gives them, in PDF points.
std::multimap<std::string, Mot> Mots(const std::string& pdf, int page = 1) {
  const std::string html =
      Sortie("pdftotext -bbox -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" + pdf + "' -");
  std::multimap<std::string, Mot> r;
  const std::regex mot(
      "<word xMin=\"(-?[0-9.]+)\" yMin=\"(-?[0-9.]+)\" xMax=\"(-?[0-9.]+)\" yMax=\"(-?[0-9.]+)\">([^<]*)</word>");
  for (auto it = std::sregex_iterator(html.begin(), html.end(), mot); it != std::sregex_iterator(); ++it) {
    const std::smatch& m = *it;
    std::string texte = m[5].str();
    for (const auto& [entite, car] : {std::pair{"&gt;", ">"}, {"&lt;", "<"}, {"&quot;", "\""}, {"&amp;", "&"}})
      for (size_t i; (i = texte.find(entite)) != std::string::npos;) texte.replace(i, std::string(entite).size(), car);
    r.emplace(texte, Mot{std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4])});
  }
  return r;
}

// A grey image read from a binary PGM file.
struct Image {
  int largeur = 0, hauteur = 0;
  std::string pixels;
  int Gris(int x, int y) const {
    return static_cast<unsigned char>(pixels[static_cast<size_t>(y) * static_cast<size_t>(largeur) + static_cast<size_t>(x)]);
  }
};

Image LitPgm(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  std::string magie;
  int maxi = 0;
  Image im;
  f >> magie >> im.largeur >> im.hauteur >> maxi;
  f.get();
  im.pixels.resize(static_cast<size_t>(im.largeur) * static_cast<size_t>(im.hauteur));
  f.read(im.pixels.data(), static_cast<std::streamsize>(im.pixels.size()));
  return im;
}

const char* const Chaine =
    "G G0: 1 2\nG G1: 10 11\nG G2: 20 21\nG G3: 30\nG Isolee: 90 91\n"
    "E1 - 1\n1 - 2\n2 - 10\n10 - 11\n11 - 20\n20 - 21\n21 - 30\n90 - 91";

TEST(ImpressionSchema, EscalierCentreEtLignesSelonPoppler) {
  if (Sortie("command -v pdftotext").empty() || Sortie("command -v pdftoppm").empty())
    GTEST_SKIP() << "poppler-utils absent";
  essai::TReseauEssai r;
  survey::TCavite* c = r.Cavite("Gouffre", Chaine);
  platform::VirtualPdfPrinter imprimante;
  imprimante.SetOrientation(platform::PageOrientation::Portrait);
  const platform::PageMetrics page = *imprimante.Metrics();
  const survey::TSchemaGaleries schema = survey::SchemaGaleries(*c, MesuresSchema(page));
  ASSERT_EQ(schema.NombrePages(), 1);
  testsupport::DossierTemp dossier;
  const std::string pdf = dossier.Fichier("schema.pdf");
  ASSERT_TRUE(EcritSchemaPdf(pdf, {1}, schema, page));

  // Oracle: pdftotext -bbox.  100 printer dots in PDF points.
  const double pas = 100 * 72.0 / page.DpiX;
  const auto mots = Mots(pdf);
  for (const char* nom : {"G0", "->G1", "->G2", "->G3", "->Isolee", "Isolee", "Gouffre", "Schéma"})
    EXPECT_LE(mots.count(nom), 1u) << nom;
  ASSERT_EQ(mots.count("G0"), 1u);
  ASSERT_EQ(mots.count("->G1"), 1u) << [&] {
    std::string t;
    for (const auto& [k, m] : mots) t += k + "|";
    return t;
  }();
  ASSERT_EQ(mots.count("->G2"), 1u);
  ASSERT_EQ(mots.count("->G3"), 1u);
  const double x0 = mots.find("G0")->second.xMin, x1 = mots.find("->G1")->second.xMin,
               x2 = mots.find("->G2")->second.xMin, x3 = mots.find("->G3")->second.xMin;
  EXPECT_NEAR(x0, 0, 0.5);
  EXPECT_NEAR(x1 - x0, pas / 2, 0.5);  // level 1 at 50 dots, level 0 at 0
  EXPECT_NEAR(x2 - x1, pas, 0.5);
  EXPECT_NEAR(x3 - x2, pas, 0.5);
  // The title and the heading centred on the page.
  const double milieu = page.PageWidth * 72.0 / page.DpiX / 2;
  const Mot titre = mots.find("Gouffre")->second;
  EXPECT_NEAR((titre.xMin + titre.xMax) / 2, milieu, 1.5);
  const Mot schemaDebut = mots.find("Schéma")->second, schemaFin = mots.find("galeries")->second;
  EXPECT_NEAR((schemaDebut.xMin + schemaFin.xMax) / 2, milieu, 1.5);
  EXPECT_GT(schemaDebut.yMin, titre.yMax - 1);
  // The gallery surveyed apart after the heading, and not in the tree view.
  ASSERT_EQ(mots.count("rattachée(s)"), 1u);
  ASSERT_EQ(mots.count("Isolee"), 1u);
  EXPECT_GT(mots.find("Isolee")->second.yMin, mots.find("rattachée(s)")->second.yMax - 1);
  EXPECT_GT(mots.find("Isolee")->second.yMin, mots.find("->G3")->second.yMax);
  EXPECT_NEAR(mots.find("Isolee")->second.xMin, 0, 0.5);
  for (const NoeudGalerie& n : CreeArbreGaleries(*c).Noeuds) EXPECT_NE(n.Nom, "Isolee");

  // Oracle: pdftoppm, the top-left corner at the printer's resolution.
  const std::string base = dossier.Fichier("coin");
  Sortie("pdftoppm -gray -aa no -aaVector no -r " + std::to_string(page.DpiX) + " -x 0 -y 0 -W 600 -H " +
         std::to_string(page.DpiY * 2) + " -singlefile '" + pdf + "' '" + base + "'");
  const Image im = LitPgm(base + ".pgm");
  ASSERT_EQ(im.largeur, 600);
  auto ligne = [&](const std::string& nom) {  // the middle of a name's line, in dots
    const Mot m = mots.find(nom)->second;
    return static_cast<int>((m.yMin + m.yMax) / 2 * page.DpiY / 72.0);
  };
  // Each joining line from its gallery down to the middle of its child's line.
  const struct {
    int x;
    const char* parent;
    const char* enfant;
  } traits[] = {{50, "G0", "->G1"}, {150, "->G1", "->G2"}, {250, "->G2", "->G3"}};
  for (const auto& t : traits) {
    SCOPED_TRACE(t.x);
    const int haut = ligne(t.parent), bas = ligne(t.enfant);
    const int y = (haut + bas) / 2;
    EXPECT_LT(im.Gris(t.x, y), 128);
    EXPECT_LT(im.Gris(t.x - 1, y), 128);
    EXPECT_LT(im.Gris(t.x + 1, y), 128);
    // White between the names: beside the line and past the end of it.
    EXPECT_GT(im.Gris(t.x + 40, y), 128);
    EXPECT_GT(im.Gris(t.x - 40, y), 128);
    EXPECT_GT(im.Gris(t.x, ligne("->G3") + 2 * (bas - haut)), 128);
  }
}

TEST(ImpressionSchema, TroisCentsGaleriesSansPageBlanche) {
  if (Sortie("command -v pdftotext").empty()) GTEST_SKIP() << "poppler-utils absent";
  essai::TReseauEssai r;
  std::string d;
  for (int i = 0; i < 300; ++i) d += "G g" + std::to_string(i) + ": " + std::to_string(i) + "\n";
  d += "E1 - 0\n";
  // Branches of ten galleries.
  for (int i = 1; i < 300; ++i) d += std::to_string(i % 10 == 0 ? 0 : i - 1) + " - " + std::to_string(i) + "\n";
  survey::TCavite* c = r.Cavite("Réseau", d);
  platform::VirtualPdfPrinter imprimante;
  const platform::PageMetrics page = *imprimante.Metrics();
  const survey::TSchemaGaleries schema = survey::SchemaGaleries(*c, MesuresSchema(page));
  const int pages = schema.NombrePages();
  EXPECT_EQ(pages, (schema.HauteurTotale + schema.HauteurBande - 1) / schema.HauteurBande);
  ASSERT_GT(pages, 1);

  // Through the print dialog (every page) and the file dialog.
  testsupport::DossierTemp dossier;
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde(dialogues);
  dialogues.QueueFile(dossier.Fichier("schema"));
  TSortiePdf sortie;
  int offertes = 0;
  sortie.DialogueScripte = [&](int n, platform::Printer& p) {
    offertes = n;
    return std::optional<ChoixImpression>(ChoixImpression{&p, 0, 0});
  };
  ASSERT_TRUE(ImprimeArbreGaleries(*c, imprimante, sortie));
  EXPECT_EQ(offertes, pages);
  const std::string pdf = dossier.Fichier("schema.pdf");
  const std::string infos = Sortie("pdfinfo '" + pdf + "'");
  EXPECT_NE(infos.find("Pages:           " + std::to_string(pages) + "\n"), std::string::npos) << infos;
  // The last page holds the end of the diagram.
  EXPECT_EQ(Mots(pdf, pages).count("->g299"), 1u);
  EXPECT_EQ(Mots(pdf, 1).count("Réseau"), 1u);
}

}  // namespace
