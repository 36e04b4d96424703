#include "writing/group_writer.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

#include "model/failure.h"
#include "note_lines.h"
#include "text/path.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

const std::string s(1, path::separator());

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
    parent.subGroups.push_back(std::make_unique<FileGroup>(name));
    return *parent.subGroups.back();
  }
  std::string out(const std::string& relative) { return dir.str("out") + s + relative; }
  // The folders, then the blocks; what the writer printed.
  std::string write(std::ostream& prj) {
    NoteLines notes;
    makeGroupFolders(root, layout);
    writeGroup(prj, root, layout, files, notes.sink());
    return notes.text;
  }

  TempDir dir;
  ProjectLayout layout{dir.str("out"), "WS", "App", "", "", false, {}};
  FileGroup root{"root"};
  PersonalityFiles files;
  std::ostringstream prj;
};

TEST_F(GroupWriter, NestedGroupsGetNestedFoldersAndPaths) {
  FileGroup& lib = add(root, "Lib");
  lib.files = {"", "lib.c", ""};
  add(lib, "Drv");
  add(root, "Net");
  // A group that names its real folder has it as its source path.
  add(root, "Far").sourceFolder = "/far/away";
  EXPECT_EQ(write(prj), "  Creating Group - App\n  Creating Group - Lib\n"
                        "  Creating Group - Drv\n  Creating Group - Net\n"
                        "  Creating Group - Far\n");

  EXPECT_EQ(linesStartingWith(prj.str(), "SourcePath="),
            (std::vector<std::string>{"WS" + s + "App" + s, "WS" + s + "App" + s + "Lib" + s,
                                      "WS" + s + "App" + s + "Lib" + s + "Drv" + s,
                                      "WS" + s + "App" + s + "Net" + s, "/far/away" + s}));
  const std::vector<std::string> outputs{out("App" + s + "output" + s),
                                         out("App" + s + "Lib" + s + "output" + s),
                                         out("App" + s + "Lib" + s + "Drv" + s + "output" + s),
                                         out("App" + s + "Net" + s + "output" + s),
                                         out("App" + s + "Far" + s + "output" + s)};
  EXPECT_EQ(linesStartingWith(prj.str(), "OutputPath="), outputs);
  for (const auto& folder : outputs) EXPECT_TRUE(fs::is_directory(folder)) << folder;
  EXPECT_TRUE(fs::is_directory(out("person")));
  const auto all = linesStartingWith(prj.str(), "");
  EXPECT_EQ(std::count(all.begin(), all.end(), "lib.c"), 1);
  EXPECT_EQ(prj.str().find("\r\n\r\n"), std::string::npos) << "an empty file entry was written";
  EXPECT_EQ(linesStartingWith(prj.str(), "StartSubProjectMarker").size(), 2u);
  EXPECT_EQ(linesStartingWith(prj.str(), "EndSubProjectMarker").size(), 2u);
}

// The root is the group at the top, whatever the names: a sub-project or
// folder called root is an ordinary group, and so is everything below a
// project called root.
TEST_F(GroupWriter, TheNameRootIsAnOrdinaryName) {
  add(add(root, "Lib"), "root").files = {"r.c"};
  write(prj);
  EXPECT_EQ(linesStartingWith(prj.str(), "FolderName="),
            (std::vector<std::string>{"App", "Lib", "root"}));
  EXPECT_EQ(linesStartingWith(prj.str(), "OutputPath=").back(),
            out("App" + s + "Lib" + s + "root" + s + "output" + s));
  EXPECT_EQ(linesStartingWith(prj.str(), "SourcePath=").back(),
            "WS" + s + "App" + s + "Lib" + s + "root" + s);

  std::ostringstream again;
  layout.projectName = "root";
  root.subGroups.clear();
  add(add(root, "A"), "B");
  write(again);
  EXPECT_EQ(linesStartingWith(again.str(), "OutputPath="),
            (std::vector<std::string>{out("root" + s + "output" + s),
                                      out("root" + s + "A" + s + "output" + s),
                                      out("root" + s + "A" + s + "B" + s + "output" + s)}));
}

TEST_F(GroupWriter, PersonalitiesNamedAndChosen) {
  FileGroup& lib = add(root, "Lib");
  lib.includePaths = {"inc"};
  const std::string person = out("person") + s + "App";
  EXPECT_EQ(write(prj), "  Creating Group - App\n  Creating Group - Lib\n"
                        "  Creating Analyser Personality - " + person + ".p_a\n");
  EXPECT_EQ(linesStartingWith(prj.str(), "SubsPers="),
            (std::vector<std::string>{person + ".p_s", person + ".p_s"}));
  EXPECT_EQ(linesStartingWith(prj.str(), "AnalPers="),
            (std::vector<std::string>{person + ".p_a", person + ".p_a"}));
  EXPECT_TRUE(files.emptyMessage && files.emptyCompiler);
  EXPECT_EQ(files.analyserSource, &lib) << "the last group with include paths or macros";

  std::ostringstream given;
  layout.messagePersonality = "m.p_s";
  layout.compilerPersonality = "c.p_c";
  files = {};
  lib.includePaths.clear();
  write(given);
  EXPECT_EQ(linesStartingWith(given.str(), "SubsPers="),
            (std::vector<std::string>{"m.p_s", "m.p_s"}));
  EXPECT_EQ(linesStartingWith(given.str(), "CompPers="),
            (std::vector<std::string>{"c.p_c", "c.p_c"}));
  EXPECT_FALSE(files.emptyMessage || files.emptyCompiler);
  EXPECT_EQ(files.analyserSource, &root);
}

TEST_F(GroupWriter, AFolderThatCannotBeMadeNamesItsPath) {
  add(root, "Lib");
  dir.writeFile("out/App", "a file");
  try {
    makeGroupFolders(root, layout);
    ADD_FAILURE() << "no failure";
  } catch (const IOERROR& error) {
    EXPECT_EQ(error.kind, FailureKind::CannotCreateDirectory);
    EXPECT_EQ(error.subject, out("App" + s + "output" + s));
  }
}

}  // namespace
