// The printer port: the printer list always ends with the built-in PDF
// printer; page measures of fixed printers; scripted driver failures.
#include <gtest/gtest.h>

#include "platform/scripted_printer.h"

using namespace platform;

TEST(Printers, PdfPrinterAlwaysListed) {
  ASSERT_EQ(PrinterList().size(), 1u);
  EXPECT_EQ(PrinterList()[0]->Name(), VirtualPdfPrinter::kName);
  ScriptedPrinterService service;
  ScopedPrinterService guard(service);
  service.Add(std::make_unique<ScriptedPrinter>("Laser", std::vector<PaperFormat>{{"A4", 9, 2100, 2970}}, 300));
  const auto list = PrinterList();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->Name(), "Laser");
  EXPECT_EQ(list[1], &BuiltInPdfPrinter());
}

TEST(Printers, PdfPrinterMeasures) {
  VirtualPdfPrinter pdf;
  const auto formats = pdf.PaperFormats();
  ASSERT_TRUE(formats);
  EXPECT_EQ(formats->size(), IsoPaperFormats().size());
  EXPECT_EQ(pdf.CurrentPaper(), 9);  // A4
  auto m = pdf.Metrics();
  ASSERT_TRUE(m);
  EXPECT_EQ(m->PageWidth, 9921);   // 210 mm at 1200 dpi
  EXPECT_EQ(m->PageHeight, 14031);
  EXPECT_EQ(m->DpiX, 1200);
  EXPECT_EQ(pdf.Resolution(), 1200);
  ASSERT_TRUE(pdf.SetOrientation(PageOrientation::Landscape));
  m = pdf.Metrics();
  EXPECT_EQ(m->PageWidth, 14031);
  EXPECT_EQ(m->PageHeight, 9921);
  EXPECT_FALSE(pdf.SetPaper(12345));
  EXPECT_EQ(pdf.CurrentPaper(), 9);
  ASSERT_TRUE(pdf.SetPaper(280));  // A0
  pdf.SetOrientation(PageOrientation::Portrait);
  EXPECT_EQ(pdf.Metrics()->PageHeight, 56173);
}

TEST(Printers, ScriptedFailures) {
  ScriptedPrinter p("P", {{"A4", 9, 2100, 2970}, {"A3", 8, 2970, 4200}}, 600, 40, 20);
  p.RefusedPapers = {8};
  p.PageSizes[9] = {4800, 6800};
  EXPECT_FALSE(p.SetPaper(8));
  ASSERT_TRUE(p.SetPaper(9));
  auto m = p.Metrics();
  ASSERT_TRUE(m);
  EXPECT_EQ(m->PageWidth, 4800);
  EXPECT_EQ(m->OffsetX, 40);
  p.SetOrientation(PageOrientation::Landscape);
  EXPECT_EQ(p.Metrics()->PageWidth, 6800);
  EXPECT_EQ(p.Metrics()->OffsetX, 20);
  p.FailedMeasures = {9};
  EXPECT_FALSE(p.Metrics());
  EXPECT_FALSE(p.Resolution());
  p.FailOpen = true;
  EXPECT_FALSE(p.PaperFormats());
  EXPECT_EQ(p.Log.front(), "paper 8");
}
