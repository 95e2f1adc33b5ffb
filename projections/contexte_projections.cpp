#include "projections/contexte_projections.h"

#include <memory>

#include "platform/contextes.h"
#include "projections/regions.h"

namespace projections {

TContexteProjections& ContexteProjections() {
  static TContexteProjections* const contexte = [] {
    static TContexteProjections c;
    c.Catalogue = std::make_unique<TDonnees>();
    ConstruitCatalogueRegion(c, 0);
    return &c;
  }();
  return *contexte;
}

TDonnees& CatalogueProjections() { return *Projections().Catalogue; }

GardeContexteProjections::GardeContexteProjections() {
  TContexteProjections& c = Projections();
  catalogue_ = std::move(c.Catalogue);
  region_ = c.RegionCourante;
  liste_ = std::move(c.ListeRegionCourante);
  c.Catalogue = std::make_unique<TDonnees>();
  ConstruitCatalogueRegion(c, region_);
}

GardeContexteProjections::~GardeContexteProjections() {
  TContexteProjections& c = Projections();
  c.Catalogue = std::move(catalogue_);
  c.RegionCourante = region_;
  c.ListeRegionCourante = std::move(liste_);
}

namespace {
[[maybe_unused]] const bool inscrit =
    platform::InscritContexte([] { return std::make_shared<GardeContexteProjections>(); });
}  // namespace

}  // namespace projections
