#include "app/table/table_visees.h"

#include <algorithm>

#include "foundation/catalogue.h"
#include "survey/cavite.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

namespace app {

using survey::TValeurVisee;
using survey::TVisee;
using survey::TViseeHabi;

TTableVisees::TTableVisees(FabriqueTextes fabrique) : fabrique_(std::move(fabrique)) {
  if (!fabrique_) fabrique_ = [](TValeurVisee& v, TextesLigne& l) { TextesLigneTable(v, l); };
}

TTableVisees::Remplissage TTableVisees::Remplit(survey::TCavite& cavite, bool afficheHabi) {
  Vide();
  Remplissage r;
  const int n = cavite.Visees.Count();
  size_t habi = 0;
  for (const TVisee* v : cavite.Visees) habi += static_cast<size_t>(v->ViseesHabi.Count());
  lignes_.reserve(static_cast<size_t>(n) + (afficheHabi ? habi : 0));
  cavite.Visees.ViseesHabExistent = habi > 0;
  r.HabiExistent = habi > 0;
  for (TVisee* v : cavite.Visees) {
    lignes_.push_back(v);
    if (afficheHabi)
      for (TViseeHabi* h : v->ViseesHabi) lignes_.push_back(h);
    std::string erreur = ErreurVisee(*v);
    if (!erreur.empty()) {
      signalees_.insert(v);
      r.Erreurs.push_back(std::move(erreur));
    }
  }
  return r;
}

void TTableVisees::Vide() {
  lignes_.clear();
  textes_.clear();
  signalees_.clear();
  aRapporter_.clear();
}

TValeurVisee* TTableVisees::Visee(int ligne) const {
  return (ligne < 0 || ligne >= Nombre()) ? nullptr : lignes_[static_cast<size_t>(ligne)];
}

TVisee* TTableVisees::ViseePrincipale(int ligne) const {
  TValeurVisee* v = Visee(ligne);
  if (!v) return nullptr;
  return v->EstHabi ? static_cast<TViseeHabi*>(v)->ViseeDeRef : static_cast<TVisee*>(v);
}

bool TTableVisees::EstHabi(int ligne) const {
  const TValeurVisee* v = Visee(ligne);
  return v && v->EstHabi;
}

int TTableVisees::LigneDe(const TValeurVisee* visee) const {
  if (!visee) return -1;
  const auto it = std::find(lignes_.begin(), lignes_.end(), visee);
  return it == lignes_.end() ? -1 : static_cast<int>(it - lignes_.begin());
}

void TTableVisees::Insere(int ligne, TValeurVisee* visee) {
  ligne = std::clamp(ligne, 0, Nombre());
  // A new shot may take the address of one deleted earlier.
  textes_.erase(visee);
  signalees_.erase(visee);
  lignes_.insert(lignes_.begin() + ligne, visee);
}

void TTableVisees::Retire(int premier, int dernier) {
  premier = std::max(premier, 0);
  dernier = std::min(dernier, Nombre() - 1);
  if (premier > dernier) return;
  for (int i = premier; i <= dernier; ++i) {
    textes_.erase(lignes_[static_cast<size_t>(i)]);
    signalees_.erase(lignes_[static_cast<size_t>(i)]);
  }
  lignes_.erase(lignes_.begin() + premier, lignes_.begin() + dernier + 1);
}

std::vector<TValeurVisee*> TTableVisees::Detache() {
  std::vector<TValeurVisee*> r;
  r.swap(lignes_);
  return r;
}

void TTableVisees::Rattache(std::vector<TValeurVisee*> lignes) { lignes_ = std::move(lignes); }

const std::string& TTableVisees::Texte(int ligne, int colonne) {
  static const std::string vide;
  TValeurVisee* v = Visee(ligne);
  if (!v || colonne < 0 || colonne >= static_cast<int>(std::tuple_size_v<TextesLigne>)) return vide;
  auto it = textes_.find(v);
  if (it == textes_.end()) {
    // The cache holds the rows drawn lately; past its bound it starts again
    // (the rows on screen are made again at once).
    if (textes_.size() >= CacheMaxi) textes_.clear();
    TextesLigne t;
    fabrique_(*v, t);
    it = textes_.emplace(v, std::move(t)).first;
  }
  return it->second[static_cast<size_t>(colonne)];
}

bool TTableVisees::TextesFaits(int ligne) const {
  const TValeurVisee* v = Visee(ligne);
  return v && textes_.count(v) > 0;
}

void TTableVisees::Invalide(int ligne) {
  if (const TValeurVisee* v = Visee(ligne)) textes_.erase(v);
}

void TTableVisees::InvalideDepuis(int ligne) {
  // The cache holds only rows drawn lately: when the rows to walk outnumber
  // it, it is cheaper to let every row be made again when next drawn.
  const size_t reste = ligne <= 0 ? lignes_.size() : lignes_.size() - static_cast<size_t>(std::min(ligne, Nombre()));
  if (ligne <= 0 || reste > 4 * textes_.size()) {
    textes_.clear();
    return;
  }
  for (int i = ligne; i < Nombre(); ++i) textes_.erase(lignes_[static_cast<size_t>(i)]);
}

void TTableVisees::InvalideTout() { textes_.clear(); }

std::string TTableVisees::ErreurVisee(const TValeurVisee& visee) {
  if (visee.EstHabi) return {};
  const auto& v = static_cast<const TVisee&>(visee);
  if (v.PtOrigCalc) return {};
  const survey::TPointSpeleo* p = v.PtCalc ? v.PtCalc : v.PointVise;
  return foundation::Msg(foundation::IdMsg::AppErreurSurVisee) + (p ? p->DesignPTopo : std::string());
}

bool TTableVisees::NoteErreurDessin(int ligne, const std::string& message) {
  const TValeurVisee* v = Visee(ligne);
  if (!v || !signalees_.insert(v).second) return false;
  aRapporter_.push_back(message);
  return true;
}

std::vector<std::string> TTableVisees::ErreursARapporter() {
  std::vector<std::string> r;
  r.swap(aRapporter_);
  return r;
}

}  // namespace app
