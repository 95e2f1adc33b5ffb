#pragma once
// "Choix d'un point de rattachement" (TChoixRattachDlg): the station an
// attachment shot ends on, nearest first.
#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QListWidget;

namespace survey {
class TCavite;
class TPointSpeleo;
}  // namespace survey

namespace app {

class TChoixRattachDlg : public QDialog {
  Q_OBJECT
 public:
  TChoixRattachDlg(survey::TCavite* ACavite, const std::string& MotifRattach, survey::TPointSpeleo* vPtRat,
                   bool SurfPossible, QWidget* parent = nullptr);
  // Shown modally; the chosen point on OK, none otherwise (and none when
  // there is no candidate, after the message).
  survey::TPointSpeleo* Execute();

  const std::vector<survey::TPointSpeleo*>& Candidats() const { return ListePtsCav; }
  survey::TPointSpeleo* PointSelectionne() const;

  QListWidget* ListePoints = nullptr;
  QLabel* LabelGalerie = nullptr;
  QLabel* LabelCommentaire = nullptr;
  QLabel* LabelNouveau = nullptr;
  survey::TPointSpeleo* PointChoisi = nullptr;

 private:
  void Selection();
  std::vector<survey::TPointSpeleo*> ListePtsCav;
};

}  // namespace app
