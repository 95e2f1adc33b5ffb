#pragma once
// The printer port: the printers the program can print on, the paper formats
// each driver offers, and the page measures of the chosen paper (page size in
// dots, physical offsets, resolution).  The printer list always ends with a
// built-in virtual PDF printer that offers the ISO formats, so that page
// layouts can be made and measured on a machine with no printer.
//
// The application installs the platform's printers through PrinterService;
// tests install a ScriptedPrinterService (platform/scripted_printer.h).
// Driver failures come back as false or nullopt, never as exceptions.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/scoped_port.h"

namespace platform {

// A paper format as the driver states it.  Sizes are those of the sheet in
// portrait, in tenths of a millimetre.
struct PaperFormat {
  std::string Name;
  int32_t Code = 0;  // the driver's paper code
  int32_t WidthTenthMm = 0;
  int32_t HeightTenthMm = 0;
};

enum class PageOrientation { Portrait, Landscape };

// Measures of the current paper in the current orientation.
struct PageMetrics {
  int32_t PageWidth = 0;  // physical page, dots
  int32_t PageHeight = 0;
  int32_t OffsetX = 0;  // physical offsets of the printable area, dots
  int32_t OffsetY = 0;
  int32_t DpiX = 0;  // resolution, dots per inch
  int32_t DpiY = 0;
};

class Printer {
 public:
  virtual ~Printer() = default;
  virtual std::string Name() const = 0;
  // The paper formats in the driver's order; nullopt when the printer cannot
  // be opened.
  virtual std::optional<std::vector<PaperFormat>> PaperFormats() = 0;
  // Makes the paper of that code current; false when the driver refuses.
  virtual bool SetPaper(int32_t code) = 0;
  virtual bool SetOrientation(PageOrientation orientation) = 0;
  // Measures of the current paper; nullopt on a driver error.
  virtual std::optional<PageMetrics> Metrics() = 0;
  // Horizontal resolution in dots per inch; nullopt on a driver error.
  virtual std::optional<int32_t> Resolution();
};

// A printer whose formats, resolution and offsets are fixed values: the page
// is the whole sheet at the resolution, turned in landscape.
class FixedPrinter : public Printer {
 public:
  FixedPrinter(std::string name, std::vector<PaperFormat> formats, int32_t dpi, int32_t offsetX = 0,
               int32_t offsetY = 0);

  std::string Name() const override { return name_; }
  std::optional<std::vector<PaperFormat>> PaperFormats() override { return formats_; }
  bool SetPaper(int32_t code) override;
  bool SetOrientation(PageOrientation orientation) override;
  std::optional<PageMetrics> Metrics() override;

  int32_t CurrentPaper() const { return paper_; }
  PageOrientation Orientation() const { return orientation_; }

 protected:
  std::string name_;
  std::vector<PaperFormat> formats_;
  int32_t dpi_;
  int32_t offsetX_;
  int32_t offsetY_;
  int32_t paper_ = 0;
  PageOrientation orientation_ = PageOrientation::Portrait;
};

// The built-in PDF printer: ISO A0 to A6, B4 and B5 at 1200 dots per inch,
// no unprintable margin.  A4 is current at first.
class VirtualPdfPrinter : public FixedPrinter {
 public:
  VirtualPdfPrinter();
  static constexpr const char* kName = "Gravelune PDF";
  static constexpr int32_t kDpi = 1200;
};
// The ISO formats of the PDF printer with their paper codes (the usual driver
// codes for A2 to A6 and B4, B5; 280 and 281 for A0 and A1).
const std::vector<PaperFormat>& IsoPaperFormats();

// The port: the printers installed on the platform.
class PrinterService {
 public:
  virtual ~PrinterService() = default;
  // The installed printers in the platform's order; the service owns them.
  virtual std::vector<Printer*> InstalledPrinters() = 0;

  // The service in use; one with no printer stands in until one is installed.
  static PrinterService& Current();
  static PrinterService* Install(PrinterService* s);
};
using ScopedPrinterService = ScopedPort<PrinterService>;

// The printers the program offers: the installed ones, then the built-in PDF
// printer (always present).
std::vector<Printer*> PrinterList();
VirtualPdfPrinter& BuiltInPdfPrinter();

}  // namespace platform
