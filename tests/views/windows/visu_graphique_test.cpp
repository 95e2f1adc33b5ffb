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
#include "drawing/contexte_motifs.h"
#include "drawing/elements_dessin.h"
#include "drawing/liste_donnees_dessin.h"
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
using drawing::GardeValeur;

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

namespace {

class Clics : public Cavites {
 protected:
  // A left click at a ground position.
  static void Clique(Visu& f, double x, double y, T touches = {}, B bouton = B::Gauche) {
    foundation::TPointTopo p;
    p.X = p.SlH = x;
    p.Y = p.Z = y;
    const foundation::TPoint e = foundation::PtTopoVersEcran(p);
    f.BaseDessinMouseDown(bouton, touches, e.X, e.Y);
    f.BaseDessinClick();
  }

  // The partial developed elevation of E-1, 1-2, 2-3, made the cave's elevation.
  drawing::TDonneesCoupeLong* ElevationPartielle(survey::TCavite* c) {
    drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
    drawing::TDonneesCoupeLong* coupe =
        annexe->LesCoupesLong.AjouteDonneeCoupe(TTypeDeDessin::tddAltiDev, {}, true, "Partielle");
    for (const char* v : {"E-1", "1-2", "2-3"}) coupe->AjouteViseeCoupe(Visee(c, v));
    coupe->MajListeViseesDeRef();
    annexe->LeDessinAlti = coupe;
    return coupe;
  }
};

TEST_F(Clics, PointChercheADeuxMetresPuisRayonRendu) {
  Petite();
  Visu f;
  f.AfficherPointEnable = true;
  f.Cree();
  f.FixeRayonAccroche(0.5);
  // 1.5 m from station 4: its information, and the radius is 0.5 m again.
  Clique(f, 41.5, 0);
  ASSERT_EQ(f.Infos.size(), 1u);
  EXPECT_EQ(f.Infos[0]->DesignPTopo, "4");
  EXPECT_DOUBLE_EQ(f.RayonAccroche(), 0.5);
  EXPECT_EQ(f.Enregistrements, 0);
  // 7 m from every station in plan: the point is recorded.
  Clique(f, 25, 5);
  EXPECT_EQ(f.Infos.size(), 1u);
  EXPECT_EQ(f.Enregistrements, 1);
  // Ctrl held: nothing.
  Clique(f, 40, 0, T{.Ctrl = true});
  EXPECT_EQ(f.Infos.size(), 1u);
  EXPECT_EQ(f.Enregistrements, 1);
  // Without AfficherPointEnable: nothing either.
  f.AfficherPointEnable = false;
  Clique(f, 40, 0);
  EXPECT_EQ(f.Infos.size(), 1u);
  EXPECT_EQ(f.Enregistrements, 1);
}

TEST_F(Clics, PointsDeSurfaceDAbordEtLePremierAEgaliteGarde) {
  survey::TCavite* c = Petite();
  // A surface point on station 4.
  N.Surface("S", 40, 0, 0);
  Visu f;
  f.Cree();
  f.FixeRayonAccroche(3);
  const auto cherche = [&](double x, double y) {
    foundation::TPointTopo p;
    p.X = x;
    p.Y = y;
    const survey::TPointSpeleo* s = f.CherchePointProche(p);
    return s ? s->DesignPTopo : std::string("aucun");
  };
  EXPECT_EQ(cherche(40, 0), "S");
  // Halfway between 3 and A: the one the cave lists first.
  const std::string premier = c->ListePoints.IndexOf(N.Station(c, "3")) < c->ListePoints.IndexOf(N.Station(c, "A")) ? "3" : "A";
  EXPECT_EQ(cherche(30, -2.5), premier);
  EXPECT_EQ(cherche(30, -2.4), "3");
  EXPECT_EQ(cherche(60, 0), "aucun");
}

TEST_F(Clics, EnElevationUnPointHorsDeLElevationNOuvreRien) {
  survey::TCavite* c = Petite();
  ElevationPartielle(c);
  foundation::GardeTypeDessin alti(TTypeDeDessin::tddAltiDev);
  Visu f;
  f.AfficherPointEnable = true;
  f.Cree();
  const survey::TPointSpeleo* quatre = N.Station(c, "4");
  const survey::TPointSpeleo* deux = N.Station(c, "2");
  ASSERT_FALSE(quatre->PointsDansCoupe);
  ASSERT_TRUE(deux->PointsDansCoupe);
  {
    GardeValeur<double> rayon(f.sensibilita, 2.0);
    ASSERT_EQ(f.CherchePointProche(quatre->PtTopo()), quatre);
  }
  Clique(f, quatre->Slh, quatre->Z);
  EXPECT_TRUE(f.Infos.empty());
  EXPECT_EQ(f.Enregistrements, 0);
  Clique(f, deux->Slh, deux->Z);
  ASSERT_EQ(f.Infos.size(), 1u);
  EXPECT_EQ(f.Infos[0], deux);
}

}  // namespace

namespace {

class Selection : public Clics {
 protected:
  // The selection lines of odPtLever by their stations: "1 2 3 | 3 A".
  std::string Lignes(Visu& f, survey::TCavite* c) {
    std::map<std::pair<int32_t, int32_t>, std::string> noms;
    const auto nomme = [&](const survey::TPointSpeleo* p) {
      const foundation::TPoint d = foundation::XYVersDessin(p->X, p->Y);
      noms[{d.X, d.Y}] = p->DesignPTopo;
    };
    for (const survey::TPointSpeleo* p : c->ListePoints) nomme(p);
    for (const survey::TPointSpeleo* p : *N.R().LesPointsSurface()) nomme(p);
    std::string s;
    for (const auto& o : f.LeCalque(odPtLever).ObjetsDessines) {
      const auto* l = dynamic_cast<const drawing::TDessinLignePlani*>(o.get());
      if (!l) continue;
      if (!s.empty()) s += " | ";
      for (int i = 0; i < l->NombrePoints(); ++i)
        s += (i ? " " : "") + noms[{l->UnPointDeBase(i).XLoc, l->UnPointDeBase(i).YLoc}];
    }
    return s;
  }
};

TEST_F(Selection, SequencesDeClicsSurLesVisees) {
  survey::TCavite* c = Petite();
  // The middle of each shot.
  const std::map<std::string, std::pair<double, double>> milieux = {
      {"E-1", {5, 0}},   {"1-2", {15, 0}},   {"2-3", {25, 0}},    {"3-4", {35, 0}},
      {"3-A", {30, -2.5}}, {"2-B1", {20, 5}}, {"B1-B2", {20, 15}}, {"B2-B3", {20, 25}}};
  struct Clic {
    const char* visee;
    T touches;
    B bouton = B::Gauche;
  };
  const T rien{}, ctrl{.Ctrl = true}, maj{.Maj = true};
  struct Cas {
    const char* nom;
    std::vector<Clic> clics;
    const char* marquees;
    bool uneSelectee;
    const char* lignes;
  };
  const Cas cas[] = {
      {"clic simple", {{"2-3", rien}, {"1-2", rien}}, "1-2", true, "1 2"},
      {"ctrl ajoute", {{"1-2", rien}, {"2-3", ctrl}}, "1-2 2-3", true, "1 2 3"},
      {"ctrl retire", {{"1-2", rien}, {"2-3", ctrl}, {"1-2", ctrl}}, "2-3", true, "2 3"},
      {"ctrl retire tout", {{"1-2", rien}, {"1-2", ctrl}}, "", false, ""},
      {"ctrl sans sélection", {{"2-3", ctrl}}, "2-3", true, "2 3"},
      {"maj en aval", {{"1-2", rien}, {"3-4", maj}}, "1-2 2-3 3-4", true, "1 2 3 4"},
      {"maj en amont", {{"2-3", rien}, {"E-1", maj}}, "E-1 1-2 2-3", true, "E 1 2 3"},
      {"maj jusqu'au point annexe", {{"1-2", rien}, {"3-A", maj}}, "1-2 2-3 3-A", true, "1 2 3 | 3 A"},
      {"maj dans l'autre galerie", {{"1-2", rien}, {"B2-B3", maj}}, "1-2 2-B1 B1-B2 B2-B3", true,
       "1 2 | 2 B1 B2 B3"},
      {"chaîne rompue", {{"E-1", rien}, {"2-3", ctrl}}, "E-1 2-3", true, "E 1 | 2 3"},
      {"ctrl droit désélectionne la suite",
       {{"1-2", rien}, {"B2-B3", maj}, {"B1-B2", ctrl, B::Droit}},
       "1-2 2-B1", true, "1 2 | 2 B1"},
      {"ctrl droit sur tout", {{"E-1", rien}, {"E-1", ctrl, B::Droit}}, "", false, ""},
      {"droit seul ne fait rien", {{"1-2", rien}, {"2-3", rien, B::Droit}}, "1-2", true, "1 2"},
  };
  Visu f;
  f.Cree();
  for (const Cas& k : cas) {
    f.DeSelectToutesVisees(false);
    for (const Clic& clic : k.clics) {
      const auto [x, y] = milieux.at(clic.visee);
      foundation::TPointTopo p;
      p.X = x;
      p.Y = y;
      const foundation::TPoint e = foundation::PtTopoVersEcran(p);
      f.BaseDessinMouseDown(clic.bouton, clic.touches, e.X, e.Y);
      f.MultiSelectVisees(clic.bouton, clic.touches);
      f.BtnDroitBaisse = false;
    }
    EXPECT_EQ(Marquees(c), k.marquees) << k.nom;
    EXPECT_EQ(f.UneVSelectee, k.uneSelectee) << k.nom;
    EXPECT_EQ(Lignes(f, c), k.lignes) << k.nom;
  }
}

TEST_F(Selection, ToutPuisRienEtListeDeLaCaviteTrouvee) {
  survey::TCavite* c = Petite();
  Visu f;
  f.Cree();
  EXPECT_EQ(f.ListeDeViseesRecherche, &c->Visees);
  f.SelectToutesVisees();
  EXPECT_EQ(Marquees(c), "E-1 1-2 2-3 3-A 3-4 2-B1 B1-B2 B2-B3");
  EXPECT_TRUE(f.UneVSelectee);
  EXPECT_EQ(Lignes(f, c), "E 1 2 3 | 3 A | 3 4 | 2 B1 B2 B3");
  EXPECT_TRUE(f.ObjetsAffichables[odPtLever]);
  f.DeSelectToutesVisees(true);
  EXPECT_EQ(Marquees(c), "");
  EXPECT_FALSE(f.UneVSelectee);
  EXPECT_EQ(Lignes(f, c), "");
}

class Cadre : public Cavites {};

TEST_F(Cadre, MemesObjetsQuelQueSoitLePremierCoin) {
  Petite();
  Visu f;
  f.Cree();
  f.SetAffichable(views::EnsembleTypes({odDessin, odTexte}));
  // Two lines inside the ground frame (20, 0)-(40, 20) (one of them partly),
  // one outside.
  const auto d = [](double x, double y) { return foundation::XYVersDessin(x, y); };
  auto* dedans1 = Ligne(f, odDessin, 0x000000, {d(22, 2), d(28, 8)});
  auto* dedans2 = Ligne(f, odDessin, 0x000000, {d(35, 15), d(60, 15)});
  auto* dehors = Ligne(f, odDessin, 0x000000, {d(0, 30), d(10, 40)});
  f.RedessineVisu();
  const foundation::TPoint a = d(20, 0), b = d(40, 20);
  const foundation::TPoint coins[][2] = {{a, b}, {b, a}, {{a.X, b.Y}, {b.X, a.Y}}};
  for (const auto& paire : coins) {
    f.DeSelectDessin();
    EXPECT_FALSE(dedans1->Selecte);
    f.DerPointClique = paire[0];
    f.CreeCadreSelect(true);
    EXPECT_TRUE(f.DebutCadre);
    f.DerPointClique = paire[1];
    f.CreeCadreSelect(true);
    EXPECT_FALSE(f.DebutCadre);
    std::set<drawing::TObjetDessin*> choisis(f.ListeObjetsSelectes.begin(), f.ListeObjetsSelectes.end());
    EXPECT_EQ(choisis, (std::set<drawing::TObjetDessin*>{dedans1, dedans2}));
    EXPECT_TRUE(dedans1->Selecte && dedans2->Selecte && !dehors->Selecte);
    EXPECT_TRUE(f.PlusieursSelectes());
  }
  // Ctrl held: no frame.
  f.DeSelectDessin();
  f.CtrlPresse = true;
  f.CreeCadreSelect(true);
  EXPECT_FALSE(f.DebutCadre);
}

class Regeneration : public Cavites {};

TEST_F(Regeneration, LaVueResteSurLeMemeTerrain) {
  survey::TCavite* c = Petite();
  Visu f;
  f.Cree();
  f.ZoomeValeur(0.5);
  auto& v = foundation::Vue();
  const auto terrain = [&] { return std::pair{v.Xmin + v.XDebVue, v.Ymin + v.YDebVue}; };
  const auto avant = terrain();
  const double largeur = v.LargeurVue;
  f.ReGenereDessin();
  EXPECT_NEAR(terrain().first, avant.first, 1e-9);
  EXPECT_NEAR(terrain().second, avant.second, 1e-9);
  EXPECT_NEAR(v.LargeurVue, largeur, 1e-9);
  EXPECT_EQ(Axes(f), "E 1 2 3 A 4 | 2 B1 B2 B3");
  // A shot that moves the drawing origin west and south; the network is
  // computed again first, as an editor does.
  N.Visee(c, "B3", "W", 225, 0, 60);
  N.Regenere();
  N.R().CalculeReseau();
  f.ReGenereDessin();
  EXPECT_LT(v.Xmin, -10);
  EXPECT_NEAR(terrain().first, avant.first, 1e-9);
  EXPECT_NEAR(terrain().second, avant.second, 1e-9);
  EXPECT_NEAR(v.LargeurVue, largeur, 1e-9);
}

class Elevation : public Clics {};

TEST_F(Elevation, ViseesDeReferenceEtEntrees) {
  survey::TCavite* c = Petite();
  ElevationPartielle(c);
  foundation::GardeTypeDessin alti(TTypeDeDessin::tddAltiDev);
  {
    Visu f;
    f.Cree();
    ASSERT_EQ(f.LesViseesActives.Count(), 3);
    EXPECT_EQ(f.LesViseesActives.LaVisee(2), Visee(c, "2-3"));
    EXPECT_EQ(Axes(f), "E 1 2 3");
    EXPECT_EQ(f.LeCalque(odPtSurf).NombreObjets(), 1);
    EXPECT_FALSE(f.BoxCavitesVisible);
    // The axis points in (SlH, Z).
    for (const auto& o : f.LeCalque(odPtLever).ObjetsDessines)
      for (const auto& p : dynamic_cast<const drawing::TDessinAxeGal&>(*o).PointsAxe)
        EXPECT_EQ(p->PointLoc(), foundation::XYVersDessin(p->PointRef->Slh, p->PointRef->ZCalc));
  }
  // Building an elevation block: no entrance.
  class Bloc : public Visu {
   public:
    void InitDessin() override {
      CreeCoupeVert = true;
      Visu::InitDessin();
    }
  } bloc;
  bloc.Cree();
  EXPECT_EQ(bloc.LeCalque(odPtSurf).NombreObjets(), 0);
  EXPECT_EQ(Axes(bloc), "E 1 2 3");
}

}  // namespace

namespace {

class Recherche : public Cavites {};

// The searches skip what cannot be nearer; they find what a scan of every
// station and every shot finds, at random points over a generated cave.
TEST_F(Recherche, CommeUnParcoursDeTout) {
  survey::TCavite* c = testsurvey::GenereCaviteAleatoire(N, {.Visees = 600, .Graine = 4, .Variete = false});
  Visu f;
  f.Cree();
  const auto& v = foundation::Vue();
  std::mt19937 g(2);
  std::uniform_real_distribution<double> x(v.Xmin, v.Xmax), y(v.Ymin, v.Ymax);
  int trouvees = 0;
  for (double rayon : {0.5, 3.0}) {
    f.FixeRayonAccroche(rayon);
    for (int i = 0; i < 300; ++i) {
      foundation::TPointTopo p;
      p.X = x(g);
      p.Y = y(g);
      f.DerPointClique = foundation::PtTopoVersDessin(p);
      foundation::DessinVersPtTopo(f.DerPointClique, p);
      double d = -1;
      EXPECT_EQ(f.ChercheViseeProche(), c->Visees.ChercheViseeProche(p, d, rayon)) << i;
      survey::TPointSpeleo* attendu = nullptr;
      double meilleure = -1;
      for (survey::TPointSpeleo* s : *N.R().LesPointsSurface())
        if (const double e = s->DistPoint(p); meilleure < 0 || e < meilleure) meilleure = e, attendu = e < rayon ? s : attendu;
      for (survey::TPointSpeleo* s : c->ListePoints)
        if (const double e = s->DistPoint(p); meilleure < 0 || e < meilleure) meilleure = e, attendu = e < rayon ? s : attendu;
      EXPECT_EQ(f.CherchePointProche(p), attendu) << i;
      trouvees += attendu != nullptr;
    }
  }
  EXPECT_GT(trouvees, 20);
}

}  // namespace

namespace {

class Robustesse : public Selection {};

// A damaged chain of previous shots (1-2 and 2-3 each other's previous shot):
// the Shift walks stop after as many steps as there are shots.
TEST_F(Robustesse, MajSurUneChaineEnBoucleSeTermine) {
  survey::TCavite* c = Petite();
  Visu f;
  f.Cree();
  N.Station(c, "1")->ViseeAvant = Visee(c, "2-3");
  const auto clique = [&](double x, double y, T t) {
    foundation::TPointTopo p;
    p.X = x;
    p.Y = y;
    const foundation::TPoint e = foundation::PtTopoVersEcran(p);
    f.BaseDessinMouseDown(B::Gauche, t, e.X, e.Y);
    f.MultiSelectVisees(B::Gauche, t);
  };
  clique(35, 0, {});
  clique(20, 15, T{.Maj = true});
  clique(5, 0, T{.Maj = true});
  EXPECT_TRUE(f.UneVSelectee);
  EXPECT_NE(Marquees(c).find("3-4"), std::string::npos);
}

class Textes : public Cavites {};

// The texts again from the plan drawing: one placed on the survey, one that
// cannot place two points, which leaves the drawing.
TEST_F(Textes, ReGenereTextesOteCeuxQuiNeSePlacentPas) {
  survey::TCavite* c = Petite();
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
  drawing::TListeDonneesDessin& l = annexe->LeDessinPlani->ListeDonneesDessin;
  annexe->LeDessinPlani->DefViseesDeRef(&c->Visees);
  const auto texte = [&](const std::string& s, std::initializer_list<std::pair<double, double>> points) {
    auto t = std::make_unique<drawing::TObjetTexte>();
    t->MotifDessin = &drawing::Motifs().FonteSurface;
    t->UnTexte = s;
    t->Horiz = false;
    for (const auto& [x, y] : points) t->AjoutePointDessin(false, x, y);
    auto* r = static_cast<drawing::TObjetTexte*>(l.AjouteDonneesDessin(std::move(t)));
    r->ReferencePoints();
    return r;
  };
  texte("Salle", {{16, 2}, {12, 2}});
  Visu f;
  f.Cree();
  ASSERT_EQ(f.LeCalque(odTexte).NombreObjets(), 1);
  // Texts written since: one placed, one with a single point.
  texte("Seul", {{26, 2}});
  texte("Galerie", {{21, 18}, {21, 12}});
  f.ReGenereTextes();
  ASSERT_EQ(l.LesTextes.Count(), 2);
  EXPECT_EQ(l.LesTextes.UnObjet(0)->UnTexte, "Salle");
  EXPECT_EQ(l.LesTextes.UnObjet(1)->UnTexte, "Galerie");
  ASSERT_EQ(f.LeCalque(odTexte).NombreObjets(), 2);
  EXPECT_EQ(f.LeCalque(odTexte).UnObjetDessin(0)->ElementMontre(), l.LesTextes.UnObjet(0));
  EXPECT_EQ(f.LeCalque(odTexte).UnObjetDessin(1)->ElementMontre(), l.LesTextes.UnObjet(1));
}

}  // namespace
