// The main window on real documents, wired as the program wires them at
// start-up: a fixture document opened, its caves listed, saved, closed with
// the save question; a second instance's read-only document; a VTopo file
// imported from the Open dialog; a new cave; the round trip of a document
// holding drawings through cavtool and through the window; what the
// start-up hands the subsystems; every enabled command of the window walked
// on no document, on the surface only and on a cave.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "app/application.h"
#include "app/commun/config_generale.h"
#include "app/document/document_survey.h"
#include "app/document/gestion_document.h"
#include "app/fiche_principale.h"
#include "app/table/zone_visees.h"
#include "document/liaisons_modele.h"
#include "drawing/contexte_dessin.h"
#include "drawing/liste_mtf.h"
#include "drawing/ports_dessin.h"
#include "drawing/ports_motifs.h"
#include "formats/import/galeries_import.h"
#include "formats/import/import_autres.h"
#include "foundation/flux.h"
#include "platform/files.h"
#include "survey/contexte_document.h"
#include "survey/fichier_reseau.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"
#include "tests/app/outils_fenetre.h"
#include "tests/support/dossier_temp.h"
#include "tests/support/verrou_externe.h"
#include "tests/survey/environnement_document.h"
#include "views/ports_vues.h"

using namespace app;
using platform::Answer;
using essai::Clique;
using essai::CouleurPanneau;
using essai::Controle;
using essai::Elements;
using testsupport::DossierTemp;
using testsupport::EcritOctets;
using testsupport::LitOctets;

namespace {

template <class T>
class GardeCopie {
 public:
  explicit GardeCopie(T& valeur) : valeur_(valeur), sauve_(valeur) {}
  ~GardeCopie() { valeur_ = sauve_; }
  GardeCopie(const GardeCopie&) = delete;
  GardeCopie& operator=(const GardeCopie&) = delete;

 private:
  T& valeur_;
  T sauve_;
};

// Everything the program's links change, set aside for the test; the links
// installed as at start-up, the import's gallery dialog accepted as proposed.
struct Environnement {
  GardeConfig config;
  survey::GardeAffichage affichage;
  testsurvey::EnvironnementDocument document{false};
  drawing::GardePortsDonnees portsDonnees;
  drawing::GardePortsMotifs portsMotifs;
  drawing::GardeContexteDessin dessin;
  views::GardePortsVues portsVues;
  formats::GardePortsImport fenetresImport;
  formats::GardeImport import;
  GardeCopie<ServicesConfig> services{Services()};
  DossierTemp dossier;

  Environnement() {
    Config() = ConfigGenerale();
    InstalleLiaisonsApplication();
    formats::FenetresImport() = formats::PortsImport();
    formats::Import().DossierMemoireGaleries = dossier.Chemin() + "/";
  }
  platform::ScriptedDialogs& Dialogues() { return document.Dialogues; }
};

std::string FixtureSurvey(const std::string& nom) {
  return std::string(GRAVELUNE_SOURCE_DIR) + "/tests/survey/fixtures/document/" + nom;
}
std::string FixtureApp(const std::string& nom) { return std::string(GRAVELUNE_SOURCE_DIR) + "/tests/app/fixtures/" + nom; }

// A document and its companion copied into the folder.
std::string Copie(const DossierTemp& d, const std::string& source, const std::string& nom) {
  const std::string chemin = d.Fichier(nom);
  EcritOctets(chemin, LitOctets(source));
  const std::string config = platform::ChangeExtension(source, ".CFG");
  if (platform::FileExists(config)) EcritOctets(platform::ChangeExtension(chemin, ".CFG"), LitOctets(config));
  return chemin;
}

survey::TReseau* ReseauDe(TFichePrincipale& f) {
  auto* d = dynamic_cast<TDocumentSurvey*>(f.Gestion().Reseau());
  return d ? &d->Reseau() : nullptr;
}

std::string Messages(const platform::ScriptedDialogs& d) {
  std::string s;
  for (const std::string& m : d.Messages()) s += m + "\n";
  return s;
}

}  // namespace

TEST(DocumentFichier, OuvreVoitSesCavitesEnregistreEtFermeAvecLaQuestion) {
  Environnement env;
  const std::string chemin = Copie(env.dossier, FixtureSurvey("reseau_511.cav"), "réseau.cav");
  const int32_t mode = testsupport::Mode(chemin);
  TFichePrincipale f(FabriqueSurvey(), {});
  f.show();
  env.Dialogues().QueueFile(chemin, 1);
  Clique(f, "OuvreButton");
  ASSERT_TRUE(env.Dialogues().Messages().empty()) << Messages(env.Dialogues());

  // The document's caves, its remembered active cave, its name.
  auto* cavites = Controle<QComboBox>(f, "CavitesBox");
  EXPECT_EQ(Elements(cavites), (QStringList{"Grotte A", "Grotte B"}));
  EXPECT_EQ(cavites->currentText(), "Grotte B");
  EXPECT_EQ(f.windowTitle(), "Réseau : Réseau des fixtures");
  ASSERT_NE(ReseauDe(f), nullptr);
  EXPECT_EQ(survey::Document().ReseauCourant, ReseauDe(f));
  EXPECT_EQ(f.Zone().Table().Nombre(), 3);
  EXPECT_EQ(CouleurPanneau(f), QColor(0, 255, 0));
  EXPECT_TRUE(testsupport::TenuSelonFlock(chemin));
  EXPECT_EQ(testsupport::Mode(chemin), mode);
  // The drawings' library is the document's.
  EXPECT_EQ(drawing::Dessin().ListesMtfReseau, document::BibliothequeCourante());
  ASSERT_FALSE(Config().ListeDerniersFichiers.empty());
  EXPECT_EQ(Config().ListeDerniersFichiers[0].Chemin, chemin);

  // Saved in place: backup, companion, still held, the recent list.
  survey::Document().DocumentModifie = true;
  f.MajMnuSauve();
  Clique(f, "EnregistreButton");
  EXPECT_TRUE(env.Dialogues().Messages().empty()) << Messages(env.Dialogues());
  EXPECT_FALSE(survey::Document().DocumentModifie);
  EXPECT_TRUE(platform::FileExists(platform::ChangeExtension(chemin, ".$$$Cav")));
  EXPECT_TRUE(platform::FileExists(platform::ChangeExtension(chemin, ".CFG")));
  EXPECT_TRUE(testsupport::TenuSelonFlock(chemin));
  EXPECT_FALSE(testsupport::TenuSelonFlock(platform::ChangeExtension(chemin, ".$$$Cav")));
  EXPECT_EQ(testsupport::Mode(chemin), mode);
  const std::string enregistre = LitOctets(chemin);
  EXPECT_EQ(enregistre.substr(4, 22), "Version 1.0/Version511");
  EXPECT_EQ(Config().ListeDerniersFichiers[0].Chemin, chemin);
  EXPECT_EQ(Config().ListeDerniersFichiers[0].Cavite, 2);

  // Cancel keeps the window and the document; No closes without writing.
  survey::Document().DocumentModifie = true;
  env.Dialogues().QueueAnswer(Answer::Cancel);
  EXPECT_FALSE(f.close());
  EXPECT_TRUE(f.isVisible());
  EXPECT_NE(f.Gestion().Reseau(), nullptr);
  env.Dialogues().QueueAnswer(Answer::No);
  EXPECT_TRUE(f.close());
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(f.Gestion().Reseau(), nullptr);
  EXPECT_EQ(survey::Document().ReseauCourant, nullptr);
  EXPECT_EQ(drawing::Dessin().ListesMtfReseau, nullptr);
  EXPECT_EQ(LitOctets(chemin), enregistre);
  EXPECT_FALSE(testsupport::TenuSelonFlock(chemin));
  EXPECT_EQ(testsupport::Mode(chemin), mode);
  EXPECT_EQ(env.Dialogues().Unanswered(), 0);
}

// A cave added through the tool bar is unsaved work: the save button, the
// caption and the question on quitting say so; Cancel keeps the window, Yes
// saves, No closes without writing.  A document file that cannot be read
// leaves the open document as it was, lock included; the same file opened
// again is not taken for another instance's.
TEST(DocumentFichier, TravailNonEnregistreGardeEtOuvertureRateeSansPerte) {
  Environnement env;
  const std::string chemin = Copie(env.dossier, FixtureSurvey("reseau_511.cav"), "réseau.cav");
  const std::string vide = env.dossier.Fichier("vide.cav");
  EcritOctets(vide, "");
  const std::string question = "Le fichier " + chemin + " a été modifié.\nVoulez-vous enregistrer les changements ?";
  const auto questions = [&] {
    int n = 0;
    for (const auto& l : env.Dialogues().Log()) n += l.event == platform::ScriptedDialogs::Event::YesNoCancel && l.text == question;
    return n;
  };
  auto* f = new TFichePrincipale(FabriqueSurvey(), {});
  f->setAttribute(Qt::WA_DeleteOnClose, false);
  f->show();
  env.Dialogues().QueueFile(chemin, 1);
  Clique(*f, "OuvreButton");
  ASSERT_TRUE(env.Dialogues().Messages().empty()) << Messages(env.Dialogues());
  EXPECT_FALSE(Controle<QToolButton>(*f, "EnregistreButton")->isEnabled());
  EXPECT_EQ(f->windowTitle(), "Réseau : Réseau des fixtures");

  env.Dialogues().QueuePrompt(std::string("Nouvelle"));
  Clique(*f, "NewCaveButton");
  EXPECT_EQ(ReseauDe(*f)->NombreCavites(), 4);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_TRUE(Controle<QToolButton>(*f, "EnregistreButton")->isEnabled());
  EXPECT_EQ(f->windowTitle(), "Réseau : Réseau des fixtures *");

  // Quitter: the question; Cancel keeps the window and the work.
  env.Dialogues().QueueAnswer(Answer::Cancel);
  Controle<QAction>(*f, "Quitter")->trigger();
  EXPECT_EQ(questions(), 1);
  EXPECT_TRUE(f->isVisible());
  EXPECT_EQ(ReseauDe(*f)->NombreCavites(), 4);
  EXPECT_TRUE(survey::Document().DocumentModifie);

  // Opening an unreadable file after "No": the reason, and the open document
  // still there with its work, its name, its lock.
  const survey::TReseau* ouvert = ReseauDe(*f);
  env.Dialogues().QueueAnswer(Answer::No);
  env.Dialogues().QueueFile(vide, 1);
  Clique(*f, "OuvreButton");
  EXPECT_EQ(questions(), 2);
  ASSERT_FALSE(env.Dialogues().Messages().empty());
  EXPECT_NE(env.Dialogues().Messages().back().find(vide), std::string::npos) << Messages(env.Dialogues());
  EXPECT_EQ(ReseauDe(*f), ouvert);
  EXPECT_EQ(survey::Document().ReseauCourant, ouvert);
  EXPECT_EQ(drawing::Dessin().ListesMtfReseau, document::BibliothequeCourante());
  EXPECT_EQ(survey::Document().NomFichierCourant, chemin);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_EQ(f->windowTitle(), "Réseau : Réseau des fixtures *");
  EXPECT_TRUE(Elements(Controle<QComboBox>(*f, "CavitesBox")).contains("Nouvelle"));
  EXPECT_TRUE(testsupport::TenuSelonFlock(chemin));
  EXPECT_EQ(CouleurPanneau(*f), QColor(0, 255, 0));
  // The Open dialog cancelled after "No" keeps the work as well.
  env.Dialogues().QueueAnswer(Answer::No);
  env.Dialogues().QueueFile(std::nullopt);
  Clique(*f, "OuvreButton");
  EXPECT_EQ(questions(), 3);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_EQ(survey::Document().NomFichierCourant, chemin);

  // Yes saves and closes.
  env.Dialogues().QueueAnswer(Answer::Yes);
  Controle<QAction>(*f, "Quitter")->trigger();
  EXPECT_EQ(questions(), 4);
  EXPECT_FALSE(f->isVisible());
  EXPECT_FALSE(testsupport::TenuSelonFlock(chemin));
  delete f;
  {
    const std::unique_ptr<survey::TReseau> relu = survey::OuvreReseau(chemin);
    ASSERT_NE(relu, nullptr) << Messages(env.Dialogues());
    ASSERT_EQ(relu->NombreCavites(), 4);
    EXPECT_EQ(relu->UneCavite(3)->NomCavite, "Nouvelle");
  }

  // Unmodified: an unreadable file asks nothing and changes nothing.
  env.Dialogues().Clear();
  TFichePrincipale f2(FabriqueSurvey(), {});
  f2.show();
  env.Dialogues().QueueFile(chemin, 1);
  Clique(f2, "OuvreButton");
  const survey::TReseau* deuxieme = ReseauDe(f2);
  ASSERT_NE(deuxieme, nullptr);
  const int lignes = f2.Zone().Table().Nombre();
  const QString active = Controle<QComboBox>(f2, "CavitesBox")->currentText();
  env.Dialogues().QueueFile(vide, 1);
  Clique(f2, "OuvreButton");
  EXPECT_EQ(questions(), 0);
  ASSERT_EQ(env.Dialogues().Messages().size(), 1u) << Messages(env.Dialogues());
  EXPECT_EQ(ReseauDe(f2), deuxieme);
  EXPECT_FALSE(survey::Document().DocumentModifie);
  EXPECT_EQ(survey::Document().NomFichierCourant, chemin);
  EXPECT_EQ(f2.Zone().Table().Nombre(), lignes);
  EXPECT_EQ(Controle<QComboBox>(f2, "CavitesBox")->currentText(), active);
  EXPECT_EQ(f2.windowTitle(), "Réseau : Réseau des fixtures");
  EXPECT_FALSE(Controle<QToolButton>(f2, "EnregistreButton")->isEnabled());
  EXPECT_TRUE(testsupport::TenuSelonFlock(chemin));
  EXPECT_FALSE(deuxieme->LectureSeule);

  // The same file opened again: editable, green, still held, and it saves.
  env.Dialogues().QueueFile(chemin, 1);
  Clique(f2, "OuvreButton");
  ASSERT_NE(ReseauDe(f2), nullptr);
  EXPECT_FALSE(ReseauDe(f2)->LectureSeule) << Messages(env.Dialogues());
  EXPECT_EQ(CouleurPanneau(f2), QColor(0, 255, 0));
  EXPECT_TRUE(testsupport::TenuSelonFlock(chemin));
  env.Dialogues().QueuePrompt(std::string("Encore"));
  Clique(f2, "NewCaveButton");
  Clique(f2, "EnregistreButton");
  EXPECT_FALSE(survey::Document().DocumentModifie) << Messages(env.Dialogues());
  EXPECT_EQ(f2.windowTitle(), "Réseau : Réseau des fixtures");

  // No closes without writing.
  const std::string enregistre = LitOctets(chemin);
  env.Dialogues().QueuePrompt(std::string("Perdue"));
  Clique(f2, "NewCaveButton");
  env.Dialogues().QueueAnswer(Answer::No);
  EXPECT_TRUE(f2.close());
  EXPECT_EQ(LitOctets(chemin), enregistre);
  EXPECT_FALSE(testsupport::TenuSelonFlock(chemin));
  EXPECT_EQ(env.Dialogues().Unanswered(), 0);
}

TEST(DocumentFichier, SecondeInstancePanneauRougeEtEnregistrementRefuse) {
  Environnement env;
  const std::string chemin = Copie(env.dossier, FixtureSurvey("reseau_511.cav"), "tenu.cav");
  const int32_t mode = testsupport::Mode(chemin);
  // Another process holds the file's lock, as the first instance does.
  testsupport::DetenteurFlock premiere(chemin);
  ASSERT_TRUE(premiere.Tient());
  TFichePrincipale f(FabriqueSurvey(), {});
  env.Dialogues().QueueFile(chemin, 1);
  Clique(f, "OuvreButton");
  ASSERT_NE(ReseauDe(f), nullptr);
  EXPECT_TRUE(ReseauDe(f)->LectureSeule);
  EXPECT_EQ(CouleurPanneau(f), QColor(255, 0, 0));
  const std::string avant = LitOctets(chemin);

  survey::Document().DocumentModifie = true;
  f.MajMnuSauve();
  Clique(f, "EnregistreButton");
  ASSERT_FALSE(env.Dialogues().Messages().empty());
  EXPECT_NE(env.Dialogues().Messages().back().find("est déjà ouvert dans une autre instance de Gravelune"),
            std::string::npos);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_EQ(LitOctets(chemin), avant);
  EXPECT_FALSE(platform::FileExists(platform::ChangeExtension(chemin, ".$$$Cav")));
  // The refused save keeps the window open; No lets it close, and the other
  // holder keeps the file.
  env.Dialogues().QueueAnswer(Answer::Yes);
  EXPECT_FALSE(f.close());
  env.Dialogues().QueueAnswer(Answer::No);
  EXPECT_TRUE(f.close());
  EXPECT_TRUE(testsupport::TenuSelonFlock(chemin));
  EXPECT_EQ(LitOctets(chemin), avant);
  // Killed (SIGKILL), it lets the file go, its mode unchanged: the file
  // opens editable, green, and saves.
  premiere.Tue();
  EXPECT_EQ(testsupport::Mode(chemin), mode);
  TFichePrincipale f2(FabriqueSurvey(), {});
  env.Dialogues().QueueFile(chemin, 1);
  Clique(f2, "OuvreButton");
  ASSERT_NE(ReseauDe(f2), nullptr);
  EXPECT_FALSE(ReseauDe(f2)->LectureSeule);
  EXPECT_EQ(CouleurPanneau(f2), QColor(0, 255, 0));
  survey::Document().DocumentModifie = true;
  f2.MajMnuSauve();
  Clique(f2, "EnregistreButton");
  EXPECT_FALSE(survey::Document().DocumentModifie);
  EXPECT_EQ(testsupport::Mode(chemin), mode);
}

TEST(DocumentFichier, FichierSansDroitDEcriturePanneauRougeDesLOuverture) {
  Environnement env;
  const std::string chemin = Copie(env.dossier, FixtureSurvey("reseau_511.cav"), "protégé.cav");
  ASSERT_EQ(::chmod(chemin.c_str(), 0444), 0);
  TFichePrincipale f(FabriqueSurvey(), {});
  env.Dialogues().QueueFile(chemin, 1);
  Clique(f, "OuvreButton");
  ASSERT_NE(ReseauDe(f), nullptr);
  EXPECT_TRUE(ReseauDe(f)->LectureSeule);
  EXPECT_EQ(CouleurPanneau(f), QColor(255, 0, 0));
  const std::string pourquoi = "le fichier " + chemin +
                               " ne peut pas être modifié : il est en lecture seule. Il est ouvert en lecture seule ; "
                               "enregistrez-le sous un autre nom pour garder vos changements.";
  EXPECT_EQ(env.Dialogues().Messages(), std::vector<std::string>{pourquoi});
  const std::string avant = LitOctets(chemin);
  survey::Document().DocumentModifie = true;
  f.MajMnuSauve();
  Clique(f, "EnregistreButton");
  EXPECT_EQ(env.Dialogues().Messages().back(), pourquoi);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_EQ(LitOctets(chemin), avant);
  env.Dialogues().QueueAnswer(Answer::No);
  EXPECT_TRUE(f.close());
  EXPECT_EQ(testsupport::Mode(chemin), 0444);
}

TEST(DocumentFichier, ImportVTopoDepuisLOuvertureEtNouvelleCavite) {
  Environnement env;
  const std::string tro = env.dossier.Fichier("Olivier.tro");
  EcritOctets(tro, LitOctets(std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/Olivier.tro"));
  TFichePrincipale f(FabriqueSurvey(), {});
  f.show();
  // The filter chosen in the Open dialog gives the import type (3 VTopo).
  env.Dialogues().QueueFile(tro, 3);
  Clique(f, "OuvreButton");
  survey::TReseau* r = ReseauDe(f);
  ASSERT_NE(r, nullptr) << Messages(env.Dialogues());
  ASSERT_EQ(r->NombreCavites(), 2);
  survey::TCavite* importee = r->UneCavite(1);
  EXPECT_EQ(r->LaCaviteActive, importee);
  EXPECT_EQ(survey::Document().ReseauCourant, r);
  auto* cavites = Controle<QComboBox>(f, "CavitesBox");
  ASSERT_EQ(cavites->count(), 1);
  EXPECT_EQ(cavites->currentText().toStdString(), importee->NomCavite);
  const int visees = importee->Visees.Count();
  EXPECT_GT(visees, 0);
  EXPECT_GT(f.Zone().Table().Nombre(), 0);
  EXPECT_TRUE(Controle<QTableView>(f, "VisuVisees")->isEnabled());
  // A new document named after the cave or the file, to be named on saving.
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_TRUE(survey::Document().DemandeNomFichier);
  EXPECT_EQ(survey::Document().NomFichierCourant, env.dossier.Fichier("Olivier.cav"));
  EXPECT_FALSE(r->Nom.empty());

  // A new cave next to it, from the tool bar.
  env.Dialogues().QueuePrompt(std::string("Nouvelle"));
  Clique(f, "NewCaveButton");
  EXPECT_EQ(r->NombreCavites(), 3);
  EXPECT_TRUE(Elements(cavites).contains("Nouvelle"));
  EXPECT_EQ(cavites->currentText(), "Nouvelle");

  // Saved under the name asked for, then read back whole.
  env.Dialogues().QueueFile(env.dossier.Fichier("olivier_enr.cav"), 1);
  EXPECT_TRUE(f.Gestion().EnregistreReseauSous()) << Messages(env.Dialogues());
  EXPECT_FALSE(survey::Document().DemandeNomFichier);
  EXPECT_EQ(survey::Document().NomFichierCourant, env.dossier.Fichier("olivier_enr.cav"));
  env.Dialogues().QueueAnswer(Answer::No);
  ASSERT_TRUE(f.close());
  const std::unique_ptr<survey::TReseau> relu = survey::OuvreReseau(env.dossier.Fichier("olivier_enr.cav"));
  ASSERT_NE(relu, nullptr) << Messages(env.Dialogues());
  EXPECT_EQ(relu->NombreCavites(), 3);
  EXPECT_EQ(relu->UneCavite(1)->Visees.Count(), visees);
}

TEST(DocumentFichier, ImportEchoueSansLaisserDeReseau) {
  Environnement env;
  const std::string faux = env.dossier.Fichier("vide.tro");
  EcritOctets(faux, "");
  TFichePrincipale f(FabriqueSurvey(), {});
  env.Dialogues().QueueFile(faux, 3);
  Clique(f, "OuvreButton");
  EXPECT_EQ(f.Gestion().Reseau(), nullptr);
  EXPECT_EQ(survey::Document().ReseauCourant, nullptr);
  ASSERT_FALSE(env.Dialogues().Messages().empty());
  EXPECT_EQ(env.Dialogues().Messages().back(), "L'importation a été abandonnée");
  EXPECT_FALSE(survey::Document().DocumentModifie);
}

// Bad files opened while a document is open, and bad VTopo files imported
// into it: each says why, the open document stays as it was (its caves, its
// state, its lock) and no file appears beside them.
TEST(DocumentFichier, FichiersIllisiblesDisentPourquoiSansRienChanger) {
  Environnement env;
  const std::string chemin = Copie(env.dossier, FixtureSurvey("reseau_511.cav"), "ouvert.cav");
  const std::string cas = env.dossier.Fichier("cas");
  ASSERT_TRUE(std::filesystem::create_directory(cas));
  const std::string doc = LitOctets(chemin);
  EcritOctets(cas + "/vide.cav", "");
  EcritOctets(cas + "/tronque.cav", doc.substr(0, doc.size() / 2));
  EcritOctets(cas + "/aleatoire.cav", std::string("\x9c\x41\x07\xf3") + std::string(300, '\xa5'));
  ASSERT_TRUE(std::filesystem::create_directory(cas + "/x.cav"));
  std::string tro = LitOctets(std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/Olivier.tro");
  const size_t ol3 = tro.find("OL3        OL4");
  ASSERT_NE(ol3, std::string::npos);
  tro.insert(tro.find('\n', ol3) + 1, "OL3 OL4 1e308 10 -500 * * * * N I * N\n");
  EcritOctets(cas + "/absurde.tro", tro);
  EcritOctets(cas + "/bruit.tro", "xx yy zz\r\n@@@@\r\n");
  EcritOctets(cas + "/vide.tro", "");
  const auto contenu = [&] {
    std::vector<std::string> noms;
    for (const auto& e : std::filesystem::directory_iterator(cas)) noms.push_back(e.path().filename().string());
    std::sort(noms.begin(), noms.end());
    return noms;
  };
  const std::vector<std::string> avant = contenu();

  TFichePrincipale f(FabriqueSurvey(), {});
  f.show();
  env.Dialogues().QueueFile(chemin, 1);
  Clique(f, "OuvreButton");
  const survey::TReseau* ouvert = ReseauDe(f);
  ASSERT_NE(ouvert, nullptr) << Messages(env.Dialogues());
  const int cavites = ouvert->NombreCavites();
  const int lignes = f.Zone().Table().Nombre();
  const auto inchange = [&] {
    EXPECT_EQ(ReseauDe(f), ouvert);
    EXPECT_EQ(survey::Document().ReseauCourant, ouvert);
    EXPECT_EQ(ouvert->NombreCavites(), cavites);
    EXPECT_EQ(f.Zone().Table().Nombre(), lignes);
    EXPECT_EQ(survey::Document().NomFichierCourant, chemin);
    EXPECT_FALSE(survey::Document().DocumentModifie);
    EXPECT_EQ(f.windowTitle(), "Réseau : Réseau des fixtures");
    EXPECT_TRUE(testsupport::TenuSelonFlock(chemin));
    EXPECT_EQ(LitOctets(chemin), doc);
    EXPECT_EQ(contenu(), avant);
  };

  struct Cas {
    std::string fichier, raison;
  };
  const Cas documents[] = {
      {"vide.cav", "il est vide"},
      {"tronque.cav", "il s'arrête avant la fin de son dernier enregistrement"},
      {"aleatoire.cav", "son en-tête n'est pas celui d'un document Gravelune"},
      {"x.cav", "c'est un dossier"},
      {"absent.cav", "il n'existe pas"},
  };
  for (const Cas& c : documents) {
    SCOPED_TRACE(c.fichier);
    env.Dialogues().Clear();
    env.Dialogues().QueueFile(cas + "/" + c.fichier, 1);
    Clique(f, "OuvreButton");
    EXPECT_EQ(env.Dialogues().Messages(),
              std::vector<std::string>{"le fichier " + cas + "/" + c.fichier + " n'a pas pu être lu : " + c.raison + "."});
    inchange();
  }
  const std::string aucuneLigne = "il n'y a aucune ligne à importer. Vérifiez la structure du fichier ";
  const Cas imports[] = {
      {"absurde.tro", "absurde.tro, ligne 16 : longueur impossible (1e308)."},
      {"bruit.tro",
       aucuneLigne + cas + "/bruit.tro : aucune ligne « Param » n'y annonce de visées."},
      {"vide.tro", aucuneLigne + cas + "/vide.tro : il est vide."},
      {"absent.tro", aucuneLigne + cas + "/absent.tro : il n'existe pas."},
  };
  // Imported into the open document, or opened as a new one.
  for (const bool ouverture : {false, true})
    for (const Cas& c : imports) {
      SCOPED_TRACE(c.fichier + (ouverture ? " (Ouvrir)" : " (Imports)"));
      env.Dialogues().Clear();
      env.Dialogues().QueueFile(cas + "/" + c.fichier, ouverture ? 3 : 1);
      if (ouverture)
        Clique(f, "OuvreButton");
      else
        Controle<QAction>(f, "ImportVTopo")->trigger();
      EXPECT_EQ(env.Dialogues().Messages(), (std::vector<std::string>{c.raison, "L'importation a été abandonnée"}));
      inchange();
    }
  // A good file opened then replaces the document.
  const std::string olivier = cas + "/Olivier.tro";
  EcritOctets(olivier, LitOctets(std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/Olivier.tro"));
  env.Dialogues().Clear();
  env.Dialogues().QueueFile(olivier, 3);
  Clique(f, "OuvreButton");
  ASSERT_NE(ReseauDe(f), nullptr);
  EXPECT_EQ(ReseauDe(f)->NombreCavites(), 2) << Messages(env.Dialogues());
  EXPECT_EQ(survey::Document().NomFichierCourant, cas + "/Olivier.cav");
  EXPECT_FALSE(testsupport::TenuSelonFlock(chemin));
  EXPECT_GT(f.Zone().Table().Nombre(), 0);
}

// A cave's drawing data whose reading stops on a programming error.
class AnnexeDefaillante : public survey::TAnnexeCavite {
 public:
  bool EcritStylesCavite(foundation::TFlux&) override { return true; }
  bool LitStylesCavite(foundation::TFlux&) override { throw std::logic_error("annexe défaillante"); }
};

TEST(DocumentFichier, ErreurDeProgrammeALaLectureSignaleeCommeErreurInterne) {
  Environnement env;
  const std::string bon = Copie(env.dossier, FixtureSurvey("reseau_511.cav"), "bon.cav");
  const std::string autre = Copie(env.dossier, FixtureSurvey("reseau_511.cav"), "autre.cav");
  const std::string octets = LitOctets(autre);
  TFichePrincipale f(FabriqueSurvey(), {});
  env.Dialogues().QueueFile(bon, 1);
  Clique(f, "OuvreButton");
  ASSERT_NE(ReseauDe(f), nullptr) << Messages(env.Dialogues());
  ASSERT_TRUE(env.Dialogues().Messages().empty()) << Messages(env.Dialogues());

  const DocumentReseau* ouvert = f.Gestion().Reseau();
  const int lignes = f.Zone().Table().Nombre();
  // Every cave read from now on gets the faulty drawing data.
  const auto annexeProgramme = survey::Ports().CreeAnnexeCavite;
  survey::Ports().CreeAnnexeCavite = [](survey::TCavite&) -> std::unique_ptr<survey::TAnnexeCavite> {
    return std::make_unique<AnnexeDefaillante>();
  };
  env.Dialogues().QueueFile(autre, 1);
  Clique(f, "OuvreButton");
  // Reported once, at the command handler, as the program's fault: the file
  // is not said to be unreadable.
  ASSERT_EQ(env.Dialogues().Messages().size(), 1u) << Messages(env.Dialogues());
  EXPECT_EQ(env.Dialogues().Messages()[0], "Erreur interne : annexe défaillante");
  // The open left no half-read document: the file is neither changed nor
  // held, and the document open before is back, still holding its file.
  EXPECT_EQ(f.Gestion().Reseau(), ouvert);
  EXPECT_EQ(survey::Document().NomFichierCourant, bon);
  EXPECT_EQ(LitOctets(autre), octets);
  EXPECT_FALSE(testsupport::TenuSelonFlock(autre));
  EXPECT_TRUE(testsupport::TenuSelonFlock(bon));
  EXPECT_EQ(f.Zone().Table().Nombre(), lignes);
  EXPECT_GT(Controle<QComboBox>(f, "CavitesBox")->count(), 0);

  // With the program's drawing data again, the same file opens.
  survey::Ports().CreeAnnexeCavite = annexeProgramme;
  env.Dialogues().QueueFile(autre, 1);
  Clique(f, "OuvreButton");
  ASSERT_NE(ReseauDe(f), nullptr);
  EXPECT_EQ(env.Dialogues().Messages().size(), 1u) << Messages(env.Dialogues());
  EXPECT_EQ(f.Zone().Table().Nombre(), 3);
  env.Dialogues().QueueAnswer(Answer::No);
  f.close();
}

TEST(DocumentFichier, ErreurDeProgrammeALImportLaisseLeDocumentIntact) {
  Environnement env;
  const std::string chemin = Copie(env.dossier, FixtureSurvey("reseau_511.cav"), "ouvert.cav");
  const std::string tro = env.dossier.Fichier("Olivier.tro");
  EcritOctets(tro, LitOctets(std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/Olivier.tro"));
  TGestionDocument gestion(FabriqueSurvey());
  ASSERT_TRUE(gestion.OuvreDocument(chemin)) << Messages(env.Dialogues());
  survey::TReseau& r = dynamic_cast<TDocumentSurvey*>(gestion.Reseau())->Reseau();
  foundation::TFluxMemoire avant;
  ASSERT_TRUE(r.Ecrit(avant));
  const int cavites = r.NombreCavites();
  const int pointsSurface = gestion.Reseau()->NombrePointsSurface();

  // The gallery dialog fails on a programming error while the new cave is
  // half built: the error goes on, the document is as it was.
  formats::FenetresImport().AfficheNommeGal = [](formats::TNommeGalDlg&) -> formats::ResultatNommeGal {
    throw std::logic_error("dialogue défaillant");
  };
  const DocumentReseau* document = gestion.Reseau();
  EXPECT_THROW(gestion.OuvrirAutre(tro, 3), std::logic_error);
  EXPECT_EQ(gestion.Reseau(), document);
  EXPECT_EQ(r.NombreCavites(), cavites);
  EXPECT_EQ(gestion.Reseau()->NombrePointsSurface(), pointsSurface);
  EXPECT_FALSE(survey::Document().DocumentModifie);
  EXPECT_EQ(survey::Document().NomFichierCourant, chemin);
  foundation::TFluxMemoire apres;
  ASSERT_TRUE(r.Ecrit(apres));
  EXPECT_TRUE(apres.Octets() == avant.Octets());
  EXPECT_TRUE(env.Dialogues().Messages().empty()) << Messages(env.Dialogues());

  // The next import starts afresh and adds its cave.
  formats::FenetresImport() = formats::PortsImport();
  ASSERT_TRUE(gestion.OuvrirAutre(tro, 3)) << Messages(env.Dialogues());
  EXPECT_EQ(r.NombreCavites(), cavites + 1);
  EXPECT_TRUE(survey::Document().DocumentModifie);
}

// The path of cavtool, built beside the test binaries.
std::string CheminCavtool() {
  char tampon[4096];
  const ssize_t n = ::readlink("/proc/self/exe", tampon, sizeof tampon - 1);
  if (n <= 0) return {};
  const std::string dossierTests = platform::FolderOf(std::string(tampon, static_cast<size_t>(n)));
  return platform::FolderOf(dossierTests.substr(0, dossierTests.size() - 1)) + "bin/cavtool";
}

int Lance(const std::string& commande) {
  const std::string ligne = commande + " 2>/dev/null";
  return std::system(ligne.c_str());
}

TEST(DocumentFichier, AllerRetourDUnDocumentAvecDessins) {
  Environnement env;
  const std::string entree = Copie(env.dossier, FixtureApp("reseau_dessins_511.cav"), "dessins.cav");
  const std::string cavtool = CheminCavtool();
  if (!platform::FileExists(cavtool)) GTEST_SKIP() << "cavtool absent: " << cavtool;
  const std::string w1 = env.dossier.Fichier("w1.cav"), w2 = env.dossier.Fichier("w2.cav");
  ASSERT_EQ(Lance("'" + cavtool + "' roundtrip '" + entree + "' '" + w1 + "'"), 0);
  ASSERT_EQ(Lance("'" + cavtool + "' roundtrip '" + w1 + "' '" + w2 + "'"), 0);
  EXPECT_TRUE(LitOctets(w1) == LitOctets(w2));
  EXPECT_TRUE(LitOctets(platform::ChangeExtension(w1, ".CFG")) == LitOctets(platform::ChangeExtension(w2, ".CFG")));
  // The drawing records are written back as read: the plan drawing of
  // "Grotte A" (lines, fill, the text with its own font) is all there.
  const std::string lu = LitOctets(entree);
  const std::string ecrit = LitOctets(w1);
  EXPECT_EQ(ecrit.size(), lu.size());
  const std::string queue = lu.substr(lu.find("Salle") - 300);
  EXPECT_NE(ecrit.find(queue.substr(0, 350)), std::string::npos);

  // The window, wired as the program: saved under another name (after the
  // network's computation, which the adjustment asks for), the drawings are
  // written as read, and the saved document reads back to the same bytes.
  TFichePrincipale f(FabriqueSurvey(), {});
  env.Dialogues().QueueFile(entree, 1);
  Clique(f, "OuvreButton");
  ASSERT_TRUE(env.Dialogues().Messages().empty()) << Messages(env.Dialogues());
  const std::string copie = env.dossier.Fichier("fenetre.cav");
  env.Dialogues().QueueFile(copie, 1);
  Controle<QAction>(f, "Enregistrersous")->trigger();
  ASSERT_EQ(env.Dialogues().Messages().size(), 1u) << Messages(env.Dialogues());
  EXPECT_EQ(env.Dialogues().Messages()[0], "Le fichier a été enregistré sous le nom " + copie);
  const std::string premier = LitOctets(copie);
  EXPECT_NE(premier.find(queue.substr(0, 350)), std::string::npos);
  // Saved elsewhere: the first file is no longer held.
  EXPECT_FALSE(testsupport::TenuSelonFlock(entree));
  EXPECT_TRUE(testsupport::TenuSelonFlock(copie));

  env.Dialogues().QueueFile(copie, 1);
  Clique(f, "OuvreButton");
  const std::string seconde = env.dossier.Fichier("fenetre2.cav");
  env.Dialogues().QueueFile(seconde, 1);
  Controle<QAction>(f, "Enregistrersous")->trigger();
  EXPECT_TRUE(LitOctets(seconde) == premier);
  EXPECT_TRUE(LitOctets(platform::ChangeExtension(seconde, ".CFG")) == LitOctets(platform::ChangeExtension(copie, ".CFG")));
  env.Dialogues().QueueAnswer(Answer::No);
  f.close();
}

TEST(DocumentFichier, DemarrageDonneSesReglagesAuxSousSystemes) {
  Environnement env;
  // The watermark colour of the settings.
  Config().CouleurFiligrane = 0x123456;
  AppliqueConfigAuxSousSystemes();
  EXPECT_EQ(drawing::Dessin().CouleurFiligrane, 0x123456u);
  // Long sections' page layouts and drawing backgrounds are known.
  EXPECT_NE(drawing::PortsDonnees().ClasseMiseEnPage, nullptr);
  EXPECT_TRUE(drawing::PortsDonnees().CreeConfig);
  EXPECT_TRUE(drawing::Ports().RelogeReferences);

  // The default pattern file completes every new network's library, and
  // the document stays unmodified.
  const std::string mtf = std::string(GRAVELUNE_SOURCE_DIR) + "/tests/drawing/fixtures/mtf_511.mtf";
  drawing::tListeMtf fichier(0);
  ASSERT_TRUE(drawing::LitFichierMtf(mtf, fichier));
  Config().FichierMotifsDefaut = mtf;
  survey::Document().DocumentModifie = false;
  {
    TDocumentSurvey d;
    drawing::tListeMtf* b = document::BibliothequeCourante();
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(drawing::Dessin().ListesMtfReseau, b);
    for (int k = 1; k < drawing::NombreTypesMotif; ++k)
      for (const drawing::TObjetMotifdeBase* m : *fichier.ListeMotif[static_cast<size_t>(k)]) {
        bool trouve = false;
        for (const drawing::TObjetMotifdeBase* n : *b->ListeMotif[static_cast<size_t>(k)])
          trouve = trouve || n->DesignMotif == m->DesignMotif;
        EXPECT_TRUE(trouve) << k << " " << m->DesignMotif;
      }
    EXPECT_FALSE(survey::Document().DocumentModifie);
    EXPECT_EQ(Config().FichierMotifsDefaut, mtf);
  }
  EXPECT_EQ(drawing::Dessin().ListesMtfReseau, nullptr);
  // A default file that cannot be read is dropped from the settings.
  Config().FichierMotifsDefaut = env.dossier.Fichier("absent.mtf");
  { TDocumentSurvey d; }
  EXPECT_EQ(Config().FichierMotifsDefaut, "");
}

// "Motifs / Fontes" / "Importer" on an open document: the patterns another
// document has and the library lacks join the library, whatever the letter
// case of ".cav"; the caves, their shots and the library's own entries stay
// as they were, the document is modified, saved and read again whole.  A
// document that cannot be read changes nothing and only its reader speaks.
TEST(DocumentFichier, ImporteLesMotifsDUnAutreDocument) {
  const std::string source = FixtureApp("motifs_511.cav");
  for (const char* nom : {"motifs.CAV", "motifs.Cav"}) {
    SCOPED_TRACE(nom);
    Environnement env;
    const std::string chemin = Copie(env.dossier, FixtureSurvey("reseau_511.cav"), "réseau.cav");
    const std::string autre = env.dossier.Fichier(nom);
    EcritOctets(autre, LitOctets(source));
    const std::string vide = env.dossier.Fichier("vide.cav");
    EcritOctets(vide, "");
    TFichePrincipale f(FabriqueSurvey(), {});
    f.show();
    f.OuvreDocument(chemin);
    ASSERT_NE(ReseauDe(f), nullptr);
    drawing::tListeMtf* b = document::BibliothequeCourante();
    ASSERT_NE(b, nullptr);
    // The fixture's library is empty: it gets the built-in one.
    b->InitDefaut();
    const auto etat = [&] {
      std::string e;
      for (const survey::TCavite* c : ReseauDe(f)->Cavites)
        e += c->NomCavite + ":" + std::to_string(c->Visees.Count()) + " ";
      return e;
    };
    const std::string cavites = etat();
    std::vector<int> avant;
    std::vector<std::vector<std::string>> noms;
    for (const drawing::TListeMotifsBase* l : b->ListeMotif) {
      avant.push_back(l->Count());
      noms.emplace_back();
      for (const drawing::TObjetMotifdeBase* m : *l) noms.back().push_back(m->DesignMotif);
    }
    const auto octets = [&] {
      foundation::TFluxMemoire flux;
      EXPECT_TRUE(b->EcritObjet(flux, false));
      return flux.Octets();
    };
    const std::string bibliotheque = octets();
    QAction* importer = Controle<QAction>(f, "MotifsImporter");
    ASSERT_TRUE(importer->isEnabled());

    // Unreadable: the reader's message, nothing else changes.
    survey::Document().DocumentModifie = false;
    env.Dialogues().QueueFile(vide, 1);
    importer->trigger();
    ASSERT_EQ(env.Dialogues().Messages().size(), 1u);
    EXPECT_NE(env.Dialogues().Messages()[0].find("vide.cav"), std::string::npos) << Messages(env.Dialogues());
    EXPECT_EQ(octets(), bibliotheque);
    EXPECT_EQ(etat(), cavites);
    EXPECT_FALSE(survey::Document().DocumentModifie);
    EXPECT_EQ(drawing::Dessin().ListesMtfReseau, b);

    env.Dialogues().Clear();
    env.Dialogues().QueueFile(autre, 1);
    importer->trigger();
    EXPECT_TRUE(env.Dialogues().Messages().empty()) << Messages(env.Dialogues());
    EXPECT_EQ(env.Dialogues().Log().front().options.Filter, "mtf / cav|*.mtf; *.cav");
    EXPECT_EQ(drawing::Dessin().ListesMtfReseau, b);
    EXPECT_EQ(etat(), cavites);
    const std::vector<std::vector<std::string>> arrives = {
        {"Glace"}, {"Ruisseau"}, {"Sable fin", "Glace"}, {}, {}, {"Gouffre"}, {"Légende", "Cote"}};
    for (size_t k = 0; k < b->ListeMotif.size(); ++k) {
      std::vector<std::string> l;
      for (const drawing::TObjetMotifdeBase* m : *b->ListeMotif[k]) l.push_back(m->DesignMotif);
      std::vector<std::string> attendu = noms[k];
      attendu.insert(attendu.end(), arrives[k].begin(), arrives[k].end());
      EXPECT_EQ(l, attendu) << drawing::NomTypesMotif(static_cast<drawing::TTypeMotif>(k));
    }
    EXPECT_TRUE(survey::Document().DocumentModifie);
    EXPECT_TRUE(f.windowTitle().endsWith(" *")) << f.windowTitle().toStdString();

    // Saved and opened again: the imported entries are the document's.
    Clique(f, "EnregistreButton");
    EXPECT_TRUE(env.Dialogues().Messages().empty()) << Messages(env.Dialogues());
    env.Dialogues().QueueAnswer(Answer::No);
    f.close();
    TFichePrincipale g(FabriqueSurvey(), {});
    g.OuvreDocument(chemin);
    drawing::tListeMtf* relue = document::BibliothequeCourante();
    ASSERT_NE(relue, nullptr);
    ASSERT_EQ(relue->ListeRemplis.Count(), avant[2] + 2);
    EXPECT_EQ(relue->UnRempli(avant[2] + 1)->DesignMotif, "Glace");
    EXPECT_EQ(relue->UnRempli(avant[2] + 1)->UneTexture, relue->ListeTextures.Last());
    EXPECT_EQ(relue->ListeFontes.UnObjet(avant[6])->UneCategorie, relue->ListeFontes.LaCategorie(0));
    g.close();
  }
}

// The program itself holds a document and is killed (SIGKILL) while it holds
// it: the file's mode is the same before, while held and after; meanwhile
// this window opens it read-only (red panel) and cannot save it; afterwards
// it opens editable unless its own mode forbids writing.
TEST(DocumentFichier, ProgrammeTueEnTenantLeDocument) {
  const std::string gravelune = platform::FolderOf(CheminCavtool()) + "gravelune";
  if (!platform::FileExists(gravelune)) GTEST_SKIP() << "gravelune absent: " << gravelune;
  for (const int32_t mode : {0644, 0444, 0600}) {
    Environnement env;
    const std::string chemin = Copie(env.dossier, FixtureSurvey("reseau_511.cav"), "tenu.cav");
    ASSERT_EQ(::chmod(chemin.c_str(), static_cast<mode_t>(mode)), 0);
    const std::string maison = env.dossier.Fichier("maison");
    ASSERT_EQ(::mkdir(maison.c_str(), 0700), 0);
    // Its own home, settings and runtime folder; everything prepared before
    // the fork, so that the child only redirects and runs the program.
    std::vector<std::string> variables = {"HOME=" + maison, "XDG_CONFIG_HOME=" + maison + "/.config",
                                          "XDG_RUNTIME_DIR=" + maison, "QT_QPA_PLATFORM=offscreen",
                                          "ASAN_OPTIONS=detect_leaks=0"};
    if (const char* chemins = std::getenv("PATH")) variables.push_back(std::string("PATH=") + chemins);
    std::vector<char*> envp;
    for (std::string& v : variables) envp.push_back(v.data());
    envp.push_back(nullptr);
    std::string programmeArg = gravelune, documentArg = chemin;
    char* argv[] = {programmeArg.data(), documentArg.data(), nullptr};
    // What the program prints goes to a file, shown when it does not take
    // the document in time.
    const std::string journal = env.dossier.Fichier("gravelune.log");
    const pid_t programme = ::fork();
    ASSERT_GE(programme, 0);
    if (programme == 0) {
      const int sortie = ::open(journal.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      if (sortie >= 0) {
        ::dup2(sortie, 1);
        ::dup2(sortie, 2);
      }
      ::execve(argv[0], argv, envp.data());
      ::_exit(127);
    }
    bool tenu = false;
    for (int i = 0; i < 1200 && !tenu; ++i) {
      tenu = testsupport::TenuSelonFlock(chemin);
      if (!tenu) ::usleep(50000);
    }
    EXPECT_TRUE(tenu) << mode << "\n" << LitOctets(journal);
    EXPECT_EQ(testsupport::Mode(chemin), mode);
    const std::string avant = LitOctets(chemin);
    {
      TFichePrincipale f(FabriqueSurvey(), {});
      env.Dialogues().QueueFile(chemin, 1);
      Clique(f, "OuvreButton");
      ASSERT_NE(ReseauDe(f), nullptr);
      EXPECT_EQ(CouleurPanneau(f), QColor(255, 0, 0));
      survey::Document().DocumentModifie = true;
      f.MajMnuSauve();
      Clique(f, "EnregistreButton");
      EXPECT_TRUE(survey::Document().DocumentModifie);
      EXPECT_EQ(LitOctets(chemin), avant);
      env.Dialogues().QueueAnswer(Answer::No);
      EXPECT_TRUE(f.close());
    }
    ::kill(programme, SIGKILL);
    int etat = 0;
    ::waitpid(programme, &etat, 0);
    EXPECT_EQ(testsupport::Mode(chemin), mode);
    EXPECT_FALSE(testsupport::TenuSelonFlock(chemin));
    env.Dialogues().Clear();
    TFichePrincipale f(FabriqueSurvey(), {});
    env.Dialogues().QueueFile(chemin, 1);
    Clique(f, "OuvreButton");
    ASSERT_NE(ReseauDe(f), nullptr);
    const bool protege = (mode & 0222) == 0;
    EXPECT_EQ(ReseauDe(f)->LectureSeule, protege) << mode;
    EXPECT_EQ(CouleurPanneau(f), protege ? QColor(255, 0, 0) : QColor(0, 255, 0));
    EXPECT_EQ(LitOctets(chemin), avant);
    EXPECT_TRUE(f.close());
    EXPECT_EQ(testsupport::Mode(chemin), mode);
  }
}

namespace {

// What can be seen of the window and of its document, one line per item.
QStringList Apparence(TFichePrincipale& f) {
  QStringList l;
  const survey::ContexteDocument& doc = survey::Document();
  survey::TReseau* r = ReseauDe(f);
  std::ostringstream d;
  d << "document " << static_cast<const void*>(r) << " '" << doc.NomFichierCourant << "' modifié " << doc.DocumentModifie
    << " nom demandé " << doc.DemandeNomFichier;
  if (r) d << " cavités " << r->NombreCavites() << " active " << (r->LaCaviteActive ? r->LaCaviteActive->NomCavite : "-");
  // The document's file: written, with its backup.
  std::error_code ec;
  const auto ecrit = std::filesystem::last_write_time(doc.NomFichierCourant, ec);
  if (!ec) d << " fichier écrit " << ecrit.time_since_epoch().count();
  d << " sauvegarde " << platform::FileExists(platform::ChangeExtension(doc.NomFichierCourant, ".$$$Cav"));
  l << QString::fromStdString(d.str());
  l << "fenêtre " + QString::number(f.isVisible()) + " '" + f.windowTitle() + "' panneau " +
           QString::number(f.PanneauEtat()->Couleur()) + " " + f.PanneauEtat()->toolTip();
  for (QWidget* w : f.findChildren<QWidget*>()) {
    const QString nom = w->objectName();
    if (nom.isEmpty() || nom.startsWith(QLatin1String("qt_"))) continue;
    QString t = nom + " " + QString::number(w->isEnabled()) + QString::number(w->isVisibleTo(&f));
    if (auto* b = qobject_cast<QAbstractButton*>(w)) t += " " + b->text() + " " + QString::number(b->isChecked());
    if (auto* c = qobject_cast<QComboBox*>(w)) t += " " + Elements(c).join('|') + " [" + c->currentText() + "]";
    if (auto* v = qobject_cast<QTableView*>(w))
      t += " " + QString::number(v->model()->rowCount()) + " ligne " + QString::number(v->currentIndex().row());
    if (auto* e = qobject_cast<QLineEdit*>(w)) t += " " + e->text();
    if (auto* e = qobject_cast<QLabel*>(w)) t += " " + e->text();
    if (auto* e = qobject_cast<QPlainTextEdit*>(w)) t += " " + e->toPlainText();
    if (auto* e = qobject_cast<QTreeWidget*>(w)) t += " " + QString::number(e->topLevelItemCount());
    l << t;
  }
  for (QAction* a : f.findChildren<QAction*>())
    if (!a->objectName().isEmpty()) l << a->objectName() + " " + QString::number(a->isEnabled()) + a->text();
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w != &f && w->isVisible() && !qobject_cast<QMenu*>(w)) l << "autre fenêtre " + w->windowTitle();
  return l;
}

// The commands a user can reach: the menu bar's menus and their entries
// (the recent-file lines included), the buttons.
struct CommandeFenetre {
  QString Nom;
  QString Texte;
  std::function<void()> Declenche;
};

std::vector<CommandeFenetre> Commandes(TFichePrincipale& f) {
  std::vector<CommandeFenetre> c;
  for (QAction* m : f.menuBar()->actions()) {
    if (!m->isEnabled() || !m->isVisible()) continue;
    c.push_back({m->objectName(), m->text(), {}});  // a menu: it opens
    if (!m->menu()) continue;
    for (QAction* a : m->menu()->actions())
      if (!a->isSeparator() && a->isEnabled() && a->isVisible())
        c.push_back({a->objectName(), a->text(), [a] { a->trigger(); }});
  }
  for (QAbstractButton* b : f.findChildren<QAbstractButton*>()) {
    if (b->objectName().isEmpty() || b->objectName().startsWith(QLatin1String("qt_"))) continue;
    if (!qobject_cast<QToolButton*>(b) && !qobject_cast<QPushButton*>(b)) continue;
    if (b->isEnabled() && b->isVisibleTo(&f)) c.push_back({b->objectName(), b->text(), [b] { b->click(); }});
  }
  return c;
}

}  // namespace

// Every command enabled in the window, on no document, on a network of the
// surface only and on a cave, does something one can see: a dialog or a
// message, a change of the document or of the window.  Dialogs are answered
// Cancel (file dialogs, prompts, questions); modal windows are closed.  The
// record of what each command did is the failure message.
TEST(DocumentFichier, ChaqueCommandeActiveFaitQuelqueChoseDeVisible) {
  Environnement env;
  const std::string cavite = Copie(env.dossier, FixtureSurvey("reseau_511.cav"), "cavite.cav");
  // A network of the surface alone.
  const std::string surface = env.dossier.Fichier("surface.cav");
  {
    survey::GardeDocument garde;
    survey::TReseau r;
    r.Nom = "Surface seule";
    r.CreeCaviteSurface();
    survey::Document().NomFichierCourant = surface;
    ASSERT_TRUE(survey::EnregistreReseau(surface)) << Messages(env.Dialogues());
  }
  struct Situation {
    const char* Nom;
    std::string Chemin;
  };
  const std::vector<Situation> situations = {{"sans document", ""}, {"surface seule", surface}, {"cavité", cavite}};
  std::string releve;
  std::vector<std::string> muettes;
  for (const Situation& s : situations) {
    // The window in its situation, afresh for each command.
    const auto prepare = [&](std::unique_ptr<TFichePrincipale>& f) {
      survey::Document() = survey::ContexteDocument();
      Config().ListeDerniersFichiers.clear();
      f = std::make_unique<TFichePrincipale>(FabriqueSurvey(), std::vector<std::string>{});
      f->show();
      if (!s.Chemin.empty()) f->OuvreDocument(s.Chemin);
      QApplication::processEvents();
      env.Dialogues().Clear();
    };
    std::unique_ptr<TFichePrincipale> f;
    prepare(f);
    ASSERT_EQ(f->Gestion().Reseau() != nullptr, !s.Chemin.empty()) << s.Nom;
    std::vector<CommandeFenetre> commandes = Commandes(*f);
    const std::vector<std::string> noms = [&] {
      std::vector<std::string> n;
      for (const CommandeFenetre& c : commandes) n.push_back(c.Nom.toStdString());
      return n;
    }();
    f.reset();
    for (const std::string& nom : noms) {
      prepare(f);
      commandes = Commandes(*f);
      const auto it = std::find_if(commandes.begin(), commandes.end(),
                                   [&](const CommandeFenetre& c) { return c.Nom.toStdString() == nom; });
      ASSERT_NE(it, commandes.end()) << nom;
      std::string effet;
      if (!it->Declenche) {
        // A menu shows its entries: some must be there to use.
        QAction* menu = f->findChild<QAction*>(it->Nom);
        int utiles = 0;
        for (QAction* a : menu->menu()->actions()) utiles += !a->isSeparator() && a->isEnabled() && a->isVisible();
        if (utiles > 0) effet = "menu de " + std::to_string(utiles) + " entrées";
      } else {
        const QStringList avant = Apparence(*f);
        QStringList modales;
        QTimer fermeModales;
        fermeModales.setInterval(20);
        QObject::connect(&fermeModales, &QTimer::timeout, [&] {
          if (QWidget* w = QApplication::activeModalWidget()) {
            modales << w->windowTitle();
            if (auto* d = qobject_cast<QDialog*>(w))
              d->reject();
            else
              w->close();
          }
        });
        fermeModales.start();
        it->Declenche();
        QApplication::processEvents();
        fermeModales.stop();
        const QStringList apres = Apparence(*f);
        for (const auto& l : env.Dialogues().Log())
          effet += (l.event == platform::ScriptedDialogs::Event::Message ? "message « " : "dialogue « ") +
                   (l.text.empty() ? l.caption : l.text) + " » ";
        for (const QString& m : modales) effet += "fenêtre « " + m.toStdString() + " » ";
        for (const QString& a : avant)
          if (!apres.contains(a)) effet += "[avant : " + a.toStdString() + "] ";
        for (const QString& b : apres)
          if (!avant.contains(b)) effet += "[après : " + b.toStdString() + "] ";
      }
      releve += std::string(s.Nom) + " / " + nom + " (" + it->Texte.toStdString() + ") : " +
                (effet.empty() ? "RIEN" : effet.substr(0, 300)) + "\n";
      if (effet.empty()) muettes.push_back(std::string(s.Nom) + " / " + nom);
      f.reset();
    }
  }
  EXPECT_TRUE(muettes.empty()) << "commandes sans effet visible :\n" << [&] {
    std::string m;
    for (const std::string& n : muettes) m += "  " + n + "\n";
    return m;
  }() << "relevé :\n" << releve;
  // The walk reached the document commands in each situation.
  EXPECT_NE(releve.find("sans document / BtnNouveau"), std::string::npos) << releve;
  EXPECT_NE(releve.find("cavité / CherchePtBtn"), std::string::npos) << releve;
}
