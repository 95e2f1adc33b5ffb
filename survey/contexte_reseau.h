#pragma once
// The process-wide state that belongs to the open network: the network
// itself, its operator and instrument lists, its station index, the
// document-wide objects of the other subsystems (pattern library, background
// maps, loops, the four page-layout lists), the file level, and what the
// document reader shares with the drawing readers while a document is read.
//
// GardeContexteReseau sets all of it aside and puts it back, in the order
// operators, instruments, pattern library, maps, loops, page layouts, file
// level; reading a second document (an import, a comparison, a partial
// export) runs inside one, and so does every read that may fail, so that a
// document that cannot be read leaves the open one as it was.
#include <cstdint>
#include <functional>
#include <vector>

#include "foundation/niveau_fichier.h"
#include "survey/contexte_document.h"
#include "survey/listes_document.h"
#include "survey/point_speleo.h"

namespace survey {

class TCavite;
class TListeDeVisees;

// While a document is read or written.
struct ContexteLectureReseau {
  // The shot list of each cave, in cave order, as the reader reaches them, so
  // that drawing records can refer to a shot by cave and shot position.
  std::vector<TListeDeVisees*> ListesViseesLues;
  // The cave whose drawings are being read or written.
  TCavite* CaviteEnLecture = nullptr;
};

ContexteLectureReseau& LectureReseau();

// The shot at that cave and shot position of the lists read so far; none
// outside them.
TVisee* ViseeLue(int32_t cavite, int32_t visee);

class GardeContexteReseau {
 public:
  GardeContexteReseau();
  // Puts everything back unless Conserve was called.
  ~GardeContexteReseau();
  GardeContexteReseau(const GardeContexteReseau&) = delete;
  GardeContexteReseau& operator=(const GardeContexteReseau&) = delete;

  // Keeps the state as it now stands (a document was opened in its place).
  void Conserve() { conserve_ = true; }

 private:
  bool conserve_ = false;
  TReseau* reseau_;
  ContexteListesDocument listes_;
  std::vector<std::function<void()>> restaurations_;  // by part kind, in order
  foundation::ContexteNiveauFichier niveau_;
  ContextePointsReseau points_;
  ContexteLectureReseau lecture_;
};

}  // namespace survey
