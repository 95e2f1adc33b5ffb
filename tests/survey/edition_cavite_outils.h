#pragma once
// Tools for the tests of the cave edits: a document network with the
// subsystems plugged in and scripted windows, the consistency check run
// after every edit, and the document's bytes.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <unordered_set>

#include "drawing/annexe_cavite.h"
#include "foundation/flux.h"
#include "survey/compens.h"
#include "survey/lever.h"
#include "tests/survey/environnement_document.h"
#include "tests/survey/reseau_calcul.h"

namespace testsurvey {

// A new station for the shot-entry dialog to put at a shot's end: in no
// gallery, the cave takes it over.
inline TPointSpeleo* StationNeuve(const std::string& nom) {
  auto* p = new TPointSpeleo();
  p->DesignPTopo = nom;
  return p;
}

struct EditionEssai {
  // The caves created from now on carry their drawings.
  EditionEssai() { drawing::InstalleAnnexeDessin(); }
  EnvironnementDocument env;
  ReseauCalcul n;
  platform::ScriptedDialogs& dialogues = env.Dialogues;

  // The shot-entry dialog answers by running the given routine on the
  // request; none installed means the window is not there.
  void SaisieVisee(std::function<bool(TDemandeSaisieVisee&)> f) { Ports().DialogueSaisieVisee = std::move(f); }
  // A dialog that fills the shot with these readings and a new station.
  void SaisieNouvelleStation(const std::string& nom, double az, double pente, double longueur) {
    SaisieVisee([=](TDemandeSaisieVisee& d) {
      d.Visee->Az = az;
      d.Visee->pente = pente;
      d.Visee->Long = longueur;
      d.Visee->PointVise = StationNeuve(nom);
      return true;
    });
  }
  void ChoixRattachement(std::function<TPointSpeleo*(const TDemandeRattachement&)> f) {
    Ports().ChoisitPointRattachement = std::move(f);
  }

  std::string Octets() {
    foundation::TFluxMemoire flux;
    EXPECT_TRUE(n.R().Ecrit(flux));
    return flux.Octets();
  }
};

// Every shot's stations lie in the cave's galleries (or are surface points),
// the galleries' stations are the cave's point list, and no adjustment, loop
// partner, trip statistic, splay or cave reference holds a station that is
// no longer in the model; nothing stays flagged or virtual.
inline void VerifieCoherence(TReseau& r, const std::string& contexte) {
  std::unordered_set<const TPointSpeleo*> vivants;
  for (const TCavite* c : r.Cavites)
    for (const TGalerie* g : c->Galeries)
      for (const TPointSpeleo* p : g->Points) vivants.insert(p);
  auto vivant = [&](const TPointSpeleo* p) { return !p || vivants.count(p); };
  for (TCavite* c : r.Cavites) {
    if (c->EstSurface) continue;
    const std::string ici = contexte + " [" + c->NomCavite + "]";
    std::unordered_set<const TPointSpeleo*> stations;
    for (const TGalerie* g : c->Galeries) {
      EXPECT_EQ(g->CaviteRef, c) << ici;
      EXPECT_FALSE(g->Points.Vide()) << ici << " empty gallery " << g->NomGalerie;
      for (const TPointSpeleo* p : g->Points) {
        stations.insert(p);
        EXPECT_EQ(p->GalduPt, g) << ici << " " << p->DesignPTopo;
        EXPECT_GE(p->TypePoint, 0) << ici << " virtual point " << p->DesignPTopo;
        EXPECT_FALSE(p->PtAEffacer) << ici << " " << p->DesignPTopo;
        EXPECT_TRUE(vivant(p->PtBoucleAsso)) << ici << " " << p->DesignPTopo;
      }
    }
    EXPECT_EQ(static_cast<size_t>(c->ListePoints.Count()), stations.size()) << ici;
    for (const TPointSpeleo* p : c->ListePoints) EXPECT_TRUE(stations.count(p)) << ici;
    for (const TVisee* v : c->Visees) {
      EXPECT_FALSE(v->AEffacer) << ici;
      for (const TPointSpeleo* p : {v->PointStation, v->PointVise}) {
        ASSERT_TRUE(p) << ici << " shot without end";
        EXPECT_TRUE(p->EstPointSurface() ? vivants.count(p) > 0 : stations.count(p) > 0)
            << ici << " shot end " << p->DesignPTopo << " outside the cave";
      }
      for (const TViseeHabi* h : v->ViseesHabi) {
        EXPECT_EQ(h->ViseeDeRef, v) << ici;
        EXPECT_TRUE(h->PtStation()) << ici;
      }
    }
    EXPECT_TRUE(!c->LaGalerieActive || c->Galeries.IndexOf(c->LaGalerieActive) >= 0) << ici;
    EXPECT_TRUE(vivant(c->EntreeSelectee)) << ici;
    EXPECT_TRUE(vivant(c->RefCalculAlti)) << ici;
    for (const TLever* l : c->Levers) {
      EXPECT_TRUE(vivant(l->PointDeb)) << ici;
      EXPECT_TRUE(vivant(l->PointFin)) << ici;
    }
  }
  for (const TCompens* a : r.Compensations) {
    EXPECT_TRUE(a->PtFin) << contexte << " adjustment without end";
    EXPECT_TRUE(vivant(a->PtFin) && vivant(a->PtDebut) && vivant(a->PtJuste)) << contexte;
  }
}

}  // namespace testsurvey
