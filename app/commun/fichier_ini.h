#pragma once
// The settings file: an INI text file of sections and "key=value" lines, read
// and written whole.  Section and key names are compared without regard to
// letter case (accented letters too) and kept as they are; every line the
// program does not write (unknown keys, comments, blank lines) stays in its
// place.  On disk the file is Windows-1252 with CR LF line ends; a file edited
// as UTF-8 (well-formed, or with a byte-order mark) is read as such and
// written back as Windows-1252.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace app {

class TFichierIni {
 public:
  TFichierIni() = default;
  // Reads the file; an unreadable or missing file leaves an empty one (false).
  explicit TFichierIni(const std::string& chemin) { Charge(chemin); }

  bool Charge(const std::string& chemin);
  // The file's bytes as read from disk (Windows-1252 or UTF-8 with its mark).
  void LitOctets(std::string_view octets);
  // The file's bytes as written to disk.
  std::string Octets() const;
  // Writes the file through a temporary file; the folder is created when missing.
  bool Enregistre(const std::string& chemin) const;

  bool SectionExiste(std::string_view section) const;
  bool CleExiste(std::string_view section, std::string_view cle) const;

  std::string LitTexte(std::string_view section, std::string_view cle, const std::string& defaut) const;
  // Decimal integer (or "$"/"0x" hexadecimal); the default when missing or not a number.
  int32_t LitEntier(std::string_view section, std::string_view cle, int32_t defaut) const;
  // True when the integer is not zero.
  bool LitBooleen(std::string_view section, std::string_view cle, bool defaut) const;
  // The section's "key=value" entries in file order (comments left out).
  std::vector<std::pair<std::string, std::string>> LitSection(std::string_view section) const;

  // Updates the key in place, or appends it at the end of its section (the
  // section is appended at the end of the file when missing).
  void EcritTexte(std::string_view section, std::string_view cle, const std::string& valeur);
  void EcritEntier(std::string_view section, std::string_view cle, int32_t valeur);
  void EcritBooleen(std::string_view section, std::string_view cle, bool valeur);
  // Removes every line of the key in the section.
  void EffaceCle(std::string_view section, std::string_view cle);

 private:
  struct Ligne {
    std::string Texte;    // the line as read, for lines that are not entries
    std::string Section;  // a section head: its name
    std::string Cle;      // an entry: its key and value
    std::string Valeur;
    enum class Genre : uint8_t { Autre, Section, Entree } genre = Genre::Autre;
  };
  // Index of the section head, or the size when missing.
  size_t TeteSection(std::string_view section) const;
  // End of the section starting at the head (index of the next head or the size).
  size_t FinSection(size_t tete) const;
  // Index of the first line of the key in the section, or npos.
  size_t LigneCle(std::string_view section, std::string_view cle) const;

  std::vector<Ligne> lignes_;
};

// Names compared as the settings file compares them: letter case ignored.
bool MemeNomIni(std::string_view a, std::string_view b);

}  // namespace app
