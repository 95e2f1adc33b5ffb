#include "views/noyau_visu_dessin.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/donnees_coupe_long.h"
#include "drawing/dessin_point_surface.h"
#include "drawing/liste_mtf.h"
#include "drawing/quadrillage.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "views/contexte_views.h"
#include "views/ports_vues.h"

namespace views {

using enum drawing::TypeObjetDessin;
using foundation::IdMsg;
using foundation::Msg;
using survey::TCavite;

namespace {

survey::TReseau* Reseau() { return survey::Document().ReseauCourant; }

TCavite* CaviteActive() {
  survey::TReseau* r = Reseau();
  return r ? r->LaCaviteActive : nullptr;
}

}  // namespace

// --- Drawing view ------------------------------------------------------------------------------

TNoyauVisuDessin::~TNoyauVisuDessin() {
  if (drawing::tListeMtf* bibliotheque = BibliothequeDocument()) bibliotheque->DemasqueTousMotifs();
  if (TCavite* c = CaviteActive()) c->RefCalculAlti = nullptr;
  EtatVisu().TypeAltitudeCourant = 0;
  EtatVisu().EntreeRefAlti = nullptr;
}

int TNoyauVisuDessin::iTypeFiche() {
  const int code = cfVisuDessinPlan + static_cast<int>(foundation::Vue().TypeDessinCourant);
  AffichageDefaut = AffichageDefautCode(code);
  return code;
}

void TNoyauVisuDessin::Initialise() {
  TNoyauVisuGraphique::Initialise();
  ComposCoupe = true;
  survey::TReseau* reseau = Reseau();
  PkTpDisponible = false;
  if (reseau)
    for (int i = 1; i < reseau->NombreCavites(); ++i)
      if (const drawing::TAnnexeDessinCavite* a = drawing::AnnexeDessin(reseau->UneCavite(i)); a && a->PkTpExiste())
        PkTpDisponible = true;
  // The document library's patterns that the network uses are locked.
  if (drawing::tListeMtf* bibliotheque = BibliothequeDocument(); reseau && bibliotheque)
    for (drawing::TTypeMotif t : {drawing::TTypeMotif::tmTrait, drawing::TTypeMotif::tmRempli,
                                  drawing::TTypeMotif::tmSymbole, drawing::TTypeMotif::tmFonte})
      drawing::CalculeVerrousMtf(*reseau, *bibliotheque, t);
  // Coordinate ticks instead of the grid.
  EffaceCalque(odQuadrill);
  MirePlani = nullptr;
  MireAlti = nullptr;
  if (foundation::EstDessinAlti())
    MireAlti = static_cast<drawing::TMireAlti*>(AjouteObjetDessin(odQuadrill, std::make_unique<drawing::TMireAlti>()));
  else
    MirePlani =
        static_cast<drawing::TMirePlani*>(AjouteObjetDessin(odQuadrill, std::make_unique<drawing::TMirePlani>()));
  AfficherPointEnable = true;
  TCavite* active = CaviteActive();
  survey::TPointSpeleo* entree = active ? active->LEntree() : nullptr;
  EtatVisu().EntreeRefAlti = entree;
  if (active) active->RefCalculAlti = entree;
  // Ticks shown by the display memory start on the entrance.
  if (entree && ObjetsAffichables.Types[static_cast<size_t>(odQuadrill)]) {
    if (MirePlani) MirePlani->Init(entree->X, entree->Y);
    if (MireAlti) MireAlti->Init(true, entree->Z);
  }
  Titre += " - " + (active ? active->NomCavite : std::string());
}

void TNoyauVisuDessin::FermeRemplissages() {
  for (int k = static_cast<int>(drawing::TJeuCalques::PremierCalque);
       k <= static_cast<int>(drawing::TJeuCalques::DernierCalque); ++k) {
    const auto nature = static_cast<TypeObjetDessin>(k);
    if (!drawing::TJeuCalques::EstNatureCalque(nature)) continue;
    drawing::TCalque& calque = LeCalque(nature);
    if (!calque.CalqueModifie) continue;
    for (const auto& o : calque.ObjetsDessines)
      if (o && o->EstRemplissage()) o->TesteFermeture();
  }
}

bool TNoyauVisuDessin::SVGBtnClick() {
  const auto& exporte = Ports().ExporteSVG;
  if (!exporte) return false;
  FermeRemplissages();
  return exporte(InitConstSVG(), &LeCalque(odAutreNiveau), EtatVisu().ExportSVGDirect);
}

void TNoyauVisuDessin::PkTpBtnClick() {
  if (ObjetsAffichables.Types[static_cast<size_t>(odPkTp)])
    RendNonAffiche(EnsembleTypes({odPkTp}));
  else
    RendAffichable(EnsembleTypes({odPkTp}));
  RedessineVue();
}

// --- Plan view ---------------------------------------------------------------------------------

TNoyauVisuPlan::~TNoyauVisuPlan() {
  if (!ferme_) RendTousDessines();
}

void TNoyauVisuPlan::InitDessin() {
  TNoyauVisuDessin::InitDessin();
  survey::TReseau* reseau = Reseau();
  Titre = Msg(IdMsg::VisuPlanTitre) + (reseau ? reseau->Nom : std::string());
  RendAffichable(EnsembleTypes({odNotes}));
  DessinCavBtnVisible = !MonoCavite && reseau && reseau->NombreCavites() >= 3;
  if (!reseau) return;
  // The caves left out at the last closing, when they are still there.
  const std::vector<const TCavite*>& exclues = MemoiresCaviteActive()[cfVisuDessinPlan].CavNonDessinee;
  for (int i = 1; i < reseau->NombreCavites(); ++i) {
    TCavite* c = reseau->UneCavite(i);
    if (std::find(exclues.begin(), exclues.end(), c) != exclues.end()) c->Adessiner = false;
  }
}

drawing::TConstantesSVG TNoyauVisuPlan::InitConstSVG() const {
  survey::TReseau* reseau = Reseau();
  if (!reseau) return {};
  return drawing::InitConstSVG(*reseau, foundation::TTypeDeDessin::tddPlani);
}

void TNoyauVisuPlan::GrillePlaniBtnClick(bool enfonce) {
  if (enfonce) {
    const TCavite* c = CaviteActive();
    const survey::TPointSpeleo* e = c ? c->LEntree() : nullptr;
    if (MirePlani && e) MirePlani->Init(e->X, e->Y);
    RendAffichable(EnsembleTypes({odQuadrill}));
  } else {
    RendNonAffiche(EnsembleTypes({odQuadrill}));
  }
  RedessineVue();
}

void TNoyauVisuPlan::FormClose() {
  TNoyauVisuDessin::FormClose();
  std::vector<const TCavite*>& exclues = MemoiresCaviteActive()[cfVisuDessinPlan].CavNonDessinee;
  exclues.clear();
  if (survey::TReseau* reseau = Reseau())
    for (int i = 1; i < reseau->NombreCavites(); ++i)
      if (const TCavite* c = reseau->UneCavite(i); !c->Adessiner) exclues.push_back(c);
  RendTousDessines();
  ferme_ = true;
}

void TNoyauVisuPlan::RendTousDessines() {
  survey::TReseau* reseau = Reseau();
  if (!reseau) return;
  for (int i = 1; i < reseau->NombreCavites(); ++i) {
    TCavite* c = reseau->UneCavite(i);
    c->Adessiner = true;
    c->ParamDessinCavite.CaviteAffichee = true;
  }
}

void TNoyauVisuPlan::VisuEnregistrerPoint() {
  const auto& enregistre = Ports().EnregistrePointClique;
  if (!enregistre) return;
  foundation::TPointTopo sol;
  foundation::DessinVersPtTopo(DerPointClique, sol);
  if (enregistre(*this, sol)) AjouteDernierPointSurface();
}

void TNoyauVisuPlan::AjouteDernierPointSurface() {
  survey::TReseau* reseau = Reseau();
  survey::TListedePoints* points = reseau ? reseau->LesPointsSurface() : nullptr;
  if (!points || points->Count() == 0) return;
  {
    drawing::GardeValeur<survey::TParamDessinCavite*> param(drawing::Affichage().ParamCaviteCourant, nullptr);
    AjouteObjetDessin(odPtSurf, std::make_unique<drawing::TDessinPointSurface>(points->Last()));
  }
  RedessineVue();
  if (TCavite* surface = reseau->UneCavite(0)) surface->ReGenereListePoints(false);
}

// --- Elevation view ------------------------------------------------------------------------------

namespace {

// A section's remembered view settings.
class TAffVisuCoupe : public drawing::TDonneesFenetresCavite {
 public:
  TCfAffichage Memoire;
};

TCfAffichage& SauveAffVisuCoupe(drawing::TDonneesCoupeLong& coupe) {
  auto* m = dynamic_cast<TAffVisuCoupe*>(coupe.DonneesFenetres.get());
  if (!m) {
    auto nouveau = std::make_unique<TAffVisuCoupe>();
    m = nouveau.get();
    coupe.DonneesFenetres = std::move(nouveau);
  }
  return m->Memoire;
}

}  // namespace

GardeAffVisuCoupe::GardeAffVisuCoupe(drawing::TDonneesCoupeLong& coupe)
    : coupe_(coupe), code_(cfVisuDessinPlan + static_cast<int>(coupe.TypeDeDessin())) {
  MemoiresCaviteActive()[static_cast<size_t>(code_)] = SauveAffVisuCoupe(coupe_);
}

GardeAffVisuCoupe::~GardeAffVisuCoupe() {
  SauveAffVisuCoupe(coupe_) = MemoiresCaviteActive()[static_cast<size_t>(code_)];
}

std::string TitreCoupe(const std::string& cavite, drawing::TDonneesCoupeLong& coupe) {
  using foundation::TTypeDeDessin;
  const TTypeDeDessin k = coupe.TypeDeDessin();
  std::string t = Msg(IdMsg::VisuCoupeTitre) + cavite + " - " + coupe.DesignCoupe + " (" +
                  Msg(k == TTypeDeDessin::tddAltiProj ? IdMsg::VisuCoupeProjetee : IdMsg::VisuCoupeDeveloppee) + " " +
                  Msg(coupe.Partielle ? IdMsg::VisuCoupePartielle : IdMsg::VisuCoupeTotale) + ")";
  if (k != TTypeDeDessin::tddAltiDev) {
    const double direction = coupe.AngleCoupeProj < -900 ? drawing::DirectionViseesCoupe(coupe) : coupe.AngleCoupeProj;
    t += Msg(IdMsg::VisuCoupeDirection) + std::to_string(foundation::Arrondi(direction * 180 / std::numbers::pi)) + "°";
  }
  return t;
}

void TNoyauVisuCoupe::Initialise() {
  TNoyauVisuDessin::Initialise();
  TCavite* c = CaviteActive();
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
  if (c && annexe && annexe->LeDessinAlti) Titre = TitreCoupe(c->NomCavite, *annexe->LeDessinAlti);
  GrilleAbs = MireAlti && ObjetsAffichables.Types[static_cast<size_t>(odQuadrill)];
  GrilleRel = false;
}

drawing::TConstantesSVG TNoyauVisuCoupe::InitConstSVG() const {
  survey::TReseau* reseau = Reseau();
  if (!reseau) return {};
  return drawing::InitConstSVG(*reseau, foundation::Vue().TypeDessinCourant);
}

void TNoyauVisuCoupe::GrilleBtnClick(bool absolu) {
  bool& clique = absolu ? GrilleAbs : GrilleRel;
  bool& autre = absolu ? GrilleRel : GrilleAbs;
  clique = !clique;
  autre = false;
  if (clique) {
    const TCavite* c = CaviteActive();
    const survey::TPointSpeleo* e = c ? c->LEntree() : nullptr;
    if (MireAlti) MireAlti->Init(absolu, e ? e->Z : 0.0);
    RendAffichable(EnsembleTypes({odQuadrill}));
  } else {
    RendNonAffiche(EnsembleTypes({odQuadrill}));
  }
  RedessineVue();
}

}  // namespace views
