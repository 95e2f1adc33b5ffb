#include "survey/parties_reseau.h"

#include "foundation/niveau_fichier.h"
#include "survey/bouclage.h"

namespace survey {

using foundation::TFlux;

namespace {

int32_t Niveau() { return foundation::NiveauFichier().VersionFichierLue; }

// One list of patterns in the form of the library record: its category names
// (above level 225), then its count.
bool LitListeMotifsVide(TFlux& f) {
  if (Niveau() > 225) {
    int32_t n = 0;
    if (!f.LitInteger(n)) return false;
    if (n > 0 && !f.Contient(static_cast<uint64_t>(n), 4)) return false;
    for (int32_t i = 0; i < n; ++i) {
      std::string nom;
      if (!foundation::LitChaineA(f, nom)) return false;
    }
  }
  int32_t n = 0;
  return f.LitInteger(n) && n <= 0;
}

bool EcritListeMotifsVide(TFlux& f) { return f.EcritInteger(0) && f.EcritInteger(0); }

// The parts of a network whose subsystem registered nothing.
class TBibliothequeVide : public TPartieReseau {
 public:
  bool Ecrit(TFlux& f) override { return EcritBibliothequeVide(f); }
  bool Lit(TFlux& f) override { return LitBibliothequeVide(f); }
  bool EcritConfig(TFlux& f) override { return EcritListeMotifsVide(f); }
  bool LitConfig(TFlux& f) override { return LitListeMotifsVide(f); }
};

class TCartesVides : public TPartieReseau {
 public:
  bool Ecrit(TFlux& f) override { return f.EcritInteger(0) && f.EcritInteger(-1); }
  bool Lit(TFlux& f) override {
    int32_t n = 0, active = -1;
    return f.LitInteger(n) && f.LitInteger(active) && n <= 0;
  }
};

class TBouclagesVides : public TPartieReseau {
 public:
  bool Ecrit(TFlux&) override { return true; }
  bool Lit(TFlux&) override { return true; }
};

class TMisesEnPageVides : public TPartieReseau {
 public:
  bool Ecrit(TFlux& f) override { return f.EcritInteger(0); }
  bool Lit(TFlux& f) override {
    int32_t n = 0;
    return f.LitInteger(n) && n <= 0;
  }
};

}  // namespace

std::unique_ptr<TPartieReseau> CreePartie(TGenrePartie genre, TReseau& reseau) {
  const auto& fabrique = Fabriques().Parties[static_cast<size_t>(genre)];
  if (fabrique)
    if (auto p = fabrique(reseau)) return p;
  switch (genre) {
    case TGenrePartie::BibliothequeMotifs:
      return std::make_unique<TBibliothequeVide>();
    case TGenrePartie::Cartes:
      return std::make_unique<TCartesVides>();
    case TGenrePartie::Bouclages:
      return std::make_unique<TBouclagesVides>();
    case TGenrePartie::MisesEnPagePlan:
      break;
  }
  return std::make_unique<TMisesEnPageVides>();
}

bool EcritBibliothequeVide(TFlux& f) {
  for (int i = 0; i < 10; ++i)
    if (!EcritListeMotifsVide(f)) return false;
  return true;
}

bool LitBibliothequeVide(TFlux& f) {
  const int32_t niveau = Niveau();
  // Textures, line styles, fills, fonts, symbols, north arrows, surface
  // symbols, then the three sketch lists.
  const bool presentes[10] = {true,          true,          niveau >= 500, true,          true,
                              niveau >= 500, niveau >= 500, niveau >= 219, niveau >= 219, niveau >= 219};
  for (bool presente : presentes)
    if (presente && !LitListeMotifsVide(f)) return false;
  return true;
}

}  // namespace survey
