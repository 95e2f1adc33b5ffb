#pragma once
// The network of the SVG export tests, built shot by shot with measured
// values and computed by the network computation: the surface points E1 and
// E2, the cave "Igue" (a gallery E1-A1-A2-A3 and the gallery "Branche"
// A1-B1-B2 hung on it, splays at A1) and the cave "Aven" (E2-C1-C2).  With
// its drawing, Igue's plan holds an element of every kind the export
// writes: lines (plain, dashed, smoothed, patterned, closed and hatched or
// textured, a circle), a fill, a symbol, texts (straight, turned, along a
// curve, with a leader arrow, a station label), a cross section and an
// offset part with watermarks.  Also: the document parsed, the export run
// through its save dialog, and the measured shots written as a Survex .svx.
#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_motifs.h"
#include "drawing/def_symbole.h"
#include "drawing/donnees_coupe.h"
#include "drawing/donnees_dessin_basique.h"
#include "drawing/elements_dessin.h"
#include "drawing/liste_mtf.h"
#include "drawing/objet_trait.h"
#include "drawing/ports_motifs.h"
#include "drawing/symbole.h"
#include "drawing/texture.h"
#include "formats/export/svg/choix_objets_svg.h"
#include "formats/export/svg/etat_export_svg.h"
#include "formats/export/svg/fichier_svg.h"
#include "formats/export/svg/vue_export_svg.h"
#include "foundation/chaines.h"
#include "platform/scripted_dialogs.h"
#include "platform/wait_windows.h"
#include "survey/galerie.h"
#include "tests/drawing/outils_coupes.h"
#include "tests/support/dossier_temp.h"

namespace testsvg {

using namespace drawing;
using survey::TCavite;
using survey::TPointSpeleo;
using survey::TVisee;
using TOD = drawing::TypeObjetDessin;

struct Visee {
  const char* de;
  const char* a;
  double az, pente, longueur;
};

// The shots of each cave, in entry order; a name starting with "B" opens the
// gallery "Branche".
inline const std::vector<Visee> kViseesIgue = {
    {"E1", "A1", 45, 0, 10}, {"A1", "A2", 120, -10, 7.5}, {"A2", "A3", 80, 5, 8},
    {"A1", "B1", 300, 20, 5}, {"B1", "B2", 330, 0, 6},
};
inline const std::vector<Visee> kViseesAven = {{"E2", "C1", 180, -30, 6}, {"C1", "C2", 200, 0, 4}};
// The splays at A1, on its arriving shot: azimuth, slope, length.
inline const std::vector<std::array<double, 3>> kHabiA1 = {{200, 0, 3}, {10, 0, 2.5}};

class ReseauSVG {
 public:
  explicit ReseauSVG(bool avecDessin = true) {
    k.n.Surface("E1", 1000, 2000, 500);
    k.n.Surface("E2", 1040, 1990, 520);
    igue = k.n.Cavite("Igue");
    for (const Visee& v : kViseesIgue) {
      if (v.a[0] == 'B' && igue->Galeries.Count() == 1) igue->AjouteGalerie("Branche");
      visees[std::string(v.de) + v.a] = k.Visee(igue, v.de, v.a, v.az, v.pente, v.longueur);
    }
    for (const char* s : {"A1", "A2", "A3", "B1", "B2"}) k.Dimensions(igue, s, 1, 1.5, 2, 0.5);
    for (const auto& h : kHabiA1) k.Habi(visees.at("E1A1"), false, h[0], h[1], h[2]);
    aven = k.n.Cavite("Aven");
    for (const Visee& v : kViseesAven) visees[std::string(v.de) + v.a] = k.Visee(aven, v.de, v.a, v.az, v.pente, v.longueur);
    k.n.R().Nom = "Massif";
    k.n.R().LaCaviteActive = igue;
    k.Calcule();
    if (avecDessin) Dessine();
  }

  survey::TReseau& R() { return k.n.R(); }
  TPointSpeleo* Station(const std::string& nom) const {
    TPointSpeleo* p = k.n.Station(igue, nom);
    return p ? p : k.n.Station(aven, nom);
  }
  tListeMtf& Bibliotheque() { return k.contexte.bibliotheque; }
  TDonneesDessinBasique& Plan() { return *AnnexeDessin(igue)->LeDessinPlani; }

  template <class T>
  T* Ajoute(TListeDonneesDessin& l, std::unique_ptr<T> e, std::initializer_list<std::pair<double, double>> pts) {
    for (const auto& [x, y] : pts) e->AjoutePointDessin(false, x, y);
    T* r = static_cast<T*>(l.AjouteDonneesDessin(std::move(e)));
    r->ReferencePoints();
    return r;
  }
  TObjetDonneesBasique* Ligne(TListeDonneesDessin& l, TObjetMotifdeBase* style,
                              std::initializer_list<std::pair<double, double>> pts) {
    auto e = std::make_unique<TObjetDonneesBasique>();
    e->MotifDessin = style;
    return Ajoute(l, std::move(e), pts);
  }
  TObjetTexte* Texte(TListeDonneesDessin& l, int32_t info, const std::string& s,
                     std::initializer_list<std::pair<double, double>> pts, bool horiz = true) {
    auto t = std::make_unique<TObjetTexte>();
    t->MotifDessin = Bibliotheque().ListeFontes.LeMotifDeBase(0);
    t->TypeInfo = info;
    t->UnTexte = s;
    t->Horiz = horiz;
    return Ajoute(l, std::move(t), pts);
  }
  // A style added to the document's line styles.
  TObjetTrait* Style(MesPenStyle plume, int32_t epaisseur, uint32_t couleur, bool lisse = false, int16_t motif = -1,
                     TStylePinceau pinceau = TStylePinceau::bsSolid, uint32_t couleurPinceau = 0) {
    auto t = std::make_unique<TObjetTrait>();
    t->StylePlume = plume;
    t->EpaisseurPlume = epaisseur;
    t->CouleurPlume = couleur;
    t->TraitLisse = lisse;
    t->NumMotif = motif;
    t->StylePinceau = pinceau;
    t->CouleurPinceau = couleurPinceau;
    return static_cast<TObjetTrait*>(Bibliotheque().ListeTraits.Add(std::move(t)));
  }

  // Igue's plan drawing: an element of every kind.
  void Dessine() {
    tListeMtf& b = Bibliotheque();
    TDonneesDessinBasique& d = Plan();
    d.DefViseesDeRef(&igue->Visees);
    TListeDonneesDessin& l = d.ListeDonneesDessin;
    TObjetMotifdeBase* paroi = b.ListeTraits.LeMotifDeBase(0);
    Ligne(l, paroi, {{1005, 2004}, {1012, 2001}, {1020, 2002}});
    Ligne(l, b.ListeTraits.LeMotifDeBase(2), {{1008, 2010}, {1015, 2007}});
    Ligne(l, b.ListeTraits.LeMotifDeBase(1), {{1002, 2012}, {1004, 2013}, {1006, 2012}});
    Ligne(l, b.ListeTraits.LeMotifDeBase(4), {{1014, 2009}, {1018, 2008}, {1021, 2009}});
    Ligne(l, Style(MesPenStyle::mpsTrianglePlein, 2, RGB(0, 128, 0)), {{1014, 1998}, {1022, 1999}});
    Ligne(l, Style(MesPenStyle::mpsTirHachAlt, 1, RGB(128, 0, 0)), {{1001, 1998}, {1008, 1997}});
    Ligne(l, Style(MesPenStyle::mpsSolid, 1, 0, false, 0, TStylePinceau::bsCross, RGB(0, 0, 255)),
          {{1016, 2011}, {1019, 2011}, {1019, 2013}, {1016, 2013}});
    TObjetTrait* texture = Style(MesPenStyle::mpsSolid, 1, 0, false, 0, TStylePinceau::bsSolid, RGB(255, 255, 0));
    texture->FixeTexture(b.ListeTextures.LaTexture(0));
    Ligne(l, texture, {{1022, 2011}, {1024, 2011}, {1024, 2013}});
    Ligne(l, paroi, {{1010, 2016}, {1011, 2016}})->EstCercle = true;
    TObjetDonneesBasique* bord1 = Ligne(l, paroi, {{1003, 2001}, {1007, 2001}, {1007, 2003}});
    TObjetDonneesBasique* bord2 = Ligne(l, nullptr, {{1007, 2003}, {1003, 2003}, {1003, 2001}});
    auto rempli = std::make_unique<TObjetDonneesRemplir>();
    rempli->MotifDessin = b.ListeRemplis.LeMotifDeBase(1);
    rempli->ListePoly = {bord1, bord2};
    l.AjouteDonneesDessin(std::move(rempli));
    auto s = std::make_unique<TObjetDonneesSymbole>();
    s->MotifDessin = b.ListeSymboles.LeMotifDeBase(0);
    Ajoute(l, std::move(s), {{1010, 2011}, {1011, 2011}});
    Texte(l, -1, "Salle & <Puits>", {{1012, 2014}, {1008, 2014}});
    Texte(l, -1, "Boyau", {{1006, 2006}, {1002, 2008}}, false);
    Texte(l, -2, "Rivière", {{1002, 2016}, {1004, 2017}, {1006, 2016}});
    fleche = Texte(l, -1, "Entrée", {{1000, 2022}, {996, 2022}, {1001, 2016}});
    fleche->TypeFleche = 1;
    TObjetTexte* etiquette = Texte(l, 1, "", {{1015, 2003}, {1014, 2003}});
    etiquette->PointDeRef = Station("A2");

    auto c = std::make_unique<TDonneesCoupe>();
    c->PointDeCoupe->VisRefDessin = visees.at("A1A2");
    c->PointDeCoupe->LHab = 4;
    c->PointPosition->VisRefDessin = visees.at("A1A2");
    c->PointPosition->LHab = 4;
    c->PointPosition->AngleHab = 3 * std::numbers::pi / 2;
    c->LegendeCoupe = "C1";
    TDonneesCoupe* coupe = d.ListeCoupes.Add(std::move(c));
    auto lc = std::make_unique<TObjetDonneesBasique>();
    lc->MotifDessin = paroi;
    for (double a : {0.0, std::numbers::pi / 2, std::numbers::pi}) {
      TPointDessin* p = lc->AjoutePointDessin(false, 0, 0);
      p->LHab = 1.5;
      p->AngleHab = a;
    }
    coupe->AjouteDonneesDessin(std::move(lc));

    auto e = std::make_unique<TDonneesEcart>();
    e->ViseesEcart.Add(visees.at("A2A3"));
    e->Proprio = &d;
    e->PositX = 30;
    e->CouleurFiligr = RGB(0, 160, 0);
    TDonneesEcart* ecart = d.ListeEcarts.Add(std::move(e));
    TListeDonneesDessin& le = ecart->ListeDonneesDessin;
    TObjetDonneesBasique* w1 = Ligne(le, paroi, {{1015, 2002}, {1020, 2002}, {1020, 2006}});
    TObjetDonneesBasique* w2 = Ligne(le, paroi, {{1020, 2006}, {1015, 2006}, {1015, 2002}});
    w1->EstFiligrane = w2->EstFiligrane = true;
    auto wf = std::make_unique<TObjetDonneesRemplir>();
    wf->MotifDessin = b.ListeRemplis.LeMotifDeBase(0);
    wf->ListePoly = {w1, w2};
    le.AjouteDonneesDessin(std::move(wf))->EstFiligrane = true;
  }

  testcoupes::Calcul k;
  TCavite* igue = nullptr;
  TCavite* aven = nullptr;
  std::map<std::string, TVisee*> visees;
  TObjetTexte* fleche = nullptr;
};

// The export's dialogs and wait windows scripted, a folder for the files.
struct Sortie {
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs gardeDialogues{dialogues};
  platform::ScriptedWaitWindows attente;
  platform::ScopedWaitWindows gardeAttente{attente};
  testsupport::DossierTemp dossier;
};

// The document of the view with these kinds, built without the save dialog.
inline std::string Document(formats::TVueExportSVG& vue, formats::TObjetsSVG objets, bool web) {
  formats::TFichierSVG f;
  const TConstantesSVG c = vue.Constantes();
  f.CaviteSVG = vue.Reseau.LaCaviteActive;
  f.AbsMin = c.AbsMin;
  f.AbsMax = c.AbsMax;
  f.OrdMin = c.OrdMin;
  f.OrdMax = c.OrdMax;
  f.NomSVG = c.NomSVG;
  f.CalqueFiligranes = &vue.Calques[TOD::odAutreNiveau];
  f.ObjetsExports = objets;
  f.EstInskape = !web;
  formats::GardeExportSVG garde;
  f.ConstruitSVG(vue.Reseau, web ? formats::ScriptPanZoom() : std::vector<std::string>{});
  std::string r;
  for (const std::string& l : f.Lignes) r += l + "\n";
  return r;
}

inline std::string Lit(const std::string& chemin) {
  std::ifstream f(chemin, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// The layers (groups with inkscape:groupmode="layer") under a node, in
// order: (id, label).
inline std::vector<std::pair<std::string, std::string>> Calques(const pugi::xml_node& n) {
  std::vector<std::pair<std::string, std::string>> r;
  for (pugi::xml_node g : n.children("g"))
    if (std::string(g.attribute("inkscape:groupmode").value()) == "layer")
      r.emplace_back(g.attribute("id").value(), g.attribute("inkscape:label").value());
  return r;
}

// Every layer of the document, depth first: (id, label).
inline void TousCalques(const pugi::xml_node& n, std::vector<std::pair<std::string, std::string>>& r) {
  for (pugi::xml_node g : n.children()) {
    if (std::string(g.name()) == "g" && std::string(g.attribute("inkscape:groupmode").value()) == "layer")
      r.emplace_back(g.attribute("id").value(), g.attribute("inkscape:label").value());
    TousCalques(g, r);
  }
}

// The station positions of a "points" attribute or of the numbers of a path.
inline std::vector<std::array<double, 2>> Points(const std::string& texte) {
  std::vector<std::array<double, 2>> r;
  std::string s = texte;
  for (char& c : s)
    if (c == ',' || c == '\n' || c == '\r') c = ' ';
  std::istringstream in(s);
  std::string x, y;
  while (in >> x >> y) {
    double a = 0, b = 0;
    if (foundation::LitReel(x, a) && foundation::LitReel(y, b)) r.push_back({a, b});
  }
  return r;
}

// The measured shots as Survex data (no declination, degrees), the
// entrances fixed.
inline std::string Svx(ReseauSVG& r) {
  std::ostringstream o;
  o.precision(12);
  o << "*begin\n*case preserve\n";
  for (const char* e : {"E1", "E2"}) {
    const TPointSpeleo* p = r.Station(e);
    o << "*fix " << e << " " << p->X << " " << p->Y << " " << p->Z << "\n";
  }
  o << "*data normal from to tape compass clino\n";
  for (const auto* l : {&kViseesIgue, &kViseesAven})
    for (const Visee& v : *l) o << v.de << " " << v.a << " " << v.longueur << " " << v.az << " " << v.pente << "\n";
  o << "*end\n";
  return o.str();
}

// A program's output, or nullopt when it fails.
inline std::optional<std::string> Lance(const std::string& commande) {
  FILE* f = ::popen((commande + " 2>/dev/null").c_str(), "r");
  if (!f) return std::nullopt;
  std::string sortie;
  char t[65536];
  size_t n;
  while ((n = fread(t, 1, sizeof t, f)) > 0) sortie.append(t, n);
  const int etat = ::pclose(f);
  if (!WIFEXITED(etat) || WEXITSTATUS(etat) != 0) return std::nullopt;
  return sortie;
}

inline bool Present(const std::string& programme) {
  return std::system(("command -v " + programme + " >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace testsvg
