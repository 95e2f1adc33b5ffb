#pragma once
// The enabled state of the main window's commands as a function of the
// document state.  The window applies the result to its controls.
#include <array>
#include <cstdint>
#include <optional>

namespace app {

// Commands and controls whose state follows the document.
enum class Commande : uint8_t {
  // Tool bar and second row.
  AjoutButton, CoordBtn, DimBtn, EnregistreButton, ButtonPlan, VisuCoupeBtn, ImprimeGalButton, ImprimeButton,
  Btn3D, GEBtn, DebutGalBtn, FinGalBtn, RatgalBtn, StatBtn, OrientBtn, VisuVisees, LeverEdit, DessinPlanBtn,
  DessinCoupeBtn, VisuSuitesBtn, ListeCoupesBox, GestionCoupesBtn, JonctionBtn, BasculeAffGalBtn, CherchePtBtn,
  RepeteRechercheBtn, GaleriesBox, SurfaceBton,
  // File menu.
  MnuEnregistrer, MnuEnregistrerSous, MnuImprimer,
  // Menus and their items.
  MenuImports, ImportAutreReseau, ImportTopoRobot, ImportVTopo, ImportTexte, ImportCarnet, NumeriserPlani,
  NumeriserAlti, MajCarnet,
  MenuExports, ExportPartie, ExportCSV, ExportPoints, ExportDXF, ExportVTopo, ExportKml, ExportGPX, ExportQave,
  MenuRectif, RectifCavite, RectifGalerie,
  MenuGestionCavites, SuppressionCav, ImpressionArbre, FusionGaleries,
  MenuCompensations, MenuMotifs, MenuOperateurs, MenuInstruments,
  NombreDeCommandes
};
inline constexpr int NombreDeCommandes = static_cast<int>(Commande::NombreDeCommandes);

// What happens to a command: left as it is, enabled or disabled.
enum class Activation : uint8_t { Inchangee, Active, Desactive };

// What the commands depend on.
struct EtatDocument {
  bool Reseau = false;            // a network is open
  int32_t NombreCavites = 0;      // caves of the network, the surface cave included
  int32_t ViseesCaviteActive = 0; // main shots of the active cave (0 without one)
  int32_t EntreesCaviteActive = 0;
  int32_t PointsSurface = 0;
  bool DemandeNomFichier = false;
  bool DocumentModifie = false;
};

// The three columns of the rules: no network (or no cave at all), only the
// surface cave, at least one cave besides the surface.
enum class NiveauDocument : uint8_t { Aucun, SurfaceSeule, Cavites };
NiveauDocument Niveau(const EtatDocument& e);

struct EtatsControles {
  std::array<Activation, NombreDeCommandes> Commandes{};
  // Visibility of the declination text; nullopt leaves it; ViderDeclinaison empties it.
  std::optional<bool> DeclinaisonVisible;
  bool ViderDeclinaison = false;
  // Visibility of the entrance label and selector; nullopt leaves it.
  std::optional<bool> EntreesVisibles;
  bool ViderCavites = false;    // the cave selector is emptied
  bool ViderGaleries = false;   // the gallery selector (text and items) and tree are emptied
  bool ViderTexteGalerie = false;  // only the gallery selector's text is emptied
  bool ViderLever = false;      // the trip text is emptied
  bool ViderCoupes = false;     // the long-section selector loses its items (it is disabled)

  Activation De(Commande c) const { return Commandes[static_cast<size_t>(c)]; }
};

// The rules, ending with the save button's state (enabled exactly when the
// document has unsaved changes).
EtatsControles MajEtatControles(const EtatDocument& e);

}  // namespace app
