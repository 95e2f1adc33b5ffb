#include "views/noyau_visu_graphique.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iterator>
#include <memory>
#include <queue>
#include <set>
#include <unordered_map>
#include <utility>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/contexte_motifs.h"
#include "drawing/cree_dessin.h"
#include "drawing/dessin_axe_gal.h"
#include "drawing/dessin_point_surface.h"
#include "drawing/point_compo.h"
#include "drawing/quadrillage.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "survey/visee.h"
#include "views/contexte_views.h"

namespace views {

using enum drawing::TypeObjetDessin;
using drawing::GardeValeur;
using drawing::TDessinAxeGal;
using foundation::Arrondi;
using survey::TCavite;
using survey::TPointSpeleo;
using survey::TVisee;

namespace {

survey::TReseau* Reseau() { return survey::Document().ReseauCourant; }

TCavite* CaviteActive() {
  survey::TReseau* r = Reseau();
  return r ? r->LaCaviteActive : nullptr;
}

bool EnPlan() { return foundation::Vue().TypeDessinCourant == foundation::TTypeDeDessin::tddPlani; }

std::vector<TVisee*> ViseesDe(const survey::TListeDeVisees& l) {
  std::vector<TVisee*> r;
  r.reserve(static_cast<size_t>(l.Count()));
  for (TVisee* v : l) r.push_back(v);
  return r;
}

std::vector<TVisee*> ViseesDe(const drawing::TViseesDeRef& l) {
  std::vector<TVisee*> r;
  r.reserve(static_cast<size_t>(std::max(l.Count(), 0)));
  for (int i = 0; i < l.Count(); ++i)
    if (TVisee* v = l.LaVisee(i)) r.push_back(v);
  return r;
}

// The rectangle grows to hold (x, y); a position that is not finite changes nothing.
void Elargit(TZoomCavite& z, double x, double y) {
  if (!std::isfinite(x) || !std::isfinite(y)) return;
  z.XInf = std::min(z.XInf, x);
  z.XSup = std::max(z.XSup, x);
  z.YInf = std::min(z.YInf, y);
  z.YSup = std::max(z.YSup, y);
}

// The objects of a layer (shown and hidden) that the predicate holds are freed.
template <class Pred>
void RetireObjets(drawing::TCalque& calque, Pred pred) {
  std::erase_if(calque.ObjetsDessines, [&](const auto& o) { return pred(o.get()); });
  std::erase_if(calque.ObjetsMasques, [&](const auto& o) { return pred(o.get()); });
  calque.CalqueModifie = true;
}

}  // namespace

// --- Scale ------------------------------------------------------------------------------------

int32_t EchelleAuto(double largeur, double hauteur) {
  const double m = std::max(largeur / 0.19, hauteur / 0.27);
  if (m > 1000) return 1000;
  static constexpr int32_t Echelles[] = {1000, 750, 500, 250, 200, 100, 50};
  for (size_t i = 0; i + 1 < std::size(Echelles); ++i) {
    const double haut = Echelles[i], bas = Echelles[i + 1];
    if (haut >= m && m >= bas) return m - bas <= haut - m ? Echelles[i + 1] : Echelles[i];
  }
  return 50;
}

// --- Survey axes --------------------------------------------------------------------------------
//
// What the axes are: passes over the list of shots, in list order, skipping
// the shots already drawn; a pass cuts its shots into runs (a new run where
// the gallery changes or after a shot that is not in the elevation), makes
// one axis per run and appends each shot to its run's axis
// (TDessinAxeGal::AjouteTrait): the first shot of an axis brings both its
// stations, a later one joins only when its origin already has an axis
// point.  The passes go on while one adds shots and some are left.
//
// Repeating whole passes is quadratic when the list runs against the survey
// order.  The same appends are made here in the same order without visiting
// the shots that cannot join: within a pass only the first computable shot
// of each run (its axis's first shot) and the shots whose origin has an axis
// point act, in list order.  A shot waits on its origin station; when that
// station gets its first axis point the shot becomes ready, in this pass when
// it lies further in the list, in the next one otherwise.  The runs of a pass
// are kept in a list of the shots still waiting, updated where shots leave.
void ConstruitAxes(const std::vector<TVisee*>& visees, bool coupeVert, const drawing::TDefObjetTrait* motif,
                   const std::function<void(std::unique_ptr<TDessinAxeGal>)>& ajoute) {
  const int n = static_cast<int>(visees.size());
  for (TVisee* v : visees) {
    for (TPointSpeleo* p : {v->PointStation, v->PointVise, v->PtOrigCalc, v->PtCalc})
      if (p) p->PtGraph = nullptr;
    v->Marque = false;
  }
  std::vector<char> calculable(static_cast<size_t>(n));
  std::vector<const survey::TGalerie*> galerie(static_cast<size_t>(n));
  std::vector<char> coupure(static_cast<size_t>(n));
  int restants = 0;
  for (int i = 0; i < n; ++i) {
    const TVisee* v = visees[static_cast<size_t>(i)];
    calculable[static_cast<size_t>(i)] = v->PtOrigCalc && v->PtCalc;
    restants += calculable[static_cast<size_t>(i)];
    galerie[static_cast<size_t>(i)] = v->GalDeLaVis();
    const TVisee* p = v->ViseePreced();
    coupure[static_cast<size_t>(i)] = p && !p->EstDansCoupe;
  }
  // The shots not drawn yet, linked in list order; the first shot of each run.
  std::vector<int> prec(static_cast<size_t>(n)), suiv(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    prec[static_cast<size_t>(i)] = i - 1;
    suiv[static_cast<size_t>(i)] = i + 1;
  }
  const auto debutDeSuite = [&](int i) {
    const int p = prec[static_cast<size_t>(i)];
    return p < 0 || galerie[static_cast<size_t>(i)] != galerie[static_cast<size_t>(p)] || coupure[static_cast<size_t>(i)];
  };
  std::set<int> debuts;
  for (int i = 0; i < n; ++i)
    if (debutDeSuite(i)) debuts.insert(debuts.end(), i);
  // The shots waiting on each origin station (grouped by station).
  std::unordered_map<const TPointSpeleo*, int> rangStation;
  std::vector<int> stationDe(static_cast<size_t>(n), -1);
  for (int i = 0; i < n; ++i) {
    if (!calculable[static_cast<size_t>(i)]) continue;
    const auto [it, nouveau] =
        rangStation.emplace(visees[static_cast<size_t>(i)]->PtOrigCalc, static_cast<int>(rangStation.size()));
    stationDe[static_cast<size_t>(i)] = it->second;
  }
  std::vector<int> debutAttente(rangStation.size() + 1, 0), attente(static_cast<size_t>(restants));
  for (int i = 0; i < n; ++i)
    if (stationDe[static_cast<size_t>(i)] >= 0) ++debutAttente[static_cast<size_t>(stationDe[static_cast<size_t>(i)]) + 1];
  for (size_t k = 1; k < debutAttente.size(); ++k) debutAttente[k] += debutAttente[k - 1];
  {
    std::vector<int> place(debutAttente.begin(), debutAttente.end() - 1);
    for (int i = 0; i < n; ++i)
      if (stationDe[static_cast<size_t>(i)] >= 0) attente[static_cast<size_t>(place[static_cast<size_t>(stationDe[static_cast<size_t>(i)])]++)] = i;
  }

  std::vector<int> chefDeSuite(static_cast<size_t>(n), -1);  // leader -> its run's first shot, this pass
  std::vector<TDessinAxeGal*> axeDeSuite(static_cast<size_t>(n), nullptr);
  std::vector<int> prets;
  while (restants > 0) {
    std::priority_queue<int, std::vector<int>, std::greater<int>> file;
    for (int i : prets) file.push(i);
    prets.clear();
    std::vector<int> chefs;
    for (auto it = debuts.begin(); it != debuts.end(); ++it) {
      int j = *it;
      const auto suivant = std::next(it);
      const int fin = suivant == debuts.end() ? n : *suivant;
      while (j < n && !calculable[static_cast<size_t>(j)]) {
        j = suiv[static_cast<size_t>(j)];
        if (j >= fin) j = n;
      }
      if (j >= n) continue;
      chefDeSuite[static_cast<size_t>(j)] = *it;
      chefs.push_back(j);
      file.push(j);
    }
    std::vector<std::unique_ptr<TDessinAxeGal>> axes;
    std::vector<int> marquees;
    const auto libere = [&](const TPointSpeleo* station, int i) {
      const auto it = rangStation.find(station);
      if (it == rangStation.end()) return;
      for (int k = debutAttente[static_cast<size_t>(it->second)]; k < debutAttente[static_cast<size_t>(it->second) + 1]; ++k) {
        const int w = attente[static_cast<size_t>(k)];
        if (visees[static_cast<size_t>(w)]->Marque) continue;
        if (w > i)
          file.push(w);
        else
          prets.push_back(w);
      }
    };
    while (!file.empty()) {
      const int i = file.top();
      file.pop();
      TVisee* v = visees[static_cast<size_t>(i)];
      if (v->Marque) continue;
      TDessinAxeGal* axe = nullptr;
      if (const int r = chefDeSuite[static_cast<size_t>(i)]; r >= 0) {
        auto a = std::make_unique<TDessinAxeGal>();
        a->EstDessinCoupeVert = coupeVert;
        if (motif) a->ObjetMotif = motif;
        axe = axeDeSuite[static_cast<size_t>(r)] = a.get();
        axes.push_back(std::move(a));
      } else {
        axe = axeDeSuite[static_cast<size_t>(*std::prev(debuts.upper_bound(i)))];
      }
      if (!axe) continue;
      TPointSpeleo* origine = v->PtOrigCalc;
      TPointSpeleo* fin = v->PtCalc;
      const bool origineAvant = origine->PtGraph != nullptr, finAvant = fin->PtGraph != nullptr;
      axe->AjouteTrait(v);
      if (!v->Marque) continue;
      marquees.push_back(i);
      if (!origineAvant && origine->PtGraph) libere(origine, i);
      if (!finAvant && fin->PtGraph) libere(fin, i);
    }
    for (int j : chefs) {
      axeDeSuite[static_cast<size_t>(chefDeSuite[static_cast<size_t>(j)])] = nullptr;
      chefDeSuite[static_cast<size_t>(j)] = -1;
    }
    for (auto& a : axes) ajoute(std::move(a));
    if (marquees.empty()) break;
    restants -= static_cast<int>(marquees.size());
    // The drawn shots leave the list; the runs change where they were.
    std::vector<int> voisins;
    for (int i : marquees) {
      const int p = prec[static_cast<size_t>(i)], s = suiv[static_cast<size_t>(i)];
      if (p >= 0) suiv[static_cast<size_t>(p)] = s;
      if (s < n) {
        prec[static_cast<size_t>(s)] = p;
        voisins.push_back(s);
      }
      debuts.erase(i);
    }
    for (int s : voisins) {
      if (visees[static_cast<size_t>(s)]->Marque) continue;
      if (debutDeSuite(s))
        debuts.insert(s);
      else
        debuts.erase(s);
    }
  }
  for (TVisee* v : visees) v->Marque = false;
}

// --- Construction -------------------------------------------------------------------------------

TNoyauVisuGraphique::TNoyauVisuGraphique() { DefinitViseesActives(); }

TNoyauVisuGraphique::~TNoyauVisuGraphique() = default;

void TNoyauVisuGraphique::DefinitViseesActives() {
  LesViseesActives = drawing::TViseesDeRef{};
  ListeDeViseesRecherche = nullptr;
  TCavite* c = CaviteActive();
  if (!c || foundation::EstDessinCoupe()) return;
  if (foundation::EstDessinAlti()) {
    drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
    if (annexe && annexe->LeDessinAlti) LesViseesActives = annexe->LeDessinAlti->ViseesDeRef();
  } else {
    LesViseesActives = drawing::TViseesDeRef(&c->Visees);
  }
  // Selections work on a cave's own list, where the chain of shots is.
  ListeDeViseesRecherche = &c->Visees;
}

void TNoyauVisuGraphique::Initialise() {
  const bool ecart = EtatVisu().EditionEcart;
  survey::TReseau* reseau = Reseau();
  if (!foundation::EstDessinCoupe() && !ecart && reseau) reseau->CalculeReseau();
  RegleActive = false;
  MonoCavite = false;
  AxesSeuls = false;
  InitDessin();
  EtatVisu().DessinMonoCavite = MonoCavite;
  drawing::Dessin().CompteurObjets = 0;
  EstDessinPkTp = false;
  // InitDessin may have changed the drawing kind (the shot selection shows
  // the plan): the shots shown follow the kind the objects are built for.
  DefinitViseesActives();
  const bool coupe = foundation::EstDessinCoupe();
  if (!coupe && !ecart && reseau) {
    for (int i = 1; i < reseau->NombreCavites(); ++i) {
      TCavite* c = reseau->UneCavite(i);
      for (TVisee* v : c->Visees) v->SensDessinCoupeOr = 1;
      c->Visees.TesteHabiExiste();
      if (c->Visees.ViseesHabExistent) AViseesHabi = true;
    }
  }
  // Gallery outlines start hidden over imported sketches.
  if (!MemoireOuverte && (AffichageDefaut & drawing::BitTypeObjet(odGalerie))) {
    drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(CaviteActive());
    if (annexe && annexe->PkTpExiste())
      RendNonAffiche(EnsembleTypes({odGalerie}));
    else
      RendAffichable(EnsembleTypes({odGalerie}));
  }
  // A remembered view is put back on the ground it showed, wherever the
  // drawing origin lies now.
  if (OrigineDernierZoomConnue) {
    origineConnue_ = garderTerrain_ = true;
    origineX_ = OrigineDernierZoomX;
    origineY_ = OrigineDernierZoomY;
  }
  if (foundation::EstDessinAlti()) {
    drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(CaviteActive());
    if (!ecart && annexe && annexe->LeDessinAlti) drawing::NettoieViseesCoupeLong(*annexe->LeDessinAlti);
    GenereObjetsAlti();
  } else if (!coupe) {
    GenereObjetsPlani();
  }
  garderTerrain_ = false;
  AjouteObjetDessin(odQuadrill, std::make_unique<drawing::TQuadrillage>());
  if (CalculHorsPlage)
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning,
                                              foundation::Msg(foundation::IdMsg::VisuEtendueTropGrande));
  FicheOuverte = !CalculHorsPlage;
}

// --- Extent -------------------------------------------------------------------------------------

std::vector<TCavite*> TNoyauVisuGraphique::CavitesDessinees() const {
  std::vector<TCavite*> r;
  survey::TReseau* reseau = Reseau();
  if (!reseau) return r;
  // One cave: the window is about it, whether the multi-cave views draw it or not.
  if (MonoCavite || foundation::EstDessinAlti()) {
    TCavite* c = reseau->LaCaviteActive;
    if (c && !c->EstSurface && c->CaviteValide()) r.push_back(c);
    return r;
  }
  for (int i = 1; i < reseau->NombreCavites(); ++i) {
    TCavite* c = reseau->UneCavite(i);
    if (c->CaviteValide() && c->Adessiner && !c->EstSurface) r.push_back(c);
  }
  return r;
}

void TNoyauVisuGraphique::EtendueCavitePlani(TCavite& cavite, bool premiere) {
  auto& v = foundation::Vue();
  const drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(&cavite);
  if (annexe) v.EchelleFontes = std::max(annexe->LeDessinPlani->EchelleDessin, v.EchelleFontes);
  if (v.EchelleFontes < 0) v.EchelleFontes = Arrondi(cavite.EchelleParDefaut());
  cavite.CalculeDessinPlani();
  if (v.EchelleFontes < 0) v.EchelleFontes = EchelleAuto(cavite.XMaxCav - cavite.XMinCav, cavite.YMaxCav - cavite.YMinCav);
  // The cave's zoom holds what is drawn of it: its stations, the surface
  // points its shots reach and the ends of the splays drawn.
  TZoomCavite z{cavite.XMinCav, cavite.YMinCav, cavite.XMaxCav, cavite.YMaxCav};
  ElargitAuDessin(z, ViseesDe(cavite.Visees));
  ZoomCaviteDe(&cavite) = z;
  survey::EtendVueACavite(v, cavite, premiere, true);
}

void TNoyauVisuGraphique::EtenduePointsSurface() {
  auto& v = foundation::Vue();
  survey::TReseau* reseau = Reseau();
  const survey::TListedePoints* points = reseau ? reseau->LesPointsSurface() : nullptr;
  const int n = points ? points->Count() : 0;
  if (n >= 2) {
    const TPointSpeleo* p0 = points->Item(0);
    v.Xmin = v.Xmax = p0->X;
    v.Ymin = v.Ymax = p0->Y;
    v.SLmin = v.SLmax = p0->Slh;
    v.Zmin = v.Zmax = p0->Z;
    for (const TPointSpeleo* p : *points) {
      v.Xmin = std::min(v.Xmin, p->X);
      v.Xmax = std::max(v.Xmax, p->X);
      v.Ymin = std::min(v.Ymin, p->Y);
      v.Ymax = std::max(v.Ymax, p->Y);
      v.SLmin = std::min(v.SLmin, p->Slh);
      v.SLmax = std::max(v.SLmax, p->Slh);
      v.Zmin = std::min(v.Zmin, p->Z);
      v.Zmax = std::max(v.Zmax, p->Z);
    }
    return;
  }
  // The point there is, else the active cave's entrance, else (0, 0).
  foundation::TPointTopo c;
  if (n == 1) {
    c = points->Item(0)->PtTopo();
  } else if (TCavite* a = CaviteActive(); a && a->LEntree()) {
    c = a->LEntree()->PtTopo();
  }
  v.Xmin = c.X - 100;
  v.Xmax = c.X + 100;
  v.Ymin = c.Y - 100;
  v.Ymax = c.Y + 100;
  v.SLmin = c.SlH - 100;
  v.SLmax = c.SlH + 100;
  v.Zmin = c.Z - 100;
  v.Zmax = c.Z + 100;
}

void TNoyauVisuGraphique::DefiniZoomGeneral(double& xmin, double& xmax, double& ymax, double& ymin) {
  if (xmax == xmin || ymax == ymin) {
    xmin -= 50;
    xmax += 50;
    ymin -= 50;
    ymax += 50;
  }
  ZoomGeneral = TZoomCavite{xmin, ymin, xmax, ymax};
}

// --- Objects ------------------------------------------------------------------------------------

void TNoyauVisuGraphique::GenereObjetsPlani() {
  auto& v = foundation::Vue();
  v.EchelleFontes = -1;
  ClearCalques();
  ListeObjetsSelectes.clear();
  UneVSelectee = false;
  const std::vector<TCavite*> cavites = CavitesDessinees();
  bool premiere = true;
  for (TCavite* c : cavites) {
    if (c->IndexFinCavite() < 0) continue;
    EtendueCavitePlani(*c, premiere);
    premiere = false;
  }
  if (premiere) EtenduePointsSurface();
  if (v.Xmax - v.Xmin > EtendueMaxDessin || v.Ymax - v.Ymin > EtendueMaxDessin) {
    CalculHorsPlage = true;
    return;
  }
  CalculHorsPlage = false;
  DefiniZoomGeneral(v.Xmin, v.Xmax, v.Ymax, v.Ymin);
  for (TCavite* c : cavites)
    if (c->IndexFinCavite() >= 0) {
      const TZoomCavite& z = ZoomCaviteDe(c);
      Elargit(ZoomGeneral, z.XInf, z.YInf);
      Elargit(ZoomGeneral, z.XSup, z.YSup);
    }
  v.LargeurRaster = Arrondi((v.Xmax - v.Xmin) * 1.01);
  v.HauteurRaster = Arrondi((v.Ymax - v.Ymin) * 1.01);
  int32_t echelleTextes = -1;
  for (const TCavite* c : cavites)
    if (c->EchelleTextesDft != -1) echelleTextes = std::max(echelleTextes, c->EchelleTextesDft);
  EtatVisu().EchelleTextesVue = echelleTextes == -1 ? 1000 : echelleTextes;

  auto& affichage = drawing::Affichage();
  survey::TReseau* reseau = Reseau();
  if (const survey::TListedePoints* points = reseau ? reseau->LesPointsSurface() : nullptr) {
    GardeValeur<survey::TParamDessinCavite*> param(affichage.ParamCaviteCourant, nullptr);
    for (TPointSpeleo* p : *points) AjouteObjetDessin(odPtSurf, std::make_unique<drawing::TDessinPointSurface>(p));
  }
  for (TCavite* c : cavites) {
    GardeValeur<survey::TParamDessinCavite*> param(affichage.ParamCaviteCourant, &c->ParamDessinCavite);
    CreeAxesGaleries(ViseesDe(c->Visees), c);
    drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
    if (AxesSeuls || !annexe) continue;
    for (drawing::TDessinPkTp* s : annexe->DessinsPkTp) {
      EstDessinPkTp = true;
      drawing::CreeDessinPkTpPlani(Calques, *s);
    }
    AjouteContours(*c, *annexe->LeDessinPlani, false);
    CreeDessinCavite(*annexe->LeDessinPlani);
  }
  ZoomeApresGeneration();
}

void TNoyauVisuGraphique::GenereObjetsAlti() {
  auto& v = foundation::Vue();
  TCavite* c = CaviteActive();
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
  if (!c || !annexe || !annexe->LeDessinAlti) return;
  drawing::TDonneesCoupeLong& coupe = *annexe->LeDessinAlti;
  // The elevation's extent: both stations of every reference shot.
  v.EchelleFontes = std::max(coupe.EchelleDessin, v.EchelleFontes);
  if (v.EchelleFontes < 0) v.EchelleFontes = Arrondi(c->EchelleParDefaut());
  drawing::CalculeDessinCoupeLong(coupe);
  if (CreeCoupeVert) c->CalculeElementsAnnexes();
  const std::vector<TVisee*> visees = ViseesDe(LesViseesActives);
  bool vide = true;
  for (const TVisee* r : visees)
    for (const TPointSpeleo* p : {r->PtOrigCalc, r->PtCalc}) {
      if (!p) continue;
      if (vide) {
        c->SlMinCav = c->SlMaxCav = p->Slh;
        c->ZMinCav = c->ZMaxCav = p->Z;
        vide = false;
      }
      c->SlMinCav = std::min(c->SlMinCav, p->Slh);
      c->SlMaxCav = std::max(c->SlMaxCav, p->Slh);
      c->ZMinCav = std::min(c->ZMinCav, p->Z);
      c->ZMaxCav = std::max(c->ZMaxCav, p->Z);
    }
  if (vide) c->SlMinCav = c->SlMaxCav = c->ZMinCav = c->ZMaxCav = 0;
  if (v.EchelleFontes < 0) v.EchelleFontes = EchelleAuto(c->SlMaxCav - c->SlMinCav, c->ZMaxCav - c->ZMinCav);
  v.SLmin = c->SlMinCav;
  v.Zmin = c->ZMinCav;
  v.SLmax = c->SlMaxCav;
  v.Zmax = c->ZMaxCav;
  if (v.SLmax - v.SLmin > EtendueMaxDessin || v.Zmax - v.Zmin > EtendueMaxDessin) {
    CalculHorsPlage = true;
    return;
  }
  CalculHorsPlage = false;
  EtatVisu().EchelleTextesVue = -1;
  ClearCalques();
  ListeObjetsSelectes.clear();
  UneVSelectee = false;
  v.LargeurRaster = Arrondi((v.SLmax - v.SLmin) * 1.01);
  v.HauteurRaster = Arrondi((v.Zmax - v.Zmin) * 1.01);
  if (v.HauteurRaster == 0) v.HauteurRaster = Arrondi(v.LargeurRaster / 2.0);
  DefiniZoomGeneral(v.SLmin, v.SLmax, v.Zmax, v.Zmin);
  ElargitAuDessin(ZoomGeneral, visees);

  GardeValeur<survey::TParamDessinCavite*> param(drawing::Affichage().ParamCaviteCourant, &c->ParamDessinCavite);
  EtatVisu().EchelleTextesVue = c->EchelleTextesDft == -1 ? 1000 : c->EchelleTextesDft;
  if (!CreeCoupeVert)
    for (TPointSpeleo* e : c->ListeEntrees) AjouteObjetDessin(odPtSurf, std::make_unique<drawing::TDessinPointSurface>(e));
  CreeAxesGaleries(visees, c);
  if (!AxesSeuls) {
    AjouteContours(*c, coupe, true);
    for (drawing::TDessinPkTp* s : annexe->DessinsPkTp) {
      if (s->DessinAltiRef != annexe->LeDessinAlti) continue;
      EstDessinPkTp = true;
      drawing::CreeDessinPkTpAlti(Calques, *s);
    }
    CreeDessinCavite(coupe);
  }
  if (CreeCoupeVert) return;
  ZoomeApresGeneration();
}

void TNoyauVisuGraphique::ZoomeApresGeneration() {
  const auto& v = foundation::Vue();
  const bool alti = foundation::EstDessinAlti();
  const double x0 = alti ? v.SLmin : v.Xmin, y0 = alti ? v.Zmin : v.Ymin;
  const bool garde = garderTerrain_ && origineConnue_;
  const double dx = origineX_ - x0, dy = origineY_ - y0;
  garderTerrain_ = false;
  origineConnue_ = true;
  origineX_ = x0;
  origineY_ = y0;
  zoomDiffere_.reset();
  TParamZoom z;
  if (!EtatVisu().ExportSVGDirect) {
    ReGenereCompos(false);
    if (DernierZoom.Largeur != 0 && DernierZoom.Hauteur != 0) {
      z = DernierZoom;
      if (garde) {
        // The view stays on the same ground when the drawing origin moved.
        z.XDeb += dx;
        z.Ydeb += dy;
      }
    }
  }
  // A window not laid out yet takes its view, and draws, at its real size.
  if (!BoiteDimensionnee()) {
    zoomDiffere_ = z;
    return;
  }
  AppliqueZoom(z);
}

void TNoyauVisuGraphique::AppliqueZoom(const TParamZoom& z) {
  if (z.Largeur != 0 && z.Hauteur != 0)
    ZoomeZoom(z);
  else
    ZoomeCavite(ZoomGeneral);
}

void TNoyauVisuGraphique::AppliqueVueDifferee() {
  if (!zoomDiffere_ || !BoiteDimensionnee()) return;
  const TParamZoom z = *zoomDiffere_;
  zoomDiffere_.reset();
  AppliqueZoom(z);
}

void TNoyauVisuGraphique::ReGenereDessin() {
  DernierZoom = ZoomActif >= 1 && ZoomActif <= 5 ? DerZoom[static_cast<size_t>(ZoomActif)] : VueCourante();
  if (foundation::EstDessinCoupe()) return;
  garderTerrain_ = true;
  if (foundation::EstDessinAlti())
    GenereObjetsAlti();
  else
    GenereObjetsPlani();
  garderTerrain_ = false;
}

void TNoyauVisuGraphique::ReGenereTextes() {
  EffaceCalque(odTexte);
  EffaceCalque(odCoupesTexte);
  EffaceCalque(odEcartsTexte);
  const bool alti = foundation::EstDessinAlti();
  auto& d = drawing::Dessin();
  for (TCavite* c : CavitesDessinees()) {
    drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
    if (!annexe) continue;
    drawing::TDonneesDessinBasique* dessin = alti ? annexe->LeDessinAlti : annexe->LeDessinPlani.get();
    if (!dessin) continue;
    GardeValeur<TCavite*> courante(d.CaviteDessinCourante, c);
    GardeValeur<survey::TParamDessinCavite*> param(drawing::Affichage().ParamCaviteCourant, &c->ParamDessinCavite);
    drawing::CreeTextesDessinCavite(Calques, *dessin);
  }
  ReGenereCompos(false);
  RedessineVue();
}

void TNoyauVisuGraphique::ReGenereCompos(bool redessine) {
  drawing::TCalque& compos = LeCalque(odCompos);
  RetireObjets(compos, [](const drawing::TObjetDessin* o) { return !dynamic_cast<const drawing::TPointNote*>(o); });
  auto& affichage = drawing::Affichage();
  const auto marque = [&](TypeObjetDessin k) {
    std::vector<std::pair<foundation::TPoint, survey::TParamDessinCavite*>> points;
    for (const auto& o : LeCalque(k).ObjetsDessines) {
      if (const auto* l = dynamic_cast<const drawing::TDessinLigne*>(o.get())) {
        for (const drawing::TPointDeBase& p : l->PointsList) points.emplace_back(p.PointLoc(), o->ParamCavite);
      } else if (const auto* a = dynamic_cast<const TDessinAxeGal*>(o.get())) {
        for (const auto& p : a->PointsAxe) points.emplace_back(p->PointLoc(), o->ParamCavite);
      }
    }
    for (const auto& [p, param] : points) {
      GardeValeur<survey::TParamDessinCavite*> garde(affichage.ParamCaviteCourant, param);
      foundation::TPointTopo sol;
      foundation::DessinVersPtTopo(p, sol);
      AjouteObjetDessin(odCompos, std::make_unique<drawing::TPointCompo>(sol.X, sol.Y));
    }
  };
  if (AfficheComposTopo || AfficheComposChemin) marque(odPtLever);
  if (AfficheComposTopo) marque(odGalerie);
  if (!AfficheComposChemin) marque(odDessin);
  if (redessine) RedessineVue();
}

void TNoyauVisuGraphique::CreeAxesGaleries(const std::vector<TVisee*>& visees, TCavite* cavite) {
  const drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(cavite);
  const drawing::TDefObjetTrait* motif = annexe && annexe->MotifAxeCavite ? annexe->MotifAxeCavite.get() : nullptr;
  ConstruitAxes(visees, CreeCoupeVert, motif,
                [this](std::unique_ptr<TDessinAxeGal> a) { AjouteObjetDessin(odPtLever, std::move(a)); });
  if (AxesSeuls) return;
  if (std::any_of(visees.begin(), visees.end(), [](const TVisee* v) { return !v->ViseesHabi.Vide(); }))
    DessineViseesHabi(visees, false);
}

std::vector<std::pair<const TPointSpeleo*, survey::TViseeHabi*>> TNoyauVisuGraphique::HabiDessinees(
    const std::vector<TVisee*>& visees) const {
  std::vector<std::pair<const TPointSpeleo*, survey::TViseeHabi*>> r;
  const bool plan = !foundation::EstDessinAlti();
  // The shots' stations in shot order, each marked when its splays are drawn.
  std::unordered_map<const TPointSpeleo*, size_t> rang;
  std::vector<const TPointSpeleo*> stations;
  std::vector<char> marquee;
  for (const TVisee* v : visees)
    for (const TPointSpeleo* p : {v->PtOrigCalc, v->PtCalc})
      if (p && rang.emplace(p, stations.size()).second) {
        stations.push_back(p);
        marquee.push_back(0);
      }
  for (const TVisee* v : visees) {
    if (!DessinToutesHabi && !v->Accrochable) continue;
    for (const TPointSpeleo* p : {v->PtOrigCalc, v->PtCalc})
      if (p) marquee[rang[p]] = 1;
  }
  for (size_t i = 0; i < stations.size(); ++i) {
    if (!marquee[i]) continue;
    for (survey::TViseeHabi* h : stations[i]->LVHabi)
      if (!plan || std::abs(h->PCalc) < AngleMaxHabi) r.emplace_back(stations[i], h);
  }
  return r;
}

void TNoyauVisuGraphique::DessineViseesHabi(const std::vector<TVisee*>& visees, bool vider) {
  if (vider) EffaceCalque(odVisHab);
  const bool plan = !foundation::EstDessinAlti();
  for (const auto& [s, h] : HabiDessinees(visees)) {
    auto o = std::make_unique<drawing::TDessinViseeHabi>(h);
    if (plan) {
      o->AjoutePointReel(s->X, s->Y);
      o->AjoutePointReel(h->X, h->Y);
    } else {
      o->AjoutePointReel(s->Slh, s->ZCalc);
      o->AjoutePointReel(h->SlH, h->Z);
    }
    o->pListeAffichables = &ObjetsAffichables;
    AjouteObjetDessin(odVisHab, std::move(o));
  }
}

void TNoyauVisuGraphique::ElargitAuDessin(TZoomCavite& z, const std::vector<TVisee*>& visees) const {
  const bool plan = !foundation::EstDessinAlti();
  for (const TVisee* v : visees)
    for (const TPointSpeleo* p : {v->PtOrigCalc, v->PtCalc}) {
      if (!p || p->CoordonneesIndefinies() || !(p->PtRattache || p->EstPointSurface())) continue;
      if (plan)
        Elargit(z, p->X, p->Y);
      else
        Elargit(z, p->Slh, p->Z);
    }
  if (AxesSeuls) return;
  for (const auto& [s, h] : HabiDessinees(visees)) {
    if (s->CoordonneesIndefinies()) continue;
    if (plan)
      Elargit(z, h->X, h->Y);
    else
      Elargit(z, h->SlH, h->Z);
  }
}

void TNoyauVisuGraphique::CreeDessinCavite(drawing::TDonneesDessinBasique& dessin) {
  drawing::CreeDessinCavite(Calques, dessin);
}

void TNoyauVisuGraphique::AjouteContours(TCavite& cavite, drawing::TDonneesDessinBasique& dessin, bool alti) {
  survey::TReseau* reseau = Reseau();
  const int32_t ncav = reseau ? reseau->Cavites.IndexOf(&cavite) : -1;
  const drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(&cavite);
  const drawing::TDefObjetTrait* motif = annexe && annexe->MotifDimCavite ? annexe->MotifDimCavite.get() : nullptr;
  int32_t n = 0;
  for (const drawing::tPolyGal* p : dessin.ListePolyGal) {
    const auto cote = [&](bool gauche, bool remplir) {
      std::unique_ptr<drawing::TDessinLigneGalerie> l;
      if (alti)
        l = std::make_unique<drawing::TDessinEnvelCoupe>(ncav, remplir, n);
      else
        l = std::make_unique<drawing::TDessinLigneGalerie>(ncav, n);
      if (motif) l->ObjetMotif = motif;
      const drawing::TAjoutePointReel ajoute = [&l](double x, double y) { l->AjoutePointReel(x, y); };
      if (gauche)
        p->AffecteCoordG(ajoute);
      else
        p->AffecteCoordD(ajoute);
      if (l->NombrePoints() > 1) AjouteObjetDessin(odGalerie, std::move(l));
    };
    cote(true, alti && p->remplie);
    if (!(alti && p->remplie)) cote(false, false);
    ++n;
  }
}

void TNoyauVisuGraphique::RedessinCavitesDessinees() {
  survey::TReseau* reseau = Reseau();
  if (!reseau) return;
  bool aucune = true;
  TZoomCavite z;
  for (TCavite* c : reseau->Cavites) {
    c->ParamDessinCavite.CaviteAffichee = c->Adessiner;
    if (!c->Adessiner || c->EstSurface || !c->CaviteValide()) continue;
    const TZoomCavite& zc = ZoomCaviteDe(c);
    if (aucune) {
      z = zc;
      aucune = false;
    } else {
      z.XInf = std::min(z.XInf, zc.XInf);
      z.YInf = std::min(z.YInf, zc.YInf);
      z.XSup = std::max(z.XSup, zc.XSup);
      z.YSup = std::max(z.YSup, zc.YSup);
    }
  }
  if (!aucune) DefiniZoomGeneral(z.XInf, z.XSup, z.YSup, z.YInf);
  for (int k = static_cast<int>(drawing::TJeuCalques::PremierCalque); k <= static_cast<int>(drawing::TJeuCalques::DernierCalque); ++k) {
    const auto nature = static_cast<TypeObjetDessin>(k);
    if (nature == odPtSurf || nature == odQuadrill || nature == odNotes || nature == odBrouillon ||
        nature == odAutresCavites || nature == odDessinSVG || !drawing::TJeuCalques::EstNatureCalque(nature))
      continue;
    drawing::TCalque& calque = LeCalque(nature);
    calque.AfficheObjets();
    calque.MasqueObjets();
    calque.CalqueModifie = true;
  }
  InitBoxCavites();
  ZoomeCavite(ZoomGeneral);
}

// --- Cave chooser and zoom on a gallery or a point --------------------------------------------

void TNoyauVisuGraphique::InitBoxCavites() {
  ListeCavitesBox.clear();
  IndexCaviteBox = -1;
  BoxCavitesVisible = false;
  survey::TReseau* reseau = Reseau();
  if (MonoCavite || foundation::EstDessinAlti() || !reseau) return;
  IndexCaviteBox = reseau->AfficheListeCavites(ListeCavitesBox, true);
  BoxCavitesVisible = ListeCavitesBox.size() > 1;
}

void TNoyauVisuGraphique::BoxCavitesChange(int index) {
  if (index < 0 || static_cast<size_t>(index) >= ListeCavitesBox.size()) return;
  CaviteDessinee = ListeCavitesBox[static_cast<size_t>(index)].second;
  ZoomeCavite(ZoomCaviteDe(CaviteDessinee));
}

void TNoyauVisuGraphique::ZoomGalPtsBtnClick() {
  TCavite* c = CaviteDessinee ? CaviteDessinee : CaviteActive();
  if (!c) return;
  TZoomCavite r;
  if (DemandeZoneZoom(*c, r)) ZoomeCavite(r);
}

// --- Picking ------------------------------------------------------------------------------------

TPointSpeleo* TNoyauVisuGraphique::CherchePointProche(const foundation::TPointTopo& p) const {
  double meilleure = -1;
  TPointSpeleo* resultat = nullptr;
  const double rayon = RayonAccroche();
  const bool alti = foundation::EstDessinAlti();
  const double px = alti ? p.SlH : p.X, py = alti ? p.Z : p.Y;
  const auto candidat = [&](TPointSpeleo* s) {
    if (!s) return;
    // A station farther along one axis than the best distance cannot be
    // nearer: the distance is not computed.
    if (meilleure >= 0 &&
        (std::abs((alti ? s->Slh : s->X) - px) >= meilleure || std::abs((alti ? s->Z : s->Y) - py) >= meilleure))
      return;
    const double d = s->DistPoint(p);
    if (meilleure < 0 || d < meilleure) {
      meilleure = d;
      if (d < rayon) resultat = s;
    }
  };
  survey::TReseau* reseau = Reseau();
  if (const survey::TListedePoints* points = reseau ? reseau->LesPointsSurface() : nullptr)
    for (TPointSpeleo* s : *points) candidat(s);
  for (TCavite* c : CavitesDessinees())
    for (int i = 0; i <= c->IndexFinCavite(); ++i) candidat(c->LePoint(i));
  return resultat;
}

void TNoyauVisuGraphique::BaseDessinClick() {
  TNoyauGraphique::BaseDessinClick();
  if (CtrlPresse || RegleActive || !AfficherPointEnable || PageSelectee) return;
  TPointSpeleo* station = nullptr;
  {
    GardeValeur<double> rayon(sensibilita, RayonRecherchePoint);
    foundation::TPointTopo sol;
    foundation::DessinVersPtTopo(DerPointClique, sol);
    station = CherchePointProche(sol);
  }
  if (!station || (foundation::EstDessinAlti() && !station->PointsDansCoupe)) {
    if (EnPlan()) VisuEnregistrerPoint();
    return;
  }
  VisuInfoPoint(*station);
}

TVisee* TNoyauVisuGraphique::ChercheViseeProche() {
  foundation::TPointTopo sol;
  foundation::DessinVersPtTopo(DerPointClique, sol);
  const double rayon = RayonAccroche();
  const bool alti = foundation::EstDessinAlti();
  const double px = alti ? sol.SlH : sol.X, py = alti ? sol.Z : sol.Y;
  // The nearest shot within the radius, the first on ties, in the order the
  // shots come: a shot whose box is not nearer than the radius and the best
  // distance cannot be it, and its distance is not computed.
  TVisee* trouvee = nullptr;
  double dMin = rayon;
  const auto candidate = [&](TVisee* v) {
    if (!v || !v->PointStation || !v->PointVise) return;
    const TPointSpeleo& a = *v->PointStation;
    const TPointSpeleo& b = *v->PointVise;
    const double ax = alti ? a.Slh : a.X, ay = alti ? a.Z : a.Y;
    const double bx = alti ? b.Slh : b.X, by = alti ? b.Z : b.Y;
    const double hx = std::max({std::min(ax, bx) - px, px - std::max(ax, bx), 0.0});
    const double hy = std::max({std::min(ay, by) - py, py - std::max(ay, by), 0.0});
    if (hx >= dMin || hy >= dMin) return;
    const double d = v->DistVisee(sol);
    if (d < dMin) {
      trouvee = v;
      dMin = d;
    }
  };
  if (MonoCavite) {
    for (int i = 0; i < LesViseesActives.Count(); ++i) candidate(LesViseesActives.LaVisee(i));
  } else {
    for (TCavite* c : CavitesDessinees())
      for (TVisee* v : c->Visees) candidate(v);
  }
  if (trouvee && trouvee->CavDeLaVis && trouvee->CavDeLaVis->EstViseeDeLaCavite(trouvee))
    ListeDeViseesRecherche = &trouvee->CavDeLaVis->Visees;
  return trouvee;
}

// --- Shot selection -----------------------------------------------------------------------------

bool TNoyauVisuGraphique::UneViseeMarquee() const {
  if (!ListeDeViseesRecherche) return false;
  for (const TVisee* v : *ListeDeViseesRecherche)
    if (v->Marque) return true;
  return false;
}

void TNoyauVisuGraphique::SelectVisees() {
  TVisee* s = ChercheViseeProche();
  if (!s || !ListeDeViseesRecherche) return;
  ListeDeViseesRecherche->SelectVisees(s);
  GenereLignesViseesSelectees(odPtLever);
  UneVSelectee = ListeDeViseesRecherche->DerViseeSelectee != nullptr;
}

void TNoyauVisuGraphique::MultiSelectVisees(Bouton bouton, EtatTouches touches) {
  // The clicked point only: the click of a selecting window opens nothing.
  TNoyauGraphique::BaseDessinClick();
  TVisee* s = ChercheViseeProche();
  survey::TListeDeVisees* l = ListeDeViseesRecherche;
  if (!s || !l) return;
  if (bouton == Bouton::Droit) {
    if (touches.Ctrl && !touches.Maj) DeselectViseesSuivantes();
    return;
  }
  if (bouton != Bouton::Gauche) return;
  l->DerViseeSelectee = s;
  const bool selection = UneVSelectee && UneViseeMarquee();
  if ((!touches.Maj && !touches.Ctrl) || !selection) {
    // A plain click, or Ctrl or Shift with nothing selected: s alone.
    l->DemarqueTous();
    s->Marque = true;
    UneVSelectee = true;
  } else if (touches.Ctrl) {
    s->Marque = !s->Marque;
    UneVSelectee = UneViseeMarquee();
  } else {
    // Shift: the run between s and the selection, along the previous shots.
    // Every walk stops after as many steps as there are shots.
    const int n = l->Count();
    TVisee* f = nullptr;
    TVisee* d = nullptr;
    for (TVisee* v : *l)
      if (v->Marque) {
        if (!f) f = v;
        d = v;
      }
    TVisee* atteinte = nullptr;
    TVisee* x = s->ViseePreced();
    for (int pas = 0; x && pas < n; ++pas, x = x->ViseePreced())
      if (x == f || x == d) {
        atteinte = x;
        break;
      }
    // Walking back from a shot: whether s comes before arret (none: no stop).
    const auto precede = [&](const TVisee* depuis, const TVisee* arret) {
      const TVisee* y = depuis ? depuis->ViseePreced() : nullptr;
      for (int pas = 0; y && pas < n; ++pas, y = y->ViseePreced()) {
        if (y == arret) return false;
        if (y == s) return true;
      }
      return false;
    };
    const auto marqueJusqua = [&](TVisee* depuis, const TVisee* dernier, bool inclus) {
      TVisee* y = depuis;
      for (int pas = 0; y && pas < n; ++pas, y = y->ViseePreced()) {
        if (y == dernier && !inclus) break;
        y->Marque = true;
        if (y == dernier) break;
      }
    };
    if (atteinte)
      marqueJusqua(s, atteinte, false);
    else if (f && f != s && precede(f, nullptr))
      marqueJusqua(f->ViseePreced(), s, true);
    else if (d && d != s && precede(d, f))
      marqueJusqua(d->ViseePreced(), s, true);
  }
  GenereLignesViseesSelectees(odPtLever);
}

void TNoyauVisuGraphique::SelectViseesSuivantes() {
  if (!ListeDeViseesRecherche || !ListeDeViseesRecherche->DerViseeSelectee) return;
  ListeDeViseesRecherche->SelectViseesSuivantes();
  GenereLignesViseesSelectees(odPtLever);
}

void TNoyauVisuGraphique::DeselectViseesSuivantes() {
  TVisee* s = ChercheViseeProche();
  if (!s || !ListeDeViseesRecherche) return;
  ListeDeViseesRecherche->DeselectViseesSuivantes(s);
  UneVSelectee = UneViseeMarquee();
  GenereLignesViseesSelectees(odPtLever);
}

void TNoyauVisuGraphique::SelectToutesVisees() {
  if (!ListeDeViseesRecherche) return;
  ListeDeViseesRecherche->SelectToutesVisees();
  UneVSelectee = ListeDeViseesRecherche->Count() > 0;
  GenereLignesViseesSelectees(odPtLever);
}

void TNoyauVisuGraphique::DeSelectToutesVisees(bool redessine) {
  if (ListeDeViseesRecherche) ListeDeViseesRecherche->DeSelectToutesVisees();
  UneVSelectee = false;
  EffaceLignesViseesSelectees(odPtLever, redessine);
}

void TNoyauVisuGraphique::RetireLignesSelection(TypeObjetDessin k) {
  RetireObjets(LeCalque(k), [](const drawing::TObjetDessin* o) { return dynamic_cast<const drawing::TDessinLignePlani*>(o) != nullptr; });
}

void TNoyauVisuGraphique::EffaceLignesViseesSelectees(TypeObjetDessin k, bool redessine) {
  RetireLignesSelection(k);
  if (redessine) RedessineVue();
}

void TNoyauVisuGraphique::GenereLignesViseesSelectees(TypeObjetDessin k) {
  RetireLignesSelection(k);
  const bool alti = foundation::EstDessinAlti();
  auto& affichage = drawing::Affichage();
  for (TCavite* c : CavitesDessinees()) {
    GardeValeur<survey::TParamDessinCavite*> param(affichage.ParamCaviteCourant, &c->ParamDessinCavite);
    std::unique_ptr<drawing::TDessinLignePlani> ligne;
    const TPointSpeleo* finPrecedente = nullptr;
    const auto ferme = [&] {
      if (ligne) AjouteObjetDessin(k, std::move(ligne));
    };
    for (TVisee* v : c->Visees) {
      if (!v->Marque || !v->PtOrigCalc || !v->PtCalc) continue;
      // An elevation shows only the shots in it.
      if (alti && !v->EstDansCoupe) continue;
      TPointSpeleo* debut = v->PtOrigCalc;
      if (!ligne || !debut->ViseeAvant || v->EstDebutGal() || v->PtCalc->EstAnnexe() || debut != finPrecedente) {
        ferme();
        ligne = std::make_unique<drawing::TDessinLignePlani>(&drawing::Motifs().TraitSelectionVisees);
        ligne->CodeAffichage = k;
        ligne->AjoutePoint(*debut);
      }
      ligne->AjoutePoint(*v->PtCalc);
      finPrecedente = v->PtCalc;
    }
    ferme();
  }
  RendAffichable(EnsembleTypes({k}));
  RedessineVue();
}

// --- Frame selection ----------------------------------------------------------------------------

void TNoyauVisuGraphique::CreeCadreSelect(bool deselect) {
  if (CtrlPresse) return;
  if (!DebutCadre) {
    if (deselect) DeSelectDessin();
    DebutCadre = true;
    CadreSelect = foundation::TRect{DerPointClique.X, DerPointClique.Y, DerPointClique.X, DerPointClique.Y};
    Repeint();
    return;
  }
  DebutCadre = false;
  CadreSelect.Right = DerPointClique.X;
  CadreSelect.Top = DerPointClique.Y;
  if (CadreSelect.Left > CadreSelect.Right) std::swap(CadreSelect.Left, CadreSelect.Right);
  if (CadreSelect.Bottom > CadreSelect.Top) std::swap(CadreSelect.Bottom, CadreSelect.Top);
  SelectDessinParCadre();
  RedessineVue();
}

void TNoyauVisuGraphique::SelectDessinParCadre() {
  for (TypeObjetDessin k : {odDessin, odHabillage, odTexte, odCoupes, odEcarts})
    SelectCadreCalque(k, ListeObjetsSelectes, CadreSelect);
}

void TNoyauVisuGraphique::DeSelectDessin() {
  for (drawing::TObjetDessin* o : ListeObjetsSelectes) o->Selecte = false;
  ListeObjetsSelectes.clear();
  RedessineVue();
}

}  // namespace views
