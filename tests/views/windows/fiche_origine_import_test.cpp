// The origin window of an import on Qt, offscreen, driven by objectName over
// the small cave of two galleries: what it shows as it opens, the station a
// click chooses and the buttons that follow it, the re-initialisation, the
// red circle drawn around the chosen station's pixel, and the display memory
// of the selection windows left as it was.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "drawing/point_compo.h"
#include "tests/views/windows/clic_sol.h"
#include "tests/views/windows/outils_visu.h"
#include "views/windows/fiche_origine_import.h"

namespace {

using namespace essaifenetres;

class FenetreOrigine : public Cavites {
 protected:
  std::unique_ptr<views::TFicheOrigineImport> Ouvre() {
    auto f = views::TFicheGraphique::Cree<views::TFicheOrigineImport>();
    f->resize(900, 700);
    f->show();
    QApplication::processEvents();
    // The general view fits the cave's own stations: zoomed out, the
    // entrance (a surface point) and the side station A are on the box too.
    f->ZoomeValeur(2);
    QApplication::processEvents();
    return f;
  }
  template <class W>
  static W* Controle(QWidget& f, const char* nom) {
    W* w = f.findChild<W*>(nom);
    EXPECT_NE(w, nullptr) << nom;
    return w;
  }
  // The stations marked in the survey layer, by name.
  static std::string Marqueurs(views::TFicheOrigineImport& f, const survey::TCavite& c) {
    std::string s;
    for (const auto& o : f.LeCalque(odPtLever).ObjetsDessines)
      if (const auto* m = dynamic_cast<const drawing::TPointVisu*>(o.get())) {
        std::string nom = "?";
        for (int i = 0; i <= c.IndexFinCavite(); ++i)
          if (const survey::TPointSpeleo* p = c.LePoint(i);
              m->PtLoc() == foundation::XYVersDessin(p->X, p->Y))
            nom = p->DesignPTopo;
        if (c.LEntree() && m->PtLoc() == foundation::XYVersDessin(c.LEntree()->X, c.LEntree()->Y)) nom = "E";
        s += (s.empty() ? "" : " ") + nom;
      }
    return s;
  }
};

TEST_F(FenetreOrigine, OuvertureSurLEntree) {
  survey::TCavite* c = Petite();
  c->PointImport = N.Point(c, "4");
  auto f = Ouvre();
  EXPECT_EQ(f->windowTitle(), QString::fromUtf8("Changement du point d'origine du lever"));
  EXPECT_EQ(Controle<QLabel>(*f, "StatusBar")->text(), QString::fromUtf8("Indiquez le point d'origine du levé"));
  auto* ok = Controle<QPushButton>(*f, "ValidBtn");
  auto* annule = Controle<QPushButton>(*f, "AnnuleBtn");
  auto* reinit = Controle<QPushButton>(*f, "ReinitOriginBtn");
  ASSERT_TRUE(ok && annule && reinit);
  EXPECT_TRUE(ok->isVisible());
  EXPECT_TRUE(annule->isVisible());
  EXPECT_TRUE(reinit->isVisible());
  EXPECT_FALSE(Controle<QPushButton>(*f, "EffaceBtn")->isVisible());
  EXPECT_FALSE(Controle<QPushButton>(*f, "ToutBtn")->isVisible());
  EXPECT_EQ(reinit->toolTip(), QString::fromUtf8("remet le point d'origine de l'import à sa valeur initiale"));
  // The import's choice starts again from the entrance, marked; nothing to validate.
  EXPECT_EQ(c->PointImport, c->LEntree());
  EXPECT_EQ(Marqueurs(*f, *c), "E");
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_FALSE(reinit->isEnabled());
  EXPECT_FALSE(f->ObjetsAffichables[odGalerie]);
  EXPECT_TRUE(f->ObjetsAffichables[odPtLever]);
}

TEST_F(FenetreOrigine, UnClicChoisitLaStationLaPlusProche) {
  survey::TCavite* c = Petite();
  auto f = Ouvre();
  auto* ok = Controle<QPushButton>(*f, "ValidBtn");
  auto* reinit = Controle<QPushButton>(*f, "ReinitOriginBtn");
  ASSERT_TRUE(ok && reinit);
  // Each click in turn, and the chosen station after it ("E" is the entrance).
  struct Cas {
    const char* quoi;
    double x, y;
    const char* choisie;
  } cas[] = {
      {"sur la station 2", 20, 0, "2"},
      {"à 0,3 m de B1", 20.2, 10.2, "B1"},
      {"loin de toute station", 15, 3, "B1"},
      {"à 0,3 m de A, à 4,7 m de 3", 30, -4.7, "A"},
      {"sur l'entrée", 0, 0, "E"},
      {"sur la station 4", 40, 0, "4"},
  };
  for (const Cas& k : cas) {
    CliqueAuSol(*f, k.x, k.y);
    ASSERT_NE(c->PointImport, nullptr) << k.quoi;
    const bool entree = c->PointImport == c->LEntree();
    EXPECT_EQ(entree ? "E" : c->PointImport->DesignPTopo, k.choisie) << k.quoi;
    EXPECT_EQ(Marqueurs(*f, *c), k.choisie) << k.quoi;
    EXPECT_EQ(ok->isEnabled(), !entree) << k.quoi;
    EXPECT_EQ(reinit->isEnabled(), !entree) << k.quoi;
  }
  // No shot was selected on the way.
  EXPECT_EQ(Marquees(c), "");
  // "Réinitialiser" goes back to the entrance.
  reinit->click();
  EXPECT_EQ(c->PointImport, c->LEntree());
  EXPECT_EQ(Marqueurs(*f, *c), "E");
  EXPECT_FALSE(ok->isEnabled());
  EXPECT_FALSE(reinit->isEnabled());
}

TEST_F(FenetreOrigine, CercleRougeAutourDeLaStationChoisie) {
  survey::TCavite* c = Petite();
  auto f = Ouvre();
  CliqueAuSol(*f, 20, 10);
  ASSERT_EQ(c->PointImport, N.Point(c, "B1"));
  QApplication::processEvents();
  const QImage image = f->BaseDessin->grab().toImage();
  const auto rouge = [&](const foundation::TPoint& e, int dx, int dy) {
    const QColor p = image.pixelColor(e.X + dx, e.Y + dy);
    return p.red() > 200 && p.green() < 60 && p.blue() < 60;
  };
  // The marker is a circle of 10 pixels' radius drawn 3 pixels wide: red on
  // its four diagonals (clear of the survey lines, which are red too), not
  // inside it; none around the station 2 next to it, nor around the entrance.
  const auto diagonales = [&](const foundation::TPoint& e, int d) {
    int n = 0;
    for (const auto& [dx, dy] : {std::pair{d, d}, {d, -d}, {-d, d}, {-d, -d}}) n += rouge(e, dx, dy);
    return n;
  };
  const foundation::TPoint b1 = foundation::PtTopoVersEcran(N.Point(c, "B1")->PtTopo());
  EXPECT_EQ(diagonales(b1, 7), 4);
  EXPECT_EQ(diagonales(b1, 3), 0);
  for (const char* autre : {"2", "E"}) {
    const foundation::TPoint e = foundation::PtTopoVersEcran(N.Station(c, autre)->PtTopo());
    ASSERT_TRUE(image.rect().adjusted(10, 10, -10, -10).contains(e.X, e.Y)) << autre;
    EXPECT_EQ(diagonales(e, 7), 0) << autre;
  }
}

TEST_F(FenetreOrigine, ValidationModaleEtMemoireDesSelectionsIntacte) {
  survey::TCavite* c = Petite();
  const bool contoursAvant = views::TFicheGraphique::Cree<views::TFicheSelectTransfert>()->ObjetsAffichables[odGalerie];
  {
    auto f = views::TFicheGraphique::Cree<views::TFicheOrigineImport>();
    QTimer::singleShot(0, f.get(), [&] {
      CliqueAuSol(*f, 30, 0);
      Controle<QPushButton>(*f, "ValidBtn")->click();
    });
    EXPECT_EQ(f->Execute(), QDialog::Accepted);
  }
  EXPECT_EQ(c->PointImport, N.Point(c, "3"));
  // The hidden outlines were the origin window's own.
  EXPECT_EQ(views::TFicheGraphique::Cree<views::TFicheSelectTransfert>()->ObjetsAffichables[odGalerie], contoursAvant);
}

}  // namespace
