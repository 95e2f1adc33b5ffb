// The text-table reader on arbitrary bytes: the encoding and the refusal of
// what is not text, the header and the rows with the dialog's state (a
// heading clicked, an entry chosen, the cells checked and cleaned), then the
// whole import pipeline into a fresh network, headless (fuzz/import_fuzz.h).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/import/import_autres.h"
#include "formats/import/texte/import_tab_txt.h"
#include "foundation/utilitaires.h"
#include "fuzz/import_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 1 << 20) return 0;
  std::string texte;
  formats::TexteTableau(std::string_view(reinterpret_cast<const char*>(data), size), texte);
  std::vector<std::string> lignes = foundation::DecoupeLignes(texte);
  formats::TEnTeteTab entete;
  if (formats::LitEnTeteTab(lignes, entete)) {
    formats::TVisuImportTab visu;
    visu.Init(entete, lignes);
    const int colonne = size ? data[0] % (visu.NombreColonnes + 1) : 0;
    visu.CliqueEnTete(colonne);
    visu.ChoisitTitre(size > 1 ? data[1] % 16 : 0);
    for (int l = 0; l < static_cast<int>(visu.Lignes.size()) && l < 64; ++l)
      for (int c = 0; c < visu.NombreColonnes; ++c) visu.CelluleRouge(l, c);
    visu.Ferme(size > 2 && (data[2] & 1));
  }
  fuzz::ImporteOctets("tabtxt", data, size, ".txt", formats::TypeImportTableTexte);
  return 0;
}
