#include "app/table/impression_schema.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "app/table/impression_pdf.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/printer.h"
#include "platform/qt/qt_canvas.h"
#include "survey/cavite.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;

namespace {

// "Arial" (Liberation Sans on Linux) at that size in points, at the page's
// horizontal resolution.
QFont PoliceSchema(const platform::PageMetrics& page, int taille, bool gras) {
  QFont f(platform::FontFace("Arial"));
  f.setStyleHint(QFont::SansSerif);
  f.setPixelSize(std::max(1, foundation::Arrondi(taille * std::max(page.DpiX, 1) / 72.0)));
  f.setBold(gras);
  return f;
}

}  // namespace

survey::TMesuresSchema MesuresSchema(const platform::PageMetrics& page) {
  survey::TMesuresSchema m;
  m.LargeurPage = page.PageWidth;
  m.HauteurPage = page.PageHeight;
  m.HauteurTexte = QFontMetrics(PoliceSchema(page, 10, false)).height();
  m.LargeurTexte = [page](std::string_view texte, int taille, bool gras) {
    return static_cast<int32_t>(QFontMetrics(PoliceSchema(page, taille, gras))
                                    .horizontalAdvance(QString::fromUtf8(texte.data(), static_cast<int>(texte.size()))));
  };
  return m;
}

bool EcritSchemaPdf(const std::string& chemin, const std::vector<int>& numeros, const survey::TSchemaGaleries& schema,
                    const platform::PageMetrics& page) {
  if (page.DpiX <= 0 || page.DpiY <= 0 || page.PageWidth <= 0 || page.PageHeight <= 0) return false;
  QBuffer tampon;
  tampon.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&tampon);
    PreparePagePdf(pdf, page);
    QPainter p;
    if (!p.begin(&pdf)) return false;
    p.setPen(QPen(Qt::black, survey::EpaisseurTraitSchema, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    bool premiere = true;
    for (int n : numeros) {
      if (n < 1 || n > schema.NombrePages()) continue;
      if (!premiere) pdf.newPage();
      premiere = false;
      // The page's band, at the top of the sheet.
      p.setClipRect(QRect(0, 0, page.PageWidth, schema.HauteurBande));
      for (const survey::TElementSchema& e : schema.ElementsPage(n - 1)) {
        if (e.Trait) {
          p.drawLine(e.X, e.Y, e.X2, e.Y2);
          continue;
        }
        const QFont police = PoliceSchema(page, e.Taille, e.Gras);
        p.setFont(police);
        p.drawText(QPoint(e.X, e.Y + QFontMetrics(police, &pdf).ascent()), QString::fromStdString(e.Texte));
      }
    }
    p.end();
  }
  const QByteArray octets = tampon.data();
  return platform::WriteFileAtomic(chemin, std::string_view(octets.constData(), static_cast<size_t>(octets.size())));
}

bool ImprimeArbreGaleries(const survey::TCavite& cavite, platform::Printer& imprimante, TSortiePdf& sortie) {
  platform::Printer* choisie = &imprimante;
  for (;;) {
    choisie->SetOrientation(platform::PageOrientation::Portrait);
    const std::optional<platform::PageMetrics> page = choisie->Metrics();
    if (!page) return false;
    const survey::TSchemaGaleries schema = survey::SchemaGaleries(cavite, MesuresSchema(*page));
    const auto choix = sortie.Dialogue(schema.NombrePages(), *choisie);
    if (!choix) return false;
    // Another printer: the diagram is laid out again on its page.
    if (choix->Imprimante && choix->Imprimante != choisie) {
      choisie = choix->Imprimante;
      continue;
    }
    platform::FileDialogOptions options;
    options.Title = Msg(IdMsg::AppImpressionFichier);
    options.Filter = Msg(IdMsg::AppFiltrePdf);
    const auto fichier = platform::Dialogs::Current().SaveFile(options);
    if (!fichier) return false;
    std::string chemin = fichier->Path;
    if (platform::ExtensionOf(chemin).empty()) chemin += ".pdf";
    if (EcritSchemaPdf(chemin, PagesChoisies(*choix, schema.NombrePages()), schema, *page)) return true;
    platform::Dialogs::Current().ShowMessage(
        platform::MessageKind::Error, foundation::RemplaceMarques(Msg(IdMsg::AppFichierNonEnregistre), {chemin}));
    return false;
  }
}

}  // namespace app
