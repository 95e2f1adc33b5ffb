#pragma once
// "Choix des cavités à afficher" (TChoixCavDlg): which caves a view of
// several caves draws.  The active cave is always drawn and is not listed;
// every other cave of the network is listed by name, checked when it is
// drawn (its Adessiner flag).  OK writes the checks back into the flags and
// tells whether any of them changed (OkModif): only then is the view built
// again.
#include <QDialog>
#include <vector>

class QListWidget;
class QPushButton;

namespace survey {
class TCavite;
class TReseau;
}  // namespace survey

namespace views {

class TChoixCavDlg : public QDialog {
  Q_OBJECT
 public:
  // The list of the network's caves (FormCreate).
  explicit TChoixCavDlg(survey::TReseau& reseau, QWidget* parent = nullptr);

  // Modal on the network: true when OK changed some cave's drawn flag, and
  // the caller then draws the caves again (RedessinCavitesDessinees).
  static bool Execute(survey::TReseau& reseau, QWidget* parent = nullptr);

  QListWidget* ListeCavBox = nullptr;
  QPushButton* TousBtn = nullptr;
  QPushButton* AucunBtn = nullptr;
  QPushButton* BoutonOK = nullptr;

  // Some cave's drawn flag was changed by OK.
  bool OkModif = false;
  // The caves listed, in the list's order.
  std::vector<survey::TCavite*> Cavites;

  // Every entry checked (true, "Toutes") or unchecked ("Aucune").
  void TousBtnClick(bool coche);
  // OK: the flags from the checks, OkModif when one changed.
  void done(int resultat) override;
};

}  // namespace views
