// Hostile files the readers must refuse with a message naming what is wrong,
// and files at the limits they must take: values beyond single precision,
// lines and counts beyond the reader limits, folders and devices, and a native
// file that repeats its data header to make reading slow.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <sstream>
#include <tuple>

#include "core/record/current_sounding.h"
#include "core/record/reader_limits.h"
#include "files/ascii_export.h"
#include "files/flat_ascii_import.h"
#include "files/native_file_format.h"
#include "files/native_file_reader.h"
#include "files/native_file_writer.h"
#include "files/sounding_import.h"
#include "tests/support/result_texts.h"
#include "tests/support/test_support.h"

namespace zeva::files {
namespace {

struct HostileData {
  const char* name;
  FlatAsciiKind kind;
  const char* type;
  bool voltageAndCurrent;
  TemTimeUnit timeUnit;
  std::string text;
  std::string message;  // followed by the file name
};

void PrintTo(const HostileData& c, std::ostream* os) { *os << c.name; }

class FlatAsciiHostile : public ::testing::TestWithParam<HostileData> {};

TEST_P(FlatAsciiHostile, IsRefusedWithItsRowAndTheResultUntouched) {
  const HostileData& c = GetParam();
  test::TemporaryFolder folder;
  const auto file = folder / "hostile.dat";
  test::writeFile(file, c.text);
  FlatAsciiRequest request;
  request.kind = c.kind;
  request.header = importedDataHeader(core::DataTypeText(c.type));
  request.header.voltageAndCurrent = core::logical(c.voltageAndCurrent);
  request.timeUnit = c.timeUnit;
  files::ImportColumns columns;
  columns.spacing = 1, columns.resistivity = 2, columns.mn = 3, columns.current = 4;
  columns.time = 1, columns.voltage = 2, columns.wellDepth = 1, columns.wellResist = 2;
  files::Result read;
  core::Sounding result;
  if (c.kind == FlatAsciiKind::WellLog) {
    WellLog log;
    columns.depthTimes1000 = true;
    read = readWellLog(file, columns, log);
    EXPECT_TRUE(log.depth.empty());
  } else {
    read = readFlatAsciiData(file, request, columns, result);
  }
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(test::lastText(read), c.message + file.string());
}

INSTANTIATE_TEST_SUITE_P(
    Files, FlatAsciiHostile,
    ::testing::Values(HostileData{"WellLogDepthTimes1000", FlatAsciiKind::WellLog, "", false,
                                  TemTimeUnit::Milliseconds, "1 50\n1e36 50\n",
                                  "VALUE OUT OF RANGE IN ROW 2: "},
                      HostileData{"LineBeyondTheLimit", FlatAsciiKind::Resistivity, "Wenner Array",
                                  false, TemTimeUnit::Milliseconds,
                                  "1 50\n" + std::string(70000, '7') + "\n2 60\n",
                                  "LINE 2 LONGER THAN 65536 CHARACTERS IN FILE: "},
                      HostileData{"RowsBeyondTheLimit", FlatAsciiKind::Tem, "Central Loop TEM",
                                  false, TemTimeUnit::Milliseconds,
                                  [] {
                                    std::string rows;
                                    for (int i = 0; i <= core::limits::kMaxPoints; ++i)
                                      rows += "1 2\n";
                                    return rows;
                                  }(),
                                  "MORE THAN 100000 DATA ROWS IN FILE: "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FlatAsciiImport, FolderIsNotOpened) {
  test::TemporaryFolder folder;
  FlatAsciiRequest request;
  request.header = importedDataHeader(core::DataTypeText("Wenner Array"));
  core::Sounding result;
  const files::Result read = readFlatAsciiData(folder.path(), request, {}, result);
  EXPECT_FALSE(read.ok);
  EXPECT_EQ(test::lastText(read), "CANNOT OPEN FILE: " + folder.path().string());
}

std::string layerRows(int layers, std::string_view resistivity = "100") {
  std::string text;
  for (int layer = 1; layer <= layers; ++layer)
    text += std::to_string(layer) + " " + std::string(resistivity) + " 2.5\n";
  return text;
}

struct ModelRead {
  files::Result result;
  ImportedModel model;
  std::string file;
};

std::unique_ptr<ModelRead> importModel(const test::TemporaryFolder& folder, const std::string& text,
                                       files::ImportColumns columns = {}) {
  auto read = std::make_unique<ModelRead>();
  read->file = (folder / "model.mdl").string();
  test::writeFile(read->file, text);
  read->result = readFlatAsciiModel(read->file, columns, 1, read->model);
  return read;
}

TEST(AsciiModelImport, MoreLayersThanTheLimitAreRefused) {
  test::TemporaryFolder folder;
  const auto read = importModel(folder, layerRows(8193));
  EXPECT_FALSE(read->result.ok);
  EXPECT_EQ(test::lastText(read->result), "MORE THAN 1000 LAYERS IN FILE: " + read->file);
}

// The native file of a model of the most layers a model may have opens again.
TEST(AsciiModelImport, ModelOfTheMostLayersSavesAndReopens) {
  test::TemporaryFolder folder;
  const auto read = importModel(folder, layerRows(core::limits::kMaxLayers));
  ASSERT_TRUE(read->result.ok) << test::lastText(read->result);
  core::CurrentSounding current;
  core::resetToDefault(current);
  current.S.model = read->model.header;
  ASSERT_TRUE(current.S.allocateModel());
  current.S.M.PAR = read->model.PAR;
  StringSink sink;
  ASSERT_TRUE(writeNativeFile(sink, current).ok);
  core::CurrentSounding again;
  MemorySource source(sink.bytes());
  const ReadResult reread = readNativeFile(source, again, "again.ZVR");
  EXPECT_TRUE(reread.ok) << test::lastText(reread);
  EXPECT_EQ(again.S.M.PAR, read->model.PAR);
}

TEST(AsciiModelImport, ResistivityColumnOfZeroIsRefused) {
  test::TemporaryFolder folder;
  files::ImportColumns columns;
  columns.modelResist = 0;
  const auto read = importModel(folder, "any text\nat all\n", columns);
  EXPECT_FALSE(read->result.ok);
  EXPECT_EQ(test::lastText(read->result), "NO COLUMN FOR RESISTIVITY: Model Resist Column=0");
}

TEST(AsciiModelImport, ResistivityThatIsNotPositiveIsRefusedWithItsRow) {
  test::TemporaryFolder folder;
  const auto read = importModel(folder, "LAYER RESISTIVITY THICKNESS\n1 100 5\n2 0 5\n3 10\n");
  EXPECT_FALSE(read->result.ok);
  EXPECT_EQ(test::lastText(read->result), "RESISTIVITY NOT POSITIVE IN ROW 3: " + read->file);
}

// The heading of an exported model names the sounding; a name that is a
// number is not a layer.
TEST(AsciiModelImport, SoundingNamedWithANumberKeepsItsLayersOverExportAndImport) {
  test::TemporaryFolder folder;
  for (const char* name : {"12", "12 5", "-3.5E2 7 8"}) {
    core::Sounding s;
    s.header = importedDataHeader(core::DataTypeText("Schlumberger Array"));
    s.header.name.assign(name);
    s.model.NLAYER = 3;
    s.model.NPK = 1;
    ASSERT_TRUE(s.allocateModel());
    s.M.PAR = {100, 10, 1000, 5, 20};
    std::ostringstream out;
    ASSERT_TRUE(writeAsciiModel(out, s));
    const auto read = importModel(folder, out.str());
    ASSERT_TRUE(read->result.ok) << test::lastText(read->result);
    EXPECT_EQ(read->model.PAR, s.M.PAR) << name;
  }
}

// A native file that repeats a data header whose arrays take a good part of
// the rest of the file: each copy used to allocate and clear that much again,
// so that twice the file took four times as long.
std::string dataHeaderFlood(std::size_t bytes) {
  std::string file(kNativeMagic);
  core::DataHeader header;
  header.NCOMP = 1, header.NGEOM = 1, header.NSETS = 1;
  header.NDATA = static_cast<std::int32_t>(bytes / 8);
  ChunkHeader chunk;
  chunk.tag = makeTag("DATAHEAD");
  chunk.version = 1;
  chunk.length = sizeof header;
  while (file.size() < bytes) {
    file.append(reinterpret_cast<const char*>(&chunk), sizeof chunk);
    file.append(reinterpret_cast<const char*>(&header), sizeof header);
  }
  return file;
}

double secondsToRead(const std::string& file) {
  core::CurrentSounding current;
  core::resetToDefault(current);
  double best = 1.0e9;
  for (int run = 0; run < 3; ++run) {
    MemorySource source(file);
    const std::clock_t start = std::clock();  // processor time: a busy machine does not count
    std::ignore = readNativeFile(source, current, "flood.ZVR");
    best = std::min(best, static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC);
  }
  return best;
}

TEST(NativeFileReader, RepeatedDataHeadersReadInTimeLinearInTheFileSize) {
  // Eight times the size: linear work takes about 8x, quadratic work 64x.
  const double small = secondsToRead(dataHeaderFlood(1 << 18));
  const double large = secondsToRead(dataHeaderFlood(1 << 21));
  EXPECT_LT(large, 20.0 * small + 0.05) << small << " s for 256 KB, " << large << " s for 2 MB";
}

}  // namespace
}  // namespace zeva::files
