#pragma once
// The wait window: a small stay-on-top window with an hourglass and a
// message, shown during a long operation.  It takes no clicks, no keys and
// no focus.  QtWaitWindows stacks them for AfficheAttente / FermeAttente.
#include <QFrame>
#include <memory>
#include <string>
#include <vector>

#include "platform/wait_windows.h"

class QLabel;

namespace platform {

class TAttenteFrm : public QFrame {
 public:
  explicit TAttenteFrm(const std::string& message);

  QLabel* Label1;  // the message: centred, word-wrapped, follows the window's size
  QLabel* Image1;  // the 41 x 41 hourglass at the left of the message

  // Designed client size and the label's place in it.
  static constexpr int kDesignWidth = 442;
  static constexpr int kDesignHeight = 97;
  static constexpr int kLabelLeft = 60;
  static constexpr int kLabelWidth = 370;

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void PlaceLabel();
};

class QtWaitWindows final : public WaitWindows {
 public:
  ~QtWaitWindows() override;
  void Show(const std::string& message) override;
  void CloseLast() override;
  size_t Count() const override { return stack_.size(); }
  // The most recent window (nullptr when none), for tests.
  TAttenteFrm* Last() const { return stack_.empty() ? nullptr : stack_.back().get(); }

 private:
  std::vector<std::unique_ptr<TAttenteFrm>> stack_;
};

}  // namespace platform
