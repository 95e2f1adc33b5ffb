// The shot table's creation and correction of shots, through the cave's
// operations and the shot-entry dialog.
#include <QToolButton>

#include "app/commun/commande_connectee.h"
#include "app/fiche_principale.h"
#include "app/table/zone_visees.h"
#include "survey/cavite.h"
#include "survey/ports_survey.h"

namespace app {

void TFichePrincipale::InstalleEditionVisees() {
  // Adding, inserting and correcting go through the shot dialog.
  if (survey::Ports().DialogueSaisieVisee) {
    zone_->CreeVisee = [](survey::TCavite& c, survey::TVisee* source) -> survey::TValeurVisee* {
      survey::TValeurVisee* cree = nullptr;
      return c.CreeVisee(source, cree) ? cree : nullptr;
    };
    zone_->RectifVisee = [](survey::TCavite& c, survey::TValeurVisee& v) { return c.RectifVisee(v); };
  }
  // No enabled control that does nothing: "Visée +" gets its handler once
  // the table can create shots, and only once.
  auto* ajout = findChild<QToolButton*>(QStringLiteral("AjoutButton"));
  if (ajout && zone_->CreeVisee && !AUnGestionnaire(ajout)) Connecte(ajout, [this] { zone_->AjoutButtonClick(); });
}

}  // namespace app
