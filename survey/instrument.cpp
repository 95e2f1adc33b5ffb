#include "survey/instrument.h"

#include <memory>

#include "foundation/catalogue.h"
#include "survey/operateur.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;

const std::string& NomTypeInst(TTypeInst t) {
  static constexpr IdMsg kNoms[NombreTypesInst] = {IdMsg::TypeInstAucun, IdMsg::TypeInstDistance,
                                                   IdMsg::TypeInstAzimut, IdMsg::TypeInstPente,
                                                   IdMsg::TypeInstIndetermine};
  const auto i = static_cast<size_t>(t);
  static const std::string vide;
  return i < NombreTypesInst ? Msg(kNoms[i]) : vide;
}

bool TInstrument::EcritObjet(TFlux& f) {
  InitES(f);
  EcrisTexte(DesignInstr);
  EcrisTexte(Marque);
  EcrisEnum(TypeInstr);
  EcrisEnum(Unites);
  EcrisReal(CoeffEtalon);
  EcrisReal(CoeffLecture);
  EcrisReal(PrecisionRel);
  EcrisReal(PrecisionAbs);
  EcrisTexte(TiGenre);
  return EcrisInteger(RefPente);
}

bool TInstrument::LitObjet(TFlux& f) {
  InitES(f);
  LisTexte(DesignInstr);
  LisTexte(Marque);
  LisEnum(TypeInstr, NombreTypesInst);
  LisEnum(Unites, NombreTypesUnite);
  LisReal(CoeffEtalon);
  LisReal(CoeffLecture);
  LisReal(PrecisionRel);
  LisReal(PrecisionAbs);
  LisTexte(TiGenre);
  return LisInteger(RefPente);
}

bool TInstrument::EstProfondim() const {
  return TypeInstr == TTypeInst::tiPente && TiGenre == Msg(IdMsg::GenreProfondimetre);
}

TInstrument* TListeInstruments::ChercheInstrumentParStr(std::string_view nom) const {
  const std::string cle = CleDeNom(nom);
  for (TInstrument* i : *this)
    if (CleDeNom(i->DesignInstr) == cle) return i;
  return nullptr;
}

TInstrument* TListeInstruments::RajouteInstrumentParStr(std::string_view nom, TTypeInst type) {
  const std::string cle = CleDeNom(nom);
  for (TInstrument* i : *this)
    if (i->TypeInstr == type && CleDeNom(i->DesignInstr) == cle) return i;
  auto nouveau = std::make_unique<TInstrument>();
  nouveau->DesignInstr = RogneNom(nom);
  nouveau->TypeInstr = type;
  if (type == TTypeInst::tiPente && nouveau->DesignInstr == Msg(IdMsg::InstrumentTopofilVulcain)) nouveau->RefPente = 1;
  return Add(std::move(nouveau));
}

}  // namespace survey
