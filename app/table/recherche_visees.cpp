#include "app/table/recherche_visees.h"

#include <algorithm>
#include <unordered_set>

#include "app/table/table_visees.h"
#include "foundation/codage.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

namespace app {

namespace {
std::string Nom(const survey::TPointSpeleo* p) { return p ? foundation::EnMajuscules(p->DesignPTopo) : std::string(); }
}  // namespace

std::vector<const survey::TLever*> TRechercheVisees::LeversDeLaTable(const TTableVisees& table) {
  std::vector<const survey::TLever*> r;
  std::unordered_set<const survey::TLever*> vus;
  for (const survey::TValeurVisee* v : table.Lignes())
    if (!v->EstHabi && v->LeLever && vus.insert(v->LeLever).second) r.push_back(v->LeLever);
  return r;
}

void TRechercheVisees::Prepare(TTableVisees& table, const survey::TLever* lever) {
  lignes_.clear();
  const auto& rangees = table.Lignes();
  for (size_t i = 0; i < rangees.size(); ++i) {
    const survey::TValeurVisee* vv = rangees[i];
    if (vv->EstHabi || (lever && vv->LeLever != lever)) continue;
    const auto* v = static_cast<const survey::TVisee*>(vv);
    Ligne l{static_cast<int>(i), Nom(v->PointStation), Nom(v->PointVise), {}, {}};
    if (v->PtCalc) l.Commentaire = foundation::EnMajuscules(v->PtCalc->Commentaire.Texte());
    if (v->EstDebutGal())
      if (const survey::TGalerie* g = v->GalDeLaVis()) l.Galerie = foundation::EnMajuscules(g->NomGalerie);
    lignes_.push_back(std::move(l));
  }
  position_ = 0;
}

bool TRechercheVisees::Correspond(const Ligne& l) const {
  if (Options.Exacte ? (l.Debut == texte_ || l.Fin == texte_)
                     : (l.Debut.find(texte_) != std::string::npos || l.Fin.find(texte_) != std::string::npos))
    return true;
  if (Options.Commentaires && l.Commentaire.find(texte_) != std::string::npos) return true;
  return Options.Galeries && l.Galerie.find(texte_) != std::string::npos;
}

int TRechercheVisees::Lance(const std::string& texte, const OptionsRecherche& options, bool leverChoisi) {
  Options = options;
  texte_ = foundation::EnMajuscules(texte);
  position_ = 0;
  if (!texte_.empty()) return CherchePointSuivant();
  if (!leverChoisi || lignes_.empty()) return -1;
  position_ = 1;
  return lignes_.front().Rangee;
}

int TRechercheVisees::CherchePointSuivant() {
  if (lignes_.empty()) return -1;
  if (texte_.empty()) {
    if (position_ >= lignes_.size()) position_ = 0;
    return lignes_[position_++].Rangee;
  }
  const size_t depart = std::min(position_, lignes_.size());
  for (int passe = 0; passe < 2; ++passe) {
    const size_t debut = passe == 0 ? depart : 0;
    const size_t fin = passe == 0 ? lignes_.size() : depart;
    for (size_t i = debut; i < fin; ++i)
      if (Correspond(lignes_[i])) {
        position_ = i + 1;
        return lignes_[i].Rangee;
      }
    if (depart == 0) break;
  }
  return -1;
}

void TRechercheVisees::Invalide() {
  lignes_.clear();
  position_ = 0;
}

}  // namespace app
