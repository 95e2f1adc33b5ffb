#include "foundation/flux.h"

#include <algorithm>

#include "foundation/codage.h"
#include "platform/files.h"

namespace foundation {

size_t TFluxMemoire::Lit(void* dest, size_t n) {
  const size_t k = std::min(n, octets_.size() - position_);
  if (k < n) NoteFinAtteinte();
  if (k > 0) std::memcpy(dest, octets_.data() + position_, k);
  position_ += k;
  return k;
}

size_t TFluxMemoire::Ecrit(const void* src, size_t n) {
  const size_t k = position_ >= limite_ ? 0 : std::min(n, limite_ - position_);
  if (k == 0) return 0;
  if (position_ + k > octets_.size()) octets_.resize(position_ + k);
  std::memcpy(octets_.data() + position_, src, k);
  position_ += k;
  return k;
}

bool ChargeFlux(const std::string& chemin, TFluxMemoire& flux) {
  std::string octets;
  if (!platform::ReadFile(chemin, octets)) return false;
  flux = TFluxMemoire(std::move(octets));
  return true;
}

bool EnregistreFlux(const std::string& chemin, const TFluxMemoire& flux) {
  return platform::WriteFileAtomic(chemin, flux.Octets());
}

bool EcritChaineA(TFlux& f, std::string_view texte) {
  const std::string octets = VersWindows1252(texte);
  if (octets.size() > INT32_MAX) return false;
  if (!f.EcritInteger(static_cast<int32_t>(octets.size()))) return false;
  return octets.empty() || f.Ecrit(octets.data(), octets.size()) == octets.size();
}

bool LitChaineA(TFlux& f, std::string& texte) {
  int32_t n;
  if (!f.LitInteger(n)) return false;
  if (n <= 0) {
    texte.clear();
    return true;
  }
  if (!f.Contient(static_cast<uint64_t>(n))) return false;
  std::string octets(static_cast<size_t>(n), '\0');
  if (f.Lit(octets.data(), octets.size()) != octets.size()) return false;
  texte = DepuisWindows1252(octets);
  return true;
}

bool EcritListeChaines(TFlux& f, const std::vector<std::string>& lignes) {
  if (lignes.size() > INT32_MAX || !f.EcritInteger(static_cast<int32_t>(lignes.size()))) return false;
  for (const std::string& l : lignes)
    if (!EcritChaineA(f, l)) return false;
  return true;
}

bool LitListeChaines(TFlux& f, std::vector<std::string>& lignes) {
  int32_t n;
  if (!f.LitInteger(n)) return false;
  // Each text takes at least its 4-byte count.
  if (n > 0 && !f.Contient(static_cast<uint64_t>(n), 4)) return false;
  for (int32_t i = 0; i < n; ++i) {
    std::string l;
    if (!LitChaineA(f, l)) return false;
    lignes.push_back(std::move(l));
  }
  return true;
}

}  // namespace foundation
