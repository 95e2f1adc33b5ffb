#pragma once
// The process-wide values of foundation: the view transform, the print
// transform, the file level and the threads of parallel steps.
#include "foundation/contexte_impression.h"
#include "foundation/niveau_fichier.h"
#include "foundation/transformation_vue.h"

namespace foundation {

struct TContexteFoundation {
  ContexteVue Vue;
  ContexteNiveauFichier NiveauFichier;
  ContexteImpression Impression;
  // The threads a parallel step may use; 0: as many as the machine has.
  int FilsMax = 0;
};

// The one context of the folder; Vue(), NiveauFichier() and Impression() are
// its members.
TContexteFoundation& ContexteFoundation();

// Saves the whole context and puts it back on exit.
class GardeContexteFoundation {
 public:
  GardeContexteFoundation() : sauve_(ContexteFoundation()) {}
  ~GardeContexteFoundation() { ContexteFoundation() = sauve_; }
  GardeContexteFoundation(const GardeContexteFoundation&) = delete;
  GardeContexteFoundation& operator=(const GardeContexteFoundation&) = delete;

 private:
  TContexteFoundation sauve_;
};

}  // namespace foundation
