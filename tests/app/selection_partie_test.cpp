// The program's shot choice for the import of part of another cave: the
// installed port opens the shot selection window over the cave, modal; a
// click on a shot then OK leaves the chosen shots marked and answers true,
// "Annuler" answers false.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/echanges/autre_reseau_dlg.h"
#include "document/composition.h"
#include "formats/contexte_formats.h"
#include "platform/qt/qt_canvas.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/garde_contextes.h"
#include "tests/survey/reseau_calcul.h"
#include "tests/views/windows/clic_sol.h"
#include "views/windows/fiche_select_transfert.h"

namespace {

class SelectionPartie : public ::testing::Test {
 protected:
  SelectionPartie() {
    document::InstalleDocument();
    app::InstalleFenetresAutreReseau();
  }
  testsupport::GardeContextes contextes_;
  platform::ScriptedDialogs dialogues_;
  platform::ScopedDialogs garde_{dialogues_};
  platform::QtCanvasFactory qt_;
  platform::ScopedCanvasFactory fabrique_{qt_};
};

// Once the modal window is up: the action on it (a window that does not
// come within 5 s fails the test and the modal loop is left).
void SurLaFenetre(const std::function<void(views::TFicheSelectTransfert&)>& action, int essais = 250) {
  QTimer::singleShot(20, [action, essais] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = dynamic_cast<views::TFicheSelectTransfert*>(w); f && f->isVisible()) {
        action(*f);
        return;
      }
    if (essais > 0) return SurLaFenetre(action, essais - 1);
    ADD_FAILURE() << "pas de fenêtre de sélection";
    if (QWidget* m = QApplication::activeModalWidget()) m->close();
  });
}

TEST_F(SelectionPartie, LesViseesChoisiesRestentMarquees) {
  testsurvey::ReseauCalcul n;
  n.Surface("E", 0, 0, 0);
  survey::TCavite* c = n.Cavite("Partie");
  n.Visee(c, "E", "1", 90, 0, 10);
  n.Visee(c, "1", "2", 90, 0, 10);
  n.Visee(c, "2", "3", 90, 0, 10);
  n.Regenere();
  n.R().LaCaviteActive = n.R().UneCavite(0);
  const auto& port = formats::ContexteFormats().FenetresAutreReseau.MarqueViseesPartie;
  ASSERT_TRUE(port);
  // A click on 1-2 (the window computes the network first), then OK.
  SurLaFenetre([](views::TFicheSelectTransfert& f) {
    essaifenetres::CliqueAuSol(f, 15, 0);
    auto* ok = f.findChild<QPushButton*>("ValidBtn");
    EXPECT_TRUE(ok->isEnabled());
    if (!ok->isEnabled()) f.reject();
    ok->click();
  });
  EXPECT_TRUE(port(*c));
  std::string marquees;
  for (const survey::TVisee* v : c->Visees)
    if (v->Marque) marquees += v->PtOrigCalc->DesignPTopo + "-" + v->PtCalc->DesignPTopo + " ";
  EXPECT_EQ(marquees, "1-2 2-3 ");
  // The active cave is given back.
  EXPECT_EQ(n.R().LaCaviteActive, n.R().UneCavite(0));
  SurLaFenetre([](views::TFicheSelectTransfert& f) { f.findChild<QPushButton*>("AnnuleBtn")->click(); });
  EXPECT_FALSE(port(*c));
}

}  // namespace
