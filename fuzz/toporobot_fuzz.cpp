// The TopoRobot reader on arbitrary bytes, read once as a ".tab" file and
// once as a GHTopo ".xtb" file (their session and code numbers differ): the
// whole import pipeline into a fresh network, headless (every question
// answered no, the first cave chosen, the gallery dialog accepted as
// proposed, its memory file in a temporary folder).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "formats/import/galeries_import.h"
#include "formats/import/import_autres.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string dossier = [] {
    std::string d = "/tmp/gravelune-toporobot-fuzz";
    std::filesystem::create_directories(d);
    return d;
  }();
  if (size > 1 << 20) return 0;
  for (const char* extension : {".tab", ".xtb"}) {
    const std::string chemin = dossier + "/entree" + extension;
    platform::WriteFileAtomic(chemin, std::string(reinterpret_cast<const char*>(data), size));
    platform::ScriptedDialogs dialogues;
    platform::ScopedDialogs garde(dialogues);
    survey::GardeDocument document;
    survey::GardeContexteReseau reseauGarde;
    survey::GardeContexteCalcul calcul;
    formats::GardeImport import;
    formats::Import().DossierMemoireGaleries = dossier;
    survey::TReseau reseau;
    reseau.CreeCaviteSurface();
    formats::ImporteFichierAutre(chemin, formats::TypeImportTopoRobot, false, &reseau);
  }
  return 0;
}
