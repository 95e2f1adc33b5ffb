#pragma once
// The process-wide values of the program in one object: the settings, the
// services the settings call, and the library of the network being created.
// Config() and Services() return its members.
#include "app/commun/config_generale.h"
#include "app/commun/etat_pts_surface.h"
#include "app/commun/memoire_points.h"

namespace drawing {
class tListeMtf;
}

namespace app {

struct TContexteApp {
  ConfigGenerale Config;
  ServicesConfig Services;
  MemoireCoordonnees Coordonnees;  // the point dialogs' remembered values
  EtatPtsSurface PtsSurface;       // the surface-point manager's sort and imports
};

// The one context of the folder.
TContexteApp& ContexteApp();

// Saves the whole context and puts it back on exit.
class GardeContexteApp {
 public:
  GardeContexteApp() : sauve_(ContexteApp()) {}
  ~GardeContexteApp() { ContexteApp() = sauve_; }
  GardeContexteApp(const GardeContexteApp&) = delete;
  GardeContexteApp& operator=(const GardeContexteApp&) = delete;

 private:
  TContexteApp sauve_;
};

}  // namespace app
