#pragma once
// The colour square: a frame filled with its colour.  A click (or Space or
// Return while it has the focus) opens the colour dialog through the dialog
// port on the square's colour; when the user confirms, the square takes the
// chosen colour.
#include <QFrame>
#include <cstdint>

namespace views {

class TCadreCouleur : public QFrame {
  Q_OBJECT
 public:
  explicit TCadreCouleur(QWidget* parent = nullptr);

  uint32_t Couleur() const { return couleur_; }
  void FixeCouleur(uint32_t couleur);

  // The last click chose a colour.
  bool EstOk = false;

  // What a click does: EstOk cleared, the colour dialog opened on the
  // square's colour; on OK the square takes the colour, EstOk is set and
  // CouleurChangee is emitted.
  void CouleurClick();

 signals:
  void CouleurChangee();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  uint32_t couleur_ = 0;
};

}  // namespace views
