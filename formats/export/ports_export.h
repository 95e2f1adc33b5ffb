#pragma once
// The windows the exports show: each is handed the prepared state of its
// dialog, shows it modally and answers whether it was closed with OK.
// Without a window installed an export takes the dialog's proposal.
#include <functional>

namespace formats {

class TObjetsKMLDlg;
class TObjetsSvgDlg;

struct PortsExport {
  // "Objets à mettre dans le KML"; true for OK.
  std::function<bool(TObjetsKMLDlg&)> AfficheObjetsKml;
  // "Objets à mettre dans le SVG" (web SVG export); true for OK.
  std::function<bool(TObjetsSvgDlg&)> AfficheObjetsSvg;
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
