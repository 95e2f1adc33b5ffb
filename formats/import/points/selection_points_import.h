#pragma once
// The selection of surface points to import: one checkable row per point
// (name, X, Y, Z, notes), "Tous" and "Aucun".
//
// Two modes:
// - marking mode (Init with the list only): OK copies each row's check into
//   Selecte, one entry per point of the list, and the list is left whole;
// - full mode (Init with the list and AfficherTypeCoord): OK deletes from the
//   list every point whose row is unchecked.  With AfficherTypeCoord and a
//   network that has a coordinate system, the user states the points'
//   system (TypeCoord, Project, NFuseau, EstWGS) and unit (EnKm).
//
// The window that shows this state is installed through FenetresImport();
// without one the dialog is accepted as proposed (every row checked, the
// network's own system, metres).
#include <cstdint>
#include <string>
#include <vector>

namespace survey {
class TListedePoints;
}

namespace formats {

class TSelectImportDlg {
 public:
  // The frame's choices for the stated system.
  enum class TypeCoordonnees { Independantes, ProjectionReseau, AutreProjection };

  // Marking mode.
  void Init(survey::TListedePoints& points);
  // Full mode.
  void Init(survey::TListedePoints& points, bool afficherTypeCoord);

  bool ModeMarquage() const { return !modeComplet_; }
  bool AfficherTypeCoord() const { return afficherTypeCoord_; }
  // The coordinate-system frame and the unit choice are offered.
  bool PanneauTypeCoord() const { return modeComplet_ && afficherTypeCoord_ && !ProjecReseau.empty(); }

  int NombreLignes() const { return static_cast<int>(coches_.size()); }
  bool Cochee(int ligne) const;
  void Coche(int ligne, bool cochee);
  void Tous();
  void Aucun();
  // The list changed: the rows follow it, each keeping its check by position
  // (new rows checked).
  void Rafraichit();

  // The texts of a row: the point's name; X and Y of width 12 and Z of width 9
  // with Decimales(); the comment lines.
  std::string TexteNom(int ligne) const;
  std::string TexteX(int ligne) const;
  std::string TexteY(int ligne) const;
  std::string TexteZ(int ligne) const;
  std::string TexteNotes(int ligne) const;
  // 8 for geographic coordinates, 3 for kilometres, else the display setting.
  int Decimales() const;
  int DecimalesZ() const;
  // "          X" / "          Y", or "   lat" / "   long" for geographic
  // coordinates.
  std::string TitreX() const;
  std::string TitreY() const;
  // The red notes: the stated system is another one than the network's
  // (geographic, or another system or zone).
  bool NotesVisibles() const;
  // The unit choice shows unless the coordinates are geographic.
  bool UnitesVisibles() const { return PanneauTypeCoord() && !EstWGS; }

  // Closing: OK applies the mode's effect; true for OK.
  bool Ferme(bool ok);
  // The window (or, without one, OK as proposed), then Ferme.
  bool Execute();

  // The network's system and zone (copied at Init from the current network).
  std::string ProjecReseau;
  int32_t FuseauReseau = 0;
  // The stated system, unit and zone, as the window's frame sets them.
  TypeCoordonnees TypeCoord = TypeCoordonnees::ProjectionReseau;
  bool EstWGS = false;
  bool EnKm = false;
  std::string Project;
  int32_t NFuseau = 0;
  // Marking mode, after OK: whether each point of the list is marked.
  std::vector<bool> Selecte;
  survey::TListedePoints* Points = nullptr;

 private:
  void InitCommun(survey::TListedePoints& points);
  std::vector<bool> coches_;
  bool modeComplet_ = false;
  bool afficherTypeCoord_ = false;
};

}  // namespace formats
