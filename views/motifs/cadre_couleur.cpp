#include "views/motifs/cadre_couleur.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "platform/qt/conversions_qt.h"

namespace views {

TCadreCouleur::TCadreCouleur(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setFixedSize(32, 24);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
  setToolTip(platform::qt::Q(foundation::Msg(foundation::IdMsg::MotifsCliquerCarre)));
}

void TCadreCouleur::FixeCouleur(uint32_t couleur) {
  couleur_ = couleur & 0xFFFFFF;
  update();
}

void TCadreCouleur::CouleurClick() {
  EstOk = false;
  const std::optional<uint32_t> choix = platform::Dialogs::Current().ChooseColour(couleur_);
  if (!choix) return;
  FixeCouleur(*choix);
  EstOk = true;
  emit CouleurChangee();
}

void TCadreCouleur::paintEvent(QPaintEvent* e) {
  {
    QPainter p(this);
    p.fillRect(contentsRect(), platform::qt::CouleurQt(couleur_));
  }
  QFrame::paintEvent(e);
}

void TCadreCouleur::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) {
    CouleurClick();
    return;
  }
  QFrame::mouseReleaseEvent(e);
}

void TCadreCouleur::keyPressEvent(QKeyEvent* e) {
  if (e->modifiers() == Qt::NoModifier &&
      (e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)) {
    CouleurClick();
    return;
  }
  QFrame::keyPressEvent(e);
}

}  // namespace views
