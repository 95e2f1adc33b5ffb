#pragma once
// "Saisie des coordonnées d'un point" (TCoordDlg): a surface point's name,
// symbol, comment and coordinates, typed in metres or kilometres, in the
// network's system, in another one or in WGS84 latitude/longitude.
#include <QDialog>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace survey {
class TMotifDocument;
class TPointSpeleo;
}  // namespace survey

namespace views {
class TCadreProjectionWGS;
class TCadreSaisieCoord;
}  // namespace views

namespace app {

using views::TCadreProjectionWGS;
using views::TCadreSaisieCoord;

class TCoordDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TCoordDlg(QWidget* parent = nullptr);

  void InitRectif(const survey::TPointSpeleo& PointTemp);
  // The fields into the point.  False, with a French message naming the
  // system and the point unchanged, when the coordinates do not convert.
  bool Transfere(survey::TPointSpeleo& PointTemp);
  // Shown modally; on OK the fields go into the point (the dialog stays open
  // while they do not convert).
  bool Execute(survey::TPointSpeleo& point);

  QLineEdit* EditNom = nullptr;
  QComboBox* NatureBox = nullptr;
  // The chosen symbol's preview (empty for "indéterminé").
  QLabel* VisuSymbole = nullptr;
  QPlainTextEdit* MemoCommentaire = nullptr;
  TCadreProjectionWGS* CadreProjection = nullptr;
  TCadreSaisieCoord* CadreCoord = nullptr;
  QPushButton* OKBtn = nullptr;

  void accept() override;

 private:
  void ReporteFocus();
  void DessineSymbole();
  survey::TPointSpeleo* cible_ = nullptr;
  std::vector<survey::TMotifDocument*> symboles_;
};

}  // namespace app
