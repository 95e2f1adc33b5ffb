#include "drawing/point_compo.h"

#include <cmath>
#include <numbers>

#include "drawing/contexte_motifs.h"
#include "foundation/arrondi.h"
#include "foundation/chaines.h"
#include "foundation/transformation_vue.h"

namespace drawing {

using foundation::Arrondi;

namespace {

// A width of 0 keeps the pen's width, this colour keeps the pen's colour
// (the object's style).
constexpr uint32_t CouleurDuStyle = 0xFFFFFFFF;

constexpr TraitMarque Croix(int32_t epaisseur, uint32_t couleur, int32_t taille) {
  return {false, epaisseur, couleur, taille};
}
constexpr TraitMarque Cercle(int32_t epaisseur, uint32_t couleur, int32_t rayon) {
  return {true, epaisseur, couleur, rayon};
}

constexpr std::array<DefMarque, NombreTypesMarque> Marques{{
    {1, {Croix(0, CouleurDuStyle, 5)}},                                                         // Compo
    {1, {Croix(3, CouleurRouge, 11)}},                                                          // Boucle
    {1, {Croix(3, CouleurArgent, 11)}},                                                         // BoucleAOter
    {3, {Croix(5, CouleurRouge, 11), Croix(5, CouleurBlanche, 5), Croix(1, CouleurRouge, 7)}},  // Note
    {1, {Cercle(3, CouleurRouge, 10)}},                                                         // Visu
    {1, {Cercle(2, CouleurVerteVive, 10)}},                                                     // StatHabi
    {1, {Croix(4, CouleurVerteFoncee, 11)}},                                                    // NoteVert
    {0, {}},                                                                                    // Suite
    {0, {}},                                                                                    // DirectCoupe
    {1, {Croix(0, CouleurRouge, 8)}},                                                           // AxeCoupe
}};

// The text of a mark: typeface of the marks, font colour, white background.
void TexteMarque(platform::Canvas& canvas, int32_t x, int32_t y, const std::string& texte, int32_t taille,
                 uint32_t couleur, uint8_t style = 0) {
  canvas.Font.Name = PoliceMarques;
  canvas.Font.Height = 0;
  canvas.Font.Size = taille;
  canvas.Font.Style = style;
  canvas.Font.Color = couleur;
  canvas.Brush.Color = CouleurBlanche;
  canvas.Brush.Style = platform::BrushStyle::Solid;
  canvas.TextOut(x, y, texte);
}

}  // namespace

const DefMarque& MarquePoint(TypeMarque type) { return Marques[static_cast<size_t>(type)]; }

void DessineMarque(platform::Canvas& canvas, TypeMarque type, int32_t x, int32_t y) {
  const DefMarque& m = MarquePoint(type);
  for (int i = 0; i < m.NombreTraits; ++i) {
    const TraitMarque& t = m.Traits[static_cast<size_t>(i)];
    if (t.Epaisseur > 0) canvas.Pen.Width = t.Epaisseur;
    if (t.Couleur != CouleurDuStyle) canvas.Pen.Color = t.Couleur;
    if (t.Cercle) {
      canvas.Brush.Style = platform::BrushStyle::Clear;
      canvas.Ellipse(x - t.Taille, y - t.Taille, x + t.Taille, y + t.Taille);
    } else {
      foundation::DessineCroix(canvas, x, y, t.Taille);
    }
  }
}

// --- TPointCompo ------------------------------------------------------------------------

TPointCompo::TPointCompo(double Xp, double Yp) : TPointCompo(EnDessin{}, foundation::XYVersDessin(Xp, Yp)) {}

TPointCompo::TPointCompo(EnDessin, const foundation::TPoint& p) : Point(p) {
  ObjetMotif = &Motifs().TraitPointCompose;
  CodeAffichage = TypeObjetDessin::odCompos;
  EnvelRect = Point.EnvelRect;
}

void TPointCompo::DessineClique(platform::Canvas& canvas) const {
  canvas.Brush.Color = CouleurRouge;
  canvas.Brush.Style = platform::BrushStyle::Solid;
  canvas.Ellipse(Point.XVue - 20, Point.YVue - 20, Point.XVue + 20, Point.YVue + 20);
}

void TPointCompo::DessineCetObjet(platform::Canvas& canvas) {
  DessineMarque(canvas, TypeMarque::Compo, Point.XVue, Point.YVue);
  if (PointClique) DessineClique(canvas);
}

void TPointCompo::DistanceObjet(int32_t XPt, int32_t YPt, TInfoObjet& info) {
  info.NCav = info.NGal = -1;
  info.Pt1 = info.Pt2 = nullptr;
  info.D = Point.DistancePoint(XPt, YPt);
  info.ObjetProche = this;
}

void TPointBoucle::DessineCetObjet(platform::Canvas& canvas) {
  DessineMarque(canvas, Del ? TypeMarque::BoucleAOter : TypeMarque::Boucle, Point.XVue, Point.YVue);
}

// --- Notes -----------------------------------------------------------------------------------

TPointNote::TPointNote(int32_t X, int32_t Y) : TPointCompo(EnDessin{}, foundation::EcranVersDessin({X, Y})) {}

void TPointNote::DessineCetObjet(platform::Canvas& canvas) {
  DessineMarque(canvas, TypeMarque::Note, Point.XVue, Point.YVue);
}

void TPointVisu::DessineCetObjet(platform::Canvas& canvas) {
  DessineMarque(canvas, TypeMarque::Visu, Point.XVue, Point.YVue);
}

void TPointStatHabi::DessineCetObjet(platform::Canvas& canvas) {
  DessineMarque(canvas, TypeMarque::StatHabi, Point.XVue, Point.YVue);
}

void TPointNoteVert::DessineCetObjet(platform::Canvas& canvas) {
  DessineMarque(canvas, TypeMarque::NoteVert, Point.XVue, Point.YVue);
}

void TPointSuite::DessineCetObjet(platform::Canvas& canvas) {
  TexteMarque(canvas, Point.XVue + 5, Point.YVue, "??", 15, CouleursSuite[TypeSuite ? 1 : 0], platform::kFontBold);
}

void TPointCalage::DessineCetObjet(platform::Canvas& canvas) {
  TPointNote::DessineCetObjet(canvas);
  TexteMarque(canvas, Point.XVue + 20, Point.YVue - 10, foundation::EntierEnStr(Num), 12, CouleurRouge);
}

TPointDirectCoupe::TPointDirectCoupe(int32_t X, int32_t Y, double direction)
    : TPointNote(X, Y), Angle(-direction - std::numbers::pi) {}

void TPointDirectCoupe::DessineCetObjet(platform::Canvas& canvas) {
  using std::numbers::pi;
  canvas.Pen.Width = 2;
  canvas.Pen.Color = CouleurRouge;
  const double qx = Point.XVue + 20 * std::cos(Angle - pi);
  const double qy = Point.YVue + 20 * std::sin(Angle - pi);
  for (const double a : {Angle - pi / 2, Angle + pi / 2}) {
    canvas.MoveTo(Point.XVue, Point.YVue);
    canvas.LineTo(Arrondi(qx + 8 * std::cos(a)), Arrondi(qy + 8 * std::sin(a)));
  }
}

// --- Named points ------------------------------------------------------------------------------

void TPointDesign::DessineCetObjet(platform::Canvas& canvas) {
  TPointCompo::DessineCetObjet(canvas);
  if (!Affichage().ObjetsAffichablesCourants[TypeObjetDessin::odNumPt]) return;
  TexteMarque(canvas, Point.XVue + 10, Point.YVue - 10, design, 10, platform::kBlack);
}

void TPointTopoTH::DessineCetObjet(platform::Canvas& canvas) {
  canvas.Pen.Color = CouleurRouge;
  canvas.Brush.Color = CouleurBlanche;
  DessineMarque(canvas, TypeMarque::Compo, Point.XVue, Point.YVue);
  if (PointClique) DessineClique(canvas);
  TexteMarque(canvas, Point.XVue + 10, Point.YVue - 10, design, 10, CouleurRouge);
}

TDessinAxeCoupe::TDessinAxeCoupe(foundation::TObjetDeListe* unObjet, double Xp, double Yp) : TPointCompo(Xp, Yp) {
  ObjetDonnees = unObjet;
}

void TDessinAxeCoupe::DessineCetObjet(platform::Canvas& canvas) {
  DessineMarque(canvas, TypeMarque::AxeCoupe, Point.XVue, Point.YVue);
}

}  // namespace drawing
