#pragma once
// The import of other programs' survey files.  The dispatcher creates the
// reader of a file type; the reader's pipeline reads the file, builds one new
// cave from it, lets the user choose the galleries, places the entrance on a
// surface point and adds the cave to the network.  A failed import leaves the
// network's caves, surface points, system, operators and instruments as they
// were.
//
// Every reader but TopoRobot's first fills a staging model (staged trips
// TLeverImport, staged shots TViseeImport); one common transfer then builds
// the trips, stations, shots and splays.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/dates.h"
#include "survey/cavite.h"
#include "survey/liste_points.h"

namespace survey {
class TReseau;
}

namespace formats {

class TNommeGalDlg;

// File types of the dispatcher (the Open dialog's filter index or the import
// menu's code).
inline constexpr int TypeImportTopoRobot = 2;
inline constexpr int TypeImportVTopo = 3;
inline constexpr int TypeImportTableTexte = 4;
inline constexpr int TypeImportPocketTopo = 5;
inline constexpr int TypeImportAuriga = 6;
inline constexpr int TypeImportTopoDroid = 7;

// The process-wide state of an import, kept between the two passes of one
// import.
struct ContexteImport {
  // System and zone of the surface points of the file, set by the reader.
  std::string ProjectionImport;
  int32_t FuseauImport = -1;
  // The pass just ended because the user moved the origin.
  bool RelanceImport = false;
  // The second pass hangs the survey from the chosen origin.
  bool OrigineImportChoisie = false;
  std::string NomOrigineImport;
  double XOrigineImport = 0, YOrigineImport = 0, ZOrigineImport = 0;
  bool SecondPassageImport = false;
  // The gallery dialog was closed by the origin window.
  bool ChangeOrigineDemandee = false;
  // Folder of the gallery memory file; empty: the current folder.
  std::string DossierMemoireGaleries;
  // The setting "CalculDecliAuto", handed over by the application: the trips
  // a reader builds compute their declination.
  bool CalculDecliAuto = true;
  // The TopoRobot cave chosen when no window asks (rank from 0).
  int CaviteTopoRobot = 0;
  // Why the last import stopped, when no message of the import said it:
  // the window adds it to "L'importation a été abandonnée".  Empty when the
  // reason was shown or the user cancelled.
  std::string RaisonAbandon;
  // The import ended by the user's choice, not by an error (OK with no
  // cave chosen): its message, when it has one, is said, and the window
  // adds no error of its own.
  bool AbandonChoisi = false;
};

ContexteImport& Import();

// Sets the import state aside and puts it back, also on an exception.
class GardeImport {
 public:
  GardeImport() : sauve_(Import()) {}
  ~GardeImport() { Import() = sauve_; }
  GardeImport(const GardeImport&) = delete;
  GardeImport& operator=(const GardeImport&) = delete;

 private:
  ContexteImport sauve_;
};

// A staged survey trip.
class TLeverImport {
 public:
  std::vector<std::string> TeamList;   // operator names
  foundation::TDateTime DateLev = 0;   // 0: no date
  bool Topofil = false;                // lengths read on a thread counter
  double CoefTopf = 0;                 // thread-counter calibration in hundredths
  std::string InstrAz, InstrP, InstrL;
  uint8_t UnitAZ = 0;      // 0-2 degrees, 3 and above grades
  uint8_t UnitP = 0;       // 0-2 degrees, 3 grades, 4 percent
  double Decli = 0;
  int8_t OrigPentes = 0;   // slope zero, as ZeroPente
  uint8_t TypeMesurePente = 0;  // input type of the block's shots
  uint8_t UnitDecli = 0;   // as UniteDeclin
  bool InvAz = false, InvP = false;
  bool InvDim = false;     // left and right widths given in the other order
  bool DimDepart = false;  // dimensions measured at the start station
  std::string Comment;
  survey::TLever* UnLever = nullptr;  // the trip built from it (not owned)
  bool AutoDecli = false;
};

// A staged shot.  A splay has an empty target name.
class TViseeImport {
 public:
  int32_t NumAvant = -1;
  std::string DesignStat, DesignVis;
  bool Inverse = false;           // the reader swapped start and target
  double TopoDeb = 0, TopoFin = 0;
  uint8_t TypePente = 0;          // input type, as Typesaisie
  double Az = 0, P = 0, L = 0;    // P: slope, or height difference for input type 2
  double lh = 0, dh = 0;
  double Prof = 0;
  double DimG = 0, DimD = 0, DimH = 0, DimB = 0;
  std::string oldComment;
  TLeverImport* LeverTmp = nullptr;
  bool VIExclue = false;
  bool ViHabi = false;
  survey::TVisee* ViseeRef = nullptr;
  int8_t SensCoupe = 1;
  survey::TVisee* ViseeCor = nullptr;
  survey::TViseeHabi* ViseehabCor = nullptr;
  survey::TPointSpeleo* PtOrig = nullptr;
  survey::TPointSpeleo* PtExtrem = nullptr;
  double SlhOrig = 0, SlhExtrem = 0, ZOrig = 0, ZExtrem = 0, LhVisee = 0;
  bool CoupeInversee = false;
};

// The base of every reader.
class tImportAutres {
 public:
  // The import goes into the network given, or into ReseauCourant.
  explicit tImportAutres(survey::TReseau* reseau = nullptr);
  virtual ~tImportAutres();
  tImportAutres(const tImportAutres&) = delete;
  tImportAutres& operator=(const tImportAutres&) = delete;

  std::unique_ptr<TNommeGalDlg> NommeGalDlg;
  std::unique_ptr<survey::TCavite> ACavite;  // the cave being built
  std::vector<std::string> LignesFichier;
  std::string DesignFich;  // file name without folder, cut before its first '.'
  std::string NomFichierImport;  // file name without folder, for messages
  bool Abandon = false;    // the user cancelled a reader dialog
  bool Illisible = false;  // a reader found the file unreadable
  int TypeAppli = 0;
  std::string NomSource;
  survey::TPointSpeleo* PtEntreeSurf = nullptr;
  survey::TListedePoints PointsSurfImport{true};  // staged surface points
  bool EstTherion = false;
  bool EstPartiel = false;
  std::string DesignEntreeImport;
  bool EstMaj = false;
  // The cave's name as the first pass read it from the file's header, given
  // again to the cave the second pass rebuilds from the staged records.
  std::string NomCaviteRelance;
  survey::TReseau* Reseau;

  // The pipeline; true when the cave was added to the network.  On failure,
  // and when a programming error goes through it, the network is as it was.
  virtual bool ImporterFichier(const std::string& chemin);
  // Why the file is unreadable, added to the pipeline's message; empty when
  // the reader gives no reason.
  std::string Raison;
  // A reader that finds its file unreadable returns this (false), with the
  // reason when it knows one; the pipeline then shows its one message.
  bool FichierIllisible(const std::string& raison = {}) {
    Illisible = true;
    if (!raison.empty() && Raison.empty()) Raison = raison;
    return false;
  }
  // The reading of a text file's bytes: by default its lines as
  // LignesTexteImport makes them, then TraiteLignes.
  virtual bool LitTexte(std::string octets);
  // The reading of the loaded lines.
  virtual bool TraiteLignes() { return false; }
  // The proposed name of the gallery opened by a shot.
  virtual std::string NomDeLaGalerie(survey::TVisee* /*visee*/) { return {}; }
  virtual bool LisFichierTop(const std::string& /*chemin*/) { return false; }
  virtual void CreeEntreesMultiples() {}
  virtual bool ChargeDessinAuriga(const std::string& /*nom*/) { return false; }
  // The TopoDroid or Qave sketches of a type-7 import; none by default.
  virtual bool ImporteCroquisSVG(const std::string& /*chemin*/) { return true; }
  virtual bool TransfereTopo() = 0;

  // The station of that name in the list (the last one of the name); when
  // there is none a new station of that name is appended and returned.
  survey::TPointSpeleo* CherchePointVisee(const std::string& nom, survey::TListedePoints& liste);
  // Appends a staged surface point; the comment is its one comment line.
  survey::TPointSpeleo* AjoutePointSurf(const std::string& nom, const std::string& commentaire, double x, double y,
                                        double z);
  // Places the entrance.
  void CreeEntree();
  // Reads the file (text lines or a binary file) and processes it; the
  // message of the pipeline when it cannot.
  bool LitFichierImport(const std::string& chemin, bool binaire);

  // Shots that could not be reached from the entrance and were left out with
  // the user's agreement (filled by the branch walk).
  int ViseesNonRattachees = 0;

 protected:
  // Starts a new cave (each pass).
  void NouvelleCavite();

 private:
  survey::TListedePoints* listeIndexee_ = nullptr;
  std::unordered_map<std::string, survey::TPointSpeleo*> indexPoints_;
};

// The cave being built in the network's cave list for a while (a
// computation, the origin window): taken out again, unfreed, on every exit;
// with active, it is the network's active cave meanwhile and the active
// cave before it comes back.
class GardeCaviteImportDansReseau {
 public:
  GardeCaviteImportDansReseau(tImportAutres& lecteur, bool active);
  ~GardeCaviteImportDansReseau();
  GardeCaviteImportDansReseau(const GardeCaviteImportDansReseau&) = delete;
  GardeCaviteImportDansReseau& operator=(const GardeCaviteImportDansReseau&) = delete;

  survey::TCavite& Cavite() const { return *cavite_; }

 private:
  tImportAutres& lecteur_;
  survey::TCavite* cavite_;
  survey::TCavite* active_;
  bool rendActive_;
};

// The base of the readers that stage their data.
class TImportSaufTPRB : public tImportAutres {
 public:
  explicit TImportSaufTPRB(survey::TReseau* reseau = nullptr) : tImportAutres(reseau) {}

  survey::TCavite* CaviteExistante = nullptr;
  std::vector<std::unique_ptr<TViseeImport>> ViseesImportes;
  std::vector<std::unique_ptr<TLeverImport>> LeversImportes;
  bool EstNoTop = false;
  bool aTopoFilImport = false;
  // The repeated readings of a shot must agree (PocketTopo's legs): the
  // transfer keeps their consistent majority (plausibilite.h).
  bool ExigeLecturesCoherentes = false;

  // "Galerie d'entrée" for branch 0, "Galerie n° " and the branch otherwise.
  std::string NomDeLaGalerie(survey::TVisee* visee) override;
  // TransfereLevers, then TransferePointsSpel.
  bool TransfereTopo() override;
  virtual void CompleteViseeTro(const std::string& /*station*/, const std::string& /*vise*/,
                                survey::TVisee* /*visee*/) {}
  // Stations, shots and splays from the staged shots.
  virtual bool TransferePointsSpel();
  // The survey trips; always true.
  bool TransfereLevers();

  // Staged items; std::out_of_range for an item that does not exist.
  TViseeImport* UneViseeImporte(int i) const { return ViseesImportes.at(static_cast<size_t>(i)).get(); }
  TLeverImport* UnLeverImporte(int i) const { return LeversImportes.at(static_cast<size_t>(i)).get(); }
  TLeverImport* DerLeverImporte() const;
  TViseeImport* AjouteViseeImport();
  TLeverImport* AjouteLeverImport();

  // Shots marked "Anomalie de pente !!! " by the last transfer.
  int NombreAnomaliesPente = 0;

  // The update of an existing cave from the imported one (maj_cavite.cpp):
  // pairs the shots of the two caves and keeps in the imported cave only the
  // new shots that follow an existing one, hooked on the existing station;
  // false (nothing deleted) when no new shot follows an existing one.
  bool SelectModifs(survey::TCavite* existante);
  // Moves what is left of the imported cave (galleries, shots, trips,
  // sketches) into the existing cave.
  void ImportPartieDeCavite();
  bool MarqueViseesNouvelles();
  // The imported cave: the one being built, else the one the import added.
  survey::TCavite* CaviteImport() const;

 protected:
  // A staged shot's values into a built shot or splay.
  void CopieViseeImport(TViseeImport& vi, survey::TValeurVisee& v);

 private:
  void CreeViseesHabiImport();
};

// Imports one file into the network (ReseauCourant when none is given) with
// the reader of the type code; true when the new cave was added.  A code
// without reader imports nothing.
bool ImporteFichierAutre(const std::string& chemin, int type, bool partiel, survey::TReseau* reseau = nullptr);

// The reader of a type code for that path; none for a code without reader.
std::unique_ptr<tImportAutres> CreeLecteurImport(const std::string& chemin, int type, survey::TReseau* reseau);
// A reader exists for the type code (the formats not built yet have none).
bool LecteurImportDisponible(int type);
// The type code a file's extension names (letters compared without regard to
// case): ".tab" and ".xtb" TopoRobot, ".tro" VTopo, ".txt" text table, ".top"
// PocketTopo, ".th" TopoDroid or Qave export; 0 for any other extension.
int TypeImportSelonExtension(const std::string& chemin);

// The lines of a text file's bytes: NUL bytes read as blanks (the file itself
// is never written), Windows-1252 decoded, split at CR LF, LF or a lone CR.
std::vector<std::string> LignesTexteImport(std::string octets);

}  // namespace formats
