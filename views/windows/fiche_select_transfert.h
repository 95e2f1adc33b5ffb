#pragma once
// The shot selection window (TFicheSelectTransfert): a modal plan view of the
// active cave alone in which a click selects shots (the nearest within
// 0.5 m and those that follow it, by the cave's shot selection); "Tout"
// selects every shot, "Désélectionne tout" none; OK is possible once a shot
// is selected.  After OK the caller reads the chosen shots as the marked
// shots (Marque) of the active cave; it may change the caption first.  The
// window shows the plan whatever the current drawing kind, which comes back
// when it closes.  Form-type code 16.  Derived windows clear
// SelectViseeAutorise to use the clicks for other picks.
#include <optional>

#include "foundation/transformation_vue.h"
#include "views/windows/fiche_visu_graphique.h"

class QLabel;
class QPushButton;

namespace views {

class TFicheSelectTransfert : public TFicheVisuGraphique {
  Q_OBJECT
 public:
  explicit TFicheSelectTransfert(QWidget* parent = nullptr);
  ~TFicheSelectTransfert() override;

  QLabel* StatusBar = nullptr;
  QWidget* Panel1 = nullptr;
  QPushButton* ValidBtn = nullptr;
  QPushButton* AnnuleBtn = nullptr;
  QPushButton* EffaceBtn = nullptr;
  QPushButton* ToutBtn = nullptr;
  bool SelectViseeAutorise = false;

  int iTypeFiche() override;
  // The plan, the active cave alone, only the survey selectable, the snap
  // circle on at 0.5 m; then the cave window's own.
  void InitDessin() override;
  // The click, then the shot selection when allowed; OK and "Désélectionne
  // tout" follow whether a shot is selected.
  void BaseDessinClick() override;

  void ValidBtnClick();
  void AnnuleBtnClick();
  void EffaceBtnClick();
  void ToutBtnClick();

 private:
  void MajBoutons();
  std::optional<foundation::GardeTypeDessin> typeDessin_;
};

}  // namespace views
