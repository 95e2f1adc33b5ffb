#include "survey/sauve_fich_txt.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "survey/dossiers.h"
#include "tests/support/dossier_temp.h"

using namespace survey;
using platform::Answer;
using platform::ScriptedDialogs;

TEST(SauveFichTxt, RefusDeRemplacerPuisAutreNom) {
  testsupport::DossierTemp dossier;
  GardeDocument garde;
  Document().NomFichierCourant = dossier.Fichier("reseau.cav");
  const std::string existant = dossier.Fichier("export.txt");
  testsupport::EcritOctets(existant, "ancien");

  ScriptedDialogs d;
  platform::ScopedDialogs port(d);
  d.QueueFile(existant);
  d.QueueAnswer(Answer::No);
  d.QueueFile(dossier.Fichier("autre"));  // no extension: the default one is added

  TSauveFichTxt s;
  s.AjouteLigne("Grotte de l'Été;12.5");
  s.AjouteLigne("œuvre €");
  ASSERT_TRUE(s.EnregistreTxt("ma.grotte.v2"));

  EXPECT_EQ(testsupport::LitOctets(existant), "ancien");
  const std::string cible = dossier.Fichier("autre.txt");
  EXPECT_EQ(s.FileName, cible);
  EXPECT_EQ(testsupport::LitOctets(cible), "Grotte de l'\xC9t\xE9;12.5\r\n\x9Cuvre \x80\r\n");

  ASSERT_EQ(d.Log().size(), 4u);
  EXPECT_EQ(d.Log()[0].options.FileName, "ma");  // proposed without its first dot and the rest
  EXPECT_EQ(d.Log()[0].options.Filter, "Fichiers texte|*.txt");
  EXPECT_EQ(d.Log()[0].options.InitialFolder, dossier.Chemin() + "/");
  EXPECT_EQ(d.Log()[1].text, "Le fichier " + existant + " existe déjà; voulez-vous le remplacer?");
  EXPECT_EQ(d.Messages(), (std::vector<std::string>{"Le fichier a été enregistré sous le nom " + cible}));
  EXPECT_EQ(d.Unanswered(), 0);
}

TEST(SauveFichTxt, AnnulationEtEchec) {
  testsupport::DossierTemp dossier;
  GardeDocument garde;
  Document().NomFichierCourant = dossier.Fichier("reseau.cav");
  ScriptedDialogs d;
  platform::ScopedDialogs port(d);
  d.QueueFile(std::nullopt);
  TSauveFichTxt s;
  s.AjouteLigne("x");
  EXPECT_FALSE(s.EnregistreCsv("a"));
  EXPECT_TRUE(d.Messages().empty());

  // A folder that does not exist: the failure is reported, not announced as a save.
  d.QueueFile(dossier.Fichier("absent/b.csv"));
  EXPECT_FALSE(s.EnregistreCsv("b"));
  ASSERT_EQ(d.Messages().size(), 1u);
  EXPECT_NE(d.Messages()[0].find("n'a pas pu être enregistré"), std::string::npos);
  EXPECT_EQ(d.Log().back().kind, platform::MessageKind::Error);
}

TEST(SauveFichTxt, EnregistreAvecDialogueEtTmp) {
  testsupport::DossierTemp dossier;
  GardeDocument garde;
  Document().NomFichierCourant.clear();
  Document().RepertoireReseau = dossier.Chemin();
  ScriptedDialogs d;
  platform::ScopedDialogs port(d);
  const std::string cible = dossier.Fichier("reseau.cav");
  testsupport::EcritOctets(cible, "x");
  d.QueueFile(cible);
  d.QueueAnswer(Answer::Yes);
  std::string nom = "reseau?";
  std::string recu;
  ASSERT_TRUE(EnregistreAvecDialogue(
      nom, "Enregistrer", "Réseaux|*.cav", true, [&](const std::string& p) { return recu = p, true; }, "cav"));
  EXPECT_EQ(nom, cible);
  EXPECT_EQ(recu, cible);
  EXPECT_EQ(d.Log()[0].options.FileName, "reseau_");
  EXPECT_EQ(d.Messages().size(), 1u);

  TSauveFichTxt s;
  s.AjouteLigne("a");
  std::string tmp = "liste:1.txt";
  ASSERT_TRUE(s.EnregistreTmp(tmp));
  EXPECT_EQ(tmp, dossier.Chemin() + "/liste_1.txt");
  EXPECT_EQ(testsupport::LitOctets(tmp), "a\r\n");
}
