#pragma once
// A page layout: a named way of printing a plan or elevation view: printer
// and paper, print scale, printed kinds of drawing objects, hidden caves,
// reference entrance, background map, the pages of the page grid and the
// items of the sheet, with its stream record, the header and footer codes,
// the deep copy and the merges of patterns.  The four process-wide layout
// lists (one per plan or elevation kind) are in ContexteMisesEnPage.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "drawing/objet_motif_de_base.h"
#include "foundation/point_topo.h"
#include "foundation/transformation_vue.h"
#include "views/format_papier.h"
#include "views/objets_mise_en_page.h"
#include "views/page_semis.h"

namespace platform {
class Canvas;
}

namespace views {

// Header and footer codes, replaced in this order: document path, network
// name, active cave name, "1/" + scale, today's date, page number, number of
// pages.
inline constexpr std::array<const char*, 7> CodesTetePied = {"#Fichier&", "#Reseau&",   "#Cavite&",   "#Echelle&",
                                                             "#Date&",    "#NumPage&", "#NbrePages&"};

class TMiseEnPage : public foundation::TObjetDeListe {
 public:
  TMiseEnPage();
  ~TMiseEnPage() override;
  TMiseEnPage(const TMiseEnPage&) = delete;
  TMiseEnPage& operator=(const TMiseEnPage&) = delete;

  std::string Design;
  std::string Imprimante;
  std::string FormatPapier;
  int32_t CodeFormatP = 0;
  int32_t LargeurPapier = 0;  // usable paper size, millimetres
  int32_t HauteurPapier = 0;
  int32_t Echelle = 0;  // print scale denominator (1/Echelle), 32 bits
  std::unique_ptr<TFlecheN> FlecheN;
  // Largeur = bar length in metres, -1 automatic.
  std::unique_ptr<TObjetGraphique> EchelleGraph;
  std::unique_ptr<TListeEchVert> EchellesVert;
  int32_t IndexEntree = -1;  // stored form of the reference entrance
  int8_t TypeAltitude = 0;   // 0 default, 1 absolute, 2 relative to the entrance
  // The printed kinds of drawing objects: bit n for kind n.
  uint32_t ObjetsImprimes = 0;
  bool Carroyage = false;
  bool prnCadre = false;
  bool prnEnTete = false;
  bool prnPiedPage = false;
  foundation::TListeFichier<TCartouche> ListeCartouches;
  TTetePiedPage EnTete;
  TTetePiedPage PiedPage;
  foundation::TListeFichier<TPageSemis> ListePages;
  // Caves not drawn in this layout (cave indexes).
  std::vector<int32_t> ListeCavites;
  TListeCoupesAlti ListeCoupesAlti;
  foundation::TListeFichier<TRasterMep> ListeRastersMep;
  std::unique_ptr<TMotifsMep> MotifsMep;
  foundation::TListeFichier<TObjetGraphique> ListeMasquesMep;
  std::string CarteMep;  // background map file; empty = none
  // Masked patterns, for line styles, fills, symbols and fonts only.
  std::array<std::unique_ptr<TListeMotifsMasques>, drawing::NombreTypesMotif> MepMotifsMasques;
  bool ModifMEP = false;
  bool InitMEP = true;
  foundation::TRect EnvelMEP;  // all pages, drawing units
  int32_t CavitRef = -1;   // reference cave (index in the network)
  int32_t EntreeRef = -1;  // reference entrance (network-wide station number)

  // The masked list of a kind; none for the kinds that have none.
  TListeMotifsMasques* MotifsMasques(drawing::TTypeMotif type) const;
  TPageSemis* UnePage(int i) const { return ListePages.UnObjet(i); }
  TCartouche* Uncartouche(int i) const { return ListeCartouches.UnObjet(i); }
  TCoupeAlti* UneCoupeAlti(int i) const { return ListeCoupesAlti.UnObjet(i); }
  TRasterMep* UnRasterMep(int i) const { return ListeRastersMep.UnObjet(i); }

  // The 25-field record; reading follows the file level.  Writing first
  // packs the reference entrance, drops masked entries and elevation blocks
  // that lost their target, and caves no longer in the network.
  bool EcritObjet(foundation::TFlux& f) override;
  bool LitObjet(foundation::TFlux& f) override;

  TValFormat ValFormat() const;
  // Drops none entries of the masked lists and elevation blocks whose cave
  // or long section is gone.
  void ControleCoupes();
  // EnvelMEP := the union of the pages in drawing units; false (EnvelMEP
  // unchanged) without pages.
  bool CalculeEnveloppe();
  // Marks the document library's patterns of the four kinds masked or not.
  void MasqueMotifs() const;
  // The text with the header codes replaced.
  std::string TetePiedPageTxt(const std::string& TexteBrut, int NPage) const;
  // The three sections drawn with the canvas's font, tops at Y, the right
  // one ending at XD, the centre one centred, the left one from XG.
  void ImprimeTetePied(const TTetePiedPage& UnTP, platform::Canvas& canvas, int NPage, int32_t XD, int32_t Y,
                       int32_t XG) const;
  // A present north arrow drawn with MotifAFusionner takes MotifAGarder.
  void FusionneFlecheN(drawing::TObjetMotifdeBase* MotifAGarder, drawing::TObjetMotifdeBase* MotifAFusionner);
  // Every reference of the layout to MotifAFusionner (legend, masked list,
  // legend font of the elevation blocks) goes to MotifAGarder, without
  // duplicates in the lists.
  void FusionneMotifs(drawing::TObjetMotifdeBase* MotifAGarder, drawing::TObjetMotifdeBase* MotifAFusionner);
  // Moves every pattern reference to the entries that replaced them in the
  // document library.
  void RelogeMotifs(const drawing::TRelogeMotifs& reloge);

 private:
  // Packs CavitRef and EntreeRef into IndexEntree; false when the entrance
  // does not fit the packed form.
  bool PrepareIndexEntree();
};

// Deep copy: every field and item, the pages too when AvecPages.
void CopieMiseEnPage(const TMiseEnPage& Source, TMiseEnPage& Dest, bool AvecPages);

using TListeMisesEnPage = foundation::TListeFichier<TMiseEnPage>;

// The four process-wide layout lists, by drawing kind tddPlani..tddAltiProj.
// The plan entry is the network's list; an elevation entry points at the list
// of the long section shown.  None owned.
struct ContexteMisesEnPage {
  std::array<TListeMisesEnPage*, 4> ListesMisesEnPage{};
  TListeMisesEnPage* Liste(foundation::TTypeDeDessin type) const;
};

ContexteMisesEnPage& MisesEnPage();
// Layout i of the list of the current drawing kind; none out of range.
TMiseEnPage* UneMiseEnPage(int i);

// Points the list of a kind at another list for the life of the guard.
class GardeListeMisesEnPage {
 public:
  GardeListeMisesEnPage(foundation::TTypeDeDessin type, TListeMisesEnPage* liste);
  ~GardeListeMisesEnPage();
  GardeListeMisesEnPage(const GardeListeMisesEnPage&) = delete;
  GardeListeMisesEnPage& operator=(const GardeListeMisesEnPage&) = delete;

 private:
  size_t index_;
  TListeMisesEnPage* sauve_ = nullptr;
};

}  // namespace views
