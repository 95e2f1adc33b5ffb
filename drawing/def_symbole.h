#pragma once
// Symbol definitions: a small drawing of elements (polylines, closed shapes,
// circles, arcs, an optional text) in its own units, with a base and an
// extremity point that receive the two placing positions.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "drawing/fonte.h"
#include "drawing/objet_trait.h"
#include "foundation/point_topo.h"

namespace drawing {

class TDessinLigne;
class TDessinTexte;

using foundation::EcritPtTopo;
using foundation::LitPtTopo;
using foundation::PointVersPtTopo;
using foundation::PtTopoXY;
using foundation::TObjetPoint;
using foundation::TObjetTopo;
using foundation::TPoint;
using foundation::TPointTopo;
using foundation::TPtTopoList;
using foundation::TRect;

// Row of the built-in symbol tables.
struct TDefinitSymbole {
  std::string Design;
  TPoint PtB, PtE;
  double Dim = -1;
};

// A form of the built-in tables: up to ten points and a curve type.
struct TDefinitForme {
  std::array<TPoint, 10> Pts{};
  int32_t nbPts = 0;
  int32_t TCourbe = -1;
};

// Curve types of an element.
inline constexpr int32_t CourbePolyligne = -1, CourbeCercle = 0, CourbeArc = 1;

// One element of a symbol: its points in symbol units and its own style.
class tElementSymbole : public foundation::TObjetDeListe {
 public:
  tElementSymbole();
  // Unless NoStyle, the style takes vTrait's values and the curve type is set.
  tElementSymbole(const TDefObjetTrait* vTrait, bool NoStyle, int32_t TypeCourbe);

  int32_t SauveEpais = 0;
  uint32_t SauveCouleurPlume = 0, SauveCouleurPinceau = 0;
  TPtTopoList PointsEcran;
  std::unique_ptr<TObjetTrait> UnTrait;
  int32_t TypeCourbe = CourbePolyligne;  // -1 polyline, 0 circle (centre, point), 1 arc (3 points)
  bool Masque = false;

  bool EstCourbe() const { return TypeCourbe >= 0; }
  TPointTopo LePointEcran(int i) const { return PointsEcran.UnPtTopo(i); }
  int NbPoints() const { return PointsEcran.Count(); }
  // Appends a point; a circle (2 points) or an arc (3) that is complete has
  // its last point replaced instead.
  void AjoutePointEcran(const TPointTopo& p);
  // Appends NbPts points shifted by (dX, dY).
  void Init(int NbPts, const TPoint* Points, int32_t dY, int32_t dX);

  // Style record, points, TypeCourbe.
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override { return LitElement(f); }
  // Older levels: integer points below 216, circles by three points below 202.
  bool LitElement(foundation::TFlux& f);
  std::unique_ptr<tElementSymbole> CloneElement() const;

  // The drawing object of the element (an arc, a circle, a closed shape
  // when the style fills, else a polyline), never culled; made by CreeLigne.
  std::shared_ptr<TDessinLigne> UneLigne;
  void CreeLigne();
  // The element alone, its points taken as ground metres (the symbol
  // editor); nothing when hidden.
  void DessineObjet(platform::Canvas& canvas);
};

class TDefSymbole : public TObjetMotifdeBase {
 public:
  TDefSymbole();

  double CoeffTrait = 1;  // pixels per symbol unit of the last drawing
  TPointTopo PtBase, PtExtrem;
  foundation::TListeFichier<tElementSymbole> LesElements;
  double ValDimFixe = -1;  // fixed size in metres, -1 for none
  bool SymboleModifie = false;
  bool EstFlecheN = false;
  bool DirFixe = false;
  bool ATexte = false;
  TPointTopo PtDebTexte, PtFinTexte;
  std::string TexteSymbol;
  std::unique_ptr<TFontObjetType> FonteTexte;
  int32_t LargSymb = 0, HautSymb = 0;
  TRect RectSymb;

  bool DimFixe() const { return ValDimFixe >= 0; }
  tElementSymbole* UnElement(int i) const { return LesElements.UnObjet(i); }
  void InitSymbole(const TDefinitSymbole& d);
  // Base: leftmost point, extremity: rightmost point of the elements.
  virtual void CalculeExtremites();
  virtual tElementSymbole* AjouteDefElement(const TDefinitForme& forme, int32_t dX, const TDefObjetTrait* vTrait,
                                            int32_t dY);
  // Bounding box of the elements (and of the text, when texts can be
  // measured) into the two reference points.
  virtual void CalculeExtremVisu();
  // Highest minus lowest Y of the element points.
  double HauteurSymb() const;
  // Half-length in drawing units of a fixed-size symbol.
  double LongueurFixe() const;

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;
  void CopieMotif(const TObjetMotifdeBase& source) override;
  bool EstEquivalent(const TObjetMotifdeBase&) const override { return false; }

  // Scale-and-shift of the last fixed-direction drawing.
  foundation::TTransEch vTransEch{};
  // Draws the text of the symbol.
  std::shared_ptr<TDessinTexte> DessinTexteSymbol;
  // Draws the symbol with its base at PtDeb and its extremity at PtFin
  // (drawing units): scaled and shifted when its direction is fixed, else
  // by the similarity of the two pairs of points.  Strokes of unfilled
  // elements are widened by CoeffTrait.  A symbol whose base and extremity
  // coincide draws nothing.
  virtual void DessineSymbole(const TPointTopo& PtDeb, const TPointTopo& PtFin, platform::Canvas& canvas);
  // The preview on the 200 x 200 bitmap, with the fixed-size and
  // fixed-direction marks.
  void TraceVisuMotif(platform::Canvas& bitmap) override;

 protected:
  // Lowest X and Y into PtBase, highest into PtExtrem: of the element points
  // (circles by their centre +- radius in X), and of the text's box when asked
  // and texts can be measured.
  void CalculeBoite(bool avecTexte);
};

// The horizontal scale bar of the page layouts.
class tnvEchelle : public TDefSymbole {
 public:
  tnvEchelle();
  std::array<TPoint, 21> PtsDef{};  // 3 rows x 7 columns
  int32_t Larg = 0, Haut = 0;
  double LongueurEchelle = 0;
  double CoeffEchelle = 1;

  // The checkerboard of two rows of six cells and the labels "0", the half
  // length and the length in metres above it.
  void DessineSymbole(const TPointTopo& PtDeb, const TPointTopo& PtFin, platform::Canvas& canvas) override;
};

}  // namespace drawing
