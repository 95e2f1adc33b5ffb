// Every command of the main window (each entry of its menus, each tool
// button, the selectors) in the three document states: no document, the
// surface cave alone, caves.  A command is enabled exactly when a handler is
// connected to it and its state rule allows it; an entry counts as usable
// when its menu is enabled too; a menu is enabled when its rule allows it
// and one of its entries is.  The window's commands are walked, so a command
// added without its row here fails the test.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "app/application.h"
#include "app/commun/commande_connectee.h"
#include "app/document/document_survey.h"
#include "app/fiche_principale.h"
#include "projections/contexte_projections.h"
#include "projections/regions.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "tests/app/outils_fenetre.h"
#include "tests/support/dossier_temp.h"

using namespace app;
using essai::Controle;

namespace {

// The expected use of a command in each state: handler connected, then
// usable with no document, with the surface cave and two surface points,
// with a cave of three shots (the active one) besides.
struct Attendu {
  bool gestionnaire;
  bool aucun, surface, cavites;
};
constexpr bool O = true, N = false;

const std::map<std::string, Attendu>& Table() {
  static const std::map<std::string, Attendu> t = {
      // "&Fichier"
      {"mnuFichier", {N, O, O, O}},
      {"Nouveau1", {O, O, O, O}},
      {"mnuOuvrir", {O, O, O, O}},
      {"Enregistrer", {O, N, O, O}},
      {"Enregistrersous", {O, N, O, O}},
      {"Configuration", {O, O, O, O}},
      // Printing lists the table's rows: none with the surface alone.
      {"Imprimer", {O, N, N, O}},
      {"Quitter", {O, O, O, O}},
      // "Rectif Désign"
      {"mnuRectif", {N, N, O, O}},
      {"RectifReseau", {O, N, O, O}},
      {"RectifCavite", {N, N, N, N}},
      {"RectifGalerie", {N, N, N, N}},
      // "Exports"
      {"mnuExports", {N, N, O, O}},
      {"ExportPartie", {O, N, N, O}},
      {"ExportCSV", {O, N, N, O}},
      {"ExportPoints", {N, N, N, N}},
      {"ExportSVG", {O, N, O, O}},
      {"ExportKml", {O, N, O, O}},
      {"ExportDXF", {O, N, N, O}},
      {"ExportGPX", {O, N, O, O}},
      {"ExportVTopo", {O, N, N, O}},
      {"ExportQave", {O, N, N, O}},
      // "Imports": importing with no document creates one.
      {"mnuImports", {N, O, O, O}},
      {"ImportReseau", {O, N, O, O}},
      {"NumeriserPlani", {N, N, N, N}},
      {"NumeriserAlti", {N, N, N, N}},
      {"ImportTopoRobot", {O, O, O, O}},
      {"ImportVTopo", {O, O, O, O}},
      {"ImportTexte", {O, O, O, O}},
      {"ImportCarnet", {O, O, O, O}},
      {"MajCarnet", {O, N, N, O}},
      // "Compensations"
      {"mnuCompensations", {N, N, N, O}},
      {"CompensListe", {O, N, N, O}},
      {"CompensModifier", {O, N, N, O}},
      // "Gestion Cavités"
      {"mnuGestionCavites", {N, N, N, O}},
      {"SuppressionCav", {O, N, N, O}},
      {"Individualiser", {N, N, N, N}},
      {"FusionGaleries", {O, N, N, O}},
      {"ImpressionArbre", {N, N, N, N}},
      {"ComparaisonCavites", {O, N, N, O}},
      {"FusionCavites", {N, N, N, N}},
      {"CaviteCoordonnees", {N, N, N, N}},
      {"XmlGaleries", {N, N, N, N}},
      // "Motifs / Fontes"
      {"mnuMotifs", {N, N, O, O}},
      {"MotifsImporter", {O, N, O, O}},
      {"MotifsExporter", {N, N, N, N}},
      {"GererMotifs", {N, N, N, N}},
      // "Opérateurs", "Instruments"
      {"mnuOperateurs", {N, N, O, O}},
      {"RectifOpe", {O, N, O, O}},
      {"SupprOpe", {O, N, O, O}},
      {"ExportOpe", {O, N, O, O}},
      {"ImportOpe", {O, N, O, O}},
      {"mnuInstruments", {N, N, O, O}},
      {"RectifInstr", {O, N, O, O}},
      {"SupprInstr", {O, N, O, O}},
      {"ExportInstr", {O, N, O, O}},
      {"ImportInstr", {O, N, O, O}},
      // "Aide": no entry has its work yet.
      {"mnuAide", {N, N, N, N}},
      {"ModeEmploi", {N, N, N, N}},
      {"APropos", {N, N, N, N}},
      // First tool bar.
      {"BtnNouveau", {O, O, O, O}},
      {"OuvreButton", {O, O, O, O}},
      {"ImprimeButton", {O, N, N, O}},
      {"EnregistreButton", {O, N, O, O}},
      {"NewCaveButton", {O, O, O, O}},
      {"AjoutButton", {O, N, N, O}},
      {"SurfaceBton", {O, N, O, O}},
      {"CavitesBox", {O, O, O, O}},
      {"BasculeAffGalBtn", {O, N, N, O}},
      {"GaleriesBox", {O, N, N, O}},
      {"DebutGalBtn", {O, N, N, O}},
      {"FinGalBtn", {O, N, N, O}},
      {"RatgalBtn", {O, N, N, O}},
      {"ImprimeGalButton", {O, N, N, O}},
      {"ButtonPlan", {O, N, O, O}},
      {"VisuCoupeBtn", {O, N, N, O}},
      {"VisuSuitesBtn", {N, N, N, N}},
      {"Btn3D", {N, N, N, N}},
      {"GEBtn", {O, N, O, O}},
      {"StatBtn", {N, N, N, N}},
      {"OrientBtn", {N, N, N, N}},
      // Second row.
      {"CoordBtn", {O, N, N, O}},
      {"DimBtn", {O, N, N, O}},
      {"CherchePtBtn", {O, N, N, O}},
      // Until a search found something.
      {"RepeteRechercheBtn", {O, N, N, N}},
      {"DessinPlanBtn", {N, N, N, N}},
      {"DessinCoupeBtn", {N, N, N, N}},
      {"ListeCoupesBox", {O, N, N, O}},
      {"GestionCoupesBtn", {N, N, N, N}},
      {"JonctionBtn", {N, N, N, N}},
      {"EntreesBox", {O, O, O, O}},
      // The comment's continuation button, under the table.
      {"EditSuiteBtn", {O, O, O, O}},
  };
  return t;
}

// A surface point of the network at (x, y).
void AjoutePointSurface(survey::TReseau& r, const std::string& nom, double x, double y) {
  auto p = std::make_unique<survey::TPointSpeleo>();
  p->TypePoint = survey::PointSurface;
  p->DesignPTopo = nom;
  p->X = x;
  p->Y = y;
  p->GalduPt = r.UneCavite(0)->UneGalerie(0);
  r.LesPointsSurface()->Add(std::move(p));
}

// The window as the program makes it, every start-up link installed.
struct Fenetre {
  essai::Gardes g;
  projections::GardeProjections catalogue;
  testsupport::DossierTemp dossier;
  std::unique_ptr<TFichePrincipale> f;

  Fenetre() {
    projections::ChargeListeProjections(projections::RegionFrance);
    InstalleLiaisonsApplication();
    f = std::make_unique<TFichePrincipale>(FabriqueSurvey(), std::vector<std::string>{});
  }
  ~Fenetre() {
    if (f->Gestion().Reseau()) f->Gestion().LibereReseau();
  }
  survey::TReseau& Reseau() { return dynamic_cast<TDocumentSurvey*>(f->Gestion().Reseau())->Reseau(); }
};

// Every command of the window: the menus of the menu bar and their entries,
// the buttons and selectors of the tool bars, the buttons of the table's
// area.  The recent-file lines are left out (none here).
std::map<std::string, QObject*> Commandes(TFichePrincipale& f) {
  std::map<std::string, QObject*> r;
  const auto ajoute = [&r](QObject* o) {
    const std::string nom = o->objectName().toStdString();
    EXPECT_FALSE(nom.empty()) << "commande sans nom";
    EXPECT_TRUE(r.emplace(nom, o).second) << nom << " en double";
  };
  for (QAction* m : f.menuBar()->actions()) {
    ajoute(m);
    for (QAction* e : m->menu()->actions())
      if (!e->isSeparator()) ajoute(e);
  }
  for (QToolBar* b : f.findChildren<QToolBar*>())
    for (QObject* o : b->children())
      if ((qobject_cast<QToolButton*>(o) || qobject_cast<QComboBox*>(o)) &&
          !o->objectName().startsWith(QLatin1String("qt_")))
        ajoute(o);
  for (QToolButton* b : f.centralWidget()->findChildren<QToolButton*>()) ajoute(b);
  return r;
}

bool Active(QObject* o) {
  if (auto* a = qobject_cast<QAction*>(o)) return a->isEnabled();
  return static_cast<QWidget*>(o)->isEnabled();
}

// The menu an entry belongs to; none for a menu or a control.
QAction* MenuDe(TFichePrincipale& f, QObject* o) {
  for (QAction* m : f.menuBar()->actions())
    if (m != o && m->menu()->actions().contains(qobject_cast<QAction*>(o))) return m;
  return nullptr;
}

void VerifieEtat(TFichePrincipale& f, bool Attendu::*colonne, const char* etat) {
  SCOPED_TRACE(etat);
  const std::map<std::string, QObject*> commandes = Commandes(f);
  std::set<std::string> vus;
  for (const auto& [nom, o] : commandes) {
    vus.insert(nom);
    const auto ligne = Table().find(nom);
    if (ligne == Table().end()) {
      ADD_FAILURE() << nom << " : commande absente de la table";
      continue;
    }
    const Attendu& a = ligne->second;
    const auto* action = qobject_cast<QAction*>(o);
    const bool menu = action && action->menu();
    if (!menu) EXPECT_EQ(AUnGestionnaire(o), a.gestionnaire) << nom;
    // A command without handler is never usable.
    if (!a.gestionnaire && !menu) EXPECT_FALSE(a.*colonne) << nom << " : ligne fausse";
    QAction* dans = MenuDe(f, o);
    const bool utilisable = Active(o) && (!dans || dans->isEnabled());
    EXPECT_EQ(utilisable, a.*colonne) << nom;
    if (!a.gestionnaire && !menu) EXPECT_FALSE(Active(o)) << nom << " : active sans gestionnaire";
    // A menu is usable exactly when one of its visible entries is.
    if (menu && action->isEnabled()) {
      bool entree = false;
      for (QAction* e : action->menu()->actions()) entree = entree || (!e->isSeparator() && e->isVisible() && e->isEnabled());
      EXPECT_TRUE(entree) << nom << " : menu actif sans entrée utilisable";
    }
  }
  for (const auto& [nom, a] : Table()) EXPECT_TRUE(vus.count(nom)) << nom << " : absente de la fenêtre";
}

}  // namespace

TEST(CommandesFenetre, ChaqueCommandeActiveExactementAvecSonGestionnaireEtSaRegle) {
  Fenetre w;
  TFichePrincipale& f = *w.f;
  VerifieEtat(f, &Attendu::aucun, "aucun document");

  // A new network: the surface cave and two surface points.
  f.NouveauReseau();
  survey::TReseau& r = w.Reseau();
  r.Nom = "Causse";
  r.CreeCaviteSurface();
  AjoutePointSurface(r, "S1", 1000, 2000);
  AjoutePointSurface(r, "S2", 1010, 2030);
  survey::Document().NomFichierCourant = w.dossier.Fichier("causse.cav");
  survey::Document().DocumentModifie = true;
  f.AfficheListeCavites(true);
  f.MajEtatControles();
  VerifieEtat(f, &Attendu::surface, "surface seule");

  // A cave of three shots from a third surface point.
  essai::AjouteCaviteLineaire(r, 3);
  survey::Document().DocumentModifie = true;
  f.AfficheListeCavites(true);
  f.MajEtatControles();
  ASSERT_EQ(f.Gestion().Reseau()->NombreVisees(f.Gestion().Reseau()->CaviteActive()), 3);
  VerifieEtat(f, &Attendu::cavites, "cavités");
}

TEST(CommandesFenetre, ImportDUnAutreReseauMajDuCarnetEtComparaisonAtteintes) {
  // The three commands whose handlers the window once left unreachable:
  // each asks its file, with its filter and title, and a cancel changes
  // nothing.
  Fenetre w;
  TFichePrincipale& f = *w.f;
  f.NouveauReseau();
  survey::TReseau& r = w.Reseau();
  essai::AjouteCaviteLineaire(r, 3);
  f.AfficheListeCavites(true);
  f.MajEtatControles();
  const struct {
    const char* commande;
    std::string filtre, titre;
  } cas[] = {
      {"ImportReseau", "Fichiers Gravelune|*.cav", ""},
      {"MajCarnet", "Fichiers d'export TopoDroid / Qave (*.th)|*.th", ""},
      {"ComparaisonCavites", "Fichiers Gravelune (*.cav)|*.cav", "Sélection d'une cavité à comparer"},
  };
  for (const auto& c : cas) {
    SCOPED_TRACE(c.commande);
    w.g.dialogues.Clear();
    QAction* a = Controle<QAction>(f, c.commande);
    ASSERT_TRUE(a->isEnabled());
    w.g.dialogues.QueueFile(std::nullopt);
    a->trigger();
    ASSERT_EQ(w.g.dialogues.Log().size(), 1u);
    EXPECT_EQ(w.g.dialogues.Log()[0].event, platform::ScriptedDialogs::Event::Open);
    EXPECT_EQ(w.g.dialogues.Log()[0].options.Filter.substr(0, c.filtre.size()), c.filtre);
    EXPECT_EQ(w.g.dialogues.Log()[0].options.Title, c.titre);
    EXPECT_EQ(r.NombreCavites(), 2);
    EXPECT_FALSE(survey::Document().DocumentModifie);
  }
}
