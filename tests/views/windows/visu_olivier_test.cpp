// A real survey in the cave window: Olivier.tro (VTopo) imported through the
// import framework, the window opened on it.  Every station of the survey
// axes sits at its computed coordinates in drawing units, and those agree
// with Survex's cavern run on the .svx that the import tests' converter
// writes from the file's own lines: the window shows what Survex computes.
#include <gtest/gtest.h>

#include <map>
#include <numbers>
#include <string>
#include <unordered_map>

#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "tests/formats/import_test_support.h"
#include "tests/formats/survex_tro.h"
#include "tests/views/windows/outils_visu.h"

namespace {

using namespace essaifenetres;

class Olivier : public Document {};

TEST_F(Olivier, AxesAuxCoordonneesCalculeesCommeSurvex) {
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionAutres));
  testformats::ReseauImport r;
  const std::string chemin = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/Olivier.tro";
  ASSERT_TRUE(r.Importe(chemin));
  survey::TCavite* c = r.Cavite();
  ASSERT_NE(c, nullptr);
  r.R().LaCaviteActive = c;
  Visu f;
  f.Cree();
  ASSERT_TRUE(f.FicheOuverte);
  // Each station once in the axes, at its computed position in drawing units.
  std::map<const survey::TPointSpeleo*, foundation::TPoint> places;
  for (const auto& o : f.LeCalque(odPtLever).ObjetsDessines) {
    const auto* a = dynamic_cast<const drawing::TDessinAxeGal*>(o.get());
    ASSERT_NE(a, nullptr);
    for (const auto& p : a->PointsAxe) {
      const foundation::TPoint attendu = foundation::XYVersDessin(p->PointRef->X, p->PointRef->Y);
      EXPECT_EQ(p->PointLoc().X, attendu.X) << p->PointRef->DesignPTopo;
      EXPECT_EQ(p->PointLoc().Y, attendu.Y) << p->PointRef->DesignPTopo;
      places[p->PointRef] = p->PointLoc();
    }
  }
  for (const survey::TPointSpeleo* p : c->ListePoints) EXPECT_TRUE(places.count(p)) << p->DesignPTopo;
  ASSERT_GT(places.size(), 10u);

  if (!testformats::CavernPresent()) GTEST_SKIP() << "Survex (cavern, dump3d) n'est pas installé";
  const double convergence = c->CalculeConvergence() * 180 / std::numbers::pi;
  const testformats::FichierTro tro = testformats::LitTro(testsupport::LitOctets(chemin));
  std::unordered_map<std::string, std::string> noms;
  const auto nom = [&](const std::string& n) {
    auto it = noms.find(n);
    if (it == noms.end()) it = noms.emplace(n, "s" + std::to_string(noms.size())).first;
    return it->second;
  };
  std::string erreur;
  const auto survex = testformats::PositionsSurvex(testformats::VersSvx(tro, nom, convergence), r.Dossier.Chemin(), erreur);
  ASSERT_TRUE(erreur.empty()) << erreur;
  const auto& v = foundation::Vue();
  int compares = 0;
  for (const auto& [station, loc] : places) {
    std::string n = station->DesignPTopo;
    if (n.size() > 5 && n.ends_with("-Orig")) n.resize(n.size() - 5);
    const auto it = noms.find(n);
    if (it == noms.end()) continue;  // reached only by excluded shots
    const auto s = survex.find(it->second);
    ASSERT_NE(s, survex.end()) << n;
    // The drawing's millimetre adds half a millimetre at most.
    EXPECT_NEAR(loc.X / 1000.0 + v.Xmin, s->second[0], 0.0205) << n;
    EXPECT_NEAR(loc.Y / 1000.0 + v.Ymin, s->second[1], 0.0205) << n;
    ++compares;
  }
  EXPECT_GT(compares, 10);
}

}  // namespace
