#pragma once
// A fresh temporary folder for one test, removed with its contents at the end.
#include <string>

namespace testsupport {

class DossierTemp {
 public:
  DossierTemp();
  ~DossierTemp();
  DossierTemp(const DossierTemp&) = delete;
  DossierTemp& operator=(const DossierTemp&) = delete;

  const std::string& Chemin() const { return chemin_; }
  // Path of a file inside the folder.
  std::string Fichier(const std::string& nom) const { return chemin_ + "/" + nom; }

 private:
  std::string chemin_;
};

// Bytes of a file, "" when it cannot be read.
std::string LitOctets(const std::string& chemin);
void EcritOctets(const std::string& chemin, const std::string& octets);

}  // namespace testsupport
