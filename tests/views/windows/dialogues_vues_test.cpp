// The cave views' dialogs on Qt, offscreen, driven through their controls:
// the point information with its sketch (pictures probed at the pixels the
// stations' coordinates give), the walk to a neighbour that moves the
// window's view, the enlarged sketch, the unattached point and the
// zero-length shot; the zoom on a gallery or a point with its remembered
// choices; the cave choice; the map choice; the cave's own pens.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <string>
#include <vector>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_motifs.h"
#include "drawing/donnees_coupe_long.h"
#include "drawing/point_compo.h"
#include "foundation/arrondi.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/reseau.h"
#include "tests/views/windows/outils_visu.h"
#include "views/contexte_views.h"
#include "views/motifs/cadres_traits.h"
#include "views/noyau_visu_pt.h"
#include "views/windows/choix_cav_dlg.h"
#include "views/windows/choix_image_dlg.h"
#include "views/windows/couleur_cavite_dlg.h"
#include "views/windows/fiche_visu_graphique.h"
#include "views/windows/visu_pt_dlg.h"
#include "views/windows/zoom_gal_pts_dlg.h"
#include "views/zoom_gal_pts.h"

namespace {

using namespace essaifenetres;
using foundation::Arrondi;

std::string S(const QString& q) { return q.toStdString(); }

// The sketch's pixel of a station: the centre of the image, the point's
// extent filling it less 20 pixels, y upward.
struct Croquis {
  int32_t cx, cy;
  double k;
  double px, py;
  QPoint Pixel(double x, double y) const {
    return {Arrondi(k * (x - px)) + cx, cy - Arrondi(k * (y - py))};
  }
};

bool Vert(QColor c) { return c.red() == 0 && c.green() == 128 && c.blue() == 0; }
bool Rouge(QColor c) { return c.red() == 255 && c.green() == 0 && c.blue() == 0; }
bool Sombre(QColor c) { return c.red() < 100 && c.green() < 100 && c.blue() < 100; }

// A green circle of radius 3 round p: green pixels 2 to 4 pixels from it on
// its four sides, none farther than 5.
void CercleVert(const QImage& im, QPoint p) {
  int gauche = 0, droite = 0, haut = 0, bas = 0, loin = 0;
  for (int dx = -8; dx <= 8; ++dx)
    for (int dy = -8; dy <= 8; ++dy) {
      const int x = p.x() + dx, y = p.y() + dy;
      if (x < 0 || y < 0 || x >= im.width() || y >= im.height() || !Vert(im.pixelColor(x, y))) continue;
      const double d = std::hypot(dx, dy);
      if (d > 5) ++loin;
      if (d < 1.5 || d > 4.5) continue;
      if (dx <= -2) ++gauche;
      if (dx >= 2) ++droite;
      if (dy <= -2) ++haut;
      if (dy >= 2) ++bas;
    }
  EXPECT_GT(gauche, 0) << p.x() << "," << p.y();
  EXPECT_GT(droite, 0) << p.x() << "," << p.y();
  EXPECT_GT(haut, 0) << p.x() << "," << p.y();
  EXPECT_GT(bas, 0) << p.x() << "," << p.y();
  EXPECT_EQ(loin, 0) << p.x() << "," << p.y();
}

// Text pixels above-right of (x - 3, y - 3), where a neighbour's name goes.
bool Libelle(const QImage& im, QPoint p) {
  for (int x = p.x() - 3; x < p.x() + 8; ++x)
    for (int y = p.y() - 16; y < p.y() - 3; ++y)
      if (x >= 0 && y >= 0 && x < im.width() && y < im.height() && Sombre(im.pixelColor(x, y))) return true;
  return false;
}

void Appui(QWidget* w, QPoint p, Qt::MouseButton b) {
  QMouseEvent m(QEvent::MouseButtonPress, QPointF(p), w->mapToGlobal(QPointF(p)), b, b, Qt::NoModifier);
  QApplication::sendEvent(w, &m);
  QMouseEvent r(QEvent::MouseButtonRelease, QPointF(p), w->mapToGlobal(QPointF(p)), b, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &r);
}

int MarquesVisu(views::TNoyauGraphique& f) {
  int n = 0;
  for (const auto& o : f.LeCalque(odPtLever).ObjetsDessines) n += dynamic_cast<drawing::TPointVisu*>(o.get()) != nullptr;
  return n;
}

class DialoguesVues : public Cavites {
 protected:
  template <class W>
  static W* Controle(QWidget& f, const char* nom) {
    W* w = f.findChild<W*>(nom);
    EXPECT_NE(w, nullptr) << nom;
    return w;
  }
  // The view's entry the walk moves: the current zoom-history entry, or the
  // view itself when the history is empty.
  static views::TParamZoom Entree(views::TNoyauGraphique& f) {
    return f.ZoomActif >= 1 ? f.DerZoom[static_cast<size_t>(f.ZoomActif)] : f.VueCourante();
  }
};

// --- Point information ------------------------------------------------------------------------

TEST_F(DialoguesVues, PointATroisVoisinsCroquisEtMarque) {
  survey::TCavite* c = Petite();
  Visu f;
  f.Cree();
  // The survey axes, hidden in the window, are shown while the dialog is open.
  ASSERT_FALSE(f.ObjetsAffichables[odPtLever]);
  const int objets = f.LeCalque(odPtLever).NombreObjets();
  drawing::TObjetDessin* autre = nullptr;
  {
    survey::TPointSpeleo* deux = N.Station(c, "2");
    views::TVisuPtDlg d(f, *deux);
    EXPECT_EQ(S(d.windowTitle()), "Informations sur le point");
    EXPECT_EQ(S(d.EditDesign->text()), "2");
    EXPECT_EQ(S(d.EditCavite->text()), "Petite");
    EXPECT_EQ(S(d.EditGal->text()), "Galerie d'entrée");
    EXPECT_EQ(S(d.EditX->text()), "        20.0");
    EXPECT_EQ(S(d.EditY->text()), "         0.0");
    EXPECT_EQ(S(d.EntreeText->text()), "Calcul par rapport au point : E");
    EXPECT_FALSE(d.DiffEntreeGroup->isHidden());
    EXPECT_TRUE(f.ObjetsAffichables[odPtLever]);
    EXPECT_EQ(MarquesVisu(f), 1);

    // 1 (10, 0), 3 (30, 0) and B1 (20, 10) round 2 (20, 0): 10 m each way
    // fill 97 pixels less 20 on each side.
    const Croquis k{48, 48, (48 - 20) / 10.0, 20, 0};
    const QImage im = d.VisuDirect->grab().toImage();
    ASSERT_EQ(im.width(), 97);
    for (const auto& [nom, x, y] : {std::tuple{"1", 10.0, 0.0}, {"3", 30.0, 0.0}, {"B1", 20.0, 10.0}}) {
      SCOPED_TRACE(nom);
      const QPoint p = k.Pixel(x, y);
      CercleVert(im, p);
      EXPECT_TRUE(Libelle(im, p));
    }
    // The red cross on the point and the red lines to the neighbours.
    for (const QPoint p : {QPoint(48, 48), QPoint(42, 48), QPoint(48, 53), QPoint(34, 48), QPoint(48, 30)})
      EXPECT_TRUE(Rouge(im.pixelColor(p))) << p.x() << "," << p.y();
    // Nothing green where no station is.
    EXPECT_FALSE(Vert(im.pixelColor(k.Pixel(20, -10))));

    // Something else added to the layer while the dialog is open stays.
    autre = Ligne(f, odPtLever, 0xFF00FF, {{0, 0}, {10, 10}});
  }
  EXPECT_FALSE(f.ObjetsAffichables[odPtLever]);
  EXPECT_EQ(MarquesVisu(f), 0);
  ASSERT_EQ(f.LeCalque(odPtLever).NombreObjets(), objets + 1);
  EXPECT_EQ(f.LeCalque(odPtLever).ObjetsDessines.back().get(), autre);
}

TEST_F(DialoguesVues, ClicSurUnVoisinMarcheEtDeplaceLaVue) {
  survey::TCavite* c = Petite();
  Visu f;
  f.Cree();
  views::TVisuPtDlg d(f, *N.Station(c, "2"));
  const Croquis k{48, 48, 2.8, 20, 0};
  const QPoint trois = k.Pixel(30, 0);
  // 6 pixels from 3: not close enough.
  const views::TParamZoom avant = Entree(f);
  Appui(d.VisuDirect, trois + QPoint(0, 6), Qt::LeftButton);
  EXPECT_EQ(d.Modele().PointAffiche, N.Station(c, "2"));
  // 5 pixels: the walk to 3, and the view moves 10 m east with it.
  Appui(d.VisuDirect, trois + QPoint(3, 4), Qt::LeftButton);
  EXPECT_EQ(d.Modele().PointAffiche, N.Station(c, "3"));
  EXPECT_EQ(S(d.EditDesign->text()), "3");
  views::TParamZoom apres = Entree(f);
  EXPECT_NEAR(apres.XDeb - avant.XDeb, 10, 1e-9);
  EXPECT_NEAR(apres.Ydeb - avant.Ydeb, 0, 1e-9);
  EXPECT_NEAR(f.VueCourante().XDeb, apres.XDeb, 1e-9);
  EXPECT_EQ(MarquesVisu(f), 1);
  // From 3 (neighbours 2, 4 and A 5 m south), the side station A: 5 m south.
  const std::vector<survey::TPointSpeleo*> voisins = d.Modele().LstPts;
  ASSERT_EQ(voisins.size(), 3u);
  const survey::TPointSpeleo* a = N.Station(c, "A");
  const Croquis k3{48, 48, std::min(28 / 10.0, 28 / 5.0), 30, 0};
  Appui(d.VisuDirect, k3.Pixel(a->X, a->Y), Qt::LeftButton);
  EXPECT_EQ(d.Modele().PointAffiche, a);
  const views::TParamZoom fin = Entree(f);
  EXPECT_NEAR(fin.XDeb - apres.XDeb, 0, 1e-9);
  EXPECT_NEAR(fin.Ydeb - apres.Ydeb, -5, 1e-9);
  EXPECT_EQ(MarquesVisu(f), 1);
}

TEST_F(DialoguesVues, ClicDroitOuvreEtFermeLeCroquisAgrandi) {
  survey::TCavite* c = Petite();
  Visu f;
  f.Cree();
  views::TVisuPtDlg d(f, *N.Station(c, "2"));
  d.show();
  EXPECT_TRUE(d.PanelLoupe->isHidden());
  Appui(d.VisuDirect, {10, 10}, Qt::RightButton);
  EXPECT_FALSE(d.PanelLoupe->isHidden());
  EXPECT_EQ(d.UneImage, d.Loupe);
  // The enlarged sketch: 417 x 420, centre (208, 210), 10 m over 188 pixels.
  const QImage im = d.Loupe->grab().toImage();
  const Croquis k{208, 210, std::min(188 / 10.0, 190 / 10.0), 20, 0};
  CercleVert(im, k.Pixel(30, 0));
  CercleVert(im, k.Pixel(20, 10));
  EXPECT_TRUE(Rouge(im.pixelColor(208, 210)));
  // A right click on it closes it.
  Appui(d.Loupe, {10, 10}, Qt::RightButton);
  EXPECT_TRUE(d.PanelLoupe->isHidden());
  EXPECT_EQ(d.UneImage, d.VisuDirect);
  // Opened again, a left click on a neighbour of the enlarged sketch walks there.
  Appui(d.VisuDirect, {10, 10}, Qt::RightButton);
  Appui(d.Loupe, k.Pixel(20, 10), Qt::LeftButton);
  EXPECT_EQ(d.Modele().PointAffiche, N.Station(c, "B1"));
  EXPECT_TRUE(d.PanelLoupe->isHidden());
}

TEST_F(DialoguesVues, PointDeSurfaceNonRattacheDialogueCourt) {
  Petite();
  survey::TPointSpeleo* seul = N.Surface("Borne", 100, 50, 12.3);
  seul->Commentaire = {"Borne IGN"};
  Visu f;
  f.Cree();
  views::TVisuPtDlg d(f, *seul);
  d.show();
  QApplication::processEvents();
  EXPECT_EQ(d.height(), 390);
  EXPECT_EQ(S(d.EditCavite->text()), "Points de Surface");
  EXPECT_EQ(S(d.EditDesign->text()), "Borne");
  EXPECT_EQ(S(d.EditZ->text()), "        12.3");
  EXPECT_EQ(S(d.MemoComment->toPlainText()), "Borne IGN");
  EXPECT_TRUE(d.VisuDirect->isHidden());
  EXPECT_TRUE(d.DiffEntreeGroup->isHidden());
  EXPECT_TRUE(d.EditGal->isHidden());
  EXPECT_EQ(MarquesVisu(f), 0);
  // The entrance E of the only computation of the cave.
  views::TVisuPtDlg e(f, *N.Station(N.R().UneCavite(0), "E"));
  EXPECT_EQ(S(e.EditDesign->text()), "E (Entrée)");
  EXPECT_EQ(S(e.EditCavite->text()), "Petite");
}

TEST_F(DialoguesVues, VoisinALaMemePlaceAuCentre) {
  // P with a zero-length shot to Q, and, in a second case, also a 2 m shot
  // north to R: Q at the centre, R at the top less 20 pixels; with Q alone
  // the fixed 100 pixels per metre.
  for (const bool avecR : {false, true}) {
    SCOPED_TRACE(avecR);
    testsurvey::ReseauCalcul n;
    n.Surface("P", 0, 0, 0);
    survey::TCavite* c = n.Cavite("Zero");
    n.Visee(c, "P", "Q", 0, 0, 0);
    if (avecR) n.Visee(c, "P", "R", 0, 0, 2);
    n.Regenere();
    n.R().CalculeReseau();
    Visu f;
    f.Cree();
    views::TVisuPtDlg d(f, *n.Station(c, "Q"));
    const QImage im = d.VisuDirect->grab().toImage();
    // From Q: P at the same place (and R 2 m north).
    const Croquis k{48, 48, avecR ? 28 / 2.0 : views::EchelleCroquisFixe, 0, 0};
    ASSERT_EQ(d.Modele().LstPtVue.size(), 1u);
    EXPECT_EQ(d.Modele().LstPtVue[0], (foundation::TPoint{48, 48}));
    CercleVert(im, {48, 48});
    views::TVisuPtDlg dp(f, *n.Station(c, "P"));
    const QImage ip = dp.VisuDirect->grab().toImage();
    ASSERT_EQ(dp.Modele().LstPtVue.size(), avecR ? 2u : 1u);
    CercleVert(ip, {48, 48});
    if (avecR) {
      EXPECT_EQ(k.Pixel(0, 2), QPoint(48, 20));
      CercleVert(ip, k.Pixel(0, 2));
    }
  }
}

TEST_F(DialoguesVues, EnElevationLesVoisinsDeLElevationSeuls) {
  // The developed elevation of E-1, 1-2, 2-3: from 2, stations 1 and 3 on
  // the sketch by developed length and altitude, B1 (off the elevation) not.
  survey::TCavite* c = Petite();
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
  drawing::TDonneesCoupeLong* coupe =
      annexe->LesCoupesLong.AjouteDonneeCoupe(foundation::TTypeDeDessin::tddAltiDev, {}, true, "Partielle");
  for (const char* v : {"E-1", "1-2", "2-3"}) coupe->AjouteViseeCoupe(Visee(c, v));
  coupe->MajListeViseesDeRef();
  annexe->LeDessinAlti = coupe;
  foundation::GardeTypeDessin alti(foundation::TTypeDeDessin::tddAltiDev);
  Visu f;
  f.Cree();
  survey::TPointSpeleo* deux = N.Station(c, "2");
  views::TVisuPtDlg d(f, *deux);
  ASSERT_EQ(d.Modele().LstPts.size(), 2u);
  const survey::TPointSpeleo* un = N.Station(c, "1");
  const survey::TPointSpeleo* trois = N.Station(c, "3");
  EXPECT_DOUBLE_EQ(trois->Slh - deux->Slh, 10);
  const Croquis k{48, 48, 2.8, deux->Slh, deux->Z};
  const QImage im = d.VisuDirect->grab().toImage();
  CercleVert(im, k.Pixel(un->Slh, un->Z));
  CercleVert(im, k.Pixel(trois->Slh, trois->Z));
  EXPECT_FALSE(Vert(im.pixelColor(48, 48 - 28 + 3)));
  // The walk to 3 moves the view along the developed length.
  const views::TParamZoom avant = Entree(f);
  Appui(d.VisuDirect, k.Pixel(trois->Slh, trois->Z), Qt::LeftButton);
  EXPECT_EQ(d.Modele().PointAffiche, trois);
  EXPECT_NEAR(Entree(f).XDeb - avant.XDeb, 10, 1e-9);
  EXPECT_NEAR(Entree(f).Ydeb - avant.Ydeb, 0, 1e-9);
}

// --- Zoom on a gallery or a point -------------------------------------------------------------

class ZoomGalPts : public DialoguesVues {
 protected:
  // The dialog on the cave, with a gallery, a kind and a zone chosen, then OK.
  static views::TZoomGalPtsDlg* Choisit(views::TZoomGalPtsDlg& d, int type, int zone, const std::string& galerie,
                                        const std::string& point) {
    d.FixeTypeZoom(type);
    d.TypeZommRdgClick();
    if (type == 1) {
      d.FixeZone(zone);
      d.ZoneRDGClick();
    }
    if (!galerie.empty()) {
      d.ListeGalBox->setCurrentIndex(d.ListeGalBox->findText(QString::fromStdString(galerie)));
      d.ListeGalBoxChange();
    }
    if (!point.empty()) d.ListePtsBox->setCurrentIndex(d.ListePtsBox->findText(QString::fromStdString(point)));
    d.accept();
    return &d;
  }
};

TEST_F(ZoomGalPts, RectanglesDesGaleriesEtDesPoints) {
  survey::TCavite* c = Petite();
  // A gallery of one station, 1 m east of 4, and a gallery without station.
  c->AjouteGalerie("Seule");
  N.Visee(c, "4", "S1", 90, 0, 1);
  c->AjouteGalerie("Vide");
  N.Regenere();
  N.R().CalculeReseau();
  const views::TZoomCavite initial{-1, -2, -3, -4};
  struct Cas {
    int type, zone;
    std::string galerie, point;
    bool calcule;
    views::TZoomCavite r;
  };
  const Cas cas[] = {
      // One station: 4 m wide about it, no height.
      {0, 1, "Seule", "", true, {39, 0, 43, 0}},
      // The gallery's stations.
      {0, 1, "Branche", "", true, {20, 10, 20, 30}},
      // The shots from 2 (the one that reached it is not its own): to 3 and up to B1.
      {1, 0, "", "2", true, {20, 0, 30, 10}},
      // From B1, found in the gallery: B1-B2, 10 m high, kept as it is.
      {1, 1, "Branche", "B1", true, {20, 10, 20, 20}},
      // B3 ends the gallery: no shot of its own, nothing computed.
      {1, 1, "Branche", "B3", false, initial},
      // No station: nothing computed, the rectangle as given.
      {0, 1, "Vide", "", false, initial},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.galerie + " " + k.point);
    views::TZoomGalPtsDlg d;
    d.init(*c, initial);
    Choisit(d, k.type, k.zone, k.galerie, k.point);
    EXPECT_EQ(d.ZoomCalcule, k.calcule);
    EXPECT_NEAR(d.ZoomResultat.XInf, k.r.XInf, 1e-6);
    EXPECT_NEAR(d.ZoomResultat.YInf, k.r.YInf, 1e-6);
    EXPECT_NEAR(d.ZoomResultat.XSup, k.r.XSup, 1e-6);
    EXPECT_NEAR(d.ZoomResultat.YSup, k.r.YSup, 1e-6);
  }
  // A point with no shot frames nothing either.
  survey::TPointSpeleo* borne = N.Surface("Borne", 5, 5, 0);
  views::TZoomCavite r = initial;
  EXPECT_FALSE(views::ZoomPoint(*borne, r));
  EXPECT_EQ(r.XInf, initial.XInf);
}

TEST_F(ZoomGalPts, ChoixRetenusParCavite) {
  survey::TCavite* c = Petite();
  survey::TCavite* autre = N.Cavite("Autre");
  N.Visee(autre, "E", "o1", 0, 0, 10);
  autre->AjouteGalerie("Zèbre");
  N.Visee(autre, "o1", "o2", 0, 0, 10);
  N.Regenere();
  N.R().CalculeReseau();
  {
    views::TZoomGalPtsDlg d;
    d.init(*c, {});
    // First opening: a gallery, points in the gallery, the first gallery.
    EXPECT_EQ(d.TypeZoom(), 0);
    EXPECT_EQ(d.Zone(), 1);
    EXPECT_EQ(d.ListeGalBox->currentIndex(), 0);
    EXPECT_TRUE(d.ListePointsGroupe->isHidden());
    EXPECT_FALSE(d.ListeGalBox->isHidden());
    // Sorted: "Branche" before "Galerie d'entrée".
    ASSERT_EQ(d.ListeGalBox->count(), 2);
    EXPECT_EQ(S(d.ListeGalBox->itemText(0)), "Branche");
    Choisit(d, 1, 1, "Galerie d'entrée", "3");
  }
  {
    views::TZoomGalPtsDlg d;
    d.init(*c, {});
    EXPECT_EQ(d.TypeZoom(), 1);
    EXPECT_EQ(d.Zone(), 1);
    EXPECT_EQ(S(d.ListeGalBox->currentText()), "Galerie d'entrée");
    EXPECT_FALSE(d.ListePointsGroupe->isHidden());
    // The stations of that gallery, by name.
    std::vector<std::string> points;
    for (int i = 0; i < d.ListePtsBox->count(); ++i) points.push_back(S(d.ListePtsBox->itemText(i)));
    EXPECT_EQ(points.front(), "1");
    EXPECT_EQ(std::count(points.begin(), points.end(), "B1"), 0);
    // Cancel remembers nothing.
    d.FixeTypeZoom(0);
    d.reject();
  }
  {
    // Another cave: the first gallery, the kind and the zone kept.
    views::TZoomGalPtsDlg d;
    d.init(*autre, {});
    EXPECT_EQ(d.TypeZoom(), 1);
    EXPECT_EQ(d.ListeGalBox->currentIndex(), 0);
    // Zone "la cavité": every station of the cave, no gallery list.
    d.FixeZone(0);
    d.ZoneRDGClick();
    EXPECT_TRUE(d.ListeGalBox->isHidden());
    EXPECT_EQ(d.ListePtsBox->count(), autre->ListePoints.Count());
  }
}

TEST_F(ZoomGalPts, LeBoutonDeLaFenetreZoomeOuLaisseLaVue) {
  survey::TCavite* c = Petite();
  c->AjouteGalerie("Vide");
  auto f = views::TFicheGraphique::Cree<views::TFicheVisuGraphique>();
  f->resize(900, 700);
  f->show();
  QApplication::processEvents();
  auto* bouton = Controle<QToolButton>(*f, "ZoomGalPtsBtn");
  ASSERT_TRUE(bouton && bouton->isEnabled());
  // The dialog, when it opens, gets a gallery chosen and OK (or Cancel).
  const auto repond = [](const std::string& galerie, bool ok) {
    QTimer::singleShot(0, [=] {
      auto* d = qobject_cast<views::TZoomGalPtsDlg*>(QApplication::activeModalWidget());
      ASSERT_NE(d, nullptr);
      EXPECT_EQ(S(d->windowTitle()), "Choix de la zone sur laquelle zoomer");
      d->FixeTypeZoom(0);
      d->TypeZommRdgClick();
      d->ListeGalBox->setCurrentIndex(d->ListeGalBox->findText(QString::fromStdString(galerie)));
      if (ok) d->accept();
      else d->reject();
    });
  };
  const views::TParamZoom general = f->VueCourante();
  repond("Vide", true);
  bouton->click();
  EXPECT_EQ(f->VueCourante(), general);
  repond("Branche", false);
  bouton->click();
  EXPECT_EQ(f->VueCourante(), general);
  // "Branche" runs from (20, 0) to (20, 30): the view narrows onto it.
  repond("Branche", true);
  bouton->click();
  const views::TParamZoom z = f->VueCourante();
  EXPECT_LT(z.Hauteur, general.Hauteur);
  foundation::TPointTopo b3 = N.Station(c, "B3")->PtTopo();
  const foundation::TPoint e = foundation::PtTopoVersEcran(b3);
  EXPECT_TRUE(e.X >= 0 && e.X < foundation::Vue().LargeurPaintBox && e.Y >= 0 && e.Y < 60) << e.X << "," << e.Y;
}

TEST_F(DialoguesVues, UnClicSurUneStationDeLaFenetreOuvreSesInformations) {
  survey::TCavite* c = Petite();
  auto f = views::TFicheGraphique::Cree<views::TFicheVisuGraphique>();
  f->resize(900, 700);
  f->AfficherPointEnable = true;
  f->show();
  QApplication::processEvents();
  std::string vu;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<views::TVisuPtDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    vu = S(d->EditDesign->text());
    EXPECT_EQ(MarquesVisu(*f), 1);
    d->accept();
  });
  const foundation::TPoint e = foundation::PtTopoVersEcran(N.Station(c, "B2")->PtTopo());
  Appui(f->BaseDessin, {e.X + 2, e.Y}, Qt::LeftButton);
  EXPECT_EQ(vu, "B2");
  EXPECT_EQ(MarquesVisu(*f), 0);
}

// --- Cave choice ----------------------------------------------------------------------------------

TEST_F(DialoguesVues, ChoixDesCavitesSansLActive) {
  Petite();
  for (const char* nom : {"Zorro", "Aven", "Milieu"}) {
    survey::TCavite* x = N.Cavite(nom);
    N.Visee(x, "E", std::string(nom) + "1", 0, 0, 5);
  }
  N.Regenere();
  N.R().CalculeReseau();
  survey::TReseau& r = N.R();
  r.LaCaviteActive = N.R().UneCavite(1);  // Petite
  const auto liste = [](views::TChoixCavDlg& d) {
    std::string s;
    for (int i = 0; i < d.ListeCavBox->count(); ++i)
      s += (i ? " " : "") + S(d.ListeCavBox->item(i)->text()) +
           (d.ListeCavBox->item(i)->checkState() == Qt::Checked ? "+" : "-");
    return s;
  };
  {
    views::TChoixCavDlg d(r);
    EXPECT_EQ(S(d.windowTitle()), "Choix des cavités à afficher");
    EXPECT_EQ(liste(d), "Aven+ Milieu+ Zorro+");
    // "Aucune" then "Toutes": back as it was; OK changes nothing.
    Controle<QPushButton>(d, "AucunBtn")->click();
    EXPECT_EQ(liste(d), "Aven- Milieu- Zorro-");
    Controle<QPushButton>(d, "TousBtn")->click();
    d.accept();
    EXPECT_FALSE(d.OkModif);
  }
  {
    views::TChoixCavDlg d(r);
    d.ListeCavBox->item(2)->setCheckState(Qt::Unchecked);
    d.accept();
    EXPECT_TRUE(d.OkModif);
  }
  survey::TCavite* zorro = nullptr;
  for (int i = 1; i < r.Cavites.Count(); ++i)
    if (r.UneCavite(i)->NomCavite == "Zorro") zorro = r.UneCavite(i);
  ASSERT_NE(zorro, nullptr);
  EXPECT_FALSE(zorro->Adessiner);
  {
    // Reopened on the same active cave: Zorro still unchecked; Cancel keeps the flags.
    views::TChoixCavDlg d(r);
    EXPECT_EQ(liste(d), "Aven+ Milieu+ Zorro-");
    d.ListeCavBox->item(2)->setCheckState(Qt::Checked);
    d.reject();
    EXPECT_FALSE(d.OkModif);
    EXPECT_FALSE(zorro->Adessiner);
  }
}

// --- Map choice -----------------------------------------------------------------------------------

TEST_F(DialoguesVues, ChoixDUneCarte) {
  const std::vector<std::string> cartes{"IGN 25", "Scan géologique", "Orthophoto"};
  struct Cas {
    bool efface;
    int32_t active, choix;
    int resultat;
    int32_t selectee;
  };
  const Cas cas[] = {
      {false, 1, 2, QDialog::Accepted, 2},
      // The active map again: nothing to change.
      {false, 1, 1, QDialog::Rejected, 1},
      // Deleting the active map is a choice.
      {true, 1, 1, QDialog::Accepted, 1},
      {false, -1, 0, QDialog::Accepted, 0},
      // No map selected: nothing.
      {false, -1, -1, QDialog::Rejected, -1},
      {true, -1, -1, QDialog::Rejected, -1},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(std::to_string(k.efface) + " " + std::to_string(k.active) + " " + std::to_string(k.choix));
    views::TChoixImageDlg d;
    d.Init(k.efface, cartes, k.active);
    EXPECT_EQ(S(d.windowTitle()), k.efface ? "Choix de l'image à effacer" : "Choix de l'image à afficher");
    ASSERT_EQ(d.ImageBox->count(), 3);
    EXPECT_EQ(S(d.ImageBox->itemText(1)), "Scan géologique");
    EXPECT_EQ(d.ImageBox->currentIndex(), k.active);
    EXPECT_EQ(d.ImageSelectee, k.active);
    d.ImageBox->setCurrentIndex(k.choix);
    d.accept();
    EXPECT_EQ(d.result(), k.resultat);
    EXPECT_EQ(d.ImageSelectee, k.selectee);
  }
}

// --- The cave's own pens --------------------------------------------------------------------------

TEST_F(DialoguesVues, TraitsPropresDeLaCavite) {
  survey::TCavite* c = Petite();
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(c);
  ASSERT_NE(annexe, nullptr);
  const auto& m = drawing::Motifs();
  survey::Document().DocumentModifie = false;
  {
    // No own style: the settings' styles; a wider axis stored, the outline left to the settings.
    views::TCouleurCaviteDlg d;
    d.init(*c);
    EXPECT_EQ(S(d.windowTitle()), "Choix du dessin des traits topos de la cavité Petite");
    EXPECT_EQ(S(d.CadreAxeCav->title()), "axe du cheminement");
    EXPECT_EQ(S(d.CadreDimCav->title()), "enveloppe des galeries");
    EXPECT_EQ(d.CadreAxeCav->EpaisseurUD->value(), m.TraitAxeTopo.EpaisseurPlume);
    EXPECT_EQ(S(d.RazAxeBtn->toolTip()), "Rétablit le trait par défaut");
    d.CadreAxeCav->EpaisseurUD->setValue(m.TraitAxeTopo.EpaisseurPlume + 2);
    d.accept();
  }
  ASSERT_TRUE(annexe->MotifAxeCavite);
  EXPECT_EQ(annexe->MotifAxeCavite->EpaisseurPlume, m.TraitAxeTopo.EpaisseurPlume + 2);
  EXPECT_EQ(annexe->MotifAxeCavite->CouleurPlume, m.TraitAxeTopo.CouleurPlume);
  EXPECT_FALSE(annexe->MotifDimCavite);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  // Cancel: nothing changes.
  survey::Document().DocumentModifie = false;
  {
    views::TCouleurCaviteDlg d;
    d.init(*c);
    EXPECT_EQ(d.CadreAxeCav->EpaisseurUD->value(), m.TraitAxeTopo.EpaisseurPlume + 2);
    d.CadreDimCav->EpaisseurUD->setValue(7);
    d.reject();
  }
  EXPECT_FALSE(annexe->MotifDimCavite);
  EXPECT_FALSE(survey::Document().DocumentModifie);
  // OK without change: still nothing to save.
  {
    views::TCouleurCaviteDlg d;
    d.init(*c);
    d.accept();
  }
  EXPECT_FALSE(survey::Document().DocumentModifie);
  // Both styles of the cave's own, both reset: both removed.
  annexe->MotifDimCavite = std::make_unique<drawing::TObjetTrait>();
  annexe->MotifDimCavite->CouleurPlume = 0x00FF00;
  annexe->MotifDimCavite->EpaisseurPlume = 4;
  {
    views::TCouleurCaviteDlg d;
    d.init(*c);
    EXPECT_EQ(d.CadreDimCav->EpaisseurUD->value(), 4);
    Controle<QPushButton>(d, "RazAxeBtn")->click();
    Controle<QPushButton>(d, "RazDimBtn")->click();
    EXPECT_EQ(d.CadreDimCav->EpaisseurUD->value(), m.TraitDimTopo.EpaisseurPlume);
    EXPECT_EQ(S(d.CadreDimCav->title()), "enveloppe des galeries");
    d.accept();
  }
  EXPECT_FALSE(annexe->MotifAxeCavite);
  EXPECT_FALSE(annexe->MotifDimCavite);
  EXPECT_TRUE(survey::Document().DocumentModifie);
}

}  // namespace
