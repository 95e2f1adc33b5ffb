// Calibration of images: finding a moved file, loading through the raster
// loaders, the turn and scale from two point pairs, failures, the active map
// of the network; conversion of the ground points of every background when
// the coordinate system changes (PROJ's cs2cs as oracle when installed).
#include <gtest/gtest.h>

#include <cmath>

#include "drawing/ports_motifs.h"
#include "editor/config.h"
#include "editor/ports_editeur.h"
#include "editor/reprojection.h"
#include "foundation/transformation_vue.h"
#include "platform/files.h"
#include "platform/raster.h"
#include "platform/text_log_canvas.h"
#include "platform/scripted_dialogs.h"
#include "platform/wait_windows.h"
#include "projections/contexte_projections.h"
#include "tests/projections/oracle_proj.h"
#include "tests/support/dossier_temp.h"

using namespace editor;
using foundation::TPoint;
using foundation::TPointTopo;

namespace {

// The scripted raster port: every file that exists is a blank W x H image;
// the turned load is the bounding box of the turned image.
class Chargeurs {
 public:
  Chargeurs(int32_t W, int32_t H) {
    Raster.AnyExistingFile = platform::RasterHeader{W, H, 24};
    Ports().DossierDeTravail = [this] { return Dossier; };
  }
  // No file can be read.
  void Refuse() { Raster.AnyExistingFile.reset(); }

  platform::ScriptedRasterLoader Raster;
  std::string Dossier;

 private:
  platform::ScopedRasterLoader gardeRaster_{Raster};
  GardePortsEditeur garde_;
};

// Counts the document-modified signals.
class Modifications {
 public:
  Modifications() {
    drawing::Ports().DocumentModifie = [this] { ++Nombre; };
  }
  int Nombre = 0;

 private:
  drawing::GardePortsMotifs garde_;
};

// A plan view whose drawing origin is the ground origin.
class VuePlan {
 public:
  VuePlan() {
    foundation::Vue().Xmin = 0;
    foundation::Vue().Ymin = 0;
  }

 private:
  foundation::GardeTransfo transfo_;
  foundation::GardeTypeDessin type_{foundation::TTypeDeDessin::tddPlani};
};

TPointTopo Terrain(double x, double y) { return foundation::PtTopoXY(x, y); }

// An image of 100 x 100 pixels whose bottom edge runs from ground (0, 0) to
// (0, 10) m: north is along the image's X axis.
std::unique_ptr<TImageNotes> ImageQuartDeTour(const std::string& nom) {
  auto im = std::make_unique<TImageNotes>();
  im->NomImage = nom;
  im->PointsImage = {TPoint{0, 0}, TPoint{100, 0}};
  im->PointsTerrain = {Terrain(0, 0), Terrain(0, 10)};
  return im;
}

class Environnement : public ::testing::Test {
 protected:
  void SetUp() override {
    fichier = dossier.Fichier("scan.jpg");
    testsupport::EcritOctets(fichier, "x");
  }
  testsupport::DossierTemp dossier;
  std::string fichier;
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde{dialogues};
  platform::ScriptedWaitWindows attente;
  platform::ScopedWaitWindows gardeAttente{attente};
  VuePlan vue;
  Modifications modifs;
};

}  // namespace

using CalageImage = Environnement;

TEST_F(CalageImage, QuartDeTour) {
  Chargeurs c(100, 100);
  auto im = ImageQuartDeTour(fichier);
  ASSERT_TRUE(im->ChargeImage());
  EXPECT_TRUE(im->FicheChargee);
  // The image is turned a quarter counter-clockwise.
  ASSERT_EQ(c.Raster.Angles.size(), 1u);
  EXPECT_NEAR(c.Raster.Angles[0], -90, 1e-9);
  EXPECT_EQ(im->EspaceImage.get(), c.Raster.LastTurned);
  // (100, 100) and (100, 0) Y downward in the turned bitmap, then flipped.
  EXPECT_EQ(im->PointsImageRot[0], (TPoint{100, 0}));
  EXPECT_EQ(im->PointsImageRot[1], (TPoint{100, 100}));
  EXPECT_NEAR(static_cast<double>(im->CoeffEchelleNotes), 100, 1e-9);  // 10 m over 100 pixels
  // Pixel (100, 100) of the turned bitmap is the second ground point.
  EXPECT_NEAR(im->PointsPlan[0].X + 100 * (im->PointsImageRot[1].X - im->PointsImageRot[0].X), 0, 1e-9);
  EXPECT_NEAR(im->PointsPlan[0].Y + 100 * (im->PointsImageRot[1].Y - im->PointsImageRot[0].Y), 10000, 1e-9);
  // The two calibration marks, at the turned points (Y downward).
  EXPECT_EQ(c.Raster.LastTurned->Marks, (std::vector<platform::Point>{{100, 100}, {100, 0}}));
  EXPECT_TRUE(dialogues.Log().empty());
  EXPECT_EQ(modifs.Nombre, 0);
  // The wait window was shown and closed.
  EXPECT_TRUE(attente.Stack.empty());
  ASSERT_EQ(attente.Log.size(), 2u);
  EXPECT_EQ(attente.Log[0], "+Chargement et calage en cours du fichier " + fichier);
  // A drawing point back to the unturned image.
  EXPECT_EQ(im->PointLocToImage(TPoint{0, 10000}), (TPoint{100, 0}));
  EXPECT_EQ(im->PointLocToImage(TPoint{0, 5000}), (TPoint{50, 0}));
}

TEST_F(CalageImage, SansRotation) {
  Chargeurs c(200, 100);
  TImageNotes im;
  im.NomImage = fichier;
  im.PointsImage = {TPoint{0, 0}, TPoint{200, 0}};
  im.PointsTerrain = {Terrain(100, 50), Terrain(120, 50)};
  foundation::Vue().Xmin = 100;
  foundation::Vue().Ymin = 50;
  ASSERT_TRUE(im.ChargeImage());
  EXPECT_NEAR(c.Raster.Angles[0], 0, 1e-9);
  EXPECT_EQ(im.PointsImageRot[0], (TPoint{0, 0}));
  EXPECT_EQ(im.PointsImageRot[1], (TPoint{200, 0}));
  EXPECT_NEAR(static_cast<double>(im.CoeffEchelleNotes), 100, 1e-9);
}

TEST_F(CalageImage, CalageImpossible) {
  Chargeurs c(100, 100);
  struct Cas {
    const char* quoi;
    TPoint i0, i1;
    TPointTopo t0, t1;
  };
  const Cas cas[] = {
      {"same pixel", {10, 10}, {10, 10}, Terrain(0, 0), Terrain(10, 0)},
      {"same ground point", {0, 0}, {100, 0}, Terrain(5, 5), Terrain(5, 5)},
  };
  for (const Cas& k : cas) {
    dialogues.Clear();
    TImageNotes im;
    im.NomImage = fichier;
    im.PointsImage = {k.i0, k.i1};
    im.PointsTerrain = {k.t0, k.t1};
    EXPECT_FALSE(im.ChargeImage()) << k.quoi;
    EXPECT_FALSE(im.FicheChargee);
    EXPECT_EQ(im.EspaceImage, nullptr);
    EXPECT_EQ(dialogues.Messages(), std::vector<std::string>{"impossible de calculer le calage; chargement abandonné"})
        << k.quoi;
    EXPECT_EQ(im.PointLocToImage(TPoint{0, 0}), std::nullopt);
  }
}

TEST_F(CalageImage, FichierRetrouveSansQuestion) {
  Chargeurs c(100, 100);
  // In the working folder of the file dialogs: that folder's path is kept.
  c.Dossier = dossier.Chemin() + "/";
  auto im = ImageQuartDeTour("C:\\Cartes\\scan.jpg");
  ASSERT_TRUE(im->ChargeImage());
  EXPECT_EQ(im->NomImage, dossier.Chemin() + "/scan.jpg");
  // In the current folder: the bare name is kept.
  const std::string avant = platform::CurrentFolder();
  ASSERT_TRUE(platform::SetCurrentFolder(dossier.Chemin()));
  c.Dossier.clear();
  auto im2 = ImageQuartDeTour("/ailleurs/scan.jpg");
  const bool charge = im2->ChargeImage();
  platform::SetCurrentFolder(avant);
  ASSERT_TRUE(charge);
  EXPECT_EQ(im2->NomImage, "scan.jpg");
  EXPECT_TRUE(dialogues.Log().empty());
  EXPECT_EQ(modifs.Nombre, 0);
}

TEST_F(CalageImage, FichierDeplaceRecherche) {
  Chargeurs c(100, 100);
  const std::string perdu = dossier.Fichier("perdu.jpg");
  // Yes, a cancelled dialog, Yes again, then a file.
  dialogues.QueueAnswer(platform::Answer::Yes);
  dialogues.QueueFile(std::nullopt);
  dialogues.QueueAnswer(platform::Answer::Yes);
  dialogues.QueueFile(fichier);
  auto im = ImageQuartDeTour(perdu);
  ASSERT_TRUE(im->ChargeImage());
  EXPECT_EQ(im->NomImage, fichier);
  EXPECT_EQ(modifs.Nombre, 1);  // the new path is to be saved
  ASSERT_EQ(dialogues.Log().size(), 4u);
  EXPECT_EQ(dialogues.Log()[0].text, "le fichier " + perdu + " n'existe plus ou a été déplacé. Voulez-vous le rechercher ?");
  EXPECT_NE(dialogues.Log()[1].options.Filter.find("fichiers png (*.png)|*.png"), std::string::npos);

  // No gives up without a message.
  dialogues.Clear();
  dialogues.QueueAnswer(platform::Answer::No);
  auto im2 = ImageQuartDeTour(perdu);
  EXPECT_FALSE(im2->ChargeImage());
  EXPECT_TRUE(dialogues.Messages().empty());
  EXPECT_EQ(dialogues.Log().size(), 1u);
  EXPECT_EQ(modifs.Nombre, 1);
}

TEST_F(CalageImage, FichierIllisible) {
  Chargeurs c(100, 100);
  c.Refuse();
  auto im = ImageQuartDeTour(fichier);
  EXPECT_FALSE(im->ChargeImage());
  EXPECT_EQ(dialogues.Messages(), std::vector<std::string>{"Impossible de charger le fichier " + fichier});
  EXPECT_TRUE(c.Raster.Angles.empty());
}

TEST_F(CalageImage, CalageDeNumerisation) {
  Chargeurs c(100, 100);
  // A digitising calibration that could not be computed (a station out of
  // the network, for one): the image is not calibrated and not loaded.
  TCalageImage nonCale;
  nonCale.NomImage = fichier;
  TImageNotes im;
  EXPECT_FALSE(im.ChargeImageDigit(nonCale));
  EXPECT_FALSE(im.FicheChargee);
  EXPECT_TRUE(c.Raster.Loads.empty());

  TCalageImage cale;
  cale.Calcule = true;
  cale.NomImage = fichier;
  cale.Point1 = {0, 0};
  cale.Point2 = {100, 0};
  cale.Valeur1 = Terrain(0, 0);       // drawing units
  cale.Valeur2 = Terrain(0, 10000);
  ASSERT_TRUE(im.ChargeImageDigit(cale));
  EXPECT_DOUBLE_EQ(im.PointsTerrain[1].Y, 10);
  EXPECT_NEAR(c.Raster.Angles[0], -90, 1e-9);

  // A raster calibration gives ground values.
  TCalageImage carte = cale;
  carte.Valeur2 = Terrain(0, 10);
  TImageNotes im2;
  ASSERT_TRUE(im2.ChargeCarte(carte));
  EXPECT_DOUBLE_EQ(im2.PointsPlan[1].Y, 10000);
}

TEST_F(CalageImage, CarteActiveDuReseau) {
  Chargeurs c(100, 100);
  GardeCartes gc;
  TListeNotes cartes;
  Cartes().CartesReseau = &cartes;
  cartes.Add(ImageQuartDeTour(fichier));
  cartes.Add(ImageQuartDeTour(fichier));
  ASSERT_TRUE(cartes.ActiveCarte(0));
  EXPECT_TRUE(cartes.UneNote(0)->FicheChargee);
  EXPECT_EQ(Cartes().NumCarteActive, 0);
  ASSERT_TRUE(cartes.ActiveCarte(1));
  EXPECT_FALSE(cartes.UneNote(0)->FicheChargee);  // released
  EXPECT_TRUE(cartes.UneNote(1)->FicheChargee);
  EXPECT_EQ(cartes.NoteActive, 1);
  EXPECT_EQ(Cartes().NumCarteActive, 1);
  ASSERT_TRUE(cartes.ActiveCarte(-1));
  EXPECT_EQ(c.Raster.Angles.size(), 2u);  // already loaded: not loaded again

  // A drawing's own images do not move the network's active map.
  TListeNotes annexes;
  annexes.Add(ImageQuartDeTour(fichier));
  ASSERT_TRUE(annexes.ActiveCarte(0));
  EXPECT_EQ(Cartes().NumCarteActive, 1);
}

// --- Change of coordinate system ---------------------------------------------------

namespace {

class Reprojection : public ::testing::Test {
 protected:
  projections::GardeProjections catalogue;  // France: "LT 93", "UTM"
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde{dialogues};
};

std::unique_ptr<TImageNotes> ImageEn(double x, double y, const char* nom) {
  auto im = std::make_unique<TImageNotes>();
  im->NomImage = nom;
  im->PointsTerrain = {Terrain(x, y), Terrain(x + 1000, y + 500)};
  im->PointsTerrain[0].Z = 321;
  return im;
}

}  // namespace

TEST_F(Reprojection, ImagesEtDessinsSVGDesAnnexes) {
  TConfig c;
  c.ListeNotes.Add(ImageEn(700000, 6600000, "a.jpg"));
  c.ListeNotes.Add(ImageEn(650000, 6300000, "b.jpg"));
  auto d = std::make_unique<TDessinSVG>();
  d->PointsTerrainCalage = {Terrain(720000, 6500000), Terrain(720100, 6500100)};
  d->PointsDessinCalage = {Terrain(1, 2), Terrain(3, 4)};
  c.ListeSVG.push_back(std::move(d));

  c.ChangeProjectionConfig("LT 93", 0, "UTM", 31);
  EXPECT_TRUE(dialogues.Messages().empty());
  const TImageNotes& a = *c.ListeNotes.UneNote(0);
  EXPECT_NEAR(a.PointsTerrain[0].X, 500000, 1000);  // 3° E is the centre of zone 31
  EXPECT_EQ(a.PointsTerrain[0].Z, 321);             // altitudes untouched
  EXPECT_EQ(c.ListeSVG[0]->PointsDessinCalage[1].X, 3);  // SVG points untouched

  // Converted once: back again gives the start.
  TConfig retour;
  retour.ListeNotes.Add(ImageEn(0, 0, "x"));
  retour.ListeNotes.UneNote(0)->PointsTerrain = a.PointsTerrain;
  retour.ChangeProjectionConfig("UTM", 31, "LT 93", 0);
  EXPECT_NEAR(retour.ListeNotes.UneNote(0)->PointsTerrain[0].X, 700000, 1e-3);
  EXPECT_NEAR(retour.ListeNotes.UneNote(0)->PointsTerrain[1].Y, 6600500, 1e-3);

  const auto attendu =
      oracle::Cs2cs("+proj=lcc +lat_0=46.5 +lon_0=3 +lat_1=49 +lat_2=44 +x_0=700000 +y_0=6600000 +ellps=GRS80 "
                    "+towgs84=0,0,0",
                    "+proj=utm +zone=31 +ellps=WGS84 +towgs84=0,0,0",
                    {{700000, 6600000}, {651000, 6300500}, {720100, 6500100}});
  if (attendu) {
    oracle::AnnonceOracle("cs2cs");
    EXPECT_NEAR(a.PointsTerrain[0].X, (*attendu)[0][0], 0.01);
    EXPECT_NEAR(a.PointsTerrain[0].Y, (*attendu)[0][1], 0.01);
    EXPECT_NEAR(c.ListeNotes.UneNote(1)->PointsTerrain[1].X, (*attendu)[1][0], 0.01);
    EXPECT_NEAR(c.ListeSVG[0]->PointsTerrainCalage[1].Y, (*attendu)[2][1], 0.01);
  }
}

TEST_F(Reprojection, EchecLaisseLesPointsEtSignaleUneFois) {
  TConfig c;
  c.ListeNotes.Add(ImageEn(700000, 6600000, "a.jpg"));
  c.ListeNotes.Add(ImageEn(650000, 6300000, "b.jpg"));
  auto d = std::make_unique<TDessinSVG>();
  d->NomFichierSVG = "plan.svg";
  d->PointsTerrainCalage = {Terrain(720000, 6500000), Terrain(720100, 6500100)};
  c.ListeSVG.push_back(std::move(d));

  c.ChangeProjectionConfig("LT 93", 0, "Inconnu", 0);
  EXPECT_EQ(c.ListeNotes.UneNote(0)->PointsTerrain[0].X, 700000);
  EXPECT_EQ(c.ListeNotes.UneNote(1)->PointsTerrain[1].Y, 6300500);
  EXPECT_EQ(c.ListeSVG[0]->PointsTerrainCalage[0].X, 720000);
  ASSERT_EQ(dialogues.Messages().size(), 1u);
  const std::string m = dialogues.Messages()[0];
  for (const char* nom : {"a.jpg", "b.jpg", "plan.svg"}) EXPECT_NE(m.find(nom), std::string::npos) << nom;

  // Several lists converted under one bilan: one message for the whole change.
  dialogues.Clear();
  TListeNotes cartes;
  cartes.Add(ImageEn(1, 2, "carte.jpg"));
  TBilanReprojection bilan;
  cartes.ChangeProjection("Inconnu", 0, 0, "LT 93", &bilan);
  c.ChangeProjectionConfig("Inconnu", 0, "LT 93", 0, &bilan);
  EXPECT_TRUE(dialogues.Messages().empty());
  bilan.Signale();
  EXPECT_EQ(dialogues.Messages().size(), 1u);
  EXPECT_EQ(cartes.UneNote(0)->PointsTerrain[0].X, 1);

  // Same system: nothing to do, nothing said.
  dialogues.Clear();
  c.ChangeProjectionConfig("Inconnu", 3, "Inconnu", 3);
  EXPECT_TRUE(dialogues.Messages().empty());
}
