#include "app/echanges/commandes_export.h"

#include "formats/export/dxf/export_dxf.h"
#include "formats/export/export_vtopo.h"
#include "formats/export/gpx/export_gpx.h"
#include "formats/export/kml/export_kml.h"
#include "formats/export/partie/export_partie_cavite.h"
#include "formats/export/qave/export_qave.h"
#include "foundation/catalogue.h"
#include "foundation/transformation_vue.h"
#include "platform/dialogs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/reseau.h"

namespace app {

namespace {

using foundation::IdMsg;
using foundation::Msg;

survey::TReseau* Reseau() { return survey::Document().ReseauCourant; }

// The network attached to a coordinate system, else none after the message.
survey::TReseau* ReseauRattache() {
  survey::TReseau* r = Reseau();
  if (!r) return nullptr;
  if (r->Projection.empty()) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning, Msg(IdMsg::AppExportSansSysteme));
    return nullptr;
  }
  return r;
}

// The network when one of its caves is active.
survey::TReseau* ReseauCaviteActive() {
  survey::TReseau* r = Reseau();
  return r && r->LaCaviteActive && !r->LaCaviteActive->EstSurface ? r : nullptr;
}

bool ADesCavites(const survey::TReseau& r) {
  for (int i = 0; i < r.NombreCavites(); ++i)
    if (const survey::TCavite* c = r.UneCavite(i); c && !c->EstSurface) return true;
  return false;
}

}  // namespace

void ExporteCSV() {
  survey::TReseau* r = Reseau();
  if (!r) return;
  r->CalculeReseau();
  if (r->NombreCavites() < 2 || !r->LaCaviteActive || r->LaCaviteActive->EstSurface) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information, Msg(IdMsg::AppExportAucuneCavite));
    return;
  }
  r->LaCaviteActive->GenereFichierCSV();
}

void ExporteVTopo() {
  survey::TReseau* r = Reseau();
  if (!r || r->NombreCavites() < 2 || !r->LaCaviteActive || r->LaCaviteActive->EstSurface) return;
  r->CalculeReseau();
  formats::GenereFichierTRO(*r->LaCaviteActive);
}

void ExporteDxf() {
  survey::TReseau* r = Reseau();
  if (!r) return;
  foundation::Vue().TypeDessinCourant = foundation::TTypeDeDessin::tddPlani;
  formats::GenereFichierDxf(*r);
}

void ExporteKml() {
  survey::TReseau* r = ReseauRattache();
  if (!r) return;
  foundation::Vue().TypeDessinCourant = foundation::TTypeDeDessin::tddPlani;
  formats::GenereFichierKml(*r);
}

void ExporteGpx() {
  survey::TReseau* r = ReseauRattache();
  if (!r) return;
  bool pointsSurface = true;
  if (ADesCavites(*r))
    pointsSurface =
        platform::Dialogs::Current().AskYesNo(Msg(IdMsg::AppExportPointsSurface)) == platform::Answer::Yes;
  formats::GenereFichierGpx(*r, pointsSurface);
}

void VisualiseGoogleEarth() {
  survey::TReseau* r = ReseauRattache();
  if (!r) return;
  foundation::Vue().TypeDessinCourant = foundation::TTypeDeDessin::tddPlani;
  formats::VisualiseKml(*r);
}

void ExportePartie() {
  if (survey::TReseau* r = ReseauCaviteActive()) formats::ExportePartieCavite(*r);
}

void ExporteFichierQave() {
  if (survey::TReseau* r = ReseauCaviteActive()) formats::ExporteQave(*r);
}

}  // namespace app
