// The setups of the systems: parameters from which no system can be set up
// are refused where they are given, with a named error, and a system whose
// constants could not be derived converts nothing.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "oracle_proj.h"
#include "projections/angles.h"
#include "projections/datum.h"
#include "projections/donnees.h"
#include "projections/erreur_projection.h"
#include "projections/geodesie.h"
#include "projections/lambert.h"

using namespace projections;

namespace {

constexpr double kDeg = std::numbers::pi / 180;

std::string LigneSecant(const char* nom, const char* phi1, const char* phi2) {
  return std::string("Projection \"Lambert Conique Sécant\"=\"") + nom + "\" \"\" \"WGS84\" 600000 200000 3° 45° " +
         phi1 + " " + phi2;
}

TEST(Reglage, ParallelesDuConeSecant) {
  // The standard parallels of the secant cone, in degrees; refused: the
  // message of the named error.
  struct Cas {
    const char* nom;
    double phi1, phi2;
    const char* refus;
  };
  const std::string opposes = foundation::Msg(foundation::IdMsg::ProjParallelesOpposes);
  const std::string pole = foundation::Msg(foundation::IdMsg::ProjLatitudeAuDelaDuPole);
  const Cas cas[] = {
      {.nom = "secant", .phi1 = 44, .phi2 = 49, .refus = nullptr},
      {.nom = "tangent", .phi1 = 46.8, .phi2 = 46.8, .refus = nullptr},
      {.nom = "tangent austral", .phi1 = -30, .phi2 = -30, .refus = nullptr},
      {.nom = "opposes", .phi1 = 44, .phi2 = -44, .refus = opposes.c_str()},
      {.nom = "equateur deux fois", .phi1 = 0, .phi2 = 0, .refus = opposes.c_str()},
      {.nom = "au-dela du pole nord", .phi1 = 91, .phi2 = 49, .refus = pole.c_str()},
      {.nom = "au-dela du pole sud", .phi1 = -44, .phi2 = -90.5, .refus = pole.c_str()},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    double n = 0, cc = 0, ys = 0;
    if (c.refus) {
      try {
        ParametresLambertSecant(AWGS84, EWGS84, 45 * kDeg, c.phi1 * kDeg, c.phi2 * kDeg, 0, n, cc, ys);
        ADD_FAILURE() << "accepted";
      } catch (const EReglageImpossible& e) {
        EXPECT_EQ(std::string(e.what()), c.refus);
      }
      continue;
    }
    ParametresLambertSecant(AWGS84, EWGS84, 45 * kDeg, c.phi1 * kDeg, c.phi2 * kDeg, 0, n, cc, ys);
    EXPECT_TRUE(std::isfinite(n) && std::isfinite(cc) && std::isfinite(ys)) << n << " " << cc << " " << ys;
  }
}

TEST(Reglage, ParallelesEgauxDonnentLeConeTangent) {
  // Equal parallels: the tangent cone of scale 1 on that parallel, as the
  // tangent kind computes it; and the secant cone tends to it.
  for (const double phi : {46.8, -30.0, 12.5}) {
    SCOPED_TRACE(phi);
    double n, c, ys, nt, ct, yst;
    ParametresLambertSecant(AWGS84, EWGS84, 45 * kDeg, phi * kDeg, phi * kDeg, 200000, n, c, ys);
    ParametresLambertTangent(AWGS84, EWGS84, phi * kDeg, 1, 0, nt, ct, yst);
    EXPECT_DOUBLE_EQ(n, std::sin(phi * kDeg));
    EXPECT_NEAR(n, nt, 1e-15);
    EXPECT_NEAR(c, ct, 1e-9 * std::fabs(ct));
    // Parallels a millionth of a degree apart: the secant formula, within
    // its rounding of the small difference, lands on the same cone.
    double ni, ci, ysi;
    ParametresLambertSecant(AWGS84, EWGS84, 45 * kDeg, phi * kDeg, (phi + 1e-6) * kDeg, 200000, ni, ci, ysi);
    EXPECT_NEAR(ni, n, 1e-7);
    EXPECT_NEAR(ysi, ys, 1e-6 * std::fabs(ys));
  }
}

TEST(Reglage, UneLigneImpossibleEstRefuseeParSonNom) {
  TDonnees cat;
  cat.AjoutLigne(LigneSecant("Opposes", "44°", "-44°"));
  cat.AjoutLigne(LigneSecant("Tangent", "46°48'", "46°48'"));
  EXPECT_EQ(cat.UneProjection("Opposes"), nullptr);
  ASSERT_NE(cat.UneProjection("Tangent"), nullptr);
  EXPECT_EQ(cat.UneProjection("Tangent")->ErreurReglage(), "");

  TLambert_sec s;
  try {
    s.LitDefinition("\"Opposes\" \"\" \"WGS84\" 600000 200000 3° 45° 44° -44°", cat);
    ADD_FAILURE() << "accepted";
  } catch (const EReglageImpossible& e) {
    EXPECT_EQ(std::string(e.what()),
              MessageFormate(foundation::IdMsg::ProjReglageImpossible,
                             {"Opposes", foundation::Msg(foundation::IdMsg::ProjParallelesOpposes)}));
  }
  EXPECT_FALSE(s.Valid());
}

TEST(Reglage, UnReglageEchoueRefuseLesConversionsJusquAuSuivant) {
  // A valid system given an impossible parallel keeps no constants of its
  // earlier setup: its conversions raise the setup error until the next
  // parameter sets it up again.
  TDonnees cat;
  cat.AjoutLigne(LigneSecant("S", "44°", "49°"));
  auto& s = dynamic_cast<TLambert_sec&>(*cat.UneProjection("S"));
  double x0, y0, x, y, lat, lon;
  s.VersGrille(0.8, 0.1, x0, y0);
  s.SetParamAngle(3, "-44°");
  EXPECT_EQ(s.ErreurReglage(), foundation::Msg(foundation::IdMsg::ProjParallelesOpposes));
  EXPECT_TRUE(s.Valid());
  EXPECT_THROW(s.VersGrille(0.8, 0.1, x, y), EReglageImpossible);
  EXPECT_THROW(s.VersLatLong(x0, y0, lat, lon), EReglageImpossible);
  s.SetParamAngle(3, "49°");
  EXPECT_EQ(s.ErreurReglage(), "");
  s.VersGrille(0.8, 0.1, x, y);
  EXPECT_EQ(x, x0);
  EXPECT_EQ(y, y0);
}

TEST(Reglage, ConeTangentSelonProj) {
  if (!oracle::Cs2csDisponible()) GTEST_SKIP() << "cs2cs absent: no oracle";
  oracle::AnnonceOracle("cs2cs, Lambert conformal conic with lat_1 = lat_2");
  TDonnees cat;
  cat.AjoutLigne(LigneSecant("Tangent", "46°48'", "46°48'"));
  auto& t = dynamic_cast<TProjection&>(*cat.UneProjection("Tangent"));
  const std::string figure = oracle::Figure(AWGS84, EWGS84);
  const std::string lcc = "+proj=lcc +lat_0=45 +lon_0=3 +lat_1=46.8 +lat_2=46.8 +x_0=600000 +y_0=200000 " + figure;
  const std::vector<std::array<double, 2>> points = {{3, 45}, {2, 46.8}, {-4.5, 43.2}, {8.5, 50.9}, {3.3, 48}};
  const auto grille = oracle::Cs2cs("+proj=longlat " + figure, lcc, points);
  ASSERT_TRUE(grille.has_value());
  for (size_t k = 0; k < points.size(); ++k) {
    SCOPED_TRACE(std::to_string(points[k][0]) + " " + std::to_string(points[k][1]));
    double x, y, lat, lon;
    t.VersGrille(points[k][1] * kDeg, points[k][0] * kDeg, x, y);
    EXPECT_NEAR(x, (*grille)[k][0], 1e-4);
    EXPECT_NEAR(y, (*grille)[k][1], 1e-4);
    t.VersLatLong(x, y, lat, lon);
    EXPECT_NEAR(lat, points[k][1] * kDeg, 1e-11);
    EXPECT_NEAR(lon, points[k][0] * kDeg, 1e-11);
  }
}

}  // namespace
