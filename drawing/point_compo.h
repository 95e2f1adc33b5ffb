#pragma once
// Single-point drawing objects that mark a position: survey component
// points, loop junctions, notes and calibration points placed with the
// mouse, continuation marks, section directions, named design points, the
// section axis points of an elevation.  Each draws a small mark in pixels
// whose size does not follow the zoom; the marks of every class are one
// table (MarquePoint).
#include <array>
#include <cstdint>
#include <string>

#include "drawing/objet_dessin.h"

namespace drawing {

// The marks, one per class.
enum class TypeMarque : uint8_t {
  Compo,        // TPointCompo, TDessinAxeCoupe's base
  Boucle,       // TPointBoucle
  BoucleAOter,  // TPointBoucle to be removed
  Note,         // TPointNote, TPointCalage
  Visu,         // TPointVisu
  StatHabi,     // TPointStatHabi
  NoteVert,     // TPointNoteVert
  Suite,        // TPointSuite: its text only
  DirectCoupe,  // TPointDirectCoupe: its direction mark only
  AxeCoupe,     // TDessinAxeCoupe
};
inline constexpr int NombreTypesMarque = 10;

// One stroke of a mark: a '+' of the half-size, or a circle of that radius
// with a clear brush, in the pen width and colour.
struct TraitMarque {
  bool Cercle = false;
  int32_t Epaisseur = 1;
  uint32_t Couleur = 0;
  int32_t Taille = 0;
};

// At most three strokes, drawn in order.
struct DefMarque {
  int NombreTraits = 0;
  std::array<TraitMarque, 3> Traits{};
};

const DefMarque& MarquePoint(TypeMarque type);
// Draws a mark's strokes at the pixel.
void DessineMarque(platform::Canvas& canvas, TypeMarque type, int32_t x, int32_t y);

inline constexpr uint32_t CouleurBlanche = 0xFFFFFF;
inline constexpr uint32_t CouleurVerteVive = 0x00FF00;
inline constexpr uint32_t CouleurVerteFoncee = 0x008000;
// The colour of a continuation mark by its kind: done, still open.
inline constexpr std::array<uint32_t, 2> CouleursSuite{0x008000, 0x0000FF};
// The typeface of the marks' texts.
inline constexpr const char* PoliceMarques = "ms Sans Serif";

class TPointCompo : public TObjetDessin {
 public:
  // At a ground position in metres; the component style, kind odCompos.
  TPointCompo(double Xp, double Yp);

  TPointDeBase Point;
  bool PointClique = false;

  foundation::TPoint PtLoc() const { return Point.PointLoc(); }
  void CalculPointsVue() override { Point.PointVue(); }
  // A cross of 5 pixels; when clicked, a red disc of radius 20.
  void DessineCetObjet(platform::Canvas& canvas) override;
  void DessinePoignees(platform::Canvas& canvas) override { Point.DessinePoignee(canvas); }
  // Distance in drawing units from the cursor; no cave, gallery nor station.
  void DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info) override;
  bool EstValidable() const override { return true; }
  bool TailleIndifferente() const override { return true; }

 protected:
  // At a drawing position.
  struct EnDessin {};
  TPointCompo(EnDessin, const foundation::TPoint& p);
  // The clicked disc of radius 20.
  void DessineClique(platform::Canvas& canvas) const;
};

class TPointBoucle : public TPointCompo {
 public:
  using TPointCompo::TPointCompo;
  bool Del = false;  // the junction is to be removed
  void DessineCetObjet(platform::Canvas& canvas) override;
};

// A note placed with the mouse: made from a screen position, kept in drawing
// units (it stays where it was put when the view is zoomed).
class TPointNote : public TPointCompo {
 public:
  TPointNote(int32_t X, int32_t Y);
  void DessineCetObjet(platform::Canvas& canvas) override;

 protected:
  TPointNote(EnDessin e, const foundation::TPoint& p) : TPointCompo(e, p) {}
};

// The mark of a chosen point: a red circle.
class TPointVisu : public TPointNote {
 public:
  using TPointNote::TPointNote;
  // At a drawing position (it follows the zoom as the survey does).
  explicit TPointVisu(const foundation::TPoint& dessin) : TPointNote(EnDessin{}, dessin) {}
  void DessineCetObjet(platform::Canvas& canvas) override;
};

class TPointStatHabi : public TPointNote {
 public:
  using TPointNote::TPointNote;
  void DessineCetObjet(platform::Canvas& canvas) override;
};

class TPointNoteVert : public TPointNote {
 public:
  using TPointNote::TPointNote;
  void DessineCetObjet(platform::Canvas& canvas) override;
};

// A continuation mark: "??" in the colour of its kind.
class TPointSuite : public TPointNote {
 public:
  TPointSuite(int32_t X, int32_t Y, bool typeSuite) : TPointNote(X, Y), TypeSuite(typeSuite) {}
  bool TypeSuite = false;  // the lead is still open
  void DessineCetObjet(platform::Canvas& canvas) override;
};

// A calibration point: the note's mark and its number.
class TPointCalage : public TPointNote {
 public:
  TPointCalage(int32_t X, int32_t Y, int32_t num) : TPointNote(X, Y), Num(num) {}
  int32_t Num = 0;
  void DessineCetObjet(platform::Canvas& canvas) override;
};

// The direction of a section: an arrow head 20 pixels from the point in
// the direction.
class TPointDirectCoupe : public TPointNote {
 public:
  // direction in radians, counter-clockwise from east.
  TPointDirectCoupe(int32_t X, int32_t Y, double direction);
  double Angle = 0;  // −direction − π
  void DessineCetObjet(platform::Canvas& canvas) override;
};

// A named point: the component mark and its name while station names are
// shown.
class TPointDesign : public TPointCompo {
 public:
  TPointDesign(double Xp, double Yp, std::string nom = {}) : TPointCompo(Xp, Yp), design(std::move(nom)) {}
  std::string design;
  void DessineCetObjet(platform::Canvas& canvas) override;
};

// A station of an imported Therion survey: red, always named.
class TPointTopoTH : public TPointDesign {
 public:
  using TPointDesign::TPointDesign;
  void DessineCetObjet(platform::Canvas& canvas) override;
};

// A point of a section axis of an elevation, linked to its data object.
class TDessinAxeCoupe : public TPointCompo {
 public:
  TDessinAxeCoupe(foundation::TObjetDeListe* unObjet, double Xp, double Yp);
  // A red cross of 8 pixels.
  void DessineCetObjet(platform::Canvas& canvas) override;
};

}  // namespace drawing
