#include "app/saisie/saisie_instr_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "platform/dialogs.h"
#include "platform/qt/conversions_qt.h"
#include "survey/contexte_document.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;
using platform::qt::VersStd;
using survey::TTypeInst;

namespace {

QLineEdit* EditNombre(QWidget* parent, const char* nom, const char* motif) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(nom));
  e->setValidator(new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(motif)), e));
  return e;
}

// The value of a number field, '.' as the decimal point; false when the text
// is not a number.
bool LitChamp(const QLineEdit* e, double& x) {
  return foundation::LitReel(foundation::NettoieNombre(VersStd(e->text())), x);
}

}  // namespace

TSaisieInstrDlg::TSaisieInstrDlg(QWidget* AOwner, survey::TInstrument& VInstrument, bool rectifEnCours)
    : QDialog(AOwner), instrument_(VInstrument), rectif_(rectifEnCours) {
  setObjectName(QStringLiteral("SaisieInstrDlg"));
  setWindowTitle(Q(Msg(IdMsg::AppInstrTitre)));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  auto* g = new QGridLayout;
  int ligne = 0;
  auto etiquette = [&](IdMsg id) { return new QLabel(Q(Msg(id)), this); };
  typeMesure_ = new QLabel(this);
  typeMesure_->setObjectName(QStringLiteral("TypeMesureLbl"));
  g->addWidget(etiquette(IdMsg::AppInstrTypeMesure), ligne, 0);
  g->addWidget(typeMesure_, ligne++, 1);
  designation_ = new QLineEdit(this);
  designation_->setObjectName(QStringLiteral("DesignationEdit"));
  g->addWidget(etiquette(IdMsg::AppInstrDesignation), ligne, 0);
  g->addWidget(designation_, ligne++, 1, 1, 2);
  marque_ = new QLineEdit(this);
  marque_->setObjectName(QStringLiteral("MarqueEdit"));
  g->addWidget(etiquette(IdMsg::AppInstrMarque), ligne, 0);
  g->addWidget(marque_, ligne++, 1, 1, 2);
  type_ = new QComboBox(this);
  type_->setObjectName(QStringLiteral("TypeInstrBox"));
  g->addWidget(etiquette(IdMsg::AppInstrType), ligne, 0);
  g->addWidget(type_, ligne++, 1, 1, 2);
  unitesLbl_ = etiquette(IdMsg::AppInstrUnites);
  unites_ = new QComboBox(this);
  unites_->setObjectName(QStringLiteral("UnitesBox"));
  g->addWidget(unitesLbl_, ligne, 0);
  g->addWidget(unites_, ligne++, 1);
  zeroLbl_ = etiquette(IdMsg::AppInstrZero);
  zero_ = new QComboBox(this);
  zero_->setObjectName(QStringLiteral("ZeroPentesBox"));
  zero_->addItems({Q(Msg(IdMsg::AppLeverEnHaut)), Q(Msg(IdMsg::AppLeverHorizontale)), Q(Msg(IdMsg::AppLeverEnBas))});
  zero_->setCurrentIndex(1);
  g->addWidget(zeroLbl_, ligne, 0);
  g->addWidget(zero_, ligne++, 1);
  coeffLectureLbl_ = etiquette(IdMsg::AppInstrCoeffLecture);
  coeffLecture_ = EditNombre(this, "CoeffLectureEdit", "\\d{0,6}");
  g->addWidget(coeffLectureLbl_, ligne, 0);
  g->addWidget(coeffLecture_, ligne++, 1);
  coeffEtalonLbl_ = etiquette(IdMsg::AppInstrCoeffEtalon);
  coeffEtalonLbl_->setObjectName(QStringLiteral("CoeffEtalonLbl"));
  coeffEtalon_ = EditNombre(this, "CoeffEtalonEdit", "-?\\d{0,4}(\\.\\d{0,4})?");
  coeffEtalonUnite_ = new QLabel(this);
  coeffEtalonUnite_->setObjectName(QStringLiteral("CoeffEtalonUniteLbl"));
  g->addWidget(coeffEtalonLbl_, ligne, 0);
  g->addWidget(coeffEtalon_, ligne, 1);
  g->addWidget(coeffEtalonUnite_, ligne++, 2);
  precision_ = EditNombre(this, "PrecisionEdit", "\\d{0,7}(\\.\\d{0,4})?");
  precisionUnite_ = new QLabel(this);
  precisionUnite_->setObjectName(QStringLiteral("PrecisionUniteLbl"));
  g->addWidget(etiquette(IdMsg::AppInstrPrecision), ligne, 0);
  g->addWidget(precision_, ligne, 1);
  g->addWidget(precisionUnite_, ligne++, 2);
  v->addLayout(g);
  auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  boutons->button(QDialogButtonBox::Ok)->setText(Q(Msg(IdMsg::AppCfgOK)));
  boutons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKBtn"));
  boutons->button(QDialogButtonBox::Cancel)->setText(Q(Msg(IdMsg::AppCfgAnnuler)));
  boutons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("AnnulerBtn"));
  connect(boutons, &QDialogButtonBox::accepted, this, [this] { OkClick(); });
  connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  v->addWidget(boutons);

  // The kinds and units offered by what the instrument measures.
  typeMesure_->setText(Q(survey::NomTypeInst(instrument_.TypeInstr)));
  switch (instrument_.TypeInstr) {
    case TTypeInst::tiDist:
      type_->addItems(
          {Q(Msg(IdMsg::AppInstrRuban)), Q(Msg(IdMsg::AppInstrLasermetre)), Q(Msg(IdMsg::AppInstrTopofil))});
      break;
    case TTypeInst::tiAzim:
      type_->addItems({Q(Msg(IdMsg::AppInstrBoussole)), Q(Msg(IdMsg::AppInstrBoussoleElec))});
      unites_->addItems({Q(Msg(IdMsg::AppInstrDegres)), Q(Msg(IdMsg::AppInstrGrades))});
      break;
    case TTypeInst::tiPente:
      type_->addItems(
          {Q(Msg(IdMsg::AppInstrClisimetre)), Q(Msg(IdMsg::AppInstrLasermetre)), Q(Msg(IdMsg::AppInstrProfondimetre))});
      unites_->addItems(
          {Q(Msg(IdMsg::AppInstrDegres)), Q(Msg(IdMsg::AppInstrGrades)), Q(Msg(IdMsg::AppInstrPourcent))});
      break;
    default:
      break;
  }
  type_->setCurrentIndex(type_->count() > 0 ? 0 : -1);
  unites_->setCurrentIndex(unites_->count() > 0 ? 0 : -1);
  coeffLecture_->setText(QStringLiteral("1000"));
  if (instrument_.TypeInstr == TTypeInst::tiDist) coeffEtalon_->setText(QStringLiteral("1.00"));

  if (rectif_) {
    designation_->setText(Q(instrument_.DesignInstr));
    marque_->setText(Q(instrument_.Marque));
    zero_->setCurrentIndex(std::clamp(1 - instrument_.RefPente, 0, 2));
    if (!instrument_.TiGenre.empty()) {
      int i = type_->findText(Q(instrument_.TiGenre));
      if (i < 0) {
        type_->addItem(Q(instrument_.TiGenre));
        i = type_->count() - 1;
      }
      type_->setCurrentIndex(i);
    }
    const int u = static_cast<int>(instrument_.Unites);
    if (u < unites_->count()) unites_->setCurrentIndex(u);
    auto texte = [](double x, int w, int d) { return Q(foundation::OteBlancs(foundation::ReelEnStrFixe(x, w, d))); };
    coeffLecture_->setText(texte(instrument_.CoeffLecture, 6, 0));
    // Four decimals, as the edit accepts: a correction keeps the coefficient.
    coeffEtalon_->setText(texte(instrument_.CoeffEtalon, 12, 4));
    precision_->setText(texte(EstTopofil() ? instrument_.PrecisionRel : instrument_.PrecisionAbs, 12, 4));
  }
  connect(type_, &QComboBox::currentIndexChanged, this, [this] { TypeChange(); });
  connect(unites_, &QComboBox::currentIndexChanged, this, [this] { TypeChange(); });
  TypeChange();
}

bool TSaisieInstrDlg::EstTopofil() const { return type_->currentText() == Q(Msg(IdMsg::AppInstrTopofil)); }

void TSaisieInstrDlg::TypeChange() {
  const TTypeInst t = instrument_.TypeInstr;
  const bool topofil = EstTopofil();
  coeffLectureLbl_->setVisible(topofil);
  coeffLecture_->setVisible(topofil);
  const bool profondimetre = type_->currentText() == Q(Msg(IdMsg::AppInstrProfondimetre));
  const bool unites = t == TTypeInst::tiAzim || (t == TTypeInst::tiPente && !profondimetre);
  unitesLbl_->setVisible(unites);
  unites_->setVisible(unites);
  const int u = unites_->currentIndex();
  const bool zero = t == TTypeInst::tiPente && !profondimetre && (u == 0 || u == 1);
  zeroLbl_->setVisible(zero);
  zero_->setVisible(zero);
  if (unites) {
    coeffEtalonLbl_->setText(Q(Msg(IdMsg::AppInstrCorrection)));
    const QString signe = u == 0   ? Q(Msg(IdMsg::AppInstrSigneDegres))
                          : u == 1 ? Q(Msg(IdMsg::AppInstrSigneGrades))
                                   : QString();
    coeffEtalonUnite_->setText(signe);
    precisionUnite_->setText(signe);
  } else if (t == TTypeInst::tiDist) {
    coeffEtalonLbl_->setText(Q(Msg(IdMsg::AppInstrCoeffEtalon)));
    coeffEtalonUnite_->clear();
    precisionUnite_->setText(Q(Msg(topofil ? IdMsg::AppInstrMmParM : IdMsg::AppInstrMetres)));
  } else {
    coeffEtalonLbl_->setText(Q(Msg(IdMsg::AppInstrCoeffEtalon)));
    coeffEtalonUnite_->setText(Q(Msg(IdMsg::AppInstrMmParM)));
    precisionUnite_->setText(Q(Msg(IdMsg::AppInstrMetres)));
  }
}

void TSaisieInstrDlg::OkClick() {
  double x = 0;
  const bool distance = instrument_.TypeInstr == TTypeInst::tiDist;
  if (distance && EstTopofil() && (!LitChamp(coeffLecture_, x) || x == 0)) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning, Msg(IdMsg::AppInstrCoeffLectureNul));
    coeffLecture_->setFocus();
    return;
  }
  if (distance && (!LitChamp(coeffEtalon_, x) || x == 0)) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning, Msg(IdMsg::AppInstrCoeffEtalonNul));
    coeffEtalon_->setFocus();
    return;
  }
  Transfere();
  accept();
}

void TSaisieInstrDlg::Transfere() {
  survey::TInstrument& i = instrument_;
  if (rectif_) survey::Document().DocumentModifie = true;
  i.DesignInstr = VersStd(designation_->text());
  i.Marque = VersStd(marque_->text());
  i.TiGenre = VersStd(type_->currentText());
  double x = 0;
  if (LitChamp(coeffEtalon_, x)) i.CoeffEtalon = x;
  if (i.DesignInstr.empty()) i.DesignInstr = i.TiGenre + " " + i.Marque;
  if (unites_->isVisibleTo(this) && unites_->currentIndex() >= 0)
    i.Unites = static_cast<survey::TTypeUnite>(unites_->currentIndex());
  i.RefPente = 1 - zero_->currentIndex();
  if (LitChamp(coeffLecture_, x)) i.CoeffLecture = x;
  const double precision = LitChamp(precision_, x) ? x : 0;
  if (i.TypeInstr == TTypeInst::tiDist && EstTopofil())
    i.PrecisionRel = precision;
  else
    i.PrecisionAbs = precision;
}

}  // namespace app
