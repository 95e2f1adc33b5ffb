#pragma once
// A fill of the drawing made from several lines (walls, a water line): the
// fill finds where the lines cross, walks from crossing to crossing around
// the area and builds a closed outline from the pieces of line between the
// crossings (TDessinRemplissage, with TIntersect for one crossing).  The
// lines may be smoothed; the fill works on their flattened curves.
//
// Tolerances in drawing units: 10 for two points being the same and for
// segment overlap, 30 for line ends touching.  The pairwise searches (end
// joins, point pairs, chunk and segment pairs, the merge of crossings) go
// through grids of boxes, so their cost grows with the points and crossings
// rather than with their product; the cycle search is iterative and runs
// under a step budget proportional to the crossings (past it the outline
// counts as open).
#include <cstdint>
#include <memory>
#include <vector>

#include "drawing/dessin_ferme.h"
#include "drawing/objet_trait.h"

namespace drawing {

struct IndexCroisements;

// A working copy of a bounding line during the closing test: its points and
// its flattened curve in drawing units.
struct TLigneTracee {
  std::vector<foundation::TPoint> Points;
  std::vector<foundation::TPoint> Courbe;
  // The bounding line's style is smoothed: its curve is searched in chunks
  // of 10 points when it has more than 10.
  bool Lissee = false;
  // Position of the bounding line copied, -1 for lines joined at their ends.
  int Origine = -1;
  // Position in LignesTracees, set before the cycle search.
  int Position = -1;
};

// One crossing of two working lines.
class TIntersect {
 public:
  foundation::TPoint Point;
  TLigneTracee* Ligne1 = nullptr;
  TLigneTracee* Ligne2 = nullptr;
  // Index in each line's curve of the point before the crossing, or of the
  // nearest point for crossings at shared points.
  int32_t iBez1 = -1;
  int32_t iBez2 = -1;
  // Position in the closed cycle, -1 when not on it.
  int32_t Rang = -1;
  // The crossing's index on the line being walked, and the distance from
  // that curve point to the crossing.
  int32_t iDeb = 0;
  double DIdeb = 0;
  bool Utilisee = false;
  // A point shared by both lines, within 10 units.
  bool Exacte = false;
  // Positions of the crossing in the walking order of Ligne1 and of Ligne2.
  int32_t Pos1 = -1;
  int32_t Pos2 = -1;

  // Index of the point of the line's curve nearest the crossing (the first
  // on ties); -1 for an empty curve.
  int32_t IndiceEncadre(const TLigneTracee& ligne) const;
  // The crossing's index on one of its lines.
  int32_t IndiceSur(const TLigneTracee* ligne) const { return ligne == Ligne1 ? iBez1 : iBez2; }
  // Its line that is not the given one.
  TLigneTracee* AutreLigne(const TLigneTracee* ligne) const { return ligne == Ligne1 ? Ligne2 : Ligne1; }
  bool EstSur(const TLigneTracee* ligne) const { return ligne == Ligne1 || ligne == Ligne2; }
};

class TDessinRemplissage : public TDessinBasique {
 public:
  // FermeOK false; the outline is drawn with a copy of the style that is
  // never smoothed.
  explicit TDessinRemplissage(const TDefObjetTrait* VMotif = nullptr, foundation::TObjetDeListe* UnObjet = nullptr);
  ~TDessinRemplissage() override;

  // The bounding lines, in the order the user gave them (not owned).
  std::vector<TDessinLigne*> ListeLignes;
  // Working lists of the closing test (kept afterwards only when
  // GardeListesTravail is set, for inspection).
  std::vector<std::unique_ptr<TLigneTracee>> LignesTracees;
  bool FermeOK = false;
  std::vector<std::unique_ptr<TIntersect>> Intersections;
  TObjetTrait TraitTmp;
  std::unique_ptr<TDessinFerme> LigneDessinee;
  bool GardeListesTravail = false;
  // The cycle search of the last closing test ran out of steps.
  bool BudgetEpuise = false;

  TDessinLigne* UneLigne(int i) const { return ListeLignes.at(static_cast<size_t>(i)); }
  TLigneTracee* UneLigneTracee(int i) const { return LignesTracees.at(static_cast<size_t>(i)).get(); }
  TIntersect* UneIntersection(int i) const { return Intersections.at(static_cast<size_t>(i)).get(); }

  // The line was created by this fill.
  bool ACree(const TDessinLigne* vLigne) const { return vLigne != nullptr && vLigne->ObjetRempliParent == this; }
  // At least one bounding line was created by this fill.
  bool EstEffacable() const;
  // The last bounding line created by this fill, or none.
  TDessinLigne* DerLigneCree() const;
  void ChangeMotif(const TDefObjetTrait* nvMotif);

  // Rebuilds the outline; returns and keeps in FermeOK whether it is closed.
  // A missing bounding line leaves it open and adds the object's number to
  // the errors of the paint (reported once after it).
  bool TestEstFerme();
  // A bounding line is missing from ListeLignes (a null entry).
  bool LigneManquante() const;
  // Steps of the test, public for inspection.  The working copies of the
  // bounding lines, joined where their ends are closer than 30 units
  // (everything joined into one line gives the separate copies back); false,
  // with no working line, when a bounding line is missing.
  bool ConnecteLignes();
  // The crossings of every pair of working lines, in pair order.
  void CreeToutesIntersections();
  // The crossings of one pair of working lines.
  void CreeIntersect(TLigneTracee* Ligne1, TLigneTracee* Ligne2);
  // Adds a crossing unless one of the same two lines (same order) lies
  // within 10 units; Exacte when i is -1.
  TIntersect* AjouteUneIntersection(TLigneTracee* Ligne1, TLigneTracee* Ligne2, int32_t j, int32_t i,
                                    const foundation::TPoint& Pt);
  // The cycle search from one working line: true, with the Rang of the
  // crossings on the cycle, when a walk along the lines from crossing to
  // neighbouring crossing, changing line at each, comes back to its start.
  bool ClasseIntersections(TLigneTracee* LigneTr);
  // The outline of LigneDessinee from the cycle.
  void CreeLigneDessinee();

  void CalculeEnveloppe() override;
  void DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info) override;
  void CalculPointsVue() override;
  // Open or being drawn: the lines in red; closed: the outline with its
  // fill, the visible lines over it; when selected, the lines selected.  A
  // missing bounding line, or a runtime error of the drawing, draws nothing
  // more and notes the object's number for the report after the paint.
  void DessineCetObjet(platform::Canvas& canvas) override;
  bool EstValidable() const override { return ListeLignes.size() > 1; }

  bool EstRemplissage() const override { return true; }
  void TesteFermeture() override { TestEstFerme(); }
  bool BordureSelectee() const override;

 private:
  // Per working line, the crossings on it in walking order, and each
  // crossing's position in the lists of its two lines.
  void PrepareParcours();
  // Adds the object's number, once, to the errors of the paint.
  void NoteEnErreur() const;
  int IndexLigne(const TLigneTracee* l) const;
  // The crossings of the working lines taken together.
  void CherchePaires(const std::vector<TLigneTracee*>& lignes);
  std::vector<std::vector<TIntersect*>> parcours_;
  std::unique_ptr<IndexCroisements> index_;
  int64_t pasRestants_ = 0;
};

}  // namespace drawing
