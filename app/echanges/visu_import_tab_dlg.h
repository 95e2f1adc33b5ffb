#pragma once
// "Import du fichier " + name: the preview of a text table.  The user titles
// the columns by clicking their headings (EnTeteBox drops over the heading),
// checks the cave name, the date, the declination, the angle units and the
// entrance with its coordinate system.  The state and its rules are
// formats::TVisuImportTab; this window shows it and hands every action to it.
//
// Controls (objectName): VisuLignes (QTableView), EnTeteBox, NomCavEdit,
// DateTopoEdit, DecliEdit, UnitDecliRdg, UnitAzRdg, UnitPRdg (items ...0
// "Degrés", ...1 "Grades"), NomEntreeEdit, CadreSaisieCoord,
// CadreProjectionTab (its choice SimpleCoordsRdg0 "indépendantes",
// SimpleCoordsRdg1 "projection", SimpleCoordsRdg2 "WGS 84"), OKBtn,
// AnnulerBtn.
#include <QAbstractTableModel>
#include <QDialog>

#include "views/cadres/cadres_projection.h"
// moc reads no further than the declarations below.
#ifndef Q_MOC_RUN
#include "formats/import/texte/import_tab_txt.h"
#endif

class QComboBox;
class QLineEdit;
class QTableView;

namespace app {

using views::TGroupeRadio;
using views::TCadreProjectionSimple;
using views::TCadreSaisieCoord;

// The coordinate-system frame of the table's entrance: "indépendantes",
// "projection" (the system panel) or "WGS 84" (the entry frame's latitude and
// longitude instead of its metres).
class TCadreProjectionTab : public TCadreProjectionSimple {
  Q_OBJECT
 public:
  explicit TCadreProjectionTab(QWidget* parent = nullptr);
  bool Rattache() const override;
  void RdgTypeCoordClick() override;

  TCadreSaisieCoord* vCadreSaisieCoord = nullptr;  // not owned
};

// The rows of the table as a Qt model: one column per cell position, the
// headings the columns' titles, the vertical headings the first cells, the
// red cells through the foreground role.
class TModeleVisuImportTab : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TModeleVisuImportTab(formats::TVisuImportTab& visu, QObject* parent = nullptr)
      : QAbstractTableModel(parent), visu_(visu) {}
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  // Everything to be drawn again.
  void Redessine();

 private:
  formats::TVisuImportTab& visu_;
};

class TVisuImportTabDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TVisuImportTabDlg(formats::TVisuImportTab& visu, QWidget* parent = nullptr);

  // Shown modally; true for OK.  Every close copies the fields into the state.
  bool Execute();

  QTableView* VisuLignes = nullptr;
  QComboBox* EnTeteBox = nullptr;
  QLineEdit* NomCavEdit = nullptr;
  QLineEdit* DateTopoEdit = nullptr;
  QLineEdit* DecliEdit = nullptr;
  TGroupeRadio* UnitDecliRdg = nullptr;
  TGroupeRadio* UnitAzRdg = nullptr;
  TGroupeRadio* UnitPRdg = nullptr;
  QLineEdit* NomEntreeEdit = nullptr;
  TCadreSaisieCoord* CadreSaisieCoord = nullptr;
  TCadreProjectionTab* CadreProjectionTab = nullptr;
  int ColonneActive = -1;
  int nCol = -1;
  bool initTab = true;

  // The heading of a column clicked.
  void EnTeteClique(int colonne);
  // An entry of EnTeteBox chosen.
  void EnTeteChoisi(int entree);
  // The window's fields into the state.
  void Transfere();

 private:
  void Colore(QLineEdit* e, bool rouge);
  formats::TVisuImportTab& visu_;
  TModeleVisuImportTab* modele_ = nullptr;
};

// Makes this window the one the text-table import shows.
void InstalleDialogueVisuImportTab();

}  // namespace app
