#include <gtest/gtest.h>

#include "foundation/flux.h"
#include "survey/instrument.h"
#include "survey/operateur.h"
#include "tests/support/dossier_temp.h"

using namespace survey;
using foundation::TFluxMemoire;

namespace {

std::string Fixture(const std::string& nom) {
  return testsupport::LitOctets(std::string(GRAVELUNE_SOURCE_DIR) + "/tests/survey/fixtures/" + nom);
}

TOperateur* AjouteOperateur(TListeOperateurs& l, const std::string& nom) {
  auto o = std::make_unique<TOperateur>();
  o->DesignOpe = nom;
  return l.Add(std::move(o));
}

TInstrument* AjouteInstrument(TListeInstruments& l, const std::string& nom, TTypeInst type) {
  auto i = std::make_unique<TInstrument>();
  i->DesignInstr = nom;
  i->TypeInstr = type;
  return l.Add(std::move(i));
}

}  // namespace

TEST(Operateurs, RechercheParNom) {
  TListeOperateurs l;
  AjouteOperateur(l, "Martel");
  TOperateur* dupont = AjouteOperateur(l, "DUPONT");
  TOperateur* elodie = AjouteOperateur(l, "éLodie");
  TOperateur* premier = AjouteOperateur(l, " Casteret");
  AjouteOperateur(l, "casteret");

  struct Cas {
    const char* nom;
    TOperateur* attendu;
  };
  const Cas cas[] = {
      {"  dupont ", dupont},      // blanks around, lower case
      {"\tDupont\r\n", dupont},   // control characters are trimmed too
      {"élodie", elodie},         // the accented letter is the same one
      {"ÉLODIE", nullptr},        // accented letters are not folded
      {"CASTERET", premier},      // the first match
      {"Dupond", nullptr},
      {"", nullptr},
  };
  for (const Cas& c : cas) EXPECT_EQ(l.ChercheOperateurParStr(c.nom), c.attendu) << c.nom;
}

TEST(Operateurs, TriParUnitesUtf16) {
  TListeOperateurs l;
  // By code points U+FB01 would come before U+1F600; by UTF-16 code units the
  // surrogate 0xD83D comes first.
  for (const char* nom : {"\uFB01n", "b", "\U0001F600", "B", "a", "É", "Z", "€"}) AjouteOperateur(l, nom);
  l.TrieListe();
  std::vector<std::string> noms;
  for (TOperateur* o : l) noms.push_back(o->DesignOpe);
  EXPECT_EQ(noms, (std::vector<std::string>{"B", "Z", "a", "b", "É", "€", "\U0001F600", "\uFB01n"}));
}

TEST(Operateurs, ListeDeReferences) {
  TListeOperateurs doc;
  TOperateur* a = AjouteOperateur(doc, "A");
  TOperateur* b = AjouteOperateur(doc, "B");
  TOperateur etranger;
  etranger.DesignOpe = "hors liste";

  TListeDOperateurs l{b, &etranger, a};
  TFluxMemoire f;
  ASSERT_TRUE(doc.EcritListeDOperateurs(l, f));
  EXPECT_EQ(f.Octets(), std::string("\x03\0\0\0\x01\0\0\0\xff\xff\xff\xff\0\0\0\0", 16));

  // A stored -1 and a position beyond the list are dropped; the read succeeds.
  TFluxMemoire fixture(Fixture("operateurs_references.bin"));
  TListeDOperateurs lu{a, a, a};
  ASSERT_TRUE(doc.LitListeDOperateurs(lu, fixture));
  EXPECT_EQ(lu, (TListeDOperateurs{b}));
  EXPECT_EQ(fixture.Restant(), 0u);

  // A count the stream cannot hold, and a truncated list, fail.
  TFluxMemoire enorme(std::string("\xff\xff\xff\x7f\0\0\0\0", 8));
  EXPECT_FALSE(doc.LitListeDOperateurs(lu, enorme));
  TFluxMemoire tronque(Fixture("operateurs_references.bin").substr(0, 10));
  EXPECT_FALSE(doc.LitListeDOperateurs(lu, tronque));

  EXPECT_EQ(l.LOperateur(0), b);
  EXPECT_EQ(l.LOperateur(-1), nullptr);
  EXPECT_EQ(l.LOperateur(3), nullptr);
  EXPECT_EQ(l.OperaText(2), "A");
  EXPECT_EQ(l.OperaText(-1), "");
  EXPECT_EQ(l.OperaText(3), "");
}

TEST(Operateurs, ListeDuDocument) {
  TListeOperateurs l;
  AjouteOperateur(l, "Norbert");
  AjouteOperateur(l, "Éloïse");
  TFluxMemoire f;
  ASSERT_TRUE(l.EcritListe(f));
  // Count, then each name as a Windows-1252 text.
  EXPECT_EQ(f.Octets(), std::string("\x02\0\0\0\x07\0\0\0Norbert\x06\0\0\0\xC9lo\xEFse", 25));
  TListeOperateurs lu;
  f.PlaceA(0);
  ASSERT_TRUE(lu.LitListe(f));
  ASSERT_EQ(lu.Count(), 2);
  EXPECT_EQ(lu.UnOperateur(1)->DesignOpe, "Éloïse");
  EXPECT_EQ(lu.UnOperateur(2), nullptr);
}

TEST(Instruments, EnregistrementParDefaut) {
  TInstrument defaut;
  TFluxMemoire f;
  ASSERT_TRUE(defaut.EcritObjet(f));
  EXPECT_EQ(f.Octets().size(), 50u);
  EXPECT_EQ(f.Octets(), Fixture("instrument_defaut.bin"));

  TInstrument i;
  i.DesignInstr = "x";
  i.CoeffLecture = 3;
  TFluxMemoire fixture(Fixture("instrument_defaut.bin"));
  ASSERT_TRUE(i.LitObjet(fixture));
  EXPECT_EQ(i.DesignInstr, "");
  EXPECT_EQ(i.CoeffEtalon, 1.0);
  EXPECT_EQ(i.CoeffLecture, 1000.0);
  EXPECT_EQ(i.TypeInstr, TTypeInst::tiAucun);
}

TEST(Instruments, AllerRetourEtEnumerationsHorsBornes) {
  TInstrument a;
  a.DesignInstr = "Suunto";
  a.Marque = "Tandem";
  a.TypeInstr = TTypeInst::tiPente;
  a.Unites = TTypeUnite::tuPourcent;
  a.CoeffEtalon = 0.25;
  a.CoeffLecture = 1;
  a.PrecisionRel = 0.5;
  a.PrecisionAbs = 0.125;
  a.TiGenre = "Clisimètre";
  a.RefPente = -1;
  a.Utilise = true;
  TFluxMemoire f;
  ASSERT_TRUE(a.EcritObjet(f));
  // The make follows the name; type and unit are one byte each.
  const std::string& o = f.Octets();
  EXPECT_EQ(o.substr(0, 20), std::string("\x06\0\0\0Suunto\x06\0\0\0Tandem", 20));
  EXPECT_EQ(o.substr(20, 2), std::string("\x03\x02", 2));

  TInstrument b;
  f.PlaceA(0);
  ASSERT_TRUE(b.LitObjet(f));
  EXPECT_EQ(b.DesignInstr, a.DesignInstr);
  EXPECT_EQ(b.Marque, a.Marque);
  EXPECT_FALSE(b.TObjetDeListe::Marque);
  EXPECT_EQ(b.TypeInstr, a.TypeInstr);
  EXPECT_EQ(b.Unites, a.Unites);
  EXPECT_EQ(b.CoeffEtalon, a.CoeffEtalon);
  EXPECT_EQ(b.CoeffLecture, a.CoeffLecture);
  EXPECT_EQ(b.PrecisionRel, a.PrecisionRel);
  EXPECT_EQ(b.PrecisionAbs, a.PrecisionAbs);
  EXPECT_EQ(b.TiGenre, a.TiGenre);
  EXPECT_EQ(b.RefPente, a.RefPente);
  EXPECT_FALSE(b.Utilise);  // not stored

  for (size_t position : {size_t{20}, size_t{21}}) {
    std::string mauvais = o;
    mauvais[position] = position == 20 ? 5 : 4;  // one past the last member
    TFluxMemoire fm(mauvais);
    TInstrument c;
    EXPECT_FALSE(c.LitObjet(fm)) << position;
  }
  // Every truncation fails cleanly.
  for (size_t n = 0; n < o.size(); ++n) {
    TFluxMemoire ft(o.substr(0, n));
    TInstrument c;
    EXPECT_FALSE(c.LitObjet(ft)) << n;
  }
}

TEST(Instruments, RechercheEtAjoutParNom) {
  TListeInstruments l;
  TInstrument* ruban = AjouteInstrument(l, "Topo 1", TTypeInst::tiDist);
  EXPECT_EQ(l.ChercheInstrumentParStr(" topo 1\t"), ruban);
  EXPECT_EQ(l.ChercheInstrumentParStr("Topo"), nullptr);

  // Same name, other type: a second instrument of that name.
  EXPECT_EQ(l.RajouteInstrumentParStr("TOPO 1", TTypeInst::tiDist), ruban);
  TInstrument* pente = l.RajouteInstrumentParStr("  topo 1 ", TTypeInst::tiPente);
  ASSERT_NE(pente, ruban);
  EXPECT_EQ(l.Count(), 2);
  EXPECT_EQ(pente->DesignInstr, "topo 1");
  EXPECT_EQ(pente->TypeInstr, TTypeInst::tiPente);
  EXPECT_EQ(pente->RefPente, 0);
  EXPECT_EQ(pente->CoeffLecture, 1000.0);
  EXPECT_EQ(l.RajouteInstrumentParStr("topo 1", TTypeInst::tiPente), pente);

  // The thread counter's slope gauge has its zero at the top; not as a length instrument.
  EXPECT_EQ(l.RajouteInstrumentParStr(" Topofil Vulcain ", TTypeInst::tiPente)->RefPente, 1);
  EXPECT_EQ(l.RajouteInstrumentParStr("Topofil Vulcain", TTypeInst::tiDist)->RefPente, 0);
  EXPECT_EQ(l.RajouteInstrumentParStr("TOPOFIL VULCAIN", TTypeInst::tiAzim)->RefPente, 0);
  EXPECT_EQ(l.Count(), 5);
  EXPECT_EQ(l.UnInstrument(5), nullptr);
  EXPECT_EQ(l.UnInstrument(-1), nullptr);
}

TEST(Instruments, ProfondimetreEtNomsDesTypes) {
  TInstrument i;
  i.TypeInstr = TTypeInst::tiPente;
  i.TiGenre = "Profondimètre";
  EXPECT_TRUE(i.EstProfondim());
  i.TiGenre = "profondimètre";
  EXPECT_FALSE(i.EstProfondim());
  i.TiGenre = "Profondimètre";
  i.TypeInstr = TTypeInst::tiIndet;
  EXPECT_FALSE(i.EstProfondim());

  EXPECT_EQ(NomTypeInst(TTypeInst::tiAucun), "Aucun");
  EXPECT_EQ(NomTypeInst(TTypeInst::tiDist), "Distance");
  EXPECT_EQ(NomTypeInst(TTypeInst::tiAzim), "Azimut");
  EXPECT_EQ(NomTypeInst(TTypeInst::tiPente), "Pente");
  EXPECT_EQ(NomTypeInst(TTypeInst::tiIndet), "Indéterminé");
}
