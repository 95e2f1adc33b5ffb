// Calibrated images read through the Qt raster port and painted as drawing
// objects: two crosses tied to two ground points land where the view
// transform (and, on a printed page, the printer conversions) put those
// points; files that cannot be read or held change nothing; degenerate
// calibrations draw nothing; a big LZW TIFF is held in one decoded copy.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "drawing/contexte_dessin.h"
#include "drawing/ports_motifs.h"
#include "editor/image_notes.h"
#include "editor/ports_editeur.h"
#include "foundation/arrondi.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_raster.h"
#include "platform/scripted_dialogs.h"
#include "platform/wait_windows.h"
#include "tests/support/dossier_temp.h"
#include "views/ports_vues.h"

using namespace editor;
using foundation::TPoint;
using foundation::TPointTopo;

namespace {

constexpr int32_t kW = 2000, kH = 1500;
// The two crosses, pixels from the top left.
constexpr int32_t kCx0 = 500, kCy0 = 1100, kCx1 = 1500, kCy1 = 400;

// A white picture with two black crosses (arms of 60 pixels, 11 thick) and
// a grey frame, saved as PNG.
void EcritCroix(const std::string& chemin) {
  QImage im(kW, kH, QImage::Format_RGB32);
  im.fill(Qt::white);
  QPainter p(&im);
  p.fillRect(0, 0, kW, 20, QColor(200, 200, 200));
  for (const auto& [x, y] : {std::pair{kCx0, kCy0}, std::pair{kCx1, kCy1}}) {
    p.fillRect(x - 60, y - 5, 121, 11, Qt::black);
    p.fillRect(x - 5, y - 60, 11, 121, Qt::black);
  }
  p.end();
  ASSERT_TRUE(im.save(QString::fromStdString(chemin), "PNG"));
}

TPointTopo Terrain(double x, double y) { return foundation::PtTopoXY(x, y); }

// The centre of the dark pixels of the canvas within r pixels of (x, y).
std::optional<std::pair<double, double>> CentreSombre(const platform::QtCanvas& c, int32_t x, int32_t y, int r) {
  double sx = 0, sy = 0;
  int n = 0;
  for (int j = std::max(0, y - r); j < std::min(c.Height(), y + r); ++j)
    for (int i = std::max(0, x - r); i < std::min(c.Width(), x + r); ++i) {
      const platform::Colour p = c.Pixel(i, j);
      if (platform::RedOf(p) < 100 && platform::GreenOf(p) < 100 && platform::BlueOf(p) < 100) {
        sx += i;
        sy += j;
        ++n;
      }
    }
  if (n == 0) return std::nullopt;
  return std::pair{sx / n, sy / n};
}

class DessinImage : public ::testing::Test {
 protected:
  void SetUp() override {
    drawing::Ports().DocumentModifie = [this] { ++modifications; };
    foundation::Vue().Xmin = 900;
    foundation::Vue().Ymin = 1900;
    fichier = dossier.Fichier("croix.png");
    EcritCroix(fichier);
  }

  // Two crosses 100 m apart at an azimuth of 30 degrees.
  std::unique_ptr<TImageNotes> Image(const std::string& nom) {
    auto im = std::make_unique<TImageNotes>();
    im->NomImage = nom;
    im->PointsImage = {TPoint{kCx0, kH - kCy0}, TPoint{kCx1, kH - kCy1}};
    im->PointsTerrain = {P0, P1};
    return im;
  }

  const TPointTopo P0 = Terrain(1000, 2000);
  const TPointTopo P1 = Terrain(1000 + 100 * std::sin(M_PI / 6), 2000 + 100 * std::cos(M_PI / 6));
  testsupport::DossierTemp dossier;
  std::string fichier;
  int modifications = 0;
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde{dialogues};
  platform::ScriptedWaitWindows attente;
  platform::ScopedWaitWindows gardeAttente{attente};
  platform::QtRasterLoader chargeur;
  platform::ScopedRasterLoader gardeChargeur{chargeur};
  foundation::GardeTransfo transfo;
  foundation::GardeTypeDessin type{foundation::TTypeDeDessin::tddPlani};
  drawing::GardePortsMotifs gardeMotifs;
  drawing::GardeAffichage affichage;
  GardePortsEditeur gardePorts;
  foundation::GardeImpression impression;
};

}  // namespace

TEST_F(DessinImage, CroixSurLeursPointsATroisZooms) {
  auto im = Image(fichier);
  ASSERT_TRUE(im->ChargeImage()) << (dialogues.Messages().empty() ? "" : dialogues.Messages()[0]);
  EXPECT_EQ(im->CodeAffichage, drawing::TypeObjetDessin::odNotes);
  drawing::Affichage().ToutDessiner = true;
  for (const double E : {2.0, 5.0, 11.0}) {
    SCOPED_TRACE(E);
    // The view centred on the middle of the two points.
    foundation::ContexteVue& v = foundation::Vue();
    v.EchelleVue = E;
    v.XDebVue = foundation::Arrondi((P0.X + P1.X) / 2 - v.Xmin - 600 / E);
    v.YDebVue = foundation::Arrondi((P0.Y + P1.Y) / 2 - v.Ymin + 650 / E);
    platform::QtCanvas c(1200, 1300);
    im->DessineObjet(c);
    for (const TPointTopo& P : {P0, P1}) {
      const TPoint e = foundation::PtTopoVersEcran(P);
      const auto centre = CentreSombre(c, e.X, e.Y, 80);
      ASSERT_TRUE(centre.has_value()) << e.X << "," << e.Y;
      EXPECT_NEAR(centre->first, e.X, 1);
      EXPECT_NEAR(centre->second, e.Y, 1);
    }
    EXPECT_EQ(im->CorrectX, foundation::PtTopoVersEcran(P0).X);
  }
  // The envelope is the visible rectangle: always visible.
  drawing::Affichage().RectVisibleDessin = {10, 500, 300, 20};
  im->CalculeEnveloppe();
  EXPECT_EQ(im->EnvelRect, drawing::Affichage().RectVisibleDessin);
}

TEST_F(DessinImage, CroixSurLaPageImprimee) {
  auto im = Image(fichier);
  ASSERT_TRUE(im->ChargeImage());
  drawing::Affichage().ToutDessiner = true;
  foundation::ContexteImpression& imp = foundation::Impression();
  imp.EnImpression = true;
  imp.EchellePrn = 1000;
  imp.CoeffPrn = foundation::PointsParMetre(300);
  imp.BandeEnTetePrn = 0.01;
  imp.DecalXPrn = 12;
  const double dpm = imp.CoeffPrn / imp.EchellePrn;  // dots per ground metre
  imp.OriginePagePrn = Terrain((P0.X + P1.X) / 2 - 700 / dpm, (P0.Y + P1.Y) / 2 + 600 / dpm);
  platform::QtCanvas page(1400, 1400);
  im->DessineObjet(page);
  const foundation::TParamsImprimante params = imp.ParamsImprimante();
  for (const TPointTopo& P : {P0, P1}) {
    const int32_t x = foundation::XVersImprimante(P.X - imp.OriginePagePrn.X, params);
    const int32_t y = foundation::YVersImprimante(imp.OriginePagePrn.Y - P.Y, params);
    const auto centre = CentreSombre(page, x, y, 80);
    ASSERT_TRUE(centre.has_value()) << x << "," << y;
    EXPECT_NEAR(centre->first, x, 1);
    EXPECT_NEAR(centre->second, y, 1);
  }
}

TEST_F(DessinImage, RienDessineSansEchelleUtilisable) {
  auto im = Image(fichier);
  ASSERT_TRUE(im->ChargeImage());
  foundation::ContexteVue& v = foundation::Vue();
  v.EchelleVue = 5;
  v.XDebVue = 0;
  v.YDebVue = 200;
  const auto vierge = [](const platform::QtCanvas& c) {
    for (int y = 0; y < c.Height(); y += 3)
      for (int x = 0; x < c.Width(); x += 3)
        if (c.Pixel(x, y) != platform::kBlack) return false;
    return true;
  };
  const auto peint = [&] {
    platform::QtCanvas c(600, 500);
    c.Brush.Color = platform::kBlack;
    c.FillRect({0, 0, 600, 500});
    im->DessineCetObjet(c);
    return c;
  };
  EXPECT_FALSE(vierge(peint()));  // drawn as it is

  struct Cas {
    const char* quoi;
    std::function<void(TImageNotes&)> change;
  };
  const Cas cas[] = {
      {"scale 0", [](TImageNotes& i) { i.CoeffEchelleNotes = 0; }},
      {"negative scale", [](TImageNotes& i) { i.CoeffEchelleNotes = -3; }},
      {"scale not a number", [](TImageNotes& i) { i.CoeffEchelleNotes = std::nan(""); }},
      {"infinite scale", [](TImageNotes& i) { i.CoeffEchelleNotes = INFINITY; }},
      {"same ground points", [](TImageNotes& i) { i.PointsTerrain[1] = i.PointsTerrain[0]; }},
      {"under one device pixel", [](TImageNotes&) { foundation::Vue().EchelleVue = 1e-3; }},
      {"not loaded", [](TImageNotes& i) { i.FicheChargee = false; }},
  };
  for (const Cas& k : cas) {
    auto copie = Image(fichier);
    ASSERT_TRUE(copie->ChargeImage());
    std::swap(im, copie);
    foundation::Vue().EchelleVue = 5;
    k.change(*im);
    EXPECT_TRUE(vierge(peint())) << k.quoi;
  }
}

TEST_F(DessinImage, FichiersIllisiblesNeChangentRien) {
  TListeNotes cartes;
  cartes.Add(Image(fichier));
  ASSERT_TRUE(cartes.ActiveCarte(0));
  // Unreadable files, each as the second map of the list.
  const std::string png = testsupport::LitOctets(fichier);
  testsupport::EcritOctets(dossier.Fichier("tronque.png"), png.substr(0, png.size() / 3));
  testsupport::EcritOctets(dossier.Fichier("texte.tif"), "ceci n'est pas une image\n");
  testsupport::EcritOctets(dossier.Fichier("vide.png"), "");
  struct Cas {
    const char* nom;
    const char* message;  // start of the one message
  };
  // A PNG whose header announces 100,000 x 100,000 pixels (Pillow's script).
  const std::string commande = std::string("/usr/bin/python3 ") + GRAVELUNE_SOURCE_DIR +
                               "/tests/platform/qt/images_raster.py " + dossier.Chemin() + " >/dev/null 2>&1";
  const bool enorme = std::system(commande.c_str()) == 0;
  const Cas cas[] = {
      {"texte.tif", "Impossible de charger le fichier "},
      {"vide.png", "Impossible de charger le fichier "},
      {"tronque.png", "File not readable: "},
      {"enorme.png", "Le fichier est trop important pour pouvoir être calé"},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    if (std::string(k.nom) == "enorme.png" && !enorme) continue;
    dialogues.Clear();
    cartes.Add(Image(dossier.Fichier(k.nom)));
    EXPECT_FALSE(cartes.ActiveCarte(1));
    ASSERT_EQ(dialogues.Messages().size(), 1u);
    EXPECT_EQ(dialogues.Messages()[0].rfind(k.message, 0), 0u) << dialogues.Messages()[0];
    if (std::string(k.message).rfind("Impossible", 0) == 0)
      EXPECT_EQ(dialogues.Messages()[0], k.message + dossier.Fichier(k.nom));
    EXPECT_EQ(cartes.Count(), 2);
    EXPECT_EQ(cartes.NoteActive, 0);
    EXPECT_TRUE(cartes.UneNote(0)->FicheChargee);
    EXPECT_FALSE(cartes.UneNote(1)->FicheChargee);
    EXPECT_EQ(cartes.UneNote(1)->EspaceImage, nullptr);
    EXPECT_EQ(modifications, 0);
    cartes.Supprime(cartes.UneNote(1));
  }

  // Two calibration pixels on one spot: the image is unloaded.
  dialogues.Clear();
  auto meme = Image(fichier);
  meme->PointsImage[1] = meme->PointsImage[0];
  EXPECT_FALSE(meme->ChargeImage());
  EXPECT_EQ(dialogues.Messages(), std::vector<std::string>{"impossible de calculer le calage; chargement abandonné"});
  EXPECT_EQ(meme->EspaceImage, nullptr);
}

TEST_F(DessinImage, CarteActiveVueParLesVues) {
  GardeCartes gc;
  views::GardePortsVues gv;
  InstalleCarteDesVues();
  TListeNotes cartes;
  Cartes().CartesReseau = &cartes;
  cartes.Add(Image(fichier));
  EXPECT_EQ(views::CarteReseauActive(), nullptr);  // none active
  ASSERT_TRUE(cartes.ActiveCarte(0));
  EXPECT_EQ(views::CarteReseauActive(), nullptr);  // hidden
  Cartes().AfficheCarte = true;
  drawing::TObjetDessin* carte = views::CarteReseauActive();
  ASSERT_EQ(carte, cartes.UneNote(0));
  EXPECT_TRUE(carte->EstValidable());
  cartes.UneNote(0)->Libere();
  EXPECT_EQ(views::CarteReseauActive(), nullptr);
}

namespace {

int64_t ValeurStatus(const char* cle) {
  std::ifstream f("/proc/self/status");
  std::string ligne;
  while (std::getline(f, ligne))
    if (ligne.rfind(cle, 0) == 0) return std::stoll(ligne.substr(std::string(cle).size())) * 1024;
  return -1;
}

// Resets the process's peak resident size to its current size.
bool RemetPic() {
  std::ofstream f("/proc/self/clear_refs");
  f << "5";
  return static_cast<bool>(f.flush());
}

}  // namespace

TEST_F(DessinImage, GrandeTiffLZWEnUneSeuleCopie) {
  const std::string tiff = dossier.Fichier("grille.tif");
  const std::string commande = std::string("/usr/bin/python3 ") + GRAVELUNE_SOURCE_DIR +
                               "/tests/platform/qt/images_raster.py " + tiff + " 8000 >/dev/null 2>&1";
  if (std::system(commande.c_str()) != 0) GTEST_SKIP() << "Pillow (python3-pil) is missing";
  auto im = std::make_unique<TImageNotes>();
  im->NomImage = tiff;
  im->PointsImage = {TPoint{1000, 1000}, TPoint{7000, 7000}};
  // 37 degrees from the image's diagonal.
  const double a = (45 + 37) * M_PI / 180, l = 6000 * std::sqrt(2.0);
  im->PointsTerrain = {P0, Terrain(P0.X + l * std::sin(a), P0.Y + l * std::cos(a))};
  drawing::Affichage().ToutDessiner = true;

  if (!RemetPic()) GTEST_SKIP() << "the peak resident size cannot be reset here";
  const int64_t avant = ValeurStatus("VmRSS:");
  ASSERT_TRUE(im->ChargeImage()) << (dialogues.Messages().empty() ? "" : dialogues.Messages()[0]);
  const auto& raster = dynamic_cast<const platform::QtRaster&>(*im->EspaceImage);
  const int64_t copie = raster.Decoded().sizeInBytes();
  EXPECT_EQ(raster.Decoded().width(), 8000);

  // Fit to a 1000 x 800 window.
  foundation::ContexteVue& v = foundation::Vue();
  const double cote = raster.Width() * static_cast<double>(im->CoeffEchelleNotes) / 1000;  // metres
  v.EchelleVue = 800 / cote;
  v.XDebVue = foundation::Arrondi(P0.X - v.Xmin - 500 / v.EchelleVue);
  v.YDebVue = foundation::Arrondi(P0.Y - v.Ymin + 400 / v.EchelleVue);
  platform::QtCanvas c(1000, 800);
  im->DessineObjet(c);
  const int64_t pic = ValeurStatus("VmHWM:") - avant;
  std::cout << "decoded copy " << (copie >> 20) << " MB, peak " << (pic >> 20) << " MB, format "
            << raster.Decoded().format() << ", reductions " << raster.ReductionCount() << "\n";
  EXPECT_LT(pic, copie * 3 / 2);
  // The grid was painted (faint lines at this zoom).
  int noirs = 0;
  for (int y = 0; y < 800; y += 2)
    for (int x = 0; x < 1000; x += 2) noirs += platform::RedOf(c.Pixel(x, y)) < 250;
  EXPECT_GT(noirs, 1000);
}
