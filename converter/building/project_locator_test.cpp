#include "building/project_locator.h"

#include <gtest/gtest.h>

#include "fake_folders.h"

namespace {

// Folders in memory whose .project files hold the names given here.
class Locator : public ::testing::Test {
 protected:
  void project(const std::string& folder, const std::string& name) {
    folders.file(folder + "/.project");
    names[FakeFolders::native(folder + "/.project")] = name;
  }
  ProjectLocator make(std::set<std::string> passOver = {}) {
    return ProjectLocator("ws",
                          [this](const std::string& folder, std::vector<ListedEntry>& entries) {
                            listed.push_back(folder);
                            return folders.lister()(folder, entries);
                          },
                          [this](const std::string& path) -> std::optional<std::string> {
                            ++reads;
                            const auto found = names.find(path);
                            if (found == names.end()) return std::nullopt;
                            return found->second;
                          },
                          std::move(passOver));
  }
  static std::string at(const std::string& path) { return FakeFolders::native(path); }

  FakeFolders folders;
  std::map<std::string, std::string> names;
  int reads = 0;
  std::vector<std::string> listed;
};

TEST_F(Locator, TheFolderTheBuildDescriptionNamesWhenItIsThatProject) {
  project("ws/Lib", "Lib");
  project("ws/other/Lib", "Lib");
  ProjectLocator locator = make();
  EXPECT_EQ(locator.find("Lib", "Lib"), at("ws/Lib"));
  EXPECT_EQ(reads, 1) << "no search was needed";
}

// The workspace is searched only where the entry does not point at a
// project of the name; the search, when it runs, finds the same folder.
TEST_F(Locator, TheSearchRunsOnlyWhereTheEntryIsNotThatProject) {
  project("ws/Lib", "Lib");
  project("ws/Old", "Renamed");
  project("ws/deep/Moved", "Moved");
  folders.file("ws/Plain/a.c");
  folders.file("ws/Shadow/a.c");
  project("ws/x/Shadow", "Shadow");
  const struct {
    std::string name, entry;
    std::optional<std::string> found;
    bool searched;
  } cases[] = {
      {"Lib", "Lib", at("ws/Lib"), false},
      {"Moved", at("deep/Moved"), at("ws/deep/Moved"), false},
      {"Moved", "Old", at("ws/deep/Moved"), true},      // Old's .project names another
      {"Moved", "Gone", at("ws/deep/Moved"), true},     // no such folder
      {"Plain", "Plain", at("ws/Plain"), true},         // no .project: searched, none found
      {"Shadow", "Shadow", at("ws/x/Shadow"), true},    // a project of the name elsewhere wins
  };
  for (const auto& c : cases) {
    listed.clear();
    ProjectLocator locator = make();
    EXPECT_EQ(locator.find(c.name, c.entry), c.found) << c.entry;
    EXPECT_EQ(listed.size() > 1, c.searched) << c.entry;
  }
}

// A folder the search listed is not listed again for the scan after it,
// and the scan sees the same entries.
TEST_F(Locator, TheSearchsListingsServeTheNextListingOfEachFolder) {
  folders.file("ws/Plain/a.c");
  folders.file("ws/Plain/sub/b.c");
  ProjectLocator locator = make();
  locator.find("Plain", "Plain");
  const FolderLister shared = locator.sharedLister();
  const struct {
    const char* folder;
    bool listedAgain;
  } cases[] = {{"ws/Plain", false}, {"ws/Plain/sub", false}, {"ws/Plain", true}};
  for (const auto& c : cases) {
    std::vector<ListedEntry> got, expected;
    listed.clear();
    ASSERT_TRUE(shared(at(c.folder), got));
    EXPECT_EQ(!listed.empty(), c.listedAgain) << c.folder;
    folders.lister()(at(c.folder), expected);
    ASSERT_EQ(got.size(), expected.size()) << c.folder;
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(got[i].name, expected[i].name);
  }
}

TEST_F(Locator, ElseTheNearestFolderWhoseProjectHasTheName) {
  project("ws/Web", "Portal");          // of another name
  project("ws/Web/trunk/src", "Web");
  project("ws/a/b/c/d/Web", "Web");     // deeper
  project("ws/.metadata/Web", "Web");   // never searched
  project("ws/PPC32gnu/Web", "Web");    // passed over
  ProjectLocator locator = make({"PPC32gnu"});
  EXPECT_EQ(locator.find("Web", "Web"), at("ws/Web/trunk/src"));
  EXPECT_EQ(locator.find("Portal", "Portal"), at("ws/Web"));
  EXPECT_EQ(locator.find("Gone", "Gone"), std::nullopt);
  EXPECT_FALSE(locator.searchCutShort());
}

TEST_F(Locator, AFolderWithoutAProjectFileIsTheLastResort) {
  folders.file("ws/Plain/a.c");
  project("ws/Named", "Named");
  ProjectLocator locator = make();
  EXPECT_EQ(locator.find("Plain", "Plain"), at("ws/Plain"));
  EXPECT_EQ(locator.find("Named2", "Named"), std::nullopt)
      << "a folder holding another project is not it";
}

TEST_F(Locator, AnEntryThatClimbsOutOfTheWorkspaceIsNeverLookedAt) {
  project("ws/Lib", "Lib");
  ProjectLocator locator = make();
  for (const std::string entry : {"/../Lib", "//../Lib", "\\..\\Lib", "/\\../Lib", "Lib/../../Lib",
                                  "//../../../etc"}) {
    EXPECT_EQ(locator.find("Lib", entry), at("ws/Lib")) << entry;
  }
  for (const auto& folder : listed) EXPECT_EQ(folder.find(".."), std::string::npos) << folder;
}

TEST_F(Locator, TheSearchIsBounded) {
  std::string deep = "ws";
  for (std::size_t i = 0; i <= ProjectLocator::kMaxDepth; ++i) deep += "/d";
  project(deep, "TooDeep");
  for (std::size_t i = 0; i <= ProjectLocator::kMaxFolders; ++i) {
    folders.folder("ws/many/f" + std::to_string(i));
  }
  ProjectLocator locator = make();
  EXPECT_EQ(locator.find("TooDeep", "TooDeep"), std::nullopt);
  EXPECT_TRUE(locator.searchCutShort());
}

}  // namespace
