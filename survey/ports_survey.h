#pragma once
// What the survey model asks of the subsystems built above it: the windows it
// opens (the shot-entry side's coordinate dialog, the gallery continuation
// choice, the observation list), the document library's surface symbols, the
// network's coordinate conversions and the drawing data a cave carries.  Each
// subsystem installs its part at start-up; until then the model behaves as if
// the user cancelled, and converts nothing.
//
// Held in one process-wide object; GardePortsSurvey saves and restores it.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foundation/flux.h"

namespace drawing {
class TObjetMotifdeBase;
}

namespace survey {

class TPointSpeleo;
class TCavite;
class TSuppressions;

// The gallery continuation choice: caption "Rattachement au point " + origin,
// the gallery's name, one item per candidate station.  The answer is the index
// of the station chosen to continue the gallery, -1 for "aucun", nullopt when
// the window was cancelled.
struct TDemandeSuiteGalerie {
  std::string Titre;
  std::string NomGalerie;
  std::vector<TPointSpeleo*> Points;
  bool Rectification = false;  // an existing shot is being corrected
};

// Data that other subsystems attach to a cave (plan drawing, long sections,
// sketches, display memories, the cave's own line styles).  The cave owns it,
// frees it with itself and tells it about removed stations and trips.
class TAnnexeCavite {
 public:
  virtual ~TAnnexeCavite() = default;
  // The cave's two optional line styles in its record: for each, one byte (1
  // when the cave has its own style) followed by the style's record.
  virtual bool EcritStylesCavite(foundation::TFlux& f) = 0;
  virtual bool LitStylesCavite(foundation::TFlux& f) = 0;
  virtual void Nettoie(const TSuppressions&) {}
};

struct PortsSurvey {
  // Position of a surface symbol in the document library's surface-symbol
  // list, -1 when it is not there.
  std::function<int32_t(const drawing::TObjetMotifdeBase*)> PositionCategorieSurface;
  // Name of a surface symbol.
  std::function<std::string(const drawing::TObjetMotifdeBase*)> NomCategorieSurface;
  // The coordinates dialog of a station (title given); true on OK, the dialog
  // having written its values into the station.
  std::function<bool(TPointSpeleo&, const std::string& titre)> DialogueCoordonnees;
  // The gallery continuation choice.
  std::function<std::optional<int>(const TDemandeSuiteGalerie&)> DialogueSuiteGalerie;
  // The observation list of a station, read-only.
  std::function<void(TPointSpeleo&)> VoirSuites;
  // X and Y of a surface point from a coordinate system and zone into the
  // network's system (metres).
  std::function<void(TPointSpeleo&, const std::string& systeme, int32_t zone)> TransformePointSurface;
  // X and Y from one system and zone into another.
  std::function<void(double& x, double& y, const std::string& ancienSysteme, int32_t ancienFuseau,
                     int32_t nouveauFuseau, const std::string& nouveauSysteme)>
      ChangeProjectionPoint;
  // Creates the drawing data of a new cave.
  std::function<std::unique_ptr<TAnnexeCavite>(TCavite&)> CreeAnnexeCavite;
};

PortsSurvey& Ports();

class GardePortsSurvey {
 public:
  GardePortsSurvey() : sauve_(Ports()) {}
  ~GardePortsSurvey() { Ports() = sauve_; }
  GardePortsSurvey(const GardePortsSurvey&) = delete;
  GardePortsSurvey& operator=(const GardePortsSurvey&) = delete;

 private:
  PortsSurvey sauve_;
};

// Display settings read by the model's row and listing routines (the main
// window and the settings set them).
struct ContexteAffichage {
  bool ColonnesTopofil = false;       // thread-counter columns shown
  bool CoordonneesAffichees = false;  // coordinates shown instead of dimensions
  bool DimensionsAffichees = false;   // passage-dimension columns shown
  int DecimalesCoord = 1;             // decimals of coordinates, 0 to 3
};

ContexteAffichage& Affichage();

class GardeAffichage {
 public:
  GardeAffichage() : sauve_(Affichage()) {}
  ~GardeAffichage() { Affichage() = sauve_; }
  GardeAffichage(const GardeAffichage&) = delete;
  GardeAffichage& operator=(const GardeAffichage&) = delete;

 private:
  ContexteAffichage sauve_;
};

}  // namespace survey
