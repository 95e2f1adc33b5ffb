#pragma once
// The main window: menus, tool bars, the shot table area and the status
// panel; it owns the life of the open document (new, open, import, save,
// close, recent files) and sets the state of every command from the
// document state (MajEtatControles).
#include <QMainWindow>
#include <QSet>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/document_reseau.h"
#include "app/etat_controles.h"
#include "app/gestion_document.h"
#include "app/impression_liste.h"
#include "app/recherche_visees.h"
#include "app/table_visees.h"

class QAction;
#include <QComboBox>
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class QTableView;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace platform {
class Printer;
}

namespace survey {
class TCavite;
class TValeurVisee;
class TVisee;
}  // namespace survey

namespace foundation {
enum class IdMsg : int;
}

namespace app {

class TModeleVisees;

// The gallery selector: in tree mode its drop-down opens the gallery tree
// instead of a list.
class TBoiteGaleries : public QComboBox {
 public:
  using QComboBox::QComboBox;
  // Answers true when it opened something else than the list.
  std::function<bool()> AvantListe;
  void showPopup() override;
};

// The owner-drawn status panel: white without a network, red for a
// read-only document, green otherwise, with the document's path.
class TPanneauEtat : public QWidget {
 public:
  explicit TPanneauEtat(QWidget* parent = nullptr);
  // The Windows colour the panel is filled with.
  uint32_t Couleur() const { return couleur_; }
  void Fixe(uint32_t couleur, const QString& texte);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  uint32_t couleur_ = 0xFFFFFF;
  QString texte_;
};

class TFichePrincipale : public QMainWindow {
  Q_OBJECT
 public:
  // arguments: the command-line arguments after the program's name.
  TFichePrincipale(FabriqueDocument fabrique, std::vector<std::string> arguments, QWidget* parent = nullptr);
  ~TFichePrincipale() override;

  TGestionDocument& Gestion() { return gestion_; }

  // The network-characteristics dialog on the current network; true on OK.
  // Until that dialog exists, the network's name is asked in a prompt.
  std::function<bool(DocumentReseau&)> SaisieCaracteristiquesReseau;

  // Makes a command available (its control or menu item follows the
  // document state from then on).  Commands whose work is not there yet stay
  // disabled.
  void RendDisponible(const QString& nomObjet, bool disponible = true);
  // The shot table's creation and correction call the cave's operations;
  // without the shot-entry dialog the Add button is unavailable.
  void InstalleEditionVisees();

  // Operations of the window.
  void NouveauReseau();
  bool DemandeEnregistrement();
  void NommeNouveauReseau();
  void OuvreDocument(const std::string& chemin);
  void OuvrirAutre(const std::string& chemin, int type);
  bool EnregistreDocument();
  void MajMenuDerniersFichiers();
  void MajDerniersFichiers();
  void MajEtatControles();
  void MajMnuSauve();
  void AfficheListeCavites(bool selection);

  // Events.
  void FormActivate();
  void BtnNouveauClick(bool depuisNouvelleCavite = false);
  void NewCaveButtonClick();
  void mnuOuvrirClick();
  void EnregistrerClick();
  void EnregistrersousClick();
  void derfichClick(int index);
  void ConfigurationClick();

  // Set while the shot table is being refilled: the save question refuses.
  bool ListeViseesPrete = true;

  TPanneauEtat* PanneauEtat() const { return panneau_; }

  // --- Shot table and selectors (fiche_principale_table.cpp) ---------------------------
  // The cave operations that open the shot dialog: a new shot or splay made
  // from a source shot (none when cancelled; it is in the cave, regenerated),
  // and the correction of a shot (true when confirmed).
  std::function<survey::TValeurVisee*(survey::TCavite&, survey::TVisee* source)> CreeVisee;
  std::function<bool(survey::TCavite&, survey::TValeurVisee&)> RectifVisee;
  // The find dialog: the row found, -1 when cancelled or nothing was found.
  std::function<int(TTableVisees&, TRechercheVisees&)> DialogueRecherche;
  // The listing's output; the PDF output by default.
  void FixeSortieImpression(std::unique_ptr<SortieImpressionListe> sortie);

  TTableVisees& Table() { return table_; }
  TModeleVisees& Modele() { return *modele_; }
  TRechercheVisees& Recherche() { return recherche_; }
  survey::TCavite* CaviteActive() const;
  // Row of the focused shot, -1 without one.
  int LigneFocus() const;
  void SelectionneLigne(int ligne);
  // The table also lists the splay shots; the gallery selector opens the
  // gallery tree.
  bool AfficheViseesHab = false;
  bool GalParArbre = true;

  void SelectionneCavite(int32_t cavite);
  void RafraichitCavite();
  void AfficheGaleries();
  void AfficheArbreGaleries();
  void MajBoutonGaleries();
  void MajMenuCoupes();
  void RemplitListeVisees(survey::TValeurVisee* aSelectionner);
  void InvalideTextesVisees();
  void AfficheColonnesCoordonnees();
  void AfficheColonnesTopo();
  void AfficheColonnesDimensions();
  void MasqueColonnesDimensions();
  void AnnuleCoordonnees();
  void InsereVisee();
  void SupprimeViseeSelectionnee();
  void VerifieViseesHabi();
  // Cave deletion: the table and the selectors let go of the cave before it
  // is freed.
  void SupprimeCaviteActive();

  void CavitesBoxChange(int index);
  void GaleriesBoxChange(int index);
  void GaleriesBoxClick();
  void BasculeAffGalBtnClick();
  void ArbreGaleriesClick(QTreeWidgetItem* noeud);
  void ArbreNoClick();
  void ArbreGaleriesExit();
  void EntreesBoxChange(int index);
  void ListeCoupesBoxChange(int index);
  void VisuViseesColumnClick(int colonne);
  void VisuViseesSelectItem(int ligne);
  void VisuViseesDblClick();
  // True when the key was handled.
  bool VisuViseesKeyDown(int touche, Qt::KeyboardModifiers modificateurs);
  void CoordBtnClick();
  void DimBtnClick();
  void DebutGalBtnClick();
  void FinGalBtnClick();
  void RatgalBtnClick();
  void CherchePtBtnClick();
  void RepeteRechercheBtnClick();
  void AjoutButtonClick();
  void EditSuiteBtnClick();
  void ImprimeButtonClick(bool galerieActive);

 protected:
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* objet, QEvent* evenement) override;

 private:
  void CreeMenus();
  void CreeBarres();
  void CreeZoneCentrale();
  QAction* AjouteAction(QMenu* menu, const char* nom, const std::string& texte, Commande commande = Commande::NombreDeCommandes);
  QToolButton* AjouteBouton(QToolBar* barre, const char* nom, foundation::IdMsg texte, foundation::IdMsg aide,
                            Commande commande = Commande::NombreDeCommandes);
  void Active(QObject* controle, bool actif);
  bool Disponible(QObject* controle) const;
  void ViderTableVisees();
  // Runs an event handler; an exception is reported once and goes no further.
  void Protege(const std::function<void()>& action);

  // Table helpers (fiche_principale_table.cpp).
  void CreeTableVisees(QWidget* parent);
  void ConnecteTable();
  // Applies the column layout of the display settings.
  void RegleColonnes();
  void AfficheEntrees(bool visible);
  void AfficheGalerieActive();
  // The network computation, at most once per operation (GardeCalcul).
  void CalculeReseau();
  void RapporteErreurs(const std::vector<std::string>& erreurs);
  void ChoisitMenuTable(int ligne);
  // The rows changed shape: the search must be asked again.
  void LignesModifiees();
  void VideSelecteursCavite();
  friend class GardeCalcul;
  int niveauCalcul_ = 0;
  bool calculFait_ = false;

  TGestionDocument gestion_;
  std::vector<std::string> arguments_;
  bool premiereActivation_ = true;
  int lignesMenuFichier_ = 0;
  int filtreOuverture_ = 1;  // the Open dialog's filter index

  std::array<QObject*, NombreDeCommandes> commandes_{};
  QSet<QString> disponibles_;

  QMenu* menuFichier_ = nullptr;
  QAction* caviteCoordonnees_ = nullptr;
  QComboBox* cavitesBox_ = nullptr;
  TBoiteGaleries* galeriesBox_ = nullptr;
  QComboBox* listeCoupesBox_ = nullptr;
  QComboBox* entreesBox_ = nullptr;
  QLabel* entreeLabel_ = nullptr;
  QLineEdit* leverEdit_ = nullptr;
  QLabel* declinText_ = nullptr;
  QTableView* visuVisees_ = nullptr;
  QTreeWidget* arbreGaleries_ = nullptr;
  QMenu* popupMenuLigne_ = nullptr;
  QMenu* popupMenuHabi_ = nullptr;
  QMenu* menuTable_ = nullptr;  // the popup menu of the focused row
  QToolButton* coordBtn_ = nullptr;
  QToolButton* dimBtn_ = nullptr;
  QToolButton* basculeAffGalBtn_ = nullptr;
  TTableVisees table_;
  TModeleVisees* modele_ = nullptr;
  TRechercheVisees recherche_;
  std::unique_ptr<SortieImpressionListe> sortieImpression_;
  platform::Printer* imprimante_ = nullptr;
  bool noClick_ = false;
  QAction* listeCoupesAction_ = nullptr;  // the tool-bar place of the section selector
  std::string titrePointVise_;
  bool remplissageEnCours_ = false;
  QPlainTextEdit* visuComment_ = nullptr;
  QToolButton* editSuiteBtn_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
  TPanneauEtat* panneau_ = nullptr;
};

}  // namespace app
