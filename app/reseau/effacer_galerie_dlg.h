#pragma once
// The confirmation before shots are deleted together with whole galleries
// and long sections ("Effacement de visées"): the two lists, the question
// and "Oui" / "Non".  InstalleDialogueEffacement puts it behind the survey
// model's deletion-confirmation port.
#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace app {

class TEffacerGalerieDlg : public QDialog {
  Q_OBJECT
 public:
  TEffacerGalerieDlg(const std::vector<std::string>& ListeGal, const std::vector<std::string>& ListeCoupes,
                     QWidget* parent = nullptr);

  QListWidget* ListeGaleries = nullptr;
  QListWidget* ListeCoupes = nullptr;
  QPushButton* OuiBtn = nullptr;
  QPushButton* NonBtn = nullptr;
};

void InstalleDialogueEffacement();

}  // namespace app
