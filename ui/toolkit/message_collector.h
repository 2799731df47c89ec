#pragma once
// A toolkit for work done away from the user's thread: it keeps the message
// boxes it is asked to show, in order, and shows them later through the
// real toolkit on the caller's thread (replay). Questions are answered with
// their default button, prompts and file choosers as cancelled; progress,
// status texts and redraw requests are dropped. It reports an interrupt only
// when the caller has raised the stop flag it was given (the caller polls
// the user on its own thread).

#include <atomic>
#include <string>
#include <vector>

#include "ui/toolkit/toolkit.h"

namespace zeva::ui {

class MessageCollector : public Toolkit {
 public:
  explicit MessageCollector(const std::atomic<bool>* stop = nullptr) : stop_(stop) {}

  Answer message(MessageKind kind, std::string_view title, std::string_view text,
                 bool defaultYes = true) override;
  std::optional<double> askNumber(std::string_view, double) override { return std::nullopt; }
  std::optional<std::string> askText(std::string_view, std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> chooseFileToOpen(const FileFilter&, std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> chooseFileToSave(const FileFilter&, std::string_view) override {
    return std::nullopt;
  }
  void showProgress(std::string_view) override {}
  void setProgress(double, std::string_view) override {}
  void hideProgress() override {}
  bool pollInterrupt() override { return stop_ != nullptr && stop_->load(); }
  void setStatus(int, std::string_view) override {}
  void requestRedraw() override {}

  // Shows the kept messages through `toolkit`, in the order they came, and
  // forgets them.
  void replay(Toolkit& toolkit);
  bool empty() const { return messages_.empty(); }

 private:
  struct Message {
    MessageKind kind;
    std::string title;
    std::string text;
    bool defaultYes;
  };
  const std::atomic<bool>* stop_;
  std::vector<Message> messages_;
};

}  // namespace zeva::ui
