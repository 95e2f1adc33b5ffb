// The network computation on networks built in code: coordinates and derived
// values, declination and meridian convergence, secondary entrances and the
// entrance trials, the developed elevation, failures, extremes and the
// geographic position of a cave.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <stdexcept>

#include "foundation/dates.h"
#include "foundation/transformation_vue.h"
#include "platform/scripted_dialogs.h"
#include "projections/ancetre.h"
#include "projections/services.h"
#include "survey/calcul_reseau.h"
#include "survey/declinaison.h"
#include "survey/rapport_calcul.h"
#include "tests/survey/reseau_calcul.h"

using namespace survey;
using testsurvey::ReseauCalcul;

namespace {

constexpr double Pi = std::numbers::pi;

bool ContientPointVirtuel(const TReseau& r) {
  for (const TCavite* c : r.Cavites)
    for (const TGalerie* g : c->Galeries)
      for (const TPointSpeleo* p : g->Points)
        if (p->TypePoint < 0) return true;
  return false;
}

bool RapportContient(const std::string& texte) {
  for (const std::string& l : ListeRapportCalcul())
    if (l.find(texte) != std::string::npos) return true;
  return false;
}

// A star: A, B and C each 10 m from the hub H, three entrances.  B's shot is
// poor: from B, the others land far off; from A or C, only B does.
TCavite* Etoile(ReseauCalcul& n) {
  n.Surface("A", 0, -10, 0);
  n.Surface("B", 10.5, 0, 0);
  n.Surface("C", -10, 0, 0);
  TCavite* c = n.Cavite("Réseau");
  n.Visee(c, "A", "H", 0, 0, 10);
  n.Visee(c, "H", "B", 90, 0, 10);
  n.Visee(c, "H", "C", 270, 0, 10);
  n.Regenere();
  return c;
}

}  // namespace

TEST(CalculReseau, CoordonneesEtValeursDerivees) {
  ReseauCalcul n;
  n.Surface("E1", 1000, 2000, 500);
  TCavite* c = n.Cavite("Grotte");
  n.Visee(c, "E1", "1", 0, 0, 10);       // north, level
  n.Visee(c, "1", "2", 90, -30, 20);     // east, down
  n.Visee(c, "3", "2", 180, 0, 5);       // stored from 3, read towards 2: walked reversed
  n.Regenere();
  n.R().CalculeReseau();
  auto p = [&](const char* nom) { return n.Station(c, nom); };
  EXPECT_NEAR(p("1")->X, 1000, 1e-9);
  EXPECT_NEAR(p("1")->Y, 2010, 1e-9);
  EXPECT_NEAR(p("2")->X, 1000 + 20 * std::cos(Pi / 6), 1e-9);
  EXPECT_NEAR(p("2")->Z, 490, 1e-9);
  EXPECT_NEAR(p("3")->Y, 2015, 1e-9);
  EXPECT_NEAR(p("3")->Z, 490, 1e-9);
  EXPECT_NEAR(p("3")->Slh, 15 + 20 * std::cos(Pi / 6), 1e-9);
  EXPECT_NEAR(p("3")->Slp, 35, 1e-9);
  EXPECT_NEAR(p("3")->Dhb, -10, 1e-9);
  EXPECT_EQ(p("3")->Dhh, 0);
  EXPECT_NEAR(p("3")->DzPt, -10, 1e-9);
  EXPECT_EQ(p("3")->ZCalc, p("3")->Z);
  EXPECT_GT(p("3")->PrecisX, p("2")->PrecisX);
  EXPECT_GT(p("3")->PrecisTotX, 0);
  EXPECT_NEAR(p("3")->PrecisTotZ, std::sqrt(p("3")->PrecisZ), 1e-12);
  EXPECT_EQ(c->EntreeSelectee, n.Station(c, "E1"));
  EXPECT_FALSE(ContientPointVirtuel(n.R()));
  // The view takes the extremes of the cave.
  EXPECT_NEAR(foundation::Vue().Xmax, p("3")->X, 1e-9);
  EXPECT_NEAR(foundation::Vue().Zmin, 490, 1e-9);
  EXPECT_NEAR(foundation::Vue().Ymin, 2010, 1e-9) << "stations only, not the entrance";
}

TEST(CalculReseau, PrecisionRelativeEtReferenceDesAltitudes) {
  ReseauCalcul n;
  n.Surface("E1", 0, 0, 100);
  TPointSpeleo* loin = n.Surface("Loin", 0, 0, 40);
  TCavite* c = n.Cavite("Grotte");
  n.Visee(c, "E1", "1", 45, -30, 20);
  n.Visee(c, "1", "2", 45, -30, 20);
  n.Visee(c, "2", "3", 45, -30, 20);
  n.Regenere();
  // An altitude reference that is not an entrance is ignored.
  c->RefCalculAlti = loin;
  n.Station(c, "2")->PrecisRelX = -1;
  n.R().CalculeReseau();
  EXPECT_NEAR(n.Station(c, "3")->DzPt, -30, 1e-9);
  EXPECT_EQ(n.Station(c, "2")->PrecisRelX, 0) << "-1 restarts the relative precision";
  const TVisee* v23 = c->Visees.Last();
  EXPECT_NEAR(n.Station(c, "3")->PrecisRelX, v23->IncertX * v23->IncertX, 1e-15);
  EXPECT_GT(n.Station(c, "1")->PrecisRelX, 0);
}

TEST(CalculReseau, DeclinaisonEtConvergence) {
  ReseauCalcul n;
  double x0 = 0, y0 = 0;
  int32_t zone = projections::ZoneAChoisir;
  ASSERT_EQ(projections::DatumVersGrille("WGS84", "UTM", 45 * Pi / 180, 5.5 * Pi / 180, x0, y0, zone), 0);
  n.R().Projection = "UTM";
  n.R().NumFuseau = zone;
  n.Surface("E1", x0, y0, 1000);
  TCavite* c = n.Cavite("Grotte");
  TLever* avecDecli = n.Lever(c);
  avecDecli->UniteDeclin = UniteDeclinDegres;
  avecDecli->Declinaison = 2;
  TLever* ancienne = n.Lever(c);
  ancienne->UniteDeclin = UniteDeclinDegres;
  ancienne->Declinaison = 2;
  ancienne->AncienneDecli = true;
  TLever* sans = n.Lever(c);
  n.Visee(c, "E1", "1", 0, 0, 100, avecDecli);
  n.Visee(c, "E1", "2", 0, 0, 100, ancienne);
  n.Visee(c, "E1", "3", 0, 0, 100, sans);
  n.Regenere();
  n.R().CalculeReseau();
  const double g = projections::ConvergenceUTM(zone, x0, y0);
  ASSERT_GT(std::fabs(g), 0.001) << "a point off the central meridian";
  const double cap1 = 2 * Pi / 180 - g;
  EXPECT_NEAR(n.Station(c, "1")->X - x0, 100 * std::sin(cap1), 1e-9);
  EXPECT_NEAR(n.Station(c, "1")->Y - y0, 100 * std::cos(cap1), 1e-9);
  EXPECT_NEAR(n.Station(c, "2")->X - x0, 100 * std::sin(2 * Pi / 180), 1e-9) << "former convention: no convergence";
  EXPECT_NEAR(n.Station(c, "3")->X - x0, 0, 1e-9) << "no declination: no convergence";
  // Without the projection flag the convergence is left out.
  n.R().CalculProjection = false;
  n.R().CalculeReseau();
  EXPECT_NEAR(n.Station(c, "1")->X - x0, 100 * std::sin(2 * Pi / 180), 1e-9);
}

TEST(CalculReseau, ConvergenceLambertParLeServiceGeneral) {
  ReseauCalcul n;
  n.R().Projection = "LT 2+";
  n.Surface("E1", 900000, 2100000, 500);
  TCavite* c = n.Cavite("Grotte");
  TLever* l = n.Lever(c);
  l->UniteDeclin = UniteDeclinDegres;
  n.Visee(c, "E1", "1", 0, 0, 100, l);
  n.Regenere();
  n.R().CalculeReseau();
  std::string datum;
  ASSERT_TRUE(projections::DatumProjection("LT 2+", datum));
  double g = 0;
  ASSERT_TRUE(projections::ConvergenceProjectionNum("LT 2+", datum, 900000, 2100000, 1, g));
  EXPECT_GT(std::fabs(g), 0.01);
  EXPECT_NEAR(c->CalculeConvergence(), g, 1e-12);
  EXPECT_NEAR(n.Station(c, "1")->X - 900000, 100 * std::sin(-g), 1e-9);
}

// A system the catalogue cannot resolve: the shots are placed without
// convergence, the automatic declinations keep their value, and one message
// naming the system says so for each computation, however many caves and
// entrance trials it holds.  A system that resolves says nothing.
TEST(CalculReseau, SystemeIntrouvableDitUneFoisParDocument) {
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs garde(dialogues);
  ReseauCalcul n;
  n.R().Projection = "Lambert Atlantide";
  n.Surface("E1", 900000, 2100000, 500);
  n.Surface("E2", 900050, 2100000, 500);
  n.Surface("E3", 900000, 2100050, 500);
  n.Surface("F1", 910000, 2100000, 300);
  TCavite* a = n.Cavite("Aven");
  TLever* la = n.Lever(a);
  la->UniteDeclin = UniteDeclinDegres;
  la->Declinaison = 1.5;
  la->DecliAuto = true;
  ASSERT_TRUE(foundation::EncodeDate(2020, 7, 1, la->LaDate));
  // Three entrances: the computation tries each of them.
  n.Visee(a, "E1", "1", 30, 0, 40, la);
  n.Visee(a, "1", "E2", 90, 0, 30, la);
  n.Visee(a, "1", "E3", 0, 0, 30, la);
  TCavite* b = n.Cavite("Bergerie");
  TLever* lb = n.Lever(b);
  lb->UniteDeclin = UniteDeclinDegres;
  lb->Declinaison = 2;
  n.Visee(b, "F1", "1", 45, 0, 20, lb);
  n.Regenere();

  n.R().CalculeReseau();
  ASSERT_EQ(dialogues.Messages().size(), 1u);
  const std::string message = dialogues.Messages()[0];
  EXPECT_EQ(dialogues.Log()[0].kind, platform::MessageKind::Warning);
  EXPECT_NE(message.find("convergence des méridiens n'a pas pu être calculée dans le système Lambert Atlantide"),
            std::string::npos) << message;
  EXPECT_NE(message.find("déclinaisons calculées automatiquement gardent leur dernière valeur"), std::string::npos)
      << message;
  EXPECT_EQ(la->Declinaison, 1.5);
  // Placed as with the convergence left out.
  const double x = n.Station(b, "1")->X, y = n.Station(b, "1")->Y;
  EXPECT_NEAR(x - 910000, 20 * std::sin(47 * Pi / 180), 1e-9);
  EXPECT_NEAR(y - 2100000, 20 * std::cos(47 * Pi / 180), 1e-9);
  // The window computes at every refresh: the same document with the same
  // system does not say it again.
  n.R().CalculeReseau();
  EXPECT_EQ(dialogues.Messages().size(), 1u);
  // Independent coordinates have no convergence to miss.
  n.R().Projection.clear();
  n.R().CalculeReseau();
  EXPECT_EQ(dialogues.Messages().size(), 1u);
  // Back to the unknown system: said again, once.
  n.R().Projection = "Lambert Atlantide";
  n.R().CalculeReseau();
  n.R().CalculeReseau();
  EXPECT_EQ(dialogues.Messages().size(), 2u);
  // A system the catalogue knows has nothing to say.
  n.R().Projection = "LT 2+";
  n.R().CalculeReseau();
  EXPECT_EQ(dialogues.Messages().size(), 2u);
  EXPECT_NE(la->Declinaison, 1.5) << "computed at the entrance";
}

TEST(CalculReseau, PositionGeographiqueDeLEntree) {
  ReseauCalcul n;
  double x = 0, y = 0;
  int32_t zone = projections::ZoneAChoisir;
  ASSERT_EQ(projections::DatumVersGrille("WGS84", "UTM", -44.5 * Pi / 180, -1.25 * Pi / 180, x, y, zone), 0);
  n.R().Projection = "UTM";
  n.R().NumFuseau = zone;
  n.Surface("E1", x, y, 0);
  TCavite* c = n.Cavite("Grotte");
  std::string lat = "x", lon = "x";
  EXPECT_FALSE(c->EntreeWGSStr(lat, lon)) << "no shot and no surface point being entered";
  EXPECT_EQ(lat, "");
  // A cave without shots takes the surface point of the shot being entered.
  Calcul().PtSurfaceSaisie = n.Surface("E1");
  EXPECT_TRUE(c->EntreeWGSStr(lat, lon));
  Calcul().PtSurfaceSaisie = nullptr;
  n.Visee(c, "E1", "1", 0, 0, 10);
  n.Regenere();
  ASSERT_TRUE(c->EntreeWGSStr(lat, lon));
  EXPECT_EQ(lat, "Lat : 44.5000 S");
  EXPECT_EQ(lon, "Long : 1.2500 O");
  n.R().Projection.clear();
  EXPECT_FALSE(c->EntreeWGSStr(lat, lon));
  EXPECT_EQ(lon, "");
}

TEST(CalculReseau, DeclinaisonAutomatiqueAlEntree) {
  ReseauCalcul n;
  double x = 0, y = 0;
  int32_t zone = projections::ZoneAChoisir;
  ASSERT_EQ(projections::DatumVersGrille("WGS84", "UTM", 43 * Pi / 180, 1 * Pi / 180, x, y, zone), 0);
  n.R().Projection = "UTM";
  n.R().NumFuseau = zone;
  n.Surface("E1", x, y, 500);
  TCavite* c = n.Cavite("Grotte");
  TLever* l = n.Lever(c);
  l->UniteDeclin = UniteDeclinDegres;
  l->DecliAuto = true;
  ASSERT_TRUE(foundation::EncodeDate(2020, 7, 1, l->LaDate));
  n.Visee(c, "E1", "1", 0, 0, 10, l);
  n.Regenere();
  n.R().CalculeReseau();
  double annee = 0;
  ASSERT_TRUE(AnneeDecimale(l->LaDate, annee));
  const double attendue = CalculeDeclinaisonIGRF(annee, 43, 1, 500) * 180 / Pi;
  EXPECT_NEAR(l->Declinaison, attendue, 1e-6);
  EXPECT_GT(l->Declinaison, 0.5);
}

// A cave with two entrances is computed from the selected one; the other is
// tied to its surface point by a temporary plan and height adjustment.
TEST(CalculReseau, DeuxEntrees) {
  ReseauCalcul n;
  n.Surface("E1", 0, 0, 0);
  TPointSpeleo* e2 = n.Surface("E2", 0.3, 30, 1);  // surveyed: (0, 30, 0)
  TCavite* c = n.Cavite("Traversée");
  n.Visee(c, "E1", "1", 0, 0, 10);
  n.Visee(c, "1", "2", 0, 0, 10);
  n.Visee(c, "2", "E2", 0, 0, 10);
  n.Regenere();
  ASSERT_EQ(c->EntreeSelectee, n.Station(c, "E1"));
  {
    GardeRapportCalcul rapport;
    n.R().CalculeReseau();
  }
  EXPECT_EQ(c->EntreeSelectee, n.Station(c, "E1"));
  EXPECT_FALSE(ContientPointVirtuel(n.R()));
  EXPECT_EQ(n.R().Compensations.Count(), 0) << "the temporary adjustment is gone";
  EXPECT_EQ(c->NbPrecisEntrees, 1);
  EXPECT_NEAR(c->PrecisEntrees, 0.09, 1e-12);
  // Every shot is corrected: station 2 is two thirds of the way.
  EXPECT_NEAR(n.Station(c, "2")->X, 0.2, 1e-9);
  EXPECT_NEAR(n.Station(c, "2")->Y, 20, 1e-3);
  EXPECT_NEAR(n.Station(c, "2")->Z, 2.0 / 3, 1e-9);
  EXPECT_EQ(e2->X, 0.3) << "surface points keep their coordinates";
  EXPECT_TRUE(RapportContient("Compensation plani+alti entre l'entrée E2 et le point E1"));
  EXPECT_TRUE(RapportContient("Ecart en X :   -0.3 m"));
  EXPECT_TRUE(RapportContient("Calculs du réseau "));
  EXPECT_TRUE(RapportContient(" Entrée sélectionnée : E1"));
}

// Three entrances: each is tried; the one whose other entrances land nearest
// their surface points is used, then the user's entrance is selected again.
// From A, B's adjustment turns the shot A-H and C lands off too; from C, A
// lands exactly (no correction) and only B is off; from B, both are off.
TEST(CalculReseau, EssaisDesEntrees) {
  ReseauCalcul n;
  TCavite* c = Etoile(n);
  c->EntreeSelectee = n.Station(c, "B");
  n.Regenere();
  n.R().CalculeReseau();
  EXPECT_EQ(c->EntreeSelectee, n.Station(c, "B")) << "the user's entrance again";
  ASSERT_EQ(c->ListeEntreesCalculees.Count(), 3);
  EXPECT_EQ(ReseauCalcul::Noms(c->ListeEntreesCalculees), "C A B");
  EXPECT_FALSE(ContientPointVirtuel(n.R()));
  // The hub as computed from C, corrections kept in B's orientation.
  EXPECT_NEAR(n.Station(c, "H")->X, 0, 1e-9);
  EXPECT_NEAR(n.Station(c, "H")->Y, 0, 1e-9);
  // The trials are not repeated while the entrances stay the same.
  c->ListeEntreesCalculees.Points() = {n.Station(c, "A"), n.Station(c, "C"), n.Station(c, "B")};
  n.R().CalculeReseau();
  EXPECT_EQ(ReseauCalcul::Noms(c->ListeEntreesCalculees), "A C B");
  // They are when an entrance changed.
  n.Surface("D", 0, -5, 0);
  n.Visee(c, "H", "D", 180, 0, 5);
  n.Regenere();
  n.R().CalculeReseau();
  EXPECT_EQ(c->ListeEntreesCalculees.Count(), 4);
}

// A trial whose cave stopped before any secondary entrance was measured has
// no mean: it ranks after every other.
TEST(CalculReseau, EssaiSansMesureClasseDernier) {
  ReseauCalcul n;
  TCavite* c = Etoile(n);
  // Loop closure sees the virtual entrances; here it fails the trials from A.
  const TBouclagesCalcul crochets = Calcul().Bouclages;
  Calcul().Bouclages.AjouteJonctionBouclage = [&](TPointSpeleo*, TPointSpeleo*) {
    if (c->EntreeSelectee && c->EntreeSelectee->DesignPTopo == "A") throw std::runtime_error("essai");
  };
  n.R().CalculeReseau();
  Calcul().Bouclages = crochets;
  ASSERT_EQ(c->ListeEntreesCalculees.Count(), 3);
  EXPECT_EQ(c->ListeEntreesCalculees.First()->DesignPTopo, "C");
  EXPECT_EQ(c->EntreeSelectee->DesignPTopo, "A");
  EXPECT_FALSE(ContientPointVirtuel(n.R()));
}

// A shot that cannot be reduced as measured does not stop the computation:
// the cave is computed with the shot vertical, and the caller is told.
TEST(CalculReseau, VisesImpossiblesSignalees) {
  ReseauCalcul n;
  n.Surface("E1", 0, 0, 0);
  TCavite* c = n.Cavite("Puits");
  n.Visee(c, "E1", "1", 0, 0, 10);
  TVisee* v = n.Visee(c, "1", "2", 0, 0, 0);
  v->Typesaisie = SaisieDenivLongueur;
  v->Long = 10;
  v->Deniv = -12;
  n.Visee(c, "2", "3", 0, 0, 10);
  n.Regenere();
  n.R().CalculeReseau();
  EXPECT_NEAR(n.Station(c, "3")->Y, 20, 1e-9);
  EXPECT_NEAR(n.Station(c, "3")->Z, -12, 1e-9);
  ASSERT_EQ(Calcul().Avertissements.size(), 1u);
  EXPECT_NE(Calcul().Avertissements[0].find("Puits"), std::string::npos);
  // A new computation says it again.
  n.R().CalculeReseau();
  EXPECT_EQ(Calcul().Avertissements.size(), 1u);
}

// The passes of the computation return their warnings and leave the report
// alone; the full computation writes them there in the order they arose,
// each shot once although every pass reduces it again.
TEST(CalculReseau, AvertissementsRendusPuisRapportes) {
  ReseauCalcul n;
  n.Surface("E1", 0, 0, 0);
  n.Surface("E2", 100, 0, 0);
  TCavite* puits = n.Cavite("Puits");
  n.Visee(puits, "E1", "1", 0, 0, 10);
  TVisee* vertical = n.Visee(puits, "1", "2", 0, 0, 0);
  vertical->Typesaisie = SaisieDenivLongueur;
  vertical->Long = 10;
  vertical->Deniv = -12;
  n.Visee(puits, "2", "3", 0, 0, 10);
  TCavite* olivier = n.Cavite("Olivier");
  n.Visee(olivier, "E2", "1", 0, 0, 10);
  TVisee* absurde = n.Visee(olivier, "1", "2", 10, 0, 1e308);
  n.Regenere();
  n.R().CalculeReseau();
  const std::vector<std::string> rapport = Calcul().Avertissements;
  ASSERT_EQ(rapport.size(), 2u);
  EXPECT_NE(rapport[0].find("Puits"), std::string::npos) << rapport[0];
  EXPECT_NE(rapport[0].find("verticale"), std::string::npos) << rapport[0];
  EXPECT_NE(rapport[1].find("Olivier"), std::string::npos) << rapport[1];
  EXPECT_NE(rapport[1].find("mesures impossibles"), std::string::npos) << rapport[1];
  // One pass on its own: the same warnings come back, the report is untouched.
  TAvertissementsCalcul passe;
  n.R().CalculeToutReseau(false, passe);
  EXPECT_EQ(Calcul().Avertissements, rapport);
  std::vector<std::string> premiers;
  std::vector<const TValeurVisee*> visees;
  for (const TAvertissementCalcul& a : passe) {
    ASSERT_TRUE(a.Visee == vertical || a.Visee == absurde) << a.Texte;
    if (std::find(visees.begin(), visees.end(), a.Visee) != visees.end()) continue;
    visees.push_back(a.Visee);
    premiers.push_back(a.Texte);
  }
  EXPECT_EQ(premiers, rapport);
}

// Absurd readings (a length of 1e308, an infinite or undefined azimuth, a
// slope far outside any range) never become coordinates: the shot is refused
// with a warning naming it, the stations it reaches and those beyond stay
// undefined, a loop through them moves nothing, and the rest of the cave and
// the view extremes are those of the sound shots.
TEST(CalculReseau, MesuresImpossiblesLaissentLesPointsIndefinis) {
  struct Cas {
    const char* nom;
    double az, pente, longueur;
  };
  const Cas cas[] = {
      {"longueur 1e308", 10, -500, 1e308},
      {"longueur maximale", 10, 0, std::numeric_limits<double>::max()},
      {"longueur infinie", 10, 0, std::numeric_limits<double>::infinity()},
      {"azimut infini", std::numeric_limits<double>::infinity(), 0, 5},
      {"pente NaN", 10, std::numeric_limits<double>::quiet_NaN(), 5},
      {"longueur 1e7", 10, 0, 1e7},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    ReseauCalcul n;
    n.Surface("E1", 1000, 2000, 500);
    TCavite* c = n.Cavite("Olivier");
    n.Visee(c, "E1", "1", 0, 0, 10);
    n.Visee(c, "1", "2", k.az, k.pente, k.longueur);
    n.Visee(c, "2", "3", 90, 0, 4);
    n.Visee(c, "1", "4", 180, 0, 3);
    // A loop back from the refused branch to a sound station.
    n.Visee(c, "3", "4", 0, 0, 2);
    n.Visee(c, "1", "5", 90, 0, 4);
    n.Regenere();
    n.R().CalculeReseau();
    auto p = [&](const char* nom) { return n.Station(c, nom); };
    EXPECT_NEAR(p("1")->Y, 2010, 1e-9);
    for (const TCavite* cav : n.R().Cavites)
      for (const TGalerie* g : cav->Galeries)
        for (const TPointSpeleo* s : g->Points) {
          SCOPED_TRACE(s->DesignPTopo);
          EXPECT_TRUE(std::isfinite(s->X) && std::isfinite(s->Y) && std::isfinite(s->Z));
          EXPECT_TRUE(std::isfinite(s->Slh) && std::isfinite(s->Slp) && std::isfinite(s->PrecisTotX));
          EXPECT_TRUE(s->CoordonneesIndefinies() || std::fabs(s->X) < 1e5);
          if (s->CoordonneesIndefinies()) EXPECT_EQ(s->DenivStr(), "");
        }
    EXPECT_TRUE(p("2")->CoordonneesIndefinies());
    EXPECT_TRUE(p("3")->CoordonneesIndefinies());
    // 4 closes a loop with the refused branch: placed by the sound shot or
    // left undefined, never moved by a correction from the refused side.
    EXPECT_TRUE(p("4")->CoordonneesIndefinies() || std::fabs(p("4")->Y - 2007) < 1e-6) << p("4")->Y;
    EXPECT_FALSE(p("5")->CoordonneesIndefinies());
    EXPECT_NEAR(p("5")->X, 1004, 1e-6);
    ASSERT_FALSE(Calcul().Avertissements.empty());
    EXPECT_NE(Calcul().Avertissements[0].find("Olivier"), std::string::npos) << Calcul().Avertissements[0];
    EXPECT_NE(Calcul().Avertissements[0].find("mesures impossibles"), std::string::npos) << Calcul().Avertissements[0];
    EXPECT_GT(foundation::Vue().Zmin, 400);
    EXPECT_LT(foundation::Vue().Ymax, 3000);
    // The shot table leaves undefined coordinates blank.
    EXPECT_EQ(TValeurVisee::ValFormatee(12, 2, p("2")->X), "");
  }
}

// The developed elevation: heights adjusted, abscissae developed from the
// selected entrance, and no virtual point left in the model.
TEST(CalculReseau, CoupeDeveloppee) {
  ReseauCalcul n;
  n.Surface("E1", 0, 0, 0);
  n.Surface("E2", 0, 30, 0);
  TCavite* c = n.Cavite("Boucle");
  n.Visee(c, "E1", "1", 0, 0, 10);
  n.Visee(c, "1", "2", 90, 0, 10);
  n.Visee(c, "2", "3", 0, 0, 10);
  n.Visee(c, "3", "1", 270, 0, 10);   // closes a loop on 1
  n.Visee(c, "3", "E2", 0, 0, 10);
  n.Regenere();
  foundation::GardeTypeDessin kind(foundation::TTypeDeDessin::tddAltiDev);
  n.R().LaCaviteActive = c;
  n.R().CalculeReseau();
  EXPECT_FALSE(ContientPointVirtuel(n.R()));
  const TCoupeDeveloppee& coupe = Calcul().CoupeDevel;
  ASSERT_EQ(coupe.Cavite, c);
  const TVisee* boucle = nullptr;
  for (const TVisee* v : c->Visees)
    if (v->EstViseeRattach()) boucle = v;
  ASSERT_NE(boucle, nullptr) << "the loop-closing shot";
  const TExtremitesCoupe* x = coupe.Extremites(boucle);
  ASSERT_NE(x, nullptr);
  EXPECT_NEAR(x->Origine.SlH, 30, 1e-9);
  EXPECT_NEAR(x->Fin.SlH, 40, 1e-9) << "the loop closes on its own abscissa";
  EXPECT_NEAR(n.Station(c, "1")->Slh, 10, 1e-9);
  EXPECT_EQ(c->EntreeSelectee, n.Station(c, "E1"));
  // In plan, nothing is developed.
  foundation::GardeTypeDessin plan(foundation::TTypeDeDessin::tddPlani);
  n.R().CalculeReseau();
  EXPECT_EQ(Calcul().CoupeDevel.Extremites(boucle), nullptr);
}

TEST(CalculReseau, ExtremesDepuisLaPremiereCaviteCalculee) {
  ReseauCalcul n;
  n.Surface("E1", 100, 100, 100);
  n.Cavite("Vide");
  TCavite* c = n.Cavite("Pleine");
  n.Visee(c, "E1", "1", 0, 0, 10);
  n.Visee(c, "1", "2", 90, 30, 2);
  n.Regenere();
  foundation::Vue().Xmin = -1e9;
  n.R().CalculeReseau();
  EXPECT_NEAR(foundation::Vue().Xmin, 100, 1e-9);
  EXPECT_NEAR(foundation::Vue().Ymax, 110, 1e-9);
  EXPECT_NEAR(foundation::Vue().SLmax, 10 + 2 * std::cos(Pi / 6), 1e-9);
  EXPECT_NEAR(foundation::Vue().Zmax, 101, 1e-9);
}

TEST(CalculReseau, RapportSansCompensation) {
  ReseauCalcul n;
  n.Surface("E1", 0, 0, 0);
  TCavite* c = n.Cavite("Grotte");
  n.Visee(c, "E1", "1", 0, 0, 10);
  n.Regenere();
  n.R().Nom = "Massif";
  n.R().CalculeReseau();
  EXPECT_TRUE(ListeRapportCalcul().empty()) << "the report is off";
  GardeRapportCalcul rapport;
  n.R().CalculeReseau();
  ASSERT_GE(ListeRapportCalcul().size(), 3u);
  EXPECT_EQ(ListeRapportCalcul()[0], "Calculs du réseau Massif - cavité en cours : Grotte");
  EXPECT_EQ(ListeRapportCalcul()[1], "");
  EXPECT_EQ(ListeRapportCalcul()[2], "Il n'y a aucune compensation ni bouclage à calculer");
}

TEST(CalculReseau, DimensionsDepuisLesVisesHabillage) {
  ReseauCalcul n;
  n.Surface("E1", 0, 0, 0);
  TCavite* c = n.Cavite("Grotte");
  n.Visee(c, "E1", "1", 0, 0, 10);
  TVisee* v = n.Visee(c, "1", "2", 0, 0, 10);
  auto h = std::make_unique<TViseeHabi>();
  h->RefPtStat = true;  // on 1
  h->Az = 90;
  h->Long = 3;
  v->AjouteViseeHabi(std::move(h));
  n.Regenere();
  c->CalculeGDHB();
  EXPECT_NEAR(n.Station(c, "1")->LargeurDR, 3, 1e-9);
  EXPECT_EQ(n.Station(c, "1")->LargeurGA, 0);
}
