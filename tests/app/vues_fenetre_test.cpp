// The plan and elevation views opened from the main window on a real survey
// (Olivier.tro imported by the "Imports" menu), offscreen: the plan's paint
// box grabbed, the survey axis found at the pixel where the view's transform
// puts each station, Survex's positions of the same shots landing on the
// same pixels; the elevation's stations at their (SlH, Z) with Survex's Z,
// and a projected elevation's SlH differences equal to Survex's positions
// projected on its bearing; the captions; the plan's point recording on
// empty ground; the direct SVG export of the plan.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <functional>
#include <map>
#include <numbers>
#include <unordered_map>

#include "app/application.h"
#include "app/commun/config_generale.h"
#include "app/document/document_survey.h"
#include "app/fiche_principale.h"
#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/dessin_axe_gal.h"
#include "drawing/dessin_point_surface.h"
#include "drawing/objet_trait.h"
#include "drawing/point_compo.h"
#include "drawing/ports_dessin.h"
#include "drawing/ports_motifs.h"
#include "formats/import/galeries_import.h"
#include "formats/import/import_autres.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "tests/app/outils_fenetre.h"
#include "tests/app/vues_essai.h"
#include "tests/formats/survex_tro.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/environnement_document.h"
#include "views/contexte_views.h"
#include "views/ports_vues.h"
#include "views/windows/fiche_visu_dessin.h"

using namespace essaivues;

namespace {

// Survex's positions of the imported shots by station name (the names of
// the file, "-Orig" suffixes taken off), or none when Survex is missing.
std::map<std::string, std::array<double, 3>> PositionsSurvex(survey::TCavite& c, const std::string& tro,
                                                             const std::string& dossier) {
  std::map<std::string, std::array<double, 3>> r;
  if (!testformats::CavernPresent()) return r;
  const double convergence = c.CalculeConvergence() * 180 / std::numbers::pi;
  const testformats::FichierTro f = testformats::LitTro(LitOctets(tro));
  std::unordered_map<std::string, std::string> noms;
  const auto nom = [&](const std::string& n) {
    auto it = noms.find(n);
    if (it == noms.end()) it = noms.emplace(n, "s" + std::to_string(noms.size())).first;
    return it->second;
  };
  std::string erreur;
  const auto positions = testformats::PositionsSurvex(testformats::VersSvx(f, nom, convergence), dossier, erreur);
  EXPECT_TRUE(erreur.empty()) << erreur;
  for (const auto& [station, code] : noms)
    if (const auto it = positions.find(code); it != positions.end()) r[station] = it->second;
  return r;
}

std::string NomFichier(const survey::TPointSpeleo* p) {
  std::string n = p->DesignPTopo;
  if (n.size() > 5 && n.ends_with("-Orig")) n.resize(n.size() - 5);
  return n;
}

// The main window with Olivier.tro imported by the "Imports" menu.
class VuesFenetre : public ::testing::Test {
 protected:
  void SetUp() override {
    f.show();
    r = ImporteOlivier(f, env);
  }

  Environnement env;
  TFichePrincipale f{FabriqueSurvey(), {}};
  survey::TReseau* r = nullptr;
};

// Each station of the view's survey axes is drawn in its axis colour at the
// pixel where the view's transform puts its ground point (plan: X, Y;
// elevation: SlH, Z), and agrees with Survex's position of it by the view's
// own check; more than ten stations are compared when Survex is installed.
struct StationsDUneVue {
  std::function<foundation::TPointTopo(const survey::TPointSpeleo&)> sol;
  std::function<void(const survey::TPointSpeleo&, const foundation::TPoint& ecran, const std::array<double, 3>& survex)>
      commeSurvex;
};

template <class Vue>
void StationsAuxPixels(Vue& v, const std::map<std::string, std::array<double, 3>>& survex, const StationsDUneVue& s) {
  const QImage image = v.BaseDessin->grab().toImage();
  const auto stations = StationsDesAxes(v);
  ASSERT_GT(stations.size(), 10u);
  int surSurvex = 0;
  for (const auto& [p, couleur] : stations) {
    const foundation::TPoint e = foundation::PtTopoVersEcran(s.sol(*p));
    EXPECT_TRUE(CouleurAutour(image, e.X, e.Y, couleur)) << p->DesignPTopo << " " << e.X << "," << e.Y;
    const auto it = survex.find(NomFichier(p));
    if (it == survex.end()) continue;
    s.commeSurvex(*p, e, it->second);
    ++surSurvex;
  }
  if (testformats::CavernPresent()) {
    EXPECT_GT(surSurvex, 10);
  }
}

TEST_F(VuesFenetre, PlanDOlivierAuxPixelsDuCalculEtDeSurvex) {
  ASSERT_NE(r, nullptr);
  survey::TCavite* c = r->UneCavite(1);
  ASSERT_TRUE(Controle<QToolButton>(f, "ButtonPlan")->isEnabled());
  const auto survex = PositionsSurvex(*c, env.tro, env.dossier.Chemin());
  bool vu = false;
  SurLaVue<views::TFicheVisuPlan>(
      [&](views::TFicheVisuPlan& v) {
        EXPECT_EQ(v.windowTitle().toStdString(), "Plan du réseau : " + r->Nom + " - " + c->NomCavite);
        // One cave besides the surface: no cave choice.
        EXPECT_FALSE(Controle<QToolButton>(v, "DessinCavBtn")->isVisible());
        StationsAuxPixels(
            v, survex,
            {[](const survey::TPointSpeleo& p) { return Sol(p.X, p.Y); },
             [](const survey::TPointSpeleo& p, const foundation::TPoint& e, const std::array<double, 3>& s) {
               const foundation::TPoint es = foundation::PtTopoVersEcran(Sol(s[0], s[1]));
               EXPECT_LE(std::abs(es.X - e.X), 1) << p.DesignPTopo;
               EXPECT_LE(std::abs(es.Y - e.Y), 1) << p.DesignPTopo;
             }});
      },
      vu);
  Controle<QToolButton>(f, "ButtonPlan")->click();
  EXPECT_TRUE(vu);
  // The view gave the transform and the drawing kind back.
  EXPECT_EQ(foundation::Vue().TypeDessinCourant, foundation::TTypeDeDessin::tddPlani);
}

TEST_F(VuesFenetre, ChoixDesCavitesMontreAvecTroisCavitesEtPanneauxDecales) {
  int hautOutils1 = 0, hautOutils2 = 0;
  bool vu = false;
  SurLaVue<views::TFicheVisuPlan>(
      [&](views::TFicheVisuPlan& v) {
        EXPECT_FALSE(v.DessinCavBtn->isVisible());
        hautOutils1 = v.PanelOutils->mapTo(&v, QPoint(0, 0)).y();
      },
      vu);
  Controle<QToolButton>(f, "ButtonPlan")->click();
  ASSERT_TRUE(vu);
  ImporteOlivier(f, env);
  vu = false;
  SurLaVue<views::TFicheVisuPlan>(
      [&](views::TFicheVisuPlan& v) {
        EXPECT_TRUE(v.DessinCavBtn->isVisible());
        hautOutils2 = v.PanelOutils->mapTo(&v, QPoint(0, 0)).y();
        // "Aucune" then OK: only the active cave stays drawn.
        bool choix = false;
        QTimer::singleShot(50, [&choix] {
          auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
          if (!d || d->objectName() != QLatin1String("ChoixCavDlg")) return;
          choix = true;
          d->findChild<QPushButton*>("AucunBtn")->click();
          d->accept();
        });
        v.DessinCavBtn->click();
        EXPECT_TRUE(choix);
        survey::TReseau* r = ReseauDe(f);
        for (survey::TCavite* c : r->Cavites)
          if (c != r->LaCaviteActive && !c->EstSurface) EXPECT_FALSE(c->ParamDessinCavite.CaviteAffichee) << c->NomCavite;
      },
      vu);
  Controle<QToolButton>(f, "ButtonPlan")->click();
  ASSERT_TRUE(vu);
  EXPECT_EQ(hautOutils2 - hautOutils1, 30);
}

TEST_F(VuesFenetre, ClicSurLeTerrainEnregistreUnPointDeSurfaceDessineAussitot) {
  ASSERT_NE(r, nullptr);
  const int avant = r->LesPointsSurface()->Count();
  bool vu = false, dialogue = false;
  foundation::TPointTopo clique, sol;
  SurLaVue<views::TFicheVisuPlan>(
      [&](views::TFicheVisuPlan& v) {
        // Ground 50 pixels inside the top-left corner: no station there.
        foundation::TPointTopo p;
        foundation::EcranVersPtTopo({50, 50}, p);
        ASSERT_EQ(v.CherchePointProche(p), nullptr);
        sol = p;
        const int objets = v.LeCalque(odPtSurf).NombreObjets();
        QTimer::singleShot(20, [&] {
          auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
          ASSERT_NE(d, nullptr);
          dialogue = d->windowTitle() == QString::fromUtf8("Coordonnées du point cliqué");
          clique.X = d->findChild<QLineEdit*>("EditX")->text().toDouble();
          clique.Y = d->findChild<QLineEdit*>("EditY")->text().toDouble();
          d->findChild<QLineEdit*>("EditZ")->setText("512.5");
          d->findChild<QPushButton*>("RajouteBtn")->click();
        });
        for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
          QMouseEvent m(t, QPointF(50, 50), v.BaseDessin->mapToGlobal(QPointF(50, 50)), Qt::LeftButton,
                        t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
          QApplication::sendEvent(v.BaseDessin, &m);
        }
        EXPECT_NEAR(clique.X, p.X, 0.051);
        EXPECT_NEAR(clique.Y, p.Y, 0.051);
        // The new point is drawn at once in odPtSurf, at its place.
        ASSERT_EQ(v.LeCalque(odPtSurf).NombreObjets(), objets + 1);
        const auto* dessin = dynamic_cast<const drawing::TDessinPointSurface*>(
            v.LeCalque(odPtSurf).UnObjetDessin(v.LeCalque(odPtSurf).NombreObjets() - 1));
        ASSERT_NE(dessin, nullptr);
        // The dialog's marker went with it.
        for (const auto& o : v.LeCalque(odPtLever).ObjetsDessines)
          EXPECT_EQ(dynamic_cast<const drawing::TPointNoteVert*>(o.get()), nullptr);
      },
      vu);
  Controle<QToolButton>(f, "ButtonPlan")->click();
  ASSERT_TRUE(vu);
  EXPECT_TRUE(dialogue);
  ASSERT_EQ(r->LesPointsSurface()->Count(), avant + 1);
  const survey::TPointSpeleo* nouveau = r->LesPointsSurface()->Last();
  EXPECT_NEAR(nouveau->X, sol.X, 1e-6);
  EXPECT_NEAR(nouveau->Y, sol.Y, 1e-6);
  EXPECT_NEAR(nouveau->Z, 512.5, 1e-9);
  EXPECT_TRUE(survey::Document().DocumentModifie);
}

// The elevation of the active cave, developed (the cave's own) and
// projected on a bearing made for the test.
TEST_F(VuesFenetre, ElevationsDOlivierCommeSurvex) {
  ASSERT_NE(r, nullptr);
  survey::TCavite* c = r->UneCavite(1);
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
  ASSERT_TRUE(annexe && annexe->LeDessinAlti);
  ASSERT_TRUE(Controle<QToolButton>(f, "VisuCoupeBtn")->isEnabled());
  const auto survex = PositionsSurvex(*c, env.tro, env.dossier.Chemin());
  bool vu = false;
  SurLaVue<views::TFicheVisuCoupe>(
      [&](views::TFicheVisuCoupe& v) {
        EXPECT_EQ(v.windowTitle().toStdString().rfind("Coupe de la cavité " + c->NomCavite + " - ", 0), 0u)
            << v.windowTitle().toStdString();
        StationsAuxPixels(v, survex,
                          {[](const survey::TPointSpeleo& p) { return Sol(p.Slh, p.ZCalc); },
                           [](const survey::TPointSpeleo& p, const foundation::TPoint&, const std::array<double, 3>& s) {
                             EXPECT_NEAR(p.ZCalc, s[2], 0.02) << p.DesignPTopo;
                           }});
      },
      vu);
  Controle<QToolButton>(f, "VisuCoupeBtn")->click();
  ASSERT_TRUE(vu);
  EXPECT_EQ(foundation::Vue().TypeDessinCourant, foundation::TTypeDeDessin::tddPlani);

  // A whole projected elevation on bearing 1 rad.
  const double theta = 1.0;
  drawing::TDonneesCoupeLong* projetee =
      annexe->LesCoupesLong.AjouteDonneeCoupe(foundation::TTypeDeDessin::tddAltiProj,
                                             drawing::TViseesDeRef(&c->Visees), false, "Essai");
  projetee->AngleCoupeProj = theta;
  annexe->LeDessinAlti = projetee;
  vu = false;
  SurLaVue<views::TFicheVisuCoupe>(
      [&](views::TFicheVisuCoupe& v) {
        EXPECT_EQ(v.windowTitle().toStdString(), "Coupe de la cavité " + c->NomCavite +
                                                     " - Essai (projetée totale) Direction de la coupe : 57°");
        EXPECT_EQ(v.InitConstSVG().NomSVG, c->NomCavite + "-AltiProj");
        if (survex.empty()) return;
        const survey::TPointSpeleo* premier = nullptr;
        double s0 = 0;
        int compares = 0;
        const auto stations = StationsDesAxes(v);
        ASSERT_GT(stations.size(), 10u);
        for (const auto& [p, couleur] : stations) {
          const auto s = survex.find(NomFichier(p));
          if (s == survex.end()) continue;
          const double proj = s->second[0] * std::sin(theta) + s->second[1] * std::cos(theta);
          if (!premier) {
            premier = p;
            s0 = proj;
            continue;
          }
          EXPECT_NEAR(p->Slh - premier->Slh, proj - s0, 0.02) << p->DesignPTopo;
          ++compares;
        }
        EXPECT_GT(compares, 10);
      },
      vu);
  Controle<QToolButton>(f, "VisuCoupeBtn")->click();
  ASSERT_TRUE(vu);
}

TEST_F(VuesFenetre, FichierSVGPlaniSansMontrerLaVue) {
  ASSERT_NE(r, nullptr);
  QAction* svg = Controle<QAction>(f, "ExportSVG");
  ASSERT_TRUE(svg->isEnabled());
  // The export's hook receives the plan's constants, in its direct variant.
  drawing::TConstantesSVG recu;
  bool direct = false, appele = false;
  views::Ports().ExporteSVG = [&](const drawing::TConstantesSVG& k, const drawing::TCalque* filigranes, bool sans) {
    appele = true;
    recu = k;
    direct = sans;
    EXPECT_NE(filigranes, nullptr);
    EXPECT_TRUE(views::EtatVisu().ExportSVGDirect);
    return true;
  };
  svg->trigger();
  ASSERT_TRUE(appele);
  EXPECT_TRUE(direct);
  EXPECT_FALSE(views::EtatVisu().ExportSVGDirect);
  EXPECT_EQ(recu.NomSVG, r->Nom + "-Plani");
  EXPECT_LT(recu.AbsMin, recu.AbsMax);
  EXPECT_LT(recu.OrdMin, recu.OrdMax);
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_EQ(dynamic_cast<views::TFicheVisuPlan*>(w), nullptr);
}

}  // namespace
