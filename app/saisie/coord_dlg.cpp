#include "app/saisie/coord_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/commun/contexte_app.h"
#include "app/saisie/lignes_texte.h"
#include "drawing/objet_motif_de_base.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/point_topo.h"
#include "platform/dialogs.h"
#include "platform/qt/boutons_dialogue.h"
#include "platform/qt/conversions_qt.h"
#include "platform/qt/qt_canvas.h"
#include "projections/services.h"
#include "survey/contexte_document.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "views/cadres/cadres_projection.h"

namespace app {

using views::TGroupeRadio;
using views::TCadreProjectionWGS;
using views::TCadreSaisieCoord;

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;
using survey::TPointSpeleo;

namespace {
// Side of the symbol preview, in pixels.
constexpr int TailleVisuSymbole = 48;
}  // namespace

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

}  // namespace app
