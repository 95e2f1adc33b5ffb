// The branch walk, the gallery dialog with its memory file, and the stations
// distributed into the galleries.
#include <gtest/gtest.h>

#include "platform/files.h"
#include "tests/formats/import_test_support.h"

namespace testformats {
namespace {

using formats::ResultatNommeGal;
using formats::TNommeGalDlg;
using formats::TLigneNommeGal;

// Entrance A; a main line 1-4; a branch 10-12 leaving 2; a one-shot spur 3a.
const char* kVisees =
    "A 1 5 0 -10 0 0 0 0 N I * N\r\n"
    "1 2 5 10 -10 0 0 0 0 N I * N\r\n"
    "2 3 5 20 -10 0 0 0 0 N I * N\r\n"
    "3 4 5 30 -10 0 0 0 0 N I * N\r\n"
    "2 10 5 120 0 0 0 0 0 N I * N\r\n"
    "10 11 5 130 0 0 0 0 0 N I * N\r\n"
    "11 12 5 140 0 0 0 0 0 N I * N\r\n"
    "3 3a 2 300 0 0 0 0 0 N I * N\r\n";

struct Lignes {
  std::vector<TLigneNommeGal> vues;
};

TEST(Galeries, BranchesEtNomsParDefaut) {
  ReseauImport r;
  Lignes vu;
  formats::FenetresImport().AfficheNommeGal = [&](TNommeGalDlg& d) {
    vu.vues = d.Lignes;
    EXPECT_EQ(d.TexteOrigine, "Point origine du lever : A");
    EXPECT_FALSE(d.BoutonOrigineVisible);
    return ResultatNommeGal::Ok;
  };
  ASSERT_TRUE(r.Importe(r.Tro(EnTeteTro() + kVisees)));
  ASSERT_EQ(vu.vues.size(), 2u);
  const TLigneNommeGal& l0 = vu.vues[0];
  const TLigneNommeGal& l1 = vu.vues[1];
  EXPECT_EQ(l0.Designation, "Galerie d'entrée");
  EXPECT_EQ(l0.Rattach, "A");
  EXPECT_EQ(l0.Debut, "1");
  EXPECT_EQ(l0.Fin, "4");
  EXPECT_EQ(l1.Designation, "Galerie n° 1");
  EXPECT_EQ(l1.Rattach, "2");
  EXPECT_EQ(l1.Debut, "10");
  EXPECT_EQ(l1.Fin, "12");
  EXPECT_TRUE(l0.Cochee && l1.Cochee);
  TCavite* c = r.Cavite();
  ASSERT_EQ(c->Galeries.Count(), 2);
  EXPECT_EQ(c->Galeries.UnObjet(0)->NomGalerie, "Galerie d'entrée");
  EXPECT_EQ(c->Galeries.UnObjet(1)->NomGalerie, "Galerie n° 1");
  EXPECT_EQ(GalerieDuPoint(r.Station("11")), c->Galeries.UnObjet(1));
  EXPECT_EQ(GalerieDuPoint(r.Station("3a")), c->Galeries.UnObjet(0));
  EXPECT_EQ(GalerieDuPoint(r.Station("4")), c->Galeries.UnObjet(0));
  EXPECT_TRUE(r.Station("3a")->EstAnnexe());
  EXPECT_EQ(c->LaGalerieActive, c->Galeries.First());
  EXPECT_EQ(c->Visees.Count(), 8);
}

TEST(Galeries, MemoireRestaureeAuMemeChemin) {
  ReseauImport r;
  const std::string chemin = r.Tro(EnTeteTro() + kVisees, "memoire.tro");
  r.Dialogues.QueuePrompt(std::string("Réseau nord"));
  formats::FenetresImport().AfficheNommeGal = [](TNommeGalDlg& d) {
    EXPECT_TRUE(d.Renomme(1));
    return ResultatNommeGal::Ok;
  };
  ASSERT_TRUE(r.Importe(chemin));
  EXPECT_EQ(r.Cavite()->Galeries.UnObjet(1)->NomGalerie, "Réseau nord");
  std::string memoire = testsupport::LitOctets(r.Dossier.Fichier("GalCochees.txt"));
  EXPECT_EQ(memoire, foundation::VersWindows1252(chemin + "\r\n1Galerie d'entrée\r\n1Réseau nord\r\n"));
  // Same path again, as proposed: the names come back.
  formats::FenetresImport() = formats::PortsImport();
  ASSERT_TRUE(r.Importe(chemin));
  EXPECT_EQ(r.Cavite()->Galeries.UnObjet(1)->NomGalerie, "Réseau nord");
  // Row 1 unchecked, then the same path: it stays unchecked, one gallery.
  formats::FenetresImport().AfficheNommeGal = [](TNommeGalDlg& d) {
    d.Coche(1, false);
    return ResultatNommeGal::Ok;
  };
  ASSERT_TRUE(r.Importe(chemin));
  formats::FenetresImport().AfficheNommeGal = [](TNommeGalDlg& d) {
    EXPECT_TRUE(d.FichierOK);
    EXPECT_FALSE(d.Cochee(1));
    EXPECT_EQ(d.DesignGal(1), "Réseau nord");
    return ResultatNommeGal::Ok;
  };
  ASSERT_TRUE(r.Importe(chemin));
  EXPECT_EQ(r.Cavite()->Galeries.Count(), 1);
  // Another file ignores the memory: the default names.
  formats::FenetresImport().AfficheNommeGal = [](TNommeGalDlg& d) {
    EXPECT_FALSE(d.FichierOK);
    EXPECT_EQ(d.DesignGal(1), "Galerie n° 1");
    EXPECT_TRUE(d.Cochee(1));
    return ResultatNommeGal::Ok;
  };
  ASSERT_TRUE(r.Importe(r.Tro(EnTeteTro() + kVisees, "autre.tro")));
  EXPECT_EQ(r.Cavite()->Galeries.Count(), 2);
}

TEST(Galeries, GalerieDEntreeObligatoireEtToutDecoche) {
  ReseauImport r;
  formats::FenetresImport().AfficheNommeGal = [](TNommeGalDlg& d) {
    d.Coche(0, false);
    EXPECT_TRUE(d.Cochee(0));
    d.Tout();
    EXPECT_TRUE(d.Cochee(1));
    d.Zero();
    EXPECT_TRUE(d.Cochee(0));
    EXPECT_FALSE(d.Cochee(1));
    EXPECT_FALSE(d.Renomme(1));  // only a checked row is renamed
    return ResultatNommeGal::Ok;
  };
  ASSERT_TRUE(r.Importe(r.Tro(EnTeteTro() + kVisees)));
  ASSERT_EQ(r.Dialogues.Messages().size(), 1u);
  EXPECT_EQ(r.Dialogues.Messages()[0], "La galerie d'entrée doit obligatoirement être individualisée");
  TCavite* c = r.Cavite();
  ASSERT_EQ(c->Galeries.Count(), 1);
  EXPECT_EQ(c->Galeries.First()->NomGalerie, "Galerie d'entrée");
  EXPECT_EQ(r.NombreStations(), 8);  // A is the surface point
  EXPECT_EQ(c->Visees.Count(), 8);
}

TEST(Galeries, ParcoursSuitLesNumerosEtLeDernierCandidat) {
  // At 2 (three shots) the walk goes on to 3 (next number), not to 7; at 5
  // (two shots) it goes on through the other shot whatever its name.
  ReseauImport r;
  Lignes vu;
  formats::FenetresImport().AfficheNommeGal = [&](TNommeGalDlg& d) {
    vu.vues = d.Lignes;
    return ResultatNommeGal::Ok;
  };
  const std::string visees =
      "A 1 5 0 0 0 0 0 0 N I * N\r\n"
      "1 2 5 0 0 0 0 0 0 N I * N\r\n"
      "2 7 5 90 0 0 0 0 0 N I * N\r\n"
      "2 3 5 0 0 0 0 0 0 N I * N\r\n"
      "3 5 5 0 0 0 0 0 0 N I * N\r\n"
      "5 X 5 0 0 0 0 0 0 N I * N\r\n"
      "7 8 5 90 0 0 0 0 0 N I * N\r\n";
  ASSERT_TRUE(r.Importe(r.Tro(EnTeteTro() + visees)));
  ASSERT_EQ(vu.vues.size(), 2u);
  EXPECT_EQ(vu.vues[0].Fin, "X");
  EXPECT_EQ(vu.vues[1].Debut, "7");
  EXPECT_EQ(vu.vues[1].Fin, "8");
}

TEST(Galeries, DialogueSansFenetreEstAccepte) {
  ReseauImport r;
  TNommeGalDlg d;
  d.Init(r.Dossier.Fichier("x.tro"), "E");
  d.NouvelleGal("G0", "1", nullptr, "E");
  d.NouvelleGal("G1", "5", nullptr, "3");
  d.NumFin(1, "9");
  d.NumRang(1, 4);
  EXPECT_EQ(d.LigneSelectionnee, 1);
  EXPECT_EQ(d.Lignes[1].Fin, "9");
  EXPECT_EQ(d.Lignes[1].Rang, "4");
  EXPECT_EQ(d.DesignGal(5), "");
  EXPECT_FALSE(d.Cochee(-1));
  EXPECT_EQ(d.Execute(), ResultatNommeGal::Ok);
  EXPECT_TRUE(platform::FileExists(r.Dossier.Fichier("GalCochees.txt")));
  // Annuler leaves the memory as it was.
  TNommeGalDlg e;
  e.Init(r.Dossier.Fichier("y.tro"), "E");
  e.NouvelleGal("H0", "1", nullptr, "E");
  e.Ferme(ResultatNommeGal::Annuler);
  EXPECT_EQ(testsupport::LitOctets(r.Dossier.Fichier("GalCochees.txt")).find("y.tro"), std::string::npos);
}

}  // namespace
}  // namespace testformats
