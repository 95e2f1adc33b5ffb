#pragma once
// The program's start and end: the start-up of every unit in order, the
// instance lock, the main window and its message loop, then the settings
// written back.
#include <string>
#include <vector>

namespace app {

// The command-line arguments after the program's name, a relative path made
// absolute against the folder the program was started from (the working
// folder becomes current at start-up).
std::vector<std::string> ArgumentsAbsolus(const std::vector<std::string>& arguments, const std::string& dossierDepart);

// What the program plugs into the subsystems before the settings are read:
// the projection catalogue of the settings' region, the document links of
// every subsystem (pattern library, drawings, maps, layouts, imports), the
// import's gallery dialog, the recent list and the default pattern files.
void InstalleLiaisonsApplication();
// After the settings were read: what they give the subsystems (watermark
// colour) and the declination table.
void AppliqueConfigAuxSousSystemes();
// Once the ports can speak to the user, before the main window: the pattern
// file the settings name under "Motifs Th2" loaded into the Therion set, the
// library the Therion imports take their patterns from (a file that cannot
// be read is reported and dropped from the settings).
void ChargeMotifsDemarrage();

// Loads Qt's own French texts (standard dialogs and buttons, the file
// dialog's columns and places) into the running application; true when they
// are installed (a second call keeps the first).  False without an
// application or without Qt's translation files.
bool InstalleTraductionsQt();

// Runs the program; the exit code.
int LanceGravelune(int argc, char** argv);

}  // namespace app
