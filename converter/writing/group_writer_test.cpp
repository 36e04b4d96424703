#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

#include "driver/conversion_job.h"
#include "platform/platform.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr char sep = platform::separator;

std::vector<std::string> linesStartingWith(const std::string& text, const std::string& prefix) {
  std::vector<std::string> found;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    if (text.compare(start, prefix.size(), prefix) == 0) {
      found.push_back(text.substr(start + prefix.size(), end - start - prefix.size()));
    }
  }
  EXPECT_EQ(start, text.size()) << "the text does not end with a line end";
  return found;
}

class GroupWriter : public ::testing::Test {
 protected:
  GroupWriter() { dir.makeFolder("out"); }
  FileGroup& add(FileGroup& parent, const std::string& name) {
    parent.subGroups.push_back(std::make_unique<FileGroup>(name, job));
    return *parent.subGroups.back();
  }
  std::string out(const std::string& relative) { return dir.str("out") + sep + relative; }

  TempDir dir;
  ConversionJob job{"p", "w", "WS", dir.str("out")};
  std::ostringstream prj;
};

TEST_F(GroupWriter, NestedGroupsGetNestedFoldersAndPaths) {
  job.projectName = "App";
  FileGroup& lib = add(*job.rootGroup, "Lib");
  lib.files = {"", "lib.c", ""};
  add(lib, "Drv");
  add(*job.rootGroup, "Net");
  job.rootGroup->writeGroup(prj, "root");

  const std::string s(1, sep);
  EXPECT_EQ(linesStartingWith(prj.str(), "SourcePath="),
            (std::vector<std::string>{"WS" + s + "App" + s, "WS" + s + "App" + s + "Lib" + s,
                                      "WS" + s + "App" + s + "Lib" + s + "Drv" + s,
                                      "WS" + s + "App" + s + "Net" + s}));
  const std::vector<std::string> outputs{out("App" + s + "output" + s),
                                         out("App" + s + "Lib" + s + "output" + s),
                                         out("App" + s + "Lib" + s + "Drv" + s + "output" + s),
                                         out("App" + s + "Net" + s + "output" + s)};
  EXPECT_EQ(linesStartingWith(prj.str(), "OutputPath="), outputs);
  for (const auto& folder : outputs) EXPECT_TRUE(fs::is_directory(folder)) << folder;
  const auto all = linesStartingWith(prj.str(), "");
  EXPECT_EQ(std::count(all.begin(), all.end(), "lib.c"), 1);
  EXPECT_EQ(prj.str().find("\r\n\r\n"), std::string::npos) << "an empty file entry was written";
}

// The root is the job's root group, whatever the names: a sub-project or
// folder called root is an ordinary group, and so is everything below a
// project called root.
TEST_F(GroupWriter, TheNameRootIsAnOrdinaryName) {
  const std::string s(1, sep);
  job.projectName = "App";
  add(add(*job.rootGroup, "Lib"), "root").files = {"r.c"};
  job.rootGroup->writeGroup(prj, "root");
  EXPECT_EQ(linesStartingWith(prj.str(), "FolderName="),
            (std::vector<std::string>{"App", "Lib", "root"}));
  EXPECT_EQ(linesStartingWith(prj.str(), "OutputPath=").back(),
            out("App" + s + "Lib" + s + "root" + s + "output" + s));
  EXPECT_EQ(linesStartingWith(prj.str(), "SourcePath=").back(),
            "WS" + s + "App" + s + "Lib" + s + "root" + s);

  std::ostringstream again;
  job.projectName = "root";
  job.rootGroup->subGroups.clear();
  add(add(*job.rootGroup, "A"), "B");
  job.rootGroup->writeGroup(again, "root");
  EXPECT_EQ(linesStartingWith(again.str(), "OutputPath="),
            (std::vector<std::string>{out("root" + s + "output" + s),
                                      out("root" + s + "A" + s + "output" + s),
                                      out("root" + s + "A" + s + "B" + s + "output" + s)}));
}

TEST_F(GroupWriter, GroupsAreVisitedDepthFirstInPreOrder) {
  FileGroup& a = add(*job.rootGroup, "a");
  add(a, "a1");
  add(a, "a2");
  add(*job.rootGroup, "b");
  std::string order;
  walkGroups(
      *job.rootGroup, [&](FileGroup& g) { order += "<" + g.name; },
      [&](FileGroup& g) { order += ">" + g.name; });
  EXPECT_EQ(order, "<root<a<a1>a1<a2>a2>a<b>b>root");
}

TEST_F(GroupWriter, AVeryDeepTreeDoesNotExhaustTheStack) {
  constexpr std::size_t depth = 100000;
  FileGroup* group = job.rootGroup.get();
  for (std::size_t level = 1; level < depth; ++level) group = &add(*group, "g");
  std::size_t entered = 0, left = 0, deepest = 0;
  walkGroups(
      *job.rootGroup, [&](FileGroup&) { deepest = std::max(deepest, ++entered - left); },
      [&](FileGroup&) { ++left; });
  EXPECT_EQ(entered, depth);
  EXPECT_EQ(left, depth);
  EXPECT_EQ(deepest, depth);
}

}  // namespace
