// The origin of an imported survey moved from the gallery dialog: the
// "Changer le point origine" button, the cave lent to the network while the
// origin window (scripted here) chooses a station, and the second pass that
// hangs the survey from it.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "foundation/point_topo.h"
#include "tests/formats/import_test_support.h"

namespace testformats {
namespace {

using formats::ResultatNommeGal;
using formats::TNommeGalDlg;

// Entrance A; a main line 1-4; a branch 10-12 leaving 2; a one-shot spur 3a.
const char* kVisees =
    "A 1 5 0 -10 0 0 0 0 N I * N\r\n"
    "1 2 5 10 -10 0 0 0 0 N I * N\r\n"
    "2 3 5 20 -10 0 0 0 0 N I * N\r\n"
    "3 4 5 30 -10 0 0 0 0 N I * N\r\n"
    "2 10 5 120 0 0 0 0 0 N I * N\r\n"
    "10 11 5 130 0 0 0 0 0 N I * N\r\n"
    "11 12 5 140 0 0 0 0 0 N I * N\r\n"
    "3 3a 2 300 0 0 0 0 0 N I * N\r\n";

// A file without surface point: the first pass hangs the survey from A at
// 0, 0, 0.
std::string SansTrou() { return EnTeteTro("Deca Degd Clino Degd 0.0000 Dir,Dir,Dir Arr Std 01/02/2003 A", "") + kVisees; }

std::vector<TCavite*> Cavites(const TReseau& r) {
  std::vector<TCavite*> c;
  for (TCavite* x : r.Cavites) c.push_back(x);
  return c;
}

TPointSpeleo* StationDe(const TCavite& c, const std::string& nom) {
  for (const TGalerie* g : c.Galeries)
    for (TPointSpeleo* p : g->Points)
      if (p->DesignPTopo == nom) return p;
  return nullptr;
}

// The second pass, for a file without surface point (the first pass hangs
// the survey from A at 0, 0, 0) and for one whose entrance has Lambert
// coordinates (the survey is turned by the grid convergence about it).
TEST(OrigineImport, SecondPassageDepuisLaStationChoisie) {
  struct Cas {
    const char* quoi;
    std::string fichier;
    std::string nomCavite;
    double tolerance;  // metres
  } cas[] = {
      {"sans coordonnées", SansTrou(), "", 1e-6},
      // The convergence is taken at the entrance, which moved by some 20 m:
      // a tenth of a millimetre, where the first pass's own coordinates
      // would move the survey by centimetres.
      {"en Lambert", EnTeteTro("Deca Degd Clino Degd 0.0000 Dir,Dir,Dir Arr Std 01/02/2003 A",
                               "Trou Grotte du Nord,645.337,3138.336,346.00,LT3") + kVisees,
       "Grotte du Nord", 1e-4},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.quoi);
    // Where an import that keeps the file's origin puts the stations.
    std::map<std::string, foundation::TPointTopo> reference;
    {
      ReseauImport simple;
      ASSERT_TRUE(simple.Importe(simple.Tro(k.fichier)));
      simple.R().CalculeReseau();
      for (const TVisee* v : simple.Cavite()->Visees)
        for (const TPointSpeleo* p : {v->PtOrigCalc, v->PtCalc}) reference[p->DesignPTopo] = p->PtTopo();
    }
    ReseauImport r;
    r.Dialogues.QueuePrompt(std::string("Réseau nord"));
    // The origin window: computes the network as it opens, then validates on 12.
    std::map<std::string, foundation::TPointTopo> premier;
    TCavite* active = nullptr;
    formats::FenetresImport().ChoisitOrigineImport = [&](TCavite& c) {
      active = r.R().LaCaviteActive;
      EXPECT_GE(r.R().Cavites.IndexOf(&c), 0);
      r.R().CalculeReseau();
      for (const TVisee* v : c.Visees)
        for (const TPointSpeleo* p : {v->PtOrigCalc, v->PtCalc}) premier[p->DesignPTopo] = p->PtTopo();
      c.PointImport = StationDe(c, "12");
      return true;
    };
    int passages = 0;
    std::vector<formats::TLigneNommeGal> secondes;
    formats::FenetresImport().AfficheNommeGal = [&](TNommeGalDlg& d) {
      if (++passages == 1) {
        EXPECT_TRUE(d.BoutonOrigineVisible);
        EXPECT_TRUE(d.Renomme(1));
        const std::vector<TCavite*> avant = Cavites(r.R());
        TCavite* activeAvant = r.R().LaCaviteActive;
        const bool choisie = d.ChangeOrigine();
        EXPECT_EQ(active, d.UneCavite);
        EXPECT_EQ(Cavites(r.R()), avant);
        EXPECT_EQ(r.R().LaCaviteActive, activeAvant);
        return choisie ? ResultatNommeGal::Reessayer : ResultatNommeGal::Ok;
      }
      // The second pass: the origin is the chosen one, the button hidden.
      EXPECT_FALSE(d.BoutonOrigineVisible);
      EXPECT_EQ(d.TexteOrigine, "Point origine du lever : 12");
      secondes = d.Lignes;
      return ResultatNommeGal::Ok;
    };
    ASSERT_TRUE(r.Importe(r.Tro(k.fichier)));
    EXPECT_EQ(passages, 2);
    // The survey hangs from a surface point 12 where the first pass put 12;
    // the entrance made up by the first pass is gone.
    TListedePoints& surface = *r.R().LesPointsSurface();
    ASSERT_EQ(surface.Count(), 1);
    const TPointSpeleo* douze = surface.First();
    EXPECT_EQ(douze->DesignPTopo, "12");
    ASSERT_EQ(premier.count("12"), 1u);
    EXPECT_NEAR(douze->X, premier["12"].X, 1e-9);
    EXPECT_NEAR(douze->Y, premier["12"].Y, 1e-9);
    EXPECT_NEAR(douze->Z, premier["12"].Z, 1e-9);
    EXPECT_EQ(r.Cavite()->LEntree(), douze);
    // Every station where the window saw it, and where the import without
    // the change puts it.
    r.R().CalculeReseau();
    int comparees = 0;
    for (const TVisee* v : r.Cavite()->Visees)
      for (const TPointSpeleo* p : {v->PtOrigCalc, v->PtCalc})
        for (const auto* avant : {&premier, &reference}) {
          const auto it = avant->find(p->DesignPTopo);
          ASSERT_NE(it, avant->end()) << p->DesignPTopo;
          EXPECT_NEAR(p->X, it->second.X, k.tolerance) << p->DesignPTopo;
          EXPECT_NEAR(p->Y, it->second.Y, k.tolerance) << p->DesignPTopo;
          EXPECT_NEAR(p->Z, it->second.Z, k.tolerance) << p->DesignPTopo;
          ++comparees;
        }
    EXPECT_GE(comparees, 32);
    // The checks and names of the first pass came back from the memory file.
    ASSERT_GE(secondes.size(), 2u);
    EXPECT_EQ(secondes[1].Designation, "Réseau nord");
    EXPECT_TRUE(secondes[0].Cochee && secondes[1].Cochee);
    // The cave keeps the name its file gives it.
    EXPECT_EQ(r.Cavite()->NomCavite, k.nomCavite);
  }
}

TEST(OrigineImport, FenetreAnnuleeOuEnErreur) {
  struct Cas {
    const char* nom;
    std::function<bool(TCavite&)> fenetre;
    bool exception;
  };
  const Cas cas[] = {
      {"annulée", [](TCavite& c) {
         c.PointImport = c.LEntree();
         return false;
       }, false},
      {"erreur", [](TCavite&) -> bool { throw std::logic_error("erreur de programmation"); }, true},
  };
  for (const Cas& k : cas) {
    ReseauImport r;
    formats::FenetresImport().ChoisitOrigineImport = k.fenetre;
    int passages = 0;
    std::vector<TCavite*> avant;
    formats::FenetresImport().AfficheNommeGal = [&](TNommeGalDlg& d) {
      ++passages;
      avant = Cavites(r.R());
      // A cancelled window leaves the dialog open; it ends with OK.
      EXPECT_FALSE(d.ChangeOrigine()) << k.nom;
      return ResultatNommeGal::Ok;
    };
    bool ok = false;
    try {
      ok = r.Importe(r.Tro(SansTrou()));
    } catch (const std::logic_error&) {
      EXPECT_TRUE(k.exception) << k.nom;
    }
    EXPECT_EQ(passages, 1) << k.nom;
    if (k.exception) {
      // The network is as it was before the import: no cave was added.
      EXPECT_EQ(Cavites(r.R()), avant) << k.nom;
      EXPECT_EQ(r.R().NombreCavites(), 1) << k.nom;
      EXPECT_EQ(r.R().LesPointsSurface()->Count(), 0) << k.nom;
    } else {
      EXPECT_TRUE(ok) << k.nom;
      EXPECT_EQ(r.R().NombreCavites(), 2) << k.nom;
    }
  }
}

// The button: not for the update of a cave, nor for a TopoRobot file, nor
// in a second pass, nor while no origin window is installed.
TEST(OrigineImport, VisibiliteDuBouton) {
  struct Cas {
    const char* nom;
    bool maj;
    int type;
    bool fenetre;
    bool visible;
  };
  const Cas cas[] = {
      {"VTopo", false, formats::TypeImportVTopo, true, true},
      {"texte", false, formats::TypeImportTableTexte, true, true},
      {"mise à jour", true, formats::TypeImportVTopo, true, false},
      {"TopoRobot", false, formats::TypeImportTopoRobot, true, false},
      {"sans fenêtre d'origine", false, formats::TypeImportVTopo, false, false},
  };
  for (const Cas& k : cas) {
    ReseauImport r;
    if (k.fenetre) formats::FenetresImport().ChoisitOrigineImport = [](TCavite&) { return false; };
    bool visible = !k.visible;
    formats::FenetresImport().AfficheNommeGal = [&](TNommeGalDlg& d) {
      visible = d.BoutonOrigineVisible;
      return ResultatNommeGal::Ok;
    };
    const std::string chemin = r.Tro(SansTrou());
    auto lecteur = formats::CreeLecteurImport(chemin, formats::TypeImportVTopo, &r.R());
    lecteur->TypeAppli = k.type;
    lecteur->EstMaj = k.maj;
    lecteur->ImporterFichier(chemin);
    EXPECT_EQ(visible, k.visible) << k.nom;
  }
}

}  // namespace
}  // namespace testformats
