// The coordinate-system frames and the station and surface-point dialogs,
// driven offscreen through their controls; coordinates against PROJ's cs2cs.
#include <gtest/gtest.h>
#include <QPixmap>
#include <QImage>

#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <cmath>
#include <cstdio>

#include "app/commun/contexte_app.h"
#include "app/saisie/cadre_saisie_date.h"
#include "app/saisie/choix_pt_surface_dlg.h"
#include "app/saisie/choix_rattach_dlg.h"
#include "app/saisie/coord_dlg.h"
#include "app/saisie/dialogues_points.h"
#include "app/saisie/enregistrer_point_dlg.h"
#include "app/saisie/liste_suite_obs_dlg.h"
#include "app/saisie/rattach_dialog.h"
#include "app/saisie/saisie_suite_et_obs_dlg.h"
#include "drawing/objet_trait.h"
#include "drawing/symbole.h"
#include "projections/regions.h"
#include "projections/services.h"
#include "survey/galerie.h"
#include "survey/liste_points.h"
#include "survey/parties_reseau.h"
#include "tests/app/saisie_essai.h"
#include "tests/support/garde_contextes.h"
#include "tests/survey/reseau_calcul.h"
#include "views/cadres/cadres_projection.h"

namespace {

using views::TCadreProjectionSimple;
using views::TCadreProjectionWGS;
using views::TCadreSaisieCoord;
using essai::Enfant;
using essai::SurLaFenetreModale;

std::string Sortie(const std::string& commande) {
  std::string r;
  FILE* f = ::popen(commande.c_str(), "r");
  if (!f) return r;
  char tampon[4096];
  size_t n;
  while ((n = std::fread(tampon, 1, sizeof tampon, f)) > 0) r.append(tampon, n);
  ::pclose(f);
  return r;
}

// The catalogue also lists the southern UTM system.
struct Contextes {
  testsupport::GardeContextes contextes;
  essai::Saisie s;
  Contextes() {
    projections::ChargeParamsProj("UTM S", {"", "", projections::LigneUTMHemisphere(true)});
    s.dialogues.Clear();
  }
};

QStringList Zones(QComboBox* b) {
  QStringList l;
  for (int i = 0; i < b->count(); ++i) l << b->itemText(i);
  return l;
}

void Choisit(QComboBox* b, const QString& texte) {
  const int i = b->findText(texte);
  ASSERT_GE(i, 0) << texte.toStdString();
  b->setCurrentIndex(i);
  emit b->activated(i);
}

TEST(CadresProjection, ListeEtZones) {
  Contextes c;
  {
    // An empty system: independent coordinates.
    TCadreProjectionSimple f;
    f.InitCadre("", 0, "LT 93", 0);
    EXPECT_EQ(f.SimpleCoordsRdg->ItemIndex(), 0);
    EXPECT_TRUE(f.GeodPanel->isHidden());
    EXPECT_EQ(f.ProjectActive, "");
    EXPECT_EQ(f.ZoneActive(), -1);
    EXPECT_FALSE(f.Rattache());
    // The list: sorted, no free text, each name once whatever its case.
    EXPECT_FALSE(f.ListeProjectBox->isEditable());
    QStringList noms = Zones(f.ListeProjectBox);
    QStringList tries = noms;
    tries.sort(Qt::CaseInsensitive);
    EXPECT_EQ(noms, tries);
    EXPECT_TRUE(noms.contains("UTM S"));
    EXPECT_EQ(noms.removeDuplicates(), 0);
  }
  {
    TCadreProjectionSimple f;
    f.InitCadre("UTM S", -40, "", 0);
    EXPECT_EQ(f.SimpleCoordsRdg->ItemIndex(), 1);
    EXPECT_FALSE(f.GeodPanel->isHidden());
    EXPECT_EQ(Zones(f.ZoneBox).size(), 60);
    EXPECT_EQ(f.ZoneBox->itemText(0), "1");
    EXPECT_EQ(f.ZoneBox->currentText(), "40");
    EXPECT_EQ(f.ZoneActive(), -40);
    EXPECT_FALSE(f.ZoneBox->isHidden());
    // Zone 1 of the southern system gives -1, as a single-zone system does.
    Choisit(f.ZoneBox, "1");
    EXPECT_EQ(f.ZoneActive(), -1);
    Choisit(f.ListeProjectBox, "LT 93");
    EXPECT_EQ(f.ZoneActive(), -1);
    EXPECT_TRUE(f.ZoneBox->isHidden());
    EXPECT_TRUE(f.ZoneTxt->isHidden());
    EXPECT_FALSE(f.EditProject->text().isEmpty());
  }
  {
    TCadreProjectionSimple f;
    f.InitCadre("UTM", 12, "", 0);
    EXPECT_EQ(f.ZoneActive(), 12);
    Choisit(f.ListeProjectBox, "UTM ED50");
    const QStringList z = Zones(f.ZoneBox);
    ASSERT_EQ(z.size(), 10);
    EXPECT_EQ(z.front(), "29");
    EXPECT_EQ(z.back(), "38");
    EXPECT_EQ(f.ZoneBox->currentText(), "31");
    EXPECT_EQ(f.ZoneActive(), 31);
    EXPECT_EQ(f.ProjectActive, "UTM ED50");
  }
}

TEST(CadresProjection, CadreWGSPiloteLesChamps) {
  Contextes c;
  TCadreSaisieCoord coord;
  TCadreProjectionWGS f;
  f.InitCadre("UTM", 31, "UTM", 31, &coord, "du point saisi : ");
  EXPECT_EQ(f.LabelIndication->text(), "Indiquez le système de coordonnées du point saisi : ");
  EXPECT_EQ(f.ProjReseauEdit->text(), "UTM / 31");
  EXPECT_EQ(f.RdgTypeCoord->ItemIndex(), 1);
  // The network's own system: no system choice, metres.
  EXPECT_TRUE(f.GeodPanel->isHidden());
  EXPECT_TRUE(f.IdReseau());
  EXPECT_EQ(f.ProjectActive, "UTM");
  EXPECT_EQ(f.ZoneActive(), 31);
  EXPECT_FALSE(coord.PanelMetres->isHidden());
  EXPECT_TRUE(coord.PanelAngles->isHidden());
  // Another system, WGS84: latitude and longitude.
  f.RdgTypeCoord->Item(2)->click();
  EXPECT_TRUE(f.Rattache());
  EXPECT_FALSE(f.GeodPanel->isHidden());
  f.SystemRdg->Item(0)->click();
  EXPECT_TRUE(f.EstWGS);
  EXPECT_TRUE(f.GroupProject->isHidden());
  EXPECT_FALSE(coord.PanelAngles->isHidden());
  EXPECT_TRUE(coord.PanelMetres->isHidden());
  // Back to the network's system from WGS84.
  f.RdgTypeCoord->Item(1)->click();
  EXPECT_FALSE(f.EstWGS);
  EXPECT_EQ(f.ProjectActive, "UTM");
  EXPECT_EQ(f.ZoneActive(), 31);
  EXPECT_TRUE(coord.PanelAngles->isHidden());

  // A differing zone selects "autre projection"; "WGS84" selects the angles.
  TCadreSaisieCoord coord2;
  TCadreProjectionWGS g;
  g.InitCadre("WGS84", 0, "LT 93", 0, &coord2, "");
  EXPECT_EQ(g.RdgTypeCoord->ItemIndex(), 2);
  EXPECT_EQ(g.SystemRdg->ItemIndex(), 0);
  EXPECT_EQ(g.ProjectActive, "WGS84");
  EXPECT_FALSE(coord2.PanelAngles->isHidden());
  coord2.EditLong->setText("2.5");
  emit coord2.EditLong->textEdited("2.5");
  coord2.OERdg->Item(0)->click();
  EXPECT_DOUBLE_EQ(coord2.ValResultLong(), -2.5);
  coord2.OERdg->Item(1)->click();
  EXPECT_DOUBLE_EQ(coord2.ValResultLong(), 2.5);
}

TEST(CadresProjection, SexagesimalRelu) {
  Contextes c;
  struct Cas {
    std::string texte;
    double degres;
  };
  const Cas lus[] = {
      {"2° 20' 5\"", 2 + 20 / 60.0 + 5 / 3600.0},
      {"2° 20' 14.025\"", 2 + 20 / 60.0 + 14.025 / 3600.0},
      {"  45°  0'  0.0000\"", 45},
      {"°'\"", 0},
      {"12", 12},
  };
  for (const Cas& k : lus) EXPECT_NEAR(views::TexteDMSVersDegres(k.texte), k.degres, 1e-12) << k.texte;
  EXPECT_EQ(views::DegresVersTexteDMS(2 + 20 / 60.0 + 14.025 / 3600.0), "2° 20' 14.0250\"");
  // Every text shown reads back within half a ten-thousandth of a second and
  // is shown again unchanged; no 60 seconds.
  for (double x : {0.0, 1e-9, 2.3372291667, 45.999999999, 59.99999, 179.123456789, 89.5, 3.0 - 1e-12}) {
    const std::string t = views::DegresVersTexteDMS(x);
    const double relu = views::TexteDMSVersDegres(t);
    EXPECT_LE(std::abs(relu - x) * 3600, 0.5e-4 + 1e-9) << t;
    EXPECT_EQ(views::DegresVersTexteDMS(relu), t);
    EXPECT_EQ(t.find(" 60."), std::string::npos) << t;
  }
  // Through the frame: typed in sexagesimal, shown in decimal and back.
  TCadreSaisieCoord coord;
  coord.FormatWGSRdg->Item(1)->click();
  coord.EditLat->setText("43° 12' 5\"");
  emit coord.EditLat->textEdited(coord.EditLat->text());
  EXPECT_NEAR(coord.ValLat, 43 + 12 / 60.0 + 5 / 3600.0, 1e-12);
  coord.FormatWGSRdg->Item(0)->click();
  EXPECT_EQ(coord.EditLat->text(), "43.20138889");
  coord.OERdg->Item(0)->click();
  coord.FormatWGSRdg->Item(1)->click();
  EXPECT_EQ(coord.EditLat->text(), "43° 12' 5.0000\"");
}

// --- Coordinates dialog ------------------------------------------------------------------------

struct ReseauLT93 {
  Contextes c;
  testsurvey::ReseauCalcul n;
  ReseauLT93() {
    n.R().Projection = "LT 93";
    n.R().NumFuseau = 0;
    survey::Document().ReseauCourant = &n.R();
  }
};

// Two numbers printed by cs2cs for a line of input.
bool Cs2cs(const std::string& entree, const std::string& de, const std::string& vers, double& a, double& b) {
  const std::string s = Sortie("echo '" + entree + "' | cs2cs -f %.6f " + de + " +to " + vers);
  return std::sscanf(s.c_str(), "%lf %lf", &a, &b) == 2;
}

// The catalogue's own definitions as PROJ strings.
const std::string Wgs84 = "+proj=longlat +datum=WGS84";
const std::string Lt93 =
    "+proj=lcc +lat_0=46.5 +lon_0=3 +lat_1=44 +lat_2=49 +x_0=700000 +y_0=6600000 +ellps=GRS80 +towgs84=0,0,0 "
    "+units=m";
const std::string Lt2Etendu =
    "+proj=lcc +lat_1=46.8 +lat_0=46.8 +lon_0=0 +k_0=0.99987742 +x_0=600000 +y_0=2200000 "
    "+pm=2.337229166667 +a=6378249.2 +rf=293.4660212936269 +towgs84=-168,-60,320 +units=m";

TEST(CoordDlg, WGS84VersLambert93ContreCs2cs) {
  ReseauLT93 r;
  if (Sortie("command -v cs2cs").empty()) GTEST_SKIP() << "cs2cs absent";
  struct Cas {
    const char* lat;
    const char* lon;
    bool deci, sud, ouest;
    double latDeg, lonDeg;
  };
  const Cas cas[] = {
      {"44.12345678", "1.5", true, false, true, 44.12345678, -1.5},
      {"44° 30' 12.5\"", "3° 10' 2.25\"", false, false, false, 44 + 30 / 60.0 + 12.5 / 3600, 3 + 10 / 60.0 + 2.25 / 3600},
      // The south and far west are still a conversion of the same system.
      {"1.25", "10.5", true, true, true, -1.25, -10.5},
  };
  for (const Cas& k : cas) {
    app::TCoordDlg d;
    ASSERT_FALSE(d.CadreProjection->isHidden());
    d.EditNom->setText("E9");
    d.CadreProjection->RdgTypeCoord->Item(2)->click();
    d.CadreProjection->SystemRdg->Item(0)->click();
    ASSERT_FALSE(d.CadreCoord->PanelAngles->isHidden());
    d.CadreCoord->FormatWGSRdg->Item(k.deci ? 0 : 1)->click();
    d.CadreCoord->EditLat->setText(k.lat);
    d.CadreCoord->EditLong->setText(k.lon);
    d.CadreCoord->NSRdg->Item(k.sud ? 1 : 0)->click();
    d.CadreCoord->OERdg->Item(k.ouest ? 0 : 1)->click();
    d.CadreCoord->EditZWGS->setText("512.5");
    survey::TPointSpeleo p;
    ASSERT_TRUE(d.Transfere(p)) << k.lat;
    double x = 0, y = 0;
    char entree[128];
    std::snprintf(entree, sizeof entree, "%.12f %.12f", k.lonDeg, k.latDeg);
    ASSERT_TRUE(Cs2cs(entree, Wgs84, Lt93, x, y));
    EXPECT_NEAR(p.X, x, 1e-3) << k.lat;
    EXPECT_NEAR(p.Y, y, 1e-3) << k.lat;
    EXPECT_DOUBLE_EQ(p.Z, 512.5);
    EXPECT_EQ(p.DesignPTopo, "E9");
    EXPECT_EQ(p.TypePoint, survey::PointSurface);
  }
}

TEST(CoordDlg, AutreSystemeEtKilometres) {
  ReseauLT93 r;
  {
    // 12.5 Km in the network's own system: 12500 m, nothing converted.
    app::TCoordDlg d;
    d.CadreProjection->RdgTypeCoord->Item(1)->click();
    d.CadreCoord->UniteGroup->Item(0)->click();
    d.CadreCoord->EditX->setText("12.5");
    d.CadreCoord->EditY->setText("6400.25");
    d.CadreCoord->EditZ->setText("100");
    survey::TPointSpeleo p;
    ASSERT_TRUE(d.Transfere(p));
    EXPECT_DOUBLE_EQ(p.X, 12500);
    EXPECT_DOUBLE_EQ(p.Y, 6400250);
    EXPECT_DOUBLE_EQ(p.Z, 100);
    EXPECT_EQ(app::ContexteApp().Coordonnees.Unite, 0);
  }
  if (Sortie("command -v cs2cs").empty()) GTEST_SKIP() << "cs2cs absent";
  {
    // A point in Lambert II étendu, in kilometres.
    app::TCoordDlg d;
    d.CadreProjection->RdgTypeCoord->Item(2)->click();
    d.CadreProjection->SystemRdg->Item(1)->click();
    Choisit(d.CadreProjection->ListeProjectBox, "LT 2+");
    EXPECT_EQ(d.CadreProjection->ProjectActive, "LT 2+");
    d.CadreCoord->UniteGroup->Item(0)->click();
    d.CadreCoord->EditX->setText("843.2105");
    d.CadreCoord->EditY->setText("1920.13525");
    survey::TPointSpeleo p;
    ASSERT_TRUE(d.Transfere(p));
    d.accept();
    double x = 0, y = 0;
    ASSERT_TRUE(Cs2cs("843210.5 1920135.25", Lt2Etendu, Lt93, x, y));
    EXPECT_NEAR(p.X, x, 1e-3);
    EXPECT_NEAR(p.Y, y, 1e-3);
  }
  {
    // OK remembered the system: the next point starts in it.
    app::TCoordDlg d;
    EXPECT_EQ(d.CadreProjection->RdgTypeCoord->ItemIndex(), 2);
    EXPECT_EQ(d.CadreProjection->ProjectActive, "LT 2+");
    EXPECT_EQ(d.CadreCoord->UniteGroup->ItemIndex(), 0);
  }
}

TEST(CoordDlg, ConversionImpossibleNeChangeRien) {
  ReseauLT93 r;
  // The document's system is not in the catalogue.
  r.n.R().Projection = "Inconnue";
  app::TCoordDlg d;
  d.CadreProjection->RdgTypeCoord->Item(2)->click();
  d.CadreProjection->SystemRdg->Item(1)->click();
  Choisit(d.CadreProjection->ListeProjectBox, "LT 93");
  d.EditNom->setText("E2");
  d.CadreCoord->EditX->setText("1000");
  d.CadreCoord->EditY->setText("2000");
  survey::TPointSpeleo p;
  p.DesignPTopo = "avant";
  p.X = 7;
  ASSERT_FALSE(d.Transfere(p));
  EXPECT_EQ(p.DesignPTopo, "avant");
  EXPECT_EQ(p.X, 7);
  const auto m = r.c.s.dialogues.Messages();
  ASSERT_EQ(m.size(), 1u);
  EXPECT_NE(m[0].find("LT 93"), std::string::npos) << m[0];
  // Through the port: the dialog stays open on OK; the list is unchanged.
  app::InstalleDialoguesPoints();
  survey::TListedePoints& surface = *r.n.R().LesPointsSurface();
  const int avant = surface.Count();
  SurLaFenetreModale([](QDialog& dlg) {
    auto& cd = static_cast<app::TCoordDlg&>(dlg);
    cd.CadreProjection->RdgTypeCoord->Item(2)->click();
    cd.CadreProjection->SystemRdg->Item(1)->click();
    Choisit(cd.CadreProjection->ListeProjectBox, "LT 93");
    cd.EditNom->setText("E3");
    cd.OKBtn->click();
    EXPECT_TRUE(dlg.isVisible());
    dlg.reject();
  });
  EXPECT_EQ(survey::TPointsSurface(surface).AjoutePoint(), nullptr);
  EXPECT_EQ(surface.Count(), avant);
}

TEST(CoordDlg, SansProjectionEtRectification) {
  Contextes c;
  testsurvey::ReseauCalcul n;
  survey::Document().ReseauCourant = &n.R();
  survey::TPointSpeleo p;
  p.DesignPTopo = "E1";
  p.X = 1234.5;
  p.Y = 99;
  p.Z = -3.25;
  p.Commentaire = {"ligne 1", "ligne 2"};
  survey::Affichage().DecimalesCoord = 2;
  app::TCoordDlg d;
  EXPECT_TRUE(d.CadreProjection->isHidden());
  d.InitRectif(p);
  EXPECT_EQ(d.CadreCoord->EditX->text(), "1234.50");
  EXPECT_EQ(d.CadreCoord->EditZ->text(), "-3.25");
  EXPECT_EQ(d.CadreCoord->UniteGroup->ItemIndex(), 1);
  survey::TPointSpeleo q;
  ASSERT_TRUE(d.Transfere(q));
  EXPECT_EQ(q.DesignPTopo, "E1");
  EXPECT_DOUBLE_EQ(q.X, 1234.5);
  EXPECT_DOUBLE_EQ(q.Z, -3.25);
  EXPECT_EQ(q.Commentaire, p.Commentaire);
  EXPECT_TRUE(survey::Document().DocumentModifie);
}

// A library that holds one surface symbol: a filled square.
class BibliothequeUnSymbole : public survey::TPartieReseau {
 public:
  BibliothequeUnSymbole() {
    drawing::TObjetTrait style;
    style.EpaisseurPlume = 1;
    style.CouleurPlume = style.CouleurPinceau = 0;
    style.NumMotif = 0;
    drawing::TDefinitForme forme;
    const foundation::TPoint points[] = {{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    forme.nbPts = 4;
    for (int i = 0; i < 4; ++i) forme.Pts[i] = points[i];
    symbole.AjouteDefElement(forme, 0, &style, 0);
    symbole.PtBase = foundation::PtTopoXY(0, 0);
    symbole.PtExtrem = foundation::PtTopoXY(100, 0);
  }
  bool Ecrit(foundation::TFlux&) override { return true; }
  bool Lit(foundation::TFlux&) override { return true; }
  survey::TMotifDocument* SymboleSurface(int32_t position) const override {
    return position == 0 ? const_cast<drawing::TSymbSurface*>(&symbole) : nullptr;
  }
  drawing::TSymbSurface symbole;
};

TEST(CoordDlg, ApercuDuSymboleChoisi) {
  Contextes c;
  testsurvey::ReseauCalcul n;
  survey::Document().ReseauCourant = &n.R();
  n.R().Parties[static_cast<size_t>(survey::TGenrePartie::BibliothequeMotifs)] =
      std::make_unique<BibliothequeUnSymbole>();
  app::TCoordDlg d;
  ASSERT_EQ(d.NatureBox->count(), 2);
  // "indéterminé": no preview.
  EXPECT_TRUE(d.VisuSymbole->pixmap().isNull());
  // The symbol: its drawing on a white preview.
  d.NatureBox->setCurrentIndex(1);
  const QImage image = d.VisuSymbole->pixmap().toImage();
  ASSERT_FALSE(image.isNull());
  int encre = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128) ++encre;
  EXPECT_GT(encre, 0);
  // A correction shows the point's symbol; back to "indéterminé" the preview goes.
  d.NatureBox->setCurrentIndex(0);
  EXPECT_TRUE(d.VisuSymbole->pixmap().isNull());
  survey::TPointSpeleo p;
  p.DesignPTopo = "E1";
  p.CategorieSurface = n.R().Partie(survey::TGenrePartie::BibliothequeMotifs).SymboleSurface(0);
  d.InitRectif(p);
  EXPECT_EQ(d.NatureBox->currentIndex(), 1);
  EXPECT_FALSE(d.VisuSymbole->pixmap().isNull());
}

// --- Gallery continuation and attachment choices -------------------------------------------------

TEST(RattachDialog, ChoixEtAnnexes) {
  Contextes c;
  survey::TPointSpeleo a, b, d;
  a.DesignPTopo = "4";
  b.DesignPTopo = "5";
  d.DesignPTopo = "6";
  b.Annexe = 1;
  d.Annexe = 0;
  a.Annexe = 1;
  {
    app::TRattachDialog dlg;
    dlg.Init("  Galerie  ", "3", {&a, &b, &d});
    EXPECT_EQ(dlg.windowTitle(), "Rattachement au point 3");
    EXPECT_EQ(dlg.LabelGalerie->text(), "Galerie");
    EXPECT_EQ(dlg.LabelTexte->text(), "Il y a déjà au moins un point rattaché à ce point");
    EXPECT_EQ(dlg.PointsRdg->Item(2)->text(), "Point 5");
    EXPECT_EQ(dlg.Choix(), -1);
    dlg.Transfere();
    EXPECT_EQ(a.Annexe + b.Annexe + d.Annexe, 3);
    dlg.PointsRdg->Item(2)->click();
    dlg.Transfere();
    EXPECT_EQ(b.Annexe, 0);
    EXPECT_EQ(a.Annexe + d.Annexe, 2);
  }
  {
    survey::Document().RectifEnCours = true;
    app::TRattachDialog dlg;
    dlg.Init("G", "3", {&a, &b, &d});
    EXPECT_EQ(dlg.LabelTexte->text(),
              "rectification - vous pouvez modifier le point qui constitue la suite de la galerie");
    EXPECT_EQ(dlg.Choix(), 1);
    survey::Document().RectifEnCours = false;
  }
  // Through the port the gallery code calls: its caption, the correction
  // preselecting the point on the main line, the index chosen.
  survey::GardePortsSurvey ports;
  app::InstalleDialoguesPoints();
  survey::TDemandeSuiteGalerie demande;
  demande.Titre = "Rattachement au point 3";
  demande.NomGalerie = "G";
  demande.Points = {&a, &b, &d};
  demande.Rectification = true;
  b.Annexe = 1;
  d.Annexe = 0;
  SurLaFenetreModale([](QDialog& dlg) {
    EXPECT_EQ(dlg.windowTitle(), "Rattachement au point 3");
    EXPECT_EQ(static_cast<app::TRattachDialog&>(dlg).Choix(), 2);
    static_cast<app::TRattachDialog&>(dlg).PointsRdg->Item(1)->click();
    dlg.accept();
  });
  EXPECT_EQ(survey::Ports().DialogueSuiteGalerie(demande), std::optional<int>(0));
  EXPECT_FALSE(survey::Document().RectifEnCours);
  SurLaFenetreModale([](QDialog& dlg) { dlg.reject(); });
  EXPECT_EQ(survey::Ports().DialogueSuiteGalerie(demande), std::nullopt);
}

TEST(ChoixRattachDlg, ParDistanceEtSurface) {
  Contextes c;
  testsurvey::ReseauCalcul n;
  n.Surface("E1", 0, 0, 0);
  n.Surface("E2", 3, 0, 0);
  survey::TCavite* cav = n.Cavite("Grotte");
  n.Visee(cav, "E1", "1", 90, 0, 10);  // 1 at (10, 0)
  n.Visee(cav, "1", "2", 0, 0, 4);     // 2 at (10, 4)
  n.Visee(cav, "1", "3", 180, 0, 4);   // 3 at (10, -4): as far as 2 from 1
  n.Regenere();
  survey::TPointSpeleo* p1 = n.Point(cav, "1");
  {
    app::TChoixRattachDlg d(cav, "", p1, false);
    EXPECT_EQ(d.windowTitle(), "Choix d'un point de rattachement");
    QStringList noms;
    for (int i = 0; i < d.ListePoints->count(); ++i) noms << d.ListePoints->item(i)->text();
    // Equal distances keep the list's order; the reference is not offered,
    // nor are surface points unless allowed.
    EXPECT_EQ(noms, (QStringList{"2", "3"}));
    EXPECT_EQ(d.ListePoints->currentRow(), 0);
    EXPECT_TRUE(d.LabelNouveau->isHidden());
    EXPECT_EQ(d.LabelGalerie->text(), "Galerie du point : Galerie d'entrée");
  }
  {
    app::TChoixRattachDlg d(cav, "Choix du point de bouclage", p1, true);
    EXPECT_EQ(d.windowTitle(), "Choix du point de bouclage");
    QStringList noms;
    for (int i = 0; i < d.ListePoints->count(); ++i) noms << d.ListePoints->item(i)->text();
    EXPECT_EQ(noms, (QStringList{"2", "3", "E2", "E1"}));
    SurLaFenetreModale([](QDialog& dlg) {
      static_cast<app::TChoixRattachDlg&>(dlg).ListePoints->setCurrentRow(2);
      dlg.accept();
    });
    EXPECT_EQ(d.Execute(), n.Surface("E2"));
  }
  {
    // No candidate.
    testsurvey::ReseauCalcul vide;
    survey::TCavite* seule = vide.Cavite("Vide");
    app::TChoixRattachDlg d(seule, "", nullptr, false);
    EXPECT_EQ(d.Execute(), nullptr);
    EXPECT_EQ(c.s.dialogues.Messages(), (std::vector<std::string>{"il n'y a aucun point"}));
  }
}

// --- Surface-point choice --------------------------------------------------------------------------

TEST(ChoisitPointSurface, ChoixTriEtCreation) {
  Contextes c;
  testsurvey::ReseauCalcul n;
  survey::TCavite* cav = n.Cavite("Grotte");
  survey::GardePortsSurvey ports;
  int creations = 0;
  survey::Ports().DialogueCoordonnees = [&](survey::TPointSpeleo& p, const std::string&) {
    ++creations;
    p.DesignPTopo = "E" + std::to_string(10 + creations);
    return true;
  };
  // No surface point: the creation runs at once and the surface cave knows it.
  survey::TPointSpeleo* p = app::ChoisitPointSurface(nullptr, *cav, nullptr);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(creations, 1);
  EXPECT_EQ(p->DesignPTopo, "E11");
  EXPECT_EQ(n.R().Cavites.First()->ListePoints.IndexOf(p), 0);

  n.Surface("c");
  n.Surface("B");
  survey::TPointSpeleo* e9 = n.Surface("D");
  {
    survey::TListedePoints& surface = *n.R().LesPointsSurface();
    app::TChoixPtSurfaceDlg d(surface, e9, nullptr);
    QStringList noms;
    for (int i = 0; i < d.ListePoints->count(); ++i) noms << d.ListePoints->item(i)->text();
    // Upper-cased names compared as station names.
    EXPECT_EQ(noms, (QStringList{"B", "c", "D", "E11"}));
    EXPECT_EQ(d.ListePoints->currentItem()->text(), "D");
    app::TChoixPtSurfaceDlg sans(surface, nullptr, nullptr);
    EXPECT_EQ(sans.ListePoints->currentItem()->text(), "E11");
  }
  SurLaFenetreModale([](QDialog& dlg) { Enfant<QPushButton>(dlg, "NouveauBtn")->click(); });
  survey::TPointSpeleo* nouveau = app::ChoisitPointSurface(nullptr, *cav, e9);
  ASSERT_NE(nouveau, nullptr);
  EXPECT_EQ(nouveau->DesignPTopo, "E12");
  EXPECT_GE(n.R().Cavites.First()->ListePoints.IndexOf(nouveau), 0);
  SurLaFenetreModale([](QDialog& dlg) { dlg.reject(); });
  EXPECT_EQ(app::ChoisitPointSurface(nullptr, *cav, e9), nullptr);
  SurLaFenetreModale([](QDialog& dlg) { dlg.accept(); });
  EXPECT_EQ(app::ChoisitPointSurface(nullptr, *cav, e9), e9);
}

// --- Continuation observations --------------------------------------------------------------------

TEST(ListeSuiteObs, PremiereObservationEtListe) {
  Contextes c;
  survey::TPointSpeleo p;
  p.DesignPTopo = "7";
  survey::Document().NomGalerieCourante = "Amont";
  survey::TLever lever;
  lever.LaDate = essai::Date(2020, 5, 3);
  lever.Operateurs.push_back(c.s.Operateur("Martel"));
  int appels = 0;
  {
    // Cancel on the first observation: nothing shown, nothing changed.
    app::TListeSuiteObsDlg d(&lever, p.SuiteObs, &p);
    d.ExecuteObservation = [&](app::TSaisieSuiteEtObsDlg&) {
      ++appels;
      return false;
    };
    d.Demarre();
    EXPECT_TRUE(d.Termine);
    EXPECT_EQ(appels, 1);
    EXPECT_EQ(p.SuiteObs.Count(), 0);
  }
  {
    app::TListeSuiteObsDlg d(&lever, p.SuiteObs, &p);
    EXPECT_EQ(d.windowTitle(), "Saisie des suites possibles au point 7 de la galerie Amont");
    d.ExecuteObservation = [&](app::TSaisieSuiteEtObsDlg& o) {
      // The trip's date and operators; the kind chosen here.
      EXPECT_EQ(o.CadreDate->DateSaisie(), lever.LaDate);
      EXPECT_TRUE(o.TypeSuiteBox->isEnabled());
      o.TypeSuiteBox->setCurrentIndex(2);
      o.EtatBox->setCurrentIndex(1);
      o.MemoCommentaires->setPlainText("vu en crue");
      return true;
    };
    d.Demarre();
    EXPECT_FALSE(d.Termine);
    ASSERT_EQ(d.SuiteObs.Count(), 1);
    EXPECT_EQ(d.SuiteObs.SuitePossible, survey::TSuitePossible::spPuits);
    EXPECT_EQ(d.ListeObs->topLevelItem(0)->text(0), "03/05/2020");
    EXPECT_EQ(d.ListeObs->topLevelItem(0)->text(1), "A revoir");
    EXPECT_EQ(d.ListeObs->topLevelItem(0)->text(2), "Martel ");
    // Later the kind is fixed in the observation dialog.
    d.ExecuteObservation = [&](app::TSaisieSuiteEtObsDlg& o) {
      EXPECT_FALSE(o.TypeSuiteBox->isEnabled());
      EXPECT_EQ(o.TypeSuiteBox->currentIndex(), 2);
      o.CadreDate->FixeDateSaisie(essai::Date(2019, 1, 2));
      return true;
    };
    d.AjouteLigne();
    ASSERT_EQ(d.SuiteObs.Count(), 2);
    // Sorted by date.
    EXPECT_EQ(d.ListeObs->topLevelItem(0)->text(0), "02/01/2019");
    // An edit changes the observation in place.
    d.ListeObs->setCurrentItem(d.ListeObs->topLevelItem(1));
    d.ExecuteObservation = [&](app::TSaisieSuiteEtObsDlg& o) {
      EXPECT_EQ(o.MemoCommentaires->toPlainText(), "vu en crue");
      o.EtatBox->setCurrentIndex(3);
      return true;
    };
    d.EditeLigne();
    ASSERT_EQ(d.SuiteObs.Count(), 2);
    EXPECT_EQ(d.ListeObs->topLevelItem(1)->text(1), "Terminé");
    // Entering or clicking the list with nothing selected selects the last line.
    d.ListeObs->setCurrentItem(nullptr);
    QFocusEvent entree(QEvent::FocusIn);
    QCoreApplication::sendEvent(d.ListeObs, &entree);
    EXPECT_EQ(d.ListeObs->currentItem(), d.ListeObs->topLevelItem(1));
    d.ListeObs->setCurrentItem(nullptr);
    QMouseEvent clic(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(d.ListeObs->viewport(), &clic);
    EXPECT_NE(d.ListeObs->currentItem(), nullptr);
    // The kind changes only in the list's choice.
    Choisit(d.NatureBox, "Escalade");
    EXPECT_EQ(p.SuiteObs.Count(), 0);
    d.OKBtn->click();
    EXPECT_EQ(p.SuiteObs.Count(), 2);
    EXPECT_EQ(p.SuiteObs.SuitePossible, survey::TSuitePossible::spEscalad);
  }
  {
    // Deleting every line closes with OK and keeps the kind.
    app::TListeSuiteObsDlg d(&lever, p.SuiteObs, &p);
    EXPECT_FALSE(d.Nouveau);
    for (int i = 0; i < 2; ++i) {
      d.ListeObs->setCurrentItem(d.ListeObs->topLevelItem(0));
      c.s.dialogues.QueueAnswer(platform::Answer::Yes);
      d.SupprimeLigne();
    }
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(p.SuiteObs.Count(), 0);
    EXPECT_EQ(p.SuiteObs.SuitePossible, survey::TSuitePossible::spEscalad);
  }
  {
    // View only.
    app::TListeSuiteObsDlg d(nullptr, p.SuiteObs, &p, true);
    EXPECT_TRUE(d.windowTitle().startsWith("Visualisation des suites possibles au point 7"));
    EXPECT_TRUE(d.OKBtn->isHidden());
    EXPECT_FALSE(d.NatureBox->isEnabled());
  }
  {
    // Under correction (or the default trip), today's date.
    survey::Document().RectifEnCours = true;
    app::TSaisieSuiteEtObsDlg o(&lever);
    EXPECT_EQ(o.CadreDate->DateSaisie(), foundation::Aujourdhui());
  }
}

}  // namespace

// --- Clicked point -----------------------------------------------------------------------------

namespace {

// The plan window as the dialog sees it.
struct FenetreEssai : app::FenetrePlanPoints {
  bool visible = false;
  std::vector<int> marques;
  int suivante = 0;
  int dessins = 0;
  QPoint ecran{400, 300};
  bool CouchePointsVisible() const override { return visible; }
  void MontreCouchePoints(bool v) override { visible = v; }
  int AjouteMarque(const foundation::TPointTopo&) override {
    marques.push_back(suivante);
    return suivante++;
  }
  void RetireMarque(int m) override { std::erase(marques, m); }
  void Redessine() override { ++dessins; }
  QPoint PositionEcran(const foundation::TPointTopo&) const override { return ecran; }
};

TEST(DlgEnregistrerPoint, NomsMarqueEtAjout) {
  Contextes c;
  testsurvey::ReseauCalcul n;
  survey::Document().ReseauCourant = &n.R();
  survey::Document().NomFichierCourant = "/tmp/a.gtx";
  n.Surface("E1");
  n.Surface("E2");
  FenetreEssai f;
  const foundation::TPointTopo pt = foundation::PtTopoXY(843210.46, 6420135.21);
  {
    app::TDlgEnregistrerPoint d(f, pt);
    EXPECT_EQ(d.windowTitle(), "Coordonnées du point cliqué");
    EXPECT_EQ(d.EditNom->text(), "Points de Surface 3");
    EXPECT_EQ(d.EditX->text(), "843210.5");
    EXPECT_EQ(d.EditY->text(), "6420135.2");
    EXPECT_TRUE(f.visible);
    EXPECT_EQ(f.marques.size(), 1u);
    // Something else added to the layer meanwhile stays when the dialog goes.
    f.AjouteMarque(pt);
    d.EditNom->setText("P7");
    d.EditZ->setText("512.25");
    Enfant<QPushButton>(d, "RajouteBtn")->click();
    EXPECT_TRUE(d.SurfAjoute);
    EXPECT_FALSE(d.RajouteBtn->isEnabled());
    EXPECT_EQ(d.result(), QDialog::Accepted);
  }
  EXPECT_FALSE(f.visible);
  EXPECT_EQ(f.marques, (std::vector<int>{1}));
  survey::TPointSpeleo* p = n.R().LesPointsSurface()->Last();
  EXPECT_EQ(p->DesignPTopo, "P7");
  EXPECT_DOUBLE_EQ(p->X, 843210.46);
  EXPECT_DOUBLE_EQ(p->Z, 512.25);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  {
    // The next name follows the one recorded; the dialog near the point, or
    // moved right and down when it would start too close to the edge.
    f.visible = true;
    f.ecran = QPoint(10, 20);
    app::TDlgEnregistrerPoint d(f, pt);
    EXPECT_EQ(d.EditNom->text(), "P8");
    EXPECT_EQ(d.pos(), QPoint(110, 120));
  }
  EXPECT_TRUE(f.visible);
  {
    // Another document: back to the count rule.
    survey::Document().NomFichierCourant = "/tmp/b.gtx";
    app::TDlgEnregistrerPoint d(f, pt);
    EXPECT_EQ(d.EditNom->text(), "Points de Surface 4");
  }
}

}  // namespace
