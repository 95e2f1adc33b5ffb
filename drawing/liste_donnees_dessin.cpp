#include "drawing/liste_donnees_dessin.h"

#include <algorithm>

#include "drawing/contexte_dessin.h"
#include "drawing/objet_motif_de_base.h"
#include "foundation/niveau_fichier.h"
#include "survey/visee.h"

namespace drawing {

using foundation::TFlux;
using foundation::TTypeDeDessin;

namespace {

constexpr int32_t kNiveauAncienTextes = 500;
constexpr int32_t kNiveauTypeDessin = 204;

// The elements of a list that fail a test, tested from the last to the
// first.
template <class T, class Test>
std::unordered_set<const T*> Echecs(const TListeElements<T>& liste, Test test) {
  std::unordered_set<const T*> echecs;
  for (int i = liste.Count() - 1; i >= 0; --i) {
    T* e = liste.UnObjet(i);
    if (!test(e)) echecs.insert(e);
  }
  return echecs;
}

template <class T>
void SupprimeEchecs(TListeElements<T>& liste, const std::unordered_set<const T*>& echecs) {
  if (!echecs.empty()) liste.SupprimeSi([&](const T* e) { return echecs.count(e) != 0; });
}

template <class T>
void Deplace(TListeElements<T>& source, TListeDonneesDessin& destination) {
  for (auto& e : source.ExtraitTout()) destination.AjouteDonneesDessin(std::move(e));
}

}  // namespace

TListeDonneesDessin::TListeDonneesDessin() : LaConfig(CreeConfigDessin()) {}

TListeDonneesDessin::~TListeDonneesDessin() = default;

int TListeDonneesDessin::NombreElements() const {
  return LesMultiPoints.Count() + LesRemplissages.Count() + LesSymboles.Count() + LesTextes.Count();
}

TObjetDonneesBasique* TListeDonneesDessin::AjouteDonneesDessin(std::unique_ptr<TObjetDonneesBasique> vOdb) {
  TObjetDonneesBasique* e = vOdb.get();
  if (!e) return nullptr;
  e->ListeDonneesProprio = this;
  if (dynamic_cast<TObjetTexte*>(e))
    LesTextes.Add(std::unique_ptr<TObjetTexte>(static_cast<TObjetTexte*>(vOdb.release())));
  else if (auto* s = dynamic_cast<TObjetDonneesSymbole*>(e)) {
    if (s->TexteSymb) s->TexteSymb->ListeDonneesProprio = this;
    LesSymboles.Add(std::unique_ptr<TObjetDonneesSymbole>(static_cast<TObjetDonneesSymbole*>(vOdb.release())));
  }
  else if (dynamic_cast<TObjetDonneesRemplir*>(e))
    LesRemplissages.Add(std::unique_ptr<TObjetDonneesRemplir>(static_cast<TObjetDonneesRemplir*>(vOdb.release())));
  else
    LesMultiPoints.Add(std::move(vOdb));
  return e;
}

void TListeDonneesDessin::PourTousObjets(const std::function<void(TObjetDonneesBasique&)>& vProc) const {
  for (TObjetDonneesBasique* e : LesMultiPoints) vProc(*e);
  for (TObjetDonneesRemplir* e : LesRemplissages) vProc(*e);
  for (TObjetDonneesSymbole* e : LesSymboles) vProc(*e);
  for (TObjetTexte* e : LesTextes) vProc(*e);
}

void TListeDonneesDessin::SelecTousObjets() {
  PourTousObjets([](TObjetDonneesBasique& e) { e.Selecte = true; });
}

void TListeDonneesDessin::DeSelecTousObjets() {
  PourTousObjets([](TObjetDonneesBasique& e) { e.Selecte = false; });
}

void TListeDonneesDessin::TousObjetsNonFiligrane() {
  PourTousObjets([](TObjetDonneesBasique& e) { e.EstFiligrane = false; });
}

void TListeDonneesDessin::InitCopieDessin() {
  PourTousObjets([](TObjetDonneesBasique& e) { e.EquivTransfert = nullptr; });
}

// --- Removing lines ------------------------------------------------------------------------------

void TListeDonneesDessin::OteDesRemplissages(const std::unordered_set<const TObjetDonneesBasique*>& lignes) {
  if (lignes.empty()) return;
  for (TObjetDonneesRemplir* r : LesRemplissages)
    std::erase_if(r->ListePoly, [&](const TObjetDonneesBasique* l) { return lignes.count(l) != 0; });
}

std::vector<std::unique_ptr<TObjetDonneesBasique>> TListeDonneesDessin::ExtraitLignes(
    const std::function<bool(const TObjetDonneesBasique*)>& pred) {
  auto sorties = LesMultiPoints.ExtraitSi(pred);
  std::unordered_set<const TObjetDonneesBasique*> ensemble;
  for (const auto& l : sorties) ensemble.insert(l.get());
  OteDesRemplissages(ensemble);
  return sorties;
}

int TListeDonneesDessin::SupprimeLignes(const std::function<bool(const TObjetDonneesBasique*)>& pred) {
  return static_cast<int>(ExtraitLignes(pred).size());
}

bool TListeDonneesDessin::SupprimeLigne(const TObjetDonneesBasique* ligne) {
  return SupprimeLignes([&](const TObjetDonneesBasique* l) { return l == ligne; }) > 0;
}

// --- Pruning and recomputation ----------------------------------------------------------------------

void TListeDonneesDessin::EffaceObjetsSansPoints() {
  SupprimeEchecs(LesRemplissages, Echecs(LesRemplissages, [](TObjetDonneesRemplir* e) { return e->ObjetValide(); }));
  SupprimeEchecs(LesTextes, Echecs(LesTextes, [](TObjetTexte* e) { return e->ObjetValide(); }));
  const auto lignes = Echecs(LesMultiPoints, [](TObjetDonneesBasique* e) { return e->ObjetValide(); });
  if (!lignes.empty()) SupprimeLignes([&](const TObjetDonneesBasique* l) { return lignes.count(l) != 0; });
  SupprimeEchecs(LesSymboles, Echecs(LesSymboles, [](TObjetDonneesSymbole* e) { return e->ObjetValide(); }));
}

void TListeDonneesDessin::NettoieObjetsRemplis() {
  LesRemplissages.SupprimeSi([](TObjetDonneesRemplir* r) {
    std::erase(r->ListePoly, nullptr);
    return r->ListePoly.empty();
  });
}

void TListeDonneesDessin::CalculeDessin() {
  GardeIndexVisees index;
  const auto lignes = Echecs(LesMultiPoints, [](TObjetDonneesBasique* e) { return e->CalculePoints() >= 2; });
  if (!lignes.empty()) SupprimeLignes([&](const TObjetDonneesBasique* l) { return lignes.count(l) != 0; });
  SupprimeEchecs(LesSymboles, Echecs(LesSymboles, [](TObjetDonneesSymbole* e) { return e->CalculePoints() >= 2; }));
  SupprimeEchecs(LesTextes, Echecs(LesTextes, [](TObjetTexte* e) {
                   const int32_t n = e->CalculePoints();
                   return n >= 2 && !(e->EstEtiquette() && !e->PointDeRef);
                 }));
}

// --- Angles, watermarks, references, calibration ---------------------------------------------------

void TListeDonneesDessin::InverseDessin() {
  PourTousObjets([](TObjetDonneesBasique& e) {
    for (TPointDessin* p : e.Points)
      if (p->VisRefDessin && p->VisRefDessin->Modifiee) p->AngleHab = foundation::NormaliseAngle(-p->AngleHab);
  });
}

void TListeDonneesDessin::SauveAnglesDessin() {
  PourTousObjets([](TObjetDonneesBasique& e) {
    for (TPointDessin* p : e.Points) p->SauveAngleHab = p->AngleHab;
  });
}

void TListeDonneesDessin::RestaureAnglesDessin() {
  PourTousObjets([](TObjetDonneesBasique& e) {
    for (TPointDessin* p : e.Points) p->AngleHab = p->SauveAngleHab;
  });
}

void TListeDonneesDessin::MajFiligranes(int sens) {
  auto maj = [sens](TObjetDonneesBasique& e) {
    if (sens == -1)
      e.SauveEstFiligrane = e.EstFiligrane;
    else if (sens == 0)
      e.EstFiligrane = false;
    else if (sens == 1)
      e.EstFiligrane = e.SauveEstFiligrane;
  };
  for (TObjetDonneesBasique* e : LesMultiPoints) maj(*e);
  for (TObjetDonneesRemplir* e : LesRemplissages) maj(*e);
}

void TListeDonneesDessin::ReferenceDessin() {
  GardeIndexVisees index;
  for (TObjetDonneesBasique* e : LesMultiPoints) e->ReferencePoints();
  for (TObjetDonneesSymbole* e : LesSymboles) e->ReferencePoints();
  for (TObjetTexte* e : LesTextes) e->ReferencePoints();
}

void TListeDonneesDessin::TransfoDessin() {
  vHelmert.PointsImage.Clear();
  vHelmert.PointsTerrain.Clear();
  vHelmert.HelmertOK = false;
  vHelmert.CalculeAdaptation4Pts(PointsDessinCalage[0], PointsDessinCalage[1], PointsTerrainCalage[0],
                                 PointsTerrainCalage[1]);
  // Two coincident points fit nothing: the drawing stays as it is.
  if (!vHelmert.HelmertOK) return;
  for (TObjetDonneesBasique* e : LesMultiPoints) e->TransfoPoints(vHelmert);
  for (TObjetDonneesSymbole* e : LesSymboles) e->TransfoPoints(vHelmert);
  for (TObjetTexte* e : LesTextes) e->TransfoPoints(vHelmert);
}

// --- Copy and transfer ----------------------------------------------------------------------------

void TListeDonneesDessin::Transfere(TListeDonneesDessin& Destination) {
  if (&Destination == this) return;
  Deplace(LesMultiPoints, Destination);
  Deplace(LesSymboles, Destination);
  Deplace(LesTextes, Destination);
  Deplace(LesRemplissages, Destination);
}

void TListeDonneesDessin::CreeCopieDessin(TListeDonneesDessin& DessinDestin) {
  if (&DessinDestin == this) return;
  for (TObjetDonneesBasique* l : LesMultiPoints) {
    auto copie = l->CreeCopie();
    l->EquivTransfert = copie.get();
    DessinDestin.AjouteDonneesDessin(std::move(copie));
  }
  for (TObjetDonneesRemplir* r : LesRemplissages) {
    auto copie = r->CreeCopie();
    auto* rempli = static_cast<TObjetDonneesRemplir*>(copie.get());
    for (TObjetDonneesBasique* l : r->ListePoly)
      if (l && l->EquivTransfert) rempli->ListePoly.push_back(l->EquivTransfert);
    DessinDestin.AjouteDonneesDessin(std::move(copie));
  }
  for (TObjetDonneesSymbole* s : LesSymboles) DessinDestin.AjouteDonneesDessin(s->CreeCopie());
  for (TObjetTexte* t : LesTextes) DessinDestin.AjouteDonneesDessin(t->CreeCopie());
}

// --- Patterns -------------------------------------------------------------------------------------

namespace {

template <class T>
bool Utilise(const TListeElements<T>& liste, const TObjetMotifdeBase* m) {
  for (const T* e : liste)
    if (e->MotifDessin == m) return true;
  return false;
}

template <class T>
void Remplace(const TListeElements<T>& liste, TObjetMotifdeBase* ancien, TObjetMotifdeBase* nouveau) {
  for (T* e : liste)
    if (e->MotifDessin == ancien) e->MotifDessin = nouveau;
}

}  // namespace

bool TListeDonneesDessin::CalculVerrousMotifdeBase(TObjetMotifdeBase* vMotif) {
  if (!vMotif) return false;
  bool utilise = false;
  switch (vMotif->TypeMotif) {
    case TTypeMotif::tmTrait:
      utilise = Utilise(LesMultiPoints, vMotif);
      break;
    case TTypeMotif::tmRempli:
      utilise = Utilise(LesRemplissages, vMotif);
      break;
    case TTypeMotif::tmSymbole:
      utilise = Utilise(LesSymboles, vMotif);
      break;
    case TTypeMotif::tmFonte:
      utilise = Utilise(LesTextes, vMotif);
      break;
    default:
      break;
  }
  if (!utilise) return false;
  if (vMotif->TypeMotif == TTypeMotif::tmTrait || vMotif->TypeMotif == TTypeMotif::tmRempli) {
    if (TypeDeDessin == TTypeDeDessin::tddAltiDev || TypeDeDessin == TTypeDeDessin::tddAltiOr)
      vMotif->VerrouAlti = true;
    else
      vMotif->VerrouPlan = true;
  } else {
    vMotif->SetVerrou(true);
  }
  return true;
}

void TListeDonneesDessin::FusionneMotifsdeBase(TObjetMotifdeBase* MotifAGarder, TObjetMotifdeBase* MotifAFusionner) {
  if (!MotifAFusionner) return;
  switch (MotifAFusionner->TypeMotif) {
    case TTypeMotif::tmTrait:
      Remplace(LesMultiPoints, MotifAFusionner, MotifAGarder);
      break;
    case TTypeMotif::tmRempli:
      Remplace(LesRemplissages, MotifAFusionner, MotifAGarder);
      break;
    case TTypeMotif::tmSymbole:
      Remplace(LesSymboles, MotifAFusionner, MotifAGarder);
      break;
    case TTypeMotif::tmFonte:
      Remplace(LesTextes, MotifAFusionner, MotifAGarder);
      break;
    default:
      break;
  }
}

void TListeDonneesDessin::Nettoie(const survey::TSuppressions& s) {
  PourTousObjets([&](TObjetDonneesBasique& e) { e.Nettoie(s); });
}

void TListeDonneesDessin::RelogeMotifs(const TRelogeMotifs& reloge) {
  PourTousObjets([&](TObjetDonneesBasique& e) { e.RelogeMotif(reloge); });
}

// --- Record ----------------------------------------------------------------------------------------

bool TListeDonneesDessin::EcritObjet(TFlux& f) {
  GardeValeur<TListeElements<TObjetDonneesBasique>*> lignes(Dessin().LignesCourantes, &LesMultiPoints);
  const bool ok = LesMultiPoints.EcritListe(f) && LesRemplissages.EcritListe(f) && LesTextes.EcritListe(f) &&
                  LesSymboles.EcritListe(f);
  if (!ok) return ResultObjet = false;
  InitES(f);
  return EcrisEnum(TypeDeDessin);
}

bool TListeDonneesDessin::LitObjet(TFlux& f) {
  const int32_t niveau = foundation::NiveauFichier().VersionFichierLue;
  GardeValeur<TListeElements<TObjetDonneesBasique>*> lignes(Dessin().LignesCourantes, &LesMultiPoints);
  bool ok = LesMultiPoints.LitListe(f) && LesRemplissages.LitListe(f);
  // Older files hold a first text list that the second replaces.
  if (ok && niveau < kNiveauAncienTextes) ok = LesTextes.LitListe(f);
  ok = ok && LesTextes.LitListe(f) && LesSymboles.LitListe(f);
  if (ok && niveau >= kNiveauTypeDessin) {
    InitES(f);
    ok = LisEnum(TypeDeDessin, foundation::NombreTypesDeDessin);
  }
  PourTousObjets([this](TObjetDonneesBasique& e) { e.ListeDonneesProprio = this; });
  for (TObjetDonneesSymbole* s : LesSymboles)
    if (s->TexteSymb) s->TexteSymb->ListeDonneesProprio = this;
  return ResultObjet = ok;
}

}  // namespace drawing
