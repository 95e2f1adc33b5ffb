#include "app/document/config_gene_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include "drawing/objet_trait.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "survey/dossiers.h"
#include "survey/ports_survey.h"
#include "views/motifs/cadre_couleur.h"
#include "views/motifs/cadres_traits.h"

namespace app {
namespace {

using foundation::IdMsg;
using views::TCadreCouleur;
using views::TCadreDefPtSurf;
using views::TCadreTraitsTopo;
QString M(IdMsg id) { return QString::fromStdString(foundation::Msg(id)); }

// The frames edit a drawing style; the settings keep its pen colour, dash
// and width.  A dash number that no style has reads as solid.
void FixeTrait(drawing::TDefObjetTrait& t, const StyleTopo& s) {
  t.CouleurPlume = s.CouleurPlume;
  t.StylePlume = s.StylePlume >= 0 && s.StylePlume < drawing::NombreMesPenStyle
                     ? static_cast<drawing::MesPenStyle>(s.StylePlume)
                     : drawing::MesPenStyle::mpsSolid;
  t.EpaisseurPlume = s.EpaisseurPlume;
  t.CouleurPinceau = s.CouleurPinceau;
  t.CouleurFonte = s.CouleurFonte;
  t.NumMotif = static_cast<int16_t>(s.NumMotif);
}

void ChargeCadre(TCadreTraitsTopo& cadre, const StyleTopo& s, const QString& titre) {
  drawing::TObjetTrait t;
  FixeTrait(t, s);
  cadre.Init(t, titre);
}

// The frame's style; a frame left as it was loaded keeps the stored values
// as they were.
StyleTopo LitCadre(const TCadreTraitsTopo& cadre, const StyleTopo& s) {
  drawing::TObjetTrait t;
  FixeTrait(t, s);
  if (cadre.EgalTrait(t)) return s;
  StyleTopo r = s;
  r.CouleurPlume = cadre.UnTrait->CouleurPlume;
  r.StylePlume = static_cast<int32_t>(cadre.UnTrait->StylePlume);
  r.EpaisseurPlume = cadre.UnTrait->EpaisseurPlume;
  return r;
}

}  // namespace

TConfigGeneDlg::TConfigGeneDlg(QWidget* parent)
    : QDialog(parent),
      topoFil_(new QCheckBox(M(IdMsg::AppCfgTopofil), this)),
      editFichierMtf_(new QLineEdit(this)),
      aucunFichier_(new QPushButton(M(IdMsg::AppCfgAucunFichier), this)),
      cadreAxe_(new TCadreTraitsTopo(this)),
      cadreViseeAnnexe_(new TCadreTraitsTopo(this)),
      cadreEnvelgal_(new TCadreTraitsTopo(this)),
      cadreDefPtSurf_(new TCadreDefPtSurf(this)),
      pourTous_(new QCheckBox(M(IdMsg::AppCfgPourTous), this)),
      couleurFiligr_(new TCadreCouleur(this)),
      continentBox_(new QComboBox(this)),
      udDeci_(new QSpinBox(this)),
      molette_(new QButtonGroup(this)),
      decliAuto_(new QCheckBox(M(IdMsg::AppCfgDecliAuto), this)) {
  setObjectName(QStringLiteral("ConfigGeneDlg"));
  setWindowTitle(M(IdMsg::AppCfgTitre));
  auto* principal = new QVBoxLayout(this);
  principal->setSizeConstraint(QLayout::SetFixedSize);

  // Input order.
  auto* ordre = new QGroupBox(M(IdMsg::AppCfgOrdreSaisie), this);
  auto* ordreLayout = new QHBoxLayout(ordre);
  const IdMsg titres[3] = {IdMsg::AppCfgAzimut, IdMsg::AppCfgPente, IdMsg::AppCfgLongueur};
  const char* noms[3] = {"RdgAzim", "RdgPente", "RdgLong"};
  for (int m = 0; m < 3; ++m) {
    auto* g = new QGroupBox(M(titres[m]), ordre);
    g->setObjectName(QString::fromLatin1(noms[m]));
    auto* gl = new QHBoxLayout(g);
    auto* bg = new QButtonGroup(g);
    for (int p = 0; p < 3; ++p) {
      auto* r = new QRadioButton(QString::number(p + 1), g);
      r->setObjectName(QString::fromLatin1(noms[m]) + QString::number(p));
      bg->addButton(r, p);
      gl->addWidget(r);
    }
    connect(bg, &QButtonGroup::idClicked, this, [this, m](int p) { ResoutOrdreSaisie(m, p); });
    groupesOrdre_[static_cast<size_t>(m)] = g;
    boutonsOrdre_[static_cast<size_t>(m)] = bg;
    ordreLayout->addWidget(g);
  }
  topoFil_->setObjectName(QStringLiteral("TopoFilChk"));
  topoFil_->setToolTip(M(IdMsg::AppCfgTopofilAide));
  ordreLayout->addWidget(topoFil_);
  principal->addWidget(ordre);

  // Default pattern file.
  auto* mtf = new QGroupBox(M(IdMsg::AppCfgFichierMtf), this);
  auto* mtfLayout = new QHBoxLayout(mtf);
  editFichierMtf_->setObjectName(QStringLiteral("EditFichierMtf"));
  editFichierMtf_->setReadOnly(true);
  editFichierMtf_->installEventFilter(this);
  aucunFichier_->setObjectName(QStringLiteral("AucunFichBtn"));
  mtfLayout->addWidget(editFichierMtf_, 1);
  mtfLayout->addWidget(aucunFichier_);
  connect(aucunFichier_, &QPushButton::clicked, this, [this] { AfficheFichierMtf(""); });
  principal->addWidget(mtf);

  // Survey drawing styles.
  auto* trace = new QGroupBox(M(IdMsg::AppCfgTrace), this);
  auto* traceLayout = new QGridLayout(trace);
  cadreAxe_->setObjectName(QStringLiteral("CadreAxe"));
  cadreViseeAnnexe_->setObjectName(QStringLiteral("CadreViseeAnnexe"));
  cadreEnvelgal_->setObjectName(QStringLiteral("CadreEnvelgal"));
  cadreDefPtSurf_->setObjectName(QStringLiteral("CadreDefPtSurf"));
  pourTous_->setObjectName(QStringLiteral("PourTousChk"));
  pourTous_->setToolTip(M(IdMsg::AppCfgPourTousAide));
  traceLayout->addWidget(cadreAxe_, 0, 0);
  traceLayout->addWidget(cadreViseeAnnexe_, 0, 1);
  traceLayout->addWidget(cadreEnvelgal_, 1, 0);
  traceLayout->addWidget(cadreDefPtSurf_, 1, 1);
  traceLayout->addWidget(pourTous_, 2, 1);
  principal->addWidget(trace);

  // Watermark colour, projection lists, decimals.
  auto* ligne = new QHBoxLayout;
  auto* filigrane = new QGroupBox(M(IdMsg::AppCfgFiligrane), this);
  couleurFiligr_->setObjectName(QStringLiteral("CouleurFiligr"));
  (new QHBoxLayout(filigrane))->addWidget(couleurFiligr_);
  ligne->addWidget(filigrane);
  auto* projections = new QGroupBox(M(IdMsg::AppCfgProjections), this);
  continentBox_->setObjectName(QStringLiteral("ContinentBox"));
  (new QHBoxLayout(projections))->addWidget(continentBox_);
  ligne->addWidget(projections);
  auto* decimales = new QGroupBox(M(IdMsg::AppCfgDecimales), this);
  udDeci_->setObjectName(QStringLiteral("UDDeci"));
  udDeci_->setRange(0, 3);
  (new QHBoxLayout(decimales))->addWidget(udDeci_);
  ligne->addWidget(decimales);
  principal->addLayout(ligne);

  // Mouse wheel and declination.
  auto* moletteBox = new QGroupBox(M(IdMsg::AppCfgMolette), this);
  moletteBox->setObjectName(QStringLiteral("MoletteRdg"));
  auto* moletteLayout = new QHBoxLayout(moletteBox);
  int i = 0;
  for (IdMsg id : {IdMsg::AppCfgDirect, IdMsg::AppCfgInverse}) {
    auto* r = new QRadioButton(M(id), moletteBox);
    r->setObjectName(QStringLiteral("MoletteRdg") + QString::number(i));
    molette_->addButton(r, i++);
    moletteLayout->addWidget(r);
  }
  principal->addWidget(moletteBox);
  decliAuto_->setObjectName(QStringLiteral("DecliAutoChk"));
  principal->addWidget(decliAuto_);

  auto* boutons = new QDialogButtonBox(this);
  QPushButton* ok = boutons->addButton(M(IdMsg::AppCfgOK), QDialogButtonBox::AcceptRole);
  QPushButton* annuler = boutons->addButton(M(IdMsg::AppCfgAnnuler), QDialogButtonBox::RejectRole);
  ok->setObjectName(QStringLiteral("OKBtn"));
  annuler->setObjectName(QStringLiteral("AnnulerBtn"));
  ok->setDefault(true);
  connect(boutons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(boutons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  principal->addWidget(boutons);

  Init();
}

void TConfigGeneDlg::Init() {
  const ConfigGenerale& c = Config();
  positions_ = {c.PosAzimut, c.PosPente, c.PosLongueur};
  AfficheOrdre();
  udDeci_->setValue(survey::Affichage().DecimalesCoord);
  decliAuto_->setChecked(c.CalculDecliAuto);
  topoFil_->setChecked(c.SaisieTopofil);
  AfficheFichierMtf(c.FichierMotifsDefaut);
  molette_->button(c.SensMolette ? 1 : 0)->setChecked(true);
  ChargeCadre(*cadreAxe_, c.TraitAxe, M(IdMsg::AppCfgAxe));
  ChargeCadre(*cadreViseeAnnexe_, c.TraitViseesAnnexes, M(IdMsg::AppCfgViseesAnnexes));
  ChargeCadre(*cadreEnvelgal_, c.TraitEnveloppe, M(IdMsg::AppCfgEnveloppe));
  ChargeCadre(*cadreDefPtSurf_, c.PointsSurface.Trait, M(IdMsg::AppCfgPointsSurface));
  cadreDefPtSurf_->FixeOptions(c.PointsSurface.TracerCercle, c.PointsSurface.TailleDesign);
  pourTous_->setChecked(c.PointsSurface.CouleurPourTous);
  couleurFiligr_->FixeCouleur(c.CouleurFiligrane);
  // A sorted list; the region is found back by its name.
  QStringList regions;
  for (const std::string& r : NomsRegions()) regions << QString::fromStdString(r);
  regions.sort(Qt::CaseInsensitive);
  continentBox_->clear();
  continentBox_->addItems(regions);
  const int32_t region = (c.RegionProjections >= 0 && c.RegionProjections < NombreRegions) ? c.RegionProjections : 0;
  continentBox_->setCurrentText(QString::fromStdString(NomsRegions()[static_cast<size_t>(region)]));
}

std::array<int32_t, 3> TConfigGeneDlg::Positions() const { return positions_; }

void TConfigGeneDlg::AfficheOrdre() {
  for (size_t m = 0; m < 3; ++m)
    if (QAbstractButton* b = boutonsOrdre_[m]->button(positions_[m])) b->setChecked(true);
}

void TConfigGeneDlg::ResoutOrdreSaisie(int mesure, int position) {
  positions_ = app::ResoutOrdreSaisie(positions_, mesure, position);
  AfficheOrdre();
}

void TConfigGeneDlg::AfficheFichierMtf(const std::string& nom) {
  if (nom.empty()) {
    editFichierMtf_->setText(M(IdMsg::AppCfgAucunFichierUtilise));
    aucunFichier_->setVisible(false);
  } else {
    editFichierMtf_->setText(QString::fromStdString(nom));
    aucunFichier_->setVisible(true);
  }
}

void TConfigGeneDlg::EditFichierMtfClick() {
  platform::FileDialogOptions options;
  options.Filter = foundation::Msg(IdMsg::AppCfgFiltreMtf);
  options.InitialFolder = survey::DossierGravelune();
  if (const auto choix = platform::Dialogs::Current().OpenFile(options)) AfficheFichierMtf(choix->Path);
}

bool TConfigGeneDlg::eventFilter(QObject* objet, QEvent* evenement) {
  if (objet == editFichierMtf_ && evenement->type() == QEvent::MouseButtonRelease) {
    EditFichierMtfClick();
    return true;
  }
  return QDialog::eventFilter(objet, evenement);
}

void TConfigGeneDlg::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    const QRect g = s->availableGeometry();
    move(g.x() + (g.width() - width()) / 2, g.y() + (g.height() - height()) / 2);
  }
}

void TConfigGeneDlg::Transfere() {
  ConfigGenerale& c = Config();
  c.PosAzimut = positions_[0];
  c.PosPente = positions_[1];
  c.PosLongueur = positions_[2];
  MajOrdreSaisie();
  c.SaisieTopofil = topoFil_->isChecked();
  survey::Affichage().DecimalesCoord = udDeci_->value();
  c.CalculDecliAuto = decliAuto_->isChecked();
  c.FichierMotifsDefaut = aucunFichier_->isVisibleTo(this) ? editFichierMtf_->text().toStdString() : std::string();
  c.SensMolette = molette_->checkedId() == 1;
  c.TraitAxe = LitCadre(*cadreAxe_, c.TraitAxe);
  c.TraitViseesAnnexes = LitCadre(*cadreViseeAnnexe_, c.TraitViseesAnnexes);
  c.TraitEnveloppe = LitCadre(*cadreEnvelgal_, c.TraitEnveloppe);
  c.PointsSurface.Trait = LitCadre(*cadreDefPtSurf_, c.PointsSurface.Trait);
  c.PointsSurface.TracerCercle = cadreDefPtSurf_->CercleBox->isChecked();
  c.PointsSurface.TailleDesign = cadreDefPtSurf_->UpDown2->value();
  c.PointsSurface.CouleurPourTous = pourTous_->isChecked();
  c.CouleurFiligrane = couleurFiligr_->Couleur();
  const int region = IndexRegion(continentBox_->currentText().toStdString());
  if (region >= 0) {
    c.RegionProjections = region;
    if (Services().ChangeListeProjections) Services().ChangeListeProjections(region);
  }
  if (Services().ChangeStyles) Services().ChangeStyles(c);
  if (Services().AppliqueStyles) Services().AppliqueStyles(c);
}

void TConfigGeneDlg::accept() {
  Transfere();
  QDialog::accept();
}

}  // namespace app
