// The cave window's model: the automatic scale, the extent and its refusal,
// the objects built from the computed network (axes, splays, outlines,
// entrances), the picking of a station on a click, the shot selection with
// its lines, the frame selection and the regeneration keeping the view.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <tuple>
#include <cmath>
#include <numbers>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "drawing/dessin_point_surface.h"
#include "drawing/croquis.h"
#include "drawing/donnees_coupe_long.h"
#include "drawing/point_compo.h"
#include "foundation/catalogue.h"
#include "survey/reseau.h"
#include "tests/survey/reseau_aleatoire.h"
#include "tests/views/windows/outils_visu.h"
#include "views/types_fiches.h"

namespace {

using namespace essaifenetres;
using B = views::TNoyauGraphique::Bouton;
using T = views::TNoyauGraphique::EtatTouches;
using foundation::TTypeDeDessin;

TEST(EchelleAuto, FeuilleDe19Sur27) {
  struct Cas {
    double largeur, hauteur;  // east-west, north-south (m)
    int32_t echelle;
  };
  const Cas cas[] = {
      {50, 270, 1000},     // m = 1000 (to within a rounding): the top of the table
      {20, 60, 200},       // m = 222.2, between 250 and 200, nearer 200
      {42.75, 10, 200},    // m = 225 exactly: the lower one on a tie
      {5, 5, 50},          // m = 26: below the table
      {400, 10, 1000},     // m = 2105: beyond 1000
      {10, 180, 750},      // m = 666.7, nearer 750
      {30, 10, 200},       // m = 157.9, between 200 and 100, nearer 200
      {0, 0, 50},
  };
  for (const Cas& c : cas)
    EXPECT_EQ(views::EchelleAuto(c.largeur, c.hauteur), c.echelle) << c.largeur << " x " << c.hauteur;
}

class Etendue : public Cavites {};

TEST_F(Etendue, PointsDeSurfaceSansCaviteDessinee) {
  auto& v = foundation::Vue();
  {
    // One surface point: 200 m around it.
    N.Surface("S1", 1000, 2000, 300);
    Visu f;
    f.Cree();
    EXPECT_TRUE(f.FicheOuverte);
    EXPECT_DOUBLE_EQ(f.ZoomGeneral.XInf, 900);
    EXPECT_DOUBLE_EQ(f.ZoomGeneral.XSup, 1100);
    EXPECT_DOUBLE_EQ(f.ZoomGeneral.YInf, 1900);
    EXPECT_DOUBLE_EQ(f.ZoomGeneral.YSup, 2100);
    EXPECT_DOUBLE_EQ(v.Xmin, 900);
    EXPECT_EQ(f.LeCalque(odPtSurf).NombreObjets(), 1);
  }
}

TEST_F(Etendue, NiPointNiViseeAutourDeLOrigine) {
  // A fresh document whose only cave has no shot.
  N.Cavite("Vide");
  Visu f;
  f.Cree();
  EXPECT_TRUE(f.FicheOuverte);
  EXPECT_DOUBLE_EQ(f.ZoomGeneral.XInf, -100);
  EXPECT_DOUBLE_EQ(f.ZoomGeneral.XSup, 100);
  EXPECT_DOUBLE_EQ(f.ZoomGeneral.YInf, -100);
  EXPECT_DOUBLE_EQ(f.ZoomGeneral.YSup, 100);
  EXPECT_EQ(f.LeCalque(odPtLever).NombreObjets(), 0);
}

TEST_F(Etendue, TropGrandeRefuseeAvantToutObjet) {
  N.Surface("S1", 0, 0, 0);
  N.Surface("S2", 2'500'000, 0, 0);
  Visu f;
  f.Cree();
  EXPECT_TRUE(f.CalculHorsPlage);
  EXPECT_FALSE(f.FicheOuverte);
  EXPECT_EQ(f.LeCalque(odPtSurf).NombreObjets(), 0);
  ASSERT_EQ(scripte_.Log().size(), 1u);
  EXPECT_EQ(scripte_.Log()[0].text,
            "L'étendue du réseau est supérieure à 2 147 483 m. Le dessin ne peut être calculé. Vérifiez qu'il n'y "
            "a pas d'erreur de coordonnées des points de surface");
}

TEST_F(Etendue, TropGrandeEnElevation) {
  // A 2,200 km shot in the developed elevation: the check runs in (SlH, Z).
  N.Surface("E", 0, 0, 0);
  survey::TCavite* c = N.Cavite("Longue");
  N.Visee(c, "E", "1", 90, 0, 2'200'000);
  N.Regenere();
  foundation::GardeTypeDessin alti(TTypeDeDessin::tddAltiDev);
  Visu f;
  f.Cree();
  EXPECT_TRUE(f.CalculHorsPlage);
  EXPECT_FALSE(f.FicheOuverte);
  EXPECT_EQ(f.LeCalque(odPtLever).NombreObjets(), 0);
}

TEST_F(Etendue, SeulesLesCavitesDessinees) {
  N.Surface("E", 0, 0, 0);
  N.Surface("F", 5000, 5000, 0);
  survey::TCavite* a = N.Cavite("A");
  N.Visee(a, "E", "a1", 90, 0, 30);
  survey::TCavite* b = N.Cavite("B");
  N.Visee(b, "F", "b1", 0, 0, 40);
  N.Visee(b, "b1", "b2", 90, 0, 30);
  N.Visee(b, "b2", "b3", 0, 0, 20);
  N.Regenere();
  a->Adessiner = false;
  Visu f;
  f.Cree();
  auto& v = foundation::Vue();
  // B's stations alone (40 m north of F, 30 m east, 20 m north); nothing of
  // A's extent remains.
  EXPECT_NEAR(v.Xmin, 5000, 1e-6);
  EXPECT_NEAR(v.Xmax, 5030, 1e-6);
  EXPECT_NEAR(v.Ymin, 5040, 1e-6);
  EXPECT_NEAR(v.Ymax, 5060, 1e-6);
  EXPECT_EQ(Axes(f), "F b1 b2 b3");
  EXPECT_EQ(v.LargeurRaster, 30);
  EXPECT_EQ(v.HauteurRaster, 20);
}

}  // namespace

namespace {

using drawing::TDessinAxeGal;
using survey::TPointSpeleo;
using survey::TVisee;

// The axes as the passes over the list make them, written out as they are
// described: walk the shots not drawn yet, a new axis at a gallery change or
// after a shot out of the elevation, each shot appended to the current axis;
// again while a pass drew some shots and left others.
std::vector<std::unique_ptr<TDessinAxeGal>> AxesParPasses(const std::vector<TVisee*>& visees) {
  std::vector<std::unique_ptr<TDessinAxeGal>> axes;
  for (TVisee* v : visees) {
    for (TPointSpeleo* p : {v->PointStation, v->PointVise, v->PtOrigCalc, v->PtCalc})
      if (p) p->PtGraph = nullptr;
    v->Marque = false;
  }
  bool ajout = false, reste = false;
  do {
    ajout = false;
    std::unique_ptr<TDessinAxeGal> axe;
    const survey::TGalerie* galerie = nullptr;
    const auto ferme = [&] {
      if (axe && !axe->PointsAxe.empty()) axes.push_back(std::move(axe));
      axe.reset();
    };
    for (TVisee* v : visees) {
      if (v->Marque) continue;
      const TVisee* p = v->ViseePreced();
      if (!axe || v->GalDeLaVis() != galerie || (p && !p->EstDansCoupe)) {
        ferme();
        axe = std::make_unique<TDessinAxeGal>();
        galerie = v->GalDeLaVis();
      }
      axe->AjouteTrait(v);
      if (v->Marque) ajout = true;
    }
    ferme();
    reste = std::any_of(visees.begin(), visees.end(), [](const TVisee* v) { return !v->Marque; });
  } while (ajout && reste);
  for (TVisee* v : visees) v->Marque = false;
  return axes;
}

// Each axis as its points: the station and where the point's previous point
// is (axis, position), -1 for none.
using Description = std::vector<std::vector<std::tuple<const TPointSpeleo*, int, int>>>;

Description Decrit(const std::vector<std::unique_ptr<TDessinAxeGal>>& axes) {
  std::map<const drawing::TPointAxe*, std::pair<int, int>> place;
  for (size_t a = 0; a < axes.size(); ++a)
    for (size_t i = 0; i < axes[a]->PointsAxe.size(); ++i)
      place[axes[a]->PointsAxe[i].get()] = {static_cast<int>(a), static_cast<int>(i)};
  Description d;
  for (const auto& axe : axes) {
    auto& points = d.emplace_back();
    for (const auto& p : axe->PointsAxe) {
      const auto it = place.find(p->PointRat);
      points.emplace_back(p->PointRef, it == place.end() ? -1 : it->second.first,
                          it == place.end() ? -1 : it->second.second);
    }
  }
  return d;
}

class AxesGaleries : public Cavites {};

TEST_F(AxesGaleries, CommeLesPassesQuelQueSoitLOrdre) {
  testsurvey::OptionsAleatoires o;
  o.Visees = 700;
  o.Graine = 11;
  survey::TCavite* c = testsurvey::GenereCaviteAleatoire(N, o);
  N.R().CalculeReseau();
  std::mt19937 g(5);
  std::vector<TVisee*> visees;
  for (TVisee* v : c->Visees) visees.push_back(v);
  // Some shots out of the elevation, and shots without computed end.
  for (int i = 0; i < 25; ++i) visees[g() % visees.size()]->EstDansCoupe = false;
  std::vector<std::unique_ptr<TVisee>> incompletes;
  for (int i = 0; i < 3; ++i) {
    auto v = std::make_unique<TVisee>();
    v->PtOrigCalc = visees[g() % visees.size()]->PtCalc;
    visees.insert(visees.begin() + static_cast<std::ptrdiff_t>(g() % visees.size()), v.get());
    incompletes.push_back(std::move(v));
  }
  std::vector<TVisee*> inverse(visees.rbegin(), visees.rend());
  std::vector<TVisee*> melange = visees;
  std::shuffle(melange.begin(), melange.end(), g);
  struct Ordre {
    const char* nom;
    const std::vector<TVisee*>& visees;
  };
  for (const Ordre& ordre : {Ordre{"ordre du lever", visees}, Ordre{"inverse", inverse}, Ordre{"mélangé", melange}}) {
    const auto attendus = AxesParPasses(ordre.visees);
    const Description attendu = Decrit(attendus);
    std::vector<std::unique_ptr<TDessinAxeGal>> obtenus;
    views::ConstruitAxes(ordre.visees, false, nullptr,
                         [&](std::unique_ptr<TDessinAxeGal> a) { obtenus.push_back(std::move(a)); });
    const Description obtenu = Decrit(obtenus);
    ASSERT_EQ(obtenu.size(), attendu.size()) << ordre.nom;
    for (size_t a = 0; a < attendu.size(); ++a) ASSERT_TRUE(obtenu[a] == attendu[a]) << ordre.nom << ", axe " << a;
    EXPECT_GT(attendu.size(), 25u) << ordre.nom;
    EXPECT_TRUE(std::none_of(ordre.visees.begin(), ordre.visees.end(), [](const TVisee* v) { return v->Marque; }))
        << ordre.nom;
  }
  for (TVisee* v : visees) v->EstDansCoupe = true;
}

}  // namespace

namespace {

class Objets : public Cavites {};

// A window with the splay-slope limit and the splay mode its derived windows
// would set, and the form-type code of the drawing views.
class VisuHabi : public Visu {
 public:
  VisuHabi(double angle, bool toutes) : angle_(angle), toutes_(toutes) {}
  int iTypeFiche() override {
    AffichageDefaut = views::AffichageDefautCode(views::cfVisuDessinPlan);
    return views::cfVisuDessinPlan;
  }
  void InitDessin() override {
    AngleMaxHabi = angle_;
    DessinToutesHabi = toutes_;
    Visu::InitDessin();
  }

 private:
  double angle_;
  bool toutes_;
};

TEST_F(Objets, ViseesDHabillageParPenteEtParPoint) {
  survey::TCavite* c = Petite();
  // Splays at station 1 (on 1-2) sloping 60°, 45° and 0°, one at station 3 (on 3-4).
  std::map<const survey::TViseeHabi*, std::string> noms;
  const auto habi = [&](const std::string& visee, double pente, const std::string& nom) {
    auto h = std::make_unique<survey::TViseeHabi>();
    h->Az = 0;
    h->pente = pente;
    h->Long = 3;
    noms[Visee(c, visee)->AjouteViseeHabi(std::move(h))] = nom;
  };
  habi("1-2", 60, "1/60");
  habi("1-2", 45, "1/45");
  habi("1-2", 0, "1/0");
  habi("3-4", 0, "3/0");
  N.Regenere();
  const auto dessinees = [&](views::TNoyauGraphique& f) {
    std::set<std::string> r;
    for (const auto& o : f.LeCalque(odVisHab).ObjetsDessines)
      if (const auto* d = dynamic_cast<const drawing::TDessinViseeHabi*>(o.get())) r.insert(noms.at(d->ViseeHabi));
    return r;
  };
  {
    // At 1 rad: the 60° splay is left out, the 45° one drawn.
    VisuHabi f(1.0, true);
    f.Cree();
    EXPECT_EQ(dessinees(f), (std::set<std::string>{"1/45", "1/0", "3/0"}));
    // From the station to the splay's end, in drawing units.
    for (const auto& o : f.LeCalque(odVisHab).ObjetsDessines) {
      const auto* d = dynamic_cast<const drawing::TDessinViseeHabi*>(o.get());
      const survey::TPointSpeleo* s = d->ViseeHabi->PtStation();
      EXPECT_EQ(d->UnPointDeBase(0).PointLoc(), foundation::XYVersDessin(s->X, s->Y));
      EXPECT_EQ(d->UnPointDeBase(1).PointLoc(), foundation::XYVersDessin(d->ViseeHabi->X, d->ViseeHabi->Y));
    }
    EXPECT_TRUE(f.AViseesHabi);
  }
  {
    // Only the stations of attachable shots: 1-2 gives stations 1 and 2.
    Visee(c, "1-2")->Accrochable = true;
    VisuHabi f(std::numbers::pi, false);
    f.Cree();
    EXPECT_EQ(dessinees(f), (std::set<std::string>{"1/60", "1/45", "1/0"}));
  }
}

TEST_F(Objets, AxesCoupesAuChangementDeGalerieEtHorsElevation) {
  survey::TCavite* c = Petite();
  {
    Visu f;
    f.Cree();
    EXPECT_EQ(Axes(f), "E 1 2 3 A 4 | 2 B1 B2 B3");
  }
  {
    // After a shot out of the elevation the axis starts again.
    Visee(c, "1-2")->EstDansCoupe = false;
    Visu f;
    f.Cree();
    EXPECT_EQ(Axes(f), "E 1 2 | 2 3 A 4 | 2 B1 B2 B3");
  }
}

TEST_F(Objets, ContoursAuxStylesDeLaCaviteEtGaleriesMasqueesSurCroquis) {
  survey::TCavite* c = Petite();
  for (survey::TPointSpeleo* p : c->ListePoints) p->LargeurDR = p->LargeurGA = 1;
  N.R().CalculeReseau();
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
  annexe->MotifDimCavite = std::make_unique<drawing::TObjetTrait>();
  annexe->MotifAxeCavite = std::make_unique<drawing::TObjetTrait>();
  {
    VisuHabi f(std::numbers::pi, true);
    f.Cree();
    const auto& contours = f.LeCalque(odGalerie).ObjetsDessines;
    ASSERT_FALSE(contours.empty());
    for (const auto& o : contours) EXPECT_EQ(o->ObjetMotif, annexe->MotifDimCavite.get());
    for (const auto& o : f.LeCalque(odPtLever).ObjetsDessines) EXPECT_EQ(o->ObjetMotif, annexe->MotifAxeCavite.get());
    EXPECT_TRUE(f.ObjetsAffichables[odGalerie]);
  }
  // A cave holding imported sketches: the outlines start hidden in a window
  // that never closed on it.
  views::MemoiresAffichage(c)[views::cfVisuDessinPlan] = views::TCfAffichage{};
  annexe->DessinsPkTp.Add(std::make_unique<drawing::TDessinPkTp>());
  VisuHabi f(std::numbers::pi, true);
  f.Cree();
  EXPECT_FALSE(f.ObjetsAffichables[odGalerie]);
  EXPECT_TRUE(f.EstDessinPkTp);
}

TEST_F(Objets, MarquesDeComposantsGardentLesNotes) {
  Petite();
  Visu f;
  f.Cree();
  EXPECT_EQ(f.LeCalque(odCompos).NombreObjets(), 0);
  f.AjouteObjetDessin(odCompos, std::make_unique<drawing::TPointNote>(10, 10));
  const auto compte = [&](int& notes, int& marques) {
    notes = marques = 0;
    for (const auto& o : f.LeCalque(odCompos).ObjetsDessines)
      (dynamic_cast<const drawing::TPointNote*>(o.get()) ? notes : marques)++;
  };
  int notes = 0, marques = 0;
  // The survey's paths: one mark per axis point (6 + 4), the note kept.
  f.AfficheComposChemin = true;
  f.ReGenereCompos(false);
  compte(notes, marques);
  EXPECT_EQ(notes, 1);
  EXPECT_EQ(marques, 10);
  // The survey: the outlines' points too.
  f.AfficheComposChemin = false;
  f.AfficheComposTopo = true;
  f.ReGenereCompos(false);
  int contours = 0;
  for (const auto& o : f.LeCalque(odGalerie).ObjetsDessines)
    contours += dynamic_cast<const drawing::TDessinLigne&>(*o).NombrePoints();
  ASSERT_GT(contours, 0);
  compte(notes, marques);
  EXPECT_EQ(notes, 1);
  EXPECT_EQ(marques, 10 + contours);
}

}  // namespace
