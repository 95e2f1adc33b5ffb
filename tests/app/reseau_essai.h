#pragma once
// A network document over real caves (built with the survey tests' small
// cave language, tests/survey/reseau_test.h) for the tests of the shot
// table: it counts the computations, deletes shots and caves as the network
// does, and lists long sections given by the test.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/document/document_reseau.h"
#include "platform/dialogs.h"
#include "survey/cavite.h"
#include "tests/survey/reseau_test.h"

namespace essai {

class TReseauEssai : public app::DocumentReseau {
 public:
  std::string Nom() const override { return nom_; }
  void FixeNom(const std::string& nom) override { nom_ = nom; }
  std::vector<std::string> NomsCavites() const override {
    std::vector<std::string> r;
    for (const survey::TCavite* c : R.Cavites) r.push_back(c->NomCavite);
    return r;
  }
  int32_t CaviteActive() const override { return Active; }
  void FixeCaviteActive(int32_t c) override { Active = c; }
  int32_t NombreVisees(int32_t c) const override {
    const survey::TCavite* cav = UneCavite(c);
    return cav ? cav->Visees.Count() : 0;
  }
  int32_t NombreEntrees(int32_t c) const override {
    const survey::TCavite* cav = UneCavite(c);
    return cav ? cav->ListeEntrees.Count() : 0;
  }
  int32_t NombrePointsSurface() const override { return R.Surface->Galeries.First()->Points.Count(); }
  bool Lit(foundation::TFlux&) override { return false; }
  bool Ecrit(foundation::TFlux&) override { return false; }
  bool LitConfig(foundation::TFlux&) override { return true; }
  bool EcritConfig(foundation::TFlux&) override { return true; }

  survey::TCavite* UneCavite(int32_t c) const override { return R.Cavites.UnObjet(c); }
  void CalculeReseau() override {
    ++Calculs;
    for (survey::TCavite* c : R.Cavites)
      if (!c->EstSurface) c->CalculeTousPoints(true);
  }
  void CalculeLesLevers(int32_t) override { ++CalculsLevers; }
  bool SupprimeVisee(survey::TVisee& v) override {
    if (platform::Dialogs::Current().AskYesNo("Voulez-vous supprimer la visée") != platform::Answer::Yes) return false;
    survey::TCavite* c = UneCavite(Active);
    c->Visees.Remove(&v);
    c->ReGenereListePoints(false);
    if (ApresSuppression) ApresSuppression();
    return true;
  }
  bool SupprimeCavite(int32_t position) override {
    survey::TCavite* c = UneCavite(position);
    if (!c) return false;
    ++CavitesSupprimees;
    R.Cavites.Remove(c);
    return true;
  }
  std::vector<app::CoupeCavite> CoupesLongues(int32_t) const override { return Coupes; }
  int32_t DessinAlti(int32_t) const override { return Alti; }
  void FixeDessinAlti(int32_t, int32_t c) override { Alti = c; }

  // Builds a cave, regenerates it and gives its shots their trips.
  survey::TCavite* Cavite(const std::string& nom, const std::string& description) {
    survey::TCavite* c = R.Cavite(nom, description);
    c->ReGenereListePoints(false);
    c->AffecteLeversVisees();
    return c;
  }

  testsurvey::ReseauTest R;
  int32_t Active = -1;
  int Calculs = 0;
  int CalculsLevers = 0;
  int CavitesSupprimees = 0;
  std::vector<app::CoupeCavite> Coupes;
  int32_t Alti = -1;
  std::function<void()> ApresSuppression;

 private:
  std::string nom_ = "Réseau d'essai";
};

// A factory that hands over one prepared document, then empty ones.
struct FabriqueEssai {
  std::unique_ptr<TReseauEssai> Prepare = std::make_unique<TReseauEssai>();
  TReseauEssai* Document = Prepare.get();
  app::FabriqueDocument Fonction() {
    return [this]() -> std::unique_ptr<app::DocumentReseau> {
      if (Prepare) return std::move(Prepare);
      return std::make_unique<TReseauEssai>();
    };
  }
};

}  // namespace essai
