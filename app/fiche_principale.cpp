#include "app/fiche_principale.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>

#include "app/application.h"
#include "app/cadres_config.h"
#include "app/config_gene_dlg.h"
#include "app/config_generale.h"
#include "app/impression_pdf.h"
#include "app/modele_visees.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/codage.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/qt/combo_box.h"
#include "survey/contexte_document.h"
#include "survey/dossiers.h"
#include "survey/ports_survey.h"

namespace app {
namespace {

using foundation::IdMsg;
using foundation::Msg;

QString Q(const std::string& s) { return QString::fromStdString(s); }
QString M(IdMsg id) { return Q(Msg(id)); }

// Menu captions show '&' as a mnemonic mark.
QString SansRaccourci(const std::string& s) { return Q(s).replace(QLatin1Char('&'), QStringLiteral("&&")); }

constexpr int kLargeurPanneau = 300;

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
  disponibles_ = {QStringLiteral("BtnNouveau"),     QStringLiteral("OuvreButton"),  QStringLiteral("EnregistreButton"),
                  QStringLiteral("NewCaveButton"),
                  QStringLiteral("Nouveau1"),       QStringLiteral("mnuOuvrir"),    QStringLiteral("Enregistrer"),
                  QStringLiteral("Enregistrersous"), QStringLiteral("Configuration"), QStringLiteral("Quitter"),
                  QStringLiteral("CavitesBox"),     QStringLiteral("GaleriesBox"),  QStringLiteral("ListeCoupesBox"),
                  QStringLiteral("VisuVisees"),     QStringLiteral("LeverEdit"),    QStringLiteral("EntreesBox"),
                  QStringLiteral("mnuFichier"),     QStringLiteral("mnuRectif"),    QStringLiteral("mnuExports"),
                  QStringLiteral("mnuImports"),     QStringLiteral("mnuCompensations"), QStringLiteral("mnuGestionCavites"),
                  QStringLiteral("mnuMotifs"),      QStringLiteral("mnuOperateurs"), QStringLiteral("mnuInstruments"),
                  QStringLiteral("mnuAide"),
                  // The shot table's commands.
                  QStringLiteral("AjoutButton"),    QStringLiteral("CoordBtn"),     QStringLiteral("DimBtn"),
                  QStringLiteral("ImprimeButton"),  QStringLiteral("ImprimeGalButton"), QStringLiteral("Imprimer"),
                  QStringLiteral("DebutGalBtn"),    QStringLiteral("FinGalBtn"),    QStringLiteral("RatgalBtn"),
                  QStringLiteral("CherchePtBtn"),   QStringLiteral("RepeteRechercheBtn"),
                  QStringLiteral("BasculeAffGalBtn"), QStringLiteral("SuppressionCav")};
  InstalleEditionVisees();
  sortieImpression_ = std::make_unique<TSortiePdf>(this);
  CreeMenus();
  CreeBarres();
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
  SaisieCaracteristiquesReseau = [](DocumentReseau& reseau) {
    const auto nom = platform::Dialogs::Current().Prompt(Msg(IdMsg::AppNomReseauTitre), Msg(IdMsg::AppNomReseauInvite),
                                                         reseau.Nom());
    if (!nom || nom->find_first_not_of(" \t") == std::string::npos) return false;
    reseau.FixeNom(*nom);
    return true;
  };
  MajEtatControles();
}

TFichePrincipale::~TFichePrincipale() {
  // The table's widgets and model go while the rows, the document and the
  // window's handlers they reach are still there.
  visuVisees_->removeEventFilter(this);
  visuVisees_->viewport()->removeEventFilter(this);
  arbreGaleries_->removeEventFilter(this);
  delete centralWidget();
  delete arbreGaleries_;
  delete modele_;
}

void TFichePrincipale::Protege(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, e.what());
  } catch (...) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, Msg(IdMsg::AppErreurInattendue));
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

bool TFichePrincipale::Disponible(QObject* controle) const { return disponibles_.contains(controle->objectName()); }

void TFichePrincipale::Active(QObject* controle, bool actif) {
  if (!controle) return;
  const bool etat = actif && Disponible(controle);
  if (auto* a = qobject_cast<QAction*>(controle))
    a->setEnabled(etat);
  else if (auto* w = qobject_cast<QWidget*>(controle))
    w->setEnabled(etat);
}

void TFichePrincipale::RendDisponible(const QString& nomObjet, bool disponible) {
  if (disponible)
    disponibles_.insert(nomObjet);
  else
    disponibles_.remove(nomObjet);
  if (QObject* o = findChild<QObject*>(nomObjet)) {
    bool suitEtat = false;
    for (QObject* c : commandes_) suitEtat = suitEtat || c == o;
    if (!suitEtat) Active(o, true);
  }
  MajEtatControles();
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
  connect(AjouteAction(menuFichier_, "Nouveau1", Msg(IdMsg::AppMnuNouveau)), &QAction::triggered, this,
          [this] { BtnNouveauClick(); });
  connect(AjouteAction(menuFichier_, "mnuOuvrir", Msg(IdMsg::AppMnuOuvrir)), &QAction::triggered, this,
          [this] { mnuOuvrirClick(); });
  connect(AjouteAction(menuFichier_, "Enregistrer", Msg(IdMsg::AppMnuEnregistrer), C::MnuEnregistrer),
          &QAction::triggered, this, [this] { EnregistrerClick(); });
  connect(AjouteAction(menuFichier_, "Enregistrersous", Msg(IdMsg::AppMnuEnregistrerSous), C::MnuEnregistrerSous),
          &QAction::triggered, this, [this] { EnregistrersousClick(); });
  menuFichier_->addSeparator();
  connect(AjouteAction(menuFichier_, "Configuration", Msg(IdMsg::AppMnuConfiguration)), &QAction::triggered, this,
          [this] { ConfigurationClick(); });
  menuFichier_->addSeparator();
  connect(AjouteAction(menuFichier_, "Imprimer", Msg(IdMsg::AppMnuImprimer), C::MnuImprimer), &QAction::triggered, this,
          [this] { ImprimeButtonClick(true); });
  menuFichier_->addSeparator();
  connect(AjouteAction(menuFichier_, "Quitter", Msg(IdMsg::AppMnuQuitter)), &QAction::triggered, this,
          [this] { close(); });

  QMenu* rectif = menu("mnuRectif", IdMsg::AppMnuRectif, C::MenuRectif);
  AjouteAction(rectif, "RectifReseau", Msg(IdMsg::AppMnuRectifReseau))->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+R")));
  AjouteAction(rectif, "RectifCavite", Msg(IdMsg::AppMnuRectifCavite), C::RectifCavite)
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+C")));
  AjouteAction(rectif, "RectifGalerie", Msg(IdMsg::AppMnuRectifGalerie), C::RectifGalerie)
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+G")));

  QMenu* exports = menu("mnuExports", IdMsg::AppMnuExports, C::MenuExports);
  AjouteAction(exports, "ExportPartie", Msg(IdMsg::AppMnuExportPartie), C::ExportPartie);
  AjouteAction(exports, "ExportCSV", Msg(IdMsg::AppMnuExportCSV), C::ExportCSV);
  AjouteAction(exports, "ExportPoints", Msg(IdMsg::AppMnuExportPoints), C::ExportPoints);
  AjouteAction(exports, "ExportSVG", Msg(IdMsg::AppMnuExportSVG));
  AjouteAction(exports, "ExportKml", Msg(IdMsg::AppMnuExportKml), C::ExportKml);
  AjouteAction(exports, "ExportDXF", Msg(IdMsg::AppMnuExportDXF), C::ExportDXF);
  AjouteAction(exports, "ExportGPX", Msg(IdMsg::AppMnuExportGPX), C::ExportGPX);
  AjouteAction(exports, "ExportVTopo", Msg(IdMsg::AppMnuExportVTopo), C::ExportVTopo);
  AjouteAction(exports, "ExportQave", Msg(IdMsg::AppMnuExportQave));

  QMenu* imports = menu("mnuImports", IdMsg::AppMnuImports, C::MenuImports);
  AjouteAction(imports, "ImportReseau", Msg(IdMsg::AppMnuImportReseau), C::ImportAutreReseau);
  AjouteAction(imports, "NumeriserPlani", Msg(IdMsg::AppMnuNumeriserPlani), C::NumeriserPlani);
  AjouteAction(imports, "NumeriserAlti", Msg(IdMsg::AppMnuNumeriserAlti), C::NumeriserAlti);
  AjouteAction(imports, "ImportTopoRobot", Msg(IdMsg::AppMnuImportTopoRobot), C::ImportTopoRobot);
  AjouteAction(imports, "ImportVTopo", Msg(IdMsg::AppMnuImportVTopo), C::ImportVTopo);
  AjouteAction(imports, "ImportTexte", Msg(IdMsg::AppMnuImportTexte));
  AjouteAction(imports, "ImportCarnet", Msg(IdMsg::AppMnuImportCarnet), C::ImportCarnet);
  AjouteAction(imports, "MajCarnet", Msg(IdMsg::AppMnuMajCarnet), C::MajCarnet);

  QMenu* compens = menu("mnuCompensations", IdMsg::AppMnuCompensations, C::MenuCompensations);
  AjouteAction(compens, "CompensListe", Msg(IdMsg::AppMnuCompensListe));
  AjouteAction(compens, "CompensModifier", Msg(IdMsg::AppMnuCompensModifier));

  QMenu* gestion = menu("mnuGestionCavites", IdMsg::AppMnuGestionCavites, C::MenuGestionCavites);
  connect(AjouteAction(gestion, "SuppressionCav", Msg(IdMsg::AppMnuSuppression), C::SuppressionCav), &QAction::triggered,
          this, [this] { SupprimeCaviteActive(); });
  AjouteAction(gestion, "Individualiser", Msg(IdMsg::AppMnuIndividualiser));
  AjouteAction(gestion, "FusionGaleries", Msg(IdMsg::AppMnuFusionGaleries), C::FusionGaleries);
  AjouteAction(gestion, "ImpressionArbre", Msg(IdMsg::AppMnuImpressionArbre), C::ImpressionArbre);
  AjouteAction(gestion, "ComparaisonCavites", Msg(IdMsg::AppMnuComparaison));
  AjouteAction(gestion, "FusionCavites", Msg(IdMsg::AppMnuFusionCavites));
  caviteCoordonnees_ = AjouteAction(gestion, "CaviteCoordonnees", Msg(IdMsg::AppMnuCaviteCoordonnees));
  caviteCoordonnees_->setVisible(false);
  AjouteAction(gestion, "XmlGaleries", Msg(IdMsg::AppMnuXmlGaleries))->setVisible(false);

  QMenu* motifs = menu("mnuMotifs", IdMsg::AppMnuMotifs, C::MenuMotifs);
  AjouteAction(motifs, "MotifsImporter", Msg(IdMsg::AppMnuImporter));
  AjouteAction(motifs, "MotifsExporter", Msg(IdMsg::AppMnuExporter));
  AjouteAction(motifs, "GererMotifs", Msg(IdMsg::AppMnuGererMotifs));

  QMenu* operateurs = menu("mnuOperateurs", IdMsg::AppMnuOperateurs, C::MenuOperateurs);
  AjouteAction(operateurs, "RectifOpe", Msg(IdMsg::AppMnuRectifier));
  AjouteAction(operateurs, "SupprOpe", Msg(IdMsg::AppMnuSupprimer));
  AjouteAction(operateurs, "ExportOpe", Msg(IdMsg::AppMnuExporter));
  AjouteAction(operateurs, "ImportOpe", Msg(IdMsg::AppMnuImporter));

  QMenu* instruments = menu("mnuInstruments", IdMsg::AppMnuInstruments, C::MenuInstruments);
  AjouteAction(instruments, "RectifInstr", Msg(IdMsg::AppMnuRectifier));
  AjouteAction(instruments, "SupprInstr", Msg(IdMsg::AppMnuSupprimer));
  AjouteAction(instruments, "ExportInstr", Msg(IdMsg::AppMnuExporter));
  AjouteAction(instruments, "ImportInstr", Msg(IdMsg::AppMnuImporter));

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
  connect(AjouteBouton(barre, "BtnNouveau", IdMsg::AppBtnCourtNouveau, IdMsg::AppBtnNouveau), &QToolButton::clicked, this,
          [this] { BtnNouveauClick(); });
  connect(AjouteBouton(barre, "OuvreButton", IdMsg::AppBtnCourtOuvrir, IdMsg::AppBtnOuvrir), &QToolButton::clicked, this,
          [this] { mnuOuvrirClick(); });
  barre->addSeparator();
  connect(AjouteBouton(barre, "ImprimeButton", IdMsg::AppBtnImprimer, IdMsg::AppBtnImprimer, C::ImprimeButton),
          &QToolButton::clicked, this, [this] { ImprimeButtonClick(false); });
  connect(AjouteBouton(barre, "EnregistreButton", IdMsg::AppBtnEnregistrer, IdMsg::AppBtnEnregistrer, C::EnregistreButton),
          &QToolButton::clicked, this, [this] { EnregistrerClick(); });
  barre->addSeparator();
  connect(AjouteBouton(barre, "NewCaveButton", IdMsg::AppBtnCourtNouvelleCavite, IdMsg::AppBtnNouvelleCavite), &QToolButton::clicked, this,
          [this] { NewCaveButtonClick(); });
  connect(AjouteBouton(barre, "AjoutButton", IdMsg::AppBtnCourtAjout, IdMsg::AppBtnAjout, C::AjoutButton),
          &QToolButton::clicked, this, [this] { AjoutButtonClick(); });
  AjouteBouton(barre, "SurfaceBton", IdMsg::AppBtnCourtSurface, IdMsg::AppBtnSurface, C::SurfaceBton);
  barre->addSeparator();
  cavitesBox_ = new QComboBox(barre);
  cavitesBox_->setObjectName(QStringLiteral("CavitesBox"));
  cavitesBox_->setMinimumContentsLength(11);
  barre->addWidget(cavitesBox_);
  barre->addSeparator();
  connect(cavitesBox_, &QComboBox::activated, this, [this](int i) { CavitesBoxChange(i); });
  basculeAffGalBtn_ =
      AjouteBouton(barre, "BasculeAffGalBtn", IdMsg::AppBtnCourtBasculeGal, IdMsg::AppBtnBasculeGal, C::BasculeAffGalBtn);
  connect(basculeAffGalBtn_, &QToolButton::clicked, this, [this] { BasculeAffGalBtnClick(); });
  galeriesBox_ = new TBoiteGaleries(barre);
  galeriesBox_->setObjectName(QStringLiteral("GaleriesBox"));
  galeriesBox_->setMinimumContentsLength(9);
  galeriesBox_->AvantListe = [this] {
    if (!GalParArbre) return false;
    GaleriesBoxClick();
    return true;
  };
  barre->addWidget(galeriesBox_);
  barre->addSeparator();
  commandes_[static_cast<size_t>(C::GaleriesBox)] = galeriesBox_;
  connect(galeriesBox_, &QComboBox::activated, this, [this](int i) { GaleriesBoxChange(i); });
  connect(AjouteBouton(barre, "DebutGalBtn", IdMsg::AppBtnCourtDebutGal, IdMsg::AppBtnDebutGal, C::DebutGalBtn),
          &QToolButton::clicked, this, [this] { DebutGalBtnClick(); });
  connect(AjouteBouton(barre, "FinGalBtn", IdMsg::AppBtnCourtFinGal, IdMsg::AppBtnFinGal, C::FinGalBtn),
          &QToolButton::clicked, this, [this] { FinGalBtnClick(); });
  connect(AjouteBouton(barre, "RatgalBtn", IdMsg::AppBtnCourtRatGal, IdMsg::AppBtnRatGal, C::RatgalBtn),
          &QToolButton::clicked, this, [this] { RatgalBtnClick(); });
  connect(AjouteBouton(barre, "ImprimeGalButton", IdMsg::AppBtnCourtImprimeGal, IdMsg::AppBtnImprimeGal,
                       C::ImprimeGalButton),
          &QToolButton::clicked, this, [this] { ImprimeButtonClick(true); });
  barre->addSeparator();
  AjouteBouton(barre, "ButtonPlan", IdMsg::AppBtnPlan, IdMsg::AppBtnPlan, C::ButtonPlan);
  AjouteBouton(barre, "VisuCoupeBtn", IdMsg::AppBtnCoupe, IdMsg::AppBtnCoupe, C::VisuCoupeBtn);
  AjouteBouton(barre, "VisuSuitesBtn", IdMsg::AppBtnSuites, IdMsg::AppBtnSuites, C::VisuSuitesBtn);
  AjouteBouton(barre, "Btn3D", IdMsg::AppBtn3D, IdMsg::AppBtn3D, C::Btn3D);
  barre->addSeparator();
  AjouteBouton(barre, "GEBtn", IdMsg::AppBtnCourtGE, IdMsg::AppBtnGE, C::GEBtn);
  AjouteBouton(barre, "StatBtn", IdMsg::AppBtnCourtStat, IdMsg::AppBtnStat, C::StatBtn);
  AjouteBouton(barre, "OrientBtn", IdMsg::AppBtnCourtOrient, IdMsg::AppBtnOrient, C::OrientBtn);

  addToolBarBreak(Qt::TopToolBarArea);
  auto* rang2 = new QToolBar(this);
  rang2->setObjectName(QStringLiteral("ToolBar2"));
  rang2->setMovable(false);
  addToolBar(Qt::TopToolBarArea, rang2);
  rang2->addWidget(new QLabel(M(IdMsg::AppLblLever), rang2));
  leverEdit_ = new QLineEdit(rang2);
  leverEdit_->setObjectName(QStringLiteral("LeverEdit"));
  leverEdit_->setReadOnly(true);
  leverEdit_->setMaximumWidth(120);
  rang2->addWidget(leverEdit_);
  commandes_[static_cast<size_t>(C::LeverEdit)] = leverEdit_;
  declinText_ = new QLabel(rang2);
  declinText_->setObjectName(QStringLiteral("DeclinText"));
  rang2->addWidget(declinText_);
  rang2->addSeparator();
  coordBtn_ = AjouteBouton(rang2, "CoordBtn", IdMsg::AppBtnCourtCoord, IdMsg::AppBtnCoord, C::CoordBtn);
  coordBtn_->setCheckable(true);
  connect(coordBtn_, &QToolButton::clicked, this, [this] { CoordBtnClick(); });
  dimBtn_ = AjouteBouton(rang2, "DimBtn", IdMsg::AppBtnCourtDim, IdMsg::AppBtnDim, C::DimBtn);
  dimBtn_->setCheckable(true);
  connect(dimBtn_, &QToolButton::clicked, this, [this] { DimBtnClick(); });
  rang2->addSeparator();
  connect(AjouteBouton(rang2, "CherchePtBtn", IdMsg::AppBtnCourtChercher, IdMsg::AppBtnChercher, C::CherchePtBtn),
          &QToolButton::clicked, this, [this] { CherchePtBtnClick(); });
  connect(AjouteBouton(rang2, "RepeteRechercheBtn", IdMsg::AppBtnCourtChercherEncore, IdMsg::AppBtnChercherEncore,
                       C::RepeteRechercheBtn),
          &QToolButton::clicked, this, [this] { RepeteRechercheBtnClick(); });
  rang2->addSeparator();
  AjouteBouton(rang2, "DessinPlanBtn", IdMsg::AppBtnDessinPlan, IdMsg::AppBtnDessinPlan, C::DessinPlanBtn);
  AjouteBouton(rang2, "DessinCoupeBtn", IdMsg::AppBtnDessinCoupe, IdMsg::AppBtnDessinCoupe, C::DessinCoupeBtn);
  listeCoupesBox_ = new QComboBox(rang2);
  listeCoupesBox_->setObjectName(QStringLiteral("ListeCoupesBox"));
  listeCoupesBox_->setMinimumContentsLength(14);
  listeCoupesAction_ = rang2->addWidget(listeCoupesBox_);
  rang2->addSeparator();
  commandes_[static_cast<size_t>(C::ListeCoupesBox)] = listeCoupesBox_;
  connect(listeCoupesBox_, &QComboBox::activated, this, [this](int i) { ListeCoupesBoxChange(i); });
  AjouteBouton(rang2, "GestionCoupesBtn", IdMsg::AppBtnGestionCoupes, IdMsg::AppBtnGestionCoupes, C::GestionCoupesBtn);
  rang2->addSeparator();
  AjouteBouton(rang2, "JonctionBtn", IdMsg::AppBtnJonction, IdMsg::AppBtnJonction, C::JonctionBtn);
  entreeLabel_ = new QLabel(M(IdMsg::AppLblEntree), rang2);
  entreeLabel_->setObjectName(QStringLiteral("EntreeLabel"));
  entreesBox_ = new QComboBox(rang2);
  entreesBox_->setObjectName(QStringLiteral("EntreesBox"));
  connect(entreesBox_, &QComboBox::activated, this, [this](int i) { EntreesBoxChange(i); });
  // Hidden until needed: the tool bar hides its actions, not the widgets.
  rang2->addSeparator();
  rang2->addWidget(entreeLabel_)->setVisible(false);
  rang2->addWidget(entreesBox_)->setVisible(false);
}

void TFichePrincipale::CreeZoneCentrale() {
  auto* centre = new QWidget(this);
  auto* v = new QVBoxLayout(centre);
  CreeTableVisees(centre);
  commandes_[static_cast<size_t>(Commande::VisuVisees)] = visuVisees_;
  v->addWidget(visuVisees_, 1);

  auto* bas = new QHBoxLayout;
  visuComment_ = new QPlainTextEdit(centre);
  visuComment_->setObjectName(QStringLiteral("VisuComment"));
  visuComment_->setReadOnly(true);
  visuComment_->setMaximumHeight(60);
  editSuiteBtn_ = new QToolButton(centre);
  editSuiteBtn_->setObjectName(QStringLiteral("EditSuiteBtn"));
  editSuiteBtn_->setText(M(IdMsg::AppBtnEditSuite));
  editSuiteBtn_->setVisible(false);
  connect(editSuiteBtn_, &QToolButton::clicked, this, [this] { EditSuiteBtnClick(); });
  bas->addWidget(visuComment_, 1);
  bas->addWidget(editSuiteBtn_);
  v->addLayout(bas);
  setCentralWidget(centre);

  // The gallery tree drops down over the gallery selector (hidden).
  arbreGaleries_ = new QTreeWidget(this);
  arbreGaleries_->setObjectName(QStringLiteral("ArbreGaleries"));
  arbreGaleries_->setHeaderHidden(true);
  arbreGaleries_->setVisible(false);
  ConnecteTable();

  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("StatusBarPrinc"));
  statusBar_->setSizeGripEnabled(false);
  panneau_ = new TPanneauEtat(statusBar_);
  statusBar_->addWidget(panneau_);
  setStatusBar(statusBar_);
}

// --- Document life --------------------------------------------------------------

void TFichePrincipale::NouveauReseau() {
  ViderTableVisees();
  VideSelecteursCavite();
  gestion_.NouveauReseau();
}

bool TFichePrincipale::DemandeEnregistrement() {
  return gestion_.DemandeEnregistrement(ListeViseesPrete, [this] { return EnregistreDocument(); });
}

void TFichePrincipale::NommeNouveauReseau() {
  DocumentReseau* reseau = gestion_.Reseau();
  if (!reseau) return;
  survey::Document().NomFichierCourant = reseau->Nom() + ".cav";
  setWindowTitle(M(IdMsg::AppTitreReseau) + Q(reseau->Nom()));
  AfficheListeCavites(true);
  survey::Document().DemandeNomFichier = true;
}

void TFichePrincipale::AfficheListeCavites(bool selection) {
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

void TFichePrincipale::OuvreDocument(const std::string& chemin) {
  // The table lets go of the shots before the network that holds them goes.
  ViderTableVisees();
  VideSelecteursCavite();
  if (foundation::EnMinuscules(platform::ExtensionOf(chemin)) != ".cav") {
    gestion_.LibereReseau();
    OuvrirAutre(chemin, filtreOuverture_);
  } else if (gestion_.OuvreDocument(chemin)) {
    AfficheListeCavites(true);
  } else {
    MajEtatControles();
  }
  MajMenuDerniersFichiers();
  MajMnuSauve();
}

void TFichePrincipale::OuvrirAutre(const std::string& chemin, int type) {
  if (gestion_.OuvrirAutre(chemin, type)) {
    AfficheListeCavites(false);
    RafraichitCavite();
    if (table_.Nombre() > 0) SelectionneLigne(table_.Nombre() - 1);
  } else {
    MajEtatControles();
  }
}

bool TFichePrincipale::EnregistreDocument() {
  const bool ok = gestion_.EnregistreReseauSous();
  if (ok) MajMenuDerniersFichiers();
  MajEtatControles();
  return ok;
}

void TFichePrincipale::MajMenuDerniersFichiers() {
  const QList<QAction*> actions = menuFichier_->actions();
  for (int i = lignesMenuFichier_; i < actions.size(); ++i) {
    menuFichier_->removeAction(actions[i]);
    actions[i]->deleteLater();
  }
  const auto& liste = Config().ListeDerniersFichiers;
  if (liste.empty()) return;
  menuFichier_->addSeparator();
  for (size_t i = 0; i < liste.size(); ++i) {
    QAction* a = menuFichier_->addAction(SansRaccourci(liste[i].Chemin));
    a->setObjectName(QStringLiteral("derfich") + QString::number(i));
    a->setData(static_cast<int>(i));
    connect(a, &QAction::triggered, this, [this, a] { derfichClick(a->data().toInt()); });
  }
}

void TFichePrincipale::MajDerniersFichiers() {
  if (gestion_.MajDerniersFichiers()) MajMenuDerniersFichiers();
}

void TFichePrincipale::MajMnuSauve() {
  Active(commandes_[static_cast<size_t>(Commande::EnregistreButton)], survey::Document().DocumentModifie);
  const survey::ContexteDocument& doc = survey::Document();
  if (!gestion_.Reseau())
    panneau_->Fixe(0xFFFFFF, QString());
  else
    panneau_->Fixe(gestion_.LectureSeule() ? 0x0000FF : 0x00FF00, Q(doc.NomFichierCourant));
}

void TFichePrincipale::MajEtatControles() {
  const EtatsControles r = app::MajEtatControles(gestion_.Etat());
  // The gallery tree lies over the gallery selector.
  if (QWidget* barre = galeriesBox_->parentWidget())
    arbreGaleries_->move(barre->mapTo(this, galeriesBox_->geometry().bottomLeft()));
  for (int i = 0; i < NombreDeCommandes; ++i) {
    const Activation a = r.Commandes[static_cast<size_t>(i)];
    if (a != Activation::Inchangee) Active(commandes_[static_cast<size_t>(i)], a == Activation::Active);
  }
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
  caviteCoordonnees_->setVisible(false);
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
  const DocumentReseau* reseau = gestion_.Reseau();
  setWindowTitle(reseau ? M(IdMsg::AppTitreReseau) + Q(reseau->Nom()) : QString());
  MajMnuSauve();
}

// --- Events ---------------------------------------------------------------------

void TFichePrincipale::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (premiereActivation_) QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TFichePrincipale::FormActivate() {
  if (!premiereActivation_) return;
  // The first table is filled without the wait window.
  Protege([this] {
    const std::string chemin = CheminLigneCommande(arguments_);
    if (!chemin.empty() && foundation::EnMajuscules(platform::ExtensionOf(chemin)) == ".CAV" &&
        platform::FileExists(chemin))
      OuvreDocument(chemin);
  });
  premiereActivation_ = false;
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
      ViderTableVisees();
      VideSelecteursCavite();
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
    leverEdit_->clear();
    declinText_->clear();
    listeCoupesBox_->clear();
    visuComment_->clear();
    editSuiteBtn_->setVisible(false);
    DocumentReseau* reseau = gestion_.Reseau();
    bool ok = true;
    if (depuisNouvelleCavite) ok = reseau->CreeCavite();
    if (ok) ok = SaisieCaracteristiquesReseau && SaisieCaracteristiquesReseau(*reseau);
    if (ok) {
      NommeNouveauReseau();
    } else {
      gestion_.LibereReseau();
      doc.NomFichierCourant.clear();
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
    if (gestion_.Reseau()->CreeCavite()) AfficheListeCavites(true);
  });
}

void TFichePrincipale::mnuOuvrirClick() {
  Protege([this] {
    if (!DemandeEnregistrement()) return;
    platform::FileDialogOptions options;
    options.Filter = Msg(IdMsg::AppFiltreOuvrir);
    options.FilterIndex = filtreOuverture_;
    options.InitialFolder = survey::DossierDeTravail();
    const auto choix = platform::Dialogs::Current().OpenFile(options);
    if (!choix) return;
    filtreOuverture_ = choix->FilterIndex;
    survey::Document().CaviteRappelee = -1;
    OuvreDocument(choix->Path);
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
      if (DemandeEnregistrement()) OuvreDocument(entree);
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
    TConfigGeneDlg dlg(this);
    dlg.exec();
    // The drawings take the settings they read (watermark colour).
    AppliqueConfigAuxSousSystemes();
    // The number of decimals of the coordinates may have changed.
    InvalideTextesVisees();
    MajMnuSauve();
  });
}

}  // namespace app
