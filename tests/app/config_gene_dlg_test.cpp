// The settings dialog driven through its controls.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QApplication>
#include <QMouseEvent>

#include "app/commun/config_generale.h"
#include "app/document/config_gene_dlg.h"
#include "drawing/objet_trait.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "survey/ports_survey.h"
#include "tests/support/dossier_temp.h"
#include "tests/support/garde_contextes.h"
#include "views/motifs/cadre_couleur.h"
#include "views/motifs/cadres_traits.h"

using namespace app;

namespace {

struct Gardes {
  testsupport::GardeContextes contextes;
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs gardeDialogues{dialogues};
};

template <class T>
T* Controle(QWidget& w, const char* nom) {
  T* t = w.findChild<T*>(QString::fromLatin1(nom));
  EXPECT_NE(t, nullptr) << nom;
  return t;
}

// The position (0 to 2) shown by an input-order group.
int Position(QWidget& d, const char* groupe) {
  for (int p = 0; p < 3; ++p)
    if (Controle<QRadioButton>(d, (std::string(groupe) + std::to_string(p)).c_str())->isChecked()) return p;
  return -1;
}

void CliqueSouris(QWidget* w) {
  const QPointF centre(w->width() / 2.0, w->height() / 2.0);
  QMouseEvent appui(QEvent::MouseButtonPress, centre, w->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QMouseEvent relache(QEvent::MouseButtonRelease, centre, w->mapToGlobal(centre), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &appui);
  QApplication::sendEvent(w, &relache);
}

}  // namespace

TEST(ConfigGeneDlg, SansFichierDeReglagesAfficheLesValeursIntegrees) {
  Gardes g;
  testsupport::DossierTemp dossier;
  Config() = ConfigGenerale();
  LitConfigGenerale(dossier.Fichier("absent.ini"));
  TConfigGeneDlg d;
  d.show();
  EXPECT_EQ(d.windowTitle(), "Configuration du logiciel");
  EXPECT_EQ(Position(d, "RdgAzim"), 0);
  EXPECT_EQ(Position(d, "RdgPente"), 1);
  EXPECT_EQ(Position(d, "RdgLong"), 2);
  EXPECT_EQ(Controle<QRadioButton>(d, "RdgAzim0")->text(), "1");
  EXPECT_EQ(Controle<QSpinBox>(d, "UDDeci")->value(), 1);
  EXPECT_EQ(Controle<QLineEdit>(d, "EditFichierMtf")->text(), "Aucun fichier utilisé");
  EXPECT_FALSE(Controle<QPushButton>(d, "AucunFichBtn")->isVisible());
  EXPECT_EQ(Controle<views::TCadreCouleur>(d, "CouleurFiligr")->Couleur(), 0xC0C0C0u);
  EXPECT_EQ(Controle<QComboBox>(d, "ContinentBox")->currentText(), "France");
  EXPECT_EQ(Controle<QComboBox>(d, "ContinentBox")->count(), 10);
  EXPECT_TRUE(Controle<QCheckBox>(d, "DecliAutoChk")->isChecked());
  EXPECT_FALSE(Controle<QCheckBox>(d, "TopoFilChk")->isChecked());
  EXPECT_TRUE(Controle<QRadioButton>(d, "MoletteRdg0")->isChecked());
  EXPECT_TRUE(Controle<QCheckBox>(d, "PourTousChk")->isChecked());
}

TEST(ConfigGeneDlg, OrdreDeSaisieEtValidation) {
  Gardes g;
  Config() = ConfigGenerale();
  survey::Affichage().DecimalesCoord = 1;
  TConfigGeneDlg d;
  d.show();
  // The slope to position 1 while the azimuth holds it: the azimuth goes to 2.
  Controle<QRadioButton>(d, "RdgPente0")->click();
  EXPECT_EQ(Position(d, "RdgAzim"), 1);
  EXPECT_EQ(Position(d, "RdgPente"), 0);
  EXPECT_EQ(Position(d, "RdgLong"), 2);
  // The length to position 2: the azimuth takes the free position 3.
  Controle<QRadioButton>(d, "RdgLong1")->click();
  EXPECT_EQ(Position(d, "RdgAzim"), 2);
  Controle<QSpinBox>(d, "UDDeci")->setValue(3);
  Controle<QCheckBox>(d, "TopoFilChk")->setChecked(true);
  Controle<QRadioButton>(d, "MoletteRdg1")->setChecked(true);
  Controle<QComboBox>(d, "ContinentBox")->setCurrentText("Europe");
  // A pattern file chosen through a click on the edit.
  g.dialogues.QueueFile("/motifs/mes motifs.mtf");
  CliqueSouris(Controle<QLineEdit>(d, "EditFichierMtf"));
  EXPECT_EQ(Controle<QLineEdit>(d, "EditFichierMtf")->text(), "/motifs/mes motifs.mtf");
  EXPECT_TRUE(Controle<QPushButton>(d, "AucunFichBtn")->isVisible());
  EXPECT_EQ(g.dialogues.Log().back().options.Filter, "fichiers de motifs et fontes (*.mtf)|*.mtf");

  int region = -1;
  ServicesConfig sauve = Services();
  Services().ChangeListeProjections = [&](int32_t r) { region = r; };
  Controle<QPushButton>(d, "OKBtn")->click();
  Services() = sauve;
  const ConfigGenerale& c = Config();
  EXPECT_EQ(c.PosAzimut, 2);
  EXPECT_EQ(c.PosPente, 0);
  EXPECT_EQ(c.PosLongueur, 1);
  EXPECT_EQ(c.OrdreSaisie, (std::array<int32_t, 3>{1, 2, 0}));
  EXPECT_EQ(survey::Affichage().DecimalesCoord, 3);
  EXPECT_TRUE(c.SaisieTopofil);
  EXPECT_TRUE(c.SensMolette);
  EXPECT_EQ(c.RegionProjections, 6);
  EXPECT_EQ(region, 6);
  EXPECT_EQ(c.FichierMotifsDefaut, "/motifs/mes motifs.mtf");
}

TEST(ConfigGeneDlg, AnnulerNeChangeRienEtAucunFichierVideLeNom) {
  Gardes g;
  Config() = ConfigGenerale();
  Config().FichierMotifsDefaut = "/motifs/a.mtf";
  TConfigGeneDlg d;
  d.show();
  EXPECT_EQ(Controle<QLineEdit>(d, "EditFichierMtf")->text(), "/motifs/a.mtf");
  Controle<QSpinBox>(d, "UDDeci")->setValue(0);
  Controle<QPushButton>(d, "AucunFichBtn")->click();
  EXPECT_EQ(Controle<QLineEdit>(d, "EditFichierMtf")->text(), "Aucun fichier utilisé");
  Controle<QPushButton>(d, "AnnulerBtn")->click();
  EXPECT_EQ(Config().FichierMotifsDefaut, "/motifs/a.mtf");
  EXPECT_EQ(survey::Affichage().DecimalesCoord, 1);

  TConfigGeneDlg d2;
  d2.show();
  Controle<QPushButton>(d2, "AucunFichBtn")->click();
  Controle<QPushButton>(d2, "OKBtn")->click();
  EXPECT_TRUE(Config().FichierMotifsDefaut.empty());
}

// The style frames read the settings' styles and give them back: a changed
// frame its pen colour, dash and width, an untouched one the stored values,
// even a dash no frame shows.
TEST(ConfigGeneDlg, CadresDesStylesTopo) {
  Gardes g;
  Config() = ConfigGenerale();
  Config().TraitViseesAnnexes.StylePlume = 42;
  Config().PointsSurface.TailleDesign = 3;
  TConfigGeneDlg d;
  d.show();
  auto* axe = Controle<views::TCadreTraitsTopo>(d, "CadreAxe");
  EXPECT_EQ(axe->title(), "axe du cheminement");
  EXPECT_EQ(axe->UnTrait->CouleurPlume, 0x0000FFu);
  auto* surface = Controle<views::TCadreDefPtSurf>(d, "CadreDefPtSurf");
  EXPECT_TRUE(Controle<QCheckBox>(*surface, "CercleBox")->isChecked());
  EXPECT_EQ(Controle<QSpinBox>(*surface, "UpDown2")->value(), 3);

  Controle<QSpinBox>(*axe, "EpaisseurUD")->setValue(5);
  Controle<QComboBox>(*axe, "StyleTraitBox")->setCurrentIndex(1);
  g.dialogues.QueueColour(0x00FF00);
  CliqueSouris(Controle<views::TCadreCouleur>(*surface, "CadreCouleur"));
  Controle<QCheckBox>(*surface, "CercleBox")->setChecked(false);
  Controle<QSpinBox>(*surface, "UpDown2")->setValue(7);
  Controle<QPushButton>(d, "OKBtn")->click();
  const ConfigGenerale& c = Config();
  EXPECT_EQ(c.TraitAxe.EpaisseurPlume, 5);
  EXPECT_EQ(c.TraitAxe.StylePlume, 1);
  EXPECT_EQ(c.TraitAxe.CouleurPlume, 0x0000FFu);
  EXPECT_EQ(c.TraitViseesAnnexes.StylePlume, 42);
  EXPECT_EQ(c.TraitEnveloppe, TraitEnveloppeDefaut());
  EXPECT_EQ(c.PointsSurface.Trait.CouleurPlume, 0x00FF00u);
  EXPECT_FALSE(c.PointsSurface.TracerCercle);
  EXPECT_EQ(c.PointsSurface.TailleDesign, 7);
}
