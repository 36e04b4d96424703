#include "driver/absolute_path.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

#include "platform/platform.h"
#include "temp_dir.h"
#include "text/path.h"

namespace fs = std::filesystem;

namespace {

constexpr char sep = path::separator();

// Runs each test with a known current directory and restores the old one.
class AbsolutePathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = fs::current_path();
    fs::current_path(dir.path());
    platform::currentDirectory(cwd);
  }
  void TearDown() override { fs::current_path(previous); }

  TempDir dir;
  fs::path previous;
  std::string cwd;
};

TEST_F(AbsolutePathTest, RelativePathsGoBelowTheCurrentDirectory) {
  EXPECT_EQ(absolutePath("proj" + std::string(1, sep) + ".project"),
            cwd + sep + "proj" + sep + ".project");
  EXPECT_EQ(absolutePath("."), cwd);
  EXPECT_EQ(absolutePath(""), cwd + sep);
  // Nothing is collapsed or tidied.
  const std::string up = std::string("..") + sep + "x";
  EXPECT_EQ(absolutePath(up), cwd + sep + up);
  EXPECT_EQ(absolutePath("./a"), cwd + sep + "./a");
}

TEST_F(AbsolutePathTest, PathsFromTheRootStayAsTyped) {
  const std::string rooted = std::string(1, sep) + "proj" + sep + ".project";
  EXPECT_EQ(absolutePath(rooted), rooted);
  const std::string network = std::string(2, sep) + "server" + sep + "share";
  EXPECT_EQ(absolutePath(network), network);
}

TEST_F(AbsolutePathTest, CurrentDirectoryLongerThan255Characters) {
  // 257 characters: past a 256-byte buffer, yet within the 258 that Windows
  // allows for a current directory.
  const std::size_t length = 257;
  fs::path deep = dir.path();
  while (deep.string().size() + 1 + 40 < length) deep /= std::string(40, 'd');
  deep /= std::string(length - deep.string().size() - 1, 'e');
  fs::create_directories(deep);
  fs::current_path(deep);
  std::string current;
  ASSERT_TRUE(platform::currentDirectory(current));
  ASSERT_EQ(current.size(), length);
  EXPECT_EQ(absolutePath("x"), current + sep + "x");
}

// Many paths made absolute against one reading of the current directory
// give what one call each would give; without one, the path as typed.
TEST_F(AbsolutePathTest, AgainstACurrentDirectoryReadOnce) {
  std::string current;
  ASSERT_TRUE(platform::currentDirectory(current));
  const std::string rooted = absolutePath("rooted");
  for (const std::string& path :
       std::vector<std::string>{"x", ".", std::string("a") + sep + "b", rooted}) {
    EXPECT_EQ(absolutePath(path, current), absolutePath(path)) << path;
  }
  EXPECT_EQ(absolutePath("x", ""), "x");
  EXPECT_EQ(absolutePath(rooted, ""), rooted);
}

}  // namespace
