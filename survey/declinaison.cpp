#include "survey/declinaison.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "platform/dialogs.h"

namespace survey {
namespace {

using foundation::Arrondi;

constexpr double kDegre = std::numbers::pi / 180.0;
// WGS84 semi-axes squared, km².
constexpr double kA2 = 40680631.59;
constexpr double kB2 = 40408299.98;
// Reference radius of the models, km.
constexpr double kRayonReference = 6371.2;

bool EstEntete(std::string_view ligne) { return ligne.size() >= 3 && ligne.substr(0, 3) == "   "; }

int Degre(double x) { return std::clamp(Arrondi(x), 0, DegreMaxIGRF); }

// Fills the model's arrays from the coefficient lines after its header.
void LitCoefficientsModele(std::span<const char* const> lignes, TModeleIGRF& modele) {
  size_t ligne = static_cast<size_t>(modele.LigneEntete) + 1;
  int k = 0;
  for (int n = 1; n <= modele.DegreMax; ++n) {
    for (int m = 0; m <= n; ++m, ++ligne) {
      if (ligne >= lignes.size()) return;
      std::string s = foundation::OteBlancs(lignes[ligne]);
      const int nLu = Arrondi(foundation::ExtraitReel(s, ' '));
      const int mLu = Arrondi(foundation::ExtraitReel(s, ' '));
      if (nLu != n || mLu != m) return;
      const double g = foundation::ExtraitReel(s, ' ');
      const double h = foundation::ExtraitReel(s, ' ');
      const double gv = foundation::ExtraitReel(s, ' ');
      const double hv = foundation::ExtraitReel(s, ' ');
      const bool avecVS = n <= modele.DegreVS;
      modele.Champ[static_cast<size_t>(k)] = g;
      if (avecVS) modele.VS[static_cast<size_t>(k)] = gv;
      ++k;
      if (m != 0) {
        modele.Champ[static_cast<size_t>(k)] = h;
        if (avecVS) modele.VS[static_cast<size_t>(k)] = hv;
        ++k;
      }
    }
  }
}

// Constant factors of the Legendre recursions, per degree n and order m.
struct Recursions {
  // Off the diagonal: (2n - 1) / √(n² - m²) and √((n - 1)² - m²) / √(n² - m²).
  double trois[DegreMaxIGRF + 1][DegreMaxIGRF + 1] = {};
  double deux[DegreMaxIGRF + 1][DegreMaxIGRF + 1] = {};
  // On the diagonal: √(1 - 1 / 2n).
  double diagonale[DegreMaxIGRF + 1] = {};
  Recursions() {
    for (int n = 1; n <= DegreMaxIGRF; ++n) {
      diagonale[n] = std::sqrt(1.0 - 0.5 / n);
      for (int m = 0; m < n; ++m) {
        const double un = std::sqrt(static_cast<double>(n * n - m * m));
        trois[n][m] = (2.0 * n - 1.0) / un;
        deux[n][m] = std::sqrt(static_cast<double>((n - 1) * (n - 1) - m * m)) / un;
      }
    }
  }
};

const Recursions& LesRecursions() {
  static const Recursions r;
  return r;
}

// Spherical-harmonic synthesis in the geocentric frame, from the sine and cosine
// of the geocentric latitude, the longitude in degrees and the radius in km.
TChampMagnetique Synthese(const TCoefficientsDate& c, double sinLat, double cosLat, double longitude, double rayon) {
  const Recursions& rec = LesRecursions();
  // Colatitude: cos θ = sin latitude, sin θ = cos latitude.
  const double ct = sinLat;
  const double st = cosLat;
  const int N = std::clamp(c.Degre, 0, DegreMaxIGRF);

  // Schmidt semi-normalised associated Legendre functions and their derivative
  // with respect to the colatitude.
  double P[DegreMaxIGRF + 1][DegreMaxIGRF + 1] = {};
  double dP[DegreMaxIGRF + 1][DegreMaxIGRF + 1] = {};
  P[0][0] = 1;
  for (int n = 1; n <= N; ++n) {
    for (int m = 0; m < n; ++m) {
      const double a = rec.trois[n][m];
      const double b = rec.deux[n][m];
      const double p2 = n >= 2 ? P[n - 2][m] : 0.0;
      const double dp2 = n >= 2 ? dP[n - 2][m] : 0.0;
      P[n][m] = a * ct * P[n - 1][m] - b * p2;
      dP[n][m] = a * (ct * dP[n - 1][m] - st * P[n - 1][m]) - b * dp2;
    }
    if (n == 1) {
      P[1][1] = st;
      dP[1][1] = ct;
    } else {
      const double f = rec.diagonale[n];
      P[n][n] = f * st * P[n - 1][n - 1];
      dP[n][n] = f * (st * dP[n - 1][n - 1] + ct * P[n - 1][n - 1]);
    }
  }

  double cosM[DegreMaxIGRF + 1], sinM[DegreMaxIGRF + 1];
  cosM[0] = 1;
  sinM[0] = 0;
  if (N >= 1) {
    cosM[1] = std::cos(longitude * kDegre);
    sinM[1] = std::sin(longitude * kDegre);
  }
  for (int m = 2; m <= N; ++m) {
    cosM[m] = cosM[m - 1] * cosM[1] - sinM[m - 1] * sinM[1];
    sinM[m] = sinM[m - 1] * cosM[1] + cosM[m - 1] * sinM[1];
  }

  const double rapport = kRayonReference / rayon;
  double rr = rapport * rapport;
  double X = 0, Y = 0, Z = 0;
  size_t k = 0;
  for (int n = 1; n <= N; ++n) {
    rr *= rapport;  // (a / r)^(n + 2)
    double x = 0, y = 0, z = 0;
    for (int m = 0; m <= n; ++m) {
      const double g = c.gh[k++];
      const double h = m == 0 ? 0.0 : c.gh[k++];
      const double t = g * cosM[m] + h * sinM[m];
      x += t * dP[n][m];
      y += m * (g * sinM[m] - h * cosM[m]) * P[n][m];
      z += t * P[n][m];
    }
    X += rr * x;
    Y += rr * y;
    Z -= rr * (n + 1) * z;
  }
  return {X, Y / st, Z};
}

double BorneLatitude(double latitude) { return std::clamp(latitude, -89.999, 89.999); }

}  // namespace

TTableIGRF LitCoefficientsIGRF(std::span<const char* const> lignes) {
  TTableIGRF table;
  bool premier = true;
  for (size_t i = 0; i < lignes.size(); ++i) {
    if (!EstEntete(lignes[i])) continue;
    if (static_cast<int>(table.Modeles.size()) >= NombreMaxModelesIGRF) break;
    std::string s = foundation::OteBlancs(lignes[i]);
    TModeleIGRF m;
    m.Nom = foundation::ExtraitChampNet(s, ' ');
    m.Epoque = foundation::ExtraitReel(s, ' ');
    m.DegreMax = Degre(foundation::ExtraitReel(s, ' '));
    m.DegreVS = Degre(foundation::ExtraitReel(s, ' '));
    m.DegreAcceleration = Degre(foundation::ExtraitReel(s, ' '));
    m.AnneeDebut = foundation::ExtraitReel(s, ' ');
    m.AnneeFin = foundation::ExtraitReel(s, ' ');
    m.AltitudeMin = foundation::ExtraitReel(s, ' ');
    m.AltitudeMax = foundation::ExtraitReel(s, ' ');
    m.LigneEntete = static_cast<int>(i);
    LitCoefficientsModele(lignes, m);
    if (premier || m.AnneeDebut < table.AnneeMin) table.AnneeMin = m.AnneeDebut;
    if (premier || m.AnneeFin > table.AnneeMax) table.AnneeMax = m.AnneeFin;
    premier = false;
    table.Modeles.push_back(std::move(m));
  }
  return table;
}

const TTableIGRF& TableIGRF() {
  static const TTableIGRF table = LitCoefficientsIGRF(LignesCoefficientsIGRF());
  return table;
}

bool CoefficientsALaDate(const TTableIGRF& table, double annee, TCoefficientsDate& c) {
  c = TCoefficientsDate{};
  if (!(annee >= table.AnneeMin && annee < table.AnneeMax + 1)) return false;
  const int nombre = static_cast<int>(table.Modeles.size());
  int i = -1;
  for (int j = 0; j < nombre && i < 0; ++j)
    if (table.Modeles[static_cast<size_t>(j)].AnneeDebut <= annee && annee < table.Modeles[static_cast<size_t>(j)].AnneeFin) i = j;
  // The year after the last valid year belongs to the last model.
  for (int j = 0; j < nombre && i < 0; ++j)
    if (table.Modeles[static_cast<size_t>(j)].AnneeFin == table.AnneeMax && annee >= table.AnneeMax) i = j;
  if (i < 0) return false;

  const TModeleIGRF& m1 = table.Modeles[static_cast<size_t>(i)];
  c.Modele = i;
  if (m1.DegreVS > 0) {
    c.Extrapole = true;
    c.Facteur = annee - m1.Epoque;
    c.Degre = std::max(m1.DegreMax, m1.DegreVS);
    const int n = c.Degre * (c.Degre + 2);
    for (int k = 0; k < n; ++k) c.gh[static_cast<size_t>(k)] = m1.Champ[static_cast<size_t>(k)] + c.Facteur * m1.VS[static_cast<size_t>(k)];
  } else if (i + 1 < nombre) {
    const TModeleIGRF& m2 = table.Modeles[static_cast<size_t>(i + 1)];
    const double ecart = m2.AnneeDebut - m1.AnneeDebut;
    c.Facteur = ecart != 0 ? (annee - m1.AnneeDebut) / ecart : 0.0;
    c.Degre = std::max(m1.DegreMax, m2.DegreMax);
    const int n = c.Degre * (c.Degre + 2);
    for (int k = 0; k < n; ++k) {
      const double a = m1.Champ[static_cast<size_t>(k)];
      c.gh[static_cast<size_t>(k)] = a + c.Facteur * (m2.Champ[static_cast<size_t>(k)] - a);
    }
  } else {
    // A last model without secular variation holds its values.
    c.Degre = m1.DegreMax;
    c.gh = m1.Champ;
  }
  return true;
}

TChampMagnetique ChampGeocentrique(const TCoefficientsDate& c, double latitude, double longitude, double rayon) {
  const double lat = BorneLatitude(latitude) * kDegre;
  return Synthese(c, std::sin(lat), std::cos(lat), longitude, rayon);
}

TChampMagnetique ChampGeodesique(const TCoefficientsDate& c, double latitude, double longitude, double altitude) {
  const double lat = BorneLatitude(latitude) * kDegre;
  const double s = std::sin(lat);
  const double co = std::cos(lat);
  const double h = altitude;
  // Geodetic to geocentric.
  const double a2c2 = kA2 * co * co;
  const double b2s2 = kB2 * s * s;
  const double d = std::sqrt(a2c2 + b2s2);
  const double r = std::sqrt(h * (h + 2.0 * d) + (kA2 * a2c2 + kB2 * b2s2) / (d * d));
  const double cd = (h + d) / r;
  const double sd = (kA2 - kB2) / d * s * co / r;
  const double sinGc = s * cd - co * sd;
  const double cosGc = co * cd + s * sd;
  const TChampMagnetique g = Synthese(c, sinGc, cosGc, longitude, r);
  // Back to the geodetic frame.
  return {g.X * cd + g.Z * sd, g.Y, g.Z * cd - g.X * sd};
}

double DeclinaisonDuChamp(const TChampMagnetique& b) {
  const double H = std::sqrt(b.X * b.X + b.Y * b.Y);
  const double F = std::sqrt(H * H + b.Z * b.Z);
  if (F < 0.0001 || H < 0.0001) return std::numeric_limits<double>::quiet_NaN();
  if (H + b.X < 0.0001) return std::numbers::pi;
  return 2.0 * std::atan2(b.Y, H + b.X);
}

double CalculeDeclinaisonIGRF(double annee, double latitude, double longitude, double altitude) {
  TCoefficientsDate c;
  if (!CoefficientsALaDate(TableIGRF(), annee, c)) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error,
                                             foundation::Msg(foundation::IdMsg::DateIncorrecte));
    return 0;
  }
  return DeclinaisonDuChamp(ChampGeodesique(c, latitude, longitude, altitude / 1000.0));
}

bool AnneeDansModeleIGRF(int annee) {
  const TTableIGRF& t = TableIGRF();
  return annee >= t.AnneeMin && annee < t.AnneeMax;
}

bool DeclinaisonCalculable(int annee, bool reseauAvecProjection) {
  return reseauAvecProjection && AnneeDansModeleIGRF(annee);
}

bool AnneeDecimale(foundation::TDateTime date, double& annee) {
  int a, m, j;
  foundation::TDateTime premierJanvier, finAnnee;
  if (!foundation::DecodeDate(date, a, m, j) || !foundation::EncodeDate(a, 1, 1, premierJanvier) ||
      !foundation::EncodeDate(a, 12, 31, finAnnee))
    return false;
  const double jour = std::trunc(date) - premierJanvier + 1;
  const double jours = finAnnee - premierJanvier + 1;
  annee = a + jour / jours;
  return true;
}

}  // namespace survey
