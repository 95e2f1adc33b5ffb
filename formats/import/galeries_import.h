#pragma once
// The galleries of an imported cave.  After the transfer every station lies in
// one gallery: the branch walk orders the shots from the entrance and cuts
// them into branches; the gallery dialog lets the user check the branches that
// become galleries and name them (the choices are remembered for the next
// import of the same file in "GalCochees.txt"); the stations are then
// distributed into the checked galleries.
//
// The dialog's state and rules live in TNommeGalDlg; the window that shows it
// is installed through FenetresImport() by the application.  Without a window the
// dialog is accepted as proposed.
#include <functional>
#include <string>
#include <vector>

namespace survey {
class TCavite;
class TVisee;
}  // namespace survey

namespace formats {

class tImportAutres;
class TTpRbChoixCavDlg;
class TSelectImportDlg;
class TVisuImportTab;

// How the gallery dialog ended: OK, Annuler, or closed by the origin window.
enum class ResultatNommeGal { Ok, Annuler, Reessayer };

// One row of the gallery dialog: one branch of the survey.
struct TLigneNommeGal {
  bool Cochee = true;
  std::string Rang;
  std::string Rattach;      // station the branch starts from
  std::string Debut;        // its first new station
  std::string Fin;          // its last station
  std::string Designation;  // the gallery name
  survey::TVisee* Visee = nullptr;  // the branch's first shot
};

class TNommeGalDlg {
 public:
  std::vector<std::string> GalFich;  // lines of the memory file
  bool FichierOK = false;            // the memory file belongs to this import
  std::string NG;                    // the memory file's name
  std::string NomFichierImport;
  survey::TCavite* UneCavite = nullptr;
  bool Nomme0 = true;                // row 0 (the entrance gallery) stays checked

  std::vector<TLigneNommeGal> Lignes;
  int LigneSelectionnee = -1;
  std::string TexteOrigine;          // "Point origine du lever : " and the station
  // "Changer le point origine": shown when the import is no update of a
  // cave, the file is no TopoRobot file, the pass is the first and the
  // origin window is installed.
  bool BoutonOrigineVisible = false;
  tImportAutres* Lecteur = nullptr;  // the import whose cave UneCavite is
  // The network's grid-convergence switch as the document has it (the
  // gallery naming turns it off while it works): the origin window computes
  // with it, so that the station chosen is where the import will put it.
  bool CalculProjectionReseau = true;

  // Loads the memory file, clears the rows, sets the origin text.
  void Init(const std::string& cheminImport, const std::string& nomOrigine);
  // Appends a checked row and selects it.
  void NouvelleGal(const std::string& nom, const std::string& debut, survey::TVisee* visee,
                   const std::string& rattach);
  void NumFin(int ligne, const std::string& nom);
  void NumRang(int ligne, int rang);
  bool Cochee(int ligne) const;
  std::string DesignGal(int ligne) const;
  int NombreLignes() const { return static_cast<int>(Lignes.size()); }

  // What the dialog does as it opens: the remembered checks and names when
  // the memory file is this import's, then row 0 checked.
  void Ouvre();
  // The user sets a row's check; row 0 cannot be cleared while Nomme0
  // ("La galerie d'entrée doit obligatoirement être individualisée").
  void Coche(int ligne, bool cochee);
  // Double click: a checked row's name is asked for ("Changement du nom de
  // la galerie"); true when it changed.
  bool Renomme(int ligne);
  // "Tout" and "0".
  void Tout();
  void Zero();
  // "Changer le point origine": the cave joins the network and becomes its
  // active cave while the origin window (TFicheOrigineImport) is shown, then
  // leaves it unfreed and the active cave is put back, on every exit.  True
  // when the window was closed with OK: the dialog then ends with
  // Reessayer, the import's pass ending for a second one that hangs the
  // survey from the chosen station (the cave's PointImport).
  bool ChangeOrigine();
  // Closing: the memory file is rewritten for OK and for the origin change.
  void Ferme(ResultatNommeGal resultat);
  // Ouvre, the window (or, without one, OK as proposed), Ferme.
  ResultatNommeGal Execute();

  // Path of the memory file.
  std::string CheminMemoire() const;
};

// The window of the gallery dialog: shows it modally on the prepared state,
// lets the user change it through the dialog's operations and answers how it
// was closed.
struct PortsImport {
  std::function<ResultatNommeGal(TNommeGalDlg&)> AfficheNommeGal;
  // The TopoRobot cave choice; true for OK.
  std::function<bool(TTpRbChoixCavDlg&)> AfficheChoixCavTpRb;
  // The surface-point selection and the text-table preview; true for OK.
  std::function<bool(TSelectImportDlg&)> AfficheSelectImport;
  std::function<bool(TVisuImportTab&)> AfficheVisuImportTab;
  // The origin window over the cave being imported, the network's active
  // cave: it computes the network as it opens and keeps the chosen station
  // in the cave's PointImport (the entrance until another is chosen); true
  // for OK.
  std::function<bool(survey::TCavite&)> ChoisitOrigineImport;
};

PortsImport& FenetresImport();

class GardePortsImport {
 public:
  GardePortsImport() : sauve_(FenetresImport()) {}
  ~GardePortsImport() { FenetresImport() = sauve_; }
  GardePortsImport(const GardePortsImport&) = delete;
  GardePortsImport& operator=(const GardePortsImport&) = delete;

 private:
  PortsImport sauve_;
};

// Orders the new cave's shots into branches from its entrance.  Shots that
// cannot be reached from the entrance are named to the user, who chooses to go
// on without them (they are removed) or to stop: false then.
bool OrdonneBranchesImport(tImportAutres& import);
// The branch walk, the gallery dialog and the galleries; true for OK.
bool NommeGaleriesImport(tImportAutres& import, const std::string& chemin);
// Moves the stations into the galleries of the checked rows; false (after the
// message) on an error.
bool CreeStructureImport(tImportAutres& import);

}  // namespace formats
