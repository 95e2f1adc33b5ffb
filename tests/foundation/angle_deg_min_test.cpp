// Angles as degrees and minutes: writing with the minutes carried, reading
// with or without the minute sign.
#include <gtest/gtest.h>

#include <string>

#include "foundation/angle_deg_min.h"

namespace {

using foundation::AngleDegMinStr;
using foundation::LitAngleDegMin;

TEST(AngleDegMin, Ecriture) {
  struct Case {
    double x;
    const char* texte;
  };
  const Case cases[] = {
      {-0.25, "-0° 15'"},   {1.5, "1° 30'"}, {2.9999, "3° 0'"},  // 59.994' carries into the degrees
      {-2.9999, "-3° 0'"},  {0, "0° 0'"},    {12.0 + 29.5 / 60, "12° 30'"},
      {359.75, "359° 45'"},
  };
  for (const Case& c : cases) EXPECT_EQ(AngleDegMinStr(c.x), c.texte) << c.x;
}

TEST(AngleDegMin, Lecture) {
  struct Case {
    const char* texte;
    double angle;
  };
  const Case cases[] = {
      {"-0°30'", -0.5}, {"12°", 12}, {"5°7", 5 + 7.0 / 60},     {" -1° 30'", -1.5}, {"°", 0},
      {"", 0},          {"12", 12},  {"3° 05' ", 3 + 5.0 / 60}, {"-0° 0'", 0},      {"2°-30'", 2.5},
  };
  for (const Case& c : cases) {
    double a = 99;
    ASSERT_TRUE(LitAngleDegMin(c.texte, a)) << c.texte;
    EXPECT_DOUBLE_EQ(a, c.angle) << c.texte;
  }
  for (const char* faux : {"x°", "1.5°", "2°3x'", "1°2.5'"}) {
    double a = 7;
    EXPECT_FALSE(LitAngleDegMin(faux, a)) << faux;
    EXPECT_EQ(a, 7) << faux << ": the value is left as it was";
  }
  // Written then read back gives the angle to the minute.
  for (double x : {-13.25, 0.5, 2.9999, 179.0 + 59.0 / 60}) {
    double a = 0;
    ASSERT_TRUE(LitAngleDegMin(AngleDegMinStr(x), a));
    EXPECT_NEAR(a, x, 1.0 / 120) << x;
  }
}

}  // namespace
