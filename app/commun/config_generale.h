#pragma once
// The program-wide settings: read once at start-up from the settings file,
// changed by the settings dialog, written back when the program ends.  The
// number of decimals of coordinates and the folder of networks live in the
// survey contexts that read them (survey::Affichage().DecimalesCoord,
// survey::Document().RepertoireReseau); everything else lives here.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace app {

class TFichierIni;

// Pen colour, pen style (0 solid, 1 dash, 2 dot ...) and width of one of the
// survey drawing styles, with the built-in brush and font values.
struct StyleTopo {
  uint32_t CouleurPlume = 0;
  int32_t StylePlume = 0;
  int32_t EpaisseurPlume = 1;
  uint32_t CouleurPinceau = 0xFFFFFF;
  uint32_t CouleurFonte = 0;
  int32_t NumMotif = -1;
  bool operator==(const StyleTopo&) const = default;
};

// The surface points' style and options.
struct StylePointsSurface {
  StyleTopo Trait;
  bool CouleurPourTous = true;  // the colour applies to every kind of surface point
  bool TracerCercle = true;     // drawn with a circle
  int32_t TailleDesign = 1;     // size of the names
  bool operator==(const StylePointsSurface&) const = default;
};

// A recent document with the index of the cave that was active (-1 none).
struct FichierRecent {
  std::string Chemin;
  int32_t Cavite = -1;
  bool operator==(const FichierRecent&) const = default;
};

// Number of recent documents kept in the settings file.
inline constexpr int NombreFichiersRecentsEcrits = 4;
// Number of regions of the projection lists.
inline constexpr int NombreRegions = 10;

struct ConfigGenerale {
  // Input position (0, 1 or 2) of each measurement in the shot dialog.
  int32_t PosAzimut = 0;
  int32_t PosPente = 1;
  int32_t PosLongueur = 2;
  // The measurement at each input position (0 azimuth, 1 slope, 2 length).
  std::array<int32_t, 3> OrdreSaisie{0, 1, 2};
  bool SaisieTopofil = false;    // thread-counter inputs and columns
  bool CalculDecliAuto = true;   // declination of new trips computed
  std::string FichierMotifsDefaut;     // merged into every new document's library
  std::string FichierMotifsTh2Defaut;  // loaded into the Therion-import library
  bool SensMolette = false;      // mouse-wheel zoom inverted
  std::vector<FichierRecent> ListeDerniersFichiers;  // most recent first
  StyleTopo TraitAxe;
  StyleTopo TraitViseesAnnexes;
  StyleTopo TraitEnveloppe;
  StylePointsSurface PointsSurface;
  uint32_t CouleurFiligrane = 0xC0C0C0;  // default watermark colour
  int32_t RegionProjections = 0;          // index into NomsRegions()

  ConfigGenerale();  // the built-in values
};

ConfigGenerale& Config();

// Saves the settings and restores them on exit, also on an exception.
class GardeConfig {
 public:
  GardeConfig() : sauve_(Config()) {}
  ~GardeConfig() { Config() = sauve_; }
  GardeConfig(const GardeConfig&) = delete;
  GardeConfig& operator=(const GardeConfig&) = delete;

 private:
  ConfigGenerale sauve_;
};

// The built-in line styles.
StyleTopo TraitAxeDefaut();
StyleTopo TraitViseesAnnexesDefaut();
StyleTopo TraitEnveloppeDefaut();
StylePointsSurface PointsSurfaceDefaut();

// The ten region names of the projection lists, in index order.
const std::array<std::string, NombreRegions>& NomsRegions();
// Index of a region name (exact text), -1 when it is none of them.
int IndexRegion(const std::string& nom);

// What the settings hand to the subsystems that use them.  Each is optional.
struct ServicesConfig {
  // Rebuilds the projection catalogue for a region (only when it differs).
  std::function<void(int32_t region)> ChangeListeProjections;
  // After reading: the graded splay-shot pens and the watermark window's
  // reference colour.
  std::function<void(const ConfigGenerale&)> AppliqueStyles;
  // Reads a pattern file into the Therion-import library.
  std::function<bool(const std::string&)> ChargeMotifsTh2;
  // Copies the line styles into the styles the views draw with.
  std::function<void(const ConfigGenerale&)> ChangeStyles;
};
ServicesConfig& Services();

// The settings file: beside the executable when its folder is writable (or
// when only that file exists), else in the user's configuration folder.  The
// name is the executable's with ".ini".
struct CheminsConfig {
  std::string Lecture;
  std::string Ecriture;
};
CheminsConfig CheminsFichierConfig(const std::string& cheminExecutable, const std::string& dossierConfig);
// The paths for the running program.
CheminsConfig CheminsFichierConfig();

// Rebuilds OrdreSaisie from the three positions.
void MajOrdreSaisie();
// The input order after a measurement (0 azimuth, 1 slope, 2 length) was
// moved to a position: the measurement that held that position takes the one
// left free.  The positions stay a permutation of 0, 1, 2.
std::array<int32_t, 3> ResoutOrdreSaisie(std::array<int32_t, 3> positions, int mesure, int32_t position);

// Reads the settings file (a missing file keeps the built-in values) and
// applies the settings; the decimals and the folder of networks go to the
// survey contexts.
void LitConfigGenerale(const std::string& chemin);
// Writes every key into the file, keeping what the program does not write.
bool EcritConfigGenerale(const std::string& chemin);
void LitConfigGenerale(const TFichierIni& ini);
void EcritConfigGenerale(TFichierIni& ini);

// The recent lists of the settings file.
std::vector<FichierRecent> LitDerniersFichiers(const TFichierIni& ini);
void EcritDerniersFichiers(TFichierIni& ini, const std::vector<FichierRecent>& liste);

// Puts a document first in the recent list, with its active cave: only when
// the path names an existing file; an entry of the same path is removed first.
bool AjouteFichierRecent(std::vector<FichierRecent>& liste, const std::string& chemin, int32_t cavite);
// The recent entry of a path, or nullptr.
const FichierRecent* ChercheFichierRecent(const std::vector<FichierRecent>& liste, const std::string& chemin);

// A default pattern file given without a folder is looked up in the working
// folder (the setting takes the full path).
std::string CheminMotifsDefaut(const std::string& nom);
// The default pattern file that completes the library of every new network,
// with its full path (the setting takes it); empty: none.
std::string FichierMotifsParDefaut();
// A default pattern file that could not be read is dropped from the settings.
void OublieMotifsParDefaut(const std::string& fichier);
// Loads the default Therion pattern file; dropped from the settings on failure.
void ChargeMotifsTh2ParDefaut();

}  // namespace app
