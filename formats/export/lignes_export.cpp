#include "formats/export/lignes_export.h"

#include <unordered_set>
#include <utility>

#include "drawing/annexe_cavite.h"
#include "drawing/donnees_dessin_basique.h"
#include "drawing/objet_donnees_basique.h"
#include "drawing/point_dessin.h"
#include "drawing/poly_gal.h"
#include "survey/cavite.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/visee.h"

namespace formats {

foundation::TPointTopo PointDeStation(const survey::TPointSpeleo& p) {
  foundation::TPointTopo t;
  t.X = p.X;
  t.Y = p.Y;
  t.Z = p.Z;
  return t;
}

std::vector<TPolyligneExport> LignesGalerie(const survey::TGalerie& galerie, const drawing::TypeTrait& trait) {
  std::vector<TPolyligneExport> lignes;
  std::unordered_set<const survey::TPointSpeleo*> marques;
  const survey::TPointSpeleo* rattache = galerie.PointRattach();
  const auto& points = galerie.Points;
  for (int i = points.Count() - 1; i >= 0; --i) {
    survey::TPointSpeleo* depart = points.Item(i);
    if (!depart || marques.count(depart)) continue;
    TPolyligneExport ligne(trait, false);
    survey::TPointSpeleo* p = depart;
    while (p && !marques.count(p) && p != rattache && p->ViseeAvant) {
      marques.insert(p);
      ligne.AjoutePoint(PointDeStation(*p));
      p = p->ViseeAvant->PtOrigCalc;
    }
    // A walk that adds no station ends here: the station is passed over.
    if (ligne.Points.empty()) {
      marques.insert(depart);
      continue;
    }
    if (p) ligne.AjoutePoint(PointDeStation(*p));
    if (ligne.Points.size() >= 2) lignes.push_back(std::move(ligne));
  }
  return lignes;
}

std::unordered_map<const survey::TGalerie*, std::vector<int>> GaleriesFilles(const survey::TCavite& cavite) {
  std::unordered_map<const survey::TGalerie*, std::vector<int>> filles;
  for (int h = 0; h < cavite.Galeries.Count(); ++h)
    if (const survey::TGalerie* gh = cavite.Galeries.UnObjet(h))
      if (const survey::TGalerie* mere = gh->GalDeRattach()) filles[mere].push_back(h);
  return filles;
}

std::array<TPolyligneExport, 2> BordsEnveloppe(const drawing::tPolyGal& poly, const drawing::TypeTrait& trait) {
  std::array<TPolyligneExport, 2> bords{TPolyligneExport(trait, false), TPolyligneExport(trait, false)};
  for (const foundation::TPointTopo& p : poly.BordGauche) bords[0].AjoutePoint(p);
  if (poly.fermee && !poly.BordDroit.empty()) bords[0].AjoutePoint(poly.BordDroit.back());
  for (const foundation::TPointTopo& p : poly.BordDroit) bords[1].AjoutePoint(p);
  return bords;
}

std::optional<TPolyligneExport> LigneObjetDessin(const drawing::TObjetDonneesBasique& objet) {
  if (objet.estNonVisible()) return std::nullopt;
  drawing::TypeTrait trait;
  if (const auto* t = dynamic_cast<const drawing::TDefObjetTrait*>(objet.MotifDessin)) trait = t->GetValeurTrait();
  TPolyligneExport ligne(trait, objet.estSurfacique());
  for (int i = 0; i < objet.Points.Count(); ++i) {
    const drawing::TPointDessin* p = objet.Points.UnObjet(i);
    if (!p || !p->PointOk) continue;
    foundation::TPointTopo t = p->PointTopo();
    t.Z = p->Zpt;
    ligne.AjoutePoint(t);
  }
  return ligne;
}

const drawing::TDonneesDessinBasique* DessinPlaniCalcule(survey::TCavite& cavite) {
  cavite.CalculeDessinPlani();
  const drawing::TAnnexeDessinCavite* annexe = drawing::AnnexeDessin(&cavite);
  return annexe ? annexe->LeDessinPlani.get() : nullptr;
}

}  // namespace formats
