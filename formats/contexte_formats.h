#pragma once
// The process-wide values of formats in one object: the import and export
// windows' ports and the state of the import being read. FenetresImport(),
// FenetresExport() and Import() return its members.
#include "formats/export/ports_export.h"
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
