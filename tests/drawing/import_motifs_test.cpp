// The merge of a difference library into a library and the imports built on
// it: categories matched by exact name, textures by equivalence, what is
// unused left behind; a drawn surface symbol against the empty default one;
// old pattern files; a file identical to the library; the file chosen and
// how its name picks the reader; nothing left pointing into the freed
// difference library.  The pattern files are
// made by fixtures/fabrique_mtf.py (import_511.mtf: see bibliotheque_import
// there).
#include <gtest/gtest.h>

#include <map>

#include "drawing/import_motifs.h"
#include "drawing/liste_mtf.h"
#include "drawing/ports_motifs.h"
#include "tests/drawing/outils_import_motifs.h"
#include "tests/support/dossier_temp.h"

using namespace drawing;
using namespace testimport;
using foundation::TFluxMemoire;

// The import library into the default one whose line styles have a category
// "eau" and whose fills have a category "Sols".
TEST(FusionMotifs, CategoriesTexturesEtSymbolesDeSurface) {
  Environnement env;
  auto document = Defaut();
  TCategorieMotifs* eau = document->ListeTraits.AjouteCategorie("eau");
  TCategorieMotifs* sols = document->ListeRemplis.AjouteCategorie("Sols");
  std::map<TTypeMotif, int> avant;
  for (const TListeMotifsBase* l : document->ListeMotif) avant[l->fTypeMotif] = l->Count();
  tTexture* sable = document->ListeTextures.LaTexture(0);
  {
    tListeMtf difference(0);
    ASSERT_TRUE(document->OuvreMtfPourMotifs(Fixture("import_511.mtf"), difference));
    FusionneListesMtf(*document, difference);
    EXPECT_EQ(env.modifications, 1);
  }
  // The difference library is freed: nothing points into it.
  VerifieRattachement(*document);

  struct Cas {
    TTypeMotif type;
    std::vector<std::string> arrives;     // appended, in order
    std::vector<std::string> categories;  // of each arrived entry ("-": none)
    std::vector<std::string> categoriesListe;
  };
  const Cas cas[] = {
      // "Eau" is not "eau": appended, both stay.
      {TTypeMotif::tmTrait, {"Ruisseau"}, {"Eau"}, {"eau", "Eau"}},
      // "Sols" is the document's own; "Vide" holds nothing and stays behind.
      {TTypeMotif::tmRempli, {"Sable fin", "Glace"}, {"Sols", "-"}, {"Sols"}},
      {TTypeMotif::tmSymbole, {}, {}, {}},
      {TTypeMotif::tmNord, {}, {}, {}},
      // The drawn "Gouffre" is not the empty default one; "Grotte" is.
      {TTypeMotif::tmSurface, {"Gouffre"}, {"-"}, {}},
      {TTypeMotif::tmFonte, {"Légende", "Cote"}, {"Textes", "-"}, {"Textes"}},
  };
  for (const Cas& c : cas) {
    const TListeMotifsBase& l = *document->ListeMotif[static_cast<size_t>(c.type)];
    SCOPED_TRACE(NomTypesMotif(c.type));
    EXPECT_EQ(Noms(l, avant[c.type]), c.arrives);
    std::vector<std::string> categories;
    for (int i = avant[c.type]; i < l.Count(); ++i) categories.push_back(NomCategorie(l.UnObjet(i)));
    EXPECT_EQ(categories, c.categories);
    EXPECT_EQ(NomsCategories(l), c.categoriesListe);
  }
  EXPECT_EQ(document->ListeTraits.LaCategorie(0), eau);
  EXPECT_EQ(document->ListeRemplis.UnObjet(avant[TTypeMotif::tmRempli])->UneCategorie, sols);
  EXPECT_EQ(document->ListeMotifsSurface.LeSymbole(avant[TTypeMotif::tmSurface])->LesElements.Count(), 1);

  // "Sable fin" takes the document's "Sable"; "Glace" brings its texture;
  // "Neige" is used by nothing and stays behind.
  EXPECT_EQ(Noms(document->ListeTextures), (std::vector<std::string>{"Sable", "Argile", "Graviers", "Glace"}));
  EXPECT_EQ(document->UnRempli(avant[TTypeMotif::tmRempli])->UneTexture, sable);
  EXPECT_EQ(document->UnRempli(avant[TTypeMotif::tmRempli] + 1)->UneTexture, document->ListeTextures.LaTexture(3));
  EXPECT_EQ(document->ListeTextures.LaTexture(3)->ListeProprio, &document->ListeTextures);

  // Written and read back whole: the texture of "Glace" is the fourth.
  const std::string octets = OctetsDocument(*document);
  tListeMtf relue(0);
  TFluxMemoire f(octets);
  foundation::GardeNiveauFichier niveau;
  foundation::NiveauFichier().VersionFichierLue = 511;
  ASSERT_TRUE(relue.LitObjet(f, false));
  EXPECT_EQ(relue.UnRempli(avant[TTypeMotif::tmRempli] + 1)->NumMotif, 4);
}

// Old files are merged as their upgrade made them: the closed line styles are
// fills, the north arrows out of the symbols; level 225 has no category.
TEST(FusionMotifs, FichiersAnciens) {
  struct Cas {
    int niveau;
    std::vector<std::string> traits, remplis, symboles, nords;
  };
  // Of the file: "Paroi" and the fill "Eau" are the defaults'; "Argile" is a
  // closed style, now a fill; "Habillage" a dressing style, still a style.
  const Cas cas[] = {
      {499, {"Habillage"}, {"Argile"}, {"Flèche"}, {"Nord"}},
      {225, {"Habillage"}, {"Argile"}, {"Flèche"}, {"Nord"}},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE("niveau " + std::to_string(c.niveau));
    Environnement env;
    auto document = Defaut();
    std::map<TTypeMotif, int> avant;
    for (const TListeMotifsBase* l : document->ListeMotif) avant[l->fTypeMotif] = l->Count();
    {
      tListeMtf difference(0);
      ASSERT_TRUE(document->OuvreMtfPourMotifs(Fixture("mtf_" + std::to_string(c.niveau) + ".mtf"), difference));
      FusionneListesMtf(*document, difference);
    }
    VerifieRattachement(*document);
    EXPECT_TRUE(env.dialogues.Messages().empty());
    EXPECT_EQ(Noms(document->ListeTraits, avant[TTypeMotif::tmTrait]), c.traits);
    EXPECT_EQ(Noms(document->ListeRemplis, avant[TTypeMotif::tmRempli]), c.remplis);
    EXPECT_EQ(Noms(document->ListeSymboles, avant[TTypeMotif::tmSymbole]), c.symboles);
    EXPECT_EQ(Noms(document->ListeFlNord, avant[TTypeMotif::tmNord]), c.nords);
    EXPECT_EQ(document->ListeMotifsSurface.Count(), avant[TTypeMotif::tmSurface]) << "the six default names";
    // The fill "Argile" takes the document's equal texture "Argile".
    EXPECT_EQ(document->UnRempli(avant[TTypeMotif::tmRempli])->UneTexture, document->ListeTextures.LaTexture(1));
    EXPECT_EQ(document->ListeTextures.Count(), 3);
    for (const TListeMotifsBase* l : document->ListeMotif) {
      EXPECT_TRUE(l->ListeCategories.empty()) << NomTypesMotif(l->fTypeMotif);
      for (const TObjetMotifdeBase* m : *l) EXPECT_EQ(m->UneCategorie, nullptr) << m->DesignMotif;
    }
  }
}

// A pattern file written from the library adds nothing to it: the library
// record is the same byte for byte.
TEST(FusionMotifs, FichierIdentiqueNAjouteRien) {
  Environnement env;
  testsupport::DossierTemp dossier;
  auto document = Defaut();
  document->ListeTraits.UnObjet(1)->UneCategorie = document->ListeTraits.AjouteCategorie("Parois");
  document->ListeTraits.LeTrait(2)->FixeTexture(document->ListeTextures.LaTexture(1));
  document->ListeFontes.AjouteCategorie("Titres");
  auto nord = std::make_unique<TSymbFlecheN>();
  nord->CopieMotif(*document->UnSymbole(0));
  nord->DesignMotif = "Nord";
  document->ListeFlNord.AjouteMotif(std::move(nord));
  const std::string nom = dossier.Fichier("copie.mtf");
  ASSERT_TRUE(EcritFichierMtf(nom, *document));
  const std::string avant = OctetsDocument(*document);
  env.dialogues.QueueFile(nom);
  ASSERT_TRUE(ImporteMotifsFichier(*document));
  EXPECT_EQ(OctetsDocument(*document), avant);
}

// The file dialog of the whole-file import and the reader its name picks:
// another document for ".cav" in any letter case, a pattern file otherwise.
// A file that cannot be read leaves the library as it was, with the
// reader's message only (ours for a file that is not a pattern file, which
// the reader refuses without a word).
TEST(FusionMotifs, FichierChoisiEtLecteur) {
  testsupport::DossierTemp dossier;
  testsupport::EcritOctets(dossier.Fichier("texte.mtf"), "ceci n'est pas un fichier de motifs");
  const std::string fixture = testsupport::LitOctets(Fixture("import_511.mtf"));
  testsupport::EcritOctets(dossier.Fichier("tronque.mtf"), fixture.substr(0, 100));
  testsupport::EcritOctets(dossier.Fichier("motifs.cav.mtf"), fixture);
  struct Cas {
    std::string nom;
    bool document;                        // read as another document
    bool lu;                              // read (the port answers true)
    std::vector<std::string> messages;
  };
  const std::string absent = dossier.Fichier("absent.mtf");
  const Cas cas[] = {
      {"a.cav", true, true, {}},
      {"B.CAV", true, true, {}},
      {"c.Cav", true, true, {}},
      {"illisible.cav", true, false, {}},
      {Fixture("import_511.mtf"), false, true, {}},
      {absent, false, false, {"Le fichier " + absent + " n'existe pas ou a été déplacé. Chargement impossible"}},
      {dossier.Fichier("texte.mtf"), false, false, {kErreurImport}},
      {dossier.Fichier("tronque.mtf"), false, false, {kErreurImport}},
      {dossier.Fichier("motifs.cav.mtf"), false, true, {}},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    Environnement env;
    std::vector<std::string> lus;
    Ports().LitMotifsAutreReseau = [&](const std::string& chemin, const tListeMtf&, tListeMtf& resultat) {
      lus.push_back(chemin);
      if (chemin == "illisible.cav") return false;
      resultat.ListeFontes.AjouteMotif(CreeFonte("Venue d'ailleurs", 9));
      return true;
    };
    auto document = Defaut();
    const std::string avant = OctetsDocument(*document);
    const int fontes = document->ListeFontes.Count();
    env.dialogues.QueueFile(c.nom);
    EXPECT_EQ(ImporteMotifsFichier(*document), c.lu);
    ASSERT_EQ(env.dialogues.Log().front().event, platform::ScriptedDialogs::Event::Open);
    EXPECT_EQ(env.dialogues.Log().front().options.Filter, "mtf / cav|*.mtf; *.cav");
    EXPECT_EQ(lus, c.document ? std::vector<std::string>{c.nom} : std::vector<std::string>{});
    EXPECT_EQ(env.dialogues.Messages(), c.messages);
    EXPECT_EQ(env.modifications, c.lu ? 1 : 0);
    if (!c.lu) {
      EXPECT_EQ(OctetsDocument(*document), avant);
    } else if (c.document) {
      EXPECT_EQ(Noms(document->ListeFontes, fontes), std::vector<std::string>{"Venue d'ailleurs"});
    }
  }
  // Cancelled: nothing read, nothing said.
  Environnement env;
  auto document = Defaut();
  env.dialogues.QueueFile(std::nullopt);
  EXPECT_FALSE(ImporteMotifsFichier(*document));
  EXPECT_TRUE(env.dialogues.Messages().empty());
  EXPECT_EQ(env.modifications, 0);
}
