#pragma once
// The coordinate-system catalogue: every ellipsoid, datum, single-zone
// projection and multi-zone system the program knows, each under a name unique
// across the four lists, built from catalogue lines.  Conversions between any
// two named systems pass through geocentric coordinates on the WGS84 frame.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/flux.h"
#include "projections/ancetre.h"
#include "projections/angles.h"
#include "projections/datum.h"
#include "projections/ellipsoide.h"

namespace projections {

// A system found by name: a datum (coordinates are latitude and longitude in
// radians), a single-zone projection or a multi-zone system (grid metres).
// Looking the name up once and converting many points through this is what
// batch conversions do.
struct TSysteme {
  TDatum* Datum = nullptr;
  TProjection* Projection = nullptr;
  TMultiple* Multiple = nullptr;

  bool Trouve() const { return Datum || Projection || Multiple; }
  // The datum the system's coordinates are defined on.
  TDatum* DatumDuSysteme() const;
  // To the pivot.  For a datum x is the latitude and y the longitude, and an
  // indice of 1 counts the longitude from the Paris meridian; for a
  // multi-zone system indice is the zone.
  void VersGeocentrique(double x, double y, int32_t indice, double& X, double& Y, double& Z) const;
  // From the pivot.  For a multi-zone system indice is the in-out zone (below
  // ZoneAutomatique the system chooses it); a single-zone projection leaves it.
  void DepuisGeocentrique(double X, double Y, double Z, int32_t& indice, double& x, double& y) const;
};

class TDonnees {
 public:
  // Holds the two seeds "GRS 80" and "WGS84".
  TDonnees();
  ~TDonnees();
  TDonnees(const TDonnees&) = delete;
  TDonnees& operator=(const TDonnees&) = delete;

  // Frees every object and adds the two seed lines again.
  void InitDonnees();
  // Adds one line given as UTF-8 text (what follows its first line end is
  // ignored).
  void AjoutLigne(std::string_view ligne);
  // Reads and adds one line; a bad line is dropped whole and silently.
  void LoadLigne(foundation::TFlux& flux);
  // Every line of the stream from its start.
  void LoadFromStream(foundation::TFlux& flux);
  // Every object but the two seeds, one line each.
  void SaveToStream(foundation::TFlux& flux) const;

  const std::vector<std::unique_ptr<TEllipsoide>>& LesEllipsoide() const { return ellipsoides_; }
  const std::vector<std::unique_ptr<TDatum>>& LesDatum() const { return datums_; }
  const std::vector<std::unique_ptr<TProjection>>& LesProjection() const { return projections_; }
  const std::vector<std::unique_ptr<TMultiple>>& LesMultiple() const { return multiples_; }
  int NbEllipsoide() const { return static_cast<int>(ellipsoides_.size()); }
  int NbDatum() const { return static_cast<int>(datums_.size()); }
  int NbProjection() const { return static_cast<int>(projections_.size()); }
  int NbMultiple() const { return static_cast<int>(multiples_.size()); }

  TEllipsoide* UnEllipsoide(std::string_view LeQuel) const;
  TDatum* UnDatum(std::string_view LeQuel) const;
  // The single-zone projection of that name, else the multi-zone system.
  TAncetre* UneProjection(std::string_view LeQuel) const;
  // Index in the list, or -1.
  int NumeroEllipsoide(std::string_view LeQuel) const;
  int NumeroDatum(std::string_view LeQuel) const;
  int NumeroProjection(std::string_view LeQuel) const;
  int NumeroMultiple(std::string_view LeQuel) const;
  // Looks the name up among the datums, then the projections, then the
  // multi-zone systems.
  TSysteme Systeme(std::string_view nom) const;

  // Conversions to and from the pivot; false when the name is unknown.
  bool VersGeocentriqueNum(std::string_view NomSource, double XSource, double YSource, int32_t IndiceSource,
                           double& XGeo, double& YGeo, double& ZGeo) const;
  bool DepuisGeocentriqueNum(double XGeo, double YGeo, double ZGeo, std::string_view NomDest, int32_t& IndiceDest,
                             double& XDest, double& YDest) const;
  // Both in turn; false when either name is unknown.
  bool ConversionNum(std::string_view NomSource, std::string_view NomDest, double XSource, double YSource,
                     int32_t IndiceSource, int32_t& IndiceDest, double& XDest, double& YDest) const;

  // The same with the coordinates as texts: angle texts for a datum, numbers
  // for a grid (a text that does not parse raises EConversion with the
  // French message of the coordinate).  The destination is written as angle
  // texts in the unit for a datum, with three decimals for a grid.
  bool VersGeocentrique(std::string_view NomSource, std::string_view XSource, std::string_view YSource,
                        int32_t IndiceSource, double& XGeo, double& YGeo, double& ZGeo) const;
  bool DepuisGeocentrique(double XGeo, double YGeo, double ZGeo, std::string_view NomDest, int32_t& IndiceDest,
                          std::string& XDest, std::string& YDest, TUniteAngle UniteAngle) const;
  bool Conversion(std::string_view NomSource, std::string_view NomDest, std::string_view XSource,
                  std::string_view YSource, int32_t IndiceSource, int32_t& IndiceDest, std::string& XDest,
                  std::string& YDest, TUniteAngle UniteAngle) const;

  // Meridian convergence (radians) at a point of the source system, seen in
  // the destination system: for a datum destination the bearing of the
  // source grid's north, for a grid destination the grid bearing of the
  // source meridian.  A datum source takes latitude and longitude in radians
  // (indice 1: longitude from Paris), a grid source X and Y (indice: zone).
  // A multi-zone destination uses the zone the point falls in.  False when a
  // name is unknown.
  bool ConvergenceNum(std::string_view NomSource, std::string_view NomDest, double XSource, double YSource,
                      int32_t IndiceSource, double& Angle) const;
  // The same from texts, the result as text in the unit: the display form.
  // A datum source takes angle texts (latitude, longitude), a grid source
  // numbers.  False when a name is unknown; a text that does not parse raises
  // EConversion.
  bool Convergence(std::string_view NomSource, std::string_view NomDest, std::string_view XSource,
                   std::string_view YSource, int32_t IndiceSource, std::string& Declinaison,
                   TUniteAngle UniteAngle) const;
  // Scale factor at a point of the source system in the destination system:
  // the destination grid length of a short north-going step over its length
  // in the source (100 m of grid for a grid source, the straight geocentric
  // length for a datum source); 1 for a datum destination.  False when a name
  // is unknown.
  bool AlterationNum(std::string_view NomSource, std::string_view NomDest, double XSource, double YSource,
                     int32_t IndiceSource, double& Facteur) const;
  bool Alteration(std::string_view NomSource, std::string_view NomDest, std::string_view XSource,
                  std::string_view YSource, int32_t IndiceSource, double& Facteur) const;

  // Every datum name, then every projection name, then every multi-zone
  // name; Separations = (datums - 1) + 256 (projections - 1).
  void ListeSystemes(std::vector<std::string>& LaListe, int32_t& Separations) const;
  // The description of the datum, projection or multi-zone system of that
  // name; empty when none.
  std::string LaDescription(std::string_view LeQuel) const;
  // No datum, projection or multi-zone system bears the name (ellipsoids are
  // not searched).
  bool Inconnu(std::string_view Candidat) const;
  // Remove the ellipsoid when no datum refers to it, the datum when no
  // projection or multi-zone system does.  The seeds "GRS 80" and "WGS84"
  // are never removed.  False when nothing was removed.
  bool RetireEllipsoide(std::string_view LeQuel);
  bool RetireDatum(std::string_view LeQuel);

 private:
  void VerifieNomLibre(const std::string& nom) const;
  std::vector<std::unique_ptr<TEllipsoide>> ellipsoides_;
  std::vector<std::unique_ptr<TDatum>> datums_;
  std::vector<std::unique_ptr<TProjection>> projections_;
  std::vector<std::unique_ptr<TMultiple>> multiples_;
};

// The process-wide catalogue (contexte_projections.h), built for the first
// region on first use.
TDonnees& CatalogueProjections();

}  // namespace projections
