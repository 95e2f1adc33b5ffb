#include "views/windows/visu_compo_dlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "drawing/contexte_dessin.h"

namespace views {

using enum drawing::TypeObjetDessin;

TVisuCompoDlg::TVisuCompoDlg(bool autresCavites, QWidget* parent) : QDialog(parent), autresCavites_(autresCavites) {
  setObjectName("VisuCompoDlg");
  setWindowTitle(QString::fromUtf8("Composants à afficher"));
  auto* boites = new QVBoxLayout;
  const auto boite = [&](QCheckBox*& b, const char* nom, const char* titre) {
    b = new QCheckBox(QString::fromUtf8(titre), this);
    b->setObjectName(nom);
    boites->addWidget(b);
  };
  boite(ChkbPoints, "ChkbPoints", "Désign points topos");
  boite(ChkbComment, "ChkbComment", "Commentaires");
  boite(ChkbPtSurf, "ChkbPtSurf", "Désign Pts Surface");
  boite(ChkbCompos, "ChkbCompos", "Compos");
  boite(ChkbSurface, "ChkbSurface", "Points de surface");
  boite(ChkbLevers, "ChkbLevers", "Cheminement");
  boite(ChkbVishab, "ChkbVishab", "Visées d'habillage");
  boite(ChkbGaleries, "ChkbGaleries", "Galerie");
  boite(ChkbDessin, "ChkbDessin", "Dessin");
  boite(ChkbTextes, "ChkbTextes", "Ecritures");
  boite(ChkbCoupes, "ChkbCoupes", "Sections Transversales");
  boite(ChkbEcarts, "ChkbEcarts", "Dessins à l'écart");
  boite(ChkbAutresCav, "ChkbAutresCav", "Autres cavités");
  ChkbAutresCav->setVisible(autresCavites);
  BoutonOK = new QPushButton("OK", this);
  BoutonOK->setObjectName("OKBtn");
  BoutonOK->setDefault(true);
  BoutonAnnuler = new QPushButton("Annuler", this);
  BoutonAnnuler->setObjectName("AnnulerBtn");
  auto* boutons = new QHBoxLayout;
  boutons->addStretch();
  boutons->addWidget(BoutonOK);
  boutons->addWidget(BoutonAnnuler);
  auto* tout = new QVBoxLayout(this);
  tout->addLayout(boites);
  tout->addStretch();
  tout->addLayout(boutons);
  connect(BoutonOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(BoutonAnnuler, &QPushButton::clicked, this, &QDialog::reject);
  connect(ChkbPoints, &QCheckBox::toggled, this, [this](bool on) { ChkbComment->setEnabled(on); });
  connect(ChkbLevers, &QCheckBox::toggled, this, [this](bool on) { ChkbVishab->setEnabled(habExiste_ && on); });
}

void TVisuCompoDlg::Init(const TObjetsAffichables& t, bool composCoupe, bool habExiste) {
  habExiste_ = habExiste;
  ChkbPoints->setChecked(t[odNumPt]);
  ChkbComment->setChecked(drawing::Affichage().AfficheCommentaires);
  ChkbComment->setEnabled(ChkbPoints->isChecked());
  ChkbPtSurf->setChecked(t[odNumSurf]);
  ChkbCompos->setChecked(t[odCompos]);
  ChkbSurface->setChecked(t[odPtSurf]);
  ChkbLevers->setChecked(t[odPtLever]);
  ChkbVishab->setEnabled(habExiste && ChkbLevers->isChecked());
  ChkbVishab->setChecked(ChkbVishab->isEnabled() && t[odVisHab]);
  ChkbGaleries->setChecked(t[odGalerie]);
  ChkbDessin->setChecked(t[odDessin]);
  ChkbTextes->setChecked(t[odTexte]);
  ChkbCoupes->setEnabled(composCoupe);
  ChkbCoupes->setChecked(t[odCoupes]);
  ChkbEcarts->setEnabled(composCoupe);
  ChkbEcarts->setChecked(t[odEcarts]);
  ChkbAutresCav->setChecked(autresCavites_ && t[odAutresCavites]);
  adjustSize();
}

void TVisuCompoDlg::TransfereValeurs(TObjetsAffichables& t) const {
  t[odNumPt] = ChkbPoints->isChecked();
  t[odNumSurf] = ChkbPtSurf->isChecked();
  t[odCompos] = ChkbCompos->isChecked();
  t[odPtSurf] = ChkbSurface->isChecked();
  t[odPtLever] = ChkbLevers->isChecked();
  t[odVisHab] = ChkbVishab->isEnabled() && ChkbVishab->isChecked();
  t[odGalerie] = ChkbGaleries->isChecked();
  t[odDessin] = ChkbDessin->isChecked();
  t[odHabillage] = ChkbDessin->isChecked();
  t[odTexte] = ChkbTextes->isChecked();
  // The cross-section and offset-part boxes are always shown (disabled
  // without ComposCoupe), so their kinds follow the box.
  t[odCoupes] = !ChkbCoupes->isHidden() && ChkbCoupes->isChecked();
  t[odEcarts] = !ChkbEcarts->isHidden() && ChkbEcarts->isChecked();
  t[odAutresCavites] = autresCavites_ && ChkbAutresCav->isChecked();
  drawing::Affichage().AfficheCommentaires = ChkbComment->isChecked();
  DerivePlansAffichables(t);
}

}  // namespace views
