#include "drawing/jeu_calques.h"

#include <stdexcept>

namespace drawing {

namespace {

size_t IndexCalque(TypeObjetDessin t) {
  if (!TJeuCalques::EstNatureCalque(t)) throw std::logic_error("TJeuCalques: kind without a layer");
  return static_cast<size_t>(t) - static_cast<size_t>(TJeuCalques::PremierCalque);
}

}  // namespace

TJeuCalques::TJeuCalques() {
  for (size_t i = 0; i < Calques.size(); ++i)
    Calques[i] = std::make_unique<TCalque>(
        static_cast<TypeObjetDessin>(i + static_cast<size_t>(PremierCalque)));
}

TJeuCalques::~TJeuCalques() { VideTout(); }

TCalque& TJeuCalques::LeCalque(TypeObjetDessin t) { return *Calques[IndexCalque(t)]; }

const TCalque& TJeuCalques::LeCalque(TypeObjetDessin t) const { return *Calques[IndexCalque(t)]; }

TObjetDessin* TJeuCalques::AjouteObjetDessin(TypeObjetDessin t, std::unique_ptr<TObjetDessin> unObjet) {
  return LeCalque(t).AjouteObjet(std::move(unObjet));
}

void TJeuCalques::EnleveObjetDessin(TypeObjetDessin t) {
  auto& c = LeCalque(t);
  if (!c.ObjetsDessines.empty()) c.ObjetsDessines.pop_back();
}

void TJeuCalques::EffaceCalque(TypeObjetDessin t) {
  auto& c = LeCalque(t);
  // Fills first: they refer to their lines.
  c.ListePolylignes.clear();
  c.ObjetsMasques.clear();
  c.ObjetsDessines.clear();
  c.CalqueModifie = true;
}

void TJeuCalques::ClearCalques() {
  for (auto& c : Calques)
    if (c->NatureCalque != TypeObjetDessin::odQuadrill && c->NatureCalque != TypeObjetDessin::odAutresCavites)
      EffaceCalque(c->NatureCalque);
}

void TJeuCalques::VideTout() {
  for (auto& c : Calques)
    if (c) EffaceCalque(c->NatureCalque);
}

int TJeuCalques::NombreObjets() const {
  int n = 0;
  for (const auto& c : Calques) n += c->NombreObjets();
  return n;
}

void TJeuCalques::DessineCalques(platform::Canvas& canvas, const TObjetsAffichables& visibles) {
  for (const TypeObjetDessin t : OrdreCalques)
    if (visibles[t]) LeCalque(t).DessineCalque(canvas);
}

}  // namespace drawing
