// The shot entry window, driven through its controls: from the main window's
// Add button and double click, and on its own on a small cave.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <deque>
#include <functional>

#include "app/commun/config_generale.h"
#include "app/document/document_survey.h"
#include "app/fiche_principale.h"
#include "app/saisie/liste_suite_obs_dlg.h"
#include "app/saisie/saisie_suite_et_obs_dlg.h"
#include "app/saisie/saisie_visee_dlg.h"
#include "app/table/modele_visees.h"
#include "app/table/zone_visees.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/observation.h"
#include "survey/parties_reseau.h"
#include "survey/ports_survey.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"
#include "tests/app/outils_fenetre.h"
#include "tests/app/saisie_tapee.h"
#include "tests/survey/survex_oracle.h"

using namespace app;
using essai::Ed;
using essai::Focus;
using essai::Gardes;
using essai::Script;
using essai::Tape;

namespace {

struct Fenetre {
  Gardes g;
  survey::GardePortsSurvey ports;
  // The window is installed before the main window looks for it.
  struct Installe {
    Installe() {
      SaisieVisee() = ContexteSaisieVisee();
      InstalleDialogueSaisieVisee();
    }
  } installe;
  TFichePrincipale f{FabriqueSurvey(), {}};
  survey::TCavite* c = nullptr;
  explicit Fenetre(int n) {
    f.NouveauReseau();
    auto* doc = dynamic_cast<TDocumentSurvey*>(f.Gestion().Reseau());
    c = essai::AjouteCaviteLineaire(doc->Reseau(), n);
    f.AfficheListeCavites(true);
    f.Zone().SelectionneLigne(n - 1);
  }
  ~Fenetre() { f.Gestion().LibereReseau(); }
  void Ajoute() {
    auto* ajout = f.findChild<QToolButton*>("AjoutButton");
    ASSERT_TRUE(ajout->isEnabled());
    ajout->click();
  }
};

}  // namespace

TEST(SaisieVisee, TroisViseesTapeesPuisEchap) {
  Fenetre w(4);
  Script s;
  s.Ajoute([](TSaisieViseeDlg& d) {
    EXPECT_EQ(d.windowTitle(), "Saisie d'une visée");
    EXPECT_EQ(Ed(d, "EditStation")->text(), "A4");
    EXPECT_EQ(Ed(d, "EditVise")->text(), "A5");
    EXPECT_EQ(Focus(d), "EditAzimut");
    Tape("123.5\t-12\t8.42\n");
  });
  s.Ajoute([](TSaisieViseeDlg& d) {
    EXPECT_EQ(Ed(d, "EditVise")->text(), "A6");
    EXPECT_EQ(Focus(d), "EditAzimut");
    Tape("10\t5\t8,42\n");  // the keypad's decimal key of a French keyboard
  });
  s.Ajoute([](TSaisieViseeDlg& d) {
    EXPECT_EQ(Ed(d, "EditVise")->text(), "A7");
    Tape("20\t0\t3\n");
  });
  s.Ajoute([](TSaisieViseeDlg&) { Tape("\x1b"); });
  s.Lance();
  w.Ajoute();
  EXPECT_EQ(s.Restantes(), 0);
  ASSERT_EQ(w.c->Visees.Count(), 7);
  EXPECT_EQ(w.f.Zone().Table().Nombre(), 7);
  const survey::TVisee* v = w.c->LaVisee(4);
  EXPECT_EQ(v->PtOrigCalc->DesignPTopo, "A4");
  EXPECT_EQ(v->PtCalc->DesignPTopo, "A5");
  EXPECT_DOUBLE_EQ(v->Az, 123.5);
  EXPECT_DOUBLE_EQ(v->pente, -12);
  EXPECT_DOUBLE_EQ(v->Long, 8.42);
  EXPECT_DOUBLE_EQ(w.c->LaVisee(5)->Long, 8.42);
  EXPECT_EQ(w.c->LaVisee(6)->PtCalc->DesignPTopo, "A7");
  EXPECT_EQ(w.f.Zone().Table().Visee(6), w.c->LaVisee(6));
}

TEST(SaisieVisee, OrdreLongueurDabord) {
  Fenetre w(2);
  Config().PosLongueur = 0;
  Config().PosAzimut = 1;
  Config().PosPente = 2;
  Script s;
  s.Ajoute([](TSaisieViseeDlg& d) {
    EXPECT_EQ(Focus(d), "EditLongueur");
    Tape("4.5\t270\t-3\n");
  });
  s.Ajoute([](TSaisieViseeDlg& d) {
    EXPECT_EQ(Focus(d), "EditLongueur");
    Tape("\x1b");
  });
  s.Lance();
  w.Ajoute();
  ASSERT_EQ(w.c->Visees.Count(), 3);
  EXPECT_DOUBLE_EQ(w.c->LaVisee(2)->Long, 4.5);
  EXPECT_DOUBLE_EQ(w.c->LaVisee(2)->Az, 270);
  EXPECT_DOUBLE_EQ(w.c->LaVisee(2)->pente, -3);
}

TEST(SaisieVisee, RefusGardeLaFenetreEtLaCaviteIntacte) {
  struct Cas {
    QString touches;  // typed in the azimuth, slope, length order
    int pentes;       // input type
    int zero;         // the trip's slope origin
    bool accepte;
    std::string message;
    const char* focus;
    uint8_t uniteAz = 0;  // 1: grades
  };
  const std::string az = "La valeur de l'angle azimutal doit être comprise entre -360 et +360 degrés";
  const Cas cas[] = {
      {"360\t0\t2", 0, 0, true, "", ""},
      {"360.01\t0\t2", 0, 0, false, az, "EditAzimut"},
      {"-360.01\t0\t2", 0, 0, false, az, "EditAzimut"},
      {"0\t-90\t2", 0, 0, true, "", ""},
      {"0\t90.5\t2", 0, 0, false,
       "La valeur de l'angle de pente doit être comprise entre -90 et +90 degrés", "EditPente"},
      {"0\t180\t2", 1, 1, true, "", ""},
      {"0\t-1\t2", 0, 1, false,
       "La valeur de l'angle de pente doit être comprise entre 0 et +180 degrés", "EditPente"},
      {"0\t5\t4", 2, 0, false, "La longueur doit être supérieure ou égale à la hauteur", "EditPente"},
      {"0\t5\t0", 2, 0, true, "", ""},
      {"0\t5\t4", 3, 0, true, "", ""},
      {"400\t0\t2", 0, 0, true, "", "", 1},
      {"-400.5\t0\t2", 0, 0, false,
       "La valeur de l'angle azimutal doit être comprise entre -400 et +400 grades", "EditAzimut", 1},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.touches.toStdString());
    Fenetre w(2);
    survey::TLever* l = const_cast<survey::TLever*>(survey::LeverParDefaut());
    ASSERT_NE(l, nullptr);
    const int32_t zero = l->ZeroPente;
    const uint8_t unite = l->UniteAZ;
    l->ZeroPente = k.zero;
    l->UniteAZ = k.uniteAz;
    SaisieVisee().ConfigSaisieCourante.csMemoPentes = true;
    SaisieVisee().ConfigSaisieCourante.csPentes = k.pentes;
    Script s;
    QString focus, texte;
    s.Ajoute([&](TSaisieViseeDlg& d) {
      Tape(k.touches + "\n");
      if (!k.accepte) {
        EXPECT_TRUE(d.isVisible());
        focus = Focus(d);
        texte = Ed(d, "EditAzimut")->text();
        Tape("\x1b");
      }
    });
    if (k.accepte) s.Ajoute([](TSaisieViseeDlg&) { Tape("\x1b"); });
    s.Lance();
    w.Ajoute();
    l->ZeroPente = zero;
    l->UniteAZ = unite;
    EXPECT_EQ(w.c->Visees.Count(), k.accepte ? 3 : 2);
    EXPECT_EQ(w.f.Zone().Table().Nombre(), k.accepte ? 3 : 2);
    const auto messages = w.g.dialogues.Messages();
    if (k.accepte) {
      EXPECT_TRUE(messages.empty());
    } else {
      ASSERT_EQ(messages.size(), 1u);
      EXPECT_EQ(messages[0], k.message);
      EXPECT_EQ(focus, k.focus);
      EXPECT_EQ(texte, k.touches.section('\t', 0, 0));  // typed values kept
    }
  }
}

TEST(SaisieVisee, CorrectionParDoubleClicEtAnnulation) {
  Fenetre w(3);
  auto* vue = w.f.findChild<QTableView*>("VisuVisees");
  ASSERT_NE(vue, nullptr);
  w.c->LaVisee(1)->PtCalc->SuiteObs.SuitePossible = survey::TSuitePossible::spPuits;
  Script s;
  s.Ajoute([](TSaisieViseeDlg& d) {
    EXPECT_EQ(d.windowTitle(), "Rectification d'une visée");
    EXPECT_EQ(d.findChild<QPushButton*>("SuitesBtn")->text(), "??");
    EXPECT_EQ(Ed(d, "EditStation")->text(), "A1");
    EXPECT_EQ(Ed(d, "EditVise")->text(), "A2");
    EXPECT_EQ(Ed(d, "EditLongueur")->text(), "2.00");
    Ed(d, "EditAzimut")->setText("45");
    Ed(d, "EditVise")->setText("B2");
    d.findChild<QPushButton*>("OKBtn")->click();
  });
  s.Lance();
  w.f.Zone().SelectionneLigne(1);
  emit vue->doubleClicked(w.f.Zone().Modele().index(1, 0));
  EXPECT_DOUBLE_EQ(w.c->LaVisee(1)->Az, 45);
  EXPECT_EQ(w.c->LaVisee(1)->PtCalc->DesignPTopo, "B2");
  // The continuations of the corrected points come back as they were.
  EXPECT_EQ(w.c->LaVisee(1)->PtCalc->SuiteObs.SuitePossible, survey::TSuitePossible::spPuits);
  EXPECT_EQ(w.c->Visees.Count(), 3);
  // The correction leaves the settings of new shots alone.
  EXPECT_TRUE(SaisieVisee().ConfigSaisieCourante.csNumCroissant);

  // Cancel changes nothing.
  Script t;
  t.Ajoute([](TSaisieViseeDlg& d) {
    Ed(d, "EditAzimut")->setText("99");
    d.findChild<QPushButton*>("AnnulerBtn")->click();
  });
  t.Lance();
  emit vue->doubleClicked(w.f.Zone().Modele().index(1, 0));
  EXPECT_DOUBLE_EQ(w.c->LaVisee(1)->Az, 45);
}

TEST(SaisieVisee, ReglagesQuiSuiventDUneViseeALautre) {
  Fenetre w(4);
  Config().SaisieTopofil = true;
  Script s;
  s.Ajoute([](TSaisieViseeDlg& d) {
    d.findChild<QCheckBox*>("TopofilCheck")->click();
    EXPECT_EQ(Focus(d), "EditLectDeb");
    Ed(d, "EditAzimut")->setFocus();
    Tape("10\t0\t120\t95\n");
  });
  s.Ajoute([](TSaisieViseeDlg& d) {
    // The thread counter goes on; the input type is chosen for this shot.
    EXPECT_EQ(Ed(d, "EditLectDeb")->text(), "95");
    EXPECT_TRUE(d.findChild<QCheckBox*>("TopofilCheck")->isChecked());
    d.findChild<QCheckBox*>("TopofilCheck")->click();
    d.findChild<QRadioButton*>("RbSaisie2")->click();
    Ed(d, "EditAzimut")->setFocus();
    Tape("30\t-1.5\t2\n");
  });
  s.Ajoute([](TSaisieViseeDlg& d) {
    // "Conserver saisie des pentes" unchecked: back to "P+L".
    EXPECT_TRUE(d.findChild<QRadioButton*>("RbSaisie0")->isChecked());
    EXPECT_TRUE(d.findChild<QRadioButton*>("RbHabillage")->isVisible());
    d.findChild<QRadioButton*>("RbHabillage")->setChecked(true);
    d.findChild<QRadioButton*>("RbDepartStation")->setChecked(true);
    Ed(d, "EditAzimut")->setFocus();
    Tape("90\t0\t1.5\n");
  });
  s.Ajoute([](TSaisieViseeDlg& d) {
    EXPECT_TRUE(d.findChild<QRadioButton*>("RbHabillage")->isChecked());
    Tape("\x1b");
  });
  s.Lance();
  w.Ajoute();
  EXPECT_EQ(s.Restantes(), 0);
  ASSERT_EQ(w.c->Visees.Count(), 6);
  const survey::TVisee* t = w.c->LaVisee(4);
  EXPECT_TRUE(t->SaisieTopoFil);
  EXPECT_EQ(t->TopofilDeb, 120);
  EXPECT_EQ(t->TopofilFin, 95);
  EXPECT_DOUBLE_EQ(t->LCalc, 25);
  const survey::TVisee* h = w.c->LaVisee(5);
  EXPECT_EQ(h->Typesaisie, survey::SaisieDenivLongueur);
  EXPECT_DOUBLE_EQ(h->Deniv, -1.5);
  EXPECT_DOUBLE_EQ(h->Long, 2);
  ASSERT_EQ(h->ViseesHabi.Count(), 1);
  EXPECT_TRUE(h->LaViseeHabi(0)->RefPtStat);
  EXPECT_DOUBLE_EQ(h->LaViseeHabi(0)->Az, 90);
}

TEST(SaisieVisee, NomsProposesEtViseeInversee) {
  Fenetre w(4);
  Script s;
  s.Ajoute([](TSaisieViseeDlg& d) {
    d.findChild<QCheckBox*>("NumCroissantCheck")->click();
    EXPECT_EQ(Ed(d, "EditVise")->text(), "A3");
    d.findChild<QCheckBox*>("NumCroissantCheck")->click();
    EXPECT_EQ(Ed(d, "EditVise")->text(), "A5");
    // Inverted: the new point is typed in the station edit.
    d.findChild<QCheckBox*>("InvViseeCheck")->click();
    EXPECT_EQ(Ed(d, "EditStation")->text(), "A5");
    EXPECT_EQ(Ed(d, "EditVise")->text(), "A4");
    EXPECT_TRUE(Ed(d, "EditStation")->isEnabled());
    EXPECT_FALSE(Ed(d, "EditVise")->isEnabled());
    Ed(d, "EditAzimut")->setFocus();
    Tape("180\t10\t3\n");
  });
  s.Ajoute([](TSaisieViseeDlg&) { Tape("\x1b"); });
  s.Lance();
  w.Ajoute();
  ASSERT_EQ(w.c->Visees.Count(), 5);
  const survey::TVisee* v = w.c->LaVisee(4);
  EXPECT_EQ(v->PointStation->DesignPTopo, "A5");
  EXPECT_EQ(v->PointVise->DesignPTopo, "A4");
  // Computed from the known station towards the new one.
  EXPECT_EQ(v->PtOrigCalc->DesignPTopo, "A4");
  EXPECT_EQ(v->PtCalc->DesignPTopo, "A5");

  // From the middle of a branch nothing is proposed; the name has the focus.
  Script t;
  t.Ajoute([](TSaisieViseeDlg& d) {
    // The inversion carries over from the previous new shot.
    EXPECT_TRUE(d.findChild<QCheckBox*>("InvViseeCheck")->isChecked());
    EXPECT_EQ(Ed(d, "EditVise")->text().toStdString(), "A2");
    EXPECT_EQ(Ed(d, "EditStation")->text().toStdString(), "");
    EXPECT_EQ(Focus(d).toStdString(), "EditStation");
    Tape("B1\t10\t0\t2\n");
  });
  t.Ajoute([](TSaisieViseeDlg&) { Tape("\x1b"); });
  t.Lance();
  w.f.Zone().SelectionneLigne(1);
  w.Ajoute();
  ASSERT_EQ(w.c->Visees.Count(), 6);
  const survey::TVisee* b = nullptr;
  for (const survey::TVisee* x : w.c->Visees)
    if (x->PtCalc && x->PtCalc->DesignPTopo == "B1") b = x;
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->PtOrigCalc->DesignPTopo, "A2");
  EXPECT_DOUBLE_EQ(b->Long, 2);
}

TEST(SaisieVisee, PremiereViseeDepuisUnPointDeSurface) {
  Gardes g;
  survey::GardePortsSurvey ports;
  survey::TCavite c;
  survey::TPointSpeleo entree;
  entree.TypePoint = survey::PointSurface;
  entree.DesignPTopo = "E";
  survey::TVisee v;
  v.PointStation = v.PtOrigCalc = &entree;
  TSaisieViseeDlg d(c);
  d.Init(v, nullptr);
  EXPECT_FALSE(d.findChild<QRadioButton*>("RbHabillage")->isVisible() &&
               !d.findChild<QRadioButton*>("RbHabillage")->isHidden());
  EXPECT_TRUE(d.findChild<QRadioButton*>("RbHabillage")->isHidden());
  EXPECT_TRUE(d.findChild<QRadioButton*>("RbRattachement")->isHidden());
  EXPECT_FALSE(d.findChild<QRadioButton*>("RbNormale")->isHidden());
  // The cave has no position yet: its trip's declination takes the surface
  // point's; a shot from an underground station publishes none.
  EXPECT_EQ(survey::Calcul().PtSurfaceSaisie, &entree);
  survey::TPointSpeleo station;
  station.DesignPTopo = "1";
  survey::TVisee suivante;
  suivante.PointStation = suivante.PtOrigCalc = &station;
  TSaisieViseeDlg d2(c);
  d2.Init(suivante, &v);
  EXPECT_EQ(survey::Calcul().PtSurfaceSaisie, nullptr);
}

TEST(SaisieVisee, RattachementEtNouvelleGalerie) {
  Fenetre w(4);
  survey::TPointSpeleo* a1 = w.c->LaVisee(0)->PtCalc;
  int demandes = 0;
  survey::TPointSpeleo* reponse = nullptr;
  survey::Ports().ChoisitPointRattachement = [&](const survey::TDemandeRattachement& d) {
    ++demandes;
    EXPECT_EQ(d.Point->DesignPTopo, "A4");
    return reponse;
  };
  w.g.dialogues.QueuePrompt(std::string("Galerie B"));
  Script s;
  s.Ajoute([&](TSaisieViseeDlg& d) {
    // A cancelled choice returns to a normal shot.
    d.findChild<QRadioButton*>("RbRattachement")->setChecked(true);
    EXPECT_TRUE(d.findChild<QRadioButton*>("RbNormale")->isChecked());
    reponse = a1;
    d.findChild<QRadioButton*>("RbRattachement")->setChecked(true);
    EXPECT_EQ(Ed(d, "EditVise")->text(), "A1");
    Ed(d, "EditAzimut")->setFocus();
    Tape("200\t0\t6\n");
  });
  s.Ajoute([](TSaisieViseeDlg& d) {
    d.findChild<QPushButton*>("NouvelleGalerieBtn")->click();
    EXPECT_EQ(Ed(d, "EditGalerie")->text(), "Galerie B");
    EXPECT_EQ(Ed(d, "EditVise")->text(), "");
    Ed(d, "EditVise")->setText("B1");
    Ed(d, "EditAzimut")->setFocus();
    Tape("10\t0\t2\n");
  });
  s.Ajoute([](TSaisieViseeDlg&) { Tape("\x1b"); });
  s.Lance();
  w.Ajoute();
  EXPECT_EQ(demandes, 2);
  ASSERT_EQ(w.c->Visees.Count(), 6);
  bool rattachement = false, galerie = false;
  for (const survey::TVisee* v : w.c->Visees) {
    if (v->PointVise == a1 && v->PointStation && v->PointStation->DesignPTopo == "A4") rattachement = true;
    if (v->PointVise && v->PointVise->DesignPTopo == "B1")
      galerie = v->PointVise->GalduPt && v->PointVise->GalduPt->NomGalerie == "Galerie B";
  }
  EXPECT_TRUE(rattachement);
  EXPECT_TRUE(galerie);
}

// Every input type, unit and slope origin typed through the window, then the
// computed stations against Survex's cavern on the same readings.
TEST(SaisieVisee, TypesEtUnitesSelonSurvex) {
  if (!testsurvey::CavernDisponible()) GTEST_SKIP() << "cavern (Survex) is not installed";
  Fenetre w(6);
  Config().SaisieTopofil = true;
  // The trips: azimuth unit, slope unit, slope origin, thread counter.
  auto lever = [&](uint8_t az, uint8_t p, int32_t zero, bool topofil = false) {
    auto l = std::make_unique<survey::TLever>();
    l->UniteAZ = az;
    l->UniteP = p;
    l->ZeroPente = zero;
    l->Topofil = topofil;
    l->LaDate = 40000 + w.c->Levers.Count();
    // Each trip has a shot of the cave, so that no cleaning drops it.
    survey::TLever* lever = w.c->Levers.Add(std::move(l));
    w.c->LaVisee(w.c->Levers.Count() - 1)->LeLever = lever;
    return lever;
  };
  survey::TLever* degres = lever(0, 0, 0);
  survey::TLever* grades = lever(1, 1, 0);
  survey::TLever* pourcent = lever(0, 2, 0);
  survey::TLever* haut = lever(0, 0, 1);
  survey::TLever* basGrades = lever(1, 1, -1);
  survey::TLever* compteur = lever(0, 0, 0, true);
  struct Cas {
    survey::TLever* lever;
    int type;  // the "Saisie Pentes" choice
    bool invAz, invP, inversee, topofil;
    QString nouveau, touches;
  };
  const std::vector<Cas> cas = {
      {degres, 0, false, false, false, false, "B1", "30\t-10\t5\n"},
      {grades, 0, false, false, false, false, "B2", "150\t20\t4\n"},
      {pourcent, 0, false, false, false, false, "B3", "200\t-30\t6\n"},
      {haut, 0, false, false, false, false, "B4", "45\t100\t3\n"},
      {basGrades, 0, false, false, false, false, "B5", "300\t80\t5\n"},
      {degres, 1, false, false, false, false, "B6", "60\t15\t4\n"},
      {grades, 1, false, false, false, false, "B7", "320\t-12\t4\n"},
      {degres, 2, false, false, false, false, "B8", "90\t-2\t5\n"},
      {degres, 3, false, false, false, false, "B9", "120\t1.5\t3\n"},
      {degres, 4, false, false, false, false, "B10", "10\t3\t4\n"},
      {degres, 4, false, false, false, false, "B11", "20\t5\t4\n"},
      {degres, 0, true, true, false, false, "B12", "250\t10\t5\n"},
      {grades, 0, true, false, false, false, "B13", "50\t-5\t3.5\n"},
      {degres, 0, false, false, true, false, "B14", "180\t10\t3\n"},
      {compteur, 0, false, false, false, true, "B15", "10\t-20\t120\t95\n"},
  };
  auto coche = [](TSaisieViseeDlg& d, const char* nom, bool oui) {
    auto* c = d.findChild<QCheckBox*>(QLatin1String(nom));
    ASSERT_NE(c, nullptr) << nom;
    if (c->isChecked() != oui) c->click();
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nouveau.toStdString());
    // The shot follows the last one typed, with the trip of the case.
    w.f.Zone().SelectionneLigne(w.f.Zone().Table().Nombre() - 1);
    survey::Document().LeverCourant = k.lever;
    Script s;
    s.Ajoute([&](TSaisieViseeDlg& d) {
      // The trip chosen through its field: the choice opens on the current one.
      survey::Document().LeverCourant = k.lever;
      QTimer::singleShot(0, [] {
        QWidget* choix = QApplication::activeModalWidget();
        ASSERT_TRUE(choix && choix->objectName() == "ChoixLeverDlg");
        choix->findChild<QPushButton*>("OKBtn")->click();
      });
      QMouseEvent clic(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                       Qt::NoModifier);
      QApplication::sendEvent(Ed(d, "EditLever"), &clic);
      coche(d, "TopofilCheck", k.topofil);
      d.findChild<QRadioButton*>(QStringLiteral("RbSaisie%1").arg(k.type))->click();
      coche(d, "InvAzCheck", k.invAz);
      coche(d, "InvPCheck", k.invP);
      coche(d, "InvViseeCheck", k.inversee);
      Ed(d, k.inversee ? "EditStation" : "EditVise")->setText(k.nouveau);
      Ed(d, "EditAzimut")->setFocus();
      Tape(k.touches);
      // A refused shot would leave the window open.
      EXPECT_NE(QApplication::activeModalWidget(), &d) << "refusé : " << Focus(d).toStdString();
      if (QApplication::activeModalWidget() == &d) Tape("\x1b");
    });
    s.Ajoute([](TSaisieViseeDlg&) { Tape("\x1b"); });
    s.Lance();
    w.Ajoute();
    ASSERT_EQ(s.Restantes(), 0);
  }
  ASSERT_EQ(w.c->Visees.Count(), 6 + static_cast<int>(cas.size()));
  // Each shot with its trip, input type and reversals.
  for (const Cas& k : cas) {
    const survey::TVisee* v = nullptr;
    for (const survey::TVisee* x : w.c->Visees)
      if (x->PtCalc && x->PtCalc->DesignPTopo == k.nouveau.toStdString()) v = x;
    ASSERT_NE(v, nullptr) << k.nouveau.toStdString();
    EXPECT_EQ(v->LeLever, k.lever) << k.nouveau.toStdString();
    EXPECT_EQ(v->Typesaisie, k.type) << k.nouveau.toStdString();
    EXPECT_EQ(v->InvAz, k.invAz) << k.nouveau.toStdString();
    EXPECT_EQ(v->InvP, k.invP) << k.nouveau.toStdString();
    EXPECT_EQ(v->PointStation->DesignPTopo == k.nouveau.toStdString(), k.inversee) << k.nouveau.toStdString();
  }
  // The readings as typed.
  const survey::TVisee* t = w.c->LaVisee(w.c->Visees.Count() - 1);
  EXPECT_TRUE(t->SaisieTopoFil);
  EXPECT_EQ(t->TopofilDeb, 120);
  EXPECT_EQ(t->LeLever, compteur);
  auto* doc = dynamic_cast<TDocumentSurvey*>(w.f.Gestion().Reseau());
  survey::TReseau& r = doc->Reseau();
  r.CalculeReseau();
  testsurvey::EcrivainSvx svx(r.Cavites);
  testsupport::DossierTemp dossier;
  const testsurvey::ResultatSurvex res = testsurvey::LanceCavern(svx.Texte(), dossier.Chemin());
  ASSERT_TRUE(res.Ok) << res.Erreur;
  int compares = 0;
  for (const survey::TPointSpeleo* p : w.c->ListePoints) {
    const auto it = res.Positions.find(svx.Nom(p));
    ASSERT_NE(it, res.Positions.end()) << p->DesignPTopo;
    const double d = std::hypot(p->X - it->second[0], p->Y - it->second[1], p->Z - it->second[2]);
    EXPECT_LE(d, 0.01) << p->DesignPTopo << "\n" << svx.Texte();
    ++compares;
  }
  EXPECT_EQ(compares, 6 + static_cast<int>(cas.size()));
}

namespace {

void DoubleClic(Fenetre& w, int ligne) {
  auto* vue = w.f.findChild<QTableView*>("VisuVisees");
  ASSERT_NE(vue, nullptr);
  w.f.Zone().SelectionneLigne(ligne);
  emit vue->doubleClicked(w.f.Zone().Modele().index(ligne, 0));
}

bool Contient(const std::vector<survey::TViseeHabi*>& l, const survey::TViseeHabi* h) {
  return std::find(l.begin(), l.end(), h) != l.end();
}

}  // namespace

// A splay corrected through its row: another start point, azimuth and
// comment take effect, and the splay hangs on its new station.
TEST(SaisieVisee, CorrectionDUnHabillage) {
  Fenetre w(3);
  survey::TVisee* v = w.c->LaVisee(1);  // A1 -> A2
  auto nouvelle = std::make_unique<survey::TViseeHabi>();
  nouvelle->RefPtStat = false;
  nouvelle->Az = 90;
  nouvelle->Long = 1.5;
  nouvelle->CommentVisee.push_back("paroi");
  survey::TViseeHabi* h = v->AjouteViseeHabi(std::move(nouvelle));
  w.c->ReGenereListePoints(false);
  w.f.Zone().AfficheViseesHab = true;
  w.f.Zone().RemplitListeVisees(v);
  const int ligne = w.f.Zone().Table().LigneDe(h);
  ASSERT_GE(ligne, 0);
  ASSERT_TRUE(w.f.Zone().Table().EstHabi(ligne));
  survey::TPointSpeleo* a1 = v->PointStation;
  survey::TPointSpeleo* a2 = v->PointVise;
  ASSERT_TRUE(Contient(a2->LVHabi, h));
  const struct Cas {
    bool depuisStation;
    const char* az;
    const char* commentaire;
    bool ok;
  } cas[] = {{true, "100", "paroi est", true}, {false, "180", "plafond", true}, {true, "300", "rien", false}};
  double az = 90;
  std::string commentaire = "paroi";
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.az);
    Script s;
    s.Ajoute([&](TSaisieViseeDlg& d) {
      EXPECT_EQ(d.windowTitle(), "Rectification d'une visée");
      EXPECT_TRUE(d.findChild<QRadioButton*>("RbHabillage")->isChecked());
      auto* station = d.findChild<QRadioButton*>("RbDepartStation");
      auto* vise = d.findChild<QRadioButton*>("RbDepartVise");
      EXPECT_EQ(station->text(), "A1");
      EXPECT_EQ(vise->text(), "A2");
      // The splay's present start is checked.
      EXPECT_EQ(station->isChecked(), h->RefPtStat);
      (k.depuisStation ? station : vise)->setChecked(true);
      Ed(d, "EditAzimut")->setText(k.az);
      d.findChild<QPlainTextEdit*>("MemoHabi")->setPlainText(k.commentaire);
      d.findChild<QPushButton*>(k.ok ? "OKBtn" : "AnnulerBtn")->click();
    });
    s.Lance();
    DoubleClic(w, w.f.Zone().Table().LigneDe(h));
    ASSERT_EQ(s.Restantes(), 0);
    if (k.ok) {
      az = std::stod(k.az);
      commentaire = k.commentaire;
      EXPECT_EQ(h->RefPtStat, k.depuisStation);
    }
    // Still one splay of the same shot, on its chosen station only.
    ASSERT_EQ(v->ViseesHabi.Count(), 1);
    EXPECT_EQ(v->LaViseeHabi(0), h);
    EXPECT_EQ(h->PtStation(), h->RefPtStat ? a1 : a2);
    EXPECT_EQ(Contient(a1->LVHabi, h), h->RefPtStat);
    EXPECT_EQ(Contient(a2->LVHabi, h), !h->RefPtStat);
    EXPECT_DOUBLE_EQ(h->Az, az);
    EXPECT_EQ(h->CommentVisee.Texte(), commentaire);
  }
  // The computed end follows the new start: 1.5 m due south of A2.
  auto* doc = dynamic_cast<TDocumentSurvey*>(w.f.Gestion().Reseau());
  doc->Reseau().CalculeReseau();
  EXPECT_NEAR(h->X, a2->X, 1e-9);
  EXPECT_NEAR(h->Y, a2->Y - 1.5, 1e-9);
  EXPECT_EQ(w.c->Visees.Count(), 3);
}

// Another trip chosen while correcting a shot goes to the shots downstream of
// it that used the old one; the shots before it and those of a third trip
// keep theirs.
TEST(SaisieVisee, CorrectionAvecUnAutreLever) {
  Fenetre w(5);
  auto lever = [&](int jours) {
    auto l = std::make_unique<survey::TLever>();
    l->LaDate = 40000 + jours;
    return w.c->Levers.Add(std::move(l));
  };
  survey::TLever* ancien = lever(0);
  survey::TLever* nouveau = lever(1);
  survey::TLever* autre = lever(2);
  for (int i = 0; i < 5; ++i) {
    survey::TVisee* v = w.c->LaVisee(i);
    v->LeLever = i == 3 ? autre : ancien;
    v->indLever = w.c->Levers.IndexOf(v->LeLever);
  }
  // A splay downstream follows its shot's trip.
  survey::TViseeHabi* h = w.c->LaVisee(2)->AjouteViseeHabi(std::make_unique<survey::TViseeHabi>());
  h->LeLever = ancien;
  w.c->ReGenereListePoints(false);
  Script s;
  s.Ajoute([&](TSaisieViseeDlg& d) {
    survey::Document().LeverCourant = nouveau;
    QTimer::singleShot(0, [] {
      QWidget* choix = QApplication::activeModalWidget();
      ASSERT_TRUE(choix && choix->objectName() == "ChoixLeverDlg");
      choix->findChild<QPushButton*>("OKBtn")->click();
    });
    QMouseEvent clic(QEvent::MouseButtonRelease, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(Ed(d, "EditLever"), &clic);
    d.findChild<QPushButton*>("OKBtn")->click();
  });
  s.Lance();
  DoubleClic(w, 1);
  ASSERT_EQ(s.Restantes(), 0);
  const survey::TLever* attendus[] = {ancien, nouveau, nouveau, autre, nouveau};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(w.c->LaVisee(i)->LeLever, attendus[i]) << i;
  EXPECT_EQ(h->LeLever, nouveau);
  EXPECT_EQ(w.c->LaVisee(1)->indLever, w.c->Levers.IndexOf(nouveau));
}

// The "??" button edits the continuation notes of the new point of a typed
// shot, and those of the station while correcting one; a cancelled shot
// keeps nothing of what was typed there.
TEST(SaisieVisee, SuitesParLeBoutonPointsDInterrogation) {
  Fenetre w(3);
  // Clicks "??" and answers the observation window (kind, comment) and the
  // list that follows it.
  auto suites = [](TSaisieViseeDlg& d, int nature, const QString& commentaire) {
    QTimer::singleShot(0, [nature, commentaire] {
      auto* obs = qobject_cast<TSaisieSuiteEtObsDlg*>(QApplication::activeModalWidget());
      ASSERT_NE(obs, nullptr);
      QTimer::singleShot(0, [] {
        auto* liste = qobject_cast<TListeSuiteObsDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(liste, nullptr);
        EXPECT_EQ(liste->SuiteObs.Count(), 1);
        liste->OKBtn->click();
      });
      obs->TypeSuiteBox->setCurrentIndex(nature);
      obs->MemoCommentaires->setPlainText(commentaire);
      obs->accept();
    });
    d.findChild<QPushButton*>("SuitesBtn")->click();
  };
  Script s;
  s.Ajoute([&](TSaisieViseeDlg& d) {
    EXPECT_TRUE(d.findChild<QRadioButton*>("RbAuVise")->isChecked());
    suites(d, 2, "puits à descendre");
    Ed(d, "EditAzimut")->setFocus();
    Tape("0\t-80\t4\n");
  });
  s.Ajoute([&](TSaisieViseeDlg& d) {
    // Typed, then cancelled with the shot.
    suites(d, 3, "oublié");
    Tape("\x1b");
  });
  s.Lance();
  w.Ajoute();
  ASSERT_EQ(s.Restantes(), 0);
  ASSERT_EQ(w.c->Visees.Count(), 4);
  survey::TPointSpeleo* a4 = w.c->LaVisee(3)->PtCalc;
  survey::TPointSpeleo* a3 = w.c->LaVisee(3)->PtOrigCalc;
  ASSERT_EQ(a4->DesignPTopo, "A4");
  EXPECT_EQ(a4->SuiteObs.SuitePossible, survey::TSuitePossible::spPuits);
  ASSERT_EQ(a4->SuiteObs.Count(), 1);
  EXPECT_EQ(a4->SuiteObs.UnTypeDObs(0)->Commentaires.Texte(), "puits à descendre");
  EXPECT_EQ(a3->SuiteObs.Count(), 0);

  // Correcting the shot: the notes of its station this time.
  Script t;
  t.Ajoute([&](TSaisieViseeDlg& d) {
    d.findChild<QRadioButton*>("RbAuStation")->setChecked(true);
    suites(d, 3, "escalade en face");
    d.findChild<QPushButton*>("OKBtn")->click();
  });
  t.Lance();
  DoubleClic(w, 3);
  ASSERT_EQ(t.Restantes(), 0);
  EXPECT_EQ(a3->SuiteObs.SuitePossible, survey::TSuitePossible::spEscalad);
  ASSERT_EQ(a3->SuiteObs.Count(), 1);
  EXPECT_EQ(a4->SuiteObs.SuitePossible, survey::TSuitePossible::spPuits);
  EXPECT_EQ(a4->SuiteObs.Count(), 1);
}
