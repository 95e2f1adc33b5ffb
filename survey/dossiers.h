#pragma once
// Folders the program works in, and the start-up and exit of the survey unit.
#include <string>

namespace survey {

// The shell's special folder of the given number (5: the user's documents).
std::string DossierSpecial(int numero);
// True when the folder can be made current (the current folder is kept).
bool DossierValide(const std::string& dossier);
// Where file dialogs open: the current document's folder, else the configured
// folder of networks, else the user's documents folder; with a trailing '/'.
std::string DossierDeTravail();
// The working folder: the user's documents followed by "Gravelune/".
std::string DossierGravelune();
// The folder of the executable, with a trailing separator.
const std::string& DossierExecutable();

// Start-up: remembers the current folder and makes the working folder current
// when it exists.  Exit puts the remembered folder back.
void InitialiseSurvey();
void TermineSurvey();

// Hourglass cursor on and off.
void CurseurAttente();
void CurseurNormal();

}  // namespace survey
