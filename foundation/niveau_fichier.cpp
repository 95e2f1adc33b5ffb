#include "foundation/niveau_fichier.h"

#include "foundation/chaines.h"

namespace foundation {

void DecodeVersionFichier() {
  ContexteNiveauFichier& c = NiveauFichier();
  c.VersionLogicielFichier.clear();
  std::string niveau = c.EnTeteFichier;
  const size_t barre = niveau.find('/');
  if (barre != std::string::npos) {
    c.VersionLogicielFichier = niveau.substr(0, barre);
    niveau.erase(0, barre + 1);
  }
  const std::string reste = niveau.size() > 7 ? niveau.substr(7) : std::string();
  int32_t n;
  if (!LitEntier(reste, n)) throw ErreurConversion("'" + reste + "' n'est pas une valeur entière valide");
  c.VersionFichierLue = n == 226 ? 500 : n;
}

bool VersionAncienne() { return NiveauFichier().VersionFichierLue < 500; }

std::string EnTeteDocumentCourant() {
  return std::string(ContexteNiveauFichier::TexteVersionLogiciel) + "/" + ContexteNiveauFichier::TexteVersionCourante;
}

}  // namespace foundation
