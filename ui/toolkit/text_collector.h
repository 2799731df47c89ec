#pragma once
// A toolkit for a sounding worked on away from the user (a job of a batch,
// a file of a survey import): it never interrupts, keeps the messages as one
// line of text for a summary, and answers a file chooser or a number prompt
// with the answer it was given beforehand (else as cancelled).

#include <optional>
#include <string>

#include "ui/toolkit/message_collector.h"

namespace zeva::ui {

class TextCollector : public MessageCollector {
 public:
  Answer message(MessageKind kind, std::string_view title, std::string_view text,
                 bool defaultYes = true) override {
    if (!text_.empty()) text_ += "; ";
    for (const char c : text) text_ += (c == '\n' || c == '\r') ? ' ' : c;
    return MessageCollector::message(kind, title, text, defaultYes);
  }
  std::optional<double> askNumber(std::string_view, double) override { return number; }
  std::optional<std::string> chooseFileToOpen(const FileFilter&, std::string_view) override {
    return fileToOpen;
  }
  const std::string& text() const { return text_; }

  std::optional<double> number;
  std::optional<std::string> fileToOpen;

 private:
  std::string text_;
};

}  // namespace zeva::ui
