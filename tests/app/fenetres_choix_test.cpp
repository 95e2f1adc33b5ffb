// The program's windows behind the exports' shot choice and the import's
// origin change: the shot choice opens the shot selection window with the
// export's caption and the long sections' composition, and answers the
// shots clicked; the origin change opens the origin window over the cave
// being imported and leaves the station clicked in its PointImport.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/echanges/fenetres_choix.h"
#include "document/composition.h"
#include "formats/export/choix_visees.h"
#include "formats/export/ports_export.h"
#include "formats/import/galeries_import.h"
#include "platform/qt/qt_canvas.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/garde_contextes.h"
#include "tests/survey/reseau_calcul.h"
#include "tests/views/windows/clic_sol.h"
#include "views/windows/fiche_origine_import.h"

namespace {

class FenetresChoix : public ::testing::Test {
 protected:
  FenetresChoix() {
    document::InstalleDocument();
    app::InstalleFenetresChoix();
    n_.Surface("E", 0, 0, 0);
    c_ = n_.Cavite("Partie");
    n_.Visee(c_, "E", "1", 90, 0, 10);
    n_.Visee(c_, "1", "2", 90, 0, 10);
    n_.Visee(c_, "2", "3", 90, 0, 10);
    n_.Regenere();
  }
  testsupport::GardeContextes contextes_;
  platform::ScriptedDialogs dialogues_;
  platform::ScopedDialogs garde_{dialogues_};
  platform::QtCanvasFactory qt_;
  platform::ScopedCanvasFactory fabrique_{qt_};
  testsurvey::ReseauCalcul n_;
  survey::TCavite* c_ = nullptr;
};

// Once the modal window of that class is up: the action on it (a window that
// does not come within 5 s fails the test and the modal loop is left).
template <class F>
void SurLaFenetre(const std::function<void(F&)>& action, int essais = 250) {
  QTimer::singleShot(20, [action, essais] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = dynamic_cast<F*>(w); f && f->isVisible()) {
        action(*f);
        return;
      }
    if (essais > 0) return SurLaFenetre<F>(action, essais - 1);
    ADD_FAILURE() << "pas de fenêtre";
    if (QWidget* m = QApplication::activeModalWidget()) m->close();
  });
}

TEST_F(FenetresChoix, ChoixDesViseesDUnExport) {
  n_.R().LaCaviteActive = c_;
  for (const char* titre : {"Export d'une partie d'une cavité", "Export d'une partie d'une cavité au format Qave"}) {
    SCOPED_TRACE(titre);
    // A click on 2-3 (the window computes the network first), then OK.
    SurLaFenetre<views::TFicheSelectTransfert>([titre](views::TFicheSelectTransfert& f) {
      EXPECT_EQ(f.windowTitle(), QString::fromUtf8(titre));
      EXPECT_TRUE(f.ComposCoupe);
      EXPECT_EQ(dynamic_cast<views::TFicheOrigineImport*>(&f), nullptr);
      essaifenetres::CliqueAuSol(f, 25, 0);
      f.findChild<QPushButton*>("ValidBtn")->click();
    });
    const auto visees = formats::ChoixViseesExport(n_.R(), titre);
    ASSERT_TRUE(visees.has_value());
    ASSERT_EQ(visees->size(), 1u);
    EXPECT_EQ((*visees)[0]->PtCalc->DesignPTopo, "3");
    EXPECT_EQ(n_.R().LaCaviteActive, c_);
  }
  // "Annuler": nothing, and the marks of the last choice are cleared.
  SurLaFenetre<views::TFicheSelectTransfert>(
      [](views::TFicheSelectTransfert& f) { f.findChild<QPushButton*>("AnnuleBtn")->click(); });
  EXPECT_FALSE(formats::ChoixViseesExport(n_.R(), "Export d'une partie d'une cavité").has_value());
  for (const survey::TVisee* v : c_->Visees) EXPECT_FALSE(v->Marque);
}

TEST_F(FenetresChoix, OrigineDUnImport) {
  const auto& port = formats::FenetresImport().ChoisitOrigineImport;
  ASSERT_TRUE(port);
  // Not the active cave (the gallery dialog makes it so): no window.
  n_.R().LaCaviteActive = n_.R().UneCavite(0);
  EXPECT_FALSE(port(*c_));
  n_.R().LaCaviteActive = c_;
  SurLaFenetre<views::TFicheOrigineImport>([](views::TFicheOrigineImport& f) {
    essaifenetres::CliqueAuSol(f, 20, 0);
    f.findChild<QPushButton*>("ValidBtn")->click();
  });
  EXPECT_TRUE(port(*c_));
  ASSERT_NE(c_->PointImport, nullptr);
  EXPECT_EQ(c_->PointImport->DesignPTopo, "2");
  SurLaFenetre<views::TFicheOrigineImport>([](views::TFicheOrigineImport& f) {
    essaifenetres::CliqueAuSol(f, 10, 0);
    f.findChild<QPushButton*>("AnnuleBtn")->click();
  });
  EXPECT_FALSE(port(*c_));
}

}  // namespace
