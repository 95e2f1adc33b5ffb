#include "formats/import/autre_reseau/import_cavites.h"

#include <memory>
#include <unordered_set>

#include "drawing/annexe_cavite.h"
#include "drawing/liste_mtf.h"
#include "drawing/texture.h"
#include "formats/contexte_formats.h"
#include "formats/import/autre_reseau/cadre_autre_reseau.h"
#include "formats/import/import_fichier_autre.h"
#include "foundation/catalogue.h"
#include "foundation/codage.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "survey/cavite.h"
#include "survey/compens.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
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

void Abandon() {
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information, Msg(IdMsg::AutreImportAbandonne));
}

PortsAutreReseau& Fenetres() { return ContexteFormats().FenetresAutreReseau; }

// The surface points the cave's shots end on, once each.
std::vector<TPointSpeleo*> EntreesDe(const TCavite& c) {
  std::vector<TPointSpeleo*> r;
  std::unordered_set<const TPointSpeleo*> vus;
  for (const TVisee* v : c.Visees)
    for (TPointSpeleo* p : {v->PointStation, v->PointVise})
      if (p && p->EstPointSurface() && vus.insert(p).second) r.push_back(p);
  return r;
}

// The cave's references to surface point p now go to n.
void RemplaceEntree(TCavite& c, TPointSpeleo* p, TPointSpeleo* n) {
  if (!n || n == p) return;
  for (TVisee* v : c.Visees) {
    if (v->PointVise == p)
      v->RemplaceExtremite(p, n);
    else if (v->PointStation == p)
      v->RemplaceExtremite(p, n);
  }
  for (TPointSpeleo** r : {&c.EntreeSelectee, &c.SauveEntreeSelectee, &c.PointImport, &c.RefCalculAlti})
    if (*r == p) *r = n;
}

// Links that live in the second network's loop list and adjustments are
// made again by the next computation.
void DetacheCorrections(TCavite& c) {
  for (TVisee* v : c.Visees) {
    v->ValeurBouclage = nullptr;
    v->NumBoucle = -1;
  }
}

}  // namespace

TCavite* ChoisitCaviteReseau(const TReseau& reseau, const std::string& libelle) {
  if (reseau.NombreCavites() == 2) return reseau.UneCavite(1);
  if (reseau.NombreCavites() < 2 || !Fenetres().ChoisitCavite) return nullptr;
  return Fenetres().ChoisitCavite(reseau, libelle);
}

bool ChoisitCavitesImport(const TReseau& reseau, std::vector<bool>& choix) {
  choix.assign(static_cast<size_t>(reseau.NombreCavites()), false);
  if (reseau.NombreCavites() < 2) return false;
  if (reseau.NombreCavites() < 3) {
    choix[1] = true;
    return true;
  }
  if (!Fenetres().ChoisitCavites || !Fenetres().ChoisitCavites(reseau, choix)) return false;
  choix.resize(static_cast<size_t>(reseau.NombreCavites()), false);
  choix[0] = false;
  for (bool b : choix)
    if (b) return true;
  return false;
}

bool ImporteCavitesReseau(const std::string& chemin) {
  TCadreAutreReseau cadre;
  TReseau& second = cadre.Second();
  const bool lu = cadre.LitDocument(chemin);
  cadre.OuvertCourant();
  TReseau* ouvert = cadre.Ouvert();
  std::vector<bool> choix;
  if (!lu || !ouvert || !ChoisitCavitesImport(second, choix)) {
    Abandon();
    return false;
  }
  ouvert->CreeCaviteSurface();
  std::vector<TCavite*> choisies;
  std::unordered_set<const TCavite*> estChoisie;
  for (int i = 1; i < second.NombreCavites(); ++i)
    if (choix[static_cast<size_t>(i)]) {
      choisies.push_back(second.UneCavite(i));
      estChoisie.insert(second.UneCavite(i));
    }
  TEquivalences eq(cadre);
  const auto choisie = [&](const TPointSpeleo* p) {
    const TCavite* c = p ? TCavite::CaviteDuPoint(p) : nullptr;
    return c && estChoisie.count(c);
  };
  // Loop links into caves not chosen go, on both sides.
  for (TCavite* c : second.Cavites)
    for (TGalerie* g : c->Galeries)
      for (TPointSpeleo* p : g->Points) {
        TPointSpeleo* q = p->PtBoucleAsso;
        if (!q || choisie(p) == choisie(q)) continue;
        p->PtBoucleAsso = nullptr;
        p->IndPtBoucle = -1;
        q->IndPtBoucle = -1;
      }
  for (TCavite* c : choisies) {
    for (TPointSpeleo* p : EntreesDe(*c)) RemplaceEntree(*c, p, eq.CopiePointSurfaceImporte(p));
    for (TLever* l : c->Levers) eq.RemappeLever(*l);
    {
      GardeContexteCroquis croquis(false);
      eq.RemappeDessins(*c);
    }
    DetacheCorrections(*c);
    const int i = second.Cavites.IndexOf(c);
    if (second.LaCaviteActive == c) second.LaCaviteActive = nullptr;
    if (second.CaviteImportee == c) second.CaviteImportee = nullptr;
    ouvert->AjouteCavite(second.Cavites.Extract(i));
  }
  // The adjustments of the chosen caves, with their exact point.
  for (int i = second.Compensations.Count() - 1; i >= 0; --i) {
    survey::TCompens* k = second.Compensations.UnObjet(i);
    const TCavite* c = k->PtFin ? TCavite::CaviteDuPoint(k->PtFin) : nullptr;
    if (!c || !estChoisie.count(c)) continue;
    k->PtJuste = eq.CopiePointSurfaceImporte(k->PtJuste);
  }
  std::vector<std::unique_ptr<survey::TCompens>> compens;
  for (int i = second.Compensations.Count() - 1; i >= 0; --i) {
    survey::TCompens* k = second.Compensations.UnObjet(i);
    const TCavite* c = k->PtFin ? TCavite::CaviteDuPoint(k->PtFin) : nullptr;
    if (c && estChoisie.count(c)) compens.push_back(second.Compensations.Extract(i));
  }
  for (auto it = compens.rbegin(); it != compens.rend(); ++it) ouvert->Compensations.Add(std::move(*it));
  eq.TransfereObjetsPartages();
  ouvert->UneCavite(0)->ReGenereListePoints(false);
  for (TCavite* c : choisies) c->ReGenereListePoints(false);
  ouvert->CreeListeLevers();
  cadre.Copie();
  return true;
}

void GardeViseesMarquees(TCavite& partie, TEquivalences& eq) {
  for (TGalerie* g : partie.Galeries)
    for (TPointSpeleo* p : g->Points) p->Marque = false;
  for (TLever* l : partie.Levers) l->Marque = false;
  for (int i = partie.Visees.Count() - 1; i >= 0; --i) {
    TVisee* v = partie.LaVisee(i);
    if (!v->Marque) {
      v->AEffacer = true;
      continue;
    }
    v->AEffacer = false;
    for (TPointSpeleo* p : {v->PtOrigCalc, v->PtCalc})
      if (p) p->Marque = true;
    if (v->LeLever) const_cast<TLever*>(v->LeLever)->Marque = true;
    for (TPointSpeleo* p : {v->PtOrigCalc, v->PtCalc}) {
      if (!p || !p->EstPointSurface() || (i == 0 && p == v->PtOrigCalc)) continue;
      if (TPointSpeleo* n = eq.CopiePointSurfaceImporte(p); n && n != p) v->RemplaceExtremite(p, n);
    }
  }
  for (TLever* l : partie.Levers)
    if (l->Marque) eq.RemappeLever(*l);
  partie.EffaceViseesSupprimees();
  for (TGalerie* g : partie.Galeries)
    for (TPointSpeleo* p : g->Points)
      if (!p->Marque) p->PtAEffacer = true;
  partie.EffacePointsMarques();
  partie.NettoieLevers();
}

void AjoutePartieCaviteActive(TCavite& partie, TCavite& active, TEquivalences& eq) {
  GardeViseesMarquees(partie, eq);
  {
    GardeContexteCroquis croquis(false);
    eq.RemappeDessins(partie);
  }
  DetacheCorrections(partie);
  for (auto& g : partie.Galeries.ExtraitTout()) {
    g->CaviteRef = &active;
    active.Galeries.Add(std::move(g));
  }
  active.ViseeImport0 = partie.Visees.Vide() ? nullptr : partie.LaVisee(0);
  for (auto& v : partie.Visees.ExtraitTout()) {
    v->CavDeLaVis = &active;
    active.Visees.Add(std::move(v));
  }
  std::vector<std::unique_ptr<TLever>> levers;
  while (!partie.Levers.Vide()) levers.push_back(partie.Levers.Extract(partie.Levers.Count() - 1));
  for (auto it = levers.rbegin(); it != levers.rend(); ++it) active.Levers.Add(std::move(*it));
  if (active.Annexe && partie.Annexe) active.Annexe->AjouteDessinsCavite(*partie.Annexe);
  if (active.EchelleTextesDft == -1) active.EchelleTextesDft = partie.EchelleTextesDft;
  partie.ListePoints.Clear();
  partie.ListeEntrees.Clear();
  partie.ListeEntreesCalculees.Clear();
  partie.EntreesCalcul.Clear();
  partie.EntreeSelectee = partie.SauveEntreeSelectee = partie.RefCalculAlti = partie.PointImport = nullptr;
  partie.LaGalerieActive = nullptr;
}

bool ImportePartieAutreCavite(const std::string& chemin, int type, TVisee* viseeFocus) {
  TReseau* ouvert = survey::Document().ReseauCourant;
  TCavite* active = ouvert ? ouvert->LaCaviteActive : nullptr;
  if (!active || active->EstSurface) return false;
  active->ViseeImport0 = nullptr;
  TCadreAutreReseau cadre;
  TReseau& second = cadre.Second();
  second.CalculProjection = false;
  second.TypeImport = 2;
  TCavite* partie = nullptr;
  if (foundation::EnMinuscules(platform::ExtensionOf(chemin)) == ".cav") {
    if (cadre.LitDocument(chemin)) partie = ChoisitCaviteReseau(second, Msg(IdMsg::AutreLibellePartie));
  } else {
    second.CreeCaviteSurface();
    if (ImporteFichierAutre(chemin, type, true, &second)) partie = second.CaviteImportee;
  }
  if (partie) second.LaCaviteActive = partie;
  // The station the part hangs from: the focused shot's computed end.
  TPointSpeleo* attache = nullptr;
  if (viseeFocus) attache = viseeFocus->PointStation == viseeFocus->PtOrigCalc ? viseeFocus->PointVise : viseeFocus->PointStation;
  const bool marque = partie && attache && Fenetres().MarqueViseesPartie && Fenetres().MarqueViseesPartie(*partie);
  cadre.OuvertCourant();
  if (!marque) {
    Abandon();
    return false;
  }
  const TGalerie* galerie = attache->GalduPt;
  const std::string question =
      foundation::RemplaceMarques(Msg(IdMsg::AutreConfirmePartie), {attache->DesignPTopo, galerie ? galerie->NomGalerie : std::string(), active->NomCavite});
  if (platform::Dialogs::Current().AskYesNo(question) != platform::Answer::Yes) {
    Abandon();
    return false;
  }
  {
    TEquivalences eq(cadre);
    AjoutePartieCaviteActive(*partie, *active, eq);
    // The first shot starts on the attachment station.
    if (TVisee* v0 = active->ViseeImport0) {
      TPointSpeleo* origine = v0->PtOrigCalc ? v0->PtOrigCalc : v0->PointStation;
      if (origine && origine != attache) {
        const bool surface = origine->EstPointSurface();
        v0->RemplaceExtremite(origine, attache);
        if (!surface && origine->LstVis.empty()) {
          survey::TSuppressions s;
          s.AjoutePoint(origine, attache);
          active->SupprimePoints(s);
        }
      }
    }
    eq.TransfereObjetsPartages();
  }
  cadre.Copie();
  // Galleries left empty go, the rest is walked again and merged.
  active->ReGenereListePoints(false);
  active->EffacePointsMarques();
  active->FusionneGaleries();
  active->ReGenereListePoints(false);
  ouvert->CreeListeLevers();
  return true;
}

bool ImportePointsSurfaceCav(const std::string& chemin) {
  TCadreAutreReseau cadre;
  TReseau& second = cadre.Second();
  const bool lu = cadre.LitDocument(chemin);
  cadre.OuvertCourant();
  TReseau* ouvert = cadre.Ouvert();
  survey::TListedePoints* points = lu ? second.LesPointsSurface() : nullptr;
  if (!ouvert || !points) return false;
  // Without the selection window every point is taken.
  if (Fenetres().SelectionnePointsSurface) {
    if (!Fenetres().SelectionnePointsSurface(*points)) return false;
  } else {
    for (TPointSpeleo* p : *points) p->Selecte = true;
  }
  ouvert->CreeCaviteSurface();
  TEquivalences eq(cadre);
  for (TPointSpeleo* p : *points)
    if (p->Selecte) eq.CopiePointSurfaceImporte(p);
  eq.TransfereObjetsPartages();
  ouvert->UneCavite(0)->ReGenereListePoints(false);
  return true;
}

bool LitMotifsAutreReseau(const std::string& chemin, const drawing::tListeMtf& bibliotheque,
                          drawing::tListeMtf& resultat) {
  TCadreAutreReseau cadre;
  const bool lu = cadre.LitDocument(chemin);
  cadre.OuvertCourant();
  drawing::tListeMtf* seconde = cadre.BibliothequeSeconde();
  if (!lu || !seconde) return false;
  resultat.ListeTextures.RAZ();
  while (!seconde->ListeTextures.Vide()) resultat.ListeTextures.AjouteMotif(seconde->ListeTextures.ExtraitMotif(0));
  bibliotheque.CreeListesDiff(*seconde, resultat);
  return true;
}

}  // namespace formats
