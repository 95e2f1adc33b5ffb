#pragma once
// The windows of the import from another document, of the comparison and of
// the update: the choice of caves to import (TImportCavitesDlg), the choice
// of one cave (TSelectCavDlg) and the comparison report (TRapportMajDlg),
// which prints through the printer port into a PDF file.
#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "app/table/impression_pdf.h"
#include "app/table/liste_imprimee.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTextEdit;

namespace survey {
class TCavite;
class TReseau;
}  // namespace survey

namespace formats {
struct TRapportMaj;
}

namespace app {

// "Choix des cavités à importer": caves 1 to n-1, unchecked.
class TImportCavitesDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TImportCavitesDlg(const survey::TReseau& reseau, QWidget* parent = nullptr);
  QListWidget* CheckCavitesBox;
  // Each check into the selection (index + 1).
  void Transfere(std::vector<bool>& choix) const;
};

// "Choix de la cavité à comparer" (or "à importer" with a label of its own).
class TSelectCavDlg : public QDialog {
  Q_OBJECT

 public:
  TSelectCavDlg(const survey::TReseau& reseau, const std::string& libelle, QWidget* parent = nullptr);
  QLabel* Libelle;
  QListWidget* ListeCavites;
  // The chosen cave, or none.
  survey::TCavite* CaviteChoisie() const;

 private:
  const survey::TReseau& reseau_;
};

// "Rapport de recherche des visées manquantes".
class TRapportMajDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TRapportMajDlg(formats::TRapportMaj& rapport, QWidget* parent = nullptr);
  ~TRapportMajDlg() override;

  QTextEdit* Rapport;
  QPushButton* PrnBtn;
  QPushButton* OKBtn;
  QPushButton* VisuCavit1Btn;
  QPushButton* VisuCavit2Btn;
  // The print output (its dialog can be scripted).
  TSortiePdf Sortie;

  // The print dialog, then the report's text on the pages of the chosen
  // printer, into a PDF file; false when cancelled or not written.
  bool PrnBtnClick();

 private:
  formats::TRapportMaj& rapport_;
};

// The pages of a text: one line per printed line, tabs to every eighth
// column, a new page when the page is full.
std::vector<PageListe> PagesTexte(const std::vector<std::string>& lignes, const MesuresListe& mesures);

// Makes these windows the ones the import, comparison and update ask for.
void InstalleFenetresAutreReseau();

}  // namespace app
