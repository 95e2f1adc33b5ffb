#include "formats/export/dxf/export_dxf.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

#include "drawing/donnees_dessin_basique.h"
#include "drawing/liste_donnees_dessin.h"
#include "drawing/objet_donnees_basique.h"
#include "drawing/poly_gal.h"
#include "formats/export/gpx/export_gpx.h"
#include "formats/export/lignes_export.h"
#include "foundation/chaines.h"
#include "survey/cavite.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"

namespace formats {

namespace {

std::string Rogne(const std::string& s) {
  const size_t d = s.find_first_not_of(' ');
  if (d == std::string::npos) return std::string();
  return s.substr(d, s.find_last_not_of(' ') - d + 1);
}

bool Fini(const foundation::TPointTopo& p) { return std::isfinite(p.X) && std::isfinite(p.Y) && std::isfinite(p.Z); }

// The built-in survey-line style: a solid red pen of width 1.
drawing::TypeTrait TraitAxeIntegre() {
  drawing::TypeTrait t;
  t.CouleurPlume = 0x0000FF;
  t.EpaisseurPlume = 1;
  return t;
}

// The built-in outline style: a solid navy pen of width 1.
drawing::TypeTrait TraitEnveloppeIntegre() {
  drawing::TypeTrait t;
  t.CouleurPlume = 0x800000;
  t.EpaisseurPlume = 1;
  return t;
}

// The AutoCAD palette as red, green, blue: the nine basic colours, the 24
// hues in five shades, full and half saturated, and six greys.
const std::array<std::array<int, 3>, 256>& PaletteAci() {
  static const std::array<std::array<int, 3>, 256> palette = [] {
    std::array<std::array<int, 3>, 256> p{};
    const int base[10][3] = {{0, 0, 0},     {255, 0, 0},   {255, 255, 0}, {0, 255, 0},     {0, 255, 255},
                             {0, 0, 255},   {255, 0, 255}, {255, 255, 255}, {128, 128, 128}, {192, 192, 192}};
    for (int i = 0; i < 10; ++i) p[i] = {base[i][0], base[i][1], base[i][2]};
    const double valeurs[5] = {1.0, 0.65, 0.5, 0.3, 0.15};
    for (int i = 10; i < 250; ++i) {
      const double teinte = ((i - 10) / 10) * 15.0;
      const double v = valeurs[(i % 10) / 2];
      const double s = (i % 2 == 0) ? 1.0 : 0.5;
      // HSV to RGB.
      const double c = v * s;
      const double h = teinte / 60.0;
      const double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
      double r = 0, g = 0, b = 0;
      if (h < 1) r = c, g = x;
      else if (h < 2) r = x, g = c;
      else if (h < 3) g = c, b = x;
      else if (h < 4) g = x, b = c;
      else if (h < 5) r = x, b = c;
      else r = c, b = x;
      const double m = v - c;
      p[i] = {static_cast<int>(std::lround((r + m) * 255)), static_cast<int>(std::lround((g + m) * 255)),
              static_cast<int>(std::lround((b + m) * 255))};
    }
    const int gris[6] = {51, 80, 105, 130, 190, 255};
    for (int i = 0; i < 6; ++i) p[250 + i] = {gris[i], gris[i], gris[i]};
    return p;
  }();
  return palette;
}

}  // namespace

std::string DesignCalque(int genre) {
  static const char* const noms[22] = {"DESIGNPT", "DESIGNPTSURF", "COMPOS", "PTSURF", "PTLEVER", "VHAB",
                                       "GALERIE",  "DESSIN",       "HABILLAGE", "TEXTE", "nul", "nul",
                                       "nul",      "nul",          "nul",    "nul",    "COUPES", "nul",
                                       "nul",      "nul",          "nul",    "ECARTS"};
  if (genre < 0 || genre >= 22) return "CAV_nul";
  return std::string("CAV_") + noms[genre];
}

int IndexCouleurDxf(uint32_t couleur) {
  const int r = couleur & 0xFF, g = (couleur >> 8) & 0xFF, b = (couleur >> 16) & 0xFF;
  if ((r == 0 && g == 0 && b == 0) || (r == 255 && g == 255 && b == 255)) return 7;
  const auto& palette = PaletteAci();
  int meilleur = 1;
  long distance = -1;
  for (int i = 1; i < 256; ++i) {
    const long dr = r - palette[i][0], dg = g - palette[i][1], db = b - palette[i][2];
    const long d = dr * dr + dg * dg + db * db;
    if (distance < 0 || d < distance) {
      distance = d;
      meilleur = i;
    }
  }
  return meilleur;
}

std::string CoordonneeDxf(double x) { return Rogne(foundation::ReelEnStrFixe(x, 12, 2)); }

void TFichierDxf::ecrit_bloc(int code, const std::string& texte) {
  std::string c = std::to_string(code);
  if (c.size() < 3) c.insert(0, 3 - c.size(), ' ');
  AjouteLigne(c);
  AjouteLigne(texte);
}

void TFichierDxf::EcritPointPoly(const foundation::TPointTopo& point, const std::string& calque) {
  ecrit_bloc(0, "VERTEX");
  ecrit_bloc(8, calque);
  ecrit_bloc(10, CoordonneeDxf(point.X));
  ecrit_bloc(20, CoordonneeDxf(point.Y));
  ecrit_bloc(30, CoordonneeDxf(point.Z));
}

void TFichierDxf::EcritPointSpeleo(const survey::TPointSpeleo& point, const std::string& calque, double hauteur) {
  if (!Fini(PointDeStation(point))) return;
  ecrit_bloc(0, "POINT");
  ecrit_bloc(8, calque);
  ecrit_bloc(10, CoordonneeDxf(point.X));
  ecrit_bloc(20, CoordonneeDxf(point.Y));
  ecrit_bloc(30, CoordonneeDxf(point.Z));
  ecrit_bloc(0, "TEXT");
  ecrit_bloc(8, calque);
  ecrit_bloc(10, CoordonneeDxf(point.X + 1));
  ecrit_bloc(20, CoordonneeDxf(point.Y + 1));
  ecrit_bloc(30, "0.0");
  ecrit_bloc(40, ReelGpx(hauteur));
  ecrit_bloc(1, point.DesignPTopo);
  ecrit_bloc(7, "STANDARD");
}

void TDxfPolyligne::EcritFichier(TFichierDxf& fichier, const std::string& calque) const {
  if (std::count_if(Points.begin(), Points.end(), Fini) < 2) return;
  const std::string largeur = ReelGpx(std::max(0, UnTrait.EpaisseurPlume - 1) * 0.15);
  fichier.ecrit_bloc(0, "POLYLINE");
  fichier.ecrit_bloc(40, largeur);
  fichier.ecrit_bloc(41, largeur);
  if (UnTrait.TraitLisse) fichier.ecrit_bloc(75, "8");
  fichier.ecrit_bloc(8, calque);
  if (UnTrait.StylePlume == drawing::MesPenStyle::mpsDash) fichier.ecrit_bloc(6, "TIRET");
  if (UnTrait.StylePlume == drawing::MesPenStyle::mpsDot) fichier.ecrit_bloc(6, "POINTILLES");
  fichier.ecrit_bloc(62, std::to_string(IndexCouleurDxf(UnTrait.CouleurPlume)));
  fichier.ecrit_bloc(66, "1");
  fichier.ecrit_bloc(10, "0.0");
  fichier.ecrit_bloc(20, "0.0");
  fichier.ecrit_bloc(30, "0.0");
  fichier.ecrit_bloc(70, Fermee ? "1" : "0");
  for (const foundation::TPointTopo& p : Points)
    if (Fini(p)) fichier.EcritPointPoly(p, calque);
  fichier.ecrit_bloc(0, "SEQEND");
  fichier.ecrit_bloc(8, calque);
}

void EcritGaleriesDxf(const survey::TCavite& cavite, TFichierDxf& fichier) {
  const drawing::TypeTrait trait = TraitAxeIntegre();
  for (const survey::TGalerie* g : cavite.Galeries) {
    if (!g) continue;
    for (TPolyligneExport& ligne : LignesGalerie(*g, trait))
      TDxfPolyligne(std::move(ligne)).EcritFichier(fichier, DesignCalque(4));
    const auto& points = g->Points;
    for (int i = 0; i < points.Count(); ++i)
      if (const survey::TPointSpeleo* p = points.Item(i)) fichier.EcritPointSpeleo(*p, DesignCalque(0), 1.5);
  }
}

void EcritEnveloppeDxf(const drawing::tPolyGal& poly, TFichierDxf& fichier) {
  for (TPolyligneExport& bord : BordsEnveloppe(poly, TraitEnveloppeIntegre()))
    TDxfPolyligne(std::move(bord)).EcritFichier(fichier, DesignCalque(6));
}

void EcritObjetDessinDxf(const drawing::TObjetDonneesBasique& objet, TFichierDxf& fichier) {
  if (std::optional<TPolyligneExport> ligne = LigneObjetDessin(objet))
    TDxfPolyligne(std::move(*ligne)).EcritFichier(fichier, DesignCalque(objet.estHabillage() ? 8 : 7));
}

bool ConstruitDxf(survey::TReseau& reseau, TFichierDxf& fichier) {
  survey::TCavite* cavite = reseau.LaCaviteActive;
  if (!cavite || cavite->EstSurface) {
    cavite = nullptr;
    for (int i = 0; i < reseau.NombreCavites() && !cavite; ++i)
      if (survey::TCavite* c = reseau.UneCavite(i); c && !c->EstSurface) cavite = c;
  }
  if (!cavite) return false;
  reseau.CalculeReseau();
  auto bloc = [&](int code, const char* texte) { fichier.ecrit_bloc(code, texte); };
  for (auto [c, t] : std::initializer_list<std::pair<int, const char*>>{
           {0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1009"}, {9, "$LUNITS"}, {70, "2"},
           {9, "$LUPREC"}, {70, "2"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "TABLES"}, {0, "TABLE"}, {2, "LTYPE"},
           {70, "0"}, {0, "LTYPE"}, {2, "TIRET"}, {70, "0"}, {3, "Tirets = psDash"}, {72, "65"}, {73, "2"},
           {40, "1.0"}, {49, "0.8"}, {49, "-0.2"}, {0, "LTYPE"}, {2, "POINTILLES"}, {70, "0"},
           {3, "Pointillés = psDot"}, {72, "65"}, {73, "2"}, {40, "0.2"}, {49, "0.0"}, {49, "-0.2"},
           {0, "ENDTAB"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}})
    bloc(c, t);
  if (const survey::TListedePoints* surface = reseau.LesPointsSurface())
    for (int i = 0; i < surface->Count(); ++i)
      if (const survey::TPointSpeleo* p = surface->Item(i)) fichier.EcritPointSpeleo(*p, DesignCalque(3), 3);
  EcritGaleriesDxf(*cavite, fichier);
  if (const drawing::TDonneesDessinBasique* dessin = DessinPlaniCalcule(*cavite)) {
    for (const drawing::tPolyGal* poly : dessin->ListePolyGal)
      if (poly) EcritEnveloppeDxf(*poly, fichier);
    const auto& elements = dessin->ListeDonneesDessin.LesMultiPoints;
    for (int i = 0; i < elements.Count(); ++i)
      if (const drawing::TObjetDonneesBasique* o = elements.UnObjet(i)) EcritObjetDessinDxf(*o, fichier);
  }
  bloc(0, "ENDSEC");
  bloc(0, "EOF");
  return true;
}

bool GenereFichierDxf(survey::TReseau& reseau) {
  TFichierDxf fichier;
  if (!ConstruitDxf(reseau, fichier)) return false;
  std::string nom = reseau.LaCaviteActive ? reseau.LaCaviteActive->NomCavite : reseau.NomReseau();
  return fichier.EnregistreAutre(nom, "DXF", survey::Encodage::Windows1252, "DXF");
}

}  // namespace formats
