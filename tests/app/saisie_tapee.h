#pragma once
// Typing into the shot entry window from the tests of the main window: keys
// sent to the active modal window, and a script of steps run on the windows
// that open one after the other.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <deque>
#include <functional>

#include "app/saisie/saisie_visee_dlg.h"

namespace essai {

// Types keys into the active modal window: '\t' Tab, '\n' Enter, '\x1b'
// Escape, other characters as typed text.
inline void Tape(const QString& touches) {
  for (QChar c : touches) {
    QWidget* fenetre = QApplication::activeModalWidget();
    ASSERT_NE(fenetre, nullptr);
    QWidget* cible = fenetre->focusWidget() ? fenetre->focusWidget() : fenetre;
    int cle = 0;
    QString texte;
    if (c == QLatin1Char('\t')) {
      cle = Qt::Key_Tab;
    } else if (c == QLatin1Char('\n')) {
      cle = Qt::Key_Return;
    } else if (c == QChar(0x1b)) {
      cle = Qt::Key_Escape;
    } else {
      cle = c.toUpper().unicode();
      texte = c;
    }
    QKeyEvent appui(QEvent::KeyPress, cle, Qt::NoModifier, texte);
    QApplication::sendEvent(cible, &appui);
    QKeyEvent relache(QEvent::KeyRelease, cle, Qt::NoModifier, texte);
    if (QWidget* w = QApplication::activeModalWidget(); w == fenetre)
      QApplication::sendEvent(fenetre->focusWidget() ? fenetre->focusWidget() : fenetre, &relache);
  }
}

// Runs each step on the next modal window that opens, in order.
class Script {
 public:
  void Ajoute(std::function<void(app::TSaisieViseeDlg&)> f) { etapes_.push_back(std::move(f)); }
  void Lance() {
    QTimer::singleShot(0, [this] { Suivant(); });
  }
  int Restantes() const { return static_cast<int>(etapes_.size()); }

 private:
  void Suivant() {
    auto* dlg = qobject_cast<app::TSaisieViseeDlg*>(QApplication::activeModalWidget());
    if (!dlg || etapes_.empty()) {
      if (!etapes_.empty()) QTimer::singleShot(0, [this] { Suivant(); });
      return;
    }
    auto f = std::move(etapes_.front());
    etapes_.pop_front();
    // The next step waits for the next window.
    if (!etapes_.empty()) QTimer::singleShot(0, [this, ancien = QPointer<QWidget>(dlg)] { Attend(ancien); });
    f(*dlg);
  }
  void Attend(QPointer<QWidget> ancien) {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || (ancien && w == ancien)) {
      QTimer::singleShot(0, [this, ancien] { Attend(ancien); });
      return;
    }
    Suivant();
  }
  std::deque<std::function<void(app::TSaisieViseeDlg&)>> etapes_;
};

inline QString Focus(app::TSaisieViseeDlg& d) { return d.focusWidget() ? d.focusWidget()->objectName() : QString(); }
inline QLineEdit* Ed(app::TSaisieViseeDlg& d, const char* nom) { return d.findChild<QLineEdit*>(QLatin1String(nom)); }

}  // namespace essai
