#pragma once
// TSaisieViseeDlg: the modal window through which a shot is typed or
// corrected ("Saisie d'une visée", "Rectification d'une visée"), installed
// behind the survey model's shot-entry port by InstalleDialogueSaisieVisee.
//
// The entry settings follow the user from one new shot to the next in
// ConfigSaisieCourante; corrections never write them back.
#include <QDialog>
#include <memory>
#include <string>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace survey {
class TCavite;
class TLever;
class TPointSpeleo;
class TSuiteObs;
class TValeurVisee;
class TVisee;
}  // namespace survey

namespace app {

struct TConfigSaisie {
  bool csInvVisee = false;
  bool csNumCroissant = true;
  bool csInvAz = false;
  bool csInvP = false;
  bool csTopofil = false;
  bool csMemoPentes = false;
  int csPentes = 0;  // 0 P+L, 1 P+Lh, 2 H+L, 3 H+Lh, 4 Prof + L
  bool csDimNul = false;
  bool csStatOuVis = true;  // dimensions at the new point (true) or at the station
  bool csInvDim = false;
  int csTypeSaisie = 0;  // 0 normal, 1 attachment, 2 splay
};

// What the window remembers for the whole run.
struct ContexteSaisieVisee {
  TConfigSaisie ConfigSaisieCourante;
  std::string DerniereLectureFin;
  int Gauche = -1, Haut = -1;  // position when last closed
};
ContexteSaisieVisee& SaisieVisee();

class TSaisieViseeDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TSaisieViseeDlg(survey::TCavite& cavite, QWidget* parent = nullptr);
  ~TSaisieViseeDlg() override;

  // A new shot: Visee has its station; Source is the shot it follows.
  void Init(survey::TVisee& Visee, survey::TVisee* Source);
  // The correction of Visee (a temporary shot standing for a splay, whose
  // Source is the shot the splay hangs on).
  void Initrectif(survey::TVisee& Visee, survey::TVisee* Source);
  // The controls into the shot and its points.
  void Transfere(survey::TVisee& V);

  bool CreeGalerie = false;
  std::string NomGalerie;

  void done(int r) override;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  void InitCommune();
  void TypeViseeChange();
  void AfficheNomsPoints();
  void AfficheDimensions();
  void TypeSaisieChange();
  void ChangeTopofil();
  void FixeMasques();
  void FixeFocus();
  void NouvelleGalerie();
  void ChoixLever();
  void ChoixRattachement();
  void CopieSuites();
  void EditeSuites();
  int TypeChoisi() const;
  bool ColonnesTopofilVisibles() const;
  bool Valide();
  void LitValeurs(survey::TValeurVisee& V) const;
  void ReleasePointsNeufs();

  survey::TCavite& Cavite;
  survey::TVisee* ViseeSaisie = nullptr;
  survey::TVisee* ViseeSource = nullptr;
  survey::TPointSpeleo* PtExistVis = nullptr;
  survey::TPointSpeleo* PtCreeVis = nullptr;
  survey::TPointSpeleo* PtNouvVis = nullptr;  // owned until it joins the shot
  const survey::TLever* UnLever = nullptr;
  TConfigSaisie cfSaisie;
  // Working copies of the continuation lists of the known and the new point.
  std::unique_ptr<survey::TSuiteObs> SuiteObsExist, SuiteObsCree;
  bool InitEnCours = false;
  bool Rectif = false;

  QGroupBox* TypeViseeRdg;
  QRadioButton* RbNormale;
  QRadioButton* RbRattachement;
  QRadioButton* RbHabillage;
  QCheckBox* ExclueCheck;
  QLineEdit* EditStation;
  QLineEdit* EditVise;
  QLineEdit* EditGalerie;
  QPushButton* NouvelleGalerieBtn;
  QLineEdit* EditLever;
  QCheckBox* InvViseeCheck;
  QCheckBox* NumCroissantCheck;
  QGroupBox* DepartHabiGroupe;
  QRadioButton* RbDepartStation;
  QRadioButton* RbDepartVise;
  QLineEdit* EditAzimut;
  QLabel* UniteAzimut;
  QCheckBox* InvAzCheck;
  QLabel* LabelPente;
  QLineEdit* EditPente;
  QLabel* UnitePente;
  QCheckBox* InvPCheck;
  QLabel* OriginePente;
  QLabel* LabelLongueur;
  QLineEdit* EditLongueur;
  QLabel* LabelLectDeb;
  QLineEdit* EditLectDeb;
  QLabel* LabelLectFin;
  QLineEdit* EditLectFin;
  QCheckBox* TopofilCheck;
  QGroupBox* SaisiePentesRdg;
  QButtonGroup* SaisiePentes;
  QCheckBox* ConserverCheck;
  QGroupBox* DimGroupe;
  QRadioButton* RbAuStation;
  QRadioButton* RbAuVise;
  QCheckBox* SaisirDimCheck;
  QGroupBox* DimBox;
  QLineEdit* EditLargeurG;
  QLineEdit* EditLargeurDr;
  QLineEdit* EditHauteurSup;
  QLineEdit* EditHauteurInf;
  QPlainTextEdit* MemoCommentaire;
  QPushButton* SuitesBtn;
  QGroupBox* CommentHabiGroupe;
  QPlainTextEdit* MemoHabi;
  QPushButton* OKBtn;
  QPushButton* AnnulerBtn;
};

void InstalleDialogueSaisieVisee();

}  // namespace app
