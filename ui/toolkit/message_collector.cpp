#include "ui/toolkit/message_collector.h"

namespace zeva::ui {

Answer MessageCollector::message(MessageKind kind, std::string_view title, std::string_view text,
                                 bool defaultYes) {
  messages_.push_back({kind, std::string(title), std::string(text), defaultYes});
  switch (kind) {
    case MessageKind::YesNo:
    case MessageKind::YesNoCancel:
      return defaultYes ? Answer::Yes : Answer::No;
    case MessageKind::Information:
    case MessageKind::Warning:
    case MessageKind::OkCancel:
      break;
  }
  return Answer::Ok;
}

void MessageCollector::replay(Toolkit& toolkit) {
  for (const Message& m : messages_) toolkit.message(m.kind, m.title, m.text, m.defaultYes);
  messages_.clear();
}

}  // namespace zeva::ui
