#pragma once
// The surface-point manager "Gestion des points de surface" (captioned
// "Réseau : " + name + " - Points de Surface"): the network's surface points
// in a list sorted by a column, added, corrected, deleted, imported and
// exported as text lists.
//
// Controls (objectName): ListePoints (columns "Désign", "X", "Y", "Z",
// "Nature", "Commentaire"; several rows selectable; a click on a header
// sorts), AjoutBtn "Ajout de point", SupprimeBtn "Supprime les points
// sélectionnés" (or the Delete key), ImportBtn "Import d'un fichier de
// points", ExportBtn, ExportWGSBtn (only for a network in a coordinate
// system), FermerBtn.
#include <QAbstractTableModel>
#include <QDialog>
#include <vector>

#include "survey/ligne_liste.h"

class QPushButton;
class QTableView;

namespace survey {
class TPointSpeleo;
class TReseau;
}  // namespace survey

namespace app {

// The rows of the list: the points in the order shown, their texts made on
// demand (TPointsSurface::AffecteChaine).  While the deletion question is
// asked, the marked points are drawn in white on the highlight colour.
class TModelePtsSurface : public QAbstractTableModel {
 public:
  explicit TModelePtsSurface(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  void Remplit(std::vector<survey::TPointSpeleo*> points);
  const std::vector<survey::TPointSpeleo*>& Points() const { return points_; }
  survey::TPointSpeleo* Point(int ligne) const;
  int Ligne(const survey::TPointSpeleo* p) const;
  // Sorts the rows by a column (the comment column does not sort).
  void Trie(int colonne, bool croissant);
  void MontreMarques(bool montre);
  // The text of a cell as shown.
  QString Texte(int ligne, int colonne) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const survey::TLigneListe& LigneListe(int ligne) const;
  std::vector<survey::TPointSpeleo*> points_;
  mutable std::vector<survey::TLigneListe> lignes_;
  mutable std::vector<bool> faites_;
  bool marques_ = false;
};

class TFichePtsSurface : public QDialog {
  Q_OBJECT
 public:
  explicit TFichePtsSurface(survey::TReseau& reseau, QWidget* parent = nullptr);

  // Refills the list in the current sort; the point (else the first row) is
  // focused, selected and shown.
  void Remplit(survey::TPointSpeleo* aFocaliser = nullptr);
  // A header click: the same column again reverses the order, another column
  // sorts ascending; the comment column does not sort.
  void EnteteClick(int colonne);
  // New points until the coordinates dialog is cancelled.
  void AjoutClick();
  // Corrects the point of the row in the coordinates dialog.
  void ListeDblClick(int ligne);
  // Deletes the selected points that nothing holds, after the question.
  void SupprimeClick();
  // The open dialog, then the import that the file's extension calls for.
  void ImportClick();
  // The projected list, or the WGS84 one, through the save dialog.
  void ExportClick(bool wgs);
  // Closing after a change regenerates every cave's station lists.
  void done(int r) override;

  TModelePtsSurface& Modele() { return *modele_; }
  QTableView* Vue() const { return vue_; }
  // The points of the selected rows, in the order shown.
  std::vector<survey::TPointSpeleo*> Selection() const;

  bool ModifListePoints = false;

 protected:
  bool eventFilter(QObject* objet, QEvent* e) override;

 private:
  void MajBoutons();
  survey::TReseau& reseau_;
  TModelePtsSurface* modele_ = nullptr;
  QTableView* vue_ = nullptr;
  QPushButton* ajout_ = nullptr;
  QPushButton* supprime_ = nullptr;
  QPushButton* import_ = nullptr;
  QPushButton* export_ = nullptr;
  QPushButton* exportWGS_ = nullptr;
};

}  // namespace app
