#pragma once
// "Sélection des points de surface à importer": one checkable row per point
// (blank, "Design", X, Y, Z, "Notes"), "Tous", "Aucun"; in full mode with the
// coordinate type, the coordinate-system frame ("des points importés : "),
// the unit choice "unités des coordonnées" and the red notes.  The state and
// its rules are formats::TSelectImportDlg; this window shows it and hands
// every action to it.
//
// Controls (objectName): ListePoints, TousBtn, AucunBtn, CadreProjection
// (TCadreProjectionWGS), UnitesRdg (UnitesRdg0 mètres, UnitesRdg1 kilomètres),
// Note1Lbl, Note2Lbl, OKBtn, AnnulerBtn.
#include <QDialog>

#include "formats/import/points/selection_points_import.h"

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace views {
class TGroupeRadio;
class TCadreProjectionWGS;
}  // namespace views

namespace app {

using views::TGroupeRadio;
using views::TCadreProjectionWGS;

class TSelectImportDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TSelectImportDlg(formats::TSelectImportDlg& modele, QWidget* parent = nullptr);

  // Shown modally; true for OK (the frame's choices copied into the state).
  bool Execute();

  QTreeWidget* Liste() const { return liste_; }
  TCadreProjectionWGS* Cadre() const { return cadre_; }
  // The frame's and the unit's choices into the state, then the rows, the
  // column titles, the notes and the unit choice shown again.
  void LitChoix();

 private:
  void Remplit();
  void CocheChangee(QTreeWidgetItem* item, int colonne);

  formats::TSelectImportDlg& modele_;
  QTreeWidget* liste_ = nullptr;
  TCadreProjectionWGS* cadre_ = nullptr;
  TGroupeRadio* unites_ = nullptr;
  QLabel* note1_ = nullptr;
  QLabel* note2_ = nullptr;
  bool remplissage_ = false;
};

// Makes this window the one the point imports show.
void InstalleDialogueSelectImport();

}  // namespace app
