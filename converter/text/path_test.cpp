#include "text/path.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace {

using path::Style;

// The rules of both systems, whichever this one is.
TEST(Path, CommandLinePathsMadeAbsoluteByEachSystemsRules) {
  const std::map<char, std::string> drives{{'C', "C:\\work"}, {'D', "D:\\data"}};
  const path::DriveDirectory drive = [&](char letter) -> std::optional<std::string> {
    const auto found = drives.find(letter);
    if (found == drives.end()) return std::nullopt;
    return found->second;
  };
  struct Case {
    Style style;
    const char* current;
    const char* path;
    const char* absolute;
  } cases[] = {
      {Style::windows, "C:\\work", "proj\\.project", "C:\\work\\proj\\.project"},
      {Style::windows, "C:\\work", ".", "C:\\work"},
      {Style::windows, "C:\\work", "", "C:\\work\\"},
      {Style::windows, "C:\\", "x", "C:\\\\x"},
      {Style::windows, "C:\\work", "C:\\proj\\.project", "C:\\proj\\.project"},
      {Style::windows, "C:\\work", "\\proj\\.project", "\\proj\\.project"},
      {Style::windows, "C:\\work", "\\\\server\\share", "\\\\server\\share"},
      {Style::windows, "C:\\work", "D:sub\\f", "D:\\data\\sub\\f"},
      {Style::windows, "C:\\work", "D:", "D:\\data\\"},
      {Style::windows, "C:\\work", "E:x", "E:\\\\x"},  // no directory kept: the drive's root
      {Style::windows, "C:\\work", "..\\x", "C:\\work\\..\\x"},
      {Style::windows, "C:\\work", "a/b", "C:\\work\\a/b"},
      {Style::windows, "C:\\work", "C:/x", "C:\\work\\/x"},
      {Style::windows, "C:\\work", "/x", "C:\\work\\/x"},  // "/" is no separator here
      {Style::windows, "", "x", "x"},
      {Style::posix, "/work", "proj/.project", "/work/proj/.project"},
      {Style::posix, "/work", "/abs", "/abs"},
      {Style::posix, "/work", "C:x", "/work/C:x"},  // no drives
      {Style::posix, "/work", "\\x", "/work/\\x"},
      {Style::posix, "/", "x", "//x"},
      {Style::posix, "", "x", "x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(path::absolute(c.path, c.current, drive, c.style), c.absolute)
        << (c.style == Style::windows ? "windows: " : "posix: ") << c.path;
  }
}

TEST(Path, SeparatorsOfEachStyle) {
  struct Case {
    char c;
    bool posix, windows;
  } cases[] = {{'/', true, true}, {'\\', false, true}, {':', false, false}, {'a', false, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(path::isSeparator(c.c, Style::posix), c.posix) << c.c;
    EXPECT_EQ(path::isSeparator(c.c, Style::windows), c.windows) << c.c;
  }
}

// Workbench's paths are read in Windows style on every system; the POSIX
// rules are those of the system's own paths there.
TEST(Path, PathsCutByEachStylesRules) {
  struct Case {
    Style style;
    const char* path;
    bool absolute;
    const char* folder;
    const char* name;
  } cases[] = {
      {Style::windows, "a/b\\c.c", false, "a/b", "c.c"},
      {Style::windows, "c.c", false, "", "c.c"},
      {Style::windows, "..", false, "", ".."},
      {Style::windows, "/x", true, "/", "x"},
      {Style::windows, "\\x", true, "\\", "x"},
      {Style::windows, "//x", true, "/", "x"},
      {Style::windows, "C:\\x", true, "C:\\", "x"},
      {Style::windows, "c:/x/y", true, "c:/x", "y"},
      {Style::windows, "C://x", true, "C:/", "x"},
      {Style::windows, "C:x", false, "", "C:x"},
      {Style::windows, "\\\\server\\x", true, "\\\\server", "x"},
      {Style::windows, "a/", false, "a", ""},
      {Style::windows, "$(WIND_BASE)/h", false, "$(WIND_BASE)", "h"},
      {Style::posix, "a/b\\c.c", false, "a", "b\\c.c"},
      {Style::posix, "/x", true, "/", "x"},
      {Style::posix, "\\x", false, "", "\\x"},
      {Style::posix, "C:/x", false, "C:", "x"},
      {Style::posix, "/", true, "/", ""},
      {Style::posix, "", false, "", ""},
  };
  for (const Case& c : cases) {
    const char* style = c.style == Style::windows ? "windows: " : "posix: ";
    EXPECT_EQ(path::isAbsolute(c.path, c.style), c.absolute) << style << c.path;
    EXPECT_EQ(path::parentFolder(c.path, c.style), c.folder) << style << c.path;
    EXPECT_EQ(path::fileName(c.path, c.style), c.name) << style << c.path;
  }
  EXPECT_EQ(path::parentFolder("C:\\x"), "C:\\") << "Workbench's style by default";
}

TEST(Path, NamedPartsOfEachStyle) {
  using Parts = std::vector<std::string_view>;
  EXPECT_EQ(path::parts("//a\\./..//b/", Style::windows), (Parts{"a", ".", "..", "b"}));
  EXPECT_EQ(path::parts("//a\\./..//b/", Style::posix), (Parts{"a\\.", "..", "b"}));
  EXPECT_EQ(path::parts("", Style::windows), Parts{});
  EXPECT_EQ(path::parts("/\\/", Style::windows), Parts{});
  EXPECT_TRUE(path::leavesFolder("a\\..\\..", Style::windows));
  EXPECT_FALSE(path::leavesFolder("a\\..\\..", Style::posix)) << "one part, named so";
}

TEST(Path, ComparablePathsHaveOneSpellingEach) {
  struct Case {
    Style style;
    const char* path;
    const char* base;
    const char* comparable;
  } cases[] = {
      {Style::posix, "ws/./App//src/../inc/", "/cwd", "/cwd/ws/App/inc"},
      {Style::windows, "ws/./App//src/../inc/", "C:\\cwd", "C:\\cwd\\ws\\App\\inc"},
      {Style::posix, "/a/b/../../..", "base", "/"},
      {Style::windows, "C:/ws/../x", "base", "C:\\x"},
      {Style::posix, "C:\\ws/App", "base", "C:/ws/App"},
      {Style::posix, "Lib/../../..", ".", "../.."},
      {Style::windows, "Lib/../../..", ".", "..\\.."},
      {Style::posix, "../..", "ws/App", "."},  // back where it started
      {Style::windows, "..", "ws", "."},
      // Near the form a path is returned in as it is.
      {Style::posix, "/a/b.c/..d", "base", "/a/b.c/..d"},
      {Style::posix, "/a//b/", "base", "/a/b"},
      {Style::posix, "/a/./b/..", "base", "/a"},
      {Style::posix, "/a\\b", "base", "/a/b"},
      {Style::windows, "\\a/b", "base", "\\a\\b"},
      {Style::posix, "/", "base", "/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(path::comparable(c.path, c.base, c.style), c.comparable) << c.path;
    EXPECT_EQ(path::comparableOf(std::string(c.path), c.base, c.style), c.comparable) << c.path;
    if (path::isAbsolute(c.comparable)) {
      EXPECT_EQ(path::comparable(c.comparable, "/other", c.style), c.comparable)
          << "the spelling is its own comparable path: " << c.comparable;
    }
  }
}

TEST(Path, AnEntryLeavesItsFolderOnlyByClimbingAboveIt) {
  for (const char* text : {"..", "/..", "//../outside", "\\..\\x", "/\\..", "Lib/../..",
                           "a/./../../b", "//../../../etc"}) {
    EXPECT_TRUE(path::leavesFolder(text)) << text;
  }
  for (const char* text : {"", "Lib", "/Lib", "Lib/../Lib", "a/b/../..", "..x", "x..", "./."}) {
    EXPECT_FALSE(path::leavesFolder(text)) << text;
  }
}

}  // namespace

namespace {

// One rule for the extension list and for a file's language: the last dot
// anywhere, a folder's too, whatever the separators.
TEST(Path, ExtensionIsTheTextAfterTheLastDotAnywhere) {
  struct Case {
    const char* path;
    std::optional<std::string_view> extension;
  } cases[] = {
      {"main.c", "c"},
      {"C:\\w\\main.c.bak", "bak"},
      {"src/.hidden", "hidden"},
      {"file.", ""},
      {"ws.1/Makefile", "1/Makefile"},
      {"C:\\ws.1\\Makefile", "1\\Makefile"},
      {"Makefile", std::nullopt},
      {"/a/b\\c", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(path::extension(c.path), c.extension) << c.path;
}

}  // namespace
