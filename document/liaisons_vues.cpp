#include "document/liaisons_vues.h"

#include <memory>

#include "document/liaisons_modele.h"
#include "drawing/ports_dessin.h"
#include "drawing/ports_motifs.h"
#include "drawing/symbole.h"
#include "editor/config.h"
#include "editor/image_notes.h"
#include "editor/ports_editeur.h"
#include "editor/reprojection.h"
#include "formats/export/svg/fichier_svg.h"
#include "survey/contexte_document.h"
#include "survey/dossiers.h"
#include "survey/parties_reseau.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "views/mise_en_page.h"
#include "views/objets_mise_en_page.h"
#include "views/ports_vues.h"

namespace document {

namespace {

using foundation::TFlux;

class TPartieCartes : public survey::TPartieReseau {
 public:
  ~TPartieCartes() override {
    if (editor::Cartes().CartesReseau == &Cartes) editor::Cartes().CartesReseau = nullptr;
  }
  bool Ecrit(TFlux& f) override { return Cartes.EcritListe(f); }
  bool Lit(TFlux& f) override { return Cartes.LitListe(f); }
  void Active() override {
    editor::Cartes().CartesReseau = &Cartes;
    editor::Cartes().NumCarteActive = Cartes.NoteActive;
  }
  void ChangeProjection(const std::string& ancien, int32_t ancienFuseau, int32_t nouveauFuseau,
                        const std::string& nouveau) override {
    Cartes.ChangeProjection(ancien, ancienFuseau, nouveauFuseau, nouveau);
  }

  editor::TListeNotes Cartes;
};

class TPartieMisesEnPage : public survey::TPartieReseau {
 public:
  ~TPartieMisesEnPage() override {
    auto& listes = views::MisesEnPage().ListesMisesEnPage;
    for (auto& l : listes)
      if (l == &Liste) l = nullptr;
  }
  bool Ecrit(TFlux& f) override { return Liste.EcritListe(f); }
  bool Lit(TFlux& f) override { return Liste.LitListe(f); }
  void Active() override { views::MisesEnPage().ListesMisesEnPage[0] = &Liste; }
  void ChangeProjection(const std::string& ancien, int32_t ancienFuseau, int32_t nouveauFuseau,
                        const std::string& nouveau) override {
    editor::TBilanReprojection bilan;
    for (views::TMiseEnPage* m : Liste)
      for (views::TPageSemis* p : m->ListePages) {
        foundation::TPointTopo coins[2] = {p->PointHautReel, p->PointBasReel};
        if (editor::ReprojettePoints(coins, 2, ancien, ancienFuseau, nouveau, nouveauFuseau)) {
          p->PointHautReel = coins[0];
          p->PointBasReel = coins[1];
        } else {
          bilan.FondsNonConvertis.push_back(m->Design);
        }
      }
    bilan.Signale();
  }
  bool UtiliseMotif(const survey::TMotifDocument* motif) const override {
    for (const views::TMiseEnPage* m : Liste)
      if (m->FlecheN && static_cast<const survey::TMotifDocument*>(m->FlecheN->FlecheSymb) == motif) return true;
    return false;
  }
  void FusionneMotifs(survey::TMotifDocument* garde, survey::TMotifDocument* fusionne) override {
    for (views::TMiseEnPage* m : Liste) m->FusionneMotifs(drawing::MotifDe(garde), drawing::MotifDe(fusionne));
  }
  void FusionneFlecheN(survey::TMotifDocument* garde, survey::TMotifDocument* fusionne) override {
    for (views::TMiseEnPage* m : Liste) m->FusionneFlecheN(drawing::MotifDe(garde), drawing::MotifDe(fusionne));
  }

  views::TListeMisesEnPage Liste;
};

// A drawing's display configuration: the background model's annexes.
class TConfigEditeur : public drawing::TConfigDessin {
 public:
  bool EcritObjet(TFlux& f) override { return Config.EcritObjet(f); }
  bool LitObjet(TFlux& f) override { return Config.LitObjet(f); }
  void ChangeProjectionConfig(const std::string& AncienProj, int32_t AncienFuseau, const std::string& NouveauProj,
                              int32_t NouveauFuseau) override {
    Config.ChangeProjectionConfig(AncienProj, AncienFuseau, NouveauProj, NouveauFuseau);
  }

  editor::TConfig Config;
};

survey::TReseau* Reseau() { return survey::Document().ReseauCourant; }

survey::TCavite* Cavite(int i) { return Reseau() ? Reseau()->UneCavite(i) : nullptr; }

}  // namespace

void InstalleLiaisonsVues() {
  survey::FabriquesReseau& f = survey::Fabriques();
  f.Parties[static_cast<size_t>(survey::TGenrePartie::Cartes)] =
      [](survey::TReseau&) -> std::unique_ptr<survey::TPartieReseau> { return std::make_unique<TPartieCartes>(); };
  f.Sauvegardes[static_cast<size_t>(survey::TGenrePartie::Cartes)] = [] {
    const editor::ContexteCartes sauve = editor::Cartes();
    return std::function<void()>([sauve] { editor::Cartes() = sauve; });
  };
  f.Parties[static_cast<size_t>(survey::TGenrePartie::MisesEnPagePlan)] =
      [](survey::TReseau&) -> std::unique_ptr<survey::TPartieReseau> {
    return std::make_unique<TPartieMisesEnPage>();
  };
  f.Sauvegardes[static_cast<size_t>(survey::TGenrePartie::MisesEnPagePlan)] = [] {
    const auto sauve = views::MisesEnPage().ListesMisesEnPage;
    return std::function<void()>([sauve] { views::MisesEnPage().ListesMisesEnPage = sauve; });
  };

  drawing::PortsDonnees().ClasseMiseEnPage = foundation::ClasseDe<views::TMiseEnPage>();
  drawing::PortsDonnees().CreeConfig = []() -> std::unique_ptr<drawing::TConfigDessin> {
    return std::make_unique<TConfigEditeur>();
  };
  drawing::PortsDonnees().FusionneMotifsMiseEnPage = [](foundation::TObjetDeListe& m,
                                                        drawing::TObjetMotifdeBase* garde,
                                                        drawing::TObjetMotifdeBase* fusionne) {
    if (auto* mep = dynamic_cast<views::TMiseEnPage*>(&m)) mep->FusionneMotifs(garde, fusionne);
  };

  views::PortsVues& p = views::Ports();
  p.ExporteSVG = [](const drawing::TConstantesSVG& c, const drawing::TCalque* filigranes, bool sansFenetre) {
    return Reseau() && formats::ExporteSVG(*Reseau(), c, filigranes, sansFenetre);
  };
  p.NombreCavites = [] { return Reseau() ? Reseau()->NombreCavites() : 0; };
  p.EstEntreeDeCavite = [](int cavite, int32_t point) {
    const survey::TCavite* c = Cavite(cavite);
    const survey::TPointSpeleo* e = survey::LePointReseau(point);
    return c && e && c->ListeEntrees.Contient(e);
  };
  p.NombrePointsReseau = [] { return static_cast<int32_t>(survey::ListePointsReseau().size()); };
  p.NombreCoupesLong = [](int cavite) {
    const survey::TCavite* c = Cavite(cavite);
    return c && c->Annexe ? c->Annexe->NombreCoupesLong() : 0;
  };
  p.CoupesDecalees = [](int cavite) {
    const survey::TCavite* c = Cavite(cavite);
    return c && c->CoupesDecalees;
  };
  p.NomFichierDocument = [] { return survey::Document().NomFichierCourant; };
  p.NomReseau = [] { return Reseau() ? Reseau()->Nom : std::string(); };
  p.NomCaviteActive = [] {
    return Reseau() && Reseau()->LaCaviteActive ? Reseau()->LaCaviteActive->NomCavite : std::string();
  };
  p.BibliothequeDocument = [] { return BibliothequeCourante(); };
  editor::InstalleCarteDesVues();
  editor::Ports().DossierDeTravail = [] { return survey::DossierDeTravail(); };

  drawing::Ports().RelogeReferences = [](const drawing::TRelogeMotifs& reloge) {
    RelogeDessins(reloge);
    RelogeMisesEnPage(reloge);
  };
}

void RelogeMisesEnPage(const drawing::TRelogeMotifs& reloge) {
  if (views::TListeMisesEnPage* l = views::MisesEnPage().ListesMisesEnPage[0])
    for (views::TMiseEnPage* m : *l) m->RelogeMotifs(reloge);
}

}  // namespace document
