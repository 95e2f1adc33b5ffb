#pragma once
// The file level: every stored layout names its level in the header text of the
// file, and every reader gates the fields of older levels on it.  Writers always
// write the current level.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace foundation {

// The header text could not be turned into a level.
class ErreurConversion : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ContexteNiveauFichier {
  // The level every writer produces and its tag.
  static constexpr int32_t VersionFichierCourante = 511;
  static constexpr const char* TexteVersionCourante = "Version511";
  // The program's version text written before the level in document headers.
  static constexpr const char* TexteVersionLogiciel = "Version 1.0";

  // Level of the file being read, or of the last one read; 0 before any.
  int32_t VersionFichierLue = 0;
  // The whole header text of the last document read.
  std::string EnTeteFichier;
  // Its part before the first '/': the version of the program that wrote it.
  std::string VersionLogicielFichier;
};

// The process-wide file level.
ContexteNiveauFichier& NiveauFichier();

// Decodes EnTeteFichier into VersionFichierLue and VersionLogicielFichier.
// Level 226 is stored as 500.  Throws ErreurConversion when the level text is
// not an integer.
void DecodeVersionFichier();
// True when the file being read is older than level 500.
bool VersionAncienne();
// The header the document writer writes: "Version 1.0/Version511".
std::string EnTeteDocumentCourant();

// Saves the read level, header and program version, restores them on exit.
class GardeNiveauFichier {
 public:
  GardeNiveauFichier() : sauve_(NiveauFichier()) {}
  ~GardeNiveauFichier() { NiveauFichier() = sauve_; }
  GardeNiveauFichier(const GardeNiveauFichier&) = delete;
  GardeNiveauFichier& operator=(const GardeNiveauFichier&) = delete;

 private:
  ContexteNiveauFichier sauve_;
};

}  // namespace foundation
