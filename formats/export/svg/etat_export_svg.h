#pragma once
// The process-wide values of the SVG export, in one object of the formats
// context (EtatSVG()), and the guard that every export runs under.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "drawing/objet_trait.h"
#include "foundation/transformation_vue.h"

namespace formats {

class TFichierSVG;

struct TEtatExportSVG {
  // An export is being written: the line tracer measures its patterns in
  // ground metres from EchelleFontes (its SVG mode) instead of pixels.
  bool ExportSVGActif = false;
  // Single-colour mode (the watermarks of offset parts): every colour written
  // is CouleurFiligraneSVG.
  bool CouleurUnique = false;
  uint32_t CouleurFiligraneSVG = 0xC0C0C0;
  // The second writer in which path data is assembled, alive during an
  // export (owned by the export's guard).
  TFichierSVG* FichierSVGTmp = nullptr;
  // The text last written by EcritLigneSVG, without its indentation.
  std::string DerniereLigneSVG;
  // The prefix of every layer label: "" or the cave's position and "-".
  std::string PrefixeCalque;
  // Texts on curves written so far in the export.
  int NbCourbesTexte = 0;
  // stroke-dasharray by pen style; styles 1 to 3 are rewritten at the start
  // of every export from the scale and keep those values afterwards.
  std::array<std::string, drawing::NombreMesPenStyle> TiretsSVG{
      "none", "15,6", "4,4", "15,6,4,4", "none", "none", "15,6", "15,6", "none", "none", "none"};
};

// The export state of the formats context.
TEtatExportSVG& EtatSVG();

// The state of one export: ExportSVGActif set, the tracer in its SVG mode and
// a fresh temporary writer for the life of the guard.  On every exit the
// temporary writer is freed, ExportSVGActif cleared and the state, the
// tracer mode, the view transform and the current drawing kind put back (the
// dash table keeps the values of the export).
class GardeExportSVG {
 public:
  GardeExportSVG();
  ~GardeExportSVG();
  GardeExportSVG(const GardeExportSVG&) = delete;
  GardeExportSVG& operator=(const GardeExportSVG&) = delete;

 private:
  TEtatExportSVG sauve_;
  foundation::GardeTransfo transfo_;
  foundation::GardeTypeDessin type_;
  uint8_t modeTraceur_;
  std::unique_ptr<TFichierSVG> tmp_;
};

}  // namespace formats
