#pragma once
// The PocketTopo readers.  tImportPocketTopo reads the text export's
// sketches for a cave already built (croquis_pockettopo.cpp).
// TImportFichierTop reads the binary ".top" file (version 3): survey trips,
// shots, reference points with coordinates and the plan and elevation
// sketches.  The file is read whole into memory and walked by a cursor that
// checks the bytes left before every read, so that no count, length or index
// of the file can take the reader past its end.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "drawing/croquis.h"
#include "drawing/objet_donnees_basique.h"
#include "formats/import/import_sauf_tprb.h"
#include "foundation/point_topo.h"

namespace formats {

// The sketches of a ".top" file as read: polylines with their points in
// metres (Y upwards) and PocketTopo's colour byte, cross sections at their
// position with the name of the station cut.
struct TPointCroquisTop {
  double X = 0, Y = 0;
};
struct TPolyligneTop {
  std::vector<TPointCroquisTop> Points;
  uint8_t Couleur = 0;
};
struct TCoupeTop {
  TPointCroquisTop Position;
  std::string Station;
};
struct TDessinTop {
  std::vector<TPolyligneTop> Polylignes;
  std::vector<TCoupeTop> Coupes;
};

// Reads the little-endian items of a ".top" file from a byte buffer.  Every
// read is false, and the cursor stays where it was, when the bytes left do
// not hold the item.
class TCurseurTop {
 public:
  explicit TCurseurTop(std::string_view octets, size_t position = 0) : o_(octets), i_(position) {}

  size_t Position() const { return i_; }
  size_t Reste() const { return o_.size() - i_; }

  bool Octet(uint8_t& v);
  bool Entier16(int16_t& v);
  bool Entier32(int32_t& v);
  bool Entier64(int64_t& v);
  bool Naturel16(uint16_t& v);
  bool Naturel32(uint32_t& v);
  // Degrees from a 16-bit angle (a full turn is 65536).
  bool Angle(double& degres);
  // A string: a length of one or two 7-bit groups, then UTF-8 bytes (read as
  // Windows-1252 when not UTF-8).  A length needing a third byte is refused.
  bool Chaine(std::string& texte);
  // A station id as text (empty for "no station").
  bool IdStation(std::string& nom);
  // A sketch point in metres.
  bool Point(TPointCroquisTop& p);
  // An overview mapping (a point and a scale), not used.
  bool Correspondance();
  // A count of records of at least that many bytes each: false when it is
  // negative or the bytes left cannot hold them.
  bool Nombre(size_t tailleMin, int32_t& n);

 private:
  bool Lis(void* dest, size_t n);
  std::string_view o_;
  size_t i_;
};

// The text of a station id: 0x80000000 none, above it the number v -
// 0x80000001, below it "major.minor" from the high and low 16 bits.
std::string TexteIdStationTop(uint32_t v);

// The sketch colour (1..7) of a ".top" colour byte: 1..5 the same, 6 green
// (7), 7 orange (6); any other byte draws in black (1).
int CouleurCroquisTop(uint8_t octet);
// The sketch colour of a text export's colour word: "CONNECT" 0 (no line),
// "BLACK" 1 ... "GREEN" 7; a word not in the list draws in black (1).
int CouleurMotPkTp(const std::string& mot);

// A pair of sketch points: a drawn shot line of the elevation sketch, its
// ends as developed distance (X, SlH) and height (Y, Z).
struct TObjBiPoint {
  foundation::TPointTopo PtDeb, PtExtr;
};

// A cross section being built: the sketch section it feeds, its splay lines'
// ends, its position and its envelope in the plane of its sketch (X, Y in
// plan; developed distance and height in elevation).
class TCoupeImport {
 public:
  drawing::TCoupePkTp* UneCoupe = nullptr;  // not owned
  std::vector<foundation::TPointTopo> LesPoints;
  foundation::TPointTopo PtCentre;
  double XEnvMin = 0, YEnvmin = 0, XEnvmax = 0, YEnvMax = 0;
  double SlhEnvMin = 0, ZEnvmin = 0, SlhEnvmax = 0, ZEnvMax = 0;

  // Widens the envelope to the point.
  void AjusteEnveloppe(const foundation::TPointTopo& p);
  // The point lies strictly inside the envelope of that plane.
  bool Contient(double x, double y, bool alti) const;
};

// The PocketTopo text export of a cave already built from the same survey
// (the Auriga export beside its Therion centreline): its shots give the
// shots' elevation directions, its plan and elevation sketches become an
// imported sketch of the cave, every point tied to the cave's shots.  The
// binary reader, its descendant, reuses the sketch-building steps.
class tImportPocketTopo : public TImportSaufTPRB {
 public:
  explicit tImportPocketTopo(survey::TReseau* reseau = nullptr);
  ~tImportPocketTopo() override;

  // The sections of the file (each with its keyword line).
  std::vector<std::string> ViseesStr, StationsPlaniStr, ShotsPlaniStr, PolysPlaniStr;
  std::vector<std::string> StationsAltiStr, ShotsAltiStr, PolysAltiStr;
  std::vector<TObjBiPoint> ShotsAltiCoord;
  std::vector<std::unique_ptr<drawing::TObjetDonneesBasique>> ListePolylignes;
  drawing::TObjetDonneesBasique* NouvellePolyligne = nullptr;  // the last of ListePolylignes
  std::vector<std::unique_ptr<TCoupeImport>> CoupesImport;
  drawing::TDessinPkTp* UnDessinPkTp = nullptr;  // owned by the cave

  // Builds the sketch of ACavite from LignesFichier; false when the "DATA"
  // section holds no shot (nothing is built then).  A line that cannot be
  // read (a trip value or a shot before any "DATE", a station or point
  // whose numbers are not numbers) makes the file unreadable (Illisible).
  bool TraiteLignes() override;
  // The cave is already built.
  bool TransfereTopo() override { return true; }

  // A "TRIP" line: "DATE" starts a staged trip, "DECLINATION" sets its
  // declination; false for a declination before any trip.
  bool LitLigneTripPkTp(const std::string& ligne);
  // Starts a polyline of that sketch colour (1..7).
  void CreePoly(int couleur);
  TCoupeImport* LaCoupeImport(int i) const;
  // A cross section through the station at that sketch position.
  void CreeCoupePlani(survey::TPointSpeleo* station, double x, double y);
  void CreeCoupeAlti(survey::TPointSpeleo* station, double slh, double z);
  // The polylines built go to the sections whose envelope holds one of their
  // points (text export only), the others to the sketch's drawing.
  void AjoutePolysPlani();
  void AjoutePolysAlti();
  // The shots' directions in the oriented elevation from the elevation's
  // shot lines; the cave's shots then take no sketch point until the list
  // attaches all shots again.
  void CalculeSensViseesAlti();

 protected:
  // A new sketch appended to the cave's sketches, following its oriented
  // elevation (projection angle 3π/2), its points tied to the cave's shots.
  void CreeDessinPkTp();
  // A sketch point at (x, y) of the current drawing kind tied to its
  // reference shot, appended to the polyline being built; dropped when no
  // shot takes it or no polyline is open.
  void AjoutePointPoly(double x, double y);
  // The cave's shot list as the points' reference shots.
  drawing::TViseesDeRef ViseesCavite() const;

 private:
  void CreeCoupe(survey::TPointSpeleo* station, double x, double y, bool alti);
  void AjoutePolys(bool alti);
  bool LitViseesPkTp();
  bool PlaceStations(bool alti);
  bool CreeCoupesStations(bool alti);
  void AjouteHabiCoupes(bool alti);
  bool LitPolylignes(bool alti);
  // The cave's stations (and its entrance) by name.
  std::unordered_map<std::string, std::vector<survey::TPointSpeleo*>> StationsParNom() const;
};

class TImportFichierTop : public tImportPocketTopo {
 public:
  explicit TImportFichierTop(survey::TReseau* reseau = nullptr) : tImportPocketTopo(reseau) {}

  // Reads the file into memory, checks its header ("le fichier n'est pas un
  // fichier Pocket Topo version 3" when it is not one) and reads it.
  bool LisFichierTop(const std::string& chemin) override;
  // Reads the records of the file in memory and builds the cave; a file
  // whose counts, lengths or indexes do not fit its bytes is unreadable and
  // changes nothing.  Without a file in memory (a file that is not ".top"),
  // unreadable.
  bool TraiteLignes() override;
  // The trips, the stations and shots (a leg's repeated readings read from
  // their consistent majority by the common transfer), the readings checked
  // (VerifieLectures), then the sketch from the drawings read (again in the
  // second pass after a move of the origin); a shot flagged "drawn reversed"
  // is developed backwards in the elevation.
  bool TransfereTopo() override;
  // Every shot and splay built, and every reference point, against the rule
  // of plausibilite.h: the first that fails stops the import with its
  // message ("<fichier>, visée <de> → <a> : longueur impossible (2 147
  // km).").  The shots are checked as built, so that a leg's absurd reading
  // left out by the transfer is not refused.
  bool VerifieLectures();

  // The sketches read: plan, then extended elevation.
  TDessinTop DessinPlan, DessinCoupe;

 private:
  bool LitLeverTop(TCurseurTop& c);
  bool LitViseeTop(TCurseurTop& c, int32_t nombreLevers);
  bool LitReferenceTop(TCurseurTop& c);
  bool LitDessinTop(TCurseurTop& c, TDessinTop& dessin);
  // The sketch from the drawings read: provisional station coordinates from
  // the first shot's station, then the plan and the elevation drawings.
  void ConstruitCroquis();
  void CoordonneesProvisoires();
  void TransfereDessin(const TDessinTop& dessin, bool alti);
  void LitPolygoneTop(const TPolyligneTop& poly);
  void LitCoupeTop(const TCoupeTop& coupe, bool alti,
                   const std::unordered_map<std::string, survey::TPointSpeleo*>& stations);
  void RangePolylignesDansCoupes(bool alti);
  // The last section that takes the polyline (0.8 of its points nearer its
  // position than their reference shot); none when none takes it.
  TCoupeImport* AffecteCoupePolyligne(drawing::TObjetDonneesBasique& poly, bool alti);

  std::string octets_;
  bool fichierLu_ = false;
  bool premiereVisee_ = true;
};

}  // namespace formats
