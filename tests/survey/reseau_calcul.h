#pragma once
// Networks for the computation tests: a document network (TReseau) with its
// surface cave, built shot by shot with measured values, inside guards that
// put the process-wide document, network and computation state back.
//
// Station names are looked up in the surface points first, then in the cave;
// a name not found becomes a station of the cave's current gallery.
#include <memory>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"

namespace testsurvey {

using namespace survey;

class ReseauCalcul {
 public:
  ReseauCalcul() : reseau_(std::make_unique<TReseau>()) { reseau_->CreeCaviteSurface(); }
  ~ReseauCalcul() { reseau_.reset(); }
  ReseauCalcul(const ReseauCalcul&) = delete;
  ReseauCalcul& operator=(const ReseauCalcul&) = delete;

  TReseau& R() { return *reseau_; }

  TPointSpeleo* Surface(const std::string& nom, double x = 0, double y = 0, double z = 0) {
    TListedePoints& l = *reseau_->LesPointsSurface();
    for (TPointSpeleo* p : l)
      if (p->DesignPTopo == nom) return p;
    auto p = std::make_unique<TPointSpeleo>();
    p->TypePoint = PointSurface;
    p->DesignPTopo = nom;
    p->X = x;
    p->Y = y;
    p->Z = z;
    p->GalduPt = reseau_->Cavites.First()->Galeries.First();
    return l.Add(std::move(p));
  }

  TCavite* Cavite(const std::string& nom) {
    auto c = std::make_unique<TCavite>();
    c->NomCavite = nom;
    TCavite* r = reseau_->AjouteCavite(std::move(c));
    r->AjouteGalerie("Galerie d'entrée");
    reseau_->LaCaviteActive = r;
    return r;
  }

  TLever* Lever(TCavite* c) {
    auto l = std::make_unique<TLever>();
    l->UniteDeclin = UniteDeclinAucune;
    return c->Levers.Add(std::move(l));
  }

  TPointSpeleo* Point(TCavite* c, const std::string& nom) {
    for (TPointSpeleo* p : *reseau_->LesPointsSurface())
      if (p->DesignPTopo == nom) return p;
    auto& connus = stations_[c];
    if (const auto it = connus.find(nom); it != connus.end()) return it->second;
    auto p = std::make_unique<TPointSpeleo>();
    p->DesignPTopo = nom;
    TGalerie* g = c->LaGalerieActive ? c->LaGalerieActive : c->Galeries.Last();
    p->GalduPt = g;
    return connus[nom] = g->Points.Add(std::move(p));
  }

  // A shot of type 0 (azimuth, slope, length) on the trip given (default trip
  // when none).
  TVisee* Visee(TCavite* c, const std::string& de, const std::string& a, double az, double pente, double longueur,
                TLever* l = nullptr) {
    auto v = std::make_unique<TVisee>();
    v->PointStation = Point(c, de);
    v->PointVise = Point(c, a);
    v->Az = az;
    v->pente = pente;
    v->Long = longueur;
    v->LeLever = l ? l : LeverParDefaut();
    v->indLever = l ? c->Levers.IndexOf(l) : -1;
    return c->Visees.Add(std::move(v));
  }

  void Regenere() {
    for (TCavite* c : reseau_->Cavites) c->ReGenereListePoints(false);
  }

  static std::string Noms(const TListedePoints& l) {
    std::string s;
    for (const TPointSpeleo* p : l) s += (s.empty() ? "" : " ") + p->DesignPTopo;
    return s;
  }

  TPointSpeleo* Station(const TCavite* c, const std::string& nom) const {
    for (const TGalerie* g : c->Galeries)
      for (TPointSpeleo* p : g->Points)
        if (p->DesignPTopo == nom) return p;
    for (TPointSpeleo* p : *reseau_->LesPointsSurface())
      if (p->DesignPTopo == nom) return p;
    return nullptr;
  }

 private:
  GardeDocument document_;
  GardeContexteReseau contexteReseau_;
  GardeContexteCalcul contexteCalcul_;
  std::unique_ptr<TReseau> reseau_;
  // The stations created here, by cave and name (the model may free some).
  std::unordered_map<const TCavite*, std::unordered_map<std::string, TPointSpeleo*>> stations_;
};

}  // namespace testsurvey
