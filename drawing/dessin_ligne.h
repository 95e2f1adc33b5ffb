#pragma once
// The drawing objects made of a list of points: the base of lines, fills,
// frames, texts and symbols (TDessinBasique), the polyline with its Bézier
// smoothing and its complex pen styles (TDessinLigne), the circle and the arc
// through three points.
#include <cstdint>
#include <memory>
#include <vector>

#include "drawing/objet_dessin.h"
#include "drawing/traceur_ligne.h"

namespace drawing {

class TDessinBasique : public TObjetDessin {
 public:
  // ObjetMotif := vMotif (visible when given), kind odDessin.
  explicit TDessinBasique(const TDefObjetTrait* vMotif = nullptr, foundation::TObjetDeListe* unObjet = nullptr);

  std::vector<TPointDeBase> PointsList;
  double TailleTexte = 0;
  double CoeffEchelleDessin = -1;
  int32_t XRmin = 0, YRmin = 0, XRmax = 0, YRmax = 0;
  bool EstVisible = false;

  int NombrePoints() const { return static_cast<int>(PointsList.size()); }
  TPointDeBase& UnPointDeBase(int i) { return PointsList.at(static_cast<size_t>(i)); }
  const TPointDeBase& UnPointDeBase(int i) const { return PointsList.at(static_cast<size_t>(i)); }
  foundation::TPointTopo UnPtDeBaseLoc(int i) const { return UnPointDeBase(i).PTopoLoc(); }
  foundation::TPoint UnPtDeBaseVue(int i) const { return UnPointDeBase(i).PtVue(); }
  // The last point; none for an empty list.
  TPointDeBase* PointDuBout() { return PointsList.empty() ? nullptr : &PointsList.back(); }
  foundation::TPoint PointDuBoutVue() const {
    return PointsList.empty() ? foundation::TPoint{} : PointsList.back().PtVue();
  }

  // Appends a point and widens the envelope by its 5-unit square.
  virtual void AjoutePointLoc(int32_t X, int32_t Y);
  void AjoutePoint(const foundation::TPoint& p) { AjoutePointLoc(p.X, p.Y); }
  void AjoutePointDeBase(const TPointDeBase& p) { AjoutePointLoc(p.XLoc, p.YLoc); }
  void AjoutePointTopo(const foundation::TPointTopo& p);
  // Ground metres.
  void AjoutePointReel(double X, double Y);
  void DupliquePoints(TDessinBasique& vNouveauDessin) const;

  void CalculPointsVue() override;
  void DessinePoignees(platform::Canvas& canvas) override;
  // The pixel extent of the envelope widened by 10 pixels; the view offset is
  // then set so that the object draws into a bitmap of that extent (the
  // caller resets it).
  void CalculeDimBmp();
  // Distance in drawing units from the cursor to the nearest segment (to
  // point 0 with fewer than 2 points).
  void DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info) override;
  // Index of the point nearest the cursor, the first on ties; -1 without points.
  int PointLePlusProche(int32_t XPt, int32_t YPt) const;
  // Foot of the perpendicular from a drawing position onto the object (on
  // the smoothed curve when the style is smoothed); iPt receives the index of
  // the end point of the segment carrying it, -1 when there is none.
  virtual foundation::TPointTopo PointPerp(const foundation::TPointTopo& UnPtLoc, int& iPt) const;
  bool EstValidable() const override { return PointsList.size() > 1; }

 protected:
  bool StyleLisse() const { return ObjetMotif != nullptr && ObjetMotif->TraitLisse; }
};

// The Bézier path of anchors with their control points (tension 80 %): the
// anchors at 0, 3, 6, ... of the path of 3N - 2 points.
void CheminBezier(std::span<const foundation::TPoint> ancres, std::vector<foundation::TPoint>& chemin);

class TDessinLigne : public TDessinBasique {
 public:
  // A line without a style is an invisible fill bound drawn, when drawn,
  // with the construction-line style.
  explicit TDessinLigne(const TDefObjetTrait* vMotif = nullptr, foundation::TObjetDeListe* unObjet = nullptr);

  bool TraceSpecial = false;
  // The line flattened in drawing units (the smoothed curve, or the points).
  std::vector<TPointDeBase> CourbeBezier;
  bool InterneRempli = false;
  bool CreationEnCours = false;
  TObjetDessin* ObjetRempliParent = nullptr;       // not owned
  std::vector<TObjetDessin*> ListeRemplisProprio;  // not owned

  const TDefObjetTrait* GraphRempli() const { return ObjetRempliParent ? ObjetRempliParent->ObjetMotif : nullptr; }
  bool EstLigneRemplie() const { return !EstVisible && ObjetRempliParent != nullptr; }
  bool appartient() const { return !ListeRemplisProprio.empty(); }
  TObjetDessin* unRempliProprio(int i) const { return ListeRemplisProprio.at(static_cast<size_t>(i)); }
  foundation::TPoint ptBezier(int i) const { return CourbeBezier.at(static_cast<size_t>(i)).PointLoc(); }
  bool EstLissee() const { return StyleLisse() && PointsList.size() > 2; }
  // Empties ListeRemplisProprio and lists in it, once each, the fills of the
  // objects that this line bounds.
  void CreeListeRemplisProprio(const std::vector<std::unique_ptr<TObjetDessin>>& vObjetsDessines);

  // The invisible line of a fill takes the fill's style; it is drawn when
  // visible, selected or red (red while it is being drawn for a new fill).
  void DessineObjet(platform::Canvas& canvas) override;
  // A runtime error is not reported here: the line stops, and its number
  // joins Affichage().ObjetsEnErreur for the painter to report
  // (NoteObjetEnErreur).  A programming error goes on to the window's handler.
  void DessineCetObjet(platform::Canvas& canvas) override;
  void CalculeEnveloppe() override;
  bool EstLigneDeCoupe() const override { return true; }
  bool TracableEnParallele() const override;

  // The smoothed line on the canvas: the canvas's Bézier curves, or the
  // tracer along the curve when special.
  void DessineLissage(platform::Canvas& canvas, const TDefObjetTrait& trait, bool special);
  // Flattens the smoothed line into CourbeBezier (steps of about 100 drawing
  // units); false, with CourbeBezier empty, when one piece needs more than
  // 9,999 steps.
  bool CalculeCourbeBezier();
  // CourbeBezier from the smoothed line, or a copy of the points.
  void MajCourbeBezier();
  void EnveloppeLissage();
  foundation::TPointTopo PointPerp(const foundation::TPointTopo& UnPtLoc, int& iPt) const override;

 protected:
  // A plain visible line, neither part of a fill nor selected, drawn
  // segment by segment with the canvas's own pen.
  bool TraceSimple() const;
  void TracePolyligne(platform::Canvas& canvas, const TDefObjetTrait& trait);
  void TraceBezierComplexe(platform::Canvas& canvas, const TDefObjetTrait& trait);
  // Scratch buffers of the drawing, kept between paints.
  std::vector<foundation::TPoint> pixels_;
  std::vector<foundation::TPoint> chemin_;
};

// The screen and printer target of the tracer: strokes with the pen,
// polygons with a solid brush in the pen colour.
class CibleCanvas : public CibleTrace {
 public:
  explicit CibleCanvas(platform::Canvas& canvas) : canvas_(canvas) {}
  void Trait(const foundation::TPointTopo& A, const foundation::TPointTopo& B) override;
  void Polygone(std::span<const foundation::TPointTopo> sommets, bool plein) override;

 private:
  platform::Canvas& canvas_;
  std::vector<foundation::TPoint> points_;
};

// Point 0 is the centre, point 1 a point of the circle.
class TDessinCercle : public TDessinLigne {
 public:
  using TDessinLigne::TDessinLigne;
  void DessineCetObjet(platform::Canvas& canvas) override;
  // Negative inside the circle.
  void DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info) override;
};

// Points 0, 1, 2: the start, a point the arc passes through, the end.  Three
// points on one line (or two equal) draw the polyline through them.
class TDessinArc : public TDessinLigne {
 public:
  using TDessinLigne::TDessinLigne;
  double Rayon = 0;
  foundation::TPointTopo PtCentre;
  void DessineCetObjet(platform::Canvas& canvas) override;
};

// The centre of the circle through three points; false when they are on one
// line or two of them are equal.
bool CentreCercle3Points(const foundation::TPointTopo& A, const foundation::TPointTopo& B,
                         const foundation::TPointTopo& C, foundation::TPointTopo& centre);

}  // namespace drawing
