// The gallery hierarchy of a cave and the XML listing of the network's caves
// and galleries that walks it (checked with xmllint when installed).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "foundation/chaines.h"
#include "platform/files.h"
#include "survey/arbre_galeries.h"
#include "survey/galerie.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/cavite_document.h"
#include "tests/survey/environnement_document.h"
#include "tests/survey/survex_oracle.h"

namespace {

using namespace survey;
using testsurvey::CavitesDocument;
using testsurvey::EnvironnementDocument;

int Position(const TCavite& c, const std::string& nom) {
  for (int i = 0; i < c.Galeries.Count(); ++i)
    if (c.UneGalerie(i)->NomGalerie == nom) return i;
  return -1;
}

const char* const Branches =
    "G P: 1 2 3 4\nG A: 10 11\nG B: 20\nG C: 30\n"
    "E1 - 1\n1 - 2\n2 - 3\n3 - 4\n2 - 10\n10 - 11\n11 - 20\n3 - 30\n";
// The same with a gallery surveyed apart from the rest: its first station
// has no arriving shot.
const std::string BranchesEtIsolee = std::string(Branches) + "G Iso: 40 41\n40 - 41";

TEST(ArbreGaleries, ParentsEnfantsEtGaleriesIsolees) {
  EnvironnementDocument env;
  TReseau r;
  CavitesDocument cd(r);
  const TCavite& c = *cd.Cavite("Gouffre", BranchesEtIsolee);
  const TArbreGaleries a(c);
  ASSERT_EQ(a.Nombre(), 5);
  const int P = Position(c, "P"), A = Position(c, "A"), B = Position(c, "B"), C = Position(c, "C"),
            Iso = Position(c, "Iso");
  EXPECT_EQ(a.Racine(), P);  // the gallery surveyed apart sorts first
  EXPECT_EQ(a.Parent(P), -1);
  EXPECT_EQ(a.Parent(A), P);
  EXPECT_EQ(a.Parent(B), A);
  EXPECT_EQ(a.Parent(C), P);
  EXPECT_EQ(a.Parent(Iso), -1);
  EXPECT_TRUE(a.Isolee(Iso));
  EXPECT_FALSE(a.Isolee(A));
  EXPECT_EQ(a.Isolees(), std::vector<int>{Iso});
  // Children in the cave's order, every one after its parent.
  EXPECT_EQ(a.Enfants(P), (std::vector<int>{std::min(A, C), std::max(A, C)}));
  for (int i = 0; i < a.Nombre(); ++i)
    for (int e : a.Enfants(i)) EXPECT_GT(e, i);

  // The walk enters each gallery before its descendants and leaves it after
  // them; the isolated gallery is not under gallery 0.
  std::string trace;
  a.Parcourt(P, 1, [&](const TArbreGaleries::Etape& e) {
    trace += (e.Entree ? "+" : "-") + c.UneGalerie(e.Galerie)->NomGalerie + std::to_string(e.Niveau) + " ";
  });
  const std::string attendu = A < C ? "+P1 +A2 +B3 -B3 -A2 +C2 -C2 -P1 " : "+P1 +C2 -C2 +A2 +B3 -B3 -A2 -P1 ";
  EXPECT_EQ(trace, attendu);
}

TEST(ArbreGaleries, LongueChaineSansRecursion) {
  // Each gallery hangs from the one before: a walk of that depth must not
  // use the call stack.
  EnvironnementDocument env;
  TReseau r;
  CavitesDocument cd(r);
  constexpr int N = 20000;
  std::string d;
  for (int i = 0; i < N; ++i) d += "G g" + std::to_string(i) + ": " + std::to_string(i) + "\n";
  d += "E1 - 0\n";
  for (int i = 1; i < N; ++i) d += std::to_string(i - 1) + " - " + std::to_string(i) + "\n";
  const TCavite& c = *cd.Cavite("Chaîne", d);
  const TArbreGaleries a(c);
  int entrees = 0, profondeur = 0;
  a.Parcourt(0, 0, [&](const TArbreGaleries::Etape& e) {
    if (e.Entree) ++entrees;
    profondeur = std::max(profondeur, e.Niveau);
  });
  EXPECT_EQ(entrees, N);
  EXPECT_EQ(profondeur, N - 1);
}

bool XmllintDisponible() { return std::system("command -v xmllint >/dev/null 2>&1") == 0; }

std::string Xpath(const std::string& fichier, const std::string& expression) {
  std::string sortie;
  testsurvey::LanceCommande("xmllint --xpath '" + expression + "' '" + fichier + "' 2>&1", sortie);
  if (!sortie.empty() && sortie.back() == '\n') sortie.pop_back();
  return sortie;
}

TEST(ArbreGaleries, XmlDesCavitesAvecXmllint) {
  if (!XmllintDisponible()) GTEST_SKIP() << "xmllint (libxml2-utils) absent";
  EnvironnementDocument env;
  testsupport::DossierTemp d;
  TReseau r;
  CavitesDocument cd(r);
  TCavite& c = *cd.Cavite("Grotte \"A\" & <B>", Branches);
  c.idCavSvg = 1;
  const std::string nomDifficile = "Puits & <Salle> 'é' \"x\"";
  c.UneGalerie(Position(c, "B"))->idGalSvg = 12;
  c.UneGalerie(Position(c, "B"))->NomGalerie = nomDifficile;
  ASSERT_TRUE(r.CreeXmlCavites(d.Chemin()));
  const std::string fichier = d.Fichier("Test.XML");
  std::string sortie;
  // The oracle: libxml2's parser.
  ASSERT_EQ(testsurvey::LanceCommande("xmllint --noout '" + fichier + "' 2>&1", sortie), 0) << sortie;
  EXPECT_EQ(Xpath(fichier, "string(/Reseau/cavite[@id=\"0001\"]/nom)"), "Grotte \"A\" & <B>");
  EXPECT_EQ(Xpath(fichier, "string(//galerie[@id=\"0001_0012\"]/nom)"), nomDifficile);
  // B inside A inside P; C inside P.
  auto id = [&](const std::string& nom) {
    return "0001_" + foundation::ReelEnStrZeros(c.UneGalerie(Position(c, nom))->idGalSvg, 4, 0);
  };
  EXPECT_EQ(Xpath(fichier, "count(/Reseau/cavite/galerie[@id=\"" + id("P") + "\"]/galerie[@id=\"" + id("A") +
                               "\"]/galerie[@id=\"0001_0012\"])"),
            "1");
  EXPECT_EQ(Xpath(fichier, "count(/Reseau/cavite/galerie/galerie[@id=\"" + id("C") + "\"])"), "1");
  EXPECT_EQ(Xpath(fichier, "count(//galerie)"), "4");
  EXPECT_EQ(Xpath(fichier, "count(//cavite)"), "1");  // not the surface
}

}  // namespace
