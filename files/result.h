#pragma once
// What a reader or writer hands back: whether it succeeded, and the messages
// for the user in the order they arose. The readers and writers show nothing
// themselves; the program's commands show the messages through the toolkit.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zeva::files {

// Information and Warning are shown in the usual message boxes; an Error is
// shown as a warning box under its own title.
enum class MessageKind { Information, Warning, Error };

struct Message {
  MessageKind kind = MessageKind::Warning;
  std::string text;
  std::string title;  // empty: the program's usual message title

  bool operator==(const Message&) const = default;
};

struct [[nodiscard]] Result {
  bool ok = false;
  std::vector<Message> messages;

  void information(std::string text) {
    messages.push_back({MessageKind::Information, std::move(text), {}});
  }
  void warning(std::string text) {
    messages.push_back({MessageKind::Warning, std::move(text), {}});
  }
  void error(std::string_view title, std::string text) {
    messages.push_back({MessageKind::Error, std::move(text), std::string(title)});
  }
  // Takes the messages of a step this result is made of; returns whether it succeeded.
  bool take(Result&& step) {
    for (Message& m : step.messages) messages.push_back(std::move(m));
    return step.ok;
  }
};

// A result that succeeded, or one that failed with a warning.
inline Result succeeded() { return Result{true, {}}; }
inline Result failedWith(std::string warning) {
  Result result;
  result.warning(std::move(warning));
  return result;
}

}  // namespace zeva::files
