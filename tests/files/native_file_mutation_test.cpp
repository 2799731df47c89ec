// A seeded mutation test of the reader: thousands of damaged variants of a
// valid file (flipped bytes, hostile counts and lengths, cuts, moved and
// dropped pieces) must each end with complete reading or one of the file's
// messages, never a crash, and must leave a record whose arrays agree with
// their counts. Whatever was read is written and read again unchanged.

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "files/native_file_reader.h"
#include "files/native_file_writer.h"
#include "tests/files/native_file_fixtures.h"
#include "tests/support/result_texts.h"

namespace zeva::files {
namespace {

constexpr int kVariants = 3000;

std::string writeToString(core::CurrentSounding& current) {
  StringSink sink;
  EXPECT_TRUE(writeNativeFile(sink, current).ok);
  return sink.bytes();
}

void mutate(std::string& file, std::mt19937& random) {
  auto below = [&](std::size_t n) {
    return n == 0 ? std::size_t{0} : std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
  };
  static constexpr std::int32_t kInteresting[] = {
      0, 1, -1, 2, 4, 20, 340, 1 << 16, 1 << 24, 1 << 30, INT_MAX, INT_MIN, -20, 16383, 16384};
  switch (below(6)) {
    case 0:  // flip a few bytes
      for (std::size_t n = 1 + below(4); n > 0 && !file.empty(); --n)
        file[below(file.size())] ^= static_cast<char>(1 + below(255));
      break;
    case 1: {  // a counts or length word set to a hostile value (payloads are word-aligned)
      if (file.size() < 8) break;
      const std::size_t at = 4 * below(file.size() / 4 - 1);
      const std::int32_t value = kInteresting[below(std::size(kInteresting))];
      std::memcpy(file.data() + at, &value, 4);
      break;
    }
    case 2:  // cut
      file.resize(below(file.size() + 1));
      break;
    case 3: {  // a piece copied elsewhere (duplicated chunks, chunks before their headers)
      const std::size_t from = below(file.size());
      const std::string piece = file.substr(from, 1 + below(400));
      file.insert(below(file.size() + 1), piece);
      break;
    }
    case 4: {  // a piece dropped
      const std::size_t from = below(file.size());
      file.erase(from, 1 + below(200));
      break;
    }
    default: {  // a chunk's length field off by a little
      const std::vector<testing::ChunkSeen> chunks = testing::chunksOf(file);
      if (chunks.empty()) break;
      std::size_t at = 8;
      const std::size_t target = below(chunks.size());
      for (std::size_t i = 0; i < target; ++i)
        at += 20 + static_cast<std::size_t>(chunks[i].length);
      if (at + 20 > file.size()) break;
      const std::int32_t length = chunks[target].length + static_cast<std::int32_t>(below(17)) - 8;
      std::memcpy(file.data() + at + 16, &length, 4);
    }
  }
}

bool isFileMessage(const std::string& text) {
  for (const char* prefix : {"READ ERROR OR END OF FILE AT BYTE ",
                             "UNABLE TO ALLOCATE ARRAYS AT BYTE ", "SKIPPING NEW VERSION: ",
                             "DON'T KNOW HOW TO READ ", "File is not Kelvorin Resistivity file: "})
    if (text.starts_with(prefix)) return true;
  return false;
}

bool isFinalMessage(const std::string& text) {
  return text.starts_with("READ ERROR") || text.starts_with("UNABLE TO ALLOCATE") ||
         text.starts_with("File is not");
}

TEST(NativeFileMutations, DamagedFilesEndWithAMessageAndAConsistentRecord) {
  core::CurrentSounding rich;
  testing::makeSounding(rich, {"Everything", true, true, true, true, true});
  const std::string base = writeToString(rich);

  std::mt19937 random(20261206);
  int complete = 0;
  for (int variant = 0; variant < kVariants; ++variant) {
    std::string file = base;
    for (int n = 1 + static_cast<int>(random() % 3); n > 0; --n) mutate(file, random);

    core::CurrentSounding current;
    core::resetToDefault(current);
    MemorySource source(file);
    const ReadResult read = readNativeFile(source, current, "mutant.ZVR");

    ASSERT_TRUE(testing::countsMatchArrays(current)) << "variant " << variant;
    for (const std::string& text : test::texts(read))
      ASSERT_TRUE(isFileMessage(text)) << "variant " << variant << ": " << text;
    if (read.ok) {
      ++complete;
      for (const std::string& text : test::texts(read)) ASSERT_FALSE(isFinalMessage(text)) << text;
    } else {
      ASSERT_FALSE(read.messages.empty()) << "variant " << variant;
      ASSERT_TRUE(isFinalMessage(test::lastText(read))) << "variant " << variant;
    }

    // Whatever the record now holds is written, read back and written again
    // to the same bytes.
    const std::string written = writeToString(current);
    core::CurrentSounding again;
    core::resetToDefault(again);
    MemorySource rereading(written);
    const ReadResult reread = readNativeFile(rereading, again, "again.ZVR");
    ASSERT_TRUE(reread.ok) << "variant " << variant << ": " << test::lastText(reread);
    ASSERT_TRUE(reread.messages.empty()) << "variant " << variant << ": " << test::lastText(reread);
    ASSERT_EQ(writeToString(again), written) << "variant " << variant;
  }
  RecordProperty("complete", complete);
  // The mutations leave a good share of files readable to the end.
  EXPECT_GT(complete, kVariants / 20);
}

}  // namespace
}  // namespace zeva::files
