// The DXF export: group codes, widths, colour indexes, and a real TopoDroid
// survey read back by ezdxf (when the Debian package is installed).
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "drawing/annexe_cavite.h"
#include "drawing/donnees_dessin_basique.h"
#include "drawing/liste_donnees_dessin.h"
#include "drawing/objet_donnees_basique.h"
#include "drawing/objet_trait.h"
#include "formats/export/dxf/export_dxf.h"
#include "survey/ports_survey.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "tests/formats/import_test_support.h"
#include "tests/projections/oracle_proj.h"

namespace testformats {
namespace {

const std::string kDossierTherion = std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/therion/";

TEST(TexteDxf, CodesCouleursEtLargeurs) {
  formats::TFichierDxf f;
  f.ecrit_bloc(0, "SECTION");
  f.ecrit_bloc(10, "1.5");
  f.ecrit_bloc(999, "x");
  EXPECT_EQ(f.Lignes, (std::vector<std::string>{"  0", "SECTION", " 10", "1.5", "999", "x"}));
  struct Couleur {
    uint32_t couleur;
    int index;
  } couleurs[] = {{0x0000FF, 1}, {0x00FFFF, 2}, {0x00FF00, 3}, {0xFFFF00, 4}, {0xFF0000, 5},
                  {0xFF00FF, 6}, {0x000000, 7}, {0xFFFFFF, 7}, {0x808080, 8}, {0x800000, -1}};  // -1: any index
  for (const Couleur& c : couleurs) {
    const int i = formats::IndexCouleurDxf(c.couleur);
    EXPECT_GE(i, 1);
    EXPECT_LE(i, 255);
    if (c.index > 0) EXPECT_EQ(i, c.index) << std::hex << c.couleur;
  }
  EXPECT_EQ(formats::CoordonneeDxf(326903.6749), "326903.67");
  EXPECT_EQ(formats::CoordonneeDxf(-0.004), "0.00");
  EXPECT_EQ(formats::DesignCalque(4), "CAV_PTLEVER");
  EXPECT_EQ(formats::DesignCalque(21), "CAV_ECARTS");
  // Widths and pen styles of a polyline; fewer than two points: nothing.
  struct Trait {
    int32_t epaisseur;
    drawing::MesPenStyle style;
    const char* largeur;
    const char* type;
  } traits[] = {{1, drawing::MesPenStyle::mpsSolid, "0", nullptr},
                {3, drawing::MesPenStyle::mpsDash, "0.3", "TIRET"},
                {0, drawing::MesPenStyle::mpsDot, "0", "POINTILLES"}};
  for (const Trait& t : traits) {
    drawing::TypeTrait trait;
    trait.EpaisseurPlume = t.epaisseur;
    trait.StylePlume = t.style;
    formats::TDxfPolyligne p(trait, false);
    formats::TFichierDxf sortie;
    p.AjoutePoint(foundation::PtTopoXY(1, 2));
    p.EcritFichier(sortie, "CAV_DESSIN");
    EXPECT_TRUE(sortie.Lignes.empty());
    p.AjoutePoint(foundation::PtTopoXY(3, 4));
    p.EcritFichier(sortie, "CAV_DESSIN");
    ASSERT_GE(sortie.Lignes.size(), 6u);
    EXPECT_EQ(sortie.Lignes[3], t.largeur);
    EXPECT_EQ(sortie.Lignes[5], t.largeur);
    bool typeTrouve = false;
    for (size_t i = 0; i + 1 < sortie.Lignes.size(); i += 2)
      if (sortie.Lignes[i] == "  6") typeTrouve = t.type && sortie.Lignes[i + 1] == t.type;
    EXPECT_EQ(typeTrouve, t.type != nullptr) << t.epaisseur;
  }
}

TEST(FichierDxf, SurfaceSeuleNeDemandeRien) {
  ReseauImport r;
  EXPECT_FALSE(formats::GenereFichierDxf(r.R()));
  EXPECT_TRUE(r.Dialogues.Log().empty());
}

// ezdxf's reading of the file: "key value" lines.
const char* kScriptEzdxf = R"(
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
print("erreurs", len(auditor.errors))
print("version", doc.dxfversion)
msp = doc.modelspace()
for e in msp:
    t = e.dxftype()
    print("entite", t, e.dxf.layer)
    if t == "POLYLINE":
        print("sommets", e.dxf.layer, len(list(e.vertices)), e.dxf.color)
        print("trait", e.dxf.layer, e.dxf.get("linetype", "BYLAYER"), e.dxf.get("default_start_width", 0))
        for v in e.vertices:
            print("sommet", v.dxf.location.x, v.dxf.location.y, v.dxf.location.z)
    if t == "TEXT":
        print("texte", e.dxf.layer, e.dxf.height, e.dxf.text, e.dxf.insert.x, e.dxf.insert.y)
)";

// The caves made meanwhile carry the drawing data, as in the program.
struct GardeAnnexeDessin {
  decltype(survey::Ports().CreeAnnexeCavite) avant = survey::Ports().CreeAnnexeCavite;
  GardeAnnexeDessin() { drawing::InstalleAnnexeDessin(); }
  ~GardeAnnexeDessin() { survey::Ports().CreeAnnexeCavite = avant; }
};

TEST(FichierDxf, M1bLuParEzdxf) {
  GardeAnnexeDessin annexe;
  // The styles of the plan-drawing elements: a dashed red drawing line of
  // pen 3 and a dotted dressing line.
  drawing::TDefObjetTrait dessin, habillage;
  dessin.StylePlume = drawing::MesPenStyle::mpsDash;
  dessin.EpaisseurPlume = 3;
  dessin.CouleurPlume = 0x0000FF;
  habillage.CoupePlan = 12;
  habillage.StylePlume = drawing::MesPenStyle::mpsDot;
  projections::GardeProjections catalogue;
  ASSERT_TRUE(projections::ChargeListeProjections(projections::RegionFrance));
  ReseauImport r;
  ASSERT_TRUE(r.Importe(kDossierTherion + "M1b.th", formats::TypeImportTopoDroid));
  // Three elements beside stations 3 to 6, the last one invisible; they
  // take their shots as the drawing editor does.
  r.R().CalculeReseau();
  drawing::TAnnexeDessinCavite* dessins = drawing::AnnexeDessin(r.Cavite());
  ASSERT_NE(dessins, nullptr);
  drawing::TListeDonneesDessin& elements = dessins->LeDessinPlani->ListeDonneesDessin;
  for (drawing::TDefObjetTrait* motif : {&dessin, &habillage, static_cast<drawing::TDefObjetTrait*>(nullptr)}) {
    auto e = std::make_unique<drawing::TObjetDonneesBasique>();
    e->MotifDessin = motif;
    for (int i = 3; i <= 6; ++i) {
      const TPointSpeleo* s = r.Station(std::to_string(i));
      ASSERT_NE(s, nullptr);
      e->AjoutePointDessin(false, s->X + 0.5, s->Y - 0.5);
    }
    elements.AjouteDonneesDessin(std::move(e));
  }
  elements.ReferenceDessin();
  const std::string chemin = r.Dossier.Fichier("m1b.dxf");
  r.Dialogues.QueueFile(chemin);
  ASSERT_TRUE(formats::GenereFichierDxf(r.R()));
  const std::string octets = testsupport::LitOctets(chemin);
  EXPECT_NE(octets.find("  0\r\nSECTION\r\n"), std::string::npos);
  EXPECT_NE(octets.find("AC1009"), std::string::npos);
  if (std::system("/usr/bin/python3 -c 'import ezdxf' >/dev/null 2>&1") != 0) GTEST_SKIP() << "ezdxf absent";
  const std::string script = r.Dossier.Fichier("lit.py");
  testsupport::EcritOctets(script, kScriptEzdxf);
  const auto sortie = oracle::Execute("/usr/bin/python3 '" + script + "' '" + chemin + "'", "");
  ASSERT_TRUE(sortie.has_value());
  std::map<std::string, int> entites;
  std::vector<std::vector<double>> sommets;
  int polyLever = 0, verticesLever = 0;
  int textesDesign = 0, textesSurface = 0;
  std::map<std::string, std::string> traits;  // layer: line type and width of its last polyline
  std::istringstream lignes(*sortie);
  for (std::string l; std::getline(lignes, l);) {
    std::istringstream m(l);
    std::string cle;
    m >> cle;
    if (cle == "erreurs") {
      int n = -1;
      m >> n;
      EXPECT_EQ(n, 0) << *sortie;
    } else if (cle == "version") {
      std::string v;
      m >> v;
      EXPECT_EQ(v, "AC1009");
    } else if (cle == "entite") {
      std::string t, c;
      m >> t >> c;
      ++entites[t + " " + c];
    } else if (cle == "sommets") {
      std::string c;
      int n = 0, couleur = 0;
      m >> c >> n >> couleur;
      if (c == "CAV_PTLEVER") {
        ++polyLever;
        verticesLever = n;
        EXPECT_EQ(couleur, 1);
      }
    } else if (cle == "trait") {
      std::string c, type, largeur;
      m >> c >> type >> largeur;
      traits[c] = type + " " + largeur;
    } else if (cle == "sommet") {
      std::vector<double> v(3);
      m >> v[0] >> v[1] >> v[2];
      sommets.push_back(v);
    } else if (cle == "texte") {
      std::string c;
      double h = 0;
      m >> c >> h;
      if (c == "CAV_DESIGNPT") {
        ++textesDesign;
        EXPECT_DOUBLE_EQ(h, 1.5);
      }
      if (c == "CAV_PTSURF") {
        ++textesSurface;
        EXPECT_DOUBLE_EQ(h, 3);
      }
    }
  }
  EXPECT_EQ(polyLever, 1) << *sortie;
  EXPECT_EQ(verticesLever, 24);
  EXPECT_EQ(entites["POINT CAV_DESIGNPT"], 23);
  EXPECT_EQ(textesDesign, 23);
  EXPECT_EQ(entites["POINT CAV_PTSURF"], 1);
  EXPECT_EQ(textesSurface, 1);
  // The one gallery outline: its two borders.
  EXPECT_EQ(entites["POLYLINE CAV_GALERIE"], 2) << *sortie;
  // The visible plan-drawing lines on their layers, in their styles; the
  // invisible one is absent.
  EXPECT_EQ(entites["POLYLINE CAV_DESSIN"], 1) << *sortie;
  EXPECT_EQ(entites["POLYLINE CAV_HABILLAGE"], 1) << *sortie;
  EXPECT_EQ(traits["CAV_DESSIN"], "TIRET 0.3");
  EXPECT_EQ(traits["CAV_HABILLAGE"], "POINTILLES 0.0");
  int polylignes = 0;
  for (const auto& [cle, n] : entites) polylignes += cle.rfind("POLYLINE ", 0) == 0 ? n : 0;
  EXPECT_EQ(polylignes, 5);
  // From station 23 back to the surface point "0", each within 0.01 m (the
  // survey line comes first).
  ASSERT_GE(sommets.size(), 24u);
  std::vector<const TPointSpeleo*> attendus;
  for (int i = 23; i >= 1; --i) attendus.push_back(r.Station(std::to_string(i)));
  attendus.push_back(r.PointSurface("0"));
  for (size_t i = 0; i < attendus.size(); ++i) {
    ASSERT_NE(attendus[i], nullptr);
    EXPECT_NEAR(sommets[i][0], attendus[i]->X, 0.01) << i;
    EXPECT_NEAR(sommets[i][1], attendus[i]->Y, 0.01) << i;
    EXPECT_NEAR(sommets[i][2], attendus[i]->Z, 0.01) << i;
  }
}

}  // namespace
}  // namespace testformats
