#include "survey/dossiers.h"

#include <cstdlib>

#include "platform/dialogs.h"
#include "platform/files.h"
#include "survey/contexte_document.h"
#include "survey/contexte_survey.h"

namespace survey {
namespace {
std::string& DossierDeDepart() { return ContexteSurvey().DossierDeDepart; }
}  // namespace

std::string DossierSpecial(int numero) {
  if (numero == 5) return platform::DocumentsFolder();
  const char* h = std::getenv("HOME");
  return h ? std::string(h) : platform::DocumentsFolder();
}

bool DossierValide(const std::string& dossier) {
  const std::string actuel = platform::CurrentFolder();
  const bool ok = platform::SetCurrentFolder(dossier);
  platform::SetCurrentFolder(actuel);
  return ok;
}

std::string DossierDeTravail() {
  std::string d;
  if (!Document().NomFichierCourant.empty())
    d = platform::FolderOf(Document().NomFichierCourant);
  else
    d = Document().RepertoireReseau;
  if (d.empty() || !DossierValide(d)) d = DossierSpecial(5);
  if (!d.empty() && d.back() != '/') d += '/';
  return d;
}

std::string DossierGravelune() { return DossierSpecial(5) + "/Gravelune/"; }

const std::string& DossierExecutable() {
  static const std::string d = platform::ExecutableFolder();
  return d;
}

void InitialiseSurvey() {
  DossierDeDepart() = platform::CurrentFolder();
  platform::SetCurrentFolder(DossierGravelune());
}

void TermineSurvey() {
  if (!DossierDeDepart().empty()) platform::SetCurrentFolder(DossierDeDepart());
}

void CurseurAttente() { platform::Dialogs::Current().SetBusyCursor(true); }
void CurseurNormal() { platform::Dialogs::Current().SetBusyCursor(false); }

}  // namespace survey
