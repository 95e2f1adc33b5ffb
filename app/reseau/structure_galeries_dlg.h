#pragma once
// The merging of galleries ("Restructuration des galeries"): the active
// cave's gallery tree, fully expanded.  A press on a gallery marks it for
// merging into the gallery it hangs from, or unmarks it; marked galleries
// are struck out.  A press that expands or collapses a branch marks nothing.
// OK merges the marked galleries (TCavite::FusionneGaleries).
#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace survey {
class TCavite;
class TGalerie;
}  // namespace survey

namespace app {

class TStructureGaleriesDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TStructureGaleriesDlg(survey::TCavite& cavite, QWidget* parent = nullptr);

  // The gallery of a node; none for the cave's node.
  survey::TGalerie* GalerieDe(const QTreeWidgetItem* noeud) const;
  // A press on a node: toggles the gallery's mark when it hangs from
  // another gallery; the message on the first gallery or a gallery without
  // parent; nothing on the cave node, nor when the press expanded or
  // collapsed a branch.
  void ArbreMouseDown(QTreeWidgetItem* noeud);
  void accept() override;
  void reject() override;
  bool eventFilter(QObject* objet, QEvent* evenement) override;

  bool NoClick = false;
  QTreeWidget* ArbreGaleries = nullptr;
  QLabel* LabelAide = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* AnnulerBtn = nullptr;

 private:
  void Barre(QTreeWidgetItem* noeud);
  void OteMarques();

  survey::TCavite& cavite_;
  std::vector<survey::TGalerie*> galeries_;  // by node, none for the cave's node
};

}  // namespace app
