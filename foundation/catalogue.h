#pragma once
// The program's catalogue of French texts: every message, prompt, title, column
// head, report line and default name the user sees is an entry, looked up by its
// identifier.  An entry may hold "%%%%" marks that RemplaceMarques fills.
//
// Entries are declared in the .def files of foundation/catalogue/, one file per
// folder of the program, as  MESSAGE(Identifier, "texte").
#include <array>
#include <string>
#include <vector>

namespace foundation {

enum class IdMsg : int {
#define MESSAGE(id, texte) id,
#include "foundation/catalogue/tous.def"
#undef MESSAGE
  NombreDeMessages
};

// The text of an entry.
const std::string& Msg(IdMsg id);

// A string list with one more operation.
class TMesStringList : public std::vector<std::string> {
 public:
  using std::vector<std::string>::vector;
  // Every line trimmed, each appended after one blank, the whole trimmed.
  std::string Texte() const;
};

// A noun for a gendered message: the words that fill the marks, and the form
// (0 masculine, 1 feminine).
struct TStringMF {
  std::vector<std::string> Mots;
  unsigned char MF = 0;
};

// The gendered message pairs.
enum class PaireGenre { ElementAffiche, Creer, Selectionnes, CreerAPartirDe, Remplacer };

// Replaces the marks "%%%%" in order by the values; marks left over stay,
// values left over are ignored.
std::string RemplaceMarques(const std::string& message, const std::vector<std::string>& valeurs);
// The masculine or feminine form of the pair, filled with the noun's words.
std::string MessageGenre(PaireGenre paire, const TStringMF& mots);

// The two word tables, indexed by the kind of pattern-library entry (texture,
// line style, fill, symbol, north arrow, surface symbol, font).
const std::array<TStringMF, 7>& MotsSinguliers();
const std::array<TStringMF, 7>& MotsPluriels();

}  // namespace foundation
