// The network document: its document-wide objects, caves and surface cave,
// the cave list, the coordinate system, the trip index, deletion clean-up,
// merges, pattern locks, SVG identifiers and the process-wide context.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "drawing/liste_mtf.h"
#include "drawing/symbole.h"
#include "platform/files.h"
#include "projections/contexte_projections.h"
#include "projections/donnees.h"
#include "projections/regions.h"
#include "survey/annexe_minimale.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/environnement_document.h"

namespace {

using namespace survey;
using testsurvey::EnvironnementDocument;

TCavite* NouvelleCavite(TReseau& r, const std::string& nom) {
  auto c = std::make_unique<TCavite>();
  c->NomCavite = nom;
  return r.AjouteCavite(std::move(c));
}

TPointSpeleo* NouveauPoint(TGalerie* g, const std::string& nom, int8_t type = PointSouterrain) {
  auto p = std::make_unique<TPointSpeleo>();
  p->DesignPTopo = nom;
  p->TypePoint = type;
  p->GalduPt = g;
  return g->Points.Add(std::move(p));
}

TEST(Reseau, CreationEtDestructionDesObjetsDuDocument) {
  EnvironnementDocument env;
  auto r = std::make_unique<TReseau>();
  EXPECT_EQ(Document().ReseauCourant, r.get());
  EXPECT_EQ(ListesDocument().Operateurs, &r->ListeOperateurs);
  EXPECT_EQ(ListesDocument().Instruments, &r->ListeInstruments);
  ASSERT_TRUE(document::BibliothequeCourante());
  EXPECT_GT(document::BibliothequeCourante()->ListeTraits.Count(), 0);  // built-in defaults
  EXPECT_EQ(r->NumFuseau, -1);
  EXPECT_EQ(r->DerCompens, -1);
  EXPECT_TRUE(r->CalculProjection);
  r.reset();
  EXPECT_EQ(Document().ReseauCourant, nullptr);
  EXPECT_EQ(ListesDocument().Operateurs, nullptr);
  EXPECT_EQ(document::BibliothequeCourante(), nullptr);
}

TEST(Reseau, CreeCavite) {
  EnvironnementDocument env;
  TReseau r;
  TListeCavites liste;
  EXPECT_EQ(r.AfficheListeCavites(liste, false), -1);
  EXPECT_TRUE(liste.empty());
  // Cancelled: the surface cave only.
  EXPECT_FALSE(r.CreeCavite());
  ASSERT_EQ(r.NombreCavites(), 1);
  EXPECT_TRUE(r.UneCavite(0)->EstSurface);
  EXPECT_EQ(r.UneCavite(0)->NomCavite, "Surface");
  EXPECT_EQ(r.UneCavite(0)->UneGalerie(0)->NomGalerie, "Points de surface");
  ASSERT_EQ(env.Dialogues.Log().size(), 1u);
  EXPECT_EQ(env.Dialogues.Log()[0].caption, "Saisie du nom de la cavité");
  EXPECT_EQ(env.Dialogues.Log()[0].text, "Nom de la cavité : ");
  env.Dialogues.QueuePrompt(std::string("Gouffre Berger"));
  ASSERT_TRUE(r.CreeCavite());
  ASSERT_EQ(r.NombreCavites(), 2);
  EXPECT_EQ(r.LaCaviteActive, r.UneCavite(1));
  EXPECT_EQ(r.Nom, "Gouffre Berger");
  EXPECT_EQ(r.UneCavite(1)->ReseauProprio, &r);
  // A later cave leaves the name alone.
  env.Dialogues.QueuePrompt(std::string("Autre"));
  ASSERT_TRUE(r.CreeCavite());
  EXPECT_EQ(r.Nom, "Gouffre Berger");
}

TEST(Reseau, ListeDesCavitesTrieeParNom) {
  EnvironnementDocument env;
  TReseau r;
  r.CreeCaviteSurface();
  for (const char* nom : {"10", "A", "9b"}) NouvelleCavite(r, nom);
  TListeCavites liste;
  r.LaCaviteActive = nullptr;
  // No active cave: the last one, unless one is recalled.
  EXPECT_EQ(r.AfficheListeCavites(liste, false), 0);
  ASSERT_EQ(liste.size(), 3u);
  EXPECT_EQ(liste[0].first, "9b");
  EXPECT_EQ(liste[1].first, "10");
  EXPECT_EQ(liste[2].first, "A");
  EXPECT_EQ(r.LaCaviteActive, r.UneCavite(3));
  r.LaCaviteActive = nullptr;
  Document().CaviteRappelee = 1;
  EXPECT_EQ(r.AfficheListeCavites(liste, false), 1);
  EXPECT_EQ(r.LaCaviteActive->NomCavite, "10");
  r.LaCaviteActive = nullptr;
  Document().CaviteRappelee = 7;  // out of range: the last cave
  r.AfficheListeCavites(liste, false);
  EXPECT_EQ(r.LaCaviteActive->NomCavite, "9b");
  // A drawing view lists only computed caves that are to be drawn.
  EXPECT_EQ(r.AfficheListeCavites(liste, true), -1);
  EXPECT_TRUE(liste.empty());
}

TEST(Reseau, ProjectStr) {
  EnvironnementDocument env;
  TReseau r;
  struct Cas {
    std::string projection;
    int32_t zone;
    std::string texte;
  };
  const Cas cas[] = {{"", -1, "coordonnées indépendantes"},
                     {"", 31, "coordonnées indépendantes"},
                     {"LT 93", 0, "LT 93"},
                     {"LT 93", -1, "LT 93"},
                     {"UTM", 31, "UTM - fuseau 31"}};
  for (const Cas& k : cas) {
    r.Projection = k.projection;
    r.NumFuseau = k.zone;
    EXPECT_EQ(r.ProjectStr(), k.texte) << k.projection << " " << k.zone;
  }
}

TEST(Reseau, ParametresDeProjection) {
  EnvironnementDocument env;
  projections::GardeProjections catalogue;
  TReseau r;
  r.Projection = "UTM";
  r.ParamsDatum = "reste";
  r.ChercheParamsProj();
  EXPECT_EQ(r.ParamsDatum, "");
  r.Projection = "LT 93";
  r.ChercheParamsProj();
  ASSERT_FALSE(r.ParamsProjection.empty());
  // The stored lines bring the system back into a catalogue that lacks it,
  // after a warning.
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionAutres));
  ASSERT_EQ(projections::CatalogueProjections().UneProjection("LT 93"), nullptr);
  r.ChargeParamsProj();
  EXPECT_NE(projections::CatalogueProjections().UneProjection("LT 93"), nullptr);
  EXPECT_EQ(env.Dialogues.Messages().size(), 1u);
  // Kilometres, and no conversion within the network's own system.
  foundation::TPointTopo p;
  p.X = 1.5;
  p.Y = 2.25;
  r.NumFuseau = -1;
  r.TransformePointTopo(true, "LT 93", p, -1);
  EXPECT_DOUBLE_EQ(p.X, 1500);
  EXPECT_DOUBLE_EQ(p.Y, 2250);
  // A point of another system is converted: 3°E 45°N from UTM zone 31.
  foundation::TPointTopo g;
  g.X = 500000;
  g.Y = 4982950;
  r.TransformePointTopo(false, "UTM N", g, 31);
  EXPECT_NEAR(g.X, 700000, 1);
  EXPECT_GT(g.Y, 6.3e6);
  EXPECT_LT(g.Y, 6.5e6);
}

TEST(Reseau, MajIdSvg) {
  EnvironnementDocument env;
  TReseau r;
  r.CreeCaviteSurface();
  TCavite* a = NouvelleCavite(r, "A");
  TCavite* b = NouvelleCavite(r, "B");
  r.UneCavite(0)->idCavSvg = -1;
  a->idCavSvg = 4;
  b->idCavSvg = -1;
  a->AjouteGalerie("g1")->idGalSvg = -1;
  a->AjouteGalerie("g2")->idGalSvg = 2;
  a->AjouteGalerie("g3")->idGalSvg = -1;
  EXPECT_EQ(r.DerIdCavSvg(), 5);
  r.MajIdSvg();
  EXPECT_EQ(r.UneCavite(0)->idCavSvg, 5);
  EXPECT_EQ(a->idCavSvg, 4);
  EXPECT_EQ(b->idCavSvg, 6);
  EXPECT_EQ(a->UneGalerie(0)->idGalSvg, 3);
  EXPECT_EQ(a->UneGalerie(1)->idGalSvg, 2);
  EXPECT_EQ(a->UneGalerie(2)->idGalSvg, 4);
  TReseau vide;
  EXPECT_EQ(vide.DerIdCavSvg(), 0);
}

// Surface point E, a cave with stations 1-2-3 reached from E, a second cave
// whose station X is tied by a loop to station 3.
struct ReseauBoucle {
  ReseauBoucle() {
    r.CreeCaviteSurface();
    E = NouveauPoint(r.UneCavite(0)->UneGalerie(0), "E", PointSurface);
    a = NouvelleCavite(r, "A");
    TGalerie* g = a->AjouteGalerie("");
    for (const char* n : {"1", "2", "3"}) st.push_back(NouveauPoint(g, n));
    TPointSpeleo* ends[][2] = {{E, st[0]}, {st[0], st[1]}, {st[1], st[2]}};
    for (auto& e : ends) {
      auto v = std::make_unique<TVisee>();
      v->PointStation = e[0];
      v->PointVise = e[1];
      v->LeLever = LeverParDefaut();
      a->Visees.Add(std::move(v));
    }
    a->ReGenereListePoints(true);
    b = NouvelleCavite(r, "B");
    X = NouveauPoint(b->AjouteGalerie(""), "X");
    X->PtBoucleAsso = st[2];
    auto v = std::make_unique<TVisee>();
    v->PointStation = E;
    v->PointVise = X;
    v->LeLever = LeverParDefaut();
    b->Visees.Add(std::move(v));
    b->ReGenereListePoints(true);
    r.LaCaviteActive = a;
  }
  TReseau r;
  TPointSpeleo* E;
  TCavite* a;
  TCavite* b;
  std::vector<TPointSpeleo*> st;
  TPointSpeleo* X;
};

TEST(Reseau, NettoieLiensSupprimes) {
  EnvironnementDocument env;
  ReseauBoucle n;
  auto garde = std::make_unique<TCompens>();
  garde->PtFin = n.st[1];
  garde->PtJuste = n.E;
  auto supprimee = std::make_unique<TCompens>();
  supprimee->PtFin = n.st[2];
  supprimee->PtJuste = n.E;
  TCompens* s = n.r.Compensations.Add(std::move(supprimee));
  n.r.Compensations.Add(std::move(garde));
  n.r.DerCompens = 1;
  n.a->LaVisee(2)->CoeffsCompens = s->Valeur.get();
  n.st[1]->PtBoucleAsso = n.st[2];
  n.st[2]->PtAEffacer = true;
  n.r.NettoieLiensSupprimes();
  ASSERT_EQ(n.r.Compensations.Count(), 1);
  EXPECT_EQ(n.r.Compensations.UnObjet(0)->PtFin, n.st[1]);
  EXPECT_EQ(n.r.DerCompens, 0);
  EXPECT_EQ(n.a->LaVisee(2)->CoeffsCompens, nullptr);
  EXPECT_EQ(n.st[1]->PtBoucleAsso, nullptr);
}

TEST(Reseau, FusionneCavites) {
  EnvironnementDocument env;
  ReseauBoucle n;
  EXPECT_EQ(n.r.CavitesFusionnables(), std::vector<TCavite*>{n.b});
  std::vector<TCavite*> recues;
  Fabriques().FusionneCavites = [&](TReseau&, const std::vector<TCavite*>& l) {
    recues = l;
    return true;
  };
  EXPECT_TRUE(n.r.FusionneCavites());
  EXPECT_EQ(recues, std::vector<TCavite*>{n.b});
  n.X->PtBoucleAsso = nullptr;
  EXPECT_FALSE(n.r.FusionneCavites());
  EXPECT_EQ(env.Dialogues.Messages(),
            std::vector<std::string>{"Il n'y a pas de fusions possibles avec cette cavité"});
}

TEST(Reseau, CreeListeLevers) {
  EnvironnementDocument env;
  ReseauBoucle n;
  for (const char* nom : {"Jean", "Marie", "Paul"}) {
    auto o = std::make_unique<TOperateur>();
    o->DesignOpe = nom;
    n.r.ListeOperateurs.Add(std::move(o));
  }
  for (int i = 0; i < 2; ++i) n.r.ListeInstruments.Add(std::make_unique<TInstrument>());
  auto l = std::make_unique<TLever>();
  l->Operateurs.push_back(n.r.ListeOperateurs.UnOperateur(0));
  l->InstrumentL = n.r.ListeInstruments.UnInstrument(1);
  n.a->Levers.Add(std::move(l));
  auto obs = std::make_unique<TTypeDObs>();
  obs->Observateurs.push_back(n.r.ListeOperateurs.UnOperateur(2));
  n.st[1]->SuiteObs.Add(std::move(obs));
  n.r.ListeOperateurs.UnOperateur(1)->Utilise = true;
  n.r.CreeListeLevers();
  EXPECT_EQ(n.r.ListeDesLevers.size(), 1u);
  EXPECT_TRUE(n.r.ListeOperateurs.UnOperateur(0)->Utilise);
  EXPECT_FALSE(n.r.ListeOperateurs.UnOperateur(1)->Utilise);
  EXPECT_TRUE(n.r.ListeOperateurs.UnOperateur(2)->Utilise);
  EXPECT_FALSE(n.r.ListeInstruments.UnInstrument(0)->Utilise);
  EXPECT_TRUE(n.r.ListeInstruments.UnInstrument(1)->Utilise);
}

TEST(Reseau, SymbolesDeSurface) {
  EnvironnementDocument env;
  ReseauBoucle n;
  drawing::tListeMtf& lib = *document::BibliothequeCourante();
  ASSERT_GE(lib.ListeMotifsSurface.Count(), 3);
  drawing::TObjetMotifdeBase* s0 = lib.ListeMotifsSurface.UnObjet(0);
  drawing::TObjetMotifdeBase* s2 = lib.ListeMotifsSurface.UnObjet(2);
  n.E->CategorieSurface = s2;
  // Locks: only the symbol a surface point uses.
  drawing::CalculeVerrousMtf(n.r, lib, drawing::TTypeMotif::tmSurface);
  EXPECT_TRUE(s2->GetVerrou());
  EXPECT_EQ(s0->GetVerrou(), lib.ListeMotifsSurface.NbreMotifsFixes > 0);
  n.r.FusionneMotifsSurface(s0, s2);
  EXPECT_EQ(n.E->CategorieSurface, s0);
  // Written as its position, linked again after reading.
  NumeroteStationsEcriture(n.r.Cavites);
  n.E->vCatPt = 2;
  n.E->CategorieSurface = nullptr;
  n.r.LieSymbolesSurface();
  EXPECT_EQ(n.E->CategorieSurface, s2);
  n.E->vCatPt = 999;
  n.r.LieSymbolesSurface();
  EXPECT_EQ(n.E->CategorieSurface, nullptr);
}

// What the drawing subsystem keeps in the model, as the model sees it: a
// pattern, a cave annex and page layouts that answer for one pattern each.
struct MotifEssai : TMotifDocument {};

class AnnexeEssai : public TAnnexeCavite {
 public:
  explicit AnnexeEssai(const TMotifDocument* utilise) : utilise_(utilise) {}
  bool EcritStylesCavite(foundation::TFlux&) override { return true; }
  bool LitStylesCavite(foundation::TFlux&) override { return true; }
  bool UtiliseMotif(const TMotifDocument* m) override {
    ++Questions;
    return m == utilise_;
  }
  int Questions = 0;

 private:
  const TMotifDocument* utilise_;
};

class MisesEnPageEssai : public TPartieReseau {
 public:
  explicit MisesEnPageEssai(const TMotifDocument* fleche) : fleche_(fleche) {}
  bool Ecrit(foundation::TFlux&) override { return true; }
  bool Lit(foundation::TFlux&) override { return true; }
  bool UtiliseMotif(const TMotifDocument* m) const override { return m == fleche_; }

 private:
  const TMotifDocument* fleche_;
};

TEST(Reseau, UtiliseMotifLaOuSonUsageLeCherche) {
  EnvironnementDocument env(false);
  MotifEssai trait, fleche, symbole;
  Fabriques().Parties[static_cast<size_t>(TGenrePartie::MisesEnPagePlan)] =
      [&](TReseau&) -> std::unique_ptr<TPartieReseau> { return std::make_unique<MisesEnPageEssai>(&fleche); };
  ReseauBoucle n;
  auto* annexeA = new AnnexeEssai(&trait);
  auto* annexeB = new AnnexeEssai(&trait);
  n.a->Annexe.reset(annexeA);
  n.b->Annexe.reset(annexeB);
  n.E->CategorieSurface = &symbole;
  const struct {
    const TMotifDocument* motif;
    TUsageMotif usage;
    bool utilise;
  } cas[] = {
      {&trait, TUsageMotif::DessinsCavites, true},   {&trait, TUsageMotif::FlecheNord, false},
      {&trait, TUsageMotif::SymboleSurface, false},  {&trait, TUsageMotif::Aucun, false},
      {&fleche, TUsageMotif::FlecheNord, true},      {&fleche, TUsageMotif::DessinsCavites, false},
      {&symbole, TUsageMotif::SymboleSurface, true}, {&symbole, TUsageMotif::FlecheNord, false},
      {&symbole, TUsageMotif::Aucun, false},
  };
  for (const auto& c : cas)
    EXPECT_EQ(n.r.UtiliseMotif(c.motif, c.usage), c.utilise)
        << (c.motif == &trait ? "trait " : c.motif == &fleche ? "fleche " : "symbole ") << static_cast<int>(c.usage);
  // The caves are asked in order; the first that uses the pattern ends the search.
  annexeA->Questions = annexeB->Questions = 0;
  EXPECT_TRUE(n.r.UtiliseMotif(&trait, TUsageMotif::DessinsCavites));
  EXPECT_EQ(annexeA->Questions, 1);
  EXPECT_EQ(annexeB->Questions, 0);
}

TEST(Reseau, CreeXmlCavites) {
  EnvironnementDocument env;
  testsupport::DossierTemp d;
  ReseauBoucle n;
  n.a->idCavSvg = 1;
  ASSERT_TRUE(n.r.CreeXmlCavites(d.Chemin()));
  const std::string xml = testsupport::LitOctets(d.Fichier("Test.XML"));
  EXPECT_NE(xml.find("<Reseau>"), std::string::npos);
  EXPECT_NE(xml.find("<cavite id=\"0001\">"), std::string::npos);
  EXPECT_NE(xml.find("<nom>A</nom>"), std::string::npos);
  EXPECT_NE(xml.find("<galerie id=\"0001_0000\">"), std::string::npos);
  EXPECT_EQ(xml.find("Surface"), std::string::npos);
}

TEST(Reseau, CaviteNeuveALaCoupeDeveloppeeGlobale) {
  EnvironnementDocument env;
  // The cave keeps the survey model's own annex.
  Ports().CreeAnnexeCavite = nullptr;
  TReseau r;
  r.CreeCaviteSurface();
  TCavite* c = NouvelleCavite(r, "A");
  auto* annexe = dynamic_cast<TAnnexeMinimale*>(c->Annexe.get());
  ASSERT_TRUE(annexe);
  ASSERT_EQ(annexe->CoupesLong.size(), 1u);
  EXPECT_EQ(annexe->CoupesLong[0].DesignCoupe, "Coupe développée globale");
  EXPECT_EQ(annexe->CoupesLong[0].Dessin.TypeDeDessin, 2);
}

TEST(Reseau, SansLiaisonsLesPartiesSontVides) {
  EnvironnementDocument env(false);
  ReseauBoucle n;
  foundation::TFluxMemoire flux;
  ASSERT_TRUE(n.r.Ecrit(flux));
  auto lu = std::make_unique<TReseau>();
  flux.PlaceA(0);
  ASSERT_TRUE(lu->Lit(flux));
  EXPECT_EQ(lu->NombreCavites(), 3);
  TListeCavites liste;
  lu->AfficheListeCavites(liste, false);
  foundation::TFluxMemoire second;
  ASSERT_TRUE(lu->Ecrit(second));
  EXPECT_EQ(second.Octets(), flux.Octets());
}

}  // namespace
