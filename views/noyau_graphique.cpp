#include "views/noyau_graphique.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <limits>

#include "drawing/contexte_dessin.h"
#include "drawing/cree_dessin.h"
#include "drawing/deplacable.h"
#include "foundation/arrondi.h"
#include "foundation/chaines.h"
#include "foundation/parallele.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/raster.h"
#include "views/ports_vues.h"

namespace views {

using enum drawing::TypeObjetDessin;
using foundation::Arrondi;
using foundation::TPoint;
using platform::Rect;

namespace {

constexpr platform::Colour CouleurFenetreZoom = 0x0000FF;
constexpr platform::Colour CouleurRegle = 0x800080;
constexpr platform::Colour CouleurCercle = 0xC0C0C0;

Rect Intersection(const Rect& a, const Rect& b) {
  return Rect{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
              std::min(a.Bottom, b.Bottom)};
}

Rect Union(const Rect& a, const Rect& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return Rect{std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
              std::max(a.Bottom, b.Bottom)};
}

void Remplit(platform::Canvas& c, const Rect& r, platform::Colour couleur) {
  const platform::CanvasBrush b = c.Brush;
  c.Brush = {couleur, platform::BrushStyle::Solid};
  c.FillRect(r);
  c.Brush = b;
}

}  // namespace

double FacteurMolette(bool enAvant, bool sensMolette) {
  const int sens = sensMolette ? 1 : 0;
  return enAvant ? FacteursMolette[static_cast<size_t>(sens)] : FacteursMolette[static_cast<size_t>(1 - sens)];
}

std::string TexteCoordonnees(double X, double Y) {
  return "X = " + foundation::OteBlancs(foundation::ReelEnStr(X, 20, 1)) + "\r" + "Y = " +
         foundation::OteBlancs(foundation::ReelEnStr(Y, 20, 1));
}

std::string TexteRegle(double distance, double gisement) {
  return foundation::OteBlancs(foundation::ReelEnStr(distance, 20, 1)) + " m  -> " +
         foundation::OteBlancs(foundation::ReelEnStr(gisement * 57.29577951308232, 20, 1)) + " °";
}

// --- The tracking canvas ------------------------------------------------------------------------

TCanvasSuivi::TCanvasSuivi(platform::Canvas& cible) : cible_(cible) {
  Pen = cible.Pen;
  Brush = cible.Brush;
  Font = cible.Font;
  Copy = cible.Copy;
  PenPos = cible.PenPos;
}

Rect TCanvasSuivi::Zone() const {
  if (vide_) return Rect{};
  const auto borne = [](int64_t v, int32_t max) { return static_cast<int32_t>(std::clamp<int64_t>(v, 0, max)); };
  const Rect r{borne(gauche_, Width()), borne(haut_, Height()), borne(droite_, Width()), borne(bas_, Height())};
  return r.Empty() ? Rect{} : r;
}

void TCanvasSuivi::Oublie() {
  vide_ = true;
  nLot_ = 0;
}

void TCanvasSuivi::Acheve() const {
  if (nLot_ == 0) return;
  const size_t n = nLot_;
  nLot_ = 0;
  cible_.Pen = plumeLot_;
  cible_.Brush = pinceauLot_;
  cible_.Batch(std::span<const platform::BatchCall>(lot_.data(), n));
}

void TCanvasSuivi::Garde(std::span<const platform::BatchCall> calls) {
  const bool meme = Pen.Width == plumeLot_.Width && Pen.Style == plumeLot_.Style && Pen.Mode == plumeLot_.Mode &&
                    Brush.Color == pinceauLot_.Color && Brush.Style == pinceauLot_.Style;
  if (nLot_ > 0 && (!meme || nLot_ + calls.size() > lot_.size())) Acheve();
  if (calls.size() > lot_.size()) {
    Transmet();
    cible_.Batch(calls);
    return;
  }
  if (nLot_ == 0) {
    plumeLot_ = Pen;
    pinceauLot_ = Brush;
  }
  std::copy(calls.begin(), calls.end(), lot_.begin() + static_cast<std::ptrdiff_t>(nLot_));
  nLot_ += calls.size();
}

void TCanvasSuivi::SetSize(int32_t width, int32_t height) {
  Acheve();
  cible_.SetSize(width, height);
  Ajoute(0, 0, width, height);
}

void TCanvasSuivi::Transmet(bool police) {
  // The kept lines come first.
  Acheve();
  cible_.Pen = Pen;
  cible_.Brush = Brush;
  // Only texts read the font (its name is a string: not copied for every line).
  if (police) cible_.Font = Font;
  cible_.Copy = Copy;
  cible_.PenPos = PenPos;
}

int32_t TCanvasSuivi::Marge() const { return std::max<int32_t>(Pen.Width, 1) + 2; }

void TCanvasSuivi::Ajoute(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  const int64_t l = std::min(left, right), t = std::min(top, bottom);
  const int64_t r = std::max(left, right), b = std::max(top, bottom);
  if (vide_) {
    gauche_ = l, haut_ = t, droite_ = r, bas_ = b;
    vide_ = false;
  } else {
    gauche_ = std::min(gauche_, l), haut_ = std::min(haut_, t);
    droite_ = std::max(droite_, r), bas_ = std::max(bas_, b);
  }
}

void TCanvasSuivi::AjoutePoints(std::span<const platform::Point> points) {
  const int32_t m = Marge();
  for (const platform::Point& p : points) Ajoute(p.X - m, p.Y - m, p.X + m + 1, p.Y + m + 1);
}

void TCanvasSuivi::LineTo(int32_t x, int32_t y) {
  const platform::Point pts[2] = {PenPos, {x, y}};
  AjoutePoints(pts);
  const platform::BatchCall trait{platform::BatchCall::Kind::Line, Pen.Color, PenPos.X, PenPos.Y, x, y};
  Garde({&trait, 1});
  PenPos = {x, y};
}

void TCanvasSuivi::Polyline(std::span<const platform::Point> points) {
  AjoutePoints(points);
  Transmet();
  cible_.Polyline(points);
  Reprend();
}

void TCanvasSuivi::PolyBezier(std::span<const platform::Point> points) {
  // A Bézier curve stays inside the hull of its control points.
  AjoutePoints(points);
  Transmet();
  cible_.PolyBezier(points);
  Reprend();
}

void TCanvasSuivi::Polygon(std::span<const platform::Point> points) {
  AjoutePoints(points);
  Transmet();
  cible_.Polygon(points);
  Reprend();
}

#define GRAVELUNE_FORME(Nom)                                                     \
  void TCanvasSuivi::Nom(int32_t left, int32_t top, int32_t right, int32_t bottom) { \
    const int32_t m = Marge();                                                   \
    Ajoute(std::min(left, right) - m, std::min(top, bottom) - m, std::max(left, right) + m, \
           std::max(top, bottom) + m);                                           \
    Transmet();                                                                  \
    cible_.Nom(left, top, right, bottom);                                        \
    Reprend();                                                                   \
  }
GRAVELUNE_FORME(Rectangle)
GRAVELUNE_FORME(Ellipse)
#undef GRAVELUNE_FORME

#define GRAVELUNE_ARC(Nom)                                                                                \
  void TCanvasSuivi::Nom(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t x1, int32_t y1, \
                         int32_t x2, int32_t y2) {                                                        \
    const int32_t m = Marge();                                                                            \
    Ajoute(std::min(left, right) - m, std::min(top, bottom) - m, std::max(left, right) + m,               \
           std::max(top, bottom) + m);                                                                    \
    Transmet();                                                                                           \
    cible_.Nom(left, top, right, bottom, x1, y1, x2, y2);                                                 \
    Reprend();                                                                                            \
  }
GRAVELUNE_ARC(Arc)
GRAVELUNE_ARC(Chord)
GRAVELUNE_ARC(Pie)
#undef GRAVELUNE_ARC

void TCanvasSuivi::FillRect(const Rect& r) {
  Ajoute(r.Left, r.Top, r.Right, r.Bottom);
  Transmet();
  cible_.FillRect(r);
  Reprend();
}

void TCanvasSuivi::FrameRect(const Rect& r) {
  Ajoute(r.Left, r.Top, r.Right, r.Bottom);
  Transmet();
  cible_.FrameRect(r);
  Reprend();
}

void TCanvasSuivi::SetPixel(int32_t x, int32_t y, platform::Colour c) {
  Ajoute(x, y, x + 1, y + 1);
  Acheve();
  cible_.SetPixel(x, y, c);
}

void TCanvasSuivi::FloodFill(int32_t x, int32_t y, platform::Colour border) {
  Ajoute(0, 0, Width(), Height());
  Transmet();
  cible_.FloodFill(x, y, border);
  Reprend();
}

void TCanvasSuivi::TextOut(int32_t x, int32_t y, std::string_view text) {
  Transmet(true);
  // The cell turns about its top-left corner: a square of the cell's
  // diagonal around that corner holds it whatever the angle.
  const int64_t w = cible_.TextWidth(text), h = cible_.TextHeight(text);
  const int32_t d = static_cast<int32_t>(std::min<int64_t>(w + h + 4, 1 << 24));
  // Italic and overhanging glyphs may pass the advance width by part of the height.
  if (Font.Escapement % 3600 == 0)
    Ajoute(x - static_cast<int32_t>(h) - 2, y - 2, x + static_cast<int32_t>(w + h) + 2, y + static_cast<int32_t>(h) + 2);
  else
    Ajoute(x - d, y - d, x + d, y + d);
  cible_.TextOut(x, y, text);
  Reprend();
}

int32_t TCanvasSuivi::TextWidth(std::string_view text) const {
  cible_.Font = Font;
  return cible_.TextWidth(text);
}

int32_t TCanvasSuivi::TextHeight(std::string_view text) const {
  cible_.Font = Font;
  return cible_.TextHeight(text);
}

void TCanvasSuivi::CopyRect(const Rect& destination, const Canvas& source, const Rect& sourceRect) {
  Ajoute(destination.Left, destination.Top, destination.Right, destination.Bottom);
  Transmet();
  cible_.CopyRect(destination, &source == this ? cible_ : source, sourceRect);
  Reprend();
}

namespace {

// The bounds of the lines' ends, of the ellipses' rectangles and of the
// pixels of the calls.
struct Bornes {
  int32_t xmin = std::numeric_limits<int32_t>::max(), ymin = xmin;
  int32_t xmax = std::numeric_limits<int32_t>::min(), ymax = xmax;
  void Ajoute(std::span<const platform::BatchCall> calls) {
    for (const platform::BatchCall& c : calls) {
      const bool pixel = c.What == platform::BatchCall::Kind::Pixel;
      const int32_t x2 = pixel ? c.X1 : c.X2, y2 = pixel ? c.Y1 : c.Y2;
      xmin = std::min(xmin, std::min(c.X1, x2));
      ymin = std::min(ymin, std::min(c.Y1, y2));
      xmax = std::max(xmax, std::max(c.X1, x2));
      ymax = std::max(ymax, std::max(c.Y1, y2));
    }
  }
  void Ajoute(const Bornes& b) {
    xmin = std::min(xmin, b.xmin), ymin = std::min(ymin, b.ymin);
    xmax = std::max(xmax, b.xmax), ymax = std::max(ymax, b.ymax);
  }
};

// From this many calls the bounds are read on several threads.
constexpr size_t AppelsBornesParalleles = 1 << 16;

}  // namespace

void TCanvasSuivi::Batch(std::span<const platform::BatchCall> calls) {
  if (calls.empty()) return;
  // The bounds grown by the pen's margin and a line's last pixel (more than
  // a pixel needs: the zone is a bound).
  Bornes bornes;
  if (calls.size() < AppelsBornesParalleles) {
    bornes.Ajoute(calls);
  } else {
    std::vector<Bornes> parTranche(foundation::NombreFils());
    foundation::ParTranches(calls.size(), parTranche.size(), [&](size_t t, size_t debut, size_t fin) {
      parTranche[t].Ajoute(calls.subspan(debut, fin - debut));
    });
    for (const Bornes& b : parTranche) bornes.Ajoute(b);
  }
  const int32_t xmin = bornes.xmin, ymin = bornes.ymin, xmax = bornes.xmax, ymax = bornes.ymax;
  const platform::BatchCall* dernierTrait = nullptr;
  for (auto c = calls.rbegin(); c != calls.rend() && dernierTrait == nullptr; ++c)
    if (c->What == platform::BatchCall::Kind::Line) dernierTrait = &*c;
  const int64_t m = Marge();
  const int64_t l = xmin - m, t = ymin - m, r = int64_t{xmax} + m + 1, b = int64_t{ymax} + m + 1;
  const auto borne = [](int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
  };
  Ajoute(borne(l), borne(t), borne(r), borne(b));
  Garde(calls);
  // A line moves the current position to its end.
  if (dernierTrait != nullptr) PenPos = {dernierTrait->X2, dernierTrait->Y2};
}

// --- Construction -------------------------------------------------------------------------------

TNoyauGraphique::TNoyauGraphique() {
  foundation::SauveTransfo(vSauveParamTransfo);
  BmpDessin = platform::CanvasFactory::Current().CreateBitmap(1, 1);
  BmpUndo = platform::CanvasFactory::Current().CreateBitmap(1, 1);
  brouillon_ = platform::CanvasFactory::Current().CreateBitmap(1, 1);
  ObjetsAffichables = AffichablesParDefaut();
  ObjetsSelectionnables = SelectionnablesParDefaut();
}

TNoyauGraphique::~TNoyauGraphique() {
  foundation::RestaureTransfo(vSauveParamTransfo);
}

int TNoyauGraphique::iTypeFiche() {
  AffichageDefaut = EnsembleTypes({odDessin});
  return cfBase;
}

void TNoyauGraphique::Cree() {
  drawing::Dessin().Affichage.AfficheCommentaires = false;
  const int code = iTypeFiche();
  TCfAffichage& m = MemoiresCaviteActive()[static_cast<size_t>(std::clamp(code, 0, NombreCodesFiche - 1))];
  MemoireOuverte = m.Ouvert;
  if (m.Ouvert) {
    SetAffichable(m.Elnts);
    DernierZoom = m.SvDerZoom;
    OrigineDernierZoomConnue = m.OrigineConnue && m.TypeOrigine == foundation::Vue().TypeDessinCourant;
    OrigineDernierZoomX = m.OrigineX;
    OrigineDernierZoomY = m.OrigineY;
  } else {
    SetAffichable(AffichageDefaut);
  }
  Initialise();
}

void TNoyauGraphique::FormClose() {
  const int code = iTypeFiche();
  TCfAffichage& m = MemoiresCaviteActive()[static_cast<size_t>(std::clamp(code, 0, NombreCodesFiche - 1))];
  m.Ouvert = true;
  m.Elnts = EnsembleDeTable(ObjetsAffichables);
  // Before any view was recorded the memory keeps an empty view.
  m.SvDerZoom = ZoomActif >= 1 && ZoomActif <= 5 ? DerZoom[static_cast<size_t>(ZoomActif)] : TParamZoom{};
  const auto& v = foundation::Vue();
  const bool alti = foundation::EstDessinAlti();
  m.OrigineConnue = true;
  m.TypeOrigine = v.TypeDessinCourant;
  m.OrigineX = alti ? v.SLmin : v.Xmin;
  m.OrigineY = alti ? v.Zmin : v.Ymin;
}

void TNoyauGraphique::SignaleErreurCalque() {
  if (CalqueEnErreur < 0) return;
  const int k = CalqueEnErreur;
  CalqueEnErreur = -1;
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, "lc= " + std::to_string(k));
}

// --- View ---------------------------------------------------------------------------------------

TParamZoom TNoyauGraphique::VueCourante() const {
  const auto& v = foundation::Vue();
  return TParamZoom{v.XDebVue, v.YDebVue, v.HauteurVue, v.LargeurVue};
}

void TNoyauGraphique::FixeVue(const TParamZoom& z) {
  auto& v = foundation::Vue();
  v.XDebVue = z.XDeb;
  v.YDebVue = z.Ydeb;
  v.LargeurVue = z.Largeur;
  v.HauteurVue = z.Hauteur;
}

void TNoyauGraphique::AjusteBitmap() {
  auto& v = foundation::Vue();
  int32_t w = BmpDessin->Width(), h = BmpDessin->Height();
  if (LargeurBoite() > 0) w = LargeurBoite();
  if (HauteurBoite() > 0) h = HauteurBoite();
  if (w != BmpDessin->Width() || h != BmpDessin->Height()) BmpDessin->SetSize(w, h);
  if (LargeurBoite() > 0) v.LargeurPaintBox = w;
  if (HauteurBoite() > 0) v.HauteurPaintBox = h;
}

bool TNoyauGraphique::AfficheVue(bool Redessine) {
  auto& v = foundation::Vue();
  AjusteBitmap();
  if (v.LargeurVue == 0 && v.HauteurVue == 0) return false;
  const double ancienne = v.EchelleVue;
  const double W = BmpDessin->Width(), H = BmpDessin->Height();
  if (v.LargeurVue == 0)
    v.EchelleVue = H / v.HauteurVue;
  else if (v.HauteurVue == 0)
    v.EchelleVue = W / v.LargeurVue;
  else
    v.EchelleVue = std::min(W / v.LargeurVue, H / v.HauteurVue);
  if (!(v.EchelleVue < EchelleMaxVue)) {
    // Refused: the previous view and scale come back with the previous picture.
    if (echelleAffichee_ > 0) {
      FixeVue(vueAffichee_);
      v.EchelleVue = echelleAffichee_;
    } else {
      v.EchelleVue = ancienne;
    }
    return false;
  }
  if (!Redessine && v.EchelleVue == ancienne && !DeplacementEnCours) return false;
  v.LargeurVue = W / v.EchelleVue;
  v.HauteurVue = H / v.EchelleVue;
  if (!Redessine || ZoomActif == 0) EmpileZoom();
  vueAffichee_ = VueCourante();
  echelleAffichee_ = v.EchelleVue;

  platform::Canvas& bmp = *BmpDessin;
  blanc_ = false;
  if (!AfficheCoupesVert) {
    foundation::EffaceBitmap(bmp);
    blanc_ = !bmp.ClipRect();
    bmp.Copy = platform::CopyMode::SrcCopy;
    if ((drawing::Affichage().ToutDessiner || CalageNotes) && ImageScan) {
      blanc_ = false;
      Rect d{0, 0, bmp.Width(), bmp.Height()};
      const int32_t r = Arrondi(v.LargeurVue * v.EchelleVue), b = Arrondi(v.HauteurVue * v.EchelleVue);
      if (r < d.Right) d.Right = r;
      if (b < d.Bottom) d.Bottom = b;
      const Rect s{Arrondi(v.XDebVue), Arrondi(v.HauteurRaster - v.YDebVue), Arrondi(v.XDebVue + v.LargeurVue),
                   Arrondi(v.HauteurRaster - v.YDebVue + v.HauteurVue)};
      bmp.CopyRect(d, *ImageScan, s);
    }
  }
  const TPoint a = foundation::EcranVersDessin({0, 0});
  const TPoint c = foundation::EcranVersDessin({bmp.Width(), bmp.Height()});
  drawing::Affichage().RectVisibleDessin = foundation::TRect{a.X, a.Y, c.X, c.Y};
  DessineCalques();
  if (TraceEnCours) {
    BmpUndo->SetSize(bmp.Width(), bmp.Height());
    BmpUndo->Copy = platform::CopyMode::SrcCopy;
    BmpUndo->Draw(0, 0, bmp);
    if (ObjetEdite && (ObjetEdite != DessinDeplTmp || (DessinDeplTmp && DessinDeplTmp->EstFixe)))
      ObjetEdite->DessineObjet(bmp);
  }
  if (!AfficheCoupesVert) Repeint();
  if (CalqueEnErreur >= 0) SignaleErreurCalque();
  return true;
}

void TNoyauGraphique::DessineCalques() {
  platform::Canvas& bmp = *BmpDessin;
  const int32_t w = bmp.Width(), h = bmp.Height();
  if (brouillon_->Width() != w || brouillon_->Height() != h) {
    brouillon_ = bmp.CreateBitmap(w, h);
  }
  auto& aff = drawing::Affichage();
  aff.ObjetsAffichablesCourants = ObjetsAffichables;
  CalquesCombines = 0;
  TypeObjetDessin enCours = odNotes;
  TCanvasSuivi suivi(*brouillon_);
  const Rect toute{0, 0, w, h};
  try {
    for (TypeObjetDessin k : drawing::OrdreCalques) {
      enCours = k;
      aff.DessinAutresCavites = (k == odAutresCavites);
      if (!ObjetsAffichables[k]) continue;
      if (k == odNotes) {
        bmp.Copy = platform::CopyMode::SrcCopy;
        DessineNotes(bmp);
        blanc_ = false;
        continue;
      }
      drawing::TCalque& calque = Calques.LeCalque(k);
      if (calque.NombreObjets() == 0) continue;
      // The layer on the white scratch canvas, then ANDed over the rectangle it drew into;
      // the scratch goes back to white there.
      suivi.Oublie();
      suivi.Pen = platform::CanvasPen{};
      suivi.Brush = platform::CanvasBrush{};
      suivi.Font = platform::CanvasFont{};
      suivi.Copy = platform::CopyMode::SrcCopy;
      brouillon_->ClearClipRect();
      calque.DessineCalque(suivi);
      suivi.Acheve();
      const Rect r = Intersection(suivi.Zone(), toute);
      if (r.Empty()) continue;
      ++CalquesCombines;
      // Over a white drawing the AND is the layer itself: the pixels change
      // places, and the scratch gets the white ones.
      if (blanc_ && bmp.SwapPixels(*brouillon_)) {
        blanc_ = false;
        continue;
      }
      blanc_ = false;
      bmp.Copy = platform::CopyMode::SrcAnd;
      bmp.CopyRect(r, *brouillon_, r);
      brouillon_->ClearClipRect();
      Remplit(*brouillon_, r, platform::kWhite);
    }
  } catch (const std::runtime_error&) {
    CalqueEnErreur = static_cast<int>(enCours);
    foundation::EffaceBitmap(*brouillon_);
  }
  aff.DessinAutresCavites = false;
  bmp.Copy = platform::CopyMode::SrcCopy;
  blanc_ = false;
}

void TNoyauGraphique::DessineNotes(platform::Canvas& canvas) {
  if (AffichageCartes) {
    if (drawing::TObjetDessin* carte = CarteReseauActive()) carte->DessineObjet(canvas);
  } else if (FondDePlan) {
    FondDePlan->DessineObjet(canvas);
  }
}

void TNoyauGraphique::EmpileZoom() {
  if (NbreZoom < 5) ++NbreZoom;
  for (int i = NbreZoom; i >= 2; --i) DerZoom[static_cast<size_t>(i)] = DerZoom[static_cast<size_t>(i - 1)];
  DerZoom[1] = VueCourante();
  ZoomActif = 1;
}

void TNoyauGraphique::ZoomPrecedent() {
  if (NbreZoom == 0) return;
  ++ZoomActif;
  if (ZoomActif > NbreZoom) ZoomActif = 1;
  FixeVue(DerZoom[static_cast<size_t>(ZoomActif)]);
  RedessineVisu();
}

void TNoyauGraphique::ZoomeZoom(const TParamZoom& z) {
  FixeVue(z);
  RedessineVisu();
}

void TNoyauGraphique::ZoomeValeur(double v) {
  auto& vue = foundation::Vue();
  const TParamZoom z = ZoomActif >= 1 ? DerZoom[static_cast<size_t>(ZoomActif)] : VueCourante();
  vue.LargeurVue = z.Largeur * v;
  vue.HauteurVue = v * z.Hauteur;
  vue.XDebVue = z.Largeur / 2 + z.XDeb - vue.LargeurVue / 2;
  vue.YDebVue = z.Ydeb - z.Hauteur / 2 + vue.HauteurVue / 2;
  AfficheVue(false);
}

void TNoyauGraphique::ZoomeSurPoint(int32_t xc, int32_t yc, double v) {
  auto& vue = foundation::Vue();
  const TParamZoom z = ZoomActif >= 1 ? DerZoom[static_cast<size_t>(ZoomActif)] : VueCourante();
  const double E = vue.EchelleVue;
  vue.LargeurVue = z.Largeur * v;
  vue.HauteurVue = v * z.Hauteur;
  vue.XDebVue = (xc - v * xc) / E + z.XDeb;
  vue.YDebVue = z.Ydeb - (yc - v * yc) / E;
  AfficheVue(false);
  Repeint();
}

void TNoyauGraphique::VueGenerale() {
  auto& v = foundation::Vue();
  v.LargeurVue = v.LargeurRaster;
  v.HauteurVue = v.HauteurRaster;
  if (v.LargeurVue == 0) v.LargeurVue = v.HauteurVue;
  if (v.HauteurVue == 0) v.HauteurVue = v.LargeurVue;
  const double W = LargeurBoite(), H = HauteurBoite();
  if (v.LargeurVue != 0 && v.HauteurVue != 0) {
    const double e = std::min(W / v.LargeurVue, H / v.HauteurVue);
    v.LargeurVue += Arrondi(50 / e);
    v.XDebVue = Arrondi(-20 / e);
    v.YDebVue = Arrondi(10 / e) + v.HauteurRaster;
    const double dx = W / e - v.LargeurVue, dy = H / e - v.HauteurVue;
    if (std::abs(dy) < std::abs(dx))
      v.XDebVue = -Arrondi(dx / 2);
    else
      v.YDebVue = Arrondi(dy / 2) + v.HauteurRaster;
  }
  AfficheVue(true);
}

void TNoyauGraphique::ZoomeCavite(const TZoomCavite& r) {
  auto& v = foundation::Vue();
  foundation::TPointTopo p;
  p.X = p.SlH = r.XInf;
  p.Y = p.Z = r.YSup;
  // Ground to view metres, as the screen conversions do, without their rounding.
  const auto versVue = [&](const foundation::TPointTopo& q, double& x, double& y) {
    const TPoint d = foundation::PtTopoVersDessin(q);
    x = static_cast<double>(d.X) / foundation::FacteurDessin;
    y = static_cast<double>(d.Y) / foundation::FacteurDessin;
  };
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  versVue(p, x1, y1);
  p.X = p.SlH = r.XSup;
  p.Y = p.Z = r.YInf;
  versVue(p, x2, y2);
  v.XDebVue = x1;
  v.YDebVue = y1;
  const double m = std::abs(x2 - x1), o = std::abs(y2 - y1);
  const double W = LargeurBoite(), H = HauteurBoite();
  if (m != 0 || o != 0) {
    double s = 0;
    bool hauteurLimite = false;
    if (m == 0) {
      s = H / o;
      hauteurLimite = true;
    } else if (o == 0) {
      s = W / m;
    } else {
      s = std::min(W / m, H / o);
      hauteurLimite = std::abs(s - W / m) > std::abs(s - H / o);
    }
    v.HauteurVue = 200 / s + o;
    v.LargeurVue = 200 / s + m;
    const double s2 = hauteurLimite ? H / v.HauteurVue : W / v.LargeurVue;
    if (hauteurLimite)
      v.XDebVue -= (W / s2 - v.LargeurVue) / 2;
    else
      v.YDebVue += (H / s2 - v.HauteurVue) / 2;
    v.XDebVue += -30 / s2;
    v.YDebVue += 30 / s2;
  }
  AfficheVue(false);
}

// --- Navigation ---------------------------------------------------------------------------------

void TNoyauGraphique::RepeintUnion(const Rect& a, const Rect& b) { RepeintZone(Union(a, b)); }

void TNoyauGraphique::BaseDessinMouseDown(Bouton b, EtatTouches t, int32_t x, int32_t y) {
  CtrlPresse = t.Ctrl;
  SourisDeplacee = false;
  if (b == Bouton::Droit && !t.Ctrl) {
    BtnDroitBaisse = true;
    XDeplace = YDeplace = 0;
  }
  XSourisVd = x;
  YSourisVd = y;
}

void TNoyauGraphique::BaseDessinMouseMove(EtatTouches, int32_t x, int32_t y) {
  XSouris = x;
  YSouris = y;
  if (DebutCadre) {
    // The rubber frame's right and top edges follow the cursor.
    const foundation::TRect avant = foundation::RectDessinVersEcran(CadreSelect);
    const TPoint p = foundation::EcranVersDessin({x, y});
    CadreSelect.Right = p.X;
    CadreSelect.Top = p.Y;
    const foundation::TRect apres = foundation::RectDessinVersEcran(CadreSelect);
    RepeintUnion(Rect{avant.Left, avant.Top, avant.Right + 1, avant.Bottom + 1},
                 Rect{apres.Left, apres.Top, apres.Right + 1, apres.Bottom + 1});
  }
  if (FenetreEnCours) {
    const Rect avant = Rect{std::min(CoinFenetre1.X, CoinFenetre2.X), std::min(CoinFenetre1.Y, CoinFenetre2.Y),
                            std::max(CoinFenetre1.X, CoinFenetre2.X) + 2, std::max(CoinFenetre1.Y, CoinFenetre2.Y) + 2};
    CoinFenetre2 = {x, y};
    const Rect apres = Rect{std::min(CoinFenetre1.X, x), std::min(CoinFenetre1.Y, y),
                            std::max(CoinFenetre1.X, x) + 2, std::max(CoinFenetre1.Y, y) + 2};
    RepeintUnion(avant, apres);
    SourisDeplacee = false;
  } else if (BtnDroitBaisse) {
    SourisDeplacee = true;
    if (!DeplacementEnCours) {
      curseurSauve_ = CurseurActuel();
      configSauvee_ = true;
      FixeCurseur(Curseur::Main);
    }
    XDeplace += x - XSourisVd;
    YDeplace += y - YSourisVd;
    DeplacementEnCours = true;
    Repeint();
  } else if (RegleActive) {
    if (DebutRegle) {
      xRegle_ = x;
      yRegle_ = y;
      Repeint();
    }
  } else {
    AfficheAccroche = AfficheAccroche || TraceEnCours;
    if (AfficheAccroche || PageSelectee) {
      const int32_t r = Arrondi(RayonAccroche() * foundation::Vue().EchelleVue);
      const Rect avant = CercleAccroche;
      CercleAccroche = Rect{x - r, y - r, x + r + 1, y + r + 1};
      RepeintUnion(avant, CercleAccroche);
    }
    if (ObjetEnCours) Repeint();
  }
  XSourisVd = x;
  YSourisVd = y;
}

void TNoyauGraphique::BaseDessinMouseUp(Bouton b, EtatTouches, int32_t x, int32_t y) {
  if (b != Bouton::Droit || !BtnDroitBaisse) return;
  if (configSauvee_ && !FenetreEnCours) {
    FixeCurseur(curseurSauve_);
    configSauvee_ = false;
  }
  auto& v = foundation::Vue();
  if (DeplacementEnCours) {
    v.XDebVue -= XDeplace / v.EchelleVue;
    v.YDebVue += YDeplace / v.EchelleVue;
    AfficheVue(false);
    DeplacementEnCours = false;
    XDeplace = YDeplace = 0;
    Repeint();
  } else if (!SourisDeplacee && !RegleActive) {
    if (!FenetreEnCours) {
      curseurSauve_ = CurseurActuel();
      configSauvee_ = true;
      FixeCurseur(Curseur::Loupe);
      CoinFenetre1 = CoinFenetre2 = {x, y};
    } else {
      CoinFenetre2 = {x, y};
      const double e = v.EchelleVue;
      const double x1 = CoinFenetre1.X / e + v.XDebVue, y1 = v.YDebVue - CoinFenetre1.Y / e;
      const double x2 = x / e + v.XDebVue, y2 = v.YDebVue - y / e;
      FixeCurseur(curseurSauve_);
      configSauvee_ = false;
      // A second click on the first one (a right double click) only closes the
      // zoom window: an empty view would leave the picture with no view.
      if (x2 != x1 || y2 != y1) {
        v.LargeurVue = std::abs(x2 - x1);
        v.HauteurVue = std::abs(y2 - y1);
        v.XDebVue = std::min(x1, x2);
        v.YDebVue = std::max(y1, y2);
        AfficheVue(false);
      }
      Repeint();
    }
    FenetreEnCours = !FenetreEnCours;
    Repeint();
  }
  SourisDeplacee = false;
  BtnDroitBaisse = false;
}

void TNoyauGraphique::BaseDessinClick() {
  const TPoint p = foundation::EcranVersDessin(PointSouris());
  if (RegleActive && !FenetreEnCours && !DeplacementEnCours) {
    foundation::TPointTopo sol;
    foundation::EcranVersPtTopo(PointSouris(), sol);
    if (DebutRegle) {
      DistanceRegle = foundation::DistanceXY(PointDebutRegle, sol);
      GistRegle = foundation::AzimutXY(PointDebutRegle, sol);
      DebutRegle = false;
      // The last line drawn stays on screen.
      regleFermee_ = true;
      xRegle_ = XSourisVd;
      yRegle_ = YSourisVd;
    } else {
      regleFermee_ = false;
      PointDebutRegle = sol;
      DebutRegle = true;
      DistanceRegle = -1.0;
      xRegle_ = XSourisVd;
      yRegle_ = YSourisVd;
    }
  }
  ClickDeplace = !(p == DerPointClique);
  DerPointClique = p;
}

void TNoyauGraphique::BaseDessinDblClick() {
  if (!AfficherCoord || FenetreEnCours || DeplacementEnCours) return;
  foundation::TPointTopo sol;
  foundation::EcranVersPtTopo(PointSouris(), sol);
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information, TexteCoordonnees(sol.X, sol.Y));
}

bool TNoyauGraphique::FormKeyDown(int touche) {
  if (touche != ToucheEchap || !FenetreEnCours) return false;
  FixeCurseur(curseurSauve_);
  configSauvee_ = false;
  FenetreEnCours = false;
  BtnDroitBaisse = false;
  Repeint();
  return true;
}

void TNoyauGraphique::FormMouseWheel(bool enAvant, int32_t x, int32_t y) {
  XSourisVd = x;
  YSourisVd = y;
  ZoomeSurPoint(x, y, FacteurMolette(enAvant, SensMolette()));
}

void TNoyauGraphique::ActiveRegle() {
  DebutRegle = false;
  regleFermee_ = false;
  RegleActive = !RegleActive;
  FixeCurseur(RegleActive ? Curseur::Croix : Curseur::Normal);
  if (!RegleActive) Repeint();
}

void TNoyauGraphique::TracePointeur(platform::Canvas& canvas) {
  if (!ObjetEnCours) return;
  const platform::CanvasPen sauve = canvas.Pen;
  canvas.Pen = {CouleurRegle, 1, platform::PenStyle::Solid, platform::PenMode::NotXor};
  if (DessinDeplTmp && !DessinDeplTmp->EstFixe) {
    DessinDeplTmp->Deplace(XSourisVd, YSourisVd);
    DessinDeplTmp->DessineObjet(canvas);
  } else if (TraceDerPoint && (!DessinDeplTmp || !DessinDeplTmp->DessinEnCours)) {
    const TPoint d = foundation::DessinVersEcran(DerPointClique);
    canvas.MoveTo(d.X, d.Y);
    canvas.LineTo(XSourisVd, YSourisVd);
  }
  canvas.Pen = sauve;
}

void TNoyauGraphique::DessineSurcouches(platform::Canvas& canvas) {
  const platform::CanvasPen pen = canvas.Pen;
  const platform::CanvasBrush brush = canvas.Brush;
  const platform::CanvasFont font = canvas.Font;
  if (!CercleAccroche.Empty() && !FenetreEnCours && !BtnDroitBaisse && !RegleActive) {
    canvas.Pen = {CouleurCercle, 1, platform::PenStyle::Solid, platform::PenMode::Copy};
    canvas.Brush.Style = platform::BrushStyle::Clear;
    canvas.Ellipse(CercleAccroche.Left, CercleAccroche.Top, CercleAccroche.Right - 1, CercleAccroche.Bottom - 1);
  }
  if (FenetreEnCours) {
    canvas.Pen = {CouleurFenetreZoom, 1, platform::PenStyle::Dash, platform::PenMode::NotXor};
    canvas.Brush.Style = platform::BrushStyle::Clear;
    canvas.Rectangle(CoinFenetre1.X, CoinFenetre1.Y, CoinFenetre2.X, CoinFenetre2.Y);
  }
  if (RegleActive && (DebutRegle || regleFermee_) && !BtnDroitBaisse) {
    const TPoint a = foundation::PtTopoVersEcran(PointDebutRegle);
    canvas.Pen = {CouleurRegle, 1, platform::PenStyle::Solid, platform::PenMode::NotXor};
    canvas.MoveTo(a.X, a.Y);
    canvas.LineTo(xRegle_, yRegle_);
    foundation::TPointTopo sol;
    foundation::EcranVersPtTopo({xRegle_, yRegle_}, sol);
    const std::string texte =
        TexteRegle(foundation::DistanceXY(PointDebutRegle, sol), foundation::AzimutXY(PointDebutRegle, sol));
    canvas.Font.Color = CouleurRegle;
    canvas.Brush.Style = platform::BrushStyle::Clear;
    const int32_t mx = (a.X + xRegle_) / 2, my = (a.Y + yRegle_) / 2;
    canvas.TextOut(mx - canvas.TextWidth(texte) / 2, my, texte);
  }
  if (DebutCadre) {
    const foundation::TRect r = foundation::RectDessinVersEcran(CadreSelect);
    canvas.Pen = {CouleurRegle, 1, platform::PenStyle::Dash, platform::PenMode::NotXor};
    canvas.Brush.Style = platform::BrushStyle::Clear;
    canvas.Rectangle(r.Left, r.Top, r.Right, r.Bottom);
  }
  TracePointeur(canvas);
  canvas.Pen = pen;
  canvas.Brush = brush;
  canvas.Font = font;
}

// --- Editing ------------------------------------------------------------------------------------

void TNoyauGraphique::InitModif(drawing::TObjetDessin* o) {
  ObjetEdite = nullptr;
  if (o && o->CalqueObjet) {
    drawing::TCalque* c = o->CalqueObjet;
    auto& liste = c->ObjetsDessines;
    const auto it = std::find_if(liste.begin(), liste.end(), [o](const auto& p) { return p.get() == o; });
    if (it != liste.end()) {
      sortiDuCalque_.reset(it->release());
      liste.erase(it);
    }
    RedessineVisu();
  }
  ObjetEdite = o;
  AfficheModif();
}

void TNoyauGraphique::AfficheModif() {
  platform::Canvas& bmp = *BmpDessin;
  if (BmpUndo->Width() == bmp.Width() && BmpUndo->Height() == bmp.Height()) {
    bmp.Copy = platform::CopyMode::SrcCopy;
    bmp.Draw(0, 0, *BmpUndo);
  }
  if (ObjetEdite && (ObjetEdite != DessinDeplTmp || (DessinDeplTmp && DessinDeplTmp->EstFixe)))
    ObjetEdite->DessineObjet(bmp);
  Repeint();
}

void TNoyauGraphique::FinModif(bool RetablirObjet) {
  if (ObjetEdite && sortiDuCalque_.get() == ObjetEdite) {
    drawing::TCalque* c = ObjetEdite->CalqueObjet;
    if (RetablirObjet && c)
      c->AjouteObjet(std::move(sortiDuCalque_));
    else
      sortiDuCalque_.reset();
  }
  ObjetEdite = nullptr;
}

// --- Scanned image ------------------------------------------------------------------------------

bool TNoyauGraphique::ChargeFichierTiff(const std::string& nom) {
  platform::BusyCursor sablier;
  std::string fichier = nom;
  if (!platform::FileExists(fichier)) fichier = platform::FileNameOf(fichier);
  platform::TChargeBitmap chargeur;
  TiffValide = chargeur.OuvreFichier(fichier) && chargeur.Image;
  if (TiffValide) {
    const platform::Raster& image = *chargeur.Image;
    ImageScan = BmpDessin->CreateBitmap(image.Width(), image.Height());
    image.Paint(*ImageScan, Rect{0, 0, image.Width(), image.Height()},
                platform::RectF{0, 0, static_cast<double>(image.Width()), static_cast<double>(image.Height())}, 255);
    auto& v = foundation::Vue();
    v.LargeurRaster = image.Width();
    v.HauteurRaster = image.Height();
  } else {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, "Impossible de charger le fichier " + nom);
  }
  return TiffValide;
}

void TNoyauGraphique::DechargeImage() {
  if (ImageScan) {
    const int32_t w = ImageScan->Width(), h = ImageScan->Height();
    ImageScan = BmpDessin->CreateBitmap(w, h);
  }
}

// --- Layers -------------------------------------------------------------------------------------

drawing::TObjetDessin* TNoyauGraphique::AjouteObjetDessin(TypeObjetDessin k,
                                                         std::unique_ptr<drawing::TObjetDessin> o) {
  return Calques.AjouteObjetDessin(k, std::move(o));
}

void TNoyauGraphique::EnleveObjetDessin(drawing::TCalque& calque) {
  if (calque.NombreObjets() == 0) return;
  calque.SupprimeObjet(calque.UnObjetDessin(calque.NombreObjets() - 1));
}

void TNoyauGraphique::ClearCalques() {
  Calques.ClearCalques();
  drawing::Dessin().CompteurObjets = 0;
}

void TNoyauGraphique::SelectCadreCalque(TypeObjetDessin k, std::vector<drawing::TObjetDessin*>& liste,
                                        const foundation::TRect& r) {
  if (ObjetsAffichables[k]) Calques.LeCalque(k).SelectCadre(liste, r);
}

void TNoyauGraphique::CreeDessin(drawing::TListeDonneesDessin& dessin, int32_t echelle) {
  drawing::CreeDessin(Calques, dessin, echelle);
}

void TNoyauGraphique::CreeDessinFdp(drawing::TListeDonneesDessin& dessin, TypeObjetDessin calque) {
  drawing::CreeDessinFdp(Calques, dessin, calque);
}

// --- Kind tables --------------------------------------------------------------------------------

void TNoyauGraphique::SetAffichable(TListeObjetDessin e) {
  ObjetsAffichables = TableDEnsemble(e);
  DerivePlansAffichables(ObjetsAffichables);
}

void TNoyauGraphique::RendAffichable(TListeObjetDessin e) {
  for (int k = 0; k < drawing::NombreTypesObjetDessin; ++k)
    if ((e >> k) & 1u) ObjetsAffichables.Types[static_cast<size_t>(k)] = true;
  DerivePlansAffichables(ObjetsAffichables);
}

void TNoyauGraphique::RendNonAffiche(TListeObjetDessin e) {
  for (int k = 0; k < drawing::NombreTypesObjetDessin; ++k)
    if ((e >> k) & 1u) ObjetsAffichables.Types[static_cast<size_t>(k)] = false;
  DerivePlansAffichables(ObjetsAffichables);
}

void TNoyauGraphique::SetSelectable(TListeObjetDessin e) { ObjetsSelectionnables = TableDEnsemble(e); }

void TNoyauGraphique::RendSelectable(TListeObjetDessin e) {
  SauveSelectables.push_back(ObjetsSelectionnables);
  ObjetsSelectionnables = TableDEnsemble(e);
}

void TNoyauGraphique::RestoreSelectable() {
  if (SauveSelectables.empty()) return;
  ObjetsSelectionnables = SauveSelectables.back();
  SauveSelectables.pop_back();
}

// --- Picking ------------------------------------------------------------------------------------

void TNoyauGraphique::ChercheObjetProche(int32_t x, int32_t y, drawing::TInfoObjet& r) {
  r = drawing::TInfoObjet{};
  r.D = -1;
  r.ObjetProche = nullptr;
  for (int k = static_cast<int>(odCompos); k <= static_cast<int>(odDessinSVG); ++k) {
    const auto nature = static_cast<TypeObjetDessin>(k);
    if (!ObjetsSelectionnables[nature]) continue;
    const bool cadres = nature == odCoupes || nature == odEcarts;
    for (const auto& o : Calques.LeCalque(nature).ObjetsDessines) {
      if (!o->EstAffiche) continue;
      if (cadres) {
        // A frame under the point wins at distance 0 over any line found.
        auto* cadre = dynamic_cast<drawing::TDessinRectDepl*>(o.get());
        if (!cadre || !cadre->EstSousCurseur(x, y)) continue;
        r = drawing::TInfoObjet{};
        r.D = 0;
        r.ObjetProche = o.get();
        r.NatureObjet = nature;
        continue;
      }
      if (o->EstRemplissage()) continue;
      drawing::TInfoObjet candidat;
      candidat.D = -1;
      o->DistanceObjet(x, y, candidat);
      if (candidat.D < 0) continue;
      if (r.D == -1 || candidat.D < r.D) {
        r = candidat;
        r.ObjetProche = o.get();
        r.NatureObjet = nature;
      }
    }
  }
  if (r.ObjetProche && (r.NatureObjet == odCoupes || r.NatureObjet == odEcarts)) r.D = 0;
}

bool TNoyauGraphique::ClickDansRayon() {
  ChercheObjetProche(XSouris, YSouris, ResultatProche);
  return ResultatProche.D > -1 && ResultatProche.D < RayonAccrocheLoc();
}

void TNoyauGraphique::InitFilAlaPatte(int32_t x, int32_t y) {
  DerPointClique = {x, y};
  TraceDerPoint = true;
}

}  // namespace views
