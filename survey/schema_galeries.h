#pragma once
// The printed diagram of a cave's galleries, laid out once in printer dots:
// the cave's name (bold, 12) and "Schéma des galeries" centred, then gallery
// 0 and the galleries hanging from it, each at x = level × 100 − 50 (0 at
// level 0, "->" before the name below it) under the one it hangs from, with
// a vertical line at x = level × 100 + 50 joining a gallery to its children;
// then, after "---  galerie(s) non rattachée(s)  ---", every isolated gallery
// with its own children.  The font is "Arial" 10; the pen black, 5 dots wide.
//
// The diagram is cut into bands of the page's height less two text heights,
// one per page, as many as it fills.  Each page lists the elements that
// cross its band, in the band's coordinates: the output clips them to the
// band, so that nothing is ever drawn on a bitmap of the page.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace survey {

class TCavite;

// What the layout needs of the printer and of its font.
struct TMesuresSchema {
  int32_t LargeurPage = 0;  // dots
  int32_t HauteurPage = 0;
  // Height of the text "T" in the diagram's font ("Arial" 10).
  int32_t HauteurTexte = 0;
  // Width of a text in "Arial" at that size, bold or not.
  std::function<int32_t(std::string_view texte, int taille, bool gras)> LargeurTexte;
};

struct TElementSchema {
  bool Trait = false;
  int32_t X = 0, Y = 0;    // a text's top-left corner, or a line's start
  int32_t X2 = 0, Y2 = 0;  // a line's end
  std::string Texte;
  int Taille = 10;
  bool Gras = false;
};

inline constexpr int32_t EpaisseurTraitSchema = 5;

class TSchemaGaleries {
 public:
  std::vector<TElementSchema> Elements;  // the whole diagram, y from 0 down
  int32_t HauteurTotale = 0;
  int32_t HauteurBande = 1;  // the page height less two text heights
  int32_t LargeurPage = 0;
  int32_t HauteurTexte = 0;

  // The pages the diagram fills (one at least).
  int NombrePages() const;
  // The elements of page i (0-based) moved up by i bands; those that cross
  // the band's edges are to be clipped by the output.
  std::vector<TElementSchema> ElementsPage(int i) const;
};

// The diagram of the cave; lines are vertical only.
TSchemaGaleries SchemaGaleries(const TCavite& cavite, const TMesuresSchema& mesures);

}  // namespace survey
