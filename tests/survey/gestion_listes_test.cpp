// The document-wide lists kept up: the instrument file against a fixture
// written by tests/survey/fixtures/listes/genere_fixtures_listes.py from the
// record layout, its import merged into a list, the instrument kinds from
// the trips, the operator list file and its reading in every encoding, and
// the merge of operators (trips and continuation observations redirected,
// merged operators freed: run under ASan).  Then the surface-point list's
// orders and the points a deletion may take.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "survey/compens.h"
#include "survey/gestion_listes.h"
#include "survey/observation.h"
#include "survey/points_surface.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/reseau_calcul.h"

using namespace survey;

namespace {

std::string CheminFixture() {
  return std::string(GRAVELUNE_SOURCE_DIR) + "/tests/survey/fixtures/listes/liste_instruments.Instr";
}

struct Valeurs {
  const char* nom;
  const char* marque;
  TTypeInst type;
  TTypeUnite unites;
  double etalon, lecture, precRel, precAbs;
  const char* genre;
  int32_t refPente;
};

// The instruments the fixture script writes, in its order.
const Valeurs kFixture[] = {
    {"", "", TTypeInst::tiAucun, TTypeUnite::tuDegres, 1.0, 1000.0, 0.0, 0.0, "", 0},
    {"Boussole Suunto", "Suunto", TTypeInst::tiAzim, TTypeUnite::tuGrades, -0.75, 1000.0, 0.5, 0.25, "Boussole", 0},
    {"Topofil Vulcain", "Vulcain", TTypeInst::tiDist, TTypeUnite::tuMetres, 1.0254, 500.0, 2.5, 0.01, "Topofil", 0},
    {"Clisimètre à zéro haut", "Chaix", TTypeInst::tiPente, TTypeUnite::tuPourcent, 0.125, 1000.0, 1.0, 0.0,
     "Clisimètre", 1},
    {"Profondimètre", "", TTypeInst::tiPente, TTypeUnite::tuMetres, 1.0, 1000.0, 0.0, 0.1, "Profondimètre", -1},
};

TInstrument* Ajoute(TListeInstruments& l, const Valeurs& v) {
  auto i = std::make_unique<TInstrument>();
  i->DesignInstr = v.nom;
  i->Marque = v.marque;
  i->TypeInstr = v.type;
  i->Unites = v.unites;
  i->CoeffEtalon = v.etalon;
  i->CoeffLecture = v.lecture;
  i->PrecisionRel = v.precRel;
  i->PrecisionAbs = v.precAbs;
  i->TiGenre = v.genre;
  i->RefPente = v.refPente;
  return l.Add(std::move(i));
}

void AttendEgal(const TInstrument& i, const Valeurs& v) {
  EXPECT_EQ(i.DesignInstr, v.nom);
  EXPECT_EQ(i.Marque, v.marque) << v.nom;
  EXPECT_EQ(i.TypeInstr, v.type) << v.nom;
  EXPECT_EQ(i.Unites, v.unites) << v.nom;
  EXPECT_EQ(i.CoeffEtalon, v.etalon) << v.nom;
  EXPECT_EQ(i.CoeffLecture, v.lecture) << v.nom;
  EXPECT_EQ(i.PrecisionRel, v.precRel) << v.nom;
  EXPECT_EQ(i.PrecisionAbs, v.precAbs) << v.nom;
  EXPECT_EQ(i.TiGenre, v.genre) << v.nom;
  EXPECT_EQ(i.RefPente, v.refPente) << v.nom;
}

TOperateur* Operateur(TListeOperateurs& l, const std::string& nom) {
  auto o = std::make_unique<TOperateur>();
  o->DesignOpe = nom;
  return l.Add(std::move(o));
}

std::vector<std::string> Noms(const TListeOperateurs& l) {
  std::vector<std::string> r;
  for (const TOperateur* o : l) r.push_back(o->DesignOpe);
  return r;
}

}  // namespace

// --- Instrument file ---------------------------------------------------------------

TEST(FichierInstruments, OctetsDuFixtureEtRelecture) {
  testsupport::DossierTemp dossier;
  TListeInstruments l;
  for (const Valeurs& v : kFixture) Ajoute(l, v);
  const std::string chemin = dossier.Fichier("Reseau.Instr");
  ASSERT_TRUE(EcritFichierInstruments(chemin, l));
  const std::string fixture = testsupport::LitOctets(CheminFixture());
  ASSERT_FALSE(fixture.empty());
  EXPECT_EQ(testsupport::LitOctets(chemin), fixture);

  // Into an empty document: equal instruments, in the file's order.
  TListeInstruments document;
  int ajoutes = -1;
  ASSERT_TRUE(ImporteFichierInstruments(CheminFixture(), document, &ajoutes));
  EXPECT_EQ(ajoutes, 5);
  ASSERT_EQ(document.Count(), 5);
  for (int k = 0; k < 5; ++k) AttendEgal(*document.UnInstrument(k), kFixture[k]);
  // The same file again adds nothing.
  ASSERT_TRUE(ImporteFichierInstruments(CheminFixture(), document, &ajoutes));
  EXPECT_EQ(ajoutes, 0);
  EXPECT_EQ(document.Count(), 5);
}

TEST(FichierInstruments, FusionParNomEtValeurs) {
  TListeInstruments document;
  // Same name (other case, blanks) and same values: not added, even when
  // another instrument of that name comes first.
  Valeurs autre = kFixture[1];
  autre.type = TTypeInst::tiPente;
  Ajoute(document, autre);
  Valeurs meme = kFixture[1];
  meme.nom = "  boussole SUUNTO ";
  meme.marque = "autre marque";  // the make is not compared
  Ajoute(document, meme);
  // Same name, one coefficient apart: added.
  Valeurs decale = kFixture[2];
  decale.lecture = 1000;
  Ajoute(document, decale);
  int ajoutes = 0;
  ASSERT_TRUE(ImporteFichierInstruments(CheminFixture(), document, &ajoutes));
  EXPECT_EQ(ajoutes, 4);
  ASSERT_EQ(document.Count(), 7);
  EXPECT_EQ(document.UnInstrument(3)->DesignInstr, "");
  EXPECT_EQ(document.UnInstrument(4)->DesignInstr, "Topofil Vulcain");
  EXPECT_EQ(document.UnInstrument(4)->CoeffLecture, 500);
}

TEST(FichierInstruments, FichierIncompletNAjouteRien) {
  testsupport::DossierTemp dossier;
  const std::string octets = testsupport::LitOctets(CheminFixture());
  ASSERT_EQ(octets.size(), 375u);
  std::string typeHorsBornes = octets;
  typeHorsBornes[4 + 8] = 5;  // the first instrument's kind
  struct Cas {
    const char* nom;
    std::string octets;
  };
  const Cas cas[] = {
      {"vide", ""},
      {"compte seul", octets.substr(0, 4)},
      {"dernier octet manquant", octets.substr(0, octets.size() - 1)},
      {"au milieu du troisième", octets.substr(0, 4 + 50 + 60)},
      {"compte démesuré", std::string("\xFF\xFF\xFF\x7F", 4) + octets.substr(4)},
      {"type hors bornes", typeHorsBornes},
  };
  for (const Cas& c : cas) {
    const std::string chemin = dossier.Fichier("essai.Instr");
    testsupport::EcritOctets(chemin, c.octets);
    TListeInstruments document;
    Ajoute(document, kFixture[1]);
    int ajoutes = -1;
    EXPECT_FALSE(ImporteFichierInstruments(chemin, document, &ajoutes)) << c.nom;
    EXPECT_EQ(ajoutes, 0) << c.nom;
    EXPECT_EQ(document.Count(), 1) << c.nom;
  }
  TListeInstruments document;
  EXPECT_FALSE(ImporteFichierInstruments(dossier.Fichier("absent.Instr"), document));
  EXPECT_EQ(CheminFichierInstruments("/dos/Gouffre.v2.cav"), "/dos/Gouffre.v2.Instr");
}

// --- Instrument kinds ----------------------------------------------------------------

TEST(TypesInstruments, ParUsageDansLesLevers) {
  testsurvey::ReseauCalcul n;
  TReseau& r = n.R();
  TCavite* c = n.Cavite("Grotte");
  struct Cas {
    const char* nom;
    TTypeInst avant;
    // Uses: azimuth, length, slope in trips 1 and 2.
    int usages1, usages2;  // bits: 1 azimuth, 2 length, 4 slope
    TTypeInst apres;
  };
  const Cas cas[] = {
      {"azimut", TTypeInst::tiAucun, 1, 0, TTypeInst::tiAzim},
      {"longueur", TTypeInst::tiAucun, 0, 2, TTypeInst::tiDist},
      {"pente", TTypeInst::tiAucun, 4, 4, TTypeInst::tiPente},
      {"azimut et longueur", TTypeInst::tiAucun, 1, 2, TTypeInst::tiIndet},
      {"longueur et pente, même lever", TTypeInst::tiAucun, 6, 0, TTypeInst::tiIndet},
      {"distance utilisée en azimut", TTypeInst::tiDist, 1, 0, TTypeInst::tiIndet},
      {"pente utilisée en longueur", TTypeInst::tiPente, 2, 0, TTypeInst::tiIndet},
      {"azimut utilisé en azimut", TTypeInst::tiAzim, 1, 1, TTypeInst::tiAzim},
      {"inutilisé", TTypeInst::tiDist, 0, 0, TTypeInst::tiDist},
  };
  TLever* l1 = n.Lever(c);
  TLever* l2 = n.Lever(c);
  for (const Cas& k : cas) {
    auto i = std::make_unique<TInstrument>();
    i->DesignInstr = k.nom;
    i->TypeInstr = k.avant;
    TInstrument* inst = r.ListeInstruments.Add(std::move(i));
    for (auto [l, u] : {std::pair{l1, k.usages1}, std::pair{l2, k.usages2}}) {
      l->InstrumentAz = (u & 1) ? inst : nullptr;
      l->InstrumentL = (u & 2) ? inst : nullptr;
      l->InstrumentP = (u & 4) ? inst : nullptr;
    }
    r.CreeListeLevers();
    EtablitTypesInstruments(r.ListeDesLevers);
    EXPECT_EQ(inst->TypeInstr, k.apres) << k.nom;
  }
  AnnuleTypesIndetermines(r.ListeInstruments);
  for (const TInstrument* i : r.ListeInstruments) EXPECT_NE(i->TypeInstr, TTypeInst::tiIndet) << i->DesignInstr;
  EXPECT_EQ(r.ListeInstruments.UnInstrument(3)->TypeInstr, TTypeInst::tiAucun);
  EXPECT_EQ(r.ListeInstruments.UnInstrument(5)->TypeInstr, TTypeInst::tiAucun);
}

// --- Operator list file ----------------------------------------------------------------

TEST(FichierOperateurs, TriSansDoublonsEnWindows1252) {
  testsupport::DossierTemp dossier;
  TListeOperateurs l;
  for (const char* n : {"b", "a", "a", "Élodie", "B"}) Operateur(l, n);
  const std::vector<std::string> noms = NomsOperateursTries(l);
  EXPECT_EQ(noms, (std::vector<std::string>{"B", "a", "b", "Élodie"}));
  const std::string chemin = dossier.Fichier("Réseau-ope.txt");
  ASSERT_TRUE(EcritFichierOperateurs(chemin, noms));
  EXPECT_EQ(testsupport::LitOctets(chemin), "B\r\na\r\nb\r\n\xC9lodie\r\n");
  TListeOperateurs ba;
  for (const char* n : {"b", "a", "a"}) Operateur(ba, n);
  EXPECT_EQ(NomsOperateursTries(ba), (std::vector<std::string>{"a", "b"}));
}

TEST(FichierOperateurs, LignesSelonLaMarqueDOrdre) {
  struct Cas {
    const char* nom;
    std::string octets;
    std::vector<std::string> lignes;
  };
  const Cas cas[] = {
      {"Windows-1252", "\xC9lodie\r\nMartin", {"Élodie", "Martin"}},
      {"UTF-8 avec marque", "\xEF\xBB\xBF\xC3\x89lodie\nMartin\n", {"Élodie", "Martin"}},
      // A list written by a UTF-8 editor; Windows-1252 names are never valid
      // UTF-8 with accents.
      {"UTF-8 sans marque", "\xC3\x89lodie", {"Élodie"}},
      {"UTF-16 petit-boutiste", std::string("\xFF\xFE\xC9\x00l\x00\r\x00\n\x00\x3D\xD8\x00\xDE", 14), {"Él", "\U0001F600"}},
      {"UTF-16 grand-boutiste", std::string("\xFE\xFF\x00\xC9\x00l\x00\n\x00" "A", 10), {"Él", "A"}},
      {"fichier vide", "", {}},
      {"une ligne vide", "\r\n", {""}},
      {"CR seuls", "a\rb\r", {"a", "b"}},
      {"UTF-8 malformé après la marque", "\xEF\xBB\xBF" "a\xFF", {"a\xEF\xBF\xBD"}},
  };
  for (const Cas& c : cas) EXPECT_EQ(LignesFichierTexte(c.octets), c.lignes) << c.nom;
}

TEST(FichierOperateurs, AjoutDesNomsAbsents) {
  TListeOperateurs l;
  Operateur(l, "Martin");
  EXPECT_EQ(AjouteOperateurs({"  MARTIN ", "martin"}, l), 0);
  EXPECT_EQ(Noms(l), (std::vector<std::string>{"Martin"}));
  // An empty line gives an operator with an empty name, once; accented
  // letters keep their case in the comparison.
  EXPECT_EQ(AjouteOperateurs({"", " Élodie ", "", "ÉLODIE", "élodie"}, l), 3);
  EXPECT_EQ(Noms(l), (std::vector<std::string>{"Martin", "", "Élodie", "élodie"}));
  EXPECT_EQ(AjouteOperateurs({""}, l), 0);
}

// --- Renaming and merging ----------------------------------------------------------------

TEST(FusionOperateurs, LeversEtObservationsVersLePremier) {
  testsurvey::ReseauCalcul n;
  TReseau& r = n.R();
  TListeOperateurs& ops = r.ListeOperateurs;
  TOperateur* martin1 = Operateur(ops, "Martin");
  TOperateur* dupont = Operateur(ops, "Dupont");
  TOperateur* martin2 = Operateur(ops, "Martin");
  TOperateur* casteret = Operateur(ops, "Casteret");
  TCavite* c = n.Cavite("Grotte");
  n.Visee(c, "E1", "1", 0, 0, 10);
  TLever* l1 = n.Lever(c);
  l1->Operateurs = {dupont, casteret};
  TLever* l2 = n.Lever(c);
  l2->Operateurs = {martin2};
  TPointSpeleo* p = n.Station(c, "1");
  ASSERT_NE(p, nullptr);
  auto obs = std::make_unique<TTypeDObs>();
  obs->Observateurs = {casteret, dupont, martin2};
  p->SuiteObs.Add(std::move(obs));
  TPointSpeleo* e1 = n.Station(c, "E1");
  auto obsSurface = std::make_unique<TTypeDObs>();
  obsSurface->Observateurs = {dupont};
  e1->SuiteObs.Add(std::move(obsSurface));

  // Dupont renamed to the existing Martin; Casteret to "Norbert".
  EXPECT_EQ(RenommeOperateurs(r, {"Martin", "Martin", "Martin", "Norbert"}), 2);
  EXPECT_EQ(Noms(ops), (std::vector<std::string>{"Martin", "Norbert"}));
  EXPECT_EQ(ops.UnOperateur(0), martin1);
  EXPECT_EQ(ops.UnOperateur(1), casteret);
  EXPECT_EQ(l1->Operateurs, (TListeDOperateurs{martin1, casteret}));
  EXPECT_EQ(l2->Operateurs, (TListeDOperateurs{martin1}));
  EXPECT_EQ(p->SuiteObs.UnTypeDObs(0)->Observateurs, (TListeDOperateurs{casteret, martin1, martin1}));
  EXPECT_EQ(e1->SuiteObs.UnTypeDObs(0)->Observateurs, (TListeDOperateurs{martin1}));
  // The names read through the references (ASan: nothing freed is read).
  EXPECT_EQ(l2->OperaText(0), "Martin");
  EXPECT_EQ(p->SuiteObs.UnTypeDObs(0)->Observateurs.OperaText(2), "Martin");
  // A renaming without merge deletes nothing.
  EXPECT_EQ(RenommeOperateurs(r, {"Martine", "Norbert"}), 0);
  EXPECT_EQ(martin1->DesignOpe, "Martine");
  EXPECT_THROW(RenommeOperateurs(r, {"seul"}), std::logic_error);
}

// --- Surface points ------------------------------------------------------------------

namespace {

std::string Ordre(const std::vector<TPointSpeleo*>& v) {
  std::string s;
  for (const TPointSpeleo* p : v) s += (s.empty() ? "" : " ") + p->DesignPTopo;
  return s;
}

}  // namespace

TEST(PointsSurface, TrisParColonne) {
  testsurvey::ReseauCalcul n;
  // X: a and b 0.4 m apart (equal), c 0.6 m from a (different), 0.2 m from b.
  TPointSpeleo* a = n.Surface("12a", 10.6, 5, 100);
  TPointSpeleo* b = n.Surface("2", 10.2, 7.5, 99.5);
  TPointSpeleo* c = n.Surface("B", 10.0, 6.5, 101);
  TPointSpeleo* d = n.Surface("a", 20.0, 5, -3);
  const std::vector<TPointSpeleo*> depart = {a, b, c, d};
  struct Cas {
    ColonnePtsSurface colonne;
    bool croissant;
    const char* ordre;
  };
  const Cas cas[] = {
      // Leading numbers first, by value; then the upper-cased texts.
      {ColonnePtsSurface::Nom, true, "2 12a a B"},
      {ColonnePtsSurface::Nom, false, "B a 12a 2"},
      {ColonnePtsSurface::X, true, "B 12a 2 a"},
      {ColonnePtsSurface::X, false, "a 12a 2 B"},
      // 5, 7.5, 6.5, 5: 7.5 - 6.5 = 1 apart; 7.5 - 5 rounds to 2 (half to even).
      {ColonnePtsSurface::Y, true, "12a a B 2"},
      // 100 and 99.5 are 0.5 apart: equal.
      {ColonnePtsSurface::Z, true, "a 12a 2 B"},
      {ColonnePtsSurface::Commentaire, true, "12a 2 B a"},
  };
  for (const Cas& k : cas) {
    std::vector<TPointSpeleo*> v = depart;
    EXPECT_EQ(TriePointsSurface(v, k.colonne, k.croissant), k.colonne != ColonnePtsSurface::Commentaire);
    EXPECT_EQ(Ordre(v), k.ordre) << static_cast<int>(k.colonne) << (k.croissant ? " croissant" : " décroissant");
  }
  // 10.2 and 10.8 differ, 10.2 and 10.6 are equal.
  b->X = 10.8;
  c->X = 10.2;
  EXPECT_LT(ComparePointsSurface(*c, *b, ColonnePtsSurface::X), 0);
  EXPECT_GT(ComparePointsSurface(*b, *c, ColonnePtsSurface::X), 0);
  EXPECT_EQ(ComparePointsSurface(*c, *a, ColonnePtsSurface::X), 0);
  // Symbols: none on either side compares equal.
  EXPECT_EQ(ComparePointsSurface(*c, *a, ColonnePtsSurface::Nature), 0);
}

TEST(PointsSurface, OrdreNonTransitifDonneUnePermutation) {
  testsurvey::ReseauCalcul n;
  std::vector<TPointSpeleo*> v;
  // Steps of 0.3 m: each point equals its neighbours, not the points further.
  for (int i = 0; i < 500; ++i) v.push_back(n.Surface("P" + std::to_string(i), ((i * 7919) % 500) * 0.3, 0, 0));
  std::vector<TPointSpeleo*> trie = v;
  ASSERT_TRUE(TriePointsSurface(trie, ColonnePtsSurface::X, true));
  std::vector<TPointSpeleo*> a = v, b = trie;
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  EXPECT_EQ(a, b);
  // Neighbours in the result are never in the reverse order by more than
  // the half metre the comparison ignores.
  for (size_t i = 1; i < trie.size(); ++i) EXPECT_LE(trie[i - 1]->X - trie[i]->X, 0.5 + 1e-9) << i;
}

TEST(PointsSurface, PointsSupprimables) {
  testsurvey::ReseauCalcul n;
  TReseau& r = n.R();
  TPointSpeleo* libre = n.Surface("libre");
  TPointSpeleo* vise = n.Surface("E1");
  TPointSpeleo* exact = n.Surface("exact");
  TPointSpeleo* autre = n.Surface("autre");
  TCavite* c = n.Cavite("Grotte");
  n.Visee(c, "E1", "1", 0, 0, 10);
  n.Regenere();
  EXPECT_GT(vise->NbRatTot, 0);
  auto compens = std::make_unique<TCompens>();
  compens->PtJuste = exact;
  compens->PtFin = n.Station(c, "1");
  r.Compensations.Add(std::move(compens));

  // Only the selected point that nothing holds.
  EXPECT_EQ(MarquePointsSupprimables(r, {vise, exact, libre}), (std::vector<TPointSpeleo*>{libre}));
  EXPECT_TRUE(libre->Marque);
  EXPECT_FALSE(autre->Marque);
  EXPECT_TRUE(MarquePointsSupprimables(r, {vise, exact}).empty());
  DemarquePointsSurface(r);
  for (const TPointSpeleo* p : *r.LesPointsSurface()) EXPECT_FALSE(p->Marque) << p->DesignPTopo;

  SupprimePointsSurface(r, {libre, autre});
  EXPECT_EQ(testsurvey::ReseauCalcul::Noms(*r.LesPointsSurface()), "E1 exact");
  EXPECT_EQ(r.Compensations.UnObjet(0)->PtJuste, exact);
}
