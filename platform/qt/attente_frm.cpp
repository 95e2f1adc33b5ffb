#include "platform/qt/attente_frm.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <algorithm>

#include "foundation/arrondi.h"
#include "platform/qt/qt_canvas.h"

namespace platform {
namespace {

QPixmap Hourglass() {
  QPixmap p(41, 41);
  p.fill(Qt::transparent);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing, true);
  g.setPen(QPen(Qt::black, 2));
  g.drawLine(10, 4, 31, 4);
  g.drawLine(10, 37, 31, 37);
  const QPointF glass[] = {{12, 5}, {29, 5}, {21.5, 20.5}, {29, 36}, {12, 36}, {19.5, 20.5}};
  g.setBrush(QColor(250, 250, 235));
  g.drawPolygon(glass, 6);
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(218, 185, 73));  // sand
  const QPointF top[] = {{15, 9}, {26, 9}, {20.5, 18}};
  const QPointF bottom[] = {{14, 35}, {27, 35}, {20.5, 27}};
  g.drawPolygon(top, 3);
  g.drawPolygon(bottom, 3);
  return p;
}

QFont SansSerif(int pixels) {
  QFont f(FontFace("MS Sans Serif"));
  f.setPixelSize(pixels);
  return f;
}

}  // namespace

TAttenteFrm::TAttenteFrm(const std::string& message)
    : QFrame(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
  setObjectName(QStringLiteral("AttenteFrm"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(2);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
  setFont(SansSerif(11));

  Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setPixmap(Hourglass());
  Image1->setAlignment(Qt::AlignCenter);
  Image1->setGeometry(12, (kDesignHeight - 41) / 2, 41, 41);

  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setFont(SansSerif(13));
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setWordWrap(true);
  Label1->setText(QString::fromStdString(message));
  resize(kDesignWidth, kDesignHeight);
  PlaceLabel();

  // Centred across, a third of the way down, then widened to the message
  // (measured in the window's own font) keeping the left edge.
  int left = 0, top = 0;
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect g = screen->geometry();
    left = g.x() + foundation::Arrondi((g.width() - width()) / 2.0);
    top = g.y() + foundation::Arrondi((g.height() - height()) / 3.0);
  }
  move(left, top);
  const QFontMetrics fm(font());
  const int w = fm.horizontalAdvance(Label1->text()) + kDesignWidth - kLabelWidth;
  if (w > width()) {
    resize(w, height());
    PlaceLabel();
  }
}

void TAttenteFrm::resizeEvent(QResizeEvent* e) {
  QFrame::resizeEvent(e);
  PlaceLabel();
}

void TAttenteFrm::PlaceLabel() {
  // The label is anchored to the four sides.
  Label1->setGeometry(kLabelLeft, 8, width() - (kDesignWidth - kLabelWidth), height() - 16);
}

QtWaitWindows::~QtWaitWindows() {
  while (!stack_.empty()) CloseLast();
}

void QtWaitWindows::Show(const std::string& message) {
  stack_.push_back(std::make_unique<TAttenteFrm>(message));
  TAttenteFrm* w = stack_.back().get();
  w->show();
  w->raise();
  // One pass of the pending events so that the window paints before the work
  // starts; user input waits, so nothing re-enters the program meanwhile.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtWaitWindows::CloseLast() {
  if (stack_.empty()) return;
  std::unique_ptr<TAttenteFrm> w = std::move(stack_.back());
  stack_.pop_back();
  w->hide();
}

}  // namespace platform
