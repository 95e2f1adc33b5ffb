// The settings: built-in values, the file written at exit, the recent lists,
// the input order and the default pattern files.
#include <gtest/gtest.h>

#include "app/commun/config_generale.h"
#include "app/commun/fichier_ini.h"
#include "platform/files.h"
#include "survey/contexte_document.h"
#include "survey/dossiers.h"
#include "survey/ports_survey.h"
#include "tests/support/dossier_temp.h"
#include "tests/support/garde_contextes.h"

using namespace app;

namespace {

// Every context (settings and services included) restored after each test.
using Gardes = testsupport::GardeContextes;

}  // namespace

TEST(ConfigGenerale, SansFichierLesValeursIntegrees) {
  Gardes g;
  Config() = ConfigGenerale();
  testsupport::DossierTemp dossier;
  LitConfigGenerale(dossier.Fichier("absent.ini"));
  const ConfigGenerale& c = Config();
  EXPECT_EQ(c.PosAzimut, 0);
  EXPECT_EQ(c.PosPente, 1);
  EXPECT_EQ(c.PosLongueur, 2);
  EXPECT_EQ(c.OrdreSaisie, (std::array<int32_t, 3>{0, 1, 2}));
  EXPECT_EQ(survey::Affichage().DecimalesCoord, 1);
  EXPECT_EQ(c.CouleurFiligrane, 0xC0C0C0u);
  EXPECT_EQ(c.RegionProjections, 0);
  EXPECT_EQ(NomsRegions()[0], "France");
  EXPECT_TRUE(c.CalculDecliAuto);
  EXPECT_FALSE(c.SaisieTopofil);
  EXPECT_TRUE(c.FichierMotifsDefaut.empty());
  EXPECT_TRUE(c.ListeDerniersFichiers.empty());
  EXPECT_EQ(c.TraitAxe.CouleurPlume, 0x0000FFu);
  EXPECT_EQ(c.TraitViseesAnnexes.StylePlume, 2);
  EXPECT_EQ(c.TraitEnveloppe.CouleurPlume, 0x800000u);
  EXPECT_EQ(c.PointsSurface.Trait.CouleurPlume, 0x008080u);
}

TEST(ConfigGenerale, FichierEcritAvecSesSectionsEtSesCles) {
  Gardes g;
  Config() = ConfigGenerale();
  survey::Document().NomFichierCourant.clear();
  survey::Document().RepertoireReseau.clear();
  TFichierIni ini;
  EcritConfigGenerale(ini);
  std::string texte;
  for (const char* section :
       {"Répertoire réseau", "Ordre de Saisie", "Saisie", "Décli", "Décimales coordonnées", "Motifs Fontes Symboles",
        "Motifs Th2", "Souris", "Axe Cheminement", "Visées annexes", "Enveloppe galeries", "Points surface",
        "Filigranes", "Zone projections"}) {
    texte += std::string("[") + section + "]";
    for (const auto& [cle, valeur] : ini.LitSection(section)) texte += " " + cle + "=" + valeur;
    texte += "\n";
  }
  const std::string documents = survey::DossierSpecial(5) + "/";
  EXPECT_EQ(texte,
            "[Répertoire réseau] Repertoire=" + documents + "\n"
            "[Ordre de Saisie] Azimut=0 Pentes=1 Longueurs=2\n"
            "[Saisie] Topofil=0\n"
            "[Décli] Calcul Auto=1\n"
            "[Décimales coordonnées] Décimales=1\n"
            "[Motifs Fontes Symboles] Fichier par défaut=\n"
            "[Motifs Th2] Fichier par défaut=\n"
            "[Souris] Sens=0\n"
            "[Axe Cheminement] Couleur=255 Style=0 Epaisseur=1\n"
            "[Visées annexes] Couleur=255 Style=2 Epaisseur=1\n"
            "[Enveloppe galeries] Couleur=8388608 Style=0 Epaisseur=1\n"
            "[Points surface] Couleur=32896 Epaisseur=1 Couleur pour tous=1 Tracer Cercle=1 Taille Design=1\n"
            "[Filigranes] Couleur=12632256\n"
            "[Zone projections] Liste Projections=0\n");
}

TEST(ConfigGenerale, RelitCeQuIlAEcritEtGardeLesClesInconnues) {
  Gardes g;
  testsupport::DossierTemp dossier;
  const std::string chemin = dossier.Fichier("gravelune.ini");
  testsupport::EcritOctets(chemin, "[Souris]\r\nSens=0\r\nMa clé=à garder\r\n[Autre]\r\nX=1\r\n");
  ConfigGenerale& c = Config();
  c = ConfigGenerale();
  c.PosAzimut = 2;
  c.PosPente = 0;
  c.PosLongueur = 1;
  c.SaisieTopofil = true;
  c.CalculDecliAuto = false;
  c.SensMolette = true;
  c.FichierMotifsDefaut = "/motifs/défaut.mtf";
  c.TraitEnveloppe.CouleurPlume = 0x123456;
  c.PointsSurface.TracerCercle = false;
  c.CouleurFiligrane = 0xABCDEF;
  c.RegionProjections = 6;
  survey::Affichage().DecimalesCoord = 3;
  survey::Document().RepertoireReseau = dossier.Chemin();
  survey::Document().NomFichierCourant.clear();
  ASSERT_TRUE(EcritConfigGenerale(chemin));

  Config() = ConfigGenerale();
  survey::Affichage().DecimalesCoord = 1;
  int regionAppliquee = -1;
  Services().ChangeListeProjections = [&](int32_t r) { regionAppliquee = r; };
  LitConfigGenerale(chemin);
  EXPECT_EQ(c.PosAzimut, 2);
  EXPECT_EQ(c.OrdreSaisie, (std::array<int32_t, 3>{1, 2, 0}));
  EXPECT_TRUE(c.SaisieTopofil);  // the "Topofil" key carries the option
  EXPECT_FALSE(c.CalculDecliAuto);
  EXPECT_TRUE(c.SensMolette);
  EXPECT_EQ(c.FichierMotifsDefaut, "/motifs/défaut.mtf");
  EXPECT_EQ(c.TraitEnveloppe.CouleurPlume, 0x123456u);
  EXPECT_FALSE(c.PointsSurface.TracerCercle);
  EXPECT_EQ(c.CouleurFiligrane, 0xABCDEFu);
  EXPECT_EQ(c.RegionProjections, 6);
  EXPECT_EQ(regionAppliquee, 6);
  EXPECT_EQ(survey::Affichage().DecimalesCoord, 3);
  EXPECT_EQ(survey::Document().RepertoireReseau, dossier.Chemin() + "/");

  TFichierIni relu(chemin);
  EXPECT_EQ(relu.LitTexte("Souris", "Ma clé", ""), "à garder");
  EXPECT_EQ(relu.LitEntier("Autre", "X", 0), 1);
}

TEST(ConfigGenerale, ValeursHorsLimitesRemplacees) {
  Gardes g;
  TFichierIni ini;
  ini.LitOctets(
      "[Ordre de Saisie]\nAzimut=1\nPentes=1\nLongueurs=2\n"
      "[D\xE9" "cimales coordonn\xE9" "es]\nD\xE9" "cimales=9\n"
      "[Zone projections]\nListe Projections=42\n");
  Config() = ConfigGenerale();
  LitConfigGenerale(ini);
  // Two measurements at one position would leave one out of the shot dialog.
  EXPECT_EQ(Config().PosAzimut, 0);
  EXPECT_EQ(Config().PosPente, 1);
  EXPECT_EQ(Config().PosLongueur, 2);
  EXPECT_EQ(survey::Affichage().DecimalesCoord, 1);
  EXPECT_EQ(Config().RegionProjections, 0);
}

TEST(ConfigGenerale, ListeDesFichiersRecents) {
  Gardes g;
  TFichierIni ini;
  ini.LitOctets("[Liste derniers fichiers]\nautre=x\n[Liste dernieres cavit\xE9s]\nderniere cavit\xE9 1=7\n");
  std::vector<FichierRecent> six;
  for (int i = 0; i < 6; ++i) six.push_back({"/topos/f" + std::to_string(i) + ".cav", i == 1 ? 0 : i + 2});
  EcritDerniersFichiers(ini, six);
  const auto fichiers = ini.LitSection("Liste derniers fichiers");
  ASSERT_EQ(fichiers.size(), 5u);
  EXPECT_EQ(fichiers[0].first, "autre");  // a key the program does not know stays
  EXPECT_EQ(fichiers[1].first, "dernier fichier 0");
  EXPECT_EQ(fichiers[4].first, "dernier fichier 3");
  EXPECT_EQ(fichiers[4].second, "/topos/f3.cav");
  // Index 0 is not written, and an older index of that line does not survive.
  EXPECT_FALSE(ini.CleExiste("Liste dernieres cavités", "derniere cavité 1"));
  EXPECT_EQ(ini.LitEntier("Liste dernieres cavités", "derniere cavité 2", 0), 4);

  const auto relue = LitDerniersFichiers(ini);
  ASSERT_EQ(relue.size(), 4u);
  EXPECT_EQ(relue[0], (FichierRecent{"/topos/f0.cav", 2}));
  EXPECT_EQ(relue[1], (FichierRecent{"/topos/f1.cav", -1}));

  // A shorter list leaves no line of the longer one behind.
  EcritDerniersFichiers(ini, {six[5]});
  ASSERT_EQ(LitDerniersFichiers(ini).size(), 1u);
  EXPECT_EQ(LitDerniersFichiers(ini)[0], (FichierRecent{"/topos/f5.cav", 7}));
  EXPECT_EQ(ini.LitSection("Liste dernieres cavités").size(), 1u);
}

TEST(ConfigGenerale, AjouteFichierRecent) {
  testsupport::DossierTemp dossier;
  const std::string a = dossier.Fichier("a.cav"), b = dossier.Fichier("b.cav");
  testsupport::EcritOctets(a, "x");
  testsupport::EcritOctets(b, "x");
  std::vector<FichierRecent> liste;
  EXPECT_FALSE(AjouteFichierRecent(liste, dossier.Fichier("absent.cav"), 1));
  EXPECT_FALSE(AjouteFichierRecent(liste, "", 1));
  EXPECT_TRUE(AjouteFichierRecent(liste, a, 1));
  EXPECT_TRUE(AjouteFichierRecent(liste, b, 2));
  EXPECT_TRUE(AjouteFichierRecent(liste, a, 3));
  ASSERT_EQ(liste.size(), 2u);
  EXPECT_EQ(liste[0], (FichierRecent{a, 3}));
  EXPECT_EQ(liste[1], (FichierRecent{b, 2}));
  ASSERT_NE(ChercheFichierRecent(liste, b), nullptr);
  EXPECT_EQ(ChercheFichierRecent(liste, b)->Cavite, 2);
}

TEST(ConfigGenerale, OrdreDeSaisieResteUnePermutation) {
  struct Case {
    const char* nom;
    std::array<int32_t, 3> avant;
    int mesure;
    int32_t position;
    std::array<int32_t, 3> apres;
  };
  const Case cases[] = {
      {"pente en 1 prend la place de l'azimut", {0, 1, 2}, 1, 0, {1, 0, 2}},
      {"longueur en 1", {0, 1, 2}, 2, 0, {2, 1, 0}},
      {"azimut en 3", {0, 1, 2}, 0, 2, {2, 1, 0}},
      {"meme position", {2, 0, 1}, 0, 2, {2, 0, 1}},
      {"position hors limites", {0, 1, 2}, 1, 5, {0, 1, 2}},
  };
  for (const Case& c : cases) EXPECT_EQ(ResoutOrdreSaisie(c.avant, c.mesure, c.position), c.apres) << c.nom;
}

TEST(ConfigGenerale, CheminDuFichierDeReglages) {
  testsupport::DossierTemp dossier;
  const std::string exe = dossier.Fichier("gravelune");
  EXPECT_EQ(CheminsFichierConfig(exe, "/cfg").Lecture, dossier.Fichier("gravelune.ini"));
  EXPECT_EQ(CheminsFichierConfig(exe, "/cfg").Ecriture, dossier.Fichier("gravelune.ini"));
  // A folder the program cannot write into: the user's configuration folder.
  const auto ailleurs = CheminsFichierConfig("/dossier/inexistant/gravelune", dossier.Chemin());
  EXPECT_EQ(ailleurs.Lecture, dossier.Fichier("gravelune.ini"));
  EXPECT_EQ(ailleurs.Ecriture, dossier.Fichier("gravelune.ini"));
}

TEST(ConfigGenerale, FichierDeMotifsParDefaut) {
  Gardes g;
  Config().FichierMotifsDefaut.clear();
  EXPECT_EQ(FichierMotifsParDefaut(), "");
  Config().FichierMotifsDefaut = "Mes motifs.mtf";
  const std::string chemin = FichierMotifsParDefaut();
  EXPECT_EQ(chemin, survey::DossierGravelune() + "Mes motifs.mtf");
  // The setting takes the full path, and is written back with it.
  EXPECT_EQ(Config().FichierMotifsDefaut, chemin);

  // A file that could not be read is dropped, unless the setting changed
  // meanwhile.
  OublieMotifsParDefaut("/ailleurs/autre.mtf");
  EXPECT_EQ(Config().FichierMotifsDefaut, chemin);
  Config().FichierMotifsDefaut = "/ailleurs/illisible.mtf";
  EXPECT_EQ(FichierMotifsParDefaut(), "/ailleurs/illisible.mtf");
  OublieMotifsParDefaut("/ailleurs/illisible.mtf");
  EXPECT_TRUE(Config().FichierMotifsDefaut.empty());

  Services().ChargeMotifsTh2 = [](const std::string&) { return false; };
  Config().FichierMotifsTh2Defaut = "th2.mtf";
  ChargeMotifsTh2ParDefaut();
  EXPECT_TRUE(Config().FichierMotifsTh2Defaut.empty());
}
