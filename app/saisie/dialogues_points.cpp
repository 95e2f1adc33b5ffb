#include "app/saisie/dialogues_points.h"

#include <QApplication>
#include <optional>
#include <string>

#include "app/saisie/choix_pt_surface_dlg.h"
#include "app/saisie/choix_rattach_dlg.h"
#include "app/saisie/coord_dlg.h"
#include "app/saisie/liste_suite_obs_dlg.h"
#include "app/saisie/rattach_dialog.h"
#include "app/saisie/saisie_suite_et_obs_dlg.h"
#include "platform/qt/conversions_qt.h"
#include "survey/ports_survey.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"

namespace app {

using platform::qt::Q;
using survey::TPointSpeleo;

void InstalleDialoguesPoints() {
  survey::PortsSurvey& ports = survey::Ports();
  ports.DialogueCoordonnees = [](TPointSpeleo& p, const std::string& titre) {
    TCoordDlg dlg(QApplication::activeWindow());
    if (!titre.empty()) dlg.setWindowTitle(Q(titre));
    if (survey::Document().RectifEnCours || !p.DesignPTopo.empty()) dlg.InitRectif(p);
    return dlg.Execute(p);
  };
  ports.DialogueSuiteGalerie = [](const survey::TDemandeSuiteGalerie& d) -> std::optional<int> {
    TRattachDialog dlg(QApplication::activeWindow());
    bool& rectif = survey::Document().RectifEnCours;
    const bool avant = rectif;
    rectif = d.Rectification;
    dlg.Init(d.NomGalerie, std::string(), d.Points);
    rectif = avant;
    dlg.setWindowTitle(Q(d.Titre));
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.Choix();
  };
  ports.VoirSuites = [](TPointSpeleo& p) {
    TListeSuiteObsDlg dlg(nullptr, p.SuiteObs, &p, true, QApplication::activeWindow());
    dlg.exec();
  };
  ports.ChoisitPointSurface = [](survey::TCavite& c, TPointSpeleo* propose) {
    return ChoisitPointSurface(QApplication::activeWindow(), c, propose);
  };
  ports.ChoisitPointRattachement = [](const survey::TDemandeRattachement& d) {
    TChoixRattachDlg dlg(d.Cavite, d.Titre, d.Point, d.PointsSurface, QApplication::activeWindow());
    return dlg.Execute();
  };
}

}  // namespace app
