#include "survey/reseau.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/utilitaires.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "projections/services.h"
#include "survey/annexe_minimale.h"
#include "survey/arbre_galeries.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/listes_document.h"
#include "survey/rapport_calcul.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;

namespace {

constexpr std::array<TGenrePartie, NombrePartiesReseau> Genres = {
    TGenrePartie::BibliothequeMotifs, TGenrePartie::Cartes, TGenrePartie::Bouclages, TGenrePartie::MisesEnPagePlan};

}  // namespace

// --- Life -----------------------------------------------------------------------------------------

TReseau::TReseau() {
  for (TGenrePartie g : Genres) Parties[static_cast<size_t>(g)] = CreePartie(g, *this);
  Active();
}

TReseau::~TReseau() {
  // The computation's state refers to stations: it goes first.
  OublieCalculReseau();
  ContexteDocument& doc = Document();
  if (doc.ReseauCourant == this) doc.ReseauCourant = nullptr;
  ContexteListesDocument& listes = ListesDocument();
  if (listes.Operateurs == &ListeOperateurs) listes.Operateurs = nullptr;
  if (listes.Instruments == &ListeInstruments) listes.Instruments = nullptr;
  ContexteLectureReseau& lecture = LectureReseau();
  for (TCavite* c : Cavites) {
    auto& lues = lecture.ListesViseesLues;
    lues.erase(std::remove(lues.begin(), lues.end(), &c->Visees), lues.end());
    if (lecture.CaviteEnLecture == c) lecture.CaviteEnLecture = nullptr;
  }
  ListeDesLevers.clear();
  // What refers to stations and shots goes before them; what refers to
  // patterns before the library.
  Parties[static_cast<size_t>(TGenrePartie::Bouclages)].reset();
  Compensations.Clear();
  DetruitCavites(Cavites);
  Parties[static_cast<size_t>(TGenrePartie::Cartes)].reset();
  Parties[static_cast<size_t>(TGenrePartie::MisesEnPagePlan)].reset();
  Parties[static_cast<size_t>(TGenrePartie::BibliothequeMotifs)].reset();
}

void TReseau::Active() {
  Document().ReseauCourant = this;
  ListesDocument().Operateurs = &ListeOperateurs;
  ListesDocument().Instruments = &ListeInstruments;
  for (const auto& p : Parties) p->Active();
}

// --- Caves ------------------------------------------------------------------------------------------

TCavite* TReseau::AjouteCavite(std::unique_ptr<TCavite> cavite) {
  cavite->ReseauProprio = this;
  cavite->CavitesReseau = &Cavites;
  AssureAnnexe(*cavite);
  return Cavites.Add(std::move(cavite));
}

void TReseau::CreeCaviteSurface() {
  if (!Cavites.Vide()) return;
  auto c = std::make_unique<TCavite>();
  c->NomCavite = Msg(IdMsg::ReseauNomSurface);
  c->EstSurface = true;
  c->AjouteGalerie(Msg(IdMsg::ReseauPointsDeSurface));
  LaCaviteActive = AjouteCavite(std::move(c));
}

TListedePoints* TReseau::LesPointsSurface() const {
  const TCavite* s = Cavites.First();
  if (!s || !s->EstSurface) return nullptr;
  TGalerie* g = s->Galeries.First();
  return g ? &g->Points : nullptr;
}

TPointSpeleo* TReseau::LePointSurface(int i) const {
  const TListedePoints* l = LesPointsSurface();
  return l ? l->Item(i) : nullptr;
}

bool TReseau::CreeCavite() {
  CreeCaviteSurface();
  const auto nom = platform::Dialogs::Current().Prompt(Msg(IdMsg::ReseauSaisieNomCavite), Msg(IdMsg::ReseauNomDeLaCavite), "");
  if (!nom) return false;
  auto c = std::make_unique<TCavite>();
  c->NomCavite = *nom;
  const bool premiere = Cavites.Count() == 1;
  LaCaviteActive = AjouteCavite(std::move(c));
  if (premiere && Nom.empty()) Nom = *nom;
  return true;
}

int TReseau::AfficheListeCavites(TListeCavites& liste, bool vueDessin) {
  liste.clear();
  if (Cavites.Count() < 2) {
    LaCaviteActive = Cavites.First();
    return -1;
  }
  std::vector<std::pair<std::string, TCavite*>> cles;
  for (int i = 1; i < Cavites.Count(); ++i) {
    TCavite* c = Cavites.UnObjet(i);
    if (vueDessin && (!c->LePoint(c->IndexFinCavite()) || !c->Adessiner)) continue;
    cles.emplace_back(foundation::EnMajuscules(c->NomCavite), c);
  }
  std::stable_sort(cles.begin(), cles.end(),
                   [](const auto& a, const auto& b) { return foundation::CompareNomsPoints(a.first, b.first) < 0; });
  if (!LaCaviteActive) {
    const int32_t rappel = Document().CaviteRappelee;
    LaCaviteActive = rappel >= 1 && rappel < Cavites.Count() ? Cavites.UnObjet(rappel) : Cavites.Last();
  }
  int active = -1;
  for (const auto& [cle, c] : cles) {
    if (c == LaCaviteActive) active = static_cast<int>(liste.size());
    liste.emplace_back(c->NomCavite, c);
  }
  return active;
}

// --- Coordinate system ------------------------------------------------------------------------------

std::string TReseau::ProjectStr() const {
  if (Projection.empty()) return Msg(IdMsg::ReseauCoordonneesIndependantes);
  if (NumFuseau > 0) return Projection + Msg(IdMsg::ReseauTiretFuseau) + foundation::EntierEnStr(NumFuseau);
  return Projection;
}

void TReseau::ChercheParamsProj() {
  if (Projection.empty() || Projection == "UTM") {
    ParamsEllipsoide.clear();
    ParamsDatum.clear();
    ParamsProjection.clear();
    return;
  }
  const projections::TParamsProj p = projections::ChercheParamsProj(Projection);
  ParamsEllipsoide = p.Ellipsoide;
  ParamsDatum = p.Datum;
  ParamsProjection = p.Projection;
}

void TReseau::ChargeParamsProj() {
  if (Projection.empty()) return;
  projections::ChargeParamsProj(Projection, projections::TParamsProj{ParamsEllipsoide, ParamsDatum, ParamsProjection});
}

void TReseau::TransformePointTopo(bool enKm, const std::string& systeme, foundation::TPointTopo& point,
                                  int32_t zone) const {
  if (enKm) {
    point.X *= 1000;
    point.Y *= 1000;
  }
  if (systeme.empty() || Projection.empty() || (systeme == Projection && zone == NumFuseau)) return;
  projections::ChangeProjectionPoint(Projection, NumFuseau, systeme, zone, point);
}

void TReseau::TransformePointSurface(TPointSpeleo& point, const std::string& systeme, int32_t zone) const {
  foundation::TPointTopo p;
  p.X = point.X;
  p.Y = point.Y;
  TransformePointTopo(false, systeme, p, zone);
  point.X = p.X;
  point.Y = p.Y;
}

void TReseau::TransformeObjetTopo(bool enKm, const std::string& systeme, foundation::TObjetTopo& objet,
                                  int32_t zone) const {
  foundation::TPointTopo p;
  p.X = objet.X;
  p.Y = objet.Y;
  TransformePointTopo(enKm, systeme, p, zone);
  objet.X = p.X;
  objet.Y = p.Y;
}

namespace {

// A point of the document in the old system: the first surface point, else
// the first computed entrance of a cave.
bool PointSonde(const TReseau& r, foundation::TPointTopo& sonde) {
  auto prend = [&](const TPointSpeleo* p) {
    if (!p || !std::isfinite(p->X) || !std::isfinite(p->Y)) return false;
    sonde.X = p->X;
    sonde.Y = p->Y;
    return true;
  };
  if (const TListedePoints* surface = r.LesPointsSurface())
    for (const TPointSpeleo* p : *surface)
      if (prend(p)) return true;
  for (const TCavite* c : r.Cavites)
    if (!c->EstSurface && prend(c->LEntree())) return true;
  return false;
}

}  // namespace

bool TReseau::ChangementProjectionPossible(const std::string& ancien, int32_t ancienFuseau, int32_t nouveauFuseau,
                                           const std::string& nouveau) const {
  auto& dialogues = platform::Dialogs::Current();
  for (const std::string* nom : {&ancien, &nouveau}) {
    int index = -1;
    bool multiple = false;
    if (!projections::ChercheProjection(*nom, index, multiple) || index < 0) {
      dialogues.ShowMessage(platform::MessageKind::Error,
                            foundation::RemplaceMarques(Msg(IdMsg::ReseauProjectionInconnue), {*nom}));
      return false;
    }
  }
  foundation::TPointTopo sonde;
  if (PointSonde(*this, sonde) &&
      projections::ChangeProjectionPoint(nouveau, nouveauFuseau, ancien, ancienFuseau, sonde) != projections::CodeFait) {
    dialogues.ShowMessage(platform::MessageKind::Error,
                          foundation::RemplaceMarques(Msg(IdMsg::ReseauConversionImpossible), {ancien, nouveau}));
    return false;
  }
  return true;
}

bool TReseau::ChangeProjection(const std::string& ancien, int32_t ancienFuseau, int32_t nouveauFuseau,
                               const std::string& nouveau) {
  // Independent coordinates on either side, or the same system: nothing to
  // convert.
  if (ancien.empty() || nouveau.empty() || (ancien == nouveau && ancienFuseau == nouveauFuseau)) return true;
  if (!ChangementProjectionPossible(ancien, ancienFuseau, nouveauFuseau, nouveau)) return false;
  if (TListedePoints* surface = LesPointsSurface())
    TPointsSurface(*surface).ChangeProjection(ancien, ancienFuseau, nouveauFuseau, nouveau);
  Partie(TGenrePartie::MisesEnPagePlan).ChangeProjection(ancien, ancienFuseau, nouveauFuseau, nouveau);
  for (TCavite* c : Cavites) {
    if (c->Annexe) c->Annexe->ChangeProjection(ancien, ancienFuseau, nouveauFuseau, nouveau);
    c->CalageDigitPlani.ChangeProjectionCalage(ancien, ancienFuseau, nouveau, nouveauFuseau);
  }
  Partie(TGenrePartie::Cartes).ChangeProjection(ancien, ancienFuseau, nouveauFuseau, nouveau);
  return true;
}

// --- Trips, deletions, merges ------------------------------------------------------------------------

void TReseau::CreeListeLevers() {
  for (TOperateur* o : ListeOperateurs) o->Utilise = false;
  for (TInstrument* i : ListeInstruments) i->Utilise = false;
  ListeDesLevers.clear();
  for (TCavite* c : Cavites)
    for (TLever* l : c->Levers) {
      ListeDesLevers.push_back(l);
      for (TOperateur* o : l->Operateurs)
        if (o) o->Utilise = true;
      for (TInstrument* i : {l->InstrumentAz, l->InstrumentP, l->InstrumentL})
        if (i) i->Utilise = true;
    }
  // Every station the galleries own, whether or not the cave's derived
  // station list is current: an operator named only by an observation is in
  // use and must not be deleted as unused.
  for (TCavite* c : Cavites)
    for (TGalerie* g : c->Galeries)
      for (TPointSpeleo* p : g->Points)
        for (TTypeDObs* obs : p->SuiteObs)
          for (TOperateur* o : obs->Observateurs)
            if (o) o->Utilise = true;
}

void TReseau::NettoieLiensSupprimes() {
  for (int i = Compensations.Count() - 1; i >= 0; --i) {
    TCompens* c = Compensations.UnObjet(i);
    const bool debut = c->PtDebut && c->PtDebut->PtAEffacer;
    if (!debut && (!c->PtFin || !c->PtFin->PtAEffacer)) continue;
    SupprimeCompensation(i);
  }
  if (!LaCaviteActive) return;
  for (int i = 0; i <= LaCaviteActive->IndexFinCavite(); ++i) {
    TPointSpeleo* p = LaCaviteActive->LePoint(i);
    if (p && p->PtBoucleAsso && p->PtBoucleAsso->PtAEffacer) p->PtBoucleAsso = nullptr;
  }
}

void TReseau::SupprimeCompensation(int i) {
  TCompens* c = Compensations.UnObjet(i);
  if (!c) return;
  // No shot keeps the corrections of an adjustment that goes.
  if (const TValeurCompens* valeur = c->Valeur.get())
    for (TCavite* cav : Cavites)
      for (TVisee* v : cav->Visees) {
        if (v->CoeffsCompens == valeur) v->CoeffsCompens = nullptr;
        for (TViseeHabi* h : v->ViseesHabi)
          if (h->CoeffsCompens == valeur) h->CoeffsCompens = nullptr;
      }
  Compensations.Delete(i);
  if (i <= DerCompens) --DerCompens;
}

bool TReseau::SupprimeVisee(TVisee* visee) {
  TCavite* c = LaCaviteActive;
  if (!c || !c->SupprimeVisee(visee, true)) return false;
  c->EffaceViseesSupprimees();
  NettoieLiensSupprimes();
  c->EffacePointsMarques();
  return true;
}

bool TReseau::SupprimeViseesSuivantes(TVisee* visee) {
  TCavite* c = LaCaviteActive;
  if (!c || !c->SupprimeViseesSuivantes(visee)) return false;
  c->EffaceViseesSupprimees();
  NettoieLiensSupprimes();
  c->EffacePointsMarques();
  return true;
}

std::vector<TCavite*> TReseau::CavitesFusionnables() const {
  std::unordered_set<const TCavite*> trouvees;
  const TCavite* active = LaCaviteActive;
  auto candidate = [&](const TCavite* c) {
    if (c && c != active && !c->EstSurface && c != Cavites.First()) trouvees.insert(c);
  };
  if (active) {
    for (const TGalerie* g : active->Galeries)
      for (const TPointSpeleo* p : g->Points)
        if (p->PtBoucleAsso) candidate(TCavite::CaviteDuPoint(p->PtBoucleAsso));
    for (const TCavite* c : Cavites) {
      if (c == active) continue;
      for (const TGalerie* g : c->Galeries)
        for (const TPointSpeleo* p : g->Points)
          if (p->PtBoucleAsso && TCavite::CaviteDuPoint(p->PtBoucleAsso) == active) candidate(c);
    }
  }
  std::vector<TCavite*> liste;
  for (TCavite* c : Cavites)
    if (trouvees.count(c)) liste.push_back(c);
  return liste;
}

bool TReseau::FusionneCavites() {
  const std::vector<TCavite*> liste = CavitesFusionnables();
  if (liste.empty()) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information, Msg(IdMsg::ReseauPasDeFusion));
    return false;
  }
  const auto& fusion = Fabriques().FusionneCavites;
  return fusion ? fusion(*this, liste) : false;
}

// --- Patterns ------------------------------------------------------------------------------------------

bool TReseau::UtiliseMotif(const TMotifDocument* motif, TUsageMotif usage) {
  switch (usage) {
    case TUsageMotif::DessinsCavites:
      for (TCavite* c : Cavites)
        if (c->Annexe && c->Annexe->UtiliseMotif(motif)) return true;
      return false;
    case TUsageMotif::FlecheNord:
      return Partie(TGenrePartie::MisesEnPagePlan).UtiliseMotif(motif);
    case TUsageMotif::SymboleSurface:
      if (const TListedePoints* s = LesPointsSurface())
        for (const TPointSpeleo* p : *s)
          if (p->CategorieSurface == motif) return true;
      return false;
    case TUsageMotif::Aucun:
      break;
  }
  return false;
}

void TReseau::FusionneMotifsDeBase(TMotifDocument* garde, TMotifDocument* fusionne) {
  Partie(TGenrePartie::BibliothequeMotifs).ReprendRoleFonte(garde, fusionne);
  Partie(TGenrePartie::MisesEnPagePlan).FusionneMotifs(garde, fusionne);
  for (TCavite* c : Cavites)
    if (c->Annexe) c->Annexe->FusionneMotifs(garde, fusionne);
}

void TReseau::FusionneFlecheN(TMotifDocument* garde, TMotifDocument* fusionne) {
  Partie(TGenrePartie::MisesEnPagePlan).FusionneFlecheN(garde, fusionne);
}

void TReseau::FusionneMotifsSurface(TMotifDocument* garde, TMotifDocument* fusionne) {
  if (TListedePoints* s = LesPointsSurface())
    for (TPointSpeleo* p : *s)
      if (p->CategorieSurface == fusionne) p->CategorieSurface = garde;
}

void TReseau::ChangeCouleurFiligr(uint32_t ancienne) {
  for (TCavite* c : Cavites)
    if (c->Annexe) c->Annexe->ChangeCouleurFiligr(ancienne);
}

void TReseau::LieSymbolesSurface() {
  const TPartieReseau& bibliotheque = Partie(TGenrePartie::BibliothequeMotifs);
  for (TPointSpeleo* p : ListePointsReseau())
    if (p && p->vCatPt >= 0) p->CategorieSurface = bibliotheque.SymboleSurface(p->vCatPt);
}

// --- SVG identifiers and the XML listing -----------------------------------------------------------

int32_t TReseau::DerIdCavSvg() const {
  int32_t m = -1;
  for (const TCavite* c : Cavites) m = std::max(m, c->idCavSvg);
  return m + 1;
}

void TReseau::MajIdSvg() {
  int32_t suivant = DerIdCavSvg();
  for (TCavite* c : Cavites) {
    if (c->idCavSvg == -1) c->idCavSvg = suivant++;
    int32_t galerie = c->DerIdGalSvg();
    for (TGalerie* g : c->Galeries)
      if (g->idGalSvg == -1) g->idGalSvg = galerie++;
  }
}

namespace {

std::string EchappeXml(const std::string& s) {
  std::string r;
  for (char ch : s) {
    switch (ch) {
      case '<': r += "&lt;"; break;
      case '>': r += "&gt;"; break;
      case '&': r += "&amp;"; break;
      case '"': r += "&quot;"; break;
      case '\'': r += "&apos;"; break;
      case '\t':
      case '\n':
      case '\r': r += ch; break;
      default:
        // Other control characters have no place in XML 1.0.
        if (static_cast<unsigned char>(ch) >= 0x20) r += ch;
    }
  }
  return r;
}

std::string Identifiant(int32_t n) { return foundation::ReelEnStrZeros(n, 4, 0); }

// The element of every gallery hanging, directly or not, from gallery 0 of
// the computation order, each inside the element of the gallery it hangs
// from.
void XmlGaleries(const TCavite& c, int profondeur, std::string& xml) {
  if (c.Galeries.Vide()) return;
  const TArbreGaleries arbre(c);
  arbre.Parcourt(arbre.Racine(), profondeur, [&](const TArbreGaleries::Etape& e) {
    const std::string marge(static_cast<size_t>(2 * e.Niveau), ' ');
    if (!e.Entree) {
      xml += marge + "</galerie>\n";
      return;
    }
    const TGalerie* g = c.UneGalerie(e.Galerie);
    xml += marge + "<galerie id=\"" + Identifiant(c.idCavSvg) + "_" + Identifiant(g->idGalSvg) + "\">\n";
    xml += marge + "  <nom>" + EchappeXml(g->NomGalerie) + "</nom>\n";
  });
}

}  // namespace

bool TReseau::CreeXmlCavites(const std::string& dossier) {
  MajIdSvg();
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Reseau>\n";
  for (int i = 1; i < Cavites.Count(); ++i) {
    const TCavite& c = *Cavites.UnObjet(i);
    xml += "  <cavite id=\"" + Identifiant(c.idCavSvg) + "\">\n";
    xml += "    <nom>" + EchappeXml(c.NomCavite) + "</nom>\n";
    XmlGaleries(c, 2, xml);
    xml += "  </cavite>\n";
  }
  xml += "</Reseau>\n";
  const std::string chemin = (dossier.empty() ? platform::CurrentFolder() : dossier) + "/Test.XML";
  return platform::WriteFileAtomic(chemin, xml);
}

// --- Numbering and ports ------------------------------------------------------------------------------

void NumeroteStationsEcriture(const foundation::TListeFichier<TCavite>& cavites) {
  for (TCavite* c : cavites) {
    bool virtuels = false;
    for (const TGalerie* g : c->Galeries)
      for (const TPointSpeleo* p : g->Points) virtuels = virtuels || p->TypePoint < 0;
    if (!virtuels) continue;
    c->SupprimeTousPointsEntreeVirtuels();
    c->SupprimePointsVirtuels();
  }
  auto& index = ListePointsReseau();
  index.clear();
  for (const TCavite* c : cavites)
    for (const TGalerie* g : c->Galeries)
      for (TPointSpeleo* p : g->Points) {
        p->IndiceReseau = static_cast<int32_t>(index.size());
        index.push_back(p);
      }
}

void InstallePortsReseau() {
  Ports().ChangeProjectionPoint = [](double& x, double& y, const std::string& ancien, int32_t ancienFuseau,
                                     int32_t nouveauFuseau, const std::string& nouveau) {
    foundation::TPointTopo p;
    p.X = x;
    p.Y = y;
    if (projections::ChangeProjectionPoint(nouveau, nouveauFuseau, ancien, ancienFuseau, p) == projections::CodeFait) {
      x = p.X;
      y = p.Y;
    }
  };
  Ports().ConversionProjection = [](const std::string& ancien, int32_t ancienFuseau, int32_t nouveauFuseau,
                                    const std::string& nouveau) -> std::function<void(double&, double&)> {
    auto conversion = std::make_shared<projections::TConversionGrille>(ancien, ancienFuseau, nouveau, nouveauFuseau);
    if (conversion->Code() != projections::CodeFait) return {};
    return [conversion](double& x, double& y) { conversion->Convertit(x, y); };
  };
  Ports().TransformePointSurface = [](TPointSpeleo& p, const std::string& systeme, int32_t zone) {
    if (const TReseau* r = Document().ReseauCourant) r->TransformePointSurface(p, systeme, zone);
  };
  // The cave merge is the active cave's, which asks through its ports.
  Fabriques().FusionneCavites = [](TReseau& r, const std::vector<TCavite*>& cavites) {
    return r.LaCaviteActive && r.LaCaviteActive->ChoisitEtFusionneCavites(cavites);
  };
}

}  // namespace survey
