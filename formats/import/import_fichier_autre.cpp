#include "formats/import/import_fichier_autre.h"

#include "formats/import/pockettopo/lecteur_pockettopo.h"
#include "formats/import/texte/import_tab_txt.h"
#include "formats/import/therion/lecteur_therion.h"
#include "formats/import/toporobot/lecteur_toporobot.h"
#include "formats/import/vtopo/lecteur_vtopo.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/codage.h"
#include "platform/files.h"
#include "survey/contexte_document.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;

std::unique_ptr<tImportAutres> CreeLecteurImport(const std::string& chemin, int type, survey::TReseau* reseau) {
  switch (type) {
    case TypeImportTopoRobot: return std::make_unique<tImportTopoRobot>(reseau);
    case TypeImportVTopo: return std::make_unique<tImportVTopo>(reseau);
    case TypeImportTableTexte: return std::make_unique<tImportTabTxt>(reseau);
    case TypeImportPocketTopo: return std::make_unique<TImportFichierTop>(reseau);
    case TypeImportAuriga: return std::make_unique<tImportTherion>(reseau);
    case TypeImportTopoDroid:
      if (foundation::EnMinuscules(platform::ExtensionOf(chemin)) == ".th") return std::make_unique<tImportTherion>(reseau);
      return std::make_unique<TImportFichierTop>(reseau);
    default: return nullptr;  // the other formats bring their own readers
  }
}

bool LecteurImportDisponible(int type) {
  return type == TypeImportTopoRobot || type == TypeImportVTopo || type == TypeImportTableTexte ||
         type == TypeImportPocketTopo || type == TypeImportAuriga ||
         type == TypeImportTopoDroid;
}

int TypeImportSelonExtension(const std::string& chemin) {
  const std::string e = foundation::EnMinuscules(platform::ExtensionOf(chemin));
  if (e == ".tab" || e == ".xtb") return TypeImportTopoRobot;
  if (e == ".tro") return TypeImportVTopo;
  if (e == ".txt") return TypeImportTableTexte;
  if (e == ".top") return TypeImportPocketTopo;
  if (e == ".th") return TypeImportTopoDroid;
  return 0;
}

bool ImporteFichierAutre(const std::string& chemin, int type, bool partiel, survey::TReseau* reseau) {
  if (!reseau) reseau = survey::Document().ReseauCourant;
  if (!reseau) return false;
  ContexteImport& ctx = Import();
  ctx.SecondPassageImport = false;
  ctx.OrigineImportChoisie = false;
  ctx.RelanceImport = false;
  ctx.RaisonAbandon.clear();
  ctx.AbandonChoisi = false;
  // A reader run on its own afterwards (the update of a cave) starts with a
  // first pass, also after a programming error went through the import.
  struct PremierPassage {
    ContexteImport& ctx;
    ~PremierPassage() {
      ctx.SecondPassageImport = false;
      ctx.RelanceImport = false;
    }
  } premierPassage{ctx};
  std::unique_ptr<tImportAutres> lecteur;
  bool ok = false;
  do {
    ctx.RelanceImport = false;
    if (!lecteur) {
      if (ctx.SecondPassageImport) break;
      lecteur = CreeLecteurImport(chemin, type, reseau);
      if (!lecteur) {
        ctx.RaisonAbandon = Msg(IdMsg::ImportRaisonSansLecteur);
        return false;
      }
      lecteur->EstPartiel = partiel;
      lecteur->TypeAppli = type;
    }
    ok = lecteur->ImporterFichier(chemin);
    if (!ctx.RelanceImport) lecteur.reset();
    if (ctx.RelanceImport) ok = true;
    ctx.SecondPassageImport = true;
  } while (ok && ctx.RelanceImport);
  return ok;
}

}  // namespace formats
