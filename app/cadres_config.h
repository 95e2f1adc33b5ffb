#pragma once
// The small frames of the settings dialog: a colour chooser, the line-style
// frame of the survey drawing styles and the surface-point frame.
#include <QFrame>
#include <cstdint>

#include "app/config_generale.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;
class QToolButton;

namespace app {

// A colour swatch; a click opens the colour dialog.
class TCadreCouleur : public QFrame {
  Q_OBJECT
 public:
  explicit TCadreCouleur(QWidget* parent = nullptr);
  uint32_t Couleur() const { return couleur_; }
  void FixeCouleur(uint32_t couleur);
  // The colour dialog (what a click on the swatch does).
  void ChoisitCouleur();

 signals:
  void CouleurChangee();

 private:
  QToolButton* bouton_;
  uint32_t couleur_ = 0;
};

// A survey drawing style: its title, pen colour, pen style, width and a preview.
class TCadreTraitsTopo : public QFrame {
  Q_OBJECT
 public:
  explicit TCadreTraitsTopo(QWidget* parent = nullptr);
  void Init(const StyleTopo& style, const QString& titre);
  StyleTopo Valeur() const;

 private:
  void MajApercu();
  StyleTopo style_;
  QLabel* titre_;
  TCadreCouleur* couleur_;
  QComboBox* stylePlume_;
  QSpinBox* epaisseur_;
  QWidget* apercu_;
};

// The surface points: colour, width, circle and name size.
class TCadreDefPtSurf : public QFrame {
  Q_OBJECT
 public:
  explicit TCadreDefPtSurf(QWidget* parent = nullptr);
  void Init(const StylePointsSurface& style, const QString& titre);
  // The style with the circle and the name size (the colour option is the dialog's).
  StylePointsSurface Valeur() const;

 private:
  StylePointsSurface style_;
  QLabel* titre_;
  TCadreCouleur* couleur_;
  QSpinBox* epaisseur_;
  QCheckBox* cercle_;
  QSpinBox* taille_;
};

}  // namespace app
