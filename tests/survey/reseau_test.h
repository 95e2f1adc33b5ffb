#pragma once
// Small networks for the tests of the cave model: a surface cave whose gallery
// holds the surface points, and caves described in a few words.
//
// A cave is described line by line:
//   "G Principale: 10 11 12+ 13"   a gallery and its stations ('+': side station)
//   "E1 - 10"                      a shot from station E1 to station 10
//   "13 = 11"                      an attachment shot
// Names that begin with 'E' are surface points (created on first use), and so
// are names written after '@' ("@10" is the surface point 10).
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/niveau_fichier.h"
#include "survey/cavite.h"
#include "survey/listes_document.h"

namespace testsurvey {

using namespace survey;

class ReseauTest {
 public:
  ReseauTest() {
    auto surface = std::make_unique<TCavite>();
    surface->NomCavite = "Surface";
    surface->EstSurface = true;
    surface->AjouteGalerie("Points de surface");
    surface->CavitesReseau = &Cavites;
    Surface = Cavites.Add(std::move(surface));
  }

  ~ReseauTest() { DetruitCavites(Cavites); }
  ReseauTest(const ReseauTest&) = delete;
  ReseauTest& operator=(const ReseauTest&) = delete;

  TPointSpeleo* PointSurface(const std::string& nom, double x = 0, double y = 0, double z = 0) {
    auto& liste = Surface->Galeries.First()->Points;
    for (TPointSpeleo* p : liste)
      if (p->DesignPTopo == nom) return p;
    auto p = std::make_unique<TPointSpeleo>();
    p->TypePoint = survey::PointSurface;
    p->DesignPTopo = nom;
    p->X = x;
    p->Y = y;
    p->Z = z;
    p->GalduPt = Surface->Galeries.First();
    return liste.Add(std::move(p));
  }

  TCavite* NouvelleCavite(const std::string& nom) {
    auto c = std::make_unique<TCavite>();
    c->NomCavite = nom;
    c->CavitesReseau = &Cavites;
    return Cavites.Add(std::move(c));
  }

  // Builds a cave from its description; the stations are found by name.
  TCavite* Cavite(const std::string& nom, const std::string& description) {
    TCavite* c = NouvelleCavite(nom);
    std::istringstream lignes(description);
    std::string ligne;
    while (std::getline(lignes, ligne)) {
      std::istringstream mots(ligne);
      std::string a, op, b;
      mots >> a;
      if (a.empty()) continue;
      if (a == "G") {
        std::string nomGal;
        std::getline(mots, nomGal, ':');
        TGalerie* g = c->AjouteGalerie(nomGal.substr(nomGal.find_first_not_of(' ')));
        std::string st;
        while (mots >> st) {
          auto p = std::make_unique<TPointSpeleo>();
          if (st.back() == '+') {
            st.pop_back();
            p->Annexe = 1;
          }
          p->DesignPTopo = st;
          p->GalduPt = g;
          stations_[c][st] = g->Points.Add(std::move(p));
        }
        continue;
      }
      mots >> op >> b;
      auto v = std::make_unique<TVisee>();
      v->PointStation = Point(c, a);
      v->PointVise = Point(c, b);
      v->TypeRattachement = op == "=" ? 1 : 0;
      v->Long = 5;
      c->Visees.Add(std::move(v));
    }
    return c;
  }

  TPointSpeleo* Point(TCavite* c, const std::string& nom) {
    if (!nom.empty() && nom[0] == '@') return PointSurface(nom.substr(1));
    if (!nom.empty() && nom[0] == 'E') return PointSurface(nom);
    return stations_[c].at(nom);
  }

  // The shots of a cave in list order, "origin>end" by computed ends.
  static std::string Ordre(const TCavite& c) {
    std::string s;
    for (const TVisee* v : c.Visees) {
      if (!s.empty()) s += ' ';
      s += (v->PtOrigCalc ? v->PtOrigCalc->DesignPTopo : "?") + ">" + (v->PtCalc ? v->PtCalc->DesignPTopo : "?");
    }
    return s;
  }
  static std::string Noms(const TListedePoints& l) {
    std::string s;
    for (const TPointSpeleo* p : l) s += (s.empty() ? "" : " ") + p->DesignPTopo;
    return s;
  }
  static TVisee* ViseeEntre(const TCavite& c, const std::string& a, const std::string& b) {
    for (TVisee* v : c.Visees)
      if (v->PointStation && v->PointVise && v->PointStation->DesignPTopo == a && v->PointVise->DesignPTopo == b)
        return v;
    return nullptr;
  }
  static TPointSpeleo* PointNomme(const TCavite& c, const std::string& nom) {
    for (const TGalerie* g : c.Galeries)
      for (TPointSpeleo* p : g->Points)
        if (p->DesignPTopo == nom) return p;
    return nullptr;
  }

  foundation::TListeFichier<TCavite> Cavites;
  TCavite* Surface = nullptr;

 private:
  std::map<TCavite*, std::map<std::string, TPointSpeleo*>> stations_;
};

}  // namespace testsurvey
