// The life of the document: the lock on the open file (its mode untouched),
// the backup, the refusal to save a document held by another instance or
// that cannot be written, the save question, the command line path.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/commun/config_generale.h"
#include "app/document/gestion_document.h"
#include "formats/import/import_fichier_autre.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "survey/ports_survey.h"
#include "tests/app/document_essai.h"
#include "tests/app/outils_fenetre.h"
#include "tests/support/dossier_temp.h"
#include "tests/support/verrou_externe.h"

using namespace app;
using essai::Gardes;
using platform::Answer;
using testsupport::Mode;
using testsupport::TenuSelonFlock;

namespace {

std::vector<essai::CaviteEssai> DeuxCavites() { return {{"Surface", 0, 0}, {"Gouffre", 12, 1}, {"Aven", 3, 2}}; }

}  // namespace

TEST(GestionDocument, CheminDeLaLigneDeCommande) {
  struct Case {
    std::vector<std::string> arguments;
    const char* attendu;
  };
  const Case cases[] = {
      {{}, ""},
      {{"docs/Mes", "Topos/gouffre.CFG"}, "docs/Mes Topos/gouffre.cav"},
      {{"/topos/a.cav"}, "/topos/a.cav"},
      {{"/topos/b.cfg"}, "/topos/b.cav"},
      {{"/topos/c.txt"}, "/topos/c.txt"},
      {{"/a", "b", "c.Cav"}, "/a b c.Cav"},
  };
  for (const Case& c : cases) EXPECT_EQ(CheminLigneCommande(c.arguments), c.attendu) << c.attendu;
  EXPECT_EQ(CheminSauvegarde("/t/g.cav"), "/t/g.$$$Cav");
  EXPECT_EQ(CheminFichierConfig("/t/g.cav"), "/t/g.CFG");
}

TEST(GestionDocument, OuvertureVerrouilleLeFichierEtFermetureLeRelache) {
  Gardes g;
  testsupport::DossierTemp dossier;
  const std::string chemin = dossier.Fichier("gouffre.cav");
  ASSERT_TRUE(essai::EcritDocumentEssai(chemin, "Réseau", DeuxCavites()));
  testsupport::EcritOctets(CheminFichierConfig(chemin), std::string("\x03\0\0\0abc", 7));
  Config().ListeDerniersFichiers = {{chemin, 2}};
  essai::Fabrique fabrique;
  TGestionDocument gestion(fabrique.Fonction());
  const int32_t mode = Mode(chemin);
  ASSERT_TRUE(gestion.OuvreDocument(chemin));
  EXPECT_EQ(survey::Document().NomFichierCourant, chemin);
  EXPECT_TRUE(TenuSelonFlock(chemin));
  EXPECT_EQ(Mode(chemin), mode);
  EXPECT_FALSE(gestion.LectureSeule());
  // The cave remembered with the recent file is active; the companion was read.
  EXPECT_EQ(gestion.Reseau()->CaviteActive(), 2);
  EXPECT_EQ(fabrique.Crees.back()->Config, "abc");
  EXPECT_EQ(Config().ListeDerniersFichiers.front(), (FichierRecent{chemin, 2}));
  const EtatDocument e = gestion.Etat();
  EXPECT_EQ(e.NombreCavites, 3);
  EXPECT_EQ(e.ViseesCaviteActive, 3);
  gestion.LibereReseau();
  EXPECT_FALSE(TenuSelonFlock(chemin));
  EXPECT_EQ(Mode(chemin), mode);
  EXPECT_TRUE(g.dialogues.Messages().empty());
}

TEST(GestionDocument, EchecDeLectureNeLaisseAucunDocument) {
  Gardes g;
  testsupport::DossierTemp dossier;
  const std::string chemin = dossier.Fichier("abime.cav");
  testsupport::EcritOctets(chemin, "pas un document");
  essai::Fabrique fabrique;
  TGestionDocument gestion(fabrique.Fonction());
  EXPECT_FALSE(gestion.OuvreDocument(chemin));
  EXPECT_EQ(gestion.Reseau(), nullptr);
  EXPECT_FALSE(TenuSelonFlock(chemin));
  ASSERT_EQ(g.dialogues.Messages().size(), 1u);
  EXPECT_EQ(g.dialogues.Messages()[0], "le fichier " + chemin +
                                           " n'a pas pu être lu : son en-tête n'est pas celui d'un document Gravelune.");
  EXPECT_TRUE(Config().ListeDerniersFichiers.empty());
  // A reader that raises fails the same way.
  ASSERT_TRUE(essai::EcritDocumentEssai(chemin, "R", DeuxCavites()));
  TGestionDocument gestion2([] {
    auto d = std::make_unique<essai::TDocumentEssai>();
    d->LeveALaLecture = true;
    return std::unique_ptr<DocumentReseau>(std::move(d));
  });
  EXPECT_FALSE(gestion2.OuvreDocument(chemin));
  EXPECT_EQ(g.dialogues.Messages().size(), 2u);
}

// A file that cannot be read leaves the open document as it was: the same
// network, its lock, its name, its flags; the replacement happens only for a
// file read whole, after the caller let go of what it showed.  The open file
// read again is not taken for another instance's.
TEST(GestionDocument, EchecDeLectureGardeLeDocumentOuvert) {
  Gardes g;
  testsupport::DossierTemp dossier;
  const std::string chemin = dossier.Fichier("gouffre.cav"), abime = dossier.Fichier("abime.cav");
  ASSERT_TRUE(essai::EcritDocumentEssai(chemin, "Réseau", DeuxCavites()));
  testsupport::EcritOctets(abime, "pas un document");
  essai::Fabrique fabrique;
  TGestionDocument gestion(fabrique.Fonction());
  ASSERT_TRUE(gestion.OuvreDocument(chemin));
  DocumentReseau* ouvert = gestion.Reseau();
  survey::Document().DocumentModifie = true;
  survey::Document().DemandeNomFichier = true;
  survey::Document().CaviteRappelee = 2;
  int remplacements = 0;
  EXPECT_FALSE(gestion.OuvreDocument(abime, [&] { ++remplacements; }));
  EXPECT_EQ(remplacements, 0);
  EXPECT_EQ(gestion.Reseau(), ouvert);
  EXPECT_EQ(survey::Document().NomFichierCourant, chemin);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_TRUE(survey::Document().DemandeNomFichier);
  EXPECT_EQ(survey::Document().CaviteRappelee, 2);
  EXPECT_TRUE(TenuSelonFlock(chemin));
  EXPECT_FALSE(TenuSelonFlock(abime));
  EXPECT_FALSE(gestion.LectureSeule());
  ASSERT_EQ(g.dialogues.Messages().size(), 1u);
  EXPECT_EQ(g.dialogues.Messages()[0], "le fichier " + abime +
                                           " n'a pas pu être lu : son en-tête n'est pas celui d'un document Gravelune.");

  // The same file again: a new network, editable, still held.
  survey::Document().DocumentModifie = false;
  EXPECT_TRUE(gestion.OuvreDocument(chemin, [&] {
    ++remplacements;
    EXPECT_NE(gestion.Reseau(), ouvert);  // the new network is in place
  }));
  EXPECT_EQ(remplacements, 1);
  EXPECT_NE(gestion.Reseau(), ouvert);
  EXPECT_FALSE(gestion.LectureSeule());
  EXPECT_TRUE(TenuSelonFlock(chemin));
  // Saved in place: not refused as held elsewhere.
  survey::Document().DocumentModifie = true;
  EXPECT_TRUE(gestion.EnregistreReseauSous());
  EXPECT_EQ(g.dialogues.Messages().size(), 1u);
  EXPECT_TRUE(TenuSelonFlock(chemin));

  // The open file itself, damaged on disk since: not read, and still held.
  DocumentReseau* courant = gestion.Reseau();
  testsupport::EcritOctets(chemin, "abîmé");
  EXPECT_FALSE(gestion.OuvreDocument(chemin));
  EXPECT_EQ(gestion.Reseau(), courant);
  EXPECT_TRUE(TenuSelonFlock(chemin));
  EXPECT_FALSE(gestion.LectureSeule());
  EXPECT_EQ(g.dialogues.Messages().size(), 2u);
}

TEST(GestionDocument, SauvegardeAvecCopieDeSecoursEtVerrou) {
  Gardes g;
  testsupport::DossierTemp dossier;
  const std::string chemin = dossier.Fichier("gouffre.cav");
  ASSERT_TRUE(essai::EcritDocumentEssai(chemin, "Premier", DeuxCavites()));
  const std::string original = testsupport::LitOctets(chemin);
  essai::Fabrique fabrique;
  TGestionDocument gestion(fabrique.Fonction());
  ASSERT_TRUE(gestion.OuvreDocument(chemin));
  auto* doc = fabrique.Crees.back();

  doc->Nom_ = "Deuxième";
  survey::Document().DocumentModifie = true;
  ASSERT_TRUE(gestion.EnregistreReseauSous());
  EXPECT_FALSE(survey::Document().DocumentModifie);
  EXPECT_TRUE(TenuSelonFlock(chemin));
  EXPECT_FALSE(TenuSelonFlock(CheminSauvegarde(chemin)));
  EXPECT_EQ(testsupport::LitOctets(CheminSauvegarde(chemin)), original);
  const std::string deuxieme = testsupport::LitOctets(chemin);
  EXPECT_NE(deuxieme.find("Deuxi"), std::string::npos);
  EXPECT_TRUE(platform::FileExists(CheminFichierConfig(chemin)));

  // Saving twice: the backup holds the state saved first.
  doc->Nom_ = "Troisième";
  ASSERT_TRUE(gestion.EnregistreReseauSous());
  EXPECT_EQ(testsupport::LitOctets(CheminSauvegarde(chemin)), deuxieme);

  // A writer that fails reports once, keeps the file and its lock.
  doc->EchecEcriture = true;
  EXPECT_FALSE(gestion.EnregistreReseauSous());
  EXPECT_EQ(g.dialogues.Messages().back(), "le fichier " + chemin + " n'a pas pu être enregistré");
  EXPECT_TRUE(TenuSelonFlock(chemin));
  EXPECT_NE(testsupport::LitOctets(chemin).find("Trois"), std::string::npos);
  gestion.LibereReseau();
  EXPECT_FALSE(TenuSelonFlock(chemin));
}

TEST(GestionDocument, SecondeInstanceEnLectureSeule) {
  Gardes g;
  testsupport::DossierTemp dossier;
  const std::string chemin = dossier.Fichier("tenu.cav");
  ASSERT_TRUE(essai::EcritDocumentEssai(chemin, "Tenu", DeuxCavites()));
  const int32_t mode = Mode(chemin);
  // Another process holds the file's lock, as the first instance does.
  testsupport::DetenteurFlock premiere(chemin);
  ASSERT_TRUE(premiere.Tient());
  essai::Fabrique fabrique;
  TGestionDocument gestion(fabrique.Fonction());
  ASSERT_TRUE(gestion.OuvreDocument(chemin));
  EXPECT_TRUE(gestion.LectureSeule());
  EXPECT_TRUE(g.dialogues.Messages().empty());
  const std::string avant = testsupport::LitOctets(chemin);

  // Refused under its own name, also under another spelling of the path.
  EXPECT_FALSE(gestion.EnregistreReseau(chemin));
  EXPECT_EQ(g.dialogues.Messages().back(), "le fichier " + chemin +
                                               " est déjà ouvert dans une autre instance de Gravelune. Il ne peut "
                                               "être modifié dans celle-ci.");
  EXPECT_FALSE(gestion.EnregistreReseau(dossier.Chemin() + "/./tenu.cav"));
  EXPECT_EQ(testsupport::LitOctets(chemin), avant);
  EXPECT_FALSE(platform::FileExists(CheminSauvegarde(chemin)));

  // Saved as another file, it is no longer read-only and holds the copy.
  const std::string copie = dossier.Fichier("copie.cav");
  survey::Document().DemandeNomFichier = true;
  g.dialogues.QueueFile(copie);
  ASSERT_TRUE(gestion.EnregistreReseauSous());
  EXPECT_FALSE(gestion.LectureSeule());
  EXPECT_EQ(survey::Document().NomFichierCourant, copie);
  EXPECT_TRUE(TenuSelonFlock(copie));
  gestion.LibereReseau();
  EXPECT_FALSE(TenuSelonFlock(copie));
  EXPECT_TRUE(TenuSelonFlock(chemin));
  // Once the other holder is killed, the file opens editable.
  premiere.Tue();
  EXPECT_EQ(Mode(chemin), mode);
  ASSERT_TRUE(gestion.OuvreDocument(chemin));
  EXPECT_FALSE(gestion.LectureSeule());
  EXPECT_TRUE(gestion.EnregistreReseau(chemin));
}

TEST(GestionDocument, FichierSansDroitDEcritureEnLectureSeule) {
  Gardes g;
  testsupport::DossierTemp dossier;
  const std::string chemin = dossier.Fichier("protege.cav");
  ASSERT_TRUE(essai::EcritDocumentEssai(chemin, "Protégé", DeuxCavites()));
  ASSERT_EQ(::chmod(chemin.c_str(), 0444), 0);
  essai::Fabrique fabrique;
  TGestionDocument gestion(fabrique.Fonction());
  ASSERT_TRUE(gestion.OuvreDocument(chemin));
  EXPECT_TRUE(gestion.LectureSeule());
  const std::string pourquoi = "le fichier " + chemin +
                               " ne peut pas être modifié : il est en lecture seule. Il est ouvert en lecture seule ; "
                               "enregistrez-le sous un autre nom pour garder vos changements.";
  EXPECT_EQ(g.dialogues.Messages(), std::vector<std::string>{pourquoi});
  const std::string avant = testsupport::LitOctets(chemin);
  survey::Document().DocumentModifie = true;
  EXPECT_FALSE(gestion.EnregistreReseauSous());
  EXPECT_EQ(g.dialogues.Messages().back(), pourquoi);
  EXPECT_EQ(testsupport::LitOctets(chemin), avant);
  EXPECT_FALSE(platform::FileExists(CheminSauvegarde(chemin)));
  gestion.LibereReseau();
  EXPECT_EQ(Mode(chemin), 0444);
}

TEST(GestionDocument, EnregistrerSousLibereLAncienFichier) {
  Gardes g;
  testsupport::DossierTemp dossier;
  const std::string chemin = dossier.Fichier("a.cav");
  ASSERT_TRUE(essai::EcritDocumentEssai(chemin, "A", DeuxCavites()));
  essai::Fabrique fabrique;
  TGestionDocument gestion(fabrique.Fonction());
  ASSERT_TRUE(gestion.OuvreDocument(chemin));
  // A cancelled dialog leaves the lock in place.
  survey::Document().DemandeNomFichier = true;
  g.dialogues.QueueFile(std::nullopt);
  EXPECT_FALSE(gestion.EnregistreReseauSous());
  EXPECT_TRUE(TenuSelonFlock(chemin));
  g.dialogues.QueueFile(dossier.Fichier("b.cav"));
  ASSERT_TRUE(gestion.EnregistreReseauSous());
  EXPECT_FALSE(TenuSelonFlock(chemin));
  EXPECT_TRUE(TenuSelonFlock(dossier.Fichier("b.cav")));
  EXPECT_EQ(Config().ListeDerniersFichiers.front().Chemin, dossier.Fichier("b.cav"));
  EXPECT_FALSE(survey::Document().DemandeNomFichier);
}

TEST(GestionDocument, QuestionAvantDePerdreLesChangements) {
  Gardes g;
  essai::Fabrique fabrique;
  TGestionDocument gestion(fabrique.Fonction());
  int sauvegardes = 0;
  const auto enregistre = [&] {
    ++sauvegardes;
    return true;
  };
  // Without a network or without changes: no question.
  EXPECT_TRUE(gestion.DemandeEnregistrement(true, enregistre));
  gestion.NouveauReseau();
  EXPECT_TRUE(gestion.DemandeEnregistrement(true, enregistre));
  EXPECT_EQ(g.dialogues.Log().size(), 0u);

  survey::Document().DocumentModifie = true;
  survey::Document().NomFichierCourant = "/t/g.cav";
  // The shot table being refilled: no.
  EXPECT_FALSE(gestion.DemandeEnregistrement(false, enregistre));
  g.dialogues.QueueAnswer(Answer::Cancel);
  EXPECT_FALSE(gestion.DemandeEnregistrement(true, enregistre));
  EXPECT_EQ(g.dialogues.Log().back().text,
            "Le fichier /t/g.cav a été modifié.\nVoulez-vous enregistrer les changements ?");
  g.dialogues.QueueAnswer(Answer::Yes);
  EXPECT_TRUE(gestion.DemandeEnregistrement(true, enregistre));
  EXPECT_EQ(sauvegardes, 1);
  g.dialogues.QueueAnswer(Answer::No);
  EXPECT_TRUE(gestion.DemandeEnregistrement(true, enregistre));
  EXPECT_EQ(sauvegardes, 1);
  EXPECT_FALSE(survey::Document().DocumentModifie);
  EXPECT_TRUE(survey::Document().NomFichierCourant.empty());
}

TEST(GestionDocument, NouveauReseauSuitLOptionTopofil) {
  Gardes g;
  Config().SaisieTopofil = true;
  survey::Affichage().ColonnesTopofil = false;
  survey::Document().DemandeNomFichier = true;
  essai::Fabrique fabrique;
  TGestionDocument gestion(fabrique.Fonction());
  gestion.NouveauReseau();
  EXPECT_TRUE(survey::Affichage().ColonnesTopofil);
  EXPECT_FALSE(survey::Document().DemandeNomFichier);
  EXPECT_EQ(fabrique.Crees.size(), 1u);
}

TEST(GestionDocument, ImportEchoueOuReussit) {
  Gardes g;
  essai::Fabrique fabrique;
  TGestionDocument gestion(fabrique.Fonction());
  // The stand-in imports nothing: the network made for the import is freed.
  EXPECT_FALSE(gestion.OuvrirAutre("/t/grotte.Top", 5));
  EXPECT_EQ(gestion.Reseau(), nullptr);
  EXPECT_EQ(g.dialogues.Messages().back(), "L'importation a été abandonnée");
  EXPECT_FALSE(survey::Document().DocumentModifie);

  // The user chose to end the import (OK with no cave ticked): the reader
  // said so; no error box follows.
  {
    formats::GardeImport import;
    struct Choix : essai::TDocumentEssai {
      bool ImporteFichierAutre(const std::string&, int, bool) override {
        formats::Import().AbandonChoisi = true;
        return false;
      }
    };
    TGestionDocument choix([] { return std::unique_ptr<DocumentReseau>(std::make_unique<Choix>()); });
    g.dialogues.Clear();
    EXPECT_FALSE(choix.OuvrirAutre("/t/grotte.tab", 2));
    EXPECT_EQ(choix.Reseau(), nullptr);
    EXPECT_TRUE(g.dialogues.Messages().empty());
  }

  struct Importeur : essai::TDocumentEssai {
    bool ImporteFichierAutre(const std::string&, int, bool) override {
      Cavites = {{"Surface", 0, 0}, {"a|b", 4, 1}};
      Active = 1;
      return true;
    }
  };
  TGestionDocument gestion2([] { return std::unique_ptr<DocumentReseau>(std::make_unique<Importeur>()); });
  ASSERT_TRUE(gestion2.OuvrirAutre("/t/grotte.2024.Top", 5));
  // The cave's name cannot name a file: the file name up to its first dot.
  EXPECT_EQ(gestion2.Reseau()->Nom(), "grotte");
  EXPECT_EQ(survey::Document().NomFichierCourant, "/t/grotte.2024.cav");
  EXPECT_TRUE(survey::Document().DemandeNomFichier);
  EXPECT_TRUE(survey::Document().DocumentModifie);
}
