#pragma once
// A regular grid of geocentric translations indexed by longitude and latitude
// in decimal degrees, read from a text file, interpolated bilinearly.
//
// File layouts (8-bit text, "." decimal point):
// - extension ".txt" (any case), the IGN layout: line 1 skipped; line 2 a word,
//   then LongMin LongMax LatMin LatMax PasLong PasLat; lines 3 and 4 skipped;
//   every further non-empty line a node: a skipped field, longitude, latitude,
//   TX, TY, TZ and one more skipped field (anything after is ignored);
// - other extensions: line 1 the six header values; when nothing follows them,
//   line 2 holds every node in index order as TX TY TZ and a skipped field;
//   otherwise every further non-empty line is a node as above without its
//   leading skipped field.
// Node fields are separated by blanks, or by tabs when the first node line
// holds no blank.  Nodes missing from the file keep a zero translation.
#include <string>
#include <vector>

namespace projections {

class TGrilleIgn {
 public:
  // Reads the whole file; raises EConversion with a French message when it
  // cannot be read or is malformed.  A header whose node count exceeds the
  // file's size in bytes is refused.
  explicit TGrilleIgn(const std::string& FileName);

  double LatMin() const { return latMin_; }
  double LatMax() const { return latMax_; }
  double LongMin() const { return longMin_; }
  double LongMax() const { return longMax_; }
  double PasLat() const { return pasLat_; }
  double PasLong() const { return pasLong_; }
  int NbLong() const { return nbLong_; }
  int NbLat() const { return nbLat_; }
  // Node of column i (longitude LongMin + i PasLong) and row j is at
  // i * NbLat + j.
  const std::vector<double>& CoefX() const { return coefX_; }
  const std::vector<double>& CoefY() const { return coefY_; }
  const std::vector<double>& CoefZ() const { return coefZ_; }

  // The interpolated translation at (Lat, Long) in degrees; false outside the
  // grid's box (its edges are inside) or for a non-finite position.  On the
  // east and north edges the last cell is used.
  bool GetTranslation(double Lat, double Long, double& TX, double& TY, double& TZ) const;

 private:
  double latMin_ = 0, pasLat_ = 0, pasLong_ = 0, longMax_ = 0, longMin_ = 0, latMax_ = 0;
  int nbLong_ = 0, nbLat_ = 0;
  std::vector<double> coefX_, coefY_, coefZ_;
};

}  // namespace projections
