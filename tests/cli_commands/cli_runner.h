#pragma once
// Runs zeva-cli as a separate process and captures what it writes.

#include <string>

namespace zeva::test {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

// `arguments` is appended to the program path as a shell command line.
CliRun runCli(const std::string& arguments);

}  // namespace zeva::test
