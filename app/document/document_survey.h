#pragma once
// The open document seen by the main window: the survey model's network
// (survey::TReseau) behind the DocumentReseau interface.
#include <memory>

#include "app/document/document_reseau.h"

namespace survey {
class TReseau;
}

namespace app {

class TDocumentSurvey : public DocumentReseau {
 public:
  // A new network, which becomes the process-wide current one.
  TDocumentSurvey();
  ~TDocumentSurvey() override;

  survey::TReseau& Reseau() { return *reseau_; }

  std::string Nom() const override;
  void FixeNom(const std::string& nom) override;
  std::vector<std::string> NomsCavites() const override;
  int32_t CaviteActive() const override;
  void FixeCaviteActive(int32_t cavite) override;
  int32_t NombreVisees(int32_t cavite) const override;
  int32_t NombreEntrees(int32_t cavite) const override;
  int32_t NombrePointsSurface() const override;
  bool ACompensations() const override;
  void CalculeReseau() override;

  bool Lit(foundation::TFlux& flux) override;
  bool Ecrit(foundation::TFlux& flux) override;
  bool LitConfig(foundation::TFlux& flux) override;
  bool EcritConfig(foundation::TFlux& flux) override;
  bool CreeCavite() override;
  bool ImporteFichierAutre(const std::string& chemin, int type, bool partiel) override;

  // The survey model's document file (survey/fichier_reseau.h).
  bool GereFichier() const override { return true; }
  bool LitFichier(const std::string& chemin) override;
  bool LectureSeule() const override;
  bool EnregistreFichier(const std::string& chemin) override;
  bool EnregistreFichierSous() override;
  bool LitFichierConfig() override;
  bool EcritFichierConfig() override;
  platform::FileLock* VerrouFichier() override;
  // The readers and writers work on the process-wide current network.
  void RendCourant() override;

  survey::TCavite* UneCavite(int32_t cavite) const override;
  // The network's deletion: the active cave's question, the shot and its
  // splays, the stations left without shot and their adjustments.
  bool SupprimeVisee(survey::TVisee& visee) override;
  void CalculeLesLevers(int32_t cavite) override;
  // The cave's stations lose their loop partners in other caves (and those
  // partners theirs), the adjustments ending in the cave are deleted, then
  // the cave leaves the network and is freed.
  bool SupprimeCavite(int32_t cavite) override;

 private:
  std::unique_ptr<survey::TReseau> reseau_;
};

// Creates TDocumentSurvey networks.
FabriqueDocument FabriqueSurvey();

}  // namespace app
