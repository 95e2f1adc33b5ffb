#include "views/windows/visu_pt_dlg.h"

#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <tuple>

#include "platform/qt/conversions_qt.h"
#include "survey/point_speleo.h"

namespace views {

using platform::qt::Q;

TImageCroquis::TImageCroquis(int32_t largeur, int32_t hauteur, QWidget* parent)
    : QWidget(parent), Image(largeur, hauteur) {
  setFixedSize(largeur, hauteur);
  setCursor(Qt::PointingHandCursor);
}

void TImageCroquis::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, Image.Image());
}

void TImageCroquis::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (Appui) Appui(e->button(), p.x(), p.y());
}

TVisuPtDlg::TVisuPtDlg(TNoyauGraphique& proprietaire, survey::TPointSpeleo& point, QWidget* parent)
    : QDialog(parent), noyau_(proprietaire, point) {
  setObjectName("VisuPtDlg");
  setWindowTitle(QString::fromUtf8("Informations sur le point"));
  const auto champ = [this](QLineEdit*& e, const char* nom) {
    e = new QLineEdit(this);
    e->setObjectName(nom);
    e->setReadOnly(true);
    return e;
  };
  const auto etiquette = [this](const char* texte) { return new QLabel(QString::fromUtf8(texte), this); };

  auto* identite = new QFormLayout;
  identite->addRow(etiquette("Désignation du point :"), champ(EditDesign, "EditDesign"));
  LabelGal = etiquette("Dans la galerie :");
  identite->addRow(LabelGal, champ(EditGal, "EditGal"));
  identite->addRow(etiquette("Cavité :"), champ(EditCavite, "EditCavite"));
  auto* coordonnees = new QHBoxLayout;
  for (auto [e, nom, titre] : {std::tuple{&EditX, "EditX", "X :"}, {&EditY, "EditY", "Y :"}, {&EditZ, "EditZ", "Z :"}}) {
    coordonnees->addWidget(etiquette(titre));
    coordonnees->addWidget(champ(*e, nom));
  }
  identite->addRow(coordonnees);

  DiffEntreeGroup = new QGroupBox(QString::fromUtf8("Ecart par rapport à l'entrée"), this);
  DiffEntreeGroup->setObjectName("DiffEntreeGroup");
  EntreeText = new QLabel(DiffEntreeGroup);
  EntreeText->setObjectName("EntreeText");
  auto* ecarts = new QFormLayout(DiffEntreeGroup);
  ecarts->addRow(EntreeText);
  ecarts->addRow(etiquette("Distance horizontale depuis l'entrée :"), champ(EditSl, "EditSl"));
  ecarts->addRow(etiquette("Distance suivant la pente depuis l'entrée :"), champ(EditSP, "EditSP"));
  ecarts->addRow(etiquette("Dénivelée par rapport à l'entrée :"), champ(EditDZ, "EditDZ"));
  ecarts->addRow(etiquette("Total des dénivellées >= 0 :"), champ(EditDhh, "EditDhh"));
  ecarts->addRow(etiquette("Total des dénivellées < 0 :"), champ(EditDhb, "EditDhb"));

  Memo1 = new QLabel(QString::fromUtf8("Cliquez sur \nun point en \nvert pour \nl'afficher\n----->\nClic droit pour\nagrandir"),
                     this);
  Memo1->setObjectName("Memo1");
  VisuDirect = new TImageCroquis(TailleVisuDirect, TailleVisuDirect, this);
  VisuDirect->setObjectName("VisuDirect");
  auto* croquis = new QHBoxLayout;
  croquis->addStretch();
  croquis->addWidget(Memo1);
  croquis->addWidget(VisuDirect);

  MemoComment = new QPlainTextEdit(this);
  MemoComment->setObjectName("MemoComment");
  MemoComment->setReadOnly(true);
  MemoComment->setMinimumHeight(40);
  VisuSuiteBtn = new QPushButton(QStringLiteral("??"), this);
  VisuSuiteBtn->setObjectName("VisuSuiteBtn");
  BoutonOK = new QPushButton(QStringLiteral("OK"), this);
  BoutonOK->setObjectName("OKBtn");
  BoutonOK->setDefault(true);
  auto* boutons = new QHBoxLayout;
  boutons->addWidget(VisuSuiteBtn);
  boutons->addStretch();
  boutons->addWidget(BoutonOK);

  auto* colonne = new QVBoxLayout;
  colonne->addLayout(identite);
  colonne->addWidget(DiffEntreeGroup);
  colonne->addLayout(croquis);
  colonne->addWidget(etiquette("Commentaires :"));
  colonne->addWidget(MemoComment, 1);
  colonne->addLayout(boutons);

  PanelLoupe = new QFrame(this);
  PanelLoupe->setObjectName("PanelLoupe");
  PanelLoupe->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Loupe = new TImageCroquis(LargeurLoupe, HauteurLoupe, PanelLoupe);
  Loupe->setObjectName("Loupe");
  auto* loupe = new QVBoxLayout(PanelLoupe);
  loupe->addWidget(Loupe);
  PanelLoupe->setVisible(false);

  auto* tout = new QHBoxLayout(this);
  tout->addLayout(colonne);
  tout->addWidget(PanelLoupe, 0, Qt::AlignTop);

  connect(BoutonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(VisuSuiteBtn, &QPushButton::clicked, this, &TVisuPtDlg::VisuSuiteBtnClick);
  // Both sketches: a left press walks at once (the press position is what
  // counts, and the press may close the enlarged sketch under the mouse).
  for (TImageCroquis* image : {VisuDirect, Loupe}) {
    image->Appui = [this, image](Qt::MouseButton bouton, int32_t x, int32_t y) {
      VisuDirectMouseDown(image, bouton, x, y);
      if (bouton == Qt::LeftButton) VisuDirectClick(image);
    };
  }
  UneImage = VisuDirect;
  AffichePoint();
}

TVisuPtDlg::~TVisuPtDlg() = default;

void TVisuPtDlg::AffichePoint() {
  const TInfosPoint& i = noyau_.AffichePoint();
  EditCavite->setText(Q(i.Cavite));
  EditDesign->setText(Q(i.Design));
  EditGal->setText(Q(i.Galerie));
  LabelGal->setVisible(i.Rattache);
  EditGal->setVisible(i.Rattache);
  Memo1->setVisible(i.Rattache);
  VisuDirect->setVisible(i.Rattache);
  DiffEntreeGroup->setVisible(i.Rattache);
  EditX->setText(Q(i.X));
  EditY->setText(Q(i.Y));
  EditZ->setText(Q(i.Z));
  LoupeAffichee = false;
  if (!PanelLoupe->isHidden()) {
    PanelLoupe->setVisible(false);
    adjustSize();
  }
  UneImage = VisuDirect;
  if (i.Rattache) {
    EntreeText->setText(Q(i.Entree));
    EditSP->setText(Q(i.SP));
    EditSl->setText(Q(i.Sl));
    EditDZ->setText(Q(i.DZ));
    EditDhh->setText(Q(i.Dhh));
    EditDhb->setText(Q(i.Dhb));
    DessineVueDirecte();
  } else {
    noyau_.LstPts.clear();
    noyau_.LstPtVue.clear();
    setFixedHeight(HauteurPointNonRattache);
  }
  QStringList lignes;
  for (const std::string& l : i.Commentaire) lignes << Q(l);
  MemoComment->setPlainText(lignes.join('\n'));
  VisuSuiteBtn->setVisible(i.Suites);
}

void TVisuPtDlg::DessineVueDirecte() {
  noyau_.DessineVueDirecte(UneImage->Image);
  imageDessinee_ = UneImage;
  UneImage->update();
}

void TVisuPtDlg::VisuDirectMouseDown(TImageCroquis*, Qt::MouseButton bouton, int32_t x, int32_t y) {
  LoupeAffichee = bouton == Qt::RightButton && PanelLoupe->isHidden();
  const bool change = PanelLoupe->isHidden() == LoupeAffichee;
  PanelLoupe->setVisible(LoupeAffichee);
  if (change) adjustSize();
  UneImage = LoupeAffichee ? Loupe : VisuDirect;
  if (bouton == Qt::RightButton) DessineVueDirecte();
  XClick = x;
  YClick = y;
}

void TVisuPtDlg::VisuDirectClick(TImageCroquis* image) {
  // The neighbours' pixels are those of the sketch pressed: the small one
  // is drawn again when the pixels held are the enlarged one's.
  if (image != imageDessinee_) {
    noyau_.DessineVueDirecte(image->Image);
    imageDessinee_ = image;
    image->update();
  }
  const int i = noyau_.VoisinClique(XClick, YClick);
  if (i < 0) return;
  noyau_.MarcheVers(i);
  AffichePoint();
}

void TVisuPtDlg::VisuSuiteBtnClick() { noyau_.PointAffiche->VoirSuites(); }

}  // namespace views
