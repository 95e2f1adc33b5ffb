#pragma once
// The drawing views without their widgets, in view mode: the model of
// TFicheVisuDessin (the base of the plan and elevation views), of
// TFicheVisuPlan (the plan of the drawn caves) and of TFicheVisuCoupe (the
// active cave's current elevation).  The windows (views/windows/) add the
// buttons; cavtool and the main window's direct SVG export use these models
// alone, with a paint box of a given size or none.
//
// A view is built on the cave window (noyau_visu_graphique.h): the network
// computed, the objects of the plan or of the elevation, then its own steps:
// the document library's pattern locks, coordinate ticks in odQuadrill
// instead of the grid, the reference entrance of the heights and the
// caption.  Its form-type code is 5 + the drawing kind.  The SVG button
// hands the view's constants and its odAutreNiveau layer to the views' hook
// (Ports().ExporteSVG).  When it goes, the library's patterns are unmasked,
// the active cave's altitude reference is cleared and the altitude mode is
// "par défaut" again.
#include <string>

#include "drawing/constantes_svg.h"
#include "views/noyau_visu_graphique.h"

namespace drawing {
class TDonneesCoupeLong;
class TMireAlti;
class TMirePlani;
}  // namespace drawing

namespace views {

class TNoyauVisuDessin : public virtual TNoyauVisuGraphique {
 public:
  TNoyauVisuDessin() = default;
  ~TNoyauVisuDessin() override;

  // 5 + the current drawing kind, the drawing views' default kinds.
  int iTypeFiche() override;
  // The cave window's construction, then the view's steps (see above); the
  // caption is the one InitDessin began, followed by " - " and the active
  // cave's name.
  void Initialise() override;

  // The SVG export's constants of the view: its extent and proposed name.
  virtual drawing::TConstantesSVG InitConstSVG() const = 0;
  // The SVG export of the view through the views' hook, in its web variant
  // when the view was made for the main window's direct export
  // (ExportSVGDirect).  The fills not painted yet are closed first, as a
  // paint would.  True when the file was saved.
  bool SVGBtnClick();
  // Shows the imported sketches (odPkTp) when they are hidden, hides them
  // when shown; redraws.
  void PkTpBtnClick();
  // The survey-line pens of a cave: its dialog comes with the views' dialogs.
  virtual void CouleurCaviteBtnClick() {}

  // The caption.
  std::string Titre;
  // A cave from 1 on holds imported sketches (PkTpBtn available).
  bool PkTpDisponible = false;
  // The coordinate ticks of odQuadrill: plan ticks in plan, altitude ticks in
  // an elevation (not owned; the other is none).
  drawing::TMirePlani* MirePlani = nullptr;
  drawing::TMireAlti* MireAlti = nullptr;

 protected:
  // Closes the fills of the layers not painted since they changed.
  void FermeRemplissages();
};

class TNoyauVisuPlan : public virtual TNoyauVisuDessin {
 public:
  TNoyauVisuPlan() = default;
  // A view that was never closed (made for an export) gives every cave its
  // Adessiner flag back too.
  ~TNoyauVisuPlan() override;

  // The caption "Plan du réseau : " + the network's name, the background
  // layer shown, DessinCavBtn shown only with three caves or more (the
  // surface counts) and never with MonoCavite, and the caves left out at
  // the last closing for this active cave left out again.
  void InitDessin() override;
  // The plan extent, the network's name + "-Plani".
  drawing::TConstantesSVG InitConstSVG() const override;
  // Down: the plan ticks start on the active cave's entrance and are shown;
  // up: hidden.  Redraws.
  void GrillePlaniBtnClick(bool enfonce);
  // The display memory, then entry 5 remembers the caves not drawn and every
  // cave is drawn again.
  void FormClose() override;
  // A click where no station lies: the ground point to the views' hook (the
  // program's dialog); a surface point added there is drawn at once.
  void VisuEnregistrerPoint() override;
  // The network's last surface point into odPtSurf, redrawn; the surface
  // cave's point list rebuilt.
  void AjouteDernierPointSurface();
  // The choice of the caves drawn: its dialog comes with the views' dialogs.
  virtual void DessinCavBtnClick() {}

  bool DessinCavBtnVisible = true;

 private:
  void RendTousDessines();
  bool ferme_ = false;
};

class TNoyauVisuCoupe : public virtual TNoyauVisuDessin {
 public:
  TNoyauVisuCoupe() = default;

  // The drawing view's construction, then the caption of the elevation;
  // ticks shown by the display memory count as GrilleAbsBtn down.
  void Initialise() override;
  // The elevation extent (SlH across, Z up), the active cave's name +
  // "-AltiProj" for projected outlines, else + "-AltiDev".
  drawing::TConstantesSVG InitConstSVG() const override;
  // A click on GrilleAbsBtn (absolu) or GrilleRelBtn: that button goes down,
  // or up when it was down, and the other up; with one down the altitude
  // ticks start on the active cave's entrance, absolute or relative, and are
  // shown; with both up they are hidden.  Redraws.
  void GrilleBtnClick(bool absolu);
  bool GrilleAbs = false;
  bool GrilleRel = false;
};

// The elevation view's settings remembered for a long section (in memory
// only): for the guard's life they are the display memory of the section's
// view in the active cave (code 5 + the section's kind), and what the view
// leaves there goes back to the section afterwards.
class GardeAffVisuCoupe {
 public:
  explicit GardeAffVisuCoupe(drawing::TDonneesCoupeLong& coupe);
  ~GardeAffVisuCoupe();
  GardeAffVisuCoupe(const GardeAffVisuCoupe&) = delete;
  GardeAffVisuCoupe& operator=(const GardeAffVisuCoupe&) = delete;

 private:
  drawing::TDonneesCoupeLong& coupe_;
  int code_;
};

// The caption of an elevation view: "Coupe de la cavité " + the cave + " - "
// + the section + " (" + "développée" or "projetée" + " " + "totale" or
// "partielle" + ")", then, unless developed, " Direction de la coupe : " and
// the direction in whole degrees (halves to even) + "°": the section's
// AngleCoupeProj, or the mean direction of its reference shots when that is
// below -900.
std::string TitreCoupe(const std::string& cavite, drawing::TDonneesCoupeLong& coupe);

}  // namespace views
