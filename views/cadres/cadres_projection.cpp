#include "views/cadres/cadres_projection.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "projections/services.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"

namespace views {

using foundation::IdMsg;
using foundation::Msg;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string SansBlancs(const std::string& s) {
  std::string r;
  for (char c : s)
    if (c != ' ' && c != '\t' && c != '_') r += c;
  return r;
}

double LitChamp(const std::string& s) {
  const std::string t = SansBlancs(s);
  double v = 0;
  if (t.empty() || !foundation::LitReel(t, v)) return 0;
  return v;
}

std::string Rogne(const std::string& s) {
  size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return {};
  size_t b = s.find_last_not_of(' ');
  return s.substr(a, b - a + 1);
}

}  // namespace

// --- Degrees, minutes, seconds -------------------------------------------------------------

std::string DegresVersTexteDMS(double x) {
  if (!std::isfinite(x) || x < 0) x = 0;
  // Whole ten-thousandths of a second, so that the seconds never show 60.
  const double n = std::nearbyint(x * 3600.0 * 10000.0);
  const double parDegre = 3600.0 * 10000.0, parMinute = 60.0 * 10000.0;
  const double degres = std::floor(n / parDegre);
  const double reste = n - degres * parDegre;
  const double minutes = std::floor(reste / parMinute);
  const double secondes = (reste - minutes * parMinute) / 10000.0;
  return foundation::ReelEnTexteFixe(degres, 0) + "° " + foundation::ReelEnTexteFixe(minutes, 0) + "' " +
         foundation::ReelEnTexteFixe(secondes, 4) + "\"";
}

double TexteDMSVersDegres(const std::string& texte) {
  std::string reste = texte;
  auto champ = [&](const std::string& fin) {
    const size_t p = reste.find(fin);
    std::string c = p == std::string::npos ? reste : reste.substr(0, p);
    reste = p == std::string::npos ? std::string() : reste.substr(p + fin.size());
    return LitChamp(c);
  };
  const double d = champ("°");
  const double m = champ("'");
  const double s = champ("\"");
  return d + m / 60.0 + s / 3600.0;
}

// --- Radio group -------------------------------------------------------------------------------

TGroupeRadio::TGroupeRadio(const QString& titre, const std::vector<std::string>& items, int colonnes,
                           QWidget* parent)
    : QGroupBox(titre, parent) {
  auto* grille = new QGridLayout(this);
  auto* groupe = new QButtonGroup(this);
  const int lignes = (static_cast<int>(items.size()) + colonnes - 1) / std::max(colonnes, 1);
  for (size_t i = 0; i < items.size(); ++i) {
    auto* b = new QRadioButton(Q(items[i]), this);
    items_.push_back(b);
    groupe->addButton(b, static_cast<int>(i));
    const int ligne = lignes ? static_cast<int>(i) % lignes : 0;
    const int colonne = lignes ? static_cast<int>(i) / lignes : 0;
    grille->addWidget(b, ligne, colonne);
    connect(b, &QRadioButton::clicked, this, [this] { emit Click(); });
  }
}

int TGroupeRadio::ItemIndex() const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i]->isChecked()) return static_cast<int>(i);
  return -1;
}

void TGroupeRadio::FixeItemIndex(int i) {
  if (i < 0 || i >= Nombre()) {
    for (QRadioButton* b : items_) {
      b->setAutoExclusive(false);
      b->setChecked(false);
      b->setAutoExclusive(true);
    }
    return;
  }
  items_[static_cast<size_t>(i)]->setChecked(true);
}

static void NommeGroupe(TGroupeRadio* g, const char* nom) {
  g->setObjectName(nom);
  for (int i = 0; i < g->Nombre(); ++i) g->Item(i)->setObjectName(QString(nom) + QString::number(i));
}

// --- Base frame ----------------------------------------------------------------------------------

TCadreProjectionBase::TCadreProjectionBase(QWidget* parent) : QWidget(parent) {
  layout_ = new QVBoxLayout(this);
  layout_->setContentsMargins(0, 0, 0, 0);
  GeodPanel = new QWidget(this);
  GeodPanel->setObjectName("GeodPanel");
  geodLayout_ = new QVBoxLayout(GeodPanel);
  geodLayout_->setContentsMargins(0, 0, 0, 0);
  GroupProject = new QGroupBox(Q(Msg(IdMsg::AppCadreProjectionUtilisee)), GeodPanel);
  GroupProject->setObjectName("GroupProject");
  auto* g = new QGridLayout(GroupProject);
  ListeProjectBox = new QComboBox(GroupProject);
  ListeProjectBox->setObjectName("ListeProjectBox");
  ListeProjectBox->setEditable(false);
  EditProject = new QLineEdit(GroupProject);
  EditProject->setObjectName("EditProject");
  EditProject->setReadOnly(true);
  ZoneTxt = new QLabel(Q(Msg(IdMsg::AppCadreFuseau)), GroupProject);
  ZoneTxt->setObjectName("ZoneTxt");
  ZoneBox = new QComboBox(GroupProject);
  ZoneBox->setObjectName("ZoneBox");
  g->addWidget(ListeProjectBox, 0, 0);
  g->addWidget(ZoneTxt, 0, 1);
  g->addWidget(ZoneBox, 0, 2);
  g->addWidget(EditProject, 1, 0, 1, 3);
  geodLayout_->addWidget(GroupProject);
  layout_->addWidget(GeodPanel);
  connect(ListeProjectBox, &QComboBox::activated, this, [this](int) {
    if (!InitFiche) ListeProjectBoxChange();
  });
  connect(ZoneBox, &QComboBox::activated, this, [this](int) {
    if (!InitFiche) ZoneBoxChange();
  });
}

void TCadreProjectionBase::InitCadre(const std::string& vProjec, int vFuseau, const std::string& vProjecReseau,
                                     int vFuseauReseau) {
  InitFiche = true;
  ProjecReseau = vProjecReseau;
  FuseauReseau = vFuseauReseau;
  // Every projection, then every multi-zone system, each once whatever its
  // case, sorted.
  std::vector<std::string> noms;
  projections::ListeNomsProjections(noms);
  QStringList liste;
  for (const std::string& n : noms) {
    bool deja = false;
    for (const QString& l : liste) deja = deja || l.compare(Q(n), Qt::CaseInsensitive) == 0;
    if (!deja) liste << Q(n);
  }
  liste.sort(Qt::CaseInsensitive);
  ListeProjectBox->clear();
  ListeProjectBox->addItems(liste);
  iFuseau = 0;
  ProjectActive.clear();
  EstWGS = vProjec == "WGS84";
  if (!vProjec.empty()) {
    ProjectActive = vProjec;
    iFuseau = vFuseau;
  }
  if (!EstWGS) {
    ListeProjectBox->setCurrentIndex(ListeProjectBox->findText(Q(vProjec), Qt::MatchFixedString));
    ListeProjectBoxChange();
  }
  InitFiche = false;
}

void TCadreProjectionBase::ListeProjectBoxChange() {
  EstUtmSud = false;
  ProjectActive = ListeProjectBox->currentIndex() >= 0 ? ListeProjectBox->currentText().toStdString() : std::string();
  int index = -1;
  bool multiple = false;
  std::string description;
  bool trouve = false;
  if (!ProjectActive.empty() && projections::ChercheProjection(ProjectActive, index, multiple)) {
    const int code = multiple ? projections::DescriptionMultiple(index, description)
                              : projections::DescriptionProjection(index, description);
    trouve = code == 0;
    if (trouve) EditProject->setText(Q(description));
  }
  EstMultiple = multiple;
  if (!EstMultiple || !trouve) {
    ZoneBox->hide();
    ZoneTxt->hide();
    EstMultiple = false;
    return;
  }
  const std::string nom = Rogne(ProjectActive);
  EstUtmSud = nom == "UTM S";
  const int debut = nom == "UTM ED50" ? 29 : 1, fin = nom == "UTM ED50" ? 38 : 60;
  ZoneBox->clear();
  for (int z = debut; z <= fin; ++z) ZoneBox->addItem(QString::number(z));
  if (std::abs(iFuseau) < debut || std::abs(iFuseau) > fin) iFuseau = 31;
  ZoneBox->setCurrentIndex(ZoneBox->findText(QString::number(std::abs(iFuseau))));
  ZoneBox->show();
  ZoneTxt->show();
  ZoneBoxChange();
}

void TCadreProjectionBase::ZoneBoxChange() {
  iFuseau = ZoneBox->currentText().toInt();
  if (EstUtmSud) iFuseau = -iFuseau;
}

void TCadreProjectionBase::RdgTypeCoordClick() {
  if (InitFiche) return;
  ProjectActive.clear();
  GeodPanel->setVisible(Rattache());
  if (Rattache()) {
    if (EstWGS)
      ProjectActive = "WGS84";
    else
      ListeProjectBoxChange();
  }
  if (IdReseau()) {
    ProjectActive = ProjecReseau;
    iFuseau = FuseauReseau;
    EstWGS = false;
  }
}

// --- Simple frame ----------------------------------------------------------------------------------

TCadreProjectionSimple::TCadreProjectionSimple(QWidget* parent) : TCadreProjectionBase(parent) {
  SimpleCoordsRdg = new TGroupeRadio(Q(Msg(IdMsg::AppCadreCoordonnees)),
                                     {Msg(IdMsg::AppCadreIndependantes), Msg(IdMsg::AppCadreRattachees)}, 1, this);
  NommeGroupe(SimpleCoordsRdg, "SimpleCoordsRdg");
  SimpleCoordsRdg->FixeItemIndex(1);
  layout_->insertWidget(0, SimpleCoordsRdg);
  // The keyboard goes down the frame as it is shown: from the coordinate
  // choice to the system list and its zone, not past them.
  setTabOrder(SimpleCoordsRdg->Item(SimpleCoordsRdg->Nombre() - 1), ListeProjectBox);
  setTabOrder(ListeProjectBox, ZoneBox);
  setTabOrder(ZoneBox, EditProject);
  connect(SimpleCoordsRdg, &TGroupeRadio::Click, this, [this] { RdgTypeCoordClick(); });
}

void TCadreProjectionSimple::InitCadre(const std::string& vProjec, int vFuseau, const std::string& vProjecReseau,
                                       int vFuseauReseau) {
  TCadreProjectionBase::InitCadre(vProjec, vFuseau, vProjecReseau, vFuseauReseau);
  const int voulu = vProjec.empty() ? 0 : 1;
  if (SimpleCoordsRdg->ItemIndex() != voulu) {
    SimpleCoordsRdg->FixeItemIndex(voulu);
    RdgTypeCoordClick();
  }
}

bool TCadreProjectionSimple::Rattache() const { return SimpleCoordsRdg->ItemIndex() == 1; }

// --- WGS84 frame ------------------------------------------------------------------------------------

TCadreProjectionWGS::TCadreProjectionWGS(QWidget* parent) : TCadreProjectionBase(parent) {
  LabelIndication = new QLabel(this);
  LabelIndication->setObjectName("LabelIndication");
  QFont gras = LabelIndication->font();
  gras.setBold(true);
  LabelIndication->setFont(gras);
  RdgTypeCoord = new TGroupeRadio(
      Q(Msg(IdMsg::AppCadreCoordonnees)),
      {Msg(IdMsg::AppCadreIndependantes), Msg(IdMsg::AppCadreProjReseau), Msg(IdMsg::AppCadreAutreProj)}, 1, this);
  NommeGroupe(RdgTypeCoord, "RdgTypeCoord");
  RdgTypeCoord->FixeItemIndex(1);
  SystemRdg = new TGroupeRadio(QString(), {"WGS84", Msg(IdMsg::AppCadreProjection)}, 2, GeodPanel);
  NommeGroupe(SystemRdg, "SystemRdg");
  SystemRdg->FixeItemIndex(1);
  geodLayout_->insertWidget(0, SystemRdg);
  ProjReseauGroup = new QGroupBox(this);
  ProjReseauGroup->setObjectName("ProjReseauGroup");
  auto* f = new QFormLayout(ProjReseauGroup);
  ProjReseauEdit = new QLineEdit(ProjReseauGroup);
  ProjReseauEdit->setObjectName("ProjReseauEdit");
  ProjReseauEdit->setReadOnly(true);
  f->addRow(Q(Msg(IdMsg::AppCadreProjDuReseau)), ProjReseauEdit);
  auto* haut = new QHBoxLayout;
  haut->addWidget(RdgTypeCoord);
  haut->addWidget(GeodPanel, 1);
  layout_->removeWidget(GeodPanel);
  layout_->addWidget(LabelIndication);
  layout_->addWidget(ProjReseauGroup);
  layout_->addLayout(haut);
  connect(RdgTypeCoord, &TGroupeRadio::Click, this, [this] { RdgTypeCoordClick(); });
  connect(SystemRdg, &TGroupeRadio::Click, this, [this] {
    if (!InitFiche) SystemRdgClick();
  });
}

void TCadreProjectionWGS::InitCadre(const std::string& vProjec, int vFuseau, const std::string& vProjecReseau,
                                    int vFuseauReseau, TCadreSaisieCoord* vCadreSaisieCoord,
                                    const std::string& vTypePointStr) {
  UnCadreSaisieCoord = vCadreSaisieCoord;
  TCadreProjectionBase::InitCadre(vProjec, vFuseau, vProjecReseau, vFuseauReseau);
  LabelIndication->setText(Q(Msg(IdMsg::AppCadreIndiquezSysteme) + vTypePointStr));
  std::string reseau = ProjecReseau;
  if (EstMultiple && FuseauReseau != 0) reseau += " / " + std::to_string(std::abs(FuseauReseau));
  ProjReseauEdit->setText(Q(reseau));
  if (vProjec.empty())
    RdgTypeCoord->FixeItemIndex(0);
  else if (vProjec != vProjecReseau || vFuseau != vFuseauReseau)
    RdgTypeCoord->FixeItemIndex(2);
  else
    RdgTypeCoord->FixeItemIndex(1);
  SystemRdg->FixeItemIndex(EstWGS ? 0 : 1);
  RdgTypeCoordClick();
}

bool TCadreProjectionWGS::IdReseau() const { return RdgTypeCoord->ItemIndex() == 1; }
bool TCadreProjectionWGS::Rattache() const { return RdgTypeCoord->ItemIndex() == 2; }

void TCadreProjectionWGS::RdgTypeCoordClick() {
  TCadreProjectionBase::RdgTypeCoordClick();
  if (!InitFiche) SystemRdgClick();
}

void TCadreProjectionWGS::SystemRdgClick() {
  // Coordinates in the network's own system are not WGS84 whatever the
  // system choice left behind says.
  EstWGS = SystemRdg->ItemIndex() == 0 && !IdReseau();
  GroupProject->setVisible(SystemRdg->ItemIndex() == 1);
  if (SystemRdg->ItemIndex() == 1) ListeProjectBoxChange();
  if (UnCadreSaisieCoord) {
    // Visible here means not hidden explicitly: the dialog may not be shown yet.
    const bool angles = (isWindow() || !isHidden()) && !GeodPanel->isHidden() && EstWGS;
    UnCadreSaisieCoord->PanelAngles->setVisible(angles);
    UnCadreSaisieCoord->PanelMetres->setVisible(!angles);
  }
}

// --- Coordinate entry -----------------------------------------------------------------------------

TCadreSaisieCoord::TCadreSaisieCoord(QWidget* parent) : QWidget(parent) {
  auto* haut = new QVBoxLayout(this);
  haut->setContentsMargins(0, 0, 0, 0);
  PanelMetres = new QWidget(this);
  PanelMetres->setObjectName("PanelMetres");
  auto* lm = new QHBoxLayout(PanelMetres);
  auto* fm = new QFormLayout;
  auto champ = [](QWidget* p, const char* nom, int largeur) {
    auto* e = new QLineEdit(p);
    e->setObjectName(nom);
    e->setMaxLength(largeur);
    return e;
  };
  EditX = champ(PanelMetres, "EditX", 14);
  EditY = champ(PanelMetres, "EditY", 14);
  EditZ = champ(PanelMetres, "EditZ", 8);
  fm->addRow("X : ", EditX);
  fm->addRow("Y : ", EditY);
  fm->addRow("Z : ", EditZ);
  lm->addLayout(fm);
  UniteGroup = new TGroupeRadio(Q(Msg(IdMsg::AppCadreUnites)), {"Km", "m"}, 1, PanelMetres);
  NommeGroupe(UniteGroup, "UniteGroup");
  UniteGroup->FixeItemIndex(1);
  lm->addWidget(UniteGroup);
  haut->addWidget(PanelMetres);

  PanelAngles = new QWidget(this);
  PanelAngles->setObjectName("PanelAngles");
  auto* la = new QHBoxLayout(PanelAngles);
  auto* fa = new QFormLayout;
  EditLat = champ(PanelAngles, "EditLat", 24);
  EditLong = champ(PanelAngles, "EditLong", 24);
  EditZWGS = champ(PanelAngles, "EditZWGS", 8);
  auto* ligneLat = new QHBoxLayout;
  NSRdg = new TGroupeRadio(QString(), {"N", "S"}, 2, PanelAngles);
  NommeGroupe(NSRdg, "NSRdg");
  NSRdg->FixeItemIndex(0);
  ligneLat->addWidget(EditLat);
  ligneLat->addWidget(NSRdg);
  auto* ligneLong = new QHBoxLayout;
  OERdg = new TGroupeRadio(QString(), {"O", "E"}, 2, PanelAngles);
  NommeGroupe(OERdg, "OERdg");
  OERdg->FixeItemIndex(1);
  ligneLong->addWidget(EditLong);
  ligneLong->addWidget(OERdg);
  fa->addRow("Lat : ", ligneLat);
  fa->addRow("Long : ", ligneLong);
  fa->addRow("Z : ", EditZWGS);
  la->addLayout(fa);
  FormatWGSRdg = new TGroupeRadio("Format WGS", {"Deg dec", "Deg mn sec"}, 1, PanelAngles);
  NommeGroupe(FormatWGSRdg, "FormatWGSRdg");
  FormatWGSRdg->FixeItemIndex(0);
  la->addWidget(FormatWGSRdg);
  haut->addWidget(PanelAngles);
  PanelAngles->hide();

  connect(EditLat, &QLineEdit::textEdited, this, [this] { EditLatKeyUp(); });
  connect(EditLong, &QLineEdit::textEdited, this, [this] { EditLongKeyUp(); });
  connect(FormatWGSRdg, &TGroupeRadio::Click, this, [this] { FormatWGSRdgClick(); });
}

bool TCadreSaisieCoord::EstDeci() const { return FormatWGSRdg->ItemIndex() == 0; }

double TCadreSaisieCoord::ValResultLong() const { return OERdg->ItemIndex() == 0 ? -ValLong : ValLong; }
double TCadreSaisieCoord::ValResultLat() const { return NSRdg->ItemIndex() == 1 ? -ValLat : ValLat; }

double TCadreSaisieCoord::NombreDuChamp(const QLineEdit* e) { return LitChamp(e->text().toStdString()); }

double TCadreSaisieCoord::LitAngle(const QLineEdit* e) const {
  const std::string t = e->text().toStdString();
  return EstDeci() ? LitChamp(t) : TexteDMSVersDegres(t);
}

void TCadreSaisieCoord::EditLatKeyUp() { ValLat = LitAngle(EditLat); }
void TCadreSaisieCoord::EditLongKeyUp() { ValLong = LitAngle(EditLong); }

void TCadreSaisieCoord::FormatWGSRdgClick() {
  if (EstDeci()) {
    // Eight decimals whatever the number of degrees, so that the text shown
    // reads back as the value to 1e-8 degree.
    EditLong->setText(Q(foundation::ReelEnTexteFixe(ValLong, 8)));
    EditLat->setText(Q(foundation::ReelEnTexteFixe(ValLat, 8)));
  } else {
    EditLong->setText(Q(DegresVersTexteDMS(ValLong)));
    EditLat->setText(Q(DegresVersTexteDMS(ValLat)));
  }
}

void TCadreSaisieCoord::AfficheCoordPt(const survey::TPointSpeleo& vPtSpel) {
  const int d = survey::Affichage().DecimalesCoord;
  auto texte = [d](double v) { return Q(Rogne(foundation::ReelEnStrFixe(v, 15, d))); };
  EditX->setText(texte(vPtSpel.X));
  EditY->setText(texte(vPtSpel.Y));
  EditZ->setText(texte(vPtSpel.Z));
  EditZWGS->setText(texte(vPtSpel.Z));
}

}  // namespace views
