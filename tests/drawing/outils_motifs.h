#pragma once
// Small helpers shared by the pattern tests.
#include <cstdio>
#include <string>

#include "foundation/flux.h"
#include "foundation/niveau_fichier.h"

namespace testmotifs {

// Sets the file level being read for the life of the object.
class Niveau {
 public:
  explicit Niveau(int32_t niveau) { foundation::NiveauFichier().VersionFichierLue = niveau; }

 private:
  foundation::GardeNiveauFichier garde_;
};

inline std::string Hex(const std::string& s) {
  std::string r;
  char b[4];
  for (unsigned char c : s) {
    std::snprintf(b, sizeof b, "%02X ", c);
    r += b;
  }
  if (!r.empty()) r.pop_back();
  return r;
}

// Bytes written by an object's EcritObjet.
template <class T>
std::string Octets(T& objet) {
  foundation::TFluxMemoire f;
  objet.EcritObjet(f);
  return f.Octets();
}

}  // namespace testmotifs
