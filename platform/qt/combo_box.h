#pragma once
// Widens the drop-down list of a combo box to its longest item.
class QComboBox;

namespace platform {

// The drop-down width becomes the largest of the box's width and each item's
// pixel width plus 24.
void AjusteLargeurListe(QComboBox& box);

}  // namespace platform
