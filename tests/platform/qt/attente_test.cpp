// Wait windows: nested windows close last-in first-out and widen to their message.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>

#include "platform/qt/attente_frm.h"

using namespace platform;

TEST(TAttenteFrm, FenetresImbriqueesFermeesDansLOrdreInverse) {
  QtWaitWindows attentes;
  ScopedWaitWindows garde(attentes);
  AfficheAttente("Calculs en cours ...");
  QPointer<TAttenteFrm> premiere = attentes.Last();
  AfficheAttente("Chargement du dessin");
  QPointer<TAttenteFrm> seconde = attentes.Last();
  ASSERT_EQ(attentes.Count(), 2u);
  EXPECT_TRUE(premiere->isVisible());
  EXPECT_TRUE(seconde->isVisible());
  EXPECT_EQ(premiere->Label1->text(), "Calculs en cours ...");
  EXPECT_EQ(seconde->Label1->objectName(), "Label1");
  EXPECT_EQ(seconde->Image1->objectName(), "Image1");
  EXPECT_TRUE(seconde->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(seconde->testAttribute(Qt::WA_TransparentForMouseEvents));
  EXPECT_EQ(seconde->focusPolicy(), Qt::NoFocus);

  FermeAttente();
  EXPECT_TRUE(seconde.isNull());
  ASSERT_FALSE(premiere.isNull());
  EXPECT_TRUE(premiere->isVisible());
  FermeAttente();
  EXPECT_TRUE(premiere.isNull());
  EXPECT_EQ(attentes.Count(), 0u);
  FermeAttente();  // nothing to close: nothing happens
  EXPECT_EQ(attentes.Count(), 0u);
}

TEST(TAttenteFrm, UnMessageLongElargitLaFenetreSansDeplacerSonBordGauche) {
  const QRect ecran = QGuiApplication::primaryScreen()->geometry();
  TAttenteFrm court("Calculs en cours ...");
  EXPECT_EQ(court.width(), TAttenteFrm::kDesignWidth);
  EXPECT_EQ(court.height(), TAttenteFrm::kDesignHeight);
  const int gauche = ecran.x() + (ecran.width() - TAttenteFrm::kDesignWidth) / 2;
  EXPECT_NEAR(court.x(), gauche, 1);
  EXPECT_NEAR(court.y(), ecran.y() + (ecran.height() - TAttenteFrm::kDesignHeight) / 3, 1);

  const std::string texte(80, 'W');
  TAttenteFrm long_(texte);
  EXPECT_GT(long_.width(), TAttenteFrm::kDesignWidth);
  EXPECT_EQ(long_.x(), court.x());
  // The margins around the label stay as designed.
  EXPECT_EQ(long_.width() - long_.Label1->width(), TAttenteFrm::kDesignWidth - TAttenteFrm::kLabelWidth);
  EXPECT_EQ(long_.Label1->x(), TAttenteFrm::kLabelLeft);
}

TEST(TAttenteFrm, GardeFermeAussiSurException) {
  ScriptedWaitWindows attentes;
  ScopedWaitWindows garde(attentes);
  try {
    WaitMessage m("Impression en cours ...");
    throw 1;
  } catch (int) {
  }
  EXPECT_EQ(attentes.Count(), 0u);
  EXPECT_EQ(attentes.Log, (std::vector<std::string>{"+Impression en cours ...", "-Impression en cours ..."}));
}
