#include "survey/cavite.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/niveau_fichier.h"
#include "foundation/utilitaires.h"
#include "platform/dialogs.h"
#include "survey/contexte_document.h"
#include "survey/rapport_calcul.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;

namespace {

constexpr int32_t kNiveauIdSvg = 503;

template <class T>
void RetireTous(std::vector<T*>& liste, const T* x) {
  liste.erase(std::remove(liste.begin(), liste.end(), x), liste.end());
}

template <class T>
bool Contient(const std::vector<T*>& liste, const T* x) {
  return std::find(liste.begin(), liste.end(), x) != liste.end();
}

// Sign of the difference of two angles taken in ten-thousandths of a radian.
int CompareAngles(double a, double b) {
  const int32_t d = foundation::Arrondi((a - b) * 10000);
  return d < 0 ? -1 : (d > 0 ? 1 : 0);
}

int CompareViseesIncrementees(const TVisee* a, const TVisee* b) {
  const bool ia = a->Incrementee();
  const bool ib = b->Incrementee();
  if (ia && !ib) return -1;
  if (ib && !ia) return 1;
  if (ia && ib) return 0;
  const std::string na = a->PtCalc ? a->PtCalc->DesignPTopo : std::string();
  const std::string nb = b->PtCalc ? b->PtCalc->DesignPTopo : std::string();
  return na.compare(nb) < 0 ? -1 : (na == nb ? 0 : 1);
}

// Order of the shots leaving a station during the walk: side and attachment
// shots first, then continuations (the one to the next name first), then the
// shots into other galleries; within a class by turn angle.
int CompareViseesParcours(const TVisee* a, const TVisee* b) {
  if (a->CodeTri != b->CodeTri) return a->CodeTri < b->CodeTri ? -1 : 1;
  if (a->CodeTri == 1) return CompareViseesIncrementees(a, b);
  return CompareAngles(a->AngleTri, b->AngleTri);
}

// A surface point reached by a cave's walk through one of its shots keeps that
// shot among its shots when it forgets how it was reached, so that every shot
// ending on it stays known to it (and is told when the point is freed).
void GardeViseeArrivee(TPointSpeleo* p) {
  if (p->ViseeAvant && !Contient(p->LstVis, p->ViseeAvant)) p->LstVis.push_back(p->ViseeAvant);
}

// Stable sort of stations by upper-cased name in the order of CompareNomsPoints.
void TrieParNom(std::vector<TPointSpeleo*>& points) {
  std::vector<std::pair<std::string, TPointSpeleo*>> cles;
  cles.reserve(points.size());
  for (TPointSpeleo* p : points) cles.emplace_back(foundation::EnMajuscules(p->DesignPTopo), p);
  std::stable_sort(cles.begin(), cles.end(),
                   [](const auto& a, const auto& b) { return foundation::CompareNomsPoints(a.first, b.first) < 0; });
  for (size_t i = 0; i < cles.size(); ++i) points[i] = cles[i].second;
}

}  // namespace

// --- Life -------------------------------------------------------------------------------

TCavite::TCavite() {
  Visees.CaviteProprio = this;
  if (Ports().CreeAnnexeCavite) Annexe = Ports().CreeAnnexeCavite(*this);
}

TCavite::~TCavite() {
  ContexteDocument& doc = Document();
  if (doc.LeverCourant && Levers.IndexOf(doc.LeverCourant) >= 0) doc.LeverCourant = nullptr;
  Annexe.reset();
  ListePoints.Clear();
  ListeEntrees.Clear();
  Visees.Clear();
  Galeries.Clear();
  Levers.Clear();
}

// --- Record ---------------------------------------------------------------------------------

TListedePoints* TCavite::PointsSurfaceReseau() const {
  if (!CavitesReseau) return nullptr;
  const TCavite* surface = CavitesReseau->First();
  if (!surface || !surface->EstSurface) return nullptr;
  TGalerie* g = surface->Galeries.First();
  return g ? &g->Points : nullptr;
}

bool TCavite::EcritObjet(TFlux& f) {
  InitES(f);
  EcrisTexte(NomCavite);
  if (!ResultObjet) return false;
  if (!Levers.EcritListe(f) || !Galeries.EcritListe(f)) return ResultObjet = false;
  if (Annexe) {
    if (!Annexe->EcritStylesCavite(f)) return ResultObjet = false;
  } else if (!f.EcritOctet(0) || !f.EcritOctet(0)) {
    return ResultObjet = false;
  }
  const TListedePoints* surface = PointsSurfaceReseau();
  const int32_t entree = surface && EntreeSelectee ? surface->IndexOf(EntreeSelectee) : -1;
  EcrisInteger(entree, true);
  return EcrisInteger(idCavSvg);
}

bool TCavite::LitObjet(TFlux& f) {
  InitES(f);
  LisTexte(NomCavite);
  if (!ResultObjet) return false;
  if (!Levers.LitListe(f) || !Galeries.LitListe(f)) return ResultObjet = false;
  for (TGalerie* g : Galeries) g->CaviteRef = this;
  if (Annexe) {
    if (!Annexe->LitStylesCavite(f)) return ResultObjet = false;
  } else {
    // Without the drawing subsystem a style record cannot be read past.
    uint8_t axe = 1, dim = 1;
    if (!f.LitOctet(axe) || axe != 0 || !f.LitOctet(dim) || dim != 0) return ResultObjet = false;
  }
  LisInteger(IndexEntreeSelecte, true);
  if (foundation::NiveauFichier().VersionFichierLue >= kNiveauIdSvg) return LisInteger(idCavSvg);
  idCavSvg = -1;
  return ResultObjet;
}

void TCavite::AffecteEntreeStockee() {
  const TListedePoints* surface = PointsSurfaceReseau();
  if (surface && IndexEntreeSelecte >= 0 && IndexEntreeSelecte < surface->Count())
    EntreeSelectee = surface->Item(IndexEntreeSelecte);
}

int TCavite::AffecteLeversVisees() {
  int absents = 0;
  for (TVisee* v : Visees) {
    const TLever* l = Levers.UnLever(v->indLever);
    if (!l) {
      l = LeverParDefaut();
      ++absents;
    }
    v->LeLever = l;
    for (TViseeHabi* h : v->ViseesHabi) h->LeLever = l;
    if (v->SaisieTopoFil) ATopofil = true;
  }
  if (absents > 0)
    platform::Dialogs::Current().ShowMessage(
        platform::MessageKind::Warning,
        foundation::RemplaceMarques(Msg(IdMsg::ViseesLeverAbsent), {NomCavite, foundation::EntierEnStr(absents)}));
  return absents;
}

// --- Lookups ----------------------------------------------------------------------------------

TPointSpeleo* TCavite::LEntree() const {
  const TVisee* v = Visees.First();
  return v ? v->PtOrigCalc : nullptr;
}

TVisee* TCavite::LaViseeImprimee(int i) const {
  return (i < 0 || static_cast<size_t>(i) >= ListeViseesImprimees.size()) ? nullptr
                                                                         : ListeViseesImprimees[static_cast<size_t>(i)];
}

TVisee* TCavite::PremiereViseeGalActive() const {
  return LaGalerieActive ? LaGalerieActive->PremiereVisee() : Visees.First();
}

TVisee* TCavite::DerniereViseeGalActive() const {
  if (!LaGalerieActive) return Visees.Last();
  return LaGalerieActive->ViseesDeLaGal.empty() ? nullptr : LaGalerieActive->ViseesDeLaGal.back();
}

TGalerie* TCavite::AjouteGalerie(const std::string& NomGal) {
  auto g = std::make_unique<TGalerie>();
  g->NomGalerie = Galeries.Vide() && NomGal.empty() ? Msg(IdMsg::GalerieDEntree) : NomGal;
  g->CaviteRef = this;
  LaGalerieActive = Galeries.Add(std::move(g));
  return LaGalerieActive;
}

void TCavite::NettoieLevers() {
  std::unordered_set<const TLever*> utilises;
  for (const TVisee* v : Visees)
    if (v->LeLever) utilises.insert(v->LeLever);
  TSuppressions s;
  for (TLever* l : Levers)
    if (!utilises.count(l)) s.AjouteLever(l);
  SupprimePoints(s);
}

void TCavite::InitStatsLevers() {
  NettoieLevers();
  // Every trip of the cave starts empty; a trip without shot keeps no end.
  // Shots under the default trip (shared, never changed) count for none.
  std::unordered_map<const TLever*, TLever*> propres;
  for (TLever* l : Levers) {
    l->PointDeb = l->PointFin = nullptr;
    l->LongLevee = l->LongExclue = 0;
    l->NbVisees = 0;
    propres.emplace(l, l);
  }
  for (TVisee* v : Visees) {
    const auto trouve = propres.find(v->LeLever);
    if (trouve == propres.end()) continue;
    TLever* l = trouve->second;
    if (!l->PointDeb) l->PointDeb = v->PtOrigCalc;
    l->PointFin = v->PtCalc;
    (v->EstExclue() ? l->LongExclue : l->LongLevee) += v->LCalc;
    ++l->NbVisees;
  }
}

TCavite* TCavite::CaviteDuPoint(const TPointSpeleo* p) { return p && p->GalduPt ? p->GalduPt->CaviteRef : nullptr; }

int32_t TCavite::DerIdGalSvg() const {
  int32_t m = -1;
  for (const TGalerie* g : Galeries) m = std::max(m, g->idGalSvg);
  return m + 1;
}

void TCavite::CreeListeEntreesCalculees(int n) {
  ListeEntreesCalculees.Clear();
  if (TPointSpeleo* p = EntreesCalcul.Item(n)) ListeEntreesCalculees.Add(p);
  for (int i = 0; i < EntreesCalcul.Count(); ++i)
    if (i != n) ListeEntreesCalculees.Add(EntreesCalcul.Item(i));
}

// --- Marks ------------------------------------------------------------------------------------

void TCavite::DemarquePoints() {
  for (TPointSpeleo* p : ListeEntrees) p->Marque = false;
  for (TPointSpeleo* p : ListePoints) p->Marque = false;
}

TPointSpeleo* TCavite::MarquePoints(TPointSpeleo* p) {
  while (p && p->ViseeAvant && !p->Marque) {
    p->Marque = true;
    p = p->ViseeAvant->PtOrigCalc;
  }
  return p;
}

void TCavite::MarquePointsDependants(TPointSpeleo* p) {
  DemarquePoints();
  if (!p) return;
  p->Marque = true;
  for (const TVisee* v : Visees) {
    if (v->PointStation == p && v->PointVise) v->PointVise->Marque = true;
    if (v->PointVise == p && v->PointStation) v->PointStation->Marque = true;
  }
}

void TCavite::DemarqueVisees() { Visees.DemarqueTous(); }

void TCavite::MarqueVisees(TVisee* v) {
  DemarqueVisees();
  const int debut = Visees.IndexOf(v);
  if (debut < 0) return;
  v->Marque = true;
  for (int i = debut + 1; i < Visees.Count(); ++i) {
    TVisee* s = Visees.UnObjet(i);
    const TVisee* avant = s->ViseePreced();
    if (avant && avant->Marque) s->Marque = true;
  }
}

void TCavite::MarqueEffacement(TVisee* v, bool effacer) {
  if (!v) return;
  v->AEffacer = effacer;
  for (int i = std::max(v->IndexCav + 1, 0); i < Visees.Count(); ++i) {
    TVisee* s = Visees.UnObjet(i);
    if (const TVisee* avant = s->ViseePreced()) s->AEffacer = avant->AEffacer;
  }
}

bool TCavite::EstPointDeBoucle(TPointSpeleo* p) {
  DemarquePoints();
  TVisee* v = p ? p->ViseeAvant : nullptr;
  bool boucle = false;
  if (v) {
    MarqueVisees(v);
    for (TVisee* s : Visees) {
      if (!s->Marque) continue;
      if (s->PtCalc) s->PtCalc->Marque = true;
      if (s != v && s->PtOrigCalc) s->PtOrigCalc->Marque = true;
    }
    // Up through the previous shots; the walk order bounds the climb.
    const TVisee* w = v;
    for (int pas = 0; w && pas <= Visees.Count(); ++pas) {
      if (w->PtOrigCalc && w->PtOrigCalc->Marque) {
        boucle = true;
        break;
      }
      w = w->ViseePreced();
    }
  }
  DemarquePoints();
  DemarqueVisees();
  return boucle;
}

// --- Regeneration -----------------------------------------------------------------------------

bool TCavite::ReGenereListePoints(bool vInit) {
  TAvertissementsCalcul avertissements;
  const bool rattachee = ReGenereListePoints(vInit, avertissements);
  SignaleAvertissements(avertissements);
  return rattachee;
}

bool TCavite::ReGenereListePoints(bool vInit, TAvertissementsCalcul& avertissements) {
  RemetPointsAZero();
  if (EstSurface) {
    ClasseParNomPointsSurface();
    PointsVirtuelsModifies = false;
    return true;
  }
  TViseesPropres propres;
  propres.visees.reserve(static_cast<size_t>(Visees.Count()));
  for (const TVisee* v : Visees) {
    propres.visees.insert(v);
    for (const TViseeHabi* h : v->ViseesHabi) propres.habi.insert(h);
  }
  RetireViseesDesPointsSurface(propres);
  RemetViseesAZero();
  AccrocheViseesAuxPoints();
  RetirePointsSansVisee();
  PrepareEntrees();
  ParcourtDepuisEntrees(propres.visees, avertissements);
  if (vInit && AViseeNonRattachee()) return false;
  NumeroteVisees();
  ClassePointsEtGaleries();
  RangeViseesParGalerie();
  PointsVirtuelsModifies = false;
  return true;
}

// Every station of the galleries starts unreached, the lists empty.
void TCavite::RemetPointsAZero() {
  ListePoints.Clear();
  ListeEntrees.Clear();
  for (TGalerie* g : Galeries) {
    g->ViseesDeLaGal.clear();
    g->BrancheGal = -1;
    g->CaviteRef = this;
    g->GalMarquee = false;
    for (TPointSpeleo* p : g->Points) {
      const bool surface = p->EstPointSurface();
      if (surface) GardeViseeArrivee(p);
      p->GalduPt = g;
      p->IndexPtCav = surface ? 0 : -1;
      p->Marque = false;
      p->NbRatTot = p->NbRatGal = p->NbCalc = 0;
      p->ViseeAvant = nullptr;
      p->PtRattache = surface;
      p->LVHabi.clear();
      // The shots of a cave station are all this cave's: the list is rebuilt
      // whole below, so that no shot freed since the last regeneration stays.
      if (!surface) p->LstVis.clear();
      ListePoints.Add(p);
    }
  }
  // The ends of the first shot may be surface points, which no gallery of
  // this cave holds: their splays are gathered again too.
  if (const TVisee* v0 = Visees.First()) {
    if (v0->PointStation) v0->PointStation->LVHabi.clear();
    if (v0->PointVise) v0->PointVise->LVHabi.clear();
  }
}

// The surface cave only sorts its points by name.
void TCavite::ClasseParNomPointsSurface() {
  if (TGalerie* g = Galeries.First()) TrieParNom(g->Points.Points());
  // The point list follows the sorted galleries, so that the network's
  // numbering of the surface points is their order in the file.
  ListePoints.Clear();
  for (TGalerie* g : Galeries)
    for (TPointSpeleo* p : g->Points) ListePoints.Add(p);
}

// The surface points forget this cave's shots and splays.
void TCavite::RetireViseesDesPointsSurface(const TViseesPropres& propres) {
  auto nettoieSurface = [&](TPointSpeleo* p, TGalerie* gSurface) {
    auto& lv = p->LstVis;
    lv.erase(std::remove_if(lv.begin(), lv.end(), [&](const TVisee* v) { return !v || propres.visees.count(v); }),
             lv.end());
    auto& lh = p->LVHabi;
    lh.erase(std::remove_if(lh.begin(), lh.end(), [&](const TViseeHabi* h) { return !h || propres.habi.count(h); }),
             lh.end());
    if (gSurface) p->GalduPt = gSurface;
  };
  if (TListedePoints* surface = PointsSurfaceReseau()) {
    TGalerie* gSurface = CavitesReseau->First()->Galeries.First();
    for (TPointSpeleo* p : *surface) nettoieSurface(p, gSurface);
  } else {
    for (const TVisee* v : Visees)
      for (TPointSpeleo* p : {v->PointStation, v->PointVise})
        if (p && p->EstPointSurface()) nettoieSurface(p, nullptr);
  }
}

// The shots lose their walk order and orientation.
void TCavite::RemetViseesAZero() {
  IndexTriVisees = -1;
  for (TVisee* v : Visees) {
    // A shot joins stations of its own cave and surface points; an end that is
    // a station of another cave, or of no gallery (only a damaged file gives
    // one), is dropped.
    for (TPointSpeleo* p : {v->PointStation, v->PointVise})
      if (p && !p->EstPointSurface() && (!p->GalduPt || p->GalduPt->CaviteRef != this))
        v->RemplaceExtremite(p, nullptr);
    for (TPointSpeleo* p : {v->PointStation, v->PointVise})
      if (p && !p->EstPointSurface()) p->LstVis.clear();
    v->CodeTri = -1;
    v->InvVisee = false;
    // The computed ends follow the stored ones until the walk reduces the shot.
    v->PtOrigCalc = v->PointStation;
    v->PtCalc = v->PointVise;
  }
}

// Shots, entrances and splays at their stations.
void TCavite::AccrocheViseesAuxPoints() {
  for (TVisee* v : Visees) {
    for (TPointSpeleo* p : {v->PointStation, v->PointVise}) {
      if (!p) continue;
      if (p->EstPointSurface()) {
        if (!Contient(p->LstVis, static_cast<TVisee*>(v))) p->LstVis.push_back(v);
        if (!ListeEntrees.Contient(p)) ListeEntrees.Add(p);
      } else {
        p->LstVis.push_back(v);
      }
    }
    for (TViseeHabi* h : v->ViseesHabi) {
      TPointSpeleo* s = h->PtStation();
      if (!s) continue;
      if (!s->EstPointSurface() || !Contient(s->LVHabi, h)) s->LVHabi.push_back(h);
    }
  }
}

// Stations that no shot touches leave their gallery; the others make the
// point list.
void TCavite::RetirePointsSansVisee() {
  ListePoints.Clear();
  TSuppressions orphelins;
  for (TGalerie* g : Galeries)
    for (int i = g->Points.Count() - 1; i >= 0; --i) {
      TPointSpeleo* p = g->Points.Item(i);
      if (p->LstVis.empty())
        orphelins.AjoutePoint(p);
      else
        ListePoints.Add(p);
    }
  if (!orphelins.Vide()) SupprimePoints(orphelins);
}

// The entrances start unreached, attached and sorted by name; the selected
// entrance is one of them.
void TCavite::PrepareEntrees() {
  for (TPointSpeleo* e : ListeEntrees) {
    GardeViseeArrivee(e);
    e->Marque = false;
    e->NbRatTot = e->NbRatGal = e->NbCalc = 0;
    e->ViseeAvant = nullptr;
    e->PtRattache = true;
    e->CalculeLargeurs();
  }
  TrieParNom(ListeEntrees.Points());
  if (!ListeEntrees.Contient(EntreeSelectee) && !ListeEntrees.Vide()) EntreeSelectee = ListeEntrees.First();
}

// The walk: from the selected entrance, then from every entrance.  A cave tied
// to no surface point is walked from the station of its first shot.
void TCavite::ParcourtDepuisEntrees(const std::unordered_set<const TVisee*>& propres,
                                    TAvertissementsCalcul& avertissements) {
  if (ListeEntrees.Contient(EntreeSelectee))
    Parcourt(EntreeSelectee, propres, avertissements);
  else if (ListeEntrees.Vide() && Visees.First() && Visees.First()->PointStation)
    Parcourt(Visees.First()->PointStation, propres, avertissements);
  for (TPointSpeleo* e : ListeEntrees) Parcourt(e, propres, avertissements);
  // The surface gallery served the walk from the entrances: leave it clean.
  if (TListedePoints* surface = PointsSurfaceReseau(); surface && CavitesReseau->First() != this)
    CavitesReseau->First()->Galeries.First()->LstVisTri.clear();
}

// A shot the walk did not reach whose two ends touch only that shot.
bool TCavite::AViseeNonRattachee() const {
  for (const TVisee* v : Visees) {
    const TPointSpeleo* a = v->PointStation;
    const TPointSpeleo* b = v->PointVise;
    if (a && b && !a->Marque && !b->Marque && a->LstVis.size() == 1 && b->LstVis.size() == 1) return true;
  }
  return false;
}

// The shots in computation order, numbered; the stations count the shots that
// leave and reach them.
void TCavite::NumeroteVisees() {
  Visees.TrieParCle([](const TVisee* v) { return v->IndexCav; });
  for (int i = 0; i < Visees.Count(); ++i) {
    TVisee* v = Visees.UnObjet(i);
    v->IndexCav = i;
    TPointSpeleo* o = v->PtOrigCalc;
    TPointSpeleo* e = v->PtCalc;
    if (o) {
      ++o->NbRatTot;
      if (e && e->ViseeAvant == v) ++o->NbRatGal;
    }
    if (e) {
      if (e->EstPointSurface())
        ++e->NbRatTot;
      else
        ++e->NbCalc;
    }
  }
}

// Each station takes the rank of its arriving shot; the point list, the
// stations of every gallery and then the galleries (by their first station's
// rank, empty ones last) follow that rank.
void TCavite::ClassePointsEtGaleries() {
  for (TPointSpeleo* p : ListePoints)
    if (p->ViseeAvant) {
      p->IndexPtCav = p->ViseeAvant->IndexCav;
      p->CalculeLargeurs();
    }
  auto rang = [](const TPointSpeleo* p) { return p->IndexPtCav; };
  TrieParCleEntiere(ListePoints.Points(), rang);
  for (TGalerie* g : Galeries) {
    TrieParCleEntiere(g->Points.Points(), rang);
    g->ViseesDeLaGal.clear();
  }
  Galeries.TrieStable([](const TGalerie* a, const TGalerie* b) {
    if (a->Points.Vide() || b->Points.Vide()) return !a->Points.Vide() && b->Points.Vide();
    return a->Points.First()->IndexPtCav < b->Points.First()->IndexPtCav;
  });
}

// Every shot is listed by its gallery and knows its cave.
void TCavite::RangeViseesParGalerie() {
  for (TVisee* v : Visees) {
    TGalerie* g = v->GalDeLaVis();
    if (g && g->CaviteRef == this) g->ViseesDeLaGal.push_back(v);
    v->CavDeLaVis = this;
  }
}

// The walk keeps its own stack of frames, one per call of the two routines it
// stands for, so that no chain of stations, however long, can exhaust the
// machine's stack; each frame resumes where its routine's loop stood, which
// keeps the order of every step of the recursive description.
//
//   ParcourtGalerie (P, V): P reached: return.  Clear the LstVisTri of P's
//     gallery unless the gallery was already entered by this walk (always at
//     the start); mark the gallery; ParcourtDepuisPoint (P, V); then for each
//     shot S of the gallery's LstVisTri, including those appended meanwhile,
//     ParcourtGalerie (end of S, S).
//   ParcourtDepuisPoint (P, V): P reached: return.  P is reached by V; V gets
//     the next rank.  Each shot at P is oriented from P and classed; the shots
//     are sorted; those leading into another gallery (attachment shots
//     excepted) wait in its LstVisTri;
//     then each shot either closes a loop (its end is reached: it gets the
//     next rank) or, unless it leads into another gallery or is an attachment
//     shot, is followed: ParcourtDepuisPoint (end of S, S).
//
// Shots of other caves met at a surface point are not this cave's to walk.
void TCavite::Parcourt(TPointSpeleo* depart, const std::unordered_set<const TVisee*>& propres,
                       TAvertissementsCalcul& avertissements) {
  struct Cadre {
    bool galerie;           // ParcourtGalerie, else ParcourtDepuisPoint
    TPointSpeleo* P;
    TVisee* V;
    std::vector<TVisee*>* tri;  // LstVisTri of P's gallery
    int phase;
    size_t i;
  };
  std::vector<TVisee*> triSansGalerie;
  auto triDe = [&](TPointSpeleo* p) { return p->GalduPt ? &p->GalduPt->LstVisTri : &triSansGalerie; };
  auto estPropre = [&](const TPointSpeleo* p, const TVisee* s) { return !p->EstPointSurface() || propres.count(s); };

  std::vector<Cadre> pile;
  pile.push_back({true, depart, nullptr, nullptr, 0, 0});
  while (!pile.empty()) {
    Cadre c = pile.back();
    if (c.galerie) {
      if (c.phase == 0) {
        if (c.P->Marque) {
          pile.pop_back();
          continue;
        }
        TGalerie* g = c.P->GalduPt;
        c.tri = triDe(c.P);
        if (!g || !g->GalMarquee || !c.V) c.tri->clear();
        if (g) g->GalMarquee = true;
        c.phase = 1;
        c.i = 0;
        pile.back() = c;
        pile.push_back({false, c.P, c.V, nullptr, 0, 0});
        continue;
      }
      if (c.i < c.tri->size()) {
        TVisee* s = (*c.tri)[c.i];
        pile.back().i = c.i + 1;
        if (s->PtCalc) pile.push_back({true, s->PtCalc, s, nullptr, 0, 0});
        continue;
      }
      pile.pop_back();
      continue;
    }
    // ParcourtDepuisPoint
    TPointSpeleo* p = c.P;
    if (c.phase == 0) {
      if (p->Marque) {
        pile.pop_back();
        continue;
      }
      p->ViseeAvant = c.V;
      p->Marque = true;
      if (c.V) {
        ++IndexTriVisees;
        RetireTous(p->LstVis, c.V);
        c.V->IndexCav = IndexTriVisees;
        p->PtRattache = c.V->PtOrigCalc && c.V->PtOrigCalc->PtRattache;
      }
      for (TVisee* s : p->LstVis) {
        if (!estPropre(p, s)) continue;
        s->InvVisee = p == s->PointVise;
        s->CalculeVisee(avertissements);
        const TPointSpeleo* e = s->PtCalc;
        s->CodeTri = (!e || e->EstAnnexe() || s->EstViseeRattach()) ? 0 : 1;
        if (e && !e->EstPointSurface() && e->GalduPt != p->GalduPt) s->CodeTri = 2;
      }
      if (p->LstVis.size() > 1)
        std::stable_sort(p->LstVis.begin(), p->LstVis.end(),
                         [](const TVisee* a, const TVisee* b) { return CompareViseesParcours(a, b) < 0; });
      // Attachment shots are never walked through, not even into another gallery.
      std::vector<TVisee*>* tri = triDe(p);
      for (TVisee* s : p->LstVis)
        if (estPropre(p, s) && s->PtCalc && !s->PtCalc->Marque && s->CodeTri == 2 && !s->EstViseeRattach())
          tri->push_back(s);
      pile.back().phase = 1;
      pile.back().i = 0;
      continue;
    }
    if (c.i < p->LstVis.size()) {
      TVisee* s = p->LstVis[c.i];
      pile.back().i = c.i + 1;
      if (!estPropre(p, s) || !s->PtCalc) continue;
      if (s->PtCalc->Marque) {
        ++IndexTriVisees;
        s->IndexCav = IndexTriVisees;
      } else if (s->CodeTri <= 1 && !s->EstViseeRattach()) {
        pile.push_back({false, s->PtCalc, s, nullptr, 0, 0});
      }
      continue;
    }
    pile.pop_back();
  }
}

void TCavite::TrieViseesOrdreTopo() {
  for (TPointSpeleo* p : ListePoints)
    if (p->LstVis.size() > 1)
      std::stable_sort(p->LstVis.begin(), p->LstVis.end(),
                       [](const TVisee* a, const TVisee* b) { return CompareAngles(a->AngleTri, b->AngleTri) < 0; });
}

void TCavite::ControleAnnexes() {
  bool change = false;
  for (TPointSpeleo* p : ListePoints) {
    const TVisee* v = p->ViseeAvant;
    if (v && v->PtOrigCalc && v->PtOrigCalc->NbRatGal == 1 && p->Annexe == 1) {
      p->Annexe = 0;
      change = true;
    }
  }
  if (change) ReGenereListePoints(false);
}

// --- Virtual points ----------------------------------------------------------------------------

TPointSpeleo* TCavite::CreePointEntreeVirtuel(TPointSpeleo* E) {
  if (!E) return nullptr;
  auto pv = std::make_unique<TPointSpeleo>();
  pv->TypePoint = PointEntreeVirtuel;
  pv->DesignPTopo = E->DesignPTopo;
  pv->ZPlan = E->Z;
  pv->PtBoucleAsso = E;
  auto propre = [&](TGalerie* g) { return g && g->CaviteRef == this ? g : nullptr; };
  TGalerie* g = E->ViseeAvant ? propre(E->ViseeAvant->GalDeLaVis()) : nullptr;
  std::vector<TVisee*> touchees;
  for (TVisee* v : Visees)
    if (v->PointStation == E || v->PointVise == E) touchees.push_back(v);
  for (TVisee* v : touchees) {
    if (!g) g = propre(v->GalDeLaVis());
    // The end that is the entrance becomes the virtual point, whichever way
    // the shot was walked.
    v->RemplaceExtremite(E, pv.get());
  }
  if (!g) g = Galeries.First();
  if (!g) {
    for (TVisee* v : touchees) v->RemplaceExtremite(pv.get(), E);
    return nullptr;
  }
  pv->GalduPt = g;
  TPointSpeleo* r = g->Points.Add(std::move(pv));
  PointsVirtuelsModifies = true;
  return r;
}

void TCavite::SupprimePointEntreeVirtuel(TPointSpeleo* E, TPointSpeleo* Pv) {
  if (!E || !Pv || E == Pv) return;
  E->SLAffichee = Pv->SLAffichee;
  E->Slp = Pv->Slp;
  E->ZCalc = Pv->ZCalc;
  E->Dhh = Pv->Dhh;
  E->Dhb = Pv->Dhb;
  E->DzPt = Pv->DzPt;
  TSuppressions s;
  s.AjoutePoint(Pv, E);
  SupprimePoints(s);
  PointsVirtuelsModifies = true;
}

void TCavite::SupprimeTousPointsEntreeVirtuels() {
  // Every virtual entrance of the galleries, whether the derived lists know it
  // yet or not.
  TSuppressions s;
  for (TGalerie* g : Galeries)
    for (int i = g->Points.Count() - 1; i >= 0; --i) {
      TPointSpeleo* pv = g->Points.Item(i);
      TPointSpeleo* e = pv->PtBoucleAsso;
      if (pv->TypePoint != PointEntreeVirtuel || !e) continue;
      e->SLAffichee = pv->SLAffichee;
      e->Slp = pv->Slp;
      e->ZCalc = pv->ZCalc;
      e->Dhh = pv->Dhh;
      e->Dhb = pv->Dhb;
      e->DzPt = pv->DzPt;
      s.AjoutePoint(pv, e);
    }
  if (s.Vide()) return;
  SupprimePoints(s);
  PointsVirtuelsModifies = true;
}

TPointSpeleo* TCavite::CreePointBisVirtuel(TPointSpeleo* P) {
  auto bis = std::make_unique<TPointSpeleo>();
  bis->TypePoint = PointJonctionVirtuel;
  bis->DesignPTopo = P->DesignPTopo + Msg(IdMsg::SuffixePointBis);
  bis->PtBoucleAsso = P;
  bis->ZPlan = P->ZPlan;
  if (!P->PtBoucleAsso) P->PtBoucleAsso = bis.get();
  PointsVirtuelsModifies = true;
  return bis.release();
}

void TCavite::CreePointsJonctionVirtuels() {
  TAvertissementsCalcul avertissements;
  CreePointsJonctionVirtuels(avertissements);
  SignaleAvertissements(avertissements);
}

void TCavite::CreePointsJonctionVirtuels(TAvertissementsCalcul& avertissements) {
  for (TVisee* v : Visees) {
    if (v->TypeRattachement == 1) v->TypeRattachement = 0;
    TPointSpeleo* fin = v->PtCalc;
    if (!fin || fin->NbCalc < 2 || fin->ViseeAvant == v) continue;
    // The shot closes a loop: it ends on its own duplicate of the station.
    v->TypeRattachement = 0;
    TGalerie* g = v->GalDeLaVis();
    // A shot leaving an entrance belongs to no gallery of this cave: its
    // duplicate goes with the station it duplicates.
    if (!g || g->CaviteRef != this) g = fin->GalduPt;
    std::unique_ptr<TPointSpeleo> bis(CreePointBisVirtuel(fin));
    TPointSpeleo*& arrivee = v->InvVisee ? v->PointStation : v->PointVise;
    TPointSpeleo* ancien = arrivee;
    arrivee = bis.get();
    v->PtCalc = bis.get();
    if (v->PointStation != ancien && v->PointVise != ancien) RetireTous(ancien->LstVis, v);
    bis->LstVis.push_back(v);
    bis->GalduPt = g;
    if (g) {
      g->Points.Add(std::move(bis));
    } else {
      // Nowhere to keep it: the shot keeps its end.
      v->RemplaceExtremite(bis.get(), ancien);
      if (fin->PtBoucleAsso == bis.get()) fin->PtBoucleAsso = nullptr;
    }
  }
  ReGenereListePoints(false, avertissements);
}

void TCavite::SupprimePointsVirtuels() {
  TAvertissementsCalcul avertissements;
  SupprimePointsVirtuels(avertissements);
  SignaleAvertissements(avertissements);
}

void TCavite::SupprimePointsVirtuels(TAvertissementsCalcul& avertissements) {
  TSuppressions s;
  for (TVisee* v : Visees) {
    bool virtuel = false;
    for (TPointSpeleo* p : {v->PointStation, v->PointVise})
      if (p && p->TypePoint == PointJonctionVirtuel && p->PtBoucleAsso) {
        s.AjoutePoint(p, p->PtBoucleAsso);
        virtuel = true;
      }
    if (virtuel) {
      v->TypeRattachement = 1;
      PointsVirtuelsModifies = true;
    }
  }
  SupprimePoints(s);
  ReGenereListePoints(false, avertissements);
}

// --- Removal -------------------------------------------------------------------------------------

void TCavite::NettoieReferences(const TSuppressions& s) {
  for (TVisee* v : Visees) {
    for (TPointSpeleo* p : {v->PointStation, v->PointVise})
      if (s.PointSupprime(p)) v->RemplaceExtremite(p, s.Remplace(p));
    s.Redirige(v->PtOrigCalc);
    s.Redirige(v->PtCalc);
    s.Redirige(v->PointRefCompens);
    s.Efface(v->LeLever);
    for (TViseeHabi* h : v->ViseesHabi) s.Efface(h->LeLever);
  }
  if (!s.Points().empty()) {
    for (TGalerie* g : Galeries)
      for (TPointSpeleo* p : g->Points) {
        if (s.PointSupprime(p)) continue;
        for (TPointSpeleo** r : {&p->PtBoucleAsso, &p->vPointOrigine})
          if (s.Redirige(*r) && *r == p) *r = nullptr;
      }
    for (TPointSpeleo** r : {&RefCalculAlti, &EntreeSelectee, &SauveEntreeSelectee, &PointImport})
      s.Redirige(*r);
    s.RetireDe(ListePoints.Points());
    s.RetireDe(ListeEntrees.Points());
    s.RetireDe(ListeEntreesCalculees.Points());
    s.RetireDe(EntreesCalcul.Points());
    for (TLever* l : Levers) {
      s.Redirige(l->PointDeb);
      s.Redirige(l->PointFin);
    }
    s.Redirige(CalageDigitPlani.PointZeroSpel);
    s.Redirige(CalageDigitPlani.PointDeuxSpel);
    s.Redirige(CalageDigitAlti.PointZeroSpel);
    s.Redirige(CalageDigitAlti.PointDeuxSpel);
  }
  if (Annexe) Annexe->Nettoie(s);
}

void TCavite::RetireSuppressions(const TSuppressions& s, const std::vector<TCavite*>& cavites) {
  // Stations leave the gallery that owns them, one pass per gallery: the
  // galleries they name first, then, for a gallery link that is not current,
  // every gallery of the network.
  std::unordered_set<const TPointSpeleo*> restants;
  std::unordered_set<const TGalerie*> nommees;
  for (const auto& [p, remplacant] : s.Points()) {
    restants.insert(p);
    if (p->GalduPt) nommees.insert(p->GalduPt);
  }
  auto retire = [&](TGalerie* g) {
    g->Points.SupprimeSi([&](const TPointSpeleo* p) { return restants.erase(p) > 0; });
  };
  for (TCavite* c : cavites)
    for (TGalerie* g : c->Galeries)
      if (!restants.empty() && nommees.count(g)) retire(g);
  for (TCavite* c : cavites)
    for (TGalerie* g : c->Galeries)
      if (!restants.empty() && !nommees.count(g)) retire(g);
  if (!s.Levers().empty())
    for (int i = Levers.Count() - 1; i >= 0; --i)
      if (s.LeverSupprime(Levers.UnObjet(i))) Levers.Delete(i);
}

void TCavite::SupprimePoints(const TSuppressions& s) {
  if (s.Vide()) return;
  std::vector<TCavite*> cavites;
  if (CavitesReseau)
    for (TCavite* c : *CavitesReseau) cavites.push_back(c);
  if (std::find(cavites.begin(), cavites.end(), this) == cavites.end()) cavites.push_back(this);
  for (TCavite* c : cavites) c->NettoieReferences(s);
  s.Efface(Document().LeverCourant);
  AppliqueNettoyages(s);
  RetireSuppressions(s, cavites);
}

void DetruitCavites(foundation::TListeFichier<TCavite>& cavites) {
  GardeLiberationReseau garde;
  cavites.Clear();
}

// --- Network numbering -------------------------------------------------------------------------

void NumeroteTousPoints(const foundation::TListeFichier<TCavite>& cavites) {
  auto& index = ListePointsReseau();
  index.clear();
  std::unordered_set<const TPointSpeleo*> numerotes;
  auto numerote = [&](TPointSpeleo* p) {
    if (!p || !numerotes.insert(p).second) return;
    p->IndiceReseau = static_cast<int32_t>(index.size());
    index.push_back(p);
  };
  for (const TCavite* c : cavites) {
    for (TPointSpeleo* p : c->ListePoints) numerote(p);
    for (const TGalerie* g : c->Galeries)
      for (TPointSpeleo* p : g->Points) numerote(p);
  }
}

void RecreeIndexReseau(const foundation::TListeFichier<TCavite>& cavites) {
  auto& index = ListePointsReseau();
  index.clear();
  for (const TCavite* c : cavites)
    for (const TGalerie* g : c->Galeries)
      for (TPointSpeleo* p : g->Points) index.push_back(p);
  std::stable_sort(index.begin(), index.end(),
                   [](const TPointSpeleo* a, const TPointSpeleo* b) { return a->IndiceReseau < b->IndiceReseau; });
  for (size_t i = 0; i < index.size(); ++i) index[i]->IndiceReseau = static_cast<int32_t>(i);
  for (TPointSpeleo* p : index)
    if (p->IndPtBoucle >= 0 && static_cast<size_t>(p->IndPtBoucle) < index.size())
      p->PtBoucleAsso = index[static_cast<size_t>(p->IndPtBoucle)];
}

}  // namespace survey
