// The shot table of the main window on a network of 100,000 shots carrying
// 200,000 splays (and a small second cave): a refill with the splays shown up
// to the first paint, with the memory it takes; scrolling through every row;
// a cave switch there and back, without and with the coordinates shown; one
// deletion from the middle of the large cave.
//
// Runs offscreen (QT_QPA_PLATFORM is set to "offscreen" when unset).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/commun/config_generale.h"
#include "app/document/document_reseau.h"
#include "app/fiche_principale.h"
#include "app/table/colonnes_visees.h"
#include "app/table/table_visees.h"
#include "app/table/zone_visees.h"
#include "platform/scripted_dialogs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/ports_survey.h"
#include "survey/visee.h"

using namespace survey;

namespace {

QApplication& Application() {
  static int argc = 1;
  static char nom[] = "table_bench";
  static char* argv[] = {nom, nullptr};
  // Never destroyed: at exit Qt's own globals are gone before function statics.
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}

// Resident memory in bytes.
double Residente() {
  long pages = 0, residentes = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &residentes) != 2) residentes = 0;
    std::fclose(f);
  }
  return static_cast<double>(residentes) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// A network: the surface, a cave of n shots with two splays each (a main
// gallery with a side station every fifth station and a side gallery every
// hundredth), and a small cave.
class Reseau : public app::DocumentReseau {
 public:
  explicit Reseau(int n) {
    auto surface = std::make_unique<TCavite>();
    surface->NomCavite = "Surface";
    surface->EstSurface = true;
    TGalerie* gs = surface->AjouteGalerie("Points de surface");
    surface->CavitesReseau = &Cavites;
    Cavites.Add(std::move(surface));
    Grande = Cave("Grande", n, Point(gs, "E1"));
    Petite = Cave("Petite", 100, Point(gs, "E2"));
  }
  ~Reseau() override { DetruitCavites(Cavites); }

  std::string Nom() const override { return "Réseau"; }
  void FixeNom(const std::string&) override {}
  std::vector<std::string> NomsCavites() const override {
    std::vector<std::string> r;
    for (const TCavite* c : Cavites) r.push_back(c->NomCavite);
    return r;
  }
  int32_t CaviteActive() const override { return Active; }
  void FixeCaviteActive(int32_t c) override { Active = c; }
  int32_t NombreVisees(int32_t c) const override { return UneCavite(c) ? UneCavite(c)->Visees.Count() : 0; }
  int32_t NombreEntrees(int32_t c) const override { return UneCavite(c) ? UneCavite(c)->ListeEntrees.Count() : 0; }
  int32_t NombrePointsSurface() const override { return 2; }
  bool Lit(foundation::TFlux&) override { return false; }
  bool Ecrit(foundation::TFlux&) override { return false; }
  bool LitConfig(foundation::TFlux&) override { return true; }
  bool EcritConfig(foundation::TFlux&) override { return true; }
  TCavite* UneCavite(int32_t c) const override { return Cavites.UnObjet(c); }
  void CalculeReseau() override {
    for (TCavite* c : Cavites)
      if (!c->EstSurface) c->CalculeTousPoints(true);
  }
  bool SupprimeVisee(TVisee& v) override {
    const auto debut = std::chrono::steady_clock::now();
    TCavite* c = UneCavite(Active);
    c->Visees.Remove(&v);
    c->ReGenereListePoints(false);
    SecondesModele += std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
    return true;
  }
  double SecondesModele = 0;  // spent by the model in deletions

  foundation::TListeFichier<TCavite> Cavites;
  TCavite* Grande = nullptr;
  TCavite* Petite = nullptr;
  int32_t Active = -1;

 private:
  static TPointSpeleo* Point(TGalerie* g, const std::string& nom, int annexe = 0) {
    auto p = std::make_unique<TPointSpeleo>();
    p->DesignPTopo = nom;
    p->Annexe = annexe;
    p->GalduPt = g;
    if (nom[0] == 'E') p->TypePoint = survey::PointSurface;
    return g->Points.Add(std::move(p));
  }

  TCavite* Cave(const std::string& nom, int n, TPointSpeleo* entree) {
    auto c = std::make_unique<TCavite>();
    c->NomCavite = nom;
    c->CavitesReseau = &Cavites;
    TCavite* cav = Cavites.Add(std::move(c));
    TGalerie* principale = cav->AjouteGalerie("Principale");
    TPointSpeleo* avant = entree;
    int k = 0;
    auto visee = [&](TPointSpeleo* a, TPointSpeleo* b, double az) {
      auto v = std::make_unique<TVisee>();
      v->PointStation = a;
      v->PointVise = b;
      v->Az = az;
      v->Long = 4.5;
      v->pente = -10;
      TVisee* vis = cav->Visees.Add(std::move(v));
      for (int h = 0; h < 2; ++h) {
        auto habi = std::make_unique<TViseeHabi>();
        habi->Az = az + 90 + 180 * h;
        habi->Long = 1.5;
        vis->AjouteViseeHabi(std::move(habi));
      }
    };
    while (cav->Visees.Count() < n) {
      ++k;
      TPointSpeleo* p = Point(principale, nom.substr(0, 1) + std::to_string(k));
      visee(avant, p, (k * 7) % 360);
      avant = p;
      if (k % 5 == 0 && cav->Visees.Count() < n) visee(p, Point(principale, nom.substr(0, 1) + std::to_string(k) + "a", 1), 90);
      if (k % 100 == 0 && cav->Visees.Count() < n) {
        TGalerie* laterale = cav->AjouteGalerie("L" + std::to_string(k));
        visee(p, Point(laterale, "L" + std::to_string(k)), 180);
        cav->LaGalerieActive = principale;
      }
    }
    cav->ReGenereListePoints(false);
    cav->AffecteLeversVisees();
    return cav;
  }
};

constexpr int kVisees = 100000;

// The window on the network, the large cave active, splays shown.
struct Fenetre {
  app::GardeConfig config;
  survey::GardeDocument document;
  survey::GardeAffichage affichage;
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs gardeDialogues{dialogues};
  Reseau* reseau = nullptr;
  std::unique_ptr<app::TFichePrincipale> f;
  QTableView* vue = nullptr;

  double ResidenteReseau = 0;  // after the network was built
  double ResidenteTable = 0;   // after the first refill and paint

  Fenetre() {
    Application();
    auto prete = std::make_shared<std::unique_ptr<Reseau>>(std::make_unique<Reseau>(kVisees));
    reseau = prete->get();
    ResidenteReseau = Residente();
    // The large network first, small ones for any later new document.
    auto fabrique = [prete]() -> std::unique_ptr<app::DocumentReseau> {
      if (*prete) return std::move(*prete);
      return std::make_unique<Reseau>(10);
    };
    f = std::make_unique<app::TFichePrincipale>(fabrique, std::vector<std::string>{});
    f->resize(1280, 800);
    f->show();
    f->FormActivate();
    f->NouveauReseau();
    f->Zone().AfficheViseesHab = true;
    reseau->Active = 1;
    f->AfficheListeCavites(true);
    vue = f->findChild<QTableView*>(QStringLiteral("VisuVisees"));
    QApplication::processEvents();
    Peint();
    ResidenteTable = Residente();
  }

  void Peint() {
    QImage image(vue->viewport()->size(), QImage::Format_RGB32);
    vue->viewport()->render(&image);
  }

  void Choisit(const char* nom) {
    auto* b = f->findChild<QComboBox*>(QStringLiteral("CavitesBox"));
    const int i = b->findText(QString::fromLatin1(nom));
    b->setCurrentIndex(i);
    emit b->activated(i);
  }
};

Fenetre& LaFenetre() {
  static Fenetre f;
  return f;
}

void RemplissageJusquAuPremierDessin(benchmark::State& state) {
  Fenetre& w = LaFenetre();
  for (auto _ : state) {
    w.f->Zone().RemplitListeVisees(w.reseau->Grande->Visees.Last());
    w.Peint();
  }
  state.counters["lignes"] = w.f->Zone().Table().Nombre();

}
BENCHMARK(RemplissageJusquAuPremierDessin)->Unit(benchmark::kMillisecond)->Iterations(5);

void MemoireDuRemplissage(benchmark::State& state) {
  // The window with its 300,000 rows, over the network alone (the first
  // refill and paint included), and what the row list itself holds.
  Fenetre& w = LaFenetre();
  for (auto _ : state) benchmark::DoNotOptimize(w.f->Zone().Table().Nombre());
  state.counters["lignes"] = w.f->Zone().Table().Nombre();
  state.counters["Mo_fenetre_et_table"] = (w.ResidenteTable - w.ResidenteReseau) / 1e6;
  state.counters["octets_par_ligne_liste"] =
      static_cast<double>(w.f->Zone().Table().Lignes().capacity() * sizeof(void*)) / w.f->Zone().Table().Nombre();
  state.counters["Mo_reseau"] = w.ResidenteReseau / 1e6;
}
BENCHMARK(MemoireDuRemplissage)->Iterations(1);

void TextesDeToutesLesLignes(benchmark::State& state) {
  // What drawing every row asks of the texts: all 19 texts of each row.
  Fenetre& w = LaFenetre();
  app::TTableVisees& t = w.f->Zone().Table();
  double secondes = 0;
  for (auto _ : state) {
    const auto debut = std::chrono::steady_clock::now();
    t.InvalideTout();
    for (int l = 0; l < t.Nombre(); ++l)
      for (int c = 0; c < app::NombreColonnesVisees; ++c) benchmark::DoNotOptimize(t.Texte(l, c).size());
    secondes += std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
  }
  state.counters["us_par_ligne"] = secondes * 1e6 / static_cast<double>(t.Nombre()) / static_cast<double>(state.iterations());
}
BENCHMARK(TextesDeToutesLesLignes)->Unit(benchmark::kMillisecond)->Iterations(1);

void DefilementDeToutesLesLignes(benchmark::State& state) {
  Fenetre& w = LaFenetre();
  QScrollBar* barre = w.vue->verticalScrollBar();
  int pages = 0;
  double secondes = 0;
  for (auto _ : state) {
    pages = 0;
    const auto debut = std::chrono::steady_clock::now();
    for (int v = 0; v <= barre->maximum(); v += std::max(1, barre->pageStep())) {
      barre->setValue(v);
      w.Peint();
      ++pages;
    }
    secondes = std::chrono::duration<double>(std::chrono::steady_clock::now() - debut).count();
  }
  state.counters["lignes"] = w.f->Zone().Table().Nombre();
  state.counters["pages"] = pages;
  state.counters["ms_par_page"] = secondes * 1e3 / pages;
  state.counters["textes_en_cache"] = static_cast<double>(w.f->Zone().Table().TextesEnCache());
}
BENCHMARK(DefilementDeToutesLesLignes)->Unit(benchmark::kMillisecond)->Iterations(1);

void ChangementDeCavite(benchmark::State& state) {
  Fenetre& w = LaFenetre();
  auto* coord = w.f->findChild<QToolButton*>(QStringLiteral("CoordBtn"));
  if (state.range(0) != coord->isChecked()) coord->click();
  for (auto _ : state) {
    w.Choisit("Petite");
    w.Peint();
    w.Choisit("Grande");
    w.Peint();
  }
  if (coord->isChecked()) coord->click();
  state.SetLabel(state.range(0) ? "coordonnées affichées (aller et retour)" : "aller et retour");
}
BENCHMARK(ChangementDeCavite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

void SuppressionDUneVisee(benchmark::State& state) {
  Fenetre& w = LaFenetre();
  w.Choisit("Grande");
  for (auto _ : state) {
    const int ligne = w.f->Zone().Table().LigneDe(w.reseau->Grande->LaVisee(w.reseau->Grande->Visees.Count() / 2));
    w.f->Zone().SelectionneLigne(ligne);
    w.dialogues.QueueAnswer(platform::Answer::Yes);
    QKeyEvent touche(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(w.vue, &touche);
    w.Peint();
  }
  state.counters["lignes"] = w.f->Zone().Table().Nombre();
  state.counters["ms_modele_par_suppression"] = w.reseau->SecondesModele * 1e3 / static_cast<double>(state.iterations());
  state.SetLabel("la suppression du modèle (régénération) comprise");
}
BENCHMARK(SuppressionDUneVisee)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
