#include "drawing/texture.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "drawing/contexte_motifs.h"
#include "drawing/dessin_ligne.h"
#include "drawing/objet_dessin.h"
#include "drawing/ports_motifs.h"
#include "drawing/sortie_svg.h"
#include "drawing/style_canvas.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"

namespace drawing {

using foundation::Arrondi;
using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;
using platform::Canvas;
using platform::Point;

std::string NomTypeTexture(int32_t type) {
  static const IdMsg noms[] = {IdMsg::TexturePoints,          IdMsg::TextureTraits,  IdMsg::TexturePolygones,
                               IdMsg::TexturePolygonesPleins, IdMsg::TextureEtoiles, IdMsg::TextureCailloutis};
  return type >= 1 && type <= 6 ? Msg(noms[type - 1]) : std::string();
}

int32_t DimSVGDuType(int32_t type) { return type <= 3 ? 500 : 100; }

bool tDefTexture::EcritObjet(TFlux& f) {
  TObjetMotifdeBase::EcritObjet(f);
  EcrisInteger(TypeTexture);
  EcrisInteger(static_cast<int32_t>(Couleur));
  EcrisInteger(Densite);
  EcrisInteger(TailleMin);
  EcrisInteger(TailleMax);
  return EcrisInteger(Epaisseur);
}

bool tDefTexture::LitObjet(TFlux& f) {
  TObjetMotifdeBase::LitObjet(f);
  int32_t couleur = 0;
  LisInteger(TypeTexture);
  LisInteger(couleur);
  LisInteger(Densite);
  LisInteger(TailleMin);
  LisInteger(TailleMax);
  LisInteger(Epaisseur);
  Couleur = static_cast<uint32_t>(couleur);
  if (Densite < 1) Densite = 1;
  if (TailleMax < TailleMin) TailleMax = TailleMin;
  Invalide();
  return ResultObjet;
}

void tDefTexture::CopieMotif(const TObjetMotifdeBase& source) {
  TObjetMotifdeBase::CopieMotif(source);
  if (const auto* t = dynamic_cast<const tDefTexture*>(&source)) {
    TypeTexture = t->TypeTexture;
    Couleur = t->Couleur;
    Densite = t->Densite;
    TailleMin = t->TailleMin;
    TailleMax = t->TailleMax;
    Epaisseur = t->Epaisseur;
  }
  Invalide();
}

bool tDefTexture::EstEquivalent(const TObjetMotifdeBase& autre) const {
  const auto* t = dynamic_cast<const tDefTexture*>(&autre);
  return t && TypeTexture == t->TypeTexture && Couleur == t->Couleur && Densite == t->Densite &&
         TailleMin == t->TailleMin && TailleMax == t->TailleMax && Epaisseur == t->Epaisseur;
}

std::string tDefTexture::CleEquivalence() const {
  return std::to_string(TypeTexture) + "/" + std::to_string(Couleur) + "/" + std::to_string(Densite) + "/" +
         std::to_string(TailleMin) + "/" + std::to_string(TailleMax) + "/" + std::to_string(Epaisseur);
}

// --- The random generator -----------------------------------------------------------

void AleaTexture::Reinitialise() {
  const auto& graine = Ports().GraineTexture;
  if (graine) {
    moteur_.seed(graine());
  } else {
    moteur_.seed(static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                 static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count()));
  }
}

int32_t AleaTexture::Random(int32_t n) {
  if (n <= 0) return 0;
  // The high half of the product of a 64-bit draw and n: uniform enough for
  // the pictures, and the same on every platform for one seed.
  const unsigned __int128 p = static_cast<unsigned __int128>(moteur_()) * static_cast<uint64_t>(n);
  return static_cast<int32_t>(p >> 64);
}

// --- The picture ---------------------------------------------------------------------

namespace {

// The count of motifs of one per densite square pixels, bounded.
int64_t NombreMotifs(double surface, int32_t densite, int64_t maximum) {
  const double n = std::nearbyint(surface / std::max(1, densite));
  return static_cast<int64_t>(std::clamp(n, 0.0, static_cast<double>(maximum)));
}

// A jitter of Random(15) x (Random(2) - 1): -14..0.
int32_t Gigue(AleaTexture& alea) {
  const int32_t a = alea.Random(15);
  return a * (alea.Random(2) - 1);
}

// The polygon's jitter: (Random(3) x (Random(2) - 1) x TailleMax) / 10 +
// TailleMin / 10, rounded.
int32_t GiguePolygone(AleaTexture& alea, int32_t tailleMin, int32_t tailleMax) {
  const int32_t a = alea.Random(3);
  const int32_t b = alea.Random(2) - 1;
  return Arrondi(static_cast<double>(a) * b * tailleMax / 10.0 + tailleMin / 10.0);
}

// The 13 control points of the rounded quadrilateral of a polygon motif.
void PolygoneTexture(AleaTexture& alea, int32_t x, int32_t y, int32_t tailleMin, int32_t tailleMax,
                     std::vector<foundation::TPoint>& chemin) {
  int32_t k[9];
  for (int32_t& v : k) v = GiguePolygone(alea, tailleMin, tailleMax);
  const int32_t s = tailleMin + k[0] * tailleMax;
  const foundation::TPoint coins[5] = {{x - s + k[1], y - s + k[2]},
                                       {x + s + k[3], y - s + k[4]},
                                       {x + s + k[5], y + s + k[6]},
                                       {x - s + k[7], y + s + k[8]},
                                       {x - s + k[1], y - s + k[2]}};
  CheminBezier(coins, chemin);
}

std::vector<Point> PointsCanvas(const std::vector<foundation::TPoint>& chemin) {
  std::vector<Point> r;
  r.reserve(chemin.size());
  for (const foundation::TPoint& p : chemin) r.push_back({p.X, p.Y});
  return r;
}

}  // namespace

namespace {

// The sizes a picture uses: within the bitmap's side, so that no motif
// coordinate overflows whatever a file holds.
struct Tailles {
  int32_t min, max, epaisseur;
};
Tailles TaillesBornees(const tDefTexture& t) {
  const int32_t borne = std::max(1, t.TailleBmp);
  const int32_t mini = std::clamp(t.TailleMin, 0, borne);
  return {mini, std::clamp(t.TailleMax, mini, borne), std::clamp(t.Epaisseur, 1, 100)};
}

}  // namespace

void tDefTexture::DessineMotifs(Canvas& c, AleaTexture& alea) const {
  const int32_t W = c.Width(), H = c.Height();
  const Tailles tailles = TaillesBornees(*this);
  const int32_t TailleMin = tailles.min, TailleMax = tailles.max, Epaisseur = tailles.epaisseur;
  const double surface = static_cast<double>(W) * H;
  c.Pen = {Couleur, 1, platform::PenStyle::Solid, platform::PenMode::Copy};
  c.Brush = {Couleur, platform::BrushStyle::Solid};
  std::vector<foundation::TPoint> chemin;
  switch (TypeTexture) {
    case TexturePoints: {
      const int64_t n = NombreMotifs(surface, Densite, static_cast<int64_t>(W) * H);
      for (int64_t i = 0; i < n; ++i) {
        const int32_t x = alea.Random(W);
        const int32_t y = alea.Random(H);
        c.SetPixel(x, y, Couleur);
      }
      break;
    }
    case TextureTraits: {
      c.Pen.Width = std::max(1, Epaisseur);
      // The grid step, widened so that the dashes stay within the bound.
      const int32_t pas =
          std::max<int32_t>(std::max(1, Densite), static_cast<int32_t>(std::ceil(std::sqrt(surface / MaxMotifsTexture))));
      for (int32_t x = pas; x <= W; x += pas) {
        for (int32_t y = pas; y <= H; y += pas) {
          const int32_t j1 = Gigue(alea);
          const int32_t j2 = Gigue(alea);
          c.MoveTo(x + j1 - TailleMax, y + j2);
          c.LineTo(x + j1 + TailleMax, y + j2);
        }
      }
      break;
    }
    case TexturePolygones:
    case TexturePolygonesPleins: {
      const int64_t n = NombreMotifs(surface, Densite, MaxMotifsTexture);
      for (int64_t i = 0; i < n; ++i) {
        const int32_t x = alea.Random(W);
        const int32_t y = alea.Random(H);
        PolygoneTexture(alea, x, y, TailleMin, TailleMax, chemin);
        const std::vector<Point> points = PointsCanvas(chemin);
        if (TypeTexture == TexturePolygonesPleins)
          c.Polygon(points);
        else
          c.Polyline(points);
      }
      break;
    }
    case TextureEtoiles: {
      const int64_t n = NombreMotifs(surface, Densite, MaxMotifsTexture);
      for (int64_t i = 0; i < n; ++i) {
        const int32_t x = alea.Random(W);
        const int32_t y = alea.Random(H);
        c.MoveTo(x, y - 5);
        c.LineTo(x, y + 5);
        c.MoveTo(x - 5, y - 3);
        c.LineTo(x + 5, y + 3);
        c.MoveTo(x + 5, y - 3);
        c.LineTo(x - 5, y + 3);
      }
      break;
    }
    case TextureCailloutis: {
      c.Pen.Width = 2;
      // At least one pixel between pebbles, and no more pebbles than the bound.
      const double pas = std::max({Densite / 10.0, 1.0, std::sqrt(surface / MaxMotifsTexture)});
      const int32_t ni = Arrondi(W / pas), nj = Arrondi(H / pas);
      const int32_t ecart = std::max(0, TailleMax - TailleMin);
      std::vector<Point> points;
      for (int32_t i = 1; i <= ni; ++i) {
        for (int32_t j = 1; j <= nj; ++j) {
          const int32_t x = Arrondi(pas * i), y = Arrondi(pas * j);
          const int32_t cx = x + alea.Random(20);
          const int32_t cy = y + alea.Random(20);
          const int32_t n = 3 + alea.Random(7);
          const double a = 2 * std::numbers::pi / (n + 1);
          const auto borne = [&](double px, double py) {
            return Point{std::clamp(Arrondi(px), 0, W - 1), std::clamp(Arrondi(py), 0, H - 1)};
          };
          points.clear();
          points.push_back(borne(cx + TailleMin + alea.Random(ecart), cy));
          for (int32_t w = 1; w <= n; ++w) {
            const double angle = a * w + alea.Random(Arrondi(a * 100)) / 100.0;
            const int32_t r = TailleMin + alea.Random(ecart);
            points.push_back(borne(cx + r * std::cos(angle), cy + r * std::sin(angle)));
          }
          c.Polyline(points);
        }
      }
      break;
    }
    default:
      break;
  }
}

void tDefTexture::InitTexture() {
  const int32_t t = std::clamp(TailleBmp, 1, 4000);
  if (!bmp_ || bmp_->Width() != t || bmp_->Height() != t) {
    bmp_ = platform::CanvasFactory::Current().CreateBitmap(t, t);
  } else {
    foundation::EffaceBitmap(*bmp_);
  }
  AleaTexture alea;
  DessineMotifs(*bmp_, alea);
  aGenerer_ = false;
}

Canvas& tDefTexture::BmpTexture() {
  if (AGenerer()) InitTexture();
  return *bmp_;
}

// --- The SVG pattern -------------------------------------------------------------------

void tDefTexture::CreeTextureSVG(SortieSVG& svg, int) {
  DimSVG = DimSVGDuType(TypeTexture);
  const int32_t D = DimSVG;
  const std::string d = svg.ChiffreSVG(D);
  const std::string couleur = svg.CouleurSVG(Couleur);
  const auto n = [&](double v) { return svg.ChiffreSVG(v); };
  const Tailles tailles = TaillesBornees(*this);
  const int32_t TailleMin = tailles.min, TailleMax = tailles.max, Epaisseur = tailles.epaisseur;
  svg.EcritBlocSVG("pattern id=\"" + NomMotifSVG + "\" patternUnits=\"userSpaceOnUse\"");
  svg.EcritLigneSVG("x=\"0\" y=\"0\" width=\"" + d + "\" height=\"" + d + "\"");
  svg.EcritLigneSVG("viewBox=\"0 0 " + d + " " + d + "\">");
  ++svg.NBIndent;
  AleaTexture alea;
  const double surface = static_cast<double>(D) * D;
  switch (TypeTexture) {
    case TexturePoints: {
      const int64_t nb = NombreMotifs(surface / 10.0, Densite, MaxMotifsTexture);
      for (int64_t i = 0; i < nb; ++i) {
        const int32_t x = alea.Random(D);
        const int32_t y = alea.Random(D);
        svg.EcritFinLigneSVG("<circle cx=\"" + n(x) + "\" cy=\"" + n(y) + "\" r=\"1\" fill=\"" + couleur + "\"");
      }
      break;
    }
    case TextureTraits: {
      const int32_t pas = std::max<int32_t>(
          2 * std::max(1, Densite), static_cast<int32_t>(std::ceil(std::sqrt(surface / MaxMotifsTexture))));
      svg.EcritBlocSVG("path");
      std::string donnees = "d=\"";
      int tirets = 0;
      double xFin = 0, yFin = 0;
      for (int32_t c = pas; c <= D; c += pas) {
        for (int32_t r = pas; r <= D; r += pas) {
          const int32_t j1 = Gigue(alea);
          const int32_t j2 = Gigue(alea);
          const double x = c - 3 + j1, y = r + j2;
          donnees += "m " + n(x - xFin) + "," + n(y - yFin) + " l 6,0 ";
          xFin = x + 6;
          yFin = y;
          if (++tirets % 11 == 0) {
            svg.EcritLigneSVG(donnees);
            donnees.clear();
          }
        }
      }
      svg.EcritLigneSVG(donnees + "\"");
      svg.EcritFinLigneSVG("fill=\"none\" stroke=\"" + couleur + "\" stroke-width=\"" + n(Epaisseur) + "\"");
      break;
    }
    case TexturePolygones:
    case TexturePolygonesPleins: {
      const int64_t nb = NombreMotifs(surface / 10.0, Densite, MaxMotifsTexture);
      std::vector<foundation::TPoint> chemin;
      const std::string remplissage = TypeTexture == TexturePolygonesPleins ? couleur : "none";
      for (int64_t i = 0; i < nb; ++i) {
        const int32_t x = alea.Random(D);
        const int32_t y = alea.Random(D);
        PolygoneTexture(alea, x, y, TailleMin, TailleMax, chemin);
        svg.EcritBlocSVG("polygon fill=\"" + remplissage + "\" stroke=\"" + couleur + "\" stroke-width=\"1\"");
        svg.EcritLigneSVG("points=\"");
        for (size_t k = 0; k < chemin.size(); ++k) {
          if (k > 0 && chemin[k] == chemin[k - 1]) continue;
          svg.EcritLigneSVG(n(chemin[k].X) + "," + n(chemin[k].Y));
        }
        svg.EcritFinLigneSVG("\"");
      }
      break;
    }
    case TextureEtoiles: {
      const int64_t nb = NombreMotifs(surface, Densite, MaxMotifsTexture);
      for (int64_t i = 0; i < nb; ++i) {
        const int32_t x = alea.Random(D);
        const int32_t y = alea.Random(D);
        svg.EcritFinLigneSVG("<path d=\"M " + n(x) + "," + n(y - 10) + " l 0,20 M " + n(x - 10) + "," + n(y - 6) +
                             " l 20,12 M " + n(x + 10) + "," + n(y - 6) + " l -20,12\" fill=\"none\" stroke=\"" +
                             couleur + "\" stroke-width=\"" + n(Epaisseur) + "\"");
      }
      break;
    }
    default:
      break;
  }
  --svg.NBIndent;
  svg.EcritFinBlocSVG("pattern");
}

// --- Tiling ------------------------------------------------------------------------------

namespace {

// Copies smaller than this many pixels across are tiled through a bitmap of
// the visible part of the rectangle, filled by doubling from one shrunk copy.
constexpr double MinCopieDirecte = 8;

void PaveParDoublement(Canvas& canvas, int32_t largeur, int32_t hauteur, Canvas& bmp, double fx, double fy,
                       int32_t decalageX, int32_t decalageY) {
  const int32_t tw = std::max(1, Arrondi(bmp.Width() / fx));
  const int32_t th = std::max(1, Arrondi(bmp.Height() / fy));
  // The scratch holds one more copy in each direction when the tiling is
  // shifted, so that the visible part is read from it at the shift.
  decalageX = decalageX % tw;
  decalageY = decalageY % th;
  const int32_t L = largeur + decalageX, H = hauteur + decalageY;
  std::unique_ptr<Canvas> scratch = canvas.CreateBitmap(L, H);
  scratch->Copy = platform::CopyMode::SrcCopy;
  const int32_t w0 = std::min(tw, L), h0 = std::min(th, H);
  scratch->CopyRect({0, 0, w0, h0}, bmp,
                    {0, 0, std::clamp(Arrondi(w0 * fx), 1, bmp.Width()), std::clamp(Arrondi(h0 * fy), 1, bmp.Height())});
  for (int32_t w = tw; w < L; w *= 2) {
    const int32_t n = std::min(w, L - w);
    scratch->CopyRect({w, 0, w + n, h0}, *scratch, {0, 0, n, h0});
  }
  for (int32_t h = th; h < H; h *= 2) {
    const int32_t n = std::min(h, H - h);
    scratch->CopyRect({0, h, L, h + n}, *scratch, {0, 0, L, n});
  }
  canvas.CopyRect({0, 0, largeur, hauteur}, *scratch, {decalageX, decalageY, decalageX + largeur, decalageY + hauteur});
}

}  // namespace

void PaveTexture(Canvas& canvas, int32_t largeur, int32_t hauteur, tDefTexture& texture, double coefficient,
                 int32_t origineX, int32_t origineY) {
  if (largeur <= 0 || hauteur <= 0) return;
  const double echelle = foundation::Vue().EchelleVue;
  double f = 1;
  if (!foundation::Impression().EnImpression && coefficient != -1 && echelle > 0 && coefficient > echelle)
    f = coefficient / echelle;
  Canvas& bmp = texture.BmpTexture();
  const double tw = bmp.Width(), th = bmp.Height();
  // The rectangle the copies would cover before being stretched back.
  const double W = std::max(1.0, std::nearbyint(largeur * f));
  const double H = std::max(1.0, std::nearbyint(hauteur * f));
  const double rx = largeur / W, ry = hauteur / H;
  // Only the part of the rectangle on the canvas is drawn.
  const int32_t visibleX = std::min(largeur, canvas.Width()), visibleY = std::min(hauteur, canvas.Height());
  if (visibleX <= 0 || visibleY <= 0) return;
  const platform::CopyMode sauve = canvas.Copy;
  canvas.Copy = platform::CopyMode::SrcAnd;
  if (tw * rx < MinCopieDirecte || th * ry < MinCopieDirecte) {
    PaveParDoublement(canvas, visibleX, visibleY, bmp, 1 / rx, 1 / ry, std::max(0, origineX), std::max(0, origineY));
  } else {
    // The copies start where the tiling of the whole shape puts them: the
    // rectangle begins (origineX, origineY) pixels into that shape.
    const double debutX = -std::fmod(std::max(0, origineX) / rx, tw);
    const double debutY = -std::fmod(std::max(0, origineY) / ry, th);
    for (double y0 = debutY; y0 < H; y0 += th) {
      const double sh = std::min(th, H - y0);
      const int32_t haut = Arrondi(y0 * ry), bas = Arrondi((y0 + sh) * ry);
      if (haut >= visibleY) break;
      if (bas <= haut) continue;
      for (double x0 = debutX; x0 < W; x0 += tw) {
        const double sw = std::min(tw, W - x0);
        const int32_t gauche = Arrondi(x0 * rx), droite = Arrondi((x0 + sw) * rx);
        if (gauche >= visibleX) break;
        if (droite <= gauche) continue;
        canvas.CopyRect({gauche, haut, droite, bas}, bmp, {0, 0, static_cast<int32_t>(sw), static_cast<int32_t>(sh)});
      }
    }
  }
  canvas.Copy = sauve;
}

std::unique_ptr<tTexture> tTexture::CloneTexture() const {
  auto t = std::make_unique<tTexture>();
  t->CopieMotif(*this);
  return t;
}

tTexture* TListeTextures::LaTexture(int i) const {
  if (i < 0 || i >= Count()) throw std::out_of_range("indice de texture hors de la liste");
  return static_cast<tTexture*>(UnObjet(i));
}

void TListeTextures::InitDefaut() {
  RAZ();
  NbreMotifsFixes = 3;
  struct Ligne {
    IdMsg nom;
    int32_t type;
    uint32_t couleur;
    int32_t densite, tailleMin, tailleMax, epaisseur;
  };
  static const Ligne lignes[] = {
      {IdMsg::TextureSable, 1, 0x000000, 50, 0, 10, 1},
      {IdMsg::TextureArgile, 2, 0x000080, 15, 0, 3, 1},
      {IdMsg::TextureGraviers, 3, 0x000000, 150, 2, 8, 1},
  };
  for (const Ligne& l : lignes) {
    std::unique_ptr<TObjetMotifdeBase> m = CreeMotif();
    auto* t = static_cast<tDefTexture*>(m.get());
    t->DesignMotif = Msg(l.nom);
    t->TypeTexture = l.type;
    t->Couleur = l.couleur;
    t->Densite = l.densite;
    t->TailleMin = l.tailleMin;
    t->TailleMax = l.tailleMax;
    t->Epaisseur = l.epaisseur;
    AjouteMotif(std::move(m));
  }
}

}  // namespace drawing

namespace drawing {

void tTexture::TraceVisuMotif(Canvas& bitmap) {
  TObjetTrait& paroi = Motifs().TraitParoi;
  paroi.FixeTexture(this);
  // The closed line through (-50, -50), (-50, 200), (200, 200), (200, -50)
  // metres, y negated.
  const foundation::TPoint coins[4] = {PointVueDessin(-50000, 50000), PointVueDessin(-50000, -200000),
                                       PointVueDessin(200000, -200000), PointVueDessin(200000, 50000)};
  platform::Rect r{coins[0].X, coins[0].Y, coins[0].X, coins[0].Y};
  for (const foundation::TPoint& p : coins) {
    r.Left = std::min(r.Left, p.X);
    r.Top = std::min(r.Top, p.Y);
    r.Right = std::max(r.Right, p.X);
    r.Bottom = std::max(r.Bottom, p.Y);
  }
  GardeStyleCanvas garde(bitmap);
  const std::optional<platform::Rect> clip = bitmap.ClipRect();
  bitmap.SetClipRect(r);
  PaveTexture(bitmap, bitmap.Width(), bitmap.Height(), *this, -1);
  if (clip)
    bitmap.SetClipRect(*clip);
  else
    bitmap.ClearClipRect();
  AppliqueTrait(bitmap, &paroi);
  bitmap.Brush.Style = platform::BrushStyle::Clear;
  std::vector<Point> contour;
  for (const foundation::TPoint& p : coins) contour.push_back({p.X, p.Y});
  contour.push_back(contour.front());
  bitmap.Polyline(contour);
}

}  // namespace drawing
