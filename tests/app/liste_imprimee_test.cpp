// The printed listing: its pages in memory (header, gallery and trip blocks,
// grid, page number), then a PDF read back with pdftotext (the oracle).
#include <gtest/gtest.h>

#include <cstdio>

#include "app/table/impression_pdf.h"
#include "app/table/liste_imprimee.h"
#include "platform/printer.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/ports_survey.h"
#include "tests/app/reseau_essai.h"
#include "tests/support/dossier_temp.h"

using namespace app;

namespace {

// The texts of a page from top to bottom, each with its line number.
std::vector<std::pair<int, std::string>> Textes(const PageListe& p, int hauteurLigne) {
  std::vector<std::pair<int, std::string>> r;
  for (const ElementPage& e : p.Elements)
    if (!e.Trait) r.emplace_back(e.Y / hauteurLigne, e.Texte);
  return r;
}

bool Contient(const PageListe& p, const std::string& texte) {
  for (const ElementPage& e : p.Elements)
    if (!e.Trait && e.Texte.find(texte) != std::string::npos) return true;
  return false;
}

// Standard output of a command, "" when it cannot run.
std::string Sortie(const std::string& commande) {
  std::string r;
  FILE* f = ::popen(commande.c_str(), "r");
  if (!f) return r;
  char tampon[4096];
  size_t n;
  while ((n = std::fread(tampon, 1, sizeof tampon, f)) > 0) r.append(tampon, n);
  ::pclose(f);
  return r;
}

struct Reseau {
  essai::TReseauEssai r;
  survey::TCavite* c;
  std::vector<survey::TValeurVisee*> visees;
  Reseau() {
    std::string d = "G Principale: 1 2 3 4 5 6\nG Affluent: 10 11\nE1 - 1\n1 - 2\n2 - 3\n3 - 4\n4 - 5\n5 - 6\n3 - 10\n10 - 11";
    c = r.Cavite("Gouffre de la Pierre", d);
    auto lever = std::make_unique<survey::TLever>();
    lever->Methode = "Topo";
    survey::TLever* l = c->Levers.Add(std::move(lever));
    for (survey::TVisee* v : c->Visees) v->LeLever = l;
    for (survey::TVisee* v : c->Visees) visees.push_back(v);
  }
};

}  // namespace

TEST(ListeImprimee, EnTeteGaleriesLeversEtNumerosDePage) {
  survey::GardeAffichage affichage;
  Reseau res;
  MesuresListe m{1600, 1100, 10, 20, 10};
  const auto pages = GenerePagesListe(res.visees, 0, static_cast<int>(res.visees.size()) - 1, m, "Réseau d'essai",
                                      res.c->NomCavite);
  // Each gallery starts a page.
  ASSERT_EQ(pages.size(), 2u);
  for (size_t i = 0; i < pages.size(); ++i) {
    const auto t = Textes(pages[i], 20);
    ASSERT_GE(t.size(), 3u);
    EXPECT_EQ(t[0].first, 1);
    EXPECT_EQ(t[0].second.find("Impression du réseau Réseau d'essai"), 22u);  // centred in 80 characters
    EXPECT_EQ(t[1].first, 2);
    EXPECT_NE(t[1].second.find("Cavité : Gouffre de la Pierre"), std::string::npos);
    EXPECT_EQ(t.back().first, (1100 - 20) / 20);
    EXPECT_EQ(t.back().second.find("Page " + std::to_string(i + 1)), 37u);
    EXPECT_TRUE(Contient(pages[i], "Galerie : "));
    EXPECT_TRUE(Contient(pages[i], "Station"));
  }
  EXPECT_TRUE(Contient(pages[0], "Galerie : Principale"));
  EXPECT_TRUE(Contient(pages[1], "Galerie : Affluent"));
  // The trip block opens each gallery.
  EXPECT_TRUE(Contient(pages[0], "Date du lever"));
  // The rows stay within the page, above its number.
  for (const PageListe& p : pages)
    for (const ElementPage& e : p.Elements) EXPECT_LT(e.Y, 1100);
}

TEST(ListeImprimee, UnePetitePageCoupeLaGalerie) {
  survey::GardeAffichage affichage;
  Reseau res;
  // Room for the header, the trip block and a few rows only.
  MesuresListe m{1600, 20 * 22, 10, 20, 10};
  const auto pages = GenerePagesListe(res.visees, 0, 5, m, "R", "C");
  ASSERT_GE(pages.size(), 2u);
  EXPECT_TRUE(Contient(pages.back(), "Page " + std::to_string(pages.size())));
  // Nothing when the range is empty or the measures are unusable.
  EXPECT_TRUE(GenerePagesListe(res.visees, 3, 2, m, "R", "C").empty());
  EXPECT_TRUE(GenerePagesListe(res.visees, 0, 5, MesuresListe{}, "R", "C").empty());
}

TEST(ListeImprimee, ColonnesSelonLAffichage) {
  survey::GardeAffichage affichage;
  auto titres = [] {
    std::string s;
    for (const auto& c : ColonnesImpression()) s += c.Titre + "|";
    return s;
  };
  EXPECT_EQ(titres(), "Station|Vers|AZ  |Pente  |dH  |L  |Lh  ||Commentaires|");
  survey::Affichage().ColonnesTopofil = true;
  survey::Affichage().DimensionsAffichees = true;
  EXPECT_EQ(titres(), "Station|Vers|AZ  |Pente  |dH  |L  |Lh  |Deb Tpf|Fin Tpf|L Ga|L Dr|H Sup|H Inf||Commentaires|");
  EXPECT_EQ(ColonnesImpression().back().Largeur, 30);
  survey::Affichage().CoordonneesAffichees = true;
  EXPECT_EQ(titres(), "Station|Vers|AZ  |Pente  |dH  |L  |Lh  |X |Y |Z |SLh ||Commentaires|");
}

TEST(ListeImprimee, PdfLuParPdftotext) {
  if (Sortie("command -v pdftotext").empty()) GTEST_SKIP() << "pdftotext absent";
  survey::GardeAffichage affichage;
  Reseau res;
  platform::VirtualPdfPrinter imprimante;
  imprimante.SetOrientation(platform::PageOrientation::Landscape);
  const platform::PageMetrics page = *imprimante.Metrics();
  TSortiePdf sortie;
  const MesuresListe m = sortie.Mesures(page);
  ASSERT_GT(m.LargeurCar, 0);
  const auto pages = GenerePagesListe(res.visees, 0, static_cast<int>(res.visees.size()) - 1, m, "Réseau d'essai",
                                      res.c->NomCavite);
  ASSERT_EQ(pages.size(), 2u);
  testsupport::DossierTemp dossier;
  const std::string pdf = dossier.Fichier("liste.pdf");
  ASSERT_TRUE(TSortiePdf::EcritPdf(pdf, {1, 2}, pages, page));
  // Oracle: pdftotext.
  const std::string texte = Sortie("pdftotext -layout '" + pdf + "' -");
  EXPECT_NE(texte.find("Impression du réseau Réseau d'essai"), std::string::npos) << texte;
  EXPECT_NE(texte.find("Cavité : Gouffre de la Pierre"), std::string::npos);
  EXPECT_NE(texte.find("Page 1"), std::string::npos);
  EXPECT_NE(texte.find("Page 2"), std::string::npos);
  EXPECT_NE(texte.find("Galerie : Affluent"), std::string::npos);
  // Two landscape A4 pages.
  const std::string infos = Sortie("pdfinfo '" + pdf + "'");
  EXPECT_NE(infos.find("Pages:           2\n"), std::string::npos) << infos;
  EXPECT_NE(infos.find("842 x 595"), std::string::npos) << infos;
  // A range: page 2 alone.
  ASSERT_TRUE(TSortiePdf::EcritPdf(pdf, {2}, pages, page));
  const std::string seule = Sortie("pdftotext -layout '" + pdf + "' -");
  EXPECT_EQ(seule.find("Page 1"), std::string::npos);
  EXPECT_NE(seule.find("Page 2"), std::string::npos);
  EXPECT_EQ(PagesChoisies({nullptr, 2, 9}, 3), (std::vector<int>{2, 3}));
  EXPECT_EQ(PagesChoisies({}, 2), (std::vector<int>{1, 2}));
}
