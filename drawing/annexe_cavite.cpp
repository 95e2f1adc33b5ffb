#include "drawing/annexe_cavite.h"

#include "drawing/contexte_dessin.h"
#include "drawing/ports_dessin.h"
#include "foundation/catalogue.h"
#include "foundation/niveau_fichier.h"
#include "foundation/transformation_vue.h"
#include "survey/cavite.h"
#include "survey/lever.h"

namespace drawing {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;

namespace {

constexpr int32_t kNiveauCoupesLong = 204;

bool EcritStyle(TFlux& f, TObjetTrait* style) {
  if (!style) return f.EcritOctet(0);
  return f.EcritOctet(1) && style->EcritObjet(f);
}

bool LitStyle(TFlux& f, std::unique_ptr<TObjetTrait>& style) {
  uint8_t present = 0;
  if (!f.LitOctet(present)) return false;
  style.reset();
  if (present == 0) return true;
  style = std::make_unique<TObjetTrait>();
  return style->LitObjet(f);
}

}  // namespace

TAnnexeDessinCavite::TAnnexeDessinCavite(survey::TCavite& cavite)
    : Cavite(cavite), LeDessinPlani(std::make_unique<TDonneesDessinBasique>()) {
  LesCoupesLong.CaviteProprio = &Cavite;
  auto globale = std::make_unique<TDonneesCoupeLong>();
  globale->ListeDonneesDessin.TypeDeDessin = foundation::TTypeDeDessin::tddAltiOr;
  globale->DesignCoupe = Msg(IdMsg::ReseauCoupeDeveloppeeGlobale);
  LesCoupesLong.Add(std::move(globale));
  DonneViseesEtCavite();
}

TAnnexeDessinCavite::~TAnnexeDessinCavite() = default;

void TAnnexeDessinCavite::DonneViseesEtCavite() {
  LeDessinPlani->DefViseesDeRef(&Cavite.Visees);
  for (TDonneesCoupeLong* c : LesCoupesLong) {
    c->DefCaviteProprio(&Cavite);
    c->DefViseesDeRef(&Cavite.Visees);
  }
  LeDessinAltiOr = LesCoupesLong.First();
  if (!LeDessinAlti || LesCoupesLong.IndexOf(LeDessinAlti) < 0) LeDessinAlti = LeDessinAltiOr;
  for (TDessinPkTp* s : DessinsPkTp) {
    s->DessinAltiRef = LeDessinAltiOr;
    s->DefViseesDeRef(&Cavite.Visees);
  }
}

// --- The cave's record and the document --------------------------------------------------------------

bool TAnnexeDessinCavite::EcritStylesCavite(TFlux& f) {
  return EcritStyle(f, MotifAxeCavite.get()) && EcritStyle(f, MotifDimCavite.get());
}

bool TAnnexeDessinCavite::LitStylesCavite(TFlux& f) {
  return LitStyle(f, MotifAxeCavite) && LitStyle(f, MotifDimCavite);
}

bool TAnnexeDessinCavite::EcritDessins(TFlux& f) {
  GardeValeur<survey::TCavite*> cavite(Dessin().CaviteDessinCourante, &Cavite);
  return DessinsPkTp.EcritListe(f) && LeDessinPlani->EcritObjet(f) && LesCoupesLong.EcritListe(f);
}

bool TAnnexeDessinCavite::LitDessins(TFlux& f) {
  GardeValeur<survey::TCavite*> cavite(Dessin().CaviteDessinCourante, &Cavite);
  LeDessinPlani = std::make_unique<TDonneesDessinBasique>();
  LesCoupesLong.Clear();
  LeDessinAlti = LeDessinAltiOr = nullptr;
  bool ok = DessinsPkTp.LitListe(f) && LeDessinPlani->LitObjet(f);
  if (ok && foundation::NiveauFichier().VersionFichierLue >= kNiveauCoupesLong) ok = LesCoupesLong.LitListe(f);
  DonneViseesEtCavite();
  return ok;
}

void TAnnexeDessinCavite::AffecteLeversCroquis() {
  for (TDessinPkTp* s : DessinsPkTp) {
    const survey::TLever* l = s->indLever < 0 ? nullptr : Cavite.Levers.UnLever(s->indLever);
    s->LeverDeRef = l ? l : survey::LeverParDefaut();
  }
}

bool TAnnexeDessinCavite::CorrigeCoupesAnciennes() {
  TDonneesCoupeLong* seconde = UneCoupeLong(1);
  if (!seconde || !seconde->MisesEnPageCoupe.Vide() || !seconde->DessinVide()) return false;
  if (LeDessinAlti == seconde) LeDessinAlti = nullptr;
  LesCoupesLong.Delete(1);
  TDonneesCoupeLong* premiere = UneCoupeLong(0);
  if (premiere->DesignCoupe == Msg(IdMsg::ReseauCoupeOrienteeGlobale))
    premiere->DesignCoupe = Msg(IdMsg::ReseauCoupeDeveloppeeGlobale);
  DonneViseesEtCavite();
  return true;
}

bool TAnnexeDessinCavite::EcritConfig(TFlux& f) {
  if (!LeDessinPlani->EcritConfig(f)) return false;
  for (TDonneesCoupeLong* c : LesCoupesLong)
    if (!c->EcritConfig(f)) return false;
  return true;
}

bool TAnnexeDessinCavite::LitConfig(TFlux& f, bool coupesDecalees) {
  if (!LeDessinPlani->LitConfig(f)) return false;
  // Documents whose second long section was dropped on reading hold one more
  // configuration, first, for the first section.
  if (coupesDecalees && !LesCoupesLong.Vide() && !LesCoupesLong.First()->LitConfig(f)) return false;
  for (TDonneesCoupeLong* c : LesCoupesLong)
    if (!c->LitConfig(f)) return false;
  return true;
}

// --- Network-wide operations ---------------------------------------------------------------------------

void TAnnexeDessinCavite::ChangeProjection(const std::string& ancien, int32_t ancienFuseau, int32_t nouveauFuseau,
                                           const std::string& nouveau) {
  LeDessinPlani->ChangeProjection(ancien, ancienFuseau, nouveau, nouveauFuseau);
}

void TAnnexeDessinCavite::ChangeCouleurFiligr(uint32_t ancienne) {
  LeDessinPlani->ChangeCouleurFiligr(ancienne);
  for (TDonneesCoupeLong* c : LesCoupesLong) c->ChangeCouleurFiligr(ancienne);
}

bool TAnnexeDessinCavite::UtiliseMotif(const survey::TMotifDocument* m) {
  // The locks of a used pattern are set on the way.
  auto* motif = const_cast<TObjetMotifdeBase*>(MotifDe(m));
  if (!motif) return false;
  if (LeDessinPlani->CalculeVerrousMtf(motif)) return true;
  for (TDonneesCoupeLong* c : LesCoupesLong)
    if (c->CalculeVerrousMtf(motif)) return true;
  for (TDessinPkTp* s : DessinsPkTp) {
    if (s->pktpDessinPlani.CalculVerrousMotifdeBase(motif) || s->pktpDessinAltiOr.CalculVerrousMotifdeBase(motif))
      return true;
    for (auto* liste : {&s->pktpCoupesPlani, &s->pktpCoupesAlti})
      for (TCoupePkTp* c : *liste)
        if (c->CalculVerrousMotifdeBase(motif)) return true;
  }
  return false;
}

void TAnnexeDessinCavite::FusionneMotifs(survey::TMotifDocument* motifGarde, survey::TMotifDocument* motifFusionne) {
  TObjetMotifdeBase* garde = MotifDe(motifGarde);
  TObjetMotifdeBase* fusionne = MotifDe(motifFusionne);
  if (!fusionne) return;
  LeDessinPlani->FusionneMotifsdeBase(garde, fusionne);
  const auto& fusionneMep = PortsDonnees().FusionneMotifsMiseEnPage;
  for (TDonneesCoupeLong* c : LesCoupesLong) {
    c->FusionneMotifsdeBase(garde, fusionne);
    if (fusionneMep)
      for (foundation::TObjetDeListe* m : c->MisesEnPageCoupe) fusionneMep(*m, garde, fusionne);
  }
  for (TDessinPkTp* s : DessinsPkTp) {
    s->pktpDessinPlani.FusionneMotifsdeBase(garde, fusionne);
    s->pktpDessinAltiOr.FusionneMotifsdeBase(garde, fusionne);
    for (auto* liste : {&s->pktpCoupesPlani, &s->pktpCoupesAlti})
      for (TCoupePkTp* c : *liste) c->FusionneMotifsdeBase(garde, fusionne);
  }
}

double TAnnexeDessinCavite::EchelleParDefaut() const {
  if (LeDessinPlani->EchelleDessin > 0) return LeDessinPlani->EchelleDessin;
  for (const TDonneesCoupeLong* c : LesCoupesLong)
    if (c->EchelleDessin > 0) return c->EchelleDessin;
  return -1;
}

void TAnnexeDessinCavite::RelogeMotifs(const TRelogeMotifs& reloge) {
  LeDessinPlani->RelogeMotifs(reloge);
  for (TDonneesCoupeLong* c : LesCoupesLong) c->RelogeMotifs(reloge);
  for (TDessinPkTp* s : DessinsPkTp) s->RelogeMotifs(reloge);
}

// --- Survey changes ---------------------------------------------------------------------------------------

void TAnnexeDessinCavite::CalculeDessinPlani() {
  LeDessinPlani->ListePolyGal.Clear();
  if (!Cavite.CaviteValide()) return;
  ContexteDessin& d = Dessin();
  // The plan drawing is placed in plan whatever the window asking for it.
  foundation::GardeTypeDessin plan(foundation::TTypeDeDessin::tddPlani);
  CalculeContoursPlani(Cavite, LeDessinPlani->ListePolyGal);
  GardeIndexVisees index;
  // The cave, its extent and the sections' coefficient stay set for the
  // windows that draw afterwards.
  d.CaviteDessinCourante = &Cavite;
  FixeEtendueDessin(Cavite.XMinCav, Cavite.XMaxCav, Cavite.YMinCav, Cavite.YMaxCav);
  d.CoeffRelatif = LeDessinPlani->CoeffDessinCoupes;
  LeDessinPlani->CalculeDessin();
  d.CoeffRelatif = 1.0;
  for (TDessinPkTp* s : DessinsPkTp) {
    s->pktpDessinPlani.CalculeDessin();
    for (TCoupePkTp* c : s->pktpCoupesPlani) {
      c->LeCoeffDessinCoupe = 1.0;
      c->CalculePoints();
    }
  }
  d.CoeffRelatif = LeDessinPlani->CoeffDessinCoupes;
  d.RecalculeTextes = false;
}

void TAnnexeDessinCavite::EffaceObjetsSansPoints() {
  LeDessinPlani->EffaceObjetsSansPoints();
  for (TDonneesCoupeLong* c : LesCoupesLong) c->EffaceObjetsSansPoints();
  // Entries of deleted shots go; a partial section left without shot goes
  // with them (never the cave's own elevation).
  bool altiSupprime = false;
  LesCoupesLong.SupprimeSi([&](TDonneesCoupeLong* c) {
    const bool vide = c->CoupeVide();
    const bool videe = c->MajViseesEffacees();
    const bool supprime = c != LeDessinAltiOr && c->Partielle && (vide || videe);
    if (supprime && c == LeDessinAlti) altiSupprime = true;
    return supprime;
  });
  if (altiSupprime) LeDessinAlti = LeDessinAltiOr;
  for (TDessinPkTp* s : DessinsPkTp) {
    s->pktpDessinPlani.EffaceObjetsSansPoints();
    s->pktpDessinAltiOr.EffaceObjetsSansPoints();
    for (auto* liste : {&s->pktpCoupesPlani, &s->pktpCoupesAlti})
      liste->SupprimeSi([](const TCoupePkTp* c) { return !c->ObjetValide(); });
  }
  DessinsPkTp.SupprimeSi([](const TDessinPkTp* s) { return s->EstDessinVide(); });
}

void TAnnexeDessinCavite::Nettoie(const survey::TSuppressions& s) {
  LeDessinPlani->Nettoie(s);
  for (TDonneesCoupeLong* c : LesCoupesLong) c->Nettoie(s);
  for (TDessinPkTp* d : DessinsPkTp) d->Nettoie(s);
}

std::vector<std::string> TAnnexeDessinCavite::CoupesAEffacer() const {
  std::vector<std::string> noms;
  for (int i = 2; i < LesCoupesLong.Count(); ++i)
    if (const TDonneesCoupeLong* c = LesCoupesLong.UnObjet(i); c->TesteAEffacer()) noms.push_back(c->DesignCoupe);
  return noms;
}

void TAnnexeDessinCavite::AjouteDessinsCavite(survey::TAnnexeCavite& autre) {
  auto* a = dynamic_cast<TAnnexeDessinCavite*>(&autre);
  if (!a || a == this) return;
  a->LeDessinPlani->AjouteDessinCavite(*LeDessinPlani);
  if (a->LeDessinAltiOr && LeDessinAltiOr) a->LeDessinAltiOr->AjouteDessinCavite(*LeDessinAltiOr);
  TDonneesCoupeLong* premiere = a->LesCoupesLong.First();
  for (auto& c : a->LesCoupesLong.ExtraitSi([&](const TDonneesCoupeLong* c) { return c != premiere; }))
    LesCoupesLong.Add(std::move(c));
  a->LesCoupesLong.SupprimeSi([](const TDonneesCoupeLong*) { return true; });
  a->LeDessinAltiOr = a->LeDessinAlti = nullptr;
  for (auto& s : a->DessinsPkTp.ExtraitTout()) DessinsPkTp.Add(std::move(s));
  DonneViseesEtCavite();
}

TAnnexeDessinCavite* AnnexeDessin(const survey::TCavite* cavite) {
  return cavite ? dynamic_cast<TAnnexeDessinCavite*>(cavite->Annexe.get()) : nullptr;
}

void InstalleAnnexeDessin() {
  survey::Ports().CreeAnnexeCavite = [](survey::TCavite& c) { return std::make_unique<TAnnexeDessinCavite>(c); };
}

}  // namespace drawing
