#pragma once
// The cave graphic window without its widgets (TFicheVisuGraphique's model):
// the base of every window that shows the computed network.  It computes the
// network when it is built, makes the display objects of the plan of the
// drawn caves or of the elevation of the active cave (surface points and
// entrances, survey axes, splay shots, gallery outlines, imported sketches,
// the stored drawing with its cross sections and offset parts, component
// marks, the grid), keeps the extent of "Zoom général", finds the station or
// the shot nearest to a click, and keeps two selections: shots (their marks,
// drawn as selection lines) and drawing objects (chosen by a frame).
//
// Hooks for the derived windows (each documented at its declaration):
// InitDessin (set the window's modes, then call this one), the click
// (BaseDessinClick), the point information (VisuInfoPoint), the recording of
// a clicked ground point in plan (VisuEnregistrerPoint), the zoom rectangle
// of a gallery or a point (DemandeZoneZoom), the cave chooser's widgets
// (InitBoxCavites), the shot selection (SelectVisees, MultiSelectVisees) and
// the frame selection (SelectDessinParCadre, DeSelectDessin), and
// ReGenereDessin.  A window shows nothing when its creation left
// FicheOuverte false.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "drawing/dessin_axe_gal.h"
#include "drawing/visees_dessin.h"
#include "views/noyau_graphique.h"

namespace survey {
class TCavite;
class TListeDeVisees;
class TPointSpeleo;
class TVisee;
class TViseeHabi;
}  // namespace survey

namespace drawing {
class TDonneesDessinBasique;
}

namespace views {

// The largest extent that 32-bit drawing coordinates in millimetres hold.
inline constexpr double EtendueMaxDessin = 2147483.647;
// The radius of the station search of a click, in metres.
inline constexpr double RayonRecherchePoint = 2.0;

// The scale denominator that fits an extent (metres) on a 19 x 27 cm sheet:
// m = max(horizontal / 0.19, vertical / 0.27); 1000 above 1000; otherwise
// the nearer of the two neighbours in 1000, 750, 500, 250, 200, 100, 50 that
// frame m (the lower on a tie); 50 below 50.
int32_t EchelleAuto(double largeur, double hauteur);

// The survey axes of a list of shots, each gallery run as one axis: the
// axes, in the order they are made, are handed to ajoute.  Builds what the
// repeated passes over the list build (see the .cpp), in time linear in the
// shots whatever their order.  Stations' display links are reset first and
// every shot is left unmarked.
void ConstruitAxes(const std::vector<survey::TVisee*>& visees, bool coupeVert, const drawing::TDefObjetTrait* motif,
                   const std::function<void(std::unique_ptr<drawing::TDessinAxeGal>)>& ajoute);

class TNoyauVisuGraphique : public virtual TNoyauGraphique {
 public:
  // The shots shown (LesViseesActives) from the current drawing kind; the
  // defaults of every flag.
  TNoyauVisuGraphique();
  ~TNoyauVisuGraphique() override;

  // --- Construction -------------------------------------------------------------------------
  // Computes the network (not for a cross section nor while an offset part is
  // edited), InitDessin, resets the shots' elevation directions, builds the
  // objects, adds the grid, and refuses an extent over EtendueMaxDessin with
  // its message (FicheOuverte false).
  void Initialise() override;
  // The cave chooser (derived windows set their modes, then call this).
  void InitDessin() override { InitBoxCavites(); }

  // --- Objects ------------------------------------------------------------------------------
  void GenereObjetsPlani();
  void GenereObjetsAlti();
  // The objects again, keeping the view shown (in drawing-origin metres
  // moved by any change of the origin).
  virtual void ReGenereDessin();
  // The text objects only, from the stored drawings.
  void ReGenereTextes();
  // The component marks (note marks stay).
  void ReGenereCompos(bool redessine);
  // The survey axes of the shots into odPtLever, with the cave's axis pen;
  // then their splay shots unless AxesSeuls.
  void CreeAxesGaleries(const std::vector<survey::TVisee*>& visees, survey::TCavite* cavite);
  // The splay shots of the shots' stations into odVisHab (emptied first with
  // vider): every station with DessinToutesHabi, else those of Accrochable
  // shots; in plan a splay whose slope reaches AngleMaxHabi is left out.
  void DessineViseesHabi(const std::vector<survey::TVisee*>& visees, bool vider);
  // The splays DessineViseesHabi draws for these shots, each with its station.
  std::vector<std::pair<const survey::TPointSpeleo*, survey::TViseeHabi*>> HabiDessinees(
      const std::vector<survey::TVisee*>& visees) const;
  void CreeDessinCavite(drawing::TDonneesDessinBasique& dessin);

  // --- Extent and scale ---------------------------------------------------------------------
  // A drawn cave's stations' plan extent into the view extent (the first
  // sets it); its zoom (ZoomCaviteDe) widened to what is drawn of it.
  void EtendueCavitePlani(survey::TCavite& cavite, bool premiere);
  // The surface points' extent; with fewer than two, 100 m each side of the
  // one there is, or of the active cave's entrance, or of (0, 0).
  void EtenduePointsSurface();
  // Moves all four 50 m outwards when xmax = xmin or ymax = ymin, then
  // ZoomGeneral := (xmin, ymin, xmax, ymax).  The generation then widens
  // ZoomGeneral to what is drawn around the stations (ElargitAuDessin), so
  // that "Zoom général" and the first view show all of it.
  void DefiniZoomGeneral(double& xmin, double& xmax, double& ymax, double& ymin);
  // The rectangle (plan X, Y; elevation developed length, Z) grows to hold
  // the computed stations of the shots, the surface points among them, and
  // the ends of the splays the window draws for them.
  void ElargitAuDessin(TZoomCavite& z, const std::vector<survey::TVisee*>& visees) const;
  // The caves drawn now (the active cave alone in an elevation or with
  // MonoCavite; else the valid caves to be drawn).
  std::vector<survey::TCavite*> CavitesDessinees() const;
  // The caves shown again from their Adessiner flags.
  void RedessinCavitesDessinees();

  // --- Cave chooser and zoom on a gallery or a point --------------------------------------
  // ListeCavitesBox and BoxCavitesVisible (more than one cave; never with
  // MonoCavite nor in an elevation); the window overrides it to fill its box.
  virtual void InitBoxCavites();
  // The cave at that position of ListeCavitesBox: zoom on its extent.
  void BoxCavitesChange(int index);
  // The zoom rectangle of a gallery or a point of the chosen cave, when the
  // window offers it.
  void ZoomGalPtsBtnClick();
  // Whether the window asks for a zoom rectangle (the views' dialog), and the
  // question itself: true with r set on OK.
  virtual bool ZoneZoomDisponible() const { return false; }
  virtual bool DemandeZoneZoom(survey::TCavite&, TZoomCavite&) { return false; }

  // --- Picking ------------------------------------------------------------------------------
  // Surface points first, then the stations of the drawn caves; the nearest
  // within the snap radius (the earlier on ties), none otherwise.
  survey::TPointSpeleo* CherchePointProche(const foundation::TPointTopo& p) const;
  // The base click, then (unless Ctrl, the ruler, AfficherPointEnable false
  // or a page selected) the station nearest the click within 2 m: its
  // information, or in plan VisuEnregistrerPoint when none.
  void BaseDessinClick() override;
  // Shows a station's information (the views' dialog); nothing here.
  virtual void VisuInfoPoint(survey::TPointSpeleo&) {}
  // The plan view records the clicked ground point; nothing here.
  virtual void VisuEnregistrerPoint() {}
  // The shot nearest to the last clicked point within the snap radius; its
  // cave's shot list becomes ListeDeViseesRecherche.
  survey::TVisee* ChercheViseeProche();

  // --- Shot selection -----------------------------------------------------------------------
  virtual void SelectVisees();
  // Plain, Ctrl (toggle) and Shift (a run along the previous shots) left
  // clicks; Ctrl with the right button deselects the following shots.
  virtual void MultiSelectVisees(Bouton bouton, EtatTouches touches);
  void SelectViseesSuivantes();
  void DeselectViseesSuivantes();
  void SelectToutesVisees();
  void DeSelectToutesVisees(bool redessine);
  void GenereLignesViseesSelectees(TypeObjetDessin k);
  void EffaceLignesViseesSelectees(TypeObjetDessin k, bool redessine);

  // --- Frame selection of drawing objects ----------------------------------------------------
  void CreeCadreSelect(bool deselect);
  virtual void SelectDessinParCadre();
  virtual void DeSelectDessin();
  bool PlusieursSelectes() const { return !ListeObjetsSelectes.empty(); }

  // --- First view -----------------------------------------------------------------------------
  // The first view is the remembered one (DernierZoom, put back on the same
  // ground when the drawing origin moved since), else "Zoom général".
  // Whether the paint box has its size (a window not shown yet has not):
  // until then the view asked by the construction waits, and is set, and
  // the objects drawn, by AppliqueVueDifferee once the box has its size.
  virtual bool BoiteDimensionnee() const { return LargeurBoite() > 0 && HauteurBoite() > 0; }
  void AppliqueVueDifferee();

  // --- State --------------------------------------------------------------------------------
  bool CalculHorsPlage = false;
  bool FicheOuverte = true;
  bool MonoCavite = false;
  bool AxesSeuls = false;
  bool EstDessinPkTp = false;
  bool AfficheComposTopo = false;
  bool AfficheComposChemin = false;
  bool CreeCoupeVert = false;
  bool DessinToutesHabi = true;
  double AngleMaxHabi = 3.14159265358979323846;
  survey::TCavite* CaviteDessinee = nullptr;        // not owned
  std::vector<drawing::TObjetDessin*> ListeObjetsSelectes;  // not owned
  // The shots of the active cave (plan) or the reference shots of its
  // elevation drawing; none for cross sections.
  drawing::TViseesDeRef LesViseesActives;
  bool UneVSelectee = false;
  // The shot list in which the selection works: the active cave's, then the
  // cave of the last shot found.
  survey::TListeDeVisees* ListeDeViseesRecherche = nullptr;
  // The cave chooser's content: the caves and the position of the active one.
  std::vector<std::pair<std::string, survey::TCavite*>> ListeCavitesBox;
  int IndexCaviteBox = -1;
  bool BoxCavitesVisible = false;

 protected:
  // LesViseesActives and ListeDeViseesRecherche for the current drawing kind.
  void DefinitViseesActives();

 private:
  void AjouteContours(survey::TCavite& cavite, drawing::TDonneesDessinBasique& dessin, bool alti);
  void ZoomeApresGeneration();
  // That view when it has a size, else "Zoom général".
  void AppliqueZoom(const TParamZoom& z);
  void RetireLignesSelection(TypeObjetDessin k);
  bool UneViseeMarquee() const;
  // The drawing origin of the objects built last, to keep the view on the
  // ground when a regeneration moves it.
  bool origineConnue_ = false;
  bool garderTerrain_ = false;
  double origineX_ = 0, origineY_ = 0;
  // The view waiting for the paint box's size.
  std::optional<TParamZoom> zoomDiffere_;
};

}  // namespace views
