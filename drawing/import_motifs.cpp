#include "drawing/import_motifs.h"

#include <memory>
#include <optional>
#include <vector>
#include <unordered_map>
#include <unordered_set>

#include "drawing/ports_motifs.h"
#include "foundation/catalogue.h"
#include "foundation/codage.h"
#include "platform/dialogs.h"
#include "platform/files.h"

namespace drawing {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TObjetDeListe;

namespace {

// The categories of a source list matched by exact name with those of a
// destination list: the first destination category of the same name, or the
// source category itself, marked used.  The used source categories without
// equivalent then move to the destination list.
class TEquivCategories {
 public:
  TEquivCategories(TListeMotifsBase& source, TListeMotifsBase& destination)
      : source_(source), destination_(destination) {
    std::unordered_map<std::string, TCategorieMotifs*> parNom;
    for (auto it = destination.ListeCategories.rbegin(); it != destination.ListeCategories.rend(); ++it)
      parNom[(*it)->UnNomCategorie] = it->get();
    for (const auto& c : source.ListeCategories) {
      const auto trouve = parNom.find(c->UnNomCategorie);
      equivalents_[c.get()] = trouve == parNom.end() ? nullptr : trouve->second;
    }
  }

  // None for none and for a category that is not the source list's: it
  // would not outlive the source (a fill made from a line style of an old
  // file keeps the line-style list's category).
  TCategorieMotifs* Equivaut(TCategorieMotifs* c) {
    const auto it = equivalents_.find(c);
    if (it == equivalents_.end()) return nullptr;
    if (it->second) return it->second;
    utilisees_.insert(c);
    return c;
  }

  // The used categories without equivalent, in the source's order, leave the
  // source list for the end of the destination's; the others stay.
  void TransfereCategoriesUtiles() {
    std::vector<std::unique_ptr<TCategorieMotifs>> restent;
    for (auto& c : source_.ListeCategories) {
      if (utilisees_.count(c.get()))
        destination_.ListeCategories.push_back(std::move(c));
      else
        restent.push_back(std::move(c));
    }
    source_.ListeCategories = std::move(restent);
  }

 private:
  TListeMotifsBase& source_;
  TListeMotifsBase& destination_;
  std::unordered_map<const TCategorieMotifs*, TCategorieMotifs*> equivalents_;
  std::unordered_set<const TCategorieMotifs*> utilisees_;
};

}  // namespace

void CreeEquivalentsMotifs(foundation::TListeEquiv& equiv, const TListeMotifsBase& destination) {
  equiv.CreeEquivalents(
      destination, [](const TObjetDeListe& o) { return static_cast<const TObjetMotifdeBase&>(o).CleEquivalence(); },
      [](const TObjetDeListe& s, const TObjetDeListe& d) {
        return static_cast<const TObjetMotifdeBase&>(d).EstEquivalent(static_cast<const TObjetMotifdeBase&>(s));
      });
}

TEquivTextures::TEquivTextures(tListeMtf& difference, const tListeMtf& destination)
    : difference_(difference), equiv_(&difference.ListeTextures) {
  CreeEquivalentsMotifs(equiv_, destination.ListeTextures);
}

void TEquivTextures::Remappe(TObjetMotifdeBase& m) {
  if (auto* t = dynamic_cast<TDefObjetTrait*>(&m); t && t->UneTexture) t->UneTexture = equiv_.EquivautT(t->UneTexture);
}

void TEquivTextures::TransfereUtiles(tListeMtf& destination) {
  for (TObjetDeListe* o :
       equiv_.TransfereObjetsUtiles<TListeBasiqueDeMotifs>(difference_.ListeTextures, destination.ListeTextures))
    static_cast<TObjetMotifdeBase*>(o)->ListeProprio = &destination.ListeTextures;
}

void FusionneListesMtf(tListeMtf& destination, tListeMtf& source) {
  TEquivTextures textures(source, destination);
  for (int k = 1; k < NombreTypesMotif; ++k) {
    TListeMotifsBase& arrivee = *destination.ListeMotif[static_cast<size_t>(k)];
    TListeMotifsBase& depart = *source.ListeMotif[static_cast<size_t>(k)];
    TEquivCategories categories(depart, arrivee);
    for (std::unique_ptr<TObjetMotifdeBase>& m : depart.ExtraitTout()) {
      m->UneCategorie = categories.Equivaut(m->UneCategorie);
      textures.Remappe(*m);
      arrivee.AjouteMotif(std::move(m));
    }
    categories.TransfereCategoriesUtiles();
    arrivee.CreeListeCategories();
  }
  textures.TransfereUtiles(destination);
  SignaleDocumentModifie();
}

bool EstNomDocument(const std::string& nom) {
  return foundation::EnMajuscules(platform::ExtensionOf(nom)) == ".CAV";
}

bool LitDifferenceMotifs(const std::string& nom, const tListeMtf& bibliotheque, tListeMtf& difference) {
  if (EstNomDocument(nom))
    return Ports().LitMotifsAutreReseau && Ports().LitMotifsAutreReseau(nom, bibliotheque, difference);
  if (bibliotheque.OuvreMtfPourMotifs(nom, difference)) return true;
  // The reader refuses a file that is not a pattern file without a word: the
  // user who chose it is told.
  if (EnTeteMtfInconnu(nom))
    platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, Msg(IdMsg::MtfErreurImport));
  return false;
}

bool ChoisitDifferenceMotifs(const std::string& filtre, const tListeMtf& bibliotheque, tListeMtf& difference) {
  platform::FileDialogOptions options;
  options.Filter = filtre;
  const std::optional<platform::FileChoice> choix = platform::Dialogs::Current().OpenFile(options);
  return choix && LitDifferenceMotifs(choix->Path, bibliotheque, difference);
}

bool ImporteMotifsFichier(tListeMtf& bibliotheque) {
  tListeMtf difference(0);
  if (!ChoisitDifferenceMotifs(Msg(IdMsg::MtfFiltreImport), bibliotheque, difference)) return false;
  FusionneListesMtf(bibliotheque, difference);
  return true;
}

}  // namespace drawing
