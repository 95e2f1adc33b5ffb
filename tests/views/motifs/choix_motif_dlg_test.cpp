// The pattern chooser on small lists of line styles and fonts: tabs, grid
// size, window size, the framed cell and the add cell probed on the grabbed
// grid, and the three ways out (OK, Yes, Cancel).
#include <QKeyEvent>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

#include "drawing/fonte.h"
#include "drawing/objet_trait.h"
#include "tests/views/motifs/outils_fenetres_motifs.h"
#include "views/motifs/choix_motif_dlg.h"

namespace {

using namespace essaimotifs;
using drawing::TListeMotifs;
using drawing::TObjetTrait;
using views::TChoixMotifDlg;
using views::TGrilleMotifs;

constexpr uint32_t Rouge = 0x0000FF, Blanc = 0xFFFFFF;

// A list of black line styles "m0", "m1"...; each name's category by its
// index (none for an empty name).
class Liste {
 public:
  explicit Liste(int n, const std::vector<std::string>& categories = {}) {
    for (int i = 0; i < n; ++i) {
      auto t = std::make_unique<TObjetTrait>();
      t->DesignMotif = "m" + std::to_string(i);
      const std::string nom = i < static_cast<int>(categories.size()) ? categories[static_cast<size_t>(i)] : "";
      if (!nom.empty()) t->UneCategorie = Categorie(nom);
      l.AjouteMotif(std::move(t));
    }
  }
  drawing::TCategorieMotifs* Categorie(const std::string& nom) {
    for (const auto& c : l.ListeCategories)
      if (c->UnNomCategorie == nom) return c.get();
    return l.AjouteCategorie(nom);
  }
  TObjetTrait* Motif(int i) { return static_cast<TObjetTrait*>(l.UnObjet(i)); }
  TListeMotifs l{foundation::ClasseDe<TObjetTrait>(), drawing::TTypeMotif::tmTrait};
};

QStringList Onglets(const TChoixMotifDlg& d) {
  QStringList r;
  for (int i = 0; i < d.PagesMotifs->count(); ++i) r << d.PagesMotifs->tabText(i);
  return r;
}

void Touche(QWidget* w, int touche) {
  QKeyEvent e(QEvent::KeyPress, touche, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

QPoint Centre(const TGrilleMotifs& g, int c, int l) { return g.RectCellule(c, l).center(); }

class ChoixMotif : public FenetresMotifs {};

TEST_F(ChoixMotif, TailleDeLaGrille) {
  struct Cas {
    int motifs, colonnes, lignes;
  };
  // m = patterns + 1: up to 10, four columns; above, the square root rule.
  for (const Cas& c : {Cas{0, 4, 1}, Cas{3, 4, 1}, Cas{5, 4, 2}, Cas{9, 4, 3}, Cas{10, 4, 3}, Cas{11, 4, 3},
                       Cas{15, 4, 4}, Cas{16, 5, 4}, Cas{999, 33, 31}, Cas{1000, 33, 31}, Cas{1023, 32, 32}}) {
    const views::TTailleGrille t = views::TailleGrilleMotifs(c.motifs + 1);
    EXPECT_EQ(t.Colonnes, c.colonnes) << c.motifs;
    EXPECT_EQ(t.Lignes, c.lignes) << c.motifs;
  }
  // Through the window: the largest tab sets the size of every tab.
  for (const Cas& c : {Cas{11, 4, 3}, Cas{10, 4, 3}, Cas{5, 4, 2}}) {
    Liste liste(c.motifs + 2, std::vector<std::string>(static_cast<size_t>(c.motifs), "A"));
    TChoixMotifDlg d;
    d.InitChoixMotif(liste.l);
    EXPECT_EQ(Onglets(d), (QStringList{"Non définie", "A"})) << c.motifs;
    EXPECT_EQ(d.NbreCols, c.colonnes) << c.motifs;
    EXPECT_EQ(d.NbreLignes, c.lignes) << c.motifs;
    EXPECT_EQ(d.GrilleMotifs->NbreLignes, c.lignes) << c.motifs;
  }
}

TEST_F(ChoixMotif, UnOngletParCategorieNonVide) {
  struct Cas {
    const char* nom;
    int motifs;
    std::vector<std::string> categories;
    std::vector<std::string> videes;  // categories without patterns
    QStringList onglets;
  };
  const Cas cas[] = {
      {"no category anywhere", 3, {}, {}, {"Non définie"}},
      {"every pattern categorised", 3, {"A", "B", "A"}, {}, {"A", "B"}},
      {"an empty category", 3, {"", "B", ""}, {"A"}, {"Non définie", "B"}},
      {"an empty list", 0, {}, {"A"}, {"Non définie"}},
  };
  for (const Cas& c : cas) {
    Liste liste(c.motifs, c.categories);
    for (const std::string& v : c.videes) liste.Categorie(v);
    TChoixMotifDlg d;
    d.InitChoixMotif(liste.l);
    EXPECT_EQ(Onglets(d), c.onglets) << c.nom;
    EXPECT_EQ(d.windowTitle(), "choix d'un trait") << c.nom;
    EXPECT_EQ(d.pos(), QPoint(100, 100)) << c.nom;
  }
  // The empty list's one tab holds only the add cell, which makes the
  // first pattern.
  Liste vide(0);
  drawing::Ports().EditeMotif = [](drawing::TObjetMotifdeBase& m) {
    m.DesignMotif = "premier";
    return true;
  };
  TChoixMotifDlg d;
  d.InitChoixMotif(vide.l);
  d.show();
  TGrilleMotifs& g = *d.GrilleMotifs;
  Clique(g.viewport(), Centre(g, 0, 0));
  EXPECT_TRUE(g.AjoutOk);
  EXPECT_EQ(d.BarreEtat->currentMessage(), "ajout d'un trait");
  Touche(&g, Qt::Key_Return);
  EXPECT_EQ(d.result(), TChoixMotifDlg::ResultatOui);
  ASSERT_EQ(vide.l.Count(), 1);
  EXPECT_EQ(vide.l.MotifSelecte()->DesignMotif, "premier");
}

TEST_F(ChoixMotif, OngletActifEtCadreRougeDuMotifSelectionne) {
  Liste liste(9, {"", "", "A", "A", "A", "A", "A", "A", "A"});
  liste.l.SetMotifSelecte(liste.Motif(7));  // the sixth of "A": column 1, row 1
  TChoixMotifDlg d;
  d.InitChoixMotif(liste.l);
  d.show();
  EXPECT_EQ(d.PagesMotifs->currentIndex(), 1);
  TGrilleMotifs& g = *d.GrilleMotifs;
  EXPECT_EQ(d.BarreEtat->currentMessage(), "m7");
  const QImage i = Image(g.viewport());
  const QRect r = g.RectCellule(1, 1);
  EXPECT_EQ(g.InitRect, r);
  const int mx = r.center().x(), my = r.center().y();
  // Three pixels wide, one pixel inside the cell on the left and top, two on
  // the right and bottom.
  for (const QPoint& p : {QPoint(r.left() + 1, my), QPoint(r.left() + 3, my), QPoint(r.right() - 2, my),
                          QPoint(r.right() - 4, my), QPoint(mx, r.top() + 1), QPoint(mx, r.top() + 3),
                          QPoint(mx, r.bottom() - 2), QPoint(mx, r.bottom() - 4)})
    EXPECT_EQ(Pixel(i, p.x(), p.y()), Rouge) << p.x() << "," << p.y();
  for (const QPoint& p : {QPoint(r.left(), my), QPoint(r.right() - 1, my), QPoint(r.right(), my),
                          QPoint(mx, r.top()), QPoint(mx, r.bottom())})
    EXPECT_NE(Pixel(i, p.x(), p.y()), Rouge) << p.x() << "," << p.y();
  const QRect autre = g.RectCellule(0, 0);
  EXPECT_NE(Pixel(i, autre.left() + 2, autre.center().y()), Rouge);

  // The first selection takes the frame to the selected cell.
  Clique(g.viewport(), Centre(g, 2, 0));
  EXPECT_FALSE(g.InitGrille);
  EXPECT_EQ(g.vObjetselecte, liste.Motif(4));
  EXPECT_EQ(d.BarreEtat->currentMessage(), "m4");
  const QImage j = Image(g.viewport());
  EXPECT_NE(Pixel(j, r.left() + 2, my), Rouge);
  const QRect s = g.RectCellule(2, 0);
  EXPECT_EQ(Pixel(j, s.left() + 2, s.center().y()), Rouge);

  // Another tab is prepared the same way: its first pattern framed.
  d.PagesMotifs->setCurrentIndex(0);
  EXPECT_EQ(d.GrilleMotifs, qobject_cast<views::TMotifSheet*>(d.PagesMotifs->widget(0))->Grille);
  EXPECT_EQ(d.GrilleMotifs->InitCol, 0);
  EXPECT_EQ(d.BarreEtat->currentMessage(), "m0");
}

TEST_F(ChoixMotif, CaseDAjout) {
  Liste liste(5);
  TChoixMotifDlg d;
  d.InitChoixMotif(liste.l);
  d.show();
  TGrilleMotifs& g = *d.GrilleMotifs;
  // The add cell follows the fifth pattern: column 1 of row 1.
  const QRect r = g.RectCellule(1, 1);
  const QPoint c(r.left() + 32, r.top() + 32);
  const QImage i = Image(g.viewport());
  for (const QPoint& p : {c, QPoint(c.x() - 12, c.y()), QPoint(c.x() + 12, c.y()), QPoint(c.x(), c.y() - 12),
                          QPoint(c.x(), c.y() + 12), QPoint(c.x() + 8, c.y() - 2), QPoint(c.x() + 8, c.y() + 2)})
    EXPECT_EQ(Pixel(i, p.x(), p.y()), Rouge) << p.x() << "," << p.y();
  for (const QPoint& p : {QPoint(c.x() + 13, c.y()), QPoint(c.x(), c.y() - 13), QPoint(c.x() + 8, c.y() + 3),
                          QPoint(c.x() + 8, c.y() + 8), QPoint(r.left() + 2, c.y())})
    EXPECT_EQ(Pixel(i, p.x(), p.y()), Blanc) << p.x() << "," << p.y();
  // Selected, it is framed.
  Clique(g.viewport(), c);
  EXPECT_TRUE(g.AjoutOk);
  EXPECT_FALSE(g.SelectOk);
  EXPECT_EQ(d.BarreEtat->currentMessage(), "ajout d'un trait");
  EXPECT_EQ(Pixel(Image(g.viewport()), r.left() + 2, c.y()), Rouge);
  // The cells after it are empty and choose nothing.
  Clique(g.viewport(), Centre(g, 3, 1));
  EXPECT_FALSE(g.AjoutOk || g.SelectOk);
  Touche(&g, Qt::Key_Return);
  EXPECT_TRUE(d.isVisible());
}

TEST_F(ChoixMotif, DoubleClicEntreeEtEchap) {
  // A double click chooses the pattern, which becomes the only selected one.
  {
    Liste liste(6);
    liste.Motif(1)->Selecte = true;
    liste.Motif(2)->Selecte = true;
    TChoixMotifDlg d;
    d.InitChoixMotif(liste.l);
    QTimer::singleShot(0, &d, [&] {
      TGrilleMotifs& g = *d.GrilleMotifs;
      Clique(g.viewport(), Centre(g, 0, 1), true);
    });
    EXPECT_EQ(d.exec(), TChoixMotifDlg::ResultatOK);
    EXPECT_EQ(liste.l.MotifSelecte(), liste.Motif(4));
    for (int i = 0; i < liste.l.Count(); ++i) EXPECT_EQ(liste.Motif(i)->Selecte, i == 4) << i;
  }
  // Enter on the add cell: the editor cancelled keeps the chooser open, the
  // editor confirming closes it with Yes and the new pattern selected.
  {
    Liste liste(3);
    bool confirme = false;
    int ouvertures = 0;
    drawing::Ports().EditeMotif = [&](drawing::TObjetMotifdeBase& m) {
      ++ouvertures;
      m.DesignMotif = "nouveau";
      return confirme;
    };
    TChoixMotifDlg d;
    d.InitChoixMotif(liste.l);
    d.show();
    TGrilleMotifs& g = *d.GrilleMotifs;
    Touche(&g, Qt::Key_Right);  // from the framed first pattern
    EXPECT_EQ(g.ColonneSelectee(), 1);
    Touche(&g, Qt::Key_Right);
    Touche(&g, Qt::Key_Right);
    EXPECT_TRUE(g.AjoutOk);
    Touche(&g, Qt::Key_Return);
    EXPECT_EQ(ouvertures, 1);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(liste.l.Count(), 3);
    confirme = true;
    QKeyEvent entree(QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
    QApplication::sendEvent(&g, &entree);
    EXPECT_EQ(d.result(), TChoixMotifDlg::ResultatOui);
    ASSERT_EQ(liste.l.Count(), 4);
    EXPECT_EQ(liste.l.MotifSelecte(), liste.l.UnObjet(3));
    EXPECT_EQ(liste.l.UnObjet(3)->DesignMotif, "nouveau");
  }
  // Escape: Cancel, nothing selected changes.
  {
    Liste liste(3);
    liste.l.SetMotifSelecte(liste.Motif(1));
    TChoixMotifDlg d;
    d.InitChoixMotif(liste.l);
    d.show();
    Clique(d.GrilleMotifs->viewport(), Centre(*d.GrilleMotifs, 2, 0));
    Touche(d.GrilleMotifs, Qt::Key_Escape);
    EXPECT_EQ(d.result(), TChoixMotifDlg::ResultatAnnuler);
    EXPECT_EQ(liste.l.MotifSelecte(), liste.Motif(1));
  }
}

TEST_F(ChoixMotif, TailleDeLaFenetre) {
  struct Cas {
    const char* nom;
    bool fontes;
    int motifs;
    int colonnes, lignes, largeurColonne;
  };
  for (const Cas& c : {Cas{"line styles", false, 11, 4, 3, 64}, Cas{"fonts", true, 11, 4, 3, 150}}) {
    Liste traits(c.motifs);
    drawing::TListeFontes fontes;
    fontes.InitDefaut();
    TChoixMotifDlg d;
    d.InitChoixMotif(c.fontes ? static_cast<drawing::TListeMotifsBase&>(fontes) : traits.l);
    d.show();
    const int barre = d.BarreEtat->sizeHint().height();
    const QSize attendue(1 * (c.colonnes + 1) + c.colonnes * c.largeurColonne + 35,
                         1 * (c.lignes + 1) + barre + c.lignes * 64 + 75);
    EXPECT_EQ(d.TailleCalculee, attendue) << c.nom;
    EXPECT_EQ(d.size(), attendue) << c.nom;
    EXPECT_EQ(d.GrilleMotifs->LargeurColonne(), c.largeurColonne) << c.nom;
    EXPECT_EQ(d.GrilleMotifs->RectCellule(1, 0).left(), c.largeurColonne + 1) << c.nom;
    // The whole grid is seen: the last row's last cell is inside the view.
    const QRect fin = d.GrilleMotifs->RectCellule(c.colonnes - 1, c.lignes - 1);
    EXPECT_TRUE(d.GrilleMotifs->viewport()->rect().contains(fin)) << c.nom;
  }
}

TEST_F(ChoixMotif, GrandeListeApercusDesSeulesCasesVisibles) {
  Liste liste(1000);
  TChoixMotifDlg d;
  d.InitChoixMotif(liste.l);
  d.show();
  TGrilleMotifs& g = *d.GrilleMotifs;
  EXPECT_EQ(d.NbreCols, 33);
  EXPECT_EQ(d.NbreLignes, 31);
  const QSize ecran = QGuiApplication::primaryScreen()->availableGeometry().size();
  EXPECT_LE(d.width(), ecran.width());
  EXPECT_LE(d.height(), ecran.height());
  Image(g.viewport());
  const int visibles = (g.viewport()->width() / 65 + 2) * (g.viewport()->height() / 65 + 2);
  EXPECT_GT(g.NombreApercus(), 0);
  EXPECT_LE(g.NombreApercus(), visibles);
  // The last pattern, reached with the keys, scrolls into view and gets its
  // preview, framed; the keys go on to the grid's last cell.
  Clique(g.viewport(), Centre(g, 0, 0));
  for (int k = 0; k < 9; ++k) Touche(&g, Qt::Key_Right);
  for (int k = 0; k < 30; ++k) Touche(&g, Qt::Key_Down);
  EXPECT_EQ(g.vObjetselecte, liste.Motif(999));
  EXPECT_EQ(d.BarreEtat->currentMessage(), "m999");
  const QRect r = g.RectCellule(9, 30);
  EXPECT_TRUE(g.viewport()->rect().contains(r));
  const int avant = g.NombreApercus();
  const QImage i = Image(g.viewport());
  EXPECT_GT(g.NombreApercus(), avant);
  EXPECT_EQ(Pixel(i, r.left() + 2, r.center().y()), Rouge) << "the selected cell is framed";
  for (int k = 0; k < 40; ++k) Touche(&g, Qt::Key_Right);
  EXPECT_EQ(g.ColonneSelectee(), 32);
  EXPECT_TRUE(g.viewport()->rect().contains(g.RectCellule(32, 30)));
}

}  // namespace
