// The shot table's row commands without any window: add, insert, correct,
// delete a shot or a splay, delete the active cave, and the one computation
// per operation.  A recording view stands in for the table's window, the
// scripted dialog port answers the questions and a script stands in for the
// shot-entry dialog; each command is checked on the document (stations,
// coordinates after the computation) and on the rows' mapping.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/table/commandes_visees.h"
#include "app/commun/config_generale.h"
#include "app/document/gestion_document.h"
#include "app/document/document_reseau.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/ports_survey.h"
#include "survey/visee.h"
#include "tests/app/reseau_essai.h"

using namespace app;
using platform::Answer;
using survey::TCavite;
using survey::TPointSpeleo;
using survey::TValeurVisee;
using survey::TVisee;
using survey::TViseeHabi;
using testsurvey::ReseauTest;

namespace {

// The table's window as the commands see it: the focused row, the rows
// refilled from the active cave, and every request written down in order.
class VueEssai : public VueTableVisees {
 public:
  explicit VueEssai(TGestionDocument& gestion) : gestion_(gestion) {}
  TCommandesVisees* Commandes = nullptr;
  int Focus = -1;
  std::vector<std::string> Journal;
  // Called when the view is told to let go of the active cave.
  std::function<void()> AuLacher;

  TTableVisees& Table() { return Commandes->Table(); }
  int Compte(const std::string& quoi) const { return static_cast<int>(std::count(Journal.begin(), Journal.end(), quoi)); }

  int LigneFocus() const override { return Focus; }
  void SelectionneLigne(int ligne) override {
    if (ligne >= 0 && ligne < Commandes->Table().Nombre()) Focus = ligne;
  }
  void AucuneLigne() override {
    Focus = -1;
    Journal.push_back("AucuneLigne");
  }
  void AvantInsertion(int ligne) override { insertion_ = ligne; }
  void ApresInsertion() override {
    if (Focus >= insertion_) ++Focus;
    Journal.push_back("Insertion");
  }
  void AvantRetrait(int premier, int dernier) override {
    Focus = Focus > dernier ? Focus - (dernier - premier + 1) : (Focus >= premier ? -1 : Focus);
  }
  void ApresRetrait() override { Journal.push_back("Retrait"); }
  void Reinitialise(const std::function<void()>& changement) override {
    changement();
    Focus = -1;
    Journal.push_back("Reinitialise");
  }
  void TextesChanges(int, int) override {}
  void LignesModifiees() override { Journal.push_back("LignesModifiees"); }
  void InvalideTextesVisees() override {
    Table().InvalideTout();
    Journal.push_back("InvalideTextes");
  }
  void RemplitListeVisees(TValeurVisee* aSelectionner) override {
    TCavite* c = Commandes->CaviteActive();
    if (c)
      Table().Remplit(*c, Commandes->AfficheViseesHab);
    else
      Table().Vide();
    Focus = aSelectionner ? Table().LigneDe(aSelectionner) : -1;
    Journal.push_back("Remplit");
  }
  void RafraichitCavite() override {
    TCavite* c = Commandes->CaviteActive();
    RemplitListeVisees(c && !c->Visees.Vide() ? c->Visees.Last() : nullptr);
  }
  void AnnuleCoordonnees() override {
    Commandes->MajCoordonnees();
    Journal.push_back("AnnuleCoordonnees");
  }
  void AfficheGaleries() override { Journal.push_back("AfficheGaleries"); }
  void MajMenuCoupes() override { Journal.push_back("MajMenuCoupes"); }
  void VerifieViseesHabi() override { Journal.push_back("VerifieViseesHabi"); }
  std::vector<int32_t> PositionsCavites() const override {
    std::vector<int32_t> r;
    for (const auto& [position, nom] : app::AfficheListeCavites(*gestion_.Reseau(), -1).Cavites) r.push_back(position);
    return r;
  }
  void LacheCavite() override {
    if (AuLacher) AuLacher();
    Table().Vide();
    Focus = -1;
    Journal.push_back("LacheCavite");
  }
  void AfficheListeCavites(bool) override { Journal.push_back("AfficheListeCavites"); }
  void MajEtatControles() override { Journal.push_back("MajEtatControles"); }
  void MajMnuSauve() override { Journal.push_back("MajMnuSauve"); }

 private:
  TGestionDocument& gestion_;
  int insertion_ = -1;
};

// The rows as "station>target" ("~target" for a splay of the shot ending there).
std::string Rangees(const TTableVisees& t) {
  std::string s;
  for (const TValeurVisee* v : t.Lignes()) {
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

double Distance(const TPointSpeleo& a, const TPointSpeleo& b) {
  return std::sqrt((a.X - b.X) * (a.X - b.X) + (a.Y - b.Y) * (a.Y - b.Y) + (a.Z - b.Z) * (a.Z - b.Z));
}

// Two caves besides the surface, "Alpha" (a splay on its second shot) and
// "Beta", with "Alpha" active and its rows shown, coordinates shown.
struct Essai {
  GardeConfig config;
  survey::GardeDocument document;
  survey::GardeAffichage affichage;
  platform::ScriptedDialogs dialogues;
  platform::ScopedDialogs gardeDialogues{dialogues};
  essai::FabriqueEssai fabrique;
  essai::TReseauEssai& doc = *fabrique.Document;
  TGestionDocument gestion{fabrique.Fonction()};
  VueEssai vue{gestion};
  TCommandesVisees commandes{gestion, vue};
  TCavite* alpha = nullptr;
  TCavite* beta = nullptr;
  int stations = 0;

  Essai() {
    Config() = ConfigGenerale();
    survey::Document() = survey::ContexteDocument();
    survey::Affichage() = survey::ContexteAffichage();
    alpha = doc.Cavite("Alpha", "G Principale: 1 2 3 4\nE1 - 1\n1 - 2\n2 - 3\n3 - 4");
    Habi(alpha->LaVisee(1));
    beta = doc.Cavite("Beta", "G Entree: 10 11 12\nE2 - 10\n10 - 11\n11 - 12");
    gestion.NouveauReseau();
    vue.Commandes = &commandes;
    doc.Active = 1;
    survey::Affichage().CoordonneesAffichees = true;
    doc.CalculeReseau();
    doc.Calculs = 0;
    vue.RafraichitCavite();
    vue.Journal.clear();
  }

  TVisee* Visee(const std::string& de, const std::string& a) const { return ReseauTest::ViseeEntre(*alpha, de, a); }
  TPointSpeleo* Point(const std::string& nom) const {
    for (survey::TGalerie* g : alpha->Galeries)
      for (TPointSpeleo* p : g->Points)
        if (p->DesignPTopo == nom) return p;
    return nullptr;
  }
  void Focalise(const TValeurVisee* v) { vue.Focus = commandes.Table().LigneDe(v); }
  std::string Focalisee() {
    const TValeurVisee* v = commandes.Table().Visee(vue.Focus);
    return v && !v->EstHabi ? static_cast<const TVisee*>(v)->PointVise->DesignPTopo : std::string();
  }

  // The shot dialog's work when adding: a new station after the source's
  // end, in the active gallery.
  TValeurVisee* Ajoute(TCavite& c, TVisee* source) {
    auto p = std::make_unique<TPointSpeleo>();
    p->DesignPTopo = "N" + std::to_string(++stations);
    p->GalduPt = c.LaGalerieActive;
    TPointSpeleo* n = c.LaGalerieActive->Points.Add(std::move(p));
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
  TValeurVisee* Insere(TCavite& c, TVisee* source) {
    EXPECT_TRUE(survey::Document().InsertionVisee);
    auto p = std::make_unique<TPointSpeleo>();
    p->DesignPTopo = "I" + std::to_string(++stations);
    p->GalduPt = source->PtCalc->GalduPt;
    TPointSpeleo* n = p->GalduPt->Points.Add(std::move(p));
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

TEST(CommandesVisees, AjoutJusquALAnnulationPlaceLesLignesEtCalculeLesNouvellesStations) {
  {
    // Without the shot dialog nothing is added.
    Essai e;
    e.commandes.Ajoute();
    EXPECT_TRUE(e.vue.Journal.empty());
  }
  for (const bool habi : {false, true}) {
    SCOPED_TRACE(habi ? "splays shown" : "splays hidden");
    Essai e;
    e.commandes.AfficheViseesHab = habi;
    e.vue.RafraichitCavite();
    e.vue.Journal.clear();
    int ajouts = 0;
    e.commandes.CreeVisee = [&](TCavite& c, TVisee* source) -> TValeurVisee* {
      if (ajouts == 2) return nullptr;  // the dialog is cancelled the third time
      ++ajouts;
      return e.Ajoute(c, source);
    };
    e.Focalise(e.Visee("3", "4"));
    e.commandes.Ajoute();
    EXPECT_EQ(ajouts, 2);
    // Each new row placed where the cave's order puts it, without a refill.
    EXPECT_EQ(Rangees(e.commandes.Table()), OrdreCavite(*e.alpha, habi));
    EXPECT_EQ(e.vue.Compte("Insertion"), 2);
    EXPECT_EQ(e.vue.Compte("Remplit"), 0);
    EXPECT_EQ(e.Focalisee(), "N2");
    EXPECT_TRUE(survey::Document().DocumentModifie);
    // One computation per added shot; the new stations have their places.
    EXPECT_EQ(e.doc.Calculs, 2);
    EXPECT_NEAR(Distance(*e.Point("4"), *e.Point("N1")), 3, 1e-9);
    EXPECT_NEAR(Distance(*e.Point("N1"), *e.Point("N2")), 3, 1e-9);
    EXPECT_EQ(e.vue.Journal.back(), "MajMnuSauve");
  }
}

TEST(CommandesVisees, UneViseeDHabillageAjouteeMontreLesHabillages) {
  Essai e;
  TVisee* source = e.Visee("2", "3");
  e.commandes.CreeVisee = [&, fait = false](TCavite&, TVisee* s) mutable -> TValeurVisee* {
    if (fait) return nullptr;
    fait = true;
    return Habi(s);
  };
  e.Focalise(source);
  e.commandes.Ajoute();
  EXPECT_TRUE(e.commandes.AfficheViseesHab);
  EXPECT_EQ(e.vue.Compte("Remplit"), 1);
  EXPECT_EQ(Rangees(e.commandes.Table()), OrdreCavite(*e.alpha, true));
  EXPECT_TRUE(e.commandes.Table().EstHabi(e.vue.Focus));
  EXPECT_EQ(e.commandes.Table().ViseePrincipale(e.vue.Focus), source);
}

TEST(CommandesVisees, InsertionAvantLaViseeFocaliseeRefaitSesTextes) {
  Essai e;
  TVisee* cible = e.Visee("2", "3");
  e.commandes.CreeVisee = [&](TCavite& c, TVisee* source) { return e.Insere(c, source); };
  e.Focalise(cible);
  // The source's texts, made before the insertion.
  const int avant = e.commandes.Table().LigneDe(cible);
  e.commandes.Table().Texte(avant, 0);
  e.commandes.Insere();
  EXPECT_FALSE(survey::Document().InsertionVisee);
  EXPECT_TRUE(survey::Document().DocumentModifie);
  EXPECT_EQ(Rangees(e.commandes.Table()), OrdreCavite(*e.alpha, false));
  EXPECT_EQ(e.Focalisee(), "I1");
  // The source starts at the new station: its text is made again.
  EXPECT_EQ(e.commandes.Table().Texte(e.commandes.Table().LigneDe(cible), 0), "I1");
  EXPECT_EQ(e.doc.Calculs, 1);
  EXPECT_NEAR(Distance(*e.Point("2"), *e.Point("I1")), 1, 1e-9);
  EXPECT_NEAR(Distance(*e.Point("I1"), *e.Point("3")), 5, 1e-9);
}

TEST(CommandesVisees, RectificationConfirmeeOuAnnulee) {
  for (const bool confirme : {true, false}) {
    SCOPED_TRACE(confirme ? "confirmed" : "cancelled");
    Essai e;
    TVisee* v = e.Visee("2", "3");
    bool enCours = false;
    e.commandes.RectifVisee = [&](TCavite&, TValeurVisee& rectifiee) {
      enCours = survey::Document().RectifEnCours;
      if (confirme) rectifiee.Long = 8;
      return confirme;
    };
    e.Focalise(v);
    const int l = e.commandes.Table().LigneDe(v);
    for (int i = 0; i < e.commandes.Table().Nombre(); ++i) e.commandes.Table().Texte(i, 0);
    e.commandes.Rectifie();
    EXPECT_TRUE(enCours);
    EXPECT_FALSE(survey::Document().RectifEnCours);
    EXPECT_EQ(survey::Document().DocumentModifie, confirme);
    EXPECT_EQ(e.doc.Calculs, confirme ? 1 : 0);
    EXPECT_NEAR(Distance(*e.Point("2"), *e.Point("3")), confirme ? 8 : 5, 1e-9);
    // The rows keep their shots; the texts from the corrected row on are
    // made again (here every row: the coordinates changed).
    EXPECT_EQ(Rangees(e.commandes.Table()), OrdreCavite(*e.alpha, false));
    EXPECT_EQ(e.commandes.Table().TextesFaits(l), !confirme);
    EXPECT_EQ(e.commandes.Table().TextesFaits(l + 1), !confirme);
  }
}

TEST(CommandesVisees, SuppressionDUneViseeOuDUneViseeDHabillage) {
  struct Cas {
    const char* nom;
    bool habi;       // the splay of 1>2 rather than the shot 2>3
    Answer reponse;  // to the deletion question
    const char* question;
    const char* rangees;  // the rows afterwards
    const char* focus;    // the row focused afterwards (its main shot's target)
  };
  const Cas cas[] = {
      {"main shot, Yes", false, Answer::Yes, "Voulez-vous supprimer la visée", "E1>1 1>2 ~2 3>4", "2"},
      {"main shot, No", false, Answer::No, "Voulez-vous supprimer la visée", "E1>1 1>2 ~2 2>3 3>4", "3"},
      {"splay, Yes", true, Answer::Yes, "Voulez-vous supprimer cette visée d'habillage", "E1>1 1>2 2>3 3>4", "2"},
      {"splay, No", true, Answer::No, "Voulez-vous supprimer cette visée d'habillage", "E1>1 1>2 ~2 2>3 3>4", "2"},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    Essai e;
    e.commandes.AfficheViseesHab = true;
    e.vue.RafraichitCavite();
    // While the network deletes a shot the table holds no row.
    int lignesPendant = -1;
    e.doc.ApresSuppression = [&] { lignesPendant = e.commandes.Table().Nombre(); };
    TValeurVisee* v = k.habi ? static_cast<TValeurVisee*>(e.Visee("1", "2")->LaViseeHabi(0)) : e.Visee("2", "3");
    e.Focalise(v);
    e.dialogues.QueueAnswer(k.reponse);
    e.commandes.SupprimeVisee();
    ASSERT_EQ(e.dialogues.Log().size(), 1u);
    EXPECT_EQ(e.dialogues.Log()[0].text, k.question);
    const bool fait = k.reponse == Answer::Yes;
    EXPECT_EQ(Rangees(e.commandes.Table()), k.rangees);
    EXPECT_EQ(Rangees(e.commandes.Table()), OrdreCavite(*e.alpha, true));
    EXPECT_EQ(e.commandes.Table().ViseePrincipale(e.vue.Focus)->PointVise->DesignPTopo, k.focus);
    // A splay is the commands' own deletion; a main shot's marks the
    // document in the network's (not this stand-in's).
    EXPECT_EQ(survey::Document().DocumentModifie, k.habi && fait);
    EXPECT_EQ(lignesPendant, !k.habi && fait ? 0 : -1);
    // A main shot's deletion computes the network once; a splay's does not.
    EXPECT_EQ(e.doc.Calculs, !k.habi && fait ? 1 : 0);
    EXPECT_EQ(e.vue.Compte("VerifieViseesHabi"), k.habi && fait ? 1 : 0);
  }
}

TEST(CommandesVisees, SuppressionDeLaDerniereLigne) {
  Essai e;
  e.doc.Active = 2;
  e.vue.RafraichitCavite();
  // Beta's rows go one by one from the top; the last deletion leaves none.
  for (int n = 3; n > 0; --n) {
    e.vue.Focus = 0;
    e.dialogues.QueueAnswer(Answer::Yes);
    e.commandes.SupprimeVisee();
    EXPECT_EQ(e.commandes.Table().Nombre(), n - 1);
  }
  EXPECT_EQ(e.vue.Focus, -1);
  EXPECT_EQ(e.vue.Compte("AucuneLigne"), 1);
  EXPECT_EQ(e.dialogues.Unanswered(), 0);
}

TEST(CommandesVisees, SuppressionDeLaCaviteActive) {
  struct Cas {
    const char* nom;
    int32_t active;
    Answer reponse;
    int32_t activeApres;  // the cave active afterwards
    const char* restantes;
  };
  const Cas cas[] = {
      // The next cave of the selector becomes active, at the deleted one's place.
      {"first cave, Yes", 1, Answer::Yes, 1, "Surface Beta"},
      // The last one: the previous cave.
      {"last cave, Yes", 2, Answer::Yes, 1, "Surface Alpha"},
      {"No", 1, Answer::No, 1, "Surface Alpha Beta"},
  };
  for (const Cas& k : cas) {
    SCOPED_TRACE(k.nom);
    Essai e;
    e.doc.Active = k.active;
    e.vue.RafraichitCavite();
    const std::string nom = e.doc.NomCavite(k.active);
    // The view lets go of the cave while it is still there.
    bool presente = false;
    e.vue.AuLacher = [&] { presente = e.doc.CavitesSupprimees == 0 && e.doc.UneCavite(k.active); };
    survey::Document().NomGalerieCourante = "Principale";
    e.dialogues.QueueAnswer(k.reponse);
    e.commandes.SupprimeCaviteActive();
    ASSERT_EQ(e.dialogues.Log().size(), 1u);
    EXPECT_EQ(e.dialogues.Log()[0].text, "Voulez-vous supprimer la cavité " + nom);
    const bool fait = k.reponse == Answer::Yes;
    EXPECT_EQ(presente, fait);
    EXPECT_EQ(e.doc.CavitesSupprimees, fait ? 1 : 0);
    EXPECT_EQ(e.doc.Active, k.activeApres);
    std::string restantes;
    for (const std::string& n : e.doc.NomsCavites()) restantes += (restantes.empty() ? "" : " ") + n;
    EXPECT_EQ(restantes, k.restantes);
    EXPECT_EQ(survey::Document().NomGalerieCourante.empty(), fait);
    EXPECT_EQ(survey::Document().DocumentModifie, fait);
    EXPECT_EQ(e.vue.Compte("AfficheListeCavites"), fait ? 1 : 0);
  }
  // The surface cannot be deleted: no question.
  Essai e;
  e.doc.Active = 0;
  e.commandes.SupprimeCaviteActive();
  EXPECT_TRUE(e.dialogues.Log().empty());
  EXPECT_EQ(e.doc.CavitesSupprimees, 0);
}

TEST(CommandesVisees, UnSeulCalculParOperation) {
  Essai e;
  // Outside an operation each request computes.
  e.commandes.CalculeReseau();
  e.commandes.CalculeReseau();
  EXPECT_EQ(e.doc.Calculs, 2);
  {
    GardeCalcul operation(e.commandes);
    e.commandes.CalculeReseau();
    {
      GardeCalcul interieure(e.commandes);
      e.commandes.MajCoordonnees();
    }
    e.commandes.CalculeReseau();
  }
  EXPECT_EQ(e.doc.Calculs, 3);
  // The next operation computes again.
  e.commandes.MajCoordonnees();
  EXPECT_EQ(e.doc.Calculs, 4);
  // Coordinates hidden: no computation, the texts stay.
  survey::Affichage().CoordonneesAffichees = false;
  e.commandes.Table().Texte(0, 0);
  e.commandes.MajCoordonnees();
  EXPECT_EQ(e.doc.Calculs, 4);
  EXPECT_TRUE(e.commandes.Table().TextesFaits(0));
}

TEST(CommandesVisees, MenusDesLignesSansFenetre) {
  Essai e;
  // The branch end becomes a splay of the shot before: the rows shown
  // again with the splays, its row focused.
  e.Focalise(e.Visee("3", "4"));
  e.commandes.CommandeMenuLigne(ElementMenuLigne::TransfoEnHabi, nullptr, false);
  EXPECT_EQ(e.Point("4"), nullptr);
  EXPECT_TRUE(e.commandes.AfficheViseesHab);
  EXPECT_EQ(Rangees(e.commandes.Table()), "E1>1 1>2 ~2 2>3 ~3");
  ASSERT_TRUE(e.commandes.Table().EstHabi(e.vue.Focus));
  EXPECT_EQ(e.vue.Compte("AnnuleCoordonnees"), 1);
  EXPECT_EQ(e.doc.Calculs, 1);

  // The splay row's item makes it a shot again, focused.
  e.commandes.HabiEnVisee();
  EXPECT_EQ(Rangees(e.commandes.Table()), OrdreCavite(*e.alpha, true));
  const TVisee* focus = e.commandes.Table().ViseePrincipale(e.vue.Focus);
  ASSERT_NE(focus, nullptr);
  EXPECT_FALSE(e.commandes.Table().EstHabi(e.vue.Focus));
  EXPECT_EQ(focus->PointStation->DesignPTopo, "3");
  EXPECT_EQ(focus->PointVise->DesignPTopo, "3-1");

  // The loop item: to its shot in this cave, or a message for another cave.
  e.Focalise(e.Visee("1", "2"));
  e.commandes.CommandeMenuLigne(ElementMenuLigne::PointDeBoucle, e.Visee("2", "3"), false);
  EXPECT_EQ(e.commandes.Table().Visee(e.vue.Focus), e.Visee("2", "3"));
  EXPECT_TRUE(e.dialogues.Messages().empty());
  e.commandes.CommandeMenuLigne(ElementMenuLigne::AllerAVisee, nullptr, true);
  EXPECT_EQ(e.commandes.Table().Visee(e.vue.Focus), e.Visee("2", "3"));
  ASSERT_EQ(e.dialogues.Messages().size(), 1u);

  // The items that open a window are not the commands': nothing happens.
  const std::string avant = Rangees(e.commandes.Table());
  e.vue.Journal.clear();
  for (const ElementMenuLigne element : {ElementMenuLigne::CreerCompensation, ElementMenuLigne::ImporterPartie})
    e.commandes.CommandeMenuLigne(element, nullptr, false);
  EXPECT_TRUE(e.vue.Journal.empty());
  EXPECT_EQ(Rangees(e.commandes.Table()), avant);
}

}  // namespace
