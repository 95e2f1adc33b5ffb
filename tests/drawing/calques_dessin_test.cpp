// Stored drawings built into a window's layer set: which class goes to which
// layer, the fills' bounding lines, offset parts (watermarks, displacement,
// scaling, frame, axis split), cross sections (frame points, splays), the
// sketches, the display objects' tie to their elements when freed, and the
// pixels of the whole set painted as a window combines its layers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "drawing/contexte_motifs.h"
#include "drawing/cree_dessin.h"
#include "drawing/croquis.h"
#include "drawing/deplacable.h"
#include "drawing/dessin_axe_gal.h"
#include "drawing/dessin_ferme.h"
#include "drawing/dessin_remplissage.h"
#include "drawing/dessin_symbole.h"
#include "drawing/dessin_texte.h"
#include "drawing/donnees_coupe.h"
#include "drawing/donnees_dessin_basique.h"
#include "drawing/elements_dessin.h"
#include "drawing/fonte.h"
#include "drawing/jeu_calques.h"
#include "drawing/objet_trait.h"
#include "drawing/point_compo.h"
#include "drawing/symbole.h"
#include "platform/qt/qt_canvas.h"
#include "tests/drawing/outils_coupes.h"
#include "tests/drawing/outils_dessin.h"
#include "tests/drawing/outils_vue.h"

namespace {

using namespace testdessin;
using foundation::TPoint;
using TOD = TypeObjetDessin;

// The display class of an object, most derived first.
std::string Classe(const TObjetDessin* o) {
  if (dynamic_cast<const TTexteSurLigne*>(o)) return "TTexteSurLigne";
  if (dynamic_cast<const TDessinTexte*>(o)) return "TDessinTexte";
  if (dynamic_cast<const TDessinSymbole*>(o)) return "TDessinSymbole";
  if (dynamic_cast<const TDessinRemplissage*>(o)) return "TDessinRemplissage";
  if (dynamic_cast<const TDessinCercle*>(o)) return "TDessinCercle";
  if (dynamic_cast<const TDessinFerme*>(o)) return "TDessinFerme";
  if (dynamic_cast<const TDessinViseeHabi*>(o)) return "TDessinViseeHabi";
  if (dynamic_cast<const TDessinLigne*>(o)) return "TDessinLigne";
  if (dynamic_cast<const TDessinCoupe*>(o)) return "TDessinCoupe";
  if (dynamic_cast<const TDessinEcart*>(o)) return "TDessinEcart";
  if (dynamic_cast<const TDessinAxeCoupe*>(o)) return "TDessinAxeCoupe";
  if (dynamic_cast<const TDessinAxeGal*>(o)) return "TDessinAxeGal";
  return "?";
}

// "class xN, ..." of a layer, classes in name order.
std::string Contenu(const TCalque& c) {
  std::map<std::string, int> n;
  for (const auto& o : c.ObjetsDessines) ++n[Classe(o.get())];
  std::string r;
  for (const auto& [k, v] : n) r += (r.empty() ? "" : ", ") + k + " x" + std::to_string(v);
  return r;
}

std::vector<TPoint> Points(const TObjetDessin* o) {
  std::vector<TPoint> r;
  if (auto* b = dynamic_cast<const TDessinBasique*>(o))
    for (const TPointDeBase& p : b->PointsList) r.push_back(p.PointLoc());
  return r;
}

// The computed position of an element's points in drawing units.
std::vector<TPoint> PointsCalcules(const TObjetDonneesBasique* e) {
  std::vector<TPoint> r;
  for (const TPointDessin* p : e->Points)
    if (p->PointOk) r.push_back(foundation::XYVersDessin(p->Xhab, p->Yhab));
  return r;
}

template <class T>
T* Ajoute(TListeDonneesDessin& l, std::unique_ptr<T> e, std::initializer_list<std::pair<double, double>> pts) {
  for (const auto& [x, y] : pts) e->AjoutePointDessin(false, x, y);
  T* r = static_cast<T*>(l.AjouteDonneesDessin(std::move(e)));
  r->ReferencePoints();
  return r;
}

TObjetDonneesRemplir* Rempli(TListeDonneesDessin& l, TObjetMotifdeBase* motif,
                             std::vector<TObjetDonneesBasique*> bornes) {
  auto r = std::make_unique<TObjetDonneesRemplir>();
  r->MotifDessin = motif;
  r->ListePoly = std::move(bornes);
  return static_cast<TObjetDonneesRemplir*>(l.AjouteDonneesDessin(std::move(r)));
}

TObjetTexte* Texte(TListeDonneesDessin& l, TObjetMotifdeBase* fonte, int32_t info, const std::string& s,
                   std::initializer_list<std::pair<double, double>> pts, TPointSpeleo* station = nullptr) {
  auto t = std::make_unique<TObjetTexte>();
  t->MotifDessin = fonte;
  t->TypeInfo = info;
  t->UnTexte = s;
  t->Horiz = false;
  t->PointDeRef = station;
  return Ajoute(l, std::move(t), pts);
}

// The fixture network of the drawing tests (Grotte A: E1 (0, 0), 1 (0, 10),
// 2 (10, 10), 3 (10, 25); Grotte B west of E1) with Grotte A's plan drawing:
// lines of every route, two fills (one bounding line invisible), a symbol,
// plain, curved and survey-label texts, a section on shot 1-2, an offset
// part on shot 2-3 displaced 30 m east with a watermarked line and fill,
// and a sketch with a section.
class Fixture : public ::testing::Test {
 protected:
  Fixture() {
    for (TVisee* v : f.a->Visees) {
      v->PtOrigCalc = v->PointStation;
      v->PtCalc = v->PointVise;
    }
    v[0] = f.a->Visees.UnObjet(0);
    v[1] = f.a->Visees.UnObjet(1);
    v[2] = f.a->Visees.UnObjet(2);
    tListeMtf& b = f.contexte.bibliotheque;
    paroiStyle = b.ListeTraits.LeMotifDeBase(0);
    ferme.CopieMotif(*dynamic_cast<TDefObjetTrait*>(paroiStyle));
    ferme.NumMotif = 0;
    ferme.CouleurPinceau = platform::RgbColour(255, 200, 0);
    habillage.CopieMotif(*dynamic_cast<TDefObjetTrait*>(paroiStyle));
    habillage.CoupePlan = 12;
    eau.CopieMotif(*dynamic_cast<TDefObjetTrait*>(b.ListeRemplis.LeMotifDeBase(0)));
    eau.CouleurPlume = eau.CouleurPinceau = platform::RgbColour(0, 255, 255);
    eau.ModePlume = TModePlume::pmCopy;
    eau.StylePinceau = TStylePinceau::bsSolid;
    eau.NumMotif = 0;

    dessin.DefViseesDeRef(&f.a->Visees);
    dessin.EchelleDessin = 500;
    Dessin().CaviteDessinCourante = f.a;
    TListeDonneesDessin& l = dessin.ListeDonneesDessin;
    paroi = Ligne(l, {{1, 11}, {9, 11}, {9, 14}}, paroiStyle);
    invisible = Ligne(l, {{9, 14}, {1, 14}, {1, 11}});
    hab = Ligne(l, {{2, 5}, {4, 6}}, &habillage);
    fermee = Ligne(l, {{12, 12}, {14, 12}, {14, 14}, {12, 14}}, &ferme);
    cercle = Ligne(l, {{5, 20}, {6, 20}}, paroiStyle);
    cercle->EstCercle = true;
    f1 = Rempli(l, &eau, {paroi, invisible});
    f2 = Rempli(l, b.ListeRemplis.LeMotifDeBase(2), {fermee, hab});
    auto s = std::make_unique<TObjetDonneesSymbole>();
    s->MotifDessin = b.ListeSymboles.LeMotifDeBase(0);
    symbole = Ajoute(l, std::move(s), {{3, 3}, {4, 3}});
    TObjetMotifdeBase* fonte = b.ListeFontes.LeMotifDeBase(0);
    plain = Texte(l, fonte, -1, "Salle", {{6, 12}, {2, 12}});
    courbe = Texte(l, fonte, -2, "Boyau", {{2, 16}, {4, 17}, {6, 16}});
    etiquette = Texte(l, fonte, 3, "", {{11, 10}, {10, 10}}, f.reseau["2"]);

    auto c = std::make_unique<TDonneesCoupe>();
    c->PointDeCoupe->VisRefDessin = v[1];
    c->PointDeCoupe->LHab = 5;
    c->PointPosition->VisRefDessin = v[1];
    c->PointPosition->LHab = 5;
    c->PointPosition->AngleHab = 3 * std::numbers::pi / 2;
    c->LegendeCoupe = "C1";
    coupe = dessin.ListeCoupes.Add(std::move(c));

    auto e = std::make_unique<TDonneesEcart>();
    e->ViseesEcart.Add(v[2]);
    e->Proprio = &dessin;
    e->PositX = 30;
    e->CouleurFiligr = platform::RgbColour(0, 160, 0);
    e->EchelleDessin = 500;
    ecart = dessin.ListeEcarts.Add(std::move(e));
    TListeDonneesDessin& le = ecart->ListeDonneesDessin;
    w1 = Ligne(le, {{9, 16}, {12, 16}, {12, 22}}, paroiStyle);
    w2 = Ligne(le, {{12, 22}, {9, 22}, {9, 16}}, paroiStyle);
    w3 = Ligne(le, {{10.5, 17}, {10.5, 21}}, paroiStyle);
    w1->EstFiligrane = w2->EstFiligrane = true;
    wf = Rempli(le, &eau, {w1, w2});
    wf->EstFiligrane = true;

    croquis.DefViseesDeRef(&f.a->Visees);
    croquisLigne = Ligne(croquis.pktpDessinPlani, {{0, 2}, {0, 8}}, paroiStyle);

    dessin.CalculeDessin();
    croquis.pktpDessinPlani.CalculeDessin();
    // The sections' own lines, placed beside their position point.
    AjouteLigneCoupe(*coupe);
    auto cp = std::make_unique<TCoupePkTp>();
    cp->PointDeCoupe->VisRefDessin = v[0];
    cp->PointDeCoupe->LHab = 4;
    cp->PointPosition->VisRefDessin = v[0];
    cp->PointPosition->LHab = 4;
    cp->PointPosition->AngleHab = std::numbers::pi / 2;
    coupeCroquis = croquis.pktpCoupesPlani.Add(std::move(cp));
    coupeCroquis->CalculePoints();
    AjouteLigneCoupe(*coupeCroquis);
  }

  void AjouteLigneCoupe(TDonneesCoupe& c) {
    c.CalculePoints();
    const TPointDessin& p = *c.PointPosition;
    auto l = std::make_unique<TObjetDonneesBasique>();
    l->MotifDessin = paroiStyle;
    l->AjoutePointDessin(false, p.Xhab - 1, p.Yhab - 1);
    l->AjoutePointDessin(false, p.Xhab + 1, p.Yhab + 1);
    c.AjouteDonneesDessin(std::move(l));
  }

  void Construit() {
    CreeDessinPkTpPlani(fiche, croquis);
    CreeDessinCavite(fiche, dessin);
  }

  ReseauDesFixtures f;
  TVisee* v[3] = {};
  TObjetMotifdeBase* paroiStyle = nullptr;
  TObjetTrait ferme, habillage;
  tMotifRempli eau;
  TDonneesDessinBasique dessin;
  TObjetDonneesBasique *paroi = nullptr, *invisible = nullptr, *hab = nullptr, *fermee = nullptr, *cercle = nullptr;
  TObjetDonneesRemplir *f1 = nullptr, *f2 = nullptr, *wf = nullptr;
  TObjetDonneesSymbole* symbole = nullptr;
  TObjetTexte *plain = nullptr, *courbe = nullptr, *etiquette = nullptr;
  TDonneesCoupe* coupe = nullptr;
  TCoupePkTp* coupeCroquis = nullptr;
  TDonneesEcart* ecart = nullptr;
  TObjetDonneesBasique *w1 = nullptr, *w2 = nullptr, *w3 = nullptr;
  TDessinPkTp croquis;
  TObjetDonneesBasique* croquisLigne = nullptr;
  TJeuCalques fiche;
};

TEST_F(Fixture, EveryElementGoesToTheLayerOfItsRoute) {
  Construit();
  const std::map<TOD, std::string> attendu = {
      {TOD::odTexte, "TDessinTexte x2, TTexteSurLigne x1"},
      {TOD::odHabillage, "TDessinLigne x1, TDessinSymbole x1"},
      {TOD::odDessin, "TDessinCercle x1, TDessinFerme x1, TDessinLigne x2, TDessinRemplissage x2"},
      {TOD::odCoupes, "TDessinCoupe x1"},
      {TOD::odCoupesLever, "TDessinAxeCoupe x1"},
      {TOD::odCoupesDessin, "TDessinLigne x1"},
      {TOD::odEcarts, "TDessinEcart x1"},
      {TOD::odEcartsLevers, "TDessinAxeGal x1"},
      {TOD::odEcartsDessin, "TDessinLigne x3, TDessinRemplissage x1"},
      {TOD::odAutreNiveau, "TDessinLigne x2, TDessinRemplissage x1"},
      {TOD::odPkTp, "TDessinAxeCoupe x1, TDessinCoupe x1, TDessinLigne x2"},
  };
  for (int k = 2; k <= 28; ++k) {
    const auto t = static_cast<TOD>(k);
    const auto it = attendu.find(t);
    EXPECT_EQ(Contenu(fiche[t]), it == attendu.end() ? "" : it->second) << "layer " << k;
    EXPECT_EQ(fiche[t].NatureCalque, t);
  }
  EXPECT_TRUE(fiche.EstDessinPkTp);
  EXPECT_THROW(fiche.LeCalque(TOD::odNumPt), std::logic_error);

  // Each fill lists its bounding lines' objects; the invisible one has the
  // fill as parent, the visible one none.
  auto* r1 = dynamic_cast<TDessinRemplissage*>(f1->LObjetDessin);
  auto* r2 = dynamic_cast<TDessinRemplissage*>(f2->LObjetDessin);
  ASSERT_TRUE(r1 && r2);
  EXPECT_EQ(r1->ListeLignes, (std::vector<TDessinLigne*>{dynamic_cast<TDessinLigne*>(paroi->LObjetDessin),
                                                        dynamic_cast<TDessinLigne*>(invisible->LObjetDessin)}));
  EXPECT_EQ(r2->ListeLignes, (std::vector<TDessinLigne*>{dynamic_cast<TDessinLigne*>(fermee->LObjetDessin),
                                                        dynamic_cast<TDessinLigne*>(hab->LObjetDessin)}));
  EXPECT_EQ(dynamic_cast<TDessinLigne*>(invisible->LObjetDessin)->ObjetRempliParent, r1);
  EXPECT_EQ(dynamic_cast<TDessinLigne*>(paroi->LObjetDessin)->ObjetRempliParent, nullptr);

  // Points: the placed points of the element.
  EXPECT_EQ(Points(paroi->LObjetDessin), PointsCalcules(paroi));
  EXPECT_EQ(paroi->LObjetDessin->ElementMontre(), paroi);
  // The survey label marks its station; texts take the view's text scale.
  auto* te = dynamic_cast<TDessinTexte*>(etiquette->LObjetDessin);
  ASSERT_TRUE(te);
  EXPECT_TRUE(te->tdEstPolygo);
  EXPECT_EQ(te->tdPointPolyRef, f.reseau["2"]);
  EXPECT_EQ(te->tdTypeInfo, 3);
  auto* tc = dynamic_cast<TTexteSurLigne*>(courbe->LObjetDessin);
  ASSERT_TRUE(tc);
  EXPECT_EQ(tc->EchelleDessinInitial, 500);
  EXPECT_EQ(tc->tdTexte, "Boyau");
  // The sketch section and its line are in the sketch layer.
  EXPECT_EQ(coupeCroquis->LeDessinCoupe->CalqueObjet, &fiche[TOD::odPkTp]);
}

TEST_F(Fixture, TextsTakeTheirOwnScaleOrTheViews) {
  struct Cas {
    int32_t coeff;
    bool parTexte;
    int32_t attendu;
  };
  foundation::Vue().EchelleFontes = 750;
  for (const Cas c : {Cas{-1, false, 750}, Cas{-1, true, -1}, Cas{300, false, 300}, Cas{300, true, 300}}) {
    plain->CoeffTexte = c.coeff;
    Dessin().EchelleTexteParTexte = c.parTexte;
    TCalque calque;
    auto* o = dynamic_cast<TDessinTexte*>(plain->CreeObjetDessin(ClasseTexte, calque));
    ASSERT_TRUE(o);
    EXPECT_EQ(o->EchelleTexte, c.attendu) << c.coeff << " " << c.parTexte;
    EXPECT_FALSE(o->tdEstPolygo);
  }
}

TEST_F(Fixture, ElevationTextsRaiseTheDrawingTop) {
  foundation::GardeTypeDessin alti(foundation::TTypeDeDessin::tddAltiDev);
  foundation::Vue().Zmin = 100;
  Dessin().YMaxDessin = foundation::ValeurIndefinie;
  CreeDessin(fiche, dessin.ListeDonneesDessin, 500);
  auto* o = dynamic_cast<TDessinTexte*>(plain->LObjetDessin);
  ASSERT_TRUE(o);
  const double haut = std::max(o->EnvelRect.Top, o->EnvelRect.Bottom) / 1000.0 + 100;
  // Drawing units count from the altitude origin: the text stands at about 12 m.
  EXPECT_GE(Dessin().YMaxDessin, haut);
  EXPECT_GT(Dessin().YMaxDessin, 12);
  EXPECT_LT(Dessin().YMaxDessin, 16);  // the curved text (17 m) does not count
  // A higher value already there stays.
  fiche.VideTout();
  Dessin().YMaxDessin = 1000;
  CreeDessin(fiche, dessin.ListeDonneesDessin, 500);
  EXPECT_EQ(Dessin().YMaxDessin, 1000);
}

TEST_F(Fixture, OffsetPartWatermarksAtTruePlaceAndTheRestDisplaced) {
  Construit();
  const int32_t dx = 30000;
  for (TObjetDonneesBasique* w : {w1, w2}) {
    // The element's last display object is the displaced one.
    TObjetDessin* o = w->LObjetDessin;
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(o->CalqueObjet, &fiche[TOD::odEcartsDessin]);
    EXPECT_FALSE(o->EstDessinFiligrane);
  }
  const TCalque& filigranes = fiche[TOD::odAutreNiveau];
  ASSERT_EQ(filigranes.NombreObjets(), 3);
  for (int i = 0; i < 2; ++i) {
    TObjetDessin* fil = filigranes.UnObjetDessin(i);
    EXPECT_TRUE(fil->EstDessinFiligrane);
    EXPECT_EQ(fil->clFiligrane, ecart->CouleurFiligr);
    EXPECT_EQ(fil->EcartDeRef, ecart->LeDessinEcart);
    TObjetDessin* deplace = (i == 0 ? w1 : w2)->LObjetDessin;
    auto p = Points(fil), q = Points(deplace);
    ASSERT_EQ(p.size(), q.size());
    for (size_t j = 0; j < p.size(); ++j) {
      EXPECT_EQ(q[j].X, p[j].X + dx);
      EXPECT_EQ(q[j].Y, p[j].Y);
    }
  }
  // True place: the element computed without displacement.
  EXPECT_EQ(Points(filigranes.UnObjetDessin(0)).front(), foundation::XYVersDessin(9, 16));
  auto* rf = dynamic_cast<TDessinRemplissage*>(filigranes.UnObjetDessin(2));
  ASSERT_TRUE(rf);
  EXPECT_TRUE(rf->EstDessinFiligrane);
  EXPECT_EQ(rf->ObjetMotif, &Motifs().TraitFiligranePlein);
  EXPECT_EQ(wf->MotifDessin, &eau);  // its own pattern back
  EXPECT_EQ(rf->ListeLignes.size(), 2u);
  EXPECT_EQ(rf->ListeLignes[0], filigranes.UnObjetDessin(0));
  // Every object of the part is marked as the part's.
  for (TOD k : {TOD::odEcartsDessin, TOD::odEcartsLevers})
    for (const auto& o : fiche[k].ObjetsDessines) {
      EXPECT_TRUE(o->EstObjetEcart);
      EXPECT_EQ(o->EcartDeRef, ecart->LeDessinEcart);
    }
  EXPECT_EQ(Dessin().DecalageDessinX, 0);
}

TEST_F(Fixture, OffsetPartScalingAndFrameMargin) {
  struct Cas {
    double coeff;
    bool cadre;
    int32_t marge;
  };
  // The reference: scale 1, no margin.
  ecart->CadreEcart = true;
  ecart->CreeObjetDessin(fiche);
  const std::vector<TPoint> w3Ref = Points(w3->LObjetDessin);
  const std::vector<TPoint> cadreRef = Points(ecart->LeDessinEcart);
  ASSERT_EQ(cadreRef.size(), 4u);
  ecart->SupprimeDessinEcart(fiche);
  for (const Cas c : {Cas{1.0, true, 2}, Cas{0.5, true, 0}, Cas{1.0, true, 0}, Cas{1.0, false, 5}}) {
    const std::string quoi = std::to_string(c.coeff) + " " + std::to_string(c.cadre) + " " + std::to_string(c.marge);
    ecart->CoeffDessinEcart = c.coeff;
    ecart->CadreEcart = c.cadre;
    ecart->MargeCadre = c.marge;
    ecart->CreeObjetDessin(fiche);
    const std::vector<TPoint> w3p = Points(w3->LObjetDessin);
    const std::vector<TPoint> cadre = Points(ecart->LeDessinEcart);
    ASSERT_EQ(w3p.size(), w3Ref.size()) << quoi;
    ASSERT_EQ(cadre.size(), 4u) << quoi;
    if (c.coeff == 1.0) {
      EXPECT_EQ(w3p, w3Ref) << quoi;
      const int32_t m = c.cadre ? c.marge * 1000 : 0;
      // Left-bottom, left-top, right-top, right-bottom.
      const int sx[4] = {-1, -1, 1, 1}, sy[4] = {-1, 1, 1, -1};
      for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(cadre[i].X, cadreRef[i].X + sx[i] * m) << quoi << " " << i;
        EXPECT_EQ(cadre[i].Y, cadreRef[i].Y + sy[i] * m) << quoi << " " << i;
      }
    } else {
      // Halfway to the envelope's centre (the centre of the unscaled frame).
      const double cx = (cadreRef[0].X + cadreRef[2].X) / 2.0, cy = (cadreRef[0].Y + cadreRef[2].Y) / 2.0;
      EXPECT_NEAR(ecart->CentreEcart.X, cx, 1) << quoi;
      EXPECT_NEAR(ecart->CentreEcart.Y, cy, 1) << quoi;
      for (size_t j = 0; j < w3p.size(); ++j) {
        EXPECT_NEAR(w3p[j].X, cx + (w3Ref[j].X - cx) * 0.5, 1.5) << quoi;
        EXPECT_NEAR(w3p[j].Y, cy + (w3Ref[j].Y - cy) * 0.5, 1.5) << quoi;
      }
      for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(cadre[i].X, cx + (cadreRef[i].X - cx) * 0.5, 1.5) << quoi;
        EXPECT_NEAR(cadre[i].Y, cy + (cadreRef[i].Y - cy) * 0.5, 1.5) << quoi;
      }
      // The watermarks are not scaled.
      EXPECT_EQ(Points(fiche[TOD::odAutreNiveau].UnObjetDessin(0)).front(), foundation::XYVersDessin(9, 16));
    }
    ecart->SupprimeDessinEcart(fiche);
  }
}

TEST_F(Fixture, OffsetAxisSplitsWhereShotsStopChaining) {
  struct Cas {
    std::vector<int> visees;
    int axes;
  };
  for (const Cas& c : {Cas{{2}, 1}, Cas{{0, 1, 2}, 1}, Cas{{0, 2}, 2}, Cas{{2, 0}, 2}}) {
    ecart->ViseesEcart.Visees.clear();
    for (int i : c.visees) ecart->ViseesEcart.Add(v[i]);
    ecart->CreeObjetDessin(fiche);
    EXPECT_EQ(fiche[TOD::odEcartsLevers].NombreObjets(), c.axes) << c.visees.size();
    // Axis points displaced like the rest.
    auto* axe = dynamic_cast<TDessinAxeGal*>(fiche[TOD::odEcartsLevers].UnObjetDessin(0));
    ASSERT_TRUE(axe);
    const TPointSpeleo* s = v[c.visees[0]]->PtOrigCalc;
    EXPECT_EQ(axe->lePointAxe(0)->PointLoc(), foundation::XYVersDessin(s->X + 30, s->Y));
    ecart->SupprimeDessinEcart(fiche);
    EXPECT_EQ(fiche[TOD::odEcartsLevers].NombreObjets(), 0);
  }
}

TEST_F(Fixture, RemovingAnOffsetPartEmptiesItsLayersAndItsSections) {
  auto c = std::make_unique<TDonneesCoupe>();
  c->PointDeCoupe->VisRefDessin = v[2];
  c->PointDeCoupe->LHab = 2;
  c->PointPosition->VisRefDessin = v[2];
  c->PointPosition->LHab = 2;
  TDonneesCoupe* sc = ecart->ListeCoupes.Add(std::move(c));
  Construit();
  EXPECT_EQ(sc->LeDessinCoupe->EcartDeRef, ecart->LeDessinEcart);
  EXPECT_EQ(fiche[TOD::odCoupes].NombreObjets(), 2);
  ecart->SupprimeDessinEcart(fiche);
  for (TOD k : {TOD::odEcarts, TOD::odEcartsLevers, TOD::odEcartsDessin, TOD::odEcartsHabillage, TOD::odEcartsTexte,
                TOD::odAutreNiveau})
    EXPECT_EQ(fiche[k].NombreObjets(), 0) << static_cast<int>(k);
  EXPECT_EQ(fiche[TOD::odCoupes].NombreObjets(), 1);  // the drawing's own section stays
  EXPECT_EQ(fiche[TOD::odCoupesLever].NombreObjets(), 1);
  EXPECT_EQ(ecart->LeDessinEcart, nullptr);
  EXPECT_EQ(w1->LObjetDessin, nullptr);
  // The drawing's section goes too.
  coupe->SupprimeDessinCoupe(fiche);
  for (TOD k : {TOD::odCoupes, TOD::odCoupesLever, TOD::odCoupesDessin, TOD::odCoupesHabillage, TOD::odCoupesTexte})
    EXPECT_EQ(fiche[k].NombreObjets(), 0) << static_cast<int>(k);
}

TEST_F(Fixture, SketchesGoToTheSketchLayer) {
  // The elevation sketch: a line placed as a computation leaves it, and a
  // sketch section.
  auto l = std::make_unique<TObjetDonneesBasique>();
  l->MotifDessin = paroiStyle;
  l->AjoutePointDessin(false, 3, 100);
  l->AjoutePointDessin(false, 8, 97);
  croquis.pktpDessinAltiOr.AjouteDonneesDessin(std::move(l));
  auto cp = std::make_unique<TCoupePkTp>();
  cp->PointDeCoupe->VisRefDessin = v[1];
  cp->PointPosition->VisRefDessin = v[1];
  croquis.pktpCoupesAlti.Add(std::move(cp))->CalculePoints();
  struct Cas {
    bool alti;
    std::string attendu;
  };
  for (const Cas& c : {Cas{false, "TDessinAxeCoupe x1, TDessinCoupe x1, TDessinLigne x2"},
                       Cas{true, "TDessinAxeCoupe x1, TDessinCoupe x1, TDessinLigne x1"}}) {
    TJeuCalques f2;
    if (c.alti)
      CreeDessinPkTpAlti(f2, croquis);
    else
      CreeDessinPkTpPlani(f2, croquis);
    EXPECT_TRUE(f2.EstDessinPkTp);
    EXPECT_EQ(Contenu(f2[TOD::odPkTp]), c.attendu) << c.alti;
    EXPECT_EQ(f2.NombreObjets(), f2[TOD::odPkTp].NombreObjets()) << c.alti;
    // At scale -1 a sketch section projects no splay shot.
    EXPECT_EQ(f2[TOD::odCoupesLever].NombreObjets(), 0);
  }
}

TEST_F(Fixture, InvalidSectionsAreRemovedFromTheDrawing) {
  coupe->PointDeCoupe->VisRefDessin = nullptr;
  Construit();
  EXPECT_EQ(dessin.ListeCoupes.Count(), 0);
  EXPECT_EQ(fiche[TOD::odCoupes].NombreObjets(), 0);
}

TEST_F(Fixture, FreedDisplayObjectsLeaveNoStaleLink) {
  const auto elements = [&] {
    std::vector<TObjetDonneesBasique*> r;
    dessin.ListeDonneesDessin.PourTousObjets([&](TObjetDonneesBasique& e) { r.push_back(&e); });
    ecart->ListeDonneesDessin.PourTousObjets([&](TObjetDonneesBasique& e) { r.push_back(&e); });
    coupe->PourTousObjets([&](TObjetDonneesBasique& e) { r.push_back(&e); });
    croquis.pktpDessinPlani.PourTousObjets([&](TObjetDonneesBasique& e) { r.push_back(&e); });
    return r;
  };
  for (int tour = 0; tour < 2; ++tour) {
    Construit();
    for (TObjetDonneesBasique* e : elements()) EXPECT_NE(e->LObjetDessin, nullptr);
    if (tour == 0)
      fiche.VideTout();
    else
      for (int k = 2; k <= 28; ++k) fiche.EffaceCalque(static_cast<TOD>(k));
    for (TObjetDonneesBasique* e : elements()) EXPECT_EQ(e->LObjetDessin, nullptr);
    // The sections and the offset part lose their frames too.
    EXPECT_EQ(coupe->LeDessinCoupe, nullptr);
    EXPECT_EQ(coupeCroquis->LeDessinCoupe, nullptr);
    EXPECT_EQ(ecart->LeDessinEcart, nullptr);
  }
  // A line without a display object is left out of its fill.
  Construit();
  fiche[TOD::odDessin].SupprimeObjet(invisible->LObjetDessin);
  EXPECT_EQ(invisible->LObjetDessin, nullptr);
  TCalque autre(TOD::odDessin);
  auto* r = dynamic_cast<TDessinRemplissage*>(f1->CreeDessinRempli(autre));
  ASSERT_TRUE(r);
  EXPECT_EQ(r->ListeLignes.size(), 1u);
  // An element freed before its display object unties it.
  TObjetDessin* o = w3->LObjetDessin;
  ecart->ListeDonneesDessin.SupprimeLigne(w3);
  EXPECT_EQ(o->ElementMontre(), nullptr);
  // Drawing after a rebuild reads no freed object.
  fiche.VideTout();
  Construit();
  testvue::Vue vue(10, -5, 30, 800, 400);
  platform::QtCanvas canvas(800, 400);
  TObjetsAffichables tous;
  for (TOD k : OrdreCalques) tous[k] = true;
  fiche.DessineCalques(canvas, tous);
  EXPECT_GT(fiche.NombreObjets(), 20);
  {
    // Two windows on the same drawing: each frees its own objects; the data
    // keeps the last window's frames, and data freed before the layers
    // leaves them nothing to clear.
    TJeuCalques autreFenetre;
    CreeDessinCavite(autreFenetre, dessin);
    Construit();
    TObjetDessin* cadre = coupe->LeDessinCoupe;
    autreFenetre.VideTout();
    EXPECT_EQ(coupe->LeDessinCoupe, cadre);
    CreeDessinCavite(autreFenetre, dessin);
    dessin.ListeCoupes.SupprimeSi([](TDonneesCoupe*) { return true; });
    dessin.ListeEcarts.SupprimeSi([](TDonneesEcart*) { return true; });
    coupe = nullptr;
    ecart = nullptr;
    fiche.VideTout();
    autreFenetre.VideTout();
  }
}

// --- Cross sections on a computed network with splay shots ------------------------

// A north-going gallery E1 (0, 0) - 1 (0, 10) - 2 (0, 20), with splay shots
// at 1 (2 m east; 3 m west and 1 m up) and at 2 (1 m east), widths 1 and 2.
class Sections : public ::testing::Test {
 protected:
  Sections() {
    c = k.Cavite("Habillée");
    k.Visee(c, "E1", "1", 0, 0, 10);
    v12 = k.Visee(c, "1", "2", 0, 0, 10);
    k.Dimensions(c, "1", 1, 2, 1, 1);
    k.Dimensions(c, "2", 1, 2, 1, 1);
    k.Habi(v12, true, 90, 0, 2);
    k.Habi(v12, true, 270, std::atan(1.0 / 3) * 180 / std::numbers::pi, std::sqrt(10.0));
    k.Habi(v12, false, 90, 0, 1);
    k.Calcule();
  }

  std::unique_ptr<TDonneesCoupe> Coupe(double distance) {
    auto s = std::make_unique<TDonneesCoupe>();
    s->PointDeCoupe->VisRefDessin = v12;
    s->PointDeCoupe->LHab = distance;
    s->PointPosition->VisRefDessin = v12;
    s->PointPosition->LHab = distance;
    s->PointPosition->AngleHab = std::numbers::pi / 2;  // east of the cut
    s->CalculePoints();
    return s;
  }

  testcoupes::Calcul k;
  TCavite* c = nullptr;
  TVisee* v12 = nullptr;
  TJeuCalques fiche;
};

TEST_F(Sections, SplaysWithinTheScaleRadiusAreProjected) {
  struct Cas {
    double distance;
    int32_t echelle;
    int visees;
  };
  // 1:500 reaches 0.5 m; -1 none.
  for (const Cas t : {Cas{0.2, 500, 2}, Cas{0.7, 500, 0}, Cas{0.7, 1000, 2}, Cas{0.2, -1, 0}, Cas{9.8, 500, 1}}) {
    auto s = Coupe(t.distance);
    s->CreeObjetDessin(fiche, t.echelle);
    const TCalque& lever = fiche[TOD::odCoupesLever];
    ASSERT_GE(lever.NombreObjets(), 1);
    EXPECT_EQ(Classe(lever.UnObjetDessin(0)), "TDessinAxeCoupe");
    EXPECT_EQ(lever.NombreObjets() - 1, t.visees) << t.distance << " 1:" << t.echelle;
    // Each splay runs from the position point to position + projection.
    const TPoint p = foundation::XYVersDessin(s->PointPosition->Xhab, s->PointPosition->Yhab);
    for (int i = 1; i < lever.NombreObjets(); ++i) {
      const auto pts = Points(lever.UnObjetDessin(i));
      ASSERT_EQ(pts.size(), 2u);
      EXPECT_EQ(pts[0], p);
      const foundation::TPointTopo h = s->LesPointsHabi.UnPtTopo(i - 1);
      EXPECT_EQ(pts[1], foundation::XYVersDessin(s->PointPosition->Xhab + h.X, s->PointPosition->Yhab + h.Y));
      EXPECT_EQ(lever.UnObjetDessin(i)->EcartDeRef, s->LeDessinCoupe);
    }
    s->SupprimeDessinCoupe(fiche);
    EXPECT_EQ(fiche.NombreObjets(), 0);
  }
}

TEST_F(Sections, FramePointsInOrder) {
  for (const bool vide : {false, true}) {
    auto s = Coupe(5);
    if (!vide) {
      const TPointDessin& p = *s->PointPosition;
      auto l = std::make_unique<TObjetDonneesBasique>();
      l->MotifDessin = k.contexte.bibliotheque.ListeTraits.LeMotifDeBase(0);
      l->AjoutePointDessin(false, p.Xhab - 2, p.Yhab - 1);
      l->AjoutePointDessin(false, p.Xhab + 3, p.Yhab + 2);
      s->AjouteDonneesDessin(std::move(l));
    }
    s->CreeObjetDessin(fiche, 500);
    auto* cadre = dynamic_cast<TDessinCoupe*>(s->LeDessinCoupe);
    ASSERT_TRUE(cadre);
    EXPECT_EQ(cadre->Legende, s->LegendeCoupe);
    const auto pts = Points(cadre);
    ASSERT_EQ(pts.size(), 8u) << vide;
    // The envelope that the frame was built from: the axis and the lines (no text here).
    // Without texts the section keeps that same envelope afterwards.
    foundation::TEnveloppe e;
    s->Enveloppe(e);
    const TPointDessin& p = *s->PointPosition;
    const std::vector<TPoint> attendus = {
        foundation::XYVersDessin(e.XGauche, e.YBas),          foundation::XYVersDessin(e.XGauche, e.YHaut),
        foundation::XYVersDessin(e.XDroite, e.YHaut),         foundation::XYVersDessin(e.XDroite, e.YBas),
        foundation::XYVersDessin(e.XCoupeGauche, p.Yhab),     foundation::XYVersDessin(e.XCoupeDroite, p.Yhab),
        foundation::XYVersDessin(e.LimGalGauche.X, e.LimGalGauche.Y),
        foundation::XYVersDessin(e.LimGalDroite.X, e.LimGalDroite.Y)};
    for (size_t i = 0; i < 8; ++i) {
      EXPECT_NEAR(pts[i].X, attendus[i].X, 1) << vide << " " << i;
      EXPECT_NEAR(pts[i].Y, attendus[i].Y, 1) << vide << " " << i;
    }
    // Corners around the content; the frame's envelope is its corners'.
    EXPECT_LT(pts[0].X, pts[2].X);
    EXPECT_LT(pts[0].Y, pts[1].Y);
    EXPECT_EQ(cadre->LCoupe, pts[2].X - pts[0].X);
    EXPECT_EQ(cadre->HCoupe, pts[2].Y - pts[0].Y);
    EXPECT_EQ(fiche[TOD::odCoupesLever].NombreObjets(), 1 + 2 * 0);  // axis; splays too far at 5 m
    EXPECT_EQ(fiche[TOD::odCoupesDessin].NombreObjets(), vide ? 0 : 1);
    s->SupprimeDessinCoupe(fiche);
    for (TOD k2 : {TOD::odCoupes, TOD::odCoupesLever, TOD::odCoupesDessin, TOD::odCoupesHabillage, TOD::odCoupesTexte})
      EXPECT_EQ(fiche[k2].NombreObjets(), 0);
  }
}

// --- Pixels -------------------------------------------------------------------------

// Paints the visible layers in the window's order, each on a white image
// of its own, combined by AND onto the result.
platform::QtCanvas Peint(TJeuCalques& fiche, int W, int H) {
  platform::QtCanvas image(W, H);
  for (TOD k : OrdreCalques) {
    TCalque& c = fiche[k];
    if (c.NombreObjets() == 0) continue;
    platform::QtCanvas calque(W, H);
    c.DessineCalque(calque);
    image.Copy = platform::CopyMode::SrcAnd;
    image.Draw(0, 0, calque);
    image.Copy = platform::CopyMode::SrcCopy;
  }
  return image;
}

// Whether a pixel within 1 of (x, y) is of that colour (or, with none, not
// white).
bool Encre(const platform::QtCanvas& c, double x, double y, const uint32_t* couleur = nullptr) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const int px = static_cast<int>(std::lround(x)) + dx, py = static_cast<int>(std::lround(y)) + dy;
      if (px < 0 || py < 0 || px >= c.Width() || py >= c.Height()) continue;
      const uint32_t p = c.Pixel(px, py) & 0xFFFFFF;
      if (couleur ? p == *couleur : p != platform::kWhite) return true;
    }
  return false;
}

// Samples along the pixel polyline of the points: how many miss ink.
int Manques(const platform::QtCanvas& c, const std::vector<TPoint>& pts, int dx = 0,
            const uint32_t* couleur = nullptr) {
  int manques = 0;
  for (size_t i = 0; i + 1 < pts.size(); ++i) {
    const TPoint a = PointVueDessin(pts[i].X, pts[i].Y), b = PointVueDessin(pts[i + 1].X, pts[i + 1].Y);
    for (int t = 1; t < 20; ++t) {
      const double x = a.X + (b.X - a.X) * t / 20.0 + dx, y = a.Y + (b.Y - a.Y) * t / 20.0;
      manques += !Encre(c, x, y, couleur);
    }
  }
  return manques;
}

TEST_F(Fixture, PixelsOfTheWholeSet) {
  // 40 px per metre, ground (-5, 30) at the top-left pixel.
  testvue::Vue vue(40, -5, 30, 1920, 1080);
  Construit();
  const platform::QtCanvas image = Peint(fiche, 1920, 1080);
  if (const char* png = std::getenv("GRAVELUNE_IMAGE_CALQUES")) image.Image().save(png);

  // The "Paroi" line where the view puts its computed points.
  EXPECT_EQ(Manques(image, PointsCalcules(paroi)), 0);
  // The offset part's own line shifted by PositX x EchelleVue pixels; its
  // watermark copies at the true place in the watermark colour.
  const int decalage = static_cast<int>(ecart->PositX * foundation::Vue().EchelleVue);
  const std::vector<TPoint> w3Vrai = {foundation::XYVersDessin(10.5, 17), foundation::XYVersDessin(10.5, 21)};
  EXPECT_EQ(Manques(image, w3Vrai, decalage), 0);
  const uint32_t filigrane = ecart->CouleurFiligr;
  EXPECT_LE(Manques(image, PointsCalcules(w1) /* displaced now */, -decalage, &filigrane), 2);
  // At w3's true place only the watermark fill, in the watermark colour.
  const uint32_t noir = dynamic_cast<TDefObjetTrait*>(paroiStyle)->CouleurPlume;
  EXPECT_EQ(Manques(image, w3Vrai, 0, &filigrane), 0);
  EXPECT_EQ(Manques(image, w3Vrai, 0, &noir), 19);

  // The fill's painted area against shapely's area of its bounding lines.
  const uint32_t cyan = platform::RgbColour(0, 255, 255);
  std::string lignes;
  for (TObjetDonneesBasique* l : {paroi, invisible}) {
    for (const TPoint& p : PointsCalcules(l)) {
      const TPoint v = PointVueDessin(p.X, p.Y);
      lignes += std::to_string(v.X) + " " + std::to_string(v.Y) + " ";
    }
    lignes += "\n";
  }
  // Cyan pixels around the fill (the offset part's water lies elsewhere).
  const TPoint hg = PointVueDessin(0, 15000), bd = PointVueDessin(10000, 10000);
  int encre = 0;
  for (int y = hg.Y; y <= bd.Y; ++y)
    for (int x = hg.X; x <= bd.X; ++x) encre += (image.Pixel(x, y) & 0xFFFFFF) == cyan;
  const std::string commande =
      "printf '" + lignes + "' | /usr/bin/python3 " GRAVELUNE_SOURCE_DIR "/tests/drawing/faces_shapely.py";
  FILE* f = ::popen(commande.c_str(), "r");
  double aire = 0;
  char tampon[64];
  while (f != nullptr && std::fgets(tampon, sizeof tampon, f) != nullptr) aire += std::strtod(tampon, nullptr);
  if (f == nullptr || ::pclose(f) != 0) GTEST_SKIP() << "python3-shapely absent";
  EXPECT_NEAR(aire, 8 * 3 * 40 * 40, 1);
  // The perimeter's pixels are the line's.
  EXPECT_NEAR(encre, aire, 2 * (8 + 3) * 40 * 2) << "oracle: shapely";
}

}  // namespace
