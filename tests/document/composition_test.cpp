// The composition of the document: a document with drawings, page layouts
// and background maps, written here through document/composition.h, goes
// through cavtool (the same wiring, whatever the build) byte for byte.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "document/composition.h"
#include "drawing/annexe_cavite.h"
#include "editor/image_notes.h"
#include "foundation/flux.h"
#include "platform/files.h"
#include "projections/contexte_projections.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/fichier_reseau.h"
#include "survey/reseau.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/environnement_document.h"
#include "views/mise_en_page.h"
#include "views/page_semis.h"

namespace {

using testsupport::DossierTemp;
using testsupport::EcritOctets;
using testsupport::LitOctets;

// cavtool: GRAVELUNE_CAVTOOL when set (another build's, e.g. without the
// GUI), else the one built beside the test binaries.
std::string CheminCavtool() {
  if (const char* autre = std::getenv("GRAVELUNE_CAVTOOL")) return autre;
  char tampon[4096];
  const ssize_t n = ::readlink("/proc/self/exe", tampon, sizeof tampon - 1);
  if (n <= 0) return {};
  const std::string dossierTests = platform::FolderOf(std::string(tampon, static_cast<size_t>(n)));
  return platform::FolderOf(dossierTests.substr(0, dossierTests.size() - 1)) + "bin/cavtool";
}

std::string Guillemets(const std::string& s) {
  std::string r = "'";
  for (char c : s) r += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return r + "'";
}

int AllerRetour(const std::string& entree, const std::string& sortie, const std::string& erreurs) {
  const std::string commande = Guillemets(CheminCavtool()) + " roundtrip " + Guillemets(entree) + " " +
                               Guillemets(sortie) + " 2>" + Guillemets(erreurs);
  const int etat = std::system(commande.c_str());
  return WIFEXITED(etat) ? WEXITSTATUS(etat) : -1;
}

// Opened as cavtool and the program do: the companion file, then the
// active cave.
std::unique_ptr<survey::TReseau> Ouvre(const std::string& chemin) {
  auto r = survey::OuvreReseau(chemin);
  if (!r) return r;
  survey::Document().NomFichierCourant = chemin;
  r->LitFichierConfig();
  survey::TListeCavites liste;
  r->AfficheListeCavites(liste, false);
  return r;
}

bool Enregistre(survey::TReseau& r, const std::string& chemin) {
  foundation::TFluxMemoire flux;
  if (!r.Ecrit(flux) || !platform::WriteFileAtomic(chemin, flux.Octets())) return false;
  survey::Document().NomFichierCourant = chemin;
  return r.EcritFichierConfig();
}

bool ADesDessins(const survey::TReseau& r) {
  for (const survey::TCavite* c : r.Cavites)
    if (dynamic_cast<const drawing::TAnnexeDessinCavite*>(c->Annexe.get())) return true;
  return false;
}

TEST(Composition, DocumentCompletAllerRetourParCavtool) {
  if (!platform::FileExists(CheminCavtool())) GTEST_SKIP() << "cavtool absent: " << CheminCavtool();
  testsurvey::EnvironnementDocument env;
  projections::GardeProjections catalogue;
  DossierTemp d;
  const std::string source = std::string(GRAVELUNE_SOURCE_DIR) + "/tests/app/fixtures/reseau_dessins_511";
  EcritOctets(d.Fichier("dessins.cav"), LitOctets(source + ".cav"));
  EcritOctets(d.Fichier("dessins.CFG"), LitOctets(source + ".CFG"));

  // The network with its cave drawing, given a plan page layout of two
  // pages and a background map.
  {
    auto r = Ouvre(d.Fichier("dessins.cav"));
    ASSERT_TRUE(r);
    ASSERT_TRUE(ADesDessins(*r));
    views::TListeMisesEnPage* plans = views::MisesEnPage().ListesMisesEnPage[0];
    editor::TListeNotes* cartes = editor::Cartes().CartesReseau;
    ASSERT_TRUE(plans);
    ASSERT_TRUE(cartes);
    auto mep = std::make_unique<views::TMiseEnPage>();
    mep->Design = "Plan au 1/1000";
    mep->Echelle = 1000;
    mep->ListeCavites.push_back(1);
    for (int i = 0; i < 2; ++i) {
      auto page = std::make_unique<views::TPageSemis>();
      page->PointHautReel.X = 700000 + 500 * i;
      page->PointHautReel.Y = 6600000;
      page->PointBasReel.X = 700400 + 500 * i;
      page->PointBasReel.Y = 6599700;
      mep->ListePages.Add(std::move(page));
    }
    plans->Add(std::move(mep));
    auto carte = std::make_unique<editor::TImageNotes>();
    carte->NomImage = "carte IGN.jpg";
    carte->PointsImage[1].X = 2000;
    carte->PointsImage[1].Y = 1500;
    carte->PointsTerrain[0].X = 700000;
    carte->PointsTerrain[0].Y = 6600000;
    carte->PointsTerrain[1].X = 701000;
    carte->PointsTerrain[1].Y = 6599000;
    carte->Opacite = 128;
    cartes->Add(std::move(carte));
    cartes->NoteActive = 0;
    ASSERT_TRUE(Enregistre(*r, d.Fichier("complet.cav")));
  }

  // cavtool reads and writes it back unchanged, twice.
  const std::string erreurs = d.Fichier("erreurs.txt");
  ASSERT_EQ(AllerRetour(d.Fichier("complet.cav"), d.Fichier("w1.cav"), erreurs), 0) << LitOctets(erreurs);
  EXPECT_EQ(LitOctets(erreurs), "");
  ASSERT_EQ(AllerRetour(d.Fichier("w1.cav"), d.Fichier("w2.cav"), erreurs), 0) << LitOctets(erreurs);
  const std::string complet = LitOctets(d.Fichier("complet.cav"));
  EXPECT_TRUE(LitOctets(d.Fichier("w1.cav")) == complet);
  EXPECT_TRUE(LitOctets(d.Fichier("w2.cav")) == complet);
  const std::string config = LitOctets(d.Fichier("complet.CFG"));
  EXPECT_TRUE(LitOctets(d.Fichier("w1.CFG")) == config);
  EXPECT_TRUE(LitOctets(d.Fichier("w2.CFG")) == config);

  // What cavtool wrote holds the drawing, the layout and the map.
  auto lu = Ouvre(d.Fichier("w2.cav"));
  ASSERT_TRUE(lu);
  EXPECT_TRUE(ADesDessins(*lu));
  ASSERT_EQ(views::MisesEnPage().ListesMisesEnPage[0]->Count(), 1);
  EXPECT_EQ(views::MisesEnPage().ListesMisesEnPage[0]->UnObjet(0)->Design, "Plan au 1/1000");
  EXPECT_EQ(views::MisesEnPage().ListesMisesEnPage[0]->UnObjet(0)->ListePages.Count(), 2);
  ASSERT_EQ(editor::Cartes().CartesReseau->Count(), 1);
  EXPECT_EQ(editor::Cartes().CartesReseau->UneNote(0)->NomImage, "carte IGN.jpg");
  EXPECT_TRUE(env.Dialogues.Messages().empty());
}

}  // namespace
