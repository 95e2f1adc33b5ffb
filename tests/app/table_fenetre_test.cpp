// The shot table and its selectors in the main window, driven through the
// controls: refill and cave switch (with the number of network computations),
// the target column's caption and the splay toggle, colours, column layouts,
// add / insert / correct / delete keeping the row <-> shot mapping, errors
// reported once after the refill, deleting the selected cave, navigation,
// sections, search and the listing printed to PDF.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QTreeWidget>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QKeyEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cstdio>

#include "app/commun/config_generale.h"
#include "app/fiche_principale.h"
#include "app/table/impression_pdf.h"
#include "app/table/modele_visees.h"
#include "app/table/zone_visees.h"
#include "platform/printer.h"
#include "platform/scripted_dialogs.h"
#include "platform/wait_windows.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/ports_survey.h"
#include "survey/visee.h"
#include "tests/app/reseau_essai.h"
#include "tests/support/dossier_temp.h"

using namespace app;
using platform::Answer;
using survey::TCavite;
using survey::TVisee;
using survey::TViseeHabi;

namespace {

struct Gardes {
  GardeConfig config;
  survey::GardeDocument document;
  survey::GardeAffichage affichage;
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs gardeDialogues{dialogues};
  platform::ScriptedWaitWindows attente;
  platform::ScopedWaitWindows gardeAttente{attente};
  Gardes() {
    Config() = ConfigGenerale();
    survey::Document() = survey::ContexteDocument();
    survey::Affichage() = survey::ContexteAffichage();
  }
};

template <class T>
T* Controle(QWidget& fenetre, const char* nom) {
  T* t = fenetre.findChild<T*>(QString::fromLatin1(nom));
  EXPECT_NE(t, nullptr) << nom;
  return t;
}

// The rows as "station>target" ("~target" for a splay of the shot ending there).
std::string Rangees(TTableVisees& t) {
  std::string s;
  for (const survey::TValeurVisee* v : t.Lignes()) {
    if (!s.empty()) s += ' ';
    if (v->EstHabi) {
      s += "~" + static_cast<const TViseeHabi*>(v)->ViseeDeRef->PointVise->DesignPTopo;
    } else {
      const auto* p = static_cast<const TVisee*>(v);
      s += (p->PointStation ? p->PointStation->DesignPTopo : "?") + ">" + p->PointVise->DesignPTopo;
    }
  }
  return s;
}

// The cave's shots with their splays in cave order: what the rows must be.
std::string OrdreCavite(const TCavite& c, bool habi) {
  std::string s;
  for (const TVisee* v : c.Visees) {
    if (!s.empty()) s += ' ';
    s += (v->PointStation ? v->PointStation->DesignPTopo : "?") + ">" + v->PointVise->DesignPTopo;
    if (habi)
      for (int i = 0; i < v->ViseesHabi.Count(); ++i) s += " ~" + v->PointVise->DesignPTopo;
  }
  return s;
}

TViseeHabi* Habi(TVisee* v) {
  auto h = std::make_unique<TViseeHabi>();
  h->RefPtStat = false;
  h->Long = 2;
  return v->AjouteViseeHabi(std::move(h));
}

QString Titre(TFichePrincipale& f, int colonne) {
  return f.Zone().Modele().headerData(colonne, Qt::Horizontal, Qt::DisplayRole).toString();
}

bool EntreesVisibles(TFichePrincipale& f) {
  QComboBox* b = Controle<QComboBox>(f, "EntreesBox");
  auto* barre = qobject_cast<QToolBar*>(b->parentWidget());
  for (QAction* a : barre->actions())
    if (barre->widgetForAction(a) == b) return a->isVisible();
  return false;
}

void Choisit(QComboBox* b, const QString& texte) {
  const int i = b->findText(texte);
  ASSERT_GE(i, 0) << texte.toStdString();
  b->setCurrentIndex(i);
  emit b->activated(i);
}

// Two caves besides the surface: "Alpha" with splays, "Beta" with two
// entrances and a side gallery.
struct Essai {
  Gardes g;
  essai::FabriqueEssai fabrique;
  essai::TReseauEssai& doc = *fabrique.Document;
  TCavite* alpha = nullptr;
  TCavite* beta = nullptr;
  std::unique_ptr<TFichePrincipale> f;
  int stations = 0;

  explicit Essai(bool ouvre = true) {
    alpha = doc.Cavite("Alpha", "G Principale: 1 2 3 4\nE1 - 1\n1 - 2\n2 - 3\n3 - 4");
    Habi(alpha->LaVisee(1));
    Habi(alpha->LaVisee(1));
    Habi(alpha->LaVisee(3));
    beta = doc.Cavite("Beta", "G Entree: 10 11 12\nG Affluent: 20 21\nE2 - 10\n10 - 11\n11 - 12\nE3 - 12\n"
                              "11 - 20\n20 - 21");
    if (ouvre) Ouvre();
  }

  void Ouvre() {
    f = std::make_unique<TFichePrincipale>(fabrique.Fonction(), std::vector<std::string>{});
    f->resize(1280, 800);
    f->NouveauReseau();
    f->AfficheListeCavites(true);
  }

  // The shot dialog's work when adding: a new station after the source's
  // end, in the active gallery.
  survey::TValeurVisee* Ajoute(TCavite& c, TVisee* source) {
    auto p = std::make_unique<survey::TPointSpeleo>();
    p->DesignPTopo = "N" + std::to_string(++stations);
    survey::TGalerie* g = c.LaGalerieActive;
    p->GalduPt = g;
    survey::TPointSpeleo* n = g->Points.Add(std::move(p));
    auto v = std::make_unique<TVisee>();
    v->PointStation = source ? source->PtCalc : c.LEntree();
    v->PointVise = n;
    v->Long = 3;
    TVisee* cree = c.Visees.Add(std::move(v));
    c.ReGenereListePoints(false);
    c.AffecteLeversVisees();
    return cree;
  }

  // Inserting before the source: the new station is spliced into it.
  survey::TValeurVisee* Insere(TCavite& c, TVisee* source) {
    EXPECT_TRUE(survey::Document().InsertionVisee);
    auto p = std::make_unique<survey::TPointSpeleo>();
    p->DesignPTopo = "I" + std::to_string(++stations);
    p->GalduPt = source->PtCalc->GalduPt;
    survey::TPointSpeleo* n = p->GalduPt->Points.Add(std::move(p));
    auto v = std::make_unique<TVisee>();
    v->PointStation = source->PointStation;
    v->PointVise = n;
    v->Long = 1;
    TVisee* cree = c.Visees.Add(std::move(v));
    source->RemplaceExtremite(source->PointStation, n);
    c.ReGenereListePoints(false);
    c.AffecteLeversVisees();
    return cree;
  }
};

void Touche(QWidget* w, int touche) {
  QKeyEvent e(QEvent::KeyPress, touche, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

std::string Sortie(const std::string& commande) {
  std::string r;
  FILE* fichier = ::popen(commande.c_str(), "r");
  if (!fichier) return r;
  char tampon[4096];
  size_t n;
  while ((n = std::fread(tampon, 1, sizeof tampon, fichier)) > 0) r.append(tampon, n);
  ::pclose(fichier);
  return r;
}

}  // namespace

TEST(TableFenetre, RemplissageChangementDeCaviteEtUnCalculParRemplissage) {
  Essai e;
  TFichePrincipale& f = *e.f;
  // The last cave is active at first: Beta, with its two entrances.
  EXPECT_EQ(e.doc.Active, 2);
  EXPECT_EQ(Rangees(f.Zone().Table()), OrdreCavite(*e.beta, false));
  EXPECT_TRUE(EntreesVisibles(f));
  QComboBox* entrees = Controle<QComboBox>(f, "EntreesBox");
  EXPECT_EQ(entrees->count(), 2);
  EXPECT_EQ(Titre(f, 1), "Point Visé  ");
  // No computation without coordinates: only the trips.
  EXPECT_EQ(e.doc.Calculs, 0);
  EXPECT_GE(e.doc.CalculsLevers, 1);
  EXPECT_TRUE(Controle<QTableView>(f, "VisuVisees")->isEnabled());

  // Alpha: splays hidden at first, the caption says so.
  Choisit(Controle<QComboBox>(f, "CavitesBox"), "Alpha");
  EXPECT_EQ(e.doc.Active, 1);
  EXPECT_EQ(Rangees(f.Zone().Table()), OrdreCavite(*e.alpha, false));
  EXPECT_FALSE(EntreesVisibles(f));
  EXPECT_EQ(Titre(f, 1), "Point Visé  +");
  // The last shot is selected.
  EXPECT_EQ(f.Zone().LigneFocus(), f.Zone().Table().Nombre() - 1);
  // A click on the target column shows them, another hides them.
  QHeaderView* entete = Controle<QTableView>(f, "VisuVisees")->horizontalHeader();
  emit entete->sectionClicked(1);
  EXPECT_EQ(Titre(f, 1), "Point Visé  -");
  EXPECT_EQ(Rangees(f.Zone().Table()), OrdreCavite(*e.alpha, true));
  emit entete->sectionClicked(1);
  EXPECT_EQ(Rangees(f.Zone().Table()), OrdreCavite(*e.alpha, false));
  // Another column only gives the focus back.
  emit entete->sectionClicked(3);
  EXPECT_EQ(Titre(f, 1), "Point Visé  +");

  // Coordinates: one computation; each cave switch then computes once, even
  // with several sections to sort.
  e.doc.Coupes = {{"B", 10, 0}, {"A", 2, 1}, {"C", 30, 2}};
  QToolButton* coord = Controle<QToolButton>(f, "CoordBtn");
  coord->click();
  EXPECT_EQ(e.doc.Calculs, 1);
  EXPECT_FALSE(Controle<QTableView>(f, "VisuVisees")->isColumnHidden(9));
  EXPECT_EQ(Titre(f, 9), "X");
  Choisit(Controle<QComboBox>(f, "CavitesBox"), "Beta");
  EXPECT_EQ(e.doc.Calculs, 2);
  Choisit(Controle<QComboBox>(f, "CavitesBox"), "Alpha");
  EXPECT_EQ(e.doc.Calculs, 3);
  // Choosing the active cave again does nothing.
  Choisit(Controle<QComboBox>(f, "CavitesBox"), "Alpha");
  EXPECT_EQ(e.doc.Calculs, 3);
  EXPECT_TRUE(coord->isChecked());
  EXPECT_FALSE(Controle<QTableView>(f, "VisuVisees")->isColumnHidden(11));
  // Sections sorted by where they start.
  QComboBox* coupes = Controle<QComboBox>(f, "ListeCoupesBox");
  ASSERT_EQ(coupes->count(), 3);
  EXPECT_EQ(coupes->itemText(0), "A");
  EXPECT_EQ(coupes->itemText(2), "C");
  Choisit(coupes, "C");
  EXPECT_EQ(e.doc.Alti, 2);
}

TEST(TableFenetre, LaPremiereTableSansFenetreDAttenteLesSuivantesAvec) {
  Essai e;
  EXPECT_TRUE(e.g.attente.Log.empty());
  e.f->FormActivate();  // the window has finished its first activation
  Choisit(Controle<QComboBox>(*e.f, "CavitesBox"), "Alpha");
  ASSERT_EQ(e.g.attente.Log.size(), 2u);
  EXPECT_EQ(e.g.attente.Log[0], "+Calculs en cours ...");
  EXPECT_EQ(e.g.attente.Log[1], "-Calculs en cours ...");
  EXPECT_TRUE(e.f->Zone().ListeViseesPrete);
}

TEST(TableFenetre, DispositionsDesColonnes) {
  Essai e;
  TFichePrincipale& f = *e.f;
  f.show();
  QApplication::processEvents();
  auto* vue = Controle<QTableView>(f, "VisuVisees");
  // Plain layout: no thread counter, no coordinates, no dimensions.
  for (int c = 7; c <= 16; ++c) {
    EXPECT_TRUE(vue->isColumnHidden(c)) << c;
    EXPECT_EQ(Titre(f, c), "") << c;
  }
  const int largeur = vue->viewport()->width();
  // The azimuth and slope columns: 60 at least, as wide as their widest text.
  EXPECT_GE(vue->columnWidth(2), 60);
  EXPECT_EQ(vue->columnWidth(3), vue->columnWidth(2));
  const int mesures = vue->columnWidth(2) + vue->columnWidth(3) - 120;
  EXPECT_EQ(vue->columnWidth(18), std::max(150, largeur - 480 - mesures));
  Controle<QToolButton>(f, "DimBtn")->click();
  for (int c = 13; c <= 16; ++c) EXPECT_EQ(vue->columnWidth(c), 40) << c;
  EXPECT_EQ(Titre(f, 13), "L Ga");
  EXPECT_EQ(vue->columnWidth(18), std::max(150, largeur - 640 - mesures));
  Controle<QToolButton>(f, "DimBtn")->click();
  EXPECT_TRUE(vue->isColumnHidden(13));
  // The thread-counter option reaches the table at the next cave selection.
  Config().SaisieTopofil = true;
  Choisit(Controle<QComboBox>(f, "CavitesBox"), "Alpha");
  EXPECT_EQ(vue->columnWidth(7), 60);
  EXPECT_EQ(Titre(f, 8), "Fin Tpf");
  f.hide();
}

// A back-sight azimuth or slope shows whole: its mark and its value fit the
// column, measured as the view draws the cell (the text inside a margin on
// each side of the cell, elided when it does not fit).
TEST(TableFenetre, UneMesureInverseeTientDansSaColonne) {
  Essai e(false);
  TVisee* v = e.alpha->LaVisee(2);
  v->Az = 246.5;
  v->InvAz = true;
  v->pente = -12.25;
  e.Ouvre();
  TFichePrincipale& f = *e.f;
  f.show();
  Choisit(Controle<QComboBox>(f, "CavitesBox"), "Alpha");
  QApplication::processEvents();
  auto* vue = Controle<QTableView>(f, "VisuVisees");
  const int ligne = f.Zone().Table().LigneDe(v);
  ASSERT_GE(ligne, 0);
  const int marge = vue->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, vue) + 1;
  const QFontMetrics fm(vue->font());
  const auto verifie = [&](int colonne, const QString& attendu) {
    const QModelIndex i = f.Zone().Modele().index(ligne, colonne);
    const QString texte = f.Zone().Modele().data(i, Qt::DisplayRole).toString();
    if (!attendu.isEmpty()) EXPECT_EQ(texte.simplified(), attendu);
    const int place = vue->visualRect(i).width() - 2 * marge;
    EXPECT_LE(fm.horizontalAdvance(texte), place) << colonne;
    EXPECT_EQ(fm.elidedText(texte, Qt::ElideRight, place), texte) << colonne;
  };
  verifie(2, QStringLiteral("i 246.5 °"));
  verifie(3, QString());
  // Still whole in the other layouts.
  Controle<QToolButton>(f, "DimBtn")->click();
  Controle<QToolButton>(f, "CoordBtn")->click();
  verifie(2, QStringLiteral("i 246.5 °"));
  f.hide();
}

TEST(TableFenetre, CouleursDesCellules) {
  Essai e;
  TFichePrincipale& f = *e.f;
  Choisit(Controle<QComboBox>(f, "CavitesBox"), "Alpha");
  TVisee* v = e.alpha->LaVisee(2);
  v->Exclue = 1;
  const int l = f.Zone().Table().LigneDe(v);
  const auto couleur = [&](int ligne, int colonne) {
    return f.Zone().Modele().data(f.Zone().Modele().index(ligne, colonne), Qt::ForegroundRole).value<QColor>();
  };
  EXPECT_EQ(couleur(l, 0), QColor(0x32, 0xCD, 0x32));
  EXPECT_EQ(couleur(l, 1), QColor(0x00, 0x80, 0x00));
  EXPECT_EQ(couleur(l, 4), QColor(Qt::black));
  EXPECT_EQ(f.Zone().Modele().data(f.Zone().Modele().index(l, 3), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, Qt::AlignRight);
  // Splay rows in grey.
  emit Controle<QTableView>(f, "VisuVisees")->horizontalHeader()->sectionClicked(1);
  const int h = f.Zone().Table().LigneDe(e.alpha->LaVisee(1)->LaViseeHabi(0));
  EXPECT_EQ(couleur(h, 0), QColor(0x80, 0x80, 0x80));
  // Ctrl+Alt+F5 tells the program's and the file's versions.
  QKeyEvent touche(QEvent::KeyPress, Qt::Key_F5, Qt::ControlModifier | Qt::AltModifier);
  QApplication::sendEvent(Controle<QTableView>(f, "VisuVisees"), &touche);
  ASSERT_EQ(e.g.dialogues.Messages().size(), 1u);
  EXPECT_EQ(e.g.dialogues.Messages()[0].rfind("Version logiciel / fichier = ", 0), 0u);
}

TEST(TableFenetre, SelectionMemoLeverEtDeclinaison) {
  Essai e;
  TFichePrincipale& f = *e.f;
  Choisit(Controle<QComboBox>(f, "CavitesBox"), "Alpha");
  auto lever = std::make_unique<survey::TLever>();
  foundation::EncodeDate(2021, 7, 14, lever->LaDate);
  lever->Declinaison = 2.25;
  survey::TLever* l = e.alpha->Levers.Add(std::move(lever));
  TVisee* v = e.alpha->LaVisee(2);
  v->LeLever = l;
  v->PtCalc->Commentaire = {"Salle du Chaos"};
  v->PtCalc->SuiteObs.Add(std::make_unique<survey::TTypeDObs>());
  f.Zone().SelectionneLigne(f.Zone().Table().LigneDe(v));
  EXPECT_EQ(Controle<QLineEdit>(f, "LeverEdit")->text(), "14/07/2021");
  EXPECT_EQ(Controle<QLabel>(f, "DeclinText")->text(), QString::fromStdString("Déclinaison : " + l->DeclinStr()));
  EXPECT_EQ(Controle<QPlainTextEdit>(f, "VisuComment")->toPlainText(), "Salle du Chaos");
  EXPECT_FALSE(Controle<QToolButton>(f, "EditSuiteBtn")->isHidden());
  EXPECT_EQ(survey::Document().LeverCourant, l);
  EXPECT_EQ(survey::Document().NomGalerieCourante, "Principale");
  // A splay row: its own comment, no continuation button.
  emit Controle<QTableView>(f, "VisuVisees")->horizontalHeader()->sectionClicked(1);
  TViseeHabi* h = e.alpha->LaVisee(1)->LaViseeHabi(0);
  h->CommentVisee = {"paroi"};
  f.Zone().SelectionneLigne(f.Zone().Table().LigneDe(h));
  EXPECT_EQ(Controle<QPlainTextEdit>(f, "VisuComment")->toPlainText(), "paroi");
  EXPECT_TRUE(Controle<QToolButton>(f, "EditSuiteBtn")->isHidden());
  // The default trip takes no declination.
  f.Zone().SelectionneLigne(0);
  EXPECT_EQ(Controle<QLabel>(f, "DeclinText")->text(), "");
}

TEST(TableFenetre, AjoutInsertionRectificationGardentLaCorrespondance) {
  Essai e;
  TFichePrincipale& f = *e.f;
  Choisit(Controle<QComboBox>(f, "CavitesBox"), "Alpha");
  int ajouts = 0;
  f.Zone().CreeVisee = [&](TCavite& c, TVisee* source) -> survey::TValeurVisee* {
    if (ajouts == 2) return nullptr;  // the dialog is cancelled the third time
    ++ajouts;
    return e.Ajoute(c, source);
  };
  // "Visée +" is there to use once the shot dialog is.
  EXPECT_FALSE(Controle<QToolButton>(f, "AjoutButton")->isEnabled());
  f.MajEtatControles();
  // Splays shown: the new shots go after the last shot's splays.
  emit Controle<QTableView>(f, "VisuVisees")->horizontalHeader()->sectionClicked(1);
  f.Zone().SelectionneLigne(f.Zone().Table().Nombre() - 1);
  // Add waits for the shot-entry dialog, which this test stands in for: the
  // window's edition installed again with the table's creation gives the
  // button its handler.
  EXPECT_FALSE(Controle<QToolButton>(f, "AjoutButton")->isEnabled());
  f.InstalleEditionVisees();
  f.MajEtatControles();
  EXPECT_TRUE(Controle<QToolButton>(f, "AjoutButton")->isEnabled());
  Controle<QToolButton>(f, "AjoutButton")->click();
  EXPECT_EQ(ajouts, 2);
  EXPECT_EQ(Rangees(f.Zone().Table()), OrdreCavite(*e.alpha, true));
  EXPECT_EQ(f.Zone().Table().Visee(f.Zone().LigneFocus())->EstHabi, false);
  EXPECT_EQ(static_cast<TVisee*>(f.Zone().Table().Visee(f.Zone().LigneFocus()))->PointVise->DesignPTopo, "N2");
  EXPECT_TRUE(survey::Document().DocumentModifie);

  // Inserting before the focused shot.
  f.Zone().CreeVisee = [&](TCavite& c, TVisee* source) { return e.Insere(c, source); };
  TVisee* cible = testsurvey::ReseauTest::ViseeEntre(*e.alpha, "2", "3");
  f.Zone().SelectionneLigne(f.Zone().Table().LigneDe(cible));
  Touche(Controle<QTableView>(f, "VisuVisees"), Qt::Key_Insert);
  EXPECT_FALSE(survey::Document().InsertionVisee);
  EXPECT_EQ(Rangees(f.Zone().Table()), OrdreCavite(*e.alpha, true));
  EXPECT_EQ(static_cast<TVisee*>(f.Zone().Table().Visee(f.Zone().LigneFocus()))->PointVise->DesignPTopo, "I3");
  // The source starts at the new station: its text was made again.
  EXPECT_EQ(f.Zone().Modele().data(f.Zone().Modele().index(f.Zone().Table().LigneDe(cible), 0)).toString(), "I3");

  // Correcting: the texts of the row and of those after it are made again.
  bool vu = false;
  f.Zone().RectifVisee = [&](TCavite&, survey::TValeurVisee& v) {
    vu = survey::Document().RectifEnCours;
    v.Az = 250;
    return true;
  };
  const int l = f.Zone().Table().LigneDe(cible);
  f.Zone().SelectionneLigne(l);
  EXPECT_EQ(f.Zone().Modele().data(f.Zone().Modele().index(l, 2)).toString().trimmed(), "0.0 °");
  emit Controle<QTableView>(f, "VisuVisees")->doubleClicked(f.Zone().Modele().index(l, 0));
  EXPECT_TRUE(vu);
  EXPECT_FALSE(survey::Document().RectifEnCours);
  EXPECT_EQ(f.Zone().Modele().data(f.Zone().Modele().index(l, 2)).toString().trimmed(), "250.0 °");
}

TEST(TableFenetre, SuppressionsEtCaptionApresLaDerniereViseeDHabillage) {
  Essai e;
  TFichePrincipale& f = *e.f;
  Choisit(Controle<QComboBox>(f, "CavitesBox"), "Alpha");
  auto* vue = Controle<QTableView>(f, "VisuVisees");
  emit vue->horizontalHeader()->sectionClicked(1);
  // A splay: its own question, then the row goes.
  TViseeHabi* h = e.alpha->LaVisee(3)->LaViseeHabi(0);
  f.Zone().SelectionneLigne(f.Zone().Table().LigneDe(h));
  e.g.dialogues.QueueAnswer(Answer::Yes);
  Touche(vue, Qt::Key_Delete);
  EXPECT_EQ(e.g.dialogues.Log().back().text, "Voulez-vous supprimer cette visée d'habillage");
  EXPECT_EQ(Rangees(f.Zone().Table()), OrdreCavite(*e.alpha, true));
  EXPECT_EQ(Titre(f, 1), "Point Visé  -");
  // The two others; the caption loses its mark with the last one.
  for (int i = 0; i < 2; ++i) {
    f.Zone().SelectionneLigne(f.Zone().Table().LigneDe(e.alpha->LaVisee(1)->LaViseeHabi(0)));
    e.g.dialogues.QueueAnswer(Answer::Yes);
    Touche(vue, Qt::Key_Delete);
  }
  EXPECT_EQ(Titre(f, 1), "Point Visé  ");
  EXPECT_EQ(Rangees(f.Zone().Table()), OrdreCavite(*e.alpha, false));
  // A click on the column then does nothing.
  emit vue->horizontalHeader()->sectionClicked(1);
  EXPECT_EQ(Titre(f, 1), "Point Visé  ");

  // A main shot refused, then accepted: the row above becomes the focus.
  TVisee* derniere = e.alpha->Visees.Last();
  f.Zone().SelectionneLigne(f.Zone().Table().LigneDe(derniere));
  e.g.dialogues.QueueAnswer(Answer::No);
  Touche(vue, Qt::Key_Delete);
  EXPECT_EQ(f.Zone().Table().Nombre(), 4);
  e.g.dialogues.QueueAnswer(Answer::Yes);
  Touche(vue, Qt::Key_Delete);
  EXPECT_EQ(f.Zone().Table().Nombre(), 3);
  EXPECT_EQ(Rangees(f.Zone().Table()), OrdreCavite(*e.alpha, false));
  EXPECT_EQ(f.Zone().LigneFocus(), 2);
  vue->grab();  // painting reads only live shots (the sanitizer watches)
}

TEST(TableFenetre, SupprimerLaSeuleLigneLaisseUneTableVideSansSelection) {
  Essai e(false);
  TCavite* seule = e.doc.Cavite("Seule", "G A: 1\nE1 - 1");
  (void)seule;
  e.Ouvre();
  TFichePrincipale& f = *e.f;
  Choisit(Controle<QComboBox>(f, "CavitesBox"), "Seule");
  ASSERT_EQ(f.Zone().Table().Nombre(), 1);
  f.Zone().SelectionneLigne(0);
  e.g.dialogues.QueueAnswer(Answer::Yes);
  Touche(Controle<QTableView>(f, "VisuVisees"), Qt::Key_Delete);
  EXPECT_EQ(f.Zone().Table().Nombre(), 0);
  EXPECT_EQ(f.Zone().Modele().rowCount(), 0);
  EXPECT_EQ(f.Zone().LigneFocus(), -1);
  EXPECT_FALSE(Controle<QTableView>(f, "VisuVisees")->selectionModel()->hasSelection());
}

TEST(TableFenetre, UneErreurDeDessinEstMarqueeEtSignaleeUneFoisApresLeRemplissage) {
  Essai e(false);
  TVisee* v = e.alpha->LaVisee(2);
  survey::TPointSpeleo* station = v->PointStation;
  v->PointStation = nullptr;  // a damaged shot: no origin
  v->PtOrigCalc = nullptr;
  e.Ouvre();
  TFichePrincipale& f = *e.f;
  f.show();
  Choisit(Controle<QComboBox>(f, "CavitesBox"), "Alpha");
  // One report, once the table is filled.
  ASSERT_EQ(e.g.dialogues.Messages().size(), 1u);
  EXPECT_EQ(e.g.dialogues.Messages()[0], "erreur sur visée 3");
  // Drawing the table (again and again) only marks the cell.
  auto* vue = Controle<QTableView>(f, "VisuVisees");
  for (int i = 0; i < 3; ++i) {
    vue->viewport()->grab();
    QApplication::processEvents();
  }
  EXPECT_EQ(e.g.dialogues.Messages().size(), 1u);
  const int l = f.Zone().Table().LigneDe(v);
  EXPECT_EQ(f.Zone().Modele().data(f.Zone().Modele().index(l, 1), Qt::BackgroundRole).value<QColor>(),
            QColor(0xFF, 0xC0, 0xC0));
  EXPECT_EQ(f.Zone().Modele().data(f.Zone().Modele().index(l, 1), Qt::ToolTipRole).toString(), "erreur sur visée 3");
  f.hide();
  v->PointStation = station;
}

TEST(TableFenetre, SupprimerLaCaviteSelectionneeNeLitPasLaCaviteLiberee) {
  Essai e;
  TFichePrincipale& f = *e.f;
  f.show();
  Choisit(Controle<QComboBox>(f, "CavitesBox"), "Alpha");
  emit Controle<QTableView>(f, "VisuVisees")->horizontalHeader()->sectionClicked(1);
  f.Zone().SelectionneLigne(2);
  QApplication::processEvents();
  // Refused, then accepted.
  e.g.dialogues.QueueAnswer(Answer::No);
  Controle<QAction>(f, "SuppressionCav")->trigger();
  EXPECT_EQ(e.doc.CavitesSupprimees, 0);
  e.g.dialogues.QueueAnswer(Answer::Yes);
  Controle<QAction>(f, "SuppressionCav")->trigger();
  EXPECT_EQ(e.doc.CavitesSupprimees, 1);
  EXPECT_EQ(e.g.dialogues.Log().back().text, "Voulez-vous supprimer la cavité Alpha");
  // The next cave of the selector is shown; nothing points at Alpha any more.
  EXPECT_EQ(e.doc.NomCavite(e.doc.Active), "Beta");
  EXPECT_EQ(Rangees(f.Zone().Table()), OrdreCavite(*e.beta, true));
  QComboBox* caves = Controle<QComboBox>(f, "CavitesBox");
  ASSERT_EQ(caves->count(), 1);
  EXPECT_EQ(caves->itemText(0), "Beta");
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_NE(survey::Document().LeverCourant, nullptr);  // Beta's
  Controle<QTableView>(f, "VisuVisees")->viewport()->grab();
  QApplication::processEvents();
  f.hide();
}

TEST(TableFenetre, NavigationGaleriesEtEntrees) {
  Essai e;
  TFichePrincipale& f = *e.f;
  TCavite& b = *e.beta;
  // The gallery list (not the tree): choosing a gallery selects its last shot.
  f.Zone().GalParArbre = false;
  QComboBox* galeries = Controle<QComboBox>(f, "GaleriesBox");
  ASSERT_EQ(galeries->count(), 2);
  EXPECT_EQ(galeries->itemText(0), "Affluent");
  Choisit(galeries, "Affluent");
  EXPECT_EQ(f.Zone().Table().Visee(f.Zone().LigneFocus()), testsurvey::ReseauTest::ViseeEntre(b, "20", "21"));
  Controle<QToolButton>(f, "DebutGalBtn")->click();
  EXPECT_EQ(f.Zone().Table().Visee(f.Zone().LigneFocus()), testsurvey::ReseauTest::ViseeEntre(b, "11", "20"));
  // Its attachment: the shot before its first shot.
  Controle<QToolButton>(f, "RatgalBtn")->click();
  EXPECT_EQ(f.Zone().Table().Visee(f.Zone().LigneFocus()), testsurvey::ReseauTest::ViseeEntre(b, "10", "11"));
  EXPECT_EQ(galeries->currentText(), "Entree");
  Controle<QToolButton>(f, "FinGalBtn")->click();
  EXPECT_EQ(f.Zone().Table().Visee(f.Zone().LigneFocus()), b.DerniereViseeGalActive());

  // The tree: entering the selector opens it on the active gallery.
  f.Zone().GalParArbre = true;
  f.show();
  f.Zone().GaleriesBoxClick();
  auto* arbre = Controle<QTreeWidget>(f, "ArbreGaleries");
  EXPECT_TRUE(arbre->isVisible());
  EXPECT_FALSE(galeries->isEnabled());
  ASSERT_NE(arbre->currentItem(), nullptr);
  EXPECT_EQ(arbre->currentItem()->text(0), QString::fromStdString(b.LaGalerieActive->NomGalerie));
  QTreeWidgetItem* affluent = arbre->findItems("Affluent", Qt::MatchRecursive).value(0);
  ASSERT_NE(affluent, nullptr);
  f.Zone().ArbreGaleriesClick(affluent);
  EXPECT_EQ(b.LaGalerieActive->NomGalerie, "Affluent");
  f.Zone().ArbreGaleriesExit();
  EXPECT_FALSE(arbre->isVisible());
  EXPECT_TRUE(galeries->isEnabled());

  // Entrances: choosing the selected one does nothing; the other reorders.
  QComboBox* entrees = Controle<QComboBox>(f, "EntreesBox");
  const std::string avant = Rangees(f.Zone().Table());
  Choisit(entrees, QString::fromStdString(b.EntreeSelectee->DesignPTopo));
  EXPECT_EQ(Rangees(f.Zone().Table()), avant);
  Choisit(entrees, b.EntreeSelectee->DesignPTopo == "E2" ? "E3" : "E2");
  EXPECT_NE(Rangees(f.Zone().Table()), avant);
  EXPECT_EQ(Rangees(f.Zone().Table()), OrdreCavite(b, false));
  f.hide();
}

TEST(TableFenetre, RechercheParLeDialogue) {
  Essai e;
  TFichePrincipale& f = *e.f;
  TCavite& b = *e.beta;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), "Recherche d'une visée");
    dlg->findChild<QLineEdit*>("NomEdit")->setText("1");
    dlg->findChild<QCheckBox*>("ExacteChk")->setChecked(false);
    dlg->findChild<QPushButton*>("OKBtn")->click();
  });
  Controle<QToolButton>(f, "CherchePtBtn")->click();
  const int premiere = f.Zone().LigneFocus();
  ASSERT_GE(premiere, 0);
  EXPECT_TRUE(Controle<QToolButton>(f, "RepeteRechercheBtn")->isEnabled());
  Controle<QToolButton>(f, "RepeteRechercheBtn")->click();
  EXPECT_GT(f.Zone().LigneFocus(), premiere);
  (void)b;
  // A refill drops the search.
  f.Zone().RafraichitCavite();
  EXPECT_FALSE(Controle<QToolButton>(f, "RepeteRechercheBtn")->isEnabled());

  // A station that is not there: said, and the dialog stays for another name.
  platform::ScriptedDialogs& messages = e.g.dialogues;
  messages.Clear();
  const int avant = f.Zone().LigneFocus();
  bool resteOuvert = false;
  QTimer::singleShot(0, [&] {
    auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dlg, nullptr);
    dlg->findChild<QLineEdit*>("NomEdit")->setText("ZZ9");
    dlg->findChild<QCheckBox*>("ExacteChk")->setChecked(true);
    dlg->findChild<QPushButton*>("OKBtn")->click();
    resteOuvert = dlg->isVisible();
    dlg->reject();
  });
  Controle<QToolButton>(f, "CherchePtBtn")->click();
  EXPECT_TRUE(resteOuvert);
  EXPECT_EQ(messages.Messages(), std::vector<std::string>{"Le point ZZ9 n'a pas été trouvé."});
  EXPECT_EQ(f.Zone().LigneFocus(), avant);
  EXPECT_FALSE(Controle<QToolButton>(f, "RepeteRechercheBtn")->isEnabled());
}

TEST(TableFenetre, ListeImprimeeEnPdf) {
  if (Sortie("command -v pdftotext").empty()) GTEST_SKIP() << "pdftotext absent";
  Essai e;
  TFichePrincipale& f = *e.f;
  testsupport::DossierTemp dossier;
  auto sortie = std::make_unique<TSortiePdf>();
  int dialogues = 0;
  sortie->DialogueScripte = [&](int pages, platform::Printer& imprimante) -> std::optional<ChoixImpression> {
    ++dialogues;
    EXPECT_GE(pages, 1);
    return ChoixImpression{&imprimante, 0, 0};
  };
  f.Zone().FixeSortieImpression(std::move(sortie));
  // The whole table: both galleries of Beta.
  e.g.dialogues.QueueFile(dossier.Fichier("beta.pdf"));
  Controle<QToolButton>(f, "ImprimeButton")->click();
  EXPECT_EQ(dialogues, 1);
  std::string texte = Sortie("pdftotext -layout '" + dossier.Fichier("beta.pdf") + "' -");
  EXPECT_NE(texte.find("Impression du réseau Réseau d'essai"), std::string::npos) << texte;
  EXPECT_NE(texte.find("Cavité : Beta"), std::string::npos);
  EXPECT_NE(texte.find("Page 1"), std::string::npos);
  EXPECT_NE(texte.find("Page 2"), std::string::npos);
  EXPECT_NE(texte.find("Galerie : Affluent"), std::string::npos);
  // The active gallery alone.
  e.beta->LaGalerieActive = e.beta->UneGalerie(1);
  e.g.dialogues.QueueFile(dossier.Fichier("affluent.pdf"));
  Controle<QToolButton>(f, "ImprimeGalButton")->click();
  texte = Sortie("pdftotext -layout '" + dossier.Fichier("affluent.pdf") + "' -");
  EXPECT_NE(texte.find("Galerie : Affluent"), std::string::npos) << texte;
  EXPECT_EQ(texte.find("Galerie : Entree"), std::string::npos);
  EXPECT_EQ(texte.find("Page 2"), std::string::npos);
  // Cancelled: nothing written, nothing said.
  f.Zone().FixeSortieImpression(std::make_unique<TSortiePdf>());
  auto* pdf = new TSortiePdf;
  pdf->DialogueScripte = [](int, platform::Printer&) { return std::optional<ChoixImpression>(); };
  f.Zone().FixeSortieImpression(std::unique_ptr<SortieImpressionListe>(pdf));
  const size_t avant = e.g.dialogues.Log().size();
  Controle<QToolButton>(f, "ImprimeButton")->click();
  EXPECT_EQ(e.g.dialogues.Log().size(), avant);
}

namespace {

// The coordinate columns (X, Y, Z, S Lh) of every row, as the table shows them.
std::string TextesCoordonnees(TFichePrincipale& f) {
  QStringList t;
  for (int l = 0; l < f.Zone().Table().Nombre(); ++l)
    for (int c = 9; c <= 12; ++c) t << f.Zone().Modele().data(f.Zone().Modele().index(l, c)).toString().trimmed();
  return t.join('|').toStdString();
}

// The same after the network is computed afresh (the button up and down).
std::string TextesRecalcules(TFichePrincipale& f) {
  QToolButton* coord = Controle<QToolButton>(f, "CoordBtn");
  coord->click();
  coord->click();
  EXPECT_TRUE(coord->isChecked());
  return TextesCoordonnees(f);
}

bool ColonnesCoordonneesVisibles(TFichePrincipale& f) {
  auto* vue = Controle<QTableView>(f, "VisuVisees");
  for (int c = 9; c <= 12; ++c)
    if (vue->isColumnHidden(c)) return false;
  return Controle<QToolButton>(f, "CoordBtn")->isChecked() && survey::Affichage().CoordonneesAffichees;
}

}  // namespace

// With "Coord." down, every edit leaves the coordinate columns shown and
// filled with the network computed after the edit: a correction, an added
// shot, an inserted one and a deletion each read as a fresh computation.
TEST(TableFenetre, LesCoordonneesAfficheesSuiventChaqueModification) {
  Essai e;
  TFichePrincipale& f = *e.f;
  Choisit(Controle<QComboBox>(f, "CavitesBox"), "Alpha");
  Controle<QToolButton>(f, "CoordBtn")->click();
  ASSERT_TRUE(ColonnesCoordonneesVisibles(f));
  auto* vue = Controle<QTableView>(f, "VisuVisees");

  // A correction of the second shot moves every station after it.
  TVisee* cible = testsurvey::ReseauTest::ViseeEntre(*e.alpha, "1", "2");
  f.Zone().RectifVisee = [](TCavite&, survey::TValeurVisee& v) {
    v.Az = 90;
    v.Long = 7.5;
    return true;
  };
  const std::string avant = TextesCoordonnees(f);
  const int l = f.Zone().Table().LigneDe(cible);
  f.Zone().SelectionneLigne(l);
  emit vue->doubleClicked(f.Zone().Modele().index(l, 0));
  std::string apres = TextesCoordonnees(f);
  EXPECT_NE(apres, avant) << "the stations moved";
  EXPECT_TRUE(ColonnesCoordonneesVisibles(f));
  EXPECT_EQ(apres, TextesRecalcules(f)) << "after the correction";

  // An added shot: its station's coordinates are there at once.
  int ajouts = 0;
  f.Zone().CreeVisee = [&](TCavite& c, TVisee* source) -> survey::TValeurVisee* {
    return ajouts++ == 0 ? e.Ajoute(c, source) : nullptr;
  };
  f.Zone().SelectionneLigne(f.Zone().Table().Nombre() - 1);
  const int calculs = e.doc.Calculs;
  f.Zone().AjoutButtonClick();
  ASSERT_EQ(ajouts, 2);
  EXPECT_EQ(e.doc.Calculs, calculs + 1) << "one computation for the shot added";
  EXPECT_TRUE(ColonnesCoordonneesVisibles(f));
  apres = TextesCoordonnees(f);
  EXPECT_EQ(apres, TextesRecalcules(f)) << "after the addition";

  // An inserted shot.
  f.Zone().CreeVisee = [&](TCavite& c, TVisee* source) { return e.Insere(c, source); };
  f.Zone().SelectionneLigne(f.Zone().Table().LigneDe(testsurvey::ReseauTest::ViseeEntre(*e.alpha, "2", "3")));
  Touche(vue, Qt::Key_Insert);
  EXPECT_TRUE(ColonnesCoordonneesVisibles(f));
  apres = TextesCoordonnees(f);
  EXPECT_EQ(apres, TextesRecalcules(f)) << "after the insertion";

  // A deleted shot.
  f.Zone().SelectionneLigne(f.Zone().Table().LigneDe(e.alpha->Visees.Last()));
  e.g.dialogues.QueueAnswer(Answer::Yes);
  Touche(vue, Qt::Key_Delete);
  EXPECT_TRUE(ColonnesCoordonneesVisibles(f));
  apres = TextesCoordonnees(f);
  EXPECT_EQ(apres, TextesRecalcules(f)) << "after the deletion";
  vue->grab();
}
