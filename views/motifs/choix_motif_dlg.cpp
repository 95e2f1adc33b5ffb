#include "views/motifs/choix_motif_dlg.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "drawing/liste_motifs_base.h"
#include "foundation/catalogue.h"
#include "platform/qt/conversions_qt.h"
#include "platform/qt/qt_canvas.h"
#include "views/motifs/editeurs_motifs.h"

namespace views {

using foundation::IdMsg;
using platform::qt::Q;

namespace {

const QColor CouleurTrait(192, 192, 192);
const QColor Rouge(255, 0, 0);
// The frame of the framed cell: 3 pixels wide, 1 pixel inside the cell on
// the left and top, 2 on the right and bottom.
constexpr int EpaisseurCadre = 3;
// The add cell's cross: strokes 5 pixels wide, arms of 12 pixels.
constexpr int LargeurCroix = 5, BrasCroix = 12;

QString MotType(const drawing::TListeMotifsBase* liste) {
  return liste ? Q(drawing::NomTypeMotif(liste->TypeMotifListe())) : QString();
}

}  // namespace

TTailleGrille TailleGrilleMotifs(int m) {
  m = std::max(m, 1);
  if (m <= 10) return {4, (m - 1) / 4 + 1};
  int n = static_cast<int>(std::sqrt(static_cast<double>(m)));
  while (static_cast<int64_t>(n + 1) * (n + 1) <= m) ++n;
  while (static_cast<int64_t>(n) * n > m) --n;
  TTailleGrille t{n, n};
  while (static_cast<int64_t>(t.Colonnes) * t.Lignes < m) ++t.Colonnes;
  return t;
}

// --- The grid ----------------------------------------------------------------

TGrilleMotifs::TGrilleMotifs(TChoixMotifDlg* forme, QStatusBar* barre, int largeurCellule, QWidget* parent)
    : QAbstractScrollArea(parent), forme_(forme), barre_(barre), largeur_(largeurCellule) {
  setObjectName(QStringLiteral("GrilleMotifs"));
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  setFrameShape(QFrame::NoFrame);
}

int TGrilleMotifs::Nombre() const { return ListeCatEnCours ? ListeCatEnCours->Count() : 0; }

drawing::TObjetMotifdeBase* TGrilleMotifs::Motif(int i) const {
  return ListeCatEnCours ? ListeCatEnCours->LeMotifDeBase(i) : nullptr;
}

void TGrilleMotifs::Prepare(drawing::TCategorieMotifs* categorie, drawing::TListeMotifsBase* liste, int colonnes,
                            int lignes) {
  ListeCatEnCours = categorie;
  ListeMotifsEnCours = liste;
  NbreCols = std::max(1, colonnes);
  NbreLignes = std::max(1, lignes);
  col_ = ligne_ = -1;
  vObjetselecte = nullptr;
  AjoutOk = SelectOk = false;
  apercus_.assign(static_cast<size_t>(Nombre()), QImage());
  // The list's selected pattern when it is in the category, else the first.
  const drawing::TObjetMotifdeBase* selection = liste ? liste->MotifSelecte() : nullptr;
  int initial = Nombre() > 0 ? 0 : -1;
  for (int i = 0; i < Nombre(); ++i)
    if (Motif(i) == selection) initial = i;
  InitGrille = initial >= 0;
  InitCol = initial >= 0 ? initial % NbreCols : -1;
  InitLigne = initial >= 0 ? initial / NbreCols : -1;
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  InitRect = initial >= 0 ? RectCellule(InitCol, InitLigne) : QRect();
  MajBarres();
  MajStatut();
  viewport()->update();
}

QRect TGrilleMotifs::RectCellule(int colonne, int ligne) const {
  return QRect(colonne * (largeur_ + LargeurTrait) - horizontalScrollBar()->value(),
               ligne * (HauteurCellule + LargeurTrait) - verticalScrollBar()->value(), largeur_, HauteurCellule);
}

bool TGrilleMotifs::CelluleEn(const QPoint& p, int& colonne, int& ligne) const {
  const int x = p.x() + horizontalScrollBar()->value(), y = p.y() + verticalScrollBar()->value();
  if (x < 0 || y < 0) return false;
  colonne = x / (largeur_ + LargeurTrait);
  ligne = y / (HauteurCellule + LargeurTrait);
  return colonne < NbreCols && ligne < NbreLignes;
}

const QImage& TGrilleMotifs::Apercu(int i) {
  QImage& image = apercus_[static_cast<size_t>(i)];
  if (image.isNull()) {
    platform::QtCanvas canvas(largeur_, HauteurCellule);
    Motif(i)->DessineVisuMotif(canvas, {0, 0, largeur_, HauteurCellule});
    image = canvas.Image();
    ++apercusFaits_;
  }
  return image;
}

void TGrilleMotifs::paintEvent(QPaintEvent* e) {
  QPainter p(viewport());
  const QRect zone = e->rect();
  p.fillRect(zone, Qt::white);
  const int pasX = largeur_ + LargeurTrait, pasY = HauteurCellule + LargeurTrait;
  const int x0 = zone.left() + horizontalScrollBar()->value(), y0 = zone.top() + verticalScrollBar()->value();
  const int c0 = std::max(0, x0 / pasX), l0 = std::max(0, y0 / pasY);
  const int c1 = std::min(NbreCols - 1, (x0 + zone.width()) / pasX);
  const int l1 = std::min(NbreLignes - 1, (y0 + zone.height()) / pasY);
  const bool ajout = ListeMotifsEnCours && EditeurMotifDisponible(ListeMotifsEnCours->TypeMotifListe());
  const int cadreCol = InitGrille ? InitCol : col_, cadreLigne = InitGrille ? InitLigne : ligne_;
  for (int l = l0; l <= l1; ++l) {
    for (int c = c0; c <= c1; ++c) {
      const QRect r = RectCellule(c, l);
      p.fillRect(QRect(r.right() + 1, r.top(), LargeurTrait, pasY), CouleurTrait);
      p.fillRect(QRect(r.left(), r.bottom() + 1, pasX, LargeurTrait), CouleurTrait);
      const int i = c + l * NbreCols;
      const bool encadree = c == cadreCol && l == cadreLigne;
      if (i < Nombre()) {
        p.drawImage(r.topLeft(), Apercu(i));
      } else if (i == Nombre() && ajout) {
        const QPoint centre(r.left() + largeur_ / 2, r.top() + HauteurCellule / 2);
        p.fillRect(QRect(centre.x() - BrasCroix, centre.y() - LargeurCroix / 2, 2 * BrasCroix + 1, LargeurCroix), Rouge);
        p.fillRect(QRect(centre.x() - LargeurCroix / 2, centre.y() - BrasCroix, LargeurCroix, 2 * BrasCroix + 1), Rouge);
        if (InitGrille || !AjoutOk) continue;
      } else {
        continue;
      }
      if (!encadree) continue;
      const QRect cadre(r.left() + 1, r.top() + 1, r.width() - 3, r.height() - 3);
      p.fillRect(QRect(cadre.left(), cadre.top(), cadre.width(), EpaisseurCadre), Rouge);
      p.fillRect(QRect(cadre.left(), cadre.bottom() - EpaisseurCadre + 1, cadre.width(), EpaisseurCadre), Rouge);
      p.fillRect(QRect(cadre.left(), cadre.top(), EpaisseurCadre, cadre.height()), Rouge);
      p.fillRect(QRect(cadre.right() - EpaisseurCadre + 1, cadre.top(), EpaisseurCadre, cadre.height()), Rouge);
    }
  }
}

void TGrilleMotifs::SelectionneCellule(int colonne, int ligne) {
  if (InitGrille) InitGrille = false;
  col_ = colonne;
  ligne_ = ligne;
  const int i = colonne >= 0 && ligne >= 0 ? colonne + ligne * NbreCols : -1;
  vObjetselecte = i >= 0 ? Motif(i) : nullptr;
  SelectOk = vObjetselecte != nullptr;
  AjoutOk = i >= 0 && i == Nombre() && ListeMotifsEnCours &&
            EditeurMotifDisponible(ListeMotifsEnCours->TypeMotifListe());
  if (colonne >= 0 && ligne >= 0) {
    // Scrolled so that the cell is seen whole.
    const QRect r = RectCellule(colonne, ligne);
    const QRect vue = viewport()->rect();
    if (r.left() < 0) horizontalScrollBar()->setValue(horizontalScrollBar()->value() + r.left());
    if (r.right() > vue.right()) horizontalScrollBar()->setValue(horizontalScrollBar()->value() + r.right() - vue.right());
    if (r.top() < 0) verticalScrollBar()->setValue(verticalScrollBar()->value() + r.top());
    if (r.bottom() > vue.bottom()) verticalScrollBar()->setValue(verticalScrollBar()->value() + r.bottom() - vue.bottom());
  }
  MajStatut();
  viewport()->update();
}

void TGrilleMotifs::Confirme() {
  if (!ListeMotifsEnCours) return;
  if (SelectOk && vObjetselecte) {
    ListeMotifsEnCours->SetMotifSelecte(vObjetselecte);
    forme_->done(TChoixMotifDlg::ResultatOK);
  } else if (AjoutOk) {
    if (ListeMotifsEnCours->AjoutMotif(false)) forme_->done(TChoixMotifDlg::ResultatOui);
  }
}

void TGrilleMotifs::MajStatut() {
  if (!barre_) return;
  if (AjoutOk) {
    barre_->showMessage(Q(foundation::Msg(IdMsg::MotifsAjoutDUn)) + MotType(ListeMotifsEnCours));
    return;
  }
  const int col = InitGrille ? InitCol : col_, ligne = InitGrille ? InitLigne : ligne_;
  const drawing::TObjetMotifdeBase* m = col >= 0 && ligne >= 0 ? Motif(col + ligne * NbreCols) : nullptr;
  if (m)
    barre_->showMessage(Q(m->DesignMotif));
  else
    barre_->clearMessage();
}

void TGrilleMotifs::mousePressEvent(QMouseEvent* e) {
  int c = 0, l = 0;
  if (e->button() == Qt::LeftButton && CelluleEn(e->position().toPoint(), c, l)) SelectionneCellule(c, l);
  QAbstractScrollArea::mousePressEvent(e);
}

void TGrilleMotifs::mouseDoubleClickEvent(QMouseEvent* e) {
  int c = 0, l = 0;
  if (e->button() == Qt::LeftButton && CelluleEn(e->position().toPoint(), c, l)) {
    if (c != col_ || l != ligne_) SelectionneCellule(c, l);
    Confirme();
    return;
  }
  QAbstractScrollArea::mouseDoubleClickEvent(e);
}

void TGrilleMotifs::mouseMoveEvent(QMouseEvent* e) {
  int c = 0, l = 0;
  const drawing::TObjetMotifdeBase* m =
      CelluleEn(e->position().toPoint(), c, l) ? Motif(c + l * NbreCols) : nullptr;
  if (m && barre_)
    barre_->showMessage(Q(m->DesignMotif));
  else
    MajStatut();
  QAbstractScrollArea::mouseMoveEvent(e);
}

void TGrilleMotifs::keyPressEvent(QKeyEvent* e) {
  const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && mods == Qt::NoModifier) {
    Confirme();
    return;
  }
  int dc = 0, dl = 0;
  switch (e->key()) {
    case Qt::Key_Left: dc = -1; break;
    case Qt::Key_Right: dc = 1; break;
    case Qt::Key_Up: dl = -1; break;
    case Qt::Key_Down: dl = 1; break;
    default: QAbstractScrollArea::keyPressEvent(e); return;
  }
  int c = col_, l = ligne_;
  if (c < 0 || l < 0) {
    // The first move starts from the framed cell; without one, it selects
    // the first cell.
    c = std::max(InitCol, 0);
    l = std::max(InitLigne, 0);
    if (InitCol < 0) dc = dl = 0;
  }
  SelectionneCellule(std::clamp(c + dc, 0, NbreCols - 1), std::clamp(l + dl, 0, NbreLignes - 1));
}

void TGrilleMotifs::MajBarres() {
  const int largeur = NbreCols * (largeur_ + LargeurTrait), hauteur = NbreLignes * (HauteurCellule + LargeurTrait);
  const QSize vue = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, largeur - vue.width()));
  horizontalScrollBar()->setPageStep(vue.width());
  horizontalScrollBar()->setSingleStep(largeur_ + LargeurTrait);
  verticalScrollBar()->setRange(0, std::max(0, hauteur - vue.height()));
  verticalScrollBar()->setPageStep(vue.height());
  verticalScrollBar()->setSingleStep(HauteurCellule + LargeurTrait);
}

void TGrilleMotifs::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  MajBarres();
}

void TGrilleMotifs::scrollContentsBy(int, int) { viewport()->update(); }

// --- The tab -------------------------------------------------------------------

TMotifSheet::TMotifSheet(drawing::TCategorieMotifs* categorie, TChoixMotifDlg* forme, QStatusBar* barre,
                         int largeurCellule, QWidget* parent)
    : QWidget(parent), Categorie(categorie), Grille(new TGrilleMotifs(forme, barre, largeurCellule, this)) {
  auto* l = new QVBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  l->addWidget(Grille);
}

// --- The window ------------------------------------------------------------------

TChoixMotifDlg::TChoixMotifDlg(QWidget* parent)
    : QDialog(parent), PagesMotifs(new QTabWidget(this)), BarreEtat(new QStatusBar(this)) {
  setObjectName(QStringLiteral("ChoixMotifDlg"));
  PagesMotifs->setObjectName(QStringLiteral("PagesMotifs"));
  BarreEtat->setObjectName(QStringLiteral("BarreEtat"));
  BarreEtat->setSizeGripEnabled(false);
  auto* l = new QVBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  l->setSpacing(0);
  l->addWidget(PagesMotifs, 1);
  l->addWidget(BarreEtat);
  connect(PagesMotifs, &QTabWidget::currentChanged, this, &TChoixMotifDlg::ActivePage);
}

void TChoixMotifDlg::InitChoixMotif(drawing::TListeMotifsBase& liste) {
  liste_ = &liste;
  GrilleMotifs = nullptr;
  {
    const QSignalBlocker bloque(PagesMotifs);
    while (PagesMotifs->count() > 0) {
      QWidget* page = PagesMotifs->widget(0);
      PagesMotifs->removeTab(0);
      delete page;
    }
  }
  liste.CreeListeCategories();
  const drawing::TTypeMotif type = liste.TypeMotifListe();
  const int largeur =
      type == drawing::TTypeMotif::tmFonte ? TGrilleMotifs::LargeurCelluleFonte : TGrilleMotifs::LargeurCellule;
  int m = 1;
  const drawing::TObjetMotifdeBase* selection = liste.MotifSelecte();
  int active = 0;
  const QSignalBlocker bloque(PagesMotifs);
  auto ajoute = [&](drawing::TCategorieMotifs* c, bool memeVide) {
    if (c->Count() == 0 && !memeVide) return;
    const int index = PagesMotifs->addTab(new TMotifSheet(c, this, BarreEtat, largeur), Q(c->UnNomCategorie));
    if (selection && std::find(c->Motifs.begin(), c->Motifs.end(), selection) != c->Motifs.end()) active = index;
    m = std::max(m, c->Count() + 1);
  };
  ajoute(&liste.CatNonDefinie, false);
  for (const auto& c : liste.ListeCategories) ajoute(c.get(), false);
  // An empty list still offers its add cell, on the undefined category's tab.
  if (PagesMotifs->count() == 0) ajoute(&liste.CatNonDefinie, true);

  setWindowTitle(Q(foundation::Msg(IdMsg::MotifsChoixDUn)) + Q(drawing::NomTypeMotif(type)));
  const TTailleGrille t = TailleGrilleMotifs(m);
  NbreCols = t.Colonnes;
  NbreLignes = t.Lignes;
  PagesMotifs->setCurrentIndex(active);
  ActivePage(active);

  const int trait = TGrilleMotifs::LargeurTrait;
  TailleCalculee = QSize(trait * (NbreCols + 1) + NbreCols * largeur + 35,
                         trait * (NbreLignes + 1) + BarreEtat->sizeHint().height() +
                             NbreLignes * TGrilleMotifs::HauteurCellule + 75);
  // A grid larger than the screen scrolls inside a window the screen holds.
  QSize taille = TailleCalculee;
  if (const QScreen* ecran = QGuiApplication::primaryScreen()) {
    const QRect dispo = ecran->availableGeometry();
    taille = taille.boundedTo(QSize(std::max(200, dispo.right() - 100), std::max(150, dispo.bottom() - 100)));
  }
  move(100, 100);
  resize(taille);
}

void TChoixMotifDlg::ActivePage(int index) {
  auto* page = qobject_cast<TMotifSheet*>(PagesMotifs->widget(index));
  if (!page) return;
  GrilleMotifs = page->Grille;
  GrilleMotifs->Prepare(page->Categorie, liste_, NbreCols, NbreLignes);
  GrilleMotifs->setFocus();
}

void TChoixMotifDlg::reject() { done(ResultatAnnuler); }

}  // namespace views
