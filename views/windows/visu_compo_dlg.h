#pragma once
// "Composants à afficher": the kinds of objects a graphic window shows.
#include <QDialog>

#include "views/types_fiches.h"

class QCheckBox;
class QPushButton;

namespace views {

class TVisuCompoDlg : public QDialog {
  Q_OBJECT
 public:
  // "Autres cavités" is shown only when autresCavites.
  explicit TVisuCompoDlg(bool autresCavites, QWidget* parent = nullptr);

  QCheckBox* ChkbPoints = nullptr;
  QCheckBox* ChkbComment = nullptr;
  QCheckBox* ChkbPtSurf = nullptr;
  QCheckBox* ChkbCompos = nullptr;
  QCheckBox* ChkbSurface = nullptr;
  QCheckBox* ChkbLevers = nullptr;
  QCheckBox* ChkbVishab = nullptr;
  QCheckBox* ChkbGaleries = nullptr;
  QCheckBox* ChkbDessin = nullptr;
  QCheckBox* ChkbTextes = nullptr;
  QCheckBox* ChkbCoupes = nullptr;
  QCheckBox* ChkbEcarts = nullptr;
  QCheckBox* ChkbAutresCav = nullptr;
  QPushButton* BoutonOK = nullptr;
  QPushButton* BoutonAnnuler = nullptr;

  // Enables and checks the boxes from the table.
  void Init(const TObjetsAffichables& table, bool composCoupe, bool habExiste);
  // Writes the boxes into the table, then the derived kinds.
  void TransfereValeurs(TObjetsAffichables& table) const;

 private:
  bool habExiste_ = false;
  bool autresCavites_ = false;
};

}  // namespace views
