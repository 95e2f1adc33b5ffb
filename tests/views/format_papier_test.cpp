// Paper formats: the driver query and the measure of usable sizes through the
// printer port, the look-ups, the neighbouring format of a custom one and the
// printed page size; the built-in PDF printer measured like any other.
#include <gtest/gtest.h>

#include "foundation/contexte_impression.h"
#include "platform/scripted_printer.h"
#include "views/format_papier.h"

using namespace views;
using foundation::GardeImpression;
using foundation::Impression;
using foundation::PointsParMetre;
using platform::PaperFormat;
using platform::ScriptedPrinter;
using platform::ScriptedPrinterService;

namespace {

std::unique_ptr<ScriptedPrinter> Imprimante600() {
  return std::make_unique<ScriptedPrinter>(
      "Laser", std::vector<PaperFormat>{{"A4", 9, 2100, 2970}, {"A3", 8, 2970, 4200}}, 600, 50, 30);
}

// A list of driver formats A4 (190 x 277) and A3 (277 x 400).
TListeFormatsPapier ListeA4A3() {
  TListeFormatsPapier l;
  const struct {
    const char* nom;
    int32_t code, larg, haut;
  } formats[] = {{"A4", 9, 190, 277}, {"A3", 8, 277, 400}};
  for (const auto& f : formats) {
    auto p = std::make_unique<TFormatPapier>(true);
    p->NomFormat = f.nom;
    p->CodeFormat = f.code;
    p->LargP = f.larg;
    p->HautP = f.haut;
    l.Add(std::move(p));
  }
  l.NbreFormatPrn = 1;
  return l;
}

TValFormat Format(const char* nom, int32_t code, int32_t larg, int32_t haut) {
  TValFormat v;
  v.NomFormat = nom;
  v.CodeFormat = code;
  v.LargP = larg;
  v.HautP = haut;
  return v;
}

}  // namespace

TEST(FormatsPapier, MesureParLePilote) {
  GardeImpression gi;
  GardeFormats gf;
  ScriptedPrinterService service;
  platform::ScopedPrinterService garde(service);
  ScriptedPrinter& prn = service.Add(Imprimante600());
  InitialiseListesFormats();
  ASSERT_EQ(Formats().ListesFormatsImprimantes.size(), 2u);  // the laser, then the PDF printer
  TListeFormatsPapier& l = *Formats().ListesFormatsImprimantes[0];
  EXPECT_EQ(l.IndicePrn, 0);
  EXPECT_EQ(Formats().ListesFormatsImprimantes[1]->Imprimante(), &platform::BuiltInPdfPrinter());

  ASSERT_TRUE(l.ChargeFormatsImprimante());
  EXPECT_TRUE(l.FormatsCharges);
  EXPECT_EQ(l.NbreFormatPrn, 1);
  // The nominal 600 dots per inch are 23622.05 dots per metre; the calibrated
  // coefficient puts that many dots in 1003.7776 mm of paper, so that a
  // nominal 1003.7776 mm prints as one metre (a little over 23,500 dots).
  EXPECT_NEAR(l.CoeffPrinterPrn * 1.0037776, 600 / 0.0254, 1e-6);
  EXPECT_NEAR(l.CoeffPrinterPrn, 23533.148, 0.001);
  // Offsets are raised to at least 200 and 100 dots.
  EXPECT_EQ(Impression().DecalXPrn, 200);
  EXPECT_EQ(Impression().DecalYPrn, 100);
  // A4 at 600 dpi is 4961 x 7016 dots: (4561 / 23533.148 - 0.001) x 1000 = 192.81,
  // (6816 / 23533.148 - 0.006) x 1000 = 283.63.
  EXPECT_EQ(l.LeFormat(0)->LargP, 193);
  EXPECT_EQ(l.LeFormat(0)->HautP, 284);
  EXPECT_EQ(l.LeFormat(0)->LargBrut, 210);
  EXPECT_EQ(l.LeFormat(1)->LargP, 280);
  EXPECT_EQ(l.LeFormat(1)->HautP, 407);
  EXPECT_EQ(Formats().LargMaxFormat, 280);
  EXPECT_EQ(Formats().HautMaxFormat, 407);
  EXPECT_EQ(prn.Log.front(), "formats");
  EXPECT_EQ(prn.Orientation(), platform::PageOrientation::Portrait);
}

TEST(FormatsPapier, PiloteEnDefaut) {
  GardeImpression gi;
  GardeFormats gf;
  ScriptedPrinterService service;
  platform::ScopedPrinterService garde(service);
  ScriptedPrinter& ferme = service.Add(Imprimante600());
  ferme.FailOpen = true;
  ScriptedPrinter& defaillant = service.Add(Imprimante600());
  defaillant.FailedMeasures = {8};

  TListeFormatsPapier l1(0);
  EXPECT_FALSE(l1.ChargeFormatsImprimante());
  EXPECT_TRUE(l1.Vide());
  EXPECT_FALSE(l1.FormatsCharges);
  EXPECT_FALSE(ImprimanteUtilisable(0));

  // The list stays as far as it was measured.
  TListeFormatsPapier l2(1);
  EXPECT_FALSE(l2.ChargeFormatsImprimante());
  ASSERT_EQ(l2.Count(), 2);
  EXPECT_EQ(l2.LeFormat(0)->LargP, 193);
  EXPECT_EQ(l2.LeFormat(1)->LargP, 0);
  EXPECT_FALSE(ImprimanteUtilisable(1));  // its current paper cannot be measured
  defaillant.SetPaper(9);
  EXPECT_TRUE(ImprimanteUtilisable(1));
  EXPECT_TRUE(ImprimanteUtilisable(2));  // the PDF printer
  EXPECT_FALSE(ImprimanteUtilisable(3));
  EXPECT_FALSE(ImprimanteUtilisable(-1));
  EXPECT_FALSE(TListeFormatsPapier(7).ChargeFormatsImprimante());
}

TEST(FormatsPapier, RecherchesParNomTailleEtCode) {
  TListeFormatsPapier l = ListeA4A3();
  EXPECT_EQ(l.FormatParTexte("a3"), 1);
  EXPECT_EQ(l.FormatParTexte("A5"), -1);
  EXPECT_EQ(l.FormatParCode(9), 0);
  EXPECT_EQ(l.FormatParCode(11), -1);
  EXPECT_EQ(l.FormatParDims(277, 400), 1);
  EXPECT_EQ(l.FormatParDims(400, 277), -1);
  struct Cas {
    TValFormat f;
    int attendu;
  };
  const Cas cas[] = {
      {Format("A4", -5, 0, 0), -1},     // code below -4: never found, even by name
      {Format("a4", -4, 0, 0), 0},      // by name
      {Format("Perso", -1, 277, 400), 1},  // by size
      {Format("Perso", 8, 1, 1), 1},    // by code
      {Format("Perso", -1, 1, 1), -1},  // a negative code is not looked up
  };
  for (const Cas& c : cas) EXPECT_EQ(l.IndiceFormat(c.f), c.attendu) << c.f.NomFormat << " " << c.f.CodeFormat;
  EXPECT_TRUE(l.AjoutFormatAListe(Format("Perso", -1, 300, 300)));
  EXPECT_FALSE(l.AjoutFormatAListe(Format("perso", -1, 1, 1)));
  ASSERT_EQ(l.Count(), 3);
  EXPECT_FALSE(l.LeFormat(2)->Materiel);
  EXPECT_EQ(l.LeFormat(2)->DesignFormat(), "Perso (300x300)");
  EXPECT_EQ(l.LeFormat(2)->LargBrut, 300);
  l.LeFormat(0)->LargBrut = 210;
  l.LeFormat(0)->HautBrut = 297;
  EXPECT_EQ(l.LeFormat(0)->DesignFormat(), "A4 (210x297)");
  const TValFormat v = l.LeFormat(0)->ValFormat();
  EXPECT_DOUBLE_EQ(v.LPageReal, 0.19);
  EXPECT_EQ(v.HPapier, 297);
}

TEST(FormatsPapier, FormatVoisin) {
  TListeFormatsPapier l = ListeA4A3();
  l.AjoutFormatAListe(Format("Géant", -1, 5000, 5000));  // custom: never a neighbour
  struct Cas {
    int32_t larg, haut;
    int attendu;
    bool hors;
  };
  const Cas cas[] = {
      {250, 350, 1, false},  // inside A3
      {100, 100, 0, false},  // inside A4, the first that contains it
      {500, 700, 1, true},   // too large: A3 lies inside and contains A4
      {200, 300, 1, false},  // too wide for A4: A3
      {150, 1000, -1, true},  // nothing fits either way
  };
  for (const Cas& c : cas) {
    bool hors = !c.hors;
    const int i = l.FormatVoisin(hors, Format("x", -1, c.larg, c.haut));
    EXPECT_EQ(i, c.attendu) << c.larg << "x" << c.haut;
    EXPECT_EQ(hors, c.hors) << c.larg << "x" << c.haut;
  }
}

TEST(FormatsPapier, TaillePageEnPoints) {
  GardeImpression gi;
  Impression().CoeffPrn = PointsParMetre(600);
  Impression().DecalXPrn = 200;
  Impression().DecalYPrn = 100;
  const TValFormat r = DimPrnFormat(Format("A4", 9, 193, 284));
  EXPECT_NEAR(r.LPageReal, 0.194 * 23533.148 + 400, 0.01);
  EXPECT_NEAR(r.HPageReal, 0.290 * 23533.148 + 200, 0.01);
  // The print scale keeps 32 bits on its way to the printer conversions.
  Impression().EchellePrn = 100000;
  EXPECT_EQ(Impression().ParamsImprimante().EchellePrn, 100000);
  EXPECT_EQ(foundation::XVersImprimante(1000, Impression().ParamsImprimante()), 235 + 200);
}

TEST(FormatsPapier, ImprimantePDFIntegree) {
  GardeImpression gi;
  GardeFormats gf;
  // No printer installed: the PDF printer is the list.
  ASSERT_EQ(platform::PrinterList().size(), 1u);
  InitialiseListesFormats();
  TListeFormatsPapier& l = *Formats().ListesFormatsImprimantes[0];
  ASSERT_TRUE(l.ChargeFormatsImprimante());
  EXPECT_EQ(l.FormatParTexte("A4"), 4);
  const TFormatPapier* a0 = l.LeFormat(l.FormatParTexte("A0"));
  // 39732 x 56173 dots at 1200 dpi.
  EXPECT_EQ(a0->LargP, 835);
  EXPECT_EQ(a0->HautP, 1183);
  EXPECT_EQ(Formats().HautMaxFormat, 1183);
}
