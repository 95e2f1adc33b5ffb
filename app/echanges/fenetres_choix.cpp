#include "app/echanges/fenetres_choix.h"

#include <QApplication>

#include "drawing/contexte_dessin.h"
#include "formats/export/ports_export.h"
#include "formats/import/galeries_import.h"
#include "platform/qt/conversions_qt.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/reseau.h"
#include "views/windows/fiche_origine_import.h"
#include "views/windows/fiche_select_transfert.h"

namespace app {

void InstalleFenetresChoix() {
  // The shots of the active cave picked in the selection window, left
  // marked.  A window refused at creation is not shown and counts as
  // cancelled.
  formats::FenetresExport().ChoisitVisees = [](const formats::TDemandeChoixVisees& demande) {
    survey::TReseau* reseau = survey::Document().ReseauCourant;
    if (!reseau || !demande.Cavite) return false;
    drawing::GardeValeur<survey::TCavite*> active(reseau->LaCaviteActive, demande.Cavite);
    auto fenetre = views::TFicheGraphique::Cree<views::TFicheSelectTransfert>(QApplication::activeWindow());
    fenetre->ComposCoupe = demande.ComposCoupe;
    fenetre->setWindowTitle(platform::qt::Q(demande.Titre));
    return fenetre->Execute() == QDialog::Accepted;
  };
  // The cave being imported is the network's active cave while the gallery
  // dialog shows the window; the station chosen stays in its PointImport.
  formats::FenetresImport().ChoisitOrigineImport = [](survey::TCavite& cavite) {
    survey::TReseau* reseau = survey::Document().ReseauCourant;
    if (!reseau || reseau->LaCaviteActive != &cavite) return false;
    auto fenetre = views::TFicheGraphique::Cree<views::TFicheOrigineImport>(QApplication::activeWindow());
    return fenetre->Execute() == QDialog::Accepted;
  };
}

}  // namespace app
