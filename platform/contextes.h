#pragma once
// Each folder keeps its process-wide values in one context object, reached by
// the folder's Contexte…() accessor and set aside by its GardeContexte… guard.
// Each folder enters the maker of its guard here, once, so that a single
// guard can set every linked context aside at once (the tests' GardeContextes).
#include <functional>
#include <memory>
#include <vector>

namespace platform {

// Makes a folder's context guard: the context is saved while the returned
// object lives and put back when it goes.
using FabriqueGardeContexte = std::function<std::shared_ptr<void>()>;

// Enters a folder's guard maker; returns true, to initialise a constant of
// the folder's context file (the entry is made when that file is linked in).
bool InscritContexte(FabriqueGardeContexte fabrique);

// One guard of every entered context, in the order of entry; the caller frees
// them in the reverse order.
std::vector<std::shared_ptr<void>> GardesTousContextes();

}  // namespace platform
