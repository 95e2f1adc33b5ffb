#pragma once
// The projection services the rest of the program calls.  They work on the
// process-wide catalogue (contexte_projections.h), take coordinate-system
// names, and turn every failure into a small code instead of an error:
//   0 done; 1 the first name (or the index) is not in the catalogue; 2 the
//   second name is not, or, for the copy routines, any error; 3 an error
//   during the conversion, a non-finite result included.
// A conversion that fails leaves every output (and the point it converts)
// as it was.  Geographic values are radians unless said otherwise; a zone
// below ZoneAutomatique lets a multi-zone system choose it (ancetre.h).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/point_topo.h"

namespace projections {

inline constexpr int CodeFait = 0;
inline constexpr int CodePremierInconnu = 1;
inline constexpr int CodeSecondInconnu = 2;
inline constexpr int CodeErreur = 3;

// --- Enumeration, for the selection frames ------------------------------------------
int NombreProjections();
int NombreMultiples();
// Name or description of the projection or multi-zone system of that index:
// 1 when the index is outside the list or above 255.
int NomProjection(int index, std::string& nom);
int DescriptionProjection(int index, std::string& description);
int NomMultiple(int index, std::string& nom);
int DescriptionMultiple(int index, std::string& description);
// Every projection name, then every multi-zone name, each once whatever its
// case.
void ListeNomsProjections(std::vector<std::string>& liste);
// The index among the projections, else among the multi-zone systems
// (EstMultiple true); -1 when neither holds the name.
bool ChercheProjection(std::string_view nom, int& index, bool& EstMultiple);
// The name of the datum of a projection or multi-zone system, or of that
// datum's ellipsoid; false when the name is unknown.
bool DatumProjection(std::string_view nom, std::string& datum);
bool EllipsoideProjection(std::string_view nom, std::string& ellipsoide);

// --- Conversions -------------------------------------------------------------------------
// Latitude and longitude on a datum to a grid.  The zone is set to 0 for a
// single-zone projection; a multi-zone system takes it and returns it.
// 1: datum unknown; 2: projection unknown; 3: error.
int DatumVersGrille(std::string_view datum, std::string_view projection, double Lat, double Long, double& X,
                    double& Y, int32_t& zone);
// A grid point (zone for a multi-zone system) to latitude and longitude on a
// datum.  1: system unknown; 2: datum unknown; 3: error.
int GrilleVersDatum(std::string_view projection, int32_t zone, double X, double Y, std::string_view datum,
                    double& Lat, double& Long);
// One grid to another.  1: source unknown; 2: target unknown; 3: error.
int GrilleVersGrille(std::string_view source, int32_t zoneSource, double X, double Y, std::string_view cible,
                     double& XCible, double& YCible, int32_t& zoneCible);
// WGS84 latitude and longitude in degrees to the UTM system of the current
// region ("UTM", or "UTM N" / "UTM S" by hemisphere), the zone chosen from
// the point.  A southern point where only "UTM" exists is converted there
// after a message saying that "UTM S" is not in the list.
int WGS84VersUTM(double LatDegres, double LongDegres, double& X, double& Y, std::string& systeme, int32_t& zone);
// The point's X and Y from the old system and zone to the new one; Z and the
// other fields are untouched, and so are X and Y when the code is not 0.
int ChangeProjectionPoint(std::string_view NouveauProj, int32_t NouveauFuseau, std::string_view AncienProj,
                          int32_t AncienFuseau, foundation::TPointTopo& point);
// A conversion of many points from one grid system and zone to another, the
// two systems resolved once for the batch (the catalogue must not change
// while it is used).  Each point as ChangeProjectionPoint converts it.
class TConversionGrille {
 public:
  TConversionGrille(std::string_view source, int32_t zoneSource, std::string_view cible, int32_t zoneCible);
  ~TConversionGrille();
  TConversionGrille(const TConversionGrille&) = delete;
  TConversionGrille& operator=(const TConversionGrille&) = delete;
  // CodeFait when both systems are known, else the code of the unknown one.
  int Code() const { return code_; }
  // The code of the conversion of X and Y, which are left as they were
  // unless it is CodeFait.
  int Convertit(double& x, double& y) const;

 private:
  struct Systemes;
  Systemes* systemes_ = nullptr;
  int32_t zoneSource_ = 0;
  int32_t zoneCible_ = 0;
  int code_ = CodeFait;
};

// LatPt and LongPt of the point from its X and Y (northing through
// CorrigeYLambert); false, the point untouched, when the name is empty or
// the conversion fails.
bool PtTopoVersWGS84(foundation::TPointTopo& point, std::string_view systeme, int32_t zone);

// --- Meridian convergence --------------------------------------------------------------
// In radians at a point of the source system seen in the destination system
// (TDonnees::ConvergenceNum); false on an unknown name or an error.
bool ConvergenceProjectionNum(std::string_view source, std::string_view destination, double X, double Y,
                              int32_t IndiceSource, double& angle);
// The display form: texts in, text out in the unit of the code (1 degrees
// minutes seconds, 2 grades, 3 degrees and decimal minutes, other decimal
// degrees); false on an unknown name or an error.
bool ConvergenceProjection(std::string_view source, std::string_view destination, std::string_view XTexte,
                           std::string_view YTexte, int32_t IndiceSource, std::string& texte, int codeUnite);
// Convergence (radians) of a UTM grid point of the signed zone, from the
// usual series; 0 when the point does not convert.
double ConvergenceUTM(int32_t zone, double X, double Y);

// --- Definition lines of a system, for a document to carry -------------------------------
// The line that defines the projection or multi-zone system, the line of its
// datum, the line of that datum's ellipsoid: the text of the current
// region's list when it holds it, else the line of the catalogue's object;
// empty for a seed ("WGS84", "GRS 80") or an unknown name.
std::string LigneProjection(std::string_view nom);
std::string LigneDatumProjection(std::string_view nom);
std::string LigneEllipsoideProjection(std::string_view nom);

struct TParamsProj {
  std::string Ellipsoide;
  std::string Datum;
  std::string Projection;
};
// The three lines of a system (all empty for an empty name).
TParamsProj ChercheParamsProj(std::string_view projection);
// After a document is read: warns when the current catalogue does not list
// the system, then adds each non-empty stored line (ellipsoid, datum,
// projection).  True when the system is known afterwards (or the name is
// empty).
bool ChargeParamsProj(std::string_view projection, const TParamsProj& params);

// --- Checks and fix-ups -----------------------------------------------------------------
// Warns, and gives false, when the catalogue does not list the system
// (compared without regard to case).
bool VerifieProjectionListee(std::string_view nom);
// A northing of a French Lambert zone given with or without its million
// prefix, brought to the form of the built-in definition; other names
// unchanged.
double CorrigeYLambert(std::string_view nom, double Y);

}  // namespace projections
