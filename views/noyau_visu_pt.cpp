#include "views/noyau_visu_pt.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "drawing/point_compo.h"
#include "foundation/arrondi.h"
#include "foundation/chaines.h"
#include "foundation/transformation_vue.h"
#include "survey/cavite.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"
#include "views/noyau_graphique.h"

namespace views {

using drawing::TypeObjetDessin;
using foundation::Arrondi;
using survey::TCavite;
using survey::TPointSpeleo;
using survey::TVisee;

namespace {

// The point's coordinates in the plane of the current drawing kind.
void CoordonneesDessin(const TPointSpeleo& p, double& x, double& y) {
  if (foundation::EstDessinAlti()) {
    x = p.Slh;
    y = p.Z;
  } else {
    x = p.X;
    y = p.Y;
  }
}

std::string Valeur(double v) { return foundation::ReelEnStr(v, 12, 1); }

// The station of the shot that is not p.
TPointSpeleo* AutreStation(const TVisee& v, const TPointSpeleo& p) {
  if (v.PointStation && v.PointStation != &p) return v.PointStation;
  if (v.PointVise && v.PointVise != &p) return v.PointVise;
  return nullptr;
}

}  // namespace

TPointSpeleo* StationDeRattachement(const TPointSpeleo& p) {
  if (!p.EstPointSurface()) return const_cast<TPointSpeleo*>(&p);
  if (p.ViseeAvant) return p.ViseeAvant->PtOrigCalc;
  if (!p.LstVis.empty() && p.LstVis.front()) return p.LstVis.front()->PtCalc;
  return nullptr;
}

TInfosPoint InfosDuPoint(const TPointSpeleo& p) {
  TInfosPoint r;
  r.Cavite = "Points de Surface";
  std::string suffixe;
  const TPointSpeleo* station = StationDeRattachement(p);
  r.Rattache = station != nullptr;
  const TCavite* cavite = station ? TCavite::CaviteDuPoint(station) : nullptr;
  if (r.Rattache) {
    if (cavite) r.Cavite = cavite->NomCavite;
    r.Galerie = survey::NomGalerieDuPoint(station);
    if (p.EstPointSurface() && cavite) {
      if (cavite->ListeEntrees.Count() < 2)
        suffixe = " (Entrée)";
      else if (cavite->LEntree() == &p)
        suffixe = " (Entrée du calcul)";
      else
        suffixe = " (autre Entrée)";
    }
  }
  r.Design = p.DesignPTopo + suffixe;
  r.X = Valeur(p.X);
  r.Y = Valeur(p.Y);
  r.Z = Valeur(p.Z);
  if (r.Rattache) {
    const TPointSpeleo* entree = cavite ? cavite->LEntree() : nullptr;
    r.Entree = "Calcul par rapport au point : " + (entree ? entree->DesignPTopo : std::string());
    r.SP = Valeur(p.Slp);
    r.Sl = Valeur(p.SLAffichee);
    r.DZ = Valeur(p.DzPt);
    r.Dhh = Valeur(p.Dhh);
    r.Dhb = Valeur(p.Dhb);
  }
  r.Commentaire = p.Commentaire;
  r.Suites = p.SuiteRenseignee();
  return r;
}

std::vector<TPointSpeleo*> VoisinsDuPoint(const TPointSpeleo& p) {
  const bool alti = foundation::EstDessinAlti();
  std::vector<TPointSpeleo*> r;
  const auto ajoute = [&](const TVisee* v) {
    if (!v || (alti && !v->EstDansCoupe)) return;
    TPointSpeleo* n = AutreStation(*v, p);
    // The arriving shot is also one of the point's shots: each station once.
    if (n && std::find(r.begin(), r.end(), n) == r.end()) r.push_back(n);
  };
  ajoute(p.ViseeAvant);
  for (const TVisee* v : p.LstVis) ajoute(v);
  return r;
}

TNoyauVisuPt::TNoyauVisuPt(TNoyauGraphique& proprietaire, TPointSpeleo& point)
    : PointAffiche(&point), proprietaire_(proprietaire) {
  LeverAffiche = proprietaire_.ObjetsAffichables[TypeObjetDessin::odPtLever];
  if (!LeverAffiche) proprietaire_.RendAffichable(EnsembleTypes({TypeObjetDessin::odPtLever}));
}

TNoyauVisuPt::~TNoyauVisuPt() {
  if (!LeverAffiche) proprietaire_.RendNonAffiche(EnsembleTypes({TypeObjetDessin::odPtLever}));
  RetireMarque();
  proprietaire_.RedessineVisu();
}

void TNoyauVisuPt::RetireMarque() {
  // Only this dialog's marker: whatever else the layer received meanwhile stays.
  if (PointVisuCree) proprietaire_.LeCalque(TypeObjetDessin::odPtLever).SupprimeObjet(marque_);
  marque_ = nullptr;
  PointVisuCree = false;
}

const TInfosPoint& TNoyauVisuPt::AffichePoint() {
  Infos = InfosDuPoint(*PointAffiche);
  if (Infos.Rattache) {
    RetireMarque();
    foundation::TPointTopo p;
    CoordonneesDessin(*PointAffiche, p.X, p.Y);
    const foundation::TPoint e = foundation::PtTopoVersEcran(p);
    marque_ = proprietaire_.AjouteObjetDessin(TypeObjetDessin::odPtLever,
                                              std::make_unique<drawing::TPointVisu>(e.X, e.Y));
    PointVisuCree = true;
    proprietaire_.RedessineVisu();
  }
  return Infos;
}

void TNoyauVisuPt::DessineVueDirecte(platform::Canvas& image) {
  LstPts = VoisinsDuPoint(*PointAffiche);
  LstPtVue.clear();
  double px = 0, py = 0;
  CoordonneesDessin(*PointAffiche, px, py);
  double hx = 0, hy = 0;
  for (const TPointSpeleo* n : LstPts) {
    double x = 0, y = 0;
    CoordonneesDessin(*n, x, y);
    hx = std::max(hx, std::abs(x - px));
    hy = std::max(hy, std::abs(y - py));
  }
  const int32_t cx = Arrondi(image.Width() / 2.0), cy = Arrondi(image.Height() / 2.0);
  // An extent of nothing along both axes (no neighbour, or a zero-length
  // shot) has no scale of its own: the neighbours are then at the centre.
  double k = EchelleCroquisFixe;
  if ((hx > 0 && std::isfinite(hx)) || (hy > 0 && std::isfinite(hy))) {
    k = std::numeric_limits<double>::infinity();
    if (hx > 0) k = std::min(k, (cx - MargeCroquis) / hx);
    if (hy > 0) k = std::min(k, (cy - MargeCroquis) / hy);
  }
  image.Copy = platform::CopyMode::SrcCopy;
  image.Pen = platform::CanvasPen{};
  image.Font = platform::CanvasFont{};
  foundation::EffaceBitmap(image);
  const int32_t hauteurTexte = image.TextHeight("T");
  for (const TPointSpeleo* n : LstPts) {
    double nx = 0, ny = 0;
    CoordonneesDessin(*n, nx, ny);
    const int32_t x = Arrondi(k * (nx - px)) + cx;
    const int32_t y = cy - Arrondi(k * (ny - py));
    LstPtVue.push_back({x, y});
    image.Pen.Color = CouleurLigneCroquis;
    image.MoveTo(cx, cy);
    image.LineTo(x, y);
    image.Brush.Style = platform::BrushStyle::Solid;
    image.Brush.Color = platform::kWhite;
    image.TextOut(x - 3, y - 3 - hauteurTexte, n->DesignPTopo);
    image.Pen.Color = CouleurVoisinCroquis;
    image.Brush.Style = platform::BrushStyle::Clear;
    image.Ellipse(x - RayonVoisinCroquis, y - RayonVoisinCroquis, x + RayonVoisinCroquis, y + RayonVoisinCroquis);
  }
  image.Pen.Color = CouleurLigneCroquis;
  foundation::DessineCroix(image, cx, cy, DemiCroixCroquis);
}

int TNoyauVisuPt::VoisinClique(int32_t x, int32_t y) const {
  int trouve = -1;
  double meilleure = RayonClicCroquis;
  for (size_t i = 0; i < LstPtVue.size(); ++i) {
    const double d = std::hypot(static_cast<double>(LstPtVue[i].X) - x, static_cast<double>(LstPtVue[i].Y) - y);
    if (d < meilleure) {
      meilleure = d;
      trouve = static_cast<int>(i);
    }
  }
  return trouve;
}

void TNoyauVisuPt::MarcheVers(int i) {
  if (i < 0 || static_cast<size_t>(i) >= LstPts.size()) return;
  TPointSpeleo* voisin = LstPts[static_cast<size_t>(i)];
  // View metres are ground metres from the drawing origin: the view moves by
  // the ground difference itself, without the rounding of a pixel.
  double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  CoordonneesDessin(*PointAffiche, x0, y0);
  CoordonneesDessin(*voisin, x1, y1);
  PointAffiche = voisin;
  RetireMarque();
  TNoyauGraphique& f = proprietaire_;
  TParamZoom vue = f.VueCourante();
  TParamZoom& z = f.ZoomActif >= 1 ? f.DerZoom[static_cast<size_t>(f.ZoomActif)] : vue;
  z.XDeb += x1 - x0;
  z.Ydeb += y1 - y0;
  f.ZoomeZoom(z);
}

}  // namespace views
