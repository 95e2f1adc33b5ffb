#pragma once
// What printing the shot listing needs of the platform: the measures of the
// listing's font ("Courier New", 10 points) at a printer's resolution, the
// print dialog (printer and page range) and the output of the chosen pages.
// The printers and their page measures are the printer port's
// (platform/printer.h); the pages are written to a PDF file (TSortiePdf,
// app/impression_pdf.h), the one output the platform offers.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/table/liste_imprimee.h"

namespace platform {
class Printer;
struct PageMetrics;
}  // namespace platform

namespace app {

struct ChoixImpression {
  platform::Printer* Imprimante = nullptr;  // the printer chosen in the dialog
  int PremierePage = 1;                     // the range, 1-based; 0 and 0: every page
  int DernierePage = 0;
};

class SortieImpressionListe {
 public:
  virtual ~SortieImpressionListe() = default;
  // The listing's measures on the page of the printer.
  virtual MesuresListe Mesures(const platform::PageMetrics& page) = 0;
  // The print dialog offering pages 1 to nombrePages on the printer; nullopt
  // when cancelled.
  virtual std::optional<ChoixImpression> Dialogue(int nombrePages, platform::Printer& imprimante) = 0;
  // Prints the chosen pages, each at the top-left corner of its sheet; false
  // when the output failed (the implementation has said why).
  virtual bool Imprime(const ChoixImpression& choix, const std::vector<PageListe>& pages,
                       const platform::PageMetrics& page) = 0;
};

// The pages of a choice: the range clipped to the pages there are, or all.
std::vector<int> PagesChoisies(const ChoixImpression& choix, int nombrePages);

}  // namespace app
