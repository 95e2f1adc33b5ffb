#include "views/format_papier.h"

#include <algorithm>

#include "foundation/arrondi.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/contexte_impression.h"

namespace views {

using foundation::Arrondi;
using foundation::ContexteImpression;
using foundation::Impression;
using foundation::PointsParMetre;

TValFormat TFormatPapier::ValFormat() const {
  TValFormat v;
  v.NomFormat = NomFormat;
  v.CodeFormat = CodeFormat;
  v.Materiel = Materiel;
  v.LargP = LargP;
  v.HautP = HautP;
  v.LPageReal = LargP / 1000.0;
  v.HPageReal = HautP / 1000.0;
  v.LPapier = LargBrut;
  v.HPapier = HautBrut;
  return v;
}

std::string TFormatPapier::DesignFormat() {
  if (LargBrut == 0 || HautBrut == 0) {
    LargBrut = LargP;
    HautBrut = HautP;
  }
  return NomFormat + " (" + foundation::EntierEnStr(LargBrut) + "x" + foundation::EntierEnStr(HautBrut) + ")";
}

platform::Printer* TListeFormatsPapier::Imprimante() const {
  const std::vector<platform::Printer*> liste = platform::PrinterList();
  if (IndicePrn < 0 || IndicePrn >= static_cast<int>(liste.size())) return nullptr;
  return liste[static_cast<size_t>(IndicePrn)];
}

void TListeFormatsPapier::CreeListeFormats(platform::Printer& prn) {
  Clear();
  FormatsCharges = false;
  NbreFormatPrn = -1;
  const auto formats = prn.PaperFormats();
  if (!formats) return;
  for (const platform::PaperFormat& p : *formats) {
    auto f = std::make_unique<TFormatPapier>(true);
    f->NomFormat = p.Name;
    f->CodeFormat = p.Code;
    f->LargBrut = Arrondi(p.WidthTenthMm / 10.0);
    f->HautBrut = Arrondi(p.HeightTenthMm / 10.0);
    Add(std::move(f));
  }
  FormatsCharges = true;
  NbreFormatPrn = Count() - 1;
}

bool TListeFormatsPapier::ChangeFormat(platform::Printer& prn, int n) {
  const TFormatPapier* f = LeFormat(n);
  return f && prn.SetPaper(f->CodeFormat);
}

bool TListeFormatsPapier::CreeListeDimensions(platform::Printer& prn) {
  if (!prn.SetOrientation(platform::PageOrientation::Portrait)) return false;
  const auto m = prn.Metrics();
  if (!m) return false;
  ContexteImpression& imp = Impression();
  imp.DecalXPrn = std::max(m->OffsetX, 200);
  imp.DecalYPrn = std::max(m->OffsetY, 100);
  CoeffPrinterPrn = PointsParMetre(m->DpiX);
  if (CoeffPrinterPrn <= 0) return false;
  ContexteFormats& ctx = Formats();
  ctx.LargMaxFormat = 0;
  ctx.HautMaxFormat = 0;
  for (int i = 0; i < Count(); ++i) {
    if (!ChangeFormat(prn, i)) return false;
    const auto page = prn.Metrics();
    if (!page) return false;
    TFormatPapier* f = LeFormat(i);
    f->LargP = Arrondi(((page->PageWidth - 2.0 * imp.DecalXPrn) / CoeffPrinterPrn - MargeXFormat / 1000.0) * 1000);
    f->HautP = Arrondi(((page->PageHeight - 2.0 * imp.DecalYPrn) / CoeffPrinterPrn - MargeYFormat / 1000.0) * 1000);
    ctx.LargMaxFormat = std::max(ctx.LargMaxFormat, f->LargP);
    ctx.HautMaxFormat = std::max(ctx.HautMaxFormat, f->HautP);
  }
  return true;
}

bool TListeFormatsPapier::ChargeFormatsImprimante() {
  platform::Printer* prn = Imprimante();
  if (!prn) return false;
  CreeListeFormats(*prn);
  if (!FormatsCharges) return false;
  return CreeListeDimensions(*prn);
}

int TListeFormatsPapier::FormatParCode(int32_t Code) const {
  for (int i = 0; i < Count(); ++i)
    if (LeFormat(i)->CodeFormat == Code) return i;
  return -1;
}

int TListeFormatsPapier::FormatParDims(int32_t L, int32_t H) const {
  for (int i = 0; i < Count(); ++i)
    if (LeFormat(i)->LargP == L && LeFormat(i)->HautP == H) return i;
  return -1;
}

int TListeFormatsPapier::FormatParTexte(const std::string& Nom) const {
  const std::string cle = foundation::EnMajuscules(Nom);
  for (int i = 0; i < Count(); ++i)
    if (foundation::EnMajuscules(LeFormat(i)->NomFormat) == cle) return i;
  return -1;
}

int TListeFormatsPapier::IndiceFormat(const TValFormat& vFormat) const {
  if (vFormat.CodeFormat < -4) return -1;
  int i = FormatParTexte(vFormat.NomFormat);
  if (i < 0) i = FormatParDims(vFormat.LargP, vFormat.HautP);
  if (i < 0 && vFormat.CodeFormat > 0) i = FormatParCode(vFormat.CodeFormat);
  return i;
}

bool TListeFormatsPapier::AjoutFormatAListe(const TValFormat& vFormat) {
  if (IndiceFormat(vFormat) >= 0) return false;
  auto f = std::make_unique<TFormatPapier>(false);
  f->NomFormat = vFormat.NomFormat;
  f->CodeFormat = vFormat.CodeFormat;
  f->LargP = vFormat.LargP;
  f->HautP = vFormat.HautP;
  Add(std::move(f));
  return true;
}

int TListeFormatsPapier::FormatVoisin(bool& HorsFormat, const TValFormat& vFormat) const {
  const int dernier = std::min<int>(NbreFormatPrn, Count() - 1);
  const auto contient = [](int32_t l1, int32_t h1, int32_t l2, int32_t h2) { return l1 >= l2 && h1 >= h2; };
  HorsFormat = false;
  for (int i = 0; i <= dernier; ++i)
    if (contient(LeFormat(i)->LargP, LeFormat(i)->HautP, vFormat.LargP, vFormat.HautP)) return i;
  HorsFormat = true;
  int candidat = -1;
  for (int i = 0; i <= dernier; ++i) {
    const TFormatPapier* f = LeFormat(i);
    if (!contient(vFormat.LargP, vFormat.HautP, f->LargP, f->HautP)) continue;
    if (candidat < 0 || contient(f->LargP, f->HautP, LeFormat(candidat)->LargP, LeFormat(candidat)->HautP))
      candidat = i;
  }
  return candidat;
}

bool ImprimanteUtilisable(int i) {
  const std::vector<platform::Printer*> liste = platform::PrinterList();
  if (i < 0 || i >= static_cast<int>(liste.size())) return false;
  return liste[static_cast<size_t>(i)]->Resolution().has_value();
}

TValFormat DimPrnFormat(const TValFormat& vFormat) {
  const ContexteImpression& imp = Impression();
  TValFormat r = vFormat;
  r.LPageReal = (vFormat.LargP / 1000.0 + MargeXFormat / 1000.0) * imp.CoeffPrn + 2.0 * imp.DecalXPrn;
  r.HPageReal = (vFormat.HautP / 1000.0 + MargeYFormat / 1000.0) * imp.CoeffPrn + 2.0 * imp.DecalYPrn;
  return r;
}

TFormatPapier* ContexteFormats::FormatCourant() const {
  return FormatsPapierCourants ? FormatsPapierCourants->LeFormat(IndiceFormatCourant) : nullptr;
}

void InitialiseListesFormats() {
  ContexteFormats& ctx = Formats();
  ctx.FormatsPapierCourants = nullptr;
  ctx.IndiceFormatCourant = -1;
  ctx.ListesFormatsImprimantes.clear();
  const size_t n = platform::PrinterList().size();
  for (size_t i = 0; i < n; ++i)
    ctx.ListesFormatsImprimantes.push_back(std::make_unique<TListeFormatsPapier>(static_cast<int>(i)));
}

GardeFormats::GardeFormats() : sauve_(std::move(Formats())) { Formats() = ContexteFormats(); }

GardeFormats::~GardeFormats() { Formats() = std::move(sauve_); }

}  // namespace views
