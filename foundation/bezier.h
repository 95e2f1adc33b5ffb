#pragma once
// Bézier paths of the drawn lines.  A cubic path is 3n + 1 points: anchors at
// indexes 0, 3, 6, … and two control points between consecutive anchors; a
// quadratic path has one control point between anchors.  Integer paths are in
// drawing units; real paths are point lists of which only X and Y are used.
#include <cstdint>
#include <span>

#include "foundation/point_topo.h"

namespace foundation {

// Deepest halving of one cubic segment while it is flattened.
inline constexpr int ProfondeurMaxBezier = 24;

// The cubic point at t, weights and products in single precision, the sum
// rounded half to even.
void PointBezier(const TPoint& P0, const TPoint& P1, const TPoint& P2, const TPoint& P3, float t, TPoint& R);

// Control point of anchor P on the side of its neighbouring anchor S, opposite
// to its other neighbouring anchor O, with the tension k in percent (100 is
// full).  Integer arithmetic, divisions truncated toward zero.
TPoint PointControle(const TPoint& P, const TPoint& S, const TPoint& O, int32_t k);

// Recomputes every control point of the cubic path made of the first N points
// from its anchors, with tension k.  When N is not of the form 3n + 1 the
// message "Incorrect number of points (nx3)+1" goes through the dialog port and
// the smoothing still runs on the given points; a path of fewer than 4 points
// has no control to place and is left as it is.
void LisseBezier(std::span<TPoint> chemin, int N, int32_t k);

// Midpoint of X and Y.
TPointTopo Milieu(const TPointTopo& A, const TPointTopo& B);
// The unit vector from A to B in X and Y, or (0, 0) with nul set when A = B.
void DirectionUnitaire(const TPointTopo& A, const TPointTopo& B, bool& nul, TPointTopo& vecteur);
// Whether the cubic segment turns little enough to be drawn straight.
bool EstPlat(const TPointTopo& P0, const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3);
// Appends to the destination the start of each straight piece of the segment.
// A segment whose end anchor or first or second control point lies within
// 0.005 of its neighbour adds nothing; nor does a segment holding a point that
// is not finite.  The segment is halved at most ProfondeurMaxBezier −
// profondeur times (profondeur is how deep the segment already lies).
void SubdiviseBezier(const TPointTopo& P0, const TPointTopo& P1, const TPointTopo& P2, const TPointTopo& P3,
                     TPtTopoList& destination, int profondeur = 0);

// Flattens a cubic path into the destination (cleared first).  When the
// second point has the X and Y of the first, the first is taken 0.1 higher in
// Y so that the first segment is not dropped.  A path of 0 or 1 point is
// copied as it is.
void BezierVersPolyligne(const TPtTopoList& source, TPtTopoList& destination);
// Samples a quadratic path at 21 points per segment (t = 0, 0.05, … 1), then
// appends the last point (destination cleared first).
void BezierQuadVersPolyligne(const TPtTopoList& source, TPtTopoList& destination);

}  // namespace foundation
