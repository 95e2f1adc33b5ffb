#pragma once
// What the background model asks of the rest of the program, which it does
// not know: the folder of the file dialogs.  The program installs it at
// start-up; tests install their own with GardePortsEditeur.  Raster files
// are read through the raster port (platform/raster.h).
#include <functional>
#include <string>

namespace editor {

struct PortsEditeur {
  // The folder of the file dialogs, with its trailing separator.
  std::function<std::string()> DossierDeTravail;
};

PortsEditeur& Ports();

class GardePortsEditeur {
 public:
  GardePortsEditeur() : sauve_(Ports()) {}
  ~GardePortsEditeur() { Ports() = sauve_; }
  GardePortsEditeur(const GardePortsEditeur&) = delete;
  GardePortsEditeur& operator=(const GardePortsEditeur&) = delete;

 private:
  PortsEditeur sauve_;
};

}  // namespace editor
