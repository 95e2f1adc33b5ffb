#pragma once
// The adjustment windows:
//
// - TCompensDlg creates an adjustment for a cave station ("Création d'une
//   compensation"), modifies one ("Modification d'une compensation") or shows
//   one read-only with its corrections ("Visualisation d'une compensation").
//   The surface points are listed in the network's order, the one nearest to
//   the station in plan selected; the deviations follow the choice.
// - TChoixCompensDlg lists the network's adjustments; a double-click opens
//   the focused one, and while an existing item is corrected (RectifEnCours)
//   the Delete key deletes it after a question.
//
// An adjustment needs an exact point: without surface point OK is refused
// with a message and nothing is created.
#include <QDialog>
#include <string>
#include <vector>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace survey {
class TCavite;
class TCompens;
class TPointSpeleo;
class TReseau;
}  // namespace survey

namespace views {
class TGroupeRadio;
}  // namespace views

namespace app {

using views::TGroupeRadio;

// "Surface - " + name for a surface point, else name + " / " + the name of
// its gallery; empty for none.
std::string NomPointCompens(const survey::TPointSpeleo* p);
// "Planimétrie", "Altimétrie", "Plani + Alti"; empty for another value.
std::string NomTypeCompensation(int type);

class TCompensDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TCompensDlg(survey::TReseau& reseau, QWidget* parent = nullptr);

  // Computes the network and prepares the creation of an adjustment for the
  // station of the cave.
  void Init(survey::TCavite* cavite, survey::TPointSpeleo* station);
  // The adjustment's cave is the network's active one while the dialog is
  // prepared for it (restored afterwards, also on an exception).
  void InitRectif(survey::TCompens* ACompens);
  // Read-only: the corrections of the adjustment's type, every control
  // disabled, "Annuler" reading "Fermer".
  void InitVisu(survey::TCompens* ACompens);
  // The deviations between the selected surface point and the station.
  void AfficheEcarts();
  survey::TPointSpeleo* PointSurfaceChoisi() const;
  // Creates or modifies the adjustment; refused without surface point.
  void accept() override;

  long double Xp = 0, Yp = 0, Zp = 0;
  survey::TPointSpeleo* PtCavit = nullptr;
  survey::TCompens* CompensRectif = nullptr;

  QLabel* LabelCavite = nullptr;
  QLabel* LabelNomPoint = nullptr;
  QLabel* LabelGalerie = nullptr;
  QListWidget* ListePointsSurface = nullptr;
  QLabel* EcartX = nullptr;
  QLabel* EcartY = nullptr;
  QLabel* EcartZ = nullptr;
  QLabel* EcartLh = nullptr;
  TGroupeRadio* TypeCompensRdg = nullptr;
  QGroupBox* GroupePlani = nullptr;
  QLabel* CorrLongueur = nullptr;
  QLabel* CorrDirection = nullptr;
  QGroupBox* GroupeAlti = nullptr;
  QLabel* CorrHauteur = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* AnnulerBtn = nullptr;

 private:
  survey::TReseau& reseau_;
  std::vector<survey::TPointSpeleo*> points_;
  bool visu_ = false;
};

// The creation of an adjustment for a computed station of the cave (the
// shot-row menu's "Créer Compensation"): the dialog prepared by Init, shown
// modally; true when an adjustment was created.
bool CreeCompensation(QWidget* owner, survey::TReseau& reseau, survey::TCavite* cavite, survey::TPointSpeleo* station);

class TChoixCompensDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TChoixCompensDlg(survey::TReseau& reseau, QWidget* parent = nullptr);

  // One row per adjustment, the last one selected and focused.
  void RemplitListe();
  // The focused row's adjustment opened (modified with RectifEnCours, else
  // shown), the network computed before and after.
  void ListeDblClick();
  // With RectifEnCours: the focused row's adjustment deleted after the question.
  void SupprimeCompens();
  // The adjustment of a row, none for another row.
  survey::TCompens* CompensDeLigne(int ligne) const;
  bool eventFilter(QObject* objet, QEvent* evenement) override;

  QTreeWidget* ListeCompens = nullptr;

 private:
  survey::TReseau& reseau_;
  std::vector<survey::TCompens*> lignes_;
};

}  // namespace app
