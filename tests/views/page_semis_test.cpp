// Pages of the page grid: their record, their printed size in dots and the
// printer tiles, computed in 64 bits so that large pages at high resolution
// do not overflow.
#include <gtest/gtest.h>

#include "foundation/contexte_impression.h"
#include "platform/scripted_printer.h"
#include "tests/views/outils_vues.h"
#include "views/format_papier.h"
#include "views/page_semis.h"

using namespace views;
using essaivues::Niveau;
using foundation::GardeImpression;
using foundation::Impression;

namespace {

// Every tile is within the limit and the tiles cover the page exactly, row
// by row.
void VerifiePavage(const TPageSemis& p) {
  int64_t surface = 0;
  for (const TSousPage& s : p.SousPages) {
    EXPECT_LE(int64_t(s.SpLarg) * s.SpHaut, MaxPointsSousPage);
    EXPECT_EQ(s.PrnRect.Left, s.dxSp);
    EXPECT_EQ(s.PrnRect.Top, s.dySp);
    EXPECT_EQ(s.PrnRect.Right, s.dxSp + s.SpLarg);
    EXPECT_EQ(s.PrnRect.Bottom, s.dySp + s.SpHaut);
    surface += int64_t(s.SpLarg) * s.SpHaut;
  }
  EXPECT_EQ(surface, int64_t(p.LargeurUtile) * p.HauteurUtile);
  ASSERT_FALSE(p.SousPages.empty());
  EXPECT_EQ(p.SousPages.back().PrnRect.Right, p.LargeurUtile);
  EXPECT_EQ(p.SousPages.back().PrnRect.Bottom, p.HauteurUtile);
}

}  // namespace

TEST(PagesSemis, SousPages) {
  struct Cas {
    int32_t haut, larg;
    size_t tuiles;
    int32_t largPremiere, largDerniere, hautDerniere;
  };
  const Cas cas[] = {
      {5000, 7000, 1, 7000, 7000, 5000},       // 35,000,000 dots: one tile
      {20000, 20000, 2, 10000, 10000, 20000},  // equal sides: the width is halved
      {20000, 20001, 2, 10000, 10001, 20000},  // the 1-dot remainder joins the last tile
      {20001, 20000, 2, 20000, 20000, 10001},  // the height halved, the last row one dot taller
      {1, 1, 1, 1, 1, 1},
  };
  for (const Cas& c : cas) {
    SCOPED_TRACE(std::to_string(c.larg) + "x" + std::to_string(c.haut));
    TPageSemis p;
    ASSERT_TRUE(p.DecoupeSousPages(c.haut, c.larg));
    ASSERT_EQ(p.SousPages.size(), c.tuiles);
    EXPECT_EQ(p.SousPages.back().SpLarg, c.largDerniere);
    EXPECT_EQ(p.SousPages.back().SpHaut, c.hautDerniere);
    EXPECT_EQ(p.SousPages.front().SpLarg, c.largPremiere);
    VerifiePavage(p);
  }
  TPageSemis vide;
  EXPECT_FALSE(vide.DecoupeSousPages(0, 100));
  EXPECT_TRUE(vide.SousPages.empty());
}

TEST(PagesSemis, BitmapImpossibleReduitLesTuiles) {
  GardeImpression gi;
  std::vector<std::pair<int32_t, int32_t>> demandes;
  Impression().BitmapPossible = [&](int32_t l, int32_t h) {
    demandes.emplace_back(l, h);
    return int64_t(l) * h <= 10000000;
  };
  TPageSemis p;
  ASSERT_TRUE(p.DecoupeSousPages(7000, 5000));
  EXPECT_EQ(demandes.front(), (std::pair<int32_t, int32_t>{5000, 7000}));
  EXPECT_EQ(p.SousPages.size(), 4u);
  VerifiePavage(p);
  // No bitmap at all: no tile, and the caller is told.
  Impression().BitmapPossible = [](int32_t, int32_t) { return false; };
  EXPECT_FALSE(p.DecoupeSousPages(7000, 5000));
  EXPECT_TRUE(p.SousPages.empty());
}

TEST(PagesSemis, A0A1200PointsParPouceSansDebordement) {
  GardeImpression gi;
  GardeFormats gf;
  InitialiseListesFormats();
  TListeFormatsPapier& l = *Formats().ListesFormatsImprimantes.back();  // the PDF printer
  ASSERT_TRUE(l.ChargeFormatsImprimante());
  Formats().FormatsPapierCourants = &l;
  Formats().IndiceFormatCourant = l.FormatParTexte("A0");
  Impression().CoeffPrn = l.CoeffPrinterPrn;
  TPageSemis p;
  ASSERT_TRUE(p.CreeSousPages());
  // (1183 + 6) x 47066.3 / 1000 + 200 and (835 + 1) x 47066.3 / 1000 + 400.
  EXPECT_EQ(p.HauteurUtile, 56162);
  EXPECT_EQ(p.LargeurUtile, 39747);
  EXPECT_GT(int64_t(p.HauteurUtile) * p.LargeurUtile, int64_t(INT32_MAX));
  EXPECT_EQ(p.SousPages.size(), 8u);
  VerifiePavage(p);
  // Landscape exchanges the sides.
  p.Vertical = false;
  p.CalculeDimPrn();
  EXPECT_EQ(p.HauteurUtile, 39747);
  EXPECT_EQ(p.LargeurUtile, 56162);
  // No current format: an empty page.
  Formats().IndiceFormatCourant = -1;
  Impression().DecalXPrn = Impression().DecalYPrn = 0;
  EXPECT_FALSE(p.CreeSousPages());
}

TEST(PagesSemis, Enregistrement) {
  TPageSemis p;
  p.PointHautReel = {7, 1.5, 2.5, 3.5, 4.5, 0, 0};
  p.PointBasReel = {8, 10, 20, 30, 40, 0, 0};
  p.Vertical = false;
  p.NumPage = 4;
  foundation::TFluxMemoire f;
  ASSERT_TRUE(p.EcritObjet(f));
  EXPECT_EQ(f.Octets().size(), 36u + 36u + 1u);
  f.PlaceA(0);
  TPageSemis q;
  {
    Niveau n(511);
    ASSERT_TRUE(q.LitObjet(f));
  }
  EXPECT_EQ(q.PointBasReel.Num, 8u);
  EXPECT_DOUBLE_EQ(q.PointHautReel.SlH, 4.5);
  EXPECT_FALSE(q.Vertical);
  EXPECT_EQ(q.NumPage, 0);  // not stored

  // Level 501: one raw 40-byte block per corner.
  std::string brut(4, '\0');
  brut[0] = 5;
  brut += std::string(4, '\0');
  for (double v : {1.0, 2.0, 3.0, 4.0}) brut.append(reinterpret_cast<const char*>(&v), 8);
  const std::string enreg = brut + brut + std::string(1, '\1');
  foundation::TFluxMemoire g(enreg);
  Niveau n(501);
  ASSERT_TRUE(q.LitObjet(g));
  EXPECT_EQ(g.Restant(), 0u);
  EXPECT_EQ(q.PointHautReel.Num, 5u);
  EXPECT_DOUBLE_EQ(q.PointBasReel.SlH, 4.0);
  EXPECT_TRUE(q.Vertical);
  foundation::TFluxMemoire court(enreg.substr(0, 80));
  EXPECT_FALSE(q.LitObjet(court));
}

TEST(PagesSemis, CopiePage) {
  TPageSemis s;
  s.PointHautReel.X = 3;
  s.Vertical = false;
  s.DimLpage = 12.5;
  s.NumPage = 2;
  s.Active = true;
  s.LibWeb = "lien";
  s.EstTa = true;
  TPageSemis d;
  d.CopiePage(s);
  EXPECT_EQ(d.PointHautReel.X, 3);
  EXPECT_FALSE(d.Vertical);
  EXPECT_EQ(d.DimLpage, 12.5);
  EXPECT_EQ(d.NumPage, 2);
  EXPECT_TRUE(d.Active);
  EXPECT_EQ(d.LibWeb, "lien");
  EXPECT_FALSE(d.EstTa);
  EXPECT_EQ(d.CouleurPage, 11823615u);
}
