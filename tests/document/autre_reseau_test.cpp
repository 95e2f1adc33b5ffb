// Import from another document, the comparison of two caves and the update
// of a cave from a field notebook: the second-document frame, the
// equivalence lists, the shot pairing and its report, against Therion's own
// computation of a real TopoDroid export.
#include <gtest/gtest.h>

#include <algorithm>
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
#include "drawing/elements_dessin.h"
#include "drawing/point_dessin.h"
#include "editor/image_notes.h"
#include "formats/contexte_formats.h"
#include "formats/import/autre_reseau/appariement.h"
#include "formats/import/autre_reseau/cadre_autre_reseau.h"
#include "formats/import/autre_reseau/import_cavites.h"
#include "formats/import/autre_reseau/maj_cavite.h"
#include "formats/import/import_autres.h"
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
std::string Th(const std::string& nom, const std::vector<std::string>& lignes) {
  std::string t = "survey " + nom + "\n  centerline\n    data normal from to length compass clino\n";
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

}  // namespace
