#pragma once
// What the surface-point manager does to the network's surface points, apart
// from its window (app/fiche_pts_surface.h): the orders of its list's
// columns, the points a deletion may take, and the two text lists it exports.
#include <cstdint>
#include <string>
#include <vector>

namespace survey {

class TPointSpeleo;
class TReseau;

// Columns of the surface-point list.
enum class ColonnePtsSurface : int { Nom, X, Y, Z, Nature, Commentaire };
inline constexpr int NombreColonnesPtsSurface = 6;

// Stable sort of the points shown by a column: names and symbol names by
// CompareNomsPoints of the upper-cased texts; X, Y and Z by the difference of
// the values rounded half to even (values at most 0.5 apart are equal, so
// that this order is not transitive: the merge sort used is sound for any
// comparison); descending reverses the comparison.  The comment column does
// not sort (false, the order unchanged).
bool TriePointsSurface(std::vector<TPointSpeleo*>& points, ColonnePtsSurface colonne, bool croissant);
// The comparison behind it, <0, 0 or >0 (ascending).
int ComparePointsSurface(const TPointSpeleo& a, const TPointSpeleo& b, ColonnePtsSurface colonne);

// Deletion: every surface point is marked, the exact points of the stored
// adjustments are unmarked, and a selected, marked point stays marked only
// when no shot is attached to it (NbRatTot = 0); the points not selected are
// unmarked.  Returns the points left marked.
std::vector<TPointSpeleo*> MarquePointsSupprimables(TReseau& reseau, const std::vector<TPointSpeleo*>& selection);
// Clears the marks of every surface point.
void DemarquePointsSurface(TReseau& reseau);
// Removes the given surface points from the network (through the one
// station-removal routine), freeing them.
void SupprimePointsSurface(TReseau& reseau, const std::vector<TPointSpeleo*>& points);

// The lines of the exported lists, fields separated by tabs, one per point in
// the order given.  Projected: name, X, Y, Z, symbol name, comment; WGS84:
// name, latitude, longitude (decimal degrees, up to 15 significant digits),
// Z, symbol name, comment.  X, Y and Z with the coordinate decimals, trimmed;
// a width is only a minimum, a value is never cut.  A point whose position
// does not convert to WGS84 gets empty latitude and longitude.
std::vector<std::string> LignesPointsSurface(const std::vector<TPointSpeleo*>& points);
std::vector<std::string> LignesPointsSurfaceWGS(const std::vector<TPointSpeleo*>& points, const std::string& systeme,
                                                int32_t zone);
// A real as the general conversion writes it: up to 15 significant digits,
// '.' as separator, no exponent for the values of degrees.
std::string ReelGeneral(double x);

}  // namespace survey
