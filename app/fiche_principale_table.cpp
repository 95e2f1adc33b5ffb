// The main window's working area: the shot table, the cave, gallery,
// entrance and long-section selectors, the comment memo, and the commands on
// the focused row (add, insert, correct, delete, navigate, search, print).
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <optional>
#include <unordered_map>

#include "app/cherche_visee_dlg.h"
#include "app/colonnes_visees.h"
#include "app/config_generale.h"
#include "app/fiche_principale.h"
#include "app/liste_imprimee.h"
#include "app/modele_visees.h"
#include "app/selecteurs.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/niveau_fichier.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/qt/combo_box.h"
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

QString Q(const std::string& s) { return QString::fromStdString(s); }

QColor Qc(uint32_t c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

// Sets one of the document's editing flags for the life of the guard.
class GardeDrapeau {
 public:
  explicit GardeDrapeau(bool& drapeau) : drapeau_(drapeau), sauve_(drapeau) { drapeau_ = true; }
  ~GardeDrapeau() { drapeau_ = sauve_; }
  GardeDrapeau(const GardeDrapeau&) = delete;
  GardeDrapeau& operator=(const GardeDrapeau&) = delete;

 private:
  bool& drapeau_;
  bool sauve_;
};

// At most this many faulty shots are named in the report of a refill.
constexpr size_t kErreursNommees = 10;

}  // namespace

void TBoiteGaleries::showPopup() {
  if (AvantListe && AvantListe()) return;
  QComboBox::showPopup();
}

// One network computation for a whole operation: the first request computes,
// the next ones inside the same operation find the network computed.
class GardeCalcul {
 public:
  explicit GardeCalcul(TFichePrincipale& f) : f_(f) {
    if (f_.niveauCalcul_++ == 0) f_.calculFait_ = false;
  }
  ~GardeCalcul() { --f_.niveauCalcul_; }
  GardeCalcul(const GardeCalcul&) = delete;
  GardeCalcul& operator=(const GardeCalcul&) = delete;

 private:
  TFichePrincipale& f_;
};

void TFichePrincipale::CalculeReseau() {
  DocumentReseau* r = gestion_.Reseau();
  if (!r || (niveauCalcul_ > 0 && calculFait_)) return;
  r->CalculeReseau();
  if (niveauCalcul_ > 0) calculFait_ = true;
}

// --- Creation ---------------------------------------------------------------------------------

void TFichePrincipale::CreeTableVisees(QWidget* parent) {
  visuVisees_ = new QTableView(parent);
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
  modele_->FixeSurbrillance(platform::FromQRgb(palette.color(QPalette::Active, QPalette::Highlight).rgb()));
  visuVisees_->setContextMenuPolicy(Qt::CustomContextMenu);
  popupMenuLigne_ = new QMenu(this);
  popupMenuLigne_->setObjectName(QStringLiteral("PopupMenuLigne"));
  popupMenuHabi_ = new QMenu(this);
  popupMenuHabi_->setObjectName(QStringLiteral("PopupMenuHabi"));
  titrePointVise_ = TitrePointVise(false, false);
}

void TFichePrincipale::ConnecteTable() {
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
    if (menuTable_ && !menuTable_->isEmpty()) menuTable_->popup(visuVisees_->viewport()->mapToGlobal(p));
  });
  connect(modele_, &TModeleVisees::ErreursDeDessin, this, [this] { RapporteErreurs(table_.ErreursARapporter()); });

  arbreGaleries_->installEventFilter(this);
  QPalette palette = arbreGaleries_->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Highlight, Qc(0xC0C0C0));
  palette.setColor(QPalette::Inactive, QPalette::Highlight, Qc(0xC0C0C0));
  palette.setColor(QPalette::HighlightedText, palette.color(QPalette::WindowText));
  arbreGaleries_->setPalette(palette);
  connect(arbreGaleries_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem* n) { Protege([this, n] { ArbreGaleriesClick(n); }); });
  connect(arbreGaleries_, &QTreeWidget::itemExpanded, this, [this] { ArbreNoClick(); });
  connect(arbreGaleries_, &QTreeWidget::itemCollapsed, this, [this] { ArbreNoClick(); });
  // Any change of the main menu hides the tree.
  connect(menuBar(), &QMenuBar::hovered, this, [this] {
    if (arbreGaleries_->isVisible()) ArbreGaleriesExit();
  });
  MajBoutonGaleries();
  RegleColonnes();
}

bool TFichePrincipale::eventFilter(QObject* objet, QEvent* evenement) {
  if (objet == visuVisees_ && evenement->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(evenement);
    bool traitee = false;
    Protege([&] { traitee = VisuViseesKeyDown(k->key(), k->modifiers()); });
    if (traitee) return true;
  } else if (objet == visuVisees_->viewport() && evenement->type() == QEvent::Resize) {
    RegleColonnes();
  } else if (objet == arbreGaleries_ && evenement->type() == QEvent::FocusOut) {
    ArbreGaleriesExit();
  }
  return QMainWindow::eventFilter(objet, evenement);
}

void TFichePrincipale::FixeSortieImpression(std::unique_ptr<SortieImpressionListe> sortie) {
  sortieImpression_ = std::move(sortie);
}

// --- Helpers ------------------------------------------------------------------------------------

TCavite* TFichePrincipale::CaviteActive() const {
  const DocumentReseau* r = gestion_.Reseau();
  return r ? r->UneCavite(r->CaviteActive()) : nullptr;
}

int TFichePrincipale::LigneFocus() const {
  const QModelIndex i = visuVisees_->currentIndex();
  return (i.isValid() && i.row() < table_.Nombre()) ? i.row() : -1;
}

void TFichePrincipale::SelectionneLigne(int ligne) {
  if (ligne < 0 || ligne >= table_.Nombre()) return;
  const QModelIndex i = modele_->index(ligne, 0);
  visuVisees_->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  visuVisees_->scrollTo(i);
}

void TFichePrincipale::ViderTableVisees() {
  modele_->Reinitialise([this] { table_.Vide(); });
  LignesModifiees();
  survey::Document().LeverCourant = nullptr;
  visuComment_->clear();
  editSuiteBtn_->setVisible(false);
}

void TFichePrincipale::VideSelecteursCavite() {
  galeriesBox_->clear();
  arbreGaleries_->clear();
  arbreGaleries_->setVisible(false);
  listeCoupesBox_->clear();
  entreesBox_->clear();
}

void TFichePrincipale::LignesModifiees() {
  recherche_.Invalide();
  Active(commandes_[static_cast<size_t>(Commande::RepeteRechercheBtn)], false);
}

void TFichePrincipale::RapporteErreurs(const std::vector<std::string>& erreurs) {
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

void TFichePrincipale::AfficheEntrees(bool visible) {
  auto* barre = qobject_cast<QToolBar*>(entreeLabel_->parentWidget());
  if (!barre) return;
  for (QAction* a : barre->actions()) {
    QWidget* w = barre->widgetForAction(a);
    if (w == entreeLabel_ || w == entreesBox_) a->setVisible(visible);
  }
}

void TFichePrincipale::ChoisitMenuTable(int ligne) { menuTable_ = table_.EstHabi(ligne) ? popupMenuHabi_ : popupMenuLigne_; }

// --- Columns --------------------------------------------------------------------------------------

void TFichePrincipale::RegleColonnes() {
  const survey::ContexteAffichage& a = survey::Affichage();
  const EtatColonnes etat{a.ColonnesTopofil, a.CoordonneesAffichees, a.DimensionsAffichees};
  const LargeursColonnes l = LargeursDisposition(etat, visuVisees_->viewport()->width());
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

void TFichePrincipale::AfficheColonnesCoordonnees() { RegleColonnes(); }
void TFichePrincipale::AfficheColonnesTopo() { RegleColonnes(); }

void TFichePrincipale::AfficheColonnesDimensions() {
  survey::Affichage().DimensionsAffichees = true;
  RegleColonnes();
}

void TFichePrincipale::MasqueColonnesDimensions() {
  survey::Affichage().DimensionsAffichees = false;
  RegleColonnes();
}

void TFichePrincipale::CoordBtnClick() {
  Protege([this] {
    if (coordBtn_->isChecked()) {
      GardeCalcul calcul(*this);
      CalculeReseau();
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

void TFichePrincipale::DimBtnClick() {
  Protege([this] {
    if (dimBtn_->isChecked())
      AfficheColonnesDimensions();
    else
      MasqueColonnesDimensions();
    if (visuVisees_->isEnabled()) visuVisees_->setFocus();
  });
}

void TFichePrincipale::AnnuleCoordonnees() {
  if (!survey::Affichage().CoordonneesAffichees) return;
  coordBtn_->setChecked(false);
  CoordBtnClick();
}

void TFichePrincipale::InvalideTextesVisees() {
  table_.InvalideTout();
  if (table_.Nombre() > 0) modele_->TextesChanges(0, table_.Nombre() - 1);
  if (visuVisees_->isEnabled()) visuVisees_->setFocus();
}

// --- Caves ----------------------------------------------------------------------------------------

void TFichePrincipale::CavitesBoxChange(int index) {
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

void TFichePrincipale::RafraichitCavite() { SelectionneCavite(-1); }

void TFichePrincipale::SelectionneCavite(int32_t cavite) {
  DocumentReseau* r = gestion_.Reseau();
  if (!r) return;
  // Nothing to show again: no computation either.
  if (r->NomsCavites().size() < 2 || (cavite >= 0 && cavite == r->CaviteActive())) return;
  GardeCalcul calcul(*this);
  survey::ContexteAffichage& affichage = survey::Affichage();
  if (affichage.CoordonneesAffichees) CalculeReseau();
  Active(commandes_[static_cast<size_t>(Commande::RepeteRechercheBtn)], false);
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

void TFichePrincipale::SupprimeCaviteActive() {
  Protege([this] {
    DocumentReseau* r = gestion_.Reseau();
    const int32_t position = r ? r->CaviteActive() : -1;
    if (!r || position < 1) return;
    if (platform::Dialogs::Current().AskYesNo(Msg(IdMsg::AppSupprimerCavite) + r->NomCavite(position)) != platform::Answer::Yes)
      return;
    // The cave that becomes active: the next item of the selector, else the
    // previous one; positions after the deleted cave move down by one.
    int32_t suivante = -1;
    const int index = cavitesBox_->findData(position);
    if (index >= 0 && index + 1 < cavitesBox_->count())
      suivante = cavitesBox_->itemData(index + 1).toInt();
    else if (index > 0)
      suivante = cavitesBox_->itemData(index - 1).toInt();
    if (suivante > position) --suivante;
    // Nothing on screen may read the cave once it is freed: the table, the
    // selectors and the editing state let go of it first.
    ViderTableVisees();
    VideSelecteursCavite();
    cavitesBox_->clear();
    survey::Document().NomGalerieCourante.clear();
    leverEdit_->clear();
    declinText_->clear();
    if (!r->SupprimeCavite(position)) {
      AfficheListeCavites(true);
      return;
    }
    r->FixeCaviteActive(suivante);
    survey::Document().DocumentModifie = true;
    AfficheListeCavites(true);
    MajMnuSauve();
  });
}

// --- Galleries ----------------------------------------------------------------------------------

void TFichePrincipale::AfficheGalerieActive() {
  TCavite* c = CaviteActive();
  if (!c || !c->LaGalerieActive) {
    galeriesBox_->setCurrentIndex(-1);
    return;
  }
  galeriesBox_->setCurrentIndex(galeriesBox_->findData(c->Galeries.IndexOf(c->LaGalerieActive)));
}

void TFichePrincipale::AfficheGaleries() {
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

void TFichePrincipale::AfficheArbreGaleries() {
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
    if (n.Galerie && !n.Galerie->Rattachee()) item->setForeground(0, Qc(CouleurNonRattache));
    if (n.Galerie) plusLarge = std::max(plusLarge, fm.horizontalAdvance(item->text(0)));
    noeuds.push_back(item);
  }
  c->LargeurArbre = plusLarge + arbre.Niveaux * fm.horizontalAdvance(QStringLiteral("PPpp"));
  const int gauche = arbreGaleries_->x();
  const int largeur = std::min(c->LargeurArbre, visuVisees_->width() - gauche - 20);
  const QPoint hautTable = visuVisees_->mapTo(this, QPoint(0, 0));
  const int hauteur = std::min(foundation::Arrondi(fm.boundingRect(QStringLiteral("T")).height() *
                                                   static_cast<double>(noeuds.size()) * 1.3),
                               hautTable.y() + visuVisees_->height() - 50);
  arbreGaleries_->resize(std::max(largeur, 50), std::max(hauteur, 20));
  arbreGaleries_->expandAll();
  noClick_ = false;
}

void TFichePrincipale::MajBoutonGaleries() {
  basculeAffGalBtn_->setCheckable(true);
  basculeAffGalBtn_->setChecked(GalParArbre);
  arbreGaleries_->setVisible(false);
  galeriesBox_->setEnabled(true);
}

void TFichePrincipale::BasculeAffGalBtnClick() {
  GalParArbre = !GalParArbre;
  MajBoutonGaleries();
}

void TFichePrincipale::GaleriesBoxClick() {
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
  listeCoupesAction_->setVisible(false);
  galeriesBox_->setEnabled(false);
  arbreGaleries_->raise();
  arbreGaleries_->setVisible(true);
  arbreGaleries_->setFocus();
}

void TFichePrincipale::ArbreNoClick() { noClick_ = true; }

void TFichePrincipale::ArbreGaleriesClick(QTreeWidgetItem* noeud) {
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

void TFichePrincipale::ArbreGaleriesExit() {
  arbreGaleries_->setVisible(false);
  listeCoupesAction_->setVisible(true);
  if (gestion_.Reseau() && Disponible(galeriesBox_) && CaviteActive()) galeriesBox_->setEnabled(true);
}

void TFichePrincipale::GaleriesBoxChange(int index) {
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

void TFichePrincipale::EntreesBoxChange(int index) {
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

void TFichePrincipale::MajMenuCoupes() {
  listeCoupesBox_->clear();
  DocumentReseau* r = gestion_.Reseau();
  if (!r || !CaviteActive()) return;
  const int32_t cavite = r->CaviteActive();
  std::vector<CoupeCavite> coupes = r->CoupesLongues(cavite);
  // Sorted by the distance along the survey where each starts: only a list
  // of several needs the computed network.
  if (coupes.size() > 1) {
    GardeCalcul calcul(*this);
    CalculeReseau();
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

void TFichePrincipale::ListeCoupesBoxChange(int index) {
  DocumentReseau* r = gestion_.Reseau();
  if (!r || index < 0 || index >= listeCoupesBox_->count()) return;
  r->FixeDessinAlti(r->CaviteActive(), listeCoupesBox_->itemData(index).toInt());
}

// --- Refill ---------------------------------------------------------------------------------------

void TFichePrincipale::RemplitListeVisees(TValeurVisee* aSelectionner) {
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
      if (!premiereActivation_) attente.emplace(Msg(IdMsg::AppCalculsEnCours));
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

void TFichePrincipale::VisuViseesSelectItem(int ligne) {
  TValeurVisee* v = table_.Visee(ligne);
  TVisee* principale = table_.ViseePrincipale(ligne);
  TCavite* c = CaviteActive();
  if (!v || !principale || !c) return;
  survey::ContexteDocument& doc = survey::Document();
  // 1. The shot's gallery becomes the active one.
  if (survey::TGalerie* g = principale->GalDeLaVis()) {
    c->LaGalerieActive = g;
    doc.NomGalerieCourante = g->NomGalerie;
  }
  AfficheGalerieActive();
  // 2. Its survey trip.
  doc.LeverCourant = principale->LeLever;
  leverEdit_->setText(principale->LeLever ? Q(principale->LeLever->DateTexte()) : QString());
  declinText_->setText(principale->SansDecli() ? QString()
                                               : Q(Msg(IdMsg::AppDeclinaison) + principale->LeLever->DeclinStr()));
  // 3. In view, and its popup menu.
  visuVisees_->scrollTo(modele_->index(ligne, 0));
  ChoisitMenuTable(ligne);
  // 4. The comment memo.
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
    palette.setColor(QPalette::ButtonText, Qc(CouleurSuites(*principale)));
    editSuiteBtn_->setPalette(palette);
  }
}

void TFichePrincipale::VisuViseesColumnClick(int colonne) {
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

void TFichePrincipale::DebutGalBtnClick() {
  Protege([this] {
    if (TCavite* c = CaviteActive()) SelectionneLigne(table_.LigneDe(c->PremiereViseeGalActive()));
  });
}

void TFichePrincipale::FinGalBtnClick() {
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

void TFichePrincipale::RatgalBtnClick() {
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

void TFichePrincipale::CherchePtBtnClick() {
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
    Active(commandes_[static_cast<size_t>(Commande::RepeteRechercheBtn)], ligne >= 0);
  });
}

void TFichePrincipale::RepeteRechercheBtnClick() {
  Protege([this] {
    const int ligne = recherche_.CherchePointSuivant();
    if (ligne >= 0) SelectionneLigne(ligne);
  });
}

void TFichePrincipale::EditSuiteBtnClick() {
  Protege([this] {
    const TVisee* v = table_.ViseePrincipale(LigneFocus());
    if (v && v->PtCalc && !table_.EstHabi(LigneFocus())) v->PtCalc->VoirSuites();
  });
}

// --- Edits ------------------------------------------------------------------------------------------

void TFichePrincipale::AjoutButtonClick() {
  Protege([this] {
    TCavite* c = CaviteActive();
    if (!c || !CreeVisee) return;
    for (;;) {
      const int galeries = c->Galeries.Count();
      const int entrees = c->ListeEntrees.Count();
      TVisee* source = table_.ViseePrincipale(LigneFocus());
      if (!c->LaGalerieActive && !c->Galeries.Vide()) c->LaGalerieActive = c->UneGalerie(0);
      TValeurVisee* cree = CreeVisee(*c, source);
      if (!cree) break;
      survey::Document().DocumentModifie = true;
      if (cree->EstHabi && !AfficheViseesHab) {
        AfficheViseesHab = true;
        RemplitListeVisees(cree);
      } else if (table_.Nombre() > 0) {
        int insertion;
        if (cree->EstHabi) {
          TVisee* reference = static_cast<TViseeHabi*>(cree)->ViseeDeRef;
          insertion = table_.LigneDe(reference) + (reference ? reference->ViseesHabi.IndexOf(cree) : 0);
        } else {
          source = c->LaVisee(c->Visees.IndexOf(static_cast<TVisee*>(cree)) - 1);
          insertion = table_.LigneDe(source);
          if (insertion >= 0 && AfficheViseesHab) insertion += source->ViseesHabi.Count();
        }
        if (galeries == c->Galeries.Count() && entrees == c->ListeEntrees.Count()) {
          modele_->AvantInsertion(insertion + 1);
          table_.Insere(insertion + 1, cree);
          modele_->ApresInsertion();
          LignesModifiees();
        } else {
          RafraichitCavite();
        }
      } else {
        modele_->AvantInsertion(0);
        table_.Insere(0, cree);
        modele_->ApresInsertion();
        LignesModifiees();
      }
      SelectionneLigne(table_.LigneDe(cree));
      MajEtatControles();
    }
    c->NettoieLevers();
    // The new stations have no coordinates until the next computation.
    AnnuleCoordonnees();
    MajMnuSauve();
  });
}

void TFichePrincipale::InsereVisee() {
  TCavite* c = CaviteActive();
  const int ligne = LigneFocus();
  TVisee* source = table_.ViseePrincipale(ligne);
  if (!c || !source || !CreeVisee) return;
  TValeurVisee* cree = nullptr;
  {
    GardeDrapeau insertion(survey::Document().InsertionVisee);
    cree = CreeVisee(*c, source);
  }
  if (!cree) return;
  survey::Document().DocumentModifie = true;
  const int ligneSource = table_.LigneDe(source);
  if (cree->EstHabi) {
    // The dialog made it a splay of the source.
    AfficheViseesHab = true;
    RemplitListeVisees(cree);
  } else {
    modele_->AvantInsertion(ligneSource);
    table_.Insere(ligneSource, cree);
    modele_->ApresInsertion();
    LignesModifiees();
    // The source now starts at the new station: its texts and its splays'.
    const int l = table_.LigneDe(source);
    const int fin = l + (AfficheViseesHab ? source->ViseesHabi.Count() : 0);
    for (int i = l; i <= fin; ++i) table_.Invalide(i);
    modele_->TextesChanges(l, fin);
    SelectionneLigne(table_.LigneDe(cree));
  }
  AnnuleCoordonnees();
  MajMnuSauve();
}

void TFichePrincipale::VisuViseesDblClick() {
  Protege([this] {
    TCavite* c = CaviteActive();
    const int ligne = LigneFocus();
    TValeurVisee* v = table_.Visee(ligne);
    if (!c || !v || !RectifVisee) return;
    const int32_t position = v->IndexCav;
    bool corrigee = false;
    {
      GardeDrapeau rectif(survey::Document().RectifEnCours);
      corrigee = RectifVisee(*c, *v);
    }
    if (!corrigee) return;
    survey::Document().DocumentModifie = true;
    if (v->IndexCav == position) {
      const int l = table_.LigneDe(v);
      table_.InvalideDepuis(l);
      modele_->TextesChanges(l, table_.Nombre() - 1);
    } else {
      RemplitListeVisees(v);
    }
    MajMnuSauve();
  });
}

void TFichePrincipale::SupprimeViseeSelectionnee() {
  DocumentReseau* r = gestion_.Reseau();
  TCavite* c = CaviteActive();
  int i = LigneFocus();
  const int supprimee = i;
  TValeurVisee* v = table_.Visee(i);
  if (!r || !c || !v) return;
  const bool habi = v->EstHabi;
  const int galeries = c->Galeries.Count();
  if (habi) {
    if (platform::Dialogs::Current().AskYesNo(Msg(IdMsg::AppSupprimerHabi)) != platform::Answer::Yes) return;
    TVisee* principale = static_cast<TViseeHabi*>(v)->ViseeDeRef;
    // The row goes before the splay is freed.
    modele_->AvantRetrait(i, i);
    table_.Retire(i, i);
    modele_->ApresRetrait();
    if (principale)
      principale->ViseesHabi.Remove(v);
    survey::Document().DocumentModifie = true;
  } else {
    auto* principale = static_cast<TVisee*>(v);
    const int derniere = i + (AfficheViseesHab ? principale->ViseesHabi.Count() : 0);
    // While the network deletes (and frees) the shot and its splays, the
    // table holds no row: nothing can be drawn from a freed shot, even while
    // the network's questions are on screen.
    bool fait = false;
    modele_->Reinitialise([&] {
      std::vector<TValeurVisee*> lignes = table_.Detache();
      try {
        fait = r->SupprimeVisee(*principale);
      } catch (const std::exception&) {
        table_.Rattache(std::move(lignes));
        throw;
      }
      table_.Rattache(std::move(lignes));
      if (fait) table_.Retire(i, derniere);
    });
    if (!fait) {
      SelectionneLigne(i);
      return;
    }
  }
  LignesModifiees();
  if (i >= table_.Nombre()) i = table_.Nombre() - 1;
  if (table_.Nombre() > 0) {
    table_.InvalideDepuis(i);
    modele_->TextesChanges(i, table_.Nombre() - 1);
    SelectionneLigne(i);
  } else {
    visuVisees_->clearSelection();
    visuVisees_->setCurrentIndex(QModelIndex());
    visuComment_->clear();
    editSuiteBtn_->setVisible(false);
  }
  if (habi) {
    VerifieViseesHabi();
  } else {
    AnnuleCoordonnees();
    if (galeries != c->Galeries.Count()) AfficheGaleries();
    MajMenuCoupes();
  }
  // The row above the deleted one.
  if (supprimee > 0) SelectionneLigne(std::min(supprimee - 1, table_.Nombre() - 1));
  if (table_.Nombre() == 0) MajEtatControles();
  MajMnuSauve();
}

void TFichePrincipale::VerifieViseesHabi() {
  TCavite* c = CaviteActive();
  if (!c) return;
  c->Visees.TesteHabiExiste();
  if (!c->Visees.ViseesHabExistent) {
    titrePointVise_ = TitrePointVise(false, false);
    RegleColonnes();
  }
}

bool TFichePrincipale::VisuViseesKeyDown(int touche, Qt::KeyboardModifiers modificateurs) {
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
    if (Disponible(commandes_[static_cast<size_t>(Commande::EnregistreButton)]) &&
        static_cast<QWidget*>(commandes_[static_cast<size_t>(Commande::EnregistreButton)])->isEnabled())
      EnregistreDocument();
    return true;
  }
  return false;
}

// --- Printing -----------------------------------------------------------------------------------------

void TFichePrincipale::ImprimeButtonClick(bool galerieActive) {
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
