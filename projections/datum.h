#pragma once
// A datum: an ellipsoid tied to the pivot of every conversion (geocentric
// coordinates on the WGS84 frame) by a geocentric shift of three or seven
// parameters and, where a grid file is installed, by locally interpolated
// translations.
#include <memory>
#include <string>
#include <string_view>

#include "foundation/flux.h"
#include "projections/ellipsoide.h"
#include "projections/grille_ign.h"

namespace projections {

class TDonnees;

// The constants on which the program computes WGS84 geographic coordinates.
inline constexpr double AWGS84 = 6378137.0;
inline constexpr double EWGS84 = 0.08181919106;
// The grid file looked for beside the executable for the datum "NTF".
inline constexpr const char* NomGrilleNTF = "gr3df97a.txt";

class TDatum {
 public:
  TDatum();
  ~TDatum();
  TDatum(const TDatum&) = delete;
  TDatum& operator=(const TDatum&) = delete;

  TEllipsoide* Ellipsoide = nullptr;  // belongs to the catalogue
  double DeltaX = 0, DeltaY = 0, DeltaZ = 0;  // metres, this datum to the pivot
  bool Reduit = true;                         // three parameters only
  double RotX = 0, RotY = 0, RotZ = 0;        // arc-seconds
  double Scale = 0;                           // parts per million
  std::string Nom;
  std::string Description;
  bool Valid = false;
  // True for a datum declared without a grid (" *" on its line).
  bool NoIgnGrille = false;

  const std::string& FileGrille() const { return fileGrille_; }
  // Frees the loaded grid and loads the named file when it exists (a file that
  // fails to read raises).  Nothing happens when the name does not change.
  void SetFileGrille(const std::string& nom);
  const TGrilleIgn* GrilleIgn() const { return grille_.get(); }

  // Geographic on this datum (radians; Paris: longitude counted from the Paris
  // meridian) to pivot coordinates, and back (the height is dropped).
  void VersCartesien(double Lat, double Long, bool Paris, double& X, double& Y, double& Z) const;
  void VersLatLong(double X, double Y, double Z, bool Paris, double& Lat, double& Long) const;
  void DepuisWGS84(double LatWGS84, double LongWGS84, double& Lat, double& Long) const;
  void VersWGS84(double Lat, double Long, double& LatWGS84, double& LongWGS84) const;

  // Reads the definition that follows "Datum=": name, description, ellipsoid
  // name (looked up in the catalogue), three translations, optionally three
  // rotations and the scale, optionally a grid token ("*" for none, else a
  // file name).  Raises on a wrong token count, an unknown ellipsoid or a bad
  // number.
  void LoadFromStream(foundation::TFlux& flux, const TDonnees& LesDonnees);
  void LitDefinition(std::string_view definition, const TDonnees& LesDonnees);
  void SaveToStream(foundation::TFlux& flux) const;
  std::string Ligne() const;
  void Assign(const TDatum& autre);

 private:
  void ParametresSimilitude(double& d, double& rx, double& ry, double& rz) const;
  std::string fileGrille_;
  std::unique_ptr<TGrilleIgn> grille_;
};

}  // namespace projections
