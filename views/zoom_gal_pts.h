#pragma once
// The zoom dialog without its widgets (the model of TZoomGalPtsDlg,
// views/windows/zoom_gal_pts_dlg.h): the rectangle of a gallery's stations
// or of the shots at a station, in the plane of the current drawing kind,
// and the sorted lists the dialog offers.  The choices it remembers between
// openings are in the views' context (TEtatVisu::ChoixZoom).
#include <vector>

#include "views/types_fiches.h"

namespace survey {
class TCavite;
class TGalerie;
class TPointSpeleo;
}  // namespace survey

namespace views {

// A rectangle narrower and lower than this (metres) becomes this wide about
// its centre; its height is kept.
inline constexpr double LargeurMinZoom = 4.0;

// Widens r over the station's (X, Y), or (Slh, Z) in an elevation drawing;
// the first point sets r.
void AjoutePointZoom(TZoomCavite& r, bool premier, const survey::TPointSpeleo& p);
// The rectangle of the gallery's stations in order, or of the two ends of
// every shot at the station, then at least 4 m wide when it is smaller than
// 4 m both ways.  Stations the computation left without coordinates do not
// count.  False, and r unchanged, when there is nothing to frame.
bool ZoomGalerie(const survey::TGalerie& g, TZoomCavite& r);
bool ZoomPoint(const survey::TPointSpeleo& p, TZoomCavite& r);

// The cave's galleries, the cave's stations and a gallery's stations, sorted
// by name (case ignored, leading numbers in numeric order).
std::vector<survey::TGalerie*> GaleriesTriees(const survey::TCavite& c);
std::vector<survey::TPointSpeleo*> PointsCaviteTries(const survey::TCavite& c);
std::vector<survey::TPointSpeleo*> PointsGalerieTries(const survey::TGalerie& g);

}  // namespace views
