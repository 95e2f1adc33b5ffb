#include "drawing/traceur_ligne.h"

#include <cmath>
#include <numbers>

#include "drawing/contexte_dessin.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"

namespace drawing {

using foundation::TPointTopo;

namespace {

constexpr std::array<ValeursTableMotif, 10> kTableEcran{{
    {10, 5, 0, 0},  // mpsDash
    {2, 5, 0, 0},   // mpsDot
    {2, 5, 0, 0},   // mpsDashDot
    {8, 0, 4, 3},   // mpsHachure
    {8, 0, 4, 3},   // mpsDemiHachure
    {10, 5, 5, 3},  // mpsTiretHachure
    {10, 5, 5, 3},  // mpsTirHachAlt
    {8, 0, 4, 4},   // mpsTriangle
    {8, 0, 4, 4},   // mpsTrianglePlein
    {4, 0, 2, 7},   // mpsHachurePente
}};
constexpr std::array<ValeursTableMotif, 10> kTableSvg{{
    {10, 5, 0, 0},
    {2, 5, 0, 0},
    {2, 5, 0, 0},
    {30, 0, 15, 20},
    {30, 0, 15, 20},
    {20, 10, 10, 10},
    {20, 10, 10, 10},
    {30, 0, 15, 20},
    {30, 0, 15, 20},
    {12, 0, 6, 20},
}};

const ValeursTableMotif& Ligne(uint8_t mode, MesPenStyle s) { return TableMotifs(mode)[static_cast<size_t>(s) - 1]; }

constexpr double kPeriodesMaxParSegment = 1e6;

bool EstTriangle(MesPenStyle s) { return s == MesPenStyle::mpsTriangle || s == MesPenStyle::mpsTrianglePlein; }
bool AvecCache(MesPenStyle s) { return s >= MesPenStyle::mpsDash && s <= MesPenStyle::mpsDashDot; }

}  // namespace

const std::array<ValeursTableMotif, 10>& TableMotifs(uint8_t mode) { return mode == 1 ? kTableSvg : kTableEcran; }

double TraceurLigne::Longueur(int32_t v, MesPenStyle style, double k, double r) const {
  if (mode_ == 1) {
    const int32_t fontes = foundation::Vue().EchelleFontes;
    double vv = fontes > 0 ? static_cast<double>(v) * fontes / 1000.0 : v;
    double l = vv * k / 10;
    if (style <= MesPenStyle::mpsTirHachAlt) l /= 2;
    return l / r;
  }
  const auto& imp = foundation::Impression();
  if (imp.EnImpression) return (v / 10.0) / imp.EchellePrn * imp.CoeffPrn * k / r;
  return (v / 10.0) * foundation::Vue().EchelleVue * k / r;
}

void TraceurLigne::Prepare(const StyleTrace& trait, MesPenStyle style, double longueur) {
  double k = 1;
  if (trait.EpaisseurPlume > 2) k = 1.6;
  if (trait.EpaisseurPlume > 4) k = 2;
  double r = 1;
  ValeursMotif& m = motif_;
  m.DecalagePoint = 0;
  const auto calcule = [&] {
    const ValeursTableMotif& v = Ligne(mode_, style);
    m.LongTrait = Longueur(v.Trait, trait.StylePlume, k, r);
    m.LongEspace = Longueur(v.Espace, trait.StylePlume, k, r);
    m.PosTic = Longueur(v.PosTic, trait.StylePlume, k, r);
    m.LongTic = Longueur(v.LongTic, trait.StylePlume, k, r);
    m.Periode = m.LongTrait + m.LongEspace;
  };
  calcule();
  // At least five periods in the line's extent.
  if (m.Periode > 0 && longueur > 0 && longueur / m.Periode < 5) {
    r = 5 / (longueur / m.Periode);
    calcule();
  }
  if (m.LongTic != 0 && m.LongTic > longueur / 10) m.LongTic = longueur / 10;
  if (style == MesPenStyle::mpsDashDot) {
    const ValeursTableMotif& tiret = Ligne(mode_, MesPenStyle::mpsDash);
    const ValeursTableMotif& point = Ligne(mode_, MesPenStyle::mpsDot);
    m.DecalagePoint = Longueur(tiret.Trait, trait.StylePlume, k, r) + Longueur(tiret.Espace, trait.StylePlume, k, r);
    m.Periode = m.DecalagePoint + Longueur(point.Trait, trait.StylePlume, k, r) +
                Longueur(point.Espace, trait.StylePlume, k, r);
  }
  if (AvecCache(style)) cache_[static_cast<size_t>(style)] = m;
}

bool TraceurLigne::CalculeMotifLigne(const StyleTrace& trait, double longueur) {
  mode_ = Affichage().ModeTraceur;
  const MesPenStyle style = trait.StylePlume;
  if (style == MesPenStyle::mpsSolid) {
    motif_ = {};
    return false;
  }
  Prepare(trait, style, longueur);
  // The dash-dot line also draws the dashes of mpsDash.
  if (style == MesPenStyle::mpsDashDot && motif_.Periode > 0) Prepare(trait, MesPenStyle::mpsDash, longueur);
  return motif_.Periode > 0;
}

void TraceurLigne::TraceLigneComplexe(const TPointTopo& P0, const TPointTopo& P1, CibleTrace& cible, bool dernier,
                                      const StyleTrace& trait, EtatLigneTrace& etat) {
  const double d = etat.Distance;
  const double dx = P1.X - P0.X;
  const double dy = P1.Y - P0.Y;
  const double E = d + std::hypot(dx, dy);
  const MesPenStyle style = trait.StylePlume;
  if (std::abs(etat.Alterne) != 1) etat.Alterne = 1;
  MesPenStyle s = style;
  if (s == MesPenStyle::mpsDashDot && etat.Alterne == 1) s = MesPenStyle::mpsDash;
  ValeursMotif m = motif_;
  if (AvecCache(style)) {
    m = cache_[static_cast<size_t>(s)];
    const ValeursMotif& propre = cache_[static_cast<size_t>(style)];
    m.Periode = propre.Periode;
    m.DecalagePoint = propre.DecalagePoint;
  }
  if (style == MesPenStyle::mpsSolid || !(m.Periode > 0) || !std::isfinite(m.Periode) || !std::isfinite(E)) {
    etat.Distance = E;
    return;
  }
  // A pattern millions of times finer than the segment (a degenerate scale)
  // is not walked period by period: the segment is drawn plain.
  if ((E - d) / m.Periode > kPeriodesMaxParSegment) {
    if (style != MesPenStyle::mpsHachurePente) cible.Trait(P0, P1);
    etat.Distance = E;
    return;
  }
  const bool hachure = style > MesPenStyle::mpsDashDot;
  const bool triangle = EstTriangle(style);
  const double theta = std::numbers::pi / 2 - std::atan2(dx, dy);
  const double ct = std::cos(theta);
  const double st = std::sin(theta);
  const auto point = [&](double t) { return foundation::PtTopoXY(P0.X + ct * (t - d), P0.Y + st * (t - d)); };
  double ticX = 0, ticY = 0;
  if (hachure) {
    // The SVG file's Y axis points the other way: its figures are turned by
    // half a turn so that they stand on the same side as on screen; the walk
    // itself keeps the segment's direction.
    const double angleTic = theta - std::numbers::pi / 2 + (mode_ == 1 ? std::numbers::pi : 0);
    ticX = std::cos(angleTic) * m.LongTic;
    ticY = std::sin(angleTic) * m.LongTic;
    if (style != MesPenStyle::mpsDemiHachure && style != MesPenStyle::mpsHachurePente) etat.Alterne = 1;
    if (d == 0) triangle_.clear();
  }
  double k = std::trunc(d / m.Periode);
  for (;;) {
    double debut = k * m.Periode;
    if (s == MesPenStyle::mpsDashDot) debut += m.DecalagePoint;
    const double finTrait = debut + m.LongTrait;
    const double finPeriode = finTrait + m.LongEspace;
    const double posTic = debut + m.PosTic;
    if (!std::isfinite(finPeriode)) break;
    if (finTrait > d && style != MesPenStyle::mpsHachurePente && !triangle) {
      const double a = std::max(debut, d);
      const double b = std::min(finTrait, E);
      if (b > a) cible.Trait(debut <= d ? P0 : point(debut), finTrait > E ? P1 : point(finTrait));
    }
    if (hachure && posTic >= d && posTic < E) {
      const TPointTopo T = point(posTic);
      const double cote = etat.Cote == 0 ? -1.0 : 1.0;
      if (triangle) {
        sommet_ = foundation::PtTopoXY(T.X + ticX * cote, T.Y + ticY * cote);
      } else {
        double fx = ticX * cote, fy = ticY * cote;
        if (etat.Alterne == -1) {
          const double div = style == MesPenStyle::mpsHachurePente ? 2.5 : 1.5;
          fx = ticX / div;
          fy = ticY / div;
        }
        cible.Trait(T, foundation::PtTopoXY(T.X + fx, T.Y + fy));
        if (style == MesPenStyle::mpsDemiHachure || style == MesPenStyle::mpsHachurePente)
          etat.Alterne = static_cast<int8_t>(-etat.Alterne);
        if (style == MesPenStyle::mpsTirHachAlt) etat.Cote = etat.Cote == 0 ? 1 : 0;
      }
    }
    if (triangle && finTrait > d && debut < E) {
      if (d < debut) {
        triangle_.clear();
        triangle_.push_back(point(debut));
      } else if (triangle_.empty() || triangle_.back().X != P0.X || triangle_.back().Y != P0.Y) {
        // The joint closes one segment and opens the next: one vertex.
        triangle_.push_back(P0);
      }
      if (finTrait <= E) {
        triangle_.push_back(point(finTrait));
        triangle_.push_back(sommet_);
        cible.Polygone(triangle_, style == MesPenStyle::mpsTrianglePlein);
        triangle_.clear();
      } else {
        triangle_.push_back(P1);
      }
    }
    if (finPeriode > E) break;
    if (style == MesPenStyle::mpsDashDot) {
      etat.Alterne = static_cast<int8_t>(-etat.Alterne);
      if (etat.Alterne == 1) {
        s = MesPenStyle::mpsDash;
        k += 1;
      } else {
        s = MesPenStyle::mpsDashDot;
      }
      const ValeursMotif& v = cache_[static_cast<size_t>(s)];
      m.LongTrait = v.LongTrait;
      m.LongEspace = v.LongEspace;
    } else {
      k += 1;
    }
  }
  // The end of the line after its last triangle: the base of the triangle
  // left open, from its start (on this segment or an earlier one) to P1.
  if (triangle && dernier) {
    for (size_t i = 1; i < triangle_.size(); ++i) cible.Trait(triangle_[i - 1], triangle_[i]);
    triangle_.clear();
  }
  etat.Distance = E;
}

}  // namespace drawing
