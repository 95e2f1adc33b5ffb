#pragma once
// Set-up shared by the tests of the data-entry dialogs: the contexts they
// touch set aside, the dialogs scripted, the document's operator and
// instrument lists, and driving modal windows through their controls.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "app/commun/config_generale.h"
#include "app/commun/contexte_saisie.h"
#include "foundation/dates.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "survey/instrument.h"
#include "survey/listes_document.h"
#include "survey/operateur.h"

namespace essai {

struct Saisie {
  app::GardeConfig config;
  app::GardeSaisie saisie;
  survey::GardeDocument document;
  survey::GardeListesDocument listes;
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs gardeDialogues{dialogues};
  survey::TListeOperateurs operateurs;
  survey::TListeInstruments instruments;

  Saisie() {
    app::Config() = app::ConfigGenerale();
    app::Saisie() = app::ContexteSaisie();
    survey::Document() = survey::ContexteDocument();
    survey::ListesDocument() = {&operateurs, &instruments};
  }

  survey::TOperateur* Operateur(const std::string& nom) {
    auto o = std::make_unique<survey::TOperateur>();
    o->DesignOpe = nom;
    return operateurs.Add(std::move(o));
  }
  survey::TInstrument* Instrument(const std::string& nom, survey::TTypeInst type, const std::string& genre = "") {
    auto i = std::make_unique<survey::TInstrument>();
    i->DesignInstr = nom;
    i->TypeInstr = type;
    i->TiGenre = genre;
    return instruments.Add(std::move(i));
  }
};

inline foundation::TDateTime Date(int a, int m, int j) {
  foundation::TDateTime d = 0;
  EXPECT_TRUE(foundation::EncodeDate(a, m, j, d));
  return d;
}

template <class T>
T* Enfant(QWidget& w, const char* nom) {
  T* t = w.findChild<T*>(QString::fromLatin1(nom));
  EXPECT_NE(t, nullptr) << nom;
  return t;
}

inline void Clic(QWidget& w, const char* nom) {
  QAbstractButton* b = Enfant<QAbstractButton>(w, nom);
  ASSERT_NE(b, nullptr) << nom;
  ASSERT_TRUE(b->isEnabled()) << nom;
  b->click();
}

// Runs f on the modal window once the event loop reaches it; a window left
// open by f is cancelled so that a failing test does not hang.
inline void SurLaFenetreModale(std::function<void(QDialog&)> f) {
  QTimer::singleShot(0, [f] {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!d) {
      ADD_FAILURE() << "no modal window";
      return;
    }
    f(*d);
    if (d->isVisible() && QApplication::activeModalWidget() == d) d->reject();
  });
}

// Selects the line of the choice that shows the text.
inline void Choisit(QComboBox* b, const QString& texte) {
  const int i = b->findText(texte);
  ASSERT_GE(i, 0) << texte.toStdString();
  b->setCurrentIndex(i);
}

}  // namespace essai
