#pragma once
// The two style frames of the settings and of the cave colours: a survey-line
// style (colour, dash, width) and the surface-point style (colour, width,
// circle, label size), each with a live preview drawn by the drawing objects.
#include <QGroupBox>
#include <cstdint>
#include <memory>

class QCheckBox;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QSpinBox;

namespace drawing {
class TDefObjetTrait;
class TObjetTrait;
}  // namespace drawing

namespace views {

class TCadreCouleur;

// A survey-line style.  Controls: the colour square "CadreCouleur", the dash
// list "StyleTraitBox" ("Continu" ... "Tiret Hachuré"), the width up-down
// "EpaisseurUD" (1 to 99) and the preview "VisuTrait".
class TCadreTraitsTopo : public QGroupBox {
  Q_OBJECT
 public:
  explicit TCadreTraitsTopo(QWidget* parent = nullptr);
  ~TCadreTraitsTopo() override;

  // The frame's own copy of the edited style; the caller reads it back.
  std::unique_ptr<drawing::TObjetTrait> UnTrait;

  // UnTrait takes the style's value; the group shows the title; colour,
  // dash and width show the style's.
  void Init(const drawing::TDefObjetTrait& style, const QString& titre);
  // True when pen colour, dash and width equal those of UnTrait.
  bool EgalTrait(const drawing::TDefObjetTrait& style) const;
  // Redraws the preview: an open line through (-50, 10), (20, 20), (100, 0)
  // in metres, y upward, drawn with UnTrait by the line object's preview in
  // the view of origin (-40, 0) at one pixel per metre.  The view transform
  // and the page flag are put back afterwards.
  virtual void DessineVisu();

  TCadreCouleur* CadreCouleur;
  QLabel* LabelStyle;
  QComboBox* StyleTraitBox;
  QSpinBox* EpaisseurUD;
  QLabel* VisuTrait;

 signals:
  // A control changed the style.
  void TraitChange();

 protected:
  // The line of controls, for the surface-point frame's additions.
  QHBoxLayout* LigneControles;
  // The controls into UnTrait, then the preview.
  void Transfere();
  bool initCtrls_ = false;
};

// The surface-point style: the dash list and its label are hidden; adds the
// circle box "CercleBox" ("Cercle") and the label-size up-down "UpDown2"
// ("Taille du libellé X", 1 to 10).
class TCadreDefPtSurf : public TCadreTraitsTopo {
  Q_OBJECT
 public:
  explicit TCadreDefPtSurf(QWidget* parent = nullptr);

  QCheckBox* CercleBox;
  QSpinBox* UpDown2;

  // The circle option and the label size shown.
  void FixeOptions(bool cercle, int32_t taille);
  // Redraws the preview: a surface point "Point test" at
  // ((width) - 20, -30) metres, drawn as a surface-point object with UnTrait,
  // the circle and label size of the frame, in the view of origin (-40, 0)
  // at one pixel per metre.  Every setting, view value and drawing flag it
  // changes is put back afterwards.
  void DessineVisu() override;
};

}  // namespace views
