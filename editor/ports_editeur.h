#pragma once
// What the background model asks of the rest of the program, which it does
// not know: the raster loaders (the image library's plain and turned loads)
// and the folder of the file dialogs.  The program installs them at start-up;
// tests install their own with GardePortsEditeur.  With none installed no
// image can be loaded.
#include <functional>
#include <memory>
#include <string>

#include "platform/canvas.h"

namespace editor {

struct PortsEditeur {
  // The file as a bitmap, unchanged; none when it cannot be read (the loader
  // shows no message).
  std::function<std::unique_ptr<platform::Canvas>(const std::string& nom)> ChargeBitmap;
  // The file turned about its centre by the angle in degrees (clockwise on
  // the screen for a positive angle) inside a bitmap enlarged to hold all of
  // it, the uncovered corners white; none on failure, the loader having
  // shown its message.
  std::function<std::unique_ptr<platform::Canvas>(const std::string& nom, double angle)> ChargeBitmapTourne;
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
