#include "views/windows/fiche_select_transfert.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace views {

using enum drawing::TypeObjetDessin;

namespace {

// The snap radius of the window, in metres.
constexpr double RayonSelection = 0.5;

}  // namespace

TFicheSelectTransfert::TFicheSelectTransfert(QWidget* parent) : TFicheVisuGraphique(parent) {
  setObjectName("FicheSelectTransfert");
  setWindowTitle(QString::fromUtf8("Copie d'une partie d'une cavité"));
  Panel1 = new QWidget(this);
  Panel1->setObjectName("Panel1");
  auto* boutons = new QHBoxLayout(Panel1);
  const auto bouton = [&](QPushButton*& b, const char* nom, const char* texte, const char* aide) {
    b = new QPushButton(QString::fromUtf8(texte), Panel1);
    b->setObjectName(nom);
    b->setToolTip(QString::fromUtf8(aide));
    b->setFocusPolicy(Qt::NoFocus);
    boutons->addWidget(b);
  };
  bouton(ValidBtn, "ValidBtn", "OK", "Valide la sélection");
  bouton(AnnuleBtn, "AnnuleBtn", "Annuler", "Abandon de la sélection");
  bouton(EffaceBtn, "EffaceBtn", "Effacer", "Désélectionne tout");
  bouton(ToutBtn, "ToutBtn", "Tout", "Sélectionne toutes les visées");
  ValidBtn->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
  AnnuleBtn->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
  boutons->addStretch();
  ValidBtn->setEnabled(false);
  EffaceBtn->setEnabled(false);
  StatusBar = new QLabel(QString::fromUtf8("Sélectionnez la première visée à copier"), this);
  StatusBar->setObjectName("StatusBar");
  StatusBar->setAlignment(Qt::AlignCenter);
  StatusBar->setFrameShape(QFrame::StyledPanel);
  if (auto* cadre = qobject_cast<QVBoxLayout*>(CadreDessin->layout())) {
    cadre->addWidget(Panel1);
    cadre->addWidget(StatusBar);
  }
  connect(ValidBtn, &QPushButton::clicked, this, [this] { ValidBtnClick(); });
  connect(AnnuleBtn, &QPushButton::clicked, this, [this] { AnnuleBtnClick(); });
  connect(EffaceBtn, &QPushButton::clicked, this, [this] { EffaceBtnClick(); });
  connect(ToutBtn, &QPushButton::clicked, this, [this] { ToutBtnClick(); });
}

TFicheSelectTransfert::~TFicheSelectTransfert() = default;

int TFicheSelectTransfert::iTypeFiche() {
  AffichageDefaut = AffichageDefautCode(cfSelectionVisees);
  return cfSelectionVisees;
}

void TFicheSelectTransfert::InitDessin() {
  SelectViseeAutorise = true;
  if (!typeDessin_) typeDessin_.emplace(foundation::TTypeDeDessin::tddPlani);
  MonoCavite = true;
  TFicheVisuGraphique::InitDessin();
  SetSelectable(EnsembleTypes({odPtLever}));
  AfficheAccroche = true;
  FixeRayonAccroche(RayonSelection);
}

void TFicheSelectTransfert::BaseDessinClick() {
  TFicheVisuGraphique::BaseDessinClick();
  if (!SelectViseeAutorise) return;
  SelectVisees();
  MajBoutons();
}

void TFicheSelectTransfert::MajBoutons() {
  ValidBtn->setEnabled(UneVSelectee);
  EffaceBtn->setEnabled(UneVSelectee);
}

void TFicheSelectTransfert::ValidBtnClick() { accept(); }

void TFicheSelectTransfert::AnnuleBtnClick() { reject(); }

void TFicheSelectTransfert::EffaceBtnClick() {
  DeSelectToutesVisees(true);
  ValidBtn->setEnabled(false);
  EffaceBtn->setEnabled(false);
}

void TFicheSelectTransfert::ToutBtnClick() {
  SelectToutesVisees();
  MajBoutons();
}

}  // namespace views
