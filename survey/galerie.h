#pragma once
// Galleries: named, ordered series of stations of one cave.  A gallery owns its
// stations; the cave model rebuilds the lists of its shots.
//
// Record: NomGalerie (text), the station list, idGalSvg (4 bytes, from level
// 503 on; older files leave -1).
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/objet_de_liste.h"
#include "survey/liste_points.h"

namespace survey {

class TCavite;
class TVisee;

class TGalerie : public foundation::TObjetDeListe {
 public:
  TGalerie() = default;
  TGalerie(const TGalerie&) = delete;
  TGalerie& operator=(const TGalerie&) = delete;

  bool EcritObjet(foundation::TFlux& f) override;
  // A gallery read without station shows "galerie vide"; reading goes on.
  bool LitObjet(foundation::TFlux& f) override;

  std::string NomGalerie;
  TListedePoints Points{true};  // the gallery's stations, in gallery order
  int32_t idGalSvg = -1;        // identifier in SVG exports, -1 until assigned

  // Rebuilt by the cave (not owned): its shots in computation order, and the
  // shots leading into other galleries that the walk has still to follow.
  std::vector<TVisee*> ViseesDeLaGal;
  std::vector<TVisee*> LstVisTri;
  int32_t IndexGaldansCav = 0;
  int32_t BrancheGal = -1;
  TCavite* CaviteRef = nullptr;
  bool AFusionner = false;
  bool GalMarquee = false;
  bool GalExport = false;
  double XMaxGal = 0, XMinGal = 0, YMaxGal = 0, YMinGal = 0;
  double SlMaxGal = 0, SlMinGal = 0, ZMaxGal = 0, ZMinGal = 0;

  // Station i; none outside the list.
  TPointSpeleo* ThePoint(int i) const { return Points.Item(i); }
  // Shot i of the gallery; none past the end.
  TVisee* UneViseeDeGal(int i) const;
  TVisee* PremiereVisee() const { return UneViseeDeGal(0); }
  // The computed origin of the first shot.
  TPointSpeleo* PointRattach() const;
  // The first station is connected to the network.
  bool Rattachee() const;
  // The first station has no arriving shot.
  bool Isolee() const;
  // The gallery of the shot preceding the first shot; none when there is none.
  TGalerie* GalDeRattach() const;

  // Sets on every shot of the gallery NbreViseesSuivantes, the number of the
  // gallery's shots that lie downstream of it.
  void CreeNbreVisees();
  // For a new or corrected shot: decides whether its computed end continues
  // the gallery (Annexe 0) or is a side station (Annexe 1), asking the user
  // when it cannot tell.  True when several stations hang from the shot's
  // origin.
  bool TesteSuiteGalerie(TVisee& visee);
};

// The gallery of a station; none when it has none.
TGalerie* GalerieDuPoint(const TPointSpeleo* p);
// Its name, empty when none.
std::string NomGalerieDuPoint(const TPointSpeleo* p);

}  // namespace survey
