// The gallery-merge window, the deletion confirmation and the computation
// report, driven offscreen through their controls: marks toggled by mouse
// presses (not by a press that expands or collapses), struck-out items, the
// merge leaving every computed station where it was, the two lists of the
// confirmation and its "Non", the report lines in the memo.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <unistd.h>

#include <array>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "app/reseau/effacer_galerie_dlg.h"
#include "app/reseau/result_calcul_dlg.h"
#include "app/reseau/structure_galeries_dlg.h"
#include "survey/compens.h"
#include "survey/fichier_reseau.h"
#include "survey/galerie.h"
#include "survey/ports_survey.h"
#include "survey/rapport_calcul.h"
#include "tests/app/saisie_essai.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/environnement_document.h"
#include "tests/survey/reseau_calcul.h"

namespace {

using app::TStructureGaleriesDlg;
using essai::SurLaFenetreModale;
using survey::TCavite;
using survey::TGalerie;

// The composition of the document installed, when asked, before the network
// is built (its caves then carry their drawings and can be saved).
struct Composition {
  explicit Composition(bool installee) {
    if (installee) env = std::make_unique<testsurvey::EnvironnementDocument>();
  }
  std::unique_ptr<testsurvey::EnvironnementDocument> env;
};

// A loop-free cave: the entrance gallery E1-1-2-3-4, "Branche A" hanging
// from station 2 (A1, A2, A3), "Branche B" hanging from A1 (B1, B2), and
// "Branche C" hanging from station 3 (C1).
struct Ramifiee {
  Composition composition;
  essai::Saisie s;
  testsurvey::ReseauCalcul n;
  TCavite* c = nullptr;
  explicit Ramifiee(bool document = false) : composition(document) {
    n.Surface("E1", 1000, 2000, 500);
    c = n.Cavite("Grotte");
    n.Visee(c, "E1", "1", 10, -20, 12);
    n.Visee(c, "1", "2", 40, 5, 8.5);
    n.Visee(c, "2", "3", 95, -2, 15);
    n.Visee(c, "3", "4", 120, 0, 6);
    Galerie("Branche A");
    n.Visee(c, "2", "A1", 300, 10, 7);
    n.Visee(c, "A1", "A2", 280, -15, 9);
    n.Visee(c, "A2", "A3", 260, 0, 4.25);
    Galerie("Branche B");
    n.Visee(c, "A1", "B1", 200, 30, 5);
    n.Visee(c, "B1", "B2", 180, 0, 5);
    Galerie("Branche C");
    n.Visee(c, "3", "C1", 0, -45, 3);
    n.Regenere();
  }
  void Galerie(const std::string& nom) { c->LaGalerieActive = c->AjouteGalerie(nom); }
  TGalerie* Gal(const std::string& nom) const {
    for (TGalerie* g : c->Galeries)
      if (g->NomGalerie == nom) return g;
    return nullptr;
  }
  // Every computed station of the cave by name.
  std::map<std::string, std::array<double, 3>> Coordonnees() {
    n.R().CalculeReseau();
    std::map<std::string, std::array<double, 3>> r;
    for (const TGalerie* g : c->Galeries)
      for (const survey::TPointSpeleo* p : g->Points) r[p->DesignPTopo] = {p->X, p->Y, p->Z};
    return r;
  }
};

QTreeWidgetItem* Noeud(QTreeWidget* t, const QString& texte) {
  const auto l = t->findItems(texte, Qt::MatchExactly | Qt::MatchRecursive);
  EXPECT_EQ(l.size(), 1) << texte.toStdString();
  return l.isEmpty() ? nullptr : l.front();
}

void Presse(QTreeWidget* t, const QPoint& p) {
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent e(type, QPointF(p), t->viewport()->mapToGlobal(QPointF(p)), Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(t->viewport(), &e);
  }
}

// A press on the item's name.
void PresseNoeud(QTreeWidget* t, QTreeWidgetItem* n) { Presse(t, t->visualItemRect(n).center()); }
// A press on the item's expand sign.
void PresseSigne(QTreeWidget* t, QTreeWidgetItem* n) {
  const QRect r = t->visualItemRect(n);
  Presse(t, QPoint(r.left() - t->indentation() / 2, r.center().y()));
}

TEST(StructureGaleriesDlg, MarquesEtFusion) {
  Ramifiee k;
  const auto avant = k.Coordonnees();
  ASSERT_EQ(avant.size(), 10u);
  ASSERT_EQ(k.c->Galeries.Count(), 4);
  // A mark left from elsewhere is cleared at opening.
  k.Gal("Branche C")->AFusionner = true;
  TStructureGaleriesDlg d(*k.c);
  d.show();
  QApplication::processEvents();
  QTreeWidget* t = d.ArbreGaleries;
  EXPECT_EQ(d.windowTitle(), "Restructuration des galeries");
  EXPECT_EQ(d.LabelAide->text(),
            "Cliquez sur une galerie pour la fusionner / défusionner : les galeries barrées seront fusionnées avec "
            "leur galerie mère");
  EXPECT_FALSE(k.Gal("Branche C")->AFusionner);
  ASSERT_EQ(t->topLevelItemCount(), 1);
  EXPECT_EQ(t->topLevelItem(0)->text(0), "Grotte");
  // Fully expanded, the first gallery selected.
  for (QTreeWidgetItemIterator it(t); *it; ++it) EXPECT_TRUE((*it)->childCount() == 0 || (*it)->isExpanded());
  QTreeWidgetItem* entree = Noeud(t, "Galerie d'entrée");
  QTreeWidgetItem* a = Noeud(t, "Branche A");
  QTreeWidgetItem* b = Noeud(t, "Branche B");
  ASSERT_TRUE(entree && a && b);
  EXPECT_EQ(t->currentItem(), entree);
  EXPECT_EQ(b->parent(), a);

  // The first gallery cannot be marked; the cave's node does nothing.
  PresseNoeud(t, entree);
  EXPECT_EQ(k.s.dialogues.Messages(),
            std::vector<std::string>{"Cette galerie n'a pas de galerie mère. Elle ne peut pas être fusionnée"});
  PresseNoeud(t, t->topLevelItem(0));
  EXPECT_EQ(k.s.dialogues.Messages().size(), 1u);
  for (const TGalerie* g : k.c->Galeries) EXPECT_FALSE(g->AFusionner) << g->NomGalerie;

  // A press marks and strikes out, another unmarks.
  PresseNoeud(t, b);
  EXPECT_TRUE(k.Gal("Branche B")->AFusionner);
  EXPECT_TRUE(b->font(0).strikeOut());
  PresseNoeud(t, b);
  EXPECT_FALSE(k.Gal("Branche B")->AFusionner);
  EXPECT_FALSE(b->font(0).strikeOut());

  // Collapsing and expanding a branch by its sign marks nothing; the next
  // press on the name does.
  PresseSigne(t, a);
  EXPECT_FALSE(a->isExpanded());
  PresseSigne(t, a);
  EXPECT_TRUE(a->isExpanded());
  EXPECT_FALSE(k.Gal("Branche A")->AFusionner);
  PresseNoeud(t, b);
  PresseNoeud(t, a);
  EXPECT_TRUE(k.Gal("Branche A")->AFusionner);
  EXPECT_TRUE(k.Gal("Branche B")->AFusionner);
  EXPECT_FALSE(entree->font(0).strikeOut());

  // OK: Branche B into Branche A, Branche A into the entrance gallery; every
  // station computed where it was.
  d.OKBtn->click();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  ASSERT_EQ(k.c->Galeries.Count(), 2);
  EXPECT_EQ(k.Gal("Branche A"), nullptr);
  EXPECT_EQ(k.Gal("Branche B"), nullptr);
  ASSERT_NE(k.Gal("Galerie d'entrée"), nullptr);
  for (const char* s : {"A1", "A3", "B2"}) EXPECT_EQ(k.n.Station(k.c, s)->GalduPt, k.Gal("Galerie d'entrée")) << s;
  const auto apres = k.Coordonnees();
  ASSERT_EQ(apres.size(), avant.size());
  for (const auto& [nom, p] : avant)
    for (size_t i = 0; i < 3; ++i) EXPECT_NEAR(apres.at(nom)[i], p[i], 1e-9) << nom << " " << i;
}

// cavtool beside the test binary: build/bin/cavtool.
std::string CheminCavtool() {
  char tampon[4096];
  const ssize_t n = ::readlink("/proc/self/exe", tampon, sizeof tampon - 1);
  if (n <= 0) return {};
  std::string exe(tampon, static_cast<size_t>(n));
  exe = exe.substr(0, exe.rfind('/'));
  return exe.substr(0, exe.rfind('/')) + "/bin/cavtool";
}

// "cavtool compute" of a document: its lines "cave;station;x;y;z", sorted.
std::vector<std::string> Calcule(const std::string& document) {
  std::vector<std::string> lignes;
  FILE* f = ::popen(("'" + CheminCavtool() + "' compute '" + document + "' 2>/dev/null").c_str(), "r");
  if (!f) return lignes;
  char tampon[1024];
  while (std::fgets(tampon, sizeof tampon, f)) {
    std::string l(tampon);
    while (!l.empty() && (l.back() == '\n' || l.back() == '\r')) l.pop_back();
    lignes.push_back(l);
  }
  ::pclose(f);
  std::sort(lignes.begin(), lignes.end());
  return lignes;
}

// cavtool as the oracle: the document computed before and after the merge
// gives every station the same coordinates.
TEST(StructureGaleriesDlg, FusionSelonCavtool) {
  if (::access(CheminCavtool().c_str(), X_OK) != 0) GTEST_SKIP() << "cavtool absent: " << CheminCavtool();
  Ramifiee k(true);
  testsupport::DossierTemp dossier;
  const std::string avantFichier = dossier.Fichier("avant.cav"), apresFichier = dossier.Fichier("apres.cav");
  survey::Document().ReseauCourant = &k.n.R();
  ASSERT_TRUE(survey::EnregistreReseau(avantFichier)) << ::testing::PrintToString(k.s.dialogues.Messages());
  const std::vector<std::string> avant = Calcule(avantFichier);
  ASSERT_EQ(avant.size(), 10u);
  TStructureGaleriesDlg d(*k.c);
  d.show();
  QApplication::processEvents();
  for (const char* g : {"Branche B", "Branche A", "Branche C"}) PresseNoeud(d.ArbreGaleries, Noeud(d.ArbreGaleries, g));
  d.OKBtn->click();
  ASSERT_EQ(k.c->Galeries.Count(), 1);
  ASSERT_TRUE(survey::EnregistreReseau(apresFichier));
  std::cout << "[ oracle  ] cavtool compute before and after the merge\n";
  EXPECT_EQ(Calcule(apresFichier), avant);
}

TEST(StructureGaleriesDlg, AnnulerNeFusionneRien) {
  Ramifiee k;
  TStructureGaleriesDlg d(*k.c);
  d.show();
  QApplication::processEvents();
  PresseNoeud(d.ArbreGaleries, Noeud(d.ArbreGaleries, "Branche C"));
  EXPECT_TRUE(k.Gal("Branche C")->AFusionner);
  d.AnnulerBtn->click();
  EXPECT_EQ(k.c->Galeries.Count(), 4);
  for (const TGalerie* g : k.c->Galeries) EXPECT_FALSE(g->AFusionner) << g->NomGalerie;
}

// --- Deletion confirmation ---------------------------------------------------------------------

QStringList Textes(QListWidget* l) {
  QStringList r;
  for (int i = 0; i < l->count(); ++i) r << l->item(i)->text();
  return r;
}

TEST(EffacerGalerieDlg, ListesEtQuestion) {
  app::TEffacerGalerieDlg d({"Branche A", "Branche B"}, {"Coupe 3"});
  EXPECT_EQ(d.windowTitle(), "Effacement de visées");
  EXPECT_EQ(Textes(d.ListeGaleries), (QStringList{"Branche A", "Branche B"}));
  EXPECT_EQ(Textes(d.ListeCoupes), (QStringList{"Coupe 3"}));
  QStringList libelles;
  for (QLabel* l : d.findChildren<QLabel*>()) libelles << l->text();
  EXPECT_TRUE(libelles.contains("Les galeries suivantes vont être effacées :"));
  EXPECT_TRUE(libelles.contains("Les coupes suivantes vont être effacées :"));
  EXPECT_TRUE(libelles.contains("Confirmez vous leur effacement ?"));
  EXPECT_EQ(d.OuiBtn->text(), "Oui");
  EXPECT_EQ(d.NonBtn->text(), "Non");
}

// Through the model's port: deleting from station 1 on takes the whole
// branches with it; "Non" leaves the cave as it was, "Oui" deletes.
TEST(EffacerGalerieDlg, NonLaisseLaCaviteIntacte) {
  Ramifiee k;
  survey::GardePortsSurvey ports;
  app::InstalleDialogueEffacement();
  const int visees = k.c->Visees.Count();
  survey::TVisee* v = nullptr;
  for (survey::TVisee* x : k.c->Visees)
    if (x->PointStation->DesignPTopo == "1") v = x;
  ASSERT_NE(v, nullptr);
  QStringList galeries;
  SurLaFenetreModale([&](QDialog& m) {
    EXPECT_EQ(m.windowTitle(), "Effacement de visées");
    galeries = Textes(essai::Enfant<QListWidget>(m, "ListeGaleries"));
    essai::Clic(m, "NonBtn");
  });
  EXPECT_FALSE(k.n.R().SupprimeViseesSuivantes(v));
  EXPECT_EQ(galeries, (QStringList{"Branche A", "Branche B", "Branche C"}));
  EXPECT_EQ(k.c->Visees.Count(), visees);
  EXPECT_EQ(k.c->Galeries.Count(), 4);
  for (const survey::TVisee* x : k.c->Visees) EXPECT_FALSE(x->AEffacer);
  SurLaFenetreModale([&](QDialog& m) { essai::Clic(m, "OuiBtn"); });
  EXPECT_TRUE(k.n.R().SupprimeViseesSuivantes(v));
  EXPECT_EQ(k.c->Visees.Count(), 1);
  EXPECT_EQ(k.c->Galeries.Count(), 1);
}

// --- Computation report ------------------------------------------------------------------------

TEST(ResultCalculDlg, MemoDesLignesDuRapport) {
  Ramifiee k;
  k.n.Surface("J", 1010, 2010, 495);
  auto a = std::make_unique<survey::TCompens>();
  a->PtFin = k.n.Station(k.c, "A3");
  a->PtJuste = k.n.Station(k.c, "J");
  k.n.R().Compensations.Add(std::move(a));
  std::vector<std::string> lignes;
  {
    survey::GardeRapportCalcul rapport;
    survey::ListeRapportCalcul().clear();
    k.n.R().CalculeReseau();
    lignes = survey::ListeRapportCalcul();
  }
  ASSERT_GT(lignes.size(), 5u);
  app::TResultCalculDlg d;
  EXPECT_EQ(d.windowTitle(), "Résultats du calcul des compensations et des bouclages");
  // The copy taken at creation: later report lines do not show.
  survey::AjouteRapport("après");
  const QStringList memo = d.Memo->toPlainText().split(QLatin1Char('\n'));
  ASSERT_EQ(memo.size(), static_cast<qsizetype>(lignes.size()));
  for (size_t i = 0; i < lignes.size(); ++i) EXPECT_EQ(memo[static_cast<qsizetype>(i)].toStdString(), lignes[i]) << i;
  EXPECT_TRUE(d.Memo->isReadOnly());
  d.show();
  essai::Clic(d, "OKBtn");
  EXPECT_EQ(d.result(), QDialog::Accepted);
}

}  // namespace
