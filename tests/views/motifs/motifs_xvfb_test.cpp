// The pattern windows on a real X server, used with the mouse and the
// keyboard through xdotool: the test runs itself again on an Xvfb server of
// its own on the xcb platform.  A double click on a cell of the chooser chooses that
// pattern; in the line-style dialog, a click on the pen colour square opens
// Qt's colour dialog (the program's dialog port), a colour typed into it
// reaches the style, and OK writes it into the entry.  Skipped where Xvfb
// or xdotool is not installed.
#include <QColorDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyleHints>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <vector>

#include "drawing/liste_mtf.h"
#include "platform/qt/qt_dialogs.h"
#include "tests/support/sous_xvfb.h"
#include "tests/views/motifs/outils_fenetres_motifs.h"
#include "views/motifs/cadre_couleur.h"
#include "views/motifs/choix_motif_dlg.h"
#include "views/motifs/edit_trait_dlg.h"

namespace {

using testsupport::Xdotool;

using namespace essaimotifs;

constexpr const char* kSousXvfb = "GRAVELUNE_MOTIFS_SOUS_XVFB";

bool Expose(QWidget* w) { return w && w->isVisible() && w->windowHandle() && w->windowHandle()->isExposed(); }

// The pointer on the widget's point, then a click (two for a double click).
bool CliqueX(QWidget* w, QPoint p, int fois = 1) {
  const QPoint g = w->mapToGlobal(p);
  return Xdotool({"mousemove", "--sync", QString::number(g.x()), QString::number(g.y())}) &&
         Xdotool({"click", "--repeat", QString::number(fois), "--delay", "80", "1"});
}

// Steps run in turn from the event loop of the modal windows, each until it
// answers true.  A step that waits too long, or a modal window still open
// that long after the last step, ends the run: the modal window is closed.
class Scenario {
 public:
  explicit Scenario(std::vector<std::function<bool()>> etapes) : etapes_(std::move(etapes)) {
    QObject::connect(&minuterie_, &QTimer::timeout, [this] { Avance(); });
    minuterie_.start(50);
    chrono_.start();
  }
  bool Fini() const { return i_ == etapes_.size(); }
  size_t Etape() const { return i_; }

 private:
  void Avance() {
    if (!Fini() && etapes_[i_]()) {
      ++i_;
      chrono_.restart();
    } else if (chrono_.elapsed() > testsupport::kAttenteMs) {
      minuterie_.stop();
      if (QWidget* m = QApplication::activeModalWidget()) m->close();
    }
  }
  std::vector<std::function<bool()>> etapes_;
  QTimer minuterie_;
  QElapsedTimer chrono_;
  size_t i_ = 0;
};

class MotifsXvfb : public FenetresMotifs {
 protected:
  void SurLeServeur() {
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
    // The clicks of one xdotool call make one double (or triple) click however
    // long a busy machine keeps them apart.
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(testsupport::kAttenteMs);
    drawing::tListeMtf bibliotheque;
    bibliotheque.InitDefaut();
    drawing::TListeMotifs& traits = bibliotheque.ListeTraits;

    // The chooser: a double click on the third style.
    {
      views::TChoixMotifDlg d;
      d.InitChoixMotif(traits);
      Scenario s({[&] { return Expose(&d); },
                  [&] { return CliqueX(d.GrilleMotifs->viewport(), d.GrilleMotifs->RectCellule(2, 0).center(), 2); }});
      EXPECT_EQ(d.exec(), views::TChoixMotifDlg::ResultatOK) << "step " << s.Etape();
      EXPECT_EQ(traits.MotifSelecte(), traits.UnObjet(2));
    }

    // The line-style dialog: the pen colour through Qt's colour dialog.
    platform::QtDialogs qtDialogues;
    platform::ScopedDialogs port(qtDialogues);
    auto& paroi = static_cast<drawing::TObjetTrait&>(*traits.UnObjet(0));
    views::TEditTraitDlg d(nullptr, paroi);
    QColorDialog* couleurs = nullptr;
    Scenario s({[&] { return Expose(&d); },
                [&] { return CliqueX(d.CouleurPlume, {8, 8}); },
                [&] {
                  couleurs = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
                  if (!Expose(couleurs)) return false;
                  // The "HTML:" field holds the colour as #rrggbb.
                  for (QLineEdit* e : couleurs->findChildren<QLineEdit*>())
                    if (e->text().startsWith(QLatin1Char('#')))
                      return CliqueX(e, {e->width() / 2, e->height() / 2}, 3) &&
                             Xdotool({"type", "--delay", "30", "#ff0000"}) && Xdotool({"key", "Return"});
                  return false;
                },
                [&] { return QApplication::activeModalWidget() == &d && d.MotifCourant->CouleurPlume == 0x0000FF; },
                [&] { return CliqueX(d.OKBtn, {d.OKBtn->width() / 2, d.OKBtn->height() / 2}); }});
    EXPECT_EQ(d.exec(), QDialog::Accepted) << "step " << s.Etape();
    EXPECT_TRUE(s.Fini()) << "step " << s.Etape();
    EXPECT_EQ(paroi.CouleurPlume, 0x0000FFu);
  }
};

TEST_F(MotifsXvfb, ChoixDUnMotifEtCouleurDUnTraitALaSourisSousXvfb) {
  if (qEnvironmentVariableIsSet(kSousXvfb)) {
    SurLeServeur();
    return;
  }
  if (!testsupport::XvfbDisponible()) GTEST_SKIP() << "Xvfb absent";
  if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) GTEST_SKIP() << "xdotool absent";
  testsupport::RelanceSousXvfb(kSousXvfb, QStringLiteral("MotifsXvfb.*"), 90000);
}

}  // namespace
