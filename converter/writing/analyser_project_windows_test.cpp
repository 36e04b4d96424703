// The analyser project written with real Windows paths on drive C:.
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

#include "model/failure.h"
#include "note_lines.h"
#include "temp_dir.h"
#include "writing/project_writer.h"

namespace fs = std::filesystem;

namespace {

// destFolder C:\out, workspaceDir C:\ws, project App without personality
// options: a root group with main.c, io.c and an include path, and one
// sub-group Lib with lib.c. The files are given in this order, which no
// sorted listing produces, so the job is filled directly.
TEST(AnalyserProjectOnWindows, TwentyTwoLinesAndFiveProgressLines) {
  if (fs::exists("C:\\out")) GTEST_SKIP() << "C:\\out already exists and is not this test's to touch";
  ASSERT_TRUE(fs::create_directory("C:\\out"));
  FileGroup root;
  root.files = {"C:\\ws\\main.c", "C:\\ws\\io.c"};
  root.includePaths = {"C:\\ws\\inc"};
  auto lib = std::make_unique<FileGroup>("Lib");
  lib->files = {"C:\\ws\\Lib\\lib.c"};
  root.subGroups.push_back(std::move(lib));
  const ProjectLayout layout{"C:\\out", "C:\\ws", "App", "", "", false, {}};

  NoteLines notes;
  bool written = true;
  try {
    writeAnalyserProject(root, layout, notes.sink());
  } catch (const Failure&) {
    written = false;
  }
  const std::string printed = notes.text;
  const std::string prj = readFile("C:\\out\\App.prj");
  const std::string analyser = readFile("C:\\out\\person\\App.p_a");
  const bool madeFolders = fs::is_directory("C:\\out\\App\\output") &&
                           fs::is_directory("C:\\out\\App\\Lib\\output");
  std::error_code ignored;
  fs::remove_all("C:\\out", ignored);

  ASSERT_TRUE(written);
  EXPECT_EQ(prj,
            "VersionTag45\r\n"
            "StartProjectMarker\r\n"
            "FolderName=App\r\n"
            "SourcePath=C:\\ws\\App\\\r\n"
            "OutputPath=C:\\out\\App\\output\\\r\n"
            "SubsPers=C:\\out\\person\\App.p_s\r\n"
            "AnalPers=C:\\out\\person\\App.p_a\r\n"
            "CompPers=C:\\out\\person\\App.p_c\r\n"
            "C:\\ws\\main.c\r\n"
            "C:\\ws\\io.c\r\n"
            "EndContainedFilesMarker\r\n"
            "StartSubProjectMarker\r\n"
            "StartProjectMarker\r\n"
            "FolderName=Lib\r\n"
            "SourcePath=C:\\ws\\App\\Lib\\\r\n"
            "OutputPath=C:\\out\\App\\Lib\\output\\\r\n"
            "SubsPers=C:\\out\\person\\App.p_s\r\n"
            "AnalPers=C:\\out\\person\\App.p_a\r\n"
            "CompPers=C:\\out\\person\\App.p_c\r\n"
            "C:\\ws\\Lib\\lib.c\r\n"
            "EndContainedFilesMarker\r\n"
            "EndSubProjectMarker\r\n");
  EXPECT_EQ(printed,
            "Creating Olvex/Olvex++ Project ...\n"
            "  Creating Group - App\n"
            "  Creating Analyser Personality - C:\\out\\person\\App.p_a\n"
            "  Creating Group - Lib\n"
            "Olvex/Olvex++ Project Completed!\n");
  EXPECT_EQ(analyser, "-i \"C:\\ws\\inc\"\r\n");
  EXPECT_TRUE(madeFolders);
}

}  // namespace
