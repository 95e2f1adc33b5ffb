#include "formats/import/import_autres.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_set>

#include "formats/import/galeries_import.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/utilitaires.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "projections/services.h"
#include "survey/contexte_document.h"
#include "survey/fichier_reseau.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "survey/visee.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;
using survey::TCavite;
using survey::TGalerie;
using survey::TListedePoints;
using survey::TPointSpeleo;
using survey::TVisee;

namespace {

// What a failed pass must put back as it was.
struct EtatAvantImport {
  std::unordered_set<const TPointSpeleo*> PointsSurface;
  std::string Projection;
  int32_t NumFuseau = -1;
  int NbOperateurs = 0;
  int NbInstruments = 0;
  bool DocumentModifie = false;
};

EtatAvantImport Photographie(const survey::TReseau& reseau) {
  EtatAvantImport e;
  if (const TListedePoints* s = reseau.LesPointsSurface())
    for (const TPointSpeleo* p : *s) e.PointsSurface.insert(p);
  e.Projection = reseau.Projection;
  e.NumFuseau = reseau.NumFuseau;
  e.NbOperateurs = reseau.ListeOperateurs.Count();
  e.NbInstruments = reseau.ListeInstruments.Count();
  e.DocumentModifie = survey::Document().DocumentModifie;
  return e;
}

// Removes what the failed pass added: its surface points (from the last to
// the first), operators and instruments; puts the system back.
void Restaure(survey::TReseau& reseau, const EtatAvantImport& e) {
  if (TListedePoints* s = reseau.LesPointsSurface()) {
    for (int i = s->Count() - 1; i >= 0; --i)
      if (!e.PointsSurface.count(s->Item(i))) s->Delete(i);
    // The surface cave's derived lists may hold the removed points.
    reseau.UneCavite(0)->ReGenereListePoints(false);
  }
  reseau.Projection = e.Projection;
  reseau.NumFuseau = e.NumFuseau;
  while (reseau.ListeOperateurs.Count() > e.NbOperateurs) reseau.ListeOperateurs.Delete(reseau.ListeOperateurs.Count() - 1);
  while (reseau.ListeInstruments.Count() > e.NbInstruments)
    reseau.ListeInstruments.Delete(reseau.ListeInstruments.Count() - 1);
  survey::Document().DocumentModifie = e.DocumentModifie;
}

// The network's computation of the new cave's stations, their widths and
// heights from the splays (CalculeGDHB).
void CalculeDimensionsImport(tImportAutres& lecteur) {
  GardeCaviteImportDansReseau garde(lecteur, false);
  garde.Cavite().CalculeGDHB();
}

}  // namespace

std::vector<std::string> LignesTexteImport(std::string octets) {
  std::replace(octets.begin(), octets.end(), '\0', ' ');
  return foundation::DecoupeLignes(foundation::DepuisWindows1252(octets));
}

GardeCaviteImportDansReseau::GardeCaviteImportDansReseau(tImportAutres& lecteur, bool active)
    : lecteur_(lecteur), active_(lecteur.Reseau->LaCaviteActive), rendActive_(active) {
  cavite_ = lecteur.Reseau->Cavites.Add(std::move(lecteur.ACavite));
  if (active) lecteur.Reseau->LaCaviteActive = cavite_;
}

GardeCaviteImportDansReseau::~GardeCaviteImportDansReseau() {
  auto& cavites = lecteur_.Reseau->Cavites;
  for (int i = cavites.Count() - 1; i >= 0; --i)
    if (cavites.UnObjet(i) == cavite_) {
      lecteur_.ACavite = cavites.Extract(i);
      break;
    }
  if (rendActive_) lecteur_.Reseau->LaCaviteActive = active_;
}

tImportAutres::tImportAutres(survey::TReseau* reseau)
    : NommeGalDlg(std::make_unique<TNommeGalDlg>()),
      Reseau(reseau ? reseau : survey::Document().ReseauCourant) {
  Import().ProjectionImport.clear();
}

tImportAutres::~tImportAutres() = default;

void tImportAutres::NouvelleCavite() {
  ACavite = std::make_unique<TCavite>();
  // Owned by the network for its computations, not yet in its list.
  ACavite->ReseauProprio = Reseau;
  ACavite->CavitesReseau = &Reseau->Cavites;
  listeIndexee_ = nullptr;
  indexPoints_.clear();
  PtEntreeSurf = nullptr;
}

TPointSpeleo* tImportAutres::CherchePointVisee(const std::string& nom, TListedePoints& liste) {
  if (listeIndexee_ != &liste) {
    listeIndexee_ = &liste;
    indexPoints_.clear();
    for (TPointSpeleo* p : liste) indexPoints_[p->DesignPTopo] = p;  // the last one wins
  }
  const auto it = indexPoints_.find(nom);
  if (it != indexPoints_.end()) return it->second;
  auto p = std::make_unique<TPointSpeleo>();
  p->DesignPTopo = nom;
  if (ACavite && !ACavite->Galeries.Vide() && &ACavite->Galeries.First()->Points == &liste)
    p->GalduPt = ACavite->Galeries.First();
  TPointSpeleo* r = liste.Add(std::move(p));
  indexPoints_[nom] = r;
  return r;
}

TPointSpeleo* tImportAutres::AjoutePointSurf(const std::string& nom, const std::string& commentaire, double x,
                                             double y, double z) {
  auto p = std::make_unique<TPointSpeleo>();
  p->TypePoint = survey::PointSurfaceImporte;
  p->DesignPTopo = nom;
  p->X = x;
  p->Y = y;
  p->Z = z;
  p->Commentaire.push_back(commentaire);
  return PointsSurfImport.Add(std::move(p));
}

void tImportAutres::CreeEntree() {
  ContexteImport& ctx = Import();
  TListedePoints* surface = Reseau->LesPointsSurface();
  if (!surface) return;
  // A network with no system and no surface point takes the file's.
  if (!ctx.ProjectionImport.empty() && surface->Vide() && Reseau->Projection.empty()) {
    Reseau->Projection = ctx.ProjectionImport;
    Reseau->NumFuseau = ctx.FuseauImport;
  }
  TGalerie* g0 = ACavite->Galeries.First();
  if (!g0) return;
  // The entrance station E and its staged surface point.
  TPointSpeleo* E = nullptr;
  PtEntreeSurf = nullptr;
  if (ctx.OrigineImportChoisie) {
    // The survey hangs from the chosen station alone: a staged point that
    // names a station of the cave (the file's entrance, or the one the
    // first pass made up at 0, 0, 0) would stand apart from the station
    // the computation places.
    std::unordered_set<std::string> stations;
    for (const TPointSpeleo* p : g0->Points) stations.insert(p->DesignPTopo);
    PointsSurfImport.SupprimeSi([&](const TPointSpeleo* s) { return stations.count(s->DesignPTopo) != 0; });
    if (listeIndexee_ == &PointsSurfImport) listeIndexee_ = nullptr;
    PtEntreeSurf = AjoutePointSurf(ctx.NomOrigineImport, std::string(), ctx.XOrigineImport, ctx.YOrigineImport,
                                   ctx.ZOrigineImport);
    for (TPointSpeleo* p : g0->Points)
      if (p->DesignPTopo == ctx.NomOrigineImport) {
        E = p;
        break;
      }
    if (!E) PtEntreeSurf = nullptr;
  } else {
    std::unordered_map<std::string, TPointSpeleo*> premiers;
    for (TPointSpeleo* s : PointsSurfImport) premiers.emplace(s->DesignPTopo, s);
    for (TPointSpeleo* p : g0->Points) {
      if (!DesignEntreeImport.empty() && p->DesignPTopo != DesignEntreeImport) continue;
      const auto it = premiers.find(p->DesignPTopo);
      if (it != premiers.end()) {
        E = p;
        PtEntreeSurf = it->second;
        break;
      }
    }
  }
  if (!E) {
    if (const TVisee* v0 = ACavite->Visees.First()) {
      E = v0->PointStation;
      if (v0->PointVise && v0->PointVise->LstVis.size() == 1 && ACavite->Visees.Count() > 1) E = v0->PointVise;
    }
    if (E) PtEntreeSurf = AjoutePointSurf(E->DesignPTopo, std::string(), 0, 0, 0);
  }
  // The surface points into the network, the entrance's first.
  survey::TPointsSurface points(*surface);
  auto ajoute = [&](const TPointSpeleo* s) {
    const std::string commentaire = s->Commentaire.empty() ? std::string() : s->Commentaire.front();
    return points.AjoutePointImport(s->DesignPTopo, commentaire, s->X, s->Y, s->Z, ctx.ProjectionImport,
                                    ctx.FuseauImport);
  };
  TPointSpeleo* S = PtEntreeSurf ? ajoute(PtEntreeSurf) : nullptr;
  for (const TPointSpeleo* s : PointsSurfImport)
    if (s != PtEntreeSurf) ajoute(s);
  if (!S || !E) return;
  // E replaced by S when one shot touches it, else joined to it.
  if (E->LstVis.size() == 1) {
    S->LargeurDR = E->LargeurDR;
    S->LargeurGA = E->LargeurGA;
    S->HauteurSup = E->HauteurSup;
    S->HauteurInf = E->HauteurInf;
    bool sansCommentaire = true;
    for (const std::string& l : S->Commentaire)
      if (!foundation::OteBlancs(l).empty()) sansCommentaire = false;
    if (sansCommentaire) S->Commentaire.clear();
    for (const std::string& l : E->Commentaire) S->Commentaire.push_back(l);
    E->LstVis.front()->RemplaceExtremite(E, S);
    if (listeIndexee_ == &g0->Points) {
      const auto it = indexPoints_.find(E->DesignPTopo);
      if (it != indexPoints_.end() && it->second == E) indexPoints_.erase(it);
    }
    g0->Points.Remove(E);
  } else if (!E->LstVis.empty()) {
    auto v = std::make_unique<TVisee>();
    v->PointStation = S;
    v->PointVise = E;
    v->LeLever = E->LstVis.front()->LeLever;
    v->Exclue = 2;
    S->LstVis.push_back(v.get());
    E->LstVis.push_back(v.get());
    ACavite->Visees.Add(std::move(v));
    S->DesignPTopo += Msg(IdMsg::ImportSuffixeOrigine);
  }
  // S is the network's imported entrance.
  Reseau->EntreeImport = S;
  PtEntreeSurf = S;
}

bool tImportAutres::LitTexte(std::string octets) {
  LignesFichier = LignesTexteImport(std::move(octets));
  return TraiteLignes();
}

bool tImportAutres::LitFichierImport(const std::string& chemin, bool binaire) {
  Reseau->EntreeImport = nullptr;
  Illisible = false;
  Raison.clear();
  bool ok = false;
  try {
    // A file that does not exist, a folder, an empty file: no reader runs.
    if (const std::string raison = survey::RaisonFichierIllisible(chemin); !raison.empty()) {
      ok = FichierIllisible(raison);
    } else if (binaire) {
      ok = LisFichierTop(chemin);
    } else {
      std::string octets;
      if (platform::ReadFile(chemin, octets)) {
        ok = LitTexte(std::move(octets));
      } else {
        ok = FichierIllisible(Msg(IdMsg::ReseauRaisonLectureRefusee));
      }
    }
  } catch (const std::runtime_error&) {
    // A documented error raised by a reader (a number or a coordinate
    // system it cannot read) makes the file unreadable; a programming error
    // goes on to the command handler.
    ok = FichierIllisible();
  }
  // A file that yields no shot has nothing to import.
  if (ok && ACavite->Visees.Vide()) ok = FichierIllisible(Msg(IdMsg::ImportRaisonAucuneVisee));
  if (Illisible && !Abandon)
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error,
                                             survey::AvecRaison(Msg(IdMsg::ImportAucuneLigne) + chemin, Raison));
  return ok;
}

bool tImportAutres::ImporterFichier(const std::string& chemin) {
  ContexteImport& ctx = Import();
  Abandon = false;
  ctx.ChangeOrigineDemandee = false;
  ViseesNonRattachees = 0;
  Reseau->CreeCaviteSurface();
  const EtatAvantImport avant = Photographie(*Reseau);
  NouvelleCavite();
  if (ctx.SecondPassageImport) ACavite->NomCavite = NomCaviteRelance;
  const std::string extension = foundation::EnMinuscules(platform::ExtensionOf(chemin));
  bool ok = false;
  // Whatever stops the import, also a programming error on its way to the
  // command handler, the network is put back as it was.
  struct Retablit {
    tImportAutres& import;
    const EtatAvantImport& avant;
    bool garde = false;
    ~Retablit() {
      if (garde) return;
      // The cave goes first: its shots let go of the surface points.
      import.ACavite.reset();
      import.Reseau->EntreeImport = nullptr;
      import.PtEntreeSurf = nullptr;
      Restaure(*import.Reseau, avant);
    }
  } retablit{*this, avant};
  try {
    if (!ctx.SecondPassageImport) {
      const std::string nom = platform::FileNameOf(chemin);
      DesignFich = nom.find('.') == std::string::npos ? std::string() : nom.substr(0, nom.find('.'));
      NomFichierImport = nom;
      EstTherion = extension == ".th";
      ok = LitFichierImport(chemin, extension == ".top");
    } else {
      ok = TransfereTopo() && !ACavite->Visees.Vide();
    }
    if (ok) ok = NommeGaleriesImport(*this, chemin);
    if (ok) ok = CreeStructureImport(*this);
    if (!ctx.SecondPassageImport && ctx.ChangeOrigineDemandee) {
      TPointSpeleo* origine = ACavite->PointImport;
      ctx.RelanceImport = ctx.OrigineImportChoisie = origine && ACavite->LEntree() != origine;
      ok = !ctx.RelanceImport;
      if (ctx.RelanceImport) {
        NomCaviteRelance = ACavite->NomCavite;
        ctx.NomOrigineImport = origine->DesignPTopo;
        ctx.XOrigineImport = origine->X;
        ctx.YOrigineImport = origine->Y;
        ctx.ZOrigineImport = origine->Z;
      }
    }
    if (ok && TypeAppli == TypeImportAuriga) ok = ChargeDessinAuriga(DesignFich);
    if (ok && TypeAppli == TypeImportTopoDroid) ok = ImporteCroquisSVG(chemin);
    // Phone-survey files: passage widths and heights from the splays.  The
    // cave is in the network for the computation only, whatever happens.
    if (ok && TypeAppli != TypeImportAuriga && (extension == ".top" || EstTherion)) CalculeDimensionsImport(*this);
    if (ok && extension == ".tab") CreeEntreesMultiples();
  } catch (const std::runtime_error&) {
    ok = false;
  }
  if (ok) {
    retablit.garde = true;
    TCavite* c = Reseau->AjouteCavite(std::move(ACavite));
    Reseau->CaviteImportee = c;
    if (TListedePoints* s = Reseau->LesPointsSurface())
      for (TPointSpeleo* p : *s)
        if (p->TypePoint == survey::PointSurfaceImporte) p->TypePoint = survey::PointSurface;
    if (Reseau->TypeImport == 0 && !Reseau->Projection.empty())
      projections::VerifieProjectionListee(Reseau->Projection);
  }
  return ok;
}

}  // namespace formats
