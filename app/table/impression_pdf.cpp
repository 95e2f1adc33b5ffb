#include "app/table/impression_pdf.h"

#include <QBuffer>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFont>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/printer.h"
#include "platform/qt/conversions_qt.h"
#include "platform/qt/qt_canvas.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;

std::vector<int> PagesChoisies(const ChoixImpression& choix, int nombrePages) {
  int premiere = 1, derniere = nombrePages;
  if (choix.PremierePage > 0 || choix.DernierePage > 0) {
    premiere = std::max(1, choix.PremierePage);
    derniere = std::min(nombrePages, choix.DernierePage > 0 ? choix.DernierePage : nombrePages);
  }
  std::vector<int> r;
  for (int p = premiere; p <= derniere; ++p) r.push_back(p);
  return r;
}

namespace {

using platform::qt::Q;

// "Courier New" at 10 points on a page of that resolution.
QFont PoliceListe(const platform::PageMetrics& page) {
  QFont f(platform::FontFace("Courier New"));
  f.setStyleHint(QFont::TypeWriter);
  f.setPixelSize(std::max(1, foundation::Arrondi(10.0 * std::max(page.DpiY, 1) / 72.0)));
  return f;
}

}  // namespace

MesuresListe TSortiePdf::Mesures(const platform::PageMetrics& page) {
  const QFontMetrics fm(PoliceListe(page));
  MesuresListe m;
  m.LargeurPage = page.PageWidth;
  m.HauteurPage = page.PageHeight;
  m.LargeurCar = fm.horizontalAdvance(QStringLiteral("W"));
  m.HauteurLigne = fm.height();
  return m;
}

std::optional<ChoixImpression> TSortiePdf::Dialogue(int nombrePages, platform::Printer& imprimante) {
  if (DialogueScripte) return DialogueScripte(nombrePages, imprimante);
  QDialog dlg(parent_);
  dlg.setObjectName(QStringLiteral("DialogueImpression"));
  dlg.setWindowTitle(Q(Msg(IdMsg::AppImpressionTitre)));
  auto* v = new QVBoxLayout(&dlg);
  auto* form = new QFormLayout;
  auto* imprimantes = new QComboBox(&dlg);
  imprimantes->setObjectName(QStringLiteral("Imprimantes"));
  const std::vector<platform::Printer*> liste = platform::PrinterList();
  for (size_t i = 0; i < liste.size(); ++i) {
    imprimantes->addItem(Q(liste[i]->Name()));
    if (liste[i] == &imprimante) imprimantes->setCurrentIndex(static_cast<int>(i));
  }
  form->addRow(Q(Msg(IdMsg::AppImpressionImprimante)), imprimantes);
  v->addLayout(form);
  auto* toutes = new QRadioButton(Q(Msg(IdMsg::AppImpressionToutes)), &dlg);
  toutes->setObjectName(QStringLiteral("Toutes"));
  auto* intervalle = new QRadioButton(Q(Msg(IdMsg::AppImpressionPages)), &dlg);
  intervalle->setObjectName(QStringLiteral("Intervalle"));
  toutes->setChecked(true);
  auto* de = new QSpinBox(&dlg);
  auto* a = new QSpinBox(&dlg);
  de->setObjectName(QStringLiteral("De"));
  a->setObjectName(QStringLiteral("A"));
  for (QSpinBox* s : {de, a}) s->setRange(1, std::max(1, nombrePages));
  a->setValue(std::max(1, nombrePages));
  v->addWidget(toutes);
  auto* h = new QHBoxLayout;
  h->addWidget(intervalle);
  h->addWidget(de);
  h->addWidget(new QLabel(Q(Msg(IdMsg::AppImpressionA)), &dlg));
  h->addWidget(a);
  v->addLayout(h);
  auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dlg);
  boutons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
  boutons->button(QDialogButtonBox::Cancel)->setText(Q(Msg(IdMsg::AppCfgAnnuler)));
  QObject::connect(boutons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
  QObject::connect(boutons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
  v->addWidget(boutons);
  if (dlg.exec() != QDialog::Accepted) return std::nullopt;
  ChoixImpression c;
  const int i = imprimantes->currentIndex();
  c.Imprimante = (i >= 0 && static_cast<size_t>(i) < liste.size()) ? liste[static_cast<size_t>(i)] : &imprimante;
  if (intervalle->isChecked()) {
    c.PremierePage = de->value();
    c.DernierePage = std::max(de->value(), a->value());
  }
  return c;
}

void PreparePagePdf(QPdfWriter& pdf, const platform::PageMetrics& page) {
  pdf.setCreator(QStringLiteral("Gravelune"));
  pdf.setResolution(page.DpiX);
  const double l = page.PageWidth * 72.0 / page.DpiX;
  const double h = page.PageHeight * 72.0 / page.DpiY;
  pdf.setPageSize(QPageSize(QSizeF(std::min(l, h), std::max(l, h)), QPageSize::Point));
  pdf.setPageOrientation(l > h ? QPageLayout::Landscape : QPageLayout::Portrait);
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
}

bool TSortiePdf::EcritPdf(const std::string& chemin, const std::vector<int>& numeros, const std::vector<PageListe>& pages,
                          const platform::PageMetrics& page) {
  if (page.DpiX <= 0 || page.DpiY <= 0 || page.PageWidth <= 0 || page.PageHeight <= 0) return false;
  QBuffer tampon;
  tampon.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&tampon);
    PreparePagePdf(pdf, page);
    QPainter p;
    if (!p.begin(&pdf)) return false;
    const QFont police = PoliceListe(page);
    p.setFont(police);
    const int montee = QFontMetrics(police, &pdf).ascent();
    p.setPen(QPen(Qt::black, std::max(1, page.DpiX / 150)));
    bool premiere = true;
    for (int n : numeros) {
      if (n < 1 || static_cast<size_t>(n) > pages.size()) continue;
      if (!premiere) pdf.newPage();
      premiere = false;
      for (const ElementPage& e : pages[static_cast<size_t>(n - 1)].Elements) {
        if (e.Trait)
          p.drawLine(e.X, e.Y, e.X2, e.Y2);
        else
          p.drawText(QPoint(e.X, e.Y + montee), QString::fromStdString(e.Texte));
      }
    }
    p.end();
  }
  const QByteArray octets = tampon.data();
  return platform::WriteFileAtomic(chemin, std::string_view(octets.constData(), static_cast<size_t>(octets.size())));
}

bool TSortiePdf::Imprime(const ChoixImpression& choix, const std::vector<PageListe>& pages,
                         const platform::PageMetrics& page) {
  platform::FileDialogOptions options;
  options.Title = Msg(IdMsg::AppImpressionFichier);
  options.Filter = Msg(IdMsg::AppFiltrePdf);
  const auto fichier = platform::Dialogs::Current().SaveFile(options);
  if (!fichier) return false;
  std::string chemin = fichier->Path;
  if (platform::ExtensionOf(chemin).empty()) chemin += ".pdf";
  if (EcritPdf(chemin, PagesChoisies(choix, static_cast<int>(pages.size())), pages, page)) return true;
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error,
                                           foundation::RemplaceMarques(Msg(IdMsg::AppFichierNonEnregistre), {chemin}));
  return false;
}

}  // namespace app
