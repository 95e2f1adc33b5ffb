#pragma once
// The process-wide state of the open document and of the editing in progress,
// held in one object.  Reading a second document sets it aside whole and puts it
// back afterwards (GardeDocument).
#include <cstdint>
#include <string>

namespace survey {

class TReseau;
class TLever;

struct ContexteDocument {
  TReseau* ReseauCourant = nullptr;      // the open network, if any
  std::string NomFichierCourant;         // its path
  bool DocumentModifie = false;          // unsaved changes
  bool AutreInstance = false;            // another instance was running at start-up (documents
                                         // are held per file: fichier_reseau.h)
  bool DemandeNomFichier = false;        // the next save asks for a name
  int32_t CaviteRappelee = -1;           // cave index from the recent-file list

  // Editing state set by the main window around its dialogs.
  bool RectifEnCours = false;            // an existing item is being corrected
  bool InsertionVisee = false;           // a new shot goes before the selected one
  const TLever* LeverCourant = nullptr;        // trip of the selected shot
  std::string NomGalerieCourante;        // gallery of the selected shot

  // The configured folder of networks (settings), where dialogs open when no
  // document is open.
  std::string RepertoireReseau;

  // The 3D view is open: stations without measured dimensions get default
  // walls and ceiling in the drawing geometry.
  bool Vue3DActive = false;
};

ContexteDocument& Document();

// Saves the whole document state and restores it on exit, also on an exception.
class GardeDocument {
 public:
  GardeDocument() : sauve_(Document()) {}
  ~GardeDocument() { Document() = sauve_; }
  GardeDocument(const GardeDocument&) = delete;
  GardeDocument& operator=(const GardeDocument&) = delete;

 private:
  ContexteDocument sauve_;
};

}  // namespace survey
