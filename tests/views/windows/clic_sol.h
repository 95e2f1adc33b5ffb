#pragma once
// A left click on a graphic window's paint box at a ground position, as the
// toolkit delivers it (press, then release), at the pixel the view
// transform gives.
#include <QApplication>
#include <QMouseEvent>

#include "foundation/transformation_vue.h"
#include "views/windows/fiche_graphique.h"

namespace essaifenetres {

inline void CliqueAuSol(views::TFicheGraphique& f, double x, double y) {
  foundation::TPointTopo p;
  p.X = x;
  p.Y = y;
  const foundation::TPoint e = foundation::PtTopoVersEcran(p);
  for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent m(t, QPointF(e.X, e.Y), f.BaseDessin->mapToGlobal(QPointF(e.X, e.Y)), Qt::LeftButton,
                  t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(f.BaseDessin, &m);
  }
}

}  // namespace essaifenetres
