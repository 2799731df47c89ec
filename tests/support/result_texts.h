#pragma once
// Reading the messages a reader or writer handed back, in tests.

#include <string>
#include <vector>

#include "files/result.h"

namespace zeva::test {

// The texts of all messages, in order.
inline std::vector<std::string> texts(const files::Result& result) {
  std::vector<std::string> all;
  for (const files::Message& m : result.messages) all.push_back(m.text);
  return all;
}

// The last message's text, or "" when there is none.
inline std::string lastText(const files::Result& result) {
  return result.messages.empty() ? "" : result.messages.back().text;
}

}  // namespace zeva::test
