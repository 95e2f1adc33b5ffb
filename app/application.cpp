#include "app/application.h"

#include <QApplication>
#include <QLocale>
#include <filesystem>
#include <system_error>

#include "app/choix_fusion_dlg.h"
#include "app/config_generale.h"
#include "app/document_reseau.h"
#include "app/document_survey.h"
#include "app/fiche_principale.h"
#include "app/galeries_import_dlg.h"
#include "drawing/contexte_dessin.h"
#include "drawing/contexte_motifs.h"
#include "drawing/liste_mtf.h"
#include "projections/regions.h"
#include "survey/declinaison.h"
#include "survey/parties_reseau.h"
#include "tools/cavtool/liaisons_document.h"
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

namespace {

// The library of the network being created, while the default pattern file
// completes it (the network is not yet the current one).
drawing::tListeMtf* bibliothequeEnCreation = nullptr;

}  // namespace

void InstalleLiaisonsApplication() {
  ServicesConfig& services = Services();
  services.ChangeListeProjections = [](int32_t region) { projections::ChangeListeProjections(region); };
  cavtool::InstalleLiaisonsProgramme();
  InstalleDialogueGaleriesImport();
  InstalleDialogueChoixFusion();
  survey::Fabriques().AjouteFichierRecent = [](const std::string& chemin, int32_t cavite) {
    AjouteFichierRecent(Config().ListeDerniersFichiers, chemin, cavite);
  };
  // The default pattern file completes the library of every new network.
  services.ChargeMotifs = [](const std::string& fichier) {
    drawing::tListeMtf* b = bibliothequeEnCreation ? bibliothequeEnCreation : cavtool::BibliothequeCourante();
    return b && cavtool::CompleteBibliotheque(*b, fichier);
  };
  cavtool::Programme().CompleteBibliotheque = [](drawing::tListeMtf& bibliotheque) {
    drawing::tListeMtf* sauve = bibliothequeEnCreation;
    bibliothequeEnCreation = &bibliotheque;
    try {
      ChargeMotifsParDefaut();
    } catch (...) {
      bibliothequeEnCreation = sauve;
      throw;
    }
    bibliothequeEnCreation = sauve;
  };
  services.ChargeMotifsTh2 = [](const std::string& fichier) {
    return drawing::Motifs().ListesMtfTherion && drawing::LitFichierMtf(fichier, *drawing::Motifs().ListesMtfTherion);
  };
}

void AppliqueConfigAuxSousSystemes() {
  drawing::Dessin().CouleurFiligrane = Config().CouleurFiligrane;
  drawing::Dessin().CouleurFiligraneCourante = Config().CouleurFiligrane;
  survey::TableIGRF();
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
  // The subsystems' defaults (pattern globals, built-in styles, fonts,
  // symbols) and their links, then the settings, then what the settings set.
  InstalleLiaisonsApplication();
  const CheminsConfig chemins = CheminsFichierConfig();
  LitConfigGenerale(chemins.Lecture);
  AppliqueConfigAuxSousSystemes();

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
