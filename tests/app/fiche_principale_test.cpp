// The main window driven through its controls: open a document, see its
// caves, save, close with the save question, the second instance's red
// panel, recent files, the command line, a new network.
#include <gtest/gtest.h>

#include <QKeyEvent>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QTableView>
#include <QToolButton>
#include <filesystem>

#include <sys/stat.h>

#include "app/commun/config_generale.h"
#include "app/document/gestion_document.h"
#include "app/fiche_principale.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "survey/ports_survey.h"
#include "tests/app/document_essai.h"
#include "tests/app/outils_fenetre.h"
#include "tests/support/dossier_temp.h"
#include "tests/support/verrou_externe.h"

using namespace app;
using platform::Answer;
using essai::Clique;
using essai::CouleurPanneau;
using essai::Controle;
using essai::Elements;
using essai::Gardes;

namespace {

QAction* Action(QWidget& fenetre, const char* nom) { return Controle<QAction>(fenetre, nom); }

std::vector<essai::CaviteEssai> Cavites() { return {{"Surface", 0, 0}, {"9b", 0, 1}, {"10", 2, 1}, {"Trou du Vent", 8, 1}}; }

}  // namespace

TEST(FichePrincipale, MenusEtBarresCommeLaFenetreLesPresente) {
  Gardes g;
  essai::Fabrique fabrique;
  TFichePrincipale f(fabrique.Fonction(), {});
  QStringList menus;
  for (QAction* a : f.menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{"&Fichier", "Rectif Désign", "Exports", "Imports", "Compensations", "Gestion Cavités",
                                "Motifs / Fontes", "Opérateurs", "Instruments", "Aide"}));
  QStringList fichier;
  for (QAction* a : f.findChild<QMenu*>("mnuFichier")->actions()) fichier << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(fichier, (QStringList{"&Nouveau", "&Ouvrir...", "&Enregistrer", "En&registrer sous...", "-",
                                  "Configuration", "-", "&Imprimer...", "-", "&Quitter"}));
  EXPECT_TRUE(f.windowTitle().isEmpty());
  for (const char* nom : {"BtnNouveau", "OuvreButton", "ImprimeButton", "EnregistreButton", "NewCaveButton",
                          "AjoutButton", "SurfaceBton", "BasculeAffGalBtn", "DebutGalBtn", "FinGalBtn", "RatgalBtn",
                          "ImprimeGalButton", "ButtonPlan", "VisuCoupeBtn", "VisuSuitesBtn", "Btn3D", "GEBtn", "StatBtn",
                          "OrientBtn", "CoordBtn", "DimBtn", "CherchePtBtn", "RepeteRechercheBtn", "DessinPlanBtn",
                          "DessinCoupeBtn", "GestionCoupesBtn", "JonctionBtn", "EditSuiteBtn"})
    Controle<QToolButton>(f, nom);
  for (const char* nom : {"CavitesBox", "GaleriesBox", "ListeCoupesBox", "EntreesBox"}) Controle<QComboBox>(f, nom);
  Controle<QTableView>(f, "VisuVisees");
  // No document: only the document commands are there to use.
  EXPECT_TRUE(Controle<QToolButton>(f, "BtnNouveau")->isEnabled());
  EXPECT_TRUE(Controle<QToolButton>(f, "OuvreButton")->isEnabled());
  EXPECT_FALSE(Controle<QToolButton>(f, "EnregistreButton")->isEnabled());
  EXPECT_FALSE(Controle<QToolButton>(f, "ButtonPlan")->isEnabled());
  EXPECT_FALSE(Action(f, "Enregistrer")->isEnabled());
  EXPECT_TRUE(Action(f, "Configuration")->isEnabled());
  // Importing creates the document: the menu and the imports that have a
  // reader are there; the others wait for theirs.
  EXPECT_TRUE(Action(f, "mnuImports")->isEnabled());
  EXPECT_TRUE(Action(f, "ImportVTopo")->isEnabled());
  EXPECT_TRUE(Action(f, "ImportCarnet")->isEnabled());
  EXPECT_TRUE(Action(f, "ImportTopoRobot")->isEnabled());
  EXPECT_TRUE(Action(f, "ImportTexte")->isEnabled());
  for (const char* nom : {"ImportReseau", "NumeriserPlani", "NumeriserAlti", "MajCarnet"})
    EXPECT_FALSE(Action(f, nom)->isEnabled()) << nom;
  EXPECT_FALSE(Action(f, "CaviteCoordonnees")->isVisible());
  EXPECT_EQ(CouleurPanneau(f), QColor(Qt::white));
}

TEST(FichePrincipale, OuvreEnregistreEtFermeAvecLaQuestion) {
  Gardes g;
  testsupport::DossierTemp dossier;
  const std::string chemin = dossier.Fichier("trou.cav");
  ASSERT_TRUE(essai::EcritDocumentEssai(chemin, "Massif", Cavites(), 2));
  essai::Fabrique fabrique;
  TFichePrincipale f(fabrique.Fonction(), {});
  f.show();
  g.dialogues.QueueFile(chemin, 1);
  Clique(f, "OuvreButton");
  ASSERT_TRUE(g.dialogues.Messages().empty()) << g.dialogues.Messages()[0];
  EXPECT_EQ(g.dialogues.Log()[0].options.Filter.substr(0, 32), "Fichiers Gravelune (*.cav)|*.cav");
  // The caves but the surface, in station-name order; the last one is active.
  auto* cavites = Controle<QComboBox>(f, "CavitesBox");
  EXPECT_EQ(Elements(cavites), (QStringList{"9b", "10", "Trou du Vent"}));
  EXPECT_EQ(cavites->currentText(), "Trou du Vent");
  EXPECT_EQ(f.windowTitle(), "Réseau : Massif");
  EXPECT_EQ(CouleurPanneau(f), QColor(0, 255, 0));
  EXPECT_TRUE(testsupport::TenuSelonFlock(chemin));
  EXPECT_TRUE(Controle<QTableView>(f, "VisuVisees")->isEnabled());
  EXPECT_TRUE(Controle<QComboBox>(f, "GaleriesBox")->isEnabled());
  // The plan and the elevation of the open document.
  EXPECT_TRUE(Controle<QToolButton>(f, "ButtonPlan")->isEnabled());
  EXPECT_TRUE(Controle<QToolButton>(f, "VisuCoupeBtn")->isEnabled());
  EXPECT_FALSE(Controle<QToolButton>(f, "EnregistreButton")->isEnabled());
  EXPECT_TRUE(Action(f, "Enregistrer")->isEnabled());
  ASSERT_NE(Action(f, "derfich0"), nullptr);
  EXPECT_EQ(Action(f, "derfich0")->text().toStdString(), chemin);

  // A cave without shots: the shot table is disabled.
  cavites->setCurrentIndex(0);
  emit cavites->activated(0);
  EXPECT_FALSE(Controle<QTableView>(f, "VisuVisees")->isEnabled());

  // A change, then the save button.
  survey::Document().DocumentModifie = true;
  fabrique.Crees.back()->Nom_ = "Massif modifié";
  f.MajMnuSauve();
  Clique(f, "EnregistreButton");
  EXPECT_FALSE(survey::Document().DocumentModifie);
  EXPECT_FALSE(Controle<QToolButton>(f, "EnregistreButton")->isEnabled());
  EXPECT_TRUE(platform::FileExists(CheminSauvegarde(chemin)));
  std::string enregistre = testsupport::LitOctets(chemin);
  EXPECT_NE(enregistre.find("Massif modifi"), std::string::npos);

  // Ctrl+S in the shot table saves as the save command does, and only when
  // there is something to save.
  cavites->setCurrentIndex(2);
  emit cavites->activated(2);
  ASSERT_TRUE(Controle<QTableView>(f, "VisuVisees")->isEnabled());
  fabrique.Crees.back()->Nom_ = "Massif au clavier";
  EXPECT_FALSE(survey::Document().DocumentModifie);
  EXPECT_FALSE(Controle<QToolButton>(f, "EnregistreButton")->isEnabled());
  QKeyEvent ctrlS(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier);
  QApplication::sendEvent(Controle<QTableView>(f, "VisuVisees"), &ctrlS);
  EXPECT_EQ(testsupport::LitOctets(chemin), enregistre);
  survey::Document().DocumentModifie = true;
  f.MajMnuSauve();
  QApplication::sendEvent(Controle<QTableView>(f, "VisuVisees"), &ctrlS);
  EXPECT_FALSE(survey::Document().DocumentModifie);
  enregistre = testsupport::LitOctets(chemin);
  EXPECT_NE(enregistre.find("Massif au clavier"), std::string::npos);

  // Closing with changes: Cancel keeps the window, No closes without writing.
  survey::Document().DocumentModifie = true;
  g.dialogues.QueueAnswer(Answer::Cancel);
  EXPECT_FALSE(f.close());
  EXPECT_TRUE(f.isVisible());
  EXPECT_NE(f.Gestion().Reseau(), nullptr);
  g.dialogues.QueueAnswer(Answer::No);
  EXPECT_TRUE(f.close());
  EXPECT_FALSE(f.isVisible());
  EXPECT_EQ(f.Gestion().Reseau(), nullptr);
  EXPECT_EQ(testsupport::LitOctets(chemin), enregistre);
  EXPECT_FALSE(testsupport::TenuSelonFlock(chemin));
  EXPECT_EQ(g.dialogues.Unanswered(), 0);
}

TEST(FichePrincipale, SecondeInstancePanneauRougeEtEnregistrementRefuse) {
  Gardes g;
  testsupport::DossierTemp dossier;
  const std::string chemin = dossier.Fichier("tenu.cav");
  ASSERT_TRUE(essai::EcritDocumentEssai(chemin, "Tenu", Cavites()));
  const int32_t mode = testsupport::Mode(chemin);
  // Another process holds the file's lock, as the first instance does.
  testsupport::DetenteurFlock premiere(chemin);
  ASSERT_TRUE(premiere.Tient());
  essai::Fabrique fabrique;
  TFichePrincipale f(fabrique.Fonction(), {});
  g.dialogues.QueueFile(chemin, 1);
  Clique(f, "OuvreButton");
  EXPECT_EQ(CouleurPanneau(f), QColor(255, 0, 0));
  EXPECT_TRUE(g.dialogues.Messages().empty());
  const std::string avant = testsupport::LitOctets(chemin);
  survey::Document().DocumentModifie = true;
  f.MajMnuSauve();
  Clique(f, "EnregistreButton");
  ASSERT_FALSE(g.dialogues.Messages().empty());
  EXPECT_NE(g.dialogues.Messages().back().find("est déjà ouvert dans une autre instance de Gravelune"),
            std::string::npos);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_EQ(testsupport::LitOctets(chemin), avant);
  // The refused save keeps the window open when closing asks for it.
  g.dialogues.QueueAnswer(Answer::Yes);
  EXPECT_FALSE(f.close());
  // The other holder keeps the file after this window lets it go.
  g.dialogues.QueueAnswer(Answer::No);
  EXPECT_TRUE(f.close());
  EXPECT_TRUE(testsupport::TenuSelonFlock(chemin));
  // Killed, it lets the file go: the file opens editable, green.
  premiere.Tue();
  EXPECT_EQ(testsupport::Mode(chemin), mode);
  TFichePrincipale f2(fabrique.Fonction(), {});
  g.dialogues.QueueFile(chemin, 1);
  Clique(f2, "OuvreButton");
  EXPECT_EQ(CouleurPanneau(f2), QColor(0, 255, 0));
  EXPECT_TRUE(testsupport::TenuSelonFlock(chemin));
}

TEST(FichePrincipale, FichierSansDroitDEcriturePanneauRougeDesLOuverture) {
  Gardes g;
  testsupport::DossierTemp dossier;
  const std::string chemin = dossier.Fichier("protege.cav");
  ASSERT_TRUE(essai::EcritDocumentEssai(chemin, "Protégé", Cavites()));
  ASSERT_EQ(::chmod(chemin.c_str(), 0444), 0);
  essai::Fabrique fabrique;
  TFichePrincipale f(fabrique.Fonction(), {});
  g.dialogues.QueueFile(chemin, 1);
  Clique(f, "OuvreButton");
  EXPECT_EQ(CouleurPanneau(f), QColor(255, 0, 0));
  ASSERT_EQ(g.dialogues.Messages().size(), 1u);
  EXPECT_NE(g.dialogues.Messages()[0].find("ne peut pas être modifié : il est en lecture seule"), std::string::npos);
  EXPECT_TRUE(f.close());
  EXPECT_EQ(testsupport::Mode(chemin), 0444);
}

TEST(FichePrincipale, LigneDeCommandeOuvreLeCheminRejoint) {
  Gardes g;
  testsupport::DossierTemp dossier;
  const std::string mes = dossier.Chemin() + "/docs/Mes Topos";
  ASSERT_TRUE(std::filesystem::create_directories(mes));
  ASSERT_TRUE(essai::EcritDocumentEssai(mes + "/gouffre.cav", "G", Cavites()));
  essai::Fabrique fabrique;
  TFichePrincipale f(fabrique.Fonction(), {dossier.Chemin() + "/docs/Mes", "Topos/gouffre.CFG"});
  f.FormActivate();
  EXPECT_EQ(survey::Document().NomFichierCourant, mes + "/gouffre.cav");
  ASSERT_NE(f.Gestion().Reseau(), nullptr);
  EXPECT_TRUE(g.dialogues.Messages().empty());
  // Only the first activation reads the command line.
  f.FormActivate();
  EXPECT_TRUE(g.dialogues.Messages().empty());

  // A missing file, a file of no known format: said, and no document.
  const std::string inconnu = dossier.Fichier("notes.odt");
  testsupport::EcritOctets(inconnu, "x");
  const struct {
    std::string argument, message;
  } cas[] = {
      {"/nulle/part.cav", "Le fichier /nulle/part.cav n'existe pas. Ouverture impossible"},
      {"/nulle/part.CFG", "Le fichier /nulle/part.cav n'existe pas. Ouverture impossible"},
      {inconnu, "Le fichier " + inconnu + " n'est ni un document Gravelune ni un fichier d'un format que Gravelune sait importer"},
  };
  for (const auto& c : cas) {
    TFichePrincipale autre(fabrique.Fonction(), {c.argument});
    autre.FormActivate();
    EXPECT_EQ(autre.Gestion().Reseau(), nullptr) << c.argument;
    ASSERT_EQ(g.dialogues.Messages().size(), 1u) << c.argument;
    EXPECT_EQ(g.dialogues.Messages().back(), c.message);
    g.dialogues.Clear();
  }
}

TEST(FichePrincipale, FichiersRecents) {
  Gardes g;
  testsupport::DossierTemp dossier;
  const std::string a = dossier.Fichier("a.cav"), b = dossier.Fichier("b & c.cav");
  ASSERT_TRUE(essai::EcritDocumentEssai(a, "A", Cavites()));
  ASSERT_TRUE(essai::EcritDocumentEssai(b, "B", Cavites()));
  Config().ListeDerniersFichiers = {{a, 1}, {dossier.Fichier("parti.cav"), -1}, {b, 2}};
  essai::Fabrique fabrique;
  TFichePrincipale f(fabrique.Fonction(), {});
  auto* menu = f.findChild<QMenu*>("mnuFichier");
  EXPECT_EQ(menu->actions().size(), 10 + 1 + 3);
  EXPECT_EQ(Action(f, "derfich2")->text().toStdString(), dossier.Fichier("b && c.cav"));

  Action(f, "derfich2")->trigger();
  EXPECT_EQ(survey::Document().NomFichierCourant, b);
  EXPECT_EQ(f.Gestion().Reseau()->CaviteActive(), 2);  // the cave remembered with it
  EXPECT_EQ(Config().ListeDerniersFichiers.front().Chemin, b);
  // The open document's own line has nothing to open: disabled.
  EXPECT_FALSE(Action(f, "derfich0")->isEnabled());
  EXPECT_TRUE(Action(f, "derfich1")->isEnabled());
  Action(f, "derfich0")->trigger();
  EXPECT_TRUE(g.dialogues.Log().empty());
  // A missing file: reported, dropped, and the Open dialog follows.
  g.dialogues.QueueFile(std::nullopt);
  Action(f, "derfich2")->trigger();
  ASSERT_EQ(g.dialogues.Messages().size(), 1u);
  EXPECT_EQ(g.dialogues.Messages()[0],
            "Le fichier " + dossier.Fichier("parti.cav") + " a été déplacé ou supprimé. Ouverture impossible");
  EXPECT_EQ(g.dialogues.Log().back().event, platform::ScriptedDialogs::Event::Open);
  EXPECT_EQ(Config().ListeDerniersFichiers.size(), 2u);
  EXPECT_EQ(menu->actions().size(), 10 + 1 + 2);
}

TEST(FichePrincipale, NouveauReseauNommeOuAbandonne) {
  Gardes g;
  essai::Fabrique fabrique;
  TFichePrincipale f(fabrique.Fonction(), {});
  // Cancelled: no network is left.
  g.dialogues.QueuePrompt(std::nullopt);
  Clique(f, "BtnNouveau");
  EXPECT_EQ(f.Gestion().Reseau(), nullptr);
  EXPECT_TRUE(survey::Document().NomFichierCourant.empty());
  EXPECT_FALSE(Controle<QToolButton>(f, "SurfaceBton")->isEnabled());

  // A blank name is refused with its message and asked again.
  g.dialogues.Clear();
  g.dialogues.QueuePrompt(std::string(""));
  g.dialogues.QueuePrompt(std::string("  "));
  g.dialogues.QueuePrompt(std::string("Causse"));
  Action(f, "Nouveau1")->trigger();
  EXPECT_EQ(g.dialogues.Messages(),
            (std::vector<std::string>{"Vous n'avez pas indiqué le nom du réseau", "Vous n'avez pas indiqué le nom du réseau"}));
  EXPECT_EQ(g.dialogues.PendingAnswers(), 0u);
  ASSERT_NE(f.Gestion().Reseau(), nullptr);
  EXPECT_EQ(survey::Document().NomFichierCourant, "Causse.cav");
  EXPECT_TRUE(survey::Document().DemandeNomFichier);
  EXPECT_EQ(f.windowTitle(), "Réseau : Causse");
  EXPECT_EQ(CouleurPanneau(f), QColor(0, 255, 0));
  // The network lists no cave until one is created.
  EXPECT_EQ(Controle<QComboBox>(f, "CavitesBox")->count(), 0);
  EXPECT_FALSE(Action(f, "Enregistrersous")->isEnabled());
  EXPECT_FALSE(survey::Document().DocumentModifie);

  // A cave makes it work to keep: the save button, the caption, the question.
  Clique(f, "NewCaveButton");
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_TRUE(Controle<QToolButton>(f, "EnregistreButton")->isEnabled());
  EXPECT_EQ(f.windowTitle(), "Réseau : Causse *");
  g.dialogues.QueueAnswer(Answer::Cancel);
  Clique(f, "BtnNouveau");
  EXPECT_EQ(g.dialogues.Log().back().text, "Le fichier Causse.cav a été modifié.\nVoulez-vous enregistrer les changements ?");
  EXPECT_EQ(f.Gestion().Reseau()->NomsCavites().size(), 2u);

  // "Cavité +" without a network: the new network holds a cave to keep; given
  // up at its name, nothing is left to keep.
  g.dialogues.QueueAnswer(Answer::No);
  g.dialogues.QueuePrompt(std::nullopt);
  Clique(f, "BtnNouveau");
  ASSERT_EQ(f.Gestion().Reseau(), nullptr);
  g.dialogues.QueuePrompt(std::nullopt);
  Clique(f, "NewCaveButton");
  EXPECT_EQ(f.Gestion().Reseau(), nullptr);
  EXPECT_FALSE(survey::Document().DocumentModifie);
  g.dialogues.QueuePrompt(std::string("Plateau"));
  Clique(f, "NewCaveButton");
  ASSERT_NE(f.Gestion().Reseau(), nullptr);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_EQ(f.windowTitle(), "Réseau : Plateau *");
}
