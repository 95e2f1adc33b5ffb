#pragma once
// The gallery dialog of an import ("Nommer les galeries"): one checkable row
// per branch of the imported survey, the gallery names edited by a double
// click.  The state and its rules are the import's formats::TNommeGalDlg;
// this window shows it and hands every action to it.
#include <QDialog>

#include "formats/import/galeries_import.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace app {

class TNommeGalDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TNommeGalDlg(formats::TNommeGalDlg& modele, QWidget* parent = nullptr);

  // Shown modally; how it was closed.
  formats::ResultatNommeGal Execute();

  QTreeWidget* Liste() const { return liste_; }

 private:
  void Remplit();
  void CocheChangee(QTreeWidgetItem* item, int colonne);
  void DoubleClic(QTreeWidgetItem* item);

  formats::TNommeGalDlg& modele_;
  QTreeWidget* liste_;
  QLabel* origine_;
  QPushButton* changerOrigine_;
  bool remplissage_ = false;
};

// Makes this window the one imports show.
void InstalleDialogueGaleriesImport();

}  // namespace app
