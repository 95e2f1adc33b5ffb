#include "drawing/objet_donnees_basique.h"

#include <cmath>

#include "drawing/contexte_dessin.h"
#include "drawing/contexte_motifs.h"
#include "drawing/liste_donnees_dessin.h"
#include "drawing/liste_mtf.h"
#include "drawing/objet_dessin.h"
#include "drawing/ports_motifs.h"
#include "foundation/bezier.h"
#include "foundation/niveau_fichier.h"
#include "survey/suppressions.h"
#include "survey/visee.h"

namespace drawing {

using foundation::TFlux;
using foundation::TPointTopo;

namespace {

constexpr int32_t kNiveauOrigine = 511;
constexpr int32_t kNiveauSommesCroquis = 222;
constexpr int32_t kNiveauFiligrane = 203;
constexpr int32_t kNiveauCercle = 220;
constexpr int32_t kNiveauRemplis = 500;

int32_t Niveau() { return foundation::NiveauFichier().VersionFichierLue; }

}  // namespace

// --- Pattern references ------------------------------------------------------------------

int32_t PositionMotif(const TObjetMotifdeBase* m) {
  if (!m) return -1;
  return m->ListeProprio ? m->ListeProprio->IndexOf(m) : m->IndexFichier;
}

int32_t OrigineMotif(const TObjetMotifdeBase* m) {
  if (!m) return -1;
  return m->ListeProprio ? m->ListeProprio->CodeOrigine : m->CodeOrigineMotif;
}

TListeMotifsBase* ListeDesMotifs(int32_t origine, TGenreMotifElement genre, bool croquis, int32_t niveau) {
  tListeMtf* b = origine == 0 ? Dessin().ListesMtfReseau : origine == 1 ? Motifs().ListesMtfTherion.get() : nullptr;
  if (!b) return nullptr;
  switch (genre) {
    case TGenreMotifElement::Fonte:
      return croquis ? static_cast<TListeMotifsBase*>(&b->FontesDTT) : &b->ListeFontes;
    case TGenreMotifElement::Symbole:
      return croquis ? &b->SymbolesDTT : &b->ListeSymboles;
    case TGenreMotifElement::Rempli:
      // Fills were line styles in older files.
      return niveau < kNiveauRemplis ? &b->ListeTraits : &b->ListeRemplis;
    case TGenreMotifElement::Trait:
      return croquis ? &b->MotifsDTT : &b->ListeTraits;
  }
  return nullptr;
}

TObjetMotifdeBase* MotifDeSecours(TGenreMotifElement genre) {
  switch (genre) {
    case TGenreMotifElement::Trait:
      return &Motifs().TraitNonTrouve;
    case TGenreMotifElement::Rempli:
      return &Motifs().RempliNonTrouve;
    case TGenreMotifElement::Symbole:
      return Motifs().SymboleDeSecours();
    case TGenreMotifElement::Fonte:
      return nullptr;
  }
  return nullptr;
}

TObjetMotifdeBase* MotifReloge(const TRelogeMotifs& reloge, TObjetMotifdeBase* m, TGenreMotifElement genre) {
  if (!m || !reloge.Remplace(m)) return m;
  TObjetMotifdeBase* nouveau = reloge.Reloge(m);
  return nouveau ? nouveau : MotifDeSecours(genre);
}

TObjetDonneesBasique::~TObjetDonneesBasique() {
  if (LObjetDessin != nullptr) LObjetDessin->DelieElement();
}

bool TObjetDonneesBasique::EcritReferenceMotif(int32_t& index) {
  index = -1;
  if (MotifDessin) {
    vOrigineMotifs = OrigineMotif(MotifDessin);
    // A sketch line keeps its colour; outside a sketch too while it is still
    // drawn in its sketch colour.
    if (CouleurPkTp > 0 && (Dessin().ContexteCroquis || MotifDessin == TraitCroquis(CouleurPkTp - 100)))
      index = CouleurPkTp - 100;
    else
      index = PositionMotif(MotifDessin);
  }
  EcrisInteger(vOrigineMotifs);
  EcrisInteger(index);
  return EcrisReal(EchelleInitiale);
}

bool TObjetDonneesBasique::LitReferenceMotif(int32_t& index) {
  const int32_t niveau = Niveau();
  int32_t origine = 0;
  index = -1;
  if (niveau >= kNiveauOrigine) LisInteger(origine);
  LisInteger(index);
  LisReal(EchelleInitiale);
  if (!ResultObjet) return false;
  vOrigineMotifs = origine;
  MotifDessin = nullptr;
  const TGenreMotifElement genre = GenreMotif();
  if (index >= 0 && (origine == 0 || origine == 1)) {
    TListeMotifsBase* liste = ListeDesMotifs(origine, genre, Dessin().ContexteCroquis, niveau);
    if (liste && index < liste->Count())
      MotifDessin = liste->LeMotifDeBase(index);
    else if (!IndexMotifTolere())
      return ResultObjet = false;
  }
  if (origine == -1) MotifDessin = MotifDeSecours(genre);
  if (index < -1) {
    CouleurPkTp = index + 100;
    if (genre == TGenreMotifElement::Trait) MotifDessin = const_cast<TObjetTrait*>(TraitCroquis(index));
  }
  return ResultObjet;
}

bool TObjetDonneesBasique::EcritSommes() {
  EcrisReal(SommePlani);
  EcrisReal(SommeAlti);
  EcrisReal(SommeN1);
  return EcrisReal(SommeN2);
}

bool TObjetDonneesBasique::LitSommes() {
  LisReal(SommePlani);
  LisReal(SommeAlti);
  LisReal(SommeN1);
  return LisReal(SommeN2);
}

bool TObjetDonneesBasique::LitFiligrane() {
  const int32_t niveau = Niveau();
  if (niveau < kNiveauFiligrane) return ResultObjet;
  LisBoolean(EstFiligrane);
  if (ResultObjet && EstFiligrane) {
    // The watermark colour of older files.
    int32_t ignore = 0;
    if (niveau <= 205) LisInteger(ignore);
    if (niveau < 506) LisInteger(ignore);
  }
  return ResultObjet;
}

// --- Line record ---------------------------------------------------------------------------

bool TObjetDonneesBasique::EcritObjet(TFlux& f) {
  if (!Points.EcritListe(f)) return ResultObjet = false;
  InitES(f);
  int32_t index = -1;
  EcritReferenceMotif(index);
  if (Dessin().ContexteCroquis || index < -1) EcritSommes();
  EcrisBoolean(EstFiligrane);
  return EcrisBoolean(EstCercle);
}

bool TObjetDonneesBasique::LitObjet(TFlux& f) {
  if (!Points.LitListe(f)) return ResultObjet = false;
  const int32_t niveau = Niveau();
  InitES(f);
  int32_t index = -1;
  if (!LitReferenceMotif(index)) return false;
  if (index < -1 || (Dessin().ContexteCroquis && niveau >= kNiveauSommesCroquis)) LitSommes();
  LitFiligrane();
  if (niveau >= kNiveauCercle) LisBoolean(EstCercle);
  return ResultObjet;
}

// --- Points ------------------------------------------------------------------------------------

int32_t TObjetDonneesBasique::CalculePoints() {
  int32_t n = 0;
  for (TPointDessin* p : Points)
    if (p->CalculeHabillage()) ++n;
  return n;
}

int TObjetDonneesBasique::NbPointsPlaces() const {
  int n = 0;
  for (const TPointDessin* p : Points)
    if (p->PointOk) ++n;
  return n;
}

bool TObjetDonneesBasique::ObjetValide() {
  Points.SupprimeSi([](const TPointDessin* p) { return !p->VisRefDessin || p->VisRefDessin->AEffacer; });
  return Points.Count() > 1;
}

bool TObjetDonneesBasique::estSurfacique() const {
  const auto* t = dynamic_cast<const TDefObjetTrait*>(MotifDessin);
  return t && t->estFerme();
}

bool TObjetDonneesBasique::estHabillage() const {
  const auto* t = dynamic_cast<const TDefObjetTrait*>(MotifDessin);
  return t && t->estHabillage();
}

TPointDessin* TObjetDonneesBasique::AjoutePointDessin(bool AuDebut, double X, double Y) {
  auto p = std::make_unique<TPointDessin>();
  p->Xhab = X;
  p->Yhab = Y;
  p->PointOk = true;
  return AuDebut ? Points.Insert(0, std::move(p)) : Points.Add(std::move(p));
}

TPointDessin* TObjetDonneesBasique::AjoutePointDessin(bool AuDebut, const TPointTopo& P) {
  return AjoutePointDessin(AuDebut, P.X, P.Y);
}

void TObjetDonneesBasique::TransfoEnBezierGravelune() {
  foundation::TPtTopoList source, polyligne;
  for (const TPointDessin* p : Points) source.AjoutePoint(PointPlan(p->Xhab, p->Yhab));
  if (Quadratic)
    foundation::BezierQuadVersPolyligne(source, polyligne);
  else
    foundation::BezierVersPolyligne(source, polyligne);
  Points.Clear();
  for (int i = 0; i < polyligne.Count(); ++i) {
    const TPointTopo p = polyligne.UnPtTopo(i);
    AjoutePointDessin(false, p.X, p.Y);
  }
}

void TObjetDonneesBasique::TransfoPoints(const foundation::THelmert& vHelmert) {
  for (TPointDessin* p : Points) p->TransfoPointDessin(vHelmert);
}

void TObjetDonneesBasique::ReferencePoints() {
  if (!ListeDonneesProprio) return;
  const TViseesDeRef visees = ListeDonneesProprio->LesViseesDessin;
  for (TPointDessin* p : Points) p->ChercheViseeRef(visees);
}

void TObjetDonneesBasique::InverseHabillage() {
  for (TPointDessin* p : Points) p->AngleHab = foundation::NormaliseAngle(-p->AngleHab);
}

void TObjetDonneesBasique::CloneObjetDessin(TObjetDonneesBasique& Destin) {
  int recus = 0;
  for (const TPointDessin* p : Points)
    if (auto c = p->ClonePointDessin()) {
      Destin.Points.Add(std::move(c));
      ++recus;
    }
  if (recus < Points.Count()) {
    effacer = true;
  } else {
    EquivTransfert = &Destin;
    Destin.EchelleInitiale = EchelleInitiale;
    Destin.EstFiligrane = EstFiligrane;
  }
  Selecte = false;
}

void TObjetDonneesBasique::CalculeSommesCtrl() {
  double longueur = 0;
  for (int i = 1; i < Points.Count(); ++i) {
    const TPointDessin* a = Points.UnObjet(i - 1);
    const TPointDessin* b = Points.UnObjet(i);
    longueur += std::hypot(b->Xhab - a->Xhab, b->Yhab - a->Yhab);
  }
  SommePlani = SommeAlti = longueur;
}

void TObjetDonneesBasique::CopieAttributs(TObjetDonneesBasique& copie) const {
  copie.MotifDessin = MotifDessin;
  copie.vOrigineMotifs = vOrigineMotifs;
  copie.CouleurPkTp = CouleurPkTp;
  copie.SommePlani = SommePlani;
  copie.SommeAlti = SommeAlti;
  copie.SommeN1 = SommeN1;
  copie.SommeN2 = SommeN2;
  copie.EstCercle = EstCercle;
  copie.LigneFermee = LigneFermee;
  copie.DeBezier = DeBezier;
  copie.Quadratic = Quadratic;
  copie.idLigne = idLigne;
}

std::unique_ptr<TObjetDonneesBasique> TObjetDonneesBasique::CreeCopie() {
  auto copie = std::make_unique<TObjetDonneesBasique>();
  CopieAttributs(*copie);
  CloneObjetDessin(*copie);
  return copie;
}

void TObjetDonneesBasique::Nettoie(const survey::TSuppressions& s) {
  if (s.Visees().empty()) return;
  for (TPointDessin* p : Points)
    if (s.ViseeSupprimee(p->VisRefDessin)) p->VisRefDessin = nullptr;
}

void TObjetDonneesBasique::RelogeMotif(const TRelogeMotifs& reloge) {
  // Sketch colours are built in and never replaced.
  MotifDessin = MotifReloge(reloge, MotifDessin, GenreMotif());
}

}  // namespace drawing
