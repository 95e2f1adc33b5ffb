#include "app/application.h"

#include <QApplication>
#include <QLocale>
#include <filesystem>
#include <system_error>

#include "app/config_generale.h"
#include "app/document_reseau.h"
#include "app/document_survey.h"
#include "app/fiche_principale.h"
#include "foundation/catalogue.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/qt/qt_ports.h"
#include "survey/contexte_document.h"
#include "survey/dossiers.h"

namespace app {

std::vector<std::string> ArgumentsAbsolus(const std::vector<std::string>& arguments, const std::string& dossierDepart) {
  std::vector<std::string> out = arguments;
  // The arguments form one path once joined: only the first one carries its start.
  if (!out.empty() && !out.front().empty() && out.front().front() != '/' && !dossierDepart.empty())
    out.front() = dossierDepart + (dossierDepart.back() == '/' ? "" : "/") + out.front();
  return out;
}

int LanceGravelune(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
  arguments = ArgumentsAbsolus(arguments, platform::CurrentFolder());

  // Start-up of the units, in order: the working folder (created when
  // missing) becomes current, then the settings are read.
  {
    std::error_code ec;
    std::filesystem::create_directories(survey::DossierGravelune(), ec);
  }
  survey::InitialiseSurvey();
  const CheminsConfig chemins = CheminsFichierConfig();
  LitConfigGenerale(chemins.Lecture);

  // Another instance holds the lock: documents it marked open read-only.
  platform::FileInstanceLock verrou;
  survey::Document().AutreInstance = verrou.AnotherInstance();

  int code = 0;
  {
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale::c());
    QApplication::setApplicationName(QStringLiteral("gravelune"));
    QApplication::setApplicationDisplayName(QString::fromStdString(foundation::Msg(foundation::IdMsg::AppTitreApplication)));
    platform::QtPorts ports;
    TFichePrincipale fiche(FabriqueSurvey(), arguments);
    fiche.show();
    code = application.exec();
  }

  survey::TermineSurvey();
  EcritConfigGenerale(chemins.Ecriture);
  return code;
}

}  // namespace app
