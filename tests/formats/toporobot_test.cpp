// The TopoRobot and GHTopo reader: the real files of the fixtures (counted by
// the test's own reading of their lines, coordinates against Survex's
// cavern), small hand-made files for the edge cases, and a real file cut at
// every byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <iomanip>
#include <map>
#include <numbers>
#include <set>
#include <sstream>
#include <unordered_map>

#include "formats/import/toporobot/lecteur_toporobot.h"
#include "foundation/dates.h"
#include "survey/lever.h"
#include "survey/operateur.h"
#include "tests/formats/import_test_support.h"
#include "tests/formats/survex_tro.h"

namespace testformats {
namespace {

const std::string kDossier = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/toporobot/";

// --- The test's own reading of a TopoRobot file --------------------------------------------

struct PointLu {
  int serie = 0, point = 0, code = 0, session = 0;
  double L = 0, Az = 0, P = 0;
};
struct SerieLue {
  int num = 0, sd = 0, pd = 0, sf = 0, pf = 0;
  std::vector<PointLu> pts;
};
struct CodeLu {
  double az = 360, p = 360, etalon = 100;
};
struct FichierLu {
  std::vector<SerieLue> series;
  std::map<int, double> decli;  // by the number the points use
  std::map<int, CodeLu> codes;
  std::vector<std::array<double, 5>> entrees;  // X Y Z series point
  int lignesPoints = 0;
};

bool Entier(const std::string& s, int& v) {
  if (s.empty()) return false;
  size_t i = s[0] == '-' ? 1 : 0;
  if (i == s.size()) return false;
  for (size_t k = i; k < s.size(); ++k)
    if (s[k] < '0' || s[k] > '9') return false;
  v = std::stoi(s);
  return true;
}

std::vector<std::string> Decoupe(const std::string& ligne) {
  std::vector<std::string> r;
  std::string champ;
  std::istringstream in(ligne);
  while (std::getline(in, champ, '\t')) r.push_back(foundation::OteBlancs(champ));
  return r;
}

FichierLu LitFichier(const std::string& octets, bool xtb) {
  FichierLu f;
  std::string ligne;
  std::vector<std::string> lignes;
  for (char c : octets) {
    if (c == '\r' || c == '\n') {
      lignes.push_back(ligne);
      ligne.clear();
    } else {
      ligne += c;
    }
  }
  lignes.push_back(ligne);
  int rangSession = 0, rangCode = 0, codeCourant = 0;
  for (const std::string& l : lignes) {
    const std::vector<std::string> c = Decoupe(l);
    int code = 0, second = 0;
    if (c.size() < 2 || !Entier(c[0], code) || !Entier(c[1], second)) continue;
    auto num = [&](size_t i) { return i < c.size() ? Num(c[i]) : 0.0; };
    if (code > 0) {
      if (f.series.empty() || code != codeCourant) f.series.emplace_back();
      codeCourant = code;
      SerieLue& s = f.series.back();
      if (second == -1) {
        s.num = code;
        s.sd = static_cast<int>(num(2)), s.pd = static_cast<int>(num(3));
        s.sf = static_cast<int>(num(4)), s.pf = static_cast<int>(num(5));
      } else if (second >= 0) {
        PointLu p;
        p.serie = s.num;
        p.point = second;
        p.code = static_cast<int>(num(2));
        p.session = static_cast<int>(num(3));
        p.L = num(4), p.Az = num(5), p.P = num(6);
        s.pts.push_back(p);
        ++f.lignesPoints;
      }
    } else if (code == -2) {
      f.decli[xtb ? second : ++rangSession] = num(8);
    } else if (code == -1) {
      f.codes[xtb ? second : ++rangCode] = CodeLu{num(2), num(3), num(7)};
    } else if (code == -5) {
      f.entrees.push_back({num(2), num(3), num(4), num(5), num(6)});
    }
  }
  return f;
}

std::string Nom(int serie, int point) { return std::to_string(serie) + "-" + std::to_string(point); }

struct Jambe {
  std::string de, a;
  PointLu mesure;
  bool jonction = false;
};

// The shots of the file, as the series run: from the start station to each
// point, with no-measure joins to a start or end in another series.
std::vector<Jambe> Jambes(const FichierLu& f) {
  std::vector<Jambe> r;
  for (const SerieLue& s : f.series) {
    if (s.pts.empty()) continue;
    std::vector<std::pair<PointLu, bool>> pts;
    if (s.pts.front().serie != s.sd) pts.push_back({PointLu{s.sd, s.pd, s.pts.front().code, s.pts.front().session}, true});
    for (const PointLu& p : s.pts) pts.push_back({p, false});
    if (s.pts.back().serie != s.sf) pts.push_back({PointLu{s.sf, s.pf, s.pts.back().code, s.pts.back().session}, true});
    std::string courante = Nom(s.sd, s.pd);
    for (size_t k = 1; k < pts.size(); ++k) {
      const std::string a = Nom(pts[k].first.serie, pts[k].first.point);
      if (a != courante) r.push_back({courante, a, pts[k].first, pts[k].second});
      courante = a;
    }
  }
  return r;
}

// Shots and stations reached from the entrance station; the entrance leaves
// the stations when one shot touches it, else a zero shot joins it.
struct Compte {
  int visees = 0, stations = 0;
  double longueur = 0;
};
Compte CompteIndependant(const std::vector<Jambe>& jambes, const std::string& entree) {
  std::unordered_map<std::string, std::vector<size_t>> parPoint;
  for (size_t i = 0; i < jambes.size(); ++i) {
    parPoint[jambes[i].de].push_back(i);
    parPoint[jambes[i].a].push_back(i);
  }
  std::set<std::string> atteints{entree};
  std::vector<std::string> pile{entree};
  std::vector<bool> vue(jambes.size(), false);
  while (!pile.empty()) {
    const std::string p = pile.back();
    pile.pop_back();
    for (size_t i : parPoint[p]) {
      vue[i] = true;
      for (const std::string& q : {jambes[i].de, jambes[i].a})
        if (atteints.insert(q).second) pile.push_back(q);
    }
  }
  Compte c;
  for (size_t i = 0; i < jambes.size(); ++i)
    if (vue[i]) {
      ++c.visees;
      c.longueur += jambes[i].mesure.L;
    }
  const size_t degre = parPoint[entree].size();
  c.stations = static_cast<int>(atteints.size()) - (degre == 1 ? 1 : 0);
  if (degre >= 2) ++c.visees;
  return c;
}

Compte CompteCavite(ReseauImport& r) {
  Compte c;
  c.visees = r.Cavite()->Visees.Count();
  c.stations = r.NombreStations();
  for (TVisee* v : r.Cavite()->Visees) c.longueur += v->Long;
  return c;
}

// The file's shots as .svx (units, calibration, declination and back-sights
// of each shot's code and session; zero joins as equates), the entrance
// station fixed.
std::string VersSvxTpRb(const FichierLu& f, const std::vector<Jambe>& jambes, const std::string& entree,
                        const std::array<double, 5>& e, const std::function<std::string(const std::string&)>& nom) {
  std::ostringstream o;
  o.precision(12);
  o << "*begin\n*fix " << nom(entree) << " " << e[0] << " " << e[1] << " " << e[2] << "\n";
  for (const Jambe& j : jambes) {
    if (j.mesure.L == 0) {
      o << "*equate " << nom(j.de) << " " << nom(j.a) << "\n";
      continue;
    }
    const CodeLu& c = f.codes.at(j.mesure.code);
    const bool grades = c.az > 380;
    const bool inv = grades ? c.az < 395 : c.az < 355;
    const std::string unP = c.p > 380 ? "grads" : c.p == 370 ? "percent" : "degrees";
    const double etalon = c.etalon / 100 < 0.1 ? 1.0 : c.etalon / 100;
    o << "*units compass " << (grades ? "grads" : "degrees") << "\n*units clino " << unP << "\n";
    o << "*declination " << f.decli.at(j.mesure.session) << (grades ? " grads" : " degrees") << "\n";
    o << "*calibrate tape 0 " << etalon << "\n*data normal from to tape compass clino\n";
    const double az = j.mesure.Az + (inv ? (grades ? 200 : 180) : 0);
    o << nom(j.de) << " " << nom(j.a) << " " << j.mesure.L << " " << az << " " << j.mesure.P << "\n";
  }
  o << "*end\n";
  return o.str();
}

// The shot's vector (east, north, up) as the file gives it.
std::array<double, 3> Vecteur(const FichierLu& f, const Jambe& j) {
  if (j.mesure.L == 0) return {0, 0, 0};
  const CodeLu& c = f.codes.at(j.mesure.code);
  const bool grades = c.az > 380;
  const bool inv = grades ? c.az < 395 : c.az < 355;
  const double etalon = c.etalon / 100 < 0.1 ? 1.0 : c.etalon / 100;
  const double tour = grades ? 400 : 360;
  const double az = (j.mesure.Az + (inv ? tour / 2 : 0) + f.decli.at(j.mesure.session)) * 2 * std::numbers::pi / tour;
  double p = 0;
  if (c.p > 380)
    p = j.mesure.P * std::numbers::pi / 200;
  else if (c.p == 370)
    p = std::atan(j.mesure.P / 100);
  else
    p = j.mesure.P * std::numbers::pi / 180;
  const double l = j.mesure.L * etalon;
  return {l * std::cos(p) * std::sin(az), l * std::cos(p) * std::cos(az), l * std::sin(p)};
}

// Each station of the imported cave against cavern; the entrance surface
// point stands for the entrance station.  A station that cavern leaves where
// the shots of a tree from the entrance put it lies outside the loops'
// adjustment: it must be within tolerance; any other within the largest
// loop misclosure.
void CompareAvecSurvex(ReseauImport& r, const FichierLu& f, const std::vector<Jambe>& jambes, size_t rangEntree,
                       double tolerance, const std::string& fichier) {
  TCavite* c = r.Cavite();
  ASSERT_NE(c, nullptr);
  r.R().CalculeReseau();
  const auto& e = f.entrees.at(rangEntree);
  const std::string entree = Nom(static_cast<int>(e[3]), static_cast<int>(e[4]));
  std::unordered_map<std::string, std::string> noms;
  auto nom = [&](const std::string& n) {
    auto it = noms.find(n);
    if (it == noms.end()) it = noms.emplace(n, "s" + std::to_string(noms.size())).first;
    return it->second;
  };
  // The tree walk and the loops' misclosures.
  std::unordered_map<std::string, std::vector<size_t>> parPoint;
  for (size_t i = 0; i < jambes.size(); ++i) {
    parPoint[jambes[i].de].push_back(i);
    parPoint[jambes[i].a].push_back(i);
  }
  std::unordered_map<std::string, std::array<double, 3>> arbre{{entree, {e[0], e[1], e[2]}}};
  std::vector<std::string> file{entree};
  std::vector<bool> utilisee(jambes.size(), false);
  double fermeture = 0;
  for (size_t k = 0; k < file.size(); ++k) {
    const std::string p = file[k];
    for (size_t i : parPoint[p]) {
      if (utilisee[i]) continue;
      utilisee[i] = true;
      const auto v = Vecteur(f, jambes[i]);
      const double sens = jambes[i].de == p ? 1 : -1;
      const std::string q = jambes[i].de == p ? jambes[i].a : jambes[i].de;
      const auto& a = arbre.at(p);
      const std::array<double, 3> b{a[0] + sens * v[0], a[1] + sens * v[1], a[2] + sens * v[2]};
      const auto it = arbre.find(q);
      if (it == arbre.end()) {
        arbre.emplace(q, b);
        file.push_back(q);
      } else {
        fermeture = std::max(fermeture, std::hypot(b[0] - it->second[0], b[1] - it->second[1], b[2] - it->second[2]));
      }
    }
  }
  // Survex on the shots the entrance reaches.
  std::vector<Jambe> atteintes;
  for (size_t i = 0; i < jambes.size(); ++i)
    if (utilisee[i]) atteintes.push_back(jambes[i]);
  std::string erreur;
  const auto survex = PositionsSurvex(VersSvxTpRb(f, atteintes, entree, e, nom), r.Dossier.Chemin(), erreur);
  ASSERT_TRUE(erreur.empty()) << erreur;
  int horsBoucles = 0;
  std::vector<std::pair<std::string, TPointSpeleo*>> points{{entree, c->LEntree()}};
  for (TGalerie* g : c->Galeries)
    for (TPointSpeleo* p : g->Points) points.emplace_back(p->DesignPTopo, p);
  for (const auto& [n, p] : points) {
    const auto it = noms.find(n);
    if (it == noms.end() || !p) continue;
    const auto s = survex.find(it->second);
    ASSERT_NE(s, survex.end()) << fichier << " " << n;
    const auto& t = arbre.at(n);
    const bool libre = std::hypot(t[0] - s->second[0], t[1] - s->second[1], t[2] - s->second[2]) < 0.01;
    const double tol = libre ? tolerance : fermeture + tolerance;
    horsBoucles += libre;
    EXPECT_NEAR(p->X, s->second[0], tol) << fichier << " " << n;
    EXPECT_NEAR(p->Y, s->second[1], tol) << fichier << " " << n;
    EXPECT_NEAR(p->Z, s->second[2], tol) << fichier << " " << n;
  }
  EXPECT_GT(horsBoucles, 3) << fichier;
}

TLever* LeverDate(TCavite* c, int annee, int mois, int jour) {
  foundation::TDateTime d;
  if (!foundation::EncodeDate(annee, mois, jour, d)) return nullptr;
  for (TLever* l : c->Levers)
    if (l->LaDate == d) return l;
  return nullptr;
}

// --- Real files ---------------------------------------------------------------------------------

TEST(FichiersTopoRobot, GrotteDuBison) {
  ReseauImport r;
  formats::Import().CalculDecliAuto = false;
  const std::string chemin = kDossier + "Grotte du Bison_01.Tab";
  ASSERT_TRUE(r.Importe(chemin, formats::TypeImportTopoRobot)) << ::testing::PrintToString(r.Dialogues.Messages());
  TCavite* c = r.Cavite();
  EXPECT_EQ(c->NomCavite, "Grotte du Bison_01");
  TPointSpeleo* s = r.PointSurface("Entrée Grotte du Bison_01");
  ASSERT_NE(s, nullptr);
  EXPECT_DOUBLE_EQ(s->X, 401925);
  EXPECT_DOUBLE_EQ(s->Y, 269807);
  EXPECT_DOUBLE_EQ(s->Z, 56);
  EXPECT_EQ(s->Commentaire.Texte(), "Sortie du 14 janvier 2013");
  EXPECT_EQ(r.Station("1-0"), nullptr);
  ASSERT_NE(r.Visee("Entrée Grotte du Bison_01", "1-1"), nullptr);
  // Trips: one per session, its two operator fields as two operators.
  ASSERT_EQ(c->Levers.Count(), 2);
  TLever* l1 = LeverDate(c, 2013, 1, 14);
  ASSERT_NE(l1, nullptr);
  ASSERT_NE(LeverDate(c, 2013, 7, 10), nullptr);
  ASSERT_EQ(l1->Operateurs.size(), 2u);
  EXPECT_EQ(l1->Operateurs[0]->DesignOpe, "H. Lalanne, Bl. Font, Fr. Maffre");
  EXPECT_EQ(l1->Operateurs[1]->DesignOpe, "Fr. Maffre");
  EXPECT_EQ(l1->UniteAZ, 0);
  EXPECT_EQ(l1->UniteP, 0);
  EXPECT_DOUBLE_EQ(l1->EtalonL, 1.0);
  EXPECT_FALSE(l1->DecliAuto);
  // Shots, zero joins, stations and length.
  EXPECT_EQ(c->Visees.Count(), 58);
  EXPECT_EQ(r.NombreStations(), 57);
  for (auto [de, a] : std::vector<std::pair<const char*, const char*>>{
           {"1-1", "2-0"}, {"2-12", "3-0"}, {"3-2", "2-13"}, {"2-16", "4-0"}, {"1-1", "5-0"}}) {
    TVisee* v = r.Visee(de, a);
    ASSERT_NE(v, nullptr) << de << " " << a;
    EXPECT_EQ(v->Long, 0) << de << " " << a;
  }
  EXPECT_NEAR(CompteCavite(r).longueur, 349.58, 1e-9);
  // Comments: the point's and the series name on the series' start station.
  EXPECT_EQ(r.Station("2-0")->Commentaire.Texte(), "départ aval");
  EXPECT_NE(r.Station("1-1")->Commentaire.Texte().find("galerie aval à partir du bas du puits"), std::string::npos);
  EXPECT_EQ(c->Galeries.First()->NomGalerie, "Haut et bas du puits dans le bosquet");
  // The independent reading.
  const FichierLu f = LitFichier(testsupport::LitOctets(chemin), false);
  const Compte attendu = CompteIndependant(Jambes(f), "1-0");
  EXPECT_EQ(attendu.visees, 58);
  EXPECT_EQ(attendu.stations, 57);
  EXPECT_TRUE(r.Dialogues.Messages().empty()) << ::testing::PrintToString(r.Dialogues.Messages());
}

TEST(FichiersTopoRobot, GrandAntoine) {
  ReseauImport r;
  formats::Import().CalculDecliAuto = false;
  const std::string chemin = kDossier + "00_Grand Antoine 2004-2008_01.Tab";
  ASSERT_TRUE(r.Importe(chemin, formats::TypeImportTopoRobot)) << ::testing::PrintToString(r.Dialogues.Messages());
  TCavite* c = r.Cavite();
  const FichierLu f = LitFichier(testsupport::LitOctets(chemin), false);
  EXPECT_EQ(f.lignesPoints, 1603);
  const Compte attendu = CompteIndependant(Jambes(f), "1-0");
  const Compte lu = CompteCavite(r);
  EXPECT_EQ(lu.visees, attendu.visees);
  EXPECT_EQ(lu.stations, attendu.stations);
  EXPECT_NEAR(lu.longueur, attendu.longueur, 1e-6);
  // Years of two digits and one.
  for (int annee : {2004, 1999, 2005, 1997}) {
    bool trouve = false;
    for (TLever* l : c->Levers) {
      int a, m, j;
      if (foundation::DecodeDate(l->LaDate, a, m, j) && a == annee) trouve = true;
    }
    EXPECT_TRUE(trouve) << annee;
  }
  // No comment "0" from GHTopo's trailing column.
  for (TGalerie* g : c->Galeries)
    for (TPointSpeleo* p : g->Points)
      for (const std::string& l : p->Commentaire) EXPECT_NE(l, "0") << p->DesignPTopo;
}

TEST(FichiersTopoRobot, ToporabotDeuxCavites) {
  ReseauImport r;
  formats::Import().CalculDecliAuto = false;
  std::vector<std::string> listees;
  formats::FenetresImport().AfficheChoixCavTpRb = [&](formats::TTpRbChoixCavDlg& d) {
    listees = d.Cavites;
    d.ListeCavBoxClickCheck(1, true);
    d.ListeCavBoxClickCheck(0, true);  // checking one unchecks the other
    EXPECT_EQ(d.Choisie(), 0);
    return true;
  };
  r.Dialogues.QueueAnswer(platform::Answer::Yes);  // the other cave's shots are left out
  const std::string chemin = kDossier + "Toporabot.xtb";
  ASSERT_TRUE(r.Importe(chemin, formats::TypeImportTopoRobot)) << ::testing::PrintToString(r.Dialogues.Messages());
  EXPECT_EQ(listees, (std::vector<std::string>{"GROTTE DUTROUX", "GROTTE DEBALLE"}));
  TCavite* c = r.Cavite();
  EXPECT_EQ(c->NomCavite, "GROTTE DUTROUX");
  TPointSpeleo* s = r.PointSurface("Entrée GROTTE DUTROUX");
  ASSERT_NE(s, nullptr);
  EXPECT_DOUBLE_EQ(s->X, 403460);
  EXPECT_DOUBLE_EQ(s->Y, 3089600);
  EXPECT_DOUBLE_EQ(s->Z, 540);
  EXPECT_EQ(r.Station("1-0"), nullptr);
  // Trips by the numbers written on the -2 and -1 lines.
  EXPECT_NE(LeverDate(c, 2012, 12, 31), nullptr);
  EXPECT_NE(LeverDate(c, 1988, 5, 28), nullptr);
  bool pourcent = false, grades = false;
  for (TLever* l : c->Levers) {
    if (l->UniteP == 2) pourcent = true;
    if (l->UniteAZ == 1 && l->UniteP == 1) grades = true;
  }
  EXPECT_TRUE(pourcent);
  EXPECT_TRUE(grades);
  std::set<std::string> galeries;
  for (TGalerie* g : c->Galeries) galeries.insert(g->NomGalerie);
  EXPECT_TRUE(galeries.count("GALERIE PRINCIPALE"));
  EXPECT_TRUE(galeries.count("raccourci nord"));
  const FichierLu f = LitFichier(testsupport::LitOctets(chemin), true);
  const Compte attendu = CompteIndependant(Jambes(f), "1-0");
  const Compte lu = CompteCavite(r);
  EXPECT_EQ(lu.visees, attendu.visees);
  EXPECT_EQ(lu.stations, attendu.stations);
  EXPECT_NEAR(lu.longueur, attendu.longueur, 1e-6);
}

TEST(FichiersTopoRobot, ShuangheCaviteChoisie) {
  ReseauImport r;
  formats::Import().CaviteTopoRobot = 0;
  for (int i = 0; i < 3; ++i) r.Dialogues.QueueAnswer(platform::Answer::Yes);
  const std::string chemin = kDossier + "synthese_shuanghe_good.xtb";
  ASSERT_TRUE(r.Importe(chemin, formats::TypeImportTopoRobot)) << ::testing::PrintToString(r.Dialogues.Messages());
  TCavite* c = r.Cavite();
  EXPECT_EQ(c->NomCavite, "Dadong");
  // The other caves' shots were named by the branch walk, then left out.
  bool question = false;
  for (const auto& e : r.Dialogues.Log())
    if (e.event == platform::ScriptedDialogs::Event::YesNo) question = true;
  EXPECT_TRUE(question);
  bool an2011 = false;
  for (TLever* l : c->Levers) {
    int a, m, j;
    if (foundation::DecodeDate(l->LaDate, a, m, j) && a == 2011) an2011 = true;
  }
  EXPECT_TRUE(an2011);
  const FichierLu f = LitFichier(testsupport::LitOctets(chemin), true);
  const auto& e = f.entrees.at(0);
  const Compte attendu = CompteIndependant(Jambes(f), Nom(static_cast<int>(e[3]), static_cast<int>(e[4])));
  EXPECT_EQ(CompteCavite(r).visees, attendu.visees);
  EXPECT_EQ(CompteCavite(r).stations, attendu.stations);
}

TEST(FichiersTopoRobot, ErreursVolontairesSansChangement) {
  struct Cas {
    const char* fichier;
    const char* attendu;
  };
  // Arrestelia's point 148-3 has a slope of 97 degrees: the readings are
  // checked before the instrument codes are looked up.
  for (const Cas& cas : {Cas{"0000_Fichier_xtb_avec_erreurs_volontaires.xtb", "série 133 point 11 : la session 666 "},
                         Cas{"00_Synthese_Arrestelia.xtb", "00_Synthese_Arrestelia.xtb, ligne 2345 : pente impossible (97.00)."}}) {
    ReseauImport r;
    r.Dialogues.QueueAnswer(platform::Answer::Yes);
    EXPECT_FALSE(r.Importe(kDossier + cas.fichier, formats::TypeImportTopoRobot)) << cas.fichier;
    EXPECT_EQ(r.R().Cavites.Count(), 1) << cas.fichier;
    EXPECT_EQ(r.R().LesPointsSurface()->Count(), 0) << cas.fichier;
    EXPECT_EQ(r.R().ListeOperateurs.Count(), 0) << cas.fichier;
    const auto messages = r.Dialogues.Messages();
    ASSERT_EQ(messages.size(), 1u) << cas.fichier;
    EXPECT_NE(messages[0].find(cas.attendu), std::string::npos) << messages[0];
  }
}

TEST(FichiersTopoRobot, CoordonneesCommeSurvex) {
  if (!CavernPresent()) GTEST_SKIP() << "Survex (cavern, dump3d) n'est pas installé";
  struct Cas {
    const char* fichier;
    bool xtb;
    double tolerance;
  };
  for (const Cas& cas : {Cas{"Grotte du Bison_01.Tab", false, 0.01}, Cas{"00_Grand Antoine 2004-2008_01.Tab", false, 0.01},
                         Cas{"Toporabot.xtb", true, 0.01}}) {
    ReseauImport r;
    formats::Import().CalculDecliAuto = false;
    r.Dialogues.QueueAnswer(platform::Answer::Yes);
    const std::string chemin = kDossier + cas.fichier;
    ASSERT_TRUE(r.Importe(chemin, formats::TypeImportTopoRobot)) << cas.fichier;
    const FichierLu f = LitFichier(testsupport::LitOctets(chemin), cas.xtb);
    CompareAvecSurvex(r, f, Jambes(f), 0, cas.tolerance, cas.fichier);
  }
}

// The file with deliberate errors, the readings that stop its import set
// right (sessions and codes 666, a length of 1009.28 m for 9.28 m): series
// 133 is given twice, the second time under its own header ("Série
// doublonnée").  One question names it with its two lines; going on, the
// copies are two series side by side, 133-1 lies 9.77 m at 199.70° from
// 133-0 (one series closed on itself put it 4.88 m away at 221°).
TEST(FichiersTopoRobot, SerieDoubleeDuFichierAErreurs) {
  std::string octets;
  {
    std::istringstream in(testsupport::LitOctets(kDossier + "0000_Fichier_xtb_avec_erreurs_volontaires.xtb"));
    std::string ligne;
    while (std::getline(in, ligne)) {
      if (ligne.rfind("133\t", 0) == 0) {
        std::vector<std::string> champs;
        std::istringstream l(ligne);
        std::string champ;
        while (std::getline(l, champ, '\t')) champs.push_back(champ);
        for (size_t i : {2, 3})
          if (champs.size() > i && champs[i] == "666") champs[i] = "2";
        if (champs.size() > 4 && champs[4] == "1009.28") champs[4] = "9.28";
        ligne.clear();
        for (size_t i = 0; i < champs.size(); ++i) ligne += (i ? "\t" : "") + champs[i];
      }
      octets += ligne + "\n";
    }
  }
  ReseauImport r;
  formats::Import().CalculDecliAuto = false;
  const std::string chemin = r.Dossier.Fichier("erreurs.xtb");
  testsupport::EcritOctets(chemin, octets);
  for (int i = 0; i < 3; ++i) r.Dialogues.QueueAnswer(platform::Answer::Yes);
  ASSERT_TRUE(r.Importe(chemin, formats::TypeImportTopoRobot)) << ::testing::PrintToString(r.Dialogues.Messages());
  ASSERT_FALSE(r.Dialogues.Log().empty());
  const std::string question = r.Dialogues.Log().front().text;
  EXPECT_EQ(r.Dialogues.Log().front().event, platform::ScriptedDialogs::Event::YesNo);
  EXPECT_NE(question.find("erreurs.xtb : "), std::string::npos) << question;
  EXPECT_NE(question.find("(série 133 : lignes 9299 et 9316)"), std::string::npos) << question;
  // Two shots 133-0 to 133-1 with the file's readings, none closing 133-14
  // on 133-0.
  int copies = 0;
  for (TVisee* v : r.Cavite()->Visees) {
    const std::string de = v->PointStation->DesignPTopo, a = v->PointVise->DesignPTopo;
    EXPECT_FALSE((de == "133-14" && a == "133-0") || (de == "133-0" && a == "133-14"));
    if (de != "133-0" || a != "133-1") continue;
    ++copies;
    EXPECT_DOUBLE_EQ(v->Long, 9.77);
    EXPECT_DOUBLE_EQ(v->Az, 199.7);
    EXPECT_DOUBLE_EQ(v->pente, -0.25);
  }
  EXPECT_EQ(copies, 2);
  r.R().CalculeReseau();
  TPointSpeleo* p0 = r.Station("133-0");
  TPointSpeleo* p1 = r.Station("133-1");
  ASSERT_TRUE(p0 && p1);
  const double dx = p1->X - p0->X, dy = p1->Y - p0->Y;
  EXPECT_NEAR(std::hypot(dx, dy), 9.77 * std::cos(0.25 * std::numbers::pi / 180), 0.001);
  EXPECT_NEAR(std::atan2(dx, dy) * 180 / std::numbers::pi + 360, 199.7, 0.01);
}

// --- Hand-made files ------------------------------------------------------------------------------

struct Fichier {
  std::string annee = "05";
  std::string codeAz = "360", codeP = "360", etalon = "100";
  std::string pente = "-5";
  std::string entete = "1\t-1\t1\t0\t1\t2\t0\t0\t0\tSerie un";
  std::string suite;      // more lines after series 1
  std::string cavites = "-6\t1\tEssai\r\n-5\t1\t100\t200\t300\t1\t0\tici\r\n";

  std::string Texte() const {
    return cavites + "-2\t1\t3\t4\t" + annee + "\tA\tB\t0\t2.5\r\n-1\t1\t" + codeAz + "\t" + codeP + "\t0\t0\t0\t" +
           etalon + "\t0\r\n" + entete + "\r\n1\t0\t1\t1\t0\t0\t0\t0\t0\t0\t0\r\n1\t1\t1\t1\t10\t45\t" + pente +
           "\t1\t2\t3\t4\tpremier\r\n1\t2\t1\t1\t5\t90\t" + pente + "\t1\t1\t1\t1\r\n" + suite;
  }
};

TEST(LecteurTopoRobot, ValeursDesLignes) {
  struct Cas {
    const char* nom;
    Fichier f;
    int annee;
    uint8_t uniteAz, uniteP, typeSaisie;
    bool invAz;
    double etalon;
  };
  auto f = [](auto change) {
    Fichier x;
    change(x);
    return x;
  };
  const std::vector<Cas> cas{
      {"05", f([](Fichier&) {}), 2005, 0, 0, survey::SaisiePenteLongueur, false, 1.0},
      {"98", f([](Fichier& x) { x.annee = "98"; }), 1998, 0, 0, survey::SaisiePenteLongueur, false, 1.0},
      {"2012", f([](Fichier& x) { x.annee = "2012"; }), 2012, 0, 0, survey::SaisiePenteLongueur, false, 1.0},
      {"380", f([](Fichier& x) { x.codeP = "380"; }), 2005, 0, 0, survey::SaisieDenivLongueur, false, 1.0},
      {"370", f([](Fichier& x) { x.codeP = "370"; }), 2005, 0, 2, survey::SaisiePenteLongueur, false, 1.0},
      {"350", f([](Fichier& x) { x.codeAz = "350"; }), 2005, 0, 0, survey::SaisiePenteLongueur, true, 1.0},
      {"390", f([](Fichier& x) { x.codeAz = "390"; x.codeP = "400"; }), 2005, 1, 1, survey::SaisiePenteLongueur, true, 1.0},
      {"etalon 0", f([](Fichier& x) { x.etalon = "0"; }), 2005, 0, 0, survey::SaisiePenteLongueur, false, 1.0},
      {"etalon 98", f([](Fichier& x) { x.etalon = "98"; }), 2005, 0, 0, survey::SaisiePenteLongueur, false, 0.98},
  };
  for (const Cas& c : cas) {
    ReseauImport r;
    const std::string chemin = r.Dossier.Fichier("essai.tab");
    testsupport::EcritOctets(chemin, c.f.Texte());
    ASSERT_TRUE(r.Importe(chemin, formats::TypeImportTopoRobot)) << c.nom;
    TVisee* v = r.Visee("1-1", "1-2");
    ASSERT_NE(v, nullptr) << c.nom;
    const TLever* l = v->LeLever;
    int a, m, j;
    ASSERT_TRUE(foundation::DecodeDate(l->LaDate, a, m, j)) << c.nom;
    EXPECT_EQ(a, c.annee) << c.nom;
    EXPECT_EQ(m, 4) << c.nom;
    EXPECT_EQ(j, 3) << c.nom;
    EXPECT_DOUBLE_EQ(l->Declinaison, 2.5) << c.nom;
    EXPECT_EQ(l->UniteAZ, c.uniteAz) << c.nom;
    EXPECT_EQ(l->UniteP, c.uniteP) << c.nom;
    EXPECT_EQ(v->Typesaisie, c.typeSaisie) << c.nom;
    if (c.typeSaisie == survey::SaisieDenivLongueur)
      EXPECT_DOUBLE_EQ(v->Deniv, -5) << c.nom;
    else
      EXPECT_DOUBLE_EQ(v->pente, -5) << c.nom;
    EXPECT_EQ(v->InvAz, c.invAz) << c.nom;
    EXPECT_DOUBLE_EQ(l->EtalonL, c.etalon) << c.nom;
    // The target's dimensions and comment.
    TPointSpeleo* p = r.Station("1-1");
    EXPECT_DOUBLE_EQ(p->LargeurGA, 1);
    EXPECT_DOUBLE_EQ(p->LargeurDR, 2);
    EXPECT_DOUBLE_EQ(p->HauteurSup, 3);
    EXPECT_DOUBLE_EQ(p->HauteurInf, 4);
    EXPECT_EQ(p->Commentaire.Texte(), "premier");
  }
}

TEST(LecteurTopoRobot, SeriesEntreSeriesEtEntrees) {
  ReseauImport r;
  Fichier f;
  // Series 2 leaves from 1-1 and ends on 1-2; a second cave's entrance lies
  // on 2-0.
  f.suite = "2\t-1\t1\t1\t1\t2\t0\t0\t0\tSerie deux\r\n2\t0\t1\t1\t4\t180\t0\t0\t0\t0\t0\r\n"
            "2\t1\t1\t1\t3\t270\t0\t0\t0\t0\t0\r\n";
  f.cavites += "-6\t2\tAutre\r\n-5\t2\t150\t250\t350\t2\t0\tlà\r\n";
  const std::string chemin = r.Dossier.Fichier("essai.tab");
  testsupport::EcritOctets(chemin, f.Texte());
  ASSERT_TRUE(r.Importe(chemin, formats::TypeImportTopoRobot)) << ::testing::PrintToString(r.Dialogues.Messages());
  TVisee* debut = r.Visee("1-1", "2-0");
  ASSERT_NE(debut, nullptr);
  EXPECT_DOUBLE_EQ(debut->Long, 4);
  TVisee* fin = r.Visee("2-1", "1-2");
  ASSERT_NE(fin, nullptr);
  EXPECT_DOUBLE_EQ(fin->Long, 0);
  EXPECT_NE(r.Station("1-1")->Commentaire.Texte().find("Serie deux"), std::string::npos);
  // The second entrance: a surface point joined by a zero shot.
  TPointSpeleo* autre = r.PointSurface("Entrée Autre");
  ASSERT_NE(autre, nullptr);
  EXPECT_DOUBLE_EQ(autre->X, 150);
  ASSERT_NE(r.Visee("2-0", "Entrée Autre"), nullptr);
  EXPECT_NE(r.PointSurface("Entrée Essai"), nullptr);
}

// --- A series number given twice ------------------------------------------------------------

struct ViseeAttendue {
  std::string de, a;
  double L = 0, Az = 0, P = 0;
};

std::string Texte(const ViseeAttendue& v) {
  std::ostringstream o;
  o << std::fixed << std::setprecision(3) << v.de << " > " << v.a << " " << v.L << " " << v.Az << " " << v.P;
  return o.str();
}

// The cave's shots, sorted, the entrance surface point under its station's
// name and the zero shot that joins them left out.
std::vector<std::string> ViseesLues(ReseauImport& r, const std::string& surface, const std::string& entree) {
  std::vector<std::string> lues;
  for (TVisee* v : r.Cavite()->Visees) {
    std::string de = v->PointStation->DesignPTopo, a = v->PointVise->DesignPTopo;
    if ((de == surface && a == entree) || (de == entree && a == surface)) continue;
    if (de == surface) de = entree;
    if (a == surface) a = entree;
    lues.push_back(Texte({de, a, v->Long, v->Az, v->pente}));
  }
  std::sort(lues.begin(), lues.end());
  return lues;
}

// The shots as a Survex file, the entrance fixed, in degrees with the
// session's declination.
std::string SvxDesVisees(const std::vector<ViseeAttendue>& visees, const std::string& entree,
                         const std::array<double, 3>& fixe, double declinaison) {
  auto nom = [](std::string n) {
    std::replace(n.begin(), n.end(), '-', '_');
    return "s" + n;
  };
  std::ostringstream o;
  o.precision(12);
  o << "*begin\n*fix " << nom(entree) << " " << fixe[0] << " " << fixe[1] << " " << fixe[2] << "\n";
  o << "*declination " << declinaison << " degrees\n*data normal from to tape compass clino\n";
  for (const ViseeAttendue& v : visees)
    o << nom(v.de) << " " << nom(v.a) << " " << v.L << " " << v.Az << " " << v.P << "\n";
  o << "*end\n";
  return o.str();
}

// Series 1 given twice: again with its own header right after itself, again
// with its own header after series 2, or its points coming back after
// series 2 with no header.  One question names the series and the two
// lines; going on gives each part its series (a new header starts from its
// own start station, points without one go on from where the series
// stopped), checked shot by shot and, computed, against cavern; stopping
// leaves the document as it was and no file behind.
TEST(LecteurTopoRobot, SerieDonneeDeuxFois) {
  const std::string debut =
      "-6\t1\tEssai\r\n-5\t1\t100\t200\t300\t1\t0\tici\r\n-2\t1\t3\t4\t05\tA\tB\t0\t2.5\r\n"
      "-1\t1\t360\t360\t0\t0\t0\t100\t0\r\n";
  const std::string serieUn =
      "1\t-1\t1\t0\t1\t3\t0\t0\t0\tSerie un\r\n1\t0\t1\t1\t0\t0\t0\t0\t0\t0\t0\r\n"
      "1\t1\t1\t1\t9.77\t199.7\t-0.25\t0\t0\t0\t0\r\n1\t2\t1\t1\t7.22\t119.24\t-1.59\t0\t0\t0\t0\r\n";
  const std::string serieDeux =
      "2\t-1\t1\t1\t2\t1\t0\t0\t0\tSerie deux\r\n2\t0\t1\t1\t5\t180\t2\t0\t0\t0\t0\r\n"
      "2\t1\t1\t1\t6\t170\t-3\t0\t0\t0\t0\r\n";
  const std::string suite = "1\t3\t1\t1\t10.01\t93.29\t1.18\t0\t0\t0\t0\r\n1\t4\t1\t1\t4\t10\t0.5\t0\t0\t0\t0\r\n";
  struct Cas {
    const char* nom;
    std::string texte;
    const char* lignes;
    std::vector<ViseeAttendue> visees;
  };
  const std::vector<ViseeAttendue> un{{"1-0", "1-1", 9.77, 199.7, -0.25}, {"1-1", "1-2", 7.22, 119.24, -1.59}};
  const std::vector<ViseeAttendue> deux{{"1-1", "2-0", 5, 180, 2}, {"2-0", "2-1", 6, 170, -3}};
  auto plus = [](std::vector<ViseeAttendue> a, const std::vector<ViseeAttendue>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const std::vector<Cas> cas{
      // The same series copied with a second header: two chains side by
      // side, no shot from the first copy's end back to point 0.
      {"deuxieme en-tete", debut + serieUn + "\r\n" + serieUn, "série 1 : lignes 5 et 10", plus(un, un)},
      // Back after series 2 with a header leaving from 2-1.
      {"reprise avec en-tete", debut + serieUn + serieDeux + "1\t-1\t2\t1\t1\t4\t0\t0\t0\tSerie un bis\r\n" + suite,
       "série 1 : lignes 5 et 12",
       plus(plus(un, deux), {{"2-1", "1-3", 10.01, 93.29, 1.18}, {"1-3", "1-4", 4, 10, 0.5}})},
      // Back after series 2 with no header: on from 1-2.
      {"reprise sans en-tete", debut + serieUn + serieDeux + suite, "série 1 : lignes 5 et 12",
       plus(plus(un, deux), {{"1-2", "1-3", 10.01, 93.29, 1.18}, {"1-3", "1-4", 4, 10, 0.5}})},
  };
  for (const Cas& c : cas) {
    for (const bool poursuit : {true, false}) {
      ReseauImport r;
      formats::Import().CalculDecliAuto = false;
      const std::string chemin = r.Dossier.Fichier("essai.tab");
      testsupport::EcritOctets(chemin, c.texte);
      r.Dialogues.QueueAnswer(poursuit ? platform::Answer::Yes : platform::Answer::No);
      // The gallery dialog comes after the question, and only going on.
      std::vector<size_t> galeries;
      formats::FenetresImport().AfficheNommeGal = [&](formats::TNommeGalDlg&) {
        galeries.push_back(r.Dialogues.Log().size());
        return formats::ResultatNommeGal::Ok;
      };
      const bool ok = r.Importe(chemin, formats::TypeImportTopoRobot);
      EXPECT_EQ(galeries, poursuit ? std::vector<size_t>{1} : std::vector<size_t>{}) << c.nom;
      int questions = 0;
      for (const auto& e : r.Dialogues.Log()) {
        if (e.event != platform::ScriptedDialogs::Event::YesNo) continue;
        ++questions;
        EXPECT_EQ(e.text.rfind("essai.tab : ", 0), 0u) << c.nom << ": " << e.text;
        EXPECT_NE(e.text.find(c.lignes), std::string::npos) << c.nom << ": " << e.text;
      }
      EXPECT_EQ(questions, 1) << c.nom;
      EXPECT_TRUE(r.Dialogues.Messages().empty()) << c.nom << ::testing::PrintToString(r.Dialogues.Messages());
      if (!poursuit) {
        EXPECT_FALSE(ok) << c.nom;
        EXPECT_EQ(r.R().Cavites.Count(), 1) << c.nom;
        EXPECT_EQ(r.R().LesPointsSurface()->Count(), 0) << c.nom;
        EXPECT_EQ(r.R().ListeOperateurs.Count(), 0) << c.nom;
        std::vector<std::string> fichiers;
        for (const auto& f : std::filesystem::directory_iterator(r.Dossier.Chemin()))
          fichiers.push_back(f.path().filename().string());
        EXPECT_EQ(fichiers, std::vector<std::string>{"essai.tab"}) << c.nom;
        EXPECT_EQ(testsupport::LitOctets(chemin), c.texte) << c.nom;
        continue;
      }
      ASSERT_TRUE(ok) << c.nom;
      std::vector<std::string> attendues;
      for (const ViseeAttendue& v : c.visees) attendues.push_back(Texte(v));
      std::sort(attendues.begin(), attendues.end());
      EXPECT_EQ(ViseesLues(r, "Entrée Essai", "1-0"), attendues) << c.nom;
      if (!CavernPresent()) continue;
      r.R().CalculeReseau();
      std::string erreur;
      const auto survex =
          PositionsSurvex(SvxDesVisees(c.visees, "1-0", {100, 200, 300}, 2.5), r.Dossier.Chemin(), erreur);
      ASSERT_TRUE(erreur.empty()) << erreur;
      int comparees = 0;
      for (TGalerie* g : r.Cavite()->Galeries)
        for (TPointSpeleo* p : g->Points) {
          std::string n = p->DesignPTopo;
          std::replace(n.begin(), n.end(), '-', '_');
          const auto s = survex.find("s" + n);
          ASSERT_NE(s, survex.end()) << c.nom << " " << p->DesignPTopo;
          EXPECT_NEAR(p->X, s->second[0], 0.005) << c.nom << " " << p->DesignPTopo;
          EXPECT_NEAR(p->Y, s->second[1], 0.005) << c.nom << " " << p->DesignPTopo;
          EXPECT_NEAR(p->Z, s->second[2], 0.005) << c.nom << " " << p->DesignPTopo;
          ++comparees;
        }
      EXPECT_GE(comparees, 3) << c.nom;
    }
  }
}

TEST(LecteurTopoRobot, ChoixAnnuleOuVide) {
  for (bool ok : {false, true}) {
    ReseauImport r;
    Fichier f;
    f.cavites += "-6\t2\tAutre\r\n-5\t2\t150\t250\t350\t1\t2\t\r\n";
    formats::FenetresImport().AfficheChoixCavTpRb = [ok](formats::TTpRbChoixCavDlg& d) {
      EXPECT_EQ(d.Cavites.size(), 2u);
      return ok;  // nothing checked
    };
    const std::string chemin = r.Dossier.Fichier("essai.tab");
    testsupport::EcritOctets(chemin, f.Texte());
    EXPECT_FALSE(r.Importe(chemin, formats::TypeImportTopoRobot));
    EXPECT_EQ(r.R().Cavites.Count(), 1);
    // "Annuler" says nothing here (the window says the import was
    // abandoned); OK with no cave ticked chose nothing: it says so, as
    // information, and the window adds no error.
    EXPECT_EQ(formats::Import().AbandonChoisi, ok);
    if (!ok) {
      EXPECT_TRUE(r.Dialogues.Messages().empty()) << ::testing::PrintToString(r.Dialogues.Messages());
      continue;
    }
    ASSERT_EQ(r.Dialogues.Log().size(), 1u);
    EXPECT_EQ(r.Dialogues.Log()[0].kind, platform::MessageKind::Information);
    EXPECT_EQ(r.Dialogues.Log()[0].text, "Aucune cavité n'a été choisie");
  }
}

// A session or code that names no line, or a reading no instrument gives:
// the message names the line, nothing changes.
TEST(LecteurTopoRobot, LignesFautivesNommees) {
  struct Cas {
    const char* ligne;
    const char* attendu;
  };
  for (const Cas& c : {Cas{"1\t3\t1\t7\t5\t0\t0\t0\t0\t0\t0\r\n", "série 1 point 3 : la session 7 "},
                       Cas{"1\t3\t9\t1\t5\t0\t0\t0\t0\t0\t0\r\n", "série 1 point 3 : le code 9 "},
                       Cas{"1\t3\t1\t1\t1e308\t0\t0\t0\t0\t0\t0\r\n", "essai.tab, ligne 9 : longueur impossible (1e308)."},
                       Cas{"1\t3\t1\t1\t5\t0\t0\t0\t0\t0\t20000\r\n", "ligne 9 : dimension de la galerie impossible (20000)."}}) {
    ReseauImport r;
    Fichier f;
    f.suite = c.ligne;
    const std::string chemin = r.Dossier.Fichier("essai.tab");
    testsupport::EcritOctets(chemin, f.Texte());
    EXPECT_FALSE(r.Importe(chemin, formats::TypeImportTopoRobot));
    const auto m = r.Dialogues.Messages();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_NE(m[0].find(c.attendu), std::string::npos) << m[0];
    EXPECT_EQ(r.R().Cavites.Count(), 1);
    EXPECT_EQ(r.R().LesPointsSurface()->Count(), 0);
    EXPECT_EQ(r.R().ListeOperateurs.Count(), 0);
  }
}

TEST(LecteurTopoRobot, SansNomLaCaviteTientSonNomDuFichierEtUtf8) {
  ReseauImport r;
  Fichier f;
  f.cavites = "-6\t1\t\r\n-5\t1\t100\t200\t300\t1\t0\tentrée\r\n";
  const std::string chemin = r.Dossier.Fichier("Trou été.xtb");
  testsupport::EcritOctets(chemin, f.Texte());  // UTF-8 bytes
  ASSERT_TRUE(r.Importe(chemin, formats::TypeImportTopoRobot)) << ::testing::PrintToString(r.Dialogues.Messages());
  EXPECT_EQ(r.Cavite()->NomCavite, "Trou été");
  TPointSpeleo* s = r.PointSurface("Entrée Trou été");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Commentaire.Texte(), "entrée");
}

TEST(LecteurTopoRobot, LignesEtValeurs) {
  formats::LigneTopoRobot l;
  EXPECT_TRUE(formats::LitLigneTopoRobot("  12\t3\t1\t2\t10.5\t20", l));
  EXPECT_EQ(l.Code, 12);
  EXPECT_EQ(l.Second, 3);
  EXPECT_EQ(l.Troisieme, 1);
  EXPECT_EQ(l.Quatrieme, 2);
  EXPECT_EQ(l.Texte, "10.5\t20");
  EXPECT_FALSE(formats::LitLigneTopoRobot("#1\t3\t1\t2", l));
  EXPECT_FALSE(formats::LitLigneTopoRobot("1.5\t3", l));
  EXPECT_FALSE(formats::LitLigneTopoRobot("", l));
  const formats::ValeursTopoRobot v = formats::LitValeursTopoRobot("1\t2\tx\t4\t5\t6\t7\t\t\t0");
  EXPECT_EQ(v.V[2], 0);
  EXPECT_EQ(v.V[6], 7);
  EXPECT_EQ(v.Texte, "");
  EXPECT_EQ(formats::LitValeursTopoRobot("1\t2\t3\t4\t5\t6\t7\tnom\t\t1\t1.02").Texte, "nom");
  EXPECT_EQ(formats::AnneeTopoRobot(49), 2049);
  EXPECT_EQ(formats::AnneeTopoRobot(50), 1950);
  EXPECT_EQ(formats::AnneeTopoRobot(100), 100);
}

// Cut at every byte: never a crash; each cut imports what it holds or
// changes nothing.
TEST(LecteurTopoRobot, FichierCoupeAChaqueOctet) {
  const std::string octets = testsupport::LitOctets(kDossier + "Grotte du Bison_01.Tab");
  for (size_t n = 0; n <= octets.size(); ++n) {
    ReseauImport r;
    const std::string chemin = r.Dossier.Fichier("coupe.tab");
    testsupport::EcritOctets(chemin, octets.substr(0, n));
    if (r.Importe(chemin, formats::TypeImportTopoRobot)) {
      EXPECT_EQ(r.R().Cavites.Count(), 2) << n;
      EXPECT_GT(r.Cavite()->Visees.Count(), 0) << n;
    } else {
      EXPECT_EQ(r.R().Cavites.Count(), 1) << n;
      EXPECT_EQ(r.R().LesPointsSurface()->Count(), 0) << n;
      EXPECT_EQ(r.R().ListeOperateurs.Count(), 0) << n;
    }
  }
}

}  // namespace
}  // namespace testformats
