// The main window on the survey model's network: caves listed, the table
// filled from a cave, the document saved and read back, a cave deleted.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QComboBox>
#include <QTableView>

#include "app/choix_fusion_dlg.h"
#include "app/config_generale.h"
#include "app/document_survey.h"
#include "app/fiche_principale.h"
#include "app/zone_visees.h"
#include "app/modele_visees.h"
#include "platform/scripted_dialogs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/parties_reseau.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"
#include "tests/app/outils_fenetre.h"
#include "tests/support/dossier_temp.h"

using namespace app;
using platform::Answer;
using essai::Gardes;

namespace {

// A cave of n shots from a new surface point.
void AjouteCavite(survey::TReseau& r, const std::string& nom, int n) {
  r.CreeCaviteSurface();
  auto e = std::make_unique<survey::TPointSpeleo>();
  e->TypePoint = survey::PointSurface;
  e->DesignPTopo = "E" + nom;
  survey::TPointSpeleo* entree = r.LesPointsSurface()->Add(std::move(e));
  entree->GalduPt = r.UneCavite(0)->UneGalerie(0);
  auto c = std::make_unique<survey::TCavite>();
  c->NomCavite = nom;
  survey::TCavite* cav = r.AjouteCavite(std::move(c));
  survey::TGalerie* g = cav->AjouteGalerie("");
  survey::TPointSpeleo* avant = entree;
  for (int i = 1; i <= n; ++i) {
    auto p = std::make_unique<survey::TPointSpeleo>();
    p->DesignPTopo = std::to_string(i);
    p->GalduPt = g;
    survey::TPointSpeleo* s = g->Points.Add(std::move(p));
    auto v = std::make_unique<survey::TVisee>();
    v->PointStation = avant;
    v->PointVise = s;
    v->Long = 2;
    cav->Visees.Add(std::move(v));
    avant = s;
  }
  cav->ReGenereListePoints(false);
  cav->AffecteLeversVisees();
}

}  // namespace

TEST(DocumentSurvey, TableSurLeReseauEnregistrementEtSuppressionDeCavite) {
  Gardes g;
  testsupport::DossierTemp dossier;
  TFichePrincipale f(FabriqueSurvey(), {});
  f.NouveauReseau();
  auto* doc = dynamic_cast<TDocumentSurvey*>(f.Gestion().Reseau());
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(survey::Document().ReseauCourant, &doc->Reseau());
  doc->FixeNom("Causse");
  AjouteCavite(doc->Reseau(), "Igue", 4);
  AjouteCavite(doc->Reseau(), "Aven", 7);
  f.AfficheListeCavites(true);
  auto* caves = f.findChild<QComboBox*>("CavitesBox");
  ASSERT_EQ(caves->count(), 2);
  EXPECT_EQ(caves->itemText(0), "Aven");
  EXPECT_EQ(f.Zone().Table().Nombre(), 7);  // the last cave is active
  caves->setCurrentIndex(1);
  emit caves->activated(1);
  EXPECT_EQ(f.Zone().Table().Nombre(), 4);
  EXPECT_EQ(f.Zone().Modele().data(f.Zone().Modele().index(3, 1)).toString().trimmed(), "4");

  // Saved and read back: the same caves and shots.
  survey::Document().DocumentModifie = true;
  survey::Document().DemandeNomFichier = true;
  g.dialogues.QueueFile(dossier.Fichier("causse.cav"));
  ASSERT_TRUE(f.EnregistreDocument());
  f.OuvreDocument(dossier.Fichier("causse.cav"));
  ASSERT_NE(f.Gestion().Reseau(), nullptr);
  EXPECT_EQ(caves->count(), 2);
  EXPECT_GT(f.Zone().Table().Nombre(), 0);

  // Deleting the active cave.
  caves->setCurrentIndex(caves->findText("Aven"));
  emit caves->activated(caves->currentIndex());
  g.dialogues.QueueAnswer(Answer::Yes);
  f.findChild<QAction*>("SuppressionCav")->trigger();
  ASSERT_EQ(caves->count(), 1);
  EXPECT_EQ(caves->itemText(0), "Igue");
  EXPECT_EQ(f.Zone().Table().Nombre(), 4);
  f.findChild<QTableView*>("VisuVisees")->viewport()->grab();
  f.Gestion().LibereReseau();
}

namespace {

void Supprime(QTableView* vue) {
  QKeyEvent e(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(vue, &e);
}

}  // namespace

TEST(DocumentSurvey, SuppressionDUneViseeDansLaTable) {
  Gardes g;
  TFichePrincipale f(FabriqueSurvey(), {});
  f.NouveauReseau();
  auto* doc = dynamic_cast<TDocumentSurvey*>(f.Gestion().Reseau());
  ASSERT_NE(doc, nullptr);
  AjouteCavite(doc->Reseau(), "Igue", 4);
  survey::TCavite* c = doc->Reseau().UneCavite(1);
  // A splay on the shot 1 -> 2, shown in the table.
  auto h = std::make_unique<survey::TViseeHabi>();
  h->Long = 1;
  c->LaVisee(1)->AjouteViseeHabi(std::move(h));
  c->ReGenereListePoints(false);
  f.AfficheListeCavites(true);
  f.Zone().AfficheViseesHab = true;
  f.Zone().RemplitListeVisees(nullptr);
  ASSERT_EQ(f.Zone().Table().Nombre(), 5);
  auto* vue = f.findChild<QTableView*>("VisuVisees");
  // Without the shot-entry dialog nothing offers to add a shot.
  EXPECT_FALSE(f.findChild<QToolButton*>("AjoutButton")->isEnabled());

  // No: the table and the document stay as they were.
  survey::Document().DocumentModifie = false;
  f.Zone().SelectionneLigne(f.Zone().Table().LigneDe(c->LaVisee(1)));
  g.dialogues.QueueAnswer(Answer::No);
  Supprime(vue);
  EXPECT_EQ(g.dialogues.Log().back().text, "Voulez-vous supprimer la visée 1 -> 2");
  EXPECT_EQ(f.Zone().Table().Nombre(), 5);
  EXPECT_EQ(c->Visees.Count(), 4);
  EXPECT_FALSE(survey::Document().DocumentModifie);

  // Yes: the row and its splay go, 1 joins 3 and 2 is no more.
  g.dialogues.QueueAnswer(Answer::Yes);
  Supprime(vue);
  EXPECT_EQ(f.Zone().Table().Nombre(), 3);
  ASSERT_EQ(c->Visees.Count(), 3);
  EXPECT_EQ(c->LaVisee(1)->PtOrigCalc->DesignPTopo, "1");
  EXPECT_EQ(c->LaVisee(1)->PtCalc->DesignPTopo, "3");
  EXPECT_EQ(c->ListePoints.Count(), 3);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  for (int i = 0; i < f.Zone().Table().Nombre(); ++i) EXPECT_EQ(f.Zone().Table().Visee(i), c->LaVisee(i));
  vue->viewport()->grab();
  f.Gestion().LibereReseau();
}

TEST(DocumentSurvey, ChoixDesCavitesAFusionner) {
  Gardes g;
  survey::GardePortsSurvey ports;
  survey::GardeFabriquesReseau fabriques;
  InstalleDialogueChoixFusion();
  survey::InstallePortsReseau();
  TFichePrincipale f(FabriqueSurvey(), {});
  f.NouveauReseau();
  auto* doc = dynamic_cast<TDocumentSurvey*>(f.Gestion().Reseau());
  ASSERT_NE(doc, nullptr);
  survey::TReseau& r = doc->Reseau();
  for (const char* nom : {"A", "B", "C", "D"}) AjouteCavite(r, nom, 3);
  // B, C and D each share a junction with A's last station.
  survey::TPointSpeleo* jonction = r.UneCavite(1)->UneGalerie(0)->Points.Last();
  for (int i = 2; i <= 4; ++i) r.UneCavite(i)->UneGalerie(0)->Points.Last()->PtBoucleAsso = jonction;
  r.LaCaviteActive = r.UneCavite(1);

  // The window: every cave ticked; C unticked before OK.
  QStringList vus;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<TChoixFusionDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), "Choix des cavités à fusionner");
    for (int i = 0; i < dlg->Liste()->count(); ++i) {
      vus << dlg->Liste()->item(i)->text();
      EXPECT_EQ(dlg->Liste()->item(i)->checkState(), Qt::Checked);
    }
    dlg->Liste()->item(1)->setCheckState(Qt::Unchecked);
    dlg->findChild<QPushButton*>("OKBtn")->click();
  });
  ASSERT_TRUE(r.FusionneCavites());
  EXPECT_EQ(vus, (QStringList{"B", "C", "D"}));
  ASSERT_EQ(r.NombreCavites(), 3);
  EXPECT_EQ(r.UneCavite(1)->NomCavite, "A");
  EXPECT_EQ(r.UneCavite(2)->NomCavite, "C");
  EXPECT_EQ(r.UneCavite(1)->Visees.Count(), 9);
  EXPECT_EQ(r.UneCavite(1)->Galeries.Count(), 3);

  // Cancel merges nothing.
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<TChoixFusionDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    dlg->findChild<QPushButton*>("AnnulerBtn")->click();
  });
  TChoixFusionDlg seul({"X", "Y"});
  EXPECT_FALSE(seul.Execute().has_value());
  f.Gestion().LibereReseau();
}

TEST(DocumentSurvey, AjoutEtRectificationParLaFenetreDeSaisie) {
  Gardes g;
  survey::GardePortsSurvey ports;
  int appels = 0;
  survey::Ports().DialogueSaisieVisee = [&](survey::TDemandeSaisieVisee& d) {
    if (d.Rectification) {
      d.Visee->Az = 123;
      return true;
    }
    if (++appels > 1) return false;  // the second window is cancelled
    d.Visee->Long = 4;
    auto* p = new survey::TPointSpeleo();
    p->DesignPTopo = "5";
    d.Visee->PointVise = p;
    return true;
  };
  TFichePrincipale f(FabriqueSurvey(), {});
  f.NouveauReseau();
  auto* doc = dynamic_cast<TDocumentSurvey*>(f.Gestion().Reseau());
  ASSERT_NE(doc, nullptr);
  AjouteCavite(doc->Reseau(), "Igue", 4);
  survey::TCavite* c = doc->Reseau().UneCavite(1);
  f.AfficheListeCavites(true);
  ASSERT_EQ(f.Zone().Table().Nombre(), 4);
  f.Zone().SelectionneLigne(3);
  auto* ajout = f.findChild<QToolButton*>("AjoutButton");
  ASSERT_TRUE(ajout->isEnabled());
  ajout->click();
  EXPECT_EQ(appels, 2);
  ASSERT_EQ(c->Visees.Count(), 5);
  EXPECT_EQ(f.Zone().Table().Nombre(), 5);
  EXPECT_EQ(c->LaVisee(4)->PtOrigCalc->DesignPTopo, "4");
  EXPECT_EQ(c->LaVisee(4)->PtCalc->DesignPTopo, "5");
  EXPECT_EQ(f.Zone().Table().Visee(4), c->LaVisee(4));

  // A double click corrects the shot through the same window.
  auto* vue = f.findChild<QTableView*>("VisuVisees");
  f.Zone().SelectionneLigne(2);
  emit vue->doubleClicked(f.Zone().Modele().index(2, 0));
  EXPECT_EQ(c->LaVisee(2)->Az, 123);
  EXPECT_EQ(f.Zone().Modele().data(f.Zone().Modele().index(2, 2)).toString().trimmed().toStdString(), "123.0 °");
  f.Gestion().LibereReseau();
}
