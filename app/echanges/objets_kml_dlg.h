#pragma once
// The choice of the objects of a KML export ("Objets à mettre dans le KML"):
// four check boxes, one per kind of object.  The state is the export's
// formats::TObjetsKMLDlg; this window shows it and hands it back on OK.
#include <QDialog>

namespace formats {
class TObjetsKMLDlg;
}

class QCheckBox;

namespace app {

class TObjetsKMLDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TObjetsKMLDlg(formats::TObjetsKMLDlg& modele, QWidget* parent = nullptr);

  // Shown modally; on OK the boxes go back into the state; true for OK.
  bool Execute();

 private:
  formats::TObjetsKMLDlg& modele_;
  QCheckBox* surface_;
  QCheckBox* levers_;
  QCheckBox* galeries_;
  QCheckBox* dessin_;
};

// Makes this window the one KML exports show.
void InstalleDialogueObjetsKml();

}  // namespace app
