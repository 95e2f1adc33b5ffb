#include "projections/grille_ign.h"

#include <cmath>
#include <string_view>

#include "foundation/arrondi.h"
#include "foundation/codage.h"
#include "platform/files.h"
#include "projections/erreur_projection.h"

namespace projections {

using foundation::IdMsg;

namespace {

std::vector<std::string_view> Lignes(std::string_view texte) {
  std::vector<std::string_view> lignes;
  size_t debut = 0;
  while (debut <= texte.size()) {
    size_t fin = texte.find('\n', debut);
    if (fin == std::string_view::npos) fin = texte.size();
    std::string_view l = texte.substr(debut, fin - debut);
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    lignes.push_back(l);
    if (fin == texte.size()) break;
    debut = fin + 1;
  }
  return lignes;
}

std::vector<std::string_view> Champs(std::string_view ligne, std::string_view separateurs) {
  std::vector<std::string_view> champs;
  size_t i = 0;
  while (i < ligne.size()) {
    while (i < ligne.size() && separateurs.find(ligne[i]) != std::string_view::npos) ++i;
    if (i >= ligne.size()) break;
    const size_t debut = i;
    while (i < ligne.size() && separateurs.find(ligne[i]) == std::string_view::npos) ++i;
    champs.push_back(ligne.substr(debut, i - debut));
  }
  return champs;
}

bool EstVide(std::string_view ligne) { return ligne.find_first_not_of(" \t") == std::string_view::npos; }

}  // namespace

TGrilleIgn::TGrilleIgn(const std::string& FileName) {
  const std::string& nomAffiche = FileName;
  std::string octets;
  if (!platform::ReadFile(FileName, octets))
    throw EConversion(MessageFormate(IdMsg::ProjGrilleIllisible, {nomAffiche}));
  const auto lignes = Lignes(octets);
  const auto erreurEnTete = [&] { return EConversion(MessageFormate(IdMsg::ProjGrilleEnTeteIncorrect, {nomAffiche})); };
  const auto erreurLigne = [&](size_t numero) {
    return EConversion(MessageFormate(IdMsg::ProjGrilleLigneIncorrecte, {std::to_string(numero + 1), nomAffiche}));
  };
  const auto nombre = [&](std::string_view champ, size_t numero) {
    try {
      return LitNombre(champ);
    } catch (const EConversion&) {
      throw erreurLigne(numero);
    }
  };

  const bool ign = foundation::EnMajuscules(platform::ExtensionOf(FileName)) == ".TXT";

  // Header.
  size_t ligneEnTete = ign ? 1 : 0;
  if (lignes.size() <= ligneEnTete) throw erreurEnTete();
  const auto enTete = Champs(lignes[ligneEnTete], " \t");
  const size_t premier = ign ? 1 : 0;
  if (enTete.size() < premier + 6) throw erreurEnTete();
  double valeurs[6];
  for (int k = 0; k < 6; ++k) {
    try {
      valeurs[k] = LitNombre(enTete[premier + k]);
    } catch (const EConversion&) {
      throw erreurEnTete();
    }
    if (!std::isfinite(valeurs[k])) throw erreurEnTete();
  }
  longMin_ = valeurs[0];
  longMax_ = valeurs[1];
  latMin_ = valeurs[2];
  latMax_ = valeurs[3];
  pasLong_ = valeurs[4];
  pasLat_ = valeurs[5];
  if (!(pasLong_ > 0 && pasLat_ > 0 && longMax_ >= longMin_ && latMax_ >= latMin_)) throw erreurEnTete();
  const double colonnes = std::nearbyint((longMax_ - longMin_) / pasLong_) + 1;
  const double rangees = std::nearbyint((latMax_ - latMin_) / pasLat_) + 1;
  // Each node takes more than one byte in a complete file: a header that asks
  // for more nodes than the file has bytes is not a grid.
  if (!(colonnes * rangees <= static_cast<double>(octets.size()) && colonnes < 1e9 && rangees < 1e9))
    throw erreurEnTete();
  nbLong_ = static_cast<int>(colonnes);
  nbLat_ = static_cast<int>(rangees);
  const size_t total = static_cast<size_t>(nbLong_) * static_cast<size_t>(nbLat_);
  coefX_.assign(total, 0.0);
  coefY_.assign(total, 0.0);
  coefZ_.assign(total, 0.0);

  const bool noeudsEnLigne = !ign && enTete.size() == 6;
  const size_t debutNoeuds = ign ? 4 : 1;
  std::string_view separateurs;
  for (size_t n = debutNoeuds; n < lignes.size(); ++n) {
    if (EstVide(lignes[n])) continue;
    separateurs = lignes[n].find(' ') != std::string_view::npos ? " " : "\t";
    break;
  }

  if (noeudsEnLigne) {
    if (lignes.size() <= 1) throw erreurLigne(1);
    const auto champs = Champs(lignes[1], separateurs.empty() ? " " : separateurs);
    if (champs.size() < 4 * total) throw erreurLigne(1);
    for (size_t k = 0; k < total; ++k) {
      coefX_[k] = nombre(champs[4 * k], 1);
      coefY_[k] = nombre(champs[4 * k + 1], 1);
      coefZ_[k] = nombre(champs[4 * k + 2], 1);
    }
    return;
  }

  const size_t saut = ign ? 1 : 0;
  for (size_t n = debutNoeuds; n < lignes.size(); ++n) {
    if (EstVide(lignes[n])) continue;
    const auto champs = Champs(lignes[n], separateurs);
    if (champs.size() < saut + 6) throw erreurLigne(n);
    const double longitude = nombre(champs[saut], n);
    const double latitude = nombre(champs[saut + 1], n);
    const double tx = nombre(champs[saut + 2], n);
    const double ty = nombre(champs[saut + 3], n);
    const double tz = nombre(champs[saut + 4], n);
    const double i = std::nearbyint((longitude - longMin_) / pasLong_);
    const double j = std::nearbyint((latitude - latMin_) / pasLat_);
    // A node outside the announced box has no place in the arrays.
    if (!(i >= 0 && i < nbLong_ && j >= 0 && j < nbLat_)) throw erreurLigne(n);
    const size_t k = static_cast<size_t>(i) * nbLat_ + static_cast<size_t>(j);
    coefX_[k] = tx;
    coefY_[k] = ty;
    coefZ_[k] = tz;
  }
}

bool TGrilleIgn::GetTranslation(double Lat, double Long, double& TX, double& TY, double& TZ) const {
  if (!std::isfinite(Lat) || !std::isfinite(Long)) return false;
  if (Long < longMin_ || Long > longMax_ || Lat < latMin_ || Lat > latMax_) return false;
  if (nbLong_ <= 0 || nbLat_ <= 0) return false;
  const double u = (Long - longMin_) / pasLong_;
  const double v = (Lat - latMin_) / pasLat_;
  int i = static_cast<int>(std::trunc(u));
  int j = static_cast<int>(std::trunc(v));
  double fu = u - i;
  double fv = v - j;
  // On the east or north edge (or just past it by rounding) the last cell
  // holds the point; with a single column or row the neighbour is the node
  // itself.
  if (i >= nbLong_ - 1) {
    i = nbLong_ - 1;
    fu = 0;
  }
  if (j >= nbLat_ - 1) {
    j = nbLat_ - 1;
    fv = 0;
  }
  const size_t k = static_cast<size_t>(i) * nbLat_ + j;
  const size_t pasI = i + 1 < nbLong_ ? nbLat_ : 0;
  const size_t pasJ = j + 1 < nbLat_ ? 1 : 0;
  const auto interpole = [&](const std::vector<double>& c) {
    return (1 - fu) * (1 - fv) * c[k] + fu * (1 - fv) * c[k + pasI] + (1 - fu) * fv * c[k + pasJ] +
           fu * fv * c[k + pasI + pasJ];
  };
  TX = interpole(coefX_);
  TY = interpole(coefY_);
  TZ = interpole(coefZ_);
  return true;
}

}  // namespace projections
