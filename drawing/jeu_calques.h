#pragma once
// The layer set of a graphic window: one render layer per kind of drawing
// object from odCompos to odDessinSVG (27 layers), reached by kind.  The
// routines that turn stored drawings into display objects (cree_dessin.h,
// the cross sections, the offset parts and the sketches) draw into it; the
// window owns it and paints it.
//
// Freeing a display object through the set (emptying a layer, removing an
// object, destroying the set) unties the stored element that the object
// showed (its LObjetDessin is cleared while it still points to the object).
#include <array>
#include <cstdint>
#include <memory>

#include "drawing/calque.h"
#include "drawing/types_objets_dessin.h"
#include "platform/canvas.h"

namespace drawing {

class TJeuCalques {
 public:
  static constexpr int NombreCalques = 27;
  static constexpr TypeObjetDessin PremierCalque = TypeObjetDessin::odCompos;
  static constexpr TypeObjetDessin DernierCalque = TypeObjetDessin::odDessinSVG;

  // Every layer, empty, each with its own kind as NatureCalque.
  TJeuCalques();
  TJeuCalques(const TJeuCalques&) = delete;
  TJeuCalques& operator=(const TJeuCalques&) = delete;
  ~TJeuCalques();

  // Whether a kind has a layer (odCompos to odDessinSVG).
  static constexpr bool EstNatureCalque(TypeObjetDessin t) {
    return t >= PremierCalque && t <= DernierCalque;
  }
  // The layer of a kind; a kind without a layer (odNumPt, odNumSurf) is a
  // programming error (std::logic_error).
  TCalque& LeCalque(TypeObjetDessin t);
  const TCalque& LeCalque(TypeObjetDessin t) const;
  TCalque& operator[](TypeObjetDessin t) { return LeCalque(t); }
  const TCalque& operator[](TypeObjetDessin t) const { return LeCalque(t); }

  // Appends the object to the kind's layer, which owns it and becomes its
  // CalqueObjet; returns the object.
  TObjetDessin* AjouteObjetDessin(TypeObjetDessin t, std::unique_ptr<TObjetDessin> unObjet);
  // Removes and frees the last object of the layer; nothing when it is empty.
  void EnleveObjetDessin(TypeObjetDessin t);
  // Removes and frees every object of the kind's layer (shown and hidden)
  // and its line copies; the layer is marked modified.
  void EffaceCalque(TypeObjetDessin t);
  // Empties every layer except odQuadrill and odAutresCavites, marks each
  // emptied layer modified.
  void ClearCalques();
  // Empties every layer.
  void VideTout();
  // Objects over all layers (shown ones).
  int NombreObjets() const;

  // Imported sketches were drawn into odPkTp.
  bool EstDessinPkTp = false;

  // Paints the layers whose kind is visible, in OrdreCalques, on one canvas.
  void DessineCalques(platform::Canvas& canvas, const TObjetsAffichables& visibles);

 private:
  std::array<std::unique_ptr<TCalque>, NombreCalques> Calques;
};

}  // namespace drawing
