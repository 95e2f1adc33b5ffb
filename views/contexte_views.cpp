#include "views/contexte_views.h"

#include <memory>

#include "platform/contextes.h"

namespace views {

TContexteViews& ContexteViews() {
  static TContexteViews contexte;
  return contexte;
}

PortsVues& Ports() { return ContexteViews().Ports; }


ContexteFormats& Formats() { return ContexteViews().Formats; }

ContexteMisesEnPage& MisesEnPage() { return ContexteViews().MisesEnPage; }

TEtatVisu& EtatVisu() { return ContexteViews().Visu; }

namespace {
[[maybe_unused]] const bool inscrit =
    platform::InscritContexte([] { return std::make_shared<GardeContexteViews>(); });
}  // namespace

}  // namespace views
