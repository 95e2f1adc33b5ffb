#pragma once
// PROJ's command-line programs as oracles: cs2cs converts points between two
// PROJ definitions, proj -V reports the meridian convergence at a point.
// Each helper returns nothing when the program is not installed.
#include <array>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/chaines.h"
#include "tests/support/dossier_temp.h"

namespace oracle {

inline bool ProgrammeDisponible(const char* nom) {
  const std::string commande = std::string("command -v ") + nom + " >/dev/null 2>&1";
  return std::system(commande.c_str()) == 0;
}

inline bool Cs2csDisponible() {
  static const bool present = ProgrammeDisponible("cs2cs");
  return present;
}
inline bool ProjDisponible() {
  static const bool present = ProgrammeDisponible("proj");
  return present;
}

// Runs the command with the given text on its standard input and returns its
// output.
inline std::optional<std::string> Execute(const std::string& commande, const std::string& entree) {
  testsupport::DossierTemp dossier;
  const std::string fichier = dossier.Fichier("entree.txt");
  testsupport::EcritOctets(fichier, entree);
  FILE* p = popen((commande + " < '" + fichier + "' 2>&1").c_str(), "r");
  if (!p) return std::nullopt;
  std::string sortie;
  char tampon[4096];
  size_t n;
  while ((n = fread(tampon, 1, sizeof tampon, p)) > 0) sortie.append(tampon, n);
  if (pclose(p) != 0) return std::nullopt;
  return sortie;
}

inline std::vector<double> Nombres(const std::string& ligne) {
  std::vector<double> r;
  std::istringstream flux(ligne);
  std::string mot;
  while (flux >> mot) {
    double v;
    if (foundation::LitReel(mot, v)) r.push_back(v);
  }
  return r;
}

// Converts each (first, second) pair with cs2cs from the source to the target
// definition; geographic values are degrees, longitude first as PROJ wants.
// Output: 12 decimals.
inline std::optional<std::vector<std::array<double, 3>>> Cs2cs(const std::string& source, const std::string& cible,
                                                               const std::vector<std::array<double, 2>>& points) {
  if (!Cs2csDisponible()) return std::nullopt;
  std::string entree;
  for (const auto& p : points) entree += foundation::ReelEnTexteExact(p[0]) + " " + foundation::ReelEnTexteExact(p[1]) + " 0\n";
  const auto sortie = Execute("cs2cs -f %.12f " + source + " +to " + cible, entree);
  if (!sortie) return std::nullopt;
  std::vector<std::array<double, 3>> r;
  std::istringstream lignes(*sortie);
  std::string ligne;
  while (std::getline(lignes, ligne)) {
    const auto v = Nombres(ligne);
    if (v.size() < 3) return std::nullopt;
    r.push_back({v[0], v[1], v[2]});
  }
  if (r.size() != points.size()) return std::nullopt;
  return r;
}

// The meridian convergence in degrees that proj -V reports at the grid point
// (x, y) of the definition.
inline std::optional<double> ConvergenceProj(const std::string& definition, double x, double y) {
  if (!ProjDisponible()) return std::nullopt;
  const auto sortie = Execute("proj -V -I " + definition,
                              foundation::ReelEnTexteExact(x) + " " + foundation::ReelEnTexteExact(y) + "\n");
  if (!sortie) return std::nullopt;
  const size_t pos = sortie->find("Convergence");
  if (pos == std::string::npos) return std::nullopt;
  const size_t debut = sortie->find('[', pos), fin = sortie->find(']', pos);
  if (debut == std::string::npos || fin == std::string::npos) return std::nullopt;
  double v;
  if (!foundation::LitReel(foundation::OteBlancs(sortie->substr(debut + 1, fin - debut - 1)), v)) return std::nullopt;
  return v;
}

// "+a=... +es=..." for an ellipsoid given by a and e, so that PROJ computes on
// exactly the same figure.
inline std::string Figure(double a, double e) {
  return "+a=" + foundation::ReelEnTexteExact(a) + " +es=" + foundation::ReelEnTexteExact(e * e);
}

inline void AnnonceOracle(const char* quoi) { std::cout << "[ oracle  ] PROJ (" << quoi << ")\n"; }

}  // namespace oracle
