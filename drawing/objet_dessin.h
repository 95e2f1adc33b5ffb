#pragma once
// The drawing objects a graphic window shows: one object per thing drawn (a
// station, a shot, a line of the drawing, a fill, a text, a frame, a grid).
// An object does not own the data it shows; it turns the data's drawing
// coordinates into screen or printer pixels, draws itself with a line style,
// draws its handles when selected, answers how far it is from the cursor and
// keeps an envelope for culling and selection.  The values of the paint in
// progress (visible rectangle, modes) are read from Affichage()
// (drawing/contexte_dessin.h).
#include <cstdint>
#include <string>
#include <string_view>

#include "drawing/contexte_dessin.h"
#include "drawing/objet_trait.h"
#include "drawing/types_objets_dessin.h"
#include "foundation/objet_de_liste.h"
#include "foundation/point_topo.h"
#include "foundation/transformation_vue.h"
#include "platform/canvas.h"

namespace survey {
struct TParamDessinCavite;
}  // namespace survey

namespace drawing {

class TCalque;
class TObjetDessin;
class TObjetDonneesBasique;
class TPointAxe;

// The pixel of a drawing position for the paint in progress: the printer
// conversion while a page is printed (or the symbol frame), the view
// transform on screen; then the view offset and, in offset mode, the layout
// offset.
foundation::TPoint PointVueDessin(int32_t x, int32_t y);

// PointVueDessin for many points: the paint's state read once.
class TVueDessin {
 public:
  TVueDessin();
  foundation::TPoint operator()(int32_t x, int32_t y) const {
    foundation::TPoint p = impression_ ? Imprimante(x, y) : foundation::XYDessinVersEcran(vue_, x, y);
    p.X += decalageVueX_;
    p.Y += decalageVueY_;
    if (decalageActif_) {
      p.X += decalageX_;
      p.Y += decalageY_;
    }
    return p;
  }

 private:
  foundation::TPoint Imprimante(int32_t x, int32_t y) const;
  const foundation::ContexteVue& vue_;
  bool impression_;
  bool decalageActif_;
  int32_t decalageVueX_, decalageVueY_, decalageX_, decalageY_;
};

// A point of a drawing object, in drawing units, with its last computed pixel.
class TPointDeBase {
 public:
  TPointDeBase() { FixePosition(0, 0); }
  TPointDeBase(int32_t x, int32_t y) { FixePosition(x, y); }
  explicit TPointDeBase(const foundation::TPoint& p) { FixePosition(p.X, p.Y); }
  virtual ~TPointDeBase() = default;

  int32_t XLoc = 0, YLoc = 0;
  std::string Text;
  int32_t XVue = 0, YVue = 0;
  // 5 drawing units around the point, Y upward.
  foundation::TRect EnvelRect;

  // Sets the position and the envelope.
  void FixePosition(int32_t x, int32_t y);
  void PointVue();
  void PointVue(const TVueDessin& vue) {
    const foundation::TPoint p = vue(XLoc, YLoc);
    XVue = p.X;
    YVue = p.Y;
  }
  foundation::TPoint PtVue() const { return {XVue, YVue}; }
  foundation::TPoint PointLoc() const { return {XLoc, YLoc}; }
  // X and SlH take XLoc, Y and Z take YLoc.
  foundation::TPointTopo PTopoLoc() const;
  // Distance in drawing units from a screen position.
  double DistancePoint(int32_t XPt, int32_t YPt) const;
  // Frames the 10-pixel square around the pixel with the canvas brush.
  void DessinePoignee(platform::Canvas& canvas) const;
};

// Distance in drawing units from (x, y) to the segment of two points: to the
// foot of the perpendicular when it falls on the segment, else to the nearer
// end (the distance of DistancePointSegment, without its azimuths, in the
// plane of the drawing units whatever the drawing kind).
double DistanceAuSegment(const TPointDeBase& A, const TPointDeBase& B, double x, double y);

// The answer of a distance query.
struct TInfoObjet {
  int32_t NCav = -1;
  int32_t NGal = -1;
  TPointAxe* Pt1 = nullptr;
  TPointAxe* Pt2 = nullptr;
  double D = -1;  // drawing units; -1 when the object does not measure
  TypeObjetDessin NatureObjet = TypeObjetDessin::odNumPt;
  TObjetDessin* ObjetProche = nullptr;
};

inline constexpr uint32_t CouleurSelection = 0xFF00FF;
inline constexpr uint32_t CouleurRouge = 0x0000FF;
inline constexpr uint32_t CouleurArgent = 0xC0C0C0;

class TObjetDessin : public foundation::TObjetDeListe {
  // The link to the element shown, which a copy does not take.
  struct TLienElement {
    TObjetDonneesBasique* Element = nullptr;
    TLienElement() = default;
    TLienElement(const TLienElement&) {}
    TLienElement& operator=(const TLienElement&) { return *this; }
  };
  TLienElement LienElement;

 public:
  // Fields as a new object has them; NoObjet takes the next serial number.
  explicit TObjetDessin(foundation::TObjetDeListe* unObjet = nullptr);
  // Unties the stored element it shows (LieElement).
  ~TObjetDessin() override;
  // A copy shows no element; an assignment keeps the target's.
  TObjetDessin(const TObjetDessin&) = default;
  TObjetDessin& operator=(const TObjetDessin&) = default;

  foundation::TObjetDeListe* ObjetDonnees = nullptr;  // not owned
  // The stored element this object shows (its LObjetDessin is this object),
  // not owned; kept mutual by LieElement and the two destructors, so that
  // neither side ever holds a freed one.
  TObjetDonneesBasique* ElementMontre() const { return LienElement.Element; }
  // Ties the object and the element to each other; the element's previous
  // display object and this object's previous element are untied.
  void LieElement(TObjetDonneesBasique* unElement);
  void DelieElement() { LieElement(nullptr); }
  const TDefObjetTrait* ObjetMotif = nullptr;         // not owned
  bool Selecte = false;
  uint32_t clSelecte = CouleurSelection;
  uint32_t clFiligrane = 0;
  TCalque* CalqueObjet = nullptr;
  TypeObjetDessin CodeAffichage = TypeObjetDessin::odNumPt;
  survey::TParamDessinCavite* ParamCavite = nullptr;  // not owned
  bool DessinEnCours = false;
  bool EstModifie = true;
  bool EstAffiche = false;
  foundation::TRect EnvelRect;
  bool EnveloppeModifiee = false;
  bool EstObjetEcart = false;
  bool EstElementSymbole = false;
  bool EstDessinFiligrane = false;
  // The frame of the offset part the object belongs to, not owned.
  TObjetDessin* EcartDeRef = nullptr;
  int32_t NoObjet = 0;

  // Only symbol elements are streamed (by their own class).
  bool EcritObjet(foundation::TFlux&) override { return false; }
  bool LitObjet(foundation::TFlux&) override { return false; }

  // Draws the object for the paint in progress: nothing for a hidden style,
  // a hidden offset part or a hidden watermark; culling by the envelope
  // (objects of 10 square pixels or less and objects out of the visible
  // rectangle are skipped, grids and symbol elements excepted, nothing with
  // ToutDessiner or offset mode); then the style, its overrides (red mode,
  // selection, watermark, other caves), the object's own drawing and its
  // handles.  The canvas is left as it was found.
  virtual void DessineObjet(platform::Canvas& canvas);
  virtual void DessineCetObjet(platform::Canvas& canvas) = 0;
  virtual void DessinePoignees(platform::Canvas&) {}
  virtual void DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info);
  virtual void CalculPointsVue() {}
  virtual bool EstValidable() const = 0;
  virtual void CalculeEnveloppe() {}

  // What the layer asks of the kinds of objects defined elsewhere.
  // A fill (drawn in the layer's second pass).
  virtual bool EstRemplissage() const { return false; }
  // A fill's closing test, run before it is drawn while the layer changed.
  virtual void TesteFermeture() {}
  // A fill one of whose bounding lines is selected.
  virtual bool BordureSelectee() const { return false; }
  // An offset-part frame (selected by a frame around it).
  virtual bool EstCadreEcart() const { return false; }
  // An offset-part frame whose part is to be drawn.
  virtual bool ADessiner() const { return true; }
  // A page or offset frame that can be caught under the cursor (pixels).
  virtual bool EstPageSousCurseur(int32_t, int32_t) const { return false; }
  // Movable objects, component markers and surface points count as big
  // enough whatever their envelope.
  virtual bool TailleIndifferente() const { return false; }
  // A line of the layer's section cuts (lines that are not gallery outlines).
  virtual bool EstLigneDeCoupe() const { return false; }
  // DessineObjet may run on another thread, beside other objects of this
  // answer: it changes nothing but the object itself and the canvas given,
  // and reads nothing that another object's drawing changes.
  virtual bool TracableEnParallele() const { return false; }

  // EnvelRect in pixels, Top above Bottom on screen.
  foundation::TRect EnvelVue() const;
  virtual bool EstMasque() const;
  bool EstCaviteSelectee() const;
  // Draws the object as a preview of a style (at 50 pixels per metre when
  // the style has no fill).
  void DessineVisuMotif(platform::Canvas& canvas, const TDefObjetTrait* vMotif);

 protected:
  // The style applied to the canvas with the overrides of the paint.
  void AppliqueStyleObjet(platform::Canvas& canvas);
};

// The text with one blank before and one after.
std::string EntoureEspaces(std::string_view texte);

}  // namespace drawing
