#include "platform/scripted_dialogs.h"

namespace platform {
namespace {

ScriptedDialogs::Shown Entry(ScriptedDialogs::Event event, MessageKind kind, std::string text, std::string caption,
                             FileDialogOptions options = {}) {
  ScriptedDialogs::Shown s{};
  s.event = event;
  s.kind = kind;
  s.text = std::move(text);
  s.caption = std::move(caption);
  s.options = std::move(options);
  return s;
}

}  // namespace

std::vector<std::string> ScriptedDialogs::Messages() const {
  std::vector<std::string> out;
  for (const Shown& s : log_)
    if (s.event == Event::Message) out.push_back(s.text);
  return out;
}

void ScriptedDialogs::Clear() {
  answers_.clear();
  prompts_.clear();
  files_.clear();
  colours_.clear();
  fonts_.clear();
  log_.clear();
  unanswered_ = 0;
}

template <class T>
T ScriptedDialogs::Next(std::deque<T>& queue, T fallback) {
  if (queue.empty()) {
    ++unanswered_;
    return fallback;
  }
  T r = std::move(queue.front());
  queue.pop_front();
  return r;
}

void ScriptedDialogs::ShowMessage(MessageKind kind, const std::string& text, const std::string& caption) {
  log_.push_back(Entry(Event::Message, kind, text, caption));
}

Answer ScriptedDialogs::AskYesNo(const std::string& text, const std::string& caption) {
  log_.push_back(Entry(Event::YesNo, MessageKind::Information, text, caption));
  return Next(answers_, Answer::No);
}

Answer ScriptedDialogs::AskYesNoCancel(const std::string& text, const std::string& caption) {
  log_.push_back(Entry(Event::YesNoCancel, MessageKind::Information, text, caption));
  return Next(answers_, Answer::Cancel);
}

std::optional<std::string> ScriptedDialogs::Prompt(const std::string& caption, const std::string& prompt,
                                                   const std::string&) {
  log_.push_back(Entry(Event::Prompt, MessageKind::Information, prompt, caption));
  return Next(prompts_, std::optional<std::string>());
}

std::optional<uint32_t> ScriptedDialogs::ChooseColour(uint32_t initial) {
  Shown s = Entry(Event::Colour, MessageKind::Information, "", "");
  s.colour = initial;
  log_.push_back(std::move(s));
  return Next(colours_, std::optional<uint32_t>());
}

std::optional<FontChoice> ScriptedDialogs::ChooseFont(const FontChoice& initial) {
  Shown s = Entry(Event::Font, MessageKind::Information, "", "");
  s.font = initial;
  log_.push_back(std::move(s));
  return Next(fonts_, std::optional<FontChoice>());
}

std::optional<FileChoice> ScriptedDialogs::SaveFile(const FileDialogOptions& options) {
  log_.push_back(Entry(Event::Save, MessageKind::Information, options.FileName, options.Title, options));
  return Next(files_, std::optional<FileChoice>());
}

std::optional<FileChoice> ScriptedDialogs::OpenFile(const FileDialogOptions& options) {
  log_.push_back(Entry(Event::Open, MessageKind::Information, options.FileName, options.Title, options));
  return Next(files_, std::optional<FileChoice>());
}

}  // namespace platform
