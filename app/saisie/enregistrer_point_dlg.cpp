#include "app/saisie/enregistrer_point_dlg.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "app/commun/contexte_app.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "survey/contexte_document.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The document a name was recorded in: its network and its path.
std::string IdentiteDocument() {
  const survey::ContexteDocument& d = survey::Document();
  return std::to_string(reinterpret_cast<uintptr_t>(d.ReseauCourant)) + "|" + d.NomFichierCourant;
}

}  // namespace

TDlgEnregistrerPoint::TDlgEnregistrerPoint(FenetrePlanPoints& fenetre, const foundation::TPointTopo& vPt,
                                           QWidget* parent)
    : QDialog(parent), fenetre_(fenetre), UnPt(vPt) {
  setObjectName("DlgEnregistrerPoint");
  setWindowTitle(Q(Msg(IdMsg::AppEnregPointTitre)));
  auto* haut = new QVBoxLayout(this);
  auto* f = new QFormLayout;
  auto champ = [this](const char* nom) {
    auto* e = new QLineEdit(this);
    e->setObjectName(nom);
    return e;
  };
  EditNom = champ("EditNom");
  EditX = champ("EditX");
  EditY = champ("EditY");
  EditZ = champ("EditZ");
  EditX->setReadOnly(true);
  EditY->setReadOnly(true);
  f->addRow(Q(Msg(IdMsg::AppCoordDesignation)), EditNom);
  f->addRow("X : ", EditX);
  f->addRow("Y : ", EditY);
  f->addRow("Z : ", EditZ);
  haut->addLayout(f);
  auto* boutons = new QHBoxLayout;
  RajouteBtn = new QPushButton(Q(Msg(IdMsg::AppEnregPointRajouter)), this);
  RajouteBtn->setObjectName("RajouteBtn");
  auto* fermer = new QPushButton(Q(Msg(IdMsg::AppCfgAnnuler)), this);
  fermer->setObjectName("AnnulerBtn");
  boutons->addWidget(RajouteBtn);
  boutons->addStretch();
  boutons->addWidget(fermer);
  haut->addLayout(boutons);
  connect(RajouteBtn, &QPushButton::clicked, this, [this] { RajouteClick(); });
  connect(fermer, &QPushButton::clicked, this, &QDialog::reject);

  // The name proposed: the next one after the last recorded in this
  // document, else one more than the number of surface points.
  const MemoireCoordonnees& m = ContexteApp().Coordonnees;
  const survey::TReseau* reseau = survey::Document().ReseauCourant;
  const survey::TListedePoints* surface = reseau ? reseau->LesPointsSurface() : nullptr;
  if (!m.DernierPointEnregistre.empty() && m.DocumentDernierPoint == IdentiteDocument())
    EditNom->setText(Q(foundation::IncrementeNom(m.DernierPointEnregistre, true)));
  else
    EditNom->setText(Q(Msg(IdMsg::AppEnregPointPrefixe) + " " + std::to_string((surface ? surface->Count() : 0) + 1)));
  auto texte = [](double v) { return QString::fromStdString(foundation::ReelEnStrFixe(v, 20, 1)).trimmed(); };
  EditX->setText(texte(UnPt.X));
  EditY->setText(texte(UnPt.Y));

  coucheCachee_ = !fenetre_.CouchePointsVisible();
  if (coucheCachee_) fenetre_.MontreCouchePoints(true);
  marque_ = fenetre_.AjouteMarque(UnPt);
  fenetre_.Redessine();
  const QPoint ecran = fenetre_.PositionEcran(UnPt);
  adjustSize();
  int gauche = ecran.x() - width() + 60, dessus = ecran.y() - height() + 70;
  if (gauche < 50) gauche = ecran.x() + 100;
  if (dessus < 50) dessus = ecran.y() + 100;
  move(gauche, dessus);
}

TDlgEnregistrerPoint::~TDlgEnregistrerPoint() {
  if (coucheCachee_) fenetre_.MontreCouchePoints(false);
  // Only its own marker: what was added to the layer meanwhile stays.
  if (marque_ >= 0) fenetre_.RetireMarque(marque_);
  fenetre_.Redessine();
}

void TDlgEnregistrerPoint::RajouteClick() {
  survey::TReseau* reseau = survey::Document().ReseauCourant;
  survey::TListedePoints* surface = reseau ? reseau->LesPointsSurface() : nullptr;
  if (!surface) return;
  auto p = std::make_unique<survey::TPointSpeleo>();
  p->TypePoint = survey::PointSurface;
  p->DesignPTopo = EditNom->text().toStdString();
  p->X = UnPt.X;
  p->Y = UnPt.Y;
  double z = 0;
  const std::string tz = EditZ->text().remove(' ').toStdString();
  if (!tz.empty() && foundation::LitReel(tz, z)) p->Z = z;
  MemoireCoordonnees& m = ContexteApp().Coordonnees;
  m.DernierPointEnregistre = p->DesignPTopo;
  m.DocumentDernierPoint = IdentiteDocument();
  surface->Add(std::move(p));
  survey::Document().DocumentModifie = true;
  RajouteBtn->setEnabled(false);
  SurfAjoute = true;
  accept();
}

}  // namespace app
