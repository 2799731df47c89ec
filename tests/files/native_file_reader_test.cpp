// The reader on hand-made files: the accepted starts, header chunks of other
// lengths and versions, unknown and misplaced chunks, truncation and hostile
// counts, each with the exact message the user sees.

#include "files/native_file_reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <initializer_list>
#include <string>

#include "files/native_file_writer.h"
#include "tests/files/native_file_fixtures.h"
#include "tests/support/result_texts.h"

namespace zeva::files {
namespace {

using testing::bytesOf;
using testing::FileBuilder;
using testing::int32Bytes;

std::string eightDigits(std::size_t n) {
  std::string digits = std::to_string(n);
  return std::string(8 - std::min<std::size_t>(8, digits.size()), '0') + digits;
}

std::string floats(std::initializer_list<float> values) {
  std::string bytes;
  for (float v : values) bytes += bytesOf(v);
  return bytes;
}

// A Wenner sounding of three readings with one geometry value and one set.
core::DataHeader smallHeader() {
  core::DataHeader h;
  h.name.assign("Small");
  h.dataType.assign("Wenner Array");
  h.NDATA = 3;
  h.NCOMP = 1;
  h.NGEOM = 1;
  h.NSETS = 1;
  h.plotCount = 4;
  h.shiftMode = 3;
  h.shiftTarget = 1;
  return h;
}

struct Reading {
  core::CurrentSounding current;
  ReadResult result;

  Reading() { core::resetToDefault(current); }
  explicit Reading(const std::string& file) : Reading() { read(file); }
  void read(const std::string& file) {
    MemorySource source(file);
    result = readNativeFile(source, current, "test.ZVR");
  }
};

TEST(NativeFileReader, SmallFileFillsTheRecordAndStartsNturnsAtOne) {
  const std::string file = FileBuilder()
                               .chunk("DATAHEAD", bytesOf(smallHeader()))
                               .chunk("TIME", floats({1, 2, 3}))
                               .chunk("VOLTS", floats({10, 20, 30}))
                               .end()
                               .bytes();
  Reading r(file);
  EXPECT_TRUE(r.result.ok);
  EXPECT_TRUE(r.result.messages.empty());
  EXPECT_EQ(r.result.lastSoundingName, "Small");
  const core::SoundingData& d = r.current.S.data();
  EXPECT_EQ(d.TIME.elements()[2], 3.0f);
  EXPECT_EQ(d.VOLTS(1, 0), 20.0f);
  EXPECT_EQ(d.VOLTS.cols(), 1u);
  EXPECT_EQ(d.NTURNS, std::vector<std::int32_t>{1});
  EXPECT_EQ(r.current.SM.header.name, "Small");
  EXPECT_TRUE(testing::countsMatchArrays(r.current));
}

TEST(NativeFileReader, UnknownChunkBetweenKnownOnesIsSkippedAfterAWarning) {
  const std::string file = FileBuilder()
                               .chunk("DATAHEAD", bytesOf(smallHeader()))
                               .chunk("FUTURE", "thirteen byte")
                               .chunk("LATER", "")
                               .chunk("TIME", floats({1, 2, 3}))
                               .end()
                               .bytes();
  Reading r(file);
  EXPECT_TRUE(r.result.ok);
  ASSERT_EQ(r.result.messages.size(), 2u);
  EXPECT_EQ(r.result.messages[0].kind, MessageKind::Warning);
  EXPECT_EQ(r.result.messages[0].text,
            "DON'T KNOW HOW TO READ FUTURE   LAST SUCCESSFUL READ WAS DATAHEAD");
  EXPECT_EQ(r.result.messages[1].text,
            "DON'T KNOW HOW TO READ LATER    LAST SUCCESSFUL READ WAS DATAHEAD");
  EXPECT_EQ(r.current.S.data().TIME.elements()[1], 2.0f);
}

TEST(NativeFileReader, UnknownFirstChunkFollowsNothing) {
  Reading r(FileBuilder().chunk("XYZ", "abc").end().bytes());
  EXPECT_TRUE(r.result.ok);
  EXPECT_EQ(test::texts(r.result),
            std::vector<std::string>{
                "DON'T KNOW HOW TO READ XYZ      LAST SUCCESSFUL READ WAS NOTHING "});
}

TEST(NativeFileReader, HeaderChunkOfAnotherVersionIsSkippedButFramesAreReadWhateverTheirVersion) {
  core::DataHeader newer = smallHeader();
  newer.NDATA = 50;
  core::GraphFrame frame;
  testing::fillPattern(frame, 9);
  const std::string file = FileBuilder()
                               .chunk("DATAHEAD", bytesOf(newer), 2)
                               .chunk("LAYRHEAD", std::string(36, 'x'), 3)
                               .chunk("MODLAXS2", bytesOf(frame), 2)
                               .chunk("MODLAXS1", bytesOf(frame), 7)
                               .end()
                               .bytes();
  Reading r(file);
  core::CurrentSounding fresh;
  core::resetToDefault(fresh);
  EXPECT_TRUE(r.result.ok);
  EXPECT_EQ(test::texts(r.result), (std::vector<std::string>{"SKIPPING NEW VERSION: DATAHEAD",
                                                             "SKIPPING NEW VERSION: LAYRHEAD"}));
  EXPECT_TRUE(testing::sameBytes(fresh.S.header, r.current.S.header, "data header"));
  EXPECT_TRUE(testing::sameBytes(fresh.S.layer, r.current.S.layer, "layer header"));
  EXPECT_TRUE(testing::sameBytes(frame, r.current.modelFrames[1], "MODLAXS2"));
  EXPECT_TRUE(testing::sameBytes(frame, r.current.modelFrames[0], "MODLAXS1"));
}

TEST(NativeFileReader, ShortDataHeaderLeavesTheRestAndPresetsPlotCountAndShiftWords) {
  core::DataHeader stored = smallHeader();
  testing::fillPattern(stored.kept292, 3);
  // A 300-byte header: the shift words at 332 and 336 are not in it.
  Reading r;
  r.current.S.header.shiftMode = 3;
  r.current.S.header.shiftTarget = 1;
  const core::DataHeader before = r.current.S.header;
  r.read(FileBuilder().chunk("DATAHEAD", bytesOf(stored).substr(0, 300)).end().bytes());
  const core::DataHeader& h = r.current.S.header;
  EXPECT_TRUE(r.result.ok);
  EXPECT_EQ(std::memcmp(&h, &stored, 300), 0);
  EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(&h) + 300,
                        reinterpret_cast<const char*>(&before) + 300, 32),
            0);
  EXPECT_EQ(h.shiftMode, 1);
  EXPECT_EQ(h.shiftTarget, 2);
  EXPECT_EQ(h.plotCount, 4);

  // A 208-byte header ends before the plot count.
  r.read(FileBuilder().chunk("DATAHEAD", bytesOf(stored).substr(0, 208)).end().bytes());
  EXPECT_EQ(r.current.S.header.plotCount, 1);
  EXPECT_EQ(r.current.S.header.NDATA, 3);
  EXPECT_TRUE(testing::countsMatchArrays(r.current));
}

TEST(NativeFileReader, LongDataHeaderFillsTheBlockAndTheRestIsSkipped) {
  const core::DataHeader stored = smallHeader();
  core::LayerHeader layer;
  layer.RMS = 0.125f;
  const std::string file = FileBuilder()
                               .chunk("DATAHEAD", bytesOf(stored) + std::string(60, '\x7f'))
                               .chunk("LAYRHEAD", bytesOf(layer))
                               .end()
                               .bytes();
  Reading r(file);
  EXPECT_TRUE(r.result.ok);
  EXPECT_TRUE(r.result.messages.empty());
  EXPECT_TRUE(testing::sameBytes(stored, r.current.S.header, "data header"));
  EXPECT_EQ(r.current.S.layer.RMS, 0.125f);
}

struct StartCase {
  const char* name;
  std::string start;
  bool accepted;
};
void PrintTo(const StartCase& c, std::ostream* out) { *out << c.name; }

class FileStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(FileStart, OnlyTheTwoMagicsAndAHeaderlessMainheadAreRead) {
  std::string file = GetParam().start;
  FileBuilder chunks("");
  chunks.chunk("DATAHEAD", bytesOf(smallHeader())).end();
  file += chunks.bytes();
  Reading r(file);
  EXPECT_EQ(r.result.ok, GetParam().accepted);
  if (GetParam().accepted) {
    EXPECT_EQ(r.current.S.header.name, "Small");
    return;
  }
  EXPECT_EQ(test::texts(r.result),
            std::vector<std::string>{"File is not Kelvorin Resistivity file: \ntest.ZVR"});
  EXPECT_EQ(r.current.S.header.name, "Default Data");
  EXPECT_FALSE(r.result.recordChanged);
}

INSTANTIATE_TEST_SUITE_P(
    Starts, FileStart,
    ::testing::Values(StartCase{"Zeva", "ZEVA    ", true}, StartCase{"ZVRes", "ZVRes   ", true},
                      StartCase{"LowerCase", "zeva    ", false},
                      StartCase{"OtherCase", "ZVRES   ", false},
                      StartCase{"NulPadded", std::string("ZEVA\0\0\0\0", 8), false},
                      StartCase{"Png", "\x89PNG\r\n\x1a\n", false},
                      StartCase{"TextFile", "# ZEVA  ", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NativeFileReader, HeaderlessMainheadFileIsReadAsChunksFromByteZero) {
  const std::string file = FileBuilder("")
                               .chunk("MAINHEAD", std::string(12, '\1'))
                               .chunk("DATAHEAD", bytesOf(smallHeader()))
                               .chunk("TIME", floats({4, 5, 6}))
                               .end()
                               .bytes();
  Reading r(file);
  EXPECT_TRUE(r.result.ok);
  EXPECT_EQ(test::texts(r.result),
            std::vector<std::string>{
                "DON'T KNOW HOW TO READ MAINHEAD LAST SUCCESSFUL READ WAS NOTHING "});
  EXPECT_EQ(r.current.S.data().TIME.elements()[2], 6.0f);
}

TEST(NativeFileReader, FileShorterThanItsMagicIsAReadError) {
  Reading r(std::string("ZEVA "));
  EXPECT_FALSE(r.result.ok);
  EXPECT_EQ(test::texts(r.result),
            std::vector<std::string>{
                "READ ERROR OR END OF FILE AT BYTE 00000005\nWHILE READING NOTHING "});
}

// A file of the writer cut at a position given relative to the start of one
// of its chunks.
struct CutCase {
  const char* name;
  const char* chunk;  // the chunk the cut is measured from
  int offset;         // bytes after the start of its 20-byte header
  const char* tag;    // the tag the message names
};
void PrintTo(const CutCase& c, std::ostream* out) { *out << c.name; }

class Truncated : public ::testing::TestWithParam<CutCase> {};

TEST_P(Truncated, ReportsTheBytePositionAndTheTagBeingRead) {
  core::CurrentSounding original;
  testing::makeSounding(original, {"Everything", true, true, true, true, true});
  StringSink sink;
  ASSERT_TRUE(writeNativeFile(sink, original).ok);
  const std::string& file = sink.bytes();

  std::size_t start = 8;
  for (const testing::ChunkSeen& chunk : testing::chunksOf(file)) {
    if (chunk.tag == GetParam().chunk) break;
    start += 20 + static_cast<std::size_t>(chunk.length);
  }
  ASSERT_LT(start, file.size());
  const std::size_t cut = start + static_cast<std::size_t>(GetParam().offset);

  Reading r(file.substr(0, cut));
  EXPECT_FALSE(r.result.ok);
  EXPECT_TRUE(r.result.recordChanged);
  EXPECT_EQ(test::texts(r.result),
            std::vector<std::string>{"READ ERROR OR END OF FILE AT BYTE " + eightDigits(cut) +
                                     "\nWHILE READING " + GetParam().tag});
  // What was read before the cut stays, and the record stays consistent.
  EXPECT_EQ(r.current.S.header.NDATA, 9);
  EXPECT_TRUE(testing::countsMatchArrays(r.current));
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, Truncated,
    ::testing::Values(CutCase{"InsidePayload", "TIME    ", 20 + 10, "TIME    "},
                      CutCase{"InsideChunkHeaderAfterTheTag", "TIME    ", 12, "TIME    "},
                      CutCase{"InsideTheTag", "TIME    ", 5, "TSHIFT  "},
                      CutCase{"BeforeEndfile", "ENDFILE ", 0, "SM%ZNMAX"},
                      CutCase{"InsideSmoothEquivalence", "SM%EQUVA", 20 + 999, "SM%EQUVA"},
                      CutCase{"InsideDataHeaderOfTheNextChunk", "LAYRHEAD", 20, "LAYRHEAD"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NativeFileReader, TornDataHeaderLeavesTheOldHeaderWithItsArrays) {
  const std::string file =
      FileBuilder().chunk("DATAHEAD", bytesOf(smallHeader())).bytes().substr(0, 8 + 20 + 100);
  Reading r(file);
  EXPECT_EQ(test::texts(r.result),
            std::vector<std::string>{
                "READ ERROR OR END OF FILE AT BYTE 00000128\nWHILE READING DATAHEAD"});
  EXPECT_EQ(r.current.S.header.name, "Default Data");
  EXPECT_EQ(r.current.S.header.NDATA, 22);
  EXPECT_TRUE(testing::countsMatchArrays(r.current));
}

// Data headers whose counts no file of this size could fill.
struct HostileCase {
  const char* name;
  std::int32_t core::DataHeader::*count;
  std::int32_t value;
};
void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }

class HostileDataCounts : public ::testing::TestWithParam<HostileCase> {};

TEST_P(HostileDataCounts, AreRefusedBeforeAnythingIsAllocated) {
  core::DataHeader header = smallHeader();
  header.*GetParam().count = GetParam().value;
  const std::string file = FileBuilder()
                               .chunk("DATAHEAD", bytesOf(header))
                               .chunk("TIME", floats({1, 2, 3}))
                               .end()
                               .bytes();
  Reading r(file);
  EXPECT_FALSE(r.result.ok);
  EXPECT_EQ(test::texts(r.result),
            std::vector<std::string>{
                "UNABLE TO ALLOCATE ARRAYS AT BYTE 00000368\nWHILE READING DATAHEAD"});
  // The sounding keeps its header and arrays together.
  EXPECT_EQ(r.current.S.header.name, "Default Data");
  EXPECT_EQ(r.current.S.data().TIME.rows(), 22u);
  EXPECT_TRUE(testing::countsMatchArrays(r.current));
}

INSTANTIATE_TEST_SUITE_P(
    Counts, HostileDataCounts,
    ::testing::Values(HostileCase{"MillionReadings", &core::DataHeader::NDATA, 1'000'000},
                      HostileCase{"NegativeReadings", &core::DataHeader::NDATA, -1},
                      HostileCase{"LargestComponents", &core::DataHeader::NCOMP, INT_MAX},
                      HostileCase{"NegativeGeometry", &core::DataHeader::NGEOM, -3},
                      HostileCase{"HugeSets", &core::DataHeader::NSETS, 1 << 30},
                      HostileCase{"ManyShifts", &core::DataHeader::NSHIFT, 100'000},
                      HostileCase{"NegativeShifts", &core::DataHeader::NSHIFT, INT_MIN}),
    [](const auto& info) { return std::string(info.param.name); });

struct ModelCase {
  const char* name;
  core::ModelHeader model;
};
void PrintTo(const ModelCase& c, std::ostream* out) { *out << c.name; }

class HostileModelCounts : public ::testing::TestWithParam<ModelCase> {};

TEST_P(HostileModelCounts, AreRefusedAndTheModelKept) {
  const std::string file = FileBuilder().chunk("MODLHEAD", bytesOf(GetParam().model)).end().bytes();
  Reading r(file);
  EXPECT_FALSE(r.result.ok);
  EXPECT_EQ(test::texts(r.result),
            std::vector<std::string>{
                "UNABLE TO ALLOCATE ARRAYS AT BYTE 00000060\nWHILE READING MODLHEAD"});
  EXPECT_EQ(r.current.S.model.NPAR, 13);
  EXPECT_EQ(r.current.S.M.PAR.size(), 13u);
  EXPECT_TRUE(testing::countsMatchArrays(r.current));
}

INSTANTIATE_TEST_SUITE_P(
    Counts, HostileModelCounts,
    ::testing::Values(ModelCase{"LargestParameterCount", {7, 1, INT_MAX, {}, 0, 0}},
                      ModelCase{"NegativeParameterCount", {7, 1, -13, {}, 0, 0}},
                      ModelCase{"NegativeKinds", {7, -1, 13, {}, 0, 0}},
                      ModelCase{"LargestKinds", {7, INT_MAX, 13, {}, 0, 0}},
                      ModelCase{"ParametersWithoutKinds", {7, 0, 13, {}, 0, 0}},
                      ModelCase{"MoreParametersThanTheFileHolds", {4000, 1, 7999, {}, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NativeFileReader, ModelHeaderWithTooManyLayersIsRepairedAndSized) {
  // 14 parameters with two kinds hold 5 layers (5 x 2 + 4), not 9.
  const core::ModelHeader model{9, 2, 14, {}, 0, 0};
  Reading r(FileBuilder().chunk("MODLHEAD", bytesOf(model)).end().bytes());
  EXPECT_TRUE(r.result.ok);
  EXPECT_EQ(r.current.S.model.NLAYER, 5);
  EXPECT_EQ(r.current.S.M.PAR.size(), 14u);
  EXPECT_EQ(r.current.S.ZNMIN.size(), 5u);
  EXPECT_TRUE(testing::countsMatchArrays(r.current));
}

TEST(NativeFileReader, ParametersBeyondThoseOfTheLayersAreLeftOut) {
  // 3 layers of one kind have 3 resistivities and 2 thicknesses, not 9 values.
  const core::ModelHeader model{3, 1, 9, {}, 0, 0};
  Reading r(FileBuilder()
                .chunk("MODLHEAD", bytesOf(model))
                .chunk("S%M%PAR", floats({10, 20, 30, 4, 5, 6, 7, 8, 9}))
                .end()
                .bytes());
  EXPECT_TRUE(r.result.ok);
  EXPECT_EQ(r.current.S.model.NPAR, 5);
  EXPECT_EQ(r.current.S.M.PAR, (std::vector<float>{10, 20, 30, 4, 5}));
  EXPECT_TRUE(testing::countsMatchArrays(r.current));
}

TEST(NativeFileReader, NegativeChunkLengthIsAReadError) {
  const std::string file = FileBuilder()
                               .chunk("DATAHEAD", bytesOf(smallHeader()))
                               .chunk("TIME", "", 1, -8)
                               .end()
                               .bytes();
  Reading r(file);
  EXPECT_FALSE(r.result.ok);
  EXPECT_EQ(test::texts(r.result),
            std::vector<std::string>{
                "READ ERROR OR END OF FILE AT BYTE 00000388\nWHILE READING TIME    "});
}

TEST(NativeFileReader, UnknownChunkLongerThanTheFileIsAReadErrorAfterTheWarning) {
  const std::string file = FileBuilder().chunk("HUGE", "abc", 1, INT_MAX).end().bytes();
  Reading r(file);
  EXPECT_FALSE(r.result.ok);
  EXPECT_EQ(test::texts(r.result),
            (std::vector<std::string>{
                "DON'T KNOW HOW TO READ HUGE     LAST SUCCESSFUL READ WAS NOTHING ",
                "READ ERROR OR END OF FILE AT BYTE 00000028\nWHILE READING HUGE    "}));
}

TEST(NativeFileReader, ArrayBeforeItsHeaderIsSkippedAsUnreadable) {
  const std::string file = FileBuilder()
                               .chunk("TIME", floats({7, 8, 9}))
                               .chunk("S%RESOLV", floats({1}))
                               .chunk("DATAHEAD", bytesOf(smallHeader()))
                               .chunk("VOLTS", floats({10, 20, 30}))
                               .end()
                               .bytes();
  Reading r(file);
  EXPECT_TRUE(r.result.ok);
  EXPECT_EQ(test::texts(r.result),
            (std::vector<std::string>{
                "DON'T KNOW HOW TO READ TIME     LAST SUCCESSFUL READ WAS NOTHING ",
                "DON'T KNOW HOW TO READ S%RESOLV LAST SUCCESSFUL READ WAS NOTHING "}));
  const core::SoundingData& d = r.current.S.data();
  EXPECT_EQ(d.TIME.elements()[0], 0.0f);  // the chunk before the header did not count
  EXPECT_EQ(d.VOLTS(2, 0), 30.0f);
  EXPECT_TRUE(testing::countsMatchArrays(r.current));
}

TEST(NativeFileReader, ArrayChunksOfOtherLengthsFillWhatFitsAndSkipTheRest) {
  const std::string file = FileBuilder()
                               .chunk("DATAHEAD", bytesOf(smallHeader()))
                               .chunk("TIME", floats({1, 2}))                 // short
                               .chunk("VOLTS", floats({10, 20, 30, 40, 50}))  // long
                               .chunk("UVOLTS", floats({0.5f, 0.25f, 0.125f}))
                               .chunk("MODONDAT", int32Bytes(-1) + "extra bytes")
                               .chunk("INVRTPAR", floats({0.5f}))
                               .end()
                               .bytes();
  Reading r(file);
  EXPECT_TRUE(r.result.ok);
  EXPECT_TRUE(r.result.messages.empty());
  const core::SoundingData& d = r.current.S.data();
  EXPECT_EQ(std::vector<float>(d.TIME.elements().begin(), d.TIME.elements().end()),
            (std::vector<float>{1, 2, 0}));
  EXPECT_EQ(std::vector<float>(d.VOLTS.elements().begin(), d.VOLTS.elements().end()),
            (std::vector<float>{10, 20, 30}));
  EXPECT_EQ(d.UVOLTS(2, 0), 0.125f);
  EXPECT_EQ(r.current.modelOnData, core::kTrue);
  EXPECT_EQ(r.current.settings.improvementRatio, 0.5f);
  EXPECT_EQ(r.current.settings.iterationLimit, 9);  // the rest of the block as it was
}

// Set ends outside the three readings are kept within them.
TEST(NativeFileReader, SetEndsOutsideTheDataAreBroughtWithinIt) {
  for (const auto& [stored, read] : {std::pair{-4, 0}, std::pair{99, 3}, std::pair{2, 2}}) {
    const std::string file = FileBuilder()
                                 .chunk("DATAHEAD", bytesOf(smallHeader()))
                                 .chunk("NSET", int32Bytes(stored))
                                 .end()
                                 .bytes();
    Reading r(file);
    EXPECT_TRUE(r.result.ok);
    EXPECT_EQ(r.current.S.data().NSET, std::vector<std::int32_t>{read}) << stored;
  }
}

TEST(NativeFileReader, VoltageAndCurrentAreReadOnlyWithTheirFlag) {
  core::DataHeader with = smallHeader();
  with.voltageAndCurrent = core::kTrue;
  Reading r(FileBuilder()
                .chunk("DATAHEAD", bytesOf(with))
                .chunk("VOLTS", floats({10, 20, 30}))
                .chunk("VOLTAGE", floats({1, 2, 3}))
                .chunk("CURRENT", floats({4, 5, 6}))
                .end()
                .bytes());
  EXPECT_TRUE(r.result.messages.empty());
  const core::Matrix<float>& volts = r.current.S.data().VOLTS;
  ASSERT_EQ(volts.cols(), 3u);
  EXPECT_EQ(volts(0, 1), 1.0f);
  EXPECT_EQ(volts(2, 2), 6.0f);

  Reading without(FileBuilder()
                      .chunk("DATAHEAD", bytesOf(smallHeader()))
                      .chunk("VOLTAGE", floats({1, 2, 3}))
                      .chunk("CURRENT", floats({4, 5, 6}))
                      .end()
                      .bytes());
  EXPECT_TRUE(without.result.ok);
  EXPECT_EQ(test::texts(without.result),
            (std::vector<std::string>{
                "DON'T KNOW HOW TO READ VOLTAGE  LAST SUCCESSFUL READ WAS DATAHEAD",
                "DON'T KNOW HOW TO READ CURRENT  LAST SUCCESSFUL READ WAS DATAHEAD"}));
}

TEST(NativeFileReader, OldAxisAndEquivalenceTagsAreReadIntoTheirObjects) {
  core::GraphFrame first, second;
  testing::fillPattern(first, 1);
  testing::fillPattern(second, 2);
  const core::ModelHeader smooth{2, 1, 3, {}, 0, 0};  // 2 layers: 2 resistivities, 1 thickness
  std::string equiva;
  for (int i = 0; i < 18; ++i) equiva += floats({static_cast<float>(i)});
  Reading r;
  const core::GraphFrame modelSecondBefore = r.current.modelFrames[1];
  r.read(FileBuilder()
             .chunk("DATAAXES", bytesOf(first) + bytesOf(second))
             .chunk("MODLAXES", bytesOf(second))
             .chunk("SMOOMODL", bytesOf(smooth))
             .chunk("SM%EQUIV", equiva)
             .end()
             .bytes());
  EXPECT_TRUE(r.result.ok);
  EXPECT_TRUE(r.result.messages.empty()) << test::lastText(r.result);
  EXPECT_TRUE(testing::sameBytes(first, r.current.dataFrames[0], "first data frame"));
  EXPECT_TRUE(testing::sameBytes(second, r.current.dataFrames[1], "second data frame"));
  EXPECT_TRUE(testing::sameBytes(second, r.current.modelFrames[0], "first model frame"));
  EXPECT_TRUE(
      testing::sameBytes(modelSecondBefore, r.current.modelFrames[1], "second model frame"));
  ASSERT_EQ(r.current.SM.EQUIVA.rows(), 6u);
  EXPECT_EQ(r.current.SM.EQUIVA(5, 2), 17.0f);
}

TEST(NativeFileReader, LargeModelMatricesAreSizedOnlyWhenTheFileHoldsThem) {
  // 1000 smooth parameters: the resolution matrix is in the file, the
  // equivalent models (2000 x 1000 reals) are not.
  const core::ModelHeader smooth{500, 1, 999, {}, 0, 0};
  std::vector<float> resolution(static_cast<std::size_t>(999 * 1000 / 2));
  for (std::size_t i = 0; i < resolution.size(); ++i) resolution[i] = static_cast<float>(i);
  Reading r(FileBuilder()
                .chunk("SMOOMODL", bytesOf(smooth))
                .chunk("SM%RESLV", bytesOf(resolution))
                .end()
                .bytes());
  EXPECT_TRUE(r.result.ok);
  EXPECT_TRUE(r.result.messages.empty()) << test::lastText(r.result);
  EXPECT_EQ(r.current.SM.RESOLV, resolution);
  EXPECT_TRUE(r.current.SM.EQUIVA.empty());
  EXPECT_EQ(r.current.SM.M.PAR.size(), 999u);
  EXPECT_TRUE(testing::countsMatchArrays(r.current));
}

TEST(NativeFileReader, GarbageTagsAreShownPrintably) {
  Reading r(FileBuilder().chunk(std::string("\x01\x02GO\n\xff  ", 8), "").end().bytes());
  EXPECT_EQ(test::texts(r.result),
            std::vector<std::string>{
                "DON'T KNOW HOW TO READ ??GO??   LAST SUCCESSFUL READ WAS NOTHING "});
}

}  // namespace
}  // namespace zeva::files
