// Writing a sounding and reading it back reproduces every header byte and
// every array element; the writer's chunks follow the table's order, versions,
// lengths and conditions.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/native_file_reader.h"
#include "files/native_file_writer.h"
#include "tests/files/native_file_fixtures.h"
#include "tests/support/result_texts.h"

namespace zeva::files {
namespace {

using testing::SoundingShape;

class RoundTrip : public ::testing::TestWithParam<SoundingShape> {};

std::string write(core::CurrentSounding& current) {
  StringSink sink;
  const WriteResult result = writeNativeFile(sink, current);
  EXPECT_TRUE(result.ok);
  EXPECT_TRUE(result.messages.empty()) << test::lastText(result);
  return sink.bytes();
}

TEST_P(RoundTrip, ReadingBackGivesEveryByteAndElement) {
  core::CurrentSounding original, expected, reread;
  testing::makeSounding(original, GetParam());
  testing::makeSounding(expected, GetParam());
  core::resetToDefault(reread);
  const std::string file = write(original);

  MemorySource source(file);
  const ReadResult read = readNativeFile(source, reread, "round.ZVR");
  EXPECT_TRUE(read.ok);
  EXPECT_TRUE(read.messages.empty()) << test::lastText(read);
  EXPECT_EQ(read.lastSoundingName, expected.S.header.name);
  testing::expectSameSounding(expected, reread, GetParam());
  EXPECT_TRUE(testing::countsMatchArrays(reread));

  // What was read is written again byte for byte.
  EXPECT_EQ(write(reread), file);
}

// The chunks the writer must produce for a shape, with their payload lengths
// worked out from the counts of makeSounding (9 readings, 2 geometry values,
// 3 sets, a 4-layer model with 2 kinds: 11 parameters, a 12-layer smooth
// model: 23 parameters).
std::vector<std::pair<std::string, int>> expectedChunks(const SoundingShape& shape) {
  const int values = 9 * shape.ncomp * 4;
  std::vector<std::pair<std::string, int>> chunks{
      {"DATAHEAD", 340}, {"LAYRHEAD", 36},  {"SMOOHEAD", 36},  {"MODLHEAD", 32},
      {"SMOOMODL", 32},  {"MODONDAT", 4},   {"INVRTPAR", 12},  {"DATAAXS1", 144},
      {"DATAAXS2", 144}, {"MODLAXS1", 144}, {"MODLAXS2", 144}, {"LOGDAT  ", 4 * shape.ncomp}};
  for (const char* tag : {"KCALC   ", "NSET    ", "AMPS    ", "NTURNS  ", "RAMP    ", "FREQ    ",
                          "AREA    ", "TSHIFT  "})
    chunks.emplace_back(tag, 12);
  chunks.emplace_back("TIME    ", 9 * 2 * 4);
  chunks.emplace_back("VOLTS   ", values);
  if (shape.voltageAndCurrent) {
    chunks.emplace_back("VOLTAGE ", values);
    chunks.emplace_back("CURRENT ", values);
  }
  if (shape.shifts) chunks.emplace_back("SHIFTS  ", 2 * 8);
  chunks.emplace_back("LMASK   ", values);
  chunks.emplace_back("UVOLTS  ", values);
  chunks.emplace_back("S%SVOLT ", values);
  for (const char* tag : {"S%M%PAR ", "S%M%PARU", "S%M%PARD", "S%M%LMTP", "S%M%LFIX"})
    chunks.emplace_back(tag, 11 * 4);
  if (shape.resolution) chunks.emplace_back("S%RESOLV", 66 * 4);
  if (shape.equivalence) {
    chunks.emplace_back("S%EQUIVA", 11 * 11 * 8);
    chunks.emplace_back("S%PARMIN", 11 * 4);
    chunks.emplace_back("S%PARMAX", 11 * 4);
    chunks.emplace_back("S%ERER  ", 11 * 8);
    chunks.emplace_back("S%ZNMIN ", 4 * 4);
    chunks.emplace_back("S%ZNMAX ", 4 * 4);
  }
  if (shape.smooth) {
    chunks.emplace_back("SM%SVOLT", values);
    for (const char* tag : {"SM%M%PAR", "SM%M%PRU", "SM%M%PRD", "SM%M%LMT", "SM%M%LFX"})
      chunks.emplace_back(tag, 23 * 4);
    if (shape.resolution) chunks.emplace_back("SM%RESLV", 276 * 4);
    if (shape.equivalence) {
      chunks.emplace_back("SM%EQUVA", 23 * 23 * 8);
      chunks.emplace_back("SM%PARMN", 23 * 4);
      chunks.emplace_back("SM%PARMX", 23 * 4);
      chunks.emplace_back("SM%ERER ", 23 * 8);
      chunks.emplace_back("SM%ZNMIN", 12 * 4);
      chunks.emplace_back("SM%ZNMAX", 12 * 4);
    }
  }
  chunks.emplace_back("ENDFILE ", 0);
  return chunks;
}

TEST_P(RoundTrip, ChunksFollowTheTableInOrderWithTheirConditions) {
  core::CurrentSounding current;
  testing::makeSounding(current, GetParam());
  const std::string file = write(current);
  EXPECT_EQ(file.substr(0, 8), "ZEVA    ");

  const std::vector<testing::ChunkSeen> seen = testing::chunksOf(file);
  const auto expected = expectedChunks(GetParam());
  ASSERT_EQ(seen.size(), expected.size());
  std::size_t total = 8;
  for (std::size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].tag, expected[i].first) << "chunk " << i;
    EXPECT_EQ(seen[i].length, expected[i].second) << seen[i].tag;
    EXPECT_EQ(seen[i].version, seen[i].tag == "MODLAXS2" ? 2 : 1) << seen[i].tag;
    EXPECT_EQ(seen[i].reserved, 0) << seen[i].tag;
    total += 20 + static_cast<std::size_t>(seen[i].length);
  }
  EXPECT_EQ(total, file.size());
}

TEST_P(RoundTrip, WritingSetsTheSavedFlagAndHandsBackTheName) {
  core::CurrentSounding current;
  testing::makeSounding(current, GetParam());
  current.S.layer.saved = core::kFalse;
  current.S.header.name.assign("Line 12 Station 40");
  StringSink sink;
  const WriteResult result = writeNativeFile(sink, current);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.lastSoundingName, "Line 12 Station 40");
  EXPECT_TRUE(core::isSet(current.S.layer.saved));
  // The file holds the flag as it was when the layer header was written.
  EXPECT_EQ(sink.bytes().substr(8 + 360 + 20 + 28, 4), testing::int32Bytes(core::kFalse));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, RoundTrip,
    ::testing::Values(SoundingShape{"Plain"}, SoundingShape{"VoltageAndCurrent", true},
                      SoundingShape{"Shifts", false, true},
                      SoundingShape{"Resolution", false, false, true},
                      SoundingShape{"Equivalence", false, false, false, true},
                      SoundingShape{"SmoothModel", false, false, false, false, true},
                      SoundingShape{"Everything", true, true, true, true, true},
                      SoundingShape{"TwoComponentsWithVoltage", true, true, true, true, true, 2}),
    [](const auto& info) { return std::string(info.param.name); });

// A short write stops the writer with the position the file reached and the
// number of bytes that did not get there.
class FailingSink : public ByteSink {
 public:
  explicit FailingSink(std::int64_t capacity) : capacity_(capacity) {}
  std::size_t write(std::span<const std::byte> bytes) override {
    const auto room = static_cast<std::size_t>(std::max<std::int64_t>(capacity_ - position_, 0));
    const std::size_t count = std::min(room, bytes.size());
    position_ += static_cast<std::int64_t>(count);
    return bytes.size() - count;
  }
  std::int64_t position() const override { return position_; }

 private:
  std::int64_t capacity_;
  std::int64_t position_ = 0;
};

TEST(NativeFileWriter, ShortWriteReportsPositionAndMissingBytesAndLeavesSavedAlone) {
  core::CurrentSounding current;
  core::resetToDefault(current);
  current.S.layer.saved = core::kFalse;
  // Magic, DATAHEAD's 20-byte header, then 100 of its 340 payload bytes.
  FailingSink sink(8 + 20 + 100);
  const WriteResult result = writeNativeFile(sink, current);
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(core::isSet(current.S.layer.saved));
  // In the usual information box.
  EXPECT_EQ(result.messages,
            (std::vector<Message>{
                {MessageKind::Information, "WRITE ERROR AT BYTE 00000128:      240", ""}}));
}

TEST(NativeFileWriter, DefaultSoundingWritesItsReadingsAndNoOptionalResults) {
  core::CurrentSounding current;
  core::resetToDefault(current);
  const std::string file = write(current);
  std::vector<std::string> tags;
  for (const auto& chunk : testing::chunksOf(file)) tags.push_back(chunk.tag);
  for (const char* absent : {"S%RESOLV", "S%EQUIVA", "SM%SVOLT", "SM%M%PAR", "SHIFTS  "})
    EXPECT_EQ(std::ranges::count(tags, absent), 0) << absent;

  const auto floatAt = [](const std::string& payload, std::size_t i) {
    float value = 0.0f;
    std::memcpy(&value, payload.data() + 4 * i, 4);
    return value;
  };
  const std::string volts = testing::payloadOf(file, "VOLTS   ");
  const std::string voltage = testing::payloadOf(file, "VOLTAGE ");
  const std::string current_ = testing::payloadOf(file, "CURRENT ");
  ASSERT_EQ(volts.size(), 22u * 4);
  ASSERT_EQ(voltage.size(), 22u * 4);
  ASSERT_EQ(current_.size(), 22u * 4);
  EXPECT_EQ(floatAt(volts, 0), 159.9f);
  EXPECT_EQ(floatAt(volts, 21), 37.0f);
  EXPECT_EQ(floatAt(voltage, 0), 72.0f);
  EXPECT_EQ(floatAt(current_, 21), 104.0f);
}

}  // namespace
}  // namespace zeva::files
