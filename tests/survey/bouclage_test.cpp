// Loop closure: junctions and branches, the mean point and the corrections
// per metre, the order of junctions, the report, closure with one, two and
// three entrances (the user's entrance restored), and Survex's cavern as the
// oracle of the misclosures and of the closed positions.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>

#include "foundation/catalogue.h"
#include "survey/bouclage.h"
#include "survey/rapport_calcul.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/reseau_calcul.h"
#include "tests/survey/reseau_grille.h"
#include "tests/survey/survex_oracle.h"

using namespace survey;
using testsurvey::ReseauCalcul;

namespace {

// The largest distance between a station and where its arriving or closing
// shot puts it, after the coordinates are computed once more in the cave's
// final orientation with the corrections left on the shots: 0 when every loop
// is closed.  Shots ending on a surface point are left out.
double EcartMaxVisees(TReseau& r) {
  double m = 0;
  for (TCavite* c : r.Cavites) {
    if (c->EstSurface || !c->CaviteValide()) continue;
    c->CalculeTousPoints(false);
    for (const TVisee* v : c->Visees) {
      const TPointSpeleo* o = v->PtOrigCalc;
      const TPointSpeleo* p = v->PtCalc;
      if (!o || !p || p->EstPointSurface()) continue;
      const double s = v->PointRefCompens == o ? 1 : -1;
      double dX = std::cos(v->AngleHoriz) * v->DeltaL, dY = std::sin(v->AngleHoriz) * v->DeltaL;
      if (const TValeurCompens* b = v->ValeurBouclage) {
        dX += s * v->DeltaL * static_cast<double>(b->CoeffX);
        dY += s * v->DeltaL * static_cast<double>(b->CoeffY);
      }
      m = std::max(m, std::hypot(p->X - o->X - dX, p->Y - o->Y - dY, p->Z - o->Z - v->DeltaH - v->AjustementZ));
    }
  }
  return m;
}

bool ContientPointVirtuel(const TReseau& r) {
  for (const TCavite* c : r.Cavites)
    for (const TGalerie* g : c->Galeries)
      for (const TPointSpeleo* p : g->Points)
        if (p->TypePoint < 0) return true;
  return false;
}

// Station R reached from A by three paths.
TCavite* TroisChemins(ReseauCalcul& n) {
  n.Surface("E1", 0, 0, 0);
  TCavite* c = n.Cavite("Trois");
  n.Visee(c, "E1", "A", 0, -10, 10);
  n.Visee(c, "A", "B", 45, 0, 10);
  n.Visee(c, "B", "R", 135, 5, 10.2);
  n.Visee(c, "A", "C", 90, 0, 7.07);
  n.Visee(c, "C", "R", 91, 3, 7.3);
  n.Visee(c, "A", "D", 135, 0, 10);
  n.Visee(c, "D", "R", 44, -2, 9.8);
  n.Regenere();
  return c;
}

// Checks, while the duplicates still exist, that every junction's arrivals
// coincide once it is closed.
class GardeVerifieJonctions {
 public:
  GardeVerifieJonctions() : sauve_(Calcul().Bouclages) {
    Calcul().Bouclages.FermeBouclages = [this](const std::function<void()>& recalcule,
                                               TAvertissementsCalcul& avertissements) {
      sauve_.FermeBouclages(recalcule, avertissements);
      for (const auto& j : ListeBouclages()) {
        const TPointSpeleo* d = j->BranchesBouclage.back()->PtArrivee;
        for (const auto& b : j->BranchesBouclage)
          EcartMax = std::max(EcartMax, std::hypot(b->PtArrivee->X - d->X, b->PtArrivee->Y - d->Y,
                                                   b->PtArrivee->Z - d->Z));
        ++Jonctions;
      }
      ++Passes;
    };
  }
  ~GardeVerifieJonctions() { Calcul().Bouclages = sauve_; }
  double EcartMax = 0;
  int Jonctions = 0;
  int Passes = 0;

 private:
  TBouclagesCalcul sauve_;
};

}  // namespace

// The mean point and the corrections of branches built by hand.
TEST(Bouclage, PointMoyenEtCorrections) {
  struct Point {
    double x, slh, precis;  // precis: PrecisX = PrecisY of the arrival
  };
  struct Cas {
    const char* nom;
    std::vector<Point> arrivees;
    double attendu;
  };
  const Cas cas[] = {
      // Relative precisions 0.1 and 0.3: weights 10 and 3.33.
      {"poids", {{0, 10, 0.005}, {4, 10, 0.045}}, 1.0},
      // A branch shorter than 1 cm fixes the mean point, wherever it is.
      {"branche fixe", {{0, 10, 0.005}, {4, 0.005, 0.045}, {8, 10, 0.01}}, 4.0},
      // No precision at all: the arrival's total precision weighs.
      {"sans precision relative", {{0, 10, 0}, {6, 10, 0}}, 3.0},
  };
  for (const Cas& k : cas) {
    TBouclage j;
    TPointSpeleo depart;
    std::vector<std::unique_ptr<TPointSpeleo>> points;
    for (const Point& a : k.arrivees) {
      auto p = std::make_unique<TPointSpeleo>();
      p->X = a.x;
      p->Slh = a.slh;
      p->PrecisX = p->PrecisY = a.precis;
      p->PrecisTotX = p->PrecisTotY = 0.2;
      TBrancheBouclage* b = j.AjouteBranche(p.get());
      b->PtDepart = &depart;
      points.push_back(std::move(p));
    }
    j.CalculePointMoyen();
    EXPECT_NEAR(j.PtMoyenne.X, k.attendu, 1e-12) << k.nom;
    // Each branch with a length moves its arrival onto the mean point.
    for (const auto& b : j.BranchesBouclage) {
      const bool corrige = b->CalculeCompens(j.PtMoyenne);
      EXPECT_EQ(corrige, !b->PtCalculStr.empty()) << k.nom;
      if (corrige)
        EXPECT_NEAR(b->PtArrivee->X + static_cast<double>(b->ValeurCompens->CoeffX) * b->Longueur(), k.attendu, 1e-12)
            << k.nom;
    }
  }
  // A branch without horizontal length gets no corrections and no lines.
  TPointSpeleo a, d;
  a.Slh = d.Slh = 12;
  TBrancheBouclage b;
  b.PtArrivee = &a;
  b.PtDepart = &d;
  EXPECT_FALSE(b.CalculeCompens({}));
  EXPECT_TRUE(b.PtCalculStr.empty());
  EXPECT_EQ(b.ValeurCompens->CoeffX, 0);
}

// A junction between caves 3 and 1, in both orders of its branches, and its
// place before the loops inside cave 1.
TEST(Bouclage, JonctionEntreCavites) {
  ReseauCalcul n;
  TCavite* c1 = n.Cavite("Un");
  n.Cavite("Deux");
  TCavite* c3 = n.Cavite("Trois");
  TPointSpeleo* p1 = n.Point(c1, "P");
  TPointSpeleo* p3 = n.Point(c3, "Q");
  struct Cas {
    TPointSpeleo *a, *b;
    int num, num2;
  };
  for (const Cas& k : {Cas{p3, p1, 1, -1}, Cas{p1, p3, 1, 3}}) {
    TBouclage j;
    j.AjouteBranche(k.a);
    j.AjouteBranche(k.b);
    j.PrepareBoucle();
    EXPECT_FALSE(j.Interne);
    EXPECT_EQ(j.PtCommun, nullptr);
    EXPECT_EQ(j.NumCavite, k.num) << k.a->DesignPTopo;
    EXPECT_EQ(j.NumCavite2, k.num2) << k.a->DesignPTopo;
    TBouclage interne;
    interne.AjouteBranche(p1);
    interne.PrepareBoucle();
    EXPECT_LT(CompareBouclages(j, interne), 0);
    EXPECT_GT(CompareBouclages(interne, j), 0);
  }
}

// Three paths to one station: one junction of three branches, the first two
// reported against the third, all brought together.
TEST(Bouclage, TroisDoublonsContreLeTroisieme) {
  ReseauCalcul n;
  TCavite* c = TroisChemins(n);
  GardeRapportCalcul rapport;
  GardeVerifieJonctions verifie;
  n.R().CalculeReseau();
  ASSERT_EQ(ListeBouclages().Count(), 1);
  const TBouclage& j = *ListeBouclages().UnBouclage(0);
  ASSERT_EQ(j.Count(), 3);
  EXPECT_TRUE(j.Interne);
  ASSERT_NE(j.PtCommun, nullptr);
  EXPECT_EQ(j.PtCommun->DesignPTopo, "A");
  EXPECT_FALSE(j.EstJonction);  // one ordinary station and two duplicates
  const std::string troisieme = j.BranchesBouclage[2]->DesignArrivee;
  int contre = 0;
  for (const std::string& l : ListeRapportCalcul())
    if (l.find(" avec le point " + troisieme + " - de la galerie : ") != std::string::npos) ++contre;
  EXPECT_EQ(contre, 2);
  for (const char* texte : {"Ecart en X : ", "Ecart en Y : ", "Ecart en Z : ", "Ecart en distance : ",
                            "Bouclage interne à la cavité : Trois", "Point commun : A - de la galerie : ",
                            "    - Correction sur les X : ", "    - Correction d'altitude : ",
                            "Ecarts des bouclages avant leur calcul"}) {
    bool trouve = false;
    for (const std::string& l : ListeRapportCalcul()) trouve = trouve || l.find(texte) != std::string::npos;
    EXPECT_TRUE(trouve) << texte;
  }
  EXPECT_NE(j.BranchesBouclage[0]->EcartX, 0);
  EXPECT_EQ(verifie.Jonctions, 1);
  EXPECT_LT(verifie.EcartMax, 1e-9);
  EXPECT_LT(EcartMaxVisees(n.R()), 1e-9);
  EXPECT_FALSE(ContientPointVirtuel(n.R()));
  (void)c;
}

// A grid cave closed from one, two and three entrances (the user's entrance
// being another than the best one with three): the duplicates of every
// junction coincide once closed, every loop stays closed in the user's
// orientation, and the user's entrance is the same afterwards.
TEST(Bouclage, DoublonsConfondusAvecUneDeuxTroisEntrees) {
  for (int entrees = 1; entrees <= 3; ++entrees) {
    ReseauCalcul n;
    TCavite* c = testsurvey::GenereCaviteGrille(n, 5);
    // The far corners, surveyed with a small misclosure.
    n.Surface("E2", 1040.3, 2042.1, 497.0);
    n.Surface("E3", 1000.0, 2040.5, 500.5);
    if (entrees >= 2) n.Visee(c, testsurvey::NomGrille(4, 4), "E2", 30, 0, 2);
    if (entrees >= 3) n.Visee(c, testsurvey::NomGrille(0, 4), "E3", 300, 20, 3);
    n.Regenere();
    TPointSpeleo* utilisateur = entrees == 3 ? n.Station(c, "E3") : n.Station(c, "E1");
    c->EntreeSelectee = utilisateur;
    n.Regenere();
    GardeVerifieJonctions verifie;
    n.R().CalculeReseau();
    EXPECT_EQ(c->EntreeSelectee, utilisateur) << entrees;
    EXPECT_GE(verifie.Jonctions, 16) << entrees;
    EXPECT_EQ(verifie.Passes, entrees == 3 ? 4 : 1) << entrees;
    EXPECT_LT(verifie.EcartMax, 1e-9) << entrees;
    EXPECT_LT(EcartMaxVisees(n.R()), 1e-9) << entrees;
    EXPECT_FALSE(ContientPointVirtuel(n.R())) << entrees;
    EXPECT_TRUE(Calcul().Avertissements.empty()) << entrees;
  }
}

// Without loop closure the same grid keeps its misclosures: the check above
// sees them.
TEST(Bouclage, SansFermetureLesBouclesRestentOuvertes) {
  ReseauCalcul n;
  testsurvey::GenereCaviteGrille(n, 4);
  const TBouclagesCalcul sauve = Calcul().Bouclages;
  Calcul().Bouclages = {};
  n.R().CalculeReseau();
  Calcul().Bouclages = sauve;
  // The closing shots miss by centimetres.
  EXPECT_GT(EcartMaxVisees(n.R()), 0.01);
}

namespace {

const std::string Echelle1 = "*calibrate tape 0 1\n";
const std::string Echelle100 = "*calibrate tape 0 100\n";

// The .svx of the computed network with every closing shot ending on its own
// station: the loops left open, every length multiplied by 100.  Returns, by station, the names of its open
// ends in the .svx.
std::string SvxOuvert(TReseau& r, testsurvey::EcrivainSvx& svx, std::map<const TPointSpeleo*, std::vector<std::string>>& bouts) {
  std::string texte = svx.Texte();
  int k = 0;
  for (const TCavite* c : r.Cavites)
    for (const TVisee* v : c->Visees) {
      const TPointSpeleo* p = v->PtCalc;
      if (!p || p->EstPointSurface() || p->ViseeAvant == v || !v->PointStation || !v->PointVise) continue;
      const std::string avant = "\n" + svx.Nom(v->PointStation) + ' ' + svx.Nom(v->PointVise) + ' ';
      const std::string ouvert = svx.Nom(p) + "o" + std::to_string(k++);
      const std::string apres = p == v->PointVise ? "\n" + svx.Nom(v->PointStation) + ' ' + ouvert + ' '
                                                  : "\n" + ouvert + ' ' + svx.Nom(v->PointVise) + ' ';
      const size_t i = texte.find(avant);
      if (i == std::string::npos) continue;
      texte.replace(i, avant.size(), apres);
      auto& b = bouts[p];
      if (b.empty()) b.push_back(svx.Nom(p));
      b.push_back(ouvert);
    }
  // Lengths a hundred times longer: the .3d file holds centimetres, the
  // differences between open ends are then read to a tenth of a millimetre.
  for (size_t i = texte.find(Echelle1); i != std::string::npos; i = texte.find(Echelle1, i))
    texte.replace(i, Echelle1.size(), Echelle100);
  return texte;
}

}  // namespace

// Against Survex: each misclosure of the report is the difference Survex
// finds between the two ends of the loop left open, within 1 mm; every closed
// station lies within the largest misclosure of Survex's least-squares
// position.
TEST(Bouclage, CommeSurvex) {
  if (!testsurvey::CavernDisponible()) GTEST_SKIP() << "cavern (Survex) is not installed";
  const std::function<void(ReseauCalcul&)> reseaux[] = {
      [](ReseauCalcul& n) { testsurvey::GenereCaviteGrille(n, 5, 11); },
      [](ReseauCalcul& n) { TroisChemins(n); },
  };
  int cas = 0;
  for (const auto& construit : reseaux) {
    ++cas;
    ReseauCalcul n;
    construit(n);
    GardeRapportCalcul rapport;
    n.R().CalculeReseau();
    testsurvey::EcrivainSvx svx(n.R().Cavites);
    std::map<const TPointSpeleo*, std::vector<std::string>> bouts;
    const std::string ouvert = SvxOuvert(n.R(), svx, bouts);
    testsupport::DossierTemp d1, d2;
    const auto rOuvert = testsurvey::LanceCavern(ouvert, d1.Chemin());
    testsurvey::EcrivainSvx svxFerme(n.R().Cavites);
    const auto rFerme = testsurvey::LanceCavern(svxFerme.Texte(), d2.Chemin());
    ASSERT_TRUE(rOuvert.Ok && rFerme.Ok) << rOuvert.Erreur << rFerme.Erreur;
    ASSERT_NE(ouvert.find(Echelle100), std::string::npos);
    double ecartMax = 0;
    int compares = 0;
    for (const auto& j : ListeBouclages()) {
      const TPointSpeleo* r = j->BranchesBouclage.back()->PtArrivee;
      ASSERT_TRUE(bouts.count(r)) << cas << " " << r->DesignPTopo;
      const auto& noms = bouts[r];
      for (int i = 0; i + 1 < j->Count(); ++i) {
        const TBrancheBouclage& b = *j->BranchesBouclage[static_cast<size_t>(i)];
        ecartMax = std::max(ecartMax, std::hypot(b.EcartX, b.EcartY, b.EcartZ));
        // The pair of open ends this misclosure is about.
        double meilleur = 1e9;
        for (const std::string& a : noms)
          for (const std::string& z : noms) {
            if (a == z) continue;
            const auto& pa = rOuvert.Positions.at(a);
            const auto& pz = rOuvert.Positions.at(z);
            meilleur = std::min(meilleur, std::hypot(b.EcartX - (pa[0] - pz[0]) / 100, b.EcartY - (pa[1] - pz[1]) / 100,
                                                     b.EcartZ - (pa[2] - pz[2]) / 100));
          }
        EXPECT_LT(meilleur, 0.001) << cas << " " << b.DesignArrivee;
        ++compares;
      }
    }
    EXPECT_GT(compares, 0) << cas;
    EXPECT_GT(ecartMax, 0.01) << cas;
    for (const TCavite* c : n.R().Cavites)
      for (const TPointSpeleo* p : c->ListePoints) {
        if (c->EstSurface) continue;
        const auto it = rFerme.Positions.find(svx.Nom(p));
        ASSERT_NE(it, rFerme.Positions.end()) << cas << " " << p->DesignPTopo;
        EXPECT_LE(std::hypot(p->X - it->second[0], p->Y - it->second[1], p->Z - it->second[2]), ecartMax)
            << cas << " " << p->DesignPTopo;
      }
  }
}
