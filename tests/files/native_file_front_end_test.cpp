// The file actions on real files in a temporary folder: dialog, file-name
// rules, messages, and saving that never loses the file it replaces.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "files/native_file.h"
#include "tests/files/native_file_fixtures.h"
#include "tests/support/test_support.h"
#include "tests/support/scripted_toolkit.h"

namespace zeva::files {
namespace {

namespace fs = std::filesystem;

// Records what the file dialogs were given.
class DialogToolkit : public zeva::test::ScriptedToolkit {
 public:
  std::optional<std::string> chooseFileToOpen(const ui::FileFilter& filter,
                                              std::string_view initialName) override {
    filters.emplace_back(filter.filter);
    initialNames.emplace_back(initialName);
    return ScriptedToolkit::chooseFileToOpen(filter, initialName);
  }
  std::optional<std::string> chooseFileToSave(const ui::FileFilter& filter,
                                              std::string_view initialName) override {
    filters.emplace_back(filter.filter);
    initialNames.emplace_back(initialName);
    return ScriptedToolkit::chooseFileToSave(filter, initialName);
  }
  std::vector<std::string> filters;
  std::vector<std::string> initialNames;
};

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
  FileActionResult run(std::string_view action, const NativeFileOptions& options = {}) {
    return nativeFileAction(action, current, folder.path(), toolkit, options);
  }

  test::TemporaryFolder folder;
  core::CurrentSounding current;
  DialogToolkit toolkit;
};

TEST_F(NativeFileFrontEnd, SaveThenReloadRestoresTheSoundingUnderItsName) {
  current.S.data().VOLTS(4, 0) = 61.25f;
  current.S.layer.saved = core::kFalse;
  const FileActionResult saved = run("Save");
  EXPECT_TRUE(saved.success);
  EXPECT_FALSE(saved.cancelled);
  EXPECT_EQ(saved.lastSoundingName, "Line 7");
  EXPECT_TRUE(core::isSet(current.S.layer.saved));
  EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"Line 7.ZVR"});

  core::resetToDefault(current);
  current.S.header.name.assign("Line 7");
  current.S.layer.saved = core::kFalse;
  const FileActionResult reloaded = run("Reload");
  EXPECT_TRUE(reloaded.success);
  EXPECT_TRUE(toolkit.messages.empty()) << toolkit.lastText();
  EXPECT_EQ(current.S.data().VOLTS(4, 0), 61.25f);
  EXPECT_TRUE(core::isSet(current.S.layer.saved));
  EXPECT_EQ(reloaded.lastSoundingName, "Line 7");
  EXPECT_TRUE(toolkit.fileDialogTitles.empty());  // Reload and Save ask for no file
}

class ActionSpelling : public NativeFileFrontEnd,
                       public ::testing::WithParamInterface<const char*> {};

TEST_P(ActionSpelling, IgnoresCaseAndTrailingBlanks) {
  ASSERT_TRUE(run("Save").success);
  EXPECT_TRUE(run(GetParam()).success) << toolkit.lastText();
}

INSTANTIATE_TEST_SUITE_P(Actions, ActionSpelling,
                         ::testing::Values("Reload", "RELOAD", "reload   ", "Save", "SAVE ",
                                           "sAvE"));

TEST_F(NativeFileFrontEnd, DialogsStartAtTheDefaultNameAndCancellingEndsTheAction) {
  for (const char* action : {"Open", "SaveAs"}) {
    const FileActionResult result = run(action);
    EXPECT_TRUE(result.cancelled) << action;
    EXPECT_FALSE(result.success) << action;
  }
  EXPECT_TRUE(toolkit.messages.empty());
  EXPECT_EQ(toolkit.fileDialogTitles,
            (std::vector<std::string>{"ZEVA Binary File", "ZEVA Binary File"}));
  EXPECT_EQ(toolkit.filters,
            (std::vector<std::string>{"ZEVA Binary File|*.ZVR|", "ZEVA Binary File|*.ZVR|"}));
  const std::string defaultName = (folder.path() / "Line 7.ZVR").string();
  EXPECT_EQ(toolkit.initialNames, (std::vector<std::string>{defaultName, defaultName}));
  EXPECT_TRUE(filesIn(folder.path()).empty());
}

TEST_F(NativeFileFrontEnd, SaveAsNamesTheSoundingAfterTheFileBeforeWriting) {
  toolkit.files.push_back("Profile 3.B.zvr");
  const FileActionResult result = run("saveas");
  EXPECT_TRUE(result.success);
  EXPECT_EQ(result.lastSoundingName, "Profile 3");
  EXPECT_EQ(current.S.header.name, "Profile 3");
  EXPECT_EQ(current.SM.header.name, "Profile 3");
  const std::string file = test::readFile(folder / "Profile 3.B.zvr");
  EXPECT_EQ(file.substr(8 + 20, 24), "Profile 3               ");

  toolkit.files.push_back("Station 12");  // no extension: the native one is added
  EXPECT_TRUE(run("SaveAs").success);
  EXPECT_TRUE(fs::exists(folder / "Station 12.ZVR"));
}

TEST_F(NativeFileFrontEnd, OpenReadsTheChosenFileAndTakesItsName) {
  ASSERT_TRUE(saveNativeFileAs(folder / "North-4.ZVR", current, toolkit));
  core::resetToDefault(current);
  toolkit.files.push_back((folder / "North-4.ZVR").string());
  const FileActionResult result = run("Open");
  EXPECT_TRUE(result.success);
  EXPECT_EQ(result.lastSoundingName, "North-4");
  EXPECT_EQ(current.S.header.name, "North-4");
}

TEST_F(NativeFileFrontEnd, MissingFileIsNotFound) {
  const FileActionResult result = run("Reload");
  EXPECT_FALSE(result.success);
  EXPECT_EQ(toolkit.texts(), std::vector<std::string>{"CANNOT FIND FILE: " +
                                                      (folder.path() / "Line 7.ZVR").string()});
  EXPECT_EQ(current.S.header.name, "Line 7");
}

TEST_F(NativeFileFrontEnd, FolderInPlaceOfTheFileCannotBeOpenedOrReplaced) {
  fs::create_directory(folder / "Line 7.ZVR");
  EXPECT_FALSE(run("Reload").success);
  EXPECT_FALSE(run("Save").success);
  const std::string name = (folder.path() / "Line 7.ZVR").string();
  EXPECT_EQ(toolkit.texts(),
            (std::vector<std::string>{"CANNOT OPEN FILE: " + name, "CANNOT OPEN FILE: " + name}));
}

TEST_F(NativeFileFrontEnd, ReadOnlyFileIsNotOpened) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  ASSERT_TRUE(run("Save").success);
  fs::permissions(folder / "Line 7.ZVR", fs::perms::owner_read);
  EXPECT_FALSE(run("Reload").success);
  EXPECT_EQ(toolkit.lastText(), "CANNOT OPEN FILE: " + (folder.path() / "Line 7.ZVR").string() +
                                    "\nFILE IS READ-ONLY!");
}

TEST_F(NativeFileFrontEnd, OtherFileIsRefusedAndNothingRead) {
  test::writeFile(folder / "Line 7.ZVR", "Station,AB/2,Rho\n1,2,3\n");
  EXPECT_FALSE(run("Reload").success);
  EXPECT_EQ(toolkit.texts(), std::vector<std::string>{"File is not Kelvorin Resistivity file: \n" +
                                                      (folder.path() / "Line 7.ZVR").string()});
  EXPECT_EQ(current.S.header.NDATA, 22);
  EXPECT_TRUE(core::isSet(current.S.layer.saved));
}

TEST_F(NativeFileFrontEnd, DamagedFileLeavesTheSoundingUnsaved) {
  ASSERT_TRUE(run("Save").success);
  const std::string whole = test::readFile(folder / "Line 7.ZVR");
  test::writeFile(folder / "Line 7.ZVR", whole.substr(0, 1000));
  EXPECT_FALSE(run("Reload").success);
  EXPECT_EQ(toolkit.lastText().substr(0, 34), "READ ERROR OR END OF FILE AT BYTE ");
  EXPECT_FALSE(core::isSet(current.S.layer.saved));
}

TEST_F(NativeFileFrontEnd, FileInAnotherCaseIsFoundAndReplaced) {
  toolkit.files.push_back("line 7.zvr");
  ASSERT_TRUE(run("SaveAs").success);
  current.S.header.name.assign("LINE 7");
  EXPECT_TRUE(run("Reload").success) << toolkit.lastText();
  EXPECT_EQ(current.S.header.name, "line 7");

  current.S.header.name.assign("LINE 7");
  EXPECT_TRUE(run("Save").success);
  EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"line 7.zvr"});
}

TEST_F(NativeFileFrontEnd, FailedWriteLeavesTheOldFileAndNoTemporary) {
  ASSERT_TRUE(run("Save").success);
  const std::string before = test::readFile(folder / "Line 7.ZVR");
  current.S.data().VOLTS(0, 0) = 1.0f;
  current.S.layer.saved = core::kFalse;

  NativeFileOptions failing;
  failing.wrapSink = [](ByteSink& file) { return std::make_unique<FailingAfter>(file, 500); };
  const FileActionResult result = run("Save", failing);
  EXPECT_FALSE(result.success);
  // Magic 8, data header 20 + 340, two layer headers 20 + 36 each: the model
  // header's chunk header ends at byte 500 and its 32-byte payload is lost.
  EXPECT_EQ(toolkit.texts(), std::vector<std::string>{"WRITE ERROR AT BYTE 00000500:       32"});
  EXPECT_FALSE(core::isSet(current.S.layer.saved));
  EXPECT_EQ(test::readFile(folder / "Line 7.ZVR"), before);
  EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"Line 7.ZVR"});
}

TEST_F(NativeFileFrontEnd, UnwritableFolderLeavesTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  ASSERT_TRUE(run("Save").success);
  const std::string before = test::readFile(folder / "Line 7.ZVR");
  current.S.layer.saved = core::kFalse;
  fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(run("Save").success);
  fs::permissions(folder.path(), fs::perms::owner_all);
  EXPECT_EQ(toolkit.texts(), std::vector<std::string>{"CANNOT OPEN FILE: " +
                                                      (folder.path() / "Line 7.ZVR").string()});
  EXPECT_EQ(test::readFile(folder / "Line 7.ZVR"), before);
  EXPECT_FALSE(core::isSet(current.S.layer.saved));
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
