#pragma once
// One import of arbitrary bytes through the whole pipeline into a fresh
// network, headless: every question answered no, the gallery dialog accepted
// as proposed, its memory file in the target's temporary folder.  Whatever
// the import accepts must pass the readers' plausibility rule: a shot, a
// splay, a passage dimension or a surface point (the entrance, the fixed
// stations) it refuses stops the target.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "formats/import/galeries_import.h"
#include "formats/import/import_fichier_autre.h"
#include "formats/import/plausibilite.h"
#include "platform/files.h"
#include "platform/scripted_dialogs.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/liste_points.h"
#include "survey/point_speleo.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"

namespace fuzz {

// Every shot, splay and station of the network's caves, and every surface
// point (where each cave's entrance and fixed stations stand), passes the
// rule of plausibilite.h; the process stops on the first that does not.
inline void VerifieLectures(const survey::TReseau& reseau) {
  if (const survey::TListedePoints* surface = reseau.LesPointsSurface())
    for (const survey::TPointSpeleo* p : *surface)
      if (formats::PointImpossible(p->X, p->Y, p->Z) != formats::ChampLecture::Aucun) std::abort();
  for (const survey::TCavite* c : reseau.Cavites) {
    if (c->EstSurface) continue;
    for (const survey::TVisee* v : c->Visees) {
      if (formats::LectureImpossible(*v) != formats::ChampLecture::Aucun) std::abort();
      for (const survey::TViseeHabi* h : v->ViseesHabi)
        if (formats::LectureImpossible(*h) != formats::ChampLecture::Aucun) std::abort();
    }
    for (const survey::TGalerie* g : c->Galeries)
      for (const survey::TPointSpeleo* p : g->Points)
        for (double d : {p->LargeurDR, p->LargeurGA, p->HauteurSup, p->HauteurInf})
          if (!formats::MesurePossible(d)) std::abort();
  }
}

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
  VerifieLectures(reseau);
}

}  // namespace fuzz
