#include "app/application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <filesystem>
#include <system_error>

#include "app/commun/config_generale.h"
#include "app/commun/contexte_app.h"
#include "app/document/document_reseau.h"
#include "app/document/document_survey.h"
#include "app/echanges/autre_reseau_dlg.h"
#include "app/echanges/choix_cavite_tprb_dlg.h"
#include "app/echanges/fenetres_choix.h"
#include "app/echanges/galeries_import_dlg.h"
#include "app/echanges/import_texte_dlg.h"
#include "app/echanges/objets_kml_dlg.h"
#include "app/echanges/objets_svg_dlg.h"
#include "app/echanges/select_import_dlg.h"
#include "app/echanges/visu_import_tab_dlg.h"
#include "app/fiche_principale.h"
#include "app/reseau/choix_fusion_dlg.h"
#include "app/reseau/effacer_galerie_dlg.h"
#include "app/saisie/dialogues_points.h"
#include "app/saisie/enregistrer_point_dlg.h"
#include "app/saisie/saisie_visee_dlg.h"
#include "document/composition.h"
#include "drawing/contexte_dessin.h"
#include "drawing/contexte_motifs.h"
#include "drawing/liste_mtf.h"
#include "formats/import/points/import_points_surface.h"
#include "foundation/catalogue.h"
#include "platform/files.h"
#include "platform/instance_lock.h"
#include "platform/qt/qt_ports.h"
#include "projections/regions.h"
#include "survey/contexte_document.h"
#include "survey/declinaison.h"
#include "survey/dossiers.h"
#include "survey/parties_reseau.h"
#include "views/motifs/editeurs_motifs.h"
#include "views/ports_vues.h"

namespace app {

std::vector<std::string> ArgumentsAbsolus(const std::vector<std::string>& arguments, const std::string& dossierDepart) {
  std::vector<std::string> out = arguments;
  // The arguments form one path once joined: only the first one carries its start.
  if (!out.empty() && !out.front().empty() && out.front().front() != '/' && !dossierDepart.empty())
    out.front() = dossierDepart + (dossierDepart.back() == '/' ? "" : "/") + out.front();
  return out;
}

void InstalleLiaisonsApplication() {
  ServicesConfig& services = Services();
  services.ChangeListeProjections = [](int32_t region) { projections::ChangeListeProjections(region); };
  // The whole document; the default pattern file of the settings completes
  // the library of every new network.
  document::MotifsParDefaut motifs;
  motifs.Fichier = FichierMotifsParDefaut;
  motifs.Illisible = OublieMotifsParDefaut;
  document::InstalleDocument(motifs);
  InstalleDialogueGaleriesImport();
  InstalleDialogueChoixFusion();
  InstalleDialogueChoixCavTpRb();
  InstalleDialoguesPoints();
  InstalleDialogueSaisieVisee();
  InstalleDialogueObjetsKml();
  InstalleDialogueObjetsSvg();
  InstalleDialogueSelectImport();
  InstalleDialogueVisuImportTab();
  InstalleDialogueImportTexte();
  // The surface-point manager's import of a text or GPX point file.
  ContexteApp().PtsSurface.ImportFichier = [](const std::string& chemin) {
    return formats::ImportePointsSurface(chemin);
  };
  InstalleDialogueEffacement();
  InstalleEnregistrementPoint();
  InstalleFenetresAutreReseau();
  InstalleFenetresChoix();
  // The line-style, texture and font dialogs behind the pattern entries.
  views::InstalleEditeursMotifs();
  survey::Fabriques().AjouteFichierRecent = [](const std::string& chemin, int32_t cavite) {
    AjouteFichierRecent(Config().ListeDerniersFichiers, chemin, cavite);
  };
  // The graphic windows' wheel direction: the setting as it stands.
  views::Ports().SensMolette = [] { return Config().SensMolette; };
  services.ChargeMotifsTh2 = [](const std::string& fichier) {
    return drawing::Motifs().ListesMtfTherion && drawing::LitFichierMtf(fichier, *drawing::Motifs().ListesMtfTherion);
  };
}

void AppliqueConfigAuxSousSystemes() {
  drawing::Dessin().CouleurFiligrane = Config().CouleurFiligrane;
  drawing::Dessin().CouleurFiligraneCourante = Config().CouleurFiligrane;
  survey::TableIGRF();
}

void ChargeMotifsDemarrage() { ChargeMotifsTh2ParDefaut(); }

bool InstalleTraductionsQt() {
  QCoreApplication* application = QCoreApplication::instance();
  if (!application) return false;
  // Owned by the application; installed once.
  static QTranslator* traduction = nullptr;
  if (traduction) return true;
  auto* t = new QTranslator(application);
  if (!t->load(QStringLiteral("qtbase_fr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(t)) {
    delete t;
    return false;
  }
  traduction = t;
  QObject::connect(t, &QObject::destroyed, [] { traduction = nullptr; });
  return true;
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

  // Another instance was running at start-up.  A document's read-only state
  // does not depend on it: each document file carries its own lock.
  platform::FileInstanceLock verrou;
  survey::Document().AutreInstance = verrou.AnotherInstance();

  int code = 0;
  {
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale::c());
    // Qt's own texts (file dialogs, standard buttons) in French.
    InstalleTraductionsQt();
    QApplication::setApplicationName(QStringLiteral("gravelune"));
    QApplication::setApplicationDisplayName(QString::fromStdString(foundation::Msg(foundation::IdMsg::AppTitreApplication)));
    platform::QtPorts ports;
    ChargeMotifsDemarrage();
    TFichePrincipale fiche(FabriqueSurvey(), arguments);
    fiche.show();
    code = application.exec();
  }

  survey::TermineSurvey();
  EcritConfigGenerale(chemins.Ecriture);
  return code;
}

}  // namespace app
