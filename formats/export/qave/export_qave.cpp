#include "formats/export/qave/export_qave.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_set>

#include "formats/export/choix_visees.h"
#include "foundation/catalogue.h"
#include "foundation/chaines.h"
#include "foundation/point_topo.h"
#include "platform/dialogs.h"
#include "survey/cavite.h"
#include "survey/dossiers.h"
#include "survey/galerie.h"
#include "survey/point_speleo.h"
#include "survey/reseau.h"
#include "survey/sauve_fich_txt.h"
#include "survey/visee.h"

namespace formats {

using foundation::IdMsg;
using foundation::Msg;
using survey::TPointSpeleo;
using survey::TVisee;
using survey::TViseeHabi;

namespace {

constexpr double DegresParRadian = 57.295779513082320877;
const char* const PrefixeQave = "100.";

void Nomme(TPointSpeleo& p, const std::string& prefixe, int32_t numero) {
  p.PrefQave = prefixe;
  p.NumQave = numero;
  p.DesignVTopo = NomQave(p);
}

void Efface(TPointSpeleo* p) {
  if (!p) return;
  p->PrefQave.clear();
  p->NumQave = 0;
  p->DesignVTopo.clear();
}

std::string NomFichier(const TPointSpeleo* p) { return PrefixeQave + (p ? p->DesignVTopo : std::string()); }

std::string Nombre(double x, int largeur) { return foundation::OteBlancs(foundation::ReelEnStr(x, largeur, 2)); }

std::string Champs(const std::string& a, const std::string& b, const std::string& c, bool principale,
                   const survey::TValeurVisee& v) {
  std::string l;
  l.reserve(a.size() + b.size() + c.size() + 40);
  for (const std::string* champ : {&a, &b, &c}) (l += *champ) += '\t';
  l += principale ? "true\t" : "false\t";
  (l += Nombre(v.LCalc, 10)) += '\t';
  (l += Nombre(foundation::NormaliseAngle(v.AzCalc) * DegresParRadian, 8)) += '\t';
  (l += Nombre(v.PCalc * DegresParRadian, 8)) += '\t';
  return l;
}

// One "###" line per line of a comment.
void AjouteCommentaire(std::vector<std::string>& lignes, const foundation::TMesStringList& commentaire) {
  for (const std::string& l : commentaire)
    if (const std::string t = foundation::OteBlancs(l); !t.empty()) lignes.push_back("###" + t);
}

}  // namespace

std::string NomQave(const TPointSpeleo& p) {
  const std::string numero = foundation::EntierEnStr(p.NumQave);
  return p.PrefQave.empty() ? numero : p.PrefQave + "." + numero;
}

void NumeroteStationsQave(survey::TCavite& cavite, const std::vector<TVisee*>& visees) {
  for (survey::TGalerie* g : cavite.Galeries) g->CreeNbreVisees();
  for (TVisee* v : visees) {
    v->Marque = false;
    Efface(v->PointStation);
    Efface(v->PointVise);
  }
  if (visees.empty() || !visees.front()->PtOrigCalc) return;
  Nomme(*visees.front()->PtOrigCalc, {}, 0);
  int32_t branches = 0;
  std::vector<TVisee*> copie;
  for (TVisee* r : visees) {
    TPointSpeleo* origine = r->PtOrigCalc;
    if (!origine) continue;
    // A part not joined to what was numbered before starts its own branch.
    if (origine->DesignVTopo.empty()) Nomme(*origine, foundation::EntierEnStr(++branches), 0);
    copie.assign(origine->LstVis.begin(), origine->LstVis.end());
    if (copie.size() > 1)
      std::stable_sort(copie.begin(), copie.end(), [](const TVisee* a, const TVisee* b) {
        return a->NbreViseesSuivantes > b->NbreViseesSuivantes;
      });
    for (TVisee* s : copie)
      s->Marque = s->PtCalc && s->PtOrigCalc && s->PtCalc->GalduPt == s->PtOrigCalc->GalduPt;
    bool continuee = false;
    for (TVisee* s : copie) {
      TPointSpeleo* t = s->PtCalc;
      if (!t || !t->DesignVTopo.empty()) continue;
      if (copie.size() > 1 && (!s->Marque || continuee)) {
        Nomme(*t, foundation::EntierEnStr(++branches), 0);
      } else {
        Nomme(*t, origine->PrefQave, origine->NumQave + 1);
        continuee = true;
      }
    }
  }
}

std::string LigneViseeQave(const TVisee& visee) {
  const std::string o = NomFichier(visee.PtOrigCalc), t = NomFichier(visee.PtCalc);
  return Champs(t, o, t, true, visee);
}

std::string LigneViseeQave(const TViseeHabi& habi) {
  const std::string o = NomFichier(habi.PtStation());
  return Champs(o, o, {}, false, habi);
}

std::vector<std::string> LignesFichierQave(const std::vector<TVisee*>& visees) {
  size_t nombre = 2 + visees.size();
  for (const TVisee* v : visees)
    if (v->PtCalc) nombre += v->PtCalc->LVHabi.size();
  std::vector<std::string> lignes;
  lignes.reserve(nombre);
  lignes.push_back("prefix:100");
  lignes.push_back("100.0\t-\t100.0\ttrue\t0.0\t0.0\t0.0\t");
  // Each station's splays and comments once, after the first line that
  // names it.
  std::unordered_set<const TPointSpeleo*> decrits;
  decrits.reserve(2 * visees.size());
  auto decrit = [&](const TPointSpeleo* p) {
    if (!p || !decrits.insert(p).second) return;
    for (const TViseeHabi* h : p->LVHabi) {
      lignes.push_back(LigneViseeQave(*h));
      AjouteCommentaire(lignes, h->CommentVisee);
    }
    AjouteCommentaire(lignes, p->Commentaire);
  };
  for (const TVisee* v : visees) {
    lignes.push_back(LigneViseeQave(*v));
    decrit(v->PtOrigCalc);
    decrit(v->PtCalc);
  }
  return lignes;
}

bool EcritFichierQave(survey::TCavite& cavite, const std::vector<TVisee*>& visees) {
  std::string nom = cavite.NomCavite;
  std::replace(nom.begin(), nom.end(), '.', '_');
  survey::TSauveFichTxt fichier;
  try {
    NumeroteStationsQave(cavite, visees);
    fichier.Lignes = LignesFichierQave(visees);
  } catch (const std::runtime_error&) {
    // A documented error raised while the lines were made.
    platform::Dialogs::Current().ShowMessage(
        platform::MessageKind::Error,
        foundation::RemplaceMarques(Msg(IdMsg::ExportEchec), {survey::DossierDeTravail() + nom + ".cave"}));
    return false;
  }
  return fichier.EnregistreAutre(nom, "cave", "cave");
}

bool ExporteQave(survey::TReseau& reseau) {
  const auto visees = ChoixViseesExport(reseau, Msg(IdMsg::ExportQaveTitre));
  if (!visees) return false;
  // Nothing chosen, nothing to write.
  if (!visees->empty()) EcritFichierQave(*reseau.LaCaviteActive, *visees);
  return true;
}

}  // namespace formats
