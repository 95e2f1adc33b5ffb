// The two old readers: the four-file format (fixtures written by
// fixtures/ancien/genere_ancien.py from the record tables) and the list of
// coordinates.
#include <gtest/gtest.h>

#include <string>

#include "formats/import/ancien/import_ancien.h"
#include "foundation/codage.h"
#include "foundation/dates.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/operateur.h"
#include "tests/formats/import_test_support.h"

namespace {

const std::string DossierAncien = std::string(GRAVELUNE_SOURCE_DIR) + "/tests/formats/fixtures/ancien/";

foundation::TDateTime Date(int a, int m, int j) {
  foundation::TDateTime d = 0;
  foundation::EncodeDate(a, m, j, d);
  return d;
}

TEST(ImportAncien, DatesDesLevers) {
  struct Cas {
    int j, m, a;
    foundation::TDateTime attendue;
  };
  const Cas cas[] = {
      {14, 7, 85, Date(1985, 7, 14)}, {0, 7, 85, Date(1985, 7, 1)},  {5, 0, 85, Date(1930, 1, 1)},
      {5, 13, 85, Date(1930, 1, 1)},  {5, 3, 55, Date(1930, 1, 1)},  {5, 3, 60, Date(1960, 3, 5)},
      {5, 3, 99, Date(1999, 3, 5)},   {5, 3, 100, Date(1930, 1, 1)}, {31, 2, 80, Date(1930, 1, 1)},
  };
  for (const Cas& k : cas) {
    formats::TLevImport l;
    l.j = static_cast<uint8_t>(k.j);
    l.m = static_cast<uint8_t>(k.m);
    l.a = static_cast<uint8_t>(k.a);
    EXPECT_EQ(formats::DateLeverAncien(l), k.attendue) << k.j << "/" << k.m << "/" << k.a;
  }
}

struct Reseau : testformats::ReseauImport {
  survey::TCavite* c = nullptr;
  Reseau() {
    c = R().AjouteCavite(std::make_unique<survey::TCavite>());
    R().LaCaviteActive = c;
  }
};

TEST(ImportAncien, QuatreFichiers) {
  Reseau r;
  ASSERT_TRUE(formats::ImporteAncienFormat(DossierAncien + "essai", r.R()));
  ASSERT_EQ(r.c->Levers.Count(), 3);
  const survey::TLever* l0 = r.c->Levers.UnObjet(0);
  EXPECT_EQ(l0->LaDate, Date(1985, 7, 14));
  EXPECT_EQ(l0->UniteAZ, 1);
  EXPECT_EQ(l0->UniteP, 1);
  EXPECT_TRUE(l0->DoubleAZ);
  EXPECT_TRUE(l0->DoubleP);
  EXPECT_FALSE(l0->VsMire);
  // Operators 3, 5, 3: two entries; the second trip's 5 is the same operator.
  ASSERT_EQ(l0->Operateurs.size(), 2u);
  const survey::TLever* l1 = r.c->Levers.UnObjet(1);
  EXPECT_EQ(l1->LaDate, Date(1930, 1, 1));
  ASSERT_EQ(l1->Operateurs.size(), 1u);
  EXPECT_EQ(l1->Operateurs[0], l0->Operateurs[1]);
  const survey::TLever* l2 = r.c->Levers.UnObjet(2);
  EXPECT_EQ(l2->LaDate, Date(1930, 1, 1));
  EXPECT_TRUE(l2->VsMire);
  EXPECT_EQ(l2->UniteAZ, 0);
  EXPECT_TRUE(l2->Operateurs.empty());
  EXPECT_EQ(r.R().ListeOperateurs.Count(), 2);
  ASSERT_EQ(r.R().LesPointsSurface()->Count(), 1);
  EXPECT_EQ(r.R().LesPointsSurface()->Item(0)->DesignPTopo, "");
  EXPECT_EQ(r.R().LesPointsSurface()->Item(0)->TypePoint, survey::PointSurface);
}

TEST(ImportAncien, FichierTronqueNAjouteRien) {
  for (const char* base : {"tronque", "absent"}) {
    Reseau r;
    EXPECT_FALSE(formats::ImporteAncienFormat(DossierAncien + base, r.R())) << base;
    EXPECT_EQ(r.c->Levers.Count(), 0);
    EXPECT_EQ(r.R().ListeOperateurs.Count(), 0);
    EXPECT_EQ(r.R().LesPointsSurface()->Count(), 0);
    ASSERT_EQ(r.Dialogues.Messages().size(), 1u);
    EXPECT_TRUE(r.Dialogues.Messages()[0].starts_with("impossible d'ouvrir le fichier " + DossierAncien + base));
  }
  // Records cut, names longer than their record, more trips started than
  // written: refused.
  formats::TFichiersAnciens f;
  const std::string nomLong = std::string(1, '\x3D') + std::string(60, 'a');
  EXPECT_FALSE(formats::LitFichiersAnciens(nomLong, "", "", "", f));
  EXPECT_FALSE(formats::LitFichiersAnciens("", std::string(100, '\0'), "", "", f));
  EXPECT_FALSE(formats::LitFichiersAnciens("", "", std::string(16, '\0'), "", f));
  EXPECT_FALSE(formats::LitFichiersAnciens("", "", "", std::string("\0\0\x10\0\0\0\0\0\0\0\0", 11), f));
  EXPECT_TRUE(formats::LitFichiersAnciens("", "", std::string(17, '\0'), std::string("\0\0\x10\0\0\0\0\0\0\0\0", 11), f));
}

TEST(ImportAncien, CaviteEnCoordonnees) {
  const std::vector<std::string> lignes = {"0;1;100;200",    "1;2;110;205", "bas flèche;0;0",   "haut flèche;1;1",
                                           "galerie;Amont", "2;A1;1;x",    "2;A2;120.5;210", "2;A3;121;211",
                                           "",               "galerie;Aval", "3;B1;0;0"};
  const auto points = formats::LitCoordonnees(lignes);
  ASSERT_EQ(points.size(), 5u);
  EXPECT_EQ(points[0].NumPoint, "1");
  EXPECT_TRUE(points[0].DebutGal);
  EXPECT_EQ(points[0].NomGal, "Galerie principale");
  EXPECT_FALSE(points[1].DebutGal);
  // "A1" has an X that is not a number: rejected; "A2" opens "Amont".
  EXPECT_EQ(points[2].NumPoint, "A2");
  EXPECT_TRUE(points[2].DebutGal);
  EXPECT_EQ(points[2].NomGal, "Amont");
  EXPECT_EQ(points[4].NomGal, "Aval");

  Reseau r;
  const std::string chemin = r.Dossier.Fichier("coord.txt");
  std::string texte;
  for (const std::string& l : lignes) texte += l + "\r\n";
  testsupport::EcritOctets(chemin, foundation::VersWindows1252(texte));
  ASSERT_TRUE(formats::ImporteCaviteCoordonnees(chemin, *r.c));
  ASSERT_EQ(r.c->Galeries.Count(), 3);
  EXPECT_EQ(r.c->Galeries.UnObjet(0)->NomGalerie, "Galerie principale");
  EXPECT_EQ(r.c->Galeries.UnObjet(0)->Points.Count(), 2);
  EXPECT_EQ(r.c->Galeries.UnObjet(1)->NomGalerie, "Amont");
  EXPECT_EQ(r.c->Galeries.UnObjet(1)->Points.Count(), 2);
  EXPECT_EQ(r.c->Galeries.UnObjet(2)->Points.First()->DesignPTopo, "B1");
  EXPECT_FALSE(formats::ImporteCaviteCoordonnees(r.Dossier.Fichier("absent.txt"), *r.c));
}

}  // namespace
