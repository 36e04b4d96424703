#include "driver/normalise_path.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr char sep = platform::separator;

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

}  // namespace
