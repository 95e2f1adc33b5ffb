#include "app/commun/etat_controles.h"

namespace app {

NiveauDocument Niveau(const EtatDocument& e) {
  if (!e.Reseau || e.NombreCavites <= 0) return NiveauDocument::Aucun;
  return e.NombreCavites == 1 ? NiveauDocument::SurfaceSeule : NiveauDocument::Cavites;
}

EtatsControles MajEtatControles(const EtatDocument& e) {
  using C = Commande;
  using A = Activation;
  EtatsControles r;
  const NiveauDocument n = Niveau(e);
  const bool S = e.ViseesCaviteActive > 0;
  const int32_t P = e.PointsSurface;
  const auto si = [](bool b) { return b ? A::Active : A::Desactive; };
  // One rule per command: its value in each of the three columns.
  const auto regle = [&](std::initializer_list<C> commandes, A aucun, A surface, A cavites) {
    const A v = n == NiveauDocument::Aucun ? aucun : n == NiveauDocument::SurfaceSeule ? surface : cavites;
    for (C c : commandes) r.Commandes[static_cast<size_t>(c)] = v;
  };
  constexpr A D = A::Desactive, E = A::Active, I = A::Inchangee;

  regle({C::AjoutButton}, D, D, E);
  regle({C::CoordBtn, C::DimBtn}, D, D, si(S));
  regle({C::EnregistreButton, C::MnuEnregistrer}, D, E, E);
  regle({C::MnuEnregistrerSous}, D, si(!e.DemandeNomFichier), si(!e.DemandeNomFichier));
  regle({C::ButtonPlan}, D, si(P > 1), si(S || P > 1));
  regle({C::VisuCoupeBtn, C::ImprimeGalButton, C::Btn3D}, D, D, si(S));
  regle({C::ImprimeButton, C::MnuImprimer}, D, E, si(S));
  regle({C::GEBtn}, D, si(P > 0), si(P > 0));
  // Importing a foreign file with no document creates one: the menu and its
  // file imports are there from the start.
  regle({C::MenuImports}, E, E, E);
  regle({C::ImportAutreReseau}, D, E, E);
  regle({C::ImportTopoRobot, C::ImportVTopo, C::ImportTexte, C::ImportCarnet}, E, E, E);
  regle({C::NumeriserPlani}, D, D, si(P > 0));
  regle({C::NumeriserAlti, C::MajCarnet}, D, D, si(S));
  regle({C::MenuExports}, D, E, si(S));
  regle({C::ExportPartie, C::ExportCSV, C::ExportPoints, C::ExportDXF, C::ExportVTopo}, I, D, E);
  // The Qave export, like the export of a part, writes shots of the active cave.
  regle({C::ExportQave}, I, D, E);
  regle({C::ExportKml, C::ExportGPX}, I, si(P > 0), E);
  regle({C::MenuRectif}, D, E, E);
  regle({C::RectifCavite}, I, D, E);
  regle({C::RectifGalerie}, I, D, si(S));
  regle({C::MenuGestionCavites, C::SuppressionCav}, D, D, E);
  regle({C::ImpressionArbre, C::FusionGaleries}, I, I, si(S));
  regle({C::MenuCompensations, C::DebutGalBtn, C::FinGalBtn, C::RatgalBtn, C::StatBtn, C::OrientBtn}, D, D, si(S));
  regle({C::VisuVisees, C::LeverEdit, C::DessinPlanBtn, C::DessinCoupeBtn, C::VisuSuitesBtn, C::ListeCoupesBox,
         C::GestionCoupesBtn, C::CherchePtBtn},
        D, D, si(S));
  regle({C::JonctionBtn}, D, D, si(e.ViseesCaviteActive > 1));
  regle({C::BasculeAffGalBtn}, D, D, E);
  regle({C::MenuMotifs, C::MenuOperateurs, C::MenuInstruments}, D, E, E);
  regle({C::RepeteRechercheBtn}, D, D, I);
  regle({C::GaleriesBox}, D, D, E);
  r.Commandes[static_cast<size_t>(C::SurfaceBton)] = si(e.Reseau);

  switch (n) {
    case NiveauDocument::Aucun:
      r.ViderDeclinaison = true;
      r.EntreesVisibles = false;
      r.ViderCavites = true;
      r.ViderGaleries = true;
      break;
    case NiveauDocument::SurfaceSeule:
      r.DeclinaisonVisible = false;
      r.EntreesVisibles = e.EntreesCaviteActive > 1;
      r.ViderCavites = true;
      r.ViderGaleries = true;
      r.ViderLever = !S;
      break;
    case NiveauDocument::Cavites:
      r.DeclinaisonVisible = S;
      r.ViderLever = !S;
      r.ViderTexteGalerie = !S;
      break;
  }
  r.ViderCoupes = r.De(C::ListeCoupesBox) == A::Desactive;
  // The save button follows the unsaved changes.
  r.Commandes[static_cast<size_t>(C::EnregistreButton)] = si(e.DocumentModifie);
  return r;
}

}  // namespace app
