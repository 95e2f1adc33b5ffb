#pragma once
// The base of every 2D graphic window: a modal dialog showing the off-screen
// drawing of views::TNoyauGraphique in its paint box, turning the toolkit's
// mouse, wheel and key events into the handlers' documented order, and
// painting the overlays (zoom window, pan shift, ruler, snap circle, rubber
// frame, cursor overlay) over the cached drawing.  TFicheGraphique adds the
// zoom and tool panels and is built in two phases (Cree).
#include <QDialog>
#include <memory>
#include <utility>

#include "views/noyau_graphique.h"

class QFrame;
class QPushButton;
class QScrollArea;
class QToolButton;
class QWidget;

namespace platform {
class QtCanvas;
}

namespace views {

class TBaseGraphGravelune;

// The paint box: it hands its events to its window.
class TBoiteDessin : public QWidget {
  Q_OBJECT
 public:
  explicit TBoiteDessin(TBaseGraphGravelune& fenetre, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;

 private:
  TBaseGraphGravelune& fenetre_;
};

// The core is a virtual base: a window whose model has a core of its own
// (views/noyau_visu_graphique.h) derives from both and shares one core.
class TBaseGraphGravelune : public QDialog, public virtual TNoyauGraphique {
  Q_OBJECT
 public:
  explicit TBaseGraphGravelune(QWidget* parent = nullptr);
  ~TBaseGraphGravelune() override;

  // The paint box and the scroll area around it.
  TBoiteDessin* BaseDessin = nullptr;
  QScrollArea* ZoneDessin = nullptr;

  int32_t LargeurBoite() const override;
  int32_t HauteurBoite() const override;
  void Repeint() override;
  void RepeintZone(const platform::Rect& r) override;
  void FixeCurseur(Curseur c) override;
  Curseur CurseurActuel() const override { return curseur_; }
  void SignaleErreurCalque() override;

  // The toolkit's events in the Part's order: MouseDown, Click (left, on
  // release, before MouseUp), MouseUp; a double click gives MouseDown
  // flagged double, DblClick, then MouseUp on its release.
  void SourisAppuyee(QMouseEvent* e);
  void SourisRelachee(QMouseEvent* e);
  void SourisDouble(QMouseEvent* e);
  void SourisBougee(QMouseEvent* e);
  // A wheel turn at a position of the paint box: the angle is summed and
  // each 120 (one notch) zooms once about that position.
  void Molette(int angle, QPoint positionBoite);
  // Paints the cached drawing and the overlays.
  void PeintBoite(QPaintEvent* e);

  // The magnifier cursor of the zoom window.
  static QCursor CurseurLoupe();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;

 private:
  // The canvas of the shown frame (drawing plus overlays), reused.
  std::unique_ptr<platform::QtCanvas> cadre_;
  Curseur curseur_ = Curseur::Normal;
  bool enPeinture_ = false;
  bool clicGauche_ = false;
  int cumulMolette_ = 0;
};

class TFicheGraphique : public TBaseGraphGravelune {
  Q_OBJECT
 public:
  explicit TFicheGraphique(QWidget* parent = nullptr);
  ~TFicheGraphique() override;

  // Builds the window, then runs the derived window's creation (display
  // memory of its code, InitDessin) with its own virtual functions.  A
  // failure there destroys the window, which gives the transform back.
  template <class F, class... A>
  static std::unique_ptr<F> Cree(A&&... a) {
    auto f = std::make_unique<F>(std::forward<A>(a)...);
    f->TNoyauGraphique::Cree();
    return f;
  }

  // Shows the window maximised and modal.
  int Execute();

  QWidget* PanelZooms = nullptr;
  QToolButton* ButtonTotal = nullptr;
  QToolButton* ButtonPlus = nullptr;
  QToolButton* ButtonMoins = nullptr;
  QToolButton* ButtonPreced = nullptr;
  QToolButton* ChoixObjetsVisuBtn = nullptr;
  QWidget* PanelOutils = nullptr;
  QToolButton* RegleBtn = nullptr;
  QFrame* CadreDessin = nullptr;

  // Minimum paint box size kept when the window shrinks (-1 none): the
  // scroll bars show the rest.
  int32_t HorzTailleMin = -1;
  int32_t VertTailleMin = -1;
  void FormCanResize();

  // Gives the keys back to the window after a button or a dialog.
  void DessinActif();
  // "Sélection des objets affichables": the components dialog; true when
  // confirmed (the view is then redrawn).
  bool ChoisitComposants();

 protected:
  void done(int r) override;
  void resizeEvent(QResizeEvent* e) override;
};

}  // namespace views
