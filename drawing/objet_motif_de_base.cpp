#include "drawing/objet_motif_de_base.h"

#include "drawing/ports_motifs.h"
#include "foundation/catalogue.h"
#include "foundation/codage.h"

namespace drawing {

using foundation::TFlux;

const std::string& NomTypeMotif(TTypeMotif t) {
  return foundation::MotsSinguliers()[static_cast<size_t>(t)].Mots[0];
}

const std::string& NomTypesMotif(TTypeMotif t) {
  return foundation::MotsPluriels()[static_cast<size_t>(t)].Mots[0];
}

const char* PrefixeMotifSVG(TTypeMotif t) {
  static const char* const prefixes[NombreTypesMotif] = {"texture", "trait",   "rempli", "symbole",
                                                         "nord",    "surface", "fonte"};
  return prefixes[static_cast<size_t>(t)];
}

survey::TUsageMotif UsageReseau(TTypeMotif t) {
  switch (t) {
    case TTypeMotif::tmTrait:
    case TTypeMotif::tmRempli:
    case TTypeMotif::tmSymbole:
    case TTypeMotif::tmFonte:
      return survey::TUsageMotif::DessinsCavites;
    case TTypeMotif::tmNord:
      return survey::TUsageMotif::FlecheNord;
    case TTypeMotif::tmSurface:
      return survey::TUsageMotif::SymboleSurface;
    case TTypeMotif::tmTexture:
      break;
  }
  return survey::TUsageMotif::Aucun;
}

bool TObjetMotifdeBase::EcritObjet(TFlux& f) {
  InitES(f);
  EcrisTexte(DesignMotif);
  return EcrisInteger(IndexCategorie);
}

bool TObjetMotifdeBase::LitObjet(TFlux& f) {
  InitES(f);
  LisTexte(DesignMotif);
  if (NiveauLu() >= 226) LisInteger(IndexCategorie);
  return ResultObjet;
}

bool TObjetMotifdeBase::DessineMotif() {
  return Ports().EditeMotif ? Ports().EditeMotif(*this) : false;
}

std::string TObjetMotifdeBase::CleEquivalence() const { return foundation::EnMajuscules(DesignMotif); }

void TObjetMotifdeBase::CopieMotif(const TObjetMotifdeBase& source) {
  NomMotifSVG = source.NomMotifSVG;
  DesignMotif = source.DesignMotif;
  VerrouPlan = source.VerrouPlan;
  VerrouAlti = source.VerrouAlti;
  Selecte = source.Selecte;
  UneCategorie = source.UneCategorie;
  TypeMotif = source.TypeMotif;
}

}  // namespace drawing
