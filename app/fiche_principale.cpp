#include "app/fiche_principale.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <exception>

#include "app/application.h"
#include "app/commun/commande_connectee.h"
#include "app/commun/config_generale.h"
#include "app/commun/erreurs.h"
#include "app/commun/protege.h"
#include "app/document/config_gene_dlg.h"
#include "app/document/document_survey.h"
#include "app/echanges/commandes_export.h"
#include "app/echanges/commandes_import.h"
#include "app/reseau/compens_dlg.h"
#include "app/reseau/fiche_pts_surface.h"
#include "app/reseau/instruments_dlg.h"
#include "app/reseau/operateurs_dlg.h"
#include "app/reseau/saisie_nom_reseau_dlg.h"
#include "app/reseau/structure_galeries_dlg.h"
#include "app/table/table_visees.h"
#include "app/table/zone_visees.h"
#include "document/liaisons_modele.h"
#include "drawing/import_motifs.h"
#include "formats/import/autre_reseau/import_cavites.h"
#include "formats/import/autre_reseau/maj_cavite.h"
#include "formats/import/import_fichier_autre.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/codage.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/qt/conversions_qt.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/dossiers.h"
#include "survey/liste_points.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"

namespace app {
namespace {

using foundation::IdMsg;
using foundation::Msg;

using platform::qt::CouleurQt;
using platform::qt::Q;
QString M(IdMsg id) { return Q(Msg(id)); }

// Menu captions show '&' as a mnemonic mark.
QString SansRaccourci(const std::string& s) { return Q(s).replace(QLatin1Char('&'), QStringLiteral("&&")); }

constexpr int kLargeurPanneau = 300;

// RectifEnCours set to a value for the life of the guard, put back after it
// (also on an exception).
class GardeRectif {
 public:
  explicit GardeRectif(bool valeur) : sauve_(survey::Document().RectifEnCours) { survey::Document().RectifEnCours = valeur; }
  ~GardeRectif() { survey::Document().RectifEnCours = sauve_; }
  GardeRectif(const GardeRectif&) = delete;
  GardeRectif& operator=(const GardeRectif&) = delete;

 private:
  bool sauve_;
};

}  // namespace

// --- Status panel -------------------------------------------------------------

TPanneauEtat::TPanneauEtat(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PanneauEtat"));
  setFixedWidth(kLargeurPanneau);
  setMinimumHeight(fontMetrics().height() + 4);
}

QSize TPanneauEtat::sizeHint() const { return QSize(kLargeurPanneau, fontMetrics().height() + 4); }

void TPanneauEtat::Fixe(uint32_t couleur, const QString& texte) {
  couleur_ = couleur;
  texte_ = texte;
  setToolTip(texte);
  update();
}

void TPanneauEtat::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), CouleurQt(couleur_));
  if (texte_.isEmpty()) return;
  p.setPen(Qt::black);
  p.drawText(QRect(5, 2, width() - 5, height() - 2), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, texte_);
}

// --- Window -------------------------------------------------------------------

TFichePrincipale::TFichePrincipale(FabriqueDocument fabrique, std::vector<std::string> arguments, QWidget* parent)
    : QMainWindow(parent), gestion_(std::move(fabrique)), arguments_(std::move(arguments)) {
  setObjectName(QStringLiteral("FichePrincipale"));
  zone_ = new TZoneVisees(gestion_, this);
  InstalleCreationCompensation();
  InstalleImportPartie();
  CreeMenus();
  CreeBarres();
  InstalleVues();
  InstalleEditionVisees();
  CreeZoneCentrale();

  resize(1280, 800);
  // Centred on the screen, and no larger than it.
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect g = s->availableGeometry();
    resize(std::min(width(), g.width()), std::min(height(), g.height()));
    move(g.x() + foundation::Arrondi((g.width() - width()) / 2.0), g.y() + foundation::Arrondi((g.height() - height()) / 2.0));
  }
  lignesMenuFichier_ = static_cast<int>(menuFichier_->actions().size());
  MajMenuDerniersFichiers();
  SaisieCaracteristiquesReseau = [this](DocumentReseau& reseau) {
    // The survey model's network: the characteristics dialog.
    if (auto* d = dynamic_cast<TDocumentSurvey*>(&reseau)) {
      TSaisieNomReseauDlg dlg(d->Reseau(), this);
      return dlg.exec() == QDialog::Accepted;
    }
    // Another network knows only its name: a blank name is refused with its
    // message and asked again; Cancel gives up.
    platform::Dialogs& dialogues = platform::Dialogs::Current();
    for (;;) {
      const auto nom = dialogues.Prompt(Msg(IdMsg::AppNomReseauTitre), Msg(IdMsg::AppNomReseauInvite), reseau.Nom());
      if (!nom) return false;
      if (nom->find_first_not_of(" \t") != std::string::npos) {
        reseau.FixeNom(*nom);
        return true;
      }
      dialogues.ShowMessage(platform::MessageKind::Warning, Msg(IdMsg::AppNomReseauVide));
    }
  };
  // Whatever a command changed in the document shows at once on the save
  // button and in the caption (the recent-file lines end with it too).
  for (QAction* a : findChildren<QAction*>()) connect(a, &QAction::triggered, this, [this] { MajMnuSauve(); });
  for (QToolButton* b : findChildren<QToolButton*>()) connect(b, &QToolButton::clicked, this, [this] { MajMnuSauve(); });
  MajEtatControles();
}

TFichePrincipale::~TFichePrincipale() {
  // The shot-table area goes while the document it shows is still there.
  delete zone_;
}

void Protege(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, TexteErreur(e));
  }
}

QAction* TFichePrincipale::AjouteAction(QMenu* menu, const char* nom, const std::string& texte, Commande commande) {
  QAction* a = menu->addAction(Q(texte));
  a->setObjectName(QString::fromLatin1(nom));
  if (commande != Commande::NombreDeCommandes) commandes_[static_cast<size_t>(commande)] = a;
  Active(a, true);
  return a;
}

QToolButton* TFichePrincipale::AjouteBouton(QToolBar* barre, const char* nom, IdMsg texte, IdMsg aide, Commande commande) {
  auto* b = new QToolButton(barre);
  b->setObjectName(QString::fromLatin1(nom));
  b->setText(M(texte));
  b->setToolTip(M(aide));
  b->setAutoRaise(true);
  QFont police = b->font();
  police.setPointSizeF(police.pointSizeF() * 0.9);
  b->setFont(police);
  barre->addWidget(b);
  if (commande != Commande::NombreDeCommandes) commandes_[static_cast<size_t>(commande)] = b;
  Active(b, true);
  return b;
}

void TFichePrincipale::Connecte(QAction* action, std::function<void()> gestionnaire) {
  ConnecteCommande(action, &QAction::triggered, this, [g = std::move(gestionnaire)] { g(); });
  if (!SuitUneRegle(action)) Active(action, true);
}

void TFichePrincipale::Connecte(QToolButton* bouton, std::function<void()> gestionnaire) {
  ConnecteCommande(bouton, &QToolButton::clicked, this, [g = std::move(gestionnaire)] { g(); });
  if (!SuitUneRegle(bouton)) Active(bouton, true);
}

bool TFichePrincipale::SuitUneRegle(const QObject* controle) const {
  return std::find(commandes_.begin(), commandes_.end(), controle) != commandes_.end();
}

bool TFichePrincipale::Disponible(QObject* controle) const {
  // A menu is there to use when one of its entries is (MajEtatControles).
  if (auto* a = qobject_cast<QAction*>(controle)) return a->menu() || AUnGestionnaire(a);
  // The commands: a button or a selector does its work through its handler.
  if (qobject_cast<QAbstractButton*>(controle) || qobject_cast<QComboBox*>(controle)) return AUnGestionnaire(controle);
  // The fields that show the document (the shot table, the trip) follow
  // their state rule alone.
  return true;
}

void TFichePrincipale::Active(QObject* controle, bool actif) {
  if (!controle) return;
  const bool etat = actif && Disponible(controle);
  if (auto* a = qobject_cast<QAction*>(controle))
    a->setEnabled(etat);
  else if (auto* w = qobject_cast<QWidget*>(controle))
    w->setEnabled(etat);
}

void TFichePrincipale::CreeMenus() {
  using C = Commande;
  QMenuBar* barre = menuBar();
  barre->setObjectName(QStringLiteral("MainMenu"));
  const auto menu = [&](const char* nom, IdMsg titre, Commande c = C::NombreDeCommandes) {
    QMenu* m = barre->addMenu(M(titre));
    m->setObjectName(QString::fromLatin1(nom));
    m->menuAction()->setObjectName(QString::fromLatin1(nom));
    if (c != C::NombreDeCommandes) commandes_[static_cast<size_t>(c)] = m->menuAction();
    return m;
  };

  menuFichier_ = menu("mnuFichier", IdMsg::AppMnuFichier);
  Connecte(AjouteAction(menuFichier_, "Nouveau1", Msg(IdMsg::AppMnuNouveau)), [this] { BtnNouveauClick(); });
  Connecte(AjouteAction(menuFichier_, "mnuOuvrir", Msg(IdMsg::AppMnuOuvrir)), [this] { mnuOuvrirClick(); });
  Connecte(AjouteAction(menuFichier_, "Enregistrer", Msg(IdMsg::AppMnuEnregistrer), C::MnuEnregistrer),
           [this] { EnregistrerClick(); });
  Connecte(AjouteAction(menuFichier_, "Enregistrersous", Msg(IdMsg::AppMnuEnregistrerSous), C::MnuEnregistrerSous),
           [this] { EnregistrersousClick(); });
  menuFichier_->addSeparator();
  Connecte(AjouteAction(menuFichier_, "Configuration", Msg(IdMsg::AppMnuConfiguration)),
           [this] { ConfigurationClick(); });
  menuFichier_->addSeparator();
  Connecte(AjouteAction(menuFichier_, "Imprimer", Msg(IdMsg::AppMnuImprimer), C::MnuImprimer),
           [this] { zone_->ImprimeButtonClick(true); });
  menuFichier_->addSeparator();
  Connecte(AjouteAction(menuFichier_, "Quitter", Msg(IdMsg::AppMnuQuitter)), [this] { close(); });

  QMenu* rectif = menu("mnuRectif", IdMsg::AppMnuRectif, C::MenuRectif);
  QAction* rectifReseau = AjouteAction(rectif, "RectifReseau", Msg(IdMsg::AppMnuRectifReseau));
  rectifReseau->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+R")));
  Connecte(rectifReseau, [this] { RectifReseauClick(); });
  AjouteAction(rectif, "RectifCavite", Msg(IdMsg::AppMnuRectifCavite), C::RectifCavite)
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+C")));
  AjouteAction(rectif, "RectifGalerie", Msg(IdMsg::AppMnuRectifGalerie), C::RectifGalerie)
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+G")));

  QMenu* exports = menu("mnuExports", IdMsg::AppMnuExports, C::MenuExports);
  const auto exporte = [this](QAction* a, void (*commande)()) { Connecte(a, [commande] { Protege(commande); }); };
  exporte(AjouteAction(exports, "ExportPartie", Msg(IdMsg::AppMnuExportPartie), C::ExportPartie), ExportePartie);
  exporte(AjouteAction(exports, "ExportCSV", Msg(IdMsg::AppMnuExportCSV), C::ExportCSV), ExporteCSV);
  AjouteAction(exports, "ExportPoints", Msg(IdMsg::AppMnuExportPoints), C::ExportPoints);
  AjouteAction(exports, "ExportSVG", Msg(IdMsg::AppMnuExportSVG));
  exporte(AjouteAction(exports, "ExportKml", Msg(IdMsg::AppMnuExportKml), C::ExportKml), ExporteKml);
  exporte(AjouteAction(exports, "ExportDXF", Msg(IdMsg::AppMnuExportDXF), C::ExportDXF), ExporteDxf);
  exporte(AjouteAction(exports, "ExportGPX", Msg(IdMsg::AppMnuExportGPX), C::ExportGPX), ExporteGpx);
  exporte(AjouteAction(exports, "ExportVTopo", Msg(IdMsg::AppMnuExportVTopo), C::ExportVTopo), ExporteVTopo);
  exporte(AjouteAction(exports, "ExportQave", Msg(IdMsg::AppMnuExportQave), C::ExportQave), ExporteFichierQave);

  QMenu* imports = menu("mnuImports", IdMsg::AppMnuImports, C::MenuImports);
  Connecte(AjouteAction(imports, "ImportReseau", Msg(IdMsg::AppMnuImportReseau), C::ImportAutreReseau),
           [this] { ImportAutreReseauClick(); });
  AjouteAction(imports, "NumeriserPlani", Msg(IdMsg::AppMnuNumeriserPlani), C::NumeriserPlani);
  AjouteAction(imports, "NumeriserAlti", Msg(IdMsg::AppMnuNumeriserAlti), C::NumeriserAlti);
  AjouteAction(imports, "ImportTopoRobot", Msg(IdMsg::AppMnuImportTopoRobot), C::ImportTopoRobot);
  AjouteAction(imports, "ImportVTopo", Msg(IdMsg::AppMnuImportVTopo), C::ImportVTopo);
  AjouteAction(imports, "ImportTexte", Msg(IdMsg::AppMnuImportTexte), C::ImportTexte);
  AjouteAction(imports, "ImportCarnet", Msg(IdMsg::AppMnuImportCarnet), C::ImportCarnet);
  // An import entry gets its handler when a reader exists for each of its types.
  for (const CommandeImport& c : CommandesImport())
    if (ImportDisponible(c))
      Connecte(static_cast<QAction*>(commandes_[static_cast<size_t>(c.Etat)]), [this, &c] { ImportAutresClick(c); });
  Connecte(AjouteAction(imports, "MajCarnet", Msg(IdMsg::AppMnuMajCarnet), C::MajCarnet), [this] { MajCarnetClick(); });

  QMenu* compens = menu("mnuCompensations", IdMsg::AppMnuCompensations, C::MenuCompensations);
  Connecte(AjouteAction(compens, "CompensListe", Msg(IdMsg::AppMnuCompensListe)),
           [this] { CompensationsClick(false); });
  Connecte(AjouteAction(compens, "CompensModifier", Msg(IdMsg::AppMnuCompensModifier)),
           [this] { CompensationsClick(true); });

  QMenu* gestion = menu("mnuGestionCavites", IdMsg::AppMnuGestionCavites, C::MenuGestionCavites);
  Connecte(AjouteAction(gestion, "SuppressionCav", Msg(IdMsg::AppMnuSuppression), C::SuppressionCav),
           [this] { zone_->SupprimeCaviteActive(); });
  AjouteAction(gestion, "Individualiser", Msg(IdMsg::AppMnuIndividualiser));
  Connecte(AjouteAction(gestion, "FusionGaleries", Msg(IdMsg::AppMnuFusionGaleries), C::FusionGaleries),
           [this] { FusionGaleriesClick(); });
  AjouteAction(gestion, "ImpressionArbre", Msg(IdMsg::AppMnuImpressionArbre), C::ImpressionArbre);
  Connecte(AjouteAction(gestion, "ComparaisonCavites", Msg(IdMsg::AppMnuComparaison)),
           [this] { ComparaisonCavitesClick(); });
  AjouteAction(gestion, "FusionCavites", Msg(IdMsg::AppMnuFusionCavites));
  caviteCoordonnees_ = AjouteAction(gestion, "CaviteCoordonnees", Msg(IdMsg::AppMnuCaviteCoordonnees));
  caviteCoordonnees_->setVisible(false);
  AjouteAction(gestion, "XmlGaleries", Msg(IdMsg::AppMnuXmlGaleries))->setVisible(false);

  QMenu* motifs = menu("mnuMotifs", IdMsg::AppMnuMotifs, C::MenuMotifs);
  Connecte(AjouteAction(motifs, "MotifsImporter", Msg(IdMsg::AppMnuImporter)), [this] { MotifsImporterClick(); });
  AjouteAction(motifs, "MotifsExporter", Msg(IdMsg::AppMnuExporter));
  AjouteAction(motifs, "GererMotifs", Msg(IdMsg::AppMnuGererMotifs));

  QMenu* operateurs = menu("mnuOperateurs", IdMsg::AppMnuOperateurs, C::MenuOperateurs);
  QMenu* instruments = menu("mnuInstruments", IdMsg::AppMnuInstruments, C::MenuInstruments);
  CreeMenusListes(operateurs, instruments);

  QMenu* aide = menu("mnuAide", IdMsg::AppMnuAide);
  AjouteAction(aide, "ModeEmploi", Msg(IdMsg::AppMnuModeEmploi));
  AjouteAction(aide, "APropos", Msg(IdMsg::AppMnuAPropos));
}

void TFichePrincipale::CreeBarres() {
  using C = Commande;
  auto* barre = new QToolBar(this);
  barre->setObjectName(QStringLiteral("ToolBar1"));
  barre->setMovable(false);
  addToolBar(Qt::TopToolBarArea, barre);
  Connecte(AjouteBouton(barre, "BtnNouveau", IdMsg::AppBtnCourtNouveau, IdMsg::AppBtnNouveau),
           [this] { BtnNouveauClick(); });
  Connecte(AjouteBouton(barre, "OuvreButton", IdMsg::AppBtnCourtOuvrir, IdMsg::AppBtnOuvrir),
           [this] { mnuOuvrirClick(); });
  barre->addSeparator();
  Connecte(AjouteBouton(barre, "ImprimeButton", IdMsg::AppBtnImprimer, IdMsg::AppBtnImprimer, C::ImprimeButton),
           [this] { zone_->ImprimeButtonClick(false); });
  Connecte(
      AjouteBouton(barre, "EnregistreButton", IdMsg::AppBtnEnregistrer, IdMsg::AppBtnEnregistrer, C::EnregistreButton),
      [this] { EnregistrerClick(); });
  barre->addSeparator();
  Connecte(AjouteBouton(barre, "NewCaveButton", IdMsg::AppBtnCourtNouvelleCavite, IdMsg::AppBtnNouvelleCavite),
           [this] { NewCaveButtonClick(); });
  // Its handler comes with the shot table's creation of shots (InstalleEditionVisees).
  AjouteBouton(barre, "AjoutButton", IdMsg::AppBtnCourtAjout, IdMsg::AppBtnAjout, C::AjoutButton);
  Connecte(AjouteBouton(barre, "SurfaceBton", IdMsg::AppBtnCourtSurface, IdMsg::AppBtnSurface, C::SurfaceBton),
           [this] { SurfaceBtonClick(); });
  barre->addSeparator();
  barre->addWidget(zone_->CavitesBox());
  Active(zone_->CavitesBox(), true);
  barre->addSeparator();
  QToolButton* basculeAffGalBtn =
      AjouteBouton(barre, "BasculeAffGalBtn", IdMsg::AppBtnCourtBasculeGal, IdMsg::AppBtnBasculeGal, C::BasculeAffGalBtn);
  barre->addWidget(zone_->GaleriesBox());
  barre->addSeparator();
  commandes_[static_cast<size_t>(C::GaleriesBox)] = zone_->GaleriesBox();
  Connecte(AjouteBouton(barre, "DebutGalBtn", IdMsg::AppBtnCourtDebutGal, IdMsg::AppBtnDebutGal, C::DebutGalBtn),
           [this] { zone_->DebutGalBtnClick(); });
  Connecte(AjouteBouton(barre, "FinGalBtn", IdMsg::AppBtnCourtFinGal, IdMsg::AppBtnFinGal, C::FinGalBtn),
           [this] { zone_->FinGalBtnClick(); });
  Connecte(AjouteBouton(barre, "RatgalBtn", IdMsg::AppBtnCourtRatGal, IdMsg::AppBtnRatGal, C::RatgalBtn),
           [this] { zone_->RatgalBtnClick(); });
  Connecte(AjouteBouton(barre, "ImprimeGalButton", IdMsg::AppBtnCourtImprimeGal, IdMsg::AppBtnImprimeGal,
                        C::ImprimeGalButton),
           [this] { zone_->ImprimeButtonClick(true); });
  barre->addSeparator();
  AjouteBouton(barre, "ButtonPlan", IdMsg::AppBtnPlan, IdMsg::AppBtnPlan, C::ButtonPlan);
  AjouteBouton(barre, "VisuCoupeBtn", IdMsg::AppBtnCoupe, IdMsg::AppBtnCoupe, C::VisuCoupeBtn);
  AjouteBouton(barre, "VisuSuitesBtn", IdMsg::AppBtnSuites, IdMsg::AppBtnSuites, C::VisuSuitesBtn);
  AjouteBouton(barre, "Btn3D", IdMsg::AppBtn3D, IdMsg::AppBtn3D, C::Btn3D);
  barre->addSeparator();
  Connecte(AjouteBouton(barre, "GEBtn", IdMsg::AppBtnCourtGE, IdMsg::AppBtnGE, C::GEBtn),
           [] { Protege(VisualiseGoogleEarth); });
  AjouteBouton(barre, "StatBtn", IdMsg::AppBtnCourtStat, IdMsg::AppBtnStat, C::StatBtn);
  AjouteBouton(barre, "OrientBtn", IdMsg::AppBtnCourtOrient, IdMsg::AppBtnOrient, C::OrientBtn);

  addToolBarBreak(Qt::TopToolBarArea);
  auto* rang2 = new QToolBar(this);
  rang2->setObjectName(QStringLiteral("ToolBar2"));
  rang2->setMovable(false);
  addToolBar(Qt::TopToolBarArea, rang2);
  rang2->addWidget(new QLabel(M(IdMsg::AppLblLever), rang2));
  rang2->addWidget(zone_->LeverEdit());
  commandes_[static_cast<size_t>(C::LeverEdit)] = zone_->LeverEdit();
  rang2->addWidget(zone_->DeclinText());
  rang2->addSeparator();
  QToolButton* coordBtn = AjouteBouton(rang2, "CoordBtn", IdMsg::AppBtnCourtCoord, IdMsg::AppBtnCoord, C::CoordBtn);
  QToolButton* dimBtn = AjouteBouton(rang2, "DimBtn", IdMsg::AppBtnCourtDim, IdMsg::AppBtnDim, C::DimBtn);
  rang2->addSeparator();
  Connecte(AjouteBouton(rang2, "CherchePtBtn", IdMsg::AppBtnCourtChercher, IdMsg::AppBtnChercher, C::CherchePtBtn),
           [this] { zone_->CherchePtBtnClick(); });
  Connecte(AjouteBouton(rang2, "RepeteRechercheBtn", IdMsg::AppBtnCourtChercherEncore, IdMsg::AppBtnChercherEncore,
                        C::RepeteRechercheBtn),
           [this] { zone_->RepeteRechercheBtnClick(); });
  rang2->addSeparator();
  AjouteBouton(rang2, "DessinPlanBtn", IdMsg::AppBtnDessinPlan, IdMsg::AppBtnDessinPlan, C::DessinPlanBtn);
  AjouteBouton(rang2, "DessinCoupeBtn", IdMsg::AppBtnDessinCoupe, IdMsg::AppBtnDessinCoupe, C::DessinCoupeBtn);
  rang2->addWidget(zone_->ListeCoupesBox());
  rang2->addSeparator();
  commandes_[static_cast<size_t>(C::ListeCoupesBox)] = zone_->ListeCoupesBox();
  AjouteBouton(rang2, "GestionCoupesBtn", IdMsg::AppBtnGestionCoupes, IdMsg::AppBtnGestionCoupes, C::GestionCoupesBtn);
  rang2->addSeparator();
  AjouteBouton(rang2, "JonctionBtn", IdMsg::AppBtnJonction, IdMsg::AppBtnJonction, C::JonctionBtn);
  // Hidden until needed: the tool bar hides its actions, not the widgets.
  rang2->addSeparator();
  rang2->addWidget(zone_->EntreeLabel())->setVisible(false);
  rang2->addWidget(zone_->EntreesBox())->setVisible(false);
  Active(zone_->EntreesBox(), true);
  zone_->AttacheBoutons(coordBtn, dimBtn, basculeAffGalBtn);
}

void TFichePrincipale::CreeZoneCentrale() {
  commandes_[static_cast<size_t>(Commande::VisuVisees)] = zone_->VisuVisees();
  setCentralWidget(zone_);
  connect(zone_, &TZoneVisees::EtatChange, this, [this] { MajEtatControles(); });
  connect(zone_, &TZoneVisees::DocumentChange, this, [this] { MajMnuSauve(); });
  connect(zone_, &TZoneVisees::ActiveCommande, this,
          [this](Commande c, bool actif) { Active(commandes_[static_cast<size_t>(c)], actif); });
  connect(zone_, &TZoneVisees::EnregistrementDemande, this, [this] {
    QObject* enregistre = commandes_[static_cast<size_t>(Commande::EnregistreButton)];
    if (Disponible(enregistre) && static_cast<QWidget*>(enregistre)->isEnabled()) EnregistreDocument();
  });
  // Any change of the main menu hides the gallery tree.
  connect(menuBar(), &QMenuBar::hovered, zone_, [this] {
    if (zone_->ArbreDesGaleries()->isVisible()) zone_->ArbreGaleriesExit();
  });

  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("StatusBarPrinc"));
  statusBar_->setSizeGripEnabled(false);
  panneau_ = new TPanneauEtat(statusBar_);
  statusBar_->addWidget(panneau_);
  setStatusBar(statusBar_);
}

// --- Document life --------------------------------------------------------------

void TFichePrincipale::NouveauReseau() {
  zone_->ViderTableVisees();
  zone_->VideSelecteursCavite();
  gestion_.NouveauReseau();
}

bool TFichePrincipale::DemandeEnregistrement() {
  return gestion_.DemandeEnregistrement(zone_->ListeViseesPrete, [this] { return EnregistreDocument(); });
}

void TFichePrincipale::NommeNouveauReseau() {
  DocumentReseau* reseau = gestion_.Reseau();
  if (!reseau) return;
  survey::Document().NomFichierCourant = reseau->Nom() + ".cav";
  setWindowTitle(M(IdMsg::AppTitreReseau) + Q(reseau->Nom()));
  AfficheListeCavites(true);
  survey::Document().DemandeNomFichier = true;
}

void TFichePrincipale::AfficheListeCavites(bool selection) { zone_->AfficheListeCavites(selection); }

void TFichePrincipale::OuvreDocument(const std::string& chemin) {
  const bool document = foundation::EnMinuscules(platform::ExtensionOf(chemin)) == ".cav";
  // The filter chosen gives the import type; a file the filter does not show
  // (a ".tro" typed in with the document filter) is known by its extension.
  const int type = document ? 0 : TypeImportOuverture(chemin, filtreOuverture_);
  if (!document && !formats::LecteurImportDisponible(type)) {
    // Nothing can read it: the open document stays as it is.
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error,
                                             foundation::RemplaceMarques(Msg(IdMsg::AppFormatInconnu), {chemin}));
    return;
  }
  // The table lets go of the shots before the network that holds them goes.
  const auto videTable = [this] {
    zone_->ViderTableVisees();
    zone_->VideSelecteursCavite();
  };
  try {
    if (!document) {
      // The foreign file becomes a new document only when its import
      // succeeds; otherwise the open document stays as it was.
      if (gestion_.OuvreAutreDocument(chemin, type, videTable))
        MontreImport();
      else
        MajEtatControles();
    } else if (gestion_.OuvreDocument(chemin, videTable)) {
      // The splay shots listed as when the document was saved.
      if (const survey::TReseau* r = ReseauSurvey(); r && r->ViseesHabAffichees)
        zone_->AfficheViseesHab = *r->ViseesHabAffichees;
      AfficheListeCavites(true);
    } else {
      // A file that cannot be read leaves the open document as it was.
      MajEtatControles();
    }
  } catch (const std::exception&) {
    // A programming error stopped the reading; the window follows the
    // document left (the open one put back) before the command handler
    // reports the error.
    MajEtatControles();
    MajMenuDerniersFichiers();
    MajMnuSauve();
    throw;
  }
  MajMenuDerniersFichiers();
  MajMnuSauve();
}

void TFichePrincipale::OuvrirAutre(const std::string& chemin, int type) {
  bool ok = false;
  try {
    ok = gestion_.OuvrirAutre(chemin, type);
  } catch (const std::exception&) {
    // The import put the document back before the error goes on.
    MajEtatControles();
    throw;
  }
  if (ok)
    MontreImport();
  else
    MajEtatControles();
}

void TFichePrincipale::MontreImport() {
  AfficheListeCavites(false);
  zone_->RafraichitCavite();
  const int lignes = zone_->Table().Nombre();
  if (lignes > 0) zone_->SelectionneLigne(lignes - 1);
}

bool TFichePrincipale::EnregistreDocument() {
  // The companion file keeps whether the table lists the splay shots.
  if (survey::TReseau* r = ReseauSurvey()) r->ViseesHabAffichees = zone_->AfficheViseesHab;
  const bool ok = gestion_.EnregistreReseauSous();
  if (ok) MajMenuDerniersFichiers();
  MajEtatControles();
  return ok;
}

void TFichePrincipale::MajMenuDerniersFichiers() {
  const QList<QAction*> actions = menuFichier_->actions();
  for (int i = lignesMenuFichier_; i < actions.size(); ++i) {
    menuFichier_->removeAction(actions[i]);
    // Gone from the menu, it no longer answers to its line's name.
    actions[i]->setObjectName(QString());
    actions[i]->deleteLater();
  }
  const auto& liste = Config().ListeDerniersFichiers;
  if (liste.empty()) return;
  menuFichier_->addSeparator();
  for (size_t i = 0; i < liste.size(); ++i) {
    QAction* a = menuFichier_->addAction(SansRaccourci(liste[i].Chemin));
    a->setObjectName(QStringLiteral("derfich") + QString::number(i));
    a->setData(static_cast<int>(i));
    Connecte(a, [this, a] { derfichClick(a->data().toInt()); });
  }
}

void TFichePrincipale::MajDerniersFichiers() {
  if (gestion_.MajDerniersFichiers()) MajMenuDerniersFichiers();
}

void TFichePrincipale::MajMnuSauve() {
  Active(commandes_[static_cast<size_t>(Commande::EnregistreButton)], survey::Document().DocumentModifie);
  const survey::ContexteDocument& doc = survey::Document();
  // The caption names the network, marked while it has unsaved changes.
  const DocumentReseau* reseau = gestion_.Reseau();
  setWindowTitle(reseau ? M(IdMsg::AppTitreReseau) + Q(reseau->Nom()) + (doc.DocumentModifie ? QStringLiteral(" *") : QString())
                        : QString());
  // The recent-file line of the open document has nothing to open.
  const QList<QAction*> lignes = menuFichier_->actions();
  for (int i = lignesMenuFichier_; i < lignes.size(); ++i)
    if (!lignes[i]->isSeparator()) lignes[i]->setEnabled(lignes[i]->text() != SansRaccourci(doc.NomFichierCourant));
  if (!gestion_.Reseau())
    panneau_->Fixe(0xFFFFFF, QString());
  else
    panneau_->Fixe(gestion_.LectureSeule() ? 0x0000FF : 0x00FF00, Q(doc.NomFichierCourant));
}

void TFichePrincipale::MajEtatControles() {
  const EtatsControles r = app::MajEtatControles(gestion_.Etat());
  for (int i = 0; i < NombreDeCommandes; ++i) {
    const Activation a = r.Commandes[static_cast<size_t>(i)];
    if (a != Activation::Inchangee) Active(commandes_[static_cast<size_t>(i)], a == Activation::Active);
  }
  caviteCoordonnees_->setVisible(false);
  zone_->AppliqueEtat(r);
  // Printing lists the table's rows: without rows there is nothing to print.
  if (zone_->Table().Nombre() == 0)
    for (Commande c : {Commande::ImprimeButton, Commande::MnuImprimer}) Active(commandes_[static_cast<size_t>(c)], false);
  // The menus that follow no command are there when one of their entries is.
  for (QAction* m : menuBar()->actions())
    if (std::find(commandes_.begin(), commandes_.end(), m) == commandes_.end()) Active(m, true);
  // A menu none of whose entries can be used now (the exports of a network
  // with neither cave nor surface point, a menu whose entries have no
  // handler yet) opens on nothing: it is disabled.
  for (QAction* m : menuBar()->actions()) {
    if (!m->isEnabled() || !m->menu()) continue;
    bool utile = false;
    for (QAction* e : m->menu()->actions()) utile = utile || (!e->isSeparator() && e->isEnabled() && e->isVisible());
    if (!utile) m->setEnabled(false);
  }
  MajMnuSauve();
}

// --- Events ---------------------------------------------------------------------

void TFichePrincipale::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (premiereActivation_) QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TFichePrincipale::FormActivate() {
  if (!premiereActivation_) return;
  // Once only, also when a dialog of the import lets the window be shown
  // again; the first table is filled without the wait window.
  premiereActivation_ = false;
  Protege([this] {
    const std::string chemin = CheminLigneCommande(arguments_);
    if (chemin.empty()) return;
    // A document is opened; a foreign file is imported with the type its
    // extension names, the gallery window shown; anything else says why.
    if (!platform::FileExists(chemin)) {
      platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error,
                                               foundation::RemplaceMarques(Msg(IdMsg::AppFichierAbsent), {chemin}));
      return;
    }
    filtreOuverture_ = 1;
    OuvreDocument(chemin);
  });
  zone_->SansAttente = false;
}

void TFichePrincipale::closeEvent(QCloseEvent* e) {
  bool fermer = false;
  Protege([&] { fermer = DemandeEnregistrement(); });
  if (!fermer) {
    e->ignore();
    return;
  }
  Protege([this] {
    if (gestion_.Reseau()) {
      MajDerniersFichiers();
      zone_->ViderTableVisees();
      zone_->VideSelecteursCavite();
      gestion_.LibereReseau();
    }
  });
  e->accept();
}

void TFichePrincipale::BtnNouveauClick(bool depuisNouvelleCavite) {
  Protege([this, depuisNouvelleCavite] {
    if (!DemandeEnregistrement()) return;
    NouveauReseau();
    survey::ContexteDocument& doc = survey::Document();
    doc.LeverCourant = nullptr;
    doc.NomGalerieCourante.clear();
    zone_->VideChamps();
    DocumentReseau* reseau = gestion_.Reseau();
    bool ok = true;
    if (depuisNouvelleCavite) ok = reseau->CreeCavite();
    if (ok) ok = SaisieCaracteristiquesReseau && SaisieCaracteristiquesReseau(*reseau);
    if (ok) {
      NommeNouveauReseau();
      // A new network holding a cave has something to lose.
      if (depuisNouvelleCavite) doc.DocumentModifie = true;
    } else {
      gestion_.LibereReseau();
      doc.NomFichierCourant.clear();
      doc.DocumentModifie = false;
    }
    MajEtatControles();
  });
}

void TFichePrincipale::NewCaveButtonClick() {
  if (!gestion_.Reseau()) {
    BtnNouveauClick(true);
    return;
  }
  Protege([this] {
    if (!gestion_.Reseau()->CreeCavite()) return;
    survey::Document().DocumentModifie = true;
    AfficheListeCavites(true);
    MajEtatControles();
  });
}

bool TFichePrincipale::DemandeRemplacement() {
  survey::ContexteDocument& doc = survey::Document();
  remplace_ = {gestion_.Reseau(), doc.NomFichierCourant, doc.DocumentModifie};
  if (!DemandeEnregistrement()) {
    remplace_ = {};
    return false;
  }
  // Answered "No": the changes go with the document, not before it.
  if (!(remplace_.Modifie && !doc.DocumentModifie && doc.NomFichierCourant.empty())) remplace_ = {};
  return true;
}

void TFichePrincipale::GardeSiNonRemplace() {
  survey::ContexteDocument& doc = survey::Document();
  if (remplace_.Reseau && gestion_.Reseau() == remplace_.Reseau && !doc.DocumentModifie) {
    doc.NomFichierCourant = remplace_.Nom;
    doc.DocumentModifie = true;
  }
  remplace_ = {};
  MajMnuSauve();
}

void TFichePrincipale::mnuOuvrirClick() {
  Protege([this] {
    if (!DemandeRemplacement()) return;
    platform::FileDialogOptions options;
    options.Filter = Msg(IdMsg::AppFiltreOuvrir);
    options.FilterIndex = filtreOuverture_;
    options.InitialFolder = survey::DossierDeTravail();
    const auto choix = platform::Dialogs::Current().OpenFile(options);
    if (choix) {
      filtreOuverture_ = choix->FilterIndex;
      survey::Document().CaviteRappelee = -1;
      OuvreDocument(choix->Path);
    }
    GardeSiNonRemplace();
  });
}

void TFichePrincipale::ImportAutresClick(const CommandeImport& commande) {
  Protege([this, &commande] {
    platform::FileDialogOptions options;
    options.Filter = Msg(commande.Filtre);
    options.InitialFolder = survey::DossierDeTravail();
    const auto choix = platform::Dialogs::Current().OpenFile(options);
    if (!choix) return;
    const int n = static_cast<int>(commande.Types.size());
    const int type = commande.Types[static_cast<size_t>(std::clamp(choix->FilterIndex, 1, n) - 1)];
    OuvrirAutre(choix->Path, type);
    MajMnuSauve();
  });
}

// --- Another document, comparison, notebook update ------------------------------------------------

namespace {

// The Open dialog on a filter; the chosen file, or none.
std::optional<platform::FileChoice> ChoisitFichier(IdMsg filtre, const std::string& titre = {}) {
  platform::FileDialogOptions options;
  options.Filter = Msg(filtre);
  options.Title = titre;
  options.InitialFolder = survey::DossierDeTravail();
  return platform::Dialogs::Current().OpenFile(options);
}

}  // namespace

void TFichePrincipale::ImportAutreReseauClick() {
  Protege([this] {
    const auto choix = ChoisitFichier(IdMsg::AppFiltreDocumentSeul);
    if (!choix) return;
    if (formats::ImporteCavitesReseau(choix->Path)) {
      if (survey::TReseau* r = survey::Document().ReseauCourant) {
        r->LaCaviteActive = r->Cavites.Last();
        survey::Document().CaviteRappelee = r->NombreCavites() - 1;
      }
      AfficheListeCavites(true);
    }
    MajMnuSauve();
  });
}

void TFichePrincipale::MotifsImporterClick() {
  Protege([this] {
    if (drawing::tListeMtf* bibliotheque = document::BibliothequeCourante()) drawing::ImporteMotifsFichier(*bibliotheque);
    MajMnuSauve();
  });
}

void TFichePrincipale::MajCarnetClick() {
  Protege([this] {
    const auto choix = ChoisitFichier(IdMsg::AppFiltreCarnet);
    if (!choix) return;
    if (formats::MajCaviteDepuisCarnet(choix->Path)) zone_->RafraichitCavite();
    MajMnuSauve();
  });
}

void TFichePrincipale::ComparaisonCavitesClick() {
  Protege([this] {
    const auto choix = ChoisitFichier(IdMsg::AppFiltreOuvrir, Msg(IdMsg::AppTitreCaviteAComparer));
    if (!choix) return;
    formats::CompareCavites(choix->Path, TypeImportOuverture(choix->Path, choix->FilterIndex));
    zone_->RafraichitCavite();
  });
}

void TFichePrincipale::EnregistrerClick() {
  Protege([this] { EnregistreDocument(); });
}

void TFichePrincipale::EnregistrersousClick() {
  Protege([this] {
    survey::Document().DemandeNomFichier = true;
    EnregistreDocument();
    survey::Document().DemandeNomFichier = false;
    MajEtatControles();
  });
}

void TFichePrincipale::derfichClick(int index) {
  Protege([this, index] {
    auto& liste = Config().ListeDerniersFichiers;
    if (index < 0 || static_cast<size_t>(index) >= liste.size()) return;
    const std::string entree = liste[static_cast<size_t>(index)].Chemin;
    if (entree.empty() || entree == survey::Document().NomFichierCourant) return;
    if (platform::FileExists(entree)) {
      if (!DemandeRemplacement()) return;
      OuvreDocument(entree);
      GardeSiNonRemplace();
      return;
    }
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error,
                                             foundation::RemplaceMarques(Msg(IdMsg::AppFichierDeplace), {entree}));
    liste.erase(liste.begin() + index);
    MajMenuDerniersFichiers();
    mnuOuvrirClick();
  });
}

void TFichePrincipale::ConfigurationClick() {
  Protege([this] {
    const int32_t region = Config().RegionProjections;
    const uint32_t filigrane = Config().CouleurFiligrane;
    const int decimales = survey::Affichage().DecimalesCoord;
    TConfigGeneDlg dlg(this);
    dlg.exec();
    // The drawings take the settings they read (watermark colour).
    AppliqueConfigAuxSousSystemes();
    survey::TReseau* r = ReseauSurvey();
    // The catalogue of the new region lacks the definitions the open network
    // had added to it: they go back in before anything is computed again.
    if (r && Config().RegionProjections != region) r->ChargeParamsProj();
    // Offset parts in the former default watermark colour take the new one.
    if (r && Config().CouleurFiligrane != filigrane) r->ChangeCouleurFiligr(filigrane);
    // Coordinates shown with another number of decimals.
    if (survey::Affichage().DecimalesCoord != decimales && survey::Affichage().CoordonneesAffichees)
      zone_->RafraichitCavite();
    MajMnuSauve();
  });
}

// --- Network, adjustments, galleries ---------------------------------------------

survey::TReseau* TFichePrincipale::ReseauSurvey() const {
  auto* d = dynamic_cast<TDocumentSurvey*>(gestion_.Reseau());
  return d ? &d->Reseau() : nullptr;
}

void TFichePrincipale::RectifReseauClick() {
  Protege([this] {
    DocumentReseau* reseau = gestion_.Reseau();
    if (!reseau || !SaisieCaracteristiquesReseau) return;
    bool ok = false;
    {
      GardeRectif rectif(true);
      ok = SaisieCaracteristiquesReseau(*reseau);
    }
    if (ok) {
      MajEtatControles();
      zone_->RafraichitCavite();
    }
  });
  MajMnuSauve();
}

void TFichePrincipale::InstalleCreationCompensation() {
  // The shot-row menu shows the item when the row's computed station is
  // attached.
  zone_->CreerCompensation = [this] {
    const int ligne = zone_->LigneFocus();
    const survey::TVisee* v = ligne >= 0 ? zone_->Table().ViseePrincipale(ligne) : nullptr;
    survey::TPointSpeleo* p = v && v->PtCalc && v->PtCalc->PtRattache ? v->PtCalc : nullptr;
    survey::TReseau* r = ReseauSurvey();
    if (!r || !p) return;
    DocumentReseau* d = gestion_.Reseau();
    CreeCompensation(this, *r, d->UneCavite(d->CaviteActive()), p);
    MajMnuSauve();
  };
}

void TFichePrincipale::InstalleImportPartie() {
  zone_->ImporterPartie = [this] {
    const int ligne = zone_->LigneFocus();
    survey::TVisee* focus = ligne >= 0 ? zone_->Table().ViseePrincipale(ligne) : nullptr;
    if (!focus || !ReseauSurvey()) return;
    const auto choix = ChoisitFichier(IdMsg::AppFiltreOuvrir);
    if (!choix) return;
    if (formats::ImportePartieAutreCavite(choix->Path, TypeImportOuverture(choix->Path, choix->FilterIndex), focus)) {
      zone_->RafraichitCavite();
      // The row of the first imported shot.
      DocumentReseau* d = gestion_.Reseau();
      survey::TCavite* active = d ? d->UneCavite(d->CaviteActive()) : nullptr;
      if (active && active->ViseeImport0) zone_->RemplitListeVisees(active->ViseeImport0);
    }
    MajMnuSauve();
  };
}

// --- Operator, instrument and surface-point managers ----------------------------------

void TFichePrincipale::CreeMenusListes(QMenu* operateurs, QMenu* instruments) {
  const auto entree = [this](QMenu* m, const char* nom, IdMsg texte, std::function<void(survey::TReseau&)> commande) {
    Connecte(AjouteAction(m, nom, Msg(texte)), [this, commande = std::move(commande)] { CommandeListes(commande); });
  };
  entree(operateurs, "RectifOpe", IdMsg::AppMnuRectifier, [this](survey::TReseau& r) {
    TRectifOpeDlg d(r, this);
    if (d.exec() == QDialog::Accepted && d.UneModifOpe) zone_->InvalideTextesVisees();
  });
  entree(operateurs, "SupprOpe", IdMsg::AppMnuSupprimer, [this](survey::TReseau& r) { TSupprOpeDlg(r, this).exec(); });
  entree(operateurs, "ExportOpe", IdMsg::AppMnuExporter, [](survey::TReseau& r) { ExporteOperateurs(r); });
  entree(operateurs, "ImportOpe", IdMsg::AppMnuImporter, [](survey::TReseau& r) { ImporteOperateurs(r); });
  entree(instruments, "RectifInstr", IdMsg::AppMnuRectifier, [this](survey::TReseau& r) {
    TRectifInstrDlg d(r, this);
    d.exec();
    if (d.UneModifInstr) zone_->InvalideTextesVisees();
  });
  entree(instruments, "SupprInstr", IdMsg::AppMnuSupprimer, [this](survey::TReseau& r) { TSupprInstrDlg(r, this).exec(); });
  entree(instruments, "ExportInstr", IdMsg::AppMnuExporter, [](survey::TReseau& r) { ExporteInstruments(r); });
  entree(instruments, "ImportInstr", IdMsg::AppMnuImporter, [](survey::TReseau& r) { ImporteInstruments(r); });
}

void TFichePrincipale::CommandeListes(const std::function<void(survey::TReseau&)>& commande) {
  Protege([this, &commande] {
    DocumentReseau* document = gestion_.Reseau();
    if (!document) return;
    document->RendCourant();
    // The lists belong to the survey model's network.
    if (survey::TReseau* r = survey::Document().ReseauCourant) commande(*r);
    MajMnuSauve();
  });
}

void TFichePrincipale::CompensationsClick(bool modifier) {
  Protege([this, modifier] {
    survey::TReseau* r = ReseauSurvey();
    if (!r) return;
    r->CalculeReseau();
    GardeRectif rectif(modifier);
    TChoixCompensDlg dlg(*r, this);
    dlg.exec();
  });
  MajMnuSauve();
}

void TFichePrincipale::FusionGaleriesClick() {
  Protege([this] {
    DocumentReseau* reseau = gestion_.Reseau();
    survey::TCavite* c = reseau ? reseau->UneCavite(reseau->CaviteActive()) : nullptr;
    const int ligne = zone_->LigneFocus();
    if (!c || ligne < 0) return;
    survey::TValeurVisee* focus = zone_->Table().Visee(ligne);
    TStructureGaleriesDlg dlg(*c, this);
    if (dlg.exec() != QDialog::Accepted) return;
    zone_->AfficheGaleries();
    zone_->RemplitListeVisees(focus);
  });
  MajMnuSauve();
}

void TFichePrincipale::SurfaceBtonClick() {
  CommandeListes([this](survey::TReseau& r) {
    // Fresh attachment counts: a point that a shot holds is not deleted.
    if (survey::TListedePoints* surface = r.LesPointsSurface())
      for (survey::TPointSpeleo* p : *surface) p->NbRatTot = 0;
    for (survey::TCavite* c : r.Cavites) c->ReGenereListePoints(false);
    TFichePtsSurface(r, this).exec();
    MajEtatControles();
    zone_->RafraichitCavite();
  });
}

}  // namespace app
