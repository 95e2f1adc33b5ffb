#include "drawing/dessin_axe_gal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>
#include <span>
#include <vector>
#include <string>
#include <typeinfo>

#include "drawing/contexte_motifs.h"
#include "drawing/lots_appels.h"
#include "drawing/reglages_trace.h"
#include "foundation/arrondi.h"
#include "foundation/chaines.h"
#include "foundation/contexte_impression.h"
#include "foundation/parallele.h"
#include "foundation/transformation_vue.h"
#include "foundation/utilitaires.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

namespace drawing {

using foundation::Arrondi;
using foundation::TRect;

namespace {

// Radius of the dots of the survey stations: at most 2 pixels.
int32_t RayonPointStation() { return std::min(Arrondi(2 * foundation::Vue().EchelleVue), 2); }

// A white-rimmed dot at the pixel, the pen left in its colour.
void PointBlanc(platform::Canvas& canvas, const TPointDeBase& p, int32_t r) {
  const platform::Colour couleur = canvas.Pen.Color;
  canvas.Pen.Color = platform::kWhite;
  canvas.Ellipse(p.XVue - r, p.YVue - r, p.XVue + r, p.YVue + r);
  canvas.Pen.Color = couleur;
}

// The surface and its clip rectangle, grown by what a one-pixel or wider
// pen may paint past a shape's points: lines and dots wholly outside it
// paint nothing and are left out.
class ZoneVisible {
 public:
  explicit ZoneVisible(const platform::Canvas& canvas) {
    platform::Rect v{0, 0, canvas.Width(), canvas.Height()};
    if (const std::optional<platform::Rect> c = canvas.ClipRect())
      v = {std::max(v.Left, c->Left), std::max(v.Top, c->Top), std::min(v.Right, c->Right),
           std::min(v.Bottom, c->Bottom)};
    const int64_t m = std::max<int64_t>(canvas.Pen.Width, 1) + 2;
    if (!v.Empty())
      gauche_ = v.Left - m, haut_ = v.Top - m, droite_ = int64_t{v.Right} + m, bas_ = int64_t{v.Bottom} + m;
  }
  bool Segment(int64_t x1, int64_t y1, int64_t x2, int64_t y2) const {
    return std::max(x1, x2) >= gauche_ && std::min(x1, x2) < droite_ && std::max(y1, y2) >= haut_ &&
           std::min(y1, y2) < bas_;
  }
  // The dot of radius r at (x, y) and its pixel.
  bool Point(int64_t x, int64_t y, int64_t r) const { return Segment(x - r, y - r, x + r, y + r); }

 private:
  // Nothing is inside an empty surface.
  int64_t gauche_ = std::numeric_limits<int64_t>::max(), haut_ = gauche_;
  int64_t droite_ = std::numeric_limits<int64_t>::min(), bas_ = droite_;
};

// The points of an axis per slice when it is cut for the cores: fewer cost
// more to hand out than they take to draw.
constexpr size_t PointsParTranche = 4096;
// Slices per thread, so that a thread whose slices are off the surface takes
// more of them.
constexpr size_t TranchesParFil = 4;
// At most 8 threads of 4 slices.
constexpr size_t TranchesMax = 32;

// The slices for n points: one for a short axis or a single thread.
size_t TranchesPour(size_t n) {
  const size_t fils = foundation::NombreFils();
  if (fils <= 1) return 1;
  return std::clamp<size_t>(n / PointsParTranche, 1, std::min(fils * TranchesParFil, TranchesMax));
}

// The calls of one slice: the room, kept from one drawing to the next, and
// the count in use.
struct AppelsDUneTranche {
  std::vector<platform::BatchCall> Place;
  size_t N = 0;
  // Room for k calls, written from Place.data().
  platform::BatchCall* Prevoit(size_t k) {
    if (Place.size() < k) Place.resize(k);
    return Place.data();
  }
  std::span<const platform::BatchCall> Appels() const { return {Place.data(), N}; }
};

// The calls of each slice of the axis being drawn, kept on the thread that
// draws (the calling thread's: a slice run elsewhere writes into its own
// slot, read back once every slice is done).
thread_local std::vector<AppelsDUneTranche> appelsDesTranches;
// The slices' calls one after the other.
thread_local std::vector<platform::BatchCall> appelsRassembles;

}  // namespace

// --- TPointAxe -------------------------------------------------------------------------

TPointAxe::TPointAxe(TPointAxe* PtRat, survey::TPointSpeleo* PtS) : PointRat(PtRat), PointRef(PtS) {
  if (PtS == nullptr) return;
  const ContexteDessin& d = Dessin();
  const bool alti = foundation::EstDessinAlti();
  const double x = alti ? PtS->Slh : PtS->X;
  const double y = alti ? PtS->ZCalc : PtS->Y;
  const foundation::TPoint p = foundation::XYVersDessin(x + d.DecalageDessinX, y + d.DecalageDessinY);
  FixePosition(p.X, p.Y);
  PtS->PtGraph = this;
}

TPointAxe::~TPointAxe() {
  if (PointRef != nullptr && PointRef->PtGraph == this) PointRef->PtGraph = nullptr;
}

void TPointAxe::AfficheDesign(platform::Canvas& canvas) const {
  if (PointRef == nullptr) return;
  canvas.Font.Height = 0;
  canvas.Font.Size = foundation::Impression().EnImpression ? 30 : 8;
  std::string texte = PointRef->DesignPTopo;
  if (Affichage().AfficheCommentaires) {
    const std::string commentaire = PointRef->Commentaire.Texte();
    if (!commentaire.empty()) texte += " / " + commentaire;
  }
  canvas.TextOut(XVue + 10, YVue - 10, texte);
}

TPointAxe* PointAxeDe(const survey::TPointSpeleo* station) {
  return station == nullptr ? nullptr : dynamic_cast<TPointAxe*>(station->PtGraph);
}

// --- TDessinAxeGal --------------------------------------------------------------------

TDessinAxeGal::TDessinAxeGal() {
  ObjetMotif = &Motifs().TraitAxeTopo;
  CodeAffichage = TypeObjetDessin::odPtLever;
}

void TDessinAxeGal::AjouteTrait(survey::TVisee* vVisee) {
  if (vVisee == nullptr || vVisee->PtOrigCalc == nullptr || vVisee->PtCalc == nullptr) return;
  if (PointsAxe.empty()) {
    PointsAxe.push_back(std::make_unique<TPointAxe>(nullptr, vVisee->PtOrigCalc));
    EnvelRect = PointsAxe.back()->EnvelRect;
  }
  TPointAxe* depart = PointAxeDe(vVisee->PtOrigCalc);
  if (depart != nullptr) PointsAxe.push_back(std::make_unique<TPointAxe>(depart, vVisee->PtCalc));
  vVisee->Marque = depart != nullptr;
  TRect r;
  foundation::UnionRectY(EnvelRect, PointsAxe.back()->EnvelRect, r);
  EnvelRect = r;
  EnveloppeModifiee = true;
}

void TDessinAxeGal::CalculPointsVue() {
  const TVueDessin vue;
  const size_t n = PointsAxe.size();
  vus_.resize(n);
  // Each slice writes its own points and reads the others' drawing
  // positions alone.
  foundation::ParTranches(n, TranchesPour(n), [&](size_t, size_t debut, size_t fin) {
    for (size_t i = debut; i < fin; ++i) {
      TPointAxe& p = *PointsAxe[i];
      p.PointVue(vue);
      PointVu& v = vus_[i];
      v.X = p.XVue;
      v.Y = p.YVue;
      v.Station = p.PointRef;
      v.ARat = p.PointRat != nullptr;
      v.RatPrecedent = i > 0 && p.PointRat == PointsAxe[i - 1].get();
      if (v.ARat && !v.RatPrecedent) {
        const foundation::TPoint rat = vue(p.PointRat->XLoc, p.PointRat->YLoc);
        v.RatX = rat.X;
        v.RatY = rat.Y;
      } else {
        v.RatX = v.RatY = 0;
      }
    }
  });
}

struct TDessinAxeGal::Trace {
  const ZoneVisible& Zone;
  bool Marquage, Points;
  int32_t R;
  platform::Colour Couleur;
};

size_t TDessinAxeGal::TraceTranche(const Trace& t, size_t debut, size_t fin, platform::BatchCall* appels,
                                   FinDeTrace& etat) const {
  platform::BatchCall* const premier = appels;
  using Appel = platform::BatchCall;
  const size_t n = vus_.size();
  // The stations of the points on the surface, and their arriving shots, are
  // scattered objects read once each: they are asked for some points ahead,
  // so that a long axis does not wait on every one.
  constexpr size_t avanceStation = 16, avanceVisee = 8;
  for (size_t k = debut; k < fin; ++k) {
    const size_t i = n - 1 - k;
    if (i > avanceStation) {
      const PointVu& q = vus_[i - avanceStation];
      if (q.Station != nullptr && t.Zone.Point(q.X, q.Y, 0)) __builtin_prefetch(&q.Station->ViseeAvant);
    }
    if (t.Marquage && i > avanceVisee) {
      const PointVu& q = vus_[i - avanceVisee];
      if (q.Station != nullptr && t.Zone.Point(q.X, q.Y, 0) && q.Station->ViseeAvant != nullptr)
        __builtin_prefetch(&q.Station->ViseeAvant->Marque);
    }
    const PointVu& p = vus_[i];
    if (p.ARat) {
      // The previous point of this axis has its pixel in the array.
      const platform::Point rat = p.RatPrecedent ? platform::Point{vus_[i - 1].X, vus_[i - 1].Y}
                                                 : platform::Point{p.RatX, p.RatY};
      etat.Decide = true;
      if (t.Zone.Segment(p.X, p.Y, rat.X, rat.Y)) {
        const survey::TVisee* arrivee = p.Station != nullptr ? p.Station->ViseeAvant : nullptr;
        const platform::Colour c =
            t.Marquage && arrivee != nullptr && arrivee->Marque ? CouleurSelection : t.Couleur;
        *appels++ = {Appel::Kind::Line, c, p.X, p.Y, rat.X, rat.Y};
        etat.Sautee = false;
      } else {
        // A line left out still moves the current position to its end.
        etat.Sautee = true;
        etat.X = rat.X;
        etat.Y = rat.Y;
      }
    }
    if (t.Zone.Point(p.X, p.Y, t.R)) {
      if (t.Points) *appels++ = {Appel::Kind::Ellipse, platform::kWhite, p.X - t.R, p.Y - t.R, p.X + t.R, p.Y + t.R};
      *appels++ = {Appel::Kind::Pixel, t.Couleur, p.X, p.Y};
    }
  }
  return static_cast<size_t>(appels - premier);
}

void TDessinAxeGal::DessineCetObjet(platform::Canvas& canvas) {
  if (PointsAxe.empty()) return;
  if (vus_.size() != PointsAxe.size()) CalculPointsVue();
  const EtatAffichage& a = Affichage();
  const bool noms = a.ObjetsAffichablesCourants[TypeObjetDessin::odNumPt];
  const ZoneVisible zone(canvas);
  const Trace t{zone, !EstDessinCoupeVert && !EstObjetEcart, !a.ObjetsAffichablesCourants[TypeObjetDessin::odCompos],
                RayonPointStation(), canvas.Pen.Color};
  // The points are drawn from the last to the second, each with its shot.
  const size_t n = vus_.size() - 1;
  std::vector<AppelsDUneTranche>& appels = appelsDesTranches;
  if (noms) {
    // Each point's name goes between its calls and the next point's.
    if (appels.empty()) appels.resize(1);
    AppelsDUneTranche& lot = appels[0];
    for (size_t k = 0; k < n; ++k) {
      FinDeTrace etat;
      lot.N = TraceTranche(t, k, k + 1, lot.Prevoit(3), etat);
      if (lot.N > 0) canvas.Batch(lot.Appels());
      if (etat.Sautee) canvas.MoveTo(etat.X, etat.Y);
      PointsAxe[n - k]->AfficheDesign(canvas);
    }
    PointsAxe[0]->AfficheDesign(canvas);
    return;
  }
  // Each slice's calls in its own room, handed over in slice order; the
  // current position is left by the last slice that decides it.
  const size_t tranches = TranchesPour(n);
  if (appels.size() < tranches) appels.resize(tranches);
  std::array<FinDeTrace, TranchesMax> etats{};
  foundation::ParTranches(n, tranches, [&](size_t tranche, size_t debut, size_t fin) {
    AppelsDUneTranche& lot = appels[tranche];
    lot.N = TraceTranche(t, debut, fin, lot.Prevoit(3 * (fin - debut)), etats[tranche]);
  });
  FinDeTrace fin;
  std::array<std::span<const platform::BatchCall>, TranchesMax> morceaux;
  for (size_t k = 0; k < tranches; ++k) {
    morceaux[k] = appels[k].Appels();
    if (etats[k].Decide) fin = etats[k];
  }
  // One batch for the whole axis.
  if (tranches == 1) {
    if (appels[0].N > 0) canvas.Batch(appels[0].Appels());
  } else {
    RassembleAppels(std::span(morceaux.data(), tranches), appelsRassembles);
    if (!appelsRassembles.empty()) canvas.Batch(appelsRassembles);
  }
  if (fin.Sautee) canvas.MoveTo(fin.X, fin.Y);
}

void TDessinAxeGal::DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info) {
  info.NCav = info.NGal = -1;
  info.Pt1 = info.Pt2 = nullptr;
  info.D = -1;
  info.ObjetProche = this;
  if (PointsAxe.size() < 2) return;
  const foundation::TPoint curseur = foundation::EcranVersDessin({XPt, YPt});
  // The shot that ends at an axis point (the point alone when it starts the
  // axis).
  auto distance = [&](const TPointAxe& p) {
    const TPointDeBase& debut = p.PointRat != nullptr ? static_cast<const TPointDeBase&>(*p.PointRat) : p;
    return DistanceAuSegment(debut, p, curseur.X, curseur.Y);
  };
  info.Pt1 = PointsAxe[0].get();
  info.Pt2 = PointsAxe[1].get();
  info.D = distance(*PointsAxe[1]);
  for (size_t a = 2; a < PointsAxe.size(); ++a) {
    const double d = distance(*PointsAxe[a]);
    if (d < info.D) {
      info.D = d;
      info.Pt1 = PointsAxe[a]->PointRat;
      info.Pt2 = PointsAxe[a].get();
    }
  }
}

// --- TDessinLignePlani -------------------------------------------------------------------

void TDessinLignePlani::AjoutePoint(const survey::TPointSpeleo& vPtPlani) {
  if (foundation::EstDessinAlti())
    AjoutePointReel(vPtPlani.Slh, vPtPlani.Z);
  else
    AjoutePointReel(vPtPlani.X, vPtPlani.Y);
  PointsList.back().Text = foundation::OteBlancs(foundation::ReelEnStr(vPtPlani.Zajuste, 0, 1));
}

void TDessinLignePlani::DessineCetObjet(platform::Canvas& canvas) {
  if (PointsList.empty()) return;
  canvas.MoveTo(PointsList[0].XVue, PointsList[0].YVue);
  for (size_t i = 1; i < PointsList.size(); ++i) canvas.LineTo(PointsList[i].XVue, PointsList[i].YVue);
  if (ObjetMotif != nullptr && ObjetMotif->CodeMotif != 0) return;
  canvas.Font.Height = 0;
  canvas.Font.Size = 8;
  canvas.Font.Color = canvas.Pen.Color;
  canvas.Brush.Style = platform::BrushStyle::Clear;
  const int32_t r = RayonPointStation();
  for (const TPointDeBase& p : PointsList) {
    PointBlanc(canvas, p, r);
    canvas.TextOut(p.XVue - 5, p.YVue - 15, p.Text);
  }
}

// --- Gallery outlines ---------------------------------------------------------------------

TDessinLigneGalerie::TDessinLigneGalerie(int32_t Ncav, int32_t NGal)
    : TDessinLigne(&Motifs().TraitDimTopo), NumCavite(Ncav), NumGalerie(NGal) {
  CodeAffichage = TypeObjetDessin::odGalerie;
}

void TDessinLigneGalerie::DistanceObjet(int32_t, int32_t, TInfoObjet& info) {
  info.NCav = NumCavite;
  info.NGal = NumGalerie;
  info.Pt1 = info.Pt2 = nullptr;
  info.D = -1;
  info.ObjetProche = this;
}

bool TDessinLigneGalerie::TracableEnParallele() const {
  const std::type_info& t = typeid(*this);
  return (t == typeid(TDessinLigneGalerie) || t == typeid(TDessinEnvelCoupe)) && TraceSimple();
}

TDessinEnvelCoupe::TDessinEnvelCoupe(int32_t Ncav, bool remplir, int32_t NGal)
    : TDessinLigneGalerie(Ncav, NGal), Remplir(remplir) {}

void TDessinEnvelCoupe::DessineCetObjet(platform::Canvas& canvas) {
  if (!Remplir) {
    TDessinLigne::DessineCetObjet(canvas);
    return;
  }
  if (PointsList.empty()) return;
  std::vector<platform::Point> sommets;
  sommets.reserve(PointsList.size());
  for (const TPointDeBase& p : PointsList) sommets.push_back({p.XVue, p.YVue});
  canvas.Brush.Color = CouleurEnveloppeCoupe;
  canvas.Brush.Style = platform::BrushStyle::Solid;
  canvas.Polygon(sommets);
}

// --- TDessinViseeHabi ---------------------------------------------------------------------

TDessinViseeHabi::TDessinViseeHabi(survey::TViseeHabi* viseeHabi, const TDefObjetTrait* vMotif)
    : TDessinLigne(vMotif != nullptr ? vMotif : &Motifs().TraitViseesAnnexes, viseeHabi), ViseeHabi(viseeHabi) {
  CodeAffichage = TypeObjetDessin::odVisHab;
}

bool TDessinViseeHabi::TracableEnParallele() const {
  return typeid(*this) == typeid(TDessinViseeHabi) && TraceSimple();
}

void TDessinViseeHabi::DessineCetObjet(platform::Canvas& canvas) {
  if (pListeAffichables != nullptr && !(*pListeAffichables)[TypeObjetDessin::odVisHab]) return;
  TDessinLigne::DessineCetObjet(canvas);
  const EtatAffichage& a = AffichageLu();
  if (ViseeHabi == nullptr || PointsList.empty() || !a.AfficheCommentaires ||
      !a.ObjetsAffichablesCourants[TypeObjetDessin::odNumPt])
    return;
  const std::string commentaire = ViseeHabi->CommentVisee.Texte();
  if (commentaire.empty()) return;
  canvas.Font.Height = 0;
  canvas.Font.Size = 8;
  canvas.TextOut(PointsList.back().XVue + 10, PointsList.back().YVue - 10, commentaire);
}

void TDessinViseeHabi::DistanceObjet(int32_t, int32_t, TInfoObjet& info) {
  info.NCav = info.NGal = -1;
  info.Pt1 = info.Pt2 = nullptr;
  info.D = foundation::ValeurIndefiniePositive;
  info.ObjetProche = this;
}

// --- TDessinDuoBoucle ---------------------------------------------------------------------

void TDessinDuoBoucle::DessineCetObjet(platform::Canvas& canvas) {
  TDessinLigne::DessineCetObjet(canvas);
  if (PointsList.size() < 2) return;
  const TPointDeBase& p = PointsList[1];
  canvas.Pen.Color = CouleurRouge;
  canvas.Ellipse(p.XVue - 2, p.YVue - 2, p.XVue + 2, p.YVue + 2);
}

}  // namespace drawing
