#include "drawing/croquis.h"

#include "drawing/contexte_dessin.h"
#include "survey/cavite.h"
#include "survey/point_speleo.h"
#include "survey/suppressions.h"

namespace drawing {

using foundation::TFlux;

// --- Sketch sections ----------------------------------------------------------------------------

void TCoupePkTp::Nettoie(const survey::TSuppressions& s) {
  TDonneesCoupe::Nettoie(s);
  s.Redirige(StationRef);
}

bool TCoupePkTp::EcritObjet(TFlux& f) {
  if (!TDonneesCoupe::EcritObjet(f)) return false;
  return EcrisInteger(StationRef ? StationRef->IndiceReseau : -1);
}

bool TCoupePkTp::LitObjet(TFlux& f) {
  if (!TDonneesCoupe::LitObjet(f)) return false;
  int32_t i = -1;
  if (!LisInteger(i)) return false;
  StationRef = survey::LePointReseau(i);
  return true;
}

// --- Sketches -----------------------------------------------------------------------------------------

TDessinPkTp::TDessinPkTp() { pktpDessinAltiOr.TypeDeDessin = foundation::TTypeDeDessin::tddAltiOr; }

bool TDessinPkTp::EstDessinVide() const {
  return pktpDessinPlani.LesMultiPoints.Vide() && pktpDessinAltiOr.LesMultiPoints.Vide() && pktpCoupesPlani.Vide() &&
         pktpCoupesAlti.Vide();
}

void TDessinPkTp::DefViseesDeRef(const TViseesDeRef& visees) {
  pktpDessinPlani.LesViseesDessin = visees;
  pktpDessinAltiOr.LesViseesDessin = visees;
}

void TDessinPkTp::Nettoie(const survey::TSuppressions& s) {
  s.Efface(LeverDeRef);
  pktpDessinPlani.Nettoie(s);
  pktpDessinAltiOr.Nettoie(s);
  for (TCoupePkTp* c : pktpCoupesPlani) c->Nettoie(s);
  for (TCoupePkTp* c : pktpCoupesAlti) c->Nettoie(s);
}

void TDessinPkTp::RelogeMotifs(const TRelogeMotifs& reloge) {
  pktpDessinPlani.RelogeMotifs(reloge);
  pktpDessinAltiOr.RelogeMotifs(reloge);
  for (TCoupePkTp* c : pktpCoupesPlani) c->RelogeMotifs(reloge);
  for (TCoupePkTp* c : pktpCoupesAlti) c->RelogeMotifs(reloge);
}

bool TDessinPkTp::EcritObjet(TFlux& f) {
  GardeValeur<bool> croquis(Dessin().ContexteCroquis, true);
  if (const survey::TCavite* cavite = Dessin().CaviteDessinCourante; cavite && LeverDeRef)
    indLever = cavite->Levers.IndexOf(LeverDeRef);
  InitES(f);
  if (!EcrisInteger(indLever)) return false;
  return ResultObjet = pktpDessinPlani.EcritObjet(f) && pktpCoupesPlani.EcritListe(f) &&
                       pktpDessinAltiOr.EcritObjet(f) && pktpCoupesAlti.EcritListe(f);
}

bool TDessinPkTp::LitObjet(TFlux& f) {
  GardeValeur<bool> croquis(Dessin().ContexteCroquis, true);
  InitES(f);
  if (!LisInteger(indLever)) return false;
  const bool ok = pktpDessinPlani.LitObjet(f) && pktpCoupesPlani.LitListe(f) && pktpDessinAltiOr.LitObjet(f) &&
                  pktpCoupesAlti.LitListe(f);
  for (TCoupePkTp* c : pktpCoupesPlani) {
    c->UnDessinPkTp = this;
    c->CoupePkTpPlani = true;
  }
  for (TCoupePkTp* c : pktpCoupesAlti) {
    c->UnDessinPkTp = this;
    c->CoupePkTpPlani = false;
  }
  return ResultObjet = ok;
}

}  // namespace drawing
