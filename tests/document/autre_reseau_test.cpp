// Import from another document, the comparison of two caves and the update
// of a cave from a field notebook: the second-document frame, the
// equivalence lists, the shot pairing and its report, against Therion's own
// computation of a real TopoDroid export.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/croquis.h"
#include "drawing/donnees_coupe_long.h"
#include "drawing/elements_dessin.h"
#include "drawing/liste_mtf.h"
#include "drawing/objet_trait.h"
#include "drawing/point_dessin.h"
#include "drawing/texture.h"
#include "drawing/visees_dessin.h"
#include "editor/image_notes.h"
#include "formats/contexte_formats.h"
#include "formats/import/autre_reseau/appariement.h"
#include "formats/import/autre_reseau/cadre_autre_reseau.h"
#include "formats/import/autre_reseau/import_cavites.h"
#include "formats/import/autre_reseau/maj_cavite.h"
#include "formats/import/import_fichier_autre.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/flux.h"
#include "foundation/niveau_fichier.h"
#include "platform/files.h"
#include "survey/bouclage.h"
#include "survey/cavite.h"
#include "survey/compens.h"
#include "survey/contexte_survey.h"
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

const std::string kTherion = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/therion/";

std::string LitTexte(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

void EcritTexte(const std::string& chemin, const std::string& texte) {
  std::ofstream(chemin, std::ios::binary) << texte;
}

// A Therion centreline of one survey from "from to length compass clino"
// lines.
std::string Th(const std::string& nom, const std::vector<std::string>& lignes, const std::string& equipe = {}) {
  std::string t = "survey " + nom + "\n  centerline\n";
  if (!equipe.empty()) t += "    team " + equipe + "\n";
  t += "    data normal from to length compass clino\n";
  for (const std::string& l : lignes) t += "    " + l + "\n";
  return t + "  endcenterline\nendsurvey\n";
}

// The open document: a network with its surface, every context set aside.
class Ouvert {
 public:
  Ouvert() {
    formats::Import().DossierMemoireGaleries = Dossier.Chemin();
    R = std::make_unique<TReseau>();
    R->CreeCaviteSurface();
  }
  ~Ouvert() { R.reset(); }

  // Imports a Therion text (or file) as a new cave, made active.
  TCavite* Importe(const std::string& nomFichier, const std::string& texte) {
    const std::string chemin = Dossier.Fichier(nomFichier);
    EcritTexte(chemin, texte);
    return ImporteFichier(chemin);
  }
  TCavite* ImporteFichier(const std::string& chemin, TReseau* reseau = nullptr) {
    TReseau* r = reseau ? reseau : R.get();
    if (!formats::ImporteFichierAutre(chemin, formats::TypeImportTopoDroid, false, r)) return nullptr;
    r->LaCaviteActive = r->CaviteImportee;
    return r->CaviteImportee;
  }
  // Writes a network as a document.
  static bool Enregistre(TReseau& r, const std::string& chemin) {
    foundation::TFluxMemoire flux;
    return r.Ecrit(flux) && platform::WriteFileAtomic(chemin, flux.Octets());
  }

  testsurvey::EnvironnementDocument Env;
  testsupport::DossierTemp Dossier;
  std::unique_ptr<TReseau> R;
};

TVisee* Visee(const TCavite& c, const std::string& de, const std::string& a) {
  for (TVisee* v : c.Visees)
    if (v->PointStation && v->PointVise && v->PointStation->DesignPTopo == de && v->PointVise->DesignPTopo == a) return v;
  return nullptr;
}

TPointSpeleo* Station(const TCavite& c, const std::string& nom) {
  for (const survey::TGalerie* g : c.Galeries)
    for (TPointSpeleo* p : g->Points)
      if (p->DesignPTopo == nom) return p;
  return nullptr;
}

int Jambes(const TCavite& c) {
  int n = 0;
  for (const TVisee* v : c.Visees) n += v->Exclue == 2 ? 0 : 1;
  return n;
}

int Habi(const TCavite& c) {
  int n = 0;
  for (const TVisee* v : c.Visees) n += v->ViseesHabi.Count();
  return n;
}

// Everything the frame sets aside, as pointers.
struct Contexte {
  const void* operateurs;
  const void* instruments;
  const void* bibliotheque;
  const void* cartes;
  const void* boucles;
  std::array<views::TListeMisesEnPage*, 4> pages;
  int32_t niveau;
  const void* reseau;
  static Contexte Maintenant() {
    return {survey::ListesDocument().Operateurs, survey::ListesDocument().Instruments,
            drawing::Dessin().ListesMtfReseau, editor::Cartes().CartesReseau,
            survey::ContexteSurvey().Bouclages.Active, views::MisesEnPage().ListesMisesEnPage,
            foundation::NiveauFichier().VersionFichierLue, survey::Document().ReseauCourant};
  }
  bool operator==(const Contexte&) const = default;
};

// --- The frame ---------------------------------------------------------------------------------

TEST(CadreAutreReseau, ToutRevientSurChaqueSortie) {
  Ouvert o;
  ASSERT_TRUE(o.Importe("a.th", Th("a", {"0 1 5.00 10 0", "1 2 4.00 40 5"})));
  // A second document with two caves, so that a choice is asked.
  const std::string doc = o.Dossier.Fichier("autre.cav");
  {
    TReseau autre;
    autre.CreeCaviteSurface();
    EcritTexte(o.Dossier.Fichier("b.th"), Th("b", {"0 1 3.00 100 0", "1 2 2.00 140 5"}));
    ASSERT_TRUE(o.ImporteFichier(o.Dossier.Fichier("a.th"), &autre));
    ASSERT_TRUE(o.ImporteFichier(o.Dossier.Fichier("b.th"), &autre));
    ASSERT_TRUE(Ouvert::Enregistre(autre, doc));
  }
  o.R->Active();
  const int cavesAvant = o.R->NombreCavites();
  // A truncated document.
  const std::string tronque = o.Dossier.Fichier("tronque.cav");
  const std::string octets = LitTexte(doc);
  EcritTexte(tronque, octets.substr(0, octets.size() / 2));
  // The open file is read-only to the user.
  const std::string ouvert = o.Dossier.Fichier("ouvert.cav");
  ASSERT_TRUE(Ouvert::Enregistre(*o.R, ouvert));
  survey::Document().NomFichierCourant = ouvert;
  o.R->LectureSeule = true;

  struct Cas {
    const char* nom;
    std::function<bool()> travail;
    bool resultat;
    bool modifie;
  };
  const Cas cas[] = {
      {"annulé", [&] { return formats::ImporteCavitesReseau(doc); }, false, false},
      {"tronqué", [&] { return formats::ImporteCavitesReseau(tronque); }, false, false},
      {"même fichier que le document", [&] {
         formats::ContexteFormats().FenetresAutreReseau.ChoisitCavites = {};
         return formats::ImporteCavitesReseau(ouvert);
       }, true, true},
      {"exception", [&]() -> bool {
         formats::ContexteFormats().FenetresAutreReseau.ChoisitCavites = [](const TReseau&, std::vector<bool>&) -> bool {
           throw std::logic_error("erreur de programmation");
         };
         return formats::ImporteCavitesReseau(doc);
       }, false, false},
      {"réussi", [&] {
         formats::ContexteFormats().FenetresAutreReseau.ChoisitCavites = [](const TReseau&, std::vector<bool>& c) {
           c[2] = true;
           return true;
         };
         return formats::ImporteCavitesReseau(doc);
       }, true, true},
  };
  for (const Cas& c : cas) {
    survey::Document().DocumentModifie = false;
    const Contexte avant = Contexte::Maintenant();
    bool r = false;
    try {
      r = c.travail();
    } catch (const std::logic_error&) {
      r = false;
    }
    EXPECT_EQ(r, c.resultat) << c.nom;
    EXPECT_TRUE(Contexte::Maintenant() == avant) << c.nom;
    EXPECT_EQ(survey::Document().DocumentModifie, c.modifie) << c.nom;
    EXPECT_TRUE(o.R->LectureSeule) << c.nom;
    EXPECT_EQ(survey::Document().NomFichierCourant, ouvert) << c.nom;
  }
  // The document read twice (its own file, then the second cave) and the
  // failures in between: two caves more.
  EXPECT_EQ(o.R->NombreCavites(), cavesAvant + 2);
  EXPECT_EQ(o.R->Cavites.Last()->NomCavite, "b");
}

// --- The real notebook ---------------------------------------------------------------------------

// ar52.th cut after the splays of its station 4.
std::string Ar52Coupe() {
  const std::string t = LitTexte(kTherion + "ar52.th");
  const std::string fin = "    4 . 1.04 82.8 2.0\n";
  const size_t p = t.find(fin);
  if (p == std::string::npos) return {};
  return t.substr(0, p + fin.size()) + "  endcenterline\n\nendsurvey\n";
}

bool OraclePresent() {
  return std::system("command -v therion >/dev/null 2>&1 && command -v survexport >/dev/null 2>&1") == 0;
}

// Therion's computation of a file: the named stations by name (the survey
// prefix removed), from survexport --pos.
std::map<std::string, std::array<double, 3>> PositionsTherion(const std::string& th, const std::string& dossier) {
  std::map<std::string, std::array<double, 3>> r;
  EcritTexte(dossier + "/oracle.th", LitTexte(th));
  EcritTexte(dossier + "/oracle.thconfig", "source oracle.th\nexport model -fmt survex -o oracle.3d\n");
  const std::string commande = "cd '" + dossier + "' && therion oracle.thconfig >/dev/null 2>&1 && survexport --pos oracle.3d oracle.pos >/dev/null 2>&1";
  if (std::system(commande.c_str()) != 0) return r;
  std::istringstream lignes(LitTexte(dossier + "/oracle.pos"));
  for (std::string l; std::getline(lignes, l);) {
    const size_t f = l.find(')');
    if (l.empty() || l[0] != '(' || f == std::string::npos) continue;
    std::string nom = foundation::OteBlancs(l.substr(f + 1));
    if (nom.empty()) continue;
    nom = nom.substr(nom.rfind('.') + 1);
    std::string nombres = l.substr(1, f - 1);
    std::replace(nombres.begin(), nombres.end(), ',', ' ');
    std::istringstream m(nombres);
    std::string x, y, z;
    m >> x >> y >> z;
    std::array<double, 3> p{};
    if (foundation::LitReel(x, p[0]) && foundation::LitReel(y, p[1]) && foundation::LitReel(z, p[2])) r[nom] = p;
  }
  return r;
}

TEST(MajCarnet, Ar52CompleteApresLaStation4) {
  Ouvert o;
  TCavite* c = o.Importe("ar52.th", Ar52Coupe());
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(Jambes(*c), 4);
  const int habiAvant = Habi(*c);
  TPointSpeleo* quatre = Station(*c, "4");
  ASSERT_NE(quatre, nullptr);
  o.R->CalculeReseau();
  survey::Document().DocumentModifie = false;
  const Contexte avant = Contexte::Maintenant();
  ASSERT_TRUE(formats::MajCaviteDepuisCarnet(kTherion + "ar52.th"));
  EXPECT_TRUE(Contexte::Maintenant() == avant);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_EQ(o.R->NombreCavites(), 2);
  EXPECT_EQ(Jambes(*c), 7);
  EXPECT_EQ(Habi(*c) - habiAvant, 11);
  for (const auto& [de, a] : std::vector<std::pair<std::string, std::string>>{{"4", "5"}, {"5", "6"}, {"6", "7"}})
    EXPECT_NE(Visee(*c, de, a), nullptr) << de << "->" << a;
  ASSERT_NE(Visee(*c, "4", "5"), nullptr);
  EXPECT_EQ(Visee(*c, "4", "5")->PointStation, quatre);
  // Nothing twice: one station per name, one shot per pair.
  std::map<std::string, int> noms;
  for (const survey::TGalerie* g : c->Galeries)
    for (const TPointSpeleo* p : g->Points) ++noms[p->DesignPTopo];
  for (const auto& [nom, n] : noms) EXPECT_EQ(n, 1) << nom;
  EXPECT_EQ(Visee(*c, "3", "4")->ViseesHabi.Count(), 4);
  // The surface keeps its one point.
  EXPECT_EQ(o.R->LesPointsSurface()->Count(), 1);
  o.R->CalculeReseau();
  if (!OraclePresent()) GTEST_SKIP() << "therion or survexport missing";
  const auto oracle = PositionsTherion(kTherion + "ar52.th", o.Dossier.Chemin());
  for (const char* nom : {"5", "6", "7"}) {
    const TPointSpeleo* p = Station(*c, nom);
    ASSERT_NE(p, nullptr) << nom;
    const auto it = oracle.find(nom);
    ASSERT_NE(it, oracle.end()) << nom;
    EXPECT_NEAR(p->X, it->second[0], 0.01) << nom;
    EXPECT_NEAR(p->Y, it->second[1], 0.01) << nom;
    EXPECT_NEAR(p->Z, it->second[2], 0.01) << nom;
  }
}

TEST(MajCarnet, ComparaisonDuFichierEntierAvecLaCoupe) {
  Ouvert o;
  TCavite* c = o.ImporteFichier(kTherion + "ar52.th");
  ASSERT_NE(c, nullptr);
  o.R->CalculeReseau();
  const std::string coupe = o.Dossier.Fichier("ar52_coupe.th");
  EcritTexte(coupe, Ar52Coupe());
  survey::Document().NomFichierCourant = o.Dossier.Fichier("ouvert.cav");
  survey::Document().DocumentModifie = false;
  std::vector<std::string> montre;
  formats::ContexteFormats().FenetresAutreReseau.AfficheRapport = [&](formats::TRapportMaj& r) { montre = r.Lignes; };
  ASSERT_TRUE(formats::CompareCavites(coupe, formats::TypeImportTopoDroid));
  EXPECT_FALSE(survey::Document().DocumentModifie);
  const std::string chemin = o.Dossier.Fichier("ar52_Rapport_MAJ.txt");
  ASSERT_TRUE(platform::FileExists(chemin));
  const std::string attendu1 = "Visées existant dans la cavité en cours et pas dans la cavité importée";
  const std::string attendu2 = "Visées existant dans la cavité importée et pas dans la cavité en cours";
  const auto h1 = std::find(montre.begin(), montre.end(), attendu1);
  const auto h2 = std::find(montre.begin(), montre.end(), attendu2);
  ASSERT_NE(h1, montre.end());
  ASSERT_NE(h2, montre.end());
  std::vector<std::string> manquantes;
  for (auto it = h1 + 1; it != h2; ++it)
    if (it->find("\t -> \t") != std::string::npos) manquantes.push_back(it->substr(0, it->find('\t')) + ">" + it->substr(it->find("\t -> \t") + 6, it->find('\t', it->find("\t -> \t") + 6) - it->find("\t -> \t") - 6));
  EXPECT_EQ(manquantes, (std::vector<std::string>{"4>5", "5>6", "6>7"}));
  for (auto it = h2 + 1; it != montre.end(); ++it) EXPECT_EQ(it->find("\t -> \t"), std::string::npos) << *it;
  // The file holds the same report, in Windows-1252.
  EXPECT_NE(LitTexte(chemin).find(foundation::VersWindows1252(attendu1)), std::string::npos);
  // No link into the freed network is left.
  for (const TVisee* v : c->Visees) EXPECT_EQ(v->ViseeEquiv, nullptr);
}

TEST(MajCarnet, SansPointCommunDemandeEtNonLaisseTout) {
  Ouvert o;
  TCavite* c = o.Importe("a.th", Th("a", {"0 1 5.00 10 0", "1 2 4.00 40 5", "2 3 6.00 80 -5"}));
  ASSERT_NE(c, nullptr);
  o.R->CalculeReseau();
  const std::string autre = o.Dossier.Fichier("autre.th");
  EcritTexte(autre, Th("z", {"0 1 7.30 200 10", "1 2 2.20 250 -20"}));
  for (const bool modifie : {false, true}) {
    survey::Document().DocumentModifie = modifie;
    o.Env.Dialogues.QueueAnswer(platform::Answer::No);
    EXPECT_FALSE(formats::MajCaviteDepuisCarnet(autre));
    EXPECT_EQ(survey::Document().DocumentModifie, modifie);
    EXPECT_EQ(Jambes(*c), 3);
    ASSERT_FALSE(o.Env.Dialogues.Log().empty());
    EXPECT_EQ(o.Env.Dialogues.Log().back().text,
              "il n'y a aucun point commun dans le fichier  " + autre + " avec la cavité a Voulez-vous importer quand même ce fichier ?");
  }
  // A PocketTopo text export is refused before reading.
  const std::string txt = o.Dossier.Fichier("carnet.txt");
  EcritTexte(txt, "n'importe quoi");
  EXPECT_FALSE(formats::MajCaviteDepuisCarnet(txt));
  EXPECT_NE(o.Env.Dialogues.Log().back().text.find("fichier texte PocketTopo"), std::string::npos);
  // Yes: the notebook's shots are appended as they are.
  o.Env.Dialogues.QueueAnswer(platform::Answer::Yes);
  EXPECT_TRUE(formats::MajCaviteDepuisCarnet(autre));
  EXPECT_EQ(Jambes(*c), 5);
  EXPECT_TRUE(survey::Document().DocumentModifie);
}

// --- Caves from another document -----------------------------------------------------------------

TEST(ImportCavites, CasDeLaPartie) {
  Ouvert o;
  ASSERT_TRUE(o.Importe("a.th", Th("a", {"0 1 5.00 10 0", "1 2 4.00 40 5"}, "dupont")));
  o.R->CreeListeLevers();
  ASSERT_EQ(o.R->ListeOperateurs.Count(), 1);
  survey::TListedePoints* surface = o.R->LesPointsSurface();
  auto e1 = std::make_unique<TPointSpeleo>();
  e1->TypePoint = survey::PointSurface;
  e1->DesignPTopo = "E1";
  e1->X = 1000;
  e1->Y = 2000;
  e1->GalduPt = o.R->UneCavite(0)->Galeries.First();
  surface->Add(std::move(e1));
  // The other document: caves b (team Dupont and Martin) and c, a loop link
  // between them, two surface points near E1, an adjustment of b.
  const std::string doc = o.Dossier.Fichier("autre.cav");
  {
    TReseau autre;
    autre.CreeCaviteSurface();
    EcritTexte(o.Dossier.Fichier("b.th"), Th("b", {"0 1 3.00 100 0", "1 2 2.00 140 5"}, "Dupont\n    team Martin"));
    EcritTexte(o.Dossier.Fichier("c.th"), Th("c", {"0 1 3.50 200 0", "1 2 2.50 240 5"}));
    TCavite* b = o.ImporteFichier(o.Dossier.Fichier("b.th"), &autre);
    TCavite* c = o.ImporteFichier(o.Dossier.Fichier("c.th"), &autre);
    ASSERT_TRUE(b && c);
    Station(*b, "2")->PtBoucleAsso = Station(*c, "2");
    Station(*c, "2")->PtBoucleAsso = Station(*b, "2");
    for (const auto& [nom, x] : std::vector<std::pair<std::string, double>>{{"e1", 1000.05}, {"X", 1000.02}}) {
      auto p = std::make_unique<TPointSpeleo>();
      p->TypePoint = survey::PointSurface;
      p->DesignPTopo = nom;
      p->X = x;
      p->Y = 2000;
      p->GalduPt = autre.UneCavite(0)->Galeries.First();
      autre.LesPointsSurface()->Add(std::move(p));
    }
    auto k = std::make_unique<survey::TCompens>();
    k->PtFin = Station(*b, "2");
    k->PtJuste = autre.LesPointsSurface()->Last();
    autre.Compensations.Add(std::move(k));
    autre.Active();
    ASSERT_TRUE(Ouvert::Enregistre(autre, doc));
  }
  o.R->Active();
  formats::ContexteFormats().FenetresAutreReseau.ChoisitCavites = [](const TReseau& r, std::vector<bool>& choix) {
    EXPECT_EQ(r.NombreCavites(), 3);
    choix[1] = true;  // b only
    return true;
  };
  ASSERT_TRUE(formats::ImporteCavitesReseau(doc));
  TCavite* b = o.R->Cavites.Last();
  ASSERT_EQ(b->NomCavite, "b");
  o.R->CreeListeLevers();
  // "dupont" and "Dupont" are one operator; Martin arrives.
  ASSERT_EQ(o.R->ListeOperateurs.Count(), 2);
  EXPECT_EQ(o.R->ListeOperateurs.UnObjet(0)->DesignOpe, "dupont");
  EXPECT_EQ(o.R->ListeOperateurs.UnObjet(1)->DesignOpe, "Martin");
  for (const survey::TLever* l : b->Levers)
    for (const survey::TOperateur* op : l->Operateurs) EXPECT_GE(o.R->ListeOperateurs.IndexOf(op), 0);
  // The loop partner in c, not chosen, is dropped.
  EXPECT_EQ(Station(*b, "2")->PtBoucleAsso, nullptr);
  EXPECT_EQ(Station(*b, "2")->IndPtBoucle, -1);
  // The adjustment came with its exact point ("X", 0.02 m from E1 but of
  // another name: a point of its own).
  ASSERT_EQ(o.R->Compensations.Count(), 1);
  ASSERT_NE(o.R->Compensations.First()->PtJuste, nullptr);
  EXPECT_EQ(o.R->Compensations.First()->PtJuste->DesignPTopo, "X");
  EXPECT_GE(o.R->LesPointsSurface()->IndexOf(o.R->Compensations.First()->PtJuste), 0);
  o.R->CalculeReseau();
  EXPECT_TRUE(survey::Document().DocumentModifie);

  // Surface points: "e1" within 0.1 m of E1 merges with it, "X" does not.
  const int avant = o.R->LesPointsSurface()->Count();
  ASSERT_TRUE(formats::ImportePointsSurfaceCav(doc));
  // ("X" is the point the adjustment brought, the entrances are the
  // caves' own: all are there already.)
  std::map<std::string, int> noms;
  for (const TPointSpeleo* p : *o.R->LesPointsSurface()) ++noms[p->DesignPTopo];
  EXPECT_EQ(o.R->LesPointsSurface()->Count(), avant);
  EXPECT_EQ(noms["E1"], 1);
  EXPECT_EQ(noms["X"], 1);
  EXPECT_EQ(noms.count("e1"), 0u);
}

TEST(ImportCavites, AllerRetourParUnDocument) {
  // demo.th and ar52.th in one document, saved; that document's caves
  // imported into a new one compute the same stations.
  testsupport::DossierTemp dossier;
  std::map<std::string, std::array<double, 3>> avant;
  const std::string doc = dossier.Fichier("deux.cav");
  {
    Ouvert o;
    for (const char* f : {"demo.th", "ar52.th"}) ASSERT_NE(o.ImporteFichier(kTherion + f), nullptr) << f;
    o.R->CalculeReseau();
    for (int i = 1; i < o.R->NombreCavites(); ++i)
      for (const survey::TGalerie* g : o.R->UneCavite(i)->Galeries)
        for (const TPointSpeleo* p : g->Points) avant[o.R->UneCavite(i)->NomCavite + "/" + p->DesignPTopo] = {p->X, p->Y, p->Z};
    ASSERT_TRUE(Ouvert::Enregistre(*o.R, doc));
  }
  Ouvert o;
  formats::ContexteFormats().FenetresAutreReseau.ChoisitCavites = [](const TReseau& r, std::vector<bool>& choix) {
    for (int i = 1; i < r.NombreCavites(); ++i) choix[static_cast<size_t>(i)] = true;
    return true;
  };
  ASSERT_TRUE(formats::ImporteCavitesReseau(doc));
  ASSERT_EQ(o.R->NombreCavites(), 3);
  o.R->CalculeReseau();
  size_t compares = 0;
  for (int i = 1; i < o.R->NombreCavites(); ++i)
    for (const survey::TGalerie* g : o.R->UneCavite(i)->Galeries)
      for (const TPointSpeleo* p : g->Points) {
        const auto it = avant.find(o.R->UneCavite(i)->NomCavite + "/" + p->DesignPTopo);
        ASSERT_NE(it, avant.end()) << p->DesignPTopo;
        EXPECT_NEAR(p->X, it->second[0], 1e-9) << it->first;
        EXPECT_NEAR(p->Y, it->second[1], 1e-9) << it->first;
        EXPECT_NEAR(p->Z, it->second[2], 1e-9) << it->first;
        ++compares;
      }
  EXPECT_EQ(compares, avant.size());
}

// --- Part of another cave ------------------------------------------------------------------------

TEST(ImportPartie, AccrocheeALaFinDeLaViseeActive) {
  Ouvert o;
  TCavite* a = o.Importe("a.th", Th("a", {"0 1 5.00 10 0", "1 2 4.00 40 5", "2 3 6.00 80 -5"}));
  ASSERT_NE(a, nullptr);
  o.R->CalculeReseau();
  const std::string doc = o.Dossier.Fichier("p.cav");
  {
    TReseau autre;
    autre.CreeCaviteSurface();
    EcritTexte(o.Dossier.Fichier("p.th"), Th("p", {"10 11 3.00 100 0", "11 12 2.00 140 5", "12 13 2.50 170 -3"}));
    ASSERT_NE(o.ImporteFichier(o.Dossier.Fichier("p.th"), &autre), nullptr);
    autre.Active();
    ASSERT_TRUE(Ouvert::Enregistre(autre, doc));
  }
  o.R->Active();
  o.R->LaCaviteActive = a;
  TVisee* focus = Visee(*a, "2", "3");
  ASSERT_NE(focus, nullptr);
  // The selection window: the last two shots of the part.
  formats::ContexteFormats().FenetresAutreReseau.MarqueViseesPartie = [](TCavite& c) {
    for (TVisee* v : c.Visees)
      v->Marque = v->PointVise && (v->PointVise->DesignPTopo == "12" || v->PointVise->DesignPTopo == "13");
    return true;
  };
  const std::string question = "Vous allez rajouter la partie sélectionnée après le point 3 de la galerie " +
                               Station(*a, "3")->GalduPt->NomGalerie + " dans la cavité a";
  // No: nothing changes.
  survey::Document().DocumentModifie = false;
  o.Env.Dialogues.QueueAnswer(platform::Answer::No);
  EXPECT_FALSE(formats::ImportePartieAutreCavite(doc, 1, focus));
  EXPECT_EQ(o.Env.Dialogues.Log().at(o.Env.Dialogues.Log().size() - 2).text, question);
  EXPECT_EQ(o.Env.Dialogues.Log().back().text, "Import abandonné");
  EXPECT_EQ(Jambes(*a), 3);
  EXPECT_FALSE(survey::Document().DocumentModifie);
  EXPECT_EQ(a->ViseeImport0, nullptr);
  // Yes: 11->12 now starts on station 3, then 12->13.
  o.Env.Dialogues.QueueAnswer(platform::Answer::Yes);
  ASSERT_TRUE(formats::ImportePartieAutreCavite(doc, 1, focus));
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_EQ(Jambes(*a), 5);
  ASSERT_NE(a->ViseeImport0, nullptr);
  EXPECT_EQ(a->ViseeImport0->PointStation, Station(*a, "3"));
  EXPECT_EQ(a->ViseeImport0->PointVise->DesignPTopo, "12");
  EXPECT_NE(Visee(*a, "12", "13"), nullptr);
  EXPECT_EQ(Station(*a, "11"), nullptr);
  EXPECT_EQ(Station(*a, "10"), nullptr);
  for (const survey::TGalerie* g : a->Galeries) EXPECT_FALSE(g->Points.Vide()) << g->NomGalerie;
  o.R->CalculeReseau();
  EXPECT_FALSE(Station(*a, "13")->CoordonneesIndefinies());
}

TEST(ImportPartie, SansFenetreDeSelectionAbandonne) {
  Ouvert o;
  TCavite* a = o.Importe("a.th", Th("a", {"0 1 5.00 10 0", "1 2 4.00 40 5"}));
  ASSERT_NE(a, nullptr);
  o.R->CalculeReseau();
  const std::string doc = o.Dossier.Fichier("a.cav");
  ASSERT_TRUE(Ouvert::Enregistre(*o.R, doc));
  survey::Document().DocumentModifie = false;
  EXPECT_FALSE(formats::ImportePartieAutreCavite(doc, 1, a->LaVisee(1)));
  EXPECT_FALSE(survey::Document().DocumentModifie);
  EXPECT_EQ(Jambes(*a), 2);
}

// --- Pairing ----------------------------------------------------------------------------------------

TEST(Appariement, CasDeLaPartie) {
  const std::vector<std::string> base = {"0 1 5.00 10 0", "1 2 4.00 40 5", "2 3 6.00 80 -5", "3 4 3.00 120 2", "4 5 2.00 160 0", "5 6 3.30 200 4"};
  std::vector<std::string> envers = base, allonge = base, nord = base, nordB = base;
  envers[2] = "3 2 6.00 260 5";
  allonge[3] = "3 4 3.02 120 2";
  nord[2] = "2 3 6.00 0.00 -5";
  nordB[2] = "2 3 6.00 359.95 -5";
  struct Cas {
    const char* nom;
    std::vector<std::string> a, b;
    double tolerance;
    int apparieesA;  // shots of A with an equivalent
  };
  const Cas cas[] = {
      {"deux copies", base, base, 0.01, 6},
      {"une seule visée", {"0 1 5.00 10 0"}, {"0 1 5.00 10 0"}, 0.01, 0},
      {"visée levée à l'envers", base, envers, 0.01, 6},
      {"longueur +0.02 à 0.01", base, allonge, 0.01, 5},
      {"de part et d'autre du nord", nord, nordB, 0.01, 6},
      {"longueur +0.02 à 0.05", base, allonge, 0.05, 6},
      // The first shot, whose successor differs, is matched by nothing.
      {"première visée suivie d'une différente", {"0 1 5.00 10 0", "1 2 4.00 40 5"}, {"0 1 5.00 10 0", "1 2 4.02 40 5"}, 0.01, 0},
      {"chaîne de deux", {"0 1 5.00 10 0", "1 2 4.00 40 5"}, {"0 1 5.00 10 0", "1 2 4.00 40 5"}, 0.01, 2},
  };
  for (const Cas& c : cas) {
    Ouvert o;
    TCavite* a = o.Importe("a.th", Th("a", c.a));
    TCavite* b = o.Importe("b.th", Th("b", c.b));
    ASSERT_TRUE(a && b) << c.nom;
    o.R->CalculeReseau();
    formats::GardeToleranceAppariement t(c.tolerance);
    formats::AppareilleVisees(*a, *b);
    int n = 0;
    for (const TVisee* v : a->Visees) {
      if (v->Exclue == 2) continue;
      if (v->ViseeEquiv) {
        ++n;
        EXPECT_EQ(v->ViseeEquiv->ViseeEquiv, v) << c.nom;
        EXPECT_TRUE(b->EstViseeDeLaCavite(v->ViseeEquiv)) << c.nom;
      }
    }
    EXPECT_EQ(n, c.apparieesA) << c.nom;
  }
  EXPECT_DOUBLE_EQ(formats::ToleranceAppariement(), 0.01);
}

TEST(Appariement, Rapport) {
  Ouvert o;
  TCavite* a = o.Importe("a.th", Th("a", {"0 1 5.00 10 0", "1 2 4.00 40 5", "2 3 6.00 80 -5", "3 4 3.00 120 2", "4 5 2.00 160 0", "5 6 3.30 200 4"}));
  TCavite* b = o.Importe("b.th", Th("b", {"0 1 5.00 10 0", "1 2 4.00 40 5", "2 3 6.00 80 -5", "3 4 3.02 120 2", "4 5 2.00 160 0", "5 6 3.30 200 4"}));
  ASSERT_TRUE(a && b);
  o.R->CalculeReseau();
  formats::AppareilleVisees(*a, *b);
  const auto l = formats::EcritRapport(*a, "/d/ouvert.cav", *b, "/d/b.th");
  ASSERT_GE(l.size(), 12u);
  EXPECT_EQ(l[0], "Cavite en cours : a  -  dans le fichier : /d/ouvert.cav");
  EXPECT_EQ(l[1], "Cavite importée : b  -  dans le fichier : /d/b.th");
  EXPECT_EQ(l[2], "");
  EXPECT_EQ(l[3], std::string(93, '-'));
  EXPECT_EQ(l[5], "Visées existant dans la cavité en cours et pas dans la cavité importée");
  EXPECT_EQ(l[6], "");
  EXPECT_EQ(l[7].rfind("Galerie : ", 0), 0u);
  EXPECT_EQ(l[8].rfind("3\t -> \t4\t", 0), 0u) << l[8];
  EXPECT_NE(l[8].find("\t3.00\t"), std::string::npos) << l[8];
  const auto h2 = std::find(l.begin(), l.end(), "Visées existant dans la cavité importée et pas dans la cavité en cours");
  ASSERT_NE(h2, l.end());
  EXPECT_EQ(*(h2 - 2), std::string(93, '-'));
  EXPECT_EQ((h2 + 2)->rfind("Galerie : ", 0), 0u);
  EXPECT_EQ((h2 + 3)->rfind("3\t -> \t4\t", 0), 0u);
  EXPECT_NE((h2 + 3)->find("\t3.02\t"), std::string::npos) << *(h2 + 3);
  EXPECT_EQ(h2 + 4, l.end());
  // The reported shots are marked, the others not.
  EXPECT_TRUE(Visee(*a, "3", "4")->Marque);
  EXPECT_FALSE(Visee(*a, "2", "3")->Marque);
}

// The candidate order is a strict weak order, whatever the values.
TEST(Appariement, OrdreDesCandidats) {
  std::mt19937 alea(35);
  std::uniform_real_distribution<double> az(0, 360), l(0, 30), dh(-20, 20);
  std::vector<std::unique_ptr<TVisee>> visees;
  for (int i = 0; i < 100000; ++i) {
    auto v = std::make_unique<TVisee>();
    // Few distinct values, so that ties are many.
    v->Az = std::round(az(alea) / 10) * 10;
    v->LCalc = std::round(l(alea));
    v->DhCalc = i % 1000 == 0 ? std::nan("") : std::round(dh(alea));
    visees.push_back(std::move(v));
  }
  std::vector<TVisee*> ordre;
  for (const auto& v : visees) ordre.push_back(v.get());
  std::sort(ordre.begin(), ordre.end(), formats::AvantDansCandidats);
  EXPECT_TRUE(std::is_sorted(ordre.begin(), ordre.end(), formats::AvantDansCandidats));
  for (size_t i = 1; i < ordre.size(); ++i) EXPECT_FALSE(formats::AvantDansCandidats(ordre[i], ordre[i - 1]));
}

// --- Update details ----------------------------------------------------------------------------------

TEST(MajCarnet, LeversInutilisesEtGaleriesVides) {
  Ouvert o;
  const std::string ancien = "survey t\n  centerline\n    date 2023.01.01\n    data normal from to length compass clino\n"
                             "    0 1 5.00 10 0\n    1 2 4.00 40 5\n  endcenterline\n";
  const std::string nouveau = "  centerline\n    date 2023.02.01\n    data normal from to length compass clino\n"
                              "    2 3 6.00 80 -5\n    3 4 3.00 120 2\n  endcenterline\n";
  TCavite* c = o.Importe("t.th", ancien + "endsurvey\n");
  ASSERT_NE(c, nullptr);
  ASSERT_EQ(c->Levers.Count(), 1);
  o.R->CalculeReseau();
  const std::string carnet = o.Dossier.Fichier("carnet.th");
  EcritTexte(carnet, ancien + nouveau + "endsurvey\n");
  ASSERT_TRUE(formats::MajCaviteDepuisCarnet(carnet));
  // The notebook's first trip covered only old shots: it is gone.
  ASSERT_EQ(c->Levers.Count(), 2);
  EXPECT_EQ(Visee(*c, "2", "3")->LeLever, c->Levers.Last());
  EXPECT_EQ(Visee(*c, "1", "2")->LeLever, c->Levers.First());
  for (const survey::TGalerie* g : c->Galeries) EXPECT_FALSE(g->Points.Vide()) << g->NomGalerie;
  EXPECT_EQ(Jambes(*c), 4);
  // The same notebook again: nothing new, the question, No.
  o.Env.Dialogues.QueueAnswer(platform::Answer::No);
  EXPECT_FALSE(formats::MajCaviteDepuisCarnet(carnet));
  EXPECT_EQ(Jambes(*c), 4);
}

// Sketches built by code: the imported cave's sketch against the existing
// cave's.
TEST(MajCarnet, NettoyageDesCroquis) {
  Ouvert o;
  TCavite* a = o.Importe("a.th", Th("a", {"0 1 5.00 10 0", "1 2 4.00 40 5", "2 3 6.00 80 -5"}));
  TCavite* b = o.Importe("b.th", Th("b", {"0 1 5.00 10 0", "1 2 4.00 40 5", "2 3 6.00 80 -5", "3 4 3.00 120 2"}));
  ASSERT_TRUE(a && b);
  auto* annexeA = drawing::AnnexeDessin(a);
  auto* annexeB = drawing::AnnexeDessin(b);
  ASSERT_TRUE(annexeA && annexeB);
  // The pairing: b's first three shots have their equivalent in a, 3->4 is new.
  for (TVisee* v : b->Visees) v->Marque = false;
  Visee(*b, "1", "2")->ViseeEquiv = Visee(*a, "1", "2");
  Visee(*b, "2", "3")->ViseeEquiv = Visee(*a, "2", "3");
  Visee(*b, "3", "4")->Marque = true;
  TVisee* ancienne = Visee(*b, "0", "1");  // old, no equivalent, not marked
  const auto ligne = [](drawing::TListeDonneesDessin& d, int couleur, double somme, const std::vector<TVisee*>& visees) {
    auto l = std::make_unique<drawing::TObjetDonneesBasique>();
    l->CouleurPkTp = couleur;
    l->SommePlani = somme;
    double x = 0;
    for (TVisee* v : visees) l->AjoutePointDessin(false, x += 1, 0)->VisRefDessin = v;
    return d.AjouteDonneesDessin(std::move(l));
  };
  const auto texte = [](drawing::TListeDonneesDessin& d, const std::string& t, double somme, TVisee* v) {
    auto o = std::make_unique<drawing::TObjetTexte>();
    o->UnTexte = t;
    o->SommePlani = somme;
    o->AjoutePointDessin(false, 0, 0)->VisRefDessin = v;
    o->AjoutePointDessin(false, 1, 0)->VisRefDessin = v;
    d.AjouteDonneesDessin(std::move(o));
  };
  const auto coupe = [](drawing::TListeElements<drawing::TCoupePkTp>& l, TPointSpeleo* station, double lhab, TVisee* v) {
    auto c = std::make_unique<drawing::TCoupePkTp>();
    c->StationRef = station;
    c->PointPosition = std::make_unique<drawing::TPointDessin>();
    c->PointPosition->LHab = lhab;
    c->PointPosition->AngleHab = 0.3;
    c->PointPosition->VisRefDessin = v;
    c->PointDeCoupe = std::make_unique<drawing::TPointDessin>();
    c->PointDeCoupe->VisRefDessin = v;
    return l.Add(std::move(c));
  };
  auto* sa = annexeA->DessinsPkTp.Add(std::make_unique<drawing::TDessinPkTp>());
  ligne(sa->pktpDessinPlani, 2, 10.0, {Visee(*a, "1", "2"), Visee(*a, "1", "2"), Visee(*a, "2", "3")});
  texte(sa->pktpDessinPlani, "T1", 5.0, Visee(*a, "1", "2"));
  coupe(sa->pktpCoupesPlani, Station(*a, "2"), 1.5, Visee(*a, "1", "2"));
  auto* sb = annexeB->DessinsPkTp.Add(std::make_unique<drawing::TDessinPkTp>());
  TVisee* b12 = Visee(*b, "1", "2");
  TVisee* b23 = Visee(*b, "2", "3");
  TVisee* b34 = Visee(*b, "3", "4");
  ligne(sb->pktpDessinPlani, 2, 10.05, {b12, b12, b23});                 // drawn again
  auto* autreCouleur = ligne(sb->pktpDessinPlani, 3, 10.0, {b12, b12, b23});  // another colour
  auto* nouvelle = ligne(sb->pktpDessinPlani, 2, 20.0, {b23, ancienne, b34, b34});  // new
  texte(sb->pktpDessinPlani, "T1", 5.05, b12);  // drawn again
  texte(sb->pktpDessinPlani, "T2", 5.0, b12);   // new
  coupe(sb->pktpCoupesPlani, Station(*b, "2"), 1.5, b12);                 // equal
  auto* autreCoupe = coupe(sb->pktpCoupesPlani, Station(*b, "2"), 1.6, b12);  // elsewhere
  // The same line in the elevation sketch is another drawing.
  ligne(sb->pktpDessinAltiOr, 2, 0, {b12, b12, b23});

  formats::NettoieCroquisMaj(*b, *a);

  struct Cas {
    const char* nom;
    int obtenu, attendu;
  };
  const Cas cas[] = {
      {"lignes du plan", sb->pktpDessinPlani.LesMultiPoints.Count(), 2},
      {"textes du plan", sb->pktpDessinPlani.LesTextes.Count(), 1},
      {"coupes du plan", sb->pktpCoupesPlani.Count(), 1},
      {"lignes de l'élévation", sb->pktpDessinAltiOr.LesMultiPoints.Count(), 1},
      {"points de la ligne d'une autre couleur", autreCouleur->Points.Count(), 3},
      {"points de la nouvelle ligne", nouvelle->Points.Count(), 3},
  };
  for (const Cas& c : cas) EXPECT_EQ(c.obtenu, c.attendu) << c.nom;
  EXPECT_EQ(sb->pktpDessinPlani.LesTextes.First()->UnTexte, "T2");
  EXPECT_EQ(sb->pktpCoupesPlani.First(), autreCoupe);
  // Re-tied to the equivalent shots; the new shot's points kept.
  EXPECT_EQ(nouvelle->LePointDessin(0)->VisRefDessin, Visee(*a, "2", "3"));
  EXPECT_EQ(nouvelle->LePointDessin(1)->VisRefDessin, b34);
  EXPECT_EQ(autreCouleur->LePointDessin(0)->VisRefDessin, Visee(*a, "1", "2"));
  EXPECT_EQ(autreCoupe->PointDeCoupe->VisRefDessin, Visee(*a, "1", "2"));
  for (TVisee* v : b->Visees) v->ViseeEquiv = nullptr;
}

// A line style used by an imported drawing arrives with its texture; an
// unused one does not, nor does a style the open library has already.
TEST(ImportCavites, StylesEtTextures) {
  Ouvert o;
  ASSERT_TRUE(o.Importe("a.th", Th("a", {"0 1 5.00 10 0", "1 2 4.00 40 5"})));
  drawing::tListeMtf* ouverte = drawing::Dessin().ListesMtfReseau;
  ASSERT_NE(ouverte, nullptr);
  const int traits = ouverte->ListeTraits.Count(), textures = ouverte->ListeTextures.Count();
  const std::string doc = o.Dossier.Fichier("styles.cav");
  {
    TReseau autre;
    autre.CreeCaviteSurface();
    EcritTexte(o.Dossier.Fichier("b.th"), Th("b", {"0 1 3.00 100 0", "1 2 2.00 140 5"}));
    TCavite* b = o.ImporteFichier(o.Dossier.Fichier("b.th"), &autre);
    ASSERT_NE(b, nullptr);
    drawing::tListeMtf* bib = drawing::Dessin().ListesMtfReseau;
    ASSERT_NE(bib, ouverte);
    const auto texture = [&](const std::string& nom, int32_t densite) {
      auto t = std::make_unique<drawing::tTexture>();
      t->DesignMotif = nom;
      t->TypeTexture = drawing::TextureCailloutis;
      t->Densite = densite;
      t->TailleMax = 33;
      return static_cast<drawing::tTexture*>(bib->ListeTextures.AjouteMotif(std::move(t)));
    };
    const auto style = [&](const std::string& nom, uint32_t couleur, drawing::tTexture* t) {
      auto s = std::make_unique<drawing::TObjetTrait>();
      s->DesignMotif = nom;
      s->CouleurPlume = couleur;
      s->EpaisseurPlume = 7;
      s->FixeTexture(t);
      return bib->ListeTraits.AjouteMotif(std::move(s));
    };
    drawing::TObjetMotifdeBase* utilise = style("Paroi importée", 0xABCDEF, texture("Grains rares", 777));
    style("Paroi inutile", 0x123456, texture("Grains inutiles", 555));
    auto l = std::make_unique<drawing::TObjetDonneesBasique>();
    l->MotifDessin = utilise;
    l->AjoutePointDessin(false, 1, 1)->VisRefDessin = b->LaVisee(0);
    l->AjoutePointDessin(false, 2, 2)->VisRefDessin = b->LaVisee(1);
    drawing::AnnexeDessin(b)->LeDessinPlani->ListeDonneesDessin.AjouteDonneesDessin(std::move(l));
    ASSERT_TRUE(Ouvert::Enregistre(autre, doc));
  }
  o.R->Active();
  // The pattern manager's read: the other library's textures, and its
  // entries the open library lacks; the document is not modified.
  {
    survey::Document().DocumentModifie = false;
    drawing::tListeMtf resultat;
    const int texturesResultat = resultat.ListeTextures.Count();
    ASSERT_TRUE(formats::LitMotifsAutreReseau(doc, *ouverte, resultat));
    EXPECT_FALSE(survey::Document().DocumentModifie);
    EXPECT_EQ(drawing::Dessin().ListesMtfReseau, ouverte);
    std::vector<std::string> styles;
    for (const drawing::TObjetMotifdeBase* m : resultat.ListeTraits) styles.push_back(m->DesignMotif);
    EXPECT_NE(std::find(styles.begin(), styles.end(), "Paroi importée"), styles.end());
    EXPECT_NE(std::find(styles.begin(), styles.end(), "Paroi inutile"), styles.end());
    EXPECT_GE(resultat.ListeTextures.Count(), texturesResultat + 2);
  }
  ASSERT_EQ(o.R->NombreCavites(), 2);
  ASSERT_TRUE(formats::ImporteCavitesReseau(doc));
  ASSERT_EQ(o.R->NombreCavites(), 3);
  EXPECT_EQ(drawing::Dessin().ListesMtfReseau, ouverte);
  ASSERT_EQ(ouverte->ListeTraits.Count(), traits + 1);
  ASSERT_EQ(ouverte->ListeTextures.Count(), textures + 1);
  auto* arrive = dynamic_cast<drawing::TDefObjetTrait*>(ouverte->ListeTraits.Last());
  ASSERT_NE(arrive, nullptr);
  EXPECT_EQ(arrive->DesignMotif, "Paroi importée");
  EXPECT_EQ(arrive->UneTexture, ouverte->ListeTextures.Last());
  EXPECT_EQ(arrive->ListeProprio, &ouverte->ListeTraits);
  EXPECT_EQ(ouverte->ListeTextures.Last()->DesignMotif, "Grains rares");
  const auto& lignes = drawing::AnnexeDessin(o.R->Cavites.Last())->LeDessinPlani->ListeDonneesDessin.LesMultiPoints;
  ASSERT_EQ(lignes.Count(), 1);
  EXPECT_EQ(lignes.First()->MotifDessin, arrive);
  // Imported once more: the style is the open library's now, nothing new.
  ASSERT_TRUE(formats::ImporteCavitesReseau(doc));
  EXPECT_EQ(ouverte->ListeTraits.Count(), traits + 1);
  EXPECT_EQ(ouverte->ListeTextures.Count(), textures + 1);
  EXPECT_EQ(drawing::AnnexeDessin(o.R->Cavites.Last())->LeDessinPlani->ListeDonneesDessin.LesMultiPoints.First()->MotifDessin,
            arrive);
  // The document is saved and read again whole.
  const std::string copie = o.Dossier.Fichier("copie.cav");
  ASSERT_TRUE(Ouvert::Enregistre(*o.R, copie));
}

// A projected section of another document over two caves: the first cave's
// shots take the open network's shots, the candidates then carry over to the
// second cave, which finds none left.
TEST(Appariement, CoupeProjetee) {
  Ouvert o;
  const std::vector<std::string> base = {"0 1 5.00 10 0", "1 2 4.00 40 5", "2 3 6.00 80 -5", "3 4 3.00 120 2"};
  TCavite* a = o.Importe("a.th", Th("a", base));
  ASSERT_NE(a, nullptr);
  EcritTexte(o.Dossier.Fichier("b.th"), Th("b", base));
  EcritTexte(o.Dossier.Fichier("c.th"), Th("c", base));
  TReseau autre;
  autre.CreeCaviteSurface();
  TCavite* b = o.ImporteFichier(o.Dossier.Fichier("b.th"), &autre);
  TCavite* c = o.ImporteFichier(o.Dossier.Fichier("c.th"), &autre);
  ASSERT_TRUE(b && c);
  autre.CalculeReseau();
  o.R->Active();
  o.R->CalculeReseau();
  drawing::TDonneesCoupeLong* coupe = drawing::AnnexeDessin(b)->LesCoupesLong.AjouteDonneeCoupe(
      foundation::TTypeDeDessin::tddAltiProj, drawing::TViseesDeRef(&b->Visees), true, "projetée");
  ASSERT_NE(coupe, nullptr);
  for (TCavite* k : {b, c})
    for (TVisee* v : k->Visees) coupe->AjouteViseeCoupe(v);
  formats::AppareilleCoupeProjetee(*coupe);
  ASSERT_EQ(coupe->ListeCavitesCoupe.size(), 2u);
  int bApparies = 0, cApparies = 0;
  for (const TVisee* v : b->Visees) bApparies += v->ViseeEquiv && a->EstViseeDeLaCavite(v->ViseeEquiv) ? 1 : 0;
  for (const TVisee* v : c->Visees) cApparies += v->ViseeEquiv ? 1 : 0;
  EXPECT_EQ(bApparies, Jambes(*b));
  EXPECT_EQ(cApparies, 0);
  for (TVisee* v : a->Visees) v->ViseeEquiv = nullptr;
  for (TVisee* v : b->Visees) v->ViseeEquiv = nullptr;
}

}  // namespace
