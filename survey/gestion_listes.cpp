#include "survey/gestion_listes.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "foundation/codage.h"
#include "foundation/flux.h"
#include "platform/files.h"
#include "survey/cavite.h"
#include "survey/galerie.h"
#include "survey/lever.h"
#include "survey/observation.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"

namespace survey {

// --- Instrument kinds --------------------------------------------------------------

namespace {

// The kind an instrument takes from one use: its own when it had none or the
// same, tiIndet when it was settled for another measure.
void NoteUsage(TInstrument* i, TTypeInst usage) {
  if (!i) return;
  if (i->TypeInstr == TTypeInst::tiAucun)
    i->TypeInstr = usage;
  else if (i->TypeInstr != usage && i->TypeInstr != TTypeInst::tiIndet)
    i->TypeInstr = TTypeInst::tiIndet;
}

}  // namespace

void EtablitTypesInstruments(const std::vector<TLever*>& levers) {
  for (const TLever* l : levers) {
    NoteUsage(l->InstrumentAz, TTypeInst::tiAzim);
    NoteUsage(l->InstrumentL, TTypeInst::tiDist);
    NoteUsage(l->InstrumentP, TTypeInst::tiPente);
  }
}

void AnnuleTypesIndetermines(TListeInstruments& liste) {
  for (TInstrument* i : liste)
    if (i->TypeInstr == TTypeInst::tiIndet) i->TypeInstr = TTypeInst::tiAucun;
}

// --- Instrument file ----------------------------------------------------------------

std::string CheminFichierInstruments(const std::string& cheminDocument) {
  return platform::ChangeExtension(cheminDocument, ".Instr");
}

bool EcritFichierInstruments(const std::string& chemin, TListeInstruments& liste) {
  foundation::TFluxMemoire flux;
  return liste.EcritListe(flux) && foundation::EnregistreFlux(chemin, flux);
}

namespace {

bool MemeReel(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// Equal in what an import compares: everything but the name and the make.
bool MemesValeurs(const TInstrument& a, const TInstrument& b) {
  return a.TypeInstr == b.TypeInstr && a.Unites == b.Unites && MemeReel(a.CoeffEtalon, b.CoeffEtalon) &&
         MemeReel(a.CoeffLecture, b.CoeffLecture) && MemeReel(a.PrecisionRel, b.PrecisionRel) &&
         MemeReel(a.PrecisionAbs, b.PrecisionAbs) && a.TiGenre == b.TiGenre && a.RefPente == b.RefPente;
}

}  // namespace

bool ImporteFichierInstruments(const std::string& chemin, TListeInstruments& liste, int* ajoutes) {
  if (ajoutes) *ajoutes = 0;
  foundation::TFluxMemoire flux;
  TListeInstruments lus;
  if (!foundation::ChargeFlux(chemin, flux) || !lus.LitListe(flux)) return false;
  // The document's instruments by name key, so that an instrument already
  // there (or read earlier from the same file) is found without a scan.
  std::unordered_map<std::string, std::vector<const TInstrument*>> parNom;
  for (const TInstrument* i : liste) parNom[CleDeNom(i->DesignInstr)].push_back(i);
  for (TInstrument* lu : lus) {
    auto& memes = parNom[CleDeNom(lu->DesignInstr)];
    if (std::any_of(memes.begin(), memes.end(), [&](const TInstrument* i) { return MemesValeurs(*i, *lu); })) continue;
    auto copie = std::make_unique<TInstrument>(*lu);
    copie->Utilise = false;
    memes.push_back(liste.Add(std::move(copie)));
    if (ajoutes) ++*ajoutes;
  }
  return true;
}

// --- Operator list file -------------------------------------------------------------

std::vector<std::string> NomsDistinctsTries(std::vector<std::string> noms) {
  std::vector<std::pair<std::u16string, std::string>> cles;
  cles.reserve(noms.size());
  for (std::string& n : noms) {
    std::u16string cle = foundation::VersUtf16(n);
    cles.emplace_back(std::move(cle), std::move(n));
  }
  std::sort(cles.begin(), cles.end());
  cles.erase(std::unique(cles.begin(), cles.end()), cles.end());
  noms.clear();
  noms.reserve(cles.size());
  for (auto& c : cles) noms.push_back(std::move(c.second));
  return noms;
}

std::vector<std::string> NomsOperateursTries(const TListeOperateurs& liste) {
  std::vector<std::string> noms;
  noms.reserve(static_cast<size_t>(liste.Count()));
  for (const TOperateur* o : liste) noms.push_back(o->DesignOpe);
  return NomsDistinctsTries(std::move(noms));
}

bool EcritFichierOperateurs(const std::string& chemin, const std::vector<std::string>& noms) {
  std::string texte;
  for (const std::string& n : noms) {
    texte += foundation::VersWindows1252(n);
    texte += "\r\n";
  }
  return platform::WriteFileAtomic(chemin, texte);
}

std::vector<std::string> LignesFichierTexte(std::string_view octets) {
  const std::string texte = foundation::TexteDetecte(octets);
  std::vector<std::string> lignes;
  size_t debut = 0;
  for (size_t i = 0; i < texte.size(); ++i) {
    const char c = texte[i];
    if (c != '\r' && c != '\n') continue;
    lignes.emplace_back(texte, debut, i - debut);
    if (c == '\r' && i + 1 < texte.size() && texte[i + 1] == '\n') ++i;
    debut = i + 1;
  }
  if (debut < texte.size()) lignes.emplace_back(texte, debut, std::string::npos);
  return lignes;
}

int AjouteOperateurs(const std::vector<std::string>& lignes, TListeOperateurs& liste) {
  std::unordered_set<std::string> connus;
  for (const TOperateur* o : liste) connus.insert(CleDeNom(o->DesignOpe));
  int n = 0;
  for (const std::string& l : lignes) {
    if (!connus.insert(CleDeNom(l)).second) continue;
    auto o = std::make_unique<TOperateur>();
    o->DesignOpe = RogneNom(l);
    liste.Add(std::move(o));
    ++n;
  }
  return n;
}

// --- Operator renaming and merging ---------------------------------------------------

int RenommeOperateurs(TReseau& reseau, const std::vector<std::string>& noms) {
  TListeOperateurs& liste = reseau.ListeOperateurs;
  const size_t n = static_cast<size_t>(liste.Count());
  if (noms.size() != n) throw std::logic_error("RenommeOperateurs: one name per operator");
  liste.Renumerote();
  // Each operator's equivalent: the first operator of its new name.
  std::vector<TOperateur*> equivalents(n);
  std::unordered_map<std::string, TOperateur*> premiers;
  premiers.reserve(n);
  bool fusion = false;
  for (size_t i = 0; i < n; ++i) {
    TOperateur* o = liste.UnOperateur(static_cast<int>(i));
    o->DesignOpe = noms[i];
    equivalents[i] = premiers.try_emplace(noms[i], o).first->second;
    fusion = fusion || equivalents[i] != o;
  }
  if (!fusion) return 0;
  const auto remplace = [&](TListeDOperateurs& l) {
    for (TOperateur*& o : l) {
      const int i = liste.IndexOf(o);
      if (i >= 0) o = equivalents[static_cast<size_t>(i)];
    }
  };
  for (TCavite* c : reseau.Cavites) {
    for (TLever* l : c->Levers) remplace(l->Operateurs);
    // Continuation observations name operators too: they follow the merge
    // rather than keep an operator that is about to be freed.
    for (TGalerie* g : c->Galeries)
      for (TPointSpeleo* p : g->Points)
        for (TTypeDObs* obs : p->SuiteObs) remplace(obs->Observateurs);
  }
  const int avant = liste.Count();
  liste.SupprimeSi([&](const TOperateur* o) { return equivalents[static_cast<size_t>(liste.IndexOf(o))] != o; });
  return avant - liste.Count();
}

}  // namespace survey
