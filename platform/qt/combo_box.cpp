#include "platform/qt/combo_box.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <algorithm>

namespace platform {

void AjusteLargeurListe(QComboBox& box) {
  const QFontMetrics fm(box.view() ? box.view()->font() : box.font());
  int w = box.width();
  for (int i = 0; i < box.count(); ++i) w = std::max(w, fm.horizontalAdvance(box.itemText(i)) + 24);
  if (box.view()) box.view()->setMinimumWidth(w);
}

}  // namespace platform
