#pragma once
// A fresh document network for import tests, inside guards that put back the
// process-wide document, network, computation and import state, with a
// scripted dialog port and the gallery memory file in a temporary folder.
#include <memory>
#include <string>

#include "formats/import/galeries_import.h"
#include "formats/import/import_fichier_autre.h"
#include "formats/import/vtopo/lecteur_vtopo.h"
#include "foundation/codage.h"
#include "platform/scripted_dialogs.h"
#include "survey/cavite.h"
#include "survey/contexte_document.h"
#include "survey/contexte_reseau.h"
#include "survey/rapport_calcul.h"
#include "survey/reseau.h"
#include "tests/support/dossier_temp.h"

namespace testformats {

using namespace survey;

class ReseauImport {
 public:
  ReseauImport() : dialogues_(Dialogues), reseau_(std::make_unique<TReseau>()) {
    reseau_->CreeCaviteSurface();
    formats::Import() = formats::ContexteImport();
    formats::Import().DossierMemoireGaleries = Dossier.Chemin();
    formats::FenetresImport() = formats::PortsImport();
  }
  ~ReseauImport() { reseau_.reset(); }
  ReseauImport(const ReseauImport&) = delete;
  ReseauImport& operator=(const ReseauImport&) = delete;

  TReseau& R() { return *reseau_; }

  // Writes a .tro file (UTF-8 text written as Windows-1252) in the folder.
  std::string Tro(const std::string& texte, const std::string& nom = "essai.tro") {
    const std::string chemin = Dossier.Fichier(nom);
    testsupport::EcritOctets(chemin, foundation::VersWindows1252(texte));
    return chemin;
  }

  bool Importe(const std::string& chemin, int type = formats::TypeImportVTopo) {
    return formats::ImporteFichierAutre(chemin, type, false, reseau_.get());
  }

  // The last cave of the network (the imported one).
  TCavite* Cavite() const { return reseau_->Cavites.Count() > 1 ? reseau_->Cavites.Last() : nullptr; }

  TPointSpeleo* Station(const std::string& nom) const {
    if (TCavite* c = Cavite())
      for (TGalerie* g : c->Galeries)
        for (TPointSpeleo* p : g->Points)
          if (p->DesignPTopo == nom) return p;
    return nullptr;
  }
  TPointSpeleo* PointSurface(const std::string& nom) const {
    for (TPointSpeleo* p : *reseau_->LesPointsSurface())
      if (p->DesignPTopo == nom) return p;
    return nullptr;
  }
  TVisee* Visee(const std::string& de, const std::string& a) const {
    if (TCavite* c = Cavite())
      for (TVisee* v : c->Visees)
        if (v->PointStation && v->PointVise && v->PointStation->DesignPTopo == de && v->PointVise->DesignPTopo == a)
          return v;
    return nullptr;
  }
  int NombreStations() const {
    int n = 0;
    if (TCavite* c = Cavite())
      for (TGalerie* g : c->Galeries) n += g->Points.Count();
    return n;
  }

  testsupport::DossierTemp Dossier;
  platform::ScriptedDialogs Dialogues;

 private:
  GardeDocument document_;
  GardeContexteReseau contexteReseau_;
  GardeContexteCalcul contexteCalcul_;
  formats::GardeImport import_;
  formats::GardePortsImport ports_;
  platform::ScopedDialogs dialogues_;
  std::unique_ptr<TReseau> reseau_;
};

// The header of a small .tro file with one block.
inline std::string EnTeteTro(const std::string& param = "Deca Degd Clino Degd 0.0000 Dir,Dir,Dir Arr Std 01/02/2003 A",
                             const std::string& trou = "Trou Essai,600.5,180.25,1020,LT3", const std::string& entree = "A") {
  std::string t = "Version 5.12\r\nVerification 1\r\n\r\n" + trou + "\r\n";
  if (!entree.empty()) t += "Entree " + entree + "\r\n";
  t += "Couleur 0,0,0\r\n\r\nParam " + param + "\r\n\r\n";
  return t;
}

}  // namespace testformats
