#pragma once
// The network computation (TReseau::CalculeReseau and its passes, in
// calcul_reseau.cpp; the computation of one cave is TCavite's, in
// calcul_cavite.cpp) and the small services they share.
//
// A full computation takes every cave from position 1 (the surface is never
// computed).  A cave with more than two entrances is first computed from each
// of its entrances in turn; the one whose secondary entrances land nearest
// their surveyed positions is used.  Each pass ties every secondary entrance
// to its surface point with a temporary adjustment, computes the coordinates,
// applies the stored adjustments, closes the loops (when loop closure is
// installed, rapport_calcul.h), then puts the model back as it was: no virtual
// point, the user's entrance selected.
#include <cstdint>
#include <string>

namespace survey {

class TCavite;
class TPointSpeleo;

// The network's coordinate system as the computation reads it.
struct TSystemeCalcul {
  std::string Projection;   // empty: independent coordinates
  int32_t NumFuseau = -1;
  bool CalculProjection = true;  // the grid convergence is applied
};
// The system of the cave's network (none for a cave on its own).
TSystemeCalcul SystemeCalculDe(const TCavite& c);

// Plan standard deviations of a station relative to the entrance.
void CalculePrecisionPoint(TPointSpeleo& P, const TPointSpeleo* entree);
// The same with the entrance of the station's cave.
void CalculePrecisionPoint(TPointSpeleo* P);

}  // namespace survey
