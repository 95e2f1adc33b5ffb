// The network computation: the entrance trials, the passes over every cave,
// the computation of one cave with its temporary and stored adjustments, and
// the view extremes.
#include <algorithm>
#include <stdexcept>
#include <limits>
#include <memory>
#include <vector>

#include "foundation/catalogue.h"
#include "foundation/transformation_vue.h"
#include "foundation/utilitaires.h"
#include "survey/calcul_reseau.h"
#include "survey/cavite.h"
#include "survey/compens.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;

namespace {

// The caves the computation takes: every one but the surface.
std::vector<TCavite*> CavitesCalculees(const TReseau& r) {
  std::vector<TCavite*> c;
  for (int i = 1; i < r.Cavites.Count(); ++i)
    if (TCavite* cav = r.Cavites.UnObjet(i); cav && !cav->EstSurface) c.push_back(cav);
  return c;
}

// The trial list of entrances still names the cave's entrances.
bool EntreesToujoursValables(const TCavite& c) {
  if (c.ListeEntreesCalculees.Count() != c.ListeEntrees.Count()) return false;
  for (const TPointSpeleo* p : c.ListeEntreesCalculees)
    if (!c.ListeEntrees.Contient(p)) return false;
  return true;
}

// Some shot closes a loop or is an attachment shot: the cave needs its loop
// duplicates (otherwise creating them would only walk the cave again).
bool JonctionsAFaire(const TCavite& c) {
  for (const TVisee* v : c.Visees) {
    if (v->TypeRattachement == 1) return true;
    const TPointSpeleo* fin = v->PtCalc;
    if (fin && fin->NbCalc >= 2 && fin->ViseeAvant != v) return true;
  }
  return false;
}

bool JonctionsVirtuelles(const TCavite& c) {
  for (const TVisee* v : c.Visees)
    for (const TPointSpeleo* p : {v->PointStation, v->PointVise})
      if (p && p->TypePoint == PointJonctionVirtuel) return true;
  return false;
}

}  // namespace

void TReseau::CalculeReseau() {
  ContexteCalcul& k = Calcul();
  VideAvertissements();
  k.CoupeDevel.Vide();
  // The passes return their warnings; they go into the report once the
  // computation is done, in the order they arose.
  TAvertissementsCalcul avertissements;
  const std::vector<TCavite*> cavites = CavitesCalculees(*this);
  // Each cave keeps the user's entrance; a cave with more than two entrances
  // keeps the outcome of its last entrance trial while its entrances stand.
  for (TCavite* c : cavites) {
    c->SauveEntreeSelectee = c->EntreeSelectee;
    if (c->ListeEntrees.Count() > 2) c->EntreesCalculees = EntreesToujoursValables(*c);
  }
  // Entrance trials: each entrance in turn, the whole network each time.
  for (TCavite* c : cavites) {
    if (c->ListeEntrees.Count() <= 2 || c->EntreesCalculees) continue;
    c->EntreesCalculees = true;
    c->EntreesCalcul.Clear();
    for (TPointSpeleo* e : c->ListeEntrees) c->EntreesCalcul.Add(e);
    int meilleure = 0;
    double meilleurePrecision = std::numeric_limits<double>::infinity();
    for (int i = 0; i < c->EntreesCalcul.Count(); ++i) {
      c->CreeListeEntreesCalculees(i);
      CalculeToutReseau(true, avertissements);
      // A trial in which no secondary entrance was measured has no mean: it
      // ranks after every trial that has one.
      c->PrecisCav = c->NbPrecisEntrees > 0 ? c->PrecisEntrees / c->NbPrecisEntrees
                                            : foundation::ValeurIndefiniePositive;
      if (c->PrecisCav < meilleurePrecision) {
        meilleurePrecision = c->PrecisCav;
        meilleure = i;
      }
    }
    c->CreeListeEntreesCalculees(meilleure);
    c->EntreesCalcul.Clear();
  }
  // Shots lose their serials; values are numbered from 0 again, the stored
  // adjustments first.
  for (TCavite* c : cavites)
    for (TVisee* v : c->Visees) v->NumCompens = v->NumBoucle = -1;
  k.CompteurBouclages = 0;
  k.CompteurCompens = 0;
  for (TCompens* a : Compensations)
    if (a->Valeur) a->Valeur->IndexCompens = k.CompteurCompens++;
  // The real pass, then each valid cave's lengths, heights and splay ends.
  CalculeToutReseau(false, avertissements);
  for (TCavite* c : cavites)
    if (c->CaviteValide()) c->CalculeElementsAnnexes(avertissements);
  // The developed elevation of the active cave, when it is the view shown.
  const foundation::TTypeDeDessin type = foundation::Vue().TypeDessinCourant;
  if ((type == foundation::TTypeDeDessin::tddAltiDev || type == foundation::TTypeDeDessin::tddAltiOr) &&
      LaCaviteActive && !LaCaviteActive->EstSurface && Cavites.IndexOf(LaCaviteActive) > 0)
    LaCaviteActive->CalculeCoupeDevel(avertissements);
  SignaleAvertissements(avertissements);
  // What the coordinate system could not give, said once for the document
  // and its system (again when the system changed).
  const std::string systeme = Projection + '#' + std::to_string(NumFuseau);
  if (systeme != SystemeAverti) {
    SystemeAverti = systeme;
    AvertissementsSystemeMontres.clear();
  }
  MontreAvertissementsSysteme(AvertissementsSystemeMontres);
}

void TReseau::CalculeToutReseau(bool Essai, TAvertissementsCalcul& avertissements) {
  ContexteCalcul& k = Calcul();
  const std::vector<TCavite*> cavites = CavitesCalculees(*this);
  // The surface points start anew from their stored altitude, at distance 0.
  if (const TListedePoints* surface = LesPointsSurface())
    for (TPointSpeleo* p : *surface) {
      p->Slh = p->Slp = p->SLAffichee = p->Dhh = p->Dhb = 0;
      p->ZCalc = p->Z;
    }
  // The shots leave the values of the last pass before they go.
  for (TCavite* c : cavites)
    for (TVisee* v : c->Visees) v->CoeffsCompens = v->ValeurBouclage = nullptr;
  k.ValeursTemporaires.clear();
  if (k.Bouclages.VideBouclages) k.Bouclages.VideBouclages();
  k.ListeRapportCalcul.clear();
  k.Convergences.clear();
  DerCompens = Compensations.Count();
  // Every cave, then the loops closed and reported.
  if (!cavites.empty()) {
    if (k.RapportCalculActif && !Essai && LaCaviteActive && !LaCaviteActive->EstSurface) {
      std::string titre = Msg(IdMsg::CalculTitreReseau) + Nom + Msg(IdMsg::CalculCaviteEnCours) +
                          LaCaviteActive->NomCavite;
      if (LaCaviteActive->ListeEntrees.Count() > 1 && LaCaviteActive->SauveEntreeSelectee)
        titre += Msg(IdMsg::CalculEntreeSelectionnee) + LaCaviteActive->SauveEntreeSelectee->DesignPTopo;
      AjouteRapport(titre);
      AjouteRapport({});
    }
    for (TCavite* c : cavites) CalculeCavite(c, avertissements);
    if (k.Bouclages.BouclagesTrouves && k.Bouclages.BouclagesTrouves() && k.Bouclages.FermeBouclages) {
      k.Bouclages.FermeBouclages(
          [&cavites, &avertissements] {
            for (TCavite* c : cavites) c->CalculeTousPoints(false, avertissements);
          },
          avertissements);
    } else if (DerCompens == 0 && k.RapportCalculActif) {
      AjouteRapport(Msg(IdMsg::CalculAucuneCompensation));
    }
    // The real entrances back in place of their virtual points.
    for (int i = Compensations.Count() - 1; i >= DerCompens; --i) {
      TCompens* a = Compensations.UnObjet(i);
      if (!a->PtFin || !a->PtJuste || a->PtFin->TypePoint != PointEntreeVirtuel) continue;
      if (TCavite* c = a->TheCavite()) c->SupprimePointEntreeVirtuel(a->PtJuste, a->PtFin);
      a->PtFin = a->PtJuste;
    }
    // The user's entrance again, the corrections kept on the shots.
    if (!Essai)
      for (TCavite* c : cavites)
        if (c->EntreeSelectee != c->SauveEntreeSelectee) {
          c->EntreeSelectee = c->SauveEntreeSelectee;
          c->ReGenereListePoints(false, avertissements);
          c->CalculeTousPoints(false, avertissements);
        }
    // The loop junction points go; a cave whose virtual points changed is walked
      // again.
    for (TCavite* c : cavites) {
      if (JonctionsVirtuelles(*c))
        c->SupprimePointsVirtuels(avertissements);
      else if (c->PointsVirtuelsModifies)
        c->ReGenereListePoints(false, avertissements);
    }
  }
  // The temporary adjustments go.
  // Their values stay while the shots refer to them: the caves can still be
  // computed again with the corrections of this pass.
  while (Compensations.Count() > std::max(DerCompens, 0)) {
    if (auto& valeur = Compensations.Last()->Valeur) k.ValeursTemporaires.push_back(std::move(valeur));
    Compensations.Delete(Compensations.Count() - 1);
  }
  // The adjustments' misclosures as they stand.
  k.ListeEcartsCompens.Clear();
  for (const TCompens* a : Compensations) k.ListeEcartsCompens.Add(a->CopieEcarts());
  // The network's extremes (not for a trial).
  if (!Essai) CalculeExtremes();
}

void TReseau::CalculeCavite(TCavite* UneCav, TAvertissementsCalcul& avertissements) {
  if (!UneCav) return;
  TCavite& c = *UneCav;
  ContexteCalcul& k = Calcul();
  // The mean precision of the secondary entrances starts anew.
  c.PrecisEntrees = 0;
  c.NbPrecisEntrees = 0;
  try {
    // Secondary entrances: each is tied to its surface point.
    if (c.ListeEntrees.Count() > 1) {
      if (c.ListeEntrees.Count() > 2 && c.EntreesCalculees && !c.ListeEntreesCalculees.Vide()) {
        TPointSpeleo* premiere = c.ListeEntreesCalculees.First();
        if (premiere != c.EntreeSelectee && c.ListeEntrees.Contient(premiere)) {
          c.EntreeSelectee = premiere;
          c.ReGenereListePoints(false, avertissements);
        }
      }
      const std::vector<TPointSpeleo*> entrees = c.ListeEntrees.Points();
      for (TPointSpeleo* e : entrees) {
        if (e == c.EntreeSelectee) continue;
        TPointSpeleo* virtuel = c.CreePointEntreeVirtuel(e);
        if (!virtuel) continue;
        auto a = std::make_unique<TCompens>();
        a->PtFin = virtuel;
        a->PtJuste = e;
        a->typeCompens = CompensPlaniAlti;
        a->EstEntreeScnd = true;
        Compensations.Add(std::move(a));
      }
    }
    // The cave is walked again once: with its loop duplicates when it has
    // loops (which the walk after the virtual entrances tells).
    bool regeneree = false;
    if (c.PointsVirtuelsModifies) {
      c.ReGenereListePoints(false, avertissements);
      regeneree = true;
    }
    if (JonctionsAFaire(c))
      c.CreePointsJonctionVirtuels(avertissements);
    else if (!regeneree)
      c.ReGenereListePoints(false, avertissements);
    // Every station computed from its arriving shot.
    c.CalculeTousPoints(true, avertissements);
    // The adjustments of the cave, in list order.
    bool premiere = true;
    for (int i = 0; i < Compensations.Count(); ++i) {
      TCompens* a = Compensations.UnObjet(i);
      if (!a->PtJuste || a->TheCavite() != &c) continue;
      if (premiere && k.RapportCalculActif) AjouteRapport(Msg(IdMsg::CalculValeursCompensations));
      premiere = false;
      a->CalculeCorrections(avertissements);
    }
  } catch (const std::runtime_error& e) {
    // A documented error (a degenerate transformation, a coordinate
    // system that cannot convert) stops the cave: it keeps what was computed
    // and the caller is told.  A programming error goes on to the command
    // handler.
    avertissements.push_back(
        {nullptr, foundation::RemplaceMarques(Msg(IdMsg::CalculCaviteInterrompu), {c.NomCavite, e.what()})});
  }
}

void EtendVueACavite(foundation::ContexteVue& vue, const TCavite& cavite, bool premiere, bool planSeul) {
  if (premiere) {
    vue.Xmin = cavite.XMinCav;
    vue.Xmax = cavite.XMaxCav;
    vue.Ymin = cavite.YMinCav;
    vue.Ymax = cavite.YMaxCav;
  } else {
    vue.Xmin = std::min(vue.Xmin, cavite.XMinCav);
    vue.Xmax = std::max(vue.Xmax, cavite.XMaxCav);
    vue.Ymin = std::min(vue.Ymin, cavite.YMinCav);
    vue.Ymax = std::max(vue.Ymax, cavite.YMaxCav);
  }
  if (planSeul) return;
  if (premiere) {
    vue.SLmin = cavite.SlMinCav;
    vue.SLmax = cavite.SlMaxCav;
    vue.Zmin = cavite.ZMinCav;
    vue.Zmax = cavite.ZMaxCav;
  } else {
    vue.SLmin = std::min(vue.SLmin, cavite.SlMinCav);
    vue.SLmax = std::max(vue.SLmax, cavite.SlMaxCav);
    vue.Zmin = std::min(vue.Zmin, cavite.ZMinCav);
    vue.Zmax = std::max(vue.Zmax, cavite.ZMaxCav);
  }
}

void TReseau::CalculeExtremes() {
  foundation::ContexteVue& vue = foundation::Vue();
  bool premiere = true;
  for (TCavite* c : CavitesCalculees(*this)) {
    if (!c->CaviteValide()) continue;
    c->CalculePointsExtremes();
    EtendVueACavite(vue, *c, premiere);
    premiere = false;
  }
}

}  // namespace survey
