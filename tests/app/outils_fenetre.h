#pragma once
// Set-up shared by the tests of the document and the main window: the
// process-wide contexts set aside for a test, and finding and driving the
// window's controls by their object names.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include <QColor>
#include <QComboBox>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QToolButton>
#include <QWidget>

#include "app/commun/config_generale.h"
#include "app/fiche_principale.h"
#include "app/table/zone_visees.h"
#include "platform/scripted_dialogs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"
#include "survey/visee.h"
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

// A network's surface point "E" and a cave "Igue" of n shots of 2 m, A1 to
// An, going on from it; the cave is returned.
inline survey::TCavite* AjouteCaviteLineaire(survey::TReseau& r, int n) {
  r.CreeCaviteSurface();
  auto e = std::make_unique<survey::TPointSpeleo>();
  e->TypePoint = survey::PointSurface;
  e->DesignPTopo = "E";
  survey::TPointSpeleo* entree = r.LesPointsSurface()->Add(std::move(e));
  entree->GalduPt = r.UneCavite(0)->UneGalerie(0);
  auto c = std::make_unique<survey::TCavite>();
  c->NomCavite = "Igue";
  survey::TCavite* cav = r.AjouteCavite(std::move(c));
  survey::TGalerie* g = cav->AjouteGalerie("");
  survey::TPointSpeleo* avant = entree;
  for (int i = 1; i <= n; ++i) {
    auto p = std::make_unique<survey::TPointSpeleo>();
    p->DesignPTopo = "A" + std::to_string(i);
    p->GalduPt = g;
    survey::TPointSpeleo* s = g->Points.Add(std::move(p));
    auto v = std::make_unique<survey::TVisee>();
    v->PointStation = avant;
    v->PointVise = s;
    v->Long = 2;
    cav->Visees.Add(std::move(v));
    avant = s;
  }
  cav->ReGenereListePoints(false);
  cav->AffecteLeversVisees();
  return cav;
}

}  // namespace essai

