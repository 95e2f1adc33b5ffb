#include "formats/export/svg/vue_export_svg.h"

#include <algorithm>

#include "drawing/annexe_cavite.h"
#include "drawing/contexte_dessin.h"
#include "drawing/cree_dessin.h"
#include "drawing/donnees_coupe_long.h"
#include "formats/export/svg/fichier_svg.h"
#include "foundation/utilitaires.h"
#include "survey/cavite.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "survey/visee.h"

namespace formats {

using foundation::TTypeDeDessin;

namespace {

// The active cave, or the first cave with shots.
survey::TCavite* CaviteActive(survey::TReseau& r) {
  if (r.LaCaviteActive && r.LaCaviteActive->CaviteValide()) return r.LaCaviteActive;
  for (int i = 1; i < r.NombreCavites(); ++i)
    if (survey::TCavite* c = r.UneCavite(i); c && c->CaviteValide()) return c;
  return r.LaCaviteActive;
}

drawing::TDonneesCoupeLong* Elevation(survey::TCavite* c) {
  drawing::TAnnexeDessinCavite* a = drawing::AnnexeDessin(c);
  if (!a) return nullptr;
  return a->LeDessinAlti ? a->LeDessinAlti : a->LeDessinAltiOr;
}

TTypeDeDessin TypeElevation(survey::TReseau& r) {
  drawing::TDonneesCoupeLong* e = Elevation(CaviteActive(r));
  const TTypeDeDessin t = e ? e->TypeDeDessin() : TTypeDeDessin::tddAltiDev;
  return foundation::EstDessinAlti(t) ? t : TTypeDeDessin::tddAltiDev;
}

// A box without width or height grows by 50 m on every side.
void ZoomGeneral(double& xMin, double& xMax, double& yMin, double& yMax) {
  if (xMax == xMin || yMax == yMin) {
    xMin -= 50;
    xMax += 50;
    yMin -= 50;
    yMax += 50;
  }
}

int32_t EchelleDe(double dessin, int32_t courante, const survey::TCavite& c) {
  int32_t e = std::max(courante, static_cast<int32_t>(dessin));
  if (e < 0) e = static_cast<int32_t>(c.EchelleParDefaut());
  return e;
}

// The fills' outlines, as the paint of their layers assembles them.
void TesteRemplissages(drawing::TJeuCalques& calques) {
  for (int k = 0; k < drawing::NombreTypesObjetDessin; ++k) {
    const auto t = static_cast<drawing::TypeObjetDessin>(k);
    if (!drawing::TJeuCalques::EstNatureCalque(t)) continue;
    for (const auto& o : calques[t].ObjetsDessines)
      if (o && o->EstRemplissage()) o->TesteFermeture();
  }
}

}  // namespace

TVueExportSVG::TVueExportSVG(survey::TReseau& reseau, bool alti, int32_t echelle)
    : Reseau(reseau),
      TypeDessin(alti ? TypeElevation(reseau) : TTypeDeDessin::tddPlani),
      type_(TypeDessin) {
  reseau.CalculeReseau();
  foundation::ContexteVue& v = foundation::Vue();
  v.TypeDessinCourant = TypeDessin;
  v.EchelleFontes = -1;
  drawing::EtatAffichage& affichage = drawing::Affichage();
  if (!alti) {
    std::vector<survey::TCavite*> dessinees;
    for (int i = 1; i < reseau.NombreCavites(); ++i)
      if (survey::TCavite* c = reseau.UneCavite(i); c && c->CaviteValide() && c->Adessiner) dessinees.push_back(c);
    bool premiere = true;
    for (survey::TCavite* c : dessinees) {
      drawing::TAnnexeDessinCavite* a = drawing::AnnexeDessin(c);
      v.EchelleFontes = EchelleDe(a ? a->LeDessinPlani->EchelleDessin : -1, v.EchelleFontes, *c);
      c->CalculeDessinPlani();
      v.Xmin = premiere ? c->XMinCav : std::min(v.Xmin, c->XMinCav);
      v.Xmax = premiere ? c->XMaxCav : std::max(v.Xmax, c->XMaxCav);
      v.Ymin = premiere ? c->YMinCav : std::min(v.Ymin, c->YMinCav);
      v.Ymax = premiere ? c->YMaxCav : std::max(v.Ymax, c->YMaxCav);
      premiere = false;
    }
    ZoomGeneral(v.Xmin, v.Xmax, v.Ymin, v.Ymax);
    if (echelle > 0) v.EchelleFontes = echelle;
    for (survey::TCavite* c : dessinees) {
      drawing::TAnnexeDessinCavite* a = drawing::AnnexeDessin(c);
      if (!a) continue;
      drawing::GardeValeur<survey::TParamDessinCavite*> param(affichage.ParamCaviteCourant, &c->ParamDessinCavite);
      drawing::CreeDessinCavite(Calques, *a->LeDessinPlani);
    }
  } else {
    survey::TCavite* c = CaviteActive(reseau);
    drawing::TDonneesCoupeLong* e = Elevation(c);
    if (c && e) {
      if (!reseau.LaCaviteActive) reseau.LaCaviteActive = c;
      v.EchelleFontes = EchelleDe(e->EchelleDessin, v.EchelleFontes, *c);
      drawing::NettoieViseesCoupeLong(*e);
      drawing::CalculeDessinCoupeLong(*e);
      // The extent of the stations of the elevation's shots.
      double slMin = foundation::ValeurIndefiniePositive, slMax = foundation::ValeurIndefinie;
      double zMin = foundation::ValeurIndefiniePositive, zMax = foundation::ValeurIndefinie;
      const drawing::TViseesDeRef refs = e->ViseesDeRef();
      for (int i = 0; i < refs.Count(); ++i)
        if (const survey::TVisee* vis = refs.LaVisee(i))
          for (const survey::TPointSpeleo* p : {vis->PtOrigCalc, vis->PtCalc})
            if (p && !p->CoordonneesIndefinies()) {
              foundation::MajMinMax(slMin, slMax, p->Slh);
              foundation::MajMinMax(zMin, zMax, p->Z);
            }
      if (slMin <= slMax) {
        v.SLmin = slMin;
        v.SLmax = slMax;
        v.Zmin = zMin;
        v.Zmax = zMax;
      }
      ZoomGeneral(v.SLmin, v.SLmax, v.Zmin, v.Zmax);
      if (echelle > 0) v.EchelleFontes = echelle;
      drawing::GardeValeur<survey::TParamDessinCavite*> param(affichage.ParamCaviteCourant, &c->ParamDessinCavite);
      drawing::CreeDessinCavite(Calques, *e);
    } else if (echelle > 0) {
      v.EchelleFontes = echelle;
    }
  }
  TesteRemplissages(Calques);
}

TVueExportSVG::~TVueExportSVG() = default;

drawing::TConstantesSVG TVueExportSVG::Constantes() const { return drawing::InitConstSVG(Reseau, TypeDessin); }

bool TVueExportSVG::Exporte(bool sansFenetre) {
  return ExporteSVG(Reseau, Constantes(), &Calques[drawing::TypeObjetDessin::odAutreNiveau], sansFenetre);
}

}  // namespace formats
