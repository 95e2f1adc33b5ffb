#pragma once
// The symbol entries of a library (symbols, north arrows, surface symbols),
// their lists and defaults, the built-in north arrows and the equivalence of
// two symbols.
#include <memory>

#include "drawing/def_symbole.h"

namespace drawing {

class TSymbole : public TDefSymbole {
 public:
  // A symbol has a sample when it has at least one element.
  bool ADuDessin() const override { return LesElements.Count() > 0; }
  // SymbolesIdentiques, and the same number of elements with the same number
  // of points in each.
  bool EstEquivalent(const TObjetMotifdeBase& autre) const override;
  std::unique_ptr<TSymbole> CloneSymbole() const;
};

class TSymbFlecheN : public TSymbole {
 public:
  TSymbFlecheN();
  // The axis of a north arrow runs up its middle, from its lowest to its
  // highest point.
  void CalculeExtremites() override;
  void CalculeExtremVisu() override;

 private:
  void AxeVertical();
};

class TSymbSurface : public TSymbole {
 public:
  TSymbSurface() { TypeMotif = TTypeMotif::tmSurface; }
  // Draws the symbol at the ground point P with length L metres; with the
  // settings' "Couleur pour tous", in the surface-point style's colours for
  // this drawing only.
  void DessineSymbSurf(const foundation::TPointTopo& P, platform::Canvas& canvas, double L);
};

// True when a and b have the same name (ignoring case), reference points,
// fixed size, fixed-direction and north-arrow flags, and every element of a
// has in b an element with an equivalent style and the same points.  Elements
// and points that b has beyond a's are not looked at.
bool SymbolesIdentiques(const TDefSymbole& a, const TDefSymbole& b);

class TListeSymboles : public TListeMotifsBase {
 public:
  TListeSymboles() : TListeMotifsBase(foundation::ClasseDe<TSymbole>(), TTypeMotif::tmSymbole) {}
  TListeSymboles(foundation::TClassObjetDeListe classe, TTypeMotif type) : TListeMotifsBase(classe, type) {}

  // Symbol i; a list error (std::out_of_range) for a bad index.
  TSymbole* LeSymbole(int i) const;
  // The seven default symbols.
  void InitDefaut();
};

class TListeFlN : public TListeSymboles {
 public:
  TListeFlN() : TListeSymboles(foundation::ClasseDe<TSymbFlecheN>(), TTypeMotif::tmNord) {}
};

class TListeSymbSurf : public TListeSymboles {
 public:
  TListeSymbSurf() : TListeSymboles(foundation::ClasseDe<TSymbSurface>(), TTypeMotif::tmSurface) {}
  TSymbSurface* LaCatSurf(int i) const;
  // The six named surface symbols, without elements.
  void InitDefaut();
  // Appends the six named surface symbols.
  void AjouteSymbolesDefaut();
};

// The built-in north arrows: geographic ("N") and magnetic ("Nm __").
std::unique_ptr<TSymbFlecheN> CreeFlecheNord(bool magnetique);

}  // namespace drawing
