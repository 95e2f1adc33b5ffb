#include "app/echanges/import_texte_dlg.h"

#include <QApplication>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/saisie/choix_lever_dlg.h"
#include "formats/import/points/import_points_surface.h"
#include "formats/import/texte/import_texte.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/qt/conversions_qt.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/dossiers.h"
#include "survey/lever.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;

TImportTexteDlg::TImportTexteDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("ImportTexteDlg");
  setWindowTitle(Q(Msg(IdMsg::AppImportTexteTitre)));
  auto* haut = new QVBoxLayout(this);
  auto* f = new QFormLayout;
  auto edit = [&](const char* nom, IdMsg libelle) {
    auto* e = new QLineEdit(this);
    e->setObjectName(nom);
    f->addRow(Q(Msg(libelle)), e);
    return e;
  };
  EditRattach = edit("EditRattach", IdMsg::AppImportTextePtInsertion);
  EditRattach->setEnabled(false);
  EditGal = edit("EditGal", IdMsg::AppImportTexteGalerie);
  EditGal->setEnabled(false);
  EditLever = edit("EditLever", IdMsg::AppImportTexteLever);
  EditLever->setReadOnly(true);
  EditLever->installEventFilter(this);
  haut->addLayout(f);
  auto* boutons = new QHBoxLayout;
  auto bouton = [&](const char* nom, IdMsg texte) {
    auto* b = new QPushButton(Q(Msg(texte)), this);
    b->setObjectName(nom);
    b->setAutoDefault(false);
    boutons->addWidget(b);
    return b;
  };
  QPushButton* galerie = bouton("BitBtn1", IdMsg::AppImportTexteNouvelleGalerie);
  QPushButton* fichier = bouton("FichierBtn", IdMsg::AppImportTexteOuvrirFichier);
  QPushButton* annuler = bouton("CancelBtn", IdMsg::AppCfgAnnuler);
  haut->addLayout(boutons);
  connect(galerie, &QPushButton::clicked, this, [this] { NouvelleGalerieClick(); });
  connect(fichier, &QPushButton::clicked, this, [this] { FichierClick(); });
  connect(annuler, &QPushButton::clicked, this, &QDialog::reject);
}

void TImportTexteDlg::Init(survey::TLeversList& liste) {
  Levers = &liste;
  NumLever = survey::Document().LeverCourant;
  EditLever->setText(NumLever ? Q(NumLever->DateTexte()) : QString());
  EditGal->setText(Q(survey::Document().NomGalerieCourante));
  CreeGalerie = false;
}

bool TImportTexteDlg::NouvelleGalerieClick() {
  const std::optional<std::string> nom = platform::Dialogs::Current().Prompt(
      Msg(IdMsg::AppImportTexteSaisieGalerie), Msg(IdMsg::AppImportTexteNomGalerie), NomGalerie);
  CreeGalerie = nom.has_value();
  if (nom) {
    NomGalerie = *nom;
    EditGal->setText(Q(NomGalerie));
  }
  return CreeGalerie;
}

void TImportTexteDlg::EditLeverClick() {
  if (!Levers) return;
  if (survey::TLever* l = ChoisitLever(this, *Levers)) {
    NumLever = l;
    EditLever->setText(Q(l->DateTexte()));
  }
}

void TImportTexteDlg::FichierClick() {
  platform::FileDialogOptions options;
  options.Filter = Msg(IdMsg::AppImportTexteFiltre);
  options.InitialFolder = survey::DossierExecutable();
  const std::optional<platform::FileChoice> choix = platform::Dialogs::Current().OpenFile(options);
  if (!choix) return;
  std::string octets;
  if (!platform::ReadFile(choix->Path, octets)) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error,
                                             Msg(IdMsg::ImportImpossibleOuvrir) + choix->Path);
    return;
  }
  ListeVisees = formats::LignesFichierPoints(octets);
  PointsImportes = formats::LitStationsTexte(ListeVisees);
  NumeroInterneImport = static_cast<int>(PointsImportes.size());
  if (platform::Dialogs::Current().AskYesNo(Msg(IdMsg::AppImportTexteIncorporer)) == platform::Answer::Yes) accept();
}

bool TImportTexteDlg::eventFilter(QObject* objet, QEvent* evenement) {
  if (objet == EditLever && evenement->type() == QEvent::MouseButtonRelease) {
    EditLeverClick();
    return true;
  }
  return QDialog::eventFilter(objet, evenement);
}

void InstalleDialogueImportTexte() {
  survey::Ports().DialogueImportTexte = [](survey::TCavite& cavite) -> std::optional<survey::TImportTexte> {
    TImportTexteDlg dlg(QApplication::activeWindow());
    dlg.Init(cavite.Levers);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    survey::TImportTexte r;
    r.Points = std::move(dlg.PointsImportes);
    r.NouvelleGalerie = dlg.CreeGalerie;
    r.NomGalerie = dlg.NomGalerie;
    return r;
  };
}

}  // namespace app
