#pragma once
// Plane geometry shared by every part of the program that places, measures or
// matches points: the survey point value record, distances and azimuths, line
// intersections that report parallels, integer rectangles with Y growing
// upwards, persistent point lists, and the fitted transforms that carry one
// plane onto another.
//
// Azimuths are radians clockwise from north (+Y), in [0, 2π).  In an elevation
// drawing (see transformation_vue.h) the horizontal axis is the developed
// distance SlH and the vertical axis the altitude Z; the routines that say so
// switch to that pair.
#include <array>
#include <cstdint>
#include <stdexcept>

#include "foundation/flux.h"
#include "foundation/objet_de_liste.h"
#include "platform/canvas.h"

namespace foundation {

// Integer points and rectangles: drawing units (millimetres from the drawing
// origin) and screen pixels.  They are the canvas's own point and rectangle, so
// that converted points go to the canvas without copying.  The rectangle keeps
// the window system's corner names; whether Top is the smaller or the larger Y
// depends on the space it lives in (screen rectangles grow downwards, drawing
// rectangles upwards).
using TPoint = platform::Point;
using TRect = platform::Rect;

// A survey point copied between the parts of the program.  SlH is also used as
// a status by several routines: 1 found, -1 not found or invalid.
struct TPointTopo {
  uint32_t Num = 0;
  double X = 0;
  double Y = 0;
  double Z = 0;
  double SlH = 0;
  // WGS84 latitude and longitude in radians, when computed; never stored.
  double LatPt = 0;
  double LongPt = 0;
};

struct TSegment {
  TPointTopo PtDebut;
  TPointTopo PtFin;
};

// The plan box, the elevation box and the extreme points of a cave.
struct TEnveloppe {
  double XGauche = 0, YHaut = 0, XDroite = 0, YBas = 0;
  double XCoupeGauche = 0, XCoupeDroite = 0;
  TPointTopo LimGalGauche, LimGalDroite;
};

// A plane affine map (a, b, c, d, e, f): X' = aX + cY + e, Y' = bX + dY + f.
using TMatrice = std::array<double, 6>;
// Scale-and-shift: midpoint X, Y of a first segment, midpoint X, Y of a second
// one, ratio of their lengths; the last two slots are unused.
using TTransEch = std::array<double, 7>;

// --- Points ------------------------------------------------------------------
// A point with those X and Y and SlH 0.
TPointTopo PtTopoXY(double X, double Y);
// Copies the integer X and Y; other fields untouched.
void PointVersPtTopo(const TPoint& P, TPointTopo& R);
// X := SlH, Y := Z: the point in the elevation plane.
void PtTopoVersAlti(TPointTopo& P);
// R := the mirror of A through B (X and Y).
void PointSymetrique(const TPointTopo& A, const TPointTopo& B, TPointTopo& R);
// The point at that azimuth and distance from P: on SlH and Z in an elevation
// drawing unless forcePlan, else on X and Y.  Other fields of R untouched.
void PointRayonne(const TPointTopo& P, double azimut, double distance, bool forcePlan, TPointTopo& R);
// Degrees.minutes (45.30 is 45°30') to decimal degrees.  x keeps the unsigned
// value in decimal degrees; the result carries the sign.
double DegMinVersDegres(double& x);
inline int SigneBool(bool b) { return b ? 1 : -1; }
inline bool PointsEgaux(const TPoint& A, const TPoint& B) { return A.X == B.X && A.Y == B.Y; }

// --- Distances and azimuths -----------------------------------------------------
double DistanceXY(const TPointTopo& P1, const TPointTopo& P2);
// Distance in the elevation plane (SlH, Z).
double DistanceAlti(const TPointTopo& P1, const TPointTopo& P2);
double DistancePoints(const TPoint& P1, const TPoint& P2);
double AzimutXY(const TPointTopo& P1, const TPointTopo& P2);
double AzimutPoints(const TPoint& P1, const TPoint& P2);
// Clockwise from +Z with SlH as the horizontal axis.
double AzimutAlti(const TPointTopo& P1, const TPointTopo& P2);
// Brings an angle into [0, 2π).  An infinite angle gives NaN.
double NormaliseAngle(double x);

// --- Lines and segments (plan X, Y unless said otherwise) ------------------------
// Intersection of line P1P2 with line P3P4: R.SlH := 1 and R.X, R.Y set; for
// parallel or degenerate lines R.SlH := -1 and R.X, R.Y untouched.
void IntersectionDroites(const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3, const TPointTopo& P4,
                         TPointTopo& R);
// Foot of the perpendicular from P3 on line P1P2, with the same SlH status.
void PiedPerpendiculaire(const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3, TPointTopo& R);
// P3 lies on segment P1P2 within a thousandth of its length.
bool EstSurSegment(const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3);
// 0 when P1P2 is the longest side of the triangle (ties included), else 1 when
// P3 is nearer P1 than P2, else 2.  Elevation-plane distances in an elevation
// drawing.
int PositionSurSegment(const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3);
// Distance from P3 to segment P1P2 (in the elevation plane in an elevation
// drawing): to the foot of the perpendicular when it falls on the segment,
// else to the nearer end.
double DistancePointSegment(const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3);
// Where line P1P2 of the elevation plane meets the vertical SlH = P3.SlH:
// R.SlH := P3.SlH and R.Z := the altitude there.  When P1 and P2 have the same
// SlH there is no single crossing: R.SlH and R.Z := ValeurIndefinie.
void IntersectionVerticaleAlti(const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3, TPointTopo& R);

// --- Rectangles whose Top is the larger Y ---------------------------------------
TRect RetourneRectY(const TRect& R);
// Union and intersection of the window system (an empty rectangle does not
// count; an empty result is all zeros) applied to the exchanged rectangles.
void UnionRectY(const TRect& A, const TRect& B, TRect& R);
bool IntersectionRectY(TRect& R, const TRect& A, const TRect& B);
inline bool RectsEgaux(const TRect& A, const TRect& B) { return A == B; }
// Both corners of A inside B: the low edges of B included, the high edges
// excluded, whichever way B is oriented.
bool RectDansRect(const TRect& A, const TRect& B);
// (Top − Bottom)·(Right − Left), held to the 64-bit range.
int64_t SurfaceRect(const TRect& R);
// Minima := ValeurIndefiniePositive, maxima := ValeurIndefinie.
void InitMinMax(double& Min1, double& Min2, double& Max1, double& Max2);
// Widens (Min, Max) to include x.
void MajMinMax(double& Min, double& Max, double x);

// --- Map transforms ---------------------------------------------------------------
// The scale and shift carrying segment P1P2 onto P3P4.  False, with ratio 1,
// when P1P2 has no length.
bool CalculeTransEch(const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3, const TPointTopo& P4,
                     TTransEch& T);
// R.X, R.Y := (P - first midpoint) * ratio + second midpoint.
void AppliqueTransEch(const TPointTopo& P, const TTransEch& T, TPointTopo& R);
void AppliqueMatrice(const TPointTopo& P, const TMatrice& M, TPointTopo& R);

// --- Persistence -------------------------------------------------------------------
// Num, X, Y, Z, SlH: 36 bytes.  Files below level 502 hold one raw block of 40
// bytes (Num, 4 padding bytes, X, Y, Z, SlH).  True only when every field was
// transferred; stops at the first short transfer.
bool EcritPtTopo(const TPointTopo& P, TFlux& f);
bool LitPtTopo(TPointTopo& P, TFlux& f);

// A stored integer point: Num, X, Y (12 bytes).
class TObjetPoint : public TObjetDeListe {
 public:
  TPoint LePt() const { return TPoint{X, Y}; }
  bool EcritObjet(TFlux& f) override;
  bool LitObjet(TFlux& f) override;

  uint32_t Num = 0;
  int32_t X = 0;
  int32_t Y = 0;
};

// A stored survey point: Num, X, Y, Z, SlH (36 bytes).
class TObjetTopo : public TObjetDeListe {
 public:
  TPointTopo PtTopo() const;
  bool EcritObjet(TFlux& f) override;
  bool LitObjet(TFlux& f) override;

  uint32_t Num = 0;
  double X = 0;
  double Y = 0;
  double Z = 0;
  double SlH = 0;
};

class TPtTopoList : public TListeFichier<TObjetTopo> {
 public:
  // The point at i; a zero point with SlH -1 outside the list.
  TPointTopo UnPtTopo(int i) const;
  // Appends a point with the X, Y, Z and SlH of UnPt.
  void AjoutePoint(const TPointTopo& UnPt);
  // Appends a point usable in both planes: X, Y, SlH := X, Z := Y.
  void AjoutePoint(double X, double Y);
  // The point's SlH is not -1 (false outside the list).
  bool LePointValide(int i) const;
};

// --- Fitted transforms ---------------------------------------------------------------
// A fit asked of coincident points (no scale and no direction to fit).
class ErreurTransfoDegeneree : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The similarity X' = CoefA·X − CoefB·Y + Xb, Y' = CoefB·X + CoefA·Y + Yb that
// carries the source pair (PtLDeb, PtLFin) onto the target pair (PtADeb,
// PtAFin); the source midpoint goes exactly onto the target midpoint.  Throws
// ErreurTransfoDegeneree when either pair is one point.
class TObjetTransfoTopo {
 public:
  TObjetTransfoTopo(const TPointTopo& PtLDeb, const TPointTopo& PtLFin, const TPointTopo& PtADeb,
                    const TPointTopo& PtAFin);
  virtual ~TObjetTransfoTopo() = default;
  // Pt carried across, X' and Y' rounded to whole numbers; other fields kept.
  TPointTopo TransfoTopo(const TPointTopo& Pt) const;
  TPointTopo TransfoTopoInverse(const TPointTopo& Pt) const;

  double Xb = 0;
  double Yb = 0;
  double CoefA = 0;
  double CoefB = 0;

 protected:
  TObjetTransfoTopo() = default;
  void Calcule(double lDebX, double lDebY, double lFinX, double lFinY, double aDebX, double aDebY, double aFinX,
               double aFinY);
};

// The same fit on integer points.
class TObjetTransfoPoint : public TObjetTransfoTopo {
 public:
  TObjetTransfoPoint(const TPoint& PtLDeb, const TPoint& PtLFin, const TPoint& PtADeb, const TPoint& PtAFin);
  TPoint TransfoPoint(const TPoint& Pt) const;
  TPoint TransfoPointInverse(const TPoint& Pt) const;
};

// Two-pair similarity whose stored coefficients carry the arrival frame to the
// departure frame; PointTransfo applies the inverse, departure to arrival.
class TAffine {
 public:
  // False, coefficients untouched, when either pair is one point.
  bool CalculeCoeffsPt(const TPointTopo& Pt1Dep, const TPointTopo& Pt2Dep, const TPointTopo& Pt1Arr,
                       const TPointTopo& Pt2Arr);
  bool CalculeCoeffsCoords(double X1Dep, double Y1Dep, double X2Dep, double Y2Dep, double X1Arr, double Y1Arr,
                           double X2Arr, double Y2Arr);
  // Pt carried to the arrival frame (not rounded); other fields kept.  A point
  // with SlH -1 when no fit was made.
  TPointTopo PointTransfo(const TPointTopo& Pt) const;

  double Xb = 0;
  double Yb = 0;
  double CoefA = 0;
  double CoefB = 0;
  double CoefC = 0;
  double CoefD = 0;
};

// Least-squares similarity from image points to ground points:
// X' = crHlmA·X − crHlmB·Y + crX0, Y' = crHlmC·X + crHlmD·Y + crY0.
class THelmert {
 public:
  THelmert() = default;
  virtual ~THelmert() = default;
  THelmert(const THelmert&) = delete;
  THelmert& operator=(const THelmert&) = delete;

  // Whether pair i takes part in the fit.
  virtual bool LePointOK(int /*i*/) const { return true; }
  // Fits over the pairs of PointsImage and PointsTerrain.  Fewer than two
  // pairs, all image points equal or all ground points equal leave HelmertOK
  // false and the coefficients as they were.
  void CalculeAdaptation();
  // Appends the two pairs, then fits.
  void CalculeAdaptation4Pts(const TPointTopo& PointDessin0, const TPointTopo& PointDessin1,
                             const TPointTopo& PointTerrain0, const TPointTopo& PointTerrain1);
  // The image point carried onto the ground (not rounded); other fields kept.
  TPointTopo PointTransfo(const TPointTopo& PointImage) const;
  // The ground point carried back to the image, X and Y rounded to whole
  // numbers; other fields kept.  SlH -1 and X, Y untouched when the
  // coefficients give no inverse.
  TPointTopo TransfoInverse(const TPointTopo& Pt) const;

  long double crX0 = 0, crY0 = 0;
  long double crHlmA = 0, crHlmB = 0, crHlmC = 0, crHlmD = 0;
  long double crTheta1 = 0, crTheta2 = 0;
  long double crHlmK1 = 0, crHlmK2 = 0;
  TPtTopoList PointsImage;
  TPtTopoList PointsTerrain;
  bool HelmertOK = false;
};

}  // namespace foundation
