#pragma once
// The writer behind every text export: a buffer of lines saved through a save
// dialog, with the question before replacing a file.
#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace survey {

enum class Encodage { Windows1252, Utf8, Latin1 };

class TSauveFichTxt {
 public:
  TSauveFichTxt();
  virtual ~TSauveFichTxt() = default;

  void AjouteLigne(const std::string& ligne) { Lignes.push_back(ligne); }

  // Save dialog for a text file ("Fichiers texte|*.txt"), then the lines in
  // Windows-1252 and the message naming the file.
  bool EnregistreTxt(const std::string& nomPropose);
  // Save dialog with the filter "Fichiers <genre>|*.<extension>".
  bool EnregistreAutre(const std::string& nomPropose, const std::string& genre, Encodage encodage,
                       const std::string& extension);
  bool EnregistreAutre(const std::string& nomPropose, const std::string& genre, const std::string& extension);
  bool EnregistreCsv(const std::string& nomPropose);
  // No dialog: saves in the working folder under the cleaned name, which nom
  // receives as a full path.  False when the file could not be written.
  bool EnregistreTmp(std::string& nom);

  // Writes the lines (each ended by CR LF) in the given encoding, through a
  // temporary file.
  bool EcritLignes(const std::string& chemin, Encodage encodage) const;

  std::vector<std::string> Lignes;
  // The dialog's settings; FileName holds the chosen path after a save.
  platform::FileDialogOptions Options;
  std::string FileName;

 protected:
  // The dialog loop of the text writers: proposes the cleaned name without its
  // first dot and what follows, asks before replacing; false when cancelled.
  bool Dialogue(const std::string& nomPropose);
  bool Enregistre(const std::string& nomPropose, Encodage encodage);
};

// A save dialog with the given title, filter and default extension, proposing
// the cleaned name; asks before replacing; hands the chosen path to the save
// routine.  When that succeeds, nom becomes the path and, when asked, the saved
// message is shown.
bool EnregistreAvecDialogue(std::string& nom, const std::string& titre, const std::string& filtre,
                            bool afficheMessage, const std::function<bool(const std::string&)>& enregistre,
                            const std::string& extensionParDefaut);

}  // namespace survey
