#pragma once
// One import of arbitrary bytes through the whole pipeline into a fresh
// network, headless: every question answered no, the gallery dialog accepted
// as proposed, its memory file in the target's temporary folder.
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

namespace fuzz {

// The bytes written as "entree" + extension in /tmp/gravelune-<nom>-fuzz,
// then imported as the given file type; the first `oui` questions are
// answered yes.
inline void ImporteOctets(const char* nom, const uint8_t* data, size_t size, const std::string& extension,
                          int type, int oui = 0) {
  const std::string dossier = std::string("/tmp/gravelune-") + nom + "-fuzz";
  std::filesystem::create_directories(dossier);
  const std::string chemin = dossier + "/entree" + extension;
  platform::WriteFileAtomic(chemin, std::string(reinterpret_cast<const char*>(data), size));
  platform::ScriptedDialogs dialogues;
  for (int i = 0; i < oui; ++i) dialogues.QueueAnswer(platform::Answer::Yes);
  platform::ScopedDialogs garde(dialogues);
  survey::GardeDocument document;
  survey::GardeContexteReseau reseauGarde;
  survey::GardeContexteCalcul calcul;
  formats::GardeImport import;
  formats::Import().DossierMemoireGaleries = dossier;
  survey::TReseau reseau;
  reseau.CreeCaviteSurface();
  formats::ImporteFichierAutre(chemin, type, false, &reseau);
}

}  // namespace fuzz
