#include "drawing/contexte_dessin.h"

#include <string>

#include "platform/canvas.h"
#include "platform/dialogs.h"

namespace drawing {

void NoteObjetEnErreur(platform::Canvas& canvas, int32_t objet) {
  if (!canvas.KeepFailure(objet)) Affichage().ObjetsEnErreur.push_back(objet);
}

void FixeEtendueDessin(double xMin, double xMax, double yMin, double yMax) {
  ContexteDessin& d = Dessin();
  d.XMinDessin = xMin;
  d.XMaxDessin = xMax;
  d.YMinDessin = yMin;
  d.YMaxDessin = yMax;
}

void InitEtendueDessin() {
  FixeEtendueDessin(foundation::ValeurIndefiniePositive, foundation::ValeurIndefinie,
                    foundation::ValeurIndefiniePositive, foundation::ValeurIndefinie);
}

void SignaleErreursObjets() {
  auto& erreurs = Affichage().ObjetsEnErreur;
  if (erreurs.empty()) return;
  std::string texte;
  for (const int32_t n : erreurs) {
    if (!texte.empty()) texte += "\n";
    texte += "erreur objet n° : " + std::to_string(n);
  }
  erreurs.clear();
  platform::Dialogs::Current().ShowMessage(platform::MessageKind::Error, texte);
}

}  // namespace drawing
