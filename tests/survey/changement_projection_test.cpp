// The network's change of coordinate system: every object holding ground
// coordinates converted, checked against PROJ's cs2cs built from the
// catalogue's own lines; all or nothing when a system is unknown.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <tuple>
#include <sstream>
#include <string>
#include <vector>

#include "drawing/annexe_cavite.h"
#include "drawing/donnees_dessin_basique.h"
#include "drawing/ports_dessin.h"
#include "editor/config.h"
#include "editor/image_notes.h"
#include "projections/contexte_projections.h"
#include "projections/datum.h"
#include "projections/services.h"
#include "tests/projections/oracle_proj.h"
#include "tests/survey/environnement_document.h"
#include "views/mise_en_page.h"
#include "views/page_semis.h"

namespace {

using namespace survey;
using testsurvey::EnvironnementDocument;

// The words of a catalogue line after its '=': quoted texts and bare words.
std::vector<std::string> Mots(const std::string& ligne) {
  std::vector<std::string> mots;
  size_t i = ligne.find('=');
  if (i == std::string::npos) return mots;
  ++i;
  while (i < ligne.size()) {
    if (ligne[i] == ' ') {
      ++i;
    } else if (ligne[i] == '"') {
      const size_t fin = ligne.find('"', i + 1);
      mots.push_back(ligne.substr(i + 1, fin - i - 1));
      i = fin + 1;
    } else {
      const size_t fin = std::min(ligne.find(' ', i), ligne.size());
      mots.push_back(ligne.substr(i, fin - i));
      i = fin;
    }
  }
  return mots;
}

// "2°20'14.025''", "46°30'", "3°" or "52g" in degrees.
double Degres(const std::string& texte) {
  if (!texte.empty() && texte.back() == 'g') return std::stod(texte.substr(0, texte.size() - 1)) * 0.9;
  double valeur = 0, unite = 1;
  std::string nombre;
  for (size_t i = 0; i < texte.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(texte[i]);
    if (std::isdigit(c) || c == '.' || c == '-') {
      nombre += texte[i];
      continue;
    }
    if (!nombre.empty()) {
      valeur += std::stod(nombre) / unite;
      unite *= 60;
      nombre.clear();
    }
  }
  if (!nombre.empty()) valeur += std::stod(nombre) / unite;
  return valeur;
}

std::string Num(double x) {
  std::ostringstream o;
  o.precision(15);
  o << x;
  return o.str();
}

// The PROJ definition of a Lambert system of the catalogue, from its own
// projection, datum and ellipsoid lines (a seed datum is WGS84).
std::string DefinitionProj(const std::string& nom) {
  const std::vector<std::string> p = Mots(projections::LigneProjection(nom));
  const std::vector<std::string> d = Mots(projections::LigneDatumProjection(nom));
  const std::vector<std::string> e = Mots(projections::LigneEllipsoideProjection(nom));
  std::string figure = oracle::Figure(projections::AWGS84, projections::EWGS84) + " +towgs84=0,0,0";
  if (d.size() >= 6 && e.size() >= 4)
    figure = oracle::Figure(std::stod(e[2]), std::stod(e[3])) + " +towgs84=" + d[3] + "," + d[4] + "," + d[5];
  const std::string ligne = projections::LigneProjection(nom);
  if (ligne.find("Tangent") != std::string::npos && p.size() >= 8) {
    // name, description, datum, k0, x0, y0, longitude, latitude
    const std::string lat = Num(Degres(p[7]));
    return "+proj=lcc +lat_1=" + lat + " +lat_0=" + lat + " +lon_0=" + Num(Degres(p[6])) + " +k_0=" + p[3] +
           " +x_0=" + p[4] + " +y_0=" + p[5] + " " + figure;
  }
  if (p.size() >= 9)  // name, description, datum, x0, y0, longitude, latitude, parallels
    return "+proj=lcc +lat_0=" + Num(Degres(p[6])) + " +lon_0=" + Num(Degres(p[5])) + " +lat_1=" +
           Num(Degres(p[7])) + " +lat_2=" + Num(Degres(p[8])) + " +x_0=" + p[3] + " +y_0=" + p[4] + " " + figure;
  return {};
}

// A drawing configuration holding backgrounds, as the document composes it.
class ConfigAvecFonds : public drawing::TConfigDessin {
 public:
  bool EcritObjet(foundation::TFlux& f) override { return Config.EcritObjet(f); }
  bool LitObjet(foundation::TFlux& f) override { return Config.LitObjet(f); }
  void ChangeProjectionConfig(const std::string& a, int32_t af, const std::string& n, int32_t nf) override {
    Config.ChangeProjectionConfig(a, af, n, nf);
  }
  editor::TConfig Config;
};

std::unique_ptr<editor::TImageNotes> Image(const char* nom, double x, double y) {
  auto im = std::make_unique<editor::TImageNotes>();
  im->NomImage = nom;
  im->PointsImage[1].X = 2000;
  im->PointsImage[1].Y = 1500;
  im->PointsTerrain[0].X = x;
  im->PointsTerrain[0].Y = y;
  im->PointsTerrain[1].X = x + 1000.5;
  im->PointsTerrain[1].Y = y - 750.25;
  return im;
}

// Every ground point of the network, in a fixed order.
struct ReseauGeoreference {
  ReseauGeoreference() {
    r.CreeCaviteSurface();
    for (auto [nom, x, y] : {std::tuple{"E1", 600000.0, 2200000.0}, std::tuple{"E2", 650500.25, 2150250.5}}) {
      auto p = std::make_unique<TPointSpeleo>();
      p->DesignPTopo = nom;
      p->TypePoint = PointSurface;
      p->X = x;
      p->Y = y;
      p->GalduPt = r.UneCavite(0)->UneGalerie(0);
      r.UneCavite(0)->UneGalerie(0)->Points.Add(std::move(p));
    }
    auto c = std::make_unique<TCavite>();
    c->NomCavite = "Grotte";
    cavite = r.AjouteCavite(std::move(c));
    cavite->AjouteGalerie("");
    cavite->CalageDigitPlani.PointsTerrain.AjoutePoint(610000.5, 2210000.25);
    cavite->CalageDigitPlani.PointsTerrain.AjoutePoint(611000, 2209000);

    auto mep = std::make_unique<views::TMiseEnPage>();
    mep->Design = "Plan";
    mep->Echelle = 1000;
    auto page = std::make_unique<views::TPageSemis>();
    page->PointHautReel.X = 601000;
    page->PointHautReel.Y = 2201000;
    page->PointBasReel.X = 602000;
    page->PointBasReel.Y = 2200000;
    mep->ListePages.Add(std::move(page));
    views::MisesEnPage().ListesMisesEnPage[0]->Add(std::move(mep));
    editor::Cartes().CartesReseau->Add(Image("carte.jpg", 590000, 2190000));

    auto* annexe = dynamic_cast<drawing::TAnnexeDessinCavite*>(cavite->Annexe.get());
    EXPECT_TRUE(annexe);
    if (annexe) {
      auto config = std::make_unique<ConfigAvecFonds>();
      config->Config.ListeNotes.Add(Image("fond.jpg", 605000, 2205000));
      fonds = &config->Config;
      annexe->LeDessinPlani->ListeDonneesDessin.LaConfig = std::move(config);
    }
  }

  std::vector<foundation::TPointTopo*> Points() {
    std::vector<foundation::TPointTopo*> v;
    views::TPageSemis* page = views::MisesEnPage().ListesMisesEnPage[0]->UnObjet(0)->UnePage(0);
    v.push_back(&page->PointHautReel);
    v.push_back(&page->PointBasReel);
    for (auto& t : editor::Cartes().CartesReseau->UneNote(0)->PointsTerrain) v.push_back(&t);
    if (fonds)
      for (auto& t : fonds->ListeNotes.UneNote(0)->PointsTerrain) v.push_back(&t);
    return v;
  }
  // X and Y of every ground point, the surface points and the calibration first.
  std::vector<std::array<double, 2>> Coordonnees() {
    std::vector<std::array<double, 2>> v;
    for (const TPointSpeleo* p : *r.LesPointsSurface()) v.push_back({p->X, p->Y});
    for (const foundation::TObjetTopo* p : cavite->CalageDigitPlani.PointsTerrain) v.push_back({p->X, p->Y});
    for (const foundation::TPointTopo* p : Points()) v.push_back({p->X, p->Y});
    return v;
  }
  std::string Octets() {
    foundation::TFluxMemoire f, g;
    EXPECT_TRUE(r.Ecrit(f));
    EXPECT_TRUE(r.EcritConfig(g));
    return f.Octets() + g.Octets();
  }

  TReseau r;
  TCavite* cavite = nullptr;
  editor::TConfig* fonds = nullptr;
};

TEST(ChangementProjection, ChaqueObjetSelonCs2cs) {
  EnvironnementDocument env;
  projections::GardeProjections catalogue;
  ReseauGeoreference n;
  const auto avant = n.Coordonnees();
  ASSERT_EQ(avant.size(), 10u);
  ASSERT_TRUE(n.r.ChangeProjection("LT 2+", -1, -1, "LT 93"));
  EXPECT_TRUE(env.Dialogues.Messages().empty());
  const auto apres = n.Coordonnees();
  for (size_t i = 0; i < avant.size(); ++i) EXPECT_GT(std::abs(apres[i][0] - avant[i][0]), 1000) << i;

  if (!oracle::Cs2csDisponible()) GTEST_SKIP() << "cs2cs absent: no oracle";
  oracle::AnnonceOracle("cs2cs, LT 2+ to LT 93 from the catalogue lines");
  const std::string de = DefinitionProj("LT 2+"), vers = DefinitionProj("LT 93");
  ASSERT_FALSE(de.empty());
  ASSERT_FALSE(vers.empty());
  const auto attendu = oracle::Cs2cs(de, vers, avant);
  ASSERT_TRUE(attendu);
  for (size_t i = 0; i < avant.size(); ++i) {
    EXPECT_NEAR(apres[i][0], (*attendu)[i][0], 1e-3) << i;
    EXPECT_NEAR(apres[i][1], (*attendu)[i][1], 1e-3) << i;
  }
}

TEST(ChangementProjection, SystemeInconnuNeChangeRien) {
  EnvironnementDocument env;
  projections::GardeProjections catalogue;
  struct Cas {
    const char* ancien;
    const char* nouveau;
  } cas[] = {{"LT 2+", "Inconnu"}, {"Nulle part", "LT 93"}};
  for (const Cas& c : cas) {
    SCOPED_TRACE(std::string(c.ancien) + " -> " + c.nouveau);
    ReseauGeoreference n;
    env.Dialogues.Clear();
    const std::string avant = n.Octets();
    EXPECT_FALSE(n.r.ChangeProjection(c.ancien, -1, -1, c.nouveau));
    EXPECT_EQ(n.Octets(), avant);
    ASSERT_EQ(env.Dialogues.Messages().size(), 1u);
    const std::string inconnu = std::string(c.ancien) == "LT 2+" ? c.nouveau : c.ancien;
    EXPECT_NE(env.Dialogues.Messages()[0].find("le système " + inconnu), std::string::npos)
        << env.Dialogues.Messages()[0];
  }
  // Independent coordinates on one side: nothing to convert, no message.
  ReseauGeoreference n;
  env.Dialogues.Clear();
  const std::string avant = n.Octets();
  EXPECT_TRUE(n.r.ChangeProjection("", -1, -1, "LT 93"));
  EXPECT_EQ(n.Octets(), avant);
  EXPECT_TRUE(env.Dialogues.Messages().empty());
}

}  // namespace
