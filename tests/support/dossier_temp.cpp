#include "tests/support/dossier_temp.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testsupport {

DossierTemp::DossierTemp() {
  std::string modele = (std::filesystem::temp_directory_path() / "gravelune-XXXXXX").string();
  if (!::mkdtemp(modele.data())) throw std::runtime_error("mkdtemp");
  chemin_ = modele;
}

DossierTemp::~DossierTemp() {
  std::error_code ec;
  // Files marked read-only by a test must not stop the clean-up.
  for (auto& e : std::filesystem::recursive_directory_iterator(chemin_, ec))
    std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(chemin_, ec);
}

std::string LitOctets(const std::string& chemin) {
  std::ifstream in(chemin, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void EcritOctets(const std::string& chemin, const std::string& octets) {
  std::ofstream out(chemin, std::ios::binary);
  out << octets;
}

}  // namespace testsupport
