// The SVG export seen by other programs: rendered by rsvg-convert and by
// headless Chromium and probed at pixels computed from the network (the
// survey lines at every station and midway along every shot, in plan and in
// an elevation; the background away from every written element; a leader's
// arrow head); the station names and legs against Survex's survexport; and
// the web variant's pan-and-zoom script driven in Chromium.
#include <gtest/gtest.h>

#include <QImage>

#include <regex>

#include "drawing/annexe_cavite.h"
#include "drawing/donnees_coupe_long.h"
#include "survey/contexte_document.h"
#include "tests/formats/outils_svg.h"

namespace {

using namespace testsvg;

constexpr uint32_t kVert = RGB(0, 160, 0);

// A picture of the document at zoom z by rsvg-convert or by Chromium
// (device scale factor z); null when the program is missing.
QImage Rendu(const std::string& programme, const std::string& svg, double largeur, double hauteur, int z,
             const testsupport::DossierTemp& dossier) {
  const std::string png = dossier.Fichier(programme + ".png");
  std::string commande;
  if (programme == "rsvg-convert") {
    if (!Present("rsvg-convert")) return {};
    commande = "rsvg-convert -b white --zoom " + std::to_string(z) + " '" + svg + "' -o '" + png + "'";
  } else {
    if (!Present("chromium")) return {};
    commande = "HOME='" + dossier.Chemin() + "' timeout 120 chromium --headless --no-sandbox --disable-gpu " +
               "--hide-scrollbars --force-device-scale-factor=" + std::to_string(z) +
               " --window-size=" + std::to_string(static_cast<int>(std::ceil(largeur))) + "," +
               std::to_string(static_cast<int>(std::ceil(hauteur))) + " --screenshot='" + png + "' 'file://" + svg +
               "'";
  }
  if (!Lance(commande)) {
    ADD_FAILURE() << commande;
    return {};
  }
  return QImage(QString::fromStdString(png)).convertToFormat(QImage::Format_RGB32);
}

// The segments of every polyline of the document, in its units.
std::vector<std::array<double, 4>> Segments(const pugi::xml_document& doc) {
  std::vector<std::array<double, 4>> r;
  for (const pugi::xpath_node& n : doc.select_nodes("//polyline")) {
    const auto p = Points(n.node().attribute("points").value());
    for (size_t i = 0; i + 1 < p.size(); ++i) r.push_back({p[i][0], p[i][1], p[i + 1][0], p[i + 1][1]});
    if (p.size() == 1) r.push_back({p[0][0], p[0][1], p[0][0], p[0][1]});
  }
  return r;
}

double DistanceSegment(double x, double y, const std::array<double, 4>& s) {
  const double dx = s[2] - s[0], dy = s[3] - s[1];
  const double l2 = dx * dx + dy * dy;
  const double t = l2 > 0 ? std::clamp(((x - s[0]) * dx + (y - s[1]) * dy) / l2, 0.0, 1.0) : 0;
  return std::hypot(x - s[0] - t * dx, y - s[1] - t * dy);
}

struct Sonde {
  double x, y;  // document units
  std::string quoi;
};

// The stations and the midpoints of the shots, in the document; (SlH, Z) in
// an elevation.
std::vector<Sonde> SondesCheminement(ReseauSVG& r, const drawing::TConstantesSVG& c, bool alti) {
  std::vector<Sonde> s;
  // The point at t of the way from p to q.
  const auto doc = [&](const TPointSpeleo* p, const TPointSpeleo* q, const std::string& quoi, double t) {
    const double a = alti ? p->Slh : p->X, b = alti ? p->Z : p->Y;
    const double a2 = alti ? q->Slh : q->X, b2 = alti ? q->Z : q->Y;
    s.push_back({a + (a2 - a) * t - c.AbsMin + 50, 50 + c.OrdMax - (b + (b2 - b) * t), quoi});
  };
  for (const auto* l : {&kViseesIgue, &kViseesAven})
    for (const Visee& v : *l) {
      if (alti && (l == &kViseesAven)) continue;
      const TPointSpeleo* p = r.Station(v.de);
      const TPointSpeleo* q = r.Station(v.a);
      // A line ends square on its station: each station is probed a pixel
      // (0.25 m at zoom 4) inside each of its shots.
      const double l = alti ? std::hypot(q->Slh - p->Slh, q->Z - p->Z) : std::hypot(q->X - p->X, q->Y - p->Y);
      const double t = 0.25 / l;
      doc(p, q, v.de, t);
      doc(q, p, v.a, t);
      doc(p, q, std::string(v.de) + "-" + v.a, 0.5);
    }
  return s;
}

// Document points at least `marge` units from every segment, on a 2-unit grid.
std::vector<Sonde> SondesFond(const pugi::xml_document& doc, double largeur, double hauteur, double marge) {
  const auto segments = Segments(doc);
  std::vector<Sonde> s;
  for (double x = 1; x < largeur - 1; x += 2)
    for (double y = 1; y < hauteur - 1; y += 2) {
      bool loin = true;
      for (const auto& seg : segments)
        if (DistanceSegment(x, y, seg) < marge) {
          loin = false;
          break;
        }
      if (loin) s.push_back({x, y, "fond"});
    }
  return s;
}

bool EstVert(QRgb c) { return qGreen(c) > 110 && qRed(c) < 90 && qBlue(c) < 90; }
bool EstBlanc(QRgb c) { return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240; }
bool EstNoir(QRgb c) { return qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) < 80; }

QRgb Pixel(const QImage& im, double x, double y, int z) {
  return im.pixel(static_cast<int>(std::floor(x * z)), static_cast<int>(std::floor(y * z)));
}

class RenduSVG : public ::testing::Test {
 protected:
  RenduSVG() {
    // Survey lines 0.8 m wide at 1:1000 in green.
    drawing::Motifs().TraitAxeTopo.EpaisseurPlume = 16;
    drawing::Motifs().TraitAxeTopo.CouleurPlume = kVert;
    drawing::Motifs().TraitDimTopo.CouleurPlume = RGB(0, 0, 255);
  }
  ReseauSVG r{false};
  Sortie s;
};

TEST_F(RenduSVG, CheminementAuxStationsEnPlanEtEnCoupe) {
  int rendus = 0;
  for (bool alti : {false, true}) {
    formats::TVueExportSVG vue(r.R(), alti, 1000);
    const std::string texte =
        Document(vue, BitTypeObjet(TOD::odPtLever) | BitTypeObjet(TOD::odGalerie), false);
    const std::string chemin = s.dossier.Fichier(alti ? "alti.svg" : "plan.svg");
    std::ofstream(chemin, std::ios::binary) << texte;
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(texte.c_str()));
    const double largeur = doc.child("svg").attribute("width").as_double();
    const double hauteur = doc.child("svg").attribute("height").as_double();
    const auto stations = SondesCheminement(r, vue.Constantes(), alti);
    const auto fond = SondesFond(doc, largeur, hauteur, 2.5);
    ASSERT_GT(fond.size(), 500u);
    for (const char* programme : {"rsvg-convert", "chromium"}) {
      const int z = 4;
      const QImage im = Rendu(programme, chemin, largeur, hauteur, z, s.dossier);
      if (im.isNull()) continue;
      ++rendus;
      std::cout << "[ oracle  ] " << programme << (alti ? " (coupe)" : " (plan)") << "\n";
      ASSERT_GE(im.width(), static_cast<int>(largeur) * z);
      for (const Sonde& p : stations)
        EXPECT_TRUE(EstVert(Pixel(im, p.x, p.y, z)))
            << programme << " " << alti << " " << p.quoi << " " << std::hex << Pixel(im, p.x, p.y, z);
      for (const Sonde& p : fond)
        ASSERT_TRUE(EstBlanc(Pixel(im, p.x, p.y, z))) << programme << " " << alti << " " << p.x << "," << p.y;
    }
  }
  if (rendus == 0) GTEST_SKIP() << "ni rsvg-convert ni chromium";
}

TEST_F(RenduSVG, PointeDeFlecheDUnRenvoi) {
  ReseauSVG dessin;
  auto* fonte = dynamic_cast<drawing::TDefObjetFonte*>(dessin.Bibliotheque().ListeFontes.LeMotifDeBase(0));
  ASSERT_NE(fonte, nullptr);
  fonte->Couleur = RGB(0, 0, 255);
  formats::TVueExportSVG vue(dessin.R(), false, 1000);
  const std::string texte = Document(vue, BitTypeObjet(TOD::odTexte), false);
  const std::string chemin = s.dossier.Fichier("fleche.svg");
  std::ofstream(chemin, std::ios::binary) << texte;
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(texte.c_str()));
  const double largeur = doc.child("svg").attribute("width").as_double();
  const double hauteur = doc.child("svg").attribute("height").as_double();
  // The leader's last leg, from V (point 0 at the lowered height) to the tip.
  const drawing::TConstantesSVG c = vue.Constantes();
  const auto enDoc = [&](double x, double y) { return std::array<double, 2>{x - c.AbsMin + 50, 50 + c.OrdMax - y}; };
  const foundation::TPointTopo P0 = dessin.fleche->LePointDessin(0)->PointTopo();
  const foundation::TPointTopo P2 = dessin.fleche->LePointDessin(2)->PointTopo();
  const auto v = enDoc(P0.X, P0.Y - 1), pointe = enDoc(P2.X, P2.Y);
  const double l = std::hypot(pointe[0] - v[0], pointe[1] - v[1]);
  const double ux = (pointe[0] - v[0]) / l, uy = (pointe[1] - v[1]) / l;
  // At 1 m back from the tip the head is 1 m wide; 2.5 m back there is only
  // the leader, 0.1 m wide.
  const auto sonde = [&](double recul, double cote) {
    return std::array<double, 2>{pointe[0] - ux * recul - uy * cote, pointe[1] - uy * recul + ux * cote};
  };
  int rendus = 0;
  for (const char* programme : {"rsvg-convert", "chromium"}) {
    const int z = 20;
    const QImage im = Rendu(programme, chemin, largeur, hauteur, z, s.dossier);
    if (im.isNull()) continue;
    ++rendus;
    std::cout << "[ oracle  ] " << programme << "\n";
    for (double cote : {-0.3, 0.3}) {
      const auto t = sonde(1, cote), f = sonde(2.5, cote);
      EXPECT_TRUE(EstNoir(Pixel(im, t[0], t[1], z))) << programme << " " << cote;
      EXPECT_TRUE(EstBlanc(Pixel(im, f[0], f[1], z))) << programme << " " << cote;
    }
    // The leader itself in the font's colour.
    const auto milieu = sonde(2.5, 0);
    EXPECT_GT(qBlue(Pixel(im, milieu[0], milieu[1], z)), 200) << programme;
  }
  if (rendus == 0) GTEST_SKIP() << "ni rsvg-convert ni chromium";
}

TEST_F(RenduSVG, NumerosEtVisesSelonSurvex) {
  if (!Present("cavern") || !Present("survexport")) GTEST_SKIP() << "Survex n'est pas installé";
  std::cout << "[ oracle  ] cavern, survexport --pos and --svg\n";
  {
    std::ofstream(s.dossier.Fichier("massif.svx"), std::ios::binary) << Svx(r);
  }
  const std::string d = "cd '" + s.dossier.Chemin() + "' && ";
  ASSERT_TRUE(Lance(d + "cavern --quiet massif.svx && survexport --pos massif.3d massif.pos && "
                        "survexport --svg --legs --station-names --scale 1000 massif.3d survex.svg"));
  // Survex's positions (centimetres).
  std::map<std::string, std::array<double, 3>> survex;
  {
    std::istringstream lignes(Lit(s.dossier.Fichier("massif.pos")));
    std::string l;
    const std::regex ligne("\\( *([-0-9.]+), *([-0-9.]+), *([-0-9.]+) \\) (\\S+)");
    std::smatch m;
    while (std::getline(lignes, l))
      if (std::regex_search(l, m, ligne))
        survex[m[4].str()] = {foundation::TexteEnReel(m[1].str()), foundation::TexteEnReel(m[2].str()),
                              foundation::TexteEnReel(m[3].str())};
  }
  ASSERT_EQ(survex.size(), 9u) << Lit(s.dossier.Fichier("massif.pos"));
  // Our names, mapped back to the ground.
  formats::TVueExportSVG vue(r.R(), false, 1000);
  const drawing::TConstantesSVG c = vue.Constantes();
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(Document(vue, formats::ObjetsSVGDefaut, false).c_str()));
  std::map<std::string, std::array<double, 2>> nous;
  for (const pugi::xpath_node& t : doc.select_nodes("//tspan"))
    nous[t.node().text().get()] = {t.node().attribute("x").as_double() + c.AbsMin - 50,
                                   50 + c.OrdMax - t.node().attribute("y").as_double()};
  ASSERT_EQ(nous.size(), survex.size());
  for (const auto& [nom, p] : survex) {
    ASSERT_TRUE(nous.count(nom)) << nom;
    EXPECT_NEAR(nous[nom][0], p[0], 0.01) << nom;
    EXPECT_NEAR(nous[nom][1], p[1], 0.01) << nom;
  }
  // Survex's legs at 1:1000 (millimetres, that is metres), from one label to
  // the next: the same differences as between our stations.
  pugi::xml_document legs;
  ASSERT_TRUE(legs.load_file(s.dossier.Fichier("survex.svg").c_str()));
  std::vector<std::pair<std::string, std::array<double, 2>>> etiquettes;
  for (const pugi::xpath_node& t : legs.select_nodes("//g[@id='Labels']/text")) {
    std::smatch m;
    const std::string tr = t.node().attribute("transform").value();
    ASSERT_TRUE(std::regex_search(tr, m, std::regex("translate\\(([-0-9.]+) ([-0-9.]+)\\)"))) << tr;
    etiquettes.push_back({t.node().text().get(), {foundation::TexteEnReel(m[1].str()), foundation::TexteEnReel(m[2].str())}});
  }
  const auto nomEn = [&](double x, double y) {
    for (const auto& [n, p] : etiquettes)
      if (std::abs(p[0] - x) < 0.0015 && std::abs(p[1] - y) < 0.0015) return n;
    return std::string();
  };
  int jambes = 0;
  for (const pugi::xpath_node& p : legs.select_nodes("//g[@id='Legs']/path")) {
    std::string d = p.node().attribute("d").value();
    for (char& ch : d)
      if (ch == 'M' || ch == 'L') ch = ' ';
    const auto pts = Points(d);
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
      const std::string a = nomEn(pts[i][0], pts[i][1]), b = nomEn(pts[i + 1][0], pts[i + 1][1]);
      ASSERT_FALSE(a.empty() || b.empty()) << d;
      EXPECT_NEAR(nous[b][0] - nous[a][0], pts[i + 1][0] - pts[i][0], 0.01) << a << "-" << b;
      EXPECT_NEAR(nous[b][1] - nous[a][1], -(pts[i + 1][1] - pts[i][1]), 0.01) << a << "-" << b;
      ++jambes;
    }
  }
  EXPECT_EQ(jambes, static_cast<int>(kViseesIgue.size() + kViseesAven.size()));
}

TEST_F(RenduSVG, MoletteEtGlisserDansChromium) {
  if (!Present("chromium")) GTEST_SKIP() << "chromium n'est pas installé";
  std::cout << "[ oracle  ] chromium --headless --dump-dom\n";
  formats::TVueExportSVG vue(r.R(), false, 1000);
  std::string texte = Document(vue, formats::ObjetsSVGDefaut, true);
  // A test script after the document's own: synthetic events, then each
  // "viewport" transform written into the document.
  const std::string essai = R"(<script><![CDATA[
window.addEventListener('load', function () {
  var svg = document.documentElement, vp = document.getElementById('viewport'), r = [];
  function ev(type, x, y, props) {
    var e = new MouseEvent(type, {clientX: x, clientY: y, bubbles: true, cancelable: true});
    for (var k in props) Object.defineProperty(e, k, {value: props[k]});
    svg.dispatchEvent(e);
    r.push(vp.getAttribute('transform'));
  }
  ev('mousewheel', 100, 80, {wheelDelta: 120});
  ev('mousedown', 50, 50, {});
  ev('mousemove', 80, 70, {});
  ev('mouseup', 80, 70, {});
  ev('mousemove', 200, 200, {});
  vp.removeAttribute('transform');
  ev('DOMMouseScroll', 40, 30, {detail: -3});
  var t = document.createElementNS('http://www.w3.org/2000/svg', 'desc');
  t.setAttribute('id', 'resultat');
  t.textContent = r.join('|');
  svg.appendChild(t);
});
]]></script>
)";
  texte.insert(texte.rfind("</svg>"), essai);
  const std::string chemin = s.dossier.Fichier("web.svg");
  std::ofstream(chemin, std::ios::binary) << texte;
  const auto dom = Lance("HOME='" + s.dossier.Chemin() +
                         "' timeout 120 chromium --headless --no-sandbox --disable-gpu --dump-dom 'file://" + chemin + "'");
  ASSERT_TRUE(dom.has_value());
  std::smatch m;
  ASSERT_TRUE(std::regex_search(*dom, m, std::regex("<desc id=\"resultat\">([^<]*)</desc>"))) << dom->substr(0, 500);
  std::vector<std::vector<double>> matrices;
  const std::string reste = m[1].str();
  const std::regex matrice("matrix\\(([^)]*)\\)");
  for (auto it = std::sregex_iterator(reste.begin(), reste.end(), matrice);
       it != std::sregex_iterator(); ++it) {
    std::vector<double> v;
    std::istringstream in((*it)[1].str());
    std::string n;
    while (std::getline(in, n, ',')) v.push_back(foundation::TexteEnReel(n));
    matrices.push_back(v);
  }
  // SVG matrices hold single-precision numbers.  The wheel step: scale 1.1
  // about (100, 80); the drag by (30, 20); nothing
  // moves once the button is released; the other wheel event likewise.
  const std::vector<std::vector<double>> attendues = {{1.1, 0, 0, 1.1, -10, -8}, {1.1, 0, 0, 1.1, -10, -8},
                                                      {1.1, 0, 0, 1.1, 20, 12},  {1.1, 0, 0, 1.1, 20, 12},
                                                      {1.1, 0, 0, 1.1, 20, 12},  {1.1, 0, 0, 1.1, -4, -3}};
  ASSERT_EQ(matrices.size(), attendues.size()) << m[1].str();
  for (size_t i = 0; i < attendues.size(); ++i)
    for (size_t k = 0; k < 6; ++k) EXPECT_NEAR(matrices[i][k], attendues[i][k], 1e-5) << i << " " << m[1].str();
}

}  // namespace
