// "Sélection des ... à importer", offscreen, driven by its controls' names
// with the file dialog scripted: its caption, nothing missing (the message
// and no window), "Tous" and "0", the first line selected and previewed,
// the categories of the imported entries, Cancel and OK.  The pattern file
// is tests/drawing/fixtures/import_511.mtf (see fabrique_mtf.py).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <memory>

#include "drawing/liste_mtf.h"
#include "drawing/ports_motifs.h"
#include "platform/qt/qt_canvas.h"
#include "platform/scripted_dialogs.h"
#include "tests/drawing/outils_import_motifs.h"
#include "tests/support/dossier_temp.h"
#include "tests/support/garde_contextes.h"
#include "views/motifs/import_motifs_dlg.h"

using drawing::TTypeMotif;
using views::TImportMotifsDlg;
using testimport::Fixture;
using testimport::NomCategorie;
using testimport::Noms;
using testimport::NomsCategories;

namespace {

template <class T>
T* Controle(QWidget& fenetre, const char* nom) {
  T* t = fenetre.findChild<T*>(QString::fromLatin1(nom));
  EXPECT_NE(t, nullptr) << nom;
  return t;
}

QStringList Lignes(QListWidget* l, bool cochees = false) {
  QStringList r;
  for (int i = 0; i < l->count(); ++i)
    if (!cochees || l->item(i)->checkState() == Qt::Checked) r << l->item(i)->text();
  return r;
}

class ImportMotifsDlg : public ::testing::Test {
 protected:
  ImportMotifsDlg() {
    document_.InitDefaut();
    drawing::Ports() = drawing::PortsMotifs();
    drawing::Ports().DocumentModifie = [this] { ++modifications_; };
  }

  platform::ScriptedDialogs dialogues_;
  drawing::tListeMtf document_{0};
  int modifications_ = 0;

 private:
  testsupport::GardeContextes contextes_;
  platform::ScopedDialogs garde_{dialogues_};
  drawing::GardePortsMotifs ports_;
  platform::QtCanvasFactory qt_;
  platform::ScopedCanvasFactory fabrique_{qt_};
};

}  // namespace

TEST_F(ImportMotifsDlg, ListePreviewEtCoches) {
  TImportMotifsDlg dlg(nullptr, TTypeMotif::tmRempli, document_);
  EXPECT_EQ(dlg.windowTitle(), "Sélection des remplissages à importer");
  dialogues_.QueueFile(Fixture("import_511.mtf"));
  ASSERT_TRUE(dlg.InitListe());
  EXPECT_EQ(dialogues_.Log().front().options.Filter, "cavités (*.cav) ou motifs (*.mtf)|*.cav;*.mtf");
  dlg.show();
  auto* liste = Controle<QListWidget>(dlg, "ImportMotifsBox");
  EXPECT_EQ(Lignes(liste), (QStringList{"Sable fin", "Glace"}));
  EXPECT_EQ(Lignes(liste, true), QStringList{});
  EXPECT_EQ(liste->currentRow(), 0);
  // The preview of the first line: the textured fill, not a white square.
  const QImage visu = Controle<QLabel>(dlg, "VisuMotif")->pixmap().toImage();
  ASSERT_FALSE(visu.isNull());
  int couleurs = 0;
  for (int y = 0; y < visu.height(); ++y)
    for (int x = 0; x < visu.width(); ++x) couleurs += visu.pixel(x, y) != qRgb(255, 255, 255);
  EXPECT_GT(couleurs, visu.width() * visu.height() / 10);
  // Another line, another preview.
  liste->setCurrentRow(1);
  EXPECT_NE(Controle<QLabel>(dlg, "VisuMotif")->pixmap().toImage(), visu);

  Controle<QPushButton>(dlg, "TousBtn")->click();
  EXPECT_EQ(Lignes(liste, true), (QStringList{"Sable fin", "Glace"}));
  Controle<QPushButton>(dlg, "AucunBtn")->click();
  EXPECT_EQ(Lignes(liste, true), QStringList{});
  EXPECT_EQ(Controle<QPushButton>(dlg, "AucunBtn")->text(), "0");
  EXPECT_EQ(Controle<QCheckBox>(dlg, "ImportCatBox")->text(), "Importer les catégories");
}

TEST_F(ImportMotifsDlg, RienAImporterNOuvrePasLaFenetre) {
  testsupport::DossierTemp dossier;
  const std::string copie = dossier.Fichier("copie.mtf");
  ASSERT_TRUE(drawing::EcritFichierMtf(copie, document_));
  dialogues_.Clear();
  TImportMotifsDlg dlg(nullptr, TTypeMotif::tmFonte, document_);
  dialogues_.QueueFile(copie);
  EXPECT_FALSE(dlg.InitListe());
  EXPECT_EQ(dialogues_.Messages(), std::vector<std::string>{"il n'y a aucun motif à importer"});
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(Controle<QListWidget>(dlg, "ImportMotifsBox")->count(), 0);
  // Cancelled file dialog: nothing either, and nothing said.
  dialogues_.Clear();
  dialogues_.QueueFile(std::nullopt);
  EXPECT_FALSE(dlg.InitListe());
  EXPECT_TRUE(dialogues_.Messages().empty());
}

// Fonts imported: into the manager's current category or, with "Importer les
// catégories", into the category of the same name (reused or created); none
// for the undefined one.  Cancel imports nothing and leaves the document
// flag alone; OK sets it.
TEST_F(ImportMotifsDlg, CategoriesAnnulerEtOK) {
  struct Cas {
    const char* nom;
    bool annule;
    bool courante;  // the manager shows "Mes fontes", else the undefined category
    bool categories;
    std::vector<std::string> categoriesArrivees, categoriesListe;
  };
  const Cas cas[] = {
      {"Annuler", true, true, false, {}, {"Mes fontes"}},
      {"catégorie courante", false, true, false, {"Mes fontes", "Mes fontes"}, {"Mes fontes"}},
      {"catégorie non définie", false, false, false, {"-", "-"}, {"Mes fontes"}},
      {"catégories importées", false, true, true, {"Textes", "-"}, {"Mes fontes", "Textes"}},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(c.nom);
    drawing::tListeMtf document(0);
    document.InitDefaut();
    drawing::TCategorieMotifs* mes = document.ListeFontes.AjouteCategorie("Mes fontes");
    const int avant = document.ListeFontes.Count();
    modifications_ = 0;
    TImportMotifsDlg dlg(nullptr, TTypeMotif::tmFonte, document);
    dlg.vCatCourante = c.courante ? mes : nullptr;
    dialogues_.QueueFile(Fixture("import_511.mtf"));
    ASSERT_TRUE(dlg.InitListe());
    dlg.show();
    Controle<QPushButton>(dlg, "TousBtn")->click();
    Controle<QCheckBox>(dlg, "ImportCatBox")->setChecked(c.categories);
    Controle<QPushButton>(dlg, c.annule ? "AnnulerBtn" : "OKBtn")->click();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), c.annule ? QDialog::Rejected : QDialog::Accepted);
    EXPECT_EQ(modifications_, c.annule ? 0 : 1);
    EXPECT_EQ(Noms(document.ListeFontes, avant),
              c.annule ? std::vector<std::string>{} : (std::vector<std::string>{"Légende", "Cote"}));
    std::vector<std::string> categories;
    for (int i = avant; i < document.ListeFontes.Count(); ++i) categories.push_back(NomCategorie(document.ListeFontes.UnObjet(i)));
    EXPECT_EQ(categories, c.categoriesArrivees);
    EXPECT_EQ(NomsCategories(document.ListeFontes), c.categoriesListe);
  }
}
