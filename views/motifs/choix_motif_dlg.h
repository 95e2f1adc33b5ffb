#pragma once
// The pattern chooser: one tab per category of a pattern list, each a grid
// of pattern previews followed by an "add" cell that creates a new pattern
// through the kind's editor.  The window closes with OK (1) when a pattern
// was chosen (it is then the list's only selected pattern), Yes (6) when a
// new pattern was created (appended and selected), Cancel (2) otherwise.
#include <QAbstractScrollArea>
#include <QDialog>
#include <QImage>
#include <vector>

class QStatusBar;
class QTabWidget;

namespace drawing {
class TCategorieMotifs;
class TListeMotifsBase;
class TObjetMotifdeBase;
}  // namespace drawing

namespace views {

class TChoixMotifDlg;

// The grid size of a chooser whose largest tab holds m cells (its patterns
// and the add cell): up to 10, 4 columns and (m - 1) div 4 + 1 rows; above,
// n x n with n the integer square root of m, then columns added until there
// are m cells.
struct TTailleGrille {
  int Colonnes = 4;
  int Lignes = 1;
};
TTailleGrille TailleGrilleMotifs(int m);

// Cells 64 pixels high and 64 wide (150 for fonts), separated by one-pixel
// grid lines; only the visible cells are drawn, each preview made once.
class TGrilleMotifs : public QAbstractScrollArea {
  Q_OBJECT
 public:
  static constexpr int HauteurCellule = 64;
  static constexpr int LargeurCellule = 64;
  static constexpr int LargeurCelluleFonte = 150;
  static constexpr int LargeurTrait = 1;

  TGrilleMotifs(TChoixMotifDlg* forme, QStatusBar* barre, int largeurCellule, QWidget* parent = nullptr);

  drawing::TCategorieMotifs* ListeCatEnCours = nullptr;
  drawing::TListeMotifsBase* ListeMotifsEnCours = nullptr;
  drawing::TObjetMotifdeBase* vObjetselecte = nullptr;
  bool AjoutOk = false;   // the add cell is selected
  bool SelectOk = false;  // a pattern cell is selected
  // The cell framed until the first selection.
  bool InitGrille = false;
  int InitCol = -1, InitLigne = -1;
  QRect InitRect;
  int NbreCols = 4, NbreLignes = 1;

  // Shows the category of the list with that grid size, nothing selected,
  // the list's selected pattern framed when it is in the category (else the
  // category's first one).
  void Prepare(drawing::TCategorieMotifs* categorie, drawing::TListeMotifsBase* liste, int colonnes, int lignes);
  // The cell's rectangle in the grid's viewport.
  QRect RectCellule(int colonne, int ligne) const;
  // Selects a cell (what a click does); -1, -1 selects nothing.
  void SelectionneCellule(int colonne, int ligne);
  // Double click or Enter: the selected pattern is chosen, or a new one is
  // made through the editor.
  void Confirme();
  int ColonneSelectee() const { return col_; }
  int LigneSelectee() const { return ligne_; }
  int LargeurColonne() const { return largeur_; }
  // The previews made so far (the benchmark's and the tests' witness).
  int NombreApercus() const { return apercusFaits_; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  int Nombre() const;
  drawing::TObjetMotifdeBase* Motif(int i) const;
  const QImage& Apercu(int i);
  // The cell under a viewport point; false outside the cells.
  bool CelluleEn(const QPoint& p, int& colonne, int& ligne) const;
  void MajBarres();
  void MajStatut();

  TChoixMotifDlg* forme_;
  QStatusBar* barre_;
  int largeur_;
  int col_ = -1, ligne_ = -1;
  std::vector<QImage> apercus_;
  int apercusFaits_ = 0;
};

// A tab of the chooser: one category's grid.
class TMotifSheet : public QWidget {
  Q_OBJECT
 public:
  TMotifSheet(drawing::TCategorieMotifs* categorie, TChoixMotifDlg* forme, QStatusBar* barre, int largeurCellule,
              QWidget* parent = nullptr);
  drawing::TCategorieMotifs* Categorie;
  TGrilleMotifs* Grille;
};

// Controls: the tabs "PagesMotifs", each a TMotifSheet, and the status bar
// "BarreEtat".
class TChoixMotifDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr int ResultatOK = 1;
  static constexpr int ResultatOui = 6;
  static constexpr int ResultatAnnuler = 2;

  explicit TChoixMotifDlg(QWidget* parent = nullptr);

  // Prepares the window for a list: its tabs, caption, grid size, active
  // tab, position and size.  The caller then shows it with exec().
  void InitChoixMotif(drawing::TListeMotifsBase& liste);

  QTabWidget* PagesMotifs;
  QStatusBar* BarreEtat;
  int NbreCols = 4, NbreLignes = 1;
  TGrilleMotifs* GrilleMotifs = nullptr;
  // The window size the formula gives for the grid (before the screen bounds it).
  QSize TailleCalculee;

  // Escape: Cancel (2).
  void reject() override;

 private:
  void ActivePage(int index);
  drawing::TListeMotifsBase* liste_ = nullptr;
};

}  // namespace views
