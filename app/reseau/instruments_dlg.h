#pragma once
// The instrument windows of the "Instruments" menu and the instrument file:
//
// - TRectifInstrDlg "Rectification d'un instrument": every instrument of the
//   document with the kind its use by the trips gives it; a double-click
//   corrects one in the instrument sheet (TSaisieInstrDlg).
// - TSupprInstrDlg "Suppression d'instrument": the instruments no trip uses,
//   checked; OK deletes those left checked.
// - ExporteInstruments / ImporteInstruments: the ".Instr" file beside the
//   document, and its import merged into the document's list.
//
// Controls (objectName): ListeInstruments (columns "Désignation", "Type de
// mesure"), OKBtn, AnnulerBtn (deletion only).
#include <QDialog>

class QTreeWidget;
class QTreeWidgetItem;

namespace survey {
class TInstrument;
class TReseau;
}  // namespace survey

namespace app {

class TRectifInstrDlg : public QDialog {
  Q_OBJECT
 public:
  // Rebuilds the trip list and the in-use flags, settles the kinds and lists
  // the instruments.
  explicit TRectifInstrDlg(survey::TReseau& reseau, QWidget* parent = nullptr);

  // An empty list shows "il n'y a aucun instrument à rectifier." instead of
  // the window.
  int exec() override;
  // Closing turns every undetermined instrument back into one of no kind.
  void done(int r) override;

  // The instrument of a line: undetermined ones are refused with their
  // message; otherwise the instrument sheet corrects it (RectifEnCours set
  // around it) and the line follows.
  void ListeInstrumentsDblClick(QTreeWidgetItem* item);

  bool UneModifInstr = false;

 private:
  void Remplit();
  survey::TReseau& reseau_;
  QTreeWidget* liste_ = nullptr;
};

class TSupprInstrDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TSupprInstrDlg(survey::TReseau& reseau, QWidget* parent = nullptr);

  // Nothing to list: "il n'y a aucun Instrument à supprimer." instead of
  // the window.
  int exec() override;
  // Deletes the instruments left checked and marks the document modified.
  void accept() override;

 private:
  survey::TReseau& reseau_;
  QTreeWidget* liste_ = nullptr;
};

// Writes the document's instruments to its path with the extension ".Instr"
// (in the working folder for a document not saved yet) and says where.
void ExporteInstruments(survey::TReseau& reseau);
// The open dialog (executable's folder, ".Instr" filter), then the file
// merged into the document's list; "Erreur de fichier - ..." when it cannot
// be read whole (nothing is added).  True when instruments were added.
bool ImporteInstruments(survey::TReseau& reseau);

}  // namespace app
