#include "formats/import/galeries_import.h"

#include <climits>
#include <functional>
#include <queue>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include "formats/import/import_autres.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "foundation/utilitaires.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "survey/cavite.h"
#include "survey/ports_survey.h"
#include "survey/reseau.h"
#include "survey/suppressions.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;
using survey::TCavite;
using survey::TGalerie;
using survey::TPointSpeleo;
using survey::TVisee;

namespace {

std::string NomDe(const TPointSpeleo* p) { return p ? p->DesignPTopo : std::string(); }

std::string NomVisee(const TVisee* v) { return NomDe(v->PointStation) + "-" + NomDe(v->PointVise); }

// Sets the network's grid-convergence switch and puts the old value back.
class GardeCalculProjection {
 public:
  GardeCalculProjection(survey::TReseau& r, bool valeur) : r_(r), sauve_(r.CalculProjection) {
    r.CalculProjection = valeur;
  }
  ~GardeCalculProjection() { r_.CalculProjection = sauve_; }
  GardeCalculProjection(const GardeCalculProjection&) = delete;
  GardeCalculProjection& operator=(const GardeCalculProjection&) = delete;
  bool Sauve() const { return sauve_; }

 private:
  survey::TReseau& r_;
  bool sauve_;
};

}  // namespace

// --- The gallery dialog ---------------------------------------------------------------------

std::string TNommeGalDlg::CheminMemoire() const {
  const std::string& dossier = Import().DossierMemoireGaleries;
  if (dossier.empty()) return NG;
  return dossier.back() == '/' ? dossier + NG : dossier + "/" + NG;
}

void TNommeGalDlg::Init(const std::string& cheminImport, const std::string& nomOrigine) {
  NG = Msg(IdMsg::NommeGalFichierMemoire);
  NomFichierImport = cheminImport;
  GalFich.clear();
  FichierOK = false;
  std::string octets;
  if (platform::FileExists(CheminMemoire()) && platform::ReadFile(CheminMemoire(), octets)) {
    GalFich = foundation::DecoupeLignes(foundation::DepuisWindows1252(octets));
    FichierOK = !GalFich.empty() && GalFich.front() == cheminImport;
  }
  if (!FichierOK) GalFich.clear();
  Lignes.clear();
  LigneSelectionnee = -1;
  TexteOrigine = Msg(IdMsg::NommeGalPointOrigine) + nomOrigine;
}

void TNommeGalDlg::NouvelleGal(const std::string& nom, const std::string& debut, TVisee* visee,
                               const std::string& rattach) {
  TLigneNommeGal l;
  l.Cochee = true;
  l.Rattach = rattach;
  l.Debut = debut;
  l.Designation = nom;
  l.Visee = visee;
  Lignes.push_back(std::move(l));
  LigneSelectionnee = NombreLignes() - 1;
}

void TNommeGalDlg::NumFin(int ligne, const std::string& nom) {
  if (ligne >= 0 && ligne < NombreLignes()) Lignes[static_cast<size_t>(ligne)].Fin = nom;
}

void TNommeGalDlg::NumRang(int ligne, int rang) {
  if (ligne >= 0 && ligne < NombreLignes()) Lignes[static_cast<size_t>(ligne)].Rang = foundation::EntierEnStr(rang);
}

bool TNommeGalDlg::Cochee(int ligne) const {
  return ligne >= 0 && ligne < NombreLignes() && Lignes[static_cast<size_t>(ligne)].Cochee;
}

std::string TNommeGalDlg::DesignGal(int ligne) const {
  if (ligne < 0 || ligne >= NombreLignes()) return {};
  return Lignes[static_cast<size_t>(ligne)].Designation;
}

void TNommeGalDlg::Ouvre() {
  if (FichierOK)
    for (size_t i = 0; i < Lignes.size() && i + 1 < GalFich.size(); ++i) {
      const std::string& l = GalFich[i + 1];
      Lignes[i].Cochee = !l.empty() && l[0] == '1';
      if (l.size() > 1) Lignes[i].Designation = foundation::Gauche(l.substr(1), 255);
    }
  if (Nomme0 && !Lignes.empty()) Lignes[0].Cochee = true;
}

void TNommeGalDlg::Coche(int ligne, bool cochee) {
  if (ligne < 0 || ligne >= NombreLignes()) return;
  Lignes[static_cast<size_t>(ligne)].Cochee = cochee;
  if (Nomme0 && ligne == 0 && !cochee) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning, Msg(IdMsg::NommeGalEntreeObligatoire));
    Lignes[0].Cochee = true;
  }
}

bool TNommeGalDlg::Renomme(int ligne) {
  if (!Cochee(ligne)) return false;
  TLigneNommeGal& l = Lignes[static_cast<size_t>(ligne)];
  const auto nom = platform::Dialogs::Current().Prompt(Msg(IdMsg::NommeGalChangementNom),
                                                       Msg(IdMsg::NommeGalNouveauNom), l.Designation);
  if (!nom) return false;
  l.Designation = *nom;
  return true;
}

void TNommeGalDlg::Tout() {
  for (TLigneNommeGal& l : Lignes) l.Cochee = true;
}

void TNommeGalDlg::Zero() {
  for (TLigneNommeGal& l : Lignes) l.Cochee = false;
  if (Nomme0 && !Lignes.empty()) Lignes[0].Cochee = true;
}

void TNommeGalDlg::Ferme(ResultatNommeGal resultat) {
  if (resultat != ResultatNommeGal::Annuler) {
    std::string texte = NomFichierImport + "\r\n";
    for (const TLigneNommeGal& l : Lignes) texte += (l.Cochee ? "1" : "0") + l.Designation + "\r\n";
    // The memory only helps the next import: a folder that cannot be written
    // costs nothing more than the defaults next time.
    platform::WriteFileAtomic(CheminMemoire(), foundation::VersWindows1252(texte));
  }
  GalFich.clear();
}

bool TNommeGalDlg::ChangeOrigine() {
  const auto& choisit = FenetresImport().ChoisitOrigineImport;
  if (!choisit || !Lecteur || !Lecteur->ACavite || Lecteur->ACavite.get() != UneCavite) return false;
  GardeCaviteImportDansReseau garde(*Lecteur, true);
  const GardeCalculProjection projection(*Lecteur->Reseau, CalculProjectionReseau);
  return choisit(garde.Cavite());
}

ResultatNommeGal TNommeGalDlg::Execute() {
  Ouvre();
  const ResultatNommeGal r =
      FenetresImport().AfficheNommeGal ? FenetresImport().AfficheNommeGal(*this) : ResultatNommeGal::Ok;
  Ferme(r);
  return r;
}

// --- The branch walk ---------------------------------------------------------------------------

bool OrdonneBranchesImport(tImportAutres& import) {
  TCavite& c = *import.ACavite;
  const int n = c.Visees.Count();
  // Fresh links.
  c.ListeEntrees.Clear();
  std::unordered_set<const TVisee*> propres;
  propres.reserve(static_cast<size_t>(n));
  for (const TVisee* v : c.Visees) propres.insert(v);
  for (TVisee* v : c.Visees)
    for (TPointSpeleo* p : {v->PointStation, v->PointVise}) {
      if (!p) continue;
      auto& lv = p->LstVis;
      if (p->EstPointSurface())  // other caves' shots stay listed at a surface point
        lv.erase(std::remove_if(lv.begin(), lv.end(), [&](const TVisee* w) { return propres.count(w) != 0; }),
                 lv.end());
      else
        lv.clear();
      p->ViseeAvant = nullptr;
    }
  for (TVisee* v : c.Visees) {
    v->InvVisee = false;
    v->BrancheVis = -1;
    v->IndexCav = -1;
    v->PtOrigCalc = v->PointStation;
    v->PtCalc = v->PointVise;
    v->CalculeVisee();
  }
  // Entrances, the starting shot, the links.
  TVisee* depart = nullptr;
  TPointSpeleo* depuis = nullptr;
  std::unordered_set<const TPointSpeleo*> entrees;
  std::unordered_map<const TVisee*, int> position;
  position.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    TVisee* v = c.Visees.UnObjet(i);
    position[v] = i;
    for (TPointSpeleo* p : {v->PointStation, v->PointVise})
      if (p && p->EstPointSurface()) {
        if (entrees.insert(p).second) c.ListeEntrees.Add(p);
        if (!depart) {
          depart = v;
          depuis = p;
        }
      }
    for (TPointSpeleo* p : {v->PointStation, v->PointVise})
      if (p) p->LstVis.push_back(v);
  }
  for (TPointSpeleo* e : c.ListeEntrees) e->Marque = false;
  // Walks: each numbered shot's list position waits in a heap until its
  // end has no unnumbered shot left; each station's first unnumbered shot is
  // found by a cursor that only moves forward.
  int32_t ordre = -1;
  int32_t branche = 0;
  std::priority_queue<int, std::vector<int>, std::greater<int>> reprises;
  std::unordered_map<const TPointSpeleo*, size_t> curseurs;
  auto premiereLibre = [&](const TPointSpeleo* p) -> TVisee* {
    size_t& k = curseurs[p];
    while (k < p->LstVis.size() && p->LstVis[k]->IndexCav >= 0) ++k;
    return k < p->LstVis.size() ? p->LstVis[k] : nullptr;
  };
  auto parcourt = [&](TVisee* v, TPointSpeleo* de) {
    while (v) {
      v->IndexCav = ++ordre;
      v->InvVisee = de == v->PointVise && de != v->PointStation;
      v->PtOrigCalc = v->InvVisee ? v->PointVise : v->PointStation;
      v->PtCalc = v->InvVisee ? v->PointStation : v->PointVise;
      v->CalculeVisee();
      v->BrancheVis = branche;
      reprises.push(position[v]);
      TPointSpeleo* P = v->PtCalc;
      if (!P) return;
      if (!P->ViseeAvant) P->ViseeAvant = v;
      if (P->LstVis.size() < 2) return;
      TVisee* suivante = nullptr;
      for (TVisee* w : P->LstVis)
        if (w != v && w->IndexCav < 0 && (P->LstVis.size() == 2 || w->Incrementee())) suivante = w;
      v = suivante;
      de = P;
    }
  };
  if (depart) parcourt(depart, depuis);
  while (!reprises.empty()) {
    TVisee* v = c.Visees.UnObjet(reprises.top());
    TPointSpeleo* P = v->PtCalc;
    TVisee* libre = P && P->LstVis.size() >= 2 ? premiereLibre(P) : nullptr;
    if (!libre) {
      reprises.pop();
      continue;
    }
    ++branche;
    parcourt(libre, P);
  }
  // Computation order; shots the walk did not reach go last.
  c.Visees.TrieParCle([n](const TVisee* v) { return v->IndexCav >= 0 ? v->IndexCav : n; });
  // Shots that cannot be reached from the entrance: named to the user, who
  // goes on without them or stops the import.
  std::vector<std::string> isolees;
  for (const TVisee* v : c.Visees)
    if (v->IndexCav < 0) isolees.push_back(NomVisee(v));
  if (!isolees.empty()) {
    std::string liste;
    const size_t montres = std::min<size_t>(isolees.size(), 20);
    for (size_t i = 0; i < montres; ++i) liste += (i ? ", " : "") + isolees[i];
    if (isolees.size() > montres) liste += ", ...";
    const std::string question = foundation::RemplaceMarques(
        Msg(IdMsg::ImportViseesNonRattachees), {foundation::EntierEnStr(static_cast<int64_t>(isolees.size())), liste});
    if (platform::Dialogs::Current().AskYesNo(question) != platform::Answer::Yes) {
      import.Abandon = true;
      return false;
    }
    // A sketch already tied to those shots lets go of them first.
    if (c.Annexe) {
      survey::TSuppressions s;
      for (TVisee* v : c.Visees)
        if (v->IndexCav < 0) s.AjouteVisee(v);
      c.Annexe->Nettoie(s);
    }
    while (!c.Visees.Vide() && c.Visees.Last()->IndexCav < 0) c.Visees.Delete(c.Visees.Count() - 1);
    import.ViseesNonRattachees = static_cast<int>(isolees.size());
  }
  // Side stations: a one-shot spur off another branch joins that branch.
  for (TVisee* v : c.Visees) {
    const TVisee* avant = v->PtOrigCalc ? v->PtOrigCalc->ViseeAvant : nullptr;
    TPointSpeleo* e = v->PtCalc;
    if (avant && avant->BrancheVis != v->BrancheVis && e && !e->EstPointSurface() && e->LstVis.size() == 1) {
      v->BrancheVis = avant->BrancheVis;
      e->Annexe = 1;
    }
  }
  return true;
}

// --- Gallery naming ----------------------------------------------------------------------------

bool NommeGaleriesImport(tImportAutres& import, const std::string& chemin) {
  survey::TReseau& reseau = *import.Reseau;
  TCavite& c = *import.ACavite;
  // No grid convergence while the galleries are made.
  const GardeCalculProjection garde(reseau, false);
  if (TCavite* surface = reseau.UneCavite(0)) surface->ReGenereListePoints(false);
  // The branches in walk order.
  if (!OrdonneBranchesImport(import)) return false;
  // The naming dialog, for the cave and its entrance.
  TNommeGalDlg& dlg = *import.NommeGalDlg;
  dlg.Nomme0 = !import.EstPartiel;
  dlg.Init(chemin, NomDe(c.LEntree()));
  // In the second pass the origin is the one chosen: a new request there
  // would only cancel the import.
  dlg.BoutonOrigineVisible = !import.EstMaj && import.TypeAppli > TypeImportTopoRobot &&
                             !Import().SecondPassageImport && FenetresImport().ChoisitOrigineImport != nullptr;
  dlg.Lecteur = &import;
  dlg.CalculProjectionReseau = garde.Sauve();
  // One row per branch.
  const int nv = c.Visees.Count();
  std::vector<int32_t> brancheAvant(static_cast<size_t>(nv));
  for (int i = 0; i < nv; ++i) brancheAvant[static_cast<size_t>(i)] = c.Visees.UnObjet(i)->BrancheVis;
  int n = -1;
  for (int i = 0; i < nv; ++i) {
    TVisee* v = c.Visees.UnObjet(i);
    TPointSpeleo* fin = v->PtCalc;
    const bool annexe = fin && fin->Annexe == 1;
    const bool ouvre =
        (i == 0 || brancheAvant[static_cast<size_t>(i)] != brancheAvant[static_cast<size_t>(i - 1)]) && !annexe;
    if (ouvre) {
      if (i > 0 && fin) fin->Annexe = -1;
      ++n;
      dlg.NouvelleGal(import.NomDeLaGalerie(v), NomDe(fin), v, NomDe(v->PtOrigCalc));
    }
    if (annexe) {
      const TVisee* avant = v->PtOrigCalc ? v->PtOrigCalc->ViseeAvant : nullptr;
      v->BrancheVis = avant ? avant->BrancheVis : n;
    } else {
      v->BrancheVis = n;
      dlg.NumFin(n, NomDe(fin));
    }
  }
  // The user names the branches and checks those that become galleries.
  dlg.UneCavite = &c;
  const ResultatNommeGal r = dlg.Execute();
  if (r == ResultatNommeGal::Ok) {
    if (TGalerie* g0 = c.Galeries.First()) {
      if (n >= 0) g0->NomGalerie = dlg.DesignGal(0);
      g0->AFusionner = !dlg.Cochee(0);
    }
    for (int i = 1; i <= n; ++i) c.AjouteGalerie(dlg.DesignGal(i));
  } else {
    Import().ChangeOrigineDemandee = r == ResultatNommeGal::Reessayer;
  }
  return r == ResultatNommeGal::Ok;
}

// --- Distribution of the stations ------------------------------------------------------------

bool CreeStructureImport(tImportAutres& import) {
  TCavite& c = *import.ACavite;
  TNommeGalDlg& dlg = *import.NommeGalDlg;
  TGalerie* g0 = c.Galeries.First();
  const int lignes = dlg.NombreLignes();
  const bool coche0 = dlg.Cochee(0);
  std::unordered_set<const TPointSpeleo*> deplaces;
  auto retireDeplaces = [&]() {
    auto& restants = g0->Points.Points();
    restants.erase(std::remove_if(restants.begin(), restants.end(),
                                  [&](const TPointSpeleo* p) { return deplaces.count(p) != 0; }),
                   restants.end());
    deplaces.clear();
    g0->Points.Possede = true;
  };
  auto echec = [] {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, Msg(IdMsg::ImportErreurStructure));
    return false;
  };
  if (!g0) return echec();
  // Whatever stops the distribution, also a programming error on its way to
  // the command handler, every station belongs to one gallery again before
  // the cave is freed, and the first row gets its check back.
  bool fini = false;
  struct Remet {
    std::function<void()> action;
    ~Remet() { action(); }
  } remet{[&] {
    if (!fini) retireDeplaces();
    if (lignes > 0) dlg.Lignes[0].Cochee = coche0;
  }};
  try {
    // The first row is always a gallery while the stations are shared out.
    if (lignes > 0) dlg.Lignes[0].Cochee = true;
    auto cochee = [&](int32_t b) { return b >= 0 && b < lignes && dlg.Cochee(b); };
    // Attachment shots.
    for (TVisee* v : c.Visees) {
      const TPointSpeleo* e = v->PtCalc;
      if (e && e->ViseeAvant && e->ViseeAvant->BrancheVis != v->BrancheVis && e->Annexe != 1)
        v->TypeRattachement = 1;
    }
    // Unchecked rows join the branch they leave; the checked ones take
    // their stations out of the first gallery.
    g0->Points.Possede = false;
    for (TVisee* v : c.Visees)
      if (!cochee(v->BrancheVis))
        if (const TVisee* avant = v->ViseePreced()) v->BrancheVis = avant->BrancheVis;
    auto deplace = [&](TPointSpeleo* p, TGalerie* g) {
      p->GalduPt = g;
      g->Points.Add(p);
      deplaces.insert(p);
    };
    for (TVisee* v : c.Visees) {
      const int32_t r = v->BrancheVis;
      if (r <= 0 || !cochee(r)) continue;
      TGalerie* g = c.Galeries.UnObjet(r);
      if (!g) return echec();
      if (!v->ViseePreced() && v->PtOrigCalc && !v->PtOrigCalc->EstPointSurface() && v->PtOrigCalc->GalduPt == g0)
        deplace(v->PtOrigCalc, g);
      if (v->MemeGal() && v->PtCalc && v->PtCalc->GalduPt == g0) deplace(v->PtCalc, g);
    }
    // The moved stations leave the first gallery; unchecked and empty galleries go.
    retireDeplaces();
    for (int i = c.Galeries.Count() - 1; i >= 1; --i)
      if (!cochee(i) || c.Galeries.UnObjet(i)->Points.Vide()) c.Galeries.Delete(i);
    // The first station of a branch, reached by its first shot, is a side
    // station of the branch it leaves; no station keeps the transient mark.
    for (TVisee* v : c.Visees)
      if (v->MemeGal() && v->PtCalc->Annexe == -1) v->PtCalc->Annexe = 1;
    for (TGalerie* g : c.Galeries)
      for (TPointSpeleo* p : g->Points)
        if (p->Annexe == -1) p->Annexe = 0;
    // The cave walked again; the first gallery active, the first row as the user left it.
    c.ReGenereListePoints(false);
    c.LaGalerieActive = c.Galeries.First();
    fini = true;
    return true;
  } catch (const std::runtime_error&) {
    // A documented error raised on the way; a programming error goes on.
    return echec();
  }
}

}  // namespace formats
