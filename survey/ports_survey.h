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
#include "survey/liens_dessin.h"

namespace survey {

class TPointSpeleo;
class TCavite;
class TSuppressions;
class TVisee;

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

// --- Cave editing windows ------------------------------------------------------------
// The shot-entry dialog, for a new shot or splay (Source: the shot it starts
// from) or for the correction of a shot (Rectification).  On OK the dialog
// has filled Visee as it transfers its fields: measured values, trip,
// comment, ends, TypeRattachement, EstHabi when it made the shot a splay.
// An end it created is a new station in no gallery, which the cave takes
// over; on Cancel the dialog frees what it created and leaves Visee as it was.
struct TDemandeSaisieVisee {
  TCavite* Cavite = nullptr;
  TVisee* Visee = nullptr;
  TVisee* Source = nullptr;
  bool Rectification = false;
  std::string NomGaleriePropose;  // "Galerie d'entrée" for a cave's first shot
  // Answer: a new gallery is asked, with its name.
  bool NouvelleGalerie = false;
  std::string NomGalerie;
};

// The attachment-point choice ("Choix du point de bouclage" for a loop):
// the station whose attachment is chosen, its neighbours being marked; the
// answer is the chosen station, none when cancelled.
struct TDemandeRattachement {
  TCavite* Cavite = nullptr;
  TPointSpeleo* Point = nullptr;
  std::string Titre;
  bool PointsSurface = false;  // surface points may be chosen
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

  // --- The document (the network's reader and writer call these) -------------------
  // The cave's drawings after the shot lists: the sketch list, the plan
  // drawing, the long-section list.  Reading also gives the plan drawing and
  // the long sections the cave's shots, makes the first long section the
  // oriented elevation and gives the sketches the oriented elevation and the
  // shots.  An annex that does not carry them cannot write a document.
  virtual bool EcritDessins(foundation::TFlux&) { return false; }
  virtual bool LitDessins(foundation::TFlux&) { return false; }
  // After the cave's station list was rebuilt: each sketch takes its trip.
  virtual void AffecteLeversCroquis() {}
  // Number of long sections (the page layouts' elevation blocks name them).
  virtual int NombreCoupesLong() const { return 0; }
  // Documents older than level 505: when the second long section has no page
  // layout and an empty drawing, removes it and renames a first section named
  // "Coupe orientée globale" "Coupe développée globale"; true when it did.
  virtual bool CorrigeCoupesAnciennes() { return false; }
  // The display configurations in the .CFG companion: the plan drawing's,
  // then each long section's (reading: with coupesDecalees one more, first,
  // into the first long section).
  virtual bool EcritConfig(foundation::TFlux&) { return false; }
  virtual bool LitConfig(foundation::TFlux&, bool /*coupesDecalees*/) { return false; }
  // The plan drawing's backgrounds into another coordinate system.
  virtual void ChangeProjection(const std::string& /*ancien*/, int32_t /*ancienFuseau*/, int32_t /*nouveauFuseau*/,
                                const std::string& /*nouveau*/) {}
  // Offset parts of the plan drawing and of the long sections drawn in the
  // old watermark colour take the current one.
  virtual void ChangeCouleurFiligr(uint32_t /*ancienne*/) {}
  // Whether a drawing of the cave uses the pattern (setting its locks).
  virtual bool UtiliseMotif(const TMotifDocument*) { return false; }
  // Uses of fusionne in the cave's drawings become uses of garde.
  virtual void FusionneMotifs(TMotifDocument* /*garde*/, TMotifDocument* /*fusionne*/) {}
  // The plan drawing's scale when set, else the first long section's scale
  // that is set, else -1.
  virtual double EchelleParDefaut() const { return -1; }
  // The drawings' part of the cave's plan computation, after the network was
  // computed: the plan drawing and the sketches placed again from the shots.
  virtual void CalculeDessinPlani() {}
  // After shots were marked for deletion (AEffacer), before they are freed:
  // the drawings drop what can no longer be placed.
  virtual void EffaceObjetsSansPoints() {}
  // The names of the long sections, from the third on, left without shot
  // once the shots marked for deletion go.
  virtual std::vector<std::string> CoupesAEffacer() const { return {}; }
  // A merged cave's drawings join this cave's: plan drawing and global
  // developed section added in, other long sections and sketches appended;
  // the merged annex is left empty.
  virtual void AjouteDessinsCavite(TAnnexeCavite& /*autre*/) {}
};

// What the dialog "Import d'un fichier de lever" hands back on confirmation:
// the points read from the text file, in order, and whether a new gallery
// is asked for (with its name, which may be empty).
struct TPointImporte {
  std::string Nom;
  std::vector<std::string> Commentaire;
  double LargeurGA = 0, LargeurDR = 0, HauteurSup = 0, HauteurInf = 0;
};
struct TImportTexte {
  std::vector<TPointImporte> Points;
  bool NouvelleGalerie = false;
  std::string NomGalerie;
};

struct PortsSurvey {
  // Position of a surface symbol in the document library's surface-symbol
  // list, -1 when it is not there.
  std::function<int32_t(const TMotifDocument*)> PositionCategorieSurface;
  // Name of a surface symbol.
  std::function<std::string(const TMotifDocument*)> NomCategorieSurface;
  // The coordinates dialog of a station (title given); true on OK, the dialog
  // having written its values into the station.
  std::function<bool(TPointSpeleo&, const std::string& titre)> DialogueCoordonnees;
  // The gallery continuation choice.
  std::function<std::optional<int>(const TDemandeSuiteGalerie&)> DialogueSuiteGalerie;
  // --- Cave editing windows (edition_cavite.cpp) -------------------------------------
  // The shot-entry dialog; true on OK.
  std::function<bool(TDemandeSaisieVisee&)> DialogueSaisieVisee;
  // A surface point (the proposed one first); none when cancelled.
  std::function<TPointSpeleo*(TCavite&, TPointSpeleo* propose)> ChoisitPointSurface;
  // The attachment-point choice.
  std::function<TPointSpeleo*(const TDemandeRattachement&)> ChoisitPointRattachement;
  // The deletion confirmation "Effacement de visées" with the galleries and
  // the long sections that would go; true on Yes.
  std::function<bool(const std::vector<std::string>& galeries, const std::vector<std::string>& coupes)>
      ConfirmeEffacementVisees;
  // The cave-merge choice over the caves' names, all ticked: the positions
  // left ticked, nullopt when cancelled.
  std::function<std::optional<std::vector<int>>(const std::vector<std::string>& noms)> ChoisitCavitesFusion;
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

  // --- Batch conversions -----------------------------------------------------------------
  // The conversion of many points from one system and zone into another, the
  // systems resolved once; nothing when a system is unknown.  None installed:
  // ChangeProjectionPoint point by point.
  std::function<std::function<void(double& x, double& y)>(const std::string& ancienSysteme, int32_t ancienFuseau,
                                                           int32_t nouveauFuseau, const std::string& nouveauSysteme)>
      ConversionProjection;

  // --- Station imports ------------------------------------------------------------------
  // The dialog "Import d'un fichier de lever" for the cave; nothing when it is
  // cancelled (none installed: no import).
  std::function<std::optional<TImportTexte>(TCavite&)> DialogueImportTexte;
};

PortsSurvey& Ports();

// The conversion of a batch of points through the ports: ConversionProjection
// when installed, else ChangeProjectionPoint for each point; none without
// either.
std::function<void(double& x, double& y)> ConversionPoints(const std::string& ancienSysteme, int32_t ancienFuseau,
                                                          int32_t nouveauFuseau, const std::string& nouveauSysteme);

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
