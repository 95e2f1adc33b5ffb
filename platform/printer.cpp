#include "platform/printer.h"

#include <cmath>

#include "platform/contexte_platform.h"

namespace platform {
namespace {

class NoPrinters : public PrinterService {
 public:
  std::vector<Printer*> InstalledPrinters() override { return {}; }
};

NoPrinters fallback;

// Tenths of a millimetre to dots, rounded half to even.
int32_t Dots(int32_t tenthMm, int32_t dpi) {
  return static_cast<int32_t>(std::nearbyint(static_cast<double>(tenthMm) / 254.0 * dpi));
}

}  // namespace

std::optional<int32_t> Printer::Resolution() {
  const auto m = Metrics();
  if (!m) return std::nullopt;
  return m->DpiX;
}

FixedPrinter::FixedPrinter(std::string name, std::vector<PaperFormat> formats, int32_t dpi, int32_t offsetX,
                           int32_t offsetY)
    : name_(std::move(name)), formats_(std::move(formats)), dpi_(dpi), offsetX_(offsetX), offsetY_(offsetY) {
  if (!formats_.empty()) paper_ = formats_.front().Code;
}

bool FixedPrinter::SetPaper(int32_t code) {
  for (const PaperFormat& f : formats_)
    if (f.Code == code) {
      paper_ = code;
      return true;
    }
  return false;
}

bool FixedPrinter::SetOrientation(PageOrientation orientation) {
  orientation_ = orientation;
  return true;
}

std::optional<PageMetrics> FixedPrinter::Metrics() {
  for (const PaperFormat& f : formats_) {
    if (f.Code != paper_) continue;
    PageMetrics m;
    m.PageWidth = Dots(f.WidthTenthMm, dpi_);
    m.PageHeight = Dots(f.HeightTenthMm, dpi_);
    m.OffsetX = offsetX_;
    m.OffsetY = offsetY_;
    if (orientation_ == PageOrientation::Landscape) {
      std::swap(m.PageWidth, m.PageHeight);
      std::swap(m.OffsetX, m.OffsetY);
    }
    m.DpiX = m.DpiY = dpi_;
    return m;
  }
  return std::nullopt;
}

const std::vector<PaperFormat>& IsoPaperFormats() {
  static const std::vector<PaperFormat> formats = {
      {"A0", 280, 8410, 11890}, {"A1", 281, 5940, 8410}, {"A2", 66, 4200, 5940}, {"A3", 8, 2970, 4200},
      {"A4", 9, 2100, 2970},    {"A5", 11, 1480, 2100},  {"A6", 70, 1050, 1480}, {"B4", 42, 2500, 3530},
      {"B5", 34, 1760, 2500},
  };
  return formats;
}

VirtualPdfPrinter::VirtualPdfPrinter() : FixedPrinter(kName, IsoPaperFormats(), kDpi) { paper_ = 9; }

PrinterService& PrinterService::Current() {
  auto* installed = ContextePlatform().CurrentPrinters;
  return installed ? *installed : fallback;
}

PrinterService* PrinterService::Install(PrinterService* s) {
  PrinterService* previous = ContextePlatform().CurrentPrinters;
  ContextePlatform().CurrentPrinters = s;
  return previous;
}

VirtualPdfPrinter& BuiltInPdfPrinter() {
  static VirtualPdfPrinter pdf;
  return pdf;
}

std::vector<Printer*> PrinterList() {
  std::vector<Printer*> list = PrinterService::Current().InstalledPrinters();
  list.push_back(&BuiltInPdfPrinter());
  return list;
}

}  // namespace platform
