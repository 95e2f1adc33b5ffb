#include "formats/import/autre_reseau/appariement.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <numbers>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "drawing/donnees_coupe_long.h"
#include "formats/contexte_formats.h"
#include "survey/contexte_document.h"
#include "survey/reseau.h"
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

// What the comparison reads of a shot, copied once.
struct CleVisee {
  double Az = 0;     // measured azimuth value
  double AzRad = 0;  // in radians
  double L = 0;      // computed length
  double Dh = 0;     // computed height difference
};

CleVisee CleDe(const TVisee& v) { return {v.Az, v.AzEnRad(), v.LCalc, v.DhCalc}; }

double EcartAzimut(const CleVisee& c, const CleVisee& s) { return std::fabs(std::sin(c.AzRad - s.AzRad)) * c.L; }

int CompareCles(const CleVisee& a, const CleVisee& b, double t) {
  if (!(EcartAzimut(a, b) < t)) return a.Az < b.Az ? -1 : 1;
  if (!(std::fabs(a.L - b.L) < t)) return a.L < b.L ? -1 : 1;
  if (!(std::fabs(std::fabs(a.Dh) - std::fabs(b.Dh)) < t)) return a.Dh < b.Dh ? -1 : 1;
  return 0;
}

bool AvantCle(const CleVisee& a, const CleVisee& b) {
  return std::make_tuple(Cle(a.Az), Cle(a.L), Cle(a.Dh)) < std::make_tuple(Cle(b.Az), Cle(b.L), Cle(b.Dh));
}

}  // namespace

int CompareViseesMesures(const TVisee& a, const TVisee& b) {
  return CompareCles(CleDe(a), CleDe(b), ToleranceAppariement());
}

bool AvantDansCandidats(const TVisee* a, const TVisee* b) {
  return AvantCle({a->Az, 0, a->LCalc, a->DhCalc}, {b->Az, 0, b->LCalc, b->DhCalc});
}

namespace {

// Shot -> position, in one flat table (open addressing): one memory access
// per look-up where a node-based map takes several.
class TTablePositions {
 public:
  void Prepare(size_t n) {
    size_t taille = 16;
    while (taille < 2 * n) taille *= 2;
    masque_ = taille - 1;
    cases_.assign(taille, {nullptr, 0});
  }
  void Ajoute(const TVisee* v, size_t position) {
    for (size_t i = Hache(v);; i = (i + 1) & masque_)
      if (!cases_[i].first) {
        cases_[i] = {v, position};
        return;
      }
  }
  // The position, or none.
  const size_t* Cherche(const TVisee* v) const {
    for (size_t i = Hache(v);; i = (i + 1) & masque_) {
      if (cases_[i].first == v) return &cases_[i].second;
      if (!cases_[i].first) return nullptr;
    }
  }

 private:
  size_t Hache(const TVisee* v) const {
    return static_cast<size_t>((reinterpret_cast<uintptr_t>(v) >> 4) * 0x9E3779B97F4A7C15ull >> 20) & masque_;
  }
  std::vector<std::pair<const TVisee*, size_t>> cases_;
  size_t masque_ = 0;
};

// The candidate list of one pairing (shots of cave A), with its indexes: the
// position of each candidate, the candidates after each shot, and a grid by
// length and direction that finds the candidates equivalent to a shot.
class TAppariement {
 public:
  explicit TAppariement(const std::vector<TCavite*>& caves) {
    // The keys are copied once, so that sorting and searching read a compact
    // array rather than the shots.
    std::vector<std::pair<CleVisee, TVisee*>> liste;
    for (TCavite* c : caves)
      for (TVisee* v : c->Visees) {
        v->ViseeEquiv = nullptr;
        liste.emplace_back(CleDe(*v), v);
      }
    std::stable_sort(liste.begin(), liste.end(), [](const auto& a, const auto& b) { return AvantCle(a.first, b.first); });
    candidats_.reserve(liste.size());
    cles_.reserve(liste.size());
    for (const auto& [cle, v] : liste) {
      cles_.push_back(cle);
      candidats_.push_back(v);
    }
    actif_.assign(candidats_.size(), 1);
    restants_ = candidats_.size();
    position_.Prepare(candidats_.size());
    suivants_.reserve(candidats_.size());
    for (size_t i = 0; i < candidats_.size(); ++i) {
      position_.Ajoute(candidats_[i], i);
      if (TVisee* p = candidats_[i]->ViseePreced()) suivants_.emplace_back(p, i);
    }
    std::stable_sort(suivants_.begin(), suivants_.end(), AvantPred);
    // The grid of the candidates by computed length (cells as wide as the
    // tolerance) and by measured direction modulo a half turn.
    grille_.reserve(cles_.size());
    for (size_t i = 0; i < cles_.size(); ++i) {
      const CleVisee& c = cles_[i];
      if (std::isnan(c.L) || std::isnan(c.AzRad)) continue;
      grille_.emplace_back(CleGrille(CaseLongueur(c.L), CaseDirection(Direction(c.AzRad))), i);
    }
    std::sort(grille_.begin(), grille_.end());
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
      const auto [debut, fin] = std::equal_range(suivants_.begin(), suivants_.end(),
                                                 std::pair<const TVisee*, size_t>(ps->ViseeEquiv, 0), AvantPred);
      for (auto it = debut; it != fin; ++it) {
        const size_t i = it->second;
        if (actif_[i] && !candidats_[i]->ViseeEquiv && CompareViseesMesures(*candidats_[i], *s) == 0) {
          Lie(candidats_[i], s);
          break;
        }
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
    const size_t* i = position_.Cherche(v);
    return i && actif_[*i];
  }

  // a, a shot of the candidates' caves, with s.  A link replaces an earlier
  // link of either shot.
  void Lie(TVisee* a, TVisee* s) {
    if (a->ViseeEquiv && a->ViseeEquiv != s && a->ViseeEquiv->ViseeEquiv == a) a->ViseeEquiv->ViseeEquiv = nullptr;
    if (s->ViseeEquiv && s->ViseeEquiv != a && s->ViseeEquiv->ViseeEquiv == s) s->ViseeEquiv->ViseeEquiv = nullptr;
    a->ViseeEquiv = s;
    s->ViseeEquiv = a;
    const size_t* i = position_.Cherche(a);
    if (i && actif_[*i]) {
      actif_[*i] = 0;
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
    const CleVisee cs = CleDe(s);
    if (std::isnan(cs.L) || std::isnan(cs.AzRad)) return nullptr;
    const double l = cs.L;
    size_t meilleur = candidats_.size();
    const auto examine = [&](int64_t caseL, int64_t caseD) {
      const int64_t cle = CleGrille(caseL, caseD);
      auto it = std::lower_bound(grille_.begin(), grille_.end(), std::pair<int64_t, size_t>(cle, 0));
      for (; it != grille_.end() && it->first == cle; ++it) {
        const size_t i = it->second;
        if (i >= meilleur || !actif_[i]) continue;
        const CleVisee& c = cles_[i];
        if (EcartAzimut(c, cs) < t_ && CompareCles(c, cs, t_) == 0) meilleur = i;
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
      const double d = Direction(cs.AzRad);
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
  std::vector<CleVisee> cles_;  // at the same positions
  std::vector<char> actif_;
  size_t restants_ = 0;
  TTablePositions position_;
  // (predecessor, candidate position), by predecessor then position.
  std::vector<std::pair<const TVisee*, size_t>> suivants_;
  static bool AvantPred(const std::pair<const TVisee*, size_t>& a, const std::pair<const TVisee*, size_t>& b) {
    return std::less<const TVisee*>()(a.first, b.first);
  }
  // Cells of the candidate grid.
  static constexpr double PasDirection = 0.01;  // radians
  static int64_t NombreCasesDirection() { return static_cast<int64_t>(std::ceil(std::numbers::pi / PasDirection)); }
  static double Direction(double azRad) {
    const double d = std::fmod(azRad, std::numbers::pi);
    return d < 0 ? d + std::numbers::pi : d;
  }
  int64_t CaseLongueur(double l) const { return static_cast<int64_t>(std::floor(l / t_)); }
  static int64_t CaseDirection(double d) { return static_cast<int64_t>(std::floor(d / PasDirection)); }
  static int64_t CleGrille(int64_t caseL, int64_t caseD) { return caseL * 4096 + caseD; }

  double t_ = std::max(ToleranceAppariement(), 1e-9);
  std::vector<std::pair<int64_t, size_t>> grille_;  // (cell, position), sorted
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

void AppareilleCoupeProjetee(drawing::TDonneesCoupeLong& coupe) {
  coupe.GenereListeCavitesCoupe();
  const survey::TReseau* r = survey::Document().ReseauCourant;
  if (coupe.ListeCavitesCoupe.size() < 2 || !r) return;
  std::vector<TCavite*> toutes;
  for (TCavite* c : r->Cavites) toutes.push_back(c);
  AppareilleAvecToutes(toutes, coupe.ListeCavitesCoupe);
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
