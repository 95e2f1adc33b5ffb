#include "drawing/liste_mtf.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "drawing/contexte_motifs.h"
#include "drawing/ports_motifs.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/niveau_fichier.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "survey/reseau.h"

namespace drawing {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;

tListeMtf::tListeMtf(int32_t codeOrigine)
    : CodeOrigine(codeOrigine),
      ListeTraits(foundation::ClasseDe<TObjetTrait>(), TTypeMotif::tmTrait),
      ListeRemplis(foundation::ClasseDe<tMotifRempli>(), TTypeMotif::tmRempli),
      MotifsDTT(foundation::ClasseDe<TObjetTrait>(), TTypeMotif::tmTrait),
      MotifsSVG(foundation::ClasseDe<TMotifSVG>(), TTypeMotif::tmTrait),
      ListeMotif{&ListeTextures, &ListeTraits,        &ListeRemplis, &ListeSymboles,
                 &ListeFlNord,   &ListeMotifsSurface, &ListeFontes} {
  Relie();
}

void tListeMtf::Relie() {
  for (TListeMotifsBase* l : ListeMotif) {
    l->MtfProprio = this;
    l->CodeOrigine = CodeOrigine;
  }
  // The entries of the sketch lists are stored with the library too and carry
  // its origin as well.
  for (TListeMotifsBase* l : std::initializer_list<TListeMotifsBase*>{&MotifsDTT, &SymbolesDTT, &FontesDTT}) {
    l->MtfProprio = this;
    l->CodeOrigine = CodeOrigine;
  }
  ListeTraits.vListeTexture = &ListeTextures;
  ListeRemplis.vListeTexture = &ListeTextures;
}

void tListeMtf::InitDefaut() {
  ListeTextures.InitDefaut();
  ListeTraits.InitDefaut();
  ListeRemplis.InitDefaut();
  ListeFontes.InitDefaut();
  ListeSymboles.InitDefaut();
  ListeMotifsSurface.InitDefaut();
  ListeFlNord.RAZ();
  ListeFlNordTmp.clear();
}

// --- Record ------------------------------------------------------------------------

bool tListeMtf::EcritObjet(TFlux& f, bool EstMtf) {
  // The textures go first: styles store their texture's position.
  if (!ListeTextures.EcritListe(f) || !ListeTraits.EcritListe(f) || !ListeRemplis.EcritListe(f) ||
      !ListeFontes.EcritListe(f) || !ListeSymboles.EcritListe(f) || !ListeFlNord.EcritListe(f) ||
      !ListeMotifsSurface.EcritListe(f))
    return false;
  if (EstMtf) return true;
  return MotifsDTT.EcritListe(f) && FontesDTT.EcritListe(f) && SymbolesDTT.EcritListe(f);
}

bool tListeMtf::LitObjet(TFlux& f, bool EstMtf) {
  const int32_t niveau = NiveauLu();
  if (!ListeTextures.LitListe(f) || !ListeTraits.LitListe(f)) return false;
  if (niveau >= 500 && !ListeRemplis.LitListe(f)) return false;
  if (!ListeFontes.LitListe(f) || !ListeSymboles.LitListe(f)) return false;
  if (niveau < 500) {
    ListeFlNord.RAZ();
    ListeFlNordTmp.clear();
    for (TObjetMotifdeBase* m : ListeSymboles) {
      auto* s = static_cast<TSymbole*>(m);
      if (s->EstFlecheN) {
        s->TypeMotif = TTypeMotif::tmNord;
        s->DirFixe = true;
        auto fleche = std::make_unique<TSymbFlecheN>();
        fleche->CopieMotif(*s);
        ListeFlNordTmp.push_back(static_cast<TSymbole*>(ListeFlNord.AjouteMotif(std::move(fleche))));
      } else {
        ListeFlNordTmp.push_back(s);
      }
    }
  } else if (!ListeFlNord.LitListe(f) || !ListeMotifsSurface.LitListe(f)) {
    return false;
  }
  if (!EstMtf && niveau >= 219)
    return MotifsDTT.LitListe(f) && FontesDTT.LitListe(f) && SymbolesDTT.LitListe(f);
  return true;
}

bool tListeMtf::LitObjetEnRemplacement(TFlux& f, bool EstMtf) {
  tListeMtf lue(CodeOrigine);
  try {
    if (!lue.LitObjet(f, EstMtf)) return false;
  } catch (const std::runtime_error&) {
    // A documented error fails the reading; a programming error goes on.
    return false;
  }
  RemplaceContenu(lue, EstMtf);
  return true;
}

void tListeMtf::RemplaceContenu(tListeMtf& lue, bool EstMtf) {
  std::vector<std::pair<TListeMotifsBase*, TListeMotifsBase*>> paires;
  for (int k = 0; k < NombreTypesMotif; ++k) paires.emplace_back(ListeMotif[k], lue.ListeMotif[k]);
  if (!EstMtf) {
    paires.emplace_back(&MotifsDTT, &lue.MotifsDTT);
    paires.emplace_back(&FontesDTT, &lue.FontesDTT);
    paires.emplace_back(&SymbolesDTT, &lue.SymbolesDTT);
  }
  TRelogeMotifs reloge(this);
  for (auto [vivante, nouvelle] : paires) {
    vivante->EchangeContenu(*nouvelle);
    // nouvelle now holds the old entries.
    for (int i = 0; i < nouvelle->Count(); ++i) reloge.Associe(nouvelle->UnObjet(i), vivante->UnObjet(i));
  }
  std::swap(ListeFlNordTmp, lue.ListeFlNordTmp);

  for (TObjetMotifdeBase* m : MotifsSVG) {
    auto* s = static_cast<TMotifSVG*>(m);
    if (s->Equivalent && reloge.Remplace(s->Equivalent)) {
      s->Equivalent = static_cast<TObjetTrait*>(reloge.Reloge(s->Equivalent));
      if (!s->Equivalent) s->IndexEquiv = -1;
    }
  }
  Motifs().RelogeReferences(reloge);
  if (Ports().RelogeReferences) Ports().RelogeReferences(reloge);
}

void tListeMtf::CreeListesRio() {
  ListeRemplis.RAZ();
  for (int i = 0; i < ListeTraits.Count();) {
    auto* t = static_cast<TDefObjetTrait*>(ListeTraits.UnObjet(i));
    if (t->estFerme() && !t->estHabillage()) {
      std::unique_ptr<TObjetMotifdeBase> m = ListeTraits.ExtraitMotif(i);
      m->TypeMotif = TTypeMotif::tmRempli;
      ListeRemplis.AjouteMotif(std::move(m));
    } else {
      ++i;
    }
  }
  for (int i = 0; i < ListeSymboles.Count();) {
    if (static_cast<TDefSymbole*>(ListeSymboles.UnObjet(i))->EstFlecheN)
      ListeSymboles.Delete(i);
    else
      ++i;
  }
  ListeMotifsSurface.RAZ();
  ListeMotifsSurface.AjouteSymbolesDefaut();
}

// --- SVG strokes of the .CFG -------------------------------------------------------------

bool tListeMtf::EcritConfig(TFlux& f) {
  for (TObjetMotifdeBase* m : MotifsSVG) {
    auto* s = static_cast<TMotifSVG*>(m);
    s->IndexEquiv = s->Equivalent ? ListeTraits.IndexOf(s->Equivalent) : -1;
  }
  return MotifsSVG.EcritListe(f);
}

bool tListeMtf::LitConfig(TFlux& f) {
  TListeMotifs lue(foundation::ClasseDe<TMotifSVG>(), TTypeMotif::tmTrait);
  if (!lue.LitListe(f)) return false;
  for (TObjetMotifdeBase* m : lue) {
    auto* s = static_cast<TMotifSVG*>(m);
    if (s->IndexEquiv < 0) continue;
    if (s->IndexEquiv >= ListeTraits.Count()) return false;
    s->Equivalent = static_cast<TObjetTrait*>(ListeTraits.UnObjet(s->IndexEquiv));
  }
  MotifsSVG.EchangeContenu(lue);
  return true;
}

// --- Library-wide operations ----------------------------------------------------------------

void tListeMtf::CalculeVerrousTextures() {
  for (int i = 0; i < ListeTextures.Count(); ++i) ListeTextures.UnObjet(i)->SetVerrou(i < 6);
  for (const TListeMotifs* l : {&ListeTraits, &ListeRemplis})
    for (TObjetMotifdeBase* m : *l)
      if (tTexture* t = static_cast<TDefObjetTrait*>(m)->UneTexture) t->SetVerrou(true);
}

void tListeMtf::FusionneTextures(tTexture* gardee, tTexture* fusionnee) {
  for (const TListeMotifs* l : {&ListeTraits, &ListeRemplis})
    for (TObjetMotifdeBase* m : *l) {
      auto* t = static_cast<TDefObjetTrait*>(m);
      if (t->UneTexture == fusionnee) t->UneTexture = gardee;
    }
}

bool tListeMtf::DemasqueTousMotifs() {
  bool masque = false;
  for (const TListeMotifsBase* l :
       std::initializer_list<const TListeMotifsBase*>{&ListeTraits, &ListeRemplis, &ListeSymboles, &ListeFontes})
    for (TObjetMotifdeBase* m : *l) {
      masque = masque || m->MotifMasque;
      m->MotifMasque = false;
    }
  return masque;
}

void tListeMtf::CreeListesDiff(tListeMtf& source, tListeMtf& result) const {
  for (int k = 1; k < NombreTypesMotif; ++k) ListeMotif[k]->CreeListeDiff(*source.ListeMotif[k], *result.ListeMotif[k]);
}

bool tListeMtf::OuvreMtfPourMotifs(const std::string& nom, tListeMtf& result) const {
  tListeMtf lue(0);
  if (!LitFichierMtf(nom, lue)) return false;
  result.ListeTextures.RAZ();
  while (!lue.ListeTextures.Vide()) result.ListeTextures.AjouteMotif(lue.ListeTextures.ExtraitMotif(0));
  CreeListesDiff(lue, result);
  return true;
}

bool tListeMtf::CompleteListeMotifs(const std::string& nom, TTypeMotif type) {
  tListeMtf lue(0);
  if (!LitFichierMtf(nom, lue)) return false;
  TListeMotifsBase& cible = *ListeMotif[static_cast<size_t>(type)];
  const TListeMotifsBase& source = *lue.ListeMotif[static_cast<size_t>(type)];
  TIndexEquivalence presents, textures;
  for (const TObjetMotifdeBase* q : cible) presents.Ajoute(q);
  for (const TObjetMotifdeBase* q : ListeTextures) textures.Ajoute(q);
  for (TObjetMotifdeBase* p : source) {
    if (presents.Equivalent(*p)) continue;
    std::unique_ptr<TObjetMotifdeBase> copie = cible.CreeMotif();
    copie->CopieMotif(*p);
    // The file's category and texture die with the scratch library: the
    // copy joins this list's category of the same name (made when missing)
    // and this library's equivalent texture (a copy when there is none).
    if (p->UneCategorie) {
      TCategorieMotifs* c = nullptr;
      for (auto& k : cible.ListeCategories)
        if (!c && k->UnNomCategorie == p->UneCategorie->UnNomCategorie) c = k.get();
      copie->UneCategorie = c ? c : cible.AjouteCategorie(p->UneCategorie->UnNomCategorie);
    }
    if (auto* t = dynamic_cast<TDefObjetTrait*>(copie.get()); t && t->UneTexture) {
      auto* equivalente = const_cast<tTexture*>(static_cast<const tTexture*>(textures.Equivalent(*t->UneTexture)));
      if (!equivalente) {
        equivalente = static_cast<tTexture*>(ListeTextures.AjouteMotif(t->UneTexture->CloneTexture()));
        textures.Ajoute(equivalente);
      }
      t->UneTexture = equivalente;
    }
    presents.Ajoute(cible.AjouteMotif(std::move(copie)));
  }
  return true;
}

// --- Pattern files ----------------------------------------------------------------------------

std::string EnTeteMtf() {
  char niveau[16];
  std::snprintf(niveau, sizeof niveau, "%05d", static_cast<int>(foundation::ContexteNiveauFichier::VersionFichierCourante));
  return std::string("#MTF Version ") + niveau + "#";
}

bool EcritFluxMtf(TFlux& f, tListeMtf& bibliotheque) {
  return foundation::EcritChaineA(f, EnTeteMtf()) && bibliotheque.EcritObjet(f, true);
}

bool EcritFichierMtf(const std::string& nom, tListeMtf& bibliotheque) {
  foundation::TFluxMemoire flux;
  const bool ok = EcritFluxMtf(flux, bibliotheque) && foundation::EnregistreFlux(nom, flux);
  if (ok)
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information, Msg(IdMsg::MtfExportes) + nom);
  else
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, Msg(IdMsg::MtfErreurExport));
  return ok;
}

namespace {

// A pattern file's header starts with "#MTF Version".
bool EstEnTeteMtf(const std::string& entete) { return entete.compare(0, 12, "#MTF Version") == 0; }

}  // namespace

bool EnTeteMtfInconnu(const std::string& nom) {
  foundation::TFluxMemoire flux;
  std::string entete;
  return foundation::ChargeFlux(nom, flux) && !(foundation::LitChaineA(flux, entete) && EstEnTeteMtf(entete));
}

bool LitFluxMtf(TFlux& f, tListeMtf& bibliotheque) {
  foundation::GardeNiveauFichier garde;
  auto erreur = [](IdMsg id) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, Msg(id));
    return false;
  };
  std::string entete;
  // A header that cannot be read or is not a pattern file's is refused
  // silently: the caller decides what to say.
  if (!foundation::LitChaineA(f, entete) || !EstEnTeteMtf(entete)) return false;
  int32_t niveau = 0;
  if (entete.size() < 6 || !foundation::LitEntier(entete.substr(entete.size() - 6, 5), niveau))
    return erreur(IdMsg::MtfErreurImport);
  foundation::NiveauFichier().VersionFichierLue = niveau;
  if (niveau <= 200) return erreur(IdMsg::MtfVersionAncienne);
  if (niveau > foundation::ContexteNiveauFichier::VersionFichierCourante) return erreur(IdMsg::MtfVersionRecente);
  bool ok = false;
  try {
    tListeMtf lue(bibliotheque.CodeOrigine);
    ok = lue.LitObjet(f, true);
    if (ok && niveau < 500) lue.CreeListesRio();
    if (ok) bibliotheque.RemplaceContenu(lue, true);
  } catch (const std::runtime_error&) {
    ok = false;
  }
  if (!ok) return erreur(IdMsg::MtfErreurImport);
  return true;
}

bool LitFichierMtf(const std::string& nom, tListeMtf& bibliotheque) {
  if (!platform::FileExists(nom)) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error,
                                             foundation::RemplaceMarques(Msg(IdMsg::MtfFichierAbsent), {nom}));
    return false;
  }
  foundation::TFluxMemoire flux;
  if (!foundation::ChargeFlux(nom, flux)) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, Msg(IdMsg::MtfErreurImport));
    return false;
  }
  return LitFluxMtf(flux, bibliotheque);
}

void CalculeVerrousMtf(survey::TReseau& reseau, tListeMtf& bibliotheque, TTypeMotif type) {
  TListeMotifsBase* liste = bibliotheque.ListeMotif[static_cast<size_t>(type)];
  liste->InitCalculVerrous();
  const survey::TUsageMotif usage = UsageReseau(type);
  for (TObjetMotifdeBase* m : *liste)
    if (!m->GetVerrou() && reseau.UtiliseMotif(m, usage) && !m->GetVerrou()) m->SetVerrou(true);
}

}  // namespace drawing
