#include "views/import_motifs_choisis.h"

#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "drawing/ports_motifs.h"
#include "foundation/catalogue.h"
#include "platform/dialogs.h"

namespace views {

using drawing::TObjetMotifdeBase;
using drawing::TTypeMotif;
using foundation::IdMsg;
using foundation::Msg;

bool PrepareImportMotifs(const drawing::tListeMtf& bibliotheque, TTypeMotif type, drawing::tListeMtf& difference) {
  if (!drawing::ChoisitDifferenceMotifs(Msg(IdMsg::ImportMotifsFiltre), bibliotheque, difference)) return false;
  if (difference.ListeMotif[static_cast<size_t>(type)]->Vide()) {
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Information, Msg(IdMsg::ImportMotifsAucun));
    return false;
  }
  return true;
}

void ImporteMotifsChoisis(drawing::tListeMtf& destination, drawing::tListeMtf& difference, TTypeMotif type,
                          const std::vector<TObjetMotifdeBase*>& choisis, bool importerCategories,
                          drawing::TCategorieMotifs* categorie) {
  drawing::TListeMotifsBase& arrivee = *destination.ListeMotif[static_cast<size_t>(type)];
  drawing::TListeMotifsBase& depart = *difference.ListeMotif[static_cast<size_t>(type)];
  const bool avecTextures = type == TTypeMotif::tmTrait || type == TTypeMotif::tmRempli;
  std::optional<drawing::TEquivTextures> textures;
  if (avecTextures) textures.emplace(difference, destination);
  // The destination's categories by name (the first of each name), completed
  // as categories are created.
  std::unordered_map<std::string, drawing::TCategorieMotifs*> parNom;
  for (auto it = arrivee.ListeCategories.rbegin(); it != arrivee.ListeCategories.rend(); ++it)
    parNom[(*it)->UnNomCategorie] = it->get();
  const std::unordered_set<const TObjetMotifdeBase*> choix(choisis.begin(), choisis.end());
  for (std::unique_ptr<TObjetMotifdeBase>& m : depart.ExtraitTout()) {
    if (!choix.count(m.get())) {
      depart.AjouteMotif(std::move(m));
      continue;
    }
    if (!importerCategories) {
      m->UneCategorie = categorie;
    } else if (m->UneCategorie && depart.IndexDeCategorie(m->UneCategorie) >= 0) {
      drawing::TCategorieMotifs*& c = parNom[m->UneCategorie->UnNomCategorie];
      if (!c) c = arrivee.AjouteCategorie(m->UneCategorie->UnNomCategorie);
      m->UneCategorie = c;
    } else {
      m->UneCategorie = nullptr;
    }
    if (textures) textures->Remappe(*m);
    arrivee.AjouteMotif(std::move(m));
  }
  // An entry whose category is not the destination list's joins the
  // undefined category.
  arrivee.CreeListeCategories();
  if (textures) textures->TransfereUtiles(destination);
  drawing::SignaleDocumentModifie();
}

}  // namespace views
