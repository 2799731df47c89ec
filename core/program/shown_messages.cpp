#include "core/program/shown_messages.h"

namespace zeva::core {

bool shown(ui::Toolkit& toolkit, const files::Result& result) {
  for (const files::Message& m : result.messages) {
    const std::string_view title = m.title.empty() ? ui::kMessageTitle : m.title;
    const ui::MessageKind kind = m.kind == files::MessageKind::Information
                                     ? ui::MessageKind::Information
                                     : ui::MessageKind::Warning;
    toolkit.message(kind, title, m.text);
  }
  return result.ok;
}

}  // namespace zeva::core
