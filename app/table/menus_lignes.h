#pragma once
// The popup menu of a main-shot row of the shot table: which of its items
// show for the row, their captions, and the shots its loop item and the
// items that follow it select.  No Qt here: the table's menu maps the
// entries onto its actions each time it opens.
#include <string>
#include <vector>

namespace survey {
class TCavite;
class TVisee;
}  // namespace survey

namespace app {

// The items in the menu's order.  AllerAVisee stands for each item appended
// after the loop item, one per further shot computed at the same station.
enum class ElementMenuLigne {
  ChangerOrigine,
  CreerCompensation,
  SupprimerFinGalerie,
  IndividualiserFinGalerie,
  ChangerRattachement,
  ImporterPartie,
  PointDeBoucle,
  AllerAVisee,
  CreerBoucle,
  TransfoViseeBouclage,
  SupprimerRattachement,
  TransfoEnHabi,
  Renumeroter,
};

struct EntreeMenuLigne {
  ElementMenuLigne Element;
  std::string Libelle;
  bool Visible = true;
  // The window the item opens is installed (an item without it stays
  // disabled).
  bool Actif = true;
  // The loop item and its followers: the shot whose row they select; none
  // when the loop partner lies in another cave (AutreCavite).
  survey::TVisee* Cible = nullptr;
  bool AutreCavite = false;
};

// The entries of the menu for the row of shot visee in cavite (the active
// cave), premiereLigne when it is the table's first row: every fixed item
// once, in order, with its visibility, and after the loop item one
// AllerAVisee entry per further shot computed at the same station.  The
// items that need a window of the survey ports are inactive without it.
std::vector<EntreeMenuLigne> EntreesMenuLigne(const survey::TCavite& cavite, const survey::TVisee& visee,
                                              bool premiereLigne);

// The other shots of the cave whose computed station is that of visee, in
// the cave's order.
std::vector<survey::TVisee*> ViseesMultiCalcul(const survey::TCavite& cavite, const survey::TVisee& visee);

}  // namespace app
