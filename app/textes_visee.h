#pragma once
// The display texts of a shot as the shot table and the printed listing show
// them: the shot is reduced again, then its 23 texts (ValeursTxt) are filled
// (station, target with its marks, measured values, thread counter,
// coordinates of the computed end, passage dimensions, comment, computed
// values, continuation mark).  The table and the listing pick their columns
// from these texts.
#include <array>
#include <string>
#include <vector>

namespace survey {
class TPointSpeleo;
class TValeurVisee;
class TVisee;
}  // namespace survey

namespace app {

// A station's name with the marks of the shot's computed end: "#" for a loop
// partner, then "*" when computed more than once ("*#12").
std::string DesignPointMarquee(const survey::TVisee& visee, const survey::TPointSpeleo* p);
// The target column: a prefix telling how the shot joins the survey (">< ",
// ">> ", "->  ", "== ", "^   " or "   "), then the marked target name.
std::string DesignViseeTableau(const survey::TVisee& visee);

// Reduces the shot again and fills its 23 texts.
void CreeTextesVisee(survey::TValeurVisee& visee);

// The 19 texts of a table row (caption and sub-items): the computed slope,
// height difference, length and horizontal length stand in columns 3 to 6.
using TextesLigne = std::array<std::string, 19>;
void TextesLigneTable(survey::TValeurVisee& visee, TextesLigne& ligne);

// The columns of a printed row by the display settings: texts 0 to 6 (with
// 7 and 8 for the thread counter), then the dimensions, or the computed
// values and the coordinates, then 22 and 17.
std::vector<std::string> TextesImpression(survey::TValeurVisee& visee);

}  // namespace app
