#include "formats/import/plausibilite.h"

#include <cmath>
#include <numbers>

#include "formats/import/import_sauf_tprb.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "platform/dialogs.h"
#include "survey/lever.h"
#include "survey/visee.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;

namespace {

// A fixed-point text without its trailing zeros, a decimal comma and the
// thousands of its whole part grouped by blanks.
std::string TexteFrancais(double x, int decimales) {
  if (!std::isfinite(x)) return foundation::ReelEnTexteExact(x);
  std::string t = foundation::ReelEnTexteFixe(x, decimales);
  const size_t point = t.find('.');
  if (point != std::string::npos) {
    while (t.back() == '0') t.pop_back();
    if (t.back() == '.') t.pop_back();
  }
  const size_t virgule = t.find('.');
  if (virgule != std::string::npos) t[virgule] = ',';
  const size_t finEntier = virgule == std::string::npos ? t.size() : virgule;
  const size_t debutEntier = !t.empty() && t[0] == '-' ? 1 : 0;
  for (size_t k = finEntier; k > debutEntier + 3; k -= 3) t.insert(k - 3, " ");
  return t;
}

// The unit vector of a direction given in degrees.
struct Direction {
  double x, y, z;
};
Direction DirectionDe(double azimut, double pente) {
  constexpr double rad = std::numbers::pi / 180;
  const double h = std::cos(pente * rad);
  return {h * std::sin(azimut * rad), h * std::cos(azimut * rad), std::sin(pente * rad)};
}

}  // namespace

std::string NomChampLecture(ChampLecture champ) {
  switch (champ) {
    case ChampLecture::Aucun: return {};
    case ChampLecture::Longueur:
    case ChampLecture::LongueurHoriz: return Msg(IdMsg::ImportChampLongueur);
    case ChampLecture::TopofilDebut:
    case ChampLecture::TopofilFin: return Msg(IdMsg::ImportChampTopofil);
    case ChampLecture::Azimut: return Msg(IdMsg::ImportChampAzimut);
    case ChampLecture::Pente: return Msg(IdMsg::ImportChampPente);
    case ChampLecture::Denivelee: return Msg(IdMsg::ImportChampDenivelee);
    case ChampLecture::Profondeur: return Msg(IdMsg::ImportChampProfondeur);
    case ChampLecture::DimGauche:
    case ChampLecture::DimDroite:
    case ChampLecture::DimHaut:
    case ChampLecture::DimBas: return Msg(IdMsg::ImportChampDimension);
    case ChampLecture::CoordX: return Msg(IdMsg::ImportChampCoordX);
    case ChampLecture::CoordY: return Msg(IdMsg::ImportChampCoordY);
    case ChampLecture::Latitude: return Msg(IdMsg::ImportChampLatitude);
    case ChampLecture::Longitude: return Msg(IdMsg::ImportChampLongitude);
    case ChampLecture::Altitude: return Msg(IdMsg::ImportChampAltitude);
  }
  return {};
}

ConventionsPente ConventionsLever(const TLeverImport* lever) {
  ConventionsPente c;
  if (!lever) return c;
  c.UnitePente = lever->UnitP == 4   ? ConventionsPente::Unite::Pourcent
                 : lever->UnitP == 3 ? ConventionsPente::Unite::Grades
                                     : ConventionsPente::Unite::Degres;
  c.DepuisVerticale = lever->OrigPentes != 0;
  return c;
}

bool LongueurPossible(double l) { return std::isfinite(l) && l >= 0 && l <= MesureMax; }
bool MesurePossible(double x) { return std::isfinite(x) && std::fabs(x) <= MesureMax; }
bool AzimutPossible(double az) { return std::isfinite(az); }
bool LectureTopofilPossible(double x) { return std::isfinite(x) && x >= 0; }

bool PentePossible(double p, const ConventionsPente& c) {
  if (!std::isfinite(p)) return false;
  // Any finite percentage is a slope short of the vertical.
  if (c.UnitePente == ConventionsPente::Unite::Pourcent) return true;
  const double droit = c.UnitePente == ConventionsPente::Unite::Grades ? 100 : 90;
  // A reading past the half turn is a negative slope (350 degrees is -10),
  // as the transfer takes it.
  if (p > 2 * droit) p -= 4 * droit;
  const double bas = c.DepuisVerticale ? 0 : -droit, haut = c.DepuisVerticale ? 2 * droit : droit;
  return p >= bas && p <= haut;
}

ChampLecture LectureImpossible(const LecturesVisee& l, const ConventionsPente& c) {
  const uint8_t type = l.TypeSaisie;
  const bool horizontale = type == survey::SaisiePenteLongueurHoriz || type == survey::SaisieDenivLongueurHoriz;
  if (l.Topofil) {
    if (!LectureTopofilPossible(l.TopofilDebut)) return ChampLecture::TopofilDebut;
    if (!LectureTopofilPossible(l.TopofilFin)) return ChampLecture::TopofilFin;
    // The length the counter gives, from its readings rounded as the shot
    // keeps them.
    const double ecart = std::fabs(std::nearbyint(l.TopofilFin) - std::nearbyint(l.TopofilDebut));
    if (!LongueurPossible(ecart * std::fabs(l.EtalonTopofil))) return ChampLecture::TopofilFin;
  } else if (!horizontale && !LongueurPossible(l.Longueur)) {
    return ChampLecture::Longueur;
  }
  if (horizontale && !LongueurPossible(l.LongueurHoriz)) return ChampLecture::LongueurHoriz;
  if (!AzimutPossible(l.Azimut)) return ChampLecture::Azimut;
  switch (type) {
    case survey::SaisieDenivLongueur:
    case survey::SaisieDenivLongueurHoriz:
      if (!MesurePossible(l.Denivelee)) return ChampLecture::Denivelee;
      break;
    case survey::SaisieProfondeurLongueur:
      if (!MesurePossible(l.Profondeur)) return ChampLecture::Profondeur;
      break;
    default:
      if (!PentePossible(l.Pente, c)) return ChampLecture::Pente;
  }
  if (!MesurePossible(l.DimGauche)) return ChampLecture::DimGauche;
  if (!MesurePossible(l.DimDroite)) return ChampLecture::DimDroite;
  if (!MesurePossible(l.DimHaut)) return ChampLecture::DimHaut;
  if (!MesurePossible(l.DimBas)) return ChampLecture::DimBas;
  return ChampLecture::Aucun;
}

ChampLecture LectureImpossible(const TViseeImport& vi) {
  const TLeverImport* lever = vi.LeverTmp;
  LecturesVisee l;
  l.TypeSaisie = vi.TypePente;
  l.Longueur = vi.L;
  l.LongueurHoriz = vi.lh;
  l.Azimut = vi.Az;
  // The staged slope field carries the height difference of input type 2.
  l.Pente = vi.P;
  l.Denivelee = vi.TypePente == survey::SaisieDenivLongueurHoriz ? vi.dh : vi.P;
  l.Profondeur = vi.Prof;
  l.Topofil = lever && lever->Topofil;
  if (l.Topofil) {
    l.TopofilDebut = vi.TopoDeb;
    l.TopofilFin = vi.TopoFin;
    l.EtalonTopofil = lever->CoefTopf / 100;
  }
  l.DimGauche = vi.DimG;
  l.DimDroite = vi.DimD;
  l.DimHaut = vi.DimH;
  l.DimBas = vi.DimB;
  return LectureImpossible(l, ConventionsLever(lever));
}

ChampLecture LectureImpossible(const survey::TValeurVisee& v) {
  ConventionsPente c;
  LecturesVisee l;
  if (const survey::TLever* lever = v.LeLever) {
    c.UnitePente = lever->UniteP == 2   ? ConventionsPente::Unite::Pourcent
                   : lever->UniteP == 1 ? ConventionsPente::Unite::Grades
                                        : ConventionsPente::Unite::Degres;
    c.DepuisVerticale = lever->ZeroPente != 0;
    l.EtalonTopofil = lever->EtalonL;
  }
  l.TypeSaisie = v.Typesaisie;
  l.Longueur = v.Long;
  l.LongueurHoriz = v.LH;
  l.Azimut = v.Az;
  l.Pente = v.pente;
  l.Denivelee = v.Deniv;
  l.Profondeur = v.Deniv;
  l.Topofil = v.SaisieTopoFil;
  l.TopofilDebut = v.TopofilDeb;
  l.TopofilFin = v.TopofilFin;
  return LectureImpossible(l, c);
}

ChampLecture PositionImpossible(double latitude, double longitude, double altitude) {
  if (!std::isfinite(latitude) || std::fabs(latitude) > 90) return ChampLecture::Latitude;
  if (!std::isfinite(longitude) || std::fabs(longitude) > 180) return ChampLecture::Longitude;
  if (!std::isfinite(altitude) || std::fabs(altitude) > AltitudeMax) return ChampLecture::Altitude;
  return ChampLecture::Aucun;
}

ChampLecture PointImpossible(double x, double y, double z) {
  if (!std::isfinite(x) || std::fabs(x) > CoordonneeMax) return ChampLecture::CoordX;
  if (!std::isfinite(y) || std::fabs(y) > CoordonneeMax) return ChampLecture::CoordY;
  if (!std::isfinite(z) || std::fabs(z) > AltitudeMax) return ChampLecture::Altitude;
  return ChampLecture::Aucun;
}

std::string MessageLectureImpossible(const std::string& fichier, size_t ligne, ChampLecture champ,
                                     const std::string& texte) {
  return foundation::RemplaceMarques(
      Msg(IdMsg::ImportLectureImpossible),
      {fichier, foundation::EntierEnStr(static_cast<int64_t>(ligne)), NomChampLecture(champ), texte});
}

std::string MessageLectureImpossible(const std::string& fichier, const std::string& position, ChampLecture champ,
                                     const std::string& texte) {
  return foundation::RemplaceMarques(Msg(IdMsg::ImportLectureImpossibleEn),
                                     {fichier, position, NomChampLecture(champ), texte});
}

std::string PositionVisee(const std::string& de, const std::string& a) {
  if (a.empty()) return foundation::RemplaceMarques(Msg(IdMsg::ImportPositionRayonnante), {de});
  return foundation::RemplaceMarques(Msg(IdMsg::ImportPositionVisee), {de, a});
}

std::string PositionPoint(const std::string& nom) {
  return foundation::RemplaceMarques(Msg(IdMsg::ImportPositionPoint), {nom});
}

bool RefuseLecture(tImportAutres& lecteur, const std::string& message) {
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, message);
  lecteur.Abandon = true;  // the message is said: the pipeline adds none
  return lecteur.FichierIllisible();
}

std::string TexteLongueur(double metres) {
  if (std::isfinite(metres) && std::fabs(metres) >= 1000) {
    const double km = metres / 1000;
    if (std::fabs(km) >= 1e9) return foundation::ReelEnTexteExact(km) + " km";
    return TexteFrancais(km, std::fabs(km) >= 100 ? 0 : 3) + " km";
  }
  return TexteFrancais(metres, 3) + " m";
}

std::string TexteAngle(double angle, const std::string& unite) {
  if (std::isfinite(angle) && std::fabs(angle) >= 1e9) return foundation::ReelEnTexteExact(angle) + unite;
  return TexteFrancais(angle, 1) + unite;
}

// --- Repeated readings ------------------------------------------------------------------

bool LecturesConcordent(const LectureRepetee& a, const LectureRepetee& b) {
  for (double x : {a.Longueur, a.Azimut, a.Pente, b.Longueur, b.Azimut, b.Pente})
    if (!std::isfinite(x)) return false;
  if (std::fabs(a.Longueur - b.Longueur) > EcartLongueurMax * std::fabs(a.Longueur + b.Longueur) / 2) return false;
  const Direction u = DirectionDe(a.Azimut, a.Pente), v = DirectionDe(b.Azimut, b.Pente);
  const double px = u.y * v.z - u.z * v.y, py = u.z * v.x - u.x * v.z, pz = u.x * v.y - u.y * v.x;
  const double produit = u.x * v.x + u.y * v.y + u.z * v.z;
  const double angle = std::atan2(std::sqrt(px * px + py * py + pz * pz), produit) * 180 / std::numbers::pi;
  return angle <= EcartAngleMax;
}

std::vector<size_t> LecturesCoherentes(const std::vector<LectureRepetee>& lectures) {
  const size_t n = lectures.size();
  if (n <= 1) return n == 1 ? std::vector<size_t>{0} : std::vector<size_t>{};
  std::vector<std::vector<bool>> accord(n, std::vector<bool>(n, false));
  for (size_t i = 0; i < n; ++i)
    for (size_t j = i + 1; j < n; ++j) accord[i][j] = accord[j][i] = LecturesConcordent(lectures[i], lectures[j]);
  size_t reference = 0, meilleur = 0;
  for (size_t i = 0; i < n; ++i) {
    size_t k = 0;
    for (size_t j = 0; j < n; ++j) k += accord[i][j] ? 1 : 0;
    if (k > meilleur) {
      meilleur = k;
      reference = i;
    }
  }
  std::vector<size_t> retenues;
  for (size_t j = 0; j < n; ++j)
    if (j == reference || accord[reference][j]) retenues.push_back(j);
  if (2 * retenues.size() <= n) retenues.clear();
  return retenues;
}

}  // namespace formats
