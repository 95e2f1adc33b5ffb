#include "formats/export/svg/choix_objets_svg.h"

namespace formats {

using TOD = drawing::TypeObjetDessin;

namespace {

struct DefBoite {
  const char* nom;
  TOD type;
  TObjetsSvgDlg::Boite maitre;
};

constexpr TObjetsSvgDlg::Boite Aucune = TObjetsSvgDlg::NombreBoites;

const DefBoite kBoites[TObjetsSvgDlg::NombreBoites] = {
    {"ChkbCarroyage", TOD::odQuadrill, Aucune},
    {"ChkbPoints", TOD::odNumPt, TObjetsSvgDlg::ChkbLevers},
    {"ChkbPtSurf", TOD::odNumSurf, TObjetsSvgDlg::ChkbSurface},
    {"ChkbSurface", TOD::odPtSurf, Aucune},
    {"ChkbLevers", TOD::odPtLever, Aucune},
    {"ChkbVisHab", TOD::odVisHab, TObjetsSvgDlg::ChkbLevers},
    {"ChkbGaleries", TOD::odGalerie, Aucune},
    {"ChkbDessin", TOD::odDessin, Aucune},
    {"ChkbTextes", TOD::odTexte, Aucune},
    {"ChkbCoupes", TOD::odCoupes, TObjetsSvgDlg::ChkbDessin},
    {"ChkbEcarts", TOD::odEcarts, TObjetsSvgDlg::ChkbDessin},
};

}  // namespace

const char* TObjetsSvgDlg::NomBoite(Boite b) { return kBoites[b].nom; }
drawing::TypeObjetDessin TObjetsSvgDlg::TypeBoite(Boite b) { return kBoites[b].type; }
TObjetsSvgDlg::Boite TObjetsSvgDlg::BoiteMaitre(Boite b) { return kBoites[b].maitre; }

TObjetsSvgDlg::TObjetsSvgDlg() : MemoPanZoom(ScriptPanZoom()) {}

bool& TObjetsSvgDlg::Sauve(Boite b) {
  switch (b) {
    case ChkbPoints: return vSauvePts;
    case ChkbVisHab: return vSauveVHab;
    case ChkbPtSurf: return vSauvePtSurf;
    case ChkbCoupes: return vSauveCoupes;
    default: return vSauveEcarts;
  }
}

void TObjetsSvgDlg::Init(TObjetsSVG objets) {
  for (int i = 0; i < NombreBoites; ++i) {
    const Boite b = static_cast<Boite>(i);
    (*this)[b].Actif = true;
    (*this)[b].Coche = ContientObjet(objets, TypeBoite(b));
  }
  ChkBoxClick();
}

void TObjetsSvgDlg::ChkBoxClick() {
  // The order of the remembered states: "Désign points topos", "Visées
  // d'habillage", "Désign Pts Surface", "Sections Transversales", "Dessins à
  // l'écart".
  static constexpr Boite kDependantes[] = {ChkbPoints, ChkbVisHab, ChkbPtSurf, ChkbCoupes, ChkbEcarts};
  for (Boite b : kDependantes)
    if ((*this)[b].Actif) Sauve(b) = (*this)[b].Coche;
  for (Boite b : kDependantes) {
    Case& c = (*this)[b];
    c.Actif = (*this)[BoiteMaitre(b)].Coche;
    c.Coche = c.Actif && Sauve(b);
  }
}

void TObjetsSvgDlg::Transfere(TObjetsSVG& objets, std::vector<std::string>& script) const {
  objets = 0;
  for (int i = 0; i < NombreBoites; ++i) {
    const Boite b = static_cast<Boite>(i);
    const Boite m = BoiteMaitre(b);
    if ((*this)[b].Coche && (m == NombreBoites || (*this)[m].Coche))
      objets |= drawing::BitTypeObjet(TypeBoite(b));
  }
  script = MemoPanZoom;
}

}  // namespace formats
