#include "views/motifs/dessin_fontes_dlg.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "drawing/fonte.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"
#include "platform/qt/qt_canvas.h"
#include "views/motifs/cadre_couleur.h"

namespace views {

using drawing::TStyleFonte;
using foundation::IdMsg;
using platform::qt::Q;

namespace {

QString M(IdMsg id) { return Q(foundation::Msg(id)); }

constexpr int LargeurVisu = 300, HauteurVisu = 128;

}  // namespace

TDessinFontesDlg::TDessinFontesDlg(QWidget* owner, drawing::TFontObjetType& fonte)
    : QDialog(owner),
      MotifCourant(fonte.CloneFonte()),
      NomEdit(new QLineEdit(this)),
      PoliceEdit(new QLineEdit(this)),
      TailleEdit(new QLineEdit(this)),
      CadreCouleur(new TCadreCouleur(this)),
      GrasChk(new QCheckBox(M(IdMsg::MotifsGras), this)),
      ItaliqueChk(new QCheckBox(M(IdMsg::MotifsItalique), this)),
      BarreChk(new QCheckBox(M(IdMsg::MotifsBarre), this)),
      SouligneChk(new QCheckBox(M(IdMsg::MotifsSouligne), this)),
      ModifierBtn(new QPushButton(M(IdMsg::MotifsModifierEcriture), this)),
      VisuFonte(new QLabel(this)),
      AppliquerATousChk(new QCheckBox(M(IdMsg::MotifsAppliquerPoliceATous), this)),
      entree_(fonte) {
  setObjectName(QStringLiteral("DessinFontesDlg"));
  setWindowTitle(M(IdMsg::MotifsGestionTypesEcritures));
  // The copy belongs to the entry's list, so that the typeface can be given
  // to every font of it.
  MotifCourant->ListeProprio = fonte.ListeProprio;
  NomEdit->setObjectName(QStringLiteral("NomEdit"));
  PoliceEdit->setObjectName(QStringLiteral("PoliceEdit"));
  TailleEdit->setObjectName(QStringLiteral("TailleEdit"));
  CadreCouleur->setObjectName(QStringLiteral("CadreCouleur"));
  GrasChk->setObjectName(QStringLiteral("GrasChk"));
  ItaliqueChk->setObjectName(QStringLiteral("ItaliqueChk"));
  BarreChk->setObjectName(QStringLiteral("BarreChk"));
  SouligneChk->setObjectName(QStringLiteral("SouligneChk"));
  ModifierBtn->setObjectName(QStringLiteral("ModifierBtn"));
  VisuFonte->setObjectName(QStringLiteral("VisuFonte"));
  AppliquerATousChk->setObjectName(QStringLiteral("AppliquerATousChk"));
  PoliceEdit->setReadOnly(true);
  TailleEdit->setReadOnly(true);
  ModifierBtn->setAutoDefault(false);

  auto* principal = new QVBoxLayout(this);
  auto* champs = new QFormLayout;
  champs->addRow(M(IdMsg::MotifsNom), NomEdit);
  champs->addRow(M(IdMsg::MotifsPolice), PoliceEdit);
  champs->addRow(M(IdMsg::MotifsTaille), TailleEdit);
  champs->addRow(QString(), CadreCouleur);
  principal->addLayout(champs);
  auto* styles = new QHBoxLayout;
  for (QCheckBox* c : {GrasChk, ItaliqueChk, BarreChk, SouligneChk}) styles->addWidget(c);
  styles->addStretch(1);
  styles->addWidget(ModifierBtn);
  principal->addLayout(styles);
  VisuFonte->setFixedSize(LargeurVisu, HauteurVisu);
  principal->addWidget(VisuFonte);
  principal->addWidget(AppliquerATousChk);
  principal->addLayout(platform::qt::BoutonsOKAnnuler(this, OKBtn, &AnnulerBtn));

  Charge();
  NomEdit->setFocus();

  connect(NomEdit, &QLineEdit::textChanged, this, [this](const QString& t) {
    if (!initCtrls_) MotifCourant->DesignMotif = t.toStdString();
  });
  connect(CadreCouleur, &TCadreCouleur::CouleurChangee, this, [this] {
    MotifCourant->Couleur = CadreCouleur->Couleur();
    Charge();
  });
  for (QCheckBox* c : {GrasChk, ItaliqueChk, BarreChk, SouligneChk})
    connect(c, &QCheckBox::toggled, this, &TDessinFontesDlg::StyleClick);
  connect(ModifierBtn, &QPushButton::clicked, this, &TDessinFontesDlg::ModifierClick);
}

TDessinFontesDlg::~TDessinFontesDlg() = default;

void TDessinFontesDlg::Charge() {
  const drawing::TFontObjetType& f = *MotifCourant;
  initCtrls_ = true;
  if (NomEdit->text().toStdString() != f.DesignMotif) NomEdit->setText(Q(f.DesignMotif));
  PoliceEdit->setText(Q(f.NomPolice));
  TailleEdit->setText(QString::number(f.Taille));
  CadreCouleur->FixeCouleur(f.Couleur);
  GrasChk->setChecked(f.Style.Contient(TStyleFonte::fsBold));
  ItaliqueChk->setChecked(f.Style.Contient(TStyleFonte::fsItalic));
  BarreChk->setChecked(f.Style.Contient(TStyleFonte::fsStrikeOut));
  SouligneChk->setChecked(f.Style.Contient(TStyleFonte::fsUnderline));
  initCtrls_ = false;
  platform::QtCanvas canvas(LargeurVisu, HauteurVisu);
  MotifCourant->DessineVisuMotif(canvas, {0, 0, LargeurVisu, HauteurVisu});
  VisuFonte->setPixmap(QPixmap::fromImage(canvas.Image()));
}

void TDessinFontesDlg::StyleClick() {
  if (initCtrls_) return;
  drawing::TStylesFonte s;
  s.Bascule(TStyleFonte::fsStrikeOut, BarreChk->isChecked());
  s.Bascule(TStyleFonte::fsUnderline, SouligneChk->isChecked());
  s.Bascule(TStyleFonte::fsBold, GrasChk->isChecked());
  s.Bascule(TStyleFonte::fsItalic, ItaliqueChk->isChecked());
  MotifCourant->Style = s;
  Charge();
}

void TDessinFontesDlg::ModifierClick() {
  drawing::TFontObjetType& f = *MotifCourant;
  platform::FontChoice depart;
  depart.Name = f.NomPolice;
  depart.Size = f.Taille;
  depart.Style = f.Style.Bits_();
  depart.Colour = f.Couleur;
  const std::optional<platform::FontChoice> choix = platform::Dialogs::Current().ChooseFont(depart);
  if (!choix) return;
  f.NomPolice = choix->Name;
  f.Couleur = choix->Colour & 0xFFFFFF;
  f.Taille = choix->Size;
  f.Style = drawing::TStylesFonte::FromBits(choix->Style & 0x0F);
  Charge();
}

void TDessinFontesDlg::accept() {
  entree_.CopieMotif(*MotifCourant);
  if (AppliquerATousChk->isChecked()) entree_.AppliquePoliceATous();
  QDialog::accept();
}

}  // namespace views
