#include "app/saisie/cadre_saisie_ope.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStandardItemModel>
#include <algorithm>
#include <memory>
#include <vector>

#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "platform/qt/conversions_qt.h"
#include "survey/listes_document.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;
using platform::qt::Q;
using survey::TOperateur;

namespace {

constexpr int RoleOperateur = Qt::UserRole + 1;

TOperateur* OperateurDe(const QVariant& v) { return reinterpret_cast<TOperateur*>(v.value<quintptr>()); }
QVariant Donnee(TOperateur* o) { return QVariant::fromValue(reinterpret_cast<quintptr>(o)); }

bool AvantDansChoix(const QString& a, const QString& b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; }

}  // namespace

TCadreSaisieOpe::TCadreSaisieOpe(QWidget* parent, ModeOperateurs mode)
    : QGroupBox(Q(Msg(IdMsg::AppLeverOperateurs)), parent), mode_(mode) {
  setObjectName(QStringLiteral("CadreSaisieOpe"));
  auto* g = new QGridLayout(this);
  designPersonne_ = new QLabel(Q(Msg(IdMsg::AppLeverOperateursListe)), this);
  designPersonne_->setObjectName(QStringLiteral("DesignPersonne"));
  liste_ = new QListWidget(this);
  liste_->setObjectName(QStringLiteral("ListeOpe"));
  choix_ = new QComboBox(this);
  choix_->setObjectName(QStringLiteral("OperateursBox"));
  // Sized by a typical name, not by measuring every operator.
  choix_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  choix_->setMinimumContentsLength(20);
  ajoute_ = new QPushButton(QStringLiteral("<---"), this);
  ajoute_->setObjectName(QStringLiteral("AjouteOpeBtn"));
  retire_ = new QPushButton(QStringLiteral("--->"), this);
  retire_->setObjectName(QStringLiteral("RetireOpeBtn"));
  nouveau_ = new QPushButton(QStringLiteral("+"), this);
  nouveau_->setObjectName(QStringLiteral("NouvelOpeBtn"));
  g->addWidget(designPersonne_, 0, 0);
  g->addWidget(liste_, 1, 0, 3, 1);
  g->addWidget(ajoute_, 1, 1);
  g->addWidget(retire_, 2, 1);
  g->addWidget(choix_, 1, 2);
  g->addWidget(nouveau_, 1, 3);
  connect(ajoute_, &QPushButton::clicked, this, [this] { AjouteClick(); });
  connect(retire_, &QPushButton::clicked, this, [this] { RetireClick(); });
  connect(nouveau_, &QPushButton::clicked, this, [this] { NouveauClick(); });
  connect(choix_, &QComboBox::currentIndexChanged, this, [this] { MiseAJourBoutons(); });
  MiseAJourBoutons();
}

void TCadreSaisieOpe::Initialise() {
  std::vector<TOperateur*> operateurs;
  for (TOperateur* o : survey::OperateursDocument())
    if (mode_ == ModeOperateurs::Observation || !survey::RogneNom(o->DesignOpe).empty()) operateurs.push_back(o);
  std::vector<std::pair<QString, TOperateur*>> tries;
  tries.reserve(operateurs.size());
  for (TOperateur* o : operateurs) tries.emplace_back(Q(o->DesignOpe), o);
  std::stable_sort(tries.begin(), tries.end(),
                   [](const auto& a, const auto& b) { return AvantDansChoix(a.first, b.first); });
  // Built as one model: a document may hold thousands of operators.
  auto* modele = new QStandardItemModel(choix_);
  QList<QStandardItem*> lignes;
  lignes.reserve(static_cast<qsizetype>(tries.size()));
  for (const auto& [nom, o] : tries) {
    auto* ligne = new QStandardItem(nom);
    ligne->setData(Donnee(o), Qt::UserRole);
    lignes.append(ligne);
  }
  if (!lignes.isEmpty()) modele->appendColumn(lignes);
  const QSignalBlocker bloque(choix_);
  choix_->setModel(modele);  // frees the previous model, which the box owns
  choix_->setCurrentIndex(choix_->count() > 0 ? 0 : -1);
  MiseAJourBoutons();
}

void TCadreSaisieOpe::InitRectif(const survey::TListeDOperateurs& ListeOpe) {
  liste_->clear();
  for (TOperateur* o : ListeOpe)
    if (o) AjouteALaListe(o);
  MiseAJourBoutons();
}

void TCadreSaisieOpe::TransfereListe(survey::TListeDOperateurs& ListeOpe) const {
  ListeOpe.clear();
  for (int i = 0; i < liste_->count(); ++i) {
    const QListWidgetItem* l = liste_->item(i);
    if (mode_ == ModeOperateurs::Lever && survey::RogneNom(platform::qt::VersStd(l->text())).empty()) continue;
    if (TOperateur* o = OperateurDe(l->data(RoleOperateur))) ListeOpe.push_back(o);
  }
}

void TCadreSaisieOpe::FixeDesignPersonne(const std::string& texte) { designPersonne_->setText(Q(texte + " :")); }

void TCadreSaisieOpe::AjouteALaListe(TOperateur* o) {
  auto* l = new QListWidgetItem(Q(o->DesignOpe), liste_);
  l->setData(RoleOperateur, Donnee(o));
  liste_->setCurrentItem(l);
}

TOperateur* TCadreSaisieOpe::OperateurChoisi() const {
  return choix_->currentIndex() < 0 ? nullptr : OperateurDe(choix_->currentData());
}

void TCadreSaisieOpe::MiseAJourBoutons() {
  TOperateur* o = OperateurChoisi();
  bool present = false;
  for (int i = 0; o && i < liste_->count() && !present; ++i)
    present = OperateurDe(liste_->item(i)->data(RoleOperateur)) == o;
  ajoute_->setEnabled(o && !present);
}

void TCadreSaisieOpe::AjouteClick() {
  TOperateur* o = OperateurChoisi();
  if (!o) return;
  if (mode_ == ModeOperateurs::Observation && choix_->currentText().isEmpty()) return;
  AjouteALaListe(o);
  MiseAJourBoutons();
}

void TCadreSaisieOpe::RetireClick() {
  const int i = liste_->currentRow();
  if (i < 0) return;
  delete liste_->takeItem(i);
  if (liste_->count() > 0) liste_->setCurrentRow(std::max(i - 1, 0));
  MiseAJourBoutons();
}

int TCadreSaisieOpe::InsereDansChoix(TOperateur* o) {
  const QString nom = Q(o->DesignOpe);
  int i = 0;
  while (i < choix_->count() && !AvantDansChoix(nom, choix_->itemText(i))) ++i;
  choix_->insertItem(i, nom, Donnee(o));
  return i;
}

void TCadreSaisieOpe::NouveauClick() {
  const auto reponse =
      platform::Dialogs::Current().Prompt(Msg(IdMsg::AppLeverNouvelOperateur), Msg(IdMsg::AppLeverNomOperateur), "");
  if (!reponse) return;
  const std::string nom = mode_ == ModeOperateurs::Lever ? survey::RogneNom(*reponse) : *reponse;
  if (nom.empty()) return;
  survey::TListeOperateurs* document = survey::ListesDocument().Operateurs;
  if (!document) return;
  TOperateur* o = document->ChercheOperateurParStr(nom);
  if (!o) {
    auto nouveau = std::make_unique<TOperateur>();
    nouveau->DesignOpe = nom;
    o = document->Add(std::move(nouveau));
    const QSignalBlocker bloque(choix_);
    InsereDansChoix(o);
  }
  AjouteALaListe(o);
  MiseAJourBoutons();
}

void TCadreSaisieOpe::LectureSeule() {
  for (QWidget* w : std::initializer_list<QWidget*>{choix_, ajoute_, retire_, nouveau_}) w->hide();
}

}  // namespace app
