#pragma once
// The choice of the objects of a web SVG export ("Objets à mettre dans le
// SVG"): eleven check boxes, "Tous" and "0", OK and Cancel.  The state and
// its rules are the export's formats::TObjetsSvgDlg; this window shows them,
// follows the clicks through the rules and hands the state back on OK.
#include <QDialog>

#include <array>

#include "formats/export/svg/choix_objets_svg.h"

class QCheckBox;
class QPlainTextEdit;

namespace app {

class TObjetsSvgDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TObjetsSvgDlg(formats::TObjetsSvgDlg& modele, QWidget* parent = nullptr);

  // Shown modally; true for OK, and the state then holds the boxes; after
  // Annul the state is as it was.
  bool Execute();

 private:
  // The boxes from the state.
  void Affiche();
  // The boxes into the state.
  void Lit();

  formats::TObjetsSvgDlg& modele_;
  // The boxes while the window is open.
  formats::TObjetsSvgDlg etat_;
  std::array<QCheckBox*, formats::TObjetsSvgDlg::NombreBoites> cases_{};
  QPlainTextEdit* memo_ = nullptr;
};

// Makes this window the one web SVG exports show.
void InstalleDialogueObjetsSvg();

}  // namespace app
