#pragma once
// The cave choice of a TopoRobot import ("Choix de la cavité TopoRobot à
// importer"): a check list of the file's caves where checking one unchecks
// every other.  The state and its rule are the import's
// formats::TTpRbChoixCavDlg; this window shows it and hands each check to it.
#include <QDialog>

namespace formats {
class TTpRbChoixCavDlg;
}

class QListWidget;
class QListWidgetItem;

namespace app {

class TTpRbChoixCavDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TTpRbChoixCavDlg(formats::TTpRbChoixCavDlg& modele, QWidget* parent = nullptr);

  // Shown modally; true for OK.
  bool Execute();

  QListWidget* ListeCavBox() const { return liste_; }

 private:
  void Remplit();
  void ListeCavBoxClickCheck(QListWidgetItem* item);

  formats::TTpRbChoixCavDlg& modele_;
  QListWidget* liste_;
  bool remplissage_ = false;
};

// Makes this window the one TopoRobot imports show.
void InstalleDialogueChoixCavTpRb();

}  // namespace app
