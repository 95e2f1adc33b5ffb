// Pattern entries and lists: selection, kind, SVG names, stream form with and
// without categories, comparison and creation of entries.
#include <gtest/gtest.h>

#include "drawing/fonte.h"
#include "drawing/objet_trait.h"
#include "drawing/ports_motifs.h"
#include "drawing/texture.h"
#include "tests/drawing/outils_motifs.h"

using namespace drawing;
using foundation::TFluxMemoire;
using testmotifs::Niveau;

namespace {

void Ajoute(TListeMotifsBase& l, const std::string& nom) {
  auto m = l.CreeMotif();
  m->DesignMotif = nom;
  l.AjouteMotif(std::move(m));
}

}  // namespace

TEST(ListeMotifs, GenreEtSelection) {
  TListeMotifs l(foundation::ClasseDe<tMotifRempli>(), TTypeMotif::tmRempli);
  EXPECT_EQ(l.TypeMotifListe(), TTypeMotif::tmRempli);
  EXPECT_EQ(l.MotifSelecte(), nullptr);
  // A list answers the kind of its first entry.
  auto t = std::make_unique<TObjetTrait>();
  l.AjouteMotif(std::move(t));
  Ajoute(l, "b");
  Ajoute(l, "c");
  EXPECT_EQ(l.TypeMotifListe(), TTypeMotif::tmTrait);
  EXPECT_EQ(l.MotifSelecte(), nullptr);
  l.UnObjet(0)->Selecte = true;
  l.UnObjet(1)->Selecte = true;
  EXPECT_EQ(l.MotifSelecte(), l.UnObjet(1)) << "the last selected entry";
  l.SetMotifSelecte(l.UnObjet(2));
  EXPECT_FALSE(l.UnObjet(0)->Selecte);
  EXPECT_FALSE(l.UnObjet(1)->Selecte);
  EXPECT_EQ(l.MotifSelecte(), l.UnObjet(2));
}

TEST(ListeMotifs, NomsSVGEtMots) {
  TListeMotifs l(foundation::ClasseDe<tMotifRempli>(), TTypeMotif::tmRempli);
  Ajoute(l, "a");
  Ajoute(l, "b");
  l.UnObjet(1)->Utilise = true;
  l.NommeMotifsSVG();
  EXPECT_EQ(l.UnObjet(0)->NomMotifSVG, "rempli_0");
  EXPECT_EQ(l.UnObjet(1)->NomMotifSVG, "rempli_1");
  EXPECT_FALSE(l.UnObjet(1)->Utilise);
  EXPECT_EQ(NomTypeMotif(TTypeMotif::tmNord), "flèche nord");
  EXPECT_EQ(NomTypesMotif(TTypeMotif::tmFonte), "types d'écritures");
  EXPECT_STREQ(PrefixeMotifSVG(TTypeMotif::tmFonte), "fonte");
  TGroupeMotifs g{TTypeMotif::tmTexture, TTypeMotif::tmRempli};
  EXPECT_EQ(g.Bits_(), 5);
}

TEST(ListeMotifs, Verrous) {
  TListeTextures l;
  l.InitDefaut();
  Ajoute(l, "quatre");
  l.UnObjet(3)->SetVerrou(true);
  l.InitCalculVerrous();
  EXPECT_TRUE(l.UnObjet(0)->GetVerrou());
  EXPECT_TRUE(l.UnObjet(2)->VerrouPlan && l.UnObjet(2)->VerrouAlti);
  EXPECT_FALSE(l.UnObjet(3)->GetVerrou());
  l.UnObjet(1)->SelectionConcepteur = true;
  l.RazVerrou();
  EXPECT_FALSE(l.UnObjet(0)->GetVerrou());
  EXPECT_FALSE(l.UnObjet(1)->SelectionConcepteur);
}

// The stream form of a list at the levels that have categories and those
// that do not.
TEST(ListeMotifs, FluxAvecEtSansCategories) {
  TListeTextures l;
  l.InitDefaut();
  TCategorieMotifs* eau = l.AjouteCategorie("Eau");
  l.AjouteCategorie("Sol");
  l.UnObjet(1)->UneCategorie = eau;
  TFluxMemoire f;
  ASSERT_TRUE(l.EcritListe(f));
  // 2 names, then 3 entries each with its category index.
  const std::string& o = f.Octets();
  EXPECT_EQ(testmotifs::Hex(o.substr(0, 4)), "02 00 00 00");
  EXPECT_EQ(l.UnObjet(0)->IndexCategorie, -1);
  EXPECT_EQ(l.UnObjet(1)->IndexCategorie, 0);
  for (TObjetMotifdeBase* m : l) EXPECT_EQ(m->CodeOrigineMotif, 0);

  {
    Niveau n(511);
    TListeTextures lue;
    f.PlaceA(0);
    ASSERT_TRUE(lue.LitListe(f));
    EXPECT_EQ(f.Restant(), 0u);
    ASSERT_EQ(lue.ListeCategories.size(), 2u);
    EXPECT_EQ(lue.NomCategorie(1), "Sol");
    EXPECT_EQ(lue.UnObjet(1)->UneCategorie, lue.LaCategorie(0));
    EXPECT_EQ(lue.UnObjet(0)->UneCategorie, nullptr);
    EXPECT_EQ(lue.UnObjet(2)->ListeProprio, &lue);
    lue.CreeListeCategories();
    EXPECT_EQ(lue.LaCategorie(0)->Count(), 1);
    EXPECT_EQ(lue.CatNonDefinie.Count(), 2);
    EXPECT_EQ(lue.CatNonDefinie.UnNomCategorie, "Non définie");
  }
  {
    // Level 225: no names, no category index in the entries.
    Niveau n(225);
    TFluxMemoire g;
    g.EcritInteger(1);
    foundation::EcritChaineA(g, "Vieux");
    for (int32_t v : {1, 0, 100, 0, 10, 1}) g.EcritInteger(v);
    g.PlaceA(0);
    TListeTextures lue;
    ASSERT_TRUE(lue.LitListe(g));
    EXPECT_EQ(g.Restant(), 0u);
    EXPECT_EQ(lue.UnObjet(0)->DesignMotif, "Vieux");
    EXPECT_TRUE(lue.ListeCategories.empty());
  }
}

TEST(ListeMotifs, SansCategorieLesIndexRestent) {
  TListeTextures l;
  l.InitDefaut();
  l.UnObjet(0)->IndexCategorie = 4;
  TFluxMemoire f;
  ASSERT_TRUE(l.EcritListe(f));
  EXPECT_EQ(l.UnObjet(0)->IndexCategorie, 4) << "no category: the index keeps its value";
  Niveau n(511);
  f.PlaceA(0);
  TListeTextures lue;
  ASSERT_TRUE(lue.LitListe(f));
  EXPECT_EQ(lue.UnObjet(0)->UneCategorie, nullptr);
}

TEST(ListeMotifs, IndexDeCategorieHorsListe) {
  TListeTextures l;
  l.InitDefaut();
  l.AjouteCategorie("Eau");
  TFluxMemoire f;
  ASSERT_TRUE(l.EcritListe(f));
  // Patch the first entry's category index (after the names, the count and
  // the name "Sable") to 3.
  std::string o = f.Octets();
  const size_t position = 4 + 4 + 3 + 4 + 4 + 5;
  ASSERT_EQ(testmotifs::Hex(o.substr(position, 4)), "FF FF FF FF");
  o[position] = 3;
  o[position + 1] = o[position + 2] = o[position + 3] = 0;
  Niveau n(511);
  TFluxMemoire g(o);
  TListeTextures lue;
  EXPECT_FALSE(lue.LitListe(g));
}

TEST(ListeMotifs, NombreDeCategoriesDemesure) {
  Niveau n(511);
  TFluxMemoire f;
  f.EcritInteger(0x7FFFFFFF);
  f.PlaceA(0);
  TListeTextures lue;
  EXPECT_FALSE(lue.LitListe(f));
}

TEST(ListeMotifs, CreeListeDiffEtTransfere) {
  TListeTextures ici, source, resultat;
  ici.InitDefaut();
  source.InitDefaut();
  Ajoute(source, "Nouvelle");
  static_cast<tTexture*>(source.UnObjet(3))->Densite = 7;
  TCategorieMotifs* cat = source.AjouteCategorie("Sol");
  source.UnObjet(3)->UneCategorie = cat;
  ici.CreeListeDiff(source, resultat);
  ASSERT_EQ(resultat.Count(), 1);
  EXPECT_EQ(resultat.UnObjet(0)->DesignMotif, "Nouvelle");
  EXPECT_EQ(resultat.UnObjet(0)->UneCategorie, cat) << "the copy keeps the source's category object";
  EXPECT_EQ(resultat.LaCategorie(0), cat);
  EXPECT_TRUE(source.ListeCategories.empty());
  EXPECT_EQ(source.UnObjet(3)->UneCategorie, nullptr);

  // Names are compared without regard to case.
  TListeFontes fontesIci, fontesSource, fontesResultat;
  fontesIci.InitDefaut();
  fontesSource.InitDefaut();
  fontesSource.UnObjet(9)->DesignMotif = "TITRE";
  fontesSource.UnObjet(10)->DesignMotif = "Titre2";
  fontesIci.CreeListeDiff(fontesSource, fontesResultat);
  ASSERT_EQ(fontesResultat.Count(), 1);
  EXPECT_EQ(fontesResultat.UnObjet(0)->DesignMotif, "Titre2");

  // TransfereListe replaces everything, even entries equivalent to the source's.
  TListeTextures cible;
  cible.InitDefaut();
  tTexture* ancienne = static_cast<tTexture*>(cible.UnObjet(0));
  cible.TransfereListe(source);
  EXPECT_EQ(cible.Count(), source.Count());
  for (TObjetMotifdeBase* m : cible) EXPECT_NE(m, ancienne);
}

TEST(ListeMotifs, AjoutMotifParLEditeur) {
  drawing::GardePortsMotifs garde;
  int modifications = 0;
  Ports().DocumentModifie = [&] { ++modifications; };
  TListeFontes l;
  l.InitDefaut();
  TCategorieMotifs* cat = l.AjouteCategorie("Titres");
  l.UnObjet(9)->UneCategorie = cat;
  l.SetMotifSelecte(l.UnObjet(9));

  // Cancelled: nothing changes.
  Ports().EditeMotif = [](TObjetMotifdeBase&) { return false; };
  EXPECT_FALSE(l.AjoutMotif(true));
  EXPECT_EQ(l.Count(), 11);
  EXPECT_EQ(l.MotifSelecte(), l.UnObjet(9));
  EXPECT_EQ(modifications, 0);

  // Confirmed clone: "-1" appended, category of the selection, selected.
  std::string vu;
  Ports().EditeMotif = [&](TObjetMotifdeBase& m) {
    vu = m.DesignMotif;
    EXPECT_FALSE(m.GetVerrou());
    return true;
  };
  ASSERT_TRUE(l.AjoutMotif(true));
  EXPECT_EQ(vu, "Titre-1");
  ASSERT_EQ(l.Count(), 12);
  EXPECT_EQ(l.UnObjet(11)->UneCategorie, cat);
  EXPECT_EQ(l.MotifSelecte(), l.UnObjet(11));
  EXPECT_FALSE(l.UnObjet(9)->Selecte);
  EXPECT_EQ(modifications, 1);

  // Cloning needs a selection.
  l.DeSelectTout();
  EXPECT_FALSE(l.AjoutMotif(true));
  EXPECT_TRUE(l.AjoutMotif(false));
  EXPECT_EQ(l.UnObjet(12)->DesignMotif, "");
}

TEST(ListeMotifs, Categories) {
  TListeTextures l;
  l.InitDefaut();
  TCategorieMotifs* a = l.AjouteCategorie("A");
  TCategorieMotifs* b = l.AjouteCategorie("B");
  l.UnObjet(0)->UneCategorie = a;
  l.UnObjet(1)->UneCategorie = b;
  l.UnObjet(2)->UneCategorie = a;
  l.CreeListeCategories();
  EXPECT_EQ(a->Count(), 2);
  EXPECT_EQ(a->LeMotifDeBase(1), l.UnObjet(2));
  l.SupprimeCategorie(a);
  EXPECT_EQ(l.ListeCategories.size(), 1u);
  EXPECT_EQ(l.UnObjet(0)->UneCategorie, nullptr);
  EXPECT_EQ(l.UnObjet(1)->UneCategorie, b);
  // An entry pointing at a category of another list joins the undefined one.
  TCategorieMotifs etrangere("X", TTypeMotif::tmTexture);
  l.UnObjet(2)->UneCategorie = &etrangere;
  l.CreeListeCategories();
  EXPECT_EQ(l.UnObjet(2)->UneCategorie, nullptr);
  EXPECT_EQ(l.CatNonDefinie.Count(), 2);
  EXPECT_EQ(l.LaCategorie(0)->Count(), 1);
  l.RAZ();
  EXPECT_TRUE(l.Vide());
  EXPECT_TRUE(l.ListeCategories.empty());
}
