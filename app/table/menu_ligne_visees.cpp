// The shot table's row menus: the shot-row menu, rebuilt from the row's
// entries each time it opens, and the splay-row menu; their items run the
// cave edits of the row commands (commandes_visees.h).
#include <QAction>
#include <QMenu>

#include "app/commun/protege.h"
#include "app/document/document_reseau.h"
#include "app/document/gestion_document.h"
#include "app/table/menus_lignes.h"
#include "app/table/modele_visees.h"
#include "app/table/zone_visees.h"
#include "foundation/catalogue.h"
#include "platform/qt/conversions_qt.h"
#include "survey/cavite.h"
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

void TZoneVisees::CommandeMenuLigne(ElementMenuLigne element, TVisee* cible, bool autreCavite) {
  using E = ElementMenuLigne;
  if (element != E::CreerCompensation && element != E::ImporterPartie) {
    commandes_.CommandeMenuLigne(element, cible, autreCavite);
    return;
  }
  // The items whose windows the main window opens.
  const int ligne = LigneFocus();
  if (!gestion_.Reseau() || !CaviteActive() || !table_.ViseePrincipale(ligne) || table_.EstHabi(ligne)) return;
  const std::function<void()>& ouvre = element == E::CreerCompensation ? CreerCompensation : ImporterPartie;
  if (ouvre) ouvre();
}

void TZoneVisees::HabiEnViseeClick() { commandes_.HabiEnVisee(); }

}  // namespace app
