#include "app/saisie/dialogues_points.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <set>

#include "app/commun/contexte_app.h"
#include "app/saisie/cadre_saisie_date.h"
#include "app/saisie/cadre_saisie_ope.h"
#include "drawing/objet_motif_de_base.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/dates.h"
#include "foundation/point_topo.h"
#include "foundation/utilitaires.h"
#include "platform/dialogs.h"
#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/qt_canvas.h"
#include "projections/services.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/liste_points.h"
#include "survey/parties_reseau.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "views/cadres/cadres_projection.h"

namespace app {

namespace {
// Side of the symbol preview, in pixels.
constexpr int TailleVisuSymbole = 48;
}  // namespace

using foundation::IdMsg;
using foundation::Msg;
using survey::TPointSpeleo;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string Lignes(const foundation::TMesStringList& l, const char* sep) {
  std::string t;
  for (const std::string& s : l) t += s + sep;
  return t;
}

}  // namespace

// --- Surface-point coordinates ------------------------------------------------------------------

TCoordDlg::TCoordDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("CoordDlg");
  setWindowTitle(Q(Msg(IdMsg::AppCoordTitre)));
  MemoireCoordonnees& m = ContexteApp().Coordonnees;
  const survey::TReseau* reseau = survey::Document().ReseauCourant;
  auto* haut = new QVBoxLayout(this);
  auto* f = new QFormLayout;
  EditNom = new QLineEdit(this);
  EditNom->setObjectName("EditNom");
  f->addRow(Q(Msg(IdMsg::AppCoordDesignation)), EditNom);
  NatureBox = new QComboBox(this);
  NatureBox->setObjectName("NatureBox");
  NatureBox->addItem(Q(Msg(IdMsg::AppCoordIndetermine)));
  if (reseau) {
    const survey::TPartieReseau& bib = reseau->Partie(survey::TGenrePartie::BibliothequeMotifs);
    for (int i = 0;; ++i) {
      survey::TMotifDocument* s = bib.SymboleSurface(i);
      if (!s) break;
      symboles_.push_back(s);
      const auto& nom = survey::Ports().NomCategorieSurface;
      NatureBox->addItem(Q(nom ? nom(s) : std::string()));
    }
  }
  NatureBox->setCurrentIndex(0);
  VisuSymbole = new QLabel(this);
  VisuSymbole->setObjectName("VisuSymbole");
  VisuSymbole->setFixedSize(TailleVisuSymbole, TailleVisuSymbole);
  auto* nature = new QHBoxLayout;
  nature->addWidget(NatureBox, 1);
  nature->addWidget(VisuSymbole);
  f->addRow(Q(Msg(IdMsg::AppCoordNature)), nature);
  connect(NatureBox, &QComboBox::currentIndexChanged, this, [this] { DessineSymbole(); });
  DessineSymbole();
  haut->addLayout(f);
  CadreProjection = new TCadreProjectionWGS(this);
  CadreProjection->setObjectName("CadreProjection");
  haut->addWidget(CadreProjection);
  CadreCoord = new TCadreSaisieCoord(this);
  CadreCoord->setObjectName("CadreCoord");
  haut->addWidget(CadreCoord);
  haut->addWidget(new QLabel(Q(Msg(IdMsg::AppCoordCommentaire)), this));
  MemoCommentaire = new QPlainTextEdit(this);
  MemoCommentaire->setObjectName("MemoCommentaire");
  haut->addWidget(MemoCommentaire);
  haut->addLayout(platform::qt::BoutonsOKAnnuler(this, OKBtn));

  CadreCoord->UniteGroup->FixeItemIndex(m.Unite);
  CadreCoord->FormatWGSRdg->FixeItemIndex(m.FormatWGS);
  const bool avecProjection = reseau && !reseau->Projection.empty();
  if (avecProjection) {
    if (!m.ProjectionPrise) {
      m.ProjectionPrise = true;
      m.Projection = reseau->Projection;
      m.Fuseau = reseau->NumFuseau;
    }
    const bool rectif = survey::Document().RectifEnCours;
    CadreProjection->InitCadre(rectif ? reseau->Projection : m.Projection, rectif ? reseau->NumFuseau : m.Fuseau,
                               reseau->Projection, reseau->NumFuseau, CadreCoord, Msg(IdMsg::AppCoordDuPointSaisi));
  } else {
    CadreProjection->hide();
  }
  for (TGroupeRadio* g : {CadreCoord->UniteGroup, CadreCoord->NSRdg, CadreCoord->OERdg, CadreProjection->RdgTypeCoord,
                          CadreProjection->SystemRdg})
    connect(g, &TGroupeRadio::Click, this, [this] { ReporteFocus(); });
  EditNom->setFocus();
}

void TCoordDlg::ReporteFocus() {
  if (!CadreCoord->PanelAngles->isHidden())
    CadreCoord->EditLat->setFocus();
  else
    CadreCoord->EditX->setFocus();
}

void TCoordDlg::DessineSymbole() {
  const int nature = NatureBox->currentIndex();
  auto* motif = nature > 0 ? dynamic_cast<drawing::TObjetMotifdeBase*>(symboles_[static_cast<size_t>(nature - 1)])
                           : nullptr;
  if (!motif) {
    VisuSymbole->clear();
    return;
  }
  platform::QtCanvas canvas(TailleVisuSymbole, TailleVisuSymbole);
  motif->DessineVisuMotif(canvas, {0, 0, TailleVisuSymbole, TailleVisuSymbole});
  VisuSymbole->setPixmap(QPixmap::fromImage(canvas.Image()));
}

void TCoordDlg::InitRectif(const TPointSpeleo& PointTemp) {
  EditNom->setText(Q(PointTemp.DesignPTopo));
  int position = -1;
  for (size_t i = 0; i < symboles_.size(); ++i)
    if (symboles_[i] == PointTemp.CategorieSurface) position = static_cast<int>(i);
  NatureBox->setCurrentIndex(position + 1);
  MemoCommentaire->setPlainText(Q(Lignes(PointTemp.Commentaire, "\n")).trimmed());
  CadreCoord->AfficheCoordPt(PointTemp);
  CadreCoord->UniteGroup->FixeItemIndex(1);
}

bool TCoordDlg::Transfere(TPointSpeleo& PointTemp) {
  MemoireCoordonnees& m = ContexteApp().Coordonnees;
  m.Unite = CadreCoord->UniteGroup->ItemIndex();
  const survey::TReseau* reseau = survey::Document().ReseauCourant;
  const std::string projDoc = reseau ? reseau->Projection : std::string();
  const int32_t fuseauDoc = reseau ? reseau->NumFuseau : -1;
  double x = 0, y = 0, z = 0;
  auto echec = [&](const std::string& systeme) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning, 
        foundation::RemplaceMarques(Msg(IdMsg::AppCoordConversionImpossible), {systeme, projDoc}));
    return false;
  };
  if (!CadreProjection->isHidden() && !CadreCoord->PanelAngles->isHidden()) {
    z = TCadreSaisieCoord::NombreDuChamp(CadreCoord->EditZWGS);
    CadreCoord->EditLatKeyUp();
    CadreCoord->EditLongKeyUp();
    int32_t zone = fuseauDoc;
    const double lat = CadreCoord->ValResultLat() * M_PI / 180, lon = CadreCoord->ValResultLong() * M_PI / 180;
    if (projections::DatumVersGrille("WGS84", projDoc, lat, lon, x, y, zone) != projections::CodeFait)
      return echec("WGS84");
  } else {
    x = TCadreSaisieCoord::NombreDuChamp(CadreCoord->EditX);
    y = TCadreSaisieCoord::NombreDuChamp(CadreCoord->EditY);
    z = TCadreSaisieCoord::NombreDuChamp(CadreCoord->EditZ);
    if (CadreCoord->UniteGroup->ItemIndex() == 0) {
      x *= 1000;
      y *= 1000;
    }
    const std::string systeme = CadreProjection->ProjectActive;
    const int32_t zone = CadreProjection->ZoneActive();
    if (!CadreProjection->isHidden() && CadreProjection->Rattache() && !systeme.empty() && !projDoc.empty() &&
        !(systeme == projDoc && zone == fuseauDoc)) {
      foundation::TPointTopo p;
      p.X = x;
      p.Y = y;
      if (projections::ChangeProjectionPoint(projDoc, fuseauDoc, systeme, zone, p) != projections::CodeFait)
        return echec(systeme);
      x = p.X;
      y = p.Y;
    }
  }
  PointTemp.TypePoint = survey::PointSurface;
  PointTemp.DesignPTopo = EditNom->text().toStdString();
  PointTemp.X = x;
  PointTemp.Y = y;
  PointTemp.Z = z;
  const int nature = NatureBox->currentIndex();
  PointTemp.CategorieSurface = nature > 0 ? symboles_[static_cast<size_t>(nature - 1)] : nullptr;
  PointTemp.vCatPt = nature - 1;
  PointTemp.Commentaire.clear();
  const QString memo = MemoCommentaire->toPlainText();
  if (!memo.isEmpty())
    for (const QString& l : memo.split('\n')) PointTemp.Commentaire.push_back(l.toStdString());
  survey::Document().DocumentModifie = true;
  return true;
}

void TCoordDlg::accept() {
  if (cible_ && !Transfere(*cible_)) return;
  if (!survey::Document().RectifEnCours && !CadreProjection->isHidden()) {
    MemoireCoordonnees& m = ContexteApp().Coordonnees;
    m.FormatWGS = CadreCoord->FormatWGSRdg->ItemIndex();
    m.Projection = CadreProjection->ProjectActive;
    m.Fuseau = CadreProjection->ZoneActive();
  }
  QDialog::accept();
}

bool TCoordDlg::Execute(TPointSpeleo& point) {
  cible_ = &point;
  const bool ok = exec() == QDialog::Accepted;
  cible_ = nullptr;
  return ok;
}

// --- Gallery continuation choice --------------------------------------------------------------

TRattachDialog::TRattachDialog(QWidget* parent) : QDialog(parent) { setObjectName("RattachDialog"); }

void TRattachDialog::Init(const std::string& DesignGal, const std::string& DesignRattach,
                          const std::vector<TPointSpeleo*>& LPts) {
  PtsRattach = LPts;
  setWindowTitle(Q(Msg(IdMsg::AppRattachTitre) + DesignRattach));
  auto* haut = new QVBoxLayout(this);
  LabelGalerie = new QLabel(QString::fromStdString(DesignGal).trimmed(), this);
  LabelGalerie->setObjectName("LabelGalerie");
  const bool rectif = survey::Document().RectifEnCours;
  LabelTexte = new QLabel(Q(Msg(rectif ? IdMsg::AppRattachRectif : IdMsg::AppRattachDejaUn)), this);
  LabelTexte->setObjectName("LabelTexte");
  std::vector<std::string> items{Msg(IdMsg::AppRattachAucun)};
  for (const TPointSpeleo* p : LPts) items.push_back(Msg(IdMsg::AppRattachPoint) + p->DesignPTopo);
  PointsRdg = new TGroupeRadio(Q(Msg(IdMsg::AppRattachIndiquer)), items, 1, this);
  PointsRdg->setObjectName("PointsRdg");
  for (int i = 0; i < PointsRdg->Nombre(); ++i) PointsRdg->Item(i)->setObjectName("PointsRdg" + QString::number(i));
  int choix = 0;
  if (rectif)
    for (size_t i = 0; i < LPts.size(); ++i)
      if (!LPts[i]->EstAnnexe()) choix = static_cast<int>(i) + 1;
  PointsRdg->FixeItemIndex(choix);
  haut->addWidget(LabelGalerie);
  haut->addWidget(LabelTexte);
  haut->addWidget(PointsRdg);
  QPushButton* ok = nullptr;
  haut->addLayout(platform::qt::BoutonsOKAnnuler(this, ok));
  resize(width(), sizeHint().height() + 20 * static_cast<int>(LPts.size()));
}

int TRattachDialog::Choix() const { return PointsRdg->ItemIndex() - 1; }

void TRattachDialog::Transfere() {
  const int c = Choix();
  for (size_t i = 0; i < PtsRattach.size(); ++i) PtsRattach[i]->Annexe = static_cast<int>(i) == c ? 0 : 1;
}

// --- Attachment-point choice -------------------------------------------------------------------

TChoixRattachDlg::TChoixRattachDlg(survey::TCavite* ACavite, const std::string& MotifRattach, TPointSpeleo* vPtRat,
                                   bool SurfPossible, QWidget* parent)
    : QDialog(parent) {
  setObjectName("ChoixRattachDlg");
  setWindowTitle(Q(MotifRattach.empty() ? Msg(IdMsg::AppChoixRattachTitre) : MotifRattach));
  auto* haut = new QVBoxLayout(this);
  LabelNouveau = new QLabel(Q(Msg(IdMsg::AppChoixRattachNouveau)), this);
  LabelNouveau->setObjectName("LabelNouveau");
  LabelNouveau->setVisible(survey::Document().RectifEnCours);
  haut->addWidget(LabelNouveau);
  ListePoints = new QListWidget(this);
  ListePoints->setObjectName("ListePoints");
  haut->addWidget(ListePoints);
  LabelGalerie = new QLabel(this);
  LabelGalerie->setObjectName("LabelGalerie");
  haut->addWidget(LabelGalerie);
  LabelCommentaire = new QLabel(this);
  LabelCommentaire->setObjectName("LabelCommentaire");
  haut->addWidget(LabelCommentaire);
  QPushButton* ok = nullptr;
  haut->addLayout(platform::qt::BoutonsOKAnnuler(this, ok));

  if (ACavite) {
    ACavite->CalculeTousPoints(true);
    std::set<const TPointSpeleo*> vus;
    for (TPointSpeleo* p : ACavite->ListePoints)
      if (vus.insert(p).second) ListePtsCav.push_back(p);
    survey::TListedePoints* surface = ACavite->PointsSurfaceReseau();
    if (SurfPossible && surface && surface->Count() > 0)
      for (TPointSpeleo* p : *surface)
        if (vus.insert(p).second) ListePtsCav.push_back(p);
  }
  std::erase(ListePtsCav, vPtRat);
  if (vPtRat) {
    const foundation::TPointTopo ref = vPtRat->PtTopo();
    for (TPointSpeleo* p : ListePtsCav) p->dPt = foundation::DistanceXY(p->PtTopo(), ref);
  }
  std::stable_sort(ListePtsCav.begin(), ListePtsCav.end(),
                   [](const TPointSpeleo* a, const TPointSpeleo* b) { return a->dPt < b->dPt; });
  ListePoints->setUpdatesEnabled(false);
  QStringList noms;
  noms.reserve(static_cast<int>(ListePtsCav.size()));
  for (const TPointSpeleo* p : ListePtsCav) noms << Q(p->DesignPTopo);
  ListePoints->addItems(noms);
  ListePoints->setUpdatesEnabled(true);
  connect(ListePoints, &QListWidget::currentRowChanged, this, [this](int) { Selection(); });
  if (!ListePtsCav.empty()) ListePoints->setCurrentRow(0);
}

TPointSpeleo* TChoixRattachDlg::PointSelectionne() const {
  const int r = ListePoints->currentRow();
  return r >= 0 && r < static_cast<int>(ListePtsCav.size()) ? ListePtsCav[static_cast<size_t>(r)] : nullptr;
}

void TChoixRattachDlg::Selection() {
  const TPointSpeleo* p = PointSelectionne();
  LabelGalerie->setText(Q(Msg(IdMsg::AppChoixRattachGalerie) + (p ? survey::NomGalerieDuPoint(p) : std::string())));
  LabelCommentaire->setText(p ? Q(p->Commentaire.Texte()) : QString());
}

TPointSpeleo* TChoixRattachDlg::Execute() {
  if (ListePtsCav.empty()) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning, Msg(IdMsg::AppChoixRattachAucun));
    return nullptr;
  }
  if (exec() != QDialog::Accepted) return nullptr;
  PointChoisi = PointSelectionne();
  return PointChoisi;
}

// --- Surface-point choice ------------------------------------------------------------------------

TChoixPtSurfaceDlg::TChoixPtSurfaceDlg(survey::TListedePoints& surface, TPointSpeleo* propose, QWidget* parent)
    : QDialog(parent), surface_(surface) {
  setObjectName("ChoixPtSurfaceDlg");
  setWindowTitle(Q(Msg(IdMsg::AppPtSurfaceTitre)));
  auto* haut = new QVBoxLayout(this);
  ListePoints = new QListWidget(this);
  ListePoints->setObjectName("ListePoints");
  haut->addWidget(ListePoints);
  LabelCommentaire = new QLabel(this);
  LabelCommentaire->setObjectName("LabelCommentaire");
  haut->addWidget(LabelCommentaire);
  NouveauBtn = new QPushButton(Q(Msg(IdMsg::AppPtSurfaceNouveau)), this);
  NouveauBtn->setObjectName("NouveauBtn");
  NouveauBtn->setAutoDefault(false);
  QPushButton* ok = nullptr;
  QHBoxLayout* boutons = platform::qt::BoutonsOKAnnuler(this, ok);
  boutons->insertWidget(0, NouveauBtn);
  haut->addLayout(boutons);

  std::vector<std::pair<std::string, TPointSpeleo*>> cles;
  cles.reserve(static_cast<size_t>(surface.Count()));
  for (TPointSpeleo* p : surface) cles.emplace_back(foundation::EnMajuscules(p->DesignPTopo), p);
  std::stable_sort(cles.begin(), cles.end(),
                   [](const auto& a, const auto& b) { return foundation::CompareNomsPoints(a.first, b.first) < 0; });
  QStringList noms;
  for (const auto& [cle, p] : cles) {
    points_.push_back(p);
    noms << Q(p->DesignPTopo);
  }
  ListePoints->addItems(noms);
  connect(ListePoints, &QListWidget::currentRowChanged, this, [this](int) {
    const TPointSpeleo* p = PointSelectionne();
    LabelCommentaire->setText(p ? Q(p->Commentaire.Texte()) : QString());
  });
  const auto it = std::find(points_.begin(), points_.end(), propose);
  ListePoints->setCurrentRow(propose && it != points_.end() ? static_cast<int>(it - points_.begin())
                                                            : static_cast<int>(points_.size()) - 1);
  connect(NouveauBtn, &QPushButton::clicked, this, [this] { NouveauPointClick(); });
  connect(this, &QDialog::accepted, this, [this] {
    if (!PointChoisi) PointChoisi = PointSelectionne();
  });
}

TPointSpeleo* TChoixPtSurfaceDlg::PointSelectionne() const {
  const int r = ListePoints->currentRow();
  return r >= 0 && r < static_cast<int>(points_.size()) ? points_[static_cast<size_t>(r)] : nullptr;
}

void TChoixPtSurfaceDlg::NouveauPointClick() {
  TPointSpeleo* p = survey::TPointsSurface(surface_).AjoutePoint();
  if (!p) return;
  PointChoisi = p;
  accept();
}

TPointSpeleo* ChoisitPointSurface(QWidget* owner, survey::TCavite& cavite, TPointSpeleo* propose) {
  survey::TListedePoints* surface = cavite.PointsSurfaceReseau();
  if (!surface) return nullptr;
  const int avant = surface->Count();
  TPointSpeleo* choisi = nullptr;
  if (avant == 0) {
    choisi = survey::TPointsSurface(*surface).AjoutePoint();
  } else {
    TChoixPtSurfaceDlg dlg(*surface, propose, owner);
    if (dlg.exec() == QDialog::Accepted) choisi = dlg.PointChoisi;
  }
  if (surface->Count() > avant && cavite.CavitesReseau && cavite.CavitesReseau->Count() > 0)
    cavite.CavitesReseau->First()->ReGenereListePoints(false);
  return choisi;
}

// --- Continuation observations ---------------------------------------------------------------------

TSaisieSuiteEtObsDlg::TSaisieSuiteEtObsDlg(const survey::TLever* vLever, QWidget* parent) : QDialog(parent) {
  setObjectName("SaisieSuiteEtObsDlg");
  setWindowTitle(Q(Msg(IdMsg::AppObsTitre)));
  auto* haut = new QVBoxLayout(this);
  auto* f = new QFormLayout;
  TypeSuiteBox = new QComboBox(this);
  TypeSuiteBox->setObjectName("TypeSuiteBox");
  for (int i = 0; i < survey::NombreSuitesPossibles; ++i)
    TypeSuiteBox->addItem(Q(survey::TexteSuitePossible(static_cast<survey::TSuitePossible>(i))));
  TypeSuiteBox->setCurrentIndex(0);
  f->addRow(Q(Msg(IdMsg::AppObsTypeSuite)), TypeSuiteBox);
  EtatBox = new QComboBox(this);
  EtatBox->setObjectName("EtatBox");
  for (int i = 0; i < survey::NombreEtatsSuite; ++i)
    EtatBox->addItem(Q(survey::TexteEtatSuite(static_cast<survey::TEtatSuite>(i))));
  EtatBox->setCurrentIndex(0);
  f->addRow(Q(Msg(IdMsg::AppObsEtat)), EtatBox);
  haut->addLayout(f);
  CadreDate = new TCadreSaisieDate(this);
  CadreDate->setObjectName("CadreDate");
  haut->addWidget(CadreDate);
  CadreOpe = new TCadreSaisieOpe(this, ModeOperateurs::Observation);
  CadreOpe->setObjectName("CadreOpe");
  CadreOpe->Initialise();
  CadreOpe->FixeDesignPersonne(Msg(IdMsg::AppSuitesObservateurs));
  haut->addWidget(CadreOpe);
  MemoCommentaires = new QPlainTextEdit(this);
  MemoCommentaires->setObjectName("MemoCommentaires");
  haut->addWidget(MemoCommentaires);
  QPushButton* ok = nullptr;
  haut->addLayout(platform::qt::BoutonsOKAnnuler(this, ok));
  if (survey::Document().RectifEnCours || !vLever || vLever == survey::LeverParDefaut()) {
    CadreDate->FixeDateSaisie(foundation::Aujourdhui());
  } else {
    CadreDate->FixeDateSaisie(vLever->LaDate);
    CadreOpe->InitRectif(vLever->Operateurs);
  }
}

survey::TSuitePossible TSaisieSuiteEtObsDlg::Suite() const {
  return static_cast<survey::TSuitePossible>(std::max(TypeSuiteBox->currentIndex(), 0));
}

void TSaisieSuiteEtObsDlg::InitRectif() {
  if (!UneObs) return;
  CadreDate->FixeDateSaisie(UneObs->LaDate);
  CadreOpe->InitRectif(UneObs->Observateurs);
  EtatBox->setCurrentIndex(static_cast<int>(UneObs->Observation.EtatSuite));
  MemoCommentaires->setPlainText(Q(Lignes(UneObs->Commentaires, "\n")).chopped(
      UneObs->Commentaires.empty() ? 0 : 1));
}

void TSaisieSuiteEtObsDlg::Transfere() {
  if (!UneObs) return;
  UneObs->LaDate = CadreDate->DateSaisie();
  CadreOpe->TransfereListe(UneObs->Observateurs);
  UneObs->Observation.EtatSuite = static_cast<survey::TEtatSuite>(std::max(EtatBox->currentIndex(), 0));
  UneObs->Commentaires.clear();
  const QString memo = MemoCommentaires->toPlainText();
  if (!memo.isEmpty())
    for (const QString& l : memo.split('\n')) UneObs->Commentaires.push_back(l.toStdString());
}

TListeSuiteObsDlg::TListeSuiteObsDlg(const survey::TLever* vLever, survey::TSuiteObs& vSuiteObs, TPointSpeleo* UnPoint,
                                     bool visuSeul, QWidget* parent)
    : QDialog(parent), VisuSeul(visuSeul), SuiteObsOrig(vSuiteObs), PointTmp(UnPoint),
      LeverSaisie(vLever ? vLever : survey::LeverParDefaut()) {
  setObjectName("ListeSuiteObsDlg");
  vSuiteObs.CopieListeObs(SuiteObs);
  auto* haut = new QVBoxLayout(this);
  auto* f = new QFormLayout;
  NatureBox = new QComboBox(this);
  NatureBox->setObjectName("NatureBox");
  for (int i = 0; i < survey::NombreSuitesPossibles; ++i)
    NatureBox->addItem(Q(survey::TexteSuitePossible(static_cast<survey::TSuitePossible>(i))));
  NatureBox->setCurrentIndex(0);
  f->addRow(Q(Msg(IdMsg::AppSuitesNature)), NatureBox);
  haut->addLayout(f);
  ListeObs = new QTreeWidget(this);
  ListeObs->setObjectName("ListeObs");
  ListeObs->setRootIsDecorated(false);
  ListeObs->setHeaderLabels({Q(Msg(IdMsg::AppSuitesDate)), Q(Msg(IdMsg::AppSuitesEtat)),
                             Q(Msg(IdMsg::AppSuitesObservateurs)), Q(Msg(IdMsg::AppSuitesCommentaires))});
  haut->addWidget(ListeObs);
  LabelCommentaires = new QLabel(this);
  LabelCommentaires->setObjectName("LabelCommentaires");
  LabelCommentaires->setWordWrap(true);
  haut->addWidget(LabelCommentaires);
  haut->addLayout(platform::qt::BoutonsOKAnnuler(this, OKBtn));

  if (VisuSeul) NomGal = survey::NomGalerieDuPoint(PointTmp);
  else NomGal = survey::Document().NomGalerieCourante;
  if (NomGal.empty()) NomGal = survey::NomGalerieDuPoint(PointTmp);
  setWindowTitle(Q(Msg(VisuSeul ? IdMsg::AppSuitesVisualisation : IdMsg::AppSuitesSaisie) +
                   Msg(IdMsg::AppSuitesAuPoint) + (PointTmp ? PointTmp->DesignPTopo : std::string()) +
                   Msg(IdMsg::AppSuitesDeLaGalerie) + NomGal));
  if (VisuSeul) {
    OKBtn->hide();
    NatureBox->setEnabled(false);
  } else {
    ListeObs->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ListeObs, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
      QMenu menu(this);
      menu.addAction(Q(Msg(IdMsg::AppSuitesAjouter)), this, [this] { AjouteLigne(); });
      if (ListeObs->currentItem())
        menu.addAction(Q(Msg(IdMsg::AppSuitesSupprimer)), this, [this] { SupprimeLigne(); });
      menu.exec(ListeObs->viewport()->mapToGlobal(pos));
    });
    connect(ListeObs, &QTreeWidget::itemDoubleClicked, this, [this] { EditeLigne(); });
  }
  connect(NatureBox, &QComboBox::activated, this,
          [this](int i) { SuiteObs.SuitePossible = static_cast<survey::TSuitePossible>(std::max(i, 0)); });
  connect(ListeObs, &QTreeWidget::currentItemChanged, this, [this] { MontreCommentaires(); });
  ListeObs->installEventFilter(this);
  ListeObs->viewport()->installEventFilter(this);
  Nouveau = SuiteObs.Count() == 0;
  ExecuteObservation = [](TSaisieSuiteEtObsDlg& d) { return d.exec() == QDialog::Accepted; };
  Affiche();
}

bool TListeSuiteObsDlg::eventFilter(QObject* objet, QEvent* evenement) {
  const bool entree = objet == ListeObs && evenement->type() == QEvent::FocusIn;
  const bool clic = objet == ListeObs->viewport() && evenement->type() == QEvent::MouseButtonPress;
  if ((entree || clic) && !ListeObs->currentItem() && ListeObs->topLevelItemCount() > 0)
    ListeObs->setCurrentItem(ListeObs->topLevelItem(ListeObs->topLevelItemCount() - 1));
  return QDialog::eventFilter(objet, evenement);
}

void TListeSuiteObsDlg::Demarre() {
  if (Nouveau && !VisuSeul) AjouteLigne();
}

void TListeSuiteObsDlg::Affiche() {
  // Earlier first, equal dates in their order (insertion sort).
  for (int i = 1; i < SuiteObs.Count(); ++i) {
    const foundation::TDateTime d = SuiteObs.UnTypeDObs(i)->LaDate;
    int j = i;
    while (j > 0 && SuiteObs.UnTypeDObs(j - 1)->LaDate > d) --j;
    if (j != i) SuiteObs.Move(i, j);
  }
  ListeObs->clear();
  QTreeWidgetItem* courant = nullptr;
  for (int i = 0; i < SuiteObs.Count(); ++i) {
    survey::TTypeDObs* o = SuiteObs.UnTypeDObs(i);
    std::string observateurs;
    for (const survey::TOperateur* op : o->Observateurs)
      if (op) observateurs += op->DesignOpe + " ";
    const std::string date =
        o->LaDate == foundation::DateNonRenseignee ? Msg(IdMsg::AppSuitesNonRenseignee) : foundation::DateEnTexte(o->LaDate);
    auto* item = new QTreeWidgetItem(ListeObs, {Q(date), Q(survey::TexteEtatSuite(o->Observation.EtatSuite)),
                                                Q(observateurs), Q(Lignes(o->Commentaires, " "))});
    if (o == NouvelleObs) courant = item;
  }
  if (courant) ListeObs->setCurrentItem(courant);
  NatureBox->setCurrentIndex(static_cast<int>(SuiteObs.SuitePossible));
  ListeObs->setFocus();
}

void TListeSuiteObsDlg::MontreCommentaires() {
  const int r = ListeObs->currentItem() ? ListeObs->indexOfTopLevelItem(ListeObs->currentItem()) : -1;
  const survey::TTypeDObs* o = SuiteObs.UnTypeDObs(r);
  LabelCommentaires->setText(o ? Q(Lignes(o->Commentaires, "\n")).trimmed() : QString());
}

bool TListeSuiteObsDlg::EditeObservation(survey::TTypeDObs& obs, bool nouvelle) {
  TSaisieSuiteEtObsDlg dlg(LeverSaisie, this);
  dlg.UneObs = &obs;
  if (!Nouveau) {
    dlg.TypeSuiteBox->setCurrentIndex(static_cast<int>(SuiteObs.SuitePossible));
    dlg.TypeSuiteBox->setEnabled(false);
    dlg.TypeSuiteBox->setStyleSheet("background-color: #C0C0C0;");
  }
  if (!nouvelle) dlg.InitRectif();
  if (!ExecuteObservation(dlg)) return false;
  dlg.Transfere();
  if (Nouveau) SuiteObs.SuitePossible = dlg.Suite();
  Nouveau = false;
  return true;
}

void TListeSuiteObsDlg::AjouteLigne() {
  auto obs = std::make_unique<survey::TTypeDObs>();
  if (!EditeObservation(*obs, true)) {
    if (SuiteObs.Count() == 0) {
      Termine = true;
      reject();
    }
    return;
  }
  NouvelleObs = SuiteObs.Add(std::move(obs));
  Affiche();
}

void TListeSuiteObsDlg::EditeLigne() {
  if (VisuSeul || !ListeObs->currentItem()) return;
  survey::TTypeDObs* o = SuiteObs.UnTypeDObs(ListeObs->indexOfTopLevelItem(ListeObs->currentItem()));
  if (!o) return;
  // An edit changes the observation in place and appends nothing.
  if (EditeObservation(*o, false)) {
    NouvelleObs = o;
    Affiche();
  }
}

void TListeSuiteObsDlg::SupprimeLigne() {
  if (!ListeObs->currentItem()) return;
  const int r = ListeObs->indexOfTopLevelItem(ListeObs->currentItem());
  if (platform::Dialogs::Current().AskYesNo(Msg(IdMsg::AppSuitesConfirmeSuppr)) != platform::Answer::Yes) return;
  SuiteObs.Delete(r);
  NouvelleObs = SuiteObs.UnTypeDObs(std::max(r - 1, 0));
  if (SuiteObs.Count() == 0) {
    accept();
    return;
  }
  Affiche();
}

void TListeSuiteObsDlg::accept() {
  SuiteObs.CopieListeObs(SuiteObsOrig);
  QDialog::accept();
}

bool EditeSuites(QWidget* owner, const survey::TLever* lever, TPointSpeleo& point) {
  TListeSuiteObsDlg dlg(lever, point.SuiteObs, &point, false, owner);
  dlg.Demarre();
  if (dlg.Termine) return false;
  return dlg.exec() == QDialog::Accepted;
}

// --- Installation -----------------------------------------------------------------------------------

void InstalleDialoguesPoints() {
  survey::PortsSurvey& ports = survey::Ports();
  ports.DialogueCoordonnees = [](TPointSpeleo& p, const std::string& titre) {
    TCoordDlg dlg(QApplication::activeWindow());
    if (!titre.empty()) dlg.setWindowTitle(Q(titre));
    if (survey::Document().RectifEnCours || !p.DesignPTopo.empty()) dlg.InitRectif(p);
    return dlg.Execute(p);
  };
  ports.DialogueSuiteGalerie = [](const survey::TDemandeSuiteGalerie& d) -> std::optional<int> {
    TRattachDialog dlg(QApplication::activeWindow());
    bool& rectif = survey::Document().RectifEnCours;
    const bool avant = rectif;
    rectif = d.Rectification;
    dlg.Init(d.NomGalerie, std::string(), d.Points);
    rectif = avant;
    dlg.setWindowTitle(Q(d.Titre));
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.Choix();
  };
  ports.VoirSuites = [](TPointSpeleo& p) {
    TListeSuiteObsDlg dlg(nullptr, p.SuiteObs, &p, true, QApplication::activeWindow());
    dlg.exec();
  };
  ports.ChoisitPointSurface = [](survey::TCavite& c, TPointSpeleo* propose) {
    return ChoisitPointSurface(QApplication::activeWindow(), c, propose);
  };
  ports.ChoisitPointRattachement = [](const survey::TDemandeRattachement& d) {
    TChoixRattachDlg dlg(d.Cavite, d.Titre, d.Point, d.PointsSurface, QApplication::activeWindow());
    return dlg.Execute();
  };
}

}  // namespace app
