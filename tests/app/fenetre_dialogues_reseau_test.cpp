// The main window's commands that reach the network-characteristics, the
// adjustment (menu and shot-row menu) and the gallery-merge windows, on the survey model's network:
// each opens its window with RectifEnCours as the command says, and what the
// window confirms shows in the main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <string>

#include "app/application.h"
#include "app/commun/config_generale.h"
#include "app/document/document_survey.h"
#include "app/fiche_principale.h"
#include "app/table/table_visees.h"
#include "app/table/zone_visees.h"
#include "drawing/contexte_dessin.h"
#include "drawing/ports_dessin.h"
#include "drawing/ports_motifs.h"
#include "formats/import/galeries_import.h"
#include "formats/import/import_autres.h"
#include "survey/contexte_document.h"
#include "survey/liste_points.h"
#include "survey/reseau.h"
#include "tests/app/outils_fenetre.h"
#include "tests/app/saisie_essai.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/environnement_document.h"
#include "views/ports_vues.h"

namespace {

using app::TFichePrincipale;
using essai::SurLaFenetreModale;

struct Environnement {
  app::GardeConfig config;
  survey::GardeAffichage affichage;
  testsurvey::EnvironnementDocument document{false};
  drawing::GardePortsDonnees portsDonnees;
  drawing::GardePortsMotifs portsMotifs;
  drawing::GardeContexteDessin dessin;
  views::GardePortsVues portsVues;
  formats::GardePortsImport fenetresImport;
  formats::GardeImport import;
  testsupport::DossierTemp dossier;
  Environnement() {
    app::Config() = app::ConfigGenerale();
    app::InstalleLiaisonsApplication();
    formats::FenetresImport() = formats::PortsImport();
  }
  platform::ScriptedDialogs& Dialogues() { return document.Dialogues; }
};

survey::TReseau* ReseauDe(TFichePrincipale& f) {
  auto* d = dynamic_cast<app::TDocumentSurvey*>(f.Gestion().Reseau());
  return d ? &d->Reseau() : nullptr;
}

std::string Fixture(const std::string& nom) {
  return std::string(GRAVELUNE_SOURCE_DIR) + "/tests/survey/fixtures/document/" + nom;
}

QAction* Action(TFichePrincipale& f, const char* nom) { return essai::Controle<QAction>(f, nom); }

TEST(FenetreDialoguesReseau, NouveauReseauEtRectification) {
  Environnement e;
  TFichePrincipale f(app::FabriqueSurvey(), {});
  f.show();
  // A new network: the characteristics dialog, for a new network.
  bool rectif = true;
  SurLaFenetreModale([&](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Saisie des caractéristiques du réseau");
    rectif = survey::Document().RectifEnCours;
    essai::Enfant<QLineEdit>(d, "EditNom")->setText("Causse");
    essai::Clic(d, "OKBtn");
  });
  essai::Clique(f, "BtnNouveau");
  EXPECT_FALSE(rectif);
  ASSERT_NE(ReseauDe(f), nullptr);
  EXPECT_EQ(ReseauDe(f)->Nom, "Causse");
  EXPECT_TRUE(ReseauDe(f)->Projection.empty());
  EXPECT_EQ(ReseauDe(f)->NombreCavites(), 1);
  EXPECT_EQ(survey::Document().NomFichierCourant, "Causse.cav");
  EXPECT_TRUE(f.windowTitle().startsWith("Réseau : Causse"));

  // "Rectif Désign" / "Réseau": the same dialog for an existing network.
  ASSERT_TRUE(Action(f, "RectifReseau")->isEnabled());
  SurLaFenetreModale([&](QDialog& d) {
    rectif = survey::Document().RectifEnCours;
    auto* nom = essai::Enfant<QLineEdit>(d, "EditNom");
    EXPECT_EQ(nom->text(), "Causse");
    nom->setText("Causse Noir");
    essai::Clic(d, "OKBtn");
  });
  Action(f, "RectifReseau")->trigger();
  EXPECT_TRUE(rectif);
  EXPECT_FALSE(survey::Document().RectifEnCours);
  EXPECT_EQ(ReseauDe(f)->Nom, "Causse Noir");
  EXPECT_EQ(f.windowTitle(), "Réseau : Causse Noir *");

  // Cancelled: nothing changes.
  SurLaFenetreModale([&](QDialog& d) {
    essai::Enfant<QLineEdit>(d, "EditNom")->setText("Perdu");
    essai::Clic(d, "AnnulerBtn");
  });
  Action(f, "RectifReseau")->trigger();
  EXPECT_EQ(ReseauDe(f)->Nom, "Causse Noir");
  survey::Document().DocumentModifie = false;
}

TEST(FenetreDialoguesReseau, CompensationsEtFusionDeGaleries) {
  Environnement e;
  TFichePrincipale f(app::FabriqueSurvey(), {});
  f.show();
  f.OuvreDocument(Fixture("reseau_511.cav"));
  ASSERT_NE(ReseauDe(f), nullptr);
  QApplication::processEvents();
  struct Cas {
    const char* commande;
    const char* titre;
    bool rectif;
  };
  std::string titre;
  const Cas cas[] = {{"CompensListe", "Visualisation d'une compensation", false},
                     {"CompensModifier", "Modification d'une compensation", true}};
  for (const Cas& c : cas) {
    ASSERT_TRUE(Action(f, c.commande)->isEnabled()) << c.commande;
    bool rectif = !c.rectif;
    SurLaFenetreModale([&](QDialog& d) {
      titre = d.windowTitle().toStdString();
      rectif = survey::Document().RectifEnCours;
      EXPECT_NE(d.findChild<QTreeWidget*>("ListeCompens"), nullptr);
      d.accept();
    });
    Action(f, c.commande)->trigger();
    EXPECT_EQ(titre, c.titre) << c.commande;
    EXPECT_EQ(rectif, c.rectif) << c.commande;
    EXPECT_FALSE(survey::Document().RectifEnCours);
  }

  // The shot-row menu creates an adjustment for the row's attached station.
  app::TTableVisees& table = f.Zone().Table();
  int ligne = -1;
  for (int i = 0; i < table.Nombre() && ligne < 0; ++i) {
    const survey::TVisee* v = table.ViseePrincipale(i);
    if (v && v->PtCalc && v->PtCalc->PtRattache) ligne = i;
  }
  ASSERT_GE(ligne, 0);
  f.Zone().SelectionneLigne(ligne);
  auto* menu = f.findChild<QMenu*>("PopupMenuLigne");
  ASSERT_NE(menu, nullptr);
  emit menu->aboutToShow();
  QAction* creer = Action(f, "CreerCompensation");
  ASSERT_TRUE(creer->isVisible());
  const std::string station = table.ViseePrincipale(ligne)->PtCalc->DesignPTopo;
  const int avant = ReseauDe(f)->Compensations.Count();
  ASSERT_GT(ReseauDe(f)->LesPointsSurface()->Count(), 0);
  SurLaFenetreModale([&](QDialog& d) {
    titre = d.windowTitle().toStdString();
    EXPECT_EQ(essai::Enfant<QLabel>(d, "LabelNomPoint")->text().toStdString(), station);
    essai::Clic(d, "OKBtn");
  });
  creer->trigger();
  EXPECT_EQ(titre, "Création d'une compensation");
  EXPECT_EQ(ReseauDe(f)->Compensations.Count(), avant + 1);
  EXPECT_EQ(ReseauDe(f)->Compensations.Last()->PtFin->DesignPTopo, station);
  EXPECT_TRUE(f.windowTitle().endsWith(" *"));

  // The gallery merge on the active cave, with a focused row.
  ASSERT_GE(f.Zone().LigneFocus(), 0);
  ASSERT_TRUE(Action(f, "FusionGaleries")->isEnabled());
  SurLaFenetreModale([&](QDialog& d) {
    titre = d.windowTitle().toStdString();
    essai::Clic(d, "AnnulerBtn");
  });
  Action(f, "FusionGaleries")->trigger();
  EXPECT_EQ(titre, "Restructuration des galeries");
  EXPECT_TRUE(e.Dialogues().Messages().empty());
  survey::Document().DocumentModifie = false;
}

}  // namespace
