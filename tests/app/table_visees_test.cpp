// The rows of the shot table: refill with and without splays, the row <->
// shot mapping through insertions and removals, the bounded text cache, the
// faulty shots named once, and the texts of a row.
#include <gtest/gtest.h>

#include "app/document/selecteurs.h"
#include "app/table/table_visees.h"
#include "app/table/textes_visee.h"
#include "foundation/catalogue.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/visee.h"
#include "tests/app/reseau_essai.h"

using namespace app;
using survey::TVisee;
using survey::TViseeHabi;

namespace {

// The shots of the rows, as "station>target" or "~station" for a splay.
std::string Rangees(const TTableVisees& t) {
  std::string s;
  for (const survey::TValeurVisee* v : t.Lignes()) {
    if (!s.empty()) s += ' ';
    if (v->EstHabi) {
      s += "~" + static_cast<const TViseeHabi*>(v)->ViseeDeRef->PointVise->DesignPTopo;
    } else {
      const auto* p = static_cast<const TVisee*>(v);
      s += p->PointStation->DesignPTopo + ">" + p->PointVise->DesignPTopo;
    }
  }
  return s;
}

TViseeHabi* Habi(TVisee* v, double az) {
  auto h = std::make_unique<TViseeHabi>();
  h->Az = az;
  h->RefPtStat = false;
  return v->AjouteViseeHabi(std::move(h));
}

}  // namespace

TEST(TableVisees, RemplissageAvecEtSansHabillage) {
  essai::TReseauEssai r;
  survey::TCavite* c = r.Cavite("Gouffre", "G A: 1 2 3\nE1 - 1\n1 - 2\n2 - 3");
  Habi(c->LaVisee(1), 10);
  Habi(c->LaVisee(1), 20);
  TTableVisees t;
  auto res = t.Remplit(*c, false);
  EXPECT_TRUE(res.HabiExistent);
  EXPECT_TRUE(c->Visees.ViseesHabExistent);
  EXPECT_TRUE(res.Erreurs.empty());
  EXPECT_EQ(Rangees(t), "E1>1 1>2 2>3");
  res = t.Remplit(*c, true);
  EXPECT_EQ(Rangees(t), "E1>1 1>2 ~2 ~2 2>3");
  EXPECT_TRUE(t.EstHabi(2));
  EXPECT_EQ(t.ViseePrincipale(3), c->LaVisee(1));
  EXPECT_EQ(t.LigneDe(c->LaVisee(2)), 4);
  EXPECT_EQ(t.LigneDe(nullptr), -1);
  EXPECT_EQ(t.Visee(5), nullptr);
  EXPECT_EQ(t.Visee(-1), nullptr);
  // A cave without splays.
  survey::TCavite* d = r.Cavite("Trou", "G B: 5 6\nE2 - 5\n5 - 6");
  res = t.Remplit(*d, true);
  EXPECT_FALSE(res.HabiExistent);
  EXPECT_EQ(Rangees(t), "E2>5 5>6");
}

TEST(TableVisees, InsertionsEtRetraitsGardentLaCorrespondance) {
  essai::TReseauEssai r;
  survey::TCavite* c = r.Cavite("Gouffre", "G A: 1 2 3 4\nE1 - 1\n1 - 2\n2 - 3\n3 - 4");
  TTableVisees t([](survey::TValeurVisee& v, TextesLigne& l) { l[0] = v.EstHabi ? "h" : "v"; });
  t.Remplit(*c, false);
  TVisee* v0 = c->LaVisee(0);
  TVisee* v3 = c->LaVisee(3);
  EXPECT_EQ(t.Texte(1, 0), "v");
  EXPECT_TRUE(t.TextesFaits(1));
  // A splay inserted under its shot, a row removed, the rest follow.
  TViseeHabi* h = Habi(c->LaVisee(1), 5);
  t.Insere(2, h);
  EXPECT_EQ(Rangees(t), "E1>1 1>2 ~2 2>3 3>4");
  EXPECT_EQ(t.Texte(2, 0), "h");
  EXPECT_EQ(t.LigneDe(v3), 4);
  t.Retire(1, 2);
  EXPECT_EQ(Rangees(t), "E1>1 2>3 3>4");
  EXPECT_EQ(t.LigneDe(v3), 2);
  EXPECT_EQ(t.LigneDe(v0), 0);
  EXPECT_FALSE(t.TextesFaits(1));
  // Out-of-range requests are ignored.
  t.Retire(5, 9);
  t.Insere(99, v0);
  EXPECT_EQ(t.Nombre(), 4);
  EXPECT_EQ(t.LigneDe(v0), 0);
  t.Retire(3, 3);
  // Rows taken out and put back: nothing to show in between.
  auto lignes = t.Detache();
  EXPECT_EQ(t.Nombre(), 0);
  EXPECT_EQ(t.Texte(0, 0), "");
  t.Rattache(std::move(lignes));
  EXPECT_EQ(Rangees(t), "E1>1 2>3 3>4");
  t.Retire(0, 2);
  EXPECT_EQ(t.Nombre(), 0);
}

TEST(TableVisees, LesTextesSontFaitsAuPremierDessinEtLeCacheEstBorne) {
  essai::TReseauEssai r;
  std::string description = "G A:";
  for (int i = 1; i <= 5000; ++i) description += " " + std::to_string(i);
  description += "\nE1 - 1";
  for (int i = 1; i < 5000; ++i) description += "\n" + std::to_string(i) + " - " + std::to_string(i + 1);
  survey::TCavite* c = r.Cavite("Long", description);
  int faits = 0;
  TTableVisees t([&](survey::TValeurVisee&, TextesLigne& l) {
    ++faits;
    l[0] = "x";
  });
  t.Remplit(*c, false);
  EXPECT_EQ(faits, 0);
  for (int i = 0; i < t.Nombre(); ++i) t.Texte(i, 0);
  EXPECT_EQ(faits, 5000);
  EXPECT_LE(t.TextesEnCache(), TTableVisees::CacheMaxi);
  // The rows held are not made again; an invalidated one is.
  const int avant = faits;
  t.Texte(t.Nombre() - 1, 3);
  EXPECT_EQ(faits, avant);
  t.Invalide(t.Nombre() - 1);
  t.Texte(t.Nombre() - 1, 3);
  EXPECT_EQ(faits, avant + 1);
  t.InvalideTout();
  EXPECT_EQ(t.TextesEnCache(), 0u);
}

TEST(TableVisees, UneViseeSansOrigineEstSignaleeUneSeuleFois) {
  essai::TReseauEssai r;
  survey::TCavite* c = r.Cavite("Gouffre", "G A: 1 2 3\nE1 - 1\n1 - 2\n2 - 3");
  TVisee* v = c->LaVisee(2);
  survey::TPointSpeleo* origine = v->PtOrigCalc;
  v->PtOrigCalc = nullptr;
  TTableVisees t([](survey::TValeurVisee&, TextesLigne&) {});
  const auto res = t.Remplit(*c, false);
  ASSERT_EQ(res.Erreurs.size(), 1u);
  EXPECT_EQ(res.Erreurs[0], "erreur sur visée 3");
  EXPECT_EQ(TTableVisees::ErreurVisee(*v), "erreur sur visée 3");
  // Drawn again and again, it is not reported a second time.
  EXPECT_FALSE(t.NoteErreurDessin(2, "erreur sur visée 3"));
  EXPECT_TRUE(t.ErreursARapporter().empty());
  // An error met only while drawing is reported once.
  EXPECT_TRUE(t.NoteErreurDessin(1, "autre"));
  EXPECT_FALSE(t.NoteErreurDessin(1, "autre"));
  EXPECT_EQ(t.ErreursARapporter(), std::vector<std::string>{"autre"});
  EXPECT_TRUE(t.ErreursARapporter().empty());
  v->PtOrigCalc = origine;
}

TEST(TextesVisee, MarquesEtColonnesDeLaLigne) {
  survey::GardeAffichage affichage;
  survey::Affichage().DecimalesCoord = 2;
  essai::TReseauEssai r;
  survey::TCavite* c = r.Cavite("Gouffre", "G A: 1 2 3 12\nG B: 20\nE1 - 1\n1 - 2\n2 - 3\n3 - 12\n1 - 20");
  TVisee* v = testsurvey::ReseauTest::ViseeEntre(*c, "3", "12");
  ASSERT_NE(v, nullptr);
  v->Az = 123.4;
  v->Long = 10.5;
  v->InvAz = true;
  survey::TPointSpeleo* fin = v->PtCalc;
  survey::TPointSpeleo partenaire;
  fin->PtBoucleAsso = &partenaire;
  fin->NbCalc = 2;
  fin->Commentaire = {"étroiture", "eau"};
  fin->LargeurGA = 1.3;
  TextesLigne l;
  TextesLigneTable(*v, l);
  EXPECT_EQ(l[0], "3");
  EXPECT_EQ(l[1].substr(l[1].size() - 4), "*#12");
  EXPECT_EQ(l[2], "i  123.4 °");
  EXPECT_EQ(l[5], "10.50");  // the computed length in column 5
  EXPECT_EQ(l[13], "1.3");  // left width, 1 decimal
  EXPECT_EQ(l[18], "étroiture\r\neau\r\n");
  EXPECT_EQ(l[17], "");
  fin->PtBoucleAsso = nullptr;
  // The first shot of a gallery and a shot from the surface.
  TextesLigneTable(*testsurvey::ReseauTest::ViseeEntre(*c, "1", "20"), l);
  EXPECT_EQ(l[1], ">> 20");
  TextesLigneTable(*c->LaVisee(0), l);
  EXPECT_EQ(l[1], ">< 1");
  // A splay.
  TViseeHabi* h = Habi(v, 45);
  TextesLigneTable(*h, l);
  EXPECT_EQ(l[1], "    -- -->  ");
  EXPECT_EQ(l[13], "");
}
