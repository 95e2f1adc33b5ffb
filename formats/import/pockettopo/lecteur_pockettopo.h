#pragma once
// The PocketTopo readers.  TImportFichierTop reads the binary ".top" file
// (version 3): survey trips, shots, reference points with coordinates and
// the plan and elevation sketches.  The file is read whole into memory and
// walked by a cursor that checks the bytes left before every read, so that
// no count, length or index of the file can take the reader past its end.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/import/import_autres.h"

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

// The PocketTopo text reader's place in the readers: the base of the binary
// reader.  Its text format is not read yet.
class tImportPocketTopo : public TImportSaufTPRB {
 public:
  explicit tImportPocketTopo(survey::TReseau* reseau = nullptr) : TImportSaufTPRB(reseau) { EstNoTop = true; }
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
  // The trips, then the stations and shots; each shot is developed forward
  // in the extended elevation.
  bool TransfereTopo() override;

  // The sketches read: plan, then extended elevation.
  TDessinTop DessinPlan, DessinCoupe;

 private:
  bool LitLeverTop(TCurseurTop& c);
  bool LitViseeTop(TCurseurTop& c, int32_t nombreLevers);
  bool LitReferenceTop(TCurseurTop& c);
  bool LitDessinTop(TCurseurTop& c, TDessinTop& dessin);

  std::string octets_;
  bool fichierLu_ = false;
  bool premiereVisee_ = true;
};

}  // namespace formats
