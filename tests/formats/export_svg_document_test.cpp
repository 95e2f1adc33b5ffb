// The SVG document of a computed network with a drawing of every kind: its
// layers and their identifiers (parsed, and listed by Inkscape), every set of
// object kinds in both variants well formed with every reference defined,
// the survey lines and station names in plan and in an elevation, escaped
// texts and paths, the web variant, and the exports that write nothing.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <regex>
#include <set>

#include "drawing/donnees_coupe_long.h"
#include "formats/contexte_formats.h"
#include "survey/contexte_document.h"
#include "tests/formats/outils_svg.h"

namespace {

using namespace testsvg;
using IdLibelle = std::pair<std::string, std::string>;

std::vector<std::string> Libelles(const std::vector<IdLibelle>& c) {
  std::vector<std::string> r;
  for (const auto& [id, libelle] : c) r.push_back(libelle);
  return r;
}

pugi::xml_node Calque(const pugi::xml_node& n, const std::string& libelle) {
  return n.find_child([&](const pugi::xml_node& g) { return libelle == g.attribute("inkscape:label").value(); });
}

// Every identifier of the document, and every reference made to one
// ("url(#x)", "href="#x"").
void VerifieReferences(const std::string& texte, const std::string& quoi) {
  std::set<std::string> ids;
  const std::regex id(" id=\"([^\"]+)\"");
  for (auto it = std::sregex_iterator(texte.begin(), texte.end(), id); it != std::sregex_iterator(); ++it)
    ids.insert((*it)[1].str());
  const std::regex ref("(?:url\\(#|href=\"#)([^)\"]+)");
  for (auto it = std::sregex_iterator(texte.begin(), texte.end(), ref); it != std::sregex_iterator(); ++it)
    EXPECT_TRUE(ids.count((*it)[1].str())) << quoi << ": #" << (*it)[1].str();
}

TEST(DocumentSVG, CalquesDeDeuxCavites) {
  ReseauSVG r;
  Sortie s;
  formats::TVueExportSVG vue(r.R(), false, 1000);
  const std::string chemin = s.dossier.Fichier("massif.svg");
  s.dialogues.QueueFile(chemin);
  ASSERT_TRUE(vue.Exporte(false)) << ::testing::PrintToString(s.dialogues.Messages());
  EXPECT_EQ(s.attente.Log, (std::vector<std::string>{"+Génération du fichier SVG", "-Génération du fichier SVG"}));
  const std::string texte = Lit(chemin);
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(texte.c_str())) << texte.substr(0, 2000);
  const pugi::xml_node svg = doc.child("svg");
  const pugi::xml_node viewport = svg.child("g");
  ASSERT_STREQ(viewport.attribute("id").value(), "viewport");
  // The definitions come first, then the grid and one layer per cave.
  EXPECT_STREQ(viewport.first_child().name(), "defs");
  EXPECT_EQ(Libelles(Calques(viewport)), (std::vector<std::string>{"Carroyage", "Igue", "Aven"}));
  EXPECT_EQ(Libelles(Calques(Calque(viewport, "Igue"))),
            (std::vector<std::string>{"1-Galeries", "1-Dessin", "1-Textes", "1-Les Coupes", "1-Les Ecarts",
                                      "1-Cheminement", "1-Numéros Points"}));
  EXPECT_EQ(Libelles(Calques(Calque(viewport, "Aven"))),
            (std::vector<std::string>{"2-Galeries", "2-Dessin", "2-Textes", "2-Cheminement", "2-Numéros Points"}));
  // The sections and offset parts hold their own drawing and text layers.
  EXPECT_EQ(Libelles(Calques(Calque(Calque(viewport, "Igue"), "1-Les Coupes"))),
            (std::vector<std::string>{"1-Dessin", "1-Textes"}));
  // Identifiers from layer1 on, without gaps, in document order.
  std::vector<IdLibelle> tous;
  TousCalques(svg, tous);
  ASSERT_GT(tous.size(), 15u);
  for (size_t i = 0; i < tous.size(); ++i) EXPECT_EQ(tous[i].first, "layer" + std::to_string(i + 1)) << i;
  // The size is the extent with its margin of 50 m at 1:1000.
  const drawing::TConstantesSVG c = vue.Constantes();
  EXPECT_EQ(c.NomSVG, "Massif-Plani");
  EXPECT_NEAR(svg.attribute("width").as_double(), c.AbsMax - c.AbsMin + 100, 0.001);
  EXPECT_NEAR(svg.attribute("height").as_double(), c.OrdMax - c.OrdMin + 100, 0.001);
  EXPECT_NE(texte.find("stroke-width=\"0.05000\""), std::string::npos);
  VerifieReferences(texte, "éditeur");
  if (Present("xmllint")) EXPECT_TRUE(Lance("xmllint --noout '" + chemin + "'").has_value());
  if (Present("inkscape")) {
    std::cout << "[ oracle  ] inkscape --query-all\n";
    const auto sortie = Lance("HOME=" + s.dossier.Chemin() + " inkscape --query-all '" + chemin + "'");
    ASSERT_TRUE(sortie.has_value());
    std::vector<std::string> ids;
    std::istringstream lignes(*sortie);
    std::string l;
    while (std::getline(lignes, l))
      if (std::regex_match(l.substr(0, l.find(',')), std::regex("layer[0-9]+"))) ids.push_back(l.substr(0, l.find(',')));
    // Inkscape lists the layers that hold something to draw.
    std::vector<std::string> attendus;
    for (const pugi::xpath_node& g : svg.select_nodes("//g[@inkscape:groupmode='layer']"))
      if (g.node().select_node(".//*[not(self::g)]")) attendus.push_back(g.node().attribute("id").value());
    EXPECT_GT(attendus.size(), 10u);
    EXPECT_EQ(ids, attendus);
  }
}

TEST(DocumentSVG, ToutesLesCombinaisonsBienFormees) {
  ReseauSVG r;
  formats::TVueExportSVG vue(r.R(), false, 1000);
  static constexpr TOD kSortes[] = {TOD::odNumPt, TOD::odNumSurf, TOD::odPtSurf,  TOD::odPtLever,
                                    TOD::odVisHab, TOD::odGalerie, TOD::odDessin, TOD::odTexte,
                                    TOD::odQuadrill, TOD::odCoupes, TOD::odEcarts};
  for (uint32_t k = 0; k < (1u << 11); ++k) {
    formats::TObjetsSVG objets = 0;
    for (int i = 0; i < 11; ++i)
      if (k & (1u << i)) objets |= BitTypeObjet(kSortes[i]);
    for (bool web : {false, true}) {
      const std::string texte = Document(vue, objets, web);
      pugi::xml_document doc;
      const pugi::xml_parse_result lu = doc.load_string(texte.c_str());
      ASSERT_TRUE(lu) << k << " " << web << ": " << lu.description() << " à " << lu.offset;
      if (k == (1u << 11) - 1) VerifieReferences(texte, web ? "web" : "éditeur");
    }
  }
  EXPECT_FALSE(formats::EtatSVG().ExportSVGActif);
}

// The tspan names of a node, with their positions in the document.
std::map<std::string, std::vector<std::array<double, 2>>> Noms(const pugi::xml_node& n) {
  std::map<std::string, std::vector<std::array<double, 2>>> r;
  for (const pugi::xpath_node& t : n.select_nodes(".//tspan"))
    r[t.node().text().get()].push_back({t.node().attribute("x").as_double(), t.node().attribute("y").as_double()});
  return r;
}

TEST(DocumentSVG, CheminementEtNumerosEnPlanEtEnCoupe) {
  ReseauSVG r(false);
  {
    formats::TVueExportSVG vue(r.R(), false, 1000);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(Document(vue, formats::ObjetsSVGDefaut, false).c_str()));
    const pugi::xml_node igue = Calque(doc.child("svg").child("g"), "Igue");
    // The branch's line ends on A1, which the main line passes: A1 is named
    // once, and so is every other station of a written line.
    const auto noms = Noms(Calque(igue, "1-Numéros Points"));
    for (const char* n : {"E1", "A1", "A2", "A3", "B1", "B2"}) EXPECT_EQ(noms.count(n) ? noms.at(n).size() : 0u, 1u) << n;
    EXPECT_EQ(noms.size(), 6u);
    std::vector<size_t> lignes;
    for (pugi::xml_node p : Calque(igue, "1-Cheminement").children("polyline"))
      lignes.push_back(Points(p.attribute("points").value()).size());
    // The branch first (B2 B1 A1), then the main line (A3 A2 A1 E1), then
    // the two splays of A1.
    EXPECT_EQ(lignes, (std::vector<size_t>{3, 4, 2, 2}));
  }
  // An elevation of the main gallery only: the branch's shots are outside
  // it and it writes no line; its stations are not named.
  survey::TCavite* igue = r.igue;
  drawing::TAnnexeDessinCavite* a = drawing::AnnexeDessin(igue);
  drawing::TDonneesCoupeLong* partielle =
      a->LesCoupesLong.AjouteDonneeCoupe(foundation::TTypeDeDessin::tddAltiDev, &igue->Visees, true, "Principale");
  for (const char* v : {"E1A1", "A1A2", "A2A3"}) partielle->AjouteViseeCoupe(r.visees.at(v));
  partielle->MajListeViseesDeRef();
  for (drawing::TDonneesCoupeLong* coupe : {a->LeDessinAltiOr, partielle}) {
    a->LeDessinAlti = coupe;
    formats::TVueExportSVG vue(r.R(), true, 1000);
    const std::string texte = Document(vue, formats::ObjetsSVGDefaut, false);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(texte.c_str()));
    const pugi::xml_node vp = doc.child("svg").child("g");
    // One cave, its layers without prefix, no grid.
    EXPECT_EQ(Libelles(Calques(vp)), (std::vector<std::string>{"Galeries", "Dessin", "Textes", "Cheminement",
                                                                "Numéros Points"}))
        << coupe->DesignCoupe;
    std::vector<std::vector<std::array<double, 2>>> lignes;
    for (pugi::xml_node p : Calque(vp, "Cheminement").children("polyline"))
      lignes.push_back(Points(p.attribute("points").value()));
    const auto noms = Noms(Calque(vp, "Numéros Points"));
    if (coupe == partielle) {
      EXPECT_EQ(vue.Constantes().NomSVG, "Igue-AltiDev");
      // The main line with its entrance leg, and the splays of A1.
      ASSERT_EQ(lignes.size(), 3u) << texte;
      EXPECT_EQ(lignes[0].size(), 4u);
      EXPECT_EQ(noms.size(), 4u);
      EXPECT_FALSE(noms.count("B1") || noms.count("B2"));
    } else {
      ASSERT_EQ(lignes.size(), 4u);
      EXPECT_EQ(noms.size(), 6u);
    }
    // Each named station stands at its developed distance and altitude.
    const drawing::TConstantesSVG c = vue.Constantes();
    for (const auto& [nom, positions] : noms) {
      const TPointSpeleo* p = r.Station(nom);
      ASSERT_NE(p, nullptr) << nom;
      EXPECT_NEAR(positions[0][0], p->Slh - c.AbsMin + 50, 0.0006) << nom;
      EXPECT_NEAR(positions[0][1], 50 + c.OrdMax - p->Z, 0.0006) << nom;
    }
  }
}

TEST(DocumentSVG, TextesEtCheminsEchappes) {
  ReseauSVG r;
  Sortie s;
  survey::Document().NomFichierCourant = s.dossier.Chemin() + "/a--b/c-.cav";
  formats::TVueExportSVG vue(r.R(), false, 1000);
  const std::string chemin = s.dossier.Fichier("echappe.svg");
  s.dialogues.QueueFile(chemin);
  ASSERT_TRUE(vue.Exporte(false));
  const std::string texte = Lit(chemin);
  EXPECT_NE(texte.find("<!-- fichier d'origine : " + s.dossier.Chemin() + "/a- -b/c-.cav -->"), std::string::npos)
      << texte.substr(0, 400);
  EXPECT_NE(texte.find("Salle &amp; &lt;Puits&gt;"), std::string::npos);
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(texte.c_str()));
  if (Present("xmllint")) {
    std::cout << "[ oracle  ] xmllint\n";
    EXPECT_TRUE(Lance("xmllint --noout '" + chemin + "'").has_value());
  }
}

TEST(DocumentSVG, VarianteWeb) {
  ReseauSVG r;
  Sortie s;
  formats::GardePortsExport ports;
  std::vector<std::string> proposes;
  formats::FenetresExport().AfficheObjetsSvg = [&](formats::TObjetsSvgDlg& d) {
    for (int i = 0; i < formats::TObjetsSvgDlg::NombreBoites; ++i)
      if (d[static_cast<formats::TObjetsSvgDlg::Boite>(i)].Coche)
        proposes.push_back(formats::TObjetsSvgDlg::NomBoite(static_cast<formats::TObjetsSvgDlg::Boite>(i)));
    d.TousBtnClick();
    return true;
  };
  formats::TVueExportSVG vue(r.R(), false, 1000);
  const std::string chemin = s.dossier.Fichier("web.svg");
  s.dialogues.QueueFile(chemin);
  ASSERT_TRUE(vue.Exporte(true));
  EXPECT_EQ(proposes, (std::vector<std::string>{"ChkbDessin", "ChkbTextes", "ChkbCoupes", "ChkbEcarts"}));
  const std::string texte = Lit(chemin);
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(texte.c_str()));
  const pugi::xml_node svg = doc.child("svg");
  EXPECT_FALSE(svg.attribute("width"));
  EXPECT_FALSE(svg.attribute("height"));
  // The script last, in a CDATA section.
  EXPECT_STREQ(svg.last_child().name(), "script");
  EXPECT_EQ(svg.last_child().first_child().type(), pugi::node_cdata);
  // Only the drawn elements and the texts keep their layers.
  std::vector<IdLibelle> tous;
  TousCalques(svg, tous);
  std::set<std::string> libelles;
  for (const auto& [id, l] : tous) libelles.insert(l);
  EXPECT_EQ(libelles, (std::set<std::string>{"1-Dessin", "1-Textes", "2-Dessin", "2-Textes"}));
  EXPECT_NE(texte.find("<tspan"), std::string::npos);
  VerifieReferences(texte, "web");
}

TEST(DocumentSVG, SansFichier) {
  ReseauSVG r(false);
  struct Cas {
    const char* nom;
    bool web;
    int reponse;  // window: 0 cancelled, 1 OK with nothing, 2 OK with all; -1 save cancelled
    bool attente;
  } cas[] = {{"fenêtre annulée", true, 0, false},
             {"rien de coché", true, 1, false},
             {"enregistrement annulé", false, -1, true}};
  for (const Cas& c : cas) {
    Sortie s;
    formats::GardePortsExport ports;
    formats::FenetresExport().AfficheObjetsSvg = [&](formats::TObjetsSvgDlg& d) {
      if (c.reponse == 1) d.AucunBtnClick();
      return c.reponse > 0;
    };
    s.dialogues.QueueFile(std::nullopt);
    formats::TVueExportSVG vue(r.R(), false, 1000);
    EXPECT_FALSE(vue.Exporte(c.web)) << c.nom;
    EXPECT_TRUE(std::filesystem::is_empty(s.dossier.Chemin())) << c.nom;
    EXPECT_EQ(s.attente.Log.empty(), !c.attente) << c.nom;
    EXPECT_FALSE(formats::EtatSVG().ExportSVGActif) << c.nom;
    EXPECT_EQ(drawing::Affichage().ModeTraceur, 0) << c.nom;
  }
}

}  // namespace

namespace {

// cavtool beside the test binary: build/bin/cavtool.
std::string Cavtool() {
  char tampon[4096];
  const ssize_t n = ::readlink("/proc/self/exe", tampon, sizeof tampon - 1);
  if (n <= 0) return {};
  std::string exe(tampon, static_cast<size_t>(n));
  exe = exe.substr(0, exe.rfind('/'));
  return exe.substr(0, exe.rfind('/')) + "/bin/cavtool";
}

// The exit status of a command, its standard error in erreur.
int Statut(const std::string& commande, std::string& erreur, const testsupport::DossierTemp& dossier) {
  const std::string fichier = dossier.Fichier("erreur.txt");
  const int etat = std::system((commande + " >/dev/null 2>'" + fichier + "'").c_str());
  erreur = Lit(fichier);
  return WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
}

TEST(CavtoolSVG, PlanCoupeEtErreurs) {
  const std::string cavtool = Cavtool();
  if (::access(cavtool.c_str(), X_OK) != 0) GTEST_SKIP() << "cavtool absent: " << cavtool;
  testsupport::DossierTemp dossier;
  std::string erreur;
  const std::string cav = dossier.Fichier("olivier.cav");
  ASSERT_EQ(Statut("'" + cavtool + "' import '" + GRAVELUNE_SHARED_DIR + "/fixtures/vtopo/Olivier.tro' '" + cav + "'",
                   erreur, dossier),
            0)
      << erreur;
  struct Cas {
    std::string options;
    std::vector<std::string> calques;
    const char* trait;  // a survey line's width (pen 1)
  } cas[] = {
      {"", {"Carroyage", "Grotte de l'Olivier"}, "0.05000"},
      {" --alti --echelle 500", {"Galeries", "Dessin", "Textes", "Cheminement", "Numéros Points"}, "0.02500"},
  };
  for (const Cas& c : cas) {
    const std::string svg = dossier.Fichier("olivier.svg");
    ASSERT_EQ(Statut("'" + cavtool + "' export svg '" + cav + "' '" + svg + "'" + c.options, erreur, dossier), 0)
        << c.options << erreur;
    const std::string texte = Lit(svg);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(texte.c_str())) << c.options;
    EXPECT_EQ(Libelles(Calques(doc.child("svg").child("g"))), c.calques) << c.options;
    EXPECT_NE(texte.find(std::string("stroke-width=\"") + c.trait + "\""), std::string::npos) << c.options;
  }
  // An unreadable document: status 1 and the French message.
  const std::string mauvais = dossier.Fichier("mauvais.cav");
  std::ofstream(mauvais) << "pas un document";
  EXPECT_EQ(Statut("'" + cavtool + "' export svg '" + mauvais + "' '" + dossier.Fichier("x.svg") + "'", erreur, dossier),
            1);
  EXPECT_NE(erreur.find("n'a pas pu être lu"), std::string::npos) << erreur;
  EXPECT_FALSE(std::filesystem::exists(dossier.Fichier("x.svg")));
  // A file that cannot be written: status 1, its message.
  EXPECT_EQ(Statut("'" + cavtool + "' export svg '" + cav + "' '" + dossier.Chemin() + "/absent/x.svg'", erreur,
                   dossier),
            1);
  EXPECT_NE(erreur.find("n'a pas pu être enregistré"), std::string::npos) << erreur;
  // Bad options: the usage, status 2.
  EXPECT_EQ(Statut("'" + cavtool + "' export svg '" + cav + "' '" + dossier.Fichier("y.svg") + "' --echelle zéro",
                   erreur, dossier),
            2);
}

}  // namespace
