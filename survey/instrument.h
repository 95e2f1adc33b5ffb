#pragma once
// Measuring instruments.  The document keeps one list of them; survey trips
// refer to their azimuth, length and slope instruments by position in it.
#include <cstdint>
#include <string>
#include <string_view>

#include "foundation/objet_de_liste.h"

namespace survey {

// What an instrument measures.
enum class TTypeInst : uint8_t { tiAucun, tiDist, tiAzim, tiPente, tiIndet };
inline constexpr int NombreTypesInst = 5;
// "Aucun", "Distance", "Azimut", "Pente", "Indéterminé".
const std::string& NomTypeInst(TTypeInst t);

// Unit of an instrument's readings.
enum class TTypeUnite : uint8_t { tuDegres, tuGrades, tuPourcent, tuMetres };
inline constexpr int NombreTypesUnite = 4;

// One instrument.  Record: DesignInstr, Marque (texts), TypeInstr, Unites (one
// byte each), CoeffEtalon, CoeffLecture, PrecisionRel, PrecisionAbs (reals),
// TiGenre (text), RefPente (integer).  No level gate.
class TInstrument : public foundation::TObjetDeListe {
 public:
  std::string DesignInstr;
  // Make of the instrument (a text; it hides the working mark of the base).
  std::string Marque;
  TTypeInst TypeInstr = TTypeInst::tiAucun;
  TTypeUnite Unites = TTypeUnite::tuDegres;
  double CoeffEtalon = 1.0;
  double CoeffLecture = 1000.0;
  double PrecisionRel = 0;
  double PrecisionAbs = 0;
  // Kind of instrument, free text ("Profondimètre" for a depth gauge).
  std::string TiGenre;
  // Slope instruments: where the zero lies, 1 at the top, 0 horizontal, -1 at the bottom.
  int32_t RefPente = 0;
  // In memory only: a trip refers to the instrument.
  bool Utilise = false;

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

  // A slope instrument of kind "Profondimètre".
  bool EstProfondim() const;
};

// The document's instruments.
class TListeInstruments : public foundation::TListeFichier<TInstrument> {
 public:
  TInstrument* UnInstrument(int i) const { return UnObjet(i); }
  // The first instrument whose name, trimmed and with ASCII letters upper-cased,
  // equals the given one treated the same way; none otherwise.
  TInstrument* ChercheInstrumentParStr(std::string_view nom) const;
  // The first instrument of that name (compared as above) and that type; when
  // there is none, a new one is appended with the trimmed name and the type (a
  // slope instrument named "Topofil Vulcain" gets its zero at the top).
  TInstrument* RajouteInstrumentParStr(std::string_view nom, TTypeInst type);
};

}  // namespace survey
