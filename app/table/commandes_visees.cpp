#include "app/table/commandes_visees.h"

#include <algorithm>

#include "app/document/document_reseau.h"
#include "app/document/gestion_document.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"
#include "survey/visee.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using survey::TCavite;
using survey::TValeurVisee;
using survey::TVisee;
using survey::TViseeHabi;

namespace {

// Sets one of the document's editing flags for the life of the guard.
class GardeDrapeau {
 public:
  explicit GardeDrapeau(bool& drapeau) : drapeau_(drapeau), sauve_(drapeau) { drapeau_ = true; }
  ~GardeDrapeau() { drapeau_ = sauve_; }
  GardeDrapeau(const GardeDrapeau&) = delete;
  GardeDrapeau& operator=(const GardeDrapeau&) = delete;

 private:
  bool& drapeau_;
  bool sauve_;
};

// Puts the detached rows back into the table when it goes, also when the
// work in between raised.
class GardeLignes {
 public:
  GardeLignes(TTableVisees& table, std::vector<TValeurVisee*> lignes) : table_(table), lignes_(std::move(lignes)) {}
  ~GardeLignes() { table_.Rattache(std::move(lignes_)); }
  GardeLignes(const GardeLignes&) = delete;
  GardeLignes& operator=(const GardeLignes&) = delete;

 private:
  TTableVisees& table_;
  std::vector<TValeurVisee*> lignes_;
};

// Runs its work when it goes, also when the scope is left by an exception.
template <class F>
class ALaSortie {
 public:
  explicit ALaSortie(F f) : f_(std::move(f)) {}
  ~ALaSortie() { f_(); }
  ALaSortie(const ALaSortie&) = delete;
  ALaSortie& operator=(const ALaSortie&) = delete;

 private:
  F f_;
};

}  // namespace

TCommandesVisees::TCommandesVisees(TGestionDocument& gestion, VueTableVisees& vue) : gestion_(gestion), vue_(vue) {}

TCavite* TCommandesVisees::CaviteActive() const {
  const DocumentReseau* r = gestion_.Reseau();
  return r ? r->UneCavite(r->CaviteActive()) : nullptr;
}

void TCommandesVisees::CalculeReseau() {
  DocumentReseau* r = gestion_.Reseau();
  if (!r || (niveauCalcul_ > 0 && calculFait_)) return;
  r->CalculeReseau();
  if (niveauCalcul_ > 0) calculFait_ = true;
}

void TCommandesVisees::MajCoordonnees() {
  if (!survey::Affichage().CoordonneesAffichees) return;
  GardeCalcul calcul(*this);
  CalculeReseau();
  vue_.InvalideTextesVisees();
}

void TCommandesVisees::Ajoute() {
  TCavite* c = CaviteActive();
  if (!c || !CreeVisee) return;
  const auto insere = [this](int ligne, TValeurVisee* v) {
    vue_.AvantInsertion(ligne);
    table_.Insere(ligne, v);
    vue_.ApresInsertion();
    vue_.LignesModifiees();
  };
  for (;;) {
    const int galeries = c->Galeries.Count();
    const int entrees = c->ListeEntrees.Count();
    TVisee* source = table_.ViseePrincipale(vue_.LigneFocus());
    if (!c->LaGalerieActive && !c->Galeries.Vide()) c->LaGalerieActive = c->UneGalerie(0);
    TValeurVisee* cree = CreeVisee(*c, source);
    if (!cree) break;
    GardeCalcul calcul(*this);
    survey::Document().DocumentModifie = true;
    if (cree->EstHabi && !AfficheViseesHab) {
      AfficheViseesHab = true;
      vue_.RemplitListeVisees(cree);
    } else if (table_.Nombre() > 0) {
      int insertion;
      if (cree->EstHabi) {
        TVisee* reference = static_cast<TViseeHabi*>(cree)->ViseeDeRef;
        insertion = table_.LigneDe(reference) + (reference ? reference->ViseesHabi.IndexOf(cree) : 0);
      } else {
        source = c->LaVisee(c->Visees.IndexOf(static_cast<TVisee*>(cree)) - 1);
        insertion = table_.LigneDe(source);
        if (insertion >= 0 && AfficheViseesHab) insertion += source->ViseesHabi.Count();
      }
      // A shot that closes a loop may change the order of the walk.
      const bool boucle = !cree->EstHabi && c->EstViseeBouclage(static_cast<TVisee*>(cree));
      if (galeries == c->Galeries.Count() && entrees == c->ListeEntrees.Count() && !boucle)
        insere(insertion + 1, cree);
      else
        vue_.RafraichitCavite();
    } else {
      insere(0, cree);
    }
    // The coordinates shown include the new station.
    MajCoordonnees();
    vue_.SelectionneLigne(table_.LigneDe(cree));
    vue_.MajEtatControles();
  }
  c->NettoieLevers();
  vue_.MajMnuSauve();
}

void TCommandesVisees::Insere() {
  TCavite* c = CaviteActive();
  const int ligne = vue_.LigneFocus();
  TVisee* source = table_.ViseePrincipale(ligne);
  if (!c || !source || !CreeVisee) return;
  TValeurVisee* cree = nullptr;
  {
    GardeDrapeau insertion(survey::Document().InsertionVisee);
    cree = CreeVisee(*c, source);
  }
  if (!cree) return;
  survey::Document().DocumentModifie = true;
  const int ligneSource = table_.LigneDe(source);
  if (cree->EstHabi) {
    // The dialog made it a splay of the source.
    AfficheViseesHab = true;
    vue_.RemplitListeVisees(cree);
  } else {
    vue_.AvantInsertion(ligneSource);
    table_.Insere(ligneSource, cree);
    vue_.ApresInsertion();
    vue_.LignesModifiees();
    // The source now starts at the new station: its texts and its splays'.
    const int l = table_.LigneDe(source);
    const int fin = l + (AfficheViseesHab ? source->ViseesHabi.Count() : 0);
    for (int i = l; i <= fin; ++i) table_.Invalide(i);
    vue_.TextesChanges(l, fin);
    vue_.SelectionneLigne(table_.LigneDe(cree));
  }
  // The coordinates shown include the new station.
  MajCoordonnees();
  vue_.MajMnuSauve();
}

void TCommandesVisees::Rectifie() {
  TCavite* c = CaviteActive();
  TValeurVisee* v = table_.Visee(vue_.LigneFocus());
  if (!c || !v || !RectifVisee) return;
  const int32_t position = v->IndexCav;
  bool corrigee = false;
  {
    GardeDrapeau rectif(survey::Document().RectifEnCours);
    corrigee = RectifVisee(*c, *v);
  }
  if (!corrigee) return;
  survey::Document().DocumentModifie = true;
  if (v->IndexCav == position) {
    const int l = table_.LigneDe(v);
    table_.InvalideDepuis(l);
    vue_.TextesChanges(l, table_.Nombre() - 1);
  } else {
    vue_.RemplitListeVisees(v);
  }
  // The coordinates shown follow the corrected shot.
  MajCoordonnees();
  vue_.MajMnuSauve();
}

void TCommandesVisees::SupprimeVisee() {
  DocumentReseau* r = gestion_.Reseau();
  TCavite* c = CaviteActive();
  int i = vue_.LigneFocus();
  const int supprimee = i;
  TValeurVisee* v = table_.Visee(i);
  if (!r || !c || !v) return;
  const bool habi = v->EstHabi;
  const int galeries = c->Galeries.Count();
  if (habi) {
    if (platform::Dialogs::Current().AskYesNo(Msg(IdMsg::AppSupprimerHabi)) != platform::Answer::Yes) return;
    TVisee* principale = static_cast<TViseeHabi*>(v)->ViseeDeRef;
    // The row goes before the splay is freed.
    vue_.AvantRetrait(i, i);
    table_.Retire(i, i);
    vue_.ApresRetrait();
    if (principale) principale->ViseesHabi.Remove(v);
    survey::Document().DocumentModifie = true;
  } else {
    auto* principale = static_cast<TVisee*>(v);
    const int derniere = i + (AfficheViseesHab ? principale->ViseesHabi.Count() : 0);
    // While the network deletes (and frees) the shot and its splays, the
    // table holds no row: nothing can be drawn from a freed shot, even while
    // the network's questions are on screen.
    bool fait = false;
    vue_.Reinitialise([&] {
      {
        GardeLignes lignes(table_, table_.Detache());
        fait = r->SupprimeVisee(*principale);
      }
      if (fait) table_.Retire(i, derniere);
    });
    if (!fait) {
      vue_.SelectionneLigne(i);
      return;
    }
  }
  vue_.LignesModifiees();
  if (i >= table_.Nombre()) i = table_.Nombre() - 1;
  if (table_.Nombre() > 0) {
    table_.InvalideDepuis(i);
    vue_.TextesChanges(i, table_.Nombre() - 1);
    vue_.SelectionneLigne(i);
  } else {
    vue_.AucuneLigne();
  }
  if (habi) {
    vue_.VerifieViseesHabi();
  } else {
    // The coordinates shown without the deleted stations, computed once.
    GardeCalcul calcul(*this);
    MajCoordonnees();
    if (galeries != c->Galeries.Count()) vue_.AfficheGaleries();
    vue_.MajMenuCoupes();
  }
  // The row above the deleted one.
  if (supprimee > 0) vue_.SelectionneLigne(std::min(supprimee - 1, table_.Nombre() - 1));
  if (table_.Nombre() == 0) vue_.MajEtatControles();
  vue_.MajMnuSauve();
}

void TCommandesVisees::SupprimeCaviteActive() {
  DocumentReseau* r = gestion_.Reseau();
  const int32_t position = r ? r->CaviteActive() : -1;
  if (!r || position < 1) return;
  if (platform::Dialogs::Current().AskYesNo(Msg(IdMsg::AppSupprimerCavite) + r->NomCavite(position)) !=
      platform::Answer::Yes)
    return;
  // The cave that becomes active: the next item of the selector, else the
  // previous one; positions after the deleted cave move down by one.
  const std::vector<int32_t> positions = vue_.PositionsCavites();
  const auto trouvee = std::find(positions.begin(), positions.end(), position);
  int32_t suivante = -1;
  if (trouvee != positions.end()) {
    if (trouvee + 1 != positions.end())
      suivante = *(trouvee + 1);
    else if (trouvee != positions.begin())
      suivante = *(trouvee - 1);
  }
  if (suivante > position) --suivante;
  // Nothing on screen may read the cave once it is freed: the table, the
  // selectors and the editing state let go of it first.
  vue_.LacheCavite();
  survey::Document().NomGalerieCourante.clear();
  if (!r->SupprimeCavite(position)) {
    vue_.AfficheListeCavites(true);
    return;
  }
  r->FixeCaviteActive(suivante);
  survey::Document().DocumentModifie = true;
  vue_.AfficheListeCavites(true);
  vue_.MajMnuSauve();
}

// --- The row menus' cave edits ------------------------------------------------------------------

bool TCommandesVisees::EditionSansLignes(const std::function<bool()>& edition) {
  const int ligne = vue_.LigneFocus();
  std::vector<TValeurVisee*> lignes;
  vue_.Reinitialise([&] { lignes = table_.Detache(); });
  // The rows go unless the edit says it did nothing: what an edit that
  // raised freed before it failed is not known either.
  bool fait = true;
  {
    ALaSortie vide([&] {
      if (!fait) return;
      vue_.Reinitialise([this] { table_.Vide(); });
      vue_.LignesModifiees();
    });
    fait = edition();
  }
  if (!fait) {
    vue_.Reinitialise([&] { table_.Rattache(std::move(lignes)); });
    vue_.SelectionneLigne(ligne);
  }
  return fait;
}

void TCommandesVisees::ApresEditionCavite(TVisee* aSelectionner) {
  TCavite* c = CaviteActive();
  vue_.RafraichitCavite();
  if (c && aSelectionner && c->EstViseeDeLaCavite(aSelectionner))
    vue_.SelectionneLigne(table_.LigneDe(aSelectionner));
  vue_.MajMnuSauve();
}

void TCommandesVisees::CommandeMenuLigne(ElementMenuLigne element, TVisee* cible, bool autreCavite) {
  using E = ElementMenuLigne;
  DocumentReseau* r = gestion_.Reseau();
  TCavite* c = CaviteActive();
  const int ligne = vue_.LigneFocus();
  TVisee* v = table_.ViseePrincipale(ligne);
  if (!r || !c || !v || table_.EstHabi(ligne)) return;
  switch (element) {
    case E::ChangerOrigine: {
      const auto& choix = survey::Ports().ChoisitPointSurface;
      survey::TPointSpeleo* p = choix ? choix(*c, c->EntreeSelectee) : nullptr;
      if (!p) return;
      c->ChangeEntree(v, p);
      vue_.RemplitListeVisees(v);
      vue_.AfficheGaleries();
      vue_.AnnuleCoordonnees();
      vue_.MajMnuSauve();
      return;
    }
    case E::CreerCompensation:
    case E::ImporterPartie:
      return;
    case E::SupprimerFinGalerie: {
      survey::TReseau* reseau = c->ReseauProprio;
      if (!reseau) return;
      // The adjustments know their paths once the network is computed.
      if (r->ACompensations()) r->CalculeReseau();
      TVisee* dessus = table_.ViseePrincipale(ligne - 1);
      if (!EditionSansLignes([&] { return reseau->SupprimeViseesSuivantes(v); })) return;
      if (!c->EstViseeDeLaCavite(dessus)) dessus = nullptr;
      if (!c->LaGalerieActive && dessus) c->LaGalerieActive = dessus->GalDeLaVis();
      vue_.RemplitListeVisees(dessus);
      vue_.MajMenuCoupes();
      vue_.AfficheGaleries();
      vue_.AnnuleCoordonnees();
      vue_.MajMnuSauve();
      return;
    }
    case E::IndividualiserFinGalerie: {
      if (survey::TGalerie* g = v->GalDeLaVis()) c->LaGalerieActive = g;
      if (r->ACompensations()) r->CalculeReseau();
      if (!c->IndividualiseGalerie(v)) {
        c->DemarqueVisees();
        return;
      }
      survey::Document().DocumentModifie = true;
      if (survey::TGalerie* g = v->GalDeLaVis()) c->LaGalerieActive = g;
      vue_.RemplitListeVisees(v);
      vue_.AfficheGaleries();
      vue_.MajMnuSauve();
      return;
    }
    case E::ChangerRattachement:
      if (c->ChangeRattachPt(v)) ApresEditionCavite(v);
      return;
    case E::PointDeBoucle:
    case E::AllerAVisee:
      if (autreCavite) {
        platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information,
                                                 Msg(IdMsg::AppBoucleAutreCavite));
      } else if (cible && c->EstViseeDeLaCavite(cible)) {
        vue_.SelectionneLigne(table_.LigneDe(cible));
      }
      return;
    case E::CreerBoucle:
      if (c->CreeBoucle(v)) ApresEditionCavite(v);
      return;
    case E::TransfoViseeBouclage:
      if (c->TransfoViseeBouclage(v)) ApresEditionCavite(v);
      return;
    case E::SupprimerRattachement:
      if (EditionSansLignes([&] { return c->SupprimeViseeRat(v); })) ApresEditionCavite(nullptr);
      return;
    case E::TransfoEnHabi: {
      TViseeHabi* h = nullptr;
      if (!EditionSansLignes([&] { return (h = c->TransfoEnHabi(v)) != nullptr; })) return;
      AfficheViseesHab = true;
      vue_.RemplitListeVisees(h);
      vue_.AnnuleCoordonnees();
      vue_.MajMnuSauve();
      return;
    }
    case E::Renumeroter:
      c->RenumTpRb(v);
      survey::Document().DocumentModifie = true;
      ApresEditionCavite(v);
      return;
  }
}

void TCommandesVisees::HabiEnVisee() {
  TCavite* c = CaviteActive();
  const int ligne = vue_.LigneFocus();
  if (!c || !table_.EstHabi(ligne)) return;
  auto* h = static_cast<TViseeHabi*>(table_.Visee(ligne));
  TVisee* nouvelle = nullptr;
  if (!EditionSansLignes([&] { return (nouvelle = c->HabiEnVisee(h)) != nullptr; })) return;
  vue_.RemplitListeVisees(nouvelle);
  vue_.AnnuleCoordonnees();
  vue_.MajMnuSauve();
}

}  // namespace app
