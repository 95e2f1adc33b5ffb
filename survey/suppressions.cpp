#include "survey/suppressions.h"

#include "survey/contexte_survey.h"

#include <algorithm>
#include <utility>

namespace survey {

namespace {

using Abonne = AbonneNettoyage;

std::vector<Abonne>& Abonnes() { return ContexteSurvey().Nettoyages.Abonnes; }

int& DernierId() { return ContexteSurvey().Nettoyages.DernierId; }

}  // namespace

TPointSpeleo* TSuppressions::Remplace(TPointSpeleo* p) const {
  // Bounded by the number of removed stations, so a cycle of replacements ends.
  for (size_t pas = 0; p && pas <= points_.size(); ++pas) {
    const auto it = points_.find(p);
    if (it == points_.end()) return p;
    p = it->second;
  }
  return points_.count(p) ? nullptr : p;
}

bool TSuppressions::Redirige(TPointSpeleo*& p) const {
  if (!p || !points_.count(p)) return false;
  p = Remplace(p);
  return true;
}

bool TSuppressions::Efface(const TLever*& l) const {
  if (!LeverSupprime(l)) return false;
  l = nullptr;
  return true;
}

void TSuppressions::RetireDe(std::vector<TPointSpeleo*>& liste) const {
  if (points_.empty()) return;
  liste.erase(std::remove_if(liste.begin(), liste.end(), [&](TPointSpeleo* p) { return PointSupprime(p); }),
              liste.end());
}

AbonnementNettoyage::AbonnementNettoyage(TNettoyage routine) : id_(++DernierId()) {
  Abonnes().push_back({id_, std::move(routine)});
}

AbonnementNettoyage::~AbonnementNettoyage() {
  auto& a = Abonnes();
  a.erase(std::remove_if(a.begin(), a.end(), [&](const Abonne& x) { return x.id == id_; }), a.end());
}

void AppliqueNettoyages(const TSuppressions& s) {
  if (s.Vide()) return;
  // A routine may register or unregister others: work on a copy.
  const std::vector<Abonne> abonnes = Abonnes();
  for (const Abonne& a : abonnes)
    if (a.routine) a.routine(s);
}

}  // namespace survey
