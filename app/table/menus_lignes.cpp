#include "app/table/menus_lignes.h"

#include "foundation/catalogue.h"
#include "survey/cavite.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/visee.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using foundation::RemplaceMarques;
using survey::TPointSpeleo;
using survey::TVisee;

namespace {

std::string NomPoint(const TPointSpeleo* p) { return p ? p->DesignPTopo : std::string(); }

std::string NomGalerie(const survey::TGalerie* g) { return g ? g->NomGalerie : std::string(); }

// The origin, end and gallery of a shot, as the loop item names it.
std::vector<std::string> DesignationVisee(const TVisee& v) {
  return {NomPoint(v.PtOrigCalc), NomPoint(v.PtCalc), NomGalerie(v.GalDeLaVis())};
}

}  // namespace

std::vector<TVisee*> ViseesMultiCalcul(const survey::TCavite& cavite, const TVisee& visee) {
  std::vector<TVisee*> autres;
  const TPointSpeleo* p = visee.PtCalc;
  if (!p) return autres;
  for (TVisee* v : cavite.Visees)
    if (v != &visee && v->PtCalc == p) autres.push_back(v);
  return autres;
}

std::vector<EntreeMenuLigne> EntreesMenuLigne(const survey::TCavite& cavite, const TVisee& visee,
                                              bool premiereLigne) {
  using E = ElementMenuLigne;
  const TPointSpeleo* p = visee.PtCalc;
  const bool finBranche = p && p->EstFinBranche();
  const survey::PortsSurvey& ports = survey::Ports();
  const bool choixRattachement = static_cast<bool>(ports.ChoisitPointRattachement);
  const bool choixSurface = static_cast<bool>(ports.ChoisitPointSurface);
  const bool departSurface = visee.PtOrigCalc && visee.PtOrigCalc->EstPointSurface();

  std::vector<EntreeMenuLigne> r;
  const auto ajoute = [&r](E element, IdMsg texte, bool visible, bool actif = true) -> EntreeMenuLigne& {
    EntreeMenuLigne e{element, Msg(texte), visible, actif};
    r.push_back(e);
    return r.back();
  };
  ajoute(E::ChangerOrigine, IdMsg::AppMnuChangerOrigine,
         !premiereLigne && finBranche && cavite.ListeEntrees.Count() == 1, choixSurface);
  ajoute(E::CreerCompensation, IdMsg::AppMnuCreerCompensation, p && p->PtRattache);
  ajoute(E::SupprimerFinGalerie, IdMsg::AppMnuSupprimerFinGalerie, !premiereLigne);
  ajoute(E::IndividualiserFinGalerie, IdMsg::AppMnuIndividualiserFinGalerie, true);
  ajoute(E::ChangerRattachement, IdMsg::AppMnuChangerRattachement, true,
         departSurface ? choixSurface : choixRattachement);
  ajoute(E::ImporterPartie, IdMsg::AppMnuImportPartieAutreCavite, true);

  // The loop item: the station computed several times names the other
  // shots that reach it (the first in its caption, the next ones in items of
  // their own); else a loop partner names itself.  The item goes where its
  // caption says.
  const size_t iBoucle = r.size();
  ajoute(E::PointDeBoucle, IdMsg::AppMnuPointDeBoucle, false);
  const std::vector<TVisee*> autres = ViseesMultiCalcul(cavite, visee);
  if (p && p->NbCalc > 1 && !autres.empty()) {
    EntreeMenuLigne& b = r[iBoucle];
    b.Visible = true;
    std::vector<std::string> valeurs = DesignationVisee(*autres.front());
    valeurs.insert(valeurs.begin(), std::to_string(autres.size() + 1));
    b.Libelle = RemplaceMarques(Msg(IdMsg::AppMnuPointCalcule), valeurs);
    b.Cible = autres.front();
    for (size_t i = 1; i < autres.size(); ++i) {
      EntreeMenuLigne suivante{E::AllerAVisee, RemplaceMarques(Msg(IdMsg::AppMnuAllerAVisee), DesignationVisee(*autres[i])),
                               true, true};
      suivante.Cible = autres[i];
      r.push_back(suivante);
    }
  } else if (const TPointSpeleo* q = p ? p->PtBoucleAsso : nullptr) {
    EntreeMenuLigne& b = r[iBoucle];
    b.Visible = true;
    b.Libelle = RemplaceMarques(Msg(IdMsg::AppMnuPointBoucle), {NomPoint(q), NomGalerie(q->GalduPt)});
    const survey::TCavite* autre = survey::TCavite::CaviteDuPoint(q);
    if (autre && autre != &cavite) {
      b.Libelle += RemplaceMarques(Msg(IdMsg::AppMnuDansLaCavite), {autre->NomCavite});
      b.AutreCavite = true;
    } else {
      b.Cible = q->ViseeAvant;
      // A partner no shot reaches gives nothing to go to.
      b.Actif = b.Cible != nullptr;
    }
  }

  ajoute(E::CreerBoucle, IdMsg::AppMnuCreerBoucle, true, choixRattachement);
  const bool bouclage = cavite.EstViseeBouclage(&visee);
  ajoute(E::TransfoViseeBouclage, IdMsg::AppMnuTransfoViseeBouclage, bouclage);
  // Only a shot of a loop has an attachment to delete: any other shot is
  // deleted with its own command, which keeps the shots after it attached.
  ajoute(E::SupprimerRattachement, IdMsg::AppMnuSupprimerRattachement, bouclage);
  // A shot without previous shot has none to hang on as a splay.
  ajoute(E::TransfoEnHabi, IdMsg::AppMnuTransfoEnHabi, finBranche && !visee.PointAHabi(p) && visee.ViseePreced());
  ajoute(E::Renumeroter, IdMsg::AppMnuRenumeroter, true);
  return r;
}

}  // namespace app
