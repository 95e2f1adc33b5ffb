#pragma once
// The staging model of the readers (staged trips TLeverImport, staged shots
// TViseeImport), which every reader but TopoRobot's fills first, and the one
// common transfer that then builds the trips, stations, shots and splays of
// the new cave.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "formats/import/import_autres.h"
#include "foundation/dates.h"

namespace formats {

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

}  // namespace formats
