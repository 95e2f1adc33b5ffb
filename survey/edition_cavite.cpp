// The cave's structural edits: shots and splays created and corrected through
// the shot-entry dialog, splays and shots turned into one another, deletions,
// loops, attachments and entrances, gallery moves, renaming in series and the
// merge of caves.
#include <algorithm>
#include <memory>
#include <unordered_set>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "platform/dialogs.h"
#include "survey/bouclage.h"
#include "survey/cavite.h"
#include "survey/compens.h"
#include "survey/contexte_document.h"
#include "survey/reseau.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;
using foundation::RemplaceMarques;

namespace {

std::string NomPoint(const TPointSpeleo* p) { return p ? p->DesignPTopo : std::string(); }

bool OuiA(const std::string& question) {
  return platform::Dialogs::Current().AskYesNo(question) == platform::Answer::Yes;
}

void Modifie() { Document().DocumentModifie = true; }

// Sets a flag for the life of the guard and puts the former value back.
class GardeValeur {
 public:
  GardeValeur(bool& drapeau, bool valeur) : drapeau_(drapeau), sauve_(drapeau) { drapeau_ = valeur; }
  ~GardeValeur() { drapeau_ = sauve_; }
  GardeValeur(const GardeValeur&) = delete;
  GardeValeur& operator=(const GardeValeur&) = delete;

 private:
  bool& drapeau_;
  bool sauve_;
};

void CopieDimensions(const TPointSpeleo& de, TPointSpeleo& vers) {
  vers.LargeurDR = de.LargeurDR;
  vers.LargeurGA = de.LargeurGA;
  vers.HauteurSup = de.HauteurSup;
  vers.HauteurInf = de.HauteurInf;
}

bool SansDimensions(const TPointSpeleo& p) {
  return p.LargeurDR == 0 && p.LargeurGA == 0 && p.HauteurSup == 0 && p.HauteurInf == 0;
}

// The station of the cave named nom (names compared without regard to
// case), none when no station bears it.
TPointSpeleo* StationNommee(const TCavite& c, const std::string& nom) {
  if (nom.empty()) return nullptr;
  const std::string cherche = foundation::EnMajuscules(nom);
  // Most names are ASCII: compared in place, without a copy per station.
  const auto memeNom = [&cherche](const std::string& d) {
    if (std::any_of(d.begin(), d.end(), [](char o) { return static_cast<unsigned char>(o) >= 0x80; }))
      return foundation::EnMajuscules(d) == cherche;
    return d.size() == cherche.size() && std::equal(d.begin(), d.end(), cherche.begin(), [](char a, char b) {
             return (a >= 'a' && a <= 'z' ? static_cast<char>(a - 'a' + 'A') : a) == b;
           });
  };
  for (const TGalerie* g : c.Galeries)
    for (TPointSpeleo* p : g->Points)
      if (memeNom(p->DesignPTopo)) return p;
  return nullptr;
}

// A new point of a shot the dialog made, named like another station of the
// cave: asked whether the shot closes the loop on that station.  On Yes the
// station takes the new point's place at the shot's end (and its passage
// dimensions, comment and continuations when it has none of its own) and
// the new point is freed; on No the shot keeps the point as typed.  True
// when the loop was closed.
bool FermeBoucleSurHomonyme(TCavite& c, TVisee& T) {
  for (TPointSpeleo* nouveau : {T.PointVise, T.PointStation}) {
    if (!nouveau || nouveau->EstPointSurface() || nouveau->GalduPt) continue;
    TPointSpeleo* autre = nouveau == T.PointVise ? T.PointStation : T.PointVise;
    TPointSpeleo* existant = StationNommee(c, nouveau->DesignPTopo);
    // A shot from a station to itself closes nothing.
    if (!existant || existant == autre) return false;
    if (!OuiA(RemplaceMarques(Msg(IdMsg::EditionPointExisteBoucle), {existant->DesignPTopo}))) return false;
    if (SansDimensions(*existant) && !SansDimensions(*nouveau)) {
      CopieDimensions(*nouveau, *existant);
      existant->InvBords = nouveau->InvBords;
    }
    if (existant->Commentaire.empty()) existant->Commentaire = nouveau->Commentaire;
    if (existant->SuiteObs.Count() == 0 && nouveau->SuiteObs.Count() > 0) nouveau->SuiteObs.CopieListeObs(existant->SuiteObs);
    T.RemplaceExtremite(nouveau, existant);
    delete nouveau;
    return true;
  }
  return false;
}

// A new station of gallery g named nom.
TPointSpeleo* NouvelleStation(TGalerie* g, const std::string& nom) {
  auto p = std::make_unique<TPointSpeleo>();
  p->DesignPTopo = nom;
  p->GalduPt = g;
  return g->Points.Add(std::move(p));
}

// The marked stations of the source gallery move, in order, to the end of the
// destination's; the others stay, in order.
void DeplacePointsMarques(TGalerie& source, TGalerie& destination) {
  auto& points = source.Points.Points();
  std::vector<TPointSpeleo*> restent;
  restent.reserve(points.size());
  for (TPointSpeleo* p : points) {
    if (p->Marque) {
      p->GalduPt = &destination;
      destination.Points.Add(p);
    } else {
      restent.push_back(p);
    }
  }
  points.swap(restent);
}

}  // namespace

// --- Helpers ---------------------------------------------------------------------------------

void TCavite::RetirePoints(const TSuppressions& s) {
  if (s.Vide()) return;
  // A stored adjustment whose station goes without replacement is deleted.
  if (ReseauProprio) {
    bool sansRemplacant = false;
    for (const auto& [p, r] : s.Points())
      if (!r) {
        p->PtAEffacer = true;
        sansRemplacant = true;
      }
    if (sansRemplacant) ReseauProprio->NettoieLiensSupprimes();
    for (const auto& [p, r] : s.Points()) p->PtAEffacer = false;
  }
  SupprimePoints(s);
}

bool TCavite::SupprimeGaleriesVides() {
  const int avant = Galeries.Count();
  TGalerie* active = LaGalerieActive;
  Galeries.SupprimeSi([&](const TGalerie* g) {
    if (!g->Points.Vide()) return false;
    if (g == active) active = nullptr;
    return true;
  });
  LaGalerieActive = active;
  return Galeries.Count() != avant;
}

void TCavite::AnnuleEffacement() {
  for (TVisee* v : Visees) v->AEffacer = false;
  for (TGalerie* g : Galeries)
    for (TPointSpeleo* p : g->Points) p->PtAEffacer = false;
}

void TCavite::AdopteExtremites(TVisee& v, TGalerie* g, bool insertion, TVisee* source) {
  bool epissee = false;
  for (TPointSpeleo* p : {v.PointVise, v.PointStation}) {
    if (!p || p->EstPointSurface() || p->GalduPt) continue;
    p->GalduPt = g;
    g->Points.Add(p);
    if (insertion && source && !epissee) {
      // The new station is spliced into the source shot, which now runs
      // from it to its old end; it takes over the side-station flag there.
      epissee = true;
      TPointSpeleo* origine = source->InvVisee ? source->PointVise : source->PointStation;
      TPointSpeleo* fin = source->PtCalc;
      if (origine && origine != p) source->RemplaceExtremite(origine, p);
      if (fin) {
        p->Annexe = fin->Annexe;
        fin->Annexe = 0;
      }
    }
  }
}

// --- Creation and correction --------------------------------------------------------------

bool TCavite::CreeVisee(TVisee* ViseeSource, TValeurVisee*& ViseeCree) {
  ViseeCree = nullptr;
  const auto& dialogue = Ports().DialogueSaisieVisee;
  if (!dialogue) return false;
  const bool insertion = Document().InsertionVisee;
  auto T = std::make_unique<TVisee>();
  TVisee* source = ViseeSource;
  if (!Visees.Vide()) {
    if (!source) source = DerniereViseeGalActive() ? DerniereViseeGalActive() : Visees.Last();
    T->PointStation = insertion ? source->PtOrigCalc : source->PtCalc;
    T->Exclue = source->Exclue;
    T->LeLever = source->LeLever;
  } else {
    source = nullptr;
    const auto& choix = Ports().ChoisitPointSurface;
    T->PointStation = choix ? choix(*this, EntreeSelectee) : nullptr;
    if (!T->PointStation) return false;
  }
  T->PtOrigCalc = T->PointStation;
  TDemandeSaisieVisee demande;
  demande.Cavite = this;
  demande.Visee = T.get();
  demande.Source = source;
  if (Visees.Vide()) demande.NomGaleriePropose = Msg(IdMsg::GalerieDEntree);
  if (!dialogue(demande)) return false;
  if (T->EstHabi) {
    // The dialog made it a splay of the source.
    if (!source) return false;
    TViseeHabi* H = nullptr;
    {
      GardeValeur rectif(Document().RectifEnCours, false);
      CopieEnViseeHabi(*source, *T, H);
    }
    for (TPointSpeleo* p : {T->PointStation, T->PointVise})
      if (p && !p->EstPointSurface() && !p->GalduPt) {
        T->RemplaceExtremite(p, nullptr);
        delete p;
      }
    T.reset();
    ReGenereListePoints(false);
    Modifie();
    ViseeCree = H;
    return true;
  }
  // Both ends of a shot that closes a loop are stations already: no gallery
  // to open for it.  An inserted shot is spliced into its source, and keeps
  // its point.
  const bool boucle = !insertion && FermeBoucleSurHomonyme(*this, *T);
  if (!boucle && (!LaGalerieActive || demande.NouvelleGalerie)) AjouteGalerie(demande.NomGalerie);
  if (!boucle) AdopteExtremites(*T, LaGalerieActive, insertion, source);
  if (T->TypeRattachement == 1) {
    const TPointSpeleo* a = T->PointStation;
    const TPointSpeleo* b = T->PointVise;
    if (!a || !b || a->EstPointSurface() || b->EstPointSurface() || !a->PtRattache || !b->PtRattache)
      T->TypeRattachement = 0;
  }
  if (T->LeLever && T->LeLever != LeverParDefaut()) T->indLever = Levers.IndexOf(T->LeLever);
  TVisee* t = Visees.Add(std::move(T));
  ReGenereListePoints(false);
  // An inserted station takes the old end's place, whose flag it took over.
  bool encore = insertion;
  if (TGalerie* g = t->GalDeLaVis(); !insertion && g && g->TesteSuiteGalerie(*t)) encore = true;
  if (encore) ReGenereListePoints(false);
  Modifie();
  ViseeCree = t;
  return true;
}

void TCavite::CopieEnViseeHabi(TVisee& V, const TValeurVisee& S, TViseeHabi*& H) {
  const bool rectif = Document().RectifEnCours;
  std::unique_ptr<TViseeHabi> nouvelle;
  if (!rectif || !H) {
    nouvelle = std::make_unique<TViseeHabi>();
    H = nouvelle.get();
    H->ViseeDeRef = &V;
  }
  const TVisee* s = dynamic_cast<const TVisee*>(&S);
  const TPointSpeleo* station = s ? s->PtOrigCalc : nullptr;
  H->RefPtStat = station ? station == V.PointStation : S.RefPtStat;
  H->AffecteValeurs(S);
  H->LeLever = V.LeLever;
  if (nouvelle) V.AjouteViseeHabi(std::move(nouvelle));
}

void TCavite::ReporteLeverSuivantes(TVisee& V, const TLever* ancien) {
  MarqueVisees(&V);
  for (TVisee* s : Visees)
    if (s != &V && s->Marque && s->LeLever == ancien) {
      s->LeLever = V.LeLever;
      s->indLever = V.indLever;
      for (TViseeHabi* h : s->ViseesHabi) h->LeLever = V.LeLever;
    }
  DemarqueVisees();
}

bool TCavite::RectifVisee(TValeurVisee& ViseeTemp) {
  const auto& dialogue = Ports().DialogueSaisieVisee;
  if (!dialogue) return false;
  GardeValeur rectif(Document().RectifEnCours, true);
  TDemandeSaisieVisee demande;
  demande.Cavite = this;
  demande.Rectification = true;
  if (ViseeTemp.EstHabi) {
    auto* H = static_cast<TViseeHabi*>(&ViseeTemp);
    TVisee* ref = H->ViseeDeRef;
    if (!ref) return false;
    // A temporary main shot stands for the splay in the dialog.
    TVisee temp;
    temp.EstHabi = true;
    temp.AffecteValeurs(*H);
    temp.PointStation = temp.PtOrigCalc = H->PtStation();
    temp.RefPtStat = H->RefPtStat;
    temp.LeLever = ref->LeLever;
    demande.Visee = &temp;
    demande.Source = ref;
    const bool ok = dialogue(demande);
    temp.PointStation = temp.PtOrigCalc = nullptr;
    temp.PointVise = temp.PtCalc = nullptr;
    if (!ok) return false;
    // The start point chosen in the dialog (the main shot's station or its
    // target) is the splay's from now on: it leaves the old one's list and
    // the regenerated lists hang it on the new one.
    H->DetacheDesPoints();
    TViseeHabi* h = H;
    CopieEnViseeHabi(*ref, temp, h);
    ReGenereListePoints(false);
    Modifie();
    return true;
  }
  auto& V = static_cast<TVisee&>(ViseeTemp);
  const TLever* ancien = V.LeLever;
  demande.Visee = &V;
  if (!dialogue(demande)) return false;
  TGalerie* g = V.GalDeLaVis();
  if (!g) g = LaGalerieActive ? LaGalerieActive : Galeries.Last();
  if (g) AdopteExtremites(V, g, false, nullptr);
  if (V.LeLever && V.LeLever != LeverParDefaut()) V.indLever = Levers.IndexOf(V.LeLever);
  if (TGalerie* gv = V.GalDeLaVis()) gv->TesteSuiteGalerie(V);
  ReGenereListePoints(false);
  if (V.LeLever != ancien) ReporteLeverSuivantes(V, ancien);
  Modifie();
  return true;
}

// --- Splays and shots ----------------------------------------------------------------------

std::string TCavite::IncDesignPt(const std::string& Designation) const {
  std::unordered_set<std::string> noms;
  for (const TGalerie* g : Galeries)
    for (const TPointSpeleo* p : g->Points) noms.insert(foundation::EnMajuscules(p->DesignPTopo));
  for (int64_t n = 1;; ++n) {
    std::string nom = Designation + foundation::EntierEnStr(n);
    if (!noms.count(foundation::EnMajuscules(nom))) return nom;
  }
}

TViseeHabi* TCavite::TransfoEnHabi(TVisee* ViseeInit) {
  if (!ViseeInit || !EstViseeDeLaCavite(ViseeInit)) return nullptr;
  TVisee* precedente = ViseeInit->ViseePreced();
  TPointSpeleo* fin = ViseeInit->PtCalc;
  // Shots continuing from its end would be cut off from the survey.
  if (!precedente || !fin || fin->NbRatTot > 0 || fin->NbCalc > 1) return nullptr;
  ViseeInit->CommentVisee = fin->Commentaire;
  TViseeHabi* H = nullptr;
  {
    GardeValeur rectif(Document().RectifEnCours, false);
    CopieEnViseeHabi(*precedente, *ViseeInit, H);
  }
  // The splays at its origin stay at that station, on the previous shot.
  TPointSpeleo* origine = ViseeInit->PtOrigCalc;
  for (int i = ViseeInit->ViseesHabi.Count() - 1; i >= 0; --i) {
    TViseeHabi* h = ViseeInit->LaViseeHabi(i);
    if (h->PtStation() != origine) continue;
    std::unique_ptr<TViseeHabi> d = ViseeInit->ViseesHabi.Extract(i);
    d->DetacheDesPoints();
    d->RefPtStat = origine == precedente->PointStation;
    precedente->AjouteViseeHabi(std::move(d));
  }
  ViseeInit->AEffacer = true;
  EffacePointsSupprimes();
  return H;
}

TVisee* TCavite::HabiEnVisee(TViseeHabi* ViseeInit) {
  if (!ViseeInit || !ViseeInit->ViseeDeRef) return nullptr;
  TVisee* ref = ViseeInit->ViseeDeRef;
  TPointSpeleo* station = ViseeInit->PtStation();
  if (!station) return nullptr;
  TGalerie* g = ref->GalDeLaVis();
  if (!g || g->CaviteRef != this) g = station->GalduPt && station->GalduPt->CaviteRef == this ? station->GalduPt
                                                                                            : Galeries.Last();
  if (!g) return nullptr;
  TPointSpeleo* nouveau = NouvelleStation(g, IncDesignPt(station->DesignPTopo + "-"));
  nouveau->Annexe = 1;
  nouveau->Commentaire = ViseeInit->CommentVisee;
  auto v = std::make_unique<TVisee>();
  v->AffecteValeurs(*ViseeInit);
  v->PointStation = station;
  v->PointVise = nouveau;
  v->Exclue = 0;
  v->LeLever = ref->LeLever;
  v->indLever = ref->indLever;
  ref->ViseesHabi.Remove(ViseeInit);
  TVisee* r = Visees.Add(std::move(v));
  ReGenereListePoints(false);
  Modifie();
  return r;
}

// --- Deletion ----------------------------------------------------------------------------------

bool TCavite::SupprimeVisee(TVisee* ViseeSpel, bool Confirm) {
  TVisee* V = ViseeSpel;
  if (!V || !EstViseeDeLaCavite(V)) return false;
  TPointSpeleo* origine = V->PtOrigCalc;
  TPointSpeleo* fin = V->PtCalc;
  if (Confirm) {
    if (fin && fin->NbRatTot >= 2) {
      platform::Dialogs::Current().ShowMessage(
          platform::MessageKind::Warning, RemplaceMarques(Msg(IdMsg::EditionPlusieursRattaches), {NomPoint(fin)}));
      return false;
    }
    if (!OuiA(RemplaceMarques(Msg(IdMsg::EditionSupprimerVisee), {NomPoint(V->PointStation), NomPoint(V->PointVise)})))
      return false;
  }
  // The shot the walk continues by from its end now starts at its origin.
  // Only a shot that reaches its end first does so: a loop-closing shot
  // leaves its end to the shots that reach it otherwise.
  if (!V->EstViseeRattach() && origine && fin && !fin->EstPointSurface() && fin->ViseeAvant == V) {
    for (TVisee* s : Visees) {
      if (s == V || (s->PointStation != fin && s->PointVise != fin)) continue;
      s->RemplaceExtremite(fin, origine);
      origine->Annexe = fin->Annexe;
      break;
    }
  }
  V->AEffacer = true;
  return true;
}

bool TCavite::SupprimeViseesSuivantes(TVisee* ViseeSpel) {
  TVisee* V = ViseeSpel;
  if (!V || !EstViseeDeLaCavite(V)) return false;
  MarqueEffacement(V, true);
  std::vector<std::string> galeries;
  for (const TGalerie* g : Galeries)
    if (const TVisee* p = g->PremiereVisee(); p && p->AEffacer) galeries.push_back(g->NomGalerie);
  std::vector<std::string> coupes;
  if (Annexe) coupes = Annexe->CoupesAEffacer();
  bool accepte = false;
  if (galeries.empty() && coupes.empty()) {
    accepte = OuiA(RemplaceMarques(Msg(IdMsg::EditionGalerieEffacee),
                                   {NomGalerieDuPoint(V->PtCalc), NomPoint(V->PointStation), NomPoint(V->PointVise)}));
  } else if (const auto& confirme = Ports().ConfirmeEffacementVisees) {
    accepte = confirme(galeries, coupes);
  }
  if (!accepte) AnnuleEffacement();
  return accepte;
}

void TCavite::EffaceViseesSupprimees() {
  bool aucune = true;
  for (const TVisee* v : Visees)
    if (v->AEffacer) {
      aucune = false;
      break;
    }
  if (aucune) return;
  if (Annexe) Annexe->EffaceObjetsSansPoints();
  // Stations that only flagged shots touch go with them.
  std::unordered_set<const TPointSpeleo*> gardes;
  for (const TVisee* v : Visees)
    if (!v->AEffacer)
      for (const TPointSpeleo* p : {v->PointStation, v->PointVise})
        if (p) gardes.insert(p);
  for (const TVisee* v : Visees)
    if (v->AEffacer)
      for (TPointSpeleo* p : {v->PointStation, v->PointVise})
        if (p && !p->EstPointSurface() && !gardes.count(p)) p->PtAEffacer = true;
  Visees.SupprimeSi([](const TVisee* v) { return v->AEffacer; });
  if (LaGalerieActive && Galeries.IndexOf(LaGalerieActive) < 0) LaGalerieActive = nullptr;
}

void TCavite::EffacePointsMarques() {
  TSuppressions s;
  for (TGalerie* g : Galeries)
    for (TPointSpeleo* p : g->Points)
      if (p->PtAEffacer) s.AjoutePoint(p);
  if (ReseauProprio && !s.Vide()) ReseauProprio->NettoieLiensSupprimes();
  for (const auto& [p, r] : s.Points()) p->PtAEffacer = false;
  SupprimePoints(s);
  // Galleries left without station go; so do the stations no shot touches.
  ReGenereListePoints(false);
  if (SupprimeGaleriesVides()) ReGenereListePoints(false);
  Modifie();
  ControleAnnexes();
}

void TCavite::EffacePointsSupprimes() {
  EffaceViseesSupprimees();
  EffacePointsMarques();
}

bool TCavite::SupprimeViseeRat(TVisee* ViseeSpel) {
  TVisee* V = ViseeSpel;
  if (!V || !EstViseeDeLaCavite(V)) return false;
  if (!OuiA(RemplaceMarques(Msg(IdMsg::EditionSupprimerRattachement),
                            {NomPoint(V->PointStation), NomPoint(V->PointVise)})))
    return false;
  V->AEffacer = true;
  // The loop duplicates exist only for the search of the branch; they go
  // on every path out of it.
  struct GardeVirtuels {
    TCavite& c;
    bool actif = true;
    ~GardeVirtuels() {
      if (actif) c.SupprimePointsVirtuels();
    }
  } garde{*this};
  ListeBouclages().Clear();
  CreePointsJonctionVirtuels();
  CalculeTousPoints(true);
  TVisee* F = nullptr;
  TListeBouclages& boucles = ListeBouclages();
  boucles.PrepareBouclages();
  for (int i = 0; i < boucles.Count() && !F; ++i) {
    TBouclage* b = boucles.UnBouclage(i);
    if (b && b->ChercheViseeSupprimee()) F = b->FinBrancheSupr;
  }
  for (TVisee* v : Visees) v->TypeRattachement = 0;
  garde.actif = false;
  SupprimePointsVirtuels();
  if (F && EstViseeDeLaCavite(F)) {
    F->TypeRattachement = 0;
    TPointSpeleo* fin = F->PtCalc;
    if (fin && fin->ViseeAvant == F)
      for (TVisee* v : Visees)
        if (v != F && v->EstViseeRattach() && v->PtCalc == fin) {
          v->TypeRattachement = 0;
          break;
        }
  }
  EffacePointsSupprimes();
  return true;
}

// --- Loops ------------------------------------------------------------------------------------------

bool TCavite::EstViseeBouclage(const TVisee* vVisee) const {
  if (!vVisee) return false;
  for (const TPointSpeleo* p : {vVisee->PointStation, vVisee->PointVise}) {
    if (!p) continue;
    if (ListeEntrees.Count() >= 2 && p->EstPointSurface()) return true;
    if (p->NbCalc > 1) return true;
  }
  return false;
}

bool TCavite::CreeBoucle(TVisee* ViseeSpel) {
  TVisee* V = ViseeSpel;
  const auto& choix = Ports().ChoisitPointRattachement;
  if (!V || !V->PtCalc || !choix) return false;
  TPointSpeleo* ancien = V->PtCalc;
  MarquePointsDependants(ancien);
  TDemandeRattachement demande;
  demande.Cavite = this;
  demande.Point = ancien;
  demande.Titre = Msg(IdMsg::EditionChoixBouclage);
  bool entreeSurface = false;
  for (const TPointSpeleo* e : ListeEntrees) entreeSurface = entreeSurface || e->EstPointSurface();
  demande.PointsSurface =
      ((V->PtOrigCalc && V->PtOrigCalc->PtRattache) || !entreeSurface) && ancien->EstFinBranche();
  TPointSpeleo* Q = choix(demande);
  DemarquePoints();
  if (!Q || Q == ancien) return false;
  // A shot joins stations of its own cave and surface points.
  if (Q->EstPointSurface() ? !demande.PointsSurface : TCavite::CaviteDuPoint(Q) != this) return false;
  // The old end and every shot end equal to it become the chosen station;
  // the old end goes when nothing reaches it any more.
  if (ancien->EstPointSurface()) {
    for (TVisee* v : Visees) v->RemplaceExtremite(ancien, Q);
  } else {
    TSuppressions s;
    s.AjoutePoint(ancien, Q);
    RetirePoints(s);
  }
  ReGenereListePoints(false);
  if (SupprimeGaleriesVides()) ReGenereListePoints(false);
  Modifie();
  return true;
}

bool TCavite::TransfoViseeBouclage(TVisee* vVisee) {
  TVisee* V = vVisee;
  if (!V || !EstViseeDeLaCavite(V)) return false;
  TPointSpeleo* P = nullptr;
  TPointSpeleo* autre = nullptr;
  for (auto [a, b] : {std::pair{V->PointStation, V->PointVise}, std::pair{V->PointVise, V->PointStation}})
    if (!P && a && (a->EstPointSurface() || a->NbCalc > 1)) {
      P = a;
      autre = b;
    }
  if (!P) return false;
  if (!OuiA(Msg(IdMsg::EditionTransfoBouclage))) return false;
  TGalerie* g = autre && !autre->EstPointSurface() ? autre->GalduPt : nullptr;
  if (!g) g = !P->EstPointSurface() ? P->GalduPt : Galeries.Last();
  if (!g) return false;
  TPointSpeleo* bis = NouvelleStation(g, P->DesignPTopo + Msg(IdMsg::EditionSuffixeBis));
  CopieDimensions(*P, *bis);
  V->RemplaceExtremite(P, bis);
  if (EntreeSelectee == P) EntreeSelectee = nullptr;
  ReGenereListePoints(false);
  Modifie();
  return true;
}

// --- Attachment and entrance ---------------------------------------------------------------

bool TCavite::ChangeRattachPt(TVisee* ViseeSelect) {
  TVisee* V = ViseeSelect;
  if (!V || !V->PtOrigCalc || !V->PtCalc) return false;
  if (V->PtOrigCalc->EstPointSurface()) return RattacheCaviteSurface();
  const auto& choix = Ports().ChoisitPointRattachement;
  if (!choix) return false;
  // V's end and everything downstream.
  DemarquePoints();
  V->PtCalc->Marque = true;
  for (int i = std::max(V->IndexCav + 1, 0); i < Visees.Count(); ++i) {
    TVisee* s = Visees.UnObjet(i);
    if (s->PtOrigCalc && s->PtOrigCalc->Marque && s->PtCalc && !s->PtCalc->EstPointSurface()) s->PtCalc->Marque = true;
  }
  TDemandeRattachement demande;
  demande.Cavite = this;
  demande.Point = V->PtOrigCalc;
  TPointSpeleo* Q = nullptr;
  {
    GardeValeur rectif(Document().RectifEnCours, true);
    Q = choix(demande);
  }
  // A station downstream would tie the shot to itself.
  if (!Q || Q == V->PtOrigCalc || Q->Marque || Q->EstPointSurface() || CaviteDuPoint(Q) != this) {
    DemarquePoints();
    return false;
  }
  TPointSpeleo* fin = V->PtCalc;
  const bool premiere = LaGalerieActive && LaGalerieActive->PremiereVisee() == V;
  V->RemplaceExtremite(V->PtOrigCalc, Q);
  if (!premiere) {
    if (Q->NbRatGal > 0) fin->Annexe = 1;
    if (Q->GalduPt && Q->GalduPt != fin->GalduPt) TransfereFinGalerie(fin, Q->GalduPt);
  }
  DemarquePoints();
  ReGenereListePoints(false);
  if (SupprimeGaleriesVides()) ReGenereListePoints(false);
  ControleAnnexes();
  Modifie();
  return true;
}

bool TCavite::RattacheCaviteSurface() {
  const auto& choix = Ports().ChoisitPointSurface;
  TVisee* v0 = Visees.First();
  if (!choix || !v0 || !v0->PtOrigCalc) return false;
  TPointSpeleo* p = choix(*this, EntreeSelectee);
  if (!p || p == EntreeSelectee || p == v0->PtOrigCalc) return false;
  if (!OuiA(RemplaceMarques(Msg(IdMsg::EditionRattacherCavite), {NomCavite, NomPoint(p)}))) return false;
  EntreeSelectee = p;
  v0->RemplaceExtremite(v0->PtOrigCalc, p);
  ReGenereListePoints(false);
  Modifie();
  return true;
}

void TCavite::ChangeEntree(TVisee* vVisee, TPointSpeleo* nPt) {
  TVisee* V = vVisee;
  if (!V || !nPt || !nPt->EstPointSurface() || !V->PtCalc || !EstViseeDeLaCavite(V)) return;
  TVisee* v0 = Visees.First();
  TPointSpeleo* E = EntreeSelectee ? EntreeSelectee : LEntree();
  // The current entrance is detached from shot 0.
  if (v0 && E && (v0->PointStation == E || v0->PointVise == E)) {
    TPointSpeleo* bout = v0->PointStation == E ? v0->PointVise : v0->PointStation;
    TGalerie* g = bout && !bout->EstPointSurface() ? bout->GalduPt : LaGalerieActive;
    if (!g) g = Galeries.First();
    if (g) {
      TPointSpeleo* ancien = NouvelleStation(g, E->DesignPTopo + Msg(IdMsg::EditionSuffixeAncien));
      ancien->Commentaire = E->Commentaire;
      CopieDimensions(*E, *ancien);
      v0->RemplaceExtremite(E, ancien);
    }
  }
  EntreeSelectee = nPt;
  TPointSpeleo* fin = V->PtCalc;
  V->RemplaceExtremite(fin, nPt);
  // The old end goes only when no shot touches it any more.
  if (fin != nPt && !fin->EstPointSurface()) {
    bool touche = false;
    for (const TVisee* v : Visees) touche = touche || v->PointStation == fin || v->PointVise == fin;
    if (!touche) {
      TSuppressions s;
      s.AjoutePoint(fin, nPt);
      RetirePoints(s);
    }
  }
  ReGenereListePoints(false);
  if (SupprimeGaleriesVides()) ReGenereListePoints(false);
  Modifie();
}

// --- Galleries -----------------------------------------------------------------------------------

void TCavite::TransfereFinGalerie(TPointSpeleo* PremPts, TGalerie* NouvelleGal) {
  if (!PremPts || !NouvelleGal || !PremPts->GalduPt) return;
  DemarquePoints();
  PremPts->Marque = true;
  for (TVisee* s : Visees)
    if (s->PtOrigCalc && s->PtOrigCalc->Marque && s->PtCalc && !s->PtCalc->EstPointSurface() &&
        s->PtCalc->ViseeAvant == s)
      s->PtCalc->Marque = true;
  TGalerie* source = PremPts->GalduPt;
  if (source != NouvelleGal) DeplacePointsMarques(*source, *NouvelleGal);
  DemarquePoints();
}

void TCavite::TransfereGalerie(TGalerie* GalSource, TGalerie* GalDest) {
  if (!GalSource || !GalDest || GalSource == GalDest) return;
  for (TPointSpeleo* p : GalSource->Points) {
    p->GalduPt = GalDest;
    GalDest->Points.Add(p);
  }
  GalSource->Points.Points().clear();
}

void TCavite::TransfereViseesMarquees(TGalerie* NouvelleGal) {
  TGalerie* source = LaGalerieActive;
  if (!NouvelleGal || !source || source == NouvelleGal) return;
  DemarquePoints();
  for (TVisee* v : Visees)
    if (v->Marque && v->PtCalc && v->PtCalc->GalduPt == source && v->PtCalc->ViseeAvant == v) v->PtCalc->Marque = true;
  DeplacePointsMarques(*source, *NouvelleGal);
  DemarquePoints();
  DemarqueVisees();
}

bool TCavite::IndividualiseGalerie(TVisee* ViseeSelect) {
  TVisee* V = ViseeSelect;
  if (!V || !V->PtCalc || V->PtCalc->EstPointSurface()) return false;
  const auto nom = platform::Dialogs::Current().Prompt(Msg(IdMsg::EditionGalerieAPartirDe) + NomPoint(V->PtCalc),
                                                       Msg(IdMsg::EditionNomNouvelleGalerie), "");
  if (!nom || nom->empty()) return false;
  TGalerie* avant = LaGalerieActive;
  TGalerie* nouvelle = AjouteGalerie(*nom);
  LaGalerieActive = V->PtCalc->GalduPt;
  MarqueVisees(V);
  TransfereViseesMarquees(nouvelle);
  LaGalerieActive = nullptr;
  SupprimeGaleriesVides();
  LaGalerieActive = avant && Galeries.IndexOf(avant) >= 0 ? avant : Galeries.Last();
  ReGenereListePoints(false);
  ControleAnnexes();
  Modifie();
  return true;
}

void TCavite::FusionneGaleries() {
  bool fusion = false;
  for (int i = Galeries.Count() - 1; i >= 0; --i) {
    TGalerie* g = Galeries.UnObjet(i);
    if (!g || !g->AFusionner) continue;
    g->AFusionner = false;
    TGalerie* dest = g->GalDeRattach();
    if (!dest || dest == g) continue;
    if (TVisee* p = g->PremiereVisee(); p && p->PtCalc) p->PtCalc->Annexe = 1;
    TransfereGalerie(g, dest);
    if (LaGalerieActive == g) LaGalerieActive = dest;
    Galeries.Delete(i);
    ReGenereListePoints(false);
    fusion = true;
  }
  if (fusion) {
    ControleAnnexes();
    Modifie();
  }
}

// --- Renaming in series ---------------------------------------------------------------------------

void TCavite::RenumTpRb(TVisee* vDepart) {
  if (!vDepart || !EstViseeDeLaCavite(vDepart)) return;
  DemarqueVisees();
  DemarquePoints();
  for (int i = 0; i < Galeries.Count(); ++i) {
    TPointSpeleo* p = Galeries.UnObjet(i)->Points.First();
    if (!p) continue;
    p->PrefVTopo = i == 0 ? std::string() : foundation::EntierEnStr(i) + "-";
  }
  int S = Galeries.Count() - 1;
  for (TVisee* v : Visees) {
    TPointSpeleo* O = v->PtOrigCalc;
    TPointSpeleo* E = v->PtCalc;
    // A loop-closing shot names nothing: its end was named by its arriving shot.
    if (!O || !E || E->EstPointSurface() || E->ViseeAvant != v) continue;
    if (E->GalduPt != O->GalduPt) {
      E->IndVTopo = 1;
      const TPointSpeleo* premier = E->GalduPt ? E->GalduPt->Points.First() : nullptr;
      E->PrefVTopo = premier ? premier->PrefVTopo : std::string();
    } else if (E->EstAnnexe()) {
      ++S;
      E->IndVTopo = 1;
      E->PrefVTopo = foundation::EntierEnStr(S) + "-";
    } else {
      E->IndVTopo = O->IndVTopo + 1;
      E->PrefVTopo = O->PrefVTopo;
    }
  }
  MarqueVisees(vDepart);
  for (TVisee* v : Visees)
    if (v->Marque && v->PtCalc && !v->PtCalc->EstPointSurface() && v->PtCalc->ViseeAvant == v)
      v->PtCalc->DesignPTopo = v->PtCalc->PrefVTopo + foundation::EntierEnStr(v->PtCalc->IndVTopo);
  DemarqueVisees();
  DemarquePoints();
  // The walk orders continuations by name.
  ReGenereListePoints(false);
  Modifie();
}

// --- Merging caves -----------------------------------------------------------------------------------

bool TCavite::ChoisitEtFusionneCavites(const std::vector<TCavite*>& cavites) {
  std::vector<TCavite*> liste;
  for (TCavite* c : cavites)
    if (c && c != this) liste.push_back(c);
  if (liste.empty()) return false;
  if (liste.size() == 1) {
    if (!OuiA(RemplaceMarques(Msg(IdMsg::EditionFusionnerCavite), {liste[0]->NomCavite, NomCavite}))) return false;
  } else {
    const auto& choix = Ports().ChoisitCavitesFusion;
    if (!choix) return false;
    std::vector<std::string> noms;
    for (const TCavite* c : liste) noms.push_back(c->NomCavite);
    const auto gardees = choix(noms);
    if (!gardees) return false;
    std::vector<TCavite*> retenues;
    for (int i : *gardees)
      if (i >= 0 && static_cast<size_t>(i) < liste.size()) retenues.push_back(liste[static_cast<size_t>(i)]);
    liste.swap(retenues);
  }
  bool fait = false;
  for (TCavite* c : liste) fait = FusionneCavite(c) || fait;
  return fait;
}

bool TCavite::FusionneCavite(TCavite* C) {
  TReseau* reseau = ReseauProprio;
  if (!C || C == this || !reseau || reseau->Cavites.IndexOf(C) < 0 || C->EstSurface || EstSurface) return false;
  auto dansC = [&](const TPointSpeleo* p) { return p && p->GalduPt && p->GalduPt->CaviteRef == C; };
  auto dansA = [&](const TPointSpeleo* p) { return p && p->GalduPt && p->GalduPt->CaviteRef == this; };
  // 1. This cave's loop links into C go.
  for (TGalerie* g : Galeries)
    for (TPointSpeleo* p : g->Points)
      if (dansC(p->PtBoucleAsso)) p->PtBoucleAsso = nullptr;
  // 2. Each junction station of C becomes the station of this cave it
  // duplicates.
  TSuppressions s;
  for (TGalerie* g : C->Galeries)
    for (TPointSpeleo* P : g->Points) {
      TPointSpeleo* Q = P->PtBoucleAsso;
      if (!dansA(Q)) continue;
      if (SansDimensions(*Q)) CopieDimensions(*P, *Q);
      if (Q->Commentaire.empty()) Q->Commentaire = P->Commentaire;
      s.AjoutePoint(P, Q);
    }
  C->RetirePoints(s);
  // 3. C's galleries, shots and trips become this cave's.
  for (auto& g : C->Galeries.ExtraitTout()) {
    g->CaviteRef = this;
    Galeries.Add(std::move(g));
  }
  for (auto& v : C->Visees.ExtraitTout()) {
    v->CavDeLaVis = this;
    Visees.Add(std::move(v));
  }
  std::vector<std::unique_ptr<TLever>> levers;
  while (!C->Levers.Vide()) levers.push_back(C->Levers.Extract(C->Levers.Count() - 1));
  for (auto it = levers.rbegin(); it != levers.rend(); ++it) Levers.Add(std::move(*it));
  // 4. Its drawings join this cave's.
  if (Annexe && C->Annexe) Annexe->AjouteDessinsCavite(*C->Annexe);
  C->ListePoints.Clear();
  C->ListeEntrees.Clear();
  C->ListeEntreesCalculees.Clear();
  C->EntreesCalcul.Clear();
  C->EntreeSelectee = C->SauveEntreeSelectee = C->RefCalculAlti = C->PointImport = nullptr;
  C->LaGalerieActive = nullptr;
  // 5. C leaves the network.
  if (reseau->CaviteImportee == C) reseau->CaviteImportee = nullptr;
  if (reseau->LaCaviteActive == C) reseau->LaCaviteActive = this;
  reseau->Cavites.Remove(C);
  ReGenereListePoints(false);
  if (SupprimeGaleriesVides()) ReGenereListePoints(false);
  Modifie();
  return true;
}

}  // namespace survey
