#pragma once
// What the stored drawings ask of the rest of the program: the display
// configuration of a drawing (its background images and SVG drawings, kept in
// the .CFG companion by the background model), the class of the page layouts
// that long sections own and the stations' wall points that elevations are
// computed from.  The program installs them at start-up; tests install their
// own with GardePortsDonnees.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "foundation/flux.h"
#include "foundation/objet_de_liste.h"

namespace survey {
class TCavite;
}

namespace drawing {

class TObjetMotifdeBase;

// The display configuration of a drawing, stored in the .CFG companion.
class TConfigDessin {
 public:
  virtual ~TConfigDessin() = default;
  virtual bool EcritObjet(foundation::TFlux& f) = 0;
  virtual bool LitObjet(foundation::TFlux& f) = 0;
  // Carries the backgrounds' ground points into another coordinate system.
  virtual void ChangeProjectionConfig(const std::string& AncienProj, int32_t AncienFuseau,
                                      const std::string& NouveauProj, int32_t NouveauFuseau) = 0;
};

// A configuration without background: an image count and an SVG count, both
// 0.  It cannot read a record that holds backgrounds.
class TConfigSansFond : public TConfigDessin {
 public:
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
  void ChangeProjectionConfig(const std::string&, int32_t, const std::string&, int32_t) override {}
};

struct PortsDonneesDessin {
  // Makes the display configuration of a new drawing; none installed: a
  // configuration without background.
  std::function<std::unique_ptr<TConfigDessin>()> CreeConfig;
  // The class of the page layouts of a long section; none installed: only
  // long sections without page layout can be read.
  foundation::TClassObjetDeListe ClasseMiseEnPage = nullptr;
  // The wall, ceiling and floor points of every station of a cave (the
  // survey model's station drawing geometry), computed before an elevation
  // of the cave is; none installed: the stations keep the points they hold.
  std::function<void(survey::TCavite&)> CalculeDessinCav;
  // In a page layout of a long section, every reference to the merged
  // pattern becomes one to the kept pattern; none installed: the layouts
  // are left alone (without page-layout class no long section holds one).
  std::function<void(foundation::TObjetDeListe& miseEnPage, TObjetMotifdeBase* garde, TObjetMotifdeBase* fusionne)>
      FusionneMotifsMiseEnPage;
};

PortsDonneesDessin& PortsDonnees();

// A new display configuration through the port.
std::unique_ptr<TConfigDessin> CreeConfigDessin();

class GardePortsDonnees {
 public:
  GardePortsDonnees() : sauve_(PortsDonnees()) {}
  ~GardePortsDonnees() { PortsDonnees() = sauve_; }
  GardePortsDonnees(const GardePortsDonnees&) = delete;
  GardePortsDonnees& operator=(const GardePortsDonnees&) = delete;

 private:
  PortsDonneesDessin sauve_;
};

}  // namespace drawing
