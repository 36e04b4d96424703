#include <filesystem>
#include <gtest/gtest.h>

#include "driver/conversion_job.h"
#include "driver/errors.h"
#include "platform/platform.h"
#include "temp_dir.h"

namespace fs = std::filesystem;

namespace {

constexpr char sep = platform::separator;

TEST(MakeDirectory, MakesOneLevelAndAcceptsWhateverExists) {
  TempDir dir;
  ConversionJob job("p", "w", "ws", dir.str());
  const std::string folder = dir.str() + sep + "made" + sep;
  job.rootGroup->makeDirectory(folder);
  EXPECT_TRUE(fs::is_directory(dir.path() / "made"));
  job.rootGroup->makeDirectory(folder);

  dir.writeFile("file", "x");
  job.rootGroup->makeDirectory(dir.str("file"));
  job.rootGroup->makeDirectory(dir.str("file") + sep);
  EXPECT_EQ(readFile(dir.path() / "file"), "x");
}

TEST(MakeDirectory, AMissingParentFailsWithThePathAsPassed) {
  TempDir dir;
  ConversionJob job("p", "w", "ws", dir.str());
  const std::string folder = dir.str() + sep + "missing" + sep + "made" + sep;
  try {
    job.rootGroup->makeDirectory(folder);
    ADD_FAILURE() << "made " << folder;
  } catch (const IOERROR& error) {
    EXPECT_EQ(error.kind, IOERROR::CannotCreateDirectory);
    EXPECT_EQ(error.path, folder);
  }
  EXPECT_FALSE(fs::exists(dir.path() / "missing"));
}

}  // namespace
