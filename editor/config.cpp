#include "editor/config.h"

#include <algorithm>

#include "editor/reprojection.h"

namespace editor {

using foundation::TFlux;

// --- Annexes ------------------------------------------------------------------

bool TConfig::EcritObjet(TFlux& f) {
  Annexes().ListeSVGCourante = &ListeSVG;
  if (!(f.EcritInteger(ListeNotes.Count()) && ListeNotes.EcritImages(f))) return false;
  if (!f.EcritInteger(static_cast<int32_t>(ListeSVG.size()))) return false;
  for (const auto& d : ListeSVG)
    if (!d->EcritObjet(f)) return false;
  return true;
}

bool TConfig::LitObjet(TFlux& f) {
  Annexes().ListeSVGCourante = &ListeSVG;
  ListeSVG.clear();
  SVGActif = -1;
  bool ok = ListeNotes.LitImages(f);
  int32_t n = 0;
  ok = ok && f.LitInteger(n);
  if (ok && n > 0) {
    if (static_cast<uint64_t>(n) > f.Restant() / TailleMinDessinSVG) {
      ok = false;
    } else {
      for (int32_t i = 0; ok && i < n; ++i) {
        auto d = std::make_unique<TDessinSVG>();
        ok = d->LitObjet(f);
        if (ok) ListeSVG.push_back(std::move(d));
      }
    }
  }
  SVGActif = static_cast<int32_t>(ListeSVG.size()) - 1;
  return ok;
}

void TConfig::ChangeProjectionConfig(const std::string& AncienProj, int32_t AncienFuseau,
                                     const std::string& NouveauProj, int32_t NouveauFuseau,
                                     TBilanReprojection* bilan) {
  BilanLocal b(bilan);
  ListeNotes.ChangeProjection(AncienProj, AncienFuseau, NouveauFuseau, NouveauProj, &*b);
  for (const auto& d : ListeSVG) d->ChangeProjectionSVG(AncienProj, AncienFuseau, NouveauFuseau, NouveauProj, &*b);
}

// --- Background list ------------------------------------------------------------

bool TListeFDP::EstSVG(int i) const {
  return i >= 0 && i < Count() && std::holds_alternative<TDessinSVG*>(Fonds[static_cast<size_t>(i)]);
}

TImageNotes* TListeFDP::UneImage(int i) const {
  if (i < 0 || i >= Count()) return nullptr;
  const auto* p = std::get_if<TImageNotes*>(&Fonds[static_cast<size_t>(i)]);
  return p ? *p : nullptr;
}

TDessinSVG* TListeFDP::UnSVG(int i) const {
  if (i < 0 || i >= Count()) return nullptr;
  const auto* p = std::get_if<TDessinSVG*>(&Fonds[static_cast<size_t>(i)]);
  return p ? *p : nullptr;
}

void TListeFDP::MAJ() { Reconstruit(nullptr); }
void TListeFDP::MAJ(const TImageNotes* vFDPActif) { Reconstruit(vFDPActif); }
void TListeFDP::MAJ(const TDessinSVG* vFDPActif) { Reconstruit(vFDPActif); }

void TListeFDP::Reconstruit(const void* actif) {
  Fonds.clear();
  iFDPActif = -1;
  if (!UneConfig) return;
  TConfig& c = *UneConfig;
  for (const auto& n : c.ListeNotes.Notes) Fonds.emplace_back(n.get());
  for (const auto& d : c.ListeSVG) Fonds.emplace_back(d.get());
  Annexes().ListeSVGCourante = &c.ListeSVG;
  if (actif)
    for (int i = 0; i < Count(); ++i) {
      const void* p = std::visit([](auto* x) -> const void* { return x; }, Fonds[static_cast<size_t>(i)]);
      if (p == actif) {
        iFDPActif = i;
        return;
      }
    }
  const int32_t nSvg = static_cast<int32_t>(c.ListeSVG.size());
  const int32_t svg = Annexes().SVGActifCourant;
  if (nSvg > 0 && svg >= 0 && svg < nSvg)
    iFDPActif = c.ListeNotes.Count() + svg;
  else if (c.ListeNotes.NoteActive >= 0 && c.ListeNotes.NoteActive < c.ListeNotes.Count())
    iFDPActif = c.ListeNotes.NoteActive;
}

void TListeFDP::AjouteFDP(std::unique_ptr<TImageNotes> Item) {
  if (!UneConfig || !Item) return;
  TImageNotes* p = UneConfig->ListeNotes.Add(std::move(Item));
  UneConfig->ListeNotes.NoteActive = UneConfig->ListeNotes.Count() - 1;
  MAJ(p);
}

void TListeFDP::AjouteFDP(std::unique_ptr<TDessinSVG> Item) {
  if (!UneConfig || !Item) return;
  TDessinSVG* p = Item.get();
  UneConfig->ListeSVG.push_back(std::move(Item));
  Annexes().SVGActifCourant = static_cast<int32_t>(UneConfig->ListeSVG.size()) - 1;
  MAJ(p);
}

void TListeFDP::ActiveDansSaListe() {
  if (!UneConfig || iFDPActif < 0 || iFDPActif >= Count()) return;
  const int32_t nImages = UneConfig->ListeNotes.Count();
  if (EstSVG(iFDPActif))
    Annexes().SVGActifCourant = iFDPActif - nImages;
  else
    UneConfig->ListeNotes.NoteActive = iFDPActif;
}

void TListeFDP::EnleveFDPActif() {
  if (!UneConfig || iFDPActif < 0 || iFDPActif >= Count()) return;
  TConfig& c = *UneConfig;
  const int i = iFDPActif;
  if (TDessinSVG* d = UnSVG(i)) {
    const auto it = std::find_if(c.ListeSVG.begin(), c.ListeSVG.end(), [d](const auto& x) { return x.get() == d; });
    if (it != c.ListeSVG.end()) {
      const auto k = static_cast<int32_t>(it - c.ListeSVG.begin());
      c.ListeSVG.erase(it);
      if (Annexes().ListeSVGCourante == &c.ListeSVG) {
        int32_t& actif = Annexes().SVGActifCourant;
        if (actif == k)
          actif = -1;
        else if (actif > k)
          --actif;
      }
    }
  } else {
    c.ListeNotes.Supprime(UneImage(i));
  }
  Fonds.erase(Fonds.begin() + i);
  iFDPActif = Fonds.empty() ? -1 : std::max(i - 1, 0);
  ActiveDansSaListe();
}

bool TListeFDP::Preced() {
  if (Fonds.empty()) return false;
  const bool bouge = iFDPActif > 0;
  if (bouge) --iFDPActif;
  ActiveDansSaListe();
  return bouge;
}

bool TListeFDP::Suivant() {
  if (Fonds.empty()) return false;
  const bool bouge = iFDPActif < Count() - 1;
  if (bouge) ++iFDPActif;
  ActiveDansSaListe();
  return bouge;
}

}  // namespace editor
