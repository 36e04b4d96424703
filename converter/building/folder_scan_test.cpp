#include <algorithm>
#include <fstream>
#include <filesystem>
#include <gtest/gtest.h>

#include "fake_folders.h"
#include "text/path.h"
#include "building/folder_scan.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

using Strings = std::vector<std::string>;
constexpr char sep = path::separator();

bool accepts(const Strings& extensions, const std::string& path) {
  return acceptsFile(extensions, path);
}

TEST(AcceptsFile, ComparesTheTextAfterTheLastDotIgnoringCase) {
  EXPECT_TRUE(accepts({"c", "h"}, "MAIN.C"));
  EXPECT_TRUE(accepts({"c", "h"}, "dir/util.h"));
  EXPECT_TRUE(accepts({"C"}, "x.c"));
  EXPECT_FALSE(accepts({"c", "h"}, "util.hpp"));
  EXPECT_FALSE(accepts({"c", "h"}, "main.c.bak"));
  EXPECT_FALSE(accepts({".c"}, "main.c"));
  EXPECT_FALSE(accepts({" c"}, "main.c"));
  EXPECT_TRUE(accepts({}, "Makefile"));
  EXPECT_TRUE(accepts({"1/Makefile"}, "ws.1/Makefile")) << "the folder's dot counts";
  EXPECT_TRUE(accepts({"Makefile"}, "Makefile")) << "no dot: the whole path";
  EXPECT_TRUE(accepts({""}, "trailing.")) << "an empty extension matches an empty one";
  EXPECT_FALSE(accepts({"\xE9"}, "x.\xC9")) << "only ASCII letters are folded";
}

Strings names(const FileGroup& group) {
  Strings result;
  for (const auto& sub : group.subGroups) result.push_back(sub->name);
  return result;
}

// The scan's own rules, on folders in memory.
class ScanRules : public ::testing::Test {
 protected:
  void scan(const std::string& folder, bool descend) {
    FolderScan{folders.lister(), extensions}.scan(FakeFolders::native(folder), group, descend);
  }
  std::string at(const std::string& path) const { return FakeFolders::native(path); }

  FakeFolders folders;
  Strings extensions;
  FileGroup group{"g"};
};

TEST_F(ScanRules, WorkspaceFolderIsNotDescended) {
  for (const char* file : {"d/b.c", "d/.hidden", "d/a", "d/sub/deep.c"}) folders.file(file);
  scan("d", false);
  EXPECT_EQ(group.files, (Strings{at("d/.hidden"), at("d/a"), at("d/b.c")}));
  EXPECT_TRUE(group.subGroups.empty());
}

TEST_F(ScanRules, ScanningTwiceListsTwice) {
  folders.file("d/x.c");
  scan("d", false);
  scan("d", false);
  EXPECT_EQ(group.files, (Strings{at("d/x.c"), at("d/x.c")}));
}

TEST_F(ScanRules, SubFoldersBecomeNestedGroupsWithoutEmptyOnes) {
  extensions = {"c"};
  for (const char* file : {"d/lib.c", "d/src/a.c", "d/src/core/b.c", "d/src/core/notes.txt",
                           "d/src/empty/notes.txt", "d/tests/only/deep/t.c"}) {
    folders.file(file);
  }
  folders.folder("d/src/none/deeper/still");
  folders.folderLink("d/src/loop");
  scan("d", true);

  EXPECT_EQ(group.files, (Strings{at("d/lib.c")}));
  ASSERT_EQ(names(group), (Strings{"src", "tests"}));
  const FileGroup& src = *group.subGroups[0];
  EXPECT_EQ(src.files, (Strings{at("d/src/a.c")}));
  ASSERT_EQ(names(src), (Strings{"core"}));
  EXPECT_EQ(src.subGroups[0]->files, (Strings{at("d/src/core/b.c")}));
  const FileGroup& tests = *group.subGroups[1];
  EXPECT_TRUE(tests.files.empty());
  ASSERT_EQ(names(tests), (Strings{"only"}));
  ASSERT_EQ(names(*tests.subGroups[0]), (Strings{"deep"}));
}

TEST(ScanDepth, TenThousandNestedFoldersAreScannedWithoutRecursion) {
  // Each folder holds one sub-folder down to the last, which holds a file.
  constexpr std::size_t depth = 10000;
  const FolderLister chain = [](const std::string& folder, std::vector<ListedEntry>& entries) {
    const auto level = static_cast<std::size_t>(std::count(folder.begin(), folder.end(), sep));
    if (level < depth) entries.push_back({"s", EntryKind::Folder});
    else entries.push_back({"leaf.c", EntryKind::File});
    return true;
  };
  FileGroup group{"g"};
  FolderScan{chain, {}}.scan("d", group, true);
  std::size_t levels = 0;
  const FileGroup* g = &group;
  for (; !g->subGroups.empty(); g = g->subGroups[0].get()) ++levels;
  EXPECT_EQ(levels, depth);
  EXPECT_EQ(g->files.size(), 1u);
}

// The system's listing behind the scan.
class FolderScanTest : public ::testing::Test {
 protected:
  std::string at(const std::string& relative) const {
    return dir.str() + sep + fs::path(relative).make_preferred().string();
  }
  void scan(const std::string& folder, bool descend) {
    FolderScan{systemFolderLister(), extensions}.scan(folder, group, descend);
  }
  TempDir dir;
  Strings extensions;
  FileGroup group{"g"};
};

TEST_F(FolderScanTest, TheSystemListingInByteOrderWithHiddenFiles) {
  dir.writeFile("b.c", "");
  dir.writeFile(".hidden", "");
  dir.writeFile("a", "");
  dir.writeFile("sub/deep.c", "");
  scan(dir.str(), true);
  EXPECT_EQ(group.files, (Strings{at(".hidden"), at("a"), at("b.c")}));
  ASSERT_EQ(names(group), (Strings{"sub"}));
  EXPECT_EQ(group.subGroups[0]->files, (Strings{at("sub/deep.c")}));
}

TEST_F(FolderScanTest, MissingFolderAddsNothing) {
  scan(at("none"), true);
  dir.writeFile("file.c", "");
  scan(at("file.c"), true);
  EXPECT_TRUE(group.files.empty());
  EXPECT_TRUE(group.subGroups.empty());
}

TEST_F(FolderScanTest, SymbolicLinksToFoldersAreNotFollowed) {
  dir.writeFile("real/r.c", "");
  std::error_code error;
  fs::create_directory_symlink(dir.path(), dir.path() / "real" / "loop", error);
  fs::create_symlink(dir.path() / "real" / "r.c", dir.path() / "link.c", error);
  if (error) GTEST_SKIP() << "this system cannot make symbolic links: " << error.message();
  scan(dir.str(), true);
  EXPECT_EQ(group.files, (Strings{at("link.c")}));
  ASSERT_EQ(names(group), (Strings{"real"}));
  EXPECT_EQ(group.subGroups[0]->files, (Strings{at("real/r.c")}));
  EXPECT_TRUE(group.subGroups[0]->subGroups.empty());
}

// A link that names nothing is a file of the default scan, as anything
// that is no folder has always been, and none of the real-project mode's.
TEST_F(FolderScanTest, ADanglingLinkIsAFileOfTheDefaultScanOnly) {
  dir.writeFile("real.c", "");
  std::error_code error;
  fs::create_symlink(dir.path() / "gone.c", dir.path() / "dangling.c", error);
  fs::create_symlink(dir.path() / "real.c", dir.path() / "link.c", error);
  if (error) GTEST_SKIP() << "this system cannot make symbolic links: " << error.message();
  for (const bool danglingLinksAreFiles : {true, false}) {
    FolderScan scan{systemFolderLister(), extensions};
    scan.danglingLinksAreFiles = danglingLinksAreFiles;
    FileGroup listed{"g"};
    scan.scan(dir.str(), listed, true);
    const Strings expected = danglingLinksAreFiles
                                 ? Strings{at("dangling.c"), at("link.c"), at("real.c")}
                                 : Strings{at("link.c"), at("real.c")};
    EXPECT_EQ(listed.files, expected) << danglingLinksAreFiles;
  }
}

TEST_F(FolderScanTest, DeepTreeDoesNotExhaustTheStack) {
  // Relative steps keep each system call's path short, whatever the depth.
  fs::path deep = dir.path();
  const fs::path previous = fs::current_path();
  fs::current_path(dir.path());
  const int depth = 1500;
  for (int i = 0; i < depth; ++i) {
    fs::create_directory("d");
    fs::current_path("d");
  }
  std::ofstream("leaf.c").put('x');
  fs::current_path(previous);
  scan(dir.str(), true);
  // The system may refuse paths past its length limit; whatever was reached
  // is one chain of single groups.
  int levels = 0;
  for (const FileGroup* g = &group; !g->subGroups.empty(); g = g->subGroups[0].get()) {
    ASSERT_EQ(g->subGroups.size(), 1u);
    ++levels;
  }
  EXPECT_TRUE(levels == 0 || levels == depth);
}

}  // namespace
