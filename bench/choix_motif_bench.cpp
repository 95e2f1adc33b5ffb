// The pattern chooser opened on a 1,000-pattern list (line styles, fonts):
// the time from the window's preparation to its first paint.  Previews are
// made for the visible cells only; the counter says how many.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <memory>

#include "drawing/fonte.h"
#include "drawing/objet_trait.h"
#include "platform/qt/qt_canvas.h"
#include "views/motifs/choix_motif_dlg.h"

namespace {

struct Installation {
  Installation() : usine(fabrique) {
    static int argc = 1;
    static char nom[] = "choix_motif_bench";
    static char* argv[] = {nom, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (QApplication::instance() == nullptr) app = std::make_unique<QApplication>(argc, argv);
  }
  std::unique_ptr<QApplication> app;
  platform::QtCanvasFactory fabrique;
  platform::ScopedCanvasFactory usine;
};

// 1,000 line styles in ten categories, or 1,000 fonts in one.
std::unique_ptr<drawing::TListeMotifsBase> Liste(bool fontes) {
  std::unique_ptr<drawing::TListeMotifsBase> l;
  if (fontes)
    l = std::make_unique<drawing::TListeFontes>();
  else
    l = std::make_unique<drawing::TListeMotifs>(foundation::ClasseDe<drawing::TObjetTrait>(),
                                                drawing::TTypeMotif::tmTrait);
  for (int i = 0; i < 1000; ++i) {
    auto m = l->CreeMotif();
    m->DesignMotif = "motif " + std::to_string(i);
    if (auto* t = dynamic_cast<drawing::TObjetTrait*>(m.get())) {
      t->CouleurPlume = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
      t->StylePlume = static_cast<drawing::MesPenStyle>(i % drawing::NombreMesPenStyle);
      t->EpaisseurPlume = 1 + i % 5;
    }
    l->AjouteMotif(std::move(m));
  }
  if (!fontes)
    for (int c = 0; c < 10; ++c) {
      drawing::TCategorieMotifs* cat = l->AjouteCategorie("catégorie " + std::to_string(c));
      for (int i = c * 100; i < c * 100 + 100; ++i) l->UnObjet(i)->UneCategorie = cat;
    }
  l->SetMotifSelecte(l->UnObjet(fontes ? 0 : 550));
  return l;
}

void BM_OuvertureChoixMotif(benchmark::State& state) {
  static Installation installation;
  const auto liste = Liste(state.range(0) != 0);
  int apercus = 0;
  for (auto _ : state) {
    views::TChoixMotifDlg d;
    d.InitChoixMotif(*liste);
    d.show();
    const QPixmap image = d.grab();
    benchmark::DoNotOptimize(image);
    apercus = d.GrilleMotifs->NombreApercus();
  }
  state.counters["apercus"] = apercus;
}
BENCHMARK(BM_OuvertureChoixMotif)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
