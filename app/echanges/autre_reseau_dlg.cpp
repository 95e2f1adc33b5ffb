#include "app/echanges/autre_reseau_dlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "app/commun/contexte_app.h"
#include "drawing/contexte_dessin.h"
#include "formats/contexte_formats.h"
#include "formats/import/autre_reseau/import_cavites.h"
#include "formats/import/autre_reseau/ports_autre_reseau.h"
#include "formats/import/points/selection_points_import.h"
#include "foundation/catalogue.h"
#include "platform/printer.h"
#include "platform/qt/boutons_dialogue.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "views/windows/fiche_select_transfert.h"

namespace app {

using foundation::IdMsg;
using foundation::Msg;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TImportCavitesDlg::TImportCavitesDlg(const survey::TReseau& reseau, QWidget* parent) : QDialog(parent) {
  setObjectName("ImportCavitesDlg");
  setWindowTitle(Q(Msg(IdMsg::AutreChoixCavitesImport)));
  auto* haut = new QVBoxLayout(this);
  CheckCavitesBox = new QListWidget(this);
  CheckCavitesBox->setObjectName("CheckCavitesBox");
  for (int i = 1; i < reseau.NombreCavites(); ++i) {
    auto* item = new QListWidgetItem(Q(reseau.UneCavite(i)->NomCavite), CheckCavitesBox);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  haut->addWidget(CheckCavitesBox);
  QPushButton* ok = nullptr;
  haut->addLayout(platform::qt::BoutonsOKAnnuler(this, ok));
}

void TImportCavitesDlg::Transfere(std::vector<bool>& choix) const {
  for (int i = 0; i < CheckCavitesBox->count(); ++i)
    if (static_cast<size_t>(i) + 1 < choix.size())
      choix[static_cast<size_t>(i) + 1] = CheckCavitesBox->item(i)->checkState() == Qt::Checked;
}

TSelectCavDlg::TSelectCavDlg(const survey::TReseau& reseau, const std::string& libelle, QWidget* parent)
    : QDialog(parent), reseau_(reseau) {
  setObjectName("SelectCavDlg");
  setWindowTitle(Q(Msg(libelle.empty() ? IdMsg::AutreChoixCaviteComparer : IdMsg::AutreChoixCaviteImporter)));
  auto* haut = new QVBoxLayout(this);
  Libelle = new QLabel(Q(libelle.empty() ? Msg(IdMsg::AutreLibelleCaviteComparaison) : libelle), this);
  Libelle->setObjectName("Libelle");
  haut->addWidget(Libelle);
  ListeCavites = new QListWidget(this);
  ListeCavites->setObjectName("ListeCavites");
  for (int i = 1; i < reseau.NombreCavites(); ++i) ListeCavites->addItem(Q(reseau.UneCavite(i)->NomCavite));
  ListeCavites->setCurrentRow(ListeCavites->count() - 1);
  haut->addWidget(ListeCavites);
  QPushButton* ok = nullptr;
  haut->addLayout(platform::qt::BoutonsOKAnnuler(this, ok));
}

survey::TCavite* TSelectCavDlg::CaviteChoisie() const {
  const int i = ListeCavites->currentRow();
  return i < 0 ? nullptr : reseau_.UneCavite(i + 1);
}

TRapportMajDlg::TRapportMajDlg(formats::TRapportMaj& rapport, QWidget* parent)
    : QDialog(parent), Sortie(this), rapport_(rapport) {
  setObjectName("RapportMajDlg");
  setWindowTitle(Q(Msg(IdMsg::AutreRapportTitre)));
  auto* haut = new QVBoxLayout(this);
  Rapport = new QTextEdit(this);
  Rapport->setObjectName("Rapport");
  Rapport->setReadOnly(true);
  Rapport->setLineWrapMode(QTextEdit::NoWrap);
  QString texte;
  for (const std::string& l : rapport.Lignes) texte += Q(l) + "\n";
  Rapport->setPlainText(texte);
  haut->addWidget(Rapport);
  auto* boutons = new QHBoxLayout;
  PrnBtn = new QPushButton(Q(Msg(IdMsg::AppImprimerRapport)), this);
  PrnBtn->setObjectName("PrnBtn");
  VisuCavit1Btn = new QPushButton(Q(Msg(IdMsg::AutreVoirCaviteEnCours)), this);
  VisuCavit1Btn->setObjectName("VisuCavit1Btn");
  VisuCavit2Btn = new QPushButton(Q(Msg(IdMsg::AutreVoirCaviteComparee)), this);
  VisuCavit2Btn->setObjectName("VisuCavit2Btn");
  // The shot selection window does not exist yet: nothing to show them in.
  VisuCavit1Btn->setVisible(false);
  VisuCavit2Btn->setVisible(false);
  OKBtn = new QPushButton(Q(Msg(IdMsg::AppCfgOK)), this);
  OKBtn->setObjectName("OKBtn");
  OKBtn->setDefault(true);
  boutons->addWidget(PrnBtn);
  boutons->addWidget(VisuCavit1Btn);
  boutons->addWidget(VisuCavit2Btn);
  boutons->addStretch();
  boutons->addWidget(OKBtn);
  haut->addLayout(boutons);
  connect(PrnBtn, &QPushButton::clicked, this, [this] { PrnBtnClick(); });
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  resize(760, 520);
}

TRapportMajDlg::~TRapportMajDlg() = default;

std::vector<PageListe> PagesTexte(const std::vector<std::string>& lignes, const MesuresListe& mesures) {
  std::vector<PageListe> pages(1);
  const int32_t hauteur = std::max<int32_t>(1, mesures.HauteurLigne);
  const int32_t marge = std::max<int32_t>(mesures.Marge, hauteur * 2);
  int32_t y = marge;
  for (const std::string& l : lignes) {
    if (y + hauteur > mesures.HauteurPage - marge && !pages.back().Elements.empty()) {
      pages.emplace_back();
      y = marge;
    }
    // Tabs to every eighth column (the characters are counted as code points).
    std::string t;
    size_t colonne = 0;
    for (size_t i = 0; i < l.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(l[i]);
      if (c == '\t') {
        const size_t n = 8 - colonne % 8;
        t.append(n, ' ');
        colonne += n;
        continue;
      }
      t += l[i];
      if ((c & 0xC0) != 0x80) ++colonne;
    }
    if (!t.empty()) pages.back().Elements.push_back(ElementPage{marge, y, t});
    y += hauteur;
  }
  return pages;
}

bool TRapportMajDlg::PrnBtnClick() {
  const std::vector<platform::Printer*> imprimantes = platform::PrinterList();
  if (imprimantes.empty()) return false;
  platform::Printer* choisie = imprimantes.front();
  for (;;) {
    const std::optional<platform::PageMetrics> page = choisie->Metrics();
    if (!page) return false;
    const std::vector<PageListe> pages = PagesTexte(rapport_.Lignes, Sortie.Mesures(*page));
    const auto choix = Sortie.Dialogue(static_cast<int>(pages.size()), *choisie);
    if (!choix) return false;
    if (choix->Imprimante && choix->Imprimante != choisie) {
      choisie = choix->Imprimante;
      continue;
    }
    return Sortie.Imprime(*choix, pages, *page);
  }
}

void InstalleFenetresAutreReseau() {
  formats::PortsAutreReseau& p = formats::ContexteFormats().FenetresAutreReseau;
  p.ChoisitCavites = [](const survey::TReseau& reseau, std::vector<bool>& choix) {
    TImportCavitesDlg dlg(reseau, QApplication::activeWindow());
    if (dlg.exec() != QDialog::Accepted) return false;
    dlg.Transfere(choix);
    return true;
  };
  p.ChoisitCavite = [](const survey::TReseau& reseau, const std::string& libelle) -> survey::TCavite* {
    TSelectCavDlg dlg(reseau, libelle, QApplication::activeWindow());
    if (dlg.exec() != QDialog::Accepted) return nullptr;
    return dlg.CaviteChoisie();
  };
  // The surface points of the other document chosen in the point selection
  // window's marking mode.
  p.SelectionnePointsSurface = [](survey::TListedePoints& points) {
    formats::TSelectImportDlg dlg;
    dlg.Init(points);
    if (!dlg.Execute()) return false;
    std::size_t i = 0;
    for (survey::TPointSpeleo* point : points) {
      point->Selecte = i < dlg.Selecte.size() && dlg.Selecte[i];
      ++i;
    }
    return true;
  };
  // The surface-point manager's import from another document.
  ContexteApp().PtsSurface.ImportDocument = [](const std::string& chemin) {
    return formats::ImportePointsSurfaceCav(chemin);
  };
  // The shot selection window over the other document's cave (its network
  // is the current one while the import asks); the marks are the shots to
  // copy.  A window refused at creation is not shown and counts as cancelled.
  p.MarqueViseesPartie = [](survey::TCavite& cavite) {
    survey::TReseau* reseau = survey::Document().ReseauCourant;
    if (!reseau || (cavite.ReseauProprio && cavite.ReseauProprio != reseau)) return false;
    drawing::GardeValeur<survey::TCavite*> active(reseau->LaCaviteActive, &cavite);
    auto fenetre = views::TFicheGraphique::Cree<views::TFicheSelectTransfert>(QApplication::activeWindow());
    return fenetre->Execute() == QDialog::Accepted;
  };
  p.AfficheRapport = [](formats::TRapportMaj& rapport) {
    TRapportMajDlg dlg(rapport, QApplication::activeWindow());
    dlg.exec();
  };
}

}  // namespace app
