#include "survey/lever.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "foundation/flux.h"
#include "foundation/niveau_fichier.h"
#include "platform/scripted_dialogs.h"
#include "survey/declinaison.h"
#include "survey/listes_document.h"
#include "tests/support/dossier_temp.h"

using namespace survey;
using foundation::DateNonRenseignee;
using foundation::TFluxMemoire;

namespace {

std::string Fixture(const std::string& nom) {
  return testsupport::LitOctets(std::string(GRAVELUNE_SOURCE_DIR) + "/tests/survey/fixtures/" + nom);
}

foundation::TDateTime Date(int a, int m, int j) {
  foundation::TDateTime d = 0;
  EXPECT_TRUE(foundation::EncodeDate(a, m, j, d));
  return d;
}

// A document with two operators and three instruments, installed for the life
// of the object.
struct DocumentDeTest {
  TListeOperateurs operateurs;
  TListeInstruments instruments;
  GardeListesDocument garde;
  foundation::GardeNiveauFichier niveau;
  DocumentDeTest() {
    for (const char* nom : {"Alice", "Bernard"}) {
      auto o = std::make_unique<TOperateur>();
      o->DesignOpe = nom;
      operateurs.Add(std::move(o));
    }
    for (const char* nom : {"Décamètre", "Clino", "Boussole"}) {
      auto i = std::make_unique<TInstrument>();
      i->DesignInstr = nom;
      instruments.Add(std::move(i));
    }
    ListesDocument().Operateurs = &operateurs;
    ListesDocument().Instruments = &instruments;
  }
  static void Niveau(int n) { foundation::NiveauFichier().VersionFichierLue = n; }
};

}  // namespace

TEST(Lever, LectureNiveau511EtReecritureIdentique) {
  DocumentDeTest doc;
  DocumentDeTest::Niveau(511);
  const std::string octets = Fixture("lever_511.bin");
  ASSERT_EQ(octets.size(), 128u);
  TFluxMemoire f(octets);
  TLever l;
  ASSERT_TRUE(l.LitObjet(f));
  EXPECT_EQ(f.Restant(), 0u);

  EXPECT_EQ(l.LaDate, Date(2010, 7, 15));
  EXPECT_EQ(l.UniteAZ, 1);
  EXPECT_EQ(l.UniteP, 2);
  EXPECT_EQ(l.EtalonAZ, 0.5);
  EXPECT_EQ(l.EtalonL, 1.02);
  EXPECT_EQ(l.Declinaison, -1.5);
  EXPECT_EQ(l.UniteDeclin, 2);
  EXPECT_EQ(l.indInstrumentAz, 7);
  EXPECT_EQ(l.indInstrumentL, 8);
  EXPECT_EQ(l.indInstrumentP, 9);
  EXPECT_TRUE(l.DoubleAZ);
  EXPECT_FALSE(l.DoubleP);
  EXPECT_TRUE(l.VsMire);
  EXPECT_EQ(l.Methode, "");
  EXPECT_EQ(l.Operateurs, (TListeDOperateurs{doc.operateurs[1], doc.operateurs[0]}));
  EXPECT_EQ(l.InstrumentAz, doc.instruments[2]);
  EXPECT_EQ(l.InstrumentL, doc.instruments[0]);
  EXPECT_EQ(l.InstrumentP, nullptr);
  EXPECT_EQ(l.Precision, 5);
  EXPECT_EQ(l.Commentaires, "Été humide");
  EXPECT_EQ(l.ZeroPente, -1);
  EXPECT_TRUE(l.Topofil);
  EXPECT_EQ(l.CodeLever, 12.5);
  EXPECT_TRUE(l.AncienneDecli);
  EXPECT_TRUE(l.DecliAuto);

  TFluxMemoire sortie;
  ASSERT_TRUE(l.EcritObjet(sortie));
  EXPECT_EQ(sortie.Octets(), octets);
}

TEST(Lever, NouveauLeverEtBlocDe64Octets) {
  DocumentDeTest doc;
  TLever l;
  EXPECT_EQ(l.LaDate, 0);
  EXPECT_EQ(l.EtalonL, 1.0);
  EXPECT_EQ(l.Precision, 3);
  EXPECT_EQ(l.UniteDeclin, 0);
  // Offsets of the block: each field set to a recognisable value.
  l.LaDate = 1.0;
  l.UniteAZ = 0x11;
  l.UniteP = 0x22;
  l.EtalonAZ = 2.0;
  l.EtalonL = 3.0;
  l.Declinaison = 4.0;
  l.UniteDeclin = 0x33;
  l.indInstrumentAz = 0x44;
  l.indInstrumentL = 0x55;
  l.indInstrumentP = 0x66;
  l.DoubleAZ = l.DoubleP = l.VsMire = true;
  TFluxMemoire f;
  ASSERT_TRUE(l.EcritObjet(f));
  const std::string& o = f.Octets();
  // Block, empty method, no operator, three instruments, precision, empty
  // comments, slope zero, thread counter, code, former convention, automatic flag.
  EXPECT_EQ(o.size(), 64u + 4 + 4 + 12 + 4 + 4 + 4 + 1 + 8 + 4 + 1);
  auto reel = [&](size_t p) {
    double v;
    std::memcpy(&v, o.data() + p, 8);
    return v;
  };
  auto entier = [&](size_t p) {
    int32_t v;
    std::memcpy(&v, o.data() + p, 4);
    return v;
  };
  EXPECT_EQ(reel(0), 1.0);
  EXPECT_EQ(o.substr(8, 8), std::string("\x11\x22\0\0\0\0\0\0", 8));
  EXPECT_EQ(reel(16), 2.0);
  EXPECT_EQ(reel(24), 3.0);
  EXPECT_EQ(reel(32), 4.0);
  EXPECT_EQ(o.substr(40, 4), std::string("\x33\0\0\0", 4));
  EXPECT_EQ(entier(44), 0x44);
  EXPECT_EQ(entier(48), 0x55);
  EXPECT_EQ(entier(52), 0x66);
  EXPECT_EQ(o.substr(56, 8), std::string("\x01\x01\x01\0\0\0\0\0", 8));
  EXPECT_EQ(entier(72), -1);  // no azimuth instrument
}

TEST(Lever, NiveauxAnciens) {
  DocumentDeTest doc;
  // Level 505: no automatic-declination byte; a year 95 is 1995, the time of
  // day is dropped; a stored former-convention value of 2 reads as false.
  DocumentDeTest::Niveau(505);
  TFluxMemoire f(Fixture("lever_505.bin"));
  TLever l;
  l.DecliAuto = true;
  ASSERT_TRUE(l.LitObjet(f));
  EXPECT_EQ(f.Restant(), 4u);
  EXPECT_FALSE(l.DecliAuto);
  EXPECT_EQ(l.LaDate, Date(1995, 3, 14));
  EXPECT_EQ(l.DateTexte(), "14/03/1995");
  EXPECT_FALSE(l.AncienneDecli);
  EXPECT_EQ(l.Methode, "Méthode");
  EXPECT_EQ(l.Operateurs, (TListeDOperateurs{doc.operateurs[0]}));
  EXPECT_EQ(l.InstrumentAz, nullptr);
  EXPECT_EQ(l.Declinaison, 2.25);

  // Date bytes all 0: no date below level 508, 30 December 1899 from 508 on.
  struct Cas {
    int niveau;
    foundation::TDateTime date;
    const char* texte;
  };
  const Cas cas[] = {{507, DateNonRenseignee, "non renseignée"}, {508, 0, "30/12/1899"}, {511, 0, "30/12/1899"}};
  for (const Cas& c : cas) {
    DocumentDeTest::Niveau(c.niveau);
    TFluxMemoire fz(Fixture("lever_date_zero.bin"));
    TLever z;
    ASSERT_TRUE(z.LitObjet(fz)) << c.niveau;
    EXPECT_EQ(fz.Restant(), 0u) << c.niveau;
    EXPECT_EQ(z.LaDate, c.date) << c.niveau;
    EXPECT_EQ(z.DateTexte(), c.texte) << c.niveau;
  }
}

TEST(Lever, EnregistrementsAbimes) {
  DocumentDeTest doc;
  DocumentDeTest::Niveau(511);
  const std::string octets = Fixture("lever_511.bin");
  for (size_t n = 0; n < octets.size(); ++n) {
    TFluxMemoire f(octets.substr(0, n));
    TLever l;
    EXPECT_FALSE(l.LitObjet(f)) << n;
  }
  // A date that is no date (NaN, or beyond year 9999) fails the read.
  for (double mauvaise : {std::nan(""), 1e10}) {
    std::string o = octets;
    std::memcpy(o.data(), &mauvaise, 8);
    TFluxMemoire f(o);
    TLever l;
    EXPECT_FALSE(l.LitObjet(f)) << mauvaise;
  }
  // An operator count beyond the stream fails without reading further.
  std::string o = octets;
  const int32_t enorme = 0x10000000;
  std::memcpy(o.data() + 68, &enorme, 4);
  TFluxMemoire f(o);
  TLever l;
  EXPECT_FALSE(l.LitObjet(f));
}

TEST(Lever, SansListesDeDocument) {
  GardeListesDocument garde;
  ListesDocument() = {};
  foundation::GardeNiveauFichier niveau;
  foundation::NiveauFichier().VersionFichierLue = 511;
  TFluxMemoire f(Fixture("lever_511.bin"));
  TLever l;
  ASSERT_TRUE(l.LitObjet(f));
  EXPECT_TRUE(l.Operateurs.empty());
  EXPECT_EQ(l.InstrumentAz, nullptr);
  EXPECT_EQ(l.InstrumentL, nullptr);
}

TEST(Lever, TexteDeLaDeclinaison) {
  struct Cas {
    double valeur;
    uint8_t unite;
    const char* texte;
  };
  const Cas cas[] = {
      {-1.5, 2, "-1° 30'"}, {2.25, 0, "2.25 °"},   {1.5, 1, "1.50 g"},
      {0.25, 4, "0° 15'"},  {-0.5, 2, "-0° 30'"},  {1.9999, 2, "2° 0'"},   {2.125, 2, "2° 8'"},
      {2.175, 2, "2° 10'"}, {12.0, 2, "12° 0'"},
  };
  for (const Cas& c : cas) {
    TLever l;
    l.Declinaison = c.valeur;
    l.UniteDeclin = c.unite;
    EXPECT_EQ(l.DeclinStr(), c.texte) << c.valeur << " unit " << int(c.unite);
  }
}

TEST(Lever, LeverParDefaut) {
  TLeversList l;
  l.Add(std::make_unique<TLever>());
  const TLever* defaut = l.UnLever(-1);
  ASSERT_EQ(defaut, LeverParDefaut());
  EXPECT_EQ(defaut->UniteDeclin, UniteDeclinAucune);
  EXPECT_EQ(defaut->LaDate, DateNonRenseignee);
  EXPECT_EQ(defaut->DateTexte(), "non renseignée");
  EXPECT_EQ(defaut->EtalonL, 1.0);
  EXPECT_EQ(l.UnLever(0), l.First());
  EXPECT_EQ(l.UnLever(1), nullptr);
}

TEST(Lever, LignesDeListing) {
  DocumentDeTest doc;
  TLever l;
  l.LaDate = Date(2021, 4, 3);
  l.Declinaison = 1.25;
  l.UniteDeclin = 0;
  l.UniteAZ = 1;
  l.UniteP = 2;
  l.Operateurs = {doc.operateurs[0], doc.operateurs[1]};
  l.InstrumentL = doc.instruments[0];
  l.InstrumentAz = doc.instruments[2];
  std::vector<std::string> imprimees;
  l.AjouteLignesLever(imprimees);
  EXPECT_EQ(imprimees, (std::vector<std::string>{
                           "Date du lever : 03/04/2021 - Déclinaison = 1.25 °",
                           "Operateurs : Alice",
                           "             Bernard",
                           "mesures des longueurs : Décamètre",
                           "mesures des Azimuts : Boussole en grades",
                           "mesures des Pentes :  en pourcent",
                       }));
  std::vector<std::string> fichier{"avant"};
  l.FichierAjouteLignesLever(fichier);
  EXPECT_EQ(fichier, (std::vector<std::string>{
                         "avant",
                         "Date du lever : \t03/04/2021\tDéclinaison = \t1.25 °",
                         "Operateurs :\tAlice\tBernard",
                         "mesures des longueurs :\tDécamètre",
                         "mesures des Azimuts :\tBoussole\t en grades",
                         "mesures des Pentes :\t\t en pourcent",
                     }));

  // Without operators there is no operator line.
  TLever vide;
  vide.UniteDeclin = 2;
  vide.LaDate = DateNonRenseignee;
  std::vector<std::string> v;
  vide.AjouteLignesLever(v);
  EXPECT_EQ(v, (std::vector<std::string>{"Date du lever : non renseignée - Déclinaison = 0° 0'",
                                         "mesures des longueurs : ", "mesures des Azimuts :  en degrés",
                                         "mesures des Pentes :  en degrés"}));
}

TEST(Lever, LeversIdentiques) {
  TInstrument i1, i2;
  TOperateur o;
  TLever base;
  base.InstrumentL = &i1;
  base.InstrumentP = &i1;
  base.Commentaires = "c";
  struct Cas {
    const char* nom;
    void (*change)(TLever&, TInstrument&, TOperateur&);
    bool identiques;
  };
  const Cas cas[] = {
      {"date", [](TLever& l, TInstrument&, TOperateur&) { l.LaDate = 5; }, true},
      {"opérateurs", [](TLever& l, TInstrument&, TOperateur& o) { l.Operateurs.push_back(&o); }, true},
      {"unité de déclinaison", [](TLever& l, TInstrument&, TOperateur&) { l.UniteDeclin = 1; }, true},
      {"déclinaison auto", [](TLever& l, TInstrument&, TOperateur&) { l.DecliAuto = true; }, true},
      {"boussole", [](TLever& l, TInstrument& i, TOperateur&) { l.InstrumentAz = &i; }, true},
      {"unité d'azimut", [](TLever& l, TInstrument&, TOperateur&) { l.UniteAZ = 1; }, false},
      {"unité de pente", [](TLever& l, TInstrument&, TOperateur&) { l.UniteP = 2; }, false},
      {"étalon", [](TLever& l, TInstrument&, TOperateur&) { l.EtalonL = 1.001; }, false},
      {"topofil", [](TLever& l, TInstrument&, TOperateur&) { l.Topofil = true; }, false},
      {"déclinaison", [](TLever& l, TInstrument&, TOperateur&) { l.Declinaison = 0.1; }, false},
      {"zéro", [](TLever& l, TInstrument&, TOperateur&) { l.ZeroPente = 1; }, false},
      {"commentaires", [](TLever& l, TInstrument&, TOperateur&) { l.Commentaires = "C"; }, false},
      {"longueurs", [](TLever& l, TInstrument& i, TOperateur&) { l.InstrumentL = &i; }, false},
      {"pentes", [](TLever& l, TInstrument& i, TOperateur&) { l.InstrumentP = &i; }, false},
  };
  for (const Cas& c : cas) {
    TLever autre = base;
    c.change(autre, i2, o);
    EXPECT_EQ(LeversIdentiques(base, autre), c.identiques) << c.nom;
    EXPECT_EQ(LeversIdentiques(autre, base), c.identiques) << c.nom;
  }
}

TEST(Lever, UnitesEtValeursNegligeables) {
  TLever l;
  const double a = std::numbers::pi / 4;
  l.UniteP = 0;
  EXPECT_DOUBLE_EQ(l.RadEnP(a), 45.0);
  l.UniteP = 1;
  EXPECT_DOUBLE_EQ(l.RadEnP(a), 50.0);
  l.UniteP = 2;
  EXPECT_DOUBLE_EQ(l.RadEnP(a), 100.0);
  EXPECT_EQ(SuffixeUnite(0), " °");
  EXPECT_EQ(SuffixeUnite(2), " %");
  EXPECT_EQ(SuffixeUnite(3), "");
  EXPECT_EQ(NomUnite(1), "grades");
  EXPECT_EQ(NomUnite(-1), "");

  EXPECT_EQ(ZeroSiNegligeable(0.000999), 0.0);
  EXPECT_EQ(ZeroSiNegligeable(-0.000999), 0.0);
  EXPECT_EQ(ZeroSiNegligeable(0.001), 0.001);
  EXPECT_EQ(ZeroSiNegligeable(-12.5), -12.5);
}

TEST(Lever, DeclinaisonAutomatique) {
  platform::ScriptedDialogs d;
  platform::ScopedDialogs port(d);
  const double lat = 45 * std::numbers::pi / 180, lon = 2 * std::numbers::pi / 180;
  // 15 July 2010 is day 196 of a 365-day year.
  const double attendue = CalculeDeclinaisonIGRF(2010 + 196.0 / 365.0, 45, 2, 500);
  ASSERT_GT(std::fabs(attendue), 1e-3);

  TLever l;
  l.LaDate = Date(2010, 7, 15);
  l.DecliAuto = true;
  l.CalculeDecliAuto(lat, lon, 500);
  EXPECT_DOUBLE_EQ(l.Declinaison, attendue * 180 / std::numbers::pi);
  l.UniteDeclin = UniteDeclinGrades;
  l.CalculeDecliAuto(lat, lon, 500);
  EXPECT_DOUBLE_EQ(l.Declinaison, attendue * 200 / std::numbers::pi);

  struct Cas {
    const char* nom;
    foundation::TDateTime date;
    bool automatique;
  };
  const Cas inchanges[] = {
      {"sans calcul automatique", Date(2010, 7, 15), false},
      {"sans date", DateNonRenseignee, true},
      {"2030", Date(2030, 6, 1), true},
      {"1899", Date(1899, 6, 1), true},
  };
  for (const Cas& c : inchanges) {
    TLever t;
    t.LaDate = c.date;
    t.DecliAuto = c.automatique;
    t.Declinaison = 7.5;
    t.CalculeDecliAuto(lat, lon, 500);
    EXPECT_EQ(t.Declinaison, 7.5) << c.nom;
  }
  EXPECT_TRUE(d.Messages().empty());  // out-of-range years never reach the model
}
