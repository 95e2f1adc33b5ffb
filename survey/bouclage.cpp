#include "survey/bouclage.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "survey/calcul_reseau.h"
#include "survey/cavite.h"
#include "survey/contexte_survey.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/suppressions.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;

namespace {

ContexteBouclages& EtatBouclages() { return ContexteSurvey().Bouclages; }

std::string Coordonnee(double x) { return foundation::ReelEnStrMetres(x, 12, 1); }
std::string Ecart(double x) { return foundation::ReelEnStrMetres(x, 6, 1); }
std::string Correction(long double x) {
  return foundation::OteBlancs(foundation::ReelEnStrFixe(static_cast<double>(x), 20, 2));
}
std::string NomPoint(const TPointSpeleo* p) { return p ? p->DesignPTopo : std::string(); }
std::string NomCaviteDe(const TCavite* c) { return c ? c->NomCavite : std::string(); }

int IndexCavite(const TCavite* c) {
  return c && c->CavitesReseau ? c->CavitesReseau->IndexOf(c) : -1;
}

// Walks are bounded by the shots of the cave (the walk order has no cycle;
// the bound only guards a damaged model).
int LimiteMarche(const TCavite* c) { return c ? c->Visees.Count() + 1 : 1 << 30; }

// Adds to the set the stations of P's chain of arriving shots, up to the
// first one already there or a station without arriving shot; returns where
// it stopped.
const TPointSpeleo* MarqueChaine(const TPointSpeleo* p, std::unordered_set<const TPointSpeleo*>& marques,
                                 int limite) {
  for (int pas = 0; p && p->ViseeAvant && !marques.count(p) && pas < limite; ++pas) {
    marques.insert(p);
    p = p->ViseeAvant->PtOrigCalc;
  }
  return p;
}

// The shots of branch b (from its arrival back to its departure).
template <typename F>
void PourViseesBranche(const TBrancheBouclage& b, F f) {
  if (!b.PtArrivee) return;
  TVisee* S = b.PtArrivee->ViseeAvant;
  for (int pas = 0; S && S->ValeurBouclage == b.ValeurCompens.get() && pas < LimiteMarche(b.Cavite); ++pas) {
    f(S);
    S = S->ViseePreced();
  }
}

// Sums over ranges of positions: a value added to [debut, fin) is read back at
// every position of the range.
class TSommesIntervalles {
 public:
  explicit TSommesIntervalles(size_t n = 0) : t_(n + 1, 0.0) {}
  void Ajoute(size_t debut, size_t fin, double d) {
    Cumule(debut, d);
    Cumule(fin, -d);
  }
  double Valeur(size_t i) const {
    double s = 0;
    for (size_t k = i + 1; k > 0; k -= k & (~k + 1)) s += t_[k];
    return s;
  }

 private:
  void Cumule(size_t i, double d) {
    for (size_t k = i + 1; k < t_.size(); k += k & (~k + 1)) t_[k] += d;
  }
  std::vector<double> t_;
};

// The stations of a cave as a tree along the walk (each station below the
// shot that computes it) with the displacements the loop corrections give
// them: correcting a shot moves its end and everything computed from it, a
// range of the walk in depth-first order.  A cave whose walk is not such a
// tree (a station computed twice, a station read before it is computed or
// computed outside the cave, the entrance moved) is computed whole instead.
class TDeplacementsCavite {
 public:
  explicit TDeplacementsCavite(TCavite& c) : entree_(c.LEntree()) {
    std::vector<int> parent;
    std::unordered_set<const TPointSpeleo*> lusAvant;
    for (TVisee* v : c.Visees) {
      TPointSpeleo* o = v->PtOrigCalc;
      TPointSpeleo* p = v->PtCalc;
      if (!o || !p) continue;
      const auto ito = noeud_.find(o);
      if (ito == noeud_.end()) {
        if (!o->EstPointSurface() && o != entree_) return;
        lusAvant.insert(o);
      }
      if (p->EstPointSurface()) continue;
      if (p == entree_ || noeud_.count(p) || lusAvant.count(p)) return;
      noeud_[p] = static_cast<int>(points_.size());
      points_.push_back(p);
      ecrivain_.push_back(v);
      parent.push_back(ito == noeud_.end() ? -1 : ito->second);
    }
    // Depth-first order: each station's descendants follow it.
    const size_t n = points_.size();
    std::vector<int> premier(n + 1, 0), enfants(n);
    for (int q : parent)
      if (q >= 0) ++premier[static_cast<size_t>(q) + 1];
    for (size_t i = 0; i < n; ++i) premier[i + 1] += premier[i];
    std::vector<int> rempli(premier.begin(), premier.end() - 1);
    for (size_t i = 0; i < n; ++i)
      if (parent[i] >= 0) enfants[static_cast<size_t>(rempli[static_cast<size_t>(parent[i])]++)] = static_cast<int>(i);
    debut_.assign(n, 0);
    fin_.assign(n, 0);
    size_t rang = 0;
    std::vector<std::pair<int, int>> pile;  // station, next child
    for (size_t r = 0; r < n; ++r) {
      if (parent[r] >= 0) continue;
      pile.emplace_back(static_cast<int>(r), premier[r]);
      debut_[r] = rang++;
      while (!pile.empty()) {
        auto& [s, k] = pile.back();
        if (k < premier[static_cast<size_t>(s) + 1]) {
          const int e = enfants[static_cast<size_t>(k++)];
          debut_[static_cast<size_t>(e)] = rang++;
          pile.emplace_back(e, premier[static_cast<size_t>(e)]);
        } else {
          fin_[static_cast<size_t>(s)] = rang;
          pile.pop_back();
        }
      }
    }
    base_.reserve(n);
    for (const TPointSpeleo* p : points_) base_.push_back({p->X, p->Y, p->Z});
    for (auto& d : deplacements_) d = TSommesIntervalles(n);
    valide_ = true;
  }

  bool Valide() const { return valide_; }

  // The corrections of the shots of branch b, which end at its arrival.
  void DeplaceBranche(const TBrancheBouclage& b) {
    const TValeurCompens& valeur = *b.ValeurCompens;
    PourViseesBranche(b, [&](const TVisee* S) {
      const auto it = noeud_.find(S->PtCalc);
      if (it == noeud_.end() || ecrivain_[static_cast<size_t>(it->second)] != S) return;
      const auto i = static_cast<size_t>(it->second);
      const long double L = (S->PointRefCompens == S->PtOrigCalc ? 1.0 : -1.0) * S->DeltaL;
      deplacements_[0].Ajoute(debut_[i], fin_[i], static_cast<double>(L * valeur.CoeffX));
      deplacements_[1].Ajoute(debut_[i], fin_[i], static_cast<double>(L * valeur.CoeffY));
      deplacements_[2].Ajoute(debut_[i], fin_[i], static_cast<double>(L * valeur.CoeffHaut));
    });
  }

  // P where the computation of the cave would put it now.
  void Actualise(TPointSpeleo* P) const {
    const auto it = noeud_.find(P);
    if (it == noeud_.end()) return;
    const auto i = static_cast<size_t>(it->second);
    const size_t rang = debut_[i];
    P->X = base_[i].X + deplacements_[0].Valeur(rang);
    P->Y = base_[i].Y + deplacements_[1].Valeur(rang);
    P->Z = base_[i].Z + deplacements_[2].Valeur(rang);
    P->ZCalc = P->Z;
    if (P->ViseeAvant == ecrivain_[i]) CalculePrecisionPoint(*P, entree_);
  }

 private:
  const TPointSpeleo* entree_;
  bool valide_ = false;
  std::unordered_map<const TPointSpeleo*, int> noeud_;
  std::vector<TPointSpeleo*> points_;
  std::vector<const TVisee*> ecrivain_;
  std::vector<size_t> debut_, fin_;
  struct Position {
    double X, Y, Z;
  };
  std::vector<Position> base_;
  TSommesIntervalles deplacements_[3];
};

class TPartieBouclages : public TPartieReseau {
 public:
  ~TPartieBouclages() override {
    if (EtatBouclages().Active == &Liste) EtatBouclages().Active = nullptr;
  }
  bool Ecrit(foundation::TFlux&) override { return true; }
  bool Lit(foundation::TFlux&) override { return true; }
  void Active() override { EtatBouclages().Active = &Liste; }

  TListeBouclages Liste;
};

}  // namespace

// --- Chains -----------------------------------------------------------------------------------

namespace {
const TPointSpeleo* Monte(const TPointSpeleo* p) { return p && p->ViseeAvant ? p->ViseeAvant->PtOrigCalc : nullptr; }
bool FinDeChaine(const TPointSpeleo* p) { return !p || !p->ViseeAvant; }
}  // namespace

int TProfondeursChaines::Profondeur(const TPointSpeleo* P, int limite) {
  std::vector<const TPointSpeleo*> chemin;
  const TPointSpeleo* p = P;
  int d = 0;
  while (!FinDeChaine(p)) {
    if (const auto it = profondeurs_.find(p); it != profondeurs_.end()) {
      d = it->second;
      break;
    }
    chemin.push_back(p);
    if (static_cast<int>(chemin.size()) > limite) return -1;  // a damaged model
    p = Monte(p);
  }
  for (auto it = chemin.rbegin(); it != chemin.rend(); ++it) profondeurs_[*it] = ++d;
  const int r = FinDeChaine(P) ? 0 : profondeurs_[P];
  return r < limite ? r : -1;
}

const TPointSpeleo* TProfondeursChaines::Rencontre(const TPointSpeleo* A, const TPointSpeleo* B) {
  auto profondeur = [this](const TPointSpeleo* p) {
    if (FinDeChaine(p)) return 0;
    const auto it = profondeurs_.find(p);
    return it != profondeurs_.end() ? it->second : 0;
  };
  int dA = profondeur(A), dB = profondeur(B);
  for (; dA > dB; --dA) A = Monte(A);
  for (; dB > dA; --dB) B = Monte(B);
  for (; A != B && dB > 0; --dB) {
    A = Monte(A);
    B = Monte(B);
  }
  // Met on a station with an arriving shot, or B reached the end of its chain.
  return B;
}

// --- Branch -----------------------------------------------------------------------------------

TBrancheBouclage::TBrancheBouclage() : ValeurCompens(std::make_unique<TValeurCompens>()) {}

double TBrancheBouclage::Longueur() const {
  return PtArrivee && PtDepart ? PtArrivee->Slh - PtDepart->Slh : 0;
}

void TBrancheBouclage::ChercheDepart(TPointSpeleo* commun, const std::unordered_set<const TPointSpeleo*>* arret) {
  PtDepart = PtArrivee;
  if (!PtArrivee) return;
  TVisee* S = PtArrivee->ViseeAvant;
  const int limite = LimiteMarche(Cavite);
  for (int pas = 0; S && pas < limite; ++pas) {
    if (S->ValeurBouclage || S->CoeffsCompens || PtDepart == commun || PtDepart->EstPointSurface()) break;
    if (arret && arret->count(PtDepart)) break;
    if (!S->PtOrigCalc) break;
    PtDepart = S->PtOrigCalc;
    S->ValeurBouclage = ValeurCompens.get();
    S = S->ViseePreced();
  }
}

bool TBrancheBouclage::CalculeCompens(const foundation::TPointTopo& M) {
  const double L = Longueur();
  if (L == 0 || !std::isfinite(L) || !PtArrivee) return false;
  // An arrival or a mean point without coordinates gives no correction.
  if (PtArrivee->CoordonneesIndefinies() || foundation::EstIndefini(M.X) || foundation::EstIndefini(M.Y) ||
      foundation::EstIndefini(M.Z) || !std::isfinite(M.X) || !std::isfinite(M.Y) || !std::isfinite(M.Z))
    return false;
  PtCalculStr.emplace_back();
  PtCalculStr.push_back(Msg(IdMsg::BouclageCorrectionsBranche) + NomPoint(PtArrivee) + Msg(IdMsg::BouclageFleche) +
                        NomPoint(PtDepart));
  TValeurCompens& v = *ValeurCompens;
  v.CoeffHaut = (M.Z - PtArrivee->Z) / L;
  v.CoeffX = (M.X - PtArrivee->X) / L;
  v.CoeffY = (M.Y - PtArrivee->Y) / L;
  PtCalculStr.push_back(Msg(IdMsg::BouclageCorrectionX) + Correction(v.CoeffX * 1000) + Msg(IdMsg::CompensMmParM));
  PtCalculStr.push_back(Msg(IdMsg::BouclageCorrectionY) + Correction(v.CoeffY * 1000) + Msg(IdMsg::CompensMmParM));
  PtCalculStr.push_back(Msg(IdMsg::BouclageCorrectionAltitude) + Correction(v.CoeffHaut * 1000) +
                        Msg(IdMsg::CompensMmParM));
  return true;
}

// --- Junction ---------------------------------------------------------------------------------

int TBouclage::ChercheBranche(const TPointSpeleo* P) const {
  for (int i = 0; i < Count(); ++i)
    if (BranchesBouclage[static_cast<size_t>(i)]->PtArrivee == P) return i;
  return -1;
}

TBrancheBouclage* TBouclage::AjouteBranche(TPointSpeleo* P) {
  auto b = std::make_unique<TBrancheBouclage>();
  b->PtArrivee = P;
  b->Cavite = TCavite::CaviteDuPoint(P);
  b->DesignArrivee = NomPoint(P);
  b->ValeurCompens->IndexCompens = IndexBoucle;
  BranchesBouclage.push_back(std::move(b));
  return BranchesBouclage.back().get();
}

double TBouclage::PrecisRel(const TPointSpeleo* A, const TPointSpeleo* B) {
  if (!A || !B) return 0;
  return std::sqrt(std::max(0.0, (B->PrecisX - A->PrecisX) + (B->PrecisY - A->PrecisY)));
}

double TBouclage::PrecisionMinBranches() const {
  double m = std::numeric_limits<double>::infinity();
  for (const auto& b : BranchesBouclage) m = std::min(m, PrecisRel(PtCommun, b->PtArrivee));
  return std::isfinite(m) ? m : 0;
}

void TBouclage::PrepareBoucle(TProfondeursChaines* profondeurs) {
  // The junction starts as a loop inside the cave of its first branch.
  PtCommun = nullptr;
  NumCavite2 = -1;
  Interne = true;
  vDem = 0;
  NumCavite = BranchesBouclage.empty() ? -1 : IndexCavite(BranchesBouclage.front()->Cavite);
  // A branch in another cave makes it a junction between caves: the lower
  // cave number first, the other second.
  for (size_t i = 1; i < BranchesBouclage.size(); ++i) {
    const int n = IndexCavite(BranchesBouclage[i]->Cavite);
    if (n == NumCavite) continue;
    Interne = false;
    if (n < NumCavite)
      NumCavite = n;
    else
      NumCavite2 = n;
  }
  // Inside a cave, the common point: where the chain of the second arrival meets the
  // chain of the first.
  if (Interne && Count() >= 2) {
    std::stable_sort(BranchesBouclage.begin(), BranchesBouclage.end(), [](const auto& a, const auto& b) {
      const int ia = a->PtArrivee ? a->PtArrivee->IndexPtCav : -1;
      const int ib = b->PtArrivee ? b->PtArrivee->IndexPtCav : -1;
      return ia < ib;
    });
    const int limite = LimiteMarche(BranchesBouclage.front()->Cavite);
    const TPointSpeleo* a0 = BranchesBouclage[0]->PtArrivee;
    const TPointSpeleo* a1 = BranchesBouclage[1]->PtArrivee;
    if (profondeurs && profondeurs->Profondeur(a0, limite) >= 0 && profondeurs->Profondeur(a1, limite) >= 0) {
      PtCommun = const_cast<TPointSpeleo*>(profondeurs->Rencontre(a0, a1));
    } else {
      std::unordered_set<const TPointSpeleo*> marques;
      MarqueChaine(a0, marques, limite);
      PtCommun = const_cast<TPointSpeleo*>(MarqueChaine(a1, marques, limite));
    }
    vDem = PrecisionMinBranches() * 1000;
  }
}

void TBouclage::EcritValeurs() {
  auto& r = CalculStr;
  const TCavite* c0 = BranchesBouclage.empty() ? nullptr : BranchesBouclage.front()->Cavite;
  // The cave of a loop inside a cave, and the common point or departure.
  if (Interne) r.push_back(Msg(IdMsg::BouclageInterneCavite) + NomCaviteDe(c0));
  const std::string genre =
      Msg(PtCommun && PtCommun->EstCompense() ? IdMsg::BouclageDeDepart : IdMsg::BouclageCommun);
  if (PtCommun)
    r.push_back(Msg(IdMsg::BouclagePoint) + genre + Msg(IdMsg::BouclageDeuxPoints) + NomPoint(PtCommun) +
                Msg(IdMsg::CompensDeLaGalerie) + NomGalerieDuPoint(PtCommun));
  else
    r.push_back(Msg(IdMsg::BouclageCavitesDifferentes));
  // Each arrival: its coordinates, precisions and distance from the common
  // point.
  for (const auto& b : BranchesBouclage) {
    const TPointSpeleo* a = b->PtArrivee;
    r.emplace_back();
    if (!Interne) r.push_back(Msg(IdMsg::BouclageDansCavite) + NomCaviteDe(b->Cavite));
    r.push_back(Msg(IdMsg::BouclagePointDeuxPoints) + NomPoint(a) + Msg(IdMsg::CompensDeLaGalerie) +
                NomGalerieDuPoint(a));
    if (a) {
      r.push_back(Msg(IdMsg::CompensX) + Coordonnee(a->X));
      r.push_back(Msg(IdMsg::CompensY) + Coordonnee(a->Y));
      r.push_back(Msg(IdMsg::CompensZ) + Coordonnee(a->Z));
      r.push_back(Msg(IdMsg::BouclageSlh) + Coordonnee(a->Slh));
      r.push_back(Msg(IdMsg::CompensPrecisionX) + Coordonnee(a->PrecisTotX));
      r.push_back(Msg(IdMsg::CompensPrecisionY) + Coordonnee(a->PrecisTotY));
      r.push_back(Msg(IdMsg::CompensPrecisionZ) + Coordonnee(a->PrecisTotZ));
      if (a->EstCompense())
        r.push_back(Msg(IdMsg::BouclageDejaCompense));
      else if (PtCommun)
        r.push_back(Msg(IdMsg::BouclageDistanceAuPoint) + genre + Msg(IdMsg::BouclageEgal) +
                    Ecart(a->Slh - PtCommun->Slh));
    }
    r.emplace_back();
  }
  // The misclosures of every arrival with the last one.
  r.push_back(Msg(IdMsg::BouclageEcartsEntrePoints));
  if (BranchesBouclage.empty()) return;
  const TPointSpeleo* dernier = BranchesBouclage.back()->PtArrivee;
  for (size_t i = 0; i + 1 < BranchesBouclage.size(); ++i) {
    TBrancheBouclage& b = *BranchesBouclage[i];
    const TPointSpeleo* a = b.PtArrivee;
    auto& l = b.PtCalculStr;
    l.clear();
    l.emplace_back();
    l.push_back(Msg(IdMsg::BouclagePoint) + NomPoint(a) + Msg(IdMsg::CompensDeLaGalerie) + NomGalerieDuPoint(a) +
                Msg(IdMsg::BouclageAvecLePoint) + NomPoint(dernier) + Msg(IdMsg::CompensDeLaGalerie) +
                NomGalerieDuPoint(dernier));
    if (!a || !dernier) continue;
    b.EcartX = a->X - dernier->X;
    b.EcartY = a->Y - dernier->Y;
    b.EcartZ = a->Z - dernier->Z;
    l.push_back(Msg(IdMsg::CompensEcartX) + Ecart(b.EcartX));
    l.push_back(Msg(IdMsg::CompensEcartY) + Ecart(b.EcartY));
    l.push_back(Msg(IdMsg::CompensEcartZ) + Ecart(b.EcartZ));
    l.push_back(Msg(IdMsg::CompensEcartDistance) + Ecart(std::hypot(b.EcartX, b.EcartY)));
  }
}

void TBouclage::CalculePointMoyen() {
  double X = 0, Y = 0, Z = 0, somme = 0;
  // Arrivals known without error (no precision at all) outweigh every other.
  double Xe = 0, Ye = 0, Ze = 0;
  int exactes = 0;
  for (const auto& b : BranchesBouclage) {
    const TPointSpeleo* a = b->PtArrivee;
    if (!a || a->CoordonneesIndefinies()) continue;
    // A branch without length is fixed.
    if (b->Longueur() < 0.01) {
      PtMoyenne.X = a->X;
      PtMoyenne.Y = a->Y;
      PtMoyenne.Z = a->Z;
      return;
    }
    // Weight: the inverse of the branch's precision, else of the arrival's;
    // an arrival with no precision at all counts as exact.
    double p = PrecisRel(b->PtDepart, a);
    if (!(p > 0)) p = a->PrecisTot();
    if (!(p > 0) || !std::isfinite(1 / p)) {
      Xe += a->X;
      Ye += a->Y;
      Ze += a->Z;
      ++exactes;
      continue;
    }
    // The weighted sums.
    const double w = 1 / p;
    somme += w;
    X += w * a->X;
    Y += w * a->Y;
    Z += w * a->Z;
  }
  if (exactes > 0) {
    PtMoyenne.X = Xe / exactes;
    PtMoyenne.Y = Ye / exactes;
    PtMoyenne.Z = Ze / exactes;
  } else if (somme > 0) {
    PtMoyenne.X = X / somme;
    PtMoyenne.Y = Y / somme;
    PtMoyenne.Z = Z / somme;
  } else if (!BranchesBouclage.empty() && BranchesBouclage.back()->PtArrivee) {
    const TPointSpeleo* a = BranchesBouclage.back()->PtArrivee;
    PtMoyenne.X = a->X;
    PtMoyenne.Y = a->Y;
    PtMoyenne.Z = a->Z;
  }
}

std::vector<TCavite*> TBouclage::CalculeBoucle(const std::function<void(TCavite*)>& recalcule,
                                               const std::function<void(TBrancheBouclage&)>& corrigee,
                                               TProfondeursChaines* profondeurs) {
  // Departures.  A branch stops where it meets the path of an earlier
  // branch of the junction: its corrections then never move the arrivals
  // already brought onto the mean point.  (For the second branch of a loop
  // inside a cave that place is the common point.)
  const bool avecChemins = Count() > 2 || !Interne;
  chemins_.clear();
  // Where a branch first meets the paths of the earlier ones is the deepest
  // place where its chain meets theirs: found from the depths when they are
  // known, without walking the paths to the entrance.  (Not when a path is
  // as long as the walk bound: it is marked station by station then.)
  bool parProfondeurs = avecChemins && profondeurs;
  for (int i = 0; parProfondeurs && i < Count(); ++i) {
    const TBrancheBouclage& b = *BranchesBouclage[static_cast<size_t>(i)];
    if (profondeurs->Profondeur(b.PtArrivee, i + 1 < Count() ? LimiteMarche(b.Cavite) : 1 << 30) < 0)
      parProfondeurs = false;
  }
  for (int i = 0; i < Count(); ++i) {
    TBrancheBouclage& b = *BranchesBouclage[static_cast<size_t>(i)];
    if (parProfondeurs && i > 0) {
      const TPointSpeleo* arret = nullptr;
      int profondeurArret = -1;
      for (int k = 0; k < i; ++k) {
        const TPointSpeleo* m =
            profondeurs->Rencontre(BranchesBouclage[static_cast<size_t>(k)]->PtArrivee, b.PtArrivee);
        if (FinDeChaine(m)) continue;
        const int d = profondeurs->Profondeur(m, 1 << 30);
        if (d > profondeurArret) {
          profondeurArret = d;
          arret = m;
        }
      }
      chemins_.clear();
      if (arret) chemins_.insert(arret);
      b.ChercheDepart(PtCommun, &chemins_);
      continue;
    }
    b.ChercheDepart(PtCommun, avecChemins && i > 0 ? &chemins_ : nullptr);
    if (avecChemins && i + 1 < Count()) MarqueChaine(b.PtArrivee, chemins_, LimiteMarche(b.Cavite));
  }
  chemins_.clear();
  // The mean of the arrivals.
  CalculePointMoyen();
  // Each branch corrected towards the mean, in order.
  std::vector<TCavite*> corrigees;
  int ordinaires = 0;
  for (int i = 0; i < Count(); ++i) {
    TBrancheBouclage& b = *BranchesBouclage[static_cast<size_t>(i)];
    // The departure may lie on an earlier branch corrected in this cave: the
    // cave is computed again first.  The second branch of a loop inside a
    // cave starts at the common point, which no earlier branch moves.
    const bool second = i == 1 && Interne;
    if (i > 0 && !second && b.Cavite && recalcule &&
        std::find(corrigees.begin(), corrigees.end(), b.Cavite) != corrigees.end())
      recalcule(b.Cavite);
    const bool corrigeeIci = b.CalculeCompens(PtMoyenne);
    if (corrigeeIci && corrigee) corrigee(b);
    if (corrigeeIci && b.Cavite && !b.Cavite->EstSurface &&
        std::find(corrigees.begin(), corrigees.end(), b.Cavite) == corrigees.end())
      corrigees.push_back(b.Cavite);
    if (b.PtArrivee && b.PtArrivee->TypePoint == PointSouterrain) ++ordinaires;
    CalculStr.insert(CalculStr.end(), b.PtCalculStr.begin(), b.PtCalculStr.end());
  }
  // A junction: two or more of its arrivals are ordinary underground stations.
  EstJonction = ordinaires >= 2;
  return corrigees;
}

bool TBouclage::ChercheViseeSupprimee() {
  FinBrancheSupr = DebBrancheSupr = nullptr;
  for (const auto& b : BranchesBouclage) {
    b->PtDepart = b->PtArrivee;
    if (!b->PtArrivee) continue;
    TVisee* S = b->PtArrivee->ViseeAvant;
    const int limite = LimiteMarche(b->Cavite);
    for (int pas = 0; S && pas < limite; ++pas) {
      if (S->CoeffsCompens || b->PtDepart == PtCommun || b->PtDepart->EstPointSurface()) break;
      if (S->ValeurBouclage && S->ValeurBouclage != b->ValeurCompens.get()) break;
      if (S->AEffacer) {
        FinBrancheSupr = b->PtArrivee->ViseeAvant;
        DebBrancheSupr = S;
        return true;
      }
      if (!S->PtOrigCalc) break;
      b->PtDepart = S->PtOrigCalc;
      S = S->ViseePreced();
    }
  }
  return false;
}

void TBouclage::Nettoie(const TSuppressions& s) {
  s.Redirige(PtCommun);
  for (const auto& b : BranchesBouclage) {
    s.Redirige(b->PtDepart);
    s.Redirige(b->PtArrivee);
  }
  if (s.ViseeSupprimee(FinBrancheSupr)) FinBrancheSupr = nullptr;
  if (s.ViseeSupprimee(DebBrancheSupr)) DebBrancheSupr = nullptr;
}

int CompareBouclages(const TBouclage& A, const TBouclage& B) {
  auto signe = [](auto a, auto b) { return a < b ? -1 : (b < a ? 1 : 0); };
  // By cave first.
  if (A.NumCavite != B.NumCavite) return signe(A.NumCavite, B.NumCavite);
  // Two loops inside a cave: by common point, then by precision.
  if (A.Interne && B.Interne) {
    const int ia = A.PtCommun ? A.PtCommun->IndexPtCav : -1;
    const int ib = B.PtCommun ? B.PtCommun->IndexPtCav : -1;
    if (ia != ib) return signe(ia, ib);
    const double d = A.vDem - B.vDem;
    return std::isfinite(d) ? signe(foundation::Arrondi(d), 0) : 0;
  }
  // Junctions between caves before loops inside one.
  if (!A.Interne && B.Interne) return -1;
  if (A.Interne && !B.Interne) return 1;
  // Junctions between caves: by second cave, then by first arrival.
  if (A.NumCavite2 != B.NumCavite2) return signe(A.NumCavite2, B.NumCavite2);
  const TBrancheBouclage* a0 = A.UneBranche(0);
  const TBrancheBouclage* b0 = B.UneBranche(0);
  const int ia = a0 && a0->PtArrivee ? a0->PtArrivee->IndexPtCav : -1;
  const int ib = b0 && b0->PtArrivee ? b0->PtArrivee->IndexPtCav : -1;
  return signe(ia, ib);
}

// --- List ---------------------------------------------------------------------------------------

void TListeBouclages::Clear() {
  items_.clear();
  profondeurs_.Clear();
  parPoint_.clear();
  Complete = false;
}

void TListeBouclages::AjouteJonctionBouclage(TPointSpeleo* P1, TPointSpeleo* P2) {
  if (Complete || !P1 || !P2) return;
  TBouclage* j = nullptr;
  for (const TPointSpeleo* p : {P1, P2})
    if (const auto it = parPoint_.find(p); it != parPoint_.end())
      if (!j || it->second->IndexBoucle < j->IndexBoucle) j = it->second;
  if (!j) {
    auto n = std::make_unique<TBouclage>();
    n->IndexBoucle = Calcul().CompteurBouclages++;
    items_.push_back(std::move(n));
    j = items_.back().get();
  }
  for (TPointSpeleo* p : {P1, P2})
    if (j->ChercheBranche(p) < 0) {
      j->AjouteBranche(p);
      parPoint_[p] = j;
    }
}

void TListeBouclages::PrepareBouclages() {
  Complete = true;
  parPoint_.clear();
  profondeurs_.Clear();
  for (const auto& j : items_) j->PrepareBoucle(EtatBouclages().RecalculComplet ? nullptr : &profondeurs_);
  if (items_.size() > 1)
    std::stable_sort(items_.begin(), items_.end(),
                     [](const auto& a, const auto& b) { return CompareBouclages(*a, *b) < 0; });
}

void TListeBouclages::FermeBouclages(TAvertissementsCalcul& avertissements) {
  PrepareBouclages();
  const bool rapport = RapportCalculActif();
  if (rapport) {
    AjouteRapport({});
    AjouteRapport(Msg(IdMsg::BouclageEcartsAvantCalcul));
    int k = 1;
    for (const auto& j : items_) {
      j->CalculStr.emplace_back();
      j->CalculStr.push_back(Msg(IdMsg::BouclageTitreDebut) + foundation::EntierEnStr(k++) +
                             Msg(IdMsg::BouclageTitreFin));
      j->EcritValeurs();
    }
    AjouteRapport({});
    AjouteRapport({});
  }
  if (EtatBouclages().RecalculComplet) {
    const auto recalcule = [&avertissements](TCavite* c) { c->CalculeTousPoints(false, avertissements); };
    for (const auto& j : items_) {
      // Only the caves whose shots the junction corrected change.
      for (TCavite* c : j->CalculeBoucle(recalcule)) c->CalculeTousPoints(false, avertissements);
      if (rapport)
        ListeRapportCalcul().insert(ListeRapportCalcul().end(), j->CalculStr.begin(), j->CalculStr.end());
    }
    return;
  }
  // Each junction reads its arrivals as the computation of the whole cave
  // would give them at the same moments: the corrections of a branch move
  // the stations below its shots once the cave is "computed again".
  std::unordered_map<TCavite*, std::unique_ptr<TDeplacementsCavite>> caves;
  const auto deplacements = [&caves](TCavite* c) -> TDeplacementsCavite& {
    auto& d = caves[c];
    if (!d) d = std::make_unique<TDeplacementsCavite>(*c);
    return *d;
  };
  // Corrected branches not yet applied, per cave.
  std::unordered_map<TCavite*, std::vector<const TBrancheBouclage*>> enAttente;
  // Branches attached since the cave was last brought up to date: their
  // shots keep the serial they had (no computation has stamped them).
  std::unordered_map<TCavite*, std::vector<const TBrancheBouclage*>> attachees;
  std::vector<TCavite*> aRecalculer;
  std::unordered_set<TCavite*> recalculees;
  TCavite* derniere = nullptr;
  TBouclage* courante = nullptr;
  const auto actualise = [&](TCavite* c) {
    for (const auto& b : courante->BranchesBouclage) {
      if (!b->Cavite || b->Cavite->EstSurface || (c && b->Cavite != c)) continue;
      const TDeplacementsCavite& d = deplacements(b->Cavite);
      if (d.Valide()) d.Actualise(b->PtArrivee);
    }
  };
  std::unordered_set<TCavite*> vuesDansJonction;
  const auto recalcule = [&](TCavite* c) {
    derniere = c;
    vuesDansJonction.insert(c);
    attachees[c].clear();
    TDeplacementsCavite& d = deplacements(c);
    auto& attente = enAttente[c];
    if (!d.Valide()) {
      c->CalculeTousPoints(false, avertissements);
    } else {
      for (const TBrancheBouclage* b : attente) d.DeplaceBranche(*b);
      if (recalculees.insert(c).second) aRecalculer.push_back(c);
      actualise(c);
    }
    attente.clear();
  };
  const auto corrigee = [&](TBrancheBouclage& b) {
    if (b.Cavite && !b.Cavite->EstSurface) enAttente[b.Cavite].push_back(&b);
  };
  for (const auto& j : items_) {
    courante = j.get();
    vuesDansJonction.clear();
    actualise(nullptr);
    // Only the caves whose shots the junction corrected change.
    for (TCavite* c : j->CalculeBoucle(recalcule, corrigee, &profondeurs_)) recalcule(c);
    for (const auto& b : j->BranchesBouclage)
      if (b->Cavite && !b->Cavite->EstSurface && !vuesDansJonction.count(b->Cavite))
        attachees[b->Cavite].push_back(b.get());
    if (rapport)
      ListeRapportCalcul().insert(ListeRapportCalcul().end(), j->CalculStr.begin(), j->CalculStr.end());
  }
  // Every moved cave computed once with all its corrections: the positions
  // and the values of the shots exactly as the computation gives them.
  for (TCavite* c : aRecalculer) {
    std::vector<std::pair<TVisee*, int32_t>> numeros;
    for (const TBrancheBouclage* b : attachees[c])
      PourViseesBranche(*b, [&numeros](TVisee* v) { numeros.emplace_back(v, v->NumBoucle); });
    c->CalculeTousPoints(false, avertissements);
    for (const auto& [v, n] : numeros) v->NumBoucle = n;
  }
  if (derniere)
    if (const auto it = Calcul().Convergences.find(derniere); it != Calcul().Convergences.end())
      Calcul().ConvergenceCourante = it->second.second;
}

void TListeBouclages::Nettoie(const TSuppressions& s) {
  for (const auto& j : items_) j->Nettoie(s);
  for (const auto& [p, remplacant] : s.Points()) parPoint_.erase(p);
}

GardeBouclagesRecalculComplet::GardeBouclagesRecalculComplet() : sauve_(EtatBouclages().RecalculComplet) {
  EtatBouclages().RecalculComplet = true;
}
GardeBouclagesRecalculComplet::~GardeBouclagesRecalculComplet() { EtatBouclages().RecalculComplet = sauve_; }

TListeBouclages& ListeBouclages() {
  static AbonnementNettoyage abonnement([](const TSuppressions& s) {
    EtatBouclages().Rechange.Nettoie(s);
    if (EtatBouclages().Active) EtatBouclages().Active->Nettoie(s);
  });
  ContexteBouclages& b = EtatBouclages();
  return b.Active ? *b.Active : b.Rechange;
}

// --- Installation -----------------------------------------------------------------------------

TBouclagesCalcul CrochetsBouclages() {
  TBouclagesCalcul b;
  b.VideBouclages = [] { ListeBouclages().Clear(); };
  b.AjouteJonctionBouclage = [](TPointSpeleo* P1, TPointSpeleo* P2) {
    ListeBouclages().AjouteJonctionBouclage(P1, P2);
  };
  b.BouclagesTrouves = [] {
    TListeBouclages& l = ListeBouclages();
    l.Complete = true;
    return !l.Vide();
  };
  b.FermeBouclages = [](const std::function<void()>&, TAvertissementsCalcul& avertissements) {
    ListeBouclages().FermeBouclages(avertissements);
  };
  return b;
}

void EnregistrePartieBouclages(FabriquesReseau& f) {
  const auto g = static_cast<size_t>(TGenrePartie::Bouclages);
  f.Parties[g] = [](TReseau&) -> std::unique_ptr<TPartieReseau> { return std::make_unique<TPartieBouclages>(); };
  f.Sauvegardes[g] = [] {
    TListeBouclages* sauve = EtatBouclages().Active;
    return std::function<void()>([sauve] { EtatBouclages().Active = sauve; });
  };
}

void InstalleBouclages() {
  Calcul().Bouclages = CrochetsBouclages();
  EnregistrePartieBouclages(Fabriques());
}

}  // namespace survey
