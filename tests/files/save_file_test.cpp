// Saving through a temporary file: a save that fails at any point leaves the
// old file byte for byte and no temporary file behind.

#include "files/save_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace zeva::files {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> filesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::ranges::sort(names);
  return names;
}

StreamWriter writing(const std::string& text) {
  return [text](std::ostream& out) { return static_cast<bool>(out << text); };
}

class SaveFileTest : public ::testing::Test {
 protected:
  void SetUp() override { test::writeFile(target, kOld); }
  // The old file is there as it was, and nothing else is.
  void expectOldFileAlone() {
    EXPECT_EQ(test::readFile(target), kOld);
    EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"plot.txt"});
  }

  const std::string kOld = "the old contents\n";
  test::TemporaryFolder folder;
  fs::path target = folder / "plot.txt";
};

TEST_F(SaveFileTest, ReplacesTheOldFileAndLeavesNoTemporary) {
  EXPECT_TRUE(saveStream(target, writing("new\n")).saved());
  EXPECT_EQ(test::readFile(target), "new\n");
  EXPECT_EQ(filesIn(folder.path()), std::vector<std::string>{"plot.txt"});
}

TEST_F(SaveFileTest, CreatesAFileThatWasNotThere) {
  EXPECT_TRUE(saveStream(folder / "new.txt", writing("first\n")).saved());
  EXPECT_EQ(test::readFile(folder / "new.txt"), "first\n");
}

TEST_F(SaveFileTest, WriterFailingHalfwayLeavesTheOldFile) {
  const SaveResult result = saveStream(target, [](std::ostream& out) {
    out << "half of the new";
    return false;
  });
  EXPECT_EQ(result.status, SaveStatus::WriteFailed);
  expectOldFileAlone();
}

TEST_F(SaveFileTest, WriterThrowingHalfwayLeavesTheOldFile) {
  EXPECT_THROW((void)saveFile(target,
                              [](const fs::path& temporary) -> bool {
                                std::ofstream(temporary) << "half of the new";
                                throw std::runtime_error("drawing failed");
                              }),
               std::runtime_error);
  expectOldFileAlone();
}

TEST_F(SaveFileTest, StreamThatFailsCountsAsAFailedWrite) {
  const SaveResult result = saveStream(target, [](std::ostream& out) {
    out << "part";
    out.setstate(std::ios::badbit);
    return true;
  });
  EXPECT_EQ(result.status, SaveStatus::WriteFailed);
  expectOldFileAlone();
}

TEST_F(SaveFileTest, WriterSeesAnEmptyFileBesideTheTarget) {
  ASSERT_TRUE(saveFile(target, [&](const fs::path& temporary) {
                EXPECT_EQ(temporary.parent_path(), folder.path());
                EXPECT_NE(temporary, target);
                EXPECT_EQ(fs::file_size(temporary), 0u);
                return static_cast<bool>(std::ofstream(temporary) << "x");
              }).saved());
  EXPECT_EQ(test::readFile(target), "x");
}

TEST_F(SaveFileTest, FolderInPlaceOfTheTargetIsNotReplaced) {
  fs::create_directory(folder / "dir");
  bool called = false;
  const SaveResult result =
      saveFile(folder / "dir", [&](const fs::path&) { return called = true; });
  EXPECT_EQ(result.status, SaveStatus::CannotCreate);
  EXPECT_FALSE(called);
  EXPECT_TRUE(fs::is_directory(folder / "dir"));
}

TEST_F(SaveFileTest, UnwritableFolderLeavesTheOldFile) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
  const SaveResult result = saveStream(target, writing("new\n"));
  fs::permissions(folder.path(), fs::perms::owner_all);
  EXPECT_EQ(result.status, SaveStatus::CannotCreate);
  expectOldFileAlone();
}

TEST_F(SaveFileTest, ReplacedFileKeepsItsPermissions) {
  const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(target, perms);
  ASSERT_TRUE(saveStream(target, writing("new\n")).saved());
  EXPECT_EQ(fs::status(target).permissions(), perms);
}

TEST_F(SaveFileTest, ReadOnlyFileIsReplacedAndStaysReadOnly) {
  fs::permissions(target, fs::perms::owner_read);
  ASSERT_TRUE(saveStream(target, writing("new\n")).saved());
  EXPECT_EQ(test::readFile(target), "new\n");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read);
}

TEST_F(SaveFileTest, LinkKeepsLeadingToTheReplacedFile) {
  fs::create_symlink("plot.txt", folder / "link.txt");
  ASSERT_TRUE(saveStream(folder / "link.txt", writing("new\n")).saved());
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / "link.txt")));
  EXPECT_EQ(test::readFile(target), "new\n");
}

TEST_F(SaveFileTest, FixedTemporaryIsHandedToTheWriterAndRenamed) {
  const fs::path fixed = folder / "plot.new";
  test::writeFile(fixed, "left by an earlier run\n");
  SaveOptions options;
  options.temporary = fixed;
  ASSERT_TRUE(saveFile(
                  target,
                  [&](const fs::path& temporary) {
                    EXPECT_EQ(temporary, fixed);
                    return static_cast<bool>(std::ofstream(temporary, std::ios::app) << "new\n");
                  },
                  options)
                  .saved());
  EXPECT_EQ(test::readFile(target), "left by an earlier run\nnew\n");
  EXPECT_FALSE(fs::exists(fixed));
}

}  // namespace
}  // namespace zeva::files
