#include "editor/reprojection.h"

#include <algorithm>

#include "foundation/catalogue.h"
#include "platform/dialogs.h"
#include "projections/services.h"

namespace editor {

void TBilanReprojection::Signale() {
  if (FondsNonConvertis.empty()) return;
  std::string noms;
  for (const std::string& n : FondsNonConvertis) noms += "\n" + n;
  FondsNonConvertis.clear();
  platform::Dialogs::Current().ShowMessage(
      platform::MessageKind::Warning,
      foundation::RemplaceMarques(foundation::Msg(foundation::IdMsg::FondsNonReprojetes), {noms}));
}

bool ReprojettePoints(foundation::TPointTopo* points, size_t n, const std::string& ancienProj, int32_t ancienFuseau,
                      const std::string& nouveauProj, int32_t nouveauFuseau) {
  if (ancienProj == nouveauProj && ancienFuseau == nouveauFuseau) return true;
  // Converted on copies, so that a failure on any point changes none.
  std::vector<foundation::TPointTopo> copies(points, points + n);
  for (foundation::TPointTopo& p : copies)
    if (projections::ChangeProjectionPoint(nouveauProj, nouveauFuseau, ancienProj, ancienFuseau, p) !=
        projections::CodeFait)
      return false;
  std::copy(copies.begin(), copies.end(), points);
  return true;
}

}  // namespace editor
