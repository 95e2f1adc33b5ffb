#pragma once
// The life of the open document: new, open, import, save, save as, close,
// with the lock a running instance holds on its document file (never a change
// of the file's permissions), the backup made before each save and the save
// question.  A network that
// handles its own file (the survey model's, DocumentReseau::GereFichier)
// gets the file operations; the others are streamed here.  The process-wide
// values (file name, modified flag, other instance, name request, recalled
// cave) are survey::Document()'s; the recent-file list is the settings'.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/commun/etat_controles.h"
#include "app/document/document_reseau.h"
#include "platform/file_lock.h"

namespace app {

// The path given on the command line: the arguments joined with blanks (a
// path holding blanks arrives split), a ".CFG" extension replaced by ".cav".
// Empty without arguments.
std::string CheminLigneCommande(const std::vector<std::string>& arguments);
// The path of the backup made before saving: the extension becomes ".$$$Cav".
std::string CheminSauvegarde(const std::string& chemin);
// The companion file: the extension becomes ".CFG".
std::string CheminFichierConfig(const std::string& chemin);

class TGestionDocument {
 public:
  explicit TGestionDocument(FabriqueDocument fabrique);
  ~TGestionDocument();
  TGestionDocument(const TGestionDocument&) = delete;
  TGestionDocument& operator=(const TGestionDocument&) = delete;

  DocumentReseau* Reseau() const { return reseau_.get(); }
  // Opened on a file another instance holds, or that cannot be written.
  bool LectureSeule() const;

  // Frees the current network and creates an empty one; the thread-counter
  // columns follow the settings; the next save does not ask for a name.
  void NouveauReseau();
  // Frees the network and lets its file go (its lock is released).
  void LibereReseau();

  // Opens a ".cav" file: the file read into a fresh network with the
  // read-only bookkeeping, then the active cave from the recent list, the
  // companion file and the recent list.  Only a document read whole takes
  // the open one's place (avantRemplacement runs just before the open one
  // goes); on failure (after the reader's message) false returns and the
  // open document, its lock and every process-wide value are as they were.
  bool OuvreDocument(const std::string& chemin, const std::function<void()>& avantRemplacement = {});
  // Imports a foreign file into the open network (a new one, with its
  // surface cave, when none is open).  False after "L'importation a été
  // abandonnée".
  bool OuvrirAutre(const std::string& chemin, int type);
  // Opens a foreign file as a new document: imported into a fresh network
  // that takes the open one's place only when the import succeeds
  // (avantRemplacement runs just before the open one goes); on failure the
  // open document, its lock and every process-wide value are as they were.
  bool OuvreAutreDocument(const std::string& chemin, int type, const std::function<void()>& avantRemplacement = {});

  // Reads the document file with the read-only bookkeeping when the path is
  // the current file; the general message on failure.
  bool LitFichier(const std::string& chemin);
  // Saves to a path: refuses a read-only document under its own name, a file
  // another instance holds and a file that cannot be written; makes the
  // backup, writes, locks the saved file.
  bool EnregistreReseau(const std::string& chemin);
  // The save command: asks for a name when DemandeNomFichier is set; then
  // the companion file and the recent list.
  bool EnregistreReseauSous();
  // The companion file of the current document; a missing file is no error.
  bool LitFichierConfig();
  bool EcritFichierConfig();

  // The save question.  enregistre runs the save; false keeps the document.
  bool DemandeEnregistrement(bool listeViseesPrete, const std::function<bool()>& enregistre);

  // Puts the current document first in the recent list; true when it did.
  bool MajDerniersFichiers();

  // The state the commands depend on.
  EtatDocument Etat() const;

 private:
  // The open document set aside while another is read or imported.
  class MiseDeCote;
  FabriqueDocument fabrique_;
  std::unique_ptr<DocumentReseau> reseau_;
  platform::FileLock verrou_;  // on the current file
  bool verrouRefuse_ = false;  // another instance held it when it was opened
  bool lectureSeule_ = false;
};

}  // namespace app
