// absolutePath with Windows paths: drive letters, rooted and network paths,
// and the directory that each drive keeps for itself.
#include "driver/absolute_path.h"

#include <filesystem>
#include <memory>
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "temp_dir.h"
#include "windows_fixtures.h"

namespace fs = std::filesystem;

namespace {

std::string currentDirectory() {
  std::string current;
  platform::currentDirectory(current);
  return current;
}

// Each test starts in a folder "work" of its own on drive C: and ends where
// the process was before.
class WindowsPaths : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = currentDirectory();
    dir.makeFolder("work");
    work = dir.str("work");
    ASSERT_EQ(work.substr(0, 3), "C:\\") << "the temporary folder is expected on drive C:";
    fs::current_path(work);
  }
  void TearDown() override { fs::current_path(previous); }

  TempDir dir;
  std::string previous;
  std::string work;
};

TEST_F(WindowsPaths, AbsoluteRootedAndNetworkPathsStayAsTyped) {
  for (const std::string path :
       {"C:\\proj\\.project", "\\proj\\.project", "\\\\server\\share\\.project", "D:\\x"}) {
    EXPECT_EQ(absolutePath(path), path);
  }
}

TEST_F(WindowsPaths, RelativePathsGoBelowTheCurrentDirectory) {
  EXPECT_EQ(absolutePath("proj\\.project"), work + "\\proj\\.project");
  EXPECT_EQ(absolutePath("."), work);
  EXPECT_EQ(absolutePath(""), work + "\\");
  EXPECT_EQ(absolutePath("..\\x"), work + "\\..\\x");
  // "/" is an ordinary character here, not a separator.
  EXPECT_EQ(absolutePath("a/b"), work + "\\a/b");
  EXPECT_EQ(absolutePath("/x"), work + "\\/x");
}

TEST_F(WindowsPaths, CurrentDriveWithoutSeparatorIsDriveRelative) {
  // C:/x has no "\" after the colon, so it is relative to drive C:'s own
  // directory, which is the current one.
  EXPECT_EQ(absolutePath("C:/x"), work + "\\/x");
  EXPECT_EQ(absolutePath("c:x"), work + "\\x");
  EXPECT_EQ(absolutePath("C:"), work + "\\");
}

TEST_F(WindowsPaths, DriveRootAsCurrentDirectoryDoublesTheSeparator) {
  fs::current_path("C:\\");
  EXPECT_EQ(absolutePath("x"), "C:\\\\x");
  EXPECT_EQ(absolutePath("."), "C:\\");
}

// Drive D: of the test's own, showing a temporary folder that holds data\sub\f.
class OtherDrive : public WindowsPaths {
 protected:
  void SetUp() override {
    WindowsPaths::SetUp();
    if (HasFatalFailure()) return;
    dir.writeFile("drive/data/sub/f", "content of f");
    drive = std::make_unique<MappedDrive>('D', dir.str("drive"));
    ASSERT_TRUE(drive->made()) << "drive D: is taken or cannot be made; these tests need it free";
  }
  void TearDown() override {
    setDriveDirectory('D', "");
    drive.reset();
    WindowsPaths::TearDown();
  }
  std::unique_ptr<MappedDrive> drive;
};

TEST_F(OtherDrive, DriveRelativePathsUseTheDrivesOwnDirectory) {
  setDriveDirectory('D', "D:\\data");

  const std::string resolved = absolutePath("D:sub\\f");
  EXPECT_EQ(resolved, "D:\\data\\sub\\f");
  EXPECT_EQ(absolutePath("d:sub\\f"), "D:\\data\\sub\\f");
  EXPECT_EQ(absolutePath("D:"), "D:\\data\\");
  // The process stays on its own drive and folder.
  EXPECT_EQ(currentDirectory(), work);

  // The system resolves the path the same way, and it names the real file.
  EXPECT_EQ(fs::absolute("D:sub\\f").string(), resolved);
  EXPECT_EQ(readFile(fs::path(resolved)), "content of f");
}

TEST_F(OtherDrive, ADriveWithoutItsOwnDirectoryUsesItsRoot) {
  EXPECT_EQ(absolutePath("D:data\\sub\\f"), "D:\\\\data\\sub\\f");
  EXPECT_EQ(readFile(fs::path(absolutePath("D:data\\sub\\f"))), "content of f");
  EXPECT_EQ(currentDirectory(), work);
}

}  // namespace
