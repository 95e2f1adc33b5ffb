// The shot table's row menus in the main window on the survey model: a loop
// typed to an existing name in the shot entry window, then each cave edit of
// the menus reached by a right click on a row, the table following the cave
// row for row after each.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QToolButton>
#include <string>

#include "app/document/document_survey.h"
#include "app/fiche_principale.h"
#include "app/saisie/saisie_visee_dlg.h"
#include "app/table/table_visees.h"
#include "app/table/zone_visees.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"
#include "survey/visee.h"
#include "tests/app/outils_fenetre.h"
#include "tests/app/saisie_tapee.h"

using namespace app;
using essai::Ed;
using essai::Script;
using essai::Tape;
using platform::Answer;
using survey::TCavite;
using survey::TPointSpeleo;
using survey::TVisee;
using survey::TViseeHabi;

namespace {

// A new network whose cave E - A1 - ... - An (2 m north each) is shown, the
// shot entry window installed.
struct Fenetre {
  essai::Gardes g;
  survey::GardePortsSurvey ports;
  struct Installe {
    Installe() {
      SaisieVisee() = ContexteSaisieVisee();
      InstalleDialogueSaisieVisee();
    }
  } installe;
  TFichePrincipale f{FabriqueSurvey(), {}};
  survey::TReseau* r = nullptr;
  TCavite* c = nullptr;
  explicit Fenetre(int n) {
    f.show();
    f.NouveauReseau();
    r = &dynamic_cast<TDocumentSurvey*>(f.Gestion().Reseau())->Reseau();
    c = essai::AjouteCaviteLineaire(*r, n);
    f.AfficheListeCavites(true);
  }
  ~Fenetre() { f.Gestion().LibereReseau(); }

  TTableVisees& Table() { return f.Zone().Table(); }
  TPointSpeleo* Station(const std::string& nom) const {
    for (const survey::TGalerie* gal : c->Galeries)
      for (TPointSpeleo* p : gal->Points)
        if (p->DesignPTopo == nom) return p;
    return nullptr;
  }
  // The shot computed from a to b.
  TVisee* Visee(const std::string& a, const std::string& b) const {
    for (TVisee* v : c->Visees)
      if (v->PtOrigCalc && v->PtCalc && v->PtOrigCalc->DesignPTopo == a && v->PtCalc->DesignPTopo == b) return v;
    return nullptr;
  }
  void Selectionne(const survey::TValeurVisee* v) {
    ASSERT_GE(Table().LigneDe(v), 0);
    f.Zone().SelectionneLigne(Table().LigneDe(v));
  }
  TVisee* Focus() { return Table().ViseePrincipale(f.Zone().LigneFocus()); }

  // A right click on the focused row: the menu that opens, closed again.
  QMenu* OuvreMenu() {
    auto* table = essai::Controle<QTableView>(f, "VisuVisees");
    emit table->customContextMenuRequested(table->visualRect(table->currentIndex()).center());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    EXPECT_NE(menu, nullptr);
    if (menu) menu->hide();
    return menu;
  }
  // The visible item of the focused row's menu named nom (its caption, or
  // none when it is not shown).
  QAction* Item(const char* nom) {
    QMenu* menu = OuvreMenu();
    if (!menu) return nullptr;
    for (QAction* a : menu->actions())
      if (a->objectName() == QLatin1String(nom) && a->isVisible()) return a;
    return nullptr;
  }
  void Declenche(const char* nom) {
    QAction* a = Item(nom);
    ASSERT_NE(a, nullptr) << nom;
    ASSERT_TRUE(a->isEnabled()) << nom;
    a->trigger();
  }

  // The table's rows and what they must be: the cave's shots in order by
  // computed ends, each followed by its splays ("~" + station) when shown.
  std::string Lignes() {
    std::string s;
    for (const survey::TValeurVisee* v : Table().Lignes()) {
      if (!s.empty()) s += ' ';
      if (v->EstHabi) {
        const auto* h = static_cast<const TViseeHabi*>(v);
        s += "~" + (h->PtStation() ? h->PtStation()->DesignPTopo : "?");
      } else {
        const auto* p = static_cast<const TVisee*>(v);
        s += p->PtOrigCalc->DesignPTopo + ">" + p->PtCalc->DesignPTopo;
      }
    }
    return s;
  }
  std::string Attendu() {
    std::string s;
    for (const TVisee* v : c->Visees) {
      if (!s.empty()) s += ' ';
      s += v->PtOrigCalc->DesignPTopo + ">" + v->PtCalc->DesignPTopo;
      if (f.Zone().AfficheViseesHab)
        for (const TViseeHabi* h : v->ViseesHabi) s += " ~" + h->PtStation()->DesignPTopo;
    }
    return s;
  }
  std::string Stations() const {
    std::string s;
    for (const survey::TGalerie* gal : c->Galeries)
      for (const TPointSpeleo* p : gal->Points) s += (s.empty() ? "" : " ") + p->DesignPTopo;
    return s;
  }
};

}  // namespace

TEST(MenuLigneFenetre, BouclesTapeesEtMenuDeLaLigne) {
  Fenetre w(2);
  // Typed: A2 -> A3 -> A4, then a shot from A4 to the name A1; the question
  // is answered Yes.
  Script s;
  s.Ajoute([](TSaisieViseeDlg& d) {
    EXPECT_EQ(Ed(d, "EditVise")->text(), "A3");
    Tape("90\t0\t2\n");
  });
  s.Ajoute([](TSaisieViseeDlg&) { Tape("180\t0\t2\n"); });
  s.Ajoute([](TSaisieViseeDlg& d) {
    Ed(d, "EditVise")->setText("A1");
    Ed(d, "EditAzimut")->setFocus();
    Tape("270\t0\t2.1\n");
  });
  s.Ajoute([](TSaisieViseeDlg&) { Tape("\x1b"); });
  w.g.dialogues.QueueAnswer(Answer::Yes);
  w.Selectionne(w.Visee("A1", "A2"));
  s.Lance();
  essai::Clique(w.f, "AjoutButton");
  EXPECT_EQ(s.Restantes(), 0);
  EXPECT_EQ(w.g.dialogues.Log().back().text, "Le point A1 existe déjà dans la cavité. Fermer la boucle sur ce point ?");
  EXPECT_EQ(w.Stations(), "A1 A2 A3 A4");
  ASSERT_EQ(w.c->Visees.Count(), 5);
  EXPECT_EQ(w.Station("A1")->NbCalc, 2);
  EXPECT_EQ(w.Lignes(), w.Attendu());
  TVisee* fermeture = w.Visee("A4", "A1");
  ASSERT_NE(fermeture, nullptr);
  EXPECT_EQ(w.Focus(), fermeture);

  // The loop item of the closing shot goes to the other shot reaching A1.
  QAction* boucle = w.Item("PointdeBoucle");
  ASSERT_NE(boucle, nullptr);
  EXPECT_EQ(boucle->text().toStdString(), "point calculé 2 fois. Aller à la visée E -> A1 de la galerie Galerie d'entrée");
  boucle->trigger();
  EXPECT_EQ(w.Focus(), w.Visee("E", "A1"));

  // A diagonal typed from A3 to A1: A1 is computed three times; from the
  // first row the loop item names one other shot and its one follower the
  // other, which it selects.
  w.Selectionne(w.Visee("A2", "A3"));
  Script diagonale;
  diagonale.Ajoute([](TSaisieViseeDlg& d) {
    Ed(d, "EditVise")->setText("A1");
    Ed(d, "EditAzimut")->setFocus();
    Tape("315\t0\t2.83\n");
  });
  diagonale.Ajoute([](TSaisieViseeDlg&) { Tape("\x1b"); });
  w.g.dialogues.QueueAnswer(Answer::Yes);
  diagonale.Lance();
  essai::Clique(w.f, "AjoutButton");
  EXPECT_EQ(w.Station("A1")->NbCalc, 3);
  EXPECT_EQ(w.Lignes(), w.Attendu());
  TVisee* diag = w.Visee("A3", "A1");
  ASSERT_NE(diag, nullptr);
  w.Selectionne(w.Visee("E", "A1"));
  QMenu* menu = w.OuvreMenu();
  ASSERT_NE(menu, nullptr);
  std::string libelles;
  QAction* suivante = nullptr;
  for (QAction* a : menu->actions()) {
    if (!a->isVisible()) continue;
    libelles += a->text().toStdString() + "\n";
    if (a->objectName() == QLatin1String("AllerAVisee")) suivante = a;
  }
  EXPECT_NE(libelles.find("point calculé 3 fois. Aller à la visée A3 -> A1 de la galerie Galerie d'entrée\n"
                          "--------------------> Aller à la visée A4 -> A1 de la galerie Galerie d'entrée\n"
                          "Transformer en visée de bouclage\n"),
            std::string::npos)
      << libelles;
  ASSERT_NE(suivante, nullptr);
  suivante->trigger();
  EXPECT_EQ(w.Focus(), w.Visee("A4", "A1"));
  // Opened again, the menu holds one follower, not two.
  int suivantes = 0;
  for (QAction* a : w.OuvreMenu()->actions()) suivantes += a->objectName() == QLatin1String("AllerAVisee");
  EXPECT_EQ(suivantes, 1);

  // The diagonal's attachment deleted: the table holds the four shots left.
  survey::Document().DocumentModifie = false;
  w.Selectionne(diag);
  w.g.dialogues.QueueAnswer(Answer::Yes);
  w.Declenche("SupprimerRattachement");
  EXPECT_EQ(w.c->Visees.Count(), 5);
  EXPECT_EQ(w.Visee("A3", "A1"), nullptr);
  EXPECT_EQ(w.Station("A1")->NbCalc, 2);
  EXPECT_EQ(w.Lignes(), w.Attendu());
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_TRUE(w.f.windowTitle().endsWith(" *"));

  // The loop opened: its shot now ends on A1-bis, in the loop's gallery.
  w.Selectionne(w.Visee("A4", "A1"));
  w.g.dialogues.QueueAnswer(Answer::Yes);
  w.Declenche("TransfoViseeBouclage");
  ASSERT_NE(w.Station("A1-bis"), nullptr);
  EXPECT_EQ(w.Station("A1")->NbCalc, 1);
  EXPECT_EQ(w.Lignes(), w.Attendu());
  ASSERT_NE(w.Visee("A4", "A1-bis"), nullptr);
  EXPECT_EQ(w.Focus(), w.Visee("A4", "A1-bis"));
  // No loop left: no loop item, no attachment to delete.
  EXPECT_EQ(w.Item("PointdeBoucle"), nullptr);
  EXPECT_EQ(w.Item("SupprimerRattachement"), nullptr);

  // And closed again on A1, chosen in the attachment window.
  std::string titre;
  survey::Ports().ChoisitPointRattachement = [&](const survey::TDemandeRattachement& d) {
    titre = d.Titre;
    return w.Station("A1");
  };
  w.Declenche("CreerBoucle");
  EXPECT_EQ(titre, "Choix du point de bouclage");
  EXPECT_EQ(w.Station("A1-bis"), nullptr);
  EXPECT_EQ(w.Stations(), "A1 A2 A3 A4");
  EXPECT_EQ(w.Station("A1")->NbCalc, 2);
  EXPECT_EQ(w.Lignes(), w.Attendu());
  EXPECT_EQ(w.g.dialogues.Unanswered(), 0);
  EXPECT_EQ(w.g.dialogues.PendingAnswers(), 0u);
}

TEST(MenuLigneFenetre, EditionsDeLaCaviteParLesMenusDesLignes) {
  Fenetre w(4);
  // The branch end becomes a splay of the shot before: shown at once, its
  // row selected.
  w.Selectionne(w.Visee("A3", "A4"));
  w.Declenche("TransfoEnHabi");
  EXPECT_EQ(w.Station("A4"), nullptr);
  EXPECT_TRUE(w.f.Zone().AfficheViseesHab);
  EXPECT_EQ(w.Lignes(), "E>A1 A1>A2 A2>A3 ~A3");
  EXPECT_EQ(w.Lignes(), w.Attendu());
  ASSERT_TRUE(w.Table().EstHabi(w.f.Zone().LigneFocus()));

  // A splay row opens the splay menu, which makes it a shot again.
  QMenu* menu = w.OuvreMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->objectName(), "PopupMenuHabi");
  ASSERT_EQ(menu->actions().size(), 1);
  EXPECT_EQ(menu->actions()[0]->text().toStdString(), "Transformer cette visée d'habillage en visée normale");
  menu->actions()[0]->trigger();
  ASSERT_NE(w.Visee("A3", "A3-1"), nullptr);
  EXPECT_EQ(w.Focus(), w.Visee("A3", "A3-1"));
  EXPECT_EQ(w.Lignes(), w.Attendu());

  // Renumbered in series from the first shot: the side station gets the next
  // series.
  w.Selectionne(w.Visee("E", "A1"));
  w.Declenche("Renumeroter");
  EXPECT_EQ(w.Stations(), "1 2 3 1-1");
  EXPECT_EQ(w.Focus(), w.Visee("E", "1"));
  EXPECT_EQ(w.Lignes(), w.Attendu());

  // 1-1 re-attached on 2.
  survey::Ports().ChoisitPointRattachement = [&](const survey::TDemandeRattachement& d) {
    EXPECT_EQ(d.Point, w.Station("3"));
    return w.Station("2");
  };
  w.Selectionne(w.Visee("3", "1-1"));
  w.Declenche("ChangerRattachement");
  ASSERT_NE(w.Visee("2", "1-1"), nullptr);
  EXPECT_EQ(w.Focus(), w.Visee("2", "1-1"));
  EXPECT_EQ(w.Lignes(), w.Attendu());

  // The end of the gallery from 2 -> 3 becomes the gallery "Aval", listed
  // by the gallery selector.
  w.g.dialogues.QueuePrompt(std::string("Aval"));
  w.Selectionne(w.Visee("2", "3"));
  w.Declenche("IndividualiserFinGalerie");
  EXPECT_EQ(w.Station("3")->GalduPt->NomGalerie, "Aval");
  EXPECT_TRUE(essai::Elements(essai::Controle<QComboBox>(w.f, "GaleriesBox")).join("|").contains("Aval"));
  EXPECT_EQ(w.Focus(), w.Visee("2", "3"));
  EXPECT_EQ(w.Lignes(), w.Attendu());

  // The end of the gallery deleted from 2 -> 3: "Aval" goes (the deletion
  // window names it); the row above is selected.
  std::vector<std::string> galeries;
  survey::Ports().ConfirmeEffacementVisees = [&](const std::vector<std::string>& g, const std::vector<std::string>&) {
    galeries = g;
    return true;
  };
  TVisee* dessus = w.Table().ViseePrincipale(w.f.Zone().LigneFocus() - 1);
  w.Declenche("SupprimerFinGalerie");
  EXPECT_EQ(galeries, std::vector<std::string>{"Aval"});
  EXPECT_EQ(w.Station("3"), nullptr);
  EXPECT_EQ(w.Stations(), "1 2 1-1");
  EXPECT_EQ(w.Focus(), dessus);
  EXPECT_EQ(w.Lignes(), w.Attendu());

  // A new origin from the branch end 1-1: the old entrance stays as the
  // station E-Ancien, the surface point E2 is the entrance.
  TPointSpeleo* e2 = nullptr;
  {
    auto p = std::make_unique<TPointSpeleo>();
    p->TypePoint = survey::PointSurface;
    p->DesignPTopo = "E2";
    p->GalduPt = w.r->UneCavite(0)->UneGalerie(0);
    e2 = w.r->LesPointsSurface()->Add(std::move(p));
  }
  survey::Ports().ChoisitPointSurface = [&](TCavite&, TPointSpeleo*) { return e2; };
  w.Selectionne(w.Visee("2", "1-1"));
  w.Declenche("ChangerOrigine");
  EXPECT_EQ(w.c->EntreeSelectee, e2);
  EXPECT_NE(w.Station("E-Ancien"), nullptr);
  EXPECT_EQ(w.Station("1-1"), nullptr);
  EXPECT_EQ(w.Lignes(), w.Attendu());
  EXPECT_EQ(w.c->LaVisee(0)->PtOrigCalc, e2);
  EXPECT_EQ(w.g.dialogues.Unanswered(), 0);
}
