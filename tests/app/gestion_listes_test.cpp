// The operator, instrument and surface-point managers driven through their
// controls, questions and file dialogs scripted: instrument kinds and their
// correction, deletion of what nothing uses, operator renaming and merging,
// the instrument and operator files, the surface-point list (sorts,
// additions, corrections, deletions, the two exports read back by Python's
// csv module, latitudes and longitudes checked against PROJ's cs2cs), and
// the main window's commands on a real document.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTreeWidget>
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/commun/config_generale.h"
#include "app/commun/contexte_app.h"
#include "app/document/document_survey.h"
#include "app/fiche_principale.h"
#include "app/reseau/fiche_pts_surface.h"
#include "app/reseau/instruments_dlg.h"
#include "app/reseau/operateurs_dlg.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "survey/compens.h"
#include "survey/contexte_document.h"
#include "survey/dossiers.h"
#include "survey/gestion_listes.h"
#include "survey/liste_points.h"
#include "survey/observation.h"
#include "survey/ports_survey.h"
#include "tests/app/saisie_essai.h"
#include "tests/support/dossier_temp.h"
#include "tests/support/garde_contextes.h"
#include "tests/survey/reseau_calcul.h"

namespace {

using essai::Clic;
using essai::Enfant;
using essai::SurLaFenetreModale;
using platform::Answer;
using survey::TCavite;
using survey::TInstrument;
using survey::TOperateur;
using survey::TPointSpeleo;
using survey::TTypeInst;

// A scripted port that lets the test look at the window when a question is
// asked.
class Dialogues : public platform::ScriptedDialogs {
 public:
  std::function<void()> AvantQuestion;
  Answer AskYesNo(const std::string& texte, const std::string& titre) override {
    if (AvantQuestion) AvantQuestion();
    return ScriptedDialogs::AskYesNo(texte, titre);
  }
};

// Every context set aside, the dialogs scripted, a network "Gouffre" whose
// document lies in a temporary folder.
struct Essai {
  testsupport::GardeContextes contextes;
  Dialogues dialogues;
  platform::ScopedDialogs gardeDialogues{dialogues};
  testsupport::DossierTemp dossier;
  testsurvey::ReseauCalcul n;

  Essai() {
    app::Config() = app::ConfigGenerale();
    n.R().Nom = "Gouffre";
    survey::Document().NomFichierCourant = dossier.Fichier("Gouffre.cav");
  }
  survey::TReseau& R() { return n.R(); }
  TOperateur* Operateur(const std::string& nom) {
    auto o = std::make_unique<TOperateur>();
    o->DesignOpe = nom;
    return R().ListeOperateurs.Add(std::move(o));
  }
  TInstrument* Instrument(const std::string& nom, TTypeInst type) {
    auto i = std::make_unique<TInstrument>();
    i->DesignInstr = nom;
    i->TypeInstr = type;
    return R().ListeInstruments.Add(std::move(i));
  }
  std::string Messages() const {
    std::string s;
    for (const std::string& m : dialogues.Messages()) s += m + "\n";
    return s;
  }
};

QStringList Lignes(QTreeWidget* t, int colonne) {
  QStringList l;
  for (int i = 0; i < t->topLevelItemCount(); ++i) l << t->topLevelItem(i)->text(colonne);
  return l;
}

QStringList Lignes(QComboBox* b) {
  QStringList l;
  for (int i = 0; i < b->count(); ++i) l << b->itemText(i);
  return l;
}

std::vector<std::string> NomsOperateurs(const survey::TReseau& r) {
  std::vector<std::string> noms;
  for (const TOperateur* o : r.ListeOperateurs) noms.push_back(o->DesignOpe);
  return noms;
}

std::string Sortie(const std::string& commande) {
  std::string r;
  FILE* f = ::popen(commande.c_str(), "r");
  if (!f) return r;
  char tampon[4096];
  size_t n;
  while ((n = std::fread(tampon, 1, sizeof tampon, f)) > 0) r.append(tampon, n);
  ::pclose(f);
  return r;
}

}  // namespace

// --- Instruments ------------------------------------------------------------------------------

TEST(GestionInstruments, TypesIndeterminesNonRectifiablesPuisRendus) {
  Essai e;
  TCavite* c = e.n.Cavite("Grotte");
  TInstrument* suunto = e.Instrument("Suunto", TTypeInst::tiAucun);
  TInstrument* topofil = e.Instrument("Topofil", TTypeInst::tiAucun);
  TInstrument* libre = e.Instrument("Libre", TTypeInst::tiPente);
  survey::TLever* l1 = e.n.Lever(c);
  l1->InstrumentAz = suunto;
  l1->InstrumentL = topofil;
  survey::TLever* l2 = e.n.Lever(c);
  l2->InstrumentL = suunto;

  app::TRectifInstrDlg d(e.R());
  EXPECT_EQ(d.windowTitle(), "Rectification d'un instrument");
  auto* liste = Enfant<QTreeWidget>(d, "ListeInstruments");
  EXPECT_EQ(liste->headerItem()->text(0), "Désignation");
  EXPECT_EQ(liste->headerItem()->text(1), "Type de mesure");
  EXPECT_EQ(Lignes(liste, 0), (QStringList{"Suunto", "Topofil", "Libre"}));
  EXPECT_EQ(Lignes(liste, 1), (QStringList{"Indéterminé", "Distance", "Pente"}));
  EXPECT_EQ(liste->currentItem(), liste->topLevelItem(0));
  EXPECT_EQ(suunto->TypeInstr, TTypeInst::tiIndet);

  // The undetermined one is refused.
  emit liste->itemDoubleClicked(liste->topLevelItem(0), 0);
  ASSERT_EQ(e.dialogues.Messages().size(), 1u);
  EXPECT_EQ(e.dialogues.Messages()[0],
            "Les instruments de type indéterminés ne peuvent pas être rectifiés. Il faut auparavant modifier les "
            "levers qui les utilisent");
  EXPECT_FALSE(d.UneModifInstr);

  // Another is corrected in the instrument sheet, RectifEnCours set around it.
  bool enCours = false;
  SurLaFenetreModale([&](QDialog& fiche) {
    enCours = survey::Document().RectifEnCours;
    EXPECT_EQ(Enfant<QLineEdit>(fiche, "DesignationEdit")->text(), "Topofil");
    Enfant<QLineEdit>(fiche, "DesignationEdit")->setText("Topofil Vulcain");
    Clic(fiche, "OKBtn");
  });
  emit liste->itemDoubleClicked(liste->topLevelItem(1), 0);
  EXPECT_TRUE(enCours);
  EXPECT_FALSE(survey::Document().RectifEnCours);
  EXPECT_TRUE(d.UneModifInstr);
  EXPECT_EQ(topofil->DesignInstr, "Topofil Vulcain");
  EXPECT_EQ(liste->topLevelItem(1)->text(0), "Topofil Vulcain");

  // Closing gives the undetermined one back its lack of kind; the others keep theirs.
  SurLaFenetreModale([](QDialog& f) { Clic(f, "OKBtn"); });
  d.exec();
  EXPECT_EQ(suunto->TypeInstr, TTypeInst::tiAucun);
  EXPECT_EQ(topofil->TypeInstr, TTypeInst::tiDist);
  EXPECT_EQ(libre->TypeInstr, TTypeInst::tiPente);
}

TEST(GestionInstruments, SuppressionDesInutilisesEtListesVides) {
  Essai e;
  {
    // Nothing at all: the messages, no window.
    app::TRectifInstrDlg rectif(e.R());
    EXPECT_EQ(rectif.exec(), QDialog::Rejected);
    app::TSupprInstrDlg suppr(e.R());
    EXPECT_EQ(suppr.exec(), QDialog::Rejected);
    EXPECT_EQ(e.Messages(), "il n'y a aucun instrument à rectifier.\nil n'y a aucun Instrument à supprimer.\n");
  }
  TCavite* c = e.n.Cavite("Grotte");
  TInstrument* utilise = e.Instrument("Suunto", TTypeInst::tiAzim);
  e.Instrument("Ancien", TTypeInst::tiDist);
  TInstrument* garde = e.Instrument("Gardé", TTypeInst::tiPente);
  e.n.Lever(c)->InstrumentAz = utilise;

  app::TSupprInstrDlg d(e.R());
  EXPECT_EQ(d.windowTitle(), "Suppression d'instrument");
  auto* liste = Enfant<QTreeWidget>(d, "ListeInstruments");
  EXPECT_EQ(Lignes(liste, 0), (QStringList{"Ancien", "Gardé"}));
  EXPECT_EQ(Lignes(liste, 1), (QStringList{"Distance", "Pente"}));
  for (int i = 0; i < 2; ++i) EXPECT_EQ(liste->topLevelItem(i)->checkState(0), Qt::Checked);
  liste->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
  SurLaFenetreModale([](QDialog& f) { Clic(f, "OKBtn"); });
  EXPECT_EQ(d.exec(), QDialog::Accepted);
  ASSERT_EQ(e.R().ListeInstruments.Count(), 2);
  EXPECT_EQ(e.R().ListeInstruments.UnInstrument(0), utilise);
  EXPECT_EQ(e.R().ListeInstruments.UnInstrument(1), garde);
  EXPECT_TRUE(survey::Document().DocumentModifie);
}

TEST(GestionInstruments, ExportPuisImportDansUnDocumentVide) {
  testsupport::DossierTemp ailleurs;
  std::string fichier;
  std::vector<std::unique_ptr<TInstrument>> exportes;
  {
    Essai e;
    TInstrument* a = e.Instrument("Suunto", TTypeInst::tiAzim);
    a->Marque = "Suunto";
    a->Unites = survey::TTypeUnite::tuGrades;
    a->CoeffEtalon = -0.75;
    TInstrument* b = e.Instrument("Clisimètre", TTypeInst::tiPente);
    b->TiGenre = "Clisimètre";
    b->RefPente = 1;
    b->PrecisionAbs = 0.125;
    app::ExporteInstruments(e.R());
    fichier = e.dossier.Fichier("Gouffre.Instr");
    EXPECT_EQ(e.Messages(), "La liste des instruments a été enregistrée dans le fichier " + fichier + "\n");
    const std::string octets = testsupport::LitOctets(fichier);
    ASSERT_EQ(octets.substr(0, 4), std::string("\x02\x00\x00\x00", 4));
    testsupport::EcritOctets(ailleurs.Fichier("liste.Instr"), octets);
    testsupport::EcritOctets(ailleurs.Fichier("tronque.Instr"), octets.substr(0, octets.size() - 3));
    for (const TInstrument* i : e.R().ListeInstruments) exportes.push_back(std::make_unique<TInstrument>(*i));
  }
  Essai e;
  // The open dialog starts in the executable's folder with the instrument filter.
  e.dialogues.QueueFile(ailleurs.Fichier("liste.Instr"));
  EXPECT_TRUE(app::ImporteInstruments(e.R()));
  ASSERT_EQ(e.dialogues.Log().size(), 1u);
  EXPECT_EQ(e.dialogues.Log()[0].options.Filter, "Fichier des instruments (*.Instr)|*.Instr");
  EXPECT_EQ(e.dialogues.Log()[0].options.InitialFolder, survey::DossierExecutable());
  ASSERT_EQ(e.R().ListeInstruments.Count(), 2);
  for (int k = 0; k < 2; ++k) {
    const TInstrument& i = *e.R().ListeInstruments.UnInstrument(k);
    const TInstrument& x = *exportes[static_cast<size_t>(k)];
    EXPECT_EQ(i.DesignInstr, x.DesignInstr);
    EXPECT_EQ(i.Marque, x.Marque);
    EXPECT_EQ(i.TypeInstr, x.TypeInstr);
    EXPECT_EQ(i.Unites, x.Unites);
    EXPECT_EQ(i.CoeffEtalon, x.CoeffEtalon);
    EXPECT_EQ(i.CoeffLecture, x.CoeffLecture);
    EXPECT_EQ(i.PrecisionRel, x.PrecisionRel);
    EXPECT_EQ(i.PrecisionAbs, x.PrecisionAbs);
    EXPECT_EQ(i.TiGenre, x.TiGenre);
    EXPECT_EQ(i.RefPente, x.RefPente);
  }
  EXPECT_TRUE(survey::Document().DocumentModifie);
  // Twice: nothing more.  Truncated: the message, nothing added.
  survey::Document().DocumentModifie = false;
  e.dialogues.QueueFile(ailleurs.Fichier("liste.Instr"));
  EXPECT_FALSE(app::ImporteInstruments(e.R()));
  EXPECT_EQ(e.R().ListeInstruments.Count(), 2);
  EXPECT_FALSE(survey::Document().DocumentModifie);
  e.dialogues.QueueFile(ailleurs.Fichier("tronque.Instr"));
  EXPECT_FALSE(app::ImporteInstruments(e.R()));
  EXPECT_EQ(e.R().ListeInstruments.Count(), 2);
  ASSERT_EQ(e.dialogues.Messages().size(), 1u);
  EXPECT_EQ(e.dialogues.Messages()[0], "Erreur de fichier - Les instruments n'ont pas pu être importés");
}

// --- Operators --------------------------------------------------------------------------------

TEST(GestionOperateurs, RenommerVersUnNomExistantFusionne) {
  Essai e;
  TOperateur* martin = e.Operateur("Martin");
  TOperateur* dupont = e.Operateur("Dupont");
  e.Operateur("Martin");
  TOperateur* alice = e.Operateur("Alice");
  TCavite* c = e.n.Cavite("Grotte");
  e.n.Visee(c, "E1", "1", 0, 0, 10);
  survey::TLever* l = e.n.Lever(c);
  l->Operateurs = {dupont, alice};
  survey::TLever* l2 = e.n.Lever(c);
  l2->Operateurs = {e.R().ListeOperateurs.UnOperateur(2)};
  auto obs = std::make_unique<survey::TTypeDObs>();
  obs->Observateurs = {dupont, e.R().ListeOperateurs.UnOperateur(2)};
  survey::TTypeDObs* observation = e.n.Station(c, "1")->SuiteObs.Add(std::move(obs));

  app::TRectifOpeDlg d(e.R());
  auto* choix = Enfant<QComboBox>(d, "OperateurBox");
  auto* edition = Enfant<QLineEdit>(d, "DesignationEdit");
  auto* valider = Enfant<QPushButton>(d, "ValiderBtn");
  EXPECT_EQ(Lignes(choix), (QStringList{"Alice", "Dupont", "Martin"}));
  EXPECT_EQ(choix->currentText(), "Alice");
  EXPECT_EQ(edition->text(), "Alice");
  EXPECT_FALSE(valider->isEnabled());
  essai::Choisit(choix, "Dupont");
  EXPECT_EQ(edition->text(), "Dupont");
  EXPECT_EQ(d.IndexCourant, 1);
  edition->setText("Martin");
  EXPECT_TRUE(valider->isEnabled());
  Clic(d, "ValiderBtn");
  EXPECT_EQ(Lignes(choix), (QStringList{"Alice", "Martin"}));
  EXPECT_EQ(choix->currentText(), "Martin");
  EXPECT_FALSE(valider->isEnabled());
  EXPECT_TRUE(d.UneModifOpe);
  EXPECT_EQ(d.ListeDesign, (std::vector<std::string>{"Martin", "Martin", "Martin", "Alice"}));
  // Nothing happens to the document before OK.
  EXPECT_EQ(e.R().ListeOperateurs.Count(), 4);
  SurLaFenetreModale([](QDialog& f) { Clic(f, "OKBtn"); });
  EXPECT_EQ(d.exec(), QDialog::Accepted);
  EXPECT_EQ(NomsOperateurs(e.R()), (std::vector<std::string>{"Martin", "Alice"}));
  EXPECT_EQ(e.R().ListeOperateurs.UnOperateur(0), martin);
  EXPECT_EQ(l->Operateurs, (survey::TListeDOperateurs{martin, alice}));
  EXPECT_EQ(l2->Operateurs, (survey::TListeDOperateurs{martin}));
  EXPECT_EQ(observation->Observateurs, (survey::TListeDOperateurs{martin, martin}));
  EXPECT_EQ(observation->Observateurs.OperaText(0), "Martin");
  EXPECT_TRUE(survey::Document().DocumentModifie);
}

TEST(GestionOperateurs, SuppressionDesOperateursSansReference) {
  Essai e;
  app::TSupprOpeDlg vide(e.R());
  EXPECT_EQ(vide.exec(), QDialog::Rejected);
  EXPECT_EQ(e.Messages(), "il n'y a aucun opérateur à supprimer.\n");
  TOperateur* leve = e.Operateur("Levé");
  e.Operateur("Oublié");
  TOperateur* observe = e.Operateur("Observé");
  TOperateur* decoche = e.Operateur("Décoché");
  TCavite* c = e.n.Cavite("Grotte");
  e.n.Visee(c, "E1", "1", 0, 0, 10);
  e.n.Lever(c)->Operateurs = {leve};
  auto obs = std::make_unique<survey::TTypeDObs>();
  obs->Observateurs = {observe};
  // No regeneration: the station is in no derived list yet, and its
  // observer is in use all the same.
  e.n.Station(c, "1")->SuiteObs.Add(std::move(obs));

  app::TSupprOpeDlg d(e.R());
  EXPECT_EQ(d.windowTitle(), "Suppression d'opérateurs");
  auto* liste = Enfant<QListWidget>(d, "ListeOperateurs");
  ASSERT_EQ(liste->count(), 2);
  EXPECT_EQ(liste->item(0)->text(), "Oublié");
  EXPECT_EQ(liste->item(1)->text(), "Décoché");
  liste->item(1)->setCheckState(Qt::Unchecked);
  SurLaFenetreModale([](QDialog& f) { Clic(f, "OKBtn"); });
  d.exec();
  EXPECT_EQ(NomsOperateurs(e.R()), (std::vector<std::string>{"Levé", "Observé", "Décoché"}));
  EXPECT_EQ(e.R().ListeOperateurs.UnOperateur(2), decoche);
  EXPECT_TRUE(survey::Document().DocumentModifie);
}

TEST(GestionOperateurs, ExportEtImportDeListes) {
  Essai e;
  app::ExporteOperateurs(e.R());
  EXPECT_EQ(e.Messages(), "il n'y a aucun opérateur à exporter.\n");
  for (const char* n : {"b", "a", "a", "Martin"}) e.Operateur(n);
  e.dialogues.Clear();
  app::ExporteOperateurs(e.R());
  EXPECT_EQ(e.Messages(), "la liste des opérateurs a été enregistrée dans le fichier Gouffre-ope.txt\n");
  EXPECT_EQ(testsupport::LitOctets(e.dossier.Fichier("Gouffre-ope.txt")), "Martin\r\na\r\nb\r\n");

  struct Cas {
    const char* nom;
    std::string octets;
    std::vector<std::string> apres;
  };
  const std::vector<std::string> avant = {"b", "a", "a", "Martin"};
  const Cas cas[] = {
      {"casse et blancs", "  MARTIN \r\nA\r\n", avant},
      {"ligne vide", "\r\n", {"b", "a", "a", "Martin", ""}},
      {"UTF-8 avec marque", "\xEF\xBB\xBF\xC3\x89lodie\r\n", {"b", "a", "a", "Martin", "Élodie"}},
      {"UTF-16", std::string("\xFF\xFE\xC9\x00l\x00o\x00\r\x00\n\x00", 12), {"b", "a", "a", "Martin", "Élo"}},
      {"Windows-1252", "\xC9lodie", {"b", "a", "a", "Martin", "Élodie"}},
  };
  for (const Cas& c : cas) {
    // Back to the four operators.
    while (e.R().ListeOperateurs.Count() > 4) e.R().ListeOperateurs.Delete(4);
    survey::Document().DocumentModifie = false;
    e.dialogues.Clear();
    const std::string chemin = e.dossier.Fichier("noms.txt");
    testsupport::EcritOctets(chemin, c.octets);
    e.dialogues.QueueFile(chemin);
    EXPECT_EQ(app::ImporteOperateurs(e.R()), c.apres.size() > 4) << c.nom;
    EXPECT_EQ(NomsOperateurs(e.R()), c.apres) << c.nom;
    EXPECT_EQ(survey::Document().DocumentModifie, c.apres.size() > 4) << c.nom;
    ASSERT_EQ(e.dialogues.Log().size(), 1u) << c.nom;
    EXPECT_EQ(e.dialogues.Log()[0].options.Filter, "Fichier Opérateurs (*.txt)|*.txt");
  }
}

// --- Surface points ---------------------------------------------------------------------------

namespace {

QStringList Colonne(app::TFichePtsSurface& f, int colonne) {
  QStringList l;
  for (int i = 0; i < f.Modele().rowCount(); ++i) l << f.Modele().Texte(i, colonne);
  return l;
}

void SelectionneLignes(app::TFichePtsSurface& f, const std::vector<int>& lignes) {
  QItemSelectionModel* s = f.Vue()->selectionModel();
  s->clearSelection();
  for (int l : lignes) s->select(f.Modele().index(l, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  s->setCurrentIndex(f.Modele().index(lignes.front(), 0), QItemSelectionModel::NoUpdate);
}

void Entete(app::TFichePtsSurface& f, int colonne) { emit f.Vue()->horizontalHeader()->sectionClicked(colonne); }

}  // namespace

TEST(GestionPointsSurface, TriParColonnesEtEtatGarde) {
  Essai e;
  e.n.Surface("12a", 30, 5, 100);
  e.n.Surface("2", 10, 7, 99);
  e.n.Surface("B", 20, 6, 101);
  {
    app::TFichePtsSurface f(e.R());
    EXPECT_EQ(f.windowTitle(), "Réseau : Gouffre - Points de Surface");
    const QStringList titres = {"Désign", "X", "Y", "Z", "Nature", "Commentaire"};
    for (int c = 0; c < 6; ++c) EXPECT_EQ(f.Modele().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(), titres[c]);
    EXPECT_EQ(f.Vue()->selectionMode(), QAbstractItemView::ExtendedSelection);
    // The WGS84 export only for a network in a coordinate system.
    EXPECT_TRUE(Enfant<QPushButton>(f, "ExportWGSBtn")->isHidden());
    EXPECT_FALSE(Enfant<QPushButton>(f, "ImportBtn")->isEnabled());
    EXPECT_EQ(Colonne(f, 0), (QStringList{"2", "12a", "B"}));
    EXPECT_EQ(f.Vue()->currentIndex().row(), 0);
    Entete(f, 1);
    EXPECT_EQ(Colonne(f, 0), (QStringList{"2", "B", "12a"}));
    Entete(f, 1);
    EXPECT_EQ(Colonne(f, 0), (QStringList{"12a", "B", "2"}));
    Entete(f, 5);  // the comment column does not sort
    EXPECT_EQ(Colonne(f, 0), (QStringList{"12a", "B", "2"}));
    Entete(f, 3);
    EXPECT_EQ(Colonne(f, 0), (QStringList{"2", "12a", "B"}));
  }
  // The sort lasts for the run: another window opens sorted by Z.
  EXPECT_EQ(app::ContexteApp().PtsSurface.ColonneTri, 3);
  EXPECT_TRUE(app::ContexteApp().PtsSurface.TriCroissant);
  e.R().Projection = "LT 93";
  app::TFichePtsSurface f(e.R());
  EXPECT_EQ(Colonne(f, 3), (QStringList{"99.0", "100.0", "101.0"}));
  EXPECT_FALSE(Enfant<QPushButton>(f, "ExportWGSBtn")->isHidden());
  EXPECT_EQ(Enfant<QPushButton>(f, "ExportWGSBtn")->toolTip(), "exporter les points en WGS84");
}

TEST(GestionPointsSurface, AjoutRepeteCorrectionEtRegenerationALaFermeture) {
  Essai e;
  e.n.Surface("Z");
  int demandes = 0;
  survey::Ports().DialogueCoordonnees = [&](TPointSpeleo& p, const std::string& titre) {
    ++demandes;
    if (survey::Document().RectifEnCours) {
      EXPECT_EQ(titre, "Rectification d'un point de surface");
      p.DesignPTopo = "Y corrigé";
      return true;
    }
    EXPECT_EQ(titre, "Saisie d'un point de surface");
    if (demandes > 2) return false;
    p.DesignPTopo = demandes == 1 ? "A" : "M";
    p.X = demandes;
    return true;
  };
  app::TFichePtsSurface f(e.R());
  EXPECT_FALSE(f.ModifListePoints);
  Clic(f, "AjoutBtn");
  EXPECT_EQ(demandes, 3);
  EXPECT_EQ(Colonne(f, 0), (QStringList{"A", "M", "Z"}));
  EXPECT_EQ(f.Vue()->currentIndex().row(), 1);  // the last point added
  EXPECT_TRUE(f.ModifListePoints);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  // Double-click: the coordinates dialog in correction.
  emit f.Vue()->doubleClicked(f.Modele().index(2, 0));
  EXPECT_FALSE(survey::Document().RectifEnCours);
  EXPECT_EQ(Colonne(f, 0), (QStringList{"A", "M", "Y corrigé"}));
  EXPECT_EQ(f.Vue()->currentIndex().row(), 2);
  // The surface cave's station list knows the new points only once the
  // window has regenerated the caves on closing.
  const survey::TListedePoints& liste = e.R().UneCavite(0)->ListePoints;
  EXPECT_EQ(liste.Count(), 0);
  Clic(f, "FermerBtn");
  EXPECT_EQ(testsurvey::ReseauCalcul::Noms(liste), "A M Y corrigé");
}

TEST(GestionPointsSurface, SuppressionDesSeulsPointsLibres) {
  Essai e;
  TPointSpeleo* vise = e.n.Surface("E1", 0, 0, 0);
  TPointSpeleo* exact = e.n.Surface("E2", 5, 0, 0);
  TPointSpeleo* libre = e.n.Surface("E3", 9, 0, 0);
  e.n.Surface("E4", 12, 0, 0);
  TCavite* c = e.n.Cavite("Grotte");
  e.n.Visee(c, "E1", "1", 0, 0, 10);
  e.n.Regenere();
  auto compens = std::make_unique<survey::TCompens>();
  compens->PtJuste = exact;
  compens->PtFin = e.n.Station(c, "1");
  e.R().Compensations.Add(std::move(compens));

  app::TFichePtsSurface f(e.R());
  ASSERT_EQ(Colonne(f, 0), (QStringList{"E1", "E2", "E3", "E4"}));
  // Only held points selected: the message, nothing asked.
  SelectionneLignes(f, {0, 1});
  Clic(f, "SupprimeBtn");
  EXPECT_EQ(e.Messages(), "Il n' a aucun point à supprimer. Ils ont tous au moins une visée rattachée\n");
  EXPECT_EQ(e.dialogues.Log().size(), 1u);
  EXPECT_EQ(f.Modele().rowCount(), 4);

  // With a free point among them: the question, the rows to go highlighted
  // while it is asked; No keeps everything.
  e.dialogues.Clear();
  QStringList surlignees;
  e.dialogues.AvantQuestion = [&] {
    surlignees.clear();
    for (int i = 0; i < f.Modele().rowCount(); ++i)
      if (f.Modele().data(f.Modele().index(i, 0), Qt::ForegroundRole).value<QColor>() == QColor(Qt::white))
        surlignees << f.Modele().Texte(i, 0);
  };
  SelectionneLignes(f, {0, 1, 2});
  e.dialogues.QueueAnswer(Answer::No);
  Clic(f, "SupprimeBtn");
  EXPECT_EQ(surlignees, QStringList{"E3"});
  ASSERT_EQ(e.dialogues.Log().size(), 1u);
  EXPECT_EQ(e.dialogues.Log()[0].text, "d'accord pour supprimer le(s) point(s) ?");
  EXPECT_EQ(f.Modele().rowCount(), 4);
  EXPECT_FALSE(survey::Document().DocumentModifie);
  for (const TPointSpeleo* p : *e.R().LesPointsSurface()) EXPECT_FALSE(p->Marque) << p->DesignPTopo;
  EXPECT_FALSE(f.Modele().data(f.Modele().index(2, 0), Qt::ForegroundRole).isValid());

  // Yes, through the Delete key: only the free one goes.
  SelectionneLignes(f, {0, 1, 2});
  e.dialogues.QueueAnswer(Answer::Yes);
  QKeyEvent touche(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(f.Vue(), &touche);
  EXPECT_EQ(Colonne(f, 0), (QStringList{"E1", "E2", "E4"}));
  EXPECT_EQ(testsurvey::ReseauCalcul::Noms(*e.R().LesPointsSurface()), "E1 E2 E4");
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_TRUE(f.ModifListePoints);
  EXPECT_EQ(e.R().Compensations.UnObjet(0)->PtJuste, exact);
  EXPECT_GT(vise->NbRatTot, 0);
  (void)libre;
}

// The import button calls the document import for a ".cav" file (any case)
// and the point-file import for anything else; both readers are installed
// here by the test, as start-up installs them.
TEST(GestionPointsSurface, ImportAiguilleSelonLExtension) {
  Essai e;
  {
    app::TFichePtsSurface sans(e.R());
    EXPECT_FALSE(Enfant<QPushButton>(sans, "ImportBtn")->isEnabled());
  }
  std::vector<std::string> appels;
  app::EtatPtsSurface& etat = app::ContexteApp().PtsSurface;
  etat.ImportDocument = [&](const std::string& chemin) {
    appels.push_back("document " + platform::FileNameOf(chemin));
    return false;
  };
  etat.ImportFichier = [&](const std::string& chemin) {
    appels.push_back("points " + platform::FileNameOf(chemin));
    survey::TPointsSurface(*e.R().LesPointsSurface()).AjoutePointFichier("GPS1", "", 1, 2, 3, "", 0);
    return true;
  };
  app::TFichePtsSurface f(e.R());
  ASSERT_TRUE(Enfant<QPushButton>(f, "ImportBtn")->isEnabled());
  for (const char* nom : {"autre.CAV", "traces.gpx", "liste.txt"}) {
    e.dialogues.QueueFile(e.dossier.Fichier(nom));
    Clic(f, "ImportBtn");
  }
  EXPECT_EQ(appels, (std::vector<std::string>{"document autre.CAV", "points traces.gpx", "points liste.txt"}));
  ASSERT_EQ(e.dialogues.Log().size(), 3u);
  EXPECT_EQ(e.dialogues.Log()[0].options.Title, "Ouverture d'un fichier de points à importer");
  EXPECT_EQ(e.dialogues.Log()[0].options.Filter,
            "autre fichier Gravelune (*.cav)|*.cav| Fichier de Points (*.txt)|*.txt|Fichier de Points GPS "
            "(*.gpx)|*.gpx|Tous les fichiers|*.*");
  EXPECT_EQ(Colonne(f, 0), (QStringList{"GPS1", "GPS1"}));
  EXPECT_TRUE(f.ModifListePoints);
  EXPECT_TRUE(survey::Document().DocumentModifie);
}

namespace {

// The rows of a tab-separated file as Python's csv module reads them
// (Windows-1252), each row as its fields.
std::vector<std::vector<std::string>> LuParPython(const std::string& chemin) {
  const std::string script =
      "import csv,sys\n"
      "with open(sys.argv[1], encoding='cp1252', newline='') as f:\n"
      "    for l in csv.reader(f, delimiter='\\t'):\n"
      "        sys.stdout.buffer.write(('\\x1f'.join(l) + '\\x1e').encode('utf-8'))\n";
  testsupport::DossierTemp d;
  testsupport::EcritOctets(d.Fichier("lit.py"), script);
  const std::string sortie = Sortie("/usr/bin/python3 '" + d.Fichier("lit.py") + "' '" + chemin + "'");
  std::vector<std::vector<std::string>> lignes;
  std::string ligne;
  std::istringstream flux(sortie);
  while (std::getline(flux, ligne, '\x1e')) {
    std::vector<std::string> champs;
    std::string champ;
    std::istringstream cf(ligne);
    while (std::getline(cf, champ, '\x1f')) champs.push_back(champ);
    if (!ligne.empty() && ligne.back() == '\x1f') champs.push_back("");
    lignes.push_back(champs);
  }
  return lignes;
}

}  // namespace

TEST(GestionPointsSurface, ExportsLusParPythonEtWGS84SelonCs2cs) {
  Essai e;
  e.R().Projection = "LT 93";
  survey::Affichage().DecimalesCoord = 2;
  TPointSpeleo* a = e.n.Surface("Éboulis", 843210.5, 6420135.25, 1234.56);
  a->Commentaire = {"  entrée ", "", "basse"};
  e.n.Surface("Perte", 700000.125, 6600000.875, -12.345);
  app::TFichePtsSurface f(e.R());
  // In the list's order: "É" comes after the ASCII letters.
  ASSERT_EQ(Colonne(f, 0), (QStringList{"Perte", "Éboulis"}));

  const std::string projete = e.dossier.Fichier("Gouffre-pts-surf.csv");
  e.dialogues.QueueFile(projete);
  Clic(f, "ExportBtn");
  ASSERT_GE(e.dialogues.Log().size(), 1u);
  EXPECT_EQ(e.dialogues.Log()[0].options.FileName, "Gouffre-pts-surf");
  EXPECT_EQ(e.dialogues.Log()[0].options.Filter, "Fichiers csv|*.csv");
  const std::string octets = testsupport::LitOctets(projete);
  EXPECT_NE(octets.find("\r\n\xC9" "boulis\t"), std::string::npos);  // Windows-1252 on disk
  const auto lignes = LuParPython(projete);
  ASSERT_EQ(lignes.size(), 2u) << octets;
  EXPECT_EQ(lignes[0], (std::vector<std::string>{"Perte", "700000.13", "6600000.88", "-12.35", "", ""}));
  // 1234.56 needs 7 characters: written whole.
  EXPECT_EQ(lignes[1], (std::vector<std::string>{"Éboulis", "843210.50", "6420135.25", "1234.56", "", "entrée  basse"}));

  const std::string wgs = e.dossier.Fichier("Gouffre-pts-surf-WGS.csv");
  e.dialogues.QueueFile(wgs);
  Clic(f, "ExportWGSBtn");
  EXPECT_EQ(e.dialogues.Log().back().event, platform::ScriptedDialogs::Event::Message);
  const auto lignesWgs = LuParPython(wgs);
  ASSERT_EQ(lignesWgs.size(), 2u);
  EXPECT_NE(testsupport::LitOctets(wgs).find("\r\n\xC9" "boulis\t"), std::string::npos);
  const std::pair<double, double> points[] = {{700000.125, 6600000.875}, {843210.5, 6420135.25}};
  if (Sortie("command -v cs2cs").empty()) {
    ADD_FAILURE() << "cs2cs absent";
    return;
  }
  for (size_t k = 0; k < 2; ++k) {
    ASSERT_EQ(lignesWgs[k].size(), 6u);
    char commande[200];
    std::snprintf(commande, sizeof commande, "echo %.3f %.3f | cs2cs -f %%.12f EPSG:2154 EPSG:4326", points[k].first,
                  points[k].second);
    const std::string sortie = Sortie(commande);
    double lat = 0, lon = 0;
    ASSERT_EQ(std::sscanf(sortie.c_str(), "%lf %lf", &lat, &lon), 2) << sortie;
    EXPECT_NEAR(std::stod(lignesWgs[k][1]), lat, 1e-9) << lignesWgs[k][0];
    EXPECT_NEAR(std::stod(lignesWgs[k][2]), lon, 1e-9) << lignesWgs[k][0];
  }
  EXPECT_EQ(lignesWgs[1][3], "1234.56");
  EXPECT_EQ(lignesWgs[1][5], "entrée  basse");
}

// --- The main window's commands ---------------------------------------------------------------

TEST(GestionListes, CommandesDeLaFenetrePrincipale) {
  testsupport::GardeContextes contextes;
  Dialogues dialogues;
  platform::ScopedDialogs garde{dialogues};
  testsupport::DossierTemp dossier;
  app::Config() = app::ConfigGenerale();
  survey::Document() = survey::ContexteDocument();
  app::InstalleLiaisonsApplication();
  const std::string chemin = dossier.Fichier("réseau.cav");
  testsupport::EcritOctets(chemin, testsupport::LitOctets(std::string(GRAVELUNE_SOURCE_DIR) +
                                                          "/tests/survey/fixtures/document/reseau_511.cav"));
  app::TFichePrincipale f(app::FabriqueSurvey(), {});
  f.OuvreDocument(chemin);
  auto* document = dynamic_cast<app::TDocumentSurvey*>(f.Gestion().Reseau());
  ASSERT_NE(document, nullptr);
  survey::TReseau& r = document->Reseau();
  const int instruments = r.ListeInstruments.Count();
  dialogues.Clear();

  const auto declenche = [&](const char* nom) {
    QAction* a = f.findChild<QAction*>(QString::fromLatin1(nom));
    ASSERT_NE(a, nullptr) << nom;
    ASSERT_TRUE(a->isEnabled()) << nom;
    a->trigger();
  };
  declenche("ExportInstr");
  const std::string instr = dossier.Fichier("réseau.Instr");
  ASSERT_EQ(dialogues.Messages().size(), 1u);
  EXPECT_EQ(dialogues.Messages()[0], "La liste des instruments a été enregistrée dans le fichier " + instr);
  dialogues.QueueFile(instr);
  declenche("ImportInstr");
  EXPECT_EQ(r.ListeInstruments.Count(), instruments);
  EXPECT_FALSE(survey::Document().DocumentModifie);

  // The surface-point manager, the attachment counts made fresh.
  for (TPointSpeleo* p : *r.LesPointsSurface()) p->NbRatTot = 1000;
  QString titre;
  int surfaces = -1;
  SurLaFenetreModale([&](QDialog& d) {
    titre = d.windowTitle();
    surfaces = static_cast<app::TFichePtsSurface&>(d).Modele().rowCount();
  });
  essai::Clic(f, "SurfaceBton");
  EXPECT_EQ(titre, QString::fromStdString("Réseau : " + r.Nom + " - Points de Surface"));
  EXPECT_EQ(surfaces, r.LesPointsSurface()->Count());
  for (TPointSpeleo* p : *r.LesPointsSurface()) EXPECT_LT(p->NbRatTot, 1000) << p->DesignPTopo;

  dialogues.Clear();
  SurLaFenetreModale([&](QDialog& d) { titre = d.windowTitle(); });
  declenche("RectifOpe");
  EXPECT_EQ(titre, "Rectification des opérateurs");
  f.close();
}
