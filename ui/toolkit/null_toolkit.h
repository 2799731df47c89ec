#pragma once
// A toolkit for work nobody watches (the example soundings computed from a
// reference earth, tools): messages are dropped, questions take their default
// button, prompts and file choosers are cancelled, and nothing interrupts.

#include "ui/toolkit/toolkit.h"

namespace zeva::ui {

class NullToolkit : public Toolkit {
 public:
  Answer message(MessageKind kind, std::string_view, std::string_view,
                 bool defaultYes = true) override {
    if (kind == MessageKind::YesNo) return defaultYes ? Answer::Yes : Answer::No;
    if (kind == MessageKind::YesNoCancel) return Answer::Yes;
    return Answer::Ok;
  }
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
  bool pollInterrupt() override { return false; }
  void setStatus(int, std::string_view) override {}
  void requestRedraw() override {}
};

}  // namespace zeva::ui
