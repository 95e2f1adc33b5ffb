#pragma once
// The settings dialog ("Configuration du logiciel").  Init fills the controls
// from the settings; closing with OK copies them back (Transfere); "Annuler"
// changes nothing.
#include <QDialog>
#include <array>

#include "app/commun/config_generale.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace views {
class TCadreCouleur;
class TCadreDefPtSurf;
class TCadreTraitsTopo;
}  // namespace views

namespace app {

class TConfigGeneDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TConfigGeneDlg(QWidget* parent = nullptr);

  // FormCreate: the controls from the settings.
  void Init();
  // The controls into the settings (what OK does).
  void Transfere();

  // The default pattern file shown: an empty name shows "Aucun fichier
  // utilisé" and hides "Aucun fichier".
  void AfficheFichierMtf(const std::string& nom);
  // The file dialog of a click on the pattern-file edit.
  void EditFichierMtfClick();

  // The positions shown by the three input-order groups.
  std::array<int32_t, 3> Positions() const;

  void accept() override;

 protected:
  bool eventFilter(QObject* objet, QEvent* evenement) override;
  void showEvent(QShowEvent* e) override;

 private:
  void ResoutOrdreSaisie(int mesure, int position);
  void AfficheOrdre();

  std::array<QGroupBox*, 3> groupesOrdre_{};
  std::array<QButtonGroup*, 3> boutonsOrdre_{};
  std::array<int32_t, 3> positions_{0, 1, 2};
  QCheckBox* topoFil_;
  QLineEdit* editFichierMtf_;
  QPushButton* aucunFichier_;
  views::TCadreTraitsTopo* cadreAxe_;
  views::TCadreTraitsTopo* cadreViseeAnnexe_;
  views::TCadreTraitsTopo* cadreEnvelgal_;
  views::TCadreDefPtSurf* cadreDefPtSurf_;
  QCheckBox* pourTous_;
  views::TCadreCouleur* couleurFiligr_;
  QComboBox* continentBox_;
  QSpinBox* udDeci_;
  QButtonGroup* molette_;
  QCheckBox* decliAuto_;
};

}  // namespace app
