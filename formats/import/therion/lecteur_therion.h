#pragma once
// The Therion ".th" centreline reader, for the files that TopoDroid, Qave and
// Auriga write: a header naming the cave and its coordinate system, then
// "centerline" blocks whose "data" command gives the columns of the shot
// lines.  It stages one trip for the whole file, one shot per shot line and a
// surface point per "fix" command, and hands over to the common transfer.
#include <array>
#include <set>
#include <string>
#include <vector>

#include "formats/import/vtopo/lecteur_vtopo.h"

namespace formats {

// A line is a comment: trimmed, it begins with "#".
bool EstCommentaireTh(const std::string& ligne);
// A line is the command of that lower-case word: trimmed and lower-cased, it
// begins with the word, or with "#", "# " or "-" and the word, and the word
// is followed by a blank or the end of the line (a word ending with a blank
// only needs to begin the line).
bool EstCommandeTh(const std::string& ligne, const std::string& mot);
// The line's text re-read as UTF-8 (back into Windows-1252 bytes, then
// decoded as UTF-8); the line as it stands when those bytes are not UTF-8.
std::string RelitUtf8(const std::string& ligne);

class tImportTherion : public tImportVTopo {
 public:
  explicit tImportTherion(survey::TReseau* reseau = nullptr) : tImportVTopo(reseau) {}

  // Keeps the path, for the Auriga sketch beside the file.
  bool ImporterFichier(const std::string& chemin) override;
  // Reads the header up to the first centreline command; true when one was
  // found before the last line.
  bool LitEnTete() override;
  // Reads every centreline block; false (unreadable) when a "units" command
  // names a unit the reader cannot convert or a "long-lat" point has no UTM
  // position.  A shot line whose data command lacks one of from, to, length,
  // compass and clino, or whose readings a "calibrate" command changes, stops
  // the import with a message naming the line; so does a shot line with a
  // reading, or a "fix" command with a position, no instrument gives
  // (plausibilite.h).  A dated survey of a file
  // whose fixed points have a coordinate system, and that no "declination"
  // command gives a value, has its declination computed by the trip.
  bool CreeViseesImport() override;
  // The Auriga sketch ".txt" beside the ".th": true when there is none; a
  // present one is not read yet (true).
  bool ChargeDessinAuriga(const std::string& nom) override;
  // The TopoDroid or Qave SVG sketches beside the file; none is read yet.
  bool ImporteCroquisSVG(const std::string& chemin) override;

  // "" (none), "WGS84" or "UTM": the coordinate system of the file.
  std::string ProjReseauTh;
  // The UTM zone's digits as written in the file.
  std::string FStrTh;
  // The path of the file being imported.
  std::string CheminTh;
  // The files the "input" commands name, as written: the reader does not
  // read them.
  std::vector<std::string> FichiersInclus;

 private:
  // The text of a command's argument; creates the trip when there is none.
  std::string ArgumentCommandeTh(const std::string& ligne, const std::string& mot);
  // One centreline block from line n; n then follows it.  False when the
  // file is unreadable.
  bool LitBloc(size_t& n);
  void LitDate(const std::string& arg);
  bool LitUnites(const std::string& arg);
  void LitDeclinaison(const std::string& arg);
  void LitSystemeCoordonnees(const std::string& arg);
  // A "fix" command (its line in the file): a staged surface point, in UTM
  // for a "long-lat" system.  False when the file is unreadable: a position
  // no instrument gives (PointImpossible, or PositionImpossible in
  // "long-lat"), its message said, or a point without a UTM position.
  bool LitPointFixe(const std::string& ligne, size_t numeroLigne);
  void LitColonnes(const std::string& arg, size_t numeroLigne);
  void LitEtalonnage(const std::string& texte, size_t numeroLigne);
  // False, with the message said, when the columns or the calibrations in
  // force would read the block's shot lines wrong.
  bool LignesDeViseesLisibles();
  // Says the message and stops the import (false).
  bool Refuse(const std::string& message);
  // The reason an import that found nothing gives: the files included by
  // "input"; empty when there are none.
  std::string RaisonFichiersInclus() const;
  // One shot line (its number in the file); false, the message shown, when
  // a reading is one no instrument gives.
  bool LitVisee(const std::string& ligne, size_t numeroLigne);

  TLeverImport* lever_ = nullptr;
  std::string commentaire_;
  int8_t extension_ = 1;
  bool donneesVues_ = false;
  std::set<std::string> stations_;
  // Columns (1-based, 0: none) of from, to, length, compass, clino, left,
  // right, up, down.
  int colDe_ = 0, colA_ = 0, colL_ = 0, colAz_ = 0, colP_ = 0, colG_ = 0, colD_ = 0, colH_ = 0, colB_ = 0;
  // Factors of lengths and dimensions to metres, of angles to the trip's unit.
  double facteurL_ = 1, facteurDim_ = 1, facteurAz_ = 1, facteurP_ = 1;
  // The style of the data command in force when it lacks a column the
  // reader needs, and that command's line (1-based); empty when the columns
  // are read.
  std::string styleRefuse_;
  size_t ligneDonnees_ = 0;
  // The calibrations of the block that change a reading, for length,
  // compass, clino, left, right, up and down: the command's line (0: none)
  // and its text.
  struct Etalonnage {
    size_t ligne = 0;
    std::string texte;
  };
  std::array<Etalonnage, 7> etalonnages_;
  // A "declination" command gave the survey its value.
  bool declinaisonDonnee_ = false;
};

}  // namespace formats
