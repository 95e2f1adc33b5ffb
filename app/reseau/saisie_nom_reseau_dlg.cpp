#include "app/reseau/saisie_nom_reseau_dlg.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "platform/dialogs.h"
#include "platform/qt/boutons_dialogue.h"
#include "survey/contexte_document.h"
#include "survey/reseau.h"
#include "views/cadres/cadres_projection.h"

namespace app {

using views::TGroupeRadio;
using views::TCadreProjectionSimple;

using foundation::IdMsg;
using foundation::Msg;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
QString M(IdMsg id) { return Q(Msg(id)); }

// A zone of 0 or less than 0 alike means none for a single-zone system; the
// frames give -1, older documents 0.
int32_t Zone(int32_t z) { return z == 0 ? -1 : z; }

bool MemeSysteme(const std::string& a, int32_t za, const std::string& b, int32_t zb) {
  return a == b && Zone(za) == Zone(zb);
}

}  // namespace

TSaisieNomReseauDlg::TSaisieNomReseauDlg(survey::TReseau& UnReseau, QWidget* parent)
    : QDialog(parent), LeReseau(&UnReseau), rectif_(survey::Document().RectifEnCours) {
  setObjectName("SaisieNomReseauDlg");
  setWindowTitle(M(IdMsg::AppReseauTitre));
  auto* haut = new QVBoxLayout(this);
  auto* nom = new QFormLayout;
  EditNom = new QLineEdit(Q(LeReseau->Nom), this);
  EditNom->setObjectName("EditNom");
  nom->addRow(M(IdMsg::AppReseauNom), EditNom);
  haut->addLayout(nom);

  CadreProjectionActive = new TCadreProjectionSimple(this);
  CadreProjectionActive->setObjectName("CadreProjectionActive");
  if (rectif_)
    CadreProjectionActive->InitCadre(LeReseau->Projection, LeReseau->NumFuseau, LeReseau->Projection,
                                     LeReseau->NumFuseau);
  else
    CadreProjectionActive->InitCadre("", 0, "", 0);
  haut->addWidget(CadreProjectionActive);

  ChangeProjBtn = new QPushButton(M(IdMsg::AppReseauChangement) + M(IdMsg::AppReseauAvecRecalcul), this);
  ChangeProjBtn->setObjectName("ChangeProjBtn");
  ChangeProjBtn->setAutoDefault(false);
  ChangeProjBtn->setVisible(rectif_ && !LeReseau->Projection.empty());
  haut->addWidget(ChangeProjBtn);

  CadreProjectionNouvelle = new TCadreProjectionSimple(this);
  CadreProjectionNouvelle->setObjectName("CadreProjectionNouvelle");
  CadreProjectionNouvelle->hide();
  haut->addWidget(CadreProjectionNouvelle);

  haut->addLayout(platform::qt::BoutonsOKAnnuler(this, OKBtn, &AnnulerBtn));
  haut->addStretch();

  connect(ChangeProjBtn, &QPushButton::clicked, this, [this] { ChangeProjBtnClick(); });
  // After the frame's own handling of the click.
  connect(CadreProjectionActive->SimpleCoordsRdg, &TGroupeRadio::Click, this, [this] { RdgTypeCoordClick(); });
  EditNom->setFocus();
}

void TSaisieNomReseauDlg::RdgTypeCoordClick() {
  ChangeProjBtn->setVisible(rectif_ && CadreProjectionActive->Rattache() && !LeReseau->Projection.empty());
}

void TSaisieNomReseauDlg::ChangeProjBtnClick() {
  RecalculProj = !RecalculProj;
  CadreProjectionNouvelle->InitCadre(LeReseau->Projection, LeReseau->NumFuseau, LeReseau->Projection,
                                     LeReseau->NumFuseau);
  CadreProjectionNouvelle->SimpleCoordsRdg->setEnabled(false);
  CadreProjectionNouvelle->GroupProject->setTitle(M(IdMsg::AppReseauNouvelleProjection));
  CadreProjectionActive->setEnabled(!RecalculProj);
  CadreProjectionNouvelle->setVisible(RecalculProj);
  ChangeProjBtn->setText(M(IdMsg::AppReseauChangement) +
                         M(RecalculProj ? IdMsg::AppReseauSansRecalcul : IdMsg::AppReseauAvecRecalcul));
}

void TSaisieNomReseauDlg::accept() {
  auto& dialogues = platform::Dialogs::Current();
  const std::string nom = EditNom->text().toStdString();
  if (foundation::OteBlancs(nom).empty()) {
    dialogues.ShowMessage(platform::MessageKind::Warning, Msg(IdMsg::AppNomReseauVide));
    EditNom->setFocus();
    return;
  }
  survey::TReseau& r = *LeReseau;
  bool convertit = false;
  const std::string nouveau = CadreProjectionNouvelle->ProjectActive;
  const int32_t zoneNouvelle = CadreProjectionNouvelle->ZoneActive();
  if (rectif_ && RecalculProj) {
    // A change to the same system waits until the system differs or the
    // change is cancelled.
    if (MemeSysteme(nouveau, zoneNouvelle, r.Projection, r.NumFuseau)) return;
    switch (dialogues.AskYesNoCancel(Msg(IdMsg::AppReseauAppliquer))) {
      case platform::Answer::Yes: convertit = true; break;
      case platform::Answer::No: break;
      default: return;
    }
  }
  if (convertit) {
    // All or nothing: a failed change leaves the network and the dialog as they were.
    if (!r.ChangeProjection(r.Projection, r.NumFuseau, zoneNouvelle, nouveau)) return;
    r.Projection = nouveau;
    r.NumFuseau = zoneNouvelle;
    r.ChercheParamsProj();
  } else {
    const std::string systeme = CadreProjectionActive->Rattache() ? CadreProjectionActive->ProjectActive : std::string();
    const int32_t zone = CadreProjectionActive->ZoneActive();
    if (!MemeSysteme(systeme, zone, r.Projection, r.NumFuseau)) {
      r.Projection = systeme;
      r.NumFuseau = zone;
    }
    r.ChercheParamsProj();
  }
  r.Nom = nom;
  survey::Document().DocumentModifie = true;
  if (!rectif_) r.CreeCaviteSurface();
  QDialog::accept();
}

}  // namespace app
