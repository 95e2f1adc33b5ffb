#pragma once
// Paper formats: per printer, the formats its driver offers with their names,
// codes and usable sizes measured from the driver, followed by the custom
// formats the document's layouts use; the conversion between a format and the
// printed page size in dots; the look-ups by name, size and code; and the
// choice of the printer format that carries a custom one.  The printers are
// reached through the printer port (platform/printer.h).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/objet_de_liste.h"
#include "foundation/point_topo.h"
#include "platform/printer.h"

namespace views {

// Millimetres taken from the printable width and height.
inline constexpr int32_t MargeXFormat = 1;
inline constexpr int32_t MargeYFormat = 6;

struct TValFormat {
  std::string NomFormat;
  int32_t CodeFormat = 0;  // driver code; 0 none; negative: not the driver's
  bool Materiel = false;   // reported by the driver
  int32_t LargP = 0;       // usable size, millimetres
  int32_t HautP = 0;
  double LPageReal = 0;    // usable size in metres, or in printer dots
  double HPageReal = 0;
  int32_t LPapier = 0;     // sheet size as the driver states it, millimetres
  int32_t HPapier = 0;
};

class TFormatPapier : public foundation::TObjetDeListe {
 public:
  explicit TFormatPapier(bool Mat = false) : Materiel(Mat) {}

  std::string NomFormat;
  int32_t CodeFormat = 0;
  bool Materiel = false;
  int32_t LargBrut = 0;  // sheet, mm
  int32_t HautBrut = 0;
  int32_t LargP = 0;     // usable, mm
  int32_t HautP = 0;
  TFormatPapier* FormatReel = nullptr;

  // The record of the format, its usable size in metres.
  TValFormat ValFormat() const;
  // "A4 (210x297)": the sheet size, taken from the usable size (and kept)
  // while the sheet size is unknown.
  std::string DesignFormat();
  foundation::TRect RectFormat() const { return {0, 0, LargP, HautP}; }

  // Formats are never stored.
  bool EcritObjet(foundation::TFlux&) override { return false; }
  bool LitObjet(foundation::TFlux&) override { return false; }
};

class TListeFormatsPapier : public foundation::TListeFichier<TFormatPapier> {
 public:
  explicit TListeFormatsPapier(int indicePrn = -1) : IndicePrn(indicePrn) {}

  int32_t NbreFormatPrn = -1;    // last format reported by the driver
  bool FormatsCharges = false;   // the driver was queried
  double CoeffPrinterPrn = 0;    // printer dots per metre
  int IndicePrn = -1;            // position in the printer list

  TFormatPapier* LeFormat(int i) const { return UnObjet(i); }
  // The printer of this list; none when IndicePrn is out of the list.
  platform::Printer* Imprimante() const;

  // Asks the driver for its paper names, codes and sheet sizes.  A printer
  // that cannot be opened leaves the list empty and FormatsCharges false.
  void CreeListeFormats(platform::Printer& prn);
  // Measures the usable size of every format; false at the first driver
  // error, the formats measured so far keeping their size.
  bool CreeListeDimensions(platform::Printer& prn);
  // Makes format n the printer's paper.
  bool ChangeFormat(platform::Printer& prn, int n);
  // Both on this list's printer; false when it could not be opened or the
  // driver failed.
  bool ChargeFormatsImprimante();

  // Index of the first format with that code / usable size / name (case
  // ignored); -1 when none.
  int FormatParCode(int32_t Code) const;
  int FormatParDims(int32_t L, int32_t H) const;
  int FormatParTexte(const std::string& Nom) const;
  // -1 for a code below -4; else by name, by usable size, then (positive
  // codes) by code; -1 when none.
  int IndiceFormat(const TValFormat& vFormat) const;
  // Appends the format when IndiceFormat finds nothing; true when appended.
  bool AjoutFormatAListe(const TValFormat& vFormat);
  // The driver format that carries vFormat: the first that contains it;
  // else (HorsFormat true) the largest chain of formats lying inside it;
  // -1 when none fits either way.
  int FormatVoisin(bool& HorsFormat, const TValFormat& vFormat) const;
};

// Selects printer i and asks its resolution; false on a driver error or a
// printer not in the list.
bool ImprimanteUtilisable(int i);
// The printed page size in dots of a format (LPageReal, HPageReal), with the
// print transform's dots per metre and offsets.
TValFormat DimPrnFormat(const TValFormat& vFormat);

// The process-wide format lists.
struct ContexteFormats {
  // One list per printer of the printer list, in its order.
  std::vector<std::unique_ptr<TListeFormatsPapier>> ListesFormatsImprimantes;
  // The list of the printer chosen in the drawing view, and its chosen format.
  TListeFormatsPapier* FormatsPapierCourants = nullptr;
  int IndiceFormatCourant = -1;
  // The greatest usable size among the formats of the last printer measured.
  int32_t LargMaxFormat = 0;
  int32_t HautMaxFormat = 0;

  // The chosen format; none when there is no list or the index is out of it.
  TFormatPapier* FormatCourant() const;
};

ContexteFormats& Formats();
// One empty list per printer of the printer list (start-up).
void InitialiseListesFormats();

// Sets the format lists aside for the life of the guard (empty ones stand in)
// and puts them back.
class GardeFormats {
 public:
  GardeFormats();
  ~GardeFormats();
  GardeFormats(const GardeFormats&) = delete;
  GardeFormats& operator=(const GardeFormats&) = delete;

 private:
  ContexteFormats sauve_;
};

}  // namespace views
