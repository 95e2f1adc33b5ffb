#pragma once
// "Calcul automatique de la déclinaison": the declination of the trip cannot
// be computed here, and the box says why (the network has no coordinate
// system, the entrance's position is not known yet, the date is not given or
// lies outside the field model); a button opens an online calculator in the
// browser.
//
// Controls (objectName): RaisonsLbl (one line per reason), CliquezIciBtn
// "Cliquez ici !", OKBtn.
#include <QDialog>

namespace app {

// Why the trip dialog cannot compute the declination.
struct RaisonsDecli {
  bool SansProjection = false;  // the network has no coordinate system
  bool EntreeInconnue = false;  // the cave's entrance has no position yet
  bool SansDate = false;        // the trip's date is not given
  bool DateHorsModele = false;  // the date lies outside the field model
};

class TMsgCoeffsDecli : public QDialog {
  Q_OBJECT
 public:
  TMsgCoeffsDecli(QWidget* parent, RaisonsDecli raisons);
  // Opens the calculator's page through the shell port and closes.
  void CliquezIciClick();
};

}  // namespace app
