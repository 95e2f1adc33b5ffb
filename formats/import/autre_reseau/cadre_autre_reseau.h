#pragma once
// Reading a second document beside the open one, and the equivalence lists
// that copy its content into the open document.
//
// TCadreAutreReseau is the frame: it sets the whole document context aside
// (operators, instruments, pattern library, background maps, loops, page
// layouts, file level, the current network), makes a new network current,
// and on every exit (success, cancel, read failure, exception) frees that
// network and puts the open document's context back in that order.  Freeing
// the second network never touches the open document's file or its lock.
//
// TEquivalences holds the twelve equivalence lists (foundation/liste_equiv.h)
// of a copy (surface points, operators, instruments, then the pattern lists),
// pairing the objects of the second document with equivalent objects of the
// open document, and moves the shared objects that the copied content uses
// and the open document lacks.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/liste_equiv.h"
#include "survey/contexte_reseau.h"
#include "survey/rapport_calcul.h"

namespace survey {
class TCavite;
class TLever;
class TPointSpeleo;
class TReseau;
}  // namespace survey

namespace drawing {
class tListeMtf;
class TListeMotifsBase;
class TObjetMotifdeBase;
class TRelogeMotifs;
}  // namespace drawing

namespace formats {

class TCadreAutreReseau {
 public:
  // The open document's context is set aside and a new network becomes
  // current (with its own document-wide objects).
  TCadreAutreReseau();
  // The second network is freed, then the open document's context is put back.
  ~TCadreAutreReseau();
  TCadreAutreReseau(const TCadreAutreReseau&) = delete;
  TCadreAutreReseau& operator=(const TCadreAutreReseau&) = delete;

  // The open network (none when no document is open) and the second one.
  survey::TReseau* Ouvert() const { return ouvert_; }
  survey::TReseau& Second() const { return *second_; }
  // Their pattern libraries (none without the drawing subsystem).
  drawing::tListeMtf* BibliothequeOuverte() const { return bibOuverte_; }
  drawing::tListeMtf* BibliothequeSeconde() const { return bibSeconde_; }

  // Reads a document file into the second network, without the read-only
  // bookkeeping of the open document and without taking the file's lock;
  // the reader's message on failure.
  bool LitDocument(const std::string& chemin);

  // Which network is ReseauCourant (the document-wide objects stay the
  // second document's until the frame ends).
  void OuvertCourant();
  void SecondCourant();

  // Something was copied into the open document: its modified flag is set
  // when the frame ends.  Otherwise the flag is put back as it was, whatever
  // the work on the second network did to it.
  void Copie() { copie_ = true; }

 private:
  bool modifie_;
  bool copie_ = false;
  survey::TReseau* ouvert_;
  drawing::tListeMtf* bibOuverte_;
  bool croquis_;
  survey::GardeContexteReseau contexte_;
  survey::GardeContexteCalcul calcul_;
  std::unique_ptr<survey::TReseau> second_;
  drawing::tListeMtf* bibSeconde_ = nullptr;
};

// Sketch context (sketch lines use the sketch pattern lists) for a while.
class GardeContexteCroquis {
 public:
  explicit GardeContexteCroquis(bool actif);
  ~GardeContexteCroquis();
  GardeContexteCroquis(const GardeContexteCroquis&) = delete;
  GardeContexteCroquis& operator=(const GardeContexteCroquis&) = delete;

 private:
  bool sauve_;
};

using foundation::TEquivObjet;
using foundation::TListeEquiv;

// The twelve equivalence lists of a copy from the second document to the
// open one (CreeEquivalences), the remapping of copied content and the
// transfer of the shared objects.
class TEquivalences {
 public:
  explicit TEquivalences(TCadreAutreReseau& cadre);
  ~TEquivalences();
  TEquivalences(const TEquivalences&) = delete;
  TEquivalences& operator=(const TEquivalences&) = delete;

  TListeEquiv Operateurs, Instruments;
  TListeEquiv Textures, Traits, Remplis, Fontes, Symboles, SymbolesSurface;
  TListeEquiv TraitsDTT, FontesDTT, SymbolesDTT;

  // The open-document surface point equivalent to a surface point of the
  // second document (within 0.1 m in plan, same name ignoring case), or
  // none.  The second document's points are converted into the open
  // network's system when the lists are made.
  survey::TPointSpeleo* PointEquivalent(const survey::TPointSpeleo* p) const;
  // The equivalent point, or a copy of the point appended to the open
  // network's surface points (once per point).
  survey::TPointSpeleo* CopiePointSurfaceImporte(survey::TPointSpeleo* p);

  // A copied survey trip's operators and instruments.
  void RemappeLever(survey::TLever& l);
  // A copied cave's drawing data (plan drawing, long sections, sketches):
  // projected sections first lose the content of other caves, empty
  // sketches go; patterns with an equivalent are replaced by it; the others
  // are marked used.
  void RemappeDessins(survey::TCavite& c);

  // Moves the used shared objects without equivalent into the open
  // document: operators, instruments, then (after the textures of the used
  // styles and fills were remapped) textures, line styles, fills, fonts,
  // symbols, surface symbols and the three sketch lists.
  void TransfereObjetsPartages();

  TCadreAutreReseau& Cadre;

 private:
  void MarqueMotifsUtilises(survey::TCavite& c);
  std::unordered_map<const survey::TPointSpeleo*, survey::TPointSpeleo*> pointsSurface_;
  std::unordered_map<const survey::TPointSpeleo*, survey::TPointSpeleo*> copies_;
  std::vector<std::pair<TListeEquiv*, drawing::TListeMotifsBase*>> motifs_;
  std::unique_ptr<drawing::TRelogeMotifs> reloge_;
};

}  // namespace formats
