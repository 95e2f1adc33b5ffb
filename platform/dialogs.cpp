#include "platform/dialogs.h"

#include <cctype>

#include "platform/contexte_platform.h"

namespace platform {
namespace {

class SilentDialogs final : public Dialogs {
 public:
  void ShowMessage(MessageKind, const std::string&, const std::string&) override {}
  Answer AskYesNo(const std::string&, const std::string&) override { return Answer::No; }
  Answer AskYesNoCancel(const std::string&, const std::string&) override { return Answer::Cancel; }
  std::optional<std::string> Prompt(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<FileChoice> SaveFile(const FileDialogOptions&) override { return std::nullopt; }
  std::optional<FileChoice> OpenFile(const FileDialogOptions&) override { return std::nullopt; }
  void SetBusyCursor(bool) override {}
};

SilentDialogs silent;

bool GlobMatch(const char* p, const char* s) {
  // Iterative '*' and '?' matching, case-insensitive for ASCII letters.
  const char* star = nullptr;
  const char* retry = nullptr;
  while (*s) {
    if (*p == '*') {
      star = p++;
      retry = s;
    } else if (*p == '?' ||
               (*p && std::tolower(static_cast<unsigned char>(*p)) == std::tolower(static_cast<unsigned char>(*s)))) {
      ++p;
      ++s;
    } else if (star) {
      p = star + 1;
      s = ++retry;
    } else {
      return false;
    }
  }
  while (*p == '*') ++p;
  return *p == '\0';
}

}  // namespace

std::optional<uint32_t> Dialogs::ChooseColour(uint32_t) { return std::nullopt; }

std::optional<FontChoice> Dialogs::ChooseFont(const FontChoice&) { return std::nullopt; }

Dialogs& Dialogs::Current() {
  auto* installed = ContextePlatform().CurrentDialogs;
  return installed ? *installed : silent;
}

Dialogs* Dialogs::Install(Dialogs* d) {
  Dialogs* previous = ContextePlatform().CurrentDialogs;
  ContextePlatform().CurrentDialogs = d;
  return previous;
}

BusyCursor::BusyCursor() {
  if (ContextePlatform().BusyDepth++ == 0) Dialogs::Current().SetBusyCursor(true);
}

BusyCursor::~BusyCursor() {
  if (--ContextePlatform().BusyDepth == 0) Dialogs::Current().SetBusyCursor(false);
}

std::vector<FilterEntry> ParseFilter(const std::string& filter) {
  std::vector<FilterEntry> out;
  std::vector<std::string> parts;
  std::string cur;
  for (char c : filter) {
    if (c == '|') {
      parts.push_back(cur);
      cur.clear();
    } else {
      cur.push_back(c);
    }
  }
  parts.push_back(cur);
  for (size_t i = 0; i + 1 < parts.size(); i += 2) out.push_back({parts[i], parts[i + 1]});
  return out;
}

bool MatchesFilter(const std::string& fileName, const std::string& patterns) {
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t end = patterns.find(';', start);
    if (end == std::string::npos) end = patterns.size();
    std::string pat = patterns.substr(start, end - start);
    while (!pat.empty() && pat.front() == ' ') pat.erase(0, 1);
    while (!pat.empty() && pat.back() == ' ') pat.pop_back();
    if (!pat.empty() && GlobMatch(pat.c_str(), fileName.c_str())) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace platform
