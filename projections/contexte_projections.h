#pragma once
// The process-wide state of the projection library in one object: the
// catalogue every service works on, the region it was built for and the lines
// it was built from.  GardeContexteProjections sets the whole state aside for a while.
#include <memory>
#include <string>
#include <vector>

#include "projections/donnees.h"

namespace projections {

struct TContexteProjections {
  std::unique_ptr<TDonnees> Catalogue;  // never null
  int RegionCourante = 0;
  // The lines the catalogue was built from, in order: the UTM hemisphere
  // lines of the region, then the region's own list (empty for "Autres").
  // Lines a document adds on top are not here.
  std::vector<std::string> ListeRegionCourante;
};

// The context, built on first use with the catalogue of region 0.
// The one context of the folder (the catalogue and its region); Projections()
// is a shortcut to it.
TContexteProjections& ContexteProjections();
inline TContexteProjections& Projections() { return ContexteProjections(); }

// Sets the catalogue, the region and its lines aside and makes a fresh
// catalogue of the same region current; puts the saved state back on exit,
// also on an exception.  The saved catalogue object is the one restored, so
// references taken before the guard are valid again after it.
class GardeContexteProjections {
 public:
  GardeContexteProjections();
  ~GardeContexteProjections();
  GardeContexteProjections(const GardeContexteProjections&) = delete;
  GardeContexteProjections& operator=(const GardeContexteProjections&) = delete;

 private:
  std::unique_ptr<TDonnees> catalogue_;
  int region_;
  std::vector<std::string> liste_;
};

using GardeProjections = GardeContexteProjections;

}  // namespace projections
