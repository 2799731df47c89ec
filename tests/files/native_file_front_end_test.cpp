// Open, Save and Save As on real files in a temporary folder: file-name
// rules, messages, and saving that never loses the file it replaces.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "files/native_file.h"
#include "tests/files/native_file_fixtures.h"
#include "tests/support/result_texts.h"
#include "tests/support/test_support.h"

namespace zeva::files {
namespace {

namespace fs = std::filesystem;

// Passes the first `capacity` bytes to the file, then fails.
class FailingAfter : public ByteSink {
 public:
  FailingAfter(ByteSink& file, std::int64_t capacity) : file_(file), capacity_(capacity) {}
  std::size_t write(std::span<const std::byte> bytes) override {
    const auto room = static_cast<std::size_t>(std::max<std::int64_t>(capacity_ - position(), 0));
    const std::size_t count = std::min(room, bytes.size());
    return file_.write(bytes.first(count)) + (bytes.size() - count);
  }
  std::int64_t position() const override { return file_.position(); }

 private:
  ByteSink& file_;
  std::int64_t capacity_;
};

std::vector<std::string> filesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::ranges::sort(names);
  return names;
}

class NativeFileFrontEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    core::resetToDefault(current);
    current.S.header.name.assign("Line 7");
  }
  // Each step keeps its messages in `texts`, in order.
  bool kept(Result result) {
    for (const std::string& text : test::texts(result)) texts.push_back(text);
    return result.ok;
  }
  bool save(const NativeFileOptions& options = {}) {
    return kept(saveNativeFile(folder.path(), current, options));
  }
  bool reload() { return kept(openNativeFile(defaultNativeFile(current, folder.path()), current)); }
  bool saveAs(const std::string& name) { return kept(saveNativeFileAs(folder / name, current)); }

  test::TemporaryFolder folder;
  core::CurrentSounding current;
  std::vector<std::string> texts;
};

TEST_F(NativeFileFrontEnd, SaveThenReloadRestoresTheSoundingUnderItsName) {
  current.S.data().VOLTS(4, 0) = 61.25f;
  current.S.layer.saved = core::kFalse;
  EXPECT_TRUE(save());
  EXPECT_EQ(current.S.header.name, "Line 7");
  EXPECT_TRUE(core::isSet(current.S.layer.saved));
  EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"Line 7.ZVR"});

  core::resetToDefault(current);
  current.S.header.name.assign("Line 7");
  current.S.layer.saved = core::kFalse;
  EXPECT_TRUE(reload());
  EXPECT_TRUE(texts.empty());
  EXPECT_EQ(current.S.data().VOLTS(4, 0), 61.25f);
  EXPECT_TRUE(core::isSet(current.S.layer.saved));
  EXPECT_EQ(current.S.header.name, "Line 7");
}

TEST_F(NativeFileFrontEnd, SaveAsNamesTheSoundingAfterTheFileBeforeWriting) {
  EXPECT_TRUE(saveAs("Profile 3.B.zvr"));
  EXPECT_EQ(current.S.header.name, "Profile 3");
  EXPECT_EQ(current.SM.header.name, "Profile 3");
  const std::string file = test::readFile(folder / "Profile 3.B.zvr");
  EXPECT_EQ(file.substr(8 + 20, 24), "Profile 3               ");
}

TEST_F(NativeFileFrontEnd, OpenReadsTheFileAndTakesItsName) {
  ASSERT_TRUE(saveAs("North-4.ZVR"));
  core::resetToDefault(current);
  EXPECT_TRUE(kept(openNativeFile(folder / "North-4.ZVR", current)));
  EXPECT_EQ(current.S.header.name, "North-4");
}

TEST_F(NativeFileFrontEnd, MissingFileIsNotFound) {
  EXPECT_FALSE(reload());
  EXPECT_EQ(texts, std::vector<std::string>{"CANNOT FIND FILE: " +
                                            (folder.path() / "Line 7.ZVR").string()});
  EXPECT_EQ(current.S.header.name, "Line 7");
}

TEST_F(NativeFileFrontEnd, FolderInPlaceOfTheFileCannotBeOpenedOrReplaced) {
  fs::create_directory(folder / "Line 7.ZVR");
  EXPECT_FALSE(reload());
  EXPECT_FALSE(save());
  const std::string name = (folder.path() / "Line 7.ZVR").string();
  EXPECT_EQ(texts,
            (std::vector<std::string>{"CANNOT OPEN FILE: " + name, "CANNOT OPEN FILE: " + name}));
}

TEST_F(NativeFileFrontEnd, ReadOnlyFileIsNotOpened) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  ASSERT_TRUE(save());
  fs::permissions(folder / "Line 7.ZVR", fs::perms::owner_read);
  EXPECT_FALSE(reload());
  EXPECT_EQ(texts.back(), "CANNOT OPEN FILE: " + (folder.path() / "Line 7.ZVR").string() +
                              "\nFILE IS READ-ONLY!");
}

TEST_F(NativeFileFrontEnd, OtherFileIsRefusedAndNothingRead) {
  test::writeFile(folder / "Line 7.ZVR", "Station,AB/2,Rho\n1,2,3\n");
  const Result opened = openNativeFile(folder / "Line 7.ZVR", current);
  EXPECT_FALSE(opened.ok);
  // The file's messages are shown in the information box.
  EXPECT_EQ(opened.messages, (std::vector<Message>{{MessageKind::Information,
                                                    "File is not Kelvorin Resistivity file: \n" +
                                                        (folder.path() / "Line 7.ZVR").string(),
                                                    ""}}));
  EXPECT_EQ(current.S.header.NDATA, 22);
  EXPECT_TRUE(core::isSet(current.S.layer.saved));
}

TEST_F(NativeFileFrontEnd, DamagedFileLeavesTheSoundingUnsaved) {
  ASSERT_TRUE(save());
  const std::string whole = test::readFile(folder / "Line 7.ZVR");
  test::writeFile(folder / "Line 7.ZVR", whole.substr(0, 1000));
  EXPECT_FALSE(reload());
  EXPECT_EQ(texts.back().substr(0, 34), "READ ERROR OR END OF FILE AT BYTE ");
  EXPECT_FALSE(core::isSet(current.S.layer.saved));
}

TEST_F(NativeFileFrontEnd, FileInAnotherCaseIsFoundAndReplaced) {
  ASSERT_TRUE(saveAs("line 7.zvr"));
  current.S.header.name.assign("LINE 7");
  EXPECT_TRUE(reload()) << texts.back();
  EXPECT_EQ(current.S.header.name, "line 7");

  current.S.header.name.assign("LINE 7");
  EXPECT_TRUE(save());
  EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"line 7.zvr"});
  EXPECT_EQ(current.S.header.name, "line 7");
}

TEST_F(NativeFileFrontEnd, FailedWriteLeavesTheOldFileAndNoTemporary) {
  ASSERT_TRUE(save());
  const std::string before = test::readFile(folder / "Line 7.ZVR");
  current.S.data().VOLTS(0, 0) = 1.0f;
  current.S.layer.saved = core::kFalse;

  NativeFileOptions failing;
  failing.wrapSink = [](ByteSink& file) { return std::make_unique<FailingAfter>(file, 500); };
  EXPECT_FALSE(save(failing));
  // Magic 8, data header 20 + 340, two layer headers 20 + 36 each: the model
  // header's chunk header ends at byte 500 and its 32-byte payload is lost.
  EXPECT_EQ(texts, std::vector<std::string>{"WRITE ERROR AT BYTE 00000500:       32"});
  EXPECT_FALSE(core::isSet(current.S.layer.saved));
  EXPECT_EQ(test::readFile(folder / "Line 7.ZVR"), before);
  EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"Line 7.ZVR"});
}

TEST(SoundingNameFromFile, IsTheBaseNameUpToTheFirstDotCutTo24) {
  EXPECT_EQ(soundingNameFromFile("C:\\DATA\\LINE7.ZVR"), "LINE7");
  EXPECT_EQ(soundingNameFromFile("/home/field/2024/a.b.ZVR"), "a");
  EXPECT_EQ(soundingNameFromFile("mixed\\dir/Sounding 4.ZVR"), "Sounding 4");
  EXPECT_EQ(soundingNameFromFile("no extension"), "no extension");
  EXPECT_EQ(soundingNameFromFile("/x/A twenty-five char name.ZVR"), "A twenty-five char name");
  EXPECT_EQ(soundingNameFromFile("/x/Twenty-five characters!.ZVR"), "Twenty-five characters!");
  EXPECT_EQ(soundingNameFromFile("/x/Twenty-six characters long.ZVR"), "Twenty-six characters lo");
}

}  // namespace
}  // namespace zeva::files
