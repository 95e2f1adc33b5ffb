// The trip field of the main window (LeverEdit): the right button shows the
// selected shot's survey trip, a double click corrects it and the window
// follows (trip and declination texts, save button, coordinates recomputed
// or switched off); a shot of the default trip gets its message; Qt's own
// text menu never opens on the field.
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/document/document_survey.h"
#include "app/fiche_principale.h"
#include "app/table/modele_visees.h"
#include "app/table/zone_visees.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/lever.h"
#include "survey/visee.h"
#include "tests/app/outils_fenetre.h"
#include "tests/app/saisie_essai.h"

using namespace app;

namespace {

const std::string AucunLever = "il n'y a aucun lever pour cette visée";
const std::string AucunLeverRectif =
    "il n'y a aucun lever pour cette visée. Affectez lui un lever en rectification";

// A network with the cave "Igue" of five shots from the surface point E:
// the first two on the default trip, the others on a trip of 15 July 2010
// with a declination of 1.25°.
struct Fenetre {
  essai::Gardes g;
  TFichePrincipale f{FabriqueSurvey(), {}};
  survey::TCavite* c = nullptr;
  survey::TLever* lever = nullptr;
  Fenetre() {
    f.NouveauReseau();
    auto* doc = dynamic_cast<TDocumentSurvey*>(f.Gestion().Reseau());
    c = essai::AjouteCaviteLineaire(doc->Reseau(), 5);
    auto l = std::make_unique<survey::TLever>();
    l->LaDate = essai::Date(2010, 7, 15);
    l->Declinaison = 1.25;
    lever = c->Levers.Add(std::move(l));
    for (int i = 2; i < 5; ++i) {
      survey::TVisee* v = c->LaVisee(i);
      v->LeLever = lever;
      v->indLever = c->Levers.IndexOf(lever);
    }
    f.AfficheListeCavites(true);
    survey::Document().DocumentModifie = false;
    f.MajMnuSauve();
  }
  ~Fenetre() { f.Gestion().LibereReseau(); }
  QLineEdit* LeverEdit() { return essai::Controle<QLineEdit>(f, "LeverEdit"); }
  QString Texte(int ligne, int colonne) {
    return f.Zone().Modele().data(f.Zone().Modele().index(ligne, colonne), Qt::DisplayRole).toString();
  }
};

void ClicDroit(QWidget* w) {
  const QPointF p(3, 3);
  QMouseEvent appui(QEvent::MouseButtonPress, p, w->mapToGlobal(p), Qt::RightButton, Qt::RightButton,
                    Qt::NoModifier);
  QApplication::sendEvent(w, &appui);
  // What the window system sends after the press.
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(3, 3), w->mapToGlobal(QPoint(3, 3)));
  QApplication::sendEvent(w, &menu);
  QMouseEvent relache(QEvent::MouseButtonRelease, p, w->mapToGlobal(p), Qt::RightButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &relache);
}

void DoubleClic(QWidget* w) {
  const QPointF p(3, 3);
  QMouseEvent double_(QEvent::MouseButtonDblClick, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &double_);
}

// Runs the action and says which windows or menus it opened where none
// should open (each is closed so that the test goes on).
std::vector<std::string> Ouvertes(const std::function<void()>& action) {
  std::vector<std::string> ouvertes;
  QTimer::singleShot(0, [&ouvertes] {
    if (QWidget* m = QApplication::activePopupWidget()) {
      ouvertes.push_back(std::string("menu ") + m->metaObject()->className());
      m->close();
    }
    if (QWidget* m = QApplication::activeModalWidget()) {
      ouvertes.push_back(m->windowTitle().toStdString());
      m->close();
    }
  });
  action();
  QApplication::processEvents();
  return ouvertes;
}

TEST(LeverFenetre, ClicDroitMontreLeLeverDeLaVisee) {
  Fenetre w;
  // A shot of the default trip: the message, no window, no text menu.
  w.f.Zone().SelectionneLigne(1);
  EXPECT_EQ(w.LeverEdit()->text(), "non renseignée");
  EXPECT_TRUE(Ouvertes([&] { ClicDroit(w.LeverEdit()); }).empty());
  ASSERT_EQ(w.g.dialogues.Messages().size(), 1u);
  EXPECT_EQ(w.g.dialogues.Messages()[0], AucunLever);
  // A shot of a trip: its view, the window unchanged.
  w.f.Zone().SelectionneLigne(3);
  EXPECT_EQ(w.LeverEdit()->text(), "15/07/2010");
  int vues = 0;
  essai::SurLaFenetreModale([&vues](QDialog& d) {
    ++vues;
    EXPECT_EQ(d.windowTitle(), "Visualisation d'un lever");
    EXPECT_EQ(essai::Enfant<QDateEdit>(d, "DateEdit")->date(), QDate(2010, 7, 15));
    essai::Clic(d, "OKBtn");
  });
  ClicDroit(w.LeverEdit());
  QApplication::processEvents();
  EXPECT_EQ(vues, 1) << "one view for one click, and no text menu after it";
  EXPECT_EQ(w.g.dialogues.Messages().size(), 1u);
  EXPECT_FALSE(survey::Document().DocumentModifie);
  EXPECT_FALSE(essai::Controle<QToolButton>(w.f, "EnregistreButton")->isEnabled());
  // The keyboard's menu key does what the right button does.
  w.f.Zone().SelectionneLigne(0);
  QContextMenuEvent touche(QContextMenuEvent::Keyboard, QPoint(3, 3), w.LeverEdit()->mapToGlobal(QPoint(3, 3)));
  EXPECT_TRUE(Ouvertes([&] { QApplication::sendEvent(w.LeverEdit(), &touche); }).empty());
  ASSERT_EQ(w.g.dialogues.Messages().size(), 2u);
  EXPECT_EQ(w.g.dialogues.Messages()[1], AucunLever);
}

TEST(LeverFenetre, DoubleClicCorrigeLeLeverDeLaVisee) {
  Fenetre w;
  auto* coord = essai::Controle<QToolButton>(w.f, "CoordBtn");
  auto* vue = essai::Controle<QTableView>(w.f, "VisuVisees");
  // A shot of the default trip: the message, nothing changed.
  w.f.Zone().SelectionneLigne(0);
  EXPECT_TRUE(Ouvertes([&] { DoubleClic(w.LeverEdit()); }).empty());
  ASSERT_EQ(w.g.dialogues.Messages().size(), 1u);
  EXPECT_EQ(w.g.dialogues.Messages()[0], AucunLeverRectif);
  EXPECT_FALSE(survey::Document().DocumentModifie);
  EXPECT_FALSE(essai::Controle<QToolButton>(w.f, "EnregistreButton")->isEnabled());

  // Cancelled: nothing changes.
  w.f.Zone().SelectionneLigne(4);
  essai::SurLaFenetreModale([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Rectification d'un lever");
    essai::Clic(d, "AnnulerBtn");
  });
  DoubleClic(w.LeverEdit());
  EXPECT_EQ(w.lever->Declinaison, 1.25);
  EXPECT_FALSE(survey::Document().DocumentModifie);

  // With the coordinates shown, the trip's date and declination corrected.
  coord->click();
  ASSERT_TRUE(coord->isChecked());
  const QString xAvant = w.Texte(4, 9);
  EXPECT_EQ(essai::Controle<QLabel>(w.f, "DeclinText")->text(), "Déclinaison : 1.25 °");
  essai::SurLaFenetreModale([](QDialog& d) {
    EXPECT_EQ(d.windowTitle(), "Rectification d'un lever");
    essai::Enfant<QDateEdit>(d, "DateEdit")->setDate(QDate(2011, 3, 4));
    auto* e = essai::Enfant<QLineEdit>(d, "DeclinEdit");
    e->setText(QStringLiteral("30"));
    emit e->textEdited(e->text());
    essai::Clic(d, "OKBtn");
  });
  DoubleClic(w.LeverEdit());
  EXPECT_EQ(w.lever->LaDate, essai::Date(2011, 3, 4));
  EXPECT_EQ(w.lever->Declinaison, 30);
  EXPECT_FALSE(w.lever->DecliAuto) << "typed, not computed";
  EXPECT_EQ(survey::Document().LeverCourant, w.lever);
  EXPECT_EQ(w.LeverEdit()->text(), "04/03/2011");
  EXPECT_EQ(essai::Controle<QLabel>(w.f, "DeclinText")->text(), "Déclinaison : 30.00 °");
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_TRUE(essai::Controle<QToolButton>(w.f, "EnregistreButton")->isEnabled());
  // No stale coordinate: either the columns are off, or they show the
  // network computed again.
  if (coord->isChecked()) {
    const QString x = w.Texte(4, 9);
    EXPECT_NE(x, xAvant) << "the shots turned by 28.75°";
    coord->click();
    coord->click();
    EXPECT_EQ(w.Texte(4, 9), x);
  } else {
    EXPECT_TRUE(vue->isColumnHidden(9));
  }
}

}  // namespace
