#include "formats/import/autre_reseau/cadre_autre_reseau.h"

#include <cmath>
#include <stdexcept>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/import_motifs.h"
#include "drawing/liste_mtf.h"
#include "drawing/objet_trait.h"
#include "drawing/ports_motifs.h"
#include "foundation/catalogue.h"
#include "foundation/codage.h"
#include "foundation/flux.h"
#include "platform/dialogs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/fichier_reseau.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TObjetDeListe;
using survey::TPointSpeleo;

// --- The frame ----------------------------------------------------------------------------------

TCadreAutreReseau::TCadreAutreReseau()
    : modifie_(survey::Document().DocumentModifie),
      ouvert_(survey::Document().ReseauCourant),
      bibOuverte_(drawing::Dessin().ListesMtfReseau),
      croquis_(drawing::Dessin().ContexteCroquis) {
  second_ = std::make_unique<survey::TReseau>();
  bibSeconde_ = drawing::Dessin().ListesMtfReseau;
}

TCadreAutreReseau::~TCadreAutreReseau() {
  // The second network frees its own document-wide objects; the guards then
  // put the open document's back.
  second_.reset();
  drawing::Dessin().ContexteCroquis = croquis_;
  survey::Document().DocumentModifie = modifie_ || copie_;
}

bool TCadreAutreReseau::LitDocument(const std::string& chemin) {
  foundation::TFluxMemoire flux;
  const bool charge = foundation::ChargeFlux(chemin, flux);
  bool ok = false;
  try {
    ok = charge && second_->Lit(flux);
  } catch (const std::runtime_error&) {
    ok = false;
  }
  if (!ok)
    platform::Dialogs::Current().ShowMessage(
        platform::MessageKind::Error,
        survey::AvecRaison(foundation::RemplaceMarques(Msg(IdMsg::ReseauFichierNonLu), {chemin}),
                           survey::RaisonDocumentIllisible(chemin, charge ? &flux : nullptr)));
  return ok;
}

void TCadreAutreReseau::OuvertCourant() { survey::Document().ReseauCourant = ouvert_; }
void TCadreAutreReseau::SecondCourant() { survey::Document().ReseauCourant = second_.get(); }

GardeContexteCroquis::GardeContexteCroquis(bool actif) : sauve_(drawing::Dessin().ContexteCroquis) {
  drawing::Dessin().ContexteCroquis = actif;
}
GardeContexteCroquis::~GardeContexteCroquis() { drawing::Dessin().ContexteCroquis = sauve_; }

// --- TEquivalences ------------------------------------------------------------------------------

namespace {

constexpr double PasGrillePoints = 0.1;

std::string NomSansCasse(const std::string& n) { return foundation::EnMinuscules(n); }

int64_t Case(double v) { return static_cast<int64_t>(std::floor(v / PasGrillePoints)); }

}  // namespace

TEquivalences::TEquivalences(TCadreAutreReseau& cadre)
    : Operateurs(&cadre.Second().ListeOperateurs),
      Instruments(&cadre.Second().ListeInstruments),
      Cadre(cadre) {
  survey::TReseau& second = cadre.Second();
  survey::TReseau* ouvert = cadre.Ouvert();
  // Surface points: the second document's, converted into the open
  // network's system, against the open ones on a 0.1 m grid.
  if (ouvert && ouvert->LesPointsSurface() && second.LesPointsSurface()) {
    std::unordered_map<int64_t, std::unordered_map<int64_t, std::vector<TPointSpeleo*>>> grille;
    for (TPointSpeleo* p : *ouvert->LesPointsSurface()) grille[Case(p->X)][Case(p->Y)].push_back(p);
    for (TPointSpeleo* p : *second.LesPointsSurface()) {
      ouvert->TransformePointSurface(*p, second.Projection, second.NumFuseau);
      const std::string nom = NomSansCasse(p->DesignPTopo);
      TPointSpeleo* trouve = nullptr;
      for (int64_t i = Case(p->X) - 1; i <= Case(p->X) + 1 && !trouve; ++i) {
        const auto colonne = grille.find(i);
        if (colonne == grille.end()) continue;
        for (int64_t j = Case(p->Y) - 1; j <= Case(p->Y) + 1 && !trouve; ++j) {
          const auto cellule = colonne->second.find(j);
          if (cellule == colonne->second.end()) continue;
          for (TPointSpeleo* q : cellule->second)
            if (std::hypot(q->X - p->X, q->Y - p->Y) < PasGrillePoints && NomSansCasse(q->DesignPTopo) == nom) {
              trouve = q;
              break;
            }
        }
      }
      if (trouve) pointsSurface_[p] = trouve;
    }
  }
  if (ouvert) {
    Operateurs.CreeEquivalents(
        ouvert->ListeOperateurs,
        [](const TObjetDeListe& o) { return NomSansCasse(static_cast<const survey::TOperateur&>(o).DesignOpe); },
        [](const TObjetDeListe&, const TObjetDeListe&) { return true; });
    const auto cleInstrument = [](const TObjetDeListe& o) {
      const auto& i = static_cast<const survey::TInstrument&>(o);
      return NomSansCasse(i.DesignInstr) + '\x1f' + NomSansCasse(i.Marque) + '\x1f' +
             std::to_string(static_cast<int>(i.TypeInstr)) + '\x1f' + std::to_string(static_cast<int>(i.Unites));
    };
    Instruments.CreeEquivalents(ouvert->ListeInstruments, cleInstrument,
                                [](const TObjetDeListe&, const TObjetDeListe&) { return true; });
  }
  // The pattern lists, through each entry's own equivalence test.
  drawing::tListeMtf* bs = cadre.BibliothequeSeconde();
  drawing::tListeMtf* bo = cadre.BibliothequeOuverte();
  struct Paire {
    TListeEquiv* equiv;
    drawing::TListeMotifsBase* source;
    drawing::TListeMotifsBase* dest;
  };
  std::vector<Paire> paires;
  if (bs) {
    paires = {{&Textures, &bs->ListeTextures, bo ? &bo->ListeTextures : nullptr},
              {&Traits, &bs->ListeTraits, bo ? &bo->ListeTraits : nullptr},
              {&Remplis, &bs->ListeRemplis, bo ? &bo->ListeRemplis : nullptr},
              {&Fontes, &bs->ListeFontes, bo ? &bo->ListeFontes : nullptr},
              {&Symboles, &bs->ListeSymboles, bo ? &bo->ListeSymboles : nullptr},
              {&SymbolesSurface, &bs->ListeMotifsSurface, bo ? &bo->ListeMotifsSurface : nullptr},
              {&TraitsDTT, &bs->MotifsDTT, bo ? &bo->MotifsDTT : nullptr},
              {&FontesDTT, &bs->FontesDTT, bo ? &bo->FontesDTT : nullptr},
              {&SymbolesDTT, &bs->SymbolesDTT, bo ? &bo->SymbolesDTT : nullptr}};
  }
  reloge_ = std::make_unique<drawing::TRelogeMotifs>(bo);
  for (const Paire& p : paires) {
    *p.equiv = TListeEquiv(p.source);
    if (p.dest) drawing::CreeEquivalentsMotifs(*p.equiv, *p.dest);
    motifs_.emplace_back(p.equiv, p.dest);
    for (int i = 0; i < p.equiv->Count(); ++i)
      if (TObjetDeListe* d = p.equiv->UnEquiv(i).ObjDest)
        reloge_->Associe(static_cast<drawing::TObjetMotifdeBase*>(p.source->UnObjetDeBase(i)),
                         static_cast<drawing::TObjetMotifdeBase*>(d));
  }
}

TEquivalences::~TEquivalences() = default;

TPointSpeleo* TEquivalences::PointEquivalent(const TPointSpeleo* p) const {
  const auto it = pointsSurface_.find(p);
  return it == pointsSurface_.end() ? nullptr : it->second;
}

TPointSpeleo* TEquivalences::CopiePointSurfaceImporte(TPointSpeleo* p) {
  if (!p) return nullptr;
  if (TPointSpeleo* e = PointEquivalent(p)) return e;
  if (const auto it = copies_.find(p); it != copies_.end()) return it->second;
  survey::TReseau* ouvert = Cadre.Ouvert();
  survey::TListedePoints* surface = ouvert ? ouvert->LesPointsSurface() : nullptr;
  if (!surface) return nullptr;
  auto n = std::make_unique<TPointSpeleo>();
  n->DesignPTopo = p->DesignPTopo;
  n->Commentaire = p->Commentaire;
  n->TypePoint = p->TypePoint;
  n->X = p->X;
  n->Y = p->Y;
  n->Z = p->Z;
  n->Slh = p->Slh;
  n->LargeurDR = p->LargeurDR;
  n->LargeurGA = p->LargeurGA;
  n->HauteurSup = p->HauteurSup;
  n->HauteurInf = p->HauteurInf;
  n->InvBords = p->InvBords;
  n->CategorieSurface = SymbolesSurface.EquivautT(drawing::MotifDe(p->CategorieSurface));
  survey::TCavite* c0 = ouvert->UneCavite(0);
  n->GalduPt = c0 ? c0->Galeries.First() : nullptr;
  TPointSpeleo* r = surface->Add(std::move(n));
  copies_[p] = r;
  return r;
}

void TEquivalences::RemappeLever(survey::TLever& l) {
  for (survey::TOperateur*& o : l.Operateurs) o = Operateurs.EquivautT(o);
  l.InstrumentAz = Instruments.EquivautT(l.InstrumentAz);
  l.InstrumentL = Instruments.EquivautT(l.InstrumentL);
  l.InstrumentP = Instruments.EquivautT(l.InstrumentP);
}

void TEquivalences::RemappeDessins(survey::TCavite& c) {
  drawing::TAnnexeDessinCavite* a = drawing::AnnexeDessin(&c);
  if (!a) return;
  for (drawing::TDonneesCoupeLong* coupe : a->LesCoupesLong)
    if (coupe->TypeDeDessin() == foundation::TTypeDeDessin::tddAltiProj) coupe->NettoieAutresCav(&c);
  a->DessinsPkTp.SupprimeSi([](const drawing::TDessinPkTp* s) { return s->EstDessinVide(); });
  a->RelogeMotifs(*reloge_);
  MarqueMotifsUtilises(c);
}

void TEquivalences::MarqueMotifsUtilises(survey::TCavite& c) {
  drawing::TAnnexeDessinCavite* a = drawing::AnnexeDessin(&c);
  if (!a) return;
  for (TListeEquiv* e : {&Traits, &Remplis, &Fontes, &Symboles, &TraitsDTT, &FontesDTT, &SymbolesDTT}) {
    if (!e->ListeSource) continue;
    for (int i = 0; i < e->Count(); ++i) {
      TEquivObjet& q = e->UnEquiv(i);
      if (q.ObjDest || q.Utilise) continue;
      if (a->UtiliseMotif(static_cast<drawing::TObjetMotifdeBase*>(e->ListeSource->UnObjetDeBase(i))))
        q.Utilise = true;
    }
  }
}

void TEquivalences::TransfereObjetsPartages() {
  survey::TReseau* ouvert = Cadre.Ouvert();
  if (!ouvert) return;
  Operateurs.TransfereObjetsUtiles(Cadre.Second().ListeOperateurs, ouvert->ListeOperateurs);
  Instruments.TransfereObjetsUtiles(Cadre.Second().ListeInstruments, ouvert->ListeInstruments);
  // The textures of the used styles and fills without equivalent.
  for (TListeEquiv* e : {&Traits, &Remplis, &TraitsDTT}) {
    if (!e->ListeSource) continue;
    for (int i = 0; i < e->Count(); ++i) {
      const TEquivObjet& q = e->UnEquiv(i);
      if (q.ObjDest || !q.Utilise) continue;
      auto* t = dynamic_cast<drawing::TDefObjetTrait*>(e->ListeSource->UnObjetDeBase(i));
      if (t && t->UneTexture) t->UneTexture = Textures.EquivautT(t->UneTexture);
    }
  }
  for (const auto& [equiv, dest] : motifs_) {
    if (!dest || !equiv->ListeSource) continue;
    auto& source = static_cast<drawing::TListeMotifsBase&>(*equiv->ListeSource);
    for (TObjetDeListe* o : equiv->TransfereObjetsUtiles<drawing::TListeBasiqueDeMotifs>(source, *dest)) {
      auto* m = static_cast<drawing::TObjetMotifdeBase*>(o);
      m->ListeProprio = dest;
      m->UneCategorie = nullptr;
      m->CodeOrigineMotif = dest->CodeOrigine;
      m->SetVerrou(false);
    }
    dest->CreeListeCategories();
  }
}

}  // namespace formats
