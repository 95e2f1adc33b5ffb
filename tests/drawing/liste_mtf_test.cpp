// The pattern library and the .mtf file: header, byte-identical round trips,
// refused headers, truncated files, the live library kept on failure, the
// upgrade of old libraries and the library-wide operations.
#include <gtest/gtest.h>

#include "drawing/contexte_motifs.h"
#include "drawing/liste_mtf.h"
#include "drawing/motifs_therion.h"
#include "drawing/ports_motifs.h"
#include "platform/scripted_dialogs.h"
#include "tests/drawing/outils_motifs.h"
#include "tests/support/dossier_temp.h"

using namespace drawing;
using foundation::TFluxMemoire;
using testmotifs::Hex;
using testmotifs::Niveau;

namespace {

std::string OctetsMtf(tListeMtf& m) {
  TFluxMemoire f;
  EXPECT_TRUE(EcritFluxMtf(f, m));
  return f.Octets();
}

std::string OctetsDocument(tListeMtf& m) {
  TFluxMemoire f;
  EXPECT_TRUE(m.EcritObjet(f, false));
  return f.Octets();
}

std::unique_ptr<tListeMtf> Defaut() {
  auto m = std::make_unique<tListeMtf>(0);
  m->InitDefaut();
  return m;
}

// A library that uses every part of the record: categories, textures used
// by styles and fills, a north arrow with a text, sketch lists.
std::unique_ptr<tListeMtf> Complete() {
  auto m = Defaut();
  TCategorieMotifs* c = m->ListeTraits.AjouteCategorie("Parois");
  m->ListeTraits.UnObjet(1)->UneCategorie = c;
  m->ListeTraits.LeTrait(2)->FixeTexture(m->ListeTextures.LaTexture(1));
  m->ListeFontes.AjouteCategorie("Titres");
  m->ListeFlNord.AjouteMotif(Motifs().FlecheNordGeo->CloneSymbole());
  m->MotifsDTT.AjouteMotif(Motifs().TraitsCroquis[2].CloneTrait());
  m->FontesDTT.AjouteMotif(CreeFonte("croquis", 9));
  m->SymbolesDTT.AjouteMotif(m->UnSymbole(0)->CloneSymbole());
  return m;
}

}  // namespace

TEST(ListeMtf, EnTete) {
  auto m = Defaut();
  const std::string o = OctetsMtf(*m);
  EXPECT_EQ(Hex(o.substr(0, 4)), "13 00 00 00");
  EXPECT_EQ(o.substr(4, 19), "#MTF Version 00511#");
  EXPECT_EQ(EnTeteMtf(), "#MTF Version 00511#");
  // Rows 1-7 only: no sketch list in a pattern file, even of a document's library.
  auto c = Complete();
  TFluxMemoire f;
  ASSERT_TRUE(c->EcritObjet(f, true));
  const std::string mtf = f.Octets();
  EXPECT_LT(mtf.size(), OctetsDocument(*c).size());
  EXPECT_EQ(OctetsDocument(*c).compare(0, mtf.size(), mtf), 0);
}

TEST(ListeMtf, AllerRetourIdentiqueALOctet) {
  struct Cas {
    const char* nom;
    std::function<std::unique_ptr<tListeMtf>()> cree;
    int32_t origine;
  };
  const Cas cas[] = {
      {"bibliothèque par défaut", Defaut, 0},
      {"bibliothèque complète", Complete, 0},
      {"jeu Therion", CreeListesMtfTherion, 1},
  };
  for (const Cas& c : cas) {
    auto m = c.cree();
    const std::string o = OctetsMtf(*m);
    tListeMtf lue(c.origine);
    TFluxMemoire f(o);
    ASSERT_TRUE(LitFluxMtf(f, lue)) << c.nom;
    EXPECT_EQ(OctetsMtf(lue), o) << c.nom;
    // The document record (rows 1-10) too.
    const std::string d = OctetsDocument(*m);
    Niveau n(511);
    tListeMtf doc(c.origine);
    TFluxMemoire g(d);
    ASSERT_TRUE(doc.LitObjet(g, false)) << c.nom;
    EXPECT_EQ(g.Restant(), 0u) << c.nom;
    EXPECT_EQ(OctetsDocument(doc), d) << c.nom;
  }
}

TEST(ListeMtf, OrigineDesEntrees) {
  auto t = CreeListesMtfTherion();
  OctetsDocument(*t);
  for (TListeMotifsBase* l : t->ListeMotif)
    for (TObjetMotifdeBase* m : *l) EXPECT_EQ(m->CodeOrigineMotif, 1) << m->DesignMotif;
  auto d = Defaut();
  OctetsMtf(*d);
  EXPECT_EQ(d->UnTrait(0)->CodeOrigineMotif, 0);
}

TEST(ListeMtf, EnTetesRefuses) {
  struct Cas {
    const char* nom;
    std::string entete;
    std::vector<std::string> messages;
  };
  const std::string ancienne = "Pour lire ce type de fichier prenez une version plus ancienne du logiciel";
  const std::string erreur = "Erreur de fichier - Les motifs, les fontes et les symboles n'ont pas pu être importés";
  const Cas cas[] = {
      {"niveau 150", "#MTF Version 00150#", {ancienne}},
      {"niveau 200", "#MTF Version 00200#", {ancienne}},
      {"minuscule", "#MTF version 00511#", {}},
      {"autre fichier", "Version 1.0/Version511", {}},
      {"chiffres illisibles", "#MTF Version 005x1#", {erreur}},
      {"niveau 512",
       "#MTF Version 00512#",
       {"le fichier que vous voulez ouvrir a été écrit avec une version du logiciel plus récente que celle que "
        "vous utilisez. Téléchargez la dernière version du logiciel pour ouvoir l'ouvrir"}},
  };
  for (const Cas& c : cas) {
    platform::ScriptedDialogs d;
    platform::ScopedDialogs garde(d);
    foundation::NiveauFichier().VersionFichierLue = 321;
    auto m = Defaut();
    const std::string avant = OctetsMtf(*m);
    TFluxMemoire f;
    foundation::EcritChaineA(f, c.entete);
    TFluxMemoire corps(OctetsMtf(*m).substr(23));
    f.Ecrit(corps.Octets().data(), corps.Octets().size());
    f.PlaceA(0);
    EXPECT_FALSE(LitFluxMtf(f, *m)) << c.nom;
    EXPECT_EQ(d.Messages(), c.messages) << c.nom;
    EXPECT_EQ(foundation::NiveauFichier().VersionFichierLue, 321) << c.nom;
    EXPECT_EQ(OctetsMtf(*m), avant) << c.nom;
  }
  foundation::NiveauFichier().VersionFichierLue = 0;
}

// Every truncation fails cleanly and leaves the live library as it was.
TEST(ListeMtf, FichierTronqueAChaqueLongueur) {
  auto source = Complete();
  const std::string o = OctetsMtf(*source);
  auto vivante = Defaut();
  TObjetMotifdeBase* premier = vivante->UnTrait(0);
  const std::string avant = OctetsMtf(*vivante);
  platform::ScriptedDialogs d;
  platform::ScopedDialogs garde(d);
  for (size_t l = 0; l < o.size(); ++l) {
    TFluxMemoire f(o.substr(0, l));
    ASSERT_FALSE(LitFluxMtf(f, *vivante)) << "cut at " << l;
    ASSERT_EQ(vivante->UnTrait(0), premier) << "cut at " << l;
  }
  EXPECT_EQ(OctetsMtf(*vivante), avant);
  EXPECT_EQ(foundation::NiveauFichier().VersionFichierLue, 0);
  // Past the header, each failure says so once.
  EXPECT_EQ(d.Messages().size(), o.size() - 23);
}

TEST(ListeMtf, OctetsCorrompus) {
  // Every byte of a good file set to 0xFF, one at a time: no crash, no huge
  // allocation.  A refused file is reported and leaves the live library as it
  // was, byte for byte.
  auto source = Complete();
  const std::string o = OctetsMtf(*source);
  platform::ScriptedDialogs d;
  platform::ScopedDialogs garde(d);
  auto m = Defaut();
  std::string avant = OctetsMtf(*m);
  size_t refus = 0;
  for (size_t i = 23; i < o.size(); ++i) {
    std::string c = o;
    c[i] = '\xFF';
    TFluxMemoire f(c);
    const size_t messages = d.Messages().size();
    if (!LitFluxMtf(f, *m)) {
      ++refus;
      EXPECT_EQ(d.Messages().size(), messages + 1) << "octet " << i;
      EXPECT_EQ(OctetsMtf(*m), avant) << "octet " << i;
      continue;
    }
    // The library now holds what was read.
    avant = OctetsMtf(*m);
  }
  // Some of the corrupted files are refused (about one in ten).
  EXPECT_GT(refus, 0u);
}

TEST(ListeMtf, FichiersEtMessages) {
  testsupport::DossierTemp dossier;
  platform::ScriptedDialogs d;
  platform::ScopedDialogs garde(d);
  auto m = Complete();
  const std::string nom = dossier.Fichier("motifs.mtf");
  ASSERT_TRUE(EcritFichierMtf(nom, *m));
  EXPECT_EQ(d.Messages().back(), "Les motifs, les fontes et les symboles ont été exportés dans le fichier " + nom);
  EXPECT_EQ(testsupport::LitOctets(nom), OctetsMtf(*m));

  tListeMtf lue(0);
  ASSERT_TRUE(LitFichierMtf(nom, lue));
  EXPECT_EQ(OctetsMtf(lue), OctetsMtf(*m));

  const std::string absent = dossier.Fichier("absent.mtf");
  EXPECT_FALSE(LitFichierMtf(absent, lue));
  EXPECT_EQ(d.Messages().back(), "Le fichier " + absent + " n'existe pas ou a été déplacé. Chargement impossible");

  // A file that cannot be written is reported and the old file is intact.
  const std::string dansRien = dossier.Fichier("pas/de/dossier.mtf");
  EXPECT_FALSE(EcritFichierMtf(dansRien, *m));
  EXPECT_EQ(d.Messages().back(), "Erreur de fichier - Les motifs, les fontes et les symboles n'ont pas pu être exportés");
}

TEST(ListeMtf, CreeListesRio) {
  auto m = Defaut();
  m->ListeRemplis.RAZ();
  // Line styles of an old library: open, closed, closed dressing, textured.
  m->UnTrait(1)->NumMotif = 0;
  m->UnTrait(2)->NumMotif = 0;
  m->UnTrait(2)->CoupePlan = 12;
  m->UnTrait(3)->FixeTexture(m->ListeTextures.LaTexture(0));
  TDefObjetTrait* ferme = m->UnTrait(1);
  m->UnSymbole(2)->EstFlecheN = true;
  m->ListeMotifsSurface.RAZ();
  m->CreeListesRio();
  ASSERT_EQ(m->ListeRemplis.Count(), 2);
  EXPECT_EQ(m->UnRempli(0), ferme) << "the same object moved";
  EXPECT_EQ(ferme->TypeMotif, TTypeMotif::tmRempli);
  EXPECT_EQ(ferme->ListeProprio, &m->ListeRemplis);
  EXPECT_EQ(m->UnRempli(1)->UneTexture, m->ListeTextures.LaTexture(0));
  EXPECT_EQ(m->ListeTraits.Count(), 4);
  EXPECT_EQ(m->UnTrait(1)->CoupePlan, 12) << "the dressing style stays a line style";
  EXPECT_EQ(m->ListeSymboles.Count(), 6);
  ASSERT_EQ(m->ListeMotifsSurface.Count(), 6);
  EXPECT_EQ(m->ListeMotifsSurface.UnObjet(5)->DesignMotif, "Doline");
}

TEST(ListeMtf, VerrousEtMasques) {
  auto m = Defaut();
  for (int i = 0; i < 5; ++i) m->ListeTextures.AjouteMotif(std::make_unique<tTexture>());
  ASSERT_EQ(m->ListeTextures.Count(), 8);
  m->UnTrait(0)->FixeTexture(m->ListeTextures.LaTexture(7));
  m->CalculeVerrousTextures();
  for (int i = 0; i < 8; ++i) EXPECT_EQ(m->ListeTextures.UnObjet(i)->GetVerrou(), i < 6 || i == 7) << i;

  m->FusionneTextures(m->ListeTextures.LaTexture(1), m->ListeTextures.LaTexture(0));
  EXPECT_EQ(m->UnRempli(2)->UneTexture, m->ListeTextures.LaTexture(1));

  EXPECT_FALSE(m->DemasqueTousMotifs());
  m->ListeMotifsSurface.UnObjet(0)->MotifMasque = true;
  EXPECT_FALSE(m->DemasqueTousMotifs()) << "surface symbols are left as they are";
  EXPECT_TRUE(m->ListeMotifsSurface.UnObjet(0)->MotifMasque);
  m->UneFonte(3)->MotifMasque = true;
  EXPECT_TRUE(m->DemasqueTousMotifs());
  EXPECT_FALSE(m->UneFonte(3)->MotifMasque);
  EXPECT_EQ(m->UneFonte(20), nullptr);
  EXPECT_THROW(m->UnTrait(6), std::out_of_range);
}

// Reading into a live library re-points references to the old entries by
// position before they are freed.
TEST(ListeMtf, ReferencesRelogees) {
  drawing::GardePortsMotifs garde;
  auto vivante = Complete();
  TObjetMotifdeBase* ancienTrait = vivante->UnTrait(4);
  TObjetMotifdeBase* ancienneFonte = vivante->UneFonte(10);
  auto svg = std::make_unique<TMotifSVG>();
  svg->Equivalent = static_cast<TObjetTrait*>(vivante->UnTrait(5));
  TMotifSVG* motifSvg = static_cast<TMotifSVG*>(vivante->MotifsSVG.AjouteMotif(std::move(svg)));
  Motifs().TraitParoi.FixeTexture(vivante->ListeTextures.LaTexture(2));

  // The file holds a library with fewer fonts.
  auto autre = Complete();
  autre->ListeFontes.Delete(10);
  const std::string o = OctetsMtf(*autre);

  TObjetMotifdeBase* referenceTrait = ancienTrait;
  TObjetMotifdeBase* referenceFonte = ancienneFonte;
  bool appele = false;
  Ports().RelogeReferences = [&](const TRelogeMotifs& r) {
    appele = true;
    EXPECT_EQ(r.Bibliotheque, vivante.get());
    EXPECT_EQ(referenceTrait->DesignMotif, "Marche/Ressaut") << "the old entries still exist";
    referenceTrait = r.Reloge(referenceTrait);
    referenceFonte = r.Reloge(referenceFonte);
  };
  TFluxMemoire f(o);
  ASSERT_TRUE(LitFluxMtf(f, *vivante));
  EXPECT_TRUE(appele);
  EXPECT_EQ(referenceTrait, vivante->UnTrait(4));
  EXPECT_NE(referenceTrait, ancienTrait);
  EXPECT_EQ(referenceFonte, nullptr) << "beyond the new list";
  EXPECT_EQ(motifSvg->Equivalent, vivante->UnTrait(5));
  EXPECT_EQ(Motifs().TraitParoi.UneTexture, vivante->ListeTextures.LaTexture(2));
  Motifs().TraitParoi.UneTexture = nullptr;
  Motifs().TraitParoi.NumMotif = -1;
  // The sketch lists are not in a pattern file: they are kept.
  EXPECT_EQ(vivante->MotifsDTT.Count(), 1);
  EXPECT_EQ(vivante->UnTrait(0)->ListeProprio, &vivante->ListeTraits);
}

TEST(ListeMtf, LectureEnRemplacementDuDocument) {
  auto vivante = Defaut();
  auto source = Complete();
  const std::string d = OctetsDocument(*source);
  Niveau n(511);
  TFluxMemoire court(d.substr(0, d.size() - 3));
  TObjetMotifdeBase* premier = vivante->UnTrait(0);
  EXPECT_FALSE(vivante->LitObjetEnRemplacement(court, false));
  EXPECT_EQ(vivante->UnTrait(0), premier);
  EXPECT_EQ(vivante->MotifsDTT.Count(), 0);
  TFluxMemoire f(d);
  ASSERT_TRUE(vivante->LitObjetEnRemplacement(f, false));
  EXPECT_EQ(vivante->MotifsDTT.Count(), 1);
  EXPECT_EQ(OctetsDocument(*vivante), d);
}

TEST(ListeMtf, ConfigurationSVG) {
  auto m = Defaut();
  auto s = std::make_unique<TMotifSVG>();
  s->DesignMotif = "trait svg";
  s->epaisseur = 0.5;
  s->Equivalent = static_cast<TObjetTrait*>(m->UnTrait(3));
  m->MotifsSVG.AjouteMotif(std::move(s));
  m->MotifsSVG.AjouteMotif(std::make_unique<TMotifSVG>());
  TFluxMemoire f;
  ASSERT_TRUE(m->EcritConfig(f));
  auto lue = Defaut();
  Niveau n(511);
  f.PlaceA(0);
  ASSERT_TRUE(lue->LitConfig(f));
  ASSERT_EQ(lue->MotifsSVG.Count(), 2);
  auto* r = static_cast<TMotifSVG*>(lue->MotifsSVG.UnObjet(0));
  EXPECT_EQ(r->Equivalent, lue->UnTrait(3));
  EXPECT_EQ(static_cast<TMotifSVG*>(lue->MotifsSVG.UnObjet(1))->Equivalent, nullptr);
  // An equivalent beyond the line styles fails and changes nothing.
  auto petite = std::make_unique<tListeMtf>(0);
  f.PlaceA(0);
  EXPECT_FALSE(petite->LitConfig(f));
  EXPECT_EQ(petite->MotifsSVG.Count(), 0);
}

TEST(ListeMtf, DifferencesEtCompletion) {
  testsupport::DossierTemp dossier;
  platform::ScriptedDialogs d;
  platform::ScopedDialogs garde(d);
  auto fichier = Defaut();
  auto nouvelle = std::make_unique<tTexture>();
  nouvelle->DesignMotif = "Neige";
  nouvelle->Densite = 9;
  tTexture* neige = static_cast<tTexture*>(fichier->ListeTextures.AjouteMotif(std::move(nouvelle)));
  auto rempli = std::make_unique<tMotifRempli>();
  rempli->DesignMotif = "Neige";
  rempli->FixeTexture(neige);
  rempli->UneCategorie = fichier->ListeRemplis.AjouteCategorie("Hiver");
  fichier->ListeRemplis.AjouteMotif(std::move(rempli));
  const std::string nom = dossier.Fichier("f.mtf");
  ASSERT_TRUE(EcritFichierMtf(nom, *fichier));

  auto document = Defaut();
  tListeMtf difference(0);
  ASSERT_TRUE(document->OuvreMtfPourMotifs(nom, difference));
  EXPECT_EQ(difference.ListeTextures.Count(), 4) << "every texture of the file";
  EXPECT_EQ(difference.ListeTraits.Count(), 0);
  ASSERT_EQ(difference.ListeRemplis.Count(), 1);
  auto* copie = static_cast<TDefObjetTrait*>(difference.ListeRemplis.UnObjet(0));
  EXPECT_EQ(copie->UneTexture, difference.ListeTextures.LaTexture(3));
  EXPECT_EQ(copie->UneCategorie, difference.ListeRemplis.LaCategorie(0));
  EXPECT_EQ(difference.ListeSymboles.Count(), 0);
  EXPECT_EQ(difference.ListeFontes.Count(), 0);

  ASSERT_TRUE(document->CompleteListeMotifs(nom, TTypeMotif::tmRempli));
  ASSERT_EQ(document->ListeRemplis.Count(), 4);
  auto* complete = document->UnRempli(3);
  ASSERT_NE(complete->UneTexture, nullptr);
  EXPECT_EQ(document->ListeTextures.IndexOf(complete->UneTexture), 3) << "the texture came along";
  ASSERT_NE(complete->UneCategorie, nullptr);
  EXPECT_EQ(complete->UneCategorie, document->ListeRemplis.LaCategorie(0));
  EXPECT_EQ(document->ListeRemplis.LaCategorie(0)->UnNomCategorie, "Hiver");
  ASSERT_TRUE(document->CompleteListeMotifs(nom, TTypeMotif::tmTexture));
  EXPECT_EQ(document->ListeTextures.Count(), 4) << "nothing missing any more";
}
