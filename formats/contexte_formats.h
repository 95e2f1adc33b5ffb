#pragma once
// The process-wide values of formats in one object: the import and export
// windows' ports, the state of the import being read and that of the SVG
// export. FenetresImport(), FenetresExport(), Import() and EtatSVG() return
// its members.
#include "formats/export/ports_export.h"
#include "formats/export/svg/etat_export_svg.h"
#include "formats/import/galeries_import.h"
#include "formats/import/autre_reseau/ports_autre_reseau.h"
#include "formats/import/import_autres.h"

namespace formats {

struct TContexteFormats {
  PortsImport FenetresImport;
  PortsExport FenetresExport;
  ContexteImport Import;
  // Import from another document: its windows and the shot-pairing tolerance.
  PortsAutreReseau FenetresAutreReseau;
  double ToleranceAppariement = 0.01;
  // The state of the SVG export under way.
  TEtatExportSVG ExportSVG;
};

// The one context of the folder.
TContexteFormats& ContexteFormats();

// Sets the whole context aside and puts it back on exit.
class GardeContexteFormats {
 public:
  GardeContexteFormats() : sauve_(ContexteFormats()) {}
  ~GardeContexteFormats() { ContexteFormats() = sauve_; }
  GardeContexteFormats(const GardeContexteFormats&) = delete;
  GardeContexteFormats& operator=(const GardeContexteFormats&) = delete;

 private:
  TContexteFormats sauve_;
};

}  // namespace formats
