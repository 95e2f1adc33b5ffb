#include "tools/cavtool/export_geo_cavtool.h"

#include <iostream>
#include <memory>

#include "document/composition.h"
#include "formats/export/dxf/export_dxf.h"
#include "formats/export/gpx/export_gpx.h"
#include "formats/export/kml/export_kml.h"
#include "formats/export/svg/vue_export_svg.h"
#include "foundation/chaines.h"
#include "platform/dialogs.h"
#include "survey/contexte_document.h"
#include "survey/fichier_reseau.h"
#include "survey/reseau.h"

namespace cavtool {

namespace {

// Messages to standard error; the save dialog answered with the output path,
// every question with yes.
class TDialoguesExport : public platform::Dialogs {
 public:
  explicit TDialoguesExport(std::string sortie) : sortie_(std::move(sortie)) {}
  void ShowMessage(platform::MessageKind, const std::string& text, const std::string&) override {
    std::cerr << text << '\n';
  }
  platform::Answer AskYesNo(const std::string&, const std::string&) override { return platform::Answer::Yes; }
  platform::Answer AskYesNoCancel(const std::string&, const std::string&) override { return platform::Answer::Yes; }
  std::optional<std::string> Prompt(const std::string&, const std::string&, const std::string& initial) override {
    return initial;
  }
  std::optional<platform::FileChoice> SaveFile(const platform::FileDialogOptions&) override {
    return platform::FileChoice{sortie_, 1};
  }
  std::optional<platform::FileChoice> OpenFile(const platform::FileDialogOptions&) override { return std::nullopt; }
  void SetBusyCursor(bool) override {}

 private:
  std::string sortie_;
};

}  // namespace

bool ExportGeoConnu(const std::string& format) {
  return format == "gpx" || format == "kml" || format == "dxf" || format == "svg";
}

namespace {

// svg IN OUT [--alti] [--echelle N]: the editor variant of the plan view
// (every cave) or of the active cave's elevation, as the view's SVG button
// writes it.
int ExporteSvg(const std::vector<std::string>& a) {
  bool alti = false;
  int32_t echelle = -1;
  for (size_t i = 3; i < a.size(); ++i) {
    if (a[i] == "--alti") {
      alti = true;
    } else if (a[i] == "--echelle" && i + 1 < a.size() && foundation::LitEntier(a[i + 1], echelle) && echelle > 0) {
      ++i;
    } else {
      return 2;
    }
  }
  document::InstalleDocument();
  std::unique_ptr<survey::TReseau> reseau = survey::OuvreReseau(a[1]);
  if (!reseau) return 1;
  survey::Document().NomFichierCourant = a[1];
  TDialoguesExport dialogues(a[2]);
  platform::ScopedDialogs garde(dialogues);
  formats::TVueExportSVG vue(*reseau, alti, echelle);
  return vue.Exporte(false) ? 0 : 1;
}

}  // namespace

int ExporteGeo(const std::vector<std::string>& a) {
  if (a.size() >= 3 && a[0] == "svg") return ExporteSvg(a);
  if (a.size() < 3 || a.size() > 4 || !ExportGeoConnu(a[0])) return 2;
  bool pointsSurface = true;
  if (a.size() == 4) {
    if (a[3] != "--sans-points") return 2;
    pointsSurface = false;
  }
  document::InstalleDocument();
  std::unique_ptr<survey::TReseau> reseau = survey::OuvreReseau(a[1]);
  if (!reseau) return 1;
  survey::Document().NomFichierCourant = a[1];
  TDialoguesExport dialogues(a[2]);
  platform::ScopedDialogs garde(dialogues);
  if (a[0] == "dxf") return formats::GenereFichierDxf(*reseau) ? 0 : 1;
  if (a[0] == "kml") {
    // The objects dialog answered with its default set, less the surface
    // points when asked.
    const int objets = formats::KmlObjetsDefaut & ~(pointsSurface ? 0 : formats::KmlPointsSurface);
    return formats::GenereFichierKml(*reseau, objets) ? 0 : 1;
  }
  return formats::GenereFichierGpx(*reseau, pointsSurface) ? 0 : 1;
}

}  // namespace cavtool
