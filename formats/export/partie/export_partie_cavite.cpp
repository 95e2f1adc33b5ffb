#include "formats/export/partie/export_partie_cavite.h"

#include <stdexcept>
#include <utility>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/donnees_coupe.h"
#include "drawing/donnees_coupe_long.h"
#include "drawing/donnees_dessin_basique.h"
#include "drawing/elements_dessin.h"
#include "drawing/liste_donnees_dessin.h"
#include "formats/export/choix_visees.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/fichier_reseau.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/liste_points.h"
#include "survey/parties_reseau.h"
#include "survey/point_speleo.h"
#include "survey/rapport_calcul.h"
#include "survey/visee.h"

namespace formats {

using drawing::TObjetDonneesBasique;
using foundation::IdMsg;
using foundation::Msg;
using survey::TCavite;
using survey::TPointSpeleo;
using survey::TReseau;
using survey::TVisee;

namespace {

constexpr auto Bibliotheque = static_cast<size_t>(survey::TGenrePartie::BibliothequeMotifs);

// The open network's pattern library as a part of the temporary network:
// the file is written with it, and it stays the process-wide library.
class TBibliothequeEmpruntee : public survey::TPartieReseau {
 public:
  explicit TBibliothequeEmpruntee(survey::TPartieReseau& p) : p_(p) {}
  bool Ecrit(foundation::TFlux& f) override { return p_.Ecrit(f); }
  bool Lit(foundation::TFlux&) override { return false; }
  bool EcritConfig(foundation::TFlux& f) override { return p_.EcritConfig(f); }
  void Active() override { p_.Active(); }
  bool UtiliseMotif(const survey::TMotifDocument* m) const override { return p_.UtiliseMotif(m); }
  survey::TMotifDocument* SymboleSurface(int32_t position) const override { return p_.SymboleSurface(position); }

 private:
  survey::TPartieReseau& p_;
};

// Which pieces the marked shots make: stations joined by a shot are in the
// same piece.
class TMorceaux {
 public:
  explicit TMorceaux(const std::vector<TVisee*>& visees) {
    for (const TVisee* v : visees) Unit(v->PtOrigCalc, v->PtCalc);
  }
  const TPointSpeleo* Racine(const TPointSpeleo* p) {
    const TPointSpeleo* r = p;
    for (auto it = parent_.find(r); it != parent_.end() && it->second != r; it = parent_.find(r)) r = it->second;
    // Every station on the way now points at the root.
    while (p != r) {
      const TPointSpeleo*& suivant = parent_[p];
      p = std::exchange(suivant, r);
    }
    return r;
  }

 private:
  void Unit(const TPointSpeleo* a, const TPointSpeleo* b) {
    for (const TPointSpeleo* p : {a, b})
      if (p) parent_.emplace(p, p);
    if (!a || !b) return;
    const TPointSpeleo* ra = Racine(a);
    const TPointSpeleo* rb = Racine(b);
    if (ra != rb) parent_[rb] = ra;
  }
  std::unordered_map<const TPointSpeleo*, const TPointSpeleo*> parent_;
};

}  // namespace

// --- The temporary network -------------------------------------------------------------------------

// While the temporary network is made, the open network's library stands
// for the one it would create.
class TReseauTmp::GardePret {
 public:
  explicit GardePret(TReseau& ouvert) : sauve_(survey::Fabriques().Parties[Bibliotheque]) {
    survey::Fabriques().Parties[Bibliotheque] = [&ouvert](TReseau&) -> std::unique_ptr<survey::TPartieReseau> {
      return std::make_unique<TBibliothequeEmpruntee>(ouvert.Partie(survey::TGenrePartie::BibliothequeMotifs));
    };
  }
  ~GardePret() { survey::Fabriques().Parties[Bibliotheque] = std::move(sauve_); }
  GardePret(const GardePret&) = delete;
  GardePret& operator=(const GardePret&) = delete;

 private:
  std::function<std::unique_ptr<survey::TPartieReseau>(TReseau&)> sauve_;
};

TReseauTmp::TReseauTmp(TReseau& ouvert) : TReseauTmp(ouvert, GardePret(ouvert)) {}

TReseauTmp::TReseauTmp(TReseau& ouvert, GardePret&&) : ouvert_(ouvert) {
  Nom = ouvert.Nom;
  ParamsEllipsoide = ouvert.ParamsEllipsoide;
  ParamsDatum = ouvert.ParamsDatum;
  ParamsProjection = ouvert.ParamsProjection;
  Projection = ouvert.Projection;
  NumFuseau = ouvert.NumFuseau;
  CreeCaviteSurface();
  // The operators and instruments the trips refer to, lent for the write.
  std::swap(ListeOperateurs, ouvert.ListeOperateurs);
  std::swap(ListeInstruments, ouvert.ListeInstruments);
}

TReseauTmp::~TReseauTmp() {
  for (auto it = rendus_.rbegin(); it != rendus_.rend(); ++it) (*it)();
  std::swap(ListeOperateurs, ouvert_.ListeOperateurs);
  std::swap(ListeInstruments, ouvert_.ListeInstruments);
}

// --- The copy ------------------------------------------------------------------------------------------

TCopiePartie::TCopiePartie(TCavite& source, TReseauTmp& reseau, TCavite& nouvelle, const std::vector<TVisee*>& visees)
    : source_(source),
      reseau_(reseau),
      nouvelle_(nouvelle),
      liste_(visees),
      visees_(visees.begin(), visees.end()),
      caviteCourante_(&nouvelle) {}

void TCopiePartie::CopieViseesMarquees() {
  GalExport.clear();
  // The pieces of the part, in the order of their first shots.  The first
  // station of the part hangs from a surface point; so does the first
  // station of every other piece that no surface point holds.
  TMorceaux morceaux(liste_);
  std::unordered_map<const TPointSpeleo*, size_t> rang;
  std::vector<const TVisee*> premieresVisees;
  std::vector<bool> rattaches;
  std::vector<const TPointSpeleo*> racineDe(liste_.size());
  for (size_t i = 0; i < liste_.size(); ++i) {
    const TVisee* v = liste_[i];
    const TPointSpeleo* r = racineDe[i] = morceaux.Racine(v->PtOrigCalc ? v->PtOrigCalc : v->PtCalc);
    const auto [it, nouveau] = rang.emplace(r, premieresVisees.size());
    if (nouveau) {
      premieresVisees.push_back(v);
      rattaches.push_back(false);
    }
    for (const TPointSpeleo* p : {v->PtOrigCalc, v->PtCalc})
      if (p && p->EstPointSurface()) rattaches[it->second] = true;
  }
  std::unordered_set<const TPointSpeleo*> premieres;
  for (size_t k = 0; k < premieresVisees.size(); ++k)
    if (k == 0 || !rattaches[k]) premieres.insert(premieresVisees[k]->PtOrigCalc);
  // Each piece is a cave of its own (a cave is computed from one entrance
  // through its shots); the first is the new cave.
  std::vector<TCavite*> cavites(premieresVisees.size(), &nouvelle_);
  for (size_t k = 1; k < cavites.size(); ++k) {
    auto c = std::make_unique<TCavite>();
    c->NomCavite = source_.NomCavite + " (" + foundation::EntierEnStr(static_cast<int64_t>(k + 1)) + ")";
    c->EchelleTextesDft = source_.EchelleTextesDft;
    cavites[k] = reseau_.AjouteCavite(std::move(c));
  }
  nouvelle_.EchelleTextesDft = source_.EchelleTextesDft;
  nouvelle_.NomCavite = source_.NomCavite;

  // A trip is shared by the first cave that needs it; another cave has a
  // copy, which its shots refer to while the part is saved.
  std::unordered_map<const survey::TLever*, TCavite*> proprietaire;
  std::unordered_map<const TCavite*, std::unordered_map<const survey::TLever*, survey::TLever*>> copiesLevers;
  for (size_t i = 0; i < liste_.size(); ++i) {
    TVisee* v = liste_[i];
    caviteCourante_ = cavites[rang[racineDe[i]]];
    TPointSpeleo* origine = v->PtOrigCalc;
    TPointSpeleo* fin = v->PtCalc;
    TransferePointExport(origine, *v, premieres.count(origine) != 0);
    TransferePointExport(fin, *v, premieres.count(fin) != 0);
    reseau_.Partage(caviteCourante_->Visees, v);
    cavesDesVisees_[v] = caviteCourante_;
    const survey::TLever* l = v->LeLever;
    if (!l || l == survey::LeverParDefaut()) continue;
    const auto [it, premier] = proprietaire.emplace(l, caviteCourante_);
    if (premier) {
      reseau_.Partage(caviteCourante_->Levers, const_cast<survey::TLever*>(l));
    } else if (it->second != caviteCourante_) {
      survey::TLever*& copie = copiesLevers[caviteCourante_][l];
      if (!copie) copie = caviteCourante_->Levers.Add(std::make_unique<survey::TLever>(*l));
      v->LeLever = copie;
    }
  }
  caviteCourante_ = &nouvelle_;
}

void TCopiePartie::TransferePointExport(TPointSpeleo* station, TVisee& visee, bool premiere) {
  if (!station) return;
  TPointSpeleo* copie = nullptr;
  if (const auto it = copies_.find(station); it != copies_.end()) copie = it->second;
  if (!copie && (premiere || station->EstPointSurface())) {
    survey::TPointsSurface points(*reseau_.LesPointsSurface());
    copie = points.AjoutePointFichier(station->DesignPTopo, station->Commentaire.Texte(), station->X, station->Y,
                                      station->Z, reseau_.Projection, reseau_.NumFuseau);
    copie->Commentaire = station->Commentaire;
    copie->LargeurDR = station->LargeurDR;
    copie->LargeurGA = station->LargeurGA;
    copie->HauteurSup = station->HauteurSup;
    copie->HauteurInf = station->HauteurInf;
    copie->InvBords = station->InvBords;
    if (station->EstPointSurface()) copie->CategorieSurface = station->CategorieSurface;
    copie->GalduPt = reseau_.UneCavite(0)->Galeries.First();
    copie->vPointOrigine = station;
    copies_.emplace(station, copie);
  }
  if (copie) {
    // The shot's end stands for the time of the save on the copy.
    if (visee.PointStation == station)
      visee.PointStation = copie;
    else if (visee.PointVise == station)
      visee.PointVise = copie;
    return;
  }
  const survey::TGalerie* galerie = survey::GalerieDuPoint(station);
  survey::TGalerie*& exportee = GalExport[{caviteCourante_, galerie}];
  if (!exportee) {
    auto g = std::make_unique<survey::TGalerie>();
    g->NomGalerie = galerie ? galerie->NomGalerie : std::string();
    g->Points.Possede = false;
    g->CaviteRef = caviteCourante_;
    exportee = caviteCourante_->Galeries.Add(std::move(g));
  }
  if (stations_.insert(station).second) exportee->Points.Add(station);
}

void TCopiePartie::Retiens(TObjetDonneesBasique& e) {
  ElementsTouches.push_back({&e, e.EquivTransfert, e.effacer, e.Selecte});
}

std::unique_ptr<TObjetDonneesBasique> TCopiePartie::CopieObjetMarque(TObjetDonneesBasique& source) {
  auto garde = [this](TObjetDonneesBasique& copie) {
    copie.Points.SupprimeSi([this](const drawing::TPointDessin* p) { return !Exportee(p->VisRefDessin); });
  };
  Retiens(source);
  auto* symbole = dynamic_cast<drawing::TObjetDonneesSymbole*>(&source);
  if (symbole && symbole->TexteSymb) Retiens(*symbole->TexteSymb);
  // The copy has the element's pattern and attributes and every point with
  // its own shot; only the points of exported shots stay.
  drawing::GardeValeur<bool> memeCavite(drawing::Dessin().CopieMemeCavite, true);
  std::unique_ptr<TObjetDonneesBasique> copie = source.CreeCopie();
  garde(*copie);
  if (auto* s = dynamic_cast<drawing::TObjetDonneesSymbole*>(copie.get()); s && s->TexteSymb) garde(*s->TexteSymb);
  source.EquivTransfert = copie->Points.Count() > 1 ? copie.get() : nullptr;
  return copie;
}

void TCopiePartie::CopieListeDessin(drawing::TListeDonneesDessin& source, drawing::TListeDonneesDessin& destination) {
  destination.TypeDeDessin = source.TypeDeDessin;
  for (TObjetDonneesBasique* l : source.LesMultiPoints)
    if (auto copie = CopieObjetMarque(*l); copie->Points.Count() > 1) destination.AjouteDonneesDessin(std::move(copie));
  for (drawing::TObjetDonneesRemplir* r : source.LesRemplissages)
    if (auto copie = CopieRemplissage(*r)) destination.AjouteDonneesDessin(std::move(copie));
  for (drawing::TObjetDonneesSymbole* s : source.LesSymboles)
    if (auto copie = CopieObjetMarque(*s); copie->Points.Count() > 0) destination.AjouteDonneesDessin(std::move(copie));
  for (drawing::TObjetTexte* t : source.LesTextes)
    if (auto copie = CopieTexte(*t)) destination.AjouteDonneesDessin(std::move(copie));
}

std::unique_ptr<drawing::TObjetDonneesRemplir> TCopiePartie::CopieRemplissage(drawing::TObjetDonneesRemplir& source) {
  std::unique_ptr<drawing::TObjetDonneesRemplir> copie(
      static_cast<drawing::TObjetDonneesRemplir*>(CopieObjetMarque(source).release()));
  // The fill goes only with every one of its lines.
  copie->ListePoly.clear();
  for (const TObjetDonneesBasique* l : source.ListePoly) {
    if (!l || !l->EquivTransfert) return nullptr;
    copie->ListePoly.push_back(l->EquivTransfert);
  }
  if (copie->ListePoly.empty()) return nullptr;
  return copie;
}

std::unique_ptr<drawing::TObjetTexte> TCopiePartie::CopieTexte(drawing::TObjetTexte& source) {
  std::unique_ptr<drawing::TObjetTexte> copie(static_cast<drawing::TObjetTexte*>(CopieObjetMarque(source).release()));
  if (copie->Points.Vide()) return nullptr;
  if (source.EstEtiquette() && !stations_.count(source.PointDeRef)) return nullptr;
  return copie;
}

void TCopiePartie::CopieDonneesDessin(drawing::TDonneesDessinBasique& source,
                                      drawing::TDonneesDessinBasique& destination) {
  CopieListeDessin(source.ListeDonneesDessin, destination.ListeDonneesDessin);
  for (drawing::TDonneesCoupe* c : source.ListeCoupes)
    if (c->PointDeCoupe && c->PointPosition && Exportee(c->PointDeCoupe->VisRefDessin) &&
        Exportee(c->PointPosition->VisRefDessin))
      reseau_.Partage(destination.ListeCoupes, c);
  for (drawing::TDonneesEcart* e : source.ListeEcarts) {
    auto n = std::make_unique<drawing::TDonneesEcart>();
    // An offset part names its shots in its own cave's list.
    for (TVisee* v : e->ViseesEcart.Visees)
      if (Exportee(v) && cavesDesVisees_[v] == &nouvelle_) n->ViseesEcart.Add(v);
    if (n->ViseesEcart.Visees.empty()) continue;
    n->ViseesEcart.AccrocheToutesVisees = e->ViseesEcart.AccrocheToutesVisees;
    n->PositX = e->PositX;
    n->PositY = e->PositY;
    n->CoeffDessinEcart = e->CoeffDessinEcart;
    n->CadreEcart = e->CadreEcart;
    n->TraitCadre = e->TraitCadre;
    n->MargeCadre = e->MargeCadre;
    n->CouleurFiligr = e->CouleurFiligr;
    n->Proprio = &destination;
    drawing::TDonneesEcart* partie = destination.ListeEcarts.Add(std::move(n));
    CopieDonneesDessin(*e, *partie);
  }
  destination.CoeffDessinCoupes = source.CoeffDessinCoupes;
  destination.AngleCoupeProj = source.AngleCoupeProj;
  destination.EncadreCoupes = source.EncadreCoupes;
  destination.EchelleDessin = source.EchelleDessin;
}

void TCopiePartie::CopieCoupeLong(drawing::TDonneesCoupeLong& source, int i) {
  drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(&nouvelle_);
  if (!annexe) return;
  std::unique_ptr<drawing::TDonneesCoupeLong> nouvelleCoupe;
  drawing::TDonneesCoupeLong* cible = annexe->LesCoupesLong.First();
  if (i > 0) {
    nouvelleCoupe = std::make_unique<drawing::TDonneesCoupeLong>();
    cible = nouvelleCoupe.get();
  }
  if (!cible) return;
  if (source.Partielle) {
    int recues = 0;
    for (const drawing::TViseeCoupe* e : source.ViseesCoupe)
      if (e && Exportee(e->UneVisee)) {
        cible->TransfereViseeCoupe(*e);
        ++recues;
      }
    // A partial section with no exported shot is left out; the new cave's
    // first section stays as it is.
    if (recues == 0) return;
  }
  if (nouvelleCoupe) {
    nouvelleCoupe->DefCaviteProprio(&nouvelle_);
    cible = annexe->LesCoupesLong.Add(std::move(nouvelleCoupe));
  }
  cible->Partielle = source.Partielle;
  cible->DesignCoupe = source.DesignCoupe;
  for (foundation::TObjetDeListe* m : source.MisesEnPageCoupe) reseau_.Partage(cible->MisesEnPageCoupe, m);
  CopieDonneesDessin(source, *cible);
}

// --- The export --------------------------------------------------------------------------------------------

namespace {

// Everything the export changes, put back on every exit: the process-wide
// document and network contexts, the computation and the document file's
// state (the temporary network is freed first), then the fields the write
// and the copy set on the open document's shots, stations, trips and
// elements.
class TGardeExportPartie {
 public:
  explicit TGardeExportPartie(TReseau& ouvert) {
    for (TCavite* c : ouvert.Cavites) {
      for (TVisee* v : c->Visees)
        visees_.push_back({v, v->PointStation, v->PointVise, v->LeLever, v->IndexCavDeLaVis, v->IndexFichier});
      for (survey::TGalerie* g : c->Galeries)
        for (TPointSpeleo* p : g->Points) points_.push_back({p, p->IndiceReseau, p->IndPtBoucle, p->vCatPt, p->IndexFichier});
      for (survey::TLever* l : c->Levers) levers_.emplace_back(l, l->IndexFichier);
    }
    Reseau = std::make_unique<TReseauTmp>(ouvert);
    // Every shot and station of the open network is written as none unless
    // the part holds it: the write numbers only the temporary network's.
    for (const Visee& v : visees_) v.v->IndexCavDeLaVis = -1;
    for (const Point& p : points_) p.p->IndiceReseau = -1;
  }

  ~TGardeExportPartie() {
    if (Copie)
      for (auto it = Copie->ElementsTouches.rbegin(); it != Copie->ElementsTouches.rend(); ++it) {
        it->e->EquivTransfert = it->EquivTransfert;
        it->e->effacer = it->effacer;
        it->e->Selecte = it->Selecte;
      }
    Copie.reset();
    Reseau.reset();
    for (const Visee& v : visees_) {
      v.v->PointStation = v.PointStation;
      v.v->PointVise = v.PointVise;
      v.v->LeLever = v.LeLever;
      v.v->IndexCavDeLaVis = v.IndexCavDeLaVis;
      v.v->IndexFichier = v.IndexFichier;
    }
    for (const Point& p : points_) {
      p.p->IndiceReseau = p.IndiceReseau;
      p.p->IndPtBoucle = p.IndPtBoucle;
      p.p->vCatPt = p.vCatPt;
      p.p->IndexFichier = p.IndexFichier;
    }
    for (const auto& [l, i] : levers_) l->IndexFichier = i;
  }
  TGardeExportPartie(const TGardeExportPartie&) = delete;
  TGardeExportPartie& operator=(const TGardeExportPartie&) = delete;

 private:
  struct Visee {
    TVisee* v;
    TPointSpeleo *PointStation, *PointVise;
    const survey::TLever* LeLever;
    int32_t IndexCavDeLaVis, IndexFichier;
  };
  struct Point {
    TPointSpeleo* p;
    int32_t IndiceReseau, IndPtBoucle, vCatPt, IndexFichier;
  };
  survey::GardeDocument document_;
  survey::GardeContexteReseau reseau_;
  survey::GardeContexteCalcul calcul_;
  survey::GardeFichierReseau fichier_;
  std::vector<Visee> visees_;
  std::vector<Point> points_;
  std::vector<std::pair<survey::TLever*, int32_t>> levers_;

 public:
  std::unique_ptr<TReseauTmp> Reseau;
  std::unique_ptr<TCopiePartie> Copie;
};

}  // namespace

std::string NomFichierPartie(const std::string& nomDocument, const std::string& nomReseau) {
  const std::string& base = nomDocument.empty() ? nomReseau : nomDocument;
  const std::string nom = platform::FileNameOf(base);
  return platform::FolderOf(base) + nom.substr(0, nom.find('.')) + "-part.cav";
}

bool ExportePartieCavite(TReseau& ouvert) {
  survey::ContexteDocument& doc = survey::Document();
  drawing::GardeValeur<bool> modifie(doc.DocumentModifie, doc.DocumentModifie);
  TCavite* source = ouvert.LaCaviteActive;
  const auto visees = ChoixViseesExport(ouvert, Msg(IdMsg::ExportPartieTitre));
  if (!visees) return false;
  // Nothing chosen, nothing to write.
  if (visees->empty()) return true;

  TGardeExportPartie garde(ouvert);
  TReseauTmp& reseau = *garde.Reseau;
  auto cavite = std::make_unique<TCavite>();
  TCavite* nouvelle = reseau.AjouteCavite(std::move(cavite));
  reseau.LaCaviteActive = nouvelle;
  garde.Copie = std::make_unique<TCopiePartie>(*source, reseau, *nouvelle, *visees);
  TCopiePartie& copie = *garde.Copie;
  copie.CopieViseesMarquees();
  // The caves' station lists, from their galleries.
  for (TCavite* c : reseau.Cavites) {
    c->ListePoints.Clear();
    for (survey::TGalerie* g : c->Galeries)
      for (TPointSpeleo* p : g->Points) c->ListePoints.Add(p);
  }
  if (drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(source)) {
    copie.CopieDonneesDessin(*annexe->LeDessinPlani, *drawing::AnnexeDessin(nouvelle)->LeDessinPlani);
    for (int i = 0; i < annexe->LesCoupesLong.Count(); ++i) copie.CopieCoupeLong(*annexe->UneCoupeLong(i), i);
  }

  // The temporary network is saved as the current document under the name
  // the user chooses, the proposed one ending with "-part.cav".
  doc.ReseauCourant = &reseau;
  doc.DemandeNomFichier = true;
  doc.NomFichierCourant = NomFichierPartie(doc.NomFichierCourant, ouvert.Nom);
  try {
    survey::EnregistreReseauSous();
  } catch (const std::runtime_error&) {
    platform::Dialogs::Current().ShowMessage(
        platform::MessageKind::Error,
        foundation::RemplaceMarques(Msg(IdMsg::ExportPartieErreurEcriture), {doc.NomFichierCourant}));
  }
  return true;
}

}  // namespace formats
