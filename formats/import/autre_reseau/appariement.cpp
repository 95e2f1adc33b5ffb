#include "formats/import/autre_reseau/appariement.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "formats/contexte_formats.h"
#include "survey/cavite.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

namespace formats {

using survey::TCavite;
using survey::TPointSpeleo;
using survey::TVisee;

double ToleranceAppariement() { return ContexteFormats().ToleranceAppariement; }

GardeToleranceAppariement::GardeToleranceAppariement(double tolerance) : sauve_(ToleranceAppariement()) {
  ContexteFormats().ToleranceAppariement = tolerance;
}

GardeToleranceAppariement::~GardeToleranceAppariement() { ContexteFormats().ToleranceAppariement = sauve_; }

namespace {

// A value that cannot break an ordering (a NaN sorts first).
double Cle(double v) { return std::isnan(v) ? -std::numeric_limits<double>::infinity() : v; }

double EcartAzimut(const TVisee& c, const TVisee& s) {
  return std::fabs(std::sin(c.AzEnRad() - s.AzEnRad())) * c.LCalc;
}

}  // namespace

int CompareViseesMesures(const TVisee& a, const TVisee& b) {
  const double t = ToleranceAppariement();
  if (!(EcartAzimut(a, b) < t)) return a.Az < b.Az ? -1 : 1;
  if (!(std::fabs(a.LCalc - b.LCalc) < t)) return a.LCalc < b.LCalc ? -1 : 1;
  if (!(std::fabs(std::fabs(a.DhCalc) - std::fabs(b.DhCalc)) < t)) return a.DhCalc < b.DhCalc ? -1 : 1;
  return 0;
}

bool AvantDansCandidats(const TVisee* a, const TVisee* b) {
  return std::make_tuple(Cle(a->Az), Cle(a->LCalc), Cle(a->DhCalc)) <
         std::make_tuple(Cle(b->Az), Cle(b->LCalc), Cle(b->DhCalc));
}

namespace {

// The candidate list of one pairing (shots of cave A), with its indexes: the
// position of each candidate, the candidates after each shot, and a grid by
// length and direction that finds the candidates equivalent to a shot.
class TAppariement {
 public:
  explicit TAppariement(const std::vector<TCavite*>& caves) {
    for (TCavite* c : caves)
      for (TVisee* v : c->Visees) {
        v->ViseeEquiv = nullptr;
        candidats_.push_back(v);
      }
    std::stable_sort(candidats_.begin(), candidats_.end(), AvantDansCandidats);
    actif_.assign(candidats_.size(), 1);
    restants_ = candidats_.size();
    for (size_t i = 0; i < candidats_.size(); ++i) {
      position_[candidats_[i]] = i;
      if (TVisee* p = candidats_[i]->ViseePreced()) suivants_[p].push_back(i);
    }
    // The grid of the candidates by computed length (cells as wide as the
    // tolerance) and by measured direction modulo a half turn.
    for (size_t i = 0; i < candidats_.size(); ++i) {
      const TVisee& c = *candidats_[i];
      if (std::isnan(c.LCalc) || std::isnan(c.Az)) continue;
      grille_[CleGrille(CaseLongueur(c.LCalc), CaseDirection(Direction(c)))].push_back(i);
    }
  }

  // The shots of b against the candidates.
  void Apparie(TCavite& b) {
    std::vector<TVisee*> visees;
    visees.reserve(static_cast<size_t>(b.Visees.Count()));
    for (TVisee* v : b.Visees) visees.push_back(v);
    for (TVisee* v : visees) {
      v->CalculeVisee();
      v->ViseeEquiv = nullptr;
    }
    // Chains of three equivalent shots.
    for (TVisee* s : visees) {
      if (s->ViseeEquiv) continue;
      TVisee* c = Cherche(*s);
      if (!c) continue;
      TVisee* ps = s->ViseePreced();
      TVisee* pc = c->ViseePreced();
      if (!ps || !pc || CompareViseesMesures(*pc, *ps) != 0) continue;
      TVisee* pps = ps->ViseePreced();
      TVisee* ppc = pc->ViseePreced();
      if (!pps || !ppc || CompareViseesMesures(*ppc, *pps) != 0) continue;
      Lie(c, s);
      Lie(pc, ps);
      Lie(ppc, pps);
    }
    // Backwards, from a pair to the pair of their predecessors.
    for (auto it = visees.rbegin(); it != visees.rend(); ++it) {
      TVisee* s = *it;
      TVisee* e = s->ViseeEquiv;
      if (!e) continue;
      TVisee* ps = s->ViseePreced();
      TVisee* pe = e->ViseePreced();
      if (ps && !ps->ViseeEquiv && pe && EstCandidat(pe) && CompareViseesMesures(*pe, *ps) == 0) Lie(pe, ps);
    }
    // Forwards, after a pair of predecessors.
    for (TVisee* s : visees) {
      if (s->ViseeEquiv) continue;
      TVisee* ps = s->ViseePreced();
      if (!ps || !ps->ViseeEquiv) continue;
      const auto it = suivants_.find(ps->ViseeEquiv);
      if (it == suivants_.end()) continue;
      for (size_t i : it->second)
        if (actif_[i] && !candidats_[i]->ViseeEquiv && CompareViseesMesures(*candidats_[i], *s) == 0) {
          Lie(candidats_[i], s);
          break;
        }
    }
    // Around the stations of a shot found among the candidates, as long as
    // a pass pairs something.
    for (bool progres = true; progres && restants_ > 0;) {
      progres = false;
      for (TVisee* s : visees) {
        if (s->ViseeEquiv || s->ViseeNulle()) continue;
        TVisee* c = Cherche(*s);
        if (!c) continue;
        const size_t avant = restants_;
        AutourPoint(c->PtOrigCalc, s->PtOrigCalc);
        AutourPoint(c->PtCalc, s->PtCalc);
        progres = progres || restants_ != avant;
      }
    }
  }

 private:
  bool EstCandidat(const TVisee* v) const {
    const auto it = position_.find(v);
    return it != position_.end() && actif_[it->second];
  }

  // a, a shot of the candidates' caves, with s.  A link replaces an earlier
  // link of either shot.
  void Lie(TVisee* a, TVisee* s) {
    if (a->ViseeEquiv && a->ViseeEquiv != s && a->ViseeEquiv->ViseeEquiv == a) a->ViseeEquiv->ViseeEquiv = nullptr;
    if (s->ViseeEquiv && s->ViseeEquiv != a && s->ViseeEquiv->ViseeEquiv == s) s->ViseeEquiv->ViseeEquiv = nullptr;
    a->ViseeEquiv = s;
    s->ViseeEquiv = a;
    const auto it = position_.find(a);
    if (it != position_.end() && actif_[it->second]) {
      actif_[it->second] = 0;
      --restants_;
    }
  }

  // The first candidate, in list order, equivalent to s; none for a null
  // shot after two null shots.
  TVisee* Cherche(const TVisee& s) const {
    if (s.ViseeNulle()) {
      const TVisee* p = s.ViseePreced();
      const TVisee* pp = p ? p->ViseePreced() : nullptr;
      if (p && pp && p->ViseeNulle() && pp->ViseeNulle()) return nullptr;
    }
    if (std::isnan(s.LCalc) || std::isnan(s.Az)) return nullptr;
    const double l = s.LCalc;
    size_t meilleur = candidats_.size();
    const auto examine = [&](int64_t caseL, int64_t caseD) {
      const auto it = grille_.find(CleGrille(caseL, caseD));
      if (it == grille_.end()) return;
      for (size_t i : it->second) {
        if (i >= meilleur || !actif_[i]) continue;
        const TVisee& c = *candidats_[i];
        if (EcartAzimut(c, s) < t_ && CompareViseesMesures(c, s) == 0) meilleur = i;
      }
    };
    const int64_t l0 = CaseLongueur(l);
    // A candidate as long as s within t, and whose direction is within
    // asin(t / its length) of s's, modulo a half turn.
    const double lmin = l - 2 * t_;
    const int64_t cases = NombreCasesDirection();
    int64_t d0 = 0, d1 = cases - 1;
    if (lmin > t_) {
      const double ecart = std::asin(std::min(1.0, t_ / lmin));
      const double d = Direction(s);
      d0 = CaseDirection(d - ecart) - 1;
      d1 = CaseDirection(d + ecart) + 1;
      if (d1 - d0 + 1 >= cases) {
        d0 = 0;
        d1 = cases - 1;
      }
    }
    for (int64_t caseL = l0 - 1; caseL <= l0 + 1; ++caseL)
      for (int64_t d = d0; d <= d1; ++d) examine(caseL, ((d % cases) + cases) % cases);
    return meilleur < candidats_.size() ? candidats_[meilleur] : nullptr;
  }

  // The arriving shot, then the other shots of the station, in the
  // candidates' order.
  static std::vector<TVisee*> Autour(const TPointSpeleo* p) {
    std::vector<TVisee*> r;
    if (!p) return r;
    if (p->ViseeAvant) r.push_back(p->ViseeAvant);
    for (TVisee* v : p->LstVis)
      if (v != p->ViseeAvant) r.push_back(v);
    std::stable_sort(r.begin(), r.end(), AvantDansCandidats);
    return r;
  }

  void AutourPoint(const TPointSpeleo* p, const TPointSpeleo* q) {
    const std::vector<TVisee*> autourP = Autour(p);
    const std::vector<TVisee*> autourQ = Autour(q);
    std::vector<std::pair<TVisee*, TVisee*>> paires;
    for (TVisee* x : autourP)
      for (TVisee* y : autourQ)
        if (CompareViseesMesures(*x, *y) == 0) {
          paires.emplace_back(x, y);
          break;
        }
    if (paires.size() < 2) return;
    for (const auto& [x, y] : paires) Lie(x, y);
  }

  std::vector<TVisee*> candidats_;
  std::vector<char> actif_;
  size_t restants_ = 0;
  std::unordered_map<const TVisee*, size_t> position_;
  std::unordered_map<const TVisee*, std::vector<size_t>> suivants_;
  // Cells of the candidate grid.
  static constexpr double PasDirection = 0.01;  // radians
  static int64_t NombreCasesDirection() { return static_cast<int64_t>(std::ceil(std::numbers::pi / PasDirection)); }
  static double Direction(const TVisee& v) {
    const double d = std::fmod(v.AzEnRad(), std::numbers::pi);
    return d < 0 ? d + std::numbers::pi : d;
  }
  int64_t CaseLongueur(double l) const { return static_cast<int64_t>(std::floor(l / t_)); }
  static int64_t CaseDirection(double d) { return static_cast<int64_t>(std::floor(d / PasDirection)); }
  static int64_t CleGrille(int64_t caseL, int64_t caseD) { return caseL * 4096 + caseD; }

  double t_ = std::max(ToleranceAppariement(), 1e-9);
  std::unordered_map<int64_t, std::vector<size_t>> grille_;
};

}  // namespace

void AppareilleVisees(TCavite& a, TCavite& b) {
  TAppariement appariement({&a});
  appariement.Apparie(b);
}

void AppareilleAvecToutes(const std::vector<TCavite*>& candidates, const std::vector<TCavite*>& cavites) {
  TAppariement appariement(candidates);
  for (TCavite* b : cavites) appariement.Apparie(*b);
}

void OublieEquivalencesExternes(TCavite& c) {
  // Pointers are compared, never followed: the other cave may be gone.
  std::unordered_set<const TVisee*> propres;
  for (const TVisee* v : c.Visees) propres.insert(v);
  for (TVisee* v : c.Visees)
    if (v->ViseeEquiv && !propres.count(v->ViseeEquiv)) v->ViseeEquiv = nullptr;
}

namespace {

void ListeManquantes(TCavite& c, std::vector<std::string>& lignes) {
  const survey::TGalerie* derniere = nullptr;
  bool premiere = true;
  for (TVisee* v : c.Visees) {
    if (v->ViseeEquiv) {
      v->Marque = false;
      continue;
    }
    v->Marque = true;
    v->CreeValeursTxt();
    const survey::TGalerie* g = v->GalDeLaVis();
    if (premiere || g != derniere) {
      lignes.emplace_back();
      lignes.push_back("Galerie : " + (g ? g->NomGalerie : std::string()));
      derniere = g;
      premiere = false;
    }
    const std::string de = v->PointStation ? v->PointStation->DesignPTopo : std::string();
    const std::string a = v->PointVise ? v->PointVise->DesignPTopo : std::string();
    lignes.push_back(de + "\t -> \t" + a + "\t" + v->ValeursTxt[2] + "\t" + v->ValeursTxt[20] + "\t" + v->ValeursTxt[18]);
  }
}

}  // namespace

std::vector<std::string> EcritRapport(TCavite& a, const std::string& cheminA, TCavite& b, const std::string& cheminB) {
  const std::string tirets(93, '-');
  std::vector<std::string> lignes;
  lignes.push_back("Cavite en cours : " + a.NomCavite + "  -  dans le fichier : " + cheminA);
  lignes.push_back("Cavite importée : " + b.NomCavite + "  -  dans le fichier : " + cheminB);
  lignes.insert(lignes.end(), {std::string(), tirets, std::string()});
  lignes.push_back("Visées existant dans la cavité en cours et pas dans la cavité importée");
  ListeManquantes(a, lignes);
  lignes.insert(lignes.end(), {std::string(), tirets, std::string()});
  lignes.push_back("Visées existant dans la cavité importée et pas dans la cavité en cours");
  ListeManquantes(b, lignes);
  return lignes;
}

}  // namespace formats
