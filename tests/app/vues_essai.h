#pragma once
// What the tests of the plan and elevation views opened from the main
// window share: the links installed as at start-up with the Qt image canvas,
// Olivier.tro imported from the "Imports" menu, the action run on a view
// once it is shown, and the probes of the survey axes on a picture.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QTimer>
#include <functional>
#include <map>
#include <string>

#include "app/application.h"
#include "app/commun/config_generale.h"
#include "app/document/document_survey.h"
#include "app/fiche_principale.h"
#include "drawing/contexte_dessin.h"
#include "drawing/dessin_axe_gal.h"
#include "drawing/objet_trait.h"
#include "drawing/ports_dessin.h"
#include "drawing/ports_motifs.h"
#include "formats/import/galeries_import.h"
#include "formats/import/import_autres.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/qt_canvas.h"
#include "survey/reseau.h"
#include "tests/app/outils_fenetre.h"
#include "tests/support/dossier_temp.h"
#include "tests/survey/environnement_document.h"
#include "views/noyau_graphique.h"
#include "views/ports_vues.h"

namespace essaivues {

using namespace app;
using enum drawing::TypeObjetDessin;
using essai::Controle;
using testsupport::DossierTemp;
using testsupport::EcritOctets;
using testsupport::LitOctets;

struct Environnement {
  GardeConfig config;
  survey::GardeAffichage affichage;
  testsurvey::EnvironnementDocument document{false};
  drawing::GardePortsDonnees portsDonnees;
  drawing::GardePortsMotifs portsMotifs;
  drawing::GardeContexteDessin dessin;
  views::GardePortsVues portsVues;
  formats::GardePortsImport fenetresImport;
  formats::GardeImport import;
  platform::QtCanvasFactory qt;
  platform::ScopedCanvasFactory fabrique{qt};
  DossierTemp dossier;
  std::string tro;

  Environnement() {
    Config() = ConfigGenerale();
    InstalleLiaisonsApplication();
    formats::FenetresImport() = formats::PortsImport();
    formats::Import().DossierMemoireGaleries = dossier.Chemin() + "/";
    tro = dossier.Fichier("Olivier.tro");
    EcritOctets(tro, LitOctets(std::string(GRAVELUNE_SHARED_DIR) + "/fixtures/vtopo/Olivier.tro"));
  }
  platform::ScriptedDialogs& Dialogues() { return document.Dialogues; }
};

inline survey::TReseau* ReseauDe(TFichePrincipale& f) {
  auto* d = dynamic_cast<TDocumentSurvey*>(f.Gestion().Reseau());
  return d ? &d->Reseau() : nullptr;
}

// Olivier.tro imported into a new document from the "Imports" menu, n times.
inline survey::TReseau* ImporteOlivier(TFichePrincipale& f, Environnement& env, int n = 1) {
  for (int i = 0; i < n; ++i) {
    env.Dialogues().QueueFile(env.tro, 1);
    Controle<QAction>(f, "ImportVTopo")->trigger();
  }
  return ReseauDe(f);
}

// Runs the action on the view of that class once it is shown with its
// drawing, then closes it; a view that does not come fails the test.
template <class F>
inline void SurLaVue(const std::function<void(F&)>& action, bool& vu, int essais = 500) {
  QTimer::singleShot(10, [action, &vu, essais] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = dynamic_cast<F*>(w); f && f->isVisible() && f->BoiteDimensionnee()) {
        QApplication::processEvents();
        vu = true;
        action(*f);
        f->reject();
        return;
      }
    if (essais > 0) return SurLaVue<F>(action, vu, essais - 1);
    ADD_FAILURE() << "la vue ne s'ouvre pas";
    if (QWidget* m = QApplication::activeModalWidget()) m->close();
  });
}

// The stations of the survey axes with the axis pen's colour.
inline std::map<const survey::TPointSpeleo*, platform::Colour> StationsDesAxes(views::TNoyauGraphique& f) {
  std::map<const survey::TPointSpeleo*, platform::Colour> r;
  for (const auto& o : f.LeCalque(odPtLever).ObjetsDessines)
    if (const auto* a = dynamic_cast<const drawing::TDessinAxeGal*>(o.get()))
      for (const auto& p : a->PointsAxe) r[p->PointRef] = a->ObjetMotif ? a->ObjetMotif->CouleurPlume : 0;
  return r;
}

// The axis colour in the 3 x 3 square around (x, y): the layers are
// combined by AND, so a pixel of the axis keeps no bit that the axis pen
// lacks (a fill or a symbol over it only takes bits away), and is not white.
inline bool CouleurAutour(const QImage& image, int x, int y, platform::Colour c) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      if (!image.valid(x + dx, y + dy)) continue;
      const platform::Colour p = platform::FromQRgb(image.pixel(x + dx, y + dy));
      if (p != 0xFFFFFF && (p | c) == c) return true;
    }
  return false;
}

inline foundation::TPointTopo Sol(double x, double y) {
  foundation::TPointTopo p;
  p.X = p.SlH = x;
  p.Y = p.Z = y;
  return p;
}

}  // namespace essaivues
