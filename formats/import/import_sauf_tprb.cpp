#include "formats/import/import_sauf_tprb.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "formats/import/plausibilite.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/utilitaires.h"
#include "platform/dialogs.h"
#include "survey/galerie.h"
#include "survey/instrument.h"
#include "survey/lever.h"
#include "survey/operateur.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "survey/visee.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;
using survey::TGalerie;
using survey::TLever;
using survey::TListedePoints;
using survey::TPointSpeleo;
using survey::TVisee;
using survey::TViseeHabi;

namespace {

constexpr double Pi = std::numbers::pi;
// Readings of a repeated shot that are kept for its mean.
constexpr int MaxLecturesRepetees = 10;

void DimensionsVers(const TViseeImport& vi, TPointSpeleo* p) {
  if (!p) return;
  p->LargeurDR = vi.DimD;
  p->LargeurGA = vi.DimG;
  p->HauteurSup = vi.DimH;
  p->HauteurInf = vi.DimB;
}

// A comment of several lines (a PocketTopo comment holds line breaks) adds
// one comment line each.
void AjouteCommentaire(foundation::TMesStringList& liste, const std::string& c) {
  if (foundation::OteBlancs(c).empty()) return;
  if (c.find_first_of("\r\n") == std::string::npos) {
    liste.push_back(c);
    return;
  }
  for (const std::string& l : foundation::DecoupeLignes(c))
    if (!foundation::OteBlancs(l).empty()) liste.push_back(l);
}

// The readings of a repeated shot: azimuth, length and slope (input types 0
// to 2) or height difference (3 and 4).
struct Lecture {
  double Az = 0, L = 0, P = 0;
};

// The repeated readings of a shot against the rule of plausibilite.h
// (LecturesCoherentes), each read with the shot's trip (its units and slope
// zero; the height difference or depth of input types 2 to 4 is not an
// angle, only its azimuth and length count): the readings outside the
// consistent majority are removed, and message := "<fichier>, visée <de> →
// <a> : lectures incohérentes (<readings>)."; false when there is no such
// majority.  The first reading, which the shot holds, is replaced by the
// first consistent one when it is not.
bool LecturesRepeteesCoherentes(TVisee& v, std::vector<Lecture>& lectures, const std::string& fichier,
                                std::string& message) {
  message.clear();
  const bool pentes = v.Typesaisie <= survey::SaisiePenteLongueurHoriz;
  const double az0 = v.Az, p0 = v.pente;
  std::vector<LectureRepetee> degres;
  for (const Lecture& l : lectures) {
    v.Az = l.Az;
    v.pente = pentes ? l.P : 0;
    degres.push_back({l.L, v.AzEnRad() * 180 / Pi, pentes ? v.PEnRad() * 180 / Pi : 0});
  }
  v.Az = az0;
  v.pente = p0;
  const std::vector<size_t> coherentes = LecturesCoherentes(degres);
  if (coherentes.size() == lectures.size()) return true;
  // The readings as the file gives them, each text once, with the
  // directions when they are what disagrees.
  bool directions = false;
  for (size_t a = 0; a < degres.size(); ++a)
    for (size_t b = a + 1; b < degres.size(); ++b)
      if (!LecturesConcordent({1, degres[a].Azimut, degres[a].Pente}, {1, degres[b].Azimut, degres[b].Pente}))
        directions = true;
  const TLever& lever = v.LeLever ? *v.LeLever : *survey::LeverParDefaut();
  const std::string uniteAz = lever.UniteAZ == 1 ? " gr" : "°";
  const std::string uniteP = lever.UniteP == 2 ? " %" : lever.UniteP == 1 ? " gr" : "°";
  std::vector<std::string> textes;
  for (const Lecture& l : lectures) {
    std::string t = TexteLongueur(l.L);
    if (directions) t += " " + TexteAngle(l.Az, uniteAz) + (pentes ? " " + TexteAngle(l.P, uniteP) : std::string());
    if (std::find(textes.begin(), textes.end(), t) == textes.end()) textes.push_back(std::move(t));
  }
  std::string liste;
  for (const std::string& t : textes) liste += (liste.empty() ? "" : " ; ") + t;
  message = foundation::RemplaceMarques(
      Msg(IdMsg::ImportLecturesIncoherentes),
      {fichier, PositionVisee(v.PointStation ? v.PointStation->DesignPTopo : std::string(),
                              v.PointVise ? v.PointVise->DesignPTopo : std::string()),
       liste});
  if (coherentes.empty()) return false;
  std::vector<Lecture> gardees;
  for (size_t k : coherentes) gardees.push_back(lectures[k]);
  if (coherentes.front() != 0) {
    v.Az = gardees.front().Az;
    v.Long = gardees.front().L;
    if (v.Typesaisie <= survey::SaisieDenivLongueur) v.pente = gardees.front().P;
    if (v.Typesaisie >= survey::SaisieDenivLongueur) v.Deniv = gardees.front().P;
  }
  lectures = std::move(gardees);
  return true;
}

// Mean of the readings of a shot (MoyenneViseesRepetees).  Azimuths are
// averaged as angles, each reading first brought within a half turn of the
// first one (the turn from 359° to 1° averages to 0°); slopes, from the
// horizontal, are averaged as they stand between -180° and 180°, where a
// slope does not wrap.  Readings far apart still give a slope within their
// range: -45° and 2° average to -21.5°, not 158.5°.
void MoyenneViseesRepetees(TVisee& v, const std::vector<Lecture>& lectures) {
  const size_t n = lectures.size();
  if (n < 2) return;
  const TLever& lever = v.LeLever ? *v.LeLever : *survey::LeverParDefaut();
  const bool pentes = v.Typesaisie <= survey::SaisieDenivLongueur;
  const double az0 = v.Az, p0 = v.pente;
  std::vector<double> az(n), p(n);
  double sommeL = 0;
  for (size_t k = 0; k < n; ++k) {
    v.Az = lectures[k].Az;
    v.pente = pentes ? lectures[k].P : p0;
    az[k] = foundation::NormaliseAngle(v.AzEnRad());
    p[k] = foundation::NormaliseAngle(v.PEnRad());
    sommeL += lectures[k].L;
  }
  v.Az = az0;
  v.pente = p0;
  auto rapproche = [](double x, double ref) {
    if (x - ref > Pi) return x - 2 * Pi;
    if (ref - x > Pi) return x + 2 * Pi;
    return x;
  };
  auto entreDemiTours = [](double x) { return x > Pi ? x - 2 * Pi : x; };
  double sAz = az[0], sP = entreDemiTours(p[0]);
  for (size_t k = 1; k < n; ++k) {
    sAz += rapproche(az[k], az[0]);
    sP += entreDemiTours(p[k]);
  }
  const double moyAz = foundation::NormaliseAngle(sAz / static_cast<double>(n));
  v.Az = lever.UniteAZ == 1 ? moyAz * 200 / Pi : moyAz * 180 / Pi;
  if (pentes) {
    double moyP = sP / static_cast<double>(n);
    // Back into the trip's own convention: its slope zero, then its unit.
    if (lever.ZeroPente == -1)
      moyP += Pi / 2;
    else if (lever.ZeroPente == 1)
      moyP = Pi / 2 - moyP;
    v.pente = lever.RadEnP(moyP);
  }
  v.Long = sommeL / static_cast<double>(n);
}

std::string NomsVisees(const std::vector<std::string>& noms) {
  std::string r;
  const size_t montres = std::min<size_t>(noms.size(), 20);
  for (size_t i = 0; i < montres; ++i) r += (i ? ", " : "") + noms[i];
  if (noms.size() > montres) r += ", ...";
  return r;
}

}  // namespace

TLeverImport* TImportSaufTPRB::DerLeverImporte() const {
  if (LeversImportes.empty()) throw std::out_of_range("aucun lever");
  return LeversImportes.back().get();
}

TViseeImport* TImportSaufTPRB::AjouteViseeImport() {
  ViseesImportes.push_back(std::make_unique<TViseeImport>());
  return ViseesImportes.back().get();
}

TLeverImport* TImportSaufTPRB::AjouteLeverImport() {
  LeversImportes.push_back(std::make_unique<TLeverImport>());
  return LeversImportes.back().get();
}

std::string TImportSaufTPRB::NomDeLaGalerie(TVisee* visee) {
  if (!visee || visee->BrancheVis == 0) return Msg(IdMsg::GalerieDEntree);
  return Msg(IdMsg::ImportGalerieNumero) + foundation::EntierEnStr(visee->BrancheVis);
}

bool TImportSaufTPRB::TransfereTopo() { return TransfereLevers() && TransferePointsSpel(); }

bool TImportSaufTPRB::TransfereLevers() {
  for (auto& li : LeversImportes) {
    auto l = std::make_unique<TLever>();
    // A trip the file gives no date is a trip without date ("non
    // renseignée"), never one of a made-up day.
    l->LaDate = li->DateLev == 0 ? foundation::DateNonRenseignee : li->DateLev;
    l->UniteAZ = li->UnitAZ > 2 ? 1 : 0;
    l->UniteP = li->UnitP > 2 ? static_cast<uint8_t>(li->UnitP - 2) : 0;
    l->EtalonAZ = 1.0;
    l->Topofil = li->Topofil;
    if (li->Topofil) aTopoFilImport = true;
    l->EtalonL = li->Topofil ? li->CoefTopf * 0.01 : 1.0;
    l->InstrumentAz = nullptr;
    survey::TListeInstruments& instruments = Reseau->ListeInstruments;
    if (!li->InstrAz.empty()) l->InstrumentAz = instruments.RajouteInstrumentParStr(li->InstrAz, survey::TTypeInst::tiAzim);
    if (!li->InstrL.empty()) l->InstrumentL = instruments.RajouteInstrumentParStr(li->InstrL, survey::TTypeInst::tiDist);
    if (!li->InstrP.empty()) l->InstrumentP = instruments.RajouteInstrumentParStr(li->InstrP, survey::TTypeInst::tiPente);
    l->ZeroPente = li->OrigPentes;
    l->Declinaison = li->Decli;
    l->UniteDeclin = li->UnitDecli;
    l->DecliAuto = li->AutoDecli;
    l->Commentaires = li->Comment;
    TLever* retenu = nullptr;
    for (TLever* existant : ACavite->Levers)
      if (survey::LeversIdentiques(*existant, *l)) {
        retenu = existant;
        break;
      }
    if (!retenu) retenu = ACavite->Levers.Add(std::move(l));
    li->UnLever = retenu;
    for (const std::string& nom : li->TeamList) {
      survey::TOperateur* o = Reseau->ListeOperateurs.ChercheOperateurParStr(nom);
      if (!o) {
        auto n = std::make_unique<survey::TOperateur>();
        n->DesignOpe = nom;
        o = Reseau->ListeOperateurs.Add(std::move(n));
      }
      // A trip merged with an earlier one does not list an operator twice.
      if (std::find(retenu->Operateurs.begin(), retenu->Operateurs.end(), o) == retenu->Operateurs.end())
        retenu->Operateurs.push_back(o);
    }
  }
  return true;
}

void TImportSaufTPRB::CopieViseeImport(TViseeImport& vi, survey::TValeurVisee& v) {
  if (vi.VIExclue) v.Exclue = 1;
  v.Az = vi.Az;
  v.Long = vi.L;
  v.pente = vi.P;
  if (TLeverImport* li = vi.LeverTmp) {
    v.LeLever = li->UnLever;
    v.InvAz = li->InvAz;
    v.InvP = li->InvP;
    v.SaisieTopoFil = li->Topofil;
    if (li->Topofil) {
      v.TopofilDeb = foundation::Arrondi(vi.TopoDeb);
      v.TopofilFin = foundation::Arrondi(vi.TopoFin);
      vi.L = std::fabs(static_cast<double>(v.TopofilDeb) - static_cast<double>(v.TopofilFin)) * li->CoefTopf / 100;
    }
  } else {
    v.LeLever = survey::LeverParDefaut();
  }
  v.Typesaisie = vi.TypePente;
  // Horizontal lengths and height differences measured as such.
  if (v.Typesaisie == survey::SaisiePenteLongueurHoriz || v.Typesaisie == survey::SaisieDenivLongueurHoriz)
    v.LH = vi.lh;
  if (v.Typesaisie == survey::SaisieDenivLongueurHoriz) v.Deniv = vi.dh;
  if (v.Typesaisie <= survey::SaisiePenteLongueurHoriz && v.LeLever) {
    if (v.LeLever->UniteP == 0 && v.pente > 180) v.pente -= 360;
    if (v.LeLever->UniteP == 1 && v.pente > 200) v.pente -= 400;
  }
  if (v.Typesaisie == survey::SaisieDenivLongueur) {
    if (std::fabs(vi.L) < std::fabs(vi.P)) {
      vi.P = 0;
      vi.oldComment = Msg(IdMsg::ImportAnomaliePente) + vi.oldComment;
      ++NombreAnomaliesPente;
    }
    v.Deniv = vi.P;
  } else if (v.Typesaisie == survey::SaisieProfondeurLongueur) {
    v.Deniv = vi.Prof;
  }
  v.SensDessinCoupeOr = vi.SensCoupe;
}

bool TImportSaufTPRB::TransferePointsSpel() {
  ACavite->ATopofil = aTopoFilImport;
  TGalerie* g0 = ACavite->AjouteGalerie(std::string());
  TListedePoints& points = g0->Points;
  NombreAnomaliesPente = 0;
  TVisee* courante = nullptr;
  TPointSpeleo* stationCommentaire = nullptr;
  std::vector<Lecture> lectures;
  // Repeated readings that disagree, for a reader that asks: those left out
  // are listed in one warning at the end, a shot without consistent majority
  // stops the import.
  std::vector<std::string> incoherences;
  std::string refus;
  auto termineRepetitions = [&]() {
    if (courante && lectures.size() > 1) {
      std::string message;
      if (ExigeLecturesCoherentes && !LecturesRepeteesCoherentes(*courante, lectures, NomFichierImport, message))
        refus = message;
      if (!message.empty() && refus.empty()) incoherences.push_back(message);
      if (lectures.size() > 1) MoyenneViseesRepetees(*courante, lectures);
    }
    lectures.clear();
    return refus.empty();
  };
  for (auto& vip : ViseesImportes) {
    TViseeImport& vi = *vip;
    vi.ViseeCor = nullptr;
    vi.ViseehabCor = nullptr;
    if (vi.ViHabi) {
      vi.ViseeRef = courante;
      continue;
    }
    TPointSpeleo* A = CherchePointVisee(vi.DesignStat, points);
    TPointSpeleo* B = CherchePointVisee(vi.DesignVis, points);
    if (A == B) {
      DimensionsVers(vi, A);
      AjouteCommentaire(A->Commentaire, vi.oldComment);
      continue;
    }
    if (courante && A == courante->PointStation && B == courante->PointVise) {
      // A repeated reading of the current shot.
      const bool pentes = courante->Typesaisie <= survey::SaisieDenivLongueur;
      if (lectures.empty())
        lectures.push_back({courante->Az, courante->Long, pentes ? courante->pente : courante->Deniv});
      if (static_cast<int>(lectures.size()) < MaxLecturesRepetees)
        lectures.push_back({vi.Az, vi.L, vi.TypePente == survey::SaisieProfondeurLongueur ? vi.Prof : vi.P});
      vi.ViseeCor = courante;
      // The comment of a repeated reading is kept with the shot's.
      if (stationCommentaire && !EstNoTop) AjouteCommentaire(stationCommentaire->Commentaire, vi.oldComment);
      continue;
    }
    if (!termineRepetitions()) return RefuseLecture(*this, refus);
    auto v = std::make_unique<TVisee>();
    v->PointStation = A;
    v->PointVise = B;
    CopieViseeImport(vi, *v);
    const bool auDepart = (vi.LeverTmp && vi.LeverTmp->DimDepart) || vi.Inverse;
    stationCommentaire = auDepart ? A : B;
    DimensionsVers(vi, stationCommentaire);
    TVisee* visee = v.get();
    A->LstVis.push_back(visee);
    B->LstVis.push_back(visee);
    ACavite->Visees.Add(std::move(v));
    if (!EstNoTop)
      AjouteCommentaire(stationCommentaire->Commentaire, vi.oldComment);
    else
      CompleteViseeTro(vi.DesignStat, vi.DesignVis, visee);
    vi.ViseeCor = visee;
    courante = visee;
  }
  if (!termineRepetitions()) return RefuseLecture(*this, refus);
  if (!incoherences.empty()) {
    // A few lines of a long list, and the sign that it goes on.
    constexpr size_t kMax = 10;
    std::string t;
    for (size_t k = 0; k < incoherences.size() && k < kMax; ++k) t += (k ? "\n" : "") + incoherences[k];
    if (incoherences.size() > kMax) t += "\n…";
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning, t);
  }
  CreeEntree();
  CreeViseesHabiImport();
  if (NombreAnomaliesPente > 0)
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning,
                                             Msg(IdMsg::ImportIlYA) + foundation::EntierEnStr(NombreAnomaliesPente) +
                                                 Msg(IdMsg::ImportViseesHauteurSuperieure));
  return true;
}

void TImportSaufTPRB::CreeViseesHabiImport() {
  // The first shot, in shot order, at each station name.
  std::unordered_map<std::string, TVisee*> premiere;
  for (TVisee* v : ACavite->Visees)
    for (const TPointSpeleo* p : {v->PointStation, v->PointVise})
      if (p) premiere.emplace(p->DesignPTopo, v);
  std::vector<std::string> perdues;
  for (auto& vip : ViseesImportes) {
    TViseeImport& vi = *vip;
    if (!vi.ViHabi) continue;
    auto porte = [&](const TVisee* v) {
      return v && ((v->PointStation && v->PointStation->DesignPTopo == vi.DesignStat) ||
                   (v->PointVise && v->PointVise->DesignPTopo == vi.DesignStat));
    };
    TVisee* ref = vi.ViseeRef;
    if (!porte(ref)) {
      const auto it = premiere.find(vi.DesignStat);
      ref = it == premiere.end() ? nullptr : it->second;
    }
    vi.ViseeRef = ref;
    if (!ref) {
      perdues.push_back(vi.DesignStat);
      continue;
    }
    auto h = std::make_unique<TViseeHabi>();
    h->RefPtStat = ref->PointStation && ref->PointStation->DesignPTopo == vi.DesignStat;
    h->ViseeDeRef = ref;
    CopieViseeImport(vi, *h);
    h->EstHabi = true;
    AjouteCommentaire(h->CommentVisee, vi.oldComment);
    vi.PtOrig = h->RefPtStat ? ref->PointStation : ref->PointVise;
    vi.ViseehabCor = ref->AjouteViseeHabi(std::move(h));
  }
  if (!perdues.empty())
    platform::Dialogs::Current().ShowMessage(
        platform::MessageKind::Warning,
        foundation::RemplaceMarques(Msg(IdMsg::ImportViseesHabiSansReference),
                                    {foundation::EntierEnStr(static_cast<int64_t>(perdues.size())), NomsVisees(perdues)}));
}

}  // namespace formats
