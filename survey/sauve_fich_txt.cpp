#include "survey/sauve_fich_txt.h"

#include "foundation/catalogue.h"
#include "foundation/codage.h"
#include "foundation/utilitaires.h"
#include "platform/files.h"
#include "survey/dossiers.h"

using foundation::IdMsg;
using foundation::Msg;

namespace survey {
namespace {

// Adds the default extension to a chosen name that has none.
std::string AvecExtension(const std::string& chemin, const std::string& extension) {
  if (extension.empty() || !platform::ExtensionOf(chemin).empty()) return chemin;
  return chemin + "." + extension;
}

// Shows the dialog until the user cancels, or picks a name that does not exist
// yet, or agrees to replace the existing file.
std::optional<std::string> BoucleDialogue(platform::FileDialogOptions& options) {
  platform::Dialogs& d = platform::Dialogs::Current();
  for (;;) {
    const auto choix = d.SaveFile(options);
    if (!choix) return std::nullopt;
    options.FilterIndex = choix->FilterIndex;
    const std::string chemin = AvecExtension(choix->Path, options.DefaultExtension);
    if (!platform::FileExists(chemin)) return chemin;
    const std::string question = foundation::RemplaceMarques(Msg(IdMsg::FichierExisteRemplacer), {chemin});
    if (d.AskYesNo(question) == platform::Answer::Yes) return chemin;
    options.FileName = platform::FileNameOf(chemin);
  }
}

void MessageEnregistre(const std::string& chemin) {
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information,
                                           Msg(IdMsg::FichierEnregistreSous) + chemin);
}

void MessageEchec(const std::string& chemin) {
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error,
                                           foundation::RemplaceMarques(Msg(IdMsg::FichierNonEnregistre), {chemin}));
}

}  // namespace

TSauveFichTxt::TSauveFichTxt() { Options.InitialFolder = DossierDeTravail(); }

bool TSauveFichTxt::Dialogue(const std::string& nomPropose) {
  std::string nom = foundation::NettoieNomFichier(nomPropose);
  nom = nom.substr(0, nom.find('.'));
  Options.FileName = nom;
  const auto chemin = BoucleDialogue(Options);
  if (!chemin) return false;
  FileName = *chemin;
  return true;
}

bool TSauveFichTxt::Enregistre(const std::string& nomPropose, Encodage encodage) {
  if (!Dialogue(nomPropose)) return false;
  if (!EcritLignes(FileName, encodage)) {
    MessageEchec(FileName);
    return false;
  }
  MessageEnregistre(FileName);
  return true;
}

bool TSauveFichTxt::EnregistreTxt(const std::string& nomPropose) {
  Options.Filter = Msg(IdMsg::FiltreFichiersTexte);
  Options.DefaultExtension = "txt";
  return Enregistre(nomPropose, Encodage::Windows1252);
}

bool TSauveFichTxt::EnregistreAutre(const std::string& nomPropose, const std::string& genre, Encodage encodage,
                                    const std::string& extension) {
  Options.Filter = Msg(IdMsg::FiltreFichiers) + genre + "|*." + extension;
  Options.DefaultExtension = extension;
  return Enregistre(nomPropose, encodage);
}

bool TSauveFichTxt::EnregistreAutre(const std::string& nomPropose, const std::string& genre,
                                    const std::string& extension) {
  return EnregistreAutre(nomPropose, genre, Encodage::Windows1252, extension);
}

bool TSauveFichTxt::EnregistreCsv(const std::string& nomPropose) {
  return EnregistreAutre(nomPropose, "csv", Encodage::Windows1252, "csv");
}

bool TSauveFichTxt::EnregistreTmp(std::string& nom) {
  nom = DossierDeTravail() + foundation::NettoieNomFichier(nom);
  return EcritLignes(nom, Encodage::Windows1252);
}

bool TSauveFichTxt::EcritLignes(const std::string& chemin, Encodage encodage) const {
  std::string texte;
  size_t taille = 0;
  for (const std::string& l : Lignes) taille += l.size() + 2;
  texte.reserve(taille);
  for (const std::string& l : Lignes) {
    texte += l;
    texte += "\r\n";
  }
  switch (encodage) {
    case Encodage::Windows1252: texte = foundation::VersWindows1252(texte); break;
    case Encodage::Latin1: texte = foundation::VersLatin1(texte); break;
    case Encodage::Utf8: break;
  }
  return platform::WriteFileAtomic(chemin, texte);
}

bool EnregistreAvecDialogue(std::string& nom, const std::string& titre, const std::string& filtre,
                            bool afficheMessage, const std::function<bool(const std::string&)>& enregistre,
                            const std::string& extensionParDefaut) {
  platform::FileDialogOptions options;
  options.Title = titre;
  options.Filter = filtre;
  options.DefaultExtension = extensionParDefaut;
  options.InitialFolder = DossierDeTravail();
  options.FileName = foundation::NettoieNomFichier(platform::FileNameOf(nom));
  const auto chemin = BoucleDialogue(options);
  if (!chemin || !enregistre(*chemin)) return false;
  nom = *chemin;
  if (afficheMessage) MessageEnregistre(nom);
  return true;
}

}  // namespace survey
