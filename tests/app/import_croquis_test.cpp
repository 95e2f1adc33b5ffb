// The PocketTopo sketches reach the program's document through the Open
// dialog: a ".top" file chosen with the PocketTopo filter and an Auriga
// export (".th" with its ".txt") with the Auriga filter give the imported
// cave its sketch.
#include <gtest/gtest.h>

#include <string>

#include "app/application.h"
#include "app/commun/config_generale.h"
#include "app/document/document_survey.h"
#include "app/fiche_principale.h"
#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/ports_dessin.h"
#include "drawing/ports_motifs.h"
#include "formats/import/galeries_import.h"
#include "formats/import/import_autres.h"
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
using testsupport::EcritOctets;
using testsupport::LitOctets;

namespace {

const std::string kFixtures = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/";

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
  testsupport::DossierTemp dossier;

  Environnement() {
    Config() = ConfigGenerale();
    InstalleLiaisonsApplication();
    formats::FenetresImport() = formats::PortsImport();
    formats::Import().DossierMemoireGaleries = dossier.Chemin() + "/";
  }
};

// The sketch of the cave the window imported.
const drawing::TDessinPkTp* CroquisImporte(TFichePrincipale& f) {
  auto* d = dynamic_cast<TDocumentSurvey*>(f.Gestion().Reseau());
  if (!d || d->Reseau().NombreCavites() < 2) return nullptr;
  const drawing::TAnnexeDessinCavite* a = drawing::AnnexeDessin(d->Reseau().UneCavite(d->Reseau().NombreCavites() - 1));
  return a && a->DessinsPkTp.Count() == 1 ? a->DessinsPkTp.First() : nullptr;
}

TEST(ImportCroquis, OuvrirTopEtAuriga) {
  {
    Environnement env;
    TFichePrincipale f(FabriqueSurvey(), {});
    f.show();
    const std::string top = env.dossier.Fichier("test1.top");
    EcritOctets(top, LitOctets(kFixtures + "pockettopo/test1.top"));
    env.document.Dialogues.QueueFile(top, formats::TypeImportPocketTopo);
    Clique(f, "OuvreButton");
    const drawing::TDessinPkTp* d = CroquisImporte(f);
    ASSERT_NE(d, nullptr);
    EXPECT_GT(d->pktpDessinPlani.LesMultiPoints.Count(), 0);
    EXPECT_EQ(d->pktpCoupesPlani.Count(), 2);
    EXPECT_GT(d->pktpDessinAltiOr.LesMultiPoints.Count(), 0);
  }
  {
    Environnement env;
    TFichePrincipale f(FabriqueSurvey(), {});
    f.show();
    const std::string th = env.dossier.Fichier("demo.th");
    EcritOctets(th, LitOctets(kFixtures + "therion/demo.th"));
    EcritOctets(env.dossier.Fichier("Demo.txt"), LitOctets(kFixtures + "pockettopo/Demo.txt"));
    env.document.Dialogues.QueueFile(th, formats::TypeImportAuriga);
    Clique(f, "OuvreButton");
    const drawing::TDessinPkTp* d = CroquisImporte(f);
    ASSERT_NE(d, nullptr);
    EXPECT_GT(d->pktpDessinPlani.LesMultiPoints.Count(), 200);
    EXPECT_GT(d->pktpDessinAltiOr.LesMultiPoints.Count(), 100);
  }
}

}  // namespace
