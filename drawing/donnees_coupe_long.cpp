#include "drawing/donnees_coupe_long.h"

#include "drawing/ports_dessin.h"
#include "foundation/niveau_fichier.h"
#include "survey/contexte_reseau.h"
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

}  // namespace drawing
