#pragma once
// The GPX export: the bounds of the network, the surface points as waypoints
// when asked, and one track per cave whose single segment goes out along
// every branch and comes back, in WGS84 latitude and longitude.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "foundation/point_topo.h"
#include "survey/sauve_fich_txt.h"

namespace survey {
class TCavite;
class TPointSpeleo;
class TReseau;
}  // namespace survey

namespace formats {

// Text as XML character data of an ISO-8859-1 file: & < > " ' escaped, every
// character outside Latin-1 as a numeric character reference.
std::string EchappeXml(const std::string& texte);
// The text wrapped as "<![CDATA[ " text " ]]>" when it holds '<', '>' or '&',
// otherwise the text itself; a "]]>" inside is split across two sections and
// a character outside Latin-1 is written as a reference between sections.
std::string TexteCData(const std::string& texte);
// "<" nom ">" texte "</" nom ">".
std::string BaliseTexte(const std::string& nom, const std::string& texte);
// "<" nom texte "</" nom ">": the text starts with the attributes and the end
// of the start tag.
std::string BaliseAttributs(const std::string& nom, const std::string& texte);
// A real as the general conversion writes it (up to 15 significant digits,
// '.' whatever the locale), never in exponent form.
std::string ReelGpx(double x);

// An XML text writer: an element stack, each line indented by two blanks per
// open element, up to ProfondeurIndentMax levels (deeper lines keep that
// indent, so that the size of the file stays linear in its lines).
class TFichierXml : public survey::TSauveFichTxt {
 public:
  static constexpr size_t ProfondeurIndentMax = 32;
  void DebutBalise(const std::string& nom);
  void FinBalise();
  // One line at the current depth.
  void TexteBalise(const std::string& texte);
  int NBIndent() const { return static_cast<int>(DerBalises.size()); }

 protected:
  std::vector<std::string> DerBalises;
};

class TFichierGPX : public TFichierXml {
 public:
  explicit TFichierGPX(const survey::TReseau& reseau) : Reseau(reseau) {}
  // " lat=\"..\" lon=\"..\"><ele>Z</ele>"; empty when the conversion fails.
  std::string PointPolyStr(const survey::TPointSpeleo& point);
  // " <prefixe>lat=\"..\" <prefixe>lon=\"..\""; empty when the conversion fails.
  std::string ExtremStr(const std::string& prefixe, double X, double Y);
  // One waypoint line; nothing when the point cannot be converted.
  void EcritPointSurface(const survey::TPointSpeleo& point);
  // One track point line; nothing when the point cannot be converted.
  void EcritPointTrace(const survey::TPointSpeleo& point);

  // Points and bounds left out because their conversion failed.
  int NonConvertis = 0;

 private:
  const survey::TReseau& Reseau;
};

// A piece of a cave's track: stations from a branch's end towards the
// entrance (not owned), and the pieces that hang from its first station.
struct TGPXPolyligne {
  std::vector<survey::TPointSpeleo*> Points;
  std::vector<TGPXPolyligne*> Filles;
};

// The pieces of a cave, the root last.  Stations without an arriving shot
// are skipped.
void CreePolylignesGpx(const survey::TCavite& cavite, std::vector<std::unique_ptr<TGPXPolyligne>>& polylignes);
// Writes the piece and everything hanging from it (iteratively): its stations
// from the last to the first, its daughters in order, its stations again from
// the first to the last.  A piece met twice is written once.
void EcritPolyligneGpx(TFichierGPX& fichier, const TGPXPolyligne& racine);
// The same walk, handing each station to the visitor.
void ParcourtPolylignesGpx(const TGPXPolyligne& racine, const std::function<void(const survey::TPointSpeleo&)>& visite);

// Builds the whole file's lines (computing the network).
void ConstruitGpx(survey::TReseau& reseau, bool pointsSurface, TFichierGPX& fichier);
// Builds the file and saves it through the save dialog; true when saved.  One
// warning gives the number of points that could not be converted.
bool GenereFichierGpx(survey::TReseau& reseau, bool pointsSurface);

}  // namespace formats
