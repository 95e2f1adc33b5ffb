#pragma once
// The windows that the import from another document, the comparison and the
// update ask for, as callbacks the program installs (formats' context).
// None installed: the window behaves as cancelled, except the surface-point
// choice, which then takes every point.
#include <functional>
#include <string>
#include <vector>

namespace survey {
class TCavite;
class TListedePoints;
class TReseau;
}  // namespace survey

namespace formats {

// What the report window shows and may draw.
struct TRapportMaj {
  std::vector<std::string> Lignes;
  survey::TReseau* ReseauActif = nullptr;   // the open network
  survey::TReseau* ReseauCharge = nullptr;  // the second network
};

struct PortsAutreReseau {
  // TImportCavitesDlg: one Boolean per cave of the network (index 0, the
  // surface, never chosen); true for OK with at least one cave checked.
  std::function<bool(const survey::TReseau&, std::vector<bool>& choix)> ChoisitCavites;
  // TSelectCavDlg: the chosen cave of the network, or none for Cancel; the
  // label replaces the default one when not empty.
  std::function<survey::TCavite*(const survey::TReseau&, const std::string& libelle)> ChoisitCavite;
  // The shot selection window over the cave: the user marks the shots to
  // copy (their Marque); true for OK.  None: the part import is unavailable.
  std::function<bool(survey::TCavite&)> MarqueViseesPartie;
  // TSelectImportDlg in marking mode: sets each point's Selecte; true for OK.
  std::function<bool(survey::TListedePoints&)> SelectionnePointsSurface;
  // TRapportMajDlg, modal.
  std::function<void(TRapportMaj&)> AfficheRapport;
};

}  // namespace formats
