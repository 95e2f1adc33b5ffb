#pragma once
// The process-wide values of platform in one object: the installed ports
// (none installed: each port's built-in default serves) and the depth of the
// nested busy cursors. Each port's Current() and Install() use it.
namespace platform {

class CanvasFactory;
class Dialogs;
class PrinterService;
class RasterLoader;
class Shell;
class WaitWindows;

struct TContextePlatform {
  CanvasFactory* CurrentCanvasFactory = nullptr;
  Dialogs* CurrentDialogs = nullptr;
  int BusyDepth = 0;
  PrinterService* CurrentPrinters = nullptr;
  RasterLoader* CurrentRasterLoader = nullptr;
  Shell* CurrentShell = nullptr;
  WaitWindows* CurrentWaitWindows = nullptr;
};

// The one context of the folder.
TContextePlatform& ContextePlatform();

// Saves the whole context and puts it back on exit.
class GardeContextePlatform {
 public:
  GardeContextePlatform() : sauve_(ContextePlatform()) {}
  ~GardeContextePlatform() { ContextePlatform() = sauve_; }
  GardeContextePlatform(const GardeContextePlatform&) = delete;
  GardeContextePlatform& operator=(const GardeContextePlatform&) = delete;

 private:
  TContextePlatform sauve_;
};

}  // namespace platform
