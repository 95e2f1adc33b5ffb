#include "app/document/document_survey.h"

#include "app/commun/config_generale.h"
#include "formats/import/import_fichier_autre.h"
#include "survey/cavite.h"
#include "survey/compens.h"
#include "survey/contexte_document.h"
#include "survey/fichier_reseau.h"
#include "survey/galerie.h"
#include "survey/reseau.h"

namespace app {

TDocumentSurvey::TDocumentSurvey() : reseau_(std::make_unique<survey::TReseau>()) {}
TDocumentSurvey::~TDocumentSurvey() = default;

std::string TDocumentSurvey::Nom() const { return reseau_->Nom; }
void TDocumentSurvey::FixeNom(const std::string& nom) { reseau_->Nom = nom; }

std::vector<std::string> TDocumentSurvey::NomsCavites() const {
  std::vector<std::string> r;
  r.reserve(static_cast<size_t>(reseau_->Cavites.Count()));
  for (const survey::TCavite* c : reseau_->Cavites) r.push_back(c->NomCavite);
  return r;
}

int32_t TDocumentSurvey::CaviteActive() const {
  return reseau_->LaCaviteActive ? reseau_->Cavites.IndexOf(reseau_->LaCaviteActive) : -1;
}

void TDocumentSurvey::FixeCaviteActive(int32_t cavite) { reseau_->LaCaviteActive = reseau_->UneCavite(cavite); }

int32_t TDocumentSurvey::NombreVisees(int32_t cavite) const {
  const survey::TCavite* c = UneCavite(cavite);
  return c ? c->Visees.Count() : 0;
}

int32_t TDocumentSurvey::NombreEntrees(int32_t cavite) const {
  const survey::TCavite* c = UneCavite(cavite);
  return c ? c->ListeEntrees.Count() : 0;
}

int32_t TDocumentSurvey::NombrePointsSurface() const {
  const survey::TListedePoints* l = reseau_->LesPointsSurface();
  return l ? l->Count() : 0;
}

bool TDocumentSurvey::ACompensations() const { return !reseau_->Compensations.Vide(); }
void TDocumentSurvey::CalculeReseau() { reseau_->CalculeReseau(); }

bool TDocumentSurvey::Lit(foundation::TFlux& flux) { return reseau_->Lit(flux); }
bool TDocumentSurvey::Ecrit(foundation::TFlux& flux) { return reseau_->Ecrit(flux); }
bool TDocumentSurvey::LitConfig(foundation::TFlux& flux) { return reseau_->LitConfig(flux); }
bool TDocumentSurvey::EcritConfig(foundation::TFlux& flux) { return reseau_->EcritConfig(flux); }
bool TDocumentSurvey::CreeCavite() { return reseau_->CreeCavite(); }

void TDocumentSurvey::RendCourant() {
  if (survey::Document().ReseauCourant != reseau_.get()) reseau_->Active();
}

bool TDocumentSurvey::ImporteFichierAutre(const std::string& chemin, int type, bool partiel) {
  RendCourant();
  reseau_->CreeCaviteSurface();
  const int avant = reseau_->NombreCavites();
  // The trips a reader builds follow the setting of automatic declination.
  formats::Import().CalculDecliAuto = Config().CalculDecliAuto;
  if (!formats::ImporteFichierAutre(chemin, type, partiel, reseau_.get())) return false;
  // The imported cave becomes the active one.
  survey::TCavite* importee = reseau_->CaviteImportee;
  if (!importee && reseau_->NombreCavites() > avant) importee = reseau_->UneCavite(reseau_->NombreCavites() - 1);
  if (importee) reseau_->LaCaviteActive = importee;
  return true;
}

bool TDocumentSurvey::LitFichier(const std::string& chemin) {
  std::unique_ptr<survey::TReseau> lu = survey::OuvreReseau(chemin);
  if (!lu) return false;
  // The network read is the current one; the fresh one goes.
  reseau_ = std::move(lu);
  return true;
}

bool TDocumentSurvey::LectureSeule() const { return reseau_->LectureSeule; }

bool TDocumentSurvey::EnregistreFichier(const std::string& chemin) {
  RendCourant();
  return survey::EnregistreReseau(chemin);
}

bool TDocumentSurvey::EnregistreFichierSous() {
  RendCourant();
  return survey::EnregistreReseauSous();
}

platform::FileLock* TDocumentSurvey::VerrouFichier() { return &reseau_->Verrou; }

bool TDocumentSurvey::LitFichierConfig() { return reseau_->LitFichierConfig(); }
bool TDocumentSurvey::EcritFichierConfig() { return reseau_->EcritFichierConfig(); }

survey::TCavite* TDocumentSurvey::UneCavite(int32_t cavite) const { return reseau_->UneCavite(cavite); }

void TDocumentSurvey::CalculeLesLevers(int32_t cavite) {
  if (survey::TCavite* c = UneCavite(cavite)) c->CalculeLesLevers();
}

bool TDocumentSurvey::SupprimeCavite(int32_t cavite) {
  survey::TCavite* c = UneCavite(cavite);
  if (!c || c->EstSurface) return false;
  // Loop partners in other caves.
  for (survey::TGalerie* g : c->Galeries)
    for (survey::TPointSpeleo* p : g->Points) {
      survey::TPointSpeleo* partenaire = p->PtBoucleAsso;
      if (partenaire && survey::TCavite::CaviteDuPoint(partenaire) != c) {
        partenaire->IndPtBoucle = -1;
        partenaire->PtBoucleAsso = nullptr;
      }
    }
  // The cave's adjustments, from the last.
  for (int i = reseau_->Compensations.Count() - 1; i >= 0; --i)
    if (reseau_->Compensations.UnObjet(i)->TheCavite() == c) {
      reseau_->Compensations.Delete(i);
      if (i <= reseau_->DerCompens) --reseau_->DerCompens;
    }
  if (reseau_->LaCaviteActive == c) reseau_->LaCaviteActive = nullptr;
  if (reseau_->CaviteImportee == c) reseau_->CaviteImportee = nullptr;
  if (reseau_->EntreeImport && survey::TCavite::CaviteDuPoint(reseau_->EntreeImport) == c) reseau_->EntreeImport = nullptr;
  reseau_->Cavites.Remove(c);
  reseau_->CreeListeLevers();
  return true;
}

bool TDocumentSurvey::SupprimeVisee(survey::TVisee& visee) {
  RendCourant();
  return reseau_->SupprimeVisee(&visee);
}

FabriqueDocument FabriqueSurvey() {
  return [] { return std::unique_ptr<DocumentReseau>(std::make_unique<TDocumentSurvey>()); };
}

}  // namespace app
