#include "app/reseau/compens_dlg.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>
#include <numbers>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "platform/dialogs.h"
#include "platform/qt/boutons_dialogue.h"
#include "survey/cavite.h"
#include "survey/compens.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "views/cadres/cadres_projection.h"

namespace app {

using views::TGroupeRadio;

using foundation::IdMsg;
using foundation::Msg;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
QString M(IdMsg id) { return Q(Msg(id)); }

// A real as the dialogs show it: fixed width 20 with the given decimals, trimmed.
std::string Fixe(double x, int decimales) { return foundation::OteBlancs(foundation::ReelEnStrFixe(x, 20, decimales)); }

// Puts the network's active cave back when the preparation ends, also on an exception.
class GardeCaviteActive {
 public:
  GardeCaviteActive(survey::TReseau& r, survey::TCavite* c) : r_(r), sauve_(r.LaCaviteActive) {
    if (c) r.LaCaviteActive = c;
  }
  ~GardeCaviteActive() { r_.LaCaviteActive = sauve_; }
  GardeCaviteActive(const GardeCaviteActive&) = delete;
  GardeCaviteActive& operator=(const GardeCaviteActive&) = delete;

 private:
  survey::TReseau& r_;
  survey::TCavite* sauve_;
};

QLabel* Valeur(QWidget* parent, const char* nom) {
  auto* l = new QLabel(parent);
  l->setObjectName(nom);
  l->setMinimumWidth(100);
  return l;
}

}  // namespace

std::string NomPointCompens(const survey::TPointSpeleo* p) {
  if (!p) return {};
  if (p->EstPointSurface()) return Msg(IdMsg::AppCompensSurface) + p->DesignPTopo;
  return p->DesignPTopo + " / " + survey::NomGalerieDuPoint(p);
}

std::string NomTypeCompensation(int type) {
  switch (type) {
    case survey::CompensPlani: return Msg(IdMsg::AppCompensPlanimetrie);
    case survey::CompensAlti: return Msg(IdMsg::AppCompensAltimetrie);
    case survey::CompensPlaniAlti: return Msg(IdMsg::AppCompensPlaniAlti);
    default: return {};
  }
}

// --- Adjustment -------------------------------------------------------------------------------

TCompensDlg::TCompensDlg(survey::TReseau& reseau, QWidget* parent) : QDialog(parent), reseau_(reseau) {
  setObjectName("CompensDlg");
  setWindowTitle(M(IdMsg::AppCompensCreation));
  auto* haut = new QVBoxLayout(this);

  auto* groupeCavite = new QGroupBox(M(IdMsg::AppCompensPointCavite), this);
  groupeCavite->setObjectName("GroupeCavite");
  auto* fc = new QFormLayout(groupeCavite);
  LabelCavite = Valeur(groupeCavite, "LabelCavite");
  LabelNomPoint = Valeur(groupeCavite, "LabelNomPoint");
  LabelGalerie = Valeur(groupeCavite, "LabelGalerie");
  fc->addRow(LabelCavite);
  fc->addRow(M(IdMsg::AppCompensNomPoint), LabelNomPoint);
  fc->addRow(M(IdMsg::AppCompensGalerie), LabelGalerie);
  haut->addWidget(groupeCavite);

  auto* milieu = new QHBoxLayout;
  auto* groupeSurface = new QGroupBox(M(IdMsg::AppCompensPointSurface), this);
  groupeSurface->setObjectName("GroupeSurface");
  auto* ls = new QVBoxLayout(groupeSurface);
  ListePointsSurface = new QListWidget(groupeSurface);
  ListePointsSurface->setObjectName("ListePointsSurface");
  ls->addWidget(ListePointsSurface);
  milieu->addWidget(groupeSurface, 1);

  auto* groupeEcarts = new QGroupBox(M(IdMsg::AppCompensEcarts), this);
  groupeEcarts->setObjectName("GroupeEcarts");
  auto* fe = new QFormLayout(groupeEcarts);
  EcartX = Valeur(groupeEcarts, "EcartX");
  EcartY = Valeur(groupeEcarts, "EcartY");
  EcartZ = Valeur(groupeEcarts, "EcartZ");
  EcartLh = Valeur(groupeEcarts, "EcartLh");
  fe->addRow(M(IdMsg::AppCompensEnX), EcartX);
  fe->addRow(M(IdMsg::AppCompensEnY), EcartY);
  fe->addRow(M(IdMsg::AppCompensEnZ), EcartZ);
  fe->addRow(M(IdMsg::AppCompensEnLh), EcartLh);
  milieu->addWidget(groupeEcarts);
  haut->addLayout(milieu);

  TypeCompensRdg = new TGroupeRadio(M(IdMsg::AppCompensTypeCompens),
                                    {Msg(IdMsg::AppCompensPlanimetrie), Msg(IdMsg::AppCompensAltimetrie),
                                     Msg(IdMsg::AppCompensPlaniAlti)},
                                    3, this);
  TypeCompensRdg->setObjectName("TypeCompensRdg");
  for (int i = 0; i < TypeCompensRdg->Nombre(); ++i)
    TypeCompensRdg->Item(i)->setObjectName(QStringLiteral("TypeCompensRdg") + QString::number(i));
  TypeCompensRdg->FixeItemIndex(survey::CompensPlaniAlti);
  haut->addWidget(TypeCompensRdg);

  GroupePlani = new QGroupBox(M(IdMsg::AppCompensCorrectionsPlani), this);
  GroupePlani->setObjectName("GroupePlani");
  auto* fp = new QFormLayout(GroupePlani);
  CorrLongueur = Valeur(GroupePlani, "CorrLongueur");
  CorrDirection = Valeur(GroupePlani, "CorrDirection");
  fp->addRow(M(IdMsg::AppCompensEnLongueur), CorrLongueur);
  fp->addRow(M(IdMsg::AppCompensEnDirection), CorrDirection);
  GroupePlani->hide();
  haut->addWidget(GroupePlani);
  GroupeAlti = new QGroupBox(M(IdMsg::AppCompensCorrectionAlti), this);
  GroupeAlti->setObjectName("GroupeAlti");
  auto* fa = new QFormLayout(GroupeAlti);
  CorrHauteur = Valeur(GroupeAlti, "CorrHauteur");
  fa->addRow(M(IdMsg::AppCompensEnHauteur), CorrHauteur);
  GroupeAlti->hide();
  haut->addWidget(GroupeAlti);

  haut->addLayout(platform::qt::BoutonsOKAnnuler(this, OKBtn, &AnnulerBtn));
  connect(ListePointsSurface, &QListWidget::currentRowChanged, this, [this](int) { AfficheEcarts(); });
}

void TCompensDlg::Init(survey::TCavite* cavite, survey::TPointSpeleo* station) {
  reseau_.CalculeReseau();
  PtCavit = station;
  LabelCavite->setText(cavite ? Q(cavite->NomCavite) : QString());
  LabelNomPoint->setText(station ? Q(station->DesignPTopo) : QString());
  LabelGalerie->setText(Q(survey::NomGalerieDuPoint(station)));
  Xp = station ? station->X : 0;
  Yp = station ? station->Y : 0;
  Zp = station ? station->Z : 0;
  // The surface points in the network's order; the nearest in plan is
  // selected, the later one among equally near points.
  const QSignalBlocker bloque(ListePointsSurface);
  ListePointsSurface->clear();
  points_.clear();
  int proche = -1;
  long double meilleure = 0;
  if (const survey::TListedePoints* surface = reseau_.LesPointsSurface())
    for (survey::TPointSpeleo* p : *surface) {
      ListePointsSurface->addItem(Q(p->DesignPTopo));
      points_.push_back(p);
      const long double dx = p->X - Xp, dy = p->Y - Yp;
      const long double d = dx * dx + dy * dy;
      if (proche < 0 || d <= meilleure) {
        proche = static_cast<int>(points_.size()) - 1;
        meilleure = d;
      }
    }
  ListePointsSurface->setCurrentRow(proche);
  AfficheEcarts();
}

void TCompensDlg::InitRectif(survey::TCompens* ACompens) {
  setWindowTitle(M(IdMsg::AppCompensModification));
  CompensRectif = ACompens;
  if (!ACompens) return;
  {
    GardeCaviteActive garde(reseau_, ACompens->TheCavite());
    Init(reseau_.LaCaviteActive, ACompens->PtFin);
    const QSignalBlocker bloque(ListePointsSurface);
    for (size_t i = 0; i < points_.size(); ++i)
      if (points_[i] == ACompens->PtJuste) ListePointsSurface->setCurrentRow(static_cast<int>(i));
    TypeCompensRdg->FixeItemIndex(ACompens->typeCompens);
  }
  AfficheEcarts();
}

void TCompensDlg::InitVisu(survey::TCompens* ACompens) {
  InitRectif(ACompens);
  visu_ = true;
  setWindowTitle(M(IdMsg::AppCompensVisualisation));
  if (ACompens) {
    const survey::TValeurCompens* v = ACompens->Valeur.get();
    const double coeffLong = v ? static_cast<double>(v->CoeffLong) : 1;
    const double angle = v ? static_cast<double>(v->CorrectAngle) : 0;
    const double haut = v ? static_cast<double>(v->CoeffHaut) : 0;
    GroupePlani->setVisible(ACompens->typeCompens != survey::CompensAlti);
    CorrLongueur->setText(Q(Fixe((coeffLong - 1) * 1000, 2) + Msg(IdMsg::AppCompensMmParM)));
    CorrDirection->setText(Q(Fixe(angle * 200 / std::numbers::pi, 5) + Msg(IdMsg::AppCompensGrades)));
    GroupeAlti->setVisible(ACompens->typeCompens != survey::CompensPlani);
    CorrHauteur->setText(Q(Fixe(haut * 1000, 2) + Msg(IdMsg::AppCompensMmParM)));
  }
  for (QWidget* w : findChildren<QWidget*>()) w->setEnabled(false);
  AnnulerBtn->setEnabled(true);
  AnnulerBtn->setText(M(IdMsg::AppCompensFermer));
  AnnulerBtn->setDefault(true);
  OKBtn->hide();
}

survey::TPointSpeleo* TCompensDlg::PointSurfaceChoisi() const {
  const int i = ListePointsSurface->currentRow();
  return i >= 0 && i < static_cast<int>(points_.size()) ? points_[static_cast<size_t>(i)] : nullptr;
}

void TCompensDlg::AfficheEcarts() {
  const survey::TPointSpeleo* s = PointSurfaceChoisi();
  if (!s) {
    for (QLabel* l : {EcartX, EcartY, EcartZ, EcartLh}) l->clear();
    return;
  }
  const long double dx = s->X - Xp, dy = s->Y - Yp, dz = s->Z - Zp;
  EcartX->setText(Q(Fixe(static_cast<double>(dx), 1)));
  EcartY->setText(Q(Fixe(static_cast<double>(dy), 1)));
  EcartZ->setText(Q(Fixe(static_cast<double>(dz), 1)));
  EcartLh->setText(Q(Fixe(static_cast<double>(std::sqrt(dx * dx + dy * dy)), 1)));
}

void TCompensDlg::accept() {
  if (visu_) {
    QDialog::reject();
    return;
  }
  survey::TPointSpeleo* juste = PointSurfaceChoisi();
  if (!juste) {
    // No adjustment without its exact point.
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning, Msg(IdMsg::AppCompensSansPointSurface));
    return;
  }
  const int type = std::max(TypeCompensRdg->ItemIndex(), 0);
  if (survey::Document().RectifEnCours && CompensRectif) {
    CompensRectif->PtJuste = juste;
    CompensRectif->typeCompens = static_cast<uint8_t>(type);
  } else {
    if (!PtCavit) return;
    auto a = std::make_unique<survey::TCompens>();
    a->PtFin = PtCavit;
    a->PtJuste = juste;
    a->typeCompens = static_cast<uint8_t>(type);
    reseau_.Compensations.Add(std::move(a));
  }
  survey::Document().DocumentModifie = true;
  QDialog::accept();
}

bool CreeCompensation(QWidget* owner, survey::TReseau& reseau, survey::TCavite* cavite, survey::TPointSpeleo* station) {
  TCompensDlg dlg(reseau, owner);
  dlg.Init(cavite, station);
  return dlg.exec() == QDialog::Accepted;
}

// --- Adjustment list --------------------------------------------------------------------------

TChoixCompensDlg::TChoixCompensDlg(survey::TReseau& reseau, QWidget* parent) : QDialog(parent), reseau_(reseau) {
  setObjectName("ChoixCompensDlg");
  setWindowTitle(M(survey::Document().RectifEnCours ? IdMsg::AppCompensModification : IdMsg::AppCompensVisualisation));
  auto* haut = new QVBoxLayout(this);
  ListeCompens = new QTreeWidget(this);
  ListeCompens->setObjectName("ListeCompens");
  ListeCompens->setRootIsDecorated(false);
  ListeCompens->setUniformRowHeights(true);
  ListeCompens->setSelectionMode(QAbstractItemView::SingleSelection);
  ListeCompens->setHeaderLabels({M(IdMsg::AppCompensColCavite), M(IdMsg::AppCompensColDebut), M(IdMsg::AppCompensColFin),
                                 M(IdMsg::AppCompensColFixe), M(IdMsg::AppCompensColType)});
  ListeCompens->installEventFilter(this);
  haut->addWidget(ListeCompens);
  auto* boutons = new QHBoxLayout;
  boutons->addStretch();
  auto* ok = new QPushButton(M(IdMsg::AppCfgOK), this);
  ok->setObjectName("OKBtn");
  ok->setAutoDefault(false);
  boutons->addWidget(ok);
  haut->addLayout(boutons);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(ListeCompens, &QTreeWidget::itemDoubleClicked, this, [this] { ListeDblClick(); });
  resize(720, 360);
  RemplitListe();
}

void TChoixCompensDlg::RemplitListe() {
  // The rows go before anything they show may be freed.
  ListeCompens->clear();
  lignes_.clear();
  QList<QTreeWidgetItem*> items;
  for (survey::TCompens* a : reseau_.Compensations) {
    if (!a || a->EstEntreeScnd) continue;
    const survey::TCavite* c = a->TheCavite();
    auto* item = new QTreeWidgetItem;
    item->setText(0, c ? Q(c->NomCavite) : QString());
    item->setText(1, Q(NomPointCompens(a->PtDebut)));
    item->setText(2, a->PtFin ? Q(a->PtFin->DesignPTopo + " / " + survey::NomGalerieDuPoint(a->PtFin)) : QString());
    item->setText(3, a->PtJuste ? Q(a->PtJuste->DesignPTopo) : QString());
    item->setText(4, Q(NomTypeCompensation(a->typeCompens)));
    items << item;
    lignes_.push_back(a);
  }
  ListeCompens->addTopLevelItems(items);
  ListeCompens->setEnabled(!items.isEmpty());
  if (items.isEmpty()) return;
  ListeCompens->setCurrentItem(items.back());
  ListeCompens->setFocus();
}

survey::TCompens* TChoixCompensDlg::CompensDeLigne(int ligne) const {
  return ligne >= 0 && ligne < static_cast<int>(lignes_.size()) ? lignes_[static_cast<size_t>(ligne)] : nullptr;
}

void TChoixCompensDlg::ListeDblClick() {
  QTreeWidgetItem* item = ListeCompens->currentItem();
  survey::TCompens* a = item ? CompensDeLigne(ListeCompens->indexOfTopLevelItem(item)) : nullptr;
  if (!a) return;
  reseau_.CalculeReseau();
  TCompensDlg dlg(reseau_, this);
  if (survey::Document().RectifEnCours)
    dlg.InitRectif(a);
  else
    dlg.InitVisu(a);
  if (dlg.exec() == QDialog::Accepted) RemplitListe();
  reseau_.CalculeReseau();
}

void TChoixCompensDlg::SupprimeCompens() {
  if (!survey::Document().RectifEnCours) return;
  QTreeWidgetItem* item = ListeCompens->currentItem();
  survey::TCompens* a = item ? CompensDeLigne(ListeCompens->indexOfTopLevelItem(item)) : nullptr;
  if (!a) return;
  if (platform::Dialogs::Current().AskYesNo(Msg(IdMsg::AppCompensSupprimer)) != platform::Answer::Yes) return;
  const int i = reseau_.Compensations.IndexOf(a);
  ListeCompens->clear();
  lignes_.clear();
  reseau_.SupprimeCompensation(i);
  survey::Document().DocumentModifie = true;
  reseau_.CalculeReseau();
  RemplitListe();
}

bool TChoixCompensDlg::eventFilter(QObject* objet, QEvent* evenement) {
  if (objet == ListeCompens && evenement->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(evenement)->key() == Qt::Key_Delete) {
    SupprimeCompens();
    return true;
  }
  return QDialog::eventFilter(objet, evenement);
}

}  // namespace app
