#pragma once
// The kind tables of the graphic windows: which kinds of drawing objects a
// window shows and lets the user pick, the kinds derived from others, the
// form-type codes with the default visible kinds of each kind of window, and
// the display memory a cave keeps of each kind of window (in memory only).
#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "drawing/types_objets_dessin.h"
#include "foundation/transformation_vue.h"

namespace survey {
class TCavite;
}

namespace views {

using drawing::TObjetsAffichables;
using drawing::TypeObjetDessin;

// A set of kinds held in 32 bits, bit k = kind k.
using TListeObjetDessin = uint32_t;

TListeObjetDessin EnsembleTypes(std::initializer_list<TypeObjetDessin> types);
TListeObjetDessin EnsembleDeTable(const TObjetsAffichables& table);
TObjetsAffichables TableDEnsemble(TListeObjetDessin ensemble);

// A view in metres from the drawing origin: left edge, top edge, height,
// width.  Reals in memory, never stored.
struct TParamZoom {
  double XDeb = 0;
  double Ydeb = 0;
  double Hauteur = 0;
  double Largeur = 0;
  friend bool operator==(const TParamZoom&, const TParamZoom&) = default;
};

// A ground rectangle in metres.
struct TZoomCavite {
  double XInf = 0;
  double YInf = 0;
  double XSup = 0;
  double YSup = 0;
};

// The kinds visible and selectable in a new window (kinds 0 and 1 hidden).
TObjetsAffichables AffichablesParDefaut();
TObjetsAffichables SelectionnablesParDefaut();

// The kinds that follow others: the cross sections' and offset parts'
// survey, drawing, dressing and texts follow odCoupes / odEcarts and the
// kind they show; odAutreNiveau follows odDessin; odEcartsGaleries is left
// as it is.
void DerivePlansAffichables(TObjetsAffichables& table);

// The form-type codes of the graphic windows.
inline constexpr int NombreCodesFiche = 26;
enum CodeFiche : int {
  cfBase = 0,
  cfEditeurPlan = 1,
  cfEditeurAltiDev = 2,
  cfEditeurAltiOr = 3,
  cfEditeurCoupe = 4,
  cfVisuDessinPlan = 5,  // 5 + the drawing kind for the drawing views
  cfDigitPlan = 8,
  cfDigitAlti = 9,
  cfCalageSvg = 10,
  cfSaisieJonction = 11,
  cfCalageImage = 12,
  cfEditeurSymbole = 13,
  cfMiseEnPage = 14,
  cfDessinSvg = 15,
  cfSelectionVisees = 16,
  cfSelectionGaleries = 17,
  cfEditeurEcart = 18,
  cfSelectionDessins = 19,
  cfFiligranes = 20,
  cfVisuSuites = 21,
  cfAnalyseBoucles = 22,
  cfImportScrap = 23,
};

// The default visible kinds of a form-type code (0 to 23; the base's
// odDessin for any other code).  The digitisers share codes 8 and 9 with the
// drawing views and have their own sets (DefautDigitaliseur).
TListeObjetDessin AffichageDefautCode(int code);
TListeObjetDessin DefautDigitaliseur(bool alti);
// The shot selection for a long section: code 16 with its own set.
TListeObjetDessin DefautSelectionCoupeLong();

// The display memory of one kind of window in one cave.
struct TCfAffichage {
  TListeObjetDessin Elnts = 0;
  bool Ouvert = false;
  TParamZoom SvDerZoom;
  // The drawing origin (ground metres, of the drawing kind below) that
  // SvDerZoom is measured from, so that a window opened after the origin
  // moved shows the same ground.
  bool OrigineConnue = false;
  foundation::TTypeDeDessin TypeOrigine = foundation::TTypeDeDessin::tddPlani;
  double OrigineX = 0, OrigineY = 0;
  // Caves left out of the drawing (entry 5, the plan view, only).
  std::vector<const survey::TCavite*> CavNonDessinee;
};

using TMemoiresAffichage = std::array<TCfAffichage, NombreCodesFiche>;

// The display memories of a cave, made on first use and freed with the cave
// (kept in the cave's drawing annex).  A cave without a drawing annex, or no
// cave, shares one process-wide set.
TMemoiresAffichage& MemoiresAffichage(survey::TCavite* cavite);
// The memories of the network's active cave.
TMemoiresAffichage& MemoiresCaviteActive();
// The cave's extent in the last cave window that drew it (its ZoomCavite),
// kept beside its display memories.
TZoomCavite& ZoomCaviteDe(survey::TCavite* cavite);
// Forgets the process-wide set (tests).
void OublieMemoiresSansCavite();

}  // namespace views
