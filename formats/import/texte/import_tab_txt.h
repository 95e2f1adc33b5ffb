#pragma once
// The import of a survey typed as a table in a text file (".txt"): optional
// header lines (cave name, entrance and its coordinates, date, declination),
// then one line per shot, cells separated by TAB.  The user gives each column
// its meaning in the preview dialog (TVisuImportTab, shown through
// FenetresImport(); without a window the proposal is accepted), checks the
// header fields and the units, and the table becomes one staged survey trip
// and its staged shots.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/import/import_sauf_tprb.h"
#include "foundation/dates.h"

namespace formats {

// The column titles, by rank.
enum TitreTab : int {
  TabPtStat,
  TabPtVis,
  TabAz,
  TabP,
  TabL,
  TabLh,
  TabdH,
  TabLg,
  TabLd,
  TabHsup,
  TabHinf,
  TabComment,
  TabProf,
  NombreTitresTab
};

// A row keeps at most this many cells; the others are ignored.
inline constexpr int MaxCellulesTab = 22;

// The title of a rank ("Pt Stat", "Pt Vis", "Az", "P", "L", "Lh", "dH", "Lg",
// "Ld", "Hsup", "Hinf", "Comment", "Prof").
std::string TitreColonneTab(int rang);
// Whether the column of that title holds numbers.
bool TitreNumerique(int rang);

// Every "," replaced by ".", blanks removed, read as a number; a text that is
// not a number gives 0 and false.
bool LitNombreTab(const std::string& texte, double& valeur);

// The text of a table file.  A UTF-8 or UTF-16 byte-order mark selects its
// encoding; without one, valid UTF-8 holding a byte above 127 reads as UTF-8
// and any other file as Windows-1252.  False (and no text) when the bytes are
// not text: a NUL byte, or a control character other than TAB, the line
// breaks (LF, VT, FF, CR) and the end-of-file mark of DOS (0x1A).
bool TexteTableau(std::string_view octets, std::string& texte);

// A row of the table: its line and up to MaxCellulesTab trimmed cells.
struct tLigneImport {
  std::string Ligne;
  size_t NumeroLigne = 0;  // its rank (from 1) among the lines the table was made of
  std::vector<std::string> Cellules;
  // The cell at that position, empty outside the row.
  const std::string& Cellule(int i) const;
};

// The header texts of a file.
struct TEnTeteTab {
  std::string NomCavite, NomEntree, Coord1, Coord2, Coord3, Date, Declinaison;
  bool EntreeLue = false;
  size_t LigneEntree = 0;  // the entrance's line (from 1), 0 when there is none
};

// Reads the header lines and deletes them (with the line that ends the header
// when that line is a "visées" line or has an empty first cell); false when
// nothing is left after the header.
bool LitEnTeteTab(std::vector<std::string>& lignes, TEnTeteTab& entete);

// The preview dialog's state: the rows, the column titles, the header fields
// and the units.
class TVisuImportTab {
 public:
  enum class TypeCoordEntree { Independantes, Projection, WGS84 };

  // Fills the state from the header and the lines left after it.
  void Init(const TEnTeteTab& entete, const std::vector<std::string>& lignes);

  // --- The table --------------------------------------------------------------------
  std::vector<tLigneImport> Lignes;
  int NombreColonnes = 1;
  // The title rank of each column, -1 when untitled.
  std::vector<int> Titres;
  // The heading of the column was clicked: the list of titles (EnTeteBox)
  // is refilled without the titles of the columns before it, the column and
  // those after it are titled from its first entry.
  void CliqueEnTete(int colonne);
  // An entry of the list chosen: the active column and those after it are
  // titled from that entry on.
  void ChoisitTitre(int entree);
  std::string TitreColonne(int colonne) const;
  // The entries of the list (title ranks) and the column being titled.
  std::vector<int> ListeTitres;
  int ColonneActive = -1;
  // A cell of a numeric column that does not read, or an azimuth or a slope
  // beyond its unit's range.
  bool CelluleRouge(int ligne, int colonne) const;

  // --- The header fields (the edits' texts) -------------------------------------------
  std::string DesignFich;
  std::string NomCav, NomEntree, TexteX, TexteY, TexteZ, TexteDecli;
  double Latitude = 0, Longitude = 0;  // degrees, for "WGS 84"
  // The date edit's text changed: true (and DateLev set) when it reads as a
  // date, false (the date unchanged) otherwise.
  bool ChangeDate(const std::string& texte);
  std::string TexteDate;
  bool DateValide = false;
  foundation::TDateTime DateLev = 0;
  // An edit's text is shown red: not a number.
  static bool NombreRouge(const std::string& texte);

  // 0 "Degrés", 1 "Grades".
  int UnitDecli = 0, UnitAz = 0, UnitP = 0;
  TypeCoordEntree TypeCoord = TypeCoordEntree::Independantes;
  std::string Projection;  // the frame's system for "projection"
  int32_t Fuseau = 0;

  // --- Closing ----------------------------------------------------------------------
  // Every close: the column map, the entrance (its coordinates unless the
  // import is partial), the trip's declination and units, and the cleaning
  // of the numeric cells.
  void Ferme(bool partiel);
  // Ferme after the window (or, without one, OK); true for OK.
  bool Execute(bool partiel);

  // Results of the close.
  std::array<int, NombreTitresTab> Colonne{};
  double X = 0, Y = 0, Z = 0;
  std::string ProjectionImport;
  int32_t FuseauImport = -1;
  double Decli = 0;

 private:
  void AppliqueTitres(int entree);
};

class tImportTabTxt : public TImportSaufTPRB {
 public:
  explicit tImportTabTxt(survey::TReseau* reseau = nullptr) : TImportSaufTPRB(reseau) {}

  // The file's text (TexteTableau), cut into lines; a file that is not text
  // is refused with its reason.
  bool LitTexte(std::string octets) override;
  // Header, dialog, staging, transfer.
  bool TraiteLignes() override;
  // Reads and deletes the header lines (counted in LignesEnTete); false when
  // nothing is left.
  bool LitEnTete();
  // One staged shot per row; false, its message shown, at the first row with
  // a reading no instrument gives (plausibilite.h).
  bool CreeViseesImport();
  // The entrance the dialog closed with: false, its message shown, when no
  // grid holds its X, Y or Z (PointImpossible), or, in "WGS 84", its latitude,
  // longitude or altitude is out of range (PositionImpossible).  A value the
  // file gives is named by its line and its text, one typed in the dialog by
  // the entrance.
  bool EntreePossible();

  TEnTeteTab EnTete;
  size_t LignesEnTete = 0;  // the header lines deleted, for the rows' line numbers
  TVisuImportTab Visu;
  TLeverImport* LeverTab = nullptr;
};

}  // namespace formats
