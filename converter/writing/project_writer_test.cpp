#include "writing/project_writer.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "model/failure.h"
#include "note_lines.h"
#include "text/path.h"
#include "temp_dir.h"
#include "text_lines.h"

namespace fs = std::filesystem;

namespace {

const std::string s(1, path::separator());

std::size_t countOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

class ProjectWriter : public ::testing::Test {
 protected:
  ProjectWriter() { dir.makeFolder("out"); }
  // The failure's name, or "" when the project was written.
  std::string write() {
    NoteLines notes;
    std::string refused;
    try {
      writeAnalyserProject(root, layout, notes.sink());
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.kind, FailureKind::InvalidName);
      refused = failure.subject;
    }
    printed = notes.text;
    return refused;
  }

  TempDir dir;
  const std::string out = dir.str("out");
  ProjectLayout layout{out, "C:" + s + "ws", "", "", "", nullptr};
  FileGroup root;
  std::string printed;
};

TEST_F(ProjectWriter, AnEmptyProjectNameGivesTheFileDotPrj) {
  ASSERT_EQ(write(), "");
  const std::string pers = out + s + "person" + s;
  EXPECT_EQ(readFile(out + s + ".prj"),
            crlfLines({"VersionTag45", "StartProjectMarker", "FolderName=",
                       "SourcePath=C:" + s + "ws" + s + s, "OutputPath=" + out + s + s + "output" + s,
                       "SubsPers=" + pers + ".p_s", "AnalPers=" + pers + ".p_a",
                       "CompPers=" + pers + ".p_c", "EndContainedFilesMarker"}));
  EXPECT_EQ(printed, "Creating Olvex/Olvex++ Project ...\n  Creating Group - \n"
                     "Olvex/Olvex++ Project Completed!\n");
}

TEST_F(ProjectWriter, UnsafeNamesAnywhereInTheTreeStopTheRunBeforeAnythingIsMade) {
  layout.projectName = "App";
  FileGroup& lib = *root.subGroups.emplace_back(std::make_unique<FileGroup>("Lib"));
  FileGroup& deep = *lib.subGroups.emplace_back(std::make_unique<FileGroup>("src"));
  for (const std::string name : {".", "..", "a/b", "a\\b", "/", "\\", "a\nb", "a\rb"}) {
    for (std::string* holder : {&layout.projectName, &deep.name}) {
      const std::string kept = *holder;
      *holder = name;
      EXPECT_EQ(write(), name);
      EXPECT_EQ(printed, "");
      *holder = kept;
    }
  }
  // Any other control character is refused in the project name only.
  layout.projectName = "a\tb";
  EXPECT_EQ(write(), "a\tb");
  EXPECT_TRUE(fs::is_empty(out));
#ifndef _WIN32
  // Windows allows no control character in a file name: there the system
  // refuses the folder, not the converter.
  layout.projectName = "App";
  deep.name = "a\tb";
  EXPECT_EQ(write(), "");
#endif
}

// The given analyser personality is read once, by the first block that
// names it, and every block takes that content: a pipe gives it only once,
// and a file that could not be read is said for each block.
TEST_F(ProjectWriter, TheGivenAnalyserPersonalityIsReadOnceForEveryBlock) {
  layout.projectName = "App";
  for (const std::string name : {"Lib", "Drivers"}) {
    FileGroup& group = *root.subGroups.emplace_back(std::make_unique<FileGroup>(name));
    group.includePaths = {"/inc/" + name};
  }
  const struct {
    bool readable;
    std::size_t unreadableLines;  // one for each block that takes it
  } cases[] = {{true, 0}, {false, 3}};
  for (const auto& c : cases) {
    int reads = 0;
    layout.readGivenAnalyserPersonality = [&]() -> std::optional<std::string> {
      if (!c.readable || ++reads > 1) return std::nullopt;
      return "-d GIVEN\n";
    };
    ASSERT_EQ(write(), "");
    EXPECT_EQ(reads, c.readable ? 1 : 0);
    const std::string analyser = readFile(out + s + "person" + s + "App.p_a");
    EXPECT_EQ(analyser.find("-d GIVEN\r\n") != std::string::npos, c.readable) << analyser;
    EXPECT_EQ(countOf(printed, "Couldnt open file\n"), c.unreadableLines);
  }
}

}  // namespace
