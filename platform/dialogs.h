#pragma once
// The dialog port: every question or message the model code puts to the user
// goes through the current Dialogs object.  The application installs the Qt
// implementation; tests install ScriptedDialogs.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class MessageKind { Information, Warning, Error };

enum class Answer { Ok, Yes, No, Cancel };

// Options of an open or save dialog.  The filter is given as
// "description|pattern|description|pattern..." where a pattern may hold several
// globs separated by ';'.  FilterIndex counts from 1 as the original dialogs do.
struct FileDialogOptions {
  std::string Title;
  std::string Filter;
  int FilterIndex = 1;
  std::string DefaultExtension;  // without the dot
  std::string InitialFolder;
  std::string FileName;          // proposed name
  bool AllowMultiple = false;    // open dialog only
};

struct FileChoice {
  std::string Path;
  int FilterIndex = 1;
};

// A font as the font dialog shows and returns it: face, size in points,
// style bits (bold 1, italic 2, underline 4, strike-out 8) and colour
// (0x00BBGGRR).
struct FontChoice {
  std::string Name;
  int32_t Size = 10;
  uint8_t Style = 0;
  uint32_t Colour = 0;
  friend bool operator==(const FontChoice&, const FontChoice&) = default;
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  virtual void ShowMessage(MessageKind kind, const std::string& text, const std::string& caption = "") = 0;
  // Yes/No question.
  virtual Answer AskYesNo(const std::string& text, const std::string& caption = "") = 0;
  // Yes/No/Cancel question.
  virtual Answer AskYesNoCancel(const std::string& text, const std::string& caption = "") = 0;
  // One-line input; nullopt when cancelled.
  virtual std::optional<std::string> Prompt(const std::string& caption, const std::string& prompt,
                                            const std::string& initial) = 0;
  virtual std::optional<FileChoice> SaveFile(const FileDialogOptions& options) = 0;
  virtual std::optional<FileChoice> OpenFile(const FileDialogOptions& options) = 0;
  // Hourglass cursor on (true) or back to the normal cursor (false).
  virtual void SetBusyCursor(bool busy) = 0;
  // The colour dialog opened on a colour (0x00BBGGRR); the colour chosen,
  // nullopt when cancelled.  A port without one answers nullopt.
  virtual std::optional<uint32_t> ChooseColour(uint32_t initial);
  // The font dialog preset with a font, showing the effects (underline,
  // strike-out, colour), offering scalable fonts only in the basic character
  // set; the font chosen, nullopt when cancelled.  A port without one
  // answers nullopt.
  virtual std::optional<FontChoice> ChooseFont(const FontChoice& initial);

  // The port in use.  A silent default that answers "Cancel"/"No" stands in
  // until one is installed.
  static Dialogs& Current();
  // Installs d (not owned) and returns the previous port; nullptr restores the default.
  static Dialogs* Install(Dialogs* d);
};

// Installs a port for the life of the guard.
class ScopedDialogs {
 public:
  explicit ScopedDialogs(Dialogs& d) : previous_(Dialogs::Install(&d)) {}
  ~ScopedDialogs() { Dialogs::Install(previous_); }
  ScopedDialogs(const ScopedDialogs&) = delete;
  ScopedDialogs& operator=(const ScopedDialogs&) = delete;

 private:
  Dialogs* previous_;
};

// Shows the hourglass for the life of the guard (nests).
class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

// Splits a "desc|pattern|desc|pattern" filter into its pairs.
struct FilterEntry {
  std::string Description;
  std::string Patterns;  // "*.cav;*.CFG"
};
std::vector<FilterEntry> ParseFilter(const std::string& filter);
// True when the file name matches one of the ';'-separated glob patterns of
// the entry, letters compared without regard to case.
bool MatchesFilter(const std::string& fileName, const std::string& patterns);

}  // namespace platform
