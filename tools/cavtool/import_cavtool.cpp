#include "tools/cavtool/import_cavtool.h"

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <memory>

#include "document/composition.h"
#include "formats/import/galeries_import.h"
#include "formats/import/import_fichier_autre.h"
#include "foundation/catalogue.h"
#include "foundation/flux.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "survey/dossiers.h"
#include "survey/fichier_reseau.h"
#include "survey/reseau.h"

namespace cavtool {

namespace {

// Messages to standard error; every question takes its default answer (yes
// to go on), every prompt keeps its proposed text.
class TDialoguesParDefaut : public platform::Dialogs {
 public:
  void ShowMessage(platform::MessageKind, const std::string& text, const std::string&) override {
    std::cerr << text << '\n';
  }
  platform::Answer AskYesNo(const std::string&, const std::string&) override { return platform::Answer::Yes; }
  platform::Answer AskYesNoCancel(const std::string&, const std::string&) override { return platform::Answer::Yes; }
  std::optional<std::string> Prompt(const std::string&, const std::string&, const std::string& initial) override {
    return initial;
  }
  std::optional<platform::FileChoice> SaveFile(const platform::FileDialogOptions&) override { return std::nullopt; }
  std::optional<platform::FileChoice> OpenFile(const platform::FileDialogOptions&) override { return std::nullopt; }
  void SetBusyCursor(bool) override {}
};

}  // namespace

std::string DossierMemoireGaleries() {
  // The working folder, created when missing as at the window's start-up.
  const std::string dossier = survey::DossierGravelune();
  std::error_code ec;
  std::filesystem::create_directories(dossier, ec);
  return dossier;
}

int ImporteFichier(const std::string& argument, const std::string& sortie, int type, int cavite) {
  // The memory of galleries names the file by its full path, as the window's
  // dialogs give it.
  std::error_code ec;
  std::string fichier = std::filesystem::absolute(argument, ec).string();
  if (ec) fichier = argument;
  document::InstalleDocument();
  TDialoguesParDefaut dialogues;
  platform::ScopedDialogs garde(dialogues);
  // The gallery dialog is accepted as proposed; its memory goes to the
  // program's working folder, as the window's does, never to the folder
  // cavtool was started from.
  formats::GardePortsImport ports;
  formats::FenetresImport() = formats::PortsImport();
  formats::GardeImport import;
  formats::Import().DossierMemoireGaleries = DossierMemoireGaleries();
  formats::Import().CaviteTopoRobot = cavite - 1;
  auto reseau = std::make_unique<survey::TReseau>();
  reseau->CreeCaviteSurface();
  if (type == 0) type = formats::TypeImportSelonExtension(fichier);
  if (!formats::ImporteFichierAutre(fichier, type, false, reseau.get())) {
    std::cerr << survey::AvecRaison(foundation::Msg(foundation::IdMsg::AppImportationAbandonnee),
                                    formats::Import().RaisonAbandon)
              << '\n';
    return 1;
  }
  if (reseau->Nom.empty() && reseau->CaviteImportee) reseau->Nom = reseau->CaviteImportee->NomCavite;
  foundation::TFluxMemoire flux;
  errno = 0;
  if (!reseau->Ecrit(flux) || !platform::WriteFileAtomic(sortie, flux.Octets())) {
    std::cerr << survey::AvecRaison(
                     foundation::RemplaceMarques(foundation::Msg(foundation::IdMsg::FichierNonEnregistre), {sortie}),
                     survey::RaisonEcritureImpossible(errno))
              << '\n';
    return 1;
  }
  return 0;
}

}  // namespace cavtool
