#pragma once
// Scaffolding shared by the projection tests: a catalogue filled once from
// fixed lines, grids of geographic points and the comparison with PROJ's
// cs2cs both ways (the numeric cases of the systems are cas_projections.tsv,
// read by cas_projections_test.cpp).
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

#include "foundation/chaines.h"
#include "oracle_proj.h"
#include "projections/angles.h"
#include "projections/ancetre.h"
#include "projections/donnees.h"

namespace essai {

// Fills the catalogue with the lines on its first call only (the catalogues
// are the tests' statics, kept for the whole run).
template <class Lignes>
projections::TDonnees& Remplit(projections::TDonnees& cat, bool& rempli, const Lignes& lignes) {
  if (!rempli) {
    for (const char* ligne : lignes) cat.AjoutLigne(ligne);
    rempli = true;
  }
  return cat;
}

// The projection of that name in the catalogue; raises when it is missing.
inline projections::TProjection& ProjectionDe(const projections::TDonnees& cat, const char* nom) {
  projections::TProjection* p = cat.Systeme(nom).Projection;
  if (!p) throw std::runtime_error(std::string("absent du catalogue : ") + nom);
  return *p;
}

inline std::string Nombre(double x) { return foundation::ReelEnTexteExact(x); }

struct TPointGeo {
  double lat, lon;  // degrees
};

// A grid of points, every step degrees over the box.
inline std::vector<TPointGeo> Maillage(double latMin, double latMax, double lonMin, double lonMax, double pas) {
  std::vector<TPointGeo> r;
  for (double lat = latMin; lat <= latMax + 1e-9; lat += pas)
    for (double lon = lonMin; lon <= lonMax + 1e-9; lon += pas) r.push_back({lat, lon});
  return r;
}

// Compares the projection with cs2cs: grid within the tolerance (1 mm unless
// said), then, unless told not to, back from cs2cs's grid points to
// geographic within 1e-9 radian.
inline void CompareAvecCs2cs(projections::TProjection& p, const std::string& geographique, const std::string& grille,
                             const std::vector<TPointGeo>& points, double tolerance = 1e-3, bool inverse = true) {
  using projections::DegresVersRadians;
  SCOPED_TRACE(p.Nom);
  std::vector<std::array<double, 2>> entree;
  for (const auto& pt : points) entree.push_back({pt.lon, pt.lat});
  const auto directs = oracle::Cs2cs(geographique, grille, entree);
  ASSERT_TRUE(directs.has_value()) << "cs2cs a échoué";
  std::vector<std::array<double, 2>> grilles;
  for (size_t i = 0; i < points.size(); ++i) {
    SCOPED_TRACE("point " + Nombre(points[i].lat) + " " + Nombre(points[i].lon));
    double x, y;
    p.VersGrille(points[i].lat * DegresVersRadians, points[i].lon * DegresVersRadians, x, y);
    EXPECT_NEAR(x, (*directs)[i][0], tolerance);
    EXPECT_NEAR(y, (*directs)[i][1], tolerance);
    grilles.push_back({(*directs)[i][0], (*directs)[i][1]});
  }
  if (!inverse) return;
  const auto inverses = oracle::Cs2cs(grille, geographique, grilles);
  ASSERT_TRUE(inverses.has_value()) << "cs2cs a échoué";
  for (size_t i = 0; i < points.size(); ++i) {
    SCOPED_TRACE("grille " + Nombre(grilles[i][0]) + " " + Nombre(grilles[i][1]));
    double lat, lon;
    p.VersLatLong(grilles[i][0], grilles[i][1], lat, lon);
    EXPECT_NEAR(lon, (*inverses)[i][0] * DegresVersRadians, 1e-9);
    EXPECT_NEAR(lat, (*inverses)[i][1] * DegresVersRadians, 1e-9);
  }
}

}  // namespace essai
