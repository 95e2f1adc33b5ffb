// The work behind the window that imports a chosen selection of one kind:
// the chosen entries moved in list order with their categories (the current
// one, or by name, reused or created) and textures (re-pointed or brought
// along), the others left in the difference library; before the window, the
// file dialog and nothing to show when nothing is missing.  The pattern file
// is tests/drawing/fixtures/import_511.mtf (see fabrique_mtf.py).
#include <gtest/gtest.h>

#include <algorithm>

#include "drawing/liste_mtf.h"
#include "tests/drawing/outils_import_motifs.h"
#include "views/import_motifs_choisis.h"

using drawing::TListeMotifsBase;
using drawing::TObjetMotifdeBase;
using drawing::TTypeMotif;
using drawing::tListeMtf;
using namespace testimport;
using namespace views;

// The selection import: the chosen entries in list order, into the current
// category or, with the categories, into the destination's of the same name
// (reused or created; none for the undefined one); the others stay in the
// difference library; textures re-pointed or brought along.
TEST(ImportMotifsChoisis, CategoriesEtTextures) {
  struct Cas {
    const char* nom;
    TTypeMotif type;
    std::vector<std::string> choisis;
    bool categories;
    bool categorieCourante;  // the destination's "Mes fontes" / "Mes remplis" as current category
    std::vector<std::string> arrives, categoriesArrivees, categoriesListe;
    std::vector<std::string> textures;
  };
  const std::vector<std::string> texturesDefaut = {"Sable", "Argile", "Graviers"};
  const Cas cas[] = {
      {"fontes dans la catégorie courante", TTypeMotif::tmFonte, {"Légende", "Cote"}, false, true,
       {"Légende", "Cote"}, {"Mes fontes", "Mes fontes"}, {"Mes fontes", "Textes"}, texturesDefaut},
      {"fontes sans catégorie courante", TTypeMotif::tmFonte, {"Cote", "Légende"}, false, false,
       {"Légende", "Cote"}, {"-", "-"}, {"Mes fontes", "Textes"}, texturesDefaut},
      {"fontes avec leurs catégories", TTypeMotif::tmFonte, {"Légende", "Cote"}, true, true,
       {"Légende", "Cote"}, {"Textes", "-"}, {"Mes fontes", "Textes"}, texturesDefaut},
      {"une fonte sur deux", TTypeMotif::tmFonte, {"Cote"}, true, false, {"Cote"}, {"-"}, {"Mes fontes", "Textes"},
       texturesDefaut},
      {"remplis avec une catégorie créée", TTypeMotif::tmRempli, {"Sable fin", "Glace"}, true, false,
       {"Sable fin", "Glace"}, {"Sols", "-"}, {"Mes remplis", "Sols"}, {"Sable", "Argile", "Graviers", "Glace"}},
      {"rempli à la texture du document", TTypeMotif::tmRempli, {"Sable fin"}, false, true, {"Sable fin"},
       {"Mes remplis"}, {"Mes remplis"}, texturesDefaut},
      {"rien de choisi", TTypeMotif::tmRempli, {}, true, false, {}, {}, {"Mes remplis"}, texturesDefaut},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    Environnement env;
    auto document = Defaut();
    document->ListeFontes.AjouteCategorie("Mes fontes");
    document->ListeFontes.AjouteCategorie("Textes");
    document->ListeRemplis.AjouteCategorie("Mes remplis");
    TListeMotifsBase& arrivee = *document->ListeMotif[static_cast<size_t>(c.type)];
    const int avant = arrivee.Count();
    drawing::TCategorieMotifs* courante = c.categorieCourante ? arrivee.LaCategorie(0) : nullptr;
    std::vector<std::string> restent;
    size_t proposes = 0;
    {
      tListeMtf difference(0);
      ASSERT_TRUE(document->OuvreMtfPourMotifs(Fixture("import_511.mtf"), difference));
      TListeMotifsBase& depart = *difference.ListeMotif[static_cast<size_t>(c.type)];
      proposes = static_cast<size_t>(depart.Count());
      std::vector<TObjetMotifdeBase*> choisis;
      for (TObjetMotifdeBase* m : depart)
        if (std::find(c.choisis.begin(), c.choisis.end(), m->DesignMotif) != c.choisis.end()) choisis.push_back(m);
      ImporteMotifsChoisis(*document, difference, c.type, choisis, c.categories, courante);
      restent = Noms(depart);
    }
    VerifieRattachement(*document);
    EXPECT_EQ(Noms(arrivee, avant), c.arrives);
    std::vector<std::string> categories;
    for (int i = avant; i < arrivee.Count(); ++i) categories.push_back(NomCategorie(arrivee.UnObjet(i)));
    EXPECT_EQ(categories, c.categoriesArrivees);
    EXPECT_EQ(NomsCategories(arrivee), c.categoriesListe);
    EXPECT_EQ(Noms(document->ListeTextures), c.textures);
    EXPECT_EQ(restent.size() + c.arrives.size(), proposes) << "the others stay in the difference library";
    EXPECT_EQ(env.modifications, 1);
  }
}

// The selection import's start: the file dialog with its own filter, then
// nothing to show when the kind has nothing missing.
TEST(ImportMotifsChoisis, Preparation) {
  struct Cas {
    TTypeMotif type;
    bool pret;
    std::vector<std::string> messages;
  };
  const Cas cas[] = {
      {TTypeMotif::tmRempli, true, {}},
      {TTypeMotif::tmSymbole, false, {"il n'y a aucun motif à importer"}},
      {TTypeMotif::tmNord, false, {"il n'y a aucun motif à importer"}},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(drawing::NomTypesMotif(c.type));
    Environnement env;
    auto document = Defaut();
    tListeMtf difference(0);
    env.dialogues.QueueFile(Fixture("import_511.mtf"));
    EXPECT_EQ(PrepareImportMotifs(*document, c.type, difference), c.pret);
    EXPECT_EQ(env.dialogues.Log().front().options.Filter, "cavités (*.cav) ou motifs (*.mtf)|*.cav;*.mtf");
    EXPECT_EQ(env.dialogues.Messages(), c.messages);
  }
  Environnement env;
  auto document = Defaut();
  tListeMtf difference(0);
  env.dialogues.QueueFile(std::nullopt);
  EXPECT_FALSE(PrepareImportMotifs(*document, TTypeMotif::tmRempli, difference));
  EXPECT_TRUE(env.dialogues.Messages().empty());
}
