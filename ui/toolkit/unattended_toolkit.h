#pragma once
// The base of the toolkits of scripts (zeva-cli, the Python module): every
// question is answered from the caller's arguments or with its default, never
// by waiting for a user, and every message the caller did not answer
// beforehand goes to show(), to be written or kept as the script needs.

#include <optional>
#include <string>
#include <string_view>

#include "ui/toolkit/toolkit.h"

namespace zeva::ui {

class UnattendedToolkit : public Toolkit {
 public:
  Answer message(MessageKind kind, std::string_view title, std::string_view text,
                 bool defaultYes = true) override;
  std::optional<double> askNumber(std::string_view prompt, double initial) override;
  std::optional<std::string> askText(std::string_view prompt, std::string_view initial) override;
  std::optional<std::string> chooseFileToOpen(const FileFilter& filter,
                                              std::string_view initialName) override;
  std::optional<std::string> chooseFileToSave(const FileFilter& filter,
                                              std::string_view initialName) override;
  void showProgress(std::string_view) override {}
  void setProgress(double, std::string_view) override {}
  void hideProgress() override {}
  void requestRedraw() override {}

  // Answers given by the caller's arguments.
  std::optional<bool> confirm;            // Yes/No and OK/Cancel; default: the box's default
  std::optional<double> number;           // number prompts; default: the initial value
  std::optional<std::string> fileToOpen;  // file choosers; default: the initial name
  std::optional<std::string> fileToSave;

 protected:
  // A message as a message box would show it: "title: text", the usual title
  // left out.
  virtual void show(std::string_view shownText) = 0;
};

}  // namespace zeva::ui
