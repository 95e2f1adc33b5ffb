#include "projections/fabrique.h"

#include <algorithm>

#include "projections/bonne.h"
#include "projections/hotine.h"
#include "projections/laborde.h"
#include "projections/lambert.h"
#include "projections/mercator_sphere.h"
#include "projections/new_zealand.h"
#include "projections/proj_latlonj.h"
#include "projections/stereographique.h"
#include "projections/suisse_oblique.h"
#include "projections/transverse_mercator.h"

namespace projections {

namespace {

struct TTables {
  std::vector<TRelationProj> projections;
  std::vector<TRelationMulti> multiples;
};

// The families of the program, in the order of the table.
void EnregistreFamilles() {
  EnregistreFamilleLambert();
  EnregistreFamilleMercator();
  EnregistreFamilleSuisse();
  EnregistreFamilleLaborde();
  EnregistreFamilleHotine();
  EnregistreFamilleStereographique();
  EnregistreFamilleNewZealand();
  EnregistreFamilleBonne();
  EnregistreFamilleMercatorSphere();
  EnregistreFamilleLatLong();
}

TTables& Stockage() {
  static TTables tables;
  return tables;
}

// Fills the tables once, on the first use of the factory (at start-up, before
// the catalogue is built); the registrations made while filling find the
// tables already in use and add to them.
TTables& Tables() {
  static bool enCours = false;
  if (!enCours) {
    static const bool remplies = (enCours = true, EnregistreFamilles(), true);
    (void)remplies;
  }
  return Stockage();
}

}  // namespace

const std::vector<TRelationProj>& RelationsProjections() { return Tables().projections; }
const std::vector<TRelationMulti>& RelationsMultiples() { return Tables().multiples; }

bool EnregistreProjection(std::string nature, TProjectionClass classe) {
  auto& t = Tables().projections;
  if (std::any_of(t.begin(), t.end(), [&](const TRelationProj& r) { return r.Texte == nature; })) return false;
  t.push_back({std::move(nature), classe});
  return true;
}

bool EnregistreMultiple(std::string nature, TMultipleClass classe) {
  auto& t = Tables().multiples;
  if (std::any_of(t.begin(), t.end(), [&](const TRelationMulti& r) { return r.Texte == nature; })) return false;
  t.push_back({std::move(nature), classe});
  return true;
}

std::unique_ptr<TProjection> CreeProjection(std::string_view nature) {
  for (const auto& r : RelationsProjections())
    if (r.Texte == nature) return r.Objet();
  return nullptr;
}

std::unique_ptr<TMultiple> CreeMultiple(std::string_view nature) {
  for (const auto& r : RelationsMultiples())
    if (r.Texte == nature) return r.Objet();
  return nullptr;
}

}  // namespace projections
