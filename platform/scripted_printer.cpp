#include "platform/scripted_printer.h"

#include <algorithm>

namespace platform {

namespace {
bool Contains(const std::vector<int32_t>& v, int32_t x) { return std::find(v.begin(), v.end(), x) != v.end(); }
}  // namespace

std::optional<std::vector<PaperFormat>> ScriptedPrinter::PaperFormats() {
  Log.push_back("formats");
  if (FailOpen) return std::nullopt;
  return formats_;
}

bool ScriptedPrinter::SetPaper(int32_t code) {
  Log.push_back("paper " + std::to_string(code));
  if (Contains(RefusedPapers, code)) return false;
  return FixedPrinter::SetPaper(code);
}

bool ScriptedPrinter::SetOrientation(PageOrientation orientation) {
  Log.push_back(orientation == PageOrientation::Portrait ? "orientation P" : "orientation L");
  return FixedPrinter::SetOrientation(orientation);
}

std::optional<PageMetrics> ScriptedPrinter::Metrics() {
  Log.push_back("metrics");
  if (FailOpen || Contains(FailedMeasures, paper_)) return std::nullopt;
  std::optional<PageMetrics> m = FixedPrinter::Metrics();
  if (!m) return m;
  const auto it = PageSizes.find(paper_);
  if (it != PageSizes.end()) {
    m->PageWidth = it->second.first;
    m->PageHeight = it->second.second;
    if (orientation_ == PageOrientation::Landscape) std::swap(m->PageWidth, m->PageHeight);
  }
  return m;
}

std::vector<Printer*> ScriptedPrinterService::InstalledPrinters() {
  std::vector<Printer*> list;
  for (auto& p : Printers) list.push_back(p.get());
  return list;
}

ScriptedPrinter& ScriptedPrinterService::Add(std::unique_ptr<ScriptedPrinter> p) {
  Printers.push_back(std::move(p));
  return *Printers.back();
}

}  // namespace platform
