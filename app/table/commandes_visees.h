#pragma once
// The commands on the rows of the shot table, without a window: add, insert,
// correct and delete a shot, delete the active cave, and the network
// computation behind the coordinates shown, and the cave edits of the row
// menus.  They work on the document, on
// the rows and their row <-> shot mapping (table_visees.h) and on the
// platform's question port.  The shot-entry dialog comes in through
// CreeVisee / RectifVisee; what the screen must show again goes out through
// VueTableVisees, which the table's window implements and a test replaces
// with a recorder.  No Qt here.
#include <cstdint>
#include <functional>
#include <vector>

#include "app/table/menus_lignes.h"
#include "app/table/table_visees.h"

namespace survey {
class TCavite;
class TValeurVisee;
class TVisee;
}  // namespace survey

namespace app {

class TGestionDocument;

// What the row commands ask of the screen.  The rows themselves change in
// the commands; the view is told around each change so that its model
// follows (AvantInsertion ... ApresInsertion, Reinitialise around a change
// that replaces the rows).
class VueTableVisees {
 public:
  virtual ~VueTableVisees() = default;

  // Row of the focused shot, -1 without one.
  virtual int LigneFocus() const = 0;
  virtual void SelectionneLigne(int ligne) = 0;
  // No row is left: no focus, the comment memo and its button emptied.
  virtual void AucuneLigne() = 0;

  virtual void AvantInsertion(int ligne) = 0;
  virtual void ApresInsertion() = 0;
  virtual void AvantRetrait(int premier, int dernier) = 0;
  virtual void ApresRetrait() = 0;
  // Runs changement, which may replace every row, inside a reset of the view.
  virtual void Reinitialise(const std::function<void()>& changement) = 0;
  // The texts of rows premier to dernier were invalidated in the table.
  virtual void TextesChanges(int premier, int dernier) = 0;
  // The rows changed shape: the search must be asked again.
  virtual void LignesModifiees() = 0;
  // Every row's texts made again (the coordinates changed).
  virtual void InvalideTextesVisees() = 0;
  // After a cave edit: the coordinates shown computed again, or the
  // coordinate columns given up when they can no longer be shown.
  virtual void AnnuleCoordonnees() = 0;

  // The rows refilled from the active cave, aSelectionner focused when shown.
  virtual void RemplitListeVisees(survey::TValeurVisee* aSelectionner) = 0;
  // The active cave shown again (galleries, sections, rows).
  virtual void RafraichitCavite() = 0;
  virtual void AfficheGaleries() = 0;
  virtual void MajMenuCoupes() = 0;
  // The target column's caption once the cave may have no splay left.
  virtual void VerifieViseesHabi() = 0;

  // The positions of the caves in the cave selector's order.
  virtual std::vector<int32_t> PositionsCavites() const = 0;
  // Before the active cave is freed: the rows, the selectors and the trip
  // fields let go of it.
  virtual void LacheCavite() = 0;
  virtual void AfficheListeCavites(bool selection) = 0;

  // The commands' state must follow (MajEtatControles).
  virtual void MajEtatControles() = 0;
  // The document may have unsaved changes (MajMnuSauve).
  virtual void MajMnuSauve() = 0;
};

class TCommandesVisees {
 public:
  TCommandesVisees(TGestionDocument& gestion, VueTableVisees& vue);
  TCommandesVisees(const TCommandesVisees&) = delete;
  TCommandesVisees& operator=(const TCommandesVisees&) = delete;

  // The shot-entry dialog: a new shot or splay made from a source shot (none
  // when cancelled; it is in the cave, regenerated), and the correction of a
  // shot (true when confirmed).  Without them nothing is added or corrected.
  std::function<survey::TValeurVisee*(survey::TCavite&, survey::TVisee* source)> CreeVisee;
  std::function<bool(survey::TCavite&, survey::TValeurVisee&)> RectifVisee;
  // The rows also list the splay shots.
  bool AfficheViseesHab = false;

  TTableVisees& Table() { return table_; }
  survey::TCavite* CaviteActive() const;

  // "Visée +": shots are added after the focused one until the dialog is
  // cancelled, each row placed without a refill when the cave's walk did
  // not change.
  void Ajoute();
  // A shot inserted before the focused one (the key Insert).
  void Insere();
  // The focused shot corrected (a double click on its row).
  void Rectifie();
  // The focused shot deleted (the key Delete): a splay after its own
  // question, a main shot through the network with its splays.
  void SupprimeVisee();
  // The active cave deleted after "Voulez-vous supprimer la cavité ...";
  // the next cave of the selector becomes active.
  void SupprimeCaviteActive();

  // The shot-row menu's cave edits on the focused row (menus_lignes.h); the
  // loop item and its followers select cible, or say that the loop partner
  // lies in another cave.  The items that open a window (an adjustment, the
  // import of part of another cave) are the window's own: nothing here.
  void CommandeMenuLigne(ElementMenuLigne element, survey::TVisee* cible, bool autreCavite);
  // The splay-row menu's item: the focused splay becomes a main shot.
  void HabiEnVisee();

  // The network computation, at most once per operation (GardeCalcul).
  void CalculeReseau();
  // With the coordinates shown, the network is computed again and every row
  // shows the new values.
  void MajCoordonnees();

 private:
  // Runs a cave edit that may free shots: the table holds no row while it
  // runs; when it did nothing the rows come back.  True when done (the
  // table is then empty until refilled).
  bool EditionSansLignes(const std::function<bool()>& edition);
  // The table refilled after a cave edit, the shot's row selected again
  // when the shot is still there.
  void ApresEditionCavite(survey::TVisee* aSelectionner);

  friend class GardeCalcul;
  TGestionDocument& gestion_;
  VueTableVisees& vue_;
  TTableVisees table_;
  int niveauCalcul_ = 0;
  bool calculFait_ = false;
};

// One network computation for a whole operation: the first request computes,
// the next ones inside the same operation find the network computed.
class GardeCalcul {
 public:
  explicit GardeCalcul(TCommandesVisees& c) : c_(c) {
    if (c_.niveauCalcul_++ == 0) c_.calculFait_ = false;
  }
  ~GardeCalcul() { --c_.niveauCalcul_; }
  GardeCalcul(const GardeCalcul&) = delete;
  GardeCalcul& operator=(const GardeCalcul&) = delete;

 private:
  TCommandesVisees& c_;
};

}  // namespace app
