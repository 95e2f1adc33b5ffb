// The error rule, checked on the sources: no folder of the program catches
// every exception with the ellipsis handler, which would hide a programming error; each
// catches by type, once, at its file-level routine or its command handler.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

TEST(RegleErreurs, AucunCatchToutVenant) {
  namespace fs = std::filesystem;
  const fs::path racine(GRAVELUNE_SOURCE_DIR);
  const std::regex toutVenant(R"(catch\s*\(\s*\.\.\.\s*\))");
  int fichiers = 0;
  for (const char* dossier :
       {"foundation", "platform", "projections", "survey", "drawing", "formats", "views", "editor", "document", "app",
        "tools"}) {
    const fs::path d = racine / dossier;
    if (!fs::exists(d)) continue;
    for (const auto& e : fs::recursive_directory_iterator(d)) {
      const std::string ext = e.path().extension().string();
      if (!e.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
      std::ifstream in(e.path());
      std::stringstream texte;
      texte << in.rdbuf();
      ++fichiers;
      EXPECT_FALSE(std::regex_search(texte.str(), toutVenant)) << e.path().string();
    }
  }
  EXPECT_GT(fichiers, 100);
}

}  // namespace
