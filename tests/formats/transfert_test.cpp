// The common transfer of staged trips and shots, the entrance, the pipeline's
// rollback and the reading of text files.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "foundation/dates.h"
#include "platform/files.h"
#include "tests/formats/import_test_support.h"

namespace testformats {
namespace {

using platform::Answer;

std::string Msgs(const platform::ScriptedDialogs& d) {
  std::string r;
  for (const std::string& m : d.Messages()) r += m + " | ";
  return r;
}

double AzDegres(double az) { return std::fmod(az + 360.0, 360.0); }

TEST(Transfert, RepetitionsMoyennees) {
  ReseauImport r;
  const std::string tro = EnTeteTro() +
                          "A B 10 359 -10 0 0 0 0 N I * N\r\n"
                          "A B 12 1 -20 0 0 0 0 N I * N ;deuxième lecture;\r\n"
                          "B C 5 90 0 0 0 0 0 N I * N\r\n"
                          "Param Deca Degd Vulc Degd 0 Dir,Dir,Dir Arr Std --/--/---- A\r\n"
                          "C D 4 10 80 0 0 0 0 N I * N\r\n"
                          "C D 6 20 100 0 0 0 0 N I * N\r\n";
  ASSERT_TRUE(r.Importe(r.Tro(tro))) << Msgs(r.Dialogues);
  TVisee* ab = r.Visee("A", "B");
  ASSERT_NE(ab, nullptr);
  EXPECT_NEAR(AzDegres(ab->Az), 0, 1e-9);  // not 180
  EXPECT_NEAR(ab->pente, -15, 1e-9);
  EXPECT_NEAR(ab->Long, 11, 1e-12);
  // The repeated reading's comment is kept with the shot's station.
  EXPECT_EQ(r.Station("B")->Commentaire.Texte(), "deuxième lecture");
  // Zenith-zero slopes of 80 and 100 average to 90 (level) in their own convention.
  TVisee* cd = r.Visee("C", "D");
  ASSERT_NE(cd, nullptr);
  EXPECT_NEAR(cd->pente, 90, 1e-9);
  EXPECT_NEAR(cd->Az, 15, 1e-9);
  EXPECT_EQ(r.Cavite()->Visees.Count(), 3);
}

TEST(Transfert, MemeStationEtAnomalieDePente) {
  ReseauImport r;
  const std::string tro = EnTeteTro() +
                          "A B 10 0 0 0 0 0 0 N I * N\r\n"
                          "B B 0 0 0 1 2 3 4 N I * N ;porche;\r\n"
                          "Param Deca Degd Deniv 0 Dir,Dir,Dir Arr Std --/--/---- A\r\n"
                          "B C 5 10 -7 0 0 0 0 N I * N ;ressaut;\r\n"
                          "C D 5 10 -3 0 0 0 0 N I * N\r\n";
  ASSERT_TRUE(r.Importe(r.Tro(tro))) << Msgs(r.Dialogues);
  EXPECT_EQ(r.Visee("B", "B"), nullptr);
  const TPointSpeleo* b = r.Station("B");
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->LargeurGA, 1);
  EXPECT_EQ(b->LargeurDR, 2);
  EXPECT_EQ(b->HauteurSup, 3);
  EXPECT_EQ(b->HauteurInf, 4);
  EXPECT_EQ(b->Commentaire.Texte(), "porche");
  TVisee* bc = r.Visee("B", "C");
  ASSERT_NE(bc, nullptr);
  EXPECT_EQ(bc->Typesaisie, SaisieDenivLongueur);
  EXPECT_EQ(bc->Deniv, 0);
  EXPECT_EQ(r.Station("C")->Commentaire.Texte(), "Anomalie de pente !!! ressaut");
  EXPECT_EQ(r.Visee("C", "D")->Deniv, -3);
  const auto m = r.Dialogues.Messages();
  EXPECT_NE(std::find(m.begin(), m.end(), "il y a 1 visée(s) dont la hauteur est supérieure à la longueur. "), m.end())
      << Msgs(r.Dialogues);
}

// A reader that stages what the test says.
class LecteurEssai : public formats::TImportSaufTPRB {
 public:
  LecteurEssai(survey::TReseau* r, std::function<void(LecteurEssai&)> f) : TImportSaufTPRB(r), stage_(std::move(f)) {}
  bool TraiteLignes() override {
    stage_(*this);
    return TransfereTopo();
  }
  formats::TViseeImport* Visee(formats::TLeverImport* l, const std::string& a, const std::string& b, double lg,
                               double az = 0, double p = 0) {
    formats::TViseeImport* v = AjouteViseeImport();
    v->DesignStat = a;
    v->DesignVis = b;
    v->ViHabi = b.empty();
    v->L = lg;
    v->Az = az;
    v->P = p;
    v->LeverTmp = l;
    return v;
  }

 private:
  std::function<void(LecteurEssai&)> stage_;
};

bool ImporteEssai(ReseauImport& r, std::function<void(LecteurEssai&)> f) {
  LecteurEssai l(&r.R(), std::move(f));
  l.TypeAppli = 4;
  return l.ImporterFichier(r.Tro("x\r\n", "essai.txt"));
}

TEST(Transfert, LeversSansDateEtLeversEgaux) {
  ReseauImport r;
  ASSERT_TRUE(ImporteEssai(r, [](LecteurEssai& l) {
    formats::TLeverImport* a = l.AjouteLeverImport();
    a->TeamList = {"Martel", "Casteret"};
    a->Decli = 1;
    formats::TLeverImport* b = l.AjouteLeverImport();  // equal to a
    b->TeamList = {"martel ", "Trombe"};
    b->Decli = 1;
    formats::TLeverImport* c = l.AjouteLeverImport();
    c->Decli = 2;
    c->InstrL = "Déca";
    formats::TLeverImport* d = l.AjouteLeverImport();
    d->Decli = 3;
    foundation::EncodeDate(2001, 5, 6, d->DateLev);
    l.Visee(a, "1", "2", 5);
    l.Visee(b, "2", "3", 5);
    l.Visee(c, "3", "4", 5);
    l.Visee(d, "4", "5", 5);
  })) << Msgs(r.Dialogues);
  TCavite* c = r.Cavite();
  ASSERT_EQ(c->Levers.Count(), 3);
  // Undated trips stay without date: no made-up day of 1900.
  EXPECT_EQ(c->Levers.UnObjet(0)->LaDate, foundation::DateNonRenseignee);
  EXPECT_EQ(c->Levers.UnObjet(0)->DateTexte(), "non renseignée");
  EXPECT_EQ(c->Levers.UnObjet(1)->DateTexte(), "non renseignée");
  EXPECT_EQ(foundation::DateEnTexte(c->Levers.UnObjet(2)->LaDate), "06/05/2001");
  // The merged trip lists each operator once.
  const TLever* l0 = c->Levers.UnObjet(0);
  ASSERT_EQ(l0->Operateurs.size(), 3u);
  EXPECT_EQ(l0->OperaText(0), "Martel");
  EXPECT_EQ(l0->OperaText(2), "Trombe");
  EXPECT_EQ(r.R().ListeOperateurs.Count(), 3);
  EXPECT_EQ(r.Visee("2", "3")->LeLever, l0);
  ASSERT_NE(c->Levers.UnObjet(1)->InstrumentL, nullptr);
  EXPECT_EQ(c->Levers.UnObjet(1)->InstrumentL->DesignInstr, "Déca");
}

TEST(Transfert, TopofilEtUnites) {
  ReseauImport r;
  const std::string tro = EnTeteTro("Topof 98 Gra Clino % 0 Dir,Dir,Dir Arr Std --/--/---- A") +
                          "A B 100.5 110.5 50 210 0 0 0 0 N I * N\r\n"
                          "B C * 120.5 60 -5 0 0 0 0 N I * N\r\n";
  ASSERT_TRUE(r.Importe(r.Tro(tro))) << Msgs(r.Dialogues);
  const TCavite* c = r.Cavite();
  ASSERT_EQ(c->Levers.Count(), 1);
  const TLever* l = c->Levers.First();
  EXPECT_EQ(l->UniteAZ, 1);
  EXPECT_EQ(l->UniteP, 2);
  EXPECT_TRUE(l->Topofil);
  EXPECT_DOUBLE_EQ(l->EtalonL, 0.98);
  EXPECT_TRUE(c->ATopofil);
  const TVisee* ab = r.Visee("A", "B");
  ASSERT_NE(ab, nullptr);
  EXPECT_TRUE(ab->SaisieTopoFil);
  EXPECT_EQ(ab->TopofilDeb, 100);  // half to even
  EXPECT_EQ(ab->TopofilFin, 110);
  const TVisee* bc = r.Visee("B", "C");
  EXPECT_EQ(bc->TopofilDeb, 110);  // the previous end reading
  EXPECT_EQ(bc->TopofilFin, 120);
}

TEST(Transfert, PentesRameneesDansLeurDomaine) {
  ReseauImport r;
  const std::string tro = EnTeteTro() + "A B 10 0 350 0 0 0 0 N I * N\r\n" +
                          "Param Deca Gra Clino Gra 0 Dir,Dir,Dir Arr Std --/--/---- A\r\n" +
                          "B C 10 0 390 0 0 0 0 N I * N\r\n";
  ASSERT_TRUE(r.Importe(r.Tro(tro))) << Msgs(r.Dialogues);
  EXPECT_NEAR(r.Visee("A", "B")->pente, -10, 1e-12);
  EXPECT_NEAR(r.Visee("B", "C")->pente, -10, 1e-12);
}

TEST(Entree, RemplaceeOuRelieeEtSystemeAdopte) {
  {
    ReseauImport r;
    const std::string tro = EnTeteTro() + "A A 0 0 0 1 2 3 4 N I * N ;entrée;\r\nA B 10 0 0 0 0 0 0 N I * N\r\n";
    ASSERT_TRUE(r.Importe(r.Tro(tro))) << Msgs(r.Dialogues);
    EXPECT_EQ(r.Station("A"), nullptr);
    const TPointSpeleo* s = r.PointSurface("A");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->TypePoint, PointSurface);
    EXPECT_DOUBLE_EQ(s->X, 600500);
    EXPECT_DOUBLE_EQ(s->Y, 180250);
    EXPECT_DOUBLE_EQ(s->Z, 1020);
    EXPECT_EQ(s->LargeurGA, 1);
    EXPECT_EQ(s->HauteurInf, 4);
    EXPECT_EQ(s->Commentaire.Texte(), "entrée");
    EXPECT_EQ(r.Visee("A", "B")->PointStation, s);
    EXPECT_EQ(r.R().EntreeImport, s);
    EXPECT_EQ(r.R().Projection, "LT 3");
    EXPECT_EQ(r.Cavite()->LEntree(), s);
  }
  {
    ReseauImport r;
    r.R().Projection = "LT 93";
    const std::string tro = EnTeteTro() + "A B 10 0 0 0 0 0 0 N I * N\r\nA C 10 90 0 0 0 0 0 N I * N\r\n";
    ASSERT_TRUE(r.Importe(r.Tro(tro))) << Msgs(r.Dialogues);
    const TPointSpeleo* s = r.PointSurface("A-Orig");
    ASSERT_NE(s, nullptr);
    ASSERT_NE(r.Station("A"), nullptr);
    const TVisee* z = r.Visee("A-Orig", "A");
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(z->Exclue, 2);
    EXPECT_EQ(z->Long, 0);
    EXPECT_EQ(z->LeLever, r.Visee("A", "B")->LeLever);
    EXPECT_EQ(r.R().Projection, "LT 93");  // a network with its own system keeps it
  }
}

TEST(Entree, SansPointDeSurface) {
  struct Cas {
    const char* visees;
    const char* entree;
  };
  const Cas cas[] = {
      {"A B 10 0 0 0 0 0 0 N I * N\r\nB C 10 0 0 0 0 0 0 N I * N\r\n", "A"},
      // The first shot's target ends the survey: it is the entrance.
      {"B A 10 0 0 0 0 0 0 N I * N\r\nB C 10 0 0 0 0 0 0 N I * N\r\n", "A"},
      {"B A 10 0 0 0 0 0 0 N I * N\r\n", "B"},
  };
  for (const Cas& c : cas) {
    ReseauImport r;
    const std::string tro = "Version 5.12\r\nParam Deca Degd Clino Degd 0 Dir,Dir,Dir Arr Std --/--/---- A\r\n" +
                            std::string(c.visees);
    ASSERT_TRUE(r.Importe(r.Tro(tro))) << c.visees << Msgs(r.Dialogues);
    const TPointSpeleo* s = r.PointSurface(c.entree);
    ASSERT_NE(s, nullptr) << c.visees;
    EXPECT_EQ(s->X, 0);
    EXPECT_EQ(s->Z, 0);
    EXPECT_EQ(r.R().LesPointsSurface()->Count(), 1) << c.visees;
    EXPECT_EQ(r.R().Projection, "");
  }
}

TEST(Transfert, VisesRayonnantes) {
  ReseauImport r;
  const std::string tro = EnTeteTro() +
                          "A B 10 0 0 0 0 0 0 N I * N\r\n"
                          "B * 2 90 0 0 0 0 0 N E M * ;paroi;\r\n"
                          "B C 10 0 0 0 0 0 0 N I * N\r\n"
                          "B * 3 270 0 0 0 0 0 N I * N\r\n"
                          "C D 10 0 0 0 0 0 0 N I * N\r\n"
                          "B * 1 0 0 0 0 0 0 N I * N\r\n"
                          "Z * 3 270 0 0 0 0 0 N I * N\r\n";
  ASSERT_TRUE(r.Importe(r.Tro(tro))) << Msgs(r.Dialogues);
  const TVisee* ab = r.Visee("A", "B");
  const TVisee* bc = r.Visee("B", "C");
  // The last splay is read after C-D: it hangs on the first shot touching B.
  ASSERT_EQ(ab->ViseesHabi.Count(), 2);
  ASSERT_EQ(bc->ViseesHabi.Count(), 1);
  EXPECT_TRUE(bc->ViseesHabi.First()->RefPtStat);
  EXPECT_EQ(ab->ViseesHabi.Last()->Long, 1);
  const TViseeHabi* h = ab->ViseesHabi.First();
  EXPECT_FALSE(h->RefPtStat);
  EXPECT_EQ(h->PtStation(), r.Station("B"));
  EXPECT_EQ(h->Long, 2);
  EXPECT_EQ(h->CommentVisee.Texte(), "paroi");
  // The splay from a station no shot touches is reported, not silently dropped.
  const auto m = r.Dialogues.Messages();
  ASSERT_FALSE(m.empty());
  EXPECT_NE(m.back().find("Z"), std::string::npos) << Msgs(r.Dialogues);
}

// The caves, surface points, system and lists of a network, to compare before
// and after a failed import.
struct Empreinte {
  std::vector<std::string> cavites;
  std::vector<const TPointSpeleo*> points;
  std::vector<std::string> noms;
  std::string projection;
  int operateurs = 0, instruments = 0;
  static Empreinte De(TReseau& r) {
    Empreinte e;
    for (TCavite* c : r.Cavites) e.cavites.push_back(c->NomCavite + "/" + std::to_string(c->Visees.Count()));
    for (TPointSpeleo* p : *r.LesPointsSurface()) {
      e.points.push_back(p);
      e.noms.push_back(p->DesignPTopo + "/" + std::to_string(p->TypePoint) + "/" + std::to_string(p->X) + "/" +
                       std::to_string(p->LstVis.size()));
    }
    e.projection = r.Projection + "/" + std::to_string(r.NumFuseau);
    e.operateurs = r.ListeOperateurs.Count();
    e.instruments = r.ListeInstruments.Count();
    return e;
  }
  bool operator==(const Empreinte&) const = default;
};

TEST(Annulation, SansParamRienNeChange) {
  ReseauImport r;
  const std::string premier = r.Tro(EnTeteTro() + "A B 10 0 0 0 0 0 0 N I * N\r\n", "premier.tro");
  ASSERT_TRUE(r.Importe(premier));
  const Empreinte avant = Empreinte::De(r.R());
  r.Dialogues.Clear();
  const std::string chemin = r.Tro("Version 5.12\r\nTrou G,1,2,3,LT93\r\nEntree A\r\nA B 1 2 3\r\n", "sans.tro");
  EXPECT_FALSE(r.Importe(chemin));
  ASSERT_EQ(r.Dialogues.Messages().size(), 1u);
  EXPECT_EQ(r.Dialogues.Messages()[0], "il n'y a aucune ligne à importer. Vérifiez la structure du fichier " + chemin +
                                           " : aucune ligne « Param » n'y annonce de visées.");
  EXPECT_TRUE(Empreinte::De(r.R()) == avant);
}

TEST(Annulation, DialogueDesGaleriesAnnule) {
  ReseauImport r;
  const Empreinte avant = Empreinte::De(r.R());
  formats::FenetresImport().AfficheNommeGal = [](formats::TNommeGalDlg&) { return formats::ResultatNommeGal::Annuler; };
  const std::string tro = EnTeteTro("Deca Degd Clino Degd 0 Dir,Dir,Dir Arr Std --/--/---- A",
                                    "Trou Essai,600.5,180.25,1020,LT3") +
                          "A B 10 0 0 0 0 0 0 N I * N\r\n";
  // Surface points, a system, an instrument were added by the pass: all go.
  EXPECT_FALSE(r.Importe(r.Tro(tro)));
  EXPECT_TRUE(Empreinte::De(r.R()) == avant);
  EXPECT_EQ(r.R().Cavites.Count(), 1);
  EXPECT_TRUE(r.Dialogues.Messages().empty()) << Msgs(r.Dialogues);
}

TEST(Annulation, SeriesIsoleesRefusees) {
  ReseauImport r;
  const Empreinte avant = Empreinte::De(r.R());
  const std::string tro = EnTeteTro() + "A B 10 0 0 0 0 0 0 N I * N\r\nX Y 10 0 0 0 0 0 0 N I * N\r\n";
  r.Dialogues.QueueAnswer(Answer::No);
  EXPECT_FALSE(r.Importe(r.Tro(tro)));
  EXPECT_TRUE(Empreinte::De(r.R()) == avant);
  ASSERT_EQ(r.Dialogues.Log().size(), 1u);
  EXPECT_NE(r.Dialogues.Log()[0].text.find("X-Y"), std::string::npos);
  // Accepted: the import goes on without them, and says how many.
  r.Dialogues.Clear();
  r.Dialogues.QueueAnswer(Answer::Yes);
  formats::tImportVTopo lecteur(&r.R());
  lecteur.TypeAppli = formats::TypeImportVTopo;
  ASSERT_TRUE(lecteur.ImporterFichier(r.Tro(tro)));
  EXPECT_EQ(lecteur.ViseesNonRattachees, 1);
  EXPECT_EQ(r.Cavite()->Visees.Count(), 1);
  EXPECT_EQ(r.Station("X"), nullptr);
}

TEST(LectureTexte, OctetsNulsEtFinsDeLigne) {
  EXPECT_EQ(formats::LignesTexteImport(std::string("a\0b\r\nc\rd\ne", 10)),
            (std::vector<std::string>{"a b", "c", "d", "e"}));
  EXPECT_EQ(formats::LignesTexteImport("\xe9" "boulis"), (std::vector<std::string>{"éboulis"}));
  ReseauImport r;
  std::string tro = EnTeteTro() + "A B 10 0 0 0 0 0 0 N I * N\r\nB C 5 0 0 0 0 0 0 N I * N ;fin;\r\n";
  // Lone CR line ends and a NUL byte inside a comment.
  std::string cr = tro;
  for (size_t i = cr.find("\r\n"); i != std::string::npos; i = cr.find("\r\n", i)) cr.erase(i + 1, 1);
  cr.insert(cr.find(";fin;") + 2, 1, '\0');
  const std::string chemin = r.Dossier.Fichier("cr.tro");
  testsupport::EcritOctets(chemin, cr);
  ASSERT_TRUE(r.Importe(chemin)) << Msgs(r.Dialogues);
  EXPECT_EQ(r.Cavite()->Visees.Count(), 2);
  EXPECT_EQ(r.Station("C")->Commentaire.Texte(), "f in");
  // The user's file is never written.
  EXPECT_EQ(testsupport::LitOctets(chemin), cr);
}

TEST(Recherche, LeDernierDuNomGagne) {
  ReseauImport r;
  formats::tImportVTopo l(&r.R());
  TListedePoints liste{true};
  auto p1 = std::make_unique<TPointSpeleo>();
  p1->DesignPTopo = "X";
  auto p2 = std::make_unique<TPointSpeleo>();
  p2->DesignPTopo = "X";
  liste.Add(std::move(p1));
  TPointSpeleo* dernier = liste.Add(std::move(p2));
  EXPECT_EQ(l.CherchePointVisee("X", liste), dernier);
  TPointSpeleo* y = l.CherchePointVisee("Y", liste);
  EXPECT_EQ(liste.Count(), 3);
  EXPECT_EQ(l.CherchePointVisee("Y", liste), y);
  EXPECT_NE(l.CherchePointVisee("x", liste), dernier);  // case-sensitive
}

TEST(Dispatcher, CodeSansLecteur) {
  ReseauImport r;
  const std::string chemin = r.Tro(EnTeteTro() + "A B 10 0 0 0 0 0 0 N I * N\r\n");
  EXPECT_FALSE(r.Importe(chemin, 1));
  EXPECT_FALSE(r.Importe(chemin, 9));
  EXPECT_EQ(r.R().Cavites.Count(), 1);
  EXPECT_TRUE(r.Importe(chemin, formats::TypeImportVTopo));
  EXPECT_EQ(r.R().CaviteImportee, r.Cavite());
}

}  // namespace
}  // namespace testformats
