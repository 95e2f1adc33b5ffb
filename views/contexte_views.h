#pragma once
// The process-wide values of views in one object: the ports the document's
// links install, the paper formats, the page-layout lists and the state of
// the cave windows. Ports(), Formats() and MisesEnPage() return its
// members.
#include "views/format_papier.h"
#include "views/mise_en_page.h"
#include "views/ports_vues.h"

namespace survey {
class TCavite;
}

namespace views {

// The choices of the zoom dialog (TZoomGalPtsDlg), kept between its
// openings: the cave it was last confirmed on (compared, never followed),
// the position of the gallery in its sorted list, the kind of zoom (0 a
// gallery, 1 the shots of a station) and the zone of the stations (0 the
// cave, 1 the gallery).
struct TChoixZoomGalPts {
  const survey::TCavite* Cavite = nullptr;
  int Galerie = 0;
  int TypeZoom = 0;
  int Zone = 1;
};

// What the cave windows share with the rest of the program while one is built
// (noyau_visu_graphique.h).
struct TEtatVisu {
  // The text scale of the window being built: the largest default text scale
  // of its caves, 1000 when none.
  int32_t EchelleTextesVue = 1000;
  // An offset-part editor is open: the cave windows neither compute the
  // network nor reset the shots' elevation directions.
  bool EditionEcart = false;
  // The main window builds a drawing view only to write its SVG file.
  bool ExportSVGDirect = false;
  // The window being built shows one cave only.
  bool DessinMonoCavite = false;
  TChoixZoomGalPts ChoixZoom;
};

struct TContexteViews {
  PortsVues Ports;
  ContexteFormats Formats;
  ContexteMisesEnPage MisesEnPage;
  TEtatVisu Visu;
};

// The one context of the folder.
TContexteViews& ContexteViews();
TEtatVisu& EtatVisu();

// Sets the whole context aside (empty format lists stand in) and puts it
// back on exit.
class GardeContexteViews {
 public:
  GardeContexteViews() : misesEnPage_(ContexteViews().MisesEnPage), visu_(ContexteViews().Visu) {}
  ~GardeContexteViews() {
    ContexteViews().MisesEnPage = misesEnPage_;
    ContexteViews().Visu = visu_;
  }
  GardeContexteViews(const GardeContexteViews&) = delete;
  GardeContexteViews& operator=(const GardeContexteViews&) = delete;

 private:
  GardePortsVues ports_;
  GardeFormats formats_;
  ContexteMisesEnPage misesEnPage_;
  TEtatVisu visu_;
};

}  // namespace views
