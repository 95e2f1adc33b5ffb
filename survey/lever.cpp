#include "survey/lever.h"

#include <cmath>
#include <numbers>

#include "foundation/angle_deg_min.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/niveau_fichier.h"
#include "survey/declinaison.h"
#include "survey/listes_document.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;

namespace {

const uint8_t kZeros[8] = {};

// The level from which the record carries the automatic-declination flag, and
// the level below which a date of 0 means no date.
constexpr int32_t kNiveauDecliAuto = 506;
constexpr int32_t kNiveauDateZero = 508;

std::string TexteInstrument(const TInstrument* i) { return i ? i->DesignInstr : std::string(); }

// Rebuilds a stored date from its year, month and day, dropping the time of
// day; a year below 1500 is a two-digit year of the 1900s.  False when the
// value is not a date.
bool RefaitDate(foundation::TDateTime& date) {
  int a, m, j;
  if (!foundation::DecodeDate(date, a, m, j)) return false;
  if (a < 1500) a += 1900;
  return foundation::EncodeDate(a, m, j, date);
}

}  // namespace

std::string SuffixeUnite(int unite) {
  switch (unite) {
    case 0: return Msg(IdMsg::SuffixeUniteDegres);
    case 1: return Msg(IdMsg::SuffixeUniteGrades);
    case 2: return Msg(IdMsg::SuffixeUnitePourcent);
    default: return {};
  }
}

std::string NomUnite(int unite) {
  switch (unite) {
    case 0: return Msg(IdMsg::NomUniteDegres);
    case 1: return Msg(IdMsg::NomUniteGrades);
    case 2: return Msg(IdMsg::NomUnitePourcent);
    default: return {};
  }
}

bool TLever::EcritObjet(TFlux& f) {
  InitES(f);
  // The 64-byte block.
  EcrisReal(LaDate);
  EcrisOctet(UniteAZ);
  EcrisOctet(UniteP);
  EcrisVariable(kZeros, 6);
  EcrisReal(EtalonAZ);
  EcrisReal(EtalonL);
  EcrisReal(Declinaison);
  EcrisOctet(UniteDeclin);
  EcrisVariable(kZeros, 3);
  EcrisInteger(indInstrumentAz);
  EcrisInteger(indInstrumentL);
  EcrisInteger(indInstrumentP);
  EcrisBoolean(DoubleAZ);
  EcrisBoolean(DoubleP);
  EcrisBoolean(VsMire);
  EcrisVariable(kZeros, 1);
  EcrisVariable(kZeros, 4);

  EcrisTexte(Methode);
  if (ResultObjet) ResultObjet = OperateursDocument().EcritListeDOperateurs(Operateurs, f);
  const TListeInstruments& instruments = InstrumentsDocument();
  EcrisInteger(instruments.IndexOf(InstrumentAz));
  EcrisInteger(instruments.IndexOf(InstrumentL));
  EcrisInteger(instruments.IndexOf(InstrumentP));
  EcrisInteger(Precision);
  EcrisTexte(Commentaires);
  EcrisInteger(ZeroPente);
  EcrisBoolean(Topofil);
  EcrisReal(CodeLever);
  EcrisInteger(AncienneDecli ? 1 : 0);
  return EcrisBoolean(DecliAuto);
}

bool TLever::LitObjet(TFlux& f) {
  InitES(f);
  uint8_t ignore[8];
  LisReal(LaDate);
  LisOctet(UniteAZ);
  LisOctet(UniteP);
  LisVariable(ignore, 6);
  LisReal(EtalonAZ);
  LisReal(EtalonL);
  LisReal(Declinaison);
  LisOctet(UniteDeclin);
  LisVariable(ignore, 3);
  LisInteger(indInstrumentAz);
  LisInteger(indInstrumentL);
  LisInteger(indInstrumentP);
  LisBoolean(DoubleAZ);
  LisBoolean(DoubleP);
  LisBoolean(VsMire);
  LisVariable(ignore, 1);
  if (!LisVariable(ignore, 4)) return false;

  const int32_t niveau = foundation::NiveauFichier().VersionFichierLue;
  if (niveau < kNiveauDateZero && LaDate == 0) LaDate = foundation::DateNonRenseignee;
  if (LaDate != foundation::DateNonRenseignee && !RefaitDate(LaDate)) return ResultObjet = false;

  LisTexte(Methode);
  if (ResultObjet) ResultObjet = OperateursDocument().LitListeDOperateurs(Operateurs, f);
  const TListeInstruments& instruments = InstrumentsDocument();
  for (TInstrument** instrument : {&InstrumentAz, &InstrumentL, &InstrumentP}) {
    int32_t position;
    if (LisInteger(position)) *instrument = instruments.UnInstrument(position);
  }
  LisInteger(Precision);
  LisTexte(Commentaires);
  LisInteger(ZeroPente);
  LisBoolean(Topofil);
  LisReal(CodeLever);
  int32_t ancienne = 0;
  if (LisInteger(ancienne)) AncienneDecli = ancienne == 1;
  if (niveau >= kNiveauDecliAuto) return LisBoolean(DecliAuto);
  DecliAuto = false;
  return ResultObjet;
}

std::string TLever::DateTexte() const { return foundation::DateEnTexte(LaDate); }

std::string TLever::DeclinStr() const {
  if (UniteDeclin <= UniteDeclinGrades)
    return foundation::OteBlancs(foundation::ReelEnStrFixe(Declinaison, 8, 2)) + SuffixeUnite(UniteDeclin);
  return foundation::AngleDegMinStr(Declinaison);
}

std::string TLever::InstrAzText() const { return TexteInstrument(InstrumentAz); }
std::string TLever::InstrLText() const { return TexteInstrument(InstrumentL); }
std::string TLever::InstrPText() const { return TexteInstrument(InstrumentP); }

double TLever::RadEnP(double angle) const {
  switch (UniteP) {
    case 1: return angle * 200.0 / std::numbers::pi;
    case 2: return 100.0 * std::tan(angle);
    default: return angle * 180.0 / std::numbers::pi;
  }
}

void TLever::CalculeDecliAuto(double latitude, double longitude, double altitude) {
  if (LaDate == foundation::DateNonRenseignee || !DecliAuto) return;
  int a, m, j;
  if (!foundation::DecodeDate(LaDate, a, m, j) || !AnneeDansModeleIGRF(a)) return;
  double annee;
  if (!AnneeDecimale(LaDate, annee)) return;
  const double d = CalculeDeclinaisonIGRF(annee, latitude * 180.0 / std::numbers::pi,
                                          longitude * 180.0 / std::numbers::pi, altitude);
  if (!std::isfinite(d)) return;
  Declinaison = d * (UniteDeclin == UniteDeclinGrades ? 200.0 : 180.0) / std::numbers::pi;
}

void TLever::AjouteLignesLever(std::vector<std::string>& lignes) const {
  lignes.push_back(Msg(IdMsg::LeverDateDuLever) + DateTexte() + Msg(IdMsg::LeverTiretDeclinaison) + DeclinStr());
  if (!Operateurs.empty()) {
    const std::string& entete = Msg(IdMsg::LeverOperateurs);
    lignes.push_back(entete + OperaText(0));
    for (int i = 1; i < static_cast<int>(Operateurs.size()); ++i) lignes.push_back(std::string(13, ' ') + OperaText(i));
  }
  lignes.push_back(Msg(IdMsg::LeverMesuresLongueurs) + InstrLText());
  lignes.push_back(Msg(IdMsg::LeverMesuresAzimuts) + InstrAzText() + Msg(IdMsg::LeverEnUnite) + NomUnite(UniteAZ));
  lignes.push_back(Msg(IdMsg::LeverMesuresPentes) + InstrPText() + Msg(IdMsg::LeverEnUnite) + NomUnite(UniteP));
}

void TLever::FichierAjouteLignesLever(std::vector<std::string>& lignes) const {
  lignes.push_back(Msg(IdMsg::LeverDateDuLever) + "\t" + DateTexte() + "\t" + Msg(IdMsg::LeverDeclinaisonEgal) + "\t" +
                   DeclinStr());
  if (!Operateurs.empty()) {
    std::string ligne = Msg(IdMsg::LeverOperateursChamp);
    for (int i = 0; i < static_cast<int>(Operateurs.size()); ++i) ligne += "\t" + OperaText(i);
    lignes.push_back(std::move(ligne));
  }
  lignes.push_back(Msg(IdMsg::LeverMesuresLongueursChamp) + "\t" + InstrLText());
  lignes.push_back(Msg(IdMsg::LeverMesuresAzimutsChamp) + "\t" + InstrAzText() + "\t" + Msg(IdMsg::LeverEnUnite) +
                   NomUnite(UniteAZ));
  lignes.push_back(Msg(IdMsg::LeverMesuresPentesChamp) + "\t" + InstrPText() + "\t" + Msg(IdMsg::LeverEnUnite) +
                   NomUnite(UniteP));
}

const TLever* LeverParDefaut() {
  static const TLever defaut = [] {
    TLever l;
    l.UniteDeclin = UniteDeclinAucune;
    l.LaDate = foundation::DateNonRenseignee;
    return l;
  }();
  return &defaut;
}

const TLever* TLeversList::UnLever(int i) const { return i < 0 ? LeverParDefaut() : UnObjet(i); }

bool LeversIdentiques(const TLever& a, const TLever& b) {
  return a.UniteAZ == b.UniteAZ && a.UniteP == b.UniteP && a.EtalonL == b.EtalonL && a.Topofil == b.Topofil &&
         a.Declinaison == b.Declinaison && a.ZeroPente == b.ZeroPente && a.Commentaires == b.Commentaires &&
         a.InstrumentL == b.InstrumentL && a.InstrumentP == b.InstrumentP;
}

double ZeroSiNegligeable(double x) { return std::fabs(x) < 0.001 ? 0.0 : x; }

}  // namespace survey
