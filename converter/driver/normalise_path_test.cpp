#include "driver/normalise_path.h"

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
class NormalisePathTest : public ::testing::Test {
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

TEST_F(NormalisePathTest, RelativePathsGoBelowTheCurrentDirectory) {
  EXPECT_EQ(normalisePath("proj" + std::string(1, sep) + ".project"),
            cwd + sep + "proj" + sep + ".project");
  EXPECT_EQ(normalisePath("."), cwd);
  EXPECT_EQ(normalisePath(""), cwd + sep);
  // Nothing is collapsed or tidied.
  const std::string up = std::string("..") + sep + "x";
  EXPECT_EQ(normalisePath(up), cwd + sep + up);
  EXPECT_EQ(normalisePath("./a"), cwd + sep + "./a");
}

TEST_F(NormalisePathTest, PathsFromTheRootStayAsTyped) {
  const std::string rooted = std::string(1, sep) + "proj" + sep + ".project";
  EXPECT_EQ(normalisePath(rooted), rooted);
  const std::string network = std::string(2, sep) + "server" + sep + "share";
  EXPECT_EQ(normalisePath(network), network);
}

TEST_F(NormalisePathTest, CurrentDirectoryLongerThan255Characters) {
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
  EXPECT_EQ(normalisePath("x"), current + sep + "x");
}

// Many paths made absolute against one reading of the current directory
// give what one call each would give; without one, the path as typed.
TEST_F(NormalisePathTest, AgainstACurrentDirectoryReadOnce) {
  std::string current;
  ASSERT_TRUE(platform::currentDirectory(current));
  const std::string rooted = normalisePath("rooted");
  for (const std::string& path :
       std::vector<std::string>{"x", ".", std::string("a") + sep + "b", rooted}) {
    EXPECT_EQ(normalisePath(path, current), normalisePath(path)) << path;
  }
  EXPECT_EQ(normalisePath("x", ""), "x");
  EXPECT_EQ(normalisePath(rooted, ""), rooted);
}

}  // namespace
