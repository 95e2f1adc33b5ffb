#include "projections/erreur_projection.h"

#include "foundation/chaines.h"

namespace projections {

std::string MessageFormate(foundation::IdMsg id, std::initializer_list<std::string_view> valeurs) {
  const std::string& modele = foundation::Msg(id);
  std::string r;
  r.reserve(modele.size() + 32);
  auto valeur = valeurs.begin();
  for (size_t i = 0; i < modele.size(); ++i) {
    if (modele[i] == '%' && i + 1 < modele.size() && modele[i + 1] == 's' && valeur != valeurs.end()) {
      r += *valeur++;
      ++i;
    } else {
      r += modele[i];
    }
  }
  return r;
}

double LitNombre(std::string_view texte) {
  double v;
  if (!foundation::LitReel(texte, v))
    throw EConversion(MessageFormate(foundation::IdMsg::ProjNombreIncorrect, {texte}));
  return v;
}

int32_t LitNombreEntier(std::string_view texte) {
  int32_t v;
  if (!foundation::LitEntier(texte, v))
    throw EConversion(MessageFormate(foundation::IdMsg::ProjEntierIncorrect, {texte}));
  return v;
}

}  // namespace projections
