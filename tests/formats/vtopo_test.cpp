// The VTopo reader: projection names, unit words, header, parameter lines
// and shot lines, read through the staging model.
#include <gtest/gtest.h>

#include <cmath>

#include "foundation/dates.h"
#include "tests/formats/import_test_support.h"

namespace testformats {
namespace {

using formats::tImportVTopo;
using formats::TLeverImport;
using formats::TViseeImport;

TEST(VTopoProjections, TableDansLesDeuxSens) {
  struct Cas {
    const char* vtopo;
    const char* systeme;
    int32_t zone;
  };
  const Cas cas[] = {{"LT93", "LT 93", -1},        {"LT1", "LT 1", -1},          {"LT2", "LT 2", -1},
                     {"LT2E", "LT 2+", -1},        {"LT3", "LT 3", -1},          {"LT4", "LT 4", -1},
                     {"UTM30E", "UTM ED50", 30},   {"UTM31E", "UTM ED50", 31},   {"UTM32E", "UTM ED50", 32},
                     {"UTM30", "UTM", 30},         {"UTM31", "UTM", 31},         {"UTM32", "UTM", 32}};
  for (const Cas& c : cas) {
    int32_t zone = 99;
    EXPECT_EQ(formats::ProjectionDepuisVTopo(c.vtopo, zone), c.systeme) << c.vtopo;
    EXPECT_EQ(zone, c.zone) << c.vtopo;
    EXPECT_EQ(formats::ProjectionVersVTopo(c.systeme, c.zone), c.vtopo) << c.vtopo;
  }
  int32_t zone = 5;
  // Exact comparison: no case folding, no trimming.
  for (const char* inconnu : {"lt3", "LT3 ", "UTM33", "", "Lambert"}) {
    EXPECT_EQ(formats::ProjectionDepuisVTopo(inconnu, zone), "") << inconnu;
    EXPECT_EQ(zone, -1);
  }
  EXPECT_EQ(formats::ProjectionVersVTopo("UTM", 33), "");
  EXPECT_EQ(formats::ProjectionVersVTopo("UTM ED50", 29), "");
  EXPECT_EQ(formats::ProjectionVersVTopo("", 31), "");
  EXPECT_EQ(formats::ProjectionVersVTopo("LT 93", 12), "LT93");
}

TEST(VTopoUnites, Mots) {
  struct Cas {
    const char* mot;
    int code;
  };
  const Cas cas[] = {{"Deg", 1},   {"Clino", 1}, {"Degd", 2}, {"Vulc", 2}, {"Gra", 3},  {"Deniv", 3},
                     {"%", 4},     {"Prof", 4},  {"deg", 0},  {"", 0},     {"Topo", 0}, {"Deg ", 0}};
  for (const Cas& c : cas) EXPECT_EQ(formats::CodeUniteVTopo(c.mot), c.code) << "'" << c.mot << "'";
}

// A reader on a network of its own, fed with lines.
struct Lecture {
  ReseauImport r;
  tImportVTopo lecteur{&r.R()};
  Lecture() {
    lecteur.ACavite = std::make_unique<TCavite>();
    lecteur.ACavite->ReseauProprio = &r.R();
    lecteur.ACavite->CavitesReseau = &r.R().Cavites;
  }
  void Lit(const std::vector<std::string>& lignes) {
    lecteur.LignesFichier = lignes;
    lecteur.LitEnTete();
    lecteur.CreeViseesImport();
  }
};

TEST(VTopoEnTete, TrouEtEntree) {
  Lecture l;
  l.Lit({"Version 5.12", "Trou Gouffre,600.5,180.25,1020,LT2E", "Club X", "Entree  E1 ", "Param Deca Degd Clino Degd 0 Dir,Dir,Dir Dep Std --/--/---- A"});
  EXPECT_EQ(l.lecteur.ACavite->NomCavite, "Gouffre");
  ASSERT_EQ(l.lecteur.PointsSurfImport.Count(), 1);
  const TPointSpeleo* p = l.lecteur.PointsSurfImport.First();
  EXPECT_EQ(p->DesignPTopo, "E1");
  EXPECT_DOUBLE_EQ(p->X, 600500);
  EXPECT_DOUBLE_EQ(p->Y, 180250);
  EXPECT_DOUBLE_EQ(p->Z, 1020);
  EXPECT_EQ(formats::Import().ProjectionImport, "LT 2+");
  EXPECT_EQ(formats::Import().FuseauImport, -1);
  // The lines before "Param" are gone.
  EXPECT_EQ(l.lecteur.LignesFichier.front().rfind("Param", 0), 0u);

  Lecture u;
  u.Lit({"Trou G,1,2,3,UTM31E", "Param Deca Degd Clino Degd 0 Dir,Dir,Dir Dep Std --/--/---- A"});
  EXPECT_EQ(formats::Import().ProjectionImport, "UTM ED50");
  EXPECT_EQ(formats::Import().FuseauImport, 31);
  EXPECT_EQ(u.lecteur.PointsSurfImport.First()->DesignPTopo, "");
}

TEST(VTopoEnTete, EntreeAvantTrouEtNombresIllisibles) {
  Lecture l;
  l.Lit({"Entree P0", "Trou G,x,,12.5,Inconnu", "Param Deca Degd Clino Degd 0 Dir,Dir,Dir Dep Std --/--/---- A"});
  ASSERT_EQ(l.lecteur.PointsSurfImport.Count(), 2);
  const TPointSpeleo* a = l.lecteur.PointsSurfImport.UnPoint(0);
  const TPointSpeleo* b = l.lecteur.PointsSurfImport.UnPoint(1);
  EXPECT_EQ(a->DesignPTopo, "P0");
  EXPECT_EQ(a->X, 0);
  EXPECT_EQ(b->DesignPTopo, "");
  EXPECT_EQ(b->X, 0);
  EXPECT_EQ(b->Y, 0);
  EXPECT_EQ(b->Z, 12.5);
  EXPECT_EQ(formats::Import().ProjectionImport, "");
}

TEST(VTopoEnTete, SansParamEchoue) {
  Lecture l;
  l.lecteur.LignesFichier = {"Trou G,1,2,3,LT3", "Entree A", "A B 1 2 3 * * * * N I * N"};
  EXPECT_FALSE(l.lecteur.LitEnTete());
  EXPECT_TRUE(l.lecteur.Illisible);
}

TEST(VTopoParam, Table) {
  struct Cas {
    const char* ligne;
    bool topofil;
    double coef;
    uint8_t unitAz, unitP, typePente;
    const char* instrL;
    const char* instrP;
    int8_t origine;
    double decli;
    bool invAz, invP, invDim, dimDepart;
    const char* date;  // "" for none
    const char* commentaire;
  };
  const Cas cas[] = {
      {"Deca Degd Clino Degd 1.2210 Dir,Dir,Dir Dep Std 18/01/2020 A", false, 0, 2, 2, 0, "Déca", "Clino", 0, 1.221,
       false, false, false, true, "18/01/2020", ""},
      {"Deca Deg Clino Deg 0.0000 Dir,Dir,Dir Inc 0,64,0 --/--/---- M ;réseau 1978;", false, 0, 1, 1, 0, "Déca",
       "Clino", 0, 0, false, false, false, false, "", "réseau 1978"},
      {"Topof 98.5 Gra Vulc Gra -2.5 Inv, Inv ,Inv Dep Std 02/03/1999 A ;a;b;", true, 98.5, 3, 3, 0, "Topofil",
       "Topofil Vulcain", 1, -2.5, true, true, true, true, "02/03/1999", "a"},
      {"Deca Deg Prof 0.2831 Dir,Dir,Dir Dep 0,0,255 11/12/2013 A", false, 0, 1, 0, 4, "Déca", "", 0, 0.2831, false,
       false, false, true, "11/12/2013", ""},
      {"Deca Gra Deniv 0 Dir,Dir,Dir Arr Std 31/02/2001 A", false, 0, 3, 0, 2, "Déca", "", 0, 0, false, false, false,
       false, "", ""},
      {"Deca Degd Clino % 0 Dir,Inv,Dir Arr Std --/--/---- A", false, 0, 2, 4, 0, "Déca", "Clino", 0, 0, false, true,
       false, false, "", ""},
      {"Deca Degd Boussole Degd 0 Dir,Dir,Dir Arr Std --/--/---- A", false, 0, 2, 2, 0, "Déca", "Topofil", 0, 0,
       false, false, false, false, "", ""},
  };
  for (const Cas& c : cas) {
    Lecture l;
    l.lecteur.LitParamVTopo(c.ligne);
    ASSERT_EQ(l.lecteur.LeversImportes.size(), 1u) << c.ligne;
    const TLeverImport& t = *l.lecteur.LeversImportes.front();
    EXPECT_EQ(t.Topofil, c.topofil) << c.ligne;
    EXPECT_DOUBLE_EQ(t.CoefTopf, c.coef) << c.ligne;
    EXPECT_EQ(t.UnitAZ, c.unitAz) << c.ligne;
    EXPECT_EQ(t.UnitP, c.unitP) << c.ligne;
    EXPECT_EQ(t.TypeMesurePente, c.typePente) << c.ligne;
    EXPECT_EQ(t.InstrL, c.instrL) << c.ligne;
    EXPECT_EQ(t.InstrP, c.instrP) << c.ligne;
    EXPECT_EQ(t.InstrAz, "") << c.ligne;
    EXPECT_EQ(t.OrigPentes, c.origine) << c.ligne;
    EXPECT_DOUBLE_EQ(t.Decli, c.decli) << c.ligne;
    EXPECT_EQ(t.InvAz, c.invAz) << c.ligne;
    EXPECT_EQ(t.InvP, c.invP) << c.ligne;
    EXPECT_EQ(t.InvDim, c.invDim) << c.ligne;
    EXPECT_EQ(t.DimDepart, c.dimDepart) << c.ligne;
    EXPECT_EQ(foundation::DateEnTexte(t.DateLev), *c.date ? c.date : "non renseignée") << c.ligne;
    EXPECT_EQ(t.Comment, c.commentaire) << c.ligne;
  }
}

TEST(VTopoVisees, Table) {
  struct Cas {
    const char* param;
    const char* ligne;
    const char* station;
    const char* vise;
    bool habi;
    double deb, fin, l, az, p, prof;
    double g, d, h, b;
    bool exclue;
    const char* commentaire;
    uint8_t type;
  };
  const char* degd = "Deca Degd Clino Degd 0 Dir,Dir,Dir Dep Std --/--/---- A";
  const char* deg = "Deca Deg Clino Deg 0 Dir,Dir,Dir Dep Std --/--/---- A";
  const char* topof = "Topof 100 Degd Clino Degd 0 Dir,Dir,Dir Dep Std --/--/---- A";
  const char* inv = "Deca Degd Clino Degd 0 Dir,Dir,Inv Dep Std --/--/---- A";
  const char* prof = "Deca Gra Prof 0 Dir,Dir,Dir Dep Std --/--/---- A";
  const char* gra = "Deca Gra Clino Gra 0 Dir,Dir,Dir Dep Std --/--/---- A";
  const Cas cas[] = {
      {degd, "A1 A2   12.50  45.00  -10.00  1 2 3 4 N I * N", "A1", "A2", false, 0, 0, 12.5, 45, -10, 0, 1, 2, 3, 4,
       false, "", 0},
      {degd, "* A3 1 2 3 * * * * N I * N", "A2", "A3", false, 0, 0, 1, 2, 3, 0, 0, 0, 0, 0, false, "", 0},
      {degd, "A2 * 1.5 90 5 * * * * N E D *", "A2", "*", true, 0, 0, 1.5, 90, 5, 0, 0, 0, 0, 0, true, "", 0},
      {deg, "B1 B2 10 45.30 -10.30 0 0 0 0 N I * N", "B1", "B2", false, 0, 0, 10, 45.5, -10.5, 0, 0, 0, 0, 0, false,
       "", 0},
      {topof, "T1 T2 * 130.4 10 2 0 0 0 0 N I * N", "T1", "T2", false, 120.6, 130.4, 0, 10, 2, 0, 0, 0, 0, 0, false,
       "", 0},
      {topof, "T2 T3 - 7 10 2 0 0 0 0 N I * N", "T2", "T3", false, 0, 7, 0, 10, 2, 0, 0, 0, 0, 0, false, "", 0},
      {inv, "C1 C2 5 10 0 1.5 2.5 3 4 N I * N", "C1", "C2", false, 0, 0, 5, 10, 0, 0, 2.5, 1.5, 3, 4, false, "", 0},
      {prof, "D1 D2 5 100 -12.5 0 0 0 0 N I * N", "D1", "D2", false, 0, 0, 5, 100, 0, -12.5, 0, 0, 0, 0, false, "",
       4},
      {gra, "G1 G2 5 399.5 -20 0 0 0 0 N I * N", "G1", "G2", false, 0, 0, 5, 399.5, -20, 0, 0, 0, 0, 0, false, "", 0},
      // Flags ending with "E", a blank, then the comment.
      {degd, "E1 E2 5 10 0 0 0 0 0 N E ;passage bas;", "E1", "E2", false, 0, 0, 5, 10, 0, 0, 0, 0, 0, 0, true,
       "passage bas", 0},
      // VTopo 5 writes the exclusion flag second: it counts before a comment too.
      {degd, "E2 E3 5 10 0 0 0 0 0 N E * N ;étroit;", "E2", "E3", false, 0, 0, 5, 10, 0, 0, 0, 0, 0, 0, true,
       "étroit", 0},
      {degd, "E3 E4 5 10 0 0 0 0 0 N I * N ;Est;", "E3", "E4", false, 0, 0, 5, 10, 0, 0, 0, 0, 0, 0, false, "Est", 0},
      {degd, "E4 E5 5 10 0 0 0 0 0 E", "E4", "E5", false, 0, 0, 5, 10, 0, 0, 0, 0, 0, 0, true, "", 0},
      {degd, "E5 E6\t5\t10 0 x y 0 0 0", "E5", "E6", false, 0, 0, 5, 10, 0, 0, 0, 0, 0, 0, false, "", 0},
  };
  for (const Cas& c : cas) {
    Lecture l;
    // A first shot so that "*" and the thread-counter start have a previous shot.
    const std::string precede = std::string(c.param).rfind("Topof", 0) == 0 ? "T0 T1 100 120.6 0 0 0 0 0 0 N I * N"
                                                                            : "A0 A2 1 0 0 0 0 0 0 N I * N";
    l.Lit({std::string("Param ") + c.param, precede, c.ligne, "[Configuration 5.12]", "X Y 1 2 3"});
    ASSERT_EQ(l.lecteur.ViseesImportes.size(), 2u) << c.ligne;
    const TViseeImport& v = *l.lecteur.ViseesImportes.back();
    EXPECT_EQ(v.DesignStat, c.station) << c.ligne;
    EXPECT_EQ(v.DesignVis, c.vise) << c.ligne;
    EXPECT_EQ(v.ViHabi, c.habi) << c.ligne;
    EXPECT_NEAR(v.TopoDeb, c.deb, 1e-9) << c.ligne;
    EXPECT_NEAR(v.TopoFin, c.fin, 1e-9) << c.ligne;
    EXPECT_NEAR(v.L, c.l, 1e-9) << c.ligne;
    EXPECT_NEAR(v.Az, c.az, 1e-9) << c.ligne;
    EXPECT_NEAR(v.P, c.p, 1e-9) << c.ligne;
    EXPECT_NEAR(v.Prof, c.prof, 1e-9) << c.ligne;
    EXPECT_EQ(v.DimG, c.g) << c.ligne;
    EXPECT_EQ(v.DimD, c.d) << c.ligne;
    EXPECT_EQ(v.DimH, c.h) << c.ligne;
    EXPECT_EQ(v.DimB, c.b) << c.ligne;
    EXPECT_EQ(v.VIExclue, c.exclue) << c.ligne;
    EXPECT_EQ(v.oldComment, c.commentaire) << c.ligne;
    EXPECT_EQ(v.TypePente, c.type) << c.ligne;
    EXPECT_EQ(v.LeverTmp, l.lecteur.LeversImportes.back().get()) << c.ligne;
  }
}

TEST(VTopoVisees, EtoileApresUneViseeRayonnante) {
  Lecture l;
  l.Lit({"Param Deca Degd Clino Degd 0 Dir,Dir,Dir Dep Std --/--/---- A", "A B 1 2 3 * * * * N I * N",
         "B * 1 2 3 * * * * N I * N", "* C 1 2 3 * * * * N I * N"});
  ASSERT_EQ(l.lecteur.ViseesImportes.size(), 3u);
  EXPECT_EQ(l.lecteur.ViseesImportes[2]->DesignStat, "B");
}

TEST(VTopoVisees, ChaqueParamOuvreUnLever) {
  Lecture l;
  l.Lit({"Param Deca Degd Clino Degd 1 Dir,Dir,Dir Dep Std --/--/---- A", "", "A B 1 2 3 * * * * N I * N", "   ",
         "Param Deca Deg Clino Deg 2 Dir,Dir,Dir Dep Std --/--/---- A", "B C 1 2 3 * * * * N I * N"});
  ASSERT_EQ(l.lecteur.LeversImportes.size(), 2u);
  ASSERT_EQ(l.lecteur.ViseesImportes.size(), 2u);
  EXPECT_EQ(l.lecteur.ViseesImportes[0]->LeverTmp, l.lecteur.LeversImportes[0].get());
  EXPECT_EQ(l.lecteur.ViseesImportes[1]->LeverTmp, l.lecteur.LeversImportes[1].get());
}

std::string MessagesMontres(const platform::ScriptedDialogs& d) {
  std::string r;
  for (const std::string& m : d.Messages()) r += (r.empty() ? "" : " | ") + m;
  return r;
}

// Readings no instrument can give stop the import with one message naming the
// file, the line and the field, and the network is left as it was; readings
// at the edge of each unit's range are imported.
TEST(VTopoLecturesImpossibles, RefuseesAvecLeFichierLaLigneEtLeChamp) {
  const char* degd = "Deca Degd Clino Degd 0 Dir,Dir,Dir Dep Std --/--/---- A";
  const char* deg = "Deca Deg Clino Deg 0 Dir,Dir,Dir Dep Std --/--/---- A";
  const char* gra = "Deca Gra Clino Gra 0 Dir,Dir,Dir Dep Std --/--/---- A";
  const char* pourcent = "Deca Degd Clino % 0 Dir,Dir,Dir Dep Std --/--/---- A";
  const char* vulc = "Deca Degd Vulc Degd 0 Dir,Dir,Dir Dep Std --/--/---- A";
  const char* deniv = "Deca Degd Deniv 0 Dir,Dir,Dir Dep Std --/--/---- A";
  const char* prof = "Deca Degd Prof 0 Dir,Dir,Dir Dep Std --/--/---- A";
  const char* topof = "Topof 100 Degd Clino Degd 0 Dir,Dir,Dir Dep Std --/--/---- A";
  struct Cas {
    const char* param;
    const char* ligne;  // the shot after a first sound one, line 11 of the file
    const char* refus;  // the field and text refused; none: imported
  };
  const Cas cas[] = {
      {degd, "B C 1e308 10 -500 * * * * N I * N", "longueur impossible (1e308)"},
      {degd, "B C -3 10 0 * * * * N I * N", "longueur impossible (-3)"},
      {degd, "B C 10000.5 10 0 * * * * N I * N", "longueur impossible (10000.5)"},
      {degd, "B C 1e999 10 0 * * * * N I * N", "longueur impossible (1e999)"},
      {degd, "B C 10000 10 0 * * * * N I * N", nullptr},
      {degd, "B C 5 1e999 0 * * * * N I * N", "azimut impossible (1e999)"},
      {degd, "B C 5 725 0 * * * * N I * N", nullptr},  // a turn too many, still a direction
      {degd, "B C 5 10 -500 * * * * N I * N", "pente impossible (-500)"},
      {degd, "B C 5 10 90.01 * * * * N I * N", "pente impossible (90.01)"},
      {degd, "B C 5 10 -90 * * * * N I * N", nullptr},
      {degd, "B C 5 10 350 * * * * N I * N", nullptr},  // -10, read past the half turn
      {degd, "B C 5 10 200 * * * * N I * N", "pente impossible (200)"},
      {deg, "B C 5 10 -90.30 * * * * N I * N", "pente impossible (-90.30)"},
      {deg, "B C 5 10 -89.59 * * * * N I * N", nullptr},
      {gra, "B C 5 10 100.5 * * * * N I * N", "pente impossible (100.5)"},
      {gra, "B C 5 10 -100 * * * * N I * N", nullptr},
      {gra, "B C 5 10 390 * * * * N I * N", nullptr},
      {pourcent, "B C 5 10 -500 * * * * N I * N", nullptr},
      {pourcent, "B C 5 10 1e999 * * * * N I * N", "pente impossible (1e999)"},
      {vulc, "B C 5 10 170 * * * * N I * N", nullptr},
      {vulc, "B C 5 10 -10 * * * * N I * N", "pente impossible (-10)"},
      {deniv, "B C 5 10 -20000 * * * * N I * N", "dénivelée impossible (-20000)"},
      {prof, "B C 5 10 1e999 * * * * N I * N", "profondeur impossible (1e999)"},
      {topof, "B C 100 1e999 10 0 * * * * N I * N", "lecture du topofil impossible (1e999)"},
      {topof, "B C -5 100 10 0 * * * * N I * N", "lecture du topofil impossible (-5)"},
      {degd, "B C 5 10 0 1e999 * * * N I * N", "dimension de la galerie impossible (1e999)"},
      {degd, "B C 5 10 0 1 2 3 -2e5 N I * N", "dimension de la galerie impossible (-2e5)"},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.ligne);
    ReseauImport r;
    const std::string premiere = std::string(c.param).rfind("Topof", 0) == 0 ? "A B 0 100 10 0 * * * * N I * N\r\n"
                                                                             : "A B 5 10 0 * * * * N I * N\r\n";
    const std::string chemin = r.Tro(EnTeteTro(c.param) + premiere + c.ligne + "\r\n");
    const bool importe = r.Importe(chemin);
    if (!c.refus) {
      EXPECT_TRUE(importe) << MessagesMontres(r.Dialogues);
      continue;
    }
    EXPECT_FALSE(importe);
    EXPECT_EQ(MessagesMontres(r.Dialogues), std::string("essai.tro, ligne 11 : ") + c.refus + ".");
    EXPECT_EQ(r.R().Cavites.Count(), 1);
    EXPECT_TRUE(r.R().LesPointsSurface()->Vide());
  }
}

// The line of the report: VTopo's own file with one absurd shot after its
// third station refuses the import and names line 16.
TEST(VTopoLecturesImpossibles, OlivierAvecUneLongueurDe1e308) {
  ReseauImport r;
  std::string texte = testsupport::LitOctets(std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/Olivier.tro");
  const size_t ol3 = texte.find("OL3        OL4");
  ASSERT_NE(ol3, std::string::npos);
  const size_t fin = texte.find('\n', ol3) + 1;
  texte.insert(fin, "OL3 OL4 1e308 10 -500 * * * * N I * N\n");
  const std::string chemin = r.Dossier.Fichier("Olivier.tro");
  testsupport::EcritOctets(chemin, texte);
  EXPECT_FALSE(r.Importe(chemin));
  EXPECT_EQ(MessagesMontres(r.Dialogues), "Olivier.tro, ligne 16 : longueur impossible (1e308).");
  EXPECT_EQ(r.R().Cavites.Count(), 1);
  EXPECT_TRUE(r.R().LesPointsSurface()->Vide());
  EXPECT_TRUE(r.R().Projection.empty());
}

}  // namespace
}  // namespace testformats
