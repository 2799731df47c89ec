#pragma once
// A toolkit for a sounding worked on away from the console (a job of a
// batch): it answers as a script would, never interrupts, and keeps the
// messages as one line of text for a summary.

#include <string>

#include "ui/toolkit/message_collector.h"

namespace zeva::cli {

class TextCollector : public ui::MessageCollector {
 public:
  ui::Answer message(ui::MessageKind kind, std::string_view title, std::string_view text,
                     bool defaultYes = true) override {
    if (!text_.empty()) text_ += "; ";
    for (const char c : text) text_ += (c == '\n' || c == '\r') ? ' ' : c;
    return MessageCollector::message(kind, title, text, defaultYes);
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace zeva::cli
