// The survey-trip dialogs on large documents, time to show: the trip choice
// on 5,000 trips, the trip dialog (operator and instrument choices filled,
// a trip with 20 operators shown for correction) on 10,000 operators and
// 1,000 instruments.
//
// Runs offscreen (QT_QPA_PLATFORM is set to "offscreen" when unset).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <random>
#include <string>

#include "app/saisie/choix_lever_dlg.h"
#include "app/saisie/levers_dlg.h"
#include "foundation/dates.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "survey/lever.h"
#include "survey/listes_document.h"

using namespace survey;

namespace {

QApplication& Application() {
  static int argc = 1;
  static char nom[] = "levers_bench";
  static char* argv[] = {nom, nullptr};
  // Never destroyed: at exit Qt's own globals are gone before function statics.
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

struct DocumentEssai {
  TListeOperateurs operateurs;
  TListeInstruments instruments;
  TLeversList levers;
  GardeListesDocument garde;
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs gardeDialogues{dialogues};

  DocumentEssai(int nbOperateurs, int nbInstruments, int nbLevers) {
    std::mt19937 g(7);
    for (int i = 0; i < nbOperateurs; ++i) {
      auto o = std::make_unique<TOperateur>();
      o->DesignOpe = "Spéléo " + std::to_string(g() % 1000000);
      operateurs.Add(std::move(o));
    }
    const TTypeInst types[] = {TTypeInst::tiDist, TTypeInst::tiAzim, TTypeInst::tiPente, TTypeInst::tiIndet};
    for (int i = 0; i < nbInstruments; ++i) {
      auto t = std::make_unique<TInstrument>();
      t->DesignInstr = "Instrument " + std::to_string(g() % 100000);
      t->TypeInstr = types[i % 4];
      instruments.Add(std::move(t));
    }
    for (int i = 0; i < nbLevers; ++i) {
      auto l = std::make_unique<TLever>();
      foundation::TDateTime d = 0;
      foundation::EncodeDate(1950 + static_cast<int>(g() % 70), 1 + static_cast<int>(g() % 12),
                             1 + static_cast<int>(g() % 28), d);
      l->LaDate = i % 50 == 0 ? foundation::DateNonRenseignee : d;
      for (int k = 0; k < 3 && operateurs.Count() > 0; ++k)
        l->Operateurs.push_back(
            operateurs.UnOperateur(static_cast<int>(g() % static_cast<unsigned>(operateurs.Count()))));
      levers.Add(std::move(l));
    }
    ListesDocument() = {&operateurs, &instruments};
  }
};

void ChoixDUnLever(benchmark::State& state) {
  Application();
  DocumentEssai doc(200, 10, 5000);
  GardeDocument garde;
  survey::Document().LeverCourant = doc.levers.UnLever(2500);
  for (auto _ : state) {
    app::TChoixLeverDlg d;
    d.InitDlg(doc.levers);
    d.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(d.LeverChoisi());
  }
}
BENCHMARK(ChoixDUnLever)->Unit(benchmark::kMillisecond)->Iterations(5);

void DialogueDeLever(benchmark::State& state) {
  Application();
  DocumentEssai doc(10000, 1000, 1);
  TLever* lever = doc.levers.First();
  for (int k = 0; k < 20; ++k) lever->Operateurs.push_back(doc.operateurs.UnOperateur(k * 400));
  lever->InstrumentL = doc.instruments.UnInstrument(0);
  for (auto _ : state) {
    app::TLeversDlg d(nullptr, app::UsageLever::Rectification);
    d.Init(*lever);
    d.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(d.DeclinTmp);
  }
}
BENCHMARK(DialogueDeLever)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
