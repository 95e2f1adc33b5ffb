#pragma once
// The main window: menus, tool bars, the shot-table area (TZoneVisees) and
// the status panel; it owns the life of the open document (new, open,
// import, save, close, recent files) and sets the state of every command
// from the document state (MajEtatControles).
#include <QMainWindow>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "app/commun/etat_controles.h"
#include "app/document/document_reseau.h"
#include "app/document/gestion_document.h"

class QAction;
class QMenu;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace foundation {
enum class IdMsg : int;
}

namespace survey {
class TReseau;
}

namespace app {

class TZoneVisees;
struct CommandeImport;

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
  // A network that is not the survey model's is only asked its name, in a
  // prompt.
  std::function<bool(DocumentReseau&)> SaisieCaracteristiquesReseau;

  // The shot table's creation and correction call the cave's operations
  // when the shot-entry dialog is installed; the Add button gets its handler
  // once the table can create shots (run again after giving it a creation).
  void InstalleEditionVisees();

  // Operations of the window.
  void NouveauReseau();
  bool DemandeEnregistrement();
  void NommeNouveauReseau();
  void OuvreDocument(const std::string& chemin);
  void OuvrirAutre(const std::string& chemin, int type);
  // The imported cave shown: listed, its shots in the table, the last selected.
  void MontreImport();
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
  // An entry of the "Imports" menu: the import dialog with the entry's
  // filter, then the import into the open document (a new one without).
  void ImportAutresClick(const CommandeImport& commande);
  // "Depuis un autre réseau", "Maj Carnet Electronique", "Comparaison de cavités".
  void ImportAutreReseauClick();
  void MajCarnetClick();
  void ComparaisonCavitesClick();
  void EnregistrerClick();
  void EnregistrersousClick();
  void derfichClick(int index);
  void ConfigurationClick();
  // "Rectif Désign" / "Réseau": the characteristics of the open network.
  void RectifReseauClick();
  // "Compensations" / "Liste" (modifier false) and "Modifier".
  void CompensationsClick(bool modifier);
  // The commands of the shot-row menu's "Créer Compensation" (shown when the
  // row's computed station is attached) and "Importer une partie d'une autre
  // cavité", handed to the table area.
  void InstalleCreationCompensation();
  void InstalleImportPartie();
  // "Gestion Cavités" / "Fusion de galeries" on the active cave.
  void FusionGaleriesClick();
  // "Motifs / Fontes" / "Importer": every pattern of a pattern file or of
  // another document that the document library lacks, merged into it.
  void MotifsImporterClick();
  // The open network when it is the survey model's; none otherwise.
  survey::TReseau* ReseauSurvey() const;
  // The surface-point manager, the attachment counts made fresh first.
  void SurfaceBtonClick();
  // The plan view ("ButtonPlan"), the active cave's current elevation
  // ("VisuCoupeBtn") and the plan's SVG written without showing the view
  // ("Fichier SVG Plani"); the focused row is selected again afterwards.
  void ButtonPlanClick();
  void VisuCoupeBtnClick();
  void ExportSVGPlaniClick();

  TPanneauEtat* PanneauEtat() const { return panneau_; }
  // The shot-table area: the table, its selectors and their commands.
  TZoneVisees& Zone() { return *zone_; }

 protected:
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void CreeMenus();
  void CreeBarres();
  void CreeZoneCentrale();
  // The entries of the "Opérateurs" and "Instruments" menus.
  void CreeMenusListes(QMenu* operateurs, QMenu* instruments);
  // The view commands made available and connected.
  void InstalleVues();
  void ReselectionneLigne(int ligne);
  // Runs a command on the survey network of the open document (none without).
  void CommandeListes(const std::function<void(survey::TReseau&)>& commande);
  QAction* AjouteAction(QMenu* menu, const char* nom, const std::string& texte, Commande commande = Commande::NombreDeCommandes);
  QToolButton* AjouteBouton(QToolBar* barre, const char* nom, foundation::IdMsg texte, foundation::IdMsg aide,
                            Commande commande = Commande::NombreDeCommandes);
  // Connects a command's handler to its control: from then on the control
  // is enabled when its state rule allows it.  A control given no handler
  // stays disabled.
  void Connecte(QAction* action, std::function<void()> gestionnaire);
  void Connecte(QToolButton* bouton, std::function<void()> gestionnaire);
  void Active(QObject* controle, bool actif);
  bool Disponible(QObject* controle) const;
  bool SuitUneRegle(const QObject* controle) const;
  // The save question before another document is opened in this one's
  // place.  Its "No" lets the changes go only with the document: when no
  // other document took its place (the choice cancelled, the file
  // unreadable), GardeSiNonRemplace gives it back its name and its mark.
  bool DemandeRemplacement();
  void GardeSiNonRemplace();

  TGestionDocument gestion_;
  std::vector<std::string> arguments_;
  bool premiereActivation_ = true;
  int lignesMenuFichier_ = 0;
  int filtreOuverture_ = 1;  // the Open dialog's filter index

  struct DocumentRemplace {
    const DocumentReseau* Reseau = nullptr;  // set only after a "No"
    std::string Nom;
    bool Modifie = false;
  };
  DocumentRemplace remplace_;

  std::array<QObject*, NombreDeCommandes> commandes_{};

  QMenu* menuFichier_ = nullptr;
  QAction* caviteCoordonnees_ = nullptr;
  TZoneVisees* zone_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
  TPanneauEtat* panneau_ = nullptr;
};

}  // namespace app
