#include "projections/regions.h"

#include "foundation/flux.h"
#include "platform/files.h"
#include "projections/contexte_projections.h"
#include "projections/regions_donnees.h"

namespace projections {

using foundation::IdMsg;

namespace {

// Region 0, "France".
constexpr const char* kLignesFrance[] = {
    "Ellipsoide=\"Clarke80\" \"Clarke 1880\" 6378249.2 0.0824832568",
    "Ellipsoide=\"Hayford 09\" \"Hayford 1909\" 6378388 0.0819918900",
    "Ellipsoide=\"Plessis\" \"Plessis 1840\" 6376523 0.0804334508",
    "Datum=\"NTF\" \"Nouvelle Triangulation Française\" \"Clarke80\" -168 -60 320",
    "Datum=\"ED 50\" \"European Datum\" \"Hayford 09\" -84 -97 -117",
    "Datum=\"ATG\" \"Ancienne triangulation française\" \"Plessis\" 1118 23 66",
    "Projection \"Lambert Conique Sécant\"=\"LT 93\" \"Lambert-93\" \"WGS84\" 700000 6600000 3° 46°30' 44° 49°",
    "Projection \"Lambert Conique Tangent\"=\"LT 1\" \"Lambert I\" \"NTF\" 0.99987734 600000 1200000 2°20'14.025'' 55g",
    "Projection \"Lambert Conique Tangent\"=\"LT 2\" \"Lambert II\" \"NTF\" 0.99987742 600000 200000 2°20'14.025'' 52g",
    "Projection \"Lambert Conique Tangent\"=\"LT 3\" \"Lambert III\" \"NTF\" 0.9998775 600000 3200000 2°20'14.025'' 49g",
    "Projection \"Lambert Conique Tangent\"=\"LT 2+\" \"Lambert II étendu\" \"NTF\" 0.99987742 600000 2200000 "
    "2°20'14.025'' 52g",
    "Projection \"Lambert Conique Tangent\"=\"LT 4\" \"Lambert IV\" \"NTF\" 0.99994471 234.358 185861.369 "
    "2°20'14.025'' 46.85g",
    "Projection \"Lambert Conique Sécant\"=\"LT GC\" \"Lambert Grand Champ\" \"NTF\" 600000 600000 2°20'14.025'' 47° "
    "45° 49°",
    "Projection \"Bonne\"=\"Michelin\" \"Bonne Michelin\" \"ATG\" 0.0000000000 5570439.7110000001 2°20'14.025'' "
    "48°51'36''",
    "Multiple \"Transverse Mercator Multiple\"=\"UTM\" \"Universal Transverse Mercator\" \"WGS84\" 0.9996 500000 0 "
    "10000000 -177° 6°",
    "Multiple \"Transverse Mercator Multiple\"=\"UTM ED50\" \"Universal Transverse Mercator\" \"ED 50\" 0.9996 500000 "
    "0 10000000 -177° 6°",
    "Projection \"Lambert Conique Sécant\"=\"CC42\" \"Conique Conforme Zone 1\" \"WGS84\" 1700000 1200000 3° 42° 41.25° "
    "42.75°",
    "Projection \"Lambert Conique Sécant\"=\"CC43\" \"Conique Conforme Zone 2\" \"WGS84\" 1700000 2200000 3° 43° 42.25° "
    "43.75°",
    "Projection \"Lambert Conique Sécant\"=\"CC44\" \"Conique Conforme Zone 3\" \"WGS84\" 1700000 3200000 3° 44° 43.25° "
    "44.75°",
    "Projection \"Lambert Conique Sécant\"=\"CC45\" \"Conique Conforme Zone 4\" \"WGS84\" 1700000 4200000 3° 45° 44.25° "
    "45.75°",
    "Projection \"Lambert Conique Sécant\"=\"CC46\" \"Conique Conforme Zone 5\" \"WGS84\" 1700000 5200000 3° 46° 45.25° "
    "46.75°",
    "Projection \"Lambert Conique Sécant\"=\"CC47\" \"Conique Conforme Zone 6\" \"WGS84\" 1700000 6200000 3° 47° 46.25° "
    "47.75°",
    "Projection \"Lambert Conique Sécant\"=\"CC48\" \"Conique Conforme Zone 7\" \"WGS84\" 1700000 7200000 3° 48° 47.25° "
    "48.75°",
    "Projection \"Lambert Conique Sécant\"=\"CC49\" \"Conique Conforme Zone 8\" \"WGS84\" 1700000 8200000 3° 49° 48.25° "
    "49.75°",
    "Projection \"Lambert Conique Sécant\"=\"CC50\" \"Conique Conforme Zone 9\" \"WGS84\" 1700000 9200000 3° 50° 49.25° "
    "50.75°",
    "Projection \"Mercator sur sphère\"=\"Mercator\" \"Mercator\" \"WGS84\" 0 0 0",
};

// The table of the ten regions; the lists of regions 1 to 8 are in
// regions_donnees.cpp.  Built on first use, so that it is complete whenever
// it is read, also from another unit's start-up.
const std::array<TRegion, NombreRegions>& TableRegions() {
  static const std::array<TRegion, NombreRegions> regions = {{
      {IdMsg::ProjRegionFrance, 0, kLignesFrance},
      {IdMsg::ProjRegionAfrique, HemisphereNord | HemisphereSud, ListesRegionales()[1]},
      {IdMsg::ProjRegionAmeriqueCentrale, HemisphereNord, ListesRegionales()[2]},
      {IdMsg::ProjRegionAmeriqueNord, HemisphereNord, ListesRegionales()[3]},
      {IdMsg::ProjRegionAsie, HemisphereNord | HemisphereSud, ListesRegionales()[4]},
      {IdMsg::ProjRegionDomTom, HemisphereNord | HemisphereSud, ListesRegionales()[5]},
      {IdMsg::ProjRegionEurope, HemisphereNord, ListesRegionales()[6]},
      {IdMsg::ProjRegionOceanie, HemisphereSud, ListesRegionales()[7]},
      {IdMsg::ProjRegionOceanIndien, HemisphereSud, ListesRegionales()[8]},
      {IdMsg::ProjRegionAutres, HemisphereNord | HemisphereSud, {}},
  }};
  return regions;
}

bool RegionValide(int region) { return region >= 0 && region < NombreRegions; }

}  // namespace

const std::array<TRegion, NombreRegions>& Regions() { return TableRegions(); }

std::vector<std::string> NomsRegions() {
  std::vector<std::string> r;
  r.reserve(NombreRegions);
  for (const TRegion& region : TableRegions()) r.push_back(foundation::Msg(region.Nom));
  return r;
}

std::string LigneUTMHemisphere(bool sud) {
  std::string r = "Multiple \"Transverse Mercator Multiple\"=\"";
  r += sud ? "UTM S" : "UTM N";
  r += "\" \"UTM - WGS84 ";
  r += foundation::Msg(sud ? IdMsg::ProjHemisphereSud : IdMsg::ProjHemisphereNord);
  r += "\" \"WGS84\" 0.9996 500000 0 10000000 -177° 6°";
  return r;
}

void ConstruitCatalogueRegion(TContexteProjections& contexte, int region) {
  const TRegion& r = TableRegions()[region];
  contexte.RegionCourante = region;
  contexte.ListeRegionCourante.clear();
  if (r.Hemispheres & HemisphereNord) contexte.ListeRegionCourante.push_back(LigneUTMHemisphere(false));
  if (r.Hemispheres & HemisphereSud) contexte.ListeRegionCourante.push_back(LigneUTMHemisphere(true));
  for (const char* ligne : r.Lignes) contexte.ListeRegionCourante.emplace_back(ligne);
  TDonnees& catalogue = *contexte.Catalogue;
  catalogue.InitDonnees();
  // One line at a time: a line of the list can never take the next one with
  // it.
  for (const std::string& ligne : contexte.ListeRegionCourante) catalogue.AjoutLigne(ligne);
}

int ChargeCatalogue(const std::string& NomFichier) {
  if (!platform::FileExists(NomFichier)) return 1;
  foundation::TFluxMemoire flux;
  if (!foundation::ChargeFlux(NomFichier, flux)) return 2;
  CatalogueProjections().LoadFromStream(flux);
  return 0;
}

bool ChargeListeProjections(int region) {
  if (!RegionValide(region)) return false;
  ConstruitCatalogueRegion(Projections(), region);
  return true;
}

bool ChangeListeProjections(int region) {
  if (!RegionValide(region)) return false;
  if (region != Projections().RegionCourante) ConstruitCatalogueRegion(Projections(), region);
  return true;
}

}  // namespace projections
