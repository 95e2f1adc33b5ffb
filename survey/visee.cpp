#include "survey/visee.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/niveau_fichier.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"

namespace survey {

using foundation::TFlux;
constexpr double Pi = std::numbers::pi;

namespace {

// Up to this level a splay stores its station's network number instead of
// RefPtStat; up to the level before, it has no SlhFix.
constexpr int32_t kNiveauIndPtStat = 220;
constexpr int32_t kNiveauSlhFix = 220;

const TLever& LeverOuDefaut(const TLever* l) { return l ? *l : *LeverParDefaut(); }

template <class T>
void RetireTous(std::vector<T*>& liste, const T* x) {
  liste.erase(std::remove(liste.begin(), liste.end(), x), liste.end());
}

}  // namespace

// --- Measured values -------------------------------------------------------------------

int32_t TValeurVisee::PositionLever() const {
  if (!LeLever) return indLever < 0 ? -1 : indLever;  // not resolved yet: as read
  if (LeLever == LeverParDefaut()) return -1;
  return LeLever->IndexFichier;
}

bool TValeurVisee::EcritValeurs(TFlux&) {
  EcrisInteger(PositionLever());
  EcrisReal(Az);
  EcrisReal(pente);
  EcrisReal(Long);
  EcrisReal(LH);
  EcrisReal(Deniv);
  EcrisOctet(Typesaisie);
  EcrisBoolean(SaisieTopoFil);
  EcrisInteger(TopofilDeb);
  EcrisInteger(TopofilFin);
  EcrisBoolean(InvAz);
  EcrisBoolean(InvP);
  return EcrisBoolean(InvVisee);
}

bool TValeurVisee::LitValeurs(TFlux&) {
  LisInteger(indLever);
  LisReal(Az);
  LisReal(pente);
  LisReal(Long);
  LisReal(LH);
  LisReal(Deniv);
  LisOctet(Typesaisie);
  LisBoolean(SaisieTopoFil);
  LisAncien(2);
  LisInteger(TopofilDeb);
  LisInteger(TopofilFin);
  LisBoolean(InvAz);
  LisBoolean(InvP);
  LisBoolean(InvVisee);
  return LisAncien(13);
}

double TValeurVisee::AzEnRad() const {
  return LeverOuDefaut(LeLever).UniteAZ == 1 ? Az * Pi / 200 : Az * Pi / 180;
}

double TValeurVisee::PEnRad() const {
  const TLever& l = LeverOuDefaut(LeLever);
  if (l.UniteP == 2) return std::atan(pente / 100);
  double a = l.UniteP == 1 ? pente * Pi / 200 : pente * Pi / 180;
  if (l.ZeroPente == -1)
    a -= Pi / 2;
  else if (l.ZeroPente == 1)
    a = Pi / 2 - a;
  return a;
}

bool TValeurVisee::SansDecli() const { return !LeLever || LeLever->UniteDeclin == UniteDeclinAucune; }

double TValeurVisee::DecliEnRad() const {
  if (SansDecli()) return 0;
  return LeLever->UniteDeclin == UniteDeclinGrades ? LeLever->Declinaison * Pi / 200
                                                   : LeLever->Declinaison * Pi / 180;
}

std::string TValeurVisee::UniteAzStr() const { return SuffixeUnite(LeverOuDefaut(LeLever).UniteAZ); }
std::string TValeurVisee::UnitePStr() const { return SuffixeUnite(LeverOuDefaut(LeLever).UniteP); }

std::string TValeurVisee::ValFormatee(int largeur, int decimales, double valeur) {
  // Nor has a coordinate the computation left undefined.
  if (valeur == 0 || foundation::EstIndefini(valeur)) return {};
  return foundation::OteBlancs(foundation::ReelEnStr(valeur, largeur, decimales));
}

std::string TValeurVisee::PenteFormatee(double valeur) const {
  if (valeur == 0) return {};
  return foundation::ReelEnStr(valeur, 6, 1) + UnitePStr();
}

void TValeurVisee::AffecteValeurs(const TValeurVisee& autre) {
  Az = autre.Az;
  pente = autre.pente;
  Long = autre.Long;
  LH = autre.LH;
  Deniv = autre.Deniv;
  Typesaisie = autre.Typesaisie;
  SaisieTopoFil = autre.SaisieTopoFil;
  TopofilDeb = autre.TopofilDeb;
  TopofilFin = autre.TopofilFin;
  InvAz = autre.InvAz;
  InvP = autre.InvP;
  CommentVisee = autre.CommentVisee;
}

void TValeurVisee::AffecteVisu(TLigneListe& ligne) {
  ligne.Donnee = this;
  ItemVisu = &ligne;
  affectee = false;
}

void TValeurVisee::AffecteChaine(TLigneListe& ligne) {
  CreeValeursTxt();
  ligne.Caption = ValeursTxt[0];
  for (size_t i = 0; i <= 15; ++i) ligne.SousItem(i) = ValeursTxt[i + 1];
  ligne.SousItem(16) = ValeursTxt[22];
  ligne.SousItem(17) = ValeursTxt[17];
  for (size_t i = 2; i <= 5; ++i) ligne.SousItem(i) = ValeursTxt[i + 16];
  affectee = true;
}

void TValeurVisee::AffecteChaineImpression(std::vector<std::string>& colonnes) {
  CreeValeursTxt();
  const ContexteAffichage& a = Affichage();
  int dernier = -1;
  auto place = [&](int colonne, int texte) {
    if (static_cast<int>(colonnes.size()) <= colonne) colonnes.resize(static_cast<size_t>(colonne) + 1);
    colonnes[static_cast<size_t>(colonne)] = ValeursTxt[static_cast<size_t>(texte)];
    dernier = std::max(dernier, colonne);
  };
  const int premiers = a.ColonnesTopofil ? 9 : 7;
  for (int i = 0; i < premiers; ++i) place(i, i);
  if (!a.CoordonneesAffichees && a.DimensionsAffichees) {
    for (int i = 0; i < 4; ++i) place(premiers + i, 13 + i);
  } else if (a.CoordonneesAffichees) {
    for (int i = 0; i < 4; ++i) place(3 + i, 18 + i);
    for (int i = 0; i < 4; ++i) place(7 + i, 9 + i);
  }
  const int suivante = dernier + 1;
  place(suivante, 22);
  place(suivante + 1, 17);
}

std::string TValeurVisee::AffecteLigneFichier() {
  CreeValeursTxt();
  std::string ligne = ValeursTxt[0];
  static const int ordre[] = {1, 2, 3, 4, 5, 6, 7, 8, 13, 14, 15, 16, 18, 19, 20, 21, 9, 10, 11, 12, 22, 17};
  for (int i : ordre) ligne += "\t" + ValeursTxt[static_cast<size_t>(i)];
  return ligne;
}

// --- Splay shots --------------------------------------------------------------------------

TViseeHabi::TViseeHabi() {
  EstHabi = true;
  Exclue = 1;
  RefPtStat = true;
}

TViseeHabi::~TViseeHabi() {
  if (!LiberationReseauEnCours()) DetacheDesPoints();
}

void TViseeHabi::DetacheDesPoints() {
  if (!ViseeDeRef) return;
  if (ViseeDeRef->PointStation) RetireTous(ViseeDeRef->PointStation->LVHabi, this);
  if (ViseeDeRef->PointVise) RetireTous(ViseeDeRef->PointVise->LVHabi, this);
}

int32_t TViseeHabi::PositionLever() const {
  return ViseeDeRef ? ViseeDeRef->PositionLever() : TValeurVisee::PositionLever();
}

bool TViseeHabi::EcritObjet(TFlux& f) {
  InitES(f);
  EcrisBoolean(RefPtStat);
  EcritValeurs(f);
  EcrisInteger(SensDessinCoupeOr);
  if (!ResultObjet) return false;
  if (!foundation::EcritListeChaines(f, CommentVisee)) return ResultObjet = false;
  return EcrisReal(SlhFix, true);
}

bool TViseeHabi::LitObjet(TFlux& f) {
  const int32_t niveau = foundation::NiveauFichier().VersionFichierLue;
  InitES(f);
  if (niveau <= kNiveauIndPtStat)
    LisInteger(IndPtStat);
  else
    LisBoolean(RefPtStat);
  LitValeurs(f);
  LisInteger(SensDessinCoupeOr);
  if (!ResultObjet) return false;
  CommentVisee.clear();
  if (!foundation::LitListeChaines(f, CommentVisee)) return ResultObjet = false;
  if (niveau < kNiveauSlhFix) return ResultObjet = true;
  return LisReal(SlhFix, true);
}

TPointSpeleo* TViseeHabi::PtStation() const {
  if (!ViseeDeRef) return nullptr;
  return RefPtStat ? ViseeDeRef->PointStation : ViseeDeRef->PointVise;
}

double TViseeHabi::GTVisee() const {
  const TPointSpeleo* s = PtStation();
  if (!s || LhCalc == 0) return 0;
  return foundation::AzimutXY(s->PtTopo(), foundation::PtTopoXY(X, Y));
}

TGalerie* TViseeHabi::GalDeLaVis() const { return ViseeDeRef ? ViseeDeRef->GalDeLaVis() : nullptr; }

std::string TViseeHabi::DesignVisee() const {
  const TPointSpeleo* s = PtStation();
  return s ? s->DesignPTopo : std::string();
}

// --- Main shots ---------------------------------------------------------------------------

TVisee::~TVisee() {
  if (!LiberationReseauEnCours()) DetacheDesPoints();
  for (TViseeHabi* h : ViseesHabi) h->ViseeDeRef = nullptr;
  ViseesHabi.Clear();
}

void TVisee::DetacheDesPoints() {
  for (TViseeHabi* h : ViseesHabi) h->DetacheDesPoints();
  for (TPointSpeleo* p : {PointStation, PointVise}) {
    if (!p) continue;
    RetireTous(p->LstVis, this);
    if (p->ViseeAvant == this) p->ViseeAvant = nullptr;
  }
}

void TVisee::OubliePoint(const TPointSpeleo* p) {
  if (!p) return;
  for (TPointSpeleo** r : {&PointStation, &PointVise, &PtOrigCalc, &PtCalc, &PointRefCompens})
    if (*r == p) *r = nullptr;
}

void TVisee::RemplaceExtremite(TPointSpeleo* ancien, TPointSpeleo* nouveau) {
  if (!ancien || ancien == nouveau) return;
  bool change = false;
  for (TPointSpeleo** r : {&PointStation, &PointVise})
    if (*r == ancien) {
      *r = nouveau;
      change = true;
    }
  if (!change) return;
  for (TPointSpeleo** r : {&PtOrigCalc, &PtCalc})
    if (*r == ancien) *r = nouveau;
  RetireTous(ancien->LstVis, this);
  if (ancien->ViseeAvant == this) ancien->ViseeAvant = nullptr;
  for (TViseeHabi* h : ViseesHabi) RetireTous(ancien->LVHabi, h);
  if (nouveau && std::find(nouveau->LstVis.begin(), nouveau->LstVis.end(), this) == nouveau->LstVis.end())
    nouveau->LstVis.push_back(this);
}

bool TVisee::EcritObjet(TFlux& f) {
  InitES(f);
  EcrisInteger(PointStation ? PointStation->IndiceReseau : -1);
  EcrisInteger(PointVise ? PointVise->IndiceReseau : -1);
  EcrisOctet(Exclue);
  EcritValeurs(f);
  EcrisInteger(SensDessinCoupeOr);
  EcrisInteger(TypeRattachement);
  if (!ResultObjet) return false;
  return ResultObjet = ViseesHabi.EcritListe(f);
}

bool TVisee::LitObjet(TFlux& f) {
  int32_t numStation = -1, numVise = -1, sens = 0;
  InitES(f);
  LisInteger(numStation);
  LisInteger(numVise);
  LisOctet(Exclue);
  LitValeurs(f);
  if (ResultObjet) {
    PointStation = LePointReseau(numStation);
    PointVise = LePointReseau(numVise);
  }
  // The direction in the oriented elevation is set again from its drawing.
  LisInteger(sens);
  LisInteger(TypeRattachement);
  if (!ResultObjet) return false;
  ResultObjet = ViseesHabi.LitListe(f);
  const bool ancien = foundation::NiveauFichier().VersionFichierLue <= kNiveauIndPtStat;
  for (TViseeHabi* h : ViseesHabi) {
    h->ViseeDeRef = this;
    if (ancien) h->RefPtStat = PointStation && LePointReseau(h->IndPtStat) == PointStation;
  }
  return ResultObjet;
}

// TVisee::CalculeVisee: reduction.cpp.

double TVisee::GTVisee() const {
  // A shot without horizontal length takes the bearing of the first previous
  // shot that has one.
  const TVisee* v = this;
  for (size_t pas = 0; v && pas < 10000000; ++pas) {
    if (!v->PtOrigCalc || !v->PtCalc) return 0;
    if (v->LhCalc != 0) return foundation::AzimutXY(v->PtOrigCalc->PtTopo(), v->PtCalc->PtTopo());
    const TVisee* avant = v->ViseePreced();
    if (!avant || avant == v) return 0;
    v = avant;
  }
  return 0;
}

TGalerie* TVisee::GalDeLaVis() const {
  if (!PtOrigCalc && !PtCalc) return nullptr;
  if (PtCalc && !PtCalc->EstPointSurface() && (PtCalc->NbCalc == 1 || PtCalc->ViseeAvant == this))
    return PtCalc->GalduPt;
  return PtOrigCalc ? PtOrigCalc->GalduPt : nullptr;
}

TVisee* TVisee::ViseePreced() const { return PtOrigCalc ? PtOrigCalc->ViseeAvant : nullptr; }

bool TVisee::MemeGal() const { return PtCalc && PtCalc->ViseeAvant == this; }

bool TVisee::EstDebutGal() const {
  const TGalerie* g = GalDeLaVis();
  return g && g->PremiereVisee() == this;
}

bool TVisee::Incrementee() const {
  if (!PointStation || !PointVise) return false;
  const std::string& s = PointStation->DesignPTopo;
  const std::string& v = PointVise->DesignPTopo;
  return DesignPrecedente(v) == s || DesignPrecedente(s) == v;
}

bool TVisee::PointAHabi(const TPointSpeleo* p) const {
  for (const TViseeHabi* h : ViseesHabi)
    if (h->PtStation() == p) return true;
  return false;
}

TViseeHabi* TVisee::AjouteViseeHabi(std::unique_ptr<TViseeHabi> h) {
  h->ViseeDeRef = this;
  return ViseesHabi.Add(std::move(h));
}

bool TListeDeVisees::LitListe(TFlux& f) {
  const bool lu = TListeTriable<TVisee>::LitListe(f);
  if (CaviteProprio)
    for (TVisee* v : *this)
      for (TPointSpeleo** r : {&v->PointStation, &v->PointVise})
        if (*r && !(*r)->EstPointSurface() && (!(*r)->GalduPt || (*r)->GalduPt->CaviteRef != CaviteProprio))
          *r = nullptr;
  return lu;
}

// --- Names in series ------------------------------------------------------------------------

std::string DesignPrecedente(const std::string& nom) {
  const std::string net = foundation::OteBlancs(nom);
  if (net.empty()) return nom;
  int32_t n;
  if (foundation::LitEntier(net, n)) return foundation::EntierEnStr(static_cast<int64_t>(n) - 1);
  size_t debut = net.size();
  while (debut > 0 && net[debut - 1] >= '0' && net[debut - 1] <= '9') --debut;
  if (debut < net.size()) {
    // The digits as a number, less one (leading zeros are not kept).
    int64_t v = 0;
    for (size_t i = debut; i < net.size() && v < 1000000000000LL; ++i) v = v * 10 + (net[i] - '0');
    return net.substr(0, debut) + foundation::EntierEnStr(v - 1);
  }
  // The last character replaced by the previous character code.
  std::u32string u = foundation::VersUtf32(net);
  if (u.empty()) return nom;
  u.back() = u.back() - 1;
  return foundation::DepuisUtf32(u);
}

}  // namespace survey
