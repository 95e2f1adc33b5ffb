// Fills made from crossing lines: the closing test on a table of
// configurations, the indexed crossing search against a direct pairwise
// search written here from the documented rules, shapely's faces as a
// geometry oracle, and the layer's handling of fills.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "drawing/calque.h"
#include "drawing/dessin_remplissage.h"
#include "foundation/arrondi.h"
#include "foundation/point_topo.h"
#include "platform/text_log_canvas.h"
#include "tests/drawing/outils_vue.h"
#include "tests/support/temps_processeur.h"

namespace {

using namespace drawing;
using foundation::TPoint;
using Ligne = std::vector<TPoint>;

// A fill of lines given as point lists (smoothed when asked), with its
// working lists kept for inspection.
struct Montage {
  explicit Montage(const std::vector<Ligne>& lignes, bool lisse = false) {
    styleLisse.TraitLisse = true;
    remplissage = std::make_unique<TDessinRemplissage>(&styleRempli);
    for (const Ligne& l : lignes) {
      auto d = std::make_unique<TDessinLigne>(lisse ? &styleLisse : &style);
      for (const TPoint& p : l) d->AjoutePoint(p);
      remplissage->ListeLignes.push_back(d.get());
      objets.push_back(std::move(d));
    }
    remplissage->GardeListesTravail = true;
  }
  bool Ferme() { return remplissage->TestEstFerme(); }
  std::vector<TPoint> Contour() const {
    std::vector<TPoint> r;
    for (const TPointDeBase& p : remplissage->LigneDessinee->PointsList) r.push_back(p.PointLoc());
    return r;
  }
  int Exactes() const {
    int n = 0;
    for (const auto& x : remplissage->Intersections) n += x->Exacte;
    return n;
  }

  TObjetTrait style, styleLisse;
  tMotifRempli styleRempli;
  std::vector<std::unique_ptr<TDessinLigne>> objets;
  std::unique_ptr<TDessinRemplissage> remplissage;
};

std::string Texte(const std::vector<TPoint>& v) {
  std::string s;
  for (const TPoint& p : v) s += "(" + std::to_string(p.X) + "," + std::to_string(p.Y) + ")";
  return s;
}

// Area by the shoelace formula (absolute) and perimeter of a closed outline.
double Aire(const std::vector<TPoint>& v) {
  double a = 0;
  for (size_t i = 0; i + 1 < v.size(); ++i) a += double(v[i].X) * v[i + 1].Y - double(v[i + 1].X) * v[i].Y;
  return std::abs(a) / 2;
}
double Perimetre(const std::vector<TPoint>& v) {
  double p = 0;
  for (size_t i = 0; i + 1 < v.size(); ++i) p += foundation::DistancePoints(v[i], v[i + 1]);
  return p;
}

Ligne Sinusoide(int x0, int x1, int pas, double amplitude, double periode, int y0) {
  Ligne l;
  for (int x = x0; x <= x1; x += pas)
    l.push_back({x, y0 + static_cast<int32_t>(std::lround(amplitude * std::sin(2 * M_PI * x / periode)))});
  return l;
}

class Remplissage : public ::testing::Test {
 protected:
  testvue::Vue vue_;
};

// --- The configurations ------------------------------------------------------------

TEST_F(Remplissage, TableDesConfigurations) {
  struct Cas {
    const char* nom;
    std::vector<Ligne> lignes;
    bool lisse;
    bool ferme;
    int croisements;  // -1: not checked
    int exactes;      // -1: not checked
    std::vector<TPoint> contour;  // empty: not checked
  };
  // A U whose arms a bar reaches within 4 units (T-junctions at both ends).
  const Ligne u = {{0, 1000}, {0, 0}, {1000, 0}, {1000, 1000}};
  const Cas cas[] = {
      {"deux lignes qui se croisent deux fois: la lentille",
       {{{0, 0}, {1000, 1000}, {2000, 0}}, {{-500, 500}, {2500, 500}}},
       false,
       true,
       2,
       0,
       {{1000, 1000}, {500, 500}, {1500, 500}, {1000, 1000}}},
      {"triangle de trois lignes",
       {{{-500, 0}, {2500, 0}}, {{-200, -400}, {1200, 2400}}, {{2200, -400}, {800, 2400}}},
       false,
       true,
       3,
       0,
       {{2000, 0}, {0, 0}, {1000, 2000}, {2000, 0}}},
      {"bouts qui se touchent d'un seul côté: ouvert",
       {{{0, 0}, {1000, 0}}, {{1005, 0}, {1005, 1000}}},
       false,
       false,
       1,
       1,
       {}},
      {"bouts qui se rejoignent des deux côtés à moins de 10",
       {{{0, 0}, {500, 800}, {1000, 0}}, {{1005, 0}, {500, -800}, {-5, 3}}},
       false,
       true,
       2,
       2,
       // Exact crossings: the walk takes in the curve point nearest each.
       {{1000, 0}, {500, 800}, {0, 0}, {0, 0}, {-5, 3}, {500, -800}, {1005, 0}, {1000, 0}, {1000, 0}}},
      {"une ligne avec un seul croisement: ouvert",
       {{{0, 0}, {1000, 0}}, {{500, -500}, {500, 500}}},
       false,
       false,
       1,
       0,
       {}},
      {"croisements à moins de 10 sur la même paire: un seul",
       {{{0, 0}, {1000, 0}}, {{497, -500}, {503, 500}, {509, -500}}},
       false,
       false,
       1,
       0,
       {}},
      {"points de deux lignes à moins de 10: croisement exact",
       {{{0, 0}, {500, 0}, {1000, 300}}, {{0, 600}, {505, 5}, {1000, -300}}},
       false,
       false,
       1,
       1,
       {}},
      {"jonctions en T aux deux bouts d'une barre",
       {u, {{4, 500}, {996, 500}}},
       false,
       true,
       2,
       0,
       {{1000, 0}, {0, 0}, {0, 500}, {1000, 500}, {1000, 0}}},
      {"paroi sinueuse coupée quatre fois par une ligne d'eau",
       {Sinusoide(0, 4000, 50, 500, 2000, 0), {{-100, 100}, {4100, 100}}},
       false,
       true,
       4,
       0,
       {}},
      {"lignes presque parallèles (0,01°): pas de croisement lointain",
       {{{0, 0}, {10000, 0}}, {{0, 100}, {10000, 102}}},
       false,
       false,
       0,
       0,
       {}},
      {"lignes lissées: lentille cherchée par tronçons de 10 points",
       {Sinusoide(0, 2000, 100, 800, 4000, 0), {{-200, 300}, {1000, 200}, {2200, 300}}},
       true,
       true,
       2,
       0,
       {}},
  };
  for (const Cas& c : cas) {
    Montage m(c.lignes, c.lisse);
    EXPECT_EQ(m.Ferme(), c.ferme) << c.nom;
    EXPECT_EQ(m.remplissage->FermeOK, c.ferme) << c.nom;
    if (c.croisements >= 0) {
      EXPECT_EQ(m.remplissage->Intersections.size(), size_t(c.croisements)) << c.nom;
    }
    if (c.exactes >= 0) {
      EXPECT_EQ(m.Exactes(), c.exactes) << c.nom;
    }
    if (!c.contour.empty()) {
      EXPECT_EQ(Texte(m.Contour()), Texte(c.contour)) << c.nom;
    }
    if (c.ferme) {
      const auto v = m.Contour();
      ASSERT_GE(v.size(), 4u) << c.nom;
      EXPECT_EQ(v.front(), v.back()) << c.nom;
    }
  }
}

TEST_F(Remplissage, BoutsAMoinsDe30JointsAPlusDe30Non) {
  // Two lines whose ends are 29 (or 31) apart, a third far away: joined,
  // they leave two working lines; apart, three.
  for (const auto& [ecart, lignes] : {std::pair{29, 2u}, std::pair{31, 3u}}) {
    Montage m({{{0, 0}, {1000, 0}}, {{1000 + ecart, 0}, {2000, 500}}, {{0, 5000}, {1000, 5000}}});
    m.remplissage->ConnecteLignes();
    EXPECT_EQ(m.remplissage->LignesTracees.size(), lignes) << ecart;
  }
  // Joined end to start: the first line reversed, then the second without
  // its first point.
  Montage m({{{0, 0}, {1000, 0}}, {{10, 0}, {0, 700}}, {{0, 5000}, {1000, 5000}}});
  m.remplissage->ConnecteLignes();
  ASSERT_EQ(m.remplissage->LignesTracees.size(), 2u);
  EXPECT_EQ(Texte(m.remplissage->LignesTracees[1]->Points), Texte({{1000, 0}, {0, 0}, {0, 700}}));
  EXPECT_EQ(m.remplissage->LignesTracees[0]->Origine, 2);
}

TEST_F(Remplissage, LesCasDegeneresFinissentVite) {
  std::vector<Ligne> grille;
  for (int i = 0; i < 50; ++i) {
    grille.push_back({{-100, i * 200}, {10000, i * 200}});
    grille.push_back({{i * 200, -100}, {i * 200, 10000}});
  }
  Ligne repetee = {{0, 0}, {0, 0}, {0, 0}, {1000, 1000}, {1000, 1000}, {2000, 0}, {2000, 0}};
  Ligne identique = {{0, 0}, {300, 900}, {600, 0}, {900, 900}};
  std::vector<std::vector<Ligne>> cas = {
      {{{5, 5}}, {{0, 0}, {1000, 0}}},
      {repetee, {{-500, 500}, {2500, 500}}},
      {identique, identique},
      {identique, identique, identique},
      grille,
  };
  for (size_t i = 0; i < cas.size(); ++i) {
    Montage m(cas[i]);
    const double t0 = testsupport::TempsProcesseurFil();
    const bool ferme = m.Ferme();
    EXPECT_LT(testsupport::TempsProcesseurFil() - t0, 5.0) << i;
    if (ferme) {
      EXPECT_EQ(m.Contour().front(), m.Contour().back()) << i;
    }
  }
  // The repeated points do not hide the lens.
  Montage m(cas[1]);
  EXPECT_TRUE(m.Ferme());
}

TEST_F(Remplissage, UnEnchevetrementDenseRestePlafonne) {
  // 30 zigzags, each crossing every other many times: the cycle search stops
  // within its step budget at the latest.
  std::mt19937 gen(7);
  std::uniform_int_distribution<int> d(0, 3000);
  std::vector<Ligne> lignes;
  for (int i = 0; i < 30; ++i) {
    Ligne l;
    for (int k = 0; k < 30; ++k) l.push_back({d(gen), d(gen)});
    lignes.push_back(l);
  }
  Montage m(lignes);
  const double t0 = testsupport::TempsProcesseurFil();
  const bool ferme = m.Ferme();
  EXPECT_LT(testsupport::TempsProcesseurFil() - t0, 20.0);
  EXPECT_TRUE(ferme || m.remplissage->BudgetEpuise || !m.remplissage->Intersections.empty());
}

// --- The indexed search against the direct pairwise search -------------------------

// The crossings of two working lines exactly as the documented loops give
// them: shared points, then every pair of chunks, with the merge of
// crossings of the same pair closer than 10 units.
struct Croisement {
  TPoint p;
  int l1, l2;
  int32_t i1, i2;
  bool exacte;
};

void RechercheDirecte(const std::vector<TLigneTracee*>& lignes, std::vector<Croisement>& r) {
  const auto d2 = [](const TPoint& a, const TPoint& b) {
    return (int64_t(a.X) - b.X) * (int64_t(a.X) - b.X) + (int64_t(a.Y) - b.Y) * (int64_t(a.Y) - b.Y);
  };
  const auto dist = [](const TPoint& a, const TPoint& b) { return std::hypot(double(a.X) - b.X, double(a.Y) - b.Y); };
  for (int k1 = 0; k1 < int(lignes.size()); ++k1) {
    for (int k2 = k1 + 1; k2 < int(lignes.size()); ++k2) {
      const TLigneTracee& L1 = *lignes[size_t(k1)];
      const TLigneTracee& L2 = *lignes[size_t(k2)];
      const size_t debutPaire = r.size();
      const auto ajoute = [&](int32_t j, int32_t i, TPoint p) -> Croisement* {
        for (size_t c = debutPaire; c < r.size(); ++c)
          if (d2(r[c].p, p) <= 100) return nullptr;
        r.push_back({p, k1, k2, i, j, i == -1});
        return &r.back();
      };
      const auto plusProche = [&](const std::vector<TPoint>& c, TPoint p) {
        int32_t best = -1;
        int64_t dm = 0;
        for (size_t i = 0; i < c.size(); ++i)
          if (best < 0 || d2(c[i], p) < dm) {
            best = int32_t(i);
            dm = d2(c[i], p);
          }
        return best;
      };
      for (const TPoint& p : L1.Points)
        for (const TPoint& q : L2.Points)
          if (d2(p, q) < 100)
            if (Croisement* c = ajoute(-1, -1, p)) {
              c->i1 = plusProche(L1.Courbe, p);
              c->i2 = plusProche(L2.Courbe, p);
            }
      const auto pas = [](const TLigneTracee& l) { return l.Lissee && l.Courbe.size() > 10 ? 10 : 1; };
      const int32_t s1 = pas(L1), s2 = pas(L2);
      const auto& C1 = L1.Courbe;
      const auto& C2 = L2.Courbe;
      const int32_t n1 = int32_t(C1.size()) - 1, n2 = int32_t(C2.size()) - 1;
      const auto segments = [&](int32_t u, int32_t v) {
        foundation::TPointTopo P, Q, R, S, I;
        P.X = C1[size_t(u)].X, P.Y = C1[size_t(u)].Y, Q.X = C1[size_t(u) + 1].X, Q.Y = C1[size_t(u) + 1].Y;
        R.X = C2[size_t(v)].X, R.Y = C2[size_t(v)].Y, S.X = C2[size_t(v) + 1].X, S.Y = C2[size_t(v) + 1].Y;
        foundation::IntersectionDroites(P, Q, R, S, I);
        if (I.SlH != 1) return;
        const auto dd = [&](const foundation::TPointTopo& A) { return std::hypot(A.X - I.X, A.Y - I.Y); };
        if (dd(P) + dd(Q) <= std::hypot(P.X - Q.X, P.Y - Q.Y) + 10 &&
            dd(R) + dd(S) <= std::hypot(R.X - S.X, R.Y - S.Y) + 10)
          ajoute(v, u, {foundation::Arrondi(I.X), foundation::Arrondi(I.Y)});
      };
      const auto boite = [](const std::vector<TPoint>& c, int32_t a, int32_t b) {
        std::array<int32_t, 4> r{c[size_t(a)].X, c[size_t(a)].Y, c[size_t(a)].X, c[size_t(a)].Y};
        for (int32_t i = a; i <= b; ++i) {
          r[0] = std::min(r[0], c[size_t(i)].X), r[1] = std::min(r[1], c[size_t(i)].Y);
          r[2] = std::max(r[2], c[size_t(i)].X), r[3] = std::max(r[3], c[size_t(i)].Y);
        }
        return r;
      };
      for (int32_t a = 0; a < n1; a += s1) {
        const int32_t b = std::min(a + s1, n1);
        for (int32_t d = 0; d < n2; d += s2) {
          const int32_t e = std::min(d + s2, n2);
          if (b - a == 1 && e - d == 1) {
            segments(a, d);
            continue;
          }
          const auto r1 = boite(C1, a, b), r2 = boite(C2, d, e);
          if (!(r1[0] - 10 <= r2[2] + 10 && r2[0] - 10 <= r1[2] + 10 && r1[1] - 10 <= r2[3] + 10 &&
                r2[1] - 10 <= r1[3] + 10))
            continue;
          const TPoint pa = C1[size_t(a)], pb = C1[size_t(b)], qd = C2[size_t(d)], qe = C2[size_t(e)];
          if (dist(qd, pa) <= 10 || dist(qe, pa) <= 10)
            ajoute(d, a, pa);
          else if (dist(qd, pb) <= 10 || dist(qe, pb) <= 10)
            ajoute(e, b, pb);
          for (int32_t uu = std::max(0, a - s1); uu <= std::min(b + s1, n1 - 1); ++uu)
            for (int32_t vv = std::max(0, d - s2); vv <= std::min(e + s2, n2 - 1); ++vv) segments(uu, vv);
        }
      }
    }
  }
}

// The documented joins, pass after pass: the first touching pair of the
// list (ends closer than 30) is joined, the two lines leave, the new one
// goes to the end; a single chain gives the separate copies back.
std::vector<TLigneTracee> JointuresDirectes(const std::vector<TDessinLigne*>& bornes) {
  const auto copies = [&] {
    std::vector<TLigneTracee> r;
    for (TDessinLigne* l : bornes) {
      TLigneTracee t;
      for (const TPointDeBase& p : l->PointsList) t.Points.push_back(p.PointLoc());
      for (const TPointDeBase& p : l->CourbeBezier) t.Courbe.push_back(p.PointLoc());
      t.Lissee = l->EstLissee();
      r.push_back(t);
    }
    return r;
  };
  std::vector<TLigneTracee> lignes = copies();
  const auto pres = [](TPoint a, TPoint b) {
    return (int64_t(a.X) - b.X) * (int64_t(a.X) - b.X) + (int64_t(a.Y) - b.Y) * (int64_t(a.Y) - b.Y) < 900;
  };
  const auto partie = [](const TLigneTracee& l, bool inverse, bool sansPremier, bool sansDernier, TLigneTracee& r) {
    for (auto [source, cible] : {std::pair{&l.Points, &r.Points}, std::pair{&l.Courbe, &r.Courbe}}) {
      std::vector<TPoint> v = *source;
      if (sansPremier && !v.empty()) v.erase(v.begin());
      if (sansDernier && !v.empty()) v.pop_back();
      if (inverse) std::reverse(v.begin(), v.end());
      cible->insert(cible->end(), v.begin(), v.end());
    }
  };
  bool joint = false;
  for (bool encore = true; encore;) {
    encore = false;
    for (size_t i = 0; i < lignes.size() && !encore; ++i) {
      for (size_t j = 0; j < lignes.size() && !encore; ++j) {
        if (i == j || lignes[i].Courbe.empty() || lignes[j].Courbe.empty()) continue;
        const TLigneTracee &a = lignes[i], &b = lignes[j];
        TLigneTracee n;
        n.Lissee = a.Lissee;
        if (pres(a.Courbe.front(), b.Courbe.front())) {
          partie(a, true, false, false, n), partie(b, false, true, false, n);
        } else if (pres(a.Courbe.front(), b.Courbe.back())) {
          partie(a, true, false, false, n), partie(b, true, false, true, n);
        } else if (pres(b.Courbe.front(), a.Courbe.back())) {
          partie(b, true, false, false, n), partie(a, true, false, true, n);
        } else if (pres(a.Courbe.back(), b.Courbe.back())) {
          partie(a, false, false, false, n), partie(b, true, false, true, n);
        } else {
          continue;
        }
        lignes.erase(lignes.begin() + std::ptrdiff_t(std::max(i, j)));
        lignes.erase(lignes.begin() + std::ptrdiff_t(std::min(i, j)));
        lignes.push_back(n);
        encore = joint = true;
      }
    }
  }
  if (joint && lignes.size() == 1) lignes = copies();
  return lignes;
}

// The documented cycle search, recursive.
struct CycleDirect {
  std::vector<TIntersect*> inter;
  // Each line's sorted crossings (the same at every call).
  mutable std::map<const TLigneTracee*, std::vector<TIntersect*>> listes;
  std::vector<TIntersect*> Liste(const TLigneTracee* l) const {
    std::vector<std::pair<std::pair<int32_t, double>, TIntersect*>> v;
    for (TIntersect* x : inter) {
      if (!x->EstSur(l)) continue;
      const int32_t i = x->IndiceSur(l);
      const TPoint c = l->Courbe[size_t(i)];
      v.push_back({{i, std::hypot(double(c.X) - x->Point.X, double(c.Y) - x->Point.Y)}, x});
    }
    std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TIntersect*> r;
    for (const auto& e : v) r.push_back(e.second);
    return r;
  }
  bool Classe(const TLigneTracee* ligneTr, TIntersect* une, TIntersect*& deb) const {
    if (deb != nullptr && une->Utilisee) {
      if (une != deb) return false;
      une->Rang = 0;
      return true;
    }
    const TLigneTracee* l = une != nullptr ? une->AutreLigne(ligneTr) : ligneTr;
    auto it = listes.find(l);
    if (it == listes.end()) it = listes.emplace(l, Liste(l)).first;
    const std::vector<TIntersect*>& liste = it->second;
    if (deb == nullptr) deb = une = liste.at(0);
    une->Utilisee = true;
    const int pos = int(std::find(liste.begin(), liste.end(), une) - liste.begin()), der = int(liste.size()) - 1;
    std::vector<int> essais;
    if (pos > 0 && pos < der)
      essais = {pos - 1, pos + 1};
    else if (pos == 0)
      essais = {pos + 1};
    else
      essais = {pos - 1};
    for (const int n : essais) {
      if (n < 0 || n > der) continue;
      if (Classe(l, liste[size_t(n)], deb)) {
        une->Rang = liste[size_t(n)]->Rang + 1;
        return true;
      }
    }
    une->Utilisee = false;
    return false;
  }
};

// The crossings, the joins of the ends and the cycle's ranks of the closing
// test against the documented loops written directly, on 500 seeded
// configurations.
TEST_F(Remplissage, LaRechercheIndexeeTrouveLesCroisementsDeLaRechercheDirecte) {
  std::mt19937 gen(20261210);
  int totalCroisements = 0, totalExacts = 0, totalJointures = 0, totalFermes = 0;
  for (int cas = 0; cas < 500; ++cas) {
    std::uniform_int_distribution<int> nLignes(2, 7), nPoints(1, 25), pas(-900, 900), coin(0, 4000), jitter(-9, 9),
        de(0, 9);
    std::vector<Ligne> lignes;
    const int n = nLignes(gen);
    for (int i = 0; i < n; ++i) {
      Ligne l;
      TPoint p{coin(gen), coin(gen)};
      const int np = nPoints(gen);
      for (int k = 0; k < np; ++k) {
        // Now and then a point on (or near) a point of an earlier line,
        // a repeated point or a collinear run.
        const int tirage = de(gen);
        if (tirage == 0 && !lignes.empty()) {
          const Ligne& autre = lignes[size_t(gen() % lignes.size())];
          const TPoint q = autre[size_t(gen() % autre.size())];
          p = {q.X + jitter(gen), q.Y + jitter(gen)};
        } else if (tirage == 1 && !l.empty()) {
          p = l.back();
        } else {
          p = {p.X + pas(gen), p.Y + pas(gen)};
        }
        l.push_back(p);
      }
      lignes.push_back(l);
    }
    Montage m(lignes, cas % 3 == 0);
    m.remplissage->TestEstFerme();
    std::vector<TLigneTracee*> travail;
    for (const auto& l : m.remplissage->LignesTracees) travail.push_back(l.get());
    std::vector<Croisement> attendus;
    RechercheDirecte(travail, attendus);
    const auto& trouves = m.remplissage->Intersections;
    ASSERT_EQ(trouves.size(), attendus.size()) << "cas " << cas;
    for (size_t i = 0; i < attendus.size(); ++i) {
      const TIntersect& x = *trouves[i];
      const Croisement& c = attendus[i];
      EXPECT_TRUE(x.Point == c.p && x.Ligne1 == travail[size_t(c.l1)] && x.Ligne2 == travail[size_t(c.l2)] &&
                  x.iBez1 == c.i1 && x.iBez2 == c.i2 && x.Exacte == c.exacte)
          << "cas " << cas << " croisement " << i << " (" << x.Point.X << "," << x.Point.Y << ") attendu (" << c.p.X
          << "," << c.p.Y << ")";
      totalExacts += c.exacte;
    }
    totalCroisements += int(attendus.size());

    // The joins of the lines' ends, as the repeated passes make them.
    // (Only when the last line has more than one point.)
    std::vector<TLigneTracee> jointes;
    if (m.remplissage->ListeLignes.back()->NombrePoints() > 1) jointes = JointuresDirectes(m.remplissage->ListeLignes);
    ASSERT_EQ(jointes.size(), travail.size()) << "cas " << cas;
    for (size_t i = 0; i < jointes.size(); ++i) {
      EXPECT_EQ(Texte(travail[i]->Points), Texte(jointes[i].Points)) << "cas " << cas << " ligne " << i;
      EXPECT_EQ(Texte(travail[i]->Courbe), Texte(jointes[i].Courbe)) << "cas " << cas << " ligne " << i;
    }
    totalJointures += jointes.size() < lignes.size();

    // The cycle and its ranks, as the recursive search gives them (not
    // where the step budget ended the search: the recursive search may
    // then take minutes).
    if (m.remplissage->Intersections.empty()) continue;
    if (m.remplissage->BudgetEpuise) {
      std::printf("cas %d: budget épuisé (%zu croisements)\n", cas, m.remplissage->Intersections.size());
      EXPECT_FALSE(m.remplissage->FermeOK);
      continue;
    }
    std::vector<int32_t> rangs;
    CycleDirect direct;
    for (const auto& x : m.remplissage->Intersections) {
      rangs.push_back(x->Rang);
      direct.inter.push_back(x.get());
    }
    bool tousDeux = travail.size() > 1;
    for (const TLigneTracee* l : travail) tousDeux = tousDeux && direct.Liste(l).size() >= 2;
    bool ferme = false;
    if (tousDeux) {
      for (const TLigneTracee* l : travail) {
        for (TIntersect* x : direct.inter) x->Utilisee = false, x->Rang = -1;
        TIntersect* deb = nullptr;
        if (direct.Classe(l, nullptr, deb)) {
          ferme = true;
          break;
        }
      }
    }
    EXPECT_EQ(m.remplissage->FermeOK, ferme) << "cas " << cas;
    if (ferme) {
      ++totalFermes;
      for (size_t i = 0; i < rangs.size(); ++i) EXPECT_EQ(rangs[i], direct.inter[i]->Rang) << "cas " << cas << " " << i;
    }
  }
  EXPECT_GT(totalJointures, 20);
  EXPECT_GT(totalFermes, 100);
  // The configurations do exercise both kinds of crossings.
  EXPECT_GT(totalCroisements, 1000);
  EXPECT_GT(totalExacts, 100);
}

// --- Geometry oracle: shapely's faces ----------------------------------------------

// Areas of the faces of the noded lines, by shapely; empty with a skip when
// shapely is missing.
bool FacesShapely(const std::vector<const std::vector<TPoint>*>& lignes, std::vector<double>& aires) {
  std::string entree;
  for (const auto* l : lignes) {
    for (const TPoint& p : *l) entree += std::to_string(p.X) + " " + std::to_string(p.Y) + " ";
    entree += "\n";
  }
  char nom[] = "/tmp/remplissage_faces_XXXXXX";
  const int fd = mkstemp(nom);
  if (fd < 0) return false;
  FILE* f = fdopen(fd, "w");
  std::fputs(entree.c_str(), f);
  std::fclose(f);
  const std::string commande =
      std::string("/usr/bin/python3 ") + GRAVELUNE_SOURCE_DIR + "/tests/drawing/faces_shapely.py < " + nom;
  FILE* p = ::popen(commande.c_str(), "r");
  char tampon[128];
  while (p != nullptr && std::fgets(tampon, sizeof tampon, p) != nullptr) aires.push_back(std::strtod(tampon, nullptr));
  const int code = p != nullptr ? ::pclose(p) : -1;
  std::remove(nom);
  return code == 0;
}

TEST_F(Remplissage, OracleShapelyLAireDuContourEstCelleDUneFace) {
  std::vector<std::pair<std::string, std::vector<Ligne>>> cas = {
      {"lentille", {{{0, 0}, {1000, 1000}, {2000, 0}}, {{-500, 500}, {2500, 500}}}},
      {"triangle", {{{-500, 0}, {2500, 0}}, {{-200, -400}, {1200, 2400}}, {{2200, -400}, {800, 2400}}}},
      {"paroi sinueuse", {Sinusoide(0, 4000, 50, 500, 2000, 0), {{-100, 100}, {4100, 100}}}},
      {"deux parois et deux barres",
       {{{0, 0}, {800, 300}, {1600, -100}, {3000, 200}},
        {{0, 2000}, {900, 1700}, {1800, 2100}, {3000, 1900}},
        {{300, -500}, {500, 2600}},
        {{2600, 2500}, {2500, -600}}}},
  };
  // Random closed configurations: four lines around a quadrilateral.
  std::mt19937 gen(99);
  std::uniform_int_distribution<int> j(-400, 400);
  for (int i = 0; i < 20; ++i) {
    cas.push_back(
        {"aleatoire " + std::to_string(i),
         {{{-1000 + j(gen), j(gen)}, {j(gen), 300 + j(gen)}, {5000 + j(gen), j(gen)}},
          {{-1000 + j(gen), 4000 + j(gen)}, {2000 + j(gen), 3800 + j(gen)}, {5000 + j(gen), 4000 + j(gen)}},
          {{j(gen), -1000 + j(gen)}, {200 + j(gen), 2000 + j(gen)}, {j(gen), 5000 + j(gen)}},
          {{4000 + j(gen), -1000 + j(gen)}, {3800 + j(gen), 2000 + j(gen)}, {4000 + j(gen), 5000 + j(gen)}}}});
  }
  int verifies = 0;
  for (const auto& [nom, lignes] : cas) {
    Montage m(lignes);
    if (!m.Ferme()) {
      ADD_FAILURE() << nom << " ouvert";
      continue;
    }
    std::vector<const std::vector<TPoint>*> courbes;
    for (const auto& l : m.remplissage->LignesTracees) courbes.push_back(&l->Courbe);
    std::vector<double> faces;
    if (!FacesShapely(courbes, faces)) GTEST_SKIP() << "python3-shapely absent (oracle des faces)";
    const auto contour = m.Contour();
    const double aire = Aire(contour), tolerance = 10 * Perimetre(contour);
    bool trouvee = false;
    for (const double f : faces) trouvee = trouvee || std::abs(f - aire) <= 0.01 * f + tolerance;
    EXPECT_TRUE(trouvee) << nom << ": aire " << aire << " contour " << Texte(contour);
    ++verifies;
  }
  std::printf("Oracle shapely: %d contours comparés aux faces\n", verifies);
}

// --- Owners, layer passes ----------------------------------------------------------

TEST_F(Remplissage, LignesCreeesParLeRemplissageEtListeDesProprietaires) {
  TCalque calque;
  TObjetTrait style;
  auto* a = static_cast<TDessinLigne*>(calque.AjouteObjet(std::make_unique<TDessinLigne>(&style)));
  auto* b = static_cast<TDessinLigne*>(calque.AjouteObjet(std::make_unique<TDessinLigne>()));
  auto* c = static_cast<TDessinLigne*>(calque.AjouteObjet(std::make_unique<TDessinLigne>()));
  auto* r1 = static_cast<TDessinRemplissage*>(calque.AjouteObjet(std::make_unique<TDessinRemplissage>(&style)));
  auto* r2 = static_cast<TDessinRemplissage*>(calque.AjouteObjet(std::make_unique<TDessinRemplissage>(&style)));
  b->ObjetRempliParent = r1;
  c->ObjetRempliParent = r1;
  // The same line twice in one fill counts once.
  r1->ListeLignes = {a, b, c, a};
  r2->ListeLignes = {a};
  EXPECT_TRUE(r1->ACree(b));
  EXPECT_FALSE(r1->ACree(a));
  EXPECT_TRUE(r1->EstEffacable());
  EXPECT_FALSE(r2->EstEffacable());
  EXPECT_EQ(r1->DerLigneCree(), c);
  EXPECT_EQ(r2->DerLigneCree(), nullptr);
  a->CreeListeRemplisProprio(calque.ObjetsDessines);
  EXPECT_EQ(a->ListeRemplisProprio, (std::vector<TObjetDessin*>{r1, r2}));
  b->CreeListeRemplisProprio(calque.ObjetsDessines);
  EXPECT_EQ(b->ListeRemplisProprio, (std::vector<TObjetDessin*>{r1}));

  // The style copy never smooths.
  TObjetTrait lisse;
  lisse.TraitLisse = true;
  lisse.CouleurPinceau = 0x123456;
  r2->ChangeMotif(&lisse);
  EXPECT_EQ(r2->ObjetMotif, &lisse);
  EXPECT_FALSE(r2->TraitTmp.TraitLisse);
  EXPECT_EQ(r2->TraitTmp.CouleurPinceau, 0x123456u);
}

TEST_F(Remplissage, EnveloppeEtDistanceParLesLignes) {
  Montage m({{{0, 0}, {1000, 0}}, {{0, 3000}, {1000, 3000}}});
  m.remplissage->CalculeEnveloppe();
  EXPECT_EQ(m.remplissage->EnvelRect, (foundation::TRect{-5, 3005, 1005, -5}));
  // The view: 10 pixels per metre, pixel (0, 0) at ground (0, 30).  Pixel
  // (5, 290) is ground (0.5, 1): 1000 units from the first line.
  TInfoObjet info;
  m.remplissage->DistanceObjet(5, 290, info);
  EXPECT_NEAR(info.D, 1000, 1);
  EXPECT_EQ(info.ObjetProche, m.remplissage.get());
}

// The order in which a recording canvas sees the lines drawn: each object's
// first point, in pixels.
std::vector<std::string> Traces(const platform::TextLogCanvas& c) {
  std::vector<std::string> r;
  for (const std::string& l : c.Log)
    if (l.starts_with("LineTo") || l.starts_with("Polygon")) r.push_back(l);
  return r;
}

TEST_F(Remplissage, CalqueRempliSelectionneDessineApresLesLignesSelectionneesQuiLePrecedent) {
  TCalque calque;
  TObjetTrait style, styleRempli;
  styleRempli.NumMotif = 0;
  const auto ligne = [&](std::vector<TPoint> pts) {
    auto l = std::make_unique<TDessinLigne>(&style);
    for (const TPoint& p : pts) l->AjoutePoint(p);
    return static_cast<TDessinLigne*>(calque.AjouteObjet(std::move(l)));
  };
  TDessinLigne* a = ligne({{0, 0}, {1000, 1000}, {2000, 0}});
  TDessinLigne* b = ligne({{-500, 500}, {2500, 500}});
  auto* r = static_cast<TDessinRemplissage*>(calque.AjouteObjet(std::make_unique<TDessinRemplissage>(&styleRempli)));
  r->ListeLignes = {a, b};
  TDessinLigne* apres = ligne({{0, 2000}, {3000, 2000}});
  apres->Selecte = true;
  a->Selecte = true;
  r->Selecte = true;
  platform::TextLogCanvas canvas(400, 300);
  calque.DessineCalque(canvas);
  EXPECT_FALSE(calque.CalqueModifie);
  EXPECT_TRUE(r->FermeOK);
  // Pass 1 draws b; the last pass draws the selected lines a and "apres"
  // (which follows the fill in the list), then the fill's polygon.
  std::vector<std::string> t = Traces(canvas);
  size_t polygone = 0, apresDessinee = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i].starts_with("Polygon") && polygone == 0) polygone = i;
    if (t[i].find(" 30,280") != std::string::npos) apresDessinee = i;
  }
  ASSERT_GT(apresDessinee, 0u) << testing::PrintToString(t);
  EXPECT_GT(polygone, apresDessinee) << testing::PrintToString(t);
  // Nothing re-runs the closing test while the layer has not changed.
  r->ListeLignes = {a};
  calque.DessineCalque(canvas);
  EXPECT_TRUE(r->FermeOK);
  calque.CalqueModifie = true;
  calque.DessineCalque(canvas);
  EXPECT_FALSE(r->FermeOK);
}

TEST_F(Remplissage, SelectCadreSelectionneUnRempliDontUneLigneEstSelectionneeUneFois) {
  TCalque calque;
  TObjetTrait style;
  auto l = std::make_unique<TDessinLigne>(&style);
  l->AjoutePoint({0, 0});
  l->AjoutePoint({1000, 0});
  auto* ligne = static_cast<TDessinLigne*>(calque.AjouteObjet(std::move(l)));
  auto* r = static_cast<TDessinRemplissage*>(calque.AjouteObjet(std::make_unique<TDessinRemplissage>(&style)));
  r->ListeLignes = {ligne, ligne};
  ligne->EstAffiche = r->EstAffiche = true;
  r->CalculeEnveloppe();
  std::vector<TObjetDessin*> liste;
  calque.SelectCadre(liste, {-10, 10, 10, -10});
  EXPECT_TRUE(ligne->Selecte);
  EXPECT_TRUE(r->Selecte);
  EXPECT_EQ(liste, (std::vector<TObjetDessin*>{ligne, r}));
  calque.SelectCadre(liste, {-10, 10, 10, -10});
  EXPECT_EQ(liste.size(), 2u);
}

TEST_F(Remplissage, OuvertLesLignesEnRougeFermeLeContour) {
  TObjetTrait style, styleRempli;
  styleRempli.NumMotif = 0;
  styleRempli.CouleurPinceau = 0x00FF00;
  style.CouleurPlume = 0x111111;
  Montage m({{{0, 0}, {1000, 0}}, {{500, -500}, {500, 500}}});
  m.objets[0]->ObjetMotif = m.objets[1]->ObjetMotif = &style;
  m.remplissage->ChangeMotif(&styleRempli);
  m.Ferme();
  testvue::Espion ouvert(400, 300);
  m.remplissage->DessineObjet(ouvert);
  const auto lignes = ouvert.Lignes("LineTo");
  ASSERT_EQ(lignes.size(), 2u);
  for (const auto& l : lignes) EXPECT_NE(l.find("c=0000FF"), std::string::npos) << l;
  EXPECT_TRUE(ouvert.Lignes("Polygon").empty());

  Montage f({{{0, 0}, {1000, 1000}, {2000, 0}}, {{-500, 500}, {2500, 500}}});
  f.objets[0]->ObjetMotif = f.objets[1]->ObjetMotif = &style;
  f.remplissage->ChangeMotif(&styleRempli);
  ASSERT_TRUE(f.Ferme());
  testvue::Espion ferme(400, 300);
  f.remplissage->DessineObjet(ferme);
  ASSERT_EQ(ferme.Lignes("Polygon").size(), 1u);
  EXPECT_NE(ferme.Lignes("Polygon")[0].find("b=00FF00"), std::string::npos) << ferme.Lignes("Polygon")[0];
  for (const auto& l : ferme.Lignes("LineTo")) EXPECT_NE(l.find("c=111111"), std::string::npos) << l;
}

TEST_F(Remplissage, UneErreurEstNoteeUneFoisPourLaFinDuDessin) {
  // A fill whose second line is missing: the closing test and the drawing
  // fail without raising, and the fill's number is noted once for the
  // report after the paint.
  TCalque calque;
  TObjetTrait style;
  auto l = std::make_unique<TDessinLigne>(&style);
  l->AjoutePoint({0, 0});
  l->AjoutePoint({1000, 1000});
  auto* ligne = static_cast<TDessinLigne*>(calque.AjouteObjet(std::move(l)));
  auto* r = static_cast<TDessinRemplissage*>(calque.AjouteObjet(std::make_unique<TDessinRemplissage>(&style)));
  r->ListeLignes = {ligne, nullptr};
  Affichage().ObjetsEnErreur.clear();
  platform::TextLogCanvas canvas(400, 300);
  calque.DessineCalque(canvas);
  EXPECT_FALSE(r->FermeOK);
  EXPECT_EQ(Affichage().ObjetsEnErreur, (std::vector<int32_t>{r->NoObjet}));
  // The lines after the fill are still drawn.
  EXPECT_TRUE(ligne->EstAffiche);
  // The missing line is a result of the joining step, not an exception.
  EXPECT_TRUE(r->LigneManquante());
  EXPECT_FALSE(r->ConnecteLignes());
  EXPECT_TRUE(r->LignesTracees.empty());
}

// Counts the points of each polygon drawn.
class CompteurPolygones : public platform::TextLogCanvas {
 public:
  using platform::TextLogCanvas::TextLogCanvas;
  void Polygon(std::span<const platform::Point> points) override { tailles.push_back(points.size()); }
  std::vector<size_t> tailles;
};

TEST_F(Remplissage, ToutLeContourEstDessineAuDelaDe100001Points) {
  // A lens whose arch has 120,000 points.
  Ligne arche;
  for (int i = 0; i <= 120000; ++i) {
    const double t = i / 120000.0;
    arche.push_back({static_cast<int32_t>(t * 240000), static_cast<int32_t>(100000 * std::sin(M_PI * t))});
  }
  Montage m({arche, {{-1000, 20000}, {241000, 20000}}});
  ASSERT_TRUE(m.Ferme());
  const size_t n = m.remplissage->LigneDessinee->PointsList.size();
  ASSERT_GT(n, 100001u);
  CompteurPolygones canvas(400, 300);
  m.remplissage->DessineObjet(canvas);
  EXPECT_EQ(canvas.tailles, (std::vector<size_t>{n}));
}

}  // namespace
