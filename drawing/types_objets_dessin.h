#pragma once
// The kinds of drawing objects: each kind from odCompos on has a layer of its
// own in a graphic window, and the windows choose by kind what is shown,
// selectable and exported.
#include <array>
#include <cstddef>
#include <cstdint>

namespace drawing {

enum class TypeObjetDessin : uint8_t {
  odNumPt,            // not a layer: station names shown
  odNumSurf,          // not a layer: surface-point names shown
  odCompos,           // survey points, component markers
  odPtSurf,           // surface points
  odPtLever,          // survey axis: shots and stations
  odVisHab,           // splay shots
  odGalerie,          // gallery outlines
  odDessin,           // lines and fills of the drawing
  odHabillage,        // dressing: symbols and dressing lines
  odTexte,            // texts
  odQuadrill,         // grid, coordinate ticks; never culled
  odNotes,            // calibrated background maps
  odBrouillon,        // scratch objects of the editors
  odAutreNiveau,      // watermark drawings of other levels
  odAutresCavites,    // other caves, drawn in silver
  odCoupesVert,       // elevation blocks placed on a plan
  odCoupes,           // cross-section frames
  odCoupesLever,      // survey of the cross sections
  odCoupesDessin,     // drawing of the cross sections
  odCoupesHabillage,  // dressing of the cross sections
  odCoupesTexte,      // texts of the cross sections
  odEcarts,           // offset-part frames
  odEcartsLevers,     // survey of the offset parts
  odEcartsGaleries,   // gallery outlines of the offset parts
  odEcartsDessin,     // drawing of the offset parts
  odEcartsHabillage,  // dressing of the offset parts
  odEcartsTexte,      // texts of the offset parts
  odPkTp,             // imported sketches
  odDessinSVG,        // imported SVG drawing
};
inline constexpr int NombreTypesObjetDessin = 29;

// The bit of a kind in the 32-bit sets of kinds (visible, selectable, exported).
constexpr uint32_t BitTypeObjet(TypeObjetDessin t) { return uint32_t{1} << static_cast<unsigned>(t); }

// The order in which a window draws its layers, first drawn first.
inline constexpr std::array<TypeObjetDessin, 27> OrdreCalques{
    TypeObjetDessin::odCoupesVert,      TypeObjetDessin::odNotes,          TypeObjetDessin::odPkTp,
    TypeObjetDessin::odQuadrill,        TypeObjetDessin::odAutresCavites,  TypeObjetDessin::odAutreNiveau,
    TypeObjetDessin::odGalerie,         TypeObjetDessin::odPtLever,        TypeObjetDessin::odVisHab,
    TypeObjetDessin::odCompos,          TypeObjetDessin::odDessin,         TypeObjetDessin::odHabillage,
    TypeObjetDessin::odTexte,           TypeObjetDessin::odPtSurf,         TypeObjetDessin::odCoupes,
    TypeObjetDessin::odCoupesLever,     TypeObjetDessin::odCoupesDessin,   TypeObjetDessin::odCoupesHabillage,
    TypeObjetDessin::odCoupesTexte,     TypeObjetDessin::odEcarts,         TypeObjetDessin::odEcartsLevers,
    TypeObjetDessin::odEcartsGaleries,  TypeObjetDessin::odEcartsDessin,   TypeObjetDessin::odEcartsHabillage,
    TypeObjetDessin::odEcartsTexte,     TypeObjetDessin::odDessinSVG,      TypeObjetDessin::odBrouillon,
};

// Visible (or selectable) kinds of a window, indexed by kind.
struct TObjetsAffichables {
  std::array<bool, NombreTypesObjetDessin> Types{};
  bool& operator[](TypeObjetDessin t) { return Types[static_cast<size_t>(t)]; }
  bool operator[](TypeObjetDessin t) const { return Types[static_cast<size_t>(t)]; }
  friend bool operator==(const TObjetsAffichables&, const TObjetsAffichables&) = default;
};

class TListeAffichables {
 public:
  TObjetsAffichables ListeTypeDObjet;
};

}  // namespace drawing
