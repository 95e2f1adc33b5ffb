#pragma once
// cavtool export {gpx|kml|dxf} IN.cav OUT [--sans-points] and cavtool export
// svg IN.cav OUT.svg [--alti] [--echelle N]: the document read and exported
// by the program's own routine, its save dialog answered with OUT, its
// messages on standard error.  The SVG export computes the network and
// writes the plan of every cave (or, with --alti, the active cave's
// elevation) as a plan or elevation view would, at 1:N when given.
#include <string>
#include <vector>

namespace cavtool {

// True for the formats this verb writes (the first argument of "export").
bool ExportGeoConnu(const std::string& format);
// 0 when saved; 1 when the document cannot be read or the file is not
// written; 2 on bad arguments (a = format, IN, OUT and the options).
int ExporteGeo(const std::vector<std::string>& a);

}  // namespace cavtool
