// The style frames of the settings: the colour square through the dialog
// port, EgalTrait, the line preview probed at the pixels the view transform
// gives, and the surface-point preview, which puts back every value it sets.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSpinBox>

#include "drawing/contexte_dessin.h"
#include "drawing/contexte_motifs.h"
#include "drawing/objet_trait.h"
#include "foundation/transformation_vue.h"
#include "tests/views/motifs/outils_fenetres_motifs.h"
#include "views/motifs/cadre_couleur.h"
#include "views/motifs/cadres_traits.h"

namespace {

using namespace essaimotifs;
using drawing::MesPenStyle;
using views::TCadreCouleur;
using views::TCadreDefPtSurf;
using views::TCadreTraitsTopo;

constexpr uint32_t Rouge = 0x0000FF, Bleu = 0xFF0000, Blanc = 0xFFFFFF;

std::unique_ptr<drawing::TObjetTrait> Style(uint32_t couleur, MesPenStyle style, int32_t epaisseur) {
  auto t = std::make_unique<drawing::TObjetTrait>();
  t->CouleurPlume = couleur;
  t->StylePlume = style;
  t->EpaisseurPlume = epaisseur;
  return t;
}

// The pixel of a ground point (metres, y upward) in the frames' preview view.
QPoint PixelApercu(double x, double y) {
  foundation::GardeTransfo garde;
  auto& v = foundation::Vue();
  v.XDebVue = -40;
  v.YDebVue = 0;
  v.EchelleVue = 1;
  const foundation::TPoint p =
      foundation::XYDessinVersEcran(static_cast<int32_t>(x * 1000), static_cast<int32_t>(y * 1000));
  return {p.X, p.Y};
}

QImage Apercu(const QLabel* visu) { return visu->pixmap().toImage().convertToFormat(QImage::Format_RGB32); }

class CadresTraits : public FenetresMotifs {};

TEST_F(CadresTraits, ChaqueControleChangeUnTraitEtEgalTraitLeDit) {
  TCadreTraitsTopo cadre;
  const auto style = Style(Rouge, MesPenStyle::mpsDot, 2);
  const drawing::TObjetTrait& depart = *style;
  cadre.Init(depart, "axe du cheminement");
  EXPECT_EQ(cadre.title(), "axe du cheminement");
  EXPECT_EQ(Controle<QComboBox>(cadre, "StyleTraitBox")->count(), 7);
  EXPECT_EQ(Controle<QComboBox>(cadre, "StyleTraitBox")->itemText(6), "Tiret Hachuré");
  EXPECT_EQ(Controle<QComboBox>(cadre, "StyleTraitBox")->currentText(), "Points");
  EXPECT_EQ(Controle<QSpinBox>(cadre, "EpaisseurUD")->maximum(), 99);
  EXPECT_TRUE(cadre.EgalTrait(depart));

  Controle<QSpinBox>(cadre, "EpaisseurUD")->setValue(7);
  EXPECT_EQ(cadre.UnTrait->EpaisseurPlume, 7);
  EXPECT_FALSE(cadre.EgalTrait(depart));
  Controle<QComboBox>(cadre, "StyleTraitBox")->setCurrentIndex(4);
  EXPECT_EQ(cadre.UnTrait->StylePlume, MesPenStyle::mpsHachure);

  // The colour square asks the dialog port, on its colour; a cancelled
  // dialog changes nothing.
  auto* carre = Controle<TCadreCouleur>(cadre, "CadreCouleur");
  scripte_.QueueColour(std::nullopt);
  Clique(carre, {5, 5});
  EXPECT_FALSE(carre->EstOk);
  EXPECT_EQ(cadre.UnTrait->CouleurPlume, Rouge);
  scripte_.QueueColour(Bleu);
  Clique(carre, {5, 5});
  EXPECT_TRUE(carre->EstOk);
  EXPECT_EQ(cadre.UnTrait->CouleurPlume, Bleu);
  ASSERT_EQ(scripte_.Log().size(), 2u);
  EXPECT_EQ(scripte_.Log()[0].event, platform::ScriptedDialogs::Event::Colour);
  EXPECT_EQ(scripte_.Log()[1].colour, Rouge);
  EXPECT_EQ(Pixel(Image(carre), 16, 12), Bleu);

  // Back to the loaded values: nothing changed.
  Controle<QSpinBox>(cadre, "EpaisseurUD")->setValue(2);
  Controle<QComboBox>(cadre, "StyleTraitBox")->setCurrentIndex(2);
  scripte_.QueueColour(Rouge);
  Clique(carre, {5, 5});
  EXPECT_TRUE(cadre.EgalTrait(depart));
}

TEST_F(CadresTraits, ApercuDuTraitAuxPointsDeLaVue) {
  auto& v = foundation::Vue();
  v.XDebVue = 123;
  v.EchelleVue = 7;
  TCadreTraitsTopo cadre;
  cadre.Init(*Style(Rouge, MesPenStyle::mpsSolid, 1), "visées annexes");
  // The frame sets the preview's view only while it draws.
  EXPECT_EQ(v.XDebVue, 123);
  EXPECT_EQ(v.EchelleVue, 7);

  const QImage fin = Apercu(Controle<QLabel>(cadre, "VisuTrait"));
  // The line's points are given with y negated.
  const QPoint a = PixelApercu(-50, -10), b = PixelApercu(20, -20), c = PixelApercu(100, 0);
  EXPECT_EQ(b, QPoint(60, 20));
  EXPECT_EQ(Pixel(fin, b.x(), b.y()), Rouge);
  EXPECT_EQ(Pixel(fin, c.x() - 1, c.y()), Rouge) << "the last point is the end of the line";
  // The first point lies left of the box: the line enters it on the first
  // column, on the segment towards the second point.
  const double yEntree = a.y() + (b.y() - a.y()) * (0.0 - a.x()) / (b.x() - a.x());
  EXPECT_GT(Compte(fin, QRect(0, static_cast<int>(yEntree) - 1, 1, 3), Rouge), 0);
  EXPECT_EQ(Pixel(fin, b.x(), b.y() + 3), Blanc);
  EXPECT_EQ(Pixel(fin, b.x(), 5), Blanc);

  // A wider pen widens the previewed line.
  Controle<QSpinBox>(cadre, "EpaisseurUD")->setValue(7);
  const QImage large = Apercu(Controle<QLabel>(cadre, "VisuTrait"));
  EXPECT_EQ(Pixel(large, b.x(), b.y() + 3), Rouge);
}

TEST_F(CadresTraits, ApercuDuPointDeSurfaceRemetToutEnPlace) {
  auto& v = foundation::Vue();
  v.EchelleFontes = 777;
  v.Xmin = 5000;
  drawing::ContexteMotifs& motifs = drawing::Motifs();
  motifs.TracerCercle = false;
  motifs.TailleDesign = 4;
  TCadreDefPtSurf cadre;
  EXPECT_TRUE(Controle<QComboBox>(cadre, "StyleTraitBox")->isHidden());
  EXPECT_EQ(Controle<QSpinBox>(cadre, "UpDown2")->maximum(), 10);
  cadre.Init(*Style(Bleu, MesPenStyle::mpsSolid, 1), "Dessin des points de surface");

  struct Cas {
    bool cercle;
    int taille;
  };
  int textePrecedent = 0;
  for (const Cas& cas : {Cas{true, 1}, Cas{false, 1}, Cas{true, 4}}) {
    cadre.FixeOptions(cas.cercle, cas.taille);
    EXPECT_EQ(v.EchelleFontes, 777);
    EXPECT_EQ(v.Xmin, 5000);
    EXPECT_FALSE(drawing::Affichage().ToutDessiner);
    EXPECT_FALSE(drawing::Affichage().ObjetsAffichablesCourants[drawing::TypeObjetDessin::odNumSurf]);
    EXPECT_FALSE(motifs.TracerCercle);
    EXPECT_EQ(motifs.TailleDesign, 4);

    // "Point test" at X = width - 20, Y = -30 metres: the circle of radius
    // 6 pixels round it, the name on its right.
    const QImage i = Apercu(Controle<QLabel>(cadre, "VisuTrait"));
    const QPoint p = PixelApercu(1 - 20, -30);
    EXPECT_EQ(p, QPoint(21, 30));
    EXPECT_EQ(Compte(i, QRect(p.x() - 6, p.y() - 1, 2, 3), Bleu) > 0, cas.cercle) << cas.cercle;
    EXPECT_GT(Compte(i, QRect(p.x() - 3, p.y() - 6, 7, 10), Bleu), 0) << "the triangle";
    const int texte = Compte(i, QRect(p.x() + 8, 0, i.width(), i.height()), Bleu);
    EXPECT_GT(texte, 0);
    if (cas.taille > 1) {
      EXPECT_GT(texte, 2 * textePrecedent) << "the larger label";
    }
    textePrecedent = texte;
  }
  // The point follows the width.
  Controle<QSpinBox>(cadre, "EpaisseurUD")->setValue(9);
  const QImage i = Apercu(Controle<QLabel>(cadre, "VisuTrait"));
  EXPECT_GT(Compte(i, QRect(29 - 8, 30 - 1, 3, 3), Bleu), 0);
  EXPECT_EQ(cadre.UnTrait->EpaisseurPlume, 9);
}

}  // namespace
