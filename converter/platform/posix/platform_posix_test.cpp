// The POSIX platform layer, against the real system calls.
#include "platform/platform.h"

#include <algorithm>
#include <cstdlib>
#include <unistd.h>
#include <gtest/gtest.h>

#include "temp_dir.h"

namespace {

// Entries come sorted by their bytes, whatever order the file system keeps:
// names that differ only after their first 8 bytes, prefixes of each other,
// bytes above 0x7f and capitals all take their byte order.
TEST(PosixListing, EntriesComeInByteOrder) {
  const std::vector<std::string> names{
      "b",         "a",          "ab",        "abcdefgh1", "abcdefgh0", "abcdefgh",
      "abcdefg",   "abcdefgh00", "\xc3\xa9",  "Z",         "a b",       "f000123.c",
      "f000122.c", "f000123.h",  "\x7f",      "~"};
  TempDir dir;
  for (const auto& name : names) dir.writeFile("top/" + name, "");
  std::vector<platform::FolderEntry> entries{{"kept", platform::EntryType::File}};
  ASSERT_TRUE(platform::listFolder(dir.str("top"), entries));
  std::vector<std::string> listed;
  for (const auto& entry : entries) listed.push_back(entry.name);
  std::vector<std::string> expected = names;
  expected.insert(expected.end(), {".", ".."});
  std::sort(expected.begin(), expected.end());
  expected.insert(expected.begin(), "kept");
  EXPECT_EQ(listed, expected);
}

// The environment is read once into a table: each variable is found with
// the value getenv gives, and a name that is only part of one is not.
TEST(PosixEnvironment, EachVariableAsGetenvGivesIt) {
  std::size_t found = 0;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text(*entry);
    const std::string name = text.substr(0, text.find('='));
    std::string value;
    ASSERT_TRUE(platform::environmentVariable(name, value)) << name;
    EXPECT_EQ(value, std::getenv(name.c_str())) << name;
    ++found;
    std::string none;
    EXPECT_EQ(platform::environmentVariable(name + "\x01", none),
              std::getenv((name + "\x01").c_str()) != nullptr);
  }
  EXPECT_GT(found, 0u);
  std::string none;
  EXPECT_FALSE(platform::environmentVariable("", none));
}

}  // namespace
