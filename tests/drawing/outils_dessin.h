#pragma once
// Small networks for the tests of the stored drawings: a surface cave and
// caves whose stations stand at given coordinates (as a computation would
// leave them) joined by shots whose computed lengths follow.  Every cave
// carries the drawing annex; the document library has its defaults.
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/liste_mtf.h"
#include "foundation/niveau_fichier.h"
#include "foundation/transformation_vue.h"
#include "survey/cavite.h"
#include "survey/contexte_reseau.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/visee.h"
#include "tests/support/garde_contextes.h"

namespace testdessin {

using namespace drawing;
using survey::TCavite;
using survey::TPointSpeleo;
using survey::TVisee;

// The whole process-wide state a drawing test touches, put back on exit.
class Contexte {
 public:
  Contexte() : bibliotheque(0) {
    InstalleAnnexeDessin();
    foundation::NiveauFichier().VersionFichierLue = 511;
    bibliotheque.InitDefaut();
    Dessin().ListesMtfReseau = &bibliotheque;
    foundation::Vue().TypeDessinCourant = foundation::TTypeDeDessin::tddPlani;
  }
  tListeMtf bibliotheque;

 private:
  testsupport::GardeContextes contextes_;
};

class Reseau {
 public:
  Reseau() {
    auto surface = std::make_unique<TCavite>();
    surface->NomCavite = "Surface";
    surface->EstSurface = true;
    surface->AjouteGalerie("Points de surface");
    surface->CavitesReseau = &Cavites;
    Cavites.Add(std::move(surface));
  }
  ~Reseau() { survey::DetruitCavites(Cavites); }
  Reseau(const Reseau&) = delete;
  Reseau& operator=(const Reseau&) = delete;

  TCavite* Cavite(const std::string& nom) {
    auto c = std::make_unique<TCavite>();
    c->NomCavite = nom;
    c->CavitesReseau = &Cavites;
    c->AjouteGalerie("G");
    return Cavites.Add(std::move(c));
  }

  TPointSpeleo* Station(TCavite* c, const std::string& nom, double x, double y, double z = 0, double slh = 0) {
    auto p = std::make_unique<TPointSpeleo>();
    p->DesignPTopo = nom;
    p->X = x;
    p->Y = y;
    p->Z = z;
    p->Slh = slh;
    p->GalduPt = c->Galeries.First();
    TPointSpeleo* s = c->Galeries.First()->Points.Add(std::move(p));
    stations_[nom] = s;
    return s;
  }

  TPointSpeleo* operator[](const std::string& nom) { return stations_.at(nom); }

  TVisee* Visee(TCavite* c, const std::string& a, const std::string& b) {
    auto v = std::make_unique<TVisee>();
    v->PointStation = stations_.at(a);
    v->PointVise = stations_.at(b);
    v->CavDeLaVis = c;
    MajLongueurs(v.get());
    TVisee* r = c->Visees.Add(std::move(v));
    c->Visees.Renumerote();
    return r;
  }

  static void MajLongueurs(TVisee* v) {
    const TPointSpeleo* s = v->PointStation;
    const TPointSpeleo* t = v->PointVise;
    v->LhCalc = std::hypot(t->X - s->X, t->Y - s->Y);
    v->LCalc = std::hypot(v->LhCalc, t->Z - s->Z);
  }

  // The state a document writer leaves and a reader builds: shots numbered
  // with their cave, the shot lists registered, the stations in the network
  // index in cave order.
  void PrepareDocument() {
    auto& lues = survey::LectureReseau().ListesViseesLues;
    lues.clear();
    auto& index = survey::ListePointsReseau();
    index.clear();
    for (int i = 0; i < Cavites.Count(); ++i) {
      TCavite* c = Cavites.UnObjet(i);
      c->Visees.Renumerote();
      for (TVisee* v : c->Visees) {
        v->IndexCavDeLaVis = i;
        v->CavDeLaVis = c;
      }
      lues.push_back(&c->Visees);
      for (TPointSpeleo* p : c->Galeries.First()->Points) {
        p->IndiceReseau = static_cast<int32_t>(index.size());
        index.push_back(p);
      }
    }
  }

  foundation::TListeFichier<TCavite> Cavites;

 private:
  std::map<std::string, TPointSpeleo*> stations_;
};

inline TAnnexeDessinCavite& Annexe(TCavite* c) { return *AnnexeDessin(c); }

// A line of the drawing with points at these positions, tied to their
// nearest shots of the list.
inline TObjetDonneesBasique* Ligne(TListeDonneesDessin& l, std::initializer_list<std::pair<double, double>> points,
                                   TObjetMotifdeBase* motif = nullptr) {
  auto e = std::make_unique<TObjetDonneesBasique>();
  e->MotifDessin = motif;
  for (const auto& [x, y] : points) e->AjoutePointDessin(false, x, y);
  TObjetDonneesBasique* r = l.AjouteDonneesDessin(std::move(e));
  r->ReferencePoints();
  return r;
}

// The network of the stored-drawing fixtures (fabrique_dessins.py): entrance
// E1 on the surface, "Grotte A" E1-1-2-3 and "Grotte B" E1-10-11, ready for
// the document; a second base of the test fixtures that read them.
struct ReseauDesFixtures {
  ReseauDesFixtures() {
    reseau.Station(reseau.Cavites.First(), "E1", 0, 0, 100);
    a = reseau.Cavite("Grotte A");
    reseau.Station(a, "1", 0, 10, 102.3, 10);
    reseau.Station(a, "2", 10, 10, 104.4, 20);
    reseau.Station(a, "3", 10, 25, 101, 25.2);
    reseau.Visee(a, "E1", "1");
    reseau.Visee(a, "1", "2");
    reseau.Visee(a, "2", "3");
    b = reseau.Cavite("Grotte B");
    reseau.Station(b, "10", -10, 0, 95);
    reseau.Station(b, "11", -20, 0, 90);
    reseau.Visee(b, "E1", "10");
    reseau.Visee(b, "10", "11");
    reseau.PrepareDocument();
  }

  Contexte contexte;
  Reseau reseau;
  TCavite* a = nullptr;
  TCavite* b = nullptr;
};

}  // namespace testdessin
