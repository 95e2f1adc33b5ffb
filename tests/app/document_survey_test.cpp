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
#include <QHeaderView>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <cmath>

#include "app/commun/config_generale.h"
#include "app/document/document_survey.h"
#include "app/fiche_principale.h"
#include "app/reseau/choix_fusion_dlg.h"
#include "app/table/modele_visees.h"
#include "app/table/zone_visees.h"
#include "document/composition.h"
#include "drawing/annexe_cavite.h"
#include "drawing/donnees_dessin_basique.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/parties_reseau.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"
#include "tests/app/outils_fenetre.h"
#include "tests/app/saisie_essai.h"
#include "tests/support/dossier_temp.h"
#include "views/motifs/cadre_couleur.h"

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

namespace {

// The cave "Igue" of n shots turning by 30° with a trip of 1° declination,
// its entrance placed in LT 93.
survey::TCavite* CaviteLambert93(survey::TReseau& r, int n) {
  r.Projection = "LT 93";
  r.ChercheParamsProj();
  AjouteCavite(r, "Igue", n);
  survey::TPointSpeleo* entree = r.LesPointsSurface()->Last();
  entree->X = 640000;
  entree->Y = 6350000;
  entree->Z = 1200;
  survey::TCavite* c = r.UneCavite(r.NombreCavites() - 1);
  auto lever = std::make_unique<survey::TLever>();
  lever->UniteDeclin = survey::UniteDeclinDegres;
  lever->Declinaison = 1;
  c->Levers.Add(std::move(lever));
  for (int i = 0; i < c->Visees.Count(); ++i) {
    c->LaVisee(i)->indLever = 0;
    c->LaVisee(i)->Az = 30.0 * i;
    c->LaVisee(i)->Long = 25;
  }
  c->AffecteLeversVisees();
  return c;
}

std::vector<foundation::TPointTopo> Stations(const survey::TCavite& c) {
  std::vector<foundation::TPointTopo> p;
  for (const survey::TPointSpeleo* s : c.ListePoints) p.push_back(s->PtTopo());
  return p;
}

}  // namespace

// "Configuration" with another region while a network in LT 93 is open: the
// network's definition goes back into the new catalogue (the catalogue's
// notice says the region does not list it), so every station keeps its
// coordinates when the network is computed again and no convergence is
// lost; the offset parts in the former watermark colour take the new one.
TEST(DocumentSurvey, ConfigurationAutreRegionGardeLesCoordonnees) {
  Gardes g;
  document::InstalleDocument();
  Services().ChangeListeProjections = [](int32_t region) { projections::ChangeListeProjections(region); };
  TFichePrincipale f(FabriqueSurvey(), {});
  f.NouveauReseau();
  auto* doc = dynamic_cast<TDocumentSurvey*>(f.Gestion().Reseau());
  ASSERT_NE(doc, nullptr);
  survey::TReseau& r = doc->Reseau();
  survey::TCavite* c = CaviteLambert93(r, 5);
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
  ASSERT_NE(annexe, nullptr);
  drawing::TDonneesEcart* ancienne = annexe->LeDessinPlani->ListeEcarts.Add(std::make_unique<drawing::TDonneesEcart>());
  ancienne->CouleurFiligr = Config().CouleurFiligrane;
  drawing::TDonneesEcart* autre = annexe->LeDessinPlani->ListeEcarts.Add(std::make_unique<drawing::TDonneesEcart>());
  autre->CouleurFiligr = 0x123456;
  f.AfficheListeCavites(true);
  f.findChild<QToolButton*>("CoordBtn")->click();
  r.CalculeReseau();
  ASSERT_GT(std::fabs(c->CalculeConvergence()), 0.001) << "a convergence that moves the stations";
  const std::vector<foundation::TPointTopo> avant = Stations(*c);
  survey::Document().DocumentModifie = false;
  g.dialogues.Clear();

  essai::SurLaFenetreModale([](QDialog& d) {
    d.findChild<QComboBox*>("ContinentBox")->setCurrentText("Europe");
    d.findChild<views::TCadreCouleur*>("CouleurFiligr")->FixeCouleur(0x00FF00);
    d.findChild<QPushButton*>("OKBtn")->click();
  });
  f.findChild<QAction*>("Configuration")->trigger();
  EXPECT_EQ(projections::Projections().RegionCourante, 6);
  ASSERT_EQ(g.dialogues.Messages().size(), 1u);
  EXPECT_EQ(g.dialogues.Messages()[0],
            "La projection LT 93 utilisée pour ce réseau ne figure pas dans la liste des projections. Vérifiez que la "
            "liste des projections utilisée est la bonne (menu configuration)");
  EXPECT_EQ(ancienne->CouleurFiligr, 0x00FF00u);
  EXPECT_EQ(autre->CouleurFiligr, 0x123456u);
  EXPECT_TRUE(survey::Document().DocumentModifie);

  r.CalculeReseau();
  EXPECT_EQ(g.dialogues.Messages().size(), 1u) << "the convergence is computed";
  const std::vector<foundation::TPointTopo> apres = Stations(*c);
  ASSERT_EQ(apres.size(), avant.size());
  for (size_t i = 0; i < avant.size(); ++i) {
    EXPECT_NEAR(apres[i].X, avant[i].X, 1e-6) << i;
    EXPECT_NEAR(apres[i].Y, avant[i].Y, 1e-6) << i;
    EXPECT_NEAR(apres[i].Z, avant[i].Z, 1e-6) << i;
  }
  // The table shows them, its columns as they were.
  EXPECT_TRUE(f.findChild<QToolButton*>("CoordBtn")->isChecked());
  f.Gestion().LibereReseau();
}

// More decimals while the coordinates are shown: the rows show them at once.
TEST(DocumentSurvey, ConfigurationDecimalesRafraichitLesCoordonnees) {
  Gardes g;
  TFichePrincipale f(FabriqueSurvey(), {});
  f.NouveauReseau();
  auto* doc = dynamic_cast<TDocumentSurvey*>(f.Gestion().Reseau());
  ASSERT_NE(doc, nullptr);
  CaviteLambert93(doc->Reseau(), 3);
  f.AfficheListeCavites(true);
  f.findChild<QToolButton*>("CoordBtn")->click();
  survey::Affichage().DecimalesCoord = 1;
  f.Zone().InvalideTextesVisees();
  const auto x = [&] { return f.Zone().Modele().data(f.Zone().Modele().index(2, 9)).toString().trimmed(); };
  ASSERT_EQ(x().size() - x().indexOf('.'), 2) << x().toStdString();
  essai::SurLaFenetreModale([](QDialog& d) {
    d.findChild<QSpinBox*>("UDDeci")->setValue(3);
    d.findChild<QPushButton*>("OKBtn")->click();
  });
  f.findChild<QAction*>("Configuration")->trigger();
  EXPECT_EQ(x().size() - x().indexOf('.'), 4) << x().toStdString();
  f.Gestion().LibereReseau();
}

// The table lists the splay shots after opening as it did when the document
// was saved (kept in the companion file); a companion file that does not say
// leaves the table as it is.
TEST(DocumentSurvey, AffichageDesViseesDHabillageGardeAvecLeDocument) {
  Gardes g;
  testsupport::DossierTemp dossier;
  TFichePrincipale f(FabriqueSurvey(), {});
  f.NouveauReseau();
  auto* doc = dynamic_cast<TDocumentSurvey*>(f.Gestion().Reseau());
  ASSERT_NE(doc, nullptr);
  AjouteCavite(doc->Reseau(), "Igue", 3);
  survey::TCavite* c = doc->Reseau().UneCavite(1);
  auto h = std::make_unique<survey::TViseeHabi>();
  h->Long = 1;
  c->LaVisee(1)->AjouteViseeHabi(std::move(h));
  c->ReGenereListePoints(false);
  f.AfficheListeCavites(true);
  auto* entete = f.findChild<QTableView*>("VisuVisees")->horizontalHeader();
  const auto titre = [&] { return f.Zone().Modele().headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(); };
  ASSERT_EQ(titre(), "Point Visé  +");
  emit entete->sectionClicked(1);
  ASSERT_EQ(f.Zone().Table().Nombre(), 4);

  const std::string chemin = dossier.Fichier("igue.cav");
  survey::Document().DocumentModifie = true;
  survey::Document().DemandeNomFichier = true;
  g.dialogues.QueueFile(chemin);
  ASSERT_TRUE(f.EnregistreDocument());
  // As at the next start of the program: the table hides them.
  f.Zone().AfficheViseesHab = false;
  f.OuvreDocument(chemin);
  EXPECT_EQ(titre(), "Point Visé  -");
  EXPECT_EQ(f.Zone().Table().Nombre(), 4);

  // Hidden when saved: hidden after opening.
  emit entete->sectionClicked(1);
  survey::Document().DocumentModifie = true;
  ASSERT_TRUE(f.EnregistreDocument());
  f.Zone().AfficheViseesHab = true;
  f.OuvreDocument(chemin);
  EXPECT_EQ(titre(), "Point Visé  +");
  EXPECT_EQ(f.Zone().Table().Nombre(), 3);

  // Without companion file, as it is.
  ASSERT_TRUE(platform::RemoveFile(platform::ChangeExtension(chemin, ".CFG")));
  f.Zone().AfficheViseesHab = true;
  f.OuvreDocument(chemin);
  EXPECT_EQ(titre(), "Point Visé  -");
  for (const platform::ScriptedDialogs::Shown& m : g.dialogues.Log())
    EXPECT_EQ(m.kind, platform::MessageKind::Information) << m.text;
  f.Gestion().LibereReseau();
}
