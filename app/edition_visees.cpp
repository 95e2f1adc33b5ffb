// The shot table's creation and correction of shots, through the cave's
// operations and the shot-entry dialog.
#include "app/fiche_principale.h"
#include "app/zone_visees.h"
#include "survey/cavite.h"
#include "survey/ports_survey.h"

namespace app {

void TFichePrincipale::InstalleEditionVisees() {
  // No enabled control that does nothing: adding, inserting and correcting
  // wait for the dialog.
  if (!survey::Ports().DialogueSaisieVisee) {
    disponibles_.remove(QStringLiteral("AjoutButton"));
    return;
  }
  zone_->CreeVisee = [](survey::TCavite& c, survey::TVisee* source) -> survey::TValeurVisee* {
    survey::TValeurVisee* cree = nullptr;
    return c.CreeVisee(source, cree) ? cree : nullptr;
  };
  zone_->RectifVisee = [](survey::TCavite& c, survey::TValeurVisee& v) { return c.RectifVisee(v); };
}

}  // namespace app
