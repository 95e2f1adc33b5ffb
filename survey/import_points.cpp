// The cave's side of the two small station imports.
#include "foundation/catalogue.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/galerie.h"

namespace survey {

using foundation::IdMsg;
using foundation::Msg;

namespace {

TPointSpeleo* AjouteStation(TGalerie& g, std::unique_ptr<TPointSpeleo> p) {
  p->GalduPt = &g;
  return g.Points.Add(std::move(p));
}

}  // namespace

bool TCavite::ImporteFichierTexte(int32_t& Index) {
  const auto& dialogue = Ports().DialogueImportTexte;
  if (!dialogue) return false;
  const std::optional<TImportTexte> import = dialogue(*this);
  if (!import || import->Points.empty()) return false;
  TGalerie* g = LaGalerieActive;
  if (!g || import->NouvelleGalerie) {
    std::string nom = import->NomGalerie;
    if (nom.empty() && !LaGalerieActive) nom = Msg(IdMsg::CaviteGaleriePrincipale);
    g = AjouteGalerie(nom);
  }
  TPointSpeleo* derniere = nullptr;
  for (const TPointImporte& p : import->Points) {
    auto station = std::make_unique<TPointSpeleo>();
    station->DesignPTopo = p.Nom;
    station->Commentaire.assign(p.Commentaire.begin(), p.Commentaire.end());
    station->LargeurGA = p.LargeurGA;
    station->LargeurDR = p.LargeurDR;
    station->HauteurSup = p.HauteurSup;
    station->HauteurInf = p.HauteurInf;
    derniere = AjouteStation(*g, std::move(station));
  }
  Document().DocumentModifie = true;
  Index = derniere->IndexPtCav;
  return true;
}

TPointSpeleo* TCavite::ImportePointAncien(std::unique_ptr<TPointSpeleo> Point, const std::string& NomGal) {
  TGalerie* g = LaGalerieActive;
  if (!NomGal.empty() || !g) g = AjouteGalerie(NomGal.empty() ? Msg(IdMsg::CaviteGaleriePrincipale) : NomGal);
  Document().DocumentModifie = true;
  return AjouteStation(*g, std::move(Point));
}

}  // namespace survey
