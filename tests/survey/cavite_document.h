#pragma once
// Caves described in a few words (the language of reseau_test.h: "G name: 1 2
// 3", "E1 - 1", "3 = 2") built inside a network document, whose surface
// gallery receives the names beginning with 'E'.
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "survey/cavite.h"
#include "survey/reseau.h"

namespace testsurvey {

class CavitesDocument {
 public:
  explicit CavitesDocument(survey::TReseau& r) : r_(r) { r_.CreeCaviteSurface(); }

  survey::TCavite* Cavite(const std::string& nom, const std::string& description, bool regenere = true) {
    auto nouvelle = std::make_unique<survey::TCavite>();
    nouvelle->NomCavite = nom;
    survey::TCavite* c = r_.AjouteCavite(std::move(nouvelle));
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
        survey::TGalerie* g = c->AjouteGalerie(nomGal.substr(nomGal.find_first_not_of(' ')));
        std::string st;
        while (mots >> st) Station(c, g, st);
        continue;
      }
      mots >> op >> b;
      auto v = std::make_unique<survey::TVisee>();
      v->PointStation = Point(c, a);
      v->PointVise = Point(c, b);
      v->TypeRattachement = op == "=" ? 1 : 0;
      v->Long = 5;
      v->LeLever = survey::LeverParDefaut();
      c->Visees.Add(std::move(v));
    }
    if (regenere) c->ReGenereListePoints(false);
    return c;
  }

  survey::TPointSpeleo* Point(survey::TCavite* c, const std::string& nom) {
    if (!nom.empty() && nom[0] == 'E') {
      survey::TGalerie* surface = r_.UneCavite(0)->UneGalerie(0);
      auto& connus = stations_[r_.UneCavite(0)];
      if (!connus.count(nom)) {
        survey::TPointSpeleo* p = Station(r_.UneCavite(0), surface, nom);
        p->TypePoint = survey::PointSurface;
      }
      return connus[nom];
    }
    return stations_[c].at(nom);
  }

 private:
  survey::TPointSpeleo* Station(survey::TCavite* c, survey::TGalerie* g, const std::string& nom) {
    auto p = std::make_unique<survey::TPointSpeleo>();
    p->DesignPTopo = nom;
    p->GalduPt = g;
    return stations_[c][nom] = g->Points.Add(std::move(p));
  }

  survey::TReseau& r_;
  std::map<const survey::TCavite*, std::map<std::string, survey::TPointSpeleo*>> stations_;
};

}  // namespace testsurvey
