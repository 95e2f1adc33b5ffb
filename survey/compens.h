#pragma once
// Adjustments.  An adjustment says that a computed station (its end point) is
// in truth at a known surface point (its exact point).  The shots on the path
// from the end point back to the previous fixed point are corrected so that
// the end lands on the exact point: in plan by a scale factor on horizontal
// lengths and a rotation of directions, in height by a correction per metre of
// horizontal length.  The network owns the stored adjustments; the network
// computation adds temporary ones that tie the secondary entrances of a cave
// to their surface points.
//
// Record (17 bytes, no count): the network numbers of the start, end and exact
// points (4 bytes each, -1 for none), the cave's position (4 bytes; not used on
// reading: the cave is the end point's), typeCompens (1 byte).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/objet_de_liste.h"
#include "survey/visee.h"

namespace survey {

class TCavite;
class TPointSpeleo;
class TSuppressions;

// Kinds of adjustment (typeCompens).
inline constexpr uint8_t CompensPlani = 0;       // plan only
inline constexpr uint8_t CompensAlti = 1;        // height only
inline constexpr uint8_t CompensPlaniAlti = 2;   // plan and height

// "planimétrique", "altimétrique", "plani+alti"; empty for another value.
std::string NomTypeCompens(uint8_t type);

class TCompens : public foundation::TObjetDeListe {
 public:
  // A new adjustment value numbered from the process-wide counter.
  TCompens();
  ~TCompens() override;
  TCompens(const TCompens&) = delete;
  TCompens& operator=(const TCompens&) = delete;

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

  int32_t IndDebut = -1, IndFin = -1, IndJuste = -1, IndCavite = -1;
  uint8_t typeCompens = CompensPlaniAlti;
  int32_t NbreViseesCompens = 0;
  TPointSpeleo* PtDebut = nullptr;  // where the corrected path begins (found by the computation)
  TPointSpeleo* PtFin = nullptr;    // the computed station to be moved
  TPointSpeleo* PtJuste = nullptr;  // the exact point, a surface point
  std::unique_ptr<TValeurCompens> Valeur;  // shared by reference with every corrected shot
  bool EstEntreeScnd = false;       // temporary adjustment of a secondary entrance
  double EcartX = 0, EcartY = 0, EcartZ = 0;  // end minus exact point before the corrections

  // The cave of the end point; none without end point.
  TCavite* TheCavite() const;
  bool EstPlani() const { return typeCompens != CompensAlti; }
  bool EstAlti() const { return typeCompens != CompensPlani; }

  // Attaches Valeur to the shots of the corrected path, from the end point's
  // arriving shot back to a surface point, to the start of a path corrected
  // before, or to the first shot of the walk; sets PtDebut and
  // NbreViseesCompens.  An end point without arriving shot has no path: it is
  // its own start.
  void MarqueViseesCompensees();
  // The misclosure lines, appended to the computation report; sets EcartX,
  // EcartY, EcartZ and, for a plan adjustment, adds the squared plan
  // misclosure to the cave's entrance precision sums.
  void EcritValeurs();
  // Marks the path, reports the misclosure, computes the corrections and
  // recomputes the coordinates of the cave, whose warnings go to
  // avertissements.
  void CalculeCorrections(TAvertissementsCalcul& avertissements);

  // A copy of the points, type and misclosure (not the corrections).
  std::unique_ptr<TCompens> CopieEcarts() const;
  // Follows the removal of stations: each point reference is redirected or cleared.
  void Nettoie(const TSuppressions& s);
};

class TReseau;

// Appends the adjustments of the network whose cave is the given one, for the
// text exports: a title line before the first, then one tab-separated line
// each (start, end and exact points, type, the plan corrections unless height
// only, the height correction unless plan only).
void AjouteLignesCompensations(const TReseau& reseau, const TCavite* cavite, std::vector<std::string>& lignes);

}  // namespace survey
