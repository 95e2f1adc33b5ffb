#pragma once
// An ellipsoid of the catalogue: semi-major axis and first eccentricity.
#include <string>
#include <string_view>

#include "foundation/flux.h"

namespace projections {

class TEllipsoide {
 public:
  double a = 0;  // semi-major axis, metres
  double e = 0;  // first eccentricity (not its square)
  std::string Nom;
  std::string Description;
  bool Valid = false;

  // Semi-minor axis; setting it changes e and keeps a.
  double b() const;
  void SetB(double valeur);
  // Inverse flattening a / (a - b); infinite for a sphere.  Setting it sets b
  // to (1 - 1/v) a.
  double Invf() const;
  void SetInvf(double valeur);

  // Reads the definition that follows "Ellipsoide=" on the stream: name,
  // description, a and e.  Raises on a wrong token count or a bad number.
  void LoadFromStream(foundation::TFlux& flux);
  void LitDefinition(std::string_view definition);
  // Writes the catalogue line (with its CR LF).
  void SaveToStream(foundation::TFlux& flux) const;
  // The catalogue line without its line end.
  std::string Ligne() const;
  // Copies Nom, Description, a and e.
  void Assign(const TEllipsoide& autre);
};

}  // namespace projections
