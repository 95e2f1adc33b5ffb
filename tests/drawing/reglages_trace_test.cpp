// The snapshot of the paint's settings that the threads of a layer read: a
// thread under its guard reads the snapshot whatever the live contexts
// become, guards nest, and other threads and the thread after the guard read
// the live contexts.
#include <gtest/gtest.h>

#include <thread>

#include "drawing/reglages_trace.h"

namespace {

using namespace drawing;

TEST(ReglagesTrace, UnFilSousLaGardeLitLInstantane) {
  Affichage().TraceEnRouge = true;
  Affichage().ObjetsEnErreur = {4, 9};
  foundation::Vue().EchelleVue = 3;
  foundation::Impression().EnImpression = true;
  const ReglagesTrace instantane = InstantaneReglages();
  // The failures stay with the live paint.
  EXPECT_TRUE(instantane.Affichage.ObjetsEnErreur.empty());
  {
    const GardeReglagesTrace lus(instantane);
    Affichage().TraceEnRouge = false;
    foundation::Vue().EchelleVue = 5;
    foundation::Impression().EnImpression = false;
    EXPECT_TRUE(AffichageLu().TraceEnRouge);
    EXPECT_EQ(VueLue().EchelleVue, 3);
    EXPECT_TRUE(ImpressionLue().EnImpression);
    // Another thread reads the live contexts.
    bool rougeAilleurs = true;
    std::thread([&] { rougeAilleurs = AffichageLu().TraceEnRouge; }).join();
    EXPECT_FALSE(rougeAilleurs);
    {
      ReglagesTrace autre = instantane;
      autre.Vue.EchelleVue = 7;
      const GardeReglagesTrace imbrique(autre);
      EXPECT_EQ(VueLue().EchelleVue, 7);
    }
    EXPECT_EQ(VueLue().EchelleVue, 3);
  }
  EXPECT_FALSE(AffichageLu().TraceEnRouge);
  EXPECT_EQ(VueLue().EchelleVue, 5);
  EXPECT_FALSE(ImpressionLue().EnImpression);
}

}  // namespace
