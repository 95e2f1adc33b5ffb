#pragma once
// The process-wide values of views in one object: the ports the document's
// links install, the paper formats and the page-layout
// lists. Ports(), Formats() and MisesEnPage() return its
// members.
#include "views/format_papier.h"
#include "views/mise_en_page.h"
#include "views/ports_vues.h"

namespace views {

struct TContexteViews {
  PortsVues Ports;
  ContexteFormats Formats;
  ContexteMisesEnPage MisesEnPage;
};

// The one context of the folder.
TContexteViews& ContexteViews();

// Sets the whole context aside (empty format lists stand in) and puts it
// back on exit.
class GardeContexteViews {
 public:
  GardeContexteViews() : misesEnPage_(ContexteViews().MisesEnPage) {}
  ~GardeContexteViews() { ContexteViews().MisesEnPage = misesEnPage_; }
  GardeContexteViews(const GardeContexteViews&) = delete;
  GardeContexteViews& operator=(const GardeContexteViews&) = delete;

 private:
  GardePortsVues ports_;
  GardeFormats formats_;
  ContexteMisesEnPage misesEnPage_;
};

}  // namespace views
