#pragma once
// What every graphic window of the program shares, without the toolkit: the
// view it sets on the process-wide transform, the zoom history, the
// off-screen drawing made of the render layers combined by AND, the kind
// tables with their derived kinds and their selectable stack, the display
// memory of its form-type code, the ruler, the nearest-object search and the
// edited object.  The windows (views/windows/) add the widgets and turn the
// toolkit's events into the handlers below.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "drawing/jeu_calques.h"
#include "drawing/objet_dessin.h"
#include "foundation/point_topo.h"
#include "foundation/transformation_vue.h"
#include "platform/canvas.h"
#include "views/types_fiches.h"

namespace drawing {
class TDessinDeplacable;
class TListeDonneesDessin;
}

namespace views {

// The scale from which a redraw is refused (pixels per metre).
inline constexpr double EchelleMaxVue = 693.0;
// The wheel's factors: wheel-table[Sens] forward, wheel-table[1 - Sens] backward.
inline constexpr std::array<double, 2> FacteursMolette{0.8, 1.2};
// The wheel zoom factor of a step forward (or backward) for the setting
// [Souris] Sens.
double FacteurMolette(bool enAvant, bool sensMolette);

// "X = 234.5\rY = 678.9".
std::string TexteCoordonnees(double X, double Y);
// "12.3 m  -> 90.0 °" for a distance in metres and a bearing in radians.
std::string TexteRegle(double distance, double gisement);

// A canvas that draws on another and records the rectangle its calls may have
// touched (a bound that contains every changed pixel).  Lines and batches in
// a row with the same pen and brush are kept and given to the other canvas
// as one batch (thousands of objects of one style, splay shots or outline
// segments, then cost no call each): every other call, a clip change or a
// pixel read draws them first, and Acheve draws what is left.
class TCanvasSuivi final : public platform::Canvas {
 public:
  explicit TCanvasSuivi(platform::Canvas& cible);
  // The rectangle touched since the last Oublie, within the surface; empty
  // when nothing was drawn.
  platform::Rect Zone() const;
  // Forgets the zone and the lines not drawn yet.
  void Oublie();
  // Draws the lines kept.
  void Acheve() const;

  int32_t Width() const override { return cible_.Width(); }
  int32_t Height() const override { return cible_.Height(); }
  void SetSize(int32_t width, int32_t height) override;
  std::unique_ptr<Canvas> CreateBitmap(int32_t width, int32_t height) const override {
    return cible_.CreateBitmap(width, height);
  }
  void SetClipRect(const platform::Rect& r) override {
    Acheve();
    cible_.SetClipRect(r);
  }
  void ClearClipRect() override {
    Acheve();
    cible_.ClearClipRect();
  }
  std::optional<platform::Rect> ClipRect() const override { return cible_.ClipRect(); }
  void LineTo(int32_t x, int32_t y) override;
  void Polyline(std::span<const platform::Point> points) override;
  void PolyBezier(std::span<const platform::Point> points) override;
  void Polygon(std::span<const platform::Point> points) override;
  void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
  void Arc(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
           int32_t y2) override;
  void Chord(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
             int32_t y2) override;
  void Pie(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, int32_t x2,
           int32_t y2) override;
  void FillRect(const platform::Rect& r) override;
  void FrameRect(const platform::Rect& r) override;
  platform::Colour Pixel(int32_t x, int32_t y) const override {
    Acheve();
    return cible_.Pixel(x, y);
  }
  void SetPixel(int32_t x, int32_t y, platform::Colour c) override;
  void FloodFill(int32_t x, int32_t y, platform::Colour border) override;
  void TextOut(int32_t x, int32_t y, std::string_view text) override;
  int32_t TextWidth(std::string_view text) const override;
  int32_t TextHeight(std::string_view text) const override;
  void CopyRect(const platform::Rect& destination, const Canvas& source, const platform::Rect& sourceRect) override;
  void Batch(std::span<const platform::BatchCall> calls) override;

 private:
  // Keeps the calls for the batch, after drawing the kept ones when the pen
  // or brush differ or there is no room.
  void Garde(std::span<const platform::BatchCall> calls);
  // Gives the target this canvas's attributes before a call.
  void Transmet(bool police = false);
  void Reprend() { PenPos = cible_.PenPos; }
  void Ajoute(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void AjoutePoints(std::span<const platform::Point> points);
  int32_t Marge() const;
  platform::Canvas& cible_;
  bool vide_ = true;
  int64_t gauche_ = 0, haut_ = 0, droite_ = 0, bas_ = 0;
  // The kept calls and the pen and brush they are drawn with.
  mutable std::array<platform::BatchCall, 512> lot_;
  mutable size_t nLot_ = 0;
  platform::CanvasPen plumeLot_;
  platform::CanvasBrush pinceauLot_;
};

class TNoyauGraphique {
 public:
  // Saves the process-wide transform; every flag at its initial value, the
  // default visible and selectable kinds.
  TNoyauGraphique();
  // Restores the transform saved at construction.
  virtual ~TNoyauGraphique();
  TNoyauGraphique(const TNoyauGraphique&) = delete;
  TNoyauGraphique& operator=(const TNoyauGraphique&) = delete;

  // --- What the windows give -------------------------------------------------------------
  // The paint box's size in pixels.
  virtual int32_t LargeurBoite() const { return LargeurBoite_; }
  virtual int32_t HauteurBoite() const { return HauteurBoite_; }
  void FixeTailleBoite(int32_t largeur, int32_t hauteur) {
    LargeurBoite_ = largeur;
    HauteurBoite_ = hauteur;
  }
  // The form-type code; the base sets AffichageDefaut to {odDessin} and returns 0.
  virtual int iTypeFiche();
  // Each window builds its objects there.
  virtual void InitDessin() {}
  // The windows repaint (the whole paint box or a rectangle of it).
  virtual void Repeint() {}
  virtual void RepeintZone(const platform::Rect&) { Repeint(); }
  // Cursors: default, cross, magnifier, pointing hand.
  enum class Curseur { Normal, Croix, Loupe, Main };
  virtual void FixeCurseur(Curseur) {}
  virtual Curseur CurseurActuel() const { return Curseur::Normal; }
  // Shows the "lc= " message of a layer that failed; the windows defer it
  // after their paint.
  virtual void SignaleErreurCalque();

  // The second phase of construction, with the derived window's code,
  // defaults and objects: display memory read, then Initialise.
  void Cree();
  // The window's own construction once its display memory was read; the
  // base calls InitDessin.  The cave windows (noyau_visu_graphique.h) compute
  // the network and build their objects around InitDessin here.
  virtual void Initialise() { InitDessin(); }
  // Stores the visible kinds and the current view in the display memory
  // (the windows call it when they close; a derived window adds its own).
  virtual void FormClose();

  // --- View ---------------------------------------------------------------------------------
  // Sets the scale from the paint box and the requested view, then redraws;
  // false when nothing was drawn (empty view, refused scale, unchanged view).
  bool AfficheVue(bool Redessine);
  void RedessineVisu() { AfficheVue(true); }
  void RedessineVue() { RedessineVisu(); }
  void EmpileZoom();
  void ZoomPrecedent();
  void ZoomeZoom(const TParamZoom& z);
  void ZoomeValeur(double v);
  void ZoomeSurPoint(int32_t xc, int32_t yc, double v);
  void VueGenerale();
  void ZoomeCavite(const TZoomCavite& r);
  TParamZoom VueCourante() const;
  void FixeVue(const TParamZoom& z);

  // --- Navigation (the handlers of the Part's events) -----------------------------------------
  enum class Bouton { Gauche, Droit, Milieu };
  struct EtatTouches {
    bool Ctrl = false;
    bool Maj = false;
    bool Double = false;
  };
  virtual void BaseDessinMouseDown(Bouton b, EtatTouches t, int32_t x, int32_t y);
  virtual void BaseDessinMouseMove(EtatTouches t, int32_t x, int32_t y);
  virtual void BaseDessinMouseUp(Bouton b, EtatTouches t, int32_t x, int32_t y);
  virtual void BaseDessinClick();
  virtual void BaseDessinDblClick();
  // Esc closes an open zoom window; true when the key was used.
  virtual bool FormKeyDown(int touche);
  static constexpr int ToucheEchap = 27;
  // A wheel step at the paint-box pixel (x, y): forward when enAvant.
  void FormMouseWheel(bool enAvant, int32_t x, int32_t y);
  void ActiveRegle();
  // The cursor overlay: the moving object follows the cursor or the rubber
  // line runs from the last clicked point (drawn by the window on its paint).
  void TracePointeur(platform::Canvas& canvas);
  // Draws the overlays (zoom window, ruler, snap circle, rubber frame,
  // cursor overlay) on a canvas that holds the drawing at the paint box's
  // origin, as they stand now.
  void DessineSurcouches(platform::Canvas& canvas);

  // --- Editing -------------------------------------------------------------------------------
  void InitModif(drawing::TObjetDessin* o);
  void AfficheModif();
  void FinModif(bool RetablirObjet);

  // --- Scanned image and background ---------------------------------------------------------
  // Loads the image through the raster port; the message "Impossible de
  // charger le fichier " + name when it fails.
  bool ChargeFichierTiff(const std::string& nom);
  void DechargeImage();

  // --- Layers ---------------------------------------------------------------------------------
  drawing::TCalque& LeCalque(TypeObjetDessin k) { return Calques.LeCalque(k); }
  drawing::TCalque* CalqueDObjet(drawing::TObjetDessin* o) { return o ? o->CalqueObjet : nullptr; }
  drawing::TObjetDessin* AjouteObjetDessin(TypeObjetDessin k, std::unique_ptr<drawing::TObjetDessin> o);
  void EnleveObjetDessin(drawing::TCalque& calque);
  void EffaceCalque(TypeObjetDessin k) { Calques.EffaceCalque(k); }
  // Every layer but the grid and the other caves; object numbering restarts.
  void ClearCalques();
  void SelectCadreCalque(TypeObjetDessin k, std::vector<drawing::TObjetDessin*>& liste, const foundation::TRect& r);
  // Display objects from a stored drawing (drawing/cree_dessin.h).
  void CreeDessin(drawing::TListeDonneesDessin& dessin, int32_t echelle);
  void CreeDessinFdp(drawing::TListeDonneesDessin& dessin, TypeObjetDessin calque);

  // --- Kind tables ----------------------------------------------------------------------------
  void SetAffichable(TListeObjetDessin e);
  void RendAffichable(TListeObjetDessin e);
  void RendNonAffiche(TListeObjetDessin e);
  void SetSelectable(TListeObjetDessin e);
  void RendSelectable(TListeObjetDessin e);
  void RestoreSelectable();
  size_t ProfondeurSelectables() const { return SauveSelectables.size(); }

  // --- Picking --------------------------------------------------------------------------------
  double RayonAccroche() const { return sensibilita; }
  void FixeRayonAccroche(double r) { sensibilita = r; }
  double RayonAccrocheLoc() const { return sensibilita * 1000.0; }
  void ChercheObjetProche(int32_t x, int32_t y, drawing::TInfoObjet& r);
  bool ClickDansRayon();
  void InitFilAlaPatte(int32_t x, int32_t y);
  void FilAlaPatteOn() { TraceDerPoint = true; }
  void FilAlaPatteOff() { TraceDerPoint = false; }

  // --- State ----------------------------------------------------------------------------------
  drawing::TJeuCalques Calques;
  std::unique_ptr<platform::Canvas> BmpDessin;
  std::unique_ptr<platform::Canvas> BmpUndo;
  // The scanned image (a window may set it directly); none before a load.
  std::unique_ptr<platform::Canvas> ImageScan;
  foundation::TSauveParamsTransfo vSauveParamTransfo;

  int32_t XDeplace = 0, YDeplace = 0;
  bool FenetreEnCours = false;
  bool BtnDroitBaisse = false;
  bool DeplacementEnCours = false;
  int NbreZoom = 0;
  std::array<TParamZoom, 6> DerZoom{};  // entries 1 to 5, entry 1 the newest
  int ZoomActif = 0;
  bool TiffValide = false;
  bool SourisDeplacee = false;
  foundation::TPointTopo PointDebutRegle;
  foundation::TPoint DerPointClique;
  bool TraceDerPoint = false;
  bool ClickDeplace = false;
  double DistanceRegle = -1.0;
  double GistRegle = 0;
  TObjetsAffichables ObjetsAffichables;
  TObjetsAffichables ObjetsSelectionnables;
  bool RegleActive = false;
  bool DebutRegle = false;
  bool TraceEnCours = false;
  bool ObjetEnCours = false;
  double sensibilita = 1.0;
  bool CreeQuadrillage = false;
  bool AfficheAccroche = false;
  bool AfficherCoord = true;
  bool AffichageCartes = false;
  bool AfficheCoupesVert = false;
  bool CalageNotes = false;
  // Derived windows may show the point information of a clicked station.
  bool AfficherPointEnable = false;
  int32_t XSourisVd = 0, YSourisVd = 0;
  drawing::TObjetDessin* ObjetEdite = nullptr;   // out of its layer while edited
  drawing::TObjetDessin* PageSelectee = nullptr;  // not owned
  drawing::TDessinDeplacable* DessinDeplTmp = nullptr;  // not owned
  drawing::TObjetDessin* FondDePlan = nullptr;   // the window's own background (odNotes), not owned

  // The window's form kind and display memory.
  TListeObjetDessin AffichageDefaut = 0;
  // The display memory of the window's code held a closed window's settings.
  bool MemoireOuverte = false;
  TParamZoom DernierZoom;
  // The drawing origin (ground metres) DernierZoom was measured from, when
  // the memory read gave one for the current drawing kind.
  bool OrigineDernierZoomConnue = false;
  double OrigineDernierZoomX = 0, OrigineDernierZoomY = 0;
  std::vector<TObjetsAffichables> SauveSelectables;
  bool CtrlPresse = false;
  bool DebutCadre = false;
  foundation::TRect CadreSelect;  // drawing units
  drawing::TInfoObjet ResultatProche;
  bool AViseesHabi = false;
  bool ComposCoupe = false;
  bool VoirCavitesVoisines = false;
  int32_t XSouris = 0, YSouris = 0;
  TZoomCavite ZoomGeneral;

  // The zoom window's corners and the snap circle shown (paint-box pixels).
  foundation::TPoint CoinFenetre1, CoinFenetre2;
  platform::Rect CercleAccroche;  // empty when none
  // The kind whose layer failed at the last redraw (-1 none), not yet reported.
  int CalqueEnErreur = -1;
  // Layers combined at the last redraw (those that drew something).
  int CalquesCombines = 0;

 protected:
  // The odNotes layer: the network's active map or the window's background.
  virtual void DessineNotes(platform::Canvas& canvas);
  // The hook of derived windows for the click, called by BaseDessinClick.
  int32_t LargeurBoite_ = 0, HauteurBoite_ = 0;

 private:
  void AjusteBitmap();
  void DessineCalques();
  foundation::TPoint PointSouris() const { return {XSourisVd, YSourisVd}; }
  void RepeintUnion(const platform::Rect& a, const platform::Rect& b);
  std::unique_ptr<platform::Canvas> brouillon_;
  // The drawing is white all over (erased, nothing combined on it yet).
  bool blanc_ = false;
  // The edited object while it is out of its layer.
  std::unique_ptr<drawing::TObjetDessin> sortiDuCalque_;
  // The view and scale of the last picture (given back when a redraw is refused).
  TParamZoom vueAffichee_;
  double echelleAffichee_ = 0;
  bool configSauvee_ = false;
  Curseur curseurSauve_ = Curseur::Normal;
  int32_t xRegle_ = 0, yRegle_ = 0;  // the ruler's end while a measure is open or just closed
  bool regleFermee_ = false;          // the closed measure's line is still shown
};

}  // namespace views
