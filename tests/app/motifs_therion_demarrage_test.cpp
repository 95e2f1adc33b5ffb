// The "Motifs Th2" setting at start-up: the pattern file it names goes into
// the Therion set, the library that patterns of origin 1 (the Therion
// imports) are looked up in; a file that cannot be read is reported, leaves
// the set as built and is dropped from the settings.
#include <gtest/gtest.h>

#include <string>

#include "app/application.h"
#include "app/commun/config_generale.h"
#include "app/commun/fichier_ini.h"
#include "drawing/contexte_motifs.h"
#include "drawing/liste_motifs_base.h"
#include "drawing/liste_mtf.h"
#include "drawing/motifs_therion.h"
#include "drawing/objet_donnees_basique.h"
#include "tests/app/outils_fenetre.h"
#include "tests/support/dossier_temp.h"

using namespace app;

namespace {

// The settings file naming the Therion pattern file, read as at start-up.
void LitReglages(const testsupport::DossierTemp& dossier, const std::string& motifs) {
  TFichierIni ini;
  ini.EcritTexte("Motifs Th2", "Fichier par défaut", motifs);
  const std::string chemin = dossier.Fichier("gravelune.ini");
  ASSERT_TRUE(ini.Enregistre(chemin));
  LitConfigGenerale(chemin);
  ASSERT_EQ(Config().FichierMotifsTh2Defaut, motifs);
}

}  // namespace

TEST(MotifsTherionDemarrage, LeFichierDuReglageRemplitLeJeuTherion) {
  essai::Gardes g;
  testsupport::DossierTemp dossier;
  InstalleLiaisonsApplication();
  // A small pattern file: the Therion set whose wall style is renamed and
  // recoloured.
  auto fichier = drawing::CreeListesMtfTherion();
  fichier->UnTrait(0)->DesignMotif = "paroi-essai";
  fichier->UnTrait(0)->CouleurPlume = 0x123456;
  const std::string mtf = dossier.Fichier("therion-essai.mtf");
  ASSERT_TRUE(drawing::EcritFichierMtf(mtf, *fichier));
  g.dialogues.Clear();
  drawing::tListeMtf& therion = *drawing::Motifs().ListesMtfTherion;
  ASSERT_EQ(therion.UnTrait(0)->DesignMotif, "wall");

  LitReglages(dossier, mtf);
  ChargeMotifsDemarrage();
  EXPECT_TRUE(g.dialogues.Messages().empty());
  EXPECT_EQ(Config().FichierMotifsTh2Defaut, mtf);
  ASSERT_EQ(drawing::Motifs().ListesMtfTherion.get(), &therion);
  EXPECT_EQ(therion.UnTrait(0)->DesignMotif, "paroi-essai");
  EXPECT_EQ(therion.UnTrait(0)->CouleurPlume, 0x123456u);
  // The stored references into the Therion set (origin 1) find the loaded style.
  EXPECT_EQ(drawing::OrigineMotif(therion.UnTrait(0)), 1);
  drawing::TListeMotifsBase* traits = drawing::ListeDesMotifs(1, drawing::TGenreMotifElement::Trait, false, 511);
  ASSERT_NE(traits, nullptr);
  EXPECT_EQ(traits->LeMotifDeBase(0), therion.UnTrait(0));
}

TEST(MotifsTherionDemarrage, FichierIlisibleSignaleEtOublie) {
  essai::Gardes g;
  testsupport::DossierTemp dossier;
  InstalleLiaisonsApplication();
  drawing::tListeMtf& therion = *drawing::Motifs().ListesMtfTherion;
  const int traits = therion.ListeTraits.Count();
  for (const std::string& nom : {dossier.Fichier("absent.mtf"), dossier.Fichier("pas-un-mtf.mtf")}) {
    SCOPED_TRACE(nom);
    if (nom.ends_with("pas-un-mtf.mtf")) testsupport::EcritOctets(nom, "ceci n'est pas un fichier de motifs");
    g.dialogues.Clear();
    LitReglages(dossier, nom);
    ChargeMotifsDemarrage();
    EXPECT_TRUE(Config().FichierMotifsTh2Defaut.empty());
    EXPECT_EQ(therion.ListeTraits.Count(), traits);
    EXPECT_EQ(therion.UnTrait(0)->DesignMotif, "wall");
    if (nom.ends_with("absent.mtf")) {
      EXPECT_EQ(g.dialogues.Messages(),
                std::vector<std::string>{"Le fichier " + nom + " n'existe pas ou a été déplacé. Chargement impossible"});
    }
  }
}
