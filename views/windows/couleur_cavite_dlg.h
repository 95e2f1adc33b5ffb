#pragma once
// The survey pens of one cave (TCouleurCaviteDlg, caption "Choix du dessin
// des traits topos de la cavité " + the cave's name): its own style of the
// survey axis ("axe du cheminement") and of the gallery outlines
// ("enveloppe des galeries"), each starting from the cave's style or, when
// it has none, from the settings' style (TraitAxeTopo, TraitDimTopo).  "Raz"
// puts a frame back to the settings' style.  On OK a style that differs from
// the settings' becomes the cave's own; one equal to the settings' removes
// the cave's own, so that the cave follows the settings again.
#include <QDialog>

class QPushButton;

namespace survey {
class TCavite;
}

namespace views {

class TCadreTraitsTopo;

class TCouleurCaviteDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TCouleurCaviteDlg(QWidget* parent = nullptr);

  // Modal on the cave: true on OK (the caller then builds the view's
  // objects again).  A change of the cave's styles marks the document
  // modified.
  static bool Execute(survey::TCavite& cavite, QWidget* parent = nullptr);

  TCadreTraitsTopo* CadreAxeCav = nullptr;
  TCadreTraitsTopo* CadreDimCav = nullptr;
  QPushButton* RazAxeBtn = nullptr;
  QPushButton* RazDimBtn = nullptr;
  QPushButton* BoutonOK = nullptr;

  survey::TCavite* UneCavite = nullptr;
  // OK changed the cave's own styles.
  bool StylesModifies = false;

  // The caption and both frames from the cave.
  void init(survey::TCavite& cavite);
  // The frame back to the settings' style, same title.
  void RazAxeBtnClick();
  void RazDimBtnClick();
  // OK (FormCloseQuery): the axis, then the outline, into the cave's own
  // styles; the document marked modified when they changed.
  void done(int resultat) override;
};

}  // namespace views
