#pragma once
// The OK and Cancel buttons at the foot of a dialog, shared with the other
// window folders (platform/qt/boutons_dialogue.h).
#include "platform/qt/boutons_dialogue.h"

namespace app {

using platform::qt::BoutonsOKAnnuler;

}  // namespace app
