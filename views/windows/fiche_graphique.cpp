#include "views/windows/fiche_graphique.h"

#include <QBitmap>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "platform/qt/qt_canvas.h"
#include "views/windows/visu_compo_dlg.h"

namespace views {

namespace {

TNoyauGraphique::Bouton BoutonDe(Qt::MouseButton b) {
  switch (b) {
    case Qt::RightButton: return TNoyauGraphique::Bouton::Droit;
    case Qt::MiddleButton: return TNoyauGraphique::Bouton::Milieu;
    default: return TNoyauGraphique::Bouton::Gauche;
  }
}

TNoyauGraphique::EtatTouches TouchesDe(const QMouseEvent* e, bool dbl) {
  TNoyauGraphique::EtatTouches t;
  t.Ctrl = e->modifiers() & Qt::ControlModifier;
  t.Maj = e->modifiers() & Qt::ShiftModifier;
  t.Double = dbl;
  return t;
}

}  // namespace

// --- Paint box -----------------------------------------------------------------------------------

TBoiteDessin::TBoiteDessin(TBaseGraphGravelune& fenetre, QWidget* parent) : QWidget(parent), fenetre_(fenetre) {
  setObjectName("BaseDessin");
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TBoiteDessin::paintEvent(QPaintEvent* e) { fenetre_.PeintBoite(e); }
void TBoiteDessin::mousePressEvent(QMouseEvent* e) { fenetre_.SourisAppuyee(e); }
void TBoiteDessin::mouseReleaseEvent(QMouseEvent* e) { fenetre_.SourisRelachee(e); }
void TBoiteDessin::mouseDoubleClickEvent(QMouseEvent* e) { fenetre_.SourisDouble(e); }
void TBoiteDessin::mouseMoveEvent(QMouseEvent* e) { fenetre_.SourisBougee(e); }
void TBoiteDessin::wheelEvent(QWheelEvent* e) {
  fenetre_.Molette(e->angleDelta().y(), e->position().toPoint());
  e->accept();
}

// --- Base window -------------------------------------------------------------------------------

TBaseGraphGravelune::TBaseGraphGravelune(QWidget* parent) : QDialog(parent) {
  setObjectName("BaseGraphGravelune");
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  ZoneDessin = new QScrollArea(this);
  ZoneDessin->setObjectName("ZoneDessin");
  ZoneDessin->setWidgetResizable(true);
  ZoneDessin->setFrameShape(QFrame::NoFrame);
  BaseDessin = new TBoiteDessin(*this, ZoneDessin);
  ZoneDessin->setWidget(BaseDessin);
  cadre_ = std::make_unique<platform::QtCanvas>(1, 1);
}

TBaseGraphGravelune::~TBaseGraphGravelune() = default;

int32_t TBaseGraphGravelune::LargeurBoite() const { return BaseDessin ? BaseDessin->width() : 0; }
int32_t TBaseGraphGravelune::HauteurBoite() const { return BaseDessin ? BaseDessin->height() : 0; }

void TBaseGraphGravelune::Repeint() {
  if (!enPeinture_ && BaseDessin) BaseDessin->update();
}

void TBaseGraphGravelune::RepeintZone(const platform::Rect& r) {
  if (!enPeinture_ && BaseDessin && !r.Empty()) BaseDessin->update(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

QCursor TBaseGraphGravelune::CurseurLoupe() {
  // A magnifier of our own: a lens with its handle, hot spot at the lens centre.
  QPixmap image(32, 32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(Qt::white, 4));
  p.drawEllipse(QPoint(12, 12), 8, 8);
  p.drawLine(18, 18, 28, 28);
  p.setPen(QPen(Qt::black, 2));
  p.drawEllipse(QPoint(12, 12), 8, 8);
  p.drawLine(18, 18, 28, 28);
  p.end();
  return QCursor(image, 12, 12);
}

void TBaseGraphGravelune::FixeCurseur(Curseur c) {
  curseur_ = c;
  switch (c) {
    case Curseur::Normal: BaseDessin->unsetCursor(); break;
    case Curseur::Croix: BaseDessin->setCursor(Qt::CrossCursor); break;
    case Curseur::Loupe: BaseDessin->setCursor(CurseurLoupe()); break;
    case Curseur::Main: BaseDessin->setCursor(Qt::PointingHandCursor); break;
  }
}

void TBaseGraphGravelune::SignaleErreurCalque() {
  // Never a message box from inside the paint: after it, once.
  if (enPeinture_) {
    QTimer::singleShot(0, this, [this] { TNoyauGraphique::SignaleErreurCalque(); });
    return;
  }
  TNoyauGraphique::SignaleErreurCalque();
}

void TBaseGraphGravelune::SourisAppuyee(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  clicGauche_ = e->button() == Qt::LeftButton;
  BaseDessinMouseDown(BoutonDe(e->button()), TouchesDe(e, false), p.x(), p.y());
}

void TBaseGraphGravelune::SourisRelachee(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (e->button() == Qt::LeftButton && clicGauche_ && BaseDessin->rect().contains(p)) {
    clicGauche_ = false;
    BaseDessinClick();
  }
  BaseDessinMouseUp(BoutonDe(e->button()), TouchesDe(e, false), p.x(), p.y());
}

void TBaseGraphGravelune::SourisDouble(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  clicGauche_ = false;
  BaseDessinMouseDown(BoutonDe(e->button()), TouchesDe(e, true), p.x(), p.y());
  if (e->button() == Qt::LeftButton) BaseDessinDblClick();
}

void TBaseGraphGravelune::SourisBougee(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  BaseDessinMouseMove(TouchesDe(e, false), p.x(), p.y());
}

void TBaseGraphGravelune::Molette(int angle, QPoint positionBoite) {
  cumulMolette_ += angle;
  while (cumulMolette_ >= 120) {
    cumulMolette_ -= 120;
    FormMouseWheel(true, positionBoite.x(), positionBoite.y());
  }
  while (cumulMolette_ <= -120) {
    cumulMolette_ += 120;
    FormMouseWheel(false, positionBoite.x(), positionBoite.y());
  }
}

void TBaseGraphGravelune::wheelEvent(QWheelEvent* e) {
  Molette(e->angleDelta().y(), BaseDessin->mapFrom(this, e->position().toPoint()));
  e->accept();
}

void TBaseGraphGravelune::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    // Esc closes a zoom window, never the window itself.
    FormKeyDown(ToucheEchap);
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

void TBaseGraphGravelune::PeintBoite(QPaintEvent* e) {
  enPeinture_ = true;
  const int32_t w = LargeurBoite(), h = HauteurBoite();
  if (BmpDessin->Width() != w || BmpDessin->Height() != h) AfficheVue(true);
  auto& v = foundation::Vue();
  v.LargeurPaintBox = BmpDessin->Width();
  v.HauteurPaintBox = BmpDessin->Height();
  const QRect zone = e->rect().intersected(QRect(0, 0, w, h));
  QPainter p(BaseDessin);
  const auto* dessin = dynamic_cast<const platform::QtCanvas*>(BmpDessin.get());
  if (DeplacementEnCours && dessin) {
    // The finished drawing shifted by the drag, white around it.
    const QRect image(XDeplace, YDeplace, dessin->Width(), dessin->Height());
    for (const QRect& bande : QRegion(zone).subtracted(QRegion(image))) p.fillRect(bande, Qt::white);
    p.drawImage(QPoint(XDeplace, YDeplace), dessin->Image());
  } else {
    // The drawing with the overlays, over the rectangle to paint only.
    if (cadre_->Width() != w || cadre_->Height() != h) cadre_ = std::make_unique<platform::QtCanvas>(w, h);
    const platform::Rect r{zone.left(), zone.top(), zone.right() + 1, zone.bottom() + 1};
    cadre_->ClearClipRect();
    cadre_->Copy = platform::CopyMode::SrcCopy;
    cadre_->CopyRect(r, *BmpDessin, r);
    cadre_->SetClipRect(r);
    DessineSurcouches(*cadre_);
    cadre_->ClearClipRect();
    p.drawImage(zone, cadre_->Image(), zone);
  }
  enPeinture_ = false;
}

// --- Layered drawing window ------------------------------------------------------------------------

TFicheGraphique::TFicheGraphique(QWidget* parent) : TBaseGraphGravelune(parent) {
  setObjectName("FicheGraphique");
  PanelZooms = new QWidget(this);
  PanelZooms->setObjectName("PanelZooms");
  auto* zooms = new QVBoxLayout(PanelZooms);
  const auto bouton = [&](QToolButton*& b, const char* nom, const char* aide, const char* texte) {
    b = new QToolButton(PanelZooms);
    b->setObjectName(nom);
    b->setToolTip(QString::fromUtf8(aide));
    b->setText(QString::fromUtf8(texte));
    b->setFocusPolicy(Qt::NoFocus);
    zooms->addWidget(b);
  };
  bouton(ButtonTotal, "ButtonTotal", "Zoom général", "[ ]");
  bouton(ButtonPlus, "ButtonPlus", "Zoom Plus", "+");
  bouton(ButtonMoins, "ButtonMoins", "Zoom Moins", "-");
  bouton(ButtonPreced, "ButtonPreced", "Zoom Précédent", "<");
  bouton(ChoixObjetsVisuBtn, "ChoixObjetsVisuBtn", "Sélection des objets affichables", "...");
  PanelOutils = new QWidget(this);
  PanelOutils->setObjectName("PanelOutils");
  auto* outils = new QVBoxLayout(PanelOutils);
  RegleBtn = new QToolButton(PanelOutils);
  RegleBtn->setObjectName("RegleBtn");
  RegleBtn->setToolTip(QString::fromUtf8("Mesurer une distance"));
  RegleBtn->setText(QString::fromUtf8("↔"));
  RegleBtn->setCheckable(true);
  RegleBtn->setFocusPolicy(Qt::NoFocus);
  outils->addWidget(RegleBtn);
  outils->addStretch();
  auto* gauche = new QVBoxLayout;
  gauche->addWidget(PanelZooms);
  gauche->addWidget(PanelOutils);
  gauche->addStretch();
  CadreDessin = new QFrame(this);
  CadreDessin->setObjectName("CadreDessin");
  CadreDessin->setFrameShape(QFrame::StyledPanel);
  auto* cadre = new QVBoxLayout(CadreDessin);
  cadre->setContentsMargins(2, 2, 2, 2);
  cadre->addWidget(ZoneDessin);
  auto* tout = new QHBoxLayout(this);
  tout->addLayout(gauche);
  tout->addWidget(CadreDessin, 1);
  connect(ButtonTotal, &QToolButton::clicked, this, [this] {
    ZoomeCavite(ZoomGeneral);
    DessinActif();
  });
  connect(ButtonPlus, &QToolButton::clicked, this, [this] {
    ZoomeValeur(2.0 / 3.0);
    DessinActif();
  });
  connect(ButtonMoins, &QToolButton::clicked, this, [this] {
    ZoomeValeur(1.5);
    DessinActif();
  });
  connect(ButtonPreced, &QToolButton::clicked, this, [this] {
    ZoomPrecedent();
    DessinActif();
  });
  connect(RegleBtn, &QToolButton::clicked, this, [this] {
    ActiveRegle();
    if (!RegleActive) Repeint();
    DessinActif();
  });
  connect(ChoixObjetsVisuBtn, &QToolButton::clicked, this, [this] { ChoisitComposants(); });
}

TFicheGraphique::~TFicheGraphique() = default;

int TFicheGraphique::Execute() {
  // The screen's whole work area also where no window manager maximises
  // the window (a bare X server), so that the drawing is readable.
  if (const QScreen* ecran = screen()) setGeometry(ecran->availableGeometry());
  setWindowState(windowState() | Qt::WindowMaximized);
  return exec();
}

void TFicheGraphique::DessinActif() { setFocus(); }

bool TFicheGraphique::ChoisitComposants() {
  TVisuCompoDlg dlg(VoirCavitesVoisines, this);
  dlg.Init(ObjetsAffichables, ComposCoupe, AViseesHabi);
  const bool ok = dlg.exec() == QDialog::Accepted;
  if (ok) {
    dlg.TransfereValeurs(ObjetsAffichables);
    RedessineVue();
  }
  DessinActif();
  return ok;
}

void TFicheGraphique::FormCanResize() {
  const bool barreH = ZoneDessin->horizontalScrollBar()->isVisible();
  if ((HorzTailleMin > 0 && BaseDessin->width() < HorzTailleMin) || barreH)
    BaseDessin->setMinimumWidth(std::max(HorzTailleMin, 0));
  else
    BaseDessin->setMinimumWidth(0);
  BaseDessin->setMinimumHeight(std::max(VertTailleMin, 0));
}

void TFicheGraphique::resizeEvent(QResizeEvent* e) {
  FormCanResize();
  QDialog::resizeEvent(e);
}

void TFicheGraphique::done(int r) {
  FormClose();
  QDialog::done(r);
}

}  // namespace views
