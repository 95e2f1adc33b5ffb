#pragma once
// The shot-table area of the main window: the table VisuVisees, the cave,
// gallery, entrance and long-section selectors with the trip and declination
// fields, the gallery tree, the comment memo, and the commands on the focused
// row (add, insert, correct, delete, navigate, search, print).  The window
// places the selectors in its tool bars and forwards its buttons' clicks;
// the zone tells it through signals when the commands' state must follow.
#include <QComboBox>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/table/commandes_visees.h"
#include "app/commun/etat_controles.h"
#include "app/table/impression_liste.h"
#include "app/table/menus_lignes.h"
#include "app/table/recherche_visees.h"
#include "app/table/table_visees.h"

class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QTableView;
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

namespace app {

class TGestionDocument;
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

// The Qt side of the table: it maps clicks and keys onto the row commands
// (TCommandesVisees) and shows what they changed (VueTableVisees).
class TZoneVisees : public QWidget, private VueTableVisees {
  Q_OBJECT
  // Declared first: the public fields below are the commands' own.
  TCommandesVisees commandes_;

 public:
  // fenetre: the main window; the gallery tree lies over its tool bars.
  TZoneVisees(TGestionDocument& gestion, QWidget* fenetre);
  ~TZoneVisees() override;

  // The widgets the window places in its tool bars.
  QComboBox* CavitesBox() const { return cavitesBox_; }
  TBoiteGaleries* GaleriesBox() const { return galeriesBox_; }
  QComboBox* ListeCoupesBox() const { return listeCoupesBox_; }
  QLabel* EntreeLabel() const { return entreeLabel_; }
  QComboBox* EntreesBox() const { return entreesBox_; }
  QLineEdit* LeverEdit() const { return leverEdit_; }
  QLabel* DeclinText() const { return declinText_; }
  QTableView* VisuVisees() const { return visuVisees_; }
  QTreeWidget* ArbreDesGaleries() const { return arbreGaleries_; }
  // The window's buttons whose state the zone reads and sets: coordinates,
  // dimensions, gallery tree mode.
  void AttacheBoutons(QToolButton* coordBtn, QToolButton* dimBtn, QToolButton* basculeAffGalBtn);

  // The cave operations that open the shot dialog (TCommandesVisees).
  decltype(TCommandesVisees::CreeVisee)& CreeVisee = commandes_.CreeVisee;
  decltype(TCommandesVisees::RectifVisee)& RectifVisee = commandes_.RectifVisee;
  // The shot-row menu's items whose windows the main window opens: the
  // adjustment of the row's computed station, the import of part of another
  // cave.  Each item stays disabled until its command is given.
  std::function<void()> CreerCompensation;
  std::function<void()> ImporterPartie;
  // The find dialog: the row found, -1 when cancelled or nothing was found.
  std::function<int(TTableVisees&, TRechercheVisees&)> DialogueRecherche;
  // The listing's output; the PDF output by default.
  void FixeSortieImpression(std::unique_ptr<SortieImpressionListe> sortie);

  TCommandesVisees& Commandes() { return commandes_; }
  TTableVisees& Table() { return commandes_.Table(); }
  TModeleVisees& Modele() { return *modele_; }
  TRechercheVisees& Recherche() { return recherche_; }
  survey::TCavite* CaviteActive() const;
  // Row of the focused shot, -1 without one.
  int LigneFocus() const override;
  void SelectionneLigne(int ligne) override;
  // The table also lists the splay shots (the commands' own); the gallery
  // selector opens the gallery tree.
  bool& AfficheViseesHab = commandes_.AfficheViseesHab;
  bool GalParArbre = true;
  // Set while the shot table is being refilled: the save question refuses.
  bool ListeViseesPrete = true;
  // The table is filled without the wait window until the window's first
  // activation is over.
  bool SansAttente = true;

  // Applies to the zone's fields the part of the command rules that concerns
  // them (emptied selectors, hidden declination or entrances), then lays the
  // columns out again.
  void AppliqueEtat(const EtatsControles& etat);
  // The table lets go of its rows; the selectors of the cave are emptied;
  // the trip, declination, section and comment fields are emptied.
  void ViderTableVisees();
  void VideSelecteursCavite();
  void VideChamps();

  void AfficheListeCavites(bool selection) override;
  void SelectionneCavite(int32_t cavite);
  void RafraichitCavite() override;
  void AfficheGaleries() override;
  void AfficheArbreGaleries();
  void MajBoutonGaleries();
  void MajMenuCoupes() override;
  void RemplitListeVisees(survey::TValeurVisee* aSelectionner) override;
  void InvalideTextesVisees() override;
  void AfficheColonnesCoordonnees();
  void AfficheColonnesTopo();
  void AfficheColonnesDimensions();
  void MasqueColonnesDimensions();
  // After an edit: with the coordinates shown, the network is computed again
  // and every row shows the new values; the columns stay as the user chose.
  // AnnuleCoordonnees does the same while the coordinates button is enabled,
  // and only raises it (plain layout) when the button is disabled.
  void MajCoordonnees();
  void AnnuleCoordonnees() override;
  void InsereVisee();
  void SupprimeViseeSelectionnee();
  void VerifieViseesHabi() override;
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
  // LeverEdit: the right button shows the selected shot's trip, a double
  // click corrects it; a shot of the default trip has none to show.
  void LeverEditClicDroit();
  void LeverEditDblClick();
  void ImprimeButtonClick(bool galerieActive);

 signals:
  // The document state changed: the commands must follow (MajEtatControles).
  void EtatChange();
  // The document may have unsaved changes: the save command and the status
  // panel must follow (MajMnuSauve).
  void DocumentChange();
  // A command of the window is enabled or disabled by the zone.
  void ActiveCommande(app::Commande commande, bool actif);
  // Ctrl+S in the table: the window saves when its save command allows it.
  void EnregistrementDemande();

 protected:
  bool eventFilter(QObject* objet, QEvent* evenement) override;

 private:
  void MajEtatControles() override { emit EtatChange(); }
  void MajMnuSauve() override { emit DocumentChange(); }
  // What the row commands ask of the screen, onto the table's model and
  // widgets.
  void AucuneLigne() override;
  void AvantInsertion(int ligne) override;
  void ApresInsertion() override;
  void AvantRetrait(int premier, int dernier) override;
  void ApresRetrait() override;
  void Reinitialise(const std::function<void()>& changement) override;
  void TextesChanges(int premier, int dernier) override;
  std::vector<int32_t> PositionsCavites() const override;
  void LacheCavite() override;
  void CreeSelecteurs();
  void CreeTableVisees();
  void ConnecteTable();
  // Applies the column layout of the display settings.
  void RegleColonnes();
  // The width the azimuth and slope columns need in the table's font.
  int LargeurMesures() const;
  void AfficheEntrees(bool visible);
  void AfficheGalerieActive();
  void RapporteErreurs(const std::vector<std::string>& erreurs);
  void ChoisitMenuTable(int ligne);
  // The right button and the double click on LeverEdit; true when taken.
  bool FiltreLeverEdit(QEvent* evenement);
  // The row menus (menu_ligne_visees.cpp): their actions made once; the
  // shot-row menu follows the focused row each time it opens.
  void CreeMenusLignes();
  void MajMenuLigne();
  void CommandeMenuLigne(ElementMenuLigne element, survey::TVisee* cible, bool autreCavite);
  void HabiEnViseeClick();
  // The rows changed shape: the search must be asked again.
  void LignesModifiees() override;

  TGestionDocument& gestion_;
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
  std::map<ElementMenuLigne, QAction*> actionsLigne_;
  std::vector<QAction*> suivantesBoucle_;  // the loop item's followers, made at each opening
  std::vector<EntreeMenuLigne> entreesLigne_;  // as at the last opening
  QToolButton* coordBtn_ = nullptr;
  QToolButton* dimBtn_ = nullptr;
  QToolButton* basculeAffGalBtn_ = nullptr;
  QPlainTextEdit* visuComment_ = nullptr;
  QToolButton* editSuiteBtn_ = nullptr;
  TTableVisees& table_ = commandes_.Table();
  TModeleVisees* modele_ = nullptr;
  TRechercheVisees recherche_;
  std::unique_ptr<SortieImpressionListe> sortieImpression_;
  platform::Printer* imprimante_ = nullptr;
  bool noClick_ = false;
  std::string titrePointVise_;
  bool remplissageEnCours_ = false;
};

}  // namespace app
