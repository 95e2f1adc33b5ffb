// The export of a part of a cave as a document of its own: the partial file
// read back by the document reader (shots, stations, galleries, trips, the
// parts of the drawings and long sections, computed stations), the open
// document left exactly as it was (saves byte for byte, flags, file and
// lock), the failed save, and the pieces of the part hung from surface
// points.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/donnees_coupe.h"
#include "drawing/donnees_coupe_long.h"
#include "drawing/donnees_dessin_basique.h"
#include "drawing/elements_dessin.h"
#include "drawing/liste_mtf.h"
#include "drawing/point_dessin.h"
#include "formats/contexte_formats.h"
#include "formats/export/partie/export_partie_cavite.h"
#include "formats/export/ports_export.h"
#include "formats/import/import_fichier_autre.h"
#include "foundation/flux.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/fichier_reseau.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/listes_document.h"
#include "survey/point_speleo.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/environnement_document.h"
#include "views/mise_en_page.h"

namespace {

using survey::TCavite;
using survey::TPointSpeleo;
using survey::TReseau;
using survey::TVisee;

const std::string kOlivier = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/Olivier.tro";

std::string Code(const TVisee* v) {
  return (v->PointStation ? v->PointStation->DesignPTopo : "?") + "-" + (v->PointVise ? v->PointVise->DesignPTopo : "?");
}

std::string Ecrit(TReseau& r) {
  foundation::TFluxMemoire flux;
  EXPECT_TRUE(r.Ecrit(flux));
  return flux.Octets();
}

// A document read back from its file, in process-wide contexts of its own.
struct Relu {
  survey::GardeContexteReseau reseau_;
  survey::GardeContexteCalcul calcul_;
  std::unique_ptr<TReseau> R;
  bool Lu = false;
  explicit Relu(const std::string& chemin) : R(std::make_unique<TReseau>()) { Lu = R->LitFichier(chemin); }
  ~Relu() { R.reset(); }
  TCavite* Cavite() const { return R->NombreCavites() > 1 ? R->UneCavite(1) : nullptr; }
  drawing::TAnnexeDessinCavite* Annexe() const { return drawing::AnnexeDessin(Cavite()); }
};

// The process-wide state of a test, the folder, and the selection window
// scripted: it marks the shots named ("station-target") and answers.
class Banc {
 public:
  void Selectionne(const std::set<std::string>& codes, bool ok = true) {
    formats::FenetresExport().ChoisitVisees = [this, codes, ok](const formats::TDemandeChoixVisees& d) {
      Demande = d;
      for (TVisee* v : d.Cavite->Visees) v->Marque = codes.count(Code(v)) != 0;
      return ok;
    };
  }
  // Exports the shots of the network's active cave into the file the save
  // dialog is given.
  bool Exporte(TReseau& r, const std::set<std::string>& codes, const std::string& chemin) {
    Selectionne(codes);
    Env.Dialogues.QueueFile(chemin);
    return formats::ExportePartieCavite(r);
  }

  testsurvey::EnvironnementDocument Env;
  testsupport::DossierTemp Dossier;
  survey::GardeFichierReseau Fichier;
  formats::TDemandeChoixVisees Demande;
};

// The open document: Olivier.tro imported into a network of independent
// coordinates (no grid convergence, no automatic declination) and computed.
class Ouvert : public Banc {
 public:
  Ouvert() {
    formats::Import().DossierMemoireGaleries = Dossier.Chemin();
    R = std::make_unique<TReseau>();
    R->CreeCaviteSurface();
    if (formats::ImporteFichierAutre(kOlivier, formats::TypeImportVTopo, false, R.get())) C = R->CaviteImportee;
    R->LaCaviteActive = C;
    R->Projection.clear();
    R->NumFuseau = -1;
    R->CalculeReseau();
  }
  ~Ouvert() { R.reset(); }

  TVisee* V(const std::string& de, const std::string& a) const {
    for (TVisee* v : C->Visees)
      if (Code(v) == de + "-" + a) return v;
    return nullptr;
  }
  TPointSpeleo* S(const std::string& nom) const {
    for (const survey::TGalerie* g : C->Galeries)
      for (TPointSpeleo* p : g->Points)
        if (p->DesignPTopo == nom) return p;
    return nullptr;
  }
  bool Exporte(const std::set<std::string>& codes, const std::string& chemin) { return Banc::Exporte(*R, codes, chemin); }

  std::unique_ptr<TReseau> R;
  TCavite* C = nullptr;
};

// The branch from OL10 to the bottom of the pit, and the spur OL7-OL9 that
// does not touch it.
const std::set<std::string> kBranche = {"OL6-OL10",  "OL10-OL11", "OL11-OL12", "OL12-OL13", "OL13-OL14",
                                        "OL14-OL15", "OL14-OL16", "OL16-OL17", "OL17-OL18"};
const std::set<std::string> kDeuxMorceaux = {"OL10-OL11", "OL11-OL12", "OL12-OL13", "OL13-OL14", "OL14-OL15",
                                             "OL14-OL16", "OL16-OL17", "OL17-OL18", "OL7-OL9"};

// Drawing elements tied to exported shots (in) and to others (out), each
// named by its EchelleInitiale (or its text) and expected or not in the
// part.
struct Dessin {
  std::set<double> lignes, symboles, remplissages;
  std::set<std::string> textes;
  std::set<std::string> coupesTravers, ecarts, coupesLongues;
};

// Adds the elements to the source's drawings and returns what the part
// must hold.
Dessin AjouteDessin(Ouvert& o, TVisee* in1, TVisee* in2, TVisee* out, TPointSpeleo* stationIn,
                    TPointSpeleo* stationOut) {
  drawing::tListeMtf& bib = *drawing::Dessin().ListesMtfReseau;
  drawing::TAnnexeDessinCavite& a = *drawing::AnnexeDessin(o.C);
  drawing::TListeDonneesDessin& plan = a.LeDessinPlani->ListeDonneesDessin;
  Dessin attendu;
  auto points = [](drawing::TObjetDonneesBasique& e, const std::vector<TVisee*>& visees) {
    double x = 0;
    for (TVisee* v : visees) {
      drawing::TPointDessin* p = e.AjoutePointDessin(false, x += 1, 0);
      p->VisRefDessin = v;
      p->LHab = 0.5 + x;
      p->AngleHab = 0.25 * x;
    }
  };
  auto ligne = [&](drawing::TListeDonneesDessin& l, double id, const std::vector<TVisee*>& visees, bool garde) {
    auto e = std::make_unique<drawing::TObjetDonneesBasique>();
    e->MotifDessin = bib.ListeTraits.UnObjet(0);
    e->EchelleInitiale = id;
    points(*e, visees);
    if (garde) attendu.lignes.insert(id);
    return l.AjouteDonneesDessin(std::move(e));
  };
  drawing::TObjetDonneesBasique* l1 = ligne(plan, 1, {in1, in2, in1}, true);
  drawing::TObjetDonneesBasique* l2 = ligne(plan, 2, {in1, out}, false);  // one point left
  drawing::TObjetDonneesBasique* l3 = ligne(plan, 3, {in1, in1, out, out}, true);
  ligne(plan, 4, {out, out}, false);
  auto remplissage = [&](double id, std::vector<drawing::TObjetDonneesBasique*> lignes, bool garde) {
    auto r = std::make_unique<drawing::TObjetDonneesRemplir>();
    r->MotifDessin = bib.ListeRemplis.UnObjet(0);
    r->EchelleInitiale = id;
    r->ListePoly = std::move(lignes);
    if (garde) attendu.remplissages.insert(id);
    plan.AjouteDonneesDessin(std::move(r));
  };
  remplissage(11, {l1, l3}, true);
  remplissage(12, {l1, l2}, false);  // one of its lines does not come
  auto symbole = [&](double id, TVisee* v, bool garde) {
    auto s = std::make_unique<drawing::TObjetDonneesSymbole>();
    s->MotifDessin = bib.ListeSymboles.UnObjet(0);
    s->EchelleInitiale = id;
    points(*s, {v});
    if (garde) attendu.symboles.insert(id);
    plan.AjouteDonneesDessin(std::move(s));
  };
  symbole(21, in1, true);  // a symbol of one point comes
  symbole(22, out, false);
  auto texte = [&](const std::string& t, int32_t info, TPointSpeleo* station, TVisee* v, bool garde) {
    auto e = std::make_unique<drawing::TObjetTexte>();
    e->MotifDessin = bib.ListeFontes.UnObjet(0);
    e->UnTexte = t;
    e->TypeInfo = info;
    e->PointDeRef = station;
    points(*e, {v, v});
    if (garde) attendu.textes.insert(t);
    plan.AjouteDonneesDessin(std::move(e));
  };
  texte("dedans", -1, nullptr, in1, true);
  texte("dehors", -1, nullptr, out, false);
  texte("étiquette dedans", 3, stationIn, in1, true);
  texte("étiquette dehors", 3, stationOut, in1, false);  // its station stays behind
  auto coupe = [&](drawing::TDonneesDessinBasique& d, const std::string& nom, TVisee* vc, TVisee* vp, bool garde) {
    auto c = std::make_unique<drawing::TDonneesCoupe>();
    c->LegendeCoupe = nom;
    c->PointDeCoupe = std::make_unique<drawing::TPointDessin>();
    c->PointDeCoupe->VisRefDessin = vc;
    c->PointPosition = std::make_unique<drawing::TPointDessin>();
    c->PointPosition->VisRefDessin = vp;
    c->PointPosition->LHab = 1.5;
    if (garde) attendu.coupesTravers.insert(nom);
    d.ListeCoupes.Add(std::move(c));
  };
  coupe(*a.LeDessinPlani, "coupe dedans", in1, in2, true);
  coupe(*a.LeDessinPlani, "coupe à cheval", in1, out, false);
  auto ecart = [&](const std::string& nom, std::vector<TVisee*> visees, bool garde) {
    auto e = std::make_unique<drawing::TDonneesEcart>();
    e->ViseesEcart.Visees = visees;
    e->PositX = 3;
    e->MargeCadre = static_cast<int32_t>(visees.size());
    auto t = std::make_unique<drawing::TObjetTexte>();
    t->MotifDessin = bib.ListeFontes.UnObjet(0);
    t->UnTexte = nom;
    points(*t, {visees.front(), visees.front()});
    e->ListeDonneesDessin.AjouteDonneesDessin(std::move(t));
    if (garde) attendu.ecarts.insert(nom);
    a.LeDessinPlani->ListeEcarts.Add(std::move(e));
  };
  ecart("écart dedans", {in1, out}, true);
  ecart("écart dehors", {out}, false);
  // Long sections: the whole one, a partial one reaching the part, a
  // partial one that does not.
  ligne(a.LeDessinAltiOr->ListeDonneesDessin, 31, {in1, in2}, true);
  attendu.coupesLongues.insert(a.LeDessinAltiOr->DesignCoupe);
  drawing::TDonneesCoupeLong* p1 = a.LesCoupesLong.AjouteDonneeCoupe(
      foundation::TTypeDeDessin::tddAltiOr, drawing::TViseesDeRef(&o.C->Visees), true, "partielle dedans");
  p1->AjouteViseeCoupe(in1);
  p1->AjouteViseeCoupe(out);
  auto mep = std::make_unique<views::TMiseEnPage>();
  mep->Design = "page de la partielle";
  p1->MisesEnPageCoupe.Add(std::move(mep));
  ligne(p1->ListeDonneesDessin, 32, {in1, in1}, true);
  attendu.coupesLongues.insert("partielle dedans");
  drawing::TDonneesCoupeLong* p2 = a.LesCoupesLong.AjouteDonneeCoupe(
      foundation::TTypeDeDessin::tddAltiOr, drawing::TViseesDeRef(&o.C->Visees), true, "partielle dehors");
  p2->AjouteViseeCoupe(out);
  return attendu;
}

Dessin DessinDe(const drawing::TAnnexeDessinCavite& a) {
  Dessin d;
  const drawing::TListeDonneesDessin& plan = a.LeDessinPlani->ListeDonneesDessin;
  for (const drawing::TObjetDonneesBasique* e : plan.LesMultiPoints) d.lignes.insert(e->EchelleInitiale);
  for (const drawing::TDonneesCoupeLong* c : a.LesCoupesLong) {
    d.coupesLongues.insert(c->DesignCoupe);
    for (const drawing::TObjetDonneesBasique* e : c->ListeDonneesDessin.LesMultiPoints)
      d.lignes.insert(e->EchelleInitiale);
  }
  for (const drawing::TObjetDonneesBasique* e : plan.LesRemplissages) d.remplissages.insert(e->EchelleInitiale);
  for (const drawing::TObjetDonneesBasique* e : plan.LesSymboles) d.symboles.insert(e->EchelleInitiale);
  for (const drawing::TObjetTexte* e : plan.LesTextes) d.textes.insert(e->UnTexte);
  for (const drawing::TDonneesCoupe* c : a.LeDessinPlani->ListeCoupes) d.coupesTravers.insert(c->LegendeCoupe);
  for (const drawing::TDonneesEcart* e : a.LeDessinPlani->ListeEcarts)
    for (const drawing::TObjetTexte* t : e->ListeDonneesDessin.LesTextes) d.ecarts.insert(t->UnTexte);
  return d;
}

// --- The part read back ------------------------------------------------------------------------

TEST(ExportPartie, FichierReluParLeLecteurDeDocument) {
  struct Cas {
    const char* nom;
    std::set<std::string> visees;
    std::set<std::string> pointsSurface;  // the stations turned into surface points
    bool ecart;  // the offset part comes: an offset part names shots of its own cave only
  };
  const Cas cas[] = {
      {"une branche", kBranche, {"OL6"}, true},
      // OL7-OL9 comes first in the cave: the branch from OL10 is the second
      // cave, and the offset part tied to OL10-OL11 stays behind.
      {"deux morceaux", kDeuxMorceaux, {"OL10", "OL7"}, false},
  };
  for (const Cas& k : cas) {
    Ouvert o;
    ASSERT_NE(o.C, nullptr);
    Dessin attendu =
        AjouteDessin(o, o.V("OL10", "OL11"), o.V("OL11", "OL12"), o.V("OL4", "OL5"), o.S("OL12"), o.S("OL5"));
    if (!k.ecart) attendu.ecarts.clear();
    const std::string chemin = o.Dossier.Fichier(std::string("partie ") + k.nom + ".cav");
    ASSERT_TRUE(o.Exporte(k.visees, chemin)) << k.nom;
    EXPECT_EQ(o.Demande.Titre, "Export d'une partie d'une cavité") << k.nom;
    EXPECT_TRUE(o.Demande.ComposCoupe) << k.nom;
    ASSERT_TRUE(platform::FileExists(chemin)) << k.nom;
    EXPECT_TRUE(platform::FileExists(platform::ChangeExtension(chemin, ".CFG"))) << k.nom;

    Relu lu(chemin);
    ASSERT_TRUE(lu.Lu) << k.nom;
    TCavite* c = lu.Cavite();
    ASSERT_NE(c, nullptr) << k.nom;
    // One cave per piece of the part, the first named as the source.
    ASSERT_EQ(lu.R->NombreCavites(), 1 + static_cast<int>(k.pointsSurface.size())) << k.nom;
    EXPECT_EQ(c->NomCavite, o.C->NomCavite) << k.nom;
    if (lu.R->NombreCavites() > 2) {
      EXPECT_EQ(lu.R->UneCavite(2)->NomCavite, o.C->NomCavite + " (2)") << k.nom;
      EXPECT_EQ(Code(c->Visees.First()), "OL7-OL9") << k.nom;
    }
    // Exactly the marked shots, with their measurements and trip.
    std::set<std::string> lues;
    for (int i = 1; i < lu.R->NombreCavites(); ++i) {
      const TCavite* ci = lu.R->UneCavite(i);
      EXPECT_EQ(ci->Levers.Count(), 1) << k.nom;
      for (const TVisee* v : ci->Visees) {
        lues.insert(Code(v));
        const TVisee* s = o.V(v->PointStation->DesignPTopo, v->PointVise->DesignPTopo);
        ASSERT_NE(s, nullptr) << k.nom << " " << Code(v);
        EXPECT_EQ(v->Az, s->Az) << k.nom << " " << Code(v);
        EXPECT_EQ(v->pente, s->pente) << k.nom << " " << Code(v);
        EXPECT_EQ(v->Long, s->Long) << k.nom << " " << Code(v);
        EXPECT_EQ(v->Exclue, s->Exclue) << k.nom << " " << Code(v);
        ASSERT_NE(v->LeLever, nullptr);
        EXPECT_EQ(ci->Levers.IndexOf(v->LeLever), 0) << k.nom;
        EXPECT_EQ(v->LeLever->Declinaison, s->LeLever->Declinaison) << k.nom;
        EXPECT_EQ(v->LeLever->LaDate, s->LeLever->LaDate) << k.nom;
      }
    }
    EXPECT_EQ(lues, k.visees) << k.nom;
    // The stations where the part hangs are surface points at their
    // computed place; the others keep their galleries.
    std::set<std::string> surface;
    for (const TPointSpeleo* p : *lu.R->LesPointsSurface()) {
      surface.insert(p->DesignPTopo);
      const TPointSpeleo* s = o.S(p->DesignPTopo);
      ASSERT_NE(s, nullptr) << k.nom << " " << p->DesignPTopo;
      EXPECT_DOUBLE_EQ(p->X, s->X) << k.nom;
      EXPECT_DOUBLE_EQ(p->Y, s->Y) << k.nom;
      EXPECT_DOUBLE_EQ(p->Z, s->Z) << k.nom;
    }
    EXPECT_EQ(surface, k.pointsSurface) << k.nom;
    for (int i = 1; i < lu.R->NombreCavites(); ++i)
      for (const survey::TGalerie* g : lu.R->UneCavite(i)->Galeries)
        for (const TPointSpeleo* p : g->Points)
          EXPECT_EQ(g->NomGalerie, survey::NomGalerieDuPoint(o.S(p->DesignPTopo))) << k.nom << " " << p->DesignPTopo;
    // The drawings: what the part must hold.
    ASSERT_NE(lu.Annexe(), nullptr);
    const Dessin d = DessinDe(*lu.Annexe());
    EXPECT_EQ(d.lignes, attendu.lignes) << k.nom;
    EXPECT_EQ(d.remplissages, attendu.remplissages) << k.nom;
    EXPECT_EQ(d.symboles, attendu.symboles) << k.nom;
    EXPECT_EQ(d.textes, attendu.textes) << k.nom;
    EXPECT_EQ(d.coupesTravers, attendu.coupesTravers) << k.nom;
    EXPECT_EQ(d.ecarts, attendu.ecarts) << k.nom;
    EXPECT_EQ(d.coupesLongues, attendu.coupesLongues) << k.nom;
    // Written with the open document's library.
    const drawing::TObjetDonneesBasique* l1 = lu.Annexe()->LeDessinPlani->ListeDonneesDessin.LesMultiPoints.First();
    ASSERT_NE(l1, nullptr);
    ASSERT_NE(l1->MotifDessin, nullptr);
    EXPECT_EQ(l1->MotifDessin->DesignMotif, drawing::AnnexeDessin(o.C)
                                                 ->LeDessinPlani->ListeDonneesDessin.LesMultiPoints.First()
                                                 ->MotifDessin->DesignMotif);
    // The partial section keeps its exported shot and its page layout; the
    // offset part its exported shot.
    const drawing::TDonneesCoupeLong* p1 = lu.Annexe()->UneCoupeLong(1);
    ASSERT_NE(p1, nullptr);
    EXPECT_TRUE(p1->Partielle);
    ASSERT_EQ(p1->ViseesCoupe.Count(), 1);
    EXPECT_EQ(Code(p1->LaViseeCoupe(0)), "OL10-OL11");
    ASSERT_EQ(p1->MisesEnPageCoupe.Count(), 1);
    EXPECT_EQ(static_cast<const views::TMiseEnPage*>(p1->MisesEnPageCoupe.First())->Design, "page de la partielle");
    ASSERT_EQ(lu.Annexe()->LeDessinPlani->ListeEcarts.Count(), k.ecart ? 1 : 0);
    if (k.ecart) EXPECT_EQ(lu.Annexe()->LeDessinPlani->UnEcart(0)->ViseesEcart.Count(), 1);

    // Computed, every station is where the open document computed it.
    lu.R->CalculeReseau();
    int comparees = 0;
    for (int i = 1; i < lu.R->NombreCavites(); ++i)
      for (const TVisee* v : lu.R->UneCavite(i)->Visees)
        for (const TPointSpeleo* p : {v->PtOrigCalc, v->PtCalc}) {
          const TPointSpeleo* s = o.S(p->DesignPTopo);
          ASSERT_NE(s, nullptr) << k.nom << " " << p->DesignPTopo;
          EXPECT_NEAR(p->X, s->X, 1e-6) << k.nom << " " << p->DesignPTopo;
          EXPECT_NEAR(p->Y, s->Y, 1e-6) << k.nom << " " << p->DesignPTopo;
          EXPECT_NEAR(p->Z, s->Z, 1e-6) << k.nom << " " << p->DesignPTopo;
          ++comparees;
        }
    EXPECT_GT(comparees, 15) << k.nom;
  }
}

// A small survey: surface point E with two branches E-1-2-3 and E-10-11-12,
// station 2 associated by a loop with 11, station 1 with 3; every shot on
// trip T1 but 10-11, on T2.
struct Petit : Banc {
  std::unique_ptr<TReseau> R;
  TCavite* C = nullptr;
  std::map<std::string, TPointSpeleo*> st;
  Petit() {
    R = std::make_unique<TReseau>();
    R->CreeCaviteSurface();
    auto e = std::make_unique<TPointSpeleo>();
    e->TypePoint = survey::PointSurface;
    e->DesignPTopo = "E";
    e->X = 1000;
    e->Y = 2000;
    e->Z = 500;
    e->GalduPt = R->UneCavite(0)->Galeries.First();
    st["E"] = R->LesPointsSurface()->Add(std::move(e));
    auto c = std::make_unique<TCavite>();
    c->NomCavite = "Petite";
    C = R->AjouteCavite(std::move(c));
    C->AjouteGalerie("Galerie d'entrée");
    R->LaCaviteActive = C;
    for (double date : {40000.0, 41000.0}) {
      auto l = std::make_unique<survey::TLever>();
      l->LaDate = date;
      l->UniteDeclin = survey::UniteDeclinAucune;
      C->Levers.Add(std::move(l));
    }
    for (const auto& [de, a, az] : std::vector<std::tuple<std::string, std::string, double>>{
             {"E", "1", 0}, {"1", "2", 20}, {"2", "3", 40}, {"E", "10", 180}, {"10", "11", 200}, {"11", "12", 220}}) {
      for (const std::string& n : {de, a})
        if (!st.count(n)) {
          auto p = std::make_unique<TPointSpeleo>();
          p->DesignPTopo = n;
          p->GalduPt = C->Galeries.First();
          st[n] = C->Galeries.First()->Points.Add(std::move(p));
        }
      auto v = std::make_unique<TVisee>();
      v->PointStation = st[de];
      v->PointVise = st[a];
      v->Az = az;
      v->pente = -10;
      v->Long = 5;
      v->LeLever = C->Levers.UnObjet(de == "10" ? 1 : 0);
      C->Visees.Add(std::move(v));
    }
    C->ReGenereListePoints(false);
    R->CalculeReseau();
    st["2"]->PtBoucleAsso = st["11"];
    st["11"]->PtBoucleAsso = st["2"];
    st["1"]->PtBoucleAsso = st["3"];
    st["3"]->PtBoucleAsso = st["1"];
  }
  ~Petit() { R.reset(); }
};

TEST(ExportPartie, PointsDeSurfaceEtBouclages) {
  struct Cas {
    const char* nom;
    std::set<std::string> visees;
    std::set<std::string> surface;
  };
  const Cas cas[] = {
      // One shot: its origin becomes a surface point.
      {"une visée", {"2-3"}, {"2"}},
      // Both branches from E: one surface point E used by both shots.
      {"station de surface partagée", {"E-1", "E-10"}, {"E"}},
      // A loop partner outside the part is written as none.
      {"partenaire de boucle", {"E-1", "1-2", "2-3"}, {"E"}},
  };
  for (const Cas& k : cas) {
    Petit p;
    const std::string chemin = p.Dossier.Fichier("partie.cav");
    ASSERT_TRUE(p.Exporte(*p.R, k.visees, chemin)) << k.nom;
    Relu lu(chemin);
    ASSERT_TRUE(lu.Lu) << k.nom;
    TCavite* c = lu.Cavite();
    ASSERT_NE(c, nullptr);
    std::set<std::string> visees, surface;
    for (const TVisee* v : c->Visees) visees.insert(Code(v));
    EXPECT_EQ(visees, k.visees) << k.nom;
    for (const TPointSpeleo* s : *lu.R->LesPointsSurface()) {
      surface.insert(s->DesignPTopo);
      EXPECT_DOUBLE_EQ(s->X, p.st[s->DesignPTopo]->X) << k.nom;
      EXPECT_DOUBLE_EQ(s->Y, p.st[s->DesignPTopo]->Y) << k.nom;
      EXPECT_DOUBLE_EQ(s->Z, p.st[s->DesignPTopo]->Z) << k.nom;
      // Every shot touching it uses the one point.
      for (const TVisee* v : c->Visees)
        if (v->PointStation->DesignPTopo == s->DesignPTopo) EXPECT_EQ(v->PointStation, s) << k.nom;
    }
    EXPECT_EQ(surface, k.surface) << k.nom;
    std::map<std::string, const TPointSpeleo*> stations;
    for (const survey::TGalerie* g : c->Galeries)
      for (const TPointSpeleo* s : g->Points) stations[s->DesignPTopo] = s;
    if (stations.count("2")) {
      EXPECT_EQ(stations["2"]->PtBoucleAsso, nullptr) << k.nom;  // 11 stayed behind
    }
    if (stations.count("1") && stations.count("3")) {
      EXPECT_EQ(stations["1"]->PtBoucleAsso, stations["3"]) << k.nom;
      EXPECT_EQ(stations["3"]->PtBoucleAsso, stations["1"]) << k.nom;
    }
    // The open document kept its loops.
    EXPECT_EQ(p.st["2"]->PtBoucleAsso, p.st["11"]) << k.nom;
  }
}

// Two pieces: the second one is a cave of its own with its own trips, one
// shared with the open cave, the other (used by the first piece too) a
// copy; the open cave's shots keep their trips.
TEST(ExportPartie, DeuxMorceauxEtLeursLevers) {
  Petit p;
  std::map<std::string, const survey::TLever*> avant;
  for (const TVisee* v : p.C->Visees) avant[Code(v)] = v->LeLever;
  const std::string chemin = p.Dossier.Fichier("partie.cav");
  ASSERT_TRUE(p.Exporte(*p.R, {"1-2", "10-11", "11-12"}, chemin));
  for (const TVisee* v : p.C->Visees) EXPECT_EQ(v->LeLever, avant[Code(v)]) << Code(v);
  Relu lu(chemin);
  ASSERT_TRUE(lu.Lu);
  ASSERT_EQ(lu.R->NombreCavites(), 3);
  const TCavite* deuxieme = lu.R->UneCavite(2);
  EXPECT_EQ(deuxieme->NomCavite, "Petite (2)");
  EXPECT_EQ(lu.Cavite()->Levers.Count(), 1);
  EXPECT_EQ(deuxieme->Levers.Count(), 2);
  std::map<std::string, double> dates;
  for (int i = 1; i < 3; ++i)
    for (const TVisee* v : lu.R->UneCavite(i)->Visees) dates[Code(v)] = v->LeLever->LaDate;
  EXPECT_EQ(dates, (std::map<std::string, double>{{"1-2", 40000.0}, {"10-11", 41000.0}, {"11-12", 40000.0}}));
  std::set<std::string> surface;
  for (const TPointSpeleo* s : *lu.R->LesPointsSurface()) surface.insert(s->DesignPTopo);
  EXPECT_EQ(surface, (std::set<std::string>{"1", "10"}));
}

// A partial first long section that receives no exported shot leaves the
// new cave its own first section.
TEST(ExportPartie, PremiereCoupePartielleSansViseeExportee) {
  Petit p;
  drawing::TDonneesCoupeLong* premiere = drawing::AnnexeDessin(p.C)->LeDessinAltiOr;
  premiere->Partielle = true;
  for (TVisee* v : p.C->Visees)
    if (Code(v) == "E-10") premiere->AjouteViseeCoupe(v);
  const std::string chemin = p.Dossier.Fichier("partie.cav");
  ASSERT_TRUE(p.Exporte(*p.R, {"E-1", "1-2"}, chemin));
  Relu lu(chemin);
  ASSERT_TRUE(lu.Lu);
  ASSERT_NE(lu.Annexe(), nullptr);
  ASSERT_EQ(lu.Annexe()->LesCoupesLong.Count(), 1);
  EXPECT_FALSE(lu.Annexe()->LesCoupesLong.First()->Partielle);
  EXPECT_EQ(lu.Annexe()->LesCoupesLong.First()->DesignCoupe, "Coupe développée globale");
}

// --- The open document ---------------------------------------------------------------------------

TEST(ExportPartie, DocumentOuvertInchange) {
  Ouvert o;
  ASSERT_NE(o.C, nullptr);
  AjouteDessin(o, o.V("OL10", "OL11"), o.V("OL11", "OL12"), o.V("OL4", "OL5"), o.S("OL12"), o.S("OL5"));
  // The document has a file, in a folder whose name holds a dot, and is
  // held by this instance.
  const std::string dossier = o.Dossier.Fichier("relevés v1.2");
  ASSERT_EQ(::mkdir(dossier.c_str(), 0755), 0);
  const std::string document = dossier + "/olivier.2024.cav";
  survey::ContexteDocument& doc = survey::Document();
  ASSERT_EQ(doc.ReseauCourant, o.R.get());
  ASSERT_TRUE(survey::EnregistreReseau(document));
  struct stat avant {};
  ASSERT_EQ(::stat(document.c_str(), &avant), 0);
  doc.NomFichierCourant = document;
  doc.DocumentModifie = true;
  doc.DemandeNomFichier = false;
  const std::string octets = Ecrit(*o.R);
  const std::string enregistre = testsupport::LitOctets(document);
  const drawing::tListeMtf* bibliotheque = drawing::Dessin().ListesMtfReseau;

  const std::string partie = dossier + "/olivier-part.cav";
  ASSERT_TRUE(o.Exporte(kBranche, partie));
  // The name proposed: the file name cut at its first dot, in its folder.
  const platform::ScriptedDialogs::Shown* dialogue = nullptr;
  for (const auto& s : o.Env.Dialogues.Log())
    if (s.event == platform::ScriptedDialogs::Event::Save) dialogue = &s;
  ASSERT_NE(dialogue, nullptr);
  EXPECT_EQ(dialogue->options.FileName, "olivier-part.cav");
  EXPECT_EQ(dialogue->options.InitialFolder, dossier + "/");
  ASSERT_TRUE(platform::FileExists(partie));

  EXPECT_EQ(Ecrit(*o.R), octets);
  EXPECT_EQ(testsupport::LitOctets(document), enregistre);
  EXPECT_EQ(doc.ReseauCourant, o.R.get());
  EXPECT_EQ(doc.NomFichierCourant, document);
  EXPECT_TRUE(doc.DocumentModifie);
  EXPECT_FALSE(doc.DemandeNomFichier);
  struct stat apres {};
  ASSERT_EQ(::stat(document.c_str(), &apres), 0);
  EXPECT_EQ(apres.st_mode, avant.st_mode);
  // The document's file is still held; the part's is not.
  EXPECT_TRUE(o.R->Verrou.Covers(document));
  EXPECT_FALSE(platform::FileLock::HeldElsewhere(partie));
  EXPECT_EQ(drawing::Dessin().ListesMtfReseau, bibliotheque);
  EXPECT_EQ(survey::ListesDocument().Operateurs, &o.R->ListeOperateurs);
  // The source elements hold no reference into the freed part.
  drawing::AnnexeDessin(o.C)->LeDessinPlani->ListeDonneesDessin.PourTousObjets(
      [](drawing::TObjetDonneesBasique& e) { EXPECT_EQ(e.EquivTransfert, nullptr); });
}

TEST(ExportPartie, NomPropose) {
  struct Cas {
    const char *document, *reseau, *propose;
  };
  for (const Cas& k : {Cas{"/a/b.c/grotte.cav", "R", "/a/b.c/grotte-part.cav"},
                       Cas{"/a/grotte.2024.cav", "R", "/a/grotte-part.cav"},
                       Cas{"", "Réseau", "Réseau-part.cav"}})
    EXPECT_EQ(formats::NomFichierPartie(k.document, k.reseau), k.propose) << k.document;
}

TEST(ExportPartie, EchecOuAnnulationLaissentLeDocument) {
  struct Cas {
    const char* nom;
    bool ok;                                                 // the selection window's answer
    std::function<bool(const std::string&, std::string_view)> ecrit;  // the document file's writer
    const char* message;                                     // the error shown, with the path
  };
  const Cas cas[] = {
      {"sélection annulée", false, {}, nullptr},
      {"écriture refusée", true, [](const std::string&, std::string_view) { return false; },
       "le fichier %s n'a pas pu être enregistré"},
      {"erreur levée", true, [](const std::string&, std::string_view) -> bool { throw std::runtime_error("disque"); },
       "Erreur d'écriture du fichier %s. Il n'a pas pu être enregistré"},
  };
  for (const Cas& k : cas) {
    Ouvert o;
    ASSERT_NE(o.C, nullptr);
    AjouteDessin(o, o.V("OL10", "OL11"), o.V("OL11", "OL12"), o.V("OL4", "OL5"), o.S("OL12"), o.S("OL5"));
    survey::Document().DocumentModifie = false;
    survey::Document().NomFichierCourant = o.Dossier.Fichier("olivier.cav");
    const std::string octets = Ecrit(*o.R);
    survey::FichierReseau().EcritFichier = k.ecrit;
    const std::string partie = o.Dossier.Fichier("olivier-part.cav");
    o.Selectionne(kBranche, k.ok);
    if (k.ok) o.Env.Dialogues.QueueFile(partie);
    EXPECT_EQ(formats::ExportePartieCavite(*o.R), k.ok) << k.nom;
    EXPECT_FALSE(platform::FileExists(partie)) << k.nom;
    EXPECT_EQ(Ecrit(*o.R), octets) << k.nom;
    EXPECT_FALSE(survey::Document().DocumentModifie) << k.nom;
    EXPECT_EQ(survey::Document().ReseauCourant, o.R.get()) << k.nom;
    const std::vector<std::string> messages = o.Env.Dialogues.Messages();
    if (!k.message) {
      EXPECT_TRUE(o.Env.Dialogues.Log().empty()) << k.nom;
      continue;
    }
    ASSERT_FALSE(messages.empty()) << k.nom;
    std::string attendu = k.message;
    attendu.replace(attendu.find("%s"), 2, partie);
    EXPECT_EQ(messages.back().rfind(attendu, 0), 0u) << k.nom << ": " << messages.back();
  }
}

}  // namespace
