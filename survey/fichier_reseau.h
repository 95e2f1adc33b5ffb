#pragma once
// The document file (".cav"), its backup (".$$$Cav") and its companion
// (".CFG").
//
// Saving writes the whole document to a temporary file beside the target,
// flushes it and renames it over the target, after copying the previous file
// to the backup: a save that fails at any point leaves the previous file as it
// was and says so.  While a document is open this process holds a lock on its
// file (platform::FileLock: flock on the file itself, released by the system
// when the process ends, also on a crash); the file's permissions are never
// changed.  The saved file is locked before it takes the document's name; the
// backup is not locked.  A file whose lock another instance holds opens
// read-only and cannot be saved under its own name; so does a file that
// cannot be written (its permissions, its folder, a read-only file system),
// which says why when it is opened.  The refusal comes from the document's
// LectureSeule and the lock, not from the file system (which does not stop
// the superuser).
//
// Extensions are matched without regard to case when an existing file is
// looked for (documents and companions copied from Windows media).
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "survey/reseau.h"

namespace foundation {
class TFluxMemoire;
}

namespace survey {

struct ContexteFichierReseau {
  // The document path when a save begins.
  std::string NomFichierAvantEnregistrement;
  // How a whole file is written (temporary file, flush, rename); tests put a
  // failing writer here.
  std::function<bool(const std::string& chemin, std::string_view octets)> EcritFichier;
};

ContexteFichierReseau& FichierReseau();

class GardeFichierReseau {
 public:
  GardeFichierReseau() : sauve_(FichierReseau()) {}
  ~GardeFichierReseau() { FichierReseau() = sauve_; }
  GardeFichierReseau(const GardeFichierReseau&) = delete;
  GardeFichierReseau& operator=(const GardeFichierReseau&) = delete;

 private:
  ContexteFichierReseau sauve_;
};

// The path of the backup: the extension becomes ".$$$Cav".
std::string CheminSauvegarde(const std::string& chemin);
// The companion of a document: an existing file whose name is the document's
// with the extension ".CFG" in any case, else that name with ".CFG".
std::string CheminConfig(const std::string& chemin);
// The path itself when it exists, else an existing file of the same folder
// whose name differs only in case; empty when there is none.
std::string CheminExistant(const std::string& chemin);

// Reads a document file into a new network.  On success the new network and
// its document-wide objects are the process-wide ones; on failure (after the
// messages) nothing is: the open document and every process-wide value are
// as they were.
std::unique_ptr<TReseau> OuvreReseau(const std::string& chemin);

// Saves the current network to a path: refuses a read-only document under
// its own name, a file another instance holds and an existing file that
// cannot be written; makes the backup, writes, locks the saved file.
bool EnregistreReseau(const std::string& chemin);
// The save command: asks for a name when DemandeNomFichier is set (a
// cancelled dialog leaves the current file locked); then the companion file
// and the recent-file list.
bool EnregistreReseauSous();

// "le fichier ... ne peut pas être modifié : " + the reason + the advice.
std::string TexteNonModifiable(const std::string& chemin, platform::WriteBlock raison);

// Why a file cannot be read at all, before its bytes are looked at: it does
// not exist, it is a folder, the system refuses to read it, it is empty.
// Empty when none of these holds.
std::string RaisonFichierIllisible(const std::string& chemin);
// Why the bytes of a document could not be read, after its reader failed on
// them: the file cannot be read at all, its header is not a document's, it
// ends before its last record, or where the reading stopped.  Empty when the
// reader already said why (a level it refuses).
std::string RaisonDocumentIllisible(const std::string& chemin, const foundation::TFluxMemoire* flux);
// Why the last write failed, from the system's error number: a full disk, a
// read-only medium, a refused write; empty for another cause.
std::string RaisonEcritureImpossible(int erreur);
// A message followed by its reason: "message : raison."; the message alone
// without a reason.
std::string AvecRaison(const std::string& message, const std::string& raison);

}  // namespace survey
