// The KML export on a real TopoDroid survey: its structure, its points
// against PROJ's cs2cs, read back by xmllint and gpsbabel when installed.
#include <gtest/gtest.h>

#include <regex>

#include "drawing/annexe_cavite.h"
#include "formats/export/kml/export_kml.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "survey/contexte_document.h"
#include "survey/ports_survey.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "tests/formats/import_test_support.h"
#include "tests/projections/oracle_proj.h"

namespace testformats {
namespace {

const std::string kDossierTherion = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/therion/";

TEST(TexteKml, Couleurs) {
  struct Cas {
    uint32_t couleur;
    const char* attendu;
  } cas[] = {{0x0000FF, "ff0000ff"}, {0xFF0000, "ffff0000"}, {0x00ABCDEF, "ffabcdef"}, {0, "ff000000"}};
  for (const Cas& c : cas) EXPECT_EQ(formats::CouleurKml(c.couleur), c.attendu) << c.couleur;
}

TEST(FichierKml, M1bCommeCs2cs) {
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
  ReseauImport r;
  ASSERT_TRUE(r.Importe(kDossierTherion + "M1b.th", formats::TypeImportTopoDroid));
  TPointSpeleo* zero = r.PointSurface("0");
  ASSERT_NE(zero, nullptr);
  zero->DesignPTopo = "Puits & <Salle>";
  zero->Commentaire.push_back("Œil-de-bœuf 2 €");
  formats::TFichierKML fichier(r.R());
  formats::ConstruitKml(r.R(), formats::KmlObjetsDefaut, fichier);
  std::string texte;
  for (const std::string& l : fichier.Lignes) texte += l + "\n";
  // One cave: its name and folders directly in the document.
  // One cave: its name is the document's, before the first folder; its
  // folders sit directly in the document.
  EXPECT_NE(texte.find("<Document>\n  <name>M1b</name>\n  <Folder>\n    <name>Points de surface</name>"),
            std::string::npos)
      << texte;
  EXPECT_NE(texte.find("</Folder>\n  <Folder>\n    <name>Cheminement - Galeries</name>\n    <Folder>"),
            std::string::npos)
      << texte;
  EXPECT_NE(texte.find("<name>Puits &amp; &lt;Salle&gt;</name>"), std::string::npos);
  // Every coordinate line of the survey lines against PROJ.
  const std::regex motif("^ *([-0-9.]+),([-0-9.]+),([-0-9.]+)$");
  std::vector<std::array<double, 3>> lus;
  for (const std::string& l : fichier.Lignes) {
    std::smatch m;
    if (!std::regex_match(l, m, motif)) continue;
    std::array<double, 3> v{};
    for (int i = 0; i < 3; ++i) foundation::LitReel(m[i + 1].str(), v[i]);
    lus.push_back(v);
  }
  ASSERT_GE(lus.size(), 24u);
  std::vector<std::array<double, 2>> projetes{{zero->X, zero->Y}};
  for (int i = 23; i >= 1; --i) {
    const TPointSpeleo* p = r.Station(std::to_string(i));
    ASSERT_NE(p, nullptr);
    projetes.push_back({p->X, p->Y});
  }
  const auto oracle = oracle::Cs2cs("+proj=utm +zone=32 +datum=WGS84", "+proj=longlat +datum=WGS84", projetes);
  if (oracle) {
    oracle::AnnonceOracle("cs2cs");
    // The surface point, then one line from station 23 back to station 1.
    for (size_t i = 0; i < projetes.size(); ++i) {
      EXPECT_NEAR(lus[i][0], (*oracle)[i][0], 1e-8) << i;
      EXPECT_NEAR(lus[i][1], (*oracle)[i][1], 1e-8) << i;
    }
  }
  const std::string chemin = r.Dossier.Fichier("m1b.kml");
  r.Dialogues.QueueFile(chemin);
  ASSERT_TRUE(formats::GenereFichierKml(r.R()));
  const std::string octets = testsupport::LitOctets(chemin);
  EXPECT_NE(octets.find("&#8364;"), std::string::npos);
  if (oracle::ProgrammeDisponible("xmllint")) {
    EXPECT_TRUE(oracle::Execute("xmllint --noout '" + chemin + "'", "").has_value());
  }
  if (oracle::ProgrammeDisponible("gpsbabel")) {
    const auto sortie = oracle::Execute("gpsbabel -i kml -f '" + chemin + "' -o unicsv -F -", "");
    ASSERT_TRUE(sortie.has_value());
    EXPECT_NE(sortie->find("Puits & <Salle>"), std::string::npos) << *sortie;
    EXPECT_NE(sortie->find("Œil-de-bœuf 2 €"), std::string::npos) << *sortie;
  }
}

// The caves made meanwhile carry the drawing data, as in the program.
struct GardeAnnexeDessin {
  decltype(survey::Ports().CreeAnnexeCavite) avant = survey::Ports().CreeAnnexeCavite;
  GardeAnnexeDessin() { drawing::InstalleAnnexeDessin(); }
  ~GardeAnnexeDessin() { survey::Ports().CreeAnnexeCavite = avant; }
};

TEST(FichierKml, ChoixDesObjets) {
  GardeAnnexeDessin annexe;
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
  ReseauImport r;
  ASSERT_TRUE(r.Importe(kDossierTherion + "M1b.th", formats::TypeImportTopoDroid));
  struct Cas {
    int objets;
    bool surface, cheminement, enveloppes, dessin;
  } cas[] = {{8, true, false, false, false},
             {16, false, true, false, false},
             {64, false, false, true, false},
             {216, true, true, true, true},
             {216 - 128, true, true, true, false}};
  for (const Cas& c : cas) {
    formats::TFichierKML fichier(r.R());
    formats::ConstruitKml(r.R(), c.objets, fichier);
    std::string texte;
    for (const std::string& l : fichier.Lignes) texte += l + "\n";
    EXPECT_EQ(texte.find("Points de surface") != std::string::npos, c.surface) << c.objets;
    EXPECT_EQ(texte.find("Cheminement - Galeries") != std::string::npos, c.cheminement) << c.objets;
    EXPECT_EQ(texte.find("<name>Enveloppes</name>") != std::string::npos, c.enveloppes) << c.objets;
    EXPECT_EQ(texte.find("<name>Dessin</name>") != std::string::npos, c.dessin) << c.objets;
    EXPECT_EQ(fichier.Lignes.back(), "</kml>");
  }
}

TEST(FichierKml, Apercu) {
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
  ReseauImport r;
  ASSERT_TRUE(r.Importe(kDossierTherion + "M1b.th", formats::TypeImportTopoDroid));
  const std::string document = survey::Document().NomFichierCourant;
  survey::Document().NomFichierCourant = r.Dossier.Fichier("m1b.cav");
  // Each answer of the desktop, and what the user is told of it.
  const struct {
    platform::OpenResult reponse;
    bool ouvert;
    std::string message;
  } cas[] = {
      {platform::OpenResult::Opened, true, ""},
      {platform::OpenResult::NoProgram, false, "Aucun programme n'est installé pour ouvrir les fichiers KML"},
      {platform::OpenResult::Failed, false, ""},
  };
  for (const auto& c : cas) {
    r.Dialogues.Clear();
    platform::ScriptedShell shell(c.reponse);
    platform::ScopedShell garde(shell);
    EXPECT_EQ(formats::VisualiseKml(r.R()), c.ouvert);
    ASSERT_EQ(shell.Opened.size(), 1u);
    EXPECT_EQ(platform::FileNameOf(shell.Opened[0]), "KmlTmp.kml");
    EXPECT_EQ(shell.Opened[0].rfind(r.Dossier.Chemin(), 0), 0u) << shell.Opened[0];
    EXPECT_NE(testsupport::LitOctets(shell.Opened[0]).find("</kml>"), std::string::npos);
    const std::string attendu = c.reponse == platform::OpenResult::Failed
                                    ? "Le fichier " + shell.Opened[0] + " n'a pas pu être ouvert. Visualisation impossible"
                                    : c.message;
    EXPECT_EQ(r.Dialogues.Messages(),
              attendu.empty() ? std::vector<std::string>{} : std::vector<std::string>{attendu});
  }
  survey::Document().NomFichierCourant = document;
}

TEST(TexteKml, IndentationBornee) {
  // Folders nested 40 deep, as a chain of galleries each hanging on the
  // previous one: the indent stops at 32 levels, the elements still close.
  ReseauImport r;
  formats::TFichierKML fichier(r.R());
  for (int i = 0; i < 40; ++i) fichier.DebutBalise("Folder");
  fichier.BaliseLigne("name", "fond");
  for (int i = 0; i < 40; ++i) fichier.FinBalise();
  ASSERT_EQ(fichier.Lignes.size(), 81u);
  EXPECT_EQ(fichier.Lignes[0], "<Folder>");
  EXPECT_EQ(fichier.Lignes[10], std::string(20, ' ') + "<Folder>");
  EXPECT_EQ(fichier.Lignes[40], std::string(64, ' ') + "<name>fond</name>");
  EXPECT_EQ(fichier.Lignes[45], std::string(64, ' ') + "</Folder>");
  EXPECT_EQ(fichier.Lignes[80], "</Folder>");
  EXPECT_EQ(fichier.NBIndent(), 0);
}

TEST(FichierKml, DeuxCavitesSousLeNomDuReseau) {
  // Two caves: the network's name first, then one folder per cave named after
  // it, each holding its own survey lines.
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
  ReseauImport r;
  ASSERT_TRUE(r.Importe(kDossierTherion + "M1b.th", formats::TypeImportTopoDroid));
  ASSERT_TRUE(r.Importe(kDossierTherion + "M1b.th", formats::TypeImportTopoDroid));
  ASSERT_EQ(r.R().NombreCavites(), 3);
  r.R().Nom = "Massif & Co";
  r.R().UneCavite(2)->NomCavite = "M1b bis";
  formats::TFichierKML fichier(r.R());
  formats::ConstruitKml(r.R(), formats::KmlObjetsDefaut, fichier);
  std::string texte;
  for (const std::string& l : fichier.Lignes) texte += l + "\n";
  EXPECT_NE(texte.find("<Document>\n  <name>Massif &amp; Co</name>\n  <Folder>\n    <name>Points de surface</name>"),
            std::string::npos)
      << texte;
  const size_t premiere = texte.find("\n  <Folder>\n    <name>M1b</name>\n    <Folder>\n      <name>Cheminement - Galeries</name>");
  const size_t seconde =
      texte.find("\n  <Folder>\n    <name>M1b bis</name>\n    <Folder>\n      <name>Cheminement - Galeries</name>");
  EXPECT_NE(premiere, std::string::npos) << texte;
  EXPECT_NE(seconde, std::string::npos) << texte;
  EXPECT_LT(premiere, seconde);
  EXPECT_EQ(fichier.Lignes.back(), "</kml>");
  EXPECT_EQ(fichier.NBIndent(), 0);
}

}  // namespace
}  // namespace testformats
