#pragma once
// The drawing objects that show the computed survey itself: the survey axis
// of a gallery (shots between stations, with the station names), the survey
// polyline with its adjusted altitudes, the gallery outlines and their filled
// elevation form, the splay shots and the loop-pair lines.  They are made by
// the views from the computed network; they keep references to its stations
// and shots, which outlive them.
#include <cstdint>
#include <memory>
#include <vector>

#include "drawing/dessin_ligne.h"
#include "survey/liens_dessin.h"

namespace survey {
class TPointSpeleo;
class TVisee;
class TViseeHabi;
}  // namespace survey

namespace drawing {

// A station of a survey axis.  Its position is the station's computed
// position (in an elevation its developed distance and ZCalc) plus the
// displacement of the offset part being computed, in drawing units.  Making
// it links the station to it (PtGraph); freeing it unlinks the station when
// the station still points to it.
class TPointAxe : public TPointDeBase, public survey::TPointGraphique {
 public:
  TPointAxe(TPointAxe* PtRat, survey::TPointSpeleo* PtS);
  ~TPointAxe() override;
  TPointAxe(const TPointAxe&) = delete;
  TPointAxe& operator=(const TPointAxe&) = delete;

  TPointAxe* PointRat = nullptr;             // the previous station of the axis, not owned
  survey::TPointSpeleo* PointRef = nullptr;  // not owned

  // The station's name (and " / " with its comment while comments are
  // shown) at 10 pixels right of and above the point, size 8 on screen and
  // 30 while printing.
  void AfficheDesign(platform::Canvas& canvas) const;
};

// The axis point a station is linked to; none when the station has none (or
// a graphic object of another kind).
TPointAxe* PointAxeDe(const survey::TPointSpeleo* station);

class TDessinAxeGal : public TObjetDessin {
 public:
  // The survey-axis style, kind odPtLever.
  TDessinAxeGal();

  std::vector<std::unique_ptr<TPointAxe>> PointsAxe;
  // The axis belongs to an elevation block placed on a plan.
  bool EstDessinCoupeVert = false;

  int NombrePoints() const { return static_cast<int>(PointsAxe.size()); }
  TPointAxe* lePointAxe(int i) const { return PointsAxe.at(static_cast<size_t>(i)).get(); }

  // Appends the shot's end station when its start station already has an
  // axis point (the first shot of an empty axis brings its start station
  // first), and then marks the shot.  A shot without both computed ends
  // adds nothing.
  void AjouteTrait(survey::TVisee* vVisee);
  // The points' pixels, and the pixel of each point's previous station, on
  // the cores of the machine for a long axis.
  void CalculPointsVue() override;
  // Each shot from its end back to the previous station, magenta when the
  // end's arriving shot is marked (but not on an elevation block nor in an
  // offset part); white-rimmed dots while the survey points (odCompos) are
  // hidden; the names while station names (odNumPt) are shown.  Without the
  // names a long axis makes its calls on the cores of the machine and hands
  // them to the canvas in a few long batches, in the order of one pass.
  void DessineCetObjet(platform::Canvas& canvas) override;
  // The nearest shot (ties keep the earlier one) with its two stations in
  // Pt1 and Pt2; D = -1 for an axis of fewer than two points.
  void DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info) override;
  bool EstValidable() const override { return PointsAxe.size() > 1; }

 private:
  // What the drawing reads of each point, taken by CalculPointsVue for the
  // drawing that follows: its pixel, its station, whether it has a previous
  // station and whether that is the point just before in PointsAxe (else
  // the previous station's pixel).  The drawing then reads one small array
  // in order, and writes no point.
  struct PointVu {
    int32_t X = 0, Y = 0;
    int32_t RatX = 0, RatY = 0;
    const survey::TPointSpeleo* Station = nullptr;
    bool ARat = false;
    bool RatPrecedent = false;
  };
  // Where a run of points leaves the current position: Decide when one of
  // them has a previous station; the last such point's shot left out moves
  // the position to (X, Y).
  struct FinDeTrace {
    bool Decide = false, Sautee = false;
    int32_t X = 0, Y = 0;
  };
  // What the drawing of every point reads, set once per drawing.
  struct Trace;

  // The calls of the points PointsAxe[n - 1 - k] for k in [debut, fin),
  // written from appels on (room for three per point); returns how many.
  // etat tells where they leave the current position.
  size_t TraceTranche(const Trace& t, size_t debut, size_t fin, platform::BatchCall* appels, FinDeTrace& etat) const;

  std::vector<PointVu> vus_;
};

// A survey polyline whose points carry their station's adjusted altitude.
class TDessinLignePlani : public TDessinBasique {
 public:
  using TDessinBasique::AjoutePoint;
  using TDessinBasique::TDessinBasique;

  // The station's plan position (in an elevation its developed distance and
  // Z); the point's text is the adjusted altitude with one decimal.
  void AjoutePoint(const survey::TPointSpeleo& vPtPlani);
  // The polyline; without a pattern code, a white-rimmed dot and the
  // altitude at each point.
  void DessineCetObjet(platform::Canvas& canvas) override;
};

// A gallery outline: answers a distance query with its gallery.
class TDessinLigneGalerie : public TDessinLigne {
 public:
  // The gallery-outline style, kind odGalerie.
  TDessinLigneGalerie(int32_t Ncav, int32_t NGal);

  int32_t NumCavite = -1;
  int32_t NumGalerie = -1;

  void DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info) override;
  // Section cuts leave gallery outlines out.
  bool EstLigneDeCoupe() const override { return false; }
  bool TracableEnParallele() const override;
};

// The outline of a gallery in an elevation, filled light grey when asked.
class TDessinEnvelCoupe : public TDessinLigneGalerie {
 public:
  TDessinEnvelCoupe(int32_t Ncav, bool remplir, int32_t NGal);

  bool Remplir = false;

  void DessineCetObjet(platform::Canvas& canvas) override;
};

inline constexpr uint32_t CouleurEnveloppeCoupe = 0xDCDCDC;

// A splay shot: its data object is the splay shot.
class TDessinViseeHabi : public TDessinLigne {
 public:
  // The splay-shot style of the settings unless another is given.
  explicit TDessinViseeHabi(survey::TViseeHabi* viseeHabi, const TDefObjetTrait* vMotif = nullptr);

  survey::TViseeHabi* ViseeHabi = nullptr;  // not owned
  // The visible kinds of the window showing it, none for always drawn; not
  // owned.
  const TObjetsAffichables* pListeAffichables = nullptr;

  // Drawn when the referenced kinds show odVisHab; the comment at the last
  // point while names and comments are shown.
  void DessineCetObjet(platform::Canvas& canvas) override;
  // Never the nearest object: the distance is the largest value.
  void DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info) override;
  bool TracableEnParallele() const override;
};

// A line of a loop pair, with a red dot on its second point.
class TDessinDuoBoucle : public TDessinLigne {
 public:
  using TDessinLigne::TDessinLigne;
  void DessineCetObjet(platform::Canvas& canvas) override;
};

}  // namespace drawing
