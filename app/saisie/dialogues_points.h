#pragma once
// The small modal dialogs about single stations and surface points put
// behind the survey model's ports: the coordinate dialog (coord_dlg.h), the
// gallery continuation choice (rattach_dialog.h), the observation list
// (liste_suite_obs_dlg.h, with the observation dialog of
// saisie_suite_et_obs_dlg.h), the surface-point choice
// (choix_pt_surface_dlg.h) and the attachment-point choice
// (choix_rattach_dlg.h).

namespace app {

// Makes these windows the survey model's coordinate dialog, gallery
// continuation choice, observation list, surface-point choice and
// attachment-point choice.
void InstalleDialoguesPoints();

}  // namespace app
