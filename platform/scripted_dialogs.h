#pragma once
// A dialog port driven by a script: answers are queued in advance and every
// message, question and dialog shown is recorded in order.  Used by tests and by
// any run without a user.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace platform {

class ScriptedDialogs : public Dialogs {
 public:
  enum class Event { Message, YesNo, YesNoCancel, Prompt, Save, Open, Colour, Font };
  struct Shown {
    Event event;
    MessageKind kind = MessageKind::Information;  // messages only
    std::string text;                             // message, question or prompt text
    std::string caption;
    FileDialogOptions options;                    // file dialogs only
    uint32_t colour = 0;                          // colour dialog: the colour it opened on
    FontChoice font;                              // font dialog: the font it was preset with
  };

  void QueueAnswer(Answer a) { answers_.push_back(a); }
  void QueuePrompt(std::optional<std::string> text) { prompts_.push_back(std::move(text)); }
  void QueueFile(std::optional<FileChoice> choice) { files_.push_back(std::move(choice)); }
  void QueueFile(const std::string& path, int filterIndex = 1) { files_.push_back(FileChoice{path, filterIndex}); }
  // The colour and font dialogs' answers (nullopt: cancelled).
  void QueueColour(std::optional<uint32_t> colour) { colours_.push_back(colour); }
  void QueueFont(std::optional<FontChoice> font) { fonts_.push_back(std::move(font)); }

  // Everything shown, in order.
  const std::vector<Shown>& Log() const { return log_; }
  // Texts of the messages shown (not the questions), in order.
  std::vector<std::string> Messages() const;
  // Questions, prompts or dialogs that found no queued answer.
  int Unanswered() const { return unanswered_; }
  // Answers queued but never used.
  size_t PendingAnswers() const {
    return answers_.size() + prompts_.size() + files_.size() + colours_.size() + fonts_.size();
  }
  bool Busy() const { return busy_; }
  void Clear();

  void ShowMessage(MessageKind kind, const std::string& text, const std::string& caption) override;
  Answer AskYesNo(const std::string& text, const std::string& caption) override;
  Answer AskYesNoCancel(const std::string& text, const std::string& caption) override;
  std::optional<std::string> Prompt(const std::string& caption, const std::string& prompt,
                                    const std::string& initial) override;
  std::optional<FileChoice> SaveFile(const FileDialogOptions& options) override;
  std::optional<FileChoice> OpenFile(const FileDialogOptions& options) override;
  void SetBusyCursor(bool busy) override { busy_ = busy; }
  std::optional<uint32_t> ChooseColour(uint32_t initial) override;
  std::optional<FontChoice> ChooseFont(const FontChoice& initial) override;

 private:
  // The queue's next answer; none queued: the fallback, counted as unanswered.
  template <class T>
  T Next(std::deque<T>& queue, T fallback);
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> prompts_;
  std::deque<std::optional<FileChoice>> files_;
  std::deque<std::optional<uint32_t>> colours_;
  std::deque<std::optional<FontChoice>> fonts_;
  std::vector<Shown> log_;
  int unanswered_ = 0;
  bool busy_ = false;
};

}  // namespace platform
