#pragma once
// The plan and elevation views in view mode: TFicheVisuDessin (the buttons
// of every drawing view: page mode "MenPageBtn", the cave pens, the SVG
// export, the imported sketches "PkTpBtn", the altitude reference shown in
// page mode), TFicheVisuPlan (the plan of the drawn caves: the plan grid
// "GrillePlaniBtn", the choice of the caves drawn "DessinCavBtn", the
// recording of a clicked ground point) and TFicheVisuCoupe (the active
// cave's current elevation: the altitude grids "GrilleAbsBtn" /
// "GrilleRelBtn").  Their model is views/noyau_visu_dessin.h.  Page mode,
// the cave pens and the choice of the caves come with their own windows:
// their buttons are there, disabled.
//
// Made through TFicheGraphique::Cree<TFicheVisuPlan>() (or Coupe); the main
// window's direct SVG export makes a plan view without showing it and calls
// SVGBtnClick.
#include "views/noyau_visu_dessin.h"
#include "views/windows/fiche_visu_graphique.h"

class QLabel;

namespace views {

class TFicheVisuDessin : public TFicheVisuGraphique, public virtual TNoyauVisuDessin {
  Q_OBJECT
 public:
  explicit TFicheVisuDessin(QWidget* parent = nullptr);
  ~TFicheVisuDessin() override;

  QWidget* PanelHaut = nullptr;
  QToolButton* MenPageBtn = nullptr;
  QToolButton* CouleurCaviteBtn = nullptr;
  QToolButton* SVGBtn = nullptr;
  QToolButton* PkTpBtn = nullptr;
  QLabel* RefAltiLabel = nullptr;
  QLabel* RefAltiText = nullptr;

  int iTypeFiche() override { return TNoyauVisuDessin::iTypeFiche(); }

 protected:
  // The caption and the sketch button from the model, once it is built.
  void AppliqueModele();
};

class TFicheVisuPlan : public TFicheVisuDessin, public virtual TNoyauVisuPlan {
  Q_OBJECT
 public:
  explicit TFicheVisuPlan(QWidget* parent = nullptr);
  ~TFicheVisuPlan() override;

  QToolButton* GrillePlaniBtn = nullptr;
  QToolButton* DessinCavBtn = nullptr;
  // DessinCavBtn's place in the zoom panel (30 pixels high): hidden with it.
  QWidget* PlaceDessinCav = nullptr;

  int iTypeFiche() override { return TNoyauVisuDessin::iTypeFiche(); }
  void InitDessin() override;
  void Initialise() override;
};

class TFicheVisuCoupe : public TFicheVisuDessin, public virtual TNoyauVisuCoupe {
  Q_OBJECT
 public:
  explicit TFicheVisuCoupe(QWidget* parent = nullptr);
  ~TFicheVisuCoupe() override;

  QToolButton* GrilleAbsBtn = nullptr;
  QToolButton* GrilleRelBtn = nullptr;

  int iTypeFiche() override { return TNoyauVisuDessin::iTypeFiche(); }
  void Initialise() override;
};

}  // namespace views
