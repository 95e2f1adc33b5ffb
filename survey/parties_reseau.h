#pragma once
// The document-wide objects that belong to the subsystems built above the
// survey model: the document pattern library, the background maps, the loop
// list and the plan page layouts (one of each per network), and the Therion
// pattern set (one per process, stored in every document).  The network
// creates its parts through factories that those subsystems register at
// start-up, and reaches them only through TPartieReseau.
//
// A part whose subsystem has registered nothing is the empty one: it writes
// the empty form of its record and reads only that form (a document holding
// patterns, maps or layouts cannot be read without their subsystem).
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/flux.h"
#include "survey/liens_dessin.h"

namespace survey {

class TCavite;
class TReseau;

// The parts of a network, in the order the document stores them.
enum class TGenrePartie : uint8_t {
  BibliothequeMotifs,  // ListesMtfReseau (library record; its SVG strokes in the .CFG)
  Cartes,              // CartesReseau (background map list)
  Bouclages,           // ListeBouclages (not stored)
  MisesEnPagePlan,     // the plan entry of ListesMisesEnPage (layout list)
};
inline constexpr int NombrePartiesReseau = 4;

class TPartieReseau {
 public:
  virtual ~TPartieReseau() = default;

  // The record in the document stream (the loop list has none).
  virtual bool Ecrit(foundation::TFlux& f) = 0;
  // Reads the record; the file level is the document's.  Called on a fresh
  // network only.
  virtual bool Lit(foundation::TFlux& f) = 0;
  // After the whole document was read successfully (the file level is still
  // the document's): the upgrades of older levels.
  virtual void ApresLecture() {}
  // Its part of the .CFG companion (only the library has one).
  virtual bool EcritConfig(foundation::TFlux&) { return true; }
  virtual bool LitConfig(foundation::TFlux&) { return true; }
  // Makes it the process-wide object of its subsystem.
  virtual void Active() {}

  // Converts what it holds in ground coordinates from one system and zone
  // to another.
  virtual void ChangeProjection(const std::string& /*ancien*/, int32_t /*ancienFuseau*/, int32_t /*nouveauFuseau*/,
                                const std::string& /*nouveau*/) {}
  // Whether it refers to the pattern (the layouts' north arrows).
  virtual bool UtiliseMotif(const TMotifDocument*) const { return false; }
  // Every reference to fusionne becomes a reference to garde.
  virtual void FusionneMotifs(TMotifDocument* /*garde*/, TMotifDocument* /*fusionne*/) {}
  virtual void FusionneFlecheN(TMotifDocument* /*garde*/, TMotifDocument* /*fusionne*/) {}

  // --- The library only ---------------------------------------------------------------
  // The surface symbol at that position of the surface-symbol list; none
  // outside it.
  virtual TMotifDocument* SymboleSurface(int32_t /*position*/) const { return nullptr; }
  // When garde is a font that has no survey-label role, it takes fusionne's.
  virtual void ReprendRoleFonte(TMotifDocument* /*garde*/, TMotifDocument* /*fusionne*/) {}
};

// The Therion pattern set (item after the document library).  Reading goes
// into a scratch set that replaces the live one only when the whole document
// was read (Valide); Abandonne drops it.
struct TBibliothequeTherion {
  std::function<bool(foundation::TFlux&)> Ecrit;
  std::function<bool(foundation::TFlux&)> Lit;
  std::function<void()> Valide;
  std::function<void()> Abandonne;
};

struct FabriquesReseau {
  // The factory of each part, by TGenrePartie.
  std::array<std::function<std::unique_ptr<TPartieReseau>(TReseau&)>, NombrePartiesReseau> Parties;
  // What each part's subsystem keeps process-wide about the open document:
  // the routine saves it and returns the routine that puts it back (used
  // while a second document is read).
  std::array<std::function<std::function<void()>()>, NombrePartiesReseau> Sauvegardes;
  TBibliothequeTherion Therion;
  // The cave merge: asks which of the caves to merge into the active one;
  // true when it merged.
  std::function<bool(TReseau&, const std::vector<TCavite*>&)> FusionneCavites;
  // Puts a document first in the recent-file list, with the position of its
  // active cave.
  std::function<void(const std::string& chemin, int32_t cavite)> AjouteFichierRecent;
};

FabriquesReseau& Fabriques();

class GardeFabriquesReseau {
 public:
  GardeFabriquesReseau() : sauve_(Fabriques()) {}
  ~GardeFabriquesReseau() { Fabriques() = sauve_; }
  GardeFabriquesReseau(const GardeFabriquesReseau&) = delete;
  GardeFabriquesReseau& operator=(const GardeFabriquesReseau&) = delete;

 private:
  FabriquesReseau sauve_;
};

// The part of that kind for a network: the registered one, else the empty one.
std::unique_ptr<TPartieReseau> CreePartie(TGenrePartie genre, TReseau& reseau);

// --- Empty forms ---------------------------------------------------------------------------
// A pattern library with no entry, in the form of the document (the seven
// lists and the three sketch lists).  Reading gates the lists on the file
// level and accepts only empty lists (their categories are dropped).
bool EcritBibliothequeVide(foundation::TFlux& f);
bool LitBibliothequeVide(foundation::TFlux& f);

}  // namespace survey
