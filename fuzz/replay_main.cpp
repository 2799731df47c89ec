// Runs a fuzz target's check on files instead of under libFuzzer: every file
// named, and every file in the folders named, once, in name order. The replay
// test of CTest runs the seed corpus and the past findings of each target this
// way in the ordinary and the sanitizer builds.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  std::fprintf(stderr, "%s\n", file.string().c_str());
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t count = 0;
  for (int k = 1; k < argc; ++k) {
    const std::filesystem::path named = argv[k];
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(named)) {
      for (const auto& entry : std::filesystem::directory_iterator(named))
        if (entry.is_regular_file()) files.push_back(entry.path());
      std::sort(files.begin(), files.end());
    } else {
      files.push_back(named);
    }
    for (const auto& file : files) replay(file), ++count;
  }
  std::fprintf(stderr, "%zu inputs replayed\n", count);
  return count > 0 ? 0 : 1;
}
