#include "drawing/cree_dessin.h"

#include <algorithm>
#include <numbers>

#include "drawing/contexte_dessin.h"
#include "drawing/contexte_motifs.h"
#include "drawing/croquis.h"
#include "drawing/def_symbole.h"
#include "drawing/deplacable.h"
#include "drawing/dessin_axe_gal.h"
#include "drawing/dessin_ferme.h"
#include "drawing/dessin_ligne.h"
#include "drawing/dessin_remplissage.h"
#include "drawing/dessin_symbole.h"
#include "drawing/dessin_texte.h"
#include "drawing/donnees_coupe.h"
#include "drawing/donnees_dessin_basique.h"
#include "drawing/elements_dessin.h"
#include "drawing/fonte.h"
#include "drawing/liste_donnees_dessin.h"
#include "drawing/objet_trait.h"
#include "drawing/point_compo.h"
#include "foundation/transformation_vue.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

namespace drawing {

using foundation::TPoint;
using foundation::TRect;
using TOD = TypeObjetDessin;

namespace {

const TDefObjetTrait* Trait(TObjetMotifdeBase* motif) { return dynamic_cast<const TDefObjetTrait*>(motif); }

// An envelope joined from objects' envelopes; empty until the first.
struct Envel {
  TRect R{};
  bool Vide = true;
  void Joint(const TRect& r) {
    if (Vide) {
      R = r;
      Vide = false;
    } else {
      TRect u;
      foundation::UnionRectY(R, r, u);
      R = u;
    }
  }
  void Joint(TObjetDessin& o) {
    o.CalculeEnveloppe();
    Joint(o.EnvelRect);
  }
};

void MarqueEcart(TObjetDessin* o, TObjetDessin* cadre) {
  o->EstObjetEcart = true;
  o->EcartDeRef = cadre;
}

// A text into the layer: along a curve with that initial scale, else a
// plain text with its dimensions.
TDessinTexte* CreeTexte(TObjetTexte& t, TCalque& calque, int32_t echelle, TObjetDessin* cadre) {
  if (t.EstSurCourbe()) {
    auto* o = dynamic_cast<TTexteSurLigne*>(
        cadre ? t.CreeObjetDessinEcart(ClasseTexteSurLigne, calque, cadre) : t.CreeObjetDessin(ClasseTexteSurLigne, calque));
    if (o) o->EchelleDessinInitial = echelle;
    return o;
  }
  auto* o = dynamic_cast<TDessinTexte*>(cadre ? t.CreeObjetDessinEcart(ClasseTexte, calque, cadre)
                                              : t.CreeObjetDessin(ClasseTexte, calque));
  if (o) o->InitDimensions();
  return o;
}

TObjetDessin* CreeSymbole(TObjetDonneesSymbole& s, TCalque& calque, TObjetDessin* cadre) {
  TObjetDessin* o =
      cadre ? s.CreeObjetDessinEcart(ClasseSymbole, calque, cadre) : s.CreeObjetDessin(ClasseSymbole, calque);
  if (auto* d = dynamic_cast<TDessinDeplacable*>(o)) d->InitDimensions();
  return o;
}

// The points of a display object scaled by the part (the axis points too).
void TransformePoints(const TDonneesEcart& ecart, TObjetDessin& o) {
  if (auto* b = dynamic_cast<TDessinBasique*>(&o)) {
    std::vector<TPointDeBase> points = std::move(b->PointsList);
    b->PointsList.clear();
    for (const TPointDeBase& p : points) {
      TPoint q = p.PointLoc();
      ecart.CalculePointsTransfo(q);
      b->AjoutePointLoc(q.X, q.Y);
    }
    if (auto* d = dynamic_cast<TDessinDeplacable*>(b)) d->InitDimensions();
    if (auto* l = dynamic_cast<TDessinLigne*>(b)) l->CourbeBezier.clear();
  } else if (auto* a = dynamic_cast<TDessinAxeGal*>(&o)) {
    bool premier = true;
    for (auto& p : a->PointsAxe) {
      TPoint q = p->PointLoc();
      ecart.CalculePointsTransfo(q);
      p->FixePosition(q.X, q.Y);
      if (premier) {
        a->EnvelRect = p->EnvelRect;
        premier = false;
      } else {
        TRect u;
        foundation::UnionRectY(a->EnvelRect, p->EnvelRect, u);
        a->EnvelRect = u;
      }
    }
  }
  o.EnveloppeModifiee = true;
}

}  // namespace

// --- Display classes ----------------------------------------------------------

std::unique_ptr<TObjetDessin> ClasseLigne(TObjetMotifdeBase* motif, TObjetDonneesBasique* element) {
  return std::make_unique<TDessinLigne>(Trait(motif), element);
}
std::unique_ptr<TObjetDessin> ClasseFerme(TObjetMotifdeBase* motif, TObjetDonneesBasique* element) {
  return std::make_unique<TDessinFerme>(Trait(motif), element);
}
std::unique_ptr<TObjetDessin> ClasseCercle(TObjetMotifdeBase* motif, TObjetDonneesBasique* element) {
  return std::make_unique<TDessinCercle>(Trait(motif), element);
}
std::unique_ptr<TObjetDessin> ClasseRemplissage(TObjetMotifdeBase* motif, TObjetDonneesBasique* element) {
  return std::make_unique<TDessinRemplissage>(Trait(motif), element);
}
std::unique_ptr<TObjetDessin> ClasseTexte(TObjetMotifdeBase* motif, TObjetDonneesBasique* element) {
  return std::make_unique<TDessinTexte>(Trait(motif), element);
}
std::unique_ptr<TObjetDessin> ClasseTexteSurLigne(TObjetMotifdeBase* motif, TObjetDonneesBasique* element) {
  return std::make_unique<TTexteSurLigne>(Trait(motif), element);
}
std::unique_ptr<TObjetDessin> ClasseSymbole(TObjetMotifdeBase* motif, TObjetDonneesBasique* element) {
  return std::make_unique<TDessinSymbole>(dynamic_cast<TDefSymbole*>(motif), element);
}

TClasseDessin ClasseDeLigne(const TObjetDonneesBasique& ligne) {
  return ligne.estSurfacique() ? ClasseFerme : ClasseLigne;
}

// --- Element to display object -------------------------------------------------

TObjetDessin* TObjetDonneesBasique::CreeObjetDessin(TClasseDessin TypeDessin, TCalque& UnCalque) {
  std::unique_ptr<TObjetDessin> o = EstCercle ? ClasseCercle(MotifDessin, this) : TypeDessin(MotifDessin, this);
  o->CalqueObjet = &UnCalque;
  AffecteCoord(*o);
  AffecteValeurs(*o);
  return UnCalque.AjouteObjet(std::move(o));
}

TObjetDessin* TObjetDonneesBasique::CreeObjetDessinEcart(TClasseDessin TypeDessin, TCalque& UnCalque,
                                                         TObjetDessin* UnDessinEcart) {
  TObjetDessin* o = CreeObjetDessin(TypeDessin, UnCalque);
  MarqueEcart(o, UnDessinEcart);
  return o;
}

TObjetDessin* TObjetDonneesBasique::CreeObjetDessinFiligrane(TClasseDessin TypeDessin, TCalque& UnCalque,
                                                             TObjetDessin* UnDessinEcart) {
  TObjetDessin* o = CreeObjetDessinEcart(TypeDessin, UnCalque, UnDessinEcart);
  o->EstDessinFiligrane = true;
  return o;
}

void TObjetDonneesBasique::AffecteCoord(TObjetDessin& UnObjetDessin) {
  auto* d = dynamic_cast<TDessinBasique*>(&UnObjetDessin);
  if (d != nullptr) {
    d->PointsList.clear();
    for (const TPointDessin* p : Points)
      if (p != nullptr && p->PointOk) d->AjoutePointReel(p->Xhab, p->Yhab);
  }
  UnObjetDessin.LieElement(this);
  if (d != nullptr && d->CoeffEchelleDessin == -1) d->CoeffEchelleDessin = EchelleInitiale;
}

void TObjetTexte::AffecteValeurs(TObjetDessin& UnObjetDessin) {
  auto* t = dynamic_cast<TDessinTexte*>(&UnObjetDessin);
  if (t == nullptr) return;
  t->tdTexte = UnTexte;
  t->tdEstHoriz = Horiz;
  t->tdAlignTexte = Alignement;
  t->tdTypeFleche = TypeFleche;
  t->tdFonte = UneFonte();
  t->tdTypeInfo = TypeInfo;
  t->EchelleTexte =
      Dessin().EchelleTexteParTexte || CoeffTexte != -1 ? CoeffTexte : foundation::Vue().EchelleFontes;
  if (TypeInfo == 3) {
    t->tdEstPolygo = true;
    t->tdPointPolyRef = PointDeRef;
  }
}

TObjetDessin* TObjetDonneesRemplir::CreeDessinRempli(TCalque& UnCalque) {
  TObjetDessin* o = CreeObjetDessin(ClasseRemplissage, UnCalque);
  auto* r = dynamic_cast<TDessinRemplissage*>(o);
  if (r == nullptr) return o;
  for (TObjetDonneesBasique* l : ListePoly) {
    auto* ligne = l != nullptr ? dynamic_cast<TDessinLigne*>(l->LObjetDessin) : nullptr;
    if (ligne == nullptr) continue;
    r->ListeLignes.push_back(ligne);
    if (!ligne->EstVisible && ligne->GraphRempli() == nullptr) ligne->ObjetRempliParent = r;
  }
  return o;
}

// --- Drawings into layers --------------------------------------------------------

void CreeDessin(TJeuCalques& UneFiche, TListeDonneesDessin& UnDessin, int32_t Echelle) {
  const bool alti = foundation::EstDessinAlti();
  ContexteDessin& d = Dessin();
  for (TObjetTexte* t : UnDessin.LesTextes) {
    TDessinTexte* o = CreeTexte(*t, UneFiche[TOD::odTexte], Echelle, nullptr);
    if (!alti || o == nullptr || t->EstSurCourbe()) continue;
    // The top of the text raises the drawing's extent.
    o->CalculeEnveloppe();
    const double haut = std::max(o->EnvelRect.Top, o->EnvelRect.Bottom) / 1000.0 + foundation::Vue().Zmin;
    if (d.YMaxDessin == foundation::ValeurIndefinie)
      d.YMaxDessin = haut;
    else
      d.YMaxDessin = std::max(d.YMaxDessin, haut);
  }
  for (TObjetDonneesSymbole* s : UnDessin.LesSymboles) CreeSymbole(*s, UneFiche[TOD::odHabillage], nullptr);
  for (TObjetDonneesBasique* l : UnDessin.LesMultiPoints)
    l->CreeObjetDessin(ClasseDeLigne(*l), UneFiche[l->estHabillage() ? TOD::odHabillage : TOD::odDessin]);
  for (TObjetDonneesRemplir* r : UnDessin.LesRemplissages) r->CreeDessinRempli(UneFiche[TOD::odDessin]);
}

void CreeDessinFdp(TJeuCalques& UneFiche, TListeDonneesDessin& UnDessin, TypeObjetDessin Calque) {
  TCalque& calque = UneFiche[Calque];
  calque.CalqueModifie = true;
  for (TObjetDonneesBasique* l : UnDessin.LesMultiPoints) l->CreeObjetDessin(ClasseDeLigne(*l), calque);
  for (TObjetDonneesRemplir* r : UnDessin.LesRemplissages) r->CreeDessinRempli(calque);
  for (TObjetDonneesSymbole* s : UnDessin.LesSymboles) CreeSymbole(*s, calque, nullptr);
  for (TObjetTexte* t : UnDessin.LesTextes) CreeTexte(*t, calque, 0, nullptr);
}

void CreeDessinCavite(TJeuCalques& UneFiche, TDonneesDessinBasique& UnDessin) {
  CreeDessin(UneFiche, UnDessin.ListeDonneesDessin, UnDessin.EchelleDessin);
  // Invalid sections leave the drawing, with whatever display they still had.
  UnDessin.ListeCoupes.SupprimeSi([&](TDonneesCoupe* c) {
    if (c->ObjetValide()) return false;
    c->SupprimeDessinCoupe(UneFiche);
    return true;
  });
  for (TDonneesCoupe* c : UnDessin.ListeCoupes) c->CreeObjetDessin(UneFiche, UnDessin.EchelleDessin);
  for (TDonneesEcart* e : UnDessin.ListeEcarts) e->CreeObjetDessin(UneFiche);
}

void CreeTextesDessinCavite(TJeuCalques& UneFiche, TDonneesDessinBasique& UnDessin) {
  TListeDonneesDessin& l = UnDessin.ListeDonneesDessin;
  l.LesTextes.SupprimeSi([](TObjetTexte* t) { return t->CalculePoints() < 2; });
  for (TObjetTexte* t : l.LesTextes) CreeTexte(*t, UneFiche[TOD::odTexte], UnDessin.EchelleDessin, nullptr);
  for (TDonneesCoupe* c : UnDessin.ListeCoupes) {
    c->CalculePoints();
    for (TObjetTexte* t : c->LesTextes)
      CreeTexte(*t, UneFiche[TOD::odCoupesTexte], UnDessin.EchelleDessin, c->LeDessinCoupe);
  }
  for (TDonneesEcart* e : UnDessin.ListeEcarts) {
    e->CalculePoints();
    for (TObjetTexte* t : e->ListeDonneesDessin.LesTextes)
      CreeTexte(*t, UneFiche[TOD::odEcartsTexte], e->EchelleDessin, e->LeDessinEcart);
    // A scaled part scales its texts about its centre, as when it was built.
    if (e->CoeffDessinEcart != 1 && e->LeDessinEcart) e->TransfoDessinBasique(UneFiche[TOD::odEcartsTexte]);
  }
}

namespace {

void CreeDessinPkTp(TJeuCalques& UneFiche, TListeDonneesDessin& dessin, TListeElements<TCoupePkTp>& coupes) {
  UneFiche.EstDessinPkTp = true;
  CreeDessinFdp(UneFiche, dessin, TOD::odPkTp);
  for (TCoupePkTp* c : coupes) c->CreeObjetDessin(UneFiche, -1);
}

}  // namespace

void CreeDessinPkTpPlani(TJeuCalques& UneFiche, TDessinPkTp& UnCroquis) {
  CreeDessinPkTp(UneFiche, UnCroquis.pktpDessinPlani, UnCroquis.pktpCoupesPlani);
}

void CreeDessinPkTpAlti(TJeuCalques& UneFiche, TDessinPkTp& UnCroquis) {
  CreeDessinPkTp(UneFiche, UnCroquis.pktpDessinAltiOr, UnCroquis.pktpCoupesAlti);
}

// --- Cross sections -------------------------------------------------------------

void TDonneesCoupe::CreeObjetDessin(TJeuCalques& UneFiche, int32_t vEchDessin) {
  const bool croquis = CoupePkTp;
  auto cadre = std::make_unique<TDessinCoupe>(this);
  TDessinCoupe* fr = cadre.get();
  fr->Legende = LegendeCoupe;
  fr->Inverse = DessineInverse();
  fr->DessinPktp = CoupePkTp;
  fr->dDecalDesX = DecalDesX;
  fr->dDecalDesY = DecalDesY;
  fr->LieDonnees(LeDessinCoupe);

  CalculePointsHabi(vEchDessin / 1000.0);
  TPointDessin& P = *PointPosition;
  const TPoint pLoc = foundation::XYVersDessin(P.Xhab, P.Yhab);
  P.XLoc = pLoc.X;
  P.YLoc = pLoc.Y;

  TCalque& calqueLever = UneFiche[croquis ? TOD::odPkTp : TOD::odCoupesLever];
  auto axe = std::make_unique<TDessinAxeCoupe>(this, P.Xhab, P.Yhab);
  MarqueEcart(axe.get(), fr);
  const TRect envelAxe = axe->Point.EnvelRect;
  calqueLever.AjouteObjet(std::move(axe));
  for (int i = 0; i < LesPointsHabi.Count(); ++i) {
    const foundation::TPointTopo h = LesPointsHabi.UnObjet(i)->PtTopo();
    auto v = std::make_unique<TDessinViseeHabi>(nullptr, &Motifs().TraitViseesAnnexes);
    v->AjoutePointReel(P.Xhab, P.Yhab);
    v->AjoutePointReel(P.Xhab + h.X * LeCoeffDessinCoupe, P.Yhab + h.Y * LeCoeffDessinCoupe);
    MarqueEcart(v.get(), fr);
    calqueLever.AjouteObjet(std::move(v));
  }

  Envel tout, lignes;
  tout.Joint(envelAxe);
  lignes.Joint(envelAxe);
  for (TObjetTexte* t : LesTextes)
    if (TDessinTexte* o = CreeTexte(*t, UneFiche[TOD::odCoupesTexte], vEchDessin, fr)) tout.Joint(*o);
  for (TObjetDonneesSymbole* s : LesSymboles) CreeSymbole(*s, UneFiche[TOD::odCoupesHabillage], fr);
  for (TObjetDonneesBasique* l : LesMultiPoints) {
    const TOD k = croquis ? TOD::odPkTp : (l->estHabillage() ? TOD::odCoupesHabillage : TOD::odCoupesDessin);
    TObjetDessin* o = l->CreeObjetDessinEcart(ClasseDeLigne(*l), UneFiche[k], fr);
    tout.Joint(*o);
    lignes.Joint(o->EnvelRect);
  }
  for (TObjetDonneesRemplir* r : LesRemplissages) MarqueEcart(r->CreeDessinRempli(UneFiche[TOD::odCoupesDessin]), fr);

  EnvelCoupe = tout.R;
  foundation::TEnveloppe env;
  Enveloppe(env);
  fr->AjoutePointReel(env.XGauche, env.YBas);
  fr->AjoutePointReel(env.XGauche, env.YHaut);
  fr->AjoutePointReel(env.XDroite, env.YHaut);
  fr->AjoutePointReel(env.XDroite, env.YBas);
  fr->AjoutePointReel(env.XCoupeGauche, P.Yhab);
  fr->AjoutePointReel(env.XCoupeDroite, P.Yhab);
  const bool alti = foundation::EstDessinAlti();
  fr->AjoutePointReel(alti ? env.LimGalGauche.SlH : env.LimGalGauche.X, alti ? env.LimGalGauche.Z : env.LimGalGauche.Y);
  fr->AjoutePointReel(alti ? env.LimGalDroite.SlH : env.LimGalDroite.X, alti ? env.LimGalDroite.Z : env.LimGalDroite.Y);
  fr->LCoupe = fr->UnPointDeBase(2).XLoc - fr->UnPointDeBase(0).XLoc;
  fr->HCoupe = fr->UnPointDeBase(2).YLoc - fr->UnPointDeBase(0).YLoc;
  fr->PtCentre = fr->UnPtDeBaseLoc(0);
  fr->AngleTraitFleche = AngleFleche - std::numbers::pi;
  fr->CreeDessinFleche();
  fr->InitDimensions();
  // The frame's envelope is the rectangle of its four corners.
  Envel coins;
  for (int i = 0; i < 4; ++i) coins.Joint(fr->UnPointDeBase(i).EnvelRect);
  fr->EnvelRect = coins.R;
  fr->EnveloppeModifiee = false;
  UneFiche[croquis ? TOD::odPkTp : TOD::odCoupes].AjouteObjet(std::move(cadre));
  EnvelCoupe = lignes.R;
}

void TDonneesCoupe::SupprimeDessinCoupe(TJeuCalques& UneFiche) {
  if (LeDessinCoupe == nullptr) return;
  const TObjetDessin* cadre = LeDessinCoupe;
  for (const TOD k : {TOD::odCoupesLever, TOD::odCoupesDessin, TOD::odCoupesHabillage, TOD::odCoupesTexte, TOD::odPkTp})
    UneFiche[k].SupprimeObjetsEcart(cadre);
  UneFiche[CoupePkTp ? TOD::odPkTp : TOD::odCoupes].SupprimeObjet(LeDessinCoupe);
  TDessinEcart::DelieDonnees(LeDessinCoupe);
}

// --- Offset parts ---------------------------------------------------------------

void TDonneesEcart::CreeDessinFiligrane(TJeuCalques& UneFiche, TObjetDessin* UnDessinEcart) {
  ContexteDessin& d = Dessin();
  GardeValeur<uint32_t> couleur(d.CouleurFiligraneCourante, CouleurFiligr);
  {
    GardeValeur<double> x(d.DecalageDessinX, 0.0);
    GardeValeur<double> y(d.DecalageDessinY, 0.0);
    CalculeDessin();
  }
  TCalque& calque = UneFiche[TOD::odAutreNiveau];
  TListeDonneesDessin& l = ListeDonneesDessin;
  for (TObjetDonneesBasique* e : l.LesMultiPoints)
    if (e->EstFiligrane) e->CreeObjetDessinFiligrane(ClasseDeLigne(*e), calque, UnDessinEcart);
  for (TObjetDonneesRemplir* r : l.LesRemplissages) {
    if (!r->EstFiligrane) continue;
    GardeValeur<TObjetMotifdeBase*> motif(r->MotifDessin, &Motifs().TraitFiligranePlein);
    TObjetDessin* o = r->CreeDessinRempli(calque);
    MarqueEcart(o, UnDessinEcart);
    o->EstDessinFiligrane = true;
  }
  CalculePoints();
}

void TDonneesEcart::TransfoDessinBasique(TCalque& UnCalque) {
  for (auto& o : UnCalque.ObjetsDessines)
    if (o->EcartDeRef == LeDessinEcart) TransformePoints(*this, *o);
}

void TDonneesEcart::CreeObjetDessin(TJeuCalques& UneFiche) {
  auto cadre = std::make_unique<TDessinEcart>(this);
  TDessinEcart* fr = cadre.get();
  fr->ObjetMotif = &Motifs().TraitEnveloppe;
  fr->EstVisible = true;
  fr->LieDonnees(LeDessinEcart);

  CreeDessinFiligrane(UneFiche, fr);
  fr->Encadre = CadreEcart;

  Envel envel;
  const bool vide = DessinVide();
  // The survey axis, split where the shots stop chaining.
  {
    ContexteDessin& d = Dessin();
    GardeValeur<double> x(d.DecalageDessinX, PositX);
    GardeValeur<double> y(d.DecalageDessinY, PositY);
    for (survey::TVisee* v : ViseesEcart.Visees) {
      if (v == nullptr) continue;
      if (v->PointStation) v->PointStation->Marque = false;
      if (v->PointVise) v->PointVise->Marque = false;
    }
    TCalque& calque = UneFiche[TOD::odEcartsLevers];
    auto axe = std::make_unique<TDessinAxeGal>();
    auto ferme = [&]() {
      if (axe->PointsAxe.empty()) return;
      MarqueEcart(axe.get(), fr);
      if (vide) envel.Joint(axe->EnvelRect);
      calque.AjouteObjet(std::move(axe));
    };
    for (survey::TVisee* v : ViseesEcart.Visees) {
      if (v == nullptr || v->PtOrigCalc == nullptr || v->PtCalc == nullptr) continue;
      if (!axe->PointsAxe.empty() && !v->PtOrigCalc->Marque) {
        ferme();
        axe = std::make_unique<TDessinAxeGal>();
      }
      axe->AjouteTrait(v);
      v->PtOrigCalc->Marque = true;
      v->PtCalc->Marque = true;
    }
    ferme();
    for (survey::TVisee* v : ViseesEcart.Visees) {
      if (v == nullptr) continue;
      v->Marque = false;
      if (v->PointStation) v->PointStation->Marque = false;
      if (v->PointVise) v->PointVise->Marque = false;
    }
  }

  TListeDonneesDessin& l = ListeDonneesDessin;
  for (TObjetTexte* t : l.LesTextes)
    if (TDessinTexte* o = CreeTexte(*t, UneFiche[TOD::odEcartsTexte], EchelleDessin, fr)) envel.Joint(*o);
  for (TObjetDonneesSymbole* s : l.LesSymboles) CreeSymbole(*s, UneFiche[TOD::odEcartsHabillage], fr);
  for (TObjetDonneesBasique* e : l.LesMultiPoints) {
    TObjetDessin* o = e->CreeObjetDessinEcart(
        ClasseDeLigne(*e), UneFiche[e->estHabillage() ? TOD::odEcartsHabillage : TOD::odEcartsDessin], fr);
    envel.Joint(*o);
  }
  for (TObjetDonneesRemplir* r : l.LesRemplissages) {
    TObjetDessin* o = r->CreeDessinRempli(UneFiche[TOD::odEcartsDessin]);
    MarqueEcart(o, fr);
    if (auto* rr = dynamic_cast<TDessinRemplissage*>(o); rr && !rr->ListeLignes.empty()) envel.Joint(*o);
  }

  for (TDonneesCoupe* c : ListeCoupes) {
    c->CreeObjetDessin(UneFiche, EchelleDessin);
    if (c->LeDessinCoupe) MarqueEcart(c->LeDessinCoupe, fr);
  }

  TRect r = envel.R;
  const bool transfo = CoeffDessinEcart != 1;
  if (transfo) {
    CentreEcart = foundation::PtTopoXY((static_cast<double>(r.Left) + r.Right) / 2,
                                       (static_cast<double>(r.Top) + r.Bottom) / 2);
    for (const TOD k : {TOD::odEcartsLevers, TOD::odEcartsDessin, TOD::odEcartsHabillage, TOD::odEcartsTexte})
      TransfoDessinBasique(UneFiche[k]);
  }
  if (CadreEcart) {
    const int32_t marge = MargeCadre * 1000;
    const bool haut = r.Top >= r.Bottom;
    r.Left -= marge;
    r.Right += marge;
    (haut ? r.Top : r.Bottom) += marge;
    (haut ? r.Bottom : r.Top) -= marge;
  }
  const int32_t bas = std::min(r.Top, r.Bottom), hautY = std::max(r.Top, r.Bottom);
  for (TPoint p : {TPoint{r.Left, bas}, TPoint{r.Left, hautY}, TPoint{r.Right, hautY}, TPoint{r.Right, bas}}) {
    if (transfo) CalculePointsTransfo(p);
    fr->AjoutePointLoc(p.X, p.Y);
  }
  fr->PtCentre = foundation::PtTopoXY((static_cast<double>(r.Left) + r.Right) / 2, (static_cast<double>(bas) + hautY) / 2);
  fr->InitDimensions();
  UneFiche[TOD::odEcarts].AjouteObjet(std::move(cadre));
}

void TDonneesEcart::SupprimeDessinEcart(TJeuCalques& UneFiche) {
  if (LeDessinEcart != nullptr) {
    for (const TOD k : {TOD::odEcartsGaleries, TOD::odEcartsLevers, TOD::odEcartsDessin, TOD::odEcartsHabillage,
                        TOD::odEcartsTexte, TOD::odAutreNiveau})
      UneFiche[k].SupprimeObjetsEcart(LeDessinEcart);
  }
  // The sections' frames belong to the part: their contents go first.
  for (TDonneesCoupe* c : ListeCoupes) c->SupprimeDessinCoupe(UneFiche);
  if (LeDessinEcart != nullptr) UneFiche[TOD::odEcarts].SupprimeObjet(LeDessinEcart);
  TDessinEcart::DelieDonnees(LeDessinEcart);
}

}  // namespace drawing
