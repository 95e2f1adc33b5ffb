#pragma once
// The settings a drawing object reads while it draws, as one const snapshot.
// A layer drawn on several threads takes it once, on the calling thread,
// before the threads start; a thread drawing one of the layer's slices reads
// the snapshot instead of the live contexts, which the calling thread alone
// may change.  Anywhere else the reads go to the live contexts.
#include "drawing/contexte_dessin.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"

namespace drawing {

struct ReglagesTrace {
  // The values of the paint (its failure list left empty: a thread notes
  // its failures through its recording, see NoteObjetEnErreur).
  EtatAffichage Affichage;
  foundation::ContexteVue Vue;
  foundation::ContexteImpression Impression;
};

// The live values now.
ReglagesTrace InstantaneReglages();

// What an object being drawn reads: the snapshot of the slice this thread
// draws, else the live contexts.
const EtatAffichage& AffichageLu();
const foundation::ContexteVue& VueLue();
const foundation::ContexteImpression& ImpressionLue();

// This thread reads the snapshot for the life of the guard.
class GardeReglagesTrace {
 public:
  explicit GardeReglagesTrace(const ReglagesTrace& reglages);
  ~GardeReglagesTrace();
  GardeReglagesTrace(const GardeReglagesTrace&) = delete;
  GardeReglagesTrace& operator=(const GardeReglagesTrace&) = delete;

 private:
  const ReglagesTrace* avant_;
};

}  // namespace drawing
