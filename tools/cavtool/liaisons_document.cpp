#include "tools/cavtool/liaisons_document.h"

#include <exception>
#include <memory>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/contexte_motifs.h"
#include "drawing/liste_mtf.h"
#include "drawing/ports_dessin.h"
#include "drawing/ports_motifs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "foundation/niveau_fichier.h"
#include "survey/parties_reseau.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"

namespace cavtool {

namespace {

using foundation::TFlux;

class TPartieBibliotheque;
TPartieBibliotheque* courante = nullptr;

// The document pattern library: built-in defaults until a document replaces
// them.
class TPartieBibliotheque : public survey::TPartieReseau {
 public:
  TPartieBibliotheque() : Bibliotheque(0) {
    Bibliotheque.InitDefaut();
    if (Programme().CompleteBibliotheque) Programme().CompleteBibliotheque(Bibliotheque);
  }
  ~TPartieBibliotheque() override {
    if (courante == this) courante = nullptr;
    if (drawing::Dessin().ListesMtfReseau == &Bibliotheque) drawing::Dessin().ListesMtfReseau = nullptr;
  }

  bool Ecrit(TFlux& f) override { return Bibliotheque.EcritObjet(f, false); }
  bool Lit(TFlux& f) override { return Bibliotheque.LitObjetEnRemplacement(f, false); }
  void ApresLecture() override {
    const int32_t niveau = foundation::NiveauFichier().VersionFichierLue;
    if (niveau < 500) Bibliotheque.CreeListesRio();
    if (niveau < 510) Bibliotheque.ListeFontes.CompleteFontesInfoTopo();
  }
  bool EcritConfig(TFlux& f) override { return Bibliotheque.EcritConfig(f); }
  bool LitConfig(TFlux& f) override { return Bibliotheque.LitConfig(f); }
  void Active() override {
    courante = this;
    drawing::Dessin().ListesMtfReseau = &Bibliotheque;
  }

  void CalculeVerrous(int typeMotif,
                      const std::function<bool(const drawing::TObjetMotifdeBase*)>& utilise) override {
    if (typeMotif < 0 || typeMotif >= drawing::NombreTypesMotif) return;
    drawing::TListeMotifsBase* liste = Bibliotheque.ListeMotif[static_cast<size_t>(typeMotif)];
    liste->InitCalculVerrous();
    for (drawing::TObjetMotifdeBase* m : *liste)
      if (!m->GetVerrou() && utilise(m) && !m->GetVerrou()) m->SetVerrou(true);
  }
  drawing::TObjetMotifdeBase* SymboleSurface(int32_t position) const override {
    return Bibliotheque.ListeMotifsSurface.UnObjet(position);
  }
  void ReprendRoleFonte(drawing::TObjetMotifdeBase* garde, drawing::TObjetMotifdeBase* fusionne) override {
    auto* g = dynamic_cast<drawing::TDefObjetFonte*>(garde);
    auto* f = dynamic_cast<drawing::TDefObjetFonte*>(fusionne);
    if (g && f && !g->EstInfoTopo()) g->InfoTopoFnte = f->InfoTopoFnte;
  }

  drawing::tListeMtf Bibliotheque;
};

// The Therion set read with a document, until the whole document was read.
std::unique_ptr<drawing::tListeMtf> therionLu;

}  // namespace

drawing::tListeMtf* BibliothequeCourante() { return courante ? &courante->Bibliotheque : nullptr; }

LiaisonsProgramme& Programme() {
  static LiaisonsProgramme programme;
  return programme;
}

bool CompleteBibliotheque(drawing::tListeMtf& bibliotheque, const std::string& fichier) {
  for (int k = 0; k < drawing::NombreTypesMotif; ++k)
    if (!bibliotheque.CompleteListeMotifs(fichier, static_cast<drawing::TTypeMotif>(k))) return false;
  return true;
}

void InstalleLiaisonsDocument() {
#ifdef GRAVELUNE_LIAISONS_VUES
  InstalleLiaisonsVues();
#endif
  drawing::InitialiseMotifs();
  survey::InstallePortsReseau();
  survey::FabriquesReseau& f = survey::Fabriques();
  f.Parties[static_cast<size_t>(survey::TGenrePartie::BibliothequeMotifs)] =
      [](survey::TReseau&) -> std::unique_ptr<survey::TPartieReseau> { return std::make_unique<TPartieBibliotheque>(); };
  f.Sauvegardes[static_cast<size_t>(survey::TGenrePartie::BibliothequeMotifs)] = [] {
    TPartieBibliotheque* sauve = courante;
    drawing::tListeMtf* sauveDessin = drawing::Dessin().ListesMtfReseau;
    return std::function<void()>([sauve, sauveDessin] {
      courante = sauve;
      drawing::Dessin().ListesMtfReseau = sauveDessin;
    });
  };
  f.Therion.Ecrit = [](TFlux& flux) { return drawing::Motifs().ListesMtfTherion->EcritObjet(flux, false); };
  f.Therion.Lit = [](TFlux& flux) {
    auto lue = std::make_unique<drawing::tListeMtf>(1);
    if (!lue->LitObjet(flux, false)) return false;
    therionLu = std::move(lue);
    return true;
  };
  f.Therion.Valide = [] {
    if (therionLu) drawing::Motifs().ListesMtfTherion->RemplaceContenu(*therionLu, false);
    therionLu.reset();
  };
  f.Therion.Abandonne = [] { therionLu.reset(); };

  survey::Ports().PositionCategorieSurface = [](const drawing::TObjetMotifdeBase* m) -> int32_t {
    const drawing::tListeMtf* b = BibliothequeCourante();
    return b && m ? b->ListeMotifsSurface.IndexOf(m) : -1;
  };
  survey::Ports().NomCategorieSurface = [](const drawing::TObjetMotifdeBase* m) {
    return m ? m->DesignMotif : std::string();
  };
}

void InstalleLiaisonsDessins() {
  // Every cave carries its drawings; references into a replaced library
  // follow into them and into the plan page layouts.
  drawing::InstalleAnnexeDessin();
  // Elevations take the stations' wall points from the survey model.
  drawing::PortsDonnees().CalculeDessinCav = [](survey::TCavite& c) { c.CalculeDessinCav(); };
  drawing::Ports().RelogeReferences = [](const drawing::TRelogeMotifs& reloge) {
    if (survey::TReseau* r = survey::Document().ReseauCourant)
      for (survey::TCavite* c : r->Cavites)
        if (auto* a = dynamic_cast<drawing::TAnnexeDessinCavite*>(c->Annexe.get())) a->RelogeMotifs(reloge);
#ifdef GRAVELUNE_LIAISONS_VUES
    RelogeMisesEnPage(reloge);
#endif
  };
}

void InstalleLiaisonsProgramme() {
  InstalleLiaisonsDocument();
  InstalleLiaisonsDessins();
}

}  // namespace cavtool
