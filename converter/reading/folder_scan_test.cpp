#include <fstream>
#include <filesystem>
#include <gtest/gtest.h>

#include "driver/conversion_job.h"
#include "platform/platform.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

using Strings = std::vector<std::string>;
constexpr char sep = platform::separator;

bool accepts(const Strings& extensions, const std::string& path) {
  ConversionJob job("p", "w", "ws", "d");
  job.fileExtensions = extensions;
  return job.acceptsFile(path);
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

class FolderScanTest : public ::testing::Test {
 protected:
  std::string at(const std::string& relative) const {
    return dir.str() + sep + fs::path(relative).make_preferred().string();
  }
  Strings names(const FileGroup& group) const {
    Strings result;
    for (const auto& sub : group.subGroups) result.push_back(sub->name);
    return result;
  }
  TempDir dir;
  ConversionJob job{"p", "w", "ws", "d"};
  FileGroup group{"g", job};
};

TEST_F(FolderScanTest, WorkspaceFolderIsNotDescended) {
  dir.writeFile("b.c", "");
  dir.writeFile(".hidden", "");
  dir.writeFile("a", "");
  dir.writeFile("sub/deep.c", "");
  job.scanFolder(dir.str(), group, false);
  EXPECT_EQ(group.files, (Strings{at(".hidden"), at("a"), at("b.c")}));
  EXPECT_TRUE(group.subGroups.empty());
}

TEST_F(FolderScanTest, MissingFolderAddsNothing) {
  job.scanFolder(at("none"), group, true);
  dir.writeFile("file.c", "");
  job.scanFolder(at("file.c"), group, true);
  EXPECT_TRUE(group.files.empty());
  EXPECT_TRUE(group.subGroups.empty());
}

TEST_F(FolderScanTest, ScanningTwiceListsTwice) {
  dir.writeFile("x.c", "");
  job.scanFolder(dir.str(), group, false);
  job.scanFolder(dir.str(), group, false);
  EXPECT_EQ(group.files, (Strings{at("x.c"), at("x.c")}));
}

TEST_F(FolderScanTest, SubFoldersBecomeNestedGroupsWithoutEmptyOnes) {
  job.fileExtensions = {"c"};
  dir.writeFile("lib.c", "");
  dir.writeFile("src/a.c", "");
  dir.writeFile("src/core/b.c", "");
  dir.writeFile("src/core/notes.txt", "");
  dir.writeFile("src/empty/notes.txt", "");
  dir.makeFolder("src/none/deeper/still");
  dir.writeFile("tests/only/deep/t.c", "");
  job.scanFolder(dir.str(), group, true);

  EXPECT_EQ(group.files, (Strings{at("lib.c")}));
  ASSERT_EQ(names(group), (Strings{"src", "tests"}));
  const FileGroup& src = *group.subGroups[0];
  EXPECT_EQ(src.files, (Strings{at("src/a.c")}));
  ASSERT_EQ(names(src), (Strings{"core"}));
  EXPECT_EQ(src.subGroups[0]->files, (Strings{at("src/core/b.c")}));
  const FileGroup& tests = *group.subGroups[1];
  EXPECT_TRUE(tests.files.empty());
  ASSERT_EQ(names(tests), (Strings{"only"}));
  ASSERT_EQ(names(*tests.subGroups[0]), (Strings{"deep"}));
  EXPECT_EQ(&tests.subGroups[0]->owner, &job);
}

TEST_F(FolderScanTest, SymbolicLinksToFoldersAreNotFollowed) {
  dir.writeFile("real/r.c", "");
  std::error_code error;
  fs::create_directory_symlink(dir.path(), dir.path() / "real" / "loop", error);
  fs::create_symlink(dir.path() / "real" / "r.c", dir.path() / "link.c", error);
  if (error) GTEST_SKIP() << "this system cannot make symbolic links: " << error.message();
  job.scanFolder(dir.str(), group, true);
  EXPECT_EQ(group.files, (Strings{at("link.c")}));
  ASSERT_EQ(names(group), (Strings{"real"}));
  EXPECT_EQ(group.subGroups[0]->files, (Strings{at("real/r.c")}));
  EXPECT_TRUE(group.subGroups[0]->subGroups.empty());
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
  job.scanFolder(dir.str(), group, true);
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
