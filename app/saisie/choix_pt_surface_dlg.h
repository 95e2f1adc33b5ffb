#pragma once
// "Choix du point de rattachement en surface" (TChoixPtSurfaceDlg): the
// surface point a cave's first shot starts from, or a new one.
#include <QDialog>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace survey {
class TCavite;
class TListedePoints;
class TPointSpeleo;
}  // namespace survey

namespace app {

class TChoixPtSurfaceDlg : public QDialog {
  Q_OBJECT
 public:
  TChoixPtSurfaceDlg(survey::TListedePoints& surface, survey::TPointSpeleo* propose, QWidget* parent = nullptr);
  survey::TPointSpeleo* PointSelectionne() const;
  void NouveauPointClick();

  QListWidget* ListePoints = nullptr;
  QLabel* LabelCommentaire = nullptr;
  QPushButton* NouveauBtn = nullptr;
  survey::TPointSpeleo* PointChoisi = nullptr;

 private:
  survey::TListedePoints& surface_;
  std::vector<survey::TPointSpeleo*> points_;
};

// The surface point a cave's first shot starts from (the proposed one
// selected); none when cancelled.  With no surface point the creation runs
// at once.  When the number of surface points grew, the surface cave
// regenerates its station list.
survey::TPointSpeleo* ChoisitPointSurface(QWidget* owner, survey::TCavite& cavite, survey::TPointSpeleo* propose);

}  // namespace app
