#pragma once
// Set-up shared by the tests of the document and the main window: the
// process-wide contexts set aside for a test, and finding and driving the
// window's controls by their object names.
#include <gtest/gtest.h>

#include <QColor>
#include <QComboBox>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QToolButton>
#include <QWidget>

#include "app/config_generale.h"
#include "app/fiche_principale.h"
#include "app/zone_visees.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "survey/ports_survey.h"
#include "tests/support/garde_contextes.h"

namespace essai {

// Every context restored after the test, the configuration and the document
// fresh for it; the dialogs scripted.
struct Gardes {
  testsupport::GardeContextes contextes;
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs gardeDialogues{dialogues};
  Gardes() {
    app::Config() = app::ConfigGenerale();
    survey::Document() = survey::ContexteDocument();
  }
};

template <class T>
T* Controle(QWidget& fenetre, const char* nom) {
  T* t = fenetre.findChild<T*>(QString::fromLatin1(nom));
  EXPECT_NE(t, nullptr) << nom;
  return t;
}

inline void Clique(QWidget& fenetre, const char* nom) {
  QToolButton* b = Controle<QToolButton>(fenetre, nom);
  ASSERT_TRUE(b->isEnabled()) << nom;
  b->click();
}

inline QStringList Elements(QComboBox* b) {
  QStringList l;
  for (int i = 0; i < b->count(); ++i) l << b->itemText(i);
  return l;
}

// The colour of the status panel as painted.
inline QColor CouleurPanneau(app::TFichePrincipale& f) {
  const QImage image = f.PanneauEtat()->grab().toImage();
  return image.pixelColor(image.width() - 2, image.height() - 2);
}

}  // namespace essai
