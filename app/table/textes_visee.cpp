#include "app/table/textes_visee.h"

#include "survey/visee.h"

namespace app {

void TextesLigneTable(survey::TValeurVisee& v, TextesLigne& ligne) {
  v.CreeValeursTxt();
  const auto& t = v.ValeursTxt;
  // Caption, then the sub-items as the row shows them.
  for (size_t c = 0; c <= 16; ++c) ligne[c] = t[c];
  for (size_t c = 3; c <= 6; ++c) ligne[c] = t[c + 15];
  ligne[17] = t[22];
  ligne[18] = t[17];
}

std::vector<std::string> TextesImpression(survey::TValeurVisee& v) {
  std::vector<std::string> c;
  v.AffecteChaineImpression(c);
  return c;
}

}  // namespace app
