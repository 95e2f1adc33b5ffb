#pragma once
// A digitising calibration of a cave's plan or elevation: which pixels of a
// scanned survey sheet are which stations, and how the sheet is turned and
// scaled.  Each cave owns two (plan and elevation); they are stored in the
// document's companion file.  The windows that set them belong to the editor.
//
// Record: MethodeOrient (1 byte), 3 bytes of 0, IndPointZero, IndPointDeux (4
// bytes each), LongueurEchelle, Orientation (8 bytes each), PointZero.X,
// PointZero.Y, PointDeux.X, PointDeux.Y (4 bytes each), the low byte of
// ValCalage (0x01 calibrated, 0x0A calibrated with reversed elevation, 0xFF or
// 0xF6 not calibrated), NomImage (text), the image points (count, then Num, X,
// Y: 4 bytes each) and the ground points (count, then Num: 4 bytes, X, Y, Z,
// SlH: 8 bytes each).
#include <cstdint>
#include <string>

#include "foundation/flux.h"
#include "foundation/objet_de_liste.h"
#include "foundation/point_topo.h"

namespace survey {

class TPointSpeleo;

// Calibration methods (MethodeOrient).
inline constexpr uint8_t CalageAucun = 0;
inline constexpr uint8_t CalageOrientationEchelle = 1;  // plan
inline constexpr uint8_t CalagePointsCarroyage = 2;     // plan, from the raster calibration
inline constexpr uint8_t CalageEchellesHV = 3;          // elevation
inline constexpr uint8_t CalageDeuxPoints = 4;          // elevation

class TCalageDigit {
 public:
  TCalageDigit() = default;
  TCalageDigit(const TCalageDigit&) = delete;
  TCalageDigit& operator=(const TCalageDigit&) = delete;

  uint8_t MethodeOrient = CalageAucun;
  int32_t IndPointZero = -1;  // network numbers of the two reference stations
  int32_t IndPointDeux = -1;
  double LongueurEchelle = 0;  // metres of the scale segment drawn on the image
  double Orientation = 0;      // degrees
  foundation::TPoint PointZero;
  foundation::TPoint PointDeux;
  int32_t ValCalage = -1;      // +1 calibrated, -1 not, times 10 for a reversed elevation
  std::string NomImage;
  foundation::TListeFichier<foundation::TObjetPoint> PointsImageDigit;
  foundation::TPtTopoList PointsTerrain;
  bool CoupeDigitInversee = false;  // kept from the record and written back
  bool CalageOk = false;
  // Computed, not stored.
  foundation::TPointTopo ValeurPointZero;
  foundation::TPointTopo ValeurPointDeux;
  TPointSpeleo* PointZeroSpel = nullptr;  // not owned
  TPointSpeleo* PointDeuxSpel = nullptr;

  // Image point i; (0, 0) outside the list.
  foundation::TPoint LePointImage(int i) const;
  // Ground point i; a zero point with SlH -1 outside the list.
  foundation::TPointTopo LePointTerrain(int i) const;

  bool EcritObjet(foundation::TFlux& f);
  // True when every field was read; calibrated when the image has a name and
  // the state byte is 0x01 or 0x0A.
  bool LitObjet(foundation::TFlux& f);
  // Converts the ground points' X and Y from one coordinate system and zone
  // into another.
  void ChangeProjectionCalage(const std::string& ancienSysteme, int32_t ancienFuseau, const std::string& nouveauSysteme,
                              int32_t nouveauFuseau);
};

}  // namespace survey
