#pragma once
// Runs zeva-cli as a separate process and captures what it writes.

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

namespace zeva::test {

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

// `arguments` is appended to the program path as a shell command line.
CliRun runCli(const std::string& arguments);

// The info --json of a sounding (a file or "default"), checked to succeed.
nlohmann::json infoJson(const std::filesystem::path& input);

}  // namespace zeva::test
