// The adjustment windows driven offscreen through their controls: the
// surface point proposed, the deviations, the creation refused without
// surface point, the corrections shown against a similarity computed here,
// and the list's double-click and Delete key.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <cmath>
#include <numbers>
#include <string>

#include "app/reseau/compens_dlg.h"
#include "foundation/chaines.h"
#include "survey/compens.h"
#include "tests/app/saisie_essai.h"
#include "tests/survey/reseau_calcul.h"
#include "views/cadres/cadres_projection.h"

namespace {

using app::TChoixCompensDlg;
using app::TCompensDlg;
using essai::SurLaFenetreModale;
using platform::Answer;
using survey::TCavite;
using survey::TCompens;
using survey::TPointSpeleo;

std::string T(const QLabel* l) { return l->text().toStdString(); }
std::string Fixe(double x, int d) { return foundation::OteBlancs(foundation::ReelEnStrFixe(x, 20, d)); }

// E1 at the origin, then stations 1 to 10 every 10 m due north: station 10
// is computed at (0, 100, 0).
struct Chemin {
  essai::Saisie s;
  testsurvey::ReseauCalcul n;
  TCavite* c = nullptr;
  Chemin() {
    n.Surface("E1", 0, 0, 0);
    c = n.Cavite("Grotte");
    std::string avant = "E1";
    for (int i = 1; i <= 10; ++i) {
      n.Visee(c, avant, std::to_string(i), 0, 0, 10);
      avant = std::to_string(i);
    }
    n.Regenere();
  }
  TPointSpeleo* Station(const std::string& nom) { return n.Station(c, nom); }
  TCompens* Compens(const std::string& fin, const std::string& juste, uint8_t type) {
    auto a = std::make_unique<TCompens>();
    a->PtFin = Station(fin);
    a->PtJuste = n.Station(c, juste);
    a->typeCompens = type;
    return n.R().Compensations.Add(std::move(a));
  }
};

TEST(CompensDlg, PointProposeEtEcarts) {
  Chemin k;
  {
    // One surface point: it is proposed.
    TCompensDlg d(k.n.R());
    d.Init(k.c, k.Station("10"));
    EXPECT_EQ(d.windowTitle(), "Création d'une compensation");
    EXPECT_EQ(T(d.LabelCavite), "Grotte");
    EXPECT_EQ(T(d.LabelNomPoint), "10");
    EXPECT_EQ(T(d.LabelGalerie), "Galerie d'entrée");
    ASSERT_EQ(d.ListePointsSurface->count(), 1);
    EXPECT_EQ(d.ListePointsSurface->currentRow(), 0);
    EXPECT_EQ(T(d.EcartX), "0.0");
    EXPECT_EQ(T(d.EcartY), "-100.0");
    EXPECT_EQ(T(d.EcartZ), "0.0");
    EXPECT_EQ(T(d.EcartLh), "100.0");
  }
  // Two more points north and south of station 10 at the same plan
  // distance: the later one in the list is proposed.
  const TPointSpeleo* p = k.Station("10");
  k.n.Surface("Nord", p->X, p->Y + 12.5, 3);
  k.n.Surface("Sud", p->X, p->Y - 12.5, -2);
  TCompensDlg d(k.n.R());
  d.Init(k.c, k.Station("10"));
  ASSERT_EQ(d.ListePointsSurface->count(), 3);
  EXPECT_EQ(d.ListePointsSurface->item(1)->text(), "Nord");
  EXPECT_EQ(d.ListePointsSurface->currentItem()->text(), "Sud");
  EXPECT_EQ(T(d.EcartX), "0.0");
  EXPECT_EQ(T(d.EcartY), "-12.5");
  EXPECT_EQ(T(d.EcartZ), "-2.0");
  EXPECT_EQ(T(d.EcartLh), "12.5");
  // Every choice refreshes the deviations.
  d.ListePointsSurface->setCurrentRow(1);
  EXPECT_EQ(T(d.EcartY), "12.5");
  EXPECT_EQ(T(d.EcartZ), "3.0");
  EXPECT_EQ(T(d.EcartLh), "12.5");
}

TEST(CompensDlg, CreationEtRefusSansPointDeSurface) {
  {
    Chemin k;
    TCompensDlg d(k.n.R());
    d.Init(k.c, k.Station("7"));
    d.show();
    d.TypeCompensRdg->Item(0)->click();
    d.OKBtn->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    ASSERT_EQ(k.n.R().Compensations.Count(), 1);
    const TCompens* a = k.n.R().Compensations.First();
    EXPECT_EQ(a->PtFin, k.Station("7"));
    EXPECT_EQ(a->PtJuste->DesignPTopo, "E1");
    EXPECT_EQ(a->typeCompens, survey::CompensPlani);
    EXPECT_TRUE(survey::Document().DocumentModifie);
    EXPECT_TRUE(k.s.dialogues.Messages().empty());
  }
  // A cave that hangs from no surface point: OK is refused with a message
  // and no adjustment exists.
  essai::Saisie s;
  testsurvey::ReseauCalcul n;
  TCavite* c = n.Cavite("Isolée");
  n.Visee(c, "A", "B", 30, 0, 10);
  n.Regenere();
  TCompensDlg d(n.R());
  d.Init(c, n.Station(c, "B"));
  d.show();
  EXPECT_EQ(d.ListePointsSurface->count(), 0);
  EXPECT_EQ(T(d.EcartLh), "");
  d.OKBtn->click();
  EXPECT_TRUE(d.isVisible());
  EXPECT_NE(d.result(), QDialog::Accepted);
  EXPECT_EQ(n.R().Compensations.Count(), 0);
  EXPECT_FALSE(survey::Document().DocumentModifie);
  ASSERT_EQ(s.dialogues.Messages().size(), 1u);
  EXPECT_NE(s.dialogues.Messages()[0].find("aucun point de surface"), std::string::npos);
  d.reject();
}

// The shot-row command's creation: the dialog shown modally for the station.
TEST(CompensDlg, CreeCompensationModale) {
  Chemin k;
  SurLaFenetreModale([&](QDialog& m) {
    EXPECT_EQ(m.windowTitle(), "Création d'une compensation");
    EXPECT_EQ(essai::Enfant<QLabel>(m, "LabelNomPoint")->text(), "4");
    essai::Clic(m, "TypeCompensRdg1");
    essai::Clic(m, "OKBtn");
  });
  EXPECT_TRUE(app::CreeCompensation(nullptr, k.n.R(), k.c, k.Station("4")));
  ASSERT_EQ(k.n.R().Compensations.Count(), 1);
  EXPECT_EQ(k.n.R().Compensations.First()->typeCompens, survey::CompensAlti);
  SurLaFenetreModale([&](QDialog& m) { essai::Clic(m, "AnnulerBtn"); });
  EXPECT_FALSE(app::CreeCompensation(nullptr, k.n.R(), k.c, k.Station("5")));
  EXPECT_EQ(k.n.R().Compensations.Count(), 1);
}

// The view of an adjustment whose path ends 0.5 m east of its exact point:
// the direction and length corrections are those of the similarity about
// the start point that takes the computed end onto the exact point.
TEST(CompensDlg, VisualisationSelonLaSimilitude) {
  Chemin k;
  k.n.Surface("J", -0.5, 100, -1);
  TCompens* a = k.Compens("10", "J", survey::CompensPlaniAlti);
  // Without the adjustment the end is computed at F; D is the start point.
  const double Dx = 0, Dy = 0, Fx = 0, Fy = 100, Jx = -0.5, Jy = 100;
  const double echelle = std::hypot(Jx - Dx, Jy - Dy) / std::hypot(Fx - Dx, Fy - Dy);
  const double rotation = std::atan2(Jx - Dx, Jy - Dy) - std::atan2(Fx - Dx, Fy - Dy);

  TCompensDlg d(k.n.R());
  d.InitVisu(a);
  EXPECT_EQ(d.windowTitle(), "Visualisation d'une compensation");
  EXPECT_NEAR(static_cast<double>(a->Valeur->CoeffLong), echelle, 1e-9);
  EXPECT_NEAR(static_cast<double>(a->Valeur->CorrectAngle), rotation, 1e-9);
  EXPECT_EQ(T(d.CorrLongueur), Fixe((echelle - 1) * 1000, 2) + " mm/m");
  EXPECT_EQ(T(d.CorrDirection), Fixe(rotation * 200 / std::numbers::pi, 5) + " grades");
  EXPECT_EQ(T(d.CorrDirection), "-0.31831 grades");
  EXPECT_EQ(T(d.CorrHauteur), Fixe(static_cast<double>(a->Valeur->CoeffHaut) * 1000, 2) + " mm/m");
  EXPECT_FALSE(d.GroupePlani->isHidden());
  EXPECT_FALSE(d.GroupeAlti->isHidden());
  // The exact point selected, its type shown; nothing can be changed.
  EXPECT_EQ(d.ListePointsSurface->currentItem()->text(), "J");
  EXPECT_TRUE(d.TypeCompensRdg->Item(2)->isChecked());
  EXPECT_TRUE(d.OKBtn->isHidden());
  EXPECT_EQ(d.AnnulerBtn->text(), "Fermer");
  EXPECT_TRUE(d.AnnulerBtn->isEnabled());
  EXPECT_FALSE(d.ListePointsSurface->isEnabled());
  EXPECT_FALSE(d.TypeCompensRdg->Item(0)->isEnabled());
}

TEST(CompensDlg, GroupesSelonLeTypeEtMmParMetre) {
  struct Cas {
    uint8_t type;
    bool plani, alti;
  };
  const Cas cas[] = {{survey::CompensPlani, true, false},
                     {survey::CompensAlti, false, true},
                     {survey::CompensPlaniAlti, true, true}};
  for (const Cas& c : cas) {
    SCOPED_TRACE(static_cast<int>(c.type));
    Chemin k;
    // The exact point 0.25 m beyond the end: lengths times 1.0025.
    k.n.Surface("J", 0, 100.25, 0);
    TCompens* a = k.Compens("10", "J", c.type);
    TCompensDlg d(k.n.R());
    d.InitVisu(a);
    EXPECT_EQ(!d.GroupePlani->isHidden(), c.plani);
    EXPECT_EQ(!d.GroupeAlti->isHidden(), c.alti);
    if (c.plani) EXPECT_EQ(T(d.CorrLongueur), "2.50 mm/m");
  }
}

// The adjustment's cave is active while the dialog is prepared, and the
// active cave is put back afterwards.
TEST(CompensDlg, ModificationRendLaCaviteActive) {
  Chemin k;
  TCompens* a = k.Compens("10", "E1", survey::CompensAlti);
  TCavite* autre = k.n.Cavite("Autre");
  k.n.R().LaCaviteActive = autre;
  survey::Document().RectifEnCours = true;
  k.n.Surface("S", 3, 95, 0);
  TCompensDlg d(k.n.R());
  d.InitRectif(a);
  EXPECT_EQ(k.n.R().LaCaviteActive, autre);
  EXPECT_EQ(d.windowTitle(), "Modification d'une compensation");
  EXPECT_EQ(T(d.LabelCavite), "Grotte");
  EXPECT_EQ(d.ListePointsSurface->currentItem()->text(), "E1");
  EXPECT_TRUE(d.TypeCompensRdg->Item(1)->isChecked());
  d.show();
  d.ListePointsSurface->setCurrentRow(1);
  d.TypeCompensRdg->Item(0)->click();
  d.OKBtn->click();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(k.n.R().Compensations.Count(), 1);
  EXPECT_EQ(a->PtJuste->DesignPTopo, "S");
  EXPECT_EQ(a->typeCompens, survey::CompensPlani);
  EXPECT_TRUE(survey::Document().DocumentModifie);
}

// --- The list ------------------------------------------------------------------------------

QStringList Ligne(QTreeWidget* l, int i) {
  QStringList r;
  for (int c = 0; c < l->columnCount(); ++c) r << l->topLevelItem(i)->text(c);
  return r;
}

void Touche(QWidget* w, int touche) {
  QKeyEvent appui(QEvent::KeyPress, touche, Qt::NoModifier);
  QApplication::sendEvent(w, &appui);
}

void DoubleClic(QTreeWidget* l, QTreeWidgetItem* item) {
  const QPoint p = l->visualItemRect(item).center();
  for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                         QEvent::MouseButtonRelease}) {
    QMouseEvent e(t, QPointF(p), l->viewport()->mapToGlobal(QPointF(p)), Qt::LeftButton,
                  t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(l->viewport(), &e);
  }
}

TEST(ChoixCompensDlg, LignesEtSuppression) {
  Chemin k;
  k.n.Surface("S", 3, 95, 0);
  k.Compens("5", "E1", survey::CompensPlani);
  k.Compens("10", "S", survey::CompensPlaniAlti);
  k.n.R().CalculeReseau();
  {
    // Shown only: the Delete key does nothing.
    TChoixCompensDlg d(k.n.R());
    d.show();
    EXPECT_EQ(d.windowTitle(), "Visualisation d'une compensation");
    ASSERT_EQ(d.ListeCompens->topLevelItemCount(), 2);
    EXPECT_EQ(d.ListeCompens->headerItem()->text(1), "Point de début");
    EXPECT_EQ(Ligne(d.ListeCompens, 0), (QStringList{"Grotte", "Surface - E1", "5 / Galerie d'entrée", "E1", "Planimétrie"}));
    EXPECT_EQ(Ligne(d.ListeCompens, 1),
              (QStringList{"Grotte", "5 / Galerie d'entrée", "10 / Galerie d'entrée", "S", "Plani + Alti"}));
    EXPECT_EQ(d.ListeCompens->currentItem(), d.ListeCompens->topLevelItem(1));
    Touche(d.ListeCompens, Qt::Key_Delete);
    EXPECT_TRUE(k.s.dialogues.Log().empty());
    EXPECT_EQ(k.n.R().Compensations.Count(), 2);
  }
  survey::Document().RectifEnCours = true;
  TChoixCompensDlg d(k.n.R());
  d.show();
  EXPECT_EQ(d.windowTitle(), "Modification d'une compensation");
  // No keeps it; Yes deletes it, recomputes and rebuilds the rows.
  k.s.dialogues.QueueAnswer(Answer::No);
  Touche(d.ListeCompens, Qt::Key_Delete);
  EXPECT_EQ(k.n.R().Compensations.Count(), 2);
  ASSERT_EQ(k.s.dialogues.Log().size(), 1u);
  EXPECT_EQ(k.s.dialogues.Log()[0].text, "Supprimer la compensation sélectionnée ?");
  EXPECT_FALSE(survey::Document().DocumentModifie);
  d.ListeCompens->setCurrentItem(d.ListeCompens->topLevelItem(0));
  k.s.dialogues.QueueAnswer(Answer::Yes);
  Touche(d.ListeCompens, Qt::Key_Delete);
  ASSERT_EQ(k.n.R().Compensations.Count(), 1);
  EXPECT_EQ(k.n.R().Compensations.First()->PtJuste->DesignPTopo, "S");
  EXPECT_TRUE(survey::Document().DocumentModifie);
  ASSERT_EQ(d.ListeCompens->topLevelItemCount(), 1);
  EXPECT_EQ(Ligne(d.ListeCompens, 0)[3], "S");
  // The start point is that of the computation without the deleted adjustment.
  EXPECT_EQ(Ligne(d.ListeCompens, 0)[1], "Surface - E1");
  for (const survey::TVisee* v : k.c->Visees)
    EXPECT_TRUE(v->CoeffsCompens == nullptr || v->CoeffsCompens == k.n.R().Compensations.First()->Valeur.get());
  // The last one gone, the list is disabled.
  k.s.dialogues.QueueAnswer(Answer::Yes);
  Touche(d.ListeCompens, Qt::Key_Delete);
  EXPECT_EQ(k.n.R().Compensations.Count(), 0);
  EXPECT_EQ(d.ListeCompens->topLevelItemCount(), 0);
  EXPECT_FALSE(d.ListeCompens->isEnabled());
}

TEST(ChoixCompensDlg, DoubleClicOuvreLaCompensation) {
  Chemin k;
  k.n.Surface("S", 3, 95, 0);
  TCompens* a = k.Compens("10", "E1", survey::CompensAlti);
  {
    TChoixCompensDlg d(k.n.R());
    d.show();
    QApplication::processEvents();
    std::string titre;
    bool okCache = false;
    SurLaFenetreModale([&](QDialog& m) {
      titre = m.windowTitle().toStdString();
      okCache = essai::Enfant<QPushButton>(m, "OKBtn")->isHidden();
      essai::Clic(m, "AnnulerBtn");
    });
    DoubleClic(d.ListeCompens, d.ListeCompens->topLevelItem(0));
    EXPECT_EQ(titre, "Visualisation d'une compensation");
    EXPECT_TRUE(okCache);
  }
  survey::Document().RectifEnCours = true;
  TChoixCompensDlg d(k.n.R());
  d.show();
  QApplication::processEvents();
  SurLaFenetreModale([&](QDialog& m) {
    EXPECT_EQ(m.windowTitle(), "Modification d'une compensation");
    auto* liste = essai::Enfant<QListWidget>(m, "ListePointsSurface");
    liste->setCurrentRow(1);
    essai::Clic(m, "TypeCompensRdg2");
    essai::Clic(m, "OKBtn");
  });
  DoubleClic(d.ListeCompens, d.ListeCompens->topLevelItem(0));
  EXPECT_EQ(a->PtJuste->DesignPTopo, "S");
  EXPECT_EQ(Ligne(d.ListeCompens, 0)[3], "S");
  EXPECT_EQ(Ligne(d.ListeCompens, 0)[4], "Plani + Alti");
  // Computed again afterwards: station 10 sits on S.
  EXPECT_NEAR(k.Station("10")->X, 3, 1e-9);
  EXPECT_NEAR(k.Station("10")->Y, 95, 1e-9);
}

}  // namespace
