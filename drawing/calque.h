#pragma once
// A render layer: the objects of one kind of a graphic window, painted in a
// fixed order (the others, then the fills, then the selected objects on
// top), with the copies of its lines used for section cuts.  A layer gets a
// bitmap of its own only when asked (Init); windows usually paint every layer
// on one scratch canvas.
#include <cstdint>
#include <memory>
#include <vector>

#include "drawing/dessin_ligne.h"
#include "platform/canvas.h"

namespace drawing {

class TPointDessin;

// A copy of a line's points, drawn with the layer-line style.
class TLigneCalque : public TDessinLigne {
 public:
  TLigneCalque();
  bool EstEncadrante = false;
};

class TCalque {
 public:
  explicit TCalque(TypeObjetDessin nature = TypeObjetDessin::odDessin) : NatureCalque(nature) {}

  std::vector<std::unique_ptr<TObjetDessin>> ObjetsDessines;
  std::vector<std::unique_ptr<TLigneCalque>> ListePolylignes;
  // Objects of hidden caves taken out of ObjetsDessines.
  std::vector<std::unique_ptr<TObjetDessin>> ObjetsMasques;
  bool CalqueModifie = true;
  TypeObjetDessin NatureCalque;
  // The layer's own bitmap, made by Init.
  std::unique_ptr<platform::Canvas> Bitmap;

  // Gives the layer a white bitmap of that size (height first, then width)
  // through the canvas factory.
  void Init(int32_t W, int32_t H);
  int NombreObjets() const { return static_cast<int>(ObjetsDessines.size()); }
  TObjetDessin* UnObjetDessin(int i) const { return ObjetsDessines.at(static_cast<size_t>(i)).get(); }
  TLigneCalque* UnePolyligne(int i) const { return ListePolylignes.at(static_cast<size_t>(i)).get(); }
  // Appends the object (the layer owns it) and returns it.
  TObjetDessin* AjouteObjet(std::unique_ptr<TObjetDessin> unObjet);
  // Frees the object when the layer holds it; nothing otherwise.
  void SupprimeObjet(TObjetDessin* unObjet);
  // Frees every object of the offset part of that frame.
  void SupprimeObjetsEcart(const TObjetDessin* unCadre);
  void DeselectTout();
  // Moves the objects of hidden caves to ObjetsMasques, and back.
  void MasqueObjets();
  void AfficheObjets();
  // Paints the objects: the others in list order, then the fills (whose
  // closing test runs first while the layer changed), then the selected
  // objects.  A runtime error ends the layer's paint silently (a programming
  // error goes on to the caller); CalqueModifie is cleared in every case.  A big layer's objects that may be drawn on other
  // threads are drawn there first, into recordings given to the canvas in
  // the same order: the canvas gets the same calls.
  void DessineCalque(platform::Canvas& canvas);
  // On the layer's own bitmap (nothing without one).
  void DessineCalque();
  // The first page or offset frame that can be caught at the pixel.
  TObjetDessin* CherchePage(int32_t X, int32_t Y) const;
  // Selects by a frame in drawing units (Y upward) and adds the selected
  // objects to the list.
  void SelectCadre(std::vector<TObjetDessin*>& ListeObjets, const foundation::TRect& UnCadre);
  // Copies of the layer's lines (gallery outlines excepted).
  void CreePolylignes();
  // The crossings of the layer's lines with the line through the point
  // perpendicular to its direction, 100 m each side.
  void CreeCoupePolys(std::vector<std::unique_ptr<TPointDessin>>& ListePoints, const TPointDessin& UnPoint);

 private:
  struct Enregistrements;
  void DessineEnParallele(platform::Canvas& canvas);
  // Kept between paints, so that a redraw does not allocate them again.
  std::shared_ptr<Enregistrements> enregistrements_;
};

}  // namespace drawing
