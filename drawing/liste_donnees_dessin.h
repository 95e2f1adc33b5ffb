#pragma once
// The element list of a stored drawing: its lines, fills, symbols and texts,
// the drawing kind, the display configuration and a two-point calibration,
// with the whole-drawing operations (recomputation after a network
// computation, pruning of what can no longer be placed, copy, transfer,
// mirroring, pattern locks and merges).  It is the base of cross sections and
// of imported drawings.
//
// Record: lines (count + line records); fills (count + fill records, indexing
// the lines just written or read); below level 500 an older text list, read
// and dropped; texts (count + records); symbols (count + records); the drawing
// kind (1 byte, from level 204).
//
// Three orders over the elements are kept apart: display and every
// whole-list walk take lines, fills, symbols, texts; pruning takes fills,
// texts, lines, symbols; a transfer takes lines, symbols, texts, fills.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_set>

#include "drawing/elements_dessin.h"
#include "drawing/liste_elements.h"
#include "drawing/objet_donnees_basique.h"
#include "drawing/ports_dessin.h"
#include "drawing/visees_dessin.h"
#include "foundation/objet_de_liste.h"
#include "foundation/point_topo.h"
#include "foundation/transformation_vue.h"

namespace drawing {

class TListeDonneesDessin : public foundation::TObjetDeListe {
 public:
  TListeDonneesDessin();
  ~TListeDonneesDessin() override;
  TListeDonneesDessin(const TListeDonneesDessin&) = delete;
  TListeDonneesDessin& operator=(const TListeDonneesDessin&) = delete;

  TViseesDeRef LesViseesDessin;  // given by the drawing's owner
  TListeElements<TObjetDonneesBasique> LesMultiPoints;
  TListeElements<TObjetDonneesRemplir> LesRemplissages;
  TListeElements<TObjetDonneesSymbole> LesSymboles;
  TListeElements<TObjetTexte> LesTextes;
  double Cfdc = 0, ACP = 0;
  foundation::TTypeDeDessin TypeDeDessin = foundation::TTypeDeDessin::tddPlani;
  std::unique_ptr<TConfigDessin> LaConfig;  // stored in the .CFG companion
  foundation::THelmert vHelmert;
  bool ATransfo = false;
  std::array<foundation::TPointTopo, 2> PointsTerrainCalage{};
  std::array<foundation::TPointTopo, 2> PointsDessinCalage{};

  int NombreElements() const;
  // Gives the element this list as owner and appends it to the list of its
  // kind.
  TObjetDonneesBasique* AjouteDonneesDessin(std::unique_ptr<TObjetDonneesBasique> vOdb);
  // Lines, fills, symbols, texts.
  void PourTousObjets(const std::function<void(TObjetDonneesBasique&)>& vProc) const;
  void SelecTousObjets();
  void DeSelecTousObjets();
  void TousObjetsNonFiligrane();
  void InitCopieDessin();

  // The one routine that removes lines: each removed line is also taken out
  // of every fill that it bounds.  SupprimeLignes frees them, ExtraitLignes
  // hands them over.
  int SupprimeLignes(const std::function<bool(const TObjetDonneesBasique*)>& pred);
  bool SupprimeLigne(const TObjetDonneesBasique* ligne);
  std::vector<std::unique_ptr<TObjetDonneesBasique>> ExtraitLignes(
      const std::function<bool(const TObjetDonneesBasique*)>& pred);

  // Deletes every fill, then every text, line and symbol, that is no longer
  // valid.
  void EffaceObjetsSansPoints();
  // Deletes the fills left without bounding line.
  void NettoieObjetsRemplis();
  // After a network computation: places every line, symbol and text and
  // deletes those left with fewer than two placed points (and survey labels
  // without station).  Fills follow their lines.
  void CalculeDessin();
  // Negates the angle of every point whose shot is marked modified.
  void InverseDessin();
  void SauveAnglesDessin();
  void RestaureAnglesDessin();
  // Lines and fills: -1 saves EstFiligrane, 0 clears it, 1 restores it.
  void MajFiligranes(int sens);
  // Every line, symbol and text chooses its points' shots again.
  void ReferenceDessin();
  // Fits the calibration on the two point pairs and applies it to every
  // line, symbol and text (fills follow their lines).
  void TransfoDessin();
  // Moves every line, symbol, text and fill into Destination.
  void Transfere(TListeDonneesDessin& Destination);
  // Fills DessinDestin with copies of every element.
  void CreeCopieDessin(TListeDonneesDessin& DessinDestin);
  // Whether an element of the pattern's kind uses it; if so the pattern is
  // locked (line styles and fills by the drawing kind).
  bool CalculVerrousMotifdeBase(TObjetMotifdeBase* vMotif);
  // Every element using MotifAFusionner takes MotifAGarder.
  void FusionneMotifsdeBase(TObjetMotifdeBase* MotifAGarder, TObjetMotifdeBase* MotifAFusionner);
  // References to removed shots and stations; patterns replaced.
  void Nettoie(const survey::TSuppressions& s);
  void RelogeMotifs(const TRelogeMotifs& reloge);

  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

 private:
  void OteDesRemplissages(const std::unordered_set<const TObjetDonneesBasique*>& lignes);
};

// A drawing read from an SVG or Therion file (the readers add its
// operations); an imported sketch's drawings are of this kind.
class TListeDonneesSVG : public TListeDonneesDessin {};

}  // namespace drawing
