#pragma once
// The warnings of a computation as its steps hand them back: the reduction of
// a shot, the coordinates of a cave and the computation of the network each
// add theirs to a list the caller gives, in the order they arise, and touch
// no process-wide state.  The caller at the top (TReseau::CalculeReseau, or
// the no-list form of a step called on its own) writes the list into the
// computation's report (SignaleAvertissements, rapport_calcul.h), which says
// each shot's warning once.
#include <string>
#include <vector>

namespace survey {

class TValeurVisee;

struct TAvertissementCalcul {
  const TValeurVisee* Visee = nullptr;  // the shot warned about; none for a cave
  std::string Texte;
};

using TAvertissementsCalcul = std::vector<TAvertissementCalcul>;

}  // namespace survey
