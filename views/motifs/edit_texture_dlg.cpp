#include "views/motifs/edit_texture_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "drawing/contexte_motifs.h"
#include "drawing/texture.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "platform/dialogs.h"
#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"
#include "platform/qt/qt_canvas.h"
#include "views/motifs/cadre_couleur.h"

namespace views {

using foundation::IdMsg;
using platform::qt::Q;

namespace {

QString M(IdMsg id) { return Q(foundation::Msg(id)); }

constexpr int TailleVisu = 128;
constexpr int DensiteMax = 999;

bool AvecTailles(int type) { return type != drawing::TexturePoints && type != drawing::TextureEtoiles; }

}  // namespace

TEditTextureDlg::TEditTextureDlg(QWidget* owner, drawing::tTexture& texture)
    : QDialog(owner),
      MotifCourant(texture.CloneTexture()),
      NomEdit(new QLineEdit(this)),
      TypeBox(new QComboBox(this)),
      CadreCouleur(new TCadreCouleur(this)),
      DensiteUD(new QSpinBox(this)),
      TailleGrp(new QGroupBox(this)),
      LabelTaille1(new QLabel(TailleGrp)),
      TailleUD1(new QSpinBox(TailleGrp)),
      LabelTaille2(new QLabel(TailleGrp)),
      TailleUD2(new QSpinBox(TailleGrp)),
      VisuTexture(new QLabel(this)),
      entree_(texture) {
  setObjectName(QStringLiteral("EditTextureDlg"));
  setWindowTitle(M(IdMsg::MotifsGestionTextures));
  NomEdit->setObjectName(QStringLiteral("NomEdit"));
  TypeBox->setObjectName(QStringLiteral("TypeBox"));
  CadreCouleur->setObjectName(QStringLiteral("CadreCouleur"));
  DensiteUD->setObjectName(QStringLiteral("DensiteUD"));
  TailleGrp->setObjectName(QStringLiteral("TailleGrp"));
  LabelTaille1->setObjectName(QStringLiteral("LabelTaille1"));
  TailleUD1->setObjectName(QStringLiteral("TailleUD1"));
  LabelTaille2->setObjectName(QStringLiteral("LabelTaille2"));
  TailleUD2->setObjectName(QStringLiteral("TailleUD2"));
  VisuTexture->setObjectName(QStringLiteral("VisuTexture"));

  for (int t = drawing::TexturePoints; t <= drawing::TextureCailloutis; ++t) TypeBox->addItem(Q(drawing::NomTypeTexture(t)));
  DensiteUD->setRange(1, DensiteMax);
  TailleUD1->setRange(0, DensiteMax);
  TailleUD2->setRange(1, DensiteMax);

  auto* principal = new QVBoxLayout(this);
  auto* haut = new QFormLayout;
  haut->addRow(M(IdMsg::MotifsNomTexture), NomEdit);
  haut->addRow(QString(), TypeBox);
  haut->addRow(QString(), CadreCouleur);
  haut->addRow(M(IdMsg::MotifsDensite), DensiteUD);
  principal->addLayout(haut);
  auto* tailles = new QFormLayout(TailleGrp);
  tailles->addRow(LabelTaille1, TailleUD1);
  tailles->addRow(LabelTaille2, TailleUD2);
  auto* bas = new QHBoxLayout;
  bas->addWidget(TailleGrp, 1);
  VisuTexture->setFixedSize(TailleVisu, TailleVisu);
  bas->addWidget(VisuTexture);
  principal->addLayout(bas);
  principal->addLayout(platform::qt::BoutonsOKAnnuler(this, OKBtn, &AnnulerBtn));

  drawing::tTexture& t = *MotifCourant;
  t.InitTexture();
  initCtrls_ = true;
  NomEdit->setText(Q(t.DesignMotif));
  TypeBox->setCurrentIndex(t.TypeTexture - 1);
  CadreCouleur->FixeCouleur(t.Couleur);
  DensiteUD->setValue(foundation::Arrondi(1000.0 / std::max(1, t.Densite)));
  AfficheTailles();
  TailleUD1->setValue(t.TypeTexture == drawing::TextureTraits ? t.Epaisseur : t.TailleMin);
  TailleUD2->setValue(t.TailleMax);
  initCtrls_ = false;
  DessineVisu();

  connect(NomEdit, &QLineEdit::textChanged, this, &TEditTextureDlg::Transfere);
  connect(TypeBox, &QComboBox::currentIndexChanged, this, [this] {
    AfficheTailles();
    Transfere();
  });
  connect(CadreCouleur, &TCadreCouleur::CouleurChangee, this, &TEditTextureDlg::Transfere);
  connect(DensiteUD, &QSpinBox::valueChanged, this, &TEditTextureDlg::Transfere);
  connect(TailleUD1, &QSpinBox::valueChanged, this, &TEditTextureDlg::Transfere);
  connect(TailleUD2, &QSpinBox::valueChanged, this, &TEditTextureDlg::Transfere);
}

TEditTextureDlg::~TEditTextureDlg() {
  // The built-in style of the texture previews must not keep the working
  // copy, which goes with the dialog.
  drawing::TObjetTrait& paroi = drawing::Motifs().TraitParoi;
  if (paroi.UneTexture == MotifCourant.get()) {
    paroi.UneTexture = nullptr;
    paroi.NumMotif = -1;
  }
}

void TEditTextureDlg::AfficheTailles() {
  const int type = TypeBox->currentIndex() + 1;
  TailleGrp->setVisible(AvecTailles(type));
  const bool traits = type == drawing::TextureTraits;
  LabelTaille1->setText(M(traits ? IdMsg::MotifsEpaisseur : IdMsg::MotifsTailleMin));
  LabelTaille2->setText(M(traits ? IdMsg::MotifsTaille : IdMsg::MotifsTailleMax));
  TailleUD1->setMinimum(traits ? 1 : 0);
}

void TEditTextureDlg::Transfere() {
  if (initCtrls_) return;
  drawing::tTexture& t = *MotifCourant;
  t.DesignMotif = NomEdit->text().toStdString();
  // A kind the list does not show is kept.
  if (TypeBox->currentIndex() >= 0) t.TypeTexture = TypeBox->currentIndex() + 1;
  t.Couleur = CadreCouleur->Couleur();
  t.Densite = foundation::Arrondi(1000.0 / DensiteUD->value());
  t.TailleMin = TailleUD1->value();
  t.Epaisseur = TailleUD1->value();
  t.TailleMax = TailleUD2->value();
  t.InitTexture();
  DessineVisu();
}

void TEditTextureDlg::DessineVisu() {
  platform::QtCanvas canvas(TailleVisu, TailleVisu);
  MotifCourant->DessineVisuMotif(canvas, {0, 0, TailleVisu, TailleVisu});
  VisuTexture->setPixmap(QPixmap::fromImage(canvas.Image()));
}

void TEditTextureDlg::accept() {
  if (foundation::OteBlancs(NomEdit->text().toStdString()).empty()) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning,
                                             foundation::Msg(IdMsg::MotifsTextureSansNom));
    return;
  }
  entree_.CopieMotif(*MotifCourant);
  QDialog::accept();
}

}  // namespace views
