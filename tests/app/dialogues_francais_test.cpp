// The standard dialogs as a user sees them after start-up: Qt's own texts
// (file dialog columns, places, buttons) in French once the start-up's
// translations are installed, and the Open dialog's filters each shown once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QListView>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>
#include <functional>
#include <memory>

#include "app/application.h"
#include "foundation/catalogue.h"
#include "platform/qt/qt_dialogs.h"
#include "tests/support/dossier_temp.h"

// Qt texts printed as text in the failures.
static void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

// Runs the action on the modal window once it is shown, giving up after five
// seconds.
void QuandModal(std::function<bool(QWidget*)> action) {
  auto* minuterie = new QTimer;
  auto essais = std::make_shared<int>(0);
  QObject::connect(minuterie, &QTimer::timeout, [minuterie, action, essais] {
    QWidget* w = QApplication::activeModalWidget();
    if ((w && w->isVisible() && action(w)) || ++*essais > 500) {
      minuterie->stop();
      minuterie->deleteLater();
    }
  });
  minuterie->start(10);
}

// The translations installed for the test, removed after it (the other
// tests of the run see Qt's own texts).
class GardeTraductions {
 public:
  GardeTraductions() { installees_ = app::InstalleTraductionsQt(); }
  ~GardeTraductions() {
    for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly)) {
      QCoreApplication::removeTranslator(t);
      delete t;
    }
  }
  GardeTraductions(const GardeTraductions&) = delete;
  GardeTraductions& operator=(const GardeTraductions&) = delete;
  bool Installees() const { return installees_; }

 private:
  bool installees_ = false;
};

struct DialogueVu {
  QStringList colonnes, filtres, boutons;
  QString filtreChoisi, lieux;
};

// The Open dialog of the port with the main window's filter, as shown.
DialogueVu OuvertureVue(const std::string& dossier) {
  platform::QtDialogs d;
  platform::FileDialogOptions o;
  o.Filter = foundation::Msg(foundation::IdMsg::AppFiltreOuvrir);
  o.FilterIndex = 3;
  o.InitialFolder = dossier;
  DialogueVu vu;
  QuandModal([&](QWidget* w) {
    auto* f = qobject_cast<QFileDialog*>(w);
    if (!f) return false;
    auto* arbre = f->findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!arbre || !arbre->model()) return false;
    for (int i = 0; i < arbre->model()->columnCount(); ++i)
      vu.colonnes << arbre->model()->headerData(i, Qt::Horizontal).toString();
    auto* types = f->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    for (int i = 0; i < types->count(); ++i) vu.filtres << types->itemText(i);
    vu.filtreChoisi = types->currentText();
    for (QPushButton* b : f->findChildren<QPushButton*>()) vu.boutons << b->text();
    if (auto* cotes = f->findChild<QListView*>(QStringLiteral("sidebar")); cotes && cotes->model())
      for (int i = 0; i < cotes->model()->rowCount(); ++i)
        vu.lieux += cotes->model()->index(i, 0).data().toString() + QLatin1Char(';');
    f->reject();
    return true;
  });
  EXPECT_EQ(d.OpenFile(o), std::nullopt);
  return vu;
}

}  // namespace

TEST(DialoguesFrancais, DialogueDOuvertureEnFrancaisEtFiltresUneFois) {
  testsupport::DossierTemp dossier;
  GardeTraductions traductions;
  ASSERT_TRUE(traductions.Installees()) << "qtbase_fr absent (paquet qt6-translations-l10n)";
  EXPECT_TRUE(app::InstalleTraductionsQt());  // a second call keeps the first
  EXPECT_EQ(QCoreApplication::instance()->findChildren<QTranslator*>(Qt::FindDirectChildrenOnly).size(), 1);

  const DialogueVu vu = OuvertureVue(dossier.Chemin());
  EXPECT_EQ(vu.colonnes, (QStringList{"Nom", "Taille", "Type", "Dernière modification"}));
  EXPECT_FALSE(vu.lieux.contains("Computer")) << vu.lieux.toStdString();
  EXPECT_TRUE(vu.boutons.contains("Ouvrir")) << vu.boutons.join('|').toStdString();
  EXPECT_TRUE(vu.boutons.contains("Annuler")) << vu.boutons.join('|').toStdString();
  for (const QString& b : vu.boutons) EXPECT_TRUE(b != "Open" && b != "Cancel") << b.toStdString();

  // Each description once; Qt's patterns are the entry's own.
  EXPECT_EQ(vu.filtres, (QStringList{"Fichiers Gravelune (*.cav)",
                                     "Fichiers TopoRobot (*.tab) / GHTopo (*.xtb) (*.tab *.xtb)",
                                     "Fichiers VTopo (*.Tro)", "Tableau Texte (*.Txt)", "Fichiers Pocket Topo(*.Top)",
                                     "Fichiers d'export Auriga (*.th + txt) (*.th)",
                                     "Fichiers d'export TopoDroid / Qave (*.th + svg) (*.th)"}));
  EXPECT_EQ(vu.filtreChoisi, "Fichiers VTopo (*.Tro)");
}

TEST(DialoguesFrancais, BoutonsStandardEnFrancais) {
  GardeTraductions traductions;
  ASSERT_TRUE(traductions.Installees());
  QDialogButtonBox boutons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                           QDialogButtonBox::No | QDialogButtonBox::Close);
  EXPECT_EQ(boutons.button(QDialogButtonBox::Cancel)->text(), "Annuler");
  EXPECT_EQ(boutons.button(QDialogButtonBox::Yes)->text(), "&Oui");
  EXPECT_EQ(boutons.button(QDialogButtonBox::No)->text(), "&Non");
  EXPECT_EQ(boutons.button(QDialogButtonBox::Close)->text(), "Fermer");
}

TEST(DialoguesFrancais, FiltresMontresUneFois) {
  EXPECT_EQ(platform::QtNameFilters("Fichiers Gravelune (*.cav)|*.cav|Tableau Texte|*.Txt|Plans (*.DXF)|*.dxf|"
                                    "Deux  (*.a) / (*.b)|*.a;*.b|(*.x)|*.x"),
            (QStringList{"Fichiers Gravelune (*.cav)", "Tableau Texte (*.Txt)", "Plans (*.DXF)",
                         "Deux (*.a) / (*.b) (*.a *.b)", "(*.x)"}));
}
