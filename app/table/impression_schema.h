#pragma once
// The printed gallery diagram of a cave (survey/schema_galeries.h) on the
// printers of the printer port: the diagram is laid out in the dots of the
// printer's page with "Arial" 10 at its resolution, the print dialog offers
// the pages it fills, and each chosen page's band is drawn, clipped, on its
// own PDF page (vector output: no bitmap of the page, whatever the
// resolution).
#include <string>
#include <vector>

#include "survey/schema_galeries.h"

namespace platform {
class Printer;
struct PageMetrics;
}  // namespace platform

namespace survey {
class TCavite;
}

namespace app {

class TSortiePdf;

// The diagram's font measures on a page of that resolution.
survey::TMesuresSchema MesuresSchema(const platform::PageMetrics& page);

// Writes the pages (1-based numbers) of the diagram into a PDF file of the
// page's size; false when it cannot be written.
bool EcritSchemaPdf(const std::string& chemin, const std::vector<int>& numeros, const survey::TSchemaGaleries& schema,
                    const platform::PageMetrics& page);

// ImprimeArbreGaleries: lays the diagram out for the printer, shows the
// print dialog (through the listing's output, which also asks for the PDF
// file) and prints the chosen pages; false when cancelled or failed.
bool ImprimeArbreGaleries(const survey::TCavite& cavite, platform::Printer& imprimante, TSortiePdf& sortie);

}  // namespace app
