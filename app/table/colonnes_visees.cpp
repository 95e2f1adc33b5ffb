#include "app/table/colonnes_visees.h"

#include <algorithm>
#include <numeric>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "survey/lever.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;

const LargeursColonnes& LargeursInitiales() {
  static const LargeursColonnes l = {90, 80, 60, 60, 50, 50, 50, 60, 60, 80, 80, 50, 60, 50, 50, 50, 50, 40, 150};
  return l;
}

const std::array<std::string, NombreColonnesVisees>& TitresColonnes() {
  static const std::array<std::string, NombreColonnesVisees> t = [] {
    const IdMsg ids[NombreColonnesVisees - 2] = {
        IdMsg::AppColStation, IdMsg::AppColPointVise, IdMsg::AppColAZ,    IdMsg::AppColP,      IdMsg::AppColdH,
        IdMsg::AppColL,       IdMsg::AppColLh,        IdMsg::AppColDebTpf, IdMsg::AppColFinTpf, IdMsg::AppColX,
        IdMsg::AppColY,       IdMsg::AppColZ,         IdMsg::AppColSLh,   IdMsg::AppColLGa,    IdMsg::AppColLDr,
        IdMsg::AppColHSup,    IdMsg::AppColHInf};
    std::array<std::string, NombreColonnesVisees> r;
    for (int i = 0; i < NombreColonnesVisees - 2; ++i) r[static_cast<size_t>(i)] = Msg(ids[i]);
    r[ColonneCommentaires] = Msg(IdMsg::AppColCommentaires);
    return r;
  }();
  return t;
}

bool ColonneADroite(int colonne) { return (colonne >= 2 && colonne <= 6) || (colonne >= 9 && colonne <= 16); }

int LargeurCommentaires(int largeurTable, const LargeursColonnes& largeurs) {
  const int somme = std::accumulate(largeurs.begin(), largeurs.begin() + ColonneCommentaires, 0);
  return std::max(LargeurMiniCommentaires, largeurTable - somme);
}

LargeursColonnes LargeursDisposition(const EtatColonnes& etat, int largeurTable, int largeurMesures) {
  LargeursColonnes l = LargeursInitiales();
  // A back-sight azimuth or slope with its mark fits its column.
  for (const int c : {ColonneAzimut, ColonnePente}) l[c] = std::max(l[c], largeurMesures);
  // Columns 7 to 12: fixed byte constants of each layout.
  static constexpr std::array<int, 6> topofil = {60, 60, 0, 0, 0, 0};
  static constexpr std::array<int, 6> simple = {0, 0, 0, 0, 0, 0};
  static constexpr std::array<int, 6> coordonnees = {0, 0, 80, 80, 57, 60};
  const auto& l7 = etat.Coordonnees ? coordonnees : etat.ColonnesTopofil ? topofil : simple;
  std::copy(l7.begin(), l7.end(), l.begin() + 7);
  for (int c = 13; c <= 16; ++c) l[static_cast<size_t>(c)] = etat.Dimensions ? 40 : 0;
  l[ColonneCommentaires] = LargeurCommentaires(largeurTable, l);
  return l;
}

const std::array<std::string, 3>& TextesMesuresLesPlusLarges() {
  static const std::array<std::string, 3> t = [] {
    std::array<std::string, 3> r;
    // A sign and four eights: the digits share one width in the table's fonts.
    for (int unite = 0; unite < 3; ++unite)
      r[static_cast<size_t>(unite)] = "i " + foundation::ReelEnStr(-888.8, 6, 1) + survey::SuffixeUnite(unite);
    return r;
  }();
  return t;
}

std::string TitrePointVise(bool habiExistent, bool habiAffichees) {
  std::string t = Msg(IdMsg::AppColPointVise) + "  ";
  if (habiExistent) t += habiAffichees ? "-" : "+";
  return t;
}

uint32_t CouleurLigneVisee(const survey::TValeurVisee& visee, bool ligneEntiere, uint32_t surbrillance) {
  if (visee.EstHabi) return CouleurHabi;
  const bool inversee = ligneEntiere ? visee.InvVisee : !visee.InvVisee;
  if (visee.EstExclue()) return inversee ? CouleurExclueInversee : CouleurExclue;
  return inversee ? CouleurNoire : surbrillance;
}

uint32_t CouleurSuites(const survey::TValeurVisee& visee) {
  if (visee.EstHabi) return CouleurNoire;
  const auto& v = static_cast<const survey::TVisee&>(visee);
  if (!v.PtCalc || !v.PtCalc->SuiteRenseignee()) return CouleurNoire;
  return v.PtCalc->SuitePossible() ? CouleurSuitePossible : CouleurSuiteFaite;
}

uint32_t CouleurCellule(const survey::TValeurVisee& visee, int colonne, uint32_t surbrillance) {
  if (colonne == ColonneStation) return CouleurLigneVisee(visee, true, surbrillance);
  if (colonne == ColonnePointVise) {
    if (visee.EstHabi) return CouleurHabi;
    const auto& v = static_cast<const survey::TVisee&>(visee);
    if (v.PtOrigCalc && v.PtOrigCalc->PtRattache) return CouleurLigneVisee(visee, false, surbrillance);
    return CouleurNonRattache;
  }
  if (colonne == ColonneSuites) return CouleurSuites(visee);
  return CouleurNoire;
}

}  // namespace app
