// The shot entry's add loop on a cave of 100,000 shots, in the real main
// window (offscreen): the time from OK on one shot to the next shot's window
// ready for typing, which decides whether fast notebook entry stalls.  It
// covers the point-list regeneration, the row inserted in the table and the
// next window prepared; the regeneration and the window's preparation are
// also measured alone.  The modal windows are answered by single-shot timers
// (values typed in, then OK), so nothing waits for a user.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/commun/config_generale.h"
#include "app/document/document_survey.h"
#include "app/fiche_principale.h"
#include "app/saisie/saisie_visee_dlg.h"
#include "app/table/zone_visees.h"
#include "platform/contextes.h"
#include "platform/scripted_dialogs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"

namespace {

using Horloge = std::chrono::steady_clock;

QApplication& Application() {
  static int argc = 1;
  static char nom[] = "saisie_visee_bench";
  static char* argv[] = {nom, nullptr};
  // Never destroyed: at exit Qt's own globals are gone before function statics.
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

constexpr int kVisees = 100000;

// The main window on a network whose cave "Igue" has n shots of 2 m in one
// gallery from the surface point "E", its last row selected.
struct Fenetre {
  std::vector<std::shared_ptr<void>> contextes = platform::GardesTousContextes();
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs gardeDialogues{dialogues};
  std::unique_ptr<app::TFichePrincipale> f;
  survey::TCavite* c = nullptr;

  explicit Fenetre(int n) {
    Application();
    app::Config() = app::ConfigGenerale();
    survey::Document() = survey::ContexteDocument();
    app::SaisieVisee() = app::ContexteSaisieVisee();
    app::InstalleDialogueSaisieVisee();
    f = std::make_unique<app::TFichePrincipale>(app::FabriqueSurvey(), std::vector<std::string>{});
    f->NouveauReseau();
    survey::TReseau& r = dynamic_cast<app::TDocumentSurvey*>(f->Gestion().Reseau())->Reseau();
    r.CreeCaviteSurface();
    auto e = std::make_unique<survey::TPointSpeleo>();
    e->TypePoint = survey::PointSurface;
    e->DesignPTopo = "E";
    survey::TPointSpeleo* entree = r.LesPointsSurface()->Add(std::move(e));
    entree->GalduPt = r.UneCavite(0)->UneGalerie(0);
    auto cav = std::make_unique<survey::TCavite>();
    cav->NomCavite = "Igue";
    c = r.AjouteCavite(std::move(cav));
    survey::TGalerie* g = c->AjouteGalerie("");
    survey::TPointSpeleo* avant = entree;
    for (int i = 1; i <= n; ++i) {
      auto p = std::make_unique<survey::TPointSpeleo>();
      p->DesignPTopo = "A" + std::to_string(i);
      p->GalduPt = g;
      survey::TPointSpeleo* s = g->Points.Add(std::move(p));
      auto v = std::make_unique<survey::TVisee>();
      v->PointStation = avant;
      v->PointVise = s;
      v->Long = 2;
      v->Az = (i * 7) % 360;
      c->Visees.Add(std::move(v));
      avant = s;
    }
    c->ReGenereListePoints(false);
    c->AffecteLeversVisees();
    f->AfficheListeCavites(true);
    f->Zone().SelectionneLigne(f->Zone().Table().Nombre() - 1);
  }
  ~Fenetre() {
    f->Gestion().LibereReseau();
    f.reset();
  }
};

Fenetre& LaFenetre() {
  static Fenetre* w = new Fenetre(kVisees);
  return *w;
}

// Answers every shot window that opens: the time since the last OK, then
// values typed and OK, until the given number of shots; then Cancel.
class Boucle {
 public:
  explicit Boucle(int visees) : restantes_(visees) {}
  void Lance() { Attend(); }
  std::vector<double> Durees;  // seconds from OK to the next window ready

 private:
  void Attend() {
    QTimer::singleShot(0, [this] { Etape(); });
  }
  void Etape() {
    QWidget* w = QApplication::activeModalWidget();
    auto* d = qobject_cast<app::TSaisieViseeDlg*>(w);
    if (!d || d->property("repondue").toBool()) {
      Attend();
      return;
    }
    const Horloge::time_point prete = Horloge::now();
    if (ok_) Durees.push_back(std::chrono::duration<double>(prete - *ok_).count());
    d->setProperty("repondue", true);
    if (restantes_-- == 0) {
      d->reject();
      return;
    }
    d->findChild<QLineEdit*>("EditAzimut")->setText(QStringLiteral("123.5"));
    d->findChild<QLineEdit*>("EditPente")->setText(QStringLiteral("-12"));
    d->findChild<QLineEdit*>("EditLongueur")->setText(QStringLiteral("8.42"));
    Attend();
    ok_ = Horloge::now();
    d->findChild<QPushButton*>("OKBtn")->click();
  }
  int restantes_;
  std::optional<Horloge::time_point> ok_;
};

// Ten shots typed in a row; the time of each is from its OK to the next
// window; the counters give the slowest and the mean.
void DeOkALaFenetreSuivante(benchmark::State& state) {
  Fenetre& w = LaFenetre();
  auto* ajout = w.f->findChild<QToolButton*>("AjoutButton");
  std::vector<double> toutes;
  for (auto _ : state) {
    Boucle b(10);
    b.Lance();
    ajout->click();
    double somme = 0;
    for (double d : b.Durees) somme += d;
    state.SetIterationTime(b.Durees.empty() ? 0 : somme / static_cast<double>(b.Durees.size()));
    toutes.insert(toutes.end(), b.Durees.begin(), b.Durees.end());
  }
  state.counters["max_ms"] = toutes.empty() ? 0 : *std::max_element(toutes.begin(), toutes.end()) * 1000;
  state.counters["visees"] = w.c->Visees.Count();
}
BENCHMARK(DeOkALaFenetreSuivante)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The point lists regenerated after a shot is added, alone.
void RegenerationDesPoints(benchmark::State& state) {
  Fenetre& w = LaFenetre();
  for (auto _ : state) w.c->ReGenereListePoints(false);
}
BENCHMARK(RegenerationDesPoints)->Unit(benchmark::kMillisecond)->Iterations(10);

// The next window built and prepared for a shot following the last one.
void PreparationDeLaFenetre(benchmark::State& state) {
  Fenetre& w = LaFenetre();
  survey::TVisee* source = w.c->Visees.Last();
  for (auto _ : state) {
    survey::TVisee v;
    v.PointStation = v.PtOrigCalc = source->PtCalc;
    v.LeLever = source->LeLever;
    app::TSaisieViseeDlg d(*w.c, w.f.get());
    d.Init(v, source);
    benchmark::DoNotOptimize(d.focusWidget());
    v.PointStation = v.PtOrigCalc = nullptr;
  }
}
BENCHMARK(PreparationDeLaFenetre)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
