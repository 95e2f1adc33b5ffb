// The numeric cases of the coordinate systems, read from cas_projections.tsv
// (its head says how to read it): each case converts its points with the
// system of its catalogue and checks the expected point and the round trip;
// the cases that give PROJ definitions are compared with cs2cs, the oracle,
// both ways.
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "catalogue_france.h"
#include "essai_projections.h"
#include "foundation/chaines.h"
#include "oracle_proj.h"
#include "projections/angles.h"
#include "projections/donnees.h"
#include "projections/ancetre.h"

using namespace projections;

namespace {

struct Cas {
  int ligne = 0;
  std::string nom, catalogue, systeme;
  bool depuisWGS84 = false;
  std::optional<int32_t> zone;
  std::vector<std::array<double, 2>> points;  // latitude, longitude in radians
  std::optional<std::array<double, 2>> attendu;
  double tolerance = 0;
  std::optional<double> retour;
  std::string projGeographique, projGrille;
  bool inverseProj = true;

  std::string Trace() const { return "cas_projections.tsv:" + std::to_string(ligne) + " " + nom; }
};

std::vector<std::string> Champs(const std::string& ligne, char separateur) {
  std::vector<std::string> r;
  std::stringstream flux(ligne);
  for (std::string champ; std::getline(flux, champ, separateur);) r.push_back(foundation::OteBlancs(champ));
  return r;
}

double Reel(const std::string& texte) {
  double v = 0;
  if (!foundation::LitReel(texte, v)) throw std::runtime_error("nombre illisible : " + texte);
  return v;
}

std::vector<std::array<double, 2>> Points(const std::string& texte) {
  std::vector<std::array<double, 2>> r;
  const std::vector<std::string> mots = Champs(texte, ' ');
  if (!mots.empty() && mots[0] == "grille") {
    if (mots.size() != 6) throw std::runtime_error("grille : " + texte);
    for (const auto& p : essai::Maillage(Reel(mots[1]), Reel(mots[2]), Reel(mots[3]), Reel(mots[4]), Reel(mots[5])))
      r.push_back({p.lat * DegresVersRadians, p.lon * DegresVersRadians});
    return r;
  }
  for (const std::string& point : Champs(texte, ';')) {
    const std::vector<std::string> angles = Champs(point, ' ');
    if (angles.size() != 2) throw std::runtime_error("point : " + point);
    r.push_back({TexteVersAngle(angles[0]), TexteVersAngle(angles[1])});
  }
  return r;
}

// The table and its catalogues, read once for the binary.
struct Table {
  std::map<std::string, std::unique_ptr<TDonnees>> catalogues;
  std::vector<Cas> cas;

  TDonnees& Catalogue(const std::string& nom) {
    auto& c = catalogues[nom];
    if (!c) {
      c = std::make_unique<TDonnees>();
      if (nom == "France")
        for (const char* ligne : essai::LignesFrance()) c->AjoutLigne(ligne);
    }
    return *c;
  }

  Table() {
    std::ifstream f(std::string(GRAVELUNE_SOURCE_DIR) + "/tests/projections/cas_projections.tsv");
    if (!f) throw std::runtime_error("cas_projections.tsv absent");
    int numero = 0;
    for (std::string ligne; std::getline(f, ligne);) {
      ++numero;
      if (ligne.empty() || ligne[0] == '#') continue;
      const std::vector<std::string> c = Champs(ligne, '\t');
      if (c[0] == "catalogue" && c.size() == 3) {
        Catalogue(c[1]).AjoutLigne(c[2]);
      } else if (c[0] == "cas" && c.size() == 12) {
        Cas k;
        k.ligne = numero;
        k.nom = c[1];
        k.catalogue = c[2];
        k.systeme = c[3];
        k.depuisWGS84 = c[4] == "WGS84";
        if (c[5] != "-") k.zone = static_cast<int32_t>(Reel(c[5]));
        k.points = Points(c[6]);
        if (c[7] != "-") {
          const std::vector<std::string> xy = Champs(c[7], ' ');
          if (xy.size() != 2 || k.points.size() != 1) throw std::runtime_error("attendu : " + ligne);
          k.attendu = std::array<double, 2>{Reel(xy[0]), Reel(xy[1])};
        }
        k.tolerance = Reel(c[8]);
        if (c[9] != "-") k.retour = Reel(c[9]);
        if (c[10] != "-") {
          k.projGeographique = c[10];
          k.projGrille = c[11];
          const std::string sans = " sans inverse";
          if (k.projGrille.ends_with(sans)) {
            k.projGrille.resize(k.projGrille.size() - sans.size());
            k.inverseProj = false;
          }
        }
        cas.push_back(std::move(k));
      } else {
        throw std::runtime_error("cas_projections.tsv:" + std::to_string(numero) + " : ligne illisible");
      }
    }
  }
};

Table& LaTable() {
  static Table t;
  return t;
}

// The system of a case, taking its geographic points to the grid and back:
// on its own datum, or from WGS84 through the geocentric pivot.
class Conversion {
 public:
  explicit Conversion(const Cas& k)
      : k_(k), cible_(LaTable().Catalogue(k.catalogue).Systeme(k.systeme)),
        wgs84_(LaTable().Catalogue(k.catalogue).Systeme("WGS84")) {}

  bool Trouve() const { return cible_.Trouve() && (k_.zone ? cible_.Multiple != nullptr : cible_.Projection != nullptr); }

  // The grid point and the zone the system chose.
  std::array<double, 2> VersGrille(const std::array<double, 2>& geo, int32_t& zone) const {
    double x, y;
    zone = ZoneAutomatique - 1;
    if (k_.depuisWGS84) {
      double X, Y, Z;
      wgs84_.VersGeocentrique(geo[0], geo[1], 0, X, Y, Z);
      cible_.DepuisGeocentrique(X, Y, Z, zone, x, y);
    } else if (k_.zone) {
      cible_.Multiple->VersGrille(geo[0], geo[1], x, y, zone);
    } else {
      cible_.Projection->VersGrille(geo[0], geo[1], x, y);
    }
    return {x, y};
  }

  std::array<double, 2> VersGeographique(const std::array<double, 2>& grille) const {
    double lat, lon;
    const int32_t zone = k_.zone.value_or(0);
    if (k_.depuisWGS84) {
      double X, Y, Z;
      int32_t aucune = 0;
      cible_.VersGeocentrique(grille[0], grille[1], zone, X, Y, Z);
      wgs84_.DepuisGeocentrique(X, Y, Z, aucune, lat, lon);
    } else if (k_.zone) {
      cible_.Multiple->VersLatLong(grille[0], grille[1], zone, lat, lon);
    } else {
      cible_.Projection->VersLatLong(grille[0], grille[1], lat, lon);
    }
    return {lat, lon};
  }

 private:
  const Cas& k_;
  TSysteme cible_, wgs84_;
};

std::string Texte(const std::array<double, 2>& p) {
  return foundation::ReelEnTexteExact(p[0]) + " " + foundation::ReelEnTexteExact(p[1]);
}

}  // namespace

TEST(CasProjections, PointsAttendusEtAllersRetours) {
  ASSERT_FALSE(LaTable().cas.empty());
  for (const Cas& k : LaTable().cas) {
    SCOPED_TRACE(k.Trace());
    const Conversion c(k);
    ASSERT_TRUE(c.Trouve()) << k.systeme;
    for (const auto& geo : k.points) {
      SCOPED_TRACE(Texte(geo));
      int32_t zone;
      const auto grille = c.VersGrille(geo, zone);
      if (k.zone) {
        EXPECT_EQ(zone, *k.zone);
      }
      if (k.attendu) {
        EXPECT_NEAR(grille[0], (*k.attendu)[0], k.tolerance);
        EXPECT_NEAR(grille[1], (*k.attendu)[1], k.tolerance);
      }
      if (!k.retour) continue;
      // With an expected point, that point is taken back; without, the
      // point's own grid image.
      const auto retour = c.VersGeographique(k.attendu ? *k.attendu : grille);
      EXPECT_NEAR(retour[0], geo[0], *k.retour);
      EXPECT_NEAR(retour[1], geo[1], *k.retour);
    }
  }
}

TEST(CasProjections, SelonProj) {
  if (!oracle::Cs2csDisponible()) GTEST_SKIP() << "cs2cs absent: no oracle";
  oracle::AnnonceOracle("cs2cs, the PROJ column of cas_projections.tsv");
  int compares = 0;
  for (const Cas& k : LaTable().cas) {
    if (k.projGrille.empty()) continue;
    SCOPED_TRACE(k.Trace());
    const Conversion c(k);
    ASSERT_TRUE(c.Trouve()) << k.systeme;
    std::vector<std::array<double, 2>> lonLat;
    for (const auto& geo : k.points) lonLat.push_back({geo[1] * RadiansVersDegres, geo[0] * RadiansVersDegres});
    const auto directs = oracle::Cs2cs(k.projGeographique, k.projGrille, lonLat);
    ASSERT_TRUE(directs.has_value()) << "cs2cs a échoué";
    std::vector<std::array<double, 2>> grilles;
    for (size_t i = 0; i < k.points.size(); ++i) {
      SCOPED_TRACE(Texte(k.points[i]));
      int32_t zone;
      const auto grille = c.VersGrille(k.points[i], zone);
      if (k.zone) {
        EXPECT_EQ(zone, *k.zone);
      }
      EXPECT_NEAR(grille[0], (*directs)[i][0], k.tolerance);
      EXPECT_NEAR(grille[1], (*directs)[i][1], k.tolerance);
      grilles.push_back({(*directs)[i][0], (*directs)[i][1]});
    }
    ++compares;
    if (!k.inverseProj) continue;
    const auto inverses = oracle::Cs2cs(k.projGrille, k.projGeographique, grilles);
    ASSERT_TRUE(inverses.has_value()) << "cs2cs a échoué";
    for (size_t i = 0; i < grilles.size(); ++i) {
      SCOPED_TRACE("grille " + Texte(grilles[i]));
      const auto geo = c.VersGeographique(grilles[i]);
      EXPECT_NEAR(geo[1], (*inverses)[i][0] * DegresVersRadians, 1e-9);
      EXPECT_NEAR(geo[0], (*inverses)[i][1] * DegresVersRadians, 1e-9);
    }
  }
  EXPECT_GT(compares, 0);
}
