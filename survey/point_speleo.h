#pragma once
// Survey stations.  A cave's stations are owned by its galleries; surface
// points are the stations of gallery 0 of cave 0.  The stored part of a station
// is its kind, position, passage dimensions, name, comments and continuation
// notes; everything else is derived by the cave model and the computation.
//
// Record: TypePoint (1 byte), Annexe, IndiceReseau, vIndPtOrigine, IndPtBoucle
// (4 bytes each), X, Y, Z, Slh, LargeurDR, LargeurGA, HauteurSup, HauteurInf (8
// bytes each), InvBords (1 byte), vCatPt (4 bytes), the name, the comment lines,
// the observation list.  Files older than level 500 hold 3 more bytes after
// TypePoint and 11 more after InvBords.
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/catalogue.h"
#include "foundation/objet_de_liste.h"
#include "foundation/point_topo.h"
#include "foundation/utilitaires.h"
#include "survey/liens_dessin.h"
#include "survey/observation.h"

namespace survey {

class TGalerie;
class TVisee;
class TViseeHabi;

// Kinds of station (TypePoint).
inline constexpr int8_t PointSouterrain = 0;
inline constexpr int8_t PointSurface = 1;
inline constexpr int8_t PointSurfaceImporte = 2;
inline constexpr int8_t PointEntreeVirtuel = -6;   // exists only during a computation
inline constexpr int8_t PointJonctionVirtuel = -5;  // exists only during a computation

class TPointSpeleo : public foundation::TObjetDeListe {
 public:
  TPointSpeleo() = default;
  // Leaves no pointer to the station in the network's station index, nor
  // (unless the whole network is being freed) in the shots listed at it.
  ~TPointSpeleo() override;
  TPointSpeleo(const TPointSpeleo&) = delete;
  TPointSpeleo& operator=(const TPointSpeleo&) = delete;

  // The writer first sets IndPtBoucle from PtBoucleAsso and vCatPt from
  // CategorieSurface.
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

  // --- Stored -------------------------------------------------------------------
  int8_t TypePoint = PointSouterrain;
  int32_t Annexe = 0;         // 1: side station, 0: on the main line of its gallery
  int32_t IndiceReseau = -1;  // number in the network's station index at the last write
  int32_t vIndPtOrigine = -1;
  int32_t IndPtBoucle = -1;   // number of the associated loop station, -1 for none
  double X = 0, Y = 0, Z = 0;
  double Slh = 0;             // distance along the survey from the entrance
  double LargeurDR = 0, LargeurGA = 0;
  double HauteurSup = 0, HauteurInf = 0;
  bool InvBords = false;
  int32_t vCatPt = -1;        // position of the surface symbol, -1 for none
  std::string DesignPTopo;
  foundation::TMesStringList Commentaire;
  TSuiteObs SuiteObs;

  // --- Links (not owned) --------------------------------------------------------
  TPointSpeleo* PtBoucleAsso = nullptr;
  TMotifDocument* CategorieSurface = nullptr;  // the surface symbol
  TGalerie* GalduPt = nullptr;
  TVisee* ViseeAvant = nullptr;  // the shot by which the walk reached the station
  TPointSpeleo* vPointOrigine = nullptr;
  std::vector<TVisee*> LstVis;        // shots at the station
  std::vector<TViseeHabi*> LVHabi;    // splay shots hung at the station
  TPointGraphique* PtGraph = nullptr;   // the station's graphic object

  // --- Derived and working values -----------------------------------------------
  int32_t NbRatTot = 0;   // shots computed from it (plus, for a surface point, those ending on it)
  int32_t NbRatGal = 0;   // of those, the ones that are the arriving shot of their end
  int32_t NbCalc = 0;     // shots whose computed end is this station
  int32_t IndexPtCav = 0;
  int32_t IndexPtGal = 0;
  bool PtRattache = false;
  double LGCalc = 0, LDCalc = 0, HSCalc = 0, HICalc = 0;
  double XG = 0, YG = 0, XD = 0, YD = 0, ZB = 0, ZH = 0;
  double ZPlan = 0, V0Pt = 0, PenteAvt = 0, SLAffichee = 0, Slp = 0, ZCalc = 0;
  double Dhh = 0, Dhb = 0;
  double DzPt = 0;        // height difference to the reference station
  double Zajuste = 0;
  double PrecisX = 0, PrecisY = 0, PrecisZ = 0;
  double PrecisTotX = 0, PrecisTotY = 0, PrecisTotZ = 0;
  double PrecisRelX = 0, PrecisRelY = 0, PrecisRelZ = 0;
  int32_t NbViseesPt = 0;
  bool PtAEffacer = false;
  bool PointsDansCoupe = false;
  int32_t NiveauAltiDigit = -1;
  std::string DesignVTopo;
  int32_t IndVTopo = 0;
  std::string PrefVTopo;
  std::string PrefQave;
  int32_t NumQave = 0;
  double dPt = 0;

  // --- Operations -----------------------------------------------------------------
  bool EstPointSurface() const { return TypePoint > 0; }
  bool EstAnnexe() const { return Annexe == 1; }
  // The computation left the station without coordinates (a shot on its path
  // could not be computed): X, Y and Z hold the undefined value.
  bool CoordonneesIndefinies() const {
    return foundation::EstIndefini(X) || foundation::EstIndefini(Y) || foundation::EstIndefini(Z);
  }
  void RendCoordonneesIndefinies() { X = Y = Z = ZCalc = foundation::ValeurIndefinie; }
  void PtMarque() { Marque = true; }
  // The arriving shot carries adjustment coefficients.
  bool EstCompense() const;
  // Computed exactly once and no station attached to it.
  bool EstFinBranche() const { return NbCalc == 1 && NbRatTot == 0; }
  bool SuiteRenseignee() const { return SuiteObs.Count() > 0; }
  // The last observation says the continuation is in progress or to be revisited.
  bool SuitePossible() const;
  double PrecisTot() const;
  // X, Y, Z and Slh into the point; its other fields untouched.
  void PtTopo(foundation::TPointTopo& p) const;
  foundation::TPointTopo PtTopo() const;
  // Distance to a point: in the plan, or in the plane of Slh and Z when the
  // current drawing kind is an elevation.
  double DistPoint(const foundation::TPointTopo& p) const;
  // The point at that distance and azimuth from the station, in the same plane.
  foundation::TPointTopo PtRayonne(double distance, double angle) const;
  // Opens the observation list of the station, read-only.
  void VoirSuites();
  // LDCalc and LGCalc from the measured widths, exchanged when the arriving
  // shot is walked reversed.
  void CalculeLargeurs();
  // Height difference to the reference station: "0 m", "+ 12 m", "-3 m".
  std::string DenivStr() const;
  // Appends the station's continuation report.
  void ImprimeSuites(std::vector<std::string>& lignes) const;
};

// --- The network's station index ----------------------------------------------------
// Position = IndiceReseau.  Rebuilt before a document is written and after it is
// read (cavite.h); a freed station leaves a null entry.
struct ContextePointsReseau {
  std::vector<TPointSpeleo*> ListePointsReseau;
};

ContextePointsReseau& PointsReseau();
inline std::vector<TPointSpeleo*>& ListePointsReseau() { return PointsReseau().ListePointsReseau; }

// The station at that position of the index; none when out of range.
TPointSpeleo* LePointReseau(int32_t n);

// While a whole network is freed, its stations and shots do not unlink from
// one another (they all go, in whatever order their lists free them).
struct ContexteLiberation {
  int Niveau = 0;
};
ContexteLiberation& Liberation();
inline bool LiberationReseauEnCours() { return Liberation().Niveau > 0; }

class GardeLiberationReseau {
 public:
  GardeLiberationReseau() { ++Liberation().Niveau; }
  ~GardeLiberationReseau() { --Liberation().Niveau; }
  GardeLiberationReseau(const GardeLiberationReseau&) = delete;
  GardeLiberationReseau& operator=(const GardeLiberationReseau&) = delete;
};

class GardePointsReseau {
 public:
  GardePointsReseau() : sauve_(PointsReseau()) {}
  ~GardePointsReseau() { PointsReseau() = sauve_; }
  GardePointsReseau(const GardePointsReseau&) = delete;
  GardePointsReseau& operator=(const GardePointsReseau&) = delete;

 private:
  ContextePointsReseau sauve_;
};

}  // namespace survey
