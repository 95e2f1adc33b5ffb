#pragma once
// A small stand-in for the network document: a name, caves with their shot
// and entrance counts and a number of surface points, on a stream of its own
// ("DocEssai" header).  It lets the document life and the main window be
// tested before the network model is plugged in.
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/document/document_reseau.h"
#include "foundation/flux.h"

namespace essai {

struct CaviteEssai {
  std::string Nom;
  int32_t Visees = 0;
  int32_t Entrees = 1;
};

class TDocumentEssai : public app::DocumentReseau {
 public:
  std::string Nom() const override { return Nom_; }
  void FixeNom(const std::string& nom) override { Nom_ = nom; }
  std::vector<std::string> NomsCavites() const override {
    std::vector<std::string> out;
    for (const auto& c : Cavites) out.push_back(c.Nom);
    return out;
  }
  int32_t CaviteActive() const override { return Active; }
  void FixeCaviteActive(int32_t c) override { Active = c; }
  int32_t NombreVisees(int32_t c) const override { return Cavites.at(static_cast<size_t>(c)).Visees; }
  int32_t NombreEntrees(int32_t c) const override { return Cavites.at(static_cast<size_t>(c)).Entrees; }
  int32_t NombrePointsSurface() const override { return PointsSurface; }

  bool Lit(foundation::TFlux& f) override {
    std::string entete;
    int32_t n = 0;
    if (!foundation::LitChaineA(f, entete) || entete != "DocEssai") return false;
    if (LeveALaLecture) throw std::runtime_error("lecture");
    if (!foundation::LitChaineA(f, Nom_) || !f.LitInteger(n) || n < 0 || static_cast<uint64_t>(n) > f.Restant())
      return false;
    for (int32_t i = 0; i < n; ++i) {
      CaviteEssai c;
      if (!foundation::LitChaineA(f, c.Nom) || !f.LitInteger(c.Visees) || !f.LitInteger(c.Entrees)) return false;
      Cavites.push_back(c);
    }
    return f.LitInteger(PointsSurface);
  }
  bool Ecrit(foundation::TFlux& f) override {
    if (EchecEcriture) return false;
    bool ok = foundation::EcritChaineA(f, "DocEssai") && foundation::EcritChaineA(f, Nom_) &&
              f.EcritInteger(static_cast<int32_t>(Cavites.size()));
    for (const auto& c : Cavites)
      ok = ok && foundation::EcritChaineA(f, c.Nom) && f.EcritInteger(c.Visees) && f.EcritInteger(c.Entrees);
    return ok && f.EcritInteger(PointsSurface);
  }
  bool LitConfig(foundation::TFlux& f) override {
    ConfigLue = true;
    return foundation::LitChaineA(f, Config);
  }
  bool EcritConfig(foundation::TFlux& f) override { return foundation::EcritChaineA(f, Config); }
  bool CreeCavite() override {
    if (Cavites.empty()) Cavites.push_back({"Surface", 0, 0});
    Cavites.push_back({"Nouvelle", 0, 1});
    Active = static_cast<int32_t>(Cavites.size()) - 1;
    return true;
  }

  std::string Nom_;
  std::vector<CaviteEssai> Cavites;
  int32_t Active = -1;
  int32_t PointsSurface = 0;
  std::string Config = "cfg";
  bool ConfigLue = false;
  bool EchecEcriture = false;
  bool LeveALaLecture = false;
};

// Every document the factory made, in order (the last one is the open one).
struct Fabrique {
  std::vector<TDocumentEssai*> Crees;
  bool EchecEcriture = false;
  app::FabriqueDocument Fonction() {
    return [this] {
      auto d = std::make_unique<TDocumentEssai>();
      d->EchecEcriture = EchecEcriture;
      Crees.push_back(d.get());
      return std::unique_ptr<app::DocumentReseau>(std::move(d));
    };
  }
};

// Writes a document file of the stand-in format.
inline bool EcritDocumentEssai(const std::string& chemin, const std::string& nom, const std::vector<CaviteEssai>& cavites,
                               int32_t pointsSurface = 0) {
  TDocumentEssai d;
  d.Nom_ = nom;
  d.Cavites = cavites;
  d.PointsSurface = pointsSurface;
  foundation::TFluxMemoire f;
  return d.Ecrit(f) && foundation::EnregistreFlux(chemin, f);
}

}  // namespace essai
