#include "survey/ports_survey.h"

namespace survey {

std::function<void(double& x, double& y)> ConversionPoints(const std::string& ancienSysteme, int32_t ancienFuseau,
                                                          int32_t nouveauFuseau, const std::string& nouveauSysteme) {
  const PortsSurvey& p = Ports();
  if (p.ConversionProjection) return p.ConversionProjection(ancienSysteme, ancienFuseau, nouveauFuseau, nouveauSysteme);
  if (!p.ChangeProjectionPoint) return {};
  return [f = p.ChangeProjectionPoint, ancienSysteme, ancienFuseau, nouveauFuseau, nouveauSysteme](double& x,
                                                                                                   double& y) {
    f(x, y, ancienSysteme, ancienFuseau, nouveauFuseau, nouveauSysteme);
  };
}

}  // namespace survey
