#include "survey/galerie.h"

#include <unordered_map>

#include "foundation/catalogue.h"
#include "foundation/niveau_fichier.h"
#include "platform/dialogs.h"
#include "survey/contexte_document.h"
#include "survey/ports_survey.h"
#include "survey/visee.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;

namespace {
constexpr int32_t kNiveauIdSvg = 503;
}

bool TGalerie::EcritObjet(TFlux& f) {
  InitES(f);
  EcrisTexte(NomGalerie);
  if (!ResultObjet) return false;
  if (!Points.EcritListe(f)) return ResultObjet = false;
  return EcrisInteger(idGalSvg, true);
}

bool TGalerie::LitObjet(TFlux& f) {
  InitES(f);
  LisTexte(NomGalerie);
  if (!ResultObjet) return false;
  if (!Points.LitListe(f)) return ResultObjet = false;
  for (TPointSpeleo* p : Points) p->GalduPt = this;
  if (Points.Vide())
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information, Msg(IdMsg::GalerieVide));
  if (foundation::NiveauFichier().VersionFichierLue >= kNiveauIdSvg) return LisInteger(idGalSvg, true);
  idGalSvg = -1;
  return ResultObjet = true;
}

TVisee* TGalerie::UneViseeDeGal(int i) const {
  return (i < 0 || static_cast<size_t>(i) >= ViseesDeLaGal.size()) ? nullptr : ViseesDeLaGal[static_cast<size_t>(i)];
}

TPointSpeleo* TGalerie::PointRattach() const {
  const TVisee* v = PremiereVisee();
  return v ? v->PtOrigCalc : nullptr;
}

bool TGalerie::Rattachee() const {
  const TPointSpeleo* p = Points.First();
  return p && p->PtRattache;
}

bool TGalerie::Isolee() const {
  const TPointSpeleo* p = Points.First();
  return p && !p->ViseeAvant;
}

TGalerie* TGalerie::GalDeRattach() const {
  const TVisee* v = PremiereVisee();
  TVisee* avant = v ? v->ViseePreced() : nullptr;
  return avant ? avant->GalDeLaVis() : nullptr;
}

// Each shot's count is the number of the gallery's shots whose path towards
// the entrance, through preceding shots of this gallery, passes through it:
// the size of its subtree in the tree the preceding shots draw, less one.  The
// subtrees are summed from the leaves up, so the cost stays linear however
// branched the gallery is.
void TGalerie::CreeNbreVisees() {
  const size_t n = ViseesDeLaGal.size();
  std::unordered_map<const TVisee*, size_t> rang;
  rang.reserve(n);
  for (size_t i = 0; i < n; ++i) rang.emplace(ViseesDeLaGal[i], i);
  std::vector<long> parent(n, -1);
  std::vector<int> enfantsRestants(n, 0);
  for (size_t i = 0; i < n; ++i) {
    const TVisee* avant = ViseesDeLaGal[i]->ViseePreced();
    const auto it = avant ? rang.find(avant) : rang.end();
    if (it != rang.end() && it->second != i) {
      parent[i] = static_cast<long>(it->second);
      ++enfantsRestants[it->second];
    }
  }
  std::vector<int32_t> taille(n, 1);
  std::vector<size_t> prets;
  for (size_t i = 0; i < n; ++i)
    if (enfantsRestants[i] == 0) prets.push_back(i);
  while (!prets.empty()) {
    const size_t i = prets.back();
    prets.pop_back();
    if (parent[i] >= 0) {
      const auto p = static_cast<size_t>(parent[i]);
      taille[p] += taille[i];
      if (--enfantsRestants[p] == 0) prets.push_back(p);
    }
  }
  // Shots caught in a cycle of preceding shots (never seen after a
  // regeneration) are left with their own size.
  for (size_t i = 0; i < n; ++i) ViseesDeLaGal[i]->NbreViseesSuivantes = taille[i] - 1;
}

bool TGalerie::TesteSuiteGalerie(TVisee& visee) {
  TPointSpeleo* origine = visee.PtOrigCalc;
  TPointSpeleo* fin = visee.PtCalc;
  if (!origine || !fin) return false;
  const bool rectif = Document().RectifEnCours;
  if (origine->NbRatGal < 2) {
    fin->Annexe = 0;
    return false;
  }
  if (!rectif) fin->Annexe = 1;
  std::vector<TPointSpeleo*> suites;
  bool surLigne = false;
  for (TPointSpeleo* p : Points)
    if (p->ViseeAvant && p->ViseeAvant->PtOrigCalc == origine) {
      suites.push_back(p);
      if (!p->EstAnnexe()) surLigne = true;
    }
  const size_t n = suites.size();
  if (n == 1 && !rectif) fin->Annexe = 0;
  if (n == 2 || (rectif && n > 1)) {
    if (Ports().DialogueSuiteGalerie) {
      TDemandeSuiteGalerie demande;
      demande.Titre = Msg(IdMsg::RattachementAuPoint) + origine->DesignPTopo;
      demande.NomGalerie = NomGalerie;
      demande.Points = suites;
      demande.Rectification = rectif;
      const std::optional<int> choix = Ports().DialogueSuiteGalerie(demande);
      if (choix)
        for (size_t i = 0; i < n; ++i) suites[i]->Annexe = static_cast<int>(i) == *choix ? 0 : 1;
    }
  } else if (n > 2 && !rectif) {
    if (surLigne) {
      fin->Annexe = 1;
    } else {
      const std::string question = foundation::RemplaceMarques(Msg(IdMsg::PointEstSuiteGalerie), {fin->DesignPTopo});
      fin->Annexe = platform::Dialogs::Current().AskYesNo(question) == platform::Answer::Yes ? 0 : 1;
    }
  }
  return n > 1;
}

TGalerie* GalerieDuPoint(const TPointSpeleo* p) { return p ? p->GalduPt : nullptr; }

std::string NomGalerieDuPoint(const TPointSpeleo* p) {
  const TGalerie* g = GalerieDuPoint(p);
  return g ? g->NomGalerie : std::string();
}

}  // namespace survey
