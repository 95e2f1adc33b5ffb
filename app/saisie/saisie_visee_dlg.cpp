#include "app/saisie/saisie_visee_dlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/commun/config_generale.h"
#include "app/saisie/choix_lever_dlg.h"
#include "app/saisie/liste_suite_obs_dlg.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "platform/dialogs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/observation.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/rapport_calcul.h"
#include "survey/visee.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using survey::TPointSpeleo;
using survey::TVisee;

ContexteSaisieVisee& SaisieVisee() {
  static ContexteSaisieVisee c;
  return c;
}

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Numbers typed with a sign (angles, heights) or without (lengths,
// dimensions, readings); the decimal key of a French keypad gives ','.
QValidator* Validateur(QObject* parent, bool signe, int entiers, int decimales) {
  QString motif = signe ? QStringLiteral("-?") : QString();
  motif += QStringLiteral("\\d{0,%1}").arg(entiers);
  if (decimales > 0) motif += QStringLiteral("([.,]\\d{0,%1})?").arg(decimales);
  return new QRegularExpressionValidator(QRegularExpression(motif), parent);
}

double Nombre(const QLineEdit* e) {
  std::string t = e->text().toStdString();
  for (char& c : t)
    if (c == ',') c = '.';
  return foundation::TexteEnReel(foundation::NettoieNombre(t));
}

QString Texte62(double x) {
  return Q(foundation::ReelEnTexteFixe(x, 2)).rightJustified(6, QLatin1Char(' '));
}

QLineEdit* Edit(QWidget* parent, const char* nom) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QLatin1String(nom));
  return e;
}

QCheckBox* Case(QWidget* parent, IdMsg id, const char* nom) {
  auto* c = new QCheckBox(Q(Msg(id)), parent);
  c->setObjectName(QLatin1String(nom));
  return c;
}

QRadioButton* Radio(QWidget* parent, IdMsg id, const char* nom) {
  auto* r = new QRadioButton(Q(Msg(id)), parent);
  r->setObjectName(QLatin1String(nom));
  return r;
}

std::string NomUnite(int unite) {
  switch (unite) {
    case 1: return Msg(IdMsg::AppSaisieGrades);
    case 2: return Msg(IdMsg::AppSaisiePourcent);
    default: return Msg(IdMsg::AppSaisieDegres);
  }
}

const survey::TLever& Lever(const survey::TLever* l) {
  static const survey::TLever defaut;
  if (l) return *l;
  const survey::TLever* d = survey::LeverParDefaut();
  return d ? *d : defaut;
}

}  // namespace

TSaisieViseeDlg::TSaisieViseeDlg(survey::TCavite& cavite, QWidget* parent) : QDialog(parent), Cavite(cavite) {
  setObjectName(QStringLiteral("TSaisieViseeDlg"));
  setWindowTitle(Q(Msg(IdMsg::AppSaisieTitre)));
  setModal(true);
  auto* principal = new QVBoxLayout(this);

  // Shot type and exclusion.
  TypeViseeRdg = new QGroupBox(Q(Msg(IdMsg::AppSaisieTypeVisee)), this);
  TypeViseeRdg->setObjectName(QStringLiteral("TypeViseeRdg"));
  auto* lt = new QHBoxLayout(TypeViseeRdg);
  RbNormale = Radio(TypeViseeRdg, IdMsg::AppSaisieNormale, "RbNormale");
  RbRattachement = Radio(TypeViseeRdg, IdMsg::AppSaisieRattachement, "RbRattachement");
  RbHabillage = Radio(TypeViseeRdg, IdMsg::AppSaisieHabillage, "RbHabillage");
  RbNormale->setChecked(true);
  lt->addWidget(RbNormale);
  lt->addWidget(RbRattachement);
  lt->addWidget(RbHabillage);
  ExclueCheck = Case(this, IdMsg::AppSaisieExclue, "ExclueCheck");
  ExclueCheck->setToolTip(Q(Msg(IdMsg::AppSaisieExclueAide)));
  auto* haut = new QHBoxLayout;
  haut->addWidget(TypeViseeRdg);
  haut->addWidget(ExclueCheck);
  principal->addLayout(haut);

  // Names, gallery, trip.
  auto* noms = new QGridLayout;
  EditStation = Edit(this, "EditStation");
  EditVise = Edit(this, "EditVise");
  EditGalerie = Edit(this, "EditGalerie");
  EditGalerie->setReadOnly(true);
  EditLever = Edit(this, "EditLever");
  EditLever->setReadOnly(true);
  NouvelleGalerieBtn = new QPushButton(Q(Msg(IdMsg::AppSaisieNouvelleGalerie)), this);
  NouvelleGalerieBtn->setObjectName(QStringLiteral("NouvelleGalerieBtn"));
  NouvelleGalerieBtn->setAutoDefault(false);
  InvViseeCheck = Case(this, IdMsg::AppSaisieInversee, "InvViseeCheck");
  NumCroissantCheck = Case(this, IdMsg::AppSaisieCroissant, "NumCroissantCheck");
  noms->addWidget(new QLabel(Q(Msg(IdMsg::AppSaisieStation)), this), 0, 0);
  noms->addWidget(EditStation, 0, 1);
  noms->addWidget(InvViseeCheck, 0, 2);
  noms->addWidget(new QLabel(Q(Msg(IdMsg::AppSaisieVise)), this), 1, 0);
  noms->addWidget(EditVise, 1, 1);
  noms->addWidget(NumCroissantCheck, 1, 2);
  noms->addWidget(new QLabel(Q(Msg(IdMsg::AppSaisieGalerie)), this), 2, 0);
  noms->addWidget(EditGalerie, 2, 1);
  noms->addWidget(NouvelleGalerieBtn, 2, 2);
  noms->addWidget(new QLabel(Q(Msg(IdMsg::AppSaisieLever)), this), 3, 0);
  noms->addWidget(EditLever, 3, 1);
  principal->addLayout(noms);

  DepartHabiGroupe = new QGroupBox(Q(Msg(IdMsg::AppSaisieDepartHabi)), this);
  DepartHabiGroupe->setObjectName(QStringLiteral("DepartHabiGroupe"));
  auto* ld = new QHBoxLayout(DepartHabiGroupe);
  RbDepartStation = new QRadioButton(DepartHabiGroupe);
  RbDepartStation->setObjectName(QStringLiteral("RbDepartStation"));
  RbDepartVise = new QRadioButton(DepartHabiGroupe);
  RbDepartVise->setObjectName(QStringLiteral("RbDepartVise"));
  ld->addWidget(RbDepartStation);
  ld->addWidget(RbDepartVise);
  principal->addWidget(DepartHabiGroupe);

  // The three measurement rows, stacked in the configured input order.
  auto* mesures = new QGridLayout;
  EditAzimut = Edit(this, "EditAzimut");
  UniteAzimut = new QLabel(this);
  InvAzCheck = Case(this, IdMsg::AppSaisieInvAz, "InvAzCheck");
  InvAzCheck->setToolTip(Q(Msg(IdMsg::AppSaisieInvAzAide)));
  LabelPente = new QLabel(this);
  LabelPente->setObjectName(QStringLiteral("LabelPente"));
  EditPente = Edit(this, "EditPente");
  UnitePente = new QLabel(this);
  UnitePente->setObjectName(QStringLiteral("UnitePente"));
  InvPCheck = Case(this, IdMsg::AppSaisieInvP, "InvPCheck");
  OriginePente = new QLabel(this);
  OriginePente->setObjectName(QStringLiteral("OriginePente"));
  LabelLongueur = new QLabel(this);
  LabelLongueur->setObjectName(QStringLiteral("LabelLongueur"));
  EditLongueur = Edit(this, "EditLongueur");
  EditLongueur->setValidator(Validateur(EditLongueur, false, 3, 2));
  LabelLectDeb = new QLabel(Q(Msg(IdMsg::AppSaisieLectDebut)), this);
  EditLectDeb = Edit(this, "EditLectDeb");
  EditLectDeb->setValidator(Validateur(EditLectDeb, false, 6, 0));
  LabelLectFin = new QLabel(Q(Msg(IdMsg::AppSaisieLectFin)), this);
  EditLectFin = Edit(this, "EditLectFin");
  EditLectFin->setValidator(Validateur(EditLectFin, false, 6, 0));
  TopofilCheck = Case(this, IdMsg::AppSaisieTopofil, "TopofilCheck");
  TopofilCheck->setToolTip(Q(Msg(IdMsg::AppSaisieTopofilAide)));
  const ConfigGenerale& cfg = Config();
  auto ligne = [](int32_t pos) { return pos >= 0 && pos <= 2 ? static_cast<int>(pos) : 0; };
  const int la = ligne(cfg.PosAzimut), lp = ligne(cfg.PosPente), ll = ligne(cfg.PosLongueur);
  mesures->addWidget(new QLabel(Q(Msg(IdMsg::AppSaisieAzimut)), this), la, 0);
  mesures->addWidget(EditAzimut, la, 1);
  mesures->addWidget(UniteAzimut, la, 2);
  mesures->addWidget(InvAzCheck, la, 3);
  mesures->addWidget(LabelPente, lp, 0);
  mesures->addWidget(EditPente, lp, 1);
  mesures->addWidget(UnitePente, lp, 2);
  mesures->addWidget(InvPCheck, lp, 3);
  mesures->addWidget(OriginePente, lp, 4);
  auto* longueur = new QHBoxLayout;
  longueur->addWidget(EditLongueur);
  longueur->addWidget(new QLabel(QStringLiteral("m"), this));
  longueur->addWidget(LabelLectDeb);
  longueur->addWidget(EditLectDeb);
  longueur->addWidget(LabelLectFin);
  longueur->addWidget(EditLectFin);
  mesures->addWidget(LabelLongueur, ll, 0);
  mesures->addLayout(longueur, ll, 1, 1, 2);
  mesures->addWidget(TopofilCheck, ll, 3);
  principal->addLayout(mesures);

  // Input type.
  SaisiePentesRdg = new QGroupBox(Q(Msg(IdMsg::AppSaisiePentes)), this);
  SaisiePentesRdg->setObjectName(QStringLiteral("SaisiePentesRdg"));
  SaisiePentesRdg->setToolTip(Q(Msg(IdMsg::AppSaisiePentesAide)));
  SaisiePentes = new QButtonGroup(this);
  auto* lp2 = new QHBoxLayout(SaisiePentesRdg);
  const IdMsg types[] = {IdMsg::AppSaisiePL, IdMsg::AppSaisiePLh, IdMsg::AppSaisieHL, IdMsg::AppSaisieHLh,
                         IdMsg::AppSaisieProfL};
  for (int i = 0; i < 5; ++i) {
    auto* r = new QRadioButton(Q(Msg(types[i])), SaisiePentesRdg);
    r->setObjectName(QStringLiteral("RbSaisie%1").arg(i));
    SaisiePentes->addButton(r, i);
    lp2->addWidget(r);
  }
  SaisiePentes->button(0)->setChecked(true);
  ConserverCheck = Case(this, IdMsg::AppSaisieConserver, "ConserverCheck");
  auto* lp3 = new QHBoxLayout;
  lp3->addWidget(SaisiePentesRdg);
  lp3->addWidget(ConserverCheck);
  principal->addLayout(lp3);

  // Dimensions, comment, continuations.
  DimGroupe = new QGroupBox(Q(Msg(IdMsg::AppSaisieDimGroupe)), this);
  DimGroupe->setObjectName(QStringLiteral("DimGroupe"));
  auto* lg = new QGridLayout(DimGroupe);
  RbAuStation = Radio(DimGroupe, IdMsg::AppSaisieAuStation, "RbAuStation");
  RbAuVise = Radio(DimGroupe, IdMsg::AppSaisieAuVise, "RbAuVise");
  RbAuVise->setChecked(true);
  SaisirDimCheck = Case(DimGroupe, IdMsg::AppSaisieSaisirDim, "SaisirDimCheck");
  lg->addWidget(RbAuStation, 0, 0);
  lg->addWidget(RbAuVise, 0, 1);
  lg->addWidget(SaisirDimCheck, 0, 2);
  DimBox = new QGroupBox(Q(Msg(IdMsg::AppSaisieDimGalerie)), DimGroupe);
  DimBox->setObjectName(QStringLiteral("DimBox"));
  auto* lb = new QGridLayout(DimBox);
  EditLargeurG = Edit(DimBox, "EditLargeurG");
  EditLargeurDr = Edit(DimBox, "EditLargeurDr");
  EditHauteurSup = Edit(DimBox, "EditHauteurSup");
  EditHauteurInf = Edit(DimBox, "EditHauteurInf");
  const std::pair<IdMsg, QLineEdit*> dims[] = {{IdMsg::AppSaisieLargeurG, EditLargeurG},
                                               {IdMsg::AppSaisieLargeurDr, EditLargeurDr},
                                               {IdMsg::AppSaisieHauteurSup, EditHauteurSup},
                                               {IdMsg::AppSaisieHauteurInf, EditHauteurInf}};
  for (int i = 0; i < 4; ++i) {
    dims[i].second->setValidator(Validateur(dims[i].second, false, 3, 2));
    lb->addWidget(new QLabel(Q(Msg(dims[i].first)), DimBox), i / 2, (i % 2) * 2);
    lb->addWidget(dims[i].second, i / 2, (i % 2) * 2 + 1);
  }
  lg->addWidget(DimBox, 1, 0, 1, 3);
  MemoCommentaire = new QPlainTextEdit(DimGroupe);
  MemoCommentaire->setObjectName(QStringLiteral("MemoCommentaire"));
  MemoCommentaire->setTabChangesFocus(true);
  lg->addWidget(MemoCommentaire, 2, 0, 1, 3);
  SuitesBtn = new QPushButton(Q(Msg(IdMsg::AppSaisieSuites)), DimGroupe);
  SuitesBtn->setObjectName(QStringLiteral("SuitesBtn"));
  SuitesBtn->setAutoDefault(false);
  SuitesBtn->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
  lg->addWidget(SuitesBtn, 2, 3);
  principal->addWidget(DimGroupe);

  CommentHabiGroupe = new QGroupBox(Q(Msg(IdMsg::AppSaisieCommentaires)), this);
  CommentHabiGroupe->setObjectName(QStringLiteral("CommentHabiGroupe"));
  auto* lh = new QVBoxLayout(CommentHabiGroupe);
  MemoHabi = new QPlainTextEdit(CommentHabiGroupe);
  MemoHabi->setObjectName(QStringLiteral("MemoHabi"));
  MemoHabi->setTabChangesFocus(true);
  lh->addWidget(MemoHabi);
  principal->addWidget(CommentHabiGroupe);

  auto* boutons = new QHBoxLayout;
  boutons->addStretch();
  OKBtn = new QPushButton(Q(Msg(IdMsg::AppSaisieOK)), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setDefault(true);
  AnnulerBtn = new QPushButton(Q(Msg(IdMsg::AppSaisieAnnuler)), this);
  AnnulerBtn->setObjectName(QStringLiteral("AnnulerBtn"));
  AnnulerBtn->setAutoDefault(false);
  boutons->addWidget(OKBtn);
  boutons->addWidget(AnnulerBtn);
  principal->addLayout(boutons);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(AnnulerBtn, &QPushButton::clicked, this, &QDialog::reject);

  // Tab order: names, then the measurements in the configured order.
  QWidget* rangs[3] = {nullptr, nullptr, nullptr};
  rangs[la] = EditAzimut;
  rangs[lp] = EditPente;
  rangs[ll] = EditLongueur;
  QWidget* avant = EditVise;
  setTabOrder(EditStation, EditVise);
  for (QWidget* w : rangs)
    if (w) {
      setTabOrder(avant, w);
      avant = w;
      if (w == EditLongueur) {
        setTabOrder(EditLongueur, EditLectDeb);
        setTabOrder(EditLectDeb, EditLectFin);
        avant = EditLectFin;
      }
    }

  connect(RbNormale, &QRadioButton::toggled, this, [this](bool b) { if (b) TypeViseeChange(); });
  connect(RbRattachement, &QRadioButton::toggled, this, [this](bool b) { if (b) TypeViseeChange(); });
  connect(RbHabillage, &QRadioButton::toggled, this, [this](bool b) { if (b) TypeViseeChange(); });
  connect(InvViseeCheck, &QCheckBox::clicked, this, [this] {
    // The dimensions stay on the same physical point.
    AfficheNomsPoints();
    FixeFocus();
  });
  connect(NumCroissantCheck, &QCheckBox::clicked, this, [this] {
    if (!InitEnCours) cfSaisie.csNumCroissant = NumCroissantCheck->isChecked();
    AfficheNomsPoints();
  });
  connect(TopofilCheck, &QCheckBox::clicked, this, [this] { ChangeTopofil(); });
  connect(SaisiePentes, &QButtonGroup::idClicked, this, [this](int) { TypeSaisieChange(); });
  connect(RbAuStation, &QRadioButton::clicked, this, [this] { AfficheDimensions(); });
  connect(RbAuVise, &QRadioButton::clicked, this, [this] { AfficheDimensions(); });
  connect(SaisirDimCheck, &QCheckBox::clicked, this, [this] { AfficheDimensions(); });
  connect(NouvelleGalerieBtn, &QPushButton::clicked, this, [this] { NouvelleGalerie(); });
  connect(SuitesBtn, &QPushButton::clicked, this, [this] { EditeSuites(); });
  SuiteObsExist = std::make_unique<survey::TSuiteObs>();
  SuiteObsCree = std::make_unique<survey::TSuiteObs>();
  EditLever->installEventFilter(this);

  const ContexteSaisieVisee& ctx = SaisieVisee();
  if (ctx.Gauche >= 0 && ctx.Haut >= 0) move(ctx.Gauche, ctx.Haut);
}

TSaisieViseeDlg::~TSaisieViseeDlg() { ReleasePointsNeufs(); }

void TSaisieViseeDlg::ReleasePointsNeufs() {
  delete PtNouvVis;
  PtNouvVis = nullptr;
}

int TSaisieViseeDlg::TypeChoisi() const {
  if (RbHabillage->isChecked()) return 2;
  if (RbRattachement->isChecked()) return 1;
  return 0;
}

void TSaisieViseeDlg::Init(TVisee& Visee, TVisee* Source) {
  Rectif = false;
  ViseeSaisie = &Visee;
  ViseeSource = Source;
  if (survey::Document().InsertionVisee) setWindowTitle(Q(Msg(IdMsg::AppSaisieTitreInsere)));
  cfSaisie = SaisieVisee().ConfigSaisieCourante;
  InitCommune();
  EditAzimut->clear();
  EditPente->clear();
  EditLongueur->clear();
  EditLectDeb->setText(Q(SaisieVisee().DerniereLectureFin));
  EditLectFin->clear();
  FixeFocus();
}

void TSaisieViseeDlg::Initrectif(TVisee& Visee, TVisee* Source) {
  Rectif = true;
  ViseeSaisie = &Visee;
  ViseeSource = Source;
  setWindowTitle(Q(Msg(IdMsg::AppSaisieTitreRectif)));
  cfSaisie = TConfigSaisie{};
  cfSaisie.csNumCroissant = false;
  cfSaisie.csMemoPentes = false;
  cfSaisie.csStatOuVis = true;
  if (Visee.EstHabi) {
    cfSaisie.csTypeSaisie = 2;
    cfSaisie.csInvVisee = false;
    MemoHabi->setPlainText(Q(Visee.CommentVisee.Texte()));
  } else {
    const TPointSpeleo* p = Visee.PointVise;
    cfSaisie.csDimNul =
        !p || (p->LargeurDR == 0 && p->LargeurGA == 0 && p->HauteurSup == 0 && p->HauteurInf == 0);
    cfSaisie.csInvDim = p && p->InvBords;
    cfSaisie.csInvVisee = Visee.InvVisee;
  }
  cfSaisie.csTopofil = Visee.SaisieTopoFil;
  cfSaisie.csPentes = std::clamp(static_cast<int>(Visee.Typesaisie), 0, 4);
  cfSaisie.csInvAz = Visee.InvAz;
  cfSaisie.csInvP = Visee.InvP;
  InitCommune();
  if (Visee.PointStation) EditStation->setText(Q(Visee.PointStation->DesignPTopo));
  if (!Visee.EstHabi && Visee.PointVise) EditVise->setText(Q(Visee.PointVise->DesignPTopo));
  EditStation->setEnabled(true);
  double p = 0, l = 0;
  switch (cfSaisie.csPentes) {
    case 0: p = Visee.pente, l = Visee.Long; break;
    case 1: p = Visee.pente, l = Visee.LH; break;
    case 3: p = Visee.Deniv, l = Visee.LH; break;
    default: p = Visee.Deniv, l = Visee.Long; break;
  }
  EditAzimut->setText(Texte62(Visee.Az).trimmed());
  EditPente->setText(Texte62(p).trimmed());
  EditLongueur->setText(Texte62(l).trimmed());
  if (Visee.SaisieTopoFil) {
    EditLectDeb->setText(QString::number(Visee.TopofilDeb));
    EditLectFin->setText(QString::number(Visee.TopofilFin));
  }
  FixeFocus();
}

void TSaisieViseeDlg::InitCommune() {
  const bool rectif = Rectif;
  const bool insertion = survey::Document().InsertionVisee;
  InitEnCours = true;
  TopofilCheck->setVisible(ColonnesTopofilVisibles());
  TypeViseeRdg->setEnabled(!rectif && !insertion);
  ExclueCheck->setChecked(ViseeSaisie->EstExclue());
  // A cave without shots takes its position, for the trip's declination,
  // from the surface point its first shot starts at.
  TPointSpeleo* surface = ViseeSaisie->PointStation;
  survey::Calcul().PtSurfaceSaisie = surface && surface->EstPointSurface() ? surface : nullptr;
  const survey::TLever* courant = survey::Document().LeverCourant;
  if (ViseeSaisie->LeLever) {
    UnLever = ViseeSaisie->LeLever;
  } else if (courant && !Cavite.Levers.Vide()) {
    UnLever = courant;
  } else {
    UnLever = survey::LeverParDefaut();
  }
  EditLever->setText(UnLever && UnLever != survey::LeverParDefaut() ? Q(UnLever->DateTexte()) : QString());
  EditLever->setEnabled(!insertion);
  FixeMasques();
  // Without a shot to follow, no splay; from a surface point, no attachment.
  if (!ViseeSource) {
    RbHabillage->setVisible(false);
    const TPointSpeleo* s = ViseeSaisie->PointStation;
    if (s && s->EstPointSurface()) RbRattachement->setVisible(false);
  }
  if (cfSaisie.csTypeSaisie == 2 && ViseeSource)
    RbHabillage->setChecked(true);
  else
    RbNormale->setChecked(true);
  TypeViseeChange();
  NumCroissantCheck->setChecked(cfSaisie.csNumCroissant);
  InvViseeCheck->setChecked(cfSaisie.csInvVisee);
  TopofilCheck->setChecked(cfSaisie.csTopofil);
  (cfSaisie.csStatOuVis ? RbAuVise : RbAuStation)->setChecked(true);
  SaisirDimCheck->setChecked(!cfSaisie.csDimNul);
  InvAzCheck->setChecked(cfSaisie.csInvAz);
  InvPCheck->setChecked(cfSaisie.csInvP);
  ConserverCheck->setChecked(cfSaisie.csMemoPentes);
  if (!rectif && !cfSaisie.csMemoPentes) cfSaisie.csPentes = 0;
  SaisiePentes->button(cfSaisie.csPentes)->setChecked(true);
  EditGalerie->setText(Cavite.LaGalerieActive ? Q(Cavite.LaGalerieActive->NomGalerie) : QString());
  ChangeTopofil();
  AfficheNomsPoints();
  if (TypeChoisi() != 2) AfficheDimensions();
  TypeSaisieChange();
  CreeGalerie = false;
  const TPointSpeleo* s = ViseeSaisie->PointStation;
  NouvelleGalerieBtn->setEnabled(!insertion && !rectif && !(s && s->EstPointSurface()) && TypeChoisi() == 0);
  InitEnCours = false;
}

bool TSaisieViseeDlg::ColonnesTopofilVisibles() const {
  return Config().SaisieTopofil || survey::Affichage().ColonnesTopofil || cfSaisie.csTopofil;
}

void TSaisieViseeDlg::FixeMasques() {
  const survey::TLever& l = Lever(UnLever);
  EditAzimut->setValidator(Validateur(EditAzimut, true, 4, 2));
  UniteAzimut->setText(l.UniteAZ == 1 ? QStringLiteral("gr") : QStringLiteral("°"));
  if (cfSaisie.csPentes > 1) {
    EditPente->setValidator(Validateur(EditPente, true, 5, 2));
    UnitePente->setText(QStringLiteral("m"));
  } else {
    EditPente->setValidator(Validateur(EditPente, true, 4, 2));
    UnitePente->setText(l.UniteP == 1 ? QStringLiteral("gr") : l.UniteP == 2 ? QStringLiteral("%") : QStringLiteral("°"));
  }
}

void TSaisieViseeDlg::TypeViseeChange() {
  const int type = TypeChoisi();
  const bool habi = type == 2;
  for (QWidget* w : std::initializer_list<QWidget*>{EditStation, EditVise, InvViseeCheck, NumCroissantCheck,
                                                     ConserverCheck, DimGroupe})
    w->setVisible(!habi);
  DepartHabiGroupe->setVisible(habi);
  CommentHabiGroupe->setVisible(habi);
  EditLever->setEnabled(!habi && !survey::Document().InsertionVisee);
  ReleasePointsNeufs();
  PtNouvVis = Rectif ? nullptr : new TPointSpeleo();
  PtExistVis = ViseeSaisie->PointStation;
  if (type == 0) {
    PtCreeVis = Rectif ? ViseeSaisie->PointVise : PtNouvVis;
  } else if (type == 1) {
    PtCreeVis = nullptr;
  } else if (ViseeSource) {
    RbDepartStation->setText(ViseeSource->PointStation ? Q(ViseeSource->PointStation->DesignPTopo) : QString());
    RbDepartVise->setText(ViseeSource->PointVise ? Q(ViseeSource->PointVise->DesignPTopo) : QString());
    (ViseeSaisie->RefPtStat ? RbDepartStation : RbDepartVise)->setChecked(true);
  }
  NouvelleGalerieBtn->setEnabled(type == 0 && !Rectif && !survey::Document().InsertionVisee);
  NumCroissantCheck->setEnabled(type == 0);
  ExclueCheck->setVisible(!habi);
  EditStation->setReadOnly(type == 1);
  EditVise->setReadOnly(type == 1);
  if (!habi) CopieSuites();
  if (!InitEnCours) {
    AfficheNomsPoints();
    if (!habi) AfficheDimensions();
  }
  if (type == 1 && !InitEnCours) ChoixRattachement();
}

void TSaisieViseeDlg::ChoixRattachement() {
  const auto& choix = survey::Ports().ChoisitPointRattachement;
  TPointSpeleo* p = nullptr;
  if (choix && ViseeSaisie->PointStation) {
    survey::TDemandeRattachement d;
    d.Cavite = &Cavite;
    d.Point = ViseeSaisie->PointStation;
    d.PointsSurface = true;
    Cavite.MarquePointsDependants(ViseeSaisie->PointStation);
    p = choix(d);
  }
  if (!p) {
    RbNormale->setChecked(true);
    return;
  }
  PtCreeVis = p;
  CopieSuites();
  AfficheNomsPoints();
}

void TSaisieViseeDlg::CopieSuites() {
  *SuiteObsExist = survey::TSuiteObs();
  *SuiteObsCree = survey::TSuiteObs();
  if (PtExistVis) PtExistVis->SuiteObs.CopieListeObs(*SuiteObsExist);
  if (PtCreeVis) PtCreeVis->SuiteObs.CopieListeObs(*SuiteObsCree);
}

void TSaisieViseeDlg::EditeSuites() {
  // "au point visé" is the new point, named in the edit that holds its name.
  const bool cree = RbAuVise->isChecked();
  const bool inv = InvViseeCheck->isChecked() && !Rectif;
  TPointSpeleo temp;
  temp.DesignPTopo = ((cree != inv) ? EditVise : EditStation)->text().trimmed().toStdString();
  survey::TSuiteObs& liste = cree ? *SuiteObsCree : *SuiteObsExist;
  TListeSuiteObsDlg dlg(UnLever, liste, &temp, false, this);
  dlg.Demarre();
  if (!dlg.Termine) dlg.exec();
}

void TSaisieViseeDlg::AfficheNomsPoints() {
  const TPointSpeleo* s = ViseeSaisie->PointStation;
  const QString preced = s ? Q(s->DesignPTopo) : QString();
  QString nouveau;
  const int type = TypeChoisi();
  if (Rectif) {
    if (ViseeSaisie->PointVise) nouveau = Q(ViseeSaisie->PointVise->DesignPTopo);
  } else if (type == 0 && s && s->EstFinBranche()) {
    nouveau = Q(foundation::IncrementeNom(s->DesignPTopo, NumCroissantCheck->isChecked()));
  } else if (type == 1 && PtCreeVis) {
    nouveau = Q(PtCreeVis->DesignPTopo);
  }
  if (!InitEnCours) cfSaisie.csInvVisee = InvViseeCheck->isChecked();
  const bool inv = InvViseeCheck->isChecked() && !Rectif;
  EditStation->setText(inv ? nouveau : preced);
  EditVise->setText(inv ? preced : nouveau);
  EditStation->setEnabled(Rectif || inv);
  EditVise->setEnabled(Rectif || !inv);
}

void TSaisieViseeDlg::AfficheDimensions() {
  if (!InitEnCours) {
    cfSaisie.csDimNul = !SaisirDimCheck->isChecked();
    cfSaisie.csStatOuVis = RbAuVise->isChecked();
  }
  DimBox->setVisible(SaisirDimCheck->isChecked());
  // "au point visé" is the new point whichever order the shot is stored in.
  const TPointSpeleo* p = cfSaisie.csStatOuVis ? PtCreeVis : PtExistVis;
  QLineEdit* edits[] = {EditLargeurDr, EditLargeurG, EditHauteurSup, EditHauteurInf};
  if (p) {
    const double v[] = {p->LargeurDR, p->LargeurGA, p->HauteurSup, p->HauteurInf};
    for (int i = 0; i < 4; ++i) edits[i]->setText(cfSaisie.csDimNul ? QString() : Texte62(v[i]).trimmed());
    MemoCommentaire->setPlainText(Q(p->Commentaire.Texte()));
  } else {
    for (QLineEdit* e : edits) e->clear();
    MemoCommentaire->clear();
  }
  if (SaisirDimCheck->isChecked() && !InitEnCours) EditLargeurG->setFocus();
}

void TSaisieViseeDlg::TypeSaisieChange() {
  if (!InitEnCours) cfSaisie.csPentes = SaisiePentes->checkedId() < 0 ? 0 : SaisiePentes->checkedId();
  FixeMasques();
  static const IdMsg pentes[] = {IdMsg::AppSaisiePente, IdMsg::AppSaisiePente, IdMsg::AppSaisieHauteur,
                                 IdMsg::AppSaisieHauteur, IdMsg::AppSaisieProfondeur};
  const int t = cfSaisie.csPentes;
  LabelPente->setText(Q(Msg(pentes[t]) + " :"));
  LabelLongueur->setText(Q(Msg(t == 1 || t == 3 ? IdMsg::AppSaisieLongueurH : IdMsg::AppSaisieLongueur) + " :"));
  if (!InitEnCours) {
    EditPente->clear();
    EditLongueur->clear();
  }
  const int zero = Lever(UnLever).ZeroPente;
  OriginePente->setText(t > 1 ? QString() : zero == 0 ? QStringLiteral("—") : zero > 0 ? QStringLiteral("↓") : QStringLiteral("↑"));
}

void TSaisieViseeDlg::ChangeTopofil() {
  if (!InitEnCours) cfSaisie.csTopofil = TopofilCheck->isChecked();
  const bool t = TopofilCheck->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{LabelLectDeb, EditLectDeb, LabelLectFin, EditLectFin})
    w->setVisible(t);
  EditLongueur->setVisible(!t);
  if (t) EditLongueur->clear();
  if (!InitEnCours) (t ? EditLectDeb : EditLongueur)->setFocus();
}

void TSaisieViseeDlg::FixeFocus() {
  const ConfigGenerale& cfg = Config();
  QWidget* w = EditAzimut;
  if (cfg.PosPente == 0) w = EditPente;
  if (cfg.PosLongueur == 0) w = TopofilCheck->isChecked() ? EditLectDeb : EditLongueur;
  const TPointSpeleo* s = ViseeSaisie ? ViseeSaisie->PointStation : nullptr;
  if (TypeChoisi() == 0 && !Rectif && !(s && s->EstFinBranche()))
    w = InvViseeCheck->isChecked() ? EditStation : EditVise;
  w->setFocus();
}

void TSaisieViseeDlg::NouvelleGalerie() {
  const auto nom = platform::Dialogs::Current().Prompt(Msg(IdMsg::AppSaisieNomGalTitre),
                                                       Msg(IdMsg::AppSaisieNomGalInvite), std::string());
  if (!nom) return;
  CreeGalerie = true;
  NomGalerie = *nom;
  EditGalerie->setText(Q(*nom));
  (InvViseeCheck->isChecked() ? EditStation : EditVise)->clear();
}

void TSaisieViseeDlg::ChoixLever() {
  if (!EditLever->isEnabled()) return;
  survey::TLever* l = ChoisitLever(this, Cavite.Levers);
  if (l) {
    UnLever = l;
    EditLever->setText(Q(l->DateTexte()));
    TopofilCheck->setChecked(l->Topofil);
    if (l->Topofil) TopofilCheck->setVisible(true);
    ChangeTopofil();
    FixeMasques();
    TypeSaisieChange();
  }
  (EditVise->isEnabled() ? EditVise : EditStation)->setFocus();
}

bool TSaisieViseeDlg::eventFilter(QObject* o, QEvent* e) {
  if (o == EditLever && e->type() == QEvent::MouseButtonRelease) {
    ChoixLever();
    return true;
  }
  return QDialog::eventFilter(o, e);
}

void TSaisieViseeDlg::LitValeurs(survey::TValeurVisee& V) const {
  V.pente = V.Long = V.LH = V.Deniv = 0;
  V.LeLever = UnLever;
  V.Az = Nombre(EditAzimut);
  V.Typesaisie = static_cast<uint8_t>(cfSaisie.csPentes);
  V.SaisieTopoFil = TopofilCheck->isChecked();
  double l = 0;
  if (V.SaisieTopoFil) {
    V.TopofilDeb = static_cast<int32_t>(Nombre(EditLectDeb));
    V.TopofilFin = static_cast<int32_t>(Nombre(EditLectFin));
    l = std::abs(static_cast<double>(V.TopofilDeb) - V.TopofilFin) * Lever(UnLever).EtalonL;
  } else {
    l = Nombre(EditLongueur);
  }
  const double p = Nombre(EditPente);
  switch (cfSaisie.csPentes) {
    case 0: V.pente = p, V.Long = l; break;
    case 1: V.pente = p, V.LH = l; break;
    case 3: V.Deniv = p, V.LH = l; break;
    default: V.Deniv = p, V.Long = l; break;
  }
  V.Az = survey::ZeroSiNegligeable(V.Az);
  V.pente = survey::ZeroSiNegligeable(V.pente);
  V.Deniv = survey::ZeroSiNegligeable(V.Deniv);
}

bool TSaisieViseeDlg::Valide() {
  survey::TVisee t;
  LitValeurs(t);
  const survey::TLever& l = Lever(UnLever);
  auto refuse = [](const std::string& m, QLineEdit* e) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning, m);
    e->setFocus();
    e->selectAll();
    return false;
  };
  const int limite = l.UniteAZ == 1 ? 400 : 360;
  if (std::abs(t.Az) > limite) {
    const std::string n = foundation::EntierEnStr(limite);
    return refuse(Msg(IdMsg::AppSaisieErreurAz) + n + Msg(IdMsg::AppSaisieEtPlus) + n + " " + NomUnite(l.UniteAZ),
                  EditAzimut);
  }
  const int type = cfSaisie.csPentes;
  if ((type == 0 || type == 1) && l.UniteP != 2) {
    const int demi = l.UniteP == 1 ? 100 : 90;
    const int centre = l.ZeroPente == 0 ? 0 : demi;
    if (t.pente < centre - demi || t.pente > centre + demi)
      return refuse(Msg(IdMsg::AppSaisieErreurPente) + foundation::EntierEnStr(centre - demi) +
                        Msg(IdMsg::AppSaisieEtPlus) + foundation::EntierEnStr(centre + demi) + " " + NomUnite(l.UniteP),
                    EditPente);
  }
  if (type == 2 && t.Long != 0 && t.Long < std::abs(t.Deniv))
    return refuse(Msg(IdMsg::AppSaisieErreurLongueur), EditPente);
  return true;
}

void TSaisieViseeDlg::done(int r) {
  SaisieVisee().Gauche = x();
  SaisieVisee().Haut = y();
  if (r == QDialog::Accepted) {
    if (!Valide()) return;
    Transfere(*ViseeSaisie);
  }
  QDialog::done(r);
}

void TSaisieViseeDlg::Transfere(TVisee& V) {
  const int type = TypeChoisi();
  LitValeurs(V);
  cfSaisie.csTypeSaisie = type;
  cfSaisie.csInvAz = InvAzCheck->isChecked();
  cfSaisie.csInvP = InvPCheck->isChecked();
  V.InvAz = cfSaisie.csInvAz;
  V.InvP = cfSaisie.csInvP;
  if (type == 2) {
    V.EstHabi = true;
    if (ViseeSource && !Rectif) {
      TPointSpeleo* depart = RbDepartStation->isChecked() ? ViseeSource->PointStation : ViseeSource->PointVise;
      V.PointStation = V.PtOrigCalc = depart;
    }
    V.RefPtStat = RbDepartStation->isChecked();
    V.CommentVisee.clear();
    const QStringList lignes = MemoHabi->toPlainText().split(QLatin1Char('\n'));
    if (!MemoHabi->toPlainText().isEmpty())
      for (const QString& s : lignes) V.CommentVisee.push_back(s.toStdString());
    survey::Document().DocumentModifie = true;
  } else {
    V.Exclue = ExclueCheck->isChecked() ? 1 : 0;
    cfSaisie.csInvVisee = InvViseeCheck->isChecked();
    cfSaisie.csMemoPentes = ConserverCheck->isChecked();
    const bool inv = InvViseeCheck->isChecked() && !Rectif;
    if (!Rectif) {
      if (type == 0) {
        if (inv) {
          V.PointStation = PtCreeVis;
          V.PointVise = PtExistVis;
        } else {
          V.PointStation = PtExistVis;
          V.PointVise = PtCreeVis;
        }
        V.InvVisee = inv;
        if (PtCreeVis == PtNouvVis) PtNouvVis = nullptr;  // now the shot's
      } else {
        V.TypeRattachement = 1;
        if (inv) {
          V.PointVise = PtExistVis;
          V.PointStation = PtCreeVis;
        } else {
          V.PointVise = PtCreeVis;
        }
        V.InvVisee = inv;
      }
    }
    if (type == 0) {
      if (V.PointStation) V.PointStation->DesignPTopo = EditStation->text().trimmed().toStdString();
      if (V.PointVise) {
        V.PointVise->vPointOrigine = V.PointStation;
        V.PointVise->DesignPTopo = EditVise->text().trimmed().toStdString();
      }
      if (TPointSpeleo* d = cfSaisie.csStatOuVis ? PtCreeVis : PtExistVis) {
        d->InvBords = cfSaisie.csInvDim;
        d->LargeurDR = Nombre(EditLargeurDr);
        d->LargeurGA = Nombre(EditLargeurG);
        d->HauteurSup = Nombre(EditHauteurSup);
        d->HauteurInf = Nombre(EditHauteurInf);
        d->Commentaire.clear();
        if (!MemoCommentaire->toPlainText().isEmpty())
          for (const QString& s : MemoCommentaire->toPlainText().split(QLatin1Char('\n')))
            d->Commentaire.push_back(s.toStdString());
      }
    }
    if (PtExistVis) SuiteObsExist->CopieListeObs(PtExistVis->SuiteObs);
    if (PtCreeVis) SuiteObsCree->CopieListeObs(PtCreeVis->SuiteObs);
    survey::Document().DocumentModifie = true;
  }
  if (!Rectif) {
    SaisieVisee().ConfigSaisieCourante = cfSaisie;
    if (cfSaisie.csTopofil) SaisieVisee().DerniereLectureFin = EditLectFin->text().toStdString();
  }
}

void InstalleDialogueSaisieVisee() {
  survey::Ports().DialogueSaisieVisee = [](survey::TDemandeSaisieVisee& d) {
    if (!d.Cavite || !d.Visee) return false;
    TSaisieViseeDlg dlg(*d.Cavite, QApplication::activeWindow());
    if (d.Rectification)
      dlg.Initrectif(*d.Visee, d.Source);
    else
      dlg.Init(*d.Visee, d.Source);
    if (dlg.exec() != QDialog::Accepted) return false;
    d.NouvelleGalerie = dlg.CreeGalerie;
    d.NomGalerie = dlg.NomGalerie;
    if (!d.NouvelleGalerie && d.Cavite->Galeries.Vide()) d.NomGalerie = d.NomGaleriePropose;
    return true;
  };
}

}  // namespace app
