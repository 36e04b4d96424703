// The Win32 platform layer, against the real system calls.
#include "platform/platform.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "temp_dir.h"
#include "windows_fixtures.h"

namespace fs = std::filesystem;
using platform::EntryType;

namespace {

std::vector<std::string> namesOf(const std::vector<platform::FolderEntry>& entries) {
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.name);
  return names;
}

EntryType typeOf(const std::vector<platform::FolderEntry>& entries, const std::string& name) {
  const auto found = std::find_if(entries.begin(), entries.end(),
                                  [&](const platform::FolderEntry& e) { return e.name == name; });
  return found == entries.end() ? EntryType::Unknown : found->type;
}

TEST(Win32Listing, TypesComeFromTheListingAndItsOrderIsKept) {
  TempDir dir;
  dir.writeFile("top/a.c", "");
  dir.writeFile("top/B.c", "");
  dir.writeFile("top/hidden.c", "");
  dir.writeFile("top/readonly.c", "");
  dir.makeFolder("top/sub");
  dir.makeFolder("elsewhere");
  SetFileAttributesA(dir.str("top\\hidden.c").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA(dir.str("top\\readonly.c").c_str(), FILE_ATTRIBUTE_READONLY);
  const FolderLink link(dir.str("top\\link"), dir.str("elsewhere"));
  ASSERT_TRUE(link.made());

  std::vector<platform::FolderEntry> entries{{"kept", EntryType::File}};
  ASSERT_TRUE(platform::listFolder(dir.str("top"), entries));
  // Appended after what was there, "." and ".." included, in the system's
  // own order: NTFS (and Wine) sort names without regard to case, so a comes
  // before B although byte order would put B first.
  EXPECT_EQ(namesOf(entries), (std::vector<std::string>{"kept", ".", "..", "a.c", "B.c",
                                                        "hidden.c", "link", "readonly.c", "sub"}));
  EXPECT_EQ(typeOf(entries, "a.c"), EntryType::File);
  EXPECT_EQ(typeOf(entries, "hidden.c"), EntryType::File);
  EXPECT_EQ(typeOf(entries, "readonly.c"), EntryType::File);
  EXPECT_EQ(typeOf(entries, "sub"), EntryType::Folder);
  // A link to a folder is reported as a link, never as the folder behind it.
  EXPECT_EQ(typeOf(entries, "link"), EntryType::Link);
  SetFileAttributesA(dir.str("top\\readonly.c").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32Listing, WhatCannotBeListedLeavesTheEntriesAlone) {
  TempDir dir;
  dir.writeFile("file.c", "x");
  std::vector<platform::FolderEntry> entries{{"kept", EntryType::File}};
  EXPECT_FALSE(platform::listFolder(dir.str("missing"), entries));
  EXPECT_FALSE(platform::listFolder(dir.str("file.c"), entries));
  EXPECT_EQ(namesOf(entries), std::vector<std::string>{"kept"});
}

TEST(Win32Paths, KindsFollowLinks) {
  TempDir dir;
  dir.writeFile("file.c", "x");
  dir.makeFolder("folder");
  const FolderLink link(dir.str("link"), dir.str("folder"));
  ASSERT_TRUE(link.made());
  EXPECT_EQ(platform::pathKind(dir.str("file.c")), platform::PathKind::File);
  EXPECT_EQ(platform::pathKind(dir.str("folder")), platform::PathKind::Folder);
  EXPECT_EQ(platform::pathKind(dir.str("link")), platform::PathKind::Folder);
  EXPECT_EQ(platform::pathKind(dir.str("missing")), platform::PathKind::Missing);
  EXPECT_TRUE(platform::pathExists(dir.str("file.c")));
  EXPECT_TRUE(platform::pathExists(dir.str("folder")));
  EXPECT_FALSE(platform::pathExists(dir.str("missing")));
}

TEST(Win32Folders, OneLevelIsMadeAndWhatExistsIsToldApart) {
  TempDir dir;
  dir.writeFile("file", "");
  EXPECT_EQ(platform::makeFolder(dir.str("new")), platform::MakeFolderResult::Made);
  EXPECT_TRUE(fs::is_directory(dir.path() / "new"));
  EXPECT_EQ(platform::makeFolder(dir.str("new")), platform::MakeFolderResult::AlreadyExists);
  EXPECT_EQ(platform::makeFolder(dir.str("file")), platform::MakeFolderResult::AlreadyExists);
  EXPECT_EQ(platform::makeFolder(dir.str("missing\\new")), platform::MakeFolderResult::Failed);
}

TEST(Win32Files, NewFilesAndReplacement) {
  TempDir dir;
  dir.writeFile("old", "old");
  dir.writeFile("new", "new");
  EXPECT_EQ(platform::createNewFile(dir.str("made")), platform::NewFileResult::Created);
  EXPECT_EQ(readFile(dir.path() / "made"), "");
  EXPECT_EQ(platform::createNewFile(dir.str("old")), platform::NewFileResult::AlreadyExists);
  EXPECT_EQ(readFile(dir.path() / "old"), "old");
  EXPECT_EQ(platform::createNewFile(dir.str("missing\\file")), platform::NewFileResult::Failed);

  ASSERT_TRUE(platform::replaceFile(dir.str("new"), dir.str("old")));
  EXPECT_EQ(readFile(dir.path() / "old"), "new");
  EXPECT_FALSE(fs::exists(dir.path() / "new"));
  EXPECT_FALSE(platform::replaceFile(dir.str("new"), dir.str("old")));
}

// A replaced file that its user hid stays hidden; the read-only attribute
// is not taken over (such a file is never replaced).
TEST(Win32Files, TheAttributesAUserSetsAreKept) {
  TempDir dir;
  dir.writeFile("earlier", "old");
  dir.writeFile("replacement", "new");
  ASSERT_TRUE(SetFileAttributesA(dir.str("earlier").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
  EXPECT_TRUE(platform::keepPermissions(dir.str("earlier"), dir.str("replacement")));
  const DWORD kept = GetFileAttributesA(dir.str("replacement").c_str());
  EXPECT_TRUE(kept & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_FALSE(kept & FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA(dir.str("earlier").c_str(), FILE_ATTRIBUTE_NORMAL);
  SetFileAttributesA(dir.str("replacement").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Reads the drive directories while the test changes the environment entries
// the system keeps them in, and puts everything back afterwards.
class Win32DriveDirectory : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(platform::currentDirectory(previous));
    fs::current_path(dir.path());
    ASSERT_TRUE(platform::currentDirectory(cwd));
    // A drive letter that is not the current one, with no entry of its own.
    other = cwd[0] == 'Q' ? 'R' : 'Q';
    ASSERT_EQ(GetEnvironmentVariableA(entry().c_str(), nullptr, 0), 0u);
  }
  void TearDown() override {
    SetEnvironmentVariableA(entry().c_str(), nullptr);
    SetCurrentDirectoryA(previous.c_str());
  }
  std::string entry() const { return std::string("=") + other + ':'; }

  TempDir dir;
  std::string previous;
  std::string cwd;
  char other = 'Q';
};

TEST_F(Win32DriveDirectory, TheCurrentDriveHasTheProcessDirectory) {
  std::string found;
  ASSERT_TRUE(platform::driveCurrentDirectory(cwd[0], found));
  EXPECT_EQ(found, cwd);
  const char lower = static_cast<char>(cwd[0] - 'A' + 'a');
  ASSERT_TRUE(platform::driveCurrentDirectory(lower, found));
  EXPECT_EQ(found, cwd);
}

TEST_F(Win32DriveDirectory, OtherDrivesComeFromTheirEntryWithoutAChange) {
  std::string found = "untouched";
  EXPECT_FALSE(platform::driveCurrentDirectory(other, found));
  EXPECT_EQ(found, "untouched");
  EXPECT_FALSE(platform::driveCurrentDirectory('1', found));

  const std::string kept = std::string(1, other) + ":\\data\\" + std::string(300, 'x');
  SetEnvironmentVariableA(entry().c_str(), kept.c_str());
  ASSERT_TRUE(platform::driveCurrentDirectory(other, found));
  EXPECT_EQ(found, kept);
  std::string now;
  ASSERT_TRUE(platform::currentDirectory(now));
  EXPECT_EQ(now, cwd);

  // An entry that names another drive is no directory of this one.
  SetEnvironmentVariableA(entry().c_str(), "C:\\data");
  EXPECT_FALSE(platform::driveCurrentDirectory(other, found));
}

// The converter's text is in the ANSI code page; JSON wants UTF-8.
TEST(SystemText, ComesFromTheAnsiCodePageAsUtf8) {
  std::string text = "C:\\ws\\plain.c";
  ASSERT_TRUE(platform::systemTextToUtf8(text));
  EXPECT_EQ(text, "C:\\ws\\plain.c");
  // The letter the code page has at 0xfc, whatever it is, as UTF-8.
  wchar_t letter = 0;
  ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xfc", 1, &letter, 1), 1);
  char expected[8] = {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, &letter, 1, expected, 8, nullptr, nullptr);
  text = "a\xfc";
  ASSERT_TRUE(platform::systemTextToUtf8(text));
  EXPECT_EQ(text, "a" + std::string(expected, static_cast<std::size_t>(length)));
  EXPECT_GT(text.size(), 2u) << "a letter above 0x7f takes two bytes or more in UTF-8";
}

}  // namespace
