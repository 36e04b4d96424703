#include "driver/conversion_job.h"

#include <gtest/gtest.h>

#include "model/failure.h"
#include "note_lines.h"
#include "temp_dir.h"

namespace {

// The job's own part of reading: the files it opens and how the project
// description's name meets the one given with -pn.
class JobReading : public ::testing::Test {
 protected:
  ConversionJob& job(const std::string& project) {
    dir.writeFile("p/.project", project);
    made = std::make_unique<ConversionJob>(dir.str("p/.project"), dir.str("p/.wrproject"),
                                           dir.str(), dir.str());
    made->options.projectName = "Given";
    return *made;
  }
  TempDir dir;
  std::unique_ptr<ConversionJob> made;
};

TEST_F(JobReading, TheFilesNameReplacesTheGivenOneUnlessItIsEmpty) {
  ConversionJob& named = job("<projectDescription><name>App</name><projects><project>L</project>"
                             "</projects></projectDescription>");
  named.readProjectDescription();
  EXPECT_EQ(named.project.name, "App");
  EXPECT_EQ(named.project.referencedProjects, std::vector<std::string>{"L"});
  ConversionJob& empty = job("<projectDescription><name></name><projects></projects>"
                             "</projectDescription>");
  empty.readProjectDescription();
  EXPECT_EQ(empty.project.name, "Given");
}

TEST_F(JobReading, FilesThatCannotBeOpenedNameTheirPath) {
  ConversionJob& missing = job("");
  missing.options.sourceProjectPath = dir.str("none.project");
  try {
    missing.readProjectDescription();
    ADD_FAILURE() << "read a missing file";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind, FailureKind::CannotOpenFile);
    EXPECT_EQ(failure.subject, dir.str("none.project"));
  }
  // A folder is no file, whatever the system would open.
  missing.options.buildSettingsPath = dir.str("p");
  try {
    missing.readBuildSettings(ignoreNotes());
    ADD_FAILURE() << "read a folder";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind, FailureKind::CannotOpenFile);
    EXPECT_EQ(failure.subject, dir.str("p"));
  }
}

}  // namespace
