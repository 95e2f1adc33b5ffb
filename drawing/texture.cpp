#include "drawing/texture.h"

#include <stdexcept>

#include "foundation/catalogue.h"

namespace drawing {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;

std::string NomTypeTexture(int32_t type) {
  static const IdMsg noms[] = {IdMsg::TexturePoints,          IdMsg::TextureTraits,  IdMsg::TexturePolygones,
                               IdMsg::TexturePolygonesPleins, IdMsg::TextureEtoiles, IdMsg::TextureCailloutis};
  return type >= 1 && type <= 6 ? Msg(noms[type - 1]) : std::string();
}

int32_t DimSVGDuType(int32_t type) { return type <= 3 ? 500 : 100; }

bool tDefTexture::EcritObjet(TFlux& f) {
  TObjetMotifdeBase::EcritObjet(f);
  EcrisInteger(TypeTexture);
  EcrisInteger(static_cast<int32_t>(Couleur));
  EcrisInteger(Densite);
  EcrisInteger(TailleMin);
  EcrisInteger(TailleMax);
  return EcrisInteger(Epaisseur);
}

bool tDefTexture::LitObjet(TFlux& f) {
  TObjetMotifdeBase::LitObjet(f);
  int32_t couleur = 0;
  LisInteger(TypeTexture);
  LisInteger(couleur);
  LisInteger(Densite);
  LisInteger(TailleMin);
  LisInteger(TailleMax);
  LisInteger(Epaisseur);
  Couleur = static_cast<uint32_t>(couleur);
  if (Densite < 1) Densite = 1;
  if (TailleMax < TailleMin) TailleMax = TailleMin;
  return ResultObjet;
}

void tDefTexture::CopieMotif(const TObjetMotifdeBase& source) {
  TObjetMotifdeBase::CopieMotif(source);
  if (const auto* t = dynamic_cast<const tDefTexture*>(&source)) {
    TypeTexture = t->TypeTexture;
    Couleur = t->Couleur;
    Densite = t->Densite;
    TailleMin = t->TailleMin;
    TailleMax = t->TailleMax;
    Epaisseur = t->Epaisseur;
  }
}

bool tDefTexture::EstEquivalent(const TObjetMotifdeBase& autre) const {
  const auto* t = dynamic_cast<const tDefTexture*>(&autre);
  return t && TypeTexture == t->TypeTexture && Couleur == t->Couleur && Densite == t->Densite &&
         TailleMin == t->TailleMin && TailleMax == t->TailleMax && Epaisseur == t->Epaisseur;
}

std::string tDefTexture::CleEquivalence() const {
  return std::to_string(TypeTexture) + "/" + std::to_string(Couleur) + "/" + std::to_string(Densite) + "/" +
         std::to_string(TailleMin) + "/" + std::to_string(TailleMax) + "/" + std::to_string(Epaisseur);
}

std::unique_ptr<tTexture> tTexture::CloneTexture() const {
  auto t = std::make_unique<tTexture>();
  t->CopieMotif(*this);
  return t;
}

tTexture* TListeTextures::LaTexture(int i) const {
  if (i < 0 || i >= Count()) throw std::out_of_range("indice de texture hors de la liste");
  return static_cast<tTexture*>(UnObjet(i));
}

void TListeTextures::InitDefaut() {
  RAZ();
  NbreMotifsFixes = 3;
  struct Ligne {
    IdMsg nom;
    int32_t type;
    uint32_t couleur;
    int32_t densite, tailleMin, tailleMax, epaisseur;
  };
  static const Ligne lignes[] = {
      {IdMsg::TextureSable, 1, 0x000000, 50, 0, 10, 1},
      {IdMsg::TextureArgile, 2, 0x000080, 15, 0, 3, 1},
      {IdMsg::TextureGraviers, 3, 0x000000, 150, 2, 8, 1},
  };
  for (const Ligne& l : lignes) {
    std::unique_ptr<TObjetMotifdeBase> m = CreeMotif();
    auto* t = static_cast<tDefTexture*>(m.get());
    t->DesignMotif = Msg(l.nom);
    t->TypeTexture = l.type;
    t->Couleur = l.couleur;
    t->Densite = l.densite;
    t->TailleMin = l.tailleMin;
    t->TailleMax = l.tailleMax;
    t->Epaisseur = l.epaisseur;
    AjouteMotif(std::move(m));
  }
}

}  // namespace drawing
