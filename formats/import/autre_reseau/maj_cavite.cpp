#include "formats/import/autre_reseau/maj_cavite.h"

#include <cmath>
#include <map>
#include <memory>
#include <tuple>
#include <unordered_set>

#include "drawing/annexe_cavite.h"
#include "drawing/croquis.h"
#include "drawing/elements_dessin.h"
#include "drawing/objet_trait.h"
#include "drawing/point_dessin.h"
#include "formats/contexte_formats.h"
#include "formats/import/autre_reseau/appariement.h"
#include "formats/import/autre_reseau/cadre_autre_reseau.h"
#include "formats/import/autre_reseau/import_cavites.h"
#include "formats/import/import_fichier_autre.h"
#include "formats/import/import_sauf_tprb.h"
#include "foundation/catalogue.h"
#include "foundation/codage.h"
#include "foundation/utilitaires.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/dossiers.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "survey/sauve_fich_txt.h"
#include "survey/visee.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;
using survey::TCavite;
using survey::TGalerie;
using survey::TLever;
using survey::TPointSpeleo;
using survey::TReseau;
using survey::TVisee;

namespace {

// Whether two equivalent shots run the same way (the same computed
// direction in plan, or for steep shots the same sign of height difference).
bool MemeSens(const TVisee& a, const TVisee& b) {
  if (a.LhCalc > ToleranceMaj && b.LhCalc > ToleranceMaj) return std::cos(a.AzCalc - b.AzCalc) >= 0;
  return (a.DhCalc >= 0) == (b.DhCalc >= 0);
}

}  // namespace

// --- The update of the imported cave -----------------------------------------------------------

TCavite* TImportSaufTPRB::CaviteImport() const { return ACavite ? ACavite.get() : Reseau->CaviteImportee; }

bool TImportSaufTPRB::MarqueViseesNouvelles() {
  TCavite* c = CaviteImport();
  if (!c) return false;
  for (TVisee* v : c->Visees) v->Marque = false;
  bool r = false;
  for (TVisee* v : c->Visees) {
    for (TPointSpeleo* p : {v->PointStation, v->PointVise})
      if (p && !p->EstPointSurface()) p->PtAEffacer = true;
    TVisee* p = v->ViseePreced();
    if (v->ViseeEquiv || !p) continue;
    if (!p->Marque && !p->ViseeEquiv) continue;
    v->Marque = true;
    if (TVisee* e = p->ViseeEquiv) {
      // The new survey hooks onto the existing station.
      TPointSpeleo* accroche = MemeSens(*p, *e) ? e->PtCalc : e->PtOrigCalc;
      if (accroche && v->PtOrigCalc) v->RemplaceExtremite(v->PtOrigCalc, accroche);
      r = true;
    }
  }
  if (r)
    for (TVisee* v : c->Visees)
      if (v->Marque)
        for (TPointSpeleo* p : {v->PointStation, v->PointVise})
          if (p) p->PtAEffacer = false;
  return r;
}

bool TImportSaufTPRB::SelectModifs(TCavite* existante) {
  CaviteExistante = existante;
  TCavite* c = CaviteImport();
  if (!c || !existante) return false;
  bool r = false;
  {
    GardeToleranceAppariement tolerance(ToleranceMaj);
    AppareilleVisees(*existante, *c);
    r = MarqueViseesNouvelles();
  }
  if (!r) {
    for (TVisee* v : c->Visees)
      for (TPointSpeleo* p : {v->PointStation, v->PointVise})
        if (p) p->PtAEffacer = false;
    return false;
  }
  NettoieCroquisMaj(*c, *existante);
  // The pairing has served: no link survives the shots about to go.
  for (TVisee* v : existante->Visees) v->ViseeEquiv = nullptr;
  for (TVisee* v : c->Visees) {
    v->ViseeEquiv = nullptr;
    v->AEffacer = !v->Marque;
  }
  c->EffaceViseesSupprimees();
  NettoieCaviteMaj(*c);
  return true;
}

void TImportSaufTPRB::ImportPartieDeCavite() {
  TCavite* c = CaviteImport();
  TCavite* e = CaviteExistante;
  if (!c || !e) return;
  drawing::TAnnexeDessinCavite* ac = drawing::AnnexeDessin(c);
  drawing::TAnnexeDessinCavite* ae = drawing::AnnexeDessin(e);
  if (ac && ae) {
    for (auto& s : ac->DessinsPkTp.ExtraitSi([](const drawing::TDessinPkTp*) { return true; })) {
      if (s->EstDessinVide()) continue;
      s->DessinAltiRef = ae->LeDessinAltiOr;
      ae->DessinsPkTp.Add(std::move(s));
    }
  }
  for (auto& g : c->Galeries.ExtraitTout()) {
    g->CaviteRef = e;
    e->Galeries.Add(std::move(g));
  }
  std::vector<TVisee*> deplacees;
  for (auto& v : c->Visees.ExtraitTout()) {
    v->CavDeLaVis = e;
    deplacees.push_back(e->Visees.Add(std::move(v)));
  }
  std::vector<std::unique_ptr<TLever>> levers;
  while (!c->Levers.Vide()) levers.push_back(c->Levers.Extract(c->Levers.Count() - 1));
  for (auto it = levers.rbegin(); it != levers.rend(); ++it) {
    if ((*it)->Topofil) e->ATopofil = true;
    e->Levers.Add(std::move(*it));
  }
  if (ae && ae->LeDessinAltiOr)
    for (TVisee* v : deplacees)
      if (v->SensDessinCoupeOr != 1) ae->LeDessinAltiOr->AjouteViseeCoupe(v);
  c->ListePoints.Clear();
  c->ListeEntrees.Clear();
  c->ListeEntreesCalculees.Clear();
  c->EntreesCalcul.Clear();
  c->EntreeSelectee = c->SauveEntreeSelectee = c->RefCalculAlti = c->PointImport = nullptr;
  c->LaGalerieActive = nullptr;
}

void NettoieCaviteMaj(TCavite& c) {
  c.NettoieLevers();
  survey::TSuppressions s;
  for (TGalerie* g : c.Galeries)
    for (TPointSpeleo* p : g->Points)
      if (p->PtAEffacer) s.AjoutePoint(p);
  for (TGalerie* g : c.Galeries)
    for (TPointSpeleo* p : g->Points) p->PtAEffacer = false;
  if (!s.Vide()) c.SupprimePoints(s);
  c.Galeries.SupprimeSi([](const TGalerie* g) { return g->Points.Vide(); });
  if (c.LaGalerieActive && c.Galeries.IndexOf(c.LaGalerieActive) < 0) c.LaGalerieActive = nullptr;
}

// --- Sketch cleaning ---------------------------------------------------------------------------

namespace {

using drawing::TCoupePkTp;
using drawing::TDessinPkTp;
using drawing::TObjetDonneesBasique;
using drawing::TObjetTexte;

struct IndexCroquis {
  // By drawing (0 plan, 1 elevation), point count and colour: the lines.
  std::map<std::tuple<int, int, int32_t>, std::vector<const TObjetDonneesBasique*>> lignes;
  // By drawing and text: the texts.
  std::map<std::pair<int, std::string>, std::vector<const TObjetTexte*>> textes;
  // By drawing, station name and position.
  std::map<std::tuple<int, std::string, double, double>, int> coupes;
};

double Somme(const TObjetDonneesBasique& o, int dessin) { return dessin == 0 ? o.SommePlani : o.SommeAlti; }

std::tuple<int, std::string, double, double> CleCoupe(int dessin, const TCoupePkTp& c) {
  const double l = c.PointPosition ? c.PointPosition->LHab : 0;
  const double a = c.PointPosition ? c.PointPosition->AngleHab : 0;
  return {dessin, c.StationRef ? c.StationRef->DesignPTopo : std::string(), l, a};
}

IndexCroquis Indexe(const TCavite& existante) {
  IndexCroquis x;
  const drawing::TAnnexeDessinCavite* a = drawing::AnnexeDessin(&existante);
  if (!a) return x;
  for (const TDessinPkTp* s : a->DessinsPkTp) {
    int dessin = 0;
    for (const drawing::TListeDonneesSVG* d : {&s->pktpDessinPlani, &s->pktpDessinAltiOr}) {
      for (const TObjetDonneesBasique* l : d->LesMultiPoints)
        x.lignes[{dessin, l->Points.Count(), l->CouleurPkTp}].push_back(l);
      for (const TObjetTexte* t : d->LesTextes) x.textes[{dessin, t->UnTexte}].push_back(t);
      ++dessin;
    }
    for (const TCoupePkTp* c : s->pktpCoupesPlani) x.coupes[CleCoupe(0, *c)] = 1;
    for (const TCoupePkTp* c : s->pktpCoupesAlti) x.coupes[CleCoupe(1, *c)] = 1;
  }
  return x;
}

bool MemeApparence(const TObjetDonneesBasique& a, const TObjetDonneesBasique& b) {
  if (a.CouleurPkTp != -1) return a.CouleurPkTp == b.CouleurPkTp;
  const auto* ta = dynamic_cast<const drawing::TDefObjetTrait*>(a.MotifDessin);
  const auto* tb = dynamic_cast<const drawing::TDefObjetTrait*>(b.MotifDessin);
  if (!ta || !tb) return ta == tb;
  return ta->MemeApparence(*tb);
}

bool PolyligneDejaPresente(const IndexCroquis& x, const TObjetDonneesBasique& l, int dessin) {
  const auto it = x.lignes.find({dessin, l.Points.Count(), l.CouleurPkTp});
  if (it == x.lignes.end()) return false;
  for (const TObjetDonneesBasique* e : it->second)
    if (std::fabs(Somme(*e, dessin) - Somme(l, dessin)) < 0.1 && MemeApparence(l, *e)) return true;
  return false;
}

bool TexteDejaPresent(const IndexCroquis& x, const TObjetTexte& t, int dessin) {
  const auto it = x.textes.find({dessin, t.UnTexte});
  if (it == x.textes.end()) return false;
  for (const TObjetTexte* e : it->second)
    if (std::fabs(Somme(*e, dessin) - Somme(t, dessin)) < 0.1) return true;
  return false;
}

// Points move to the equivalent shot; a point of an old shot without
// equivalent goes.
void RetiePoints(TObjetDonneesBasique& o) {
  o.Points.SupprimeSi([](drawing::TPointDessin* p) {
    TVisee* v = p->VisRefDessin;
    if (!v) return false;
    if (v->ViseeEquiv) {
      p->VisRefDessin = v->ViseeEquiv;
      return false;
    }
    return !v->Marque;
  });
}

void RetiePoint(drawing::TPointDessin* p) {
  if (p && p->VisRefDessin && p->VisRefDessin->ViseeEquiv) p->VisRefDessin = p->VisRefDessin->ViseeEquiv;
}

void NettoiePolylignesMaj(const IndexCroquis& x, drawing::TListeDonneesDessin& d, int dessin) {
  d.SupprimeLignes([&](const TObjetDonneesBasique* l) { return PolyligneDejaPresente(x, *l, dessin); });
  for (TObjetDonneesBasique* l : d.LesMultiPoints) RetiePoints(*l);
}

void NettoieTextesMaj(const IndexCroquis& x, drawing::TListeDonneesDessin& d, int dessin) {
  d.LesTextes.SupprimeSi([&](TObjetTexte* t) { return TexteDejaPresent(x, *t, dessin); });
  for (TObjetTexte* t : d.LesTextes) RetiePoints(*t);
}

void NettoieCoupesMaj(const IndexCroquis& x, drawing::TListeElements<TCoupePkTp>& coupes, int dessin) {
  coupes.SupprimeSi([&](TCoupePkTp* c) { return x.coupes.count(CleCoupe(dessin, *c)) != 0; });
  for (TCoupePkTp* c : coupes) {
    RetiePoint(c->PointDeCoupe.get());
    RetiePoint(c->PointPosition.get());
  }
}

}  // namespace

void NettoieCroquisMaj(TCavite& importee, const TCavite& existante) {
  drawing::TAnnexeDessinCavite* a = drawing::AnnexeDessin(&importee);
  if (!a || a->DessinsPkTp.Vide()) return;
  const IndexCroquis x = Indexe(existante);
  for (TDessinPkTp* s : a->DessinsPkTp) {
    {
      foundation::GardeTypeDessin plan(foundation::TTypeDeDessin::tddPlani);
      NettoiePolylignesMaj(x, s->pktpDessinPlani, 0);
      NettoieTextesMaj(x, s->pktpDessinPlani, 0);
      NettoieCoupesMaj(x, s->pktpCoupesPlani, 0);
    }
    {
      foundation::GardeTypeDessin alti(foundation::TTypeDeDessin::tddAltiOr);
      NettoiePolylignesMaj(x, s->pktpDessinAltiOr, 1);
      NettoieTextesMaj(x, s->pktpDessinAltiOr, 1);
      NettoieCoupesMaj(x, s->pktpCoupesAlti, 1);
    }
  }
}

// --- Comparison --------------------------------------------------------------------------------

std::string CheminRapport(const std::string& nomCavite) {
  const std::string& document = survey::Document().NomFichierCourant;
  std::string dossier = document.empty() ? std::string() : platform::FolderOf(document);
  if (dossier.empty()) dossier = survey::DossierDeTravail();
  return dossier + foundation::NettoieNomFichier(nomCavite + Msg(IdMsg::AutreRapportSuffixe));
}

std::string RapportComparaison(const std::string& chemin, TReseau& ouvert, TReseau& second, TCavite& comparee,
                               TCavite& active) {
  AppareilleVisees(active, comparee);
  second.LaCaviteActive = &comparee;
  const std::string& document = survey::Document().NomFichierCourant;
  TRapportMaj rapport;
  rapport.Lignes = EcritRapport(active, document, comparee, chemin);
  rapport.ReseauActif = &ouvert;
  rapport.ReseauCharge = &second;
  if (ContexteFormats().FenetresAutreReseau.AfficheRapport) ContexteFormats().FenetresAutreReseau.AfficheRapport(rapport);
  survey::TSauveFichTxt fichier;
  fichier.Lignes = EcritRapport(active, document, comparee, chemin);
  const std::string nom = CheminRapport(active.NomCavite);
  if (!fichier.EcritLignes(nom, survey::Encodage::Windows1252)) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error,
                                             foundation::RemplaceMarques(Msg(IdMsg::AutreRapportNonEcrit), {nom}));
    return std::string();
  }
  return nom;
}

bool CompareCavites(const std::string& chemin, int type) {
  TReseau* ouvert = survey::Document().ReseauCourant;
  TCavite* active = ouvert ? ouvert->LaCaviteActive : nullptr;
  if (!active || active->EstSurface) return false;
  TCadreAutreReseau cadre;
  TReseau& second = cadre.Second();
  TCavite* comparee = nullptr;
  if (foundation::EnMinuscules(platform::ExtensionOf(chemin)) != ".cav") {
    second.CreeCaviteSurface();
    if (ImporteFichierAutre(chemin, type, false, &second)) comparee = second.CaviteImportee;
  } else if (cadre.LitDocument(chemin)) {
    comparee = ChoisitCaviteReseau(second);
  }
  cadre.OuvertCourant();
  if (!comparee) return false;
  RapportComparaison(chemin, *ouvert, second, *comparee, *active);
  // The shots of the open cave keep their marks, not links into a network
  // about to be freed.
  OublieEquivalencesExternes(*active);
  return true;
}

// --- Update ------------------------------------------------------------------------------------

bool MajCaviteDepuisCarnet(const std::string& chemin) {
  TReseau* ouvert = survey::Document().ReseauCourant;
  TCavite* active = ouvert ? ouvert->LaCaviteActive : nullptr;
  if (!active || active->EstSurface) return false;
  const std::string extension = foundation::EnMinuscules(platform::ExtensionOf(chemin));
  if (extension == ".txt") {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning,
                                             foundation::RemplaceMarques(Msg(IdMsg::AutreCarnetTexteRefuse), {chemin}));
    return false;
  }
  const int type = extension == ".top" ? TypeImportPocketTopo : TypeImportTopoDroid;
  TCadreAutreReseau cadre;
  TReseau& second = cadre.Second();
  second.CreeCaviteSurface();
  GardeContexteCroquis croquis(true);
  std::unique_ptr<tImportAutres> base = CreeLecteurImport(chemin, type, &second);
  auto* lecteur = dynamic_cast<TImportSaufTPRB*>(base.get());
  if (!lecteur) return false;
  lecteur->TypeAppli = type;
  lecteur->EstMaj = true;
  bool ok = false;
  {
    GardeImport import;
    ok = lecteur->ImporterFichier(chemin);
  }
  cadre.OuvertCourant();
  TCavite* importee = ok ? lecteur->CaviteImport() : nullptr;
  if (!importee) return false;
  TEquivalences eq(cadre);
  const bool nouveautes = lecteur->SelectModifs(active);
  if (!nouveautes) {
    const std::string question =
        foundation::RemplaceMarques(Msg(IdMsg::AutreAucunPointCommun), {chemin, active->NomCavite});
    if (platform::Dialogs::Current().AskYesNo(question) != platform::Answer::Yes) {
      OublieEquivalencesExternes(*active);
      return false;
    }
  }
  // Surface points the kept shots end on become the open network's.
  std::vector<TPointSpeleo*> surface;
  for (TVisee* v : importee->Visees)
    for (TPointSpeleo* p : {v->PointStation, v->PointVise})
      if (p && p->EstPointSurface() && TCavite::CaviteDuPoint(p) != active) surface.push_back(p);
  for (TPointSpeleo* p : surface)
    if (TPointSpeleo* n = eq.CopiePointSurfaceImporte(p); n && n != p)
      for (TVisee* v : importee->Visees)
        if (v->PointStation == p || v->PointVise == p) v->RemplaceExtremite(p, n);
  eq.RemappeDessins(*importee);
  for (TLever* l : importee->Levers) eq.RemappeLever(*l);
  lecteur->ImportPartieDeCavite();
  eq.TransfereObjetsPartages();
  OublieEquivalencesExternes(*active);
  active->ReGenereListePoints(false);
  ouvert->UneCavite(0)->ReGenereListePoints(false);
  ouvert->CreeListeLevers();
  cadre.Copie();
  return true;
}

}  // namespace formats
