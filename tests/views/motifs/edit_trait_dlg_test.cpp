// The line-style dialog driven through its controls on the entries of a
// default library: the load rules, the kind change, every control copied
// into the style, OK and Cancel.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "drawing/dessin_ferme.h"
#include "drawing/liste_mtf.h"
#include "tests/drawing/outils_motifs.h"
#include "tests/views/motifs/outils_fenetres_motifs.h"
#include "views/motifs/cadre_couleur.h"
#include "views/motifs/edit_trait_dlg.h"

namespace {

using namespace essaimotifs;
using drawing::TModePlume;
using drawing::TObjetTrait;
using drawing::TStylePinceau;
using views::TEditTraitDlg;

class EditTrait : public FenetresMotifs {
 protected:
  EditTrait() { bibliotheque_.InitDefaut(); }
  TObjetTrait& Trait(int i) { return static_cast<TObjetTrait&>(*bibliotheque_.ListeTraits.UnObjet(i)); }
  TObjetTrait& Rempli(int i) { return static_cast<TObjetTrait&>(*bibliotheque_.ListeRemplis.UnObjet(i)); }
  drawing::tListeMtf bibliotheque_;
};

// Whether most of the group is painted silver in the dialog's picture (the
// style may shade the inside of a group a little).
bool GroupeArgent(TEditTraitDlg& d, QGroupBox* g) {
  const QImage i = Image(&d);
  const QRect r(g->mapTo(&d, QPoint(0, 0)), g->size());
  int argent = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) {
      const QColor c = i.pixelColor(x, y);
      argent += std::abs(c.red() - 192) <= 6 && std::abs(c.green() - 192) <= 6 && std::abs(c.blue() - 192) <= 6;
    }
  return argent > r.width() * r.height() / 2;
}

TEST_F(EditTrait, ChargementSelonLeGenreEtLeVerrou) {
  struct Cas {
    const char* nom;
    bool rempli;
    bool verrou;
    bool genreActif;
    bool habillageVisible;
  };
  const Cas cas[] = {
      {"line style", false, false, true, true},
      {"locked line style", false, true, false, true},
      {"fill", true, false, false, false},
      {"locked fill", true, true, false, false},
  };
  for (const Cas& c : cas) {
    TObjetTrait& entree = c.rempli ? Rempli(0) : Trait(0);
    entree.SetVerrou(c.verrou);
    TEditTraitDlg d(nullptr, entree);
    d.show();
    EXPECT_EQ(d.windowTitle(), "Gestion des types de dessin") << c.nom;
    EXPECT_EQ(Controle<QGroupBox>(d, "GenreRdg")->isEnabled(), c.genreActif) << c.nom;
    EXPECT_EQ(Controle<QCheckBox>(d, "HabillageChk")->isVisible(), c.habillageVisible) << c.nom;
    EXPECT_TRUE(Controle<QCheckBox>(d, "HabillageChk")->isEnabled()) << c.nom;
    EXPECT_EQ(GroupeArgent(d, Controle<QGroupBox>(d, "GenreRdg")), !c.genreActif) << c.nom;
    EXPECT_EQ(Controle<QRadioButton>(d, "SurfaciqueRdb")->isChecked(), c.rempli) << c.nom;
  }
  // The controls' lists.
  TEditTraitDlg d(nullptr, Trait(0));
  auto* dash = Controle<QComboBox>(d, "TypeTraitBox");
  EXPECT_EQ(dash->count(), 11);
  EXPECT_EQ(dash->itemText(10), "Hachure de pente");
  EXPECT_EQ(Controle<QSpinBox>(d, "EpaisseurUD")->minimum(), 1);
  EXPECT_EQ(Controle<QSpinBox>(d, "EpaisseurUD")->maximum(), 99);
  auto* types = Controle<QComboBox>(d, "TypeRemplissageBox");
  EXPECT_EQ(types->count(), 7);
  EXPECT_EQ(types->itemText(0), "Plein");
  EXPECT_EQ(types->itemText(6), "Croisillons diagonale");
  auto* motifs = Controle<QComboBox>(d, "MotifRemplissageBox");
  ASSERT_EQ(motifs->count(), 4);
  EXPECT_EQ(motifs->itemText(0), "Uni");
  EXPECT_EQ(motifs->itemText(2), "Argile");
}

TEST_F(EditTrait, ChangementDeGenreEtMotifDeRemplissage) {
  TObjetTrait& entree = Trait(0);  // "Paroi", an open line
  TEditTraitDlg d(nullptr, entree);
  d.show();
  TObjetTrait& m = *d.MotifCourant;
  auto* groupe = Controle<QGroupBox>(d, "MotifRemplissageGrp");
  auto* types = Controle<QComboBox>(d, "TypeRemplissageBox");
  auto* motifs = Controle<QComboBox>(d, "MotifRemplissageBox");
  EXPECT_FALSE(groupe->isEnabled());
  EXPECT_TRUE(GroupeArgent(d, groupe));
  EXPECT_EQ(types->currentIndex(), -1);
  EXPECT_EQ(motifs->currentIndex(), -1);

  // "Surfacique": the fill lists take their first item, "Uni".
  Controle<QRadioButton>(d, "SurfaciqueRdb")->click();
  EXPECT_TRUE(groupe->isEnabled());
  EXPECT_FALSE(GroupeArgent(d, groupe));
  EXPECT_EQ(types->currentIndex(), 0);
  EXPECT_EQ(motifs->currentIndex(), 0);
  EXPECT_EQ(m.NumMotif, 0);
  EXPECT_EQ(m.UneTexture, nullptr);

  // The second texture, a hatched brush of its colour.
  motifs->setCurrentIndex(2);
  EXPECT_EQ(m.NumMotif, 2);
  EXPECT_EQ(m.UneTexture, bibliotheque_.ListeTextures.LaTexture(1));
  types->setCurrentIndex(5);
  EXPECT_EQ(m.StylePinceau, TStylePinceau::bsCross);
  scripte_.QueueColour(0x00FF00);
  Clique(Controle<views::TCadreCouleur>(d, "CouleurPinceau"), {4, 4});
  EXPECT_EQ(m.CouleurPinceau, 0x00FF00u);

  // Back to "Linéaire": solid white brush, no fill, nothing selected.
  Controle<QRadioButton>(d, "LineaireRdb")->click();
  EXPECT_EQ(m.NumMotif, -1);
  EXPECT_EQ(m.UneTexture, nullptr);
  EXPECT_EQ(m.StylePinceau, TStylePinceau::bsSolid);
  EXPECT_EQ(m.CouleurPinceau, 0xFFFFFFu);
  EXPECT_EQ(types->currentIndex(), -1);
  EXPECT_EQ(motifs->currentIndex(), -1);
}

TEST_F(EditTrait, ChaqueControleVaDansLeStyleEtLApercu) {
  TEditTraitDlg d(nullptr, Trait(0));
  d.show();
  TObjetTrait& m = *d.MotifCourant;
  Controle<QLineEdit>(d, "NomEdit")->setText("Paroi rouge");
  EXPECT_EQ(m.DesignMotif, "Paroi rouge");
  Controle<QRadioButton>(d, "PlanRdb")->click();
  EXPECT_EQ(m.CoupePlan, 0);
  Controle<QCheckBox>(d, "HabillageChk")->setChecked(true);
  EXPECT_EQ(m.CoupePlan, 10);
  Controle<QComboBox>(d, "TypeTraitBox")->setCurrentIndex(8);
  EXPECT_EQ(m.StylePlume, drawing::MesPenStyle::mpsTriangle);
  Controle<QSpinBox>(d, "EpaisseurUD")->setValue(4);
  EXPECT_EQ(m.EpaisseurPlume, 4);
  Controle<QCheckBox>(d, "TraitLisseChk")->setChecked(true);
  EXPECT_TRUE(m.TraitLisse);
  // The pen colour reaches the preview at once.
  const auto rouges = [&] {
    const QImage i = Controle<QLabel>(d, "VisuMotif")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < i.height(); ++y)
      for (int x = 0; x < i.width(); ++x) n += Pixel(i, x, y) == 0x0000FF;
    return n;
  };
  EXPECT_EQ(rouges(), 0);
  scripte_.QueueColour(0x0000FF);
  Clique(Controle<views::TCadreCouleur>(d, "CouleurPlume"), {4, 4});
  EXPECT_EQ(m.CouleurPlume, 0x0000FFu);
  EXPECT_GT(rouges(), 20);
}

TEST_F(EditTrait, OKEcritLEntreeAnnulerLaLaisseIntacte) {
  // "Habillage" alone, then OK: the drawing kind plus 10.
  {
    TObjetTrait& entree = Trait(1);
    const int32_t coupePlan = entree.CoupePlan;
    TEditTraitDlg d(nullptr, entree);
    d.show();
    Controle<QCheckBox>(d, "HabillageChk")->setChecked(true);
    EXPECT_EQ(entree.CoupePlan, coupePlan) << "the entry waits for OK";
    Controle<QPushButton>(d, "OKBtn")->click();
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(entree.CoupePlan, coupePlan + 10);
  }
  // A not-xor fill edited and confirmed ends in copy mode.
  {
    TObjetTrait& eau = Rempli(0);
    ASSERT_EQ(eau.ModePlume, TModePlume::pmNotXor);
    TEditTraitDlg d(nullptr, eau);
    d.show();
    Controle<QPushButton>(d, "OKBtn")->click();
    EXPECT_EQ(eau.ModePlume, TModePlume::pmCopy);
    EXPECT_EQ(eau.NumMotif, 0);
    EXPECT_EQ(eau.DesignMotif, "Eau");
  }
  // Cancel after changes: the record is the same, byte for byte.
  {
    TObjetTrait& sable = Rempli(2);  // textured, not-xor
    const std::string avant = testmotifs::Octets(sable);
    drawing::tTexture* texture = sable.UneTexture;
    TEditTraitDlg d(nullptr, sable);
    d.show();
    Controle<QLineEdit>(d, "NomEdit")->setText("autre");
    Controle<QComboBox>(d, "MotifRemplissageBox")->setCurrentIndex(0);
    Controle<QSpinBox>(d, "EpaisseurUD")->setValue(9);
    Controle<QPushButton>(d, "AnnulerBtn")->click();
    EXPECT_EQ(d.result(), QDialog::Rejected);
    EXPECT_EQ(testmotifs::Hex(testmotifs::Octets(sable)), testmotifs::Hex(avant));
    EXPECT_EQ(sable.UneTexture, texture);
    EXPECT_EQ(sable.ModePlume, TModePlume::pmNotXor);
  }
}

}  // namespace

namespace {

// The fill's preview shows its texture: black dots of "Sable" over the
// brush, which "Uni" does not have.
TEST_F(EditTrait, LApercuDUnRemplissageMontreSaTexture) {
  drawing::Ports().GraineTexture = [] { return uint64_t{3}; };
  const auto ancien = drawing::InstallePavageTexture(
      [](platform::Canvas& c, int32_t l, int32_t h, const drawing::tTexture& t, double k, int32_t x, int32_t y) {
        drawing::PaveTexture(c, l, h, const_cast<drawing::tTexture&>(t), k, x, y);
      });
  TEditTraitDlg d(nullptr, Rempli(2));  // "Sable"
  d.show();
  const auto noirs = [&] {
    const QImage i = Controle<QLabel>(d, "VisuMotif")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    return Compte(i, i.rect(), 0x000000);
  };
  const int avecTexture = noirs();
  Controle<QComboBox>(d, "MotifRemplissageBox")->setCurrentIndex(0);
  const int uni = noirs();
  drawing::InstallePavageTexture(ancien);
  EXPECT_GT(avecTexture, uni + 30) << avecTexture << " / " << uni;
}

}  // namespace
