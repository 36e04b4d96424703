#include <filesystem>
#include <gtest/gtest.h>

#include "driver/conversion_job.h"
#include "driver/errors.h"
#include "platform/platform.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr char sep = platform::separator;

class Personalities : public ::testing::Test {
 protected:
  Personalities() { dir.makeFolder("out"); }
  std::string person(const std::string& file) {
    return dir.str("out") + sep + "person" + sep + file;
  }
  // Writes the analyser personality and puts it in place.
  std::string analyser() {
    testing::internal::CaptureStdout();
    job.rootGroup->writeAnalyserPersonality(person("App.p_a"));
    job.pendingOutputs.commit();
    printed = testing::internal::GetCapturedStdout();
    return readFile(person("App.p_a"));
  }

  TempDir dir;
  ConversionJob job{"p", "w", "ws", dir.str("out")};
  std::string printed;
};

TEST_F(Personalities, IncludesThenSortedMacrosThenTheGivenFileWithCrLfLineEnds) {
  FileGroup& root = *job.rootGroup;
  root.includePaths = {"C:\\ws\\inc", "C:/ws/App/h", "with\"quote"};
  root.macros = {{"DEBUG", ""}, {"CPU", "PPC32"}, {"B", "1"}, {"a", ""}, {"AB", ""}};
  dir.writeFile("given.p_a", "first\nsecond\r\nlone\rcr\r\n\nlast");
  job.analyserPersonality = dir.str("given.p_a");
  EXPECT_EQ(analyser(),
            "-i \"C:\\ws\\inc\"\r\n-i \"C:/ws/App/h\"\r\n-i \"with\"quote\"\r\n"
            "-d \"AB\"\r\n-d \"B=1\"\r\n-d \"CPU=PPC32\"\r\n-d \"DEBUG\"\r\n-d \"a\"\r\n"
            "first\r\nsecond\r\nlone\rcr\r\n\r\nlast");
  EXPECT_EQ(printed, "");
}

TEST_F(Personalities, TheGivenFileMayBeTheProducedOneItself) {
  dir.writeFile("out/person/App.p_a", "kept\n");
  job.rootGroup->includePaths = {"inc"};
  job.analyserPersonality = person("App.p_a");
  EXPECT_EQ(analyser(), "-i \"inc\"\r\nkept\r\n");
  EXPECT_EQ(analyser(), "-i \"inc\"\r\n-i \"inc\"\r\nkept\r\n");
}

TEST_F(Personalities, EmptyPersonalitiesThatCannotBeMadeFailWithTheirPath) {
  dir.makeFolder("out/person/App.p_s");
  dir.makeFolder("out/person/App.p_c");
  using Make = void (FileGroup::*)(const std::string&);
  for (const auto& [make, path] : {std::pair<Make, std::string>{
                                       &FileGroup::makeEmptyMessagePersonality, person("App.p_s")},
                                   {&FileGroup::makeEmptyCompilerPersonality, person("App.p_c")}}) {
    try {
      (job.rootGroup.get()->*make)(path);
      ADD_FAILURE() << "made " << path;
    } catch (const IOERROR& error) {
      EXPECT_EQ(error.kind, IOERROR::CannotWriteFile);
      EXPECT_EQ(error.path, path);
    }
  }
}

}  // namespace
