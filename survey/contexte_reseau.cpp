#include "survey/contexte_reseau.h"

#include "survey/parties_reseau.h"
#include "survey/visee.h"

namespace survey {

TVisee* ViseeLue(int32_t cavite, int32_t visee) {
  const auto& listes = LectureReseau().ListesViseesLues;
  if (cavite < 0 || static_cast<size_t>(cavite) >= listes.size() || !listes[static_cast<size_t>(cavite)]) return nullptr;
  return listes[static_cast<size_t>(cavite)]->UnObjet(visee);
}

GardeContexteReseau::GardeContexteReseau()
    : reseau_(Document().ReseauCourant),
      listes_(ListesDocument()),
      niveau_(foundation::NiveauFichier()),
      points_(PointsReseau()),
      lecture_(LectureReseau()) {
  for (const auto& sauve : Fabriques().Sauvegardes)
    restaurations_.push_back(sauve ? sauve() : std::function<void()>());
}

GardeContexteReseau::~GardeContexteReseau() {
  if (conserve_) return;
  Document().ReseauCourant = reseau_;
  // Operators and instruments, the pattern library, the maps, the loops, the
  // page layouts, then the file level.
  ListesDocument() = listes_;
  for (const auto& restaure : restaurations_)
    if (restaure) restaure();
  foundation::NiveauFichier() = niveau_;
  PointsReseau() = points_;
  LectureReseau() = lecture_;
}

}  // namespace survey
