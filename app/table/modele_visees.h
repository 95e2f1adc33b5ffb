#pragma once
// The Qt model of the shot table: it reads the rows of TTableVisees, whose
// texts are made when a row is first drawn.  An error met while a cell is
// drawn (a shot without computed origin, a text that cannot be made) marks
// the cell and is queued; the window reports the queue once, outside
// painting (ErreursDeDessin).
#include <QAbstractTableModel>
#include <array>
#include <functional>
#include <unordered_map>

#include "app/table/colonnes_visees.h"
#include "app/table/table_visees.h"

namespace app {

class TModeleVisees : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TModeleVisees(TTableVisees& table, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // The caption of a column (empty while the column has width 0).
  void FixeTitre(int colonne, const QString& titre);
  QString Titre(int colonne) const { return titres_[static_cast<size_t>(colonne)]; }
  // The theme's highlight colour, the row colour of a forward main shot.
  void FixeSurbrillance(uint32_t couleur) { surbrillance_ = couleur; }

  // Row changes made on the table, told to the views.
  // The whole table changes (refilled or emptied by changement).
  void Reinitialise(const std::function<void()>& changement = {});
  void AvantInsertion(int ligne);
  void ApresInsertion();
  void AvantRetrait(int premier, int dernier);
  void ApresRetrait();
  // The texts of rows premier to dernier changed.
  void TextesChanges(int premier, int dernier);

  // The background that marks a cell in error.
  static constexpr uint32_t CouleurCelluleErreur = 0xC0C0FF;

 signals:
  // Errors were queued while drawing; the receiver reports them once.
  void ErreursDeDessin();

 private:
  const std::string& TexteSur(int ligne, int colonne) const;
  QString Erreur(int ligne) const;
  void Signale(int ligne, const QString& message) const;

  TTableVisees& table_;
  std::array<QString, NombreColonnesVisees> titres_;
  uint32_t surbrillance_ = 0xD77800;
  // Text failures met while drawing, by shot.
  mutable std::unordered_map<const survey::TValeurVisee*, QString> echecs_;
  mutable bool signalEnAttente_ = false;
};

}  // namespace app
