#pragma once
// What the cave-window tests share: the document wiring installed inside the
// window tests' guards, a network built shot by shot (the survey tests'
// builder), a small cave of two galleries with a side station, the cave
// window's model with a paint box and the two dialogs it would open
// recorded, and the axes of a layer described by their stations.
#include <memory>
#include <string>
#include <vector>

#include "document/composition.h"
#include "drawing/annexe_cavite.h"
#include "drawing/dessin_axe_gal.h"
#include "survey/cavite.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"
#include "tests/survey/reseau_calcul.h"
#include "tests/views/windows/outils_fenetres.h"
#include "views/contexte_views.h"
#include "views/noyau_visu_graphique.h"

namespace essaifenetres {

// The document wiring, installed inside the window tests' guards.
class Document : public Fenetres {
 protected:
  Document() { document::InstalleDocument(); }
};

// The model of the cave window with a paint box; the station information and
// the recording of a point are logged instead of opening their dialogs.
class Visu : public virtual views::TNoyauVisuGraphique {
 public:
  explicit Visu(int32_t w = 800, int32_t h = 600) { FixeTailleBoite(w, h); }
  void VisuInfoPoint(survey::TPointSpeleo& s) override { Infos.push_back(&s); }
  void VisuEnregistrerPoint() override { ++Enregistrements; }
  std::vector<survey::TPointSpeleo*> Infos;
  int Enregistrements = 0;
};

// The survey tests' builder, inside the document wiring.
class Cavites : public Document {
 protected:
  testsurvey::ReseauCalcul N;

  // The cave "Petite": gallery "Galerie d'entrée" E 1 2 3 4 due east (10 m
  // shots, E the surface point at (0, 0, 0)), the side station A 5 m south of
  // 3; gallery "Branche" 2 B1 B2 B3 due north.  Computed.
  survey::TCavite* Petite() {
    N.Surface("E", 0, 0, 0);
    survey::TCavite* c = N.Cavite("Petite");
    N.Visee(c, "E", "1", 90, 0, 10);
    N.Visee(c, "1", "2", 90, 0, 10);
    N.Visee(c, "2", "3", 90, 0, 10);
    N.Visee(c, "3", "4", 90, 0, 10);
    N.Visee(c, "3", "A", 180, 0, 5);
    N.Point(c, "A")->Annexe = 1;
    c->AjouteGalerie("Branche");
    N.Visee(c, "2", "B1", 0, 0, 10);
    N.Visee(c, "B1", "B2", 0, 0, 10);
    N.Visee(c, "B2", "B3", 0, 0, 10);
    N.Regenere();
    N.R().CalculeReseau();
    return c;
  }

  static std::string Nom(const survey::TVisee* v) {
    return v->PtOrigCalc->DesignPTopo + "-" + v->PtCalc->DesignPTopo;
  }
  survey::TVisee* Visee(survey::TCavite* c, const std::string& nom) {
    for (survey::TVisee* v : c->Visees)
      if (v->PtOrigCalc && v->PtCalc && Nom(v) == nom) return v;
    ADD_FAILURE() << "pas de visée " << nom;
    return nullptr;
  }
  // The marked shots in list order, "1-2 2-3".
  static std::string Marquees(const survey::TCavite* c) {
    std::string s;
    for (const survey::TVisee* v : c->Visees)
      if (v->Marque) s += (s.empty() ? "" : " ") + Nom(v);
    return s;
  }
};

// The axes of a layer, each as its stations' names: "E 1 2 | 2 B1".
inline std::string Axes(views::TNoyauGraphique& f) {
  std::string s;
  for (const auto& o : f.LeCalque(odPtLever).ObjetsDessines) {
    const auto* a = dynamic_cast<const drawing::TDessinAxeGal*>(o.get());
    if (!a) continue;
    if (!s.empty()) s += " | ";
    for (size_t i = 0; i < a->PointsAxe.size(); ++i) s += (i ? " " : "") + a->PointsAxe[i]->PointRef->DesignPTopo;
  }
  return s;
}

}  // namespace essaifenetres
