#include "drawing/ports_dessin.h"

namespace drawing {

bool TConfigSansFond::EcritObjet(foundation::TFlux& f) { return f.EcritInteger(0) && f.EcritInteger(0); }

bool TConfigSansFond::LitObjet(foundation::TFlux& f) {
  int32_t images = -1, svg = -1;
  return f.LitInteger(images) && images <= 0 && f.LitInteger(svg) && svg <= 0;
}

std::unique_ptr<TConfigDessin> CreeConfigDessin() {
  if (PortsDonnees().CreeConfig)
    if (auto c = PortsDonnees().CreeConfig()) return c;
  return std::make_unique<TConfigSansFond>();
}

}  // namespace drawing
