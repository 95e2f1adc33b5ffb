#pragma once
// "Sélection des ... à importer": the patterns of one kind that a pattern file
// or another document has and the library lacks, one ticked line each, with
// the preview of the current line; the ticked ones are imported when the
// window closes with OK.
#include <QDialog>
#include <memory>

#include "drawing/liste_mtf.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace views {

class TImportMotifsDlg : public QDialog {
  Q_OBJECT
 public:
  // The import of entries of the kind into the library (not owned).
  TImportMotifsDlg(QWidget* owner, drawing::TTypeMotif type, drawing::tListeMtf& bibliotheque);
  ~TImportMotifsDlg() override;

  drawing::TTypeMotif TypeImport;
  std::unique_ptr<drawing::tListeMtf> ListeMtfDiff;  // the difference library, owned
  drawing::tListeMtf* ListeOrig;                     // the library receiving the entries
  // The category the entries join when categories are not imported (a
  // category of the library's list of the kind); none: the undefined one.
  drawing::TCategorieMotifs* vCatCourante = nullptr;

  QListWidget* ImportMotifsBox = nullptr;
  QLabel* VisuMotif = nullptr;
  QPushButton* TousBtn = nullptr;
  QPushButton* AucunBtn = nullptr;
  QCheckBox* ImportCatBox = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* AnnulerBtn = nullptr;

  // Asks for the file and lists the entries of the kind it has and the
  // library lacks, the first one selected and previewed.  False when there
  // is nothing to show (cancelled, unreadable, or nothing missing after its
  // message): the window is not to be opened.
  bool InitListe();
  // The entry of a line.
  drawing::TObjetMotifdeBase* MotifDeLigne(int ligne) const;

  // Closing with OK imports the ticked lines, in order.
  void done(int resultat) override;

 private:
  void ImportMotifsBoxClick();
  void TousBtnClick(bool tous);
};

}  // namespace views
