#pragma once
// The printed listing of the shot table: pages built in memory (texts and
// rules at page positions, in printer dots), then printed as a whole or as a
// range.  Each page carries "Impression du réseau " + network and
// "Cavité : " + cave centred in 80 characters at its top, the rows of the
// page in a grid, and "Page " + number centred at its foot.  A gallery's
// first shot writes "Galerie : " + its name above the grid; a change of
// survey trip closes the grid and writes the trip's description; each gallery
// starts a new page.
#include <cstdint>
#include <string>
#include <vector>

namespace survey {
class TValeurVisee;
}

namespace app {

struct ElementPage {
  int32_t X = 0, Y = 0;
  std::string Texte;      // a text with its cell's top-left corner at X, Y
  bool Trait = false;     // a rule from X, Y to X2, Y2 instead
  int32_t X2 = 0, Y2 = 0;
};

struct PageListe {
  std::vector<ElementPage> Elements;
};

// Measures of the page and of the listing's font (a fixed-pitch face).
struct MesuresListe {
  int32_t LargeurPage = 0;
  int32_t HauteurPage = 0;
  int32_t LargeurCar = 0;    // width of "W"
  int32_t HauteurLigne = 0;  // height of "M"
  int32_t Marge = 10;        // left edge of every line
};

// One column of the grid: title, alignment and width in characters.
struct ColonneGrille {
  std::string Titre;
  bool ADroite = false;
  int Largeur = 0;
};
// The grid's columns by the display settings (coordinates, thread counter,
// dimensions).
std::vector<ColonneGrille> ColonnesImpression();

// The pages of the rows premiere to derniere (both included) of the listed
// shots.
std::vector<PageListe> GenerePagesListe(const std::vector<survey::TValeurVisee*>& visees, int premiere, int derniere,
                                        const MesuresListe& mesures, const std::string& nomReseau,
                                        const std::string& nomCavite);

}  // namespace app
