#include "tests/support/scripted_toolkit.h"

namespace zeva::test {

namespace {

template <typename T>
T takeOr(std::deque<T>& queue, T fallback) {
  if (queue.empty()) return fallback;
  T value = std::move(queue.front());
  queue.pop_front();
  return value;
}

}  // namespace

Answer ScriptedToolkit::message(MessageKind kind, std::string_view title, std::string_view text,
                                bool defaultYes) {
  messages.push_back({kind, std::string(title), std::string(text)});
  switch (kind) {
    case MessageKind::Information:
    case MessageKind::Warning:
      return Answer::Ok;
    case MessageKind::OkCancel:
      return takeOr(answers, Answer::Ok);
    case MessageKind::YesNo:
      return takeOr(answers, defaultYes ? Answer::Yes : Answer::No);
    case MessageKind::YesNoCancel:
      return takeOr(answers, Answer::Yes);
  }
  return Answer::Ok;
}

std::optional<double> ScriptedToolkit::askNumber(std::string_view prompt, double) {
  prompts.emplace_back(prompt);
  return takeOr(numbers, std::optional<double>{});
}

std::optional<std::string> ScriptedToolkit::askText(std::string_view prompt, std::string_view) {
  prompts.emplace_back(prompt);
  return takeOr(textAnswers, std::optional<std::string>{});
}

std::optional<std::string> ScriptedToolkit::chooseFileToOpen(const FileFilter& filter,
                                                             std::string_view) {
  fileDialogTitles.emplace_back(filter.title);
  return takeOr(files, std::optional<std::string>{});
}

std::optional<std::string> ScriptedToolkit::chooseFileToSave(const FileFilter& filter,
                                                             std::string_view) {
  fileDialogTitles.emplace_back(filter.title);
  return takeOr(files, std::optional<std::string>{});
}

void ScriptedToolkit::showProgress(std::string_view title) {
  progressVisible = true;
  progressTexts.emplace_back(title);
}

void ScriptedToolkit::setProgress(double, std::string_view text) {
  progressTexts.emplace_back(text);
}

void ScriptedToolkit::hideProgress() { progressVisible = false; }

bool ScriptedToolkit::pollInterrupt() { return ++polls == interruptAtPoll; }

void ScriptedToolkit::setStatus(int, std::string_view text) { statusTexts.emplace_back(text); }

std::vector<std::string> ScriptedToolkit::texts() const {
  std::vector<std::string> result;
  for (const Message& m : messages) result.push_back(m.text);
  return result;
}

}  // namespace zeva::test
