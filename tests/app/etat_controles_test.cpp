// The commands' states over the document states, for the plan and the
// elevation commands and the rest of the rules.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/commun/etat_controles.h"

using namespace app;

namespace {

constexpr Activation A = Activation::Active, D = Activation::Desactive, I = Activation::Inchangee;

EtatDocument Aucun() { return {}; }
EtatDocument SurfaceSeule(int32_t points) {
  EtatDocument e;
  e.Reseau = true;
  e.NombreCavites = 1;
  e.PointsSurface = points;
  return e;
}
EtatDocument AvecCavites(int32_t visees, int32_t points = 0) {
  EtatDocument e;
  e.Reseau = true;
  e.NombreCavites = 3;
  e.ViseesCaviteActive = visees;
  e.PointsSurface = points;
  return e;
}
EtatDocument ReseauSansCavite() {
  EtatDocument e;
  e.Reseau = true;
  return e;
}

}  // namespace

TEST(EtatControles, CommandesPlanEtCoupeSelonLeDocument) {
  using C = Commande;
  struct Case {
    const char* nom;
    EtatDocument etat;
    // Plan: ButtonPlan, DessinPlanBtn, VisuSuitesBtn, NumeriserPlani.
    Activation plan, dessinPlan, suites, numPlani;
    // Elevation: VisuCoupeBtn, Btn3D, DessinCoupeBtn, ListeCoupesBox, GestionCoupesBtn, NumeriserAlti.
    Activation coupe, vue3D, dessinCoupe, coupes, gestionCoupes, numAlti;
  };
  const Case cases[] = {
      {"aucun document", Aucun(), D, D, D, D, D, D, D, D, D, D},
      {"reseau sans cavite", ReseauSansCavite(), D, D, D, D, D, D, D, D, D, D},
      {"surface seule, un point", SurfaceSeule(1), D, D, D, D, D, D, D, D, D, D},
      {"surface seule, deux points", SurfaceSeule(2), A, D, D, D, D, D, D, D, D, D},
      {"cavites sans visee", AvecCavites(0), D, D, D, D, D, D, D, D, D, D},
      {"cavites sans visee, points", AvecCavites(0, 2), A, D, D, A, D, D, D, D, D, D},
      {"cavite avec visees", AvecCavites(5), A, A, A, D, A, A, A, A, A, A},
  };
  for (const Case& c : cases) {
    const EtatsControles r = MajEtatControles(c.etat);
    EXPECT_EQ(r.De(C::ButtonPlan), c.plan) << c.nom;
    EXPECT_EQ(r.De(C::DessinPlanBtn), c.dessinPlan) << c.nom;
    EXPECT_EQ(r.De(C::VisuSuitesBtn), c.suites) << c.nom;
    EXPECT_EQ(r.De(C::NumeriserPlani), c.numPlani) << c.nom;
    EXPECT_EQ(r.De(C::VisuCoupeBtn), c.coupe) << c.nom;
    EXPECT_EQ(r.De(C::Btn3D), c.vue3D) << c.nom;
    EXPECT_EQ(r.De(C::DessinCoupeBtn), c.dessinCoupe) << c.nom;
    EXPECT_EQ(r.De(C::ListeCoupesBox), c.coupes) << c.nom;
    EXPECT_EQ(r.De(C::GestionCoupesBtn), c.gestionCoupes) << c.nom;
    EXPECT_EQ(r.De(C::NumeriserAlti), c.numAlti) << c.nom;
    EXPECT_EQ(r.ViderCoupes, c.coupes == D) << c.nom;
  }
}

TEST(EtatControles, ReglesParColonne) {
  using C = Commande;
  // Each row: the command and its state with no document, the surface only
  // (no point), caves whose active cave has one shot.
  struct Case {
    C commande;
    const char* nom;
    Activation aucun, surface, cavites;
  };
  const Case cases[] = {
      {C::AjoutButton, "AjoutButton", D, D, A},
      {C::CoordBtn, "CoordBtn", D, D, A},
      {C::MnuEnregistrer, "&Enregistrer", D, A, A},
      {C::MnuEnregistrerSous, "En&registrer sous", D, A, A},
      {C::ImprimeButton, "ImprimeButton", D, A, A},
      {C::GEBtn, "GEBtn", D, D, D},
      {C::MenuImports, "Imports", A, A, A},
      {C::ImportAutreReseau, "Depuis un autre réseau", D, A, A},
      {C::ImportTopoRobot, "Fichier TopoRobot", A, A, A},
      {C::ImportVTopo, "Fichier VTopo", A, A, A},
      {C::ImportTexte, "Tableau texte", A, A, A},
      {C::ImportCarnet, "Fichier Carnet Electronique", A, A, A},
      {C::NumeriserPlani, "Numériser une topo image (Plani)", D, D, D},
      {C::MajCarnet, "Maj Carnet Electronique", D, D, A},
      {C::MenuExports, "Exports", D, A, A},
      {C::ExportCSV, "Fichier texte (CSV)", I, D, A},
      {C::ExportKml, "Fichier Kml", I, D, A},
      {C::ExportPartie, "Partie d'une cavité", I, D, A},
      {C::ExportQave, "Fichier pour Qave", I, D, A},
      {C::MenuRectif, "Rectif Désign", D, A, A},
      {C::RectifCavite, "Cavité", I, D, A},
      {C::RectifGalerie, "Galerie", I, D, A},
      {C::MenuGestionCavites, "Gestion Cavités", D, D, A},
      {C::FusionGaleries, "Fusion de galeries", I, I, A},
      {C::MenuCompensations, "Compensations", D, D, A},
      {C::StatBtn, "StatBtn", D, D, A},
      {C::JonctionBtn, "JonctionBtn (une visée)", D, D, D},
      {C::BasculeAffGalBtn, "BasculeAffGalBtn", D, D, A},
      {C::MenuMotifs, "Motifs / Fontes", D, A, A},
      {C::RepeteRechercheBtn, "RepeteRechercheBtn", D, D, I},
      {C::GaleriesBox, "GaleriesBox", D, D, A},
      {C::SurfaceBton, "SurfaceBton", D, A, A},
  };
  const EtatsControles aucun = MajEtatControles(Aucun());
  const EtatsControles surface = MajEtatControles(SurfaceSeule(0));
  const EtatsControles cavites = MajEtatControles(AvecCavites(1));
  for (const Case& c : cases) {
    EXPECT_EQ(aucun.De(c.commande), c.aucun) << c.nom << " sans document";
    EXPECT_EQ(surface.De(c.commande), c.surface) << c.nom << " surface seule";
    EXPECT_EQ(cavites.De(c.commande), c.cavites) << c.nom << " avec cavites";
  }
  EXPECT_EQ(MajEtatControles(AvecCavites(2)).De(C::JonctionBtn), A);
  EXPECT_EQ(MajEtatControles(SurfaceSeule(1)).De(C::ExportGPX), A);
}

TEST(EtatControles, SauvegardeTextesEtSelecteurs) {
  using C = Commande;
  // Saving follows the unsaved changes; "save as" waits while a name is asked.
  EtatDocument e = AvecCavites(3);
  EXPECT_EQ(MajEtatControles(e).De(C::EnregistreButton), D);
  e.DocumentModifie = true;
  e.DemandeNomFichier = true;
  EXPECT_EQ(MajEtatControles(e).De(C::EnregistreButton), A);
  EXPECT_EQ(MajEtatControles(e).De(C::MnuEnregistrerSous), D);

  const EtatsControles aucun = MajEtatControles(Aucun());
  EXPECT_TRUE(aucun.ViderDeclinaison);
  EXPECT_FALSE(aucun.DeclinaisonVisible.has_value());
  EXPECT_EQ(aucun.EntreesVisibles, false);
  EXPECT_TRUE(aucun.ViderCavites);
  EXPECT_TRUE(aucun.ViderGaleries);

  EtatDocument surface = SurfaceSeule(0);
  surface.EntreesCaviteActive = 2;
  const EtatsControles s = MajEtatControles(surface);
  EXPECT_EQ(s.DeclinaisonVisible, false);
  EXPECT_EQ(s.EntreesVisibles, true);
  EXPECT_TRUE(s.ViderCavites);
  EXPECT_TRUE(s.ViderLever);

  const EtatsControles sansVisee = MajEtatControles(AvecCavites(0));
  EXPECT_EQ(sansVisee.DeclinaisonVisible, false);
  EXPECT_FALSE(sansVisee.EntreesVisibles.has_value());
  EXPECT_FALSE(sansVisee.ViderCavites);
  EXPECT_TRUE(sansVisee.ViderLever);
  EXPECT_TRUE(sansVisee.ViderTexteGalerie);
  const EtatsControles avec = MajEtatControles(AvecCavites(4));
  EXPECT_EQ(avec.DeclinaisonVisible, true);
  EXPECT_FALSE(avec.ViderLever);
}
