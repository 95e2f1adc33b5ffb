#pragma once
// Movable drawing objects: placed as a whole, then moved, turned and resized
// with the mouse (texts, symbols, the frames of cross sections, offset parts
// and pages).  A centre, a half-length and an orientation give the object's
// two defining points at every draw.  Also the fixed arrow shapes drawn at
// section lines and text leaders.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "drawing/dessin_ligne.h"
#include "foundation/point_topo.h"

namespace drawing {

class TDessinDeplacable : public TDessinBasique {
 public:
  explicit TDessinDeplacable(const TDefObjetTrait* vMotif = nullptr, foundation::TObjetDeListe* unObjet = nullptr);

  double Long = 1000;  // half-length, drawing units
  double Orient = 0;   // radians, counter-clockwise from +X
  double DxCapt = 0, DyCapt = 0;
  foundation::TPointTopo PtCentre;  // drawing units
  foundation::TPointTopo AncienCentre;
  double DeplaceX = 0, DeplaceY = 0;
  bool EstFixe = false;

  // Orient +- 2 degrees.
  virtual void Tourne(bool Sens);
  // Long x 1.1 or x 0.9.
  virtual void Dimension(bool Sens);
  // Placed: half-length, orientation and centre from points 0 and 1.
  virtual void InitDimensions();
  // A new object at the screen position, following the cursor.
  virtual void InitObjet(int32_t Xs, int32_t Ys);
  // The centre to the cursor plus the captured offset.
  virtual void Deplace(int32_t Xs, int32_t Ys);
  virtual void DessineObjetDeplacable(platform::Canvas& canvas) = 0;
  // Starts a move from the screen position.
  void Capture(int32_t Xs, int32_t Ys);

  // Points 0 and 1 from the centre, half-length and orientation (rounded).
  void CalculePointsDeplacable();
  void DessineCetObjet(platform::Canvas& canvas) override;
  bool TailleIndifferente() const override { return true; }
};

// A frame moved as a whole: its points are its corners.
class TDessinRectDepl : public TDessinDeplacable {
 public:
  explicit TDessinRectDepl(foundation::TObjetDeListe* unObjet = nullptr);

  foundation::TPoint PointHaut, PointBas;  // the last hit-test box, pixels
  bool FADessiner = true;                  // the frame and its content are drawn
  bool Capturable = true;

  bool ADessiner() const override { return FADessiner; }
  void InitDimensions() override { EstFixe = true; }
  // The pixel box from point 0 (bottom left) to point 2 (top right) widened
  // by 10 pixels, borders included.
  bool EstSousCurseur(int32_t X, int32_t Y);
  bool EstPageSousCurseur(int32_t X, int32_t Y) const override;
  void DessineObjetDeplacable(platform::Canvas&) override {}
};

// The frame of an offset part.
class TDessinEcart : public TDessinRectDepl {
  // The data's pointer to this frame, which a copy does not take.
  struct TLienDonnees {
    TObjetDessin** Champ = nullptr;
    TLienDonnees() = default;
    TLienDonnees(const TLienDonnees&) {}
    TLienDonnees& operator=(const TLienDonnees&) { return *this; }
  };
  TLienDonnees LienDonnees;

 public:
  using TDessinRectDepl::TDessinRectDepl;
  // Clears the data's pointer to this frame when it still points to it.
  ~TDessinEcart() override;
  TDessinEcart(const TDessinEcart&) = default;
  TDessinEcart& operator=(const TDessinEcart&) = default;
  bool Encadre = false;

  // Ties the frame and the data's pointer to it (an offset part's
  // LeDessinEcart, a section's LeDessinCoupe): the frame the pointer held is
  // untied first; freeing the frame clears the pointer.
  void LieDonnees(TObjetDessin*& Champ);
  // Unties and clears the pointer (the data is being freed).
  static void DelieDonnees(TObjetDessin*& Champ);

  bool EstCadreEcart() const override { return true; }
  // Moves the centre and every point by the rounded displacement.
  void Deplace(int32_t Xs, int32_t Ys) override;
  void DessineCetObjet(platform::Canvas& canvas) override;
};

// The frame of a cross section placed on the drawing, with its section line
// arrow and label.  Points 0 to 3 are the corners, points 6 and 7 the ends of
// the section's line on the drawing.
class TDessinCoupe : public TDessinEcart {
 public:
  explicit TDessinCoupe(foundation::TObjetDeListe* unObjet = nullptr);

  std::string Legende;
  bool Inverse = false;
  bool DessinPktp = false;
  int32_t LCoupe = 0, HCoupe = 0;  // size while unplaced, drawing units
  double AngleTraitFleche = 0;     // azimuth of the section line
  double dDecalDesX = 0, dDecalDesY = 0;
  TPointDeBase PointFleche, PointTexte;  // drawing positions for picking
  foundation::TPointTopo Pt0Fleche, Pt1Fleche, PtBaseFleche, PtBoutFleche, Pt0Texte, Pt1Texte, PtDessinTexte;

  // The envelope follows the unplaced frame.
  void Deplace(int32_t Xs, int32_t Ys) override;
  // Ground positions of the arrow and the label from points 6 and 7.
  void CreeDessinFleche();
  void TracerFleche(platform::Canvas& canvas);
  void DessineCoupeFixe(platform::Canvas& canvas);
  void DessineCetObjet(platform::Canvas& canvas) override;
};

// Size factor of arrows and leaders: EchelleVue on screen, 22884 /
// EchellePrn on a page or an image.
double FacteurFleche();

// A fixed shape mapped between two pixels.
class TSymboleDefini {
 public:
  virtual ~TSymboleDefini() = default;
  int32_t NbPt = 0;
  foundation::TPoint PtBase, PtExtrem;
  std::vector<foundation::TPoint> PointsInit, PointsTrans;

  virtual void init() = 0;
  // When the two pixels are more than 5 apart: the shape mapped by the
  // similarity taking PtBase to PtDeb and PtExtrem to PtFin, drawn.
  virtual void dessine(const foundation::TPoint& PtDeb, const foundation::TPoint& PtFin, platform::Canvas& canvas);
  virtual void DessineSymbole(platform::Canvas& canvas);
};

// A polygon filled black, black pen of width 2.
class TFleche : public TSymboleDefini {
 public:
  void DessineSymbole(platform::Canvas& canvas) override;
};

// A filled arrow head, tip at point 0.
class TPointeFleche : public TFleche {
 public:
  TPointeFleche() { init(); }
  void init() override;
};

// An open arrow head: lines from point 1 to the tip to point 3.
class TFlecheAjouree : public TPointeFleche {
 public:
  void DessineSymbole(platform::Canvas& canvas) override;
};

// An arrow head with its tip at Pointe, pointing away from Base, Taille
// pixels long; open when Ajouree.  Nothing at 5 pixels or less.
void DessinePointeFleche(const foundation::TPoint& Pointe, const foundation::TPoint& Base, int32_t Taille, bool Ajouree,
                         platform::Canvas& canvas);

}  // namespace drawing
