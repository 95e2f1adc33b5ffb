#include "app/reseau/fiche_pts_surface.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPalette>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

#include "app/commun/contexte_app.h"
#include "app/commun/protege.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/qt/conversions_qt.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/dossiers.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/points_surface.h"
#include "survey/reseau.h"
#include "survey/sauve_fich_txt.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;
using survey::ColonnePtsSurface;
using survey::TPointSpeleo;

// --- The rows -----------------------------------------------------------------------------------

void TModelePtsSurface::Remplit(std::vector<TPointSpeleo*> points) {
  beginResetModel();
  points_ = std::move(points);
  lignes_.assign(points_.size(), {});
  faites_.assign(points_.size(), false);
  endResetModel();
}

TPointSpeleo* TModelePtsSurface::Point(int ligne) const {
  return ligne >= 0 && static_cast<size_t>(ligne) < points_.size() ? points_[static_cast<size_t>(ligne)] : nullptr;
}

int TModelePtsSurface::Ligne(const TPointSpeleo* p) const {
  for (size_t i = 0; i < points_.size(); ++i)
    if (points_[i] == p) return static_cast<int>(i);
  return -1;
}

void TModelePtsSurface::Trie(int colonne, bool croissant) {
  std::vector<TPointSpeleo*> points = points_;
  if (survey::TriePointsSurface(points, static_cast<ColonnePtsSurface>(colonne), croissant)) Remplit(std::move(points));
}

void TModelePtsSurface::MontreMarques(bool montre) {
  marques_ = montre;
  if (!points_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

const survey::TLigneListe& TModelePtsSurface::LigneListe(int ligne) const {
  const auto i = static_cast<size_t>(ligne);
  if (!faites_[i]) {
    survey::TPointsSurface::AffecteChaine(lignes_[i], *points_[i]);
    faites_[i] = true;
  }
  return lignes_[i];
}

QString TModelePtsSurface::Texte(int ligne, int colonne) const {
  if (!Point(ligne)) return QString();
  const survey::TLigneListe& l = LigneListe(ligne);
  if (colonne == 0) return Q(l.Caption);
  const auto k = static_cast<size_t>(colonne - 1);
  return k < l.SousItems.size() ? Q(foundation::OteBlancs(l.SousItems[k])) : QString();
}

int TModelePtsSurface::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(points_.size());
}

int TModelePtsSurface::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : survey::NombreColonnesPtsSurface;
}

QVariant TModelePtsSurface::data(const QModelIndex& index, int role) const {
  const TPointSpeleo* p = Point(index.row());
  if (!p) return {};
  switch (role) {
    case Qt::DisplayRole: return Texte(index.row(), index.column());
    case Qt::TextAlignmentRole:
      if (index.column() >= 1 && index.column() <= 3) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
      return {};
    case Qt::BackgroundRole:
      if (marques_ && p->Marque) return QApplication::palette().color(QPalette::Highlight);
      return {};
    case Qt::ForegroundRole:
      if (marques_ && p->Marque) return QColor(Qt::white);
      return {};
    default: return {};
  }
}

QVariant TModelePtsSurface::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  static constexpr IdMsg kTitres[survey::NombreColonnesPtsSurface] = {
      IdMsg::AppGestColDesign, IdMsg::AppGestColX,      IdMsg::AppGestColY,
      IdMsg::AppGestColZ,      IdMsg::AppGestColNature, IdMsg::AppGestColCommentaire};
  return section >= 0 && section < survey::NombreColonnesPtsSurface ? Q(Msg(kTitres[section])) : QVariant();
}

// --- The window ---------------------------------------------------------------------------------

namespace {

QPushButton* Bouton(QWidget* parent, const char* nom, IdMsg texte) {
  auto* b = new QPushButton(Q(Msg(texte)), parent);
  b->setObjectName(QString::fromLatin1(nom));
  b->setAutoDefault(false);
  return b;
}

EtatPtsSurface& Etat() { return ContexteApp().PtsSurface; }

}  // namespace

TFichePtsSurface::TFichePtsSurface(survey::TReseau& reseau, QWidget* parent) : QDialog(parent), reseau_(reseau) {
  setObjectName(QStringLiteral("FichePtsSurface"));
  setWindowTitle(Q(Msg(IdMsg::AppGestPtsSurfTitre)));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  modele_ = new TModelePtsSurface(this);
  vue_ = new QTableView(this);
  vue_->setObjectName(QStringLiteral("ListePoints"));
  vue_->setModel(modele_);
  vue_->setSelectionBehavior(QAbstractItemView::SelectRows);
  vue_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  vue_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  vue_->verticalHeader()->setVisible(false);
  vue_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  vue_->verticalHeader()->setDefaultSectionSize(vue_->fontMetrics().height() + 6);
  vue_->horizontalHeader()->setSectionsClickable(true);
  vue_->horizontalHeader()->setStretchLastSection(true);
  for (int c : {1, 2}) vue_->setColumnWidth(c, 110);
  vue_->setColumnWidth(3, 80);
  vue_->setMinimumSize(720, 360);
  vue_->installEventFilter(this);
  v->addWidget(vue_, 1);

  auto* h = new QHBoxLayout;
  ajout_ = Bouton(this, "AjoutBtn", IdMsg::AppGestAjoutPoint);
  supprime_ = Bouton(this, "SupprimeBtn", IdMsg::AppGestSupprimePoints);
  import_ = Bouton(this, "ImportBtn", IdMsg::AppGestImportPoints);
  export_ = Bouton(this, "ExportBtn", IdMsg::AppGestExportPoints);
  export_->setToolTip(Q(Msg(IdMsg::AppGestExportPointsAide)));
  exportWGS_ = Bouton(this, "ExportWGSBtn", IdMsg::AppGestExportWGS);
  exportWGS_->setToolTip(Q(Msg(IdMsg::AppGestExportWGSAide)));
  auto* fermer = Bouton(this, "FermerBtn", IdMsg::AppGestFermer);
  for (QPushButton* b : {ajout_, supprime_, import_, export_, exportWGS_}) h->addWidget(b);
  h->addStretch(1);
  h->addWidget(fermer);
  v->addLayout(h);

  connect(vue_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int c) { Protege([this, c] { EnteteClick(c); }); });
  connect(vue_, &QTableView::doubleClicked, this,
          [this](const QModelIndex& i) { Protege([this, i] { ListeDblClick(i.row()); }); });
  connect(ajout_, &QPushButton::clicked, this, [this] { Protege([this] { AjoutClick(); }); });
  connect(supprime_, &QPushButton::clicked, this, [this] { Protege([this] { SupprimeClick(); }); });
  connect(import_, &QPushButton::clicked, this, [this] { Protege([this] { ImportClick(); }); });
  connect(export_, &QPushButton::clicked, this, [this] { Protege([this] { ExportClick(false); }); });
  connect(exportWGS_, &QPushButton::clicked, this, [this] { Protege([this] { ExportClick(true); }); });
  connect(fermer, &QPushButton::clicked, this, &QDialog::accept);

  setWindowTitle(Q(Msg(IdMsg::AppGestPtsSurfReseau) + reseau_.NomReseau() + Msg(IdMsg::AppGestPtsSurfSuffixe)));
  exportWGS_->setVisible(!reseau_.Projection.empty());
  // The point imports are reached only once both readers are installed.
  import_->setEnabled(Etat().ImportDocument && Etat().ImportFichier);
  Remplit();
}

void TFichePtsSurface::MajBoutons() {
  const bool points = modele_->rowCount() > 0;
  export_->setEnabled(points);
  exportWGS_->setEnabled(points);
  supprime_->setEnabled(points);
}

void TFichePtsSurface::Remplit(TPointSpeleo* aFocaliser) {
  std::vector<TPointSpeleo*> points;
  if (const survey::TListedePoints* l = reseau_.LesPointsSurface()) points = l->Points();
  survey::TriePointsSurface(points, static_cast<ColonnePtsSurface>(Etat().ColonneTri), Etat().TriCroissant);
  modele_->Remplit(std::move(points));
  MajBoutons();
  int ligne = aFocaliser ? modele_->Ligne(aFocaliser) : -1;
  if (ligne < 0 && modele_->rowCount() > 0) ligne = 0;
  if (ligne < 0) return;
  const QModelIndex i = modele_->index(ligne, 0);
  vue_->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  vue_->scrollTo(i);
}

void TFichePtsSurface::EnteteClick(int colonne) {
  if (colonne < 0 || colonne >= survey::NombreColonnesPtsSurface ||
      colonne == static_cast<int>(ColonnePtsSurface::Commentaire))
    return;
  EtatPtsSurface& e = Etat();
  if (colonne == e.ColonneTri) {
    e.TriCroissant = !e.TriCroissant;
  } else {
    e.ColonneTri = colonne;
    e.TriCroissant = true;
  }
  TPointSpeleo* courant = modele_->Point(vue_->currentIndex().row());
  Remplit(courant);
}

void TFichePtsSurface::AjoutClick() {
  survey::TListedePoints* l = reseau_.LesPointsSurface();
  if (!l) return;
  survey::TPointsSurface surface(*l);
  while (TPointSpeleo* p = surface.AjoutePoint()) {
    p->GalduPt = reseau_.UneCavite(0)->UneGalerie(0);
    ModifListePoints = true;
    survey::Document().DocumentModifie = true;
    Remplit(p);
  }
}

void TFichePtsSurface::ListeDblClick(int ligne) {
  TPointSpeleo* p = modele_->Point(ligne);
  if (!p) return;
  bool corrige = false;
  {
    struct EnCours {
      EnCours() { survey::Document().RectifEnCours = true; }
      ~EnCours() { survey::Document().RectifEnCours = false; }
    } enCours;
    corrige = survey::TPointsSurface(*reseau_.LesPointsSurface()).RectifPoint(*p);
  }
  if (!corrige) return;
  ModifListePoints = true;
  survey::Document().DocumentModifie = true;
  Remplit(p);
}

std::vector<TPointSpeleo*> TFichePtsSurface::Selection() const {
  std::vector<int> lignes;
  for (const QModelIndex& i : vue_->selectionModel()->selectedRows()) lignes.push_back(i.row());
  std::sort(lignes.begin(), lignes.end());
  std::vector<TPointSpeleo*> r;
  r.reserve(lignes.size());
  for (int l : lignes)
    if (TPointSpeleo* p = modele_->Point(l)) r.push_back(p);
  return r;
}

void TFichePtsSurface::SupprimeClick() {
  if (!vue_->currentIndex().isValid()) return;
  platform::Dialogs& d = platform::Dialogs::Current();
  struct Demarque {
    survey::TReseau& r;
    TModelePtsSurface& m;
    ~Demarque() {
      m.MontreMarques(false);
      survey::DemarquePointsSurface(r);
    }
  } demarque{reseau_, *modele_};
  const std::vector<TPointSpeleo*> partants = survey::MarquePointsSupprimables(reseau_, Selection());
  if (partants.empty()) {
    d.ShowMessage(platform::MessageKind::Information, Msg(IdMsg::AppGestAucunPointSupprimable));
    return;
  }
  modele_->MontreMarques(true);
  if (d.AskYesNo(Msg(IdMsg::AppGestConfirmeSuppression)) != platform::Answer::Yes) return;
  // The rows let go of the points before they are freed.
  modele_->Remplit({});
  survey::SupprimePointsSurface(reseau_, partants);
  ModifListePoints = true;
  survey::Document().DocumentModifie = true;
  Remplit();
}

void TFichePtsSurface::ImportClick() {
  EtatPtsSurface& e = Etat();
  if (!e.ImportDocument || !e.ImportFichier) return;
  platform::FileDialogOptions options;
  options.Title = Msg(IdMsg::AppGestImportPointsTitre);
  options.Filter = Msg(IdMsg::AppGestFiltreImportPoints);
  options.InitialFolder = survey::DossierDeTravail();
  const auto choix = platform::Dialogs::Current().OpenFile(options);
  if (!choix) return;
  const bool document = foundation::EnMinuscules(platform::ExtensionOf(choix->Path)) == ".cav";
  // The rows let go of the points: an import may replace some.
  modele_->Remplit({});
  const bool importe = document ? e.ImportDocument(choix->Path) : e.ImportFichier(choix->Path);
  if (importe) {
    ModifListePoints = true;
    survey::Document().DocumentModifie = true;
  }
  Remplit();
}

void TFichePtsSurface::ExportClick(bool wgs) {
  if (modele_->rowCount() == 0) return;
  survey::TSauveFichTxt fichier;
  fichier.Lignes = wgs ? survey::LignesPointsSurfaceWGS(modele_->Points(), reseau_.Projection, reseau_.NumFuseau)
                       : survey::LignesPointsSurface(modele_->Points());
  fichier.EnregistreCsv(reseau_.NomReseau() + (wgs ? "-pts-surf-WGS" : "-pts-surf"));
}

void TFichePtsSurface::done(int r) {
  if (ModifListePoints) {
    Protege([this] {
      for (survey::TCavite* c : reseau_.Cavites) c->ReGenereListePoints(false);
    });
    ModifListePoints = false;
  }
  QDialog::done(r);
}

bool TFichePtsSurface::eventFilter(QObject* objet, QEvent* e) {
  if (objet == vue_ && e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Delete &&
      vue_->currentIndex().isValid()) {
    Protege([this] { SupprimeClick(); });
    return true;
  }
  return QDialog::eventFilter(objet, e);
}

}  // namespace app
