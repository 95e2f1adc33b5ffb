// The shot-row popup's rules without a window: which items show for a row
// (first row, branch end, one entrance, attached station, splay at the end,
// loops), the loop item's captions and the shots it and its followers go to.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "app/table/menus_lignes.h"
#include "survey/galerie.h"
#include "survey/ports_survey.h"
#include "survey/visee.h"
#include "tests/survey/reseau_test.h"

using app::ElementMenuLigne;
using app::EntreeMenuLigne;
using survey::TCavite;
using survey::TVisee;
using testsurvey::ReseauTest;

namespace {

std::string Code(ElementMenuLigne e) {
  using E = ElementMenuLigne;
  static const std::map<E, std::string> codes = {
      {E::ChangerOrigine, "Origine"},     {E::CreerCompensation, "Compens"},
      {E::SupprimerFinGalerie, "Fin"},    {E::IndividualiserFinGalerie, "Indiv"},
      {E::ChangerRattachement, "Ratt"},   {E::ImporterPartie, "Import"},
      {E::PointDeBoucle, "Boucle"},       {E::AllerAVisee, "Aller"},
      {E::CreerBoucle, "CreerB"},         {E::TransfoViseeBouclage, "TransfoB"},
      {E::SupprimerRattachement, "SupprR"}, {E::TransfoEnHabi, "Habi"},
      {E::Renumeroter, "Renum"}};
  return codes.at(e);
}

// The visible items of the entries, in order.
std::string Visibles(const std::vector<EntreeMenuLigne>& entrees) {
  std::string s;
  for (const EntreeMenuLigne& e : entrees)
    if (e.Visible) s += (s.empty() ? "" : " ") + Code(e.Element);
  return s;
}

// The menu of the row of the shot stored from a to b, the cave's first shot
// being the table's first row.
std::vector<EntreeMenuLigne> Menu(const TCavite& c, const std::string& a, const std::string& b) {
  TVisee* v = ReseauTest::ViseeEntre(c, a, b);
  EXPECT_NE(v, nullptr) << a << " - " << b;
  if (!v) return {};
  return app::EntreesMenuLigne(c, *v, v == c.Visees.First());
}

const EntreeMenuLigne* Entree(const std::vector<EntreeMenuLigne>& entrees, ElementMenuLigne e) {
  for (const EntreeMenuLigne& x : entrees)
    if (x.Element == e) return &x;
  return nullptr;
}

// Every window the items open is there.
struct PortsInstalles {
  survey::GardePortsSurvey garde;
  PortsInstalles() {
    survey::Ports().ChoisitPointSurface = [](TCavite&, survey::TPointSpeleo* p) { return p; };
    survey::Ports().ChoisitPointRattachement = [](const survey::TDemandeRattachement&) {
      return static_cast<survey::TPointSpeleo*>(nullptr);
    };
  }
};

}  // namespace

TEST(MenusLignes, ItemsVisiblesSelonLaLigne) {
  PortsInstalles ports;
  struct Cas {
    const char* nom;
    const char* cavite;
    const char* de;
    const char* a;
    bool habiAuBout;  // a splay hangs at the shot's end
    const char* visibles;
  };
  // A branch 1 - 2 - 3 from the entrance E1 with a side branch 1 - 4.
  const char* branche = "G Entrée: 1 2 3 4+\nE1 - 1\n1 - 2\n2 - 3\n1 - 4\n";
  // The same with a second entrance E2 reached from 3.
  const char* deuxEntrees = "G Entrée: 1 2 3 4+\nE1 - 1\n1 - 2\n2 - 3\n1 - 4\n3 - E2\n";
  // A cave that starts from a station of its own: nothing is attached.
  const char* isolee = "G Entrée: 0 1 2\n0 - 1\n1 - 2\n";
  // A loop 1 - 2 - 3 - 4 - 1.
  const char* boucle = "G Entrée: 1 2 3 4\nE1 - 1\n1 - 2\n2 - 3\n3 - 4\n4 - 1\n";
  const Cas cas[] = {
      {"first row", branche, "E1", "1", false, "Compens Indiv Ratt Import CreerB Renum"},
      {"middle of the branch", branche, "1", "2", false, "Compens Fin Indiv Ratt Import CreerB Renum"},
      {"branch end, one entrance", branche, "2", "3", false,
       "Origine Compens Fin Indiv Ratt Import CreerB Habi Renum"},
      {"side branch end", branche, "1", "4", false, "Origine Compens Fin Indiv Ratt Import CreerB Habi Renum"},
      {"splay at the branch end", branche, "1", "4", true, "Origine Compens Fin Indiv Ratt Import CreerB Renum"},
      {"branch end, two entrances", deuxEntrees, "1", "4", false, "Compens Fin Indiv Ratt Import CreerB Habi Renum"},
      {"shot to the second entrance", deuxEntrees, "3", "E2", false,
       "Compens Fin Indiv Ratt Import CreerB TransfoB SupprR Renum"},
      {"station not attached", isolee, "1", "2", false, "Fin Indiv Ratt Import CreerB Habi Renum"},
      {"first row not attached", isolee, "0", "1", false, "Indiv Ratt Import CreerB Renum"},
      {"loop-closing shot", boucle, "4", "1", false, "Compens Fin Indiv Ratt Import Boucle CreerB TransfoB SupprR Renum"},
      {"first row at the loop's station", boucle, "E1", "1", false,
       "Compens Indiv Ratt Import Boucle CreerB TransfoB SupprR Renum"},
      {"inside the loop", boucle, "2", "3", false, "Compens Fin Indiv Ratt Import CreerB Renum"},
  };
  for (const Cas& k : cas) {
    ReseauTest R;
    TCavite* c = R.Cavite("A", k.cavite);
    c->ReGenereListePoints(false);
    if (k.habiAuBout) {
      TVisee* v = ReseauTest::ViseeEntre(*c, k.de, k.a);
      auto h = std::make_unique<survey::TViseeHabi>();
      h->RefPtStat = v->PtCalc == v->PointStation;
      h->Long = 2;
      v->AjouteViseeHabi(std::move(h));
      c->ReGenereListePoints(false);
    }
    EXPECT_EQ(Visibles(Menu(*c, k.de, k.a)), k.visibles) << k.nom;
  }
}

TEST(MenusLignes, SansFenetreLesItemsQuiEnOuvrentUneRestentInactifs) {
  survey::GardePortsSurvey garde;
  survey::Ports() = survey::PortsSurvey();
  ReseauTest R;
  TCavite* c = R.Cavite("A", "G Entrée: 1 2\nE1 - 1\n1 - 2\n");
  c->ReGenereListePoints(false);
  std::string inactifs;
  for (const EntreeMenuLigne& e : Menu(*c, "1", "2"))
    if (!e.Actif) inactifs += (inactifs.empty() ? "" : " ") + Code(e.Element);
  EXPECT_EQ(inactifs, "Origine Ratt CreerB");
  // A shot from the entrance changes the cave's attachment: the surface
  // point's choice.
  survey::Ports().ChoisitPointSurface = [](TCavite&, survey::TPointSpeleo* p) { return p; };
  const auto depuisEntree = Menu(*c, "E1", "1");
  EXPECT_TRUE(Entree(depuisEntree, ElementMenuLigne::ChangerRattachement)->Actif);
  const auto apres = Menu(*c, "1", "2");
  EXPECT_FALSE(Entree(apres, ElementMenuLigne::ChangerRattachement)->Actif);
}

// A station reached by three shots: the loop item names the first other shot
// and one follower the second, each going to its own shot; the followers sit
// right after the loop item.
TEST(MenusLignes, PointCalculeTroisFoisEtSesSuivantes) {
  PortsInstalles ports;
  ReseauTest R;
  TCavite* c = R.Cavite("A", "G Entrée: 1 2 3\nG Shunt: 4 5\nE1 - 1\n1 - 2\n2 - 3\n1 - 4\n4 - 3\n1 - 5\n5 - 3\n");
  c->ReGenereListePoints(false);
  ASSERT_EQ(ReseauTest::PointNomme(*c, "3")->NbCalc, 3);
  const auto entrees = Menu(*c, "2", "3");
  std::string ordre;
  for (const EntreeMenuLigne& e : entrees) ordre += (ordre.empty() ? "" : " ") + Code(e.Element);
  EXPECT_EQ(ordre,
            "Origine Compens Fin Indiv Ratt Import Boucle Aller CreerB TransfoB SupprR Habi Renum");
  const EntreeMenuLigne* boucle = Entree(entrees, ElementMenuLigne::PointDeBoucle);
  EXPECT_EQ(boucle->Libelle, "point calculé 3 fois. Aller à la visée 4 -> 3 de la galerie Shunt");
  EXPECT_EQ(boucle->Cible, ReseauTest::ViseeEntre(*c, "4", "3"));
  const EntreeMenuLigne* suivante = Entree(entrees, ElementMenuLigne::AllerAVisee);
  EXPECT_EQ(suivante->Libelle, "--------------------> Aller à la visée 5 -> 3 de la galerie Shunt");
  EXPECT_EQ(suivante->Cible, ReseauTest::ViseeEntre(*c, "5", "3"));
  // From another of the three shots, the first one is named.
  const auto depuis5 = Menu(*c, "5", "3");
  EXPECT_EQ(Entree(depuis5, ElementMenuLigne::PointDeBoucle)->Libelle,
            "point calculé 3 fois. Aller à la visée 2 -> 3 de la galerie Entrée");
  EXPECT_EQ(app::ViseesMultiCalcul(*c, *ReseauTest::ViseeEntre(*c, "4", "3")).size(), 2u);
}

TEST(MenusLignes, PartenaireDeBoucleDansLaCaviteOuDansUneAutre) {
  PortsInstalles ports;
  ReseauTest R;
  TCavite* a = R.Cavite("A", "G Entrée: 1 2 3\nE1 - 1\n1 - 2\n2 - 3\n");
  TCavite* b = R.Cavite("B", "G Aval: b1 b2\nE2 - b1\nb1 - b2\n");
  a->ReGenereListePoints(false);
  b->ReGenereListePoints(false);
  // The partner in another cave: named with its cave, no shot to go to.
  ReseauTest::PointNomme(*b, "b2")->PtBoucleAsso = ReseauTest::PointNomme(*a, "3");
  const auto menuB = Menu(*b, "b1", "b2");
  const EntreeMenuLigne* autre = Entree(menuB, ElementMenuLigne::PointDeBoucle);
  EXPECT_TRUE(autre->Visible);
  EXPECT_EQ(autre->Libelle, "point bouclé avec le point 3 de la galerie Entrée dans la cavité A");
  EXPECT_TRUE(autre->AutreCavite);
  EXPECT_EQ(autre->Cible, nullptr);
  // In the same cave: the shot that reaches the partner.
  ReseauTest::PointNomme(*a, "2")->PtBoucleAsso = ReseauTest::PointNomme(*a, "3");
  const auto menuA = Menu(*a, "1", "2");
  const EntreeMenuLigne* meme = Entree(menuA, ElementMenuLigne::PointDeBoucle);
  EXPECT_EQ(meme->Libelle, "point bouclé avec le point 3 de la galerie Entrée");
  EXPECT_FALSE(meme->AutreCavite);
  EXPECT_EQ(meme->Cible, ReseauTest::ViseeEntre(*a, "2", "3"));
  ReseauTest::PointNomme(*b, "b2")->PtBoucleAsso = nullptr;
  ReseauTest::PointNomme(*a, "2")->PtBoucleAsso = nullptr;
}
