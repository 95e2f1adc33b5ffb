// Calibrated background maps: LZW TIFF grids of 25 and 100 Mpixels (and 400
// Mpixels, 20,000 x 20,000, when GRAVELUNE_BENCH_GRAND=1) loaded and
// calibrated at 0 and 37 degrees, then painted once at fit-to-window (which
// makes the reduced copies): time, the decoded copy and the peak resident
// size over the load (counters in MB).  And the paint of the 100-Mpixel map
// into a 1600 x 1000 window at fit-to-window and at 1:1, opaque and at
// opacity 128: a first paint (a rectangle not rendered before) and a repaint
// of the same rectangle (from the kept tile).
//
// The TIFF files are written once by tests/platform/qt/images_raster.py
// (Pillow) into the system's temporary folder.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "drawing/contexte_dessin.h"
#include "editor/image_notes.h"
#include "foundation/arrondi.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_raster.h"
#include "platform/scripted_dialogs.h"
#include "platform/wait_windows.h"

namespace {

using foundation::TPoint;

void Application() {
  static int argc = 1;
  static char nom[] = "raster_bench";
  static char* argv[] = {nom, nullptr};
  [[maybe_unused]] static QGuiApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
  }();
}

// The grid TIFF of that side, written on first need; empty when Pillow is missing.
std::string Grille(int cote) {
  const std::string chemin =
      (std::filesystem::temp_directory_path() / ("gravelune_grille_" + std::to_string(cote) + ".tif")).string();
  if (std::filesystem::exists(chemin)) return chemin;
  const std::string commande = std::string("/usr/bin/python3 ") + GRAVELUNE_SOURCE_DIR +
                               "/tests/platform/qt/images_raster.py " + chemin + " " + std::to_string(cote);
  return std::system(commande.c_str()) == 0 ? chemin : std::string();
}

int64_t ValeurStatus(const char* cle) {
  std::ifstream f("/proc/self/status");
  std::string ligne;
  while (std::getline(f, ligne))
    if (ligne.rfind(cle, 0) == 0) return std::stoll(ligne.substr(std::string(cle).size())) * 1024;
  return -1;
}

void RemetPic() {
  std::ofstream f("/proc/self/clear_refs");
  f << "5";
}

// The ports and the view of one run.
struct Environnement {
  Environnement() {
    Application();
    foundation::Vue().Xmin = 0;
    foundation::Vue().Ymin = 0;
    drawing::Affichage().ToutDessiner = true;
  }
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde{dialogues};
  platform::ScriptedWaitWindows attente;
  platform::ScopedWaitWindows gardeAttente{attente};
  platform::QtRasterLoader chargeur;
  platform::ScopedRasterLoader gardeChargeur{chargeur};
  foundation::GardeTransfo transfo;
  drawing::GardeAffichage affichage;
};

// A map of that side calibrated at the angle: its corners' diagonal tied to
// two ground points, 1 m per pixel.
std::unique_ptr<editor::TImageNotes> Carte(const std::string& fichier, int cote, double angle) {
  auto im = std::make_unique<editor::TImageNotes>();
  im->NomImage = fichier;
  im->PointsImage = {TPoint{0, 0}, TPoint{cote, cote}};
  const double a = (45 + angle) * M_PI / 180, l = cote * std::sqrt(2.0);
  im->PointsTerrain = {foundation::PtTopoXY(1000, 1000),
                       foundation::PtTopoXY(1000 + l * std::sin(a), 1000 + l * std::cos(a))};
  return im;
}

// The view on the map's centre at that scale (pixels per metre).
void Vue(const editor::TImageNotes& im, double echelle, int largeur, int hauteur) {
  foundation::ContexteVue& v = foundation::Vue();
  v.EchelleVue = echelle;
  const double cx = (im.PointsTerrain[0].X + im.PointsTerrain[1].X) / 2;
  const double cy = (im.PointsTerrain[0].Y + im.PointsTerrain[1].Y) / 2;
  v.XDebVue = foundation::Arrondi(cx - largeur / 2.0 / echelle);
  v.YDebVue = foundation::Arrondi(cy + hauteur / 2.0 / echelle);
}

void ChargeEtCale(benchmark::State& state) {
  const int cote = static_cast<int>(state.range(0));
  const double angle = static_cast<double>(state.range(1));
  if (cote > 10000 && std::getenv("GRAVELUNE_BENCH_GRAND") == nullptr) {
    state.SkipWithError("400 Mpixels: set GRAVELUNE_BENCH_GRAND=1");
    return;
  }
  const std::string fichier = Grille(cote);
  if (fichier.empty()) {
    state.SkipWithError("Pillow (python3-pil) is missing");
    return;
  }
  Environnement env;
  double pic = 0, copie = 0;
  for (auto _ : state) {
    RemetPic();
    const int64_t avant = ValeurStatus("VmRSS:");
    auto im = Carte(fichier, cote, angle);
    if (!im->ChargeImage()) {
      state.SkipWithError("load failed");
      return;
    }
    platform::QtCanvas c(1600, 1000);
    Vue(*im, 1000.0 / (cote * 1.42), 1600, 1000);
    im->DessineObjet(c);
    pic = static_cast<double>(ValeurStatus("VmHWM:") - avant) / (1 << 20);
    copie = static_cast<double>(dynamic_cast<const platform::QtRaster&>(*im->EspaceImage).Decoded().sizeInBytes()) /
            (1 << 20);
  }
  state.counters["copie_Mo"] = copie;
  state.counters["pic_Mo"] = pic;
}
BENCHMARK(ChargeEtCale)
    ->ArgsProduct({{5000, 10000, 20000}, {0, 37}})
    ->ArgNames({"cote", "angle"})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Paint of the 100-Mpixel map at 37 degrees: range 0 is the zoom (0
// fit-to-window, 1 one image pixel per device pixel), range 1 the opacity,
// range 2 a repaint of the same rectangle (1) or a new rectangle (0).
void Peint(benchmark::State& state) {
  constexpr int cote = 10000;
  const std::string fichier = Grille(cote);
  if (fichier.empty()) {
    state.SkipWithError("Pillow (python3-pil) is missing");
    return;
  }
  Environnement env;
  auto im = Carte(fichier, cote, 37);
  if (!im->ChargeImage()) {
    state.SkipWithError("load failed");
    return;
  }
  im->Opacite = static_cast<uint8_t>(state.range(1));
  const double echelle = state.range(0) == 0 ? 1000.0 / (cote * 1.42) : 1.0;
  Vue(*im, echelle, 1600, 1000);
  platform::QtCanvas c(1600, 1000);
  im->DessineObjet(c);  // reduced copies made, first tile kept
  const bool repeint = state.range(2) == 1;
  // A shift of the view by at least two pixels gives another rectangle.
  const int32_t pas = static_cast<int32_t>(std::ceil(2 / echelle));
  int decalage = 0;
  for (auto _ : state) {
    if (!repeint) foundation::Vue().XDebVue += (++decalage % 2) ? pas : -pas;
    im->DessineObjet(c);
  }
}
BENCHMARK(Peint)
    ->ArgsProduct({{0, 1}, {255, 128}, {0, 1}})
    ->ArgNames({"zoom1", "opacite", "cache"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
