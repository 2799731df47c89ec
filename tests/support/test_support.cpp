#include "tests/support/test_support.h"

#include <fstream>
#include <random>
#include <sstream>

namespace zeva::test {

TemporaryFolder::TemporaryFolder() {
  std::random_device seed;
  const auto base = std::filesystem::temp_directory_path();
  do {
    path_ = base / ("zeva-test-" + std::to_string(seed()));
  } while (!std::filesystem::create_directory(path_));
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(path_, ignored);
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace zeva::test
