// The document file: every level gate on hand-made files, the refused levels,
// truncated files, the write-read-write identity, the backup, the lock on the
// open file and the second instance, the file modes left alone, failing
// saves, the companion file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "drawing/contexte_motifs.h"
#include "drawing/liste_mtf.h"
#include "editor/image_notes.h"
#include "foundation/dates.h"
#include "foundation/utilitaires.h"
#include "platform/files.h"
#include "projections/contexte_projections.h"
#include "survey/annexe_minimale.h"
#include "tests/support/dossier_temp.h"
#include "tests/support/verrou_externe.h"
#include "tests/survey/environnement_document.h"
#include "views/mise_en_page.h"
#include "views/page_semis.h"

namespace {

using namespace survey;
using testsupport::DossierTemp;
using testsupport::EcritOctets;
using testsupport::LitOctets;
using testsupport::Mode;
using testsupport::TenuSelonFlock;
using testsurvey::EnvironnementDocument;

std::string Fixture(const std::string& nom) {
  return std::string(GRAVELUNE_SOURCE_DIR) + "/tests/survey/fixtures/document/" + nom;
}

// A copy of a fixture (and of its companion) in the folder.
std::string CopieFixture(const DossierTemp& d, int niveau, const std::string& nom = "doc.cav") {
  const std::string chemin = d.Fichier(nom);
  EcritOctets(chemin, LitOctets(Fixture("reseau_" + std::to_string(niveau) + ".cav")));
  const std::string config = Fixture("reseau_" + std::to_string(niveau) + ".CFG");
  if (platform::FileExists(config)) EcritOctets(platform::ChangeExtension(chemin, ".CFG"), LitOctets(config));
  return chemin;
}

TPointSpeleo* Station(const TCavite& c, const std::string& nom) {
  for (const TGalerie* g : c.Galeries)
    for (TPointSpeleo* p : g->Points)
      if (p->DesignPTopo == nom) return p;
  return nullptr;
}

TVisee* Visee(const TCavite& c, const std::string& de, const std::string& vers) {
  for (TVisee* v : c.Visees)
    if (v->PointStation && v->PointVise && v->PointStation->DesignPTopo == de && v->PointVise->DesignPTopo == vers)
      return v;
  return nullptr;
}

std::string Ecrit(TReseau& r) {
  foundation::TFluxMemoire flux;
  EXPECT_TRUE(r.Ecrit(flux));
  return flux.Octets();
}

std::string EcritConfig(TReseau& r) {
  foundation::TFluxMemoire flux;
  EXPECT_TRUE(r.EcritConfig(flux));
  return flux.Octets();
}

// A small network built in memory: surface point E1, cave "Grotte" with one
// trip and the shots E1-1, 1-2 (with a splay), 2-3.
std::unique_ptr<TReseau> ReseauSimple() {
  auto r = std::make_unique<TReseau>();
  r->Nom = "Simple";
  r->CreeCaviteSurface();
  auto e1 = std::make_unique<TPointSpeleo>();
  e1->TypePoint = PointSurface;
  e1->DesignPTopo = "E1";
  e1->X = 100;
  e1->Y = 200;
  e1->Z = 300;
  TListedePoints& surface = *r->LesPointsSurface();
  e1->GalduPt = r->UneCavite(0)->Galeries.First();
  TPointSpeleo* E1 = surface.Add(std::move(e1));
  auto cav = std::make_unique<TCavite>();
  cav->NomCavite = "Grotte";
  TCavite* c = r->AjouteCavite(std::move(cav));
  auto lever = std::make_unique<TLever>();
  foundation::EncodeDate(2021, 3, 4, lever->LaDate);
  TLever* l = c->Levers.Add(std::move(lever));
  TGalerie* g = c->AjouteGalerie("");
  std::vector<TPointSpeleo*> st;
  for (const char* nom : {"1", "2", "3"}) {
    auto p = std::make_unique<TPointSpeleo>();
    p->DesignPTopo = nom;
    p->GalduPt = g;
    st.push_back(g->Points.Add(std::move(p)));
  }
  TPointSpeleo* ends[][2] = {{E1, st[0]}, {st[0], st[1]}, {st[1], st[2]}};
  for (auto& e : ends) {
    auto v = std::make_unique<TVisee>();
    v->PointStation = e[0];
    v->PointVise = e[1];
    v->Long = 10;
    v->Az = 45;
    v->LeLever = l;
    TVisee* vv = c->Visees.Add(std::move(v));
    if (e[0] == st[0]) {
      auto h = std::make_unique<TViseeHabi>();
      h->Long = 2;
      h->RefPtStat = true;
      vv->AjouteViseeHabi(std::move(h));
    }
  }
  c->ReGenereListePoints(true);
  r->LaCaviteActive = c;
  return r;
}

// A test's surroundings for saving: the simple network, its path
// "grotte.cav" in a temporary folder as the current document's.
struct ReseauAEnregistrer {
  EnvironnementDocument env;
  DossierTemp d;
  std::unique_ptr<TReseau> r = ReseauSimple();
  const std::string chemin = d.Fichier("grotte.cav");
  ReseauAEnregistrer() { Document().NomFichierCourant = chemin; }
};

// The level 511 fixture copied into a temporary folder, its path the current
// document's.
struct FixtureCourante {
  EnvironnementDocument env;
  DossierTemp d;
  const std::string chemin = CopieFixture(d, 511);
  FixtureCourante() { Document().NomFichierCourant = chemin; }
};

// --- Every gate ---------------------------------------------------------------------------------

TEST(FichierReseau, LitChaqueNiveau) {
  struct Cas {
    int niveau;
    int lu;  // level as read
  };
  const Cas cas[] = {{212, 212}, {225, 225}, {226, 500}, {503, 503}, {505, 505},
                     {508, 508}, {509, 509}, {510, 510}, {511, 511}};
  for (const Cas& k : cas) {
    SCOPED_TRACE("niveau " + std::to_string(k.niveau));
    EnvironnementDocument env;
    // The caves keep the survey model's own annex.
    Ports().CreeAnnexeCavite = nullptr;
    DossierTemp d;
    const std::string chemin = CopieFixture(d, k.niveau);
    auto r = OuvreReseau(chemin);
    ASSERT_TRUE(r) << (env.Dialogues.Messages().empty() ? "" : env.Dialogues.Messages().front());
    EXPECT_TRUE(env.Dialogues.Messages().empty());
    EXPECT_EQ(foundation::NiveauFichier().VersionFichierLue, k.lu);
    EXPECT_EQ(Document().ReseauCourant, r.get());
    EXPECT_EQ(r->Nom, "Réseau des fixtures");
    ASSERT_EQ(r->ListeOperateurs.Count(), 2);
    ASSERT_EQ(r->ListeInstruments.Count(), 1);
    EXPECT_EQ(r->ListeInstruments.UnInstrument(0)->Marque, "Suunto");
    ASSERT_EQ(r->NombreCavites(), 3);
    const TCavite& s = *r->UneCavite(0);
    const TCavite& a = *r->UneCavite(1);
    const TCavite& b = *r->UneCavite(2);
    EXPECT_TRUE(s.EstSurface);
    // The surface points come sorted by name; the stored entrances were
    // taken in the file's order (E2 then E1) before that.
    ASSERT_EQ(r->LesPointsSurface()->Count(), 2);
    EXPECT_EQ(r->LePointSurface(0)->DesignPTopo, "E1");
    ASSERT_TRUE(a.EntreeSelectee);
    EXPECT_EQ(a.EntreeSelectee->DesignPTopo, "E1");
    EXPECT_EQ(r->LePointSurface(0)->Commentaire.size(), 1u);

    ASSERT_EQ(a.Levers.Count(), 1);
    const TLever& l = *a.Levers.UnObjet(0);
    int an = 0, mois = 0, jour = 0;
    foundation::DecodeDate(l.LaDate, an, mois, jour);
    EXPECT_EQ(an * 10000 + mois * 100 + jour, 20200517);
    EXPECT_EQ(l.DecliAuto, k.lu >= 506);
    EXPECT_DOUBLE_EQ(l.Declinaison, 1.5);
    ASSERT_EQ(l.Operateurs.size(), 2u);
    EXPECT_EQ(l.OperaText(1), "Marie");
    EXPECT_EQ(l.InstrumentAz, r->ListeInstruments.UnInstrument(0));

    ASSERT_EQ(a.Visees.Count(), 5);
    TVisee* v12 = Visee(a, "1", "2");
    ASSERT_TRUE(v12);
    EXPECT_EQ(v12->LeLever, &l);
    EXPECT_DOUBLE_EQ(v12->Az, 90.0);
    ASSERT_EQ(v12->ViseesHabi.Count(), 1);
    EXPECT_TRUE(v12->LaViseeHabi(0)->RefPtStat);
    if (k.lu >= 220)
      EXPECT_DOUBLE_EQ(v12->LaViseeHabi(0)->SlhFix, 4.5);
    else
      EXPECT_TRUE(foundation::EstIndefini(v12->LaViseeHabi(0)->SlhFix));
    TVisee* v24 = Visee(a, "2", "4");
    ASSERT_TRUE(v24);
    EXPECT_EQ(v24->LeLever, LeverParDefaut());
    ASSERT_TRUE(Visee(a, "3", "E2"));
    EXPECT_EQ(Station(a, "4")->Annexe, 1);
    EXPECT_EQ(a.EchelleTextesDft, 250);

    EXPECT_EQ(a.idCavSvg, k.lu >= 503 ? 5 : -1);
    EXPECT_EQ(a.Galeries.First()->idGalSvg, k.lu >= 503 ? 3 : -1);
    ASSERT_EQ(b.Visees.Count(), 3);
    ASSERT_EQ(b.Levers.Count(), 1);
    EXPECT_EQ(b.Levers.UnObjet(0)->LaDate, k.lu < 508 ? foundation::DateNonRenseignee : 0.0);
    EXPECT_EQ(Visee(b, "E1", "B1")->LeLever, b.Levers.UnObjet(0));
    ASSERT_TRUE(Station(b, "B3"));
    EXPECT_EQ(Station(b, "B3")->PtBoucleAsso, Station(a, "3"));

    ASSERT_EQ(r->Compensations.Count(), 1);
    EXPECT_EQ(r->Compensations.UnObjet(0)->PtFin, Station(a, "3"));
    EXPECT_EQ(r->Compensations.UnObjet(0)->PtJuste->DesignPTopo, "E2");
    EXPECT_EQ(r->Compensations.UnObjet(0)->typeCompens, CompensPlaniAlti);
    EXPECT_EQ(Document().CaviteRappelee, 2);

    // Long sections: below 505 the empty second one is dropped.
    auto* annexe = dynamic_cast<TAnnexeMinimale*>(a.Annexe.get());
    ASSERT_TRUE(annexe);
    EXPECT_EQ(a.CoupesDecalees, k.lu < 505);
    ASSERT_EQ(annexe->CoupesLong.size(), k.lu < 505 ? 1u : 2u);
    EXPECT_EQ(annexe->CoupesLong[0].DesignCoupe,
              k.lu < 505 ? "Coupe développée globale" : "Coupe orientée globale");
    ASSERT_EQ(annexe->CoupesLong[0].ViseesCoupe.size(), 1u);
    EXPECT_EQ(annexe->CoupesLong[0].ViseesCoupe[0].Visee, Visee(a, "E1", "1"));
    EXPECT_EQ(annexe->CoupesLong[0].ViseesCoupe[0].SensVisee, -1);
    EXPECT_EQ(annexe->DessinPlani.EchelleDessin, 500);

    // The library's upgrades of older levels.
    const drawing::tListeMtf* lib = document::BibliothequeCourante();
    ASSERT_TRUE(lib);
    EXPECT_EQ(lib->ListeMotifsSurface.Count(), k.lu < 500 ? 6 : 0);
    EXPECT_EQ(lib->ListeFontes.Count(), k.lu < 510 ? 4 : 0);
    if (k.lu == 511) EXPECT_EQ(drawing::Motifs().ListesMtfTherion->ListeTraits.Count(), 0);

    // The companion file.
    Document().NomFichierCourant = chemin;
    EXPECT_TRUE(r->LitFichierConfig());
    EXPECT_TRUE(a.CalageDigitPlani.CalageOk);
    EXPECT_EQ(a.CalageDigitPlani.NomImage, "plan.jpg");
    EXPECT_FALSE(a.CalageDigitAlti.CalageOk);
    EXPECT_TRUE(env.Dialogues.Messages().empty());
  }
}

// --- Refused levels and damaged files ------------------------------------------------------------

TEST(FichierReseau, NiveauxRefusesLaissentLeDocumentOuvert) {
  EnvironnementDocument env;
  DossierTemp d;
  auto ouvert = OuvreReseau(CopieFixture(d, 509, "ouvert.cav"));
  ASSERT_TRUE(ouvert);
  const auto points = ListePointsReseau();
  struct Cas {
    std::string fichier;
    std::vector<std::string> messages;
  };
  const std::string general = "le fichier " + d.Fichier("refuse.cav") + " n'a pas pu être lu";
  const Cas cas[] = {
      {"reseau_512.cav",
       {"le fichier que vous voulez ouvrir a été écrit avec une version du logiciel plus récente que celle que "
        "vous utilisez. Téléchargez la dernière version du logiciel pour ouvoir l'ouvrir",
        general}},
      {"reseau_211.cav", {"pour lire les fichiers de niveau 211 Prendre une version plus ancienne du logiciel", general}},
      {"reseau_entete_invalide.cav", {general + " : son en-tête n'est pas celui d'un document Gravelune."}},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.fichier);
    env.Dialogues.Clear();
    EcritOctets(d.Fichier("refuse.cav"), LitOctets(Fixture(k.fichier)));
    EXPECT_FALSE(OuvreReseau(d.Fichier("refuse.cav")));
    EXPECT_EQ(env.Dialogues.Messages(), k.messages);
    EXPECT_EQ(Document().ReseauCourant, ouvert.get());
    EXPECT_EQ(ListesDocument().Operateurs, &ouvert->ListeOperateurs);
    EXPECT_EQ(foundation::NiveauFichier().VersionFichierLue, 509);
    EXPECT_EQ(ListePointsReseau(), points);
    EXPECT_EQ(document::BibliothequeCourante()->ListeFontes.Count(), 4);
  }
}

TEST(FichierReseau, ToutFichierTronqueEchoueProprement) {
  EnvironnementDocument env;
  DossierTemp d;
  const std::string octets = LitOctets(Fixture("reseau_511.cav"));
  const std::string chemin = d.Fichier("tronque.cav");
  // The last item (the active cave) is optional: stop before it.  The
  // message says why: empty, a header cut short, or a file that ends before
  // its last record, wherever the cut falls.
  const std::string general = "le fichier " + chemin + " n'a pas pu être lu : ";
  const size_t entete = 4 + std::string("Version 1.0/Version511").size();
  for (size_t n = 0; n + 4 < octets.size(); ++n) {
    EcritOctets(chemin, octets.substr(0, n));
    env.Dialogues.Clear();
    auto r = OuvreReseau(chemin);
    ASSERT_FALSE(r) << n;
    ASSERT_EQ(Document().ReseauCourant, nullptr) << n;
    const std::string raison = n == 0         ? "il est vide."
                               : n < entete ? "son en-tête n'est pas celui d'un document Gravelune."
                                            : "il s'arrête avant la fin de son dernier enregistrement.";
    ASSERT_EQ(env.Dialogues.Messages().back(), general + raison) << n;
  }
  EcritOctets(chemin, octets);
  EXPECT_TRUE(OuvreReseau(chemin));
}

TEST(FichierReseau, OctetsCorrompusNeFontPasTomber) {
  EnvironnementDocument env;
  DossierTemp d;
  const std::string octets = LitOctets(Fixture("reseau_511.cav"));
  const std::string chemin = d.Fichier("corrompu.cav");
  // Each 4-byte word in turn set to large, negative and zero values.
  for (size_t i = 0; i + 4 <= octets.size(); i += 4)
    for (uint32_t mot : {0x7fffffffu, 0xfffffff0u, 0u}) {
      std::string c = octets;
      std::memcpy(&c[i], &mot, 4);
      EcritOctets(chemin, c);
      auto r = OuvreReseau(chemin);
      if (!r) EXPECT_EQ(Document().ReseauCourant, nullptr);
    }
}

// --- Write, read, write -------------------------------------------------------------------------------

TEST(FichierReseau, EcritureLectureEcritureIdentiques) {
  EnvironnementDocument env;
  DossierTemp d;
  auto r = OuvreReseau(CopieFixture(d, 511));
  ASSERT_TRUE(r);
  Document().NomFichierCourant = d.Fichier("doc.cav");
  ASSERT_TRUE(r->LitFichierConfig());
  TListeCavites liste;
  r->AfficheListeCavites(liste, false);
  const std::string premier = Ecrit(*r);
  const std::string config = EcritConfig(*r);
  EcritOctets(d.Fichier("w1.cav"), premier);
  EcritOctets(d.Fichier("w1.CFG"), config);
  r.reset();

  auto r2 = OuvreReseau(d.Fichier("w1.cav"));
  ASSERT_TRUE(r2);
  Document().NomFichierCourant = d.Fichier("w1.cav");
  ASSERT_TRUE(r2->LitFichierConfig());
  r2->AfficheListeCavites(liste, false);
  EXPECT_EQ(Ecrit(*r2), premier);
  EXPECT_EQ(EcritConfig(*r2), config);
  EXPECT_TRUE(env.Dialogues.Messages().empty());
}

TEST(FichierReseau, StationsNumeroteesDansLOrdreDeLecture) {
  EnvironnementDocument env;
  auto r = ReseauSimple();
  TCavite& c = *r->UneCavite(1);
  // A derived list that misses a station and holds them in another order
  // must not shift the references of the shots.
  std::reverse(c.ListePoints.Points().begin(), c.ListePoints.Points().end());
  c.ListePoints.Points().pop_back();
  const std::string octets = Ecrit(*r);
  int attendu = 0;
  for (TCavite* cav : r->Cavites)
    for (TGalerie* g : cav->Galeries)
      for (TPointSpeleo* p : g->Points) EXPECT_EQ(p->IndiceReseau, attendu++) << p->DesignPTopo;
  r.reset();
  auto lu = std::make_unique<TReseau>();
  foundation::TFluxMemoire flux(octets);
  ASSERT_TRUE(lu->Lit(flux));
  const TCavite& g = *lu->UneCavite(1);
  for (auto [de, vers] : {std::pair{"E1", "1"}, {"1", "2"}, {"2", "3"}}) EXPECT_TRUE(Visee(g, de, vers)) << de;
}

TEST(FichierReseau, PointsVirtuelsJamaisEcrits) {
  EnvironnementDocument env;
  auto r = ReseauSimple();
  TCavite& c = *r->UneCavite(1);
  // A loop 1-2-3-1 gives a "(Bis)" duplicate; the second entrance a virtual entrance.
  auto v = std::make_unique<TVisee>();
  v->PointStation = Station(c, "3");
  v->PointVise = Station(c, "1");
  v->Long = 5;
  v->LeLever = c.Levers.UnObjet(0);
  c.Visees.Add(std::move(v));
  c.ReGenereListePoints(true);
  c.CreePointsJonctionVirtuels();
  c.CreePointEntreeVirtuel(r->LePointSurface(0));
  int virtuels = 0;
  for (TGalerie* g : c.Galeries)
    for (TPointSpeleo* p : g->Points) virtuels += p->TypePoint < 0;
  ASSERT_GE(virtuels, 2);
  const std::string octets = Ecrit(*r);
  EXPECT_EQ(octets.find("(Bis)"), std::string::npos);
  r.reset();
  auto lu = std::make_unique<TReseau>();
  foundation::TFluxMemoire flux(octets);
  ASSERT_TRUE(lu->Lit(flux));
  const TCavite& g = *lu->UneCavite(1);
  EXPECT_EQ(g.Galeries.First()->Points.Count(), 3);
  EXPECT_EQ(g.Visees.Count(), 4);
  EXPECT_TRUE(Visee(g, "3", "1"));
  EXPECT_TRUE(Visee(g, "E1", "1"));
}

TEST(FichierReseau, CaviteActiveZeroLaisseCaviteRappelee) {
  EnvironnementDocument env;
  DossierTemp d;
  std::string octets = LitOctets(Fixture("reseau_511.cav"));
  std::memset(&octets[octets.size() - 4], 0, 4);
  EcritOctets(d.Fichier("zero.cav"), octets);
  Document().CaviteRappelee = -1;
  ASSERT_TRUE(OuvreReseau(d.Fichier("zero.cav")));
  EXPECT_EQ(Document().CaviteRappelee, -1);
  // A position recalled from the recent files wins over the stored one.
  Document().CaviteRappelee = 1;
  ASSERT_TRUE(OuvreReseau(CopieFixture(d, 511)));
  EXPECT_EQ(Document().CaviteRappelee, 1);
}

// The network of the level-511 file with three caves, loops and an
// adjustment, given a plan page layout with two pages and a background map.
TEST(FichierReseau, MisesEnPageEtCartesEcritesEtRelues) {
  EnvironnementDocument env;
  projections::GardeProjections catalogue;
  DossierTemp d;
  auto r = OuvreReseau(CopieFixture(d, 511));
  ASSERT_TRUE(r);
  views::TListeMisesEnPage* plans = views::MisesEnPage().ListesMisesEnPage[0];
  editor::TListeNotes* cartes = editor::Cartes().CartesReseau;
  ASSERT_TRUE(plans);
  ASSERT_TRUE(cartes);
  auto mep = std::make_unique<views::TMiseEnPage>();
  mep->Design = "Plan au 1/1000";
  mep->Echelle = 1000;
  mep->ListeCavites.push_back(2);
  for (int i = 0; i < 2; ++i) {
    auto page = std::make_unique<views::TPageSemis>();
    page->PointHautReel.X = 700000 + 500 * i;
    page->PointHautReel.Y = 6600000;
    page->PointBasReel.X = 700400 + 500 * i;
    page->PointBasReel.Y = 6599700;
    mep->ListePages.Add(std::move(page));
  }
  plans->Add(std::move(mep));
  auto carte = std::make_unique<editor::TImageNotes>();
  carte->NomImage = "carte IGN.jpg";
  carte->PointsImage[1].X = 2000;
  carte->PointsImage[1].Y = 1500;
  carte->PointsTerrain[0].X = 700000;
  carte->PointsTerrain[0].Y = 6600000;
  carte->PointsTerrain[1].X = 701000;
  carte->PointsTerrain[1].Y = 6599000;
  carte->Opacite = 128;
  cartes->Add(std::move(carte));
  cartes->NoteActive = 0;
  TListeCavites liste;
  r->AfficheListeCavites(liste, false);
  const std::string premier = Ecrit(*r);
  const std::string config = EcritConfig(*r);
  r.reset();

  auto lu = std::make_unique<TReseau>();
  foundation::TFluxMemoire flux(premier);
  ASSERT_TRUE(lu->Lit(flux));
  foundation::TFluxMemoire fluxConfig(config);
  ASSERT_TRUE(lu->LitConfig(fluxConfig));
  lu->AfficheListeCavites(liste, false);
  ASSERT_EQ(views::MisesEnPage().ListesMisesEnPage[0]->Count(), 1);
  EXPECT_EQ(views::MisesEnPage().ListesMisesEnPage[0]->UnObjet(0)->Design, "Plan au 1/1000");
  EXPECT_EQ(views::MisesEnPage().ListesMisesEnPage[0]->UnObjet(0)->ListePages.Count(), 2);
  ASSERT_EQ(editor::Cartes().CartesReseau->Count(), 1);
  EXPECT_EQ(editor::Cartes().CartesReseau->UneNote(0)->Opacite, 128);
  EXPECT_EQ(Ecrit(*lu), premier);
  EXPECT_EQ(EcritConfig(*lu), config);

  // A change of coordinate system moves the pages, the map and the surface
  // points: 3°E is the central meridian of both Lambert-93 and UTM zone 31.
  lu->LePointSurface(0)->X = 700000;
  lu->LePointSurface(0)->Y = 6600000;
  lu->ChangeProjection("LT 93", -1, 31, "UTM");
  const views::TPageSemis* page = views::MisesEnPage().ListesMisesEnPage[0]->UnObjet(0)->UnePage(0);
  EXPECT_NEAR(page->PointHautReel.X, 500000, 1);
  EXPECT_NEAR(page->PointHautReel.Y, 5150000, 5000);
  EXPECT_NEAR(editor::Cartes().CartesReseau->UneNote(0)->PointsTerrain[0].X, 500000, 1);
  EXPECT_NEAR(lu->LePointSurface(0)->X, 500000, 1);
  EXPECT_TRUE(env.Dialogues.Messages().empty());
}

// --- Saving -------------------------------------------------------------------------------------------------

TEST(FichierReseau, DeuxEnregistrementsLaissentLePremierEnSauvegarde) {
  ReseauAEnregistrer f;
  auto& [env, d, r, chemin] = f;
  ASSERT_TRUE(EnregistreReseauSous());
  const std::string premier = LitOctets(chemin);
  EXPECT_FALSE(platform::FileExists(d.Fichier("grotte.$$$Cav")));
  EXPECT_TRUE(TenuSelonFlock(chemin));  // held, not marked
  ASSERT_EQ(::chmod(chemin.c_str(), 0604), 0);
  EXPECT_TRUE(platform::FileExists(d.Fichier("grotte.CFG")));
  r->Nom = "Renommé";
  Document().DocumentModifie = true;
  ASSERT_TRUE(EnregistreReseauSous());
  EXPECT_FALSE(Document().DocumentModifie);
  EXPECT_EQ(LitOctets(d.Fichier("grotte.$$$Cav")), premier);
  EXPECT_NE(LitOctets(chemin), premier);
  // The replaced file's mode goes to the new one, which is held; the backup
  // is not.
  EXPECT_EQ(Mode(chemin), 0604);
  EXPECT_TRUE(TenuSelonFlock(chemin));
  EXPECT_FALSE(TenuSelonFlock(d.Fichier("grotte.$$$Cav")));
  r.reset();
  EXPECT_FALSE(TenuSelonFlock(chemin));  // the lock goes with the network
  EXPECT_EQ(Mode(chemin), 0604);
}

TEST(FichierReseau, EchecDEcritureLaisseLAncienFichier) {
  ReseauAEnregistrer f;
  auto& [env, d, r, chemin] = f;
  ASSERT_TRUE(EnregistreReseau(chemin));
  const std::string avant = LitOctets(chemin);
  r->Nom = "Autre";
  const std::string intact = "\nLe fichier précédent est resté intact.";
  const std::string nonEnregistre = "le fichier " + chemin + " n'a pas pu être enregistré";
  // Every write fails (the backup's first) without a cause from the system,
  // with a full disk, or on a medium that turned read-only; then only the
  // document's write fails, on a full disk.  Each time one message names
  // the document (never the backup) and says why.
  struct Cas {
    int erreur;
    bool sauvegardeReussie;
    std::string attendu;
  };
  const Cas cas[] = {
      {0, false, nonEnregistre + " : sa copie de sauvegarde n'a pas pu être faite." + intact},
      {ENOSPC, false, nonEnregistre + " : le disque est plein." + intact},
      {EROFS, false, nonEnregistre + " : il est sur un support en lecture seule." + intact},
      {ENOSPC, true, nonEnregistre + " : le disque est plein." + intact},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.attendu);
    FichierReseau().EcritFichier = [&c, &chemin](const std::string& cible, std::string_view octets) {
      if (c.sauvegardeReussie && cible != chemin) return platform::WriteFileAtomic(cible, octets);
      errno = c.erreur;
      return false;
    };
    env.Dialogues.Clear();
    EXPECT_FALSE(EnregistreReseau(chemin));
    EXPECT_EQ(LitOctets(chemin), avant);
    EXPECT_TRUE(TenuSelonFlock(chemin));  // still held
    ASSERT_EQ(env.Dialogues.Messages().size(), 1u);
    EXPECT_EQ(env.Dialogues.Messages()[0], c.attendu);
  }
}

TEST(FichierReseau, DossierNonInscriptibleLaisseLAncienFichier) {
  ReseauAEnregistrer f;
  auto& [env, d, r, chemin] = f;
  ASSERT_TRUE(EnregistreReseau(chemin));
  const std::string avant = LitOctets(chemin);
  r->Nom = "Autre";
  ::chmod(d.Chemin().c_str(), 0755);
  ::chmod(chemin.c_str(), 0644);
  if (::geteuid() == 0) {
    // The superuser ignores permissions: the save runs as another user.
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      const bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && !EnregistreReseau(chemin);
      ::_exit(ok ? 0 : 1);
    }
    int etat = 0;
    ::waitpid(pid, &etat, 0);
    ASSERT_TRUE(WIFEXITED(etat));
    EXPECT_EQ(WEXITSTATUS(etat), 0);
  } else {
    ::chmod(d.Chemin().c_str(), 0555);
    EXPECT_FALSE(EnregistreReseau(chemin));
    ::chmod(d.Chemin().c_str(), 0755);
  }
  EXPECT_EQ(LitOctets(chemin), avant);
  EXPECT_FALSE(platform::FileExists(d.Fichier("grotte.$$$Cav")));
}

TEST(FichierReseau, SecondeInstanceEnLectureSeule) {
  FixtureCourante f;
  auto& [env, d, chemin] = f;
  const int32_t mode = Mode(chemin);
  // The first holder locks the file; its mode is untouched.
  auto premiere = std::make_unique<TReseau>();
  ASSERT_TRUE(premiere->LitFichier(chemin));
  EXPECT_FALSE(premiere->LectureSeule);
  EXPECT_TRUE(TenuSelonFlock(chemin));
  EXPECT_EQ(Mode(chemin), mode);
  const std::string octets = LitOctets(chemin);

  // A second holder (another descriptor, as another instance) opens it
  // read-only, without a message.
  auto seconde = std::make_unique<TReseau>();
  ASSERT_TRUE(seconde->LitFichier(chemin));
  EXPECT_TRUE(seconde->LectureSeule);
  EXPECT_TRUE(env.Dialogues.Messages().empty());
  // Saving under its own name is refused by the program, whoever runs it.
  Document().DocumentModifie = true;
  EXPECT_FALSE(EnregistreReseauSous());
  EXPECT_EQ(env.Dialogues.Messages(),
            std::vector<std::string>{"le fichier " + chemin +
                                     " est déjà ouvert dans une autre instance de Gravelune. Il ne peut être "
                                     "modifié dans celle-ci."});
  EXPECT_EQ(LitOctets(chemin), octets);
  EXPECT_FALSE(platform::FileExists(CheminSauvegarde(chemin)));
  FichierReseau().NomFichierAvantEnregistrement.clear();
  EXPECT_FALSE(EnregistreReseau(d.Chemin() + "/./" + platform::FileNameOf(chemin)));
  EXPECT_EQ(LitOctets(chemin), octets);
  // Save as under another name succeeds; the document is no longer read-only.
  Document().DemandeNomFichier = true;
  env.Dialogues.QueueFile(d.Fichier("copie.cav"));
  ASSERT_TRUE(EnregistreReseauSous());
  EXPECT_FALSE(seconde->LectureSeule);
  EXPECT_EQ(Document().NomFichierCourant, d.Fichier("copie.cav"));
  EXPECT_TRUE(TenuSelonFlock(d.Fichier("copie.cav")));
  // The first holder's file keeps its lock: the second never held it.
  seconde.reset();
  EXPECT_FALSE(TenuSelonFlock(d.Fichier("copie.cav")));
  EXPECT_TRUE(TenuSelonFlock(chemin));
  premiere.reset();
  EXPECT_FALSE(TenuSelonFlock(chemin));
  EXPECT_EQ(Mode(chemin), mode);
}

TEST(FichierReseau, EnregistrerSousAnnuleGardeLeVerrou) {
  FixtureCourante f;
  auto& [env, d, chemin] = f;
  auto r = std::make_unique<TReseau>();
  ASSERT_TRUE(r->LitFichier(chemin));
  ASSERT_TRUE(TenuSelonFlock(chemin));
  Document().DemandeNomFichier = true;
  env.Dialogues.QueueFile(std::nullopt);
  EXPECT_FALSE(EnregistreReseauSous());
  EXPECT_TRUE(TenuSelonFlock(chemin));
  EXPECT_TRUE(Document().DemandeNomFichier);
  // Save as to another file moves the lock there.
  env.Dialogues.QueueFile(d.Fichier("autre.cav"));
  ASSERT_TRUE(EnregistreReseauSous());
  EXPECT_FALSE(TenuSelonFlock(chemin));
  EXPECT_TRUE(TenuSelonFlock(d.Fichier("autre.cav")));
  // A file another process holds is not replaced by a save as.
  const std::string tenu = CopieFixture(d, 511, "tenu.cav");
  const std::string octets = LitOctets(tenu);
  testsupport::DetenteurFlock autre(tenu);
  ASSERT_TRUE(autre.Tient());
  env.Dialogues.Clear();
  EXPECT_FALSE(EnregistreReseau(tenu));
  EXPECT_EQ(env.Dialogues.Messages(),
            std::vector<std::string>{"le fichier " + tenu +
                                     " est déjà ouvert dans une autre instance de Gravelune. Il ne peut être "
                                     "modifié dans celle-ci."});
  EXPECT_EQ(LitOctets(tenu), octets);
  EXPECT_TRUE(TenuSelonFlock(d.Fichier("autre.cav")));
}

// The modes of a document: the same before opening, while open, after a save
// and after closing.  A file without write permission opens read-only, says
// why and is not replaced.
TEST(FichierReseau, ModesDuFichierJamaisChanges) {
  const std::string pourquoi =
      " ne peut pas être modifié : il est en lecture seule. Il est ouvert en lecture seule ; enregistrez-le sous "
      "un autre nom pour garder vos changements.";
  for (const int32_t mode : {0644, 0444, 0600, 0640}) {
    FixtureCourante f;
    auto& [env, d, chemin] = f;
    ASSERT_EQ(::chmod(chemin.c_str(), static_cast<mode_t>(mode)), 0);
    const bool protege = (mode & 0222) == 0;
    const std::string octets = LitOctets(chemin);
    auto r = OuvreReseau(chemin);
    ASSERT_TRUE(r) << mode;
    EXPECT_EQ(Mode(chemin), mode);
    EXPECT_TRUE(TenuSelonFlock(chemin));
    EXPECT_EQ(r->LectureSeule, protege) << mode;
    if (protege)
      EXPECT_EQ(env.Dialogues.Messages(), std::vector<std::string>{"le fichier " + chemin + pourquoi});
    else
      EXPECT_TRUE(env.Dialogues.Messages().empty()) << env.Dialogues.Messages()[0];
    env.Dialogues.Clear();
    r->Nom = "Changé";
    Document().DocumentModifie = true;
    EXPECT_EQ(EnregistreReseauSous(), !protege) << mode;
    EXPECT_EQ(Mode(chemin), mode);
    EXPECT_TRUE(TenuSelonFlock(chemin));
    if (protege) {
      EXPECT_EQ(env.Dialogues.Messages(), std::vector<std::string>{"le fichier " + chemin + pourquoi});
      EXPECT_EQ(LitOctets(chemin), octets);
      EXPECT_FALSE(platform::FileExists(CheminSauvegarde(chemin)));
      EXPECT_TRUE(Document().DocumentModifie);
    } else {
      EXPECT_NE(LitOctets(chemin), octets);
    }
    r.reset();
    EXPECT_EQ(Mode(chemin), mode);
    EXPECT_FALSE(TenuSelonFlock(chemin));
  }
}

// Another process holds the document through the same routines and is
// killed (SIGKILL) while it holds it: its mode never changed, the system
// released the lock, and the file opens editable again.
TEST(FichierReseau, ProcessusTueEnTenantLeDocument) {
  for (const int32_t mode : {0644, 0600}) {
    FixtureCourante f;
    auto& [env, d, chemin] = f;
    ASSERT_EQ(::chmod(chemin.c_str(), static_cast<mode_t>(mode)), 0);
    int tube[2];
    ASSERT_EQ(::pipe(tube), 0);
    const pid_t fils = ::fork();
    ASSERT_GE(fils, 0);
    if (fils == 0) {
      auto r = OuvreReseau(chemin);
      const char c = r && !r->LectureSeule ? 'o' : 'n';
      if (::write(tube[1], &c, 1) != 1) ::_exit(2);
      ::pause();
      ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(tube[0], &c, 1), 1);
    ::close(tube[0]);
    ::close(tube[1]);
    EXPECT_EQ(c, 'o');
    EXPECT_EQ(Mode(chemin), mode);
    EXPECT_TRUE(TenuSelonFlock(chemin));
    // Held by the other process: read-only, saving refused.
    const std::string octets = LitOctets(chemin);
    {
      auto r = OuvreReseau(chemin);
      ASSERT_TRUE(r);
      EXPECT_TRUE(r->LectureSeule);
      Document().DocumentModifie = true;
      EXPECT_FALSE(EnregistreReseauSous());
      EXPECT_EQ(LitOctets(chemin), octets);
    }
    ::kill(fils, SIGKILL);
    int etat = 0;
    ::waitpid(fils, &etat, 0);
    EXPECT_TRUE(WIFSIGNALED(etat));
    EXPECT_EQ(Mode(chemin), mode);
    EXPECT_FALSE(TenuSelonFlock(chemin));
    // A new holder opens it editable and saves it.
    env.Dialogues.Clear();
    auto r = OuvreReseau(chemin);
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->LectureSeule);
    Document().DocumentModifie = true;
    EXPECT_TRUE(EnregistreReseauSous());
    EXPECT_TRUE(env.Dialogues.Messages().empty());
    EXPECT_EQ(Mode(chemin), mode);
  }
}

// --- Companion file and extensions ------------------------------------------------------------------------

TEST(FichierReseau, FichierConfigAbsentSansMessage) {
  EnvironnementDocument env;
  DossierTemp d;
  const std::string chemin = d.Fichier("seul.cav");
  EcritOctets(chemin, LitOctets(Fixture("reseau_511.cav")));
  auto r = OuvreReseau(chemin);
  ASSERT_TRUE(r);
  Document().NomFichierCourant = chemin;
  EXPECT_TRUE(r->LitFichierConfig());
  EXPECT_TRUE(env.Dialogues.Messages().empty());
  EXPECT_FALSE(r->UneCavite(1)->CalageDigitPlani.CalageOk);
}

TEST(FichierReseau, ExtensionsSansRegardALaCasse) {
  EnvironnementDocument env;
  DossierTemp d;
  EcritOctets(d.Fichier("GROTTE.CAV"), LitOctets(Fixture("reseau_511.cav")));
  EcritOctets(d.Fichier("GROTTE.cfg"), LitOctets(Fixture("reseau_511.CFG")));
  EXPECT_EQ(CheminExistant(d.Fichier("GROTTE.cav")), d.Fichier("GROTTE.CAV"));
  EXPECT_EQ(CheminConfig(d.Fichier("GROTTE.CAV")), d.Fichier("GROTTE.cfg"));
  EXPECT_EQ(CheminConfig(d.Fichier("neuf.cav")), d.Fichier("neuf.CFG"));
  EXPECT_EQ(CheminExistant(d.Fichier("absent.cav")), "");
  auto r = OuvreReseau(d.Fichier("GROTTE.CAV"));
  ASSERT_TRUE(r);
  Document().NomFichierCourant = d.Fichier("GROTTE.CAV");
  ASSERT_TRUE(r->LitFichierConfig());
  EXPECT_TRUE(r->UneCavite(1)->CalageDigitPlani.CalageOk);
  // Saving rewrites the companion found, not a second one.
  ASSERT_TRUE(EnregistreReseauSous());
  EXPECT_FALSE(platform::FileExists(d.Fichier("GROTTE.CFG")));
}

TEST(FichierReseau, SecondDocumentRestaureLeContexte) {
  EnvironnementDocument env;
  DossierTemp d;
  auto ouvert = OuvreReseau(CopieFixture(d, 511, "ouvert.cav"));
  ASSERT_TRUE(ouvert);
  const auto points = ListePointsReseau();
  drawing::tListeMtf* bibliotheque = document::BibliothequeCourante();
  {
    GardeContexteReseau garde;
    auto second = OuvreReseau(CopieFixture(d, 226, "second.cav"));
    ASSERT_TRUE(second);
    EXPECT_EQ(Document().ReseauCourant, second.get());
    EXPECT_EQ(foundation::NiveauFichier().VersionFichierLue, 500);
    EXPECT_EQ(ListesDocument().Instruments, &second->ListeInstruments);
    EXPECT_EQ(document::BibliothequeCourante()->ListeMotifsSurface.Count(), 0);
  }
  EXPECT_EQ(Document().ReseauCourant, ouvert.get());
  EXPECT_EQ(ListesDocument().Instruments, &ouvert->ListeInstruments);
  EXPECT_EQ(foundation::NiveauFichier().VersionFichierLue, 511);
  EXPECT_EQ(ListePointsReseau(), points);
  EXPECT_EQ(document::BibliothequeCourante(), bibliotheque);
}

}  // namespace
