#pragma once
// The 19 columns of the shot table: captions, alignments, the widths of each
// layout (plain, thread counter, coordinates, dimensions), the width left to
// the comment column, the caption of the target column, and the colour rules
// of rows and cells.  No Qt here: the window applies the values.
#include <array>
#include <cstdint>
#include <string>

namespace survey {
class TValeurVisee;
}

namespace app {

inline constexpr int NombreColonnesVisees = 19;
inline constexpr int ColonneStation = 0;
inline constexpr int ColonnePointVise = 1;
inline constexpr int ColonneAzimut = 2;
inline constexpr int ColonnePente = 3;
inline constexpr int ColonneSuites = 17;
inline constexpr int ColonneCommentaires = 18;
// The comment column is never narrower than this.
inline constexpr int LargeurMiniCommentaires = 150;

using LargeursColonnes = std::array<int, NombreColonnesVisees>;

// Widths at creation (the captions remembered then come back with them).
const LargeursColonnes& LargeursInitiales();
// The captions remembered at creation; column 17 has none.
const std::array<std::string, NombreColonnesVisees>& TitresColonnes();
// Text to the right in columns 2 to 6 and 9 to 16.
bool ColonneADroite(int colonne);

// What the layout shows besides the first seven columns.
struct EtatColonnes {
  bool ColonnesTopofil = false;  // thread-counter readings (plain layout)
  bool Coordonnees = false;      // X, Y, Z and distance along the survey instead
  bool Dimensions = false;       // the four passage dimensions
};

// The widths of a layout: columns 7 to 12 by the layout, 13 to 16 at 40 or 0;
// the comment column takes what the table width leaves.  largeurMesures: the
// width the azimuth and slope columns need for their widest text (see
// TextesMesuresLesPlusLarges); they are never narrower.
LargeursColonnes LargeursDisposition(const EtatColonnes& etat, int largeurTable, int largeurMesures = 0);
// Texts at least as wide as any azimuth or slope of the table in each unit:
// the back-sight mark "i ", a value of six characters and the unit.
const std::array<std::string, 3>& TextesMesuresLesPlusLarges();
// The comment column's width: the table width minus columns 0 to 17, never
// below 150.
int LargeurCommentaires(int largeurTable, const LargeursColonnes& largeurs);

// Caption of the target column: "Point Visé  ", then "+" while the splay
// shots of a cave that has some are hidden, "-" while they are shown.
std::string TitrePointVise(bool habiExistent, bool habiAffichees);

// Colours (Windows values).
inline constexpr uint32_t CouleurHabi = 0x808080;
inline constexpr uint32_t CouleurExclue = 0x32CD32;
inline constexpr uint32_t CouleurExclueInversee = 0x008000;
inline constexpr uint32_t CouleurNonRattache = 0x0000FF;
inline constexpr uint32_t CouleurSuiteFaite = 0x008000;
inline constexpr uint32_t CouleurSuitePossible = 0x0000FF;
inline constexpr uint32_t CouleurNoire = 0x000000;

// The row colour of a shot: the highlight colour for a main shot measured
// forwards, black reversed, 0x32CD32 / 0x008000 when excluded, grey for a
// splay.  Without ligneEntiere the reversal is read inverted (the target
// column's rule).
uint32_t CouleurLigneVisee(const survey::TValeurVisee& visee, bool ligneEntiere, uint32_t surbrillance);
// The text colour of one cell.
uint32_t CouleurCellule(const survey::TValeurVisee& visee, int colonne, uint32_t surbrillance);
// The colour of the continuation mark (column 17 and the continuation
// button) of a main shot's computed station; black without notes.
uint32_t CouleurSuites(const survey::TValeurVisee& visee);

}  // namespace app
