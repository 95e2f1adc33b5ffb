#pragma once
// The choice of the objects of a web SVG export ("Objets à mettre dans le
// SVG"): eleven check boxes, five of which depend on another box, and the
// lines of the pan-and-zoom script.  This is the dialog's state and rules; a
// window shows it through FenetresExport().AfficheObjetsSvg.
#include <array>
#include <string>
#include <vector>

#include "formats/export/svg/fichier_svg.h"

namespace formats {

class TObjetsSvgDlg {
 public:
  struct Case {
    bool Coche = false;
    bool Actif = true;
  };
  // The boxes, top to bottom.
  enum Boite {
    ChkbCarroyage,  // "Carroyage", odQuadrill
    ChkbPoints,     // "Désign points topos", odNumPt, needs ChkbLevers
    ChkbPtSurf,     // "Désign Pts Surface", odNumSurf, needs ChkbSurface
    ChkbSurface,    // "Points de surface", odPtSurf
    ChkbLevers,     // "Cheminement", odPtLever
    ChkbVisHab,     // "Visées d'habillage", odVisHab, needs ChkbLevers
    ChkbGaleries,   // "Galerie", odGalerie
    ChkbDessin,     // "Dessin", odDessin
    ChkbTextes,     // "Ecritures", odTexte
    ChkbCoupes,     // "Sections Transversales", odCoupes, needs ChkbDessin
    ChkbEcarts,     // "Dessins à l'écart", odEcarts, needs ChkbDessin
    NombreBoites
  };
  // The objectName of a box ("ChkbCarroyage" ...).
  static const char* NomBoite(Boite b);
  // The kind a box stands for.
  static drawing::TypeObjetDessin TypeBoite(Boite b);
  // The box a dependent box needs, or NombreBoites for an independent one.
  static Boite BoiteMaitre(Boite b);

  TObjetsSvgDlg();

  std::array<Case, NombreBoites> Cases;
  // The last state of each dependent box while it was enabled.
  bool vSauvePts = false, vSauveVHab = false, vSauvePtSurf = false, vSauveCoupes = false, vSauveEcarts = false;
  // The lines of the pan-and-zoom script (the hidden memo).
  std::vector<std::string> MemoPanZoom;

  Case& operator[](Boite b) { return Cases[static_cast<size_t>(b)]; }
  const Case& operator[](Boite b) const { return Cases[static_cast<size_t>(b)]; }

  // Enables every dependent box, checks the boxes of the kinds in the set,
  // then ChkBoxClick.
  void Init(TObjetsSVG objets);
  // After a click on "Points de surface", "Cheminement" or "Dessin": the
  // enabled dependent boxes remember their state, then each dependent box is
  // enabled with its remembered state when its master is checked, else
  // disabled and unchecked.
  void ChkBoxClick();
  void TousBtnClick() { Init(ObjetsSVGDefaut); }
  void AucunBtnClick() { Init(0); }
  // The kinds of the checked boxes (a dependent kind only with its master)
  // and a copy of the script lines.
  void Transfere(TObjetsSVG& objets, std::vector<std::string>& script) const;

 private:
  bool& Sauve(Boite b);
};

// The script appended to a web export: panning with the button pressed and
// zooming about the pointer with the wheel, on the group "viewport".
const std::vector<std::string>& ScriptPanZoom();

}  // namespace formats
