#pragma once
// The cave-merge choice ("Choix des cavités à fusionner"): a checkable list
// of the caves' names, all ticked; OK keeps the ticked ones.
#include <QDialog>
#include <optional>
#include <string>
#include <vector>

class QListWidget;

namespace app {

class TChoixFusionDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TChoixFusionDlg(const std::vector<std::string>& noms, QWidget* parent = nullptr);

  QListWidget* Liste() const { return liste_; }
  // The positions left ticked.
  std::vector<int> Cochees() const;
  // Shown modally: the positions ticked on OK, nullopt on Cancel.
  std::optional<std::vector<int>> Execute();

 private:
  QListWidget* liste_;
};

// Makes this window the cave-merge choice (the network's merge asks it when
// more than one cave can be merged).
void InstalleDialogueChoixFusion();

}  // namespace app
