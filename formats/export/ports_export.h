#pragma once
// The windows the exports show: each is handed the prepared state of its
// dialog, shows it modally and answers whether it was closed with OK.
// Without a window installed an export takes the dialog's proposal, except
// the shot choice, without which the exports of a part of a cave do nothing.
#include <functional>
#include <string>

namespace survey {
class TCavite;
}

namespace formats {

class TObjetsKMLDlg;
class TObjetsSvgDlg;

// What the shot selection window (TFicheSelectTransfert) is opened with.
struct TDemandeChoixVisees {
  std::string Titre;         // the window's caption
  bool ComposCoupe = true;   // the window shows the long sections' composition
  survey::TCavite* Cavite = nullptr;  // the active cave of the open network
};

struct PortsExport {
  // "Objets à mettre dans le KML"; true for OK.
  std::function<bool(TObjetsKMLDlg&)> AfficheObjetsKml;
  // "Objets à mettre dans le SVG" (web SVG export); true for OK.
  std::function<bool(TObjetsSvgDlg&)> AfficheObjetsSvg;
  // The shot selection window over the active cave: it computes the network
  // as it opens (the stations then hold their computed coordinates); the
  // shots the user picks are marked (their Marque); true for OK.
  std::function<bool(const TDemandeChoixVisees&)> ChoisitVisees;
};

PortsExport& FenetresExport();

class GardePortsExport {
 public:
  GardePortsExport() : sauve_(FenetresExport()) {}
  ~GardePortsExport() { FenetresExport() = sauve_; }
  GardePortsExport(const GardePortsExport&) = delete;
  GardePortsExport& operator=(const GardePortsExport&) = delete;

 private:
  PortsExport sauve_;
};

}  // namespace formats
