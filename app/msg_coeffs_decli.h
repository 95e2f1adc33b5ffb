#pragma once
// "Calcul automatique de la déclinaison": the declination of the date cannot
// be computed here; a button opens an online calculator in the browser.
//
// Controls (objectName): CliquezIciBtn "Cliquez ici !", OKBtn.
#include <QDialog>

namespace app {

class TMsgCoeffsDecli : public QDialog {
  Q_OBJECT
 public:
  explicit TMsgCoeffsDecli(QWidget* parent = nullptr);
  // Opens the calculator's page through the shell port and closes.
  void CliquezIciClick();
};

}  // namespace app
