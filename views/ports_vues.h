#pragma once
// What the layout model asks of the survey model and of the open document,
// which it does not know: the caves and stations of the current network (held
// by their numbers), the texts of the header codes and the document's pattern
// library.  The program installs these callbacks when it opens a document;
// tests install their own with GardePortsVues.  With none installed there is
// no network: no cave, no station, no library.
#include <cstdint>
#include <functional>
#include <string>

namespace drawing {
class tListeMtf;
class TObjetDessin;
class TCalque;
struct TConstantesSVG;
}

namespace foundation {
struct TPointTopo;
}

namespace views {

class TNoyauVisuPlan;

struct PortsVues {
  // Number of caves of the current network (cave 0 is the surface).
  std::function<int()> NombreCavites;
  // Whether the station of that network-wide number is one of the cave's
  // entrances.
  std::function<bool(int cavite, int32_t pointReseau)> EstEntreeDeCavite;
  // Number of stations in the network-wide index.
  std::function<int32_t()> NombrePointsReseau;
  // Number of long sections of a cave, and whether they were renumbered
  // while the document was read.
  std::function<int(int cavite)> NombreCoupesLong;
  std::function<bool(int cavite)> CoupesDecalees;
  // Path of the document, name of the network, name of the active cave.
  std::function<std::string()> NomFichierDocument;
  std::function<std::string()> NomReseau;
  std::function<std::string()> NomCaviteActive;
  // The document's pattern library.
  std::function<drawing::tListeMtf*()> BibliothequeDocument;
  // The network's active background map, drawn in the layer odNotes under
  // the plan views; none while the maps are hidden or none is loaded.  The
  // editor installs it (editor::InstalleCarteDesVues).
  std::function<drawing::TObjetDessin*()> CarteReseauActive;
  // The setting [Souris] Sens (wheel direction); the program installs it.
  std::function<bool()> SensMolette;
  // The SVG export of the view being shown (its SVG button, and the main
  // window's "Fichier SVG Plani" with sansFenetre): the view's constants
  // (drawing::InitConstSVG), its layer of watermark objects; the current
  // drawing kind, view transform and EchelleFontes are the view's.  True when
  // the file was saved; none installed: nothing is written.  The document's
  // view links install formats::ExporteSVG on the open network.
  std::function<bool(const drawing::TConstantesSVG& constantes, const drawing::TCalque* filigranes, bool sansFenetre)>
      ExporteSVG;
  // The plan view's recording of a ground point clicked where no station
  // lies ("Coordonnées du point cliqué", the program's dialog over the
  // view): true when a surface point was added to the network.  The program
  // installs it; none installed: nothing is recorded.
  std::function<bool(TNoyauVisuPlan& vue, const foundation::TPointTopo& point)> EnregistrePointClique;
};

PortsVues& Ports();

class GardePortsVues {
 public:
  GardePortsVues() : sauve_(Ports()) {}
  ~GardePortsVues() { Ports() = sauve_; }
  GardePortsVues(const GardePortsVues&) = delete;
  GardePortsVues& operator=(const GardePortsVues&) = delete;

 private:
  PortsVues sauve_;
};

// The ports with their defaults.
int NombreCavites();
// A cave of the current network (the surface cave 0 included).
bool CaviteExiste(int cavite);
bool EstEntreeDeCavite(int cavite, int32_t pointReseau);
int32_t NombrePointsReseau();
// A long-section number valid in that cave.
bool CoupeLongValide(int cavite, int32_t coupe);
bool CoupesDecalees(int cavite);
drawing::tListeMtf* BibliothequeDocument();
drawing::TObjetDessin* CarteReseauActive();
bool SensMolette();

}  // namespace views
