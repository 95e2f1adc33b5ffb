#pragma once
// The dialog port on Qt widgets: message boxes centred on the screen with
// French buttons, the one-line prompt, the open and save dialogs and the
// hourglass cursor.
#include <QStringList>
#include <string>

#include "platform/dialogs.h"

class QWidget;

namespace platform {

class QtDialogs final : public Dialogs {
 public:
  // The dialogs are owned by parent when given (else they are top-level).
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}

  void ShowMessage(MessageKind kind, const std::string& text, const std::string& caption) override;
  Answer AskYesNo(const std::string& text, const std::string& caption) override;
  Answer AskYesNoCancel(const std::string& text, const std::string& caption) override;
  std::optional<std::string> Prompt(const std::string& caption, const std::string& prompt,
                                    const std::string& initial) override;
  std::optional<FileChoice> SaveFile(const FileDialogOptions& options) override;
  std::optional<FileChoice> OpenFile(const FileDialogOptions& options) override;
  void SetBusyCursor(bool busy) override;
  // QColorDialog; QFontDialog limited to scalable fonts (it has no colour of
  // its own: the font keeps the colour it was preset with).
  std::optional<uint32_t> ChooseColour(uint32_t initial) override;
  std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;

 private:
  std::optional<FileChoice> RunFileDialog(const FileDialogOptions& options, bool save);
  QWidget* parent_;
  bool busy_ = false;
};

// "desc|*.a;*.B|..." as Qt name filters: "desc (*.a *.B)", ...; a
// description that already ends with its patterns ("desc (*.a)|*.a") is
// kept as it stands, so that it shows once.  Qt matches them without regard
// to letter case.
QStringList QtNameFilters(const std::string& filter);

// The path of a saved file with its extension: a name without an extension
// gets the one of the chosen filter when that filter names a single
// extension ("*.cav"), else the default extension of the options.
std::string WithDefaultExtension(const std::string& path, const FileDialogOptions& options, int filterIndex);

}  // namespace platform
