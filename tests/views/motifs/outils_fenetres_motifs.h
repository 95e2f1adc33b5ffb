#pragma once
// What the pattern-window tests share: the graphic-window tests' set-up
// (the scripted dialog port queues the colour and font choices), the
// controls found by objectName, grabbed pictures and their pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <string>

#include "drawing/ports_motifs.h"
#include "platform/qt/qt_canvas.h"
#include "tests/views/windows/outils_fenetres.h"

namespace essaimotifs {

template <class T>
T* Controle(const QObject& w, const char* nom) {
  T* t = w.findChild<T*>(QString::fromLatin1(nom));
  EXPECT_NE(t, nullptr) << nom;
  return t;
}

// The widget as it is painted.
inline QImage Image(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }
// The pixel as a Windows colour value (0x00BBGGRR); 0xFFFFFFFF outside.
inline uint32_t Pixel(const QImage& i, int x, int y) {
  return i.valid(x, y) ? platform::FromQRgb(i.pixel(x, y)) & 0xFFFFFF : 0xFFFFFFFF;
}
// Pixels of that colour in the rectangle.
inline int Compte(const QImage& i, const QRect& r, uint32_t couleur) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += Pixel(i, x, y) == couleur;
  return n;
}

// A left click at p, or a double click.
inline void Clique(QWidget* w, QPoint p, bool double_ = false) {
  QMouseEvent appui(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent relache(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &appui);
  QApplication::sendEvent(w, &relache);
  if (!double_) return;
  QMouseEvent deux(QEvent::MouseButtonDblClick, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &deux);
  QApplication::sendEvent(w, &relache);
}

// The graphic-window tests' set-up (contexts set aside, scripted dialogs,
// the Qt canvas factory, a plan view at the origin), with the pattern
// model's ports set aside too.
class FenetresMotifs : public essaifenetres::Fenetres {
 private:
  drawing::GardePortsMotifs ports_;
};

}  // namespace essaimotifs
