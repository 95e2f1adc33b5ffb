#pragma once
// The line element of a stored drawing (open polyline, closed outline or
// circle) and the base of fills, texts and symbols: its points, the pattern it
// is drawn with and its record.
//
// Line record: the points (count + point records); the pattern reference:
// origin code (4 bytes, from level 511; below it 0), index (4 bytes),
// EchelleInitiale (8 bytes); the control sums SommePlani, SommeAlti, SommeN1,
// SommeN2 (32 bytes: read when the index is below -1 at any level, or in a
// sketch from level 222; written in a sketch, or with a sketch-colour index);
// EstFiligrane (1 byte, from level 203; a watermarked element of an older file
// then holds 4 more bytes below level 506 and 4 more again at levels 203 to
// 205); EstCercle (1 byte, from level 220).
//
// The pattern reference: origin 0 the document library, 1 the Therion set, -1
// the fallback pattern of the element's kind, -2 a text's own font; the index
// is the position in the list of the element's kind (fonts for texts, symbols
// for symbols, fills for fills, line styles otherwise; in a sketch the
// drawing-import lists, except for fills).  An index below -1 is a sketch
// colour: -99..-93 for colours 1..7.
#include <cstdint>
#include <memory>
#include <string>

#include "drawing/liste_elements.h"
#include "drawing/point_dessin.h"
#include "foundation/objet_de_liste.h"
#include "foundation/point_topo.h"

namespace survey {
class TSuppressions;
}

namespace drawing {

class TObjetDessin;  // the display object of the render layers
class TListeDonneesDessin;
class TObjetMotifdeBase;
class TListeMotifsBase;
class TRelogeMotifs;
class TCalque;
class TObjetDonneesBasique;

// A display class: its virtual constructor, given the element's pattern and
// the element (drawing/cree_dessin.h lists them).
using TClasseDessin = std::unique_ptr<TObjetDessin> (*)(TObjetMotifdeBase* motif, TObjetDonneesBasique* element);

// Which list of a library an element's pattern comes from.
enum class TGenreMotifElement { Trait, Rempli, Symbole, Fonte };

class TObjetDonneesBasique : public foundation::TObjetDeListe {
 public:
  TObjetDonneesBasique() = default;
  // Unties its display object (TObjetDessin::LieElement).
  ~TObjetDonneesBasique() override;
  TObjetDonneesBasique(const TObjetDonneesBasique&) = delete;
  TObjetDonneesBasique& operator=(const TObjetDonneesBasique&) = delete;

  TListeElements<TPointDessin> Points;
  double EchelleInitiale = 0;  // pattern scale given to a display object without one
  bool effacer = false;        // the last copy lost points
  // The object showing it, not owned; set and cleared only through
  // TObjetDessin::LieElement, cleared when that object is freed.
  TObjetDessin* LObjetDessin = nullptr;
  TListeDonneesDessin* ListeDonneesProprio = nullptr;  // the list holding it, not owned
  TObjetMotifdeBase* MotifDessin = nullptr;           // none: invisible construction line
  int32_t CouleurPkTp = -1;                           // sketch colour 1..7, -1 otherwise
  double SommePlani = 0, SommeAlti = 0, SommeN1 = 0, SommeN2 = 0;
  TObjetDonneesBasique* EquivTransfert = nullptr;     // copy made by the last copy
  bool SauveEstFiligrane = false;
  bool EstFiligrane = false;
  bool EstCercle = false;
  bool LigneFermee = false, DeBezier = false, Quadratic = false;
  std::string idLigne;
  int32_t vOrigineMotifs = 0;

  TPointDessin* LePointDessin(int i) const { return Points.UnObjet(i); }
  // Places every point; returns how many were placed.
  virtual int32_t CalculePoints();
  // Drops (from the last) every point without shot or whose shot is marked
  // for deletion; true while more than one point is left.
  virtual bool ObjetValide();
  // The pattern is a closed style / a dressing style / there is none.
  bool estSurfacique() const;
  bool estHabillage() const;
  bool estNonVisible() const { return MotifDessin == nullptr; }
  // A point at (X, Y), placed, without shot yet; first or last.
  TPointDessin* AjoutePointDessin(bool AuDebut, double X, double Y);
  TPointDessin* AjoutePointDessin(bool AuDebut, const foundation::TPointTopo& P);
  // The points taken as Bézier control points become the flattened polyline.
  void TransfoEnBezierGravelune();
  void TransfoPoints(const foundation::THelmert& vHelmert);
  // Every point chooses its shot among the owner list's reference shots.
  void ReferencePoints();
  // Negates every point's angle (mirror of a cross-section drawing).
  void InverseHabillage();
  // Appends to Destin the clones of the points; when all came,
  // EquivTransfert := Destin, which takes EchelleInitiale and EstFiligrane;
  // otherwise effacer is set.  Selecte is cleared.
  void CloneObjetDessin(TObjetDonneesBasique& Destin);
  // SommePlani and SommeAlti := the length of the polyline through the points.
  void CalculeSommesCtrl();
  int NbPointsPlaces() const;

  // The display object of the element (drawing/cree_dessin.cpp): a circle
  // element gives a TDessinCercle whatever the class; the object gets the
  // layer, its points (AffecteCoord) and its values (AffecteValeurs), and
  // joins the layer, which owns it.
  TObjetDessin* CreeObjetDessin(TClasseDessin TypeDessin, TCalque& UnCalque);
  // The same, marked as belonging to the offset part (or section) of that frame.
  TObjetDessin* CreeObjetDessinEcart(TClasseDessin TypeDessin, TCalque& UnCalque, TObjetDessin* UnDessinEcart);
  // The same, also marked as a watermark copy.
  TObjetDessin* CreeObjetDessinFiligrane(TClasseDessin TypeDessin, TCalque& UnCalque, TObjetDessin* UnDessinEcart);
  // The display object's points := the placed points (ground metres); the
  // object and the element are tied (LObjetDessin); an object without a
  // pattern scale (-1) takes EchelleInitiale.
  virtual void AffecteCoord(TObjetDessin& UnObjetDessin);
  // Nothing for lines; texts give their attributes.
  virtual void AffecteValeurs(TObjetDessin&) {}

  // Which list of a library the pattern comes from.
  virtual TGenreMotifElement GenreMotif() const { return TGenreMotifElement::Trait; }
  // A new element of the same kind, with the same pattern and attributes and
  // the clones of the points (CloneObjetDessin); not in any list.
  virtual std::unique_ptr<TObjetDonneesBasique> CreeCopie();
  // Detaches the points tied to removed shots; kinds that refer to stations
  // redirect those references.
  virtual void Nettoie(const survey::TSuppressions& s);
  // Moves the pattern reference to the entry replacing it.
  virtual void RelogeMotif(const TRelogeMotifs& reloge);

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

 protected:
  // Copies the pattern and the attributes of the element (not its points).
  void CopieAttributs(TObjetDonneesBasique& copie) const;
  // The pattern reference (origin, index, EchelleInitiale) on the running
  // chain; index receives the index written or read.
  bool EcritReferenceMotif(int32_t& index);
  bool LitReferenceMotif(int32_t& index);
  bool EcritSommes();
  bool LitSommes();
  // EstFiligrane with the bytes of older levels.
  bool LitFiligrane();
  // Texts below level 500 keep a pattern index that their font list does not
  // hold (their font follows later in the record).
  virtual bool IndexMotifTolere() const { return false; }
};

// The position of an entry in its list and the origin code of its library,
// as the pattern reference stores them.
int32_t PositionMotif(const TObjetMotifdeBase* m);
int32_t OrigineMotif(const TObjetMotifdeBase* m);
// The list of the library of that origin (0 or 1) for a kind, in a sketch
// or not, at the level being read; none when that library is not there.
TListeMotifsBase* ListeDesMotifs(int32_t origine, TGenreMotifElement genre, bool croquis, int32_t niveau);
// The fallback pattern of a kind (none for fonts).
TObjetMotifdeBase* MotifDeSecours(TGenreMotifElement genre);
// The entry replacing m after a library was replaced; the fallback of the
// kind when it has none.
TObjetMotifdeBase* MotifReloge(const TRelogeMotifs& reloge, TObjetMotifdeBase* m, TGenreMotifElement genre);

}  // namespace drawing
