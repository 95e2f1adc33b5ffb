#include "drawing/donnees_coupe_long.h"

#include <unordered_map>
#include <unordered_set>

#include "drawing/contexte_dessin.h"
#include "drawing/ports_dessin.h"
#include "foundation/niveau_fichier.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/reseau.h"
#include "survey/suppressions.h"
#include "survey/visee.h"

namespace drawing {

using foundation::TFlux;

namespace {

constexpr int32_t kNiveauIndexCavite = 509;
constexpr int32_t kNiveauEntreeIgnoree = 507;
constexpr int32_t kNiveauSens = 220;
constexpr int32_t kNiveauCoupeLong = 204;

int32_t Niveau() { return foundation::NiveauFichier().VersionFichierLue; }

// Stands for the page layouts while no page-layout module is installed: it
// reads and writes nothing, so only sections without layout are read.
class TMiseEnPageAbsente : public foundation::TObjetDeListe {
 public:
  bool EcritObjet(TFlux&) override { return false; }
  bool LitObjet(TFlux&) override { return false; }
};

foundation::TClassObjetDeListe ClasseMisesEnPage() {
  const foundation::TClassObjetDeListe c = PortsDonnees().ClasseMiseEnPage;
  return c ? c : foundation::ClasseDe<TMiseEnPageAbsente>();
}

}  // namespace

// --- Entries ------------------------------------------------------------------------------------------

bool TViseeCoupe::EcritObjet(TFlux& f) {
  InitES(f);
  EcrisInteger(UneVisee ? UneVisee->IndexCavDeLaVis : -1);
  EcrisInteger(UneVisee ? UneVisee->IndexFichier : -1);
  return EcrisOctet(static_cast<uint8_t>(SensVisee));
}

bool TViseeCoupe::LitObjet(TFlux& f) {
  const int32_t niveau = Niveau();
  int32_t cavite = -1, visee = -1, ignore = 0;
  uint8_t sens = 0;
  InitES(f);
  if (niveau >= kNiveauIndexCavite)
    LisInteger(cavite);
  else
    cavite = static_cast<int32_t>(survey::LectureReseau().ListesViseesLues.size()) - 1;
  LisInteger(visee);
  if (niveau == kNiveauEntreeIgnoree) LisInteger(ignore);
  if (!LisOctet(sens)) return false;
  SensVisee = niveau >= kNiveauSens ? static_cast<int8_t>(sens) : (sens != 0 ? -1 : 1);
  UneVisee = survey::ViseeLue(cavite, visee);
  return true;
}

// --- Long sections ----------------------------------------------------------------------------------

TDonneesCoupeLong::TDonneesCoupeLong() : MisesEnPageCoupe(ClasseMisesEnPage()) {}

TDonneesCoupeLong::~TDonneesCoupeLong() = default;

survey::TVisee* TDonneesCoupeLong::LaViseeCoupe(int i) const {
  const TViseeCoupe* e = ViseesCoupe.UnObjet(i);
  return e ? e->UneVisee : nullptr;
}

int8_t TDonneesCoupeLong::SensViseeCoupe(int i) const {
  const TViseeCoupe* e = ViseesCoupe.UnObjet(i);
  return e ? e->SensVisee : 0;
}

bool TDonneesCoupeLong::ViseeExiste(const survey::TVisee* UneVisee) const {
  if (!UneVisee) return false;
  for (const TViseeCoupe* e : ViseesCoupe)
    if (e->UneVisee == UneVisee) return true;
  return false;
}

void TDonneesCoupeLong::AjouteViseeCoupe(survey::TVisee* vVisee) {
  auto e = std::make_unique<TViseeCoupe>();
  e->UneVisee = vVisee;
  e->SensVisee = vVisee ? static_cast<int8_t>(static_cast<uint8_t>(vVisee->SensDessinCoupeOr & 0xFF)) : 1;
  ViseesCoupe.Add(std::move(e));
}

void TDonneesCoupeLong::TransfereViseeCoupe(const TViseeCoupe& vViseeCoupe) {
  auto e = std::make_unique<TViseeCoupe>();
  e->UneVisee = vViseeCoupe.UneVisee;
  e->SensVisee = vViseeCoupe.SensVisee;
  ViseesCoupe.Add(std::move(e));
}

void TDonneesCoupeLong::MajListeViseesCoupe(const survey::TListeDeVisees& Visees) {
  if (Partielle) {
    for (TViseeCoupe* e : ViseesCoupe)
      if (e->UneVisee) e->SensVisee = static_cast<int8_t>(static_cast<uint8_t>(e->UneVisee->SensDessinCoupeOr & 0xFF));
    return;
  }
  ViseesCoupe.Clear();
  for (survey::TVisee* v : Visees)
    if (v->SensDessinCoupeOr != 1) AjouteViseeCoupe(v);
}

void TDonneesCoupeLong::GenereListeCavitesCoupe() {
  ListeCavitesCoupe.clear();
  std::unordered_set<const survey::TCavite*> vues;
  auto ajoute = [&](survey::TCavite* c) {
    if (c && vues.insert(c).second) ListeCavitesCoupe.push_back(c);
  };
  if (!Partielle) ajoute(CavProprio);
  for (const TViseeCoupe* e : ViseesCoupe)
    if (e->UneVisee) ajoute(e->UneVisee->CavDeLaVis);
}

void TDonneesCoupeLong::NettoieAutresCav(const survey::TCavite* vCav) {
  auto autre = [vCav](const survey::TVisee* v) { return v && v->CavDeLaVis != vCav; };
  ViseesCoupe.SupprimeSi([&](const TViseeCoupe* e) { return autre(e->UneVisee); });
  ListeDonneesDessin.PourTousObjets([&](TObjetDonneesBasique& o) {
    for (TPointDessin* p : o.Points)
      if (autre(p->VisRefDessin)) p->VisRefDessin = nullptr;
  });
  for (TDonneesCoupe* c : ListeCoupes)
    for (TPointDessin* p : {c->PointDeCoupe.get(), c->PointPosition.get()})
      if (autre(p->VisRefDessin)) p->VisRefDessin = nullptr;
  RafraichitViseesPropres();
}

bool TDonneesCoupeLong::CoupeVide() const {
  if (!Partielle) return false;
  for (const TViseeCoupe* e : ViseesCoupe)
    if (e->UneVisee && !e->UneVisee->AEffacer) return false;
  return true;
}

bool TDonneesCoupeLong::TesteAEffacer() const {
  if (!Partielle) return false;
  for (const TViseeCoupe* e : ViseesCoupe)
    if (!e->UneVisee || !e->UneVisee->AEffacer) return false;
  return true;
}

bool TDonneesCoupeLong::MajViseesEffacees() {
  ViseesCoupe.SupprimeSi([](const TViseeCoupe* e) { return e->UneVisee && e->UneVisee->AEffacer; });
  RafraichitViseesPropres();
  return Partielle && ViseesCoupe.Vide();
}

void TDonneesCoupeLong::DefViseesDeRef(TViseesDeRef visees) {
  if (!Partielle) {
    TDonneesDessinBasique::DefViseesDeRef(visees);
    return;
  }
  TDonneesDessinBasique::DefViseesDeRef(&viseesPropres_);
  MajListeViseesDeRef();
}

void TDonneesCoupeLong::MajListeViseesDeRef() {
  if (!Partielle) return;
  viseesPropres_.Visees.clear();
  for (const TViseeCoupe* e : ViseesCoupe) {
    if (!e->UneVisee) continue;
    viseesPropres_.Add(e->UneVisee);
    e->UneVisee->SensDessinCoupeOr = e->SensVisee;
  }
}

void TDonneesCoupeLong::RafraichitViseesPropres() {
  if (!Partielle) return;
  viseesPropres_.Visees.clear();
  for (const TViseeCoupe* e : ViseesCoupe)
    if (e->UneVisee) viseesPropres_.Add(e->UneVisee);
}

void TDonneesCoupeLong::Nettoie(const survey::TSuppressions& s) {
  TDonneesDessinBasique::Nettoie(s);
  if (s.Visees().empty()) return;
  ViseesCoupe.SupprimeSi([&](const TViseeCoupe* e) { return s.ViseeSupprimee(e->UneVisee); });
  std::erase_if(viseesPropres_.Visees, [&](const survey::TVisee* v) { return s.ViseeSupprimee(v); });
}

bool TDonneesCoupeLong::EcritObjet(TFlux& f) {
  if (!TDonneesDessinBasique::EcritObjet(f)) return false;
  // Entries whose shot is gone are not written.
  ViseesCoupe.SupprimeSi([](const TViseeCoupe* e) { return !e->UneVisee; });
  const bool ok = f.EcritBoolean(Partielle) && ViseesCoupe.EcritListe(f) && foundation::EcritChaineA(f, DesignCoupe) &&
                  MisesEnPageCoupe.EcritListe(f);
  return ResultObjet = ok;
}

bool TDonneesCoupeLong::LitObjet(TFlux& f) {
  if (!TDonneesDessinBasique::LitObjet(f)) return false;
  if (Niveau() < kNiveauCoupeLong) return ResultObjet = true;
  bool ok = f.LitBoolean(Partielle) && ViseesCoupe.LitListe(f);
  // An entry naming a shot that the document does not hold is dropped.
  ViseesCoupe.SupprimeSi([](const TViseeCoupe* e) { return !e->UneVisee; });
  ok = ok && foundation::LitChaineA(f, DesignCoupe) && MisesEnPageCoupe.LitListe(f);
  return ResultObjet = ok;
}

// --- The list of a cave ------------------------------------------------------------------------

TDonneesCoupeLong* TListeDonneesCoupe::AjouteDonneeCoupe(foundation::TTypeDeDessin vTypeDessin, TViseesDeRef vVisees,
                                                         bool vPartielle, const std::string& vDesignCoupe) {
  auto c = std::make_unique<TDonneesCoupeLong>();
  c->Partielle = vPartielle;
  c->ListeDonneesDessin.TypeDeDessin = vTypeDessin;
  c->CavProprio = CaviteProprio;
  c->DefViseesDeRef(vVisees);
  c->DesignCoupe = vDesignCoupe;
  return Add(std::move(c));
}

// --- Copies ------------------------------------------------------------------------------------------

namespace {

std::unique_ptr<TDonneesCoupeLong> MemesReglages(const TDonneesCoupeLong& coupe) {
  auto c = std::make_unique<TDonneesCoupeLong>();
  c->Partielle = coupe.Partielle;
  c->DesignCoupe = coupe.DesignCoupe;
  c->ListeDonneesDessin.TypeDeDessin = coupe.TypeDeDessin();
  c->AngleCoupeProj = coupe.AngleCoupeProj;
  c->EchelleDessin = coupe.EchelleDessin;
  return c;
}

}  // namespace

std::unique_ptr<TDonneesCoupeLong> CopieCoupeLongEquiv(const TDonneesCoupeLong& coupe) {
  auto c = MemesReglages(coupe);
  for (const TViseeCoupe* e : coupe.ViseesCoupe) {
    if (!e->UneVisee || !e->UneVisee->ViseeEquiv) continue;
    TViseeCoupe copie;
    copie.UneVisee = e->UneVisee->ViseeEquiv;
    copie.SensVisee = e->SensVisee;
    c->TransfereViseeCoupe(copie);
  }
  return c;
}

std::unique_ptr<TDonneesCoupeLong> DupliqueCoupeLong(TDonneesCoupeLong& coupe) {
  auto c = MemesReglages(coupe);
  c->CavProprio = coupe.CavProprio;
  for (const TViseeCoupe* e : coupe.ViseesCoupe) c->TransfereViseeCoupe(*e);
  // The copy draws on the same shots.
  c->DefViseesDeRef(coupe.ViseesDeRef());
  coupe.CopieDessinVersNouveau(*c);
  return c;
}

void NettoieViseesCoupeLong(TDonneesCoupeLong& coupe) {
  // The caves of the network: those of the owner's network, else of the open
  // document, else the owner alone.
  const foundation::TListeFichier<survey::TCavite>* cavites = nullptr;
  if (coupe.CavProprio && coupe.CavProprio->CavitesReseau)
    cavites = coupe.CavProprio->CavitesReseau;
  else if (survey::Document().ReseauCourant)
    cavites = &survey::Document().ReseauCourant->Cavites;
  std::unordered_set<const survey::TCavite*> presentes;
  if (cavites)
    for (const survey::TCavite* c : *cavites) presentes.insert(c);
  else if (coupe.CavProprio)
    presentes.insert(coupe.CavProprio);
  // A shot whose cave is gone is never looked into.
  coupe.ViseesCoupe.SupprimeSi([&](const TViseeCoupe* e) {
    return !e->UneVisee || !e->UneVisee->CavDeLaVis || !presentes.count(e->UneVisee->CavDeLaVis);
  });
  std::unordered_map<const survey::TCavite*, std::unordered_set<const survey::TVisee*>> visees;
  for (const TViseeCoupe* e : coupe.ViseesCoupe) {
    const survey::TCavite* c = e->UneVisee->CavDeLaVis;
    if (visees.count(c)) continue;
    auto& ensemble = visees[c];
    for (const survey::TVisee* v : c->Visees) ensemble.insert(v);
  }
  coupe.ViseesCoupe.SupprimeSi(
      [&](const TViseeCoupe* e) { return !visees[e->UneVisee->CavDeLaVis].count(e->UneVisee); });
  coupe.MajListeViseesDeRef();
}

}  // namespace drawing
