#include "survey/rapport_calcul.h"

#include <algorithm>
#include <utility>

#include "platform/dialogs.h"
#include "survey/bouclage.h"
#include "survey/contexte_document.h"
#include "survey/contexte_survey.h"
#include "survey/reseau.h"
#include "survey/suppressions.h"

namespace survey {

namespace {

// References to stations that the context keeps follow their removal.
void NettoieContexte(ContexteCalcul& k, const TSuppressions& s) {
  s.Redirige(k.PtSurfaceSaisie);
  for (TCompens* a : k.ListeEcartsCompens) a->Nettoie(s);
  // The open network's adjustments follow their stations too; one whose
  // start or end station goes without replacement is deleted.
  if (TReseau* r = Document().ReseauCourant)
    for (int i = r->Compensations.Count() - 1; i >= 0; --i) {
      TCompens* a = r->Compensations.UnObjet(i);
      const bool debut = a->PtDebut != nullptr;
      const bool fin = a->PtFin != nullptr;
      a->Nettoie(s);
      if ((debut && !a->PtDebut) || (fin && !a->PtFin)) r->SupprimeCompensation(i);
    }
  if (!s.Points().empty()) k.Convergences.clear();
}

}  // namespace

ContexteCalcul& Calcul() {
  static AbonnementNettoyage abonnement([](const TSuppressions& s) { NettoieContexte(Calcul(), s); });
  return ContexteSurvey().Calcul;
}

void SignaleAvertissements(const TAvertissementsCalcul& avertissements) {
  ContexteCalcul& k = Calcul();
  for (const TAvertissementCalcul& a : avertissements)
    if (!a.Visee || k.ViseesSignalees.insert(a.Visee).second) k.Avertissements.push_back(a.Texte);
}

void AvertitSysteme(const std::string& texte) {
  std::vector<std::string>& l = Calcul().AvertissementsSysteme;
  if (std::find(l.begin(), l.end(), texte) == l.end()) l.push_back(texte);
}

void MontreAvertissementsSysteme(std::vector<std::string>& dejaMontres) {
  std::string texte;
  for (const std::string& a : Calcul().AvertissementsSysteme) {
    if (std::find(dejaMontres.begin(), dejaMontres.end(), a) != dejaMontres.end()) continue;
    dejaMontres.push_back(a);
    texte += (texte.empty() ? "" : "\n") + a;
  }
  if (!texte.empty()) platform::Dialogs::Current().ShowMessage(platform::MessageKind::Warning, texte);
}

void OublieCalculReseau() {
  ContexteCalcul& k = Calcul();
  k.ListeEcartsCompens.Clear();
  k.CoupeDevel.Vide();
  k.Convergences.clear();
  k.PtSurfaceSaisie = nullptr;
  k.ListeRapportCalcul.clear();
  VideAvertissements();
}

void VideAvertissements() {
  Calcul().Avertissements.clear();
  Calcul().ViseesSignalees.clear();
  Calcul().AvertissementsSysteme.clear();
}

GardeContexteCalcul::GardeContexteCalcul() : sauve_(std::move(Calcul())) {
  ContexteCalcul& k = Calcul();
  k = ContexteCalcul{};
  // Loop closure stays installed.
  k.Bouclages = sauve_.Bouclages;
}

GardeContexteCalcul::~GardeContexteCalcul() { Calcul() = std::move(sauve_); }

}  // namespace survey
