#include <filesystem>
#include <gtest/gtest.h>

#include "driver/conversion_job.h"
#include "platform/platform.h"
#include "temp_dir.h"
#include "text_lines.h"

namespace fs = std::filesystem;

namespace {

const std::string s(1, platform::separator);

class ProjectWriter : public ::testing::Test {
 protected:
  ProjectWriter() { dir.makeFolder("out"); }
  bool write() {
    testing::internal::CaptureStdout();
    const bool written = job.writeAnalyserProject();
    printed = testing::internal::GetCapturedStdout();
    return written;
  }

  TempDir dir;
  const std::string out = dir.str("out");
  ConversionJob job{"p", "w", "C:" + s + "ws", out};
  std::string printed;
};

TEST_F(ProjectWriter, AnEmptyProjectNameGivesTheFileDotPrj) {
  ASSERT_TRUE(write());
  const std::string pers = out + s + "person" + s;
  EXPECT_EQ(readFile(out + s + ".prj"),
            crlfLines({"VersionTag45", "StartProjectMarker", "FolderName=",
                       "SourcePath=C:" + s + "ws" + s + s, "OutputPath=" + out + s + s + "output" + s,
                       "SubsPers=" + pers + ".p_s", "AnalPers=" + pers + ".p_a",
                       "CompPers=" + pers + ".p_c", "EndContainedFilesMarker"}));
}

TEST_F(ProjectWriter, UnsafeNamesAnywhereInTheTreeStopTheRunBeforeAnythingIsMade) {
  job.projectName = "App";
  FileGroup& lib = *job.rootGroup->subGroups.emplace_back(std::make_unique<FileGroup>("Lib", job));
  FileGroup& deep = *lib.subGroups.emplace_back(std::make_unique<FileGroup>("src", job));
  for (const std::string name : {".", "..", "a/b", "a\\b", "/", "\\"}) {
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
