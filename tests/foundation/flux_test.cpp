#include <gtest/gtest.h>

#include "foundation/flux.h"
#include "foundation/niveau_fichier.h"
#include "foundation/objet_de_liste.h"

using namespace foundation;

namespace {

std::string Hex(const std::string& s) {
  std::string r;
  char b[4];
  for (unsigned char c : s) {
    std::snprintf(b, sizeof b, "%02X ", c);
    r += b;
  }
  if (!r.empty()) r.pop_back();
  return r;
}

// A small record: an integer, a real and a text.
class TEssai : public TObjetDeListe {
 public:
  int32_t N = 0;
  double X = 0;
  std::string Nom;
  bool EcritObjet(TFlux& f) override {
    InitES(f);
    EcrisInteger(N);
    EcrisReal(X);
    return EcrisTexte(Nom);
  }
  bool LitObjet(TFlux& f) override {
    InitES(f);
    LisInteger(N);
    LisReal(X);
    return LisTexte(Nom);
  }
};

}  // namespace

TEST(Flux, Textes) {
  struct Case {
    std::string texte, octets;
  };
  const Case cases[] = {
      {"", "00 00 00 00"},
      {"abc", "03 00 00 00 61 62 63"},
      {"é", "01 00 00 00 E9"},
      {"€", "01 00 00 00 80"},
  };
  for (const Case& c : cases) {
    TFluxMemoire f;
    ASSERT_TRUE(EcritChaineA(f, c.texte));
    EXPECT_EQ(Hex(f.Octets()), c.octets) << c.texte;
    f.PlaceA(0);
    std::string lu = "x";
    ASSERT_TRUE(LitChaineA(f, lu));
    EXPECT_EQ(lu, c.texte);
  }
}

TEST(Flux, TexteDeTailleNegativeOuTropGrande) {
  TFluxMemoire negatif(std::string("\xFB\xFF\xFF\xFF" "abc", 7));  // -5
  std::string t = "x";
  EXPECT_TRUE(LitChaineA(negatif, t));
  EXPECT_EQ(t, "");
  EXPECT_EQ(negatif.Position(), 4u);

  // 2 GiB announced, 3 bytes present: fails at once, without allocating.
  TFluxMemoire enorme(std::string("\xFF\xFF\xFF\x7F" "abc", 7));
  EXPECT_FALSE(LitChaineA(enorme, t));
  TFluxMemoire court(std::string("\x04\x00\x00\x00" "abc", 7));
  EXPECT_FALSE(LitChaineA(court, t));
  TFluxMemoire rien;
  EXPECT_FALSE(LitChaineA(rien, t));
}

TEST(Flux, ListesDeTextes) {
  TFluxMemoire f;
  ASSERT_TRUE(EcritListeChaines(f, {"un", "", "trois"}));
  f.PlaceA(0);
  std::vector<std::string> l = {"déjà"};
  ASSERT_TRUE(LitListeChaines(f, l));
  EXPECT_EQ(l, (std::vector<std::string>{"déjà", "un", "", "trois"}));
  TFluxMemoire faux(std::string("\x00\x00\x00\x10", 4));
  EXPECT_FALSE(LitListeChaines(faux, l));
}

TEST(ObjetDeListe, ChaineDeChamps) {
  TEssai e;
  e.N = 7;
  e.X = 1.5;
  e.Nom = "Grotte";
  TFluxMemoire f;
  ASSERT_TRUE(e.EcritObjet(f));
  EXPECT_EQ(f.Octets().size(), 4u + 8u + 4u + 6u);
  f.PlaceA(0);
  TEssai l;
  ASSERT_TRUE(l.LitObjet(f));
  EXPECT_EQ(l.N, 7);
  EXPECT_EQ(l.X, 1.5);
  EXPECT_EQ(l.Nom, "Grotte");

  // A short stream: the chain stops at the first failure and reads nothing more.
  TFluxMemoire court(f.Octets().substr(0, 6));
  TEssai m;
  EXPECT_FALSE(m.LitObjet(court));
  EXPECT_EQ(court.Position(), 6u);  // the real was cut short; the text was not tried
  EXPECT_FALSE(m.ResultObjet);

  // Once failed, the chain touches the stream no more; a seed restarts it.
  TFluxMemoire quatre(std::string("\x2A\x00\x00\x00", 4));
  m.FichierObjet = &quatre;
  EXPECT_FALSE(m.LisInteger(m.N));
  EXPECT_EQ(quatre.Position(), 0u);
  EXPECT_TRUE(m.LisInteger(m.N, true));
  EXPECT_EQ(m.N, 42);
  m.InitES(quatre);
  EXPECT_FALSE(m.LisInteger(m.N, false));
  EXPECT_EQ(quatre.Position(), 4u);
}

TEST(ObjetDeListe, EcritureQuiEchoue) {
  TEssai e;
  e.Nom = "long texte";
  TFluxMemoire f;
  f.FixeLimite(10);
  EXPECT_FALSE(e.EcritObjet(f));
  EXPECT_LE(f.Octets().size(), 10u);
}

TEST(ObjetDeListe, LisAncien) {
  GardeNiveauFichier garde;
  const std::string octets = "\x01\x02\x03\x04\x05";
  struct Case {
    int niveau;
    uint64_t consomme;
  };
  const Case cases[] = {{500, 0}, {511, 0}, {225, 4}, {21, 4}};
  for (const Case& c : cases) {
    NiveauFichier().VersionFichierLue = c.niveau;
    TFluxMemoire f(octets);
    TEssai e;
    e.InitES(f);
    EXPECT_TRUE(e.LisAncien(4));
    EXPECT_EQ(f.Position(), c.consomme) << c.niveau;
  }
  // Level 226 is read as 500.
  NiveauFichier().EnTeteFichier = "x/Version226";
  DecodeVersionFichier();
  TFluxMemoire f(octets);
  TEssai e;
  e.InitES(f);
  EXPECT_TRUE(e.LisAncien(4));
  EXPECT_EQ(f.Position(), 0u);
}

TEST(ListeFichier, EcritEtLit) {
  TListeFichier<TEssai> l;
  for (int i = 0; i < 3; ++i) {
    auto e = std::make_unique<TEssai>();
    e->N = i * 10;
    e->Nom = "n" + std::to_string(i);
    l.Add(std::move(e));
  }
  TFluxMemoire f;
  ASSERT_TRUE(l.EcritListe(f));
  EXPECT_EQ(l[2]->IndexFichier, 2);
  ASSERT_TRUE(l.EcritIndexObjet(f, l[1]));
  ASSERT_TRUE(l.EcritIndexObjet(f, nullptr));
  TEssai etranger;
  ASSERT_TRUE(l.EcritIndexObjet(f, &etranger));
  ASSERT_TRUE(f.EcritInteger(3));  // past the end

  f.PlaceA(0);
  TListeFichier<TEssai> m;
  m.Add(std::make_unique<TEssai>());  // cleared by the read
  ASSERT_TRUE(m.LitListe(f));
  ASSERT_EQ(m.Count(), 3);
  EXPECT_EQ(m[2]->N, 20);
  EXPECT_EQ(m[1]->Nom, "n1");
  TEssai* r = nullptr;
  ASSERT_TRUE(m.LitIndexObjet(f, r));
  EXPECT_EQ(r, m[1]);
  for (int k = 0; k < 3; ++k) {
    r = m[0];
    ASSERT_TRUE(m.LitIndexObjet(f, r));
    EXPECT_EQ(r, nullptr) << k;
  }
  EXPECT_FALSE(m.LitIndexObjet(f, r));  // short read
  int somme = 0;
  for (TEssai* e : m) somme += e->N;
  EXPECT_EQ(somme, 30);
}

TEST(ListeFichier, SecondElementEnEchec) {
  TListeFichier<TEssai> l;
  for (int i = 0; i < 3; ++i) l.Add(std::make_unique<TEssai>())->Nom = "abcdef";
  TFluxMemoire f;
  ASSERT_TRUE(l.EcritListe(f));
  // Cut the stream in the middle of the second item.
  const size_t taille = 4 + 22 + 10;
  TFluxMemoire court(f.Octets().substr(0, taille));
  TListeFichier<TEssai> m;
  EXPECT_FALSE(m.LitListe(court));
  EXPECT_EQ(m.Count(), 2);
}

TEST(ListeFichier, CompteIncoherent) {
  TListeFichier<TEssai> m;
  TFluxMemoire negatif(std::string("\xFF\xFF\xFF\xFF", 4));
  EXPECT_TRUE(m.LitListe(negatif));
  EXPECT_EQ(m.Count(), 0);
  TFluxMemoire enorme(std::string("\xFF\xFF\xFF\x7F" "abc", 7));
  EXPECT_FALSE(m.LitListe(enorme));
  EXPECT_EQ(m.Count(), 0);
  TFluxMemoire vide(std::string("\x00\x00\x00\x00", 4));
  m.Add(std::make_unique<TEssai>());
  EXPECT_TRUE(m.LitListe(vide));
  EXPECT_EQ(m.Count(), 0);
}

TEST(ListeFichier, MarquesEtOrdre) {
  TListeFichier<TEssai> l;
  for (int i = 0; i < 4; ++i) l.Add(std::make_unique<TEssai>())->N = i;
  l.SelectTous();
  l.MarqueTous();
  EXPECT_TRUE(l[3]->Selecte && l[3]->Marque);
  l.DeselectTous();
  l.DemarqueTous();
  EXPECT_FALSE(l[0]->Selecte || l[0]->Marque);
  l.Move(0, 3);
  EXPECT_EQ(l[3]->N, 0);
  EXPECT_TRUE(l.Remove(l[0]));
  EXPECT_EQ(l.Count(), 3);
  auto e = l.Extract(0);
  EXPECT_EQ(e->N, 2);
  EXPECT_EQ(l.IndexOf(e.get()), -1);
  EXPECT_EQ(l.UnObjet(-1), nullptr);
  EXPECT_EQ(l.UnObjet(2), nullptr);
}

TEST(ListeInteger, EcritEtLit) {
  TListeInteger l;
  l.Add(5);
  l.Add(-1);
  TFluxMemoire f;
  ASSERT_TRUE(l.EcritListe(f));
  EXPECT_EQ(Hex(f.Octets()), "02 00 00 00 05 00 00 00 FF FF FF FF");
  f.PlaceA(0);
  TListeInteger m;
  ASSERT_TRUE(m.LitListe(f));
  EXPECT_EQ(m.Valeurs(), (std::vector<int32_t>{5, -1}));
  TFluxMemoire court(f.Octets().substr(0, 10));
  TListeInteger n;
  EXPECT_FALSE(n.LitListe(court));
}

TEST(NiveauFichier, DecodeVersion) {
  GardeNiveauFichier garde;
  struct Case {
    const char* entete;
    int niveau;
    const char* logiciel;
  };
  const Case cases[] = {
      {"Version 1.0/Version511", 511, "Version 1.0"},
      {"Version212", 212, ""},
      {"x/Version226", 500, "x"},
      {"Version21", 21, ""},
  };
  for (const Case& c : cases) {
    NiveauFichier().EnTeteFichier = c.entete;
    DecodeVersionFichier();
    EXPECT_EQ(NiveauFichier().VersionFichierLue, c.niveau) << c.entete;
    EXPECT_EQ(NiveauFichier().VersionLogicielFichier, c.logiciel) << c.entete;
  }
  for (const char* faux : {"Version", "VersionXYZ", "", "a/b"}) {
    NiveauFichier().EnTeteFichier = faux;
    EXPECT_THROW(DecodeVersionFichier(), ErreurConversion) << faux;
  }
  EXPECT_EQ(EnTeteDocumentCourant(), "Version 1.0/Version511");
}

TEST(NiveauFichier, GardeRestaure) {
  NiveauFichier().VersionFichierLue = 511;
  try {
    GardeNiveauFichier garde;
    NiveauFichier().VersionFichierLue = 100;
    throw std::runtime_error("x");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(NiveauFichier().VersionFichierLue, 511);
}
