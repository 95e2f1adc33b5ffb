#pragma once
// cavtool export {gpx|kml|dxf} IN.cav OUT [--sans-points]: the document read and
// exported by the program's own routine, its save dialog answered with OUT,
// its messages on standard error.
#include <string>
#include <vector>

namespace cavtool {

// True for the formats this verb writes (the first argument of "export").
bool ExportGeoConnu(const std::string& format);
// 0 when saved; 1 when the document cannot be read or the file is not
// written; 2 on bad arguments (a = format, IN, OUT and the options).
int ExporteGeo(const std::vector<std::string>& a);

}  // namespace cavtool
