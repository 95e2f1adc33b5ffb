#pragma once
// The process-wide values of foundation: the view transform, the print
// transform and the file level.
#include "foundation/contexte_impression.h"
#include "foundation/niveau_fichier.h"
#include "foundation/transformation_vue.h"

namespace foundation {

struct TContexteFoundation {
  ContexteVue Vue;
  ContexteNiveauFichier NiveauFichier;
  ContexteImpression Impression;
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
