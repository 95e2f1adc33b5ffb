#pragma once
// Printers driven by a script, for tests: fixed formats, resolution and
// offsets, a page size per paper code when wanted, and switches that make the
// driver fail.  Every call is logged.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/printer.h"

namespace platform {

class ScriptedPrinter : public FixedPrinter {
 public:
  ScriptedPrinter(std::string name, std::vector<PaperFormat> formats, int32_t dpi, int32_t offsetX = 0,
                  int32_t offsetY = 0)
      : FixedPrinter(std::move(name), std::move(formats), dpi, offsetX, offsetY) {}

  std::optional<std::vector<PaperFormat>> PaperFormats() override;
  bool SetPaper(int32_t code) override;
  bool SetOrientation(PageOrientation orientation) override;
  std::optional<PageMetrics> Metrics() override;

  // The printer cannot be opened: no format list.
  bool FailOpen = false;
  // Paper codes the driver refuses, and codes whose measure fails.
  std::vector<int32_t> RefusedPapers;
  std::vector<int32_t> FailedMeasures;
  // Portrait page size in dots for a paper code, instead of the sheet's.
  std::map<int32_t, std::pair<int32_t, int32_t>> PageSizes;
  // "formats", "paper 9", "orientation L", "metrics".
  std::vector<std::string> Log;
};

class ScriptedPrinterService : public PrinterService {
 public:
  std::vector<Printer*> InstalledPrinters() override;
  ScriptedPrinter& Add(std::unique_ptr<ScriptedPrinter> p);

  std::vector<std::unique_ptr<ScriptedPrinter>> Printers;
};

}  // namespace platform
