// The font dialog driven through its controls on the default fonts: the
// style boxes, the name, a font chosen through the dialog port, the
// harmonising box, Cancel.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "drawing/fonte.h"
#include "foundation/flux.h"
#include "tests/drawing/outils_motifs.h"
#include "tests/views/motifs/outils_fenetres_motifs.h"
#include "views/motifs/cadre_couleur.h"
#include "views/motifs/dessin_fontes_dlg.h"

namespace {

using namespace essaimotifs;
using drawing::TFontObjetType;
using views::TDessinFontesDlg;

// The list's stream form.
std::string Octets(drawing::TListeFontes& l) {
  foundation::TFluxMemoire f;
  l.EcritListe(f);
  return f.Octets();
}

class DessinFontes : public FenetresMotifs {
 protected:
  DessinFontes() { fontes_.InitDefaut(); }
  TFontObjetType& Fonte(int i) { return *fontes_.LaFonte(i); }
  drawing::TListeFontes fontes_;
};

TEST_F(DessinFontes, ChaqueCaseRefaitLeStyle) {
  TDessinFontesDlg d(nullptr, Fonte(4));  // "Détails", regular
  d.show();
  EXPECT_EQ(d.windowTitle(), "Gestion des types d'écritures");
  EXPECT_EQ(Controle<QLineEdit>(d, "PoliceEdit")->text(), "Times New Roman");
  EXPECT_TRUE(Controle<QLineEdit>(d, "PoliceEdit")->isReadOnly());
  EXPECT_EQ(Controle<QLineEdit>(d, "TailleEdit")->text(), "10");
  EXPECT_EQ(d.focusWidget(), Controle<QLineEdit>(d, "NomEdit"));
  struct Cas {
    const char* boite;
    int bit;
  };
  int attendu = 0;
  for (const Cas& c : {Cas{"BarreChk", 8}, Cas{"SouligneChk", 4}, Cas{"GrasChk", 1}, Cas{"ItaliqueChk", 2}}) {
    Controle<QCheckBox>(d, c.boite)->setChecked(true);
    attendu |= c.bit;
    EXPECT_EQ(d.MotifCourant->Style.Bits_(), attendu) << c.boite;
  }
  Controle<QCheckBox>(d, "BarreChk")->setChecked(false);
  EXPECT_EQ(d.MotifCourant->Style.Bits_(), 7);
  EXPECT_EQ(Fonte(4).Style.Bits_(), 0) << "the entry waits for OK";
}

TEST_F(DessinFontes, NomEtPoliceChoisieParLeDialogue) {
  TFontObjetType& titre = Fonte(9);
  TDessinFontesDlg d(nullptr, titre);
  d.show();
  Controle<QLineEdit>(d, "NomEdit")->setText("Titre principal");
  EXPECT_EQ(d.MotifCourant->DesignMotif, "Titre principal");

  // A cancelled font dialog changes nothing; a chosen font gives its face,
  // colour, size and style.
  const QImage avant = Controle<QLabel>(d, "VisuFonte")->pixmap().toImage();
  scripte_.QueueFont(std::nullopt);
  Controle<QPushButton>(d, "ModifierBtn")->click();
  EXPECT_EQ(d.MotifCourant->NomPolice, "Times New Roman");
  scripte_.QueueFont(platform::FontChoice{"Arial", 14, 2 | 4, 0x0000FF});
  Controle<QPushButton>(d, "ModifierBtn")->click();
  ASSERT_EQ(scripte_.Log().size(), 2u);
  EXPECT_EQ(scripte_.Log()[1].event, platform::ScriptedDialogs::Event::Font);
  EXPECT_EQ(scripte_.Log()[1].font, (platform::FontChoice{"Times New Roman", 72, 0, 0}));
  const TFontObjetType& f = *d.MotifCourant;
  EXPECT_EQ(f.NomPolice, "Arial");
  EXPECT_EQ(f.Taille, 14);
  EXPECT_EQ(f.Couleur, 0x0000FFu);
  EXPECT_EQ(f.Style.Bits_(), 6);
  EXPECT_EQ(Controle<QLineEdit>(d, "PoliceEdit")->text(), "Arial");
  EXPECT_EQ(Controle<QLineEdit>(d, "TailleEdit")->text(), "14");
  EXPECT_TRUE(Controle<QCheckBox>(d, "ItaliqueChk")->isChecked());
  EXPECT_TRUE(Controle<QCheckBox>(d, "SouligneChk")->isChecked());
  EXPECT_FALSE(Controle<QCheckBox>(d, "GrasChk")->isChecked());
  EXPECT_EQ(Controle<views::TCadreCouleur>(d, "CadreCouleur")->Couleur(), 0x0000FFu);
  const QImage apres = Controle<QLabel>(d, "VisuFonte")->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_NE(apres, avant);
  EXPECT_GT(Compte(apres, apres.rect(), 0x0000FF), 20) << "the preview writes in the new colour";

  Controle<QPushButton>(d, "OKBtn")->click();
  EXPECT_EQ(titre.DesignMotif, "Titre principal");
  EXPECT_EQ(titre.NomPolice, "Arial");
  EXPECT_EQ(Fonte(8).NomPolice, "Times New Roman") << "the other fonts keep theirs";
}

TEST_F(DessinFontes, HarmonisationALaValidationSeulement) {
  scripte_.QueueFont(platform::FontChoice{"Liberation Sans", 12, 0, 0});
  scripte_.QueueFont(platform::FontChoice{"Liberation Sans", 12, 0, 0});
  const std::string avant = Octets(fontes_);
  {
    TDessinFontesDlg d(nullptr, Fonte(5));
    d.show();
    Controle<QPushButton>(d, "ModifierBtn")->click();
    Controle<QCheckBox>(d, "AppliquerATousChk")->setChecked(true);
    Controle<QPushButton>(d, "AnnulerBtn")->click();
  }
  EXPECT_EQ(testmotifs::Hex(Octets(fontes_)), testmotifs::Hex(avant));
  TDessinFontesDlg d(nullptr, Fonte(5));
  d.show();
  Controle<QPushButton>(d, "ModifierBtn")->click();
  Controle<QCheckBox>(d, "AppliquerATousChk")->setChecked(true);
  Controle<QPushButton>(d, "OKBtn")->click();
  for (int i = 0; i < fontes_.Count(); ++i) EXPECT_EQ(Fonte(i).NomPolice, "Liberation Sans") << i;
  EXPECT_EQ(Fonte(5).Taille, 12);
  EXPECT_EQ(Fonte(6).Taille, 24) << "only the typeface is given to the others";
}

}  // namespace
