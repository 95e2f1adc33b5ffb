#include "views/windows/choix_image_dlg.h"

#include <QComboBox>
#include <QVBoxLayout>

#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"

namespace views {

TChoixImageDlg::TChoixImageDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("ChoixImageDlg");
  setWindowTitle(QString::fromUtf8("Choix de l'image à afficher"));
  ImageBox = new QComboBox(this);
  ImageBox->setObjectName("ImageBox");
  ImageBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  auto* colonne = new QVBoxLayout(this);
  colonne->addWidget(ImageBox);
  colonne->addStretch();
  colonne->addLayout(platform::qt::BoutonsOKAnnuler(this, BoutonOK));
}

int32_t TChoixImageDlg::Execute(bool efface, const std::vector<std::string>& noms, int32_t active, QWidget* parent) {
  TChoixImageDlg d(parent);
  d.Init(efface, noms, active);
  return d.exec() == QDialog::Accepted ? d.ImageSelectee : -1;
}

void TChoixImageDlg::Init(bool Efface, const std::vector<std::string>& noms, int32_t active) {
  if (Efface) setWindowTitle(QString::fromUtf8("Choix de l'image à effacer"));
  Effacer = Efface;
  ImageBox->clear();
  for (const std::string& n : noms) ImageBox->addItem(platform::qt::Q(n));
  ImageBox->setCurrentIndex(active >= 0 && active < ImageBox->count() ? active : -1);
  ImageSelectee = ImageBox->currentIndex();
}

void TChoixImageDlg::done(int resultat) {
  if (resultat == QDialog::Accepted) {
    const int32_t choix = ImageBox->currentIndex();
    if (choix < 0 || (!Effacer && choix == ImageSelectee)) resultat = QDialog::Rejected;
    else ImageSelectee = choix;
  }
  QDialog::done(resultat);
}

}  // namespace views
