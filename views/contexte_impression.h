#pragma once
// The print transform lives with the view transform in foundation, below the
// drawing objects that read it; the views keep their names for it.
#include "foundation/contexte_impression.h"

namespace views {

using foundation::BitmapCreable;
using foundation::ContexteImpression;
using foundation::CorrectionPointsParMetre;
using foundation::GardeImpression;
using foundation::Impression;
using foundation::LongueurImprimeeNominaleMm;
using foundation::PointsParMetre;

}  // namespace views
