#include "views/motifs/edit_trait_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "drawing/objet_trait.h"
#include "drawing/texture.h"
#include "foundation/catalogue.h"
#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"
#include "platform/qt/qt_canvas.h"
#include "views/motifs/cadre_couleur.h"

namespace views {

using drawing::TStylePinceau;
using foundation::IdMsg;
using platform::qt::Q;

namespace {

QString M(IdMsg id) { return Q(foundation::Msg(id)); }

constexpr int TailleVisu = 128;

// A disabled group is painted silver (its texts in grey, so that they stay
// readable on it), an enabled one in the normal face colour.
void PeintGroupe(QWidget* groupe, bool actif) {
  if (actif) {
    groupe->setPalette(QPalette());
    groupe->setAutoFillBackground(false);
    return;
  }
  QPalette p = groupe->palette();
  for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    p.setColor(g, QPalette::Window, QColor(192, 192, 192));
    p.setColor(g, QPalette::Button, QColor(192, 192, 192));
  }
  for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, r, QColor(112, 112, 112));
  groupe->setPalette(p);
  groupe->setAutoFillBackground(true);
}

QRadioButton* Bouton(QButtonGroup* groupe, QGroupBox* boite, QLayout* l, IdMsg texte, const char* nom, int id) {
  auto* b = new QRadioButton(M(texte), boite);
  b->setObjectName(QString::fromLatin1(nom));
  groupe->addButton(b, id);
  l->addWidget(b);
  return b;
}

}  // namespace

TEditTraitDlg::TEditTraitDlg(QWidget* owner, drawing::TObjetTrait& style)
    : QDialog(owner),
      MotifCourant(style.CloneTrait()),
      NomEdit(new QLineEdit(this)),
      GenreRdg(new QGroupBox(this)),
      DessinRdg(new QGroupBox(this)),
      HabillageChk(new QCheckBox(M(IdMsg::MotifsHabillage), this)),
      TypeTraitBox(new QComboBox(this)),
      EpaisseurUD(new QSpinBox(this)),
      TraitLisseChk(new QCheckBox(M(IdMsg::MotifsTraitLisse), this)),
      CouleurPlume(new TCadreCouleur(this)),
      MotifRemplissageGrp(new QGroupBox(M(IdMsg::MotifsMotifRemplissage), this)),
      TypeRemplissageBox(new QComboBox(this)),
      CouleurPinceau(new TCadreCouleur(this)),
      MotifRemplissageBox(new QComboBox(this)),
      VisuMotif(new QLabel(this)),
      entree_(style),
      genre_(new QButtonGroup(this)),
      dessin_(new QButtonGroup(this)) {
  setObjectName(QStringLiteral("EditTraitDlg"));
  setWindowTitle(M(IdMsg::MotifsGestionTypesDessin));
  if (auto* liste = dynamic_cast<drawing::TListeMotifs*>(style.ListeProprio)) ListeTexturesCourante = liste->vListeTexture;

  NomEdit->setObjectName(QStringLiteral("NomEdit"));
  GenreRdg->setObjectName(QStringLiteral("GenreRdg"));
  DessinRdg->setObjectName(QStringLiteral("DessinRdg"));
  HabillageChk->setObjectName(QStringLiteral("HabillageChk"));
  TypeTraitBox->setObjectName(QStringLiteral("TypeTraitBox"));
  EpaisseurUD->setObjectName(QStringLiteral("EpaisseurUD"));
  TraitLisseChk->setObjectName(QStringLiteral("TraitLisseChk"));
  CouleurPlume->setObjectName(QStringLiteral("CouleurPlume"));
  MotifRemplissageGrp->setObjectName(QStringLiteral("MotifRemplissageGrp"));
  TypeRemplissageBox->setObjectName(QStringLiteral("TypeRemplissageBox"));
  CouleurPinceau->setObjectName(QStringLiteral("CouleurPinceau"));
  MotifRemplissageBox->setObjectName(QStringLiteral("MotifRemplissageBox"));
  VisuMotif->setObjectName(QStringLiteral("VisuMotif"));

  auto* principal = new QVBoxLayout(this);
  auto* nom = new QHBoxLayout;
  nom->addWidget(new QLabel(M(IdMsg::MotifsNomDuMotif), this));
  nom->addWidget(NomEdit, 1);
  principal->addLayout(nom);

  auto* groupes = new QHBoxLayout;
  auto* genre = new QVBoxLayout(GenreRdg);
  LineaireRdb = Bouton(genre_, GenreRdg, genre, IdMsg::MotifsLineaire, "LineaireRdb", 0);
  SurfaciqueRdb = Bouton(genre_, GenreRdg, genre, IdMsg::MotifsSurfacique, "SurfaciqueRdb", 1);
  groupes->addWidget(GenreRdg);
  auto* dessin = new QVBoxLayout(DessinRdg);
  Bouton(dessin_, DessinRdg, dessin, IdMsg::MotifsPlan, "PlanRdb", 0);
  Bouton(dessin_, DessinRdg, dessin, IdMsg::MotifsCoupe, "CoupeRdb", 1);
  Bouton(dessin_, DessinRdg, dessin, IdMsg::MotifsLesDeux, "LesDeuxRdb", 2);
  groupes->addWidget(DessinRdg);
  groupes->addWidget(HabillageChk);
  groupes->addStretch(1);
  principal->addLayout(groupes);

  for (int i = 0; i < drawing::NombreMesPenStyle; ++i)
    TypeTraitBox->addItem(Q(drawing::NomMesPenStyle(static_cast<drawing::MesPenStyle>(i))));
  EpaisseurUD->setRange(1, 99);
  auto* trait = new QHBoxLayout;
  trait->addWidget(new QLabel(M(IdMsg::MotifsTypeDeTrait), this));
  trait->addWidget(TypeTraitBox);
  trait->addWidget(new QLabel(M(IdMsg::MotifsEpaisseurTrait), this));
  trait->addWidget(EpaisseurUD);
  trait->addWidget(TraitLisseChk);
  trait->addWidget(CouleurPlume);
  trait->addStretch(1);
  principal->addLayout(trait);

  for (IdMsg id : {IdMsg::MotifsPlein, IdMsg::MotifsHachuresHorizontales, IdMsg::MotifsHachuresVerticales,
                   IdMsg::MotifsHachuresDiagonale1, IdMsg::MotifsHachuresDiagonale2, IdMsg::MotifsCroisillons,
                   IdMsg::MotifsCroisillonsDiagonale})
    TypeRemplissageBox->addItem(M(id));
  MotifRemplissageBox->addItem(M(IdMsg::MotifsUni));
  if (ListeTexturesCourante)
    for (drawing::TObjetMotifdeBase* t : *ListeTexturesCourante) MotifRemplissageBox->addItem(Q(t->DesignMotif));
  auto* remplissage = new QFormLayout(MotifRemplissageGrp);
  remplissage->addRow(M(IdMsg::MotifsTypeDeRemplissage), TypeRemplissageBox);
  remplissage->addRow(M(IdMsg::MotifsCouleur), CouleurPinceau);
  remplissage->addRow(M(IdMsg::MotifsMotifRemplissageListe), MotifRemplissageBox);
  auto* bas = new QHBoxLayout;
  bas->addWidget(MotifRemplissageGrp, 1);
  VisuMotif->setFixedSize(TailleVisu, TailleVisu);
  bas->addWidget(VisuMotif);
  principal->addLayout(bas);
  principal->addLayout(platform::qt::BoutonsOKAnnuler(this, OKBtn, &AnnulerBtn));

  ChargeControles();

  connect(NomEdit, &QLineEdit::textChanged, this, &TEditTraitDlg::Transfere);
  connect(genre_, &QButtonGroup::idClicked, this, &TEditTraitDlg::ChangeGenre);
  connect(dessin_, &QButtonGroup::idClicked, this, &TEditTraitDlg::Transfere);
  connect(HabillageChk, &QCheckBox::toggled, this, &TEditTraitDlg::Transfere);
  connect(TypeTraitBox, &QComboBox::currentIndexChanged, this, &TEditTraitDlg::Transfere);
  connect(EpaisseurUD, &QSpinBox::valueChanged, this, &TEditTraitDlg::Transfere);
  connect(TraitLisseChk, &QCheckBox::toggled, this, &TEditTraitDlg::Transfere);
  connect(CouleurPlume, &TCadreCouleur::CouleurChangee, this, &TEditTraitDlg::Transfere);
  connect(TypeRemplissageBox, &QComboBox::currentIndexChanged, this, &TEditTraitDlg::Transfere);
  connect(CouleurPinceau, &TCadreCouleur::CouleurChangee, this, &TEditTraitDlg::Transfere);
  connect(MotifRemplissageBox, &QComboBox::currentIndexChanged, this, &TEditTraitDlg::Transfere);
}

TEditTraitDlg::~TEditTraitDlg() = default;

void TEditTraitDlg::ChargeControles() {
  drawing::TObjetTrait& m = *MotifCourant;
  InitCtrls = true;
  NomEdit->setText(Q(m.DesignMotif));
  (m.NumMotif < 0 ? LineaireRdb : SurfaciqueRdb)->setChecked(true);
  if (QAbstractButton* b = dessin_->button(m.CoupePlan % 10)) b->setChecked(true);
  HabillageChk->setChecked(m.CoupePlan > 9);
  TypeTraitBox->setCurrentIndex(static_cast<int>(m.StylePlume) % drawing::NombreMesPenStyle);
  EpaisseurUD->setValue(m.EpaisseurPlume);
  TraitLisseChk->setChecked(m.TraitLisse);
  CouleurPlume->FixeCouleur(m.CouleurPlume);
  const int pinceau = static_cast<int>(m.StylePinceau);
  TypeRemplissageBox->setCurrentIndex(m.StylePinceau != TStylePinceau::bsSolid && pinceau - 1 < TypeRemplissageBox->count()
                                          ? pinceau - 1
                                          : 0);
  int texture = m.NumMotif;
  if (m.NumMotif > 0) {
    texture = 0;
    if (ListeTexturesCourante)
      for (int i = 0; i < ListeTexturesCourante->Count(); ++i)
        if (ListeTexturesCourante->UnObjet(i) == m.UneTexture) texture = i + 1;
  }
  MotifRemplissageBox->setCurrentIndex(texture);
  CouleurPinceau->FixeCouleur(m.CouleurPinceau);
  // A fill entry's kind cannot change and it has no dressing; a locked line
  // style keeps its kind but its dressing can still be changed.
  GenreRdg->setEnabled(m.TypeMotif != drawing::TTypeMotif::tmRempli);
  HabillageChk->setVisible(GenreRdg->isEnabled());
  if (m.GetVerrou()) GenreRdg->setEnabled(false);
  InitCtrls = false;
  ChangeGenre();
}

void TEditTraitDlg::ChangeGenre() {
  const bool surfacique = SurfaciqueRdb->isChecked();
  MotifRemplissageGrp->setEnabled(surfacique);
  PeintGroupe(MotifRemplissageGrp, surfacique);
  PeintGroupe(GenreRdg, GenreRdg->isEnabled());
  const bool init = InitCtrls;
  InitCtrls = true;
  for (QComboBox* liste : {TypeRemplissageBox, MotifRemplissageBox}) {
    if (!surfacique)
      liste->setCurrentIndex(-1);
    else if (liste->currentIndex() < 0)
      liste->setCurrentIndex(0);
  }
  InitCtrls = init;
  Transfere();
}

void TEditTraitDlg::Transfere() {
  if (InitCtrls) return;
  drawing::TObjetTrait& m = *MotifCourant;
  m.DesignMotif = NomEdit->text().toStdString();
  m.UneTexture = nullptr;
  if (SurfaciqueRdb->isChecked()) {
    const int item = std::max(0, MotifRemplissageBox->currentIndex());
    m.NumMotif = static_cast<int16_t>(item);
    if (item > 0 && ListeTexturesCourante && item <= ListeTexturesCourante->Count())
      m.UneTexture = ListeTexturesCourante->LaTexture(item - 1);
  } else {
    m.NumMotif = -1;
  }
  // A stored drawing kind the group does not show keeps its units digit.
  const int dessin = dessin_->checkedId() >= 0 ? dessin_->checkedId() : m.CoupePlan % 10;
  m.CoupePlan = dessin + (HabillageChk->isChecked() ? 10 : 0);
  if (TypeTraitBox->currentIndex() >= 0) m.StylePlume = static_cast<drawing::MesPenStyle>(TypeTraitBox->currentIndex());
  m.EpaisseurPlume = EpaisseurUD->value();
  m.TraitLisse = TraitLisseChk->isChecked();
  m.CouleurPlume = CouleurPlume->Couleur();
  if (m.NumMotif < 0) {
    m.StylePinceau = TStylePinceau::bsSolid;
    m.CouleurPinceau = platform::kWhite;
  } else {
    const int item = TypeRemplissageBox->currentIndex();
    m.StylePinceau = item > 0 ? static_cast<TStylePinceau>(item + 1) : TStylePinceau::bsSolid;
    m.CouleurPinceau = CouleurPinceau->Couleur();
  }
  m.ModePlume = drawing::TModePlume::pmCopy;
  DessineVisu();
}

void TEditTraitDlg::DessineVisu() {
  platform::QtCanvas canvas(TailleVisu, TailleVisu);
  MotifCourant->DessineVisuMotif(canvas, {0, 0, TailleVisu, TailleVisu});
  VisuMotif->setPixmap(QPixmap::fromImage(canvas.Image()));
}

void TEditTraitDlg::accept() {
  entree_.CopieMotif(*MotifCourant);
  QDialog::accept();
}

}  // namespace views
