#pragma once
// The factory from the nature text of a catalogue line to a new system
// object.  Each projection family registers its natures in the tables; a new
// family adds its registration routine to the list that builds them.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "projections/ancetre.h"

namespace projections {

using TProjectionClass = std::unique_ptr<TProjection> (*)();
using TMultipleClass = std::unique_ptr<TMultiple> (*)();

struct TRelationProj {
  std::string Texte;  // the nature
  TProjectionClass Objet;
};
struct TRelationMulti {
  std::string Texte;
  TMultipleClass Objet;
};

template <class T>
std::unique_ptr<TProjection> ConstruitProjection() {
  return std::make_unique<T>();
}
template <class T>
std::unique_ptr<TMultiple> ConstruitMultiple() {
  return std::make_unique<T>();
}

// The tables, filled with the program's families on first use.
const std::vector<TRelationProj>& RelationsProjections();
const std::vector<TRelationMulti>& RelationsMultiples();
// Adds a nature; false (and nothing added) when the nature is already there.
bool EnregistreProjection(std::string nature, TProjectionClass classe);
bool EnregistreMultiple(std::string nature, TMultipleClass classe);

// A new object of the class whose nature equals the text exactly (case
// counts), or none.  It is not valid and has no datum until it is read.
std::unique_ptr<TProjection> CreeProjection(std::string_view nature);
std::unique_ptr<TMultiple> CreeMultiple(std::string_view nature);

}  // namespace projections
