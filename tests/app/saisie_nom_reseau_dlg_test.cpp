// The network-characteristics dialog driven offscreen through its controls:
// a new network named, the empty name refused, the change of system with
// and without conversion (the converted surface points against PROJ's
// cs2cs), the same system refused, a failing change that leaves the
// document byte-identical.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/commun/config_generale.h"
#include "app/reseau/saisie_nom_reseau_dlg.h"
#include "foundation/flux.h"
#include "survey/cavite.h"
#include "survey/galerie.h"
#include "survey/liste_points.h"
#include "survey/reseau.h"
#include "tests/projections/oracle_proj.h"
#include "tests/survey/environnement_document.h"
#include "views/cadres/cadres_projection.h"

namespace {

using app::TSaisieNomReseauDlg;
using platform::Answer;
using platform::ScriptedDialogs;

struct Environnement {
  testsurvey::EnvironnementDocument env;
  app::GardeConfig config;
  ScriptedDialogs& Dialogues() { return env.Dialogues; }
};

survey::TPointSpeleo* PointSurface(survey::TReseau& r, const std::string& nom, double x, double y) {
  auto p = std::make_unique<survey::TPointSpeleo>();
  p->TypePoint = survey::PointSurface;
  p->DesignPTopo = nom;
  p->X = x;
  p->Y = y;
  p->Z = 250;
  p->GalduPt = r.UneCavite(0)->UneGalerie(0);
  return r.LesPointsSurface()->Add(std::move(p));
}

// A network in Lambert II étendu with three surface points.
struct ReseauLT2 {
  survey::TReseau r;
  ReseauLT2(const std::string& systeme = "LT 2+") {
    r.Nom = "Causse";
    r.CreeCaviteSurface();
    r.Projection = systeme;
    r.NumFuseau = -1;
    r.ChercheParamsProj();
    PointSurface(r, "E1", 600000, 2200000);
    PointSurface(r, "E2", 612345.678, 1987654.321);
    PointSurface(r, "E3", 350123.5, 2401000.25);
  }
  std::vector<std::array<double, 2>> Points() const {
    std::vector<std::array<double, 2>> v;
    for (const survey::TPointSpeleo* p : *r.LesPointsSurface()) v.push_back({p->X, p->Y});
    return v;
  }
  std::string Octets() {
    foundation::TFluxMemoire f, g;
    EXPECT_TRUE(r.Ecrit(f));
    EXPECT_TRUE(r.EcritConfig(g));
    return f.Octets() + g.Octets();
  }
};

void Choisit(QComboBox* b, const QString& texte) {
  const int i = b->findText(texte);
  ASSERT_GE(i, 0) << texte.toStdString();
  b->setCurrentIndex(i);
  emit b->activated(i);
}

// The dialog of an existing network with the change of system asked and
// LT 93 chosen as the new system.
void DemandeLT93(TSaisieNomReseauDlg& d) {
  d.show();
  ASSERT_TRUE(d.ChangeProjBtn->isVisible());
  d.ChangeProjBtn->click();
  Choisit(d.CadreProjectionNouvelle->ListeProjectBox, "LT 93");
}

TEST(SaisieNomReseauDlg, NouveauReseauEtNomVide) {
  Environnement e;
  survey::TReseau r;
  ASSERT_EQ(r.NombreCavites(), 0);
  TSaisieNomReseauDlg d(r);
  d.show();
  EXPECT_EQ(d.windowTitle(), "Saisie des caractéristiques du réseau");
  EXPECT_EQ(d.CadreProjectionActive->SimpleCoordsRdg->ItemIndex(), 0);
  EXPECT_FALSE(d.ChangeProjBtn->isVisible());
  EXPECT_FALSE(d.CadreProjectionNouvelle->isVisible());
  // An empty name: the message, the dialog open, the focus on the name.
  d.EditNom->setText("   ");
  d.OKBtn->setFocus();
  d.OKBtn->click();
  EXPECT_EQ(e.Dialogues().Messages(), std::vector<std::string>{"Vous n'avez pas indiqué le nom du réseau"});
  EXPECT_TRUE(d.isVisible());
  EXPECT_EQ(d.focusWidget(), d.EditNom);
  EXPECT_TRUE(r.Nom.empty());
  EXPECT_EQ(r.NombreCavites(), 0);
  // A name and no system: the surface cave, no projection.
  d.EditNom->setText("Plateau");
  d.OKBtn->click();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(r.Nom, "Plateau");
  EXPECT_TRUE(r.Projection.empty());
  ASSERT_EQ(r.NombreCavites(), 1);
  EXPECT_TRUE(r.UneCavite(0)->EstSurface);
  EXPECT_TRUE(survey::Document().DocumentModifie);
}

// The widget the Tab key reaches from w: the next one of the focus chain
// that is shown, enabled and takes the focus from the keyboard.
QWidget* SuivantAuClavier(QWidget* w) {
  for (QWidget* s = w->nextInFocusChain(); s && s != w; s = s->nextInFocusChain())
    if (s->isVisible() && s->isEnabled() && (s->focusPolicy() & Qt::TabFocus)) return s;
  return nullptr;
}

// A new network placed in a system by keyboard: Tab from "rattachées" goes to
// the system list (and not past it to OK), then to the system's description.
TEST(SaisieNomReseauDlg, TabDuTypeDeCoordonneesAuSysteme) {
  Environnement e;
  survey::TReseau r;
  TSaisieNomReseauDlg d(r);
  d.show();
  views::TCadreProjectionSimple* cadre = d.CadreProjectionActive;
  cadre->SimpleCoordsRdg->Item(1)->click();
  ASSERT_TRUE(cadre->ListeProjectBox->isVisible());
  EXPECT_EQ(SuivantAuClavier(d.EditNom), cadre->SimpleCoordsRdg->Item(0));
  EXPECT_EQ(SuivantAuClavier(cadre->SimpleCoordsRdg->Item(1)), cadre->ListeProjectBox);
  Choisit(cadre->ListeProjectBox, "LT 93");
  EXPECT_EQ(SuivantAuClavier(cadre->ListeProjectBox), cadre->EditProject);
  EXPECT_EQ(SuivantAuClavier(cadre->EditProject), d.OKBtn);
}

TEST(SaisieNomReseauDlg, BoutonDeChangement) {
  Environnement e;
  survey::Document().RectifEnCours = true;
  ReseauLT2 n;
  TSaisieNomReseauDlg d(n.r);
  d.show();
  EXPECT_EQ(d.EditNom->text(), "Causse");
  EXPECT_EQ(d.CadreProjectionActive->ListeProjectBox->currentText(), "LT 2+");
  EXPECT_TRUE(d.ChangeProjBtn->isVisible());
  EXPECT_EQ(d.ChangeProjBtn->text(), "Changement de projection (avec recalcul)");
  // Independent coordinates in the current frame: no change to offer.
  d.CadreProjectionActive->SimpleCoordsRdg->Item(0)->click();
  EXPECT_FALSE(d.ChangeProjBtn->isVisible());
  d.CadreProjectionActive->SimpleCoordsRdg->Item(1)->click();
  EXPECT_TRUE(d.ChangeProjBtn->isVisible());
  // The change asked, then cancelled by a second click.
  d.ChangeProjBtn->click();
  EXPECT_TRUE(d.RecalculProj);
  EXPECT_TRUE(d.CadreProjectionNouvelle->isVisible());
  EXPECT_FALSE(d.CadreProjectionActive->isEnabled());
  EXPECT_FALSE(d.CadreProjectionNouvelle->SimpleCoordsRdg->isEnabled());
  EXPECT_EQ(d.CadreProjectionNouvelle->GroupProject->title(), "Nouvelle projection : ");
  EXPECT_EQ(d.CadreProjectionNouvelle->ListeProjectBox->currentText(), "LT 2+");
  EXPECT_EQ(d.ChangeProjBtn->text(), "Changement de projection (sans recalcul)");
  // The same system: OK does nothing, without a message.
  d.OKBtn->click();
  EXPECT_TRUE(d.isVisible());
  EXPECT_TRUE(e.Dialogues().Log().empty());
  d.ChangeProjBtn->click();
  EXPECT_FALSE(d.RecalculProj);
  EXPECT_FALSE(d.CadreProjectionNouvelle->isVisible());
  EXPECT_TRUE(d.CadreProjectionActive->isEnabled());
  EXPECT_EQ(d.ChangeProjBtn->text(), "Changement de projection (avec recalcul)");
}

TEST(SaisieNomReseauDlg, ReseauSansProjectionSansBouton) {
  Environnement e;
  survey::Document().RectifEnCours = true;
  survey::TReseau r;
  r.CreeCaviteSurface();
  r.Nom = "Libre";
  TSaisieNomReseauDlg d(r);
  d.show();
  EXPECT_FALSE(d.ChangeProjBtn->isVisible());
  d.CadreProjectionActive->SimpleCoordsRdg->Item(1)->click();
  EXPECT_FALSE(d.ChangeProjBtn->isVisible());
}

// Cancel keeps the dialog; No closes it without converting, the network
// taking the current frame's system and the new name; Yes converts every
// surface point as cs2cs does.
TEST(SaisieNomReseauDlg, ChangementAvecRecalculSelonCs2cs) {
  Environnement e;
  survey::Document().RectifEnCours = true;
  {
    ReseauLT2 n;
    const auto avant = n.Points();
    TSaisieNomReseauDlg d(n.r);
    DemandeLT93(d);
    e.Dialogues().QueueAnswer(Answer::Cancel);
    d.OKBtn->click();
    EXPECT_TRUE(d.isVisible());
    ASSERT_EQ(e.Dialogues().Log().size(), 1u);
    EXPECT_EQ(e.Dialogues().Log()[0].event, ScriptedDialogs::Event::YesNoCancel);
    EXPECT_EQ(e.Dialogues().Log()[0].text, "Voulez-vous appliquer le changement de transformation à ce réseau ?");
    d.EditNom->setText("Causse Méjean");
    e.Dialogues().QueueAnswer(Answer::No);
    d.OKBtn->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(n.r.Nom, "Causse Méjean");
    EXPECT_EQ(n.r.Projection, "LT 2+");
    EXPECT_EQ(n.Points(), avant);
    EXPECT_TRUE(survey::Document().DocumentModifie);
  }
  e.Dialogues().Clear();
  ReseauLT2 n;
  const auto avant = n.Points();
  TSaisieNomReseauDlg d(n.r);
  DemandeLT93(d);
  e.Dialogues().QueueAnswer(Answer::Yes);
  d.OKBtn->click();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_TRUE(e.Dialogues().Messages().empty());
  EXPECT_EQ(n.r.Projection, "LT 93");
  EXPECT_FALSE(n.r.ParamsProjection.empty());
  const auto apres = n.Points();
  if (!oracle::Cs2csDisponible()) GTEST_SKIP() << "cs2cs absent: no oracle";
  oracle::AnnonceOracle("cs2cs, LT 2+ to LT 93");
  const std::string lt2 =
      "+proj=lcc +lat_1=46.8 +lat_0=46.8 +lon_0=0 +k_0=0.99987742 +x_0=600000 +y_0=2200000 "
      "+pm=2.337229166667 +a=6378249.2 +rf=293.4660212936269 +towgs84=-168,-60,320 +units=m";
  const std::string lt93 =
      "+proj=lcc +lat_0=46.5 +lon_0=3 +lat_1=44 +lat_2=49 +x_0=700000 +y_0=6600000 +ellps=GRS80 +towgs84=0,0,0 "
      "+units=m";
  const auto attendu = oracle::Cs2cs(lt2, lt93, avant);
  ASSERT_TRUE(attendu);
  for (size_t i = 0; i < avant.size(); ++i) {
    EXPECT_NEAR(apres[i][0], (*attendu)[i][0], 1e-3) << i;
    EXPECT_NEAR(apres[i][1], (*attendu)[i][1], 1e-3) << i;
  }
}

// A change that cannot be made (the network's system is missing from the
// catalogue): the message, the dialog open, the document byte-identical.
TEST(SaisieNomReseauDlg, ChangementImpossibleNeChangeRien) {
  Environnement e;
  survey::Document().RectifEnCours = true;
  ReseauLT2 n("Nulle part");
  survey::Document().DocumentModifie = false;
  const std::string avant = n.Octets();
  TSaisieNomReseauDlg d(n.r);
  DemandeLT93(d);
  d.EditNom->setText("Autre nom");
  e.Dialogues().QueueAnswer(Answer::Yes);
  d.OKBtn->click();
  EXPECT_TRUE(d.isVisible());
  EXPECT_NE(d.result(), QDialog::Accepted);
  ASSERT_EQ(e.Dialogues().Messages().size(), 1u);
  EXPECT_NE(e.Dialogues().Messages()[0].find("Nulle part"), std::string::npos) << e.Dialogues().Messages()[0];
  EXPECT_EQ(n.r.Projection, "Nulle part");
  EXPECT_EQ(n.r.Nom, "Causse");
  EXPECT_FALSE(survey::Document().DocumentModifie);
  EXPECT_EQ(n.Octets(), avant);
}

}  // namespace
