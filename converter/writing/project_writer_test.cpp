#include <filesystem>
#include <gtest/gtest.h>

#include "driver/conversion_job.h"
#include "driver/errors.h"
#include "platform/platform.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

const std::string s(1, platform::separator);

std::string crlfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

// Every file below `folder`, by path relative to it.
std::vector<std::string> filesBelow(const fs::path& folder) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_directory()) files.push_back(fs::relative(entry.path(), folder).string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

class ProjectWriter : public ::testing::Test {
 protected:
  ProjectWriter() { dir.makeFolder("out"); }
  bool write() {
    testing::internal::CaptureStdout();
    bool written = false;
    try {
      written = job.writeAnalyserProject();
    } catch (...) {
      printed = testing::internal::GetCapturedStdout();
      throw;
    }
    printed = testing::internal::GetCapturedStdout();
    return written;
  }

  TempDir dir;
  const std::string out = dir.str("out");
  ConversionJob job{"p", "w", "C:" + s + "ws", out};
  std::string printed;
};

TEST_F(ProjectWriter, TheExampleProject) {
  job.projectName = "App";
  FileGroup& root = *job.rootGroup;
  root.files = {"C:" + s + "ws" + s + "main.c", "C:" + s + "ws" + s + "io.c"};
  root.includePaths = {"C:" + s + "ws" + s + "inc"};
  root.subGroups.push_back(std::make_unique<FileGroup>("Lib", job));
  root.subGroups[0]->files = {"C:" + s + "ws" + s + "Lib" + s + "lib.c"};
  ASSERT_TRUE(write());

  const std::string ws = "C:" + s + "ws";
  const std::string pers = out + s + "person" + s + "App";
  EXPECT_EQ(readFile(out + s + "App.prj"),
            crlfLines({"VersionTag45", "StartProjectMarker", "FolderName=App",
                       "SourcePath=" + ws + s + "App" + s,
                       "OutputPath=" + out + s + "App" + s + "output" + s,
                       "SubsPers=" + pers + ".p_s", "AnalPers=" + pers + ".p_a",
                       "CompPers=" + pers + ".p_c", ws + s + "main.c", ws + s + "io.c",
                       "EndContainedFilesMarker", "StartSubProjectMarker", "StartProjectMarker",
                       "FolderName=Lib", "SourcePath=" + ws + s + "App" + s + "Lib" + s,
                       "OutputPath=" + out + s + "App" + s + "Lib" + s + "output" + s,
                       "SubsPers=" + pers + ".p_s", "AnalPers=" + pers + ".p_a",
                       "CompPers=" + pers + ".p_c", ws + s + "Lib" + s + "lib.c",
                       "EndContainedFilesMarker", "EndSubProjectMarker"}));
  EXPECT_EQ(printed, "Creating Olvex/Olvex++ Project ...\n  Creating Group - App\n"
                     "  Creating Analyser Personality - " + pers + ".p_a\n"
                     "  Creating Group - Lib\nOlvex/Olvex++ Project Completed!\n");
  EXPECT_EQ(filesBelow(out), (std::vector<std::string>{"App.prj", "person" + s + "App.p_a",
                                                        "person" + s + "App.p_c",
                                                        "person" + s + "App.p_s"}));
  EXPECT_TRUE(fs::is_directory(out + s + "App" + s + "Lib" + s + "output"));
}

TEST_F(ProjectWriter, AnEmptyProjectNameGivesTheFileDotPrj) {
  ASSERT_TRUE(write());
  const std::string pers = out + s + "person" + s;
  EXPECT_EQ(readFile(out + s + ".prj"),
            crlfLines({"VersionTag45", "StartProjectMarker", "FolderName=",
                       "SourcePath=C:" + s + "ws" + s + s, "OutputPath=" + out + s + s + "output" + s,
                       "SubsPers=" + pers + ".p_s", "AnalPers=" + pers + ".p_a",
                       "CompPers=" + pers + ".p_c", "EndContainedFilesMarker"}));
}

TEST_F(ProjectWriter, AFailurePartWayKeepsTheEarlierFilesAndNoTemporary) {
  job.projectName = "App";
  dir.writeFile("out/App.prj", "earlier project");
  dir.writeFile("out/person", "a file where the person folder belongs");
  try {
    write();
    ADD_FAILURE() << "written";
  } catch (const IOERROR& error) {
    EXPECT_EQ(error.kind, IOERROR::CannotWriteFile);
    EXPECT_EQ(error.path, out + s + "person" + s + "App.p_s");
  }
  EXPECT_EQ(printed, "Creating Olvex/Olvex++ Project ...\n  Creating Group - App\n");
  EXPECT_EQ(readFile(out + s + "App.prj"), "earlier project");
  EXPECT_EQ(filesBelow(out), (std::vector<std::string>{"App.prj", "person"}));
}

TEST_F(ProjectWriter, UnsafeNamesAnywhereInTheTreeStopTheRunBeforeAnythingIsMade) {
  job.projectName = "App";
  FileGroup& lib = *job.rootGroup->subGroups.emplace_back(std::make_unique<FileGroup>("Lib", job));
  FileGroup& deep = *lib.subGroups.emplace_back(std::make_unique<FileGroup>("src", job));
  for (const std::string& name : {".", "..", "a/b", "a\\b", "/", "\\"}) {
    for (std::string* holder : {&job.projectName, &deep.name}) {
      const std::string kept = *holder;
      *holder = name;
      EXPECT_FALSE(write()) << name;
      EXPECT_EQ(printed, "Invalid project name: " + name + "\n");
      *holder = kept;
    }
  }
  EXPECT_TRUE(fs::is_empty(out));
}

}  // namespace
