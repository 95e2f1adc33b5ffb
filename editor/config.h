#pragma once
// The annexes of a stored drawing: the calibrated images and SVG background
// drawings placed under it.  They are display settings, written into the
// document's .CFG companion.  TListeFDP is the flat list of an annexes'
// backgrounds (images first, then SVG drawings) with one active background
// and previous/next stepping, for the editors' background buttons.
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "editor/dessin_svg.h"
#include "editor/image_notes.h"

namespace editor {

using TListeSVG = std::vector<std::unique_ptr<TDessinSVG>>;

class TConfig {
 public:
  TConfig() = default;
  TConfig(const TConfig&) = delete;
  TConfig& operator=(const TConfig&) = delete;

  TListeNotes ListeNotes;  // no active image
  TListeSVG ListeSVG;
  int32_t SVGActif = -1;  // the active SVG drawing at load time

  // Image count, images, SVG count, SVG drawings.  Both make the SVG list
  // the current one; reading stops at the first failure and makes the last
  // SVG drawing active.
  bool EcritObjet(foundation::TFlux& f);
  bool LitObjet(foundation::TFlux& f);

  // Every image's and SVG drawing's ground points into the new system; what
  // could not be converted is reported once (at the end when no bilan is
  // given).
  void ChangeProjectionConfig(const std::string& AncienProj, int32_t AncienFuseau, const std::string& NouveauProj,
                              int32_t NouveauFuseau, TBilanReprojection* bilan = nullptr);
};

// The SVG list of the annexes in use and its active drawing, shared with the
// SVG windows.
struct ContexteAnnexes {
  TListeSVG* ListeSVGCourante = nullptr;
  int32_t SVGActifCourant = -1;
};

ContexteAnnexes& Annexes();

class GardeAnnexes {
 public:
  GardeAnnexes() : sauve_(Annexes()) {}
  ~GardeAnnexes() { Annexes() = sauve_; }
  GardeAnnexes(const GardeAnnexes&) = delete;
  GardeAnnexes& operator=(const GardeAnnexes&) = delete;

 private:
  ContexteAnnexes sauve_;
};

using TFondDePlan = std::variant<TImageNotes*, TDessinSVG*>;

class TListeFDP {
 public:
  explicit TListeFDP(TConfig* vConfig) : UneConfig(vConfig) {}

  TConfig* UneConfig;  // not owned
  int32_t iFDPActif = -1;
  bool FDPAffiche = false;
  std::vector<TFondDePlan> Fonds;

  int Count() const { return static_cast<int>(Fonds.size()); }
  bool EstSVG(int i) const;
  TImageNotes* UneImage(int i) const;
  TDessinSVG* UnSVG(int i) const;

  // Rebuilds the list; the given background becomes active when listed,
  // otherwise the active SVG drawing, otherwise the active image.
  void MAJ();
  void MAJ(const TImageNotes* vFDPActif);
  void MAJ(const TDessinSVG* vFDPActif);
  // Appends to the annexes and makes it the active background.
  void AjouteFDP(std::unique_ptr<TImageNotes> Item);
  void AjouteFDP(std::unique_ptr<TDessinSVG> Item);
  // Removes and frees the active background; the previous one becomes active
  // (the first when it was the first).
  void EnleveFDPActif();
  // One step back / forward; true when the active index moved.
  bool Preced();
  bool Suivant();

 private:
  void Reconstruit(const void* actif);
  // Makes the background at the active index active in its own list.
  void ActiveDansSaListe();
};

}  // namespace editor
