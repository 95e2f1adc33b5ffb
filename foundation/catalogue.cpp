#include "foundation/catalogue.h"

#include "foundation/chaines.h"

namespace foundation {
namespace {

const std::string kTextes[] = {
#define MESSAGE(id, texte) texte,
#include "foundation/catalogue/tous.def"
#undef MESSAGE
};
static_assert(sizeof(kTextes) / sizeof(kTextes[0]) == static_cast<size_t>(IdMsg::NombreDeMessages));

struct Paire {
  IdMsg masculin, feminin;
};
constexpr Paire kPaires[] = {
    {IdMsg::LeAffiche, IdMsg::LaAffichee},
    {IdMsg::CreerUnNouveau, IdMsg::CreerUneNouvelle},
    {IdMsg::SelectionnesM, IdMsg::SelectionneesF},
    {IdMsg::CreeAPartirDuEnCours, IdMsg::CreeAPartirDeLaEnCours},
    {IdMsg::RemplacerUnParUnAutre, IdMsg::RemplacerUneParUneAutre},
};

struct Mot {
  IdMsg singulier, pluriel;
  unsigned char mf;
};
constexpr Mot kMots[7] = {
    {IdMsg::MotTexture, IdMsg::MotTextures, 1},
    {IdMsg::MotTrait, IdMsg::MotTraits, 0},
    {IdMsg::MotRemplissage, IdMsg::MotRemplissages, 0},
    {IdMsg::MotSymbole, IdMsg::MotSymboles, 0},
    {IdMsg::MotFlecheNord, IdMsg::MotFlechesNord, 1},
    {IdMsg::MotMotifDeSurface, IdMsg::MotMotifsDeSurface, 0},
    {IdMsg::MotTypeDEcriture, IdMsg::MotTypesDEcritures, 0},
};

}  // namespace

const std::string& Msg(IdMsg id) {
  const auto i = static_cast<size_t>(id);
  static const std::string vide;
  return i < static_cast<size_t>(IdMsg::NombreDeMessages) ? kTextes[i] : vide;
}

std::string TMesStringList::Texte() const {
  std::string r;
  for (const std::string& l : *this) r += " " + OteBlancs(l);
  return OteBlancs(r);
}

std::string RemplaceMarques(const std::string& message, const std::vector<std::string>& valeurs) {
  static const std::string marque = "%%%%";
  std::string r = message;
  for (const std::string& v : valeurs) {
    // Each replacement acts on the result of the previous one, from its start.
    const size_t p = r.find(marque);
    if (p == std::string::npos) break;
    r.replace(p, marque.size(), v);
  }
  return r;
}

std::string MessageGenre(PaireGenre paire, const TStringMF& mots) {
  const Paire& p = kPaires[static_cast<int>(paire)];
  return RemplaceMarques(Msg(mots.MF == 1 ? p.feminin : p.masculin), mots.Mots);
}

const std::array<TStringMF, 7>& MotsSinguliers() {
  static const std::array<TStringMF, 7> table = [] {
    std::array<TStringMF, 7> t;
    for (int i = 0; i < 7; ++i) t[i] = {{Msg(kMots[i].singulier), Msg(kMots[i].singulier)}, kMots[i].mf};
    return t;
  }();
  return table;
}

const std::array<TStringMF, 7>& MotsPluriels() {
  static const std::array<TStringMF, 7> table = [] {
    std::array<TStringMF, 7> t;
    for (int i = 0; i < 7; ++i) t[i] = {{Msg(kMots[i].pluriel)}, kMots[i].mf};
    return t;
  }();
  return table;
}

}  // namespace foundation
