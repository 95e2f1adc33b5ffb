#pragma once
// "Import d'un fichier de lever": stations read from a text file (name, left
// and right widths, heights up and down, ";"-separated) for the cave's
// TCavite::ImporteFichierTexte, into the active gallery or a new one.
//
// Controls (objectName): EditRattach "Point d'insertion :" (disabled),
// EditGal "Galerie :" (disabled), EditLever "Lever :" (read-only, a click
// chooses the trip), BitBtn1 "Nouvelle Galerie", FichierBtn "Ouvrir Fichier",
// CancelBtn "Annuler".
#include <QDialog>
#include <string>
#include <vector>

#include "survey/ports_survey.h"

class QLineEdit;

namespace survey {
class TLever;
class TLeversList;
}  // namespace survey

namespace app {

class TImportTexteDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TImportTexteDlg(QWidget* parent = nullptr);

  // The cave's trips; the current trip and gallery shown.
  void Init(survey::TLeversList& liste);

  // "Nouvelle Galerie": the name asked for; true when confirmed.
  bool NouvelleGalerieClick();
  // A click on "Lever :": the trip chosen (unchanged on cancel).
  void EditLeverClick();
  // "Ouvrir Fichier": the file chosen, its stations read, then the question
  // "Voulez-vous incorporer les points ?"; Yes closes with OK.
  void FichierClick();

  survey::TLeversList* Levers = nullptr;
  const survey::TLever* NumLever = nullptr;
  std::vector<std::string> ListeVisees;
  std::vector<survey::TPointImporte> PointsImportes;
  int NumeroInterneImport = 0;
  std::string NomGalerie;
  bool CreeGalerie = false;

  QLineEdit* EditRattach = nullptr;
  QLineEdit* EditGal = nullptr;
  QLineEdit* EditLever = nullptr;

 protected:
  bool eventFilter(QObject* objet, QEvent* evenement) override;
};

// Makes this dialog the one the caves' text import asks.
void InstalleDialogueImportTexte();

}  // namespace app
