// The PocketTopo sketches: the text export read beside a Therion
// centreline (hand-written files and the Therion sample's Demo.txt), the
// drawings of ".top" files built here from the record tables and of the real
// test1.top, counted by a walk of its bytes written here.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <sstream>

#include "drawing/annexe_cavite.h"
#include "drawing/croquis.h"
#include "drawing/donnees_coupe_long.h"
#include "formats/import/galeries_import.h"
#include "formats/import/pockettopo/lecteur_pockettopo.h"
#include "foundation/flux.h"
#include "foundation/utilitaires.h"
#include "survey/lever.h"
#include "tests/formats/import_test_support.h"
#include "tests/survey/survex_oracle.h"

namespace testformats {
namespace {

const std::string kPocketTopo = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/pockettopo/";
const std::string kTherion = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/therion/";
const char* kAucuneLigne = "il n'y a aucune ligne à importer. Vérifiez la structure du fichier ";

drawing::TDessinPkTp* Croquis(const TCavite* c) {
  drawing::TAnnexeDessinCavite* a = drawing::AnnexeDessin(c);
  return a && a->DessinsPkTp.Count() == 1 ? a->DessinsPkTp.First() : nullptr;
}

struct Compte {
  int lignes = 0, points = 0;
  std::map<int, int> couleurs;
};
Compte Compter(const drawing::TListeDonneesDessin& d) {
  Compte c;
  for (const drawing::TObjetDonneesBasique* l : d.LesMultiPoints) {
    ++c.lignes;
    c.points += l->Points.Count();
    ++c.couleurs[l->CouleurPkTp];
  }
  return c;
}
Compte Compter(const drawing::TListeDonneesDessin& d, const drawing::TListeElements<drawing::TCoupePkTp>& coupes) {
  Compte c = Compter(d);
  for (const drawing::TCoupePkTp* s : coupes) {
    const Compte k = Compter(*s);
    c.lignes += k.lignes;
    c.points += k.points;
    for (auto [couleur, n] : k.couleurs) c.couleurs[couleur] += n;
  }
  return c;
}

// --- The text export beside a Therion centreline ------------------------------------------

// 1 -> 2 10 m north, 2 -> 3 10 m east, a splay east at 2.
const char* kTh =
    "survey s\n centerline\n data normal from to length compass clino\n"
    " 1 2 10 0 0\n 2 3 10 90 0\n 2 - 1 90 0\n endcenterline\nendsurvey\n";

std::string Texte(const std::string& stationsPlan, const std::string& suite = "",
                  const std::string& trip = "TRIP\nDATE 2020-01-02\nDECLINATION     0.00\n") {
  return trip +
         "DATA\n1\t2\t0.00\t0.00\t10.000\t>\n2\t3\t90.00\t0.00\t10.000\t>\n2\t\t90.00\t0.00\t1.000\t>\n"
         "PLAN\nSTATIONS\n" +
         stationsPlan + "SHOTS\n0.000\t0.000\t0.000\t10.000\n0.000\t10.000\t10.000\t10.000\n" + suite;
}
const char* kStations = "0.000\t0.000\t1\n0.000\t10.000\t2\n10.000\t10.000\t3\n";

// Imports s.th with s.txt (the name in another case) as an Auriga export.
bool ImporteAuriga(ReseauImport& r, const std::string& txt, const std::string& nomTxt = "S.TXT") {
  testsupport::EcritOctets(r.Dossier.Fichier("s.th"), kTh);
  testsupport::EcritOctets(r.Dossier.Fichier(nomTxt), txt);
  return r.Importe(r.Dossier.Fichier("s.th"), formats::TypeImportAuriga);
}

struct GardeAnnexe {
  GardeAnnexe() { drawing::InstalleAnnexeDessin(); }
};

TEST(CroquisTexte, PolylignesEtCoupes) {
  GardeAnnexe annexe;
  struct Cas {
    const char* quoi;
    std::string stations, suite;
    int lignesPlan, coupes, lignesCoupes;
  } cas[] = {
      {"une ligne noire", kStations, "POLYLINE BLACK\n1.000\t1.000\n1.000\t5.000\n", 1, 0, 0},
      {"CONNECT n'ajoute rien", kStations,
       "POLYLINE CONNECT\n1.000\t1.000\n1.000\t5.000\nPOLYLINE RED\n2.000\t2.000\n2.000\t3.000\n", 1, 0, 0},
      {"station deux fois: une coupe", std::string(kStations) + "30.000\t30.000\t2\n", "", 0, 1, 0},
      {"trois fois: deux coupes", std::string(kStations) + "30.000\t30.000\t2\n40.000\t40.000\t2\n", "", 0, 2, 0},
      // The splay lines drawn from the section's position widen its envelope;
      // a polyline with a point inside joins the section.
      {"ligne dans l'enveloppe", std::string(kStations) + "30.000\t30.000\t2\n",
       "30.000\t30.000\t31.000\t30.000\n30.000\t30.000\t29.000\t31.000\nPOLYLINE BLUE\n30.200\t30.500\n35.000\t35.000\n"
       "POLYLINE BLUE\n1.000\t1.000\n1.000\t5.000\n",
       1, 1, 1},
  };
  for (const Cas& k : cas) {
    ReseauImport r;
    // The section's splay lines are "SHOTS" lines: put them before the polylines.
    std::string suite = k.suite;
    std::string txt;
    const size_t poly = suite.find("POLYLINE");
    const std::string shots = poly == std::string::npos ? suite : suite.substr(0, poly);
    const std::string polys = poly == std::string::npos ? std::string() : suite.substr(poly);
    txt = Texte(k.stations, shots + polys);
    ASSERT_TRUE(ImporteAuriga(r, txt)) << k.quoi;
    const drawing::TDessinPkTp* d = Croquis(r.Cavite());
    ASSERT_NE(d, nullptr) << k.quoi;
    EXPECT_EQ(d->pktpDessinPlani.LesMultiPoints.Count(), k.lignesPlan) << k.quoi;
    ASSERT_EQ(d->pktpCoupesPlani.Count(), k.coupes) << k.quoi;
    int lignesCoupes = 0;
    for (const drawing::TCoupePkTp* c : d->pktpCoupesPlani) {
      lignesCoupes += c->LesMultiPoints.Count();
      ASSERT_NE(c->StationRef, nullptr);
      EXPECT_EQ(c->StationRef->DesignPTopo, "2") << k.quoi;
      EXPECT_TRUE(c->CoupePkTpPlani);
    }
    EXPECT_EQ(lignesCoupes, k.lignesCoupes) << k.quoi;
    for (const drawing::TObjetDonneesBasique* l : d->pktpDessinPlani.LesMultiPoints) {
      EXPECT_GE(l->CouleurPkTp, 1);
      for (const drawing::TPointDessin* p : l->Points) EXPECT_NE(p->VisRefDessin, nullptr) << k.quoi;
    }
  }
}

TEST(CroquisTexte, CouleursEtDirections) {
  GardeAnnexe annexe;
  ReseauImport r;
  const std::string polys =
      "POLYLINE GREEN\n1\t1\n1\t2\nPOLYLINE ORANGE\n1\t1\n1\t2\nPOLYLINE MAUVE\n1\t1\n1\t2\n"
      // The elevation: 1 -> 2 drawn level forwards, 2 -> 3 backwards.
      "ELEVATION\nSTATIONS\n0.000\t0.000\t1\n10.000\t0.000\t2\n0.000\t0.000\t3\nSHOTS\n0.000\t0.000\t10.000\t0.000\n"
      "10.000\t0.000\t0.000\t0.000\nPOLYLINE BLACK\n1\t0.5\n2\t0.5\n";
  ASSERT_TRUE(ImporteAuriga(r, Texte(kStations, polys)));
  const drawing::TDessinPkTp* d = Croquis(r.Cavite());
  ASSERT_NE(d, nullptr);
  std::vector<int> couleurs;
  for (const drawing::TObjetDonneesBasique* l : d->pktpDessinPlani.LesMultiPoints) couleurs.push_back(l->CouleurPkTp);
  // An unknown colour word draws in black.
  EXPECT_EQ(couleurs, (std::vector<int>{7, 6, 1}));
  EXPECT_EQ(d->pktpDessinAltiOr.LesMultiPoints.Count(), 1);
  EXPECT_EQ(r.Visee("1", "2")->SensDessinCoupeOr, 2);
  EXPECT_EQ(r.Visee("2", "3")->SensDessinCoupeOr, -2);
  EXPECT_TRUE(r.Cavite()->Visees.AccrocheToutesVisees);
}

TEST(CroquisTexte, SansViseeOuIllisible) {
  GardeAnnexe annexe;
  // No shot in the sketch file (also PocketTopo's fixed-width layout): no
  // sketch, the cave is imported.
  for (const std::string& txt : {std::string(""), std::string("PLAN\nSTATIONS\n0\t0\t1\n"),
                                 testsupport::LitOctets(kPocketTopo + "tahoma.txt")}) {
    ReseauImport r;
    ASSERT_TRUE(ImporteAuriga(r, txt));
    EXPECT_EQ(drawing::AnnexeDessin(r.Cavite())->DessinsPkTp.Count(), 0);
  }
  // A declination or a shot before any date, a station or point that is not
  // a number: the import fails with the message, the network as it was.
  const struct {
    const char* quoi;
    std::string txt;
  } illisibles[] = {
      {"déclinaison", Texte(kStations, "", "TRIP\nDECLINATION 1.0\nDATE 2020-01-02\n")},
      {"visée sans date", Texte(kStations, "", "")},
      {"station", Texte("0.000\tabc\t1\n")},
      {"point", Texte(kStations, "POLYLINE BLACK\n1.0\t1.0\nx\t2\n")},
  };
  for (const auto& k : illisibles) {
    ReseauImport r;
    r.Dialogues.Clear();
    EXPECT_FALSE(ImporteAuriga(r, k.txt, "s.txt")) << k.quoi;
    EXPECT_EQ(r.R().Cavites.Count(), 1) << k.quoi;
    EXPECT_EQ(r.R().ListeInstruments.Count(), 0) << k.quoi;
    const auto messages = r.Dialogues.Messages();
    ASSERT_EQ(messages.size(), 1u) << k.quoi;
    EXPECT_EQ(messages.back(), kAucuneLigne + r.Dossier.Fichier("s.txt")) << k.quoi;
  }
}

TEST(CroquisTexte, ViseeALEnversNonAppariee) {
  GardeAnnexe annexe;
  ReseauImport r;
  testsupport::EcritOctets(r.Dossier.Fichier("s.th"), kTh);
  ASSERT_TRUE(r.Importe(r.Dossier.Fichier("s.th"), formats::TypeImportTopoDroid));
  formats::tImportPocketTopo lecteur(&r.R());
  lecteur.ACavite = r.R().Cavites.Extract(r.R().Cavites.Count() - 1);
  lecteur.LignesFichier = foundation::DecoupeLignes(
      "TRIP\nDATE 2020-01-02\nDATA\n2\t1\t180.00\t0.00\t10.000\n2\t3\t90.00\t0.00\t10.000\n"
      "PLAN\nSTATIONS\n0\t0\t1\nSHOTS\n0\t0\t0\t10\n");
  ASSERT_TRUE(lecteur.TraiteLignes());
  ASSERT_EQ(lecteur.ViseesImportes.size(), 2u);
  EXPECT_EQ(lecteur.ViseesImportes[0]->ViseeCor, nullptr);
  TVisee* v23 = nullptr;
  for (TVisee* v : lecteur.ACavite->Visees)
    if (v->PointStation->DesignPTopo == "2" && v->PointVise->DesignPTopo == "3") v23 = v;
  ASSERT_NE(v23, nullptr);
  EXPECT_EQ(lecteur.ViseesImportes[1]->ViseeCor, v23);
  r.R().Cavites.Add(std::move(lecteur.ACavite));
}

// Demo.txt beside demo.th, as Auriga exports them.
struct LigneDemo {
  int couleur = 0;
  std::vector<std::pair<double, double>> points;
};
std::map<std::string, std::vector<LigneDemo>> LitDemo(const std::string& texte) {
  std::map<std::string, std::vector<LigneDemo>> r;
  std::istringstream in(texte);
  std::string ligne, dessin, partie;
  while (std::getline(in, ligne)) {
    if (ligne == "PLAN" || ligne == "ELEVATION") {
      dessin = ligne;
      partie.clear();
      continue;
    }
    if (ligne == "STATIONS" || ligne == "SHOTS") partie = ligne;
    if (ligne.rfind("POLYLINE ", 0) == 0) {
      partie = "POLYLINE";
      r[dessin].push_back({ligne == "POLYLINE BLUE" ? 4 : 1, {}});
    } else if (partie == "POLYLINE" && !dessin.empty() && !ligne.empty()) {
      std::istringstream n(ligne);
      double x, y;
      n >> x >> y;
      r[dessin].back().points.push_back({x, y});
    }
  }
  return r;
}

TEST(CroquisTexte, DemoAuriga) {
  GardeAnnexe annexe;
  ReseauImport r;
  testsupport::EcritOctets(r.Dossier.Fichier("demo.th"), testsupport::LitOctets(kTherion + "demo.th"));
  const std::string txt = testsupport::LitOctets(kPocketTopo + "Demo.txt");
  testsupport::EcritOctets(r.Dossier.Fichier("Demo.txt"), txt);
  ASSERT_TRUE(r.Importe(r.Dossier.Fichier("demo.th"), formats::TypeImportAuriga));
  const drawing::TDessinPkTp* d = Croquis(r.Cavite());
  ASSERT_NE(d, nullptr);
  const auto lu = LitDemo(txt);
  Compte plan = Compter(d->pktpDessinPlani), alti = Compter(d->pktpDessinAltiOr);
  EXPECT_EQ(plan.lignes, 253);
  EXPECT_EQ(plan.points, 2374);
  EXPECT_EQ(plan.couleurs, (std::map<int, int>{{1, 249}, {4, 4}}));
  EXPECT_EQ(alti.lignes, 146);
  EXPECT_EQ(alti.points, 1820);
  EXPECT_EQ(alti.couleurs, (std::map<int, int>{{1, 141}, {4, 5}}));
  EXPECT_EQ(lu.at("PLAN").size(), 253u);
  EXPECT_EQ(lu.at("ELEVATION").size(), 146u);
  EXPECT_EQ(d->pktpCoupesPlani.Count() + d->pktpCoupesAlti.Count(), 0);
  // Therion's own conversion of the same sketch (Demo_p.xvi, Demo_e.xvi):
  // its sketch lines "{colour x y x y ...}".
  for (const auto& [fichier, attendu] : {std::pair{"Demo_p.xvi", plan}, std::pair{"Demo_e.xvi", alti}}) {
    const std::string xvi = testsupport::LitOctets(kTherion + fichier);
    Compte c;
    for (size_t i = 0; (i = xvi.find('{', i)) != std::string::npos; ++i) {
      const size_t fin = xvi.find('}', i);
      std::istringstream in(xvi.substr(i + 1, fin - i - 1));
      std::string couleur;
      in >> couleur;
      if (couleur != "black" && couleur != "blue") continue;
      ++c.lignes;
      ++c.couleurs[couleur == "blue" ? 4 : 1];
      int nombres = 0;
      for (double v; in >> v;) ++nombres;
      c.points += nombres / 2;
    }
    EXPECT_EQ(c.lignes, attendu.lignes) << fichier;
    EXPECT_EQ(c.points, attendu.points) << fichier;
    EXPECT_EQ(c.couleurs, attendu.couleurs) << fichier;
  }
  // Computed, the plan follows the file's positions from the fixed station.
  r.R().CalculeReseau();
  r.Cavite()->CalculeDessinPlani();
  // The computation drops the one-point lines.
  std::vector<LigneDemo> lignes;
  for (const LigneDemo& l : lu.at("PLAN"))
    if (l.points.size() > 1) lignes.push_back(l);
  ASSERT_EQ(static_cast<size_t>(d->pktpDessinPlani.LesMultiPoints.Count()), lignes.size());
  double ecart = 0;
  for (int i = 0; i < d->pktpDessinPlani.LesMultiPoints.Count(); ++i) {
    const drawing::TObjetDonneesBasique* l = d->pktpDessinPlani.LesMultiPoints.UnObjet(i);
    ASSERT_EQ(static_cast<size_t>(l->Points.Count()), lignes[static_cast<size_t>(i)].points.size()) << i;
    for (int j = 0; j < l->Points.Count(); ++j) {
      const auto [x, y] = lignes[static_cast<size_t>(i)].points[static_cast<size_t>(j)];
      const drawing::TPointDessin* p = l->Points.UnObjet(j);
      ecart = std::max({ecart, std::fabs(p->Xhab - (600123.0 + x)), std::fabs(p->Yhab - (200456.0 + y))});
    }
  }
  EXPECT_LT(ecart, 0.1);
  // The shot directions develop the oriented elevation as the file's does.
  drawing::CalculeDessinCoupeLong(*drawing::AnnexeDessin(r.Cavite())->LeDessinAltiOr);
  std::istringstream in(txt.substr(txt.find("ELEVATION\nSTATIONS\n") + 19));
  std::string ligne;
  int stations = 0;
  double ecartAlti = 0;
  const TPointSpeleo* e = r.Cavite()->LEntree();
  while (std::getline(in, ligne) && ligne != "SHOTS") {
    std::istringstream n(ligne);
    double slh, z;
    std::string nom;
    n >> slh >> z >> nom;
    const TPointSpeleo* p = nom == e->DesignPTopo ? e : r.Station(nom);
    ASSERT_NE(p, nullptr) << nom;
    ecartAlti = std::max({ecartAlti, std::fabs(p->Slh - e->Slh - slh), std::fabs(p->Z - (777.77 + z))});
    ++stations;
  }
  EXPECT_GT(stations, 5);
  EXPECT_LT(ecartAlti, 0.03);
}

// --- ".top" files built from the record tables ----------------------------------------------

class Octets {
 public:
  template <class T>
  Octets& N(T v) {
    o.append(reinterpret_cast<const char*>(&v), sizeof v);
    return *this;
  }
  std::string o;
};

constexpr uint32_t Id(uint32_t n) { return 0x80000001u + n; }
constexpr uint32_t SansStation = 0x80000000u;

struct ViseeTop {
  uint32_t de, a;
  int32_t mm;
  double az, p;
  uint8_t drapeaux = 0;
};
struct PolyTop {
  std::vector<std::pair<double, double>> points;  // metres, Y upwards
  uint8_t couleur = 1;
};
struct CoupeTop {
  double x, y;
  uint32_t station;
};

void Dessin(Octets& b, const std::vector<PolyTop>& polys, const std::vector<CoupeTop>& coupes) {
  b.N<int32_t>(0).N<int32_t>(0).N<int32_t>(0);
  for (const PolyTop& p : polys) {
    b.N<uint8_t>(1).N<int32_t>(static_cast<int32_t>(p.points.size()));
    for (auto [x, y] : p.points)
      b.N<int32_t>(static_cast<int32_t>(std::lround(x * 1000))).N<int32_t>(static_cast<int32_t>(std::lround(-y * 1000)));
    b.N<uint8_t>(p.couleur);
  }
  for (const CoupeTop& c : coupes)
    b.N<uint8_t>(3)
        .N<int32_t>(static_cast<int32_t>(std::lround(c.x * 1000)))
        .N<int32_t>(static_cast<int32_t>(std::lround(-c.y * 1000)))
        .N<uint32_t>(c.station)
        .N<int32_t>(0);
  b.N<uint8_t>(0);
}

std::string FichierTop(const std::vector<ViseeTop>& visees, const std::vector<PolyTop>& plan,
                       const std::vector<CoupeTop>& coupes, const std::vector<PolyTop>& alti = {}) {
  Octets b;
  b.o = "Top";
  b.N<uint8_t>(3).N<int32_t>(1).N<int64_t>(637159392000000000).N<uint8_t>(0).N<uint16_t>(0);
  b.N<int32_t>(static_cast<int32_t>(visees.size()));
  for (const ViseeTop& v : visees)
    b.N<uint32_t>(v.de)
        .N<uint32_t>(v.a)
        .N<int32_t>(v.mm)
        .N<uint16_t>(static_cast<uint16_t>(std::lround(v.az * 65536 / 360)))
        .N<uint16_t>(static_cast<uint16_t>(std::lround(std::fmod(v.p + 360, 360) * 65536 / 360)))
        .N<uint8_t>(v.drapeaux)
        .N<uint8_t>(0)
        .N<int16_t>(0);
  b.N<int32_t>(0);
  b.N<int32_t>(0).N<int32_t>(0).N<int32_t>(0);
  Dessin(b, plan, coupes);
  Dessin(b, alti, {});
  return b.o;
}

// 0 -> 1 10 m north, 1 -> 2 10 m east, a splay east at 1.
const std::vector<ViseeTop> kVisees = {
    {Id(0), Id(1), 10000, 0, 0}, {Id(1), Id(2), 10000, 90, 0}, {Id(1), SansStation, 1000, 90, 0}};

bool ImporteTop(ReseauImport& r, const std::string& octets) {
  const std::string chemin = r.Dossier.Fichier("essai.top");
  testsupport::EcritOctets(chemin, octets);
  return r.Importe(chemin, formats::TypeImportPocketTopo);
}

TEST(CroquisTop, CouleursCoupesEtRegle) {
  GardeAnnexe annexe;
  {
    ReseauImport r;
    ASSERT_TRUE(ImporteTop(r, FichierTop(kVisees, {{{{1, 1}, {1, 5}}, 6}, {{{1, 1}, {1, 5}}, 7}, {{{1, 1}, {1, 5}}, 9}}, {})));
    const drawing::TDessinPkTp* d = Croquis(r.Cavite());
    ASSERT_NE(d, nullptr);
    std::vector<int> couleurs;
    for (const drawing::TObjetDonneesBasique* l : d->pktpDessinPlani.LesMultiPoints) {
      couleurs.push_back(l->CouleurPkTp);
      EXPECT_EQ(l->Points.Count(), 2);
    }
    EXPECT_EQ(couleurs, (std::vector<int>{7, 6, 1}));
  }
  // A section at 1 (a splay was measured there) far east at (30, 10); at 0
  // (no splay) none.  A polyline of 5 points: those near (30, 10) are nearer
  // the section than their shot, those at x = 0.5 are not.
  const struct {
    int pres;
    bool dansCoupe;
  } cas[] = {{5, true}, {4, true}, {3, false}};
  for (const auto& k : cas) {
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i < 5; ++i) points.push_back(i < k.pres ? std::make_pair(30.0 + 0.1 * i, 10.5) : std::make_pair(0.5, 5.0));
    ReseauImport r;
    ASSERT_TRUE(ImporteTop(r, FichierTop(kVisees, {{points, 3}}, {{30, 10, Id(1)}, {50, 0, Id(0)}})));
    const drawing::TDessinPkTp* d = Croquis(r.Cavite());
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->pktpCoupesPlani.Count(), 1) << k.pres;
    const drawing::TCoupePkTp* c = d->pktpCoupesPlani.First();
    EXPECT_EQ(c->StationRef, r.Station("1"));
    EXPECT_EQ(c->LesMultiPoints.Count(), k.dansCoupe ? 1 : 0) << k.pres;
    EXPECT_EQ(d->pktpDessinPlani.LesMultiPoints.Count(), k.dansCoupe ? 0 : 1) << k.pres;
    if (k.dansCoupe)
      for (const drawing::TPointDessin* p : c->LesMultiPoints.First()->Points) EXPECT_EQ(p->VisRefDessin, nullptr);
  }
}

TEST(CroquisTop, ViseeInversee) {
  GardeAnnexe annexe;
  // 1 -> 2 climbs 30 degrees; flagged "drawn reversed" it develops
  // backwards, its target drawn at 10 - 8.66 m: the point drawn there takes
  // it as reference shot, while forwards the point is nearer station 0.
  for (const bool inverse : {false, true}) {
    std::vector<ViseeTop> visees = kVisees;
    visees[1].drapeaux = inverse ? 1 : 0;
    visees[1].p = 30;
    ReseauImport r;
    ASSERT_TRUE(ImporteTop(r, FichierTop(visees, {}, {}, {{{{1.5, 5.2}, {1.4, 5.1}}, 1}})));
    EXPECT_EQ(r.Visee("0", "1")->SensDessinCoupeOr, 2);
    EXPECT_EQ(r.Visee("1", "2")->SensDessinCoupeOr, inverse ? -2 : 2);
    const drawing::TDessinPkTp* d = Croquis(r.Cavite());
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->pktpDessinAltiOr.LesMultiPoints.Count(), 1);
    for (const drawing::TPointDessin* p : d->pktpDessinAltiOr.LesMultiPoints.First()->Points)
      EXPECT_EQ(p->VisRefDessin, inverse ? r.Visee("1", "2") : r.Visee("0", "1")) << inverse;
  }
}

// --- test1.top ----------------------------------------------------------------------------------

// An independent walk of test1.top's drawings.
struct DessinLu {
  int polylignes = 0, points = 0;
  std::map<int, int> couleurs;
  std::vector<std::string> coupes;
  std::vector<std::vector<std::pair<double, double>>> lignes;
};
struct Walk {
  const std::string& o;
  size_t i = 4;
  template <class T>
  T Lit() {
    T v;
    std::memcpy(&v, o.data() + i, sizeof v);
    i += sizeof v;
    return v;
  }
  void Chaine() {
    size_t n = static_cast<uint8_t>(o[i++]);
    if (n >= 128) n = (n - 128) + 128 * static_cast<uint8_t>(o[i++]);
    i += n;
  }
  std::string Id() {
    const auto v = Lit<uint32_t>();
    if (v == 0x80000000u) return "";
    if (v > 0x80000000u) return std::to_string(v - 0x80000001u);
    return std::to_string(v >> 16) + "." + std::to_string(v & 0xFFFF);
  }
  void Dessin(DessinLu& d) {
    i += 12;
    for (uint8_t id; (id = Lit<uint8_t>()) != 0;) {
      if (id == 1) {
        const auto n = Lit<int32_t>();
        std::vector<std::pair<double, double>> l;
        for (int32_t k = 0; k < n; ++k) {
          const auto x = Lit<int32_t>();
          const auto y = Lit<int32_t>();
          l.push_back({x / 1000.0, -y / 1000.0});
        }
        d.lignes.push_back(l);
        ++d.polylignes;
        d.points += n;
        ++d.couleurs[Lit<uint8_t>()];
      } else if (id == 3) {
        i += 8;
        d.coupes.push_back(Id());
        i += 4;
      }
    }
  }
};
struct Test1 {
  DessinLu plan, alti;
  double decli = 0;
};
Test1 LitTest1(const std::string& o) {
  Test1 t;
  Walk w{o};
  for (int32_t n = w.Lit<int32_t>(); n > 0; --n) {
    w.Lit<int64_t>();
    w.Chaine();
    t.decli = w.Lit<uint16_t>() * 360.0 / 65536;
  }
  for (int32_t n = w.Lit<int32_t>(); n > 0; --n) {
    w.Id();
    w.Id();
    w.i += 4 + 2 + 2;
    const auto drapeaux = w.Lit<uint8_t>();
    w.i += 3;
    if (drapeaux & 2) w.Chaine();
  }
  for (int32_t n = w.Lit<int32_t>(); n > 0; --n) {
    w.Id();
    w.i += 8 + 8 + 4;
    w.Chaine();
  }
  w.i += 12;
  w.Dessin(t.plan);
  w.Dessin(t.alti);
  return t;
}

void VerifieTest1(const drawing::TDessinPkTp& d) {
  const Compte plan = Compter(d.pktpDessinPlani, d.pktpCoupesPlani);
  EXPECT_EQ(plan.lignes, 114);
  EXPECT_EQ(plan.points, 674);
  EXPECT_EQ(plan.couleurs, (std::map<int, int>{{1, 8}, {3, 104}, {4, 1}, {6, 1}}));
  ASSERT_EQ(d.pktpCoupesPlani.Count(), 2);
  ASSERT_NE(d.pktpCoupesPlani.UnObjet(0)->StationRef, nullptr);
  ASSERT_NE(d.pktpCoupesPlani.UnObjet(1)->StationRef, nullptr);
  EXPECT_EQ(d.pktpCoupesPlani.UnObjet(0)->StationRef->DesignPTopo, "16.35");
  EXPECT_EQ(d.pktpCoupesPlani.UnObjet(1)->StationRef->DesignPTopo, "16.33");
  const Compte alti = Compter(d.pktpDessinAltiOr, d.pktpCoupesAlti);
  EXPECT_EQ(alti.lignes, 30);
  EXPECT_EQ(alti.points, 607);
  EXPECT_EQ(alti.couleurs, (std::map<int, int>{{1, 8}, {2, 3}, {3, 19}}));
  EXPECT_EQ(d.pktpCoupesAlti.Count(), 0);
}

// The plan drawing's points (outside the sections), computed, against the
// entrance plus their file positions turned by the declination.
double EcartPlanTest1(const drawing::TDessinPkTp& d, const Test1& t) {
  const double a = t.decli * std::numbers::pi / 180;
  std::map<std::vector<std::pair<double, double>>, int> restants;
  double ecart = 0;
  int compares = 0;
  for (const drawing::TObjetDonneesBasique* l : d.pktpDessinPlani.LesMultiPoints) {
    // The file line with the same number of points nearest to it.
    double meilleur = 1e9;
    for (const auto& f : t.plan.lignes) {
      if (f.size() != static_cast<size_t>(l->Points.Count())) continue;
      double e = 0;
      for (size_t j = 0; j < f.size(); ++j) {
        const auto [x, y] = f[j];
        const double gx = 1.2 + x * std::cos(a) + y * std::sin(a), gy = 3.4 - x * std::sin(a) + y * std::cos(a);
        const drawing::TPointDessin* p = l->Points.UnObjet(static_cast<int>(j));
        e = std::max({e, std::fabs(p->Xhab - gx), std::fabs(p->Yhab - gy)});
      }
      meilleur = std::min(meilleur, e);
    }
    ecart = std::max(ecart, meilleur);
    ++compares;
  }
  EXPECT_GT(compares, 30);
  return ecart;
}

TEST(CroquisTop, Test1) {
  GardeAnnexe annexe;
  const std::string octets = testsupport::LitOctets(kPocketTopo + "test1.top");
  const Test1 t = LitTest1(octets);
  ASSERT_EQ(t.plan.polylignes, 114);
  ASSERT_EQ(t.plan.points, 674);
  ASSERT_EQ(t.plan.couleurs, (std::map<int, int>{{1, 8}, {3, 104}, {4, 1}, {7, 1}}));
  ASSERT_EQ(t.plan.coupes, (std::vector<std::string>{"16.35", "16.33"}));
  ASSERT_EQ(t.alti.polylignes, 30);
  ASSERT_EQ(t.alti.points, 607);
  ASSERT_EQ(t.alti.couleurs, (std::map<int, int>{{1, 8}, {2, 3}, {3, 19}}));
  ReseauImport r;
  ASSERT_TRUE(ImporteTop(r, octets));
  const drawing::TDessinPkTp* d = Croquis(r.Cavite());
  ASSERT_NE(d, nullptr);
  VerifieTest1(*d);
  // The counts of a Python struct reader (tests/formats/compte_top.py), the
  // colour bytes through the table 6 -> 7, 7 -> 6.
  std::string sortie;
  ASSERT_EQ(testsurvey::LanceCommande("python3 '" + std::string(GRAVELUNE_SOURCE_DIR) +
                                          "/tests/formats/compte_top.py' '" + kPocketTopo + "test1.top' 2>&1",
                                      sortie),
            0)
      << sortie;
  std::istringstream lignes(sortie);
  std::string ligne;
  int dessins = 0;
  while (std::getline(lignes, ligne)) {
    std::istringstream in(ligne);
    std::string nom, mot;
    int polys = 0, points = 0;
    in >> nom >> polys >> points;
    std::map<int, int> codes;
    while (in >> mot && mot != "|") codes[formats::CouleurCroquisTop(static_cast<uint8_t>(std::stoi(mot)))] +=
        std::stoi(mot.substr(mot.find(':') + 1));
    std::vector<std::string> stations;
    while (in >> mot) stations.push_back(mot);
    const bool plan = nom == "plan";
    const Compte c = plan ? Compter(d->pktpDessinPlani, d->pktpCoupesPlani) : Compter(d->pktpDessinAltiOr, d->pktpCoupesAlti);
    EXPECT_EQ(c.lignes, polys) << nom;
    EXPECT_EQ(c.points, points) << nom;
    EXPECT_EQ(c.couleurs, codes) << nom;
    std::vector<std::string> refs;
    for (const drawing::TCoupePkTp* k : plan ? d->pktpCoupesPlani : d->pktpCoupesAlti)
      refs.push_back(k->StationRef ? k->StationRef->DesignPTopo : std::string());
    EXPECT_EQ(refs, stations) << nom;
    ++dessins;
  }
  EXPECT_EQ(dessins, 2);

  // The document saved and read again keeps the sketch.
  foundation::TFluxMemoire flux;
  ASSERT_TRUE(r.R().Ecrit(flux));
  TReseau relu;
  foundation::TFluxMemoire lecture(flux.Octets());
  ASSERT_TRUE(relu.Lit(lecture));
  const drawing::TDessinPkTp* d2 = Croquis(relu.Cavites.Last());
  ASSERT_NE(d2, nullptr);
  VerifieTest1(*d2);

  // Computed (a tree without a coordinate system), the plan drawing follows
  // the file's positions from the entrance turned by the declination; the
  // computation drops the one-point lines.
  r.R().CalculeReseau();
  r.Cavite()->CalculeDessinPlani();
  EXPECT_LT(EcartPlanTest1(*d, t), 0.001);
}

TEST(CroquisTop, SecondPassage) {
  GardeAnnexe annexe;
  const std::string octets = testsupport::LitOctets(kPocketTopo + "test1.top");
  const Test1 t = LitTest1(octets);
  ReseauImport r;
  int appels = 0;
  formats::FenetresImport().AfficheNommeGal = [&](formats::TNommeGalDlg& dlg) {
    if (appels++ > 0) return formats::ResultatNommeGal::Ok;
    for (TVisee* v : dlg.UneCavite->Visees)
      for (TPointSpeleo* p : {v->PointStation, v->PointVise})
        if (p && p->DesignPTopo == "16.33") dlg.UneCavite->PointImport = p;
    return formats::ResultatNommeGal::Reessayer;
  };
  ASSERT_TRUE(ImporteTop(r, octets));
  EXPECT_EQ(appels, 2);
  const drawing::TDessinPkTp* d = Croquis(r.Cavite());
  ASSERT_NE(d, nullptr);
  VerifieTest1(*d);
  // The same ground places as the first pass's import.
  ReseauImport premier;
  ASSERT_TRUE(ImporteTop(premier, octets));
  premier.R().CalculeReseau();
  premier.Cavite()->CalculeDessinPlani();
  r.R().CalculeReseau();
  r.Cavite()->CalculeDessinPlani();
  const drawing::TDessinPkTp* d1 = Croquis(premier.Cavite());
  ASSERT_EQ(d1->pktpDessinPlani.LesMultiPoints.Count(), d->pktpDessinPlani.LesMultiPoints.Count());
  // The second pass hangs the survey from the new origin: the whole survey,
  // and its sketch with it, may be shifted by the origin's move.
  const TPointSpeleo* o1 = premier.Station("16.33");
  const TPointSpeleo* o2 = r.Station("16.33");
  if (!o2) o2 = r.PointSurface("16.33");
  ASSERT_NE(o1, nullptr);
  ASSERT_NE(o2, nullptr);
  const double dx = o2->X - o1->X, dy = o2->Y - o1->Y;
  double ecart = 0;
  for (int i = 0; i < d->pktpDessinPlani.LesMultiPoints.Count(); ++i) {
    const auto* a = d1->pktpDessinPlani.LesMultiPoints.UnObjet(i);
    const auto* b = d->pktpDessinPlani.LesMultiPoints.UnObjet(i);
    ASSERT_EQ(a->Points.Count(), b->Points.Count());
    for (int j = 0; j < a->Points.Count(); ++j)
      ecart = std::max({ecart, std::fabs(a->Points.UnObjet(j)->Xhab + dx - b->Points.UnObjet(j)->Xhab),
                        std::fabs(a->Points.UnObjet(j)->Yhab + dy - b->Points.UnObjet(j)->Yhab)});
  }
  EXPECT_LT(ecart, 0.001);
  (void)t;
}

}  // namespace
}  // namespace testformats
