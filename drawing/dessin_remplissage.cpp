#include "drawing/dessin_remplissage.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <tuple>
#include <unordered_map>

#include "drawing/style_canvas.h"
#include "foundation/arrondi.h"
#include "foundation/point_topo.h"
#include "foundation/utilitaires.h"

namespace drawing {

using foundation::TPoint;

namespace {

// Same point, segment overlap, merge of crossings; ends touching.
constexpr double ToleranceCommune = 10;
constexpr double ToleranceBouts = 30;
// The cycle search's step budget: a search that closes visits each crossing
// a few times; past the budget the search is exploring a tangle.
constexpr int64_t PasMinimum = 100'000;
constexpr int64_t PasParCroisement = 100;

int64_t Carre(int64_t v) { return v * v; }
int64_t Distance2(const TPoint& a, const TPoint& b) {
  return Carre(int64_t{a.X} - b.X) + Carre(int64_t{a.Y} - b.Y);
}
double Distance(const TPoint& a, const TPoint& b) {
  return std::hypot(static_cast<double>(a.X) - b.X, static_cast<double>(a.Y) - b.Y);
}

foundation::TPointTopo PtTopo(const TPoint& p) {
  foundation::TPointTopo r;
  r.X = r.SlH = p.X;
  r.Y = r.Z = p.Y;
  return r;
}

// A closed rectangle in drawing units.
struct Boite {
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  Boite Gonflee(double m) const { return {x0 - m, y0 - m, x1 + m, y1 + m}; }
};
bool Chevauchent(const Boite& a, const Boite& b) {
  return a.x0 <= b.x1 && b.x0 <= a.x1 && a.y0 <= b.y1 && b.y0 <= a.y1;
}
Boite BoitePoint(const TPoint& p) { return {double(p.X), double(p.Y), double(p.X), double(p.Y)}; }

// A grid of boxes: each item is listed in the cells its box covers (items
// covering too many cells are kept aside and tested at every search).  A
// search calls back each item whose box meets the searched box, once.
class GrilleBoites {
 public:
  explicit GrilleBoites(double cellule) : cellule_(std::max(cellule, 1.0)) {}

  void Ajoute(int id, const Boite& b) {
    if (static_cast<size_t>(id) >= boites_.size()) {
      boites_.resize(static_cast<size_t>(id) + 1);
      marques_.resize(static_cast<size_t>(id) + 1, 0);
    }
    boites_[static_cast<size_t>(id)] = b;
    ids_.push_back(id);
    const Plage p = PlageDe(b);
    if (p.Nombre() > MaxCellulesItem) {
      grands_.push_back(id);
      return;
    }
    for (int64_t cx = p.cx0; cx <= p.cx1; ++cx)
      for (int64_t cy = p.cy0; cy <= p.cy1; ++cy) cellules_[Cle(cx, cy)].push_back(id);
  }

  template <class F>
  void Cherche(const Boite& b, F&& f) {
    const Plage p = PlageDe(b);
    if (p.Nombre() > MaxCellulesRecherche) {
      for (const int id : ids_)
        if (Chevauchent(boites_[static_cast<size_t>(id)], b)) f(id);
      return;
    }
    ++marque_;
    const auto teste = [&](int id) {
      int32_t& m = marques_[static_cast<size_t>(id)];
      if (m == marque_) return;
      m = marque_;
      if (Chevauchent(boites_[static_cast<size_t>(id)], b)) f(id);
    };
    for (int64_t cx = p.cx0; cx <= p.cx1; ++cx) {
      for (int64_t cy = p.cy0; cy <= p.cy1; ++cy) {
        const auto it = cellules_.find(Cle(cx, cy));
        if (it == cellules_.end()) continue;
        for (const int id : it->second) teste(id);
      }
    }
    for (const int id : grands_) teste(id);
  }

 private:
  static constexpr int64_t MaxCellulesItem = 256;
  static constexpr int64_t MaxCellulesRecherche = 4096;
  struct Plage {
    int64_t cx0, cy0, cx1, cy1;
    int64_t Nombre() const { return (cx1 - cx0 + 1) * (cy1 - cy0 + 1); }
  };
  Plage PlageDe(const Boite& b) const {
    const auto c = [this](double v) {
      return static_cast<int64_t>(std::floor(std::clamp(v, -4e15, 4e15) / cellule_));
    };
    return {c(b.x0), c(b.y0), c(b.x1), c(b.y1)};
  }
  static uint64_t Cle(int64_t cx, int64_t cy) {
    return (static_cast<uint64_t>(cx) * 0x9E3779B97F4A7C15ULL) ^ static_cast<uint64_t>(cy);
  }
  double cellule_;
  std::unordered_map<uint64_t, std::vector<int>> cellules_;
  std::vector<Boite> boites_;
  std::vector<int32_t> marques_;
  std::vector<int> ids_, grands_;
  int32_t marque_ = 0;
};

// The index of a curve's point nearest a position (the first on ties): a
// linear scan for short curves, a grid searched in growing squares for long
// ones.
class PlusProche {
 public:
  explicit PlusProche(const std::vector<TPoint>& courbe) : courbe_(courbe) {
    if (courbe.size() <= 64) return;
    Boite e = BoitePoint(courbe[0]);
    for (const TPoint& p : courbe) {
      e.x0 = std::min<double>(e.x0, p.X);
      e.y0 = std::min<double>(e.y0, p.Y);
      e.x1 = std::max<double>(e.x1, p.X);
      e.y1 = std::max<double>(e.y1, p.Y);
    }
    etendue_ = std::max(e.x1 - e.x0, e.y1 - e.y0);
    pas_ = std::max(16.0, etendue_ / std::sqrt(static_cast<double>(courbe.size())));
    grille_ = std::make_unique<GrilleBoites>(pas_);
    for (size_t i = 0; i < courbe.size(); ++i) grille_->Ajoute(static_cast<int>(i), BoitePoint(courbe[i]));
  }

  int32_t Cherche(const TPoint& P) const {
    if (!grille_) return Lineaire(P);
    for (double r = pas_;; r *= 4) {
      int meilleur = -1;
      int64_t dMin = 0;
      grille_->Cherche(BoitePoint(P).Gonflee(r), [&](int id) {
        const int64_t d = Distance2(courbe_[static_cast<size_t>(id)], P);
        if (meilleur < 0 || d < dMin || (d == dMin && id < meilleur)) {
          meilleur = id;
          dMin = d;
        }
      });
      if (meilleur >= 0 && static_cast<double>(dMin) <= r * r) return meilleur;
      if (r > 4 * etendue_ + 4 * pas_) return Lineaire(P);
    }
  }

  int32_t Lineaire(const TPoint& P) const {
    int32_t meilleur = -1;
    int64_t dMin = 0;
    for (size_t i = 0; i < courbe_.size(); ++i) {
      const int64_t d = Distance2(courbe_[i], P);
      if (meilleur < 0 || d < dMin) {
        meilleur = static_cast<int32_t>(i);
        dMin = d;
      }
    }
    return meilleur;
  }

 private:
  const std::vector<TPoint>& courbe_;
  std::unique_ptr<GrilleBoites> grille_;
  double pas_ = 16, etendue_ = 0;
};

// A chunk of a working line's curve: points a to b.
struct Troncon {
  int ligne;
  int32_t a, b;
  Boite boite;   // of its points
  double marge;  // beyond which no crossing with it can be found
};

// The segment crossing test of segments PQ and RS: the intersection of the
// two lines, counted when it lies within 10 units of overlap of both.
bool CroisementSegments(const TPoint& P, const TPoint& Q, const TPoint& R, const TPoint& S, TPoint& I) {
  foundation::TPointTopo X;
  foundation::IntersectionDroites(PtTopo(P), PtTopo(Q), PtTopo(R), PtTopo(S), X);
  if (X.SlH != 1 || !std::isfinite(X.X) || !std::isfinite(X.Y)) return false;
  const auto d = [&](const TPoint& A) { return std::hypot(A.X - X.X, A.Y - X.Y); };
  if (d(P) + d(Q) > Distance(P, Q) + ToleranceCommune) return false;
  if (d(R) + d(S) > Distance(R, S) + ToleranceCommune) return false;
  I = {foundation::Arrondi(X.X), foundation::Arrondi(X.Y)};
  return true;
}

// Step of the chunks of a working line.
int32_t PasLigne(const TLigneTracee& l) { return l.Lissee && l.Courbe.size() > 10 ? 10 : 1; }

// Curve ends closer than 30 units.
bool BoutsTouchent(const TPoint& a, const TPoint& b) { return Distance2(a, b) < ToleranceBouts * ToleranceBouts; }

// One working line from two whose curve ends touch, tested in this order:
// start of i near start of j (i reversed, then j without its first point),
// start of i near end of j (i reversed, then j reversed without its last
// point), start of j near end of i (j reversed, then i reversed without its
// last point), end of i near end of j (i, then j reversed without its last
// point).  Points and curve points alike.  The new line is smoothed when i is.
std::unique_ptr<TLigneTracee> CreeLigneConnectee(const TLigneTracee& li, const TLigneTracee& lj) {
  auto nouvelle = std::make_unique<TLigneTracee>();
  nouvelle->Lissee = li.Lissee;
  const auto ajoute = [&](const TLigneTracee& l, bool inverse, bool sansPremier, bool sansDernier) {
    const auto copie = [&](const std::vector<TPoint>& source, std::vector<TPoint>& cible) {
      std::vector<TPoint> v = source;
      if (sansPremier && !v.empty()) v.erase(v.begin());
      if (sansDernier && !v.empty()) v.pop_back();
      if (inverse) std::reverse(v.begin(), v.end());
      cible.insert(cible.end(), v.begin(), v.end());
    };
    copie(l.Points, nouvelle->Points);
    copie(l.Courbe, nouvelle->Courbe);
  };
  if (BoutsTouchent(li.Courbe.front(), lj.Courbe.front())) {
    ajoute(li, true, false, false);
    ajoute(lj, false, true, false);
  } else if (BoutsTouchent(li.Courbe.front(), lj.Courbe.back())) {
    ajoute(li, true, false, false);
    ajoute(lj, true, false, true);
  } else if (BoutsTouchent(lj.Courbe.front(), li.Courbe.back())) {
    ajoute(lj, true, false, false);
    ajoute(li, true, false, true);
  } else {
    ajoute(li, false, false, false);
    ajoute(lj, true, false, true);
  }
  return nouvelle;
}

// A point of a line of the first line of a pair closer than 10 units to a
// point of the second: an exact crossing there.
struct Connexion {
  int l1, l2;
  int32_t p;
};

// The shared points of every pair of lines (i, j), i < j, in the order of
// the documented loops: for each point of i, the later lines with a point
// closer than 10 units (a point's crossing is at its own position, so one
// such point of j is enough).  Repeated positions of a line count once in
// the grid.
std::vector<Connexion> CreeConnectionsPoints(const std::vector<TLigneTracee*>& lignes) {
  const int n = static_cast<int>(lignes.size());
  std::vector<Connexion> connexions;
  struct PointLigne {
    int ligne;
    TPoint p;
  };
  std::vector<PointLigne> points;
  for (int k = 0; k < n; ++k)
    for (const TPoint& p : lignes[static_cast<size_t>(k)]->Points) points.push_back({k, p});
  std::sort(points.begin(), points.end(), [](const PointLigne& a, const PointLigne& b) {
    return std::tie(a.ligne, a.p.X, a.p.Y) < std::tie(b.ligne, b.p.X, b.p.Y);
  });
  points.erase(std::unique(points.begin(), points.end(),
                           [](const PointLigne& a, const PointLigne& b) { return a.ligne == b.ligne && a.p == b.p; }),
               points.end());
  GrilleBoites grille(ToleranceCommune);
  for (size_t i = 0; i < points.size(); ++i) grille.Ajoute(static_cast<int>(i), BoitePoint(points[i].p));
  std::vector<int> voisines;
  for (int k = 0; k < n; ++k) {
    const std::vector<TPoint>& pts = lignes[static_cast<size_t>(k)]->Points;
    for (size_t p = 0; p < pts.size(); ++p) {
      if (p == 0 || pts[p] != pts[p - 1]) {
        voisines.clear();
        grille.Cherche(BoitePoint(pts[p]).Gonflee(ToleranceCommune), [&](int id) {
          const PointLigne& q = points[static_cast<size_t>(id)];
          if (q.ligne > k && Distance2(q.p, pts[p]) < ToleranceCommune * ToleranceCommune)
            voisines.push_back(q.ligne);
        });
        std::sort(voisines.begin(), voisines.end());
        voisines.erase(std::unique(voisines.begin(), voisines.end()), voisines.end());
      }
      for (const int k2 : voisines) connexions.push_back({k, k2, static_cast<int32_t>(p)});
    }
  }
  std::sort(connexions.begin(), connexions.end(), [](const Connexion& a, const Connexion& b) {
    return std::tie(a.l1, a.l2, a.p) < std::tie(b.l1, b.l2, b.p);
  });
  return connexions;
}

}  // namespace

// The crossings already made, by pair of lines and cell of 10 units, for the
// merge of crossings closer than 10 units.
struct IndexCroisements {
  struct Cle {
    const TLigneTracee* l1;
    const TLigneTracee* l2;
    int64_t cx, cy;
    bool operator==(const Cle&) const = default;
  };
  struct Hache {
    size_t operator()(const Cle& c) const {
      size_t h = std::hash<const void*>()(c.l1);
      h = h * 31 + std::hash<const void*>()(c.l2);
      h = h * 0x9E3779B97F4A7C15ULL + static_cast<size_t>(c.cx);
      return h * 1000003 + static_cast<size_t>(c.cy);
    }
  };
  std::unordered_map<Cle, std::vector<const TIntersect*>, Hache> cellules;
  static int64_t Cellule(int32_t v) { return static_cast<int64_t>(std::floor(v / ToleranceCommune)); }
};

// --- TIntersect -------------------------------------------------------------------

int32_t TIntersect::IndiceEncadre(const TLigneTracee& ligne) const { return PlusProche(ligne.Courbe).Lineaire(Point); }

// --- TDessinRemplissage ------------------------------------------------------------

TDessinRemplissage::TDessinRemplissage(const TDefObjetTrait* VMotif, foundation::TObjetDeListe* UnObjet)
    : TDessinBasique(VMotif, UnObjet) {
  if (VMotif != nullptr) TraitTmp.CopieMotif(*VMotif);
  TraitTmp.TraitLisse = false;
  LigneDessinee = std::make_unique<TDessinFerme>(&TraitTmp);
}

TDessinRemplissage::~TDessinRemplissage() = default;

bool TDessinRemplissage::EstEffacable() const {
  return std::any_of(ListeLignes.begin(), ListeLignes.end(), [this](const TDessinLigne* l) { return ACree(l); });
}

TDessinLigne* TDessinRemplissage::DerLigneCree() const {
  for (auto it = ListeLignes.rbegin(); it != ListeLignes.rend(); ++it)
    if (ACree(*it)) return *it;
  return nullptr;
}

void TDessinRemplissage::ChangeMotif(const TDefObjetTrait* nvMotif) {
  ObjetMotif = nvMotif;
  if (nvMotif != nullptr) TraitTmp.CopieMotif(*nvMotif);
  TraitTmp.TraitLisse = false;
}

bool TDessinRemplissage::BordureSelectee() const {
  return std::any_of(ListeLignes.begin(), ListeLignes.end(),
                     [](const TDessinLigne* l) { return l != nullptr && l->Selecte; });
}

bool TDessinRemplissage::TestEstFerme() {
  BudgetEpuise = false;
  index_ = std::make_unique<IndexCroisements>();
  LignesTracees.clear();
  Intersections.clear();
  if (DessinEnCours && ListeLignes.size() > 1) FermeOK = true;
  if (ListeLignes.size() > 1 && (ListeLignes.back() == nullptr || ListeLignes.back()->NombrePoints() > 1) &&
      !ConnecteLignes())
    NoteEnErreur();
  bool ferme = LignesTracees.size() > 1;
  if (ferme) {
    CreeToutesIntersections();
    std::unordered_map<const TLigneTracee*, int> nombre;
    for (const auto& x : Intersections) {
      ++nombre[x->Ligne1];
      ++nombre[x->Ligne2];
    }
    for (const auto& l : LignesTracees) ferme = ferme && nombre[l.get()] >= 2;
  }
  if (ferme) {
    PrepareParcours();
    pasRestants_ = PasMinimum + PasParCroisement * static_cast<int64_t>(Intersections.size());
    ferme = false;
    for (const auto& l : LignesTracees) {
      for (const auto& x : Intersections) {
        x->Utilisee = false;
        x->Rang = -1;
      }
      if (ClasseIntersections(l.get())) {
        ferme = true;
        break;
      }
      if (BudgetEpuise) break;
    }
  }
  if (ferme) CreeLigneDessinee();
  FermeOK = ferme;
  if (!GardeListesTravail) {
    LignesTracees.clear();
    Intersections.clear();
    parcours_.clear();
    index_.reset();
  }
  return ferme;
}

bool TDessinRemplissage::LigneManquante() const {
  return std::find(ListeLignes.begin(), ListeLignes.end(), nullptr) != ListeLignes.end();
}

void TDessinRemplissage::NoteEnErreur() const {
  auto& erreurs = Affichage().ObjetsEnErreur;
  if (std::find(erreurs.begin(), erreurs.end(), NoObjet) == erreurs.end()) erreurs.push_back(NoObjet);
}

bool TDessinRemplissage::ConnecteLignes() {
  LignesTracees.clear();
  if (LigneManquante()) return false;
  const auto copies = [this] {
    LignesTracees.clear();
    for (size_t i = 0; i < ListeLignes.size(); ++i) {
      TDessinLigne* l = ListeLignes[i];
      auto t = std::make_unique<TLigneTracee>();
      l->MajCourbeBezier();
      for (const TPointDeBase& p : l->PointsList) t->Points.push_back(p.PointLoc());
      for (const TPointDeBase& p : l->CourbeBezier) t->Courbe.push_back(p.PointLoc());
      t->Lissee = l->EstLissee();
      t->Origine = static_cast<int>(i);
      LignesTracees.push_back(std::move(t));
    }
  };
  copies();

  // Every line ever made, in list order (a joined line goes to the end, the
  // two it replaces leave), with the grid of their curve ends.
  std::vector<std::unique_ptr<TLigneTracee>> toutes;
  for (const auto& l : LignesTracees) toutes.push_back(std::make_unique<TLigneTracee>(*l));
  std::vector<bool> vivante(toutes.size(), true);
  GrilleBoites bouts(ToleranceBouts);
  const auto ajouteBouts = [&](size_t i) {
    const TLigneTracee& l = *toutes[i];
    if (l.Courbe.empty()) return;
    bouts.Ajoute(static_cast<int>(2 * i), BoitePoint(l.Courbe.front()));
    bouts.Ajoute(static_cast<int>(2 * i + 1), BoitePoint(l.Courbe.back()));
  };
  for (size_t i = 0; i < toutes.size(); ++i) ajouteBouts(i);
  // A join can only remove ends: a line found touching nothing stays so, and
  // the first touching pair of the list is found by one pass in list order.
  bool joint = false;
  for (size_t i = 0; i < toutes.size(); ++i) {
    if (!vivante[i] || toutes[i]->Courbe.empty()) continue;
    const TLigneTracee& li = *toutes[i];
    size_t j = toutes.size();
    for (const TPoint& bout : {li.Courbe.front(), li.Courbe.back()}) {
      bouts.Cherche(BoitePoint(bout).Gonflee(ToleranceBouts), [&](int id) {
        const auto k = static_cast<size_t>(id / 2);
        if (k == i || !vivante[k] || k >= j) return;
        const TLigneTracee& lk = *toutes[k];
        if (BoutsTouchent(bout, id % 2 == 0 ? lk.Courbe.front() : lk.Courbe.back())) j = k;
      });
    }
    if (j == toutes.size()) continue;
    const TLigneTracee& lj = *toutes[j];
    auto nouvelle = CreeLigneConnectee(li, lj);
    vivante[i] = vivante[j] = false;
    toutes.push_back(std::move(nouvelle));
    vivante.push_back(true);
    ajouteBouts(toutes.size() - 1);
    joint = true;
  }
  if (!joint) return true;
  LignesTracees.clear();
  for (size_t i = 0; i < toutes.size(); ++i)
    if (vivante[i]) LignesTracees.push_back(std::move(toutes[i]));
  // A single chain gives no crossings: the separate lines are used instead.
  if (LignesTracees.size() == 1) copies();
  return true;
}

TIntersect* TDessinRemplissage::AjouteUneIntersection(TLigneTracee* Ligne1, TLigneTracee* Ligne2, int32_t j,
                                                      int32_t i, const TPoint& Pt) {
  if (!index_) index_ = std::make_unique<IndexCroisements>();
  const int64_t cx = IndexCroisements::Cellule(Pt.X), cy = IndexCroisements::Cellule(Pt.Y);
  for (int64_t x = cx - 1; x <= cx + 1; ++x) {
    for (int64_t y = cy - 1; y <= cy + 1; ++y) {
      const auto it = index_->cellules.find({Ligne1, Ligne2, x, y});
      if (it == index_->cellules.end()) continue;
      for (const TIntersect* autre : it->second)
        if (Distance2(autre->Point, Pt) <= ToleranceCommune * ToleranceCommune) return nullptr;
    }
  }
  auto x = std::make_unique<TIntersect>();
  x->Point = Pt;
  x->Ligne1 = Ligne1;
  x->Ligne2 = Ligne2;
  x->iBez1 = i;
  x->iBez2 = j;
  x->Exacte = i == -1;
  index_->cellules[{Ligne1, Ligne2, cx, cy}].push_back(x.get());
  Intersections.push_back(std::move(x));
  return Intersections.back().get();
}

void TDessinRemplissage::CreeToutesIntersections() {
  std::vector<TLigneTracee*> lignes;
  for (const auto& l : LignesTracees) lignes.push_back(l.get());
  CherchePaires(lignes);
}

void TDessinRemplissage::CreeIntersect(TLigneTracee* Ligne1, TLigneTracee* Ligne2) {
  CherchePaires({Ligne1, Ligne2});
}

void TDessinRemplissage::CherchePaires(const std::vector<TLigneTracee*>& lignes) {
  const std::vector<Connexion> connexions = CreeConnectionsPoints(lignes);
  const int n = static_cast<int>(lignes.size());

  // Chunks of every curve; pairs of chunks of two lines that can give a
  // crossing.
  std::vector<Troncon> troncons;
  std::vector<int32_t> pas(static_cast<size_t>(n));
  for (int k = 0; k < n; ++k) {
    const TLigneTracee& l = *lignes[static_cast<size_t>(k)];
    const int32_t s = PasLigne(l);
    pas[static_cast<size_t>(k)] = s;
    const auto dernier = static_cast<int32_t>(l.Courbe.size()) - 1;
    for (int32_t a = 0; a < dernier; a += s) {
      const int32_t b = std::min(a + s, dernier);
      Boite boite = BoitePoint(l.Courbe[static_cast<size_t>(a)]);
      for (int32_t i = a + 1; i <= b; ++i) {
        const TPoint& p = l.Courbe[static_cast<size_t>(i)];
        boite.x0 = std::min<double>(boite.x0, p.X);
        boite.y0 = std::min<double>(boite.y0, p.Y);
        boite.x1 = std::max<double>(boite.x1, p.X);
        boite.y1 = std::max<double>(boite.y1, p.Y);
      }
      // A single segment gives crossings only within the ellipse of its
      // overlap tolerance: sqrt(5 L + 25) across for a length L.
      double marge = ToleranceCommune;
      if (b - a == 1) {
        const double L = Distance(l.Courbe[static_cast<size_t>(a)], l.Courbe[static_cast<size_t>(b)]);
        marge = std::max(marge, std::sqrt(5 * L + 25) + 1);
      }
      troncons.push_back({k, a, b, boite, marge});
    }
  }
  struct PaireTroncons {
    int l1, l2;
    int32_t a, d;
    int t1, t2;
  };
  std::vector<PaireTroncons> paires;
  if (!troncons.empty()) {
    std::vector<double> tailles;
    tailles.reserve(troncons.size());
    for (const Troncon& t : troncons)
      tailles.push_back(std::max(t.boite.x1 - t.boite.x0, t.boite.y1 - t.boite.y0) + 2 * t.marge);
    std::nth_element(tailles.begin(), tailles.begin() + static_cast<std::ptrdiff_t>(tailles.size() / 2), tailles.end());
    GrilleBoites grille(std::max(32.0, tailles[tailles.size() / 2]));
    for (size_t i = 0; i < troncons.size(); ++i)
      grille.Ajoute(static_cast<int>(i), troncons[i].boite.Gonflee(troncons[i].marge));
    for (size_t i = 0; i < troncons.size(); ++i) {
      const Troncon& t1 = troncons[i];
      grille.Cherche(t1.boite.Gonflee(t1.marge), [&](int id) {
        const Troncon& t2 = troncons[static_cast<size_t>(id)];
        if (t2.ligne <= t1.ligne) return;
        const bool segments = t1.b - t1.a == 1 && t2.b - t2.a == 1;
        if (!segments && !Chevauchent(t1.boite.Gonflee(ToleranceCommune), t2.boite.Gonflee(ToleranceCommune))) return;
        paires.push_back({t1.ligne, t2.ligne, t1.a, t2.a, static_cast<int>(i), id});
      });
    }
    std::sort(paires.begin(), paires.end(), [](const PaireTroncons& x, const PaireTroncons& y) {
      return std::tie(x.l1, x.l2, x.a, x.d) < std::tie(y.l1, y.l2, y.a, y.d);
    });
  }

  // Each pair of lines in order: the shared points, then the chunk pairs.
  size_t ic = 0, ip = 0;
  std::vector<std::unique_ptr<PlusProche>> proches(static_cast<size_t>(n));
  const auto plusProche = [&](int k, const TPoint& P) {
    auto& pp = proches[static_cast<size_t>(k)];
    if (!pp) pp = std::make_unique<PlusProche>(lignes[static_cast<size_t>(k)]->Courbe);
    return pp->Cherche(P);
  };
  while (ic < connexions.size() || ip < paires.size()) {
    int l1, l2;
    if (ip >= paires.size() || (ic < connexions.size() && std::tie(connexions[ic].l1, connexions[ic].l2) <=
                                                              std::tie(paires[ip].l1, paires[ip].l2))) {
      l1 = connexions[ic].l1;
      l2 = connexions[ic].l2;
    } else {
      l1 = paires[ip].l1;
      l2 = paires[ip].l2;
    }
    TLigneTracee* L1 = lignes[static_cast<size_t>(l1)];
    TLigneTracee* L2 = lignes[static_cast<size_t>(l2)];
    for (; ic < connexions.size() && connexions[ic].l1 == l1 && connexions[ic].l2 == l2; ++ic) {
      const TPoint P = L1->Points[static_cast<size_t>(connexions[ic].p)];
      if (TIntersect* x = AjouteUneIntersection(L1, L2, -1, -1, P)) {
        x->iBez1 = plusProche(l1, P);
        x->iBez2 = plusProche(l2, P);
      }
    }
    const std::vector<TPoint>& C1 = L1->Courbe;
    const std::vector<TPoint>& C2 = L2->Courbe;
    const int32_t s1 = pas[static_cast<size_t>(l1)], s2 = pas[static_cast<size_t>(l2)];
    const auto dernier1 = static_cast<int32_t>(C1.size()) - 1, dernier2 = static_cast<int32_t>(C2.size()) - 1;
    const auto segments = [&](int32_t u, int32_t v) {
      TPoint I;
      if (CroisementSegments(C1[static_cast<size_t>(u)], C1[static_cast<size_t>(u) + 1], C2[static_cast<size_t>(v)],
                             C2[static_cast<size_t>(v) + 1], I))
        AjouteUneIntersection(L1, L2, v, u, I);
    };
    for (; ip < paires.size() && paires[ip].l1 == l1 && paires[ip].l2 == l2; ++ip) {
      const Troncon& t1 = troncons[static_cast<size_t>(paires[ip].t1)];
      const Troncon& t2 = troncons[static_cast<size_t>(paires[ip].t2)];
      const int32_t a = t1.a, b = t1.b, d = t2.a, e = t2.b;
      if (b - a == 1 && e - d == 1) {
        segments(a, d);
        continue;
      }
      const TPoint& pa = C1[static_cast<size_t>(a)];
      const TPoint& pb = C1[static_cast<size_t>(b)];
      const TPoint& qd = C2[static_cast<size_t>(d)];
      const TPoint& qe = C2[static_cast<size_t>(e)];
      constexpr double t2max = ToleranceCommune * ToleranceCommune;
      if (Distance2(qd, pa) <= t2max || Distance2(qe, pa) <= t2max)
        AjouteUneIntersection(L1, L2, d, a, pa);
      else if (Distance2(qd, pb) <= t2max || Distance2(qe, pb) <= t2max)
        AjouteUneIntersection(L1, L2, e, b, pb);
      const int32_t u1 = std::min(b + s1, dernier1 - 1), v1 = std::min(e + s2, dernier2 - 1);
      for (int32_t u = std::max(0, a - s1); u <= u1; ++u)
        for (int32_t v = std::max(0, d - s2); v <= v1; ++v) segments(u, v);
    }
  }
}

int TDessinRemplissage::IndexLigne(const TLigneTracee* l) const {
  if (l != nullptr && l->Position >= 0 && static_cast<size_t>(l->Position) < LignesTracees.size() &&
      LignesTracees[static_cast<size_t>(l->Position)].get() == l)
    return l->Position;
  for (size_t i = 0; i < LignesTracees.size(); ++i)
    if (LignesTracees[i].get() == l) return static_cast<int>(i);
  return -1;
}

void TDessinRemplissage::PrepareParcours() {
  parcours_.assign(LignesTracees.size(), {});
  for (size_t i = 0; i < LignesTracees.size(); ++i) LignesTracees[i]->Position = static_cast<int>(i);
  for (const auto& x : Intersections) {
    const int k1 = IndexLigne(x->Ligne1), k2 = IndexLigne(x->Ligne2);
    // Crossings are made between working lines only: anything else is a
    // fault of this code, not of the drawing.
    if (k1 < 0 || k2 < 0) throw std::logic_error("croisement hors des lignes de travail");
    parcours_[static_cast<size_t>(k1)].push_back(x.get());
    parcours_[static_cast<size_t>(k2)].push_back(x.get());
  }
  for (size_t k = 0; k < parcours_.size(); ++k) {
    const TLigneTracee* l = LignesTracees[k].get();
    struct Cle {
      int32_t i;
      double d;
    };
    std::vector<std::pair<Cle, TIntersect*>> v;
    v.reserve(parcours_[k].size());
    for (TIntersect* x : parcours_[k]) {
      const int32_t i = x->IndiceSur(l);
      const double d = i >= 0 && static_cast<size_t>(i) < l->Courbe.size()
                           ? Distance(l->Courbe[static_cast<size_t>(i)], x->Point)
                           : 0;
      v.push_back({{i, d}, x});
    }
    std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) {
      return a.first.i != b.first.i ? a.first.i < b.first.i : a.first.d < b.first.d;
    });
    for (size_t p = 0; p < v.size(); ++p) {
      TIntersect* x = v[p].second;
      parcours_[k][p] = x;
      x->iDeb = v[p].first.i;
      x->DIdeb = v[p].first.d;
      (x->Ligne1 == l ? x->Pos1 : x->Pos2) = static_cast<int32_t>(p);
    }
  }
}

bool TDessinRemplissage::ClasseIntersections(TLigneTracee* LigneTr) {
  if (parcours_.size() != LignesTracees.size()) PrepareParcours();
  const int k0 = IndexLigne(LigneTr);
  if (k0 < 0 || parcours_[static_cast<size_t>(k0)].empty()) return false;
  TIntersect* debut = parcours_[static_cast<size_t>(k0)][0];
  // One frame per crossing on the walk: the line walked from it, its place
  // in that line's order, the neighbours tried so far.
  struct Cadre {
    TIntersect* inter;
    int ligne;
    int32_t pos;
    int essai;
    TIntersect* voisin;
  };
  std::vector<Cadre> pile;
  debut->Utilisee = true;
  pile.push_back({debut, k0, 0, 0, nullptr});
  bool retour = false, reussi = false;
  while (!pile.empty()) {
    Cadre& c = pile.back();
    if (retour) {
      retour = false;
      if (reussi) {
        c.inter->Rang = c.voisin->Rang + 1;
        pile.pop_back();
        retour = true;
        continue;
      }
    }
    const std::vector<TIntersect*>& liste = parcours_[static_cast<size_t>(c.ligne)];
    const auto dernier = static_cast<int32_t>(liste.size()) - 1;
    // The previous neighbour first, then the next one; the first of the
    // list tries the next, the last the previous.
    int32_t candidat = -1;
    if (c.pos > 0 && c.pos < dernier)
      candidat = c.essai == 0 ? c.pos - 1 : c.essai == 1 ? c.pos + 1 : -1;
    else if (c.pos == 0)
      candidat = c.essai == 0 && dernier >= 1 ? 1 : -1;
    else
      candidat = c.essai == 0 ? c.pos - 1 : -1;
    if (candidat < 0) {
      c.inter->Utilisee = false;
      pile.pop_back();
      retour = true;
      reussi = false;
      continue;
    }
    ++c.essai;
    if (--pasRestants_ < 0) {
      BudgetEpuise = true;
      return false;
    }
    TIntersect* v = liste[static_cast<size_t>(candidat)];
    c.voisin = v;
    if (v->Utilisee) {
      reussi = v == debut;
      if (reussi) v->Rang = 0;
      retour = true;
      continue;
    }
    const TLigneTracee* ligne = LignesTracees[static_cast<size_t>(c.ligne)].get();
    TLigneTracee* autre = v->AutreLigne(ligne);
    const int ka = IndexLigne(autre);
    if (ka < 0) throw std::logic_error("croisement hors des lignes de travail");
    v->Utilisee = true;
    pile.push_back({v, ka, autre == v->Ligne1 ? v->Pos1 : v->Pos2, 0, nullptr});
  }
  return reussi;
}

void TDessinRemplissage::CreeLigneDessinee() {
  TDessinFerme& contour = *LigneDessinee;
  contour.PointsList.clear();
  contour.EnvelRect = {};
  contour.EnveloppeModifiee = true;
  contour.CoeffEchelleDessin = CoeffEchelleDessin;
  std::vector<TIntersect*> cycle;
  for (const auto& x : Intersections)
    if (x->Rang >= 0) cycle.push_back(x.get());
  std::stable_sort(cycle.begin(), cycle.end(),
                   [](const TIntersect* a, const TIntersect* b) { return a->Rang < b->Rang; });
  const size_t m = cycle.size();
  if (m < 2) return;
  const auto memesLignes = [](const TIntersect* a, const TIntersect* b) {
    return (a->Ligne1 == b->Ligne1 && a->Ligne2 == b->Ligne2) || (a->Ligne1 == b->Ligne2 && a->Ligne2 == b->Ligne1);
  };
  size_t ia = 0;
  for (size_t k = 0; k < m; ++k) {
    if (memesLignes(cycle[k], cycle[(k + 1) % m])) {
      ia = k;
      break;
    }
  }
  const TIntersect* a = cycle[ia];
  const TIntersect* suivant = cycle[(ia + 1) % m];
  const TLigneTracee* ligne = suivant->EstSur(a->Ligne1) ? a->Ligne1 : a->Ligne2;
  for (size_t pas = 0; pas < m; ++pas) {
    const TIntersect* k = cycle[(ia + pas) % m];
    const TIntersect* b = cycle[(ia + pas + 1) % m];
    // The line walked is the current one when both crossings are on it,
    // otherwise the one they share.
    if (!(k->EstSur(ligne) && b->EstSur(ligne))) ligne = b->EstSur(k->Ligne1) ? k->Ligne1 : k->Ligne2;
    const std::vector<TPoint>& courbe = ligne->Courbe;
    if (courbe.size() > 2) {
      const int32_t ik = k->IndiceSur(ligne), ib = b->IndiceSur(ligne);
      const int32_t decale = k->Exacte ? 0 : 1;
      const auto dernier = static_cast<int32_t>(courbe.size()) - 1;
      const auto ajoute = [&](int32_t j) {
        if (j >= 0 && j <= dernier) contour.AjoutePoint(courbe[static_cast<size_t>(j)]);
      };
      if (ik <= ib) {
        for (int32_t j = ik + decale; j <= ib; ++j) ajoute(j);
      } else {
        for (int32_t j = ik; j >= ib + decale; --j) ajoute(j);
      }
    }
    contour.AjoutePoint(b->Point);
    ligne = b->AutreLigne(ligne);
  }
  contour.AjoutePoint(contour.PointsList.front().PointLoc());
}

void TDessinRemplissage::CalculeEnveloppe() {
  bool premiere = true;
  for (TDessinLigne* l : ListeLignes) {
    if (l == nullptr) continue;
    l->CalculeEnveloppe();
    if (premiere) {
      EnvelRect = l->EnvelRect;
      premiere = false;
    } else {
      foundation::TRect r;
      foundation::UnionRectY(EnvelRect, l->EnvelRect, r);
      EnvelRect = r;
    }
  }
}

void TDessinRemplissage::DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info) {
  TDessinBasique::DistanceObjet(XPt, YPt, info);
  double dMin = foundation::ValeurIndefiniePositive;
  for (TDessinLigne* l : ListeLignes) {
    if (l == nullptr || l->PointsList.empty()) continue;
    TInfoObjet i;
    l->DistanceObjet(XPt, YPt, i);
    dMin = std::min(dMin, i.D);
  }
  info.D = dMin;
  info.ObjetProche = this;
}

void TDessinRemplissage::CalculPointsVue() {
  for (TDessinLigne* l : ListeLignes)
    if (l != nullptr) l->CalculPointsVue();
}

void TDessinRemplissage::DessineCetObjet(platform::Canvas& canvas) {
  if (LigneManquante()) {
    NoteEnErreur();
    return;
  }
  try {
    if (DessinEnCours || !FermeOK) {
      GardeValeur<bool> rouge(Affichage().TraceEnRouge, true);
      for (TDessinLigne* l : ListeLignes)
        if (!l->DessinEnCours) l->DessineObjet(canvas);
    } else {
      // The outline is drawn with the canvas as the fill's style left it.
      LigneDessinee->Selecte = Selecte;
      LigneDessinee->CoeffEchelleDessin = CoeffEchelleDessin;
      LigneDessinee->DessineSurface(LigneDessinee->PointsList, canvas);
      for (TDessinLigne* l : ListeLignes) {
        if (l->EstVisible)
          l->DessineObjet(canvas);
        else
          l->EstAffiche = true;
      }
    }
    Affichage().DecalageVueX = 0;
    Affichage().DecalageVueY = 0;
    if (Selecte) {
      for (TDessinLigne* l : ListeLignes) {
        if (l->DessinEnCours) continue;
        l->Selecte = true;
        l->CalculPointsVue();
        l->DessineObjet(canvas);
        l->Selecte = false;
      }
    }
  } catch (const std::runtime_error&) {
    NoteEnErreur();
  }
}

// --- TDessinLigne: the fills a line bounds ------------------------------------------

void TDessinLigne::CreeListeRemplisProprio(const std::vector<std::unique_ptr<TObjetDessin>>& vObjetsDessines) {
  ListeRemplisProprio.clear();
  for (const auto& o : vObjetsDessines) {
    auto* r = dynamic_cast<TDessinRemplissage*>(o.get());
    if (r == nullptr) continue;
    if (std::find(r->ListeLignes.begin(), r->ListeLignes.end(), this) == r->ListeLignes.end()) continue;
    if (std::find(ListeRemplisProprio.begin(), ListeRemplisProprio.end(), r) == ListeRemplisProprio.end())
      ListeRemplisProprio.push_back(r);
  }
}

}  // namespace drawing
