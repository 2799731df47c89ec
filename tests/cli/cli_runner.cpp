#include "tests/cli/cli_runner.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "tests/support/test_support.h"

namespace zeva::test {

CliRun runCli(const std::string& arguments) {
  TemporaryFolder folder;
  const auto errPath = folder / "stderr.txt";
  const std::string command =
      std::string(ZEVA_CLI_PATH) + " " + arguments + " 2>'" + errPath.string() + "'";
  CliRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.err = readFile(errPath);
  return run;
}

nlohmann::json infoJson(const std::filesystem::path& input) {
  const CliRun run = runCli("info '" + input.string() + "' --json");
  EXPECT_EQ(run.status, 0) << run.err;
  return run.status == 0 ? nlohmann::json::parse(run.out) : nlohmann::json::object();
}

}  // namespace zeva::test
