#include "tools/cavtool/export_cavtool.h"

#include <iostream>
#include <memory>

#include "document/composition.h"
#include "foundation/catalogue.h"
#include "survey/cavite.h"
#include "survey/fichier_reseau.h"
#include "survey/reseau.h"
#include "survey/sauve_fich_txt.h"

namespace cavtool {

int ExporteFichier(const std::vector<std::string>& a) {
  if (a.size() != 3 && !(a.size() == 5 && a[3] == "--cavite")) return 2;
  const std::string& genre = a[0];
  if (genre != "csv") return 2;
  document::InstalleDocument();
  std::unique_ptr<survey::TReseau> reseau = survey::OuvreReseau(a[1]);
  if (!reseau) return 1;
  reseau->CalculeReseau();
  survey::TCavite* cavite = nullptr;
  for (survey::TCavite* c : reseau->Cavites)
    if (!c->EstSurface && (a.size() == 3 || c->NomCavite == a[4])) {
      cavite = c;
      break;
    }
  if (!cavite) {
    std::cerr << "la cavité " << (a.size() == 5 ? a[4] : std::string()) << " n'existe pas dans " << a[1] << '\n';
    return 1;
  }
  reseau->LaCaviteActive = cavite;
  survey::TSauveFichTxt fichier;
  fichier.Lignes = cavite->LignesFichierCSV();
  if (!fichier.EcritLignes(a[2], survey::Encodage::Windows1252)) {
    std::cerr << foundation::RemplaceMarques(foundation::Msg(foundation::IdMsg::ExportEchec), {a[2]}) << '\n';
    return 1;
  }
  return 0;
}

}  // namespace cavtool
