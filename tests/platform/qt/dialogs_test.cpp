// The Qt dialog port driven through its controls under the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <functional>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_dialogs.h"
#include "tests/support/dossier_temp.h"

using namespace platform;

namespace {

// Runs the action on the modal window once it is shown (polling the event
// loop of its exec), failing after two seconds.
void QuandModal(std::function<bool(QWidget*)> action) {
  auto* timer = new QTimer;
  auto debut = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, action, debut]() {
    QWidget* w = QApplication::activeModalWidget();
    if ((w && w->isVisible() && action(w)) || ++*debut > 200) {
      timer->stop();
      timer->deleteLater();
    }
  });
  timer->start(10);
}

QStringList Boutons(QMessageBox* box) {
  QStringList out;
  for (QAbstractButton* b : box->buttons()) out << b->text();
  out.sort();
  return out;
}

bool Clique(QMessageBox* box, const QString& texte) {
  for (QAbstractButton* b : box->buttons())
    if (b->text() == texte) {
      b->click();
      return true;
    }
  return false;
}

}  // namespace

TEST(QtDialogs, QuestionsPiloteesParLeursBoutons) {
  QtDialogs d;
  struct Case {
    const char* bouton;
    bool annuler;
    Answer attendu;
  };
  const Case cases[] = {
      {"Oui", false, Answer::Yes}, {"Non", false, Answer::No},     {"Oui", true, Answer::Yes},
      {"Non", true, Answer::No},   {"Annuler", true, Answer::Cancel},
  };
  for (const Case& c : cases) {
    QStringList vus;
    QString titre;
    QPoint centre;
    QuandModal([&](QWidget* w) {
      auto* box = qobject_cast<QMessageBox*>(w);
      if (!box) return false;
      vus = Boutons(box);
      titre = box->windowTitle();
      centre = box->frameGeometry().center();
      return Clique(box, QString::fromUtf8(c.bouton));
    });
    const Answer r = c.annuler ? d.AskYesNoCancel("Enregistrer les modifications ?", "")
                               : d.AskYesNo("Continuer ?", "");
    EXPECT_EQ(r, c.attendu) << c.bouton;
    EXPECT_EQ(vus, c.annuler ? (QStringList{"Annuler", "Non", "Oui"}) : (QStringList{"Non", "Oui"})) << c.bouton;
    EXPECT_EQ(titre, "Confirmation");
    const QPoint milieu = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((centre - milieu).manhattanLength(), 4) << c.bouton;
  }
}

TEST(QtDialogs, MessageAvecOK) {
  QtDialogs d;
  QString texte, titre;
  QuandModal([&](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (!box) return false;
    texte = box->text();
    titre = box->windowTitle();
    return Clique(box, "OK");
  });
  d.ShowMessage(MessageKind::Error, "Fichier illisible", "");
  EXPECT_EQ(texte, "Fichier illisible");
  EXPECT_EQ(titre, "Erreur");
}

TEST(QtDialogs, SaisieDUneLigne) {
  QtDialogs d;
  QuandModal([](QWidget* w) {
    auto* in = qobject_cast<QInputDialog*>(w);
    if (!in) return false;
    in->findChild<QLineEdit*>()->setText("Galerie 2");
    for (QPushButton* b : in->findChildren<QPushButton*>())
      if (b->text() == "OK") b->click();
    return true;
  });
  EXPECT_EQ(d.Prompt("Nouvelle galerie", "Nom :", "Galerie 1"), std::optional<std::string>("Galerie 2"));
  QString initial;
  QuandModal([&](QWidget* w) {
    auto* in = qobject_cast<QInputDialog*>(w);
    if (!in) return false;
    initial = in->textValue();
    for (QPushButton* b : in->findChildren<QPushButton*>())
      if (b->text() == "Annuler") b->click();
    return true;
  });
  EXPECT_EQ(d.Prompt("Nouvelle galerie", "Nom :", "Galerie 1"), std::nullopt);
  EXPECT_EQ(initial, "Galerie 1");
}

TEST(QtDialogs, FiltresTraduits) {
  EXPECT_EQ(QtNameFilters("Réseaux|*.cav|Tous|*.tab; *.XTB|"),
            (QStringList{"Réseaux (*.cav)", "Tous (*.tab *.XTB)"}));
  FileDialogOptions o;
  o.Filter = "Fichiers texte|*.txt|Fichiers csv|*.csv|Tous|*.*";
  o.DefaultExtension = "txt";
  struct Case {
    const char* chemin;
    int filtre;
    const char* attendu;
  };
  const Case cases[] = {
      {"/d/rapport", 2, "/d/rapport.csv"},     {"/d/rapport", 1, "/d/rapport.txt"},
      {"/d/rapport", 3, "/d/rapport.txt"},     {"/d/rapport.CSV", 1, "/d/rapport.CSV"},
      {"/d.x/rapport", 2, "/d.x/rapport.csv"}, {"/d/", 1, "/d/"},
  };
  for (const Case& c : cases) EXPECT_EQ(WithDefaultExtension(c.chemin, o, c.filtre), c.attendu) << c.chemin;
}

TEST(QtDialogs, EnregistrerGardeLeFiltreEtAjouteLExtension) {
  testsupport::DossierTemp dossier;
  QtDialogs d;
  FileDialogOptions o;
  o.Title = "Export";
  o.Filter = "Fichiers texte|*.txt|Fichiers csv|*.csv";
  o.FilterIndex = 2;
  o.DefaultExtension = "txt";
  o.InitialFolder = dossier.Chemin();
  QString filtreVu, titre;
  QuandModal([&](QWidget* w) {
    auto* f = qobject_cast<QFileDialog*>(w);
    if (!f) return false;
    filtreVu = f->selectedNameFilter();
    titre = f->windowTitle();
    f->findChild<QLineEdit*>("fileNameEdit")->setText("mesures");
    QMetaObject::invokeMethod(f, "accept", Qt::QueuedConnection);
    return true;
  });
  const auto choix = d.SaveFile(o);
  ASSERT_TRUE(choix);
  EXPECT_EQ(filtreVu, "Fichiers csv (*.csv)");
  EXPECT_EQ(titre, "Export");
  EXPECT_EQ(choix->FilterIndex, 2);
  EXPECT_EQ(choix->Path, dossier.Fichier("mesures.csv"));
}

TEST(QtDialogs, OuvrirMontreLesFichiersQuelleQueSoitLaCasse) {
  testsupport::DossierTemp dossier;
  testsupport::EcritOctets(dossier.Fichier("GROTTE.CAV"), "x");
  testsupport::EcritOctets(dossier.Fichier("gouffre.Cav"), "x");
  testsupport::EcritOctets(dossier.Fichier("notes.txt"), "x");
  QtDialogs d;
  FileDialogOptions o;
  o.Filter = "Réseaux|*.cav|Tous|*.*";
  o.InitialFolder = dossier.Chemin();
  QStringList vus;
  QuandModal([&](QWidget* w) {
    auto* f = qobject_cast<QFileDialog*>(w);
    if (!f) return false;
    auto* vue = f->findChild<QListView*>("listView");
    if (!vue || !vue->model()) return false;
    const QModelIndex racine = vue->rootIndex();
    if (vue->model()->rowCount(racine) < 2) return false;  // still loading
    for (int i = 0; i < vue->model()->rowCount(racine); ++i)
      vus << vue->model()->index(i, 0, racine).data().toString();
    f->findChild<QLineEdit*>("fileNameEdit")->setText("GROTTE.CAV");
    QMetaObject::invokeMethod(f, "accept", Qt::QueuedConnection);
    return true;
  });
  const auto choix = d.OpenFile(o);
  ASSERT_TRUE(choix);
  vus.sort();
  EXPECT_EQ(vus, (QStringList{"GROTTE.CAV", "gouffre.Cav"}));
  EXPECT_EQ(choix->Path, dossier.Fichier("GROTTE.CAV"));
  EXPECT_EQ(choix->FilterIndex, 1);
}

TEST(QtDialogs, SablierImbrique) {
  QtDialogs d;
  ScopedDialogs garde(d);
  {
    BusyCursor a;
    BusyCursor b;
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The colour dialog opens on the colour and gives back the one accepted;
// the font dialog, scalable fonts only, opens on the font (a Windows face
// by the face standing for it) and gives back face, size and style bits,
// keeping the colour it was given.
TEST(QtDialogs, CouleurEtPolice) {
  QtDialogs d;
  QColor ouverte;
  QuandModal([&](QWidget* w) {
    auto* c = qobject_cast<QColorDialog*>(w);
    if (!c) return false;
    ouverte = c->currentColor();
    c->setCurrentColor(QColor(10, 20, 30));
    c->accept();
    return true;
  });
  EXPECT_EQ(d.ChooseColour(0x0000FF), std::optional<uint32_t>(0x1E140Au));
  EXPECT_EQ(ouverte, QColor(255, 0, 0));
  QuandModal([&](QWidget* w) {
    auto* c = qobject_cast<QColorDialog*>(w);
    if (!c) return false;
    c->reject();
    return true;
  });
  EXPECT_EQ(d.ChooseColour(0), std::nullopt);

  QFont vue;
  bool scalables = false;
  QuandModal([&](QWidget* w) {
    auto* f = qobject_cast<QFontDialog*>(w);
    if (!f) return false;
    vue = f->currentFont();
    scalables = f->testOption(QFontDialog::ScalableFonts);
    QFont choisie = f->currentFont();
    choisie.setPointSize(18);
    choisie.setStrikeOut(true);
    f->setCurrentFont(choisie);
    f->accept();
    return true;
  });
  const auto choix = d.ChooseFont(FontChoice{"Times New Roman", 12, kFontBold | kFontItalic, 0x00FF00});
  EXPECT_TRUE(scalables);
  EXPECT_EQ(vue.family(), FontFace("Times New Roman"));
  EXPECT_TRUE(vue.bold() && vue.italic() && !vue.underline());
  ASSERT_TRUE(choix.has_value());
  EXPECT_EQ(choix->Size, 18);
  EXPECT_EQ(choix->Style, kFontBold | kFontItalic | kFontStrikeOut);
  EXPECT_EQ(choix->Colour, 0x00FF00u);
  EXPECT_FALSE(choix->Name.empty());
}
