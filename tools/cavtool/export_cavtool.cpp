#include "tools/cavtool/export_cavtool.h"

#include <iostream>
#include <memory>

#include "document/composition.h"
#include "formats/export/export_vtopo.h"
#include "foundation/catalogue.h"
#include "survey/cavite.h"
#include "survey/fichier_reseau.h"
#include "survey/reseau.h"
#include "survey/sauve_fich_txt.h"

namespace cavtool {

int ExporteFichier(const std::vector<std::string>& a) {
  if (a.size() < 3) return 2;
  const std::string& genre = a[0];
  if (genre != "csv" && genre != "tro") return 2;
  std::string nomCavite;
  bool parNom = false, numerotation = false;
  for (size_t i = 3; i < a.size(); ++i) {
    if (a[i] == "--cavite" && i + 1 < a.size()) {
      nomCavite = a[++i];
      parNom = true;
    } else if (a[i] == "--numerotation-vtopo" && genre == "tro") {
      numerotation = true;
    } else {
      return 2;
    }
  }
  document::InstalleDocument();
  std::unique_ptr<survey::TReseau> reseau = survey::OuvreReseau(a[1]);
  if (!reseau) return 1;
  reseau->CalculeReseau();
  survey::TCavite* cavite = nullptr;
  for (survey::TCavite* c : reseau->Cavites)
    if (!c->EstSurface && (!parNom || c->NomCavite == nomCavite)) {
      cavite = c;
      break;
    }
  if (!cavite) {
    std::cerr << "la cavité " << nomCavite << " n'existe pas dans " << a[1] << '\n';
    return 1;
  }
  reseau->LaCaviteActive = cavite;
  survey::TSauveFichTxt fichier;
  std::vector<formats::RenommageVTopo> renommes;
  fichier.Lignes =
      genre == "csv" ? cavite->LignesFichierCSV() : formats::LignesFichierTRO(*cavite, !numerotation, &renommes);
  if (!fichier.EcritLignes(a[2], survey::Encodage::Windows1252)) {
    std::cerr << foundation::RemplaceMarques(foundation::Msg(foundation::IdMsg::ExportEchec), {a[2]}) << '\n';
    return 1;
  }
  // The stations VTopo could not hold under their own names, once.
  if (const std::string message = formats::MessageRenommagesVTopo(renommes); !message.empty())
    std::cerr << message << '\n';
  return 0;
}

}  // namespace cavtool
