// The texture dialog driven through its controls on the default textures:
// loading, the size group of each kind, the density, the name check on OK,
// Cancel.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "drawing/contexte_motifs.h"
#include "drawing/texture.h"
#include "tests/drawing/outils_motifs.h"
#include "tests/views/motifs/outils_fenetres_motifs.h"
#include "views/motifs/cadre_couleur.h"
#include "views/motifs/edit_texture_dlg.h"

namespace {

using namespace essaimotifs;
using drawing::tTexture;
using views::TEditTextureDlg;

class EditTexture : public FenetresMotifs {
 protected:
  EditTexture() {
    drawing::Ports().GraineTexture = [] { return uint64_t{11}; };
    textures_.InitDefaut();
  }
  tTexture& Texture(int i) { return *textures_.LaTexture(i); }
  drawing::TListeTextures textures_;
};

TEST_F(EditTexture, ChargementEtGroupeDesTaillesSelonLeType) {
  {
    // "Argile": dashes, density 15, size 3.
    TEditTextureDlg d(nullptr, Texture(1));
    d.show();
    EXPECT_EQ(d.windowTitle(), "Gestion des textures");
    EXPECT_EQ(Controle<QLineEdit>(d, "NomEdit")->text(), "Argile");
    EXPECT_EQ(Controle<QComboBox>(d, "TypeBox")->currentText(), "Traits");
    EXPECT_EQ(Controle<views::TCadreCouleur>(d, "CadreCouleur")->Couleur(), drawing::RGB(128, 0, 0));
    EXPECT_EQ(Controle<views::TCadreCouleur>(d, "CadreCouleur")->toolTip(),
              "Cliquer dans le carré pour changer la couleur");
    EXPECT_EQ(Controle<QSpinBox>(d, "DensiteUD")->value(), 67);
    EXPECT_EQ(Controle<QSpinBox>(d, "TailleUD1")->value(), 1) << "the dash width";
    EXPECT_EQ(Controle<QSpinBox>(d, "TailleUD2")->value(), 3);
  }
  struct Cas {
    const char* type;
    bool tailles;
    const char* libelle1;
    const char* libelle2;
    int minimum1;
  };
  const Cas cas[] = {
      {"Points", false, "", "", 0},
      {"Traits", true, "Epaisseur :", "Taille :", 1},
      {"Polygones", true, "Taille min :", "Taille max :", 0},
      {"Polygones pleins", true, "Taille min :", "Taille max :", 0},
      {"Etoiles", false, "", "", 0},
      {"Cailloutis", true, "Taille min :", "Taille max :", 0},
  };
  TEditTextureDlg d(nullptr, Texture(0));
  d.show();
  ASSERT_EQ(Controle<QComboBox>(d, "TypeBox")->count(), 6);
  for (int i = 0; i < 6; ++i) {
    const Cas& c = cas[i];
    Controle<QComboBox>(d, "TypeBox")->setCurrentIndex(i);
    EXPECT_EQ(Controle<QComboBox>(d, "TypeBox")->currentText(), c.type);
    EXPECT_EQ(d.MotifCourant->TypeTexture, i + 1) << c.type;
    EXPECT_EQ(Controle<QGroupBox>(d, "TailleGrp")->isVisible(), c.tailles) << c.type;
    if (!c.tailles) continue;
    EXPECT_EQ(Controle<QLabel>(d, "LabelTaille1")->text(), c.libelle1) << c.type;
    EXPECT_EQ(Controle<QLabel>(d, "LabelTaille2")->text(), c.libelle2) << c.type;
    EXPECT_EQ(Controle<QSpinBox>(d, "TailleUD1")->minimum(), c.minimum1) << c.type;
  }
}

TEST_F(EditTexture, ChaqueControleVaDansLaTextureEtLApercu) {
  tTexture& graviers = Texture(2);
  TEditTextureDlg d(nullptr, graviers);
  d.show();
  tTexture& t = *d.MotifCourant;
  Controle<QSpinBox>(d, "DensiteUD")->setValue(3);
  EXPECT_EQ(t.Densite, 333);
  Controle<QSpinBox>(d, "TailleUD1")->setValue(4);
  EXPECT_EQ(t.TailleMin, 4);
  EXPECT_EQ(t.Epaisseur, 4) << "both from the first size";
  Controle<QSpinBox>(d, "TailleUD2")->setValue(12);
  EXPECT_EQ(t.TailleMax, 12);
  Controle<QLineEdit>(d, "NomEdit")->setText("Gros graviers");
  EXPECT_EQ(t.DesignMotif, "Gros graviers");
  const auto verts = [&] {
    const QImage i = Controle<QLabel>(d, "VisuTexture")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    return Compte(i, i.rect(), 0x00FF00);
  };
  EXPECT_EQ(verts(), 0);
  scripte_.QueueColour(0x00FF00);
  Clique(Controle<views::TCadreCouleur>(d, "CadreCouleur"), {4, 4});
  EXPECT_EQ(t.Couleur, 0x00FF00u);
  EXPECT_GT(verts(), 50) << "the preview is regenerated";
  EXPECT_EQ(graviers.Couleur, 0u) << "the entry waits for OK";
  EXPECT_EQ(graviers.Densite, 150);
  Controle<QPushButton>(d, "OKBtn")->click();
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(graviers.DesignMotif, "Gros graviers");
  EXPECT_EQ(graviers.Densite, 333);
  EXPECT_EQ(graviers.Couleur, 0x00FF00u);
  EXPECT_EQ(graviers.TailleMax, 12);
}

TEST_F(EditTexture, SansNomOKEstRefuseEtAnnulerNeChangeRien) {
  tTexture& sable = Texture(0);
  const std::string avant = testmotifs::Octets(sable);
  for (const char* nom : {"", "   "}) {
    TEditTextureDlg d(nullptr, sable);
    d.show();
    scripte_.Clear();
    Controle<QLineEdit>(d, "NomEdit")->setText(QString::fromUtf8(nom));
    Controle<QPushButton>(d, "OKBtn")->click();
    EXPECT_TRUE(d.isVisible()) << "'" << nom << "'";
    EXPECT_EQ(scripte_.Messages(), std::vector<std::string>{"Vous n'avez pas donné de nom à cette texture"});
    Controle<QSpinBox>(d, "DensiteUD")->setValue(1);
    Controle<QPushButton>(d, "AnnulerBtn")->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
  }
  EXPECT_EQ(testmotifs::Hex(testmotifs::Octets(sable)), testmotifs::Hex(avant));
  // The previews' built-in style does not keep the freed working copy.
  EXPECT_EQ(drawing::Motifs().TraitParoi.UneTexture, nullptr);
}

}  // namespace
