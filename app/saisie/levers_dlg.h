#pragma once
// The survey-trip dialog in its three uses (creation, correction, read-only
// view): date, operators, the three instruments with their units, length
// coefficient, precision class, comments and the declination, typed or
// computed from the date at the cave entrance with the field model.
//
// Controls (objectName): CadreSaisieDate (TCadreSaisieDate: DateEdit,
// NonRenseigneChk), CadreSaisieOpe (TCadreSaisieOpe: OperateursBox,
// AjouteOpeBtn, RetireOpeBtn, NouvelOpeBtn, ListeOpe), LongueursGroup
// (InstrLBox, NouvelInstrLBtn "+", TopofilChk "Topofil", CoeffLEdit "Coeff des
// longueurs :"), AzimutsGroup (InstrAzBox, NouvelInstrAzBtn, UniteAzBox),
// PentesGroup (InstrPBox, NouvelInstrPBtn, UnitePBox, OriginePBox "en bas",
// "à l'horizontale", "en haut"), PrecisionBox "Précision :", CommentairesEdit
// "Commentaires :", PasDeDeclinChk "Pas de déclinaison", DeclinGroup
// (UniteDeclinBox "Unités déclinaison", DeclinEdit, DeclinBtn, CalculAutoChk
// "Calcul automatique", CoeffsDecliBtn, AideDeclinBtn "?", EntreeGroup
// "Coordonnées de l'entrée : " with LatEntreeLbl, LongEntreeLbl), OKBtn,
// AnnulerBtn.
#include <QDialog>
#include <memory>

#include "survey/instrument.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace survey {
class TLever;
class TLeversList;
}  // namespace survey

namespace app {

class TCadreSaisieDate;
class TCadreSaisieOpe;

enum class UsageLever { Creation, Rectification, Visualisation };

// The dialog's unit choice (0 "deg dec", 1 "deg mn sec", 2 "grades") and the
// trip's UniteDeclin (0 degrees, 2 degrees-minutes, 1 grades) map both ways
// through the same table.
int ChoixDeUniteDeclin(int UniteDeclin);
int UniteDeclinDeChoix(int choix);

class TLeversDlg : public QDialog {
  Q_OBJECT
 public:
  // Prepared for a new trip: the date of the last new trip, the document's
  // operators and instruments in the choices.
  explicit TLeversDlg(QWidget* parent = nullptr, UsageLever usage = UsageLever::Creation);

  // Correction and view: the trip's values in the controls.
  void Init(const survey::TLever& lever);
  // The controls into the trip.  The declination is computed (DecliAuto)
  // only when "Calcul automatique" is shown and checked; otherwise the value
  // typed is the trip's.
  void Transfere(survey::TLever& LeverTemp) const;

  // The entrance's position (when the network has a coordinate system), then
  // the date change; run when the dialog is first shown.
  void Affiche();
  // The decimal year, the enabling of the computation, then the automatic
  // declination.
  void DateChange();
  // The declination button: the field model's declination at the entrance,
  // in the unit shown.
  void CalculeDeclinaison();
  void AideDeclinClick();
  // The online calculator's notice, saying why the declination cannot be
  // computed here.
  void CoeffsDecliClick();
  // Refuses a length coefficient that is not a non-zero number (message,
  // focus on the field, the dialog stays open); else closes with OK.
  void OkClick();

  // The declination being edited, in the displayed unit (degrees, or grades
  // when "grades" is chosen).
  double DeclinTmp = 0;
  double LatA = 0, LongA = 0;  // entrance, radians
  double AltA = 0;             // the entrance's height
  double DateDecim = 0;        // the trip's date as a decimal year

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void AfficheDeclinaison();
  // "Calcul automatique" is shown and checked, with a declination.
  bool DecliAutoChoisie() const;
  void UniteDeclinChange();
  void DeclinEdite();
  void PasDeDeclinChange();
  void CalculAutomatique();
  void ChoixInstrL();
  void ChoixInstrAz();
  void ChoixInstrP();
  void MiseAJourOrigine();
  void NouvelInstrument(survey::TTypeInst genre, QComboBox* choix);
  void LectureSeule();

  UsageLever usage_;
  bool affiche_ = false;
  bool entreeConnue_ = false;
  bool calculPossible_ = false;
  bool sansProjection_ = true;
  bool dateHorsModele_ = false;
  bool decliAutoInitiale_ = false;  // the corrected trip's choice
  bool declinTapee_ = false;        // a declination typed by hand
  TCadreSaisieDate* date_ = nullptr;
  TCadreSaisieOpe* operateurs_ = nullptr;
  QGroupBox* longueurs_ = nullptr;
  QComboBox* instrL_ = nullptr;
  QPushButton* nouvelInstrL_ = nullptr;
  QCheckBox* topofil_ = nullptr;
  QLineEdit* coeffL_ = nullptr;
  QGroupBox* azimuts_ = nullptr;
  QComboBox* instrAz_ = nullptr;
  QPushButton* nouvelInstrAz_ = nullptr;
  QComboBox* uniteAz_ = nullptr;
  QGroupBox* pentes_ = nullptr;
  QComboBox* instrP_ = nullptr;
  QPushButton* nouvelInstrP_ = nullptr;
  QLabel* unitePLbl_ = nullptr;
  QComboBox* uniteP_ = nullptr;
  QLabel* originePLbl_ = nullptr;
  QComboBox* origineP_ = nullptr;
  bool profondimetre_ = false;
  QComboBox* precision_ = nullptr;
  QPlainTextEdit* commentaires_ = nullptr;
  QCheckBox* pasDeDeclin_ = nullptr;
  QGroupBox* declinGroupe_ = nullptr;
  QComboBox* uniteDeclin_ = nullptr;
  QLineEdit* declin_ = nullptr;
  QPushButton* declinBtn_ = nullptr;
  QCheckBox* calculAuto_ = nullptr;
  QPushButton* coeffsDecli_ = nullptr;
  QPushButton* aideDeclin_ = nullptr;
  QGroupBox* entree_ = nullptr;
  QLabel* latEntree_ = nullptr;
  QLabel* longEntree_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* annuler_ = nullptr;
};

// "Création d'un nouveau lever": on OK a new trip takes the dialog's values,
// is appended to the list and returned; none on Cancel.  The date confirmed
// becomes the one proposed for the next new trip.
survey::TLever* CreeNouveauLever(QWidget* owner, survey::TLeversList& liste);
// "Rectification d'un lever": on OK the values go into the trip, except that
// the default trip is never changed: a new trip takes them, `lever` points at
// it and `nouveau` owns it (adding it to a list is the caller's affair).  The
// document is marked modified.  False on Cancel.
bool RectifieLever(QWidget* owner, const survey::TLever*& lever, std::unique_ptr<survey::TLever>& nouveau);
// "Visualisation d'un lever": everything disabled, no Cancel.
void VisualiseLever(QWidget* owner, const survey::TLever& lever);

}  // namespace app
