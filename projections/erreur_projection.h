#pragma once
// The errors the projection library raises, with their French messages.  The
// catalogue catches them and drops the offending line; the service layer turns
// them into small return codes.
#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>

#include "foundation/catalogue.h"

namespace projections {

class EErreurProjection : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A text that does not read as a number or an angle.
class EConversion : public EErreurProjection {
 public:
  using EErreurProjection::EErreurProjection;
};

// A parameter index out of range, a wrong token count, an unknown name.
class EHorsLimites : public EErreurProjection {
 public:
  using EErreurProjection::EErreurProjection;
};

// Parameters no system can be set up from (two standard parallels symmetric
// about the equator, a latitude beyond a pole).
class EReglageImpossible : public EErreurProjection {
 public:
  using EErreurProjection::EErreurProjection;
};

// The catalogue message with each "%s" replaced in order by the values.
std::string MessageFormate(foundation::IdMsg id, std::initializer_list<std::string_view> valeurs);

// A whole decimal real with "." as the decimal point and an optional sign;
// anything else raises EConversion.
double LitNombre(std::string_view texte);
// A whole decimal integer with an optional sign; else EConversion.
int32_t LitNombreEntier(std::string_view texte);

}  // namespace projections
