#pragma once
// Maintenance of the document-wide operator and instrument lists: the kinds
// of the instruments settled from their use by the trips, the instrument
// file (".Instr") written and merged back, the operator list file written
// and read, and the renaming and merging of operators.  The windows that
// drive these are in app/ (gestion_listes_dlg.h).
#include <string>
#include <string_view>
#include <vector>

#include "survey/instrument.h"
#include "survey/operateur.h"

namespace survey {

class TLever;
class TReseau;

// --- Instrument kinds --------------------------------------------------------------
// Each instrument's kind from its use by the trips, in list order, azimuth,
// length and slope instrument in that order: an instrument of kind tiAucun
// takes the kind of its use; one already used for another kind becomes
// tiIndet.
void EtablitTypesInstruments(const std::vector<TLever*>& levers);
// Every tiIndet instrument goes back to tiAucun.
void AnnuleTypesIndetermines(TListeInstruments& liste);

// --- Instrument file ----------------------------------------------------------------
// The document's path with its extension replaced by ".Instr".
std::string CheminFichierInstruments(const std::string& cheminDocument);
// Writes the list (count, then the records) through a temporary file.
bool EcritFichierInstruments(const std::string& chemin, TListeInstruments& liste);
// Reads a whole instrument file into a list of its own; false (nothing
// changed) when the file cannot be read completely.  Then appends each read
// instrument unless the document already holds one of the same name (trimmed,
// upper-cased) equal in kind, units, the four coefficients, TiGenre and
// RefPente.  ajoutes receives the number appended.
bool ImporteFichierInstruments(const std::string& chemin, TListeInstruments& liste, int* ajoutes = nullptr);

// --- Operator list file -------------------------------------------------------------
// The distinct names, sorted (UTF-16 code-unit order, as the operator list
// sorts).
std::vector<std::string> NomsDistinctsTries(std::vector<std::string> noms);
// Those of the operators.
std::vector<std::string> NomsOperateursTries(const TListeOperateurs& liste);
// One name per line ended by CR LF, Windows-1252, through a temporary file.
bool EcritFichierOperateurs(const std::string& chemin, const std::vector<std::string>& noms);
// The lines of a text file: a byte-order mark selects UTF-8 or UTF-16 (either
// byte order), otherwise Windows-1252.  An empty file has no line; a final
// line break ends the last line.
std::vector<std::string> LignesFichierTexte(std::string_view octets);
// Appends an operator, named by the trimmed line, for each line whose name
// (trimmed, upper-cased) no operator has yet.  Returns the number appended.
int AjouteOperateurs(const std::vector<std::string>& lignes, TListeOperateurs& liste);

// --- Operator renaming and merging ---------------------------------------------------
// Each operator of the list takes the name at its position in noms (same
// length as the list).  Operators left with equal names are merged into the
// first of them: every reference held by a trip of the network or by a
// continuation observation of one of its stations is redirected to it, then
// the others are deleted.  Returns the number of operators deleted.
int RenommeOperateurs(TReseau& reseau, const std::vector<std::string>& noms);

}  // namespace survey
