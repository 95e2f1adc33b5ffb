// The shot table's row menus: the shot-row menu, rebuilt from the row's
// entries each time it opens, with the cave edits its items run, and the
// splay-row menu.
#include <QAction>
#include <QMenu>

#include "app/commun/protege.h"
#include "app/document/document_reseau.h"
#include "app/document/gestion_document.h"
#include "app/table/menus_lignes.h"
#include "app/table/modele_visees.h"
#include "app/table/zone_visees.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "platform/qt/conversions_qt.h"
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
using platform::qt::Q;
using survey::TCavite;
using survey::TValeurVisee;
using survey::TVisee;
using survey::TViseeHabi;

namespace {

// A caption shows '&' as it stands, not as a mnemonic mark.
QString Libelle(const std::string& s) { return Q(s).replace(QLatin1Char('&'), QStringLiteral("&&")); }

struct ActionFixe {
  ElementMenuLigne Element;
  const char* Nom;
};

// The fixed items in the menu's order, with their object names.
constexpr ActionFixe kActionsFixes[] = {
    {ElementMenuLigne::ChangerOrigine, "ChangerOrigine"},
    {ElementMenuLigne::CreerCompensation, "CreerCompensation"},
    {ElementMenuLigne::SupprimerFinGalerie, "SupprimerFinGalerie"},
    {ElementMenuLigne::IndividualiserFinGalerie, "IndividualiserFinGalerie"},
    {ElementMenuLigne::ChangerRattachement, "ChangerRattachement"},
    {ElementMenuLigne::ImporterPartie, "ImportPartieAutreCavite"},
    {ElementMenuLigne::PointDeBoucle, "PointdeBoucle"},
    {ElementMenuLigne::CreerBoucle, "CreerBoucle"},
    {ElementMenuLigne::TransfoViseeBouclage, "TransfoViseeBouclage"},
    {ElementMenuLigne::SupprimerRattachement, "SupprimerRattachement"},
    {ElementMenuLigne::TransfoEnHabi, "TransfoEnHabi"},
    {ElementMenuLigne::Renumeroter, "Renumeroter"},
};

}  // namespace

void TZoneVisees::CreeMenusLignes() {
  for (const ActionFixe& f : kActionsFixes) {
    QAction* a = popupMenuLigne_->addAction(QString());
    a->setObjectName(QString::fromLatin1(f.Nom));
    actionsLigne_[f.Element] = a;
    const ElementMenuLigne element = f.Element;
    connect(a, &QAction::triggered, this, [this, element] {
      Protege([this, element] {
        // The loop item goes where the menu's last opening said.
        TVisee* cible = nullptr;
        bool autreCavite = false;
        for (const EntreeMenuLigne& e : entreesLigne_)
          if (e.Element == element) {
            cible = e.Cible;
            autreCavite = e.AutreCavite;
          }
        CommandeMenuLigne(element, cible, autreCavite);
      });
    });
  }
  connect(popupMenuLigne_, &QMenu::aboutToShow, this, [this] { Protege([this] { MajMenuLigne(); }); });
  QAction* habi = popupMenuHabi_->addAction(Q(Msg(IdMsg::AppMnuHabiEnVisee)));
  habi->setObjectName(QStringLiteral("HabiEnVisee"));
  connect(habi, &QAction::triggered, this, [this] { Protege([this] { HabiEnViseeClick(); }); });
}

void TZoneVisees::MajMenuLigne() {
  // The followers of the last opening go.
  for (QAction* a : suivantesBoucle_) {
    popupMenuLigne_->removeAction(a);
    delete a;
  }
  suivantesBoucle_.clear();
  entreesLigne_.clear();
  TCavite* c = CaviteActive();
  const int ligne = LigneFocus();
  TVisee* v = table_.ViseePrincipale(ligne);
  if (!c || !v || table_.EstHabi(ligne)) {
    for (auto& [element, action] : actionsLigne_) action->setVisible(false);
    return;
  }
  entreesLigne_ = EntreesMenuLigne(*c, *v, ligne == 0);
  // The followers go after the loop item, before the next fixed item.
  QAction* apresBoucle = actionsLigne_.at(ElementMenuLigne::CreerBoucle);
  for (const EntreeMenuLigne& e : entreesLigne_) {
    bool actif = e.Actif;
    if (e.Element == ElementMenuLigne::CreerCompensation) actif = actif && static_cast<bool>(CreerCompensation);
    if (e.Element == ElementMenuLigne::ImporterPartie) actif = actif && static_cast<bool>(ImporterPartie);
    QAction* a = nullptr;
    if (e.Element == ElementMenuLigne::AllerAVisee) {
      a = new QAction(popupMenuLigne_);
      a->setObjectName(QStringLiteral("AllerAVisee"));
      popupMenuLigne_->insertAction(apresBoucle, a);
      suivantesBoucle_.push_back(a);
      TVisee* cible = e.Cible;
      connect(a, &QAction::triggered, this, [this, cible] {
        Protege([this, cible] { CommandeMenuLigne(ElementMenuLigne::AllerAVisee, cible, false); });
      });
    } else {
      a = actionsLigne_.at(e.Element);
    }
    a->setText(Libelle(e.Libelle));
    a->setVisible(e.Visible);
    a->setEnabled(actif);
  }
}

bool TZoneVisees::EditionSansLignes(const std::function<bool()>& edition) {
  const int ligne = LigneFocus();
  std::vector<TValeurVisee*> lignes;
  modele_->Reinitialise([&] { lignes = table_.Detache(); });
  bool fait = false;
  try {
    fait = edition();
  } catch (const std::exception&) {
    // What the edit freed before it failed is not known: the rows go.
    modele_->Reinitialise([this] { table_.Vide(); });
    LignesModifiees();
    throw;
  }
  if (fait) {
    modele_->Reinitialise([this] { table_.Vide(); });
    LignesModifiees();
  } else {
    modele_->Reinitialise([&] { table_.Rattache(std::move(lignes)); });
    SelectionneLigne(ligne);
  }
  return fait;
}

void TZoneVisees::ApresEditionCavite(TVisee* aSelectionner) {
  TCavite* c = CaviteActive();
  RafraichitCavite();
  if (c && aSelectionner && c->EstViseeDeLaCavite(aSelectionner)) SelectionneLigne(table_.LigneDe(aSelectionner));
  MajMnuSauve();
}

void TZoneVisees::CommandeMenuLigne(ElementMenuLigne element, TVisee* cible, bool autreCavite) {
  using E = ElementMenuLigne;
  DocumentReseau* r = gestion_.Reseau();
  TCavite* c = CaviteActive();
  const int ligne = LigneFocus();
  TVisee* v = table_.ViseePrincipale(ligne);
  if (!r || !c || !v || table_.EstHabi(ligne)) return;
  switch (element) {
    case E::ChangerOrigine: {
      const auto& choix = survey::Ports().ChoisitPointSurface;
      survey::TPointSpeleo* p = choix ? choix(*c, c->EntreeSelectee) : nullptr;
      if (!p) return;
      c->ChangeEntree(v, p);
      RemplitListeVisees(v);
      AfficheGaleries();
      AnnuleCoordonnees();
      MajMnuSauve();
      return;
    }
    case E::CreerCompensation:
      if (CreerCompensation) CreerCompensation();
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
      RemplitListeVisees(dessus);
      MajMenuCoupes();
      AfficheGaleries();
      AnnuleCoordonnees();
      MajMnuSauve();
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
      RemplitListeVisees(v);
      AfficheGaleries();
      MajMnuSauve();
      return;
    }
    case E::ChangerRattachement:
      if (c->ChangeRattachPt(v)) ApresEditionCavite(v);
      return;
    case E::ImporterPartie:
      if (ImporterPartie) ImporterPartie();
      return;
    case E::PointDeBoucle:
    case E::AllerAVisee:
      if (autreCavite) {
        platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information,
                                                 Msg(IdMsg::AppBoucleAutreCavite));
      } else if (cible && c->EstViseeDeLaCavite(cible)) {
        SelectionneLigne(table_.LigneDe(cible));
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
      RemplitListeVisees(h);
      AnnuleCoordonnees();
      MajMnuSauve();
      return;
    }
    case E::Renumeroter:
      c->RenumTpRb(v);
      survey::Document().DocumentModifie = true;
      ApresEditionCavite(v);
      return;
  }
}

void TZoneVisees::HabiEnViseeClick() {
  TCavite* c = CaviteActive();
  const int ligne = LigneFocus();
  if (!c || !table_.EstHabi(ligne)) return;
  auto* h = static_cast<TViseeHabi*>(table_.Visee(ligne));
  TVisee* nouvelle = nullptr;
  if (!EditionSansLignes([&] { return (nouvelle = c->HabiEnVisee(h)) != nullptr; })) return;
  RemplitListeVisees(nouvelle);
  AnnuleCoordonnees();
  MajMnuSauve();
}

}  // namespace app
