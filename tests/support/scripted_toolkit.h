#pragma once
// A toolkit for tests: it records every message, prompt and status text, and
// answers questions from queues the test fills (or with defaults when a queue
// is empty: Ok/Yes, no number, no file, no interrupt).

#include <deque>
#include <string>
#include <vector>

#include "ui/toolkit/toolkit.h"

namespace zeva::test {

using ui::Answer;
using ui::FileFilter;
using ui::MessageKind;
using ui::Toolkit;

class ScriptedToolkit : public Toolkit {
 public:
  struct Message {
    MessageKind kind;
    std::string title;
    std::string text;
  };

  Answer message(MessageKind kind, std::string_view title, std::string_view text,
                 bool defaultYes = true) override;
  std::optional<double> askNumber(std::string_view prompt, double initial) override;
  std::optional<std::string> askText(std::string_view prompt, std::string_view initial) override;
  std::optional<std::string> chooseFileToOpen(const FileFilter& filter,
                                              std::string_view initialName) override;
  std::optional<std::string> chooseFileToSave(const FileFilter& filter,
                                              std::string_view initialName) override;
  void showProgress(std::string_view title) override;
  void setProgress(double fraction, std::string_view text) override;
  void hideProgress() override;
  bool pollInterrupt() override;
  void setStatus(int pane, std::string_view text) override;
  void requestRedraw() override { ++redraws; }

  // Texts of all messages, in order.
  std::vector<std::string> texts() const;
  // The last message's text, or "" when none was shown.
  std::string lastText() const { return messages.empty() ? "" : messages.back().text; }

  // Recorded.
  std::vector<Message> messages;
  std::vector<std::string> prompts;
  std::vector<std::string> fileDialogTitles;
  std::vector<std::string> statusTexts;
  std::vector<std::string> progressTexts;
  int redraws = 0;
  int polls = 0;
  bool progressVisible = false;

  // Scripted answers.
  std::deque<Answer> answers;
  std::deque<std::optional<double>> numbers;
  std::deque<std::optional<std::string>> textAnswers;
  std::deque<std::optional<std::string>> files;
  // pollInterrupt answers true on this poll (1-based); 0 never.
  int interruptAtPoll = 0;
};

}  // namespace zeva::test
