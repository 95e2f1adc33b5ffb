#include "views/ports_vues.h"

namespace views {

int NombreCavites() { return Ports().NombreCavites ? Ports().NombreCavites() : 0; }

bool CaviteExiste(int cavite) { return cavite >= 0 && cavite < NombreCavites(); }

bool EstEntreeDeCavite(int cavite, int32_t pointReseau) {
  return pointReseau >= 0 && Ports().EstEntreeDeCavite && Ports().EstEntreeDeCavite(cavite, pointReseau);
}

int32_t NombrePointsReseau() { return Ports().NombrePointsReseau ? Ports().NombrePointsReseau() : 0; }

bool CoupeLongValide(int cavite, int32_t coupe) {
  return CaviteExiste(cavite) && coupe >= 0 && Ports().NombreCoupesLong &&
         coupe < Ports().NombreCoupesLong(cavite);
}

bool CoupesDecalees(int cavite) { return Ports().CoupesDecalees && Ports().CoupesDecalees(cavite); }

drawing::tListeMtf* BibliothequeDocument() {
  return Ports().BibliothequeDocument ? Ports().BibliothequeDocument() : nullptr;
}

drawing::TObjetDessin* CarteReseauActive() {
  return Ports().CarteReseauActive ? Ports().CarteReseauActive() : nullptr;
}

bool SensMolette() { return Ports().SensMolette && Ports().SensMolette(); }

}  // namespace views
