// The folder scan on Windows: file attributes, the system's listing order,
// links to folders and folder paths that end in "\".
#include <gtest/gtest.h>

#include "building/folder_scan.h"
#include "model/file_group.h"
#include "temp_dir.h"
#include "windows_fixtures.h"

namespace {

using Strings = std::vector<std::string>;

class WindowsFolderScan : public ::testing::Test {
 protected:
  void TearDown() override {
    // TempDir cannot remove read-only files on Windows.
    for (const char* name : {"ws\\readonly.C", "ws\\Lib\\both.c"}) {
      setFileAttributes(dir.str(name), 0);
    }
  }
  std::string ws(const std::string& name) const { return dir.str("ws") + "\\" + name; }

  TempDir dir;
  FolderScan scan{systemFolderLister(), {}};
  FileGroup group{"g"};
};

TEST_F(WindowsFolderScan, AttributesHideNothingAndTheSystemOrderIsKept) {
  for (const char* name : {"zeta.c", "hidden.c", "readonly.C", "system.c", "Alpha.c", "notes.txt"}) {
    dir.writeFile(std::string("ws/") + name, "");
  }
  dir.writeFile("ws/Lib/both.c", "");
  ASSERT_TRUE(setFileAttributes(ws("hidden.c"), Hidden));
  ASSERT_TRUE(setFileAttributes(ws("readonly.C"), ReadOnly));
  ASSERT_TRUE(setFileAttributes(ws("system.c"), System));
  ASSERT_TRUE(setFileAttributes(ws("Lib\\both.c"), Hidden | ReadOnly));
  scan.fileExtensions = {"c"};

  scan.scan(dir.str("ws"), group, true);
  // Names in the listing's order (sorted without regard to case, as NTFS
  // does), no "." or "..", extensions matched without regard to case.
  EXPECT_EQ(group.files, (Strings{ws("Alpha.c"), ws("hidden.c"), ws("readonly.C"),
                                  ws("system.c"), ws("zeta.c")}));
  ASSERT_EQ(group.subGroups.size(), 1u);
  EXPECT_EQ(group.subGroups[0]->files, Strings{ws("Lib\\both.c")});
}

TEST_F(WindowsFolderScan, LinksToFoldersAreNeitherFilesNorDescended) {
  dir.writeFile("ws/main.c", "");
  dir.writeFile("elsewhere/far.c", "");
  const FolderLink link(ws("linked"), dir.str("elsewhere"));
  ASSERT_TRUE(link.made());
  scan.scan(dir.str("ws"), group, true);
  EXPECT_EQ(group.files, Strings{ws("main.c")});
  EXPECT_TRUE(group.subGroups.empty());
}

TEST_F(WindowsFolderScan, AFolderGivenWithItsSeparatorDoublesItInThePaths) {
  dir.writeFile("ws/main.c", "");
  scan.scan(dir.str("ws") + "\\", group, false);
  EXPECT_EQ(group.files, Strings{dir.str("ws") + "\\\\main.c"});
}

TEST_F(WindowsFolderScan, AMissingFolderOrAFileAddsNothing) {
  dir.writeFile("ws/main.c", "");
  scan.scan(ws("missing"), group, true);
  scan.scan(ws("main.c"), group, true);
  EXPECT_TRUE(group.files.empty());
  EXPECT_TRUE(group.subGroups.empty());
}

}  // namespace
