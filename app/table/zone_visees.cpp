#include "app/table/zone_visees.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <unordered_map>

#include "app/commun/commande_connectee.h"
#include "app/commun/config_generale.h"
#include "app/commun/protege.h"
#include "app/document/document_reseau.h"
#include "app/document/gestion_document.h"
#include "app/document/selecteurs.h"
#include "app/saisie/levers_dlg.h"
#include "app/table/cherche_visee_dlg.h"
#include "app/table/colonnes_visees.h"
#include "app/table/impression_pdf.h"
#include "app/table/liste_imprimee.h"
#include "app/table/modele_visees.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/niveau_fichier.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/qt/combo_box.h"
#include "platform/qt/conversions_qt.h"
#include "platform/qt/qt_canvas.h"
#include "platform/wait_windows.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/visee.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using survey::TCavite;
using survey::TValeurVisee;
using survey::TVisee;
using survey::TViseeHabi;

namespace {

using platform::qt::CouleurQt;
using platform::qt::CouleurWindows;
using platform::qt::Q;

QString M(IdMsg id) { return Q(Msg(id)); }

// The tool-bar action that shows a widget placed in a tool bar.
QAction* ActionDe(QWidget* w) {
  auto* barre = qobject_cast<QToolBar*>(w->parentWidget());
  if (!barre) return nullptr;
  for (QAction* a : barre->actions())
    if (barre->widgetForAction(a) == w) return a;
  return nullptr;
}

// The widest a selector of the tool bars grows, in characters.
constexpr int kCaracteresSelecteurMax = 48;

// At most this many faulty shots are named in the report of a refill.
constexpr size_t kErreursNommees = 10;

}  // namespace

void TBoiteGaleries::showPopup() {
  if (AvantListe && AvantListe()) return;
  QComboBox::showPopup();
}

// --- Creation ---------------------------------------------------------------------------------

TZoneVisees::TZoneVisees(TGestionDocument& gestion, QWidget* fenetre)
    : QWidget(fenetre), commandes_(gestion, *this), gestion_(gestion) {
  setObjectName(QStringLiteral("ZoneVisees"));
  sortieImpression_ = std::make_unique<TSortiePdf>(fenetre);
  CreeSelecteurs();
  auto* v = new QVBoxLayout(this);
  CreeTableVisees();
  v->addWidget(visuVisees_, 1);

  auto* bas = new QHBoxLayout;
  visuComment_ = new QPlainTextEdit(this);
  visuComment_->setObjectName(QStringLiteral("VisuComment"));
  visuComment_->setReadOnly(true);
  visuComment_->setMaximumHeight(60);
  editSuiteBtn_ = new QToolButton(this);
  editSuiteBtn_->setObjectName(QStringLiteral("EditSuiteBtn"));
  editSuiteBtn_->setText(M(IdMsg::AppBtnEditSuite));
  editSuiteBtn_->setVisible(false);
  ConnecteCommande(editSuiteBtn_, &QToolButton::clicked, this, [this] { EditSuiteBtnClick(); });
  bas->addWidget(visuComment_, 1);
  bas->addWidget(editSuiteBtn_);
  v->addLayout(bas);

  // The gallery tree drops down over the gallery selector (hidden).
  arbreGaleries_ = new QTreeWidget(fenetre);
  arbreGaleries_->setObjectName(QStringLiteral("ArbreGaleries"));
  arbreGaleries_->setHeaderHidden(true);
  arbreGaleries_->setVisible(false);
  ConnecteTable();
}

TZoneVisees::~TZoneVisees() {
  // The table's widgets and model go while the rows, the document and the
  // handlers they reach are still there.
  visuVisees_->removeEventFilter(this);
  visuVisees_->viewport()->removeEventFilter(this);
  leverEdit_->removeEventFilter(this);
  arbreGaleries_->removeEventFilter(this);
  delete visuVisees_;
  delete arbreGaleries_;
  delete modele_;
}

void TZoneVisees::CreeSelecteurs() {
  cavitesBox_ = new QComboBox(this);
  cavitesBox_->setObjectName(QStringLiteral("CavitesBox"));
  cavitesBox_->setMinimumContentsLength(11);
  ConnecteCommande(cavitesBox_, &QComboBox::activated, this, [this](int i) { CavitesBoxChange(i); });
  galeriesBox_ = new TBoiteGaleries(this);
  galeriesBox_->setObjectName(QStringLiteral("GaleriesBox"));
  galeriesBox_->setMinimumContentsLength(9);
  galeriesBox_->AvantListe = [this] {
    if (!GalParArbre) return false;
    GaleriesBoxClick();
    return true;
  };
  ConnecteCommande(galeriesBox_, &QComboBox::activated, this, [this](int i) { GaleriesBoxChange(i); });
  leverEdit_ = new QLineEdit(this);
  leverEdit_->setObjectName(QStringLiteral("LeverEdit"));
  leverEdit_->setReadOnly(true);
  leverEdit_->setMaximumWidth(120);
  // Right button: the trip's view; double click: its correction.  Both are
  // caught before the line edit sees them (no text menu, no selection).
  leverEdit_->installEventFilter(this);
  declinText_ = new QLabel(this);
  declinText_->setObjectName(QStringLiteral("DeclinText"));
  listeCoupesBox_ = new QComboBox(this);
  listeCoupesBox_->setObjectName(QStringLiteral("ListeCoupesBox"));
  listeCoupesBox_->setMinimumContentsLength(14);
  ConnecteCommande(listeCoupesBox_, &QComboBox::activated, this, [this](int i) { ListeCoupesBoxChange(i); });
  entreeLabel_ = new QLabel(M(IdMsg::AppLblEntree), this);
  entreeLabel_->setObjectName(QStringLiteral("EntreeLabel"));
  entreesBox_ = new QComboBox(this);
  entreesBox_->setObjectName(QStringLiteral("EntreesBox"));
  ConnecteCommande(entreesBox_, &QComboBox::activated, this, [this](int i) { EntreesBoxChange(i); });
  // Each selector takes the width of its longest name (cave names are not
  // cut), within a bound that keeps the tool bar usable.
  for (QComboBox* b : {cavitesBox_, static_cast<QComboBox*>(galeriesBox_), listeCoupesBox_, entreesBox_}) {
    b->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    b->setMaximumWidth(b->fontMetrics().averageCharWidth() * kCaracteresSelecteurMax);
  }
}

void TZoneVisees::AttacheBoutons(QToolButton* coordBtn, QToolButton* dimBtn, QToolButton* basculeAffGalBtn) {
  coordBtn_ = coordBtn;
  dimBtn_ = dimBtn;
  basculeAffGalBtn_ = basculeAffGalBtn;
  coordBtn_->setCheckable(true);
  ConnecteCommande(coordBtn_, &QToolButton::clicked, this, [this] { CoordBtnClick(); });
  dimBtn_->setCheckable(true);
  ConnecteCommande(dimBtn_, &QToolButton::clicked, this, [this] { DimBtnClick(); });
  ConnecteCommande(basculeAffGalBtn_, &QToolButton::clicked, this, [this] { BasculeAffGalBtnClick(); });
  MajBoutonGaleries();
}

void TZoneVisees::CreeTableVisees() {
  visuVisees_ = new QTableView(this);
  visuVisees_->setObjectName(QStringLiteral("VisuVisees"));
  modele_ = new TModeleVisees(table_, this);
  visuVisees_->setModel(modele_);
  visuVisees_->setSelectionBehavior(QAbstractItemView::SelectRows);
  visuVisees_->setSelectionMode(QAbstractItemView::SingleSelection);
  visuVisees_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  visuVisees_->setShowGrid(true);
  visuVisees_->setWordWrap(false);
  visuVisees_->verticalHeader()->setVisible(false);
  // Rows of one height: a table of 300,000 rows scrolls without measuring them.
  visuVisees_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  visuVisees_->verticalHeader()->setDefaultSectionSize(visuVisees_->fontMetrics().height() + 4);
  visuVisees_->horizontalHeader()->setStretchLastSection(false);
  visuVisees_->horizontalHeader()->setSectionsClickable(true);
  visuVisees_->horizontalHeader()->setHighlightSections(false);
  // The selection stays visible when the table loses the focus.
  QPalette palette = visuVisees_->palette();
  palette.setColor(QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Active, QPalette::HighlightedText));
  visuVisees_->setPalette(palette);
  modele_->FixeSurbrillance(CouleurWindows(palette.color(QPalette::Active, QPalette::Highlight)));
  visuVisees_->setContextMenuPolicy(Qt::CustomContextMenu);
  popupMenuLigne_ = new QMenu(this);
  popupMenuLigne_->setObjectName(QStringLiteral("PopupMenuLigne"));
  popupMenuHabi_ = new QMenu(this);
  popupMenuHabi_->setObjectName(QStringLiteral("PopupMenuHabi"));
  CreeMenusLignes();
  titrePointVise_ = TitrePointVise(false, false);
}

void TZoneVisees::ConnecteTable() {
  visuVisees_->installEventFilter(this);
  visuVisees_->viewport()->installEventFilter(this);
  connect(visuVisees_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& courant) {
            if (!remplissageEnCours_ && courant.isValid()) Protege([this, courant] { VisuViseesSelectItem(courant.row()); });
          });
  connect(visuVisees_, &QTableView::doubleClicked, this, [this] { VisuViseesDblClick(); });
  connect(visuVisees_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int c) { Protege([this, c] { VisuViseesColumnClick(c); }); });
  connect(visuVisees_, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
    if (!menuTable_) return;
    // The items that depend on the row decide their visibility first: a menu
    // with nothing visible is not opened.
    emit menuTable_->aboutToShow();
    const QList<QAction*> actions = menuTable_->actions();
    if (std::any_of(actions.begin(), actions.end(), [](const QAction* a) { return a->isVisible(); }))
      menuTable_->popup(visuVisees_->viewport()->mapToGlobal(p));
  });
  connect(modele_, &TModeleVisees::ErreursDeDessin, this, [this] { RapporteErreurs(table_.ErreursARapporter()); });

  arbreGaleries_->installEventFilter(this);
  QPalette palette = arbreGaleries_->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Highlight, CouleurQt(0xC0C0C0));
  palette.setColor(QPalette::Inactive, QPalette::Highlight, CouleurQt(0xC0C0C0));
  palette.setColor(QPalette::HighlightedText, palette.color(QPalette::WindowText));
  arbreGaleries_->setPalette(palette);
  connect(arbreGaleries_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* n) { Protege([this, n] { ArbreGaleriesClick(n); }); });
  connect(arbreGaleries_, &QTreeWidget::itemExpanded, this, [this] { ArbreNoClick(); });
  connect(arbreGaleries_, &QTreeWidget::itemCollapsed, this, [this] { ArbreNoClick(); });
  RegleColonnes();
}

bool TZoneVisees::eventFilter(QObject* objet, QEvent* evenement) {
  if (objet == visuVisees_ && evenement->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(evenement);
    bool traitee = false;
    Protege([&] { traitee = VisuViseesKeyDown(k->key(), k->modifiers()); });
    if (traitee) return true;
  } else if (objet == visuVisees_->viewport() && evenement->type() == QEvent::Resize) {
    RegleColonnes();
  } else if (objet == arbreGaleries_ && evenement->type() == QEvent::FocusOut) {
    ArbreGaleriesExit();
  } else if (objet == leverEdit_) {
    return FiltreLeverEdit(evenement);
  }
  return QWidget::eventFilter(objet, evenement);
}

// --- The survey trip of the selected shot ------------------------------------------------------

namespace {

// The trip of the focused row's shot (its main shot for a splay row); none
// for the default trip.
const survey::TLever* LeverDeLaLigne(const TTableVisees& table, int ligne) {
  const TVisee* v = table.ViseePrincipale(ligne);
  const survey::TLever* l = v ? v->LeLever : nullptr;
  return l == survey::LeverParDefaut() ? nullptr : l;
}

// "Déclinaison : " and the trip's declination, nothing without declination.
QString TexteDeclinaison(const survey::TLever& l) {
  return l.UniteDeclin == survey::UniteDeclinAucune ? QString() : Q(Msg(IdMsg::AppDeclinaison) + l.DeclinStr());
}

}  // namespace

bool TZoneVisees::FiltreLeverEdit(QEvent* evenement) {
  switch (evenement->type()) {
    case QEvent::MouseButtonPress:
      if (static_cast<QMouseEvent*>(evenement)->button() != Qt::RightButton) return false;
      Protege([this] { LeverEditClicDroit(); });
      return true;
    case QEvent::ContextMenu:
      // The right button was handled on its press; the menu key does the same.
      if (static_cast<QContextMenuEvent*>(evenement)->reason() == QContextMenuEvent::Keyboard)
        Protege([this] { LeverEditClicDroit(); });
      return true;
    case QEvent::MouseButtonDblClick:
      if (static_cast<QMouseEvent*>(evenement)->button() != Qt::LeftButton) return false;
      Protege([this] { LeverEditDblClick(); });
      return true;
    default:
      return false;
  }
}

void TZoneVisees::LeverEditClicDroit() {
  if (const survey::TLever* l = LeverDeLaLigne(table_, LigneFocus()))
    VisualiseLever(window(), *l);
  else
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information, Msg(IdMsg::AppAucunLever));
}

void TZoneVisees::LeverEditDblClick() {
  const survey::TLever* lever = LeverDeLaLigne(table_, LigneFocus());
  bool corrige = false;
  if (!lever) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information, Msg(IdMsg::AppAucunLeverRectif));
  } else {
    survey::Document().LeverCourant = lever;
    // Not the default trip: the correction changes it in its cave's list.
    std::unique_ptr<survey::TLever> nouveau;
    corrige = RectifieLever(window(), lever, nouveau);
    if (corrige) {
      leverEdit_->setText(Q(lever->DateTexte()));
      declinText_->setText(TexteDeclinaison(*lever));
    }
  }
  AnnuleCoordonnees();
  MajMnuSauve();
  if (corrige) InvalideTextesVisees();
}

void TZoneVisees::FixeSortieImpression(std::unique_ptr<SortieImpressionListe> sortie) {
  sortieImpression_ = std::move(sortie);
}

// --- Helpers ------------------------------------------------------------------------------------

TCavite* TZoneVisees::CaviteActive() const {
  const DocumentReseau* r = gestion_.Reseau();
  return r ? r->UneCavite(r->CaviteActive()) : nullptr;
}

int TZoneVisees::LigneFocus() const {
  const QModelIndex i = visuVisees_->currentIndex();
  return (i.isValid() && i.row() < table_.Nombre()) ? i.row() : -1;
}

void TZoneVisees::SelectionneLigne(int ligne) {
  if (ligne < 0 || ligne >= table_.Nombre()) return;
  const QModelIndex i = modele_->index(ligne, 0);
  visuVisees_->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  visuVisees_->scrollTo(i);
}

void TZoneVisees::ViderTableVisees() {
  modele_->Reinitialise([this] { table_.Vide(); });
  LignesModifiees();
  survey::Document().LeverCourant = nullptr;
  visuComment_->clear();
  editSuiteBtn_->setVisible(false);
}

void TZoneVisees::VideChamps() {
  leverEdit_->clear();
  declinText_->clear();
  listeCoupesBox_->clear();
  visuComment_->clear();
  editSuiteBtn_->setVisible(false);
}

void TZoneVisees::AppliqueEtat(const EtatsControles& r) {
  // The gallery tree lies over the gallery selector.
  if (QWidget* barre = galeriesBox_->parentWidget())
    arbreGaleries_->move(barre->mapTo(arbreGaleries_->parentWidget(), galeriesBox_->geometry().bottomLeft()));
  if (r.ViderDeclinaison) declinText_->clear();
  if (r.DeclinaisonVisible) declinText_->setVisible(*r.DeclinaisonVisible);
  if (r.EntreesVisibles) AfficheEntrees(*r.EntreesVisibles);
  if (r.ViderCavites) cavitesBox_->clear();
  if (r.ViderGaleries) {
    galeriesBox_->clear();
    arbreGaleries_->clear();
    arbreGaleries_->setEnabled(false);
  } else if (r.De(Commande::GaleriesBox) == Activation::Active) {
    arbreGaleries_->setEnabled(true);
  }
  if (r.ViderTexteGalerie) galeriesBox_->setCurrentIndex(-1);
  if (r.ViderLever) leverEdit_->clear();
  if (r.ViderCoupes) listeCoupesBox_->clear();
  // The coordinate and dimension columns follow their buttons; a button that
  // goes disabled goes up.
  if (!coordBtn_->isEnabled() && coordBtn_->isChecked()) AnnuleCoordonnees();
  if (!dimBtn_->isEnabled() && dimBtn_->isChecked()) {
    dimBtn_->setChecked(false);
    MasqueColonnesDimensions();
  }
  if (!coordBtn_->isEnabled()) survey::Affichage().CoordonneesAffichees = false;
  RegleColonnes();
  if (visuVisees_->isEnabled()) visuVisees_->setFocus();
}

void TZoneVisees::VideSelecteursCavite() {
  galeriesBox_->clear();
  arbreGaleries_->clear();
  arbreGaleries_->setVisible(false);
  listeCoupesBox_->clear();
  entreesBox_->clear();
}

void TZoneVisees::AucuneLigne() {
  visuVisees_->clearSelection();
  visuVisees_->setCurrentIndex(QModelIndex());
  visuComment_->clear();
  editSuiteBtn_->setVisible(false);
}

void TZoneVisees::AvantInsertion(int ligne) { modele_->AvantInsertion(ligne); }
void TZoneVisees::ApresInsertion() { modele_->ApresInsertion(); }
void TZoneVisees::AvantRetrait(int premier, int dernier) { modele_->AvantRetrait(premier, dernier); }
void TZoneVisees::ApresRetrait() { modele_->ApresRetrait(); }
void TZoneVisees::Reinitialise(const std::function<void()>& changement) { modele_->Reinitialise(changement); }
void TZoneVisees::TextesChanges(int premier, int dernier) { modele_->TextesChanges(premier, dernier); }

void TZoneVisees::LignesModifiees() {
  recherche_.Invalide();
  emit ActiveCommande(Commande::RepeteRechercheBtn, false);
}

void TZoneVisees::RapporteErreurs(const std::vector<std::string>& erreurs) {
  if (erreurs.empty()) return;
  std::string texte;
  for (size_t i = 0; i < erreurs.size() && i < kErreursNommees; ++i) {
    if (i) texte += '\n';
    texte += erreurs[i];
  }
  if (erreurs.size() > kErreursNommees) {
    texte += '\n';
    texte += foundation::RemplaceMarques(Msg(IdMsg::AppAutresErreursVisees),
                                         {std::to_string(erreurs.size() - kErreursNommees)});
  }
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, texte);
}

void TZoneVisees::AfficheEntrees(bool visible) {
  auto* barre = qobject_cast<QToolBar*>(entreeLabel_->parentWidget());
  if (!barre) return;
  for (QAction* a : barre->actions()) {
    QWidget* w = barre->widgetForAction(a);
    if (w == entreeLabel_ || w == entreesBox_) a->setVisible(visible);
  }
}

void TZoneVisees::ChoisitMenuTable(int ligne) { menuTable_ = table_.EstHabi(ligne) ? popupMenuHabi_ : popupMenuLigne_; }

// --- Columns --------------------------------------------------------------------------------------

int TZoneVisees::LargeurMesures() const {
  // The cell draws its text inside a margin on each side, and the grid line
  // takes one pixel of the column.
  const int marge = visuVisees_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, visuVisees_) + 1;
  const QFontMetrics fm(visuVisees_->font());
  int largeur = 0;
  for (const std::string& t : TextesMesuresLesPlusLarges()) largeur = std::max(largeur, fm.horizontalAdvance(Q(t)));
  return largeur + 2 * marge + 1;
}

void TZoneVisees::RegleColonnes() {
  const survey::ContexteAffichage& a = survey::Affichage();
  const EtatColonnes etat{a.ColonnesTopofil, a.CoordonneesAffichees, a.DimensionsAffichees};
  const LargeursColonnes l = LargeursDisposition(etat, visuVisees_->viewport()->width(), LargeurMesures());
  const auto& titres = TitresColonnes();
  for (int c = 0; c < NombreColonnesVisees; ++c) {
    const int largeur = l[static_cast<size_t>(c)];
    // A column of width 0 loses its caption; it gets it back with a width.
    if (largeur == 0) {
      visuVisees_->setColumnHidden(c, true);
      modele_->FixeTitre(c, QString());
      continue;
    }
    visuVisees_->setColumnHidden(c, false);
    if (visuVisees_->columnWidth(c) != largeur) visuVisees_->setColumnWidth(c, largeur);
    modele_->FixeTitre(c, Q(c == ColonnePointVise ? titrePointVise_ : titres[static_cast<size_t>(c)]));
  }
}

void TZoneVisees::AfficheColonnesCoordonnees() { RegleColonnes(); }
void TZoneVisees::AfficheColonnesTopo() { RegleColonnes(); }

void TZoneVisees::AfficheColonnesDimensions() {
  survey::Affichage().DimensionsAffichees = true;
  RegleColonnes();
}

void TZoneVisees::MasqueColonnesDimensions() {
  survey::Affichage().DimensionsAffichees = false;
  RegleColonnes();
}

void TZoneVisees::CoordBtnClick() {
  Protege([this] {
    if (coordBtn_->isChecked()) {
      GardeCalcul calcul(commandes_);
      commandes_.CalculeReseau();
      InvalideTextesVisees();
      survey::Affichage().CoordonneesAffichees = true;
      AfficheColonnesCoordonnees();
    } else {
      survey::Affichage().CoordonneesAffichees = false;
      AfficheColonnesTopo();
    }
    if (visuVisees_->isEnabled()) visuVisees_->setFocus();
  });
}

void TZoneVisees::DimBtnClick() {
  Protege([this] {
    if (dimBtn_->isChecked())
      AfficheColonnesDimensions();
    else
      MasqueColonnesDimensions();
    if (visuVisees_->isEnabled()) visuVisees_->setFocus();
  });
}

void TZoneVisees::AnnuleCoordonnees() {
  if (!survey::Affichage().CoordonneesAffichees) return;
  // While the button can stay down, the user's choice stays: the
  // coordinates are computed again instead.
  if (coordBtn_->isEnabled()) {
    MajCoordonnees();
    return;
  }
  coordBtn_->setChecked(false);
  CoordBtnClick();
}

void TZoneVisees::MajCoordonnees() { commandes_.MajCoordonnees(); }

void TZoneVisees::InvalideTextesVisees() {
  table_.InvalideTout();
  if (table_.Nombre() > 0) modele_->TextesChanges(0, table_.Nombre() - 1);
  if (visuVisees_->isEnabled()) visuVisees_->setFocus();
}

// --- Caves ----------------------------------------------------------------------------------------

void TZoneVisees::AfficheListeCavites(bool selection) {
  cavitesBox_->clear();
  if (DocumentReseau* reseau = gestion_.Reseau()) {
    const ListeCavites liste = app::AfficheListeCavites(*reseau, survey::Document().CaviteRappelee);
    for (const auto& [position, nom] : liste.Cavites) cavitesBox_->addItem(Q(nom), position);
    cavitesBox_->setCurrentIndex(liste.Selection);
    if (selection && reseau->CaviteActive() >= 0) RafraichitCavite();
    platform::AjusteLargeurListe(*cavitesBox_);
  }
  MajEtatControles();
}

void TZoneVisees::CavitesBoxChange(int index) {
  Protege([this, index] {
    DocumentReseau* r = gestion_.Reseau();
    if (!r || index < 0) return;
    const int32_t position = cavitesBox_->itemData(index).toInt();
    if (!r->UneCavite(position)) {
      // No cave model behind the document: only the active position moves.
      r->FixeCaviteActive(position);
      MajEtatControles();
      return;
    }
    SelectionneCavite(position);
  });
}

void TZoneVisees::RafraichitCavite() { SelectionneCavite(-1); }

void TZoneVisees::SelectionneCavite(int32_t cavite) {
  DocumentReseau* r = gestion_.Reseau();
  if (!r) return;
  // Nothing to show again: no computation either.
  if (r->NomsCavites().size() < 2 || (cavite >= 0 && cavite == r->CaviteActive())) return;
  GardeCalcul calcul(commandes_);
  survey::ContexteAffichage& affichage = survey::Affichage();
  if (affichage.CoordonneesAffichees) commandes_.CalculeReseau();
  emit ActiveCommande(Commande::RepeteRechercheBtn, false);
  visuVisees_->clearSelection();
  if (cavite >= 0) {
    // The rows of the cave being left go first.
    ViderTableVisees();
    r->FixeCaviteActive(cavite);
  }
  TCavite* c = CaviteActive();
  if (!affichage.CoordonneesAffichees) r->CalculeLesLevers(r->CaviteActive());
  affichage.ColonnesTopofil = Config().SaisieTopofil || (c && c->ATopofil);
  AfficheGaleries();
  MajMenuCoupes();
  if (!c || c->Visees.Vide()) {
    ViderTableVisees();
    MajEtatControles();
    return;
  }
  RemplitListeVisees(c->Visees.Last());
  if (coordBtn_->isChecked()) AfficheColonnesCoordonnees();
}

void TZoneVisees::SupprimeCaviteActive() {
  Protege([this] { commandes_.SupprimeCaviteActive(); });
}

std::vector<int32_t> TZoneVisees::PositionsCavites() const {
  std::vector<int32_t> positions;
  for (int i = 0; i < cavitesBox_->count(); ++i) positions.push_back(cavitesBox_->itemData(i).toInt());
  return positions;
}

void TZoneVisees::LacheCavite() {
  ViderTableVisees();
  VideSelecteursCavite();
  cavitesBox_->clear();
  leverEdit_->clear();
  declinText_->clear();
}

// --- Galleries ----------------------------------------------------------------------------------

void TZoneVisees::AfficheGalerieActive() {
  TCavite* c = CaviteActive();
  if (!c || !c->LaGalerieActive) {
    galeriesBox_->setCurrentIndex(-1);
    return;
  }
  galeriesBox_->setCurrentIndex(galeriesBox_->findData(c->Galeries.IndexOf(c->LaGalerieActive)));
}

void TZoneVisees::AfficheGaleries() {
  galeriesBox_->clear();
  TCavite* c = CaviteActive();
  if (c) {
    if (c->Galeries.Vide()) c->LaGalerieActive = nullptr;
    for (const ElementGalerie& e : ElementsGaleries(*c)) galeriesBox_->addItem(Q(e.Texte), e.Position);
    if (!c->LaGalerieActive && !c->Galeries.Vide()) c->LaGalerieActive = c->Galeries.Last();
    AfficheGalerieActive();
    platform::AjusteLargeurListe(*galeriesBox_);
  }
  MajEtatControles();
  AfficheArbreGaleries();
}

void TZoneVisees::AfficheArbreGaleries() {
  TCavite* c = CaviteActive();
  if (!c || c->Galeries.Vide()) return;
  arbreGaleries_->collapseAll();
  arbreGaleries_->clear();
  const ArbreGaleries arbre = CreeArbreGaleries(*c);
  const QFontMetrics fm(arbreGaleries_->font());
  std::vector<QTreeWidgetItem*> noeuds;
  noeuds.reserve(arbre.Noeuds.size());
  int plusLarge = 0;
  for (const NoeudGalerie& n : arbre.Noeuds) {
    auto* item = n.Parent < 0 ? new QTreeWidgetItem(arbreGaleries_) : new QTreeWidgetItem(noeuds[static_cast<size_t>(n.Parent)]);
    item->setText(0, Q(n.Nom));
    item->setData(0, Qt::UserRole, n.Position);
    // An unattached gallery in red.
    if (n.Galerie && !n.Galerie->Rattachee()) item->setForeground(0, CouleurQt(CouleurNonRattache));
    if (n.Galerie) plusLarge = std::max(plusLarge, fm.horizontalAdvance(item->text(0)));
    noeuds.push_back(item);
  }
  c->LargeurArbre = plusLarge + arbre.Niveaux * fm.horizontalAdvance(QStringLiteral("PPpp"));
  const int gauche = arbreGaleries_->x();
  const int largeur = std::min(c->LargeurArbre, visuVisees_->width() - gauche - 20);
  const QPoint hautTable = visuVisees_->mapTo(arbreGaleries_->parentWidget(), QPoint(0, 0));
  const int hauteur = std::min(foundation::Arrondi(fm.boundingRect(QStringLiteral("T")).height() *
                                                   static_cast<double>(noeuds.size()) * 1.3),
                               hautTable.y() + visuVisees_->height() - 50);
  arbreGaleries_->resize(std::max(largeur, 50), std::max(hauteur, 20));
  arbreGaleries_->expandAll();
  noClick_ = false;
}

void TZoneVisees::MajBoutonGaleries() {
  basculeAffGalBtn_->setCheckable(true);
  basculeAffGalBtn_->setChecked(GalParArbre);
  // The button names the way the gallery selector opens: the tree or the list.
  basculeAffGalBtn_->setText(Q(Msg(GalParArbre ? IdMsg::AppBtnCourtBasculeGal : IdMsg::AppBtnCourtListeGal)));
  arbreGaleries_->setVisible(false);
  galeriesBox_->setEnabled(true);
}

void TZoneVisees::BasculeAffGalBtnClick() {
  GalParArbre = !GalParArbre;
  MajBoutonGaleries();
}

void TZoneVisees::GaleriesBoxClick() {
  TCavite* c = CaviteActive();
  if (!GalParArbre || !c || c->Galeries.Vide()) return;
  AfficheArbreGaleries();
  const int noeud = CreeArbreGaleries(*c).NoeudDe(c->LaGalerieActive);
  // The node carrying the active gallery (found by its gallery: galleries
  // that do not descend from gallery 0 are not in the tree).
  QTreeWidgetItemIterator it(arbreGaleries_);
  for (int i = 0; *it; ++it, ++i)
    if (i == noeud) arbreGaleries_->setCurrentItem(*it);
  arbreGaleries_->expandAll();
  noClick_ = false;
  if (QAction* a = ActionDe(listeCoupesBox_)) a->setVisible(false);
  galeriesBox_->setEnabled(false);
  arbreGaleries_->raise();
  arbreGaleries_->setVisible(true);
  arbreGaleries_->setFocus();
}

void TZoneVisees::ArbreNoClick() { noClick_ = true; }

void TZoneVisees::ArbreGaleriesClick(QTreeWidgetItem* noeud) {
  if (noClick_) {
    noClick_ = false;
    return;
  }
  TCavite* c = CaviteActive();
  if (!noeud || !c) {
    visuVisees_->setFocus();
    return;
  }
  const survey::TGalerie* g = c->UneGalerie(noeud->data(0, Qt::UserRole).toInt());
  if (!g || g == c->LaGalerieActive) return;
  c->LaGalerieActive = const_cast<survey::TGalerie*>(g);
  FinGalBtnClick();
}

void TZoneVisees::ArbreGaleriesExit() {
  arbreGaleries_->setVisible(false);
  if (QAction* a = ActionDe(listeCoupesBox_)) a->setVisible(true);
  // The window enables the selector again when the command is available.
  if (gestion_.Reseau() && CaviteActive()) emit ActiveCommande(Commande::GaleriesBox, true);
}

void TZoneVisees::GaleriesBoxChange(int index) {
  Protege([this, index] {
    TCavite* c = CaviteActive();
    if (!c || index < 0) return;
    survey::TGalerie* g = c->UneGalerie(galeriesBox_->itemData(index).toInt());
    if (!g) return;
    if (g == c->LaGalerieActive) {
      visuVisees_->setFocus();
      return;
    }
    c->LaGalerieActive = g;
    FinGalBtnClick();
  });
}

// --- Entrances and sections --------------------------------------------------------------------

void TZoneVisees::EntreesBoxChange(int index) {
  Protege([this, index] {
    TCavite* c = CaviteActive();
    if (!c || index < 0 || index >= c->ListeEntrees.Count()) return;
    survey::TPointSpeleo* e = c->ListeEntrees.Item(index);
    if (e == c->EntreeSelectee) return;
    c->EntreeSelectee = e;
    c->ReGenereListePoints(false);
    RafraichitCavite();
  });
}

void TZoneVisees::MajMenuCoupes() {
  listeCoupesBox_->clear();
  DocumentReseau* r = gestion_.Reseau();
  if (!r || !CaviteActive()) return;
  const int32_t cavite = r->CaviteActive();
  std::vector<CoupeCavite> coupes = r->CoupesLongues(cavite);
  // Sorted by the distance along the survey where each starts: only a list
  // of several needs the computed network.
  if (coupes.size() > 1) {
    GardeCalcul calcul(commandes_);
    commandes_.CalculeReseau();
    coupes = r->CoupesLongues(cavite);
    TrieCoupes(coupes);
  }
  for (const CoupeCavite& c : coupes) listeCoupesBox_->addItem(Q(c.Designation), c.Position);
  if (coupes.empty()) return;
  int index = listeCoupesBox_->findData(r->DessinAlti(cavite));
  if (index < 0) index = 0;
  listeCoupesBox_->setCurrentIndex(index);
  ListeCoupesBoxChange(index);
  platform::AjusteLargeurListe(*listeCoupesBox_);
}

void TZoneVisees::ListeCoupesBoxChange(int index) {
  DocumentReseau* r = gestion_.Reseau();
  if (!r || index < 0 || index >= listeCoupesBox_->count()) return;
  r->FixeDessinAlti(r->CaviteActive(), listeCoupesBox_->itemData(index).toInt());
}

// --- Refill ---------------------------------------------------------------------------------------

void TZoneVisees::RemplitListeVisees(TValeurVisee* aSelectionner) {
  ListeViseesPrete = false;
  remplissageEnCours_ = true;
  visuVisees_->setUpdatesEnabled(false);
  TTableVisees::Remplissage resultat;
  TCavite* c = CaviteActive();
  try {
    if (!c || c->Visees.Vide()) {
      modele_->Reinitialise([this] { table_.Vide(); });
      MajEtatControles();
    } else {
      std::optional<platform::WaitMessage> attente;
      if (!SansAttente) attente.emplace(Msg(IdMsg::AppCalculsEnCours));
      modele_->Reinitialise([&] { resultat = table_.Remplit(*c, AfficheViseesHab); });
      const bool entrees = c->ListeEntrees.Count() > 1;
      AfficheEntrees(entrees);
      if (entrees) {
        entreesBox_->clear();
        for (survey::TPointSpeleo* e : c->ListeEntrees) entreesBox_->addItem(Q(e->DesignPTopo));
        entreesBox_->setCurrentIndex(c->ListeEntrees.IndexOf(c->EntreeSelectee));
        platform::AjusteLargeurListe(*entreesBox_);
      }
      titrePointVise_ = TitrePointVise(resultat.HabiExistent, AfficheViseesHab);
      RegleColonnes();
      attente.reset();
      remplissageEnCours_ = false;
      if (aSelectionner) SelectionneLigne(table_.LigneDe(aSelectionner));
    }
  } catch (const std::exception&) {
    remplissageEnCours_ = false;
    visuVisees_->setUpdatesEnabled(true);
    ListeViseesPrete = true;
    throw;
  }
  remplissageEnCours_ = false;
  visuVisees_->setUpdatesEnabled(true);
  LignesModifiees();
  MajMnuSauve();
  ListeViseesPrete = true;
  // The faulty shots of the cave, named once.
  RapporteErreurs(resultat.Erreurs);
}

// --- Selection ------------------------------------------------------------------------------------

void TZoneVisees::VisuViseesSelectItem(int ligne) {
  TValeurVisee* v = table_.Visee(ligne);
  TVisee* principale = table_.ViseePrincipale(ligne);
  TCavite* c = CaviteActive();
  if (!v || !principale || !c) return;
  survey::ContexteDocument& doc = survey::Document();
  // The shot's gallery becomes the active one.
  if (survey::TGalerie* g = principale->GalDeLaVis()) {
    c->LaGalerieActive = g;
    doc.NomGalerieCourante = g->NomGalerie;
  }
  AfficheGalerieActive();
  // Its survey trip.
  doc.LeverCourant = principale->LeLever;
  leverEdit_->setText(principale->LeLever ? Q(principale->LeLever->DateTexte()) : QString());
  declinText_->setText(principale->SansDecli() ? QString()
                                               : Q(Msg(IdMsg::AppDeclinaison) + principale->LeLever->DeclinStr()));
  // In view, and its popup menu.
  visuVisees_->scrollTo(modele_->index(ligne, 0));
  ChoisitMenuTable(ligne);
  // The comment memo.
  if (v->EstHabi) {
    visuComment_->setPlainText(Q(static_cast<TViseeHabi*>(v)->CommentVisee.Texte()));
    editSuiteBtn_->setVisible(false);
  } else {
    const survey::TPointSpeleo* p = principale->PtCalc;
    QString texte;
    if (p)
      for (size_t i = 0; i < p->Commentaire.size(); ++i) texte += (i ? QStringLiteral("\n") : QString()) + Q(p->Commentaire[i]);
    visuComment_->setPlainText(texte);
    const bool suites = p && p->SuiteRenseignee();
    editSuiteBtn_->setVisible(suites);
    QPalette palette = editSuiteBtn_->palette();
    palette.setColor(QPalette::ButtonText, CouleurQt(CouleurSuites(*principale)));
    editSuiteBtn_->setPalette(palette);
  }
}

void TZoneVisees::VisuViseesColumnClick(int colonne) {
  TCavite* c = CaviteActive();
  if (colonne == ColonnePointVise && c) {
    // Whether the cave has splays now (some may have been added since the
    // last refill).
    c->Visees.TesteHabiExiste();
    if (c->Visees.ViseesHabExistent) {
      AfficheViseesHab = !AfficheViseesHab;
      RemplitListeVisees(table_.ViseePrincipale(LigneFocus()));
      return;
    }
  }
  if (visuVisees_->isEnabled()) visuVisees_->setFocus();
}

// --- Navigation -----------------------------------------------------------------------------------

void TZoneVisees::DebutGalBtnClick() {
  Protege([this] {
    if (TCavite* c = CaviteActive()) SelectionneLigne(table_.LigneDe(c->PremiereViseeGalActive()));
  });
}

void TZoneVisees::FinGalBtnClick() {
  Protege([this] {
    TCavite* c = CaviteActive();
    if (!c) return;
    TVisee* v = c->DerniereViseeGalActive();
    if (!v) return;
    if (AfficheViseesHab && !v->ViseesHabi.Vide())
      SelectionneLigne(table_.LigneDe(v->ViseesHabi.Last()));
    else
      SelectionneLigne(table_.LigneDe(v));
    if (visuVisees_->isEnabled()) visuVisees_->setFocus();
  });
}

void TZoneVisees::RatgalBtnClick() {
  Protege([this] {
    TCavite* c = CaviteActive();
    const survey::TGalerie* g = c ? c->LaGalerieActive : nullptr;
    if (!g || g->Isolee()) return;
    const survey::TPointSpeleo* p = g->PointRattach();
    const TVisee* premiere = g->PremiereVisee();
    if (!p || p->EstPointSurface() || !premiere) return;
    SelectionneLigne(table_.LigneDe(premiere->ViseePreced()));
  });
}

void TZoneVisees::CherchePtBtnClick() {
  Protege([this] {
    int ligne = -1;
    if (DialogueRecherche) {
      ligne = DialogueRecherche(table_, recherche_);
    } else {
      TChercheViseeDlg dlg(table_, recherche_, this);
      dlg.InitPoints();
      if (dlg.exec() == QDialog::Accepted) ligne = dlg.ViseeCherchee;
    }
    if (ligne >= 0) SelectionneLigne(ligne);
    emit ActiveCommande(Commande::RepeteRechercheBtn, ligne >= 0);
  });
}

void TZoneVisees::RepeteRechercheBtnClick() {
  Protege([this] {
    const int ligne = recherche_.CherchePointSuivant();
    if (ligne >= 0) SelectionneLigne(ligne);
  });
}

void TZoneVisees::EditSuiteBtnClick() {
  Protege([this] {
    const TVisee* v = table_.ViseePrincipale(LigneFocus());
    if (v && v->PtCalc && !table_.EstHabi(LigneFocus())) v->PtCalc->VoirSuites();
  });
}

// --- Edits ------------------------------------------------------------------------------------------

void TZoneVisees::AjoutButtonClick() {
  Protege([this] { commandes_.Ajoute(); });
}

void TZoneVisees::InsereVisee() { commandes_.Insere(); }

void TZoneVisees::VisuViseesDblClick() {
  Protege([this] { commandes_.Rectifie(); });
}

void TZoneVisees::SupprimeViseeSelectionnee() { commandes_.SupprimeVisee(); }

void TZoneVisees::VerifieViseesHabi() {
  TCavite* c = CaviteActive();
  if (!c) return;
  c->Visees.TesteHabiExiste();
  if (!c->Visees.ViseesHabExistent) {
    titrePointVise_ = TitrePointVise(false, false);
    RegleColonnes();
  }
}

bool TZoneVisees::VisuViseesKeyDown(int touche, Qt::KeyboardModifiers modificateurs) {
  const bool ctrl = modificateurs & Qt::ControlModifier;
  const bool alt = modificateurs & Qt::AltModifier;
  if (touche == Qt::Key_Delete && LigneFocus() >= 0) {
    SupprimeViseeSelectionnee();
    return true;
  }
  if (touche == Qt::Key_Insert && LigneFocus() >= 0) {
    InsereVisee();
    return true;
  }
  if (touche == Qt::Key_F5 && ctrl && alt) {
    const foundation::ContexteNiveauFichier& n = foundation::NiveauFichier();
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information,
                                             Msg(IdMsg::AppVersionLogiciel) + n.VersionLogicielFichier + " / " +
                                                 std::to_string(n.VersionFichierLue));
    return true;
  }
  if (touche == Qt::Key_S && ctrl) {
    emit EnregistrementDemande();
    return true;
  }
  return false;
}

// --- Printing -----------------------------------------------------------------------------------------

void TZoneVisees::ImprimeButtonClick(bool galerieActive) {
  Protege([this, galerieActive] {
    DocumentReseau* r = gestion_.Reseau();
    TCavite* c = CaviteActive();
    if (!r || !c || table_.Nombre() == 0 || !sortieImpression_) return;
    // The rows in table order, splays included when shown.
    const std::vector<TValeurVisee*> visees = table_.Lignes();
    int premiere = 0, derniere = table_.Nombre() - 1;
    if (galerieActive) {
      premiere = table_.LigneDe(c->PremiereViseeGalActive());
      derniere = table_.LigneDe(c->DerniereViseeGalActive());
      if (premiere < 0 || derniere < premiere) return;
    }
    const std::vector<platform::Printer*> imprimantes = platform::PrinterList();
    if (std::find(imprimantes.begin(), imprimantes.end(), imprimante_) == imprimantes.end())
      imprimante_ = imprimantes.front();
    for (;;) {
      imprimante_->SetOrientation(platform::PageOrientation::Landscape);
      const std::optional<platform::PageMetrics> page = imprimante_->Metrics();
      if (!page) return;
      const std::vector<PageListe> pages =
          GenerePagesListe(visees, premiere, derniere, sortieImpression_->Mesures(*page), r->Nom(), c->NomCavite);
      if (pages.empty()) return;
      const auto choix = sortieImpression_->Dialogue(static_cast<int>(pages.size()), *imprimante_);
      if (!choix) return;
      platform::Printer* choisie = choix->Imprimante ? choix->Imprimante : imprimante_;
      std::optional<platform::PageMetrics> autre;
      if (choisie != imprimante_) {
        choisie->SetOrientation(platform::PageOrientation::Landscape);
        autre = choisie->Metrics();
      }
      // Another printer or another page size: the pages are made again.
      if (choisie != imprimante_ &&
          (!autre || autre->PageWidth != page->PageWidth || autre->PageHeight != page->PageHeight ||
           autre->DpiX != page->DpiX || autre->DpiY != page->DpiY)) {
        imprimante_ = choisie;
        continue;
      }
      imprimante_ = choisie;
      sortieImpression_->Imprime(*choix, pages, *page);
      return;
    }
  });
}

}  // namespace app
