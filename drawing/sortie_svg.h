#pragma once
// The indented-line output of the SVG writer: what the texture patterns and
// other model pieces write through.  The SVG export's writer implements it;
// LignesSVG keeps the lines in memory (tests, and pieces written apart).
#include <cstdint>
#include <string>
#include <vector>

namespace drawing {

class SortieSVG {
 public:
  virtual ~SortieSVG() = default;

  // Depth of the open elements: an element opened at depth n starts with 2n
  // blanks.
  int NBIndent = 0;

  // "<" + text at the element's indentation; the following lines stand three
  // blanks further in.
  virtual void EcritBlocSVG(const std::string& texte) = 0;
  // The text as a line at the current indentation.
  virtual void EcritLigneSVG(const std::string& texte) = 0;
  // The text followed by " />".
  void EcritFinLigneSVG(const std::string& texte) { EcritLigneSVG(texte + " />"); }
  // Back to the element's indentation, then "</" + name + ">".
  virtual void EcritFinBlocSVG(const std::string& nom) = 0;
  // "#" and six hexadecimal digits red, green, blue of a colour value.
  virtual std::string CouleurSVG(uint32_t couleur) const;
  // The value with three decimals, trailing zeros and point removed.
  virtual std::string ChiffreSVG(double valeur) const;
};

class LignesSVG : public SortieSVG {
 public:
  std::vector<std::string> Lignes;
  std::string IndentTotal;
  std::string DerniereLigneSVG;

  void EcritBlocSVG(const std::string& texte) override;
  void EcritLigneSVG(const std::string& texte) override;
  void EcritFinBlocSVG(const std::string& nom) override;
  // The lines joined, each ended by a line feed.
  std::string Texte() const;
};

}  // namespace drawing
