// A VTopo file imported from the main window by every route a user takes:
// the "Imports" menu with no document and with one, the Open dialog whatever
// filter was chosen, the command line with the gallery window shown; the
// import type of a file chosen in the Open dialog; the cave selector wide
// enough for the imported cave's name.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <memory>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/commun/config_generale.h"
#include "app/document/document_survey.h"
#include "app/echanges/commandes_import.h"
#include "app/echanges/galeries_import_dlg.h"
#include "app/echanges/visu_import_tab_dlg.h"
#include "app/fiche_principale.h"
#include "app/table/zone_visees.h"
#include "drawing/contexte_dessin.h"
#include "drawing/ports_dessin.h"
#include "drawing/ports_motifs.h"
#include "formats/import/galeries_import.h"
#include "formats/import/import_autres.h"
#include "formats/import/toporobot/lecteur_toporobot.h"
#include "foundation/codage.h"
#include "platform/files.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"
#include "tests/app/outils_fenetre.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/environnement_document.h"
#include "views/ports_vues.h"

using namespace app;
using essai::Clique;
using essai::Controle;
using essai::Elements;
using testsupport::DossierTemp;
using testsupport::EcritOctets;
using testsupport::LitOctets;

namespace {

// The links installed as at start-up; the gallery dialog accepted as
// proposed unless a test shows the real window; Olivier.tro copied into a
// writable folder.
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
  DossierTemp dossier;
  std::string tro;

  Environnement() {
    Config() = ConfigGenerale();
    InstalleLiaisonsApplication();
    formats::FenetresImport() = formats::PortsImport();
    formats::Import().DossierMemoireGaleries = dossier.Chemin() + "/";
    tro = dossier.Fichier("Olivier.tro");
    EcritOctets(tro, LitOctets(std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/Olivier.tro"));
  }
  platform::ScriptedDialogs& Dialogues() { return document.Dialogues; }
  std::string Messages() {
    std::string s;
    for (const std::string& m : Dialogues().Messages()) s += m + "\n";
    return s;
  }
};

survey::TReseau* ReseauDe(TFichePrincipale& f) {
  auto* d = dynamic_cast<TDocumentSurvey*>(f.Gestion().Reseau());
  return d ? &d->Reseau() : nullptr;
}

QAction* Action(QWidget& f, const char* nom) { return Controle<QAction>(f, nom); }

// What a user sees after importing Olivier.tro into a new document: its cave
// listed and active, its shots in the table, a document named after it, to
// be named on saving.
void VerifieOlivierImporte(TFichePrincipale& f, Environnement& env) {
  survey::TReseau* r = ReseauDe(f);
  ASSERT_NE(r, nullptr) << env.Messages();
  EXPECT_EQ(survey::Document().ReseauCourant, r);
  ASSERT_EQ(r->NombreCavites(), 2);
  survey::TCavite* importee = r->UneCavite(1);
  EXPECT_EQ(r->LaCaviteActive, importee);
  auto* cavites = Controle<QComboBox>(f, "CavitesBox");
  EXPECT_EQ(Elements(cavites), QStringList{QString::fromStdString(importee->NomCavite)});
  EXPECT_EQ(cavites->currentText().toStdString(), importee->NomCavite);
  EXPECT_GT(importee->Visees.Count(), 0);
  EXPECT_GT(f.Zone().Table().Nombre(), 0);
  EXPECT_TRUE(Controle<QTableView>(f, "VisuVisees")->isEnabled());
  // The import is an unsaved change: the caption says so.
  EXPECT_EQ(f.windowTitle().toStdString(), "Réseau : " + r->Nom + " *");
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_TRUE(Controle<QToolButton>(f, "EnregistreButton")->isEnabled());
  EXPECT_TRUE(survey::Document().DemandeNomFichier);
  EXPECT_EQ(survey::Document().NomFichierCourant, env.dossier.Fichier("Olivier.cav"));
  EXPECT_TRUE(env.Dialogues().Messages().empty()) << env.Messages();
}

// Clicks the button of the modal window once it is shown.
void CliqueQuandModal(const char* fenetre, const char* bouton, bool& vu) {
  auto* minuterie = new QTimer;
  auto essais = std::make_shared<int>(0);
  QObject::connect(minuterie, &QTimer::timeout, [=, &vu] {
    QWidget* w = QApplication::activeModalWidget();
    const bool trouve = w && w->isVisible() && w->objectName() == QLatin1String(fenetre);
    if (trouve) {
      vu = true;
      w->findChild<QPushButton*>(QLatin1String(bouton))->click();
    }
    if (trouve || ++*essais > 500) {
      minuterie->stop();
      minuterie->deleteLater();
    }
  });
  minuterie->start(10);
}

}  // namespace

TEST(ImportFenetre, MenuImportsSansDocumentPuisDansLeDocument) {
  Environnement env;
  TFichePrincipale f(FabriqueSurvey(), {});
  f.show();
  ASSERT_EQ(f.Gestion().Reseau(), nullptr);
  ASSERT_TRUE(Action(f, "mnuImports")->isEnabled());
  ASSERT_TRUE(Action(f, "ImportVTopo")->isEnabled());
  // The import dialog shows VTopo files; an empty document is created for
  // the cave.
  env.Dialogues().QueueFile(env.tro, 1);
  Action(f, "ImportVTopo")->trigger();
  ASSERT_FALSE(env.Dialogues().Log().empty());
  EXPECT_EQ(env.Dialogues().Log().front().options.Filter, "Fichier VTopo (*.tro)|*.tro");
  VerifieOlivierImporte(f, env);

  // Imported again into the open document: a second cave, the document's
  // name and path kept.
  const std::string nom = ReseauDe(f)->Nom;
  env.Dialogues().QueueFile(env.tro, 1);
  Action(f, "ImportVTopo")->trigger();
  survey::TReseau* r = ReseauDe(f);
  ASSERT_EQ(r->NombreCavites(), 3) << env.Messages();
  EXPECT_EQ(r->LaCaviteActive, r->UneCavite(2));
  EXPECT_EQ(Controle<QComboBox>(f, "CavitesBox")->count(), 2);
  EXPECT_EQ(r->Nom, nom);
  EXPECT_EQ(survey::Document().NomFichierCourant, env.dossier.Fichier("Olivier.cav"));

  // Cancelled, or refused by the reader: the document stays as it was.
  env.Dialogues().QueueFile(std::nullopt);
  Action(f, "ImportVTopo")->trigger();
  const std::string vide = env.dossier.Fichier("vide.tro");
  EcritOctets(vide, "");
  env.Dialogues().QueueFile(vide, 1);
  Action(f, "ImportVTopo")->trigger();
  EXPECT_EQ(ReseauDe(f), r);
  EXPECT_EQ(r->NombreCavites(), 3);
  ASSERT_FALSE(env.Dialogues().Messages().empty());
  EXPECT_NE(env.Dialogues().Messages().back().find("L'importation a été abandonnée"), std::string::npos);
}

TEST(ImportFenetre, OuvrirUnFichierVTopoQuelQueSoitLeFiltre) {
  // The document filter (a .tro typed in), the VTopo filter, and a filter of
  // another format: each imports the file as VTopo.
  for (int filtre : {1, 3, 2}) {
    SCOPED_TRACE(filtre);
    Environnement env;
    TFichePrincipale f(FabriqueSurvey(), {});
    f.show();
    env.Dialogues().QueueFile(env.tro, filtre);
    Clique(f, "OuvreButton");
    VerifieOlivierImporte(f, env);
  }
}

TEST(ImportFenetre, OuvrirUnFichierIllisibleGardeLeDocument) {
  Environnement env;
  TFichePrincipale f(FabriqueSurvey(), {});
  f.show();
  env.Dialogues().QueueFile(env.tro, 3);
  Clique(f, "OuvreButton");
  survey::TReseau* r = ReseauDe(f);
  ASSERT_NE(r, nullptr) << env.Messages();
  // A file no reader knows: said, and the open document is still there.
  const std::string inconnu = env.dossier.Fichier("notes.odt");
  EcritOctets(inconnu, "x");
  env.Dialogues().QueueAnswer(platform::Answer::No);
  env.Dialogues().QueueFile(inconnu, 1);
  Clique(f, "OuvreButton");
  EXPECT_EQ(ReseauDe(f), r);
  EXPECT_EQ(Controle<QComboBox>(f, "CavitesBox")->count(), 1);
  EXPECT_GT(f.Zone().Table().Nombre(), 0);
  ASSERT_EQ(env.Dialogues().Messages().size(), 1u);
  EXPECT_EQ(env.Dialogues().Messages()[0],
            "Le fichier " + inconnu + " n'est ni un document Gravelune ni un fichier d'un format que Gravelune sait importer");
}

TEST(ImportFenetre, LigneDeCommandeAvecLaFenetreDesGaleries) {
  Environnement env;
  // The program's own gallery window, answered OK by a click.
  InstalleDialogueGaleriesImport();
  TFichePrincipale f(FabriqueSurvey(), {env.tro});
  f.show();
  bool galeriesVues = false;
  CliqueQuandModal("NommeGalDlg", "OKBtn", galeriesVues);
  f.FormActivate();
  EXPECT_TRUE(galeriesVues);
  VerifieOlivierImporte(f, env);
}

TEST(ImportFenetre, TypeDUnFichierChoisiALOuverture) {
  const struct {
    const char* chemin;
    int filtre, type;
  } cas[] = {
      {"/d/Olivier.tro", 3, formats::TypeImportVTopo},    {"/d/Olivier.TRO", 1, formats::TypeImportVTopo},
      {"/d/Olivier.tro", 2, formats::TypeImportVTopo},    {"/d/a.xtb", 2, formats::TypeImportTopoRobot},
      {"/d/a.tab", 1, formats::TypeImportTopoRobot},      {"/d/a.th", 6, formats::TypeImportAuriga},
      {"/d/a.th", 7, formats::TypeImportTopoDroid},       {"/d/a.th", 1, formats::TypeImportTopoDroid},
      {"/d/a.Top", 7, formats::TypeImportPocketTopo},     {"/d/a.txt", 1, formats::TypeImportTableTexte},
      {"/d/a.Txt", 4, formats::TypeImportTableTexte},
      {"/d/sans extension", 3, formats::TypeImportVTopo}, {"/d/a.odt", 1, 1},
  };
  for (const auto& c : cas) EXPECT_EQ(TypeImportOuverture(c.chemin, c.filtre), c.type) << c.chemin << " " << c.filtre;
  // Every import of the menu has its reader.
  for (const CommandeImport& c : CommandesImport()) EXPECT_TRUE(ImportDisponible(c)) << c.NomObjet;
}

TEST(ImportFenetre, LeSelecteurDeCavitesMontreLeNomEntier) {
  Environnement env;
  TFichePrincipale f(FabriqueSurvey(), {});
  // The window as wide as on a desktop screen (the test screen is narrower).
  f.resize(1600, 800);
  f.show();
  // Laid out and shown empty, as before a user's first command.
  QApplication::processEvents();
  env.Dialogues().QueueFile(env.tro, 3);
  Clique(f, "OuvreButton");
  survey::TReseau* r = ReseauDe(f);
  ASSERT_NE(r, nullptr) << env.Messages();
  // A long name, as a caver gives it.
  r->UneCavite(1)->NomCavite = "Grotte de l'Olivier et réseau des Trois Fontaines";
  f.AfficheListeCavites(false);
  QApplication::processEvents();
  auto* cavites = Controle<QComboBox>(f, "CavitesBox");
  ASSERT_EQ(cavites->count(), 1);
  const int texte = cavites->fontMetrics().horizontalAdvance(cavites->itemText(0));
  EXPECT_GE(cavites->width(), texte);
  EXPECT_TRUE(cavites->isVisible());
  // Still within the tool bar.
  auto* barre = Controle<QToolBar>(f, "ToolBar1");
  EXPECT_LE(cavites->geometry().right(), barre->width());
}

// "Tableau texte" and the Open dialog's "Tableau Texte" filter import a
// text table through its preview window.
TEST(ImportFenetre, TableauTexteParLeMenu) {
  Environnement env;
  InstalleDialogueVisuImportTab();
  const std::string table = env.dossier.Fichier("Essai.txt");
  EcritOctets(table, foundation::VersWindows1252("cavité\tGrotte du tableau\nentrée\tE\t0\t0\t100\nvisées\n"
                                                 "E\tA\t10\t-5\t3\t1\tx\nA\tB\t20\t-10\t4\t1\ty\n"));
  TFichePrincipale f(FabriqueSurvey(), {});
  f.show();
  ASSERT_TRUE(Action(f, "ImportTexte")->isEnabled());
  bool vu = false;
  CliqueQuandModal("VisuImportTabDlg", "OKBtn", vu);
  env.Dialogues().QueueFile(table, 1);
  Action(f, "ImportTexte")->trigger();
  EXPECT_TRUE(vu);
  ASSERT_FALSE(env.Dialogues().Log().empty());
  EXPECT_EQ(env.Dialogues().Log().front().options.Filter, "Tableau Texte|*.Txt");
  survey::TReseau* r = ReseauDe(f);
  ASSERT_NE(r, nullptr) << env.Messages();
  ASSERT_EQ(r->NombreCavites(), 2);
  EXPECT_EQ(r->UneCavite(1)->NomCavite, "Grotte du tableau");
  EXPECT_EQ(r->UneCavite(1)->Visees.Count(), 2);

  // The window cancelled: nothing added.
  vu = false;
  CliqueQuandModal("VisuImportTabDlg", "AnnulerBtn", vu);
  env.Dialogues().QueueFile(table, 1);
  Action(f, "ImportTexte")->trigger();
  EXPECT_TRUE(vu);
  EXPECT_EQ(ReseauDe(f), r);
  EXPECT_EQ(r->NombreCavites(), 2);
}

TEST(ImportFenetre, TableauTexteParOuvrir) {
  Environnement env;
  InstalleDialogueVisuImportTab();
  const std::string table = env.dossier.Fichier("Essai.txt");
  EcritOctets(table, foundation::VersWindows1252("cavité\tGrotte du tableau\n\nE\tA\t10\t-5\t3\t1\tx\n"));
  TFichePrincipale f(FabriqueSurvey(), {});
  f.show();
  // The Open dialog with its fourth filter, "Tableau Texte".
  bool vu = false;
  CliqueQuandModal("VisuImportTabDlg", "OKBtn", vu);
  env.Dialogues().QueueFile(table, 4);
  Clique(f, "OuvreButton");
  EXPECT_TRUE(vu);
  survey::TReseau* r = ReseauDe(f);
  ASSERT_NE(r, nullptr) << env.Messages();
  ASSERT_EQ(r->NombreCavites(), 2);
  EXPECT_EQ(r->UneCavite(1)->NomCavite, "Grotte du tableau");
}

// Imports through the menus that end without a cave, each with what the user
// reads: a reader's reason followed by the window's "abandonnée", or, when
// the user chose no cave, the information alone.  The document is not made.
// A table without date then shows its trip "non renseignée" in the table.
TEST(ImportFenetre, MessagesDesImportsRefuses) {
  Environnement env;
  const std::string binaire = env.dossier.Fichier("image.txt");
  EcritOctets(binaire, std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\nA\tB\t1\t2\t3\n", 28));
  // A ".top" whose only shot names a trip the file does not hold.
  std::string top = std::string("Top\x03\x01\0\0\0", 8) + std::string(8, '\0') + "\x06voyage" + std::string(2, '\0') +
                    std::string("\x01\0\0\0", 4) + std::string("\x01\0\0\x80\x02\0\0\x80\x88\x13\0\0", 12) +
                    std::string(6, '\0') + std::string("\x01\0", 2) + std::string(4 + 12, '\0');
  for (int k = 0; k < 2; ++k) top += std::string(13, '\0');
  ASSERT_EQ(top.size(), 91u);
  const std::string abime = env.dossier.Fichier("abime.top");
  EcritOctets(abime, top);
  const std::string deuxCavites = env.dossier.Fichier("deux.tab");
  EcritOctets(deuxCavites,
              "-6\t1\tEssai\r\n-5\t1\t100\t200\t300\t1\t0\tici\r\n-6\t2\tAutre\r\n-5\t2\t150\t250\t350\t1\t2\t\r\n"
              "-2\t1\t3\t4\t05\tA\tB\t0\t2.5\r\n-1\t1\t360\t360\t0\t0\t0\t100\t0\r\n1\t-1\t1\t0\t1\t2\t0\t0\t0\tSerie un\r\n"
              "1\t0\t1\t1\t0\t0\t0\t0\t0\t0\t0\r\n1\t1\t1\t1\t10\t45\t-5\t1\t2\t3\t4\r\n");
  formats::FenetresImport().AfficheChoixCavTpRb = [](formats::TTpRbChoixCavDlg&) { return true; };  // OK, none ticked
  struct Cas {
    const char* action;
    std::string fichier;
    int filtre;
    std::vector<std::string> messages;
  };
  const std::string abandon = "L'importation a été abandonnée";
  const Cas cas[] = {
      {"ImportTexte", binaire, 1,
       {"il n'y a aucune ligne à importer. Vérifiez la structure du fichier " + binaire +
            " : le fichier n'est pas un fichier texte.",
        abandon}},
      {"ImportCarnet", abime, 2,
       {"le fichier abime.top est un fichier Pocket Topo version 3 endommagé : lecture arrêtée à l'octet 29 sur 91, "
        "à la visée 1 sur 1.",
        abandon}},
      {"ImportTopoRobot", deuxCavites, 1, {"Aucune cavité n'a été choisie"}},
  };
  TFichePrincipale f(FabriqueSurvey(), {});
  f.show();
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.action);
    env.Dialogues().Clear();
    env.Dialogues().QueueFile(c.fichier, c.filtre);
    Action(f, c.action)->trigger();
    EXPECT_EQ(env.Dialogues().Messages(), c.messages);
    EXPECT_EQ(ReseauDe(f), nullptr);
  }
  // A table without date: its trip shows "non renseignée" on the shot's row.
  const std::string table = env.dossier.Fichier("sans_date.txt");
  EcritOctets(table, "cavité\tGrotte sans date\nvisées\nE\tA\t10\t-5\t3\tx\nA\tB\t20\t0\t4\ty\n");
  env.Dialogues().Clear();
  env.Dialogues().QueueFile(table, 1);
  Action(f, "ImportTexte")->trigger();
  survey::TReseau* r = ReseauDe(f);
  ASSERT_NE(r, nullptr) << env.Messages();
  ASSERT_EQ(r->NombreCavites(), 2);
  ASSERT_GT(f.Zone().Table().Nombre(), 0);
  f.Zone().SelectionneLigne(0);
  EXPECT_EQ(Controle<QLineEdit>(f, "LeverEdit")->text().toStdString(), "non renseignée");
}

// The shot-row menu's "Importer une partie d'une autre cavité": the file typed
// with the document filter, every shot of the other cave chosen in the
// selection window, the question answered Yes. The part hangs from the
// focused row's station and the table shows its first shot. Cancelled in the
// selection window, nothing changes.
TEST(ImportFenetre, PartieDUneAutreCaviteParLeMenuDeLigne) {
  Environnement env;
  TFichePrincipale f(FabriqueSurvey(), {});
  f.show();
  env.Dialogues().QueueFile(env.tro, 3);
  Clique(f, "OuvreButton");
  survey::TReseau* r = ReseauDe(f);
  ASSERT_NE(r, nullptr) << env.Messages();
  survey::TCavite* cavite = r->LaCaviteActive;
  ASSERT_NE(cavite, nullptr);
  survey::Document().DocumentModifie = false;
  const int avant = cavite->Visees.Count();
  app::TTableVisees& table = f.Zone().Table();
  const int ligne = table.Nombre() / 2;
  f.Zone().SelectionneLigne(ligne);
  survey::TVisee* focus = table.ViseePrincipale(ligne);
  ASSERT_NE(focus, nullptr);
  survey::TPointSpeleo* attache = focus->PointStation == focus->PtOrigCalc ? focus->PointVise : focus->PointStation;
  QAction* importer = Action(f, "ImportPartieAutreCavite");

  // The selection window: the buttons it shows, in the order given.
  const auto clique = [](std::vector<const char*> boutons, bool& vu) {
    auto* minuterie = new QTimer;
    auto essais = std::make_shared<int>(0);
    QObject::connect(minuterie, &QTimer::timeout, [=, &vu]() mutable {
      QWidget* w = QApplication::activeModalWidget();
      const bool trouve = w && w->isVisible() && w->objectName() == QLatin1String("FicheSelectTransfert");
      if (trouve) {
        vu = true;
        for (const char* b : boutons) w->findChild<QPushButton*>(QLatin1String(b))->click();
      }
      if (trouve || ++*essais > 1000) {
        minuterie->stop();
        minuterie->deleteLater();
      }
    });
    minuterie->start(10);
  };

  bool vu = false;
  clique({"AnnuleBtn"}, vu);
  env.Dialogues().QueueFile(env.tro, 1);
  importer->trigger();
  EXPECT_TRUE(vu);
  EXPECT_EQ(cavite->Visees.Count(), avant);
  EXPECT_FALSE(survey::Document().DocumentModifie);

  vu = false;
  clique({"ToutBtn", "ValidBtn"}, vu);
  env.Dialogues().QueueFile(env.tro, 1);
  env.Dialogues().QueueAnswer(platform::Answer::Yes);
  importer->trigger();
  EXPECT_TRUE(vu);
  EXPECT_GT(cavite->Visees.Count(), avant) << env.Messages();
  ASSERT_NE(cavite->ViseeImport0, nullptr);
  EXPECT_EQ(cavite->ViseeImport0->PointStation, attache);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_TRUE(f.windowTitle().endsWith(" *"));
  EXPECT_EQ(f.Zone().LigneFocus(), table.LigneDe(cavite->ViseeImport0));
  survey::Document().DocumentModifie = false;
}
