#include "drawing/elements_dessin.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "drawing/contexte_dessin.h"
#include "drawing/def_symbole.h"
#include "drawing/liste_donnees_dessin.h"
#include "drawing/liste_mtf.h"
#include "drawing/ports_motifs.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/niveau_fichier.h"
#include "foundation/transformation_vue.h"
#include "foundation/utilitaires.h"
#include "survey/point_speleo.h"
#include "survey/suppressions.h"

namespace drawing {

using foundation::IdMsg;
using foundation::Msg;
using foundation::TFlux;

namespace {

constexpr int32_t kNiveauRemplis = 500;
constexpr int32_t kNiveauTypeInfo = 510;
constexpr int32_t kNiveauAlignement = 508;
constexpr int32_t kNiveauTexteSymbole = 216;
constexpr int32_t kOrigineFontePropre = -2;
// Pixels per inch of the scratch canvas on which texts are measured.
constexpr double kPixelsParPouce = 96;

int32_t Niveau() { return foundation::NiveauFichier().VersionFichierLue; }

// A whole-metre value as a label shows it: "123 m".
std::string TexteMetres(double v) {
  return foundation::OteBlancs(foundation::ReelEnStr(v, 0, 0)) + Msg(IdMsg::PointMetres);
}

}  // namespace

// --- Fills -------------------------------------------------------------------------------------

bool TObjetDonneesRemplir::ObjetValide() {
  std::vector<TObjetDonneesBasique*> gardees;
  gardees.reserve(ListePoly.size());
  for (auto it = ListePoly.rbegin(); it != ListePoly.rend(); ++it)
    if (*it && (*it)->ObjetValide()) gardees.push_back(*it);
  std::reverse(gardees.begin(), gardees.end());
  ListePoly.swap(gardees);
  return ListePoly.size() > 1;
}

void TObjetDonneesRemplir::CreeListeIndex() {
  ListeIndexPoly.Clear();
  const TListeElements<TObjetDonneesBasique>* lignes = Dessin().LignesCourantes;
  if (!lignes) return;
  for (const TObjetDonneesBasique* l : ListePoly) {
    const int i = lignes->IndexOf(l);
    if (i >= 0) ListeIndexPoly.Add(i);
  }
}

void TObjetDonneesRemplir::EnleveLigne(const TObjetDessin* UneLigne) {
  const auto it = std::find_if(ListePoly.begin(), ListePoly.end(),
                               [&](const TObjetDonneesBasique* l) { return l && l->LObjetDessin == UneLigne; });
  if (it != ListePoly.end()) ListePoly.erase(it);
}

std::unique_ptr<TObjetDonneesBasique> TObjetDonneesRemplir::CreeCopie() {
  auto copie = std::make_unique<TObjetDonneesRemplir>();
  CopieAttributs(*copie);
  CloneObjetDessin(*copie);
  return copie;
}

bool TObjetDonneesRemplir::EcritObjet(TFlux& f) {
  CreeListeIndex();
  InitES(f);
  EcrisInteger(ListeIndexPoly.Count());
  for (int32_t i : ListeIndexPoly.Valeurs()) EcrisInteger(i);
  int32_t index = -1;
  EcritReferenceMotif(index);
  return EcrisBoolean(EstFiligrane);
}

bool TObjetDonneesRemplir::LitObjet(TFlux& f) {
  const int32_t niveau = Niveau();
  ListePoly.clear();
  ListeIndexPoly.Clear();
  InitES(f);
  int32_t n = 0;
  if (!LisInteger(n)) return false;
  // Each position takes at least 4 bytes.
  if (n > 0 && static_cast<uint64_t>(n) > f.Restant() / 4) return ResultObjet = false;
  const TListeElements<TObjetDonneesBasique>* lignes = Dessin().LignesCourantes;
  for (int32_t k = 0; k < n; ++k) {
    int32_t i = -1;
    if (niveau >= kNiveauRemplis) {
      if (!LisInteger(i)) return false;
    } else {
      std::string texte;
      if (!LisTexte(texte)) return false;
      if (!foundation::LitEntier(foundation::OteBlancs(texte), i)) return ResultObjet = false;
    }
    ListeIndexPoly.Add(i);
    if (i < 0) continue;
    if (!lignes || i >= lignes->Count()) return ResultObjet = false;
    ListePoly.push_back(lignes->UnObjet(i));
  }
  int32_t index = -1;
  if (!LitReferenceMotif(index)) return false;
  return LitFiligrane();
}

// --- Texts -------------------------------------------------------------------------------------

double TailleTexte(const TDefObjetFonte& fonte, const std::string& texte) {
  double largeur = 0, hauteur = 0;
  if (texte.empty() || !Ports().MesureTexte || !Ports().MesureTexte(fonte, texte, largeur, hauteur)) return 0;
  return largeur / kPixelsParPouce * 0.0254 * foundation::Vue().EchelleFontes;
}

bool TObjetTexte::IndexMotifTolere() const { return Niveau() < kNiveauRemplis; }

bool TObjetTexte::ObjetValide() {
  const bool ligne = TObjetDonneesBasique::ObjetValide();
  if (EstEtiquette() && (!PointDeRef || PointDeRef->PtAEffacer)) return false;
  return ligne;
}

void TObjetTexte::MajTexteEtiquette() {
  if (!PointDeRef) {
    UnTexte = Msg(IdMsg::EtiquetteSansStation);
    return;
  }
  const int32_t mode = Dessin().ModeInfoTexte;
  if ((TypeInfo == 0 && mode == 0) || mode == 2) UnTexte = PointDeRef->DenivStr();
  if ((TypeInfo == 1 && mode == 0) || mode == 1) UnTexte = TexteMetres(PointDeRef->Z);
  if (TypeInfo == 2) UnTexte = TexteMetres(PointDeRef->Slh);
  if (TypeInfo == 3) UnTexte = PointDeRef->DesignPTopo;
}

void TObjetTexte::CalculeAutrePoint() {
  if (Points.Count() < 2) return;
  TPointDessin* premier = LePointDessin(0);
  const TPointDessin* second = LePointDessin(1);
  const TFontObjetType* fonte = UneFonte();
  const double w = fonte ? TailleTexte(*fonte, Horiz ? foundation::LigneLaPlusLongue(UnTexte) : UnTexte) : 0;
  const double a = Horiz ? std::numbers::pi / 2
                         : foundation::AzimutXY(PointPlan(second->Xhab, second->Yhab),
                                                PointPlan(premier->Xhab, premier->Yhab));
  // The second point carries an offset part's displacement, which the first
  // point must not keep when it is stored from its shot.  Relative placement
  // adds no displacement.
  const ContexteDessin& d = Dessin();
  const double dx = d.CalculRelatif ? 0 : d.DecalageDessinX;
  const double dy = d.CalculRelatif ? 0 : d.DecalageDessinY;
  premier->Xhab = second->Xhab + w * std::sin(a) - dx;
  premier->Yhab = second->Yhab + w * std::cos(a) - dy;
}

int32_t TObjetTexte::CalculePoints() {
  if (EstEtiquette()) {
    Horiz = true;
    MajTexteEtiquette();
  }
  int32_t n = TObjetDonneesBasique::CalculePoints();
  const ContexteDessin& d = Dessin();
  if (EstSurCourbe() || (!Horiz && !d.RecalculeTextes && !EstAncien) || n <= 1) return n;
  CalculeAutrePoint();
  TPointDessin* premier = LePointDessin(0);
  if (d.CalculRelatif) {
    if (const TPointDessin* ref = d.PointRelatifRef) {
      const foundation::TPointTopo r = PointPlan(ref->Xhab, ref->Yhab);
      const foundation::TPointTopo p = PointPlan(premier->Xhab, premier->Yhab);
      premier->AngleHab = foundation::AzimutXY(r, p);
      // Stored before scaling, as relative placement reads it.
      const double distance = foundation::DistanceXY(r, p);
      premier->LHab = d.CoeffRelatif != 0 ? distance / d.CoeffRelatif : distance;
    }
  } else {
    if (ListeDonneesProprio) premier->ChercheViseeRef(ListeDonneesProprio->LesViseesDessin);
    n = TObjetDonneesBasique::CalculePoints();
  }
  EstAncien = false;
  return n;
}

std::unique_ptr<TObjetDonneesBasique> TObjetTexte::CreeCopie() {
  auto copie = std::make_unique<TObjetTexte>();
  CopieAttributs(*copie);
  if (FonteTh && MotifDessin == FonteTh.get()) {
    copie->FonteTh = FonteTh->CloneFonte();
    copie->FonteTh->CodeOrigineMotif = kOrigineFontePropre;
    copie->MotifDessin = copie->FonteTh.get();
  }
  copie->Horiz = Horiz;
  copie->TypeFleche = TypeFleche;
  copie->UnTexte = UnTexte;
  copie->TypeInfo = TypeInfo;
  copie->IndPtRef = IndPtRef;
  copie->PointDeRef = PointDeRef;
  copie->CoeffTexte = CoeffTexte;
  copie->Alignement = Alignement;
  copie->EstAncien = true;
  CloneObjetDessin(*copie);
  return copie;
}

void TObjetTexte::Nettoie(const survey::TSuppressions& s) {
  TObjetDonneesBasique::Nettoie(s);
  s.Redirige(PointDeRef);
}

void TObjetTexte::RelogeMotif(const TRelogeMotifs& reloge) {
  if (FonteTh && MotifDessin == FonteTh.get()) return;
  TObjetDonneesBasique::RelogeMotif(reloge);
}

bool TObjetTexte::EcritObjet(TFlux& f) {
  if (!TObjetDonneesBasique::EcritObjet(f)) return false;
  EcrisBoolean(Horiz);
  EcrisInteger(TypeFleche);
  EcrisTexte(UnTexte);
  IndPtRef = PointDeRef ? PointDeRef->IndiceReseau : -1;
  EcrisInteger(TypeInfo);
  EcrisInteger(IndPtRef);
  EcrisInteger(CoeffTexte);
  EcrisOctet(static_cast<uint8_t>(Alignement));
  const TFontObjetType* fonte = UneFonte();
  if (ResultObjet && fonte && fonte->CodeOrigineMotif == kOrigineFontePropre && !UneFonte()->EcritObjet(f))
    return ResultObjet = false;
  return ResultObjet;
}

bool TObjetTexte::LitObjet(TFlux& f) {
  if (!TObjetDonneesBasique::LitObjet(f)) return false;
  const int32_t niveau = Niveau();
  LisBoolean(Horiz);
  LisInteger(TypeFleche);
  if (niveau < kNiveauRemplis) {
    int32_t i = -1;
    if (LisInteger(i)) {
      tListeMtf* b = Dessin().ListesMtfReseau;
      MotifDessin = !b ? nullptr : Dessin().ContexteCroquis ? b->FontesDTT.LaFonte(i) : b->UneFonte(i);
    }
  }
  LisTexte(UnTexte);
  LisInteger(TypeInfo);
  if (!LisInteger(IndPtRef)) return false;
  // Relative and absolute altitude labels were numbered the other way round.
  if (niveau < kNiveauTypeInfo && (TypeInfo == 0 || TypeInfo == 1)) TypeInfo = 1 - TypeInfo;
  PointDeRef = EstEtiquette() ? survey::LePointReseau(IndPtRef) : nullptr;
  LisInteger(CoeffTexte);
  if (niveau >= kNiveauAlignement) {
    uint8_t a = 0;
    if (LisOctet(a)) Alignement = static_cast<int8_t>(a);
  } else {
    Alignement = 0;
  }
  if (ResultObjet && vOrigineMotifs == kOrigineFontePropre) {
    FonteTh = std::make_unique<TFontObjetType>();
    MotifDessin = FonteTh.get();
    if (!FonteTh->LitObjet(f)) return ResultObjet = false;
    FonteTh->CodeOrigineMotif = kOrigineFontePropre;
  }
  return ResultObjet;
}

// --- Symbols ----------------------------------------------------------------------------------

TDefSymbole* TObjetDonneesSymbole::LeSymbole() const { return dynamic_cast<TDefSymbole*>(MotifDessin); }

int32_t TObjetDonneesSymbole::CalculePoints() {
  const int32_t n = TObjetDonneesBasique::CalculePoints();
  const TDefSymbole* def = LeSymbole();
  if (!def || !def->DimFixe() || Points.Count() < 2) return n;
  TPointDessin* a = LePointDessin(0);
  TPointDessin* b = LePointDessin(1);
  if (!a->PointOk || !b->PointOk) return n;
  if (LongueurObjetSymb < 0) LongueurObjetSymb = std::hypot(b->Xhab - a->Xhab, b->Yhab - a->Yhab);
  const double taille = def->ValDimFixe;
  // Within 10 % the symbol stays as drawn (a nanometre spares the rounding of
  // a length drawn exactly 10 % off).
  if (std::fabs(LongueurObjetSymb - taille) <= 0.1 * taille + 1e-9) return n;
  const double mx = (a->Xhab + b->Xhab) / 2, my = (a->Yhab + b->Yhab) / 2;
  const double az = foundation::AzimutXY(PointPlan(a->Xhab, a->Yhab), PointPlan(b->Xhab, b->Yhab));
  a->Xhab = mx + taille / 2 * std::sin(az - std::numbers::pi);
  a->Yhab = my + taille / 2 * std::cos(az - std::numbers::pi);
  b->Xhab = mx + taille / 2 * std::sin(az);
  b->Yhab = my + taille / 2 * std::cos(az);
  // Stored from the shots without an offset part's displacement.
  const ContexteDessin& d = Dessin();
  for (TPointDessin* p : {a, b}) {
    p->Xhab -= d.DecalageDessinX;
    p->Yhab -= d.DecalageDessinY;
    p->CalculePositionVisee();
    p->Xhab += d.DecalageDessinX;
    p->Yhab += d.DecalageDessinY;
  }
  return n;
}

std::unique_ptr<TObjetDonneesBasique> TObjetDonneesSymbole::CreeCopie() {
  auto copie = std::make_unique<TObjetDonneesSymbole>();
  CopieAttributs(*copie);
  copie->LongueurObjetSymb = LongueurObjetSymb;
  if (TexteSymb) copie->TexteSymb.reset(static_cast<TObjetTexte*>(TexteSymb->CreeCopie().release()));
  CloneObjetDessin(*copie);
  return copie;
}

void TObjetDonneesSymbole::Nettoie(const survey::TSuppressions& s) {
  TObjetDonneesBasique::Nettoie(s);
  if (TexteSymb) TexteSymb->Nettoie(s);
}

void TObjetDonneesSymbole::RelogeMotif(const TRelogeMotifs& reloge) {
  TObjetDonneesBasique::RelogeMotif(reloge);
  if (TexteSymb) TexteSymb->RelogeMotif(reloge);
}

bool TObjetDonneesSymbole::EcritObjet(TFlux& f) {
  if (!Points.EcritListe(f)) return ResultObjet = false;
  InitES(f);
  int32_t index = -1;
  EcritReferenceMotif(index);
  EcrisBoolean(TexteSymb != nullptr);
  if (ResultObjet && TexteSymb && !TexteSymb->EcritObjet(f)) return ResultObjet = false;
  return ResultObjet;
}

bool TObjetDonneesSymbole::LitObjet(TFlux& f) {
  if (!Points.LitListe(f)) return ResultObjet = false;
  InitES(f);
  int32_t index = -1;
  if (!LitReferenceMotif(index)) return false;
  TexteSymb.reset();
  if (Niveau() >= kNiveauTexteSymbole) {
    bool aTexte = false;
    if (LisBoolean(aTexte) && aTexte) {
      TexteSymb = std::make_unique<TObjetTexte>();
      TexteSymb->ListeDonneesProprio = ListeDonneesProprio;
      if (!TexteSymb->LitObjet(f)) return ResultObjet = false;
    }
  }
  return ResultObjet;
}

}  // namespace drawing
