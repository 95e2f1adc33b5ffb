#include "views/mise_en_page.h"

#include <algorithm>
#include <unordered_set>

#include "drawing/liste_mtf.h"
#include "drawing/ports_motifs.h"
#include "foundation/arrondi.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/dates.h"
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "views/ports_vues.h"

namespace views {

using drawing::TObjetMotifdeBase;
using drawing::TTypeMotif;
using foundation::TFlux;

namespace {

// The kinds that have a masked list, in the order of the record.
constexpr TTypeMotif kTypesMasques[] = {TTypeMotif::tmTrait, TTypeMotif::tmRempli, TTypeMotif::tmSymbole,
                                        TTypeMotif::tmFonte};

// Kinds of drawing objects the reader looks at.
constexpr uint32_t kBit(int kind) { return uint32_t(1) << kind; }
constexpr int kOdQuadrill = 10, kOdBrouillon = 12, kOdCoupes = 16, kOdCoupesDessin = 18, kOdEcarts = 21,
              kOdEcartsDessin = 24;
// The splay-shot kind was inserted at this position.
constexpr int kOdVisHab = 5;

// A packed entrance holds a cave number and 1 + a station number below this.
constexpr int32_t kFacteurCavite = 100000;

bool EcritEntiers(TFlux& f, const std::vector<int32_t>& v) {
  if (!f.EcritInteger(static_cast<int32_t>(v.size()))) return false;
  for (int32_t x : v)
    if (!f.EcritInteger(x)) return false;
  return true;
}

// Reads a count and that many integers; the count is bounded by what is left.
bool LitEntiers(TFlux& f, std::vector<int32_t>& v) {
  v.clear();
  int32_t n = 0;
  if (!f.LitInteger(n)) return false;
  if (n <= 0) return true;
  if (static_cast<uint64_t>(n) > f.Restant() / 4) return false;
  v.resize(static_cast<size_t>(n));
  for (int32_t& x : v)
    if (!f.LitInteger(x)) return false;
  return true;
}

bool EcritMasques(TFlux& f, const drawing::tListeMtf* mtf, TTypeMotif type, const TListeMotifsMasques& l) {
  if (!f.EcritInteger(static_cast<int32_t>(l.size()))) return false;
  for (const TObjetMotifdeBase* m : l) {
    const int32_t i = mtf ? mtf->ListeMotif[static_cast<size_t>(type)]->IndexOf(m) : (m ? m->IndexFichier : -1);
    if (!f.EcritInteger(i)) return false;
  }
  return true;
}

bool LitMasques(TFlux& f, const drawing::tListeMtf* mtf, TTypeMotif type, TListeMotifsMasques& l) {
  std::vector<int32_t> numeros;
  l.clear();
  if (!LitEntiers(f, numeros)) return false;
  for (int32_t n : numeros)
    if (n >= 0) l.push_back(mtf ? mtf->ListeMotif[static_cast<size_t>(type)]->UnObjet(n) : nullptr);
  return true;
}

// Kinds of a file older than the splay-shot kind: each kind from 5 on moves
// up by one.
uint32_t RenumeroteTypes(uint32_t ancien) {
  uint32_t nouveau = 0;
  for (int k = 0; k < 32; ++k)
    if (ancien & kBit(k)) {
      const int n = k < kOdVisHab ? k : k + 1;
      if (n < 32) nouveau |= kBit(n);
    }
  return nouveau;
}

// Replaces every occurrence of ancien in the list by nouveau (kept once).
void Remplace(TListeMotifsMasques& l, TObjetMotifdeBase* nouveau, TObjetMotifdeBase* ancien) {
  if (std::find(l.begin(), l.end(), ancien) == l.end()) return;
  if (std::find(l.begin(), l.end(), nouveau) != l.end()) {
    std::erase(l, ancien);
    return;
  }
  bool premier = true;
  std::erase_if(l, [&](TObjetMotifdeBase*& m) {
    if (m != ancien) return false;
    if (premier) {
      m = nouveau;
      premier = false;
      return false;
    }
    return true;
  });
}

void RemplaceTout(std::string& s, std::string_view code, const std::string& valeur) {
  for (size_t p = s.find(code); p != std::string::npos; p = s.find(code, p + valeur.size()))
    s.replace(p, code.size(), valeur);
}

std::string TexteDuPort(const std::function<std::string()>& port) { return port ? port() : std::string(); }

// A cave that can be the reference of the altitudes: not the surface cave.
bool CaviteValide(int32_t cavite) { return cavite > 0 && CaviteExiste(cavite); }

}  // namespace

// --- Creation -------------------------------------------------------------------

TMiseEnPage::TMiseEnPage()
    : FlecheN(std::make_unique<TFlecheN>()),
      EchelleGraph(std::make_unique<TObjetGraphique>()),
      EchellesVert(std::make_unique<TListeEchVert>()),
      MotifsMep(std::make_unique<TMotifsMep>()) {
  for (TTypeMotif t : kTypesMasques) MepMotifsMasques[static_cast<size_t>(t)] = std::make_unique<TListeMotifsMasques>();
}

TMiseEnPage::~TMiseEnPage() = default;

TListeMotifsMasques* TMiseEnPage::MotifsMasques(TTypeMotif type) const {
  return MepMotifsMasques[static_cast<size_t>(type)].get();
}

TValFormat TMiseEnPage::ValFormat() const {
  TValFormat v;
  v.NomFormat = FormatPapier;
  v.CodeFormat = CodeFormatP;
  v.LargP = LargeurPapier;
  v.HautP = HauteurPapier;
  v.LPageReal = LargeurPapier / 1000.0;
  v.HPageReal = HauteurPapier / 1000.0;
  return v;
}

// --- Record ------------------------------------------------------------------------

bool TMiseEnPage::PrepareIndexEntree() {
  IndexEntree = -1;
  if (!CaviteValide(CavitRef)) return true;
  if (CavitRef > (INT32_MAX - (kFacteurCavite - 1)) / kFacteurCavite) return false;
  IndexEntree = CavitRef * kFacteurCavite;
  if (!EstEntreeDeCavite(CavitRef, EntreeRef)) return true;
  if (EntreeRef + 1 >= kFacteurCavite) return false;
  IndexEntree += EntreeRef + 1;
  return true;
}

void TMiseEnPage::ControleCoupes() {
  for (TTypeMotif t : kTypesMasques) std::erase(*MotifsMasques(t), nullptr);
  for (int i = ListeCoupesAlti.Count() - 1; i >= 0; --i) {
    const TCoupeAlti* c = ListeCoupesAlti.UnObjet(i);
    if (!CaviteExiste(c->CaviteRef) || !CoupeLongValide(c->CaviteRef, c->CoupeRef)) ListeCoupesAlti.Delete(i);
  }
}

bool TMiseEnPage::EcritObjet(TFlux& f) {
  if (!PrepareIndexEntree())
    platform::Dialogs::Current().ShowMessage(
        platform::MessageKind::Warning,
        foundation::RemplaceMarques(foundation::Msg(foundation::IdMsg::MepEntreeRefNonEnregistrable), {Design}));
  ControleCoupes();
  std::erase_if(ListeCavites, [](int32_t c) { return !CaviteExiste(c); });
  const drawing::tListeMtf* mtf = BibliothequeDocument();

  bool ok = foundation::EcritChaineA(f, Design) && foundation::EcritChaineA(f, Imprimante) &&
            foundation::EcritChaineA(f, FormatPapier) && f.EcritInteger(LargeurPapier) &&
            f.EcritInteger(HauteurPapier) && f.EcritInteger(Echelle) && FlecheN->EcritObjet(f) &&
            EchelleGraph->EcritObjet(f) && f.Ecrit(&ObjetsImprimes, 4) == 4 && f.EcritBoolean(Carroyage) &&
            f.EcritBoolean(prnCadre) && f.EcritBoolean(prnEnTete) && f.EcritBoolean(prnPiedPage) &&
            ListeCartouches.EcritListe(f) && EchellesVert->EcritListe(f) && EnTete.Ecrit(f) && PiedPage.Ecrit(f) &&
            ListePages.EcritListe(f) && EcritEntiers(f, ListeCavites) && f.EcritInteger(CodeFormatP) &&
            f.EcritInteger(IndexEntree) && f.EcritOctet(static_cast<uint8_t>(TypeAltitude)) &&
            ListeCoupesAlti.EcritListe(f);
  for (TTypeMotif t : kTypesMasques) ok = ok && EcritMasques(f, mtf, t, *MotifsMasques(t));
  return ok && foundation::EcritChaineA(f, CarteMep) && ListeRastersMep.EcritListe(f) && MotifsMep->EcritObjet(f) &&
         ListeMasquesMep.EcritListe(f);
}

bool TMiseEnPage::LitObjet(TFlux& f) {
  const int32_t niveau = NiveauMep();
  const drawing::tListeMtf* mtf = BibliothequeDocument();
  std::vector<int32_t> cavites;
  bool ok = foundation::LitChaineA(f, Design) && foundation::LitChaineA(f, Imprimante) &&
            foundation::LitChaineA(f, FormatPapier) && f.LitInteger(LargeurPapier) && f.LitInteger(HauteurPapier) &&
            f.LitInteger(Echelle) && FlecheN->LitObjet(f) && EchelleGraph->LitObjet(f) &&
            f.Lit(&ObjetsImprimes, 4) == 4 && f.LitBoolean(Carroyage) && f.LitBoolean(prnCadre) &&
            f.LitBoolean(prnEnTete) && f.LitBoolean(prnPiedPage) && ListeCartouches.LitListe(f) &&
            EchellesVert->LitListe(f) && EnTete.Lit(f) && PiedPage.Lit(f) && ListePages.LitListe(f) &&
            LitEntiers(f, cavites) && f.LitInteger(CodeFormatP) && f.LitInteger(IndexEntree);
  uint8_t typeAltitude = 0;
  ok = ok && f.LitOctet(typeAltitude);
  TypeAltitude = static_cast<int8_t>(typeAltitude);

  ListeCoupesAlti.Clear();
  for (TTypeMotif t : kTypesMasques) MotifsMasques(t)->clear();
  CarteMep.clear();
  ListeRastersMep.Clear();
  MotifsMep->Efface();
  MotifsMep->ListeMotifsMep.clear();
  ListeMasquesMep.Clear();
  if (niveau >= 214) ok = ok && ListeCoupesAlti.LitListe(f);
  if (niveau >= 508)
    for (TTypeMotif t : {TTypeMotif::tmTrait, TTypeMotif::tmRempli, TTypeMotif::tmSymbole})
      ok = ok && LitMasques(f, mtf, t, *MotifsMasques(t));
  if (niveau >= 214) ok = ok && LitMasques(f, mtf, TTypeMotif::tmFonte, *MotifsMasques(TTypeMotif::tmFonte));
  if (niveau >= 215) ok = ok && foundation::LitChaineA(f, CarteMep);
  if (niveau >= 218) ok = ok && ListeRastersMep.LitListe(f);
  if (niveau > 500 || niveau == 225) ok = ok && MotifsMep->LitObjet(f);
  if (niveau >= 506) ok = ok && ListeMasquesMep.LitListe(f);

  // Completion.
  ListeCavites.clear();
  for (int32_t c : cavites)
    if (CaviteExiste(c)) ListeCavites.push_back(c);
  CavitRef = EntreeRef = -1;
  if (IndexEntree >= kFacteurCavite) {
    const int32_t cavite = IndexEntree / kFacteurCavite;
    const int32_t entree = IndexEntree - cavite * kFacteurCavite - 1;
    if (CaviteValide(cavite)) {
      CavitRef = cavite;
      if (entree >= 0 && entree < NombrePointsReseau()) EntreeRef = entree;
    }
  }
  if (niveau < 223 || (niveau == 223 && (ObjetsImprimes & (kBit(kOdQuadrill) | kBit(kOdBrouillon)))))
    ObjetsImprimes = RenumeroteTypes(ObjetsImprimes);
  if (ObjetsImprimes & kBit(kOdCoupesDessin)) ObjetsImprimes |= kBit(kOdCoupes);
  if (ObjetsImprimes & kBit(kOdEcartsDessin)) ObjetsImprimes |= kBit(kOdEcarts);
  return ok;
}

// --- Operations ---------------------------------------------------------------------

bool TMiseEnPage::CalculeEnveloppe() {
  if (ListePages.Vide()) return false;
  bool premier = true;
  foundation::TRect r;
  for (const TPageSemis* p : ListePages) {
    const foundation::TPoint h = foundation::PtTopoVersDessin(p->PointHautReel);
    const foundation::TPoint b = foundation::PtTopoVersDessin(p->PointBasReel);
    if (premier) {
      r = {h.X, h.Y, b.X, b.Y};
      premier = false;
      continue;
    }
    r.Left = std::min(r.Left, h.X);
    r.Top = std::max(r.Top, h.Y);
    r.Right = std::max(r.Right, b.X);
    r.Bottom = std::min(r.Bottom, b.Y);
  }
  EnvelMEP = r;
  return true;
}

void TMiseEnPage::MasqueMotifs() const {
  const drawing::tListeMtf* mtf = BibliothequeDocument();
  if (!mtf) return;
  for (TTypeMotif t : kTypesMasques) {
    const TListeMotifsMasques& l = *MotifsMasques(t);
    const std::unordered_set<const TObjetMotifdeBase*> masques(l.begin(), l.end());
    for (TObjetMotifdeBase* m : *mtf->ListeMotif[static_cast<size_t>(t)]) m->MotifMasque = masques.count(m) != 0;
  }
}

std::string TMiseEnPage::TetePiedPageTxt(const std::string& TexteBrut, int NPage) const {
  const PortsVues& p = Ports();
  const std::string valeurs[] = {TexteDuPort(p.NomFichierDocument),
                                 TexteDuPort(p.NomReseau),
                                 TexteDuPort(p.NomCaviteActive),
                                 "1/" + foundation::EntierEnStr(Echelle),
                                 foundation::DateEnTexte(foundation::Aujourdhui()),
                                 foundation::EntierEnStr(NPage),
                                 foundation::EntierEnStr(ListePages.Count())};
  std::string s = TexteBrut;
  for (size_t i = 0; i < CodesTetePied.size(); ++i) RemplaceTout(s, CodesTetePied[i], valeurs[i]);
  return s;
}

void TMiseEnPage::ImprimeTetePied(const TTetePiedPage& UnTP, platform::Canvas& canvas, int NPage, int32_t XD,
                                  int32_t Y, int32_t XG) const {
  const std::string g = TetePiedPageTxt(UnTP.SectionG, NPage);
  const std::string c = TetePiedPageTxt(UnTP.SectionC, NPage);
  const std::string d = TetePiedPageTxt(UnTP.SectionD, NPage);
  if (!g.empty()) canvas.TextOut(XG, Y, g);
  if (!c.empty()) canvas.TextOut(foundation::Arrondi((XD + XG) / 2.0 - canvas.TextWidth(c) / 2.0), Y, c);
  if (!d.empty()) canvas.TextOut(XD - canvas.TextWidth(d), Y, d);
}

void TMiseEnPage::FusionneFlecheN(TObjetMotifdeBase* MotifAGarder, TObjetMotifdeBase* MotifAFusionner) {
  if (FlecheN->EstNul() || !MotifAFusionner || FlecheN->FlecheSymb != MotifAFusionner) return;
  FlecheN->FlecheSymb = dynamic_cast<drawing::TSymbole*>(MotifAGarder);
}

void TMiseEnPage::FusionneMotifs(TObjetMotifdeBase* MotifAGarder, TObjetMotifdeBase* MotifAFusionner) {
  if (!MotifAFusionner || MotifAGarder == MotifAFusionner) return;
  // An absent legend keeps its list for when it comes back: it must not keep
  // an entry that is about to be freed.
  if (MotifsMep->EstNul())
    Remplace(MotifsMep->ListeMotifsMep, MotifAGarder, MotifAFusionner);
  else
    MotifsMep->FusionneMotifs(MotifAGarder, MotifAFusionner);
  for (TTypeMotif t : kTypesMasques) Remplace(*MotifsMasques(t), MotifAGarder, MotifAFusionner);
  auto* garder = dynamic_cast<drawing::TFontObjetType*>(MotifAGarder);
  if (ListeCoupesAlti.FonteLegendes == MotifAFusionner) ListeCoupesAlti.FonteLegendes = garder;
  for (TCoupeAlti* c : ListeCoupesAlti)
    if (c->FonteLegendes == MotifAFusionner) c->FonteLegendes = garder;
}

void TMiseEnPage::RelogeMotifs(const drawing::TRelogeMotifs& reloge) {
  if (FlecheN->FlecheSymb) FlecheN->FlecheSymb = dynamic_cast<drawing::TSymbole*>(reloge.Reloge(FlecheN->FlecheSymb));
  for (TObjetMotifdeBase*& m : MotifsMep->ListeMotifsMep) m = m ? reloge.Reloge(m) : nullptr;
  std::erase(MotifsMep->ListeMotifsMep, nullptr);
  for (TTypeMotif t : kTypesMasques)
    for (TObjetMotifdeBase*& m : *MotifsMasques(t)) m = m ? reloge.Reloge(m) : nullptr;
  const auto fonte = [&](drawing::TFontObjetType*& f) {
    if (f) f = dynamic_cast<drawing::TFontObjetType*>(reloge.Reloge(f));
  };
  fonte(ListeCoupesAlti.FonteLegendes);
  for (TCoupeAlti* c : ListeCoupesAlti) fonte(c->FonteLegendes);
}

// --- Deep copy -------------------------------------------------------------------------

void CopieMiseEnPage(const TMiseEnPage& S, TMiseEnPage& D, bool AvecPages) {
  if (&S == &D) return;
  D.Design = S.Design;
  D.Imprimante = S.Imprimante;
  D.FormatPapier = S.FormatPapier;
  D.CodeFormatP = S.CodeFormatP;
  D.LargeurPapier = S.LargeurPapier;
  D.HauteurPapier = S.HauteurPapier;
  D.Echelle = S.Echelle;
  D.CavitRef = S.CavitRef;
  D.EntreeRef = S.EntreeRef;
  D.TypeAltitude = S.TypeAltitude;
  D.FlecheN->CopieObjet(*S.FlecheN);
  D.FlecheN->FlecheSymb = S.FlecheN->FlecheSymb;
  D.EchelleGraph->CopieObjet(*S.EchelleGraph);

  TListeEchVert& ev = *D.EchellesVert;
  ev.Clear();
  ev.Absolue = S.EchellesVert->Absolue;
  ev.PasEchelle = S.EchellesVert->PasEchelle;
  ev.AltiEntree = S.EchellesVert->AltiEntree;
  ev.TotalAlti = S.EchellesVert->TotalAlti;
  for (const TEchelleVert* e : *S.EchellesVert) {
    TEchelleVert* n = ev.AjouteEchelleV();
    n->CopieObjet(*e);
    n->ChiffreDr = e->ChiffreDr;
    n->Longueur = e->Longueur;
  }

  D.EnTete = S.EnTete;
  D.PiedPage = S.PiedPage;
  D.ObjetsImprimes = S.ObjetsImprimes;
  D.Carroyage = S.Carroyage;
  D.prnCadre = S.prnCadre;
  D.prnEnTete = S.prnEnTete;
  D.prnPiedPage = S.prnPiedPage;

  D.ListeCartouches.Clear();
  for (const TCartouche* c : S.ListeCartouches) {
    if (c->EstVide()) continue;
    auto n = std::make_unique<TCartouche>();
    n->Lignes = c->Lignes;
    n->CopieObjet(*c);
    n->Encadrement = c->Encadrement;
    D.ListeCartouches.Add(std::move(n));
  }

  D.ListeCavites.clear();
  for (int32_t c : S.ListeCavites)
    if (c >= 0) D.ListeCavites.push_back(c);

  D.ListeCoupesAlti.Clear();
  for (const TCoupeAlti* c : S.ListeCoupesAlti) {
    auto n = std::make_unique<TCoupeAlti>();
    n->CopieObjet(*c);
    n->Legende = c->Legende;
    n->CaviteRef = c->CaviteRef;
    n->CoupeRef = c->CoupeRef;
    n->CAltEntreeRef = c->CAltEntreeRef;
    n->CAltTypeAltitude = c->CAltTypeAltitude;
    n->FonteLegendes = c->FonteLegendes;
    n->CAltCadre = S.ListeCoupesAlti.Cadre;
    D.ListeCoupesAlti.Add(std::move(n));
  }
  D.ListeCoupesAlti.Cadre = S.ListeCoupesAlti.Cadre;
  D.ListeCoupesAlti.FonteLegendes = S.ListeCoupesAlti.FonteLegendes;

  D.ListeRastersMep.Clear();
  for (const TRasterMep* r : S.ListeRastersMep) {
    auto n = std::make_unique<TRasterMep>();
    n->CopieObjet(*r);
    n->NomRaster = r->NomRaster;
    n->Encadre = r->Encadre;
    D.ListeRastersMep.Add(std::move(n));
  }

  for (TTypeMotif t : kTypesMasques) {
    TListeMotifsMasques& l = *D.MotifsMasques(t);
    l.clear();
    for (TObjetMotifdeBase* m : *S.MotifsMasques(t))
      if (m) l.push_back(m);
  }

  D.MotifsMep->CopieObjet(*S.MotifsMep);
  D.MotifsMep->TitreListe = S.MotifsMep->TitreListe;
  D.MotifsMep->FonteTitre->SetValeurFonte(S.MotifsMep->FonteTitre->GetValeurFonte());
  D.MotifsMep->ListeMotifsMep = S.MotifsMep->ListeMotifsMep;
  D.MotifsMep->CoeffVisu = S.MotifsMep->CoeffVisu;

  D.ListeMasquesMep.Clear();
  for (const TObjetGraphique* m : S.ListeMasquesMep) {
    auto n = std::make_unique<TObjetGraphique>();
    n->CopieObjet(*m);
    D.ListeMasquesMep.Add(std::move(n));
  }
  D.CarteMep = S.CarteMep;

  if (AvecPages) {
    D.ListePages.Clear();
    for (const TPageSemis* p : S.ListePages) {
      auto n = std::make_unique<TPageSemis>();
      n->CopiePage(*p);
      D.ListePages.Add(std::move(n));
    }
  }
  D.ModifMEP = S.ModifMEP;
}

// --- Layout lists -------------------------------------------------------------------------

TListeMisesEnPage* ContexteMisesEnPage::Liste(foundation::TTypeDeDessin type) const {
  const auto i = static_cast<size_t>(type);
  return i < ListesMisesEnPage.size() ? ListesMisesEnPage[i] : nullptr;
}

TMiseEnPage* UneMiseEnPage(int i) {
  const TListeMisesEnPage* l = MisesEnPage().Liste(foundation::Vue().TypeDessinCourant);
  return l ? l->UnObjet(i) : nullptr;
}

GardeListeMisesEnPage::GardeListeMisesEnPage(foundation::TTypeDeDessin type, TListeMisesEnPage* liste)
    : index_(static_cast<size_t>(type)) {
  // Cross sections have no layout list.
  if (index_ >= MisesEnPage().ListesMisesEnPage.size()) return;
  sauve_ = MisesEnPage().ListesMisesEnPage[index_];
  MisesEnPage().ListesMisesEnPage[index_] = liste;
}

GardeListeMisesEnPage::~GardeListeMisesEnPage() {
  if (index_ < MisesEnPage().ListesMisesEnPage.size()) MisesEnPage().ListesMisesEnPage[index_] = sauve_;
}

}  // namespace views
