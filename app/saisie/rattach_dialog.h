#pragma once
// TRattachDialog: which of the stations attached to a station continues the
// gallery.
#include <QDialog>
#include <string>
#include <vector>

class QLabel;

namespace survey {
class TPointSpeleo;
}  // namespace survey

namespace views {
class TGroupeRadio;
}  // namespace views

namespace app {

using views::TGroupeRadio;

class TRattachDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TRattachDialog(QWidget* parent = nullptr);
  void Init(const std::string& DesignGal, const std::string& DesignRattach,
            const std::vector<survey::TPointSpeleo*>& LPts);
  // The chosen point's position in LPts, -1 for "aucun".
  int Choix() const;
  // Every point an annex except the chosen one.
  void Transfere();

  QLabel* LabelGalerie = nullptr;
  QLabel* LabelTexte = nullptr;
  TGroupeRadio* PointsRdg = nullptr;

 private:
  std::vector<survey::TPointSpeleo*> PtsRattach;
};

}  // namespace app
