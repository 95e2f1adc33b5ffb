// The objects window of the web SVG export, driven through its controls as
// the export shows it: captions, the boxes that follow "Cheminement",
// "Points de surface" and "Dessin", "Tous" and "0", OK and Annul.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>

#include "app/echanges/objets_svg_dlg.h"
#include "formats/export/ports_export.h"
#include "tests/app/outils_fenetre.h"
#include "tests/app/saisie_essai.h"

namespace {

using Modele = formats::TObjetsSvgDlg;
using TOD = drawing::TypeObjetDessin;

// "name:checked:enabled" of every box, top to bottom.
QStringList Etat(QDialog& d) {
  QStringList r;
  for (QCheckBox* b : d.findChildren<QCheckBox*>())
    r << b->objectName() + ":" + (b->isChecked() ? "1" : "0") + (b->isEnabled() ? "" : "-");
  return r;
}

TEST(ObjetsSvgDlg, CasesDependantesTousAucunEtOk) {
  essai::Gardes g;
  formats::GardePortsExport ports;
  app::InstalleDialogueObjetsSvg();
  Modele m;
  m.Init(drawing::BitTypeObjet(TOD::odDessin) | drawing::BitTypeObjet(TOD::odTexte) |
         drawing::BitTypeObjet(TOD::odCoupes) | drawing::BitTypeObjet(TOD::odEcarts));
  QString titre;
  QSize taille;
  QStringList textes, debut, sansCheminement, avecCheminement, tous, aucun;
  essai::SurLaFenetreModale([&](QDialog& d) {
    titre = d.windowTitle();
    taille = d.size();
    for (QCheckBox* b : d.findChildren<QCheckBox*>()) textes << b->text();
    debut = Etat(d);
    essai::Clic(d, "ChkbLevers");
    essai::Clic(d, "ChkbPoints");
    essai::Clic(d, "ChkbLevers");
    sansCheminement = Etat(d);
    essai::Clic(d, "ChkbLevers");
    avecCheminement = Etat(d);
    essai::Clic(d, "TousBtn");
    tous = Etat(d);
    essai::Clic(d, "AucunBtn");
    aucun = Etat(d);
    essai::Clic(d, "ChkbLevers");
    essai::Clic(d, "ChkbVisHab");
    essai::Clic(d, "ChkbDessin");
    essai::Clic(d, "OkBtn");
  });
  ASSERT_TRUE(formats::FenetresExport().AfficheObjetsSvg(m));
  EXPECT_EQ(titre, "Objets à mettre dans le SVG");
  EXPECT_EQ(taille, QSize(220, 463));
  EXPECT_EQ(textes, (QStringList{"Carroyage", "Désign points topos", "Désign Pts Surface", "Points de surface",
                                 "Cheminement", "Visées d'habillage", "Galerie", "Dessin", "Ecritures",
                                 "Sections Transversales", "Dessins à l'écart"}));
  EXPECT_EQ(debut, (QStringList{"ChkbCarroyage:0", "ChkbPoints:0-", "ChkbPtSurf:0-", "ChkbSurface:0", "ChkbLevers:0",
                                "ChkbVisHab:0-", "ChkbGaleries:0", "ChkbDessin:1", "ChkbTextes:1", "ChkbCoupes:1",
                                "ChkbEcarts:1"}));
  // "Désign points topos" checked, then "Cheminement" unchecked: the two
  // dependent boxes go off; checked again, they come back as they were.
  EXPECT_TRUE(sansCheminement.contains("ChkbPoints:0-") && sansCheminement.contains("ChkbVisHab:0-"));
  EXPECT_TRUE(avecCheminement.contains("ChkbPoints:1") && avecCheminement.contains("ChkbVisHab:0"));
  for (const QString& b : tous) EXPECT_TRUE(b.endsWith(":1")) << b.toStdString();
  for (const QString& b : aucun) EXPECT_TRUE(b.contains(":0")) << b.toStdString();
  formats::TObjetsSVG objets = 0;
  std::vector<std::string> script;
  m.Transfere(objets, script);
  EXPECT_EQ(objets, drawing::BitTypeObjet(TOD::odPtLever) | drawing::BitTypeObjet(TOD::odVisHab) |
                        drawing::BitTypeObjet(TOD::odDessin));
  EXPECT_EQ(script, formats::ScriptPanZoom());

  // Annul: false, the state as it was.
  essai::SurLaFenetreModale([&](QDialog& d) {
    essai::Clic(d, "TousBtn");
    essai::Clic(d, "AnnulBtn");
  });
  EXPECT_FALSE(formats::FenetresExport().AfficheObjetsSvg(m));
  m.Transfere(objets, script);
  EXPECT_EQ(objets, drawing::BitTypeObjet(TOD::odPtLever) | drawing::BitTypeObjet(TOD::odVisHab) |
                        drawing::BitTypeObjet(TOD::odDessin));
}

}  // namespace
