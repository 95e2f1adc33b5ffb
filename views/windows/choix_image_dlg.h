#pragma once
// "Choix de l'image à afficher" (TChoixImageDlg): one of the network's
// background maps, by name in the list's order, the active one selected.
// To show a map, choosing the one already active is a Cancel (nothing to
// change); in deletion mode ("Choix de l'image à effacer") any map may be
// chosen.  OK with no map selected changes nothing either (a Cancel).  The
// caller gives the maps' names (NomImage) and the active map's position, and
// reads ImageSelectee after OK.
#include <QDialog>
#include <cstdint>
#include <string>
#include <vector>

class QComboBox;
class QPushButton;

namespace views {

class TChoixImageDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TChoixImageDlg(QWidget* parent = nullptr);

  // Modal: the position of the chosen map, or -1 when the dialog was
  // cancelled or nothing is to change.
  static int32_t Execute(bool efface, const std::vector<std::string>& noms, int32_t active,
                         QWidget* parent = nullptr);

  QComboBox* ImageBox = nullptr;
  QPushButton* BoutonOK = nullptr;
  bool Effacer = false;
  int32_t ImageSelectee = -1;

  // The caption of the mode, the maps' names, the active one (-1: none)
  // selected and remembered in ImageSelectee.
  void Init(bool Efface, const std::vector<std::string>& noms, int32_t active);
  // OK (FormClose): the selection into ImageSelectee, or a Cancel when it is
  // the active map outside deletion mode or when nothing is selected.
  void done(int resultat) override;
};

}  // namespace views
