#pragma once
// The listing's output on the platform: each printer's pages are written,
// at its resolution and page size, to a PDF file chosen through the dialog
// port ("Fichiers PDF (*.pdf)|*.pdf").  The print dialog lists the printers
// of the printer port and offers every page or a range.
#include <functional>

#include "app/table/impression_liste.h"

class QPdfWriter;
class QWidget;

namespace app {

// The writer's page: the printer page's size and orientation at its
// resolution, without margins.
void PreparePagePdf(QPdfWriter& pdf, const platform::PageMetrics& page);

class TSortiePdf : public SortieImpressionListe {
 public:
  explicit TSortiePdf(QWidget* parent = nullptr) : parent_(parent) {}

  MesuresListe Mesures(const platform::PageMetrics& page) override;
  std::optional<ChoixImpression> Dialogue(int nombrePages, platform::Printer& imprimante) override;
  bool Imprime(const ChoixImpression& choix, const std::vector<PageListe>& pages,
               const platform::PageMetrics& page) override;

  // Writes the pages into a PDF file; false when it cannot be written.
  static bool EcritPdf(const std::string& chemin, const std::vector<int>& numeros, const std::vector<PageListe>& pages,
                       const platform::PageMetrics& page);

  // Stands in for the print dialog (tests); none shows the dialog.
  std::function<std::optional<ChoixImpression>(int nombrePages, platform::Printer& imprimante)> DialogueScripte;

 private:
  QWidget* parent_;
};

}  // namespace app
