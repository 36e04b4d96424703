#include "reading/path_text.h"

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace {

const std::string s(1, platform::separator);

TEST(PathText, AbsoluteOnEveryPlatform) {
  for (const char* path : {"/x", "\\x", "\\\\server\\x", "C:/x", "c:\\x"}) {
    EXPECT_TRUE(isAbsolutePath(path)) << path;
  }
  for (const char* path : {"x", "..", "C:x", "$(WIND_BASE)/h", ""}) {
    EXPECT_FALSE(isAbsolutePath(path)) << path;
  }
}

TEST(PathText, ComparablePathsHaveOneSpellingEach) {
  EXPECT_EQ(comparablePath("ws/./App//src/../inc/", s + "cwd"), s + "cwd" + s + "ws" + s + "App" + s + "inc");
  EXPECT_EQ(comparablePath("/a/b/../../..", "base"), s);
  EXPECT_EQ(comparablePath("C:\\ws/App", "base"), "C:" + s + "ws" + s + "App");
  EXPECT_EQ(comparablePath("Lib/../../..", "."), ".." + s + "..");
  EXPECT_EQ(comparablePath(comparablePath("a/b", "/r"), "/other"), comparablePath("a/b", "/r"));
}

TEST(PathText, AnEntryLeavesItsFolderOnlyByClimbingAboveIt) {
  for (const char* path : {"..", "/..", "//../outside", "\\..\\x", "/\\..", "Lib/../..",
                           "a/./../../b", "//../../../etc"}) {
    EXPECT_TRUE(leavesFolder(path)) << path;
  }
  for (const char* path : {"", "Lib", "/Lib", "Lib/../Lib", "a/b/../..", "..x", "x..", "./."}) {
    EXPECT_FALSE(leavesFolder(path)) << path;
  }
}

}  // namespace
