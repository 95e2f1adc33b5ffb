#pragma once
// A cross section placed on a stored drawing: an element list whose points
// are placed relative to its position point (relative placement), with the cut
// point and the position point tied to shots.  Held here: its data, its
// record, its validity, its computation, its mirroring after an elevation
// reversal and what the copies of a drawing need.  The envelope and cut line,
// the wall points of a new section, the projected splay shots and the display
// objects come with the sections' own module.
//
// Record: the caption; the element list record, read with its points keeping
// no shot; the cut point and the position point (point records);
// CoupeInversee (1 byte); DecalLimGauche, DecalLimDroite, DecalAngle (3 reals,
// from level 207); DecalDesX, DecalDesY (2 reals, from level 210); the
// position of its sketch in the cave's sketch list, the position of its
// sketch section in that sketch's plan or elevation list, and the plan flag
// (1 plan, 0 elevation), each 4 bytes; -1, -1, -1 for a section that has no
// sketch or is itself a sketch section.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "drawing/liste_donnees_dessin.h"
#include "drawing/point_dessin.h"
#include "foundation/point_topo.h"

namespace drawing {

class TDessinPkTp;
class TCoupePkTp;
class TJeuCalques;

class TDonneesCoupe : public TListeDonneesDessin {
 public:
  TDonneesCoupe();
  // Unties the frame showing it (TDessinEcart::LieDonnees).
  ~TDonneesCoupe() override;

  std::string LegendeCoupe;
  std::unique_ptr<TPointDessin> PointDeCoupe;   // tied to the cut shot
  std::unique_ptr<TPointDessin> PointPosition;  // where the section's drawing stands
  bool CoupeInversee = false;
  double DecalLimGauche = 0, DecalLimDroite = 0, DecalAngle = 0;
  double DecalDesX = 0, DecalDesY = 0;
  std::string legTmp;
  bool SauveCoupeInversee = false;
  TListeElements<TPointDessin> LesPointsDessin;
  foundation::TPtTopoList LesPointsHabi;
  bool DessinCoupeEnCours = false;
  bool Effacer = false;
  bool CoupePkTp = false;              // belongs to an imported sketch
  TDessinPkTp* UnDessinPkTp = nullptr;  // not owned
  TCoupePkTp* UneCoupePkTp = nullptr;   // not owned
  bool CoupePkTpPlani = false;
  foundation::TRect EnvelCoupe{};
  std::array<TPointDessin*, 4> PtsEnvelCoupe{};
  double MargeXY = 0;
  TObjetDessin* LeDessinCoupe = nullptr;  // frame display object, not owned; cleared when it is freed
  double LeCoeffDessinCoupe = 1.0;
  double AngleFleche = 0;
  TDonneesCoupe* EquivCoupe = nullptr;

  // Both points have a shot and neither shot is marked for deletion.
  bool ObjetValide() const;
  // The cut shot was computed from its far end.
  bool EstSensInverse() const;
  bool DessineInverse() const { return EstSensInverse() != CoupeInversee; }
  // The cut point chooses its shot; the position point takes the same.
  void ChercheViseeDeRef(const TViseesDeRef& vViseesRef);
  // Both points from their shots, then the elements relative to the position
  // point, scaled by CoeffRelatif.
  void CalculePoints();
  // After shots' elevation directions were reversed (marked modified).
  void InverseSensViseeCoupeAlti();
  // LesPointsHabi := the splay shots of the cut shot's station (or else its
  // target) lying within vRayon of the cut point, in the drawing plane,
  // projected into the section plane: X across the passage (to the right
  // when not drawn mirrored), Y the height above the station.  Empty for a
  // radius of 0 or less.
  void CalculePointsHabi(double vRayon);
  // The section's box in ground coordinates (from its wall points while it is
  // being drawn, else from EnvelCoupe) with its margins, the azimuth of the
  // cut line (AngleFleche) and the two ends of the cut line on the main
  // drawing.
  void Enveloppe(foundation::TEnveloppe& Result);
  // Four wall points of a new section inserted at the front of
  // LesPointsDessin (and kept in PtsEnvelCoupe): the passage's widths and
  // heights interpolated at the cut point, around the position point.
  void CalculeEnveloppeGalerie();
  // The profile points after the four wall points go onto the section's
  // horizontal through the position point, at their distance from the cut
  // point, on the side of the cut shot where they lie.
  void CalculePointsGalerie();
  // The section's display objects for a drawing at 1:vEchDessin
  // (drawing/cree_dessin.cpp): frame, axis point, splays within
  // vEchDessin / 1000 m, the elements; a sketch section's frame, axis and
  // lines go to odPkTp.
  void CreeObjetDessin(TJeuCalques& UneFiche, int32_t vEchDessin);
  // Frees the section's display objects and its frame.
  void SupprimeDessinCoupe(TJeuCalques& UneFiche);
  void SauveAnglesDessinCoupe();
  void RestaureAnglesDessinCoupe();
  // A new section with copies of the elements, the caption, clones of both
  // points and the mirroring; none when a point could not be cloned.
  std::unique_ptr<TDonneesCoupe> CopieCoupe();
  // References to removed shots and stations.
  virtual void Nettoie(const survey::TSuppressions& s);

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

 protected:
  // Sketch section index and plan flag of the record.
  virtual void IndexCroquis(int32_t& croquis, int32_t& coupe, int32_t& plan) const;
};

}  // namespace drawing
