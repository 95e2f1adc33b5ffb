#pragma once
// The VTopo ".tro" reader: a header naming the cave, its entrance and its
// coordinate system, then blocks of shots, each opened by a "Param" line
// giving the instruments, units and conventions of its shots.  It stages one
// trip per "Param" line, one shot per shot line and one surface point for the
// entrance, and hands over to the common transfer.
//
// Also the two-way table between VTopo projection names and the system's
// coordinate-system names, used by the reader and by the VTopo export.
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/import/import_sauf_tprb.h"

namespace formats {

// "Deg"/"Clino" 1, "Degd"/"Vulc" 2, "Gra"/"Deniv" 3, "%"/"Prof" 4, else 0.
int CodeUniteVTopo(std::string_view mot);

// The VTopo name of a system and zone; empty when there is none.
std::string ProjectionVersVTopo(const std::string& systeme, int32_t zone);
// The system of a VTopo name, empty when unknown; the zone is -1 unless the
// name carries one.
std::string ProjectionDepuisVTopo(const std::string& nom, int32_t& zone);

// Whether the readings of a staged shot are ones an instrument can give (the
// rule of plausibilite.h, with the conventions of its staged trip).  When one
// is not, false and message := "<fichier>, ligne <n> : <champ> impossible
// (<the field's text in the line>)."
bool LectureVTopoPossible(const TViseeImport& vi, const std::string& ligne, const std::string& fichier,
                          size_t numeroLigne, std::string& message);

class tImportVTopo : public TImportSaufTPRB {
 public:
  explicit tImportVTopo(survey::TReseau* reseau = nullptr) : TImportSaufTPRB(reseau) {}

  // LitEnTete, CreeViseesImport, TransfereTopo.
  bool TraiteLignes() override;
  // Reads the header; the lines before the first "Param" line are removed.
  // A file without a "Param" line is unreadable (FichierIllisible); a "Trou"
  // line whose entrance no grid holds (PointImpossible) fails the import with
  // the message of plausibilite.h.
  virtual bool LitEnTete();
  // Stages the trips and shots; a shot line with a reading no instrument can
  // give (LectureVTopoPossible) fails the import with its message.
  virtual bool CreeViseesImport();
  // Stages the trip of a "Param" line (the text after "Param ").
  void LitParamVTopo(const std::string& texte);

  // Lines before the "Param" line that LitEnTete removed (for line numbers).
  size_t LignesEnTete = 0;
};

}  // namespace formats
