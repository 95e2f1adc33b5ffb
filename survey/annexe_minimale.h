#pragma once
// The drawing part of a cave when the drawing subsystem has installed no
// annex factory: the cave has no own line style, no sketch, an empty plan
// drawing and its long sections as shells (name, kind, scale, shot entries
// and an empty drawing), so that documents without drawings are read and
// written whole.  Any drawing content, sketch, page layout of a long section
// or background of a display configuration makes its record fail: such a
// document needs the drawing subsystem.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/flux.h"
#include "survey/ports_survey.h"

namespace survey {

class TCavite;
class TVisee;

// The stored scalars of an empty drawing.
struct TDessinVide {
  uint8_t TypeDeDessin = 0;  // tddPlani
  int32_t EchelleDessin = -1;
  double CoeffDessinCoupes = 1.0;
  bool EncadreCoupes = true;
  double AngleCoupeProj = -1000;

  bool Ecrit(foundation::TFlux& f) const;
  // Fails on any element, cross section or offset part.
  bool Lit(foundation::TFlux& f);
};

// A long section without drawing content.
struct TCoupeLongVide {
  TDessinVide Dessin;
  bool Partielle = false;
  std::string DesignCoupe;
  struct Entree {
    TVisee* Visee = nullptr;  // not owned; checked against the network's shots before writing
    int8_t SensVisee = 1;
  };
  std::vector<Entree> ViseesCoupe;

  bool Ecrit(foundation::TFlux& f, const std::vector<const TVisee*>& existantes) const;
  bool Lit(foundation::TFlux& f);
};

class TAnnexeMinimale : public TAnnexeCavite {
 public:
  // A new cave's: the whole oriented elevation "Coupe développée globale".
  explicit TAnnexeMinimale(TCavite& cavite);

  bool EcritStylesCavite(foundation::TFlux& f) override;
  bool LitStylesCavite(foundation::TFlux& f) override;
  bool EcritDessins(foundation::TFlux& f) override;
  bool LitDessins(foundation::TFlux& f) override;
  bool CorrigeCoupesAnciennes() override;
  int NombreCoupesLong() const override { return static_cast<int>(CoupesLong.size()); }
  bool EcritConfig(foundation::TFlux& f) override;
  bool LitConfig(foundation::TFlux& f, bool coupesDecalees) override;

  TCavite& Cavite;
  TDessinVide DessinPlani;
  std::vector<TCoupeLongVide> CoupesLong;
};

// Gives the cave the minimal annex when it has none.
void AssureAnnexe(TCavite& cavite);

}  // namespace survey
