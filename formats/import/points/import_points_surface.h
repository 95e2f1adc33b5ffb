#pragma once
// The import of surface points from a text file of coordinates or from a GPS
// exchange file (GPX waypoints) into the network's surface points.
//
// Text file: one point a line, "name X Y [Z] [comment]" split at the first of
// TAB, "|", ";" and blank that the line holds; decimal commas between digits
// read as points; a byte-order mark selects UTF-8 or UTF-16, otherwise the
// file is Windows-1252.
// GPX file (".gpx"): the waypoints, read as XML (attributes by name, the
// declared encoding, unknown elements skipped); X longitude and Y latitude,
// converted at once into the network's system when it has one.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "formats/import/plausibilite.h"

namespace survey {
class TListedePoints;
class TPointSpeleo;
class TReseau;
}  // namespace survey

namespace formats {

// The lines of a text file: a byte-order mark selects UTF-8 or UTF-16 (LE or
// BE); without one, valid UTF-8 with accents is read as UTF-8, anything else
// as Windows-1252.
std::vector<std::string> LignesFichierPoints(std::string_view octets);

// The next coordinate of the rest of a line: the rest loses its leading and
// trailing blanks; nothing left gives 0 and false; otherwise the field up to
// the separator is read as a number, or as its leading part that reads as
// one (0 when none), and the result is true.
bool ExtraitCoordonnee(std::string& reste, char separateur, double& valeur);

// One line of a text point file as a point (name, X, Y, Z, one comment line);
// none when the line holds no separator, or no X or no Y.
std::unique_ptr<survey::TPointSpeleo> LitLignePoint(std::string_view ligne);

// A coordinate of a point file that no instrument gives (plausibilite.h):
// the line (from 1), the field and its text as the file gives it.
struct RefusPoint {
  size_t Ligne = 0;
  ChampLecture Champ = ChampLecture::Aucun;
  std::string Texte;
};

// Appends the points of the text lines; returns how many were read.  A point
// whose X or Y is beyond any grid (PointImpossible) or whose Z is beyond
// ±AltitudeMax stops the reading there: the points before it stay appended
// and refus (when given) says which line and field.  lignesLues (when given)
// receives the line (from 1) of each point appended, in order.
int LitPointsTexte(const std::vector<std::string>& lignes, survey::TListedePoints& points,
                   RefusPoint* refus = nullptr, std::vector<size_t>* lignesLues = nullptr);
// The texts of the name, X, Y and Z fields of a line as LitLignePoint cuts it.
std::vector<std::string> ChampsLignePoint(std::string_view ligne);

// Appends the waypoints of a GPX document; X, Y are longitude and latitude in
// degrees, or, with a system given, the grid coordinates in that system and
// zone.  False (nothing appended) when the document is not well-formed XML,
// or when a waypoint's latitude, longitude or elevation is one no GPS gives
// (PositionImpossible), which refus (when given) names.
bool LitPointsGpx(std::string_view octets, survey::TListedePoints& points, const std::string& projection,
                  int32_t fuseau, RefusPoint* refus = nullptr);

// Why a GPX document is not well-formed XML, as the message shown:
// "le fichier <path> n'est pas un fichier GPX bien formé : ligne <n>,
// <what the parser found>"; empty when the document is well-formed.
std::string MessageGpxIllisible(const std::string& chemin, std::string_view octets);

// Reads the file, lets the user choose the points (TSelectImportDlg), converts
// them into the network's system and adds them to its surface points, a
// point named like an existing surface point updating it.  True when at least
// one point was added.  Messages: "impossible d'ouvrir le fichier " + path
// when the file cannot be read, MessageGpxIllisible for a GPX document that
// is not well-formed, "Le fichier ... ne comporte aucun point à importer"
// when nothing is left to import, "<fichier>, ligne <n> : <champ> impossible
// (<texte>)." for a coordinate no instrument gives (also for a longitude or
// latitude out of range once the points are said to be WGS 84), and nothing
// is added; cancelling says nothing.
bool ImportePointsSurface(const std::string& chemin, survey::TReseau& reseau);
// The same into the current network.
bool ImportePointsSurface(const std::string& chemin);

}  // namespace formats
