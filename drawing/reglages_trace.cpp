#include "drawing/reglages_trace.h"

namespace drawing {

namespace {

// The snapshot the slice this thread draws reads; none outside a slice.
thread_local const ReglagesTrace* reglagesDuFil = nullptr;

}  // namespace

ReglagesTrace InstantaneReglages() {
  ReglagesTrace r{Affichage(), foundation::Vue(), foundation::Impression()};
  r.Affichage.ObjetsEnErreur.clear();
  return r;
}

const EtatAffichage& AffichageLu() { return reglagesDuFil != nullptr ? reglagesDuFil->Affichage : Affichage(); }

const foundation::ContexteVue& VueLue() { return reglagesDuFil != nullptr ? reglagesDuFil->Vue : foundation::Vue(); }

const foundation::ContexteImpression& ImpressionLue() {
  return reglagesDuFil != nullptr ? reglagesDuFil->Impression : foundation::Impression();
}

GardeReglagesTrace::GardeReglagesTrace(const ReglagesTrace& reglages) : avant_(reglagesDuFil) {
  reglagesDuFil = &reglages;
}

GardeReglagesTrace::~GardeReglagesTrace() { reglagesDuFil = avant_; }

}  // namespace drawing
