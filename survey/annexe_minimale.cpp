#include "survey/annexe_minimale.h"

#include <algorithm>

#include "foundation/catalogue.h"
#include "foundation/niveau_fichier.h"
#include "survey/cavite.h"
#include "survey/contexte_reseau.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;

namespace {

int32_t Niveau() { return foundation::NiveauFichier().VersionFichierLue; }

constexpr uint8_t tddAltiOr = 2;
constexpr uint8_t NombreTypesDeDessin = 5;

bool LitCompteNul(TFlux& f) {
  int32_t n = 0;
  return f.LitInteger(n) && n <= 0;
}

// The display configuration of a drawing without backgrounds: no image, no
// SVG drawing.
bool EcritConfigVide(TFlux& f) { return f.EcritInteger(0) && f.EcritInteger(0); }
bool LitConfigVide(TFlux& f) { return LitCompteNul(f) && LitCompteNul(f); }

}  // namespace

// --- Empty drawing ---------------------------------------------------------------------------

bool TDessinVide::Ecrit(TFlux& f) const {
  // Element list: lines, fills, texts, symbols, kind.
  return f.EcritInteger(0) && f.EcritInteger(0) && f.EcritInteger(0) && f.EcritInteger(0) &&
         f.EcritOctet(TypeDeDessin) && f.EcritInteger(EchelleDessin) && f.EcritInteger(0) &&
         f.EcritReal(CoeffDessinCoupes) && f.EcritBoolean(EncadreCoupes) && f.EcritReal(AngleCoupeProj) &&
         f.EcritInteger(0);
}

bool TDessinVide::Lit(TFlux& f) {
  const int32_t niveau = Niveau();
  if (!LitCompteNul(f) || !LitCompteNul(f)) return false;
  if (niveau < 500 && !LitCompteNul(f)) return false;  // the older text list
  if (!LitCompteNul(f) || !LitCompteNul(f)) return false;
  if (niveau >= 204) {
    uint8_t type = 0;
    if (!f.LitOctet(type) || type >= NombreTypesDeDessin) return false;
    TypeDeDessin = type;
  }
  if (niveau >= 208 && !f.LitInteger(EchelleDessin)) return false;
  return LitCompteNul(f) && f.LitReal(CoeffDessinCoupes) && f.LitBoolean(EncadreCoupes) &&
         f.LitReal(AngleCoupeProj) && LitCompteNul(f);
}

// --- Long-section shells -----------------------------------------------------------------------

bool TCoupeLongVide::Ecrit(TFlux& f, const std::vector<const TVisee*>& existantes) const {
  std::vector<const Entree*> entrees;
  for (const Entree& e : ViseesCoupe)
    if (std::binary_search(existantes.begin(), existantes.end(), e.Visee)) entrees.push_back(&e);
  if (!Dessin.Ecrit(f) || !f.EcritBoolean(Partielle) || !f.EcritInteger(static_cast<int32_t>(entrees.size())))
    return false;
  for (const Entree* e : entrees)
    if (!f.EcritInteger(e->Visee->IndexCavDeLaVis) || !f.EcritInteger(e->Visee->IndexFichier) ||
        !f.EcritOctet(static_cast<uint8_t>(e->SensVisee)))
      return false;
  return foundation::EcritChaineA(f, DesignCoupe) && f.EcritInteger(0);
}

bool TCoupeLongVide::Lit(TFlux& f) {
  if (!Dessin.Lit(f)) return false;
  const int32_t niveau = Niveau();
  int32_t n = 0;
  if (!f.LitBoolean(Partielle) || !f.LitInteger(n)) return false;
  const uint64_t taille = (niveau >= 509 ? 4 : 0) + 4 + (niveau == 507 ? 4 : 0) + 1;
  if (n > 0 && !f.Contient(static_cast<uint64_t>(n), taille)) return false;
  const auto& lues = LectureReseau().ListesViseesLues;
  ViseesCoupe.clear();
  for (int32_t i = 0; i < n; ++i) {
    int32_t cavite = static_cast<int32_t>(lues.size()) - 1, visee = -1, ignore = 0;
    uint8_t sens = 0;
    if (niveau >= 509 && !f.LitInteger(cavite)) return false;
    if (!f.LitInteger(visee)) return false;
    if (niveau == 507 && !f.LitInteger(ignore)) return false;
    if (!f.LitOctet(sens)) return false;
    Entree e;
    e.SensVisee = niveau >= 220 ? static_cast<int8_t>(sens) : (sens != 0 ? -1 : 1);
    e.Visee = ViseeLue(cavite, visee);
    if (e.Visee) ViseesCoupe.push_back(e);
  }
  return foundation::LitChaineA(f, DesignCoupe) && LitCompteNul(f);
}

// --- The annex ------------------------------------------------------------------------------------

TAnnexeMinimale::TAnnexeMinimale(TCavite& cavite) : Cavite(cavite) {
  TCoupeLongVide globale;
  globale.Dessin.TypeDeDessin = tddAltiOr;
  globale.DesignCoupe = Msg(IdMsg::ReseauCoupeDeveloppeeGlobale);
  CoupesLong.push_back(std::move(globale));
}

bool TAnnexeMinimale::EcritStylesCavite(TFlux& f) { return f.EcritOctet(0) && f.EcritOctet(0); }

bool TAnnexeMinimale::LitStylesCavite(TFlux& f) {
  uint8_t axe = 1, dim = 1;
  return f.LitOctet(axe) && axe == 0 && f.LitOctet(dim) && dim == 0;
}

bool TAnnexeMinimale::EcritDessins(TFlux& f) {
  // The shots a section entry may name: those of every cave of the network.
  std::vector<const TVisee*> existantes;
  if (Cavite.CavitesReseau) {
    for (const TCavite* c : *Cavite.CavitesReseau)
      for (const TVisee* v : c->Visees) existantes.push_back(v);
  } else {
    for (const TVisee* v : Cavite.Visees) existantes.push_back(v);
  }
  std::sort(existantes.begin(), existantes.end());
  if (!f.EcritInteger(0) || !DessinPlani.Ecrit(f) || !f.EcritInteger(static_cast<int32_t>(CoupesLong.size())))
    return false;
  for (const TCoupeLongVide& c : CoupesLong)
    if (!c.Ecrit(f, existantes)) return false;
  return true;
}

bool TAnnexeMinimale::LitDessins(TFlux& f) {
  int32_t n = 0;
  if (!LitCompteNul(f) || !DessinPlani.Lit(f) || !f.LitInteger(n)) return false;
  // A long section takes at least its empty drawing's 45 bytes.
  if (n > 0 && !f.Contient(static_cast<uint64_t>(n), 45)) return false;
  std::vector<TCoupeLongVide> coupes(n > 0 ? static_cast<size_t>(n) : 0);
  for (TCoupeLongVide& c : coupes)
    if (!c.Lit(f)) return false;
  CoupesLong = std::move(coupes);
  return true;
}

bool TAnnexeMinimale::CorrigeCoupesAnciennes() {
  if (CoupesLong.size() < 2) return false;
  // Shells have neither drawing nor page layout.
  CoupesLong.erase(CoupesLong.begin() + 1);
  if (CoupesLong.front().DesignCoupe == Msg(IdMsg::ReseauCoupeOrienteeGlobale))
    CoupesLong.front().DesignCoupe = Msg(IdMsg::ReseauCoupeDeveloppeeGlobale);
  return true;
}

bool TAnnexeMinimale::EcritConfig(TFlux& f) {
  if (!EcritConfigVide(f)) return false;
  for (size_t i = 0; i < CoupesLong.size(); ++i)
    if (!EcritConfigVide(f)) return false;
  return true;
}

bool TAnnexeMinimale::LitConfig(TFlux& f, bool coupesDecalees) {
  if (!LitConfigVide(f)) return false;
  if (coupesDecalees && !CoupesLong.empty() && !LitConfigVide(f)) return false;
  for (size_t i = 0; i < CoupesLong.size(); ++i)
    if (!LitConfigVide(f)) return false;
  return true;
}

void AssureAnnexe(TCavite& cavite) {
  if (!cavite.Annexe) cavite.Annexe = std::make_unique<TAnnexeMinimale>(cavite);
}

}  // namespace survey
