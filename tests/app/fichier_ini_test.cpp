// The settings file: names with accents and blanks, Windows-1252 on disk,
// unknown lines kept in place.
#include <gtest/gtest.h>

#include "app/commun/fichier_ini.h"
#include "foundation/codage.h"
#include "tests/support/dossier_temp.h"

using app::TFichierIni;

namespace {

// A file as another copy of the program (or the user) left it, in Windows-1252.
std::string FichierExistant() {
  return foundation::VersWindows1252(
      "; réglages\r\n"
      "[Décli]\r\n"
      "Calcul Auto=0\r\n"
      "Inconnue=garde-moi\r\n"
      "\r\n"
      "[Section étrangère]\r\n"
      "clé = \"valeur entre guillemets\" \r\n"
      "[Décimales coordonnées]\r\n"
      "Décimales=3\r\n");
}

}  // namespace

TEST(FichierIni, LitLesNomsAccentuesSansEgardALaCasse) {
  TFichierIni ini;
  ini.LitOctets(FichierExistant());
  EXPECT_FALSE(ini.LitBooleen("Décli", "Calcul Auto", true));
  EXPECT_FALSE(ini.LitBooleen("DÉCLI", "calcul auto", true));
  EXPECT_EQ(ini.LitEntier("Décimales coordonnées", "Décimales", 1), 3);
  EXPECT_EQ(ini.LitTexte("Section étrangère", "clé", ""), "valeur entre guillemets");
  EXPECT_EQ(ini.LitTexte("Décli", "absente", "défaut"), "défaut");
  EXPECT_EQ(ini.LitEntier("Section étrangère", "clé", 7), 7);  // not a number
  EXPECT_TRUE(ini.SectionExiste("section ÉTRANGÈRE"));
}

TEST(FichierIni, EcritEnPlaceEtGardeCeQuIlNeConnaitPas) {
  TFichierIni ini;
  ini.LitOctets(FichierExistant());
  ini.EcritBooleen("Décli", "Calcul Auto", true);
  ini.EcritEntier("Décli", "Nouvelle clé", -5);
  ini.EcritTexte("Répertoire réseau", "Repertoire", "/home/moi/Mes Topos/");
  const std::string attendu = foundation::VersWindows1252(
      "; réglages\r\n"
      "[Décli]\r\n"
      "Calcul Auto=1\r\n"
      "Inconnue=garde-moi\r\n"
      "Nouvelle clé=-5\r\n"
      "\r\n"
      "[Section étrangère]\r\n"
      "clé = \"valeur entre guillemets\" \r\n"
      "[Décimales coordonnées]\r\n"
      "Décimales=3\r\n"
      "[Répertoire réseau]\r\n"
      "Repertoire=/home/moi/Mes Topos/\r\n");
  EXPECT_EQ(ini.Octets(), attendu);
  // The bytes on disk are Windows-1252: "é" is one byte.
  EXPECT_NE(ini.Octets().find("[D\xE9" "cli]"), std::string::npos);
}

TEST(FichierIni, EnregistreEtRelitDansUnDossierACreer) {
  testsupport::DossierTemp dossier;
  const std::string chemin = dossier.Fichier("sous/dossier/gravelune.ini");
  TFichierIni ini;
  ini.EcritEntier("Filigranes", "Couleur", 12632256);
  ini.EcritBooleen("Souris", "Sens", true);
  ASSERT_TRUE(ini.Enregistre(chemin));
  TFichierIni relu(chemin);
  EXPECT_EQ(relu.LitEntier("filigranes", "couleur", 0), 12632256);
  EXPECT_TRUE(relu.LitBooleen("Souris", "Sens", false));
  EXPECT_EQ(testsupport::LitOctets(chemin), "[Filigranes]\r\nCouleur=12632256\r\n[Souris]\r\nSens=1\r\n");
}

TEST(FichierIni, CasParticuliers) {
  struct Case {
    const char* nom;
    std::string octets;
    const char* section;
    const char* cle;
    int32_t attendu;
  };
  const Case cases[] = {
      {"hexadecimal Pascal", "[S]\nC=$FF\n", "S", "C", 255},
      {"hexadecimal C", "[S]\nC=0x800000\n", "S", "C", 0x800000},
      {"negatif", "[S]\nC=-1\n", "S", "C", -1},
      {"blancs autour", "[S]\n  C  =  42  \n", "S", "C", 42},
      {"fins de ligne Unix", "[S]\nC=3", "S", "C", 3},
      {"premiere occurrence", "[S]\nC=1\nC=2\n", "S", "C", 1},
      {"commentaire ignore", "[S]\n;C=9\n", "S", "C", -7},
      {"mauvaise section", "[T]\nC=9\n", "S", "C", -7},
      {"trop grand", "[S]\nC=99999999999\n", "S", "C", -7},
      {"UTF-8 avec marque", "\xEF\xBB\xBF[D\xC3\xA9" "cli]\nC=5\n", "Décli", "C", 5},
      {"UTF-8 sans marque", "[D\xC3\xA9" "cli]\nC=6\n", "Décli", "C", 6},
      {"Windows-1252", "[D\xE9" "cli]\nC=8\n", "Décli", "C", 8},
  };
  for (const Case& c : cases) {
    TFichierIni ini;
    ini.LitOctets(c.octets);
    EXPECT_EQ(ini.LitEntier(c.section, c.cle, -7), c.attendu) << c.nom;
  }
}

TEST(FichierIni, EffaceToutesLesLignesDUneCle) {
  TFichierIni ini;
  ini.LitOctets("[S]\nA=1\nB=2\nA=3\n[T]\nA=4\n");
  ini.EffaceCle("S", "a");
  EXPECT_FALSE(ini.CleExiste("S", "A"));
  EXPECT_EQ(ini.LitEntier("T", "A", 0), 4);
  EXPECT_EQ(ini.Octets(), "[S]\r\nB=2\r\n[T]\r\nA=4\r\n");
}
