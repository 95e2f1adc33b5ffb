// The main window on the survey model's network: caves listed, the table
// filled from a cave, the document saved and read back, a cave deleted.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QTableView>

#include "app/config_generale.h"
#include "app/document_survey.h"
#include "app/fiche_principale.h"
#include "app/zone_visees.h"
#include "app/modele_visees.h"
#include "platform/scripted_dialogs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
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
