#include "views/motifs/cadres_traits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QSpinBox>
#include <QVBoxLayout>

#include "drawing/contexte_dessin.h"
#include "drawing/contexte_motifs.h"
#include "drawing/dessin_ligne.h"
#include "drawing/dessin_point_surface.h"
#include "drawing/objet_trait.h"
#include "drawing/style_canvas.h"
#include "foundation/catalogue.h"
#include "foundation/contexte_impression.h"
#include "foundation/transformation_vue.h"
#include "platform/qt/conversions_qt.h"
#include "platform/qt/qt_canvas.h"
#include "survey/point_speleo.h"
#include "views/motifs/cadre_couleur.h"

namespace views {

using foundation::IdMsg;
using foundation::Impression;
using platform::qt::Q;

namespace {

QString M(IdMsg id) { return Q(foundation::Msg(id)); }

// The dashes offered by the frame: "Continu" to "Tiret Hachuré".
constexpr int NombreStylesCadre = 7;
constexpr int LargeurVisu = 150, HauteurVisu = 30;
constexpr int LargeurVisuPtSurf = 150, HauteurVisuPtSurf = 60;

// The view of the frames' previews: origin (-40, 0) metres, one pixel per
// metre, plan, no page being drawn; everything put back on exit.
class GardeVueApercu {
 public:
  GardeVueApercu() : impression_(Impression().EnImpression, false) {
    auto& v = foundation::Vue();
    v.XDebVue = -40;
    v.YDebVue = 0;
    v.EchelleVue = 1;
  }

 private:
  foundation::GardeTransfo transfo_;
  foundation::GardeTypeDessin type_{foundation::TTypeDeDessin::tddPlani};
  drawing::GardeValeur<bool> impression_;
};

}  // namespace

TCadreTraitsTopo::TCadreTraitsTopo(QWidget* parent)
    : QGroupBox(parent),
      UnTrait(std::make_unique<drawing::TObjetTrait>()),
      CadreCouleur(new TCadreCouleur(this)),
      LabelStyle(new QLabel(M(IdMsg::MotifsStyleDeTrait), this)),
      StyleTraitBox(new QComboBox(this)),
      EpaisseurUD(new QSpinBox(this)),
      VisuTrait(new QLabel(this)),
      LigneControles(new QHBoxLayout) {
  CadreCouleur->setObjectName(QStringLiteral("CadreCouleur"));
  StyleTraitBox->setObjectName(QStringLiteral("StyleTraitBox"));
  EpaisseurUD->setObjectName(QStringLiteral("EpaisseurUD"));
  VisuTrait->setObjectName(QStringLiteral("VisuTrait"));
  for (int i = 0; i < NombreStylesCadre; ++i)
    StyleTraitBox->addItem(Q(drawing::NomMesPenStyle(static_cast<drawing::MesPenStyle>(i))));
  EpaisseurUD->setRange(1, 99);
  VisuTrait->setFixedSize(LargeurVisu, HauteurVisu);
  VisuTrait->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  VisuTrait->setLineWidth(0);
  auto* v = new QVBoxLayout(this);
  LigneControles->addWidget(new QLabel(M(IdMsg::MotifsCouleur), this));
  LigneControles->addWidget(CadreCouleur);
  LigneControles->addWidget(LabelStyle);
  LigneControles->addWidget(StyleTraitBox);
  LigneControles->addWidget(new QLabel(M(IdMsg::MotifsEpaisseur), this));
  LigneControles->addWidget(EpaisseurUD);
  LigneControles->addStretch(1);
  v->addLayout(LigneControles);
  v->addWidget(VisuTrait);
  connect(CadreCouleur, &TCadreCouleur::CouleurChangee, this, &TCadreTraitsTopo::Transfere);
  connect(StyleTraitBox, &QComboBox::currentIndexChanged, this, &TCadreTraitsTopo::Transfere);
  connect(EpaisseurUD, &QSpinBox::valueChanged, this, &TCadreTraitsTopo::Transfere);
}

TCadreTraitsTopo::~TCadreTraitsTopo() = default;

void TCadreTraitsTopo::Init(const drawing::TDefObjetTrait& style, const QString& titre) {
  UnTrait->SetValeurTrait(style.GetValeurTrait());
  setTitle(titre);
  initCtrls_ = true;
  CadreCouleur->FixeCouleur(UnTrait->CouleurPlume);
  const int s = static_cast<int>(UnTrait->StylePlume);
  // A dash the frame does not offer shows nothing and is kept.
  StyleTraitBox->setCurrentIndex(s < NombreStylesCadre ? s : -1);
  EpaisseurUD->setValue(UnTrait->EpaisseurPlume);
  initCtrls_ = false;
  DessineVisu();
}

bool TCadreTraitsTopo::EgalTrait(const drawing::TDefObjetTrait& style) const {
  return style.CouleurPlume == UnTrait->CouleurPlume && style.StylePlume == UnTrait->StylePlume &&
         style.EpaisseurPlume == UnTrait->EpaisseurPlume;
}

void TCadreTraitsTopo::Transfere() {
  if (initCtrls_) return;
  UnTrait->CouleurPlume = CadreCouleur->Couleur();
  if (StyleTraitBox->currentIndex() >= 0)
    UnTrait->StylePlume = static_cast<drawing::MesPenStyle>(StyleTraitBox->currentIndex());
  UnTrait->EpaisseurPlume = EpaisseurUD->value();
  DessineVisu();
  emit TraitChange();
}

void TCadreTraitsTopo::DessineVisu() {
  platform::QtCanvas canvas(LargeurVisu, HauteurVisu);
  {
    GardeVueApercu vue;
    drawing::TDessinLigne ligne(UnTrait.get());
    for (const foundation::TPoint& p : {foundation::TPoint{-50, 10}, {20, 20}, {100, 0}})
      ligne.AjoutePointLoc(p.X * foundation::FacteurDessin, -p.Y * foundation::FacteurDessin);
    ligne.DessineVisuMotif(canvas, UnTrait.get());
  }
  VisuTrait->setPixmap(QPixmap::fromImage(canvas.Image()));
}

TCadreDefPtSurf::TCadreDefPtSurf(QWidget* parent)
    : TCadreTraitsTopo(parent), CercleBox(new QCheckBox(M(IdMsg::MotifsCercle), this)), UpDown2(new QSpinBox(this)) {
  CercleBox->setObjectName(QStringLiteral("CercleBox"));
  UpDown2->setObjectName(QStringLiteral("UpDown2"));
  UpDown2->setRange(1, 10);
  LabelStyle->hide();
  StyleTraitBox->hide();
  const int fin = LigneControles->count() - 1;  // before the stretch
  LigneControles->insertWidget(fin, CercleBox);
  LigneControles->insertWidget(fin + 1, new QLabel(M(IdMsg::MotifsTailleLibelle), this));
  LigneControles->insertWidget(fin + 2, UpDown2);
  VisuTrait->setFixedSize(LargeurVisuPtSurf, HauteurVisuPtSurf);
  connect(CercleBox, &QCheckBox::toggled, this, [this] { Transfere(); });
  connect(UpDown2, &QSpinBox::valueChanged, this, [this] { Transfere(); });
}

void TCadreDefPtSurf::FixeOptions(bool cercle, int32_t taille) {
  initCtrls_ = true;
  CercleBox->setChecked(cercle);
  UpDown2->setValue(taille);
  initCtrls_ = false;
  DessineVisu();
}

void TCadreDefPtSurf::DessineVisu() {
  platform::QtCanvas canvas(LargeurVisuPtSurf, HauteurVisuPtSurf);
  {
    GardeVueApercu vue;
    auto& v = foundation::Vue();
    v.Xmin = v.Ymin = v.SLmin = v.Zmin = 0;
    v.EchelleFontes = 10000;
    drawing::ContexteMotifs& motifs = drawing::Motifs();
    drawing::GardeValeur<bool> cercle(motifs.TracerCercle, CercleBox->isChecked());
    drawing::GardeValeur<int32_t> taille(motifs.TailleDesign, UpDown2->value());
    drawing::GardeAffichage affichage;
    drawing::Affichage().ToutDessiner = true;
    drawing::Affichage().ObjetsAffichablesCourants[drawing::TypeObjetDessin::odNumSurf] = true;

    survey::TPointSpeleo point;
    point.DesignPTopo = foundation::Msg(IdMsg::MotifsPointTest);
    point.X = point.Slh = EpaisseurUD->value() - 20;
    point.Y = point.ZCalc = -30;
    drawing::TDessinPointSurface dessin(&point);
    dessin.ObjetMotif = UnTrait.get();
    dessin.CalculPointsVue();
    drawing::GardeStyleCanvas style(canvas);
    drawing::AppliqueTrait(canvas, UnTrait.get());
    dessin.DessineCetObjet(canvas);
  }
  VisuTrait->setPixmap(QPixmap::fromImage(canvas.Image()));
}

}  // namespace views
