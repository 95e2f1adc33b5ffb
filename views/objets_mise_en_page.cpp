#include "views/objets_mise_en_page.h"

#include <algorithm>

#include "drawing/contexte_motifs.h"
#include "drawing/liste_mtf.h"
#include "foundation/niveau_fichier.h"
#include "views/ports_vues.h"

namespace views {

using drawing::TObjetMotifdeBase;
using drawing::TSymbole;
using drawing::TTypeMotif;
using foundation::TFlux;

int32_t NiveauMep() {
  const int32_t n = foundation::NiveauFichier().VersionFichierLue;
  return n == 226 ? 500 : n;
}

namespace {

// Reads a count that is followed by at least taille bytes per item.
bool LitCompte(TFlux& f, int32_t& n, uint64_t taille) {
  if (!f.LitInteger(n)) return false;
  if (n < 0) n = 0;
  return static_cast<uint64_t>(n) <= f.Restant() / taille;
}

}  // namespace

// --- TObjetGraphique ---------------------------------------------------------

void TObjetGraphique::CopieObjet(const TObjetGraphique& source) {
  XOrig = source.XOrig;
  YOrig = source.YOrig;
  Hauteur = source.Hauteur;
  Largeur = source.Largeur;
}

bool TObjetGraphique::EcrisItem() {
  EcrisInteger(XOrig);
  EcrisInteger(YOrig);
  EcrisInteger(Hauteur);
  return EcrisInteger(Largeur);
}

bool TObjetGraphique::LisItem() {
  LisInteger(XOrig);
  LisInteger(YOrig);
  LisInteger(Hauteur);
  return LisInteger(Largeur);
}

bool TObjetGraphique::EcritObjet(TFlux& f) {
  InitES(f);
  return EcrisItem();
}

bool TObjetGraphique::LitObjet(TFlux& f) {
  InitES(f);
  return LisItem();
}

// --- Title blocks --------------------------------------------------------------

bool TCartouche::EcritObjet(TFlux& f) {
  if (!foundation::EcritListeChaines(f, Lignes)) return false;
  InitES(f);
  EcrisItem();
  return EcrisInteger(Encadrement);
}

bool TCartouche::LitObjet(TFlux& f) {
  Lignes.clear();
  if (!foundation::LitListeChaines(f, Lignes)) return false;
  InitES(f);
  LisItem();
  return LisInteger(Encadrement);
}

// --- North arrow -----------------------------------------------------------------

namespace {

bool EstFlecheIntegree(const TSymbole* s) {
  const drawing::ContexteMotifs& m = drawing::Motifs();
  return s && (s == m.FlecheNordGeo.get() || s == m.FlecheNordMag.get());
}

}  // namespace

bool TFlecheN::EcritObjet(TFlux& f) {
  InitES(f);
  if (!EcrisItem()) return false;
  int32_t numero = -1;
  if (!EstNul() && FlecheSymb) {
    numero = 0;
    if (!EstFlecheIntegree(FlecheSymb))
      if (const drawing::tListeMtf* mtf = BibliothequeDocument()) {
        const int i = mtf->ListeFlNord.IndexOf(FlecheSymb);
        // A symbol no longer in the library falls back to the built-in arrow.
        if (i >= 0) numero = i + 1;
      }
  }
  return f.EcritInteger(numero);
}

bool TFlecheN::LitObjet(TFlux& f) {
  InitES(f);
  FlecheSymb = nullptr;
  if (!LisItem()) return false;
  const drawing::ContexteMotifs& m = drawing::Motifs();
  TSymbole* defaut = Largeur < 0 ? m.FlecheNordGeo.get() : m.FlecheNordMag.get();
  const int32_t niveau = NiveauMep();
  if (niveau < 216) {
    if (!EstNul()) FlecheSymb = defaut;
    return true;
  }
  int32_t n = -1;
  if (!f.LitInteger(n)) return false;
  const drawing::tListeMtf* mtf = BibliothequeDocument();
  if (niveau == 216) {
    if (n >= 0)
      FlecheSymb = mtf ? dynamic_cast<TSymbole*>(mtf->ListeSymboles.UnObjet(n)) : nullptr;
    else if (!EstNul())
      FlecheSymb = defaut;
  } else if (n == 0) {
    FlecheSymb = defaut;
  } else if (n > 0 && mtf) {
    if (niveau < 500) {
      if (static_cast<size_t>(n) <= mtf->ListeFlNordTmp.size()) FlecheSymb = mtf->ListeFlNordTmp[n - 1];
    } else {
      FlecheSymb = dynamic_cast<TSymbole*>(mtf->ListeFlNord.UnObjet(n - 1));
    }
  }
  return true;
}

std::string CreeTexteFlecheN(const std::string& texteSymbole, int32_t Largeur) {
  const std::string chiffres = std::to_string(Largeur);
  std::string t = texteSymbole;
  size_t k = 0;
  for (char& c : t)
    if (c == '_') c = k < chiffres.size() ? chiffres[k++] : ' ';
  const size_t debut = t.find_first_not_of(' ');
  if (debut == std::string::npos) return std::string();
  const size_t fin = t.find_last_not_of(' ');
  return t.substr(debut, fin - debut + 1);
}

void TFlecheN::CreeTexteFlecheN(std::string& SauveTexte, std::string& Texte) const {
  SauveTexte = FlecheSymb ? FlecheSymb->TexteSymbol : std::string();
  Texte = SauveTexte;
  if (FlecheSymb && FlecheSymb->ATexte && Texte.find('_') != std::string::npos)
    Texte = views::CreeTexteFlecheN(Texte, Largeur);
}

// --- Vertical scales ----------------------------------------------------------------

bool TEchelleVert::EcritObjet(TFlux& f) {
  Hauteur = Longueur;
  InitES(f);
  EcrisItem();
  return EcrisBoolean(ChiffreDr);
}

bool TEchelleVert::LitObjet(TFlux& f) {
  InitES(f);
  LisItem();
  LisBoolean(ChiffreDr);
  Longueur = Hauteur;
  return ResultObjet;
}

TEchelleVert* TListeEchVert::AjouteEchelleV() {
  auto e = std::make_unique<TEchelleVert>();
  e->ChiffreDr = false;
  e->Largeur = 60;
  e->Longueur = 2000;
  e->ListeProprio = this;
  return Add(std::move(e));
}

bool TListeEchVert::EcritListe(TFlux& f) {
  return TListeFichier::EcritListe(f) && f.EcritInteger(PasEchelle) && f.EcritBoolean(Absolue);
}

bool TListeEchVert::LitListe(TFlux& f) {
  const bool ok = TListeFichier::LitListe(f);
  for (TEchelleVert* e : *this) e->ListeProprio = this;
  return ok && f.LitInteger(PasEchelle) && f.LitBoolean(Absolue);
}

// --- Elevation blocks ------------------------------------------------------------------

bool TCoupeAlti::EcritObjet(TFlux& f) {
  InitES(f);
  if (!EcrisItem()) return false;
  if (!foundation::EcritListeChaines(f, Legende)) return false;
  const int32_t cavite = CaviteExiste(CaviteRef) ? CaviteRef : -1;
  if (!f.EcritInteger(cavite)) return false;
  if (cavite < 0) return true;
  const int32_t coupe = CoupeLongValide(cavite, CoupeRef) ? CoupeRef : -1;
  const int32_t entree = EstEntreeDeCavite(cavite, CAltEntreeRef) ? CAltEntreeRef + 1 : -1;
  return f.EcritInteger(coupe) && f.EcritInteger(entree) && f.EcritOctet(static_cast<uint8_t>(CAltTypeAltitude));
}

bool TCoupeAlti::LitObjet(TFlux& f) {
  CaviteRef = CoupeRef = CAltEntreeRef = -1;
  InitES(f);
  if (!LisItem()) return false;
  Legende.clear();
  if (!foundation::LitListeChaines(f, Legende)) return false;
  int32_t cavite = -1;
  if (!f.LitInteger(cavite)) return false;
  if (cavite < 0) return true;
  int32_t coupe = -1, entree = -1;
  uint8_t type = 0;
  if (!(f.LitInteger(coupe) && f.LitInteger(entree) && f.LitOctet(type))) return false;
  CAltTypeAltitude = static_cast<int8_t>(type);
  if (!CaviteExiste(cavite)) return true;
  CaviteRef = cavite;
  if (CoupesDecalees(cavite)) --coupe;
  if (CoupeLongValide(cavite, coupe)) CoupeRef = coupe;
  if (entree > 0 && CoupeRef >= 0 && entree - 1 < NombrePointsReseau()) CAltEntreeRef = entree - 1;
  return true;
}

bool TListeCoupesAlti::EcritListe(TFlux& f) {
  const drawing::tListeMtf* mtf = BibliothequeDocument();
  const int32_t fonte = mtf ? mtf->ListeFontes.IndexOf(FonteLegendes) : -1;
  return TListeFichier::EcritListe(f) && f.EcritBoolean(Cadre) && f.EcritInteger(fonte);
}

bool TListeCoupesAlti::LitListe(TFlux& f) {
  int32_t fonte = -1;
  if (!(TListeFichier::LitListe(f) && f.LitBoolean(Cadre) && f.LitInteger(fonte))) return false;
  const drawing::tListeMtf* mtf = BibliothequeDocument();
  FonteLegendes = mtf ? mtf->UneFonte(fonte) : nullptr;
  return true;
}

// --- Raster images -----------------------------------------------------------------------

bool TRasterMep::EcritObjet(TFlux& f) {
  InitES(f);
  EcrisItem();
  EcrisTexte(NomRaster);
  return EcrisBoolean(Encadre);
}

bool TRasterMep::LitObjet(TFlux& f) {
  InitES(f);
  LisItem();
  LisTexte(NomRaster);
  const int32_t niveau = NiveauMep();
  Encadre = false;
  if (niveau > 500 || niveau == 225) LisBoolean(Encadre);
  return ResultObjet;
}

// --- Legend ---------------------------------------------------------------------------------

TMotifsMep::TMotifsMep() : FonteTitre(drawing::CreeFonte("", 30)) {}

TMotifsMep::~TMotifsMep() = default;

namespace {

// The position of a legend entry in the library list of its kind, or -1
// when it is not a line style, fill or symbol of the library.
int PositionLegende(const drawing::tListeMtf* mtf, const TObjetMotifdeBase* m) {
  if (!mtf || !m) return -1;
  switch (m->TypeMotif) {
    case TTypeMotif::tmTrait:
    case TTypeMotif::tmRempli:
    case TTypeMotif::tmSymbole:
      return mtf->ListeMotif[static_cast<size_t>(m->TypeMotif)]->IndexOf(m);
    default:
      return -1;
  }
}

}  // namespace

bool TMotifsMep::EcritObjet(TFlux& f) {
  InitES(f);
  if (!EcrisItem()) return false;
  if (EstNul()) return true;
  const drawing::tListeMtf* mtf = BibliothequeDocument();
  std::erase_if(ListeMotifsMep, [&](const TObjetMotifdeBase* m) { return PositionLegende(mtf, m) < 0; });
  if (!EcrisTexte(TitreListe)) return false;
  if (!FonteTitre->EcritObjet(f)) return false;
  if (!(f.EcritReal(CoeffVisu) && f.EcritInteger(static_cast<int32_t>(ListeMotifsMep.size())))) return false;
  for (const TObjetMotifdeBase* m : ListeMotifsMep)
    if (!(f.EcritOctet(static_cast<uint8_t>(m->TypeMotif)) && f.EcritInteger(PositionLegende(mtf, m))))
      return false;
  return true;
}

bool TMotifsMep::LitObjet(TFlux& f) {
  InitES(f);
  ListeMotifsMep.clear();
  if (!LisItem()) return false;
  if (EstNul()) return true;
  if (!LisTexte(TitreListe)) return false;
  if (!FonteTitre->LitObjet(f)) return false;
  int32_t n = 0;
  if (!(f.LitReal(CoeffVisu) && LitCompte(f, n, 5))) return false;
  const drawing::tListeMtf* mtf = BibliothequeDocument();
  const bool ancien = NiveauMep() < 500;
  for (int32_t i = 0; i < n; ++i) {
    uint8_t type = 0;
    int32_t index = -1;
    if (!(f.LitOctet(type) && f.LitInteger(index))) return false;
    if (ancien) ++type;
    if (!mtf || type < 1 || type > 3 || index < 0) continue;
    if (TObjetMotifdeBase* m = mtf->ListeMotif[type]->UnObjet(index)) ListeMotifsMep.push_back(m);
  }
  return true;
}

void TMotifsMep::FusionneMotifs(TObjetMotifdeBase* MotifAGarder, TObjetMotifdeBase* MotifAFusionner) {
  if (EstNul() || MotifAGarder == MotifAFusionner) return;
  auto& l = ListeMotifsMep;
  if (std::find(l.begin(), l.end(), MotifAGarder) != l.end()) {
    std::erase(l, MotifAFusionner);
    return;
  }
  const auto it = std::find(l.begin(), l.end(), MotifAFusionner);
  if (it != l.end()) *it = MotifAGarder;
}

// --- Header and footer -------------------------------------------------------------------------

bool TTetePiedPage::Ecrit(TFlux& f) const {
  return foundation::EcritChaineA(f, SectionG) && foundation::EcritChaineA(f, SectionC) &&
         foundation::EcritChaineA(f, SectionD);
}

bool TTetePiedPage::Lit(TFlux& f) {
  return foundation::LitChaineA(f, SectionG) && foundation::LitChaineA(f, SectionC) &&
         foundation::LitChaineA(f, SectionD);
}

}  // namespace views
