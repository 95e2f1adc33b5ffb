#pragma once
// "Choix de la zone sur laquelle zoomer" (TZoomGalPtsDlg): the rectangle of
// a gallery, or of the shots of a station chosen in the cave or in a
// gallery, for the zoom button of the cave windows.  The gallery, the kind
// of zoom and the zone are remembered between openings (the gallery only on
// the same cave).  The rectangles are computed by views/zoom_gal_pts.h.
#include <QDialog>
#include <vector>

#include "views/types_fiches.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QPushButton;

namespace survey {
class TCavite;
class TGalerie;
class TPointSpeleo;
}  // namespace survey

namespace views {

class TZoomGalPtsDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TZoomGalPtsDlg(QWidget* parent = nullptr);

  // Modal on the cave: true, with r the rectangle to zoom on, when the user
  // confirmed a gallery with stations or a station with shots; false (r as
  // it was) otherwise, and the caller leaves its view as it is.
  static bool Execute(survey::TCavite& cavite, TZoomCavite& r, QWidget* parent = nullptr);

  // "Zoomer sur": "Une galerie" (0), "Les visées d'un point" (1); buttons
  // TypeZommRdg0 and TypeZommRdg1.
  QGroupBox* TypeZommRdg = nullptr;
  QComboBox* ListeGalBox = nullptr;
  QGroupBox* ListePointsGroupe = nullptr;
  // "dans ": "la cavité" (0), "la galerie" (1); buttons ZoneRDG0, ZoneRDG1.
  QGroupBox* ZoneRDG = nullptr;
  QComboBox* ListePtsBox = nullptr;
  QPushButton* BoutonOK = nullptr;

  survey::TCavite* UneCavite = nullptr;
  TZoomCavite ZoomResultat;
  // OK found something to frame.
  bool ZoomCalcule = false;

  // The cave's galleries, the remembered choices (the gallery when the
  // cave is the remembered one and the gallery still exists, else the
  // first), and the controls that follow them.
  void init(survey::TCavite& cavite, const TZoomCavite& rectangle);
  int TypeZoom() const;
  int Zone() const;
  void FixeTypeZoom(int i);
  void FixeZone(int i);
  void TypeZommRdgClick();
  void ZoneRDGClick();
  void ListeGalBoxChange();
  // The rectangle of the chosen gallery or station into ZoomResultat; false
  // when there is nothing to frame.
  bool CalculeZoom();
  // OK: the rectangle, then the choices remembered.
  void done(int resultat) override;

 private:
  QButtonGroup* type_ = nullptr;
  QButtonGroup* zone_ = nullptr;
  std::vector<survey::TGalerie*> galeries_;
  std::vector<survey::TPointSpeleo*> points_;
};

}  // namespace views
