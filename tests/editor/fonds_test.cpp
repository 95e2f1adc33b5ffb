// Records of the backgrounds: the network's calibrated images and the drawing
// annexes (images and SVG drawings) read from the fixtures of
// fixtures/fabrique_fonds.py, byte-identical round trips, bounded counts and
// indexes; the flat background list with its active background.
#include <gtest/gtest.h>

#include "editor/config.h"
#include "foundation/niveau_fichier.h"
#include "tests/support/dossier_temp.h"

using namespace editor;
using foundation::TFluxMemoire;

namespace {

class Niveau {
 public:
  explicit Niveau(int32_t niveau) { foundation::NiveauFichier().VersionFichierLue = niveau; }

 private:
  foundation::GardeNiveauFichier garde_;
};

std::string Fixture(const std::string& nom) {
  return testsupport::LitOctets(std::string(GRAVELUNE_SOURCE_DIR) + "/tests/editor/fixtures/" + nom + ".bin");
}

std::string Ecrit(const TListeNotes& l) {
  TFluxMemoire f;
  EXPECT_TRUE(l.EcritListe(f));
  return f.Octets();
}

std::string Ecrit(TConfig& c) {
  TFluxMemoire f;
  EXPECT_TRUE(c.EcritObjet(f));
  return f.Octets();
}

bool Lit(TListeNotes& l, const std::string& octets, int32_t niveau = 511) {
  Niveau n(niveau);
  TFluxMemoire f(octets);
  return l.LitListe(f) && f.Restant() == 0;
}

bool Lit(TConfig& c, const std::string& octets) {
  Niveau n(511);
  TFluxMemoire f(octets);
  return c.LitObjet(f) && f.Restant() == 0;
}

}  // namespace

TEST(CartesReseau, LectureEtAllerRetourIdentique) {
  GardeAnnexes ga;
  TListeNotes l;
  ASSERT_TRUE(Lit(l, Fixture("cartes_511")));
  ASSERT_EQ(l.Count(), 2);
  EXPECT_EQ(l.NoteActive, 1);
  const TImageNotes& a = *l.UneNote(0);
  EXPECT_EQ(a.PointsImage[1], (foundation::TPoint{300, 40}));
  EXPECT_EQ(a.PointsTerrain[0].Num, 1u);
  EXPECT_DOUBLE_EQ(a.PointsTerrain[0].Y, 6600000.0);
  EXPECT_DOUBLE_EQ(a.PointsTerrain[0].Z, 120.0);
  EXPECT_EQ(a.NomImage, "C:\\Cartes\\scan été.jpg");
  EXPECT_EQ(a.Opacite, 128);
  EXPECT_FALSE(a.FicheChargee);
  EXPECT_EQ(l.DerNote()->NomImage, "carte.png");
  EXPECT_EQ(Ecrit(l), Fixture("cartes_511"));
}

TEST(CartesReseau, NiveauxAnciens) {
  for (int32_t niveau : {508, 501}) {
    SCOPED_TRACE(niveau);
    TListeNotes l;
    ASSERT_TRUE(Lit(l, Fixture("cartes_" + std::to_string(niveau)), niveau));
    ASSERT_EQ(l.Count(), 2);
    EXPECT_EQ(l.UneNote(0)->Opacite, 255);  // no opacity byte before 509: opaque
    EXPECT_DOUBLE_EQ(l.UneNote(0)->PointsTerrain[1].X, 700100.0);
    EXPECT_DOUBLE_EQ(l.UneNote(1)->PointsTerrain[1].Y, 40.5);
    // Written back at the current level, it reads as the current fixture
    // with opaque images.
    TListeNotes relue;
    ASSERT_TRUE(Lit(relue, Ecrit(l)));
    EXPECT_EQ(relue.UneNote(0)->NomImage, l.UneNote(0)->NomImage);
  }
}

TEST(CartesReseau, ComptesEtIndexBornes) {
  std::string o = Fixture("cartes_511");
  // An active index past the list reads as none.
  std::string abime = o;
  abime[4] = 5;
  TListeNotes l;
  ASSERT_TRUE(Lit(l, abime));
  EXPECT_EQ(l.NoteActive, -1);
  // A count far beyond what is left fails at once, allocating nothing.
  abime = o;
  abime.replace(0, 4, std::string("\xFF\xFF\xFF\x7F", 4));
  EXPECT_FALSE(Lit(l, abime));
  EXPECT_EQ(l.Count(), 0);
  // Every truncation fails.
  for (size_t n = 0; n < o.size(); ++n) EXPECT_FALSE(Lit(l, o.substr(0, n))) << n;
}

TEST(CartesReseau, ActivationSansImage) {
  TListeNotes l;
  EXPECT_TRUE(l.ActiveCarte(-1));
  EXPECT_EQ(l.NoteActive, -1);
  EXPECT_FALSE(l.ActiveCarte(3));
  EXPECT_EQ(l.NoteActive, -1);
}

TEST(Annexes, LectureEtAllerRetourIdentique) {
  GardeAnnexes ga;
  TConfig c;
  ASSERT_TRUE(Lit(c, Fixture("annexes_511")));
  EXPECT_EQ(Annexes().ListeSVGCourante, &c.ListeSVG);
  ASSERT_EQ(c.ListeNotes.Count(), 2);
  EXPECT_EQ(c.ListeNotes.NoteActive, -1);
  ASSERT_EQ(c.ListeSVG.size(), 1u);
  const TDessinSVG& d = *c.ListeSVG[0];
  EXPECT_EQ(d.NomFichierSVG, "plan.svg");
  EXPECT_DOUBLE_EQ(d.PointsTerrainCalage[1].X, 700050.0);
  EXPECT_EQ(d.PointsTerrainCalage[1].Num, 2u);
  EXPECT_DOUBLE_EQ(d.PointsDessinCalage[1].Y, 70.0);
  EXPECT_EQ(c.SVGActif, 0);
  EXPECT_EQ(Ecrit(c), Fixture("annexes_511"));

  // No image: the SVG count follows the image count; the last SVG is active.
  TConfig trois;
  ASSERT_TRUE(Lit(trois, Fixture("annexes_3svg")));
  EXPECT_EQ(trois.ListeNotes.Count(), 0);
  ASSERT_EQ(trois.ListeSVG.size(), 3u);
  EXPECT_EQ(trois.ListeSVG[2]->NomFichierSVG, "c.svg");
  EXPECT_EQ(trois.SVGActif, 2);
  EXPECT_EQ(Ecrit(trois), Fixture("annexes_3svg"));
}

TEST(Annexes, EnregistrementsAbimes) {
  GardeAnnexes ga;
  const std::string o = Fixture("annexes_3svg");
  for (size_t n = 0; n < o.size(); ++n) {
    TConfig c;
    EXPECT_FALSE(Lit(c, o.substr(0, n))) << n;
    EXPECT_EQ(c.SVGActif, static_cast<int32_t>(c.ListeSVG.size()) - 1);
  }
  std::string abime = o;
  abime.replace(4, 4, std::string("\x00\x00\x00\x10", 4));
  TConfig c;
  EXPECT_FALSE(Lit(c, abime));
  EXPECT_TRUE(c.ListeSVG.empty());
}

TEST(ListeFonds, ImagesPuisDessinsSVG) {
  GardeAnnexes ga;
  TConfig c;
  ASSERT_TRUE(Lit(c, Fixture("annexes_511")));
  Annexes().SVGActifCourant = 0;
  TListeFDP l(&c);
  l.MAJ();
  ASSERT_EQ(l.Count(), 3);
  EXPECT_FALSE(l.EstSVG(0));
  EXPECT_FALSE(l.EstSVG(1));
  EXPECT_TRUE(l.EstSVG(2));
  EXPECT_FALSE(l.EstSVG(3));
  EXPECT_EQ(l.iFDPActif, 2);  // the active SVG drawing
  l.MAJ(c.ListeNotes.UneNote(1));
  EXPECT_EQ(l.iFDPActif, 1);

  // Stepping makes each background active in its own list.
  EXPECT_TRUE(l.Preced());
  EXPECT_EQ(l.iFDPActif, 0);
  EXPECT_EQ(c.ListeNotes.NoteActive, 0);
  EXPECT_FALSE(l.Preced());
  EXPECT_TRUE(l.Suivant());
  EXPECT_TRUE(l.Suivant());
  EXPECT_EQ(Annexes().SVGActifCourant, 0);
  EXPECT_FALSE(l.Suivant());

  // A new background becomes the active one.
  auto d = std::make_unique<TDessinSVG>();
  d->NomFichierSVG = "nouveau.svg";
  l.AjouteFDP(std::move(d));
  EXPECT_EQ(l.Count(), 4);
  EXPECT_EQ(l.iFDPActif, 3);
  EXPECT_EQ(Annexes().SVGActifCourant, 1);
  auto im = std::make_unique<TImageNotes>();
  l.AjouteFDP(std::move(im));
  EXPECT_EQ(l.iFDPActif, 2);
  EXPECT_EQ(c.ListeNotes.NoteActive, 2);
  EXPECT_FALSE(l.EstSVG(2));

  // Removing the active background activates the previous one.
  l.EnleveFDPActif();
  EXPECT_EQ(l.Count(), 4);
  EXPECT_EQ(c.ListeNotes.Count(), 2);
  EXPECT_EQ(l.iFDPActif, 1);
  EXPECT_EQ(c.ListeNotes.NoteActive, 1);
  l.iFDPActif = 3;
  l.EnleveFDPActif();  // the last SVG drawing
  EXPECT_EQ(c.ListeSVG.size(), 1u);
  EXPECT_EQ(l.iFDPActif, 2);
  EXPECT_EQ(Annexes().SVGActifCourant, 0);
  l.iFDPActif = 0;
  l.EnleveFDPActif();  // the first: the new first becomes active
  EXPECT_EQ(l.iFDPActif, 0);
  EXPECT_EQ(c.ListeNotes.Count(), 1);
}

TEST(ListeFonds, RetraitDuSeulFond) {
  GardeAnnexes ga;
  TConfig c;
  TListeFDP l(&c);
  EXPECT_FALSE(l.Preced());
  EXPECT_FALSE(l.Suivant());
  l.AjouteFDP(std::make_unique<TImageNotes>());
  EXPECT_EQ(l.iFDPActif, 0);
  l.EnleveFDPActif();
  EXPECT_EQ(l.iFDPActif, -1);
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(c.ListeNotes.Count(), 0);
  EXPECT_EQ(c.ListeNotes.NoteActive, -1);
  l.EnleveFDPActif();  // nothing to remove
  EXPECT_EQ(l.iFDPActif, -1);
}
