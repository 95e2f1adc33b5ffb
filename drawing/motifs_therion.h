#pragma once
// The default Therion pattern set: a library (origin 1) whose entries carry
// Therion's type names, so that an imported line of type "wall" finds the
// style named "wall".
#include <memory>

#include "drawing/liste_mtf.h"

namespace drawing {

// The set as built at start-up: the three default textures, nine line
// styles, four fills, five fonts and the seven default symbols renamed; no
// north arrow and no surface symbol.
std::unique_ptr<tListeMtf> CreeListesMtfTherion();

// The fallbacks of lines and fills whose library or type cannot be resolved.
void InitTraitNonTrouve(TDefObjetTrait& t);
void InitRempliNonTrouve(TDefObjetTrait& t);

}  // namespace drawing
