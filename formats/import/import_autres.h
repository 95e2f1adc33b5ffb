#pragma once
// The base of the readers of other programs' survey files and its pipeline:
// the reader reads the file, builds one new cave from it, lets the user
// choose the galleries, places the entrance on a surface point and adds the
// cave to the network.  A failed import leaves the network's caves, surface
// points, system, operators and instruments as they were.  The readers that
// stage their data derive from TImportSaufTPRB (import_sauf_tprb.h); the
// dispatcher that creates the reader of a file type is import_fichier_autre.h.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

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

// The lines of a text file's bytes: NUL bytes read as blanks (the file itself
// is never written), Windows-1252 decoded, split at CR LF, LF or a lone CR.
std::vector<std::string> LignesTexteImport(std::string octets);

}  // namespace formats
