#include "drawing/donnees_dessin_basique.h"

#include <algorithm>
#include <unordered_map>

#include "drawing/contexte_dessin.h"
#include "drawing/contexte_motifs.h"
#include "drawing/deplacable.h"
#include "drawing/ports_motifs.h"
#include "foundation/arrondi.h"
#include "foundation/niveau_fichier.h"
#include "foundation/transformation_vue.h"
#include "survey/cavite.h"
#include "survey/suppressions.h"
#include "survey/visee.h"

namespace drawing {

using foundation::TFlux;

namespace {

constexpr int32_t kNiveauEchelle = 208;
constexpr int32_t kNiveauCouleurFiligrane = 206;
// Offset parts nest in the file; deeper than this a file is taken as damaged
// rather than read at the cost of the whole stack.
constexpr int kProfondeurMaxEcarts = 64;

}  // namespace

// --- Drawing ---------------------------------------------------------------------------------------

TDonneesDessinBasique::TDonneesDessinBasique() = default;

TDonneesDessinBasique::~TDonneesDessinBasique() = default;

TDonneesEcart* TDonneesDessinBasique::UnEcart(int i) const { return ListeEcarts.UnObjet(i); }

void TDonneesDessinBasique::DefViseesDeRef(TViseesDeRef visees) { ListeDonneesDessin.LesViseesDessin = visees; }

bool TDonneesDessinBasique::DessinVide() {
  return ListeCoupes.Vide() && ListeEcarts.Vide() && ListeDonneesDessin.NombreElements() == 0;
}

void TDonneesDessinBasique::CalculeDessin() {
  GardeIndexVisees index;
  ListeDonneesDessin.CalculeDessin();
  for (int i = ListeCoupes.Count() - 1; i >= 0; --i) {
    TDonneesCoupe* c = ListeCoupes.UnObjet(i);
    c->LeCoeffDessinCoupe = c->CoupePkTp ? 1.0 : CoeffDessinCoupes;
    c->CalculePoints();
  }
  for (int i = ListeEcarts.Count() - 1; i >= 0; --i) ListeEcarts.UnObjet(i)->CalculePoints();
  // Only the outermost computation ends the recomputation of texts, so that
  // every offset part's texts see it.
  if (index.Exterieur()) Dessin().RecalculeTextes = false;
}

void TDonneesDessinBasique::EffaceObjetsSansPoints() {
  ListeDonneesDessin.EffaceObjetsSansPoints();
  ListeCoupes.SupprimeSi([](const TDonneesCoupe* c) { return !c->ObjetValide(); });
  for (TDonneesEcart* e : ListeEcarts) e->EffaceObjetsSansPoints();
  ListeEcarts.SupprimeSi([](TDonneesEcart* e) { return e->DessinVide(); });
}

void TDonneesDessinBasique::AjouteDessinCavite(TDonneesDessinBasique& Destination) {
  if (&Destination == this) return;
  ListeDonneesDessin.Transfere(Destination.ListeDonneesDessin);
  if (Destination.ListeCoupes.Vide() && !ListeCoupes.Vide()) Destination.CoeffDessinCoupes = CoeffDessinCoupes;
  for (auto& c : ListeCoupes.ExtraitTout()) Destination.ListeCoupes.Add(std::move(c));
  for (auto& e : ListeEcarts.ExtraitTout()) {
    e->Proprio = &Destination;
    Destination.ListeEcarts.Add(std::move(e));
  }
  if (Destination.EchelleDessin == -1) Destination.EchelleDessin = EchelleDessin;
}

void TDonneesDessinBasique::CopieDessinVersAutre(TDonneesDessinBasique& Dest, bool EffacerSource) {
  if (&Dest == this) return;
  GardeValeur<bool> memeCavite(Dessin().CopieMemeCavite, true);
  TListeDonneesDessin& source = ListeDonneesDessin;
  TListeDonneesDessin& dest = Dest.ListeDonneesDessin;
  auto selecte = [](const auto* e) { return e->Selecte; };

  // Lines that go: the selected ones, or their copies.
  std::unordered_map<const TObjetDonneesBasique*, TObjetDonneesBasique*> equivalentes;
  std::vector<std::unique_ptr<TObjetDonneesBasique>> lignes;
  if (!EffacerSource)
    for (TObjetDonneesBasique* l : source.LesMultiPoints)
      if (l->Selecte) {
        lignes.push_back(l->CreeCopie());
        equivalentes[l] = lignes.back().get();
      }
  // A bounding line of a selected fill that stays here is cloned once for
  // all the fills that go.
  std::vector<std::unique_ptr<TObjetDonneesBasique>> clones;
  std::unordered_map<const TObjetDonneesBasique*, TObjetDonneesBasique*> clonees;
  std::vector<std::unique_ptr<TObjetDonneesRemplir>> remplis;
  for (TObjetDonneesRemplir* r : source.LesRemplissages) {
    if (!r->Selecte) continue;
    TObjetDonneesRemplir* cible = r;
    if (!EffacerSource) {
      remplis.emplace_back(static_cast<TObjetDonneesRemplir*>(r->CreeCopie().release()));
      cible = remplis.back().get();
      cible->ListePoly = r->ListePoly;
    }
    for (TObjetDonneesBasique*& l : cible->ListePoly) {
      if (!l) continue;
      if (l->Selecte) {
        if (!EffacerSource) l = equivalentes[l];
        continue;
      }
      auto& clone = clonees[l];
      if (!clone) {
        clones.push_back(l->CreeCopie());
        clone = clones.back().get();
      }
      l = clone;
    }
  }
  if (EffacerSource) {
    // The fills go first, so that taking the lines out only detaches them
    // from the fills that stay.
    remplis = source.LesRemplissages.ExtraitSi(selecte);
    lignes = source.ExtraitLignes(selecte);
  }
  for (auto& l : lignes) dest.AjouteDonneesDessin(std::move(l));
  for (auto& l : clones) dest.AjouteDonneesDessin(std::move(l));
  for (auto& r : remplis) dest.AjouteDonneesDessin(std::move(r));
  if (EffacerSource) {
    for (auto& s : source.LesSymboles.ExtraitSi(selecte)) dest.AjouteDonneesDessin(std::move(s));
    for (auto& t : source.LesTextes.ExtraitSi(selecte)) dest.AjouteDonneesDessin(std::move(t));
    for (auto& c : ListeCoupes.ExtraitSi(selecte)) Dest.ListeCoupes.Add(std::move(c));
  } else {
    for (TObjetDonneesSymbole* s : source.LesSymboles)
      if (s->Selecte) dest.AjouteDonneesDessin(s->CreeCopie());
    for (TObjetTexte* t : source.LesTextes)
      if (t->Selecte) dest.AjouteDonneesDessin(t->CreeCopie());
    GardeValeur<bool> relatif(Dessin().CalculRelatif, true);
    for (TDonneesCoupe* c : ListeCoupes)
      if (c->Selecte)
        if (auto copie = c->CopieCoupe()) Dest.ListeCoupes.Add(std::move(copie));
  }
}

void TDonneesDessinBasique::CopieDessinVersNouveau(TDonneesDessinBasique& Dest) {
  if (&Dest == this) return;
  GardeValeur<bool> memeCavite(Dessin().CopieMemeCavite, true);
  Dest.EchelleDessin = EchelleDessin;
  ListeDonneesDessin.CreeCopieDessin(Dest.ListeDonneesDessin);
  {
    // The sections' element points have no shot: they survive the cloning
    // only in relative placement.
    GardeValeur<bool> relatif(Dessin().CalculRelatif, true);
    for (TDonneesCoupe* c : ListeCoupes)
      if (auto copie = c->CopieCoupe()) Dest.ListeCoupes.Add(std::move(copie));
  }
  for (TDonneesEcart* e : ListeEcarts) {
    auto n = std::make_unique<TDonneesEcart>();
    n->ListeDonneesDessin.TypeDeDessin = e->ListeDonneesDessin.TypeDeDessin;
    e->ListeDonneesDessin.CreeCopieDessin(n->ListeDonneesDessin);
    n->ViseesEcart.Visees = e->ViseesEcart.Visees;
    n->EchelleDessin = e->EchelleDessin;
    n->PositX = e->PositX;
    n->PositY = e->PositY;
    n->CoeffDessinEcart = e->CoeffDessinEcart;
    n->CadreEcart = e->CadreEcart;
    n->MargeCadre = e->MargeCadre;
    n->CouleurFiligr = e->CouleurFiligr;
    if (e->CadreEcart) n->TraitCadre = e->TraitCadre;
    n->Proprio = &Dest;
    e->EquivEcart = n.get();
    Dest.ListeEcarts.Add(std::move(n));
  }
}

void TDonneesDessinBasique::InitCopieDessin() {
  ListeDonneesDessin.InitCopieDessin();
  for (TDonneesCoupe* c : ListeCoupes) {
    c->InitCopieDessin();
    c->EquivCoupe = nullptr;
  }
  for (TDonneesEcart* e : ListeEcarts) {
    e->InitCopieDessin();
    e->EquivEcart = nullptr;
  }
}

bool TDonneesDessinBasique::CalculeVerrousMtf(TObjetMotifdeBase* vMotif) {
  if (ListeDonneesDessin.CalculVerrousMotifdeBase(vMotif)) return true;
  for (TDonneesCoupe* c : ListeCoupes)
    if (c->CalculVerrousMotifdeBase(vMotif)) return true;
  for (TDonneesEcart* e : ListeEcarts) {
    e->ListeDonneesDessin.TypeDeDessin = TypeDeDessin();
    if (e->CalculeVerrousMtf(vMotif)) return true;
  }
  return false;
}

void TDonneesDessinBasique::FusionneMotifsdeBase(TObjetMotifdeBase* MotifAGarder, TObjetMotifdeBase* MotifAFusionner) {
  ListeDonneesDessin.FusionneMotifsdeBase(MotifAGarder, MotifAFusionner);
  for (TDonneesCoupe* c : ListeCoupes) c->FusionneMotifsdeBase(MotifAGarder, MotifAFusionner);
  for (TDonneesEcart* e : ListeEcarts) e->FusionneMotifsdeBase(MotifAGarder, MotifAFusionner);
}

void TDonneesDessinBasique::InverseDessinTout() {
  ListeDonneesDessin.InverseDessin();
  for (TDonneesCoupe* c : ListeCoupes) c->InverseSensViseeCoupeAlti();
  for (TDonneesEcart* e : ListeEcarts) e->InverseDessinTout();
}

void TDonneesDessinBasique::SauveAnglesDessinTout() {
  ListeDonneesDessin.SauveAnglesDessin();
  for (TDonneesCoupe* c : ListeCoupes) c->SauveAnglesDessinCoupe();
  for (TDonneesEcart* e : ListeEcarts) e->SauveAnglesDessinTout();
}

void TDonneesDessinBasique::RestaureAnglesDessinTout() {
  ListeDonneesDessin.RestaureAnglesDessin();
  for (TDonneesCoupe* c : ListeCoupes) c->RestaureAnglesDessinCoupe();
  for (TDonneesEcart* e : ListeEcarts) e->RestaureAnglesDessinTout();
}

void TDonneesDessinBasique::ChangeCouleurFiligr(uint32_t AncienneCouleur) {
  for (TDonneesEcart* e : ListeEcarts)
    if (e->CouleurFiligr == AncienneCouleur) e->CouleurFiligr = Dessin().CouleurFiligrane;
  SignaleDocumentModifie();
}

void TDonneesDessinBasique::ChangeProjection(const std::string& AncienProj, int32_t AncienFuseau,
                                             const std::string& NouveauProj, int32_t NouveauFuseau) {
  if (ListeDonneesDessin.LaConfig)
    ListeDonneesDessin.LaConfig->ChangeProjectionConfig(AncienProj, AncienFuseau, NouveauProj, NouveauFuseau);
  for (TDonneesEcart* e : ListeEcarts) e->ChangeProjection(AncienProj, AncienFuseau, NouveauProj, NouveauFuseau);
}

void TDonneesDessinBasique::Nettoie(const survey::TSuppressions& s) {
  ListeDonneesDessin.Nettoie(s);
  for (TDonneesCoupe* c : ListeCoupes) c->Nettoie(s);
  for (TDonneesEcart* e : ListeEcarts) e->Nettoie(s);
}

void TDonneesDessinBasique::RelogeMotifs(const TRelogeMotifs& reloge) {
  ListeDonneesDessin.RelogeMotifs(reloge);
  for (TDonneesCoupe* c : ListeCoupes) c->RelogeMotifs(reloge);
  for (TDonneesEcart* e : ListeEcarts) e->RelogeMotifs(reloge);
}

bool TDonneesDessinBasique::EcritConfig(TFlux& f) {
  if (!ListeDonneesDessin.LaConfig || !ListeDonneesDessin.LaConfig->EcritObjet(f)) return false;
  for (TDonneesEcart* e : ListeEcarts)
    if (!e->EcritConfig(f)) return false;
  return true;
}

bool TDonneesDessinBasique::LitConfig(TFlux& f) {
  if (!ListeDonneesDessin.LaConfig) ListeDonneesDessin.LaConfig = CreeConfigDessin();
  if (!ListeDonneesDessin.LaConfig->LitObjet(f)) return false;
  for (TDonneesEcart* e : ListeEcarts)
    if (!e->LitConfig(f)) return false;
  return true;
}

bool TDonneesDessinBasique::EcritObjet(TFlux& f) {
  if (!ListeDonneesDessin.EcritObjet(f) || !f.EcritInteger(EchelleDessin) || !ListeCoupes.EcritListe(f) ||
      !f.EcritReal(CoeffDessinCoupes) || !f.EcritBoolean(EncadreCoupes) || !f.EcritReal(AngleCoupeProj) ||
      !ListeEcarts.EcritListe(f))
    return ResultObjet = false;
  return ResultObjet = true;
}

bool TDonneesDessinBasique::LitObjet(TFlux& f) {
  const int32_t niveau = foundation::NiveauFichier().VersionFichierLue;
  ResultObjet = false;
  if (!ListeDonneesDessin.LitObjet(f)) return false;
  if (niveau >= kNiveauEchelle && !f.LitInteger(EchelleDessin)) return false;
  if (!ListeCoupes.LitListe(f) || !f.LitReal(CoeffDessinCoupes) || !f.LitBoolean(EncadreCoupes) ||
      !f.LitReal(AngleCoupeProj))
    return false;
  ListeEcarts.Clear();
  int32_t n = 0;
  if (!f.LitInteger(n)) return false;
  if (n > 0 && static_cast<uint64_t>(n) > f.Restant()) return false;
  for (int32_t i = 0; i < n; ++i) {
    auto e = std::make_unique<TDonneesEcart>();
    e->Proprio = this;
    if (!e->LitObjet(f)) return false;
    ListeEcarts.Add(std::move(e));
  }
  return ResultObjet = true;
}

// --- Offset parts -----------------------------------------------------------------------------------

TDonneesEcart::TDonneesEcart() : ConfigEcart(CreeConfigDessin()) {
  DefViseesDeRef(&ViseesEcart);
  TraitCadre = Motifs().TraitObjetDefaut.GetValeurTrait();
  EstEcart = true;
}

TDonneesEcart::~TDonneesEcart() { TDessinEcart::DelieDonnees(LeDessinEcart); }

bool TDonneesEcart::DessinVide() {
  std::erase_if(ViseesEcart.Visees, [](const survey::TVisee* v) { return !v || v->AEffacer; });
  return ViseesEcart.Visees.empty() || TDonneesDessinBasique::DessinVide();
}

void TDonneesEcart::CalculePoints() {
  ContexteDessin& d = Dessin();
  GardeValeur<double> x(d.DecalageDessinX, PositX);
  GardeValeur<double> y(d.DecalageDessinY, PositY);
  CalculeDessin();
}

void TDonneesEcart::SelectTout(bool vSelecte) {
  Selecte = vSelecte;
  auto selection = [vSelecte](TListeDonneesDessin& l) {
    if (vSelecte)
      l.SelecTousObjets();
    else
      l.DeSelecTousObjets();
  };
  selection(ListeDonneesDessin);
  for (TDonneesCoupe* c : ListeCoupes) selection(*c);
}

void TDonneesEcart::CalculePointsTransfo(foundation::TPoint& PtTmp) const {
  foundation::GardeTypeDessin plan(foundation::TTypeDeDessin::tddPlani);
  const foundation::TPointTopo p = PointPlan(PtTmp.X, PtTmp.Y);
  const double a = foundation::AzimutXY(CentreEcart, p);
  const double d = foundation::DistanceXY(CentreEcart, p);
  foundation::TPointTopo r;
  foundation::PointRayonne(CentreEcart, a, d * CoeffDessinEcart, true, r);
  PtTmp.X = foundation::Arrondi(r.X);
  PtTmp.Y = foundation::Arrondi(r.Y);
}

void TDonneesEcart::Nettoie(const survey::TSuppressions& s) {
  TDonneesDessinBasique::Nettoie(s);
  if (!s.Visees().empty())
    std::erase_if(ViseesEcart.Visees, [&](const survey::TVisee* v) { return s.ViseeSupprimee(v); });
}

bool TDonneesEcart::EcritObjet(TFlux& f) {
  if (!TDonneesDessinBasique::EcritObjet(f)) return false;
  InitES(f);
  EcrisInteger(ViseesEcart.Count());
  for (const survey::TVisee* v : ViseesEcart.Visees) EcrisInteger(v ? v->IndexFichier : -1);
  EcrisReal(PositX);
  EcrisReal(PositY);
  EcrisReal(CoeffDessinEcart);
  if (!EcrisBoolean(CadreEcart)) return false;
  TObjetTrait cadre;
  cadre.SetValeurTrait(TraitCadre);
  if (!cadre.EcritObjet(f)) return ResultObjet = false;
  InitES(f);
  EcrisInteger(MargeCadre);
  return EcrisInteger(static_cast<int32_t>(CouleurFiligr));
}

bool TDonneesEcart::LitObjet(TFlux& f) {
  ContexteDessin& d = Dessin();
  GardeValeur<int> profondeur(d.ProfondeurLecture, d.ProfondeurLecture + 1);
  if (d.ProfondeurLecture > kProfondeurMaxEcarts) return ResultObjet = false;
  const int32_t niveau = foundation::NiveauFichier().VersionFichierLue;
  if (!TDonneesDessinBasique::LitObjet(f)) return false;
  InitES(f);
  int32_t n = 0;
  if (!LisInteger(n)) return false;
  if (n > 0 && static_cast<uint64_t>(n) > f.Restant() / 4) return ResultObjet = false;
  ViseesEcart.Visees.clear();
  const survey::TCavite* cavite = d.CaviteDessinCourante;
  for (int32_t k = 0; k < n; ++k) {
    int32_t i = -1;
    if (!LisInteger(i)) return false;
    // A position beyond the cave's shots gives an empty entry, which
    // DessinVide drops.
    if (i >= 0) ViseesEcart.Add(cavite ? cavite->LaVisee(i) : nullptr);
  }
  LisReal(PositX);
  LisReal(PositY);
  LisReal(CoeffDessinEcart);
  if (!LisBoolean(CadreEcart)) return false;
  TObjetTrait cadre;
  cadre.EstCadreEcart = true;
  if (!cadre.LitObjet(f)) return ResultObjet = false;
  TraitCadre = cadre.GetValeurTrait();
  InitES(f);
  LisInteger(MargeCadre);
  if (niveau >= kNiveauCouleurFiligrane) {
    int32_t couleur = 0;
    if (LisInteger(couleur)) CouleurFiligr = static_cast<uint32_t>(couleur);
  } else {
    CouleurFiligr = d.CouleurFiligrane;
  }
  return ResultObjet;
}

}  // namespace drawing
