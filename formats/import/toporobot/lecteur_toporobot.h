#pragma once
// The TopoRobot ".tab" reader, also for GHTopo's ".tab" and ".xtb" files of
// the same layout: tab-separated lines whose first field is a code (-6 cave,
// -5 entrance, -2 survey session, -1 instrument code, a series number for
// the series' header, name and points).  Unlike the other readers it stages
// nothing in the common model: it keeps the file's sessions, codes and series
// and builds the chosen cave's trips, stations and shots itself, each
// station named "<series>-<point>".
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "formats/import/import_sauf_tprb.h"

namespace formats {

// One line of the file: its code, the second field, and for a point line the
// third and fourth fields; Texte is the rest of the line.
struct LigneTopoRobot {
  int32_t Code = 0;
  int32_t Second = 0;
  int32_t Troisieme = 0;
  int32_t Quatrieme = 0;
  std::string Texte;
};

// Reads a line; false when it is empty or one of its code fields is not an
// integer.
bool LitLigneTopoRobot(std::string_view ligne, LigneTopoRobot& l);

// Seven reals taken from successive TAB-separated fields (a field that is
// not a number reads as 0) and the text after them: the one field that
// follows the seventh number (the trailing columns GHTopo writes after it
// are not part of it).
struct ValeursTopoRobot {
  double V[7] = {0, 0, 0, 0, 0, 0, 0};
  std::string Texte;
};
ValeursTopoRobot LitValeursTopoRobot(std::string_view texte);

// The year of a session as written: 100 and above as it stands, below 50 in
// the 2000s, 50 to 99 in the 1900s.
int32_t AnneeTopoRobot(int32_t annee);

// The cave choice ("Choix de la cavité TopoRobot à importer"): a check list
// of the file's caves where checking one unchecks every other.  The window
// is installed through FenetresImport(); without one, the cave of rank
// Import().CaviteTopoRobot is chosen.
class TTpRbChoixCavDlg {
 public:
  std::vector<std::string> Cavites;
  std::vector<bool> Cochees;

  void Init(const std::vector<std::string>& cavites);
  void ListeCavBoxClickCheck(int i, bool cochee);
  // The checked cave, -1 when none.
  int Choisie() const;
  // The window (or the choice without one); true for OK.
  bool Execute();
};

class tImportTopoRobot : public tImportAutres {
 public:
  explicit tImportTopoRobot(survey::TReseau* reseau = nullptr) : tImportAutres(reseau) {}

  // An entrance of the file (-5 line, or the coordinates of a GHTopo -6 line).
  struct EntreeTpRb {
    double X = 0, Y = 0, Z = 0;
    double Serie = 0, Point = 0;
    std::string Commentaire;
    size_t Ligne = 0;                   // its line in the file (from 1); 0 for a -6 line without coordinates
    std::array<std::string, 3> Textes;  // X, Y and Z as the line writes them
  };

  // A staged point of a series (not the common staging class).
  struct TViseeImport {
    int32_t NSerie = 0, NumPoint = 0;
    double Az = 0, P = 0, L = 0;
    double DimG = 0, DimD = 0, DimH = 0, DimB = 0;
    std::string ImpComment;
    int32_t NumDateLever = 0;  // the session's number as written on the point line
    int32_t NumTypeLever = 0;  // the instrument code's number
    bool SansMesure = false;   // a join to another series' station
    size_t Ligne = 0;          // the point's line in the file (from 1)
    survey::TVisee* ViseeTmp = nullptr;
  };

  // A series: a run of lines of one series number.  A header line (-1) in a
  // series that already has its header, or a name line (-2) in one that
  // already has its header and points, starts another series of the same
  // number; point lines of a number met before, coming back after another
  // series, go on with that number's last series.
  struct TSerie {
    std::string DesignGal;
    int32_t Numserie = 0;
    int32_t SerieDeb = 0, PointDeb = 0, SerieFin = 0, PointFin = 0;
    std::vector<TViseeImport> ListeVisImport;
    bool Entete = false;  // its header line was read
  };

  // A series number given again: the line where the number first appears
  // and the line where it comes back.
  struct SerieRepetee {
    int32_t Numero = 0;
    int64_t Premiere = 0, Reprise = 0;
  };

  struct TSessionLeverImport {
    int32_t DLj = 0, DLm = 0, DLa = 0;
    std::string Noms[2];
    double Decli = 0;
  };

  struct TTypeLeverImport {
    uint8_t UnitAZ = 0, UnitP = 0;
    bool Denivel = false, Nadir = false, Zenith = false;
    double EtalL = 1.0;
    bool InvAz = false, InvP = false;
  };

  int iCav = 0;
  std::vector<EntreeTpRb> EntreesTpRb;    // the -5 lines
  std::vector<EntreeTpRb> EntreesCavites;  // the coordinates of GHTopo -6 lines
  std::vector<bool> CaviteAEntree;         // rank -> its -6 line gave coordinates
  std::vector<std::string> CavitesTpRb;    // the -6 names
  std::vector<TSerie> Series;
  std::vector<TSessionLeverImport> Sessions;
  std::vector<TTypeLeverImport> Codes;
  // The numbers written on the -2 and -1 lines (GHTopo ".xtb" files refer
  // to them); a ".tab" file refers to their ranks from 1.
  std::vector<int32_t> NumerosSessions, NumerosCodes;
  std::vector<SerieRepetee> SeriesRepetees;
  bool UneSeuleCavite = false;
  std::string NomEntree;
  TTpRbChoixCavDlg ChoixCavDlg;

  bool TraiteLignes() override;
  bool TransfereTopo() override;
  std::string NomDeLaGalerie(survey::TVisee* visee) override;
  void CreeEntreesMultiples() override;

  // Reads the loaded lines into the sessions, codes, caves and series, then
  // checks their readings (VerifieLectures).
  bool LitLignes();
  // Series numbers given more than once: the user is told where and chooses
  // to go on (true) or to stop the import (false).  True when there is none.
  bool ConfirmeSeriesRepetees();
  // The points' readings against the rule of plausibilite.h, each with the
  // slope convention of its instrument code, and the entrances' coordinates
  // (PointImpossible): the first line (in the file) with a reading no
  // instrument gives fails the import with its message ("<fichier>, ligne
  // <n> : <champ> impossible (<texte>).").
  bool VerifieLectures();

 private:
  bool EstXtb() const;
  survey::TPointSpeleo* Station(int64_t serie, int64_t point, bool cree);
  survey::TLever* Lever(int32_t session, int32_t code);
  // Fails the import with a message naming the series and point.
  bool EchecPoint(const TViseeImport& vi, bool session, int32_t numero);
  bool EchecMessage(const std::string& message);

  std::unordered_map<std::string, survey::TPointSpeleo*> stations_;
  std::map<std::pair<int32_t, int32_t>, survey::TLever*> levers_;
  std::unordered_map<const survey::TVisee*, size_t> serieDeVisee_;
  std::unordered_map<int32_t, size_t> indexSessions_, indexCodes_;
};

}  // namespace formats
