#pragma once
// The choice of the shots an export of a part of a cave writes: the shot
// selection window over the active cave, then the shots it marked.
#include <optional>
#include <string>
#include <vector>

namespace survey {
class TReseau;
class TVisee;
}  // namespace survey

namespace formats {

// Clears the marks of the active cave's shots and shows the selection
// window (ComposCoupe set, with the caption given) through
// FenetresExport().ChoisitVisees; after OK, the marked shots of the active
// cave in cave order (possibly none).  Nothing when it was cancelled, when
// no window is installed or when no cave of the network is active.
std::optional<std::vector<survey::TVisee*>> ChoixViseesExport(survey::TReseau& reseau, const std::string& titre);

}  // namespace formats
