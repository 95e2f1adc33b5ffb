#pragma once
// The text lines of the coordinate-system catalogue.  A line is a key, "=",
// then a definition split into tokens; the bytes on the stream are
// Windows-1252 and the texts returned are UTF-8.
#include <string>
#include <string_view>
#include <vector>

#include "foundation/flux.h"

namespace projections {

// Every character up to the first "=" (consumed), trailing blanks and tabs
// removed; the whole rest when there is no "=".  Line ends before the "=" are
// part of the key.
std::string LitCle(foundation::TFlux& flux);
// The rest of the line up to CR or LF; the run of CR and LF that follows is
// skipped.
std::string LitLigne(foundation::TFlux& flux);
// The tokens of a definition: runs of characters between blanks or tabs, or the
// text between two double quotes.  A quote never closed gives an empty token and
// the words after it are read as plain tokens.
std::vector<std::string> DecoupeChamps(std::string_view texte);

// A real in general format with that many significant digits, "." as the
// decimal point, trailing zeros dropped.
std::string ReelGeneral(double x, int chiffres);
// Appends a blank and the field.
void AjouteChamp(std::string& ligne, std::string_view champ);
// The text between double quotes.
std::string EntreGuillemets(std::string_view texte);
// Writes the UTF-8 text followed by CR LF as Windows-1252 bytes.
void EcritLigneCatalogue(foundation::TFlux& flux, std::string_view ligne);

}  // namespace projections
