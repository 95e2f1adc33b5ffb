#include "app/cadres_config.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

#include "foundation/catalogue.h"
#include "platform/qt/conversions_qt.h"

namespace app {

using platform::qt::CouleurQt;
using platform::qt::CouleurWindows;

namespace {

QString M(foundation::IdMsg id) { return QString::fromStdString(foundation::Msg(id)); }

Qt::PenStyle StyleQt(int32_t s) {
  switch (s) {
    case 1: return Qt::DashLine;
    case 2: return Qt::DotLine;
    case 3: return Qt::DashDotLine;
    default: return Qt::SolidLine;
  }
}

// The preview of a line style.
class Apercu : public QWidget {
 public:
  explicit Apercu(const StyleTopo& style, QWidget* parent) : QWidget(parent), style_(style) {
    setMinimumSize(60, 16);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    QPen pen(CouleurQt(style_.CouleurPlume));
    pen.setStyle(StyleQt(style_.StylePlume));
    pen.setWidth(std::max(1, style_.EpaisseurPlume));
    p.setPen(pen);
    p.drawLine(4, height() / 2, width() - 4, height() / 2);
  }

 private:
  const StyleTopo& style_;
};

}  // namespace

TCadreCouleur::TCadreCouleur(QWidget* parent) : QFrame(parent), bouton_(new QToolButton(this)) {
  auto* l = new QHBoxLayout(this);
  l->setContentsMargins(0, 0, 0, 0);
  bouton_->setObjectName(QStringLiteral("BoutonCouleur"));
  bouton_->setText(M(foundation::IdMsg::AppCfgCouleur));
  bouton_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  l->addWidget(bouton_);
  connect(bouton_, &QToolButton::clicked, this, &TCadreCouleur::ChoisitCouleur);
  FixeCouleur(0);
}

void TCadreCouleur::FixeCouleur(uint32_t couleur) {
  couleur_ = couleur & 0xFFFFFF;
  QPixmap pix(16, 16);
  pix.fill(CouleurQt(couleur_));
  bouton_->setIcon(QIcon(pix));
}

void TCadreCouleur::ChoisitCouleur() {
  const QColor c = QColorDialog::getColor(CouleurQt(couleur_), this);
  if (!c.isValid()) return;
  FixeCouleur(CouleurWindows(c));
  emit CouleurChangee();
}

TCadreTraitsTopo::TCadreTraitsTopo(QWidget* parent)
    : QFrame(parent),
      titre_(new QLabel(this)),
      couleur_(new TCadreCouleur(this)),
      stylePlume_(new QComboBox(this)),
      epaisseur_(new QSpinBox(this)),
      apercu_(new Apercu(style_, this)) {
  setFrameShape(QFrame::StyledPanel);
  stylePlume_->setObjectName(QStringLiteral("StylePlume"));
  epaisseur_->setObjectName(QStringLiteral("EpaisseurPlume"));
  for (auto id : {foundation::IdMsg::AppStyleContinu, foundation::IdMsg::AppStyleTirets,
                  foundation::IdMsg::AppStylePointille, foundation::IdMsg::AppStyleTiretPoint})
    stylePlume_->addItem(M(id));
  epaisseur_->setRange(1, 20);
  auto* v = new QVBoxLayout(this);
  v->addWidget(titre_);
  auto* h = new QHBoxLayout;
  h->addWidget(couleur_);
  h->addWidget(new QLabel(M(foundation::IdMsg::AppCfgStyle), this));
  h->addWidget(stylePlume_);
  h->addWidget(new QLabel(M(foundation::IdMsg::AppCfgEpaisseur), this));
  h->addWidget(epaisseur_);
  h->addStretch(1);
  v->addLayout(h);
  v->addWidget(apercu_);
  connect(couleur_, &TCadreCouleur::CouleurChangee, this, [this] {
    style_.CouleurPlume = couleur_->Couleur();
    MajApercu();
  });
  connect(stylePlume_, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (i >= 0) style_.StylePlume = i;
    MajApercu();
  });
  connect(epaisseur_, &QSpinBox::valueChanged, this, [this](int e) {
    style_.EpaisseurPlume = e;
    MajApercu();
  });
}

void TCadreTraitsTopo::Init(const StyleTopo& style, const QString& titre) {
  titre_->setText(titre);
  const StyleTopo s = style;
  couleur_->FixeCouleur(s.CouleurPlume);
  // A stored style beyond the four offered here stays as it is.
  stylePlume_->setCurrentIndex(s.StylePlume >= 0 && s.StylePlume < stylePlume_->count() ? s.StylePlume : -1);
  epaisseur_->setValue(s.EpaisseurPlume);
  style_ = s;
  MajApercu();
}

StyleTopo TCadreTraitsTopo::Valeur() const { return style_; }

void TCadreTraitsTopo::MajApercu() { apercu_->update(); }

TCadreDefPtSurf::TCadreDefPtSurf(QWidget* parent)
    : QFrame(parent),
      titre_(new QLabel(this)),
      couleur_(new TCadreCouleur(this)),
      epaisseur_(new QSpinBox(this)),
      cercle_(new QCheckBox(M(foundation::IdMsg::AppCfgCercle), this)),
      taille_(new QSpinBox(this)) {
  setFrameShape(QFrame::StyledPanel);
  cercle_->setObjectName(QStringLiteral("CercleChk"));
  taille_->setObjectName(QStringLiteral("TailleDesign"));
  epaisseur_->setObjectName(QStringLiteral("EpaisseurPlume"));
  epaisseur_->setRange(1, 20);
  taille_->setRange(1, 10);
  auto* v = new QVBoxLayout(this);
  v->addWidget(titre_);
  auto* h = new QHBoxLayout;
  h->addWidget(couleur_);
  h->addWidget(new QLabel(M(foundation::IdMsg::AppCfgEpaisseur), this));
  h->addWidget(epaisseur_);
  h->addWidget(cercle_);
  h->addWidget(new QLabel(M(foundation::IdMsg::AppCfgTailleNoms), this));
  h->addWidget(taille_);
  h->addStretch(1);
  v->addLayout(h);
}

void TCadreDefPtSurf::Init(const StylePointsSurface& style, const QString& titre) {
  style_ = style;
  titre_->setText(titre);
  couleur_->FixeCouleur(style.Trait.CouleurPlume);
  epaisseur_->setValue(style.Trait.EpaisseurPlume);
  cercle_->setChecked(style.TracerCercle);
  taille_->setValue(style.TailleDesign);
}

StylePointsSurface TCadreDefPtSurf::Valeur() const {
  StylePointsSurface s = style_;
  s.Trait.CouleurPlume = couleur_->Couleur();
  s.Trait.EpaisseurPlume = epaisseur_->value();
  s.TracerCercle = cercle_->isChecked();
  s.TailleDesign = taille_->value();
  return s;
}

}  // namespace app
