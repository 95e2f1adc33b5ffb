#include "projections/contexte_projections.h"

#include "projections/regions.h"

namespace projections {

ContexteProjections& Projections() {
  static ContexteProjections* const contexte = [] {
    static ContexteProjections c;
    c.Catalogue = std::make_unique<TDonnees>();
    ConstruitCatalogueRegion(c, 0);
    return &c;
  }();
  return *contexte;
}

TDonnees& CatalogueProjections() { return *Projections().Catalogue; }

GardeProjections::GardeProjections() {
  ContexteProjections& c = Projections();
  catalogue_ = std::move(c.Catalogue);
  region_ = c.RegionCourante;
  liste_ = std::move(c.ListeRegionCourante);
  c.Catalogue = std::make_unique<TDonnees>();
  ConstruitCatalogueRegion(c, region_);
}

GardeProjections::~GardeProjections() {
  ContexteProjections& c = Projections();
  c.Catalogue = std::move(catalogue_);
  c.RegionCourante = region_;
  c.ListeRegionCourante = std::move(liste_);
}

}  // namespace projections
