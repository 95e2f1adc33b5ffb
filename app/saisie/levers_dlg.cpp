#include "app/saisie/levers_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "app/commun/config_generale.h"
#include "app/commun/contexte_saisie.h"
#include "app/saisie/cadre_saisie_date.h"
#include "app/saisie/cadre_saisie_ope.h"
#include "app/saisie/msg_coeffs_decli.h"
#include "app/saisie/saisie_instr_dlg.h"
#include "foundation/angle_deg_min.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "platform/dialogs.h"
#include "platform/qt/conversions_qt.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/declinaison.h"
#include "survey/lever.h"
#include "survey/listes_document.h"
#include "survey/reseau.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;
using platform::qt::VersStd;
using survey::TInstrument;
using survey::TTypeInst;

namespace {

constexpr int RoleInstrument = Qt::UserRole + 1;
constexpr int ChoixDegMin = 1;
constexpr int ChoixGrades = 2;
constexpr double Pi = std::numbers::pi;

TInstrument* InstrumentDe(const QComboBox* b) {
  return b->currentIndex() < 0 ? nullptr
                               : reinterpret_cast<TInstrument*>(b->currentData(RoleInstrument).value<quintptr>());
}

bool AvantDansChoix(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; }

// Inserts the instrument at its sorted place; its index.
int InsereInstrument(QComboBox* b, TInstrument* i) {
  const QString nom = Q(i->DesignInstr);
  int k = 0;
  while (k < b->count() && !AvantDansChoix(nom, b->itemText(k))) ++k;
  b->insertItem(k, nom);
  b->setItemData(k, QVariant::fromValue(reinterpret_cast<quintptr>(i)), RoleInstrument);
  return k;
}

void SelectionneInstrument(QComboBox* b, const TInstrument* i) {
  int k = -1;
  for (int j = 0; i && j < b->count() && k < 0; ++j)
    if (reinterpret_cast<TInstrument*>(b->itemData(j, RoleInstrument).value<quintptr>()) == i) k = j;
  b->setCurrentIndex(k);
}

QString Fixe(double x, int w, int d) { return Q(foundation::OteBlancs(foundation::ReelEnStrFixe(x, w, d))); }
// The length coefficient with three decimals, never cut (0.001 stays 0.001).
QString TexteCoeffL(double x) { return Q(foundation::OteBlancs(foundation::ReelEnStr(x, 4, 3))); }

QPushButton* BoutonPlus(QWidget* parent, const char* nom) {
  auto* b = new QPushButton(QStringLiteral("+"), parent);
  b->setObjectName(QString::fromLatin1(nom));
  return b;
}

QComboBox* Choix(QWidget* parent, const char* nom) {
  auto* b = new QComboBox(parent);
  b->setObjectName(QString::fromLatin1(nom));
  return b;
}

// An instrument choice: sized by a typical name, not by measuring every item.
QComboBox* ChoixInstrument(QWidget* parent, const char* nom) {
  QComboBox* b = Choix(parent, nom);
  b->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  b->setMinimumContentsLength(16);
  return b;
}

}  // namespace

int ChoixDeUniteDeclin(int UniteDeclin) {
  return UniteDeclin == survey::UniteDeclinGrades          ? ChoixGrades
         : UniteDeclin == survey::UniteDeclinDegresMinutes ? ChoixDegMin
                                                           : 0;
}

int UniteDeclinDeChoix(int choix) {
  return choix == ChoixGrades   ? survey::UniteDeclinGrades
         : choix == ChoixDegMin ? survey::UniteDeclinDegresMinutes
                                : survey::UniteDeclinDegres;
}

TLeversDlg::TLeversDlg(QWidget* parent, UsageLever usage) : QDialog(parent), usage_(usage) {
  setObjectName(QStringLiteral("LeversDlg"));
  setWindowTitle(Q(Msg(usage == UsageLever::Creation        ? IdMsg::AppLeverCreation
                       : usage == UsageLever::Rectification ? IdMsg::AppLeverRectification
                                                            : IdMsg::AppLeverVisualisation)));
  setModal(true);
  auto* v = new QVBoxLayout(this);
  auto* haut = new QHBoxLayout;
  date_ = new TCadreSaisieDate(this);
  operateurs_ = new TCadreSaisieOpe(this, ModeOperateurs::Lever);
  haut->addWidget(date_, 0, Qt::AlignTop);
  haut->addWidget(operateurs_, 1);
  v->addLayout(haut);

  auto* instruments = new QHBoxLayout;
  auto etiquette = [this](IdMsg id) { return new QLabel(Q(Msg(id)), this); };
  // Lengths.
  longueurs_ = new QGroupBox(Q(Msg(IdMsg::AppLeverLongueurs)), this);
  longueurs_->setObjectName(QStringLiteral("LongueursGroup"));
  {
    auto* g = new QGridLayout(longueurs_);
    instrL_ = ChoixInstrument(longueurs_, "InstrLBox");
    nouvelInstrL_ = BoutonPlus(longueurs_, "NouvelInstrLBtn");
    topofil_ = new QCheckBox(Q(Msg(IdMsg::AppLeverTopofil)), longueurs_);
    topofil_->setObjectName(QStringLiteral("TopofilChk"));
    coeffL_ = new QLineEdit(longueurs_);
    coeffL_->setObjectName(QStringLiteral("CoeffLEdit"));
    coeffL_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}(\\.\\d{0,4})?")), coeffL_));
    g->addWidget(etiquette(IdMsg::AppLeverInstrument), 0, 0);
    g->addWidget(instrL_, 0, 1);
    g->addWidget(nouvelInstrL_, 0, 2);
    g->addWidget(topofil_, 1, 0, 1, 2);
    g->addWidget(etiquette(IdMsg::AppLeverCoeffL), 2, 0);
    g->addWidget(coeffL_, 2, 1);
  }
  // Azimuths.
  azimuts_ = new QGroupBox(Q(Msg(IdMsg::AppLeverAzimuts)), this);
  azimuts_->setObjectName(QStringLiteral("AzimutsGroup"));
  {
    auto* g = new QGridLayout(azimuts_);
    instrAz_ = ChoixInstrument(azimuts_, "InstrAzBox");
    nouvelInstrAz_ = BoutonPlus(azimuts_, "NouvelInstrAzBtn");
    uniteAz_ = Choix(azimuts_, "UniteAzBox");
    uniteAz_->addItems({Q(Msg(IdMsg::AppInstrDegres)), Q(Msg(IdMsg::AppInstrGrades))});
    g->addWidget(etiquette(IdMsg::AppLeverInstrument), 0, 0);
    g->addWidget(instrAz_, 0, 1);
    g->addWidget(nouvelInstrAz_, 0, 2);
    g->addWidget(etiquette(IdMsg::AppLeverUnites), 1, 0);
    g->addWidget(uniteAz_, 1, 1);
  }
  // Slopes.
  pentes_ = new QGroupBox(Q(Msg(IdMsg::AppLeverPentes)), this);
  pentes_->setObjectName(QStringLiteral("PentesGroup"));
  {
    auto* g = new QGridLayout(pentes_);
    instrP_ = ChoixInstrument(pentes_, "InstrPBox");
    nouvelInstrP_ = BoutonPlus(pentes_, "NouvelInstrPBtn");
    uniteP_ = Choix(pentes_, "UnitePBox");
    uniteP_->addItems({Q(Msg(IdMsg::AppInstrDegres)), Q(Msg(IdMsg::AppInstrGrades)), Q(Msg(IdMsg::AppInstrPourcent))});
    origineP_ = Choix(pentes_, "OriginePBox");
    origineP_->addItems(
        {Q(Msg(IdMsg::AppLeverEnBas)), Q(Msg(IdMsg::AppLeverHorizontale)), Q(Msg(IdMsg::AppLeverEnHaut))});
    unitePLbl_ = etiquette(IdMsg::AppLeverUnites);
    originePLbl_ = etiquette(IdMsg::AppLeverOrigine);
    g->addWidget(etiquette(IdMsg::AppLeverInstrument), 0, 0);
    g->addWidget(instrP_, 0, 1);
    g->addWidget(nouvelInstrP_, 0, 2);
    g->addWidget(unitePLbl_, 1, 0);
    g->addWidget(uniteP_, 1, 1);
    g->addWidget(originePLbl_, 2, 0);
    g->addWidget(origineP_, 2, 1);
  }
  instruments->addWidget(longueurs_);
  instruments->addWidget(azimuts_);
  instruments->addWidget(pentes_);
  v->addLayout(instruments);

  auto* precision = new QHBoxLayout;
  precision_ = Choix(this, "PrecisionBox");
  for (int i = 1; i <= 6; ++i) precision_->addItem(Q(Msg(IdMsg::AppLeverDegre) + std::to_string(i)));
  precision_->addItem(Q(Msg(IdMsg::AppLeverDegreX)));
  precision->addWidget(etiquette(IdMsg::AppLeverPrecision));
  precision->addWidget(precision_);
  precision->addStretch(1);
  v->addLayout(precision);
  v->addWidget(etiquette(IdMsg::AppLeverCommentaires));
  commentaires_ = new QPlainTextEdit(this);
  commentaires_->setObjectName(QStringLiteral("CommentairesEdit"));
  commentaires_->setMaximumHeight(70);
  v->addWidget(commentaires_);

  // Declination.
  pasDeDeclin_ = new QCheckBox(Q(Msg(IdMsg::AppLeverPasDeDeclin)), this);
  pasDeDeclin_->setObjectName(QStringLiteral("PasDeDeclinChk"));
  v->addWidget(pasDeDeclin_);
  declinGroupe_ = new QGroupBox(Q(Msg(IdMsg::AppLeverDeclinaison)), this);
  declinGroupe_->setObjectName(QStringLiteral("DeclinGroup"));
  {
    auto* g = new QGridLayout(declinGroupe_);
    uniteDeclin_ = Choix(declinGroupe_, "UniteDeclinBox");
    uniteDeclin_->addItems(
        {Q(Msg(IdMsg::AppLeverDegDec)), Q(Msg(IdMsg::AppLeverDegMnSec)), Q(Msg(IdMsg::AppLeverGrades))});
    declin_ = new QLineEdit(declinGroupe_);
    declin_->setObjectName(QStringLiteral("DeclinEdit"));
    declinBtn_ = new QPushButton(Q(Msg(IdMsg::AppLeverCalculDeclin)), declinGroupe_);
    declinBtn_->setObjectName(QStringLiteral("DeclinBtn"));
    calculAuto_ = new QCheckBox(Q(Msg(IdMsg::AppLeverCalculAuto)), declinGroupe_);
    calculAuto_->setObjectName(QStringLiteral("CalculAutoChk"));
    coeffsDecli_ = new QPushButton(Q(Msg(IdMsg::AppLeverCoeffsDecli)), declinGroupe_);
    coeffsDecli_->setObjectName(QStringLiteral("CoeffsDecliBtn"));
    aideDeclin_ = new QPushButton(QStringLiteral("?"), declinGroupe_);
    aideDeclin_->setObjectName(QStringLiteral("AideDeclinBtn"));
    entree_ = new QGroupBox(Q(Msg(IdMsg::AppLeverEntree)), declinGroupe_);
    entree_->setObjectName(QStringLiteral("EntreeGroup"));
    auto* e = new QVBoxLayout(entree_);
    latEntree_ = new QLabel(entree_);
    latEntree_->setObjectName(QStringLiteral("LatEntreeLbl"));
    longEntree_ = new QLabel(entree_);
    longEntree_->setObjectName(QStringLiteral("LongEntreeLbl"));
    e->addWidget(latEntree_);
    e->addWidget(longEntree_);
    g->addWidget(new QLabel(Q(Msg(IdMsg::AppLeverUnitesDeclin)), declinGroupe_), 0, 0);
    g->addWidget(uniteDeclin_, 0, 1);
    g->addWidget(declin_, 1, 0);
    g->addWidget(declinBtn_, 1, 1);
    g->addWidget(aideDeclin_, 1, 2);
    g->addWidget(calculAuto_, 2, 0, 1, 2);
    g->addWidget(coeffsDecli_, 2, 0, 1, 2);
    g->addWidget(entree_, 0, 3, 3, 1);
  }
  v->addWidget(declinGroupe_);

  auto* boutons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = boutons->button(QDialogButtonBox::Ok);
  ok_->setText(Q(Msg(IdMsg::AppCfgOK)));
  ok_->setObjectName(QStringLiteral("OKBtn"));
  annuler_ = boutons->button(QDialogButtonBox::Cancel);
  annuler_->setText(Q(Msg(IdMsg::AppCfgAnnuler)));
  annuler_->setObjectName(QStringLiteral("AnnulerBtn"));
  connect(boutons, &QDialogButtonBox::accepted, this, [this] { OkClick(); });
  connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  v->addWidget(boutons);

  // Every opening: the date of the last new trip, no computation until
  // shown, the automatic-declination setting, the document's operators and
  // instruments.
  DateDecim = 0;
  date_->FixeDateSaisie(Saisie().DateDernierLever);
  declinBtn_->setEnabled(false);
  calculAuto_->setChecked(Config().CalculDecliAuto);
  operateurs_->Initialise();
  struct Groupe {
    QComboBox* choix;
    TTypeInst genre;
  };
  const Groupe groupes[] = {{instrAz_, TTypeInst::tiAzim}, {instrL_, TTypeInst::tiDist}, {instrP_, TTypeInst::tiPente}};
  for (const Groupe& g : groupes) {
    std::vector<std::pair<QString, TInstrument*>> liste;
    for (TInstrument* i : survey::InstrumentsDocument())
      if (i->TypeInstr == TTypeInst::tiAucun || i->TypeInstr == g.genre || i->TypeInstr == TTypeInst::tiIndet)
        liste.emplace_back(Q(i->DesignInstr), i);
    std::stable_sort(liste.begin(), liste.end(),
                     [](const auto& a, const auto& b) { return AvantDansChoix(a.first, b.first); });
    for (const auto& [nom, i] : liste) {
      g.choix->addItem(nom);
      g.choix->setItemData(g.choix->count() - 1, QVariant::fromValue(reinterpret_cast<quintptr>(i)), RoleInstrument);
    }
    g.choix->setCurrentIndex(-1);
  }
  // A new trip's values.
  const survey::TLever neuf;
  uniteAz_->setCurrentIndex(neuf.UniteAZ);
  uniteP_->setCurrentIndex(neuf.UniteP);
  origineP_->setCurrentIndex(neuf.ZeroPente + 1);
  coeffL_->setText(TexteCoeffL(neuf.EtalonL));
  precision_->setCurrentIndex(std::clamp(neuf.Precision, 0, 6));
  uniteDeclin_->setCurrentIndex(0);
  AfficheDeclinaison();
  MiseAJourOrigine();

  connect(date_, &TCadreSaisieDate::DateChange, this, [this] { DateChange(); });
  connect(instrL_, &QComboBox::currentIndexChanged, this, [this] { ChoixInstrL(); });
  connect(instrAz_, &QComboBox::currentIndexChanged, this, [this] { ChoixInstrAz(); });
  connect(instrP_, &QComboBox::currentIndexChanged, this, [this] { ChoixInstrP(); });
  connect(uniteP_, &QComboBox::currentIndexChanged, this, [this] { MiseAJourOrigine(); });
  connect(nouvelInstrL_, &QPushButton::clicked, this, [this] { NouvelInstrument(TTypeInst::tiDist, instrL_); });
  connect(nouvelInstrAz_, &QPushButton::clicked, this, [this] { NouvelInstrument(TTypeInst::tiAzim, instrAz_); });
  connect(nouvelInstrP_, &QPushButton::clicked, this, [this] { NouvelInstrument(TTypeInst::tiPente, instrP_); });
  connect(uniteDeclin_, &QComboBox::currentIndexChanged, this, [this] { UniteDeclinChange(); });
  connect(declin_, &QLineEdit::textEdited, this, [this] { DeclinEdite(); });
  connect(pasDeDeclin_, &QCheckBox::toggled, this, [this] { PasDeDeclinChange(); });
  connect(declinBtn_, &QPushButton::clicked, this, [this] { CalculeDeclinaison(); });
  connect(calculAuto_, &QCheckBox::clicked, this, [this] { CalculAutomatique(); });
  connect(aideDeclin_, &QPushButton::clicked, this, [this] { AideDeclinClick(); });
  connect(coeffsDecli_, &QPushButton::clicked, this, [this] { CoeffsDecliClick(); });
}

void TLeversDlg::Init(const survey::TLever& lever) {
  decliAutoInitiale_ = lever.DecliAuto;
  date_->FixeDateSaisie(lever.LaDate);
  operateurs_->InitRectif(lever.Operateurs);
  {
    const QSignalBlocker a(instrAz_), l(instrL_), p(instrP_);
    SelectionneInstrument(instrAz_, lever.InstrumentAz);
    SelectionneInstrument(instrL_, lever.InstrumentL);
    SelectionneInstrument(instrP_, lever.InstrumentP);
  }
  if (lever.UniteAZ < uniteAz_->count()) uniteAz_->setCurrentIndex(lever.UniteAZ);
  if (lever.UniteP < uniteP_->count()) uniteP_->setCurrentIndex(lever.UniteP);
  origineP_->setCurrentIndex(std::clamp(lever.ZeroPente + 1, 0, 2));
  profondimetre_ = lever.InstrumentP && lever.InstrumentP->EstProfondim();
  unitePLbl_->setVisible(!profondimetre_);
  uniteP_->setVisible(!profondimetre_);
  MiseAJourOrigine();
  DeclinTmp = lever.Declinaison;
  calculAuto_->setChecked(lever.DecliAuto);
  pasDeDeclin_->setChecked(lever.UniteDeclin == survey::UniteDeclinAucune);
  if (lever.UniteDeclin != survey::UniteDeclinAucune) {
    const QSignalBlocker bloque(uniteDeclin_);
    uniteDeclin_->setCurrentIndex(ChoixDeUniteDeclin(lever.UniteDeclin));
    declinBtn_->setEnabled(date_->DateRenseignee());
  }
  AfficheDeclinaison();
  topofil_->setChecked(lever.Topofil);
  coeffL_->setText(TexteCoeffL(lever.EtalonL));
  precision_->setCurrentIndex(std::clamp(lever.Precision, 0, 6));
  commentaires_->setPlainText(Q(lever.Commentaires));
  if (usage_ == UsageLever::Visualisation) LectureSeule();
}

void TLeversDlg::LectureSeule() {
  for (QWidget* w : std::initializer_list<QWidget*>{annuler_, declinBtn_, coeffsDecli_, nouvelInstrL_, nouvelInstrAz_,
                                                    nouvelInstrP_})
    w->hide();
  operateurs_->LectureSeule();
  for (QWidget* w : std::initializer_list<QWidget*>{date_, pentes_, azimuts_, longueurs_, precision_, pasDeDeclin_,
                                                    declinGroupe_, commentaires_})
    w->setEnabled(false);
}

void TLeversDlg::Transfere(survey::TLever& LeverTemp) const {
  LeverTemp.LaDate = date_->DateSaisie();
  operateurs_->TransfereListe(LeverTemp.Operateurs);
  if (TInstrument* i = InstrumentDe(instrAz_)) LeverTemp.InstrumentAz = i;
  if (TInstrument* i = InstrumentDe(instrL_)) LeverTemp.InstrumentL = i;
  if (TInstrument* i = InstrumentDe(instrP_)) LeverTemp.InstrumentP = i;
  LeverTemp.UniteDeclin = pasDeDeclin_->isChecked()
                              ? survey::UniteDeclinAucune
                              : static_cast<uint8_t>(UniteDeclinDeChoix(uniteDeclin_->currentIndex()));
  LeverTemp.AncienneDecli = LeverTemp.AncienneDecli && LeverTemp.Declinaison == DeclinTmp;
  LeverTemp.Declinaison = DeclinTmp;
  LeverTemp.DecliAuto = DecliAutoChoisie();
  LeverTemp.UniteAZ = static_cast<uint8_t>(std::max(uniteAz_->currentIndex(), 0));
  LeverTemp.UniteP = static_cast<uint8_t>(std::max(uniteP_->currentIndex(), 0));
  LeverTemp.ZeroPente = origineP_->currentIndex() - 1;
  LeverTemp.Topofil = topofil_->isChecked();
  LeverTemp.EtalonL = foundation::TexteEnReel(VersStd(coeffL_->text()));
  LeverTemp.Precision = precision_->currentIndex();
  LeverTemp.Commentaires = VersStd(commentaires_->toPlainText());
  if (usage_ == UsageLever::Creation) Saisie().DateDernierLever = date_->DateDuSelecteur();
}

bool TLeversDlg::DecliAutoChoisie() const {
  if (pasDeDeclin_->isChecked() || declinTapee_) return false;
  if (calculPossible_) return calculAuto_->isChecked();
  // The box is not shown: a new trip keeps the value typed; a trip being
  // corrected keeps its own choice, which the user could not see here.
  return usage_ == UsageLever::Rectification && decliAutoInitiale_;
}

void TLeversDlg::showEvent(QShowEvent* e) {
  if (!affiche_) {
    Affiche();
    // The dialog opens on the operators (on OK in the view), not inside the
    // proposed date: the date shows whole, and keys meant for another field
    // do not change it.
    QWidget* premier = operateurs_->findChild<QComboBox*>(QStringLiteral("OperateursBox"));
    if (!premier || premier->isHidden()) premier = ok_;
    premier->setFocus(Qt::OtherFocusReason);
  }
  QDialog::showEvent(e);
}

void TLeversDlg::Affiche() {
  affiche_ = true;
  entreeConnue_ = false;
  const survey::TReseau* r = survey::Document().ReseauCourant;
  sansProjection_ = !r || r->Projection.empty();
  const survey::TCavite* c = r ? r->LaCaviteActive : nullptr;
  std::string lat, lon;
  if (r && !r->Projection.empty() && c && c->EntreeWGSStr(lat, lon) && c->EntreeWGS(LatA, LongA)) {
    entreeConnue_ = true;
    // The entrance's height, as the network computation takes it: the value
    // shown is the one the trip will keep.
    AltA = c->PositionEntree()->Z;
    latEntree_->setText(Q(lat));
    longEntree_->setText(Q(lon));
  }
  entree_->setVisible(entreeConnue_);
  DateChange();
}

void TLeversDlg::DateChange() {
  if (!affiche_) return;
  const bool date = date_->DateRenseignee();
  if (date && !survey::AnneeDecimale(date_->DateSaisie(), DateDecim)) DateDecim = 0;
  const survey::TTableIGRF& table = survey::TableIGRF();
  dateHorsModele_ = date && !(DateDecim >= table.AnneeMin && DateDecim < table.AnneeMax);
  calculPossible_ = date && !dateHorsModele_ && entreeConnue_;
  declinBtn_->setEnabled(calculPossible_);
  calculAuto_->setVisible(calculPossible_);
  calculAuto_->setEnabled(calculPossible_);
  coeffsDecli_->setVisible(!calculPossible_ && usage_ != UsageLever::Visualisation);
  CalculAutomatique();
}

void TLeversDlg::CalculAutomatique() {
  if (calculPossible_ && calculAuto_->isEnabled() && calculAuto_->isChecked()) CalculeDeclinaison();
}

void TLeversDlg::CalculeDeclinaison() {
  if (!date_->DateRenseignee()) return;
  const double d = survey::CalculeDeclinaisonIGRF(DateDecim, LatA * 180 / Pi, LongA * 180 / Pi, AltA);
  if (!std::isfinite(d)) return;
  DeclinTmp = uniteDeclin_->currentIndex() == ChoixGrades ? d * 200 / Pi : d * 180 / Pi;
  AfficheDeclinaison();
}

void TLeversDlg::AfficheDeclinaison() {
  const QSignalBlocker bloque(declin_);
  delete declin_->validator();
  if (uniteDeclin_->currentIndex() == ChoixDegMin) {
    declin_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QString::fromUtf8("-?\\s*\\d{0,3}\\s*°?\\s*\\d{0,2}\\s*'?")), declin_));
    declin_->setText(Q(foundation::AngleDegMinStr(DeclinTmp)));
  } else {
    declin_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-+]?\\d{0,3}(\\.\\d{0,3})?")), declin_));
    declin_->setText(Fixe(DeclinTmp, 12, 2));
  }
}

void TLeversDlg::UniteDeclinChange() {
  AfficheDeclinaison();
  declin_->setFocus();
}

void TLeversDlg::DeclinEdite() {
  // A value typed by hand is the trip's: it is no longer computed.
  calculAuto_->setChecked(false);
  declinTapee_ = true;
  const std::string texte = VersStd(declin_->text());
  double x = 0;
  if (uniteDeclin_->currentIndex() == ChoixDegMin) {
    // A text that does not read leaves the value as it was.
    if (foundation::LitAngleDegMin(texte, x)) DeclinTmp = x;
  } else if (foundation::LitReel(foundation::NettoieNombre(texte), x)) {
    DeclinTmp = x;
  }
}

void TLeversDlg::PasDeDeclinChange() {
  declinGroupe_->setVisible(!pasDeDeclin_->isChecked());
  adjustSize();
}

void TLeversDlg::AideDeclinClick() {
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information,
                                           Msg(IdMsg::AppLeverAideDeclin1) + Msg(IdMsg::AppLeverAideDeclin2));
}

void TLeversDlg::CoeffsDecliClick() {
  RaisonsDecli raisons;
  raisons.SansProjection = sansProjection_;
  raisons.EntreeInconnue = !entreeConnue_;
  raisons.SansDate = !date_->DateRenseignee();
  raisons.DateHorsModele = dateHorsModele_;
  TMsgCoeffsDecli m(this, raisons);
  m.exec();
}

void TLeversDlg::ChoixInstrL() {
  const TInstrument* i = InstrumentDe(instrL_);
  if (!i) return;
  const bool topofil = i->TiGenre == Msg(IdMsg::AppInstrTopofil);
  double coeff = i->CoeffEtalon;
  if (topofil && i->CoeffLecture != 0) coeff /= i->CoeffLecture;
  coeffL_->setText(TexteCoeffL(coeff));
  topofil_->setChecked(topofil);
}

void TLeversDlg::ChoixInstrAz() {
  const TInstrument* i = InstrumentDe(instrAz_);
  if (!i) return;
  const int u = static_cast<int>(i->Unites);
  if (u < uniteAz_->count()) uniteAz_->setCurrentIndex(u);
}

void TLeversDlg::ChoixInstrP() {
  const TInstrument* i = InstrumentDe(instrP_);
  if (!i) return;
  profondimetre_ = i->EstProfondim();
  const int u = static_cast<int>(i->Unites);
  if (u < uniteP_->count()) uniteP_->setCurrentIndex(u);
  origineP_->setCurrentIndex(std::clamp(i->RefPente + 1, 0, 2));
  unitePLbl_->setVisible(!profondimetre_);
  uniteP_->setVisible(!profondimetre_);
  MiseAJourOrigine();
}

void TLeversDlg::MiseAJourOrigine() {
  const int u = uniteP_->currentIndex();
  if (u == 2) origineP_->setCurrentIndex(1);  // percent: from the horizontal
  const bool visible = !profondimetre_ && (u == 0 || u == 1);
  originePLbl_->setVisible(visible);
  origineP_->setVisible(visible);
}

void TLeversDlg::NouvelInstrument(TTypeInst genre, QComboBox* choix) {
  auto instrument = std::make_unique<TInstrument>();
  instrument->TypeInstr = genre;
  TSaisieInstrDlg fiche(this, *instrument, false);
  if (fiche.exec() != QDialog::Accepted) return;
  survey::TListeInstruments* document = survey::ListesDocument().Instruments;
  if (!document) return;
  TInstrument* i = document->Add(std::move(instrument));
  int k = 0;
  {
    const QSignalBlocker bloque(choix);
    k = InsereInstrument(choix, i);
    choix->setCurrentIndex(-1);
  }
  choix->setCurrentIndex(k);
}

void TLeversDlg::OkClick() {
  double x = 0;
  if (!foundation::LitReel(foundation::NettoieNombre(VersStd(coeffL_->text())), x) || x == 0) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning, Msg(IdMsg::AppLeverCoeffLNul));
    coeffL_->setFocus();
    return;
  }
  accept();
}

survey::TLever* CreeNouveauLever(QWidget* owner, survey::TLeversList& liste) {
  TLeversDlg d(owner, UsageLever::Creation);
  if (d.exec() != QDialog::Accepted) return nullptr;
  auto lever = std::make_unique<survey::TLever>();
  d.Transfere(*lever);
  return liste.Add(std::move(lever));
}

bool RectifieLever(QWidget* owner, const survey::TLever*& lever, std::unique_ptr<survey::TLever>& nouveau) {
  TLeversDlg d(owner, UsageLever::Rectification);
  d.Init(*lever);
  if (d.exec() != QDialog::Accepted) return false;
  if (lever == survey::LeverParDefaut()) {
    nouveau = std::make_unique<survey::TLever>();
    d.Transfere(*nouveau);
    lever = nouveau.get();
  } else {
    // Every trip but the default one belongs to a cave's list, which may
    // change it.
    d.Transfere(const_cast<survey::TLever&>(*lever));
  }
  survey::Document().DocumentModifie = true;
  return true;
}

void VisualiseLever(QWidget* owner, const survey::TLever& lever) {
  TLeversDlg d(owner, UsageLever::Visualisation);
  d.Init(lever);
  d.exec();
}

}  // namespace app
