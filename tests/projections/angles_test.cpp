#include "projections/angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "projections/erreur_projection.h"

using namespace projections;

namespace {

const char* const kDeg = "\u00B0";
std::string T(const std::string& s) {
  // "d" in the test texts stands for the degree sign.
  std::string r;
  for (char c : s) {
    if (c == 'd') r += kDeg; else r += c;
  }
  return r;
}

std::string MessageDe(const std::string& texte) {
  try {
    TexteVersAngle(texte);
  } catch (const EConversion& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(Angles, TextesLus) {
  struct Cas {
    const char* texte;
    double degres;
  };
  const Cas cas[] = {
      {"2d20'14.025''", 2.3372291666666667}, {"-0d30'", -0.5},       {"46d30'", 46.5},
      {"46d30.5'", 46.508333333333333},      {"46.85g", 42.165},     {"55g", 49.5},
      {"-5.4d", -5.4},                       {"0", 0},               {"+3d", 3},
      {"-2d20'14.025''", -2.3372291666666667}, {"-177d", -177},      {"0d00'00.001''", 1.0 / 3600000},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.texte);
    EXPECT_NEAR(TexteVersAngle(T(c.texte)) * RadiansVersDegres, c.degres, 1e-12);
  }
  EXPECT_NEAR(MeridienParis(), 2.3372291666666667 * DegresVersRadians, 1e-15);
}

TEST(Angles, TextesRefuses) {
  struct Cas {
    const char* texte;
    const char* message;  // empty: a number conversion error
  };
  const Cas cas[] = {
      {"", "Erreur de conversion d'angle, texte vide"},
      {"46.85", "Erreur de conversion d'angle, unité inconnue"},
      {"10", "Erreur de conversion d'angle, unité inconnue"},
      {"-0", "Erreur de conversion d'angle, unité inconnue"},
      {"12x", "Erreur de conversion d'angle, unité inconnue"},
      {"2d20'14.025'", "Erreur de conversion d'angle, l'unité des secondes '' n'a pas été trouvée"},
      {"2d20''", "Erreur de conversion d'angle, l'unité des secondes '' n'a pas été trouvée"},
      {"20'", "Erreur de conversion d'angle, l'unité des degrés ° n'a pas été trouvée"},
      {"2.5d20'", "'2.5' n'est pas un nombre entier correct"},
      {"2d20.5'10''", "'20.5' n'est pas un nombre entier correct"},
      {"ad", "'a' n'est pas un nombre correct"},
      {"g", "'' n'est pas un nombre correct"},
      {"1,5g", "'1,5' n'est pas un nombre correct"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.texte);
    EXPECT_EQ(MessageDe(T(c.texte)), c.message);
  }
}

TEST(Angles, TextesEcrits) {
  struct Cas {
    TUniteAngle unite;
    double degres;
    const char* texte;
  };
  const Cas cas[] = {
      {TUniteAngle::uaDMS, 2.3372291666666667, "2d20'14.025''"},
      {TUniteAngle::uaDMS, 45, "45d"},
      {TUniteAngle::uaDMS, 45.5, "45d30'"},
      {TUniteAngle::uaDMS, -0.25, "-0d15'"},
      {TUniteAngle::uaDMS, 1 + 2.0 / 60 + 3.0 / 3600, "1d02'03''"},
      {TUniteAngle::uaDMS, -1e-9, "-0d"},
      {TUniteAngle::uaDM, 46.5, "46d30'"},
      {TUniteAngle::uaDM, 46.508333333333333, "46d30.500'"},
      {TUniteAngle::uaDM, -1e-9, "-0d"},
      {TUniteAngle::uaDM, 3, "3d"},
      {TUniteAngle::uaDegre, 2.17682332, "2.17682332d"},
      {TUniteAngle::uaDegre, -177, "-177.00000000d"},
      {TUniteAngle::uaGrade, 42.165, "46.85000000g"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.texte);
    const std::string texte = AngleVersTexte(c.unite, c.degres * DegresVersRadians);
    EXPECT_EQ(texte, T(c.texte));
    // Every text made here reads back (to the precision it carries).
    EXPECT_NEAR(TexteVersAngle(texte), c.degres * DegresVersRadians, 1e-9);
  }
}

TEST(Angles, PlanchersEtPas) {
  EXPECT_EQ(PlancherReel(-2.0), -3.0);
  EXPECT_EQ(PlancherReel(-2.5), -3.0);
  EXPECT_EQ(PlancherReel(2.5), 2.0);
  EXPECT_EQ(PlancherReel(0.0), 0.0);
  EXPECT_EQ(PlancherEntier(-0.1), -1);
  EXPECT_DOUBLE_EQ(PartieDecimale(-2.0), 1.0);
  EXPECT_DOUBLE_EQ(PartieDecimale(2.25), 0.25);

  struct Cas {
    double x, pas;
  };
  const Cas arrondis[] = {{1, 1}, {3, 2}, {4, 5}, {8, 10}, {1000, 1000}, {0.003, 0.002},
                          {0.01, 0.01}, {0.15, 0.2}, {140, 100}, {7000, 5000}};
  for (const auto& c : arrondis) {
    SCOPED_TRACE(c.x);
    EXPECT_NEAR(PasArrondi(c.x), c.pas, c.pas * 1e-12);
  }
  const Cas sexagesimaux[] = {{1, 1}, {1.5, 2}, {2.45, 2}, {2.5, 3}, {4, 5}, {8, 10},
                              {13, 15}, {18, 20}, {25, 30}, {42.4, 30}, {42.5, 60}, {60, 60}};
  for (const auto& c : sexagesimaux) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(PasSexagesimal(c.x), c.pas);
  }
  EXPECT_THROW(PasSexagesimal(0.5), std::logic_error);
  EXPECT_THROW(PasSexagesimal(61), std::logic_error);
  EXPECT_THROW(PasSexagesimal(std::nan("")), std::logic_error);
}

TEST(Angles, PasAngulaire) {
  const double r = 6371000;
  const double metresParDegre = r * DegresVersRadians;
  // 3 degrees of arc -> 2 degrees (round step); 5 minutes -> 5 minutes;
  // 40 seconds of arc -> 30 seconds in DMS, half a minute in decimal minutes.
  EXPECT_NEAR(PasAngulaire(r, 3 * metresParDegre, TUniteAngle::uaDegre), 2 * DegresVersRadians, 1e-15);
  EXPECT_NEAR(PasAngulaire(r, 3 * metresParDegre, TUniteAngle::uaDMS), 2 * DegresVersRadians, 1e-15);
  EXPECT_NEAR(PasAngulaire(r, 5 * metresParDegre / 60, TUniteAngle::uaDMS), 5 * DegresVersRadians / 60, 1e-15);
  EXPECT_NEAR(PasAngulaire(r, 40 * metresParDegre / 3600, TUniteAngle::uaDMS), 30 * DegresVersRadians / 3600,
              1e-15);
  EXPECT_NEAR(PasAngulaire(r, 40 * metresParDegre / 3600, TUniteAngle::uaDM), 0.5 * DegresVersRadians / 60, 1e-15);
  EXPECT_NEAR(PasAngulaire(r, 0.3 * metresParDegre / 3600, TUniteAngle::uaDMS), 0.2 * DegresVersRadians / 3600,
              1e-16);
  EXPECT_NEAR(PasAngulaire(r, 3 * r * GradesVersRadians, TUniteAngle::uaGrade), 2 * GradesVersRadians, 1e-15);
  EXPECT_THROW(PasAngulaire(r, 1000, static_cast<TUniteAngle>(7)), EConversion);
}
