#include "drawing/dessin_texte.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "drawing/contexte_motifs.h"
#include "drawing/elements_dessin.h"
#include "drawing/liste_mtf.h"
#include "drawing/ports_motifs.h"
#include "drawing/style_canvas.h"
#include "foundation/arrondi.h"
#include "foundation/contexte_impression.h"
#include "foundation/texte_canvas.h"
#include "foundation/transformation_vue.h"
#include "foundation/utilitaires.h"
#include "survey/point_speleo.h"

namespace drawing {

using foundation::Arrondi;
using foundation::TPoint;
using foundation::TPointTopo;
using platform::Canvas;

double TailleMinFonte() {
  return foundation::Impression().EnImpression ? TailleMinFonteImpression : TailleMinFonteEcran;
}

void AppliqueFonte(Canvas& canvas, const TDefObjetFonte& fonte) {
  canvas.Font.Name = fonte.NomPolice;
  canvas.Font.Color = fonte.Couleur;
  canvas.Font.Size = fonte.Taille;
  canvas.Font.Height = 0;
  canvas.Font.Style = fonte.Style.Bits_();
}

namespace {

// Height of "T" in the font, ground metres, as TailleTexte measures widths.
double HauteurTexteSol(const TDefObjetFonte& fonte) {
  double largeur = 0, hauteur = 0;
  if (!Ports().MesureTexte || !Ports().MesureTexte(fonte, "T", largeur, hauteur)) return 0;
  return hauteur / 96.0 * 0.0254 * foundation::Vue().EchelleFontes;
}

}  // namespace

// --- TDessinTexte -----------------------------------------------------------------

TDessinTexte::TDessinTexte(const TDefObjetTrait* vMotif, foundation::TObjetDeListe* unObjet)
    : TDessinDeplacable(vMotif, unObjet) {
  CodeAffichage = TypeObjetDessin::odTexte;
}

void TDessinTexte::InitObjet(int32_t Xs, int32_t Ys) {
  PointsList.clear();
  const TPoint c = foundation::EcranVersDessin({Xs, Ys});
  PtCentre = foundation::PtTopoXY(c.X, c.Y);
  Long = GetTailleTexte();
  Orient = 0;
  AjoutePointLoc(c.X, c.Y);
  AjoutePointLoc(Arrondi(c.X + Long), c.Y);
  EstFixe = false;
}

double TDessinTexte::TailleTexteDessin() const {
  if (tdFonte == nullptr) return 0;
  return drawing::TailleTexte(*tdFonte, tdEstHoriz ? foundation::LigneLaPlusLongue(tdTexte) : tdTexte);
}

double TDessinTexte::GetTailleTexte() const { return TailleTexteDessin() * 1000 / 2; }

void TDessinTexte::CalculeEnveloppe() {
  if (PointsList.empty()) return;
  foundation::TRect r = PointsList[0].EnvelRect;
  for (const TPointDeBase& p : PointsList) {
    foundation::TRect u;
    foundation::UnionRectY(r, p.EnvelRect, u);
    r = u;
  }
  if (tdFonte != nullptr) {
    const int32_t m = Arrondi(drawing::TailleTexte(*tdFonte, "M") * 1000);
    const int32_t h = Arrondi(HauteurTexteSol(*tdFonte) * 1000);
    r.Left -= m;
    r.Right += m;
    r.Top += h;
  }
  EnvelRect = r;
  EnveloppeModifiee = false;
}

void TDessinTexte::Tourne(bool Sens) {
  if (!tdEstHoriz) TDessinDeplacable::Tourne(Sens);
}

void TDessinTexte::Dimension(bool Sens) {
  const tListeMtf* mtf = Dessin().ListesMtfReseau;
  if (mtf != nullptr && mtf->ListeFontes.Count() > 0) {
    const TListeFontes& fontes = mtf->ListeFontes;
    const int n = fontes.Count();
    int i = tdFonte != nullptr ? fontes.IndexOf(tdFonte) : -1;
    if (i < 0)
      i = 0;
    else
      i = Sens ? (i + 1) % n : (i + n - 1) % n;
    tdFonte = fontes.LaFonte(i);
  }
  Long = GetTailleTexte();
}

void TDessinTexte::DessineObjetDeplacable(Canvas& canvas) { DessineTexteAjuste(canvas); }

void TDessinTexte::DessineTexteAjuste(Canvas& canvas) {
  if (PointsList.size() < 2) return;
  const platform::CanvasFont fonteAvant = canvas.Font;
  const bool autres = Affichage().DessinAutresCavites;
  if (tdFonte != nullptr) AppliqueFonte(canvas, *tdFonte);
  if (autres) canvas.Font.Color = CouleurArgent;
  const std::string ligne = tdEstHoriz ? foundation::LigneLaPlusLongue(tdTexte) : tdTexte;
  const TPoint p0 = PointsList[0].PtVue(), p1 = PointsList[1].PtVue();
  const int32_t w = canvas.TextWidth(ligne);
  if (w != 0) canvas.Font.Size = Arrondi(foundation::DistancePoints(p0, p1) / w * canvas.Font.Size);
  if (tdEstHoriz) Orient = 0;
  canvas.Brush.Style = platform::BrushStyle::Clear;
  const bool lisible = canvas.Font.Size >= TailleMinFonte();
  if (lisible) {
    if (Selecte) canvas.Pen = {CouleurSelection, 1, platform::PenStyle::DashDot, platform::PenMode::Copy};
    if (tdEstHoriz)
      foundation::DessineTexteMultiLigne(canvas, tdTexte, p1.X, p1.Y, Selecte, false, tdAlignTexte);
    else
      foundation::TexteTourne(canvas, p1.X, p1.Y, Orient, tdTexte, Selecte);
  }
  if (PointsList.size() > 2 && lisible) {
    const TPoint p2 = PointsList[2].PtVue();
    const int32_t u = canvas.TextWidth(ligne);
    const TPoint a = p1, b = {p1.X + u, p1.Y};
    const bool aPlusLoin = foundation::DistancePoints(a, p2) > foundation::DistancePoints(b, p2);
    const TPoint loin = aPlusLoin ? a : b, proche = aPlusLoin ? b : a;
    canvas.Pen = {autres ? CouleurArgent : canvas.Font.Color, foundation::Impression().EnImpression ? 2 : 1,
                  platform::PenStyle::Solid, platform::PenMode::Copy};
    canvas.MoveTo(loin.X, loin.Y);
    canvas.LineTo(proche.X, proche.Y);
    canvas.LineTo(p2.X, p2.Y);
    const double s = foundation::Vue().EchelleFontes * FacteurFleche() / 1000;
    if (!autres) {
      if (tdTypeFleche == 1 || tdTypeFleche == 2) {
        DessinePointeFleche(p2, proche, Arrondi(2 * s), tdTypeFleche == 2, canvas);
      } else if (tdTypeFleche == 3) {
        canvas.Brush = {canvas.Font.Color, platform::BrushStyle::Solid};
        canvas.Pen.Color = canvas.Font.Color;
        canvas.Ellipse(p2.X - 3, p2.Y - 3, p2.X + 3, p2.Y + 3);
      }
    }
  }
  if (tdEstPolygo && tdPointPolyRef != nullptr) {
    // The polygon marker of the surface point, in the text's selection state.
    const bool alti = foundation::EstDessinAlti();
    const TPoint d = foundation::XYVersDessin(alti ? tdPointPolyRef->Slh : tdPointPolyRef->X,
                                              alti ? tdPointPolyRef->ZCalc : tdPointPolyRef->Y);
    const TPoint c = PointVueDessin(d.X, d.Y);
    double r = std::max(0.3 * foundation::Vue().EchelleVue, 2.0);
    if (foundation::Impression().EnImpression) r *= 5;
    GardeStyleCanvas garde(canvas);
    AppliqueTrait(canvas, &Motifs().TraitPointsSurface);
    if (Selecte) canvas.Pen.Color = clSelecte;
    for (const int32_t rayon : {2 * Arrondi(r), 2 * Arrondi(0.6 * r)})
      canvas.Ellipse(c.X - rayon, c.Y - rayon, c.X + rayon, c.Y + rayon);
  }
  canvas.Font = fonteAvant;
}

// --- TTexteSurLigne ---------------------------------------------------------------

void TTexteSurLigne::InitObjet(int32_t Xs, int32_t Ys) {
  PointsList.clear();
  Long = GetTailleTexte();
  const TPoint c = foundation::EcranVersDessin({Xs, Ys});
  AjoutePointLoc(c.X, c.Y);
  PtCentre = foundation::PtTopoXY(c.X, c.Y);
  Orient = 0;
  EstFixe = false;
}

void TTexteSurLigne::DessineCetObjet(Canvas& canvas) {
  if (PointsList.size() == 1 && !EstFixe) PointsList[0].FixePosition(Arrondi(PtCentre.X), Arrondi(PtCentre.Y));
  CalculPointsVue();
  DessineObjetDeplacable(canvas);
}

void TTexteSurLigne::DessineObjetDeplacable(Canvas& canvas) {
  if (PointsList.empty()) return;
  if (PointsList.size() == 1) {
    // Straight, from 2 x Long before the centre to the centre: the text is
    // written from point 1, so the temporary point goes second.
    const TPointDeBase seul = PointsList[0];
    PointsList.emplace_back(Arrondi(PtCentre.X - 2 * Long), Arrondi(PtCentre.Y));
    PointsList[0] = TPointDeBase(Arrondi(PtCentre.X), Arrondi(PtCentre.Y));
    CalculPointsVue();
    struct Remet {
      std::vector<TPointDeBase>& l;
      TPointDeBase p;
      ~Remet() { l = {p}; }
    } remet{PointsList, seul};
    DessineTexteAjuste(canvas);
    return;
  }
  if (!EstFixe || Selecte) {
    TDessinLigne guide(&Motifs().TraitGuideTexte);
    guide.PointsList = PointsList;
    guide.Selecte = true;
    guide.EstElementSymbole = true;
    guide.DessineObjet(canvas);
  }
  Long = GetTailleTexte();
  PtCentre = PointsList[0].PTopoLoc();
  std::vector<TPoint> ancres;
  for (const TPointDeBase& p : PointsList) ancres.push_back(p.PtVue());
  std::vector<TPoint> chemin;
  CheminBezier(ancres, chemin);
  const platform::CanvasFont fonteAvant = canvas.Font;
  if (tdFonte != nullptr) AppliqueFonte(canvas, *tdFonte);
  if (Affichage().DessinAutresCavites) canvas.Font.Color = CouleurArgent;
  const int32_t echelleFontes = foundation::Vue().EchelleFontes;
  if (echelleFontes != 0) {
    const double L = TailleTexteDessin() * 1000 * EchelleDessinInitial / echelleFontes;
    const TPoint a = PointsList[0].PtVue();
    const TPoint b = PointVueDessin(Arrondi(PointsList[0].XLoc + L), PointsList[0].YLoc);
    const double lPixels = foundation::DistancePoints(a, b);
    const int32_t w = canvas.TextWidth(tdTexte);
    if (w != 0) canvas.Font.Size = Arrondi(canvas.Font.Size * lPixels / w);
  }
  if (canvas.Font.Size >= TailleMinFonte())
    TexteSurBezier(canvas, chemin, static_cast<int>(chemin.size()) - 1, tdTexte);
  canvas.Font = fonteAvant;
}

// --- Text along a curve -----------------------------------------------------------------

namespace {

// The characters of a UTF-8 text, each as its bytes.
std::vector<std::string> Caracteres(const std::string& texte) {
  std::vector<std::string> r;
  for (size_t i = 0; i < texte.size();) {
    const unsigned char c = static_cast<unsigned char>(texte[i]);
    size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
    n = std::min(n, texte.size() - i);
    r.push_back(texte.substr(i, n));
    i += n;
  }
  return r;
}

struct PointReel {
  double x, y;
};

// The path flattened into steps of at most a quarter of a pixel.
void Aplatit(std::span<const TPoint> p, std::vector<PointReel>& r) {
  r.clear();
  r.push_back({static_cast<double>(p[0].X), static_cast<double>(p[0].Y)});
  for (size_t j = 0; j + 3 < p.size(); j += 3) {
    const double l = foundation::DistancePoints(p[j], p[j + 1]) + foundation::DistancePoints(p[j + 1], p[j + 2]) +
                     foundation::DistancePoints(p[j + 2], p[j + 3]);
    const int n = std::clamp(static_cast<int>(std::ceil(l / 0.25)), 1, 1000000);
    for (int k = 1; k <= n; ++k) {
      const double t = static_cast<double>(k) / n, u = 1 - t;
      const double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
      r.push_back({a * p[j].X + b * p[j + 1].X + c * p[j + 2].X + d * p[j + 3].X,
                   a * p[j].Y + b * p[j + 1].Y + c * p[j + 2].Y + d * p[j + 3].Y});
    }
  }
}

}  // namespace

void TexteSurBezier(Canvas& canvas, std::span<const TPoint> points, int hauteBorne, const std::string& texte) {
  if (texte.empty() || hauteBorne < 0) return;
  const size_t n = std::min(points.size(), static_cast<size_t>(hauteBorne) + 1);
  if (n < 4 || (n - 1) % 3 != 0) return;
  std::vector<PointReel> chemin;
  Aplatit(points.first(n), chemin);
  std::vector<double> cumul(chemin.size(), 0.0);
  for (size_t i = 1; i < chemin.size(); ++i)
    cumul[i] = cumul[i - 1] + std::hypot(chemin[i].x - chemin[i - 1].x, chemin[i].y - chemin[i - 1].y);
  const double P = cumul.back();
  const std::vector<std::string> car = Caracteres(texte);
  // Each distinct character measured once.
  std::vector<double> largeurs;
  std::vector<std::pair<std::string, double>> mesures;
  double W = 0;
  for (const std::string& c : car) {
    auto m = std::find_if(mesures.begin(), mesures.end(), [&](const auto& p) { return p.first == c; });
    if (m == mesures.end()) m = mesures.insert(mesures.end(), {c, static_cast<double>(canvas.TextWidth(c))});
    largeurs.push_back(m->second);
    W += largeurs.back();
  }
  const double extra = car.size() > 1 ? (P - W) / static_cast<double>(car.size() - 1) : 0;
  const platform::BrushStyle brosse = canvas.Brush.Style;
  canvas.Brush.Style = platform::BrushStyle::Clear;
  const platform::CanvasFont fonte = canvas.Font;
  const double h = canvas.TextHeight("Yy");
  double avance = 0;
  size_t k = 1;
  for (size_t i = 0; i < car.size(); ++i) {
    avance += largeurs[i] / 2;
    if (avance > P || avance < 0) break;
    while (k + 1 < cumul.size() && cumul[k] < avance) ++k;
    const PointReel a = chemin[k - 1], b = chemin[k];
    const double l = cumul[k] - cumul[k - 1];
    const double t = l > 0 ? (avance - cumul[k - 1]) / l : 0;
    const double x = a.x + t * (b.x - a.x), y = a.y + t * (b.y - a.y);
    const double dx = b.x - a.x, dy = b.y - a.y;
    double alpha = std::atan2(-dy, dx);
    if (alpha < 0) alpha += 2 * std::numbers::pi;
    int degres = Arrondi(alpha * 180 / std::numbers::pi);
    if (degres > 180) degres -= 360;
    if (degres == 0) degres = 1;
    const double ux = l > 0 ? dx / l : 1, uy = l > 0 ? dy / l : 0;
    // Back by half the width along the segment, and one height to the left
    // of the way (the top of the character cell).
    const double px = x - ux * largeurs[i] / 2 + uy * h, py = y - uy * largeurs[i] / 2 - ux * h;
    canvas.Font.Escapement = degres * 10;
    canvas.TextOut(Arrondi(px), Arrondi(py), car[i]);
    avance += largeurs[i] / 2 + std::trunc(extra);
    const double produit = static_cast<double>(i) * extra;
    avance += Arrondi(produit - std::trunc(produit));
  }
  canvas.Font = fonte;
  canvas.Brush.Style = brosse;
}

}  // namespace drawing
