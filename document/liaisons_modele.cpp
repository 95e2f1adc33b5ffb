#include "document/liaisons_modele.h"

#include <exception>
#include <memory>

#include "document/contexte_composition.h"
#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/contexte_motifs.h"
#include "drawing/dessin_ferme.h"
#include "drawing/import_motifs.h"
#include "drawing/liste_mtf.h"
#include "drawing/ports_dessin.h"
#include "drawing/ports_motifs.h"
#include "drawing/texture.h"
#include "formats/import/autre_reseau/import_cavites.h"
#include "foundation/niveau_fichier.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/parties_reseau.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"

namespace document {

namespace {

using foundation::TFlux;

// The document pattern library: built-in defaults until a document replaces
// them.
class TPartieBibliotheque : public survey::TPartieReseau {
 public:
  explicit TPartieBibliotheque(const MotifsParDefaut& motifs) : Bibliotheque(0) {
    Bibliotheque.InitDefaut();
    CompleteParDefaut(motifs);
  }
  ~TPartieBibliotheque() override {
    if (ContexteComposition().BibliothequeCourante == &Bibliotheque) ContexteComposition().BibliothequeCourante = nullptr;
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
    ContexteComposition().BibliothequeCourante = &Bibliotheque;
    drawing::Dessin().ListesMtfReseau = &Bibliotheque;
  }

  survey::TMotifDocument* SymboleSurface(int32_t position) const override {
    return Bibliotheque.ListeMotifsSurface.UnObjet(position);
  }
  void ReprendRoleFonte(survey::TMotifDocument* garde, survey::TMotifDocument* fusionne) override {
    auto* g = dynamic_cast<drawing::TDefObjetFonte*>(garde);
    auto* f = dynamic_cast<drawing::TDefObjetFonte*>(fusionne);
    if (g && f && !g->EstInfoTopo()) g->InfoTopoFnte = f->InfoTopoFnte;
  }

  drawing::tListeMtf Bibliotheque;

 private:
  // The default pattern file completes the new library; the document stays
  // as modified as it was.
  void CompleteParDefaut(const MotifsParDefaut& motifs) {
    const std::string fichier = motifs.Fichier ? motifs.Fichier() : std::string();
    if (fichier.empty()) return;
    const bool modifie = survey::Document().DocumentModifie;
    if (!CompleteBibliotheque(Bibliotheque, fichier) && motifs.Illisible) motifs.Illisible(fichier);
    survey::Document().DocumentModifie = modifie;
  }
};

}  // namespace

drawing::tListeMtf* BibliothequeCourante() { return ContexteComposition().BibliothequeCourante; }

bool CompleteBibliotheque(drawing::tListeMtf& bibliotheque, const std::string& fichier) {
  drawing::tListeMtf difference(0);
  if (!bibliotheque.OuvreMtfPourMotifs(fichier, difference)) return false;
  drawing::FusionneListesMtf(bibliotheque, difference);
  // The file's textures that no merged entry brought along.
  return bibliotheque.CompleteListeMotifs(fichier, drawing::TTypeMotif::tmTexture);
}

void InstalleLiaisonsModele(const MotifsParDefaut& motifs) {
  drawing::InitialiseMotifs();
  survey::InstallePortsReseau();
  survey::FabriquesReseau& f = survey::Fabriques();
  f.Parties[static_cast<size_t>(survey::TGenrePartie::BibliothequeMotifs)] =
      [motifs](survey::TReseau&) -> std::unique_ptr<survey::TPartieReseau> {
    return std::make_unique<TPartieBibliotheque>(motifs);
  };
  f.Sauvegardes[static_cast<size_t>(survey::TGenrePartie::BibliothequeMotifs)] = [] {
    drawing::tListeMtf* sauve = ContexteComposition().BibliothequeCourante;
    drawing::tListeMtf* sauveDessin = drawing::Dessin().ListesMtfReseau;
    return std::function<void()>([sauve, sauveDessin] {
      ContexteComposition().BibliothequeCourante = sauve;
      drawing::Dessin().ListesMtfReseau = sauveDessin;
    });
  };
  f.Therion.Ecrit = [](TFlux& flux) { return drawing::Motifs().ListesMtfTherion->EcritObjet(flux, false); };
  f.Therion.Lit = [](TFlux& flux) {
    auto lue = std::make_unique<drawing::tListeMtf>(1);
    if (!lue->LitObjet(flux, false)) return false;
    ContexteComposition().TherionLu = std::move(lue);
    return true;
  };
  f.Therion.Valide = [] {
    auto& lu = ContexteComposition().TherionLu;
    if (lu) drawing::Motifs().ListesMtfTherion->RemplaceContenu(*lu, false);
    lu.reset();
  };
  f.Therion.Abandonne = [] { ContexteComposition().TherionLu.reset(); };

  // A change of the pattern library marks the document modified.
  drawing::Ports().DocumentModifie = [] { survey::Document().DocumentModifie = true; };
  drawing::Ports().LitMotifsAutreReseau = formats::LitMotifsAutreReseau;

  survey::Ports().PositionCategorieSurface = [](const survey::TMotifDocument* m) -> int32_t {
    const drawing::tListeMtf* b = BibliothequeCourante();
    const drawing::TObjetMotifdeBase* motif = drawing::MotifDe(m);
    return b && motif ? b->ListeMotifsSurface.IndexOf(motif) : -1;
  };
  survey::Ports().NomCategorieSurface = [](const survey::TMotifDocument* m) {
    const drawing::TObjetMotifdeBase* motif = drawing::MotifDe(m);
    return motif ? motif->DesignMotif : std::string();
  };
}

void InstalleLiaisonsDessins() {
  // Every cave carries its drawings; references into a replaced library
  // follow into them (and, with the view links, into the plan page layouts).
  drawing::InstalleAnnexeDessin();
  // Elevations take the stations' wall points from the survey model.
  drawing::PortsDonnees().CalculeDessinCav = [](survey::TCavite& c) { c.CalculeDessinCav(); };
  drawing::Ports().RelogeReferences = RelogeDessins;
  // Textured fills tile their texture's picture (made on first use, hence the
  // texture is not const while it is drawn).
  drawing::InstallePavageTexture([](platform::Canvas& canvas, int32_t largeur, int32_t hauteur,
                                    const drawing::tTexture& texture, double coefficient, int32_t origineX,
                                    int32_t origineY) {
    drawing::PaveTexture(canvas, largeur, hauteur, const_cast<drawing::tTexture&>(texture), coefficient, origineX,
                         origineY);
  });
}

void RelogeDessins(const drawing::TRelogeMotifs& reloge) {
  if (survey::TReseau* r = survey::Document().ReseauCourant)
    for (survey::TCavite* c : r->Cavites)
      if (auto* a = dynamic_cast<drawing::TAnnexeDessinCavite*>(c->Annexe.get())) a->RelogeMotifs(reloge);
}

}  // namespace document
