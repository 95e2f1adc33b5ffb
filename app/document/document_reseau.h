#pragma once
// What the main window needs of the open network document.  The network
// (survey::TReseau) is seen through this interface: the window creates it
// through a factory, reads and writes it on streams, and asks it the few
// counts its commands depend on.  The file handling around the streams
// (file lock, backup, messages) is TGestionDocument's.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/document/selecteurs.h"

namespace foundation {
class TFlux;
}

namespace platform {
class FileLock;
}

namespace survey {
class TCavite;
class TVisee;
}  // namespace survey

namespace app {

class DocumentReseau {
 public:
  virtual ~DocumentReseau() = default;

  virtual std::string Nom() const = 0;
  virtual void FixeNom(const std::string& nom) = 0;
  // Cave names in network order; cave 0 is the surface.
  virtual std::vector<std::string> NomsCavites() const = 0;
  // Position of the active cave, -1 for none.
  virtual int32_t CaviteActive() const = 0;
  virtual void FixeCaviteActive(int32_t cavite) = 0;
  // Main shots and entrances of a cave.
  virtual int32_t NombreVisees(int32_t cavite) const = 0;
  virtual int32_t NombreEntrees(int32_t cavite) const = 0;
  virtual int32_t NombrePointsSurface() const = 0;
  // Adjustments exist: the network is computed before it is saved.
  virtual bool ACompensations() const { return false; }
  virtual void CalculeReseau() {}

  // The document stream, from its header on.  The reader shows its own
  // messages for a refused level; TGestionDocument shows the general one.
  virtual bool Lit(foundation::TFlux& flux) = 0;
  virtual bool Ecrit(foundation::TFlux& flux) = 0;
  // The companion ".CFG" stream.
  virtual bool LitConfig(foundation::TFlux& flux) = 0;
  virtual bool EcritConfig(foundation::TFlux& flux) = 0;

  // --- The document file -----------------------------------------------------------
  // A network that handles its own file (the survey model's: file lock,
  // backup, companion, messages) answers true; TGestionDocument then hands
  // it the file operations below instead of streaming it itself.
  virtual bool GereFichier() const { return false; }
  // Reads a document file in place of this fresh network; on failure (after
  // the reader's messages) the network is as it was.
  virtual bool LitFichier(const std::string& /*chemin*/) { return false; }
  // Opened on a file another instance holds, or that cannot be written.
  virtual bool LectureSeule() const { return false; }
  // Saves to a path (refused under its own name when read-only).
  virtual bool EnregistreFichier(const std::string& /*chemin*/) { return false; }
  // The save command (asks for a name when DemandeNomFichier is set), with
  // the companion file and the recent list.
  virtual bool EnregistreFichierSous() { return false; }
  // The companion ".CFG" of the current document.
  virtual bool LitFichierConfig() { return true; }
  virtual bool EcritFichierConfig() { return true; }
  // The lock this network holds on its document file (none when it does not
  // handle its file): let go while the same file is read again beside it.
  virtual platform::FileLock* VerrouFichier() { return nullptr; }
  // Makes this network the process-wide current one again, after another
  // network was read beside it and let go.
  virtual void RendCourant() {}

  // The cave-creation dialog; true when a cave was created (it becomes active).
  virtual bool CreeCavite() { return false; }
  // Imports a foreign file as a new cave (type code 2 to 7); true when done,
  // the new cave being the active one.
  virtual bool ImporteFichierAutre(const std::string& /*chemin*/, int /*type*/, bool /*partiel*/) { return false; }
  // Name of the cave at a position.
  std::string NomCavite(int32_t cavite) const;

  // --- What the shot table and its selectors need -------------------------------------
  // The cave at a position; none until the network model is plugged in.
  virtual survey::TCavite* UneCavite(int32_t /*cavite*/) const { return nullptr; }
  // Computes only the survey trips of a cave (their declinations).
  virtual void CalculeLesLevers(int32_t /*cavite*/) {}
  // Deletes a main shot of the active cave after the network's own question;
  // true when it was deleted (the shot and its splays are freed).
  virtual bool SupprimeVisee(survey::TVisee& /*visee*/) { return false; }
  // Cuts the cave's links with the other caves, deletes its adjustments and
  // removes it from the network, freeing it; true when done.
  virtual bool SupprimeCavite(int32_t /*cavite*/) { return false; }
  // The long sections of a cave (distances along the survey as last
  // computed) and the selected one, by position in the cave's list.
  virtual std::vector<CoupeCavite> CoupesLongues(int32_t /*cavite*/) const { return {}; }
  virtual int32_t DessinAlti(int32_t /*cavite*/) const { return -1; }
  virtual void FixeDessinAlti(int32_t /*cavite*/, int32_t /*coupe*/) {}
};

// Creates an empty network holding its surface cave.
using FabriqueDocument = std::function<std::unique_ptr<DocumentReseau>()>;

// The network until the document model is plugged in: the surface cave only;
// it can neither be read nor written.
class TReseauProvisoire : public DocumentReseau {
 public:
  std::string Nom() const override { return nom_; }
  void FixeNom(const std::string& nom) override { nom_ = nom; }
  std::vector<std::string> NomsCavites() const override;
  int32_t CaviteActive() const override { return -1; }
  void FixeCaviteActive(int32_t) override {}
  int32_t NombreVisees(int32_t) const override { return 0; }
  int32_t NombreEntrees(int32_t) const override { return 0; }
  int32_t NombrePointsSurface() const override { return 0; }
  bool Lit(foundation::TFlux&) override { return false; }
  bool Ecrit(foundation::TFlux&) override { return false; }
  bool LitConfig(foundation::TFlux&) override { return true; }
  bool EcritConfig(foundation::TFlux&) override { return true; }

 private:
  std::string nom_;
};

FabriqueDocument FabriqueProvisoire();

}  // namespace app

namespace app {

// The caves the cave selector lists: every cave but the surface, sorted by
// name (upper-cased, station-name order).  When no cave is active the cave at
// caviteRappelee becomes active when it lies between 1 and the last position,
// else the last cave; with fewer than two caves the surface becomes active.
struct ListeCavites {
  std::vector<std::pair<int32_t, std::string>> Cavites;  // position in the network, name
  int32_t Selection = -1;                                // index in Cavites of the active cave
};
ListeCavites AfficheListeCavites(DocumentReseau& reseau, int32_t caviteRappelee);

}  // namespace app
