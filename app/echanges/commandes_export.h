#pragma once
// The export commands of the main window, on the open network; each shows
// its own dialogs and messages, and does nothing without a network.
namespace app {

// "Fichier texte (CSV)": the active cave, once the network is computed.
void ExporteCSV();
// "Fichier VTopo": the active cave, once the network is computed.
void ExporteVTopo();
// "Fichier DXF": the active cave in the plan's coordinates.
void ExporteDxf();
// "Fichier Kml" and "Trace GPS (fichier GPX)": a network attached to a
// coordinate system only.
void ExporteKml();
void ExporteGpx();
// The Google Earth button: the KML preview of the attached network.
void VisualiseGoogleEarth();
// "Partie d'une cavité" and "Fichier pour Qave": the shots chosen in the
// selection window over the active cave, as a document of their own or as
// a Qave file.  Nothing without an active cave.
void ExportePartie();
void ExporteFichierQave();

}  // namespace app
