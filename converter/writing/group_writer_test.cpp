#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <streambuf>

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

TEST_F(GroupWriter, ASubGroupNamedRootIsWrittenAsTheRoot) {
  job.projectName = "App";
  add(add(*job.rootGroup, "Lib"), "root");
  job.rootGroup->writeGroup(prj, "root");
  EXPECT_EQ(linesStartingWith(prj.str(), "FolderName="),
            (std::vector<std::string>{"App", "Lib", "App"}));
  const std::string rootOutput = out("App" + std::string(1, sep) + "output" + sep);
  EXPECT_EQ(linesStartingWith(prj.str(), "OutputPath=").back(), rootOutput);
}

TEST_F(GroupWriter, AProjectNamedRootDropsTheFirstLevelBelowItsSubGroups) {
  job.projectName = "root";
  dir.makeFolder("out/A");
  add(add(*job.rootGroup, "A"), "B");
  job.rootGroup->writeGroup(prj, "root");
  const std::string s(1, sep);
  EXPECT_EQ(linesStartingWith(prj.str(), "OutputPath="),
            (std::vector<std::string>{out("root" + s + "output" + s),
                                      out("root" + s + "A" + s + "output" + s),
                                      out("A" + s + "B" + s + "output" + s)}));
}

// Counts lines and keeps the last one, so a huge block list costs no memory.
class LineCounter : public std::streambuf {
 public:
  std::size_t lines = 0;
  std::string current, last;

 protected:
  int overflow(int c) override {
    if (c == '\n') {
      ++lines;
      last = current;
      current.clear();
    } else if (c != '\r' && c != EOF) {
      current += static_cast<char>(c);
    }
    return c;
  }
};

TEST_F(GroupWriter, AVeryDeepTreeDoesNotExhaustTheStack) {
  // Groups named root all share the root's folder, so the tree can be far
  // deeper than any path the file system would take.
  job.projectName = "root";
  job.messagePersonality = "given.p_s";
  job.compilerPersonality = "given.p_c";
  constexpr std::size_t depth = 100000;
  FileGroup* group = job.rootGroup.get();
  for (std::size_t level = 1; level < depth; ++level) group = &add(*group, "root");

  LineCounter counter;
  std::ostream sink(&counter);
  testing::internal::CaptureStdout();  // one progress line per group
  job.rootGroup->writeGroup(sink, "root");
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(counter.lines, depth * 8 + (depth - 1) * 2);
  EXPECT_EQ(counter.last, "EndSubProjectMarker");
}

}  // namespace
