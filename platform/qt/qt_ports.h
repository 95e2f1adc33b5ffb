#pragma once
// The Qt implementations of every platform port, installed for the life of
// the object (the application creates one after its QApplication).
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/qt/attente_frm.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_raster.h"
#include "platform/qt/qt_shell.h"
#include "platform/raster.h"
#include "platform/shell.h"
#include "platform/wait_windows.h"

namespace platform {

class QtPorts {
 public:
  QtDialogs DialogPort;
  QtCanvasFactory BitmapPort;
  QtWaitWindows WaitPort;
  QtShell ShellPort;
  QtRasterLoader RasterPort;

 private:
  ScopedDialogs dialogsGuard_{DialogPort};
  ScopedCanvasFactory bitmapsGuard_{BitmapPort};
  ScopedWaitWindows waitsGuard_{WaitPort};
  ScopedShell shellGuard_{ShellPort};
  ScopedRasterLoader rasterGuard_{RasterPort};
};

}  // namespace platform
