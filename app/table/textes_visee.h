#pragma once
// The columns the shot table and the printed listing take from a shot's 23
// display texts (made by the shot itself, CreeValeursTxt).
#include <array>
#include <string>
#include <vector>

namespace survey {
class TValeurVisee;
}  // namespace survey

namespace app {

// The 19 texts of a table row (caption and sub-items): the computed slope,
// height difference, length and horizontal length stand in columns 3 to 6.
using TextesLigne = std::array<std::string, 19>;
void TextesLigneTable(survey::TValeurVisee& visee, TextesLigne& ligne);

// The columns of a printed row by the display settings: texts 0 to 6 (with
// 7 and 8 for the thread counter), then the dimensions, or the computed
// values and the coordinates, then 22 and 17.
std::vector<std::string> TextesImpression(survey::TValeurVisee& visee);

}  // namespace app
