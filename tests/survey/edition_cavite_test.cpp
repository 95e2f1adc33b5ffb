// The cave edits: small caves over the edge cases of each operation, the
// document unchanged byte for byte when a question is refused, a consistency
// check after a seeded random sequence of edits, and Survex as the oracle of
// the coordinates after edits.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <random>

#include "drawing/annexe_cavite.h"
#include "survey/bouclage.h"
#include "survey/compens.h"
#include "survey/rapport_calcul.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/edition_cavite_outils.h"
#include "tests/survey/reseau_aleatoire.h"
#include "tests/survey/survex_oracle.h"

using namespace survey;
using platform::Answer;
using testsurvey::EditionEssai;
using testsurvey::ReseauCalcul;
using testsurvey::StationNeuve;
using testsurvey::VerifieCoherence;

namespace {

std::string Ordre(const TCavite& c) {
  std::string s;
  for (const TVisee* v : c.Visees) {
    if (!s.empty()) s += ' ';
    s += (v->PtOrigCalc ? v->PtOrigCalc->DesignPTopo : "?") + ">" + (v->PtCalc ? v->PtCalc->DesignPTopo : "?");
  }
  return s;
}

std::string NomsGaleries(const TCavite& c) {
  std::string s;
  for (const TGalerie* g : c.Galeries) s += (s.empty() ? "" : "|") + g->NomGalerie;
  return s;
}

TVisee* Entre(const TCavite& c, const std::string& a, const std::string& b) {
  for (TVisee* v : c.Visees)
    if (v->PtOrigCalc && v->PtCalc && v->PtOrigCalc->DesignPTopo == a && v->PtCalc->DesignPTopo == b) return v;
  return nullptr;
}

// E1 - 1 - 2 - 3 in the entrance gallery.
TCavite* Ligne(EditionEssai& e, int n = 3) {
  e.n.Surface("E1", 0, 0, 0);
  TCavite* c = e.n.Cavite("A");
  std::string avant = "E1";
  for (int i = 1; i <= n; ++i) {
    e.n.Visee(c, avant, std::to_string(i), 10.0 * i, 0, 5);
    avant = std::to_string(i);
  }
  e.n.Regenere();
  return c;
}

}  // namespace

// --- Edge cases, one small cave each -----------------------------------------------------------

TEST(EditionCavite, InsertionAvantLaViseeSelectionnee) {
  EditionEssai e;
  TCavite* c = Ligne(e);
  e.n.Station(c, "3")->Annexe = 1;
  e.n.Regenere();
  e.SaisieNouvelleStation("N", 45, 0, 2);
  TValeurVisee* cree = nullptr;
  {
    survey::Document().InsertionVisee = true;
    ASSERT_TRUE(c->CreeVisee(Entre(*c, "2", "3"), cree));
    survey::Document().InsertionVisee = false;
  }
  ASSERT_TRUE(cree);
  EXPECT_EQ(Ordre(*c), "E1>1 1>2 2>N N>3");
  EXPECT_EQ(e.n.Station(c, "N")->Annexe, 1);
  EXPECT_EQ(e.n.Station(c, "3")->Annexe, 0);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  VerifieCoherence(e.n.R(), "insertion");
}

TEST(EditionCavite, AjoutEnFinEtPremiereViseeDUneCaviteVide) {
  EditionEssai e;
  TCavite* c = Ligne(e, 2);
  e.SaisieNouvelleStation("3", 0, -10, 4);
  TValeurVisee* cree = nullptr;
  ASSERT_TRUE(c->CreeVisee(nullptr, cree));
  EXPECT_EQ(Ordre(*c), "E1>1 1>2 2>3");
  EXPECT_EQ(static_cast<TVisee*>(cree)->pente, -10);

  // An empty cave starts from a chosen surface point, in "Galerie d'entrée".
  TCavite* vide = e.n.R().AjouteCavite(std::make_unique<TCavite>());
  vide->NomCavite = "B";
  EXPECT_FALSE(vide->CreeVisee(nullptr, cree)) << "no surface point chosen";
  EXPECT_TRUE(vide->Galeries.Vide());
  TPointSpeleo* e2 = e.n.Surface("E2", 100, 0, 0);
  Ports().ChoisitPointSurface = [&](TCavite&, TPointSpeleo*) { return e2; };
  std::string propose;
  e.SaisieVisee([&](TDemandeSaisieVisee& d) {
    propose = d.NomGaleriePropose;
    d.NomGalerie = d.NomGaleriePropose;
    d.Visee->Long = 3;
    d.Visee->PointVise = StationNeuve("b1");
    return true;
  });
  ASSERT_TRUE(vide->CreeVisee(nullptr, cree));
  EXPECT_EQ(propose, "Galerie d'entrée");
  EXPECT_EQ(Ordre(*vide), "E2>b1");
  EXPECT_EQ(NomsGaleries(*vide), "Galerie d'entrée");
  VerifieCoherence(e.n.R(), "first shot");
}

TEST(EditionCavite, RectificationDUneViseeEtDUneViseeDHabillage) {
  EditionEssai e;
  TCavite* c = Ligne(e, 4);
  TLever* ancien = e.n.Lever(c);
  TLever* nouveau = e.n.Lever(c);
  for (TVisee* v : c->Visees) v->LeLever = ancien;
  c->LaVisee(3)->LeLever = LeverParDefaut();
  // The trip of the second shot changes: the later shots on the old trip follow.
  e.SaisieVisee([&](TDemandeSaisieVisee& d) {
    EXPECT_TRUE(d.Rectification);
    EXPECT_TRUE(survey::Document().RectifEnCours);
    d.Visee->LeLever = nouveau;
    d.Visee->Az = 77;
    return true;
  });
  ASSERT_TRUE(c->RectifVisee(*Entre(*c, "1", "2")));
  EXPECT_FALSE(survey::Document().RectifEnCours);
  EXPECT_EQ(Entre(*c, "E1", "1")->LeLever, ancien);
  EXPECT_EQ(Entre(*c, "1", "2")->LeLever, nouveau);
  EXPECT_EQ(Entre(*c, "1", "2")->Az, 77);
  EXPECT_EQ(Entre(*c, "2", "3")->LeLever, nouveau);
  EXPECT_EQ(Entre(*c, "3", "4")->LeLever, LeverParDefaut());
  EXPECT_TRUE(survey::Document().DocumentModifie);

  // A splay is corrected through a main shot standing for it.
  auto h = std::make_unique<TViseeHabi>();
  h->RefPtStat = false;
  h->Long = 1;
  TViseeHabi* habi = Entre(*c, "2", "3")->AjouteViseeHabi(std::move(h));
  e.n.Regenere();
  e.SaisieVisee([&](TDemandeSaisieVisee& d) {
    EXPECT_TRUE(d.Visee->EstHabi);
    EXPECT_EQ(d.Visee->PointStation, e.n.Station(c, "3"));
    d.Visee->Long = 2.5;
    d.Visee->CommentVisee = {"plafond"};
    return true;
  });
  ASSERT_TRUE(c->RectifVisee(*habi));
  EXPECT_EQ(habi->Long, 2.5);
  EXPECT_FALSE(habi->RefPtStat);
  EXPECT_EQ(habi->CommentVisee, foundation::TMesStringList{"plafond"});
  EXPECT_EQ(Entre(*c, "2", "3")->ViseesHabi.Count(), 1);

  // The dialog may make a new shot a splay of its source.
  e.SaisieVisee([&](TDemandeSaisieVisee& d) {
    d.Visee->EstHabi = true;
    d.Visee->Long = 0.8;
    return true;
  });
  TValeurVisee* cree = nullptr;
  ASSERT_TRUE(c->CreeVisee(Entre(*c, "3", "4"), cree));
  ASSERT_TRUE(cree && cree->EstHabi);
  EXPECT_EQ(static_cast<TViseeHabi*>(cree)->ViseeDeRef, Entre(*c, "3", "4"));
  EXPECT_FALSE(static_cast<TViseeHabi*>(cree)->RefPtStat) << "on 4, the source's end";
  EXPECT_EQ(c->Visees.Count(), 4);
  VerifieCoherence(e.n.R(), "corrections");
}

TEST(EditionCavite, ViseeHabillageVersViseeSuitLesNomsSansCasse) {
  EditionEssai e;
  TCavite* c = e.n.Cavite("A");
  e.n.Visee(c, "E1", "A11", 0, 0, 5);
  TVisee* v = e.n.Visee(c, "A11", "A12", 90, 0, 5);
  e.n.Visee(c, "A12", "a12-1", 180, 0, 2);
  e.n.Station(c, "a12-1")->Annexe = 1;
  e.n.Regenere();
  auto h = std::make_unique<TViseeHabi>();
  h->RefPtStat = false;  // hung on A12
  h->Az = 270;
  h->Long = 3;
  h->CommentVisee = {"lucarne"};
  TViseeHabi* habi = v->AjouteViseeHabi(std::move(h));
  e.n.Regenere();
  TVisee* nouvelle = c->HabiEnVisee(habi);
  ASSERT_TRUE(nouvelle);
  EXPECT_EQ(nouvelle->PointStation->DesignPTopo, "A12");
  EXPECT_EQ(nouvelle->PointVise->DesignPTopo, "A12-2");
  EXPECT_EQ(nouvelle->PointVise->Annexe, 1);
  EXPECT_EQ(nouvelle->PointVise->Commentaire, foundation::TMesStringList{"lucarne"});
  EXPECT_EQ(nouvelle->Az, 270);
  EXPECT_TRUE(v->ViseesHabi.Vide());
  EXPECT_EQ(c->IncDesignPt("A12-"), "A12-3");
  VerifieCoherence(e.n.R(), "splay to shot");
}

TEST(EditionCavite, ViseeEnHabillagePuisRetourRendLesMemesValeurs) {
  EditionEssai e;
  TCavite* c = Ligne(e, 1);
  TVisee* v = e.n.Visee(c, "1", "2", 123.5, -12.25, 7.5);
  v->InvAz = true;
  e.n.Station(c, "2")->Commentaire = {"étroiture"};
  e.n.Regenere();
  TViseeHabi* h = c->TransfoEnHabi(v);
  ASSERT_TRUE(h);
  EXPECT_EQ(Ordre(*c), "E1>1");
  EXPECT_FALSE(e.n.Station(c, "2"));
  EXPECT_TRUE(h->RefPtStat == false) << "hung on station 1, the end of the previous shot";
  VerifieCoherence(e.n.R(), "shot to splay");
  TVisee* w = c->HabiEnVisee(h);
  ASSERT_TRUE(w);
  EXPECT_EQ(w->PointStation->DesignPTopo, "1");
  EXPECT_EQ(w->Az, 123.5);
  EXPECT_EQ(w->pente, -12.25);
  EXPECT_EQ(w->Long, 7.5);
  EXPECT_TRUE(w->InvAz);
  EXPECT_EQ(w->CommentVisee, foundation::TMesStringList{"étroiture"});
  EXPECT_EQ(w->PointVise->Commentaire, foundation::TMesStringList{"étroiture"});
  VerifieCoherence(e.n.R(), "splay back to shot");
  // The first shot has no previous shot to hang on.
  EXPECT_FALSE(c->TransfoEnHabi(c->LaVisee(0)));
}

TEST(EditionCavite, SuppressionsDeVisees) {
  // Deleting the first of A -> B -> C joins A to C and B goes.
  {
    EditionEssai e;
    TCavite* c = e.n.Cavite("A");
    e.n.Visee(c, "E1", "A", 0, 0, 5);
    e.n.Visee(c, "A", "B", 0, 0, 5);
    e.n.Visee(c, "B", "C", 90, 0, 5);
    e.n.Regenere();
    e.dialogues.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(e.n.R().SupprimeVisee(Entre(*c, "A", "B")));
    EXPECT_EQ(e.dialogues.Log().back().text, "Voulez-vous supprimer la visée A -> B");
    EXPECT_EQ(Ordre(*c), "E1>A A>C");
    EXPECT_FALSE(e.n.Station(c, "B"));
    VerifieCoherence(e.n.R(), "middle shot");
  }
  // The last shot of a gallery: its station and the gallery go.
  {
    EditionEssai e;
    TCavite* c = Ligne(e, 2);
    c->AjouteGalerie("Diverticule");
    e.n.Visee(c, "1", "D1", 90, 0, 5);
    e.n.Regenere();
    EXPECT_EQ(NomsGaleries(*c), "Galerie d'entrée|Diverticule");
    e.dialogues.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(e.n.R().SupprimeVisee(Entre(*c, "1", "D1")));
    EXPECT_EQ(NomsGaleries(*c), "Galerie d'entrée");
    EXPECT_FALSE(e.n.Station(c, "D1"));
    EXPECT_FALSE(c->LaGalerieActive && c->Galeries.IndexOf(c->LaGalerieActive) < 0);
    VerifieCoherence(e.n.R(), "gallery's last shot");
  }
  // An end with two continuations cannot go alone.
  {
    EditionEssai e;
    TCavite* c = Ligne(e, 2);
    e.n.Visee(c, "2", "3", 0, 0, 5);
    e.n.Visee(c, "2", "4", 90, 0, 5);
    e.n.Regenere();
    const std::string avant = e.Octets();
    EXPECT_FALSE(e.n.R().SupprimeVisee(Entre(*c, "1", "2")));
    EXPECT_EQ(e.dialogues.Messages().back(),
              "le point 2 comporte plusieurs points rattachés ; la visée ne peut être supprimée.");
    EXPECT_TRUE(e.Octets() == avant);
  }
  // The shot and all that follows, galleries included.
  {
    EditionEssai e;
    TCavite* c = Ligne(e, 3);
    c->AjouteGalerie("Amont");
    e.n.Visee(c, "2", "M1", 90, 0, 5);
    e.n.Visee(c, "M1", "M2", 90, 0, 5);
    e.n.Regenere();
    int vus = 0;
    Ports().ConfirmeEffacementVisees = [&](const std::vector<std::string>& galeries, const std::vector<std::string>&) {
      ++vus;
      EXPECT_EQ(galeries, std::vector<std::string>{"Amont"});
      return true;
    };
    ASSERT_TRUE(e.n.R().SupprimeViseesSuivantes(Entre(*c, "1", "2")));
    EXPECT_EQ(vus, 1);
    EXPECT_EQ(Ordre(*c), "E1>1");
    EXPECT_EQ(NomsGaleries(*c), "Galerie d'entrée");
    VerifieCoherence(e.n.R(), "following shots");
    // Within one gallery the warning question asks.
    e.n.Visee(c, "1", "5", 0, 0, 5);
    e.n.Visee(c, "5", "6", 0, 0, 5);
    e.n.Regenere();
    e.dialogues.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(e.n.R().SupprimeViseesSuivantes(Entre(*c, "5", "6")));
    EXPECT_EQ(e.dialogues.Log().back().text,
              "La galerie Galerie d'entrée va être effacée à partir de la visée 5 -> 6. Confirmez-vous ?");
    EXPECT_EQ(Ordre(*c), "E1>1 1>5");
  }
}

TEST(EditionCavite, SupprimerLaViseeQuiFermeUneCompensationLaSupprime) {
  EditionEssai e;
  TCavite* c = Ligne(e, 3);
  TPointSpeleo* e9 = e.n.Surface("E9", 5, 5, 0);
  auto a = std::make_unique<TCompens>();
  a->PtFin = e.n.Station(c, "3");
  a->PtJuste = e9;
  e.n.R().Compensations.Add(std::move(a));
  auto b = std::make_unique<TCompens>();
  b->PtFin = e.n.Station(c, "2");
  b->PtJuste = e9;
  e.n.R().Compensations.Add(std::move(b));
  e.n.R().DerCompens = 1;
  e.dialogues.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(e.n.R().SupprimeVisee(Entre(*c, "2", "3")));
  ASSERT_EQ(e.n.R().Compensations.Count(), 1);
  EXPECT_EQ(e.n.R().Compensations.First()->PtFin, e.n.Station(c, "2"));
  EXPECT_EQ(e.n.R().DerCompens, 0);
  VerifieCoherence(e.n.R(), "adjustment");
  // One whose start station goes goes too: 1 -> 2 deleted, 2 leaves.
  e.n.R().Compensations.First()->PtDebut = e.n.Station(c, "2");
  e.dialogues.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(e.n.R().SupprimeVisee(Entre(*c, "1", "2")));
  EXPECT_EQ(Ordre(*c), "E1>1");
  EXPECT_TRUE(e.n.R().Compensations.Vide());
  EXPECT_EQ(e.n.R().DerCompens, -1);
}

TEST(EditionCavite, OuvrirUneBoucleCreeLePointBisDansLaGalerieDeLAutreBout) {
  EditionEssai e;
  TCavite* c = Ligne(e, 5);
  e.n.Visee(c, "5", "6", 0, 0, 5);
  e.n.Visee(c, "6", "7", 0, 0, 5);
  TGalerie* g2 = c->AjouteGalerie("Shunt");
  e.n.Visee(c, "5", "8", 90, 0, 5);
  e.n.Visee(c, "8", "7", 0, 0, 5);
  e.n.Regenere();
  TVisee* fermeture = nullptr;
  for (TVisee* v : c->Visees)
    if (v->PtCalc && v->PtCalc->DesignPTopo == "7" && v->PtCalc->ViseeAvant != v) fermeture = v;
  ASSERT_TRUE(fermeture);
  EXPECT_TRUE(c->EstViseeBouclage(fermeture));
  const std::string avant = e.Octets();
  EXPECT_FALSE(c->TransfoViseeBouclage(fermeture));
  EXPECT_TRUE(e.Octets() == avant);
  e.dialogues.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(c->TransfoViseeBouclage(fermeture));
  TPointSpeleo* bis = e.n.Station(c, "7-bis");
  ASSERT_TRUE(bis);
  TPointSpeleo* autre = fermeture->PointStation == bis ? fermeture->PointVise : fermeture->PointStation;
  EXPECT_EQ(bis->GalduPt, autre->GalduPt);
  EXPECT_FALSE(c->EstViseeBouclage(fermeture));
  (void)g2;
  VerifieCoherence(e.n.R(), "open loop");
}

TEST(EditionCavite, FermerUneBoucleRemplaceLAncienBout) {
  EditionEssai e;
  TCavite* c = Ligne(e, 3);
  e.n.Visee(c, "1", "X", 90, 0, 5);
  e.n.Station(c, "X")->Annexe = 1;
  e.n.Regenere();
  TPointSpeleo* x = e.n.Station(c, "X");
  x->Commentaire = {"à fermer"};
  e.ChoixRattachement([&](const TDemandeRattachement& d) {
    EXPECT_EQ(d.Titre, "Choix du point de bouclage");
    EXPECT_EQ(d.Point, x);
    return e.n.Station(c, "3");
  });
  ASSERT_TRUE(c->CreeBoucle(Entre(*c, "1", "X")));
  EXPECT_FALSE(e.n.Station(c, "X"));
  EXPECT_TRUE(Entre(*c, "1", "3") || Entre(*c, "3", "1"));
  EXPECT_EQ(c->Visees.Count(), 4);
  VerifieCoherence(e.n.R(), "close loop");
}

TEST(EditionCavite, SuppressionDUnRattachementNeLaissePasDePointVirtuel) {
  EditionEssai e;
  TCavite* c = Ligne(e, 3);
  e.n.Visee(c, "1", "4", 90, 0, 5);
  e.n.Visee(c, "4", "3", 0, 0, 5);
  e.n.Regenere();
  TVisee* fermeture = nullptr;
  for (TVisee* v : c->Visees)
    if (v->PtCalc && v->PtCalc->NbCalc > 1 && v->PtCalc->ViseeAvant != v) fermeture = v;
  ASSERT_TRUE(fermeture);
  const std::string avant = e.Octets();
  EXPECT_FALSE(c->SupprimeViseeRat(fermeture));
  EXPECT_TRUE(e.Octets() == avant);
  e.dialogues.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(c->SupprimeViseeRat(fermeture));
  EXPECT_EQ(c->Visees.Count(), 4);
  for (const TVisee* v : c->Visees) EXPECT_FALSE(v->EstViseeRattach());
  VerifieCoherence(e.n.R(), "loop shot deleted");
}

TEST(EditionCavite, RenumerotationEnSerie) {
  EditionEssai e;
  e.n.Surface("E1", 0, 0, 0);
  TCavite* c = e.n.Cavite("A");
  e.n.Visee(c, "E1", "a", 0, 0, 5);
  e.n.Visee(c, "a", "b", 0, 0, 5);
  e.n.Visee(c, "b", "c", 0, 0, 5);
  c->AjouteGalerie("Un");
  e.n.Visee(c, "b", "d", 90, 0, 5);
  e.n.Visee(c, "d", "e", 90, 0, 5);
  e.n.Visee(c, "d", "f", 180, 0, 5);
  e.n.Visee(c, "f", "g", 180, 0, 5);
  c->AjouteGalerie("Deux");
  e.n.Visee(c, "c", "h", 270, 0, 5);
  e.n.Visee(c, "h", "i", 270, 0, 5);
  e.n.Station(c, "f")->Annexe = 1;
  e.n.Regenere();
  ASSERT_EQ(NomsGaleries(*c), "Galerie d'entrée|Un|Deux");
  c->RenumTpRb(c->LaVisee(0));
  std::string noms;
  for (const TGalerie* g : c->Galeries)
    for (const TPointSpeleo* p : g->Points) noms += p->DesignPTopo + " ";
  EXPECT_EQ(noms, "1 2 3 1-1 3-1 3-2 1-2 2-1 2-2 ");
  VerifieCoherence(e.n.R(), "renumbering");
}

TEST(EditionCavite, ChangementDEntreeGardeLAncienneEntree) {
  EditionEssai e;
  TCavite* c = Ligne(e, 3);
  TPointSpeleo* e1 = e.n.Station(c, "E1");
  e1->Commentaire = {"porche"};
  e1->LargeurDR = 2;
  e1->HauteurSup = 3;
  TPointSpeleo* e2 = e.n.Surface("E2", 40, 40, 0);
  e.n.Regenere();
  c->ChangeEntree(Entre(*c, "2", "3"), e2);
  TPointSpeleo* ancien = e.n.Station(c, "E1-Ancien");
  ASSERT_TRUE(ancien);
  EXPECT_FALSE(ancien->EstPointSurface());
  EXPECT_EQ(ancien->Commentaire, foundation::TMesStringList{"porche"});
  EXPECT_EQ(ancien->LargeurDR, 2);
  EXPECT_EQ(ancien->HauteurSup, 3);
  EXPECT_EQ(c->EntreeSelectee, e2);
  EXPECT_FALSE(e.n.Station(c, "3"));
  EXPECT_EQ(Ordre(*c), "E2>2 2>1 1>E1-Ancien");
  VerifieCoherence(e.n.R(), "entrance");
}

TEST(EditionCavite, RattachementDUnPointEtDeLaCavite) {
  EditionEssai e;
  TCavite* c = Ligne(e, 3);
  c->AjouteGalerie("Affluent");
  e.n.Visee(c, "3", "F1", 90, 0, 5);
  e.n.Visee(c, "F1", "F2", 90, 0, 5);
  e.n.Regenere();
  // Nothing downstream may be chosen.
  e.ChoixRattachement([&](const TDemandeRattachement&) { return e.n.Station(c, "F2"); });
  EXPECT_FALSE(c->ChangeRattachPt(Entre(*c, "3", "F1")));
  e.ChoixRattachement([&](const TDemandeRattachement& d) {
    EXPECT_TRUE(survey::Document().RectifEnCours);
    EXPECT_FALSE(d.PointsSurface);
    return e.n.Station(c, "1");
  });
  ASSERT_TRUE(c->ChangeRattachPt(Entre(*c, "3", "F1")));
  EXPECT_TRUE(Entre(*c, "1", "F1"));
  EXPECT_FALSE(survey::Document().RectifEnCours);
  VerifieCoherence(e.n.R(), "attachment");

  TPointSpeleo* e5 = e.n.Surface("E5", 0, 50, 0);
  Ports().ChoisitPointSurface = [&](TCavite&, TPointSpeleo*) { return e5; };
  const std::string avant = e.Octets();
  EXPECT_FALSE(c->RattacheCaviteSurface());
  EXPECT_EQ(e.dialogues.Log().back().text, "Voulez-vous rattacher la cavité A au point de surface E5 ?");
  EXPECT_TRUE(e.Octets() == avant);
  e.dialogues.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(c->RattacheCaviteSurface());
  EXPECT_EQ(c->LEntree(), e5);
  VerifieCoherence(e.n.R(), "cave attachment");
}

TEST(EditionCavite, GaleriesIndividualiseesPuisFusionnees) {
  EditionEssai e;
  TCavite* c = Ligne(e, 2);
  e.n.Visee(c, "2", "3", 0, 0, 5);
  e.n.Visee(c, "3", "4", 0, 0, 5);
  e.n.Regenere();
  EXPECT_FALSE(c->IndividualiseGalerie(Entre(*c, "2", "3")));
  EXPECT_EQ(e.dialogues.Log().back().caption, "Galerie à partir de 3");
  EXPECT_EQ(e.dialogues.Log().back().text, "Nom de la nouvelle galerie : ");
  e.dialogues.QueuePrompt(std::string("Aval"));
  ASSERT_TRUE(c->IndividualiseGalerie(Entre(*c, "2", "3")));
  EXPECT_EQ(NomsGaleries(*c), "Galerie d'entrée|Aval");
  EXPECT_EQ(NomGalerieDuPoint(e.n.Station(c, "3")), "Aval");
  EXPECT_EQ(NomGalerieDuPoint(e.n.Station(c, "4")), "Aval");
  EXPECT_EQ(NomGalerieDuPoint(e.n.Station(c, "2")), "Galerie d'entrée");
  VerifieCoherence(e.n.R(), "split");
  c->UneGalerie(1)->AFusionner = true;
  c->FusionneGaleries();
  EXPECT_EQ(NomsGaleries(*c), "Galerie d'entrée");
  EXPECT_EQ(e.n.Station(c, "3")->GalduPt, c->UneGalerie(0));
  VerifieCoherence(e.n.R(), "merge galleries");
}

TEST(EditionCavite, FusionDeCavitesGardeUnSeulPointDeJonction) {
  for (bool dimensionsActives : {true, false}) {
    EditionEssai e;
    TCavite* a = Ligne(e, 2);
    TCavite* b = e.n.Cavite("B");
    e.n.Surface("E2", 0, 100, 0);
    e.n.Visee(b, "E2", "x", 180, 0, 5);
    e.n.Visee(b, "x", "y", 180, 0, 5);
    e.n.Visee(b, "y", "z", 90, 0, 5);
    e.n.Regenere();
    TPointSpeleo* q = e.n.Station(a, "2");
    TPointSpeleo* p = e.n.Station(b, "y");
    p->PtBoucleAsso = q;
    q->PtBoucleAsso = p;
    p->LargeurDR = 7;
    p->Commentaire = {"jonction"};
    if (dimensionsActives) q->HauteurInf = 1;
    e.n.R().LaCaviteActive = a;
    ASSERT_EQ(e.n.R().CavitesFusionnables(), std::vector<TCavite*>{b});
    e.dialogues.QueueAnswer(Answer::Yes);
    ASSERT_TRUE(a->ChoisitEtFusionneCavites({b}));
    EXPECT_EQ(e.dialogues.Log().back().text, "Voulez-vous fusionner la cavité B avec la cavité A");
    EXPECT_EQ(e.n.R().NombreCavites(), 2);
    EXPECT_FALSE(e.n.Station(a, "y"));
    EXPECT_EQ(q->LargeurDR, dimensionsActives ? 0 : 7);
    EXPECT_EQ(q->HauteurInf, dimensionsActives ? 1 : 0);
    EXPECT_EQ(q->Commentaire, foundation::TMesStringList{"jonction"});
    EXPECT_FALSE(q->PtBoucleAsso);
    EXPECT_TRUE(Entre(*a, "x", "2") || Entre(*a, "2", "x"));
    EXPECT_EQ(a->Visees.Count(), 5);
    // B's global section went into A's; its shots are A's.
    const drawing::TAnnexeDessinCavite* dessins = drawing::AnnexeDessin(a);
    ASSERT_TRUE(dessins);
    EXPECT_EQ(dessins->NombreCoupesLong(), 1);
    VerifieCoherence(e.n.R(), "cave merge");
    // The merged document is written and read back.
    foundation::TFluxMemoire flux;
    ASSERT_TRUE(e.n.R().Ecrit(flux));
  }
}

// --- A refused question changes nothing --------------------------------------------------------

TEST(EditionCavite, RefusLaisseLeDocumentIdentique) {
  struct Cas {
    const char* nom;
    std::function<bool(EditionEssai&, TCavite*)> operation;
  };
  const Cas cas[] = {
      {"SupprimeVisee", [](EditionEssai& e, TCavite* c) { return e.n.R().SupprimeVisee(Entre(*c, "2", "3")); }},
      {"SupprimeViseesSuivantes",
       [](EditionEssai& e, TCavite* c) { return e.n.R().SupprimeViseesSuivantes(Entre(*c, "1", "2")); }},
      {"SupprimeViseesSuivantes, fenêtre",
       [](EditionEssai& e, TCavite* c) {
         Ports().ConfirmeEffacementVisees = [](const auto&, const auto&) { return false; };
         return e.n.R().SupprimeViseesSuivantes(Entre(*c, "3", "B1"));
       }},
      {"SupprimeViseeRat", [](EditionEssai&, TCavite* c) { return c->SupprimeViseeRat(Entre(*c, "B2", "4")); }},
      {"TransfoViseeBouclage", [](EditionEssai&, TCavite* c) { return c->TransfoViseeBouclage(Entre(*c, "B2", "4")); }},
      {"RattacheCaviteSurface",
       [](EditionEssai& e, TCavite* c) {
         Ports().ChoisitPointSurface = [&e](TCavite&, TPointSpeleo*) { return e.n.Surface("E7"); };
         return c->RattacheCaviteSurface();
       }},
      {"IndividualiseGalerie", [](EditionEssai&, TCavite* c) { return c->IndividualiseGalerie(Entre(*c, "2", "3")); }},
      {"IndividualiseGalerie, nom vide",
       [](EditionEssai& e, TCavite* c) {
         e.dialogues.QueuePrompt(std::string());
         return c->IndividualiseGalerie(Entre(*c, "2", "3"));
       }},
      {"FusionneCavite",
       [](EditionEssai& e, TCavite* c) { return c->ChoisitEtFusionneCavites({e.n.R().UneCavite(2)}); }},
      {"FusionneCavites, fenêtre annulée",
       [](EditionEssai& e, TCavite* c) {
         Ports().ChoisitCavitesFusion = [](const auto&) { return std::nullopt; };
         return c->ChoisitEtFusionneCavites({e.n.R().UneCavite(2), e.n.R().UneCavite(3)});
       }},
      {"CreeVisee annulée",
       [](EditionEssai& e, TCavite* c) {
         e.SaisieVisee([](TDemandeSaisieVisee&) { return false; });
         TValeurVisee* v = nullptr;
         return c->CreeVisee(Entre(*c, "2", "3"), v);
       }},
      {"CreeVisee sans fenêtre",
       [](EditionEssai&, TCavite* c) {
         TValeurVisee* v = nullptr;
         return c->CreeVisee(Entre(*c, "2", "3"), v);
       }},
      {"RectifVisee annulée",
       [](EditionEssai& e, TCavite* c) {
         e.SaisieVisee([](TDemandeSaisieVisee&) { return false; });
         return c->RectifVisee(*Entre(*c, "2", "3"));
       }},
      {"CreeBoucle sans choix",
       [](EditionEssai& e, TCavite* c) {
         e.ChoixRattachement([](const TDemandeRattachement&) { return nullptr; });
         return c->CreeBoucle(Entre(*c, "3", "4"));
       }},
      {"ChangeRattachPt sans choix",
       [](EditionEssai& e, TCavite* c) {
         e.ChoixRattachement([](const TDemandeRattachement&) { return nullptr; });
         return c->ChangeRattachPt(Entre(*c, "3", "B1"));
       }},
  };
  for (const Cas& k : cas) {
    EditionEssai e;
    TCavite* c = Ligne(e, 4);
    c->AjouteGalerie("Boucle");
    e.n.Visee(c, "3", "B1", 90, 0, 5);
    e.n.Visee(c, "B1", "B2", 0, 0, 5);
    e.n.Visee(c, "B2", "4", 270, 0, 5);
    for (const char* nom : {"C", "D"}) {
      TCavite* autre = e.n.Cavite(nom);
      e.n.Visee(autre, "E1", std::string(nom) + "1", 0, 0, 5);
    }
    e.n.Surface("E7", 9, 9, 0);
    e.n.Regenere();
    e.n.R().LaCaviteActive = c;
    survey::Document().DocumentModifie = false;
    const std::string avant = e.Octets();
    EXPECT_FALSE(k.operation(e, c)) << k.nom;
    EXPECT_TRUE(e.Octets() == avant) << k.nom;
    EXPECT_FALSE(survey::Document().DocumentModifie) << k.nom;
    VerifieCoherence(e.n.R(), k.nom);
  }
}

// --- A seeded random sequence of edits -----------------------------------------------------------

TEST(EditionCavite, SequenceAleatoireResteCoherente) {
  // How many times each kind of edit changed the document, over all seeds.
  std::array<int, 12> faites{};
  for (uint32_t graine : {1u, 2u, 3u}) {
    EditionEssai e;
    testsurvey::OptionsAleatoires o;
    o.Visees = 300;
    o.Graine = graine;
    o.Graine = graine + 100;
    o.Visees = 100;
    TCavite* b = testsurvey::GenereCaviteAleatoire(e.n, o, "B");
    o.Graine = graine;
    o.Visees = 300;
    TCavite* c = testsurvey::GenereCaviteAleatoire(e.n, o);
    e.n.R().LaCaviteActive = c;
    std::mt19937 g(graine * 7919u);
    auto tire = [&](int n) { return n <= 0 ? 0 : static_cast<int>(g() % static_cast<uint32_t>(n)); };
    auto visee = [&]() -> TVisee* { return c->Visees.Vide() ? nullptr : c->LaVisee(tire(c->Visees.Count())); };
    auto station = [&]() -> TPointSpeleo* {
      return c->ListePoints.Vide() ? nullptr : c->ListePoints.Item(tire(c->ListePoints.Count()));
    };
    int nouvelles = 0;
    for (int pas = 0; pas < 120 && c->Visees.Count() > 2; ++pas) {
      TVisee* v = visee();
      const int op = tire(12);
      std::string quoi = "step " + std::to_string(pas) + " op " + std::to_string(op);
      survey::Document().DocumentModifie = false;
      switch (op) {
        case 0:
          e.dialogues.QueueAnswer(Answer::Yes);
          e.n.R().SupprimeVisee(v);
          break;
        case 1:
          if (tire(4) == 0) {
            e.dialogues.QueueAnswer(Answer::Yes);
            Ports().ConfirmeEffacementVisees = [](const auto&, const auto&) { return true; };
            e.n.R().SupprimeViseesSuivantes(v);
          }
          break;
        case 2:
        case 3: {
          const std::string nom = "n" + std::to_string(++nouvelles);
          e.SaisieNouvelleStation(nom, tire(360), tire(60) - 30, 1 + tire(10));
          TValeurVisee* cree = nullptr;
          survey::Document().InsertionVisee = op == 3;
          c->CreeVisee(v, cree);
          survey::Document().InsertionVisee = false;
          break;
        }
        case 4:
          if (TViseeHabi* h = c->TransfoEnHabi(v)) c->HabiEnVisee(h);
          break;
        case 5:
          c->RenumTpRb(v);
          break;
        case 6:
          e.dialogues.QueuePrompt("G" + std::to_string(pas));
          c->IndividualiseGalerie(v);
          break;
        case 7:
          e.ChoixRattachement([&](const TDemandeRattachement&) { return station(); });
          c->ChangeRattachPt(v);
          break;
        case 8:
          if (!v->PtCalc || !v->PtCalc->EstFinBranche()) break;
          e.ChoixRattachement([&](const TDemandeRattachement&) { return station(); });
          c->CreeBoucle(v);
          break;
        case 9:
          // A loop shot, when the edits made one.
          for (TVisee* w : c->Visees)
            if (w->PtCalc && !w->PtCalc->EstPointSurface() && w->PtCalc->NbCalc > 1 && w->PtCalc->ViseeAvant != w) v = w;
          if (c->EstViseeBouclage(v)) {
            e.dialogues.QueueAnswer(Answer::Yes);
            if (tire(2) == 0)
              c->TransfoViseeBouclage(v);
            else
              c->SupprimeViseeRat(v);
          }
          break;
        case 10:
          if (b && station()) {
            // A junction between the two caves, then the merge.
            b->ListePoints.Item(tire(b->ListePoints.Count()))->PtBoucleAsso = station();
            e.dialogues.QueueAnswer(Answer::Yes);
            EXPECT_TRUE(c->ChoisitEtFusionneCavites(e.n.R().CavitesFusionnables())) << quoi;
            b = nullptr;
          }
          break;
        default:
          for (TGalerie* gal : c->Galeries) gal->AFusionner = tire(3) == 0;
          c->FusionneGaleries();
          for (TGalerie* gal : c->Galeries) gal->AFusionner = false;
          break;
      }
      if (survey::Document().DocumentModifie) ++faites[static_cast<size_t>(op)];
      e.dialogues.Clear();
      VerifieCoherence(e.n.R(), "seed " + std::to_string(graine) + " " + quoi);
      if (HasFailure()) return;
    }
  }
  // Every kind of edit took place.
  for (size_t op = 0; op < faites.size(); ++op) EXPECT_GT(faites[op], 0) << "op " << op;
}

// --- Coordinates after edits against Survex ------------------------------------------------------

TEST(EditionCavite, CoordonneesApresEditionsSelonSurvex) {
  if (!testsurvey::CavernDisponible()) GTEST_SKIP() << "cavern (Survex) is not installed";
  EditionEssai e;
  TCavite* a = e.n.Cavite("A");
  e.n.Surface("E1", 1000, 2000, 500);
  e.n.Visee(a, "E1", "1", 30, -20, 12);
  e.n.Visee(a, "1", "2", 75, -5, 8.5);
  e.n.Visee(a, "2", "3", 120, 10, 6);
  e.n.Visee(a, "3", "4", 200, -35, 9);
  e.n.Visee(a, "2", "5", 300, 0, 4);
  e.n.Station(a, "5")->Annexe = 1;
  TCavite* b = e.n.Cavite("B");
  e.n.Surface("E2", 1040, 1990, 480);
  e.n.Visee(b, "E2", "b1", 250, -15, 10);
  e.n.Visee(b, "b1", "b2", 210, -10, 7);
  e.n.Regenere();
  // Insertion before 3 -> 4.
  e.SaisieNouvelleStation("I", 170, -20, 3.5);
  TValeurVisee* cree = nullptr;
  survey::Document().InsertionVisee = true;
  ASSERT_TRUE(a->CreeVisee(Entre(*a, "3", "4"), cree));
  survey::Document().InsertionVisee = false;
  // 5 re-attached on 3.
  e.ChoixRattachement([&](const TDemandeRattachement&) { return e.n.Station(a, "3"); });
  ASSERT_TRUE(a->ChangeRattachPt(Entre(*a, "2", "5")));
  // B's entrance placed so that b2 falls exactly on 4 (no misclosure for
  // the two computations to spread differently), then b2 = 4 merged into A.
  e.n.R().CalculeReseau();
  TPointSpeleo* e2 = e.n.Station(b, "E2");
  TPointSpeleo* quatre = e.n.Station(a, "4");
  TPointSpeleo* b2 = e.n.Station(b, "b2");
  e2->X += quatre->X - b2->X;
  e2->Y += quatre->Y - b2->Y;
  e2->Z += quatre->Z - b2->Z;
  b2->PtBoucleAsso = quatre;
  e.n.R().LaCaviteActive = a;
  ASSERT_TRUE(a->FusionneCavite(b));
  // A new shot from 1, whose end becomes the entrance E3.
  e.SaisieNouvelleStation("6", 10, 5, 5);
  ASSERT_TRUE(a->CreeVisee(Entre(*a, "E1", "1"), cree));
  e.n.R().CalculeReseau();
  TPointSpeleo* six = e.n.Station(a, "6");
  TPointSpeleo* e3 = e.n.Surface("E3", six->X, six->Y, six->Z);
  a->ChangeEntree(static_cast<TVisee*>(cree), e3);
  VerifieCoherence(e.n.R(), "edited");
  e.n.R().CalculeReseau();
  testsurvey::EcrivainSvx svx(e.n.R().Cavites);
  testsupport::DossierTemp dossier;
  const testsurvey::ResultatSurvex r = testsurvey::LanceCavern(svx.Texte(), dossier.Chemin());
  ASSERT_TRUE(r.Ok) << r.Erreur;
  int compares = 0;
  for (const TPointSpeleo* p : a->ListePoints) {
    const auto it = r.Positions.find(svx.Nom(p));
    ASSERT_NE(it, r.Positions.end()) << p->DesignPTopo;
    const double d = std::hypot(p->X - it->second[0], p->Y - it->second[1], p->Z - it->second[2]);
    EXPECT_LE(d, 0.01) << p->DesignPTopo;
    ++compares;
  }
  EXPECT_EQ(compares, 8);
}
