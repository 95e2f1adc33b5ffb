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

}  // namespace
